// Key presses as every window back end reports them, described apart from any
// toolkit, and their translation into the key codes the game's queue holds.
// A back end maps its own events to a KeyPress (SDL keycodes, browser
// KeyboardEvents) and queues what TranslateKeyDown returns; typed characters
// come separately, through code_page_437.h.
#pragma once

#include <cstdint>
#include <optional>

namespace qb {

// The keys that queue a code of their own on key-down. Every other key is
// kOther: it queues nothing here (a character key types through text input).
enum class NamedKey : std::uint8_t {
  kOther,
  kEnter, kBackspace, kEscape, kTab,
  kF1, kF2, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF10, kF11, kF12,
  kHome, kUp, kPageUp, kLeft, kRight, kEnd, kDown, kPageDown, kInsert, kDelete,
  // The keypad: its digits and point work as navigation keys while Num Lock
  // is off and type digits through text input while it is on.
  kKeypad0, kKeypad1, kKeypad2, kKeypad3, kKeypad4, kKeypad5, kKeypad6, kKeypad7, kKeypad8, kKeypad9,
  kKeypadPeriod, kKeypadEnter,
};

struct KeyPress {
  NamedKey key = NamedKey::kOther;
  char letter = 0;  // 'a'..'z' for a letter key (Ctrl with a letter queues a control code)
  bool shift = false;
  bool ctrl = false;
  bool alt = false;  // Alt proper: keys pressed with it queue nothing (AltGr is not Alt)
  bool num_lock = false;
};

// The key code (as queued) for a key press, or nothing when the press queues
// no key itself: characters come through text input, and nothing is queued
// while Alt is held. Function keys, navigation keys and Ctrl combinations
// follow the classic PC keyboard codes (F1 0x3B, Up 0x48, Ctrl+F12 0x8A...).
std::optional<std::uint32_t> TranslateKeyDown(const KeyPress& press);

}  // namespace qb
