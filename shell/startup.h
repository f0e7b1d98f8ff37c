// Start-up: opens the window, fills the catalogue and enters the first screen.
#pragma once

#include <optional>

#include "shell/screen_loop.h"

namespace qb {

struct StartOptions {
  // Start as an accepted password does, at this level with this score,
  // instead of at the main menu (used by the replay tool).
  std::optional<int> level;
  float score = 0;
  // Enters each screen (tests watch the screens go by through it).
  ScreenRunner run = RunScreen;
};

// Runs the whole game on the installed platform; returns once it has ended.
void RunGame(const StartOptions& options = {});

}  // namespace qb
