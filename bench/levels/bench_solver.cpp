// The level solver on three fixed hard boards, with and without what it keeps
// and prunes beyond dead squares and frozen boxes (the estimates kept per box
// set and the closed regions that never open). Each iteration solves a board
// both ways, so the two figures and their ratio come from one run on one load
// (times are the thread's CPU time: the machine is shared):
//   before_ms, after_ms   time of a fewest-pushes-then-fewest-moves solve
//   before_pos_s, after_pos_s   positions expanded per second
//   before_nodes, after_nodes   positions expanded
//   speedup               before_ms / after_ms over all iterations
#include <benchmark/benchmark.h>

#include <array>
#include <ctime>
#include <string>

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

}  // namespace
