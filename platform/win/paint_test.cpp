#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

// A handler that fills the whole client area with a colour in WM_PAINT.
THandler FillOnPaint(COLORREF color, std::vector<TRect>* painted = nullptr) {
  return [color, painted](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    if (painted) painted->push_back(ps.rcPaint);
    RECT r;
    GetClientRect(w, &r);
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(w, &ps);
    return 0;
  };
}

}  // namespace

TEST_F(WinTest, ShowingPaintsFrameThenBackgroundThenClient) {
  HWND w = CreateWindowEx(0, "TestWnd", "t", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  bool fErase = true;
  std::vector<String> order;
  On(w, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCPAINT) order.push_back("frame");
    if (m == WM_ERASEBKGND) order.push_back("background");
    if (m != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    order.push_back("client");
    fErase = ps.fErase;
    EndPaint(h, &ps);
    return 0;
  });
  ShowWindow(w, SW_SHOW);
  Pump();
  EXPECT_EQ(order, (std::vector<String>{"frame", "background", "client"}));
  EXPECT_FALSE(fErase);  // the class brush erased it
  // The background is the class brush; the frame's outer line the frame colour.
  HBITMAP shot = PaintWindowToBitmap(w);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(BitmapPixel(shot, 150, 100), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(BitmapPixel(shot, 0, 100), GetSysColor(COLOR_WINDOWFRAME));
  DeleteObject(shot);
}

TEST_F(WinTest, EraseThatIsNotHandledLeavesFEraseSet) {
  HWND w = Popup({0, 0, 100, 100});
  Pump();
  bool fErase = false;
  Integer erases = 0;
  On(w, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_ERASEBKGND) {
      ++erases;
      return 0;
    }
    if (m != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    fErase = ps.fErase;
    EndPaint(h, &ps);
    return 0;
  });
  InvalidateRect(w, nullptr, true);
  Pump();
  EXPECT_EQ(erases, 1);
  EXPECT_TRUE(fErase);
  InvalidateRect(w, nullptr, false);
  Pump();
  EXPECT_EQ(erases, 1);
  EXPECT_FALSE(fErase);
}

TEST_F(WinTest, PaintIsClippedToTheUpdateRegion) {
  HWND w = Popup({0, 0, 100, 100});
  std::vector<TRect> painted;
  On(w, FillOnPaint(Red, &painted));
  Pump();
  On(w, FillOnPaint(Blue, &painted));
  RECT small{10, 20, 30, 40}, other{50, 50, 60, 70};
  InvalidateRect(w, &small, false);
  InvalidateRect(w, &other, false);
  Pump();
  ASSERT_EQ(painted.size(), 2u);
  EXPECT_EQ(painted.back(), (TRect{10, 20, 60, 70}));
  On(w, FillOnPaint(Red));
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  On(w, FillOnPaint(Blue));
  InvalidateRect(w, &small, false);
  UpdateWindow(w);
  HDC dc = GetDC(w);
  EXPECT_EQ(GetPixel(dc, 15, 25), Blue);
  EXPECT_EQ(GetPixel(dc, 35, 25), Red);
  EXPECT_EQ(GetPixel(dc, 9, 25), Red);
  ReleaseDC(w, dc);
  RECT none;
  EXPECT_FALSE(GetUpdateRect(w, &none, false));
}

TEST_F(WinTest, ClipChildrenKeepsTheParentOffItsChildren) {
  for (bool clip : {true, false}) {
    HWND parent = Popup({0, 0, 100, 100}, clip ? WS_CLIPCHILDREN : 0);
    HWND child = Child(parent, {20, 20, 40, 40});
    On(child, FillOnPaint(Blue));
    On(parent, FillOnPaint(Red));
    Pump();
    // Painting the parent alone: with WS_CLIPCHILDREN the child keeps its pixels.
    HDC dc = GetDC(parent);
    HBRUSH red = CreateSolidBrush(Red);
    RECT all{0, 0, 100, 100};
    FillRect(dc, &all, red);
    DeleteObject(red);
    EXPECT_EQ(GetPixel(dc, 30, 30), clip ? CLR_INVALID : Red);  // outside the clip
    ReleaseDC(parent, dc);
    HDC reader = GetWindowDC(parent);  // the whole window, children included
    EXPECT_EQ(GetPixel(reader, 30, 30), clip ? Blue : Red);
    EXPECT_EQ(GetPixel(reader, 10, 10), Red);
    ReleaseDC(parent, reader);
    // Invalidating the parent without WS_CLIPCHILDREN repaints the child as well, after it.
    TMessageSpy spy({parent, child});
    InvalidateRect(parent, nullptr, true);
    Pump();
    EXPECT_EQ(spy.Count(child, WM_PAINT), clip ? 0 : 1);
    if (!clip) {
      EXPECT_LT(spy.IndexOf(parent, WM_PAINT), spy.IndexOf(child, WM_PAINT));
    }
    DestroyWindow(parent);
  }
}

TEST_F(WinTest, MovingAChildRepaintsWhatItUncovers) {
  HWND parent = Popup({0, 0, 100, 100});
  HWND child = Child(parent, {0, 0, 20, 20});
  On(parent, FillOnPaint(Red));
  On(child, FillOnPaint(Blue));
  Pump();
  HBITMAP before = PaintWindowToBitmap(parent);
  EXPECT_EQ(BitmapPixel(before, 5, 5), Blue);
  DeleteObject(before);
  MoveWindow(child, 50, 50, 20, 20, true);
  Pump();
  HDC dc = GetDC(parent);
  EXPECT_EQ(GetPixel(dc, 5, 5), Red);
  EXPECT_EQ(GetPixel(dc, 55, 55), Blue);
  ReleaseDC(parent, dc);
  ShowWindow(child, SW_HIDE);
  Pump();
  dc = GetDC(parent);
  EXPECT_EQ(GetPixel(dc, 55, 55), Red);
  ReleaseDC(parent, dc);
}

TEST_F(WinTest, DrawingIsPresentedToTheBackend) {
  HWND w = Popup({100, 100, 200, 200});
  Pump();
  Env.Backend().ClearRecords();
  RECT r{10, 10, 20, 30};
  InvalidateRect(w, &r, false);
  Pump();
  ASSERT_FALSE(Env.Backend().Presents().empty());
  EXPECT_EQ(Env.Backend().Presents().back().Wnd, w);
  EXPECT_EQ(Env.Backend().Presents().back().Dirty, r);
}

TEST_F(WinTest, LayeredPushesAreRecorded) {
  HWND w = CreateWindowEx(WS_EX_LAYERED, "TestWnd", "", WS_POPUP, 10, 20, 50, 40, nullptr, nullptr, nullptr,
                          nullptr);
  HWND plain = Popup({0, 0, 10, 10});
  EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 128, LWA_ALPHA));
  ASSERT_TRUE(SetLayeredWindowAttributes(w, 0, 128, LWA_ALPHA));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);

  // A per-pixel picture: left half opaque red, right half transparent.
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = 60;
  bi.bmiHeader.biHeight = -30;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP pic = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<uint32_t*>(bits);
  for (Integer y = 0; y < 30; ++y) {
    for (Integer x = 0; x < 60; ++x) px[y * 60 + x] = x < 30 ? 0xFFFF0000u : 0;
  }
  HDC src = CreateCompatibleDC(nullptr);
  SelectObject(src, pic);
  POINT at{300, 200}, origin{0, 0};
  SIZE size{60, 30};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, &at, &size, src, &origin, 0, &blend, ULW_ALPHA));
  ShowWindow(w, SW_SHOWNA);
  const auto& pushes = Env.Backend().LayeredPushes();
  ASSERT_EQ(pushes.size(), 2u);
  EXPECT_EQ(pushes[0].Push.ConstantAlpha, 128);
  EXPECT_FALSE(pushes[0].Push.PerPixelAlpha);
  const auto& p = pushes[1];
  EXPECT_EQ(p.Wnd, w);
  EXPECT_EQ(p.Push.Position, (TPoint{300, 200}));
  EXPECT_EQ(p.Push.Size, (TSize{60, 30}));
  EXPECT_EQ(p.Push.ConstantAlpha, 200);
  EXPECT_TRUE(p.Push.PerPixelAlpha);
  ASSERT_EQ(p.Pixels.size(), 60u * 30u);
  EXPECT_EQ(p.Pixels[5], 0xFFFF0000u);
  EXPECT_EQ(p.Pixels[45], 0u);
  // After UpdateLayeredWindow the attributes call fails and the window gets no WM_PAINT.
  EXPECT_FALSE(SetLayeredWindowAttributes(w, 0, 10, LWA_ALPHA));
  TMessageSpy spy({w});
  InvalidateRect(w, nullptr, true);
  Pump();
  EXPECT_EQ(spy.Count(w, WM_PAINT), 0);
  // Transparent pixels let the mouse through.
  EXPECT_EQ(WindowFromPoint({310, 210}), w);
  EXPECT_EQ(WindowFromPoint({350, 210}), GetDesktopWindow());
  DeleteDC(src);
  DeleteObject(pic);
}

TEST_F(WinTest, WindowShapesAreRecorded) {
  HWND w = Popup({0, 0, 100, 100});
  Env.Backend().ClearRecords();
  SetWindowRgn(w, CreateRectRgn(10, 0, 90, 100), true);
  SetWindowRgn(w, nullptr, true);
  const auto& shapes = Env.Backend().ShapeChanges();
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_TRUE(shapes[0].HasShape);
  EXPECT_EQ(shapes[0].Rects, (std::vector<TRect>{{10, 0, 90, 100}}));
  EXPECT_FALSE(shapes[1].HasShape);
}
