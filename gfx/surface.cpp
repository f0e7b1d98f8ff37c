#include "gfx/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gfx/key_queue.h"
#include "gfx/pixel_buffer.h"
#include "gfx/platform.h"
#include "gfx/system_font.h"

namespace qb {

namespace {

Platform* g_platform = nullptr;
Colour g_foreground = 0;
Colour g_background = 0;

bool OnSurface(int x, int y) { return x >= 0 && x < kSurfaceWidth && y >= 0 && y < kSurfaceHeight; }

void Plot(int x, int y, Colour c) {
  if (OnSurface(x, y)) Pixels().Store(x, y, c);
}

// Cuts the line p0-p1 to the surface rectangle (Liang-Barsky on whole pixels)
// so that walking it sets exactly the on-surface pixels of the unclipped line.
// Walking is done on the full line when it is short; clipping only decides the
// range of steps to walk.
void WalkLine(int x0, int y0, int x1, int y1, Colour c) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  // Lines that lie wholly on one row or column are clipped exactly.
  if (dy == 0) {
    if (y0 < 0 || y0 >= kSurfaceHeight) return;
    const int a = std::max(std::min(x0, x1), 0), b = std::min(std::max(x0, x1), kSurfaceWidth - 1);
    for (int x = a; x <= b; ++x) Pixels().Store(x, y0, c);
    return;
  }
  if (dx == 0) {
    if (x0 < 0 || x0 >= kSurfaceWidth) return;
    const int a = std::max(std::min(y0, y1), 0), b = std::min(std::max(y0, y1), kSurfaceHeight - 1);
    for (int y = a; y <= b; ++y) Pixels().Store(x0, y, c);
    return;
  }
  // Diagonal lines: the classic integer error term, one pixel per step along
  // the longer axis, both ends included; off-surface pixels are skipped, and
  // the walk stops once it has left the surface for good.
  int err = dx + dy;
  bool was_on = false;
  for (;;) {
    const bool on = OnSurface(x0, y0);
    if (on) {
      Pixels().Store(x0, y0, c);
      was_on = true;
    } else if (was_on) {
      return;
    }
    if (x0 == x1 && y0 == y1) return;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

struct Rect {
  int x1, y1, x2, y2;
};

Rect Ordered(float x1, float y1, float x2, float y2) {
  int a = RoundCoord(x1), b = RoundCoord(y1), c = RoundCoord(x2), d = RoundCoord(y2);
  return {std::min(a, c), std::min(b, d), std::max(a, c), std::max(b, d)};
}

}  // namespace

int RoundCoord(float v) {
  // Half away from zero: add or subtract 0.5, then truncate.
  return v >= 0 ? static_cast<int>(v + 0.5f) : static_cast<int>(v - 0.5f);
}

void InstallPlatform(Platform* platform) {
  g_platform = platform;
  g_foreground = 0;
  g_background = 0;
}

int RunOnPlatform(Platform& platform, const std::function<void()>& game) {
  struct Installed {
    explicit Installed(Platform& p) { InstallPlatform(&p); }
    ~Installed() { InstallPlatform(nullptr); }
  } installed(platform);
  Keys().Clear();
  Pixels().MarkAllDirty();
  game();
  return platform.ended() ? platform.exit_status() : 0;
}

void SetWindowTitle(std::string_view title) { g_platform->SetTitle(title); }
void EndProgram(int status) { g_platform->End(status); }

Key PollKey() {
  g_platform->BeforePoll();
  if (auto code = Keys().Pop()) return Key{*code};
  return {};
}

void SleepMs(int milliseconds) {
  Pixels().Flush();
  int n = milliseconds;
  if (n < 100) {
    if (n > 0) g_platform->Wait(n);
    return;
  }
  // Long waits look for a key every 50 ms and end early when one has arrived;
  // the key stays queued for the next poll.
  do {
    if (Keys().TakeArrival()) return;
    n -= 50;
    g_platform->Wait(50);
  } while (n > 50);
  if (n > 0) g_platform->Wait(n);
}

int WaitForKey(int milliseconds) {
  Pixels().Flush();
  if (Keys().Size() > 0) return 0;
  const std::int64_t start = g_platform->NowMs();
  g_platform->SleepUntilKey(milliseconds);
  const std::int64_t waited = std::max<std::int64_t>(0, g_platform->NowMs() - start);
  return static_cast<int>(milliseconds < 0 ? waited : std::min<std::int64_t>(waited, milliseconds));
}

Key AwaitKey() {
  for (;;) {
    const Key key = PollKey();
    if (!key.none()) return key;
    WaitForKey(kNoDeadline);
  }
}

int SleepPasses(int pass_ms, int idle_passes) {
  SleepMs(pass_ms);
  if (idle_passes == 0) return 0;
  const int waited = WaitForKey(idle_passes < 0 ? kNoDeadline : idle_passes * pass_ms);
  // A key that arrives during a pass is seen when that pass's sleep is over.
  const int passes = (waited + pass_ms - 1) / pass_ms;
  if (passes * pass_ms > waited) SleepMs(passes * pass_ms - waited);
  return passes;
}

void ClearScreen() {
  for (int y = 0; y < kSurfaceHeight; ++y)
    for (int x = 0; x < kSurfaceWidth; ++x) Pixels().Store(x, y, g_background);
}

void DrawLine(float x1, float y1, float x2, float y2, Colour colour) {
  WalkLine(RoundCoord(x1), RoundCoord(y1), RoundCoord(x2), RoundCoord(y2), colour);
}

void DrawBox(float x1, float y1, float x2, float y2, Colour colour) {
  const Rect r = Ordered(x1, y1, x2, y2);
  // Each edge is drawn only where it lies; clipping never moves an edge inwards.
  WalkLine(r.x1, r.y1, r.x2, r.y1, colour);
  WalkLine(r.x1, r.y2, r.x2, r.y2, colour);
  WalkLine(r.x1, r.y1, r.x1, r.y2, colour);
  WalkLine(r.x2, r.y1, r.x2, r.y2, colour);
}

void FillBox(float x1, float y1, float x2, float y2, Colour colour) {
  const Rect r = Ordered(x1, y1, x2, y2);
  const int xa = std::max(r.x1, 0), xb = std::min(r.x2, kSurfaceWidth - 1);
  const int ya = std::max(r.y1, 0), yb = std::min(r.y2, kSurfaceHeight - 1);
  for (int y = ya; y <= yb; ++y)
    for (int x = xa; x <= xb; ++x) Pixels().Store(x, y, colour);
}

void PutPixel(float x, float y, Colour colour) { Plot(RoundCoord(x), RoundCoord(y), colour); }
void PutPixel(float x, float y) { Plot(RoundCoord(x), RoundCoord(y), g_foreground); }

void SetColour(Colour foreground) { g_foreground = foreground; }
void SetColour(Colour foreground, Colour background) {
  g_foreground = foreground;
  g_background = background;
}
Colour CurrentColour() { return g_foreground; }

void DrawSystemText(float x, float y, std::string_view text) {
  const int x0 = RoundCoord(x), y0 = RoundCoord(y);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto code = static_cast<std::uint8_t>(text[i]);
    for (int row = 0; row < 8; ++row) {
      const std::uint8_t bits = SystemFontRow(code, row);
      for (int col = 0; col < 8; ++col)
        if (bits & (0x80 >> col)) Plot(x0 + static_cast<int>(i) * 8 + col, y0 + row, g_foreground);
    }
  }
}

Colour GetPixel(int x, int y) { return OnSurface(x, y) ? Pixels().Load(x, y) : 0; }


}  // namespace qb
