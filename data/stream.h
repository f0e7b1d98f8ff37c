// The built-in data stream: one read-only sequence of single-digit items that
// carries the level records and the font glyphs, with a named entry point for
// each level and each glyph entry. The items are generated at build time from
// data/levels.txt and data/fonts/*.txt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qb::data {

// Sets the read position to an entry point.
void Restore(std::size_t entry_point);
// Reads the item at the read position as an unsigned byte and advances by one
// item; reading beyond the last item yields 0.
std::uint8_t Read();

// Entry point of a level's record (levels 1 to 200).
std::size_t LevelEntry(int level);

// A glyph entry of a bitmap font: the byte values it serves and where its
// pixel record (N x offsets, then N y offsets) begins in the stream.
struct GlyphEntry {
  std::size_t entry_point;
  std::uint8_t pixel_count;  // N
  std::uint8_t code_count;
  std::uint8_t codes[4];
  std::string_view name;  // the entry point's name, for example "text7_41_61"
};

// The glyph entries of the fonts with advance 7, 8 and 4, in font order.
std::span<const GlyphEntry> FontGlyphs(int advance);

// The level names as Windows-1250 bytes; index 0 is empty.
std::string_view LevelNameBytes(int level);

}  // namespace qb::data
