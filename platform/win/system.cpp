// The fixed platform profile: system metrics, system parameters and the one monitor.
#include "platform/win/window_internal.h"

Integer GetSystemMetrics(Integer index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
      return WS().Screen.Width();
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return WS().Screen.Height();
    case SM_CXFULLSCREEN:
      return WS().WorkArea.Width();
    case SM_CYFULLSCREEN:
      return WS().WorkArea.Height() - 23;
    case SM_XVIRTUALSCREEN:
      return WS().Screen.Left;
    case SM_YVIRTUALSCREEN:
      return WS().Screen.Top;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 17;
    case SM_CYCAPTION:
      return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
      return 3;
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYMENU:
      return 20;
    case SM_CXSIZE:
      return 36;
    case SM_CYSIZE:
      return 22;
    case SM_CYSMCAPTION:
      return 17;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
      return 16;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 19;
    case SM_CXMIN:
      return 136;
    case SM_CYMIN:
      return 39;
    case SM_CXMINTRACK:
      return 136;
    case SM_CYMINTRACK:
      return 39;
    case SM_CXMAXTRACK:
      return WS().Screen.Width() + 12;
    case SM_CYMAXTRACK:
      return WS().Screen.Height() + 12;
    case SM_CXMAXIMIZED:
      return WS().WorkArea.Width() + 8;
    case SM_CYMAXIMIZED:
      return WS().WorkArea.Height() + 8;
    case SM_CXMINIMIZED:
      return 160;
    case SM_CYMINIMIZED:
      return 28;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_MOUSEWHEELPRESENT:
      return 1;
    case SM_CMONITORS:
      return 1;
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER:
      return 1;
    case SM_CXPADDEDBORDER:
      return 0;
    case SM_SWAPBUTTON:
      return 0;
    default:
      return 0;
  }
}

bool SystemParametersInfo(UINT action, UINT, void* pv, UINT) {
  TWinState& s = WS();
  switch (action) {
    case SPI_GETWORKAREA:
      if (!pv) return false;
      *static_cast<RECT*>(pv) = s.WorkArea;
      return true;
    case SPI_SETWORKAREA: {
      if (!pv) return false;
      const RECT& r = *static_cast<const RECT*>(pv);
      if (r.Width() <= 0 || r.Height() <= 0) return false;
      s.WorkArea = r;
      return true;
    }
    case SPI_GETDRAGFULLWINDOWS:
      if (!pv) return false;
      *static_cast<bool*>(pv) = true;
      return true;
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETCLIENTAREAANIMATION:
      if (!pv) return false;
      *static_cast<bool*>(pv) = false;
      return true;
    case SPI_GETWHEELSCROLLLINES:
      if (!pv) return false;
      *static_cast<UINT*>(pv) = 3;
      return true;
    case SPI_GETMENUSHOWDELAY:
    case SPI_GETMOUSEHOVERTIME:
      if (!pv) return false;
      *static_cast<UINT*>(pv) = 400;
      return true;
    case SPI_GETKEYBOARDDELAY:
      if (!pv) return false;
      *static_cast<Integer*>(pv) = 1;
      return true;
    case SPI_GETKEYBOARDSPEED:
      if (!pv) return false;
      *static_cast<UINT*>(pv) = 31;
      return true;
    case SPI_GETBORDER:
      if (!pv) return false;
      *static_cast<Integer*>(pv) = 1;
      return true;
    default:
      return false;
  }
}

struct TPlatformMonitor {
  Integer Unused = 0;
};

namespace {

TPlatformMonitor theMonitor;

bool onScreen(const TRect& r) {
  TRect screen = WS().Screen, i;
  return IntersectRect(&i, &r, &screen);
}

}  // namespace

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
  if (!rect) return nullptr;
  if (flags == MONITOR_DEFAULTTONULL && !onScreen(*rect)) return nullptr;
  return &theMonitor;
}

HMONITOR MonitorFromPoint(POINT p, DWORD flags) {
  TRect r = Bounds(p.X, p.Y, 1, 1);
  return MonitorFromRect(&r, flags);
}

HMONITOR MonitorFromWindow(HWND wnd, DWORD flags) {
  RECT r;
  if (!GetWindowRect(wnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : &theMonitor;
  if (r.Width() <= 0 || r.Height() <= 0) r = Bounds(r.Left, r.Top, 1, 1);
  return MonitorFromRect(&r, flags);
}

bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != &theMonitor || !info) return false;
  info->rcMonitor = WS().Screen;
  info->rcWork = WS().WorkArea;
  info->dwFlags = MONITORINFOF_PRIMARY;
  return true;
}

void WinRefreshScreenArea() {
  TWinState& s = WS();
  TRect screen, work;
  Backend().GetScreenArea(&screen, &work);
  if (screen.Width() <= 0 || screen.Height() <= 0) return;
  // A work area outside the screen (a stale panel hint) falls back to the whole screen.
  TRect inside;
  if (!IntersectRect(&inside, &work, &screen) || inside.Width() <= 0 || inside.Height() <= 0) inside = screen;
  s.Screen = screen;
  s.WorkArea = inside;
  s.Desktop->Rect = screen;
  s.Desktop->Client = {0, 0, screen.Width(), screen.Height()};
}

void WinNativeScreenChanged() {
  TWinState& s = WS();
  TRect oldScreen = s.Screen, oldWork = s.WorkArea;
  WinRefreshScreenArea();
  // Top-level windows hear of it as they would from the platform.
  std::vector<HWND> tops = s.TopLevels;
  for (HWND w : tops) {
    if (!WinIsLive(w)) continue;
    if (s.Screen != oldScreen) {
      SendMessage(w, WM_DISPLAYCHANGE, WPARAM(ScreenBitsPerPixel),
                  MAKELPARAM(s.Screen.Width(), s.Screen.Height()));
    }
    if (WinIsLive(w) && s.WorkArea != oldWork) SendMessage(w, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  }
}
