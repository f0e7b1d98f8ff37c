#include "gfx/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "gfx/pen.h"
#include "gfx/pixel_buffer.h"
#include "gfx/surface.h"

namespace qb {

namespace {

constexpr Colour kMenuBox = 0xFFBBBB01;

// A built-in picture by name; an empty one if the build has none of that name.
const PictureData& Stored(std::string_view name) {
  static const PictureData kNone{"", 0, 0, {}};
  const PictureData* p = FindPictureData(name);
  return p ? *p : kNone;
}

// A picture as runs of pixels next to each other on one row, worked out at
// first use: drawn at a whole-pixel position that keeps it on the surface,
// each run is one store of a row span.
struct Run {
  int dx, dy, count;
  std::size_t first;  // index of its first colour
};
struct Runs {
  std::vector<Run> runs;
  std::vector<Colour> colours;
};

const Runs& RunsOf(const PictureData& picture) {
  static std::map<const PictureData*, Runs> cache;
  auto [it, fresh] = cache.try_emplace(&picture);
  if (!fresh) return it->second;
  Runs& r = it->second;
  for (const PicturePixel& p : picture.pixels) {
    if (r.runs.empty() || r.runs.back().dy != p.dy || r.runs.back().dx + r.runs.back().count != p.dx)
      r.runs.push_back({p.dx, p.dy, 0, r.colours.size()});
    ++r.runs.back().count;
    r.colours.push_back(p.colour);
  }
  return r;
}

void Draw(const PictureData& picture) {
  const Pen pen = ThePen();
  // At a whole-pixel pen position, where the game puts every picture, each
  // pixel lands at a fixed offset: store it directly, cut to the surface.
  if (pen.x == std::trunc(pen.x) && pen.y == std::trunc(pen.y) && std::abs(pen.x) < 1e6f && std::abs(pen.y) < 1e6f) {
    const int x0 = static_cast<int>(pen.x), y0 = static_cast<int>(pen.y);
    PixelBuffer& buffer = Pixels();
    if (x0 >= 0 && y0 >= 0 && x0 + picture.width <= kSurfaceWidth && y0 + picture.height <= kSurfaceHeight) {
      const Runs& r = RunsOf(picture);
      for (const Run& run : r.runs) buffer.StoreSpan(x0 + run.dx, y0 + run.dy, &r.colours[run.first], run.count);
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

// A picture computed from another one at first use, kept for the whole run.
struct Derived {
  std::vector<PicturePixel> pixels;
  PictureData data;
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

const PictureData& Mosaic(int k) {
  static const std::array<Derived, 9> frames = [] {
    static constexpr std::string_view kNames[] = {"PicMosaic1", "PicMosaic2", "PicMosaic3", "PicMosaic4", "PicMosaic5",
                                                  "PicMosaic6", "PicMosaic7", "PicMosaic8", "PicMosaic9"};
    const PictureData& figure = Stored("PicFigure");
    std::array<Derived, 9> f;
    for (int i = 0; i < 9; ++i) {
      f[i].pixels = MosaicOf(figure, i + 1);
      f[i].data = {kNames[i], figure.width, figure.height, f[i].pixels};
    }
    return f;
  }();
  return frames[static_cast<std::size_t>(k - 1)].data;
}

// PicQuestionA turned left for right: pixel (x, y) is A's pixel (width - 1 - x, y).
const PictureData& QuestionB() {
  static const Derived mirrored = [] {
    const PictureData& a = Stored("PicQuestionA");
    const std::vector<Colour> in = Grid(a);
    std::vector<Colour> out(in.size());
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x)
        out[static_cast<std::size_t>(y) * a.width + x] = in[static_cast<std::size_t>(y) * a.width + (a.width - 1 - x)];
    Derived d;
    d.pixels = FromGrid(out, a.width, a.height);
    d.data = {"PicQuestionB", a.width, a.height, d.pixels};
    return d;
  }();
  return mirrored.data;
}

}  // namespace

// The pictures kept as built-in data, one drawing operation each.
#define QB_STORED_PICTURES(X)                                                                           \
  X(PicWall) X(PicTarget) X(PicBox) X(PicFigure) X(PicBoxOnTarget) X(PicFloor) X(PicPointer)            \
  X(PicArrowKeys) X(PicKeyF1) X(PicKeyF5) X(PicKeyP) X(PicKeyPlus) X(PicKeyB) X(PicKeyL) X(PicKeyS)     \
  X(PicQuestionA) X(PicArrowRight) X(PicArrowBent) X(PicTick) X(PicForbidden) X(PicCupA) X(PicCupB)     \
  X(PicCoins) X(PicFloppy) X(PicWarning) X(PicSkipLevel) X(PicTakeBack) X(PicHearts) X(PicDevil)        \
  X(PicScreenshotInfo) X(PicScreenshotPlay)

#define QB_DEFINE_STORED(name) \
  void name() { Draw(Stored(#name)); }
QB_STORED_PICTURES(QB_DEFINE_STORED)
#undef QB_DEFINE_STORED

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

void ErasePointer() {
  const Pen pen = ThePen();
  for (int i = 0; i <= 18; ++i) DrawLine(pen.x, pen.y + i, pen.x + 25, pen.y + i, kMenuBox);
}

std::span<const PictureEntry> AllPictures() {
#define QB_STORED(name) {#name, name, [] () -> const PictureData& { return Stored(#name); }}
#define QB_MOSAIC(k) {"PicMosaic" #k, PicMosaic##k, [] () -> const PictureData& { return Mosaic(k); }}
  static const PictureEntry kAll[] = {
      QB_STORED(PicWall),       QB_STORED(PicTarget),      QB_STORED(PicBox),        QB_STORED(PicFigure),
      QB_STORED(PicBoxOnTarget), QB_STORED(PicFloor),      QB_MOSAIC(1),             QB_MOSAIC(2),
      QB_MOSAIC(3),             QB_MOSAIC(4),              QB_MOSAIC(5),             QB_MOSAIC(6),
      QB_MOSAIC(7),             QB_MOSAIC(8),              QB_MOSAIC(9),             QB_STORED(PicPointer),
      QB_STORED(PicArrowKeys),  QB_STORED(PicKeyF1),       QB_STORED(PicKeyF5),      QB_STORED(PicKeyP),
      QB_STORED(PicKeyPlus),    QB_STORED(PicKeyB),        QB_STORED(PicKeyL),       QB_STORED(PicKeyS),
      QB_STORED(PicQuestionA),  {"PicQuestionB", PicQuestionB, QuestionB},          QB_STORED(PicArrowRight),
      QB_STORED(PicArrowBent),  QB_STORED(PicTick),        QB_STORED(PicForbidden),  QB_STORED(PicCupA),
      QB_STORED(PicCupB),       QB_STORED(PicCoins),       QB_STORED(PicFloppy),     QB_STORED(PicWarning),
      QB_STORED(PicSkipLevel),  QB_STORED(PicTakeBack),    QB_STORED(PicHearts),     QB_STORED(PicDevil),
      QB_STORED(PicScreenshotInfo), QB_STORED(PicScreenshotPlay),
  };
#undef QB_MOSAIC
#undef QB_STORED
  return kAll;
}

const PictureData* PicturePixels(std::string_view name) {
  for (const PictureEntry& e : AllPictures())
    if (e.name == name) return &e.data();
  return nullptr;
}

void DrawPictureAt(void (*picture)(), float x, float y) {
  SetPen(x, y);
  picture();
}

}  // namespace qb
