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
  // A surface whose byte count would not fit in an int is refused like one
  // the system cannot make.
  const long long allocWidth = ((long long)width + 3) & ~3LL;
  const bool fits = allocWidth <= INT_MAX && allocWidth * height * 4 <= INT_MAX;
  mAllocWidth = fits ? int(allocWidth) : 0;
  mAllocHeight = fits ? height : 0;
  // An empty size is kept as asked (one side 0), without pixels.
  if (width < 1 || height < 1) return false;
  if (fits) MakeSurface();
  if (!mPixels) {
    mWidth = mHeight = 0;
    mAllocWidth = mAllocHeight = 0;
  }
  return true;
}
