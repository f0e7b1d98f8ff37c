// The side bar's blinking question mark, shown by the main menu and the
// instructions and about screens.
#pragma once

namespace qb {

// One poll's share of the blink: counts the poll and, once `polls` polls have
// passed, draws the question mark due next at the side bar's foot and flips
// the phase. The counter and phase are the game state's, which the pause
// screen borrows for its cup.
void BlinkQuestionMark(float polls);

}  // namespace qb
