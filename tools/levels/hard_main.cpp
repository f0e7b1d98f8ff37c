// The hard half's generator.
//
//   qb_hard_half pool POOL.txt FIRST_SEED LAST_SEED MIN_EFFORT [--clear | --open | --fenced]
//       makes one candidate per seed (when the seed's hall yields one) and adds
//       it to POOL.txt when its effort reaches MIN_EFFORT; the same seeds give
//       the same candidates. --clear keeps only starts with no box on a
//       target; --open lays every hall out against the board's edge; --fenced
//       makes halls with thick walls, for the levels without walls.
//   qb_hard_half place LEVELS.txt SOLUTIONS.txt POOL.txt...
//       fills levels 100 to 200 (but the fixed shapes 104, 111, 114 and 196)
//       from the pools: the levels that measure best, alike in no board, with
//       the starts the level plan asks for, ordered by effort so that the half
//       rises; writes both files.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>

#include "tools/levels/candidates.h"
#include "tools/levels/level_io.h"
#include "tools/levels/level_plan.h"
#include "tools/levels/level_report.h"
#include "tools/levels/metrics.h"
#include "tools/levels/tool_main.h"

namespace qb::levels {
namespace {

int Pool(const std::string& path, std::uint64_t first, std::uint64_t last, std::uint64_t min_effort, Kind kind) {
  std::ofstream out(path, std::ios::app);
  const CandidateBudgets budgets;
  for (std::uint64_t seed = first; seed <= last; ++seed) {
    const auto t0 = std::chrono::steady_clock::now();
    const auto c = MakeCandidate(seed, budgets, kind);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!c) {
      std::printf("seed %llu: none (%.1f s)\n", static_cast<unsigned long long>(seed), s);
    } else {
      if (c->m.effort >= min_effort) {
        WriteCandidate(out, *c);
        out.flush();
      }
      std::printf("seed %llu: effort %llu reachable %zu pushes %d fatal %.2f line %.2f ferry %.2f (%.1f s)\n",
                  static_cast<unsigned long long>(seed), static_cast<unsigned long long>(c->m.effort),
                  c->m.reachable, c->m.pushes, c->m.fatal_share, c->m.per_line, c->m.ferry, s);
    }
    std::fflush(stdout);
  }
  return 0;
}

Bits Rim() {
  Bits b;
  for (int i = 0; i < kCells; ++i)
    if (i % kW == 0 || i / kW == 0 || i % kW == kW - 1 || i / kW == kH - 1) b.set(i);
  return b;
}

struct Pick {
  const HardCandidate* c;
  BoardShape shape;
  bool on_target_start;  // a box stands on a target at the start
  bool can_edge, can_target;
  Bits plain;  // where the figure may start off the targets and the board's edge
};

double Quality(const HardCandidate& c) {
  return c.m.fatal_share - 0.6 * c.m.ferry - 0.15 * c.m.per_line;
}

// The wall-less levels whose contents are free.
constexpr int kFencedSlots[] = {105, 135, 164, 181};

int Place(const std::string& level_path, const std::string& solution_path, const std::vector<std::string>& pools) {
  std::map<int, Puzzle> levels;
  for (auto& [rec, p] : ReadPuzzles(level_path)) levels[rec.number] = p;
  auto solutions = ReadSolutions(solution_path);

  std::vector<HardCandidate> pool;
  for (const auto& path : pools)
    for (auto& c : ReadCandidates(path)) pool.push_back(std::move(c));

  // The least effort a hard level may need: the median of levels 61 to 99.
  std::vector<double> easy;
  for (int n = 61; n <= 99; ++n) easy.push_back(static_cast<double>(MeasureEffort(levels[n], 5000000).expanded));
  std::sort(easy.begin(), easy.end());
  const double floor_effort = easy[easy.size() / 2];
  std::printf("median effort of 61-99: %.0f\n", floor_effort);

  // Boards already taken: levels 1 to 99 and the fixed shapes.
  std::vector<Bits> taken;
  std::map<std::string, int> arrangements;
  const Bits all = ~Bits{};
  for (const auto& [n, p] : levels) {
    if (n >= 100 && !ShapeFixed(n)) continue;
    const BoardShape shape = ShapeOf(p);
    if (shape.walk != all) taken.push_back(shape.walk);
    if (shape.rooms.size() >= 2) ++arrangements[shape.arrangement];
  }

  std::vector<const HardCandidate*> order;
  for (const auto& c : pool)
    if (c.m.effort >= floor_effort * 1.1 && c.m.fatal_share >= 0.3 && c.m.ferry <= 0.6 && c.m.reachable >= 5000)
      order.push_back(&c);
  std::sort(order.begin(), order.end(), [](const HardCandidate* a, const HardCandidate* b) {
    const double qa = Quality(*a), qb = Quality(*b);
    return qa != qb ? qa > qb : a->seed < b->seed;
  });

  // Walled levels: 93 of them, 67 starting with a box on a target, 2 walled in all round,
  // 22 that can start with the figure on a target and 12 on the board's edge.
  constexpr int kWalled = 93, kOnTarget = 67, kClosed = 2, kFigureOnTarget = 22, kFigureOnEdge = 12;
  const Bits rim = Rim();
  std::vector<Pick> walled, fenced;
  int on_target = 0, off_target = 0, closed = 0, small = 0, no_loop = 0;
  auto fits = [&](const Bits& walk) {
    for (const Bits& other : taken)
      if (Overlap(walk, other) >= 0.75) return false;
    return true;
  };
  for (const HardCandidate* c : order) {
    Pick pick{c, ShapeOf(c->puzzle), !(c->puzzle.boxes & c->puzzle.targets).none(),
              !c->closed && !(c->zone & rim & ~c->puzzle.targets).none(),
              !(c->zone & c->puzzle.targets & ~c->puzzle.boxes & ~rim).none(), c->zone & ~c->puzzle.targets & ~rim};
    if (pick.plain.none()) continue;
    if (c->fenced) {
      fenced.push_back(pick);
      continue;
    }
    if (static_cast<int>(walled.size()) >= kWalled) continue;
    if (c->closed && closed >= kClosed) continue;
    if (pick.on_target_start ? on_target >= kOnTarget : off_target >= kWalled - kOnTarget) continue;
    if (pick.shape.small_rooms >= 2 && small >= 8) continue;
    if (pick.shape.loops == 0 && no_loop >= kWalled * 3 / 10) continue;
    if (pick.shape.rooms.size() >= 2 && arrangements[pick.shape.arrangement] >= 2) continue;
    if (!fits(pick.shape.walk)) continue;
    // Keep enough levels for the figures the plan puts on the edge.
    int edges = 0;
    for (const Pick& p : walled) edges += p.can_edge;
    const int left = kWalled - static_cast<int>(walled.size());
    if (!pick.can_edge && edges < kFigureOnEdge && left <= kFigureOnEdge - edges) continue;
    if (!c->closed && closed < kClosed && left <= kClosed - closed) continue;
    walled.push_back(pick);
    taken.push_back(pick.shape.walk);
    if (pick.shape.rooms.size() >= 2) ++arrangements[pick.shape.arrangement];
    on_target += pick.on_target_start;
    off_target += !pick.on_target_start;
    closed += c->closed;
    small += pick.shape.small_rooms >= 2;
    no_loop += pick.shape.loops == 0;
  }
  if (static_cast<int>(walled.size()) < kWalled)
    throw std::runtime_error("the pools hold " + std::to_string(walled.size()) + " usable walled levels of " +
                             std::to_string(kWalled) + "; more seeds are needed");

  // The half rises: walled levels by effort into the free numbers.
  std::sort(walled.begin(), walled.end(), [](const Pick& a, const Pick& b) {
    return a.c->m.effort != b.c->m.effort ? a.c->m.effort < b.c->m.effort : a.c->seed < b.c->seed;
  });
  std::vector<int> numbers;
  for (int n = 100; n <= 200; ++n)
    if (!WallLess(n)) numbers.push_back(n);
  // Figures: on the edge where the board allows it (spread over the half), then on a target.
  std::vector<int> kind(walled.size(), 0);  // 1 edge, 2 target
  {
    int edges = 0, targets = 0;
    for (std::size_t k = 0; k < walled.size() && edges < kFigureOnEdge; k += 1)
      if (walled[(k * 7) % walled.size()].can_edge && kind[(k * 7) % walled.size()] == 0) {
        kind[(k * 7) % walled.size()] = 1;
        ++edges;
      }
    for (std::size_t k = 0; k < walled.size() && targets < kFigureOnTarget; ++k)
      if (walled[(k * 5 + 2) % walled.size()].can_target && kind[(k * 5 + 2) % walled.size()] == 0) {
        kind[(k * 5 + 2) % walled.size()] = 2;
        ++targets;
      }
    if (edges < kFigureOnEdge || targets < kFigureOnTarget)
      throw std::runtime_error("too few levels can start with the figure on the edge or on a target");
  }
  for (std::size_t k = 0; k < walled.size(); ++k) {
    Puzzle p = walled[k].c->puzzle;
    const Bits where = kind[k] == 1   ? (walled[k].c->zone & rim & ~p.targets)
                       : kind[k] == 2 ? (walled[k].c->zone & p.targets & ~p.boxes & ~rim)
                                      : walled[k].plain;
    if (!where.test(p.figure)) p.figure = where.lowest();
    const std::string moves = p.figure == walled[k].c->puzzle.figure ? walled[k].c->moves : ShortestSolution(p, 20000000);
    if (moves.empty()) throw std::runtime_error("seed " + std::to_string(walled[k].c->seed) + ": no solution");
    levels[numbers[k]] = p;
    solutions[numbers[k]] = moves;
    std::printf("level %3d: seed %llu effort %llu pushes %d fatal %.2f line %.2f ferry %.2f%s\n", numbers[k],
                static_cast<unsigned long long>(walled[k].c->seed), static_cast<unsigned long long>(walled[k].c->m.effort),
                walled[k].c->m.pushes, walled[k].c->m.fatal_share, walled[k].c->m.per_line, walled[k].c->m.ferry,
                kind[k] == 1 ? " figure on the edge" : kind[k] == 2 ? " figure on a target" : "");
  }
  // The wall-less levels: of the fenced candidates, the one nearest in effort to
  // the levels either side, its walls turned to boxes standing on targets.
  for (const int n : kFencedSlots) {
    const auto below = std::lower_bound(numbers.begin(), numbers.end(), n) - numbers.begin();
    const double want = std::sqrt(static_cast<double>(walled[below - 1].c->m.effort) *
                                  static_cast<double>(walled[std::min<std::size_t>(below, walled.size() - 1)].c->m.effort));
    const Pick* best = nullptr;
    for (const Pick& f : fenced) {
      if (!fits(f.shape.walk)) continue;
      const double miss = std::abs(std::log(static_cast<double>(f.c->m.effort) / want));
      if (!best || miss < std::abs(std::log(static_cast<double>(best->c->m.effort) / want))) best = &f;
    }
    if (!best) throw std::runtime_error("no fenced candidate fits level " + std::to_string(n));
    taken.push_back(best->shape.walk);
    Puzzle p = best->c->puzzle;
    p.boxes = p.boxes | p.walls;
    p.targets = p.targets | p.walls;
    p.walls = Bits{};
    levels[n] = p;
    solutions[n] = best->c->moves;
    std::printf("level %3d: seed %llu effort %llu pushes %d (fenced, wanted %.0f)\n", n,
                static_cast<unsigned long long>(best->c->seed), static_cast<unsigned long long>(best->c->m.effort),
                best->c->m.pushes, want);
  }
  WriteLevelFile(level_path, levels);
  WriteSolutions(solution_path, solutions);
  return 0;
}

int Run(int argc, char** argv) {
  if ((argc == 6 || argc == 7) && std::strcmp(argv[1], "pool") == 0) {
    const std::string kind = argc == 7 ? argv[6] : "";
    if (!kind.empty() && kind != "--clear" && kind != "--open" && kind != "--fenced") {
      std::cerr << "qb_hard_half: unknown option " << kind << "\n";
      return 2;
    }
    return Pool(argv[2], std::strtoull(argv[3], nullptr, 10), std::strtoull(argv[4], nullptr, 10),
                std::strtoull(argv[5], nullptr, 10),
                kind == "--clear"   ? Kind::Clear
                : kind == "--open"  ? Kind::Open
                : kind == "--fenced" ? Kind::Fenced
                                     : Kind::Walled);
  }
  if (argc >= 5 && std::strcmp(argv[1], "place") == 0)
    return Place(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
  std::cerr << "usage: qb_hard_half pool POOL.txt FIRST_SEED LAST_SEED MIN_EFFORT [--clear | --open | --fenced]\n"
               "       qb_hard_half place LEVELS.txt SOLUTIONS.txt POOL.txt...\n";
  return 2;
}

}  // namespace
}  // namespace qb::levels

int main(int argc, char** argv) { return qb::levels::ToolMain("qb_hard_half", qb::levels::Run, argc, argv); }
