#include "tools/pictures/canvas.h"

#include <algorithm>
#include <utility>

namespace qb::pictures {

Vec Rotate(Vec p, Vec c, float a) {
  const float s = std::sin(a), k = std::cos(a);
  const Vec d = p - c;
  return {c.x + d.x * k - d.y * s, c.y + d.x * s + d.y * k};
}

Vec3 Normalize(Vec3 v) {
  const float l = std::sqrt(Dot(v, v));
  return {v.x / l, v.y / l, v.z / l};
}

Rgb Hex(std::uint32_t rgb) {
  return {static_cast<float>((rgb >> 16) & 0xFF), static_cast<float>((rgb >> 8) & 0xFF),
          static_cast<float>(rgb & 0xFF)};
}

std::uint32_t Pack(Rgb c) {
  auto ch = [](float v) {
    const float r = std::floor(v + 0.5f);
    return static_cast<std::uint32_t>(std::clamp(r, 0.f, 255.f));
  };
  return 0xFF000000u | ch(c.r) << 16 | ch(c.g) << 8 | ch(c.b);
}

float Clamp01(float v) { return std::clamp(v, 0.f, 1.f); }

float Smooth(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

// ---- shapes ----

Field Circle(Vec centre, float radius) {
  return [=](Vec p) { return Length(p - centre) - radius; };
}

Field Ellipse(Vec centre, float rx, float ry) {
  return [=](Vec p) {
    const Vec d = p - centre;
    const float k = std::sqrt(d.x * d.x / (rx * rx) + d.y * d.y / (ry * ry));
    return (k - 1.f) * std::min(rx, ry);
  };
}

Field Box(Vec min, Vec max, float corner_radius) {
  const Vec c = (min + max) * 0.5f;
  const Vec half = (max - min) * 0.5f;
  return [=](Vec p) {
    const float qx = std::abs(p.x - c.x) - half.x + corner_radius;
    const float qy = std::abs(p.y - c.y) - half.y + corner_radius;
    const float outside = std::sqrt(std::max(qx, 0.f) * std::max(qx, 0.f) + std::max(qy, 0.f) * std::max(qy, 0.f));
    return outside + std::min(std::max(qx, qy), 0.f) - corner_radius;
  };
}

Field Capsule(Vec a, Vec b, float radius) {
  return [=](Vec p) {
    const Vec pa = p - a, ba = b - a;
    const float h = Clamp01(Dot(pa, ba) / Dot(ba, ba));
    return Length(pa - ba * h) - radius;
  };
}

Field Polygon(std::vector<Vec> v) {
  return [v = std::move(v)](Vec p) {
    float d = Dot(p - v[0], p - v[0]);
    float s = 1;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
      const Vec e = v[j] - v[i];
      const Vec w = p - v[i];
      const Vec b = w - e * Clamp01(Dot(w, e) / Dot(e, e));
      d = std::min(d, Dot(b, b));
      const bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
  };
}

Field Ring(Vec centre, float radius, float half_width) {
  return [=](Vec p) { return std::abs(Length(p - centre) - radius) - half_width; };
}

Field HalfPlane(Vec point, Vec n) {
  const float l = Length(n);
  const Vec u = n * (1.f / l);
  return [=](Vec p) { return Dot(p - point, u); };
}

Field Union(Field a, Field b) {
  return [a = std::move(a), b = std::move(b)](Vec p) { return std::min(a(p), b(p)); };
}
Field Intersect(Field a, Field b) {
  return [a = std::move(a), b = std::move(b)](Vec p) { return std::max(a(p), b(p)); };
}
Field Subtract(Field a, Field b) {
  return [a = std::move(a), b = std::move(b)](Vec p) { return std::max(a(p), -b(p)); };
}
Field Offset(Field a, float by) {
  return [a = std::move(a), by](Vec p) { return a(p) - by; };
}
Field Moved(Field a, Vec by) {
  return [a = std::move(a), by](Vec p) { return a(p - by); };
}
Field Rotated(Field a, Vec c, float angle) {
  return [a = std::move(a), c, angle](Vec p) { return a(Rotate(p, c, -angle)); };
}

// ---- light ----

Vec3 LightDir() { return Normalize({-1.f, -1.2f, 1.5f}); }

Vec3 BevelNormal(const Field& shape, Vec p, float width, float height, bool rounded) {
  auto h = [&](Vec q) {
    const float t = Clamp01(-shape(q) / width);
    return height * width * (rounded ? std::sqrt(1.f - (1.f - t) * (1.f - t)) : t);
  };
  const float e = 0.35f;
  const float dx = h({p.x + e, p.y}) - h({p.x - e, p.y});
  const float dy = h({p.x, p.y + e}) - h({p.x, p.y - e});
  return Normalize({-dx / (2 * e), -dy / (2 * e), 1.f});
}

Vec3 DomeNormal(Vec centre, float radius, Vec p) {
  const Vec d = (p - centre) * (1.f / radius);
  const float r2 = std::min(Dot(d, d), 0.98f);
  return Normalize({d.x, d.y, std::sqrt(1.f - r2)});
}

Rgb Lit(Rgb base, Vec3 n, const Material& m) {
  const Vec3 l = LightDir();
  const float diffuse = std::max(0.f, Dot(n, l));
  const Vec3 half = Normalize({l.x, l.y, l.z + 1.f});
  const float highlight = std::pow(std::max(0.f, Dot(n, half)), m.shininess);
  // Normalised so that a flat face keeps its base colour.
  const float flat = m.ambient + m.diffuse * l.z;
  const Rgb c = base * ((m.ambient + m.diffuse * diffuse) / flat);
  return c + Rgb{255, 255, 255} * (m.specular * highlight);
}

// ---- texture ----

float Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float Noise(Vec p, int seed) {
  const float fx = std::floor(p.x), fy = std::floor(p.y);
  const int x = static_cast<int>(fx), y = static_cast<int>(fy);
  float tx = p.x - fx, ty = p.y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const float a = Hash(x, y, seed), b = Hash(x + 1, y, seed);
  const float c = Hash(x, y + 1, seed), d = Hash(x + 1, y + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(Vec p, int seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * Noise(p, seed + i * 17);
    norm += amp;
    p = p * 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

// ---- canvas ----

Canvas::Canvas(int width, int height, Rgb background, int samples)
    : width_(width), height_(height), samples_(samples),
      pixels_(static_cast<std::size_t>(width) * height, background) {}

void Canvas::Fill(const Field& shape, const Shader& shade, float opacity) {
  const int n = samples_;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      // Cheap rejection: the pixel's centre lies well outside the shape.
      if (shape({x + 0.5f, y + 0.5f}) > 1.f) continue;
      Rgb sum;
      int inside = 0;
      for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
          const Vec p{x + (i + 0.5f) / n, y + (j + 0.5f) / n};
          if (shape(p) < 0) {
            sum = sum + shade(p);
            ++inside;
          }
        }
      }
      if (inside == 0) continue;
      const float cover = opacity * static_cast<float>(inside) / static_cast<float>(n * n);
      Rgb& dst = at(x, y);
      dst = Mix(dst, sum * (1.f / static_cast<float>(inside)), cover);
    }
  }
}

void Canvas::Fill(const Field& shape, Rgb colour, float opacity) {
  Fill(shape, [colour](Vec) { return colour; }, opacity);
}

void Canvas::Shadow(const Field& shape, Vec offset, float blur, float strength) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Vec p{x + 0.5f - offset.x, y + 0.5f - offset.y};
      const float d = shape(p);
      const float a = strength * (1.f - Smooth(-blur, blur, d));
      if (a <= 0) continue;
      Rgb& dst = at(x, y);
      dst = dst * (1.f - a);
    }
  }
}

void Canvas::Blend(const Field& shape, const std::function<float(Vec)>& amount, Rgb tone) {
  const int n = samples_;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      float a = 0;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
          const Vec p{x + (i + 0.5f) / n, y + (j + 0.5f) / n};
          if (shape(p) < 0) a += amount(p);
        }
      a /= static_cast<float>(n * n);
      if (a == 0) continue;
      Rgb& dst = at(x, y);
      dst = Mix(dst, tone, a);
    }
  }
}

qb::tools::Image Canvas::ToImage() const {
  qb::tools::Image img;
  img.width = width_;
  img.height = height_;
  img.pixels.reserve(pixels_.size());
  for (const Rgb& c : pixels_) img.pixels.push_back(Pack(c));
  return img;
}

}  // namespace qb::pictures
