// QUIZZLEBOX: the program's entry point. Without options it opens the window
// and starts at the main menu; see shell/command_line.h for the options.
#include <cstdio>

#include "gfx/window.h"
#include "shell/command_line.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  const qb::CommandLine line = qb::ReadCommandLine({argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)});
  if (line.exit_status) {
    std::fputs(line.text.c_str(), *line.exit_status == 0 ? stdout : stderr);
    return *line.exit_status;
  }
  return qb::RunInWindow([] { qb::RunGame(); }, line.fullscreen);
}
