// The screens of the game and their entry procedures. Each screen runs until
// it hands control on and returns the screen to enter next; the screen loop
// (shell/screen_loop.h) enters them in turn, so any length of play runs in
// constant stack and memory. Both the shell and the game layer name screens
// through this header only.
#pragma once

#include <cstdint>

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

Screen RunMainMenu();       // shell/main_menu.cpp
Screen ShowInstructions();  // shell/info_screens.cpp
Screen ShowAbout();
Screen ShowCredits();
Screen PlayLevel();         // game/play_screen.cpp
Screen CompleteLevel();     // game/completion.cpp
Screen EnterPassword();     // game/password_screen.cpp
Screen ShowAllLevels();     // game/all_levels_screen.cpp

}  // namespace qb
