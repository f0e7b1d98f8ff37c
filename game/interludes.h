// The short screens that open over the play screen and the screens between
// levels: dialog elements, the continue prompt, pause, the take-back redraw,
// the level card, the level-100 notice.
#pragma once

#include <string_view>

#include "flow/prompt.h"
#include "gfx/surface.h"

namespace qb {

// Dialog elements.
void DrawDialogBox();      // with its inner fill
void DrawStatusHint(std::string_view text);  // centred on the status bar, x 5..645 cleared
void DrawContinueHint();   // "For continue press key ..." on the status bar
void DrawNoticeBox(std::string_view text, float x, Colour colour);
void RepaintBoardArea();   // x 3..645, y 5..445 in the board colour
void DrawStatusTextBand(); // x 5..635, y 452..467 in the status fill

// Waits for a continue key (F5: menu return; close: end), then repaints the
// board area, draws the board and the status line.
Prompt ContinuePrompt();
// The pause screen with its blinking cup; redraws the board when it ends.
Prompt PauseScreen();
// Puts the take-back board on the board and redraws it with the animation.
void TakeBackRedraw();
// The level card with the gauge fill; leaves the appearance flag 0.
void LevelCard();
// "OK, now comes the hellish difficulty..." and its continue prompt.
Prompt Level100Notice();
// Blanks the foot of the side bar (gauges and question mark).
void ClearGaugeArea();

}  // namespace qb
