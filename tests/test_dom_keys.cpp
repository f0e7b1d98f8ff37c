// The browser's key presses become the same key codes as on the desktop, and
// the game's keys are kept from the browser (no scrolling, no reloading).
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "gfx/surface.h"
#include "gfx/web/dom_keys.h"

namespace qb {
namespace {

TEST(DomKeys, KeyPressesBecomeTheDesktopCodes) {
  auto ext = [](Key k) { return std::optional<std::uint32_t>(k.code); };
  struct Case {
    DomKey press;
    std::optional<std::uint32_t> queued;
    bool take;
  };
  const std::vector<Case> cases = {
      {{"ArrowUp", "ArrowUp"}, ext(key::kUp), true},
      {{"ArrowDown", "Numpad2"}, ext(key::kDown), true},  // keypad with Num Lock off
      {{"ArrowLeft", "ArrowLeft", /*shift=*/true}, ext(key::kLeft), true},
      {{"ArrowRight", "ArrowRight", false, /*ctrl=*/true}, ext(key::kCtrlRight), true},
      {{"F1", "F1"}, ext(key::kF1), true},
      {{"F5", "F5"}, ext(key::kF5), true},  // no reload
      {{"F12", "F12", false, true}, ext(key::kCtrlF12), true},
      {{"F12", "F12"}, ext(key::kF12), false},  // developer tools stay the browser's
      {{"Clear", "Numpad5"}, ext(Key::Extended(0x4C)), true},
      {{"Enter", "NumpadEnter"}, 0x0D, true},
      {{"Backspace", "Backspace"}, 0x08, true},  // never "back"
      {{"Escape", "Escape"}, 0x1B, true},
      {{" ", "Space"}, ' ', true},  // no paging down
      {{"+", "NumpadAdd"}, '+', true},
      {{"8", "Numpad8"}, '8', true},  // keypad with Num Lock on types
      {{"B", "KeyB", true}, 'B', true},
      {{"é", "Digit2"}, 0x82, true},  // code page 437
      {{"@", "KeyQ", false, true, /*alt=*/true}, '@', true},  // AltGr as Ctrl+Alt types
      {{"r", "KeyR", false, true}, 0x12, false},  // Ctrl+R: queued, and the browser reloads
      {{"Enter", "Enter", false, false, true}, std::nullopt, false},  // Alt+Enter: the page's full screen
      {{"ArrowLeft", "ArrowLeft", false, false, true}, std::nullopt, true},  // no history back
      {{"r", "KeyR", false, false, false, /*meta=*/true}, std::nullopt, false},
      {{"Shift", "ShiftLeft", true}, std::nullopt, false},
      {{"Dead", "BracketLeft"}, std::nullopt, false},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const DomKeyAction a = TranslateDomKey(cases[i].press);
    EXPECT_EQ(a.queued, cases[i].queued) << "case " << i << ": " << cases[i].press.key;
    EXPECT_EQ(a.take, cases[i].take) << "case " << i << ": " << cases[i].press.key;
  }
}

}  // namespace
}  // namespace qb
