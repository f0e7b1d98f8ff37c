// The whole game from start-up, driven by keys as a player would press them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/state.h"
#include "game/scoring.h"
#include "gfx/frames.h"
#include "player.h"
#include "screen_checks.h"
#include "shell/startup.h"

namespace qb {
namespace {

using namespace testing::keys;
using testing::Player;
using testing::Solutions;

const std::string kMenuTitle = "QUIZZLEBOX - the ultimate puzzle game, v1.1";

class EndToEndTest : public testing::HeadlessTest {
 protected:
  // Starts the game as the program does and plays the keys; returns whether
  // the game ended (rather than running out of keys or time).
  bool RunGameWith(const Player& player, std::optional<std::int64_t> stop_at = {}) {
    Install(player.keys(), stop_at);
    try {
      RunGame();
      return true;
    } catch (const RunStopped&) {
      return false;
    }
  }
};

TEST_F(EndToEndTest, NewGameSolvesLevelOneAndItsPasswordResumesLevelTwo) {
  Player first;
  first.Press(kEnter, 100).Wait(Player::kEnterWait).SolveLevel(1);
  EXPECT_FALSE(RunGameWith(first, first.now() + Player::kCompletionShown));
  const auto& s = State();
  ASSERT_EQ(platform().title(), "Congratulations, you have completed the level 1 !");
  const int score = static_cast<int>(s.score);
  EXPECT_GT(score, 0);
  EXPECT_EQ(s.level, 2);
  const std::string password = MakePassword(2, score);
  EXPECT_TRUE(testing::ShowsText(Text8, 286, 287, 0xFF000000, panels::kGreen, password, 230, 284, 414, 297));

  // Later, from a fresh start: "ENTER PASSWORD", the nine digits, Enter.
  Player later;
  later.Press(kDown, 100).Press(kEnter, 20).Wait(Player::kEnterWait).Type(password, 50).Press(kEnter, 50);
  EXPECT_FALSE(RunGameWith(later, later.now() + Player::kCardShown));
  EXPECT_EQ(s.level, 2);
  EXPECT_EQ(s.score, score);
  EXPECT_EQ(s.previous_score, score);
  EXPECT_EQ(platform().title(), "QUIZZLEBOX, level 2");
  const std::string card = "Your score " + std::to_string(score);
  EXPECT_TRUE(testing::ShowsText(Text8, CentreText8(card.size()), 185, 0xFFC8C8C8, panels::kBlue, card, 233, 182,
                                 413, 199));

  // In one game, level 2 after level 1 counts its own steps alone.
  Player both;
  both.Press(kEnter, 100).Wait(Player::kEnterWait).SolveLevel(1).Press(kSpace, Player::kCompletionShown).SolveLevel(2);
  EXPECT_FALSE(RunGameWith(both, both.now() + Player::kCompletionShown));
  ASSERT_EQ(platform().title(), "Congratulations, you have completed the level 2 !");
  EXPECT_EQ(s.steps, Solutions().at(2).size());
  EXPECT_EQ(s.step_bonus, StepBonus(static_cast<double>(Solutions().at(2).size())));
}

TEST_F(EndToEndTest, AllTwoHundredLevelsToTheAllLevelsScreenAndBackToTheMenu) {
  ASSERT_EQ(Solutions().size(), 200u);
  Player player;
  player.Press(kEnter, 100).Wait(Player::kEnterWait);
  std::vector<std::string> titles = {kMenuTitle};
  for (int level = 1; level <= 200; ++level) {
    if (level == 100) player.Press(kSpace, 1500);  // past the notice of the hellish half
    player.SolveLevel(level);
    player.Press(kSpace, Player::kCompletionShown);
    titles.push_back("QUIZZLEBOX, level " + std::to_string(level));  // the level card
    titles.push_back(titles.back());                                   // play proper
    if (level < 200) titles.push_back("Congratulations, you have completed the level " + std::to_string(level) + " !");
  }
  // The all-levels screen's Space leads to the menu, where a new game opens
  // level 1 again; the close button on its card ends the game.
  titles.insert(titles.end(), {"You won!! Congratulations!", kMenuTitle, "QUIZZLEBOX, level 1"});
  player.Press(kEnter, 100).Wait(Player::kEnterWait).Press(kClose, Player::kCardShown);

  ASSERT_TRUE(RunGameWith(player));
  EXPECT_EQ(platform().exit_status(), 0);
  EXPECT_EQ(platform().now_ms(), player.now() + 500);  // the game kept pace with the player
  EXPECT_EQ(platform().keys_delivered(), player.keys().size());
  EXPECT_EQ(platform().titles(), titles);
  EXPECT_EQ(State().level, 1);
  EXPECT_EQ(State().score, 0);
}

}  // namespace
}  // namespace qb
