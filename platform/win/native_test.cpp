// Events of the window system reaching the layer.
#include "platform/win/backend.h"
#include "platform/win/backends/headless/headless.h"
#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

TEST_F(WinTest, WindowSystemEventsReachTheWindows) {
  std::vector<UINT> seen;
  NextHandler() = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_CLOSE || msg == WM_ACTIVATE || msg == WM_MOVE || msg == WM_SIZE) seen.push_back(msg);
    return std::nullopt;
  };
  HWND w = Popup({10, 10, 110, 90});
  HWND other = Popup({200, 200, 260, 260});
  Pump();
  SetActiveWindow(other);

  seen.clear();
  WinNativeFocusChanged(w, true);
  EXPECT_EQ(GetActiveWindow(), w);
  WinNativeFocusChanged(w, false);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_ACTIVATE), 2);

  // A move by the window system lands in the window's rectangle and is not pushed back.
  Env.Backend().ClearRecords();
  WinNativeConfigure(w, {30, 40, 150, 140});
  TRect r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (TRect{30, 40, 150, 140}));
  EXPECT_EQ(Env.Backend().Native(w)->Bounds, (TRect{30, 40, 150, 140}));
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_SIZE), seen.end());

  Env.Backend().ClearRecords();
  WinNativeExpose(w, {0, 0, 20, 20});
  ASSERT_FALSE(Env.Backend().Presents().empty());
  EXPECT_EQ(Env.Backend().Presents().back().Wnd, w);

  WinNativeCloseRequest(w);
  Pump();
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_CLOSE), seen.end());
  EXPECT_FALSE(IsWindow(w));
  DestroyWindow(other);
}

// Another library draws a native child over the whole window; what the window system asks it to
// repaint reaches the window as WM_PAINT there (client coordinates), with nothing erased.
TEST_F(WinTest, ANativeChildsExposeBecomesItsWindowsPaint) {
  HWND top = Popup({10, 10, 310, 210});
  HWND host = Child(top, {20, 20, 220, 170}, WS_BORDER);
  Pump();
  std::vector<UINT> seen;
  On(host, [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_PAINT || msg == WM_ERASEBKGND) seen.push_back(msg);
    return std::nullopt;
  });
  RECT client;
  GetClientRect(host, &client);
  ASSERT_EQ(client.Width(), 198) << "a one-pixel border each side";

  WinNativeChildExpose(host, {5, 6, 25, 36});
  RECT update;
  ASSERT_TRUE(GetUpdateRect(host, &update, false));
  EXPECT_EQ(update, (TRect{4, 5, 24, 35})) << "the child's point (5, 6) is the client's (4, 5)";
  Pump();
  EXPECT_EQ(seen, std::vector<UINT>{WM_PAINT});
  EXPECT_FALSE(GetUpdateRect(host, &update, false));

  DestroyWindow(host);
  WinNativeChildExpose(host, {0, 0, 10, 10});  // a window gone meanwhile: nothing
  DestroyWindow(top);
}
