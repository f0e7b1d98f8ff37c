// The browser's key presses (KeyboardEvent: key, code and modifiers) in the
// toolkit-free terms of gfx/key_translation.h and gfx/code_page_437.h, and
// whether the page keeps the browser from acting on them (arrows must not
// scroll, F5 must not reload, Space must not page down). Plain C++, tested
// natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qb {

struct DomKey {
  std::string_view key;   // KeyboardEvent.key: "ArrowUp", "F5", "a", "+", ...
  std::string_view code;  // KeyboardEvent.code: "KeyA", "Numpad8", ...
  bool shift = false, ctrl = false, alt = false, meta = false;
};

struct DomKeyAction {
  std::optional<std::uint32_t> queued;  // the key code to queue, if any
  bool take = false;                    // stop the browser's own action
};

DomKeyAction TranslateDomKey(const DomKey& k);

}  // namespace qb
