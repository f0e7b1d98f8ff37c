// The game's window in a web page (WebAssembly). The game runs on the page's
// only thread: its waits unwind to the browser (Asyncify) and resume on a
// timer, while the browser delivers keys to the key queue and each animation
// frame copies the changed rows of the pixel buffer onto the canvas.
#pragma once

#include <functional>

namespace qb {

// Hooks the keyboard and the frame loop to the page, runs `game` and, once it
// has ended, tells the page (which shows its end note).
void RunInPage(const std::function<void()>& game);

}  // namespace qb
