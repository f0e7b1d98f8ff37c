// The game thread's side of the SDL window: what the drawing surface asks of
// the platform (title, waits, the end). Nothing here calls SDL; what the main
// thread must act on is handed over and announced through `wake`, which the
// window sets to its thread-safe wake-up.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "gfx/platform.h"

namespace qb {

class WindowPlatform final : public Platform {
 public:
  using Wake = void (*)();
  explicit WindowPlatform(Wake wake) : wake_(wake) {}

  void OpenWindow(int, int) override {}  // the main thread opened it before the game began
  void SetTitle(std::string_view title) override;
  void Wait(int milliseconds) override;
  int WaitForKey(int milliseconds) override;
  void End(int status) override;

  // Main thread: the title set since the last call, if any.
  std::optional<std::string> TakeTitle();
  bool ended() const { return ended_.load(); }
  int status() const { return status_.load(); }

 private:
  Wake wake_;
  std::mutex title_mutex_;
  std::string pending_title_;
  bool title_changed_ = false;
  std::atomic<bool> ended_{false};
  std::atomic<int> status_{0};
};

}  // namespace qb
