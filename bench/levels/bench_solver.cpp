// The level solver on three fixed hard boards, with and without what it keeps
// and prunes beyond dead squares and frozen boxes (the estimates kept per box
// set and the closed regions that never open). Each iteration solves a board
// both ways, so the two figures and their ratio come from one run on one load
// (times are the thread's CPU time: the machine is shared):
//   before_ms, after_ms   time of a fewest-pushes-then-fewest-moves solve
//   before_pos_s, after_pos_s   positions expanded per second
//   before_nodes, after_nodes   positions expanded
//   speedup               before_ms / after_ms over all iterations
// The human model on the same boards: pushes it tries per second (CPU time).
// The flood fill that every search of the level tools runs for each position:
// the row-by-row fill it replaced ("before", kept here) against today's, on
// the boards with their boxes thrown about at random.
#include <benchmark/benchmark.h>

#include <array>
#include <ctime>
#include <string>

#include "tools/levels/human.h"
#include "tools/levels/solver.h"

namespace {

using namespace qb::levels;

// Boards of the level set as it stood when the solver was made fast (levels
// 130, 170 and 190), kept here so that the figures stay comparable.
const std::array<std::string, 11> kBoards[] = {
    {"0000000000000000", "0000011111000000", "0011110001111000", "0010500030001000",
     "0014110001141000", "0010010431001000", "0010234300031000", "0010001110041000",
     "0011111011111000", "0000000000000000", "0000000000000000"},
    {"0000010011041000", "0000010010001000", "0011110400401000", "0010701000001000",
     "0010301100111000", "0011430030010000", "0001030350010000", "0001100001110000",
     "0000111111000000", "0000000000000000", "0000000000000000"},
    {"0001111110000000", "0001040410000000", "1111003010000000", "1001010010000000",
     "1001011410000000", "1003000010000000", "1003003010000000", "1110011111100000",
     "0013500400100000", "0010000042100000", "0011111111100000"},
};

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_SolveForMoves(benchmark::State& state) {
  const Puzzle p = FromRows(kBoards[state.range(0)]);
  const SolverOptions before{false, false}, after{};
  double before_s = 0, after_s = 0;
  std::uint64_t before_nodes = 0, after_nodes = 0;
  for (auto _ : state) {
    for (int k = 0; k < 2; ++k) {
      const double t0 = CpuSeconds();
      const SolveResult r = SolveForMoves(p, 2000000, true, k == 0 ? before : after);
      const double s = CpuSeconds() - t0;
      benchmark::DoNotOptimize(r.moves.data());
      (k == 0 ? before_s : after_s) += s;
      (k == 0 ? before_nodes : after_nodes) = r.nodes;
    }
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["before_ms"] = 1000 * before_s / n;
  state.counters["after_ms"] = 1000 * after_s / n;
  state.counters["before_nodes"] = static_cast<double>(before_nodes);
  state.counters["after_nodes"] = static_cast<double>(after_nodes);
  state.counters["before_pos_s"] = static_cast<double>(before_nodes) * n / before_s;
  state.counters["after_pos_s"] = static_cast<double>(after_nodes) * n / after_s;
  state.counters["speedup"] = before_s / after_s;
}
BENCHMARK(BM_SolveForMoves)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HumanModel(benchmark::State& state) {
  const Puzzle p = FromRows(kBoards[state.range(0)]);
  double seconds = 0;
  std::uint64_t pushes = 0;
  for (auto _ : state) {
    const double t0 = CpuSeconds();
    const HumanResult r = HumanEffort(p);
    seconds += CpuSeconds() - t0;
    for (std::uint64_t n : r.pushes) pushes += n;
    double median = r.median;  // a mutable copy: newer Benchmark deprecates the const overload
    benchmark::DoNotOptimize(median);
  }
  state.counters["pushes_s"] = static_cast<double>(pushes) / seconds;
  state.counters["pushes_per_run"] = static_cast<double>(pushes) / static_cast<double>(state.iterations()) / 5;
}
BENCHMARK(BM_HumanModel)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

// The flood fill as it was: each row spread one cell a step, sweeps down and
// up the board until nothing changes.
Bits RowByRowFlood(const Bits& open, int start) {
  Bits reach;
  reach.set(start);
  bool changed = true;
  while (changed) {
    changed = false;
    for (int pass = 0; pass < 2; ++pass)
      for (int k = 0; k < kH; ++k) {
        const int r = pass == 0 ? k : kH - 1 - k;
        std::uint32_t v = reach.row[r];
        if (r > 0) v |= reach.row[r - 1];
        if (r < kH - 1) v |= reach.row[r + 1];
        v &= open.row[r];
        for (;;) {
          const std::uint32_t w = (v | (v << 1) | (v >> 1)) & open.row[r];
          if (w == v) break;
          v = w;
        }
        if (v != reach.row[r]) {
          reach.row[r] = static_cast<std::uint16_t>(v);
          changed = true;
        }
      }
  }
  return reach;
}

void BM_Flood(benchmark::State& state) {
  std::vector<std::pair<Bits, int>> cases;
  std::uint64_t seed = 7;
  auto next = [&] { return (seed = seed * 6364136223846793005ull + 1442695040888963407ull) >> 33; };
  for (const auto& rows : kBoards) {
    const Puzzle p = FromRows(rows);
    std::vector<int> cells;
    Flood(~p.walls, p.figure).each([&](int i) { cells.push_back(i); });
    for (int k = 0; k < 1000; ++k) {
      Bits boxes;
      for (int b = 0; b < p.boxes.count(); ++b) boxes.set(cells[next() % cells.size()]);
      const int start = cells[next() % cells.size()];
      if (!boxes.test(start)) cases.emplace_back(~p.walls & ~boxes, start);
    }
  }
  double before_s = 0, after_s = 0;
  int sum = 0;
  for (auto _ : state) {
    double t0 = CpuSeconds();
    for (const auto& [open, start] : cases) sum += RowByRowFlood(open, start).lowest();
    before_s += CpuSeconds() - t0;
    t0 = CpuSeconds();
    for (const auto& [open, start] : cases) sum -= Flood(open, start).lowest();
    after_s += CpuSeconds() - t0;
  }
  if (sum != 0) state.SkipWithError("the two fills disagree");
  const double n = static_cast<double>(state.iterations() * cases.size());
  state.counters["before_ns"] = 1e9 * before_s / n;
  state.counters["after_ns"] = 1e9 * after_s / n;
  state.counters["speedup"] = before_s / after_s;
}
BENCHMARK(BM_Flood)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
