#include "gfx/frames.h"


namespace qb {

void VerticalRun(int x1, int x2, int y1, int y2, Colour colour) {
  for (int x = x1; x <= x2; ++x)
    DrawLine(static_cast<float>(x), static_cast<float>(y1), static_cast<float>(x), static_cast<float>(y2), colour);
}

void OutlineBox(int x1, int y1, int x2, int y2, Colour c) {
  DrawBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), c);
}

void DrawFramedPanel(const Panel& p) {
  VerticalRun(p.left, p.right, p.top, p.bottom, p.fill);
  if (p.inner) VerticalRun(p.inner->left, p.inner->right, p.inner->top, p.inner->bottom, p.inner->colour);
  OutlineBox(p.left + 5, p.top + 5, p.right - 5, p.bottom - 5, p.outline);
  OutlineBox(p.left + 6, p.top + 6, p.right - 6, p.bottom - (p.low_second_outline ? 4 : 6), p.outline);
  const int reach = p.shadow == ShadowSize::Small ? 19 : 23;
  const int depth = p.shadow == ShadowSize::Small ? 21 : 24;
  VerticalRun(p.left + 19, p.right + reach, p.bottom + 1, p.bottom + depth, kShadowColour);
  VerticalRun(p.right + 1, p.right + reach, p.shadow_start, p.bottom + depth, kShadowColour);
}

}  // namespace qb
