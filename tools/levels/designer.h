// The level designer of the hard half: lays out a skeleton of rooms,
// corridors, parking bays and a goal area, then searches over its walls and
// targets (the boxes follow from playing backwards) for a start whose
// fewest-push solution is long and full of counterintuitive pushes, and last
// prunes every floor cell the solution never touches and every wall notch
// whose removal keeps the level as hard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/levels/designs.h"
#include "tools/levels/puzzle.h"

namespace qb::levels {

// What the start must look like, so that the level set keeps its counts.
struct StartFlags {
  bool box_on_target = false;     // at least one box starts on a target (else none)
  bool figure_on_target = false;  // the figure starts on a target (else not)
  bool figure_on_edge = false;    // the figure starts on the board's edge (else not)
  bool closed = false;            // the board's rim is wall all round (else some rim cell is not)
};

enum class Size { Compact, Medium, Large, Full };

struct DesignerOptions {
  int boxes = 6;
  Size size = Size::Medium;
  StartFlags flags;
  std::size_t budget = 40000;         // positions per backwards search while climbing
  std::size_t final_budget = 300000;  // ... for the final design
  int climbs = 200;                   // mutations tried at most
  std::size_t climb_positions = 2500000;  // ... while their searches took no more positions
};

// One finished level with its fewest-push solution and measures.
struct Designed {
  Puzzle puzzle;
  std::string solution;
  int pushes = 0;
  int counterintuitive = 0;
  int floor = 0;        // cells the figure can walk on (boxes counted as floor)
  std::string skeleton; // the skeleton kind
  std::string idea;     // one sentence read off the solution
  double score = 0;
};

// A push that takes its box farther, by lone-box push distance over the walls,
// from the cell the box ends the solution on. Counts them in a solution of p.
int CountCounterintuitive(const Puzzle& p, const std::string& moves);

// `head`, then what the fewest-push solution asks of one box: that it leave the
// goal it starts on (said only where the solver proves the level unsolvable with
// that box fixed there), or the most pushes it makes the wrong way.
std::string DescribeSolution(const Puzzle& p, const std::string& solution, const std::string& head);

// Designs one level from a seed; empty solution when no acceptable start was found.
Designed DesignLevel(std::uint64_t seed, const DesignerOptions& o);

// Big boards (80 floor cells and more, up to the whole grid) with many boxes:
// three to six rooms joined by corridors, parking bays and a goal area. The
// search backwards cannot reach deep starts on boards this wide, so starts come
// from a beam search of pulls out of the solved position (keeping the positions
// whose boxes stand farthest from the targets) and are solved forwards for
// their fewest pushes. Each walk's start is scored by its fewest pushes,
// counterintuitive pushes and the person model's effort (HumanEffort), the best
// kept, the floor its solution never touches trimmed.
struct BigOptions {
  int boxes = 10;
  StartFlags flags;
  int walks = 8;                        // starts tried per skeleton
  int skeletons = 2;                    // skeletons tried, the best start of all kept
  std::uint64_t solve_budget = 300000;  // positions the forward solver may expand per start
};
Designed DesignBig(std::uint64_t seed, const BigOptions& o);

// The designer's score of a start: fewest pushes, five per counterintuitive
// push, and the person model's effort on a log scale (ten per doubling).
double DesignScore(int pushes, int counterintuitive, double human);

// The board's rows with walls drawn round the floor, exterior left as 0 (the
// rim walled all round when closed).
Puzzle Render(const Bits& floor, const Bits& targets, const Bits& boxes, int figure, bool closed);

// The level with the walkable cells its solution never touches (by the figure
// or a box) taken out: every dead niche, then the least connected of the rest
// until at most keep_share of the floor is untouched; walls drawn afresh round
// what is left. The solution still plays and still has the fewest pushes:
// cells were only taken away.
Puzzle Trim(const Puzzle& p, const std::string& solution, bool closed, double keep_share);

}  // namespace qb::levels
