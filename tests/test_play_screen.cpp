#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "flow/state.h"
#include "game/board.h"
#include "game/board_view.h"
#include "game/gauges.h"
#include "gfx/frames.h"
#include "gfx/text.h"
#include "headless_fixture.h"
#include "data/catalogue.h"
#include "flow/screens.h"
#include "shell/screen_loop.h"

namespace qb {
namespace {

using key::Extended;
constexpr std::uint32_t kRight = Extended(key::kRight), kLeft = Extended(key::kLeft), kUp = Extended(key::kUp),
                        kDown = Extended(key::kDown), kF1 = Extended(key::kF1), kF5 = Extended(key::kF5);
constexpr std::uint32_t kSpace = ' ', kEscape = 0x1B;

// Play proper starts after the 13 bands of the gauge fill (13 x 35 ms).
constexpr std::int64_t kPlayStarts = 500;

class PlayScreenTest : public testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    FillCatalogue();
  }

  // Enters the play screen for `level` with `score`, in play proper when
  // `running`, with keys arriving `gap` ms apart from `start` on; runs it
  // until it hands on (returned) or the keys run out (nullopt).
  std::optional<Screen> Play(int level, float score, bool running, const std::vector<std::uint32_t>& keys,
                             std::int64_t start = kPlayStarts, std::int64_t gap = 200,
                             std::optional<std::int64_t> stop_at = std::nullopt) {
    std::vector<HeadlessPlatform::ScriptedKey> script;
    for (std::size_t i = 0; i < keys.size(); ++i) script.push_back({start + gap * static_cast<std::int64_t>(i), keys[i]});
    Install(script, stop_at);
    auto& s = State();
    s = GameState{};
    s.level = static_cast<std::uint8_t>(level);
    s.score = s.previous_score = score;
    s.level_running = running ? 1 : 0;
    s.appearance = running ? 0 : 1;
    try {
      return RunScreen(Screen::Play);
    } catch (const RunStopped&) {
      return std::nullopt;
    }
  }

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

struct ChargeCase {
  const char* name;
  std::vector<std::uint32_t> keys;  // the command (after any set-up), then Space
  float cost;                       // what the command costs (set-up included)
};

TEST_F(PlayScreenTest, ChargesNeedTheWholeCost) {
  const std::vector<ChargeCase> cases = {
      {"take back", {kRight, 'b', kSpace}, 500},
      {"save", {'s', kSpace}, 200},
      {"load", {'S', kSpace, 'l', kSpace}, 1200},
      {"skip", {'+', kSpace}, 25000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // One point short: the last command is refused, nothing else changes.
    Play(1, c.cost - 1, true, c.keys);
    const float spent_before = c.cost == 1200 ? 200 : 0;
    EXPECT_EQ(State().score, c.cost - 1 - spent_before);
    EXPECT_EQ(State().previous_score, State().score);
    EXPECT_EQ(State().level, 1);
    // Exactly enough: accepted, down to 0.
    const auto next = Play(1, c.cost, true, c.keys);
    EXPECT_EQ(State().score, 0);
    EXPECT_EQ(State().previous_score, 0);
    if (c.cost == 25000) {
      EXPECT_EQ(next, Screen::Play);
      EXPECT_EQ(State().level, 2);
      EXPECT_EQ(State().level_running, 0);
      EXPECT_EQ(State().appearance, 1);
    }
  }
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

TEST_F(PlayScreenTest, LoadWithNothingSavedSaysSoAndChargesNothing) {
  Play(1, 5000, true, {'l'}, kPlayStarts, 0, kPlayStarts + 800);
  // The notice box is up for 1511 ms.
  EXPECT_EQ(GetPixel(240, 160), panels::kRed);
  std::set<std::pair<int, int>> drawn;
  for (int y = 173; y < 183; ++y)
    for (int x = 238; x <= 408; ++x)
      if (GetPixel(x, y) == 0xFFC8C500) drawn.insert({x, y});
  FillBox(238, 173, 408, 182, panels::kRed);
  Text8(271, 173, 0xFFC8C500, "Not available");
  std::set<std::pair<int, int>> expected;
  for (int y = 173; y < 183; ++y)
    for (int x = 238; x <= 408; ++x)
      if (GetPixel(x, y) == 0xFFC8C500) expected.insert({x, y});
  EXPECT_FALSE(drawn.empty());
  EXPECT_EQ(drawn, expected);
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

TEST_F(PlayScreenTest, OnlyLevelHundredShowsTheHellishNotice) {
  // 1.5 s in: the figure has appeared; level 100 shows the dialog box, 99 its card.
  Play(100, 0, false, {}, 0, 0, 1500);
  EXPECT_EQ(GetPixel(140, 57), panels::kYellow);
  EXPECT_NE(GetPixel(240, 70), panels::kRed);  // no level card yet
  Play(99, 0, false, {}, 0, 0, 1500);
  EXPECT_NE(GetPixel(140, 57), panels::kYellow);
  EXPECT_EQ(GetPixel(240, 70), panels::kRed);
}

TEST_F(PlayScreenTest, LevelCardTextsStandWhereTheirRulesPutThem) {
  Play(5, 0, false, {}, 0, 0, 3000);
  auto lit = [](Colour c, int x1, int y1, int x2, int y2) {
    std::set<std::pair<int, int>> px;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x)
        if (GetPixel(x, y) == c) px.insert({x, y});
    return px;
  };
  const auto level_text = lit(0xFFC8C500, 238, 83, 408, 92);
  FillBox(238, 83, 408, 92, panels::kRed);
  Text8(295, 83, 0xFFC8C500, "Level 5");
  EXPECT_FALSE(level_text.empty());
  EXPECT_EQ(level_text, lit(0xFFC8C500, 238, 83, 408, 92));
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

TEST_F(PlayScreenTest, StatusLineShowsLevelShareAndName) {
  Play(1, 0, true, {}, 0, 0, kPlayStarts);
  EXPECT_EQ(platform().title(), "QUIZZLEBOX, level 1");
  // The name of level 1 (22 bytes) starts at 234.
  EXPECT_EQ(CentreA(LevelName(1).size()), 234);
}

TEST(LevelPercentage, ExtendedPrecisionValues) {
  const std::pair<int, int> cases[] = {{1, 0},    {2, 1},     {3, 2},     {5, 2},     {7, 4},  {59, 29},
                                       {60, 30},  {109, 54},  {115, 58},  {199, 100}, {200, 100}};
  for (auto [level, p] : cases) EXPECT_EQ(LevelPercentage(level), p) << level;
}

TEST(Gauges, BandColours) {
  const std::tuple<int, Colour, Colour> bands[] = {
      {468, 0xFF600A0A, 0xFF63630A}, {462, 0xFF670A0A, 0xFF69690A}, {456, 0xFF6E0A0A, 0xFF70700A},
      {450, 0xFF760A0A, 0xFF76760A}, {444, 0xFF7D0A0A, 0xFF7C7C0A}, {438, 0xFF840A0A, 0xFF83830A},
      {432, 0xFF8C0A0A, 0xFF89890A}, {426, 0xFF930A0A, 0xFF90900A}, {420, 0xFF9B0A0A, 0xFF97970A},
      {414, 0xFFA30A0A, 0xFF9E9E0A}, {408, 0xFFAB0A0A, 0xFFA5A50A}, {402, 0xFFB30A0A, 0xFFACAC0A},
      {396, 0xFFBB0A0A, 0xFFB3B30A},
  };
  for (auto [y0, step, time] : bands) {
    EXPECT_EQ(StepGaugeColour(y0), step) << y0;
    EXPECT_EQ(TimeGaugeColour(y0), time) << y0;
  }
}

class GaugeErosionTest : public testing::HeadlessTest {};

TEST_F(GaugeErosionTest, BlanksOneLinePerGaugeOnceTheCountsPassTheirThresholds) {
  const Colour fill = 0xFF123456;
  FillBox(656, 380, 689, 471, fill);
  ErodeGauges(60, 6000);
  EXPECT_EQ(CountColour(kBoardColour), 0);
  ErodeGauges(100, 30000);  // bonuses 6098 and 108
  EXPECT_EQ(CountColour(kBoardColour, 656, 418, 671, 418), 16);  // 458.67 - 0.006655 * 6098
  EXPECT_EQ(CountColour(kBoardColour, 674, 454, 689, 454), 16);  // 469 - 0.1406844 * 108
  EXPECT_EQ(CountColour(kBoardColour), 32);
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
