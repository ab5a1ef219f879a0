// Test support for the ribbon's skins: pictures of one flat colour and elements framed by a border of
// the same width all round.
#pragma once

#include <memory>

#include "platform/ui/graphics/bitmap.h"

inline std::unique_ptr<TBitmap> SolidPicture(TColor Colour, Integer W, Integer H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Colour);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

// The element's picture SkinRect with a frame Border wide on every side.
template <class TRecord>
void SetUniformFrame(TRecord* D, const TRect& SkinRect, Integer Border) {
  const Integer W = SkinRect.Right - SkinRect.Left, H = SkinRect.Bottom - SkinRect.Top;
  D->SkinRect = SkinRect;
  D->ClRect = Rect(Border, Border, W - Border, H - Border);
  D->LTPoint = TPoint{Border, Border};
  D->RTPoint = TPoint{W - Border, Border};
  D->LBPoint = TPoint{Border, H - Border};
  D->RBPoint = TPoint{W - Border, H - Border};
}
