#include "gfx/web/dom_keys.h"

#include "gfx/code_page_437.h"
#include "gfx/key_translation.h"

namespace qb {

namespace {

struct Named {
  std::string_view key;
  NamedKey named;
};

// KeyboardEvent.key names of the keys without a character. The browser
// applies Num Lock itself: keypad 8 arrives as "ArrowUp" with it off and as
// "8" with it on; keypad 5 with it off is "Clear".
constexpr Named kNamed[] = {
    {"Enter", NamedKey::kEnter},     {"Backspace", NamedKey::kBackspace}, {"Escape", NamedKey::kEscape},
    {"Tab", NamedKey::kTab},         {"F1", NamedKey::kF1},               {"F2", NamedKey::kF2},
    {"F3", NamedKey::kF3},           {"F4", NamedKey::kF4},               {"F5", NamedKey::kF5},
    {"F6", NamedKey::kF6},           {"F7", NamedKey::kF7},               {"F8", NamedKey::kF8},
    {"F9", NamedKey::kF9},           {"F10", NamedKey::kF10},             {"F11", NamedKey::kF11},
    {"F12", NamedKey::kF12},         {"Home", NamedKey::kHome},           {"ArrowUp", NamedKey::kUp},
    {"PageUp", NamedKey::kPageUp},   {"ArrowLeft", NamedKey::kLeft},      {"ArrowRight", NamedKey::kRight},
    {"End", NamedKey::kEnd},         {"ArrowDown", NamedKey::kDown},      {"PageDown", NamedKey::kPageDown},
    {"Insert", NamedKey::kInsert},   {"Delete", NamedKey::kDelete},       {"Clear", NamedKey::kKeypad5},
};

NamedKey Lookup(std::string_view key) {
  for (const auto& n : kNamed)
    if (n.key == key) return n.named;
  return NamedKey::kOther;
}

// The one character a key types, or nothing ("Shift", "Dead", "F1"...).
std::optional<std::uint8_t> TypedCharacter(std::string_view key) {
  if (key.empty()) return std::nullopt;
  const auto bytes = TypedBytes(key);
  if (bytes.size() != 1) return std::nullopt;
  return bytes[0];
}

}  // namespace

DomKeyAction TranslateDomKey(const DomKey& k) {
  // The system's own shortcuts (Cmd on a Mac) belong to the browser.
  if (k.meta) return {};
  KeyPress press;
  press.key = Lookup(k.key);
  press.shift = k.shift;
  press.ctrl = k.ctrl;
  // AltGr reports itself as Ctrl+Alt on some systems; it types characters.
  const bool alt_gr = k.alt && k.ctrl;
  press.alt = k.alt && !alt_gr;
  press.num_lock = press.key != NamedKey::kKeypad5;  // the browser has applied it already
  if (k.ctrl && !alt_gr && k.code.size() == 4 && k.code.substr(0, 3) == "Key" && k.code[3] >= 'A' && k.code[3] <= 'Z')
    press.letter = static_cast<char>(k.code[3] - 'A' + 'a');

  if (press.alt) {
    // Nothing is queued with Alt, as on the desktop; Alt with an arrow would
    // leave the page (history), so those are held back.
    return {std::nullopt, press.key == NamedKey::kLeft || press.key == NamedKey::kRight};
  }
  if (press.key == NamedKey::kOther && (!k.ctrl || alt_gr))
    if (const auto c = TypedCharacter(k.key)) return {*c, true};

  const auto queued = TranslateKeyDown(press);
  if (!queued) return {};
  // Ctrl with a letter stays the browser's too (Ctrl+R, Ctrl+W...), and so
  // do plain F11 (full screen) and F12 (developer tools).
  const bool browsers = press.key == NamedKey::kOther ||
                        (!k.ctrl && !k.shift && (press.key == NamedKey::kF11 || press.key == NamedKey::kF12));
  return {queued, !browsers};
}

}  // namespace qb
