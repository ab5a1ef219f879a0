// The tray icon's menu on a real display: a right click on the icon (reported by the recording tray,
// since the private X server has no tray) opens the form engine's skinned tray menu at the pointer,
// and its first entry brings the form back from the tray. The screenshot of the menu is written beside
// the test program as tray_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/shell/testkit/fakes.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/tray/bstrayicon.h"
#include "skin/menus/bsskinpopupwindow.h"

namespace {

class TrayDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  shelltest::TShellFakes Fakes;
};

TEST_F(TrayDisplay, TheIconsMenuOpensAtThePointerAndRestoresTheForm) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(60, 50, 320, 200);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Engine = new TbsSkinForm(F);
  Engine->SetSkinData(Skin.get());
  auto* Tray = new TbsTrayIcon(F);
  auto* Menus = dynamic_cast<TbsFormMenus*>(Engine->MenuTracking());
  ASSERT_NE(Menus, nullptr);
  Menus->SetTrayIcon(Tray);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  Menus->MinimizeToTray();
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(F->Handle()); }));

  const TPoint At{420, 300};
  SetCursorPos(At.X, At.Y);
  ASSERT_TRUE(Fakes.Tray().Notify(Tray->Handle(), TbsTrayIcon::TrayIconId, WM_RBUTTONDOWN));
  TbsSkinMenu* Menu = Engine->SkinMenu();
  ASSERT_TRUE(Menu->Visible());
  TbsSkinPopupWindow* W = Menu->PopupLevel(0);
  RECT R;
  GetWindowRect(W->Handle(), &R);
  EXPECT_EQ(R.Left, At.X);
  EXPECT_EQ(R.Top, At.Y);
  // The menu window's picture corner is on the screen there.
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(W, 0, 0) == COLORREF(GeneratedSkinSliceColor(63, 1, 0)); }));

  TRawImage Shot = Reader->Capture(TRect{R.Left, R.Top, R.Right, R.Bottom});
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "tray_display.png");

  // "Restore" brings the form back and takes the icon away.
  const TRect E = W->Item(0)->ObjectRect;
  wintest::Click(W->ClientToScreen({E.Left + 5, E.Top + E.Height() / 2}));
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  EXPECT_EQ(Fakes.Tray().Find(Tray->Handle(), TbsTrayIcon::TrayIconId), nullptr);
  Application->ProcessMessages();
}

}  // namespace

#endif
