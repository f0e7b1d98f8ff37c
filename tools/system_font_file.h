// Reading data/fonts/system.txt, the text-art form of the 8 x 8 code page 437
// system font:
//
//   char 41 : A            <- the code page 437 byte (hex), then a label
//   ..##....               <- 8 rows of 8 cells: "#" set, "." clear;
//   .####...                  the leftmost cell is bit 7 of the row byte
//   ...
//
// Lines starting with "#" between glyphs are comments.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace qb::tools {

// Row bytes per code; codes without a glyph are all zero.
using SystemFontRows = std::array<std::array<std::uint8_t, 8>, 256>;

inline SystemFontRows ParseSystemFontText(std::istream& in, const std::string& file_name) {
  SystemFontRows font{};
  std::array<bool, 256> seen{};
  std::string line;
  int line_no = 0;
  auto fail = [&](const std::string& what) {
    throw std::runtime_error(file_name + ":" + std::to_string(line_no) + ": " + what);
  };
  int code = -1;
  int rows_left = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (rows_left > 0) {
      if (line.size() != 8) fail("glyph rows hold 8 cells of \"#\" or \".\"");
      std::uint8_t bits = 0;
      for (int col = 0; col < 8; ++col) {
        if (line[col] == '#')
          bits = static_cast<std::uint8_t>(bits | (0x80 >> col));
        else if (line[col] != '.')
          fail("glyph rows hold only \"#\" and \".\"");
      }
      font[static_cast<std::size_t>(code)][static_cast<std::size_t>(8 - rows_left)] = bits;
      --rows_left;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string word, hex, colon;
    words >> word >> hex >> colon;
    std::size_t used = 0;
    unsigned long v = 0;
    try {
      v = std::stoul(hex, &used, 16);
    } catch (const std::exception&) {
      used = 0;
    }
    if (word != "char" || hex.size() != 2 || used != 2 || colon != ":")
      fail("expected \"char XX : label\" with a two-digit hex byte");
    if (seen[v]) fail("byte " + hex + " has a glyph already");
    seen[v] = true;
    code = static_cast<int>(v);
    rows_left = 8;
  }
  if (rows_left > 0) fail("glyph ends early");
  return font;
}

inline SystemFontRows ReadSystemFontFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot open");
  return ParseSystemFontText(in, path);
}

}  // namespace qb::tools
