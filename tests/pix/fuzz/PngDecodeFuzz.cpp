// libFuzzer target for the in-memory PNG decoder: any byte string must either
// decode into a bitmap whose every pixel can be read, or give null, without
// a memory error or a leak. Built by scripts/pix-fuzz, not by the default
// build.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "pix/PIX_PngReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > std::size_t(INT_MAX)) return 0;
  std::unique_ptr<PIX_MemBitmap> bitmap(PIX_DecodePngMemory(data, int(size)));
  if (!bitmap) return 0;
  // Read every pixel, so a short buffer or wrong row span shows.
  Pixel32 sum = 0;
  for (int y = 0; y < bitmap->Height(); ++y)
    for (int x = 0; x < bitmap->Width(); ++x) sum += bitmap->PixelData()[y * bitmap->RowSpan() + x];
  volatile Pixel32 sink = sum;
  (void)sink;
  return 0;
}
