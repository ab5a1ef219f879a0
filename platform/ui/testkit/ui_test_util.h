// Bitmaps for the tests of this folder: filled in one colour, read back pixel by pixel.
#pragma once

#include <memory>

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"

// Colour of a pixel of a 24- or 32-bit bitmap as 0x00BBGGRR.
inline COLORREF PixelColor(TBitmap& bitmap, Integer x, Integer y) {
  const Integer step = bitmap.PixelFormat() == pf24bit ? 3 : 4;
  const Byte* p = bitmap.ScanLine(y) + x * step;
  return RGB(p[2], p[1], p[0]);
}

// Alpha byte of a pixel of a 32-bit bitmap.
inline Byte PixelAlpha(TBitmap& bitmap, Integer x, Integer y) {
  return bitmap.ScanLine(y)[x * 4 + 3];
}

inline std::unique_ptr<TBitmap> FilledBitmap(Integer w, Integer h, TPixelFormat format, TColor color) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(w, h);
  bitmap->Canvas()->Brush()->SetColor(color);
  bitmap->Canvas()->FillRect(Rect(0, 0, w, h));
  return bitmap;
}
