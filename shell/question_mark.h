// The side bar's blinking question mark, shown by the main menu and the
// instructions and about screens.
#pragma once

namespace qb {

// One poll's share of the blink: counts the poll and, once `polls` polls have
// passed, draws the question mark due next at the side bar's foot and flips
// the phase. The counter and phase are the game state's, which the pause
// screen borrows for its cup.
void BlinkQuestionMark(float polls);

// The sleep at the end of a pass of a loop that blinks the question mark:
// sleeps through the passes that would leave it as it is (ending early for a
// key) and counts them as polls.
void SleepUntilBlink(float polls);

}  // namespace qb
