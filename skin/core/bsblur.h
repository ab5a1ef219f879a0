// Blurring a skin bitmap and giving it alpha from a grey-level mask.
#pragma once

#include "skin/core/bsbitmap.h"

// Triangle kernel of width 2 * Radius + 1 (weights Radius + 1 - |i|), edges repeated, applied along rows
// and then along columns, each pass dividing by (Radius + 1)^2 with truncation. Blue, green and red are
// blurred; every alpha becomes 255. Nothing for Radius <= 0.
void StackBlurBitmap(TbsBitmap* Bitmap, Integer Radius);
// Alpha of each pixel := (red + green + blue) div 3 of the same mask pixel. Only the part that the mask
// covers is changed, so a smaller mask is never read past its edges.
void AlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask);
// AlphaFromMask, then the colours premultiplied (CheckRGBA2).
void AlphaFromMaskPremultiplied(TbsBitmap* Bitmap, TbsBitmap* Mask);
