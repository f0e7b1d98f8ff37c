// What the level set asks of each level number: which levels start with a box
// on a target, with the figure on a target or on the board's edge, which are
// walled in all round, which have no wall at all. The generator builds to
// this plan; the data test checks the resulting counts independently.
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

inline bool ClosedRim(int n) { return In(n, {28, 46, 84, 88, 140, 189}); }

// The figure starts on the board's edge (level 24 in its bottom right corner).
inline bool FigureOnEdge(int n) {
  return In(n, {7, 9, 14, 24, 30, 37, 48, 54, 60, 66, 73, 82, 93, 102, 107, 117, 125, 133, 142,
                150, 158, 166, 172, 185, 193});
}

inline bool FigureOnTarget(int n) {
  return In(n, {101, 106, 110, 115, 119, 123, 127, 131, 137, 141, 145, 149, 153, 157, 161, 165,
                169, 173, 177, 186, 190, 198});
}

// Levels 100 to 200 that start with every box off the targets; the rest of them start with one or more on.
inline bool NoBoxOnTarget(int n) {
  return n < 100 || In(n, {100, 103, 104, 109, 108, 112, 114, 116, 120, 124, 128, 132, 136, 139,
                           143, 147, 151, 155, 159, 163, 167, 171, 175, 179, 183, 187, 191, 195});
}

}  // namespace qb::levels
