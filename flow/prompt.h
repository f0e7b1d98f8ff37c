// What the shell's and the game's waiting screens share: how a wait for the
// player ends, the continue keys, and the two ways out that every prompt
// offers (F5 back to the menu, the close button).
#pragma once

#include <optional>
#include "flow/screens.h"
#include "gfx/key.h"

namespace qb {

// How a step that waits for the player ended: either the game goes on where
// it was (leave is empty; key holds the key that closed the step), or it
// leaves for another screen (the main menu, or the end of the program).
struct Prompt {
  std::optional<Screen> leave;
  Key key;
};

// The continue keys: Space, Escape, Backspace.
bool IsContinueKey(Key key);

// Menu return: level-running flag, score, counters and previous score to 0,
// a 270 ms wait; returns Screen::MainMenu.
Screen MenuReturn();
// The close button: a 500 ms wait; returns Screen::Exit.
Screen CloseProgram();
// In a prompt, the close button ends the program and F5 returns to the menu.
std::optional<Screen> LeaveFromPrompt(Key key);

}  // namespace qb
