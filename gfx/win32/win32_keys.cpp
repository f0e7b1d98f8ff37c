#include "gfx/win32/win32_keys.h"

#include "gfx/code_page_437.h"

namespace qb {

namespace {

// Virtual keys of the keypad's digits and point, as Windows reports them
// while they type (VK_NUMPAD0..VK_NUMPAD9, VK_DECIMAL).
constexpr std::uint32_t kVkNumpad0 = 0x60, kVkNumpad9 = 0x69, kVkDecimal = 0x6E;

// The keys that queue a code of their own, by scan code (set 1). With the
// extended bit, the keypad's codes are the separate navigation block and
// 0x1C is the keypad's Enter.
NamedKey ByScanCode(std::uint32_t scan, bool extended) {
  if (scan >= 0x3B && scan <= 0x44) return static_cast<NamedKey>(static_cast<int>(NamedKey::kF1) + (scan - 0x3B));
  struct Row {
    std::uint32_t scan;
    NamedKey plain, extended;
  };
  static constexpr Row kRows[] = {
      {0x01, NamedKey::kEscape, NamedKey::kOther},       {0x0E, NamedKey::kBackspace, NamedKey::kOther},
      {0x0F, NamedKey::kTab, NamedKey::kOther},          {0x1C, NamedKey::kEnter, NamedKey::kKeypadEnter},
      {0x57, NamedKey::kF11, NamedKey::kOther},          {0x58, NamedKey::kF12, NamedKey::kOther},
      {0x47, NamedKey::kKeypad7, NamedKey::kHome},       {0x48, NamedKey::kKeypad8, NamedKey::kUp},
      {0x49, NamedKey::kKeypad9, NamedKey::kPageUp},     {0x4B, NamedKey::kKeypad4, NamedKey::kLeft},
      {0x4C, NamedKey::kKeypad5, NamedKey::kOther},      {0x4D, NamedKey::kKeypad6, NamedKey::kRight},
      {0x4F, NamedKey::kKeypad1, NamedKey::kEnd},        {0x50, NamedKey::kKeypad2, NamedKey::kDown},
      {0x51, NamedKey::kKeypad3, NamedKey::kPageDown},   {0x52, NamedKey::kKeypad0, NamedKey::kInsert},
      {0x53, NamedKey::kKeypadPeriod, NamedKey::kDelete},
  };
  for (const Row& r : kRows)
    if (r.scan == scan) return extended ? r.extended : r.plain;
  return NamedKey::kOther;
}

}  // namespace

int Win32RepeatCount(std::uint32_t lparam) {
  const int n = static_cast<int>(lparam & 0xFFFF);
  return n > 0 ? n : 1;
}

KeyPress Win32KeyPress(const Win32KeyDown& m) {
  KeyPress p;
  p.key = ByScanCode((m.lparam >> 16) & 0xFF, (m.lparam >> 24) & 1);
  p.shift = m.shift;
  p.ctrl = m.ctrl;
  p.alt = (m.lparam >> 29) & 1;  // the context bit: Alt is down (never set with AltGr, which is Ctrl+Alt)
  p.num_lock = (m.virtual_key >= kVkNumpad0 && m.virtual_key <= kVkNumpad9) || m.virtual_key == kVkDecimal;
  return p;
}

Win32Queued TranslateWin32KeyDown(const Win32KeyDown& m) {
  const auto code = TranslateKeyDown(Win32KeyPress(m));
  if (!code || *code < 256) return {};
  return {code, Win32RepeatCount(m.lparam)};
}

std::optional<std::uint8_t> Win32TypedChars::Take(char16_t unit) {
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    high_surrogate_ = unit;
    return std::nullopt;
  }
  const bool pair = unit >= 0xDC00 && unit <= 0xDFFF;
  const char16_t high = high_surrogate_;
  high_surrogate_ = 0;
  if (pair) {
    if (high == 0) return '?';  // a lone second half
    const char32_t c = 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{unit} - 0xDC00);
    return ToCodePage437(c);
  }
  return ToCodePage437(unit);
}

}  // namespace qb
