#include "shell/screen_loop.h"

#include "gfx/surface.h"

namespace qb {

namespace {
Screen g_current = Screen::MainMenu;
}

std::string_view ScreenName(Screen s) {
  switch (s) {
    case Screen::MainMenu: return "menu";
    case Screen::Play: return "play";
    case Screen::Completion: return "completion";
    case Screen::Password: return "password";
    case Screen::Instructions: return "instructions";
    case Screen::About: return "about";
    case Screen::Credits: return "credits";
    case Screen::AllLevels: return "all-levels";
    case Screen::Exit: return "exited";
  }
  return "unknown";
}

Screen RunScreen(Screen s) {
  switch (s) {
    case Screen::MainMenu: return RunMainMenu();
    case Screen::Play: return PlayLevel();
    case Screen::Completion: return CompleteLevel();
    case Screen::Password: return EnterPassword();
    case Screen::Instructions: return ShowInstructions();
    case Screen::About: return ShowAbout();
    case Screen::Credits: return ShowCredits();
    case Screen::AllLevels: return ShowAllLevels();
    case Screen::Exit: return Screen::Exit;
  }
  return Screen::Exit;
}

void RunScreenLoop(Screen first, ScreenRunner run) {
  for (Screen s = first; s != Screen::Exit;) {
    g_current = s;
    s = run(s);
  }
  g_current = Screen::Exit;
  EndProgram(0);
}

Screen CurrentScreen() { return g_current; }

}  // namespace qb
