// Reading and writing PNG files for the build-time and documentation tools
// (never used by the game itself, which reads no files).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb::tools {

// An RGBA image, one 0xAARRGGBB value per pixel, row by row.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Reads any PNG as 8-bit RGBA. Throws std::runtime_error naming the file.
Image ReadPng(const std::string& path);
// Writes 8-bit RGBA (or RGB when every pixel is opaque). Throws on failure.
void WritePng(const std::string& path, const Image& image);

}  // namespace qb::tools
