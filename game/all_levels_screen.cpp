// The all-levels screen after level 200: the final score, and back to the
// menu with a continue key.
#include <string>
#include <string_view>

#include "flow/screens.h"
#include "flow/state.h"
#include "game/interludes.h"
#include "gfx/frames.h"
#include "gfx/pictures.h"
#include "gfx/text.h"

namespace qb {

namespace {
constexpr Colour kDialogInk = 0xFF010102;
}  // namespace

Screen ShowAllLevels() {
  SetWindowTitle("You won!! Congratulations!");
  VerticalRun(5, 645, 5, 445, kBoardColour);
  DrawStatusHint("For return to menu press key SPACE or BACKSPACE or ESC");
  DrawDialogBox();
  auto line8 = [](std::string_view text, float y) {
    Text8(static_cast<float>(CentreText8(text.size())), y, kDialogInk, text);
  };
  auto line7 = [](std::string_view text, float y) {
    Text7(static_cast<float>(CentreText7(text.size())), y, kDialogInk, text);
  };
  line8("YOU COMPLETED ALL THE LEVELS !!", 105);
  line8("CONGRATULATIONS !", 150);
  line7("Final score", 195);
  line8(std::to_string(static_cast<long>(State().score)), 213);
  line7("perfect intellectual performance !", 257);
  DrawPictureAt(PicHearts, 300, 281);
  for (;;) {
    const Key key = AwaitKey();
    if (key == key::kClose) return CloseProgram();
    if (IsContinueKey(key)) {
      State().ResetProgress();
      return Screen::MainMenu;
    }
  }
}

}  // namespace qb
