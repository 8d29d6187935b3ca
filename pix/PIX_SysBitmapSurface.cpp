// The system bitmap where there is no GDI: a top-down 32-bit buffer of our
// own, 64-byte aligned like the memory bitmap's, and no device context.
#include "pix/PIX_SysBitmap.h"

#include <cstdint>
#include <cstdlib>

bool PIX_SysBitmap::PlatformReady() const { return true; }

void PIX_SysBitmap::MakeDeviceContext() { mDc = nullptr; }

void PIX_SysBitmap::ReleaseDeviceContext() {}

void PIX_SysBitmap::MakeSurface() {
  const std::size_t bytes = std::size_t(mAllocWidth) * std::size_t(mAllocHeight) * 4;
  void* block = std::malloc(bytes + 63);
  mSurface = block;
  if (!block) {
    mPixels = nullptr;
    return;
  }
  const std::uintptr_t raw = reinterpret_cast<std::uintptr_t>(block);
  mPixels = reinterpret_cast<Pixel32*>((raw + 63) & ~std::uintptr_t(63));
}

void PIX_SysBitmap::ReleaseSurface() {
  std::free(mSurface);
  mSurface = nullptr;
  mPixels = nullptr;
}
