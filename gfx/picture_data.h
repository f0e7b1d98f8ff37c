// The pictures as built-in data: per picture, the pixels it draws, row by row,
// each with its offset from the pen position and its colour. Generated at
// build time from data/pictures/*.png (fully transparent pixels are not drawn).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qb {

struct PicturePixel {
  std::uint16_t dx;
  std::uint16_t dy;
  std::uint32_t colour;
};

struct PictureData {
  std::string_view name;  // the file's name without ".png", e.g. "PicWall"
  int width;              // of the image file, transparent margins included
  int height;
  std::span<const PicturePixel> pixels;
};

std::span<const PictureData> AllPictureData();
// The picture of that name; nullptr when the build has none.
const PictureData* FindPictureData(std::string_view name);

}  // namespace qb
