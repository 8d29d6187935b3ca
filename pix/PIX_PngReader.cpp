#include "pix/PIX_PngReader.h"

#include <png.h>

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/plugbase/Trace.h"
#include "pix/PIX_ImageReader.h"
#include "pix/PixFileOpen.h"

namespace {

const unsigned char kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

struct MemoryCursor {
  const unsigned char* next;
  int remaining;
  std::size_t pastEnd;  // zero bytes handed out beyond the data
};

// How many zero bytes past the end a stream may consume before reading is
// an error. A truncated stream fails in libpng within a few bytes; without a
// bound, a chunk length pointing far past the end would have libpng checksum
// up to 2 GB of zeros before failing all the same.
constexpr std::size_t kMaxPastEnd = 64 * 1024;

// Everything one decode owns. It lives in the caller's frame, outside the
// function that sets the long-jump target, so that after a libpng error the
// caller still sees every pointer and releases it.
struct PngDecode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::FILE* file = nullptr;
  PIX_IBitmap* bitmap = nullptr;
  bool ownsBitmap = false;
  png_bytep* rows = nullptr;
  int width = 0;
  int height = 0;
};

// Asked for n bytes, hands out what is left and zeros past the end, so a
// truncated stream fails inside libpng's own checks.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
  MemoryCursor* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
  const png_size_t take = n < png_size_t(cursor->remaining) ? n : png_size_t(cursor->remaining);
  cursor->pastEnd += n - take;
  // Checked before the buffer is touched: libpng reads a whole ancillary
  // chunk in one request, and zero-filling a claimed 2 GB would cost seconds
  // and gigabytes for a stream that fails all the same. Long-jumps out of
  // here; this frame holds nothing to destroy.
  if (cursor->pastEnd > kMaxPastEnd) png_error(png, "Read past the end of the data");
  std::memset(out, 0, n);
  std::memcpy(out, cursor->next, take);
  cursor->next += take;
  cursor->remaining -= int(take);
}

// Every image arrives as four bytes per pixel, alpha (or an opaque filler)
// first, then R, G, B.
void RequestTransformations(png_structp png, png_infop info, int bitDepth, int colourType) {
  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  if ((colourType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
}

// Sizes the result and points one row pointer at each of its rows, image row
// 0 at the last row in memory for a bottom-up bitmap.
bool PrepareRows(PngDecode* job) {
  if (!job->bitmap) {
    job->bitmap = new (std::nothrow) PIX_MemBitmap;
    if (!job->bitmap) return false;
    job->ownsBitmap = true;
  }
  job->bitmap->SetSize(job->width, job->height);
  if (job->bitmap->Width() != job->width || job->bitmap->Height() != job->height) return false;
  unsigned char* pixels = reinterpret_cast<unsigned char*>(job->bitmap->PixelData());
  if (!pixels || job->bitmap->RowSpan() < job->width) return false;
  job->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * std::size_t(job->height)));
  if (!job->rows) return false;
  const std::ptrdiff_t span = std::ptrdiff_t(job->bitmap->RowSpan()) * 4;
  const bool bottomUp = job->bitmap->IsBottomUp();
  for (int y = 0; y < job->height; ++y) {
    const int memoryRow = bottomUp ? job->height - 1 - y : y;
    job->rows[y] = pixels + std::ptrdiff_t(memoryRow) * span;
  }
  return true;
}

// Runs libpng from the header to the last row. libpng reports every error by
// a long jump back into this frame, which has nothing with a destructor and
// no local that changes after setjmp; all it allocates is recorded in *job.
bool ReadImage(PngDecode* job) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_read_info(job->png, job->info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(job->png, job->info, &width, &height, &bitDepth, &colourType, &interlace,
               &compression, &filter);
  if (width == 0 || height == 0 || width > INT_MAX || height > INT_MAX) return false;
  job->width = int(width);
  job->height = int(height);
  RequestTransformations(job->png, job->info, bitDepth, colourType);
  // Updating the header info lets the row size be checked against the four
  // bytes per pixel the rows were sized for, before libpng writes into them.
  png_set_interlace_handling(job->png);
  png_read_update_info(job->png, job->info);
  if (png_get_rowbytes(job->png, job->info) != png_size_t(width) * 4) return false;
  if (!PrepareRows(job)) return false;
  png_read_image(job->png, job->rows);
  return true;
}

// Decoded A, R, G, B bytes become B, G, R, A: a byte reversal of each pixel.
void ConvertToPixel32(PIX_IBitmap* bitmap, int width, int height) {
  unsigned char* row = reinterpret_cast<unsigned char*>(bitmap->PixelData());
  const std::ptrdiff_t span = std::ptrdiff_t(bitmap->RowSpan()) * 4;
  for (int y = 0; y < height; ++y, row += span) {
    unsigned char* p = row;
    for (int x = 0; x < width; ++x, p += 4) {
      const unsigned char a = p[0], r = p[1], g = p[2], b = p[3];
      p[0] = b;
      p[1] = g;
      p[2] = r;
      p[3] = a;
    }
  }
}

constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

bool CreateReader(PngDecode* job) {
  // The version string of the libpng actually built against and linked.
  job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!job->png) return false;
  // libpng allocates and clears whatever length an ancillary chunk claims
  // before reading it, so a few bytes claiming 2 GB would cost that much
  // memory. The pixels need no ancillary chunk but tRNS (no gamma, background
  // or colour-space handling is asked for): every other one is skipped as it
  // is read, and anything still buffered is bounded. Image data is streamed.
  png_set_keep_unknown_chunks(job->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_chunk_malloc_max(job->png, kMaxChunkBytes);
  job->info = png_create_info_struct(job->png);
  return job->info != nullptr;
}

// Releases the decode in the order libpng, file, pixels; returns the bitmap
// on success. A bitmap passed in by the caller is never deleted here.
PIX_IBitmap* FinishDecode(PngDecode* job, bool ok) {
  if (job->png) png_destroy_read_struct(&job->png, job->info ? &job->info : nullptr, nullptr);
  if (job->file) std::fclose(job->file);
  job->file = nullptr;
  if (ok) ConvertToPixel32(job->bitmap, job->width, job->height);
  std::free(job->rows);
  job->rows = nullptr;
  if (ok) return job->bitmap;
  if (job->ownsBitmap) delete job->bitmap;
  job->bitmap = nullptr;
  return nullptr;
}

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char ca = *a, cb = *b;
    if (ca >= 'A' && ca <= 'Z') ca = char(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = char(cb - 'A' + 'a');
    if (ca != cb) return false;
  }
  return *a == *b;
}

// ".png" in any case from the last '\', '/' or '.' on (or the whole path when
// it has none).
bool HasPngExtension(const char* path) {
  const std::size_t length = std::strlen(path);
  if (length == 0) return false;
  std::size_t at = length - 1;
  while (at > 0 && path[at] != '\\' && path[at] != '/' && path[at] != '.') --at;
  return EqualsIgnoringCase(path + at, ".png");
}

ImageReaderEntry gPngReader = {PIX_OpenPngFile, PIX_PngFilterText, nullptr};

// The PNG reader joins the list while the module initialises.
const bool gPngReaderRegistered = (PIX_RegisterImageReader(&gPngReader), true);

}  // namespace

PIX_MemBitmap* PIX_DecodePngMemory(const void* data, int length) {
  TORVA_TRACE_OP("PIX_DecodePngMemory", "%d", length);
  if (!data || length <= 7 || std::memcmp(data, kSignature, sizeof kSignature) != 0) return nullptr;
  PngDecode job;
  if (!CreateReader(&job)) {
    FinishDecode(&job, false);
    return nullptr;
  }
  MemoryCursor cursor = {static_cast<const unsigned char*>(data), length, 0};
  png_set_read_fn(job.png, &cursor, ReadFromMemory);
  const bool ok = ReadImage(&job);
  return static_cast<PIX_MemBitmap*>(FinishDecode(&job, ok));
}

PIX_IBitmap* PIX_DecodePngFile(const char* path, PIX_IBitmap* bitmap) {
  if (!path) return nullptr;
  TORVA_TRACE_OP("PIX_DecodePngFile", "%s", path);
  PngDecode job;
  job.file = PIX_OpenFileForReading(path);
  if (!job.file) return nullptr;
  job.bitmap = bitmap;
  if (!CreateReader(&job)) {
    FinishDecode(&job, false);
    return nullptr;
  }
  png_init_io(job.png, job.file);
  const bool ok = ReadImage(&job);
  return FinishDecode(&job, ok);
}

PIX_IBitmap* PIX_OpenPngFile(const char* path, bool checkExtension, PIX_IBitmap* bitmap) {
  if (!path) return nullptr;
  if (checkExtension && !HasPngExtension(path)) return nullptr;
  return PIX_DecodePngFile(path, bitmap);
}

const char* PIX_PngFilterText() { return "PNG files (*.PNG)\0*.PNG\0"; }

bool PIX_IsPngResourceName(const char* name) {
  if (!name || !*name) return false;
  std::size_t at = std::strlen(name) - 1;
  while (at > 0 && name[at] != '.') --at;
  return EqualsIgnoringCase(name + at + 1, "png");
}
