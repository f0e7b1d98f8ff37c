#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "game/board_view.h"
#include "game/extended_real.h"

namespace qb {
namespace {

// Every level's percentage by the rule the status line follows: half the
// level, odd levels to the even neighbour, except 59, which the extended
// format puts just below 29.5. Holds on every platform.
TEST(LevelPercentage, AllLevelsFollowTheExtendedPrecisionRule) {
  for (int level = 1; level <= 200; ++level) {
    int expected = level / 2;
    if (level % 2 == 1 && expected % 2 == 1 && level != 59) expected += 1;
    EXPECT_EQ(LevelPercentage(level), expected) << "level " << level;
  }
}

#if LDBL_MANT_DIG == 64
// Where the hardware has the 80-bit format, the emulation must agree with it
// bit for bit: every level (and byte value), and a grid of other quotients
// and products whose roundings go both ways and carry into a new bit.
long double Value(ExtendedReal x) { return std::ldexp(static_cast<long double>(x.significand), x.exponent); }

TEST(ExtendedReal, MatchesTheHardwareFormat) {
  for (int level = 1; level <= 255; ++level) {
    const long double share = static_cast<long double>(level) / 200.0L * 100.0L;
    const long double below = std::floor(share), rest = share - below;
    const auto hardware = static_cast<int>(below) + ((rest > 0.5L || (rest == 0.5L && std::fmod(below, 2.0L) != 0)) ? 1 : 0);
    EXPECT_EQ(LevelPercentage(level), hardware) << "level " << level;
  }
  const std::uint32_t divisors[] = {1, 3, 7, 10, 200, 641, 65535, 4294967295u};
  const std::uint32_t factors[] = {1, 3, 100, 255, 4294967291u};
  for (std::uint32_t a = 1; a <= 600; a += 7)
    for (std::uint32_t b : divisors) {
      const ExtendedReal q = ExtendedQuotient(a, b);
      const long double lq = static_cast<long double>(a) / static_cast<long double>(b);
      ASSERT_EQ(Value(q), lq) << a << " / " << b;
      for (std::uint32_t k : factors)
        ASSERT_EQ(Value(ExtendedProduct(q, k)), lq * static_cast<long double>(k)) << a << " / " << b << " * " << k;
    }
}
#endif

TEST(ExtendedReal, NearestRoundsHalvesToEven) {
  const std::pair<std::pair<std::uint32_t, std::uint32_t>, std::int64_t> cases[] = {
      {{1, 2}, 0}, {{3, 2}, 2}, {{5, 2}, 2}, {{7, 2}, 4}, {{1, 3}, 0}, {{2, 3}, 1}, {{0, 5}, 0}, {{600, 1}, 600}};
  for (auto [fraction, whole] : cases)
    EXPECT_EQ(ExtendedNearest(ExtendedQuotient(fraction.first, fraction.second)), whole)
        << fraction.first << "/" << fraction.second;
}

}  // namespace
}  // namespace qb
