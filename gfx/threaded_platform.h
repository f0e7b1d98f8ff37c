// The game thread's side of a desktop window whose messages are handled on a
// thread of its own (gfx/sdl/, gfx/win32/): what the drawing surface asks of
// the platform (title, waits, the end). Nothing here calls the window system;
// what the window's thread must act on is handed over and announced through
// `wake`, which the back end sets to its thread-safe wake-up.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "gfx/platform.h"

namespace qb {

// Thrown on the game thread by the platform's waits and polls once the window
// is lost (ThreadedPlatform::Abandon): it unwinds the game, which then ends.
struct WindowLost {};

class ThreadedPlatform final : public Platform {
 public:
  using Wake = void (*)();
  explicit ThreadedPlatform(Wake wake) : wake_(wake) {}

  void SetTitle(std::string_view title) override;
  void Wait(int milliseconds) override;
  std::int64_t NowMs() override;
  void SleepUntilKey(int milliseconds) override;
  void BeforePoll() override;

  // Any thread: the window is gone. The game's next wait or poll, or the one
  // it is in, throws WindowLost.
  void Abandon();
  bool abandoned() const { return abandoned_.load(); }

  // The window's thread: the title set since the last call, if any.
  std::optional<std::string> TakeTitle();

 protected:
  void OnEnd() override { wake_(); }

 private:
  void ThrowIfAbandoned() const;

  Wake wake_;
  std::atomic<bool> abandoned_{false};
  std::mutex title_mutex_;
  std::string pending_title_;
  bool title_changed_ = false;
};

}  // namespace qb
