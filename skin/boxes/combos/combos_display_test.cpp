// The skinned combo box on a real display: a form with a combo box in the default look and one under
// the generated skin, mapped on a private X server; the first is dropped down by a click, its list
// shown under it, and a click on the form outside the list closes it again with the item unchanged.
// The screenshot (form and open list) is written beside the test program as skincombobox_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/combos/combobox_test_util.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "tools/skingen/productlook.h"

namespace {

class SkinComboDisplay : public TDisplayTest<TSkinControlTest> {};

TEST_F(SkinComboDisplay, AComboDropsDownOverTheFormAndAClickOutsideClosesIt) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 420, 300);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Plain = NewControl<TbsSkinComboBox>(F, Bounds(12, 12, 180, 22));
  auto* Skinned = NewControl<TbsSkinComboBox>(F, Bounds(220, 12, 180, 22));
  for (auto* C : {Plain, Skinned})
    for (const char* S : {"标准质量", "高质量 High", "最高质量 Highest", "Custom"}) C->Items()->Add(S);
  Plain->SetItemIndex(1);
  Skinned->SetItemIndex(2);
  Skinned->SetSkinData(Skin.get());
  F->Show();

  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Plain, 0, 0) == COLORREF(ColorToRGB(clBtnShadow)); }));
  EXPECT_EQ(ScreenAt(Skinned, 1, 1), SliceColor("combobox", 0, 0));

  // A click on the item area takes the focus and drops the list down under the control.
  RECT C, D;
  ASSERT_NO_FATAL_FAILURE(clickToDropDown(Plain, {20, 10}, C, D));
  TbsPopupListBox* Drop = Plain->ListBox();
  EXPECT_EQ(D.Left, C.Left);
  EXPECT_EQ(D.Bottom - D.Top, Drop->CalcHeight(4));
  // The focused closed control shows its item on the highlight; the list its selected row so too.
  const TRect Area = Plain->ItemArea().R;
  EXPECT_TRUE(PumpUntil(
      [&] { return ScreenAt(Plain, Area.Right - 4, Area.Top + 2) == COLORREF(ColorToRGB(clHighlight)); }));
  const TRect Row = Drop->ItemRect(1);
  EXPECT_TRUE(PumpUntil([&] {
    return ScreenAt(Drop->ListBox, Row.Right - 4, Row.Top + Row.Height() / 2) ==
           COLORREF(ColorToRGB(clHighlight));
  }));

  ASSERT_NO_FATAL_FAILURE(saveFormWithList(*Reader, F, D, "skincombobox_display.png"));

  // A click on the form beside the list closes it without a pick.
  clickOnFormCloses(Plain, F, {300, 220}, 1);
  EXPECT_EQ(Plain->Text(), "高质量 High");
  const TPoint Where = Drop->ClientToScreen({Row.Right - 4, Row.Top + Row.Height() / 2 + 2});
  EXPECT_TRUE(PumpUntil([&] { return Reader->Pixel(Where.X, Where.Y) == 0xFFFFFFu; }));
}

// A freely sized skinned combo box takes its button from the skin's button element and stretches its
// item picture to its height; a skinned tool-button combo box is one button element.
TEST_F(SkinComboDisplay, FreelySizedAndToolButtonCombosUnderTheSkin) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 420, 120);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Free = NewControl<TbsSkinComboBox>(F, Bounds(12, 12, 180, 40));
  auto* Tool = NewControl<TbsSkinComboBox>(F, Bounds(220, 12, 160, 26));
  Free->SetUseSkinSize(false);
  Tool->SetToolButtonStyle(true);
  for (auto* C : {Free, Tool}) {
    for (const char* S : {"标准质量", "高质量 High"}) C->Items()->Add(S);
    C->SetItemIndex(1);
    C->SetSkinData(Skin.get());
  }
  F->Show();

  const TRect B = Free->DropButton().R;
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Free, B.Left + 1, 1) == SliceColor("combobutton", 0, 0); }));
  const TRect I = Free->ItemArea().R;
  EXPECT_EQ(ScreenAt(Free, (I.Left + I.Right) / 2, I.Bottom - 1), SliceColor("combobox", 2, 7));
  EXPECT_EQ(ScreenAt(Tool, 1, 1), SliceColor("resizetoolbutton", 0, 0));

  RECT W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skincombobox_skinned_display.png");
}

// On the product skin a focused combo box wears the accent ring and loses it with the focus, also
// after a pick from its list with the mouse, whichever kind of combo box takes the focus next.
TEST_F(SkinComboDisplay, TheAccentRingGoesWithTheFocus) {
  BuildProductSkin(Skin.get());
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 420, 300);
  F->SetColor(clWhite);
  auto* A = NewControl<TbsSkinComboBox>(F, Bounds(12, 12, 180, 26));
  auto* Office = NewControl<TbsSkinOfficeComboBox>(F, Bounds(12, 60, 180, 26));
  auto* B = NewControl<TbsSkinComboBox>(F, Bounds(12, 108, 180, 26));
  for (const char* S : {"标准质量", "高质量 High", "最高质量 Highest", "Custom"}) {
    A->Items()->Add(S);
    B->Items()->Add(S);
    Office->Items()->Add()->SetCaption(S);
  }
  for (auto* C : std::vector<TbsSkinCustomControl*>{A, Office, B}) C->SetSkinData(Skin.get());
  A->SetItemIndex(1);
  B->SetItemIndex(1);
  Office->SetItemIndex(1);
  F->Show();
  const COLORREF Ring = COLORREF(ColorOfRGB(look::Accent)), Plain = COLORREF(ColorOfRGB(look::ControlBorder));
  auto ringOn = [&](TControl* C) { return ScreenAt(C, 0, C->Height() / 2) == Ring; };
  auto ringsAre = [&](bool OnA, bool OnOffice, bool OnB) {
    return PumpUntil([&] { return ringOn(A) == OnA && ringOn(Office) == OnOffice && ringOn(B) == OnB; });
  };
  const TPoint Away = F->ClientToScreen({300, 250});
  wintest::MouseMove(Away);
  ASSERT_TRUE(ringsAre(false, false, false));
  EXPECT_EQ(ScreenAt(A, 0, A->Height() / 2), Plain);

  // A pick from A's list with the mouse: A has the focus and the ring.
  wintest::MouseMove(A->ClientToScreen({20, 10}));
  wintest::Click(A->ClientToScreen({20, 10}));
  TbsListBox* L = A->ListBox()->ListBox;
  const TRect Row = L->ItemRect(2);
  wintest::MouseMove(L->ClientToScreen({20, Row.Top + 5}));
  wintest::Click(L->ClientToScreen({20, Row.Top + 5}));
  wintest::MouseMove(Away);
  ASSERT_FALSE(A->IsPopupVisible());
  EXPECT_TRUE(ringsAre(true, false, false));

  // The office chooser takes the focus (its list opened and given up with Esc), then B.
  wintest::MouseMove(Office->ClientToScreen({20, 10}));
  wintest::Click(Office->ClientToScreen({20, 10}));
  wintest::KeyPress(VK_ESCAPE);
  wintest::MouseMove(Away);
  EXPECT_TRUE(ringsAre(false, true, false)) << "A lost its ring with the focus";
  wintest::Click(B->ClientToScreen({20, 10}));
  wintest::KeyPress(VK_ESCAPE);
  wintest::MouseMove(Away);
  EXPECT_TRUE(ringsAre(false, false, true)) << "the office chooser lost its ring with the focus";
  EXPECT_TRUE(SaveWindowShot(F->Handle(), "skincombobox_focusring_display.png"));
}

// A preset chooser of 15 entries on the product skin drops down 8 rows with a scroll bar; the wheel
// over the list and the bar's thumb both reach the last entry, which a click then picks.
TEST_F(SkinComboDisplay, AListOfFifteenReachesItsLastEntryByWheelAndByScrollBar) {
  BuildProductSkin(Skin.get());
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 420, 360);
  F->SetColor(clWhite);
  auto* C = NewControl<TbsSkinComboBox>(F, Bounds(12, 12, 180, 26));
  for (Integer I = 0; I < 15; ++I) C->Items()->Add("预设 " + std::to_string(I));
  C->SetItemIndex(0);
  C->SetSkinData(Skin.get());
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  RECT R, D;
  ASSERT_NO_FATAL_FAILURE(clickToDropDown(C, {20, 10}, R, D));
  TbsPopupListBox* Drop = C->ListBox();
  TbsListBox* L = Drop->ListBox;
  TbsSkinScrollBar* Bar = Drop->ScrollBar;
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(Bar->Width(), look::ScrollBarSize);
  const TRect Thumb = Bar->Buttons[TbsSkinScrollBar::ThumbButton].R;
  const TPoint Grip(Thumb.Left + Thumb.Width() / 2, Thumb.Top + Thumb.Height() / 2);
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(Bar, Grip.X, Grip.Y) == COLORREF(ColorOfRGB(look::Thumb)); }))
      << "the thumb shows";
  ASSERT_NO_FATAL_FAILURE(saveFormWithList(*Reader, F, D, "skincombobox_product_display.png"));

  auto lastShows = [&] { return L->TopIndex() + L->Height() / L->ItemHeight() >= 15; };
  const TPoint OverList = L->ClientToScreen({30, 20});
  for (Integer I = 0; I < 15; ++I) wintest::MouseWheel(-WHEEL_DELTA, OverList);
  EXPECT_TRUE(lastShows());
  EXPECT_EQ(Bar->Position(), Bar->Max() - Bar->PageSize() + 1) << "the bar follows the list";
  for (Integer I = 0; I < 15; ++I) wintest::MouseWheel(WHEEL_DELTA, OverList);
  EXPECT_EQ(L->TopIndex(), 0);
  EXPECT_TRUE(C->IsPopupVisible());

  wintest::MouseDown(Bar->ClientToScreen(Grip));
  wintest::MouseMove(Bar->ClientToScreen({Grip.X, Bar->Height() + 30}));
  wintest::MouseUp(Bar->ClientToScreen({Grip.X, Bar->Height() + 30}));
  EXPECT_TRUE(lastShows());
  ASSERT_TRUE(C->IsPopupVisible()) << "the bar is part of the open list";
  const TRect Last = L->ItemRect(14);
  const TPoint OnLast = L->ClientToScreen({30, Last.Top + Last.Height() / 2});
  wintest::MouseMove(OnLast);
  wintest::Click(OnLast);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 14);
  EXPECT_EQ(C->Text(), "预设 14");
}

}  // namespace

#endif
