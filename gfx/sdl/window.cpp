#include "gfx/window.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "gfx/code_page_437.h"
#include "gfx/key_translation.h"
#include "gfx/platform.h"
#include "gfx/sdl/presenter.h"
#include "gfx/sdl/sdl_keys.h"
#include "gfx/sdl/window_platform.h"

namespace qb {

namespace {
constexpr int kFrameMs = 16;
}  // namespace

int RunInWindow(const std::function<void()>& game) {
  const char* driver_asked = std::getenv("SDL_VIDEODRIVER");
  const bool driver_chosen = driver_asked && *driver_asked;
  if (!driver_chosen && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "cannot open the game window: no display (DISPLAY is not set)\n");
    return 1;
  }
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
    return 1;
  }
  // SDL falls back to drivers that show nothing; a player would see no window.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!driver_chosen && (driver == "offscreen" || driver == "dummy")) {
    std::fprintf(stderr, "cannot open the game window: no display found\n");
    SDL_Quit();
    return 1;
  }
  // Resizable only so that the window manager offers the maximise button;
  // dragging the border snaps back to the fixed size below.
  SDL_Window* window = SDL_CreateWindow("QUIZZLEBOX", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kSurfaceWidth,
                                        kSurfaceHeight, SDL_WINDOW_RESIZABLE);
  if (!window) {
    std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  int status = 0;
  {
    Presenter presenter(window);
    if (!presenter.ok()) {
      std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
      SDL_DestroyWindow(window);
      SDL_Quit();
      return 1;
    }
    WindowPlatform platform;
    InstallPlatform(&platform);
    Keys().Clear();
    Pixels().MarkAllDirty();
    SDL_StartTextInput();

    std::atomic<bool> game_done{false};
    std::thread game_thread([&] {
      game();
      game_done.store(true);
    });

    bool force_present = true;
    auto next_frame = std::chrono::steady_clock::now();
    while (!game_done.load() && !platform.ended()) {
      SDL_Event e;
      while (SDL_WaitEventTimeout(&e, 2)) {
        switch (e.type) {
          case SDL_QUIT: Keys().Push(key::Extended(key::kClose)); break;
          case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
              Keys().Push(key::Extended(key::kClose));
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
              const auto flags = SDL_GetWindowFlags(window);
              if (!(flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) &&
                  (e.window.data1 != kSurfaceWidth || e.window.data2 != kSurfaceHeight))
                SDL_SetWindowSize(window, kSurfaceWidth, kSurfaceHeight);
              force_present = true;
            } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_RESTORED ||
                       e.window.event == SDL_WINDOWEVENT_MAXIMIZED) {
              force_present = true;
            }
            break;
          case SDL_KEYDOWN: {
            const auto mod = static_cast<std::uint16_t>(e.key.keysym.mod);
            if (AltHeld(mod)) {
              if (e.key.keysym.sym == SDLK_RETURN && !e.key.repeat) {
                const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
                SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
                force_present = true;
              }
              break;
            }
            if (auto code = TranslateKeyDown(ToKeyPress(e.key.keysym.sym, mod))) Keys().Push(*code);
            break;
          }
          case SDL_TEXTINPUT:
            if (AltHeld(static_cast<std::uint16_t>(SDL_GetModState()))) break;
            for (std::uint8_t b : TypedBytes(e.text.text)) Keys().Push(b);
            break;
          default: break;
        }
        if (std::chrono::steady_clock::now() >= next_frame) break;
      }
      if (auto title = platform.TakeTitle()) SDL_SetWindowTitle(window, title->c_str());
      const auto now = std::chrono::steady_clock::now();
      if (now >= next_frame) {
        presenter.Present(force_present);
        force_present = false;
        next_frame = now + std::chrono::milliseconds(kFrameMs);
      }
    }
    game_thread.join();
    status = platform.status();
    SDL_StopTextInput();
    InstallPlatform(nullptr);
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}

}  // namespace qb
