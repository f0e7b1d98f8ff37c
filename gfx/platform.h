// What a platform back end provides to the drawing surface, and the state the
// surface shares with it: the pixel buffer with its changed-row marks and the
// key queue. The SDL2 window and the headless twin both implement Platform.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>

#include "gfx/surface.h"

namespace qb {

// The pixels the game draws. Only the game thread stores pixels; a window
// back end reads them, on the thread that presents, as changed rows. Relaxed
// atomic stores keep each call a plain buffer write while staying free of
// data races; a row mark tells the presenter what changed, and the first
// change after a present signals the back end so that it can wake up.
class PixelBuffer {
 public:
  using Signal = void (*)(void* context);

  void Store(int x, int y, Colour c) {
    auto& p = pixels_[static_cast<std::size_t>(y) * kSurfaceWidth + x];
    if (p.load(std::memory_order_relaxed) == c) return;  // nothing to show
    p.store(c, std::memory_order_relaxed);
    dirty_[y].store(1, std::memory_order_release);
    if (!signalled_.load(std::memory_order_relaxed)) RaiseSignal();
  }
  // Stores `count` colours from (x, y) to the right, all on the surface.
  void StoreSpan(int x, int y, const Colour* colours, int count) {
    auto* p = &pixels_[static_cast<std::size_t>(y) * kSurfaceWidth + x];
    bool changed = false;
    for (int i = 0; i < count; ++i) {
      if (p[i].load(std::memory_order_relaxed) == colours[i]) continue;
      p[i].store(colours[i], std::memory_order_relaxed);
      changed = true;
    }
    if (!changed) return;
    dirty_[y].store(1, std::memory_order_release);
    if (!signalled_.load(std::memory_order_relaxed)) RaiseSignal();
  }
  Colour Load(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * kSurfaceWidth + x].load(std::memory_order_relaxed);
  }

  // ---- the presenting side ----
  // Installs what the first change after a present calls (on the drawing
  // thread); nullptr for none. Install before the game starts drawing.
  void SetSignal(Signal signal, void* context);
  // Re-arms the signal; call before reading the changed rows of a present.
  void BeginPresent();
  // Clears and returns the row's changed mark.
  bool TakeDirty(int y) { return dirty_[y].exchange(0, std::memory_order_acquire) != 0; }
  void MarkAllDirty();

  // ---- the drawing side ----
  // Signals any change that a present running at the same time may have
  // missed. The surface calls it before every wait, so a frame is never left
  // unshown while the game sleeps.
  void Flush();

 private:
  void RaiseSignal();

  std::array<std::atomic<Colour>, static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight> pixels_{};
  std::array<std::atomic<std::uint8_t>, kSurfaceHeight> dirty_{};
  std::atomic<bool> signalled_{false};
  Signal signal_ = nullptr;
  void* signal_context_ = nullptr;
};

// A ring of 16 key codes; at most 15 wait, and a 16th arrival drops the oldest.
// The arrival flag is set by every arrival and cleared by every poll and by the
// key check inside a long SleepMs.
class KeyQueue {
 public:
  static constexpr int kSlots = 16;
  void Push(std::uint32_t code);
  std::optional<std::uint32_t> Pop();  // also clears the arrival flag
  bool TakeArrival();                  // returns and clears the arrival flag
  int Size() const;
  void Clear();
  // Blocks until a key waits or the deadline passes (no deadline: until a
  // key); returns whether a key waits. For back ends whose keys arrive on
  // another thread.
  bool WaitForKey(std::optional<std::chrono::steady_clock::time_point> deadline);

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrival_;
  std::array<std::uint32_t, kSlots> ring_{};
  int head_ = 0;  // next to pop
  int tail_ = 0;  // next free slot
  bool arrived_ = false;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual void OpenWindow(int width, int height) = 0;
  virtual void SetTitle(std::string_view title) = 0;
  // A plain wait; keys that arrive meanwhile are queued as usual.
  virtual void Wait(int milliseconds) = 0;
  // Waits until a key waits in the queue or the milliseconds have passed
  // (negative: no deadline); returns the milliseconds that passed, rounded
  // down, at most `milliseconds`. Returns 0 at once when a key already waits.
  virtual int WaitForKey(int milliseconds) = 0;
  // Called at the start of every PollKey, before the queue is read.
  virtual void BeforePoll() {}
  virtual void End(int status) = 0;
};

// The surface's state, shared by the game and the installed platform.
PixelBuffer& Pixels();
KeyQueue& Keys();
// Installs the back end the surface delegates to (not owned). Also resets the
// current colours to their start-up values.
void InstallPlatform(Platform* platform);

}  // namespace qb
