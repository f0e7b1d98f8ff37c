#include "gfx/system_font.h"

namespace qb::data::generated {
// The row bytes of data/fonts/system.txt, built in by qb_embed_data.
extern const unsigned char kSystemFont[256][8];
}  // namespace qb::data::generated

namespace qb {

std::uint8_t SystemFontRow(std::uint8_t code, int row) {
  if (row < 0 || row > 7) return 0;
  return data::generated::kSystemFont[code][row];
}

}  // namespace qb
