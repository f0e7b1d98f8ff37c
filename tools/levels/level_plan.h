// What the level set asks of levels 1 to 99: which start with the figure on the
// board's edge, which are walled in all round, which have no wall at all. The
// generator builds to this plan; the hard half (qb_hard_half) places its starts
// by count. The data test checks the resulting counts independently.
#pragma once

#include <algorithm>
#include <initializer_list>

namespace qb::levels {

inline bool In(int n, std::initializer_list<int> list) {
  return std::find(list.begin(), list.end(), n) != list.end();
}

// Kept exactly as they are: the opening level, the two lone-box levels and the empty maze.
inline bool FixedLevel(int n) { return In(n, {1, 11, 69, 104}); }

inline bool WallLess(int n) { return In(n, {11, 17, 104, 105, 111, 114, 135, 164, 181, 196}); }

inline bool ClosedRim(int n) { return In(n, {28, 46, 84, 88}); }

// The figure starts on the board's edge (level 24 in its bottom right corner).
inline bool FigureOnEdge(int n) {
  return In(n, {7, 9, 14, 24, 30, 37, 48, 54, 60, 66, 73, 82, 93});
}

}  // namespace qb::levels
