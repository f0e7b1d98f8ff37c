// The two side-bar gauges: their band colours, their fill at the start of
// play, and the rows that play blanks as the step and time bonuses shrink.
#pragma once

#include "gfx/surface.h"

namespace qb {

// The gauge area at the foot of the side bar, x 656..689 and y 395..471,
// under the labels "step" and "time": the step gauge takes its 16 left
// columns, the time gauge its 16 right ones, two columns apart.
inline constexpr int kGaugeAreaLeft = 656, kGaugeAreaRight = 689;
inline constexpr int kGaugeAreaTop = 395, kGaugeAreaBottom = 471;
inline constexpr int kStepGaugeLeft = kGaugeAreaLeft, kStepGaugeRight = 671;
inline constexpr int kTimeGaugeLeft = 674, kTimeGaugeRight = kGaugeAreaRight;

// Colours of the band whose top row is y0 (468, 462, ..., 396).
Colour StepGaugeColour(int y0);
Colour TimeGaugeColour(int y0);

// Fills both gauges band by band from the bottom, 35 ms per band, `inset`
// columns inside each gauge's edges: play proper fills 14 of their 16
// columns, the level card a narrower 10.
inline constexpr int kPlayFillInset = 1, kCardFillInset = 3;
void FillGauges(int inset);

// The bonus the counts would earn: nearest(numerator / n + 777 / sqrt(n)).
double BonusFor(double numerator, double n);
inline constexpr double kStepNumerator = 601998;
inline constexpr double kTimeNumerator = 3099998;

// Blanks this pass's gauge lines once the counts pass 60 steps and 6000 passes.
void ErodeGauges(float steps, float time);

// How many passes after the one at `time` leave the gauges as they are while
// no step is made: until the time gauge reaches its next row (negative: it
// never will).
int QuietPasses(float steps, float time);

// The time counter after `passes` more passes, each adding one as the play
// loop does (a single-precision count stops growing at 2^24).
float CountPasses(float time, int passes);

}  // namespace qb
