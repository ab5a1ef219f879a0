// Regions: canonical y-bands of x-spans, combined by sweeping both operands band by band.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/gdi_internal.h"

TRegionData::TRegionData(const TRect& r) {
  if (r.Right > r.Left && r.Bottom > r.Top) FBands.push_back({r.Top, r.Bottom, {r.Left, r.Right}});
}

void TRegionData::appendBand(Integer top, Integer bottom, std::vector<Integer>&& xs) {
  if (xs.empty() || bottom <= top) return;
  if (!FBands.empty() && FBands.back().Bottom == top && FBands.back().Xs == xs) {
    FBands.back().Bottom = bottom;
    return;
  }
  FBands.push_back({top, bottom, std::move(xs)});
}

namespace {

// Sorted, possibly overlapping [l, r) spans → canonical pairs (touching spans joined).
std::vector<Integer> normalizeSpans(std::vector<std::pair<Integer, Integer>>& spans) {
  std::sort(spans.begin(), spans.end());
  std::vector<Integer> xs;
  for (auto [l, r] : spans) {
    if (r <= l) continue;
    if (!xs.empty() && l <= xs.back()) {
      xs.back() = std::max(xs.back(), r);
    } else {
      xs.push_back(l);
      xs.push_back(r);
    }
  }
  return xs;
}

bool applyMode(Integer mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND:
      return a && b;
    case RGN_OR:
      return a || b;
    case RGN_XOR:
      return a != b;
    case RGN_DIFF:
      return a && !b;
    default:
      return a;
  }
}

std::vector<Integer> combineSpans(const std::vector<Integer>* a, const std::vector<Integer>* b,
                                  Integer mode) {
  static const std::vector<Integer> none;
  const std::vector<Integer>& A = a ? *a : none;
  const std::vector<Integer>& B = b ? *b : none;
  std::vector<Integer> out;
  size_t i = 0, j = 0;
  bool inA = false, inB = false, inOut = false;
  while (i < A.size() || j < B.size()) {
    Integer x = i < A.size() ? A[i] : B[j];
    if (j < B.size()) x = std::min(x, B[j]);
    if (i < A.size() && A[i] == x) inA = !inA, ++i;
    if (j < B.size() && B[j] == x) inB = !inB, ++j;
    bool now = applyMode(mode, inA, inB);
    if (now != inOut) {
      out.push_back(x);
      inOut = now;
    }
  }
  return out;
}

}  // namespace

TRegionData TRegionData::FromRects(const std::vector<TRect>& rects) {
  std::vector<Integer> ys;
  ys.reserve(rects.size() * 2);
  for (const TRect& r : rects) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) continue;
    ys.push_back(r.Top);
    ys.push_back(r.Bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  TRegionData result;
  if (ys.size() < 2) return result;
  std::vector<std::vector<std::pair<Integer, Integer>>> rows(ys.size() - 1);
  for (const TRect& r : rects) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) continue;
    size_t k = size_t(std::lower_bound(ys.begin(), ys.end(), r.Top) - ys.begin());
    for (; k + 1 < ys.size() && ys[k] < r.Bottom; ++k) rows[k].push_back({r.Left, r.Right});
  }
  for (size_t k = 0; k + 1 < ys.size(); ++k) result.appendBand(ys[k], ys[k + 1], normalizeSpans(rows[k]));
  return result;
}

TRegionData TRegionData::Combine(const TRegionData& a, const TRegionData& b, Integer mode) {
  if (mode == RGN_COPY) return a;
  std::vector<Integer> ys;
  for (const auto& band : a.FBands) ys.push_back(band.Top), ys.push_back(band.Bottom);
  for (const auto& band : b.FBands) ys.push_back(band.Top), ys.push_back(band.Bottom);
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  TRegionData result;
  size_t ia = 0, ib = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    Integer top = ys[k], bottom = ys[k + 1];
    while (ia < a.FBands.size() && a.FBands[ia].Bottom <= top) ++ia;
    while (ib < b.FBands.size() && b.FBands[ib].Bottom <= top) ++ib;
    const std::vector<Integer>* sa =
        ia < a.FBands.size() && a.FBands[ia].Top <= top ? &a.FBands[ia].Xs : nullptr;
    const std::vector<Integer>* sb =
        ib < b.FBands.size() && b.FBands[ib].Top <= top ? &b.FBands[ib].Xs : nullptr;
    if (!sa && !sb) continue;
    result.appendBand(top, bottom, combineSpans(sa, sb, mode));
  }
  return result;
}

Integer TRegionData::Type() const {
  if (FBands.empty()) return NULLREGION;
  return FBands.size() == 1 && FBands[0].Xs.size() == 2 ? SIMPLEREGION : COMPLEXREGION;
}

TRect TRegionData::Box() const {
  if (FBands.empty()) return {};
  TRect r{FBands.front().Xs.front(), FBands.front().Top, FBands.front().Xs.back(), FBands.back().Bottom};
  for (const auto& band : FBands) {
    r.Left = std::min(r.Left, band.Xs.front());
    r.Right = std::max(r.Right, band.Xs.back());
  }
  return r;
}

const std::vector<Integer>* TRegionData::RowSpans(Integer y) const {
  auto it = std::upper_bound(FBands.begin(), FBands.end(), y,
                             [](Integer v, const TRegionBand& band) { return v < band.Bottom; });
  if (it == FBands.end() || it->Top > y) return nullptr;
  return &it->Xs;
}

bool TRegionData::Contains(Integer x, Integer y) const {
  const std::vector<Integer>* xs = RowSpans(y);
  if (!xs) return false;
  size_t n = size_t(std::upper_bound(xs->begin(), xs->end(), x) - xs->begin());
  return n & 1;
}

bool TRegionData::Overlaps(const TRect& r) const {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
  for (const auto& band : FBands) {
    if (band.Bottom <= r.Top || band.Top >= r.Bottom) continue;
    for (size_t i = 0; i < band.Xs.size(); i += 2)
      if (band.Xs[i] < r.Right && band.Xs[i + 1] > r.Left) return true;
  }
  return false;
}

void TRegionData::Offset(Integer dx, Integer dy) {
  for (auto& band : FBands) {
    band.Top += dy;
    band.Bottom += dy;
    for (auto& x : band.Xs) x += dx;
  }
}

std::vector<TRect> TRegionData::Rects() const {
  std::vector<TRect> out;
  for (const auto& band : FBands)
    for (size_t i = 0; i < band.Xs.size(); i += 2)
      out.push_back({band.Xs[i], band.Top, band.Xs[i + 1], band.Bottom});
  return out;
}

// ---- handles ----

namespace {

TGdiRegion* newRegion(TRegionData data) {
  auto* r = new TGdiRegion;
  r->Data = std::move(data);
  GdiRegisterObject(r);
  return r;
}

TGdiRegion* liveRegion(HRGN h) {
  return GdiLive(h, OBJ_REGION);
}

TRect ordered(Integer l, Integer t, Integer r, Integer b) {
  return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// Per-row spans of an ellipse inscribed in [l, r) x [t, b), sampled at pixel centres.
void ellipseSpan(double cx, double cy, double rx, double ry, Integer y, double& x0, double& x1, bool& any) {
  double dy = (y + 0.5 - cy) / ry;
  any = std::fabs(dy) < 1.0;
  if (!any) return;
  double half = rx * std::sqrt(1.0 - dy * dy);
  x0 = cx - half;
  x1 = cx + half;
}

}  // namespace

HRGN CreateRectRgn(Integer left, Integer top, Integer right, Integer bottom) {
  return newRegion(TRegionData(ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const TRect* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->Left, rect->Top, rect->Right, rect->Bottom);
}

HRGN CreateEllipticRgn(Integer left, Integer top, Integer right, Integer bottom) {
  TRect r = ordered(left, top, right, bottom);
  std::vector<TRect> rows;
  double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
  double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
  if (rx > 0 && ry > 0) {
    for (Integer y = r.Top; y < r.Bottom; ++y) {
      double x0, x1;
      bool any;
      ellipseSpan(cx, cy, rx, ry, y, x0, x1, any);
      if (any) rows.push_back({Integer(std::lround(x0)), y, Integer(std::lround(x1)), y + 1});
    }
  }
  return newRegion(TRegionData::FromRects(rows));
}

HRGN CreateRoundRectRgn(Integer left, Integer top, Integer right, Integer bottom, Integer widthEllipse,
                        Integer heightEllipse) {
  TRect r = ordered(left, top, right, bottom);
  Integer ew = std::min(std::abs(widthEllipse), r.Width()),
          eh = std::min(std::abs(heightEllipse), r.Height());
  if (ew < 2 || eh < 2) return CreateRectRgnIndirect(&r);
  std::vector<TRect> rows;
  double rx = ew / 2.0, ry = eh / 2.0;
  for (Integer y = r.Top; y < r.Bottom; ++y) {
    // Rows within the corner height follow the corner ellipses; the rest are full width.
    double inset = 0;
    double cyTop = r.Top + ry, cyBottom = r.Bottom - ry;
    double yc = y + 0.5;
    if (yc < cyTop || yc > cyBottom) {
      double cy = yc < cyTop ? cyTop : cyBottom;
      double dy = (yc - cy) / ry;
      if (std::fabs(dy) >= 1.0) continue;
      inset = rx - rx * std::sqrt(1.0 - dy * dy);
    }
    rows.push_back({Integer(std::lround(r.Left + inset)), y, Integer(std::lround(r.Right - inset)), y + 1});
  }
  return newRegion(TRegionData::FromRects(rows));
}

HRGN ExtCreateRegion(const XFORM* transform, DWORD count, const RGNDATA* data) {
  if (!data || count < sizeof(RGNDATAHEADER)) return nullptr;
  const RGNDATAHEADER& h = data->rdh;
  if (h.dwSize < sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
  // The rectangles follow the header as declared by dwSize; the block must hold all of them.
  size_t need = size_t(h.dwSize) + size_t(h.nCount) * sizeof(TRect);
  if (need > count) return nullptr;
  Integer dx = 0, dy = 0;
  if (transform) {
    const XFORM& x = *transform;
    if (x.eM11 != 1 || x.eM12 != 0 || x.eM21 != 0 || x.eM22 != 1) return nullptr;
    dx = Integer(std::lround(x.eDx));
    dy = Integer(std::lround(x.eDy));
  }
  std::vector<TRect> rects(h.nCount);
  if (h.nCount)
    std::memcpy(rects.data(), reinterpret_cast<const Byte*>(data) + h.dwSize, h.nCount * sizeof(TRect));
  for (TRect& r : rects) r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
  return newRegion(TRegionData::FromRects(rects));
}

Integer CombineRgn(HRGN dst, HRGN src1, HRGN src2, Integer mode) {
  TGdiRegion* d = liveRegion(dst);
  TGdiRegion* a = liveRegion(src1);
  if (!d || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  TGdiRegion* b = nullptr;
  if (mode != RGN_COPY) {
    b = liveRegion(src2);
    if (!b) return ERROR;
  }
  d->Data = TRegionData::Combine(a->Data, b ? b->Data : TRegionData(), mode);
  return d->Data.Type();
}

bool SetRectRgn(HRGN rgn, Integer left, Integer top, Integer right, Integer bottom) {
  TGdiRegion* r = liveRegion(rgn);
  if (!r) return false;
  r->Data = TRegionData(ordered(left, top, right, bottom));
  return true;
}

Integer OffsetRgn(HRGN rgn, Integer dx, Integer dy) {
  TGdiRegion* r = liveRegion(rgn);
  if (!r) return ERROR;
  r->Data.Offset(dx, dy);
  return r->Data.Type();
}

Integer GetRgnBox(HRGN rgn, TRect* rect) {
  TGdiRegion* r = liveRegion(rgn);
  if (!r || !rect) return ERROR;
  *rect = r->Data.Box();
  return r->Data.Type();
}

bool PtInRegion(HRGN rgn, Integer x, Integer y) {
  TGdiRegion* r = liveRegion(rgn);
  return r && r->Data.Contains(x, y);
}

bool RectInRegion(HRGN rgn, const TRect* rect) {
  TGdiRegion* r = liveRegion(rgn);
  return r && rect && r->Data.Overlaps(ordered(rect->Left, rect->Top, rect->Right, rect->Bottom));
}

bool EqualRgn(HRGN a, HRGN b) {
  TGdiRegion* ra = liveRegion(a);
  TGdiRegion* rb = liveRegion(b);
  return ra && rb && ra->Data == rb->Data;
}

DWORD GetRegionData(HRGN rgn, DWORD count, RGNDATA* data) {
  TGdiRegion* r = liveRegion(rgn);
  if (!r) return 0;
  std::vector<TRect> rects = r->Data.Rects();
  DWORD need = DWORD(sizeof(RGNDATAHEADER) + rects.size() * sizeof(TRect));
  if (!data || count < need) return need;
  RGNDATAHEADER h;
  h.nCount = DWORD(rects.size());
  h.nRgnSize = DWORD(rects.size() * sizeof(TRect));
  h.rcBound = r->Data.Box();
  std::memcpy(static_cast<void*>(data), &h, sizeof h);
  if (!rects.empty())
    std::memcpy(reinterpret_cast<Byte*>(data) + sizeof(RGNDATAHEADER), rects.data(),
                rects.size() * sizeof(TRect));
  return need;
}
