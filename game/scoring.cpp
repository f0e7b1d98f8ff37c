#include "game/scoring.h"

#include <algorithm>
#include <array>

#include "flow/state.h"
#include "game/gauges.h"

namespace qb {

namespace {

constexpr int kLevelOffset = 187;

// Positions (0-based) of the score field's characters S1..S5 and the level
// field's L1..L3 in a password; position 0 holds the check digit.
constexpr std::array<int, 5> kScorePositions = {8, 6, 2, 4, 1};
constexpr std::array<int, 3> kLevelPositions = {5, 7, 3};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int DigitValue(char c) { return IsDigit(c) ? c - '0' : 0; }

// The decimal number at the start of the field; reading stops at the first
// character that is not a digit.
int FieldValue(std::string_view field) {
  int v = 0;
  for (char c : field) {
    if (!IsDigit(c)) break;
    v = v * 10 + (c - '0');
  }
  return v;
}

int CheckDigit(std::string_view score_field, std::string_view level_field) {
  int sum = 0;
  for (char c : score_field) sum += DigitValue(c);
  for (char c : level_field) sum += DigitValue(c);
  return sum * 56 % 10;
}

std::string ZeroPadded(int value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

double StepBonus(double steps) { return BonusFor(kStepNumerator, steps <= 10 ? 405 : steps); }

double TimeBonus(double time) { return BonusFor(kTimeNumerator, time <= 10 ? 1000 : time); }

double NewScore(double previous_score, double step_bonus, double time_bonus) {
  return std::min<double>(kMaxScore, step_bonus + time_bonus + previous_score);
}

std::string MakePassword(int level, int score) {
  const std::string s = ZeroPadded(score + kPasswordOffset, 5);
  const std::string l = ZeroPadded(level + kLevelOffset, 3);
  std::string password(9, '0');
  password[0] = static_cast<char>('0' + CheckDigit(s, l));
  for (std::size_t i = 0; i < kScorePositions.size(); ++i) password[kScorePositions[i]] = s[i];
  for (std::size_t i = 0; i < kLevelPositions.size(); ++i) password[kLevelPositions[i]] = l[i];
  return password;
}

std::optional<PasswordStart> ReadPassword(std::string_view typed) {
  if (typed.size() != 9) return std::nullopt;
  std::string s, l;
  for (int p : kScorePositions) s += typed[static_cast<std::size_t>(p)];
  for (int p : kLevelPositions) l += typed[static_cast<std::size_t>(p)];
  const int score = FieldValue(s) - kPasswordOffset;
  const int level = FieldValue(l) - kLevelOffset;
  if (score < 0 || score > static_cast<int>(kMaxScore)) return std::nullopt;
  if (level <= 1 || level > 200) return std::nullopt;
  if (DigitValue(typed[0]) != CheckDigit(s, l)) return std::nullopt;
  return PasswordStart{level, score};
}

}  // namespace qb
