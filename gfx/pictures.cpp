#include "gfx/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx/pen.h"
#include "gfx/pixel_buffer.h"
#include "gfx/stored_pictures.h"
#include "gfx/surface.h"

namespace qb {

namespace {

// A picture as runs of pixels next to each other on one row: drawn at a
// whole-pixel position that keeps it on the surface, each run is one store of
// a row span.
struct Run {
  int dx, dy, count;
  std::size_t first;  // index of its first colour
};
struct Runs {
  std::vector<Run> runs;
  std::vector<Colour> colours;
};

Runs RunsOf(const PictureData& picture) {
  Runs r;
  for (const PicturePixel& p : picture.pixels) {
    if (r.runs.empty() || r.runs.back().dy != p.dy || r.runs.back().dx + r.runs.back().count != p.dx)
      r.runs.push_back({p.dx, p.dy, 0, r.colours.size()});
    ++r.runs.back().count;
    r.colours.push_back(p.colour);
  }
  return r;
}

// The runs of every built-in picture, worked out at the first draw.
const Runs& StoredRuns(stored::Picture picture) {
  static const std::vector<Runs> all = [] {
    std::vector<Runs> r;
    for (const PictureData& p : stored::kPictures) r.push_back(RunsOf(p));
    return r;
  }();
  return all[picture];
}

void Draw(const PictureData& picture, const Runs& runs) {
  const Pen pen = ThePen();
  // At a whole-pixel pen position, where the game puts every picture, each
  // pixel lands at a fixed offset: store it directly, cut to the surface.
  if (pen.x == std::trunc(pen.x) && pen.y == std::trunc(pen.y) && std::abs(pen.x) < 1e6f && std::abs(pen.y) < 1e6f) {
    const int x0 = static_cast<int>(pen.x), y0 = static_cast<int>(pen.y);
    PixelBuffer& buffer = Pixels();
    if (x0 >= 0 && y0 >= 0 && x0 + picture.width <= kSurfaceWidth && y0 + picture.height <= kSurfaceHeight) {
      for (const Run& run : runs.runs)
        buffer.StoreSpan(x0 + run.dx, y0 + run.dy, &runs.colours[run.first], run.count);
      return;
    }
    for (const PicturePixel& p : picture.pixels) {
      const int x = x0 + p.dx, y = y0 + p.dy;
      if (x >= 0 && x < kSurfaceWidth && y >= 0 && y < kSurfaceHeight) buffer.Store(x, y, p.colour);
    }
    return;
  }
  for (const PicturePixel& p : picture.pixels)
    PutPixel(pen.x + static_cast<float>(p.dx), pen.y + static_cast<float>(p.dy), p.colour);
}

void Draw(stored::Picture picture) { Draw(stored::kPictures[picture], StoredRuns(picture)); }

// A picture computed from another one at first use, kept for the whole run.
struct Derived {
  std::vector<PicturePixel> pixels;
  PictureData data;
  Runs runs;
};

// The colours of a picture as a full grid, row by row.
std::vector<Colour> Grid(const PictureData& p) {
  std::vector<Colour> grid(static_cast<std::size_t>(p.width) * p.height, 0xFF000000);
  for (const PicturePixel& px : p.pixels) grid[static_cast<std::size_t>(px.dy) * p.width + px.dx] = px.colour;
  return grid;
}

std::vector<PicturePixel> FromGrid(const std::vector<Colour>& grid, int width, int height) {
  std::vector<PicturePixel> out;
  out.reserve(grid.size());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.push_back({static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y),
                     grid[static_cast<std::size_t>(y) * width + x]});
  return out;
}

// Frame k (1..9) of the appearance animation: the figure cut into squares of
// 11 - k pixels from its top-left corner (cut short at the right and bottom
// edges), each painted with its mean colour, every channel's sum divided by
// the pixel count and rounded down.
std::vector<PicturePixel> MosaicOf(const PictureData& figure, int k) {
  const int w = figure.width, h = figure.height, side = 11 - k;
  const std::vector<Colour> in = Grid(figure);
  std::vector<Colour> out(in.size());
  for (int by = 0; by < h; by += side) {
    for (int bx = 0; bx < w; bx += side) {
      const int bw = std::min(side, w - bx), bh = std::min(side, h - by);
      std::uint32_t r = 0, g = 0, b = 0;
      for (int y = by; y < by + bh; ++y)
        for (int x = bx; x < bx + bw; ++x) {
          const Colour c = in[static_cast<std::size_t>(y) * w + x];
          r += (c >> 16) & 0xFF;
          g += (c >> 8) & 0xFF;
          b += c & 0xFF;
        }
      const auto n = static_cast<std::uint32_t>(bw * bh);
      const Colour mean = 0xFF000000u | (r / n) << 16 | (g / n) << 8 | (b / n);
      for (int y = by; y < by + bh; ++y)
        for (int x = bx; x < bx + bw; ++x) out[static_cast<std::size_t>(y) * w + x] = mean;
    }
  }
  return FromGrid(out, w, h);
}

const Derived& Mosaic(int k) {
  static const std::array<Derived, 9> frames = [] {
    static constexpr std::string_view kNames[] = {"PicMosaic1", "PicMosaic2", "PicMosaic3", "PicMosaic4", "PicMosaic5",
                                                  "PicMosaic6", "PicMosaic7", "PicMosaic8", "PicMosaic9"};
    const PictureData& figure = stored::kPictures[stored::kPicFigure];
    std::array<Derived, 9> f;
    for (int i = 0; i < 9; ++i) {
      f[i].pixels = MosaicOf(figure, i + 1);
      f[i].data = {kNames[i], figure.width, figure.height, f[i].pixels};
      f[i].runs = RunsOf(f[i].data);
    }
    return f;
  }();
  return frames[static_cast<std::size_t>(k - 1)];
}

// PicQuestionA turned left for right: pixel (x, y) is A's pixel (width - 1 - x, y).
const Derived& QuestionB() {
  static const Derived mirrored = [] {
    const PictureData& a = stored::kPictures[stored::kPicQuestionA];
    const std::vector<Colour> in = Grid(a);
    std::vector<Colour> out(in.size());
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x)
        out[static_cast<std::size_t>(y) * a.width + x] = in[static_cast<std::size_t>(y) * a.width + (a.width - 1 - x)];
    Derived d;
    d.pixels = FromGrid(out, a.width, a.height);
    d.data = {"PicQuestionB", a.width, a.height, d.pixels};
    d.runs = RunsOf(d.data);
    return d;
  }();
  return mirrored;
}

void Draw(const Derived& picture) { Draw(picture.data, picture.runs); }

}  // namespace

// The built-in pictures, each from its place in the table (a picture file
// that is missing is a build error here).
void PicWall() { Draw(stored::kPicWall); }
void PicTarget() { Draw(stored::kPicTarget); }
void PicBox() { Draw(stored::kPicBox); }
void PicFigure() { Draw(stored::kPicFigure); }
void PicBoxOnTarget() { Draw(stored::kPicBoxOnTarget); }
void PicFloor() { Draw(stored::kPicFloor); }
void PicPointer() { Draw(stored::kPicPointer); }
void PicArrowKeys() { Draw(stored::kPicArrowKeys); }
void PicKeyF1() { Draw(stored::kPicKeyF1); }
void PicKeyF5() { Draw(stored::kPicKeyF5); }
void PicKeyP() { Draw(stored::kPicKeyP); }
void PicKeyPlus() { Draw(stored::kPicKeyPlus); }
void PicKeyB() { Draw(stored::kPicKeyB); }
void PicKeyL() { Draw(stored::kPicKeyL); }
void PicKeyS() { Draw(stored::kPicKeyS); }
void PicQuestionA() { Draw(stored::kPicQuestionA); }
void PicArrowRight() { Draw(stored::kPicArrowRight); }
void PicArrowBent() { Draw(stored::kPicArrowBent); }
void PicTick() { Draw(stored::kPicTick); }
void PicForbidden() { Draw(stored::kPicForbidden); }
void PicCupA() { Draw(stored::kPicCupA); }
void PicCupB() { Draw(stored::kPicCupB); }
void PicCoins() { Draw(stored::kPicCoins); }
void PicFloppy() { Draw(stored::kPicFloppy); }
void PicWarning() { Draw(stored::kPicWarning); }
void PicSkipLevel() { Draw(stored::kPicSkipLevel); }
void PicTakeBack() { Draw(stored::kPicTakeBack); }
void PicHearts() { Draw(stored::kPicHearts); }
void PicDevil() { Draw(stored::kPicDevil); }
void PicScreenshotInfo() { Draw(stored::kPicScreenshotInfo); }
void PicScreenshotPlay() { Draw(stored::kPicScreenshotPlay); }

// Computed from the built-in ones at their first draw.
void PicMosaic1() { Draw(Mosaic(1)); }
void PicMosaic2() { Draw(Mosaic(2)); }
void PicMosaic3() { Draw(Mosaic(3)); }
void PicMosaic4() { Draw(Mosaic(4)); }
void PicMosaic5() { Draw(Mosaic(5)); }
void PicMosaic6() { Draw(Mosaic(6)); }
void PicMosaic7() { Draw(Mosaic(7)); }
void PicMosaic8() { Draw(Mosaic(8)); }
void PicMosaic9() { Draw(Mosaic(9)); }
void PicQuestionB() { Draw(QuestionB()); }

std::span<const PictureEntry> AllPictures() {
  using stored::kPictures;
  static const PictureEntry kAll[] = {
      {kPictures[stored::kPicWall], PicWall},
      {kPictures[stored::kPicTarget], PicTarget},
      {kPictures[stored::kPicBox], PicBox},
      {kPictures[stored::kPicFigure], PicFigure},
      {kPictures[stored::kPicBoxOnTarget], PicBoxOnTarget},
      {kPictures[stored::kPicFloor], PicFloor},
      {Mosaic(1).data, PicMosaic1},
      {Mosaic(2).data, PicMosaic2},
      {Mosaic(3).data, PicMosaic3},
      {Mosaic(4).data, PicMosaic4},
      {Mosaic(5).data, PicMosaic5},
      {Mosaic(6).data, PicMosaic6},
      {Mosaic(7).data, PicMosaic7},
      {Mosaic(8).data, PicMosaic8},
      {Mosaic(9).data, PicMosaic9},
      {kPictures[stored::kPicPointer], PicPointer},
      {kPictures[stored::kPicArrowKeys], PicArrowKeys},
      {kPictures[stored::kPicKeyF1], PicKeyF1},
      {kPictures[stored::kPicKeyF5], PicKeyF5},
      {kPictures[stored::kPicKeyP], PicKeyP},
      {kPictures[stored::kPicKeyPlus], PicKeyPlus},
      {kPictures[stored::kPicKeyB], PicKeyB},
      {kPictures[stored::kPicKeyL], PicKeyL},
      {kPictures[stored::kPicKeyS], PicKeyS},
      {kPictures[stored::kPicQuestionA], PicQuestionA},
      {QuestionB().data, PicQuestionB},
      {kPictures[stored::kPicArrowRight], PicArrowRight},
      {kPictures[stored::kPicArrowBent], PicArrowBent},
      {kPictures[stored::kPicTick], PicTick},
      {kPictures[stored::kPicForbidden], PicForbidden},
      {kPictures[stored::kPicCupA], PicCupA},
      {kPictures[stored::kPicCupB], PicCupB},
      {kPictures[stored::kPicCoins], PicCoins},
      {kPictures[stored::kPicFloppy], PicFloppy},
      {kPictures[stored::kPicWarning], PicWarning},
      {kPictures[stored::kPicSkipLevel], PicSkipLevel},
      {kPictures[stored::kPicTakeBack], PicTakeBack},
      {kPictures[stored::kPicHearts], PicHearts},
      {kPictures[stored::kPicDevil], PicDevil},
      {kPictures[stored::kPicScreenshotInfo], PicScreenshotInfo},
      {kPictures[stored::kPicScreenshotPlay], PicScreenshotPlay},
  };
  return kAll;
}

const PictureData* PicturePixels(std::string_view name) {
  for (const PictureEntry& e : AllPictures())
    if (e.data.name == name) return &e.data;
  return nullptr;
}

void DrawPictureAt(void (*picture)(), float x, float y) {
  SetPen(x, y);
  picture();
}

}  // namespace qb
