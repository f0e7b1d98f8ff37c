#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "gfx/key_queue.h"
#include "gfx/pen.h"
#include "gfx/picture_fit.h"
#include "gfx/pictures.h"
#include "gfx/pixel_buffer.h"
#include "gfx/platform.h"
#include "headless_fixture.h"

namespace qb {
namespace {

using testing::HeadlessTest;
using SurfaceTest = HeadlessTest;
constexpr Colour kInk = 0xFF123456;

std::set<std::pair<int, int>> InkPixels() {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < kSurfaceHeight; ++y)
    for (int x = 0; x < kSurfaceWidth; ++x)
      if (GetPixel(x, y) == kInk) out.insert({x, y});
  return out;
}

TEST(RoundCoord, HalvesGoAwayFromZero) {
  const std::pair<float, int> cases[] = {{2.5f, 3}, {-2.5f, -3}, {-0.5f, -1}, {0.49f, 0}, {458.67f, 459}, {1.5f, 2}};
  for (auto [in, out] : cases) EXPECT_EQ(RoundCoord(in), out) << in;
}

TEST_F(SurfaceTest, LinesIncludeBothEnds) {
  DrawLine(10, 20, 5, 20, kInk);
  std::set<std::pair<int, int>> expected;
  for (int x = 5; x <= 10; ++x) expected.insert({x, 20});
  EXPECT_EQ(InkPixels(), expected);

  ClearScreen();
  DrawLine(7, 7, 7, 7, kInk);
  EXPECT_EQ(InkPixels(), (std::set<std::pair<int, int>>{{7, 7}}));
}

TEST_F(SurfaceTest, DiagonalLineTakesOnePixelPerStepOfTheLongerAxis) {
  DrawLine(0, 0, 9, 3, kInk);
  const auto px = InkPixels();
  EXPECT_EQ(px.size(), 10u);
  std::set<int> xs;
  for (auto [x, y] : px) xs.insert(x);
  EXPECT_EQ(xs.size(), 10u);
  EXPECT_TRUE(px.count({0, 0}) && px.count({9, 3}));
}

TEST_F(SurfaceTest, ClippingKeepsTheOnSurfacePixelsOfALine) {
  // The same line drawn whole and drawn from far outside sets the same pixels.
  DrawLine(-40, -13, 60, 20, kInk);
  const auto clipped = InkPixels();
  ClearScreen();
  // Walk the unclipped line by hand with the same error term.
  int x0 = -40, y0 = -13;
  const int x1 = 60, y1 = 20, dx = 100, dy = -33;
  int err = dx + dy;
  std::set<std::pair<int, int>> expected;
  for (;;) {
    if (x0 >= 0 && y0 >= 0) expected.insert({x0, y0});
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, ++x0;
    if (e2 <= dx) err += dx, ++y0;
  }
  EXPECT_EQ(clipped, expected);
}

TEST_F(SurfaceTest, LinesAtAndPastTheEdgesChangeOnlyTheirPixelsOnTheSurface) {
  struct Case {
    const char* what;
    int x1, y1, x2, y2;
    std::size_t count;  // pixels set, among them the line's first and last on the surface
    std::pair<int, int> first, last;
  };
  const Case cases[] = {
      {"a row just above the surface", 5, -1, 20, -1, 0, {}, {}},
      {"a row past the right edge", 690, 5, 720, 5, 6, {690, 5}, {695, 5}},
      {"a column on the left edge", 0, 10, 0, 20, 11, {0, 10}, {0, 20}},
      {"a column past the bottom edge", 5, 470, 5, 500, 9, {5, 470}, {5, 478}},
      {"a long flat slope", 100, 10, 680, 40, 581, {100, 10}, {680, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearScreen();
    for (int y = 0; y < kSurfaceHeight; ++y) Pixels().TakeDirty(y);
    DrawLine(static_cast<float>(c.x1), static_cast<float>(c.y1), static_cast<float>(c.x2), static_cast<float>(c.y2),
             kInk);
    const auto px = InkPixels();
    EXPECT_EQ(px.size(), c.count);
    if (c.count > 0) {
      EXPECT_TRUE(px.count(c.first) && px.count(c.last));
    }
    EXPECT_EQ(CountColour(0), kSurfaceWidth * kSurfaceHeight - static_cast<int>(c.count)) << "other pixels changed";
    // Only the rows it changed are marked for the window.
    std::set<int> rows, marked;
    for (auto [x, y] : px) rows.insert(y);
    for (int y = 0; y < kSurfaceHeight; ++y)
      if (Pixels().TakeDirty(y)) marked.insert(y);
    EXPECT_EQ(marked, rows);
  }
}

TEST_F(SurfaceTest, BoxesAndFills) {
  FillBox(5, 445, 5, 5, kInk);  // corners in any order
  EXPECT_EQ(CountColour(kInk), 441);
  EXPECT_EQ(CountColour(kInk, 5, 5, 5, 445), 441);

  ClearScreen();
  DrawBox(3, 3, 647, 447, kInk);
  for (int y = 3; y <= 447; ++y) {
    EXPECT_EQ(GetPixel(3, y), kInk);
    EXPECT_EQ(GetPixel(647, y), kInk);
  }
  EXPECT_EQ(CountColour(kInk, 4, 4, 646, 446), 0);
  EXPECT_EQ(CountColour(kInk), 2 * 445 + 2 * 643);
}

TEST_F(SurfaceTest, BoxPartlyOffTheSurfaceDrawsOnlyTheEdgesOnIt) {
  DrawBox(-10, 100, 700, 200, kInk);  // left and right edges lie off the surface
  EXPECT_EQ(CountColour(kInk), 2 * kSurfaceWidth);
  EXPECT_EQ(GetPixel(0, 150), 0u);
  FillBox(-50, -50, -1, 300, kInk);  // wholly outside
  EXPECT_EQ(CountColour(kInk), 2 * kSurfaceWidth);
}

TEST_F(SurfaceTest, PixelsOffTheSurfaceAreNotDrawn) {
  PutPixel(696, 0, kInk);
  PutPixel(0, 479, kInk);
  PutPixel(-0.5f, 3, kInk);
  EXPECT_EQ(CountColour(kInk), 0);
  PutPixel(2.5f, 2.5f, kInk);
  EXPECT_EQ(GetPixel(3, 3), kInk);
  SetColour(0xFF00FF00);
  PutPixel(695, 478);
  EXPECT_EQ(GetPixel(695, 478), 0xFF00FF00u);
}

TEST_F(SurfaceTest, ClearScreenUsesTheBackgroundColour) {
  SetColour(kInk);  // foreground only
  ClearScreen();
  EXPECT_EQ(GetPixel(10, 10), 0u);
  SetColour(kInk, 0xFF0000FF);
  ClearScreen();
  EXPECT_EQ(CountColour(0xFF0000FF), kSurfaceWidth * kSurfaceHeight);
}

TEST_F(SurfaceTest, KeyQueueKeepsTheNewestFifteen) {
  for (int i = 0; i < 16; ++i) Keys().Push('a' + i);
  for (int i = 1; i < 16; ++i) EXPECT_EQ(PollKey(), Key::Typed(static_cast<std::uint8_t>('a' + i)));
  SleepMs(1);  // (two empty polls in a row would let the virtual clock jump)
  EXPECT_EQ(PollKey(), Key{});
}

// A window's keys arrive on its own thread while the game's thread waits.
TEST(KeyQueue, AWaitEndsAtOnceWithAKeyFromAnotherThreadElseAtItsDeadline) {
  using Clock = std::chrono::steady_clock;
  using std::chrono::milliseconds, std::chrono::seconds;
  KeyQueue queue;
  auto start = Clock::now();
  std::thread window([&] {
    std::this_thread::sleep_for(milliseconds(20));
    queue.Push('a');
  });
  EXPECT_TRUE(queue.WaitForKey(start + seconds(20)));
  window.join();
  EXPECT_LT(Clock::now() - start, seconds(10)) << "the wait ran to its deadline";
  queue.Pop();

  // Without a key a wait lasts to its deadline, also once the queue of a lost
  // window is cleared for the next game. (A key 5 s late ends a wait that
  // would never end.)
  queue.Release();
  queue.Clear();
  std::promise<void> waited;
  std::thread late([&queue, done = waited.get_future()] {
    if (done.wait_for(seconds(5)) == std::future_status::timeout) queue.Push('b');
  });
  start = Clock::now();
  EXPECT_FALSE(queue.WaitForKey(start + milliseconds(50)));
  const auto took = Clock::now() - start;
  waited.set_value();
  late.join();
  EXPECT_GE(took, milliseconds(50));
  EXPECT_LT(took, seconds(4));
}

TEST_F(SurfaceTest, KeysAsPolled) {
  Keys().Push(key::kCtrlF12.code);
  Keys().Push(key::kF12.code);
  Keys().Push(0x0D);
  Keys().Push(0xFF);    // the last character code
  Keys().Push(0x100);   // the first extended key
  Keys().Push(0x00);    // a typed NUL is a key, not none
  EXPECT_EQ(PollKey(), key::kCtrlF12);
  EXPECT_EQ(PollKey(), key::kF12);
  EXPECT_EQ(PollKey(), key::kEnter);
  const Key last_byte = PollKey();
  EXPECT_TRUE(last_byte.typed());
  EXPECT_EQ(last_byte.byte(), '\xFF');
  const Key first_extended = PollKey();
  EXPECT_FALSE(first_extended.typed());
  EXPECT_EQ(first_extended, Key::Extended(1));
  EXPECT_FALSE(PollKey().none());
  SleepMs(1);
  EXPECT_TRUE(PollKey().none());
}

TEST_F(SurfaceTest, WaitsEndEarlyOnlyAtTheirKeyChecks) {
  // A step either waits (ms > 0) and then expects the virtual clock at
  // `now`, or polls (ms == 0) and expects `key`.
  struct Step {
    int ms;
    std::int64_t now;
    Key key;
  };
  struct Case {
    const char* what;
    std::vector<HeadlessPlatform::ScriptedKey> keys;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"without keys every wait runs its full length",
       {},
       {{1, 1, Key{}}, {35, 36, Key{}}, {99, 135, Key{}}, {100, 235, Key{}}, {279, 514, Key{}}, {2001, 2515, Key{}}}},
      {"a key at 120 ends a 500 ms wait at its 150 ms check and stays queued",
       {{120, 'x'}},
       {{500, 150, Key{}}, {0, 0, Key::Typed('x')}}},
      {"the last check of a 500 ms wait comes at 400 ms", {{401, 'x'}}, {{500, 500, Key{}}, {0, 0, Key::Typed('x')}}},
      {"a wait below 100 ms never looks for keys", {{10, 'x'}}, {{99, 99, Key{}}, {0, 0, Key::Typed('x')}}},
      {"not even for one that came before it", {{5, 'x'}}, {{20, 20, Key{}}, {99, 119, Key{}}, {0, 0, Key::Typed('x')}}},
      {"a 100 ms wait looks at its start only; the next long wait ends at once",
       {{10, 'x'}},
       {{100, 100, Key{}}, {500, 100, Key{}}, {0, 0, Key::Typed('x')}}},
      {"a poll clears the arrival flag", {{10, 'x'}}, {{20, 20, Key{}}, {0, 0, Key::Typed('x')}, {500, 520, Key{}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Install(c.keys, 10'000);
    for (const Step& step : c.steps) {
      if (step.ms > 0) {
        SleepMs(step.ms);
        EXPECT_EQ(platform().now_ms(), step.now) << "after " << step.ms << " ms";
      } else {
        EXPECT_EQ(PollKey(), step.key);
      }
    }
  }
}

TEST_F(SurfaceTest, EveryWaitSignalsAChangeThatAPresentMayHaveMissed) {
  int signals = 0;
  Pixels().SetSignal([](void* count) { ++*static_cast<int*>(count); }, &signals);
  const std::pair<const char*, void (*)()> waits[] = {
      {"a short sleep", [] { SleepMs(1); }},
      {"a long sleep", [] { SleepMs(150); }},
      {"a wait for a key", [] { WaitForKey(1); }},
  };
  auto present_all = [] {
    Pixels().BeginPresent();
    for (int y = 0; y < kSurfaceHeight; ++y) Pixels().TakeDirty(y);
  };
  present_all();
  Colour ink = kInk;
  for (const auto& [what, wait] : waits) {
    SCOPED_TRACE(what);
    PutPixel(5, 5, ++ink);
    // A present re-arms the signal but misses the row, which stays marked.
    Pixels().BeginPresent();
    const int before = signals;
    wait();
    EXPECT_EQ(signals, before + 1);
    // Once the row is presented, a wait signals nothing.
    present_all();
    wait();
    EXPECT_EQ(signals, before + 1);
  }
  Pixels().SetSignal(nullptr, nullptr);
}

TEST_F(SurfaceTest, ALoopThatPollsWithoutWaitingJumpsToTheNextKey) {
  Install({{5000, 'k'}});
  Key k;
  int polls = 0;
  while ((k = PollKey()).none()) ++polls;
  EXPECT_EQ(k, Key::Typed('k'));
  EXPECT_EQ(platform().now_ms(), 5000);
  EXPECT_LE(polls, 2);
  EXPECT_THROW(PollKey(), RunStopped);  // nothing more to come
}

TEST_F(SurfaceTest, SystemTextDrawsOnlySetPixels) {
  SetColour(kInk);
  DrawSystemText(100, 100, "0");
  const int set = CountColour(kInk);
  EXPECT_GT(set, 0);
  EXPECT_EQ(CountColour(kInk, 100, 100, 107, 107), set);
}

// What every window back end shows: the changed rows only, each run once,
// converted as the back end asks, and nothing more until the next change.
TEST_F(SurfaceTest, APresentCopiesEachRunOfChangedRowsOnce) {
  std::vector<std::uint32_t> frame(static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight, 0);
  const auto bgr = [](Colour c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); };
  Pixels().CopyChangedRows(frame.data(), bgr, [](int, int) {});  // what the fixture drew
  FillBox(0, 10, 695, 12, 0xFF123456);
  PutPixel(5, 478, 0xFF010203);
  PutPixel(6, 478, 0xFF010203);
  FillBox(0, 30, 0, 30, 0);  // already black: nothing changes
  std::vector<std::pair<int, int>> runs;
  EXPECT_TRUE(Pixels().CopyChangedRows(frame.data(), bgr, [&](int first, int count) { runs.emplace_back(first, count); }));
  EXPECT_EQ(runs, (std::vector<std::pair<int, int>>{{10, 3}, {478, 1}}));
  EXPECT_EQ(frame[11 * kSurfaceWidth + 695], 0x563412u);
  EXPECT_EQ(frame[478 * kSurfaceWidth + 6], 0x030201u);
  EXPECT_FALSE(Pixels().CopyChangedRows(frame.data(), bgr, [&](int, int) { ADD_FAILURE(); }));
  // A picture at a whole-pixel pen position is stored a row span at a time.
  SetPen(300, 100);
  PicBox();
  runs.clear();
  EXPECT_TRUE(Pixels().CopyChangedRows(frame.data(), bgr, [&](int first, int count) { runs.emplace_back(first, count); }));
  EXPECT_FALSE(runs.empty());
  EXPECT_EQ(frame[120 * kSurfaceWidth + 320], bgr(GetPixel(320, 120)));
}

TEST(PictureFit, ThePictureGrowsByWholeFactorsCentredOnBlack) {
  struct Case {
    int w, h;
    PictureRect expected;
  };
  for (const auto& c : {Case{696, 479, {0, 0, 696, 479, 1}}, Case{1280, 1024, {292, 272, 696, 479, 1}},
                        Case{1920, 1080, {264, 61, 1392, 958, 2}}, Case{3840, 2160, {528, 122, 2784, 1916, 4}},
                        Case{600, 400, {-48, -39, 696, 479, 1}}}) {
    const PictureRect r = FitPicture(c.w, c.h);
    EXPECT_EQ(r.x, c.expected.x) << c.w;
    EXPECT_EQ(r.y, c.expected.y) << c.w;
    EXPECT_EQ(r.w, c.expected.w) << c.w;
    EXPECT_EQ(r.h, c.expected.h) << c.w;
    EXPECT_EQ(r.factor, c.expected.factor) << c.w;
  }
}

}  // namespace
}  // namespace qb
