// Scroll bars as window state, the standard bars in the frame, and the press-and-drag loop on them.
#include <algorithm>

#include "platform/win/window_internal.h"

namespace {

// The timer of the arrow and page repeat inside the tracking loop (never seen by the window).
constexpr UINT_PTR kRepeatTimerId = UINT_PTR(0xFFFFFF51);
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;
constexpr Integer kMinThumb = 8;

// Palette of the standard bars (light and flat).
constexpr COLORREF kTrackColour = RGB(0xF3, 0xF4, 0xF6);
constexpr COLORREF kThumbColour = RGB(0xC4, 0xC9, 0xD1);
constexpr COLORREF kThumbActiveColour = RGB(0xA9, 0xAF, 0xB9);
constexpr COLORREF kArrowColour = RGB(0x5B, 0x62, 0x70);
constexpr COLORREF kArrowDisabledColour = RGB(0xA3, 0xA9, 0xB3);

bool validBar(Integer bar) {
  return bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL;
}

DWORD styleBit(Integer bar) {
  return bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : 0;
}

// The bar's state, made with its defaults the first time a shown standard bar is asked for.
TScrollBarState* barState(HWND w, Integer bar) {
  if (!WinIsLive(w) || !validBar(bar)) return nullptr;
  TScrollBarState& s = w->Scroll[bar];
  if (!s.Exists && (w->Style & styleBit(bar))) s.Exists = true;
  return &s;
}

Integer lastPos(const TScrollBarState& s) {
  Integer page = Integer(std::min<UINT>(s.Page, UINT(INT32_MAX)));
  return std::max(s.Min, s.Max - std::max(page - 1, 0));
}

bool scrollable(const TScrollBarState& s) {
  return s.Max > s.Min && Int64(s.Page) <= Int64(s.Max) - s.Min;
}

void clampState(TScrollBarState& s) {
  Int64 range = Int64(s.Max) - s.Min + 1;
  if (range < 0) range = 0;
  if (Int64(s.Page) > range) s.Page = UINT(range);
  s.Pos = std::clamp(s.Pos, s.Min, std::max(s.Min, lastPos(s)));
  s.TrackPos = std::clamp(s.TrackPos, s.Min, std::max(s.Min, lastPos(s)));
}

// Where the parts of a shown bar lie, along its length (0 at its start).
struct TBarLayout {
  TRect Bar;  // window coordinates
  bool Vertical = true;
  Integer Length = 0;
  Integer Arrow = 0;
  Integer ThumbStart = 0;  // equal to ThumbEnd: no thumb
  Integer ThumbEnd = 0;
};

enum class TBarPart { None, LowArrow, LowPage, Thumb, HighPage, HighArrow };

TBarLayout layoutOf(HWND w, Integer bar, Integer pos) {
  TBarLayout l;
  l.Bar = WinScrollBarRect(w, bar);
  l.Vertical = bar == SB_VERT;
  l.Length = l.Vertical ? l.Bar.Height() : l.Bar.Width();
  if (l.Length <= 0) return l;
  l.Arrow = std::min(GetSystemMetrics(l.Vertical ? SM_CYVSCROLL : SM_CXHSCROLL), l.Length / 2);
  const TScrollBarState& s = w->Scroll[bar];
  Integer track = l.Length - 2 * l.Arrow;
  if (track <= 0 || s.Disabled == ESB_DISABLE_BOTH || !scrollable(s)) return l;
  Int64 range = Int64(s.Max) - s.Min + 1;
  Integer thumb = s.Page ? Integer(Int64(track) * s.Page / range) : GetSystemMetrics(SM_CYVTHUMB);
  thumb = std::max(thumb, kMinThumb);
  if (thumb >= track) return l;
  Int64 span = Int64(lastPos(s)) - s.Min;
  Int64 offset = span > 0 ? (Int64(pos) - s.Min) * (track - thumb) / span : 0;
  l.ThumbStart = l.Arrow + Integer(std::clamp<Int64>(offset, 0, track - thumb));
  l.ThumbEnd = l.ThumbStart + thumb;
  return l;
}

Integer along(const TBarLayout& l, TPoint windowPoint) {
  return l.Vertical ? windowPoint.Y - l.Bar.Top : windowPoint.X - l.Bar.Left;
}

TBarPart partAt(const TBarLayout& l, Integer at) {
  if (at < 0 || at >= l.Length) return TBarPart::None;
  if (at < l.Arrow) return TBarPart::LowArrow;
  if (at >= l.Length - l.Arrow) return TBarPart::HighArrow;
  if (l.ThumbEnd == l.ThumbStart) return TBarPart::None;
  if (at < l.ThumbStart) return TBarPart::LowPage;
  if (at >= l.ThumbEnd) return TBarPart::HighPage;
  return TBarPart::Thumb;
}

Word requestOf(TBarPart part) {
  switch (part) {
    case TBarPart::LowArrow:
      return SB_LINEUP;
    case TBarPart::HighArrow:
      return SB_LINEDOWN;
    case TBarPart::LowPage:
      return SB_PAGEUP;
    case TBarPart::HighPage:
      return SB_PAGEDOWN;
    default:
      return SB_ENDSCROLL;
  }
}

void fill(HDC dc, const TRect& r, COLORREF c) {
  GdiFillSolidRect(dc, r, c);
}

// A small filled triangle pointing away from the bar's middle.
void drawArrow(HDC dc, const TRect& box, bool vertical, bool low, COLORREF c) {
  Integer cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
  for (Integer i = 0; i < 4; ++i) {
    Integer half = low ? i : 3 - i;
    Integer off = i - 2;
    TRect line = vertical ? TRect{cx - half, cy + off, cx + half + 1, cy + off + 1}
                          : TRect{cx + off, cy - half, cx + off + 1, cy + half + 1};
    fill(dc, line, c);
  }
}

void paintBar(HWND w, HDC dc, Integer bar) {
  const TScrollBarState& s = w->Scroll[bar];
  TBarLayout l = layoutOf(w, bar, s.Tracking ? s.TrackPos : s.Pos);
  if (l.Length <= 0) return;
  fill(dc, l.Bar, kTrackColour);
  auto span = [&](Integer from, Integer to) {
    return l.Vertical ? TRect{l.Bar.Left, l.Bar.Top + from, l.Bar.Right, l.Bar.Top + to}
                      : TRect{l.Bar.Left + from, l.Bar.Top, l.Bar.Left + to, l.Bar.Bottom};
  };
  bool off = s.Disabled == ESB_DISABLE_BOTH || !scrollable(s);
  drawArrow(dc, span(0, l.Arrow), l.Vertical, true,
            off || (s.Disabled & ESB_DISABLE_LTUP) ? kArrowDisabledColour : kArrowColour);
  drawArrow(dc, span(l.Length - l.Arrow, l.Length), l.Vertical, false,
            off || (s.Disabled & ESB_DISABLE_RTDN) ? kArrowDisabledColour : kArrowColour);
  if (l.ThumbEnd > l.ThumbStart) {
    TRect thumb = span(l.ThumbStart, l.ThumbEnd);
    if (l.Vertical) {
      InflateRect(&thumb, -3, -1);
    } else {
      InflateRect(&thumb, -1, -3);
    }
    fill(dc, thumb, s.Tracking ? kThumbActiveColour : kThumbColour);
  }
}

void redrawBars(HWND w) {
  if (!WinIsLive(w) || !IsWindowVisible(w)) return;
  if (!(w->Style & (WS_HSCROLL | WS_VSCROLL))) return;
  HDC dc = GetWindowDC(w);
  if (!dc) return;
  WinPaintScrollBars(w, dc);
  ReleaseDC(w, dc);
}

// Shows or hides a standard bar; the frame is recalculated when that changes.
void setBarShown(HWND w, Integer bar, bool show) {
  DWORD bits = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : styleBit(bar);
  DWORD style = show ? (w->Style | bits) : (w->Style & ~bits);
  if (show) {
    if (bits & WS_HSCROLL) w->Scroll[SB_HORZ].Exists = true;
    if (bits & WS_VSCROLL) w->Scroll[SB_VERT].Exists = true;
  }
  if (style == w->Style) return;
  w->Style = style;
  SetWindowPos(w, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (WinIsLive(w)) w->FrameNeeded = true;
}

}  // namespace

// ---- the API ----
Integer SetScrollInfo(HWND w, Integer bar, const SCROLLINFO* info, bool redraw) {
  TScrollBarState* s = barState(w, bar);
  if (!s || !info) return 0;
  s->Exists = true;
  if (info->fMask & SIF_RANGE) {
    s->Min = info->nMin;
    s->Max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) s->Page = info->nPage;
  if (info->fMask & SIF_POS) s->Pos = info->nPos;
  clampState(*s);
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    bool canScroll = scrollable(*s);
    if (!canScroll && (info->fMask & SIF_DISABLENOSCROLL)) {
      s->Disabled = ESB_DISABLE_BOTH;
      if (bar != SB_CTL) setBarShown(w, bar, true);
    } else {
      if (info->fMask & SIF_DISABLENOSCROLL) s->Disabled = ESB_ENABLE_BOTH;
      if (bar != SB_CTL) setBarShown(w, bar, canScroll);
    }
  }
  if (!WinIsLive(w)) return 0;
  if (redraw) redrawBars(w);
  return s->Pos;
}

bool GetScrollInfo(HWND w, Integer bar, SCROLLINFO* info) {
  TScrollBarState* s = barState(w, bar);
  if (!s || !info || !s->Exists || !(info->fMask & SIF_ALL)) return false;
  if (info->fMask & SIF_RANGE) {
    info->nMin = s->Min;
    info->nMax = s->Max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s->Page;
  if (info->fMask & SIF_POS) info->nPos = s->Pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->Tracking ? s->TrackPos : s->Pos;
  return true;
}

Integer SetScrollPos(HWND w, Integer bar, Integer pos, bool redraw) {
  TScrollBarState* s = barState(w, bar);
  if (!s) return 0;
  Integer old = s->Exists ? s->Pos : 0;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(w, bar, &si, redraw);
  return old;
}

Integer GetScrollPos(HWND w, Integer bar) {
  TScrollBarState* s = barState(w, bar);
  return s && s->Exists ? s->Pos : 0;
}

bool SetScrollRange(HWND w, Integer bar, Integer minPos, Integer maxPos, bool redraw) {
  if (!barState(w, bar)) return false;
  if (Int64(maxPos) - minPos > INT32_MAX) return false;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(w, bar, &si, redraw);
  return true;
}

bool GetScrollRange(HWND w, Integer bar, Integer* minPos, Integer* maxPos) {
  TScrollBarState* s = barState(w, bar);
  if (!s || !minPos || !maxPos) return false;
  *minPos = s->Exists ? s->Min : 0;
  *maxPos = s->Exists ? s->Max : 0;
  return true;
}

bool ShowScrollBar(HWND w, Integer bar, bool show) {
  if (!WinIsLive(w) || (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH)) return false;
  setBarShown(w, bar, show);
  return true;
}

bool EnableScrollBar(HWND w, UINT bar, UINT arrows) {
  if (!WinIsLive(w) || arrows > ESB_DISABLE_BOTH) return false;
  bool changed = false;
  for (Integer b : {SB_HORZ, SB_VERT, SB_CTL}) {
    bool chosen = bar == UINT(SB_BOTH) ? b != SB_CTL : UINT(b) == bar;
    if (!chosen) continue;
    TScrollBarState* s = barState(w, b);
    if (!s) continue;
    s->Exists = true;
    if (s->Disabled != arrows) changed = true;
    s->Disabled = arrows;
  }
  if (changed) redrawBars(w);
  return changed;
}

bool GetScrollBarInfo(HWND w, LONG idObject, SCROLLBARINFO* info) {
  if (!WinIsLive(w) || !info || (idObject != OBJID_HSCROLL && idObject != OBJID_VSCROLL)) return false;
  Integer bar = idObject == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
  const TScrollBarState& s = w->Scroll[bar];
  TBarLayout l = layoutOf(w, bar, s.Tracking ? s.TrackPos : s.Pos);
  *info = SCROLLBARINFO();
  TPoint o = ScreenOrigin(w);
  info->rcScrollBar = l.Bar;
  OffsetRect(&info->rcScrollBar, o.X, o.Y);
  info->dxyLineButton = l.Arrow;
  info->xyThumbTop = l.ThumbStart;
  info->xyThumbBottom = l.ThumbEnd;
  if (l.Length <= 0) info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (!IsWindowVisible(w)) info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (s.Disabled == ESB_DISABLE_BOTH || !scrollable(s)) info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  if (s.Disabled & ESB_DISABLE_LTUP) info->rgstate[1] |= STATE_SYSTEM_UNAVAILABLE;
  if (s.Disabled & ESB_DISABLE_RTDN) info->rgstate[5] |= STATE_SYSTEM_UNAVAILABLE;
  if (l.ThumbEnd == l.ThumbStart) info->rgstate[3] |= STATE_SYSTEM_INVISIBLE;
  if (s.Tracking) info->rgstate[3] |= STATE_SYSTEM_PRESSED;
  return true;
}

// ---- the frame ----
void WinReserveScrollBars(HWND w, RECT* r) {
  if (w->Style & WS_VSCROLL) r->Right = std::max(r->Left, r->Right - GetSystemMetrics(SM_CXVSCROLL));
  if (w->Style & WS_HSCROLL) r->Bottom = std::max(r->Top, r->Bottom - GetSystemMetrics(SM_CYHSCROLL));
}

TRect WinScrollBarRect(HWND w, Integer bar) {
  if (!WinIsLive(w) || w->Minimized) return TRect();
  const TRect& c = w->Client;
  if (bar == SB_VERT && (w->Style & WS_VSCROLL)) {
    return {c.Right, c.Top, c.Right + GetSystemMetrics(SM_CXVSCROLL), c.Bottom};
  }
  if (bar == SB_HORZ && (w->Style & WS_HSCROLL)) {
    return {c.Left, c.Bottom, c.Right, c.Bottom + GetSystemMetrics(SM_CYHSCROLL)};
  }
  return TRect();
}

Integer WinScrollBarHitTest(HWND w, TPoint p) {
  TRect v = WinScrollBarRect(w, SB_VERT), h = WinScrollBarRect(w, SB_HORZ);
  if (PtInRect(&v, p)) return HTVSCROLL;
  if (PtInRect(&h, p)) return HTHSCROLL;
  return HTNOWHERE;
}

void WinPaintScrollBars(HWND w, HDC dc) {
  if ((w->Style & WS_VSCROLL) && barState(w, SB_VERT)) paintBar(w, dc, SB_VERT);
  if ((w->Style & WS_HSCROLL) && barState(w, SB_HORZ)) paintBar(w, dc, SB_HORZ);
  if ((w->Style & WS_VSCROLL) && (w->Style & WS_HSCROLL)) {
    TRect v = WinScrollBarRect(w, SB_VERT), h = WinScrollBarRect(w, SB_HORZ);
    fill(dc, {v.Left, h.Top, v.Right, h.Bottom}, GetSysColor(COLOR_BTNFACE));
  }
}

// ---- tracking ----
void WinTrackScrollBar(HWND w, Integer hit, TPoint screen) {
  Integer bar = hit == HTVSCROLL ? SB_VERT : hit == HTHSCROLL ? SB_HORZ : -1;
  if (bar < 0 || !barState(w, bar)) return;
  UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  TScrollBarState& s = w->Scroll[bar];
  if (s.Disabled == ESB_DISABLE_BOTH || !scrollable(s)) return;
  auto windowPoint = [&](TPoint pt) {
    TPoint o = ScreenOrigin(w);
    return TPoint{pt.X - o.X, pt.Y - o.Y};
  };
  TBarLayout l = layoutOf(w, bar, s.Pos);
  TBarPart part = partAt(l, along(l, windowPoint(screen)));
  if (part == TBarPart::None) return;
  if ((part == TBarPart::LowArrow && (s.Disabled & ESB_DISABLE_LTUP)) ||
      (part == TBarPart::HighArrow && (s.Disabled & ESB_DISABLE_RTDN))) {
    return;
  }
  auto send = [&](Word code, Integer pos) {
    if (WinIsLive(w)) SendMessage(w, msg, MAKEWPARAM(code, pos), 0);
  };

  SetCapture(w);
  WinNotifyModalLoopStarted(w);
  TPoint cursor = screen;
  Integer grab = along(l, windowPoint(screen)) - l.ThumbStart;
  if (part == TBarPart::Thumb) {
    s.Tracking = true;
    s.TrackPos = s.Pos;
    redrawBars(w);
  } else {
    send(requestOf(part), 0);
    if (WinIsLive(w)) SetTimer(w, kRepeatTimerId, kFirstRepeatMs, nullptr);
  }
  // The thumb follows the cursor; a new place is reported as it is reached.
  auto dragTo = [&](TPoint pt) {
    if (!WinIsLive(w)) return;
    TBarLayout now = layoutOf(w, bar, s.TrackPos);
    Integer room = now.Length - 2 * now.Arrow - (now.ThumbEnd - now.ThumbStart);
    if (room <= 0) return;
    Int64 span = Int64(lastPos(s)) - s.Min;
    Int64 offset = std::clamp<Int64>(along(now, windowPoint(pt)) - grab - now.Arrow, 0, room);
    Integer pos = Integer(s.Min + (offset * span + room / 2) / room);
    if (pos == s.TrackPos) return;
    s.TrackPos = pos;
    redrawBars(w);
    send(SB_THUMBTRACK, pos);
  };
  // Arrows and page areas repeat while the cursor stays on the pressed part.
  auto repeat = [&]() {
    if (!WinIsLive(w)) return;
    TBarLayout now = layoutOf(w, bar, s.Pos);
    if (partAt(now, along(now, windowPoint(cursor))) == part) send(requestOf(part), 0);
    if (WinIsLive(w)) SetTimer(w, kRepeatTimerId, kRepeatMs, nullptr);
  };

  WinRunCaptureLoop(w, [&](const MSG& m, bool& done) {
    switch (m.message) {
      case WM_MOUSEMOVE:
        cursor = m.pt;
        if (part == TBarPart::Thumb) dragTo(m.pt);
        return true;
      case WM_LBUTTONUP:
        cursor = m.pt;
        if (part == TBarPart::Thumb) dragTo(m.pt);
        done = true;
        return true;
      case WM_TIMER:
        if (m.hwnd != w || m.wParam != kRepeatTimerId) return false;
        repeat();
        return true;
      default:
        return false;
    }
  });
  if (!WinIsLive(w)) return;
  KillTimer(w, kRepeatTimerId);
  if (GetCapture() == w) ReleaseCapture();
  if (part == TBarPart::Thumb) {
    send(SB_THUMBPOSITION, s.TrackPos);
    if (!WinIsLive(w)) return;
    s.Tracking = false;
  }
  send(SB_ENDSCROLL, 0);
  redrawBars(w);
}
