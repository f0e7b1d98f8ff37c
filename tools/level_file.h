// Reading data/levels.txt, the readable form of the level records:
//
//   # a comment
//   level 1
//   1111111111110011      <- row 1: 16 cell codes, columns 1 to 16
//   ...                   <- 11 rows in all
//
// Levels stand in increasing order, numbered 1 to 200. Shared by the build-time embedding tool and
// the level tools; a malformed file is refused with the level and line named.
#pragma once

#include <array>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qb::tools {

struct LevelRecord {
  int number = 0;
  int line = 0;                              // line of the "level" header
  std::array<std::string, 11> rows;          // 16 digit characters each
};

inline std::vector<LevelRecord> ParseLevelText(std::istream& in, const std::string& file_name) {
  std::vector<LevelRecord> levels;
  std::string line;
  int line_no = 0;
  auto fail = [&](const std::string& what) {
    std::string where = file_name + ":" + std::to_string(line_no);
    if (!levels.empty()) where += " (level " + std::to_string(levels.back().number) + ")";
    throw std::runtime_error(where + ": " + what);
  };
  int rows_left = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (rows_left == 0) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream words(line);
      std::string word;
      int number = 0;
      std::string rest;
      if (!(words >> word >> number) || word != "level" || (words >> rest))
        fail("expected \"level N\", found \"" + line + "\"");
      const int previous = levels.empty() ? 0 : levels.back().number;
      if (number <= previous || number > 200)
        fail("level " + std::to_string(number) + " out of order: levels run upwards from 1 to 200");
      levels.push_back({number, line_no, {}});
      rows_left = 11;
      continue;
    }
    if (line.size() != 16) fail("row " + std::to_string(12 - rows_left) + " must hold 16 cell codes");
    for (char c : line)
      if (c < '0' || c > '7' || c == '6')
        fail(std::string("row ") + std::to_string(12 - rows_left) + " holds \"" + c +
             "\"; cell codes are 0 to 5 and 7");
    levels.back().rows[static_cast<std::size_t>(11 - rows_left)] = line;
    --rows_left;
  }
  if (rows_left != 0) fail("level ends after " + std::to_string(11 - rows_left) + " of 11 rows");
  return levels;
}

inline std::vector<LevelRecord> ReadLevelFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot open");
  return ParseLevelText(in, path);
}

}  // namespace qb::tools
