// Screens still being built: each waits for the close request.
#include "gfx/surface.h"
#include "shell/screens.h"

namespace qb {

namespace {
Screen WaitForClose() {
  for (;;) {
    if (PollKey() == key::kStrClose) {
      SleepMs(500);
      return Screen::Exit;
    }
    SleepMs(1);
  }
}
}  // namespace

Screen RunMainMenu() { return WaitForClose(); }
Screen ShowInstructions() { return WaitForClose(); }
Screen ShowAbout() { return WaitForClose(); }
Screen ShowCredits() { return WaitForClose(); }
Screen CompleteLevel() { return WaitForClose(); }
Screen EnterPassword() { return WaitForClose(); }

}  // namespace qb
