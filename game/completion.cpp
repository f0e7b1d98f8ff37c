// The completion screen: a solved level's bonuses, the new score and the
// password for the next level; Space goes on, "+" offers to skip it.
#include <string>

#include "flow/screens.h"
#include "flow/state.h"
#include "game/interludes.h"
#include "game/paid_commands.h"
#include "game/scoring.h"
#include "gfx/frames.h"
#include "gfx/text.h"

namespace qb {

namespace {

// The bonus panel and the password panel.
constexpr Panel kBonusPanel{217, 429, 90, 190, panels::kBlue, panels::kYellow, ShadowSize::Small, 113};
constexpr Panel kPasswordPanel{217, 429, 252, 312, panels::kGreen, panels::kPaleYellow, ShadowSize::Small, 275};

constexpr Colour kBlack = 0xFF000000;

// A moment after the last move before the bonuses appear (after level 200,
// half a second before the all-levels screen); then the panels come a
// quarter of a second apart, as on the level card.
constexpr int kSolvedPauseMs = 350;
constexpr int kLastLevelPauseMs = 500;
constexpr int kPanelMs = 250;
constexpr Colour kPanelInk = 0xFFC8C8C8;

std::string Number(double v) { return std::to_string(static_cast<long>(v)); }

void DrawBonusPanel(double step_bonus, double time_bonus, double previous, double score) {
  DrawFramedPanel(kBonusPanel);
  Text7(235, 105, kPanelInk, "Step-bonus");
  Text7(340, 105, kPanelInk, Number(step_bonus));
  Text7(235, 120, kPanelInk, "Time-bonus");
  Text7(340, 120, kPanelInk, Number(time_bonus));
  Text7(235, 135, kPanelInk, "Previous");
  Text7(340, 135, kPanelInk, Number(previous));
  DrawLine(237, 152, 413, 152, panels::kYellow);
  Text8(235, 161, kPanelInk, "New Score");
  Text8(340, 161, kPanelInk, Number(score));
}

}  // namespace

Screen CompleteLevel() {
  auto& s = State();
  SleepMs(kSolvedPauseMs);
  const double step_bonus = StepBonus(s.steps);
  const double time_bonus = TimeBonus(s.time);
  s.FinishLevel(static_cast<float>(step_bonus), static_cast<float>(time_bonus),
                static_cast<float>(NewScore(s.previous_score, step_bonus, time_bonus)));
  if (s.level == 200) {
    SleepMs(kLastLevelPauseMs);
    return Screen::AllLevels;
  }

  DrawBonusPanel(step_bonus, time_bonus, s.previous_score, s.score);
  s.previous_score = s.score;
  SleepMs(kPanelMs);

  DrawFramedPanel(kPasswordPanel);
  s.level = static_cast<std::uint8_t>(s.level + 1);
  Text8(235, 267, kBlack, "Password to next level");
  Text8(286, 287, kBlack, MakePassword(s.level, static_cast<int>(s.previous_score)));
  SleepMs(kPanelMs);

  VerticalRun(160, 540, 452, 467, kStatusFill);
  Text8(230, 458, kBlack, "Press space to continue");
  SetWindowTitle("Congratulations, you have completed the level " + std::to_string(s.level - 1) + " !");

  if (auto leave = AwaitSpaceOrSkip(SkipFrom::Completion)) return *leave;
  s.level_running = 0;
  s.appearance = 1;
  return Screen::Play;
}

}  // namespace qb
