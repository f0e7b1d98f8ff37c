// The key caps of the command legend, the arrow-key cluster and the
// question-mark block of the side bar.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/pictures/picture_set.h"

namespace qb::pictures {

namespace {

using qb::tools::Image;

// ---- legend lettering: strokes two pixels wide, nine pixels high ----

Field Bar(float x0, float y0, float x1, float y1, Vec o) { return Box(o + Vec{x0, y0}, o + Vec{x1, y1}, 0.35f); }

// The right half of a bowl (P, B, 5): an arc of the given centre and radius.
Field RightBowl(Vec c, float r, Vec o) {
  return Intersect(Ring(o + c, r, 1.0f), HalfPlane(o + c, {-1, 0}));
}

struct Glyph {
  float width;
  Field (*make)(Vec o);
};

Field GlyphF(Vec o) { return Union(Bar(0, 0, 2, 9, o), Union(Bar(0, 0, 6, 2, o), Bar(0, 3.6f, 5, 5.6f, o))); }
Field Glyph1(Vec o) {
  return Union(Bar(2.5f, 0, 4.5f, 9, o), Capsule(o + Vec{1.1f, 2.6f}, o + Vec{3.3f, 0.9f}, 0.95f));
}
Field Glyph5(Vec o) {
  Field f = Union(Bar(0.3f, 0, 6, 2, o), Bar(0.3f, 0, 2.3f, 4.8f, o));
  f = Union(f, Bar(0.3f, 2.9f, 3.2f, 4.9f, o));
  f = Union(f, RightBowl({3.2f, 5.85f}, 1.95f, o));
  return Union(f, Bar(0, 6.8f, 3.2f, 8.8f, o));
}
Field GlyphP(Vec o) {
  Field f = Union(Bar(0, 0, 2, 9, o), Bar(0, 0, 3.5f, 2, o));
  f = Union(f, Bar(0, 4, 3.5f, 6, o));
  return Union(f, RightBowl({3.5f, 3.0f}, 2.0f, o));
}
Field GlyphB(Vec o) {
  Field f = Union(Bar(0, 0, 2, 9, o), Bar(0, 0, 3.4f, 2, o));
  f = Union(f, Union(Bar(0, 3.6f, 3.4f, 5.4f, o), Bar(0, 7, 3.6f, 9, o)));
  f = Union(f, RightBowl({3.4f, 2.7f}, 1.7f, o));
  return Union(f, RightBowl({3.6f, 6.2f}, 1.8f, o));
}
Field GlyphL(Vec o) { return Union(Bar(0, 0, 2, 9, o), Bar(0, 7, 6, 9, o)); }
Field GlyphS(Vec o) {
  // Two bowls: the upper without its lower right quarter, the lower without its upper left.
  const Vec top = o + Vec{3.0f, 2.6f}, bottom = o + Vec{3.0f, 6.4f};
  const Field upper = Subtract(Ring(top, 1.8f, 1.0f), Intersect(HalfPlane(top, {-1, 0}), HalfPlane(top, {0, -1})));
  const Field lower = Subtract(Ring(bottom, 1.8f, 1.0f), Intersect(HalfPlane(bottom, {1, 0}), HalfPlane(bottom, {0, 1})));
  return Union(upper, lower);
}
Field GlyphPlus(Vec o) { return Union(Bar(2.5f, 0.5f, 4.5f, 8.5f, o), Bar(-0.5f, 3.5f, 7.5f, 5.5f, o)); }

Glyph GlyphFor(char ch) {
  switch (ch) {
    case 'F': return {6, GlyphF};
    case '1': return {4.5f, Glyph1};
    case '5': return {6, Glyph5};
    case 'P': return {5.5f, GlyphP};
    case 'B': return {5.4f, GlyphB};
    case 'L': return {6, GlyphL};
    case 'S': return {5.8f, GlyphS};
    default: return {7, GlyphPlus};
  }
}

// The legend centred on (cx, cy).
Field Legend(const std::string& text, float cx, float cy) {
  const float gap = 1.6f;
  float width = -gap;
  for (char ch : text) width += GlyphFor(ch).width + gap;
  float x = std::round(cx - width / 2);
  Field f = Box({-9, -9}, {-8, -8});
  for (char ch : text) {
    const Glyph g = GlyphFor(ch);
    f = Union(f, g.make({x, std::round(cy - 4.5f)}));
    x += g.width + gap;
  }
  return f;
}

// ---- a key cap: a sloping skirt round a slightly dished top ----

void PaintKeyCap(Canvas& c, Vec a, Vec b, float skirt, const Field& legend) {
  const Field cap = Box(a, b, 3.0f);
  c.Shadow(cap, {1.0f, 1.0f}, 0.8f, 0.45f);
  const Rgb ivory = Hex(0xE4E0D4);
  c.Fill(cap, [&](Vec p) {
    const Vec3 n = BevelNormal(cap, p, skirt, 0.9f, false);
    return Lit(ivory * 0.93f, n, {0.5f, 0.62f, 0.12f, 10.f});
  });
  // The top sits nearer the top edge: more of the front skirt shows.
  const Vec ta{a.x + skirt - 0.5f, a.y + skirt - 1.3f}, tb{b.x - skirt + 0.5f, b.y - skirt - 0.2f};
  const Field top = Box(ta, tb, 2.6f);
  const Vec mid = (ta + tb) * 0.5f;
  const float rx = (tb.x - ta.x) * 0.5f;
  c.Fill(top, [&](Vec p) {
    // A shallow dish: darker towards the upper left, brighter lower right.
    const Vec d = (p - mid) * (1.f / rx);
    const Vec3 n = Normalize({0.22f * d.x, 0.22f * d.y, 1.f});
    return Lit(ivory, n, {0.5f, 0.62f, 0.1f, 8.f});
  });
  // The legend: dark print with a faint bright edge below it.
  c.Fill(Moved(legend, {0.6f, 0.7f}), Hex(0xFFFFFA), 0.45f);
  c.Fill(legend, Hex(0x2C2C36));
}

Image DrawKey(const std::string& text, int colours) {
  Canvas c(30, 27, Hex(kCyan), 6);
  const Vec a{1, 1}, b{28, 25};
  PaintKeyCap(c, a, b, 3.4f, Legend(text, 14.5f, 11.6f));
  return Finish(c, {colours, 0xFF000000u | kCyan, -1});
}

// ---- the arrow keys: up above, left, down and right below ----

Image DrawArrowKeys() {
  Canvas c(55, 36, Hex(kCyan), 6);
  struct Key {
    Vec at;
    float angle;  // of the arrow, 0 pointing up
  };
  const Key keys[] = {{{19, 0}, 0.f}, {{0, 19}, -1.5708f}, {{19, 19}, 3.14159f}, {{38, 19}, 1.5708f}};
  for (const auto& k : keys) {
    const Vec a = k.at, b = k.at + Vec{16.f, 16.f};
    const Vec mid{a.x + 8.f, a.y + 7.2f};
    const Field arrow = Rotated(Polygon({{mid.x, mid.y - 3.9f}, {mid.x + 4.3f, mid.y + 2.6f}, {mid.x - 4.3f, mid.y + 2.6f}}),
                                mid, k.angle);
    PaintKeyCap(c, a, b, 2.6f, Offset(arrow, -0.1f));
  }
  return Finish(c, {704, 0xFF000000u | kCyan, -1});
}

// ---- the question-mark block ----

Field QuestionMark(Vec o) {
  const Vec c = o + Vec{0, -3.2f};
  const Field hook = Subtract(Ring(c, 4.3f, 1.9f), Intersect(HalfPlane(c, {1, 0}), HalfPlane(c, {0, -1})));
  const Field end = Circle(c + Vec{-4.3f, 0}, 1.9f);
  const Field stem = Capsule(c + Vec{0, 4.3f}, c + Vec{0, 7.3f}, 1.9f);
  const Field dot = Circle(c + Vec{0, 11.3f}, 2.05f);
  return Union(Union(hook, end), Union(stem, dot));
}

Image DrawQuestion() {
  Canvas c(30, 30, Hex(kCyan), 6);
  const Field block = Box({0.5f, 0.5f}, {28.5f, 28.5f}, 4.5f);
  c.Shadow(block, {1.2f, 1.2f}, 0.9f, 0.45f);
  c.Fill(block, [&](Vec p) {
    const Vec3 n = BevelNormal(block, p, 3.2f, 1.0f);
    const float t = Clamp01((p.y - 1.f) / 27.f);
    const Rgb base = Mix(Hex(0x4A7AE8), Hex(0x2040B0), t);
    return Lit(base, n, {0.5f, 0.6f, 0.4f, 16.f});
  });
  // A gloss on the upper half.
  c.Blend(Box({3.5f, 2.5f}, {25.5f, 13.f}, 3.5f), [](Vec p) { return 0.22f * (1.f - Clamp01((p.y - 2.5f) / 10.5f)); },
          Hex(0xFFFFFF));
  const Field mark = QuestionMark({14.5f, 12.6f});
  c.Fill(Offset(mark, 0.9f), Hex(0x102060), 0.9f);
  c.Fill(mark, [&](Vec p) {
    return Lit(Mix(Hex(0xFFF0A0), Hex(0xFFC020), Clamp01((p.y - 5.f) / 20.f)), BevelNormal(mark, p, 1.2f, 1.f),
               {0.55f, 0.6f, 0.3f, 14.f});
  });
  return Finish(c, {720, 0xFF000000u | kCyan, -1});
}

}  // namespace

std::vector<PictureJob> KeyJobs() {
  return {
      {"PicKeyF1", [] { return DrawKey("F1", 604); }},
      {"PicKeyF5", [] { return DrawKey("F5", 605); }},
      {"PicKeyP", [] { return DrawKey("P", 591); }},
      {"PicKeyPlus", [] { return DrawKey("+", 595); }},
      {"PicKeyB", [] { return DrawKey("B", 602); }},
      {"PicKeyL", [] { return DrawKey("L", 548); }},
      {"PicKeyS", [] { return DrawKey("S", 552); }},
      {"PicArrowKeys", DrawArrowKeys},
      {"PicQuestionA", DrawQuestion},
  };
}

}  // namespace qb::pictures
