// Windows' keyboard messages in the toolkit-free terms of gfx/key_translation.h
// and gfx/code_page_437.h. Plain C++ without <windows.h>, tested natively.
#pragma once

#include <cstdint>
#include <optional>

#include "gfx/key_translation.h"

namespace qb {

// A WM_KEYDOWN or WM_SYSKEYDOWN message: its virtual key (wParam), its lParam
// (repeat count, scan code, extended-key and Alt bits) and the state of Shift
// and Ctrl when it was sent.
struct Win32KeyDown {
  std::uint32_t virtual_key = 0;
  std::uint32_t lparam = 0;
  bool shift = false;
  bool ctrl = false;
};

// The key press behind a key-down message, named by its hardware scan code.
// The keypad's digits count as typed (Num Lock on) when Windows reports them
// as digits: it alone knows how Num Lock and Shift combine.
KeyPress Win32KeyPress(const Win32KeyDown& message);

// What a key-down message queues, and how many times (its repeat count): only
// codes above 255, since characters come with WM_CHAR; nothing while Alt is
// held.
struct Win32Queued {
  std::optional<std::uint32_t> code;
  int times = 0;
};
Win32Queued TranslateWin32KeyDown(const Win32KeyDown& message);

// Typed characters as WM_CHAR delivers them, one UTF-16 unit per message:
// each becomes one code page 437 byte; a character outside the Basic
// Multilingual Plane comes as two units and becomes one "?".
class Win32TypedChars {
 public:
  // The byte for this unit, or nothing while a surrogate pair is half read.
  std::optional<std::uint8_t> Take(char16_t unit);

 private:
  char16_t high_surrogate_ = 0;
};

// The repeat count of a keyboard message (at least 1).
int Win32RepeatCount(std::uint32_t lparam);

}  // namespace qb
