// Windows and classes: creation, destruction, window data, the tree and z-order, positions, states.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/rtl/exceptions.h"
#include "platform/win/mdi.h"
#include "platform/win/window_internal.h"

TWinState& WS() {
  static TWinState* state = [] {
    auto* s = new TWinState;  // lives for the whole process: windows may outlive static destructors
    auto desktop = std::make_unique<TPlatformWindow>();
    desktop->IsDesktop = true;
    desktop->Style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_POPUP;
    desktop->Rect = {0, 0, ScreenWidth, ScreenHeight};
    desktop->Client = desktop->Rect;
    desktop->Proc = DefWindowProc;
    s->Desktop = desktop.get();
    s->Live.insert(desktop.get());
    s->Graveyard.push_back(std::move(desktop));
    return s;
  }();
  return *state;
}

TWindowBackend& Backend() {
  TWinState& s = WS();
  if (!s.Backend) s.Backend = CreateHeadlessBackend();
  return *s.Backend;
}

TWindowBackend& WinBackend() {
  return Backend();
}

void WinSetBackend(std::unique_ptr<TWindowBackend> backend) {
  TWinState& s = WS();
  if (!s.TopLevels.empty()) throw EInvalidOperation("Cannot change the window backend while windows exist");
  s.Backend = std::move(backend);
  WinRefreshScreenArea();
}

bool WinIsLive(HWND wnd) {
  return wnd && WS().Live.count(wnd) && !wnd->Dead;
}
bool IsWindow(HWND wnd) {
  return WinIsLive(wnd);
}
HWND GetDesktopWindow() {
  return WS().Desktop;
}

HINSTANCE GetModuleHandle(const char*) {
  static int anchor;
  return reinterpret_cast<HINSTANCE>(&anchor);
}

// ---- geometry helpers ----
HWND RootOf(HWND w) {
  while (w && w->Parent) w = w->Parent;
  return w;
}

TPoint ScreenOrigin(HWND w) {
  TPoint p{w->Rect.Left, w->Rect.Top};
  for (HWND p2 = w->Parent; p2; p2 = p2->Parent) {
    p.X += p2->Rect.Left + p2->Client.Left;
    p.Y += p2->Rect.Top + p2->Client.Top;
  }
  return p;
}

TPoint ClientScreenOrigin(HWND w) {
  TPoint p = ScreenOrigin(w);
  return {p.X + w->Client.Left, p.Y + w->Client.Top};
}

TPoint OffsetInRoot(HWND w) {
  TPoint p{0, 0};
  for (HWND c = w; c->Parent; c = c->Parent) {
    p.X += c->Rect.Left + c->Parent->Client.Left;
    p.Y += c->Rect.Top + c->Parent->Client.Top;
  }
  return p;
}

TRect WindowRectInRoot(HWND w) {
  TPoint o = OffsetInRoot(w);
  return Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
}

TRect ClientRectInRoot(HWND w) {
  TPoint o = OffsetInRoot(w);
  return {o.X + w->Client.Left, o.Y + w->Client.Top, o.X + w->Client.Right, o.Y + w->Client.Bottom};
}

TRect DefaultFrameInsets(DWORD style, DWORD exStyle) {
  Integer frame = 0;
  if (style & WS_THICKFRAME) {
    frame = GetSystemMetrics(SM_CXSIZEFRAME);
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    frame = GetSystemMetrics(SM_CXFIXEDFRAME);
  } else if (style & WS_BORDER) {
    frame = GetSystemMetrics(SM_CXBORDER);
  }
  TRect r{frame, frame, frame, frame};
  if ((style & WS_CAPTION) == WS_CAPTION) {
    r.Top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  }
  Integer edge = 0;
  if (exStyle & WS_EX_CLIENTEDGE) edge += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) edge += GetSystemMetrics(SM_CXBORDER);
  r.Left += edge;
  r.Top += edge;
  r.Right += edge;
  r.Bottom += edge;
  return r;
}

bool AdjustWindowRectEx(RECT* rect, DWORD style, bool menu, DWORD exStyle) {
  if (!rect) return false;
  TRect in = DefaultFrameInsets(style, exStyle);
  rect->Left -= in.Left;
  rect->Top -= in.Top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
  rect->Right += in.Right;
  rect->Bottom += in.Bottom;
  return true;
}

// ---- classes ----
namespace {

String lower(const char* s) {
  String r = s ? s : "";
  for (char& c : r) c = char(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

TWindowClass* findClass(const char* name) {
  TWinState& s = WS();
  // A class atom may stand for its name, as on the platform.
  if (reinterpret_cast<uintptr_t>(name) < 0x10000) {
    for (auto& [k, c] : s.Classes) {
      if (c->Atom == ATOM(reinterpret_cast<uintptr_t>(name))) return c.get();
    }
    return nullptr;
  }
  auto it = s.Classes.find(lower(name));
  if (it == s.Classes.end() && lower(name) == "mdiclient") {
    // The MDI client class is always there, as on the platform.
    RegisterMDIClientClass();
    it = s.Classes.find(lower(name));
  }
  return it == s.Classes.end() ? nullptr : it->second.get();
}

}  // namespace

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc) return 0;
  TWinState& s = WS();
  String key = lower(wc->lpszClassName);
  if (s.Classes.count(key)) return 0;
  auto c = std::make_unique<TWindowClass>();
  c->Key = key;
  c->Name = wc->lpszClassName;
  c->MenuName = wc->lpszMenuName ? wc->lpszMenuName : "";
  c->Wc = *wc;
  c->Wc.lpszClassName = nullptr;
  c->Wc.lpszMenuName = nullptr;
  c->Atom = s.NextAtom++;
  ATOM atom = c->Atom;
  s.Classes[key] = std::move(c);
  return atom;
}

bool UnregisterClass(const char* className, HINSTANCE) {
  TWindowClass* c = findClass(className);
  if (!c || c->Users > 0) return false;
  WS().Classes.erase(c->Key);
  return true;
}

bool GetClassInfo(HINSTANCE, const char* className, WNDCLASS* wc) {
  TWindowClass* c = findClass(className);
  if (!c || !wc) return false;
  *wc = c->Wc;
  wc->lpszClassName = c->Name.c_str();
  wc->lpszMenuName = c->MenuName.empty() ? nullptr : c->MenuName.c_str();
  return true;
}

Integer GetClassName(HWND wnd, char* buffer, Integer maxCount) {
  if (!WinIsLive(wnd) || !buffer || maxCount <= 0) return 0;
  String name = GetClassNameStr(wnd);
  Integer n = std::min<Integer>(Integer(name.size()), maxCount - 1);
  std::memcpy(buffer, name.data(), size_t(n));
  buffer[n] = 0;
  return n;
}

String GetClassNameStr(HWND wnd) {
  if (!WinIsLive(wnd)) return "";
  if (wnd->IsDesktop) return "#32769";
  return wnd->Class ? wnd->Class->Name : "";
}

ULONG_PTR GetClassLongPtr(HWND wnd, Integer index) {
  if (!WinIsLive(wnd) || !wnd->Class) return 0;
  const WNDCLASS& wc = wnd->Class->Wc;
  switch (index) {
    case GCL_STYLE:
      return wc.style;
    case GCLP_HBRBACKGROUND:
      return reinterpret_cast<ULONG_PTR>(wc.hbrBackground);
    case GCLP_HCURSOR:
      return reinterpret_cast<ULONG_PTR>(wc.hCursor);
    case GCLP_HICON:
      return reinterpret_cast<ULONG_PTR>(wc.hIcon);
    case GCLP_WNDPROC:
      return reinterpret_cast<ULONG_PTR>(wc.lpfnWndProc);
    default:
      return 0;
  }
}

ULONG_PTR SetClassLongPtr(HWND wnd, Integer index, LONG_PTR value) {
  if (!WinIsLive(wnd) || !wnd->Class) return 0;
  WNDCLASS& wc = wnd->Class->Wc;
  ULONG_PTR old = GetClassLongPtr(wnd, index);
  switch (index) {
    case GCL_STYLE:
      wc.style = UINT(value);
      break;
    case GCLP_HBRBACKGROUND:
      wc.hbrBackground = reinterpret_cast<HBRUSH>(value);
      break;
    case GCLP_HCURSOR:
      wc.hCursor = reinterpret_cast<HCURSOR>(value);
      break;
    case GCLP_HICON:
      wc.hIcon = reinterpret_cast<HICON>(value);
      break;
    case GCLP_WNDPROC:
      wc.lpfnWndProc = reinterpret_cast<WNDPROC>(value);
      break;
    default:
      return 0;
  }
  return old;
}

// ---- z-order ----
namespace {

std::vector<HWND>& siblingsOf(HWND w) {
  return w->Parent ? w->Parent->Children : WS().TopLevels;
}

bool isTopmost(HWND w) {
  return !w->Parent && (w->ExStyle & WS_EX_TOPMOST);
}

size_t firstNonTopmost(const std::vector<HWND>& list) {
  size_t i = 0;
  while (i < list.size() && isTopmost(list[i])) ++i;
  return i;
}

void notifyBackendStack(HWND w) {
  if (!IsTopLevel(w) || !w->Native) return;
  auto& list = WS().TopLevels;
  auto it = std::find(list.begin(), list.end(), w);
  HWND above = nullptr;
  for (auto j = it; j != list.begin();) {
    --j;
    if ((*j)->Native) {
      above = *j;
      break;
    }
  }
  Backend().RestackNativeWindow(w, above);
}

// Owned windows stay above their owner: after the owner moves up they follow it.
void raiseOwned(HWND owner) {
  auto& list = WS().TopLevels;
  std::vector<HWND> owned;
  for (HWND w : list) {
    if (w != owner && w->Owner == owner && isTopmost(w) == isTopmost(owner)) owned.push_back(w);
  }
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    HWND w = *it;
    auto pos = std::find(list.begin(), list.end(), w);
    auto ownerPos = std::find(list.begin(), list.end(), owner);
    if (pos > ownerPos) {
      list.erase(pos);
      list.insert(std::find(list.begin(), list.end(), owner), w);
      notifyBackendStack(w);
    }
  }
  for (HWND w : owned) raiseOwned(w);
}

}  // namespace

static void placeInZOrder(HWND w, HWND after, bool ownerOrder) {
  auto& list = siblingsOf(w);
  auto it = std::find(list.begin(), list.end(), w);
  if (it != list.end()) list.erase(it);
  bool top = !w->Parent;
  bool movedUp = true;
  if (after == HWND_TOPMOST) {
    if (top) w->ExStyle |= WS_EX_TOPMOST;
    list.insert(list.begin(), w);
  } else if (after == HWND_NOTOPMOST) {
    if (top) w->ExStyle &= ~WS_EX_TOPMOST;
    list.insert(list.begin() + long(firstNonTopmost(list)), w);
  } else if (after == HWND_TOP) {
    list.insert(list.begin() + long(isTopmost(w) ? 0 : firstNonTopmost(list)), w);
  } else if (after == HWND_BOTTOM) {
    if (top) w->ExStyle &= ~WS_EX_TOPMOST;
    list.push_back(w);
    movedUp = false;
  } else {
    auto a = std::find(list.begin(), list.end(), after);
    if (a == list.end()) {
      list.insert(list.begin() + long(isTopmost(w) ? 0 : firstNonTopmost(list)), w);
    } else if (isTopmost(after) && !isTopmost(w)) {
      list.insert(list.begin() + long(firstNonTopmost(list)), w);
    } else {
      if (!isTopmost(after) && isTopmost(w)) w->ExStyle &= ~WS_EX_TOPMOST;
      list.insert(a + 1, w);
    }
    movedUp = false;
  }
  if (top) {
    notifyBackendStack(w);
    if (ownerOrder && movedUp) raiseOwned(w);
  }
}

// ---- creation ----
namespace {

void sendParentNotify(HWND child, WPARAM wParam, LPARAM lParam) {
  for (HWND w = child; WinIsLive(w) && w->Parent && !w->Parent->IsDesktop; w = w->Parent) {
    if (w->ExStyle & WS_EX_NOPARENTNOTIFY) break;
    SendMessage(w->Parent, WM_PARENTNOTIFY, wParam, lParam);
  }
}

TRect calcClient(HWND w, const TRect& windowRect) {
  RECT r = windowRect;
  SendMessage(w, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r));
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return {r.Left - windowRect.Left, r.Top - windowRect.Top, r.Right - windowRect.Left,
          r.Bottom - windowRect.Top};
}

void createNative(HWND w) {
  if (w->Native || w->MessageOnly) return;
  ResizeSurface(w);
  TNativeWindowInfo info;
  info.Bounds = w->Rect;
  info.Style = w->Style;
  info.ExStyle = w->ExStyle;
  info.Owner = w->Owner;
  info.Title = w->Text;
  info.Popup = (w->Style & WS_POPUP) || (w->ExStyle & WS_EX_TOOLWINDOW);
  w->Native = true;
  Backend().CreateNativeWindow(w, info);
  WinPushWindowIcon(w);
  notifyBackendStack(w);
  if (w->Region) Backend().SetNativeShape(w, w->Region);
}

void destroyNative(HWND w) {
  if (w->Native) {
    w->Native = false;
    Backend().DestroyNativeWindow(w);
  }
  WinDestroySurface(w);
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, Integer x,
                    Integer y, Integer width, Integer height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* param) {
  TWinState& s = WS();
  TWindowClass* cls = findClass(className);
  if (!cls) return nullptr;
  bool messageOnly = parent == HWND_MESSAGE;
  if (messageOnly) parent = nullptr;
  if (parent && !WinIsLive(parent)) return nullptr;
  if (parent && parent->IsDesktop) parent = nullptr;
  bool child = (style & WS_CHILD) && !messageOnly;
  if (child && !parent) return nullptr;

  auto owned = std::make_unique<TPlatformWindow>();
  HWND w = owned.get();
  s.Graveyard.push_back(std::move(owned));
  w->Class = cls;
  ++cls->Users;
  w->Proc = cls->Wc.lpfnWndProc;
  w->Instance = instance;
  w->MessageOnly = messageOnly;
  w->Extra.assign(size_t(std::max(0, cls->Wc.cbWndExtra) + Integer(sizeof(LONG_PTR)) - 1) / sizeof(LONG_PTR),
                  0);
  if (child) {
    w->Parent = parent;
    w->Id = reinterpret_cast<LONG_PTR>(menu);
  } else {
    w->Owner = parent ? RootOf(parent) : nullptr;
    if (!messageOnly) {
      style |= WS_CLIPSIBLINGS;
      // Overlapped windows always have a caption, as on the platform.
      if (!(style & WS_POPUP)) style |= WS_CAPTION;
    }
  }
  w->Style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  w->ExStyle = exStyle;
  if (!child && !messageOnly) {
    if (x == CW_USEDEFAULT) {
      x = 26 * Integer(s.TopLevels.size() % 8) + 26;
      y = x;
    }
    if (width == CW_USEDEFAULT) {
      width = s.WorkArea.Width() * 3 / 4;
      height = s.WorkArea.Height() * 3 / 4;
    }
  } else {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  }
  width = std::max(0, width);
  height = std::max(0, height);
  w->Rect = Bounds(x, y, width, height);
  w->Client = Bounds(0, 0, width, height);
  w->NormalRect = w->Rect;
  s.Live.insert(w);
  if (messageOnly) {
    s.MessageWindows.push_back(w);
  } else if (child) {
    parent->Children.insert(parent->Children.begin(), w);
  } else {
    placeInZOrder(w, HWND_TOP, false);
    createNative(w);
  }

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = child ? parent : w->Owner;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = LONG(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (!child && !messageOnly && (w->Style & WS_THICKFRAME)) {
    MINMAXINFO mmi;
    WinGetMinMaxInfo(w, &mmi);
    if (!WinIsLive(w)) return nullptr;
    Integer cx =
        std::clamp(width, mmi.ptMinTrackSize.X, std::max(mmi.ptMinTrackSize.X, mmi.ptMaxTrackSize.X));
    Integer cy =
        std::clamp(height, mmi.ptMinTrackSize.Y, std::max(mmi.ptMinTrackSize.Y, mmi.ptMaxTrackSize.Y));
    if (cx != width || cy != height) {
      w->Rect = Bounds(x, y, cx, cy);
      w->Client = Bounds(0, 0, cx, cy);
      w->NormalRect = w->Rect;
      cs.cx = cx;
      cs.cy = cy;
      ResizeSurface(w);
      if (w->Native) Backend().MoveNativeWindow(w, w->Rect);
    }
  }

  if (!SendMessage(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(w);
    return nullptr;
  }
  if (!WinIsLive(w)) return nullptr;
  w->Client = calcClient(w, w->Rect);
  if (!WinIsLive(w)) return nullptr;
  if (SendMessage(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(w);
    return nullptr;
  }
  if (!WinIsLive(w)) return nullptr;
  if (child) sendParentNotify(w, MAKEWPARAM(WM_CREATE, Integer(w->Id)), reinterpret_cast<LPARAM>(w));
  if (!WinIsLive(w)) return nullptr;
  SendMessage(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
  SendMessage(w, WM_MOVE, 0, MAKELPARAM(w->Rect.Left + w->Client.Left, w->Rect.Top + w->Client.Top));
  if (!WinIsLive(w)) return nullptr;
  if (style & WS_MAXIMIZE) {
    ShowWindow(w, (style & WS_VISIBLE) ? SW_SHOWMAXIMIZED : SW_MAXIMIZE);
  } else if (style & WS_MINIMIZE) {
    ShowWindow(w, (style & WS_VISIBLE) ? SW_SHOWMINIMIZED : SW_SHOWMINNOACTIVE);
    if (!(style & WS_VISIBLE) && WinIsLive(w)) ShowWindow(w, SW_HIDE);
  } else if (style & WS_VISIBLE) {
    ShowWindow(w, SW_SHOW);
  }
  return WinIsLive(w) ? w : nullptr;
}

// ---- destruction ----
namespace {

void sendDestroyTree(HWND w) {
  if (!WinIsLive(w)) return;
  w->Destroying = true;
  SendMessage(w, WM_DESTROY, 0, 0);
  std::vector<HWND> kids = w->Children;
  for (HWND c : kids) sendDestroyTree(c);
}

void finishTree(HWND w) {
  if (!WinIsLive(w)) return;
  std::vector<HWND> kids = w->Children;
  for (HWND c : kids) finishTree(c);
  // Children made during WM_DESTROY go as well.
  while (!w->Children.empty() && WinIsLive(w->Children.front())) {
    HWND c = w->Children.front();
    c->Destroying = true;
    SendMessage(c, WM_DESTROY, 0, 0);
    finishTree(c);
  }
  SendMessage(w, WM_NCDESTROY, 0, 0);
  TWinState& s = WS();
  WinForgetWindowInput(w);
  WinRemoveTimersOf(w);
  WinCaretWindowDestroyed(w);
  WinClearPaintState(w);
  if (w->NativeChild) WinDestroyNativeChild(w);
  auto& list = w->MessageOnly ? s.MessageWindows : siblingsOf(w);
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
  if (!w->Parent) destroyNative(w);
  if (w->Region) {
    DeleteObject(w->Region);
    w->Region = nullptr;
  }
  if (w->Class) --w->Class->Users;
  w->Props.clear();
  w->Extra.clear();
  w->Text.clear();
  w->Children.clear();
  w->Dead = true;
  s.Live.erase(w);
  for (HWND t : s.TopLevels) {
    if (t->Owner == w) t->Owner = nullptr;
  }
}

}  // namespace

bool DestroyWindow(HWND w) {
  if (!WinIsLive(w) || w->IsDesktop || w->Destroying) return false;
  TWinState& s = WS();
  w->Destroying = true;
  // Owned windows go first.
  if (!w->Parent) {
    std::vector<HWND> owned;
    for (HWND t : s.TopLevels) {
      if (t->Owner == w) owned.push_back(t);
    }
    for (HWND t : owned) DestroyWindow(t);
  }
  if (!WinIsLive(w)) return true;
  if (w->Parent) sendParentNotify(w, MAKEWPARAM(WM_DESTROY, Integer(w->Id)), reinterpret_cast<LPARAM>(w));
  if (!WinIsLive(w)) return true;
  if (w->Style & WS_VISIBLE) {
    SetWindowPos(w, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!WinIsLive(w)) return true;
  if (s.Active == w) WinActivateAfterLoss(w);
  if (s.Focus && (s.Focus == w || IsChild(w, s.Focus))) {
    HWND f = s.Focus;
    s.Focus = nullptr;
    SendMessage(f, WM_KILLFOCUS, 0, 0);
  }
  if (s.Capture && (s.Capture == w || IsChild(w, s.Capture))) ReleaseCapture();
  if (!WinIsLive(w)) return true;
  sendDestroyTree(w);
  finishTree(w);
  return true;
}

// ---- window data ----
LONG_PTR GetWindowLongPtr(HWND w, Integer index) {
  if (!WinIsLive(w)) return 0;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->Proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->Instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->Parent ? w->Parent : w->Owner);
    case GWL_STYLE:
      return LONG_PTR(int32_t(w->Style));
    case GWL_EXSTYLE:
      return LONG_PTR(int32_t(w->ExStyle));
    case GWLP_USERDATA:
      return w->UserData;
    case GWLP_ID:
      return w->Id;
    default:
      if (index >= 0 && size_t(index) / sizeof(LONG_PTR) < w->Extra.size()) {
        return w->Extra[size_t(index) / sizeof(LONG_PTR)];
      }
      return 0;
  }
}

struct STYLESTRUCT {
  DWORD styleOld;
  DWORD styleNew;
};

LONG_PTR SetWindowLongPtr(HWND w, Integer index, LONG_PTR value) {
  if (!WinIsLive(w) || w->IsDesktop) return 0;
  LONG_PTR old = GetWindowLongPtr(w, index);
  switch (index) {
    case GWLP_WNDPROC:
      w->Proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWLP_HINSTANCE:
      w->Instance = reinterpret_cast<HINSTANCE>(value);
      break;
    case GWLP_HWNDPARENT:
      if (!w->Parent) {
        HWND owner = reinterpret_cast<HWND>(value);
        w->Owner = WinIsLive(owner) && !owner->IsDesktop ? RootOf(owner) : nullptr;
        if (w->Owner == w) w->Owner = nullptr;
      }
      break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      STYLESTRUCT ss{DWORD(old), DWORD(value)};
      SendMessage(w, WM_STYLECHANGING, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
      if (!WinIsLive(w)) return old;
      if (index == GWL_STYLE) {
        DWORD keep = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;
        DWORD prev = w->Style;
        w->Style = (ss.styleNew & ~keep) | (w->Style & keep);
        // Showing or hiding through the style bit changes the flag only, as on the platform.
        if ((ss.styleNew ^ prev) & WS_VISIBLE)
          w->Style = (w->Style & ~WS_VISIBLE) | (ss.styleNew & WS_VISIBLE);
      } else {
        bool wasLayered = w->ExStyle & WS_EX_LAYERED;
        w->ExStyle = ss.styleNew;
        bool layered = w->ExStyle & WS_EX_LAYERED;
        if (wasLayered && !layered) {
          w->LayeredByUpdate = false;
          w->HasLayeredAttributes = false;
          w->LayeredPerPixel = false;
          w->LayeredAlpha = 255;
          w->LayeredFlags = 0;
          if (w->Native) {
            TLayeredPush push;
            push.Position = {w->Rect.Left, w->Rect.Top};
            push.Size = {w->Rect.Width(), w->Rect.Height()};
            Backend().PresentLayered(w, w->Surface, push);
          }
          RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
      }
      if (w->Native) Backend().SetNativeStyle(w, w->Style, w->ExStyle);
      SendMessage(w, WM_STYLECHANGED, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
      break;
    }
    case GWLP_USERDATA:
      w->UserData = value;
      break;
    case GWLP_ID:
      w->Id = value;
      break;
    default:
      if (index >= 0 && size_t(index) / sizeof(LONG_PTR) < w->Extra.size()) {
        w->Extra[size_t(index) / sizeof(LONG_PTR)] = value;
      } else {
        return 0;
      }
  }
  return old;
}

bool SetProp(HWND w, const char* name, HANDLE data) {
  if (!WinIsLive(w) || !name) return false;
  w->Props[name] = data;
  return true;
}

HANDLE GetProp(HWND w, const char* name) {
  if (!WinIsLive(w) || !name) return nullptr;
  auto it = w->Props.find(name);
  return it == w->Props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND w, const char* name) {
  if (!WinIsLive(w) || !name) return nullptr;
  auto it = w->Props.find(name);
  if (it == w->Props.end()) return nullptr;
  HANDLE h = it->second;
  w->Props.erase(it);
  return h;
}

bool SetWindowText(HWND w, const char* text) {
  if (!WinIsLive(w)) return false;
  return SendMessage(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

Integer GetWindowText(HWND w, char* buffer, Integer maxCount) {
  if (!WinIsLive(w) || !buffer || maxCount <= 0) return 0;
  return Integer(SendMessage(w, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

Integer GetWindowTextLength(HWND w) {
  if (!WinIsLive(w)) return 0;
  return Integer(SendMessage(w, WM_GETTEXTLENGTH, 0, 0));
}

String GetWindowTextStr(HWND w) {
  Integer n = GetWindowTextLength(w);
  if (n <= 0) return "";
  String r(size_t(n) + 1, '\0');
  Integer got = GetWindowText(w, r.data(), n + 1);
  r.resize(size_t(std::max(0, got)));
  return r;
}

UINT RegisterWindowMessage(const char* name) {
  if (!name || !*name) return 0;
  TWinState& s = WS();
  String key = lower(name);
  auto it = s.RegisteredMessages.find(key);
  if (it != s.RegisteredMessages.end()) return it->second;
  UINT id = WM_REGISTERED_FIRST + UINT(s.RegisteredMessages.size());
  s.RegisteredMessages[key] = id;
  return id;
}

// ---- tree ----
HWND GetParent(HWND w) {
  if (!WinIsLive(w)) return nullptr;
  if (w->Parent) return w->Parent;
  if (w->Style & WS_POPUP) return w->Owner;
  return nullptr;
}

HWND SetParent(HWND w, HWND parent) {
  if (!WinIsLive(w) || w->IsDesktop) return nullptr;
  if (parent && !WinIsLive(parent)) return nullptr;
  if (parent && parent->IsDesktop) parent = nullptr;
  if (parent && (parent == w || IsChild(w, parent))) return nullptr;
  TWinState& s = WS();
  HWND old = w->Parent ? w->Parent : s.Desktop;
  if (parent == w->Parent) return old;
  bool visible = w->Style & WS_VISIBLE;
  if (visible && w->Parent) {
    RECT r = w->Rect;
    HRGN rgn = CreateRectRgnIndirect(&r);
    WinInvalidate(w->Parent, rgn, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    DeleteObject(rgn);
  }
  auto& from = siblingsOf(w);
  from.erase(std::remove(from.begin(), from.end(), w), from.end());
  if (!w->Parent) destroyNative(w);
  WinClearPaintState(w);
  w->Parent = parent;
  if (parent) {
    w->Owner = nullptr;
    parent->Children.insert(parent->Children.begin(), w);
  } else {
    placeInZOrder(w, HWND_TOP, false);
    createNative(w);
    if (visible && w->Native) Backend().ShowNativeWindow(w, true);
  }
  if (visible) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  if (w->NativeChild) {
    HWND root = RootOf(w);
    Backend().PlaceNativeChild(w, WindowRectInRoot(w), IsWindowVisible(w) && root != w);
  }
  return old;
}

HWND GetAncestor(HWND w, UINT flags) {
  if (!WinIsLive(w) || w->IsDesktop) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->Parent ? w->Parent : WS().Desktop;
    case GA_ROOT:
      return RootOf(w);
    case GA_ROOTOWNER: {
      HWND r = RootOf(w);
      while (r->Owner) r = r->Owner;
      return r;
    }
    default:
      return nullptr;
  }
}

bool IsChild(HWND parent, HWND w) {
  if (!WinIsLive(parent) || !WinIsLive(w)) return false;
  for (HWND p = w->Parent; p; p = p->Parent) {
    if (p == parent) return true;
  }
  return false;
}

std::vector<HWND> WinChildWindows(HWND parent) {
  if (!parent || (WinIsLive(parent) && parent->IsDesktop)) return WS().TopLevels;
  if (!WinIsLive(parent)) return {};
  return parent->Children;
}

HWND GetWindow(HWND w, UINT cmd) {
  if (!WinIsLive(w)) return nullptr;
  if (cmd == GW_CHILD) {
    const auto& kids = w->IsDesktop ? WS().TopLevels : w->Children;
    return kids.empty() ? nullptr : kids.front();
  }
  if (cmd == GW_OWNER) return w->Parent ? nullptr : w->Owner;
  if (cmd == GW_ENABLEDPOPUP) {
    for (HWND t : WS().TopLevels) {
      if (t->Owner == w && (t->Style & WS_VISIBLE) && !(t->Style & WS_DISABLED)) return t;
    }
    return nullptr;
  }
  if (w->IsDesktop) return nullptr;
  const auto& list = w->MessageOnly ? WS().MessageWindows : siblingsOf(w);
  auto it = std::find(list.begin(), list.end(), w);
  if (it == list.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front();
    case GW_HWNDLAST:
      return list.back();
    case GW_HWNDNEXT:
      return it + 1 == list.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return it == list.begin() ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

HWND GetNextWindow(HWND w, UINT cmd) {
  return GetWindow(w, cmd);
}

HWND GetTopWindow(HWND w) {
  const auto& list = (!w || (WinIsLive(w) && w->IsDesktop)) ? WS().TopLevels
                     : WinIsLive(w)                         ? w->Children
                                                            : std::vector<HWND>{};
  return list.empty() ? nullptr : list.front();
}

namespace {

bool enumTree(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> kids = parent->Children;
  for (HWND c : kids) {
    if (!WinIsLive(c)) continue;
    if (!proc(c, lParam)) return false;
    if (WinIsLive(c) && !enumTree(c, proc, lParam)) return false;
  }
  return true;
}

}  // namespace

bool EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return false;
  if (!parent || (WinIsLive(parent) && parent->IsDesktop)) {
    std::vector<HWND> tops = WS().TopLevels;
    for (HWND t : tops) {
      if (!WinIsLive(t)) continue;
      if (!proc(t, lParam)) return false;
      if (WinIsLive(t) && !enumTree(t, proc, lParam)) return false;
    }
    return true;
  }
  if (!WinIsLive(parent)) return false;
  return enumTree(parent, proc, lParam);
}

bool EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return false;
  std::vector<HWND> tops = WS().TopLevels;
  for (HWND t : tops) {
    if (WinIsLive(t) && !proc(t, lParam)) return false;
  }
  return true;
}

HWND GetLastActivePopup(HWND owner) {
  if (!WinIsLive(owner)) return nullptr;
  HWND active = WS().Active;
  if (active && active->Owner == owner) return active;
  return owner;
}

// ---- positions ----
bool GetWindowRect(HWND w, RECT* rect) {
  if (!WinIsLive(w) || !rect) return false;
  TPoint o = ScreenOrigin(w);
  *rect = Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
  return true;
}

bool GetClientRect(HWND w, RECT* rect) {
  if (!WinIsLive(w) || !rect) return false;
  *rect = {0, 0, w->Client.Width(), w->Client.Height()};
  return true;
}

bool ClientToScreen(HWND w, POINT* p) {
  if (!WinIsLive(w) || !p) return false;
  TPoint o = ClientScreenOrigin(w);
  p->X += o.X;
  p->Y += o.Y;
  return true;
}

bool ScreenToClient(HWND w, POINT* p) {
  if (!WinIsLive(w) || !p) return false;
  TPoint o = ClientScreenOrigin(w);
  p->X -= o.X;
  p->Y -= o.Y;
  return true;
}

Integer MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  TPoint a{0, 0}, b{0, 0};
  if (from && !from->IsDesktop) {
    if (!WinIsLive(from)) return 0;
    a = ClientScreenOrigin(from);
  }
  if (to && !to->IsDesktop) {
    if (!WinIsLive(to)) return 0;
    b = ClientScreenOrigin(to);
  }
  Integer dx = a.X - b.X, dy = a.Y - b.Y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].X += dx;
    points[i].Y += dy;
  }
  return Integer(uint32_t(dx & 0xFFFF) | (uint32_t(dy & 0xFFFF) << 16));
}

namespace {

WPARAM sizeKind(HWND w) {
  if (w->Minimized) return SIZE_MINIMIZED;
  if (w->Maximized) return SIZE_MAXIMIZED;
  return SIZE_RESTORED;
}

void placeNativeChildren(HWND w) {
  if (w->NativeChild) Backend().PlaceNativeChild(w, WindowRectInRoot(w), IsWindowVisible(w));
  for (HWND c : w->Children) placeNativeChildren(c);
}

void invalidateParentArea(HWND w, const TRect& rectInParent) {
  if (!w->Parent || rectInParent.Width() <= 0 || rectInParent.Height() <= 0) return;
  HRGN rgn = CreateRectRgnIndirect(&rectInParent);
  WinInvalidate(w->Parent, rgn, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  DeleteObject(rgn);
}

}  // namespace

bool SetWindowPos(HWND w, HWND after, Integer x, Integer y, Integer cx, Integer cy, UINT flags) {
  if (!WinIsLive(w) || w->IsDesktop) return false;
  if (after && after != HWND_TOPMOST && after != HWND_NOTOPMOST && after != HWND_BOTTOM &&
      (!WinIsLive(after) || after == w)) {
    flags |= SWP_NOZORDER;
  }
  WINDOWPOS wp;
  wp.hwnd = w;
  wp.hwndInsertAfter = after;
  wp.x = (flags & SWP_NOMOVE) ? w->Rect.Left : x;
  wp.y = (flags & SWP_NOMOVE) ? w->Rect.Top : y;
  wp.cx = (flags & SWP_NOSIZE) ? w->Rect.Width() : cx;
  wp.cy = (flags & SWP_NOSIZE) ? w->Rect.Height() : cy;
  wp.flags = flags;
  bool visibleBefore = w->Style & WS_VISIBLE;
  if (visibleBefore) wp.flags &= ~SWP_SHOWWINDOW;
  if (!visibleBefore) wp.flags &= ~SWP_HIDEWINDOW;
  if (!(wp.flags & SWP_NOSENDCHANGING)) {
    SendMessage(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!WinIsLive(w)) return false;
  }
  wp.cx = std::max(0, wp.cx);
  wp.cy = std::max(0, wp.cy);
  TRect oldRect = w->Rect;
  TRect newRect = Bounds(
      (wp.flags & SWP_NOMOVE) ? oldRect.Left : wp.x, (wp.flags & SWP_NOMOVE) ? oldRect.Top : wp.y,
      (wp.flags & SWP_NOSIZE) ? oldRect.Width() : wp.cx, (wp.flags & SWP_NOSIZE) ? oldRect.Height() : wp.cy);
  bool moved = newRect.Left != oldRect.Left || newRect.Top != oldRect.Top;
  bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
  if (!moved) wp.flags |= SWP_NOMOVE;
  if (!sized) wp.flags |= SWP_NOSIZE;
  wp.x = newRect.Left;
  wp.y = newRect.Top;
  wp.cx = newRect.Width();
  wp.cy = newRect.Height();

  if (sized || (wp.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = newRect;
    params.rgrc[1] = oldRect;
    params.rgrc[2] = {oldRect.Left + w->Client.Left, oldRect.Top + w->Client.Top,
                      oldRect.Left + w->Client.Right, oldRect.Top + w->Client.Bottom};
    params.lppos = &wp;
    SendMessage(w, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params));
    if (!WinIsLive(w)) return false;
    RECT c = params.rgrc[0];
    if (c.Right < c.Left) c.Right = c.Left;
    if (c.Bottom < c.Top) c.Bottom = c.Top;
    w->Client = {c.Left - newRect.Left, c.Top - newRect.Top, c.Right - newRect.Left, c.Bottom - newRect.Top};
  }
  w->Rect = newRect;
  if (!w->Minimized && !w->Maximized) w->NormalRect = newRect;
  if (!(wp.flags & SWP_NOZORDER) && !w->MessageOnly) {
    placeInZOrder(w, wp.hwndInsertAfter, !(wp.flags & SWP_NOOWNERZORDER));
  }
  bool shown = (wp.flags & SWP_SHOWWINDOW) && !visibleBefore;
  bool hidden = (wp.flags & SWP_HIDEWINDOW) && visibleBefore;
  if (shown) w->Style |= WS_VISIBLE;
  if (hidden) w->Style &= ~WS_VISIBLE;

  if (IsTopLevel(w) && !w->MessageOnly) {
    if (sized) ResizeSurface(w);
    if (w->Native && (moved || sized)) Backend().MoveNativeWindow(w, w->Rect);
    if (w->Native && (shown || hidden)) Backend().ShowNativeWindow(w, shown);
  }
  if (hidden) {
    TWinState& s = WS();
    if (s.Capture && (s.Capture == w || IsChild(w, s.Capture))) ReleaseCapture();
    invalidateParentArea(w, oldRect);
    WinClearPaintState(w);
    if (!w->Parent && s.Active == w) WinActivateAfterLoss(w);
  } else if (!(wp.flags & SWP_NOREDRAW) && (w->Style & WS_VISIBLE)) {
    if (shown || sized) {
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    } else if (moved && w->Parent) {
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    } else if (wp.flags & SWP_FRAMECHANGED) {
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    if (w->Parent && (moved || sized)) invalidateParentArea(w, oldRect);
  }
  if ((moved || sized || shown || hidden) && WinIsLive(w)) placeNativeChildren(w);
  if (IsTopLevel(w) && !(wp.flags & SWP_NOACTIVATE) && (w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED) &&
      !(w->ExStyle & WS_EX_NOACTIVATE) && !w->MessageOnly && !hidden) {
    SetActiveWindow(w);
    if (!WinIsLive(w)) return true;
  }
  SendMessage(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return true;
}

LRESULT WinDefaultWindowPosChanged(HWND w, const WINDOWPOS* wp) {
  if (!(wp->flags & SWP_NOMOVE)) {
    SendMessage(w, WM_MOVE, 0, MAKELPARAM(w->Rect.Left + w->Client.Left, w->Rect.Top + w->Client.Top));
  }
  if (WinIsLive(w) && (!(wp->flags & SWP_NOSIZE) || (wp->flags & SWP_FRAMECHANGED))) {
    SendMessage(w, WM_SIZE, sizeKind(w), MAKELPARAM(w->Client.Width(), w->Client.Height()));
  }
  return 0;
}

bool MoveWindow(HWND w, Integer x, Integer y, Integer width, Integer height, bool repaint) {
  return SetWindowPos(w, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool BringWindowToTop(HWND w) {
  return SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---- showing and states ----
bool IsWindowVisible(HWND w) {
  if (!WinIsLive(w)) return false;
  for (HWND p = w; p; p = p->Parent) {
    if (!(p->Style & WS_VISIBLE)) return false;
  }
  return true;
}

bool IsIconic(HWND w) {
  return WinIsLive(w) && w->Minimized;
}
bool IsZoomed(HWND w) {
  return WinIsLive(w) && w->Maximized;
}

namespace {

void setState(HWND w, bool minimized, bool maximized, const TRect& rect, UINT flags) {
  if (!w->Minimized && !w->Maximized) w->NormalRect = w->Rect;
  if (minimized) w->RestoreToMaximized = w->Maximized;
  w->Minimized = minimized;
  w->Maximized = maximized;
  w->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  if (minimized) w->Style |= WS_MINIMIZE;
  if (maximized) w->Style |= WS_MAXIMIZE;
  if (w->Native) Backend().SetNativeState(w, minimized ? 1 : maximized ? 2 : 0);
  SetWindowPos(w, nullptr, rect.Left, rect.Top, rect.Width(), rect.Height(), flags | SWP_FRAMECHANGED);
}

TRect maximizedRect(HWND w) {
  MINMAXINFO mmi;
  WinGetMinMaxInfo(w, &mmi);
  if (w->Parent && (w->ExStyle & WS_EX_MDICHILD)) {
    // A maximized MDI child's frame lies outside the client, so its client area covers it all.
    RECT r = Bounds(0, 0, w->Parent->Client.Width(), w->Parent->Client.Height());
    AdjustWindowRectEx(&r, w->Style & ~(WS_MAXIMIZE | WS_MINIMIZE), false, w->ExStyle);
    return r;
  }
  if (w->Parent) return Bounds(0, 0, w->Parent->Client.Width(), w->Parent->Client.Height());
  TRect work = WS().WorkArea;
  return Bounds(work.Left + mmi.ptMaxPosition.X, work.Top + mmi.ptMaxPosition.Y, mmi.ptMaxSize.X,
                mmi.ptMaxSize.Y);
}

}  // namespace

bool ShowWindow(HWND w, Integer cmd) {
  if (!WinIsLive(w) || w->IsDesktop) return false;
  bool wasVisible = w->Style & WS_VISIBLE;
  bool activate = false, show = true;
  enum { keep, minimize, maximize, restore } change = keep;
  switch (cmd) {
    case SW_HIDE:
      show = false;
      break;
    case SW_SHOWMINIMIZED:
      change = minimize;
      activate = true;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      change = minimize;
      break;
    case SW_SHOWMAXIMIZED:
      change = maximize;
      activate = true;
      break;
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    case SW_RESTORE:
      change = restore;
      activate = true;
      break;
    case SW_SHOWNOACTIVATE:
      change = restore;
      break;
    case SW_SHOW:
      activate = true;
      break;
    case SW_SHOWNA:
      break;
    default:
      return wasVisible;
  }
  if (!show) {
    if (!wasVisible) return false;
    SendMessage(w, WM_SHOWWINDOW, 0, 0);
    if (!WinIsLive(w)) return true;
    SetWindowPos(w, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
  }
  if (!wasVisible) {
    SendMessage(w, WM_SHOWWINDOW, 1, 0);
    if (!WinIsLive(w)) return false;
  }
  if (w->Parent) activate = false;
  UINT flags = SWP_SHOWWINDOW | SWP_NOZORDER | (activate ? 0 : SWP_NOACTIVATE);
  if (activate) flags &= ~SWP_NOZORDER;
  TWinState& s = WS();
  if (change == minimize && !w->Minimized) {
    bool wasActive = s.Active == w;
    Integer cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
    // A minimized MDI child stays in its client, along the bottom edge.
    bool inClient = w->Parent && (w->ExStyle & WS_EX_MDICHILD);
    setState(w, true, false,
             inClient ? Bounds(0, w->Parent->Client.Height() - cy, cx, cy) : Bounds(-32000, -32000, cx, cy),
             flags | SWP_NOACTIVATE);
    if (WinIsLive(w) && wasActive && cmd != SW_SHOWMINIMIZED) WinActivateAfterLoss(w);
  } else if (change == maximize && !w->Maximized) {
    setState(w, false, true, maximizedRect(w), flags);
  } else if (change == restore && (w->Minimized || w->Maximized)) {
    if (w->Minimized && w->RestoreToMaximized) {
      setState(w, false, true, maximizedRect(w), flags);
    } else {
      setState(w, false, false, w->NormalRect, flags);
    }
  } else {
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE);
  }
  return wasVisible;
}

bool GetWindowPlacement(HWND w, WINDOWPLACEMENT* p) {
  if (!WinIsLive(w) || !p) return false;
  p->flags = w->RestoreToMaximized ? 2 : 0;
  p->showCmd = !(w->Style & WS_VISIBLE) ? SW_HIDE
               : w->Minimized           ? SW_SHOWMINIMIZED
               : w->Maximized           ? SW_SHOWMAXIMIZED
                                        : SW_SHOWNORMAL;
  p->ptMinPosition = {-1, -1};
  p->ptMaxPosition = {-1, -1};
  p->rcNormalPosition = (w->Minimized || w->Maximized) ? w->NormalRect : w->Rect;
  return true;
}

bool SetWindowPlacement(HWND w, const WINDOWPLACEMENT* p) {
  if (!WinIsLive(w) || !p) return false;
  if (w->Minimized || w->Maximized) {
    w->NormalRect = p->rcNormalPosition;
  } else {
    const TRect& r = p->rcNormalPosition;
    SetWindowPos(w, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (WinIsLive(w)) ShowWindow(w, Integer(p->showCmd));
  return true;
}

bool EnableWindow(HWND w, bool enable) {
  if (!WinIsLive(w) || w->IsDesktop) return false;
  bool wasDisabled = w->Style & WS_DISABLED;
  if (wasDisabled == !enable) return wasDisabled;
  TWinState& s = WS();
  if (enable) {
    w->Style &= ~WS_DISABLED;
  } else {
    w->Style |= WS_DISABLED;
    if (s.Focus && (s.Focus == w || IsChild(w, s.Focus))) SetFocus(nullptr);
    if (WinIsLive(w) && s.Capture && (s.Capture == w || IsChild(w, s.Capture))) ReleaseCapture();
  }
  if (WinIsLive(w)) SendMessage(w, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

bool IsWindowEnabled(HWND w) {
  return WinIsLive(w) && !(w->Style & WS_DISABLED);
}

// ---- regions ----
Integer SetWindowRgn(HWND w, HRGN rgn, bool redraw) {
  if (!WinIsLive(w) || w->IsDesktop) return 0;
  if (rgn && GetObjectType(rgn) != OBJ_REGION) return 0;
  HRGN old = w->Region;
  w->Region = rgn;
  if (old) DeleteObject(old);
  if (w->Native) Backend().SetNativeShape(w, rgn);
  if (redraw && IsWindowVisible(w)) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    if (w->Parent) invalidateParentArea(w, w->Rect);
  }
  return 1;
}

Integer GetWindowRgn(HWND w, HRGN rgn) {
  if (!WinIsLive(w) || !w->Region || !rgn) return ERROR;
  return CombineRgn(rgn, w->Region, nullptr, RGN_COPY);
}

// ---- reset ----
void WinResetForTests() {
  TWinState& s = WS();
  for (int guard = 0; guard < 1000 && (!s.TopLevels.empty() || !s.MessageWindows.empty()); ++guard) {
    HWND w = !s.TopLevels.empty() ? s.TopLevels.front() : s.MessageWindows.front();
    if (!DestroyWindow(w)) {
      // A window stuck in its own destruction: drop it from the lists.
      auto& list = w->MessageOnly ? s.MessageWindows : s.TopLevels;
      list.erase(std::remove(list.begin(), list.end(), w), list.end());
    }
  }
  WinResetMessageState();
  WinResetInputState();
  WinResetPaintState();
  s.Classes.clear();
  s.RegisteredMessages.clear();
  s.Filter = nullptr;
  s.ModalHook = nullptr;
  s.Hooks.clear();
  s.Beeps = 0;
  WinRefreshScreenArea();
  s.DoubleClickTime = 500;
}
