// PIX_FillRectangle: the whole-pixel shortcuts, the blend modes with the
// weight standing in for the source alpha, and clipping.
#include <gtest/gtest.h>

#include "pix/PIX_FillRectangle.h"
#include "tests/pix/PixTestBitmaps.h"

using pixtest::At;

namespace {

constexpr Pixel32 kDest = 0xFAC89664;

Pixel32 FillOne(Pixel32 colour, float weight, int mode, Pixel32 dest = kDest) {
  PIX_MemBitmap b;
  b.SetSize(1, 1);
  At(b, 0, 0) = dest;
  PIX_FillRectangle(&b, 0, 0, 1, 1, colour, weight, mode);
  return At(b, 0, 0);
}

struct FillCase {
  Pixel32 colour;
  float weight;
  int mode;
  Pixel32 expected;
};

const FillCase kFillCases[] = {
    // Shortcuts of the plain fill: iw 256, 128, 64 and 192.
    {0x801E140A, 1.0f, BlitCopy, 0x801E140A},
    {0x801E140A, 0.5f, BlitCopy, 0xBD735537},
    {0x801E140A, 0.25f, BlitCopy, 0xDB9D754D},
    {0x801E140A, 0.75f, BlitCopy, 0x9E483420},
    // With the alpha flag the weight is scaled by alpha / 255 first: 128 / 255
    // at weight 1.0 is iw 128, the half shortcut.
    {0x801E140A, 1.0f, BlitCopy | BlitUseAlpha, 0xBD735537},
    {0x001E140A, 1.0f, BlitCopy | BlitUseAlpha, kDest},
    // Other weights: colours move toward the colour, alpha toward iw.
    {0x801E140A, 0.4f, BlitCopy, 0xBF846240},
    {0x801E140A, 0.4f, BlitCopy | 0x20000, 0xBF846240},
    // Modes 1 to 5 take iw as the source alpha.
    {0x801E140A, 0.5f, BlitAdd, 0xFFD7A069},
    {0x801E140A, 1.0f, BlitAdd, 0xFFE6AA6E},
    // Weights past 1 follow the same formulas (iw 2048 here).
    {0x801E140A, 8.0f, BlitAdd, 0xFFFFFFB4},
    {0x801E140A, 0.5f, BlitDodge, 0xFFD49C65},
    {0x801E140A, 0.5f, BlitMultiply, 0xBB6F5033},
    {0x801E140A, 1.0f, BlitMultiply, 0xFA170B03},
    {0x801E140A, 0.5f, BlitOverlay, 0xFAB77B47},
    // Nothing: weight 0, a weight below 1/256, other low bytes.
    {0x801E140A, 0.0f, BlitCopy, kDest},
    {0x801E140A, 0.003f, BlitAdd, kDest},
    {0x801E140A, 1.0f, 9, kDest},
    {0x801E140A, 1.0f, BlitChannelCopy, kDest},
};

TEST(FillRectangle, TableOfColoursAndModes) {
  for (const FillCase& c : kFillCases) {
    SCOPED_TRACE(testing::Message() << std::hex << "colour 0x" << c.colour << " mode 0x" << c.mode
                                    << " weight " << c.weight);
    EXPECT_EQ(FillOne(c.colour, c.weight, c.mode), c.expected);
  }
}

// In the fill the weight is also the source alpha; beyond +-10.8 (integer
// weight 2765) a product would overflow, and larger weights act as that
// limit.
TEST(FillRectangle, HugeWeightsActAsTheLimit) {
  for (int mode = BlitCopy; mode <= BlitHsvAdjust; ++mode) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    EXPECT_EQ(FillOne(0x80FF0080, 1e9f, mode, 0xFFFFFFFF), FillOne(0x80FF0080, 10.80078125f, mode, 0xFFFFFFFF));
    EXPECT_EQ(FillOne(0x80FF0080, -1e9f, mode, 0xFFFFFFFF), FillOne(0x80FF0080, -10.80078125f, mode, 0xFFFFFFFF));
  }
}

struct FillClip {
  int x, y, w, h;
  // The filled area after clipping; width 0 for none.
  int left, top, width, height;
};

const FillClip kFillClips[] = {
    {1, 1, 2, 2, 1, 1, 2, 2},
    {-2, 1, 4, 1, 0, 1, 2, 1},   // a negative x shortens the width
    {1, -3, 1, 5, 1, 0, 1, 2},
    {3, 2, 10, 10, 3, 2, 2, 2},  // cut at the right and bottom
    {5, 0, 1, 1, 0, 0, 0, 0},    // at the width
    {0, 4, 1, 1, 0, 0, 0, 0},    // at the height
    {-3, 0, 3, 1, 0, 0, 0, 0},   // shortened to nothing
    {0, 0, 0, 4, 0, 0, 0, 0},
    {0, 0, 2, -1, 0, 0, 0, 0},
};

TEST(FillRectangle, ClipsForBothRowOrders) {
  for (bool bottomUp : {false, true}) {
    for (const FillClip& c : kFillClips) {
      SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h
                                      << (bottomUp ? " bottom-up" : ""));
      pixtest::BottomUpBitmap up;
      PIX_MemBitmap down;
      PIX_IBitmap& b = bottomUp ? static_cast<PIX_IBitmap&>(up) : down;
      b.SetSize(5, 4);
      pixtest::Fill(b, 0);
      PIX_FillRectangle(&b, c.x, c.y, c.w, c.h, 0xFF00FF00, 1.0f, BlitCopy);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
          const bool inside = x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height;
          ASSERT_EQ(At(b, x, y), inside ? 0xFF00FF00u : 0u) << x << "," << y;
        }
    }
  }
}

TEST(FillRectangle, NothingWithoutBitmapOrPixels) {
  PIX_FillRectangle(nullptr, 0, 0, 4, 4, 0xFFFFFFFF, 1.0f, BlitCopy);
  PIX_MemBitmap empty;
  PIX_FillRectangle(&empty, 0, 0, 4, 4, 0xFFFFFFFF, 1.0f, BlitCopy);
  EXPECT_EQ(empty.PixelData(), nullptr);
}

}  // namespace
