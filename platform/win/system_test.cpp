// The screen and its work area as the backend reports them: in the system metrics, the system
// parameters and the monitor, and told to the top-level windows when they change.
#include <gtest/gtest.h>

#include "platform/win/testkit/testkit.h"

using namespace wintest;

namespace {

class ScreenTest : public ::testing::Test {
 protected:
  TWinTestEnvironment Env;
};

}  // namespace

TEST_F(ScreenTest, TheScreenAndWorkAreaComeFromTheBackend) {
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "ScreenTestWnd";
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND w = CreateWindowEx(0, "ScreenTestWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  TMessageSpy spy({w});
  Env.Backend().SetScreenArea({0, 0, 1024, 768}, {0, 30, 1024, 768});
  EXPECT_EQ(spy.Sequence({WM_DISPLAYCHANGE, WM_SETTINGCHANGE}),
            (std::vector<std::pair<HWND, UINT>>{{w, WM_DISPLAYCHANGE}, {w, WM_SETTINGCHANGE}}));
  EXPECT_EQ(spy.First(w, WM_DISPLAYCHANGE)->LParam, MAKELPARAM(1024, 768));
  EXPECT_EQ(spy.First(w, WM_SETTINGCHANGE)->WParam, SPI_SETWORKAREA);
  // Only the work area: no display change.
  spy.Clear();
  Env.Backend().SetScreenArea({0, 0, 1024, 768}, {0, 40, 1024, 768});
  EXPECT_EQ(spy.Sequence({WM_DISPLAYCHANGE, WM_SETTINGCHANGE}),
            (std::vector<std::pair<HWND, UINT>>{{w, WM_SETTINGCHANGE}}));
  DestroyWindow(w);
  UnregisterClass("ScreenTestWnd", nullptr);
  Env.Backend().SetScreenArea({0, 0, 1024, 768}, {0, 30, 1024, 768});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  RECT work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, (TRect{0, 30, 1024, 768}));
  MONITORINFO mi;
  ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONULL), &mi));
  EXPECT_EQ(mi.rcMonitor, (TRect{0, 0, 1024, 768}));
  EXPECT_EQ(mi.rcWork, work);
  EXPECT_EQ(MonitorFromPoint({1500, 10}, MONITOR_DEFAULTTONULL), nullptr);
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  EXPECT_EQ(desk, mi.rcMonitor);
  // A work area off the screen falls back to the whole screen.
  Env.Backend().SetScreenArea({0, 0, 800, 600}, {900, 0, 1000, 100});
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work, (TRect{0, 0, 800, 600}));
  // A reset of the layer keeps what the backend says.
  WinResetForTests();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
}
