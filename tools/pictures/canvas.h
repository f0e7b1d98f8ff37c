// A small vector painter for drawing the game's pictures: shapes given as
// signed distance fields, painted with anti-aliasing by supersampling, lit by
// one light from the top left. Used only by the picture generator.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/png_io.h"

namespace qb::pictures {

struct Vec {
  float x = 0;
  float y = 0;
};
inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(Vec a, float s) { return {a.x * s, a.y * s}; }
inline float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec a) { return std::sqrt(Dot(a, a)); }
// Turns p about c by the angle a (radians, clockwise on screen).
Vec Rotate(Vec p, Vec c, float a);

struct Vec3 {
  float x = 0;
  float y = 0;
  float z = 1;
};
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Normalize(Vec3 v);

// Colour channels 0..255 as floats, so shading can run past the ends before packing.
struct Rgb {
  float r = 0;
  float g = 0;
  float b = 0;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r / 255.f, a.g * b.g / 255.f, a.b * b.b / 255.f}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a + (b - a) * t; }
Rgb Hex(std::uint32_t rgb);
std::uint32_t Pack(Rgb c);  // rounded and clamped, alpha 0xFF

float Clamp01(float v);
float Smooth(float edge0, float edge1, float v);  // smoothstep

// ---- shapes: a field is negative inside, zero on the outline, in pixels ----
using Field = std::function<float(Vec)>;
Field Circle(Vec centre, float radius);
Field Ellipse(Vec centre, float rx, float ry);
Field Box(Vec min, Vec max, float corner_radius = 0);  // corners of the outline, not pixel centres
Field Capsule(Vec a, Vec b, float radius);
Field Polygon(std::vector<Vec> points);  // any simple polygon
Field Ring(Vec centre, float radius, float half_width);
Field HalfPlane(Vec point, Vec outward_normal);  // inside is where (p - point)·n < 0
Field Union(Field a, Field b);
Field Intersect(Field a, Field b);
Field Subtract(Field a, Field b);
Field Offset(Field a, float by);             // grows the shape by `by` pixels
Field Moved(Field a, Vec by);
// The shape turned about c by the angle a.
Field Rotated(Field a, Vec c, float angle);

// ---- light: one lamp at the top left, in front of the picture ----
Vec3 LightDir();
// Normal of a surface that is flat inside the shape and falls off towards the
// outline over `width` pixels; rounded (soft) or straight (chamfered).
Vec3 BevelNormal(const Field& shape, Vec p, float width, float height = 1.f, bool rounded = true);
// Normal of a dome: a sphere-like bulge over the shape.
Vec3 DomeNormal(Vec centre, float radius, Vec p);
struct Material {
  float ambient = 0.5f;
  float diffuse = 0.6f;
  float specular = 0.25f;
  float shininess = 18.f;
};
Rgb Lit(Rgb base, Vec3 normal, const Material& m = {});

// ---- texture ----
float Hash(int x, int y, int seed);        // 0..1
float Noise(Vec p, int seed);              // smooth value noise, 0..1
float Fbm(Vec p, int seed, int octaves);   // summed noise, 0..1

using Shader = std::function<Rgb(Vec)>;

class Canvas {
 public:
  Canvas(int width, int height, Rgb background, int samples = 5);
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  Rgb at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

  // Paints the shape, the shader's colour taken per sample; `opacity` scales it.
  void Fill(const Field& shape, const Shader& shade, float opacity = 1.f);
  void Fill(const Field& shape, Rgb colour, float opacity = 1.f);
  // Darkens what lies under a soft copy of the shape moved by `offset`.
  void Shadow(const Field& shape, Vec offset, float blur, float strength);
  // Lightens or darkens by amount(p) towards `tone` inside the shape (glows, tints).
  void Blend(const Field& shape, const std::function<float(Vec)>& amount, Rgb tone);

  qb::tools::Image ToImage() const;

 private:
  int width_;
  int height_;
  int samples_;
  std::vector<Rgb> pixels_;
};

}  // namespace qb::pictures
