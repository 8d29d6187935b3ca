#pragma once

// The blend mode word passed with every blit and fill. The low byte selects
// the operation; BlitUseAlpha weights each pixel by the source alpha. Every
// other bit is ignored, and low bytes 6 to 0xEF draw nothing.
enum PIX_BlendMode : int {
  BlitCopy = 0,
  BlitAdd = 1,
  BlitDodge = 2,
  BlitMultiply = 3,
  BlitOverlay = 4,
  BlitHsvAdjust = 5,
  // 0xF0 to 0xFF: destination byte ((mode >> 2) & 3) takes source byte (mode & 3).
  BlitChannelCopy = 0xF0,
  BlitUseAlpha = 0x10000,
};

// The channel copy mode that writes source byte `srcByte` into destination
// byte `dstByte` (0 blue, 1 green, 2 red, 3 alpha).
constexpr int PIX_ChannelCopyMode(int dstByte, int srcByte) {
  return BlitChannelCopy | ((dstByte & 3) << 2) | (srcByte & 3);
}
