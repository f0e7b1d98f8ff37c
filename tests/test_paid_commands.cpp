// The four paid commands: what each charges, and their dialogs, refused and
// accepted, as the player sees them while the continue prompt waits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/paid_commands.h"
#include "gfx/frames.h"
#include "screen_checks.h"

namespace qb {
namespace {

using namespace testing::keys;
using testing::ShowsExactly;

using ChargeDialogTest = testing::PlayTest;

struct Command {
  const char* name;
  std::vector<std::uint32_t> keys;  // in level 1's play, 200 ms apart; the last gives the command
  float cost;                       // of the command alone
  float spent_before;               // by the keys before it
};
const Command kCommands[] = {
    {"take back", {'b'}, 500, 0},
    {"save", {'s'}, 200, 0},
    {"load", {'s', kSpace, 'L'}, 1000, 200},
    {"skip", {'+'}, 25000, 0},
};

TEST_F(ChargeDialogTest, ChargesNeedTheWholeCost) {
  for (const Command& c : kCommands) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint32_t> keys = c.keys;
    keys.push_back(kSpace);
    // One point short: the command is refused, nothing else changes.
    Play(1, c.spent_before + c.cost - 1, true, keys);
    EXPECT_EQ(State().score, c.cost - 1);
    EXPECT_EQ(State().previous_score, State().score);
    EXPECT_EQ(State().level, 1);
    // Exactly enough: accepted, down to 0.
    const auto next = Play(1, c.spent_before + c.cost, true, keys);
    EXPECT_EQ(State().score, 0);
    EXPECT_EQ(State().previous_score, 0);
    if (c.cost == kSkipCost) {
      EXPECT_EQ(next, Screen::Play);
      EXPECT_EQ(State().level, 2);
      EXPECT_EQ(State().level_running, 0);
      EXPECT_EQ(State().appearance, 1);
    }
  }
}

TEST_F(ChargeDialogTest, RefusalsNameTheCommandAndTheScore) {
  struct Refusal {
    std::string_view first, second;
  };
  const Refusal refusals[] = {
      {"Taking back costs 500 points from the score.", "Take back move for your score!"},
      {"Saving position is 200 points from the score.", "Save position for your score!"},
      {"Loading position is 1000 points from the score.", "Load position for your score!"},
      {"Skip each level is 25000 points of score", "Skip level for your score!"},
  };
  constexpr Colour kInk = 0xFF010102;
  for (std::size_t i = 0; i < std::size(kCommands); ++i) {
    const Command& c = kCommands[i];
    SCOPED_TRACE(c.name);
    Play(1, c.spent_before + c.cost - 1, true, c.keys);
    const std::string score = std::to_string(static_cast<int>(c.cost - 1));
    EXPECT_TRUE(ShowsExactly(138, 55, 508, 355, [&] {
      testing::PaintDialogBox();
      DrawPictureAt(PicWarning, 170, 90);
      Text8(218, 105, kInk, "you have not enough score!");
      Text7(static_cast<float>(CentreText7(refusals[i].first.size())), 150, kInk, refusals[i].first);
      Text7(static_cast<float>(CentreText7(refusals[i].second.size())), 180, kInk, refusals[i].second);
      Text7(285, 220, kInk, "Your score");
      Text8(static_cast<float>(CentreText8(score.size())), 238, kInk, score);
      Text7(292, 280, kInk, "Try more!");
    }));
    EXPECT_TRUE(ShowsExactly(2, 452, 648, 467, [] { testing::PaintHintLine(testing::kContinueHint); }));
  }
}

TEST_F(ChargeDialogTest, AcceptancesShowTheOldScoreTheChargeAndTheNewScore) {
  struct Acceptance {
    std::string_view charge_line;
    void (*icon)();  // at (170, 90)
  };
  const Acceptance acceptances[] = {
      {"- 500 take back move", PicTakeBack},
      {"- 200 save the position to memory", PicFloppy},
      {"- 1000 load position from memory", PicFloppy},
      {"- 25000 skip", PicSkipLevel},
  };
  constexpr Colour kInk = 0xFF000000;
  for (std::size_t i = 0; i < std::size(kCommands); ++i) {
    const Command& c = kCommands[i];
    SCOPED_TRACE(c.name);
    const float score = 30000;
    Play(1, c.spent_before + score, true, c.keys);
    const std::string left = "= " + std::to_string(static_cast<int>(score - c.cost));
    EXPECT_TRUE(ShowsExactly(138, 55, 508, 355, [&] {
      testing::PaintDialogBox();
      DrawPictureAt(acceptances[i].icon, 170, 90);
      Text7(273, 120, kInk, "previous score");
      Text7(305, 142, kInk, "30000");
      Text7(static_cast<float>(CentreDialog(acceptances[i].charge_line.size())), 190, kInk, acceptances[i].charge_line);
      Text7(273, 240, kInk, "your new score");
      Text8(static_cast<float>(CentreText8(left.size())), 262, kInk, left);
      DrawPictureAt(PicCoins, 309, 293);
    }));
    if (c.cost == 25000) {
      // The skip dialog leaves the status line as it was.
      EXPECT_TRUE(ShowsExactly(3, 452, 647, 475, [] {
        FillBox(3, 452, 647, 475, kStatusFill);
        Text7(15, 459, 0xFF000000, "Level 1/200 (0 %)");
        Text7(539, 459, 0xFF000000, "SCORE 30000");
        Text8(234, 458, 0xFF000000, "get ready for take off");
      }));
    } else {
      EXPECT_TRUE(ShowsExactly(2, 452, 648, 467, [] { testing::PaintHintLine(testing::kContinueHint); }));
    }
  }
}

}  // namespace
}  // namespace qb
