// A picture as data: the pixels it draws, row by row, each with its offset
// from the pen position and its colour. The built-in ones are generated at
// build time from data/pictures/*.png into the table stored::kPictures
// ("gfx/stored_pictures.h"); fully transparent pixels are not drawn.
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

}  // namespace qb
