#include "gfx/headless/headless.h"

#include <algorithm>
#include <utility>

#include "gfx/headless/stack_depth.h"

namespace qb {

HeadlessPlatform::HeadlessPlatform(std::vector<ScriptedKey> keys, std::optional<std::int64_t> stop_at_ms)
    : keys_(std::move(keys)), stop_at_(stop_at_ms) {
  Keys().Clear();
}

void HeadlessPlatform::SetTitle(std::string_view title) { titles_.emplace_back(title); }

void HeadlessPlatform::AddKey(std::int64_t at_ms, std::uint32_t code) { keys_.push_back({at_ms, code}); }

void HeadlessPlatform::AdvanceTo(std::int64_t t) {
  while (next_ < keys_.size() && keys_[next_].at_ms <= t) {
    now_ = std::max(now_, keys_[next_].at_ms);
    Keys().Push(keys_[next_].code);
    ++next_;
  }
  now_ = std::max(now_, t);
}

void HeadlessPlatform::Wait(int milliseconds) {
  waited_since_poll_ = true;
  const std::int64_t until = now_ + milliseconds;
  if (stop_at_ && until > *stop_at_) {
    AdvanceTo(*stop_at_);
    throw RunStopped{};
  }
  AdvanceTo(until);
}

void HeadlessPlatform::SleepUntilKey(int milliseconds) {
  waited_since_poll_ = true;
  AdvanceTo(now_);
  if (Keys().Size() > 0 || (wake_every_pass_ && milliseconds >= 0)) return;
  const bool key_coming = next_ < keys_.size();
  std::optional<std::int64_t> until;
  if (milliseconds >= 0) until = now_ + milliseconds;
  if (key_coming && (!until || keys_[next_].at_ms <= *until)) until = keys_[next_].at_ms;
  // Nothing waits and nothing will come: the run ends here, as a polling
  // loop's would at its next poll.
  if (!until && !stop_at_) throw RunStopped{};
  // A wait past the stop time ends there; the loop counts the time that went
  // by, and its next poll ends the run.
  if (stop_at_ && (!until || *until > *stop_at_)) until = *stop_at_;
  AdvanceTo(*until);
}

void HeadlessPlatform::BeforePoll() {
  deepest_poll_frame_ = std::min(deepest_poll_frame_, StackDepthMark());
  AdvanceTo(now_);
  if (stop_at_ && now_ >= *stop_at_) throw RunStopped{};
  if (Keys().Size() == 0) {
    const bool idle_loop = !waited_since_poll_;
    if (next_ == keys_.size()) {
      // Nothing waits and nothing will come: the run ends here, unless it is
      // to go on until a stop time, to which a loop that never waits jumps.
      if (!stop_at_) throw RunStopped{};
      if (idle_loop) {
        AdvanceTo(*stop_at_);
        throw RunStopped{};
      }
    } else if (idle_loop) {
      // A loop that polls without waiting would spin forever on a virtual
      // clock: let time jump to the next key's arrival.
      const std::int64_t t = keys_[next_].at_ms;
      if (stop_at_ && t > *stop_at_) {
        AdvanceTo(*stop_at_);
        throw RunStopped{};
      }
      AdvanceTo(t);
    }
  }
  waited_since_poll_ = false;
}

}  // namespace qb
