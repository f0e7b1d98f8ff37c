#include "gfx/key_queue.h"

namespace qb {

KeyQueue& Keys() {
  static KeyQueue queue;
  return queue;
}

void KeyQueue::Push(std::uint32_t code) {
  std::lock_guard lock(mutex_);
  const int next = (tail_ + 1) % kSlots;
  if (next == head_) head_ = (head_ + 1) % kSlots;  // full: drop the oldest
  ring_[static_cast<std::size_t>(tail_)] = code;
  tail_ = next;
  arrived_ = true;
  arrival_.notify_all();
}

std::optional<std::uint32_t> KeyQueue::Pop() {
  std::lock_guard lock(mutex_);
  arrived_ = false;
  if (head_ == tail_) return std::nullopt;
  const std::uint32_t code = ring_[static_cast<std::size_t>(head_)];
  head_ = (head_ + 1) % kSlots;
  return code;
}

bool KeyQueue::TakeArrival() {
  std::lock_guard lock(mutex_);
  const bool a = arrived_;
  arrived_ = false;
  return a;
}

int KeyQueue::Size() const {
  std::lock_guard lock(mutex_);
  return (tail_ - head_ + kSlots) % kSlots;
}

bool KeyQueue::WaitForKey(std::optional<std::chrono::steady_clock::time_point> deadline) {
  std::unique_lock lock(mutex_);
  auto waiting = [this] { return head_ != tail_ || released_; };
  if (!deadline)
    arrival_.wait(lock, waiting);
  else
    arrival_.wait_until(lock, *deadline, waiting);
  return head_ != tail_;
}

void KeyQueue::Release() {
  std::lock_guard lock(mutex_);
  released_ = true;
  arrival_.notify_all();
}

void KeyQueue::Clear() {
  std::lock_guard lock(mutex_);
  head_ = tail_ = 0;
  arrived_ = false;
  released_ = false;
}

}  // namespace qb
