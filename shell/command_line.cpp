#include "shell/command_line.h"

#include <string_view>

#include "shell/version.h"

namespace qb {

namespace {

constexpr std::string_view kUsage =
    "Usage: quizzlebox [--fullscreen]\n"
    "A box-pushing puzzle game: walk the figure and push every box onto a\n"
    "target, through 200 levels. The game is played with the keyboard.\n"
    "\n"
    "  --fullscreen  start in full screen (Alt+Enter switches to the window)\n"
    "  --help        show this help and end\n"
    "  --version     show the version and end\n";

}  // namespace

CommandLine ReadCommandLine(std::span<const char* const> args) {
  CommandLine line;
  for (const std::string_view arg : args) {
    if (arg == "--fullscreen") {
      line.fullscreen = true;
    } else if (arg == "--help" || arg == "-h") {
      return {false, 0, std::string(kUsage)};
    } else if (arg == "--version") {
      return {false, 0, "quizzlebox " QB_VERSION "\n"};
    } else {
      return {false, 2, "quizzlebox: unknown option '" + std::string(arg) + "'\n" + std::string(kUsage)};
    }
  }
  return line;
}

}  // namespace qb
