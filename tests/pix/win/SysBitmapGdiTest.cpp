// The system bitmap on Windows is a real DIB section in its own device
// context: GDI drawing and our pixels are the same memory.
#include <windows.h>

#include <gtest/gtest.h>

#include "pix/PIX_FillRectangle.h"
#include "pix/PIX_SysBitmap.h"

namespace {

TEST(SysBitmapGdi, DeviceContextAndPixelsShareTheSurface) {
  PIX_SysBitmap b(7, 5);
  HDC dc = static_cast<HDC>(b.DeviceContext());
  ASSERT_NE(dc, nullptr);
  ASSERT_NE(b.PixelData(), nullptr);

  // Our fill, read through GDI (COLORREF is 0x00BBGGRR).
  PIX_FillRectangle(&b, 0, 0, 7, 5, 0xFF102030, 1.0f, BlitCopy);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 6, 4), RGB(0x10, 0x20, 0x30));

  // GDI drawing, read through our pixels: top-down rows, bytes B, G, R.
  SetPixel(dc, 2, 3, RGB(0xAA, 0xBB, 0xCC));
  GdiFlush();
  EXPECT_EQ(b.PixelData()[3 * b.RowSpan() + 2] & 0x00FFFFFFu, 0x00AABBCCu);

  // A new surface after growing is selected into the same context.
  ASSERT_TRUE(b.SetSize(20, 9));
  EXPECT_EQ(b.DeviceContext(), dc);
  PIX_FillRectangle(&b, 0, 0, 20, 9, 0xFF405060, 1.0f, BlitCopy);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 19, 8), RGB(0x40, 0x50, 0x60));
}

}  // namespace
