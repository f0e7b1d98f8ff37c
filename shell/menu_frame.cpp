#include "shell/menu_frame.h"

#include "gfx/frames.h"
#include "gfx/pen.h"
#include "gfx/pictures.h"
#include "gfx/text.h"

namespace qb {

void DrawGameFrame() {
  // Board frame, innermost line first.
  OutlineBox(3, 3, 647, 447, 0xFFC8C8C8);
  OutlineBox(2, 2, 648, 448, 0xFFDCDCE3);
  OutlineBox(1, 1, 649, 449, 0xFF14141B);
  // Side bar frame, outermost line first, and its inside.
  OutlineBox(651, 1, 694, 477, 0xFF14141B);
  OutlineBox(652, 2, 693, 476, 0xFFDCDCE3);
  OutlineBox(653, 3, 692, 475, 0xFFC8C8C8);
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
  OutlineBox(2, 451, 648, 476, 0xFFC8C8C8);
  VerticalRun(3, 647, 452, 475, kStatusFill);
}

void ErasePointer() {
  const Pen pen = ThePen();
  for (int i = 0; i <= 18; ++i) DrawLine(pen.x, pen.y + i, pen.x + 25, pen.y + i, panels::kYellow);
}

}  // namespace qb
