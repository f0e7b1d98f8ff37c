#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/frames.h"
#include "screen_checks.h"
#include "flow/screens.h"
#include "shell/screen_loop.h"

namespace qb {
namespace {

using namespace testing::keys;
using testing::KeysFrom;
using testing::Shows;

using MenuScreenTest = testing::ScreenTest;

int PointedEntry() {
  int found = 0;
  for (int n = 1; n <= 5; ++n)
    if (Shows("PicPointer", 394, 25 * n + 142)) {
      EXPECT_EQ(found, 0) << "two pointers";
      found = n;
    }
  return found;
}

TEST_F(MenuScreenTest, MenuSelectionWrapsBothWays) {
  const std::pair<std::vector<std::uint32_t>, int> cases[] = {
      {{}, 1},
      {{kUp}, 5},
      {{kUp, kUp}, 4},
      {{kUp, kDown}, 1},
      {{kDown, kDown, kDown, kDown}, 5},
      {{kDown, kDown, kDown, kDown, kDown}, 1},
  };
  for (const auto& [keys, entry] : cases) {
    EXPECT_EQ(Enter(Screen::MainMenu, KeysFrom(10, 10, keys)), std::nullopt);
    EXPECT_EQ(PointedEntry(), entry) << keys.size() << " keys";
  }
}

TEST_F(MenuScreenTest, MenuEnterWaitsThenActsOnTheSelection) {
  const std::pair<std::vector<std::uint32_t>, Screen> cases[] = {
      {{kEnter}, Screen::Play},
      {{kDown, kEnter}, Screen::Password},
      {{kDown, kDown, kEnter}, Screen::Instructions},
      {{kUp, kUp, kEnter}, Screen::About},
      {{kUp, kEnter}, Screen::Exit},
  };
  for (const auto& [keys, next] : cases) {
    const std::int64_t enter_at = 10 + 10 * static_cast<std::int64_t>(keys.size() - 1);
    EXPECT_EQ(Enter(Screen::MainMenu, KeysFrom(10, 10, keys)), next);
    EXPECT_GE(platform().now_ms(), enter_at + 500);
    EXPECT_LT(platform().now_ms(), enter_at + 510);
  }
  EXPECT_EQ(platform().title(), "QUIZZLEBOX - the ultimate puzzle game, v1.1");
}

TEST_F(MenuScreenTest, MenuNewGameStartsAtLevelOneWithScoreZero) {
  auto& s = State();
  s.level = 150;
  s.score = s.previous_score = 43000;
  s.steps = s.time = 77;
  s.level_running = 1;
  s.appearance = 0;
  // Enter once the question mark is shown (its first toggle comes at 478 ms).
  EXPECT_EQ(Enter(Screen::MainMenu, KeysFrom(600, 0, {kEnter})), Screen::Play);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.score, 0);
  EXPECT_EQ(s.previous_score, 0);
  EXPECT_EQ(s.steps, 0);
  EXPECT_EQ(s.time, 0);
  EXPECT_EQ(s.level_running, 0);
  EXPECT_EQ(s.appearance, 1);
  // The side bar's foot is blank for the figure's appearance: no question mark.
  EXPECT_EQ(CountColour(kBoardColour, 656, 395, 689, 471), 34 * 77);
}

TEST_F(MenuScreenTest, MenuCloseCreditsAndIgnoredKeys) {
  EXPECT_EQ(Enter(Screen::MainMenu, KeysFrom(10, 0, {kClose})), Screen::Exit);
  EXPECT_GE(platform().now_ms(), 510);
  // Ctrl+F12 opens the credits at once from any entry; plain F12 does nothing.
  EXPECT_EQ(Enter(Screen::MainMenu, KeysFrom(10, 10, {kDown, kDown, kCtrlF12})), Screen::Credits);
  EXPECT_LT(platform().now_ms(), 40);
  EXPECT_EQ(Enter(Screen::MainMenu, KeysFrom(10, 10, {kF12, kF5, 'x', kSpace})), std::nullopt);
  EXPECT_EQ(PointedEntry(), 1);
}

TEST_F(MenuScreenTest, MenuDrawsItsBoxesOverTheWholeFrame) {
  Enter(Screen::MainMenu, {});
  EXPECT_EQ(GetPixel(227, 63), panels::kBlue);   // title box
  EXPECT_EQ(GetPixel(188, 155), panels::kYellow);  // menu box
  EXPECT_EQ(GetPixel(217, 351), panels::kGreen);   // choice box
  EXPECT_EQ(GetPixel(481, 329), kShadowColour);
  EXPECT_TRUE(Shows("PicKeyF1", 658, 20));  // the side bar's legend
  const std::string status = "Use Arrow keys" + std::string(23, ' ') + "ENTER - SELECT";
  EXPECT_TRUE(testing::ShowsText(Text8, 118, 458, 0xFF000000, kStatusFill, status, 5, 452, 645, 467));
}

// Which question mark stands at the side bar's foot.
std::string QuestionMark() {
  if (Shows("PicQuestionA", 658, 411)) return "A";
  if (Shows("PicQuestionB", 658, 411)) return "B";
  return "none";
}

TEST_F(MenuScreenTest, MenuQuestionMarkTogglesEvery478Polls) {
  // One poll per virtual millisecond; the first toggle comes with poll 478.
  const std::pair<std::int64_t, const char*> cases[] = {{477, "none"}, {478, "A"}, {955, "A"}, {956, "B"}, {1434, "A"}};
  for (auto [ms, shown] : cases) {
    State() = GameState{};
    Enter(Screen::MainMenu, {}, ms);
    EXPECT_EQ(QuestionMark(), shown) << ms << " ms";
  }
}

TEST_F(MenuScreenTest, InformationScreensToggleAfter498PollsFromTheirPhase) {
  for (Screen screen : {Screen::Instructions, Screen::About}) {
    SCOPED_TRACE(ScreenName(screen));
    // The counter starts afresh on entry; the phase goes on from where it was.
    const std::pair<std::int64_t, const char*> cases[] = {{497, "none"}, {498, "B"}, {995, "B"}, {996, "A"}};
    for (auto [ms, shown] : cases) {
      State().blink_counter = 470;
      State().blink_phase = 1;
      Enter(screen, {}, ms);
      EXPECT_EQ(QuestionMark(), shown) << ms << " ms";
    }
  }
  // The credits screen does not animate it.
  Enter(Screen::Credits, {}, 3000);
  EXPECT_EQ(QuestionMark(), "none");
}

TEST_F(MenuScreenTest, InformationScreensReturnOnTheContinueKeysOnly) {
  for (Screen screen : {Screen::Instructions, Screen::About, Screen::Credits}) {
    SCOPED_TRACE(ScreenName(screen));
    for (std::uint32_t k : {kSpace, kBackspace, kEscape}) {
      EXPECT_EQ(Enter(screen, KeysFrom(10, 0, {k})), Screen::MainMenu);
      EXPECT_LT(platform().now_ms(), 20);
    }
    EXPECT_EQ(Enter(screen, KeysFrom(10, 10, {kF5, kEnter, 'q', kUp})), std::nullopt);
    EXPECT_EQ(Enter(screen, KeysFrom(10, 0, {kClose})), Screen::Exit);
    EXPECT_GE(platform().now_ms(), 510);
  }
}

TEST_F(MenuScreenTest, InformationScreensLayoutsAndTitles) {
  Enter(Screen::Instructions, {});
  EXPECT_EQ(platform().title(), "Instructions to play...");
  EXPECT_EQ(GetPixel(238, 40), panels::kRed);
  EXPECT_EQ(GetPixel(5, 5), kBoardColour);
  EXPECT_TRUE(Shows("PicKeyS", 50, 345));
  EXPECT_TRUE(Shows("PicTick", 454, 138));
  EXPECT_TRUE(Shows("PicArrowKeys", 229, 294));
  EXPECT_TRUE(testing::ShowsText(Text7, 50, 413, 0xFF020202, kBoardColour,
                                 "Number of steps and time are importat for your score.", 5, 410, 645, 421));

  Enter(Screen::About, {});
  EXPECT_EQ(platform().title(), "About the game...  QUIZZLEBOX v1.0");
  EXPECT_EQ(GetPixel(238, 43), panels::kRed);
  EXPECT_EQ(GetPixel(238, 42), kBoardColour);
  EXPECT_TRUE(Shows("PicScreenshotPlay", 350, 158));

  Enter(Screen::Credits, {});
  EXPECT_TRUE(platform().titles().empty());
  EXPECT_EQ(GetPixel(160, 77), panels::kOlive);  // the dialog box's inner fill
  const std::string_view hint = "For return to menu press key SPACE or BACKSPACE or ESC";
  EXPECT_TRUE(testing::ShowsText(Text8, 106, 458, 0xFF000000, kStatusFill, hint, 100, 452, 540, 467));
}

}  // namespace
}  // namespace qb
