// One key as the game reads it from the keyboard queue, and the names of the
// keys the game, the back ends and the tests tell apart.
#pragma once

#include <cstdint>

namespace qb {

// A typed character (one code page 437 byte), an extended key (a key without
// a character, by its classic PC keyboard number: F1 0x3B, Up 0x48, ...) or
// no key at all.
struct Key {
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;
  // As the queue holds it: below 256 the typed byte, else the extended key's
  // number times 256; kNone for no key.
  std::uint32_t code = kNone;

  static constexpr Key Typed(std::uint8_t byte) { return {byte}; }
  static constexpr Key Extended(std::uint8_t number) { return {std::uint32_t{number} << 8}; }

  constexpr bool none() const { return code == kNone; }
  constexpr bool typed() const { return code < 256; }
  // The typed byte; only for a typed key.
  constexpr char byte() const { return static_cast<char>(code); }
  // The letter `upper` ('A'..'Z') typed in either case.
  constexpr bool IsLetter(char upper) const {
    return code == static_cast<std::uint8_t>(upper) || code == static_cast<std::uint8_t>(upper - 'A' + 'a');
  }
  constexpr bool operator==(const Key&) const = default;
};

namespace key {
// Extended keys, by their PC keyboard numbers.
inline constexpr Key kF1 = Key::Extended(0x3B), kF5 = Key::Extended(0x3F), kF12 = Key::Extended(0x86),
                     kShiftF12 = Key::Extended(0x88), kCtrlF12 = Key::Extended(0x8A);
inline constexpr Key kUp = Key::Extended(0x48), kDown = Key::Extended(0x50), kLeft = Key::Extended(0x4B),
                     kRight = Key::Extended(0x4D);
inline constexpr Key kCtrlUp = Key::Extended(0x8D), kCtrlDown = Key::Extended(0x91),
                     kCtrlLeft = Key::Extended(0x73), kCtrlRight = Key::Extended(0x74);
inline constexpr Key kClose = Key::Extended(0x6B);  // "k": the window's close request
// Typed keys the game acts on.
inline constexpr Key kEnter = Key::Typed('\r'), kSpace = Key::Typed(' '), kBackspace = Key::Typed('\b'),
                     kEscape = Key::Typed(0x1B), kPlus = Key::Typed('+');
}  // namespace key

}  // namespace qb
