// Playing backwards: a breadth-first search over pulls from the solved
// position (every box on a target, the figure anywhere). The depth at which a
// position is first met is the fewest pushes that solve it, so the deepest
// positions found are the hardest starts for the given walls and targets.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/levels/position_table.h"
#include "tools/levels/puzzle.h"

namespace qb::levels {

struct PullNode {
  Bits boxes;
  std::uint8_t zone;  // lowest cell the figure can reach
  std::uint8_t from;  // forwards: the box pushed out of this position stands here
  std::uint8_t dir;   // ... and is pushed this way
  std::int32_t parent;
  std::int32_t depth;
};

struct PullSearch {
  PositionTable<PullNode> table;
  bool complete = false;  // every position was reached within the budget
  const std::vector<PullNode>& nodes() const { return table.nodes(); }  // in order of depth
};

// `solved` holds the boxes (on the targets, plus any spare boxes) of the solved
// position; `walls` and `targets` as in the level. With `min_depth`, the search
// gives up (incomplete) when a quarter of the budget is spent before it gets
// that deep: the space is too wide to finish.
PullSearch SearchPulls(const Bits& walls, const Bits& solved, std::size_t budget, int min_depth = 0);

// The moves that solve the position of node k with the figure starting on
// cell `figure` (which must lie in the node's zone).
std::string SolutionFrom(const PullSearch& s, const Bits& walls, std::int32_t k, int figure);

}  // namespace qb::levels
