// The recording tray: icons added, changed and removed as the tray component asks, and a person's
// clicks on them delivered as the icon's callback message.
#include "platform/shell/tray.h"

#include <gtest/gtest.h>

#include "platform/rtl/strings.h"
#include "platform/shell/testkit/fakes.h"
#include "platform/win/testkit/testkit.h"

namespace {

constexpr UINT kCallback = 2048;

std::vector<std::pair<WPARAM, LPARAM>>& Received() {
  static std::vector<std::pair<WPARAM, LPARAM>> r;
  return r;
}

LRESULT TrayOwnerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCallback) Received().push_back({wp, lp});
  return DefWindowProc(w, msg, wp, lp);
}

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Received().clear();
    WNDCLASS wc;
    wc.lpfnWndProc = TrayOwnerProc;
    wc.lpszClassName = "TrayOwner";
    ASSERT_NE(RegisterClass(&wc), 0);
    Owner = CreateWindowEx(0, "TrayOwner", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(Owner, nullptr);
  }
  void TearDown() override {
    WinResetForTests();
    UnregisterClass("TrayOwner", nullptr);
  }
  NOTIFYICONDATA Data(UINT flags) const {
    NOTIFYICONDATA d;
    d.hWnd = Owner;
    d.uID = 1;
    d.uFlags = flags;
    d.uCallbackMessage = kCallback;
    d.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    d.szTip = "Nerivo 视频转换";
    return d;
  }

  wintest::TWinTestEnvironment Env;
  HWND Owner = nullptr;
};

}  // namespace

TEST_F(TrayTest, IconsAreAddedChangedAndRemoved) {
  shelltest::TShellFakes fakes;
  NOTIFYICONDATA d = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &d));  // there already
  const auto* icon = fakes.Tray().Find(Owner, 1);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Tip, "Nerivo 视频转换");
  EXPECT_EQ(icon->CallbackMessage, kCallback);
  EXPECT_FALSE(icon->Docked);  // headless there is no system tray to show it in
  // The tray keeps a copy of the picture.
  ASSERT_NE(icon->Icon, nullptr);
  EXPECT_NE(icon->Icon, d.hIcon);
  EXPECT_EQ(WinIconSize(icon->Icon), (TSize{32, 32}));

  // Only the flagged fields change; texts longer than the record's fields are cut by characters.
  NOTIFYICONDATA m = Data(NIF_INFO);
  m.szTip = "ignored";
  m.szInfo = String(300, 'x');
  m.szInfoTitle = "";
  for (int i = 0; i < 100; ++i) m.szInfoTitle += "标";
  m.dwInfoFlags = NIIF_WARNING;
  ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &m));
  icon = fakes.Tray().Find(Owner, 1);
  EXPECT_EQ(icon->Tip, "Nerivo 视频转换");
  EXPECT_EQ(icon->Info, String(255, 'x'));
  EXPECT_EQ(Utf8Length(icon->InfoTitle), 63);
  EXPECT_EQ(icon->InfoFlags, NIIF_WARNING);
  m.uFlags = NIF_TIP;
  m.szTip = String(200, 't');
  ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &m));
  EXPECT_EQ(fakes.Tray().Find(Owner, 1)->Tip, String(127, 't'));

  ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &d));
  EXPECT_EQ(fakes.Tray().Find(Owner, 1), nullptr);
  EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &d));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &d));
  EXPECT_FALSE(Shell_NotifyIcon(7, &d));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, nullptr));
  NOTIFYICONDATA orphan = Data(NIF_ICON);
  orphan.hWnd = nullptr;
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &orphan));
  // A desktop without a tray refuses every call.
  fakes.Tray().Available = false;
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &d));
  EXPECT_EQ(fakes.Tray().Calls.size(), 10u);
}

TEST_F(TrayTest, ClicksOnTheIconReachItsWindowAsTheCallbackMessage) {
  TRecordingTrayService tray;
  NOTIFYICONDATA d = Data(NIF_ICON | NIF_TIP);  // no callback message yet
  ASSERT_TRUE(tray.NotifyIcon(NIM_ADD, d));
  EXPECT_FALSE(tray.Notify(Owner, 1, WM_RBUTTONUP));
  d.uFlags = NIF_MESSAGE;
  ASSERT_TRUE(tray.NotifyIcon(NIM_MODIFY, d));
  EXPECT_TRUE(tray.Notify(Owner, 1, WM_LBUTTONDOWN));
  EXPECT_TRUE(tray.Notify(Owner, 1, WM_RBUTTONUP));
  EXPECT_TRUE(tray.Notify(Owner, 1, NIN_BALLOONUSERCLICK));
  EXPECT_FALSE(tray.Notify(Owner, 2, WM_LBUTTONDOWN));  // no such icon
  EXPECT_EQ(Received(), (std::vector<std::pair<WPARAM, LPARAM>>{
                            {1, WM_LBUTTONDOWN}, {1, WM_RBUTTONUP}, {1, LPARAM(NIN_BALLOONUSERCLICK)}}));
  // The window went away: nothing is sent to it.
  DestroyWindow(Owner);
  EXPECT_FALSE(tray.Notify(Owner, 1, WM_LBUTTONDOWN));
  EXPECT_EQ(Received().size(), 3u);
}
