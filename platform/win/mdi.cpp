#include "platform/win/mdi.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/gdi/gdi.h"

namespace {

struct TMDIClientState {
  HWND Active = nullptr;
  HMENU FrameMenu = nullptr;
  HMENU WindowMenu = nullptr;
  UINT FirstChild = 0;
  // A child on its way out (being hidden or destroyed): no longer a candidate for activation.
  HWND Going = nullptr;
};

std::map<HWND, TMDIClientState>& Clients() {
  static std::map<HWND, TMDIClientState> m;
  return m;
}

TMDIClientState* StateOf(HWND client) {
  auto it = Clients().find(client);
  return it == Clients().end() ? nullptr : &it->second;
}

bool IsMDIChild(HWND w) {
  return IsWindow(w) && (GetWindowLong(w, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

// The client's visible MDI children, top of the z-order (the active one) first.
std::vector<HWND> Children(HWND client, const TMDIClientState& st) {
  std::vector<HWND> r;
  for (HWND c = GetWindow(client, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c != st.Going && IsMDIChild(c) && IsWindowVisible(c)) r.push_back(c);
  }
  return r;
}

// The window rectangle that puts a child's client area over the whole MDI client.
TRect MaximizedRect(HWND client, HWND child) {
  RECT cr;
  GetClientRect(client, &cr);
  RECT r = cr;
  AdjustWindowRectEx(&r, DWORD(GetWindowLong(child, GWL_STYLE)) & ~(WS_MAXIMIZE | WS_MINIMIZE), false,
                     DWORD(GetWindowLong(child, GWL_EXSTYLE)));
  return TRect(r.Left, r.Top, r.Right, r.Bottom);
}

void Activate(HWND client, TMDIClientState& st, HWND child) {
  HWND old = IsWindow(st.Active) && st.Active != st.Going ? st.Active : nullptr;
  if (child != nullptr && GetParent(child) != client) return;
  if (old == child) {
    if (child != nullptr) SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  bool wasMaximized = old != nullptr && IsZoomed(old);
  st.Active = child;
  if (old != nullptr) {
    SendMessage(old, WM_NCACTIVATE, 0, 0);
    SendMessage(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  }
  if (child == nullptr) return;
  SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // A maximized child hands its state over, so the client keeps showing one maximized child.
  if (wasMaximized && !IsIconic(child) && IsWindowVisible(child)) {
    ShowWindow(child, SW_SHOWMAXIMIZED);
    if (IsWindow(old)) ShowWindow(old, SW_SHOWNOACTIVATE);
  }
  if (!IsWindow(child)) return;
  SendMessage(child, WM_NCACTIVATE, 1, 0);
  SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  HWND frame = GetParent(client);
  HWND focus = GetFocus();
  if (IsWindow(child) && frame != nullptr && GetActiveWindow() == frame && focus != child &&
      !IsChild(child, focus))
    SetFocus(child);
}

// The active child leaves (hidden or destroyed): the next one takes over, maximized if it was.
void PassOn(HWND client, TMDIClientState& st, HWND going) {
  if (st.Active != going) return;
  bool wasMaximized = IsZoomed(going);
  st.Going = going;
  st.Active = nullptr;
  std::vector<HWND> rest = Children(client, st);
  HWND next = rest.empty() ? nullptr : rest.front();
  if (next != nullptr) {
    Activate(client, st, next);
    if (wasMaximized && IsWindow(next) && !IsIconic(next)) ShowWindow(next, SW_SHOWMAXIMIZED);
  }
  st.Going = nullptr;
}

LRESULT Next(HWND client, TMDIClientState& st, HWND from, bool previous) {
  std::vector<HWND> list = Children(client, st);
  if (from == nullptr) from = st.Active;
  auto it = std::find(list.begin(), list.end(), from);
  if (list.size() < 2 || it == list.end()) return 0;
  if (previous) {
    Activate(client, st, list.back());
  } else {
    size_t i = size_t(it - list.begin());
    Activate(client, st, list[(i + 1) % list.size()]);
    if (IsWindow(from)) SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return 0;
}

// The children a tile or cascade moves: visible, not minimized, and enabled when asked.
std::vector<HWND> Arrangeable(HWND client, const TMDIClientState& st, bool skipDisabled) {
  std::vector<HWND> r;
  for (HWND c : Children(client, st)) {
    if (IsIconic(c) || (skipDisabled && !IsWindowEnabled(c))) continue;
    if (IsZoomed(c)) ShowWindow(c, SW_SHOWNOACTIVATE);
    r.push_back(c);
  }
  return r;
}

void Place(HWND w, const TRect& r) {
  SetWindowPos(w, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

Integer CascadeStep() {
  return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
}

LRESULT Tile(HWND client, TMDIClientState& st, WPARAM how) {
  std::vector<HWND> list = Arrangeable(client, st, (how & MDITILE_SKIPDISABLED) != 0);
  if (list.empty()) return 0;
  RECT cr;
  GetClientRect(client, &cr);
  std::vector<TRect> rects =
      MDITileRects(Integer(list.size()), cr.Right, cr.Bottom, (how & MDITILE_HORIZONTAL) != 0);
  for (size_t i = 0; i < list.size(); ++i) Place(list[i], rects[i]);
  return 1;
}

LRESULT Cascade(HWND client, TMDIClientState& st, WPARAM how) {
  std::vector<HWND> list = Arrangeable(client, st, (how & MDITILE_SKIPDISABLED) != 0);
  if (list.empty()) return 0;
  RECT cr;
  GetClientRect(client, &cr);
  std::vector<TRect> rects = MDICascadeRects(Integer(list.size()), cr.Right, cr.Bottom, CascadeStep());
  // The active child takes the front-most slot.
  for (size_t i = 0; i < list.size(); ++i) Place(list[i], rects[list.size() - 1 - i]);
  return 1;
}

// Minimized children in a row along the bottom edge, left to right, wrapping upwards.
LRESULT ArrangeIcons(HWND client, TMDIClientState& st) {
  RECT cr;
  GetClientRect(client, &cr);
  Integer x = 0, y = 0;
  bool first = true;
  std::vector<HWND> list = Children(client, st);
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (!IsIconic(*it)) continue;
    RECT wr;
    GetWindowRect(*it, &wr);
    Integer w = wr.Right - wr.Left, h = wr.Bottom - wr.Top;
    if (first) {
      y = cr.Bottom - h;
      first = false;
    } else if (x > 0 && x + w > cr.Right) {
      x = 0;
      y -= h;
    }
    SetWindowPos(*it, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += w;
  }
  return 0;
}

HWND Create(HWND client, TMDIClientState& st, const MDICREATESTRUCT* cs) {
  if (cs == nullptr) return nullptr;
  RECT cr;
  GetClientRect(client, &cr);
  Integer count = Integer(Children(client, st).size());
  Integer x = cs->x, y = cs->y, w = cs->cx, h = cs->cy;
  if (x == CW_USEDEFAULT) {
    // A new child steps down from the last one, starting over when it would leave the client.
    Integer step = CascadeStep();
    Integer slots = std::max<Integer>(1, std::min(cr.Right, cr.Bottom) / 4 / std::max<Integer>(step, 1) + 1);
    x = y = (count % slots) * step;
  }
  if (w == CW_USEDEFAULT) {
    w = cr.Right * 3 / 4;
    h = cr.Bottom * 3 / 4;
  }
  DWORD style = cs->style | WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  bool maximize = (style & WS_MAXIMIZE) != 0;
  HWND child =
      CreateWindowEx(WS_EX_MDICHILD, cs->szClass, cs->szTitle, style & ~(WS_MAXIMIZE | WS_VISIBLE), x, y, w,
                     h, client, reinterpret_cast<HMENU>(uintptr_t(st.FirstChild + UINT(count))), cs->hOwner,
                     const_cast<MDICREATESTRUCT*>(cs));
  if (child == nullptr) return nullptr;
  ShowWindow(child, maximize ? SW_SHOWMAXIMIZED : SW_SHOW);
  if (IsWindow(child)) Activate(client, st, child);
  return IsWindow(child) ? child : nullptr;
}

LRESULT MDIClientProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    TMDIClientState& st = Clients()[wnd];
    auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
    if (cs != nullptr && cs->lpCreateParams != nullptr) {
      auto* ccs = static_cast<CLIENTCREATESTRUCT*>(cs->lpCreateParams);
      st.WindowMenu = ccs->hWindowMenu;
      st.FirstChild = ccs->idFirstChild;
    }
    return DefWindowProc(wnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) {
    Clients().erase(wnd);
    return DefWindowProc(wnd, msg, wParam, lParam);
  }
  TMDIClientState* st = StateOf(wnd);
  if (st == nullptr) return DefWindowProc(wnd, msg, wParam, lParam);
  HWND child = reinterpret_cast<HWND>(wParam);
  switch (msg) {
    case WM_MDICREATE:
      return reinterpret_cast<LRESULT>(Create(wnd, *st, reinterpret_cast<const MDICREATESTRUCT*>(lParam)));
    case WM_MDIDESTROY:
      if (IsMDIChild(child) && GetParent(child) == wnd) DestroyWindow(child);
      return 0;
    case WM_MDIACTIVATE:
      if (IsMDIChild(child)) Activate(wnd, *st, child);
      return 0;
    case WM_MDIGETACTIVE: {
      HWND active = IsWindow(st->Active) ? st->Active : nullptr;
      if (lParam != 0) *reinterpret_cast<bool*>(lParam) = active != nullptr && IsZoomed(active);
      return reinterpret_cast<LRESULT>(active);
    }
    case WM_MDIMAXIMIZE:
      if (IsMDIChild(child) && GetParent(child) == wnd) {
        ShowWindow(child, SW_SHOWMAXIMIZED);
        Activate(wnd, *st, child);
      }
      return 0;
    case WM_MDIRESTORE:
      if (IsMDIChild(child) && GetParent(child) == wnd) ShowWindow(child, SW_RESTORE);
      return 0;
    case WM_MDINEXT:
      return Next(wnd, *st, IsMDIChild(child) ? child : nullptr, lParam != 0);
    case WM_MDITILE:
      return Tile(wnd, *st, wParam);
    case WM_MDICASCADE:
      return Cascade(wnd, *st, wParam);
    case WM_MDIICONARRANGE:
      return ArrangeIcons(wnd, *st);
    case WM_MDISETMENU: {
      HMENU old = st->FrameMenu;
      if (wParam != 0) st->FrameMenu = reinterpret_cast<HMENU>(wParam);
      if (lParam != 0) st->WindowMenu = reinterpret_cast<HMENU>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_MDIREFRESHMENU:
      return reinterpret_cast<LRESULT>(st->FrameMenu);
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_DESTROY && IsMDIChild(reinterpret_cast<HWND>(lParam)))
        PassOn(wnd, *st, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_SIZE: {
      LRESULT r = DefWindowProc(wnd, msg, wParam, lParam);
      for (HWND c : Children(wnd, *st)) {
        if (!IsZoomed(c)) continue;
        TRect mr = MaximizedRect(wnd, c);
        SetWindowPos(c, nullptr, mr.Left, mr.Top, mr.Width(), mr.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return r;
    }
    default:
      return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterMDIClientClass() {
  WNDCLASS wc;
  wc.lpfnWndProc = MDIClientProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_APPWORKSPACE + 1));
  wc.lpszClassName = MDICLIENT_CLASS;
  RegisterClass(&wc);  // refused, harmlessly, once it is there
}

LRESULT DefMDIChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND client = GetParent(wnd);
  TMDIClientState* st = StateOf(client);
  if (st == nullptr) return DefWindowProc(wnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wParam != 0) {
        Activate(client, *st, wnd);
      } else {
        PassOn(client, *st, wnd);
      }
      return DefWindowProc(wnd, msg, wParam, lParam);
    case WM_CHILDACTIVATE:
      Activate(client, *st, wnd);
      return 0;
    case WM_MOUSEACTIVATE: {
      LRESULT r = DefWindowProc(wnd, msg, wParam, lParam);
      if (IsWindow(wnd) && st->Active != wnd) Activate(client, *st, wnd);
      return r;
    }
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE:
          return SendMessage(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(wnd), 0);
        case SC_RESTORE:
          return SendMessage(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(wnd), 0);
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
          return SendMessage(client, WM_MDINEXT, reinterpret_cast<WPARAM>(wnd),
                             (wParam & 0xFFF0) == SC_PREVWINDOW ? 1 : 0);
        default:
          return DefWindowProc(wnd, msg, wParam, lParam);
      }
    case WM_SIZE: {
      LRESULT r = DefWindowProc(wnd, msg, wParam, lParam);
      if (wParam == SIZE_MINIMIZED) SendMessage(client, WM_MDIICONARRANGE, 0, 0);
      return r;
    }
    default:
      return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

std::vector<TRect> MDITileRects(Integer n, Integer w, Integer h, bool horizontal) {
  std::vector<TRect> r;
  if (n <= 0) return r;
  // Lines of cells: columns when tiling horizontally (each column stacks its rows), rows otherwise.
  Integer lines = std::max<Integer>(1, Integer(std::sqrt(double(n))));
  if (n <= 3) lines = 1;
  Integer along = horizontal ? w : h;   // across the lines
  Integer across = horizontal ? h : w;  // within one line
  Integer done = 0;
  for (Integer line = 0; line < lines; ++line) {
    // The later lines take the extra cells.
    Integer cells = n / lines + (line >= lines - n % lines ? 1 : 0);
    Integer a0 = along * line / lines, a1 = along * (line + 1) / lines;
    for (Integer c = 0; c < cells; ++c, ++done) {
      Integer b0 = across * c / cells, b1 = across * (c + 1) / cells;
      r.push_back(horizontal ? TRect(a0, b0, a1, b1) : TRect(b0, a0, b1, a1));
    }
  }
  return r;
}

std::vector<TRect> MDICascadeRects(Integer n, Integer w, Integer h, Integer step) {
  std::vector<TRect> r;
  if (n <= 0) return r;
  // As many steps as leave every child at least half the client; then the cascade starts over.
  Integer fit = step > 0 ? std::min((w - w / 2) / step, (h - h / 2) / step) : 0;
  Integer steps = std::max<Integer>(0, std::min(n - 1, fit));
  Integer cw = w - steps * step, ch = h - steps * step;
  for (Integer i = 0; i < n; ++i) {
    Integer k = i % (steps + 1);
    r.push_back(Bounds(k * step, k * step, cw, ch));
  }
  return r;
}
