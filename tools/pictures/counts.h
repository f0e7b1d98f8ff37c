// Bringing a drawn picture to an exact number of distinct colours (and of
// background pixels) by changes too small to see: merging the two closest
// colours, or moving one pixel to an unused colour one step away.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/png_io.h"

namespace qb::pictures {

struct Goal {
  int colours = 0;                           // distinct colours, the background's included
  std::optional<std::uint32_t> background;   // never merged into, never made by a split
  int background_pixels = -1;                // exact number of background pixels, or -1
};

struct Counts {
  int pixels = 0;             // opaque pixels (transparent ones are not drawn)
  int colours = 0;
  int background_pixels = 0;  // pixels of the goal's background colour
};

Counts Measure(const qb::tools::Image& img, std::optional<std::uint32_t> background);

// Changes only pixels marked editable (every opaque pixel when the mask is empty).
// Throws std::runtime_error when the goal cannot be reached.
void ReachGoal(qb::tools::Image& img, const Goal& goal, const std::vector<bool>& editable = {});

}  // namespace qb::pictures
