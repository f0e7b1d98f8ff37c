#include "gfx/sdl/window_platform.h"

#include <chrono>
#include <thread>

namespace qb {

void WindowPlatform::SetTitle(std::string_view title) {
  {
    std::lock_guard lock(title_mutex_);
    pending_title_ = std::string(title);
    title_changed_ = true;
  }
  wake_();
}

void WindowPlatform::Wait(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

int WindowPlatform::WaitForKey(int milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  if (milliseconds < 0) {
    Keys().WaitForKey(std::nullopt);
  } else if (!Keys().WaitForKey(start + std::chrono::milliseconds(milliseconds))) {
    return milliseconds;
  }
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  return milliseconds < 0 ? static_cast<int>(waited) : static_cast<int>(std::min<long long>(waited, milliseconds));
}

void WindowPlatform::End(int status) {
  status_.store(status);
  ended_.store(true);
  wake_();
}

std::optional<std::string> WindowPlatform::TakeTitle() {
  std::lock_guard lock(title_mutex_);
  if (!title_changed_) return std::nullopt;
  title_changed_ = false;
  return pending_title_;
}

}  // namespace qb
