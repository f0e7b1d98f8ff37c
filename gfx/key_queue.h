// The key queue between a back end, which pushes the keys it receives, and
// the game, which polls them.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace qb {

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
  void Clear();  // also ends a Release()
  // Blocks until a key waits or the deadline passes (no deadline: until a
  // key); returns whether a key waits. For back ends whose keys arrive on
  // another thread.
  bool WaitForKey(std::optional<std::chrono::steady_clock::time_point> deadline);
  // Ends the waits in WaitForKey, now and from then on until Clear(), with
  // nothing queued: the window that sends the keys is gone.
  void Release();

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrival_;
  std::array<std::uint32_t, kSlots> ring_{};
  int head_ = 0;  // next to pop
  int tail_ = 0;  // next free slot
  bool arrived_ = false;
  bool released_ = false;
};

// The surface's key queue.
KeyQueue& Keys();

}  // namespace qb
