#include "data/stream.h"

#include "data/stream_tables.h"

namespace qb::data {

namespace {
std::size_t g_read_position = 0;
}

void Restore(std::size_t entry_point) { g_read_position = entry_point; }

std::uint8_t Read() {
  if (g_read_position >= generated::kItemCount) return 0;
  return static_cast<std::uint8_t>(generated::kItems[g_read_position++] - '0');
}

std::size_t LevelEntry(int level) {
  if (level < 1 || level > 200 || generated::kLevelEntries[level] == generated::kMissing)
    return generated::kItemCount;
  return generated::kLevelEntries[level];
}

std::span<const GlyphEntry> FontGlyphs(int advance) {
  switch (advance) {
    case 7: return generated::kFont7;
    case 8: return generated::kFont8;
    case 4: return generated::kFont4;
    default: return {};
  }
}

std::string_view LevelNameBytes(int level) {
  if (level < 0 || level > 200) return {};
  return generated::kLevelNames[level];
}

}  // namespace qb::data
