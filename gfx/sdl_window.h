// The game's window on SDL2. The window's events and presentation run on the
// main thread; the game runs on a thread of its own and reaches the window
// only through the drawing surface (pixel buffer, key queue) and Platform.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <SDL.h>

namespace qb {

// Opens the window, runs `game` on its own thread while the main thread keeps
// the window alive, and returns the status the game passed to EndProgram.
// Without a display it prints "cannot open the game window: ..." to stderr
// and returns 1 without running the game. `fullscreen` starts the window in
// full screen (Alt+Enter switches, as always).
int RunInWindow(const std::function<void()>& game, bool fullscreen = false);

// The key code (as queued) for a key press, or nothing when the press queues
// no key itself (characters come through text input). Exposed for tests.
std::optional<std::uint32_t> TranslateKeyDown(SDL_Keycode sym, std::uint16_t mod);
// Where the picture stands in a window area of that size: grown by the
// largest whole factor that fits (full screen, maximised), centred on black.
SDL_Rect FitPicture(int width, int height);
// The code page 437 byte for a Unicode character; '?' where it has none.
std::uint8_t ToCodePage437(char32_t c);

}  // namespace qb
