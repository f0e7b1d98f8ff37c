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

// Thirteen bands of four rows, six rows apart: the lowest ends on the gauge
// area's bottom row 471, the highest starts on row 396.
constexpr int kLowestBandTop = kGaugeAreaBottom - 3, kBandPitch = 6, kBandRows = 4;
constexpr int kBandMs = 35;

void FillGauges(int inset) {
  const auto step_left = static_cast<float>(kStepGaugeLeft + inset);
  const auto step_right = static_cast<float>(kStepGaugeRight - inset);
  const auto time_left = static_cast<float>(kTimeGaugeLeft + inset);
  const auto time_right = static_cast<float>(kTimeGaugeRight - inset);
  for (int y0 = kLowestBandTop; y0 > kGaugeAreaTop; y0 -= kBandPitch) {
    for (int y = y0; y < y0 + kBandRows; ++y) {
      const auto fy = static_cast<float>(y);
      DrawLine(step_left, fy, step_right, fy, StepGaugeColour(y0));
      DrawLine(time_left, fy, time_right, fy, TimeGaugeColour(y0));
    }
    SleepMs(kBandMs);
  }
}

double BonusFor(double numerator, double n) { return Nearest(numerator / n + 777 / std::sqrt(n)); }

namespace {
// The gauges erode only once the counts pass these.
constexpr float kStepsBeforeErosion = 60;
constexpr float kPassesBeforeErosion = 6000;

// The row of a gauge that the bonus has eroded down to: row = base - bonus *
// rows per point. The time gauge's scale puts the 527 points of 6001 passes
// on the area's top row 395 and each further 7.1 points one row lower; the
// step gauge loses a row per 150.3 points. As the bonus nears 0 the rows near
// the bases: the step gauge is never blanked below 458.67, the time gauge
// never below 469.
float StepGaugeRow(float steps) { return 458.67f - 0.006655f * static_cast<float>(BonusFor(kStepNumerator, steps)); }
float TimeGaugeRow(float time) { return 469.0f - 0.1406844f * static_cast<float>(BonusFor(kTimeNumerator, time)); }

// A single-precision count stops growing at 2^24.
constexpr float kCountLimit = 16777216.0f;
}  // namespace

void ErodeGauges(float steps, float time) {
  if (steps > kStepsBeforeErosion) {
    const float row = StepGaugeRow(steps);
    DrawLine(kStepGaugeLeft, row, kStepGaugeRight, row, kBoardColour);
  }
  if (time > kPassesBeforeErosion) {
    const float row = TimeGaugeRow(time);
    DrawLine(kTimeGaugeLeft, row, kTimeGaugeRight, row, kBoardColour);
  }
}

int QuietPasses(float, float time) {
  // The step gauge's row moves only with a step, which needs a key; the time
  // gauge's row moves down, never up, as the count grows.
  if (time <= kPassesBeforeErosion) return static_cast<int>(kPassesBeforeErosion - time);
  const int row = RoundCoord(TimeGaugeRow(time));
  if (time >= kCountLimit || RoundCoord(TimeGaugeRow(kCountLimit)) == row) return -1;
  // The first count whose row differs, by bisection over whole counts (24
  // halvings at most, once per row or key).
  auto lo = static_cast<std::int64_t>(time), hi = static_cast<std::int64_t>(kCountLimit);
  while (hi - lo > 1) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    (RoundCoord(TimeGaugeRow(static_cast<float>(mid))) == row ? lo : hi) = mid;
  }
  return static_cast<int>(hi - static_cast<std::int64_t>(time) - 1);
}

float CountPasses(float time, int passes) {
  return static_cast<float>(std::min<double>(kCountLimit, static_cast<double>(time) + passes));
}

}  // namespace qb
