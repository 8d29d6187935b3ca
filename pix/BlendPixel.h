#pragma once

// The per-pixel operations shared by the blit and the fill, one function per
// blend mode. d points at a destination pixel's four bytes (B, G, R, A); s
// holds the source's four channels as ints, because the fill passes its
// weight as a source alpha, which can lie outside 0..255. All arithmetic is
// on 32-bit signed ints; Div256 rounds toward zero like C's integer
// division, and results are stored as bytes.

#include <cstdint>

namespace pixblend {

inline int Div256(int v) { return v / 256; }

inline std::uint8_t Clamp255(int v) { return std::uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }

inline int Min255(int v) { return v > 255 ? 255 : v; }

// Plain copy at 0 < iw != 256: every channel moves (256 - iw) / 256 of the
// way back from the source toward the old destination.
inline void CopyWeighted(std::uint8_t* d, const int* s, int iw) {
  for (int c = 0; c < 4; ++c) d[c] = std::uint8_t(s[c] + Div256((d[c] - s[c]) * (256 - iw)));
}

// Alpha copy at full weight: transparent pixels are skipped, opaque ones
// copied without arithmetic.
inline void AlphaCopyFull(std::uint8_t* d, const int* s) {
  const int sA = s[3];
  if (sA == 0) return;
  if (sA == 255) {
    for (int c = 0; c < 4; ++c) d[c] = std::uint8_t(s[c]);
    return;
  }
  d[3] = std::uint8_t(Min255(d[3] + sA));
  for (int c = 0; c < 3; ++c) d[c] = std::uint8_t(s[c] + Div256((d[c] - s[c]) * (255 - sA)));
}

inline void AlphaCopyWeighted(std::uint8_t* d, const int* s, int iw) {
  const int sA = s[3];
  if (sA == 0) return;
  const int k = Div256((sA + 1) * iw);
  d[3] = std::uint8_t(Min255(d[3] + k));
  for (int c = 0; c < 3; ++c) d[c] = std::uint8_t(s[c] + Div256((d[c] - s[c]) * (256 - k)));
}

inline void Add(std::uint8_t* d, const int* s, int iw) {
  for (int c = 0; c < 4; ++c) d[c] = Clamp255(d[c] + Div256(s[c] * iw));
}

inline void AddAlpha(std::uint8_t* d, const int* s, int iw) {
  const int sA = s[3];
  if (sA == 0) return;
  const int k = Div256((sA + 1) * iw);
  for (int c = 0; c < 3; ++c) d[c] = Clamp255(d[c] + Div256(s[c] * k));
  d[3] = Clamp255(d[3] + Div256(sA * k));
}

inline std::uint8_t DodgeChannel(int d, int q) {
  return q > 1 ? Clamp255((d * 256) / q) : Clamp255(d * 256);
}

inline void Dodge(std::uint8_t* d, const int* s, int iw) {
  for (int c = 0; c < 4; ++c) d[c] = DodgeChannel(d[c], 256 - Div256(s[c] * iw));
}

// No early exit for a transparent source pixel: k still brightens.
inline void DodgeAlpha(std::uint8_t* d, const int* s, int iw) {
  const int k = Div256((s[3] + 1) * iw);
  for (int c = 0; c < 4; ++c) d[c] = DodgeChannel(d[c], 256 - Div256(k * s[c]));
}

inline void Multiply(std::uint8_t* d, const int* s, int iw) {
  for (int c = 0; c < 4; ++c) d[c] = std::uint8_t((((s[c] - 256) * iw + 65536) * d[c]) >> 16);
}

inline void MultiplyAlpha(std::uint8_t* d, const int* s, int iw) {
  const int sA = s[3];
  if (sA == 0) return;
  const int k = Div256(iw * (sA + 1));
  const int g = (256 - k) * 256;
  for (int c = 0; c < 4; ++c) d[c] = std::uint8_t(((s[c] * k + g) * d[c]) >> 16);
}

inline void Overlay(std::uint8_t* d, const int* s, int iw) {
  for (int c = 0; c < 4; ++c) {
    const int t = s[c] * iw + (256 - iw) * 128;
    d[c] = Clamp255(((Div256((32768 - t) * d[c]) + t) * d[c]) >> 15);
  }
}

inline void OverlayAlpha(std::uint8_t* d, const int* s, int iw) {
  Overlay(d, s, Div256((s[3] + 1) * iw));
}

// Hue/saturation/value adjustment of the destination (HsvAdjust.cpp).
void HsvAdjust(std::uint8_t* d, const int* s, int iw);

inline void HsvAdjustAlpha(std::uint8_t* d, const int* s, int iw) {
  HsvAdjust(d, s, Div256((s[3] + 1) * iw));
}

}  // namespace pixblend
