// The game's window: the one function a window back end (gfx/sdl/ on Linux,
// gfx/win32/ on Windows, gfx/web/ in the browser) defines, and the game's only
// way into it. The game then reaches the window through the drawing surface.
#pragma once

#include <functional>

namespace qb {

struct WindowOptions {
  bool fullscreen = false;  // start in full screen, where the back end has one
};

// Opens the window, runs `game` while the window is kept alive, and returns
// the status the game passed to EndProgram. When no window can be opened it
// prints "cannot open the game window: ..." to stderr and returns 1 without
// running the game.
int RunInWindow(const std::function<void()>& game, const WindowOptions& options = {});

}  // namespace qb
