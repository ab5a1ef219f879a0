// Painting: backing surfaces, update regions, WM_PAINT and its DCs, window DCs, layered windows.
#include <algorithm>
#include <map>
#include <optional>

#include "platform/rtl/threads.h"
#include "platform/win/window_internal.h"

namespace {

struct TWindowDCInfo {
  HWND Wnd = nullptr;
  HWND Root = nullptr;
  TRect Dirty;  // root window coordinates
};

struct TPaintState {
  std::map<HDC, TWindowDCInfo> DCs;
  std::vector<HBITMAP> Retired;  // surfaces still selected into DCs when they were replaced
  bool ProviderInstalled = false;
};

TPaintState& PS() {
  static TPaintState* p = new TPaintState;
  return *p;
}

// A region owned by this scope.
class TRgn {
 public:
  TRgn() : FH(CreateRectRgn(0, 0, 0, 0)) {}
  explicit TRgn(const TRect& r) : FH(CreateRectRgnIndirect(&r)) {}
  ~TRgn() {
    if (FH) DeleteObject(FH);
  }
  TRgn(const TRgn&) = delete;
  TRgn& operator=(const TRgn&) = delete;
  HRGN get() const { return FH; }
  HRGN release() {
    HRGN h = FH;
    FH = nullptr;
    return h;
  }
  void combine(HRGN other, Integer mode) { CombineRgn(FH, FH, other, mode); }
  void combineRect(const TRect& r, Integer mode) {
    TRgn t(r);
    combine(t.get(), mode);
  }
  bool empty() const {
    TRect box;
    return GetRgnBox(FH, &box) == NULLREGION;
  }
  TRect box() const {
    TRect b;
    GetRgnBox(FH, &b);
    return b;
  }

 private:
  HRGN FH;
};

void tryDeleteRetired() {
  auto& r = PS().Retired;
  r.erase(std::remove_if(r.begin(), r.end(), [](HBITMAP b) { return DeleteObject(b); }), r.end());
}

void retireSurface(HBITMAP b) {
  if (b && !DeleteObject(b)) PS().Retired.push_back(b);
}

HBITMAP newSurface(Integer width, Integer height) {
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = std::max(1, width);
  bi.bmiHeader.biHeight = -std::max(1, height);
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!b) {
    bi.bmiHeader.biWidth = 1;
    bi.bmiHeader.biHeight = -1;
    b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  }
  return b;
}

// The part of a window (its rectangle and region) in root coordinates.
void addWindowArea(TRgn& target, HWND w, Integer mode) {
  TRgn area(WindowRectInRoot(w));
  if (w->Region) {
    TRgn shape;
    CombineRgn(shape.get(), w->Region, nullptr, RGN_COPY);
    TPoint o = OffsetInRoot(w);
    OffsetRgn(shape.get(), o.X, o.Y);
    area.combine(shape.get(), RGN_AND);
  }
  target.combine(area.get(), mode);
}

HDC makeDC(HWND w, bool whole, bool clipChildren, HRGN limitClient, bool isPaint, HRGN* usedClip = nullptr) {
  HWND root = RootOf(w);
  if (!root->Surface) {
    HDC dc = CreateCompatibleDC(nullptr);
    PS().DCs[dc] = {w, root, {}};
    return dc;
  }
  TRgn vis;
  {
    HRGN v = VisibleRegionInRoot(w, whole, clipChildren);
    CombineRgn(vis.get(), v, nullptr, RGN_COPY);
    DeleteObject(v);
  }
  TPoint origin = whole ? OffsetInRoot(w) : ClientRectInRoot(w).TopLeft();
  OffsetRgn(vis.get(), -origin.X, -origin.Y);
  if (limitClient) vis.combine(limitClient, RGN_AND);
  if (isPaint && !limitClient) CombineRgn(vis.get(), vis.get(), vis.get(), RGN_DIFF);
  HDC dc = GdiCreateSurfaceDC(root->Surface, origin, vis.get());
  if (!dc) return nullptr;
  TRect dirty = vis.box();
  OffsetRect(&dirty, origin.X, origin.Y);
  PS().DCs[dc] = {w, root, dirty};
  if (usedClip) {
    *usedClip = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(*usedClip, vis.get(), nullptr, RGN_COPY);
  }
  return dc;
}

Integer releaseDC(HWND, HDC dc) {
  auto& dcs = PS().DCs;
  auto it = dcs.find(dc);
  if (it == dcs.end()) {
    if (GetObjectType(dc) == OBJ_DC) {
      DeleteDC(dc);
      return 1;
    }
    return 0;
  }
  TWindowDCInfo info = it->second;
  dcs.erase(it);
  DeleteDC(dc);
  if (WinIsLive(info.Root) && info.Dirty.Width() > 0 && info.Dirty.Height() > 0)
    WinPresent(info.Root, info.Dirty);
  tryDeleteRetired();
  return 1;
}

HDC providerGetDC(HWND w, bool whole) {
  if (!WinIsLive(w)) return nullptr;
  if (w->IsDesktop) return GdiCreateSurfaceDC(GdiScreenSurface(), {0, 0}, nullptr);
  return makeDC(w, whole, !whole && (w->Style & WS_CLIPCHILDREN), nullptr, false);
}

void installProvider() {
  TPaintState& p = PS();
  if (p.ProviderInstalled) return;
  p.ProviderInstalled = true;
  TGdiWindowDCProvider provider;
  provider.GetDC = providerGetDC;
  provider.ReleaseDC = releaseDC;
  GdiSetWindowDCProvider(std::move(provider));
}

bool childrenTakePart(HWND w, UINT flags) {
  if (flags & RDW_ALLCHILDREN) return true;
  if (flags & RDW_NOCHILDREN) return false;
  return !(w->Style & WS_CLIPCHILDREN);
}

bool regionEmpty(HRGN r) {
  TRect box;
  return !r || GetRgnBox(r, &box) == NULLREGION;
}

}  // namespace

// ---- surfaces ----
void ResizeSurface(HWND w) {
  installProvider();
  if (!IsTopLevel(w) || w->MessageOnly) return;
  Integer width = std::max(1, w->Rect.Width()), height = std::max(1, w->Rect.Height());
  if (w->Surface) {
    BITMAP bm;
    if (GetObject(w->Surface, sizeof(bm), &bm) && bm.bmWidth == width && bm.bmHeight == height) return;
  }
  HBITMAP fresh = newSurface(width, height);
  if (w->Surface && fresh) {
    HDC from = GdiCreateSurfaceDC(w->Surface, {0, 0}, nullptr);
    HDC to = GdiCreateSurfaceDC(fresh, {0, 0}, nullptr);
    BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
    DeleteDC(from);
    DeleteDC(to);
  }
  retireSurface(w->Surface);
  w->Surface = fresh;
}

void WinDestroySurface(HWND w) {
  retireSurface(w->Surface);
  w->Surface = nullptr;
}

HBITMAP WinWindowSurface(HWND w) {
  return WinIsLive(w) ? RootOf(w)->Surface : nullptr;
}

void WinSetBackendData(HWND w, uintptr_t data) {
  if (WinIsLive(w)) w->BackendData = data;
}

uintptr_t WinBackendData(HWND w) {
  return WinIsLive(w) ? w->BackendData : 0;
}

void WinPresent(HWND root, const TRect& dirty) {
  if (!WinIsLive(root) || !root->Native || !root->Surface || root->LayeredByUpdate) return;
  TRect bounds{0, 0, root->Rect.Width(), root->Rect.Height()}, r;
  if (!IntersectRect(&r, &dirty, &bounds)) return;
  Backend().PresentSurface(root, root->Surface, r);
}

// ---- visibility ----
HRGN VisibleRegionInRoot(HWND w, bool whole, bool clipChildren) {
  TRgn vis;
  if (!IsWindowVisible(w) || w->LayeredByUpdate) return vis.release();
  vis.combineRect(whole ? WindowRectInRoot(w) : ClientRectInRoot(w), RGN_OR);
  if (w->Region) addWindowArea(vis, w, RGN_AND);
  for (HWND c = w; c->Parent; c = c->Parent) {
    HWND p = c->Parent;
    vis.combineRect(ClientRectInRoot(p), RGN_AND);
    if (p->Region) addWindowArea(vis, p, RGN_AND);
    if (c->Style & WS_CLIPSIBLINGS) {
      for (HWND sib : p->Children) {
        if (sib == c) break;
        if (sib->Style & WS_VISIBLE) addWindowArea(vis, sib, RGN_DIFF);
      }
    }
  }
  if (clipChildren) {
    for (HWND c : w->Children) {
      if (c->Style & WS_VISIBLE) addWindowArea(vis, c, RGN_DIFF);
    }
  }
  return vis.release();
}

// ---- update regions ----
bool NeedsPaint(HWND w) {
  return !regionEmpty(w->Update) || w->FrameNeeded || w->InternalPaint;
}

void WinClearPaintState(HWND w) {
  if (w->Update) DeleteObject(w->Update);
  w->Update = nullptr;
  w->EraseNeeded = w->FrameNeeded = w->InternalPaint = false;
}

void WinInvalidate(HWND w, HRGN rgn, UINT flags) {
  if (!WinIsLive(w) || w->IsDesktop || !IsWindowVisible(w) || w->LayeredByUpdate) return;
  TRect clientRect{0, 0, w->Client.Width(), w->Client.Height()};
  TRgn area(clientRect);
  if (rgn) area.combine(rgn, RGN_AND);
  if (flags & RDW_INVALIDATE) {
    if (!area.empty()) {
      if (!w->Update) w->Update = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(w->Update, w->Update, area.get(), RGN_OR);
      if (flags & RDW_ERASE) w->EraseNeeded = true;
    }
    if ((flags & RDW_FRAME) && !(w->Client == TRect{0, 0, w->Rect.Width(), w->Rect.Height()})) {
      w->FrameNeeded = true;
    }
    if (flags & RDW_INTERNALPAINT) w->InternalPaint = true;
    ++w->PaintChanges;
  } else if (flags & RDW_VALIDATE) {
    if (w->Update) {
      CombineRgn(w->Update, w->Update, area.get(), RGN_DIFF);
      if (regionEmpty(w->Update)) {
        DeleteObject(w->Update);
        w->Update = nullptr;
        w->EraseNeeded = false;
      }
    }
    if (flags & RDW_NOFRAME) w->FrameNeeded = false;
    if (flags & RDW_NOERASE) w->EraseNeeded = false;
    if (flags & RDW_NOINTERNALPAINT) w->InternalPaint = false;
    ++w->PaintChanges;
  }
  if (!childrenTakePart(w, flags)) return;
  // Children take the part that covers them, in their own client coordinates.
  TRgn full(clientRect);
  if (rgn) full.combine(rgn, RGN_AND);
  std::vector<HWND> kids = w->Children;
  for (HWND c : kids) {
    if (!WinIsLive(c) || !(c->Style & WS_VISIBLE)) continue;
    TRgn part(c->Rect);
    part.combine(full.get(), RGN_AND);
    if (part.empty()) continue;
    OffsetRgn(part.get(), -c->Rect.Left - c->Client.Left, -c->Rect.Top - c->Client.Top);
    WinInvalidate(c, part.get(), flags | RDW_FRAME);
  }
}

namespace {

void paintNow(HWND w) {
  if (!WinIsLive(w) || !NeedsPaint(w)) return;
  Integer before = w->PaintChanges;
  SendMessage(w, WM_PAINT, 0, 0);
  if (WinIsLive(w) && w->PaintChanges == before && NeedsPaint(w)) {
    ValidateRect(w, nullptr);
    w->FrameNeeded = false;
    w->InternalPaint = false;
  }
}

void updateTree(HWND w, bool children) {
  paintNow(w);
  if (!children || !WinIsLive(w)) return;
  std::vector<HWND> kids = w->Children;
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
    if (WinIsLive(*it) && ((*it)->Style & WS_VISIBLE)) updateTree(*it, true);
  }
}

void eraseNow(HWND w, bool children) {
  if (!WinIsLive(w)) return;
  if (w->FrameNeeded) {
    w->FrameNeeded = false;
    SendMessage(w, WM_NCPAINT, 1, 0);
  }
  if (WinIsLive(w) && w->EraseNeeded && w->Update) {
    w->EraseNeeded = false;
    HDC dc = makeDC(w, false, w->Style & WS_CLIPCHILDREN, w->Update, false);
    if (dc) {
      SendMessage(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
      ReleaseDC(w, dc);
    }
  }
  if (!children || !WinIsLive(w)) return;
  std::vector<HWND> kids = w->Children;
  for (HWND c : kids) {
    if (WinIsLive(c) && (c->Style & WS_VISIBLE)) eraseNow(c, true);
  }
}

HWND findPaint(HWND w, HWND filter, bool inFilter) {
  if (!(w->Style & WS_VISIBLE)) return nullptr;
  inFilter = inFilter || w == filter;
  if (inFilter && NeedsPaint(w)) return w;
  for (auto it = w->Children.rbegin(); it != w->Children.rend(); ++it) {
    if (HWND f = findPaint(*it, filter, inFilter)) return f;
  }
  return nullptr;
}

}  // namespace

HWND WinFindPaintWindow(HWND filter) {
  for (HWND t : WS().TopLevels) {
    if (HWND f = findPaint(t, filter, filter == nullptr)) return f;
  }
  return nullptr;
}

bool RedrawWindow(HWND w, const RECT* rect, HRGN rgn, UINT flags) {
  if (!w) {
    for (HWND t : std::vector<HWND>(WS().TopLevels)) RedrawWindow(t, rect, rgn, flags | RDW_ALLCHILDREN);
    return true;
  }
  if (!WinIsLive(w)) return false;
  installProvider();
  if (flags & (RDW_INVALIDATE | RDW_VALIDATE)) {
    if (rgn) {
      WinInvalidate(w, rgn, flags);
    } else if (rect) {
      TRgn r(*rect);
      WinInvalidate(w, r.get(), flags);
    } else {
      WinInvalidate(w, nullptr, flags);
    }
  }
  bool children = childrenTakePart(w, flags);
  if (flags & RDW_UPDATENOW) {
    updateTree(w, children);
  } else if (flags & RDW_ERASENOW) {
    eraseNow(w, children);
  }
  return true;
}

bool InvalidateRect(HWND w, const RECT* rect, bool erase) {
  if (!IsMainThread()) {
    std::optional<RECT> r;
    if (rect) r = *rect;
    TThread::Queue(nullptr, [=] { InvalidateRect(w, r ? &*r : nullptr, erase); });
    return true;
  }
  if (w && !WinIsLive(w)) return false;
  return RedrawWindow(w, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0) | (w ? 0 : RDW_FRAME));
}

bool InvalidateRgn(HWND w, HRGN rgn, bool erase) {
  if (!WinIsLive(w)) return false;
  return RedrawWindow(w, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool ValidateRect(HWND w, const RECT* rect) {
  if (!WinIsLive(w)) return false;
  return RedrawWindow(w, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool ValidateRgn(HWND w, HRGN rgn) {
  if (!WinIsLive(w)) return false;
  return RedrawWindow(w, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool GetUpdateRect(HWND w, RECT* rect, bool erase) {
  if (!WinIsLive(w)) return false;
  if (regionEmpty(w->Update)) {
    if (rect) *rect = {};
    return false;
  }
  if (rect) GetRgnBox(w->Update, rect);
  if (erase) eraseNow(w, false);
  return true;
}

Integer GetUpdateRgn(HWND w, HRGN rgn, bool erase) {
  if (!WinIsLive(w) || !rgn) return ERROR;
  if (regionEmpty(w->Update)) {
    SetRectRgn(rgn, 0, 0, 0, 0);
    return NULLREGION;
  }
  Integer type = CombineRgn(rgn, w->Update, nullptr, RGN_COPY);
  if (erase) eraseNow(w, false);
  return type;
}

bool UpdateWindow(HWND w) {
  if (!WinIsLive(w)) return false;
  updateTree(w, true);
  return true;
}

HDC BeginPaint(HWND w, PAINTSTRUCT* ps) {
  if (!WinIsLive(w) || !ps) return nullptr;
  installProvider();
  *ps = PAINTSTRUCT();
  ++w->PaintChanges;
  WinCaretBeforePaint(w);
  if (w->FrameNeeded) {
    w->FrameNeeded = false;
    SendMessage(w, WM_NCPAINT, 1, 0);
    if (!WinIsLive(w)) return nullptr;
  }
  TRgn update;
  if (w->Update) {
    CombineRgn(update.get(), w->Update, nullptr, RGN_COPY);
    DeleteObject(w->Update);
    w->Update = nullptr;
  }
  bool erase = w->EraseNeeded;
  w->EraseNeeded = false;
  w->InternalPaint = false;
  HRGN clip = nullptr;
  HDC dc = makeDC(w, false, w->Style & WS_CLIPCHILDREN, update.get(), true, &clip);
  if (!dc) return nullptr;
  if (clip) {
    GetRgnBox(clip, &ps->rcPaint);
    DeleteObject(clip);
  }
  ps->hdc = dc;
  if (erase) {
    if (!IsRectEmpty(&ps->rcPaint)) {
      ps->fErase = SendMessage(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    } else {
      ps->fErase = false;
    }
  }
  return dc;
}

bool EndPaint(HWND w, const PAINTSTRUCT* ps) {
  WinCaretAfterPaint(w);  // also after a BeginPaint that failed once it had taken the caret off
  if (!ps || !ps->hdc) return false;
  releaseDC(w, ps->hdc);
  return true;
}

HDC GetDCEx(HWND w, HRGN rgn, DWORD flags) {
  installProvider();
  if (!w) return GetDC(nullptr);
  if (!WinIsLive(w)) return nullptr;
  if (w->IsDesktop) return providerGetDC(w, false);
  bool whole = flags & DCX_WINDOW;
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (!whole && (w->Style & WS_CLIPCHILDREN));
  TRgn limit;
  HRGN limitPtr = nullptr;
  if (rgn && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    TPoint o = whole ? ScreenOrigin(w) : ClientScreenOrigin(w);
    TRgn local;
    CombineRgn(local.get(), rgn, nullptr, RGN_COPY);
    OffsetRgn(local.get(), -o.X, -o.Y);
    if (flags & DCX_INTERSECTRGN) {
      CombineRgn(limit.get(), local.get(), nullptr, RGN_COPY);
    } else {
      limit.combineRect({-32768, -32768, 32767, 32767}, RGN_OR);
      limit.combine(local.get(), RGN_DIFF);
    }
    limitPtr = limit.get();
  }
  return makeDC(w, whole, clipChildren, limitPtr, false);
}

HWND WindowFromDC(HDC dc) {
  auto& dcs = PS().DCs;
  auto it = dcs.find(dc);
  return it == dcs.end() ? nullptr : it->second.Wnd;
}

// ---- layered windows ----
bool SetLayeredWindowAttributes(HWND w, COLORREF key, Byte alpha, DWORD flags) {
  if (!WinIsLive(w) || !(w->ExStyle & WS_EX_LAYERED) || w->LayeredByUpdate) return false;
  w->HasLayeredAttributes = true;
  w->LayeredKey = key;
  w->LayeredAlpha = (flags & LWA_ALPHA) ? alpha : 255;
  w->LayeredFlags = flags;
  if (w->Native) {
    TLayeredPush push;
    push.Position = {w->Rect.Left, w->Rect.Top};
    push.Size = {w->Rect.Width(), w->Rect.Height()};
    push.ConstantAlpha = w->LayeredAlpha;
    push.ColorKey = (flags & LWA_COLORKEY) ? key : CLR_INVALID;
    push.Flags = flags;
    Backend().PresentLayered(w, w->Surface, push);
  }
  return true;
}

bool GetLayeredWindowAttributes(HWND w, COLORREF* key, Byte* alpha, DWORD* flags) {
  if (!WinIsLive(w) || !(w->ExStyle & WS_EX_LAYERED) || !w->HasLayeredAttributes) return false;
  if (key) *key = w->LayeredKey;
  if (alpha) *alpha = w->LayeredAlpha;
  if (flags) *flags = w->LayeredFlags;
  return true;
}

bool UpdateLayeredWindow(HWND w, HDC, const POINT* dstPoint, const SIZE* size, HDC src, const POINT* srcPoint,
                         COLORREF key, const BLENDFUNCTION* blend, DWORD flags) {
  if (!WinIsLive(w) || !(w->ExStyle & WS_EX_LAYERED) || !IsTopLevel(w)) return false;
  if (size && (size->cx <= 0 || size->cy <= 0)) return false;
  if (src && GetObjectType(src) == 0) return false;
  installProvider();
  TRect r = w->Rect;
  Integer x = dstPoint ? dstPoint->X : r.Left, y = dstPoint ? dstPoint->Y : r.Top;
  Integer cx = size ? size->cx : r.Width(), cy = size ? size->cy : r.Height();
  w->LayeredByUpdate = true;
  WinClearPaintState(w);
  if (x != r.Left || y != r.Top || cx != r.Width() || cy != r.Height()) {
    SetWindowPos(w, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (!WinIsLive(w)) return false;
  }
  if (src && w->Surface) {
    HDC to = GdiCreateSurfaceDC(w->Surface, {0, 0}, nullptr);
    BitBlt(to, 0, 0, w->Rect.Width(), w->Rect.Height(), src, srcPoint ? srcPoint->X : 0,
           srcPoint ? srcPoint->Y : 0, SRCCOPY);
    DeleteDC(to);
  }
  w->LayeredPerPixel = (flags & ULW_ALPHA) && blend && (blend->AlphaFormat & AC_SRC_ALPHA);
  w->LayeredAlpha = blend ? blend->SourceConstantAlpha : 255;
  w->LayeredKey = key;
  if (w->Native) {
    TLayeredPush push;
    push.Position = {w->Rect.Left, w->Rect.Top};
    push.Size = {w->Rect.Width(), w->Rect.Height()};
    push.ConstantAlpha = w->LayeredAlpha;
    push.PerPixelAlpha = w->LayeredPerPixel;
    push.ColorKey = (flags & ULW_COLORKEY) ? key : CLR_INVALID;
    push.Flags = flags;
    Backend().PresentLayered(w, w->Surface, push);
  }
  return true;
}

// ---- native child windows ----
uintptr_t WinCreateNativeChild(HWND w) {
  if (!WinIsLive(w) || !w->Parent) return 0;
  if (w->NativeChild) return w->NativeChild;
  w->NativeChild = Backend().CreateNativeChild(w, RootOf(w), WindowRectInRoot(w));
  if (w->NativeChild) Backend().PlaceNativeChild(w, WindowRectInRoot(w), IsWindowVisible(w));
  return w->NativeChild;
}

void WinDestroyNativeChild(HWND w) {
  if (!w || !w->NativeChild) return;
  w->NativeChild = 0;
  Backend().DestroyNativeChild(w);
}

void WinResetPaintState() {
  TPaintState& p = PS();
  for (auto& [dc, info] : p.DCs) DeleteDC(dc);
  p.DCs.clear();
  tryDeleteRetired();
}
