// The office list and combo box on a real display: a form with an office list box and an office combo
// box under the generated skin is mapped on a private X server, the combo box is dropped down by a
// click, and a click on the form outside the list closes it again. The screenshot (form and open list)
// is written beside the test program as skinoffice_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/codecs.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/combos/combobox_test_util.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinOfficeDisplay : public TDisplayTest<TSkinControlTest> {};

void fill(TbsSkinOfficeItems* Items) {
  const char* Rows[][2] = {{"", "常用视频格式"}, {"MP4", "MPEG-4 视频"}, {"AVI", "Windows 视频"},
                           {"MKV", "Matroska"},  {"", "音频格式"},       {"MP3", "MPEG 音频"}};
  for (auto& Row : Rows) {
    TbsSkinOfficeItem* I = Items->Add();
    I->SetTitle(Row[0]);
    I->SetCaption(Row[1]);
    I->SetHeader(Row[0][0] == '\0');
  }
}

TEST_F(SkinOfficeDisplay, AnOfficeComboDropsDownOverTheFormAndAClickOutsideClosesIt) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 480, 320);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* List = NewControl<TbsSkinOfficeListBox>(F, Bounds(12, 12, 200, 200));
  fill(List->Items());
  List->SetItemIndex(2);
  auto* Combo = NewControl<TbsSkinOfficeComboBox>(F, Bounds(240, 12, 200, 40));
  fill(Combo->Items());
  Combo->SetListBoxItemHeight(34);
  Combo->SetItemIndex(1);
  List->SetSkinData(Skin.get());
  Combo->SetSkinData(Skin.get());
  F->Show();

  const TRect Row = List->Items()->Items(2)->ItemRect;
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(List, 1, 1) == SliceColor("listbox", 0, 0); }));
  EXPECT_EQ(ScreenAt(List, Row.Right - 10, Row.Top + Row.Height() / 2), SliceColor("listbox", 2, 4));
  EXPECT_EQ(ScreenAt(Combo, 1, 1), SliceColor("combobox", 0, 0));

  // A click on the item area drops the list down under the control, right edges lined up.
  RECT C, D;
  ASSERT_NO_FATAL_FAILURE(clickToDropDown(Combo, {20, 20}, C, D));
  TbsPopupOfficeListBox* Drop = Combo->ListBox();
  EXPECT_EQ(D.Right, C.Right);
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Drop, 1, 1) == SliceColor("listbox", 0, 0); }));
  // The closed control, focused, keeps showing its item on the element's focused item picture.
  const TRect Area = Combo->ItemArea();
  EXPECT_EQ(ScreenAt(Combo, Area.Right - 10, Area.Top + Area.Height() / 2), SliceColor("combobox", 4, 4));
  const TRect Picked = Drop->Items()->Items(1)->ItemRect;
  EXPECT_EQ(ScreenAt(Drop, Picked.Right - 10, Picked.Top + Picked.Height() / 2), SliceColor("listbox", 2, 4));

  ASSERT_NO_FATAL_FAILURE(saveFormWithList(*Reader, F, D, "skinoffice_display.png"));

  // A click on the form beside both controls closes the list without a pick.
  clickOnFormCloses(Combo, F, {300, 260}, 1);
  const TPoint Where = Drop->ClientToScreen({1, 1});
  EXPECT_TRUE(PumpUntil([&] { return Reader->Pixel(Where.X, Where.Y) != SliceColor("listbox", 0, 0); }));
}

}  // namespace

#endif
