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
    auto& s = State();
    s.level = static_cast<std::uint8_t>(*options.level);
    s.score = s.previous_score = options.score;
    s.appearance = 1;
    s.level_running = 0;
    first = Screen::Play;
  }
  RunScreenLoop(first, options.run);
}

}  // namespace qb
