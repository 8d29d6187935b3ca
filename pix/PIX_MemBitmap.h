#pragma once

#include "pix/PIX_IBitmap.h"

// A bitmap whose pixels live on the heap; every decoded image is one. Rows are
// padded to a multiple of 4 pixels and the pixels start on a 64-byte boundary.
// The buffer grows with 25 % headroom and is never shrunk while the bitmap
// stays non-empty, so repeated resizing does not reallocate.
class PIX_MemBitmap : public PIX_IBitmap {
 public:
  PIX_MemBitmap() = default;
  ~PIX_MemBitmap() override;

  Pixel32* PixelData() const override;
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int RowSpan() const override { return (mWidth + kRowAlignMask) & ~kRowAlignMask; }
  // Any thread that owns the bitmap. A buffer that would not fit in an int
  // (or cannot be allocated) leaves the bitmap 0 x 0 and answers true, so the
  // caller's size check sees the failure.
  bool SetSize(int width, int height) override;

  // Bytes usable in the current buffer, not counting the alignment slack.
  int AllocatedBytes() const { return mAllocated; }

 private:
  static constexpr int kRowAlignMask = 3;
  static constexpr int kAlignSlack = 63;

  void FreeBuffer();

  unsigned char* mBuffer = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAllocated = 0;
};
