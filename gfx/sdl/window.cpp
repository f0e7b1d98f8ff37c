#include "gfx/window.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "gfx/code_page_437.h"
#include "gfx/key_translation.h"
#include "gfx/key_queue.h"
#include "gfx/pixel_buffer.h"
#include "gfx/platform.h"
#include "gfx/sdl/icon.h"
#include "gfx/sdl/lost_display.h"
#include "gfx/sdl/presenter.h"
#include "gfx/sdl/sdl_keys.h"
#include "gfx/threaded_platform.h"

namespace qb {

namespace {

// The event that wakes the main thread from the game thread: a new frame, a
// new title or the end. SDL_PushEvent is the one SDL call that is safe from
// another thread.
Uint32 g_wake_event = 0;

// Set once the connection to the display is lost: nothing may then wake SDL,
// which would write to the display.
std::atomic<bool> g_display_lost{false};

// Set when a wake-up could not be queued (SDL's queue was full): the main
// thread, which is then busy with the events that fill it, takes it as the
// wake-up, so no frame, title or end is left unshown.
std::atomic<bool> g_wake_missed{false};

void PushWake() {
  if (g_display_lost.load()) return;
  SDL_Event e{};
  e.type = g_wake_event;
  if (SDL_PushEvent(&e) < 0) g_wake_missed.store(true);
}

void SignalFrame(void*) { PushWake(); }

// How often the display shows a new picture; 60 Hz where it does not say.
std::chrono::milliseconds RefreshPeriod(SDL_Window* window) {
  SDL_DisplayMode mode{};
  const int hz = SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
  return std::chrono::milliseconds(std::max(1, 1000 / hz));
}

// Handles one event on the main thread; returns whether the whole picture
// must be shown again (the window was exposed, resized or maximised).
bool HandleEvent(const SDL_Event& e, SDL_Window* window) {
  switch (e.type) {
    case SDL_QUIT: Keys().Push(key::kClose.code); break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        Keys().Push(key::kClose.code);
      } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        const auto flags = SDL_GetWindowFlags(window);
        if (!(flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) &&
            (e.window.data1 != kSurfaceWidth || e.window.data2 != kSurfaceHeight))
          SDL_SetWindowSize(window, kSurfaceWidth, kSurfaceHeight);
        return true;
      } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_RESTORED ||
                 e.window.event == SDL_WINDOWEVENT_MAXIMIZED) {
        return true;
      }
      break;
    case SDL_KEYDOWN: {
      const auto mod = static_cast<std::uint16_t>(e.key.keysym.mod);
      if (AltHeld(mod)) {
        if (e.key.keysym.sym == SDLK_RETURN && !e.key.repeat) {
          const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
          SdlFailed(SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP),
                    "SDL_SetWindowFullscreen");
          return true;
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
  return false;
}

// The running game, for the handler of a lost display.
struct RunningGame {
  ThreadedPlatform* platform;
  std::atomic<bool>* done;
  std::thread::id thread;
};
std::atomic<RunningGame*> g_running{nullptr};

// The connection to the display broke, found by a call on this thread. The
// game thread is told to end and given a second to do so (unless it is the
// one that found the loss), then the process ends at once with status 1,
// destroying nothing the game might still touch.
[[noreturn]] void EndOnLostDisplay() {
  static std::atomic<bool> handling{false};
  if (handling.exchange(true))
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));  // the first thread ends the process
  g_display_lost.store(true);
  if (RunningGame* game = g_running.load(); game && std::this_thread::get_id() != game->thread) {
    game->platform->Abandon();
    for (int i = 0; i < 100 && !game->done->load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::fputs("quizzlebox: the connection to the display was lost\n", stderr);
  std::_Exit(1);
}

// Starts SDL's video and opens the window, hidden until it carries its icon,
// so that no desktop ever sees it without. On failure says why and returns
// null with SDL shut down.
SDL_Window* OpenWindow(const WindowOptions& options) {
  const char* driver_asked = std::getenv("SDL_VIDEODRIVER");
  const bool driver_chosen = driver_asked && *driver_asked;
  if (!driver_chosen && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "cannot open the game window: no display (DISPLAY is not set)\n");
    return nullptr;
  }
  OnLostDisplay(EndOnLostDisplay);
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
    return nullptr;
  }
  // SDL falls back to drivers that show nothing; a player would see no window.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!driver_chosen && (driver == "offscreen" || driver == "dummy")) {
    std::fprintf(stderr, "cannot open the game window: no display found\n");
    SDL_Quit();
    return nullptr;
  }
  // Resizable only so that the window manager offers the maximise button;
  // dragging the border snaps back to the fixed size.
  SDL_Window* window = SDL_CreateWindow(
      "QUIZZLEBOX", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kSurfaceWidth, kSurfaceHeight,
      SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | (options.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
  if (!window) {
    std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
    SDL_Quit();
    return nullptr;
  }
  SetGameIcon(window);
  SDL_ShowWindow(window);
  return window;
}

// The main thread's loop while the game runs: it sleeps until an event
// arrives. A frame is shown as soon as the game signals one, but at most once
// per display refresh; when one is due earlier, the wait is cut to the moment
// it may be shown.
void ServeWindow(SDL_Window* window, Presenter& presenter, ThreadedPlatform& platform,
                 const std::atomic<bool>& game_done) {
  using Clock = std::chrono::steady_clock;
  auto refresh = RefreshPeriod(window);
  auto last_present = Clock::now() - refresh;
  bool frame_due = true, whole_picture = true;
  while (!game_done.load() && !platform.ended()) {
    int timeout_ms = -1;
    if (frame_due) {
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(last_present + refresh - Clock::now());
      timeout_ms = static_cast<int>(std::max<long long>(0, wait.count()));
    }
    SDL_Event e;
    for (int got = timeout_ms < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeout_ms); got;
         got = SDL_PollEvent(&e)) {
      if (e.type == g_wake_event) {
        frame_due = true;
      } else if (HandleEvent(e, window)) {
        frame_due = whole_picture = true;
        refresh = RefreshPeriod(window);
      }
    }
    if (g_wake_missed.exchange(false)) frame_due = true;
    if (auto title = platform.TakeTitle()) SDL_SetWindowTitle(window, title->c_str());
    const auto now = Clock::now();
    if (frame_due && now >= last_present + refresh) {
      if (presenter.Present(whole_picture)) last_present = now;
      frame_due = whole_picture = false;
    }
  }
}

// Runs the game on a thread of its own while this thread serves the window;
// returns the status the game ended with.
int RunGameBesideWindow(SDL_Window* window, Presenter& presenter, const std::function<void()>& game) {
  ThreadedPlatform platform(PushWake);
  Pixels().SetSignal(SignalFrame, nullptr);
  SDL_StartTextInput();
  std::atomic<bool> game_done{false};
  std::thread game_thread([&] {
    try {
      RunOnPlatform(platform, game);
    } catch (const WindowLost&) {
    }
    game_done.store(true);
    PushWake();
  });
  RunningGame running{&platform, &game_done, game_thread.get_id()};
  g_running.store(&running);
  ServeWindow(window, presenter, platform, game_done);
  game_thread.join();
  g_running.store(nullptr);
  Pixels().SetSignal(nullptr, nullptr);
  SDL_StopTextInput();
  return platform.exit_status();
}

}  // namespace

int RunInWindow(const std::function<void()>& game, const WindowOptions& options) {
  SDL_Window* window = OpenWindow(options);
  if (!window) return 1;
  int status = 1;
  {
    Presenter presenter(window);
    // The wake-up needs an event type of its own; SDL has a limited number.
    g_wake_event = SDL_RegisterEvents(1);
    if (!presenter.ok()) {
      std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
    } else if (g_wake_event == static_cast<Uint32>(-1)) {
      std::fprintf(stderr, "cannot open the game window: no SDL event type left for its wake-up\n");
    } else {
      status = RunGameBesideWindow(window, presenter, game);
    }
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}

}  // namespace qb
