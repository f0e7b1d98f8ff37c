#include "tools/levels/candidates.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/levels/designs.h"
#include "tools/levels/metrics.h"
#include "tools/levels/reverse.h"
#include "tools/levels/solver.h"

namespace qb::levels {

namespace {

bool OnRim(int i) {
  const int c = i % kW, r = i / kW;
  return c == 0 || r == 0 || c == kW - 1 || r == kH - 1;
}

// Targets spread over the hall: most keep a free cell between them and the
// others, a few stand in pairs.
Bits ScatterTargets(Rng& rng, const Bits& area, int count) {
  std::vector<int> cells;
  area.each([&](int i) { cells.push_back(i); });
  Bits t;
  for (int tries = 0; t.count() < count && tries < 2000; ++tries) {
    const int i = cells[rng.Below(static_cast<int>(cells.size()))];
    if (t.test(i)) continue;
    int touching = 0;
    for (int d = 0; d < 4; ++d) {
      const int n = Step(i, d);
      touching += n >= 0 && t.test(n);
    }
    if (touching > (tries > 1000 ? 4 : rng.Chance(70) ? 0 : 1)) continue;
    t.set(i);
  }
  return t;
}

struct Start {
  std::int32_t node;
  Bits still;  // boxes the solution leaves where they stand, made walls
  int gap;  // pushes the start needs beyond the simple estimate
};

}  // namespace

std::string ShortestSolution(const Puzzle& p, std::uint64_t budget) {
  const SolveResult r = SolveForMoves(p, budget, true);
  return r.found ? r.moves : std::string();
}

std::optional<HardCandidate> MakeCandidate(std::uint64_t seed, const CandidateBudgets& b, Kind kind) {
  const bool fenced = kind == Kind::Fenced;
  Rng rng(seed * 0x2545F4914F6CDD1Dull + 0x1234567ull);
  HallOptions o;
  const int edge = rng.Below(100);
  o.edge = edge < 6 ? Edge::Closed : edge < 36 ? Edge::Open : Edge::Inside;
  o.mirror = rng.Chance(20);
  o.thick = fenced;
  if (kind == Kind::Open) o.edge = Edge::Open;
  if (fenced) o.edge = edge < 30 ? Edge::Open : Edge::Inside;
  const int boxes = rng.Between(5, 8);
  const int floor = boxes * rng.Between(55, 80) / 10;
  o.min_floor = floor - 4;
  o.max_floor = floor + 4;
  o.wall_share = rng.Between(16, 34);
  // A hall big enough for that floor once bites and inner walls are taken.
  const int cells = floor * 100 / (100 - o.wall_share - 8);
  o.min_w = o.max_w = std::clamp(rng.Between(6, 14), 6, o.edge == Edge::Open ? kW : kW - 2);
  o.min_h = std::clamp(cells / o.min_w - 1, 4, o.edge == Edge::Open ? kH : kH - 2);
  o.max_h = std::clamp(cells / o.min_w + 2, o.min_h, o.edge == Edge::Open ? kH : kH - 2);
  const Design d = HallDesign(rng, o);
  if (d.area.none()) return std::nullopt;
  Bits rim;
  for (int i = 0; i < kCells; ++i)
    if (OnRim(i)) rim.set(i);
  if (o.edge != Edge::Closed && (rim & ~d.walls).none()) return std::nullopt;
  // A few layouts of targets; the one whose backwards search goes deepest. The
  // search must finish: its positions tell which pushes are fatal. A hall too
  // big for that with one layout is too big with the others.
  Bits targets;
  PullSearch s;
  int deepest = -1;
  for (int layout = 0; layout < b.layouts; ++layout) {
    const Bits t = ScatterTargets(rng, d.area, boxes);
    if (t.count() != boxes) continue;
    PullSearch trial = SearchPulls(d.walls, t, b.pulls, 12);
    if (!trial.complete) return std::nullopt;
    const int depth = trial.nodes().back().depth;
    if (depth > deepest) {
      deepest = depth;
      targets = t;
      s = std::move(trial);
    }
  }
  if (deepest < 28) return std::nullopt;
  Puzzle base;
  base.walls = d.walls;
  base.targets = targets;
  const PushDistances pd = ComputePushDistances(base);
  auto estimate = [&](const Bits& bx) {
    int total = 0;
    bx.each([&](int c) {
      int best = 1000;
      for (const auto& dist : pd.to)
        if (dist[c] >= 0) best = std::min(best, static_cast<int>(dist[c]));
      total += best;
    });
    return total;
  };

  // Quick look at a sample of the deepest starts: every box must move; rank by
  // how far the simple estimate falls short of the pushes needed.
  std::vector<std::int32_t> deep;
  for (std::int64_t k = static_cast<std::int64_t>(s.nodes().size()) - 1; k >= 0 && deep.size() < 20000; --k) {
    const PullNode& n = s.nodes()[k];
    if (n.depth < deepest - 6) break;
    if ((targets & ~n.boxes).none()) continue;
    deep.push_back(static_cast<std::int32_t>(k));
  }
  std::vector<Start> starts;
  for (int sample = 0; sample < 150 && !deep.empty(); ++sample) {
    const std::int32_t k = deep[rng.Below(static_cast<int>(deep.size()))];
    const PullNode& n = s.nodes()[k];
    Puzzle p = base;
    p.boxes = n.boxes;
    p.figure = n.zone;
    const std::string moves = SolutionFrom(s, d.walls, k, n.zone);
    SolutionFacts f = StudySolution(p, moves);
    if (!f.replays) continue;
    // A box that the solution leaves standing on its target is a wall to it: make it one.
    const Bits still = f.unmoved;
    p = Core(p, still);
    f = StudySolution(p, moves);
    if (!f.replays || f.ferry_share > 0.6 || p.boxes.count() < 4) continue;
    if (kind == Kind::Clear && !(p.boxes & p.targets).none()) continue;
    starts.push_back({k, still, n.depth - estimate(p.boxes)});
  }
  std::sort(starts.begin(), starts.end(), [](const Start& a, const Start& b) {
    return a.gap != b.gap ? a.gap > b.gap : a.node < b.node;
  });
  starts.erase(std::unique(starts.begin(), starts.end(), [](const Start& a, const Start& b) { return a.node == b.node; }),
               starts.end());

  std::optional<HardCandidate> best;
  for (std::size_t e = 0; e < starts.size() && e < static_cast<std::size_t>(b.evaluated); ++e) {
    const PullNode& n = s.nodes()[starts[e].node];
    HardCandidate c;
    c.seed = seed;
    c.closed = o.edge == Edge::Closed;
    c.fenced = fenced;
    c.puzzle = base;
    c.puzzle.boxes = n.boxes;
    c.puzzle = Core(c.puzzle, starts[e].still);
    c.zone = Flood(~c.puzzle.walls & ~c.puzzle.boxes, n.zone);
    // The figure starts on a plain cell: neither a target nor the board's edge.
    Bits plain = c.zone & ~c.puzzle.targets & ~rim;
    if (plain.none()) plain = c.zone;
    std::vector<int> cells;
    plain.each([&](int i) { cells.push_back(i); });
    c.puzzle.figure = cells[rng.Below(static_cast<int>(cells.size()))];
    FillPockets(c.puzzle);
    c.moves = ShortestSolution(c.puzzle, b.solve);
    if (c.moves.empty()) continue;
    const SolutionFacts f = StudySolution(c.puzzle, c.moves);
    if (!f.replays || !f.unmoved.none()) continue;
    const EffortResult effort = MeasureEffort(c.puzzle, b.effort);
    if (!effort.found) continue;
    // Enough positions? Counting the first few thousand tells.
    const Exploration explored(c.puzzle, 5000);
    if (explored.complete()) continue;
    // A push is fatal when the backwards search never met the position it makes.
    const Bits still = starts[e].still;
    const int fatal = CountFatalSteps(c.puzzle, c.moves, [&](const Bits& next, int zone) {
      return s.table.Find(next | still, zone) < 0;
    });
    c.m.effort = effort.expanded;
    c.m.reachable = explored.positions();
    c.m.pushes = f.pushes;
    c.m.fatal_share = static_cast<double>(fatal) / f.pushes;
    c.m.per_line = static_cast<double>(f.pushes) / f.box_lines;
    c.m.ferry = f.ferry_share;
    if (c.m.fatal_share < 0.3 || c.m.ferry > 0.6) continue;
    if (!best || c.m.effort > best->m.effort) best = c;
  }
  return best;
}

void WriteCandidate(std::ostream& out, const HardCandidate& c) {
  out << "candidate " << c.seed << "\n"
      << "effort " << c.m.effort << " reachable " << c.m.reachable << " pushes " << c.m.pushes << " fatal "
      << c.m.fatal_share << " line " << c.m.per_line << " ferry " << c.m.ferry << " closed " << c.closed << " fenced " << c.fenced << "\n";
  const auto rows = c.puzzle.Rows();
  for (int r = 0; r < kH; ++r) {
    out << rows[r] << " ";
    for (int col = 0; col < kW; ++col) out << (c.zone.test(r * kW + col) ? 'z' : '.');
    out << "\n";
  }
  out << "moves " << c.moves << "\n";
}

std::vector<HardCandidate> ReadCandidates(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot read");
  std::vector<HardCandidate> out;
  std::string word;
  while (in >> word) {
    if (word != "candidate") throw std::runtime_error(path + ": expected \"candidate\", read \"" + word + "\"");
    HardCandidate c;
    std::string k;
    in >> c.seed >> k >> c.m.effort >> k >> c.m.reachable >> k >> c.m.pushes >> k >> c.m.fatal_share >> k >>
        c.m.per_line >> k >> c.m.ferry >> k >> c.closed >> k >> c.fenced;
    std::array<std::string, 11> rows;
    for (int r = 0; r < kH; ++r) {
      std::string zone;
      in >> rows[r] >> zone;
      for (int col = 0; col < kW && col < static_cast<int>(zone.size()); ++col)
        if (zone[col] == 'z') c.zone.set(r * kW + col);
    }
    c.puzzle = FromRows(rows);
    in >> k >> c.moves;
    if (!in) throw std::runtime_error(path + ": candidate " + std::to_string(c.seed) + " is cut short");
    out.push_back(c);
  }
  return out;
}

}  // namespace qb::levels
