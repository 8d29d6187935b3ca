// Hue/saturation/value adjustment. The source pixel is an adjustment with 128
// meaning no change: red turns the hue (384 steps per turn, 64 per sextant),
// green moves the saturation and blue the value. Divisions by a channel value
// use a reciprocal table instead of a divide per pixel.
#include "pix/BlendPixel.h"

#include <array>

namespace pixblend {
namespace {

constexpr int kHueSteps = 384;
constexpr int kSextant = 64;

// floor(65536 / x) - 1, and 0 for x = 0.
constexpr std::array<int, 256> MakeReciprocals() {
  std::array<int, 256> table{};
  for (int x = 1; x < 256; ++x) table[x] = 65536 / x - 1;
  return table;
}
constexpr std::array<int, 256> kReciprocal = MakeReciprocals();

// num / den for 0 <= num <= den * 255, den 1..255, rounded to nearest;
// exact when num is a multiple of den.
int DivideByChannel(int num, int den) {
  return (num * (kReciprocal[den] + 1) + 32768) >> 16;
}

struct Hsv {
  int h, s, v;
};

Hsv ToHsv(int r, int g, int b) {
  const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
  const int delta = mx - mn;
  if (delta == 0) return {0, 0, mx};
  const int s = DivideByChannel(delta * 255, mx);
  int h;
  if (mx == r)
    h = 0 * kSextant + DivideByChannel((g - b + delta) * kSextant, delta) - kSextant;
  else if (mx == g)
    h = 2 * kSextant + DivideByChannel((b - r + delta) * kSextant, delta) - kSextant;
  else
    h = 4 * kSextant + DivideByChannel((r - g + delta) * kSextant, delta) - kSextant;
  if (h < 0) h += kHueSteps;
  return {h % kHueSteps, s > 255 ? 255 : s, mx};
}

void FromHsv(const Hsv& c, std::uint8_t* d) {
  if (c.s == 0) {
    d[0] = d[1] = d[2] = std::uint8_t(c.v);
    return;
  }
  const int sextant = c.h / kSextant;
  const int f = c.h % kSextant;
  const int p = c.v * (255 - c.s) / 255;
  const int q = c.v * (255 * kSextant - c.s * f) / (255 * kSextant);
  const int t = c.v * (255 * kSextant - c.s * (kSextant - f)) / (255 * kSextant);
  int r, g, b;
  switch (sextant) {
    case 0: r = c.v; g = t; b = p; break;
    case 1: r = q; g = c.v; b = p; break;
    case 2: r = p; g = c.v; b = t; break;
    case 3: r = p; g = q; b = c.v; break;
    case 4: r = t; g = p; b = c.v; break;
    default: r = c.v; g = p; b = q; break;
  }
  d[0] = std::uint8_t(b);
  d[1] = std::uint8_t(g);
  d[2] = std::uint8_t(r);
}

}  // namespace

void HsvAdjust(std::uint8_t* d, const int* s, int iw) {
  Hsv c = ToHsv(d[2], d[1], d[0]);
  const int sB = s[0], sG = s[1], sR = s[2];
  c.h = (c.h + iw * (sR + sR / 2 - 192) / 256) % kHueSteps;
  if (c.h < 0) c.h += kHueSteps;
  c.s = Clamp255(c.s + iw * (sG - 128) / 128);
  c.v = Clamp255(c.v + iw * (sB - 128) / 128);
  FromHsv(c, d);
  // The fill passes its weight as the alpha, which can lie outside 0..255.
  d[3] = Clamp255(s[3]);
}

}  // namespace pixblend
