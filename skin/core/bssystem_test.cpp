#include "skin/core/bssystem.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Restores the process-wide values a test changes.
struct SystemValues : testing::Test {
  Cardinal SavedVersion = PlatformVersion;
  TGetScrollBarInfoProc SavedScroll = GetScrollBarInfoProc;
  TSetLayeredWindowAttributesProc SavedAlpha = SetLayeredWindowAttributesProc;
  TMonitorFromWindowProc SavedMonitor = MonitorFromWindowProc;
  void TearDown() override {
    PlatformVersion = SavedVersion;
    GetScrollBarInfoProc = SavedScroll;
    SetLayeredWindowAttributesProc = SavedAlpha;
    MonitorFromWindowProc = SavedMonitor;
  }
};

TEST_F(SystemValues, VersionTests) {
  struct Case {
    Integer Major, Minor;
    bool Win7, Win8, Vista, XP, W2000;
  } cases[] = {
      {4, 0, false, false, false, false, false}, {5, 0, false, false, false, false, true},
      {5, 1, false, false, false, true, true},   {5, 2, false, false, false, false, true},
      {6, 0, false, false, true, true, true},    {6, 1, true, false, true, true, true},
      {6, 2, false, true, true, true, true},     {6, 3, false, false, true, true, true},
      {10, 0, false, true, true, true, true},
  };
  for (const Case& c : cases) {
    PlatformVersion = Cardinal(c.Major) | Cardinal(c.Minor) << 8 | 0x23F00000u;  // build bits are ignored
    Integer major = -1, minor = -1;
    GetWinVersion(major, minor);
    SCOPED_TRACE(testing::Message() << c.Major << "." << c.Minor);
    EXPECT_EQ(major, c.Major);
    EXPECT_EQ(minor, c.Minor);
    EXPECT_EQ(IsWindows7(), c.Win7);
    EXPECT_EQ(IsWindows8OrLater(), c.Win8);
    EXPECT_EQ(IsVistaOrLater(), c.Vista);
    EXPECT_EQ(IsWindowsXPOrLater(), c.XP);
    EXPECT_EQ(IsWindows2000OrLater(major, minor), c.W2000);
  }
}

TEST_F(SystemValues, PlatformProfileEntriesAtStartUp) {
  Integer major, minor;
  GetWinVersion(major, minor);
  EXPECT_EQ(major, 10);
  EXPECT_TRUE(IsWinNTPlatform);
  EXPECT_NE(UpdateLayeredWindowProc, nullptr);
  EXPECT_NE(SetLayeredWindowAttributesProc, nullptr);
  EXPECT_NE(MonitorFromWindowProc, nullptr);
  EXPECT_NE(GetMonitorInfoAProc, nullptr);
  EXPECT_EQ(GetScrollBarInfoProc, nullptr);  // the windowing layer has none
  // A second start-up only counts; undoing it leaves the entries in place.
  InitSkinSystemEntryPoints();
  DoneSkinSystemEntryPoints();
  EXPECT_NE(MonitorFromWindowProc, nullptr);
}

TEST_F(SystemValues, MissingEntriesFallBack) {
  GetScrollBarInfoProc = nullptr;
  SCROLLBARINFO info;
  info.rgstate[0] = 7;
  EXPECT_EQ(SafeGetScrollBarInfo(nullptr, 0, info), 0);
  EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_INVISIBLE);

  GetScrollBarInfoProc = [](HWND, LONG, SCROLLBARINFO* I) {
    I->rgstate[0] = 0;
    I->xyThumbTop = 12;
    return true;
  };
  EXPECT_EQ(SafeGetScrollBarInfo(nullptr, 0, info), 1);
  EXPECT_EQ(info.xyThumbTop, 12);

  static Integer calls;
  calls = 0;
  SetLayeredWindowAttributesProc = [](HWND, COLORREF, Byte Alpha, DWORD Flags) {
    EXPECT_EQ(Alpha, 77);
    EXPECT_EQ(Flags, LWA_ALPHA);
    ++calls;
    return true;
  };
  SetWindowAlpha(nullptr, 77);
  SetLayeredWindowAttributesProc = nullptr;
  SetWindowAlpha(nullptr, 78);
  EXPECT_EQ(calls, 1);
}

TEST_F(SystemValues, ScreenAndMonitorRectangles) {
  TRect work, full, r;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  GetScreenRect(true, r);
  EXPECT_EQ(r, work);
  GetScreenRect(false, full);
  EXPECT_EQ(full, Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_FALSE(HasMultipleMonitors());
  GetMonitorRectOfWindow(nullptr, true, r);
  EXPECT_EQ(r, work);
  GetMonitorRectOfWindow(nullptr, false, r);
  EXPECT_EQ(r, full);
  MonitorFromWindowProc = nullptr;
  EXPECT_FALSE(HasMultipleMonitors());
}

TEST(Dwm, CallsOnlyWithTheLibraryAndPassesTheSystemValues) {
  EXPECT_EQ(DwmapiModule, nullptr);
  EXPECT_FALSE(IsDwmCompositionEnabled());

  static std::vector<Integer> seen;
  seen.clear();
  DwmSetWindowAttributeProc = [](HWND, DWORD Attribute, const void* Value, DWORD Size) {
    seen.insert(seen.end(), {Integer(Attribute), *static_cast<const Integer*>(Value), Integer(Size)});
    return 0;
  };
  DwmEnableBlurBehindWindowProc = [](HWND, const DWM_BLURBEHIND* B) {
    seen.insert(seen.end(),
                {Integer(B->dwFlags), B->fEnable, B->hRgnBlur != nullptr, B->fTransitionOnMaximized});
    return 0;
  };
  DwmIsCompositionEnabledProc = [](Integer* Enabled) {
    *Enabled = 1;
    return 0;
  };
  // Entries without the library are not called.
  SetDwmTransitions(nullptr, false);
  EXPECT_FALSE(IsDwmCompositionEnabled());
  EXPECT_TRUE(seen.empty());

  Integer fakeModule = 0;
  DwmapiModule = &fakeModule;
  SetDwmTransitions(nullptr, false);
  SetDwmTransitions(nullptr, true);
  HRGN rgn = CreateRectRgn(0, 0, 2, 2);
  EnableBlurBehind(nullptr, true, rgn);
  EnableBlurBehind(nullptr, false, nullptr);
  EXPECT_TRUE(IsDwmCompositionEnabled());
  DeleteObject(rgn);
  DwmapiModule = nullptr;
  DwmSetWindowAttributeProc = nullptr;
  DwmEnableBlurBehindWindowProc = nullptr;
  DwmIsCompositionEnabledProc = nullptr;
  EXPECT_EQ(seen, (std::vector<Integer>{3, -1, 4, 3, 0, 4, 3, -1, 1, 0, 1, 0, 0, 0}));
}

}  // namespace
