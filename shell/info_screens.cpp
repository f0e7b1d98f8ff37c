// The instructions, about and credits screens: each draws over the board area
// and waits for Space, Backspace or Escape to go back to the menu.
#include <array>
#include <string>
#include <string_view>

#include "flow/screens.h"
#include "flow/state.h"
#include "game/interludes.h"
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
    const std::string key = PollKey();
    if (key == key::kStrClose) return CloseProgram();
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

void DrawRules() {
  // The right way: figure, box, target.
  DrawPictureAt(PicFigure, 229, 129);
  DrawPictureAt(PicArrowRight, 271, 139);
  DrawPictureAt(PicBox, 301, 129);
  DrawPictureAt(PicArrowRight, 345, 139);
  DrawPictureAt(PicTarget, 373, 129);
  DrawPictureAt(PicArrowRight, 419, 139);
  DrawPictureAt(PicTick, 454, 138);
  Text7(492, 144, kInk, "THE RIGHT WAY");
  // Two boxes in a row do not move.
  DrawPictureAt(PicFigure, 229, 177);
  DrawPictureAt(PicArrowRight, 271, 187);
  DrawPictureAt(PicBox, 301, 177);
  DrawPictureAt(PicBox, 345, 177);
  DrawPictureAt(PicArrowRight, 419, 187);
  DrawPictureAt(PicForbidden, 454, 182);
  Text7(492, 191, kInk, "BLOCKED");
  // Nor does a box against a wall.
  DrawPictureAt(PicFigure, 229, 225);
  DrawPictureAt(PicArrowRight, 271, 235);
  DrawPictureAt(PicBox, 301, 225);
  DrawPictureAt(PicWall, 345, 225);
  DrawPictureAt(PicArrowRight, 419, 235);
  DrawPictureAt(PicForbidden, 454, 230);
  Text7(492, 239, kInk, "BLOCKED");

  DrawPictureAt(PicArrowKeys, 229, 294);
  Text7(304, 308, kInk, "MOVE");
}

void DrawScoreLegend() {
  Text8(226, 348, kInk, "99000");
  Text7(272, 349, kInk, "maximum score");
  DrawLine(228, 360, 363, 360, 0xFF00AFAF);
  DrawPictureAt(PicArrowBent, 320, 365);
  Text7(378, 349, kInk, "-25000 points: skip level");
  Text7(378, 360, kInk, " -1000 points: RELOAD position");
  Text7(378, 371, kInk, "  -500 points: take move back");
  Text7(378, 382, kInk, "  -200 points: SAVE position");
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
    const std::string key = AwaitKey();
    if (key == key::kStrClose) return CloseProgram();
    if (IsContinueKey(key)) return Screen::MainMenu;
  }
}

}  // namespace qb
