// The game state every screen reads and writes.
#pragma once

#include <cstdint>

namespace qb {

struct GameState {
  std::uint8_t level = 1;      // 1..200; 201 only right after skipping level 200
  float score = 0;             // whole numbers 0..99000
  float previous_score = 0;    // the score carried into the level
  float steps = 0;             // successful moves since play proper began
  float time = 0;              // play-loop passes since play proper began
  std::uint8_t level_running = 0;  // 1: entering the play screen starts play at once
  std::uint8_t appearance = 0;     // 1: the next full board drawing animates the figure
  float blink_counter = 0;         // polls since the question mark / cup last changed
  std::uint8_t blink_phase = 0;    // which of the two pictures comes next
};

GameState& State();

inline constexpr std::uint16_t kPasswordOffset = 973;

}  // namespace qb
