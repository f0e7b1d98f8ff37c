#include "game/gauges.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gfx/frames.h"
#include "gfx/nearest.h"

namespace qb {

namespace {
std::uint32_t Channel(double v) { return static_cast<std::uint32_t>(Nearest(v)) & 0xFF; }
}  // namespace

Colour StepGaugeColour(int y0) {
  const auto r = Channel(3436.14 - 543.21 * std::log(static_cast<double>(y0)));
  return 0xFF000000u | (r << 16) | 0x0A0Au;
}

Colour TimeGaugeColour(int y0) {
  const auto v = Channel(3029.48 - 476.58 * std::log(static_cast<double>(y0)));
  return 0xFF000000u | (v << 16) | (v << 8) | 0x0Au;
}

void FillGauges(int step_left, int step_right, int time_left, int time_right) {
  for (int y0 = 468; y0 > 395; y0 -= 6) {
    for (int y = y0; y <= y0 + 3; ++y) {
      const auto fy = static_cast<float>(y);
      DrawLine(static_cast<float>(step_left), fy, static_cast<float>(step_right), fy, StepGaugeColour(y0));
      DrawLine(static_cast<float>(time_left), fy, static_cast<float>(time_right), fy, TimeGaugeColour(y0));
    }
    SleepMs(35);
  }
}

double BonusFor(double numerator, double n) { return Nearest(numerator / n + 777 / std::sqrt(n)); }

namespace {
// The rows of the gauges that the bonuses have eroded down to.
float StepGaugeRow(float steps) { return 458.67f - 0.006655f * static_cast<float>(BonusFor(kStepNumerator, steps)); }
float TimeGaugeRow(float time) { return 469.0f - 0.1406844f * static_cast<float>(BonusFor(kTimeNumerator, time)); }
}  // namespace

void ErodeGauges(float steps, float time) {
  if (steps > 60) {
    const float row = StepGaugeRow(steps);
    DrawLine(656, row, 671, row, kBoardColour);
  }
  if (time > 6000) {
    const float row = TimeGaugeRow(time);
    DrawLine(674, row, 689, row, kBoardColour);
  }
}

int QuietPasses(float, float time) {
  // The step gauge's row moves only with a step, which needs a key; the time
  // gauge's row moves down, never up, as the count grows.
  constexpr float kCountLimit = 16777216.0f;  // 2^24: the count stops here
  if (time <= 6000) return static_cast<int>(6000 - time);  // erosion begins at 6001
  const int row = RoundCoord(TimeGaugeRow(time));
  if (time >= kCountLimit || RoundCoord(TimeGaugeRow(kCountLimit)) == row) return -1;
  // The first count whose row differs, by bisection over whole counts; the
  // last answer serves every count before it on the same row.
  static std::int64_t known_row = -1, known_next = 0;
  if (row == known_row && time < static_cast<float>(known_next))
    return static_cast<int>(known_next - static_cast<std::int64_t>(time) - 1);
  auto lo = static_cast<std::int64_t>(time), hi = static_cast<std::int64_t>(kCountLimit);
  while (hi - lo > 1) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    (RoundCoord(TimeGaugeRow(static_cast<float>(mid))) == row ? lo : hi) = mid;
  }
  known_row = row;
  known_next = hi;
  return static_cast<int>(hi - static_cast<std::int64_t>(time) - 1);
}

float CountPasses(float time, int passes) {
  constexpr double kCountLimit = 16777216.0;
  return static_cast<float>(std::min(kCountLimit, static_cast<double>(time) + passes));
}

}  // namespace qb
