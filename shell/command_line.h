// The game's command line: --fullscreen, --help and --version. Without
// options the game starts as it always has, at the main menu in its window.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace qb {

struct CommandLine {
  bool fullscreen = false;
  // Set when the program prints `text` and ends with this status instead of
  // playing: 0 for --help and --version (text for standard output), 2 for an
  // unknown option (text for standard error).
  std::optional<int> exit_status;
  std::string text;
};

// Reads the arguments that follow the program's name.
CommandLine ReadCommandLine(std::span<const char* const> args);

}  // namespace qb
