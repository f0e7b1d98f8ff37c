#include "flow/prompt.h"

#include "flow/state.h"
#include "gfx/surface.h"

namespace qb {

namespace {
// Both ways out pause before they go, so that the key's effect is seen: the
// menu appears 270 ms after F5, the program ends half a second after the
// close request. Replays and the tests count on both.
constexpr int kMenuReturnMs = 270;
constexpr int kCloseMs = 500;
}  // namespace

bool IsContinueKey(Key key) {
  return key == key::kSpace || key == key::kEscape || key == key::kBackspace;
}

Screen MenuReturn() {
  State().ResetProgress();
  SleepMs(kMenuReturnMs);
  return Screen::MainMenu;
}

Screen CloseProgram() {
  SleepMs(kCloseMs);
  return Screen::Exit;
}

std::optional<Screen> LeaveFromPrompt(Key key) {
  if (key == key::kClose) return CloseProgram();
  if (key == key::kF5) return MenuReturn();
  return std::nullopt;
}

}  // namespace qb
