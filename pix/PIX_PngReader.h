#pragma once

#include "pix/PIX_IBitmap.h"
#include "pix/PIX_MemBitmap.h"

// PNG decoding into 32-bit pixels (Pixel32.h: bytes B, G, R, A, straight
// alpha); images without alpha or transparency come out opaque. Every loader
// keeps no shared state and can run on any thread; a corrupt, truncated or
// oversized image (whose pixel buffer would not fit in an int) gives null and
// leaves nothing allocated.

// Decodes the PNG stream of `length` bytes at `data` into a new bitmap the
// caller owns. The data is read in place, never copied or kept.
PIX_MemBitmap* PIX_DecodePngMemory(const void* data, int length);

// Decodes the PNG file at `path` (UTF-8). With `bitmap` given the image is
// decoded into it (it is resized; bottom-up bitmaps are honoured) and it is
// returned; otherwise a new PIX_MemBitmap is returned. On failure null; a
// bitmap passed in always stays the caller's.
PIX_IBitmap* PIX_DecodePngFile(const char* path, PIX_IBitmap* bitmap);

// As PIX_DecodePngFile; with `checkExtension` the path must first end in
// ".png" (any case) after its last '\', '/' or '.'.
PIX_IBitmap* PIX_OpenPngFile(const char* path, bool checkExtension, PIX_IBitmap* bitmap);

// The file-dialog filter: "PNG files (*.PNG)", NUL, "*.PNG", NUL.
const char* PIX_PngFilterText();

// The name test of the resource loader: the text after the last '.' (after
// the first character when there is none) equals "png" in any case.
bool PIX_IsPngResourceName(const char* name);
