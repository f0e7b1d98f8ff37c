// Rounding to the nearest whole number with exact halves going to the even
// neighbour (2.5 -> 2, 3.5 -> 4), independent of the floating-point rounding
// mode. Text centring and scoring round this way.
#pragma once

#include <cmath>
#include <type_traits>

namespace qb {

template <typename Real>
  requires std::is_floating_point_v<Real>
inline Real Nearest(Real v) {
  Real below = std::floor(v);
  const Real rest = v - below;
  if (rest > Real(0.5) || (rest == Real(0.5) && std::fmod(below, Real(2)) != 0)) below += 1;
  return below;
}

}  // namespace qb
