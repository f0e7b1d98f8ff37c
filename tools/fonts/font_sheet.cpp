// Draws docs/fonts.png: for each bitmap font every glyph at 4x over its cell
// (body and accent rows shaded) with its byte values, then sample lines in
// the colours the game shows them in, at 1x and 2x; then the system font.
// Everything is drawn by the game's renderers on the headless surface and
// copied from there.
// Usage: qb_font_sheet OUT.png
#include <cstdio>
#include <exception>
#include <functional>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "data/stream.h"
#include "gfx/headless/headless.h"
#include "gfx/pen.h"
#include "gfx/surface.h"
#include "gfx/system_font.h"
#include "gfx/text.h"
#include "tools/png_io.h"

namespace {

using qb::Colour;
using qb::tools::Image;

constexpr Colour kSheet = 0xFF1E1E1E, kCell = 0xFF2E2E2E, kBody = 0xFF3C3C52, kAccent = 0xFF523C3C,
                 kGlyphInk = 0xFFFFFFFF, kLabel = 0xFF9A9A9A, kHeading = 0xFFE0E0E0;
constexpr int kSheetWidth = 920, kMargin = 16;

// Paints a w x h area at the surface's top-left, lets draw() paint over it and
// returns the area as an image.
Image Snap(int w, int h, Colour background, const std::function<void()>& draw) {
  qb::FillBox(0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), background);
  draw();
  Image img{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.at(x, y) = qb::GetPixel(x, y);
  return img;
}

void Blit(Image& sheet, const Image& part, int x0, int y0, int scale) {
  for (int y = 0; y < part.height * scale; ++y)
    for (int x = 0; x < part.width * scale; ++x) {
      const int sx = x0 + x, sy = y0 + y;
      if (sx < sheet.width && sy < sheet.height) sheet.at(sx, sy) = part.at(x / scale, y / scale);
    }
}

void DrawWith(int advance) {
  if (advance == 7) qb::DrawText7();
  if (advance == 8) qb::DrawText8();
  if (advance == 4) qb::DrawText4();
}

void Text(int advance, float x, float y, Colour c, const std::string& s) {
  qb::SetColour(c);
  qb::SetPen(x, y);
  qb::TextBuffer() = s;
  DrawWith(advance);
}

struct FontInfo {
  int advance;
  const char* title;
  int body_x1, body_y1, body_x2, body_y2, accent_y1, accent_y2;  // accent rows: y1 > y2 for none
  Colour ink, paper;                                              // as on the game's screens
  const char* where;
};

const FontInfo kFonts[] = {
    {7, "DRAWTEXT7 - PANELS AND DIALOGS", 2, 2, 7, 7, 1, 1, 0xFF000000, 0xFFA7A700, "on a dialog"},
    {8, "DRAWTEXT8 - HEADINGS, MENUS, HINTS, NAMES", 2, 3, 8, 8, 1, 2, 0xFF000000, 0xFF96969D,
     "on the status bar"},
    {4, "DRAWTEXT4 - SIDE BAR LABELS", 1, 1, 3, 5, 1, 0, 0xFF000000, 0xFF00BEBE, "on the side bar"},
};

// Windows-1250 bytes of a few level names with accented letters, and the
// game's own lines.
const std::vector<std::string> kSamples = {
    "ren\xE9 descartes",
    "\xE9variste galois",
    "bed\xF8ich smetana",
    "tom\xE1\x9A masaryk",
    "jan amos komensk\xFD",
    "\x8EIV\xC9 \xDA\xD8" "AD\xD9 \x8D\xC1\xCF\xC9 \xC8\xCC\xD2\xD3 \xCDVY",
    "Number of steps and time are importat for your score.",
    "For continue press key SPACE or BACKSPACE or ESC",
    "0123456789 O0 1I 5S 8B  -200 = 99000 (25%)",
    "restart",
    "romload",
};

std::string Hex(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X", v);
  return buf;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: qb_font_sheet OUT.png\n";
    return 2;
  }
  try {
    qb::HeadlessPlatform platform;
    qb::InstallPlatform(&platform);
    qb::SetColour(0, 0);
    qb::ClearScreen();

    int y = kMargin;
    Image sheet{kSheetWidth, 4000, std::vector<std::uint32_t>(static_cast<std::size_t>(kSheetWidth) * 4000, kSheet)};
    auto place = [&](const Image& part, int x, int scale, int gap) {
      Blit(sheet, part, x, y, scale);
      y += part.height * scale + gap;
    };

    constexpr int kPerRow = 18, kPitch = 48;
    for (const auto& f : kFonts) {
      place(Snap(600, 10, kSheet, [&] { Text(8, 0, -2, kHeading, f.title); }), kMargin, 2, 8);

      // Every glyph at 4x, once per character (two entries for one byte show together).
      std::set<int> shown;
      int column = 0;
      for (const auto& e : qb::data::FontGlyphs(f.advance)) {
        if (!shown.insert(e.codes[0]).second) continue;
        const Image cell = Snap(9, 9, kCell, [&] {
          qb::FillBox(static_cast<float>(f.body_x1), static_cast<float>(f.body_y1), static_cast<float>(f.body_x2),
                      static_cast<float>(f.body_y2), kBody);
          if (f.accent_y1 <= f.accent_y2)
            qb::FillBox(static_cast<float>(f.body_x1), static_cast<float>(f.accent_y1),
                        static_cast<float>(f.body_x2), static_cast<float>(f.accent_y2), kAccent);
          Text(f.advance, 0, 0, kGlyphInk, std::string(1, static_cast<char>(e.codes[0])));
        });
        std::string label = Hex(e.codes[0]);
        if (e.code_count == 4) label.append(" ").append(Hex(e.codes[2]));
        const Image tag = Snap(44, 7, kSheet, [&] { Text(4, 0, 0, kLabel, label); });
        const int x = kMargin + column * kPitch;
        Blit(sheet, cell, x, y, 4);
        Blit(sheet, tag, x, y + 38, 1);
        if (++column == kPerRow) column = 0, y += kPitch;
      }
      if (column != 0) y += kPitch;
      y += 6;

      // Sample lines at 1x and 2x, as the game shows them.
      for (int scale : {1, 2}) {
        for (const auto& s : kSamples) {
          const int w = static_cast<int>(s.size()) * f.advance + 12;
          place(Snap(w, 13, f.paper, [&] { Text(f.advance, 3, 2, f.ink, s); }), kMargin, scale, 2);
        }
        y += 8;
      }
      y += 16;
    }

    // The system font: the password screen's characters at 4x, then a prompt line.
    place(Snap(600, 10, kSheet, [&] { Text(8, 0, -2, kHeading, "SYSTEM FONT - PASSWORD SCREEN"); }), kMargin, 2, 8);
    std::string chars;
    for (int c = 0x21; c < 0x7F; ++c) chars += static_cast<char>(c);
    chars += '\xAF';
    for (std::size_t start = 0; start < chars.size(); start += 24) {
      const std::string part = chars.substr(start, 24);
      place(Snap(static_cast<int>(part.size()) * 9, 9, kSheet, [&] {
              qb::SetColour(kGlyphInk);
              for (std::size_t i = 0; i < part.size(); ++i)
                qb::DrawSystemText(static_cast<float>(i * 9), 0, std::string(1, part[i]));
            }),
            kMargin, 4, 4);
    }
    y += 8;
    for (int scale : {1, 2})
      place(Snap(200, 12, 0xFFBB0001, [&] {
              qb::SetColour(0xFFFFFFFF);
              qb::DrawSystemText(4, 2, "\xAF 012345678 Ab");
            }),
            kMargin, scale, 6);

    sheet.height = y + kMargin;
    sheet.pixels.resize(static_cast<std::size_t>(sheet.width) * sheet.height);
    qb::InstallPlatform(nullptr);
    qb::tools::WritePng(argv[1], sheet);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
