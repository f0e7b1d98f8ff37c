#include "flow/state.h"

namespace qb {

GameState& State() {
  static GameState state;
  return state;
}

void GameState::StartNewGame() {
  // Every way back to the menu has cleared the score and the running flag
  // already; a new game clears them again so that it opens with the level
  // card at score 0 whatever came before.
  ResetProgress();
  level = 1;
  appearance = 1;
}

void GameState::ResetProgress() {
  level_running = 0;
  score = steps = time = previous_score = 0;
}

void GameState::EnterLevel(int at, float with_score) {
  level = static_cast<std::uint8_t>(at);
  score = previous_score = with_score;
  level_running = 0;
  appearance = 1;
}

void GameState::BeginPlay() { steps = time = 0; }

void GameState::FinishLevel(float new_step_bonus, float new_time_bonus, float new_score) {
  step_bonus = new_step_bonus;
  time_bonus = new_time_bonus;
  score = new_score;
}

void GameState::Charge(float cost) {
  score -= cost;
  previous_score -= cost;
}

}  // namespace qb
