// The headless twin of the window: the same surface in memory, a virtual clock
// that waits advance, and keys that arrive at given virtual times. Tests and
// the replay tool run the real game on it, deterministically.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gfx/key_queue.h"
#include "gfx/pixel_buffer.h"
#include "gfx/platform.h"

namespace qb {

// Thrown out of PollKey or SleepMs when a headless run is over: the script's
// keys are all read and the game waits for more, or the stop time is reached.
struct RunStopped {};

class HeadlessPlatform final : public Platform {
 public:
  struct ScriptedKey {
    std::int64_t at_ms;  // virtual time of arrival
    std::uint32_t code;  // as queued (Key::code)
  };

  // Keys must be in order of arrival. Without a stop time the run stops at the
  // first poll that finds no key waiting and none to come.
  explicit HeadlessPlatform(std::vector<ScriptedKey> keys = {}, std::optional<std::int64_t> stop_at_ms = {});

  void SetTitle(std::string_view title) override;
  void Wait(int milliseconds) override;
  std::int64_t NowMs() override { return now_; }
  // Jumps the clock to the next key's arrival or the deadline, whichever
  // comes first, in one step however long the wait.
  void SleepUntilKey(int milliseconds) override;
  void BeforePoll() override;

  // Adds a key arriving at the given time (not before any key already added).
  void AddKey(std::int64_t at_ms, std::uint32_t code);

  // Makes every wait for a key with a deadline return at once, as a wake-up
  // with nothing to read: the game's loops then run every pass one by one
  // instead of sleeping through idle ones. Tests compare the two.
  void WakeEveryPass(bool on) { wake_every_pass_ = on; }

  std::int64_t now_ms() const { return now_; }
  const std::vector<std::string>& titles() const { return titles_; }
  std::string title() const { return titles_.empty() ? std::string{} : titles_.back(); }
  std::size_t keys_delivered() const { return next_; }
  // The deepest stack seen at a poll (the lowest frame address): screens
  // that hand on instead of calling each other keep it the same however long
  // the game runs.
  std::uintptr_t deepest_poll_frame() const { return deepest_poll_frame_; }

 private:
  void AdvanceTo(std::int64_t t);  // delivers every key due by then

  std::vector<ScriptedKey> keys_;
  std::size_t next_ = 0;  // first key not yet delivered
  std::optional<std::int64_t> stop_at_;
  std::int64_t now_ = 0;
  bool waited_since_poll_ = true;
  bool wake_every_pass_ = false;
  std::vector<std::string> titles_;
  std::uintptr_t deepest_poll_frame_ = UINTPTR_MAX;
};

}  // namespace qb
