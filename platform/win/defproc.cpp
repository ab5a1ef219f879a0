// The default window procedure: frame, hit testing, text, system commands, the move/size loop.
#include <algorithm>
#include <cstring>

#include "platform/win/window_internal.h"

namespace {

Integer frameThickness(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXSIZEFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXFIXEDFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

LRESULT defaultHitTest(HWND w, TPoint screen) {
  TPoint o = ScreenOrigin(w);
  TPoint p{screen.X - o.X, screen.Y - o.Y};
  Integer W = w->Rect.Width(), H = w->Rect.Height();
  if (p.X < 0 || p.Y < 0 || p.X >= W || p.Y >= H) return HTNOWHERE;
  if (w->Region && !PtInRegion(w->Region, p.X, p.Y)) return HTNOWHERE;
  if (PtInRect(&w->Client, p)) return HTCLIENT;
  if (w->Minimized) return HTCAPTION;
  if (Integer bar = WinScrollBarHitTest(w, p)) return bar;
  Integer f = frameThickness(w->Style, w->ExStyle);
  if ((w->Style & WS_THICKFRAME) && !w->Maximized) {
    Integer corner = GetSystemMetrics(SM_CYCAPTION);
    bool left = p.X < f, right = p.X >= W - f, top = p.Y < f, bottom = p.Y >= H - f;
    if (top) return p.X < corner ? HTTOPLEFT : p.X >= W - corner ? HTTOPRIGHT : HTTOP;
    if (bottom) return p.X < corner ? HTBOTTOMLEFT : p.X >= W - corner ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return p.Y < corner ? HTTOPLEFT : p.Y >= H - corner ? HTBOTTOMLEFT : HTLEFT;
    if (right) return p.Y < corner ? HTTOPRIGHT : p.Y >= H - corner ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if ((w->Style & WS_CAPTION) == WS_CAPTION && p.Y >= f && p.Y < w->Client.Top) return HTCAPTION;
  return HTBORDER;
}

HBRUSH classBrush(HWND w) {
  if (!w->Class) return nullptr;
  auto v = reinterpret_cast<uintptr_t>(w->Class->Wc.hbrBackground);
  if (v == 0) return nullptr;
  if (v <= 31) return GetSysColorBrush(Integer(v - 1));
  return w->Class->Wc.hbrBackground;
}

uintptr_t sizingCursor(Integer hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT:
      return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM:
      return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      return IDC_SIZENESW;
    default:
      return 0;
  }
}

LRESULT getText(HWND w, WPARAM size, char* buffer) {
  if (!buffer || size == 0) return 0;
  size_t n = std::min<size_t>(w->Text.size(), size - 1);
  // Never cut a character in two.
  while (n > 0 && n < w->Text.size() && (static_cast<unsigned char>(w->Text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, w->Text.data(), n);
  buffer[n] = 0;
  return LRESULT(n);
}

LRESULT ctlColor(UINT msg, HDC dc) {
  bool face =
      msg == WM_CTLCOLORBTN || msg == WM_CTLCOLORDLG || msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORMSGBOX;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(face ? COLOR_BTNFACE : COLOR_WINDOW));
}

}  // namespace

void WinGetMinMaxInfo(HWND w, MINMAXINFO* info) {
  *info = MINMAXINFO();
  TRect work = WS().WorkArea;
  Integer f = frameThickness(w->Style, w->ExStyle);
  info->ptMaxSize = {work.Width() + 2 * f, work.Height() + 2 * f};
  info->ptMaxPosition = {-f, -f};
  info->ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessage(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(info));
}

void WinPaintDefaultFrame(HWND w) {
  if (!WinIsLive(w) || !IsWindowVisible(w)) return;
  Integer W = w->Rect.Width(), H = w->Rect.Height();
  if (w->Client == TRect{0, 0, W, H}) return;
  HDC dc = GetWindowDC(w);
  if (!dc) return;
  ExcludeClipRect(dc, w->Client.Left, w->Client.Top, w->Client.Right, w->Client.Bottom);
  bool active = WS().Active == RootOf(w);
  TRect all{0, 0, W, H};
  FillRect(dc, &all, GetSysColorBrush(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
  if (frameThickness(w->Style, w->ExStyle) > 0) FrameRect(dc, &all, GetSysColorBrush(COLOR_WINDOWFRAME));
  if ((w->Style & WS_CAPTION) == WS_CAPTION) {
    Integer f = frameThickness(w->Style, w->ExStyle);
    Integer capH = GetSystemMetrics((w->ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    TRect cap{f, f, W - f, f + capH};
    FillRect(dc, &cap, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    TRect text{cap.Left + 4, cap.Top, cap.Right - 4, cap.Bottom};
    DrawText(dc, w->Text, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (w->ExStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) {
    Integer e = ((w->ExStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0) +
                ((w->ExStyle & WS_EX_STATICEDGE) ? 1 : 0);
    TRect edge{w->Client.Left - e, w->Client.Top - e, w->Client.Right + e, w->Client.Bottom + e};
    if (w->ExStyle & WS_EX_CLIENTEDGE) {
      DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    if (w->ExStyle & WS_EX_STATICEDGE) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
  WinPaintScrollBars(w, dc);
  ReleaseDC(w, dc);
}

void WinRunSizeMoveLoop(HWND w, WPARAM command, TPoint start) {
  if (!WinIsLive(w)) return;
  bool move = (command & 0xFFF0) == SC_MOVE;
  WPARAM edge = command & 0x0F;
  if (w->Maximized || w->Minimized) return;
  if (!move && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return;
  TRect orig;
  GetWindowRect(w, &orig);
  SetCapture(w);
  SendMessage(w, WM_ENTERSIZEMOVE, 0, 0);
  if (!WinIsLive(w)) return;
  MINMAXINFO mmi;
  WinGetMinMaxInfo(w, &mmi);
  WinNotifyModalLoopStarted(w);

  auto apply = [&](TRect r) {
    if (w->Parent) {
      TPoint o = ClientScreenOrigin(w->Parent);
      OffsetRect(&r, -o.X, -o.Y);
    }
    SetWindowPos(w, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (move ? SWP_NOSIZE : 0));
  };
  auto track = [&](TPoint pt) {
    Integer dx = pt.X - start.X, dy = pt.Y - start.Y;
    TRect r = orig;
    if (move) {
      OffsetRect(&r, dx, dy);
      SendMessage(w, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
    } else {
      bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
      bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
      bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
      bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
      if (left) r.Left += dx;
      if (right) r.Right += dx;
      if (top) r.Top += dy;
      if (bottom) r.Bottom += dy;
      Integer minW = mmi.ptMinTrackSize.X, maxW = std::max(minW, mmi.ptMaxTrackSize.X);
      Integer minH = mmi.ptMinTrackSize.Y, maxH = std::max(minH, mmi.ptMaxTrackSize.Y);
      Integer cw = std::clamp(r.Width(), minW, maxW), ch = std::clamp(r.Height(), minH, maxH);
      if (left) {
        r.Left = r.Right - cw;
      } else {
        r.Right = r.Left + cw;
      }
      if (top) {
        r.Top = r.Bottom - ch;
      } else {
        r.Bottom = r.Top + ch;
      }
      SendMessage(w, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
    }
    if (WinIsLive(w)) apply(r);
  };

  WinRunCaptureLoop(w, [&](const MSG& m, bool& done) {
    switch (m.message) {
      case WM_MOUSEMOVE:
        if (m.hwnd == w) track(m.pt);
        return true;
      case WM_LBUTTONUP:
        if (m.hwnd == w) {
          track(m.pt);
          done = true;
        }
        return true;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (m.wParam == VK_ESCAPE) {
          if (WinIsLive(w)) apply(orig);
          done = true;
        } else if (m.wParam == VK_RETURN) {
          done = true;
        }
        return true;
      default:
        return false;
    }
  });
  if (WinIsLive(w) && GetCapture() == w) ReleaseCapture();
  if (WinIsLive(w)) SendMessage(w, WM_EXITSIZEMOVE, 0, 0);
}

void WinRunCaptureLoop(HWND w, const std::function<bool(const MSG& m, bool& done)>& take) {
  bool done = false;
  while (!done && WinIsLive(w) && GetCapture() == w) {
    MSG m;
    if (!PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      WinWaitForWork();
      continue;
    }
    if (m.message == WM_QUIT) {
      PostQuitMessage(Integer(m.wParam));
      break;
    }
    if (take(m, done)) continue;
    switch (m.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_CHAR:
      case WM_SYSCHAR:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDOWN:
      case WM_MBUTTONUP:
      case WM_MOUSEWHEEL:
        break;
      default:
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
  }
}

LRESULT DefWindowProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!WinIsLive(w)) return 0;
  TWinState& s = WS();
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName) w->Text = cs->lpszName;
      if (w->Native && !w->Text.empty()) Backend().SetNativeTitle(w, w->Text);
      return 1;
    }
    case WM_NCCALCSIZE: {
      RECT* r =
          wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (!r || w->IsDesktop) return 0;
      if (w->Minimized) {
        r->Right = r->Left;
        r->Bottom = r->Top;
        return 0;
      }
      TRect in = DefaultFrameInsets(w->Style, w->ExStyle);
      r->Left += in.Left;
      r->Top += in.Top;
      r->Right -= in.Right;
      r->Bottom -= in.Bottom;
      if (r->Right < r->Left) r->Right = r->Left;
      if (r->Bottom < r->Top) r->Bottom = r->Top;
      WinReserveScrollBars(w, r);
      return 0;
    }
    case WM_NCHITTEST:
      return defaultHitTest(w, LParamToPoint(lParam));
    case WM_NCPAINT:
      WinPaintDefaultFrame(w);
      return 0;
    case WM_NCACTIVATE:
      if ((w->Style & WS_CAPTION) == WS_CAPTION) WinPaintDefaultFrame(w);
      return 1;
    case WM_ERASEBKGND: {
      HBRUSH brush = classBrush(w);
      if (!brush) return 0;
      TRect r{0, 0, w->Client.Width(), w->Client.Height()};
      FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(w, &ps);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_SETTEXT:
      w->Text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      if (w->Native) Backend().SetNativeTitle(w, w->Text);
      if ((w->Style & WS_CAPTION) == WS_CAPTION) w->FrameNeeded = true;
      return 1;
    case WM_SETICON:
      return reinterpret_cast<LRESULT>(WinSetWindowIcon(w, wParam, reinterpret_cast<HICON>(lParam)));
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(WinWindowIcon(w, wParam));
    case WM_GETTEXT:
      return getText(w, wParam, reinterpret_cast<char*>(lParam));
    case WM_GETTEXTLENGTH:
      return LRESULT(w->Text.size());
    case WM_CLOSE:
      DestroyWindow(w);
      return 0;
    case WM_SYSCOMMAND: {
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          if (w->Class && (w->Class->Wc.style & CS_NOCLOSE)) return 0;
          SendMessage(w, WM_CLOSE, 0, 0);
          return 0;
        case SC_MINIMIZE:
          ShowWindow(w, SW_MINIMIZE);
          return 0;
        case SC_MAXIMIZE:
          ShowWindow(w, SW_MAXIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(w, SW_RESTORE);
          return 0;
        case SC_HSCROLL:
        case SC_VSCROLL:
          WinTrackScrollBar(w, (wParam & 0xFFF0) == SC_VSCROLL ? HTVSCROLL : HTHSCROLL,
                            lParam ? LParamToPoint(lParam) : s.CursorPos.load());
          return 0;
        case SC_MOVE:
        case SC_SIZE: {
          TPoint start = lParam ? LParamToPoint(lParam) : s.CursorPos.load();
          WinRunSizeMoveLoop(w, wParam, start);
          return 0;
        }
        default:
          return 0;
      }
    }
    case WM_NCLBUTTONDOWN: {
      Integer hit = Integer(wParam);
      if (hit == HTCAPTION) {
        SendMessage(w, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
        SendMessage(w, WM_SYSCOMMAND, SC_SIZE + WPARAM(hit - HTLEFT + WMSZ_LEFT), lParam);
      } else if (hit == HTVSCROLL || hit == HTHSCROLL) {
        SendMessage(w, WM_SYSCOMMAND, (hit == HTVSCROLL ? SC_VSCROLL : SC_HSCROLL) | WPARAM(hit), lParam);
      }
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      if (Integer(wParam) == HTCAPTION && (w->Style & WS_MAXIMIZEBOX)) {
        SendMessage(w, WM_SYSCOMMAND, (w->Maximized || w->Minimized) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      }
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (wp && IsTopLevel(w) && (w->Style & WS_THICKFRAME) && !(wp->flags & SWP_NOSIZE) && !w->Minimized &&
          !w->Maximized) {
        MINMAXINFO mmi;
        WinGetMinMaxInfo(w, &mmi);
        wp->cx =
            std::clamp(wp->cx, mmi.ptMinTrackSize.X, std::max(mmi.ptMinTrackSize.X, mmi.ptMaxTrackSize.X));
        wp->cy =
            std::clamp(wp->cy, mmi.ptMinTrackSize.Y, std::max(mmi.ptMinTrackSize.Y, mmi.ptMaxTrackSize.Y));
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED:
      return WinDefaultWindowPosChanged(w, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(w);
      return 0;
    case WM_MOUSEACTIVATE:
      if (w->Parent) {
        LRESULT r = SendMessage(w->Parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR: {
      if (w->Parent && SendMessage(w->Parent, WM_SETCURSOR, wParam, lParam)) return 1;
      Integer hit = SHORT(LOWORD(uintptr_t(lParam)));
      UINT mouse = HIWORD(uintptr_t(lParam));
      if (hit == HTERROR) {
        if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_MBUTTONDOWN ||
            mouse == WM_NCLBUTTONDOWN || mouse == WM_NCRBUTTONDOWN || mouse == WM_NCMBUTTONDOWN) {
          MessageBeep(0);
        }
        return 0;
      }
      if (hit == HTCLIENT) {
        if (w->Class && w->Class->Wc.hCursor) {
          SetCursor(w->Class->Wc.hCursor);
          return 1;
        }
        return 0;
      }
      uintptr_t id = sizingCursor(hit);
      SetCursor(LoadCursor(nullptr, id ? id : IDC_ARROW));
      return id != 0;
    }
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
      if (w->Parent) return SendMessage(w->Parent, msg, wParam, lParam);
      return 0;
    case WM_RBUTTONUP: {
      TPoint p = LParamToPoint(lParam);
      ClientToScreen(w, &p);
      SendMessage(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w), PointToLParam(p));
      return 0;
    }
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT)) {
        SendMessage(RootOf(w), WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if ((wParam == VK_MENU && WinAltPressedAlone()) || wParam == VK_F10) {
        s.AltAlone = false;
        SendMessage(RootOf(w), WM_SYSCOMMAND, SC_KEYMENU, 0);
      }
      return 0;
    case WM_SYSCHAR:
      if (lParam & KF_ALTDOWN_BIT) SendMessage(RootOf(w), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
      return 0;
    case WM_SETREDRAW:
      if (wParam) {
        w->Style |= WS_VISIBLE;
      } else {
        w->Style &= ~WS_VISIBLE;
      }
      return 0;
    case WM_CANCELMODE:
      if (s.Capture == w) ReleaseCapture();
      return 0;
    case WM_QUERYENDSESSION:
      return 1;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return ctlColor(msg, reinterpret_cast<HDC>(wParam));
    default:
      return 0;
  }
}
