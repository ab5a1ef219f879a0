// What the picture classes share when they read and write their files.
#pragma once

#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/gdi/gdi.h"
#include "platform/rtl/streams.h"

class TBitmap;

// The stream from its position to its end (a picture's whole file).
std::vector<Byte> ReadStreamToEnd(TStream* Stream);
void WriteStreamBytes(TStream* Stream, const std::vector<Byte>& Data);
// The bitmap's pixels as 32-bit colours with alpha 255.
TRawImage OpaqueImage32(TBitmap* Bitmap);
// The colour of a pixel stored blue, green, red.
inline COLORREF RGBOfBGR(const Byte* BGR) {
  return RGB(BGR[2], BGR[1], BGR[0]);
}
