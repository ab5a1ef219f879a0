// Drawing helpers shared by the pen, brush and blit code of this folder.
#pragma once

#include "platform/gdi/gdi_internal.h"

namespace gdi_detail {

// A DC ready to draw on: its target, clip and logical → surface offset.
struct TPaint {
  TGdiDC* DC = nullptr;
  TGdiBitmap* Bm = nullptr;
  const TRegionData* Clip = nullptr;
  Integer OffX = 0, OffY = 0;

  bool Begin(HDC h) {
    DC = GdiDC(h);
    if (!DC) return false;
    Bm = DC->Target();
    if (!Bm) return false;
    Clip = &DC->EffectiveClip();
    OffX = DC->OffX();
    OffY = DC->OffY();
    return true;
  }
  bool Visible(Integer sx, Integer sy) const { return Clip->Contains(sx, sy); }
  // A pen or brush write of stored value v with a binary raster op; alpha of 32-bit targets becomes 0.
  void Put(Integer sx, Integer sy, uint32_t v, Integer rop2) const {
    uint32_t mask = GdiRawMask(Bm);
    uint32_t r = rop2 == R2_COPYPEN ? v : ApplyRop2(rop2, v, GdiReadRaw(Bm, sx, sy));
    r &= mask;
    if (Bm->BitCount == 32) r &= 0xFFFFFF;
    GdiWriteRaw(Bm, sx, sy, r);
  }
  uint32_t Raw(COLORREF c) const { return GdiColorToRaw(Bm, ColorRefToPixel(c)); }
  TRect ToSurface(TRect r) const {
    if (r.Right < r.Left) std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
    return {r.Left + OffX, r.Top + OffY, r.Right + OffX, r.Bottom + OffY};
  }
};

// Brush value at a surface pixel; false where the brush leaves the pixel alone.
struct TBrushSource {
  const TGdiBrush* Brush = nullptr;
  const TPaint* P = nullptr;
  uint32_t Fore = 0, Back = 0;
  bool Opaque = true;
  Integer OrgX = 0, OrgY = 0;  // surface position of the pattern origin

  bool Init(const TPaint& p, const TGdiBrush* b) {
    Brush = b;
    P = &p;
    if (!b || b->Style == BS_NULL) return false;
    OrgX = p.DC->Origin.X + p.DC->S.BrushOrg.X;
    OrgY = p.DC->Origin.Y + p.DC->S.BrushOrg.Y;
    Opaque = p.DC->S.BkMode == OPAQUE;
    switch (b->Style) {
      case BS_SOLID:
        Fore = p.Raw(b->Color);
        break;
      case BS_HATCHED:
        Fore = p.Raw(b->Color);
        Back = p.Raw(p.DC->S.BkColor);
        break;
      case BS_PATTERN:
        if (b->PatternWidth <= 0) return false;
        Fore = p.Raw(p.DC->S.TextColor);
        Back = p.Raw(p.DC->S.BkColor);
        break;
      default:
        return false;
    }
    return true;
  }
  bool Solid() const { return Brush->Style == BS_SOLID; }
  static bool hatchBit(Integer style, Integer x, Integer y) {
    switch (style) {
      case HS_HORIZONTAL:
        return y == 0;
      case HS_VERTICAL:
        return x == 0;
      case HS_FDIAGONAL:
        return x == y;
      case HS_BDIAGONAL:
        return x + y == 7;
      case HS_CROSS:
        return x == 0 || y == 0;
      default:
        return x == y || x + y == 7;
    }
  }
  bool At(Integer sx, Integer sy, uint32_t& v) const {
    switch (Brush->Style) {
      case BS_SOLID:
        v = Fore;
        return true;
      case BS_HATCHED: {
        Integer hx = ((sx - OrgX) % 8 + 8) % 8, hy = ((sy - OrgY) % 8 + 8) % 8;
        if (hatchBit(Brush->Hatch, hx, hy)) {
          v = Fore;
          return true;
        }
        v = Back;
        return Opaque;
      }
      default: {
        Integer w = Brush->PatternWidth, h = Brush->PatternHeight;
        Integer px = ((sx - OrgX) % w + w) % w, py = ((sy - OrgY) % h + h) % h;
        uint32_t c = Brush->Pattern[size_t(py) * size_t(w) + size_t(px)];
        v = Brush->PatternMono ? (c ? Back : Fore) : GdiColorToRaw(P->Bm, c & 0xFFFFFF);
        return true;
      }
    }
  }
};

}  // namespace gdi_detail
