#include "gfx/pen.h"

namespace qb {

Pen& ThePen() {
  static Pen pen;
  return pen;
}

std::string& TextBuffer() {
  static std::string text;
  return text;
}

}  // namespace qb
