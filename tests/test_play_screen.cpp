#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "data/catalogue.h"
#include "flow/screens.h"
#include "flow/state.h"
#include "game/board.h"
#include "game/board_view.h"
#include "game/gauges.h"
#include "gfx/frames.h"
#include "shell/menu_frame.h"
#include "gfx/text.h"
#include "screen_checks.h"

namespace qb {
namespace {

using namespace testing::keys;

class PlayScreenTest : public testing::PlayTest {
 protected:
  static Grid LevelGrid(int level) {
    Board b;
    LoadLevel(b, level);
    return b.board;
  }
};

TEST_F(PlayScreenTest, LevelElevenIsSolvedByOneRight) {
  EXPECT_EQ(Play(11, 0, true, {kRight}), Screen::Completion);
  EXPECT_EQ(State().steps, 1);
  EXPECT_EQ(TheBoard().board.at(10, 5), CellBoxOnTarget);
}

TEST_F(PlayScreenTest, LevelSixtyNineIsSolvedAtOnce) {
  EXPECT_EQ(Play(69, 0, true, {}, 0, 0, kPlayStarts), Screen::Completion);
  EXPECT_EQ(State().time, 0);
}

TEST_F(PlayScreenTest, MovesFollowTheRulesAndCountSteps) {
  // Level 1: figure (4,6); right walks, up is a wall, then three steps left.
  EXPECT_EQ(Play(1, 0, true, {kRight, kUp, kLeft, kLeft, kLeft}), std::nullopt);
  EXPECT_EQ(State().steps, 4);
  EXPECT_EQ(TheBoard().figure_column, 2);
  EXPECT_EQ(TheBoard().figure_row, 6);
  EXPECT_GT(State().time, 0);
}

TEST_F(PlayScreenTest, TakingBackTwiceRestoresTheSameBoardAndCostsTwice) {
  Play(1, 5000, true, {kRight, 'B', kEscape, 'b', '\b'});
  EXPECT_EQ(State().score, 4000);
  EXPECT_EQ(TheBoard().board, LevelGrid(1));
  EXPECT_EQ(TheBoard().figure_column, 4);
  EXPECT_EQ(State().steps, 1);  // the step taken back still counts
}

TEST_F(PlayScreenTest, LoadRestoresTheSavedBoardAndTakeBackStillUndoesTheLastMove) {
  Play(1, 5000, true, {'s', kSpace, kRight, kRight, 'L', kSpace});
  EXPECT_EQ(TheBoard().board, LevelGrid(1));
  EXPECT_EQ(TheBoard().figure_column, 4);
  // The take-back board still holds the board before the second step.
  Play(1, 5000, true, {'s', kSpace, kRight, kRight, 'L', kSpace, 'b', kSpace});
  Grid expected = LevelGrid(1);
  expected.at(4, 6) = CellFloor;
  expected.at(5, 6) = CellFigure;
  EXPECT_EQ(TheBoard().board, expected);
  EXPECT_EQ(TheBoard().figure_column, 5);
  EXPECT_EQ(State().score, 5000 - 200 - 1000 - 500);
}

TEST_F(PlayScreenTest, RestartMenuAndEmptyLoadNotices) {
  struct Case {
    const char* name;
    std::uint32_t key;
    std::int64_t shown_from, gone_at;  // ms after the key (the key itself is read at 0)
    std::string_view text;
    int x;
    Colour ink;
    std::optional<Screen> next;
  };
  const Case cases[] = {
      {"restart", kF1, 240, 830, "restart", 294, 0xFFCEC900, Screen::Play},
      {"return to menu", kF5, 1, 590, "return to menu", 266, 0xFFCEC900, Screen::MainMenu},
      {"load with nothing saved", 'l', 1, 1511, "Not available", 271, 0xFFC8C500, std::nullopt},
  };
  constexpr std::int64_t t = kPlayStarts;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto notice = [&] {
      return testing::ShowsExactly(238, 158, 408, 198, [&] {
        FillBox(238, 158, 408, 198, panels::kRed);
        DrawBox(243, 163, 403, 193, 0xFFC8C8C8);
        DrawBox(244, 164, 402, 192, 0xFFC8C8C8);
        Text8(static_cast<float>(c.x), 173, c.ink, c.text);
      });
    };
    Play(1, 5000, true, {c.key}, t, 0, t + c.shown_from - 1);
    EXPECT_FALSE(notice());
    Play(1, 5000, true, {c.key}, t, 0, t + c.shown_from);
    EXPECT_TRUE(notice());
    Play(1, 5000, true, {c.key}, t, 0, t + c.gone_at - 1);
    EXPECT_TRUE(notice());
    if (c.next) {
      EXPECT_EQ(Play(1, 5000, true, {c.key}, t), c.next);
      EXPECT_EQ(platform().now_ms(), t + c.gone_at);
    } else {
      // The board comes back without the animation; nothing is charged.
      Play(1, 5000, true, {c.key}, t, 0, t + c.gone_at);
      EXPECT_FALSE(notice());
      EXPECT_TRUE(testing::Shows("PicFigure", CellX(4), CellY(6)));
      EXPECT_EQ(State().score, 5000);
    }
  }
  Play(1, 5000, true, {'l', kRight});
  EXPECT_EQ(State().score, 5000);
  EXPECT_EQ(State().steps, 1);
}

TEST_F(PlayScreenTest, PauseStopsTheTimeCounter) {
  Play(1, 0, true, {}, 0, 0, 6000);
  const float running = State().time;
  Play(1, 0, true, {'p', kSpace}, 1000, 4000, 6000);
  const float paused = State().time;
  EXPECT_GT(running, 5000);
  EXPECT_LT(paused, running - 3500);
}

TEST_F(PlayScreenTest, RestartKeepsTheScoreAndClearsTheCounters) {
  EXPECT_EQ(Play(1, 700, true, {kRight, kF1}), Screen::Play);
  EXPECT_EQ(State().score, 700);
  EXPECT_EQ(State().steps, 0);
  EXPECT_EQ(State().time, 0);
  EXPECT_EQ(State().level_running, 1);
  EXPECT_EQ(State().appearance, 0);
}

TEST_F(PlayScreenTest, F5ReturnsToTheMenuWithScoreZeroFromEveryPlace) {
  const std::vector<std::pair<const char*, std::vector<std::uint32_t>>> cases = {
      {"play", {kF5}},
      {"dialog prompt", {'s', kF5}},
      {"pause", {'p', kF5}},
  };
  for (const auto& [where, keys] : cases) {
    SCOPED_TRACE(where);
    EXPECT_EQ(Play(3, 5000, true, keys), Screen::MainMenu);
    EXPECT_EQ(State().score, 0);
    EXPECT_EQ(State().previous_score, 0);
    EXPECT_EQ(State().level_running, 0);
  }
  EXPECT_EQ(Play(3, 5000, false, {kF5}, 2000), Screen::MainMenu);  // level-entry wait
  EXPECT_EQ(State().score, 0);
}

TEST_F(PlayScreenTest, LevelEntryWaitStartsOnSpace) {
  EXPECT_EQ(Play(4, 0, false, {kLeft, kSpace}, 2000), Screen::Play);
  EXPECT_EQ(State().level_running, 1);
  EXPECT_EQ(State().appearance, 0);
  EXPECT_EQ(TheBoard().board, LevelGrid(4));
}

TEST_F(PlayScreenTest, ARefusedSkipClosedWithSpaceStartsTheLevel) {
  EXPECT_EQ(Play(4, 0, false, {'+', kSpace}, 2000), Screen::Play);
  EXPECT_EQ(State().level_running, 1);
  EXPECT_EQ(Play(4, 0, false, {'+', kEscape}, 2000), std::nullopt);
  EXPECT_EQ(State().level_running, 0);
}

TEST_F(PlayScreenTest, SkippingLevelTwoHundredLeadsToTheAllLevelsScreen) {
  EXPECT_EQ(Play(200, 30000, true, {'+', kSpace}), Screen::AllLevels);
  EXPECT_EQ(State().level, 201);
  EXPECT_EQ(State().score, 5000);
  EXPECT_EQ(Play(200, 30000, false, {'+', kSpace}, 2000), Screen::AllLevels);
}

TEST_F(PlayScreenTest, DialogBoxHasTwoBottomEdges) {
  Play(1, 0, true, {'b'}, kPlayStarts, 0, kPlayStarts + 100);
  EXPECT_EQ(GetPixel(300, 350), panels::kBlue);
  EXPECT_EQ(GetPixel(300, 351), panels::kBlue);
  EXPECT_EQ(GetPixel(300, 352), panels::kYellow);
  EXPECT_EQ(GetPixel(300, 60), panels::kBlue);
  EXPECT_EQ(GetPixel(300, 61), panels::kBlue);
  EXPECT_EQ(GetPixel(300, 62), panels::kYellow);
  EXPECT_EQ(GetPixel(520, 370), kShadowColour);
}

TEST_F(PlayScreenTest, StatusLineShowsLevelShareScoreAndName) {
  struct Case {
    int level;
    float score;
    std::string_view level_text, score_text, name;
  };
  const Case cases[] = {
      {1, 0, "Level 1/200 (0 %)", "SCORE 0", "get ready for take off"},
      {59, 1234, "Level 59/200 (29 %)", "SCORE 1234", "udg fun"},
      {109, 99000, "Level 109/200 (54 %)", "SCORE 99000", "blaise pascal"},
      {115, 25000, "Level 115/200 (58 %)", "SCORE 25000", "johannes kepler"},
      {154, 707, "Level 154/200 (77 %)", "SCORE 707", "tom\xE1\x9A masaryk"},  // Windows-1250
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    Play(c.level, c.score, true, {}, 0, 0, kPlayStarts);
    EXPECT_EQ(platform().title(), "QUIZZLEBOX, level " + std::to_string(c.level));
    EXPECT_TRUE(testing::ShowsExactly(3, 452, 647, 475, [&] {
      FillBox(3, 452, 647, 475, kStatusFill);
      Text7(15, 459, 0xFF000000, c.level_text);
      Text7(539, 459, 0xFF000000, c.score_text);
      Text8(322 - 4 * static_cast<float>(c.name.size()), 458, 0xFF000000, c.name);
    }));
  }
  // The accented letters have glyphs of their own: the 8 pixels of "\x9A" are not blank.
  EXPECT_GT(CountColour(0xFF000000, 270 + 4 * 8, 452, 270 + 5 * 8 - 1, 467), 0);
}

TEST(Gauges, BandColours) {
  for (const auto& b : testing::kGaugeBands) {
    EXPECT_EQ(StepGaugeColour(b.y0), b.step) << b.y0;
    EXPECT_EQ(TimeGaugeColour(b.y0), b.time) << b.y0;
  }
}

// The lowest row of the side bar's column x that play has blanked, if any.
std::optional<int> LowestBlankRow(int x) {
  for (int y = 471; y >= 380; --y)
    if (GetPixel(x, y) == kBoardColour) return y;
  return std::nullopt;
}

TEST_F(PlayScreenTest, GaugesEraseFromTheTopAsTheBonusesShrink) {
  struct Case {
    int steps, passes;
    std::optional<int> step_row, time_row;
  };
  const Case cases[] = {
      {60, 6000, {}, {}},
      {61, 6001, 392, 395},   // bonuses 9968 and 527
      {100, 9820, 418, 423},  // 6098 and 324
      {100, 9821, 418, 424},  // 6098 and 323: the first count to reach row 424
      {200, 29258, 438, 454}, // 3065 and 110: the first count to reach row 454
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.steps) + " steps, " + std::to_string(c.passes) + " passes");
    std::vector<std::uint32_t> walk;  // level 1: right and back, again and again
    for (int i = 0; i < c.steps; ++i) walk.push_back(i % 2 ? kLeft : kRight);
    Play(1, 0, true, walk, kPlayStarts, 2, testing::kGaugeFillMs + c.passes);
    ASSERT_EQ(State().steps, c.steps);
    ASSERT_EQ(State().time, c.passes);
    EXPECT_EQ(LowestBlankRow(663), c.step_row);
    EXPECT_EQ(LowestBlankRow(681), c.time_row);
    // The time gauge is blank from its top down to that row; below it both
    // gauges keep their bands.
    if (c.time_row) {
      EXPECT_EQ(CountColour(kBoardColour, 681, 395, 681, *c.time_row), *c.time_row - 394);
    }
    for (const auto& b : testing::kGaugeBands)
      for (int y = b.y0; y <= b.y0 + 3; ++y) {
        if (y > c.step_row.value_or(0)) {
          EXPECT_EQ(GetPixel(663, y), b.step) << y;
        }
        if (y > c.time_row.value_or(0)) {
          EXPECT_EQ(GetPixel(681, y), b.time) << y;
        }
      }
  }
}

class FrameTest : public testing::HeadlessTest {};

TEST_F(FrameTest, GameFrameLeavesTheSeamsBlack) {
  DrawGameFrame();
  for (auto [x, y] : {std::pair{4, 4}, {646, 446}, {654, 5}, {691, 473}}) EXPECT_EQ(GetPixel(x, y), 0u) << x << "," << y;
  EXPECT_EQ(GetPixel(5, 5), kBoardColour);
  EXPECT_EQ(GetPixel(3, 3), 0xFFC8C8C8u);
  EXPECT_EQ(GetPixel(651, 1), 0xFF14141Bu);
  EXPECT_EQ(GetPixel(655, 5), kBoardColour);
}

TEST_F(FrameTest, SmallShadowLeavesItsCornerUntouched) {
  const Colour before = 0xFF555555;
  FillBox(0, 0, 695, 478, before);
  constexpr Panel kNoticeBox{238, 408, 158, 198, panels::kRed, panels::kLightGrey, ShadowSize::Small, 177};
  DrawFramedPanel(kNoticeBox);
  EXPECT_EQ(GetPixel(409, 176), before);
  EXPECT_EQ(GetPixel(409, 177), kShadowColour);
  EXPECT_EQ(GetPixel(427, 219), kShadowColour);
  EXPECT_EQ(GetPixel(256, 199), before);
  EXPECT_EQ(GetPixel(257, 199), kShadowColour);
  EXPECT_EQ(CountColour(kShadowColour), (427 - 257 + 1) * 21 + (427 - 409 + 1) * (199 - 177));
}

}  // namespace
}  // namespace qb
