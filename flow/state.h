// The game state: the level, the score and the counters of the game under
// way, and the flags that tell the play screen how to begin. Screens change
// it through the operations below where one exists; docs/HACKING.md says
// which layer changes what.
#pragma once

#include <cstdint>

namespace qb {

struct GameState {
  std::uint8_t level = 1;      // 1..200; 201 only right after skipping level 200
  float score = 0;             // whole numbers 0..99000
  float previous_score = 0;    // the score carried into the level (during play equal to score)
  float steps = 0;             // successful moves since play proper began
  float time = 0;              // play-loop passes since play proper began
  float step_bonus = 0;        // of the level last completed
  float time_bonus = 0;
  std::uint8_t level_running = 0;  // 1: entering the play screen starts play at once
  std::uint8_t appearance = 0;     // 1: the next full board drawing animates the figure
  float blink_counter = 0;         // polls since the question mark / cup last changed
  std::uint8_t blink_phase = 0;    // which of the two pictures comes next

  // "BEGIN NEW GAME": level 1 at score 0, counters cleared, the level card
  // first and the figure appearing.
  void StartNewGame();
  // Every way back to the menu: score, previous score and counters to 0, the
  // next level entered shows its card.
  void ResetProgress();
  // A game resumed at `at` with `with_score` (an accepted password, the
  // command line): the card first, the figure appearing.
  void EnterLevel(int at, float with_score);
  // Play proper begins (after the card's Space, on restart): counters to 0.
  void BeginPlay();
  // The level is solved: keeps the bonuses and makes the new score.
  void FinishLevel(float new_step_bonus, float new_time_bonus, float new_score);
  // A paid command takes its cost from the score and the previous score.
  void Charge(float cost);
};

GameState& State();

inline constexpr std::uint16_t kPasswordOffset = 973;

}  // namespace qb
