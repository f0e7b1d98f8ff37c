// The entry procedures of every screen; each returns the screen to enter next.
#pragma once

#include "shell/screen.h"

namespace qb {

Screen RunMainMenu();     // shell/main_menu.cpp
Screen ShowInstructions();  // shell/info_screens.cpp
Screen ShowAbout();
Screen ShowCredits();
Screen PlayLevel();       // game/play_screen.cpp
Screen CompleteLevel();   // game/completion.cpp
Screen EnterPassword();   // game/password_screen.cpp
Screen ShowAllLevels();   // game/interludes.cpp

}  // namespace qb
