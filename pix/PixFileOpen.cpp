#include "pix/PixFileOpen.h"

// Elsewhere than Windows the C library takes UTF-8 paths as they are.
std::FILE* PIX_OpenFileForReading(const char* path) { return std::fopen(path, "rb"); }
