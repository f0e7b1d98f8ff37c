// Reading and writing the level file and the solutions file for the level tools.
// Solutions: one line per level, "N moves" (letters l u r d, upper case for a
// push); a level without moves may stand as "N" or "N ".
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "tools/levels/puzzle.h"

namespace qb::levels {

inline void WriteLevelFile(const std::string& path, const std::map<int, Puzzle>& levels) {
  std::ofstream out(path);
  out << "# The level records: \"level N\", then 11 rows of 16 cell codes, columns 1 to 16.\n"
         "# 0 floor, 1 wall, 2 figure, 3 box, 4 target, 5 box on target, 7 figure on target.\n";
  for (const auto& [n, p] : levels) {
    out << "\nlevel " << n << "\n";
    for (const auto& row : p.Rows()) out << row << "\n";
  }
  if (!out) throw std::runtime_error(path + ": cannot write");
}

inline std::map<int, std::string> ReadSolutions(const std::string& path) {
  std::map<int, std::string> solutions;
  std::ifstream in(path);
  if (!in) return solutions;
  std::string line;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::istringstream words(line);
    int n = 0;
    std::string moves, rest;
    if (!(words >> n) || n < 1 || n > 200)
      throw std::runtime_error(path + ":" + std::to_string(line_no) + ": expected a level number");
    words >> moves;
    if (words >> rest || moves.find_first_not_of("lurdLURD") != std::string::npos)
      throw std::runtime_error(path + ":" + std::to_string(line_no) + " (level " + std::to_string(n) +
                               "): moves are the letters l u r d");
    solutions[n] = moves;
  }
  return solutions;
}

inline void WriteSolutions(const std::string& path, const std::map<int, std::string>& solutions) {
  std::ofstream out(path);
  for (const auto& [n, moves] : solutions) out << n << (moves.empty() ? "" : " ") << moves << "\n";
  if (!out) throw std::runtime_error(path + ": cannot write");
}

}  // namespace qb::levels
