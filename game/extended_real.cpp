#include "game/extended_real.h"

#include <bit>

namespace qb {

namespace {

// Rounds (hi * 2^64 + lo) * 2^exponent to 64 significant bits, halves to even.
// `above` says that the exact value lies a little above hi:lo (a remainder
// was left over), which decides the case that would otherwise be a tie.
ExtendedReal Round(std::uint64_t hi, std::uint64_t lo, int exponent, bool above) {
  if (hi == 0) {  // fits already (only exact values get here)
    if (lo == 0) return {};
    const int s = std::countl_zero(lo);
    return {lo << s, exponent - s};
  }
  const int s = 64 - std::countl_zero(hi);  // bits to drop, 1..64
  std::uint64_t m = s == 64 ? hi : (hi << (64 - s)) | (lo >> s);
  const std::uint64_t rest = s == 64 ? lo : lo & ((std::uint64_t{1} << s) - 1);
  const std::uint64_t half = std::uint64_t{1} << (s - 1);
  int e = exponent + s;
  if (rest > half || (rest == half && (above || (m & 1) != 0))) {
    if (++m == 0) {  // carried out of the top bit
      m = std::uint64_t{1} << 63;
      ++e;
    }
  }
  return {m, e};
}

}  // namespace

ExtendedReal ExtendedQuotient(std::uint32_t a, std::uint32_t b) {
  // Long division of a * 2^96 by b, one bit at a time: the quotient has at
  // least 65 bits for any a >= 1, so the remainder only breaks ties.
  std::uint64_t hi = 0, lo = 0, r = 0;
  for (int i = 127; i >= 0; --i) {
    const std::uint64_t bit = i >= 96 ? (a >> (i - 96)) & 1u : 0u;
    r = (r << 1) | bit;
    std::uint64_t q = 0;
    if (r >= b) {
      r -= b;
      q = 1;
    }
    hi = (hi << 1) | (lo >> 63);
    lo = (lo << 1) | q;
  }
  return Round(hi, lo, -96, r != 0);
}

ExtendedReal ExtendedProduct(ExtendedReal x, std::uint32_t k) {
  const std::uint64_t low = (x.significand & 0xFFFFFFFFu) * k;
  const std::uint64_t high = (x.significand >> 32) * k;
  const std::uint64_t lo = low + (high << 32);
  const std::uint64_t hi = (high >> 32) + (lo < low ? 1 : 0);
  return Round(hi, lo, x.exponent, false);
}

std::int64_t ExtendedNearest(ExtendedReal x) {
  if (x.significand == 0) return 0;
  if (x.exponent >= 0) return static_cast<std::int64_t>(x.significand << x.exponent);
  if (x.exponent < -64) return 0;  // below a half
  const int s = -x.exponent;
  std::uint64_t whole = s == 64 ? 0 : x.significand >> s;
  const std::uint64_t rest = s == 64 ? x.significand : x.significand & ((std::uint64_t{1} << s) - 1);
  const std::uint64_t half = std::uint64_t{1} << (s - 1);
  if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
  return static_cast<std::int64_t>(whole);
}

}  // namespace qb
