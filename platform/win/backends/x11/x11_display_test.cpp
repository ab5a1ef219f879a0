// The X11 backend on a private Xvfb server: what the layer paints shows on the display, and what the
// display does reaches the layer. A second connection (the "probe") plays the user and the window
// manager and reads the screen back.
// clang-format off
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "platform/rtl/threads.h"
#include "platform/win/backends/x11/testkit/xvfb.h"
#include "platform/win/backends/x11/x11_backend.h"

// Last: Xlib's macros (None, Bool, Status, ...) must not reach the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
// clang-format on

namespace {

using x11test::TXvfb;

// What the test window's procedure saw.
struct TSeen {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};
std::vector<TSeen>& Seen() {
  static std::vector<TSeen> seen;
  return seen;
}

constexpr COLORREF kLeftColour = RGB(200, 30, 60);
constexpr UINT kTrayCallback = WM_APP + 7;
constexpr COLORREF kRightColour = RGB(20, 160, 90);

// Paints its left half and its right half in two colours; records input and closing.
LRESULT TestProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      RECT client;
      GetClientRect(wnd, &client);
      RECT left = client, right = client;
      left.Right = right.Left = client.Width() / 2;
      HBRUSH a = CreateSolidBrush(kLeftColour), b = CreateSolidBrush(kRightColour);
      FillRect(dc, &left, a);
      FillRect(dc, &right, b);
      DeleteObject(a);
      DeleteObject(b);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      Seen().push_back({msg, wp, lp});
      break;
    case WM_CLOSE:
      Seen().push_back({msg, wp, lp});
      return 0;  // stays open
    case kTrayCallback:
      Seen().push_back({msg, wp, lp});
      return 0;
    default:
      break;
  }
  return DefWindowProc(wnd, msg, wp, lp);
}

// A 32-bit icon of width x height; pixel(i) gives the i-th pixel (straight-alpha 0xAARRGGBB, rows
// top first).
HICON MakeIcon(Integer width, Integer height, const std::function<uint32_t(Integer)>& pixel) {
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  for (Integer i = 0; i < width * height; ++i) static_cast<uint32_t*>(bits)[i] = pixel(i);
  ICONINFO ii;
  ii.hbmColor = colour;
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(colour);
  return icon;
}

// X pixel values of the 24-bit screen: 0xRRGGBB.
unsigned long xPixel(COLORREF c) {
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

class X11DisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Server = new TXvfb; }
  static void TearDownTestSuite() {
    delete Server;
    Server = nullptr;
  }

  void SetUp() override { StartBackend(TX11Options()); }

  void StartBackend(const TX11Options& options) {
    if (!Server->Running()) GTEST_SKIP() << "Xvfb cannot start here";
    auto backend = CreateX11Backend(Server->Name(), options);
    ASSERT_NE(backend, nullptr);
    WinSetBackend(std::move(backend));
    Probe = XOpenDisplay(Server->Name().c_str());
    ASSERT_NE(Probe, nullptr);
    Root = DefaultRootWindow(Probe);
    Seen().clear();
    WNDCLASS wc;
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = "X11TestWnd";
    ASSERT_NE(RegisterClass(&wc), 0);
  }

  void TearDown() override {
    WinResetForTests();
    UnregisterClass("X11TestWnd", nullptr);
    WinSetBackend(CreateHeadlessBackend());
    if (Probe) XCloseDisplay(Probe);
    Probe = nullptr;
  }

  HWND Open(TRect r, DWORD style = WS_POPUP, DWORD exStyle = 0) {
    HWND wnd = CreateWindowEx(exStyle, "X11TestWnd", "test", style | WS_VISIBLE, r.Left, r.Top, r.Width(),
                              r.Height(), nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(wnd, nullptr);
    UpdateWindow(wnd);
    return wnd;
  }

  // Handles messages and display events until done() holds (false after a few seconds).
  static bool PumpUntil(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
      WinProcessMessages();
      if (done()) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      WinBackend().WaitForEvents(20, MainThreadWakeFd());
    }
  }

  unsigned long ScreenPixel(Integer x, Integer y) {
    XImage* image = XGetImage(Probe, Root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0UL;
    unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return value;
  }

  // The screen shows `expected` at (x, y) once the server has carried out what the backend sent.
  bool ScreenShows(Integer x, Integer y, unsigned long expected) {
    return PumpUntil([&] { return ScreenPixel(x, y) == expected; });
  }

  const TSeen* Find(UINT msg) {
    for (const TSeen& s : Seen())
      if (s.Msg == msg) return &s;
    return nullptr;
  }

  void SendButton(Window target, int type, unsigned int button, TPoint inWindow, TPoint screen,
                  Window subwindow = None, Time time = CurrentTime) {
    XEvent e{};
    e.xbutton.type = type;
    e.xbutton.window = target;
    e.xbutton.root = Root;
    e.xbutton.subwindow = subwindow;
    e.xbutton.time = time;
    e.xbutton.x = inWindow.X;
    e.xbutton.y = inWindow.Y;
    e.xbutton.x_root = screen.X;
    e.xbutton.y_root = screen.Y;
    e.xbutton.button = button;
    e.xbutton.same_screen = True;
    XSendEvent(Probe, target, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
    XFlush(Probe);
  }

  static TXvfb* Server;
  Display* Probe = nullptr;
  Window Root = 0;
};

TXvfb* X11DisplayTest::Server = nullptr;

const TRect kWindow = Bounds(100, 80, 200, 120);

TEST_F(X11DisplayTest, DefaultChoiceFollowsDisplay) {
  // CreateDefaultBackend reads DISPLAY; the layer keeps the headless backend unless told otherwise.
  const char* saved = std::getenv("DISPLAY");
  String keep = saved ? saved : "";
  setenv("DISPLAY", Server->Name().c_str(), 1);
  EXPECT_STREQ(CreateDefaultBackend()->Name(), "x11");
  setenv("DISPLAY", ":100000", 1);  // set, but nothing listens there
  EXPECT_STREQ(CreateDefaultBackend()->Name(), "headless");
  unsetenv("DISPLAY");
  EXPECT_STREQ(CreateDefaultBackend()->Name(), "headless");
  if (saved) setenv("DISPLAY", keep.c_str(), 1);
}

// The picture shows with shared memory and through plain XPutImage alike.
class X11PresentTest : public X11DisplayTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    TX11Options options;
    options.UseSharedMemory = GetParam();
    StartBackend(options);
  }
};

TEST_P(X11PresentTest, PaintedPixelsShowOnTheScreen) {
  HWND wnd = Open(kWindow);
  // Shared memory is used when asked for and the server can attach it (a container may forbid it).
  if (!GetParam()) {
    EXPECT_FALSE(X11UsesSharedMemory());
  }
  ASSERT_NE(X11NativeWindowId(wnd), 0u);
  EXPECT_TRUE(ScreenShows(kWindow.Left + 5, kWindow.Top + 5, xPixel(kLeftColour)));
  EXPECT_EQ(ScreenPixel(kWindow.Left + 99, kWindow.Bottom - 1), xPixel(kLeftColour));
  EXPECT_EQ(ScreenPixel(kWindow.Left + 100, kWindow.Top), xPixel(kRightColour));
  EXPECT_EQ(ScreenPixel(kWindow.Right - 1, kWindow.Bottom - 1), xPixel(kRightColour));
  EXPECT_EQ(ScreenPixel(kWindow.Left - 1, kWindow.Top), 0u);  // the black root beside it

  // A later change sends only what changed, and shows.
  HDC dc = GetDC(wnd);
  RECT spot{10, 10, 20, 20};
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &spot, white);
  DeleteObject(white);
  ReleaseDC(wnd, dc);
  EXPECT_TRUE(ScreenShows(kWindow.Left + 15, kWindow.Top + 15, 0xFFFFFF));
  EXPECT_EQ(ScreenPixel(kWindow.Left + 25, kWindow.Top + 15), xPixel(kLeftColour));

  // Uncovered again after another window lay over part of it: that part comes back.
  Window cover =
      XCreateSimpleWindow(Probe, Root, kWindow.Left + 40, kWindow.Top + 20, 80, 50, 0, 0, 0x0000FF);
  XSetWindowAttributes attrs;
  attrs.override_redirect = True;
  XChangeWindowAttributes(Probe, cover, CWOverrideRedirect, &attrs);
  XMapRaised(Probe, cover);
  XSync(Probe, False);
  EXPECT_EQ(ScreenPixel(kWindow.Left + 60, kWindow.Top + 40), 0x0000FFu);
  XDestroyWindow(Probe, cover);
  XSync(Probe, False);
  EXPECT_TRUE(ScreenShows(kWindow.Left + 60, kWindow.Top + 40, xPixel(kLeftColour)));
  EXPECT_TRUE(ScreenShows(kWindow.Left + 110, kWindow.Top + 60, xPixel(kRightColour)));
  EXPECT_EQ(ScreenPixel(kWindow.Left + 15, kWindow.Top + 15), 0xFFFFFFu);  // untouched by the cover
}

INSTANTIATE_TEST_SUITE_P(SharedMemoryOrNot, X11PresentTest, ::testing::Values(true, false));

TEST_F(X11DisplayTest, ClicksAndWheelReachTheWindowAsMessages) {
  HWND wnd = Open(kWindow);
  SetFocus(wnd);
  Window xid = Window(X11NativeWindowId(wnd));
  struct {
    unsigned int Button;
    UINT Msg;
    Integer WheelDelta;
  } cases[] = {
      {Button1, WM_LBUTTONDOWN, 0},           {Button3, WM_RBUTTONDOWN, 0},
      {Button2, WM_MBUTTONDOWN, 0},           {Button4, WM_MOUSEWHEEL, WHEEL_DELTA},
      {Button5, WM_MOUSEWHEEL, -WHEEL_DELTA},
  };
  const TPoint at{30, 40};
  const TPoint screen{kWindow.Left + at.X, kWindow.Top + at.Y};
  for (const auto& c : cases) {
    Seen().clear();
    SendButton(xid, ButtonPress, c.Button, at, screen);
    SendButton(xid, ButtonRelease, c.Button, at, screen);
    ASSERT_TRUE(PumpUntil([&] { return Find(c.Msg) != nullptr; })) << "button " << c.Button;
    const TSeen* s = Find(c.Msg);
    if (c.Msg == WM_MOUSEWHEEL) {
      EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(s->WParam), c.WheelDelta);
      EXPECT_EQ(LParamToPoint(s->LParam), screen);  // the wheel reports screen coordinates
    } else {
      EXPECT_EQ(LParamToPoint(s->LParam), at) << "button " << c.Button;
    }
  }
  // Pointer motion, the latest of a burst.
  Seen().clear();
  for (Integer x : {50, 60, 70}) {
    XEvent e{};
    e.xmotion.type = MotionNotify;
    e.xmotion.window = xid;
    e.xmotion.root = Root;
    e.xmotion.x = x;
    e.xmotion.y = 20;
    e.xmotion.x_root = kWindow.Left + x;
    e.xmotion.y_root = kWindow.Top + 20;
    e.xmotion.same_screen = True;
    XSendEvent(Probe, xid, True, PointerMotionMask, &e);
  }
  XFlush(Probe);
  ASSERT_TRUE(PumpUntil([&] {
    return !Seen().empty() && Seen().back().Msg == WM_MOUSEMOVE &&
           LParamToPoint(Seen().back().LParam) == TPoint{70, 20};
  }));

  // The left button's release follows its press.
  Seen().clear();
  SendButton(xid, ButtonPress, Button1, at, screen);
  SendButton(xid, ButtonRelease, Button1, at, screen);
  ASSERT_TRUE(PumpUntil([&] { return Find(WM_LBUTTONUP) != nullptr; }));
  EXPECT_EQ(Find(WM_LBUTTONDOWN)->WParam & MK_LBUTTON, MK_LBUTTON);
  EXPECT_EQ(Find(WM_LBUTTONUP)->WParam & MK_LBUTTON, 0u);
}

TEST_F(X11DisplayTest, KeysGiveVirtualKeysAndCharacters) {
  HWND wnd = Open(kWindow);
  SetFocus(wnd);
  Window xid = Window(X11NativeWindowId(wnd));
  struct {
    KeySym Sym;
    unsigned int State;
    Word Vk;
    DWORD Char;  // 0: no WM_CHAR
  } cases[] = {
      {XK_a, 0, 'A', 'a'},          {XK_a, ShiftMask, 'A', 'A'},
      {XK_1, ShiftMask, '1', '!'},  {XK_Return, 0, VK_RETURN, '\r'},
      {XK_Delete, 0, VK_DELETE, 0}, {XK_F5, 0, VK_F5, 0},
  };
  for (const auto& c : cases) {
    Seen().clear();
    XEvent e{};
    e.xkey.type = KeyPress;
    e.xkey.window = xid;
    e.xkey.root = Root;
    e.xkey.time = CurrentTime;
    e.xkey.state = c.State;
    e.xkey.keycode = XKeysymToKeycode(Probe, c.Sym);
    e.xkey.same_screen = True;
    ASSERT_NE(e.xkey.keycode, 0u);
    XSendEvent(Probe, xid, True, KeyPressMask, &e);
    e.xkey.type = KeyRelease;
    XSendEvent(Probe, xid, True, KeyReleaseMask, &e);
    XFlush(Probe);
    ASSERT_TRUE(PumpUntil([&] { return Find(WM_KEYUP) != nullptr; })) << "keysym " << c.Sym;
    EXPECT_EQ(Find(WM_KEYDOWN)->WParam, c.Vk) << "keysym " << c.Sym;
    const TSeen* ch = Find(WM_CHAR);
    if (c.Char) {
      ASSERT_NE(ch, nullptr) << "keysym " << c.Sym;
      EXPECT_EQ(ch->WParam, c.Char) << "keysym " << c.Sym;
    } else {
      EXPECT_EQ(ch, nullptr) << "keysym " << c.Sym;
    }
  }
}

TEST_F(X11DisplayTest, CloseRequestFromTheWindowManagerAsksTheWindow) {
  HWND wnd = Open(kWindow, WS_OVERLAPPEDWINDOW);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = Window(X11NativeWindowId(wnd));
  e.xclient.message_type = XInternAtom(Probe, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = long(XInternAtom(Probe, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(Probe, e.xclient.window, False, NoEventMask, &e);
  XFlush(Probe);
  EXPECT_TRUE(PumpUntil([&] { return Find(WM_CLOSE) != nullptr; }));
  EXPECT_TRUE(IsWindow(wnd));  // the procedure declined
}

TEST_F(X11DisplayTest, MovesAndSizesMadeOutsideReachTheLayer) {
  HWND wnd = Open(kWindow, WS_OVERLAPPEDWINDOW);
  Window xid = Window(X11NativeWindowId(wnd));
  XMoveResizeWindow(Probe, xid, 300, 200, 250, 150);
  XFlush(Probe);
  RECT r;
  EXPECT_TRUE(PumpUntil([&] { return GetWindowRect(wnd, &r) && r == Bounds(300, 200, 250, 150); }));
  // The layer's own moves go the other way.
  MoveWindow(wnd, 50, 60, 320, 190, true);
  XSync(Probe, False);
  EXPECT_TRUE(PumpUntil([&] {
    XWindowAttributes a;
    XGetWindowAttributes(Probe, xid, &a);
    return a.x == 50 && a.y == 60 && a.width == 320 && a.height == 190;
  }));
  GetWindowRect(wnd, &r);
  EXPECT_EQ(r, Bounds(50, 60, 320, 190));  // and are not echoed back as outside changes
}

TEST_F(X11DisplayTest, WindowRegionLeavesAHole) {
  HWND wnd = Open(kWindow);
  ASSERT_TRUE(ScreenShows(kWindow.Left + 100, kWindow.Top + 60, xPixel(kRightColour)));
  HRGN shape = CreateRectRgn(0, 0, kWindow.Width(), kWindow.Height());
  HRGN hole = CreateRectRgn(80, 40, 120, 80);
  CombineRgn(shape, shape, hole, RGN_DIFF);
  DeleteObject(hole);
  SetWindowRgn(wnd, shape, true);
  EXPECT_TRUE(ScreenShows(kWindow.Left + 100, kWindow.Top + 60, 0));  // the root shows through
  EXPECT_EQ(ScreenPixel(kWindow.Left + 79, kWindow.Top + 60), xPixel(kLeftColour));
  EXPECT_EQ(ScreenPixel(kWindow.Left + 120, kWindow.Top + 60), xPixel(kRightColour));
  // Without a region the window is whole again.
  SetWindowRgn(wnd, nullptr, true);
  EXPECT_TRUE(ScreenShows(kWindow.Left + 100, kWindow.Top + 60, xPixel(kRightColour)));
}

TEST_F(X11DisplayTest, LayeredWindowsShowTheirOpaquePixelsAndTellTheirOpacity) {
  HWND wnd = Open(kWindow, WS_POPUP, WS_EX_LAYERED);
  Window xid = Window(X11NativeWindowId(wnd));
  Atom opacity = XInternAtom(Probe, "_NET_WM_WINDOW_OPACITY", False);
  auto readOpacity = [&]() -> long {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long value = -1;
    if (XGetWindowProperty(Probe, xid, opacity, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
      if (count == 1) value = long(*reinterpret_cast<unsigned long*>(data) & 0xFFFFFFFF);
      XFree(data);
    }
    return value;
  };
  ASSERT_TRUE(SetLayeredWindowAttributes(wnd, 0, 128, LWA_ALPHA));
  EXPECT_TRUE(PumpUntil([&] { return readOpacity() == 0x80808080L; }));

  // A per-pixel picture: opaque on the left, transparent on the right.
  const Integer w = kWindow.Width(), h = kWindow.Height();
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<uint32_t*>(bits);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) px[y * w + x] = x < 50 ? 0xFF0000FFu : 0;
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, picture);
  POINT at{kWindow.Left, kWindow.Top}, origin{0, 0};
  SIZE size{w, h};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(wnd, nullptr, &at, &size, src, &origin, 0, &blend, ULW_ALPHA));
  SelectObject(src, old);
  DeleteDC(src);
  DeleteObject(picture);
  EXPECT_TRUE(ScreenShows(kWindow.Left + 10, kWindow.Top + 10, 0x0000FF));
  EXPECT_EQ(ScreenPixel(kWindow.Left + 49, kWindow.Bottom - 1), 0x0000FFu);
  EXPECT_EQ(ScreenPixel(kWindow.Left + 50, kWindow.Top + 10), 0u);  // a hole where alpha is 0
  EXPECT_EQ(ScreenPixel(kWindow.Right - 1, kWindow.Bottom - 1), 0u);
  EXPECT_TRUE(PumpUntil([&] { return readOpacity() == -1; }));  // fully opaque: no property
}

TEST_F(X11DisplayTest, NativeChildWindowLivesInItsTopLevelAndReportsToItsListener) {
  HWND top = Open(kWindow);
  HWND child = CreateWindowEx(0, "X11TestWnd", "", WS_CHILD | WS_VISIBLE, 20, 10, 80, 60, top, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  std::vector<TNativeChildEvent> events;
  X11SetNativeChildListener(child, [&](HWND wnd, const TNativeChildEvent& e) {
    EXPECT_EQ(wnd, child);
    events.push_back(e);
  });
  auto has = [&](TNativeChildEvent::TKind kind) -> const TNativeChildEvent* {
    for (const auto& e : events)
      if (e.Kind == kind) return &e;
    return nullptr;
  };
  Window id = Window(WinCreateNativeChild(child));
  ASSERT_NE(id, 0u);
  Window rootReturn, parent, *children = nullptr;
  unsigned int count = 0;
  // The probe's requests may overtake the backend's: wait until the window is there.
  ASSERT_TRUE(PumpUntil([&] { return XQueryTree(Probe, id, &rootReturn, &parent, &children, &count) != 0; }));
  if (children) XFree(children);
  EXPECT_EQ(parent, Window(X11NativeWindowId(top)));
  XWindowAttributes a;
  XGetWindowAttributes(Probe, id, &a);
  EXPECT_EQ(Bounds(a.x, a.y, a.width, a.height), Bounds(20, 10, 80, 60));
  EXPECT_TRUE(PumpUntil([&] {
    XGetWindowAttributes(Probe, id, &a);
    return a.map_state == IsViewable;
  }));

  // Exposed: the listener repaints.
  events.clear();
  XClearArea(Probe, id, 5, 6, 10, 12, True);
  XFlush(Probe);
  ASSERT_TRUE(PumpUntil([&] { return has(TNativeChildEvent::TKind::Paint) != nullptr; }));
  EXPECT_EQ(has(TNativeChildEvent::TKind::Paint)->Area, Bounds(5, 6, 10, 12));

  // Resized with its control.
  MoveWindow(child, 30, 20, 100, 50, true);
  ASSERT_TRUE(PumpUntil([&] { return has(TNativeChildEvent::TKind::Resize) != nullptr; }));
  EXPECT_EQ(has(TNativeChildEvent::TKind::Resize)->Area, Rect(0, 0, 100, 50));
  XGetWindowAttributes(Probe, id, &a);
  EXPECT_EQ(Bounds(a.x, a.y, a.width, a.height), Bounds(30, 20, 100, 50));

  // Clicked: the listener hears it in the child's coordinates, and the control gets its message.
  events.clear();
  Seen().clear();
  Window topId = Window(X11NativeWindowId(top));
  TPoint inTop{40, 30};
  TPoint screen{kWindow.Left + inTop.X, kWindow.Top + inTop.Y};
  SendButton(topId, ButtonPress, Button1, inTop, screen, id);
  ASSERT_TRUE(PumpUntil([&] { return has(TNativeChildEvent::TKind::ButtonDown) && Find(WM_LBUTTONDOWN); }));
  EXPECT_EQ(has(TNativeChildEvent::TKind::ButtonDown)->Point, (TPoint{10, 10}));
  EXPECT_EQ(LParamToPoint(Find(WM_LBUTTONDOWN)->LParam), (TPoint{10, 10}));

  // Gone with its control; the top-level window stays.
  WinDestroyNativeChild(child);
  XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  EXPECT_TRUE(PumpUntil([&] { return !XGetWindowAttributes(Probe, id, &a); }));
  XSetErrorHandler(previous);
  EXPECT_NE(X11NativeWindowId(top), 0u);
}

}  // namespace

TEST_F(X11DisplayTest, ScreenSizeAndWorkAreaComeFromTheDisplay) {
  // The server's 1024 x 768 screen, with no panel hint yet: the work area is the screen.
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  RECT work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, (TRect{0, 0, 1024, 768}));
  // A window manager announces a panel: two desktops, the second one current.
  Atom workarea = XInternAtom(Probe, "_NET_WORKAREA", False);
  Atom current = XInternAtom(Probe, "_NET_CURRENT_DESKTOP", False);
  long areas[8] = {0, 0, 1024, 768, 0, 32, 1024, 736};
  long desktop = 1;
  XChangeProperty(Probe, Root, current, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&desktop), 1);
  XChangeProperty(Probe, Root, workarea, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(areas), 8);
  XFlush(Probe);
  EXPECT_TRUE(PumpUntil([&] {
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    return work == TRect{0, 32, 1024, 768};
  }));
  MONITORINFO mi;
  ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi));
  EXPECT_EQ(mi.rcWork, (TRect{0, 32, 1024, 768}));
  EXPECT_EQ(mi.rcMonitor, (TRect{0, 0, 1024, 768}));
  XDeleteProperty(Probe, Root, workarea);
  XDeleteProperty(Probe, Root, current);
  XFlush(Probe);
  EXPECT_TRUE(PumpUntil([&] {
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    return work == TRect{0, 0, 1024, 768};
  }));
}

TEST_F(X11DisplayTest, WindowIconIsSetOnTheMappedWindow) {
  HWND wnd = Open(kWindow, WS_OVERLAPPED | WS_CAPTION);
  Window xid = Window(X11NativeWindowId(wnd));
  ASSERT_NE(xid, 0u);
  // A 2 x 1 icon with alpha, and the 32-px stock icon as the small one.
  HICON big = MakeIcon(2, 1, [](Integer i) { return i == 0 ? 0xFF2F6FDEu : 0x80FFFFFFu; });
  ASSERT_NE(big, nullptr);
  SendMessage(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessage(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIcon(nullptr, IDI_INFORMATION)));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(wnd); }));

  Atom icon = XInternAtom(Probe, "_NET_WM_ICON", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(Probe, xid, icon, 0, 4096, False, XA_CARDINAL, &type, &format, &items, &after,
                               &data),
            Success);
  ASSERT_NE(data, nullptr);
  // 32-bit items arrive as longs (sign-extended by Xlib): the low 32 bits count.
  std::vector<uint32_t> values;
  for (unsigned long i = 0; i < items; ++i)
    values.push_back(uint32_t(reinterpret_cast<unsigned long*>(data)[i]));
  XFree(data);
  EXPECT_EQ(type, XA_CARDINAL);
  EXPECT_EQ(format, 32);
  // Width, height and pixels of each picture: 2 + 2 for the big one, 2 + 32 * 32 for the small one.
  ASSERT_EQ(values.size(), 4u + 2u + 32u * 32u);
  EXPECT_EQ(values[0], 2u);
  EXPECT_EQ(values[1], 1u);
  EXPECT_EQ(values[2], 0xFF2F6FDEu);
  EXPECT_EQ(values[3], 0x80FFFFFFu);
  EXPECT_EQ(values[4], 32u);
  EXPECT_EQ(values[5], 32u);
  EXPECT_EQ(values[6], 0u);                         // a clear corner
  EXPECT_EQ(values[6 + 16 * 32 + 6], 0xFF2F6FDEu);  // the accent disc

  // No icons left: the property goes.
  SendMessage(wnd, WM_SETICON, ICON_BIG, 0);
  SendMessage(wnd, WM_SETICON, ICON_SMALL, 0);
  EXPECT_TRUE(PumpUntil([&] {
    Atom t = 0;
    int f = 0;
    unsigned long n = 0, a = 0;
    unsigned char* d = nullptr;
    XGetWindowProperty(Probe, xid, icon, 0, 16, False, XA_CARDINAL, &t, &f, &n, &a, &d);
    if (d) XFree(d);
    return t == 0;
  }));
  DestroyIcon(big);
}

TEST_F(X11DisplayTest, ScrollBarAndStockIconShowOnTheScreen) {
  HWND wnd = Open(kWindow, WS_POPUP | WS_VSCROLL);
  // Range 0..99, page 10, position 45: on the 120-px bar the 8-px thumb sits 39 px into its 78 px of
  // travel, below the 17-px arrow.
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 45;
  SetScrollInfo(wnd, SB_VERT, &si, true);
  UpdateWindow(wnd);
  HDC dc = GetDC(wnd);
  ASSERT_TRUE(DrawIcon(dc, 10, 10, LoadIcon(nullptr, IDI_ERROR)));
  ReleaseDC(wnd, dc);

  const Integer barX = kWindow.Right - 17;
  EXPECT_TRUE(ScreenShows(barX + 8, kWindow.Top + 17 + 39 + 4, 0xC4C9D1));           // the thumb
  EXPECT_EQ(ScreenPixel(barX + 8, kWindow.Top + 30), 0xF3F4F6u);                     // the track above it
  EXPECT_EQ(ScreenPixel(barX - 1, kWindow.Top + 30), xPixel(kRightColour));          // the client beside it
  EXPECT_EQ(ScreenPixel(kWindow.Left + 26, kWindow.Top + 14), 0xD93C3Cu);            // the icon's red disc
  EXPECT_EQ(ScreenPixel(kWindow.Left + 26, kWindow.Top + 26), 0xFFFFFFu);            // its white cross
  EXPECT_EQ(ScreenPixel(kWindow.Left + 10, kWindow.Top + 41), xPixel(kLeftColour));  // a clear corner
}

// A tiny system tray on a connection of its own: owns the tray selection, announces itself and
// embeds the windows that ask to dock.
class TTrayStandIn {
 public:
  static constexpr unsigned long kBackground = 0x336699;

  explicit TTrayStandIn(const String& display) : D(XOpenDisplay(display.c_str())) {
    if (!D) return;
    Window root = DefaultRootWindow(D);
    Tray = XCreateSimpleWindow(D, root, kBounds.Left, kBounds.Top, unsigned(kBounds.Width()),
                               unsigned(kBounds.Height()), 0, 0, kBackground);
    XSelectInput(D, Tray, SubstructureNotifyMask);
    XMapWindow(D, Tray);
    Atom selection = XInternAtom(D, "_NET_SYSTEM_TRAY_S0", False);
    Opcode = XInternAtom(D, "_NET_SYSTEM_TRAY_OPCODE", False);
    MessageData = XInternAtom(D, "_NET_SYSTEM_TRAY_MESSAGE_DATA", False);
    XSetSelectionOwner(D, selection, Tray, CurrentTime);
    XEvent m{};
    m.xclient.type = ClientMessage;
    m.xclient.window = root;
    m.xclient.message_type = XInternAtom(D, "MANAGER", False);
    m.xclient.format = 32;
    m.xclient.data.l[0] = CurrentTime;
    m.xclient.data.l[1] = long(selection);
    m.xclient.data.l[2] = long(Tray);
    XSendEvent(D, root, False, StructureNotifyMask, &m);
    XSync(D, False);
  }
  ~TTrayStandIn() { Quit(); }
  bool Running() const { return D != nullptr; }

  // The window of a dock request that came in, 0 when none did.
  Window TakeDockRequest() {
    Read();
    Window requested = Requested;
    Requested = 0;
    return requested;
  }
  // The balloon messages: the text of the last one complete, and the ids taken back.
  String Balloon() {
    Read();
    return Text.size() == size_t(TextLength) ? Text : String();
  }
  long BalloonId() const { return TextId; }
  std::vector<long> Cancelled;
  // Embeds as a tray does: kept in its save set, so its end hands the window back to the root.
  void Embed(Window icon) {
    XAddToSaveSet(D, icon);
    XReparentWindow(D, icon, Tray, kIconAt.X, kIconAt.Y);
    XResizeWindow(D, icon, kIconSide, kIconSide);
    XMapWindow(D, icon);
    XSync(D, False);
  }
  // The tray's process ends.
  void Quit() {
    if (D) XCloseDisplay(D);
    D = nullptr;
  }

  static constexpr TRect kBounds{700, 10, 800, 40};
  static constexpr TPoint kIconAt{40, 3};
  static constexpr unsigned kIconSide = 24;

 private:
  void Read() {
    while (D && XPending(D)) {
      XEvent e;
      XNextEvent(D, &e);
      if (e.type != ClientMessage) continue;
      const XClientMessageEvent& m = e.xclient;
      if (m.message_type == Opcode && m.data.l[1] == 0) Requested = Window(m.data.l[2]);
      if (m.message_type == Opcode && m.data.l[1] == 1) {
        Text.clear();
        TextLength = m.data.l[3];
        TextId = m.data.l[4];
      }
      if (m.message_type == Opcode && m.data.l[1] == 2) Cancelled.push_back(m.data.l[2]);
      if (m.message_type == MessageData)
        Text.append(m.data.b,
                    std::min<size_t>(20, size_t(TextLength) - std::min(Text.size(), size_t(TextLength))));
    }
  }

  Display* D;
  Window Tray = 0;
  Atom Opcode = 0;
  Atom MessageData = 0;
  Window Requested = 0;
  String Text;
  long TextLength = -1;
  long TextId = 0;
};

TEST_F(X11DisplayTest, TrayIconDocksInTheSystemTrayAndReportsClicks) {
  HWND owner = Open(kWindow);
  // A 16 x 16 opaque icon in one colour, with a clear column on its left.
  HICON icon = MakeIcon(16, 16, [](Integer i) { return i % 16 == 0 ? 0u : 0xFFD04010u; });
  ASSERT_NE(icon, nullptr);

  // No tray yet: the icon waits, and docks as soon as a tray announces itself.
  EXPECT_FALSE(WinShowTrayIcon(owner, 3, kTrayCallback, icon, "Nerivo"));
  TTrayStandIn tray(Server->Name());
  ASSERT_TRUE(tray.Running());
  Window docked = 0;
  ASSERT_TRUE(PumpUntil([&] { return (docked = tray.TakeDockRequest()) != 0; }));
  tray.Embed(docked);

  // The picture sits centred in the tray's slot; the clear column and the margin show the tray.
  const TPoint slot{TTrayStandIn::kBounds.Left + TTrayStandIn::kIconAt.X,
                    TTrayStandIn::kBounds.Top + TTrayStandIn::kIconAt.Y};
  EXPECT_TRUE(ScreenShows(slot.X + 12, slot.Y + 12, 0xD04010));
  EXPECT_EQ(ScreenPixel(slot.X + 4, slot.Y + 12), TTrayStandIn::kBackground);  // the clear column
  EXPECT_EQ(ScreenPixel(slot.X + 1, slot.Y + 1), TTrayStandIn::kBackground);
  x11test::TScreenReader reader(Server->Name());
  x11test::SaveBesideProgram(reader.Capture(TTrayStandIn::kBounds), "x11_tray_icon.png");

  // Clicks come back as the callback message, a quick second press as a double click.
  struct {
    int Type;
    unsigned Button;
    Time At;
    UINT Mouse;
  } clicks[] = {
      {ButtonPress, Button1, 1000, WM_LBUTTONDOWN},   {ButtonRelease, Button1, 1050, WM_LBUTTONUP},
      {ButtonPress, Button1, 1200, WM_LBUTTONDBLCLK}, {ButtonRelease, Button1, 1250, WM_LBUTTONUP},
      {ButtonPress, Button3, 5000, WM_RBUTTONDOWN},   {ButtonRelease, Button3, 5050, WM_RBUTTONUP},
  };
  const TPoint screen{slot.X + 10, slot.Y + 10};
  for (const auto& c : clicks) {
    Seen().clear();
    SendButton(docked, c.Type, c.Button, {10, 10}, screen, None, c.At);
    ASSERT_TRUE(PumpUntil([&] { return !Seen().empty(); })) << c.Mouse;
    EXPECT_EQ(Seen()[0].Msg, kTrayCallback);
    EXPECT_EQ(Seen()[0].WParam, 3u);
    EXPECT_EQ(UINT(Seen()[0].LParam), c.Mouse);
  }
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor, screen);  // a menu opened from the icon appears at the pointer

  // A balloon goes to the tray whole (longer than one piece, not ASCII), and is taken back.
  const String balloon = "转换完成\n3 个文件已转换，共 12.5 MB";
  EXPECT_TRUE(WinShowTrayIcon(owner, 3, kTrayCallback, icon, "Nerivo", balloon));
  ASSERT_TRUE(PumpUntil([&] { return tray.Balloon() == balloon; }));
  long shown = tray.BalloonId();
  EXPECT_TRUE(WinShowTrayIcon(owner, 3, kTrayCallback, icon, "Nerivo"));
  ASSERT_TRUE(PumpUntil([&] { return tray.Balloon(), !tray.Cancelled.empty(); }));
  EXPECT_EQ(tray.Cancelled, std::vector<long>{shown});

  // The tray ends: the icon's window does not stay behind on the desktop, and a new tray gets the
  // icon again.
  tray.Quit();
  EXPECT_TRUE(PumpUntil([&] {
    XWindowAttributes attrs;
    return !XGetWindowAttributes(Probe, docked, &attrs) || attrs.map_state == IsUnmapped;
  }));
  TTrayStandIn second(Server->Name());
  Window again = 0;
  ASSERT_TRUE(PumpUntil([&] { return (again = second.TakeDockRequest()) != 0; }));
  EXPECT_NE(again, docked);

  // Removing the icon takes it out of the tray.
  WinRemoveTrayIcon(owner, 3);
  EXPECT_TRUE(PumpUntil([&] {
    XWindowAttributes attrs;
    return !XGetWindowAttributes(Probe, again, &attrs);
  }));
  DestroyIcon(icon);
}
