#include "tools/pictures/picture_set.h"

namespace qb::pictures {

qb::tools::Image Finish(const Canvas& canvas, const Goal& goal) {
  qb::tools::Image img = canvas.ToImage();
  ReachGoal(img, goal);
  return img;
}

Rgb Bevelled(Rgb base, const Field& shape, Vec p, float width, const Material& m, float height) {
  return Lit(base, BevelNormal(shape, p, width, height), m);
}

}  // namespace qb::pictures
