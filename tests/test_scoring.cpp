#include <gtest/gtest.h>

#include <string>

#include "game/scoring.h"

namespace qb {
namespace {

TEST(Bonuses, FollowTheirFormulas) {
  const std::pair<double, double> steps[] = {{11, 54961}, {18, 33627}, {40, 15173}, {100, 6098},
                                             {10, 1525},  {1, 1525},    {0, 1525}};
  for (auto [s, bonus] : steps) EXPECT_EQ(StepBonus(s), bonus) << s << " steps";
  const std::pair<double, double> times[] = {{1000, 3125}, {6000, 527}, {30000, 108}, {11, 282052},
                                             {12, 258557}, {10, 3125}, {0, 3125}};
  for (auto [t, bonus] : times) EXPECT_EQ(TimeBonus(t), bonus) << t << " passes";
}

TEST(Passwords, FieldsOffsetsCheckDigitAndOrder) {
  // Worked by hand: score field, level field, 56 x digit sum, then the order
  // check, S5, S3, L3, S4, L1, S2, L2, S1.
  struct Case {
    int level, score;
    const char* password;
  };
  const Case cases[] = {
      {2, 0, "239971080"},        // 00973 189: sum 37, 2072
      {2, 9000, "639971980"},     // 09973 189: sum 46, 2576
      {200, 99000, "039773989"},  // 99973 387: sum 55, 3080
      {10, 27, "800701190"},      // 01000 197: sum 18, 1008
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakePassword(c.level, c.score), c.password) << c.level << " " << c.score;
    EXPECT_EQ(ReadPassword(c.password), (PasswordStart{c.level, c.score})) << c.password;
  }
}

TEST(Passwords, RoundTripEveryLevelAndASpreadOfScores) {
  const int scores[] = {0, 1, 26, 27, 999, 8026, 9026, 9027, 12345, 25000, 54961, 98999, 99000};
  for (int level = 2; level <= 200; ++level)
    for (int score : scores) {
      const std::string p = MakePassword(level, score);
      ASSERT_EQ(p.size(), 9u);
      ASSERT_EQ(p.find_first_not_of("0123456789"), std::string::npos) << p;
      ASSERT_EQ(ReadPassword(p), (PasswordStart{level, score})) << p;
    }
}

TEST(Passwords, Refusals) {
  std::string wrong_check = MakePassword(50, 1234);
  wrong_check[0] = wrong_check[0] == '8' ? '0' : static_cast<char>(wrong_check[0] + 2);
  const std::string refused[] = {
      wrong_check,
      MakePassword(1, 500),      // level 1: level field 188
      MakePassword(201, 500),    // level field 388
      MakePassword(50, 99001),   // score field 99974
      MakePassword(50, -1),      // score field 00972
      MakePassword(50, 1234).substr(0, 8),
      MakePassword(50, 1234) + "0",
      "",
      // Letters: in the level field, leading the score field, and an "e" that
      // would make 1e4 (score 9027) if read as an exponent: "1e4ab" reads 1.
      // Check digits are right for the digits that count (non-digits are 0).
      "4398720a0",  // level field 2a8 reads 2
      "23997108x",  // score field x0973 reads 0
      "8b49a1e81",  // score field 1e4ab reads 1
  };
  for (const auto& p : refused) EXPECT_EQ(ReadPassword(p), std::nullopt) << '"' << p << '"';
}

TEST(Passwords, AFieldEndsAtItsFirstNonDigit) {
  // Score field "973ab" reads 973 (score 0); level field 189; digit sum 37.
  EXPECT_EQ(ReadPassword("2b39a1789"), (PasswordStart{2, 0}));
  // With "97300" in its place the same digits count in full.
  EXPECT_EQ(ReadPassword("203901789"), (PasswordStart{2, 96327}));
}

}  // namespace
}  // namespace qb
