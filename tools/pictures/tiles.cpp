// The board tiles: wall, target, box, box on target, the worker figure, floor.
#include <algorithm>
#include <cmath>

#include "tools/pictures/picture_set.h"

namespace qb::pictures {

namespace {

using qb::tools::Image;

// ---- wall: a block of bricks, 38 x 38, drawn one pixel in from the cell's corner ----

struct Brick {
  float x0, y0, x1, y1;
};

std::vector<Brick> WallBricks() {
  // Four courses, the joints one pixel wide; alternate courses are set off by half a brick.
  const float rows[4][2] = {{0, 9}, {10, 18}, {19, 28}, {29, 38}};
  std::vector<Brick> bricks;
  for (int r = 0; r < 4; ++r) {
    const float y0 = rows[r][0], y1 = rows[r][1];
    if (r % 2 == 0) {
      bricks.push_back({0, y0, 18, y1});
      bricks.push_back({19, y0, 38, y1});
    } else {
      bricks.push_back({0, y0, 8, y1});
      bricks.push_back({9, y0, 28, y1});
      bricks.push_back({29, y0, 38, y1});
    }
  }
  return bricks;
}

Image DrawWall() {
  const auto bricks = WallBricks();
  Canvas c(38, 38, Hex(0x8A8378), 6);
  // The joints: rough mortar, in the shade of the bricks above and to the left.
  Field all = Box({-9, -9}, {-8, -8});
  for (const auto& b : bricks) all = Union(all, Box({b.x0, b.y0}, {b.x1, b.y1}, 1.2f));
  c.Fill(Box({0, 0}, {38, 38}), [&](Vec p) {
    const float grain = Fbm(p * 1.7f, 11, 3);
    const float shade = all({p.x - 1.0f, p.y - 1.0f}) < 0 ? 0.58f : 1.0f;
    return Hex(0x9C9486) * ((0.82f + 0.3f * grain) * shade);
  });
  int seed = 100;
  for (const auto& b : bricks) {
    ++seed;
    const float tone = 0.88f + 0.22f * Hash(seed, 1, 7);
    const float warm = Hash(seed, 2, 7);
    const Rgb base = Mix(Hex(0xA8462E), Hex(0xBC643C), warm) * tone;
    const Field shape = Box({b.x0, b.y0}, {b.x1, b.y1}, 1.2f);
    c.Fill(shape, [&, base, seed](Vec p) {
      Vec3 n = BevelNormal(shape, p, 1.5f, 1.6f);
      // A rough face: the noise tilts the surface a little.
      const float e = 0.5f;
      const float gx = Fbm({(p.x + e) * 0.9f, p.y * 1.3f}, seed, 3) - Fbm({(p.x - e) * 0.9f, p.y * 1.3f}, seed, 3);
      const float gy = Fbm({p.x * 0.9f, (p.y + e) * 1.3f}, seed, 3) - Fbm({p.x * 0.9f, (p.y - e) * 1.3f}, seed, 3);
      n = Normalize({n.x - gx * 0.9f, n.y - gy * 0.9f, n.z});
      const float speckle = Fbm(p * 2.3f, seed + 50, 2);
      Rgb col = base * (0.86f + 0.26f * speckle);
      // Small pits and lighter grains of sand.
      const float h = Hash(static_cast<int>(std::floor(p.x * 1.5f)), static_cast<int>(std::floor(p.y * 1.5f)), seed);
      if (h > 0.95f) col = col * 0.78f;
      else if (h < 0.03f) col = Mix(col, Hex(0xE0A070), 0.3f);
      return Lit(col, n, {0.5f, 0.65f, 0.14f, 10.f});
    });
  }
  // Placed at offsets 1..38; the two top corners are cut off by two pixels each.
  const Image local = c.ToImage();
  Image img;
  img.width = img.height = 39;
  img.pixels.assign(39 * 39, 0);
  for (int y = 0; y < 38; ++y)
    for (int x = 0; x < 38; ++x) img.at(x + 1, y + 1) = local.at(x, y);
  img.at(1, 1) = img.at(1, 2) = img.at(38, 1) = img.at(38, 2) = 0;
  ReachGoal(img, {1237, std::nullopt, -1});
  return img;
}


// ---- target: a marker let into the floor ----

void PaintTargetMarker(Canvas& c, Vec o, float glow) {
  // A shallow round socket in the floor: shadowed on its upper left rim.
  const Field socket = Circle(o, 14.5f);
  c.Fill(socket, [&](Vec p) {
    const Vec3 n = BevelNormal(socket, p, 2.2f, -1.1f);
    const float r = Length(p - o) / 14.5f;
    const Rgb floor = Mix(Hex(0x008C90), Hex(0x00A4A6), r * r);
    return Lit(floor, n, {0.55f, 0.6f, 0.1f, 12.f});
  });
  // The ring and the dot, painted in warm orange, a little proud of the socket.
  const Field ring = Ring(o, 9.6f, 2.1f);
  const Field dot = Circle(o, 3.6f);
  const Field mark = Union(ring, dot);
  c.Shadow(mark, {0.9f, 0.9f}, 0.9f, 0.35f);
  const Rgb paint = Mix(Hex(0xF06A1C), Hex(0xFFB030), glow);
  c.Fill(ring, [&](Vec p) { return Lit(paint, BevelNormal(ring, p, 1.4f, 0.9f), {0.55f, 0.6f, 0.35f, 16.f}); });
  c.Fill(dot, [&](Vec p) { return Lit(paint, DomeNormal(o, 4.2f, p), {0.55f, 0.6f, 0.45f, 14.f}); });
}

Image DrawTarget() {
  Canvas c(40, 39, Hex(kCyan), 6);
  PaintTargetMarker(c, {20, 19.5f}, 0.f);
  return Finish(c, {426, 0xFF000000u | kCyan, -1});
}

// ---- the crate ----

struct Wood {
  Rgb frame;   // the boards round the edge and the brace
  Rgb panel;   // the planks behind
  Rgb grain;   // the grain's dark streaks
  Rgb edge;    // the crate's outline
};

// Wood grain along a board: streaks that run with the board and waver a little.
Rgb Grained(Rgb base, Rgb streak, Vec p, bool along_x, int seed) {
  const Vec q = along_x ? Vec{p.x * 0.22f, p.y * 1.9f} : Vec{p.y * 0.22f, p.x * 1.9f};
  const float waver = Fbm({q.x * 1.5f, q.y * 0.3f}, seed + 3, 2) * 2.5f;
  const float lines = 0.5f + 0.5f * std::sin((q.y + waver) * 3.1f);
  const float fine = Fbm(p * 1.3f, seed, 3);
  Rgb c = Mix(base, streak, 0.45f * lines * lines);
  return c * (0.9f + 0.2f * fine);
}

void PaintCrate(Canvas& c, const Wood& w) {
  const float x0 = 2, y0 = 2, x1 = 37, y1 = 37, t = 5;
  const Field body = Box({x0, y0}, {x1, y1}, 1.6f);
  // The shadow fades out before the cell's untouched last column and row.
  c.Shadow(body, {1.0f, 1.0f}, 0.8f, 0.45f);

  // The planks behind the frame, recessed and in the frame's shadow.
  const Field inner = Box({x0 + t, y0 + t}, {x1 - t, y1 - t});
  const float pw = (x1 - x0 - 2 * t) / 3;
  const Field brace = Intersect(Capsule({x0 + t - 2, y1 - t + 2}, {x1 - t + 2, y0 + t - 2}, 2.6f), inner);
  c.Fill(inner, [&](Vec p) {
    const int k = std::clamp(static_cast<int>((p.x - x0 - t) / pw), 0, 2);
    const float left = x0 + t + k * pw;
    const Field plank = Box({left, y0 + t - 1}, {left + pw, y1 - t + 1}, 0.6f);
    Rgb col = Grained(w.panel * (0.94f + 0.1f * Hash(k, 3, 9)), w.grain, p, false, 20 + k);
    col = Lit(col, BevelNormal(plank, p, 1.0f, 0.8f), {0.55f, 0.55f, 0.05f, 8.f});
    // The frame and the brace throw shadow down and to the right.
    float shade = 1.f;
    if (p.y < y0 + t + 2.2f) shade *= 0.62f + 0.38f * Smooth(y0 + t, y0 + t + 2.2f, p.y);
    if (p.x < x0 + t + 2.2f) shade *= 0.62f + 0.38f * Smooth(x0 + t, x0 + t + 2.2f, p.x);
    if (brace({p.x - 1.6f, p.y - 1.6f}) < 0 && brace(p) >= 0) shade *= 0.68f;
    return col * shade;
  });

  // The brace, proud of the planks.
  c.Fill(brace, [&](Vec p) {
    const Vec along = Rotate(p, {19.5f, 19.5f}, 0.785398f);
    Rgb col = Grained(w.frame * 0.97f, w.grain, along, true, 40);
    return Lit(col, BevelNormal(Capsule({x0 + t - 2, y1 - t + 2}, {x1 - t + 2, y0 + t - 2}, 2.6f), p, 1.2f, 1.f),
               {0.55f, 0.6f, 0.2f, 12.f});
  });

  // The four boards of the frame, each bevelled on its own so the joints show.
  struct Board {
    Vec a, b;
    bool along_x;
  };
  const Board boards[] = {{{x0, y0}, {x1, y0 + t}, true},
                          {{x0, y1 - t}, {x1, y1}, true},
                          {{x0, y0 + t}, {x0 + t, y1 - t}, false},
                          {{x1 - t, y0 + t}, {x1, y1 - t}, false}};
  int seed = 60;
  for (const auto& b : boards) {
    ++seed;
    const Field board = Intersect(Box(b.a, b.b, 0.5f), body);
    const Rgb base = w.frame * (0.95f + 0.1f * Hash(seed, 1, 3));
    c.Fill(board, [&, seed](Vec p) {
      Rgb col = Grained(base, w.grain, p, b.along_x, seed);
      return Lit(col, BevelNormal(board, p, 1.3f, 1.f), {0.55f, 0.6f, 0.2f, 12.f});
    });
  }
  // Nails at the corners.
  for (Vec n : {Vec{x0 + 2.5f, y0 + 2.5f}, Vec{x1 - 2.5f, y0 + 2.5f}, Vec{x0 + 2.5f, y1 - 2.5f},
                Vec{x1 - 2.5f, y1 - 2.5f}}) {
    c.Fill(Circle(n, 1.05f), [&](Vec p) { return Lit(Hex(0x5A5550), DomeNormal(n, 1.3f, p), {0.5f, 0.6f, 0.5f, 10.f}); });
  }
  // A dark edge so the crate stands out from the floor.
  c.Fill(Subtract(body, Offset(body, -0.8f)), w.edge, 0.8f);
}

const Wood kPlainWood{Hex(0xC98E4E), Hex(0xA8703A), Hex(0x6E4420), Hex(0x3E2410)};

Image DrawBox() {
  Canvas c(39, 40, Hex(kCyan), 6);
  PaintCrate(c, kPlainWood);
  return Finish(c, {1058, 0xFF000000u | kCyan, 197});
}

Image DrawBoxOnTarget() {
  Canvas c(40, 39, Hex(kCyan), 6);
  // The crate stands on the marker: it takes on the marker's warm glow, and the
  // marker's ring and dot show on its face.
  const Wood lit{Hex(0xE6B04A), Hex(0xD08A2E), Hex(0x8A5418), Hex(0x4A2A08)};
  PaintCrate(c, lit);
  const Vec o{19.5f, 19.5f};
  const Field ring = Ring(o, 5.2f, 1.5f);
  const Field dot = Circle(o, 2.0f);
  const Field mark = Union(ring, dot);
  c.Shadow(mark, {0.8f, 0.8f}, 0.7f, 0.45f);
  c.Fill(Offset(mark, 0.6f), Hex(0x6A2A08), 0.7f);
  c.Fill(ring, [&](Vec p) { return Lit(Hex(0xF86A1C), BevelNormal(ring, p, 1.1f, 0.9f), {0.55f, 0.6f, 0.4f, 16.f}); });
  c.Fill(dot, [&](Vec p) { return Lit(Hex(0xF86A1C), DomeNormal(o, 2.6f, p), {0.55f, 0.6f, 0.5f, 14.f}); });
  return Finish(c, {1034, 0xFF000000u | kCyan, -1});
}

// ---- the worker ----

struct FigureParts {
  Field hat, brim, head, ears, torso, bib, straps, arms, gloves, legs, boots, all;
};

FigureParts WorkerShapes() {
  FigureParts f;
  f.hat = Intersect(Circle({16, 10.8f}, 7.4f), HalfPlane({0, 10.2f}, {0, 1}));
  f.brim = Box({7.0f, 9.2f}, {25.0f, 11.6f}, 1.1f);
  f.head = Circle({16, 13.6f}, 5.9f);
  f.ears = Union(Circle({10.3f, 14.0f}, 1.5f), Circle({21.7f, 14.0f}, 1.5f));
  f.torso = Box({8.6f, 18.2f}, {23.4f, 29.5f}, 3.4f);
  f.bib = Union(Box({11.2f, 21.4f}, {20.8f, 30.0f}, 1.0f), Box({9.8f, 26.0f}, {22.2f, 30.0f}, 1.0f));
  f.straps = Union(Capsule({12.0f, 21.8f}, {10.9f, 18.3f}, 1.05f), Capsule({20.0f, 21.8f}, {21.1f, 18.3f}, 1.05f));
  f.arms = Union(Capsule({9.6f, 20.4f}, {7.1f, 27.4f}, 2.45f), Capsule({22.4f, 20.4f}, {24.9f, 27.4f}, 2.45f));
  f.gloves = Union(Circle({6.9f, 28.9f}, 2.35f), Circle({25.1f, 28.9f}, 2.35f));
  f.legs = Union(Box({10.0f, 28.0f}, {15.4f, 35.0f}, 1.0f), Box({16.6f, 28.0f}, {22.0f, 35.0f}, 1.0f));
  f.boots = Union(Box({8.4f, 33.6f}, {15.4f, 38.4f}, 1.6f), Box({16.6f, 33.6f}, {23.6f, 38.4f}, 1.6f));
  f.all = Union(Union(Union(f.hat, f.brim), Union(f.head, f.ears)),
                Union(Union(f.torso, f.arms), Union(Union(f.gloves, f.legs), f.boots)));
  return f;
}

Image DrawFigure() {
  // Drawn one row taller and cut at the top, so the feet stand a pixel higher.
  Canvas c(32, 41, Hex(kCyan), 6);
  const FigureParts f = WorkerShapes();
  // A soft shadow on the floor, down and to the right of the light.
  c.Shadow(Ellipse({17.2f, 37.6f}, 9.6f, 1.5f), {0, 0}, 0.9f, 0.4f);
  c.Shadow(f.all, {1.4f, 1.0f}, 1.5f, 0.22f);

  const Material cloth{0.5f, 0.65f, 0.08f, 8.f};
  const Material shiny{0.5f, 0.6f, 0.55f, 22.f};
  const Material skin{0.55f, 0.55f, 0.15f, 10.f};
  auto weave = [](Vec p, int seed) { return 0.93f + 0.14f * Fbm(p * 1.8f, seed, 2); };

  c.Fill(f.boots, [&](Vec p) { return Lit(Hex(0x5C3A22), BevelNormal(f.boots, p, 1.8f, 1.2f), shiny); });
  c.Fill(f.legs, [&](Vec p) {
    return Lit(Hex(0x2C5CB4) * weave(p, 1), BevelNormal(f.legs, p, 2.2f, 1.2f), cloth);
  });
  c.Fill(f.torso, [&](Vec p) {
    return Lit(Hex(0xD8442A) * weave(p, 2), BevelNormal(f.torso, p, 3.0f, 1.2f), cloth);
  });
  c.Fill(f.bib, [&](Vec p) {
    return Lit(Hex(0x2E60B8) * weave(p, 3), BevelNormal(Intersect(f.bib, f.torso), p, 2.4f, 1.2f), cloth);
  });
  c.Fill(f.straps, [&](Vec p) { return Lit(Hex(0x2E60B8), BevelNormal(f.straps, p, 1.0f, 1.f), cloth); });
  for (Vec b : {Vec{12.6f, 22.6f}, Vec{19.4f, 22.6f}})
    c.Fill(Circle(b, 0.95f), [&](Vec p) { return Lit(Hex(0xF0C040), DomeNormal(b, 1.1f, p), shiny); });
  // A pocket on the bib.
  c.Fill(Subtract(Box({13.6f, 24.4f}, {18.4f, 27.6f}, 0.8f), Box({14.4f, 25.2f}, {17.6f, 27.6f}, 0.5f)),
         Hex(0x1E4488), 0.8f);
  c.Fill(f.arms, [&](Vec p) {
    return Lit(Hex(0xD8442A) * weave(p, 4), BevelNormal(f.arms, p, 2.2f, 1.3f), cloth);
  });
  c.Fill(f.gloves, [&](Vec p) {
    const Vec g = p.x < 16 ? Vec{6.9f, 28.9f} : Vec{25.1f, 28.9f};
    return Lit(Hex(0xE9B860), DomeNormal(g, 2.8f, p), skin);
  });
  c.Fill(f.ears, [&](Vec p) { return Lit(Hex(0xE8A878), BevelNormal(f.ears, p, 1.2f, 1.f), skin); });
  c.Fill(f.head, [&](Vec p) {
    Rgb col = Hex(0xF4C494);
    // Rosy cheeks.
    const float cheek = std::max(1.f - Length(p - Vec{12.6f, 16.0f}) / 1.8f, 1.f - Length(p - Vec{19.4f, 16.0f}) / 1.8f);
    col = Mix(col, Hex(0xF08A78), 0.45f * Clamp01(cheek));
    return Lit(col, DomeNormal({16, 13.6f}, 7.2f, p), skin);
  });
  // The hard hat throws a shadow over the brow.
  c.Shadow(Box({7.0f, 9.2f}, {25.0f, 11.6f}, 1.1f), {0.3f, 1.2f}, 0.7f, 0.3f);
  // Face: eyes with a glint, a small nose, a smile.
  for (Vec e : {Vec{13.7f, 13.9f}, Vec{18.3f, 13.9f}}) {
    c.Fill(Ellipse(e, 0.85f, 1.25f), Hex(0x2A1A14));
    c.Fill(Circle({e.x - 0.3f, e.y - 0.45f}, 0.35f), Hex(0xFFFFFF), 0.8f);
  }
  c.Fill(Ellipse({16.3f, 15.9f}, 0.9f, 0.7f), Hex(0xD8946A), 0.7f);
  c.Fill(Intersect(Ring({16, 15.6f}, 2.4f, 0.42f), HalfPlane({0, 16.9f}, {0, -1})), Hex(0x8A3A2A), 0.9f);
  // The hat: a shiny yellow shell with a ridge, and its brim.
  c.Fill(f.hat, [&](Vec p) { return Lit(Hex(0xF4C21C), DomeNormal({16, 10.4f}, 7.8f, p), shiny); });
  c.Fill(Intersect(Capsule({16, 3.8f}, {16, 9.8f}, 1.0f), f.hat),
         [&](Vec p) { return Lit(Hex(0xFFD84A), BevelNormal(Capsule({16, 3.8f}, {16, 9.8f}, 1.0f), p, 0.9f), shiny); });
  c.Fill(f.brim, [&](Vec p) { return Lit(Hex(0xE8B414), BevelNormal(f.brim, p, 1.1f, 1.f), shiny); });
  // A thin dark line round the whole figure keeps it clear on the floor.
  c.Fill(Subtract(Offset(f.all, 0.55f), f.all), Hex(0x1A2A30), 0.55f);
  const Image tall = c.ToImage();
  Image img;
  img.width = 32;
  img.height = 40;
  img.pixels.assign(tall.pixels.begin() + 32, tall.pixels.end());
  ReachGoal(img, {950, 0xFF000000u | kCyan, -1});
  return img;
}

Image DrawFloor() {
  Canvas c(40, 40, Hex(kCyan));
  return Finish(c, {1, 0xFF000000u | kCyan, -1});
}

}  // namespace

std::vector<PictureJob> TileJobs() {
  return {
      {"PicWall", DrawWall},
      {"PicTarget", DrawTarget},
      {"PicBox", DrawBox},
      {"PicBoxOnTarget", DrawBoxOnTarget},
      {"PicFigure", DrawFigure},
      {"PicFloor", DrawFloor},
  };
}

}  // namespace qb::pictures
