// Candidates for the hard half: each seed lays out one hall, scatters its
// targets, plays backwards from the solved position and keeps the start that
// measures best (see metrics.h). A pool of candidates is written to a text
// file; placing them picks the levels and orders them by effort.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/levels/puzzle.h"

namespace qb::levels {

struct CandidateMeasures {
  std::uint64_t effort = 0;
  std::size_t reachable = 0;
  double fatal_share = 0, per_line = 0, ferry = 0;
  int pushes = 0;
};

struct HardCandidate {
  std::uint64_t seed = 0;
  Puzzle puzzle;       // the figure on a plain cell of its zone
  Bits zone;           // where the figure may start without changing the puzzle
  std::string moves;   // the fewest pushes, then the fewest moves
  CandidateMeasures m;
  bool closed = false; // walled in all round
  bool fenced = false; // for a level without walls: its walls are to be boxes standing on targets
};

struct CandidateBudgets {
  std::size_t pulls = 1500000;     // positions of the backwards search
  std::uint64_t effort = 3000000;  // positions the effort search may expand
  std::uint64_t solve = 3000000;   // positions the fewest-moves search may expand
  int layouts = 1;                 // layouts of targets tried per hall
  int evaluated = 3;               // starts measured in full per seed
};

// The candidate of one seed, or nothing when no start of its hall meets the floor
// the hard half asks (every box moves, enough positions and fatal pushes).
enum class Kind {
  Walled,
  Clear,   // walled, and no box starts on a target
  Open,    // walled, the hall reaching the board's edge
  Fenced,  // walls at least two cells thick, so that as boxes on targets they can never be pushed from inside
};
std::optional<HardCandidate> MakeCandidate(std::uint64_t seed, const CandidateBudgets& b, Kind kind = Kind::Walled);

void WriteCandidate(std::ostream& out, const HardCandidate& c);
std::vector<HardCandidate> ReadCandidates(const std::string& path);

// The moves that solve `p` in the fewest pushes and then the fewest moves; empty when out of budget.
std::string ShortestSolution(const Puzzle& p, std::uint64_t budget);

}  // namespace qb::levels
