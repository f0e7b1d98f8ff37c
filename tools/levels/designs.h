// Wall layouts for the generator: rooms joined by corridors (optionally
// mirrored, open to the board's edge or closed by a wall all round), and a
// few drawn shapes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/levels/puzzle.h"

namespace qb::levels {

// A small reproducible random source (the same seed gives the same levels on any platform).
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : s_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  std::uint64_t s_;
};

enum class Edge { Inside, Open, Closed };  // walls stay off the rim / rooms reach it / rim all wall

struct DesignOptions {
  Edge edge = Edge::Inside;
  bool mirror = false;
  int rooms = 4;
  int pillars = 10;  // percent of inner cells that become pillars
  int max_room_w = 5, max_room_h = 4;
};

struct Design {
  Bits walls;
  Bits area;  // the cells the figure and the boxes play on
};

Design RoomDesign(Rng& rng, const DesignOptions& o);

// One irregular hall: a rectangle with bites taken out of its sides and short
// pieces of wall standing inside, so that the floor winds round them in loops.
struct HallOptions {
  Edge edge = Edge::Inside;
  int min_w = 7, max_w = 13, min_h = 6, max_h = 9;
  int min_floor = 30, max_floor = 60;
  int wall_share = 28;  // percent of the hall's cells that become inner wall
  bool mirror = false;  // symmetric about the hall's middle column
  bool thick = false;   // walls at least two cells thick everywhere (inner walls are blocks)
};
// An empty design when a hundred tries give no floor of the size asked.
Design HallDesign(Rng& rng, const HallOptions& o);

// A drawn layout: '#' wall, '.' play area, ' ' floor outside the play.
Design DrawnDesign(const std::vector<std::string>& rows);

// The drawn layouts, by name.
const std::vector<std::pair<std::string, std::vector<std::string>>>& DrawnLayouts();

// Cells not reachable from the play area that are shut in (do not reach the
// board's edge) become wall, so no level has a pocket that serves nothing.
void FillPockets(Puzzle& p);

}  // namespace qb::levels
