#include <gtest/gtest.h>

#include <set>
#include <utility>

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
  for (int i = 1; i < 16; ++i) EXPECT_EQ(PollKey(), std::string(1, static_cast<char>('a' + i)));
  SleepMs(1);  // (two empty polls in a row would let the virtual clock jump)
  EXPECT_EQ(PollKey(), "");
}

TEST_F(SurfaceTest, KeyStrings) {
  Keys().Push(key::Extended(key::kCtrlF12));
  Keys().Push(key::Extended(key::kF12));
  Keys().Push(0x0D);
  EXPECT_EQ(PollKey(), std::string("\xFF\x8A"));
  EXPECT_EQ(PollKey(), std::string("\xFF\x86"));
  EXPECT_EQ(PollKey(), "\r");
  SleepMs(1);
  EXPECT_EQ(PollKey(), "");
}

TEST_F(SurfaceTest, LongWaitEndsAtTheFirstCheckAfterAKey) {
  Install({{120, 'x'}}, 10'000);
  SleepMs(500);
  EXPECT_EQ(platform().now_ms(), 150);
  EXPECT_EQ(PollKey(), "x");
}

TEST_F(SurfaceTest, WaitsWithoutKeysRunTheirFullLength) {
  Install({}, 10'000);
  const std::pair<int, int> cases[] = {{1, 1}, {35, 35}, {99, 99}, {100, 100}, {279, 279}, {2001, 2001}};
  for (auto [wait, expected] : cases) {
    const auto start = platform().now_ms();
    SleepMs(wait);
    EXPECT_EQ(platform().now_ms() - start, expected) << wait;
  }
}

TEST_F(SurfaceTest, ShortWaitsAndHundredMsWaitsDoNotEndEarly) {
  Install({{10, 'x'}}, 10'000);
  SleepMs(100);  // checks for a key at its start only
  EXPECT_EQ(platform().now_ms(), 100);
  // The arrival flag is still set: the next long wait ends at once.
  SleepMs(500);
  EXPECT_EQ(platform().now_ms(), 100);
}

TEST_F(SurfaceTest, APollClearsTheArrivalFlag) {
  Install({{10, 'x'}}, 10'000);
  SleepMs(20);
  EXPECT_EQ(PollKey(), "x");
  SleepMs(500);
  EXPECT_EQ(platform().now_ms(), 520);
}

TEST_F(SurfaceTest, ALoopThatPollsWithoutWaitingJumpsToTheNextKey) {
  Install({{5000, 'k'}});
  std::string k;
  int polls = 0;
  while ((k = PollKey()).empty()) ++polls;
  EXPECT_EQ(k, "k");
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

}  // namespace
}  // namespace qb
