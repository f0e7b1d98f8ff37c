#include "gfx/threaded_platform.h"

#include <chrono>
#include <thread>

#include "gfx/key_queue.h"

namespace qb {

using Clock = std::chrono::steady_clock;

void ThreadedPlatform::SetTitle(std::string_view title) {
  {
    std::lock_guard lock(title_mutex_);
    pending_title_ = std::string(title);
    title_changed_ = true;
  }
  wake_();
}

void ThreadedPlatform::Wait(int milliseconds) {
  ThrowIfAbandoned();
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  ThrowIfAbandoned();
}

std::int64_t ThreadedPlatform::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

void ThreadedPlatform::SleepUntilKey(int milliseconds) {
  ThrowIfAbandoned();
  if (milliseconds < 0)
    Keys().WaitForKey(std::nullopt);
  else
    Keys().WaitForKey(Clock::now() + std::chrono::milliseconds(milliseconds));
  ThrowIfAbandoned();
}

void ThreadedPlatform::BeforePoll() { ThrowIfAbandoned(); }

void ThreadedPlatform::Abandon() {
  abandoned_.store(true);
  Keys().Release();
}

void ThreadedPlatform::ThrowIfAbandoned() const {
  if (abandoned_.load()) throw WindowLost{};
}

std::optional<std::string> ThreadedPlatform::TakeTitle() {
  std::lock_guard lock(title_mutex_);
  if (!title_changed_) return std::nullopt;
  title_changed_ = false;
  return pending_title_;
}

}  // namespace qb
