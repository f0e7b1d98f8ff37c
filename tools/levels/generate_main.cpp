// The generator of levels 1 to 99 and of the hard half's fixed shapes 111, 114
// and 196: for each level number it lays out walls (rooms and corridors, or a
// drawn shape), places targets, plays backwards from the solved position and
// keeps the start that needs the most pushes, within what the level plan asks
// of that level. The same seed gives the same levels. The rest of the hard
// half comes from qb_hard_half.
//
// Usage: qb_level_generator LEVELS.txt SOLUTIONS.txt FIRST LAST [SEED]
// Rewrites levels FIRST..LAST (the fixed levels 1, 11, 69 and 104 are kept and
// only solved; levels 100 to 200 other than 111, 114 and 196 are left alone)
// in both files and leaves every other level as it is.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>

#include "tools/levels/designs.h"
#include "tools/levels/level_io.h"
#include "tools/levels/level_plan.h"
#include "tools/levels/reverse.h"
#include "tools/levels/solver.h"
#include "tools/levels/tool_main.h"

namespace qb::levels {
namespace {

bool OnRim(int i) {
  const int c = i % kW, r = i / kW;
  return c == 0 || r == 0 || c == kW - 1 || r == kH - 1;
}

Bits Rim() {
  Bits b;
  for (int i = 0; i < kCells; ++i)
    if (OnRim(i)) b.set(i);
  return b;
}

struct Want {
  int level = 0;
  int off_min = 1, off_max = 99;  // boxes off the targets at the start
  int max_pushes = 100000;        // the early levels teach: keep them short
  bool any_on = false;            // boxes may start on targets (they stand there as walls)
};

struct Candidate {
  Puzzle puzzle;
  std::string moves;
  int pushes = -1;
};

// The deepest position of the search that the plan allows, with the figure placed.
std::optional<Candidate> Pick(const PullSearch& s, const Bits& walls, const Bits& targets, const Want& w,
                              Rng& rng) {
  const int n = w.level;
  const Bits rim = Rim();
  std::vector<std::pair<std::int32_t, int>> found;
  int found_depth = -1;
  for (std::int64_t k = static_cast<std::int64_t>(s.nodes().size()) - 1; k >= 0; --k) {
    const PullNode& node = s.nodes()[k];
    if (node.depth < found_depth || node.depth == 0) break;
    if (node.depth > w.max_pushes) continue;
    const Bits on = node.boxes & targets;
    if (!w.any_on && !on.none()) continue;
    if ((targets & ~node.boxes).none()) continue;
    const int off = (node.boxes & ~targets).count();
    if (off < w.off_min || off > w.off_max) continue;
    Bits cells = Flood(~walls & ~node.boxes, node.zone);
    cells = FigureOnEdge(n) ? (cells & rim) : (cells & ~rim);
    cells = cells & ~targets;
    if (n == 24) {
      const bool corner = cells.test(kCells - 1);
      cells = Bits{};
      if (corner) cells.set(kCells - 1);
    }
    if (cells.none()) continue;
    std::vector<int> list;
    cells.each([&](int i) { list.push_back(i); });
    if (found.size() < 4000) found.emplace_back(static_cast<std::int32_t>(k), list[rng.Below(static_cast<int>(list.size()))]);
    found_depth = node.depth;
  }
  if (found.empty()) return std::nullopt;
  // Of a sample of the deepest starts, the one with the least walking between pushes.
  Candidate best;
  for (int sample = 0; sample < 40; ++sample) {
    const auto [k, figure] = found[rng.Below(static_cast<int>(found.size()))];
    std::string moves = SolutionFrom(s, walls, k, figure);
    if (best.pushes >= 0 && moves.size() >= best.moves.size()) continue;
    best.puzzle.walls = walls;
    best.puzzle.targets = targets;
    best.puzzle.boxes = s.nodes()[k].boxes;
    best.puzzle.figure = figure;
    best.moves = std::move(moves);
    best.pushes = s.nodes()[k].depth;
  }
  return best;
}

Bits ChooseTargets(Rng& rng, const Bits& area, int count, bool clustered) {
  std::vector<int> cells;
  area.each([&](int i) { cells.push_back(i); });
  Bits t;
  if (clustered) {
    t.set(cells[rng.Below(static_cast<int>(cells.size()))]);
    while (t.count() < count) {
      std::vector<int> edge;
      t.each([&](int i) {
        for (int d = 0; d < 4; ++d) {
          const int s = Step(i, d);
          if (s >= 0 && area.test(s) && !t.test(s)) edge.push_back(s);
        }
      });
      if (edge.empty()) break;
      t.set(edge[rng.Below(static_cast<int>(edge.size()))]);
    }
  }
  while (t.count() < count) t.set(cells[rng.Below(static_cast<int>(cells.size()))]);
  return t;
}

struct Effort {
  int boxes_lo, boxes_hi;
  std::size_t budget;
  int tries;
};

Effort EffortFor(int n) {
  if (n <= 10) return {2, 3, 60000, 3};
  if (n <= 20) return {3, 4, 150000, 3};
  if (n <= 60) return {4, 5, 400000, 3};
  return {4, 6, 700000, 3};
}

// The fewest and the most pushes a level's start may need: a curve from short
// lessons to planning.
int MinPushes(int n) { return n <= 20 ? 3 + n / 3 : 20 + (n - 21) * 14 / 78; }
int MaxPushes(int n) { return n <= 20 ? 6 + n : 22 + (n - 21) * 26 / 78; }

const std::vector<std::string>* DrawnFor(int n) {
  const char* name = nullptr;
  switch (n) {
    case 2: name = "oo"; break;
    case 5: name = "roundabout"; break;
    case 28: name = "graveyard"; break;
    case 39: name = "greenhouse"; break;
    case 45: name = "square"; break;
    case 46: name = "kitchen"; break;
    case 57: name = "heart"; break;
    case 68: name = "pacman"; break;
    case 76: name = "elevator"; break;
    case 86: name = "towers"; break;
    case 88: name = "maze"; break;
    default: return nullptr;
  }
  for (const auto& [key, rows] : DrawnLayouts())
    if (key == name) return &rows;
  return nullptr;
}

// A level built from a wall layout.
std::optional<Candidate> WalledLevel(int n, Rng& rng, int round) {
  const Effort e = EffortFor(n);
  std::optional<Candidate> best;
  for (int attempt = 0; attempt < e.tries * 4 && !(best && attempt >= e.tries); ++attempt) {
    Design design;
    if (const auto* rows = DrawnFor(n)) {
      design = DrawnDesign(*rows);
    } else {
      DesignOptions o;
      o.edge = ClosedRim(n) ? Edge::Closed : FigureOnEdge(n) ? Edge::Open
               : rng.Chance(35) ? Edge::Open : Edge::Inside;
      o.mirror = rng.Chance(40);
      o.rooms = o.mirror ? rng.Between(2, 3) : rng.Between(3, 6);
      o.pillars = rng.Between(0, 25);
      o.max_room_w = n <= 20 ? 4 : 6;
      o.max_room_h = n <= 20 ? 3 : 5;
      design = RoomDesign(rng, o);
    }
    // Only the levels of the plan are walled in all round; the rest leave the edge open somewhere.
    if (!ClosedRim(n) && (Rim() & ~design.walls).none()) continue;
    const int boxes = rng.Between(e.boxes_lo, e.boxes_hi);
    const Bits targets = ChooseTargets(rng, design.area, boxes, rng.Chance(50));
    const PullSearch s = SearchPulls(design.walls, targets, e.budget);
    auto c = Pick(s, design.walls, targets, {n, 1, 99, MaxPushes(n)}, rng);
    if (c && (!best || c->pushes > best->pushes)) best = c;
  }
  // Later rounds settle for a little less rather than search for ever.
  if (best && best->pushes < std::max(n <= 20 ? 1 : 20, MinPushes(n) - 3 * round)) return std::nullopt;
  return best;
}

// A level without walls: boxes standing on targets in a pattern make the walls.
std::optional<Candidate> PatternLevel(int n, Rng& rng, const Bits& solid, int off_min, int off_max,
                                      std::size_t budget) {
  const PullSearch s = SearchPulls(Bits{}, solid, budget);
  return Pick(s, Bits{}, solid, {n, off_min, off_max}, rng);
}

Bits FromPicture(const std::vector<std::string>& rows) {
  Bits b;
  for (int r = 0; r < kH; ++r)
    for (int c = 0; c < kW; ++c)
      if (rows[r][c] == 'o') b.set(r * kW + c);
  return b;
}

// A level without walls whose walls are boxes: 'o' a box on a target, 'x' a
// spare box, 't' a target of the puzzle proper. The search treats the standing
// boxes as walls, so its solution leaves them where they are; the player may
// still push them and find a shortcut or a dead end.
std::optional<Candidate> FencedLevel(int n, Rng& rng, const std::vector<std::string>& rows, int off_min,
                                     int off_max, std::size_t budget) {
  Bits on, spare, goal;
  for (int r = 0; r < kH; ++r)
    for (int c = 0; c < kW; ++c) {
      const int i = r * kW + c;
      if (rows[r][c] == 'o') on.set(i);
      if (rows[r][c] == 'x') spare.set(i);
      if (rows[r][c] == 't') goal.set(i);
    }
  const Bits fence = on | spare;
  const PullSearch s = SearchPulls(fence, goal, budget);
  Want w{n, off_min, off_max};
  w.any_on = true;
  auto c = Pick(s, fence, goal, w, rng);
  if (!c) return c;
  c->puzzle.walls = Bits{};
  c->puzzle.boxes = c->puzzle.boxes | fence;
  c->puzzle.targets = c->puzzle.targets | on;
  return c;
}

std::optional<Candidate> SpecialLevel(int n, Rng& rng) {
  switch (n) {
    case 17: {  // four boxes on an open floor
      const Bits t = FromPicture({"................", "................", "................",
                                  "................", "......oo........", "......oo........",
                                  "................", "................", "................",
                                  "................", "................"});
      return PatternLevel(n, rng, t, 4, 4, 400000);
    }
    case 196:  // 138 boxes in place wall a stair and a hall; nine boxes to thread home
      return FencedLevel(n, rng,
                         {"oooooooooooooooo", "oo..oooooooooooo", "ooo..ooooooooooo",
                          "oooo..ooo..tttoo", "ooooo..oo.....to", "oooooo........to",
                          "ooooooooo.....oo", "ooooooooo.ttttoo", "oooooooooooooooo",
                          "oooooooooooooooo", "oooooooooooooooo"},
                         9, 9, 1500000);
    case 111:  // 19 targets filled, 6 left inside the square; 38 spare boxes for fences
      return FencedLevel(n, rng,
                         {"................", ".xxxxxx.........", ".x..............",
                          ".x..ooooo..xxxx.", ".x..ootoo.....x.", ".x..otttt..x..x.",
                          ".x..ootoo..x..x.", ".x..ooooo...x...", ".x......x...x...",
                          ".xxxxxxxxx..xxxx", "................"},
                         1, 6, 1000000);
    case 114: {  // five walls of boxes between the figure and the single target: dig down
      Candidate c;
      c.puzzle.boxes = FromPicture({"................", "oooooooooooooo.o", "...o..........o.", "o.oooooooooooooo", "........oo..o...", "oooooooooooooo.o", ".....o.........o", "o.oooooooooooooo", ".....oo.........", "ooooooooooooo.oo", "....o.o....o...."});
      c.puzzle.targets.set(10 * kW + 0);
      c.puzzle.figure = 1 * kW + 14;  // in the first wall's gap
      return c;
    }
    default:
      return std::nullopt;
  }
}

std::string Canonical(const Puzzle& p, int flip) {
  std::string s;
  const auto rows = p.Rows();
  for (int r = 0; r < kH; ++r)
    for (int c = 0; c < kW; ++c) {
      const int rr = (flip & 2) ? kH - 1 - r : r, cc = (flip & 1) ? kW - 1 - c : c;
      s += rows[rr][cc];
    }
  return s;
}

bool Alike(const Puzzle& a, const Puzzle& b) {
  const std::string ca = Canonical(a, 0);
  for (int f = 0; f < 4; ++f)
    if (Canonical(b, f) == ca) return true;
  // Same walls, boxes and targets with the figure elsewhere is still the same level.
  for (int f = 0; f < 4; ++f) {
    Puzzle x = a, y = b;
    x.figure = y.figure = -1;
    if (Canonical(x, 0) == Canonical(y, f)) return true;
  }
  return false;
}

int Run(int argc, char** argv) {
  if (argc < 5) {
    std::cerr << "usage: qb_level_generator LEVELS.txt SOLUTIONS.txt FIRST LAST [SEED]\n";
    return 2;
  }
  const std::string level_path = argv[1], solution_path = argv[2];
  const int first = std::atoi(argv[3]), last = std::atoi(argv[4]);
  const std::uint64_t seed = argc > 5 ? std::strtoull(argv[5], nullptr, 10) : 1;
  std::map<int, Puzzle> levels;
  for (auto& [rec, p] : ReadPuzzles(level_path)) levels[rec.number] = p;
  auto solutions = ReadSolutions(solution_path);

  for (int n = first; n <= last; ++n) {
    if (n >= 100 && !FixedLevel(n) && !In(n, {111, 114, 196})) continue;  // placed by qb_hard_half
    if (FixedLevel(n)) {
      if (!levels.count(n)) throw std::runtime_error("fixed level " + std::to_string(n) + " missing");
      const SolveResult r = Solve(levels[n], 2000000);
      solutions[n] = r.moves;
      std::printf("level %3d kept   pushes %3d moves %4zu%s\n", n, r.pushes, r.moves.size(),
                  r.proven ? " proven" : "");
      continue;
    }
    std::optional<Candidate> c;
    for (int round = 0; !c; ++round) {
      Rng rng(seed * 1000003ull + static_cast<std::uint64_t>(n) * 7919ull + static_cast<std::uint64_t>(round));
      c = WallLess(n) ? SpecialLevel(n, rng) : WalledLevel(n, rng, round);
      if (c) {
        FillPockets(c->puzzle);
        for (const auto& [m, other] : levels)
          if (m != n && Alike(other, c->puzzle)) c.reset();
      }
      if (round > 60) throw std::runtime_error("level " + std::to_string(n) + ": nothing fits the plan");
    }
    if (c->moves.empty() || c->pushes < 0) {
      const SolveResult r = Solve(c->puzzle, 3000000);
      if (!r.found) throw std::runtime_error("level " + std::to_string(n) + ": no solution found");
      c->moves = r.moves;
      c->pushes = r.pushes;
    }
    // With spare boxes the level may be solved before the search's solved position: stop there.
    {
      Puzzle walk = c->puzzle;
      for (std::size_t k = 0; k < c->moves.size(); ++k) {
        if (!Replay(walk, c->moves.substr(k, 1))) break;
        if (Solved(walk)) {
          c->moves.resize(k + 1);
          c->pushes = static_cast<int>(std::count_if(c->moves.begin(), c->moves.end(),
                                                     [](char ch) { return ch >= 'A' && ch <= 'Z'; }));
          break;
        }
      }
    }
    Puzzle check = c->puzzle;
    if (!Replay(check, c->moves) || !Solved(check))
      throw std::runtime_error("level " + std::to_string(n) + ": the solution does not solve it");
    levels[n] = c->puzzle;
    solutions[n] = c->moves;
    std::printf("level %3d boxes %3d pushes %3d moves %4zu\n", n, c->puzzle.boxes.count(), c->pushes,
                c->moves.size());
    std::fflush(stdout);
  }
  WriteLevelFile(level_path, levels);
  WriteSolutions(solution_path, solutions);
  return 0;
}

}  // namespace
}  // namespace qb::levels

int main(int argc, char** argv) { return qb::levels::ToolMain("qb_level_generator", qb::levels::Run, argc, argv); }
