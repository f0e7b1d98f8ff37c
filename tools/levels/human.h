// A model of a person solving a level, as a measure of how hard it is to a
// human rather than to a search. The player looks one push ahead and judges a
// position by eye: the pushes each box needs to its nearest target, the other
// boxes ignored. It sees only the simple dead ends (a box on a dead square, a
// 2x2 block holding a box off a target) and never plays a position twice.
// From the position it believes in most (fewest pushes to go by eye; among
// equals the one its last push brought a box nearer to a target, then at
// random) it tries every push; when a line turns out worse than one it left,
// it goes back to that one, as a player takes pushes back. A box that must
// first go away from its target, or a trap that shows only much later, makes
// it try many pushes; a level that gives way to plain pushing makes it try few.
//
// The level's human difficulty is the median, over seeded runs, of the pushes
// tried until solved (the cap where a run does not solve it).
#pragma once

#include <cstdint>
#include <vector>

#include "tools/levels/puzzle.h"

namespace qb::levels {

struct HumanOptions {
  int runs = 5;
  std::uint64_t cap = 1000000;  // pushes a run tries at the most
  std::uint64_t seed = 1;       // run k plays with seed + k
};

struct HumanResult {
  double median = 0;                  // pushes tried until solved, the median over the runs
  int solved = 0;                     // runs that solved the level within the cap
  std::vector<std::uint64_t> pushes;  // per run
};

// The pushes one run tries until the level is solved, or options.cap.
std::uint64_t HumanRun(const Puzzle& p, std::uint64_t seed, const HumanOptions& options);

HumanResult HumanEffort(const Puzzle& p, const HumanOptions& options = {});

}  // namespace qb::levels
