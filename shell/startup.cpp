#include "shell/startup.h"

#include "data/catalogue.h"
#include "flow/state.h"
#include "gfx/surface.h"
#include "shell/screen_loop.h"

namespace qb {

void RunGame(const StartOptions& options) {
  State() = GameState{};
  ClearScreen();
  FillCatalogue();
  Screen first = Screen::MainMenu;
  if (options.level) {
    State().EnterLevel(*options.level, options.score);
    first = Screen::Play;
  }
  RunScreenLoop(first, options.run);
}

}  // namespace qb
