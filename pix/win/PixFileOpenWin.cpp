#include <windows.h>

#include <cstdio>

#include "pix/PixFileOpen.h"

std::FILE* PIX_OpenFileForReading(const char* path) {
  // The C library's narrow functions take the ANSI code page, so a UTF-8 name
  // with non-ASCII characters only opens through the wide function. A name
  // that is not valid UTF-8 (or too long) may still be a valid ANSI name.
  wchar_t wide[2048];
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, 2048) > 0) {
    if (std::FILE* file = _wfopen(wide, L"rb")) return file;
  }
  return std::fopen(path, "rb");
}
