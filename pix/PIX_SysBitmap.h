#pragma once

#include "pix/PIX_IBitmap.h"

// The editor's drawing surface. On Windows it is a top-down 32-bit DIB
// section selected into its own memory device context, which the window
// backend copies to the screen. Where those services are absent it is the
// same interface over a top-down 32-bit buffer of our own and has no device
// context. The row span is the allocated width, (width + 3) & ~3; shrinking,
// or growing within the allocated size, keeps the pixels where they are.
class PIX_SysBitmap : public PIX_IBitmap {
 public:
  // Editor (window) thread. Creates the device context and the pixels.
  PIX_SysBitmap(int width, int height);
  ~PIX_SysBitmap() override;

  Pixel32* PixelData() const override { return mPixels; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int RowSpan() const override { return mAllocWidth; }
  // Editor thread. Negative sizes count as 0. A size with a side 0 is kept,
  // without pixels, and answers false; when no surface can be made (or its
  // bytes would not fit in an int) the bitmap is left 0 x 0 without pixels.
  bool SetSize(int width, int height) override;
  // The memory device context (an HDC) on Windows; null elsewhere.
  void* DeviceContext() const override { return mDc; }

  int AllocatedHeight() const { return mAllocHeight; }

 private:
  // Platform halves. PlatformReady: the device context exists where one is
  // needed. Make the surface of mAllocWidth x mAllocHeight, or
  // release it. Make leaves mPixels null on failure.
  bool PlatformReady() const;
  void MakeSurface();
  void ReleaseSurface();
  void MakeDeviceContext();
  void ReleaseDeviceContext();

  int mWidth = 0;
  int mHeight = 0;
  void* mDc = nullptr;          // HDC on Windows
  Pixel32* mPixels = nullptr;
  int mAllocWidth = 0;
  int mAllocHeight = 0;
  void* mSurface = nullptr;     // HBITMAP on Windows; our heap block elsewhere
  void* mSavedBitmap = nullptr; // HGDIOBJ selected before ours, on Windows
};
