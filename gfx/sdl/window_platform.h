// The game thread's side of the SDL window: what the drawing surface asks of
// the platform (title, waits, the end), handed to the main thread, which alone
// calls SDL.
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
  void OpenWindow(int, int) override {}  // the main thread opened it before the game began
  void SetTitle(std::string_view title) override;
  void Wait(int milliseconds) override;
  void End(int status) override;

  // Main thread: the title set since the last call, if any.
  std::optional<std::string> TakeTitle();
  bool ended() const { return ended_.load(); }
  int status() const { return status_.load(); }

 private:
  std::mutex title_mutex_;
  std::string pending_title_;
  bool title_changed_ = false;
  std::atomic<bool> ended_{false};
  std::atomic<int> status_{0};
};

}  // namespace qb
