// Clipping and row addressing of the blit: which destination pixels receive
// which source pixels, for top-down and bottom-up bitmaps alike.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "pix/PIX_BlendBlit.h"
#include "tests/pix/PixTestBitmaps.h"

using pixtest::At;
using pixtest::Tag;

namespace {

constexpr Pixel32 kUntouched = 0x12345678;
constexpr int kSrcW = 4, kSrcH = 3, kDstW = 6, kDstH = 5;

struct ClipCase {
  const char* name;
  int dstX, dstY;
  bool hasRect;
  PIX_Rect rect;
  // The visible result: destination area (left, top, width, height) and the
  // source pixel drawn at its corner; width 0 means nothing drawn.
  int outLeft, outTop, outW, outH, fromX, fromY;
};

const ClipCase kClipCases[] = {
    {"whole source inside", 1, 1, false, {}, 1, 1, 4, 3, 0, 0},
    {"source rectangle", 0, 0, true, {1, 1, 3, 3}, 0, 0, 2, 2, 1, 1},
    {"rectangle left of the source shifts right", 0, 0, true, {-2, 0, 3, 3}, 2, 0, 3, 3, 0, 0},
    {"rectangle above the source shifts down", 1, 0, true, {0, -1, 4, 2}, 1, 1, 4, 2, 0, 0},
    {"rectangle past the source is cut", 0, 0, true, {2, 1, 10, 10}, 0, 0, 2, 2, 2, 1},
    {"negative destination point", -1, -2, false, {}, 0, 0, 3, 1, 1, 2},
    {"cut at the right and bottom edges", 4, 3, false, {}, 4, 3, 2, 2, 0, 0},
    {"last pixel of the destination", 5, 4, false, {}, 5, 4, 1, 1, 0, 0},
    {"at the destination width", kDstW, 0, false, {}, 0, 0, 0, 0, 0, 0},
    {"at the destination height", 0, kDstH, false, {}, 0, 0, 0, 0, 0, 0},
    {"entirely left", -4, 0, false, {}, 0, 0, 0, 0, 0, 0},
    {"empty rectangle", 0, 0, true, {2, 0, 2, 3}, 0, 0, 0, 0, 0, 0},
    {"inverted rectangle", 0, 0, true, {0, 2, 4, 1}, 0, 0, 0, 0, 0, 0},
    {"rectangle beyond the source", 0, 0, true, {5, 0, 9, 3}, 0, 0, 0, 0, 0, 0},
    {"extreme coordinates", INT_MIN, INT_MAX, false, {}, 0, 0, 0, 0, 0, 0},
    {"extreme rectangle", 0, 0, true, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0, 0, 0, 0, 0, 0},
};

std::unique_ptr<PIX_MemBitmap> MakeBitmap(bool bottomUp) {
  if (bottomUp) return std::make_unique<pixtest::BottomUpBitmap>();
  return std::make_unique<PIX_MemBitmap>();
}

void CheckCase(const ClipCase& c, bool srcBottomUp, bool dstBottomUp) {
  SCOPED_TRACE(testing::Message() << c.name << (srcBottomUp ? ", bottom-up source" : "")
                                  << (dstBottomUp ? ", bottom-up destination" : ""));
  auto src = MakeBitmap(srcBottomUp);
  auto dst = MakeBitmap(dstBottomUp);
  src->SetSize(kSrcW, kSrcH);
  dst->SetSize(kDstW, kDstH);
  pixtest::FillTagged(*src);
  pixtest::Fill(*dst, kUntouched);
  PIX_BlendBlit(dst.get(), src.get(), c.dstX, c.dstY, c.hasRect ? &c.rect : nullptr, 1.0f, BlitCopy);
  for (int y = 0; y < kDstH; ++y) {
    for (int x = 0; x < kDstW; ++x) {
      const bool inside = x >= c.outLeft && x < c.outLeft + c.outW && y >= c.outTop && y < c.outTop + c.outH;
      const Pixel32 expected = inside ? Tag(c.fromX + x - c.outLeft, c.fromY + y - c.outTop) : kUntouched;
      ASSERT_EQ(At(*dst, x, y), expected) << "at " << x << "," << y;
    }
  }
}

TEST(BlitClipping, EveryCaseForEveryRowOrder) {
  for (const ClipCase& c : kClipCases)
    for (int order = 0; order < 4; ++order) CheckCase(c, order & 1, order & 2);
}

// The weighted kernels take the same clipped rows as the row copy.
TEST(BlitClipping, AlphaCopyUsesTheClippedArea) {
  PIX_MemBitmap src;
  pixtest::BottomUpBitmap dst;
  src.SetSize(kSrcW, kSrcH);
  dst.SetSize(kDstW, kDstH);
  pixtest::FillTagged(src);
  pixtest::Fill(dst, kUntouched);
  PIX_BlendBlit(&dst, &src, -1, 3, nullptr, 1.0f, BlitCopy | BlitUseAlpha);
  for (int y = 0; y < kDstH; ++y)
    for (int x = 0; x < kDstW; ++x) {
      const bool inside = x < 3 && y >= 3;
      EXPECT_EQ(At(dst, x, y), inside ? Tag(x + 1, y - 3) : kUntouched) << x << "," << y;
    }
}

TEST(BlitClipping, MissingBitmapsOrPixelsDrawNothing) {
  PIX_MemBitmap src, dst, empty;
  src.SetSize(2, 2);
  dst.SetSize(2, 2);
  pixtest::FillTagged(src);
  pixtest::Fill(dst, kUntouched);
  PIX_BlendBlit(nullptr, &src, 0, 0, nullptr, 1.0f, BlitCopy);
  PIX_BlendBlit(&dst, nullptr, 0, 0, nullptr, 1.0f, BlitCopy);
  PIX_BlendBlit(&dst, &empty, 0, 0, nullptr, 1.0f, BlitCopy);
  PIX_BlendBlit(&empty, &src, 0, 0, nullptr, 1.0f, BlitCopy);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(At(dst, x, y), kUntouched);
}

}  // namespace
