#pragma once

#include <cmath>

namespace pixblend {

// Weights beyond +-4 act as +-4: that keeps every product of the blend
// formulas inside 32 bits, where a larger weight would overflow them.
constexpr int kMaxIntWeight = 1024;

// trunc(weight * 256), computed in double precision; NaN gives 0 (draw
// nothing).
inline int IntWeight(double weight) {
  const double scaled = std::trunc(weight * 256.0);
  if (!(scaled == scaled)) return 0;
  if (scaled > kMaxIntWeight) return kMaxIntWeight;
  if (scaled < -kMaxIntWeight) return -kMaxIntWeight;
  return int(scaled);
}

}  // namespace pixblend
