// QUIZZLEBOX: the program's entry point. Without options it opens the window
// and starts at the main menu; see shell/command_line.h for the options.
#include <cstdio>

#include "flow/state.h"
#include "gfx/window.h"
#include "shell/command_line.h"
#include "shell/screen_loop.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  const qb::CommandLine line = qb::ReadCommandLine({argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)});
  if (line.exit_status) {
    FILE* to = *line.exit_status == 0 ? stdout : stderr;
    // Help or version that could not be written (a full disk, a closed
    // pipe) is a failure, not a success.
    if (std::fputs(line.text.c_str(), to) < 0 || std::fflush(to) != 0) {
      if (to == stdout) std::fputs("quizzlebox: cannot write to standard output\n", stderr);
      return *line.exit_status == 0 ? 1 : *line.exit_status;
    }
    return *line.exit_status;
  }
  return qb::RunInWindow([] { qb::RunGame(); }, {.fullscreen = line.fullscreen});
}

#ifdef __EMSCRIPTEN__
// In a web page: the screen the game shows ("menu", "password", "play"...).
// The page offers digit keys on touch screens while the password screen is open.
extern "C" const char* qb_screen() { return qb::ScreenName(qb::CurrentScreen()).data(); }
// The play loop's pass count (the time counter): the page's benchmark reads
// how fast it grows.
extern "C" double qb_play_passes() { return qb::State().time; }
#endif
