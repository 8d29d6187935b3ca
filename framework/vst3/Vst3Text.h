#pragma once
// UTF-16 text of the interface as our 8-bit texts see it: bytes widen one to
// one (no UTF-8 decoding), units narrow by keeping their low byte.
#include <cstddef>

#include "framework/vst3/Vst3Base.h"

namespace vst3 {

// Widens up to capacity - 1 bytes of src into dst, terminates, zero-fills
// the rest. A null src gives the empty text.
inline void WidenText(char16* dst, std::size_t capacity, const char* src) {
  if (!dst || capacity == 0) return;
  std::size_t n = 0;
  if (src) {
    for (; n + 1 < capacity && src[n] != '\0'; ++n) {
      dst[n] = static_cast<char16>(static_cast<unsigned char>(src[n]));
    }
  }
  for (std::size_t i = n; i < capacity; ++i) dst[i] = 0;
}

// Narrows up to capacity - 1 units of src into dst and terminates.
inline void NarrowText(char* dst, std::size_t capacity, const char16* src) {
  if (!dst || capacity == 0) return;
  std::size_t n = 0;
  if (src) {
    for (; n + 1 < capacity && src[n] != 0; ++n) dst[n] = static_cast<char>(src[n] & 0xFF);
  }
  dst[n] = '\0';
}

// Copies text into a fixed byte field: cut at the capacity (no terminator
// when it fills the field), rest zero-filled.
inline void CopyBytesField(char* dst, std::size_t capacity, const char* src) {
  std::size_t n = 0;
  if (src) {
    for (; n < capacity && src[n] != '\0'; ++n) dst[n] = src[n];
  }
  for (std::size_t i = n; i < capacity; ++i) dst[i] = 0;
}

}  // namespace vst3
