#include "gfx/sdl/presenter.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "gfx/picture_fit.h"
#include "gfx/pixel_buffer.h"

namespace qb {

void ReportSdlFailure(const char* call) {
  static std::set<std::string> reported;
  if (reported.insert(call).second) std::fprintf(stderr, "quizzlebox: %s failed: %s\n", call, SDL_GetError());
}

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
        SdlFailed(SDL_UpdateTexture(texture_, &rows, &frame_[static_cast<std::size_t>(first) * kSurfaceWidth],
                                    kSurfaceWidth * 4),
                  "SDL_UpdateTexture");
      });
  if (!changed && !whole_picture) return false;
  int out_w = kSurfaceWidth, out_h = kSurfaceHeight;
  // Without the output size the picture goes at its own size, top left.
  if (SdlFailed(SDL_GetRendererOutputSize(renderer_, &out_w, &out_h), "SDL_GetRendererOutputSize"))
    out_w = kSurfaceWidth, out_h = kSurfaceHeight;
  const PictureRect fit = FitPicture(out_w, out_h);
  const SDL_Rect dst{fit.x, fit.y, fit.w, fit.h};
  SdlFailed(SDL_RenderSetViewport(renderer_, nullptr), "SDL_RenderSetViewport");
  SdlFailed(SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255), "SDL_SetRenderDrawColor");
  SdlFailed(SDL_RenderClear(renderer_), "SDL_RenderClear");
  SdlFailed(SDL_RenderCopy(renderer_, texture_, nullptr, &dst), "SDL_RenderCopy");
  SDL_RenderPresent(renderer_);
  return true;
}

}  // namespace qb
