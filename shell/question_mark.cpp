#include "shell/question_mark.h"

#include <algorithm>
#include <cmath>

#include "flow/state.h"
#include "gfx/pen.h"
#include "gfx/pictures.h"
#include "gfx/surface.h"

namespace qb {

void BlinkQuestionMark(float polls) {
  auto& s = State();
  s.blink_counter += 1;
  if (s.blink_counter < polls) return;
  SetPen(658, 411);
  if (s.blink_phase == 1) {
    PicQuestionB();
    s.blink_phase = 0;
  } else {
    PicQuestionA();
    s.blink_phase = 1;
  }
  s.blink_counter = 0;
}

void SleepUntilBlink(float polls) {
  auto& s = State();
  // The poll that brings the counter to `polls` draws; those before it do not.
  const int quiet = std::max(0, static_cast<int>(std::ceil(polls - s.blink_counter)) - 1);
  s.blink_counter += static_cast<float>(SleepPasses(1, quiet));
}

}  // namespace qb
