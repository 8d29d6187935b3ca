// The two blits of every editor redraw, the library's path against the plain
// scalar formulas: the alpha-weighted copy of a 475 x 376 control frame onto
// the 702 x 436 editor surface at weight 1.0 and 0.25 (a grayed control), and
// the opaque copy of the whole surface. Before measuring, each pair is run
// once on equal inputs and must leave identical bytes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pix/PIX_BlendBlit.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"
#include "tests/pix/PixReference.h"

namespace {

constexpr int kSurfaceW = 702, kSurfaceH = 436;
constexpr int kFrameW = 475, kFrameH = 376;
constexpr int kFrameX = 113, kFrameY = 30;

Pixel32& At(PIX_IBitmap& b, int x, int y) { return b.PixelData()[y * b.RowSpan() + x]; }

// A knob-like frame: an opaque disc with an anti-aliased rim, a soft shadow
// ring around it, and transparent corners.
void DrawFrame(PIX_IBitmap& f) {
  const double cx = kFrameW / 2.0, cy = kFrameH / 2.0;
  for (int y = 0; y < kFrameH; ++y) {
    for (int x = 0; x < kFrameW; ++x) {
      const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      int alpha;
      if (r < 158) alpha = 255;
      else if (r < 160) alpha = int(255 * (160 - r) / 2) | 0x80;
      else if (r < 180) alpha = int(90 * (180 - r) / 20);
      else alpha = 0;
      const int shade = int(128 + 100 * std::sin(x * 0.05) * std::cos(y * 0.04));
      At(f, x, y) = PIX_MakePixel(shade, (shade * 3) & 255, 255 - shade, alpha);
    }
  }
}

void DrawBackground(PIX_IBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) At(b, x, y) = PIX_MakePixel(x & 255, y & 255, (x ^ y) & 255, 255);
}

struct Scene {
  PIX_MemBitmap frame;
  PIX_MemBitmap background;
  PIX_SysBitmap surface{kSurfaceW, kSurfaceH};
  Scene() {
    frame.SetSize(kFrameW, kFrameH);
    background.SetSize(kSurfaceW, kSurfaceH);
    DrawFrame(frame);
    DrawBackground(background);
    DrawBackground(surface);
  }
};

void ProductAlphaCopy(Scene& s, float w) {
  PIX_BlendBlit(&s.surface, &s.frame, kFrameX, kFrameY, nullptr, w, BlitCopy | BlitUseAlpha);
}
void ScalarAlphaCopy(Scene& s, float w) {
  pixref::BlendArea(&s.surface, &s.frame, kFrameX, kFrameY, w, BlitCopy | BlitUseAlpha);
}
void ProductOpaqueCopy(Scene& s) { PIX_BlendBlit(&s.surface, &s.background, 0, 0, nullptr, 1.0f, BlitCopy); }
void ScalarOpaqueCopy(Scene& s) { pixref::BlendArea(&s.surface, &s.background, 0, 0, 1.0f, BlitCopy); }

bool SameSurface(Scene& a, Scene& b) {
  for (int y = 0; y < kSurfaceH; ++y)
    if (std::memcmp(&At(a.surface, 0, y), &At(b.surface, 0, y), kSurfaceW * 4) != 0) return false;
  return true;
}

// Both versions, three times over the same start, must give the same bytes.
template <typename Product, typename Scalar>
void RequireIdentical(const char* what, Product product, Scalar scalar) {
  Scene a, b;
  // Start from a surface that is not the background's copy.
  PIX_BlendBlit(&a.surface, &a.frame, 0, 0, nullptr, 0.6f, BlitCopy | BlitUseAlpha);
  PIX_BlendBlit(&b.surface, &b.frame, 0, 0, nullptr, 0.6f, BlitCopy | BlitUseAlpha);
  for (int i = 0; i < 3; ++i) {
    product(a);
    scalar(b);
  }
  if (!SameSurface(a, b)) {
    std::fprintf(stderr, "%s: the library's bytes differ from the scalar formulas\n", what);
    std::exit(1);
  }
  std::fprintf(stderr, "%s: identical bytes\n", what);
}

void AlphaCopy(benchmark::State& state, bool product, float weight) {
  Scene s;
  for (auto _ : state) {
    if (product) ProductAlphaCopy(s, weight);
    else ScalarAlphaCopy(s, weight);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrameW * kFrameH);
}

void OpaqueCopy(benchmark::State& state, bool product) {
  Scene s;
  for (auto _ : state) {
    if (product) ProductOpaqueCopy(s);
    else ScalarOpaqueCopy(s);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSurfaceW * kSurfaceH);
}

BENCHMARK_CAPTURE(AlphaCopy, weight_1_0_product, true, 1.0f);
BENCHMARK_CAPTURE(AlphaCopy, weight_1_0_scalar, false, 1.0f);
BENCHMARK_CAPTURE(AlphaCopy, weight_0_25_product, true, 0.25f);
BENCHMARK_CAPTURE(AlphaCopy, weight_0_25_scalar, false, 0.25f);
BENCHMARK_CAPTURE(OpaqueCopy, whole_surface_product, true);
BENCHMARK_CAPTURE(OpaqueCopy, whole_surface_scalar, false);

}  // namespace

int main(int argc, char** argv) {
  RequireIdentical("alpha copy 1.0", [](Scene& s) { ProductAlphaCopy(s, 1.0f); },
                   [](Scene& s) { ScalarAlphaCopy(s, 1.0f); });
  RequireIdentical("alpha copy 0.25", [](Scene& s) { ProductAlphaCopy(s, 0.25f); },
                   [](Scene& s) { ScalarAlphaCopy(s, 0.25f); });
  RequireIdentical("opaque copy", ProductOpaqueCopy, ScalarOpaqueCopy);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
