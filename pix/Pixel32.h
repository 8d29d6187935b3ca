#pragma once

#include <cstdint>

// One pixel: bytes blue, green, red, alpha in memory, so read as a
// little-endian 32-bit value it is A<<24 | R<<16 | G<<8 | B. Colour channels
// are straight, not premultiplied by alpha; alpha 255 is opaque.
using Pixel32 = std::uint32_t;

// Byte positions of the channels inside a pixel in memory.
enum PIX_Channel : int { PIX_Blue = 0, PIX_Green = 1, PIX_Red = 2, PIX_Alpha = 3 };

constexpr Pixel32 PIX_MakePixel(int r, int g, int b, int a) {
  return (Pixel32(a & 0xFF) << 24) | (Pixel32(r & 0xFF) << 16) | (Pixel32(g & 0xFF) << 8) |
         Pixel32(b & 0xFF);
}

constexpr int PIX_ChannelOf(Pixel32 p, int channel) { return int((p >> (8 * channel)) & 0xFF); }
