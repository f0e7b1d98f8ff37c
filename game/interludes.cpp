#include "game/interludes.h"

#include <algorithm>
#include <string>

#include "data/catalogue.h"
#include "flow/screens.h"
#include "flow/state.h"
#include "game/board.h"
#include "game/board_view.h"
#include "game/gauges.h"
#include "gfx/frames.h"
#include "gfx/pictures.h"
#include "gfx/text.h"

namespace qb {

namespace {

// The panels of the level card, the notices, the dialogs and the pause.
constexpr Panel kLevelCardRed{238, 408, 68, 108, panels::kRed, panels::kLightGrey, ShadowSize::Small, 87};
constexpr Panel kLevelCardBlue{227, 419, 170, 210, panels::kBlue, panels::kYellow, ShadowSize::Small, 189};
constexpr Panel kLevelCardYellow{188, 458, 272, 341, panels::kYellow, panels::kBlue, ShadowSize::Large, 291};
constexpr Panel kNoticeBox{238, 408, 158, 198, panels::kRed, panels::kLightGrey, ShadowSize::Small, 177};
constexpr Panel kDialogBox{138, 508, 55, 355, panels::kYellow, panels::kBlue, ShadowSize::Large, 74,
                          InnerFill{158, 488, 75, 335, panels::kOlive}, true};
constexpr Panel kPauseBox{138, 508, 55, 355, panels::kYellow, panels::kBlue, ShadowSize::Large, 74, std::nullopt, true};

constexpr Colour kBlack = 0xFF000000;
constexpr Colour kDialogInk = 0xFF010102;

// The level card builds up panel by panel, a quarter of a second apart.
constexpr int kCardPanelMs = 250;

// The pause cup changes after this many polls.
constexpr float kCupBlinkPolls = 468;

void RedrawAfterDialog(bool animate) {
  RepaintBoardArea();
  if (animate)
    DrawBoardAppearing();
  else
    DrawBoardPlain();
  DrawStatusTextBand();
  DrawStatusLine();
}

}  // namespace

void DrawDialogBox() { DrawFramedPanel(kDialogBox); }

void DrawStatusHint(std::string_view text) {
  VerticalRun(5, 645, 452, 467, kStatusFill);
  Text8(static_cast<float>(CentreText8(text.size())), 458, kBlack, text);
}

void DrawContinueHint() { DrawStatusHint("For continue press key SPACE or BACKSPACE or ESC"); }

void DrawNoticeBox(std::string_view text, float x, Colour colour) {
  DrawFramedPanel(kNoticeBox);
  Text8(x, 173, colour, text);
}

void RepaintBoardArea() { VerticalRun(3, 645, 5, 445, kBoardColour); }

void DrawStatusTextBand() { VerticalRun(5, 635, 452, 467, kStatusFill); }

void ClearGaugeArea() {
  for (int y = kGaugeAreaTop; y <= kGaugeAreaBottom; ++y) {
    const auto fy = static_cast<float>(y);
    DrawLine(kGaugeAreaLeft, fy, kGaugeAreaRight, fy, kBoardColour);
  }
}

Prompt ContinuePrompt() {
  Key key;
  for (;;) {
    key = AwaitKey();
    if (auto leave = LeaveFromPrompt(key)) return {leave, key};
    if (IsContinueKey(key)) break;
  }
  RedrawAfterDialog(State().appearance == 1);
  return {std::nullopt, key};
}

Prompt PauseScreen() {
  DrawFramedPanel(kPauseBox);
  Text8(285, 151, kDialogInk, "P A U S E");
  DrawContinueHint();
  auto& s = State();
  s.blink_counter = 0;
  s.blink_phase = 0;
  Key key;
  for (;;) {
    key = PollKey();
    if (auto leave = LeaveFromPrompt(key)) return {leave, key};
    if (IsContinueKey(key)) break;
    if (s.blink_counter == 0) DrawPictureAt(PicCupA, 303, 201);
    if (s.blink_counter >= kCupBlinkPolls) {
      DrawPictureAt(s.blink_phase == 1 ? PicCupB : PicCupA, 303, 201);
      s.blink_phase = s.blink_phase == 1 ? 0 : 1;
      s.blink_counter = 0;
    }
    s.blink_counter += 1;
    // Passes before the counter reaches the blink leave the cup as it is.
    const int quiet = std::max(0, static_cast<int>(kCupBlinkPolls - s.blink_counter));
    s.blink_counter += static_cast<float>(SleepPasses(1, quiet));
  }
  RedrawAfterDialog(false);
  return {std::nullopt, key};
}

void TakeBackRedraw() {
  RepaintBoardArea();
  Board& b = TheBoard();
  b.board = b.take_back;
  DrawBoardAppearing();
  FindFigure(b);
  DrawStatusBar();
  DrawStatusLine();
}

void LevelCard() {
  const auto& s = State();
  VerticalRun(160, 540, 452, 467, kStatusFill);
  Text8(230, 458, kBlack, "Press space to continue");

  DrawFramedPanel(kLevelCardRed);
  const std::string level = "Level " + std::to_string(s.level);
  Text8(static_cast<float>(CentreLevelCard(level.size())), 83, 0xFFC8C500, level);
  SleepMs(kCardPanelMs);

  DrawFramedPanel(kLevelCardBlue);
  const std::string score = "Your score " + std::to_string(static_cast<long>(s.score));
  Text8(static_cast<float>(CentreText8(score.size())), 185, 0xFFC8C8C8, score);
  SleepMs(kCardPanelMs);

  DrawFramedPanel(kLevelCardYellow);
  Text8(286, 290, 0xFF020202, "Fieldname");
  const std::string& name = LevelName(s.level);
  Text8(static_cast<float>(CentreText8(name.size())), 311, 0xFF020202, name);
  SleepMs(kCardPanelMs);

  ClearGaugeArea();
  FillGauges(kCardFillInset);
  State().appearance = 0;
}

Prompt Level100Notice() {
  DrawContinueHint();
  DrawDialogBox();
  const std::string_view hellish = "OK, now comes the hellish difficulty...";
  Text7(static_cast<float>(CentreText7(hellish.size())), 150, kDialogInk, hellish);
  DrawPictureAt(PicDevil, 307, 203);
  const std::string_view luck = "Good Luck!";
  Text8(static_cast<float>(CentreText8(luck.size())), 270, kDialogInk, luck);
  return ContinuePrompt();
}

}  // namespace qb
