// The menu pointer and the signs of the instructions screen: the arrows, the
// tick and the forbidden sign.
#include <algorithm>
#include <cmath>

#include "tools/pictures/picture_set.h"

namespace qb::pictures {

namespace {

using qb::tools::Image;

constexpr std::uint32_t Opaque(std::uint32_t rgb) { return 0xFF000000u | rgb; }

// A raised, glossy sign shape: shadow, bevelled body, a thin dark rim.
void PaintRaised(Canvas& c, const Field& shape, Rgb top, Rgb bottom, float y0, float y1, Rgb rim,
                 float bevel = 1.8f) {
  c.Shadow(shape, {1.2f, 1.3f}, 0.9f, 0.4f);
  c.Fill(shape, [&](Vec p) {
    const Rgb base = Mix(top, bottom, Clamp01((p.y - y0) / (y1 - y0)));
    return Lit(base, BevelNormal(shape, p, bevel, 1.1f), {0.5f, 0.6f, 0.45f, 18.f});
  });
  c.Fill(Subtract(shape, Offset(shape, -0.7f)), rim, 0.55f);
}

Image DrawPointer() {
  Canvas c(25, 18, Hex(kPanel), 6);
  // An arrow pointing left, at the menu entry beside it.
  const Field arrow = Offset(Polygon({{1.8f, 8.5f}, {10.5f, 0.9f}, {10.5f, 4.6f}, {22.6f, 4.6f}, {22.6f, 12.4f},
                                      {10.5f, 12.4f}, {10.5f, 16.1f}}),
                             0.5f);
  PaintRaised(c, arrow, Hex(0xF05038), Hex(0xB01810), 1.f, 16.f, Hex(0x500800));
  return Finish(c, {253, Opaque(kPanel), -1});
}

Image DrawArrowRight() {
  Canvas c(24, 20, Hex(kCyan), 6);
  const Field arrow = Offset(Polygon({{1.0f, 6.2f}, {12.0f, 6.2f}, {12.0f, 1.2f}, {21.8f, 9.5f}, {12.0f, 17.8f},
                                      {12.0f, 12.8f}, {1.0f, 12.8f}}),
                             0.4f);
  PaintRaised(c, arrow, Hex(0x4A78E0), Hex(0x1C3C9C), 1.f, 18.f, Hex(0x0A1A50));
  return Finish(c, {209, Opaque(kCyan), -1});
}

Image DrawArrowBent() {
  Canvas c(21, 24, Hex(kCyan), 6);
  // Down from the top, round the bend, then right into the head.
  const Vec bend{10.2f, 11.2f};
  const Field down = Box({1.4f, 0.6f}, {7.4f, 12.6f});
  const Field arc = Intersect(Ring(bend, 5.8f, 3.0f), Intersect(HalfPlane(bend, {1, 0}), HalfPlane(bend, {0, -1})));
  const Field across = Box({8.6f, 14.0f}, {12.6f, 20.0f});
  const Field head = Polygon({{11.2f, 10.6f}, {20.4f, 17.0f}, {11.2f, 23.4f}});
  const Field arrow = Union(Union(down, arc), Union(across, head));
  PaintRaised(c, arrow, Hex(0x4A78E0), Hex(0x1C3C9C), 1.f, 22.f, Hex(0x0A1A50), 1.6f);
  return Finish(c, {230, Opaque(kCyan), -1});
}

Image DrawTick() {
  Canvas c(29, 23, Hex(kCyan), 6);
  const Field tick = Union(Capsule({4.2f, 12.2f}, {11.0f, 18.6f}, 2.9f), Capsule({11.0f, 18.6f}, {25.0f, 3.8f}, 2.9f));
  c.Shadow(tick, {1.0f, 1.1f}, 0.6f, 0.35f);
  c.Fill(Offset(tick, 0.7f), Hex(0x0E4A14));
  c.Fill(tick, [&](Vec p) {
    const Rgb base = Mix(Hex(0x58D848), Hex(0x1E9A28), Clamp01((p.y - 3.f) / 17.f));
    return Lit(base, BevelNormal(tick, p, 1.6f, 1.f), {0.55f, 0.6f, 0.3f, 14.f});
  });
  return Finish(c, {30, Opaque(kCyan), -1});
}

Image DrawForbidden() {
  Canvas c(26, 26, Hex(kCyan), 6);
  const Vec o{12.7f, 12.7f};
  const Field disc = Circle(o, 12.5f);
  c.Shadow(disc, {0.8f, 0.8f}, 0.8f, 0.4f);
  // A white face inside a red ring, crossed by a red bar from upper left to lower right.
  c.Fill(disc, [&](Vec p) { return Lit(Hex(0xF4F4F0), DomeNormal(o, 19.f, p), {0.5f, 0.6f, 0.35f, 12.f}); });
  const Field ring = Ring(o, 10.4f, 2.3f);
  const Field bar = Intersect(Capsule(Rotate(o + Vec{-9.f, 0}, o, 0.785f), Rotate(o + Vec{9.f, 0}, o, 0.785f), 2.3f),
                              Circle(o, 10.f));
  const Field sign = Union(ring, bar);
  c.Shadow(Intersect(sign, Circle(o, 8.2f)), {0.7f, 0.7f}, 0.6f, 0.25f);
  c.Fill(sign, [&](Vec p) {
    const Rgb base = Mix(Hex(0xF03A2A), Hex(0xB81410), Clamp01((p.y - 1.f) / 24.f));
    return Lit(base, BevelNormal(sign, p, 1.3f, 1.f), {0.5f, 0.6f, 0.4f, 16.f});
  });
  c.Fill(Subtract(disc, Offset(disc, -0.7f)), Hex(0x601010), 0.6f);
  return Finish(c, {542, Opaque(kCyan), -1});
}

}  // namespace

std::vector<PictureJob> SignJobs() {
  return {
      {"PicPointer", DrawPointer},   {"PicArrowRight", DrawArrowRight}, {"PicArrowBent", DrawArrowBent},
      {"PicTick", DrawTick},         {"PicForbidden", DrawForbidden},
  };
}

}  // namespace qb::pictures
