// A player's keys at virtual times, for runs of the whole game: each press
// comes some milliseconds after the one before.
#pragma once

#include <cstdint>
#include <string_view>

#include "screen_checks.h"
#include "solutions.h"

namespace qb::testing {

class Player {
 public:
  Player& Press(std::uint32_t code, std::int64_t after_ms) {
    now_ += after_ms;
    keys_.push_back({now_, code});
    return *this;
  }
  Player& Wait(std::int64_t ms) {
    now_ += ms;
    return *this;
  }
  Player& Type(std::string_view text, std::int64_t gap_ms) {
    for (char c : text) Press(static_cast<std::uint8_t>(c), gap_ms);
    return *this;
  }
  // From the level card: Space, then the solution once the gauges are full.
  Player& SolveLevel(int level) {
    Press(keys::kSpace, kCardShown);
    Wait(kGaugeFillMs - kMoveGap);
    for (char move : Solutions().at(level)) Press(KeyOf(DirectionOfMove(move)), kMoveGap);
    return *this;
  }
  std::int64_t now() const { return now_; }
  const Script& keys() const { return keys_; }

  // The menu's Enter acts after this wait.
  static constexpr std::int64_t kEnterWait = 500;
  // Figure's appearance, then the level card with its gauge fill.
  static constexpr std::int64_t kCardShown = 2500;
  static constexpr std::int64_t kMoveGap = 3;
  // The completion screen's panels and the password are up after 850 ms.
  static constexpr std::int64_t kCompletionShown = 1200;

 private:
  static std::uint32_t KeyOf(Direction d) {
    switch (d) {
      case Direction::Left: return keys::kLeft;
      case Direction::Up: return keys::kUp;
      case Direction::Right: return keys::kRight;
      case Direction::Down: return keys::kDown;
    }
    return keys::kDown;
  }
  std::int64_t now_ = 0;
  Script keys_;
};

}  // namespace qb::testing
