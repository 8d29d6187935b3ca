#include "pix/PIX_MemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "framework/plugbase/Trace.h"

namespace {

// The largest buffer whose size and alignment slack still fit in an int.
constexpr long long kMaxBytes = INT_MAX - 63;

}  // namespace

PIX_MemBitmap::~PIX_MemBitmap() { FreeBuffer(); }

void PIX_MemBitmap::FreeBuffer() {
  std::free(mBuffer);
  mBuffer = nullptr;
  mAllocated = 0;
}

Pixel32* PIX_MemBitmap::PixelData() const {
  if (!mBuffer) return nullptr;
  const std::uintptr_t raw = reinterpret_cast<std::uintptr_t>(mBuffer);
  return reinterpret_cast<Pixel32*>((raw + kAlignSlack) & ~std::uintptr_t(kAlignSlack));
}

bool PIX_MemBitmap::SetSize(int width, int height) {
  TORVA_TRACE_OP("PIX_MemBitmap::SetSize", "%d %d", width, height);
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  // Counted in 64 bits: an image whose buffer would overflow an int is
  // refused rather than allocated short.
  long long needed = 0;
  if (width > 0 && height > 0)
    needed = (long long)height * (((long long)width + kRowAlignMask) & ~(long long)kRowAlignMask) * 4;
  if (needed > kMaxBytes) needed = 0;

  if (needed > 0) {
    if (!mBuffer) {
      mBuffer = static_cast<unsigned char*>(std::malloc(size_t(needed) + kAlignSlack));
      mAllocated = mBuffer ? int(needed) : 0;
    } else if (mAllocated < needed) {
      long long grown = needed + needed / 4;
      if (grown > kMaxBytes) grown = needed;
      void* moved = std::realloc(mBuffer, size_t(grown) + kAlignSlack);
      if (moved) {
        mBuffer = static_cast<unsigned char*>(moved);
        mAllocated = int(grown);
      } else {
        FreeBuffer();
        mBuffer = static_cast<unsigned char*>(std::malloc(size_t(needed) + kAlignSlack));
        mAllocated = mBuffer ? int(needed) : 0;
      }
    }
  } else {
    FreeBuffer();
  }
  if (!mBuffer) {
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
