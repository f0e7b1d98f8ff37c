// Windows' keyboard messages become the same key codes as on every other
// back end: key-down messages by their scan codes, characters by WM_CHAR.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "gfx/surface.h"
#include "gfx/win32/win32_keys.h"

namespace qb {
namespace {

// A key-down message's lParam: repeat count, scan code, extended bit, Alt bit.
std::uint32_t LParam(std::uint32_t scan, bool extended = false, int repeat = 1, bool alt = false) {
  return static_cast<std::uint32_t>(repeat) | scan << 16 | (extended ? 1u << 24 : 0) | (alt ? 1u << 29 : 0);
}

TEST(Win32Keys, KeyDownMessagesQueueTheExtendedCodesOnly) {
  auto ext = [](Key k) { return std::optional<std::uint32_t>(k.code); };
  constexpr std::uint32_t kVkUp = 0x26, kVkNumpad8 = 0x68, kVkClear = 0x0C, kVkF12 = 0x7B, kVkReturn = 0x0D;
  struct Case {
    Win32KeyDown message;
    std::optional<std::uint32_t> code;
    int times;
  };
  const std::vector<Case> cases = {
      {{kVkUp, LParam(0x48, true)}, ext(key::kUp), 1},              // the arrow block
      {{kVkUp, LParam(0x48, false)}, ext(key::kUp), 1},             // keypad 8, Num Lock off
      {{kVkNumpad8, LParam(0x48, false)}, std::nullopt, 0},         // keypad 8 types "8" (WM_CHAR)
      {{0x69, LParam(0x49, false)}, std::nullopt, 0},               // keypad 9 (VK_NUMPAD9) too
      {{0x24, LParam(0x47, false)}, ext(Key::Extended(0x47)), 1},  // keypad 7, Num Lock off: Home
      {{kVkClear, LParam(0x4C)}, ext(Key::Extended(0x4C)), 1},                     // keypad 5, Num Lock off
      {{0x25, LParam(0x4B, true), false, true}, ext(key::kCtrlLeft), 1},
      {{0x28, LParam(0x50, true), true}, ext(key::kDown), 1},       // Shift: the plain arrow
      {{0x70, LParam(0x3B)}, ext(key::kF1), 1},
      {{0x74, LParam(0x3F)}, ext(key::kF5), 1},
      {{kVkF12, LParam(0x58)}, ext(key::kF12), 1},
      {{kVkF12, LParam(0x58), true}, ext(key::kShiftF12), 1},
      {{kVkF12, LParam(0x58), false, true}, ext(key::kCtrlF12), 1},
      {{0x79, LParam(0x44)}, ext(Key::Extended(0x44)), 1},                         // F10, a system key of its own
      {{kVkUp, LParam(0x48, true, 3)}, ext(key::kUp), 3},           // once per repeat count
      {{kVkUp, LParam(0x48, true, 1, /*alt=*/true)}, std::nullopt, 0},
      {{kVkReturn, LParam(0x1C)}, std::nullopt, 0},                 // Enter comes as a character
      {{kVkReturn, LParam(0x1C, true)}, std::nullopt, 0},           // keypad Enter too
      {{0x1B, LParam(0x01)}, std::nullopt, 0},                      // Escape too
      {{0x42, LParam(0x30), false, true}, std::nullopt, 0},         // Ctrl+B: a control character
  };
  for (const auto& c : cases) {
    const Win32Queued q = TranslateWin32KeyDown(c.message);
    EXPECT_EQ(q.code, c.code) << std::hex << c.message.lparam;
    EXPECT_EQ(q.times, c.times) << std::hex << c.message.lparam;
  }
}

TEST(Win32Keys, CharactersBecomeCodePage437Bytes) {
  Win32TypedChars typed;
  std::vector<std::optional<std::uint8_t>> got;
  for (char16_t unit : {u'7', u'+', u'\r', u'\x1B', u'\x02', u'\u00E9', u'\u20AC', u'\xD83D', u'\xDE00', u'\xDE00', u'b'})
    got.push_back(typed.Take(unit));
  const std::vector<std::optional<std::uint8_t>> expected = {
      '7', '+', '\r', 0x1B, 0x02,  // Ctrl+B's control character as typed
      0x82,                        // é
      '?',                         // the euro sign has no place in code page 437
      std::nullopt, '?',           // a character beyond 0xFFFF: one "?" for the pair
      '?',                         // a lone second half
      'b'};
  EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace qb
