#include "gfx/frames.h"

#include "gfx/pen.h"
#include "gfx/pictures.h"
#include "gfx/text.h"

namespace qb {

void VerticalRun(int x1, int x2, int y1, int y2, Colour colour) {
  for (int x = x1; x <= x2; ++x)
    DrawLine(static_cast<float>(x), static_cast<float>(y1), static_cast<float>(x), static_cast<float>(y2), colour);
}

namespace {
void Box(int x1, int y1, int x2, int y2, Colour c) {
  DrawBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), c);
}
}  // namespace

void DrawFramedPanel(const Panel& p) {
  VerticalRun(p.left, p.right, p.top, p.bottom, p.fill);
  if (p.inner) VerticalRun(p.inner->left, p.inner->right, p.inner->top, p.inner->bottom, p.inner->colour);
  Box(p.left + 5, p.top + 5, p.right - 5, p.bottom - 5, p.outline);
  Box(p.left + 6, p.top + 6, p.right - 6, p.bottom - (p.low_second_outline ? 4 : 6), p.outline);
  const int reach = p.shadow == ShadowSize::Small ? 19 : 23;
  const int depth = p.shadow == ShadowSize::Small ? 21 : 24;
  VerticalRun(p.left + 19, p.right + reach, p.bottom + 1, p.bottom + depth, kShadowColour);
  VerticalRun(p.right + 1, p.right + reach, p.shadow_start, p.bottom + depth, kShadowColour);
}

void DrawGameFrame() {
  // Board frame, innermost line first.
  Box(3, 3, 647, 447, 0xFFC8C8C8);
  Box(2, 2, 648, 448, 0xFFDCDCE3);
  Box(1, 1, 649, 449, 0xFF14141B);
  // Side bar frame, outermost line first, and its inside.
  Box(651, 1, 694, 477, 0xFF14141B);
  Box(652, 2, 693, 476, 0xFFDCDCE3);
  Box(653, 3, 692, 475, 0xFFC8C8C8);
  VerticalRun(655, 690, 5, 473, kBoardColour);
  // Gauge labels.
  Text4(663, 374, 0xFF000000, "bonus");
  DrawLine(656, 383, 689, 383, 0xFF00A7A8);
  Text4(655, 385, 0xFF000000, "step");
  Text4(674, 385, 0xFF000000, "time");
  // The command legend: key caps with their labels 28 pixels below.
  struct Cap {
    void (*picture)();
    int y;
    const char* label;
    int label_x;
  };
  static constexpr Cap kCaps[] = {
      {PicKeyF1, 20, "restart", 659}, {PicKeyF5, 68, "menu", 664},    {PicKeyP, 116, "pause", 662},
      {PicKeyPlus, 164, "skip", 664}, {PicKeyB, 212, "back", 664},    {PicKeyL, 260, "romload", 659},
      {PicKeyS, 308, "romsave", 659},
  };
  for (const auto& cap : kCaps) {
    SetPen(658, static_cast<float>(cap.y));
    cap.picture();
    Text4(static_cast<float>(cap.label_x), static_cast<float>(cap.y + 28), 0xFF000000, cap.label);
  }
  // Board area and status bar.
  VerticalRun(5, 645, 5, 445, kBoardColour);
  Box(2, 451, 648, 476, 0xFFC8C8C8);
  VerticalRun(3, 647, 452, 475, kStatusFill);
}

}  // namespace qb
