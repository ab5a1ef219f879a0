#include "skin/core/bseffectbmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/rtl/convert.h"

namespace {
std::minstd_rand& effectsGenerator() {
  static std::minstd_rand generator;
  return generator;
}

inline Byte clampChannel(Int64 v) {
  return Byte(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// own * t + other * (1 - t), rounded to nearest with halves to even.
inline Byte mix(Byte own, Byte other, Double t) {
  return clampChannel(Round(Extended(own) * t + Extended(other) * (1 - Extended(t))));
}

inline void mixPixel(Byte* own, const Byte* other, Double t) {
  for (int c = 0; c < 3; ++c) own[c] = mix(own[c], other[c], t);
}

// (1 - Kf) * c + Kf * b, the cross-fade of the plain morphs.
inline void fadePixel(Byte* own, const Byte* other, Double Kf) {
  for (int c = 0; c < 3; ++c)
    own[c] = clampChannel(Round((1 - Extended(Kf)) * own[c] + Extended(Kf) * other[c]));
}

inline void copyPixel(Byte* dst, const Byte* src) {
  dst[0] = src[0];
  dst[1] = src[1];
  dst[2] = src[2];
}

Double clampUnit(Double Kf) {
  return Kf < 0 ? 0 : (Kf > 1 ? 1 : Kf);
}
}  // namespace

Integer EffectsRandom(Integer n) {
  if (n <= 0) return 0;
  return Integer(effectsGenerator()() % Cardinal(n));
}

void EffectsRandSeed(Cardinal Seed) {
  effectsGenerator().seed(Seed == 0 ? 1 : Seed);
}

// ---- lifetime and drawing ----
void TbsEffectBmp::allocate(Integer cx, Integer cy) {
  Width = cx;
  Height = cy;
  Size = stride() * Height;
  BmpHeader = BITMAPINFOHEADER{};
  BmpHeader.biSize = 40;
  BmpHeader.biWidth = Width;
  BmpHeader.biHeight = -Height;
  BmpHeader.biPlanes = 1;
  BmpHeader.biBitCount = 24;
  BmpHeader.biCompression = BI_RGB;
  BmpInfo = BITMAPINFO{};
  BmpInfo.bmiHeader = BmpHeader;
  void* bits = nullptr;
  Handle = CreateDIBSection(nullptr, &BmpInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  Bits = Handle ? static_cast<Byte*>(bits) : nullptr;
}

TbsEffectBmp::TbsEffectBmp(Integer cx, Integer cy) {
  allocate(cx, cy);
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateFromhWnd(HBITMAP hBmp) {
  std::unique_ptr<TbsEffectBmp> result(new TbsEffectBmp());
  BITMAP info;
  if (GetObject(hBmp, sizeof(info), &info) == 0) info = BITMAP{};
  result->allocate(info.bmWidth, std::abs(info.bmHeight));
  if (result->usable()) {
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, hBmp, 0, UINT(result->Height), result->Bits, &result->BmpInfo, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
  }
  return result;
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateCopy(const TbsEffectBmp* hBmp) {
  std::unique_ptr<TbsEffectBmp> result(new TbsEffectBmp());
  result->allocate(hBmp->Width, hBmp->Height);
  if (result->usable() && hBmp->Bits) std::memcpy(result->Bits, hBmp->Bits, size_t(result->Size));
  return result;
}

TbsEffectBmp::~TbsEffectBmp() {
  if (Handle) DeleteObject(Handle);
}

void TbsEffectBmp::GetScanLine(Integer y, void* Line) const {
  if (!usable() || y < 0 || y >= Height) return;
  std::memcpy(Line, pixel(0, y), size_t(3) * size_t(Width));
}

void TbsEffectBmp::Draw(HDC hDC, Integer x, Integer y) {
  if (!usable()) return;
  SetDIBitsToDevice(hDC, x, y, DWORD(Width), DWORD(Height), 0, 0, 0, UINT(Height), Bits, &BmpInfo,
                    DIB_RGB_COLORS);
}

void TbsEffectBmp::Stretch(HDC hDC, Integer x, Integer y, Integer cx, Integer cy) {
  if (!usable()) return;
  StretchDIBits(hDC, x, y, cx, cy, 0, 0, Width, Height, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::DrawRect(HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx, Integer cy) {
  if (!usable() || cx <= 0 || cy <= 0) return;
  // One call with both heights negative, anchored on the block's last row: the two mirrorings cancel
  // and the cy rows from y arrive upright from hy on.
  StretchDIBits(hDC, hx, hy + cy - 1, cx, -cy, x, y + cy - 1, cx, -cy, Bits, &BmpInfo, DIB_RGB_COLORS,
                SRCCOPY);
}

void TbsEffectBmp::Resize(TbsEffectBmp* Dst) {
  if (!usable() || !Dst || !Dst->usable()) return;
  const Double kx = Double(Dst->Width - 1) / Width, ky = Double(Dst->Height - 1) / Height;
  const Integer bw = Integer(Round(kx)) + 1, bh = Integer(Round(ky)) + 1;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      const Integer left = Integer(Round(Extended(x) * kx)), top = Integer(Round(Extended(y) * ky));
      const Byte* p = pixel(x, y);
      for (Integer j = top; j < top + bh && j < Dst->Height; ++j)
        for (Integer i = left; i < left + bw && i < Dst->Width; ++i) copyPixel(Dst->pixel(i, j), p);
    }
}

void TbsEffectBmp::CopyRect(TbsEffectBmp* BMP, const TRect& Rct, Integer StartX, Integer StartY) {
  if (!usable() || !BMP || !BMP->usable()) return;
  const Integer right = std::min(Rct.Right, Width - 1), bottom = std::min(Rct.Bottom, Height - 1);
  for (Integer y = std::max(Rct.Top, 0); y <= bottom; ++y)
    for (Integer x = std::max(Rct.Left, 0); x <= right; ++x) {
      const Integer sx = StartX + x - Rct.Left, sy = StartY + y - Rct.Top;
      if (sx >= 0 && sy >= 0 && sx < BMP->Width && sy < BMP->Height)
        copyPixel(pixel(x, y), BMP->pixel(sx, sy));
    }
}

// ---- transitions ----
bool TbsEffectBmp::sameSize(const TbsEffectBmp* BMP) const {
  return usable() && BMP && BMP->Bits && BMP->Width == Width && BMP->Height == Height;
}

void TbsEffectBmp::Morph(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) fadePixel(pixel(x, y), BMP->pixel(x, y), Kf);
}

void TbsEffectBmp::MorphRect(TbsEffectBmp* BMP, Double Kf, const TRect& Rct, Integer StartX, Integer StartY) {
  if (!usable() || !BMP || !BMP->usable()) return;
  Kf = clampUnit(Kf);
  for (Integer y = Rct.Top; y < Rct.Bottom; ++y)
    for (Integer x = Rct.Left; x < Rct.Right; ++x) {
      const Integer sx = StartX + x - Rct.Left, sy = StartY + y - Rct.Top;
      // The caller keeps both areas inside; positions that are not are passed over, never touched.
      if (x < 0 || y < 0 || x >= Width || y >= Height || sx < 0 || sy < 0 || sx >= BMP->Width ||
          sy >= BMP->Height)
        continue;
      fadePixel(pixel(x, y), BMP->pixel(sx, sy), Kf);
    }
}

void TbsEffectBmp::MorphHGrad(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  const Integer b = Integer(Round(Extended(Width) * Kf));
  const Integer d = (Width - b) / 2;
  const Double step = d == 0 ? 1 : 1.0 / d;
  const Integer n = std::max(Width / 2 - b / 2, 0);
  const Integer e = std::min(Width / 2 + b / 2, Width - 1);
  for (Integer y = 0; y < Height; ++y) {
    for (Integer x = n; x <= e; ++x) copyPixel(pixel(x, y), BMP->pixel(x, y));
    Double t = 0;
    for (Integer x = n; x >= 0; --x) {
      mixPixel(pixel(x, y), BMP->pixel(x, y), t);
      t = std::min(1.0, t + step);
    }
    t = 0;
    for (Integer x = e; x < Width; ++x) {
      mixPixel(pixel(x, y), BMP->pixel(x, y), t);
      t = std::min(1.0, t + step);
    }
  }
}

void TbsEffectBmp::MorphVGrad(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  const Integer b = Integer(Round(Extended(Height) * Kf));
  const Integer d = (Height - 1 - b) / 2;
  const Double step = d == 0 ? 0 : 1.0 / d;
  const Integer n = std::max(Height / 2 - b / 2, 0);
  const Integer e = std::min(Height / 2 + b / 2, Height - 1);
  auto mixRow = [&](Integer y, Double t) {
    for (Integer x = 0; x < Width; ++x) mixPixel(pixel(x, y), BMP->pixel(x, y), t);
  };
  for (Integer y = n; y <= e; ++y)
    for (Integer x = 0; x < Width; ++x) copyPixel(pixel(x, y), BMP->pixel(x, y));
  Double t = 0;
  for (Integer y = n; y >= 0; --y) {
    mixRow(y, t);
    t = std::min(1.0, t + step);
  }
  t = 0;
  for (Integer y = e; y < Height; ++y) {
    mixRow(y, t);
    t = std::min(1.0, t + step);
  }
}

void TbsEffectBmp::MorphGrad(TbsEffectBmp* BMP, Double Kf) {
  if (Width < Height)
    MorphVGrad(BMP, Kf);
  else
    MorphHGrad(BMP, Kf);
}

void TbsEffectBmp::MorphLeftGrad(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  Integer b = std::max(Integer(Round(Extended(Width) * Kf)), 1);
  b = std::min(b, Width - 1);
  const Double step = b <= 0 ? 1 : 1.0 / b;
  for (Integer y = 0; y < Height; ++y) {
    Double t = 0;
    for (Integer x = 0; x <= b; ++x) {
      mixPixel(pixel(x, y), BMP->pixel(x, y), t);
      t = std::min(1.0, t + step);
    }
  }
}

void TbsEffectBmp::MorphRightGrad(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  Integer c = std::max(Width - Integer(Round(Extended(Width) * Kf)), 0);
  c = std::min(c, Width - 1);
  const Double step = Width - c <= 0 ? 1 : 1.0 / (Width - c);
  for (Integer y = 0; y < Height; ++y) {
    Double t = 0;
    for (Integer x = Width - 1; x >= c; --x) {
      mixPixel(pixel(x, y), BMP->pixel(x, y), t);
      t = std::min(1.0, t + step);
    }
  }
}

void TbsEffectBmp::MorphPush(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  const Integer b = std::min(std::max(Integer(Round(Extended(Width) * Kf)), 0), Width - 1);
  for (Integer y = 0; y < Height; ++y) {
    for (Integer x = Width - 1; x >= b; --x) copyPixel(pixel(x, y), pixel(std::max(0, x - b - 1), y));
    Integer s = std::max(0, Width - b - 1);
    for (Integer x = 0; x <= b; ++x) {
      copyPixel(pixel(x, y), BMP->pixel(s, y));
      s = std::min(Width - 1, s + 1);
    }
  }
}

void TbsEffectBmp::MorphLeftSlide(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  const Integer b = std::min(std::max(Integer(Round(Extended(Width) * Kf)), 1), Width - 1);
  for (Integer y = 0; y < Height; ++y) {
    Integer s = std::max(0, Width - 1 - b);
    for (Integer x = 0; x < b; ++x) {
      s = std::min(Width - 1, s + 1);
      copyPixel(pixel(x, y), BMP->pixel(s, y));
    }
  }
}

void TbsEffectBmp::MorphRightSlide(TbsEffectBmp* BMP, Double Kf) {
  if (!sameSize(BMP)) return;
  Kf = clampUnit(Kf);
  const Integer b = std::min(std::max(Integer(Round(Extended(Width) * Kf)), 1), Width - 1);
  for (Integer y = 0; y < Height; ++y) {
    Integer s = std::max(0, Width - 1 - b);
    for (Integer k = 0; k < b; ++k) {
      s = std::min(Width - 1, s + 1);
      copyPixel(pixel(s, y), BMP->pixel(k, y));
    }
  }
}

// ---- image effects ----
void TbsEffectBmp::ChangeBrightness(Double Kf) {
  if (!usable()) return;
  Kf = clampUnit(Kf);
  for (Integer y = 0; y < Height; ++y)
    for (Byte *p = pixel(0, y), *end = p + 3 * Width; p < end; ++p)
      *p = clampChannel(Round((1 - Extended(Kf)) * *p + 255 * Extended(Kf)));
}

void TbsEffectBmp::ChangeDarkness(Double Kf) {
  if (!usable()) return;
  Kf = clampUnit(Kf);
  for (Integer y = 0; y < Height; ++y)
    for (Byte *p = pixel(0, y), *end = p + 3 * Width; p < end; ++p)
      *p = clampChannel(Round((1 - Extended(Kf)) * *p));
}

void TbsEffectBmp::GrayScale() {
  if (!usable()) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      Byte* p = pixel(x, y);
      const Byte v = clampChannel(Round(0.30L * p[2] + 0.59L * p[1] + 0.11L * p[0]));
      p[0] = p[1] = p[2] = v;
    }
}

void TbsEffectBmp::Invert() {
  if (!usable()) return;
  for (Integer y = 0; y < Height; ++y)
    for (Byte *p = pixel(0, y), *end = p + 3 * Width; p < end; ++p) *p = Byte(255 - *p);
}

void TbsEffectBmp::blurCorners(Integer x, Integer y, Integer Amount, Integer& a, Integer& r, Integer& u,
                               Integer& l) const {
  u = y - Amount;
  if (u < 0) u = y;
  l = y + Amount;
  if (l >= Height) l = Height - y;
  a = x - Amount;
  if (a < 0) a = x;
  r = x + Amount;
  if (r >= Width) r = Width - x;
  // Amounts of the bitmap's size or more (and negative ones) would reach outside: keep them in.
  u = std::clamp(u, 0, Height - 1);
  l = std::clamp(l, 0, Height - 1);
  a = std::clamp(a, 0, Width - 1);
  r = std::clamp(r, 0, Width - 1);
}

void TbsEffectBmp::blurPixel(Integer x, Integer y, Integer a, Integer r, Integer u, Integer l) {
  Byte* p = pixel(x, y);
  const Byte *p1 = pixel(a, u), *p2 = pixel(a, l), *p3 = pixel(r, u), *p4 = pixel(r, l);
  for (int c = 0; c < 3; ++c) p[c] = Byte((p1[c] + p2[c] + p3[c] + p4[c]) >> 2);
}

void TbsEffectBmp::SplitBlur(Integer Amount) {
  if (Amount == 0 || !usable()) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      Integer a, r, u, l;
      blurCorners(x, y, Amount, a, r, u, l);
      blurPixel(x, y, a, r, u, l);
    }
}

void TbsEffectBmp::Mosaic(Integer ASize) {
  if (ASize <= 0 || !usable()) return;
  for (Integer by = 0; by < Height; by += ASize)
    for (Integer bx = 0; bx < Width; bx += ASize) {
      Byte value[3];
      copyPixel(value, pixel(bx, by));
      for (Integer y = by; y < std::min(by + ASize, Height); ++y)
        for (Integer x = bx; x < std::min(bx + ASize, Width); ++x) copyPixel(pixel(x, y), value);
    }
}

void TbsEffectBmp::AddMonoNoise(Integer Amount) {
  if (!usable()) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      const Integer v = EffectsRandom(Amount) - Amount / 2;
      Byte* p = pixel(x, y);
      for (int c = 0; c < 3; ++c) p[c] = clampChannel(Int64(p[c]) + v);
    }
}

void TbsEffectBmp::AddColorNoise(Integer Amount) {
  if (!usable()) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      Byte* p = pixel(x, y);
      for (int c = 2; c >= 0; --c) p[c] = clampChannel(Int64(p[c]) + EffectsRandom(Amount) - Amount / 2);
    }
}

void TbsEffectBmp::Rotate90_1(TbsEffectBmp* Dst) {
  if (!usable() || !Dst || !Dst->usable() || Dst->Width != Height || Dst->Height != Width) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) copyPixel(Dst->pixel(y, Width - 1 - x), pixel(x, y));
}

void TbsEffectBmp::Rotate90_2(TbsEffectBmp* Dst) {
  if (!usable() || !Dst || !Dst->usable() || Dst->Width != Height || Dst->Height != Width) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) copyPixel(Dst->pixel(Height - 1 - y, x), pixel(x, y));
}

void TbsEffectBmp::FlipVert(TbsEffectBmp* Dst) {
  if (!sameSize(Dst)) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) copyPixel(Dst->pixel(x, Height - 1 - y), pixel(x, y));
}

void TbsEffectBmp::Wave(Integer XDIV, Integer YDIV, Integer RatioVal) {
  if (XDIV == 0 || YDIV == 0 || !usable()) return;
  const std::unique_ptr<TbsEffectBmp> copy = CreateCopy(this);
  if (!copy->usable()) return;
  for (Integer x = 0; x < Width; ++x)
    for (Integer y = 0; y < Height; ++y) {
      const Int64 sx = Round(std::sin(Extended(y) / YDIV) * RatioVal + x);
      const Int64 sy = Round(std::sin(Extended(x) / XDIV) * RatioVal + y);
      copyPixel(pixel(x, y), copy->pixel(Integer(std::clamp<Int64>(sx, 0, Width - 1)),
                                         Integer(std::clamp<Int64>(sy, 0, Height - 1))));
    }
}

namespace {
inline bool isWhite(const Byte* p) {
  return p[0] == 255 && p[1] == 255 && p[2] == 255;
}
}  // namespace

void TbsEffectBmp::MaskBlur(TbsEffectBmp* Msk, Integer Amount) {
  if (Amount == 0 || !usable() || !Msk || !Msk->Bits || Msk->Width != Width || Msk->Height < Height) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      if (isWhite(Msk->pixel(x, y))) continue;
      Integer a, r, u, l;
      blurCorners(x, y, Amount, a, r, u, l);
      blurPixel(x, y, a, r, u, l);
    }
}

void TbsEffectBmp::MaskAntialiasing(TbsEffectBmp* Msk, Integer Amount) {
  if (Amount == 0 || !usable() || !Msk || !Msk->Bits || Msk->Width != Width || Msk->Height < Height) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      if (isWhite(Msk->pixel(x, y))) continue;
      Integer a, r, u, l;
      blurCorners(x, y, Amount, a, r, u, l);
      if (isWhite(Msk->pixel(a, u)) || isWhite(Msk->pixel(a, l)) || isWhite(Msk->pixel(r, u)) ||
          isWhite(Msk->pixel(r, l)))
        blurPixel(x, y, a, r, u, l);
    }
}

void TbsEffectBmp::MaskFillColor(TbsEffectBmp* Msk, TColor C, Double kf) {
  if (!usable() || !Msk || !Msk->Bits || Msk->Width != Width || Msk->Height < Height) return;
  const COLORREF rgb = ColorToRGB(C);
  const Byte colour[3] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) {
      if (isWhite(Msk->pixel(x, y))) continue;
      Byte* p = pixel(x, y);
      for (int c = 0; c < 3; ++c)
        p[c] = clampChannel(Round((1 - Extended(kf)) * p[c] + Extended(kf) * colour[c]));
    }
}

void MorphDraw(HDC DC, HBITMAP From, HBITMAP To, TbsMorphKind Kind, Double Kf) {
  auto E1 = TbsEffectBmp::CreateFromhWnd(From);
  auto E2 = TbsEffectBmp::CreateFromhWnd(To);
  switch (Kind) {
    case mkDefault:
      E1->Morph(E2.get(), Kf);
      break;
    case mkGradient:
      E1->MorphGrad(E2.get(), Kf);
      break;
    case mkLeftGradient:
      E1->MorphLeftGrad(E2.get(), Kf);
      break;
    case mkRightGradient:
      E1->MorphRightGrad(E2.get(), Kf);
      break;
    case mkLeftSlide:
      E1->MorphLeftSlide(E2.get(), Kf);
      break;
    case mkRightSlide:
      E1->MorphRightSlide(E2.get(), Kf);
      break;
    case mkPush:
      E1->MorphPush(E2.get(), Kf);
      break;
  }
  E1->Draw(DC, 0, 0);
}
