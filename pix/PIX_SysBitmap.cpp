#include "pix/PIX_SysBitmap.h"

#include <climits>

#include "framework/plugbase/Trace.h"

PIX_SysBitmap::PIX_SysBitmap(int width, int height) {
  MakeDeviceContext();
  SetSize(width, height);
}

PIX_SysBitmap::~PIX_SysBitmap() {
  ReleaseSurface();
  ReleaseDeviceContext();
}

bool PIX_SysBitmap::SetSize(int width, int height) {
  TORVA_TRACE_OP("PIX_SysBitmap::SetSize", "%d %d", width, height);
  if (!PlatformReady()) {
    mWidth = mHeight = 0;
    mPixels = nullptr;
    return false;
  }
  // A negative size would pass the reuse test below and leave a bitmap that
  // claims a negative width over live pixels.
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  // Shrinking, or growing within the allocated size, keeps the surface and
  // the row span: resizing the editor does not reallocate.
  if (width != 0 && height != 0 && mAllocWidth >= width && mAllocHeight >= height && mSurface)
    return true;

  ReleaseSurface();
  mAllocHeight = height;
  mAllocWidth = int(((long long)width + 3) & ~3LL);
  const bool fits = (long long)mAllocWidth * mAllocHeight * 4 <= INT_MAX;
  if (mAllocWidth < 1 || height < 1 || !fits) {
    // No pixels: say so in the size as well, so nobody walks a null surface.
    mWidth = mHeight = 0;
    mAllocWidth = mAllocHeight = 0;
    return false;
  }
  MakeSurface();
  if (!mPixels) {
    mWidth = mHeight = 0;
    mAllocWidth = mAllocHeight = 0;
  }
  return true;
}
