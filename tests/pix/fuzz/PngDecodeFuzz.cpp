// libFuzzer target for the in-memory PNG decoder: any byte string must either
// decode into a bitmap whose every pixel can be read, or give null, without
// a memory error or a leak. Built by scripts/pix-fuzz, not by the default
// build.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "pix/PIX_PngReader.h"

namespace {

std::uint32_t BigEndian(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Images the header declares larger than 256 K pixels are skipped: each would
// make the sanitizer map and poison gigabytes of shadow memory, slowing the
// run a hundredfold, while the size refusal itself is covered by the tests.
bool DeclaresHugeImage(const std::uint8_t* data, std::size_t size) {
  if (size < 24) return false;
  const std::uint64_t pixels = std::uint64_t(BigEndian(data + 16)) * BigEndian(data + 20);
  return pixels > (std::uint64_t(1) << 18);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > std::size_t(INT_MAX) || DeclaresHugeImage(data, size)) return 0;
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
