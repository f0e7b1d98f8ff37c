// The 8 x 8 system font (code page 437) that DrawSystemText uses.
#pragma once

#include <cstdint>

namespace qb {

// Row 0..7 of the glyph for a code page 437 byte: bit 7 is the leftmost pixel.
// A byte without a glyph yields 0 for every row.
std::uint8_t SystemFontRow(std::uint8_t code, int row);

}  // namespace qb
