// The slider's built-in pictures "BS_HTB", "BS_HRL", "BS_VTB" and "BS_VRL", drawn by us in code: a
// horizontal thumb of two 5 x 15 states, a 10 x 7 horizontal ruler, a vertical thumb of two 15 x 7
// states (31 wide) and a 7 x 10 vertical ruler, all 24-bit. Their bottom-left pixel is the key colour,
// so drawn transparent they show only the groove and the thumb.
#pragma once

#include "platform/ui/graphics/bitmap.h"

// Loads the built-in picture of that name into Bitmap; false (Bitmap untouched) for an unknown name.
bool LoadSliderImage(TBitmap* Bitmap, const String& ResourceName);

// The key colour of the built-in pictures and the colours they are drawn in.
constexpr TColor SliderImageKey = TColor(0xFF00FF);
constexpr TColor SliderThumbFace = TColor(0xC0C0C0);
constexpr TColor SliderThumbHotFace = TColor(0xE0B060);
constexpr TColor SliderThumbFrame = TColor(0x404040);
constexpr TColor SliderGrooveDark = TColor(0x808080);
constexpr TColor SliderGrooveLight = TColor(0xFFFFFF);
