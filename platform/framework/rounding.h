#pragma once
// The two roundings the drawing components use.
#include <cmath>
#include <cstdint>

namespace velocane {

// To the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// The system's MulDiv: a * b / c with a 64-bit product, rounded to the
// nearest integer with halves away from zero; -1 when c is 0.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t divisor = c;
  const bool negative = (product < 0) != (divisor < 0);
  const std::int64_t p = product < 0 ? -product : product;
  const std::int64_t d = divisor < 0 ? -divisor : divisor;
  const std::int64_t q = (p + d / 2) / d;
  return static_cast<int>(negative ? -q : q);
}

}  // namespace velocane
