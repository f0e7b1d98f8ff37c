// Sleeping through idle passes: the loops may skip only passes that would
// find no key and change nothing, and must count every one of them.
#include <gtest/gtest.h>

#include <cstdint>

#include "game/gauges.h"
#include "gfx/frames.h"
#include "headless_fixture.h"

namespace qb {
namespace {

using testing::HeadlessTest;

class IdlePassesTest : public HeadlessTest {};

// A fingerprint of the time gauge's column.
std::uint64_t TimeGaugePixels() {
  std::uint64_t h = 1469598103934665603ull;
  for (int y = 390; y <= 472; ++y)
    for (int x = 674; x <= 689; ++x) h = (h ^ GetPixel(x, y)) * 1099511628211ull;
  return h;
}

TEST_F(IdlePassesTest, QuietPassesEndExactlyWhereTheTimeGaugeErodesNext) {
  for (const float start : {0.0f, 5999.0f, 6000.0f, 6001.0f, 6400.0f, 9000.0f, 20000.0f, 61000.0f}) {
    SCOPED_TRACE(start);
    FillBox(674, 390, 689, 472, 0xFF123456);
    ErodeGauges(0, start);
    const int quiet = QuietPasses(0, start);
    ASSERT_GE(quiet, 0);
    const std::uint64_t before = TimeGaugePixels();
    for (int k = 1; k <= quiet; ++k) {
      ErodeGauges(0, start + static_cast<float>(k));
      ASSERT_EQ(TimeGaugePixels(), before) << "pass " << k << " of " << quiet << " changed the gauge";
    }
    ErodeGauges(0, start + static_cast<float>(quiet + 1));
    EXPECT_NE(TimeGaugePixels(), before) << "the pass after the quiet ones must erode a row";
  }
}

TEST(IdlePasses, TheTimeCountStopsWhereASinglePrecisionCountStops) {
  EXPECT_EQ(CountPasses(10, 5), 15);
  EXPECT_EQ(CountPasses(16777200, 100), 16777216);
  EXPECT_EQ(CountPasses(16777216, 1), 16777216);
  EXPECT_EQ(QuietPasses(0, 16777216), -1);  // nothing will ever change again
}

// SleepPasses with keys arriving at given times: the idle passes it reports
// and the virtual time at which the loop polls next.
TEST_F(IdlePassesTest, SleepPassesWakesAtTheEndOfThePassInWhichAKeyArrives) {
  struct Case {
    int pass_ms, idle;
    std::int64_t key_at;  // -1: none
    int passes;
    std::int64_t wakes_at;
  };
  for (const Case& c : {
           Case{1, 100, -1, 100, 101},   // no key: every quiet pass goes by
           Case{1, 100, 1, 0, 1},        // a key in this pass's own sleep
           Case{1, 100, 40, 39, 40},     // the key is polled in the pass it arrives in
           Case{1, 0, 40, 0, 1},         // nothing quiet: one pass only
           Case{2, 100, 7, 3, 8},        // 2 ms passes: the key at 7 is seen at 8
           Case{2, -1, 1001, 500, 1002}, // no limit: until the key
       }) {
    SCOPED_TRACE(::testing::Message() << c.pass_ms << " ms passes, key at " << c.key_at);
    std::vector<HeadlessPlatform::ScriptedKey> keys;
    if (c.key_at >= 0) keys.push_back({c.key_at, ' '});
    Install(keys, kFarFuture);
    EXPECT_EQ(SleepPasses(c.pass_ms, c.idle), c.passes);
    EXPECT_EQ(platform().now_ms(), c.wakes_at);
  }
}

TEST_F(IdlePassesTest, AWaitPastTheStopTimeEndsThereAndTheNextPollEndsTheRun) {
  Install({}, 500);
  EXPECT_EQ(WaitForKey(86'400'000), 500);
  EXPECT_THROW(PollKey(), RunStopped);
}

TEST_F(IdlePassesTest, ADayOfWaitingIsOneStep) {
  Install({{86'400'000, 'x'}}, kFarFuture);
  EXPECT_EQ(WaitForKey(kNoDeadline), 86'400'000);
  EXPECT_EQ(PollKey(), Key::Typed('x'));
}

}  // namespace
}  // namespace qb
