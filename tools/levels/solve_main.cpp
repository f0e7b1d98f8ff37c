// The level solver on the command line: solves levels of a level file and
// prints pushes, moves, whether the push count is proven the fewest, the
// nodes expanded and the moves themselves.
//
// Usage: qb_level_solver LEVELS.txt [FIRST [LAST]] [--budget N]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "tools/levels/solver.h"

int main(int argc, char** argv) {
  using namespace qb::levels;
  if (argc < 2) {
    std::cerr << "usage: qb_level_solver LEVELS.txt [FIRST [LAST]] [--budget N]\n";
    return 2;
  }
  int first = 1, last = 200, positional = 0;
  std::uint64_t budget = 2000000;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--budget") == 0 && i + 1 < argc) {
      budget = std::strtoull(argv[++i], nullptr, 10);
    } else if (positional++ == 0) {
      first = last = std::atoi(argv[i]);
    } else {
      last = std::atoi(argv[i]);
    }
  }
  try {
    for (const auto& [rec, puzzle] : ReadPuzzles(argv[1])) {
      if (rec.number < first || rec.number > last) continue;
      const auto t0 = std::chrono::steady_clock::now();
      const SolveResult r = Solve(puzzle, budget);
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      if (!r.found) {
        std::printf("level %3d: %s after %llu nodes (%.0f ms)\n", rec.number,
                    r.proven ? "no solution exists" : "no solution found",
                    static_cast<unsigned long long>(r.nodes), ms);
        continue;
      }
      std::printf("level %3d: pushes %3d moves %4zu %s nodes %llu (%.0f ms)\n  %s\n", rec.number, r.pushes,
                  r.moves.size(), r.proven ? "proven" : "unproven", static_cast<unsigned long long>(r.nodes),
                  ms, r.moves.c_str());
      std::fflush(stdout);
    }
  } catch (const std::exception& e) {
    std::cerr << "qb_level_solver: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
