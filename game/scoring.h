// Scoring and passwords: the two bonuses a solved level earns, and the
// nine-digit password that carries the next level and the score reached.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qb {

inline constexpr float kMaxScore = 99000;

// The bonuses for s steps and t play-loop passes: nearest(601998 / s + 777 / sqrt(s))
// and nearest(3099998 / t + 777 / sqrt(t)) in double precision; 10 or fewer
// steps count as 405, 10 or fewer passes as 1000.
double StepBonus(double steps);
double TimeBonus(double time);

// The score after a level: previous score plus both bonuses, at most 99000.
double NewScore(double previous_score, double step_bonus, double time_bonus);

// The password for starting `level` (2..200) with `score` (0..99000): check
// digit, then the score field (score + 973, five digits) and the level field
// (level + 187, three digits) interleaved as S5 S3 L3 S4 L1 S2 L2 S1.
std::string MakePassword(int level, int score);

struct PasswordStart {
  int level;  // 2..200
  int score;  // 0..99000
  bool operator==(const PasswordStart&) const = default;
};

// Reads a typed password back. Nothing when it is not nine characters long,
// when a field is out of range or when the check digit does not match. A field
// is read as a decimal number from its first character up to the first
// non-digit (no sign, no exponent); a non-digit character counts as 0.
std::optional<PasswordStart> ReadPassword(std::string_view typed);

}  // namespace qb
