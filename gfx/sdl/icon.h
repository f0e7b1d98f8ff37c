// The game's icon on its SDL2 window.
#pragma once

#include <SDL.h>

namespace qb {

// Gives the window the game's icon; a window without it still works.
void SetGameIcon(SDL_Window* window);

}  // namespace qb
