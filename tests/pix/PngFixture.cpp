#include "tests/pix/PngFixture.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace pngfixture {
namespace {

// The sample values of pixel (x, y) for a colour type and depth: varied
// enough that a swapped channel, row or pass shows.
int Sample(int x, int y, int channel, int bitDepth) {
  const int max = (1 << bitDepth) - 1;
  return (x * 37 + y * 101 + channel * 59 + x * y * 13) % (max + 1);
}

// Up to 16 entries, as many as the depth can index.
int PaletteSize(int bitDepth) { return bitDepth >= 4 ? 16 : 1 << bitDepth; }

png_color PaletteEntry(int i) {
  return png_color{png_byte(i * 16 + 3), png_byte(255 - i * 15), png_byte((i * 97) & 255)};
}

// tRNS for the palette leaves out the last entries: they stay opaque.
int PaletteAlphaCount(int bitDepth) { return PaletteSize(bitDepth) * 5 / 8; }
png_byte PaletteAlpha(int i) { return png_byte(i * 25); }

// The colour keyed out by tRNS for gray and RGB images, at the image's depth.
int KeySample(int channel, int bitDepth) { return Sample(1, 0, channel, bitDepth); }

int Channels(int colourType) {
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;  // palette index
  }
}

int PaletteIndex(int x, int y, int bitDepth) {
  return Sample(x, y, 0, bitDepth) % PaletteSize(bitDepth);
}

// Packs one row of samples at the image's depth, big-endian as PNG stores.
std::vector<png_byte> PackRow(const Spec& s, int y) {
  const int channels = Channels(s.colourType);
  const int bitsPerRow = s.width * channels * s.bitDepth;
  std::vector<png_byte> row(std::size_t((bitsPerRow + 7) / 8), 0);
  int bit = 0;
  for (int x = 0; x < s.width; ++x) {
    for (int c = 0; c < channels; ++c) {
      const int v = s.colourType == PNG_COLOR_TYPE_PALETTE ? PaletteIndex(x, y, s.bitDepth)
                                                           : Sample(x, y, c, s.bitDepth);
      if (s.bitDepth == 16) {
        row[std::size_t(bit / 8)] = png_byte(v >> 8);
        row[std::size_t(bit / 8 + 1)] = png_byte(v & 255);
      } else if (s.bitDepth == 8) {
        row[std::size_t(bit / 8)] = png_byte(v);
      } else {
        const int shift = 8 - s.bitDepth - bit % 8;
        row[std::size_t(bit / 8)] |= png_byte(v << shift);
      }
      bit += s.bitDepth;
    }
  }
  return row;
}

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

void NoFlush(png_structp) {}

int To8(int v, int bitDepth) {
  if (bitDepth == 16) return v >> 8;  // stripped to the high byte
  return v * 255 / ((1 << bitDepth) - 1);
}

std::uint32_t Crc(const std::uint8_t* p, std::size_t n) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

// libpng long-jumps here on an error: nothing in this frame has a destructor.
bool WriteAll(png_structp png, png_infop info, const Spec& s, png_bytep* rows,
              std::vector<std::uint8_t>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, Append, NoFlush);
  png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), s.bitDepth, s.colourType,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (s.colourType == PNG_COLOR_TYPE_PALETTE) {
    png_color palette[16];
    for (int i = 0; i < PaletteSize(s.bitDepth); ++i) palette[i] = PaletteEntry(i);
    png_set_PLTE(png, info, palette, PaletteSize(s.bitDepth));
    if (s.transparency) {
      png_byte alpha[16];
      for (int i = 0; i < PaletteAlphaCount(s.bitDepth); ++i) alpha[i] = PaletteAlpha(i);
      png_set_tRNS(png, info, alpha, PaletteAlphaCount(s.bitDepth), nullptr);
    }
  } else if (s.transparency) {
    png_color_16 key = {};
    key.gray = png_uint_16(KeySample(0, s.bitDepth));
    key.red = png_uint_16(KeySample(0, s.bitDepth));
    key.green = png_uint_16(KeySample(1, s.bitDepth));
    key.blue = png_uint_16(KeySample(2, s.bitDepth));
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::vector<std::uint8_t> Encode(const Spec& spec) {
  std::vector<std::uint8_t> out;
  std::vector<std::vector<png_byte>> rows;
  std::vector<png_bytep> pointers;
  for (int y = 0; y < spec.height; ++y) rows.push_back(PackRow(spec, y));
  for (auto& r : rows) pointers.push_back(r.data());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool ok = png && info && WriteAll(png, info, spec, pointers.data(), &out);
  png_destroy_write_struct(&png, &info);
  if (!ok) out.clear();
  return out;
}

std::vector<Pixel32> ExpectedPixels(const Spec& s) {
  std::vector<Pixel32> px;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      int r, g, b, a = 255;
      const int d = s.bitDepth;
      switch (s.colourType) {
        case PNG_COLOR_TYPE_PALETTE: {
          const int i = PaletteIndex(x, y, d);
          const png_color e = PaletteEntry(i);
          r = e.red, g = e.green, b = e.blue;
          if (s.transparency && i < PaletteAlphaCount(d)) a = PaletteAlpha(i);
          break;
        }
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_GRAY_ALPHA: {
          const int v = Sample(x, y, 0, d);
          r = g = b = To8(v, d);
          if (s.colourType == PNG_COLOR_TYPE_GRAY_ALPHA) a = To8(Sample(x, y, 1, d), d);
          if (s.transparency && v == KeySample(0, d)) a = 0;
          break;
        }
        default: {
          const int sr = Sample(x, y, 0, d), sg = Sample(x, y, 1, d), sb = Sample(x, y, 2, d);
          r = To8(sr, d), g = To8(sg, d), b = To8(sb, d);
          if (s.colourType == PNG_COLOR_TYPE_RGB_ALPHA) a = To8(Sample(x, y, 3, d), d);
          if (s.transparency && sr == KeySample(0, d) && sg == KeySample(1, d) && sb == KeySample(2, d))
            a = 0;
          break;
        }
      }
      px.push_back(PIX_MakePixel(r, g, b, a));
    }
  }
  return px;
}

std::size_t FindChunk(const std::vector<std::uint8_t>& png, const char* type) {
  std::size_t at = 8;
  while (at + 8 <= png.size()) {
    const std::uint32_t length = std::uint32_t(png[at]) << 24 | std::uint32_t(png[at + 1]) << 16 |
                                 std::uint32_t(png[at + 2]) << 8 | png[at + 3];
    if (std::memcmp(&png[at + 4], type, 4) == 0) return at;
    at += 12 + length;
  }
  return std::string::npos;
}

std::vector<std::uint8_t> Chunk(const char* type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out;
  PutBigEndian(out, std::uint32_t(data.size()));
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc(out.data() + 4, data.size() + 4));
  return out;
}

// Signature, an IHDR for an 8-bit RGBA image of the given size and the start
// of an IDAT: enough for the decoder to read the header and size its bitmap.
std::vector<std::uint8_t> HeaderOnly(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> out = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<std::uint8_t> ihdr;
  PutBigEndian(ihdr, width);
  PutBigEndian(ihdr, height);
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  const auto a = Chunk("IHDR", ihdr);
  const auto b = Chunk("IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00});
  out.insert(out.end(), a.begin(), a.end());
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

}  // namespace pngfixture
