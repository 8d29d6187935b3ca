#include "pix/PIX_FillRectangle.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "pix/BlendPixel.h"
#include "pix/PixelWeight.h"

namespace {

struct FillArea {
  std::uint8_t* first;
  std::ptrdiff_t step;
  int columns;
  int rows;
};

template <typename PixelFn>
void ForEachPixel(const FillArea& a, PixelFn op) {
  std::uint8_t* row = a.first;
  for (int y = 0; y < a.rows; ++y, row += a.step)
    for (int x = 0; x < a.columns; ++x) op(row + 4 * x);
}

// Whole-pixel shortcuts for the four exact weights of a plain fill.
template <typename WordFn>
void ForEachWord(const FillArea& a, WordFn f) {
  ForEachPixel(a, [&](std::uint8_t* p) {
    std::uint32_t d;
    std::memcpy(&d, p, 4);
    d = f(d);
    std::memcpy(p, &d, 4);
  });
}

bool PlainFillShortcut(const FillArea& a, std::uint32_t c, int iw) {
  switch (iw) {
    case 256:
      ForEachWord(a, [c](std::uint32_t) { return c; });
      return true;
    case 128:
      ForEachWord(a, [c](std::uint32_t d) { return ((d >> 1) & 0x7F7F7F7Fu) + ((c >> 1) & 0x7F7F7F7Fu); });
      return true;
    case 64:
      ForEachWord(a, [c](std::uint32_t d) {
        return ((d >> 1) & 0x7F7F7F7Fu) + ((d >> 2) & 0x3F3F3F3Fu) + ((c >> 2) & 0x3F3F3F3Fu);
      });
      return true;
    case 192:
      ForEachWord(a, [c](std::uint32_t d) {
        return ((d >> 2) & 0x3F3F3F3Fu) + ((c >> 2) & 0x3F3F3F3Fu) + ((c >> 1) & 0x7F7F7F7Fu);
      });
      return true;
    default:
      return false;
  }
}

// Plain fill at other weights: colour channels move toward the colour, alpha
// toward the weight itself.
void PlainFill(const FillArea& a, const int* c, int iw) {
  if (iw <= 0) return;
  ForEachPixel(a, [&](std::uint8_t* d) {
    for (int ch = 0; ch < 3; ++ch)
      d[ch] = std::uint8_t(c[ch] + pixblend::Div256((d[ch] - c[ch]) * (256 - iw)));
    d[3] = std::uint8_t(iw + pixblend::Div256((d[3] - iw) * (256 - iw)));
  });
}

}  // namespace

void PIX_FillRectangle(PIX_IBitmap* dest, int x, int y, int w, int h, Pixel32 colour, float weight,
                       int mode) {
  if (!dest) return;
  if (mode & BlitUseAlpha) weight *= float(PIX_ChannelOf(colour, PIX_Alpha)) / 255.0f;
  long long left = x, top = y, width = w, height = h;
  if (left < 0) {
    width += left;
    left = 0;
  }
  if (top < 0) {
    height += top;
    top = 0;
  }
  std::uint8_t* pixels = reinterpret_cast<std::uint8_t*>(dest->PixelData());
  if (weight == 0.0f || !pixels || dest->RowSpan() == 0 || width <= 0 || height <= 0 ||
      left >= dest->Width() || top >= dest->Height())
    return;
  if (width > dest->Width() - left) width = dest->Width() - left;
  if (height > dest->Height() - top) height = dest->Height() - top;

  const std::ptrdiff_t span = std::ptrdiff_t(dest->RowSpan()) * 4;
  FillArea area;
  area.columns = int(width);
  area.rows = int(height);
  if (dest->IsBottomUp()) {
    // The rows are walked in memory order from the lowest one.
    area.first = pixels + std::ptrdiff_t(dest->Height() - top - height) * span + left * 4;
  } else {
    area.first = pixels + std::ptrdiff_t(top) * span + left * 4;
  }
  area.step = span;

  const int iw = pixblend::IntWeight(weight, pixblend::kMaxFillIntWeight);
  const int low = mode & 0xFF;
  if (low == BlitCopy && PlainFillShortcut(area, colour, iw)) return;
  if (iw == 0) return;
  // The colour as a source pixel whose alpha is the weight.
  const int src[4] = {PIX_ChannelOf(colour, PIX_Blue), PIX_ChannelOf(colour, PIX_Green),
                      PIX_ChannelOf(colour, PIX_Red), iw};
  switch (low) {
    case BlitCopy: return PlainFill(area, src, iw);
    case BlitAdd: return ForEachPixel(area, [&](std::uint8_t* d) { pixblend::Add(d, src, iw); });
    case BlitDodge: return ForEachPixel(area, [&](std::uint8_t* d) { pixblend::Dodge(d, src, iw); });
    case BlitMultiply: return ForEachPixel(area, [&](std::uint8_t* d) { pixblend::Multiply(d, src, iw); });
    case BlitOverlay: return ForEachPixel(area, [&](std::uint8_t* d) { pixblend::Overlay(d, src, iw); });
    case BlitHsvAdjust: return ForEachPixel(area, [&](std::uint8_t* d) { pixblend::HsvAdjust(d, src, iw); });
    default: return;
  }
}
