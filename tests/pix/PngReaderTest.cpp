// PNG decoding from memory and from files: every colour type and depth, the
// reader's failures, and the extension tests of the entry points.
#include <gtest/gtest.h>

#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pix/PIX_ImageReader.h"
#include "pix/PIX_PngReader.h"
#include "pix/PIX_SysBitmap.h"
#include "tests/pix/PngFixture.h"
#include "tests/pix/PixTestBitmaps.h"

namespace fs = std::filesystem;
using pixtest::At;
using Bytes = std::vector<std::uint8_t>;

namespace {

const pngfixture::Spec kImages[] = {
    {"palette 8-bit", PNG_COLOR_TYPE_PALETTE, 8, false, false},
    {"palette 4-bit with tRNS", PNG_COLOR_TYPE_PALETTE, 4, false, true},
    {"palette 2-bit interlaced with tRNS", PNG_COLOR_TYPE_PALETTE, 2, true, true},
    {"gray 1-bit", PNG_COLOR_TYPE_GRAY, 1, false, false},
    {"gray 2-bit", PNG_COLOR_TYPE_GRAY, 2, false, false},
    {"gray 4-bit", PNG_COLOR_TYPE_GRAY, 4, false, false},
    {"gray 8-bit", PNG_COLOR_TYPE_GRAY, 8, false, false},
    {"gray 16-bit", PNG_COLOR_TYPE_GRAY, 16, false, false},
    {"gray 8-bit with tRNS", PNG_COLOR_TYPE_GRAY, 8, false, true},
    {"gray 2-bit interlaced", PNG_COLOR_TYPE_GRAY, 2, true, false},
    {"gray+alpha 8-bit", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
    {"gray+alpha 16-bit", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false},
    {"RGB 8-bit", PNG_COLOR_TYPE_RGB, 8, false, false},
    {"RGB 16-bit", PNG_COLOR_TYPE_RGB, 16, false, false},
    {"RGB 8-bit with tRNS", PNG_COLOR_TYPE_RGB, 8, false, true},
    {"RGBA 8-bit", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},
    {"RGBA 16-bit", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
    {"RGBA 8-bit interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false},
    {"RGB 16-bit interlaced 1x1", PNG_COLOR_TYPE_RGB, 16, true, false, 1, 1},
};

void ExpectImage(const PIX_IBitmap* b, const pngfixture::Spec& spec) {
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Width(), spec.width);
  ASSERT_EQ(b->Height(), spec.height);
  const std::vector<Pixel32> expected = pngfixture::ExpectedPixels(spec);
  for (int y = 0; y < spec.height; ++y)
    for (int x = 0; x < spec.width; ++x)
      ASSERT_EQ(At(*b, x, y), expected[std::size_t(y * spec.width + x)])
          << std::hex << "at " << std::dec << x << "," << y;
}

// A file in a folder of this test's own, so parallel test processes never
// share one.
fs::path TestFolder() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  fs::path dir = fs::temp_directory_path() / (std::string("torva_pix_") + info->name());
  fs::create_directories(dir);
  return dir;
}

std::string WriteFile(const fs::path& dir, const std::string& utf8Name, const Bytes& data) {
  const fs::path path = dir / fs::u8path(utf8Name);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  const auto u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

PIX_MemBitmap* DecodeBytes(const Bytes& b) {
  return PIX_DecodePngMemory(b.data(), int(b.size()));
}

TEST(PngDecode, EveryColourTypeAndDepthFromMemory) {
  for (const auto& spec : kImages) {
    SCOPED_TRACE(spec.name);
    const Bytes png = pngfixture::Encode(spec);
    ASSERT_FALSE(png.empty());
    std::unique_ptr<PIX_MemBitmap> b(DecodeBytes(png));
    ExpectImage(b.get(), spec);
  }
}

TEST(PngDecode, EveryColourTypeAndDepthFromFiles) {
  const fs::path dir = TestFolder();
  for (const auto& spec : kImages) {
    SCOPED_TRACE(spec.name);
    const std::string path = WriteFile(dir, "image.png", pngfixture::Encode(spec));
    std::unique_ptr<PIX_IBitmap> b(PIX_DecodePngFile(path.c_str(), nullptr));
    ExpectImage(b.get(), spec);
  }
  fs::remove_all(dir);
}

// Spot checks of the documented conversions, independent of the fixture's
// own expectation code.
TEST(PngDecode, KnownConversions) {
  const pngfixture::Spec gray2 = {"gray 2-bit", PNG_COLOR_TYPE_GRAY, 2, false, false};
  std::unique_ptr<PIX_MemBitmap> g(DecodeBytes(pngfixture::Encode(gray2)));
  ASSERT_NE(g, nullptr);
  // Sample (0,0) of channel 0 is 0 and (1,0) is 37 % 4 = 1: 0x00 and 0x55 on
  // the 8-bit scale, opaque, R = G = B.
  EXPECT_EQ(At(*g, 0, 0), 0xFF000000u);
  EXPECT_EQ(At(*g, 1, 0), 0xFF555555u);

  const pngfixture::Spec palette = {"palette", PNG_COLOR_TYPE_PALETTE, 8, false, true};
  std::unique_ptr<PIX_MemBitmap> p(DecodeBytes(pngfixture::Encode(palette)));
  ASSERT_NE(p, nullptr);
  // Index 0 at (0,0): colour (3, 255, 0), alpha 0 from tRNS; bytes B, G, R, A.
  const Pixel32 first = At(*p, 0, 0);
  unsigned char bytes[4];
  std::memcpy(bytes, &first, 4);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[1], 255);
  EXPECT_EQ(bytes[2], 3);
  EXPECT_EQ(bytes[3], 0);
}

TEST(PngDecode, BrokenStreamsGiveNull) {
  const pngfixture::Spec spec = {"RGBA", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false, 40, 30};
  const Bytes good = pngfixture::Encode(spec);
  const std::size_t idat = pngfixture::FindChunk(good, "IDAT");
  ASSERT_NE(idat, std::string::npos);

  Bytes truncated(good.begin(), good.begin() + std::ptrdiff_t(idat + 8 + 20));
  // The data of the image chunk intact, its checksum wrong.
  const std::size_t idatLength = std::size_t(good[idat + 2]) << 8 | good[idat + 3];
  Bytes badCrc = good;
  badCrc[idat + 8 + idatLength + 2] ^= 0x01;
  // A flipped bit in the compressed data.
  Bytes badData = good;
  badData[idat + 8 + 5] ^= 0x01;
  Bytes badSignature = good;
  badSignature[1] = 'Q';
  Bytes noEnd(good.begin(), good.end() - 12);  // IEND missing only
  // The stream ends inside an ancillary chunk that claims 16 MB, or 2 GB,
  // far past the end: refused before anything of that size is allocated.
  Bytes longChunk(good.begin(), good.begin() + std::ptrdiff_t(idat));
  const Bytes text = pngfixture::Chunk("tEXt", {'a', 0, 'b'});
  longChunk.insert(longChunk.end(), text.begin(), text.begin() + 8);
  longChunk[idat + 1] = 0x01;
  Bytes hugeChunk = longChunk;
  hugeChunk[idat] = 0x7F;
  hugeChunk[idat + 1] = 0xFF;
  struct Case {
    const char* name;
    const Bytes* data;
    int length;
  };
  const Bytes seven(good.begin(), good.begin() + 7);
  const Case cases[] = {
      {"truncated inside IDAT", &truncated, int(truncated.size())},
      {"bad CRC of IDAT", &badCrc, int(badCrc.size())},
      {"corrupt IDAT data", &badData, int(badData.size())},
      {"bad signature", &badSignature, int(badSignature.size())},
      {"seven bytes", &seven, 7},
      {"length below the data", &good, 7},
      {"negative length", &good, -5},
      {"chunk length far past the end", &longChunk, int(longChunk.size())},
      {"chunk claiming 2 GB", &hugeChunk, int(hugeChunk.size())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PIX_DecodePngMemory(c.data->data(), c.length), nullptr);
  }
  EXPECT_EQ(PIX_DecodePngMemory(nullptr, 100), nullptr);
  // Sanity: the unbroken stream decodes, and one without its end chunk
  // decodes too (the image data is complete).
  std::unique_ptr<PIX_MemBitmap> ok(DecodeBytes(good));
  ExpectImage(ok.get(), spec);
  std::unique_ptr<PIX_MemBitmap> tail(DecodeBytes(noEnd));
  ExpectImage(tail.get(), spec);

  const fs::path dir = TestFolder();
  for (const Bytes* data : std::initializer_list<const Bytes*>{&truncated, &badCrc, &badSignature, &seven}) {
    const std::string path = WriteFile(dir, "broken.png", *data);
    EXPECT_EQ(PIX_DecodePngFile(path.c_str(), nullptr), nullptr);
  }
  EXPECT_EQ(PIX_DecodePngFile((dir / "missing.png").string().c_str(), nullptr), nullptr);
  EXPECT_EQ(PIX_DecodePngFile(nullptr, nullptr), nullptr);
  fs::remove_all(dir);
}

// An image whose pixel buffer would not fit in an int is refused before any
// pixel is allocated, never allocated short.
TEST(PngDecode, OversizedImagesAreRefused) {
  const Bytes huge = pngfixture::HeaderOnly(40000, 40000);
  EXPECT_EQ(PIX_DecodePngMemory(huge.data(), int(huge.size())), nullptr);

  const fs::path dir = TestFolder();
  const std::string path = WriteFile(dir, "huge.png", huge);
  PIX_MemBitmap mine;
  mine.SetSize(3, 3);
  EXPECT_EQ(PIX_DecodePngFile(path.c_str(), &mine), nullptr);
  // The decoder asked the bitmap for the image's size, which it refused.
  EXPECT_EQ(mine.Width(), 0);
  EXPECT_EQ(mine.PixelData(), nullptr);
  fs::remove_all(dir);
}

TEST(PngDecode, IntoTheCallersBitmap) {
  const fs::path dir = TestFolder();
  const pngfixture::Spec spec = {"RGBA", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false, 11, 6};
  const std::string good = WriteFile(dir, "good.png", pngfixture::Encode(spec));

  PIX_MemBitmap mem;
  EXPECT_EQ(PIX_DecodePngFile(good.c_str(), &mem), &mem);
  ExpectImage(&mem, spec);

  pixtest::BottomUpBitmap upside;
  EXPECT_EQ(PIX_DecodePngFile(good.c_str(), &upside), &upside);
  ExpectImage(&upside, spec);

  PIX_SysBitmap surface(32, 32);
  EXPECT_EQ(PIX_DecodePngFile(good.c_str(), &surface), &surface);
  ExpectImage(&surface, spec);

  // A failed decode leaves the bitmap with the caller, alive and usable.
  Bytes broken = pngfixture::Encode(spec);
  broken.resize(broken.size() / 2);
  const std::string bad = WriteFile(dir, "bad.png", broken);
  PIX_MemBitmap kept;
  EXPECT_EQ(PIX_DecodePngFile(bad.c_str(), &kept), nullptr);
  EXPECT_TRUE(kept.SetSize(2, 2));
  pixtest::FillTagged(kept);
  EXPECT_EQ(At(kept, 1, 1), pixtest::Tag(1, 1));
  fs::remove_all(dir);
}

TEST(PngDecode, Utf8FileNames) {
  const fs::path dir = TestFolder();
  const pngfixture::Spec spec = {"gray", PNG_COLOR_TYPE_GRAY, 8, false, false, 3, 2};
  const std::string path = WriteFile(dir, "gr\xC3\xBC\xC3\x9F-\xE2\x82\xAC.png", pngfixture::Encode(spec));
  std::unique_ptr<PIX_IBitmap> b(PIX_DecodePngFile(path.c_str(), nullptr));
  ExpectImage(b.get(), spec);
  fs::remove_all(dir);
}

TEST(PngOpen, ExtensionCheck) {
  const fs::path dir = TestFolder();
  const pngfixture::Spec spec = {"gray", PNG_COLOR_TYPE_GRAY, 8, false, false, 2, 2};
  const Bytes png = pngfixture::Encode(spec);
  struct Case {
    const char* name;
    bool passes;
  };
  const Case cases[] = {
      {"a.png", true},  {"B.PNG", true},     {"c.Png", true},    {"d.png.bak", false},
      {"epng", false},  {"f.pn", false},     {"g.pngx", false},  {"h.jpg", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = WriteFile(dir, c.name, png);
    std::unique_ptr<PIX_IBitmap> checked(PIX_OpenPngFile(path.c_str(), true, nullptr));
    EXPECT_EQ(checked != nullptr, c.passes);
    // Without the check every one of them decodes.
    std::unique_ptr<PIX_IBitmap> unchecked(PIX_OpenPngFile(path.c_str(), false, nullptr));
    EXPECT_NE(unchecked, nullptr);
  }
  // The test stops at the last separator: a folder named like a PNG does not
  // make a file without extension pass.
  fs::create_directories(dir / "x.png");
  const std::string inFolder = WriteFile(dir / "x.png", "png", png);
  EXPECT_EQ(PIX_OpenPngFile(inFolder.c_str(), true, nullptr), nullptr);
  const std::string backslash = (dir / "x.png").string() + "\\png";
  EXPECT_EQ(PIX_OpenPngFile(backslash.c_str(), true, nullptr), nullptr);
  EXPECT_EQ(PIX_OpenPngFile("", true, nullptr), nullptr);
  EXPECT_EQ(PIX_OpenPngFile(nullptr, false, nullptr), nullptr);
  fs::remove_all(dir);
}

TEST(PngOpen, ResourceNameCheck) {
  struct Case {
    const char* name;
    bool passes;
  };
  const Case cases[] = {
      {"BG.png", true},      {"MIC.Png", true}, {"knob.PNG", true}, {".png", true},
      {"BG", false},         {"png", false},    {"a.png.bak", false}, {"", false},
      // Without a dot the text after the first character is tested.
      {"xpng", true},
  };
  for (const Case& c : cases) EXPECT_EQ(PIX_IsPngResourceName(c.name), c.passes) << c.name;
  EXPECT_FALSE(PIX_IsPngResourceName(nullptr));
}

// The decoder hands libpng the version of the header it was compiled with;
// that must be the library linked, or libpng refuses to create its reader.
TEST(PngDecode, HeaderAndLinkedLibraryAgree) {
  EXPECT_EQ(png_access_version_number(), png_uint_32(PNG_LIBPNG_VER));
  EXPECT_STREQ(png_get_libpng_ver(nullptr), PNG_LIBPNG_VER_STRING);
}

TEST(PngOpen, ReaderListAndFilterText) {
  const ImageReaderEntry* png = nullptr;
  for (const ImageReaderEntry* e = PIX_ImageReaders(); e; e = e->next)
    if (e->open == PIX_OpenPngFile) png = e;
  ASSERT_NE(png, nullptr);
  ASSERT_EQ(png->filterText, PIX_PngFilterText);
  static const char kFilter[] = "PNG files (*.PNG)\0*.PNG\0";
  EXPECT_EQ(std::memcmp(png->filterText(), kFilter, sizeof kFilter), 0);
}

}  // namespace
