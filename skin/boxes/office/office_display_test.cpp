// The office list and combo box on a real display: a form with an office list box and an office combo
// box under the generated skin is mapped on a private X server, the combo box is dropped down by a
// click, and a click on the form outside the list closes it again. The screenshot (form and open list)
// is written beside the test program as skinoffice_display.png. On the product skin, a chooser of 15
// entries drops down with a scroll bar through which, and through the wheel, every entry is reached
// (skinoffice_product_display.png).
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/combos/combobox_test_util.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "tools/skingen/productlook.h"

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

class ProductOfficeDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  void SetUp() override {
    TDisplayTest<TSkinControlTest>::SetUp();
    BuildProductSkin(Skin.get());
  }
  // The rows of the screen down the middle of bar B that show the thumb (either of its colours).
  std::vector<Integer> ThumbRows(TbsSkinScrollBar* B) {
    std::vector<Integer> Rows;
    for (Integer Y = 0; Y < B->Height(); ++Y) {
      const uint32_t P = ScreenAt(B, B->Width() / 2, Y);
      if (P == ColorOfRGB(look::Thumb) || P == ColorOfRGB(look::ThumbHover)) Rows.push_back(Y);
    }
    return Rows;
  }
};

// The category chooser as the main window has it: 15 entries of which 7 show at a time.
TEST_F(ProductOfficeDisplay, AChooserOfFifteenReachesItsLastEntryByWheelAndByScrollBar) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 480, 420);
  F->SetColor(clWhite);
  auto* Combo = NewControl<TbsSkinOfficeComboBox>(F, Bounds(20, 20, 170, 26));
  for (Integer I = 0; I < 15; ++I) Combo->Items()->Add()->SetCaption("类别 " + std::to_string(I));
  Combo->SetItemIndex(0);
  Combo->SetSkinData(Skin.get());
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));

  RECT C, D;
  ASSERT_NO_FATAL_FAILURE(clickToDropDown(Combo, {20, 10}, C, D));
  TbsPopupOfficeListBox* Drop = Combo->ListBox();
  TbsSkinScrollBar* Bar = Drop->ScrollBar;
  ASSERT_NE(Bar, nullptr);
  // The bar shows at the list's right edge, as thick as the look draws it, its thumb at the top.
  EXPECT_EQ(Bar->Width(), look::ScrollBarSize);
  const TRect Thumb = Bar->Buttons[TbsSkinScrollBar::ThumbButton].R;
  const TPoint ThumbMiddle = Drop->ScreenToClient(
      Bar->ClientToScreen({Thumb.Left + Thumb.Width() / 2, Thumb.Top + Thumb.Height() / 2}));
  EXPECT_TRUE(PumpUntil([&] {
    return ScreenAt(Drop, ThumbMiddle.X, ThumbMiddle.Y) == COLORREF(ColorOfRGB(look::Thumb));
  })) << "the thumb shows";
  ASSERT_NO_FATAL_FAILURE(saveFormWithList(*Reader, F, D, "skinoffice_product_display.png"));
  // Hovered, the thumb darkens.
  wintest::MouseMove(Drop->ClientToScreen(ThumbMiddle));
  EXPECT_TRUE(PumpUntil([&] {
    return ScreenAt(Drop, ThumbMiddle.X, ThumbMiddle.Y) == COLORREF(ColorOfRGB(look::ThumbHover));
  }));

  // The wheel turned towards the user over the list brings the last entry into view, whole.
  TbsSkinOfficeItem* Last = Drop->Items()->Items(14);
  auto lastShowsWhole = [&] { return Last->IsVisible && Last->ItemRect.Bottom <= Drop->ItemsRect().Bottom; };
  const TPoint OverList = Drop->ClientToScreen({40, 60});
  for (Integer I = 0; I < 10; ++I) wintest::MouseWheel(-WHEEL_DELTA, OverList);
  EXPECT_TRUE(lastShowsWhole());
  EXPECT_TRUE(Combo->IsPopupVisible());
  // The thumb went down to the bar's far end (only the arrow button is below it).
  std::vector<Integer> Rows;
  EXPECT_TRUE(PumpUntil([&] {
    Rows = ThumbRows(Bar);
    return !Rows.empty() && Rows.back() >= Bar->Height() - look::ScrollBarSize - 3;
  }));

  // ... and away from the user back to the first.
  for (Integer I = 0; I < 10; ++I) wintest::MouseWheel(WHEEL_DELTA, OverList);
  EXPECT_EQ(Drop->ScrollOffset(), 0);

  // Dragging the thumb to the bottom of the bar does the same; the last entry is then picked.
  const TPoint Grip = Bar->ClientToScreen({Thumb.Left + Thumb.Width() / 2, Thumb.Top + Thumb.Height() / 2});
  wintest::MouseDown(Grip);
  wintest::MouseMove(Bar->ClientToScreen({Thumb.Left + Thumb.Width() / 2, Bar->Height() + 40}));
  wintest::MouseUp(Bar->ClientToScreen({Thumb.Left + Thumb.Width() / 2, Bar->Height() + 40}));
  EXPECT_TRUE(lastShowsWhole());
  ASSERT_TRUE(Combo->IsPopupVisible()) << "the bar is part of the open list";
  const TRect LastRow = Last->ItemRect;
  const TPoint OnLast = Drop->ClientToScreen({20, LastRow.Top + LastRow.Height() / 2});
  wintest::MouseMove(OnLast);
  wintest::Click(OnLast);
  EXPECT_FALSE(Combo->IsPopupVisible());
  EXPECT_EQ(Combo->ItemIndex(), 14);
}

}  // namespace

#endif
