#include "skin/boxes/office/bsskinofficecombobox.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "skin/boxes/combos/combobox_test_util.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bssystem.h"

namespace {

class OfficeCombo : public TComboTest<TbsSkinOfficeComboBox> {
 protected:
  // A combo box at Bounds on a form at (100, 100) with Count items, every event logged.
  TbsSkinOfficeComboBox* NewCombo(Integer Count, TRect Bounds = Rect(20, 20, 151, 61)) {
    Form = NewForm();
    auto* C = NewControl<TbsSkinOfficeComboBox>(Form, Bounds);
    for (Integer i = 0; i < Count; ++i) C->Items()->Add()->SetCaption("Format " + std::to_string(i));
    bindLog(C);
    return C;
  }
  void bindLog(TbsSkinOfficeComboBox* C) {
    C->OnClick = [this](TObject*) { Log.push_back("click"); };
    C->OnChange = [this](TObject*) { Log.push_back("change"); };
    C->OnCloseUp = [this](TObject*) { Log.push_back("closeup"); };
    C->OnDropDown = [this](TObject*) { Log.push_back("dropdown"); };
    C->ListBox()->OnItemClick = [this](TObject*) { Log.push_back("itemclick"); };
    for (Integer i = 0; i < C->Items()->Count(); ++i)
      C->Items()->Items(i)->OnClick = [this, i](TObject*) { Log.push_back("item" + std::to_string(i)); };
  }
};

TEST_F(OfficeCombo, Defaults) {
  TbsSkinOfficeComboBox C(nullptr);
  EXPECT_EQ(C.Width(), 120);
  EXPECT_EQ(C.Height(), 41);
  EXPECT_EQ(C.SkinDataName(), "combobox");
  EXPECT_EQ(C.DropDownCount(), 7);
  EXPECT_EQ(C.ItemIndex(), -1);
  EXPECT_TRUE(C.TabStop());
  EXPECT_TRUE(C.ShowItemTitle());
  EXPECT_TRUE(C.ShowItemImage());
  EXPECT_TRUE(C.ShowItemText());
  EXPECT_FALSE(C.UseSkinSize());
  EXPECT_FALSE(C.ToolButtonStyle());
  EXPECT_EQ(C.DefaultColor(), clWindow);
  EXPECT_EQ(C.Font()->Name(), "Tahoma");
  EXPECT_EQ(C.Font()->Height(), 13);
  EXPECT_TRUE(C.ListBox()->MouseMoveChangeIndex());
  EXPECT_FALSE(C.IsPopupVisible());
  // The closed control's parts without a skin: a 19-pixel button at the right, the item beside it.
  EXPECT_EQ(C.DropButton().R, Rect(101, 0, 120, 41));
  EXPECT_EQ(C.ItemArea(), Rect(2, 2, 100, 39));
  C.SetDropDownCount(-3);
  EXPECT_EQ(C.DropDownCount(), 7);
}

TEST_F(OfficeCombo, ItemIndexEventOrder) {
  TbsSkinOfficeComboBox* C = NewCombo(3);
  const struct {
    Integer Index;
    std::vector<String> Events;
  } Cases[] = {
      {0, {"item0", "itemclick", "click", "change"}},
      {0, {"item0", "itemclick", "click", "change"}},  // unchanged index: all again
      {2, {"item2", "itemclick", "click", "change"}},
      {-1, {"click", "change"}},
  };
  for (const auto& Case : Cases) {
    Log.clear();
    C->SetItemIndex(Case.Index);
    EXPECT_EQ(Log, Case.Events) << Case.Index;
    EXPECT_EQ(C->ItemIndex(), Case.Index);
  }
  Log.clear();
  EXPECT_THROW(C->SetItemIndex(3), EListError);
  EXPECT_TRUE(Log.empty());
}

TEST_F(OfficeCombo, LoadingSelectsSilentlyOnTheComboSide) {
  Form = NewForm();
  auto* C = new TbsSkinOfficeComboBox(Form);
  C->BeginLoading();
  C->SetParent(Form);
  C->Items()->Add()->SetCaption("A");
  C->Items()->Add()->SetCaption("B");
  bindLog(C);
  C->SetItemIndex(1);
  EXPECT_TRUE(Log.empty());
  C->EndLoading();
  EXPECT_EQ(C->ItemIndex(), 1);
  C->SetItemIndex(1);
  EXPECT_EQ(Log, (std::vector<String>{"item1", "itemclick", "click", "change"}));
}

TEST_F(OfficeCombo, DropDownSizeAndPlacement) {
  TbsSkinOfficeComboBox* C = NewCombo(5);
  C->SetListBoxWidth(130);
  C->SetListBoxItemHeight(60);
  C->SetDropDownCount(4);
  C->DropDown();
  ASSERT_TRUE(C->IsPopupVisible());
  EXPECT_EQ(Log, (std::vector<String>{"dropdown"}));
  const TRect Control = ScreenRectOf(C);
  TRect List = ScreenRectOf(C->ListBox());
  EXPECT_EQ(List.Right, Control.Right);  // right edges line up
  EXPECT_EQ(List.Width(), 130);
  EXPECT_EQ(List.Top, Control.Bottom);
  EXPECT_EQ(List.Height(), 4 * 60 + 5);
  C->CloseUp(false);
  EXPECT_FALSE(C->IsPopupVisible());

  // Near the work area's bottom the list opens above, its bottom on the control's top.
  SetWorkAreaBottom(Control.Bottom + 100);
  C->DropDown();
  List = ScreenRectOf(C->ListBox());
  EXPECT_EQ(List.Bottom, Control.Top);
  C->CloseUp(false);

  // Fewer items than rows: the list is as high as its items.
  while (C->Items()->Count() > 2) C->Items()->Delete(2);
  C->DropDown();
  EXPECT_EQ(ScreenRectOf(C->ListBox()).Height(), 2 * 60 + 5);
  // With an explicit height that height counts.
  C->CloseUp(false);
  C->SetListBoxHeight(77);
  C->DropDown();
  EXPECT_EQ(ScreenRectOf(C->ListBox()).Height(), 77);
}

TEST_F(OfficeCombo, AnEmptyListNeverDropsDownButKeysStillFire) {
  TbsSkinOfficeComboBox* C = NewCombo(0);
  C->DropDown();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_TRUE(Log.empty());
  wintest::Click(At(C, 10, 10));
  EXPECT_FALSE(C->IsPopupVisible());
  ASSERT_TRUE(C->Focused());
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(Log, (std::vector<String>{"click", "change"}));
  EXPECT_EQ(C->ItemIndex(), -1);
}

TEST_F(OfficeCombo, PressDragReleasePicksAnItem) {
  TbsSkinOfficeComboBox* C = NewCombo(5);
  pressToOpen(C, 0);
  ASSERT_TRUE(C->IsPopupVisible());
  TbsPopupOfficeListBox* L = C->ListBox();
  const TRect Third = L->Items()->Items(2)->ItemRect;
  wintest::MouseMove(At(L, 20, Third.Top + 5));
  EXPECT_EQ(L->ItemIndex(), 2);  // hover selection follows the pointer
  wintest::MouseUp(At(L, 20, Third.Top + 5));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 2);
  // The item events of the drop-down's scroll to the top come first; a mouse pick adds none.
  EXPECT_EQ(Log, (std::vector<String>{"dropdown", "item1", "itemclick", "item0", "itemclick", "click",
                                      "change", "closeup"}));
}

TEST_F(OfficeCombo, ClickThenClickPicksAnItem) {
  TbsSkinOfficeComboBox* C = NewCombo(5);
  wintest::Click(At(C, 10, 10));
  ASSERT_TRUE(C->IsPopupVisible());  // the list stays open after the click
  TbsPopupOfficeListBox* L = C->ListBox();
  const TRect Fourth = L->Items()->Items(3)->ItemRect;
  wintest::MouseMove(At(L, 20, Fourth.Top + 5));
  Log.clear();
  wintest::Click(At(L, 20, Fourth.Top + 5));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 3);
  EXPECT_EQ(Log, (std::vector<String>{"click", "change", "closeup"}));
}

TEST_F(OfficeCombo, ReleasingOutsideAfterAPressInTheListCancels) {
  TbsSkinOfficeComboBox* C = NewCombo(5);
  C->SetItemIndex(1);
  wintest::Click(At(C, 10, 10));
  TbsPopupOfficeListBox* L = C->ListBox();
  const TRect Fourth = L->Items()->Items(3)->ItemRect;
  wintest::MouseMove(At(L, 20, Fourth.Top + 5));
  wintest::MouseDown(At(L, 20, Fourth.Top + 5));
  Log.clear();
  wintest::MouseUp(At(Form, 390, 250));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(Log, (std::vector<String>{"item1", "itemclick"}));  // the list's restore only
}

TEST_F(OfficeCombo, EscapeRestoresTheShownIndexAndKeysSelect) {
  TbsSkinOfficeComboBox* C = NewCombo(5);
  C->SetItemIndex(1);
  C->SetFocus();
  wintest::Click(At(C, 10, 10));
  TbsPopupOfficeListBox* L = C->ListBox();
  wintest::MouseMove(At(L, 20, L->Items()->Items(4)->ItemRect.Top + 5));
  EXPECT_EQ(C->ItemIndex(), 4);  // reading during the drop-down gives the hovered item
  Log.clear();
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 0);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "change"), 0);

  // A key while open only moves the list's highlight, which a later Escape gives up; Enter accepts.
  wintest::Click(At(C, 10, 10));
  Log.clear();
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(C->ItemIndex(), 2);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "change"), 0);
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_EQ(C->ItemIndex(), 1);
  wintest::Click(At(C, 10, 10));
  wintest::KeyPress(VK_DOWN);
  Log.clear();
  wintest::KeyPress(VK_RETURN);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 2);
  EXPECT_EQ(Log, (std::vector<String>{"click", "change", "closeup"}));
}

TEST_F(OfficeCombo, AltWithTheArrowsOpensAndCancels) {
  TbsSkinOfficeComboBox* C = NewCombo(3);
  C->SetItemIndex(0);
  C->SetFocus();
  Log.clear();
  openAndCancelWithAlt(C);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "change"), 0);
}

// Every key selects through the list's find and then the combo's index, with all events even when the
// find moved nothing.
TEST_F(OfficeCombo, KeysSelectThroughTheListsFinds) {
  TbsSkinOfficeComboBox* C = NewCombo(30);
  C->SetFocus();
  const std::vector<TComboKeyStep> Steps = {
      {15, VK_PRIOR, 10}, {15, VK_NEXT, 20},  {15, VK_UP, 14}, {15, VK_LEFT, 14},
      {15, VK_DOWN, 16},  {15, VK_RIGHT, 16}, {0, VK_UP, 0},   {29, VK_DOWN, 29},
  };
  pressKeySteps(C, Steps, [this](const TComboKeyStep& Step) {
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "change"), 1) << Step.From << " key " << Step.Key;
  });
}

TEST_F(OfficeCombo, DraggingBelowTheOpenListAutoScrollsOnItsTimer) {
  TbsSkinOfficeComboBox* C = NewCombo(10);
  C->SetDropDownCount(3);
  TbsPopupOfficeListBox* L = pressToOpen(C, 0);
  ASSERT_NE(L->ScrollBar, nullptr);
  wintest::MouseMove(At(L, 20, 40));  // into the list first
  const Integer Hovered = L->ItemIndex();
  Log.clear();
  wintest::MouseMove(At(L, 20, L->Height() + 20));
  wintest::AdvanceTime(Clock(), 75);  // three ticks of 25 ms, each one row further down
  EXPECT_EQ(L->ItemIndex(), Hovered + 3);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "change"), 0);  // only the list's item events
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "itemclick"), 3);
  wintest::MouseMove(At(L, 20, 40));  // back inside: the timer stops
  const Integer Now = L->ItemIndex();
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_EQ(L->ItemIndex(), Now);
  wintest::MouseUp(At(L, 20, 40));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), Now);
}

// The wheel turned towards the user goes down the list, as in every list: closed, the combo box
// takes the next item with all its events; open, only the list's highlight moves.
TEST_F(OfficeCombo, TheWheelMovesTheSelection) {
  TbsSkinOfficeComboBox* C = NewCombo(3);
  C->SetItemIndex(1);
  Log.clear();
  C->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
  EXPECT_EQ(C->ItemIndex(), 2);
  // The list's find fires the item events, then the assignment fires them again with the combo's.
  EXPECT_EQ(Log, (std::vector<String>{"item2", "itemclick", "item2", "itemclick", "click", "change"}));
  C->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(C->ItemIndex(), 1);
  C->DropDown();
  Log.clear();
  C->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
  EXPECT_EQ(C->ListBox()->ItemIndex(), 2);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "change"), 0);
  EXPECT_TRUE(C->IsPopupVisible());
}

TEST_F(OfficeCombo, AClickElsewhereOnTheFormOrFocusLossCloses) {
  TbsSkinOfficeComboBox* C = NewCombo(3);
  auto* Other = NewControl<TRecordingControl>(Form, Rect(200, 20, 260, 60));
  wintest::Click(At(C, 10, 10));
  ASSERT_TRUE(C->IsPopupVisible());
  Log.clear();
  wintest::Click(At(Form, 300, 200));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "change"), 0);
  wintest::Click(At(C, 10, 10));
  ASSERT_TRUE(C->IsPopupVisible());
  Other->SetFocus();
  EXPECT_FALSE(C->IsPopupVisible());
}

TEST_F(OfficeCombo, TheDropDownFadesInStepsUpToItsOpacity) {
  TbsSkinOfficeComboBox* C = NewCombo(3);
  const std::vector<Byte> Alphas = fadeAlphas(C);
  ASSERT_FALSE(Alphas.empty());
  EXPECT_EQ(Alphas.front(), 0);
  EXPECT_EQ(Alphas, fadeSteps());
  EXPECT_EQ(fadeAlphas(C), fadeSteps()) << "the next drop-down fades in from nothing again";
}

TEST_F(OfficeCombo, DefaultLookShowsTheItemAndTheButtonStates) {
  TbsSkinOfficeComboBox* C = NewCombo(2);
  C->SetItemIndex(0);
  C->Repaint();
  EXPECT_EQ(PixelOf(C, 0, 0), COLORREF(ColorToRGB(clBtnShadow)));
  const TRect B = C->DropButton().R;
  ASSERT_EQ(B, Rect(C->Width() - 19, 0, C->Width(), C->Height()));
  EXPECT_EQ(PixelOf(C, B.Left + 3, 3), COLORREF(ColorToRGB(clBtnFace)));  // the button at rest
  EXPECT_EQ(PixelOf(C, 10, 3), COLORREF(ColorToRGB(clWindow)));           // the item area
  wintest::MouseMove(At(C, B.Left + 3, 30));
  EXPECT_EQ(PixelOf(C, B.Left + 3, 3), COLORREF(RGB(193, 212, 243)));  // hovered
  EXPECT_EQ(PixelOf(C, B.Left, 3), COLORREF(RGB(59, 107, 183)));
  wintest::MouseDown(At(C, B.Left + 3, 30));
  EXPECT_EQ(PixelOf(C, B.Left + 3, 3), COLORREF(RGB(162, 188, 228)));  // pressed
  wintest::MouseUp(At(C, B.Left + 3, 30));
}

TEST_F(OfficeCombo, ToolButtonStyleInTheDefaultLook) {
  TbsSkinOfficeComboBox* C = NewCombo(2);
  C->SetUseSkinSize(true);
  C->SetToolButtonStyle(true);
  EXPECT_FALSE(C->UseSkinSize());
  const Integer X = C->Width() - 14, Y = 2;  // inside the frame, clear of text and arrow
  C->Repaint();
  EXPECT_EQ(PixelOf(C, 0, 0), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(PixelOf(C, X, Y), COLORREF(ColorToRGB(clBtnFace)));
  C->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(PixelOf(C, X, Y), COLORREF(RGB(193, 212, 243)));
  EXPECT_EQ(PixelOf(C, 0, 0), COLORREF(RGB(59, 107, 183)));
  C->DropDown();
  EXPECT_EQ(PixelOf(C, X, Y), COLORREF(RGB(162, 188, 228)));
  C->CloseUp(false);
  C->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(PixelOf(C, X, Y), COLORREF(ColorToRGB(clBtnFace)));
}

TEST_F(OfficeCombo, SkinnedLookWithAWiderControlKeepsTheButtonAtTheRight) {
  TbsSkinOfficeComboBox* C = NewCombo(2, Rect(20, 20, 220, 50));
  C->SetSkinData(Skin.get());
  C->Repaint();
  // The element's button (its right 24 pixels) moves with the right edge; the item area widens.
  EXPECT_EQ(C->DropButton().R.Right, 200);
  EXPECT_EQ(C->DropButton().R.Left, 200 - 24);
  EXPECT_EQ(C->ItemArea().Right, 6 + (48 - 12) + (200 - 48));
  EXPECT_EQ(PixelOf(C, 1, 1), SliceColor("combobox", 0, 0));
  // Drawn from "combobutton" in its normal state.
  EXPECT_EQ(PixelOf(C, C->DropButton().R.Left + 1, 1), SliceColor("combobutton", 0, 0));
}

}  // namespace
