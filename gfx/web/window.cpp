// The game's window in a web page (WebAssembly). The game runs on the page's
// only thread: its waits unwind to the browser (Asyncify) and resume on a
// timer or on a key, while the browser delivers keys to the key queue and the
// first change after a frame asks for the next animation frame, which copies
// the changed rows of the pixel buffer onto the canvas.
#include "gfx/window.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "gfx/key_queue.h"
#include "gfx/pixel_buffer.h"
#include "gfx/platform.h"
#include "gfx/surface.h"
#include "gfx/web/dom_keys.h"

namespace qb {

namespace {

// Copies rows y0..y1 of the RGBA frame onto the page's canvas.
EM_JS(void, PutRowsOnCanvas, (const void* rgba, int width, int y0, int y1), {
  const canvas = Module['canvas'];
  if (!canvas) return;
  if (!Module.qbContext) Module.qbContext = canvas.getContext('2d', {alpha: false});
  const rows = y1 - y0 + 1;
  const bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba + y0 * width * 4, rows * width * 4);
  Module.qbContext.putImageData(new ImageData(bytes, width, rows), 0, y0);
  if (Module['onFrame']) Module['onFrame']();
});

// Sleeps until the milliseconds have passed (negative: no limit) or a key
// wakes the game, whichever comes first. The browser runs meanwhile.
EM_ASYNC_JS(void, SleepUntilWoken, (int ms), {
  await new Promise((resolve) => {
    let timer = null;
    const wake = () => {
      if (timer !== null) clearTimeout(timer);
      Module.qbWake = null;
      resolve();
    };
    if (ms >= 0) timer = setTimeout(wake, ms);
    Module.qbWake = wake;
  });
});

// Ends SleepUntilWoken early; the game resumes once the browser's current
// event is handled.
EM_JS(void, WakeGame, (), {
  if (Module.qbWake) Module.qbWake();
});

// The game's real clock: the page's time in milliseconds, standing still
// while the page is hidden (another tab, a minimised window), so that the
// player comes back to the level as they left it, its time bonus included.
EM_JS(double, PageClock, (), {
  let c = Module.qbClock;
  if (!c) {
    c = Module.qbClock = {hiddenMs: 0, hiddenSince: document.hidden ? performance.now() : null};
    document.addEventListener('visibilitychange', () => {
      const now = performance.now();
      if (document.hidden) {
        if (c.hiddenSince === null) c.hiddenSince = now;
      } else if (c.hiddenSince !== null) {
        c.hiddenMs += now - c.hiddenSince;
        c.hiddenSince = null;
      }
    });
  }
  const now = performance.now();
  return now - c.hiddenMs - (c.hiddenSince === null ? 0 : now - c.hiddenSince);
});

EM_JS(int, PageHidden, (), { return document.hidden ? 1 : 0; });

// Returns once the page shows again.
EM_ASYNC_JS(void, AwaitPageShown, (), {
  await new Promise((resolve) => {
    const shown = () => {
      if (document.hidden) return;
      document.removeEventListener('visibilitychange', shown);
      resolve();
    };
    document.addEventListener('visibilitychange', shown);
    shown();
  });
});

// Tells the page that the game has ended; it shows its end note.
EM_JS(void, TellPageGameEnded, (int status), {
  if (Module['onGameEnded']) Module['onGameEnded'](status);
});

// Longest stretch the game runs without giving the browser a turn.
constexpr double kLongestRunMs = 50;
// The game's clock may fall behind the real one (the browser clamps nested
// timers to 4 ms, a hidden tab's to a second); it catches up by not sleeping,
// but a gap larger than this is given up rather than raced through.
constexpr double kMostLagMs = 100;

// Waits keep a running deadline, the game's clock, and sleep only while it
// lies ahead of the real clock: with the 4 ms timer clamp, four 1 ms waits
// cost one sleep, and the play loop still makes about a thousand passes a
// second.
class PagePlatform final : public Platform {
 public:
  void SetTitle(std::string_view title) override { emscripten_set_window_title(std::string(title).c_str()); }

  void Wait(int milliseconds) override {
    const double now = Now();
    game_ms_ += milliseconds;
    if (game_ms_ - now >= 1)
      Sleep(game_ms_ - now);
    else if (now - last_sleep_ >= kLongestRunMs)
      Sleep(0);
  }

  // The game's clock, which Wait and SleepUntilKey advance.
  std::int64_t NowMs() override {
    Now();
    return static_cast<std::int64_t>(std::floor(game_ms_));
  }

  void SleepUntilKey(int milliseconds) override {
    Now();
    const double from = game_ms_;
    const bool limited = milliseconds >= 0;
    const double until = from + milliseconds;
    while (Keys().Size() == 0) {
      const double now = Now();
      if (limited && now >= until) break;
      SleepOrKey(limited ? until - now : -1);
    }
    if (Keys().Size() == 0) {  // the time ran out
      game_ms_ = until;
      return;
    }
    // A key: the game's clock goes as far as the real one, within the wait.
    const double waited = std::max(0.0, std::floor(Now() - from));
    game_ms_ = from + (limited ? std::min<double>(waited, milliseconds) : waited);
  }

  // Every loop polls; one that has not let the browser run for a while (a
  // loop that never waits) yields here, so that no loop freezes the tab.
  void BeforePoll() override {
    if (Now() - last_sleep_ >= kLongestRunMs) Sleep(0);
  }

 private:
  // The real clock; the game's clock is held within kMostLagMs behind it.
  double Now() {
    const double now = PageClock();
    game_ms_ = std::max(game_ms_, now - kMostLagMs);
    return now;
  }
  // A plain sleep: keys are queued meanwhile but do not end it.
  void Sleep(double ms) {
    emscripten_sleep(static_cast<unsigned>(std::ceil(ms)));
    AfterSleep();
  }
  // A sleep that a key ends (negative: until a key).
  void SleepOrKey(double ms) {
    SleepUntilWoken(ms < 0 ? -1 : static_cast<int>(std::ceil(ms)));
    AfterSleep();
  }
  // While the page is hidden the game does not go on: every sleep lasts
  // until it shows again, and the clock stands still meanwhile.
  void AfterSleep() {
    if (PageHidden()) AwaitPageShown();
    last_sleep_ = PageClock();
  }

  double game_ms_ = 0;
  double last_sleep_ = 0;
};

PagePlatform* g_page = nullptr;
bool g_frame_asked = false;

// The frame in the canvas's byte order (R, G, B, A), updated row by row.
std::vector<std::uint32_t>& Frame() {
  static std::vector<std::uint32_t> frame(static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight, 0xFF000000u);
  return frame;
}

EM_BOOL PresentFrame(double, void*) {
  g_frame_asked = false;
  auto& frame = Frame();
  int first = -1, last = -1;
  Pixels().CopyChangedRows(
      frame.data(),
      // 0xAARRGGBB to the canvas's R, G, B, A bytes.
      [](Colour c) { return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); },
      [&](int from, int count) {
        if (first < 0) first = from;
        last = from + count - 1;
      });
  if (first >= 0) PutRowsOnCanvas(frame.data(), kSurfaceWidth, first, last);
  return EM_FALSE;  // the next change asks for the next frame
}

// The first change after a frame: show it with the next animation frame.
void AskForFrame(void*) {
  if (g_frame_asked) return;
  g_frame_asked = true;
  emscripten_request_animation_frame(PresentFrame, nullptr);
}

EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* e, void*) {
  if (g_page && g_page->ended()) return EM_FALSE;
  const DomKeyAction a = TranslateDomKey(
      {std::string_view(e->key), std::string_view(e->code), e->shiftKey != 0, e->ctrlKey != 0, e->altKey != 0,
       e->metaKey != 0});
  if (a.queued) {
    Keys().Push(*a.queued);
    WakeGame();
  }
  return a.take ? EM_TRUE : EM_FALSE;
}

}  // namespace

int RunInWindow(const std::function<void()>& game, const WindowOptions& /*full screen: the page decides*/) {
  static PagePlatform platform;
  g_page = &platform;
  Pixels().SetSignal(AskForFrame, nullptr);
  AskForFrame(nullptr);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKeyDown);
  const int status = RunOnPlatform(platform, game);
  TellPageGameEnded(status);
  return status;
}

}  // namespace qb
