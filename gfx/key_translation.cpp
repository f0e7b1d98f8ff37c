#include "gfx/key_translation.h"

#include "gfx/surface.h"

namespace qb {

namespace {

// The queued code of the extended key with that number.
constexpr std::uint32_t ExtendedCode(int number) { return Key::Extended(static_cast<std::uint8_t>(number)).code; }

// With Num Lock off the keypad's digits and point are navigation keys.
NamedKey KeypadAsNavigation(NamedKey k) {
  switch (k) {
    case NamedKey::kKeypad7: return NamedKey::kHome;
    case NamedKey::kKeypad8: return NamedKey::kUp;
    case NamedKey::kKeypad9: return NamedKey::kPageUp;
    case NamedKey::kKeypad4: return NamedKey::kLeft;
    case NamedKey::kKeypad6: return NamedKey::kRight;
    case NamedKey::kKeypad1: return NamedKey::kEnd;
    case NamedKey::kKeypad2: return NamedKey::kDown;
    case NamedKey::kKeypad3: return NamedKey::kPageDown;
    case NamedKey::kKeypad0: return NamedKey::kInsert;
    case NamedKey::kKeypadPeriod: return NamedKey::kDelete;
    default: return k;
  }
}

}  // namespace

std::optional<std::uint32_t> TranslateKeyDown(const KeyPress& press) {
  if (press.alt) return std::nullopt;
  const bool ctrl = press.ctrl, shift = press.shift;
  NamedKey k = press.key;

  // Characters that produce no text input of their own.
  switch (k) {
    case NamedKey::kEnter:
    case NamedKey::kKeypadEnter: return 0x0D;
    case NamedKey::kBackspace: return 0x08;
    case NamedKey::kEscape: return 0x1B;
    case NamedKey::kTab: return 0x09;
    default: break;
  }
  if (k == NamedKey::kOther) {
    if (ctrl && press.letter >= 'a' && press.letter <= 'z') return static_cast<std::uint32_t>(press.letter - 'a' + 1);
    return std::nullopt;
  }

  if (k >= NamedKey::kF1 && k <= NamedKey::kF10) {
    const int i = static_cast<int>(k) - static_cast<int>(NamedKey::kF1);
    return ExtendedCode((ctrl ? 0x5E : shift ? 0x54 : 0x3B) + i);
  }
  if (k == NamedKey::kF11) return ExtendedCode(ctrl ? 0x89 : shift ? 0x87 : 0x85);
  if (k == NamedKey::kF12) return ExtendedCode(ctrl ? 0x8A : shift ? 0x88 : 0x86);

  if (!press.num_lock) {
    if (k == NamedKey::kKeypad5) return ExtendedCode(ctrl ? 0x8F : 0x4C);
    k = KeypadAsNavigation(k);
  }
  struct Nav {
    NamedKey key;
    int plain, with_ctrl;
  };
  static constexpr Nav kNav[] = {
      {NamedKey::kHome, 0x47, 0x77},   {NamedKey::kUp, 0x48, 0x8D},       {NamedKey::kPageUp, 0x49, 0x84},
      {NamedKey::kLeft, 0x4B, 0x73},   {NamedKey::kRight, 0x4D, 0x74},    {NamedKey::kEnd, 0x4F, 0x75},
      {NamedKey::kDown, 0x50, 0x91},   {NamedKey::kPageDown, 0x51, 0x76}, {NamedKey::kInsert, 0x52, 0x92},
      {NamedKey::kDelete, 0x53, 0x93},
  };
  for (const auto& n : kNav)
    if (n.key == k) return ExtendedCode(ctrl ? n.with_ctrl : n.plain);
  return std::nullopt;  // keypad digits with Num Lock on type through text input
}

}  // namespace qb
