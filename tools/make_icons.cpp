// Build-time tool: makes the game's icon, at the sizes of the desktop's icon
// theme, from the game's own pictures, and the window icon the game sets on
// its window. Pictures are only ever scaled by whole factors: grown by
// repeating pixels, or shrunk by averaging square blocks, so every size stays
// crisp.
//
//   qb_make_icons PICTURES_DIR OUT_DIR WINDOW_ICON.cpp [SHEET.png]
//
// writes OUT_DIR/<size>.png for each theme size, OUT_DIR/quizzlebox.ico with
// every size (the Windows program's icon), WINDOW_ICON.cpp with the pixels
// of the window icon, and optionally a contact sheet of every size.
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "tools/png_io.h"

namespace {

using qb::tools::Image;

constexpr std::uint32_t kBoard = 0xFF00BEBE;  // the board's floor colour
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kWindowIconSize = 32;

Image Blank(int w, int h, std::uint32_t colour = 0) {
  return {w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, colour)};
}

Image Crop(const Image& src, int x0, int y0, int w, int h) {
  Image out = Blank(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.at(x, y) = src.at(x0 + x, y0 + y);
  return out;
}

// Each pixel becomes a k x k block.
Image Grow(const Image& src, int k) {
  Image out = Blank(src.width * k, src.height * k);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.at(x, y) = src.at(x / k, y / k);
  return out;
}

// Each k x k block becomes one pixel of the block's mean colour (weighted by
// alpha, so transparent pixels add no colour). Width and height must divide by k.
Image Shrink(const Image& src, int k) {
  Image out = Blank(src.width / k, src.height / k);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      std::array<unsigned, 4> sum{};  // a, a*r, a*g, a*b
      for (int dy = 0; dy < k; ++dy)
        for (int dx = 0; dx < k; ++dx) {
          const auto p = src.at(x * k + dx, y * k + dy);
          const unsigned a = p >> 24;
          sum[0] += a;
          sum[1] += a * ((p >> 16) & 0xFF);
          sum[2] += a * ((p >> 8) & 0xFF);
          sum[3] += a * (p & 0xFF);
        }
      if (sum[0] == 0) continue;
      const unsigned n = static_cast<unsigned>(k * k);
      out.at(x, y) = (sum[0] / n) << 24 | (sum[1] / sum[0]) << 16 | (sum[2] / sum[0]) << 8 | (sum[3] / sum[0]);
    }
  return out;
}

// Draws src onto dst at (x0, y0), leaving dst as it is under src's pixels of
// colour `key` (the surface a picture was made to sit on) and transparent ones,
// and outside dst's pixels of colour `within`, when that is given.
void Paste(Image& dst, const Image& src, int x0, int y0, std::uint32_t key = 0, std::uint32_t within = 0) {
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      const auto p = src.at(x, y);
      const int tx = x0 + x, ty = y0 + y;
      if ((p >> 24) == 0 || p == key || tx < 0 || ty < 0 || tx >= dst.width || ty >= dst.height) continue;
      if (within != 0 && dst.at(tx, ty) != within) continue;
      dst.at(tx, ty) = p;
    }
}

struct Pictures {
  Image box_on_target, figure;
};

// A square of board floor with cut corners and a dark rim, the ground every
// size stands on, so the pictures' soft shadows fall on the colour they were
// drawn for.
Image Floor(int size, int cut) {
  Image out = Blank(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int dx = std::min(x, size - 1 - x), dy = std::min(y, size - 1 - y);
      if (dx + dy < cut) continue;
      const bool rim = dx == 0 || dy == 0 || dx + dy == cut;
      out.at(x, y) = rim ? 0xFF005F5F : kBoard;
    }
  return out;
}

// The figure pushing a box onto its target, 64 x 64: the figure's hand
// against the box's left side, both standing on the same row, the pair
// centred on the floor.
Image Scene(const Pictures& p) {
  Image out = Floor(64, 6);
  Paste(out, p.box_on_target, 24, 11, kBoard, kBoard);
  Paste(out, p.figure, -1, 11, kBoard, kBoard);
  return out;
}

// The box on its target alone, cut to its 36 x 36 body.
Image Crate(const Pictures& p) { return Crop(p.box_on_target, 2, 2, 36, 36); }

// The middle of the box, `inner` pixels square, shrunk by `k` and framed in
// the box's own dark edge colour: the small sizes, which the box fills.
Image FramedCrate(const Pictures& p, int inner, int k) {
  const Image crate = Crate(p);
  const int cut = (crate.width - inner) / 2;
  const Image middle = Shrink(Crop(crate, cut, cut, inner, inner), k);
  Image out = Blank(middle.width + 2, middle.height + 2, crate.at(0, crate.height / 2));
  Paste(out, middle, 1, 1);
  return out;
}

// Which picture reads best depends on the size: the box filling the icon at
// 16 and 32, the box on the floor at 24 and 48, and from 64 up the figure
// pushing it.
Image Icon(const Pictures& p, int size) {
  switch (size) {
    case 16: return FramedCrate(p, 28, 2);
    case 32: return FramedCrate(p, 30, 1);
    case 24:
    case 48: {
      const int k = 48 / size;
      Image out = Floor(size, 6 / k - 1);
      Paste(out, Shrink(Crate(p), k), 6 / k, 6 / k);
      return out;
    }
    default: return Grow(Scene(p), size / 64);
  }
}

// Every size at its real size on a light and on a dark ground, then the
// sizes up to 48 enlarged to 192 pixels, side by side.
Image Sheet(const std::vector<Image>& icons) {
  constexpr int kGap = 8, kEnlarged = 192;
  int width = kGap, tallest = 0, small = 0;
  for (const auto& i : icons) {
    width += i.width + kGap;
    tallest = std::max(tallest, i.height);
    small += i.width <= 48;
  }
  width = std::max(width, kGap + small * (kEnlarged + kGap));
  const int row = tallest + 2 * kGap;
  Image out = Blank(width, 2 * row + kEnlarged + 2 * kGap, 0xFFFFFFFF);
  for (int band = 0; band < 2; ++band) {
    const std::uint32_t ground = band == 0 ? 0xFFE8E8E8 : 0xFF303030;
    for (int y = band * row; y < (band + 1) * row; ++y)
      for (int x = 0; x < out.width; ++x) out.at(x, y) = ground;
    int x = kGap;
    for (const auto& i : icons) {
      Paste(out, i, x, band * row + kGap + tallest - i.height);
      x += i.width + kGap;
    }
  }
  int x = kGap;
  for (const auto& i : icons) {
    if (i.width > 48) continue;
    Paste(out, Grow(i, kEnlarged / i.width), x, 2 * row + kGap);
    x += kEnlarged + kGap;
  }
  return out;
}

void WriteWindowIcon(const std::string& path, const Image& icon) {
  std::ofstream out(path);
  out << "// Generated by qb_make_icons from data/pictures; do not edit.\n"
         "#include \"data/window_icon.h\"\n\nnamespace qb {\n\n"
         "const std::uint32_t kWindowIconPixels[kWindowIconSize * kWindowIconSize] = {\n";
  for (std::size_t i = 0; i < icon.pixels.size(); ++i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X,", static_cast<unsigned>(icon.pixels[i]));
    out << buf << ((i + 1) % 8 == 0 ? "\n" : "");
  }
  out << "};\n\n}  // namespace qb\n";
  if (!out) throw std::runtime_error(path + ": cannot write");
}

void PutLe(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) throw std::runtime_error(path + ": cannot read");
  return bytes;
}

// One icon image as Windows' icon files hold the small sizes: a 32-bit
// bitmap, rows from the bottom up, then the 1-bit mask of its transparent
// pixels.
std::string IcoBitmap(const Image& icon) {
  std::string out;
  PutLe(out, 40, 4);  // BITMAPINFOHEADER
  PutLe(out, static_cast<std::uint32_t>(icon.width), 4);
  PutLe(out, static_cast<std::uint32_t>(icon.height * 2), 4);  // colours and mask
  PutLe(out, 1, 2);
  PutLe(out, 32, 2);
  for (int i = 0; i < 6; ++i) PutLe(out, 0, 4);
  for (int y = icon.height - 1; y >= 0; --y)
    for (int x = 0; x < icon.width; ++x) PutLe(out, icon.at(x, y), 4);  // B, G, R, A
  const int mask_row = (icon.width + 31) / 32 * 4;
  for (int y = icon.height - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(mask_row), '\0');
    for (int x = 0; x < icon.width; ++x)
      if ((icon.at(x, y) >> 24) == 0) row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    out += row;
  }
  return out;
}

// Windows' icon file of every size: bitmaps up to 48 pixels, where old
// readers expect them, the PNG files themselves from 64 up.
void WriteIco(const std::string& path, const std::vector<Image>& icons, const std::string& png_dir) {
  std::vector<std::string> images;
  for (const auto& icon : icons)
    images.push_back(icon.width <= 48 ? IcoBitmap(icon) : FileBytes(png_dir + "/" + std::to_string(icon.width) + ".png"));
  std::string out;
  PutLe(out, 0, 2);
  PutLe(out, 1, 2);  // an icon
  PutLe(out, static_cast<std::uint32_t>(icons.size()), 2);
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(icons.size());
  for (std::size_t i = 0; i < icons.size(); ++i) {
    PutLe(out, static_cast<std::uint32_t>(icons[i].width % 256), 1);  // 0 stands for 256
    PutLe(out, static_cast<std::uint32_t>(icons[i].height % 256), 1);
    PutLe(out, 0, 2);  // no palette
    PutLe(out, 1, 2);  // planes
    PutLe(out, 32, 2);
    PutLe(out, static_cast<std::uint32_t>(images[i].size()), 4);
    PutLe(out, offset, 4);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) out += image;
  std::ofstream file(path, std::ios::binary);
  file << out;
  if (!file) throw std::runtime_error(path + ": cannot write");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::cerr << "usage: qb_make_icons PICTURES_DIR OUT_DIR WINDOW_ICON.cpp [SHEET.png]\n";
    return 2;
  }
  const std::string pictures = argv[1], out_dir = argv[2];
  try {
    const Pictures p{qb::tools::ReadPng(pictures + "/PicBoxOnTarget.png"),
                     qb::tools::ReadPng(pictures + "/PicFigure.png")};
    std::vector<Image> icons;
    for (int size : kSizes) {
      icons.push_back(Icon(p, size));
      qb::tools::WritePng(out_dir + "/" + std::to_string(size) + ".png", icons.back());
      if (size == kWindowIconSize) WriteWindowIcon(argv[3], icons.back());
    }
    WriteIco(out_dir + "/quizzlebox.ico", icons, out_dir);
    if (argc == 5) qb::tools::WritePng(argv[4], Sheet(icons));
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
