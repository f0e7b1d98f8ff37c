// The screens of the game. Each screen runs until it hands control on, and
// returns the screen to enter next; one loop enters them in turn, so any
// length of play runs in constant stack and memory.
#pragma once

#include <cstdint>
#include <string_view>

namespace qb {

enum class Screen : std::uint8_t {
  MainMenu,
  Play,
  Completion,
  Password,
  Instructions,
  About,
  Credits,
  AllLevels,
  Exit,  // end the program (any wait before it is already done)
};

std::string_view ScreenName(Screen s);

// Runs one screen and returns the next.
Screen RunScreen(Screen s);

using ScreenRunner = Screen (*)(Screen);

// Enters `first` and then every screen that follows, until one ends the
// program; then calls EndProgram(0). `run` enters one screen (tests replace it).
void RunScreenLoop(Screen first, ScreenRunner run = RunScreen);

// The screen the loop is in now (for reports by the replay tool).
Screen CurrentScreen();

}  // namespace qb
