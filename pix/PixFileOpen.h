#pragma once

#include <cstdio>

// Opens the file at `path` (UTF-8) for binary reading; null when it cannot be
// opened. On Windows the path is converted to UTF-16 first, with the narrow
// path as the fallback. Any thread.
std::FILE* PIX_OpenFileForReading(const char* path);
