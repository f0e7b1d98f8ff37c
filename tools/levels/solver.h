// Push-based level solver: A* over positions (box set + the figure's zone) with
// a matching lower bound on the pushes still needed, pruning of dead squares,
// frozen boxes and closed regions that can never open, and a node budget. When the search ends within the budget the answer
// has the fewest pushes possible; otherwise it falls back to a greedy search.
#pragma once

#include <cstdint>
#include <string>

#include "tools/levels/puzzle.h"

namespace qb::levels {

struct SolveResult {
  bool found = false;
  bool proven = false;        // the push count is the fewest possible
  int pushes = 0;
  std::string moves;          // l u r d, upper case for pushes
  std::uint64_t nodes = 0;    // positions expanded, over all passes
};

// What the solver uses beyond dead squares and frozen boxes: all of it by
// default; bench/levels turns them off to measure what they bring.
struct SolverOptions {
  bool keep_estimates = true;  // estimates and frozen boxes worked out once per box set
  bool closed_regions = true;  // prune regions the figure cannot reach that never open
};

SolveResult Solve(const Puzzle& p, std::uint64_t budget, const SolverOptions& options = {});

// The fewest moves, and with pushes_first the fewest moves among the solutions
// with the fewest pushes; `proven` when the search finished within the budget.
SolveResult SolveForMoves(const Puzzle& p, std::uint64_t budget, bool pushes_first,
                          const SolverOptions& options = {});

// Fewest pushes a lone box needs from each cell to each target, ignoring the
// other boxes (-1: never). Shared with the generator.
struct PushDistances {
  std::vector<int> target_cells;
  std::vector<std::array<std::int16_t, kCells>> to;  // one table per target
  Bits dead;  // cells from which no target can be reached by pushing
};
PushDistances ComputePushDistances(const Puzzle& p);

// Walking letters from `from` to `to` through the cells of `open`; empty when
// from == to. Requires `to` reachable.
std::string WalkPath(const Bits& open, int from, int to);

}  // namespace qb::levels
