// The level solver on the command line: solves levels of a level file and
// prints pushes, moves, whether the push count is proven the fewest, the
// nodes expanded and the moves themselves. With --write it improves a
// solutions file instead: each level's stored solution gives way to one with
// fewer pushes, or as few pushes and fewer moves, when the search proves it.
// Levels without walls are solved with the boxes their stored solution never
// moves standing as walls.
//
// Usage: qb_level_solver LEVELS.txt [FIRST [LAST]] [--budget N] [--write SOLUTIONS.txt]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "tools/levels/level_io.h"
#include "tools/levels/level_plan.h"
#include "tools/levels/metrics.h"
#include "tools/levels/solver.h"
#include "tools/levels/tool_main.h"

namespace {

using namespace qb::levels;

int Pushes(const std::string& moves) {
  return static_cast<int>(std::count_if(moves.begin(), moves.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

// Returns whether the stored solution was replaced.
bool Improve(int number, const Puzzle& p, std::string& stored, std::uint64_t budget) {
  const SolutionFacts facts = StudySolution(p, stored);
  const Puzzle q = WallLess(number) && facts.replays ? Core(p, facts.unmoved) : p;
  const SolveResult r = SolveForMoves(q, budget, true);
  Puzzle check = p;
  if (!r.found || !r.proven || !Replay(check, r.moves) || !Solved(check)) return false;
  if (facts.replays && (Pushes(stored) < r.pushes || (Pushes(stored) == r.pushes && stored.size() <= r.moves.size())))
    return false;
  stored = r.moves;
  return true;
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: qb_level_solver LEVELS.txt [FIRST [LAST]] [--budget N] [--write SOLUTIONS.txt]\n";
    return 2;
  }
  int first = 1, last = 200, positional = 0;
  std::uint64_t budget = 2000000;
  std::string write;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--budget") == 0 && i + 1 < argc) {
      budget = std::strtoull(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--write") == 0 && i + 1 < argc) {
      write = argv[++i];
    } else if (positional++ == 0) {
      first = last = std::atoi(argv[i]);
    } else {
      last = std::atoi(argv[i]);
    }
  }
  auto solutions = write.empty() ? std::map<int, std::string>{} : ReadSolutions(write);
  for (const auto& [rec, puzzle] : ReadPuzzles(argv[1])) {
    if (rec.number < first || rec.number > last) continue;
    const auto t0 = std::chrono::steady_clock::now();
    if (!write.empty()) {
      std::string& stored = solutions[rec.number];
      const std::size_t before = stored.size();
      const bool better = Improve(rec.number, puzzle, stored, budget);
      std::printf("level %3d: %s (%zu moves, now %zu)\n", rec.number, better ? "improved" : "kept", before,
                  stored.size());
      std::fflush(stdout);
      continue;
    }
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
  if (!write.empty()) WriteSolutions(write, solutions);
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return ToolMain("qb_level_solver", Run, argc, argv); }
