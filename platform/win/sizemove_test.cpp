#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

namespace {

HWND Framed(TRect r) {
  return CreateWindowEx(0, "TestWnd", "framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, r.Left, r.Top, r.Width(),
                        r.Height(), nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

TEST_F(WinTest, CaptionDragRunsTheMoveLoop) {
  HWND w = Framed({100, 100, 400, 300});
  Pump();
  std::vector<TRect> moving;
  On(w, [&](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_MOVING) moving.push_back(*reinterpret_cast<RECT*>(lp));
    return std::nullopt;
  });
  // Inside a scripted loop the injected input waits for the loop to take it.
  OnNextModalLoop([] {
    MouseMove({230, 120});
    MouseUp({250, 150});
  });
  TMessageSpy spy({w});
  MouseDown({200, 110});
  auto seq = spy.MessagesOf(w, {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE, WM_CAPTURECHANGED});
  EXPECT_EQ(seq,
            (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVING, WM_CAPTURECHANGED, WM_EXITSIZEMOVE}));
  ASSERT_EQ(moving.size(), 2u);
  EXPECT_EQ(moving[0], (TRect{130, 110, 430, 310}));
  EXPECT_EQ(moving[1], (TRect{150, 140, 450, 340}));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (TRect{150, 140, 450, 340}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Env.Backend().Native(w)->Bounds, r);
}

TEST_F(WinTest, SizingHandlerClampsTheRectangle) {
  HWND w = Framed({100, 100, 400, 300});
  Pump();
  On(w, [&](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_SIZING) {
      EXPECT_EQ(wp, WMSZ_BOTTOMRIGHT);
      RECT& r = *reinterpret_cast<RECT*>(lp);
      r.Right = std::min(r.Right, r.Left + 350);  // at most 350 wide
      return 1;
    }
    return std::nullopt;
  });
  std::vector<TSize> sizes;
  On(w, [&, prev = Handlers()[w]](HWND h, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_SIZE) sizes.push_back({LOWORD(uintptr_t(lp)), HIWORD(uintptr_t(lp))});
    return prev(h, m, wp, lp);
  });
  OnNextModalLoop([] {
    MouseMove({600, 349});
    MouseUp({600, 349});
  });
  MouseDown({399, 299});  // bottom-right corner
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (TRect{100, 100, 450, 350}));
  ASSERT_FALSE(sizes.empty());
  // The client follows the frame: 350 - 2 * 4 wide, 250 - 4 - 23 - 4 high.
  EXPECT_EQ(sizes.back(), (TSize{342, 219}));
}

TEST_F(WinTest, SizingKeepsTheMinimumTrackSizeAndEscapeRestores) {
  HWND w = Framed({100, 100, 400, 300});
  Pump();
  On(w, [](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_GETMINMAXINFO) {
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {200, 150};
      return 0;
    }
    return std::nullopt;
  });
  RECT seen;
  On(w, [&, prev = Handlers()[w]](HWND h, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_SIZING) seen = *reinterpret_cast<RECT*>(lp);
    return prev(h, m, wp, lp);
  });
  OnNextModalLoop([&] {
    MouseMove({350, 290});  // the left edge dragged far right
    KeyDown(VK_ESCAPE);
  });
  MouseDown({101, 200});  // left border
  MouseUp({350, 290});
  EXPECT_EQ(seen, (TRect{200, 100, 400, 300}));  // the right edge stays, the width stops at 200
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (TRect{100, 100, 400, 300}));
}

TEST_F(WinTest, SysCommandsChangeTheWindowState) {
  HWND w = Framed({100, 100, 400, 300});
  Pump();
  std::vector<WPARAM> sizeKinds;
  On(w, [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_SIZE) sizeKinds.push_back(wp);
    return std::nullopt;
  });
  SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(w));
  RECT r, work;
  GetWindowRect(w, &r);
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r, (TRect{work.Left - 4, work.Top - 4, work.Right + 4, work.Bottom + 4}));
  SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_FALSE(IsZoomed(w));
  SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);  // back to maximized, as it was before
  EXPECT_TRUE(IsZoomed(w));
  SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (TRect{100, 100, 400, 300}));
  EXPECT_EQ(sizeKinds, (std::vector<WPARAM>{SIZE_MAXIMIZED, SIZE_MINIMIZED, SIZE_MAXIMIZED, SIZE_RESTORED}));
  // Close goes through WM_CLOSE to DestroyWindow.
  TMessageSpy spy({w});
  SendMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(spy.MessagesOf(w, {WM_CLOSE, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(WinTest, DefaultHitTestOfAFramedWindow) {
  HWND w = Framed({100, 100, 400, 300});
  struct Case {
    TPoint pt;
    LRESULT hit;
  };
  const Case cases[] = {
      {{101, 200}, HTLEFT},    {{398, 200}, HTRIGHT},   {{250, 101}, HTTOP},
      {{250, 298}, HTBOTTOM},  {{101, 101}, HTTOPLEFT}, {{399, 299}, HTBOTTOMRIGHT},
      {{250, 115}, HTCAPTION}, {{250, 200}, HTCLIENT},  {{50, 50}, HTNOWHERE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(c.pt)), c.hit) << c.pt.X << "," << c.pt.Y;
  }
}
