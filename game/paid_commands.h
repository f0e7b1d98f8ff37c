// The commands that cost score: take back a move, save and load the position,
// skip the level. Each tests the score, shows its refusal or acceptance dialog
// and ends in the continue prompt.
#pragma once

#include <string_view>

#include "game/interludes.h"

namespace qb {

inline constexpr float kSkipCost = 25000, kTakeBackCost = 500, kSaveCost = 200, kLoadCost = 1000;

// The first number written in a text ("- 500 take back move": 500), -1 if it
// has none. The dialogs and the instructions write the costs in their texts;
// the build checks them against the constants with it.
constexpr float CostWrittenIn(std::string_view text) {
  const auto first = text.find_first_of("0123456789");
  if (first == std::string_view::npos) return -1;
  float value = 0;
  for (auto i = first; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

Prompt TakeBackMove();
Prompt SavePosition();
Prompt LoadPosition();

enum class SkipFrom { PlayProper, LevelEntry, Completion };
// An accepted skip leaves for the next level's play screen or, past level
// 200, the all-levels screen; a refused one returns with the closing key.
Prompt SkipLevel(SkipFrom from);

// The wait of the level card and of the completion screen: returns nothing
// once Space is pressed (also when it closes a refused skip); returns the
// screen to go to after an accepted skip, F5 (menu) or the close button.
std::optional<Screen> AwaitSpaceOrSkip(SkipFrom from);

}  // namespace qb
