#include "gfx/sdl/window_platform.h"

#include <chrono>
#include <thread>

namespace qb {

void WindowPlatform::SetTitle(std::string_view title) {
  std::lock_guard lock(title_mutex_);
  pending_title_ = std::string(title);
  title_changed_ = true;
}

void WindowPlatform::Wait(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

void WindowPlatform::End(int status) {
  status_.store(status);
  ended_.store(true);
}

std::optional<std::string> WindowPlatform::TakeTitle() {
  std::lock_guard lock(title_mutex_);
  if (!title_changed_) return std::nullopt;
  title_changed_ = false;
  return pending_title_;
}

}  // namespace qb
