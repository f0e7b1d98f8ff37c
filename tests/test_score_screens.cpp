#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/state.h"
#include "game/board.h"
#include "game/scoring.h"
#include "gfx/frames.h"
#include "screen_checks.h"
#include "data/catalogue.h"
#include "flow/screens.h"

namespace qb {
namespace {

using namespace testing::keys;
using testing::KeysFrom;
using testing::ShowsText;

class CompletionTest : public testing::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    FillCatalogue();
    LoadLevel(TheBoard(), 1);
    FindFigure(TheBoard());
  }
  // A level solved in 11 steps and 1000 passes (bonuses 54961 and 3125), or
  // in 1000 steps and 30000 passes when `slow` (627 and 108).
  std::optional<Screen> Complete(int level, float previous, std::vector<std::uint32_t> keys,
                                 std::optional<std::int64_t> stop_at = {}, bool slow = false) {
    auto& s = State();
    s.level = static_cast<std::uint8_t>(level);
    s.score = s.previous_score = previous;
    s.steps = slow ? 1000 : 11;
    s.time = slow ? 30000 : 1000;
    s.level_running = 1;
    return Enter(Screen::Completion, KeysFrom(2000, 1500, keys), stop_at);
  }
};

// What the completion screen shows over the cleared screen: the bonus panel, the
// password panel and the call to go on in the status band.
::testing::AssertionResult ShowsCompletion(std::string_view step_bonus, std::string_view time_bonus,
                                           std::string_view previous, std::string_view score,
                                           std::string_view password) {
  constexpr Colour kInk = 0xFFC8C8C8, kBlack = 0xFF000000;
  return testing::ShowsExactly(160, 90, 540, 467, [&] {
    FillBox(160, 90, 540, 467, 0);  // the cleared screen
    testing::PaintPanel(217, 429, 90, 190, panels::kBlue, panels::kYellow, 113);
    Text7(235, 105, kInk, "Step-bonus");
    Text7(340, 105, kInk, step_bonus);
    Text7(235, 120, kInk, "Time-bonus");
    Text7(340, 120, kInk, time_bonus);
    Text7(235, 135, kInk, "Previous");
    Text7(340, 135, kInk, previous);
    DrawLine(237, 152, 413, 152, panels::kYellow);
    Text8(235, 161, kInk, "New Score");
    Text8(340, 161, kInk, score);
    testing::PaintPanel(217, 429, 252, 312, panels::kGreen, panels::kPaleYellow, 275);
    Text8(235, 267, kBlack, "Password to next level");
    Text8(286, 287, kBlack, password);
    FillBox(160, 452, 540, 467, kStatusFill);
    Text8(230, 458, kBlack, "Press space to continue");
  });
}

TEST_F(CompletionTest, ShowsBonusesNewScoreAndThePasswordThenSpaceGoesOn) {
  EXPECT_EQ(Complete(5, 1000, {}, 1500), std::nullopt);
  auto& s = State();
  EXPECT_EQ(s.step_bonus, 54961);
  EXPECT_EQ(s.time_bonus, 3125);
  EXPECT_EQ(s.steps, 11);  // the counts stay counts
  EXPECT_EQ(s.time, 1000);
  EXPECT_EQ(s.score, 59086);
  EXPECT_EQ(s.previous_score, 59086);
  EXPECT_EQ(s.level, 6);
  EXPECT_EQ(platform().title(), "Congratulations, you have completed the level 5 !");
  EXPECT_TRUE(ShowsCompletion("54961", "3125", "1000", "59086", "890351096"));

  EXPECT_EQ(Complete(5, 1000, {kUp, 'x', kSpace}), Screen::Play);
  EXPECT_EQ(s.level, 6);
  EXPECT_EQ(s.level_running, 0);
  EXPECT_EQ(s.appearance, 1);
}

TEST_F(CompletionTest, ThePanelsComeOneAfterAnother) {
  struct Case {
    std::int64_t ms;
    bool bonus, password, call;  // shown: the bonus panel, the password panel, the call to go on
  };
  for (const Case& c : {Case{349, false, false, false}, Case{350, true, false, false}, Case{599, true, false, false},
                        Case{600, true, true, false}, Case{849, true, true, false}, Case{850, true, true, true}}) {
    Complete(5, 1000, {}, c.ms);
    EXPECT_EQ(GetPixel(217, 90) == panels::kBlue, c.bonus) << c.ms << " ms";
    EXPECT_EQ(GetPixel(217, 252) == panels::kGreen, c.password) << c.ms << " ms";
    EXPECT_EQ(GetPixel(160, 452) == kStatusFill, c.call) << c.ms << " ms";
  }
}

TEST_F(CompletionTest, TheScoreStopsAt99000) {
  EXPECT_EQ(Complete(5, 90000, {}, 1500), std::nullopt);
  EXPECT_EQ(State().score, 99000);
  EXPECT_TRUE(ShowsCompletion("54961", "3125", "90000", "99000", "039371999"));
}

TEST_F(CompletionTest, LevelTwoHundredLeadsToTheAllLevelsScreenWithoutPanels) {
  EXPECT_EQ(Complete(200, 1000, {}), Screen::AllLevels);
  EXPECT_EQ(platform().now_ms(), 850);
  EXPECT_EQ(State().score, 59086);
  EXPECT_EQ(State().level, 200);
  EXPECT_NE(GetPixel(217, 90), panels::kBlue);
  EXPECT_NE(GetPixel(217, 252), panels::kGreen);
}

TEST_F(CompletionTest, SkipOffer) {
  auto& s = State();
  // Too little score: the refusal dialog; the key that closes it counts as
  // pressed on this screen.
  EXPECT_EQ(Complete(5, 24000, {'+', kEscape}, {}, true), std::nullopt);
  EXPECT_EQ(s.level, 6);
  EXPECT_EQ(s.score, 24735);
  EXPECT_EQ(Complete(5, 24000, {'+', kSpace}, {}, true), Screen::Play);
  EXPECT_EQ(s.level, 6);
  EXPECT_EQ(s.score, 24735);
  EXPECT_EQ(s.previous_score, 24735);
  // Enough: the next level is skipped for 25000.
  EXPECT_EQ(Complete(5, 1000, {'+', kSpace}), Screen::Play);
  EXPECT_EQ(s.level, 7);
  EXPECT_EQ(s.score, 59086 - 25000);
  EXPECT_EQ(s.previous_score, 59086 - 25000);
  EXPECT_EQ(s.level_running, 0);
  EXPECT_EQ(s.appearance, 1);
  // From level 199 the skip passes level 200.
  EXPECT_EQ(Complete(199, 1000, {'+', kSpace}), Screen::AllLevels);
  EXPECT_EQ(s.level, 201);
}

TEST_F(CompletionTest, F5ReturnsToTheMenuWithEverythingCleared) {
  EXPECT_EQ(Complete(5, 1000, {kF5}), Screen::MainMenu);
  const auto& s = State();
  EXPECT_EQ(s.score, 0);
  EXPECT_EQ(s.previous_score, 0);
  EXPECT_EQ(s.steps, 0);
  EXPECT_EQ(s.time, 0);
  EXPECT_EQ(s.level_running, 0);
  EXPECT_EQ(platform().now_ms(), 2000 + 270);
  EXPECT_EQ(Complete(5, 1000, {kClose}), Screen::Exit);
  EXPECT_EQ(platform().now_ms(), 2000 + 500);
}

class PasswordScreenTest : public testing::ScreenTest {
 protected:
  // Types the keys 10 ms apart from 10 ms on.
  std::optional<Screen> Type(const std::vector<std::uint32_t>& keys, std::optional<std::int64_t> stop_at = {}) {
    return Enter(Screen::Password, KeysFrom(10, 10, keys), stop_at);
  }
  static std::vector<std::uint32_t> Keys(std::string_view text, std::vector<std::uint32_t> then = {kEnter}) {
    std::vector<std::uint32_t> keys(text.begin(), text.end());
    keys.insert(keys.end(), then.begin(), then.end());
    return keys;
  }
  // Time at which the last of `n` typed keys arrives.
  static std::int64_t LastKeyAt(std::size_t n) { return 10 * static_cast<std::int64_t>(n); }
};

TEST_F(PasswordScreenTest, AcceptedPasswordStartsItsLevelWithItsScore) {
  const std::string password = MakePassword(37, 12345);
  const auto keys = Keys(password);
  EXPECT_EQ(Type(keys), Screen::Play);
  const auto& s = State();
  EXPECT_EQ(s.level, 37);
  EXPECT_EQ(s.score, 12345);
  EXPECT_EQ(s.previous_score, 12345);
  EXPECT_EQ(s.appearance, 1);
  EXPECT_EQ(s.level_running, 0);
  EXPECT_EQ(platform().now_ms(), LastKeyAt(keys.size()) + 279);
}

std::vector<std::uint32_t> operator+(std::vector<std::uint32_t> a, const std::vector<std::uint32_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(PasswordScreenTest, EditingAndIgnoredKeys) {
  const std::string password = MakePassword(120, 777);
  const std::pair<const char*, std::vector<std::uint32_t>> cases[] = {
      {"backspace on an empty input", std::vector<std::uint32_t>{kBackspace} + Keys(password)},
      {"backspace removes the last", Keys("12", {kBackspace, kBackspace}) + Keys(password)},
      {"a tenth character is ignored", Keys(password + "5")},
      {"close, z, / and arrows are ignored", std::vector<std::uint32_t>{kClose, 'z', '/', kUp} + Keys(password)},
  };
  for (const auto& [what, keys] : cases) {
    EXPECT_EQ(Type(keys), Screen::Play) << what;
    EXPECT_EQ(State().level, 120) << what;
    EXPECT_EQ(State().score, 777) << what;
  }
}

TEST_F(PasswordScreenTest, RefusalsSayWrongAndReturnToLevelOne) {
  std::string wrong_check = MakePassword(50, 1234);
  wrong_check[0] = wrong_check[0] == '8' ? '0' : static_cast<char>(wrong_check[0] + 2);
  const std::string refused[] = {
      wrong_check, MakePassword(1, 500), MakePassword(50, 99001), MakePassword(50, 1234).substr(0, 8), "8b49a1e81", "",
  };
  for (const auto& typed : refused) {
    SCOPED_TRACE(typed);
    const auto keys = Keys(typed);
    State().level = 9;
    State().previous_score = 400;
    EXPECT_EQ(Type(keys, LastKeyAt(keys.size()) + 1000), std::nullopt);
    EXPECT_TRUE(ShowsText(Text8, 302, 216, 0xFFC8C500, panels::kRed, "WRONG", 245, 198, 401, 244));
    EXPECT_EQ(Type(keys), Screen::MainMenu);
    EXPECT_EQ(platform().now_ms(), LastKeyAt(keys.size()) + 2001);
    EXPECT_EQ(State().level, 1);
    EXPECT_EQ(State().previous_score, 0);
  }
}

TEST_F(PasswordScreenTest, EscapeAndF5LeaveAtOnceWithoutChanges) {
  for (std::uint32_t leave : {kEscape, kF5}) {
    State().level = 7;
    State().previous_score = 300;
    EXPECT_EQ(Type(Keys("1234", {leave})), Screen::MainMenu);
    EXPECT_EQ(platform().now_ms(), LastKeyAt(5));
    EXPECT_EQ(State().level, 7);
    EXPECT_EQ(State().previous_score, 300);
  }
}

// The typed characters and the cursor as the field shows them.
testing::PixelSet FieldAfterTyping(std::string_view typed, std::optional<int> cursor_position) {
  constexpr Colour kInk = 0xFF010122;
  FillBox(280, 220, 360, 234, panels::kRed);
  SetColour(kInk);
  DrawSystemText(288, 225, typed);
  if (cursor_position) DrawSystemText(static_cast<float>(280 + 8 * *cursor_position), 225, "\xAF");
  return testing::Lit(kInk, 280, 220, 360, 234);
}

TEST_F(PasswordScreenTest, TheBoxOpensWithItsTitleAndTheCursor) {
  Type({}, 5);
  EXPECT_TRUE(testing::ShowsExactly(238, 191, 427, 272, [] {
    FillBox(238, 191, 427, 272, 0);  // the cleared screen
    testing::PaintPanel(238, 408, 191, 251, panels::kRed, panels::kLightGrey, 210);
    Text8(265, 206, 0xFFC8C500, "ENTER PASSWORD");
    SetColour(0xFF010122);
    DrawSystemText(288, 225, "\xAF");
  }));
}

TEST_F(PasswordScreenTest, FieldShowsTheInputAndTheCursor) {
  constexpr Colour kInk = 0xFF010122;
  const std::tuple<std::vector<std::uint32_t>, std::string, std::optional<int>> cases[] = {
      {{}, "", 1},
      {Keys("123", {}), "123", 4},
      {Keys("0y", {}), "0y", 3},  // the first and the last character it takes
      {Keys("1234", {kBackspace}), "123", 4},
      {Keys("1", {kBackspace}), "", 1},
      {Keys("1234567890", {}), "123456789", std::nullopt},
  };
  for (const auto& [keys, shown, cursor] : cases) {
    SCOPED_TRACE(shown);
    Type(keys, LastKeyAt(keys.size()) + 50);
    const auto on_screen = testing::Lit(kInk, 280, 220, 360, 234);
    EXPECT_EQ(on_screen, FieldAfterTyping(shown, cursor));
  }
}

}  // namespace
}  // namespace qb
