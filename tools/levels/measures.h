// What slows a person down on a level, measured on the level and its stored
// fewest-push solution:
//
// - counterintuitive pushes: pushes that take a box farther (in pushes of a
//   lone box) from the cell that box ends on;
// - parts: groups of boxes whose lone-box ways to a target (the cells the box
//   can be pushed through on its way, and the cells the figure pushes from)
//   share no cell with another group's; 1 when the level does not split;
// - reveal depth: after a hidden fatal push (one that loses the level with no
//   dead square or 2x2 block showing it), the pushes a player can still make
//   without seeing one: the farthest, in pushes, that the lost positions
//   reachable from it reach (capped), taken as the median over the fatal
//   pushes the solution passes by;
// - dead floor: the share of the walkable floor that neither the figure nor a
//   box touches anywhere in the solution.
#pragma once

#include <string>

#include "tools/levels/human.h"
#include "tools/levels/metrics.h"
#include "tools/levels/puzzle.h"

namespace qb::levels {

// -1 when the moves do not replay and solve.
int CounterintuitivePushes(const Puzzle& p, const std::string& moves);

int Parts(const Puzzle& p);

// The share (0..1) of the walkable floor the solution never touches; -1 when
// the moves do not replay.
double DeadFloor(const Puzzle& p, const std::string& moves);

inline constexpr int kRevealCap = 30;
// The median reveal depth over the hidden fatal pushes the solution passes by
// (0 when there are none); -1 when `dead` cannot tell or the moves do not replay.
double RevealDepth(const Puzzle& p, const std::string& moves, const DeadTest& dead);

// The pushes a player can make from the position after a fatal push without
// meeting a dead square or a 2x2 block: the farthest of the reachable positions,
// in pushes, up to kRevealCap.
int RevealDepthAfter(const Puzzle& lost);

// All of the above and the human model's effort, for one level (wall-less
// levels: their core) and its stored solution. Without `dead` the reveal
// depth stays -1; without `human` the human model's effort is left out.
struct PeopleMeasures {
  int floor = 0;  // walkable cells
  int counterintuitive = -1;
  int parts = 0;
  double reveal = -1;
  double dead_floor = -1;
  HumanResult human;
};
PeopleMeasures MeasureForPeople(const Puzzle& p, const std::string& moves, const DeadTest* dead, bool human = true);

// A test of lost positions for `p`: the reachable positions when they fit
// `explore`, else (boxes as many as targets) the positions that reach the goal
// backwards when they fit `pulls`; empty when neither fits.
DeadTest LostPositions(const Puzzle& p, std::size_t explore, std::size_t pulls);

}  // namespace qb::levels
