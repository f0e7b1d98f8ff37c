#include "gfx/text.h"

#include <array>
#include <cstdint>
#include <string>

#include "data/stream.h"
#include "gfx/nearest.h"
#include "gfx/pen.h"

namespace qb {

namespace {

bool Serves(const data::GlyphEntry& entry, std::uint8_t code) {
  for (std::uint8_t i = 0; i < entry.code_count; ++i)
    if (entry.codes[i] == code) return true;
  return false;
}

// Draws the text buffer with the font of the given advance. Every entry that
// serves a byte is drawn, in font order: its record is read from its entry
// point as N x offsets followed by N y offsets.
void DrawWithFont(int advance) {
  const auto glyphs = data::FontGlyphs(advance);
  const std::string& text = TextBuffer();
  const std::size_t length = text.size();
  Pen& pen = ThePen();
  std::array<std::uint8_t, 256> dx{}, dy{};
  for (std::size_t p = 0; p < length; ++p) {
    const auto code = static_cast<std::uint8_t>(text[p]);
    for (const auto& entry : glyphs) {
      if (!Serves(entry, code)) continue;
      const std::size_t n = entry.pixel_count;
      data::Restore(entry.entry_point);
      for (std::size_t i = 0; i < n; ++i) dx[i] = data::Read();
      for (std::size_t i = 0; i < n; ++i) dy[i] = data::Read();
      for (std::size_t i = 0; i < n; ++i) PutPixel(pen.x + dx[i], pen.y + dy[i]);
    }
    pen.x += static_cast<float>(advance);
  }
}

void SetUpText(float x, float y, Colour colour, std::string_view text) {
  SetColour(colour);
  SetPen(x, y);
  TextBuffer().assign(text);
}

int Round(double v) { return static_cast<int>(Nearest(v)); }

int CentreOn(double middle, double half_width, std::size_t n) {
  return Round(middle - half_width * static_cast<double>(n));
}

}  // namespace

void DrawText7() { DrawWithFont(7); }
void DrawText8() { DrawWithFont(8); }
void DrawText4() { DrawWithFont(4); }

void Text7(float x, float y, Colour colour, std::string_view text) {
  SetUpText(x, y, colour, text);
  DrawText7();
}
void Text8(float x, float y, Colour colour, std::string_view text) {
  SetUpText(x, y, colour, text);
  DrawText8();
}
void Text4(float x, float y, Colour colour, std::string_view text) {
  SetUpText(x, y, colour, text);
  DrawText4();
}

// Exact in integers. The status line's rule, nearest(322.333333 - 4n), gives
// the same for every length: its third of a pixel never reaches a half.
int CentreText8(std::size_t n) { return 322 - 4 * static_cast<int>(n); }
int CentreText7(std::size_t n) { return CentreOn(319, 3.4, n); }
int CentreLevelCard(std::size_t n) { return CentreOn(326.333333, 4.5, n); }
int CentreAbout(std::size_t n) { return CentreOn(325.319148, 3.5106382, n); }
int CentreCredits(std::size_t n) { return CentreOn(316, 3.3333333, n); }
int CentreDialog(std::size_t n) { return CentreOn(323, 3.6, n); }
int CentreDialogNarrow(std::size_t n) { return CentreOn(323, 3.4, n); }

}  // namespace qb
