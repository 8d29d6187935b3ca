#pragma once

// Builds small PNG streams for the decoder tests with libpng's write API, and
// knows the pixels the decoder must produce from them.

#include <cstdint>
#include <string>
#include <vector>

#include "pix/Pixel32.h"

namespace pngfixture {

struct Spec {
  const char* name;
  int colourType;  // PNG_COLOR_TYPE_*
  int bitDepth;
  bool interlaced;
  bool transparency;  // a tRNS chunk
  int width = 9;
  int height = 7;
};

// The encoded stream; empty if libpng refused to write it.
std::vector<std::uint8_t> Encode(const Spec& spec);

// The pixels (image row by row, width * height values) a correct decoder
// yields for the stream Encode(spec) makes.
std::vector<Pixel32> ExpectedPixels(const Spec& spec);

// Chunk surgery on an encoded stream.
std::size_t FindChunk(const std::vector<std::uint8_t>& png, const char* type);
std::vector<std::uint8_t> Chunk(const char* type, const std::vector<std::uint8_t>& data);
std::vector<std::uint8_t> HeaderOnly(std::uint32_t width, std::uint32_t height);

}  // namespace pngfixture
