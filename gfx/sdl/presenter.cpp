#include "gfx/sdl/presenter.h"

#include <algorithm>

#include "gfx/picture_fit.h"
#include "gfx/pixel_buffer.h"

namespace qb {

Presenter::Presenter(SDL_Window* window) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The picture is small and changes a few rows at a time: the software
  // renderer shows it everywhere, with no GL driver to depend on.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_)
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kSurfaceWidth,
                                 kSurfaceHeight);
  frame_.assign(static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight, 0xFF000000u);
}

Presenter::~Presenter() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
}

bool Presenter::Present(bool whole_picture) {
  // Only the runs of changed rows go into the texture.
  const bool changed = Pixels().CopyChangedRows(
      frame_.data(), [](Colour c) { return c | 0xFF000000u; },
      [&](int first, int count) {
        const SDL_Rect rows{0, first, kSurfaceWidth, count};
        SDL_UpdateTexture(texture_, &rows, &frame_[static_cast<std::size_t>(first) * kSurfaceWidth],
                          kSurfaceWidth * 4);
      });
  if (!changed && !whole_picture) return false;
  int out_w = kSurfaceWidth, out_h = kSurfaceHeight;
  SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
  const PictureRect fit = FitPicture(out_w, out_h);
  const SDL_Rect dst{fit.x, fit.y, fit.w, fit.h};
  SDL_RenderSetViewport(renderer_, nullptr);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
  SDL_RenderPresent(renderer_);
  return true;
}

}  // namespace qb
