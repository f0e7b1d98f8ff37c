// The instructions, about and credits screens: each draws over the board area
// and waits for Space, Backspace or Escape to go back to the menu.
#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <string_view>

#include "flow/screens.h"
#include "flow/state.h"
#include "game/interludes.h"
#include "game/paid_commands.h"
#include "gfx/frames.h"
#include "gfx/pictures.h"
#include "gfx/text.h"
#include "shell/question_mark.h"

namespace qb {

namespace {

// The title panels of the instructions and about screens.
constexpr Panel kInstructionsTitle{238, 408, 40, 80, panels::kRed, panels::kLightGrey, ShadowSize::Small, 59};
constexpr Panel kAboutTitle{238, 408, 43, 83, panels::kRed, panels::kLightGrey, ShadowSize::Small, 62};

constexpr Colour kBlack = 0xFF000000;
constexpr Colour kInk = 0xFF010101;
constexpr Colour kTitleInk = 0xFFC8C500;

// The question mark toggles after this many polls of these screens.
constexpr float kInfoBlinkPolls = 498;

// The board background and the status band with the way back.
void DrawCommonFrame() {
  VerticalRun(5, 645, 5, 445, kBoardColour);
  VerticalRun(100, 540, 452, 467, kStatusFill);
  constexpr std::string_view hint = "For return to menu press key SPACE or BACKSPACE or ESC";
  Text8(static_cast<float>(CentreText8(hint.size())), 458, kBlack, hint);
}

void DrawTitle(const Panel& panel, float x, std::string_view title) {
  DrawFramedPanel(panel);
  Text8(x, static_cast<float>(panel.top + 15), kTitleInk, title);
}

// Centred by the about screen's rule, with either renderer.
void AboutLine7(std::string_view text, float y) { Text7(static_cast<float>(CentreAbout(text.size())), y, kInk, text); }
void AboutLine8(std::string_view text, float y) { Text8(static_cast<float>(CentreAbout(text.size())), y, kInk, text); }
void CreditLine(std::string_view text, float y, Colour colour = 0xFF010102) {
  Text7(static_cast<float>(CentreCredits(text.size())), y, colour, text);
}

// Waits for a continue key while the question mark blinks; the counter starts
// afresh, the phase goes on from where it was.
Screen WaitWithQuestionMark() {
  State().blink_counter = 0;
  for (;;) {
    const Key key = PollKey();
    if (key == key::kClose) return CloseProgram();
    if (IsContinueKey(key)) return Screen::MainMenu;
    BlinkQuestionMark(kInfoBlinkPolls);
    SleepUntilBlink(kInfoBlinkPolls);
  }
}

void DrawCommandLegend() {
  constexpr std::array<void (*)(), 7> caps = {PicKeyF1, PicKeyF5, PicKeyP, PicKeyPlus, PicKeyB, PicKeyL, PicKeyS};
  constexpr std::array<std::string_view, 7> labels = {"restart level", "return to menu", "pause / break",
                                                      "skip level",    "take move back", "LOAD position",
                                                      "SAVE position"};
  for (std::size_t i = 0; i < caps.size(); ++i) {
    const auto row = static_cast<float>(35 * i);
    DrawPictureAt(caps[i], 50, 135 + row);
    Text7(95, 143 + row, kInk, labels[i]);
  }
}

// The three rules, one row each: figure, arrow, box and what lies beyond,
// another arrow, and the verdict with its word. A row's pictures stand at
// fixed columns; the arrows sit 10 rows lower than the tiles.
struct Placed {
  void (*picture)();
  int x, dy;
};
struct RuleRow {
  int y;
  std::array<Placed, 7> pictures;  // drawn in order; a null picture ends the row
  std::string_view verdict;
  int verdict_dy;
};
constexpr Placed kFigure{PicFigure, 229, 0}, kFirstArrow{PicArrowRight, 271, 10}, kBox{PicBox, 301, 0},
    kLastArrow{PicArrowRight, 419, 10};
constexpr RuleRow kRules[] = {
    // The right way: figure, box, target.
    {129,
     {kFigure, kFirstArrow, kBox, {PicArrowRight, 345, 10}, {PicTarget, 373, 0}, kLastArrow, {PicTick, 454, 9}},
     "THE RIGHT WAY",
     15},
    // Two boxes in a row do not move.
    {177, {kFigure, kFirstArrow, kBox, {PicBox, 345, 0}, kLastArrow, {PicForbidden, 454, 5}}, "BLOCKED", 14},
    // Nor does a box against a wall.
    {225, {kFigure, kFirstArrow, kBox, {PicWall, 345, 0}, kLastArrow, {PicForbidden, 454, 5}}, "BLOCKED", 14},
};

void DrawRules() {
  for (const RuleRow& row : kRules) {
    for (const Placed& p : row.pictures)
      if (p.picture) DrawPictureAt(p.picture, static_cast<float>(p.x), static_cast<float>(row.y + p.dy));
    Text7(492, static_cast<float>(row.y + row.verdict_dy), kInk, row.verdict);
  }
  DrawPictureAt(PicArrowKeys, 229, 294);
  Text7(304, 308, kInk, "MOVE");
}

// What each paid command costs, as the legend says it; the build checks that
// every line names its command's cost.
struct CostLine {
  float cost;
  std::string_view text;
};
constexpr CostLine kCostLines[] = {
    {kSkipCost, "-25000 points: skip level"},
    {kLoadCost, " -1000 points: RELOAD position"},
    {kTakeBackCost, "  -500 points: take move back"},
    {kSaveCost, "  -200 points: SAVE position"},
};
// (std::all_of over begin and end: the web build's library has no ranges::all_of.)
static_assert(std::all_of(std::begin(kCostLines), std::end(kCostLines),
                          [](const CostLine& l) { return CostWrittenIn(l.text) == l.cost; }));

void DrawScoreLegend() {
  Text8(226, 348, kInk, "99000");
  Text7(272, 349, kInk, "maximum score");
  DrawLine(228, 360, 363, 360, 0xFF00AFAF);
  DrawPictureAt(PicArrowBent, 320, 365);
  for (std::size_t i = 0; i < std::size(kCostLines); ++i)
    Text7(378, static_cast<float>(349 + 11 * i), kInk, kCostLines[i].text);
}

}  // namespace

Screen ShowInstructions() {
  SetWindowTitle("Instructions to play...");
  DrawCommonFrame();
  DrawTitle(kInstructionsTitle, 275, "Instructions");
  DrawCommandLegend();
  DrawRules();
  DrawScoreLegend();
  Text7(50, 413, 0xFF020202, "Number of steps and time are importat for your score.");
  Text7(50, 424, 0xFF020202, "Password for next level contains your previous score.");
  return WaitWithQuestionMark();
}

Screen ShowAbout() {
  DrawCommonFrame();
  DrawTitle(kAboutTitle, 301, "ABOUT");
  SetWindowTitle("About the game...  QUIZZLEBOX v1.0");
  AboutLine7("Quizzle-Box is an old classic.", 124);
  AboutLine7("It first came on tape for an eight-bit home computer.", 137);
  DrawPictureAt(PicScreenshotInfo, 45, 158);
  DrawPictureAt(PicScreenshotPlay, 350, 158);
  AboutLine7("99 levels of the original game, the next levels i created myself.", 359);
  AboutLine7("I hope you will enjoy this remake!", 381);
  AboutLine7("Ideas for new levels are always welcome.", 397);
  AboutLine8("Have fun!", 421);
  Text7(512, 430, kBlack, "a hobby project");
  return WaitWithQuestionMark();
}

Screen ShowCredits() {
  DrawCommonFrame();
  DrawDialogBox();
  CreditLine("Original QV-game by", 102);
  CreditLine("the author of the tape", 117);
  CreditLine("Remake Windows-game by", 150);
  CreditLine("a puzzle hobbyist", 165);
  CreditLine("This remake was made for a beautiful classical", 207);
  CreditLine("revival of the old times of computers.", 222);
  CreditLine("Many thanks to the icon artists", 250, 0xFF01010B);
  CreditLine("for free icons!", 265, 0xFF01010B);
  CreditLine("Have fun and a lot of patience!", 298);
  for (;;) {
    const Key key = AwaitKey();
    if (key == key::kClose) return CloseProgram();
    if (IsContinueKey(key)) return Screen::MainMenu;
  }
}

}  // namespace qb
