// What the level tools measure of a level and its solution, to see whether a
// level set rises and varies:
//
// - effort: positions expanded by an A* search over pushes whose estimate is
//   the sum over boxes of the pushes to the nearest target ignoring the other
//   boxes, pruning only dead squares (cells from which a box never reaches a
//   target) and 2x2 blocks of walls and boxes holding a box off a target;
// - reachable positions: the positions (box set + the figure's zone)
//   reachable from the start by pushes, less those that same pruning flags;
// - hidden fatal push: a legal push after which the level can no longer be
//   solved although neither a dead square nor a 2x2 block shows it, found by
//   enumerating the reachable positions and marking those that reach a goal;
// - box line: a maximal run of consecutive pushes of one box in one direction;
// - ferry share: the share of pushes made from a (cell, direction) pair from
//   which at least three different boxes are pushed in the solution;
// - the board's walkable area (what the figure could reach were boxes floor),
//   its loops, its rooms, and the overlap of two boards.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/levels/puzzle.h"

namespace qb::levels {

struct EffortResult {
  bool found = false;
  bool complete = false;  // found, or proven unsolvable, within the budget
  int pushes = 0;
  std::uint64_t expanded = 0;
};
EffortResult MeasureEffort(const Puzzle& p, std::uint64_t budget);

// The reachable positions of a level, each marked whether a goal can still be
// reached from it. Incomplete when the budget ran out.
class Exploration {
 public:
  Exploration(const Puzzle& p, std::size_t budget);
  ~Exploration();
  bool complete() const;
  std::size_t positions() const;
  // Solution steps (positions before a push) that offer a legal push into a
  // dead end that no dead square or 2x2 block shows; -1 when incomplete or
  // when the moves do not replay.
  int HiddenFatalSteps(const std::string& moves) const;
  // Whether no goal can be reached from a reachable position (false when unknown).
  bool Dead(const Bits& boxes, int zone) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The legal pushes (box cell, direction) from a position that no dead square or
// 2x2 block flags and that lead where `dead` says no goal can be reached from.
using DeadTest = std::function<bool(const Bits& boxes, int zone)>;
std::vector<std::pair<int, int>> FatalPushes(const Puzzle& at, const DeadTest& dead);

// The solution's steps (positions before a push) that offer a legal push that no
// dead square or 2x2 block flags into a position `dead` says no goal can be
// reached from; -1 when the moves do not replay and solve.
int CountFatalSteps(const Puzzle& p, const std::string& moves, const DeadTest& dead);

struct SolutionFacts {
  bool replays = false;  // the moves are legal and end solved
  int pushes = 0, moves = 0;
  int box_lines = 0;
  double ferry_share = 0;
  Bits unmoved;          // start cells of the boxes the solution never pushes
};
SolutionFacts StudySolution(const Puzzle& p, const std::string& moves);

// The level as its solution plays it: boxes that the solution never moves become
// walls (their targets go with them). Used for boards without walls, whose
// standing boxes are the walls.
Puzzle Core(const Puzzle& p, const Bits& unmoved);

struct Room {
  int cells = 0, width = 0, height = 0;
  bool rectangle = false;
};

struct BoardShape {
  Bits walk;            // what the figure could reach if boxes were floor
  int loops = 0;        // islands of wall (or of the outside) that the walk surrounds
  std::vector<Room> rooms;  // parts of the walk wider than a corridor, of 4 cells or more
  int small_rooms = 0;  // rooms that are exactly 3 x 3 or 3 x 4
  std::string arrangement;  // the rooms' sizes, largest first, e.g. "3x3,2x4"
};
BoardShape ShapeOf(const Puzzle& p);

// Intersection over union of two walkable areas, the best over the eight
// mirrorings and rotations and every shift of the second.
double Overlap(const Bits& a, const Bits& b);

}  // namespace qb::levels
