#include "game/gauges.h"

#include <cmath>

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

void ErodeGauges(float steps, float time) {
  if (steps > 60) {
    const auto b = static_cast<float>(BonusFor(kStepNumerator, steps));
    const float row = 458.67f - 0.006655f * b;
    DrawLine(656, row, 671, row, kBoardColour);
  }
  if (time > 6000) {
    const auto t = static_cast<float>(BonusFor(kTimeNumerator, time));
    const float row = 469.0f - 0.1406844f * t;
    DrawLine(674, row, 689, row, kBoardColour);
  }
}

}  // namespace qb
