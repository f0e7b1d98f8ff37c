#include "gfx/sdl/icon.h"

#include "data/window_icon.h"

namespace qb {

void SetGameIcon(SDL_Window* window) {
  // SDL only reads the pixels (and copies them into the window's property).
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(kWindowIconPixels),
                                                         kWindowIconSize, kWindowIconSize, 32, kWindowIconSize * 4,
                                                         SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace qb
