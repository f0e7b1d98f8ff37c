#include "gfx/sdl/sdl_keys.h"

namespace qb {

namespace {

NamedKey Named(SDL_Keycode sym) {
  if (sym >= SDLK_F1 && sym <= SDLK_F12)
    return static_cast<NamedKey>(static_cast<int>(NamedKey::kF1) + (sym - SDLK_F1));
  if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9)
    return static_cast<NamedKey>(static_cast<int>(NamedKey::kKeypad1) + (sym - SDLK_KP_1));
  switch (sym) {
    case SDLK_RETURN: return NamedKey::kEnter;
    case SDLK_KP_ENTER: return NamedKey::kKeypadEnter;
    case SDLK_BACKSPACE: return NamedKey::kBackspace;
    case SDLK_ESCAPE: return NamedKey::kEscape;
    case SDLK_TAB: return NamedKey::kTab;
    case SDLK_HOME: return NamedKey::kHome;
    case SDLK_UP: return NamedKey::kUp;
    case SDLK_PAGEUP: return NamedKey::kPageUp;
    case SDLK_LEFT: return NamedKey::kLeft;
    case SDLK_RIGHT: return NamedKey::kRight;
    case SDLK_END: return NamedKey::kEnd;
    case SDLK_DOWN: return NamedKey::kDown;
    case SDLK_PAGEDOWN: return NamedKey::kPageDown;
    case SDLK_INSERT: return NamedKey::kInsert;
    case SDLK_DELETE: return NamedKey::kDelete;
    case SDLK_KP_0: return NamedKey::kKeypad0;
    case SDLK_KP_PERIOD: return NamedKey::kKeypadPeriod;
    default: return NamedKey::kOther;
  }
}

}  // namespace

bool AltHeld(std::uint16_t mod) { return (mod & KMOD_ALT) != 0 && (mod & KMOD_MODE) == 0; }

KeyPress ToKeyPress(SDL_Keycode sym, std::uint16_t mod) {
  KeyPress p;
  p.key = Named(sym);
  if (sym >= SDLK_a && sym <= SDLK_z) p.letter = static_cast<char>('a' + (sym - SDLK_a));
  p.shift = (mod & KMOD_SHIFT) != 0;
  p.ctrl = (mod & KMOD_CTRL) != 0;
  p.alt = AltHeld(mod);
  p.num_lock = (mod & KMOD_NUM) != 0;
  return p;
}

}  // namespace qb
