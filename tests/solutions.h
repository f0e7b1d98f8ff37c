// The level set's solutions (tests/data/solutions.txt): one line per level,
// "N moves", the moves in l u r d, upper case for a push; a level solved from
// the start has none.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "game/moves.h"

namespace qb::testing {

inline const std::map<int, std::string>& Solutions() {
  static const std::map<int, std::string> solutions = [] {
    std::map<int, std::string> m;
    std::ifstream in(std::string(QB_SOURCE_DIR) + "/tests/data/solutions.txt");
    EXPECT_TRUE(in) << "tests/data/solutions.txt is missing";
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::istringstream words(line);
      int level = 0;
      std::string moves;
      if (!(words >> level)) continue;
      words >> moves;
      EXPECT_FALSE(m.count(level)) << "level " << level << " twice";
      m[level] = moves;
    }
    return m;
  }();
  return solutions;
}

// The direction of a move letter of a solution, either case.
inline Direction DirectionOfMove(char move) {
  switch (move | 0x20) {
    case 'l': return Direction::Left;
    case 'u': return Direction::Up;
    case 'r': return Direction::Right;
    default: return Direction::Down;
  }
}

}  // namespace qb::testing
