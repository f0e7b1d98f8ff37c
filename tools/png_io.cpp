#include "tools/png_io.h"

#include <png.h>

#include <stdexcept>

namespace qb::tools {

// libpng's simplified API reads and writes bytes; pixels are put together
// from them and taken apart into them here, so that the files mean the same
// on a machine of either byte order.
Image ReadPng(const std::string& path) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str()))
    throw std::runtime_error(path + ": cannot read PNG: " + img.message);
  img.format = PNG_FORMAT_RGBA;
  Image out;
  out.width = static_cast<int>(img.width);
  out.height = static_cast<int>(img.height);
  const std::size_t count = static_cast<std::size_t>(out.width) * out.height;
  std::vector<std::uint8_t> rgba(count * 4);
  if (!png_image_finish_read(&img, nullptr, rgba.data(), 0, nullptr)) {
    std::string message = img.message;
    png_image_free(&img);
    throw std::runtime_error(path + ": cannot decode PNG: " + message);
  }
  out.pixels.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = &rgba[i * 4];
    out.pixels[i] = std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
  }
  return out;
}

void WritePng(const std::string& path, const Image& image) {
  bool opaque = true;
  for (auto p : image.pixels) opaque = opaque && (p >> 24) == 0xFF;
  // RGB bytes when every pixel is opaque, for a smaller file; RGBA otherwise.
  const std::size_t channels = opaque ? 3 : 4;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(image.pixels.size() * channels);
  for (auto p : image.pixels) {
    bytes.push_back(static_cast<std::uint8_t>(p >> 16));
    bytes.push_back(static_cast<std::uint8_t>(p >> 8));
    bytes.push_back(static_cast<std::uint8_t>(p));
    if (!opaque) bytes.push_back(static_cast<std::uint8_t>(p >> 24));
  }
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(image.width);
  img.height = static_cast<png_uint_32>(image.height);
  img.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&img, path.c_str(), 0, bytes.data(), 0, nullptr))
    throw std::runtime_error(path + ": cannot write PNG: " + img.message);
}

}  // namespace qb::tools
