// The preset dialog on a real display with the product skin, as a person sees it: the main window's
// 设置... button beside the format chooser opens it centred on the main window, with the job's
// choices filled in and OK in the accent face; Escape closes it. The screenshots are written beside
// the test program as presetdialog_mainwindow.png and presetdialog_dialog.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main/testkit/optionstestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "app/presetdialog/form7.h"
#include "app/presetdialog/testkit/presetdialogtestkit.h"
#include "platform/rtl/files.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/win/testkit/testkit.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"

namespace {

using namespace presetdialogtest;

class PresetDialogDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  // The darkest channel of any pixel inside a control, its outer 3 pixels left out: ink is near black.
  Integer DarkestInside(TControl* C) {
    return mainformtest::DarkestChannelIn(*Reader, C, C->ClientRect(), 3);
  }
};

TEST_F(PresetDialogDisplay, TheSetButtonOpensTheDialogCentredOnTheMainWindowAndEscapeClosesIt) {
  const String SkinFolder = Temp.Root() + "/skin/";
  ForceDirectories(SkinFolder);
  WriteProductSkinContainer(SkinFolder + "nerivo.skn");
  WriteProductPictures(SkinFolder);
  auto* Main = new TForm1(Application, File(), SkinFolder + "nerivo.skn");
  Main->AfterConstruction();
  PrepareMainWindow(Main, Temp.Root() + "/out");
  TForm7* D = CreateDialog(Main);
  Main->SetLeft(20);
  Main->SetTop(20);
  Main->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Main->Handle()); }));

  // The button shows its caption on the format panel.
  TbsSkinButton* Set = Main->bsSkinButton24;
  EXPECT_TRUE(PumpUntil([&] { return DarkestInside(Set) < 100; })) << "设置... is written on its button";
  EXPECT_TRUE(SaveWindowShot(Main->Handle(), "presetdialog_mainwindow.png"));

  // The person picks the 视频格式 category's third format in the main window, then presses 设置....
  Main->bsSkinOfficeComboBox2->SetItemIndex(2);
  Main->Button2->Click();
  Main->bsSkinOfficeComboBox1->SetItemIndex(2);
  // The pointer rests away from the dialog, so no button shows its hover face.
  SetCursorPos(0, 0);
  bool Shown = false, Centred = false, OkAccent = false, FormatShown = false, Saved = false;
  bool Framed = false;
  uint32_t OkColour = 0;
  TChooserPositions InDialog;
  wintest::OnNextModalLoop([&] {
    Shown = PumpUntil([&] { return IsWindowVisible(D->Handle()); });
    // The accent face, or its lighter step while the skin's light-up runs on it.
    OkAccent = PumpUntil([&] {
      OkColour = ScreenAt(D->bsSkinButton2, 3, D->bsSkinButton2->Height() / 2);
      return OkColour == ColorOfRGB(look::Accent) || OkColour == ColorOfRGB(look::AccentHover);
    });
    const Integer MainMid = Main->Left() + Main->Width() / 2, DialogMid = D->Left() + D->Width() / 2;
    Centred = std::abs(MainMid - DialogMid) <= 1 &&
              std::abs((Main->Top() + Main->Height() / 2) - (D->Top() + D->Height() / 2)) <= 1;
    TRect W;
    GetWindowRect(D->Handle(), &W);
    Framed = Reader->Pixel(W.Left, (W.Top + W.Bottom) / 2) == ColorOfRGB(look::FrameBorder);
    FormatShown = DarkestInside(D->bsSkinOfficeComboBox1) < 100 && DarkestInside(D->bsSkinComboBox1) < 100;
    InDialog = D->ChooserPositions();
    Saved = SaveWindowShot(D->Handle(), "presetdialog_dialog.png");
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  Set->Click();
  EXPECT_TRUE(Shown) << "the dialog came up";
  EXPECT_TRUE(OkAccent) << "确定 in the accent face " << std::hex << OkColour;
  EXPECT_TRUE(Centred) << "centred on the main window";
  EXPECT_TRUE(Framed) << "the window frame's border";
  EXPECT_TRUE(FormatShown) << "the choosers show their texts";
  EXPECT_TRUE(Saved);
  EXPECT_EQ(InDialog, Main->ChooserPositions()) << "opened with the main window's choices";
  EXPECT_FALSE(IsWindowVisible(D->Handle())) << "Escape closed it";
}

}  // namespace

#endif
