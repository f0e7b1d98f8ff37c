// What the player sees between and during levels, at virtual times: the
// figure's appearance, the take-back redraw, the pause screen with its cup,
// the level-100 notice and the all-levels screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/state.h"
#include "game/board.h"
#include "game/interludes.h"
#include "gfx/frames.h"
#include "screen_checks.h"

namespace qb {
namespace {

using namespace testing::keys;
using testing::PaintDialogBox;
using testing::PaintHintLine;
using testing::ShowsExactly;
constexpr Colour kDialogInk = 0xFF010102;

using InterludeTest = testing::PlayTest;

// Level 1's figure stands in column 4, row 6.
struct Sample {
  std::int64_t at;
  std::string shows;
};

TEST_F(InterludeTest, FigureAppearsInNineFrames100MsApartThenStands) {
  std::vector<Sample> samples;
  for (int k = 1; k <= 9; ++k) {
    samples.push_back({100 * (k - 1), "PicMosaic" + std::to_string(k)});
    samples.push_back({100 * k - 1, "PicMosaic" + std::to_string(k)});
  }
  samples.push_back({900, "PicFigure"});
  for (const Sample& s : samples) {
    Play(1, 0, false, {}, 0, 0, s.at);
    EXPECT_EQ(FigureCell(4, 6), s.shows) << s.at << " ms";
  }
}

TEST_F(InterludeTest, AKeyEndsOneFrameEarlyAndWaitsForTheLevelCard) {
  // Space at 250 ends the wait after the fourth frame at once: the fifth
  // follows at 300 and the figure stands at 800. The level card then runs its
  // 750 ms and its 455 ms gauge fill, and the waiting Space starts play.
  const Sample samples[] = {{299, "PicMosaic3"}, {300, "PicMosaic5"}, {399, "PicMosaic5"},
                            {400, "PicMosaic6"}, {799, "PicMosaic9"}, {800, "PicFigure"}};
  for (const Sample& s : samples) {
    Play(1, 0, false, {kSpace}, 250, 0, s.at);
    EXPECT_EQ(FigureCell(4, 6), s.shows) << s.at << " ms";
  }
  EXPECT_EQ(Play(1, 0, false, {kSpace}, 250, 0), Screen::Play);
  EXPECT_EQ(platform().now_ms(), 800 + 750 + 455);
  EXPECT_EQ(State().level_running, 1);
}

TEST_F(InterludeTest, TakeBackRedrawAlwaysLetsTheFigureAppear) {
  // Right at 500, "b" at 700, Space at 900: the figure goes back to (4, 6)
  // and appears there frame by frame; the status line shows the new score.
  const Sample samples[] = {{901, "PicMosaic1"}, {999, "PicMosaic1"}, {1000, "PicMosaic2"},
                            {1799, "PicMosaic9"}, {1800, "PicFigure"}};
  for (const Sample& s : samples) {
    Play(1, 5000, true, {kRight, 'b', kSpace}, kPlayStarts, 200, s.at);
    EXPECT_EQ(FigureCell(4, 6), s.shows) << s.at << " ms";
    EXPECT_EQ(CountColour(kBoardColour, 165, 205, 204, 244), 1600) << s.at << " ms";
    EXPECT_EQ(CountColour(panels::kOlive, 138, 55, 508, 355), 0) << "the dialog is gone";
  }
  EXPECT_TRUE(ShowsExactly(3, 452, 647, 475, [] {
    FillBox(3, 452, 647, 475, kStatusFill);
    Text7(15, 459, 0xFF000000, "Level 1/200 (0 %)");
    Text7(539, 459, 0xFF000000, "SCORE 4500");
    Text8(234, 458, 0xFF000000, "get ready for take off");
  }));
}

TEST_F(InterludeTest, LevelCardShowsTheLevelTheScoreAndTheNameAndFillsTheGauges) {
  struct Case {
    int level;
    float score;
    std::string_view level_text;
    int level_x;
    std::string_view score_text;
    int score_x;
    std::string_view name;  // Windows-1250
    int name_x;
  };
  const Case cases[] = {
      {5, 0, "Level 5", 295, "Your score 0", 274, "the dangerous roundabout", 226},
      {154, 12345, "Level 154", 286, "Your score 12345", 258, "tom\xE1\x9A masaryk", 270},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    Install({}, kFarFuture);
    State().level = static_cast<std::uint8_t>(c.level);
    State().score = c.score;
    State().appearance = 1;
    LevelCard();
    EXPECT_EQ(State().appearance, 0);
    EXPECT_EQ(platform().now_ms(), 3 * 250 + testing::kGaugeFillMs);
    // Over the cleared screen: the three panels, the call to go on, the gauges.
    EXPECT_TRUE(ShowsExactly(160, 68, 689, 471, [&] {
      FillBox(160, 68, 689, 471, 0);  // the cleared screen
      testing::PaintPanel(238, 408, 68, 108, panels::kRed, panels::kLightGrey, 87);
      Text8(static_cast<float>(c.level_x), 83, 0xFFC8C500, c.level_text);
      testing::PaintPanel(227, 419, 170, 210, panels::kBlue, panels::kYellow, 189);
      Text8(static_cast<float>(c.score_x), 185, 0xFFC8C8C8, c.score_text);
      testing::PaintPanel(188, 458, 272, 341, panels::kYellow, panels::kBlue, 291, true);
      Text8(286, 290, 0xFF020202, "Fieldname");
      Text8(static_cast<float>(c.name_x), 311, 0xFF020202, c.name);
      FillBox(160, 452, 540, 467, kStatusFill);
      Text8(230, 458, 0xFF000000, "Press space to continue");
      FillBox(656, 395, 689, 471, kBoardColour);
      testing::PaintGauges(659, 668, 677, 686);
    }));
  }
}

TEST_F(InterludeTest, PauseShowsItsBoxAndACupThatSteamsEvery468Passes) {
  // "p" at 500 opens the pause screen after 132 ms; the cup comes with its
  // first pass, is drawn again after 468 passes and changes after 936.
  auto pause_box = [] {
    return ShowsExactly(138, 55, 508, 355, [] {
      PaintDialogBox(false);
      Text8(285, 151, kDialogInk, "P A U S E");
      DrawPictureAt(PicCupA, 303, 201);
    });
  };
  Play(1, 0, true, {'p'}, kPlayStarts, 0, 631);
  EXPECT_FALSE(pause_box());
  Play(1, 0, true, {'p'}, kPlayStarts, 0, 633);
  EXPECT_TRUE(pause_box());
  // Its large shadow: the right strip from row 74 down, the bottom strip from column 157 on.
  EXPECT_NE(GetPixel(520, 73), kShadowColour);
  EXPECT_EQ(GetPixel(520, 74), kShadowColour);
  EXPECT_NE(GetPixel(156, 370), kShadowColour);
  EXPECT_EQ(GetPixel(157, 370), kShadowColour);
  EXPECT_TRUE(ShowsExactly(2, 452, 648, 467, [] { PaintHintLine(testing::kContinueHint); }));

  const Sample cups[] = {{633, "A"}, {1568, "A"}, {1569, "B"}, {2036, "B"}, {2037, "A"}, {2504, "A"}, {2505, "B"}};
  for (const Sample& s : cups) {
    Play(1, 0, true, {'p'}, kPlayStarts, 0, s.at);
    EXPECT_TRUE(testing::Shows("PicCup" + s.shows, 303, 201)) << s.at << " ms";
  }
}

TEST_F(InterludeTest, LeavingThePauseRedrawsTheBoardWithoutTheAnimation) {
  // A load leaves the appearance flag set (its prompt lets the figure appear,
  // 1100 to 2000); the pause opened at 2100 still redraws the figure at once.
  const testing::Script keys = {{500, 's'},  {700, kSpace},  {900, 'l'},
                                {1100, kSpace}, {2100, 'p'}, {2500, kEscape}};
  PlayScript(1, 5000, true, keys, 1101);
  EXPECT_EQ(FigureCell(4, 6), "PicMosaic1");
  PlayScript(1, 5000, true, keys, 2501);
  EXPECT_EQ(State().appearance, 1);
  EXPECT_EQ(FigureCell(4, 6), "PicFigure");
  EXPECT_EQ(CountColour(panels::kYellow, 138, 55, 508, 355), 0) << "the pause box is gone";
  EXPECT_TRUE(testing::ShowsText(Text8, 234, 458, 0xFF000000, kStatusFill, "get ready for take off", 160, 452, 540, 467));
}

TEST_F(InterludeTest, LevelHundredAloneShowsTheHellishNoticeBeforeItsCard) {
  Board b;
  LoadLevel(b, 100);
  FindFigure(b);
  // The figure has appeared by 900 ms; the notice waits for Space (at 1500).
  Play(100, 0, false, {kSpace}, 1500, 0, 1000);
  const std::string_view hellish = "OK, now comes the hellish difficulty...";
  EXPECT_TRUE(ShowsExactly(138, 55, 508, 355, [&] {
    PaintDialogBox();
    Text7(static_cast<float>(CentreText7(hellish.size())), 150, kDialogInk, hellish);
    DrawPictureAt(PicDevil, 307, 203);
    Text8(282, 270, kDialogInk, "Good Luck!");
  }));
  EXPECT_TRUE(ShowsExactly(2, 452, 648, 467, [] { PaintHintLine(testing::kContinueHint); }));
  EXPECT_NE(GetPixel(240, 70), panels::kRed) << "no level card yet";

  // Space closes it: the board comes back and the figure appears again, then
  // the level card follows.
  Play(100, 0, false, {kSpace}, 1500, 0, 1501);
  EXPECT_EQ(FigureCell(b.figure_column, b.figure_row), "PicMosaic1");
  EXPECT_EQ(CountColour(panels::kOlive, 138, 55, 508, 355), 0);
  Play(100, 0, false, {kSpace}, 1500, 0, 2399);
  EXPECT_EQ(FigureCell(b.figure_column, b.figure_row), "PicMosaic9");
  EXPECT_NE(GetPixel(240, 70), panels::kRed);
  Play(100, 0, false, {kSpace}, 1500, 0, 2401);
  EXPECT_EQ(GetPixel(240, 70), panels::kRed);

  for (int level : {99, 101}) {
    Play(level, 0, false, {}, 0, 0, 1000);
    EXPECT_EQ(CountColour(panels::kOlive, 138, 55, 508, 355), 0) << level;
    EXPECT_EQ(GetPixel(240, 70), panels::kRed) << level;
  }
}

class AllLevelsTest : public testing::ScreenTest {
 protected:
  std::optional<Screen> AllLevels(testing::Script keys) {
    auto& s = State();
    s.level = 201;
    s.score = s.previous_score = 12345;
    s.steps = 3000;
    s.time = 300;
    return Enter(Screen::AllLevels, std::move(keys));
  }
};

TEST_F(AllLevelsTest, ShowsTheFinalScoreOverAClearedBoard) {
  AllLevels({});
  EXPECT_EQ(platform().title(), "You won!! Congratulations!");
  EXPECT_TRUE(ShowsExactly(138, 55, 508, 355, [] {
    PaintDialogBox();
    Text8(198, 105, kDialogInk, "YOU COMPLETED ALL THE LEVELS !!");
    Text8(254, 150, kDialogInk, "CONGRATULATIONS !");
    Text7(282, 195, kDialogInk, "Final score");
    Text8(302, 213, kDialogInk, "12345");
    Text7(203, 257, kDialogInk, "perfect intellectual performance !");
    DrawPictureAt(PicHearts, 300, 281);
  }));
  EXPECT_TRUE(ShowsExactly(2, 452, 648, 467, [] {
    PaintHintLine("For return to menu press key SPACE or BACKSPACE or ESC");
    FillBox(2, 452, 4, 467, 0);  // no status bar on the cleared screen, only the hint's band
    FillBox(646, 452, 648, 467, 0);
  }));
  // The board background alone is painted, x 5..645 and y 5..445.
  EXPECT_EQ(CountColour(kBoardColour, 5, 5, 137, 445), 133 * 441);
  EXPECT_EQ(CountColour(kBoardColour, 532, 5, 645, 445), 114 * 441);
  EXPECT_EQ(GetPixel(4, 100), 0u);
  EXPECT_EQ(GetPixel(646, 100), 0u);
  EXPECT_EQ(GetPixel(100, 446), 0u);
}

TEST_F(AllLevelsTest, ContinueKeysLeaveForTheMenuWithEverythingClearedAndF5DoesNothing) {
  for (std::uint32_t k : {kSpace, kEscape, kBackspace}) {
    EXPECT_EQ(AllLevels({{10, kF5}, {20, 'x'}, {30, kUp}, {40, k}}), Screen::MainMenu);
    EXPECT_EQ(platform().now_ms(), 40);
    const auto& s = State();
    EXPECT_EQ(s.score + s.previous_score + s.steps + s.time + s.level_running, 0);
  }
  EXPECT_EQ(AllLevels({{10, kF5}}), std::nullopt);
  EXPECT_EQ(State().score, 12345);
  EXPECT_EQ(AllLevels({{10, kClose}}), Screen::Exit);
  EXPECT_EQ(platform().now_ms(), 510);
}

}  // namespace
}  // namespace qb
