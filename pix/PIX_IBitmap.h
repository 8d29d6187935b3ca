#pragma once

#include "pix/Pixel32.h"

// A 32-bit pixel bitmap (see Pixel32.h). Rows are addressed through RowSpan,
// counted in pixels. A bitmap carries no lock: one thread uses it at a time,
// and decoded images shared between editors are only read after decoding.
class PIX_IBitmap {
 public:
  virtual ~PIX_IBitmap();

  // Address of the first pixel of the first row in memory (the top row for a
  // top-down bitmap), or null when the bitmap has no pixels.
  virtual Pixel32* PixelData() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Pixels from one row to the next; a row occupies RowSpan() * 4 bytes.
  virtual int RowSpan() const = 0;
  // True when the first row in memory is the bottom row of the image.
  virtual bool IsBottomUp() const;
  // Resizes; true when the size changed. Pixel contents afterwards are
  // unspecified. On failure the bitmap is left 0 x 0 without pixels.
  virtual bool SetSize(int width, int height) = 0;
  // The GDI device context the pixels are selected into (an HDC) where the
  // bitmap has one; null otherwise.
  virtual void* DeviceContext() const;
  // Reserved for later interfaces; answers 0.
  virtual int ExtensionQuery(int what, void* argument);

 protected:
  PIX_IBitmap() = default;
  PIX_IBitmap(const PIX_IBitmap&) = delete;
  PIX_IBitmap& operator=(const PIX_IBitmap&) = delete;
};
