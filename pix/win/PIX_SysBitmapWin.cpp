// The system bitmap on Windows: a top-down 32-bit DIB section selected into a
// memory device context of its own, so the window backend can BitBlt it.
#include <windows.h>

#include "pix/PIX_SysBitmap.h"

bool PIX_SysBitmap::PlatformReady() const { return mDc != nullptr; }

void PIX_SysBitmap::MakeDeviceContext() { mDc = CreateCompatibleDC(nullptr); }

void PIX_SysBitmap::ReleaseDeviceContext() {
  if (mDc) DeleteDC(static_cast<HDC>(mDc));
  mDc = nullptr;
}

void PIX_SysBitmap::MakeSurface() {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = mAllocWidth;
  // Negative height: top-down rows, as the rest of the library expects.
  info.bmiHeader.biHeight = IsBottomUp() ? mAllocHeight : -mAllocHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    mPixels = nullptr;
    return;
  }
  mSurface = dib;
  mPixels = static_cast<Pixel32*>(bits);
  // The bitmap the context held before ours is put back before ours goes.
  mSavedBitmap = SelectObject(static_cast<HDC>(mDc), dib);
}

void PIX_SysBitmap::ReleaseSurface() {
  if (mSavedBitmap && mDc) SelectObject(static_cast<HDC>(mDc), static_cast<HGDIOBJ>(mSavedBitmap));
  mSavedBitmap = nullptr;
  if (mSurface) DeleteObject(static_cast<HBITMAP>(mSurface));
  mSurface = nullptr;
  mPixels = nullptr;
}
