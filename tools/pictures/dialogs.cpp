// The pictures of the dialogs and notices: the steaming cup of the pause
// screen, coins, floppy disk, warning sign, skip and take-back icons, hearts
// and the devil.
#include <algorithm>
#include <cmath>

#include "tools/pictures/picture_set.h"

namespace qb::pictures {

namespace {

using qb::tools::Image;

constexpr std::uint32_t Opaque(std::uint32_t rgb) { return 0xFF000000u | rgb; }
constexpr float kPi = 3.14159265f;

const Material kGloss{0.5f, 0.6f, 0.45f, 18.f};
const Material kMatte{0.5f, 0.62f, 0.12f, 10.f};

// ---- the cup: rows 0..11 hold only the steam, so the two frames differ there alone ----

constexpr int kSteamRows = 12;

void PaintCup(Canvas& c) {
  const Vec saucer_c{19.5f, 35.2f};
  const Field saucer = Ellipse(saucer_c, 16.5f, 3.9f);
  c.Shadow(saucer, {1.2f, 1.4f}, 1.0f, 0.4f);
  c.Fill(saucer, [&](Vec p) {
    const Vec d{(p.x - saucer_c.x) / 16.5f, (p.y - saucer_c.y) / 3.9f};
    // A shallow dish: the rim catches the light, the well is a little darker.
    const float r = std::sqrt(d.x * d.x + d.y * d.y);
    Rgb col = Mix(Hex(0xF2F0EA), Hex(0xC8C4BC), Smooth(0.55f, 0.0f, r) * 0.6f);
    return Lit(col, Normalize({d.x * 0.5f * r, d.y * 0.9f * r, 1.f}), kGloss);
  });
  // The cup's body narrows a little towards its foot.
  const Field body = Union(Polygon({{8.6f, 15.0f}, {30.4f, 15.0f}, {27.6f, 31.6f}, {11.4f, 31.6f}}),
                           Ellipse({19.5f, 31.0f}, 8.2f, 2.6f));
  const Field handle = Intersect(Ring({29.6f, 22.6f}, 4.6f, 1.45f), HalfPlane({28.6f, 0}, {-1, 0}));
  c.Shadow(Union(body, handle), {1.6f, 0.6f}, 1.2f, 0.3f);
  auto porcelain = [&](Vec p, Rgb base) {
    // A cylinder: lit on the left, the light's gleam in a narrow band.
    const float u = std::clamp((p.x - 19.5f) / 11.f, -1.f, 1.f);
    return Lit(base, Normalize({u, -0.15f, std::sqrt(std::max(0.05f, 1 - u * u))}), kGloss);
  };
  c.Fill(handle, [&](Vec p) { return Lit(Hex(0xD83A2C), BevelNormal(handle, p, 1.3f), kGloss); });
  c.Fill(body, [&](Vec p) {
    // Red with a white band round the middle.
    const bool band = p.y > 21.0f && p.y < 24.6f;
    return porcelain(p, band ? Hex(0xF4F0E8) : Hex(0xD83A2C));
  });
  // The rim and the coffee in it.
  const Field rim = Ellipse({19.5f, 15.0f}, 10.9f, 2.9f);
  c.Fill(rim, [&](Vec p) { return porcelain(p, Hex(0xE24A38)); });
  const Field coffee = Ellipse({19.5f, 15.3f}, 9.4f, 2.1f);
  c.Fill(coffee, [&](Vec p) {
    const float t = Clamp01((p.x - 10.f) / 19.f);
    return Mix(Hex(0x3A1E0C), Hex(0x6A3A18), t) * (0.9f + 0.2f * Clamp01((p.y - 13.2f) / 4.f));
  });
  c.Fill(Ellipse({15.5f, 14.6f}, 2.4f, 0.6f), Hex(0xB08050), 0.5f);  // a gleam on the coffee
}

void PaintSteam(Canvas& c, float phase) {
  const Field above = HalfPlane({0, static_cast<float>(kSteamRows)}, {0, 1});
  for (int k = 0; k < 3; ++k) {
    const float x0 = 14.f + 5.5f * static_cast<float>(k);
    const float ph = phase + 1.9f * static_cast<float>(k);
    // A wisp: a wavy line that thins and fades as it rises.
    const Field wisp = Intersect([=](Vec p) {
      const float t = Clamp01((12.5f - p.y) / 12.f);
      const float x = x0 + 1.7f * std::sin(p.y * 0.62f + ph) * (0.4f + t);
      return std::abs(p.x - x) - (1.45f - 0.6f * t);
    }, Intersect(above, HalfPlane({0, 0.6f}, {0, -1})));
    c.Blend(wisp, [=](Vec p) {
      const float t = Clamp01((12.5f - p.y) / 12.f);
      return 0.92f * (1.f - t * t * t) * Smooth(0.f, 2.0f, 12.5f - p.y);
    }, Hex(0xFFFFF4));
  }
}

std::pair<Image, Image> DrawCups() {
  Canvas a(40, 40, Hex(kPanel), 6);
  PaintCup(a);
  Canvas b = a;
  PaintSteam(a, 0.f);
  PaintSteam(b, kPi);
  Image ia = Finish(a, {702, Opaque(kPanel), -1});
  // The second frame keeps the first one's cup, pixel for pixel.
  Image ib = b.ToImage();
  std::vector<bool> editable(ib.pixels.size(), false);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      if (y >= kSteamRows) ib.at(x, y) = ia.at(x, y);
      else editable[static_cast<std::size_t>(y) * 40 + x] = true;
    }
  ReachGoal(ib, {702, Opaque(kPanel), -1}, editable);
  return {ia, ib};
}

// ---- coins ----

void PaintCoinStack(Canvas& c, float cx, float bottom, int n, int seed) {
  const float rx = 7.2f, ry = 2.5f, thick = 2.15f;
  for (int i = 0; i < n; ++i) {
    const float jitter = (Hash(seed, i, 5) - 0.5f) * 1.4f;
    const float x = cx + jitter, y = bottom - thick * static_cast<float>(i);
    // The coin's edge: a short cylinder with fine ridges.
    const Field edge = Union(Box({x - rx, y - thick}, {x + rx, y}), Ellipse({x, y}, rx, ry));
    c.Fill(Offset(Union(edge, Ellipse({x, y - thick}, rx, ry)), 0.6f), Hex(0x4A2C04), 0.7f);
    c.Fill(edge, [=](Vec p) {
      const float u = std::clamp((p.x - x) / rx, -1.f, 1.f);
      const float ridge = 0.88f + 0.12f * std::sin(p.x * 3.3f);
      const Rgb base = Hex(0xC07A10) * ridge;
      return Lit(base, Normalize({u, 0.25f, std::sqrt(std::max(0.05f, 1 - u * u))}), kGloss);
    });
    const Field face = Ellipse({x, y - thick}, rx, ry);
    c.Fill(face, [=](Vec p) {
      const Vec d{(p.x - x) / rx, (p.y - y + thick) / ry};
      const float r = std::sqrt(d.x * d.x + d.y * d.y);
      // A raised rim round a flat face.
      const Vec3 n = r > 0.72f ? Normalize({d.x * 0.8f, d.y * 0.4f, 1.f}) : Vec3{0, 0, 1};
      return Lit(Mix(Hex(0xFFD040), Hex(0xE89A18), Clamp01(d.x * 0.5f + 0.5f)), n, kGloss);
    });
  }
}

Image DrawCoins() {
  Canvas c(32, 32, Hex(kDialog), 6);
  c.Shadow(Ellipse({17.5f, 28.6f}, 14.f, 3.0f), {1.f, 0.6f}, 1.4f, 0.4f);
  PaintCoinStack(c, 20.5f, 24.6f, 8, 3);
  PaintCoinStack(c, 10.8f, 28.2f, 5, 7);
  // One coin standing in front, face on.
  const Vec o{22.6f, 23.0f};
  const Field coin = Circle(o, 6.6f);
  c.Shadow(coin, {1.2f, 1.0f}, 0.9f, 0.4f);
  c.Fill(Offset(coin, 0.6f), Hex(0x4A2C04), 0.7f);
  c.Fill(coin, [&](Vec p) {
    const float r = Length(p - o) / 6.6f;
    const Vec d = (p - o) * (1.f / 6.6f);
    const Vec3 n = r > 0.74f ? Normalize({d.x * 1.4f, d.y * 1.4f, 1.f}) : Normalize({-d.x * 0.25f, -d.y * 0.25f, 1.f});
    return Lit(Hex(0xF4B830), n, kGloss);
  });
  // A star struck into the face.
  std::vector<Vec> star;
  for (int i = 0; i < 10; ++i) {
    const float a = -kPi / 2 + static_cast<float>(i) * kPi / 5;
    const float r = i % 2 ? 1.45f : 3.4f;
    star.push_back({o.x + r * std::cos(a), o.y + 0.2f + r * std::sin(a)});
  }
  const Field s = Polygon(star);
  c.Fill(s, [&](Vec p) { return Lit(Hex(0xE8A020), BevelNormal(s, p, 0.9f, 1.f), kGloss); });
  return Finish(c, {492, Opaque(kDialog), -1});
}

// ---- floppy disk ----

Image DrawFloppy() {
  Canvas c(39, 39, Hex(kDialog), 6);
  const Field body = Offset(Polygon({{2.0f, 1.6f}, {31.6f, 1.6f}, {35.6f, 5.6f}, {35.6f, 35.4f}, {2.0f, 35.4f}}), 0.2f);
  c.Shadow(body, {1.8f, 1.8f}, 1.3f, 0.45f);
  c.Fill(body, [&](Vec p) {
    const Rgb base = Mix(Hex(0x3454A8), Hex(0x22387A), Clamp01((p.x + p.y - 4.f) / 66.f));
    const float grain = 0.96f + 0.08f * Fbm(p * 0.9f, 31, 3);
    return Lit(base * grain, BevelNormal(body, p, 1.8f, 0.9f), {0.5f, 0.62f, 0.3f, 16.f});
  });
  // The metal shutter with its window.
  const Field shutter = Box({10.f, 1.6f}, {28.f, 13.4f}, 0.8f);
  c.Shadow(shutter, {0.8f, 0.8f}, 0.6f, 0.35f);
  c.Fill(shutter, [&](Vec p) {
    const float brushed = 0.94f + 0.06f * Noise({p.x * 3.f, p.y * 0.3f}, 44);
    return Lit(Mix(Hex(0xE0E2E6), Hex(0xA0A4AC), Clamp01((p.y - 1.6f) / 12.f)) * brushed,
               BevelNormal(shutter, p, 1.0f), {0.5f, 0.6f, 0.5f, 20.f});
  });
  const Field window = Box({21.f, 3.4f}, {25.4f, 11.6f}, 0.4f);
  c.Fill(window, [&](Vec p) { return Lit(Hex(0x1A1E2C), BevelNormal(window, p, 0.9f, -1.f), kMatte); });
  // The paper label with a few written lines.
  const Field label = Box({6.f, 18.4f}, {32.f, 35.4f}, 1.2f);
  c.Shadow(label, {0.6f, 0.6f}, 0.5f, 0.3f);
  c.Fill(label, [&](Vec p) {
    Rgb col = Mix(Hex(0xFAF8F0), Hex(0xE4E0D4), Clamp01((p.y - 18.f) / 17.f));
    if (p.y < 21.6f) col = Mix(Hex(0xE85A40), Hex(0xD04030), Clamp01((p.x - 6.f) / 26.f));  // a red top stripe
    return col * (0.97f + 0.05f * Fbm(p * 1.7f, 77, 2));
  });
  for (int i = 0; i < 3; ++i) {
    const float y = 25.2f + 3.4f * static_cast<float>(i);
    const float len = i == 2 ? 13.f : 20.f;
    c.Fill(Box({9.f, y}, {9.f + len, y + 1.0f}, 0.4f), Hex(0x4A6ACC), 0.75f);
  }
  // The write-protect slot.
  c.Fill(Box({3.6f, 30.8f}, {5.4f, 33.6f}), Hex(0x101828), 0.9f);
  return Finish(c, {829, Opaque(kDialog), -1});
}

// ---- warning sign ----

Image DrawWarning() {
  Canvas c(28, 28, Hex(kDialog), 6);
  const Field sign = Offset(Polygon({{14.f, 2.6f}, {25.6f, 24.2f}, {2.4f, 24.2f}}), 1.6f);
  c.Shadow(sign, {1.2f, 1.2f}, 0.9f, 0.45f);
  c.Fill(sign, [&](Vec p) {
    return Lit(Mix(Hex(0xF04030), Hex(0xB81C14), Clamp01((p.y - 1.f) / 25.f)), BevelNormal(sign, p, 1.4f), kGloss);
  });
  const Field inner = Offset(Polygon({{14.f, 8.6f}, {21.2f, 21.6f}, {6.8f, 21.6f}}), 0.6f);
  c.Fill(inner, [&](Vec p) {
    return Lit(Mix(Hex(0xFFF6D0), Hex(0xFFE080), Clamp01((p.y - 8.f) / 14.f)), BevelNormal(inner, p, 1.2f, -0.8f),
               kMatte);
  });
  const Field mark = Union(Capsule({14.f, 11.8f}, {14.f, 16.4f}, 1.25f), Circle({14.f, 19.2f}, 1.3f));
  c.Fill(mark, Hex(0x1C1414));
  return Finish(c, {434, Opaque(kDialog), -1});
}

// ---- skip level: a round button with "play to the end" ----

Image DrawSkipLevel() {
  Canvas c(28, 28, Hex(kDialog), 6);
  const Vec o{13.4f, 13.4f};
  const Field button = Circle(o, 12.9f);
  c.Shadow(button, {1.0f, 1.0f}, 0.8f, 0.45f);
  c.Fill(button, [&](Vec p) {
    const Rgb base = Mix(Hex(0x50C848), Hex(0x1C8424), Clamp01((p.y - 1.f) / 25.f));
    return Lit(base, BevelNormal(button, p, 2.6f, 1.f), kGloss);
  });
  c.Fill(Subtract(button, Offset(button, -0.7f)), Hex(0x0C3A10), 0.6f);
  const Field tri1 = Offset(Polygon({{6.4f, 8.4f}, {12.6f, 13.4f}, {6.4f, 18.4f}}), 0.5f);
  const Field tri2 = Offset(Polygon({{12.2f, 8.4f}, {18.4f, 13.4f}, {12.2f, 18.4f}}), 0.5f);
  const Field bar = Box({18.6f, 7.9f}, {21.2f, 18.9f}, 0.4f);
  const Field symbol = Union(Union(tri1, tri2), bar);
  c.Shadow(symbol, {0.8f, 0.8f}, 0.5f, 0.4f);
  c.Fill(symbol, [&](Vec p) { return Lit(Hex(0xFAFAF4), BevelNormal(symbol, p, 0.9f), kGloss); });
  return Finish(c, {511, Opaque(kDialog), -1});
}

// ---- take back: an arrow that turns back to the left ----

Image DrawTakeBack() {
  Canvas c(32, 32, Hex(kDialog), 6);
  const Vec o{18.4f, 17.8f};
  // A ring from the top round the right to the lower left, the head at its top
  // end pointing back to the left.
  const Field lower_left = Intersect(HalfPlane(o, {1, 0}), HalfPlane(o, {-1, -1}));
  const Field upper_left = Intersect(HalfPlane(o, {1, 0}), HalfPlane(o, {0, 1}));
  const Field arc = Subtract(Ring(o, 8.4f, 3.0f), Union(lower_left, upper_left));
  const Field head = Offset(Polygon({{3.0f, 9.4f}, {13.8f, 1.6f}, {13.8f, 17.2f}}), 0.4f);
  const Field stub = Box({12.4f, 6.4f}, {19.4f, 12.4f});
  const Field arrow = Union(Union(arc, stub), head);
  c.Shadow(arrow, {1.3f, 1.3f}, 1.0f, 0.45f);
  c.Fill(arrow, [&](Vec p) {
    return Lit(Mix(Hex(0x4C86F0), Hex(0x1E48B0), Clamp01((p.y - 2.f) / 26.f)), BevelNormal(arrow, p, 1.7f), kGloss);
  });
  c.Fill(Subtract(arrow, Offset(arrow, -0.7f)), Hex(0x0A1A50), 0.55f);
  return Finish(c, {283, Opaque(kDialog), -1});
}

// ---- hearts ----

// A heart with its point at `tip`, `s` pixels from the point to the top of the lobes.
Field Heart(Vec tip, float s, float tilt) {
  return [=](Vec q) {
    Vec p = Rotate(q, tip, -tilt);
    p = {std::abs(p.x - tip.x) / s, (tip.y - p.y) / s};
    auto dot2 = [](Vec v) { return Dot(v, v); };
    if (p.y + p.x > 1.f) return (std::sqrt(dot2(p - Vec{0.25f, 0.75f})) - std::sqrt(2.f) / 4.f) * s;
    const float m = std::max(p.x + p.y, 0.f) * 0.5f;
    const float d = std::sqrt(std::min(dot2(p - Vec{0.f, 1.f}), dot2(p - Vec{m, m})));
    return (p.x - p.y > 0 ? d : -d) * s;
  };
}

Image DrawHearts() {
  Canvas c(45, 45, Hex(kDialog), 6);
  auto paint = [&](const Field& h, Vec tip, float s, Rgb top, Rgb bottom) {
    c.Shadow(h, {1.4f, 1.5f}, 1.1f, 0.45f);
    c.Fill(h, [&, tip, s](Vec p) {
      const Rgb base = Mix(top, bottom, Clamp01((p.y - tip.y + s) / s));
      return Lit(base, BevelNormal(h, p, s * 0.32f, 1.f), kGloss);
    });
    c.Fill(Subtract(h, Offset(h, -0.7f)), bottom * 0.45f, 0.6f);
  };
  const Vec back_tip{30.4f, 26.0f}, front_tip{18.0f, 40.2f};
  const float back = 16.9f, front = 20.8f;
  paint(Heart(back_tip, back, 0.2f), back_tip, back, Hex(0xFF9AC0), Hex(0xD84080));
  paint(Heart(front_tip, front, -0.12f), front_tip, front, Hex(0xFF5A50), Hex(0xB81020));
  return Finish(c, {515, Opaque(kDialog), 1284});
}

// ---- devil ----

Image DrawDevil() {
  Canvas c(32, 32, Hex(kDialog), 6);
  const Vec o{15.6f, 18.0f};
  const Field head = Ellipse(o, 11.6f, 11.4f);
  // Horns curving up and out from the top of the head.
  const Field horn_l = Offset(Polygon({{6.6f, 10.8f}, {3.0f, 1.4f}, {11.4f, 7.8f}}), 0.6f);
  const Field horn_r = Offset(Polygon({{24.6f, 10.8f}, {28.2f, 1.4f}, {19.8f, 7.8f}}), 0.6f);
  const Field horns = Union(horn_l, horn_r);
  const Field ears = Union(Offset(Polygon({{4.6f, 16.f}, {1.2f, 12.4f}, {5.2f, 21.f}}), 0.5f),
                           Offset(Polygon({{26.6f, 16.f}, {30.0f, 12.4f}, {26.0f, 21.f}}), 0.5f));
  const Field all = Union(Union(head, horns), ears);
  c.Shadow(all, {1.3f, 1.3f}, 1.0f, 0.45f);
  c.Fill(horns, [&](Vec p) {
    return Lit(Mix(Hex(0xFFF0D0), Hex(0xB89A70), Clamp01((p.y - 1.f) / 10.f)), BevelNormal(horns, p, 1.6f), kGloss);
  });
  c.Fill(ears, [&](Vec p) { return Lit(Hex(0xC82018), BevelNormal(ears, p, 1.4f), kGloss); });
  c.Fill(head, [&](Vec p) { return Lit(Hex(0xE02A1C), DomeNormal(o, 14.f, p), kGloss); });
  c.Fill(Subtract(all, Offset(all, -0.7f)), Hex(0x4A0804), 0.6f);
  // Eyebrows slanting down to the middle, yellow eyes with slit pupils.
  c.Fill(Union(Capsule({9.0f, 12.6f}, {14.2f, 15.0f}, 0.95f), Capsule({22.2f, 12.6f}, {17.0f, 15.0f}, 0.95f)),
         Hex(0x3A0806));
  for (Vec e : {Vec{11.6f, 17.0f}, Vec{19.6f, 17.0f}}) {
    const Field eye = Ellipse(e, 2.5f, 1.9f);
    c.Fill(eye, [&](Vec p) { return Lit(Hex(0xFFE040), DomeNormal(e, 3.f, p), kGloss); });
    c.Fill(Ellipse(e, 0.6f, 1.7f), Hex(0x1A0A04));
  }
  // A wide grin with two fangs.
  const Field grin = Intersect(Ellipse({15.6f, 22.4f}, 6.8f, 4.4f), HalfPlane({0, 22.4f}, {0, -1}));
  c.Fill(grin, Hex(0x4A0806));
  const Field fangs = Union(Polygon({{11.6f, 22.4f}, {14.0f, 22.4f}, {12.8f, 25.0f}}),
                            Polygon({{17.2f, 22.4f}, {19.6f, 22.4f}, {18.4f, 25.0f}}));
  c.Fill(fangs, Hex(0xFFFFF4));
  // A pointed little beard.
  const Field beard = Offset(Polygon({{13.6f, 28.4f}, {17.6f, 28.4f}, {15.6f, 31.4f}}), 0.3f);
  c.Fill(beard, [&](Vec p) { return Lit(Hex(0x501008), BevelNormal(beard, p, 0.8f), kMatte); });
  return Finish(c, {595, Opaque(kDialog), -1});
}

}  // namespace

std::vector<PictureJob> DialogJobs() {
  return {
      {"PicCupA", [] { return DrawCups().first; }},
      {"PicCupB", [] { return DrawCups().second; }},
      {"PicCoins", DrawCoins},
      {"PicFloppy", DrawFloppy},
      {"PicWarning", DrawWarning},
      {"PicSkipLevel", DrawSkipLevel},
      {"PicTakeBack", DrawTakeBack},
      {"PicHearts", DrawHearts},
      {"PicDevil", DrawDevil},
  };
}

}  // namespace qb::pictures
