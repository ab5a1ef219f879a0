// Hue, saturation and lightness of skin colours. Every named intermediate is a 32-bit float, each
// expression evaluated in higher precision before it is stored; rounding is to nearest, halves to even.
// Results are opaque (alpha 255).
#pragma once

#include "skin/core/bsbitmap.h"

void BsColorToHSL(TbsColor Color, Single& H, Single& S, Single& L);
TbsColor HSLToBsColor(Single H, Single S, Single L);
// One channel for hue h between the two levels m1 and m2: the low 8 bits of round(255 * v).
Byte HueToRGBChannel(Single m1, Single m2, Single h);

// Hue clamped into 0..255, the colour's saturation and lightness kept.
TbsColor SetColorHue(TbsColor Color, Integer Hue);
// round(S * 255) + Delta, wrapped once by 255 (not 256) when it leaves 0..255.
TbsColor ChangeColorSat(TbsColor Color, Integer Delta);
TbsColor ChangeColorHue(TbsColor Color, Integer Delta);
// Delta added to red, green and blue, each clamped into 0..255.
TbsColor ChangeColorBrightness(TbsColor Color, Integer Delta);
