// TbsBitmap's drawing side: draws, tiles, merges, fills, copies into platform bitmaps and the colour
// effects. Every draw picks blend, key colour or copy by the source's AlphaBlend and Transparent flags.
#include <algorithm>
#include <cmath>

#include "platform/rtl/convert.h"
#include "platform/ui/graphics/picture.h"
#include "skin/core/bsbitmap.h"
#include "skin/core/bshsl.h"
#include "skin/core/bskernels.h"

namespace {
// Tiles go straight into a bottom-up 32-bit section's memory when the target DC has one.
constexpr bool DirectDIBTiling = true;

TPoint windowOrigin(HDC DC) {
  TPoint origin;
  GetWindowOrgEx(DC, &origin);
  return origin;
}

TRect moved(const TRect& R, TPoint By) {
  return Rect(R.Left - By.X, R.Top - By.Y, R.Right - By.X, R.Bottom - By.Y);
}
}  // namespace

// ---- draws ----
void TbsBitmap::Draw(HDC DC, Integer X, Integer Y) {
  Draw(DC, X, Y, Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(HDC DC, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(DC, Rect(X, Y, X + RectWidth(SrcRect), Y + RectHeight(SrcRect)), SrcRect);
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect) {
  Draw(DC, DstRect, Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  if (TbsBitmap* target = FindLiveBitmapByDC(DC)) {
    Draw(target, moved(DstRect, windowOrigin(DC)), SrcRect);
    return;
  }
  const TDCDrawProc kernel = FAlphaBlend ? DCAlphaDraw : (FTransparent ? DCKeyDraw : DCStretchCopy);
  kernel(DC, DstRect.Left, DstRect.Top, RectWidth(DstRect), RectHeight(DstRect), this, SrcRect.Left,
         SrcRect.Top, RectWidth(SrcRect), RectHeight(SrcRect));
}

void TbsBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y) {
  Draw(Canvas->Handle(), X, Y);
}

void TbsBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(Canvas->Handle(), X, Y, SrcRect);
}

void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) {
  Draw(Canvas->Handle(), DstRect);
}

void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
  Draw(Canvas->Handle(), DstRect, SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, Integer X, Integer Y) {
  Draw(Bitmap, X, Y, Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(Bitmap, Rect(X, Y, X + RectWidth(SrcRect), Y + RectHeight(SrcRect)), SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect) {
  Draw(Bitmap, DstRect, Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  const TBitmapStretchProc kernel =
      FAlphaBlend ? BitmapStretchAlpha : (FTransparent ? BitmapStretchKey : BitmapStretchCopy);
  kernel(Bitmap, DstRect, DstRect, this, SrcRect);
}

// ---- tiles ----
namespace {
// Calls Each(R, S) for every tile of SrcRect over DstRect: R the tile cut to DstRect, S the source part
// it shows (cut on the right and bottom, never stretched).
template <typename F>
void forEachTile(const TRect& DstRect, const TRect& SrcRect, F&& Each) {
  const Integer sw = RectWidth(SrcRect), sh = RectHeight(SrcRect);
  if (sw == 0 || sh == 0) return;
  const Integer dw = RectWidth(DstRect), dh = RectHeight(DstRect);
  const Integer nx = dw / sw + (dw % sw != 0 ? 1 : 0);
  const Integer ny = dh / sh + (dh % sh != 0 ? 1 : 0);
  if (nx < 0) return;
  const TRect first = Rect(DstRect.Left, DstRect.Top, DstRect.Left + sw, DstRect.Top + sh);
  for (Integer i = 0; i <= nx; ++i) {
    for (Integer j = 0; j <= ny; ++j) {
      const TRect tile =
          Rect(first.Left + i * sw, first.Top + j * sh, first.Right + i * sw, first.Bottom + j * sh);
      TRect r;
      IntersectRect(&r, &tile, &DstRect);
      if (RectWidth(r) == 0 || RectHeight(r) == 0) break;
      TRect s = SrcRect;
      if (RectWidth(r) < sw || RectHeight(r) < sh) {
        s.Right = s.Left + RectWidth(r);
        s.Bottom = s.Top + RectHeight(r);
      }
      Each(r, s);
    }
  }
}
}  // namespace

void TbsBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  if (RectWidth(SrcRect) == 0 || RectHeight(SrcRect) == 0) return;
  TbsBitmap* target = FindLiveBitmapByDC(DC);
  Integer bitsWidth = 0, bitsHeight = 0, bitCount = 0;
  void* bits = target ? nullptr : GetDCBits(DC, bitsWidth, bitsHeight, bitCount);
  const bool direct = DirectDIBTiling && bits && bitCount == 32 && bitsHeight > 0;
  const TPoint origin = windowOrigin(DC);
  forEachTile(DstRect, SrcRect, [&](const TRect& R, const TRect& S) {
    if (target) {
      Draw(target, moved(R, origin), S);
    } else if (direct) {
      const TRect r = moved(R, origin);
      const TDIBStretchProc kernel =
          FAlphaBlend ? DIBStretchAlpha : (FTransparent ? DIBStretchKey : DIBStretchCopy);
      kernel(bits, r, r, bitsWidth, bitsHeight, this, S);
    } else {
      const TDCDrawProc kernel = FAlphaBlend ? DCAlphaDraw : (FTransparent ? DCKeyDraw : DCStretchCopy);
      kernel(DC, R.Left, R.Top, RectWidth(R), RectHeight(R), this, S.Left, S.Top, RectWidth(S),
             RectHeight(S));
    }
  });
}

void TbsBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
  Tile(Canvas->Handle(), DstRect, SrcRect);
}

void TbsBitmap::Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  forEachTile(DstRect, SrcRect, [&](const TRect& R, const TRect& S) { Draw(Bitmap, R, S); });
}

namespace {
bool tileWanted(const TRect& Tile, const TRect& DstClip) {
  if (IsRectEmpty(&DstClip)) return true;
  TRect common;
  return IntersectRect(&common, &Tile, &DstClip);
}
}  // namespace

void TbsBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  forEachTile(DstRect, SrcRect, [&](const TRect& R, const TRect& S) {
    if (tileWanted(R, DstClip)) Draw(DC, R, S);
  });
}

void TbsBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
}

void TbsBitmap::TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip,
                         const TRect& SrcRect) {
  forEachTile(DstRect, SrcRect, [&](const TRect& R, const TRect& S) {
    if (tileWanted(R, DstClip)) Draw(Bitmap, R, S);
  });
}

// ---- merge and fill ----
void TbsBitmap::MergeDraw(TbsBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect) {
  if (!Bitmap || !Bitmap->Bits() || Empty()) return;
  struct TEnd {
    ~TEnd() { EndMMX(); }
  } endMMX;
  TRect s = SrcRect;
  if (s.Left < 0) {
    X -= s.Left;
    s.Left = 0;
  }
  if (s.Top < 0) {
    Y -= s.Top;
    s.Top = 0;
  }
  s.Right = std::min(s.Right, Bitmap->Width());
  s.Bottom = std::min(s.Bottom, Bitmap->Height());
  for (Integer sy = s.Top; sy < s.Bottom; ++sy) {
    const Integer ty = Y + sy - s.Top;
    if (ty < 0 || ty >= FHeight) continue;
    const TbsColor* src = Bitmap->GetRowPtr(sy);
    TbsColor* dst = GetRowPtr(ty);
    for (Integer sx = s.Left; sx < s.Right; ++sx) {
      const Integer tx = X + sx - s.Left;
      if (tx < 0 || tx >= FWidth) continue;
      const Cardinal a = dst[tx] >> 24;
      if (a == 0)
        dst[tx] = src[sx];
      else if (a < 255)
        dst[tx] = PixelBlend(dst[tx], src[sx]);
    }
  }
}

void TbsBitmap::FillRect(const TRect& R, TbsColor Color) {
  if (Empty()) return;
  const TRect r =
      Rect(std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, FWidth), std::min(R.Bottom, FHeight));
  if (RectWidth(r) <= 0 || RectHeight(r) <= 0) return;
  if (FAlphaBlend) {
    TArrayOfseColor row(size_t(RectWidth(r)), Color);
    for (Integer y = r.Top; y < r.Bottom; ++y) RowBlend(row.data(), GetPixelPtr(r.Left, y), RectWidth(r));
    EndMMX();
  } else {
    RectFill(FBits, FWidth, FHeight, r.Left, r.Top, r.Right - 1, r.Bottom - 1, Color);
  }
}

// ---- into platform bitmaps ----
void TbsBitmap::AssignTo(TPersistent* Dest) {
  TBitmap* target = dynamic_cast<TBitmap*>(Dest);
  if (!target) {
    if (auto* picture = dynamic_cast<TPicture*>(Dest)) target = picture->Bitmap();
  }
  if (!target) {
    TPersistent::AssignTo(Dest);
    return;
  }
  target->SetPixelFormat(pf32bit);
  target->SetSize(FWidth, FHeight);
  if (!Empty() && !target->Empty()) Draw(target->Canvas(), 0, 0);
}

// ---- colour effects ----
template <typename F>
void TbsBitmap::mapOpaqueColors(F&& NewColor) {
  if (Empty()) return;
  const Integer n = FWidth * FHeight;
  for (Integer i = 0; i < n; ++i) {
    const TbsColor p = FBits[i];
    if ((p >> 24) == 0) continue;
    FBits[i] = (NewColor(p) & 0x00FFFFFF) | (p & 0xFF000000);
  }
}

void TbsBitmap::ChangeBitmapBrightness(Integer DeltaBrightness) {
  if (DeltaBrightness == 0) return;
  mapOpaqueColors([&](TbsColor p) { return ChangeColorBrightness(p, DeltaBrightness); });
}

void TbsBitmap::SetBitmapHue(Integer Hue) {
  mapOpaqueColors([&](TbsColor p) { return SetColorHue(p, Hue); });
}

void TbsBitmap::ChangeBitmapSat(Integer DeltaSat) {
  if (DeltaSat == 0) return;
  mapOpaqueColors([&](TbsColor p) { return ChangeColorSat(p, DeltaSat); });
}

void TbsBitmap::ChangeBitmapHue(Integer DeltaHue) {
  if (DeltaHue == 0) return;
  mapOpaqueColors([&](TbsColor p) { return ChangeColorHue(p, DeltaHue); });
}

void TbsBitmap::reflect(Integer Divisor) {
  if (Empty()) return;
  FlipVert();
  const Double step = Double((Extended(1) / Single(FHeight)) * 2);
  Double x = 1.0;
  for (Integer y = 0; y < FHeight; ++y) {
    TbsColor* row = GetRowPtr(y);
    for (Integer i = 0; i < FWidth; ++i) {
      const TbsColor a = row[i] >> 24;
      if (a == 0) continue;
      const Int64 faded = std::max<Int64>(0, Round(Extended(a) * x) / Divisor);
      row[i] = (row[i] & 0x00FFFFFF) | (TbsColor(std::min<Int64>(faded, 255)) << 24);
    }
    x -= step;
  }
}

void TbsBitmap::Reflection() {
  reflect(3);
}

void TbsBitmap::Reflection2() {
  reflect(4);
}

void TbsBitmap::Reflection3() {
  reflect(2);
}
