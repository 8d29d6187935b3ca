#pragma once

#include <cmath>

namespace pixblend {

// The blend formulas run on 32-bit ints. These are the largest integer
// weights (as a magnitude) at which none of their products overflows; a
// larger weight acts as the limit, where the formulas themselves would have
// no defined result. The first to overflow is the multiply at a negative
// weight: ((s - 256) * iw + 65536) * d at s = 0, d = 255. In the fill the
// weight is also the source alpha, which squares it there.
constexpr int kMaxBlitIntWeight = 32640;  // weight 127.5
constexpr int kMaxFillIntWeight = 2765;   // weight 10.8

// trunc(weight * 256), computed in double precision and limited to
// +-limit; NaN gives 0 (draw nothing).
inline int IntWeight(double weight, int limit) {
  const double scaled = std::trunc(weight * 256.0);
  if (!(scaled == scaled)) return 0;
  if (scaled > limit) return limit;
  if (scaled < -limit) return -limit;
  return int(scaled);
}

}  // namespace pixblend
