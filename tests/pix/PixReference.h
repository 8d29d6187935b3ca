#pragma once

// A plain scalar blend, one pixel at a time, written straight from the
// formulas of the blend modes and independent of the library's own code. The
// tests use it as an oracle and the benchmark as the baseline.

#include <cmath>
#include <cstdint>

#include "pix/PIX_IBitmap.h"

namespace pixref {

inline int Div256(int v) { return v / 256; }
inline int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

inline int RefIntWeight(float w) { return int(std::trunc(double(w) * 256.0)); }

// One pixel of mode `op` (low byte and BlitUseAlpha only) at integer weight
// iw. Modes 0 to 4 with and without BlitUseAlpha.
inline void BlendPixel(int op, int iw, std::uint8_t* d, const std::uint8_t* s) {
  const int sA = s[3];
  switch (op) {
    case 0x00000:
      if (iw == 256) {
        for (int c = 0; c < 4; ++c) d[c] = s[c];
      } else if (iw > 0) {
        for (int c = 0; c < 4; ++c) d[c] = std::uint8_t(s[c] + Div256((d[c] - s[c]) * (256 - iw)));
      }
      return;
    case 0x10000:
      if (sA == 0) return;
      if (iw == 256) {
        if (sA == 255) {
          for (int c = 0; c < 4; ++c) d[c] = s[c];
          return;
        }
        d[3] = std::uint8_t(d[3] + sA > 255 ? 255 : d[3] + sA);
        for (int c = 0; c < 3; ++c) d[c] = std::uint8_t(s[c] + Div256((d[c] - s[c]) * (255 - sA)));
      } else {
        const int k = Div256((sA + 1) * iw);
        d[3] = std::uint8_t(d[3] + k > 255 ? 255 : d[3] + k);
        for (int c = 0; c < 3; ++c) d[c] = std::uint8_t(s[c] + Div256((d[c] - s[c]) * (256 - k)));
      }
      return;
    case 0x00001:
      for (int c = 0; c < 4; ++c) d[c] = std::uint8_t(Clamp(d[c] + Div256(s[c] * iw)));
      return;
    case 0x10001: {
      if (sA == 0) return;
      const int k = Div256((sA + 1) * iw);
      for (int c = 0; c < 3; ++c) d[c] = std::uint8_t(Clamp(d[c] + Div256(s[c] * k)));
      d[3] = std::uint8_t(Clamp(d[3] + Div256(sA * k)));
      return;
    }
    case 0x00002:
    case 0x10002: {
      const int k = op == 2 ? iw : Div256((sA + 1) * iw);
      for (int c = 0; c < 4; ++c) {
        const int q = 256 - Div256(s[c] * k);
        d[c] = std::uint8_t(q > 1 ? Clamp((d[c] * 256) / q) : Clamp(d[c] * 256));
      }
      return;
    }
    case 0x00003:
      for (int c = 0; c < 4; ++c) d[c] = std::uint8_t((((s[c] - 256) * iw + 65536) * d[c]) >> 16);
      return;
    case 0x10003: {
      if (sA == 0) return;
      const int k = Div256(iw * (sA + 1));
      const int g = (256 - k) * 256;
      for (int c = 0; c < 4; ++c) d[c] = std::uint8_t(((s[c] * k + g) * d[c]) >> 16);
      return;
    }
    case 0x00004:
    case 0x10004: {
      const int w = op == 4 ? iw : Div256((sA + 1) * iw);
      for (int c = 0; c < 4; ++c) {
        const int t = s[c] * w + (256 - w) * 128;
        d[c] = std::uint8_t(Clamp(((Div256((32768 - t) * d[c]) + t) * d[c]) >> 15));
      }
      return;
    }
    default:
      return;
  }
}

// Blends the whole of src into dest at (dx, dy), both top-down, the area
// lying inside dest; weight 1.0 and 0.5 plain copies included as the
// per-pixel formula gives them.
inline void BlendArea(PIX_IBitmap* dest, const PIX_IBitmap* src, int dx, int dy, float weight,
                      int mode) {
  const int op = mode & 0x100FF;
  const int iw = RefIntWeight(weight);
  for (int y = 0; y < src->Height(); ++y) {
    const std::uint8_t* s =
        reinterpret_cast<const std::uint8_t*>(src->PixelData() + std::ptrdiff_t(y) * src->RowSpan());
    std::uint8_t* d = reinterpret_cast<std::uint8_t*>(dest->PixelData() +
                                                      std::ptrdiff_t(y + dy) * dest->RowSpan() + dx);
    for (int x = 0; x < src->Width(); ++x) BlendPixel(op, iw, d + 4 * x, s + 4 * x);
  }
}

}  // namespace pixref
