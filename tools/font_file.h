// Reading data/fonts/textN.txt, the text-art form of a bitmap font:
//
//   advance 7
//   glyph 41 61 : A a      <- the byte values (hex) this entry serves, then a label
//   .........              <- 9 rows of 9 cells: "#" set, "." clear;
//   ...####..                 row = y offset 0..8, column = x offset 0..8
//   ...
//
// Pixels are taken in reading order. Shared by the embedding and sheet tools.
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qb::tools {

struct GlyphRecord {
  std::vector<std::uint8_t> codes;
  std::string label;
  std::vector<std::pair<int, int>> pixels;  // (dx, dy) in reading order
  int line = 0;
};

struct FontRecord {
  int advance = 0;
  std::vector<GlyphRecord> glyphs;
};

inline FontRecord ParseFontText(std::istream& in, const std::string& file_name) {
  FontRecord font;
  std::string line;
  int line_no = 0;
  auto fail = [&](const std::string& what) {
    throw std::runtime_error(file_name + ":" + std::to_string(line_no) + ": " + what);
  };
  int rows_left = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (rows_left > 0) {
      if (line.size() != 9) fail("glyph rows hold 9 cells of \"#\" or \".\"");
      const int dy = 9 - rows_left;
      for (int dx = 0; dx < 9; ++dx) {
        if (line[dx] == '#')
          font.glyphs.back().pixels.emplace_back(dx, dy);
        else if (line[dx] != '.')
          fail("glyph rows hold only \"#\" and \".\"");
      }
      --rows_left;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "advance") {
      if (!(words >> font.advance) || font.advance <= 0) fail("bad advance");
      continue;
    }
    if (word != "glyph") fail("expected \"advance N\" or \"glyph XX ... : label\"");
    GlyphRecord g;
    g.line = line_no;
    while (words >> word && word != ":") {
      std::size_t used = 0;
      unsigned long v = 0;
      try {
        v = std::stoul(word, &used, 16);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used != word.size() || word.size() != 2) fail("byte values are two hex digits: \"" + word + "\"");
      g.codes.push_back(static_cast<std::uint8_t>(v));
    }
    if (g.codes.empty() || g.codes.size() > 4) fail("a glyph serves 1 to 4 byte values");
    std::getline(words, g.label);
    if (!g.label.empty() && g.label[0] == ' ') g.label.erase(0, 1);
    font.glyphs.push_back(std::move(g));
    rows_left = 9;
  }
  if (rows_left > 0) fail("glyph ends early");
  if (font.advance == 0) fail("missing \"advance N\"");
  return font;
}

inline FontRecord ReadFontFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot open");
  return ParseFontText(in, path);
}

}  // namespace qb::tools
