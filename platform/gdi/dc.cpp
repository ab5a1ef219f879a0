// Drawing contexts: creation, selection, saved states, origins and clipping.
#include <mutex>

#include "platform/gdi/gdi_internal.h"

namespace {

void retainState(TGdiDCState& s, TGdiDC* dc) {
  if (s.Pen) ++s.Pen->SelectedCount;
  if (s.Brush) ++s.Brush->SelectedCount;
  if (s.Font) ++s.Font->SelectedCount;
  if (s.Bitmap && !s.Bitmap->Stock) {
    ++s.Bitmap->SelectedCount;
    s.Bitmap->Owner = dc;
  }
}

void releaseState(TGdiDCState& s) {
  if (s.Pen) --s.Pen->SelectedCount;
  if (s.Brush) --s.Brush->SelectedCount;
  if (s.Font) --s.Font->SelectedCount;
  if (s.Bitmap && !s.Bitmap->Stock && --s.Bitmap->SelectedCount == 0) s.Bitmap->Owner = nullptr;
}

TGdiDC* newDC(TGdiDCKind kind) {
  auto* dc = new TGdiDC(kind);
  dc->S.Pen = static_cast<TGdiPen*>(GetStockObject(BLACK_PEN));
  dc->S.Brush = static_cast<TGdiBrush*>(GetStockObject(WHITE_BRUSH));
  dc->S.Font = static_cast<TGdiObject*>(GetStockObject(SYSTEM_FONT));
  if (kind == TGdiDCKind::Memory) dc->S.Bitmap = GdiDefaultBitmap();
  retainState(dc->S, dc);
  GdiRegisterObject(dc);
  return dc;
}

std::mutex& providerLock() {
  static std::mutex m;
  return m;
}
TGdiWindowDCProvider& provider() {
  static TGdiWindowDCProvider p;
  return p;
}

TPoint toDevice(const TGdiDC* dc, TPoint p) {
  return {p.X - dc->S.WindowOrg.X + dc->S.ViewportOrg.X, p.Y - dc->S.WindowOrg.Y + dc->S.ViewportOrg.Y};
}

// The drawable area of the DC in device coordinates (what "no clip region" means).
TRegionData deviceArea(const TGdiDC* dc) {
  TGdiBitmap* t = dc->Target();
  if (!t) return {};
  return TRegionData(TRect{-dc->Origin.X, -dc->Origin.Y, t->Width - dc->Origin.X, t->Height - dc->Origin.Y});
}

Integer clipResult(TGdiDC* dc) {
  return dc->EffectiveClip().Type();
}

}  // namespace

const TRegionData& TGdiDC::EffectiveClip() {
  if (!FClipValid) {
    TGdiBitmap* t = Target();
    TRegionData r = t ? TRegionData(TRect{0, 0, t->Width, t->Height}) : TRegionData();
    if (BaseClip) {
      TRegionData b = *BaseClip;
      b.Offset(Origin.X, Origin.Y);
      r = TRegionData::Combine(r, b, RGN_AND);
    }
    if (S.Clip) {
      TRegionData c = *S.Clip;
      c.Offset(Origin.X, Origin.Y);
      r = TRegionData::Combine(r, c, RGN_AND);
    }
    FEffClip = std::move(r);
    FClipValid = true;
  }
  return FEffClip;
}

// ---- creation ----
HDC CreateCompatibleDC(HDC) {
  return newDC(TGdiDCKind::Memory);
}

bool DeleteDC(HDC h) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return false;
  releaseState(dc->S);
  for (auto& s : dc->Saved) releaseState(s);
  if (dc->Surface) --dc->Surface->SelectedCount;
  delete dc;
  return true;
}

HBITMAP GdiScreenSurface() {
  static TGdiBitmap* screen = [] {
    TGdiBitmap* bm = GdiNewBitmap(ScreenWidth, ScreenHeight, 32, true);
    bm->IsSection = true;
    bm->Stock = true;
    return bm;
  }();
  return screen;
}

HDC GdiCreateSurfaceDC(HBITMAP surface, TPoint origin, HRGN baseClip) {
  TGdiBitmap* bm = GdiLive(surface, OBJ_BITMAP);
  if (!bm) return nullptr;
  TGdiRegion* clip = nullptr;
  if (baseClip && !(clip = GdiLive(baseClip, OBJ_REGION))) return nullptr;
  TGdiDC* dc = newDC(TGdiDCKind::Surface);
  dc->Surface = bm;
  ++bm->SelectedCount;
  dc->Origin = origin;
  if (clip) dc->BaseClip = clip->Data;
  return dc;
}

bool GdiSetSurfaceDCBase(HDC h, TPoint origin, HRGN baseClip) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || dc->DCKind != TGdiDCKind::Surface) return false;
  TGdiRegion* clip = nullptr;
  if (baseClip && !(clip = GdiLive(baseClip, OBJ_REGION))) return false;
  dc->Origin = origin;
  if (clip) {
    dc->BaseClip = clip->Data;
  } else {
    dc->BaseClip.reset();
  }
  dc->InvalidateClip();
  return true;
}

void GdiSetWindowDCProvider(TGdiWindowDCProvider p) {
  std::lock_guard<std::mutex> guard(providerLock());
  provider() = std::move(p);
}

namespace {

HDC windowDC(HWND wnd, bool whole) {
  if (!wnd) {
    HDC dc = GdiCreateSurfaceDC(GdiScreenSurface(), {0, 0}, nullptr);
    dc->FromGetDC = true;
    return dc;
  }
  std::function<HDC(HWND, bool)> get;
  {
    std::lock_guard<std::mutex> guard(providerLock());
    get = provider().GetDC;
  }
  return get ? get(wnd, whole) : nullptr;
}

}  // namespace

HDC GetDC(HWND wnd) {
  return windowDC(wnd, false);
}
HDC GetWindowDC(HWND wnd) {
  return windowDC(wnd, true);
}

Integer ReleaseDC(HWND wnd, HDC h) {
  if (wnd) {
    std::function<Integer(HWND, HDC)> release;
    {
      std::lock_guard<std::mutex> guard(providerLock());
      release = provider().ReleaseDC;
    }
    if (release) return release(wnd, h);
  }
  TGdiDC* dc = GdiDC(h);
  if (!dc || dc->DCKind != TGdiDCKind::Surface) return 0;
  DeleteDC(h);
  return 1;
}

Integer GetDeviceCaps(HDC h, Integer index) {
  if (!GdiDC(h)) return 0;
  switch (index) {
    case HORZRES:
      return ScreenWidth;
    case VERTRES:
      return ScreenHeight;
    case BITSPIXEL:
      return ScreenBitsPerPixel;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return ScreenPixelsPerInch;
    default:
      return 0;
  }
}

// ---- selection ----
HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
  TGdiDC* dc = GdiDC(h);
  TGdiObject* o = GdiObjectFromHandle(obj);
  if (!dc || !o) return nullptr;
  auto swap = [](auto*& slot, auto* value) -> HGDIOBJ {
    auto* old = slot;
    if (value != old) {
      ++value->SelectedCount;
      if (old) --old->SelectedCount;
      slot = value;
    }
    return old;
  };
  switch (o->Kind) {
    case OBJ_PEN:
      return swap(dc->S.Pen, static_cast<TGdiPen*>(o));
    case OBJ_BRUSH:
      return swap(dc->S.Brush, static_cast<TGdiBrush*>(o));
    case OBJ_FONT:
      return swap(dc->S.Font, o);
    case OBJ_REGION: {
      Integer type = SelectClipRgn(h, static_cast<TGdiRegion*>(o));
      return type == ERROR ? nullptr : reinterpret_cast<HGDIOBJ>(intptr_t(type));
    }
    case OBJ_BITMAP: {
      auto* bm = static_cast<TGdiBitmap*>(o);
      if (dc->DCKind != TGdiDCKind::Memory) return nullptr;
      TGdiBitmap* old = dc->S.Bitmap;
      if (bm == old) return old;
      if (!bm->Stock) {
        if (bm->Owner && bm->Owner != dc) return nullptr;
        ++bm->SelectedCount;
        bm->Owner = dc;
      } else if (bm != GdiDefaultBitmap()) {
        return nullptr;  // the screen surface is never selected
      }
      if (old && !old->Stock && --old->SelectedCount == 0) old->Owner = nullptr;
      dc->S.Bitmap = bm;
      dc->InvalidateClip();
      return old;
    }
    default:
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC h, UINT kind) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return nullptr;
  switch (kind) {
    case OBJ_PEN:
      return dc->S.Pen;
    case OBJ_BRUSH:
      return dc->S.Brush;
    case OBJ_FONT:
      return dc->S.Font;
    case OBJ_BITMAP:
      return dc->Target();
    default:
      return nullptr;
  }
}

// ---- saved states ----
Integer SaveDC(HDC h) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return 0;
  dc->Saved.push_back(dc->S);
  retainState(dc->Saved.back(), dc);
  return Integer(dc->Saved.size());
}

bool RestoreDC(HDC h, Integer savedDC) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || savedDC == 0) return false;
  Integer count = Integer(dc->Saved.size());
  Integer level = savedDC < 0 ? count + 1 + savedDC : savedDC;
  if (level < 1 || level > count) return false;
  releaseState(dc->S);
  dc->S = std::move(dc->Saved[size_t(level - 1)]);
  for (size_t i = size_t(level); i < dc->Saved.size(); ++i) releaseState(dc->Saved[i]);
  dc->Saved.resize(size_t(level - 1));
  dc->InvalidateClip();
  return true;
}

// ---- origins ----
namespace {

bool setPoint(HDC h, TPoint TGdiDCState::*field, Integer x, Integer y, bool relative, TPoint* old) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return false;
  TPoint& p = dc->S.*field;
  if (old) *old = p;
  p = relative ? TPoint{p.X + x, p.Y + y} : TPoint{x, y};
  return true;
}

bool getPoint(HDC h, TPoint TGdiDCState::*field, TPoint* out) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || !out) return false;
  *out = dc->S.*field;
  return true;
}

}  // namespace

bool SetWindowOrgEx(HDC dc, Integer x, Integer y, TPoint* old) {
  return setPoint(dc, &TGdiDCState::WindowOrg, x, y, false, old);
}
bool GetWindowOrgEx(HDC dc, TPoint* org) {
  return getPoint(dc, &TGdiDCState::WindowOrg, org);
}
bool OffsetWindowOrgEx(HDC dc, Integer dx, Integer dy, TPoint* old) {
  return setPoint(dc, &TGdiDCState::WindowOrg, dx, dy, true, old);
}
bool SetViewportOrgEx(HDC dc, Integer x, Integer y, TPoint* old) {
  return setPoint(dc, &TGdiDCState::ViewportOrg, x, y, false, old);
}
bool GetViewportOrgEx(HDC dc, TPoint* org) {
  return getPoint(dc, &TGdiDCState::ViewportOrg, org);
}
bool OffsetViewportOrgEx(HDC dc, Integer dx, Integer dy, TPoint* old) {
  return setPoint(dc, &TGdiDCState::ViewportOrg, dx, dy, true, old);
}
bool SetBrushOrgEx(HDC dc, Integer x, Integer y, TPoint* old) {
  return setPoint(dc, &TGdiDCState::BrushOrg, x, y, false, old);
}
bool GetBrushOrgEx(HDC dc, TPoint* org) {
  return getPoint(dc, &TGdiDCState::BrushOrg, org);
}

bool LPtoDP(HDC h, TPoint* points, Integer count) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || (!points && count > 0)) return false;
  for (Integer i = 0; i < count; ++i) points[i] = toDevice(dc, points[i]);
  return true;
}

bool DPtoLP(HDC h, TPoint* points, Integer count) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || (!points && count > 0)) return false;
  for (Integer i = 0; i < count; ++i)
    points[i] = {points[i].X + dc->S.WindowOrg.X - dc->S.ViewportOrg.X,
                 points[i].Y + dc->S.WindowOrg.Y - dc->S.ViewportOrg.Y};
  return true;
}

// ---- clipping ----
Integer ExtSelectClipRgn(HDC h, HRGN rgn, Integer mode) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    dc->S.Clip.reset();
  } else {
    TGdiRegion* r = GdiLive(rgn, OBJ_REGION);
    if (!r) return ERROR;
    if (mode == RGN_COPY) {
      dc->S.Clip = r->Data;
    } else {
      TRegionData current = dc->S.Clip ? *dc->S.Clip : deviceArea(dc);
      dc->S.Clip = TRegionData::Combine(current, r->Data, mode);
    }
  }
  dc->InvalidateClip();
  return clipResult(dc);
}

Integer SelectClipRgn(HDC dc, HRGN rgn) {
  return ExtSelectClipRgn(dc, rgn, RGN_COPY);
}

namespace {

Integer combineClipRect(HDC h, Integer left, Integer top, Integer right, Integer bottom, Integer mode) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return ERROR;
  TPoint a = toDevice(dc, {left, top}), b = toDevice(dc, {right, bottom});
  TRegionData rect(TRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)});
  TRegionData current = dc->S.Clip ? *dc->S.Clip : deviceArea(dc);
  dc->S.Clip = TRegionData::Combine(current, rect, mode);
  dc->InvalidateClip();
  return clipResult(dc);
}

}  // namespace

Integer IntersectClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom) {
  return combineClipRect(dc, left, top, right, bottom, RGN_AND);
}

Integer ExcludeClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom) {
  return combineClipRect(dc, left, top, right, bottom, RGN_DIFF);
}

Integer OffsetClipRgn(HDC h, Integer dx, Integer dy) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return ERROR;
  if (dc->S.Clip) dc->S.Clip->Offset(dx, dy);
  dc->InvalidateClip();
  return clipResult(dc);
}

Integer GetClipBox(HDC h, TRect* rect) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || !rect) return ERROR;
  const TRegionData& clip = dc->EffectiveClip();
  if (clip.Empty()) {
    *rect = {};
    return NULLREGION;
  }
  TRect box = clip.Box();
  *rect = {box.Left - dc->OffX(), box.Top - dc->OffY(), box.Right - dc->OffX(), box.Bottom - dc->OffY()};
  return clip.Type();
}

Integer GetClipRgn(HDC h, HRGN rgn) {
  TGdiDC* dc = GdiDC(h);
  TGdiRegion* r = GdiLive(rgn, OBJ_REGION);
  if (!dc || !r) return -1;
  if (!dc->S.Clip) return 0;
  r->Data = *dc->S.Clip;
  return 1;
}

bool PtVisible(HDC h, Integer x, Integer y) {
  TGdiDC* dc = GdiDC(h);
  return dc && dc->EffectiveClip().Contains(x + dc->OffX(), y + dc->OffY());
}

bool RectVisible(HDC h, const TRect* rect) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || !rect) return false;
  TRect r{std::min(rect->Left, rect->Right) + dc->OffX(), std::min(rect->Top, rect->Bottom) + dc->OffY(),
          std::max(rect->Left, rect->Right) + dc->OffX(), std::max(rect->Top, rect->Bottom) + dc->OffY()};
  return dc->EffectiveClip().Overlaps(r);
}

// ---- state ----
namespace {

template <class T, class V>
T setField(HDC h, V TGdiDCState::*field, V value, T failure) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return failure;
  V old = dc->S.*field;
  dc->S.*field = value;
  return T(old);
}

template <class T, class V>
T getField(HDC h, V TGdiDCState::*field, T failure) {
  TGdiDC* dc = GdiDC(h);
  return dc ? T(dc->S.*field) : failure;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) {
  return setField<COLORREF>(dc, &TGdiDCState::TextColor, COLORREF(color & 0xFFFFFF), CLR_INVALID);
}
COLORREF GetTextColor(HDC dc) {
  return getField<COLORREF>(dc, &TGdiDCState::TextColor, CLR_INVALID);
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
  return setField<COLORREF>(dc, &TGdiDCState::BkColor, COLORREF(color & 0xFFFFFF), CLR_INVALID);
}
COLORREF GetBkColor(HDC dc) {
  return getField<COLORREF>(dc, &TGdiDCState::BkColor, CLR_INVALID);
}

Integer SetBkMode(HDC dc, Integer mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return setField<Integer>(dc, &TGdiDCState::BkMode, mode, 0);
}
Integer GetBkMode(HDC dc) {
  return getField<Integer>(dc, &TGdiDCState::BkMode, 0);
}

Integer SetROP2(HDC dc, Integer mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return 0;
  return setField<Integer>(dc, &TGdiDCState::Rop2, mode, 0);
}
Integer GetROP2(HDC dc) {
  return getField<Integer>(dc, &TGdiDCState::Rop2, 0);
}

Integer SetStretchBltMode(HDC dc, Integer mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return setField<Integer>(dc, &TGdiDCState::StretchMode, mode, 0);
}
Integer GetStretchBltMode(HDC dc) {
  return getField<Integer>(dc, &TGdiDCState::StretchMode, 0);
}

UINT SetTextAlign(HDC dc, UINT align) {
  return setField<UINT>(dc, &TGdiDCState::TextAlign, align, GDI_ERROR);
}
UINT GetTextAlign(HDC dc) {
  return getField<UINT>(dc, &TGdiDCState::TextAlign, GDI_ERROR);
}

bool GdiFlush() {
  return true;
}
