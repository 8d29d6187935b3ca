#pragma once
#include <cstddef>
#include <cstring>

// Copies NUL-terminated text into a fixed field, cutting it to fit and always
// terminating. A null source gives the empty text.
inline void CopyFixedText(char* dst, std::size_t capacity, const char* src) {
  if (!dst || capacity == 0) return;
  std::size_t n = 0;
  if (src) {
    while (n + 1 < capacity && src[n] != '\0') ++n;
    std::memcpy(dst, src, n);
  }
  dst[n] = '\0';
}

template <std::size_t N>
inline void CopyFixedText(char (&dst)[N], const char* src) {
  CopyFixedText(dst, N, src);
}
