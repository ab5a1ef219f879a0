// Blits: raster-op copies, stretching, key-colour and alpha blits, and the DIB buffer transfers.
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/gdi/paint_internal.h"

using namespace gdi_detail;

namespace {

enum class TBlitMode { Rop, Key, Alpha };

// One extent along an axis after the negative-extent rule: start, count and whether it runs backwards.
struct TSpan {
  Integer Start = 0;
  Integer Count = 0;
  bool Reversed = false;
};

TSpan spanOf(Integer origin, Integer extent) {
  if (extent < 0) return {origin + extent + 1, -extent, true};
  return {origin, extent, false};
}

// Source index for each destination index: floor((2i + 1) * src / (2 * dst)), counted from the far end
// when mirrored.
std::vector<Integer> sampleMap(Integer dst, Integer src, bool mirror, Integer srcStart) {
  std::vector<Integer> map(size_t(dst > 0 ? dst : 0));
  for (Integer i = 0; i < dst; ++i) {
    Integer s = Integer((Int64(2 * i + 1) * src) / (Int64(2) * dst));
    map[size_t(i)] = srcStart + (mirror ? src - 1 - s : s);
  }
  return map;
}

struct TBlit {
  TPaint Dst;
  const TGdiBitmap* Src = nullptr;  // null for pattern-only raster ops
  const TGdiDC* SrcDC = nullptr;
  TBlitMode Mode = TBlitMode::Rop;
  DWORD Rop = SRCCOPY;
  uint32_t KeyColor = 0;
  BLENDFUNCTION Blend;
  TSpan DX, DY, SX, SY;  // destination in surface coordinates, source in source surface coordinates
};

// Converts a source pixel to the destination's stored value, with the platform's monochrome rules.
struct TConverter {
  const TGdiBitmap* Src;
  const TGdiBitmap* Dst;
  uint32_t MonoZero = 0, MonoOne = 0;  // mono → colour
  uint32_t SrcBk = 0;                  // colour → mono: the source DC's background colour
  bool FromMono = false, ToMono = false, Same32 = false;

  TConverter(const TGdiBitmap* src, const TGdiDC* srcDC, const TGdiBitmap* dst, const TGdiDC* dstDC)
      : Src(src), Dst(dst) {
    FromMono = src->Mono && !dst->Mono;
    ToMono = dst->Mono && !src->Mono;
    Same32 = src->BitCount == 32 && dst->BitCount == 32;
    if (FromMono) {
      MonoZero = GdiColorToRaw(dst, ColorRefToPixel(dstDC ? dstDC->S.TextColor : 0));
      MonoOne = GdiColorToRaw(dst, ColorRefToPixel(dstDC ? dstDC->S.BkColor : 0xFFFFFF));
    }
    if (ToMono) SrcBk = ColorRefToPixel(srcDC ? srcDC->S.BkColor : 0xFFFFFF);
  }
  uint32_t operator()(Integer x, Integer y) const {
    if (Same32) return GdiReadRaw(Src, x, y);
    if (FromMono) return GdiReadRaw(Src, x, y) ? MonoOne : MonoZero;
    uint32_t c = GdiReadColor(Src, x, y);
    if (ToMono) return (c & 0xFFFFFF) == SrcBk ? 1 : 0;
    if (Src->Mono && Dst->Mono) return GdiReadRaw(Src, x, y);
    return GdiColorToRaw(Dst, c);
  }
};

// Plain copies between true-colour surfaces move whole rows: a 24-bit source gives alpha 0 in a
// 32-bit target, a 32-bit source loses its alpha in a 24-bit one.
bool isTrueColor(const TGdiBitmap* bm) {
  return !bm->Mono && (bm->BitCount == 24 || bm->BitCount == 32);
}

inline void copyPixel(Byte* out, Integer outBytes, const Byte* in, Integer inBytes) {
  if (outBytes == 4 && inBytes == 4) {
    std::memcpy(out, in, 4);
  } else if (outBytes == 4) {
    const uint32_t v = uint32_t(in[0]) | (uint32_t(in[1]) << 8) | (uint32_t(in[2]) << 16);
    std::memcpy(out, &v, 4);
  } else {
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
  }
}

// n pixels from in (inBytes per pixel) to out (outBytes per pixel); the same format may overlap.
void copyPixels(Byte* out, Integer outBytes, const Byte* in, Integer inBytes, Integer n) {
  if (outBytes == inBytes) {
    std::memmove(out, in, size_t(n) * size_t(outBytes));
    return;
  }
  for (Integer i = 0; i < n; ++i, out += outBytes, in += inBytes) copyPixel(out, outBytes, in, inBytes);
}

inline uint32_t blendOver(uint32_t s, uint32_t d, uint32_t inverseAlpha) {
  // Two channels per lane: div255(d * inverseAlpha) rounded to nearest, then a saturating add of s.
  uint32_t rb = (d & 0x00FF00FF) * inverseAlpha + 0x00800080;
  rb = ((rb + ((rb >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  uint32_t ag = ((d >> 8) & 0x00FF00FF) * inverseAlpha + 0x00800080;
  ag = ((ag + ((ag >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  rb += s & 0x00FF00FF;
  ag += (s >> 8) & 0x00FF00FF;
  rb = (rb | (0x01000100 - ((rb >> 8) & 0x00010001))) & 0x00FF00FF;
  ag = (ag | (0x01000100 - ((ag >> 8) & 0x00010001))) & 0x00FF00FF;
  return rb | (ag << 8);
}

// Premultiplied source over destination for a run of n pixels (the per-pixel alpha case).
void blendRun(uint32_t* out, const uint32_t* in, Integer n) {
  Integer i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi32(255), half = _mm_set1_epi16(128),
                k257 = _mm_set1_epi16(257);
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
    __m128i ia = _mm_sub_epi32(full, _mm_srli_epi32(s, 24));
    ia = _mm_or_si128(ia, _mm_slli_epi32(ia, 16));
    // (t * 257) >> 16 with t = v + 128 is v / 255 rounded to nearest for v <= 255 * 255.
    __m128i lo = _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi32(ia, ia));
    __m128i hi = _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi32(ia, ia));
    lo = _mm_mulhi_epu16(_mm_add_epi16(lo, half), k257);
    hi = _mm_mulhi_epu16(_mm_add_epi16(hi, half), k257);
    __m128i r = _mm_adds_epu8(_mm_packus_epi16(lo, hi), s);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), r);
  }
#endif
  for (; i < n; ++i) {
    uint32_t s = in[i], a = s >> 24;
    if (a == 255) {
      out[i] = s;
    } else if (s) {
      out[i] = blendOver(s, out[i], 255 - a);
    }
  }
}

inline uint32_t scaleChannels(uint32_t s, uint32_t k) {
  uint32_t rb = (s & 0x00FF00FF) * k + 0x00800080;
  rb = ((rb + ((rb >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  uint32_t ag = ((s >> 8) & 0x00FF00FF) * k + 0x00800080;
  ag = ((ag + ((ag >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  return rb | (ag << 8);
}

// The blend of one source colour over one destination colour, both B, G, R, A words.
inline uint32_t alphaPixel(uint32_t s, uint32_t d, const BLENDFUNCTION& b) {
  uint32_t sca = b.SourceConstantAlpha;
  if (sca < 255) s = scaleChannels(s, sca);
  uint32_t inverse = (b.AlphaFormat & AC_SRC_ALPHA) ? 255 - (s >> 24) : 255 - sca;
  return blendOver(s, d, inverse);
}

bool runBlit(TBlit& b) {
  TGdiBitmap* dst = b.Dst.Bm;
  const TRect area{b.DX.Start, b.DY.Start, b.DX.Start + b.DX.Count, b.DY.Start + b.DY.Count};
  if (b.DX.Count <= 0 || b.DY.Count <= 0) return true;

  uint32_t ropIndex = (b.Rop >> 16) & 0xFF;
  bool usesSource = ((ropIndex >> 2) & 0x33) != (ropIndex & 0x33);
  bool usesPattern = ((ropIndex >> 4) & 0x0F) != (ropIndex & 0x0F);
  if (b.Mode != TBlitMode::Rop) usesSource = true, usesPattern = false;
  if (usesSource && !b.Src) return false;

  TBrushSource pattern;
  if (usesPattern && !pattern.Init(b.Dst, b.Dst.DC->S.Brush)) return true;

  std::vector<Integer> cols, rows;
  if (usesSource) {
    cols = sampleMap(b.DX.Count, b.SX.Count, b.DX.Reversed != b.SX.Reversed, b.SX.Start);
    rows = sampleMap(b.DY.Count, b.SY.Count, b.DY.Reversed != b.SY.Reversed, b.SY.Start);
  }
  const TGdiBitmap* src = b.Src;
  std::optional<TConverter> convert;
  if (src) convert.emplace(src, b.SrcDC, dst, b.Dst.DC);
  uint32_t mask = GdiRawMask(dst);
  const bool plainCopy =
      b.Mode == TBlitMode::Rop && b.Rop == SRCCOPY && src && isTrueColor(src) && isTrueColor(dst);
  const Integer inBytes = src ? src->BitCount / 8 : 0, outBytes = dst->BitCount / 8;

  ForEachClipSpan(*b.Dst.Clip, area, [&](Integer y, Integer x0, Integer x1) {
    Integer sy = 0;
    if (usesSource) {
      sy = rows[size_t(y - area.Top)];
      if (sy < 0 || sy >= src->Height) return;
    }
    if (plainCopy) {
      Byte* out = dst->Row(y);
      const Byte* in = src->Row(sy);
      auto map = [&](Integer x) { return cols[size_t(x - area.Left)]; };
      // Unscaled runs are one move (source and destination may be the same surface).
      if (b.SX.Count == b.DX.Count && b.DX.Reversed == b.SX.Reversed) {
        Integer s0 = map(x0);
        Integer lo = std::max(x0, x0 - s0), hi = std::min(x1, x0 + (src->Width - s0));
        if (lo < hi)
          copyPixels(out + size_t(lo) * outBytes, outBytes, in + size_t(map(lo)) * inBytes, inBytes, hi - lo);
        return;
      }
      for (Integer x = x0; x < x1; ++x) {
        Integer sx = map(x);
        if (sx >= 0 && sx < src->Width)
          copyPixel(out + size_t(x) * outBytes, outBytes, in + size_t(sx) * inBytes, inBytes);
      }
      return;
    }
    if (b.Mode == TBlitMode::Alpha && convert->Same32) {
      uint32_t* out = reinterpret_cast<uint32_t*>(dst->Row(y));
      const uint32_t* in = reinterpret_cast<const uint32_t*>(src->Row(sy));
      const Integer* map = cols.data() + (x0 - area.Left);
      bool perPixelAlpha = (b.Blend.AlphaFormat & AC_SRC_ALPHA) && b.Blend.SourceConstantAlpha == 255;
      if (perPixelAlpha && b.SX.Count == b.DX.Count && b.DX.Reversed == b.SX.Reversed) {
        blendRun(out + x0, in + *map, x1 - x0);
        return;
      }
      for (Integer x = x0; x < x1; ++x, ++map) {
        uint32_t s = in[*map];
        if (perPixelAlpha) {
          uint32_t a = s >> 24;
          if (a == 255) {
            out[x] = s;
          } else if (s) {
            out[x] = blendOver(s, out[x], 255 - a);
          }
        } else {
          out[x] = alphaPixel(s, out[x], b.Blend);
        }
      }
      return;
    }
    for (Integer x = x0; x < x1; ++x) {
      Integer sx = 0;
      if (usesSource) {
        sx = cols[size_t(x - area.Left)];
        if (sx < 0 || sx >= src->Width) continue;
      }
      switch (b.Mode) {
        case TBlitMode::Rop: {
          uint32_t p = 0, s = 0, d = GdiReadRaw(dst, x, y);
          if (usesPattern && !pattern.At(x, y, p)) continue;
          if (usesSource) s = (*convert)(sx, sy);
          uint32_t r = ApplyRop3(ropIndex, p, s, d) & mask;
          if (dst->BitCount == 32 && !usesSource) r &= 0xFFFFFF;
          GdiWriteRaw(dst, x, y, r);
          break;
        }
        case TBlitMode::Key: {
          if ((GdiReadColor(src, sx, sy) & 0xFFFFFF) == b.KeyColor) continue;
          GdiWriteRaw(dst, x, y, (*convert)(sx, sy));
          break;
        }
        case TBlitMode::Alpha: {
          uint32_t s = GdiReadColor(src, sx, sy);
          if (dst->BitCount == 32) {
            uint32_t* out = reinterpret_cast<uint32_t*>(dst->Row(y)) + x;
            *out = alphaPixel(s, *out, b.Blend);
          } else {
            uint32_t d = GdiReadColor(dst, x, y);
            GdiWriteRaw(dst, x, y, GdiColorToRaw(dst, alphaPixel(s, d, b.Blend)));
          }
          break;
        }
      }
    }
  });
  return true;
}

// Sets up the destination and, when given, the source of a blit from DC arguments.
bool prepare(TBlit& b, HDC dst, Integer x, Integer y, Integer w, Integer h, HDC src, Integer sx, Integer sy,
             Integer sw, Integer sh) {
  if (!b.Dst.Begin(dst)) return false;
  b.DX = spanOf(x + b.Dst.OffX, w);
  b.DY = spanOf(y + b.Dst.OffY, h);
  if (src) {
    TGdiDC* s = GdiDC(src);
    if (!s || !s->Target()) return false;
    b.SrcDC = s;
    b.Src = s->Target();
    b.SX = spanOf(sx + s->OffX(), sw);
    b.SY = spanOf(sy + s->OffY(), sh);
  }
  return true;
}

bool sourceInside(const TBlit& b) {
  return b.SX.Start >= 0 && b.SY.Start >= 0 && b.SX.Start + b.SX.Count <= b.Src->Width &&
         b.SY.Start + b.SY.Count <= b.Src->Height;
}

// A view of a caller's DIB buffer as a bitmap (rows counted from the top).
bool dibView(const BITMAPINFO* info, const void* bits, UINT usage, Integer rows, TGdiBitmap& view) {
  if (!info || !bits || usage != DIB_RGB_COLORS) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biWidth > MaxSurfaceSide || rows <= 0 ||
      rows > MaxSurfaceSide)
    return false;
  Integer bc = h.biBitCount;
  if (bc != 1 && bc != 4 && bc != 8 && bc != 24 && bc != 32) return false;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && bc == 32)) return false;
  Int64 stride = ((Int64(h.biWidth) * bc + 31) / 32) * 4;
  if (stride * rows > MaxSurfaceBytes) return false;
  view.Width = h.biWidth;
  view.Height = rows;
  view.BitCount = bc;
  view.TopDown = h.biHeight < 0;
  view.Stride = Integer(stride);
  view.Bits = static_cast<Byte*>(const_cast<void*>(bits));
  if (bc <= 8) {
    size_t n = size_t(1) << bc;
    size_t used = h.biClrUsed ? std::min<size_t>(h.biClrUsed, n) : n;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const Byte*>(info) + h.biSize);
    view.Colors.assign(n, RGBQUAD{});
    std::copy(table, table + used, view.Colors.begin());
  }
  return true;
}

Integer absHeight(const BITMAPINFO* info) {
  Integer h = info->bmiHeader.biHeight;
  return h == INT32_MIN ? 0 : (h < 0 ? -h : h);
}

}  // namespace

bool BitBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX, Integer srcY,
            DWORD rop) {
  return StretchBlt(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

bool StretchBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX,
                Integer srcY, Integer srcWidth, Integer srcHeight, DWORD rop) {
  TBlit b;
  uint32_t index = (rop >> 16) & 0xFF;
  bool usesSource = ((index >> 2) & 0x33) != (index & 0x33);
  if (!prepare(b, dst, x, y, width, height, usesSource ? src : nullptr, srcX, srcY, srcWidth, srcHeight))
    return false;
  b.Rop = rop;
  if (usesSource && (srcWidth == 0 || srcHeight == 0)) return false;
  return runBlit(b);
}

bool PatBlt(HDC dc, Integer x, Integer y, Integer width, Integer height, DWORD rop) {
  uint32_t index = (rop >> 16) & 0xFF;
  if (((index >> 2) & 0x33) != (index & 0x33)) return false;  // reads a source
  return StretchBlt(dc, x, y, width, height, nullptr, 0, 0, 0, 0, rop);
}

bool TransparentBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX,
                    Integer srcY, Integer srcWidth, Integer srcHeight, UINT transparent) {
  if (width < 0 || height < 0 || srcWidth <= 0 || srcHeight <= 0 || !src) return false;
  TBlit b;
  if (!prepare(b, dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight)) return false;
  if (!sourceInside(b)) return false;
  b.Mode = TBlitMode::Key;
  b.KeyColor = ColorRefToPixel(transparent) & 0xFFFFFF;
  return runBlit(b);
}

bool AlphaBlend(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX,
                Integer srcY, Integer srcWidth, Integer srcHeight, BLENDFUNCTION blend) {
  if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 || !src || blend.BlendOp != AC_SRC_OVER)
    return false;
  TBlit b;
  if (!prepare(b, dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight)) return false;
  if (!sourceInside(b)) return false;
  if ((blend.AlphaFormat & AC_SRC_ALPHA) && b.Src->BitCount != 32) return false;
  if (srcWidth == 0 || srcHeight == 0) return width == 0 || height == 0;
  b.Mode = TBlitMode::Alpha;
  b.Blend = blend;
  return runBlit(b);
}

Integer SetDIBitsToDevice(HDC dc, Integer x, Integer y, DWORD width, DWORD height, Integer srcX, Integer srcY,
                          UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                          UINT usage) {
  TGdiBitmap view;
  if (!dibView(info, bits, usage, Integer(scanLines), view)) return 0;
  if (width > DWORD(MaxSurfaceSide) || height > DWORD(MaxSurfaceSide) || startScan > UINT(MaxSurfaceSide))
    return 0;
  TBlit b;
  if (!b.Dst.Begin(dc)) return 0;
  Integer w = Integer(width), h = Integer(height), start = Integer(startScan), lines = Integer(scanLines);
  // The buffer holds DIB rows start .. start + lines - 1 (from the bottom for bottom-up buffers); the
  // block's top row is row srcY + h - 1 from the bottom, or row srcY from the top.
  Integer firstViewRow = view.TopDown ? srcY - start : start + lines - 1 - (srcY + h - 1);
  b.Src = &view;
  b.DX = spanOf(x + b.Dst.OffX, w);
  b.DY = spanOf(y + b.Dst.OffY, h);
  b.SX = {srcX, w, false};
  b.SY = {firstViewRow, h, false};
  if (!runBlit(b)) return 0;
  Integer used = std::max(0, std::min(firstViewRow + h, lines) - std::max(firstViewRow, 0));
  return used;
}

Integer StretchDIBits(HDC dc, Integer x, Integer y, Integer width, Integer height, Integer srcX, Integer srcY,
                      Integer srcWidth, Integer srcHeight, const void* bits, const BITMAPINFO* info,
                      UINT usage, DWORD rop) {
  TGdiBitmap view;
  if (!info || !dibView(info, bits, usage, absHeight(info), view)) return 0;
  if (srcWidth == 0 || srcHeight == 0) return 0;
  TBlit b;
  if (!b.Dst.Begin(dc)) return 0;
  b.Rop = rop;
  b.Src = &view;
  b.DX = spanOf(x + b.Dst.OffX, width);
  b.DY = spanOf(y + b.Dst.OffY, height);
  b.SX = spanOf(srcX, srcWidth);
  if (view.TopDown) {
    b.SY = spanOf(srcY, srcHeight);
  } else {
    // Bottom-up buffers count srcY from the bottom row upwards.
    Integer rows = view.Height;
    b.SY = srcHeight > 0 ? TSpan{rows - srcY - srcHeight, srcHeight, false}
                         : TSpan{rows - 1 - srcY, -srcHeight, true};
  }
  if (!runBlit(b)) return 0;
  return height < 0 ? -height : height;
}

Integer GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
  TGdiBitmap* bm = GdiLive(bitmap, OBJ_BITMAP);
  if (!GdiDC(dc) || !bm || !info || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  if (!bits) {
    if (h.biBitCount == 0) {
      h.biWidth = bm->Width;
      h.biHeight = bm->Height;
      h.biPlanes = 1;
      h.biBitCount = WORD(bm->BitCount);
      h.biCompression = BI_RGB;
      h.biClrUsed = 0;
    }
    if (h.biBitCount != 24 && h.biBitCount != 32 && h.biBitCount != bm->BitCount) return 0;
    h.biSizeImage = DWORD(((Int64(h.biWidth) * h.biBitCount + 31) / 32) * 4 * absHeight(info));
    return bm->Height;
  }
  if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB) return 0;
  if (h.biWidth <= 0 || h.biWidth > MaxSurfaceSide || absHeight(info) == 0) return 0;
  Integer stride = ((h.biWidth * h.biBitCount + 31) / 32) * 4;
  bool topDown = h.biHeight < 0;
  Integer copied = 0;
  Integer columns = std::min(h.biWidth, bm->Width);
  for (UINT i = 0; i < lines; ++i) {
    Int64 r = Int64(start) + i;  // buffer-orientation row number
    if (r >= bm->Height) break;
    Integer y = topDown ? Integer(r) : bm->Height - 1 - Integer(r);
    Byte* out = static_cast<Byte*>(bits) + size_t(i) * size_t(stride);
    std::memset(out, 0, size_t(stride));
    for (Integer x = 0; x < columns; ++x) {
      uint32_t c = GdiReadColor(bm, x, y);
      if (h.biBitCount == 32) {
        std::memcpy(out + size_t(x) * 4, &c, 4);
      } else {
        out[x * 3] = Byte(c);
        out[x * 3 + 1] = Byte(c >> 8);
        out[x * 3 + 2] = Byte(c >> 16);
      }
    }
    ++copied;
  }
  h.biSizeImage = DWORD(stride) * DWORD(absHeight(info));
  return copied;
}

Integer SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
                  UINT usage) {
  TGdiBitmap* bm = GdiLive(bitmap, OBJ_BITMAP);
  TGdiBitmap view;
  if (!bm || !dibView(info, bits, usage, Integer(lines), view)) return 0;
  Integer columns = std::min(view.Width, bm->Width);
  Integer copied = 0;
  for (Integer i = 0; i < Integer(lines); ++i) {
    Int64 r = Int64(start) + i;
    if (r >= bm->Height) break;
    // View row i holds buffer row start + i (from the bottom for bottom-up buffers).
    Integer viewRow = view.TopDown ? i : Integer(lines) - 1 - i;
    Integer y = view.TopDown ? Integer(r) : bm->Height - 1 - Integer(r);
    for (Integer x = 0; x < columns; ++x)
      GdiWriteRaw(bm, x, y, GdiColorToRaw(bm, GdiReadColor(&view, x, viewRow)));
    ++copied;
  }
  return copied;
}

namespace {

TGdiBitmap* paletteTarget(HDC dc) {
  TGdiDC* d = GdiDC(dc);
  TGdiBitmap* bm = d ? d->Target() : nullptr;
  return bm && bm->BitCount <= 8 && bm->IsSection ? bm : nullptr;
}

}  // namespace

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
  TGdiBitmap* bm = paletteTarget(dc);
  if (!bm || !colors || start >= bm->Colors.size()) return 0;
  UINT n = std::min<UINT>(count, UINT(bm->Colors.size()) - start);
  std::copy(bm->Colors.begin() + start, bm->Colors.begin() + start + n, colors);
  return n;
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors) {
  TGdiBitmap* bm = paletteTarget(dc);
  if (!bm || !colors || start >= bm->Colors.size()) return 0;
  UINT n = std::min<UINT>(count, UINT(bm->Colors.size()) - start);
  std::copy(colors, colors + n, bm->Colors.begin() + start);
  for (UINT i = 0; i < n; ++i) bm->Colors[start + i].rgbReserved = 0;
  return n;
}
