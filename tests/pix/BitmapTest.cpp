// Sizing of both bitmap classes: row padding, alignment, growth headroom and
// reuse of the pixels, and refusal of sizes that do not fit.
#include <gtest/gtest.h>

#include <cstdint>

#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"
#include "tests/pix/PixTestBitmaps.h"

namespace {

bool Aligned64(const void* p) { return (reinterpret_cast<std::uintptr_t>(p) & 63) == 0; }

// Writes every pixel of every row, so a short buffer shows under the address
// sanitizer, and reads them back.
void ExpectWholeBitmapWritable(PIX_IBitmap& b) {
  pixtest::FillTagged(b);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) ASSERT_EQ(pixtest::At(b, x, y), pixtest::Tag(x, y));
}

TEST(MemBitmap, StartsEmpty) {
  PIX_MemBitmap b;
  EXPECT_EQ(b.PixelData(), nullptr);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_EQ(b.AllocatedBytes(), 0);
  EXPECT_FALSE(b.IsBottomUp());
  EXPECT_EQ(b.DeviceContext(), nullptr);
  EXPECT_EQ(b.ExtensionQuery(1, nullptr), 0);
}

TEST(MemBitmap, GrowsWithHeadroomAndReusesItsBuffer) {
  PIX_MemBitmap b;
  EXPECT_TRUE(b.SetSize(5, 3));
  EXPECT_EQ(b.RowSpan(), 8);
  EXPECT_EQ(b.AllocatedBytes(), 3 * 8 * 4);
  EXPECT_TRUE(Aligned64(b.PixelData()));
  ExpectWholeBitmapWritable(b);
  EXPECT_FALSE(b.SetSize(5, 3));

  // Smaller: same buffer.
  Pixel32* first = b.PixelData();
  EXPECT_TRUE(b.SetSize(3, 2));
  EXPECT_EQ(b.PixelData(), first);
  EXPECT_EQ(b.RowSpan(), 4);
  EXPECT_EQ(b.AllocatedBytes(), 96);

  // Larger than the buffer: 25 % beyond what is needed.
  EXPECT_TRUE(b.SetSize(10, 10));
  EXPECT_EQ(b.AllocatedBytes(), 480 + 120);
  EXPECT_TRUE(Aligned64(b.PixelData()));
  ExpectWholeBitmapWritable(b);
  // Within the headroom: no reallocation.
  Pixel32* grown = b.PixelData();
  EXPECT_TRUE(b.SetSize(11, 12));
  EXPECT_EQ(b.AllocatedBytes(), 600);
  EXPECT_EQ(b.PixelData(), grown);
  ExpectWholeBitmapWritable(b);
}

TEST(MemBitmap, EmptyOrOversizedSizesLeaveNoPixels) {
  struct Case { int w, h; };
  for (Case c : {Case{0, 5}, Case{5, 0}, Case{-3, 4}, Case{50000, 50000}, Case{0x7FFFFFFF, 1},
                 Case{1, 0x7FFFFFFF}}) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    PIX_MemBitmap b;
    b.SetSize(4, 4);
    EXPECT_TRUE(b.SetSize(c.w, c.h));
    EXPECT_EQ(b.PixelData(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.AllocatedBytes(), 0);
    // Still usable afterwards.
    EXPECT_TRUE(b.SetSize(2, 2));
    ExpectWholeBitmapWritable(b);
  }
}

TEST(SysBitmap, KeepsItsSurfaceWhenShrinkingAndReplacesItPastTheAllocation) {
  PIX_SysBitmap b(5, 3);
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.RowSpan(), 8);
  ASSERT_NE(b.PixelData(), nullptr);
  EXPECT_FALSE(b.IsBottomUp());
#ifdef _WIN32
  EXPECT_NE(b.DeviceContext(), nullptr);
#else
  EXPECT_EQ(b.DeviceContext(), nullptr);
#endif
  ExpectWholeBitmapWritable(b);
  EXPECT_FALSE(b.SetSize(5, 3));

  Pixel32* first = b.PixelData();
  EXPECT_TRUE(b.SetSize(2, 1));
  EXPECT_EQ(b.PixelData(), first);
  EXPECT_EQ(b.RowSpan(), 8);
  // Growing within the allocated 8 x 3 keeps it too.
  EXPECT_TRUE(b.SetSize(8, 3));
  EXPECT_EQ(b.PixelData(), first);
  ExpectWholeBitmapWritable(b);

  // Past the allocated width, then past the allocated height: new surfaces.
  EXPECT_TRUE(b.SetSize(9, 3));
  EXPECT_EQ(b.RowSpan(), 12);
  ExpectWholeBitmapWritable(b);
  EXPECT_TRUE(b.SetSize(9, 7));
  EXPECT_EQ(b.AllocatedHeight(), 7);
  EXPECT_EQ(b.RowSpan(), 12);
  ExpectWholeBitmapWritable(b);
}

TEST(SysBitmap, EmptyOrOversizedSizesLeaveNoPixels) {
  // An empty size is kept as asked (negative counting as 0) and answers
  // false; a surface too large to make leaves 0 x 0 and answers true.
  struct Case { int w, h; bool changed; int width, height; };
  for (Case c : {Case{0, 0, false, 0, 0}, Case{0, 5, false, 0, 5}, Case{-4, 3, false, 0, 3},
                 Case{3, -1, false, 3, 0}, Case{40000, 40000, true, 0, 0},
                 Case{0x7FFFFFFF, 1, true, 0, 0}, Case{0x7FFFFFFF, 0, false, 0x7FFFFFFF, 0}}) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    PIX_SysBitmap b(4, 4);
    EXPECT_EQ(b.SetSize(c.w, c.h), c.changed);
    EXPECT_EQ(b.PixelData(), nullptr);
    EXPECT_EQ(b.Width(), c.width);
    EXPECT_EQ(b.Height(), c.height);
    EXPECT_TRUE(b.SetSize(3, 2));
    ASSERT_NE(b.PixelData(), nullptr);
    ExpectWholeBitmapWritable(b);
  }
  PIX_SysBitmap none(0, 0);
  EXPECT_EQ(none.PixelData(), nullptr);
}

}  // namespace
