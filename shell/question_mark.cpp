#include "shell/question_mark.h"

#include "flow/state.h"
#include "gfx/pen.h"
#include "gfx/pictures.h"

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

}  // namespace qb
