#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gfx/pen.h"
#include "gfx/pictures.h"
#include "headless_fixture.h"
#include "shell/menu_frame.h"

namespace qb {
namespace {

using testing::HeadlessTest;
using PicturesTest = HeadlessTest;

constexpr Colour kCyan = 0xFF00BEBE, kPanel = 0xFFBBBB01, kDialog = 0xFFA7A700;
constexpr float kPenX = 300, kPenY = 200;  // room for the largest picture

// What a drawing operation set on the surface, as offsets from the pen, row by row.
struct Drawn {
  std::vector<PicturePixel> pixels;
  std::map<std::pair<int, int>, Colour> at;
};

// Draws over two different fillings: a pixel is drawn where both runs agree.
Drawn DrawnBy(void (*draw)(), float pen_x = kPenX, float pen_y = kPenY) {
  const int x0 = static_cast<int>(pen_x), y0 = static_cast<int>(pen_y);
  auto run = [&](Colour fill) {
    FillBox(0, 0, kSurfaceWidth - 1, kSurfaceHeight - 1, fill);
    SetPen(pen_x, pen_y);
    draw();
    std::vector<Colour> out;
    for (int y = 0; y < 260; ++y)
      for (int x = 0; x < 300; ++x) out.push_back(GetPixel(x0 + x, y0 + y));
    return out;
  };
  const auto a = run(0xFF010203), b = run(0xFF040506);
  Drawn d;
  for (int y = 0; y < 260; ++y)
    for (int x = 0; x < 300; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * 300 + x;
      if (a[i] != b[i]) continue;
      d.pixels.push_back({static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), a[i]});
      d.at[{x, y}] = a[i];
    }
  return d;
}

const PictureEntry& Entry(std::string_view name) {
  for (const auto& e : AllPictures())
    if (e.data.name == name) return e;
  ADD_FAILURE() << "no picture " << name;
  return AllPictures()[0];
}

struct Expected {
  std::string_view name;
  int x0, y0, w, h;  // the drawn rectangle: first offset and size
  int pixels;
  int colours;  // 0: not fixed (the mosaic frames follow from the figure)
  std::optional<Colour> background;
  int background_pixels = -1;
};

const Expected kTable[] = {
    {"PicWall", 1, 1, 38, 38, 1440, 1237, {}},
    {"PicTarget", 0, 0, 40, 39, 1560, 426, kCyan},
    {"PicBox", 0, 0, 39, 40, 1560, 1058, kCyan, 197},
    {"PicFigure", 0, 0, 32, 40, 1280, 950, kCyan},
    {"PicBoxOnTarget", 0, 0, 40, 39, 1560, 1034, kCyan},
    {"PicFloor", 0, 0, 40, 40, 1600, 1, kCyan, 1600},
    {"PicMosaic1", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic2", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic3", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic4", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic5", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic6", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic7", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic8", 0, 0, 32, 40, 1280, 0, {}},
    {"PicMosaic9", 0, 0, 32, 40, 1280, 0, {}},
    {"PicPointer", 0, 0, 25, 18, 450, 253, kPanel},
    {"PicArrowKeys", 0, 0, 55, 36, 1980, 704, kCyan},
    {"PicKeyF1", 0, 0, 30, 27, 810, 604, kCyan},
    {"PicKeyF5", 0, 0, 30, 27, 810, 605, kCyan},
    {"PicKeyP", 0, 0, 30, 27, 810, 591, kCyan},
    {"PicKeyPlus", 0, 0, 30, 27, 810, 595, kCyan},
    {"PicKeyB", 0, 0, 30, 27, 810, 602, kCyan},
    {"PicKeyL", 0, 0, 30, 27, 810, 548, kCyan},
    {"PicKeyS", 0, 0, 30, 27, 810, 552, kCyan},
    {"PicQuestionA", 0, 0, 30, 30, 900, 720, kCyan},
    {"PicQuestionB", 0, 0, 30, 30, 900, 720, kCyan},
    {"PicArrowRight", 0, 0, 24, 20, 480, 209, kCyan},
    {"PicArrowBent", 0, 0, 21, 24, 504, 230, kCyan},
    {"PicTick", 0, 0, 29, 23, 667, 30, kCyan},
    {"PicForbidden", 0, 0, 26, 26, 676, 542, kCyan},
    {"PicCupA", 0, 0, 40, 40, 1600, 702, kPanel},
    {"PicCupB", 0, 0, 40, 40, 1600, 702, kPanel},
    {"PicCoins", 0, 0, 32, 32, 1024, 492, kDialog},
    {"PicFloppy", 0, 0, 39, 39, 1521, 829, kDialog},
    {"PicWarning", 0, 0, 28, 28, 784, 434, kDialog},
    {"PicSkipLevel", 0, 0, 28, 28, 784, 511, kDialog},
    {"PicTakeBack", 0, 0, 32, 32, 1024, 283, kDialog},
    {"PicHearts", 0, 0, 45, 45, 2025, 515, kDialog, 1284},
    {"PicDevil", 0, 0, 32, 32, 1024, 595, kDialog},
    {"PicScreenshotInfo", 0, 0, 256, 192, 49152, 9, {}},
    {"PicScreenshotPlay", 0, 0, 256, 192, 49152, 6, {}},
};

TEST(PictureTable, NamesEveryPictureOnce) {
  std::set<std::string_view> names;
  for (const auto& e : AllPictures()) EXPECT_TRUE(names.insert(e.data.name).second) << e.data.name;
  std::set<std::string_view> expected;
  for (const auto& x : kTable) expected.insert(x.name);
  EXPECT_EQ(names, expected);
}

TEST_F(PicturesTest, EachPictureDrawsItsRectangleWithItsCounts) {
  for (const Expected& x : kTable) {
    SCOPED_TRACE(std::string(x.name));
    const PictureEntry& e = Entry(x.name);
    const Drawn d = DrawnBy(e.draw);
    // Exactly the rectangle, less the wall's four corner pixels.
    std::set<std::pair<int, int>> cells;
    for (int y = x.y0; y < x.y0 + x.h; ++y)
      for (int xx = x.x0; xx < x.x0 + x.w; ++xx) cells.insert({xx, y});
    if (x.name == "PicWall")
      for (auto p : {std::pair{1, 1}, {1, 2}, {38, 1}, {38, 2}}) cells.erase(p);
    std::set<std::pair<int, int>> drawn;
    for (const auto& [at, c] : d.at) drawn.insert(at);
    EXPECT_EQ(drawn, cells);
    EXPECT_EQ(static_cast<int>(d.pixels.size()), x.pixels);

    std::map<Colour, int> colours;
    for (const auto& p : d.pixels) ++colours[p.colour];
    if (x.colours) {
      EXPECT_EQ(static_cast<int>(colours.size()), x.colours);
    }
    if (x.background) {
      // The empty pixels: the most frequent colour.
      const auto most = std::max_element(colours.begin(), colours.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
      EXPECT_EQ(most->first, *x.background);
      if (x.background_pixels >= 0) {
        EXPECT_EQ(colours[*x.background], x.background_pixels);
      }
    }
    for (const auto& p : d.pixels) EXPECT_EQ(p.colour >> 24, 0xFFu);

    // The table's pixel list is what the drawing sets, in the same order.
    const PictureData& data = e.data;
    ASSERT_EQ(data.pixels.size(), d.pixels.size());
    for (std::size_t i = 0; i < d.pixels.size(); ++i) {
      EXPECT_EQ(data.pixels[i].dx, d.pixels[i].dx);
      EXPECT_EQ(data.pixels[i].dy, d.pixels[i].dy);
      EXPECT_EQ(data.pixels[i].colour, d.pixels[i].colour);
    }
  }
}

TEST_F(PicturesTest, DrawingLeavesThePenAndIsCutAtTheSurfaceEdges) {
  // The pen at (688.5, 470.5) places offset (0, 0) on pixel (689, 471): a
  // picture hanging over the right and bottom edges keeps its on-surface
  // pixels and wraps nothing onto the left edge or the top rows.
  constexpr Colour kUnder = 0xFF102030;
  for (const auto& e : AllPictures()) {
    SCOPED_TRACE(std::string(e.data.name));
    FillBox(0, 0, kSurfaceWidth - 1, kSurfaceHeight - 1, kUnder);
    SetPen(688.5f, 470.5f);
    e.draw();
    EXPECT_EQ(ThePen().x, 688.5f);
    EXPECT_EQ(ThePen().y, 470.5f);
    int expected_changes = 0;
    for (const auto& p : e.data.pixels) {
      const int x = 689 + p.dx, y = 471 + p.dy;
      if (x >= kSurfaceWidth || y >= kSurfaceHeight) continue;
      EXPECT_EQ(GetPixel(x, y), p.colour) << x << "," << y;
      expected_changes += p.colour != kUnder;
    }
    EXPECT_EQ(kSurfaceWidth * kSurfaceHeight - CountColour(kUnder), expected_changes);
  }
}

TEST_F(PicturesTest, WallLeavesTheCellRingAndTwoTopCornersAsTheyWere) {
  constexpr Colour kUnder = 0xFF0A0B0C;
  FillBox(0, 0, 100, 100, kUnder);
  SetPen(5, 5);
  PicWall();
  for (int i = 5; i <= 44; ++i) {
    EXPECT_EQ(GetPixel(5, i), kUnder) << i;
    EXPECT_EQ(GetPixel(i, 5), kUnder) << i;
    EXPECT_EQ(GetPixel(44, i), kUnder) << i;
    EXPECT_EQ(GetPixel(i, 44), kUnder) << i;
  }
  for (auto [x, y] : {std::pair{6, 6}, {6, 7}, {43, 6}, {43, 7}}) EXPECT_EQ(GetPixel(x, y), kUnder) << x << "," << y;
  EXPECT_NE(GetPixel(6, 8), kUnder);
  EXPECT_NE(GetPixel(43, 43), kUnder);
}

// The appearance animation's rule, computed here from the figure as drawn.
TEST_F(PicturesTest, MosaicFramesAreBlockMeansOfTheFigure) {
  const Drawn figure = DrawnBy(PicFigure);
  auto fig = [&](int x, int y) { return figure.at.at({x, y}); };
  void (*frames[])() = {PicMosaic1, PicMosaic2, PicMosaic3, PicMosaic4, PicMosaic5,
                        PicMosaic6, PicMosaic7, PicMosaic8, PicMosaic9};
  for (int k = 1; k <= 9; ++k) {
    SCOPED_TRACE(k);
    const Drawn frame = DrawnBy(frames[k - 1]);
    const int side = 11 - k;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 32; ++x) {
        const int bx = x / side * side, by = y / side * side;
        unsigned r = 0, g = 0, b = 0, n = 0;
        for (int j = by; j < std::min(by + side, 40); ++j)
          for (int i = bx; i < std::min(bx + side, 32); ++i, ++n) {
            r += (fig(i, j) >> 16) & 0xFF;
            g += (fig(i, j) >> 8) & 0xFF;
            b += fig(i, j) & 0xFF;
          }
        ASSERT_EQ(frame.at.at({x, y}), 0xFF000000u | (r / n) << 16 | (g / n) << 8 | (b / n)) << x << "," << y;
      }
  }
}

TEST_F(PicturesTest, FirstMosaicFrameEndsInBlocksTwoPixelsWide) {
  const Drawn figure = DrawnBy(PicFigure);
  const Drawn frame = DrawnBy(PicMosaic1);
  unsigned r = 0, g = 0, b = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 30; x < 32; ++x) {
      const Colour c = figure.at.at({x, y});
      r += (c >> 16) & 0xFF, g += (c >> 8) & 0xFF, b += c & 0xFF;
    }
  const Colour mean = 0xFF000000u | (r / 20) << 16 | (g / 20) << 8 | (b / 20);
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(frame.at.at({30, y}), mean);
    EXPECT_EQ(frame.at.at({31, y}), mean);
  }
  // The last full block ends at column 29 and is painted as one.
  EXPECT_EQ(frame.at.at({20, 0}), frame.at.at({29, 9}));
}

TEST_F(PicturesTest, QuestionBIsTheMirrorOfQuestionA) {
  const Drawn a = DrawnBy(PicQuestionA), b = DrawnBy(PicQuestionB);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(b.at.at({x, y}), a.at.at({29 - x, y})) << x << "," << y;
  EXPECT_NE(a.at, b.at);
}

TEST_F(PicturesTest, SecondCupDiffersInTheSteamRowsOnly) {
  const Drawn a = DrawnBy(PicCupA), b = DrawnBy(PicCupB);
  int steam_differs = 0;
  for (const auto& [at, c] : a.at) {
    if (at.second >= 12) {
      EXPECT_EQ(b.at.at(at), c) << at.first << "," << at.second;
    } else {
      steam_differs += b.at.at(at) != c;
    }
  }
  EXPECT_GT(steam_differs, 0);
}

TEST_F(PicturesTest, ScreenshotsUseTheirPalettesWhole) {
  const std::pair<void (*)(), std::set<Colour>> cases[] = {
      {PicScreenshotInfo,
       {0xFF00C8C8, 0xFF000000, 0xFFC8C800, 0xFF0000C8, 0xFFC800C8, 0xFFF8F8F8, 0xFFC80000, 0xFFF800F8, 0xFFC8C8C8}},
      {PicScreenshotPlay, {0xFF00C8C8, 0xFF000000, 0xFFC800C8, 0xFFF800F8, 0xFFF8F8F8, 0xFF0000C8}},
  };
  for (const auto& [draw, palette] : cases) {
    std::set<Colour> used;
    for (const auto& p : DrawnBy(draw).pixels) used.insert(p.colour);
    EXPECT_EQ(used, palette);
  }
}

TEST_F(PicturesTest, ErasePointerCoversThePointerAndOneMoreColumnAndRow) {
  constexpr Colour kUnder = 0xFF0A0B0C;
  FillBox(0, 0, kSurfaceWidth - 1, kSurfaceHeight - 1, kUnder);
  SetPen(394, 167);
  PicPointer();
  ErasePointer();
  EXPECT_EQ(ThePen().x, 394.f);
  EXPECT_EQ(ThePen().y, 167.f);
  for (int y = 150; y < 200; ++y)
    for (int x = 380; x < 440; ++x) {
      const bool inside = x >= 394 && x <= 419 && y >= 167 && y <= 185;
      ASSERT_EQ(GetPixel(x, y), inside ? kPanel : kUnder) << x << "," << y;
    }
}

}  // namespace
}  // namespace qb
