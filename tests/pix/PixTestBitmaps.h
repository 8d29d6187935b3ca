#pragma once

// Small helpers shared by the bitmap tests.

#include <cstdint>
#include <vector>

#include "pix/PIX_MemBitmap.h"

namespace pixtest {

// A memory bitmap that declares its first row in memory to be the image's
// bottom row, to exercise the bottom-up addressing of blits and fills.
class BottomUpBitmap : public PIX_MemBitmap {
 public:
  bool IsBottomUp() const override { return true; }
};

// The pixel at image position (x, y), honouring bottom-up storage.
inline Pixel32& At(const PIX_IBitmap& b, int x, int y) {
  const int row = b.IsBottomUp() ? b.Height() - 1 - y : y;
  return b.PixelData()[std::ptrdiff_t(row) * b.RowSpan() + x];
}

inline void Fill(PIX_IBitmap& b, Pixel32 value) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) At(b, x, y) = value;
}

// A distinct value per position, so a misplaced pixel is seen.
inline Pixel32 Tag(int x, int y) { return 0xFF000000u | Pixel32(y << 8) | Pixel32(x); }

inline void FillTagged(PIX_IBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) At(b, x, y) = Tag(x, y);
}

// A small deterministic generator (no <random> distribution differences
// between the two C++ libraries).
struct Lcg {
  std::uint32_t state;
  std::uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    return state;
  }
};

// Random pixels whose alpha is 0, 255 or anything between, in runs like those
// of anti-aliased control images.
inline void FillRandom(PIX_IBitmap& b, std::uint32_t seed) {
  Lcg g{seed};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      Pixel32 p = g.Next();
      const std::uint32_t kind = (g.Next() >> 8) % 4;
      if (kind == 0) p &= 0x00FFFFFFu;
      if (kind == 1) p |= 0xFF000000u;
      At(b, x, y) = p;
    }
}

}  // namespace pixtest
