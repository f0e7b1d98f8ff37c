#include "tools/pictures/picture_set.h"

#include <iostream>

namespace qb::pictures {

bool& Verbose() {
  static bool verbose = false;
  return verbose;
}

qb::tools::Image Finish(const Canvas& canvas, const Goal& goal) {
  qb::tools::Image img = canvas.ToImage();
  if (Verbose()) {
    const Counts before = Measure(img, goal.background);
    std::cerr << "  as drawn: " << before.colours << " colours, " << before.pixels - before.background_pixels
              << " pixels off the background\n";
  }
  ReachGoal(img, goal);
  return img;
}

Rgb Bevelled(Rgb base, const Field& shape, Vec p, float width, const Material& m, float height) {
  return Lit(base, BevelNormal(shape, p, width, height), m);
}

}  // namespace qb::pictures
