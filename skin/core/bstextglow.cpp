#include "skin/core/bstextglow.h"

#include <cmath>
#include <memory>

#include "skin/core/bsbitmap.h"
#include "skin/core/bsblur.h"
#include "skin/core/bsdraw.h"

namespace {

// A zeroed bitmap whose canvas draws in Canvas's font, in pure red, over a clear brush.
std::unique_ptr<TbsBitmap> redCanvas(TCanvas* Canvas, Integer W, Integer H) {
  auto bmp = std::make_unique<TbsBitmap>();
  bmp->SetSize(W, H);
  if (bmp->Empty()) return bmp;
  TCanvas* c = bmp->Canvas();
  c->Font()->Assign(Canvas->Font());
  c->Font()->SetColor(clRed);
  c->Brush()->SetStyle(bsClear);
  return bmp;
}

// Alpha := the red coverage, colour := C.
void tint(TbsBitmap* Bmp, TColor C) {
  const COLORREF rgb = ColorToRGB(C);
  const TbsColor colour = TbsColor(GetRValue(rgb)) << 16 | TbsColor(GetGValue(rgb)) << 8 | GetBValue(rgb);
  const Integer n = Bmp->Width() * Bmp->Height();
  TbsColor* p = Bmp->Bits();
  for (Integer i = 0; i < n; ++i) p[i] = ((p[i] >> 16) & 0xFF) << 24 | colour;
  Bmp->SetAlphaBlend(true);
}

TRect moved(const TRect& R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

void drawOnBitmap(TbsBitmap* Bmp, const String& Text, TRect R, Cardinal Flags) {
  DrawWideText(Bmp->Canvas(), Text, R, Flags);
}

void plainTextW(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags) {
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  DrawText(bsCanvasDC(Canvas), Text, &r, Flags);
}

Integer plainWide(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags) {
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  return DrawWideText(Canvas, Text, r, Flags);
}

void glow(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags, Integer GlowOffset,
          TColor GlowColor, Integer GlowSize, bool Thicken) {
  const Integer w = RectWidth(R), h = RectHeight(R);
  auto bmp = redCanvas(Canvas, w + 2 * GlowSize, h + 2 * GlowSize);
  if (bmp->Empty()) return;
  const TRect t = Rect(GlowSize, GlowSize, bmp->Width() - GlowSize, bmp->Height() - GlowSize);
  drawOnBitmap(bmp.get(), Text, t, Flags);
  if (Thicken)
    for (const TPoint d : {Point(-1, 0), Point(1, 0), Point(0, -1), Point(0, 1)})
      drawOnBitmap(bmp.get(), Text, moved(t, d.X, d.Y), Flags);
  StackBlurBitmap(bmp.get(), GlowSize);
  tint(bmp.get(), GlowColor);
  bmp->Draw(Canvas, R.Left + GlowOffset - GlowSize, R.Top + GlowOffset - GlowSize);
}

// The plate: a solid red rectangle with the text drawn around it nine times, blurred twice.
Integer vistaGlow(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags, TColor GlowColor,
                  Integer M, const TRect& PlateInset) {
  const Integer w = RectWidth(R), h = RectHeight(R);
  auto bmp = redCanvas(Canvas, w + 2 * M, h + 2 * M);
  if (!bmp->Empty()) {
    const TRect t = Rect(M, M, bmp->Width() - M, bmp->Height() - M);
    bmp->FillRect(Rect(t.Left + PlateInset.Left, t.Top + PlateInset.Top, t.Right - PlateInset.Right,
                       t.Bottom - PlateInset.Bottom),
                  0xFFFF0000);
    for (const TPoint d : {Point(-1, -1), Point(-2, -2), Point(-1, 0), Point(-2, 0), Point(1, 0), Point(2, 0),
                           Point(1, 1), Point(2, 2), Point(0, 0)})
      drawOnBitmap(bmp.get(), Text, moved(t, d.X, d.Y), Flags);
    StackBlurBitmap(bmp.get(), M / 2);
    StackBlurBitmap(bmp.get(), M / 2);
    tint(bmp.get(), GlowColor);
    bmp->Draw(Canvas, R.Left - M, R.Top - M);
  }
  return plainWide(Canvas, R, Text, Flags);
}

}  // namespace

void DrawGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags, Integer GlowOffset,
                  TColor GlowColor, Integer GlowSize) {
  glow(Canvas, R, Text, Flags, GlowOffset, GlowColor, GlowSize, true);
  plainTextW(Canvas, R, Text, Flags);
}

Integer DrawGlowTextWide(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                         Integer GlowOffset, TColor GlowColor, Integer GlowSize) {
  glow(Canvas, R, Text, Flags, GlowOffset, GlowColor, GlowSize, false);
  return plainWide(Canvas, R, Text, Flags);
}

Integer DrawVistaGlowTextNarrow(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                                TColor GlowColor) {
  return vistaGlow(Canvas, R, Text, Flags, GlowColor, 10, Rect(3, 3, 3, 3));
}

Integer DrawVistaGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                          TColor GlowColor) {
  return vistaGlow(Canvas, R, Text, Flags, GlowColor, 12, Rect(-3, 2, -3, 2));
}

void DrawReflectionText(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                        Integer ReflectionOffset, TColor ReflectionColor) {
  const Integer w = RectWidth(R), h = RectHeight(R);
  auto bmp = redCanvas(Canvas, w, h);
  if (!bmp->Empty()) {
    TRect t = Rect(0, 0, w, h);
    drawOnBitmap(bmp.get(), Text, t, Flags);
    DrawWideText(bmp->Canvas(), Text, t, Flags | DT_CALCRECT);
    TRect r2 = R;
    DrawWideText(Canvas, Text, r2, Flags | DT_CALCRECT);
    const COLORREF rgb = ColorToRGB(ReflectionColor);
    const TbsColor colour = TbsColor(GetRValue(rgb)) << 16 | TbsColor(GetGValue(rgb)) << 8 | GetBValue(rgb);
    const Integer textHeight = t.Bottom - t.Top;
    if (textHeight > 0) {
      for (Integer i = 0; i < h; ++i) {
        TbsColor* row = bmp->GetRowPtr(i);
        if (i < t.Top || i > t.Bottom) {
          for (Integer x = 0; x < w; ++x) row[x] = 0;
          continue;
        }
        // The lowest text row keeps 70 % of its coverage; the fade reaches 0 three tenths from the top.
        const long double k =
            0.7L - static_cast<long double>(t.Bottom - (i - t.Top)) / static_cast<long double>(textHeight);
        for (Integer x = 0; x < w; ++x) {
          const Integer red = Integer((row[x] >> 16) & 0xFF);
          const Integer alpha = k < 0 ? 0 : Integer(std::trunc(red * k));
          row[x] = TbsColor(alpha) << 24 | colour;
        }
      }
    }
    for (Integer i = 0; i < h / 2; ++i) {
      TbsColor* a = bmp->GetRowPtr(i);
      TbsColor* b = bmp->GetRowPtr(h - 1 - i);
      for (Integer x = 0; x < w; ++x) std::swap(a[x], b[x]);
    }
    bmp->SetAlphaBlend(true);
    bmp->Draw(Canvas, R.Left, r2.Bottom - (h - t.Bottom) + ReflectionOffset);
  }
  plainWide(Canvas, R, Text, Flags);
}
