// The objects behind the graphics handles, shared by the files of this folder (and the font module).
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/gdi.h"

// ---- regions ----
struct TRegionBand {
  Integer Top = 0;
  Integer Bottom = 0;
  std::vector<Integer> Xs;  // pairs: left, right (exclusive), sorted, not touching
  friend bool operator==(const TRegionBand&, const TRegionBand&) = default;
};

// Canonical banded rectangle list; an empty list is the empty region.
class TRegionData {
 public:
  TRegionData() = default;
  explicit TRegionData(const TRect& r);
  static TRegionData FromRects(const std::vector<TRect>& rects);

  bool Empty() const { return FBands.empty(); }
  Integer Type() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
  TRect Box() const;
  bool Contains(Integer x, Integer y) const;
  bool Overlaps(const TRect& r) const;
  void Offset(Integer dx, Integer dy);
  std::vector<TRect> Rects() const;
  const std::vector<TRegionBand>& Bands() const { return FBands; }
  // The spans of row y (pairs), or null when the row is outside the region.
  const std::vector<Integer>* RowSpans(Integer y) const;

  static TRegionData Combine(const TRegionData& a, const TRegionData& b, Integer mode);
  friend bool operator==(const TRegionData&, const TRegionData&) = default;

 private:
  std::vector<TRegionBand> FBands;
  void appendBand(Integer top, Integer bottom, std::vector<Integer>&& xs);
};

struct TGdiRegion : TGdiObject {
  TGdiRegion() : TGdiObject(OBJ_REGION) {}
  TRegionData Data;
};

// ---- pens, brushes, bitmaps ----
struct TGdiPen : TGdiObject {
  TGdiPen() : TGdiObject(OBJ_PEN) {}
  Integer GetObjectInfo(Integer cb, void* out) const override;
  UINT Style = PS_SOLID;
  Integer Width = 0;
  COLORREF Color = 0;
};

struct TGdiBitmap;

struct TGdiBrush : TGdiObject {
  TGdiBrush() : TGdiObject(OBJ_BRUSH) {}
  Integer GetObjectInfo(Integer cb, void* out) const override;
  UINT Style = BS_SOLID;
  COLORREF Color = 0;
  Integer Hatch = 0;
  // Pattern brushes: a copy of the bitmap as B, G, R, A pixels (mono: 0 or 1 per pixel).
  Integer PatternWidth = 0;
  Integer PatternHeight = 0;
  bool PatternMono = false;
  std::vector<uint32_t> Pattern;
  HBITMAP PatternSource = nullptr;  // reported by GetObject only
};

struct TGdiDC;

struct TGdiBitmap : TGdiObject {
  TGdiBitmap() : TGdiObject(OBJ_BITMAP) {}
  Integer GetObjectInfo(Integer cb, void* out) const override;

  Integer Width = 0;
  Integer Height = 0;
  Integer BitCount = 32;
  bool TopDown = true;
  bool IsSection = false;
  bool Mono = false;  // a monochrome device bitmap (the platform's colour rules for mono apply)
  DWORD Compression = BI_RGB;
  Integer Stride = 0;  // bytes per row, multiple of 4
  std::unique_ptr<Byte[]> Storage;
  Byte* Bits = nullptr;  // Storage, or a caller's buffer for the views of DIB buffers
  std::vector<RGBQUAD> Colors;
  TGdiDC* Owner = nullptr;  // the memory DC holding it

  Byte* Row(Integer y) const { return Bits + size_t(TopDown ? y : Height - 1 - y) * size_t(Stride); }
};

// Creates a zero-filled bitmap; null when the size or format is refused.
TGdiBitmap* GdiNewBitmap(Integer width, Integer height, Integer bitCount, bool topDown);
// The 1x1 monochrome bitmap of a fresh memory DC (a stock object).
TGdiBitmap* GdiDefaultBitmap();

// ---- DCs ----
struct TGdiDCState {
  TPoint WindowOrg;
  TPoint ViewportOrg;
  TPoint BrushOrg;
  TPoint CurrentPos;
  COLORREF TextColor = 0;
  COLORREF BkColor = 0xFFFFFF;
  Integer BkMode = OPAQUE;
  Integer Rop2 = R2_COPYPEN;
  Integer StretchMode = BLACKONWHITE;
  UINT TextAlign = 0;
  TGdiPen* Pen = nullptr;
  TGdiBrush* Brush = nullptr;
  TGdiObject* Font = nullptr;
  TGdiBitmap* Bitmap = nullptr;
  std::optional<TRegionData> Clip;  // device coordinates
};

enum class TGdiDCKind { Memory, Surface };

struct TGdiDC : TGdiObject {
  explicit TGdiDC(TGdiDCKind kind)
      : TGdiObject(kind == TGdiDCKind::Memory ? OBJ_MEMDC : OBJ_DC), DCKind(kind) {}
  TGdiDCKind DCKind;
  TGdiDCState S;
  std::vector<TGdiDCState> Saved;
  // Surface DCs: the surface drawn on, the device origin inside it and the base clip (device coords).
  TGdiBitmap* Surface = nullptr;
  TPoint Origin;
  std::optional<TRegionData> BaseClip;
  bool FromGetDC = false;

  // The bitmap drawn on.
  TGdiBitmap* Target() const { return DCKind == TGdiDCKind::Memory ? S.Bitmap : Surface; }
  // Logical → surface offset.
  Integer OffX() const { return -S.WindowOrg.X + S.ViewportOrg.X + Origin.X; }
  Integer OffY() const { return -S.WindowOrg.Y + S.ViewportOrg.Y + Origin.Y; }
  // What may be drawn, in surface coordinates.
  const TRegionData& EffectiveClip();
  void InvalidateClip() { FClipValid = false; }

 private:
  TRegionData FEffClip;
  bool FClipValid = false;
};

// The live DC behind h, or null.
TGdiDC* GdiDC(HDC h);
template <class T>
T* GdiLive(T* h, TGdiObjectKind kind) {
  TGdiObject* o = GdiObjectFromHandle(h);
  return o && o->Kind == kind ? static_cast<T*>(o) : nullptr;
}

// ---- pixels ----
// Colours inside this layer are B, G, R, A words (the byte order of a 32-bit surface).
inline uint32_t ColorRefToPixel(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF PixelToColorRef(uint32_t p) {
  return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

// The colour at (x, y) (palette and 24-bit pixels have alpha 0).
uint32_t GdiReadColor(const TGdiBitmap* bm, Integer x, Integer y);
// The stored value at (x, y): the pixel word for 32 bits, B,G,R for 24, the index for palettes.
uint32_t GdiReadRaw(const TGdiBitmap* bm, Integer x, Integer y);
void GdiWriteRaw(TGdiBitmap* bm, Integer x, Integer y, uint32_t v);
// The stored value that represents a colour (nearest palette entry for palettes).
uint32_t GdiColorToRaw(const TGdiBitmap* bm, uint32_t color);
// Mask of the meaningful bits of a stored value.
uint32_t GdiRawMask(const TGdiBitmap* bm);

// Applies a binary raster operation (R2_*) to pen value p and destination value d.
inline uint32_t ApplyRop2(Integer mode, uint32_t p, uint32_t d) {
  uint32_t t = uint32_t(mode - 1) & 15, r = 0;
  if (t & 1) r |= ~p & ~d;
  if (t & 2) r |= ~p & d;
  if (t & 4) r |= p & ~d;
  if (t & 8) r |= p & d;
  return r;
}
// Applies a ternary raster operation (its index byte) to pattern, source and destination values.
inline uint32_t ApplyRop3(uint32_t index, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (uint32_t k = 0; k < 8; ++k) {
    if (!(index & (1u << k))) continue;
    r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
  }
  return r;
}

// Calls f(y, x0, x1) for every row piece [x0, x1) of rect r inside the region, top to bottom.
template <class F>
void ForEachClipSpan(const TRegionData& clip, const TRect& r, F&& f) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  for (const TRegionBand& band : clip.Bands()) {
    if (band.Bottom <= r.Top) continue;
    if (band.Top >= r.Bottom) break;
    Integer y0 = std::max(band.Top, r.Top), y1 = std::min(band.Bottom, r.Bottom);
    for (Integer y = y0; y < y1; ++y) {
      for (size_t i = 0; i < band.Xs.size(); i += 2) {
        Integer x0 = std::max(band.Xs[i], r.Left), x1 = std::min(band.Xs[i + 1], r.Right);
        if (x0 < x1) f(y, x0, x1);
      }
    }
  }
}

// v / 255 rounded to nearest, for v in 0 .. 255 * 255.
inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}
