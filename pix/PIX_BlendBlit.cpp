#include "pix/PIX_BlendBlit.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "pix/BlendPixel.h"
#include "pix/BlitRows.h"
#include "pix/PixelWeight.h"

namespace {

// The clipped area as row pointers and byte steps (negative for bottom-up).
struct BlitArea {
  std::uint8_t* dest;
  const std::uint8_t* src;
  std::ptrdiff_t destStep;
  std::ptrdiff_t srcStep;
  int columns;
  int rows;
};

// First row in memory of image row `row`, and the step to the next image row.
void AddressRow(const PIX_IBitmap* bitmap, long long row, long long column, std::uint8_t*& first,
                std::ptrdiff_t& step) {
  const std::ptrdiff_t span = std::ptrdiff_t(bitmap->RowSpan()) * 4;
  std::uint8_t* base = reinterpret_cast<std::uint8_t*>(bitmap->PixelData());
  if (bitmap->IsBottomUp()) {
    first = base + std::ptrdiff_t(bitmap->Height() - row - 1) * span + column * 4;
    step = -span;
  } else {
    first = base + std::ptrdiff_t(row) * span + column * 4;
    step = span;
  }
}

// Clips the request to both bitmaps. Counted in 64 bits so that extreme
// coordinates cannot wrap around into the bitmaps.
bool ClipArea(PIX_IBitmap* dest, const PIX_IBitmap* src, long long dstX, long long dstY,
              const PIX_Rect* srcRect, BlitArea& area) {
  long long left = 0, top = 0, right = src->Width(), bottom = src->Height();
  if (srcRect) {
    left = srcRect->left;
    top = srcRect->top;
    right = srcRect->right;
    bottom = srcRect->bottom;
    if (left < 0) {
      dstX -= left;
      left = 0;
    }
    if (top < 0) {
      dstY -= top;
      top = 0;
    }
    if (right > src->Width()) right = src->Width();
    if (bottom > src->Height()) bottom = src->Height();
  }
  if (dstX < 0) {
    left -= dstX;
    dstX = 0;
  }
  if (dstY < 0) {
    top -= dstY;
    dstY = 0;
  }
  if (right <= left || bottom <= top || dstX >= dest->Width() || dstY >= dest->Height()) return false;
  if (right > dest->Width() - dstX + left) right = dest->Width() - dstX + left;
  if (bottom > dest->Height() - dstY + top) bottom = dest->Height() - dstY + top;
  if (right <= left || bottom <= top) return false;
  if (!dest->PixelData() || !src->PixelData()) return false;

  std::uint8_t* srcFirst = nullptr;
  AddressRow(src, top, left, srcFirst, area.srcStep);
  area.src = srcFirst;
  AddressRow(dest, dstY, dstX, area.dest, area.destStep);
  area.columns = int(right - left);
  area.rows = int(bottom - top);
  return true;
}

template <typename RowFn>
void ForEachRow(const BlitArea& a, RowFn&& row) {
  std::uint8_t* d = a.dest;
  const std::uint8_t* s = a.src;
  for (int y = 0; y < a.rows; ++y, d += a.destStep, s += a.srcStep) row(d, s);
}

// The modes without a row kernel: one pixel operation after another.
template <typename PixelFn>
void ForEachPixel(const BlitArea& a, int iw, PixelFn op) {
  ForEachRow(a, [&](std::uint8_t* d, const std::uint8_t* s) {
    int src[4];
    for (int x = 0; x < a.columns; ++x, d += 4, s += 4) {
      src[0] = s[0];
      src[1] = s[1];
      src[2] = s[2];
      src[3] = s[3];
      op(d, src, iw);
    }
  });
}

void CopyRows(const BlitArea& a) {
  const std::size_t bytes = std::size_t(a.columns) * 4;
  // memmove: a bitmap may be blitted onto itself.
  ForEachRow(a, [&](std::uint8_t* d, const std::uint8_t* s) { std::memmove(d, s, bytes); });
}

// Weight exactly 0.5: a per-byte average of whole pixels, each half rounded
// down.
void AverageRows(const BlitArea& a) {
  ForEachRow(a, [&](std::uint8_t* d, const std::uint8_t* s) {
    for (int x = 0; x < a.columns; ++x) {
      std::uint32_t sp, dp;
      std::memcpy(&sp, s + 4 * x, 4);
      std::memcpy(&dp, d + 4 * x, 4);
      const std::uint32_t out = ((sp >> 1) & 0x7F7F7F7Fu) + ((dp >> 1) & 0x7F7F7F7Fu);
      std::memcpy(d + 4 * x, &out, 4);
    }
  });
}

void ChannelCopy(const BlitArea& a, int mode) {
  const int to = (mode >> 2) & 3;
  const int from = mode & 3;
  ForEachRow(a, [&](std::uint8_t* d, const std::uint8_t* s) {
    for (int x = 0; x < a.columns; ++x) d[4 * x + to] = s[4 * x + from];
  });
}

void PlainCopy(const BlitArea& a, int iw) {
  if (iw == 256) return CopyRows(a);
  if (iw < 0) return;
  if (iw < 256) {
    ForEachRow(a, [&](std::uint8_t* d, const std::uint8_t* s) {
      pixrows::CopyWeightedRow(d, s, a.columns, iw);
    });
    return;
  }
  ForEachPixel(a, iw, pixblend::CopyWeighted);
}

void AlphaCopy(const BlitArea& a, int iw) {
  if (iw == 256) {
    ForEachRow(a, [&](std::uint8_t* d, const std::uint8_t* s) {
      pixrows::AlphaCopyFullRow(d, s, a.columns);
    });
  } else if (iw > 0 && iw < 256) {
    ForEachRow(a, [&](std::uint8_t* d, const std::uint8_t* s) {
      pixrows::AlphaCopyWeightedRow(d, s, a.columns, iw);
    });
  } else {
    ForEachPixel(a, iw, pixblend::AlphaCopyWeighted);
  }
}

}  // namespace

void PIX_BlendBlit(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY,
                   const PIX_Rect* srcRect, float weight, int mode) {
  if (!dest || !src || weight == 0.0f) return;
  BlitArea area;
  if (!ClipArea(dest, src, dstX, dstY, srcRect, area)) return;

  if ((mode & 0xFF) >= BlitChannelCopy) return ChannelCopy(area, mode);
  const int op = mode & (BlitUseAlpha | 0xFF);
  if (op == BlitCopy && weight == 1.0f) return CopyRows(area);
  if (op == BlitCopy && weight == 0.5f) return AverageRows(area);
  const int iw = pixblend::IntWeight(weight, pixblend::kMaxBlitIntWeight);
  if (iw == 0) return;
  switch (op) {
    case BlitCopy: return PlainCopy(area, iw);
    case BlitCopy | BlitUseAlpha: return AlphaCopy(area, iw);
    case BlitAdd: return ForEachPixel(area, iw, pixblend::Add);
    case BlitAdd | BlitUseAlpha: return ForEachPixel(area, iw, pixblend::AddAlpha);
    case BlitDodge: return ForEachPixel(area, iw, pixblend::Dodge);
    case BlitDodge | BlitUseAlpha: return ForEachPixel(area, iw, pixblend::DodgeAlpha);
    case BlitMultiply: return ForEachPixel(area, iw, pixblend::Multiply);
    case BlitMultiply | BlitUseAlpha: return ForEachPixel(area, iw, pixblend::MultiplyAlpha);
    case BlitOverlay: return ForEachPixel(area, iw, pixblend::Overlay);
    case BlitOverlay | BlitUseAlpha: return ForEachPixel(area, iw, pixblend::OverlayAlpha);
    case BlitHsvAdjust: return ForEachPixel(area, iw, pixblend::HsvAdjust);
    case BlitHsvAdjust | BlitUseAlpha: return ForEachPixel(area, iw, pixblend::HsvAdjustAlpha);
    default: return;
  }
}
