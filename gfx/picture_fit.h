// Where the picture stands in a window area larger than itself (full screen,
// a maximised window): grown by the largest whole factor that fits, centred,
// the rest black. Every desktop back end shows it so.
#pragma once

#include <algorithm>

#include "gfx/surface.h"

namespace qb {

struct PictureRect {
  int x, y, w, h;
  int factor;
};

inline PictureRect FitPicture(int width, int height) {
  const int factor = std::max(1, std::min(width / kSurfaceWidth, height / kSurfaceHeight));
  return {(width - kSurfaceWidth * factor) / 2, (height - kSurfaceHeight * factor) / 2, kSurfaceWidth * factor,
          kSurfaceHeight * factor, factor};
}

}  // namespace qb
