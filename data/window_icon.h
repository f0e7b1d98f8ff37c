// The game's icon as its window shows it (task bars, window switchers):
// square, 0xAARRGGBB row by row. Made at build time from the game's pictures
// by tools/make_icons.cpp, like the icons installed for the desktop.
#pragma once

#include <cstdint>

namespace qb {

inline constexpr int kWindowIconSize = 32;
extern const std::uint32_t kWindowIconPixels[kWindowIconSize * kWindowIconSize];

}  // namespace qb
