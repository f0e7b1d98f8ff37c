#include "tools/png_io.h"

#include <png.h>

#include <stdexcept>

namespace qb::tools {

Image ReadPng(const std::string& path) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str()))
    throw std::runtime_error(path + ": cannot read PNG: " + img.message);
  img.format = PNG_FORMAT_BGRA;  // little-endian BGRA bytes == 0xAARRGGBB words
  Image out;
  out.width = static_cast<int>(img.width);
  out.height = static_cast<int>(img.height);
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  if (!png_image_finish_read(&img, nullptr, out.pixels.data(), 0, nullptr)) {
    std::string message = img.message;
    png_image_free(&img);
    throw std::runtime_error(path + ": cannot decode PNG: " + message);
  }
  return out;
}

void WritePng(const std::string& path, const Image& image) {
  bool opaque = true;
  for (auto p : image.pixels) opaque = opaque && (p >> 24) == 0xFF;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(image.width);
  img.height = static_cast<png_uint_32>(image.height);
  img.format = PNG_FORMAT_BGRA;
  if (opaque) {
    // Repack as BGR bytes for a smaller file.
    std::vector<std::uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (auto p : image.pixels) {
      rgb.push_back(static_cast<std::uint8_t>(p & 0xFF));
      rgb.push_back(static_cast<std::uint8_t>((p >> 8) & 0xFF));
      rgb.push_back(static_cast<std::uint8_t>((p >> 16) & 0xFF));
    }
    img.format = PNG_FORMAT_BGR;
    if (!png_image_write_to_file(&img, path.c_str(), 0, rgb.data(), 0, nullptr))
      throw std::runtime_error(path + ": cannot write PNG: " + img.message);
    return;
  }
  if (!png_image_write_to_file(&img, path.c_str(), 0, image.pixels.data(), 0, nullptr))
    throw std::runtime_error(path + ": cannot write PNG: " + img.message);
}

}  // namespace qb::tools
