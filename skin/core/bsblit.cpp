// Rectangle moves from a TbsBitmap into a DC, another TbsBitmap or a bottom-up DIB section's memory:
// nearest-neighbour scaling with end pixels aligned, clipped to the target, never to the source.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/convert.h"
#include "skin/core/bskernels.h"

namespace bsblit {
namespace {

enum class TBlitMode { Copy, Alpha, Key };

TRowBlendProc rowKernel(TBlitMode Mode) {
  switch (Mode) {
    case TBlitMode::Copy:
      return RowCopy;
    case TBlitMode::Alpha:
      return RowBlend;
    case TBlitMode::Key:
      break;
  }
  return RowKeyCopy;
}

struct TEndMMXGuard {
  ~TEndMMXGuard() { EndMMX(); }
};

// Source column (or row) of each clipped target position. Truncating maps serve the bitmap target, the
// bottom-up section rounds to nearest, halves to even.
std::vector<Integer> buildMap(Integer Count, Integer ClipStart, Integer DstStart, Integer DstSize,
                              Integer SrcStart, Integer SrcEnd, bool RoundToNearest) {
  std::vector<Integer> map(size_t(std::max(Count, 0)));
  const Integer srcSize = SrcEnd - SrcStart;
  if (DstSize <= 1) {
    std::fill(map.begin(), map.end(), (SrcStart + SrcEnd - 1) / 2);
    return map;
  }
  const Single k = static_cast<Single>(Extended(srcSize - 1) / (DstSize - 1));
  for (Integer i = 0; i < Count; ++i) {
    const Extended pos = Extended(i + ClipStart - DstStart) * k + SrcStart;
    const Int64 v = RoundToNearest ? Round(pos) : Trunc(pos);
    map[size_t(i)] = Integer(std::clamp<Int64>(v, SrcStart, SrcEnd - 1));
  }
  return map;
}

bool sourceInside(const TRect& S, TbsBitmap* Src) {
  return S.Left >= 0 && S.Top >= 0 && S.Right <= Src->Width() && S.Bottom <= Src->Height();
}

// The scaled part shared by both targets; DstRow(j) is the first clipped pixel of target row j. A copy
// repeats an already written row instead of gathering it again; the blends gather each source row
// once into a buffer.
template <class TDstRow>
void scaledRows(TBlitMode Mode, Integer cw, Integer ch, const std::vector<Integer>& xs,
                const std::vector<Integer>& ys, TbsBitmap* Src, TDstRow DstRow) {
  if (Mode == TBlitMode::Copy) {
    TbsColor* previous = nullptr;
    Integer previousSy = -1;
    for (Integer j = 0; j < ch; ++j) {
      TbsColor* dst = DstRow(j);
      const Integer sy = ys[size_t(j)];
      if (previous && sy == previousSy) {
        RowCopy(previous, dst, cw);
      } else {
        const TbsColor* src = Src->GetRowPtr(sy);
        for (Integer i = 0; i < cw; ++i) dst[i] = src[xs[size_t(i)]];
      }
      previous = dst;
      previousSy = sy;
    }
    return;
  }
  const TRowBlendProc kernel = rowKernel(Mode);
  TArrayOfseColor buffer(static_cast<size_t>(cw));
  Integer bufferSy = -1;
  for (Integer j = 0; j < ch; ++j) {
    EndMMX();
    const Integer sy = ys[size_t(j)];
    if (sy != bufferSy) {
      const TbsColor* src = Src->GetRowPtr(sy);
      for (Integer i = 0; i < cw; ++i) buffer[size_t(i)] = src[xs[size_t(i)]];
      bufferSy = sy;
    }
    kernel(buffer.data(), DstRow(j), cw);
  }
}

void bitmapArea(TBlitMode Mode, TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX,
                Integer SrcY) {
  if (!Dst || !Src || !Dst->Bits() || !Src->Bits()) throw EAssertionFailed("Assertion failed (bsEffects)");
  const TRowBlendProc kernel = rowKernel(Mode);
  const Integer w = RectWidth(Area);
  for (Integer y = Area.Top; y < Area.Bottom; ++y)
    kernel(Src->GetPixelPtr(SrcX, SrcY + (y - Area.Top)), Dst->GetPixelPtr(Area.Left, y), w);
}

void bitmapStretch(TBlitMode Mode, TbsBitmap* Dst, const TRect& D, const TRect& DstClip, TbsBitmap* Src,
                   const TRect& S) {
  TEndMMXGuard endMMX;
  const Integer sw = RectWidth(S), sh = RectHeight(S);
  if (sw <= 0 || sh <= 0 || !Dst || !Src) return;
  TRect bounds = Rect(0, 0, Dst->Width(), Dst->Height()), c;
  if (!IntersectRect(&c, &DstClip, &bounds) || !IntersectRect(&c, &c, &D)) return;
  if (!sourceInside(S, Src)) return;
  const Integer dw = RectWidth(D), dh = RectHeight(D);
  if (sw == dw && sh == dh) {
    bitmapArea(Mode, Dst, c, Src, S.Left + c.Left - D.Left, S.Top + c.Top - D.Top);
    return;
  }
  const Integer cw = RectWidth(c), ch = RectHeight(c);
  scaledRows(Mode, cw, ch, buildMap(cw, c.Left, D.Left, dw, S.Left, S.Right, false),
             buildMap(ch, c.Top, D.Top, dh, S.Top, S.Bottom, false), Src,
             [&](Integer j) { return Dst->GetPixelPtr(c.Left, c.Top + j); });
}

// Target row y (from the top) of a bottom-up section.
inline TbsColor* sectionRow(void* Bits, Integer Width, Integer Height, Integer Y) {
  return static_cast<TbsColor*>(Bits) + ptrdiff_t(Height - 1 - Y) * Width;
}

void dibStretch(TBlitMode Mode, void* Bits, const TRect& D, const TRect& DstClip, Integer Width,
                Integer Height, TbsBitmap* Src, const TRect& S) {
  TEndMMXGuard endMMX;
  const Integer sw = RectWidth(S), sh = RectHeight(S);
  if (sw <= 0 || sh <= 0 || !Bits || !Src || Width <= 0 || Height <= 0) return;
  TRect bounds = Rect(0, 0, Width, Height), c;
  if (!IntersectRect(&c, &DstClip, &bounds) || !IntersectRect(&c, &c, &D)) return;
  if (!sourceInside(S, Src)) return;
  const Integer dw = RectWidth(D), dh = RectHeight(D);
  const Integer cw = RectWidth(c), ch = RectHeight(c);
  const TRowBlendProc kernel = rowKernel(Mode);
  if (sw == dw && sh == dh) {
    const Integer sx = S.Left + c.Left - D.Left, sy = S.Top + c.Top - D.Top;
    for (Integer j = 0; j < ch; ++j)
      kernel(Src->GetPixelPtr(sx, sy + j), sectionRow(Bits, Width, Height, c.Top + j) + c.Left, cw);
    return;
  }
  scaledRows(Mode, cw, ch, buildMap(cw, c.Left, D.Left, dw, S.Left, S.Right, true),
             buildMap(ch, c.Top, D.Top, dh, S.Top, S.Bottom, true), Src,
             [&](Integer j) { return sectionRow(Bits, Width, Height, c.Top + j) + c.Left; });
}

}  // namespace

void DCStretchCopy(HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TbsBitmap* Src,
                   Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH) {
  if (!Src) return;
  SetStretchBltMode(DC, COLORONCOLOR);
  StretchBlt(DC, DstX, DstY, DstW, DstH, Src->DC(), SrcX, SrcY, SrcW, SrcH, SRCCOPY);
}

void DCSoftwareDraw(HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TbsBitmap* Src,
                    Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH) {
  if (DstW <= 0 || DstH <= 0 || !Src) return;
  TbsBitmap target;
  target.SetSize(DstW, DstH);
  BitBlt(target.DC(), 0, 0, DstW, DstH, DC, DstX, DstY, SRCCOPY);
  Src->Draw(&target, Rect(0, 0, DstW, DstH), Rect(SrcX, SrcY, SrcX + SrcW, SrcY + SrcH));
  BitBlt(DC, DstX, DstY, DstW, DstH, target.DC(), 0, 0, SRCCOPY);
}

void DCTransparentBltDraw(HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TbsBitmap* Src,
                          Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH) {
  if (!Src || !MsImg32TransparentBlt) return;
  MsImg32TransparentBlt(DC, DstX, DstY, DstW, DstH, Src->DC(), SrcX, SrcY, SrcW, SrcH, RGB(0x7F, 0, 0x7F));
}

void* GetDCBits(HDC DC, Integer& Width, Integer& Height, Integer& BitCount) {
  Width = 0;
  Height = 0;
  BitCount = 0;
  HGDIOBJ bitmap = GetCurrentObject(DC, OBJ_BITMAP);
  if (!bitmap) return nullptr;
  DIBSECTION section;
  if (GetObject(bitmap, sizeof(section), &section) != Integer(sizeof(section))) return nullptr;
  Width = section.dsBmih.biWidth;
  Height = section.dsBmih.biHeight;
  BitCount = section.dsBmih.biBitCount;
  return section.dsBm.bmBits;
}

void DIBStretchCopy(void* Bits, const TRect& DstRect, const TRect& DstClip, Integer Width, Integer Height,
                    TbsBitmap* Src, const TRect& SrcRect) {
  dibStretch(TBlitMode::Copy, Bits, DstRect, DstClip, Width, Height, Src, SrcRect);
}

void DIBStretchAlpha(void* Bits, const TRect& DstRect, const TRect& DstClip, Integer Width, Integer Height,
                     TbsBitmap* Src, const TRect& SrcRect) {
  dibStretch(TBlitMode::Alpha, Bits, DstRect, DstClip, Width, Height, Src, SrcRect);
}

void DIBStretchKey(void* Bits, const TRect& DstRect, const TRect& DstClip, Integer Width, Integer Height,
                   TbsBitmap* Src, const TRect& SrcRect) {
  if (!Bits || !Src) throw EAssertionFailed("Assertion failed (bsEffects)");
  dibStretch(TBlitMode::Key, Bits, DstRect, DstClip, Width, Height, Src, SrcRect);
}

void BitmapAreaCopy(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX, Integer SrcY) {
  bitmapArea(TBlitMode::Copy, Dst, Area, Src, SrcX, SrcY);
}

void BitmapAreaAlpha(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX, Integer SrcY) {
  TEndMMXGuard endMMX;
  bitmapArea(TBlitMode::Alpha, Dst, Area, Src, SrcX, SrcY);
}

void BitmapAreaKey(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX, Integer SrcY) {
  bitmapArea(TBlitMode::Key, Dst, Area, Src, SrcX, SrcY);
}

void BitmapStretchCopy(TbsBitmap* Dst, const TRect& DstRect, const TRect& DstClip, TbsBitmap* Src,
                       const TRect& SrcRect) {
  bitmapStretch(TBlitMode::Copy, Dst, DstRect, DstClip, Src, SrcRect);
}

void BitmapStretchAlpha(TbsBitmap* Dst, const TRect& DstRect, const TRect& DstClip, TbsBitmap* Src,
                        const TRect& SrcRect) {
  bitmapStretch(TBlitMode::Alpha, Dst, DstRect, DstClip, Src, SrcRect);
}

void BitmapStretchKey(TbsBitmap* Dst, const TRect& DstRect, const TRect& DstClip, TbsBitmap* Src,
                      const TRect& SrcRect) {
  bitmapStretch(TBlitMode::Key, Dst, DstRect, DstClip, Src, SrcRect);
}

}  // namespace bsblit
