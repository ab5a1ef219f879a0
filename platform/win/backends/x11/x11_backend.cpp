// The connection, the event pump, the pointer and the backend's public entry points.
// clang-format off
#include "platform/win/backends/x11/x11_internal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <cstdlib>

#include "platform/rtl/threads.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
// clang-format on

namespace {

std::atomic<unsigned long> errorCount{0};
int (*previousErrorHandler)(Display*, XErrorEvent*) = nullptr;
int installedBackends = 0;

int countError(Display*, XErrorEvent*) {
  ++errorCount;
  return 0;
}

void installErrorHandler() {
  if (installedBackends++ == 0) previousErrorHandler = XSetErrorHandler(countError);
}

void uninstallErrorHandler() {
  if (--installedBackends == 0) XSetErrorHandler(previousErrorHandler);
}

// The surface's pixels are B, G, R, A bytes: a 32-bit little-endian word 0xAARRGGBB.
bool directLayout(Display* display, Visual* visual, int depth) {
  if (visual->c_class != TrueColor || (depth != 24 && depth != 32)) return false;
  if (visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF) return false;
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
  bool fits = false;
  for (int i = 0; i < count; ++i)
    if (formats[i].depth == depth) fits = formats[i].bits_per_pixel == 32;
  if (formats) XFree(formats);
  return fits;
}

}  // namespace

unsigned long X11ErrorCount() {
  return errorCount;
}

TX11Backend::TX11Backend(Display* display, const TX11Options& options)
    : FDisplay(display),
      FScreen(DefaultScreen(display)),
      FRoot(RootWindow(display, FScreen)),
      FVisual(DefaultVisual(display, FScreen)),
      FDepth(DefaultDepth(display, FScreen)) {
  installErrorHandler();
  FDirectLayout = directLayout(display, FVisual, FDepth);
  int eventBase = 0, errorBase = 0;
  FHasShape = XShapeQueryExtension(display, &eventBase, &errorBase);
  FUseShm = options.UseSharedMemory && XShmQueryExtension(display);
  if (FUseShm) {
    // A remote server announces the extension but cannot attach our segments: try one.
    FUseShm = TX11ImageBuffer::CreateShared(display, FVisual, FDepth, 1, 1) != nullptr;
  }
  FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);

  struct {
    Atom* Slot;
    const char* Name;
  } atoms[] = {
      {&FAtoms.WmProtocols, "WM_PROTOCOLS"},
      {&FAtoms.WmDeleteWindow, "WM_DELETE_WINDOW"},
      {&FAtoms.MotifHints, "_MOTIF_WM_HINTS"},
      {&FAtoms.NetWmName, "_NET_WM_NAME"},
      {&FAtoms.Utf8String, "UTF8_STRING"},
      {&FAtoms.NetWmOpacity, "_NET_WM_WINDOW_OPACITY"},
      {&FAtoms.NetWmState, "_NET_WM_STATE"},
      {&FAtoms.NetWmStateAbove, "_NET_WM_STATE_ABOVE"},
      {&FAtoms.NetWmStateSkipTaskbar, "_NET_WM_STATE_SKIP_TASKBAR"},
      {&FAtoms.NetActiveWindow, "_NET_ACTIVE_WINDOW"},
      {&FAtoms.NetWmWindowType, "_NET_WM_WINDOW_TYPE"},
      {&FAtoms.NetWmTypeNormal, "_NET_WM_WINDOW_TYPE_NORMAL"},
      {&FAtoms.NetWmTypeDialog, "_NET_WM_WINDOW_TYPE_DIALOG"},
      {&FAtoms.NetWmTypePopupMenu, "_NET_WM_WINDOW_TYPE_POPUP_MENU"},
      {&FAtoms.NetWmPid, "_NET_WM_PID"},
      {&FAtoms.NetWmIcon, "_NET_WM_ICON"},
      {&FAtoms.NetWorkarea, "_NET_WORKAREA"},
      {&FAtoms.NetCurrentDesktop, "_NET_CURRENT_DESKTOP"},
  };
  std::vector<char*> names;
  for (auto& a : atoms) names.push_back(const_cast<char*>(a.Name));
  std::vector<Atom> values(names.size());
  XInternAtoms(display, names.data(), int(names.size()), False, values.data());
  for (size_t i = 0; i < values.size(); ++i) *atoms[i].Slot = values[i];

  // The work area changes when panels come and go.
  XWindowAttributes rootAttrs;
  if (XGetWindowAttributes(display, FRoot, &rootAttrs)) {
    XSelectInput(display, FRoot, rootAttrs.your_event_mask | PropertyChangeMask);
  }

  // Auto-repeat as the platform has it: repeated presses without releases in between.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(display, True, &supported);

  // An input method gives composed and non-Latin text; without one, keys give Latin-1.
  if (XSupportsLocale()) {
    XSetLocaleModifiers("");
    FIm = XOpenIM(display, nullptr, nullptr, nullptr);
  }
  InitClipboard();
}

TX11Backend::~TX11Backend() {
  while (!FChildren.empty()) DestroyNativeChild(FChildren.begin()->first);
  while (!FWindows.empty()) DestroyNativeWindow(FWindows.begin()->first);
  for (auto& icon : FTrayIcons) UndockTrayIcon(*icon);
  if (FCapture) XUngrabPointer(FDisplay, CurrentTime);
  for (auto& [id, cursor] : FCursors) XFreeCursor(FDisplay, cursor);
  if (FIm) XCloseIM(FIm);
  FreeClipboard();
  XSync(FDisplay, False);
  XCloseDisplay(FDisplay);
  if (FWakeFd >= 0) close(FWakeFd);
  uninstallErrorHandler();
}

TX11Window* TX11Backend::Find(HWND wnd) {
  auto it = FWindows.find(wnd);
  return it == FWindows.end() ? nullptr : it->second.get();
}

TX11Window* TX11Backend::FindByXid(Window xid) {
  auto it = FByXid.find(xid);
  return it == FByXid.end() ? nullptr : Find(it->second);
}

TX11Child* TX11Backend::FindChildByXid(Window xid) {
  for (auto& [wnd, child] : FChildren)
    if (child.Xid == xid) return &child;
  return nullptr;
}

Window TX11Backend::WindowId(HWND wnd) const {
  auto it = FWindows.find(wnd);
  return it == FWindows.end() ? 0 : it->second->Xid;
}

// ---- the event pump ----
bool TX11Backend::WaitForEvents(Cardinal timeoutMs, int wakeFd) {
  using Clock = std::chrono::steady_clock;
  XFlush(FDisplay);
  if (DispatchPending()) return true;
  const bool unlimited = timeoutMs == INFINITE;
  const auto deadline = Clock::now() + std::chrono::milliseconds(unlimited ? 0 : timeoutMs);
  for (;;) {
    int waitMs = -1;
    if (!unlimited) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      waitMs = left > 0 ? int(left) : 0;
    }
    pollfd fds[3] = {{ConnectionNumber(FDisplay), POLLIN, 0}, {FWakeFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    int count = wakeFd >= 0 ? 3 : 2;
    int ready = poll(fds, nfds_t(count), waitMs);
    if (ready < 0 && errno != EINTR) return false;
    bool woke = false;
    if (ready > 0 && (fds[1].revents & POLLIN)) {
      eventfd_t drained;
      eventfd_read(FWakeFd, &drained);
      woke = true;
    }
    // The main-thread queue's descriptor stays readable until that queue is served: leave it be.
    if (ready > 0 && count == 3 && (fds[2].revents & POLLIN)) woke = true;
    bool delivered = DispatchPending();
    if (delivered || woke) return true;
    if (ready < 0) return false;  // interrupted by a signal: let the caller look around
    if (!unlimited && Clock::now() >= deadline) return false;
  }
}

void TX11Backend::WakeUp() {
  if (FWakeFd >= 0) eventfd_write(FWakeFd, 1);
}

bool TX11Backend::DispatchPending() {
  bool delivered = false;
  // XPending reads what the socket holds; events a reply brought in are already queued.
  while (XPending(FDisplay) > 0) {
    XEvent event;
    XNextEvent(FDisplay, &event);
    if (XFilterEvent(&event, None)) continue;
    if (Dispatch(event)) delivered = true;
  }
  XFlush(FDisplay);
  return delivered;
}

// ---- the pointer ----
TPoint TX11Backend::GetNativeCursorPos() {
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(FDisplay, FRoot, &root, &child, &rootX, &rootY, &x, &y, &mask)) return {};
  return {rootX, rootY};
}

void TX11Backend::SetNativeCursorPos(TPoint screen) {
  XWarpPointer(FDisplay, None, FRoot, 0, 0, 0, 0, screen.X, screen.Y);
  XFlush(FDisplay);
}

void TX11Backend::SetNativeCapture(HWND wnd) {
  TX11Window* w = wnd ? Find(wnd) : nullptr;
  if (w) {
    constexpr unsigned int mask =
        ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    // Owner events: over our own windows the pointer reports to them, elsewhere to the grabbing one;
    // the layer routes by screen position either way.
    XGrabPointer(FDisplay, w->Xid, True, mask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    FCapture = wnd;
  } else if (FCapture) {
    XUngrabPointer(FDisplay, CurrentTime);
    FCapture = nullptr;
  }
  XFlush(FDisplay);
}

Cursor TX11Backend::CursorFor(uintptr_t id) {
  auto it = FCursors.find(id);
  if (it != FCursors.end()) return it->second;
  Cursor cursor = None;
  if (id == 0) {
    // Hidden: a cursor with an empty mask.
    char bits = 0;
    Pixmap empty = XCreateBitmapFromData(FDisplay, FRoot, &bits, 1, 1);
    XColor black{};
    cursor = XCreatePixmapCursor(FDisplay, empty, empty, &black, &black, 0, 0);
    XFreePixmap(FDisplay, empty);
  } else {
    unsigned int shape = XC_left_ptr;
    switch (id) {
      case IDC_IBEAM:
        shape = XC_xterm;
        break;
      case IDC_WAIT:
        shape = XC_watch;
        break;
      case IDC_APPSTARTING:
        shape = XC_watch;
        break;
      case IDC_CROSS:
        shape = XC_crosshair;
        break;
      case IDC_UPARROW:
        shape = XC_sb_up_arrow;
        break;
      case IDC_SIZENWSE:
        shape = XC_bottom_right_corner;
        break;
      case IDC_SIZENESW:
        shape = XC_bottom_left_corner;
        break;
      case IDC_SIZEWE:
        shape = XC_sb_h_double_arrow;
        break;
      case IDC_SIZENS:
        shape = XC_sb_v_double_arrow;
        break;
      case IDC_SIZEALL:
        shape = XC_fleur;
        break;
      case IDC_NO:
        shape = XC_X_cursor;
        break;
      case IDC_HAND:
        shape = XC_hand2;
        break;
      case IDC_HELP:
        shape = XC_question_arrow;
        break;
      default:
        shape = XC_left_ptr;
        break;
    }
    cursor = XCreateFontCursor(FDisplay, shape);
  }
  FCursors[id] = cursor;
  return cursor;
}

void TX11Backend::DefineCursorOn(Window xid) {
  XDefineCursor(FDisplay, xid, CursorFor(FCursorId));
}

void TX11Backend::SetNativeCursor(uintptr_t cursorId) {
  if (cursorId == FCursorId) return;
  FCursorId = cursorId;
  // The platform's cursor belongs to the pointer, not to one window: every window shows it.
  for (auto& [wnd, w] : FWindows) DefineCursorOn(w->Xid);
  XFlush(FDisplay);
}

// ---- the screen ----
namespace {

// A 32-bit property of the root window as longs (empty when missing).
std::vector<long> rootCardinals(Display* display, Window root, Atom property, long count) {
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> out;
  if (XGetWindowProperty(display, root, property, 0, count, False, XA_CARDINAL, &type, &format, &items,
                         &after, &data) == Success &&
      data) {
    if (type == XA_CARDINAL && format == 32) {
      const long* values = reinterpret_cast<const long*>(data);
      out.assign(values, values + items);
    }
    XFree(data);
  }
  return out;
}

}  // namespace

void TX11Backend::GetScreenArea(TRect* screen, TRect* workArea) {
  *screen = {0, 0, DisplayWidth(FDisplay, FScreen), DisplayHeight(FDisplay, FScreen)};
  *workArea = *screen;
  // _NET_WORKAREA holds x, y, width, height per desktop; the current desktop's counts.
  std::vector<long> desktop = rootCardinals(FDisplay, FRoot, FAtoms.NetCurrentDesktop, 1);
  long index = desktop.empty() ? 0 : std::max(0L, desktop[0]);
  std::vector<long> areas = rootCardinals(FDisplay, FRoot, FAtoms.NetWorkarea, 4 * (index + 1));
  if (areas.size() < size_t(4 * (index + 1))) return;
  const long* a = &areas[size_t(4 * index)];
  if (a[2] <= 0 || a[3] <= 0) return;
  *workArea = Bounds(Integer(a[0]), Integer(a[1]), Integer(a[2]), Integer(a[3]));
}

// ---- native child listeners ----
void TX11Backend::SetChildListener(HWND wnd, TNativeChildListener listener) {
  if (listener)
    FListeners[wnd] = std::move(listener);
  else
    FListeners.erase(wnd);
}

void TX11Backend::NotifyChild(const TX11Child& child, const TNativeChildEvent& event) {
  auto it = FListeners.find(child.Wnd);
  if (it == FListeners.end()) return;
  TNativeChildListener listener = it->second;  // the listener may replace itself
  listener(child.Wnd, event);
}

// ---- public entry points ----
namespace {

TX11Backend* installedX11() {
  return dynamic_cast<TX11Backend*>(&WinBackend());
}

}  // namespace

std::unique_ptr<TWindowBackend> CreateX11Backend(const String& displayName, const TX11Options& options) {
  // Before the first connection of the process: the player's SDL opens its own from another thread.
  static std::once_flag threadsReady;
  std::call_once(threadsReady, [] { XInitThreads(); });
  Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
  if (!display) return nullptr;
  return std::make_unique<TX11Backend>(display, options);
}

std::unique_ptr<TWindowBackend> CreateDefaultBackend() {
  const char* display = std::getenv("DISPLAY");
  if (display && *display) {
    if (auto backend = CreateX11Backend()) return backend;
  }
  return CreateHeadlessBackend();
}

void X11SetNativeChildListener(HWND wnd, TNativeChildListener listener) {
  if (TX11Backend* b = installedX11()) b->SetChildListener(wnd, std::move(listener));
}

uintptr_t X11NativeWindowId(HWND wnd) {
  TX11Backend* b = installedX11();
  return b ? uintptr_t(b->WindowId(wnd)) : 0;
}

bool X11UsesSharedMemory() {
  TX11Backend* b = installedX11();
  return b && b->UsesSharedMemory();
}
