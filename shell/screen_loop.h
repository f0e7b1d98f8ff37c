// The loop that runs the game: it enters a screen, takes the screen it
// returns and enters that one, until a screen ends the program.
#pragma once

#include <string_view>

#include "flow/screens.h"

namespace qb {

// Runs one screen and returns the next.
Screen RunScreen(Screen s);

using ScreenRunner = Screen (*)(Screen);

// Enters `first` and then every screen that follows, until one ends the
// program; then calls EndProgram(0). `run` enters one screen (tests replace it).
void RunScreenLoop(Screen first, ScreenRunner run = RunScreen);

// A screen's name, as reports and tests show it.
std::string_view ScreenName(Screen s);

// The screen the loop is in now (for reports by the replay tool).
Screen CurrentScreen();

}  // namespace qb
