// What the frames of every screen are made of: runs of vertical lines, box
// outlines, the common colours, and the panel style of every box drawn over
// the board (fill, double outline, drop shadow to the lower right).
#pragma once

#include <optional>

#include "gfx/surface.h"

namespace qb {

// Paints the rectangle x1..x2, y1..y2 as one-pixel vertical lines, left to right.
void VerticalRun(int x1, int x2, int y1, int y2, Colour colour);
// The one-pixel outline of the rectangle x1..x2, y1..y2.
void OutlineBox(int x1, int y1, int x2, int y2, Colour c);

inline constexpr Colour kShadowColour = 0xFF3B3B3B;
inline constexpr Colour kBoardColour = 0xFF00BEBE;
inline constexpr Colour kStatusFill = 0xFF96969D;

enum class ShadowSize { Small, Large };

struct InnerFill {
  int left, right, top, bottom;
  Colour colour;
};

struct Panel {
  int left, right, top, bottom;
  Colour fill;
  Colour outline;
  ShadowSize shadow;
  int shadow_start;  // S: the first row of the right shadow strip
  std::optional<InnerFill> inner = std::nullopt;
  bool low_second_outline = false;  // the dialog box's second outline reaches one row lower
};

// Draws the panel's fill (and inner fill), its two outlines and its shadow.
void DrawFramedPanel(const Panel& p);

// The panel palette.
namespace panels {
inline constexpr Colour kRed = 0xFFBB0001, kBlue = 0xFF0001BB, kYellow = 0xFFBBBB01, kGreen = 0xFF00BB01;
inline constexpr Colour kLightGrey = 0xFFC8C8C8, kPaleYellow = 0xFFC5C501, kOlive = 0xFFA7A700;
}  // namespace panels

}  // namespace qb
