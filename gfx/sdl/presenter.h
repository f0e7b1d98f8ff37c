// Shows the pixel buffer in the SDL window: copies the changed rows into a
// streaming texture and draws it, grown by whole factors, centred on black.
// Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include <SDL.h>

namespace qb {

class Presenter {
 public:
  explicit Presenter(SDL_Window* window);
  ~Presenter();
  Presenter(const Presenter&) = delete;
  Presenter& operator=(const Presenter&) = delete;

  bool ok() const { return renderer_ && texture_; }

  // Uploads the changed rows and shows the frame when anything changed, or
  // always when `whole_picture` (the window was exposed, resized or
  // maximised); returns whether it showed one.
  bool Present(bool whole_picture);

 private:
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::vector<std::uint32_t> frame_;
};

}  // namespace qb
