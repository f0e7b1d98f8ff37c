// Arithmetic in the 80-bit extended format (64-bit significand, rounding to
// the nearest with ties to even) carried out exactly in integers. The status
// line's percentage has always been computed in that format; WebAssembly and
// most other processors have no such type, and plain doubles round some
// levels the other way (109 shows 55 instead of 54). Emulating the format
// gives every build the same numbers.
#pragma once

#include <cstdint>

namespace qb {

// significand * 2^exponent; the significand is 0 or has its top bit set.
struct ExtendedReal {
  std::uint64_t significand = 0;
  int exponent = 0;
};

// a / b rounded to the format (b > 0).
ExtendedReal ExtendedQuotient(std::uint32_t a, std::uint32_t b);
// x * k rounded to the format.
ExtendedReal ExtendedProduct(ExtendedReal x, std::uint32_t k);
// x rounded to a whole number, halves to the even neighbour (x below 2^62).
std::int64_t ExtendedNearest(ExtendedReal x);

}  // namespace qb
