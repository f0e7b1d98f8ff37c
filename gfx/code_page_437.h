// Typed characters as the game's key queue holds them: single bytes of code
// page 437, whatever character set the window system delivers.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qb {

// The code page 437 byte for a Unicode character; '?' where it has none.
std::uint8_t ToCodePage437(char32_t c);

// The bytes to queue for text typed as UTF-8, one per character; malformed
// UTF-8 arrives as '?'.
std::vector<std::uint8_t> TypedBytes(std::string_view utf8);

}  // namespace qb
