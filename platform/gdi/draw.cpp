// Pen and brush drawing: pixels, lines, rectangles, region fills, focus frames, edges and the coverage
// blend used for text.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "platform/gdi/paint_internal.h"

using namespace gdi_detail;

namespace {

// Fills a surface rectangle with a brush through the clip.
void fillBrush(const TPaint& p, const TGdiBrush* brush, const TRect& sr, Integer rop2) {
  TBrushSource src;
  if (!src.Init(p, brush)) return;
  if (src.Solid() && rop2 == R2_COPYPEN && p.Bm->BitCount == 32) {
    uint32_t v = src.Fore & 0xFFFFFF;
    ForEachClipSpan(*p.Clip, sr, [&](Integer y, Integer x0, Integer x1) {
      uint32_t* row = reinterpret_cast<uint32_t*>(p.Bm->Row(y));
      std::fill(row + x0, row + x1, v);
    });
    return;
  }
  ForEachClipSpan(*p.Clip, sr, [&](Integer y, Integer x0, Integer x1) {
    for (Integer x = x0; x < x1; ++x) {
      uint32_t v;
      if (src.At(x, y, v)) p.Put(x, y, v, rop2);
    }
  });
}

// Visits the pixels of a 1-pixel frame of surface rectangle r, each once.
template <class F>
void forFramePixels(const TRect& r, F&& f) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  for (Integer x = r.Left; x < r.Right; ++x) f(x, r.Top);
  if (r.Bottom - r.Top > 1)
    for (Integer x = r.Left; x < r.Right; ++x) f(x, r.Bottom - 1);
  for (Integer y = r.Top + 1; y < r.Bottom - 1; ++y) {
    f(r.Left, y);
    if (r.Right - r.Left > 1) f(r.Right - 1, y);
  }
}

// ---- pens ----
constexpr Integer DashPattern[] = {18, 6};
constexpr Integer DotPattern[] = {3, 3};
constexpr Integer DashDotPattern[] = {9, 6, 3, 6};
constexpr Integer DashDotDotPattern[] = {9, 3, 3, 3, 3, 3};

// Draws pen pixels along a path, advancing the style pattern per pixel.
struct TPenWriter {
  const TPaint* P = nullptr;
  Integer Rop = R2_COPYPEN;
  uint32_t Fore = 0, Back = 0;
  bool Opaque = false;
  const Integer* Pattern = nullptr;
  Integer PatternLength = 0;
  Integer Segment = 0, InSegment = 0;
  Integer Width = 1;
  std::vector<TRect> Stamps;  // wide pens: squares joined into one region before drawing

  bool Init(const TPaint& p) {
    P = &p;
    const TGdiPen* pen = p.DC->S.Pen;
    if (!pen || pen->Style == PS_NULL) return false;
    Rop = p.DC->S.Rop2;
    Fore = p.Raw(pen->Color);
    Back = p.Raw(p.DC->S.BkColor);
    Opaque = p.DC->S.BkMode == OPAQUE;
    Width = std::max(1, pen->Width);
    if (Width == 1) {
      switch (pen->Style) {
        case PS_DASH:
          Pattern = DashPattern, PatternLength = 2;
          break;
        case PS_DOT:
          Pattern = DotPattern, PatternLength = 2;
          break;
        case PS_DASHDOT:
          Pattern = DashDotPattern, PatternLength = 4;
          break;
        case PS_DASHDOTDOT:
          Pattern = DashDotDotPattern, PatternLength = 6;
          break;
        default:
          break;
      }
    }
    return true;
  }
  void Plot(Integer sx, Integer sy) {
    if (Width > 1) {
      Integer lo = (Width - 1) / 2;
      Stamps.push_back({sx - lo, sy - lo, sx - lo + Width, sy - lo + Width});
      return;
    }
    bool on = true;
    if (Pattern) {
      on = (Segment % 2) == 0;
      if (++InSegment >= Pattern[Segment]) {
        InSegment = 0;
        Segment = (Segment + 1) % PatternLength;
      }
    }
    if (!P->Visible(sx, sy)) return;
    if (on) {
      P->Put(sx, sy, Fore, Rop);
    } else if (Opaque) {
      P->Put(sx, sy, Back, Rop);
    }
  }
  void Finish() {
    if (Stamps.empty()) return;
    TRegionData area = TRegionData::FromRects(Stamps);
    Stamps.clear();
    for (const TRect& r : area.Rects())
      ForEachClipSpan(*P->Clip, r, [&](Integer y, Integer x0, Integer x1) {
        for (Integer x = x0; x < x1; ++x) P->Put(x, y, Fore, Rop);
      });
  }
};

// Bresenham from (x0, y0) towards (x1, y1), the end point excluded.
template <class F>
void lineWithoutEnd(Integer x0, Integer y0, Integer x1, Integer y1, F&& plot) {
  Integer dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  Integer sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  if (dx >= dy) {
    Integer err = 2 * dy - dx;
    for (Integer i = 0; i < dx; ++i) {
      plot(x0, y0);
      if (err > 0) {
        y0 += sy;
        err -= 2 * dx;
      }
      err += 2 * dy;
      x0 += sx;
    }
  } else {
    Integer err = 2 * dx - dy;
    for (Integer i = 0; i < dy; ++i) {
      plot(x0, y0);
      if (err > 0) {
        x0 += sx;
        err -= 2 * dy;
      }
      err += 2 * dx;
      y0 += sy;
    }
  }
}

bool drawPolyline(HDC h, const TPoint* points, size_t count) {
  TPaint p;
  if (!p.Begin(h)) return false;
  TPenWriter pen;
  if (!pen.Init(p)) return true;
  for (size_t i = 0; i + 1 < count; ++i)
    lineWithoutEnd(points[i].X + p.OffX, points[i].Y + p.OffY, points[i + 1].X + p.OffX,
                   points[i + 1].Y + p.OffY, [&](Integer x, Integer y) { pen.Plot(x, y); });
  pen.Finish();
  return true;
}

HBRUSH brushFromHandle(HBRUSH h) {
  // A system colour index + 1 stands for that colour's brush, as on the platform.
  uintptr_t v = reinterpret_cast<uintptr_t>(h);
  if (v > 0 && v <= 64 && !GdiIsLiveObject(h)) return GetSysColorBrush(Integer(v) - 1);
  return GdiLive(h, OBJ_BRUSH);
}

}  // namespace

// ---- pixels ----
COLORREF GetPixel(HDC h, Integer x, Integer y) {
  TPaint p;
  if (!p.Begin(h)) return CLR_INVALID;
  Integer sx = x + p.OffX, sy = y + p.OffY;
  if (!p.Visible(sx, sy)) return CLR_INVALID;
  return PixelToColorRef(GdiReadColor(p.Bm, sx, sy)) & 0xFFFFFF;
}

COLORREF SetPixel(HDC h, Integer x, Integer y, COLORREF color) {
  TPaint p;
  if (!p.Begin(h)) return CLR_INVALID;
  Integer sx = x + p.OffX, sy = y + p.OffY;
  if (!p.Visible(sx, sy)) return CLR_INVALID;
  p.Put(sx, sy, p.Raw(color), R2_COPYPEN);
  return PixelToColorRef(GdiReadColor(p.Bm, sx, sy)) & 0xFFFFFF;
}

bool SetPixelV(HDC dc, Integer x, Integer y, COLORREF color) {
  return SetPixel(dc, x, y, color) != CLR_INVALID;
}

// ---- lines ----
bool MoveToEx(HDC h, Integer x, Integer y, TPoint* old) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return false;
  if (old) *old = dc->S.CurrentPos;
  dc->S.CurrentPos = {x, y};
  return true;
}

bool GetCurrentPositionEx(HDC h, TPoint* pos) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || !pos) return false;
  *pos = dc->S.CurrentPos;
  return true;
}

bool LineTo(HDC h, Integer x, Integer y) {
  TGdiDC* dc = GdiDC(h);
  if (!dc) return false;
  TPoint points[2] = {dc->S.CurrentPos, {x, y}};
  bool ok = drawPolyline(h, points, 2);
  dc->S.CurrentPos = {x, y};
  return ok;
}

bool Polyline(HDC h, const TPoint* points, Integer count) {
  if (!points || count < 2) return false;
  return drawPolyline(h, points, size_t(count));
}

bool PolylineTo(HDC h, const TPoint* points, DWORD count) {
  TGdiDC* dc = GdiDC(h);
  if (!dc || !points) return false;
  std::vector<TPoint> all{dc->S.CurrentPos};
  all.insert(all.end(), points, points + count);
  bool ok = drawPolyline(h, all.data(), all.size());
  if (count) dc->S.CurrentPos = points[count - 1];
  return ok;
}

bool PolyPolyline(HDC h, const TPoint* points, const DWORD* counts, DWORD polylines) {
  if (!GdiDC(h) || !points || !counts) return false;
  for (DWORD i = 0; i < polylines; ++i)
    if (counts[i] < 2) return false;
  for (DWORD i = 0; i < polylines; ++i) {
    drawPolyline(h, points, counts[i]);
    points += counts[i];
  }
  return true;
}

// ---- rectangles ----
bool Rectangle(HDC h, Integer left, Integer top, Integer right, Integer bottom) {
  TPaint p;
  if (!p.Begin(h)) return false;
  TRect r = p.ToSurface({left, top, right, bottom});
  if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return true;
  TPenWriter pen;
  bool outline = pen.Init(p);
  TRect fill = outline ? TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}
                       : TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
  fillBrush(p, p.DC->S.Brush, fill, p.DC->S.Rop2);
  if (!outline) return true;
  Integer l = r.Left, t = r.Top, rr = r.Right - 1, b = r.Bottom - 1;
  if (rr - l < 2 || b - t < 2) {
    // Too thin for a path without repeats: every pixel of the rectangle is outline.
    for (Integer y = t; y <= b; ++y)
      for (Integer x = l; x <= rr; ++x) pen.Plot(x, y);
  } else {
    auto plot = [&](Integer x, Integer y) { pen.Plot(x, y); };
    lineWithoutEnd(l, t, rr, t, plot);
    lineWithoutEnd(rr, t, rr, b, plot);
    lineWithoutEnd(rr, b, l, b, plot);
    lineWithoutEnd(l, b, l, t, plot);
  }
  pen.Finish();
  return true;
}

Integer FillRect(HDC h, const TRect* rect, HBRUSH brush) {
  TPaint p;
  TGdiBrush* b = brushFromHandle(brush);
  if (!rect || !b || !p.Begin(h)) return 0;
  fillBrush(p, b, p.ToSurface(*rect), R2_COPYPEN);
  return 1;
}

Integer FrameRect(HDC h, const TRect* rect, HBRUSH brush) {
  TPaint p;
  TGdiBrush* b = brushFromHandle(brush);
  if (!rect || !b || !p.Begin(h)) return 0;
  TRect r = p.ToSurface(*rect);
  TBrushSource src;
  if (!src.Init(p, b)) return 1;
  forFramePixels(r, [&](Integer x, Integer y) {
    uint32_t v;
    if (p.Visible(x, y) && src.At(x, y, v)) p.Put(x, y, v, R2_COPYPEN);
  });
  return 1;
}

bool InvertRect(HDC h, const TRect* rect) {
  TPaint p;
  if (!rect || !p.Begin(h)) return false;
  ForEachClipSpan(*p.Clip, p.ToSurface(*rect), [&](Integer y, Integer x0, Integer x1) {
    for (Integer x = x0; x < x1; ++x) p.Put(x, y, 0, R2_NOT);
  });
  return true;
}

bool DrawFocusRect(HDC h, const TRect* rect) {
  TPaint p;
  if (!rect || !p.Begin(h)) return false;
  TRect r = p.ToSurface(*rect);
  uint32_t white = p.Raw(RGB(255, 255, 255));
  forFramePixels(r, [&](Integer x, Integer y) {
    Integer dx = x - p.DC->Origin.X, dy = y - p.DC->Origin.Y;
    if (((dx + dy) & 1) == 0 && p.Visible(x, y)) p.Put(x, y, white, R2_XORPEN);
  });
  return true;
}

// ---- regions ----
namespace {

bool fillRegion(HDC h, HRGN rgn, const TGdiBrush* brush, bool invert) {
  TPaint p;
  TGdiRegion* r = GdiLive(rgn, OBJ_REGION);
  if (!r || !p.Begin(h)) return false;
  TRegionData area = r->Data;
  area.Offset(p.OffX, p.OffY);
  area = TRegionData::Combine(area, *p.Clip, RGN_AND);
  for (const TRect& part : area.Rects()) {
    if (invert) {
      for (Integer y = part.Top; y < part.Bottom; ++y)
        for (Integer x = part.Left; x < part.Right; ++x) p.Put(x, y, 0, R2_NOT);
    } else {
      fillBrush(p, brush, part, R2_COPYPEN);
    }
  }
  return true;
}

}  // namespace

bool FillRgn(HDC h, HRGN rgn, HBRUSH brush) {
  TGdiBrush* b = brushFromHandle(brush);
  return b && fillRegion(h, rgn, b, false);
}

bool PaintRgn(HDC h, HRGN rgn) {
  TGdiDC* dc = GdiDC(h);
  return dc && fillRegion(h, rgn, dc->S.Brush, false);
}

bool InvertRgn(HDC h, HRGN rgn) {
  return fillRegion(h, rgn, nullptr, true);
}

bool FrameRgn(HDC h, HRGN rgn, HBRUSH brush, Integer width, Integer height) {
  TGdiRegion* r = GdiLive(rgn, OBJ_REGION);
  TGdiBrush* b = brushFromHandle(brush);
  if (!r || !b || width < 0 || height < 0) return false;
  // The frame is the region minus the region shrunk by width and height (shifted copies intersected).
  TRegionData inner = r->Data;
  for (Integer d = 1; d <= width; ++d) {
    for (Integer sign : {-1, 1}) {
      TRegionData shifted = r->Data;
      shifted.Offset(sign * d, 0);
      inner = TRegionData::Combine(inner, shifted, RGN_AND);
    }
  }
  for (Integer d = 1; d <= height; ++d) {
    for (Integer sign : {-1, 1}) {
      TRegionData shifted = r->Data;
      shifted.Offset(0, sign * d);
      inner = TRegionData::Combine(inner, shifted, RGN_AND);
    }
  }
  TGdiRegion frame;
  frame.Data = TRegionData::Combine(r->Data, inner, RGN_DIFF);
  GdiRegisterObject(&frame);  // unregistered by its destructor
  return fillRegion(h, &frame, b, false);
}

// ---- edges ----
bool DrawEdge(HDC h, TRect* rect, UINT edge, UINT flags) {
  TPaint p;
  if (!rect || (flags & BF_DIAGONAL) || !p.Begin(h)) return false;
  TRect r = *rect;
  UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  auto line = [&](Integer l, Integer t, Integer rr, Integer b, COLORREF c) {
    TGdiBrush brush;
    brush.Color = c;
    fillBrush(p, &brush, p.ToSurface({l, t, rr, b}), R2_COPYPEN);
  };
  auto border = [&](COLORREF topLeft, COLORREF bottomRight) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    if (flags & BF_LEFT) line(r.Left, r.Top, r.Left + 1, r.Bottom, topLeft);
    if (flags & BF_TOP) line(r.Left, r.Top, r.Right, r.Top + 1, topLeft);
    if (flags & BF_BOTTOM) line(r.Left, r.Bottom - 1, r.Right, r.Bottom, bottomRight);
    if (flags & BF_RIGHT) line(r.Right - 1, r.Top, r.Right, r.Bottom, bottomRight);
    if (flags & BF_LEFT) ++r.Left;
    if (flags & BF_TOP) ++r.Top;
    if (flags & BF_RIGHT) --r.Right;
    if (flags & BF_BOTTOM) --r.Bottom;
  };
  if (flags & BF_MONO) {
    if (outer) border(GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    if (inner) border(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
  } else if (flags & BF_FLAT) {
    if (outer) border(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    if (inner) border(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  } else {
    if (outer & BDR_RAISEDOUTER)
      border(GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (outer & BDR_SUNKENOUTER)
      border(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    if (inner & BDR_RAISEDINNER)
      border(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    else if (inner & BDR_SUNKENINNER)
      border(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  }
  if ((flags & BF_MIDDLE) && r.Right > r.Left && r.Bottom > r.Top)
    line(r.Left, r.Top, r.Right, r.Bottom, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rect = r;
  return true;
}

// ---- text support ----
bool GdiDrawCoverage(HDC h, Integer x, Integer y, const Byte* coverage, Integer width, Integer height,
                     Integer pitch, COLORREF color, const TRect* clip) {
  TPaint p;
  if (!coverage || width < 0 || height < 0 || !p.Begin(h)) return false;
  TRect area{x + p.OffX, y + p.OffY, x + p.OffX + width, y + p.OffY + height};
  if (clip) {
    TRect c = p.ToSurface(*clip);
    if (!IntersectRect(&area, &area, &c)) return true;
  }
  uint32_t src = ColorRefToPixel(color);
  ForEachClipSpan(*p.Clip, area, [&](Integer sy, Integer x0, Integer x1) {
    const Byte* cov = coverage + size_t(sy - (y + p.OffY)) * size_t(pitch);
    for (Integer sx = x0; sx < x1; ++sx) {
      uint32_t a = cov[sx - (x + p.OffX)];
      if (!a) continue;
      uint32_t out;
      if (a == 255) {
        out = src;
      } else {
        uint32_t d = GdiReadColor(p.Bm, sx, sy);
        out = 0;
        for (Integer shift = 0; shift < 24; shift += 8) {
          uint32_t s = (src >> shift) & 0xFF, t = (d >> shift) & 0xFF;
          out |= Div255(s * a + t * (255 - a)) << shift;
        }
      }
      p.Put(sx, sy, GdiColorToRaw(p.Bm, out), R2_COPYPEN);
    }
  });
  return true;
}

bool GdiFillSolidRect(HDC h, const TRect& rect, COLORREF color) {
  TPaint p;
  if (!p.Begin(h)) return false;
  TGdiBrush brush;
  brush.Color = color & 0xFFFFFF;
  fillBrush(p, &brush, p.ToSurface(rect), R2_COPYPEN);
  return true;
}
