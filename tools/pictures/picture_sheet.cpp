// The contact sheet of the game's pictures: every picture at twice its size on
// the surface it is meant for, named below, and a few board cells built from
// the tiles at their real size. Reads the pictures as built into the game.
//
//   qb_picture_sheet OUT.png
#include <algorithm>
#include <iostream>
#include <map>
#include <string>

#include "gfx/pictures.h"
#include "gfx/system_font.h"
#include "tools/png_io.h"

namespace {

using qb::tools::Image;

constexpr std::uint32_t kSheet = 0xFFE8E8E4, kInk = 0xFF202020, kFrame = 0xFF9A9A9A;
constexpr std::uint32_t kCyan = 0xFF00BEBE, kPanel = 0xFFBBBB01, kDialog = 0xFFA7A700;
constexpr int kScale = 2, kPad = 6, kGap = 14, kSheetWidth = 1180;

void Put(Image& img, int x, int y, std::uint32_t c) {
  if (x >= 0 && y >= 0 && x < img.width && y < img.height) img.at(x, y) = c;
}

void Text(Image& img, int x, int y, const std::string& s, std::uint32_t c) {
  for (std::size_t k = 0; k < s.size(); ++k)
    for (int row = 0; row < 8; ++row) {
      const std::uint8_t bits = qb::SystemFontRow(static_cast<std::uint8_t>(s[k]), row);
      for (int col = 0; col < 8; ++col)
        if (bits & (0x80 >> col)) Put(img, x + static_cast<int>(k) * 8 + col, y + row, c);
    }
}

// The surface a picture is made for: the colour most of its pixels carry when
// that is one of the game's backgrounds; the board for the wall and the
// figure's mosaic frames.
std::uint32_t SurfaceOf(const qb::PictureData& p) {
  if (p.name.starts_with("PicMosaic")) return kCyan;
  std::map<std::uint32_t, int> count;
  for (const auto& px : p.pixels) ++count[px.colour];
  const auto most = std::max_element(count.begin(), count.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  if (most != count.end() && (most->first == kCyan || most->first == kPanel || most->first == kDialog))
    return most->first;
  return static_cast<int>(p.pixels.size()) < p.width * p.height ? kCyan : kFrame;
}

void Blit(Image& img, const qb::PictureData& p, int x, int y, int scale) {
  for (const auto& px : p.pixels)
    for (int j = 0; j < scale; ++j)
      for (int i = 0; i < scale; ++i) Put(img, x + px.dx * scale + i, y + px.dy * scale + j, px.colour);
}

// A few cells of a board, drawn as the game draws them: floor colour first,
// then each cell's picture at the cell's corner.
constexpr const char* kBoard[] = {
    "1111111111111", "1000110000041", "1034010300001", "1005000020111",
    "1100033300001", "1000044050001", "1111111111111",
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: qb_picture_sheet OUT.png\n";
    return 2;
  }
  // Lay the pictures out in rows.
  struct Cell {
    const qb::PictureEntry* entry;
    int x, y, w, h;
  };
  std::vector<Cell> cells;
  int x = kGap, y = 34, row_h = 0;
  for (const auto& e : qb::AllPictures()) {
    const auto& p = e.data;
    const int w = std::max(p.width * kScale + 2 * kPad, static_cast<int>(p.name.size()) * 8);
    const int h = p.height * kScale + 2 * kPad + 14;
    if (x + w > kSheetWidth - kGap) {
      x = kGap;
      y += row_h + kGap;
      row_h = 0;
    }
    cells.push_back({&e, x, y, w, h});
    x += w + kGap;
    row_h = std::max(row_h, h);
  }
  const int board_rows = static_cast<int>(std::size(kBoard));
  const int board_cols = static_cast<int>(std::string(kBoard[0]).size());
  const int board_y = y + row_h + kGap + 18;
  Image img;
  img.width = kSheetWidth;
  img.height = board_y + board_rows * 80 + kGap;
  img.pixels.assign(static_cast<std::size_t>(img.width) * img.height, kSheet);
  Text(img, kGap, 12, "QUIZZLEBOX pictures, twice their size, on the surface each is drawn on", kInk);

  for (const Cell& c : cells) {
    const auto& p = c.entry->data;
    const std::uint32_t surface = SurfaceOf(p);
    const int bw = p.width * kScale + 2 * kPad, bh = p.height * kScale + 2 * kPad;
    for (int j = 0; j < bh; ++j)
      for (int i = 0; i < bw; ++i) Put(img, c.x + i, c.y + j, surface);
    Blit(img, p, c.x + kPad, c.y + kPad, kScale);
    Text(img, c.x, c.y + bh + 4, std::string(c.entry->data.name), kInk);
  }

  // The board sample at the game's size.
  Text(img, kGap, board_y - 16, "A board built from the tiles, at their real size", kInk);
  const char* tile[] = {"PicFloor", "PicWall", "PicFigure", "PicBox", "PicTarget", "PicBoxOnTarget"};
  for (int j = 0; j <= board_rows * 40; ++j)
    for (int i = 0; i <= board_cols * 40; ++i) Put(img, kGap + i, board_y + j, kCyan);
  for (int r = 0; r < board_rows; ++r)
    for (int c = 0; c < board_cols; ++c) {
      const int code = kBoard[r][c] - '0';
      if (code == 0) continue;
      if (const auto* p = qb::PicturePixels(tile[code])) Blit(img, *p, kGap + c * 40, board_y + r * 40, 1);
    }
  // And the same cells twice as large, beside it.
  const int bx = kGap + board_cols * 40 + 24;
  const int cols2 = std::min(board_cols, (kSheetWidth - bx - kGap) / 80);
  for (int j = 0; j < board_rows * 40; ++j)
    for (int i = 0; i < cols2 * 40; ++i) {
      const std::uint32_t c = img.at(kGap + i, board_y + j);
      for (int b = 0; b < 2; ++b)
        for (int a = 0; a < 2; ++a) Put(img, bx + 2 * i + a, board_y + 2 * j + b, c);
    }
  try {
    qb::tools::WritePng(argv[1], img);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
