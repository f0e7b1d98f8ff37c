#include "gfx/code_page_437.h"

namespace qb {

namespace {

// Decodes UTF-8 into code points; malformed bytes become U+FFFD: a sequence
// cut short, a continuation byte without its lead (a lone 0xA3 is no '£'),
// and the bytes 0xF8 to 0xFF that no UTF-8 holds.
std::vector<char32_t> DecodeUtf8(std::string_view s) {
  std::vector<char32_t> out;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  while (p < end) {
    char32_t c = *p;
    if ((c >= 0x80 && c < 0xC0) || c >= 0xF8) {
      out.push_back(U'\uFFFD');
      ++p;
      continue;
    }
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) c &= 0x3F >> extra;
    ++p;
    for (; extra > 0 && p < end && (*p & 0xC0) == 0x80; --extra, ++p) c = (c << 6) | (*p & 0x3F);
    out.push_back(extra ? U'\uFFFD' : c);
  }
  return out;
}

}  // namespace

std::uint8_t ToCodePage437(char32_t c) {
  if (c < 0x80) return static_cast<std::uint8_t>(c);
  // The upper half of code page 437 for the letters and signs a keyboard may
  // type; anything else arrives as "?".
  static constexpr char32_t kUpper[128] = {
      U'Ç', U'ü', U'é', U'â', U'ä', U'à', U'å', U'ç', U'ê', U'ë', U'è', U'ï', U'î', U'ì', U'Ä', U'Å',
      U'É', U'æ', U'Æ', U'ô', U'ö', U'ò', U'û', U'ù', U'ÿ', U'Ö', U'Ü', U'¢', U'£', U'¥', U'₧', U'ƒ',
      U'á', U'í', U'ó', U'ú', U'ñ', U'Ñ', U'ª', U'º', U'¿', U'⌐', U'¬', U'½', U'¼', U'¡', U'«', U'»',
      U'░', U'▒', U'▓', U'│', U'┤', U'╡', U'╢', U'╖', U'╕', U'╣', U'║', U'╗', U'╝', U'╜', U'╛', U'┐',
      U'└', U'┴', U'┬', U'├', U'─', U'┼', U'╞', U'╟', U'╚', U'╔', U'╩', U'╦', U'╠', U'═', U'╬', U'╧',
      U'╨', U'╤', U'╥', U'╙', U'╘', U'╒', U'╓', U'╫', U'╪', U'┘', U'┌', U'█', U'▄', U'▌', U'▐', U'▀',
      U'α', U'ß', U'Γ', U'π', U'Σ', U'σ', U'µ', U'τ', U'Φ', U'Θ', U'Ω', U'δ', U'∞', U'φ', U'ε', U'∩',
      U'≡', U'±', U'≥', U'≤', U'⌠', U'⌡', U'÷', U'≈', U'°', U'∙', U'·', U'√', U'ⁿ', U'²', U'■', U'\u00A0',
  };
  for (int i = 0; i < 128; ++i)
    if (kUpper[i] == c) return static_cast<std::uint8_t>(0x80 + i);
  return '?';
}

std::vector<std::uint8_t> TypedBytes(std::string_view utf8) {
  std::vector<std::uint8_t> out;
  for (char32_t c : DecodeUtf8(utf8)) out.push_back(ToCodePage437(c));
  return out;
}

}  // namespace qb
