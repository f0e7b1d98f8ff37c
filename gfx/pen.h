// The pen position and the text buffer: where the next picture or text goes,
// and which text the next text-renderer call draws.
#pragma once

#include <string>

namespace qb {

struct Pen {
  float x = 0;
  float y = 0;
};

Pen& ThePen();
std::string& TextBuffer();

inline void SetPen(float x, float y) { ThePen() = {x, y}; }

}  // namespace qb
