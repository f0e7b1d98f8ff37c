// The two side-bar gauges: their band colours, their fill at the start of
// play, and the rows that play blanks as the step and time bonuses shrink.
#pragma once

#include "gfx/surface.h"

namespace qb {

// Colours of the band whose top row is y0 (468, 462, ..., 396).
Colour StepGaugeColour(int y0);
Colour TimeGaugeColour(int y0);

// Fills both gauges band by band from the bottom, 35 ms per band. The step
// gauge spans x step_left..step_right, the time gauge time_left..time_right.
void FillGauges(int step_left, int step_right, int time_left, int time_right);

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
