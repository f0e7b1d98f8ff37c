// What a back end provides to the drawing surface. A back end is one folder
// under gfx/ (gfx/sdl/, gfx/win32/, gfx/web/, gfx/headless/); it implements
// Platform and, for a window, RunInWindow (gfx/window.h), which runs the game
// through RunOnPlatform. The pixels and keys the surface shares with a back
// end are in gfx/pixel_buffer.h and gfx/key_queue.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

namespace qb {

class Platform {
 public:
  virtual ~Platform() = default;

  virtual void SetTitle(std::string_view title) = 0;
  // A plain wait; keys that arrive meanwhile are queued as usual.
  virtual void Wait(int milliseconds) = 0;
  // The back end's clock, in milliseconds from any origin: the time that its
  // waits let pass.
  virtual std::int64_t NowMs() = 0;
  // Sleeps until a key waits in the queue or the milliseconds have passed
  // (negative: no limit). It may end early with no key queued. WaitForKey
  // (gfx/surface.h) is built on it and on NowMs.
  virtual void SleepUntilKey(int milliseconds) = 0;
  // Called at the start of every PollKey, before the queue is read.
  virtual void BeforePoll() {}

  // EndProgram: notes the status, then tells the back end (OnEnd).
  void End(int status) {
    exit_status_.store(status);
    ended_.store(true);
    OnEnd();
  }
  bool ended() const { return ended_.load(); }
  int exit_status() const { return exit_status_.load(); }

 protected:
  virtual void OnEnd() {}

 private:
  std::atomic<bool> ended_{false};
  std::atomic<int> exit_status_{0};
};

// Installs the back end the surface delegates to (not owned). Also resets the
// current colours to their start-up values.
void InstallPlatform(Platform* platform);

// Runs the game on a window back end's platform: installs it, starts from an
// empty key queue with every row marked for the first present, runs `game`
// and uninstalls the platform again (also when `game` throws). Returns the
// status the game passed to EndProgram, 0 when it ended without.
int RunOnPlatform(Platform& platform, const std::function<void()>& game);

}  // namespace qb
