// Per-pixel results of every blend mode, the weight shortcuts, and the row
// kernels against the plain scalar formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "pix/PIX_BlendBlit.h"
#include "tests/pix/PixReference.h"
#include "tests/pix/PixTestBitmaps.h"

using pixtest::At;

namespace {

// Blends a row of five equal pixels, so that both the four-pixel kernels and
// the one-pixel tail of each mode take part, and returns the common result
// (or a marker when the pixels disagree).
Pixel32 BlendOne(Pixel32 src, Pixel32 dst, float weight, int mode) {
  constexpr int kRow = 5;
  PIX_MemBitmap s, d;
  s.SetSize(kRow, 1);
  d.SetSize(kRow, 1);
  pixtest::Fill(s, src);
  pixtest::Fill(d, dst);
  PIX_BlendBlit(&d, &s, 0, 0, nullptr, weight, mode);
  for (int x = 1; x < kRow; ++x) {
    EXPECT_EQ(At(d, x, 0), At(d, 0, 0)) << "pixel " << x;
  }
  return At(d, 0, 0);
}

struct BlendCase {
  int mode;
  float weight;
  Pixel32 src;
  Pixel32 dst;
  Pixel32 expected;
};

// Pixels read as A<<24 | R<<16 | G<<8 | B.
const BlendCase kBlendCases[] = {
    // Alpha copy at full weight: sA 128 over opaque gives dA 255 and
    // d = s + div256((d - s) * 127); sA 0 leaves the destination; sA 255 copies.
    {0x10000, 1.0f, 0x800064C8, 0xFFFF6400, 0xFF7E6465},
    {0x10000, 1.0f, 0x000064C8, 0xFFFF6400, 0xFFFF6400},
    {0x10000, 1.0f, 0xFF0064C8, 0x28FF6400, 0xFF0064C8},
    {0x10000, 1.0f, 0xC81E140A, 0x640080FA, 0xFF182B3D},
    // Weight 0.25 (iw 64): k = div256(129 * 64) = 32, one eighth of the way.
    {0x10000, 0.25f, 0x800064C8, 0xFFFF6400, 0xFFDF6419},
    {0x10000, 0.25f, 0x000064C8, 0xFFFF6400, 0xFFFF6400},
    {0x10000, 0.25f, 0xFF1E140A, 0x0A0080FA, 0x4A0865BE},
    {0x10000, 0.6f, 0x4D2DB45A, 0x0080FA03, 0x2E71ED13},
    // Plain weighted copy, alpha blended like the colours.
    {BlitCopy, 0.25f, 0x800064C8, 0xFFFF6400, 0xDFBF6432},
    {BlitCopy, 0.75f, 0x3CFA0201, 0xC86400FF, 0x5FD50240},
    {BlitCopy, 1.5f, 0x281E140A, 0x50463C32, 0x140A00F6},
    {BlitAdd, 1.0f, 0x281EC864, 0xFA0A64C8, 0xFF28FFFF},
    {BlitAdd, 0.5f, 0x281EC864, 0xFA0A64C8, 0xFF19C8FA},
    {BlitAdd | BlitUseAlpha, 1.0f, 0x801EC864, 0x640A64C8, 0xA419C8FA},
    {BlitAdd | BlitUseAlpha, 1.0f, 0x001EC864, 0x640A64C8, 0x640A64C8},
    {BlitDodge, 1.0f, 0x4000FF80, 0x64646464, 0x8564FFC8},
    {BlitDodge, 0.5f, 0x4000FF80, 0x64646464, 0x7264C685},
    // Dodge with alpha has no early exit: a transparent source still counts.
    {BlitDodge | BlitUseAlpha, 4.0f, 0x00FFFFFF, 0x64646464, 0x64656565},
    {BlitMultiply, 1.0f, 0x4000FF80, 0xC8C8C8C8, 0x3200C764},
    {BlitMultiply, 0.25f, 0x4000FF80, 0xC8C8C8C8, 0xA296C7AF},
    {BlitMultiply | BlitUseAlpha, 1.0f, 0x8000FF80, 0xC8C8C8C8, 0x9563C795},
    {BlitMultiply | BlitUseAlpha, 1.0f, 0x0000FF80, 0xC8C8C8C8, 0xC8C8C8C8},
    {BlitOverlay, 1.0f, 0xC8FF8000, 0x3C3C3C3C, 0x55693C0E},
    {BlitOverlay, 0.5f, 0xC8FF8000, 0xFF1E64C8, 0xFF2B64B2},
    {BlitOverlay | BlitUseAlpha, 1.0f, 0x80FF8000, 0x3C3C3C3C, 0x3C523C24},
    // Exact weights of the plain copy: 1.0 copies, 0.5 averages whole pixels
    // with each half rounded down.
    {BlitCopy, 1.0f, 0x12345678, 0x9ABCDEF0, 0x12345678},
    {BlitCopy, 0.5f, 0x01010101, 0x01010101, 0x00000000},
    {BlitCopy, 0.5f, 0xFF806433, 0x11223344, 0x87514B3B},
    // Bits outside the low byte and the alpha flag are ignored.
    {BlitCopy | 0x20000, 1.0f, 0x12345678, 0x9ABCDEF0, 0x12345678},
    // Low bytes 6 to 0xEF draw nothing.
    {6, 1.0f, 0x12345678, 0x9ABCDEF0, 0x9ABCDEF0},
    {0xEF | BlitUseAlpha, 1.0f, 0x12345678, 0x9ABCDEF0, 0x9ABCDEF0},
};

TEST(BlendModes, TableOfPixelPairs) {
  for (const BlendCase& c : kBlendCases) {
    SCOPED_TRACE(testing::Message() << std::hex << "mode 0x" << c.mode << " weight " << c.weight
                                    << " src 0x" << c.src << " dst 0x" << c.dst);
    EXPECT_EQ(BlendOne(c.src, c.dst, c.weight, c.mode), c.expected);
  }
}

TEST(BlendModes, WeightsThatDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // trunc(0.003 * 256) is 0; a negative weight is ignored by the plain copy.
  for (float w : {0.0f, -0.0f, 0.003f, -0.003f, -0.5f, nan}) {
    for (int mode : {int(BlitCopy), int(BlitCopy | BlitUseAlpha), int(BlitAdd), int(BlitMultiply)}) {
      if (w < -0.01f && mode != BlitCopy) continue;
      SCOPED_TRACE(testing::Message() << "weight " << w << " mode " << mode);
      EXPECT_EQ(BlendOne(0xFF102030, 0x80405060, w, mode), 0x80405060u);
    }
  }
}

// Beyond +-127.5 (integer weight 32640) a product of the 32-bit formulas
// would overflow: larger weights act as that limit. The pixels put s = 0
// against d = 255, where the products are largest.
TEST(BlendModes, HugeWeightsActAsTheLimit) {
  const float inf = std::numeric_limits<float>::infinity();
  for (int op = BlitCopy; op <= BlitHsvAdjust; ++op) {
    for (int mode : {op, op | int(BlitUseAlpha)}) {
      for (Pixel32 src : {0xFF00FF00u, 0x80FF0080u}) {
        SCOPED_TRACE(testing::Message() << std::hex << "mode 0x" << mode << " src 0x" << src);
        const Pixel32 up = BlendOne(src, 0xFFFFFFFF, 127.5f, mode);
        const Pixel32 down = BlendOne(src, 0xFFFFFFFF, -127.5f, mode);
        EXPECT_EQ(BlendOne(src, 0xFFFFFFFF, 1e9f, mode), up);
        EXPECT_EQ(BlendOne(src, 0xFFFFFFFF, inf, mode), up);
        EXPECT_EQ(BlendOne(src, 0xFFFFFFFF, -1e9f, mode), down);
      }
    }
  }
}

TEST(BlendModes, ChannelCopyMovesOneByte) {
  // Green of the source into alpha of the destination, whatever the weight.
  EXPECT_EQ(BlendOne(0x11223344, 0xAABBCCDD, 0.25f, PIX_ChannelCopyMode(PIX_Alpha, PIX_Green)),
            0x33BBCCDDu);
  EXPECT_EQ(BlendOne(0x11223344, 0xAABBCCDD, 1.0f, PIX_ChannelCopyMode(PIX_Blue, PIX_Red)),
            0xAABBCC22u);
}

TEST(BlendModes, HsvAdjustKeepsGraysAndTakesSourceAlpha) {
  // A neutral adjustment (128) leaves a gray as it was; alpha comes from the
  // source.
  EXPECT_EQ(BlendOne(0x40808080, 0xFF505050, 1.0f, BlitHsvAdjust), 0x40505050u);
  // Full value raise turns any gray white; full value cut black.
  EXPECT_EQ(BlendOne(0xFF8080FF, 0xFF505050, 1.0f, BlitHsvAdjust), 0xFFFFFFFFu);
  EXPECT_EQ(BlendOne(0xFF808000, 0xFF505050, 1.0f, BlitHsvAdjust), 0xFF000000u);
  // Saturation cut makes a colour gray at its value.
  EXPECT_EQ(BlendOne(0xFF800080, 0xFFC83214, 1.0f, BlitHsvAdjust), 0xFFC8C8C8u);
  // A third of a turn takes pure red to green.
  const Pixel32 turned = BlendOne(0xFFD68080, 0xFFFF0000, 1.0f, BlitHsvAdjust);
  EXPECT_EQ(PIX_ChannelOf(turned, PIX_Red), 0);
  EXPECT_EQ(PIX_ChannelOf(turned, PIX_Green), 255);
  EXPECT_LE(PIX_ChannelOf(turned, PIX_Blue), 8);
}

TEST(BlendModes, HsvNeutralAdjustmentRoundTripsColours) {
  for (Pixel32 colour : {0xFFC83214u, 0xFF10E080u, 0xFF3030F0u, 0xFFFFFF00u, 0xFF7F0040u}) {
    const Pixel32 out = BlendOne(0xFF808080, colour, 1.0f, BlitHsvAdjust);
    for (int c = 0; c < 3; ++c)
      EXPECT_NEAR(PIX_ChannelOf(out, c), PIX_ChannelOf(colour, c), 2) << std::hex << colour;
  }
}

// The row kernels against the scalar formulas on random images of odd widths
// (so every kernel ends in a partial group) at unaligned positions.
TEST(BlendModes, WholeImagesMatchTheScalarFormulas) {
  const int modes[] = {BlitCopy,     BlitCopy | BlitUseAlpha,     BlitAdd,
                       BlitAdd | BlitUseAlpha, BlitDodge,          BlitDodge | BlitUseAlpha,
                       BlitMultiply, BlitMultiply | BlitUseAlpha, BlitOverlay,
                       BlitOverlay | BlitUseAlpha};
  const float weights[] = {1.0f, 0.25f, 0.6f, 0.01f, 0.999f, 1.5f, 1.004f, -0.3f, 6.0f, -6.0f};
  PIX_MemBitmap src;
  src.SetSize(37, 5);
  pixtest::FillRandom(src, 7);
  for (int mode : modes) {
    for (float w : weights) {
      SCOPED_TRACE(testing::Message() << "mode 0x" << std::hex << mode << " weight " << w);
      PIX_MemBitmap expected, actual;
      expected.SetSize(41, 7);
      actual.SetSize(41, 7);
      pixtest::FillRandom(expected, 11);
      pixtest::FillRandom(actual, 11);
      pixref::BlendArea(&expected, &src, 3, 1, w, mode);
      PIX_BlendBlit(&actual, &src, 3, 1, nullptr, w, mode);
      int mismatches = 0;
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 41; ++x)
          if (At(actual, x, y) != At(expected, x, y) && ++mismatches <= 3)
            ADD_FAILURE() << "at " << x << "," << y << ": 0x" << std::hex << At(actual, x, y)
                          << " instead of 0x" << At(expected, x, y);
      EXPECT_EQ(mismatches, 0);
    }
  }
}

// Every source alpha against every destination value of one channel, for the
// two alpha copies the editor draws: the kernels must agree with the
// formulas byte for byte across the whole range.
TEST(BlendModes, AlphaCopyKernelsCoverEveryAlphaAndChannelValue) {
  PIX_MemBitmap src, expected, actual;
  src.SetSize(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) At(src, x, y) = PIX_MakePixel(255 - x, x, (x * 7) & 255, y);
  for (float w : {1.0f, 0.25f, 0.8f}) {
    expected.SetSize(256, 256);
    actual.SetSize(256, 256);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) At(expected, x, y) = At(actual, x, y) = PIX_MakePixel(x, 255 - x, y, x ^ y);
    pixref::BlendArea(&expected, &src, 0, 0, w, BlitCopy | BlitUseAlpha);
    PIX_BlendBlit(&actual, &src, 0, 0, nullptr, w, BlitCopy | BlitUseAlpha);
    EXPECT_EQ(std::memcmp(actual.PixelData(), expected.PixelData(), 256 * 256 * 4), 0) << "weight " << w;
  }
}

// The row kernels exhaustively. Each colour channel of a kernel is
// s + div256((d - s) * f) with f fixed by the weight (plain copy), by the
// source alpha (alpha copy at full weight) or by k (partial weight). Blue and
// green below hold every (source, destination) pair of values; each factor
// f is visited once: the plain copy at every integer weight 1..255, the alpha
// copy at every uniform source alpha at full weight and at iw 255, where k
// equals the source alpha. Then k itself for every source alpha at every
// weight, in groups of four mixed alphas.
class BlendRowKernels : public testing::Test {
 protected:
  void SetUp() override {
    src.SetSize(256, 256);
    start.SetSize(256, 256);
    expected.SetSize(256, 256);
    actual.SetSize(256, 256);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) At(start, x, y) = PIX_MakePixel((x * 5 + y) & 255, x, y, (x + y) & 255);
  }

  void PaintSource(int alpha) {
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x)
        At(src, x, y) = PIX_MakePixel((x ^ y) & 255, y, x, alpha < 0 ? (x * 7 + y) & 255 : alpha);
  }

  // Integer weight iw as a float weight that is never exactly 0.5 or 1.0, so
  // the average and row-copy shortcuts stay out of the way.
  static float Weight(int iw) { return (float(iw) + 0.5f) / 256.0f; }

  // True when the library and the scalar formulas leave the same bytes.
  bool SameAsFormulas(float weight, int mode) {
    std::memcpy(expected.PixelData(), start.PixelData(), 256 * 256 * 4);
    std::memcpy(actual.PixelData(), start.PixelData(), 256 * 256 * 4);
    pixref::BlendArea(&expected, &src, 0, 0, weight, mode);
    PIX_BlendBlit(&actual, &src, 0, 0, nullptr, weight, mode);
    return std::memcmp(actual.PixelData(), expected.PixelData(), 256 * 256 * 4) == 0;
  }

  PIX_MemBitmap src, start, expected, actual;
};

TEST_F(BlendRowKernels, PlainCopyAtEveryWeight) {
  PaintSource(-1);
  for (int iw = 1; iw < 256; ++iw) EXPECT_TRUE(SameAsFormulas(Weight(iw), BlitCopy)) << "iw " << iw;
}

TEST_F(BlendRowKernels, AlphaCopyAtEveryUniformSourceAlpha) {
  for (int alpha = 0; alpha < 256; ++alpha) {
    PaintSource(alpha);
    EXPECT_TRUE(SameAsFormulas(1.0f, BlitCopy | BlitUseAlpha)) << "full weight, alpha " << alpha;
    EXPECT_TRUE(SameAsFormulas(Weight(255), BlitCopy | BlitUseAlpha)) << "iw 255, alpha " << alpha;
  }
}

TEST_F(BlendRowKernels, AlphaCopyAtEveryWeightAndMixedAlphas) {
  // Along a row the source alpha runs through 0..255 in steps that differ by
  // row, so groups of four mix transparent, partial and opaque pixels.
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      At(src, x, y) = PIX_MakePixel(y, x, (x * 3) & 255, (x * (1 + 2 * (y & 7)) + (y >> 3)) & 255);
  for (int iw = 1; iw <= 256; ++iw)
    EXPECT_TRUE(SameAsFormulas(Weight(iw), BlitCopy | BlitUseAlpha)) << "iw " << iw;
}

}  // namespace
