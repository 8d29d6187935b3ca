#pragma once

// Row kernels for the blits the editor draws on every redraw: the weighted
// plain copy and the alpha copy at full and partial weight. They produce the
// same bytes as the per-pixel operations of BlendPixel.h, four pixels at a
// time with SSE2 (the x86-64 baseline), the rest one at a time.

#include <cstdint>

namespace pixrows {

// Plain copy for 0 < iw < 256.
void CopyWeightedRow(std::uint8_t* d, const std::uint8_t* s, int pixels, int iw);
// Alpha copy at full weight.
void AlphaCopyFullRow(std::uint8_t* d, const std::uint8_t* s, int pixels);
// Alpha copy for 0 < iw < 256.
void AlphaCopyWeightedRow(std::uint8_t* d, const std::uint8_t* s, int pixels, int iw);

}  // namespace pixrows
