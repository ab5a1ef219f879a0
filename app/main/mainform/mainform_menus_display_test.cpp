// The about box on a real display, as a person reaches it: the main window with the product skin,
// the help menu walked with the keyboard to "关于软件", the box read (logo, links, 确定) and closed with
// Esc, then opened again and closed with Enter. The screenshots are written beside the test program as
// appmain_aboutbox.png and appmain_helpmenu.png. Then the rename box over a row (appmain_rename.png).
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main/about/aboutbox.h"
#include "app/main/mainform/mainform.h"
#include "app/main/testkit/menustestkit.h"
#include "app/main/testkit/optionstestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "platform/rtl/files.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinlinklabel.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/controls/views/bsskinlistview.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"

namespace {

class MenusDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  // How many pixels of a control's client area are near Colour (each channel within 40).
  Integer PixelsNear(TControl* C, Cardinal Colour) {
    TRect R = C->ClientRect();
    const TPoint P = C->ClientToScreen({0, 0});
    OffsetRect(&R, P.X, P.Y);
    const TRawImage Shot = Reader->Capture(R);
    const Integer Want[3] = {Integer(Colour & 0xFF), Integer((Colour >> 8) & 0xFF), Integer(Colour >> 16)};
    Integer N = 0;
    for (Integer Y = 0; Y < Shot.Height; ++Y)
      for (Integer X = 0; X < Shot.Width; ++X) {
        const Byte* Px = Shot.Row(Y) + Shot.BitCount / 8 * X;
        bool Near = true;
        for (Integer Ch = 0; Ch < 3; ++Ch) Near = Near && std::abs(Px[Ch] - Want[Ch]) <= 40;
        N += Near;
      }
    return N;
  }
};

TEST_F(MenusDisplay, TheAboutBoxOpensFromTheHelpMenuByKeyboardAndClosesByKeyboard) {
  TForm1* F = mainformtest::CreateWithProductLook(Temp.Root(), File());
  Form2 = new TForm2(Application, F->bsSkinData1, Temp.Root() + "/skin/nerivo.skn");
  Form2->AfterConstruction();
  F->SetLeft(20);
  F->SetTop(20);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  F->lvFiles->SetFocus();

  bool Shown = false, Centred = false;
  Integer LogoAccent = 0, HomeInk = 0, MailInk = 0;
  wintest::OnNextModalLoop([&] {
    Shown =
        PumpUntil([&] { return IsWindowVisible(Form2->Handle()) && GetActiveWindow() == Form2->Handle(); });
    PumpUntil([&] { return PixelsNear(Form2->Image1, look::Accent) > 0; });
    LogoAccent = PixelsNear(Form2->Image1, look::Accent);
    HomeInk = PixelsNear(Form2->bsSkinLinkLabel1, look::Text) + PixelsNear(Form2->bsSkinLinkLabel1, 0x0000FF);
    MailInk = PixelsNear(Form2->bsSkinLinkLabel2, look::Text) + PixelsNear(Form2->bsSkinLinkLabel2, 0x0000FF);
    Centred = std::abs((F->Left() + F->Width() / 2) - (Form2->Left() + Form2->Width() / 2)) <= 1;
    SaveWindowShot(Form2->Handle(), "appmain_aboutbox.png");
    wintest::KeyPress(VK_ESCAPE);
  });
  // F10 to the bar, left to 帮助 (the last menu), down into it, up to its last item, Enter.
  wintest::KeyPress(VK_F10);
  wintest::KeyPress(VK_LEFT);
  wintest::KeyPress(VK_DOWN);
  WinProcessMessages();
  SaveWindowShot(F->Handle(), "appmain_helpmenu.png");
  wintest::KeyPress(VK_UP);
  wintest::KeyPress(VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return Shown; })) << "the about box came up";
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(Form2->Handle()); })) << "Esc closed it";
  EXPECT_GT(LogoAccent, 20) << "the product's mark in the accent";
  EXPECT_GT(HomeInk, 20) << "the home page link is written";
  EXPECT_GT(MailInk, 20) << "the mail link is written";
  EXPECT_TRUE(Centred) << "centred on the main window";

  // Again from the menu item; Enter presses 确定.
  bool Again = false;
  wintest::OnNextModalLoop([&] {
    Again = PumpUntil([&] { return IsWindowVisible(Form2->Handle()); });
    wintest::KeyPress(VK_RETURN);
  });
  F->N5->Click();
  EXPECT_TRUE(Again);
  EXPECT_FALSE(IsWindowVisible(Form2->Handle())) << "Enter closed it";
  delete Form2;
}

TEST_F(MenusDisplay, TheRenameBoxLiesOverTheRowsOutputNameInsideTheList) {
  TForm1* F = mainformtest::CreateWithProductLook(Temp.Root(), File());
  menustest::EnsureLeadingColumns(F);
  // The rows name no real files: the preview that selecting runs would stop on its message box.
  F->Button31->OnClick = nullptr;
  F->bsSkinPanel5->Hide();
  menustest::AddJobRow(F, "/in/first.avi", "first.avi", "101", "000000000000");
  menustest::AddJobRow(F, "/in/holiday.avi", "holiday.avi", "101", "000000000000");
  F->SetLeft(20);
  F->SetTop(20);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  F->lvFiles->SetItemIndex(1);
  F->bsSkinButton21->Click();
  TbsSkinEdit* E = F->edt;
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(E->Handle()); }));
  // The box's text is written in the text colour; the box starts where the output name column does.
  EXPECT_TRUE(PumpUntil([&] { return PixelsNear(E, look::Text) > 10; })) << "the name is written in the box";
  TRect Box;
  GetWindowRect(E->Handle(), &Box);
  const TPoint List = F->lvFiles->ClientToScreen({0, 0});
  Integer Before = 0;
  for (Integer C = 0; C < 3; ++C) Before += F->lvFiles->Column(C)->Width();
  EXPECT_NEAR(Box.Left - List.X, Before, 4);
  EXPECT_EQ(Box.Top - List.Y, F->lvFiles->Items()->Item(1)->Top()) << "on the selected row";
  const TRect RowRect = F->lvFiles->Items()->Item(1)->DisplayRect(drBounds);
  EXPECT_EQ(Box.Bottom - Box.Top, RowRect.Bottom - RowRect.Top) << "the box covers its row and no other";
  EXPECT_LE(E->Left() + E->Width(), F->lvFiles->ClientWidth());
  SaveWindowShot(F->Handle(), "appmain_rename.png");
}

}  // namespace

#endif
