// Input: the raw input queue, hit testing and routing of the mouse, keys, capture, focus and
// activation, the cursor.
#include <algorithm>
#include <cstdlib>

#include "platform/rtl/clock.h"
#include "platform/win/window_internal.h"

// ---- the raw input queue ----
namespace {

void pushInput(TRawInput in) {
  TWinState& s = WS();
  in.Time = GetTickCount();
  // Moves that nobody took yet are merged, as on the platform.
  if (in.Kind == TRawInput::TKind::Move && !s.Input.empty() &&
      s.Input.back().Kind == TRawInput::TKind::Move) {
    s.Input.back() = in;
    return;
  }
  s.Input.push_back(in);
}

Word buttonVk(TInputButton b) {
  switch (b) {
    case TInputButton::Right:
      return VK_RBUTTON;
    case TInputButton::Middle:
      return VK_MBUTTON;
    default:
      return VK_LBUTTON;
  }
}

void setKey(Byte* state, Word vk, bool down) {
  if (down) {
    if (!(state[vk] & 0x80)) state[vk] ^= 0x01;
    state[vk] |= 0x80;
  } else {
    state[vk] &= Byte(~0x80);
  }
}

// Generic and side keys move together.
void setKeyWithAliases(Byte* state, Word vk, bool down) {
  setKey(state, vk, down);
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      setKey(state, VK_SHIFT, down);
      break;
    case VK_LCONTROL:
    case VK_RCONTROL:
      setKey(state, VK_CONTROL, down);
      break;
    case VK_LMENU:
    case VK_RMENU:
      setKey(state, VK_MENU, down);
      break;
    default:
      break;
  }
}

}  // namespace

void WinInputMouseMove(TPoint screen) {
  WS().CursorPos = screen;
  TRawInput in;
  in.Kind = TRawInput::TKind::Move;
  in.Pt = screen;
  pushInput(in);
}

void WinInputMouseButton(TInputButton button, bool down, TPoint screen) {
  TWinState& s = WS();
  s.CursorPos = screen;
  setKey(s.AsyncKeyState, buttonVk(button), down);
  TRawInput in;
  in.Kind = TRawInput::TKind::Button;
  in.Button = button;
  in.Down = down;
  in.Pt = screen;
  pushInput(in);
}

void WinInputMouseWheel(Integer delta, TPoint screen) {
  WS().CursorPos = screen;
  TRawInput in;
  in.Kind = TRawInput::TKind::Wheel;
  in.Delta = delta;
  in.Pt = screen;
  pushInput(in);
}

void WinInputKey(Word vk, bool down, DWORD character, bool extended) {
  TWinState& s = WS();
  setKeyWithAliases(s.AsyncKeyState, vk, down);
  TRawInput in;
  in.Kind = TRawInput::TKind::Key;
  in.Vk = vk;
  in.Down = down;
  in.Character = character;
  in.Extended = extended;
  in.Pt = s.CursorPos.load();
  pushInput(in);
}

SHORT GetKeyState(Integer vk) {
  if (vk < 0 || vk > 255) return 0;
  Byte b = WS().KeyState[vk];
  return SHORT(((b & 0x80) ? 0xFF80 : 0) | (b & 0x01));
}

SHORT GetAsyncKeyState(Integer vk) {
  if (vk < 0 || vk > 255) return 0;
  return (WS().AsyncKeyState[vk] & 0x80) ? SHORT(0x8000) : SHORT(0);
}

// ---- hit testing ----
namespace {

bool layeredPassesThrough(HWND w, TPoint inWindow) {
  if (!(w->ExStyle & WS_EX_LAYERED)) return false;
  if (w->ExStyle & WS_EX_TRANSPARENT) return true;
  if (w->LayeredByUpdate && w->LayeredPerPixel && w->Surface) {
    BITMAP bm;
    if (GetObject(w->Surface, sizeof(bm), &bm) && bm.bmBits && inWindow.X >= 0 && inWindow.Y >= 0 &&
        inWindow.X < bm.bmWidth && inWindow.Y < bm.bmHeight) {
      auto* px = static_cast<const uint32_t*>(bm.bmBits);
      return (px[size_t(inWindow.Y) * size_t(bm.bmWidth) + size_t(inWindow.X)] >> 24) == 0;
    }
  }
  return false;
}

// Whether pt (screen) lies on the window itself: its rectangle and region.
bool containsPoint(HWND w, TPoint screen) {
  TPoint o = ScreenOrigin(w);
  TPoint p{screen.X - o.X, screen.Y - o.Y};
  if (p.X < 0 || p.Y < 0 || p.X >= w->Rect.Width() || p.Y >= w->Rect.Height()) return false;
  if (w->Region && !PtInRegion(w->Region, p.X, p.Y)) return false;
  return true;
}

bool insideClient(HWND w, TPoint screen) {
  TPoint o = ClientScreenOrigin(w);
  return screen.X >= o.X && screen.Y >= o.Y && screen.X < o.X + w->Client.Width() &&
         screen.Y < o.Y + w->Client.Height();
}

// Windows under the point, front to back: inside each window its children come first (deepest
// first), then the window. Disabled children are left out (their parent answers).
void collectUnder(HWND w, TPoint screen, std::vector<HWND>& out) {
  if (insideClient(w, screen)) {
    for (HWND c : w->Children) {
      if (!(c->Style & WS_VISIBLE) || (c->Style & WS_DISABLED)) continue;
      if (!containsPoint(c, screen)) continue;
      TPoint o = ScreenOrigin(c);
      if (layeredPassesThrough(c, {screen.X - o.X, screen.Y - o.Y})) continue;
      collectUnder(c, screen, out);
    }
  }
  out.push_back(w);
}

std::vector<HWND> windowsUnder(TPoint screen) {
  std::vector<HWND> out;
  for (HWND t : WS().TopLevels) {
    if (!(t->Style & WS_VISIBLE) || !containsPoint(t, screen)) continue;
    if (layeredPassesThrough(t, {screen.X - t->Rect.Left, screen.Y - t->Rect.Top})) continue;
    collectUnder(t, screen, out);
  }
  return out;
}

}  // namespace

HWND WindowFromPoint(POINT point) {
  std::vector<HWND> under = windowsUnder(point);
  for (HWND w : under) {
    // A disabled top-level window still answers for itself.
    if (w->Style & WS_DISABLED) return w;
    LRESULT hit = SendMessage(w, WM_NCHITTEST, 0, PointToLParam(point));
    if (hit != HTTRANSPARENT) return w;
  }
  return WS().Desktop;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  if (!WinIsLive(parent)) return nullptr;
  TPoint o = ClientScreenOrigin(parent);
  TPoint screen{point.X + o.X, point.Y + o.Y};
  TRect r{0, 0, parent->Rect.Width(), parent->Rect.Height()};
  TPoint inWindow{point.X + parent->Client.Left, point.Y + parent->Client.Top};
  if (!PtInRect(&r, inWindow)) return nullptr;
  for (HWND c : parent->Children) {
    if ((flags & CWP_SKIPINVISIBLE) && !(c->Style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->Style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->ExStyle & WS_EX_TRANSPARENT)) continue;
    if (containsPoint(c, screen)) return c;
  }
  return parent;
}

// ---- capture ----
HWND SetCapture(HWND wnd) {
  TWinState& s = WS();
  if (wnd && !WinIsLive(wnd)) return nullptr;
  HWND old = s.Capture;
  if (old == wnd) return old;
  s.Capture = wnd;
  Backend().SetNativeCapture(wnd ? RootOf(wnd) : nullptr);
  if (old && WinIsLive(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
  return old;
}

bool ReleaseCapture() {
  TWinState& s = WS();
  HWND old = s.Capture;
  if (!old) return true;
  s.Capture = nullptr;
  Backend().SetNativeCapture(nullptr);
  if (WinIsLive(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() {
  return WS().Capture;
}

// ---- activation and focus ----
namespace {

bool canActivate(HWND w) {
  return IsTopLevel(w) && !w->MessageOnly && (w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED) &&
         !(w->ExStyle & WS_EX_NOACTIVATE) && !w->Minimized;
}

void setAppActive(bool active, HWND other) {
  TWinState& s = WS();
  if (s.AppActive == active) return;
  s.AppActive = active;
  std::vector<HWND> tops = s.TopLevels;
  for (HWND t : tops) {
    if (WinIsLive(t)) SendMessage(t, WM_ACTIVATEAPP, active ? 1 : 0, LPARAM(other ? 0 : 0));
  }
}

HWND activate(HWND w, bool byMouse) {
  TWinState& s = WS();
  if (w) w = RootOf(w);
  HWND old = s.Active;
  if (old == w) return old;
  if (old && !WinIsLive(old)) old = nullptr;
  s.Active = w;
  if (old) {
    SendMessage(old, WM_NCACTIVATE, 0, reinterpret_cast<LPARAM>(w));
    if (WinIsLive(old)) {
      SendMessage(old, WM_ACTIVATE, MAKEWPARAM(Integer(WA_INACTIVE), old->Minimized ? 1 : 0),
                  reinterpret_cast<LPARAM>(w));
    }
    if (s.Focus && (s.Focus == old || IsChild(old, s.Focus))) {
      HWND f = s.Focus;
      s.Focus = nullptr;
      SendMessage(f, WM_KILLFOCUS, 0, 0);
    }
  }
  if (s.Active != w) return old;  // a handler activated another window meanwhile
  if (!w) {
    setAppActive(false, nullptr);
    return old;
  }
  setAppActive(true, old);
  if (!WinIsLive(w) || s.Active != w) return old;
  // Activation brings the window to the top of its band.
  if (!w->MessageOnly && s.TopLevels.front() != w) {
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (!WinIsLive(w)) return old;
  if (w->Native) Backend().ActivateNativeWindow(w);
  SendMessage(w, WM_NCACTIVATE, 1, reinterpret_cast<LPARAM>(old));
  if (WinIsLive(w)) {
    SendMessage(w, WM_ACTIVATE,
                MAKEWPARAM(Integer(byMouse ? WA_CLICKACTIVE : WA_ACTIVE), w->Minimized ? 1 : 0),
                reinterpret_cast<LPARAM>(old));
  }
  return old;
}

}  // namespace

HWND SetActiveWindow(HWND wnd) {
  if (wnd && (!WinIsLive(wnd) || wnd->IsDesktop)) return nullptr;
  return activate(wnd, false);
}

HWND GetActiveWindow() {
  return WS().Active;
}

bool SetForegroundWindow(HWND wnd) {
  if (!WinIsLive(wnd)) return false;
  activate(wnd, false);
  return WS().Active == RootOf(wnd);
}

HWND GetForegroundWindow() {
  return WS().Active;
}

void WinActivateAfterLoss(HWND leaving) {
  TWinState& s = WS();
  if (s.Active != leaving) return;
  HWND next = nullptr;
  if (leaving->Owner && canActivate(leaving->Owner)) {
    next = leaving->Owner;
  } else {
    for (HWND t : s.TopLevels) {
      if (t != leaving && canActivate(t) && !(t->ExStyle & WS_EX_TOOLWINDOW)) {
        next = t;
        break;
      }
    }
  }
  activate(next, false);
}

HWND SetFocus(HWND wnd) {
  TWinState& s = WS();
  HWND old = s.Focus;
  if (!wnd) {
    if (!old) return nullptr;
    s.Focus = nullptr;
    if (WinIsLive(old)) SendMessage(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  if (!WinIsLive(wnd) || wnd->IsDesktop || !IsWindowEnabled(wnd) || !IsWindowVisible(wnd)) return nullptr;
  if (old == wnd) return old;
  HWND root = RootOf(wnd);
  if (s.Active != root) {
    if (!canActivate(root) && !(root->ExStyle & WS_EX_NOACTIVATE)) return nullptr;
    if (!(root->ExStyle & WS_EX_NOACTIVATE)) activate(root, false);
    if (!WinIsLive(wnd)) return nullptr;
    old = s.Focus;
    if (old == wnd) return old;
  }
  // The focus moves before the loser hears of it, so a window that repaints in WM_KILLFOCUS draws
  // itself without the focus.
  s.Focus = wnd;
  if (old && WinIsLive(old)) {
    SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(wnd), 0);
    if (!WinIsLive(wnd)) {
      if (s.Focus == wnd) s.Focus = nullptr;
      return nullptr;
    }
  }
  s.Focus = wnd;
  SendMessage(wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(WinIsLive(old) ? old : nullptr), 0);
  return old;
}

HWND GetFocus() {
  return WS().Focus;
}

void WinForgetWindowInput(HWND w) {
  TWinState& s = WS();
  if (s.Focus == w) s.Focus = nullptr;
  if (s.Capture == w) {
    s.Capture = nullptr;
    Backend().SetNativeCapture(nullptr);
  }
  if (s.Active == w) {
    s.Active = nullptr;
    bool others =
        std::any_of(s.TopLevels.begin(), s.TopLevels.end(), [&](HWND t) { return t != w && canActivate(t); });
    if (!others) s.AppActive = false;
  }
  if (s.ClickWnd == w) s.ClickWnd = nullptr;
}

// ---- routing ----
namespace {

WPARAM mouseKeyFlags() {
  const Byte* ks = WS().KeyState;
  WPARAM f = 0;
  if (ks[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (ks[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (ks[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (ks[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (ks[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

UINT buttonMessage(TInputButton b, bool down, bool client) {
  UINT base = b == TInputButton::Left    ? WM_LBUTTONDOWN
              : b == TInputButton::Right ? WM_RBUTTONDOWN
                                         : WM_MBUTTONDOWN;
  if (!down) base += 1;
  if (!client) base = base - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN;
  return base;
}

LPARAM clientPoint(HWND w, TPoint screen) {
  TPoint o = ClientScreenOrigin(w);
  return MAKELPARAM(screen.X - o.X, screen.Y - o.Y);
}

// The window that takes a mouse event at the point, and its hit code. False when nothing does.
bool hitTarget(TPoint screen, HWND* target, Integer* hit) {
  for (HWND w : windowsUnder(screen)) {
    if (w->Style & WS_DISABLED) {
      *target = w;
      *hit = HTERROR;
      return true;
    }
    LRESULT h = SendMessage(w, WM_NCHITTEST, 0, PointToLParam(screen));
    if (!WinIsLive(w)) continue;
    if (h == HTTRANSPARENT) continue;
    *target = w;
    *hit = Integer(h);
    return true;
  }
  return false;
}

bool isDoubleClick(HWND w, UINT downMsg, TPoint screen, DWORD time, bool client) {
  TWinState& s = WS();
  bool classAllows = !client || (w->Class && (w->Class->Wc.style & CS_DBLCLKS));
  bool dbl = classAllows && s.ClickWnd == w && s.ClickMsg == downMsg &&
             time - s.ClickTime <= s.DoubleClickTime &&
             std::abs(screen.X - s.ClickPt.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
             std::abs(screen.Y - s.ClickPt.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (dbl) {
    s.ClickWnd = nullptr;
    s.ClickMsg = 0;
  } else {
    s.ClickWnd = w;
    s.ClickMsg = downMsg;
    s.ClickTime = time;
    s.ClickPt = screen;
  }
  return dbl;
}

// The wheel scrolls what is under the pointer (the platform profile hovers the wheel), not what has
// the focus: the capture window while the mouse is captured, else the window under the pointer, or
// its nearest enabled ancestor; none while that window's top level is disabled (a modal loop runs).
// Away from every window the focus window has it.
HWND wheelTarget(TPoint screen) {
  TWinState& s = WS();
  if (s.Capture && WinIsLive(s.Capture)) return s.Capture;
  HWND target = nullptr;
  Integer hit = HTNOWHERE;
  if (!hitTarget(screen, &target, &hit)) return s.Focus ? s.Focus : s.Active;
  if (RootOf(target)->Style & WS_DISABLED) return nullptr;
  for (HWND w = target; w != nullptr; w = w->Parent)
    if (w->Style & WS_DISABLED) target = w->Parent;
  return target;
}

bool cookMouse(const TRawInput& in, MSG* out) {
  TWinState& s = WS();
  if (in.Kind == TRawInput::TKind::Button) setKey(s.KeyState, buttonVk(in.Button), in.Down);
  out->time = in.Time;
  out->pt = in.Pt;

  if (in.Kind == TRawInput::TKind::Wheel) {
    HWND target = wheelTarget(in.Pt);
    if (!WinIsLive(target)) return false;
    out->hwnd = target;
    out->message = WM_MOUSEWHEEL;
    out->wParam = MAKEWPARAM(Integer(mouseKeyFlags()), in.Delta);
    out->lParam = PointToLParam(in.Pt);
    return true;
  }

  if (s.Capture && WinIsLive(s.Capture)) {
    HWND target = s.Capture;
    out->hwnd = target;
    out->message = in.Kind == TRawInput::TKind::Move ? WM_MOUSEMOVE : buttonMessage(in.Button, in.Down, true);
    if (in.Kind == TRawInput::TKind::Button && in.Down &&
        isDoubleClick(target, out->message, in.Pt, in.Time, true)) {
      out->message += 2;
    }
    out->wParam = mouseKeyFlags();
    out->lParam = clientPoint(target, in.Pt);
    return true;
  }

  HWND target = nullptr;
  Integer hit = HTNOWHERE;
  if (!hitTarget(in.Pt, &target, &hit)) {
    s.ClickWnd = nullptr;
    return false;
  }
  bool client = hit == HTCLIENT;
  UINT mouseMsg = in.Kind == TRawInput::TKind::Move ? (client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE)
                                                    : buttonMessage(in.Button, in.Down, client);
  if (hit == HTERROR) {
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                MAKELPARAM(HTERROR, Integer(mouseMsg)));
    return false;
  }
  bool press = in.Kind == TRawInput::TKind::Button && in.Down;
  if (press) {
    HWND root = RootOf(target);
    if (s.Active != root && !(root->ExStyle & WS_EX_NOACTIVATE)) {
      LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                               MAKELPARAM(hit, Integer(mouseMsg)));
      if (!WinIsLive(target)) return false;
      if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) {
        if (canActivate(root)) activate(root, true);
      }
      if (!WinIsLive(target)) return false;
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return false;
    }
  }
  if (in.Kind == TRawInput::TKind::Move || press) {
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, Integer(mouseMsg)));
    if (!WinIsLive(target)) return false;
  }
  if (press) {
    if (isDoubleClick(target, mouseMsg, in.Pt, in.Time, client)) mouseMsg += 2;
    if (target->Parent) {
      UINT clientDown = buttonMessage(in.Button, true, true);
      for (HWND w = target; WinIsLive(w) && w->Parent; w = w->Parent) {
        if (w->ExStyle & WS_EX_NOPARENTNOTIFY) break;
        SendMessage(w->Parent, WM_PARENTNOTIFY, clientDown, clientPoint(w->Parent, in.Pt));
      }
      if (!WinIsLive(target)) return false;
    }
  }
  out->hwnd = target;
  out->message = mouseMsg;
  if (client) {
    out->wParam = mouseKeyFlags();
    out->lParam = clientPoint(target, in.Pt);
  } else {
    out->wParam = WPARAM(hit);
    out->lParam = PointToLParam(in.Pt);
  }
  return true;
}

bool cookKey(const TRawInput& in, MSG* out) {
  TWinState& s = WS();
  bool wasDown = s.KeyState[in.Vk] & 0x80;
  setKeyWithAliases(s.KeyState, in.Vk, in.Down);
  bool alt = s.KeyState[VK_MENU] & 0x80;
  bool ctrl = s.KeyState[VK_CONTROL] & 0x80;
  bool isAlt = in.Vk == VK_MENU || in.Vk == VK_LMENU || in.Vk == VK_RMENU;
  if (in.Down) {
    if (isAlt) {
      if (!wasDown) s.AltAlone = true;
    } else {
      s.AltAlone = false;
    }
  }
  HWND target = s.Focus;
  bool sys = (alt && !ctrl) || in.Vk == VK_F10 || (isAlt && !in.Down);
  if (!WinIsLive(target)) {
    target = s.Active;
    sys = true;
  }
  if (!WinIsLive(target)) return false;
  out->hwnd = target;
  out->message = in.Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  out->wParam = in.Vk;
  LPARAM l = 1;
  if (in.Extended) l |= KF_EXTENDED_BIT;
  if (alt) l |= KF_ALTDOWN_BIT;
  if (in.Down ? wasDown : true) l |= KF_REPEAT_BIT;
  if (!in.Down) l |= KF_UP_BIT;
  out->lParam = l;
  out->time = in.Time;
  out->pt = in.Pt;
  out->lPrivate = in.Down ? in.Character : 0;
  return true;
}

}  // namespace

bool WinCookInput(const TRawInput& in, MSG* msg) {
  *msg = MSG();
  return in.Kind == TRawInput::TKind::Key ? cookKey(in, msg) : cookMouse(in, msg);
}

bool WinAltPressedAlone() {
  return WS().AltAlone;
}

// ---- cursor ----
struct TPlatformCursor {
  uintptr_t Id;
};

namespace {

constexpr uintptr_t stockCursorIds[] = {IDC_ARROW,    IDC_IBEAM,    IDC_WAIT,        IDC_CROSS,  IDC_UPARROW,
                                        IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,      IDC_SIZENS, IDC_SIZEALL,
                                        IDC_NO,       IDC_HAND,     IDC_APPSTARTING, IDC_HELP};
TPlatformCursor stockCursors[] = {
    {IDC_ARROW},  {IDC_IBEAM},  {IDC_WAIT},    {IDC_CROSS}, {IDC_UPARROW}, {IDC_SIZENWSE},    {IDC_SIZENESW},
    {IDC_SIZEWE}, {IDC_SIZENS}, {IDC_SIZEALL}, {IDC_NO},    {IDC_HAND},    {IDC_APPSTARTING}, {IDC_HELP}};

}  // namespace

HCURSOR LoadCursor(HINSTANCE instance, uintptr_t id) {
  if (instance) return nullptr;
  for (size_t i = 0; i < std::size(stockCursorIds); ++i) {
    if (stockCursorIds[i] == id) return &stockCursors[i];
  }
  return nullptr;
}

uintptr_t CursorId(HCURSOR cursor) {
  for (auto& c : stockCursors) {
    if (&c == cursor) return c.Id;
  }
  return 0;
}

HCURSOR SetCursor(HCURSOR cursor) {
  TWinState& s = WS();
  HCURSOR old = s.Cursor;
  s.Cursor = cursor;
  if (old != cursor) Backend().SetNativeCursor(s.CursorShowCount >= 0 ? CursorId(cursor) : 0);
  return old;
}

HCURSOR GetCursor() {
  return WS().Cursor;
}

Integer ShowCursor(bool show) {
  TWinState& s = WS();
  s.CursorShowCount += show ? 1 : -1;
  Backend().SetNativeCursor(s.CursorShowCount >= 0 ? CursorId(s.Cursor) : 0);
  return s.CursorShowCount;
}

bool GetCursorPos(POINT* point) {
  if (!point) return false;
  *point = WS().CursorPos.load();
  return true;
}

bool SetCursorPos(Integer x, Integer y) {
  Backend().SetNativeCursorPos({x, y});
  WinInputMouseMove({x, y});
  return true;
}

UINT GetDoubleClickTime() {
  return WS().DoubleClickTime;
}

bool SetDoubleClickTime(UINT ms) {
  WS().DoubleClickTime = ms ? ms : 500;
  return true;
}

bool MessageBeep(UINT) {
  ++WS().Beeps;
  return true;
}

Integer WinBeepCount() {
  return WS().Beeps;
}

void WinResetInputState() {
  TWinState& s = WS();
  s.Input.clear();
  std::fill(std::begin(s.KeyState), std::end(s.KeyState), Byte(0));
  std::fill(std::begin(s.AsyncKeyState), std::end(s.AsyncKeyState), Byte(0));
  s.Focus = s.Active = s.Capture = nullptr;
  s.AppActive = false;
  s.AltAlone = false;
  s.ClickWnd = nullptr;
  s.ClickMsg = 0;
  s.CursorPos = TPoint{};
  s.Cursor = nullptr;
  s.CursorShowCount = 0;
}
