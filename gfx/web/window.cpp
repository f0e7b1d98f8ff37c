// The game's window in a web page (WebAssembly). The game runs on the page's
// only thread: its waits unwind to the browser (Asyncify) and resume on a
// timer, while the browser delivers keys to the key queue and each animation
// frame copies the changed rows of the pixel buffer onto the canvas.
#include "gfx/window.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <string>
#include <vector>

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

// Tells the page that the game has ended; it shows its end note.
EM_JS(void, TellPageGameEnded, (int status), {
  if (Module['onGameEnded']) Module['onGameEnded'](status);
});

// Longest stretch without giving the browser a turn (it paints, takes keys).
constexpr double kLongestRunMs = 50;
// A deadline further behind than this (a hidden tab's timers are slowed to
// a second) is given up rather than caught up at full speed.
constexpr double kMostLagMs = 100;

class PagePlatform final : public Platform {
 public:
  void OpenWindow(int, int) override {}  // the page holds the canvas
  void SetTitle(std::string_view title) override { emscripten_set_window_title(std::string(title).c_str()); }

  // Keeps a running deadline and sleeps only while it lies ahead of the
  // clock: with the browser's 4 ms timer clamp, four 1 ms waits cost one
  // sleep, and the game still makes about a thousand passes a second.
  void Wait(int milliseconds) override {
    waited_ = true;
    const double now = emscripten_get_now();
    if (deadline_ < now - kMostLagMs) deadline_ = now;
    deadline_ += milliseconds;
    const double ahead = deadline_ - now;
    if (ahead >= 1)
      Sleep(static_cast<unsigned>(ahead));
    else if (now - last_sleep_ >= kLongestRunMs)
      Sleep(0);
  }

  // A loop that polls without waiting in between only waits for a key:
  // rather than spin, it gives the browser a turn on each poll.
  void BeforePoll() override {
    ++polls_;
    if (!waited_) Sleep(1);
    waited_ = false;
  }

  void End(int status) override {
    ended_ = true;
    status_ = status;
  }

  bool ended() const { return ended_; }
  int status() const { return status_; }
  unsigned long polls() const { return polls_; }

 private:
  void Sleep(unsigned ms) {
    emscripten_sleep(ms);
    last_sleep_ = emscripten_get_now();
  }

  double deadline_ = 0;
  double last_sleep_ = 0;
  bool waited_ = true;
  bool ended_ = false;
  int status_ = 0;
  unsigned long polls_ = 0;
};

PagePlatform* g_page = nullptr;

// The frame in the canvas's byte order (R, G, B, A), updated row by row.
std::vector<std::uint32_t>& Frame() {
  static std::vector<std::uint32_t> frame(static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight, 0xFF000000u);
  return frame;
}

EM_BOOL OnAnimationFrame(double, void*) {
  auto& px = Pixels();
  auto& frame = Frame();
  int first = -1, last = -1;
  for (int y = 0; y < kSurfaceHeight; ++y) {
    if (!px.TakeDirty(y)) continue;
    if (first < 0) first = y;
    last = y;
    std::uint32_t* row = &frame[static_cast<std::size_t>(y) * kSurfaceWidth];
    for (int x = 0; x < kSurfaceWidth; ++x) {
      const Colour c = px.Load(x, y);  // 0xAARRGGBB
      row[x] = 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
  }
  if (first >= 0) PutRowsOnCanvas(frame.data(), kSurfaceWidth, first, last);
  return EM_TRUE;
}

std::string_view Field(const char* s) { return s; }

EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* e, void*) {
  if (g_page && g_page->ended()) return EM_FALSE;
  const DomKeyAction a =
      TranslateDomKey({Field(e->key), Field(e->code), e->shiftKey != 0, e->ctrlKey != 0, e->altKey != 0, e->metaKey != 0});
  if (a.queued) Keys().Push(*a.queued);
  return a.take ? EM_TRUE : EM_FALSE;
}

}  // namespace

int RunInWindow(const std::function<void()>& game) {
  static PagePlatform platform;
  g_page = &platform;
  InstallPlatform(&platform);
  Keys().Clear();
  Pixels().MarkAllDirty();
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKeyDown);
  emscripten_request_animation_frame_loop(OnAnimationFrame, nullptr);
  game();
  InstallPlatform(nullptr);
  TellPageGameEnded(platform.status());
  return platform.status();
}

}  // namespace qb

// How many keyboard polls the game has made: the page's measure of the play
// loop's passes (one poll each).
extern "C" EMSCRIPTEN_KEEPALIVE unsigned long qb_polls() { return qb::g_page ? qb::g_page->polls() : 0; }
