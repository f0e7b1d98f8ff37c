// SDL's key events in the toolkit-free terms of gfx/key_translation.h.
#pragma once

#include <cstdint>

#include <SDL.h>

#include "gfx/key_translation.h"

namespace qb {

// Alt proper is held (AltGr, which SDL reports as MODE, types characters).
bool AltHeld(std::uint16_t mod);

// The key press an SDL key-down event stands for.
KeyPress ToKeyPress(SDL_Keycode sym, std::uint16_t mod);

}  // namespace qb
