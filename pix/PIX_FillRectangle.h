#pragma once

#include "pix/PIX_BlendMode.h"
#include "pix/PIX_IBitmap.h"

// Fills the rectangle (x, y, w, h) of dest with `colour` at `weight`, blended
// by the low byte of `mode` (PIX_BlendMode.h); with BlitUseAlpha the weight is
// first scaled by the colour's alpha. Clipped to the bitmap; bottom-up
// bitmaps are addressed as such.
// Thread: whichever thread owns dest (the editor's window thread).
void PIX_FillRectangle(PIX_IBitmap* dest, int x, int y, int w, int h, Pixel32 colour, float weight,
                       int mode);
