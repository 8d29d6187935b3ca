#pragma once

#include "pix/PIX_BlendMode.h"
#include "pix/PIX_IBitmap.h"
#include "pix/PIX_Rect.h"

// Composites the area srcRect of src (the whole of src when srcRect is null)
// into dest with its top-left corner at (dstX, dstY), with weight (1.0 full
// strength) and the blend mode word `mode` (PIX_BlendMode.h). The area is
// clipped to both bitmaps: a source rectangle reaching left of or above the
// source shifts the drawing instead, and a negative destination point draws
// only the visible part. Weight 0, an empty area or a bitmap without pixels
// draws nothing; bottom-up bitmaps are addressed as such.
// Thread: whichever thread owns dest (the editor's window thread); src is
// only read.
void PIX_BlendBlit(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY,
                   const PIX_Rect* srcRect, float weight, int mode);
