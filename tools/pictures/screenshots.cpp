// The two screens of the old home-computer version shown on the about screen:
// 256 x 192 pixels in that machine's few colours, lettering in 8 x 8 cells.
#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>
#include <string>

#include "tools/pictures/picture_set.h"

namespace qb::pictures {

namespace {

using qb::tools::Image;

// The old machine's colours.
constexpr std::uint32_t kBlack = 0xFF000000, kBlue = 0xFF0000C8, kRed = 0xFFC80000, kMagenta = 0xFFC800C8,
                        kCyanOld = 0xFF00C8C8, kYellow = 0xFFC8C800, kWhite = 0xFFC8C8C8,
                        kBrightMagenta = 0xFFF800F8, kBrightWhite = 0xFFF8F8F8;

using Rows = std::array<const char*, 7>;

// The lettering: seven rows of seven columns; the eighth row and column stay empty.
const std::map<char, Rows>& Font() {
  static const std::map<char, Rows> font = {
      {'A', {".#####.", "##...##", "##...##", "#######", "##...##", "##...##", "##...##"}},
      {'B', {"######.", "##...##", "##...##", "######.", "##...##", "##...##", "######."}},
      {'C', {".#####.", "##...##", "##.....", "##.....", "##.....", "##...##", ".#####."}},
      {'D', {"#####..", "##..##.", "##...##", "##...##", "##...##", "##..##.", "#####.."}},
      {'E', {"#######", "##.....", "##.....", "######.", "##.....", "##.....", "#######"}},
      {'F', {"#######", "##.....", "##.....", "######.", "##.....", "##.....", "##....."}},
      {'G', {".#####.", "##...##", "##.....", "##.####", "##...##", "##...##", ".#####."}},
      {'H', {"##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##"}},
      {'I', {"######.", "..##...", "..##...", "..##...", "..##...", "..##...", "######."}},
      {'J', {"....###", ".....##", ".....##", ".....##", "##...##", "##...##", ".#####."}},
      {'K', {"##...##", "##..##.", "##.##..", "####...", "##.##..", "##..##.", "##...##"}},
      {'L', {"##.....", "##.....", "##.....", "##.....", "##.....", "##.....", "#######"}},
      {'M', {"##...##", "###.###", "#######", "##.#.##", "##...##", "##...##", "##...##"}},
      {'N', {"##...##", "###..##", "####.##", "##.####", "##..###", "##...##", "##...##"}},
      {'O', {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", ".#####."}},
      {'P', {"######.", "##...##", "##...##", "######.", "##.....", "##.....", "##....."}},
      {'Q', {".#####.", "##...##", "##...##", "##...##", "##.#.##", "##..##.", ".###.##"}},
      {'R', {"######.", "##...##", "##...##", "######.", "##.##..", "##..##.", "##...##"}},
      {'S', {".#####.", "##...##", "##.....", ".#####.", ".....##", "##...##", ".#####."}},
      {'T', {"######.", "..##...", "..##...", "..##...", "..##...", "..##...", "..##..."}},
      {'U', {"##...##", "##...##", "##...##", "##...##", "##...##", "##...##", ".#####."}},
      {'V', {"##...##", "##...##", "##...##", "##...##", ".##.##.", "..###..", "...#..."}},
      {'W', {"##...##", "##...##", "##...##", "##.#.##", "#######", "###.###", "##...##"}},
      {'X', {"##...##", "##...##", ".##.##.", "..###..", ".##.##.", "##...##", "##...##"}},
      {'Y', {"##..##.", "##..##.", "##..##.", ".####..", "..##...", "..##...", "..##..."}},
      {'Z', {"#######", "....##.", "...##..", "..##...", ".##....", "##.....", "#######"}},
      {'0', {".#####.", "##..###", "##.#.##", "##.#.##", "##.#.##", "###..##", ".#####."}},
      {'1', {"..##...", ".###...", "..##...", "..##...", "..##...", "..##...", "######."}},
      {'2', {".#####.", "##...##", ".....##", "..####.", ".##....", "##.....", "#######"}},
      {'3', {".#####.", "##...##", ".....##", "..####.", ".....##", "##...##", ".#####."}},
      {'4', {"...###.", "..####.", ".##.##.", "##..##.", "#######", "....##.", "....##."}},
      {'5', {"#######", "##.....", "######.", ".....##", ".....##", "##...##", ".#####."}},
      {'6', {".#####.", "##.....", "##.....", "######.", "##...##", "##...##", ".#####."}},
      {'7', {"#######", ".....##", "....##.", "...##..", "..##...", "..##...", "..##..."}},
      {'8', {".#####.", "##...##", "##...##", ".#####.", "##...##", "##...##", ".#####."}},
      {'9', {".#####.", "##...##", "##...##", ".######", ".....##", ".....##", ".#####."}},
      {':', {".......", "..##...", "..##...", ".......", "..##...", "..##...", "......."}},
      {'-', {".......", ".......", ".......", ".#####.", ".......", ".......", "......."}},
      {'.', {".......", ".......", ".......", ".......", ".......", "..##...", "..##..."}},
      {'!', {"..##...", "..##...", "..##...", "..##...", "..##...", ".......", "..##..."}},
      {' ', {".......", ".......", ".......", ".......", ".......", ".......", "......."}},
  };
  return font;
}

class Screen {
 public:
  Screen() {
    img_.width = 256;
    img_.height = 192;
    img_.pixels.assign(256 * 192, kBlack);
  }
  void Set(int x, int y, std::uint32_t c) {
    if (x >= 0 && x < 256 && y >= 0 && y < 192) img_.at(x, y) = c;
  }
  void Fill(int x, int y, int w, int h, std::uint32_t c) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) Set(x + i, y + j, c);
  }
  // Text in character cells: column and row count in cells of 8 x 8.
  void Text(int col, int row, const std::string& s, std::uint32_t ink) { TextAt(col * 8, row * 8, s, ink); }
  void TextAt(int x, int y, const std::string& s, std::uint32_t ink) {
    for (std::size_t k = 0; k < s.size(); ++k) Glyph(x + static_cast<int>(k) * 8, y, s[k], 1, 1, ink, ink);
  }
  // Text twice as large; the upper and lower halves may differ in colour.
  void BigText(int x, int y, const std::string& s, std::uint32_t upper, std::uint32_t lower) {
    for (std::size_t k = 0; k < s.size(); ++k) Glyph(x + static_cast<int>(k) * 16, y, s[k], 2, 2, upper, lower);
  }
  // A 16 x 16 picture from rows of letters, each letter a colour.
  void Tile(int x, int y, const std::array<const char*, 16>& rows, const std::map<char, std::uint32_t>& colours) {
    for (int j = 0; j < 16; ++j)
      for (int i = 0; i < 16; ++i) {
        const char ch = rows[j][i];
        if (ch == '.') continue;
        Set(x + i, y + j, colours.at(ch));
      }
  }
  Image& image() { return img_; }

 private:
  void Glyph(int x, int y, char ch, int sx, int sy, std::uint32_t upper, std::uint32_t lower) {
    const auto it = Font().find(ch);
    if (it == Font().end()) throw std::runtime_error(std::string("no glyph for ") + ch);
    for (int j = 0; j < 7; ++j)
      for (int i = 0; i < 7; ++i)
        if (it->second[j][i] == '#')
          for (int b = 0; b < sy; ++b)
            for (int a = 0; a < sx; ++a) Set(x + i * sx + a, y + j * sy + b, j * sy + b < 4 * sy ? upper : lower);
  }
  Image img_;
};

// ---- the tiles of the old game, 16 x 16 ----

const std::array<const char*, 16> kOldWall = {
    "MMMMMMMpMMMMMMMp", "MMMMMMMpMMMMMMMp", "MMMMMMMpMMMMMMMp", "ppppppppppppppp.",
    "MMMpMMMMMMMpMMMM", "MMMpMMMMMMMpMMMM", "MMMpMMMMMMMpMMMM", "pppppppppppppppp",
    "MMMMMMMpMMMMMMMp", "MMMMMMMpMMMMMMMp", "MMMMMMMpMMMMMMMp", "pppppppppppppppp",
    "MMMpMMMMMMMpMMMM", "MMMpMMMMMMMpMMMM", "MMMpMMMMMMMpMMMM", "p.pppppppppppppp",
};
const std::array<const char*, 16> kOldBox = {
    "................", ".WWWWWWWWWWWWWW.", ".W............W.", ".W.WWWWWWWWWW.W.",
    ".W.WW......WW.W.", ".W.W.W....W.W.W.", ".W.W..W..W..W.W.", ".W.W...WW...W.W.",
    ".W.W...WW...W.W.", ".W.W..W..W..W.W.", ".W.W.W....W.W.W.", ".W.WW......WW.W.",
    ".W.WWWWWWWWWW.W.", ".W............W.", ".WWWWWWWWWWWWWW.", "................",
};
const std::array<const char*, 16> kOldTarget = {
    "................", "................", "................", "................",
    ".......C........", "......C.C.......", ".....C...C......", "....C..C..C.....",
    ".....C...C......", "......C.C.......", ".......C........", "................",
    "................", "................", "................", "................",
};
const std::array<const char*, 16> kOldFigure = {
    "......WWW.......", ".....WWWWW......", ".....W.W.W......", ".....WWWWW......",
    "......WWW.......", "...CCCCCCCCC....", "..CCCCCCCCCCC...", "..CC.CCCCC.CC...",
    "..WW.CCCCC.WW...", ".....CCCCC......", ".....BB.BB......", ".....BB.BB......",
    ".....BB.BB......", ".....BB.BB......", "....WWW.WWW.....", "................",
};

const std::map<char, std::uint32_t> kOldColours = {
    {'M', kBrightMagenta}, {'p', kMagenta}, {'W', kBrightWhite}, {'C', kCyanOld}, {'B', kBlue}, {'K', kBlack}};

Image DrawScreenshotInfo() {
  Screen s;
  // A frame of bricks round the screen.
  for (int x = 0; x < 256; x += 16) {
    s.Tile(x, 0, kOldWall, kOldColours);
    s.Tile(x, 176, kOldWall, kOldColours);
  }
  for (int y = 16; y < 176; y += 16) {
    s.Tile(0, y, kOldWall, kOldColours);
    s.Tile(240, y, kOldWall, kOldColours);
  }
  s.BigText(40, 24, "QUIZZLE BOX", kYellow, kRed);
  s.Fill(16, 48, 224, 2, kBlue);
  s.Text(12, 8, "LEVEL 01", kBrightWhite);
  s.Text(5, 10, "GET READY FOR TAKE OFF", kCyanOld);
  s.Text(9, 13, "SCORE 000000", kYellow);
  s.Text(9, 14, "BONUS  25000", kWhite);
  // The cast of the game.
  s.Tile(72, 128, kOldFigure, kOldColours);
  s.Tile(96, 128, kOldBox, kOldColours);
  s.Tile(120, 128, kOldTarget, kOldColours);
  s.Tile(144, 128, kOldWall, kOldColours);
  s.Fill(16, 152, 224, 16, kBlue);
  s.Text(9, 19, "PRESS ANY KEY", kWhite);
  s.Text(22, 19, "!", kBrightMagenta);
  return s.image();
}

// A room of the old game, partly solved.
const char* const kOldLevel[] = {
    "0000111111100000",  //
    "0000100000100000",  //
    "0111103330111110",  //
    "0100002000000010",  //
    "0101011011110010",  //
    "0100000000010110",  //
    "0111104440000100",  //
    "0000100500110100",  //
    "0000111101000100",  //
    "0000000111111100",  //
    "0000000000000000",  //
};

Image DrawScreenshotPlay() {
  Screen s;
  s.Fill(0, 0, 256, 16, kBlue);
  s.TextAt(4, 4, "LEVEL 01  STEPS 0012  TIME 0087", kBrightWhite);
  for (int r = 0; r < 11; ++r)
    for (int c = 0; c < 16; ++c) {
      const int x = c * 16, y = 16 + r * 16;
      switch (kOldLevel[r][c]) {
        case '1': s.Tile(x, y, kOldWall, kOldColours); break;
        case '2': s.Tile(x, y, kOldFigure, kOldColours); break;
        case '3': s.Tile(x, y, kOldBox, kOldColours); break;
        case '4': s.Tile(x, y, kOldTarget, kOldColours); break;
        case '5': {
          // A box on its place turns cyan.
          std::map<char, std::uint32_t> done = kOldColours;
          done['W'] = kCyanOld;
          s.Tile(x, y, kOldBox, done);
          break;
        }
        default: break;
      }
    }
  return s.image();
}

Image Checked(Image img, std::initializer_list<std::uint32_t> palette) {
  // Every pixel in the palette, every palette colour used.
  const Counts counts = Measure(img, std::nullopt);
  for (auto p : img.pixels)
    if (std::find(palette.begin(), palette.end(), p) == palette.end())
      throw std::runtime_error("screenshot pixel outside its palette");
  if (counts.colours != static_cast<int>(palette.size())) throw std::runtime_error("screenshot leaves colours unused");
  return img;
}

}  // namespace

std::vector<PictureJob> ScreenshotJobs() {
  return {
      {"PicScreenshotInfo",
       [] {
         return Checked(DrawScreenshotInfo(), {kCyanOld, kBlack, kYellow, kBlue, kMagenta, kBrightWhite, kRed,
                                               kBrightMagenta, kWhite});
       }},
      {"PicScreenshotPlay",
       [] { return Checked(DrawScreenshotPlay(), {kCyanOld, kBlack, kMagenta, kBrightMagenta, kBrightWhite, kBlue}); }},
  };
}

}  // namespace qb::pictures
