// Build-time tool: writes the built-in data stream (level records, then font
// glyphs) with its entry points, the level names in Windows-1250 and the rows
// of the 8 x 8 system font.
// Usage: qb_embed_data OUT.cpp LEVELS.txt NAMES.txt [--system-font SYSTEM.txt] [FONT.txt...]
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/font_file.h"
#include "tools/level_file.h"
#include "tools/system_font_file.h"

namespace {

// The few letters beyond ASCII that level names use, UTF-8 -> Windows-1250.
struct Letter {
  const char* utf8;
  unsigned char cp1250;
};
constexpr Letter kLetters[] = {
    {"á", 0xE1}, {"é", 0xE9}, {"í", 0xED}, {"ó", 0xF3}, {"ú", 0xFA}, {"ý", 0xFD}, {"č", 0xE8},
    {"ď", 0xEF}, {"ě", 0xEC}, {"ň", 0xF2}, {"ř", 0xF8}, {"š", 0x9A}, {"ť", 0x9D}, {"ů", 0xF9},
    {"ž", 0x9E}, {"Á", 0xC1}, {"É", 0xC9}, {"Í", 0xCD}, {"Ó", 0xD3}, {"Ú", 0xDA}, {"Ý", 0xDD},
    {"Č", 0xC8}, {"Ď", 0xCF}, {"Ě", 0xCC}, {"Ň", 0xD2}, {"Ř", 0xD8}, {"Š", 0x8A}, {"Ť", 0x8D},
    {"Ů", 0xD9}, {"Ž", 0x8E},
};

std::string ToCp1250(const std::string& utf8, const std::string& where) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    bool found = false;
    for (const auto& l : kLetters) {
      const std::string s = l.utf8;
      if (utf8.compare(i, s.size(), s) == 0) {
        out += static_cast<char>(l.cp1250);
        i += s.size();
        found = true;
        break;
      }
    }
    if (!found) throw std::runtime_error(where + ": a letter with no Windows-1250 form here");
  }
  return out;
}

std::string CString(const std::string& bytes) {
  std::string s = "\"";
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
      s += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);
      s += buf;
    }
  }
  return s + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: qb_embed_data OUT.cpp LEVELS.txt NAMES.txt [--system-font SYSTEM.txt] [FONT.txt...]\n";
    return 2;
  }
  try {
    std::string items;
    std::vector<std::string> level_entries(201, "kMissing");
    for (const auto& level : qb::tools::ReadLevelFile(argv[2])) {
      level_entries[static_cast<std::size_t>(level.number)] = std::to_string(items.size());
      for (const auto& row : level.rows) items += row;
    }

    std::vector<std::string> names(201);
    {
      std::ifstream in(argv[3]);
      if (!in) throw std::runtime_error(std::string(argv[3]) + ": cannot open");
      std::string line;
      int line_no = 0;
      while (std::getline(in, line)) {
        ++line_no;
        if (line.empty() || line[0] == '#') continue;
        const std::string where = std::string(argv[3]) + ":" + std::to_string(line_no);
        const auto space = line.find(' ');
        int number = 0;
        try {
          number = std::stoi(line.substr(0, space));
        } catch (const std::exception&) {
          number = 0;
        }
        if (space == std::string::npos || number < 1 || number > 200 || !names[number].empty())
          throw std::runtime_error(where + ": expected \"N name\" with a new level number 1 to 200");
        names[number] = ToCp1250(line.substr(space + 1), where);
      }
    }

    qb::tools::SystemFontRows system_font{};
    std::vector<std::string> font_files;
    for (int i = 4; i < argc; ++i) {
      if (std::string(argv[i]) == "--system-font" && i + 1 < argc)
        system_font = qb::tools::ReadSystemFontFile(argv[++i]);
      else
        font_files.emplace_back(argv[i]);
    }

    std::ostringstream glyphs;
    for (const auto& font_file : font_files) {
      const auto font = qb::tools::ReadFontFile(font_file);
      const std::string prefix = "text" + std::to_string(font.advance);
      glyphs << "const GlyphEntry k" << prefix << "[] = {\n";
      std::vector<std::string> used;
      for (const auto& g : font.glyphs) {
        std::string name = prefix;
        for (auto c : g.codes) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "_%02x", c);
          name += buf;
        }
        const std::string base = name;
        for (int n = 2; std::find(used.begin(), used.end(), name) != used.end(); ++n)
          name = base + "_" + std::to_string(n);
        used.push_back(name);
        glyphs << "  {" << items.size() << ", " << g.pixels.size() << ", " << g.codes.size() << ", {";
        for (auto c : g.codes) glyphs << int{c} << ",";
        glyphs << "}, \"" << name << "\"},\n";
        for (const auto& [dx, dy] : g.pixels) items += static_cast<char>('0' + dx);
        for (const auto& [dx, dy] : g.pixels) items += static_cast<char>('0' + dy);
      }
      if (font.glyphs.empty()) glyphs << "  {0, 0, 0, {}, \"\"},\n";
      glyphs << "};\nconstexpr std::size_t k" << prefix << "Count = " << font.glyphs.size() << ";\n";
    }

    std::ofstream out(argv[1]);
    out << "// Generated by qb_embed_data from data/levels.txt, data/level_names.txt and\n"
           "// data/fonts; do not edit.\n#include <cstddef>\n#include <string_view>\n\n"
           "#include \"data/stream_tables.h\"\n\nnamespace qb::data::generated {\n\n";
    out << "const char kItems[] =\n";
    for (std::size_t i = 0; i < items.size(); i += 96) out << "  \"" << items.substr(i, 96) << "\"\n";
    out << "  \"\";\nconst std::size_t kItemCount = " << items.size() << ";\n\n";
    out << "const std::size_t kLevelEntries[201] = {";
    for (const auto& e : level_entries) out << e << ", ";
    out << "};\n\n";
    const std::string g = glyphs.str();
    out << "namespace {\n" << g << "}  // namespace\n\n";
    for (int adv : {7, 8, 4}) {
      const std::string p = "text" + std::to_string(adv);
      out << "const std::span<const GlyphEntry> kFont" << adv << " = ";
      if (g.find("k" + p + "[]") != std::string::npos)
        out << "{k" << p << ", k" << p << "Count};\n";
      else
        out << "{};\n";
    }
    out << "\nconst std::string_view kLevelNames[201] = {\n";
    for (const auto& n : names) out << "  {" << CString(n) << ", " << n.size() << "},\n";
    out << "};\n\n";
    out << "extern const unsigned char kSystemFont[256][8];\nconst unsigned char kSystemFont[256][8] = {\n";
    for (const auto& rows : system_font) {
      out << " {";
      for (auto r : rows) out << int{r} << ",";
      out << "},\n";
    }
    out << "};\n\n}  // namespace qb::data::generated\n";
    return out ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
