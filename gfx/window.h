// The game's window, as every window back end provides it (gfx/sdl/ on the
// desktop, gfx/web/ in the browser). The game runs inside RunInWindow and
// reaches the window only through the drawing surface and Platform.
#pragma once

#include <functional>

namespace qb {

// Opens the window, runs `game` while the window is kept alive, and returns
// the status the game passed to EndProgram. When no window can be opened it
// prints "cannot open the game window: ..." to stderr and returns 1 without
// running the game. `fullscreen` starts it in full screen, where the back end
// has one.
int RunInWindow(const std::function<void()>& game, bool fullscreen = false);

}  // namespace qb
