#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/stream.h"
#include "gfx/nearest.h"
#include "gfx/pen.h"
#include "gfx/system_font.h"
#include "gfx/text.h"
#include "headless_fixture.h"

namespace qb {
namespace {

using testing::HeadlessTest;
using TextTest = HeadlessTest;
using Pixel = std::pair<int, int>;  // (dx, dy) from the pen
using PixelList = std::vector<Pixel>;
using PixelSet = std::set<Pixel>;

constexpr Colour kInk = 0xFF123456;
constexpr int kPenX = 100, kPenY = 100;

// ---- the character set: per font, the pixel count of each entry that serves
// the character, in font order (empty: the font has no glyph for it) ----

enum class Kind { Letter, Accented, Digit, Sign };

struct CharRow {
  const char* name;
  std::vector<std::uint8_t> codes;  // capital first for letters
  Kind kind;
  std::vector<int> text7, text8, text4;
};

const std::vector<CharRow>& CharacterSet() {
  using K = Kind;
  static const std::vector<CharRow> rows = {
      {"A", {0x41, 0x61}, K::Letter, {18}, {28}, {12}},
      {"A acute", {0xC1, 0xE1}, K::Accented, {19}, {32}, {12}},
      {"B", {0x42, 0x62}, K::Letter, {21}, {30}, {10}},
      {"C", {0x43, 0x63}, K::Letter, {14}, {22}, {9}},
      {"C caron", {0xC8, 0xE8}, K::Accented, {16}, {27}, {10}},
      {"D", {0x44, 0x64}, K::Letter, {16}, {26}, {10}},
      {"D caron", {0xCF, 0xEF}, K::Accented, {18}, {31}, {11}},
      {"E", {0x45, 0x65}, K::Letter, {20}, {26}, {10}},
      {"E acute", {0xC9, 0xE9}, K::Accented, {21}, {30}, {10}},
      {"E caron", {0xCC, 0xEC}, K::Accented, {22}, {31}, {10}},
      {"F", {0x46, 0x66}, K::Letter, {15}, {21}, {8}},
      {"G", {0x47, 0x67}, K::Letter, {17}, {26}, {8}},
      {"H", {0x48, 0x68}, K::Letter, {16}, {27}, {11}},
      {"I", {0x49, 0x69}, K::Letter, {14}, {20}, {9}},
      {"I acute", {0xCD, 0xED}, K::Accented, {15}, {24}, {10}},
      {"J", {0x4A, 0x6A}, K::Letter, {11}, {19}, {8}},
      {"K", {0x4B, 0x6B}, K::Letter, {13}, {24}, {10}},
      {"L", {0x4C, 0x6C}, K::Letter, {11}, {16}, {7}},
      {"M", {0x4D, 0x6D}, K::Letter, {16}, {29}, {11}},
      {"N", {0x4E, 0x6E}, K::Letter, {16}, {30}, {10}},
      {"N caron", {0xD2, 0xF2}, K::Accented, {18}, {33}, {9}},
      {"O", {0x4F, 0x6F}, K::Letter, {16}, {26}, {12}},
      {"O acute", {0xD3, 0xF3}, K::Accented, {17}, {28}, {12}},
      {"P", {0x50, 0x70}, K::Letter, {16}, {24}, {10}},
      {"Q", {0x51, 0x71}, K::Letter, {18}, {30}, {13}},
      {"R", {0x52, 0x72}, K::Letter, {18}, {28}, {12}},
      {"R caron", {0xD8, 0xF8}, K::Accented, {20}, {33}, {11}},
      {"S", {0x53, 0x73}, K::Letter, {16}, {23}, {11}},
      {"S caron", {0x8A, 0x9A}, K::Accented, {18}, {28}, {11}},
      {"T", {0x54, 0x74}, K::Letter, {11}, {18}, {7}},
      {"T caron", {0x8D, 0x9D}, K::Accented, {13}, {22}, {8}},
      {"U", {0x55, 0x75}, K::Letter, {14}, {25}, {11}},
      {"U acute", {0xDA, 0xFA}, K::Accented, {16}, {27}, {10}},
      {"U ring", {0xD9, 0xF9}, K::Accented, {18}, {29}, {10}},
      {"V", {0x56, 0x76}, K::Letter, {12}, {23}, {9}},
      {"W", {0x57, 0x77}, K::Letter, {14}, {27}, {11}},
      {"X", {0x58, 0x78}, K::Letter, {12}, {22}, {7}},
      {"Y", {0x59, 0x79}, K::Letter, {9}, {18}, {7}},
      {"Y acute", {0xDD, 0xFD}, K::Accented, {11}, {22}, {8}},
      {"Z", {0x5A, 0x7A}, K::Letter, {16}, {22}, {9}},
      {"Z caron", {0x8E, 0x9E}, K::Accented, {18}, {26}, {10}},
      {"0", {0x30}, K::Digit, {16}, {26}, {12}},
      {"1", {0x31}, K::Digit, {12}, {19}, {5}},
      {"2", {0x32}, K::Digit, {18}, {25}, {11}},
      {"3", {0x33}, K::Digit, {15}, {23}, {11}},
      {"4", {0x34}, K::Digit, {14}, {22}, {9}},
      {"5", {0x35}, K::Digit, {19}, {26}, {11}},
      {"6", {0x36}, K::Digit, {18}, {26}, {12}},
      {"7", {0x37}, K::Digit, {11}, {17}, {7}},
      {"8", {0x38}, K::Digit, {18}, {27}, {13}},
      {"9", {0x39}, K::Digit, {18}, {26}, {12}},
      {"!", {0x21}, K::Sign, {5}, {10}, {}},
      {"#", {0x23}, K::Sign, {20}, {}, {}},
      {"%", {0x25}, K::Sign, {14}, {13}, {6}},
      {"&", {0x26}, K::Sign, {13}, {}, {}},
      {"(", {0x28}, K::Sign, {6}, {}, {5}},
      {")", {0x29}, K::Sign, {6}, {}, {5}},
      {"+", {0x2B}, K::Sign, {9}, {}, {5}},
      {",", {0x2C}, K::Sign, {2}, {}, {2}},
      {"-", {0x2D}, K::Sign, {5}, {5, 5}, {3}},
      {".", {0x2E}, K::Sign, {4}, {4}, {1}},
      {"/", {0x2F}, K::Sign, {5}, {}, {3}},
      {":", {0x3A}, K::Sign, {2}, {4, 2}, {2}},
      {"=", {0x3D}, K::Sign, {10}, {10}, {4}},
      {"@", {0x40}, K::Sign, {21}, {}, {}},
      {"`", {0x60}, K::Sign, {}, {}, {8}},
      {"copyright", {0xA9}, K::Sign, {26}, {}, {}},
  };
  return rows;
}

const std::vector<int>& CountsFor(const CharRow& row, int advance) {
  return advance == 7 ? row.text7 : advance == 8 ? row.text8 : row.text4;
}

// ---- reading the fonts ----

bool Serves(const data::GlyphEntry& e, std::uint8_t code) {
  return std::find(e.codes, e.codes + e.code_count, code) != e.codes + e.code_count;
}

PixelList ReadRecord(const data::GlyphEntry& e) {
  data::Restore(e.entry_point);
  std::vector<int> xs, ys;
  for (int i = 0; i < e.pixel_count; ++i) xs.push_back(data::Read());
  for (int i = 0; i < e.pixel_count; ++i) ys.push_back(data::Read());
  PixelList out;
  for (int i = 0; i < e.pixel_count; ++i) out.emplace_back(xs[i], ys[i]);
  return out;
}

std::vector<const data::GlyphEntry*> EntriesFor(int advance, std::uint8_t code) {
  std::vector<const data::GlyphEntry*> out;
  for (const auto& e : data::FontGlyphs(advance))
    if (Serves(e, code)) out.push_back(&e);
  return out;
}

PixelSet StreamPixels(int advance, std::uint8_t code) {
  PixelSet out;
  for (const auto* e : EntriesFor(advance, code))
    for (auto p : ReadRecord(*e)) out.insert(p);
  return out;
}

void Draw(int advance) {
  if (advance == 7) DrawText7();
  if (advance == 8) DrawText8();
  if (advance == 4) DrawText4();
}

// Ink within a window around the pen at (kPenX, kPenY), relative to the pen.
PixelSet InkNearPen(int width = 24) {
  PixelSet out;
  for (int y = kPenY - 4; y < kPenY + 14; ++y)
    for (int x = kPenX - 4; x < kPenX + width; ++x)
      if (GetPixel(x, y) == kInk) out.insert({x - kPenX, y - kPenY});
  return out;
}

int CountInk() {
  int n = 0;
  for (int y = 0; y < kSurfaceHeight; ++y)
    for (int x = 0; x < kSurfaceWidth; ++x) n += GetPixel(x, y) == kInk;
  return n;
}

PixelSet DrawnAlone(int advance, std::uint8_t code) {
  FillBox(kPenX - 4, kPenY - 4, kPenX + 24, kPenY + 14, 0);
  SetColour(kInk);
  SetPen(kPenX, kPenY);
  TextBuffer() = std::string(1, static_cast<char>(code));
  Draw(advance);
  return InkNearPen();
}

// ---- cell geometry ----

struct Box {
  int x1, y1, x2, y2;
};

struct Geometry {
  int advance;
  Box body;
  int accent_top;  // accented capitals may reach up to this row (fonts with accent rows)
};

constexpr Geometry kFonts[] = {{7, {2, 2, 7, 7}, 1}, {8, {2, 3, 8, 8}, 1}, {4, {1, 1, 3, 5}, 1}};

Box Extents(const PixelSet& s) {
  Box b{99, 99, -1, -1};
  for (auto [x, y] : s) {
    b.x1 = std::min(b.x1, x), b.y1 = std::min(b.y1, y);
    b.x2 = std::max(b.x2, x), b.y2 = std::max(b.y2, y);
  }
  return b;
}

// The box a character's glyph must stay within, and the edges it must reach.
struct Rule {
  Box allowed;
  std::map<char, int> reaches;  // 'l', 't', 'r', 'b' -> coordinate the glyph touches
};

Rule RuleFor(const Geometry& g, const CharRow& row) {
  Rule r{g.body, {}};
  const std::uint8_t c = row.codes[0];
  const bool lettered = row.kind != Kind::Sign;
  if (lettered) r.reaches = {{'t', g.body.y1}, {'b', g.body.y2}};
  if (row.kind == Kind::Accented && g.advance != 4) r.allowed.y1 = r.reaches['t'] = g.accent_top;
  if (g.advance == 7) {
    if (c == 0x59 || c == 0xDD) r.allowed.x1 = r.reaches['l'] = 1;
    if (c == 0x2C) r.allowed.y2 = r.reaches['b'] = 8;
    if (c == 0xA9) {
      r.allowed = {1, 1, 8, 8};
      r.reaches = {{'l', 1}, {'t', 1}, {'r', 8}, {'b', 8}};
    }
  }
  if (g.advance == 8) {
    if (c == 0x54 || c == 0x8D || c == 0x59 || c == 0xDD) r.allowed.x1 = r.reaches['l'] = 1;
    if (c == 0x25) r.allowed.x1 = 1, r.allowed.x2 = 5;
  }
  if (g.advance == 4 && c == 0x25) r.allowed.x2 = r.reaches['r'] = 4;
  return r;
}

// ---- the character set, font by font ----

TEST_F(TextTest, EveryCharacterHasItsPixelCountsExtentsAndBothCases) {
  for (const auto& g : kFonts) {
    for (const auto& row : CharacterSet()) {
      SCOPED_TRACE("DrawText" + std::to_string(g.advance) + " " + row.name);
      const auto& want = CountsFor(row, g.advance);
      for (auto code : row.codes) {
        std::vector<int> counts;
        for (const auto* e : EntriesFor(g.advance, code)) counts.push_back(e->pixel_count);
        EXPECT_EQ(counts, want) << "entry pixel counts of byte " << int{code};
      }
      if (want.empty()) continue;

      const PixelSet pixels = StreamPixels(g.advance, row.codes[0]);
      const PixelSet drawn = DrawnAlone(g.advance, row.codes[0]);
      EXPECT_EQ(drawn, pixels) << "the renderer draws the stream's pixels";
      for (std::size_t i = 1; i < row.codes.size(); ++i)
        EXPECT_EQ(DrawnAlone(g.advance, row.codes[i]), drawn) << "lower case as upper case";

      const Rule rule = RuleFor(g, row);
      const Box b = Extents(pixels);
      EXPECT_GE(b.x1, rule.allowed.x1);
      EXPECT_GE(b.y1, rule.allowed.y1);
      EXPECT_LE(b.x2, rule.allowed.x2);
      EXPECT_LE(b.y2, rule.allowed.y2);
      for (auto [edge, at] : rule.reaches) {
        const int got = edge == 'l' ? b.x1 : edge == 't' ? b.y1 : edge == 'r' ? b.x2 : b.y2;
        EXPECT_EQ(got, at) << "edge " << edge;
      }
    }
  }
}

TEST(Fonts, BytesOutsideTheCharacterSetHaveNoGlyph) {
  for (const auto& g : kFonts) {
    std::set<int> expected, served;
    for (const auto& row : CharacterSet())
      if (!CountsFor(row, g.advance).empty()) expected.insert(row.codes.begin(), row.codes.end());
    for (const auto& e : data::FontGlyphs(g.advance)) served.insert(e.codes, e.codes + e.code_count);
    EXPECT_EQ(served, expected) << "DrawText" << g.advance;
  }
}

TEST(Fonts, RecordsAreSingleDigitsInReadingOrderWithoutRepeats) {
  std::set<std::string> names;
  for (const auto& g : kFonts) {
    for (const auto& e : data::FontGlyphs(g.advance)) {
      SCOPED_TRACE(std::string(e.name));
      EXPECT_TRUE(names.insert(std::string(e.name)).second) << "entry point names are unique";
      EXPECT_EQ(e.name.substr(0, 6), "text" + std::to_string(g.advance) + "_");
      const PixelList list = ReadRecord(e);
      for (auto [x, y] : list) {
        EXPECT_LE(x, 8);
        EXPECT_LE(y, 8);
      }
      auto by_rows = [](Pixel a, Pixel b) { return std::pair(a.second, a.first) < std::pair(b.second, b.first); };
      EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), by_rows));
      EXPECT_EQ(PixelSet(list.begin(), list.end()).size(), list.size());
    }
  }
}

// Two characters of a font never look the same, unless one entry serves both.
TEST(Fonts, DifferentCharactersLookDifferent) {
  for (const auto& g : kFonts) {
    std::map<PixelSet, std::string> seen;
    std::set<const data::GlyphEntry*> shared;
    for (const auto& row : CharacterSet()) {
      if (CountsFor(row, g.advance).empty()) continue;
      const auto entries = EntriesFor(g.advance, row.codes[0]);
      if (entries.size() == 1 && entries[0]->code_count == 4 && !shared.insert(entries[0]).second) continue;
      const auto [it, fresh] = seen.emplace(StreamPixels(g.advance, row.codes[0]), row.name);
      EXPECT_TRUE(fresh) << "DrawText" << g.advance << ": " << row.name << " looks like " << it->second;
    }
  }
}

TEST(Fonts, Text7AIsExactAndAAcuteAddsOnePixelInFront) {
  const PixelList a = {{3, 2}, {4, 2}, {5, 2}, {6, 2}, {2, 3}, {7, 3}, {2, 4}, {7, 4}, {2, 5},
                       {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {2, 6}, {7, 6}, {2, 7}, {7, 7}};
  ASSERT_EQ(EntriesFor(7, 0x41).size(), 1u);
  EXPECT_EQ(EntriesFor(7, 0x41)[0]->name, "text7_41_61");
  EXPECT_EQ(ReadRecord(*EntriesFor(7, 0x41)[0]), a);
  PixelList a_acute = {{5, 1}};
  a_acute.insert(a_acute.end(), a.begin(), a.end());
  ASSERT_EQ(EntriesFor(7, 0xE1).size(), 1u);
  EXPECT_EQ(ReadRecord(*EntriesFor(7, 0xE1)[0]), a_acute);
}

TEST(Fonts, Text8ColonAndMinusAreTwoEntries) {
  const auto colon = EntriesFor(8, ':');
  ASSERT_EQ(colon.size(), 2u);
  EXPECT_EQ(ReadRecord(*colon[0]), (PixelList{{4, 3}, {5, 3}, {4, 6}, {5, 6}}));
  EXPECT_EQ(ReadRecord(*colon[1]), (PixelList{{2, 4}, {2, 7}}));
  EXPECT_EQ(colon[1]->name, "text8_3a_2");

  const auto minus = EntriesFor(8, '-');
  ASSERT_EQ(minus.size(), 2u);
  const PixelList bar = {{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}};
  EXPECT_EQ(ReadRecord(*minus[0]), bar);
  EXPECT_EQ(ReadRecord(*minus[1]), bar);
}

TEST(Fonts, Text4SharesOneShapeForEAcuteAndCaronAndOneForUAcuteAndRing) {
  for (std::vector<std::uint8_t> codes : {std::vector<std::uint8_t>{0xC9, 0xE9, 0xCC, 0xEC}, {0xDA, 0xFA, 0xD9, 0xF9}}) {
    const auto entries = EntriesFor(4, codes[0]);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(std::vector<std::uint8_t>(entries[0]->codes, entries[0]->codes + entries[0]->code_count), codes);
  }
}

TEST(Fonts, Text4GraveIsAPlusSignOverABar) {
  const PixelSet s = StreamPixels(4, '`');
  const Box b = Extents(s);
  PixelSet bar, plus;
  for (auto p : s) (p.second == b.y2 ? bar : plus).insert(p);
  EXPECT_EQ(bar.size(), 3u) << "a bar across the cell at the bottom";
  ASSERT_EQ(plus.size(), 5u);
  const Box pb = Extents(plus);
  const int cx = (pb.x1 + pb.x2) / 2, cy = (pb.y1 + pb.y2) / 2;
  EXPECT_EQ(plus, (PixelSet{{cx, cy - 1}, {cx - 1, cy}, {cx, cy}, {cx + 1, cy}, {cx, cy + 1}}));
  EXPECT_LT(pb.y2 + 1, b.y2) << "a gap between the plus and the bar";
}

// ---- drawing ----

TEST_F(TextTest, TextMovesThePenByItsLengthAndLeavesTheRestAlone) {
  for (const auto& g : kFonts) {
    SetPen(kPenX, kPenY);
    SetColour(kInk);
    TextBuffer() = "A\x01Z";
    Draw(g.advance);
    EXPECT_EQ(ThePen().x, kPenX + 3 * g.advance);
    EXPECT_EQ(ThePen().y, kPenY);
    EXPECT_EQ(TextBuffer(), "A\x01Z");
    EXPECT_EQ(CurrentColour(), kInk);
  }
}

TEST_F(TextTest, ABlankInTheMiddleKeepsItsCell) {
  Text7(kPenX, kPenY, kInk, "A B");
  EXPECT_EQ(ThePen().x, kPenX + 21);
  PixelSet expected = StreamPixels(7, 'A');
  for (auto [x, y] : StreamPixels(7, 'B')) expected.insert({x + 14, y});
  EXPECT_EQ(InkNearPen(40), expected);
  EXPECT_EQ(CountInk(), static_cast<int>(expected.size()));
}

TEST_F(TextTest, Text8ColonSetsSixPixels) {
  Text8(kPenX, kPenY, kInk, ":");
  EXPECT_EQ(CountInk(), 6);
}

TEST_F(TextTest, EmptyTextDrawsNothing) {
  for (const auto& g : kFonts) {
    SetPen(kPenX, kPenY);
    TextBuffer().clear();
    SetColour(kInk);
    Draw(g.advance);
    EXPECT_EQ(ThePen().x, kPenX);
  }
  EXPECT_EQ(CountInk(), 0);
}

TEST_F(TextTest, LowerAndUpperCaseLinesDrawAlike) {
  const std::string upper = "BED\xC8\xC1P \xD8\xCDZE\xCC", lower = "bed\xE8\xE1p \xF8\xEDze\xEC";
  for (const auto& g : kFonts) {
    SetColour(0, 0);
    ClearScreen();
    SetPen(kPenX, kPenY), SetColour(kInk), TextBuffer() = upper, Draw(g.advance);
    const PixelSet a = InkNearPen(100);
    ClearScreen();
    SetPen(kPenX, kPenY), SetColour(kInk), TextBuffer() = lower, Draw(g.advance);
    EXPECT_EQ(InkNearPen(100), a);
    EXPECT_FALSE(a.empty());
  }
}

// ---- placing text ----

TEST(Centring, FormulasGiveTheScreensPositions) {
  EXPECT_EQ(CentreText8(10), 282);
  EXPECT_EQ(CentreDialog(10), 287);
  EXPECT_EQ(CentreText8(51), 118);
  EXPECT_EQ(CentreText7(10), 285);
  EXPECT_EQ(CentreLevelCard(7), 295);  // 294.83
  EXPECT_EQ(CentreAbout(30), 220);      // 220.000002
  EXPECT_EQ(CentreCredits(19), 253);    // 252.67
  EXPECT_EQ(CentreDialogNarrow(9), 292);
  // The status line's rule as written, nearest(322.333333 - 4n), agrees for
  // every length a byte can count.
  for (std::size_t n = 0; n <= 255; ++n)
    EXPECT_EQ(CentreText8(n), static_cast<int>(Nearest(322.333333 - 4.0 * static_cast<double>(n)))) << n;
}

TEST(Centring, NearestTakesHalvesToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0},
                                             {2.4999, 2}, {2.5001, 3}, {287.0, 287}, {-0.4, 0}};
  for (auto [in, out] : cases) EXPECT_EQ(Nearest(in), out) << in;
  EXPECT_EQ(Nearest(86.5L), 86.0L);
  EXPECT_EQ(Nearest(87.5f), 88.0f);
}

// ---- the system font ----

TEST(SystemFont, PasswordCharactersHaveDistinctGlyphs) {
  std::map<std::uint64_t, int> seen;  // a glyph's eight rows packed into one number
  std::vector<int> codes;
  for (int c = 0x30; c < 0x7A; ++c) codes.push_back(c);
  codes.push_back(0xAF);
  for (int c : codes) {
    std::uint64_t rows = 0;
    for (int r = 0; r < 8; ++r) rows = rows << 8 | SystemFontRow(static_cast<std::uint8_t>(c), r);
    EXPECT_NE(rows, 0u) << "byte " << c << " has a glyph";
    const auto [it, fresh] = seen.emplace(rows, c);
    EXPECT_TRUE(fresh) << "byte " << c << " looks like byte " << it->second;
  }
  for (int r = 0; r < 8; ++r) {
    EXPECT_EQ(SystemFontRow(' ', r), 0);
    EXPECT_EQ(SystemFontRow(0x00, r), 0);
  }
  EXPECT_EQ(SystemFontRow('A', -1), 0);
  EXPECT_EQ(SystemFontRow('A', 8), 0);
}

TEST_F(TextTest, SystemTextDrawsTheFontsSetPixels) {
  DrawSystemText(0, 0, "");  // nothing
  SetColour(kInk);
  DrawSystemText(kPenX, kPenY, "\xAF" "7");
  PixelSet expected;
  for (int i = 0; i < 2; ++i)
    for (int r = 0; r < 8; ++r)
      for (int col = 0; col < 8; ++col)
        if (SystemFontRow(i == 0 ? 0xAF : '7', r) & (0x80 >> col)) expected.insert({8 * i + col, r});
  EXPECT_EQ(InkNearPen(), expected);
}

}  // namespace
}  // namespace qb
