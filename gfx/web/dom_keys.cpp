#include "gfx/web/dom_keys.h"

#include "gfx/key_translation.h"

namespace qb {

namespace {

struct Named {
  std::string_view key;
  NamedKey named;
};

// KeyboardEvent.key names. The browser applies Num Lock itself: keypad 8
// arrives as "ArrowUp" with it off and as "8" with it on; keypad 5 with it
// off is "Clear".
constexpr Named kNamed[] = {
    {"F1", NamedKey::F1},         {"F2", NamedKey::F2},
    {"F3", NamedKey::F3},         {"F4", NamedKey::F4},
    {"F5", NamedKey::F5},         {"F6", NamedKey::F6},
    {"F7", NamedKey::F7},         {"F8", NamedKey::F8},
    {"F9", NamedKey::F9},         {"F10", NamedKey::F10},
    {"F11", NamedKey::F11},       {"F12", NamedKey::F12},
    {"ArrowUp", NamedKey::Up},    {"ArrowDown", NamedKey::Down},
    {"ArrowLeft", NamedKey::Left}, {"ArrowRight", NamedKey::Right},
    {"Home", NamedKey::Home},     {"End", NamedKey::End},
    {"PageUp", NamedKey::PageUp}, {"PageDown", NamedKey::PageDown},
    {"Insert", NamedKey::Insert}, {"Delete", NamedKey::Delete},
    {"Clear", NamedKey::KeypadCentre}, {"Enter", NamedKey::Enter},
    {"Backspace", NamedKey::Backspace}, {"Escape", NamedKey::Escape},
    {"Tab", NamedKey::Tab},
};

std::optional<NamedKey> Lookup(std::string_view key) {
  for (const auto& n : kNamed)
    if (n.key == key) return n.named;
  return std::nullopt;
}

}  // namespace

DomKeyAction TranslateDomKey(const DomKey& k) {
  // The system's own shortcuts (Cmd on a Mac) belong to the browser.
  if (k.meta) return {};
  const auto named = Lookup(k.key);
  // With Alt alone nothing is queued, as on the desktop; Alt with the arrows
  // would leave the page (history), so those are held back.
  const bool alt_gr = k.alt && k.ctrl;  // how AltGr reports itself on some systems
  if (k.alt && !alt_gr)
    return {std::nullopt, named == NamedKey::Left || named == NamedKey::Right};

  const auto typed = DecodeUtf8(k.key);
  if (typed.size() == 1 && (!k.ctrl || alt_gr)) return {ToCodePage437(typed[0]), true};

  if (k.ctrl && k.code.size() == 4 && k.code.substr(0, 3) == "Key" && k.code[3] >= 'A' && k.code[3] <= 'Z')
    return {CtrlLetter(k.code[3]), false};  // queued, but Ctrl+R, Ctrl+W... stay the browser's

  if (!named) return {};
  const auto queued = TranslateNamedKey(*named, {k.shift, k.ctrl});
  // Plain F11 (full screen) and F12 (developer tools) stay the browser's.
  const bool browsers = !k.ctrl && !k.shift && (named == NamedKey::F11 || named == NamedKey::F12);
  return {queued, !browsers};
}

}  // namespace qb
