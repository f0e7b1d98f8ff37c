// The generated tables behind data/stream.h (see tools/embed_data.cpp).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "data/stream.h"

namespace qb::data::generated {
extern const char kItems[];
extern const std::size_t kItemCount;
// A level with no record in the data has this entry point: it reads as zeros.
inline constexpr std::size_t kMissing = static_cast<std::size_t>(-1);
extern const std::size_t kLevelEntries[201];
extern const std::span<const GlyphEntry> kFont7;
extern const std::span<const GlyphEntry> kFont8;
extern const std::span<const GlyphEntry> kFont4;
extern const std::string_view kLevelNames[201];
}  // namespace qb::data::generated
