// Shows the pixel buffer in the SDL window: copies the changed rows into a
// streaming texture and draws it, grown by whole factors, centred on black.
// Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include <SDL.h>

namespace qb {

// Says on stderr that an SDL call after start-up failed, with SDL's reason,
// once per function so that a failure in every frame does not flood the
// terminal. The game goes on; what the call was to show may be missing until
// the next frame. Main thread only.
void ReportSdlFailure(const char* call);

// True when `result`, the status an SDL function returned, is an error
// (negative); reports it.
inline bool SdlFailed(int result, const char* call) {
  if (result >= 0) return false;
  ReportSdlFailure(call);
  return true;
}

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
