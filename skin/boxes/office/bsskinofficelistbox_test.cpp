#include "skin/boxes/office/bsskinofficelistbox.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

using wintest::ScreenPoint;

// Counts repaints, the one thing every change of an item must cause.
class TCountingList : public TbsSkinOfficeListBox {
 public:
  using TbsSkinOfficeListBox::TbsSkinOfficeListBox;
  void Repaint() override {
    ++Repaints;
    TbsSkinOfficeListBox::Repaint();
  }
  Integer Repaints = 0;
};

class OfficeList : public TSkinControlTest {
 protected:
  // A list of 150 x 150 (items area 146 high without a skin) with Count items "Item i".
  TCountingList* NewList(Integer Count, TRect Bounds = Rect(10, 10, 160, 160)) {
    TForm* F = NewForm();
    auto* L = NewControl<TCountingList>(F, Bounds);
    for (Integer i = 0; i < Count; ++i) L->Items()->Add()->SetCaption("Item " + std::to_string(i));
    L->OnItemClick = [this](TObject*) { Log.push_back("list"); };
    L->OnItemCheckClick = [this](TObject*) { Log.push_back("check"); };
    for (Integer i = 0; i < Count; ++i)
      L->Items()->Items(i)->OnClick = [this, i](TObject*) { Log.push_back("item" + std::to_string(i)); };
    return L;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }

  std::vector<String> Log;
};

TEST_F(OfficeList, DefaultsOfTheListAndItsItems) {
  TbsSkinOfficeListBox L(nullptr);
  EXPECT_EQ(L.Width(), 150);
  EXPECT_EQ(L.Height(), 150);
  EXPECT_EQ(L.SkinDataName(), "listbox");
  EXPECT_EQ(L.ItemSkinDataName(), "listbox");
  EXPECT_EQ(L.HeaderSkinDataName(), "menuheader");
  EXPECT_EQ(L.ItemIndex(), -1);
  EXPECT_EQ(L.ItemHeight(), 30);
  EXPECT_EQ(L.HeaderHeight(), 20);
  EXPECT_TRUE(L.ShowItemTitles());
  EXPECT_FALSE(L.ShowCheckBoxes());
  EXPECT_FALSE(L.MouseMoveChangeIndex());
  EXPECT_EQ(L.DisabledFontColor(), clGray);
  EXPECT_EQ(L.Items()->Owner(), &L);
  TbsSkinOfficeItem* I = L.Items()->Add();
  EXPECT_FALSE(I->Header());
  EXPECT_TRUE(I->Enabled());
  EXPECT_EQ(I->ImageIndex(), -1);
  EXPECT_FALSE(I->Checked());
  EXPECT_FALSE(I->Active);
}

TEST_F(OfficeList, ANewItemIsActiveExactlyWhenItsIndexIsTheListsIndex) {
  TCountingList* L = NewList(3);
  L->SetItemIndex(0);
  L->Items()->Clear();
  EXPECT_EQ(L->ItemIndex(), 0);
  EXPECT_TRUE(L->Items()->Add()->Active);  // index 0 = ItemIndex
  EXPECT_FALSE(L->Items()->Add()->Active);
  L->SetItemIndex(-1);
  L->Items()->Clear();
  EXPECT_FALSE(L->Items()->Add()->Active);
}

TEST_F(OfficeList, ItemWritesRepaintEvenWhenUnchangedButDataDoesNot) {
  TCountingList* L = NewList(1);
  TbsSkinOfficeItem* I = L->Items()->Items(0);
  const Integer Before = L->Repaints;
  I->SetCaption(I->Caption());
  EXPECT_GT(L->Repaints, Before);
  const Integer AfterCaption = L->Repaints;
  int X = 0;
  I->SetData(&X);
  EXPECT_EQ(L->Repaints, AfterCaption);
  EXPECT_EQ(I->Data(), &X);
  // Inside a collection update the change is held back.
  L->Items()->BeginUpdate();
  I->SetTitle("T");
  EXPECT_EQ(L->Repaints, AfterCaption);
  L->Items()->EndUpdate();
  EXPECT_GT(L->Repaints, AfterCaption);
}

TEST_F(OfficeList, AssignCopiesTheLookButNotDataOrOnClick) {
  TCountingList* L = NewList(2);
  TbsSkinOfficeItem* Src = L->Items()->Items(0);
  TbsSkinOfficeItem* Dst = L->Items()->Items(1);
  Src->SetTitle("标题");
  Src->SetImageIndex(3);
  Src->SetChecked(true);
  Src->SetHeader(true);
  Src->SetEnabled(false);
  int Mine = 0;
  Dst->SetData(&Mine);
  Dst->Assign(Src);
  EXPECT_EQ(Dst->Title(), "标题");
  EXPECT_EQ(Dst->Caption(), "Item 0");
  EXPECT_EQ(Dst->ImageIndex(), 3);
  EXPECT_TRUE(Dst->Checked());
  EXPECT_TRUE(Dst->Header());
  EXPECT_FALSE(Dst->Enabled());
  EXPECT_EQ(Dst->Data(), &Mine);
  ASSERT_TRUE(Dst->OnClick);
  Dst->OnClick(L);
  EXPECT_EQ(Log, (std::vector<String>{"item1"}));
}

TEST_F(OfficeList, AnIndexOutsideTheItemsIsTheListError) {
  TCountingList* L = NewList(2);
  EXPECT_THROW(L->Items()->Items(2), EListError);
  EXPECT_THROW(L->Items()->Delete(-1), EListError);
  EXPECT_EQ(L->Items()->Count(), 2);
  // Selecting past the end stores the index, marks nothing and fires nothing.
  EXPECT_THROW(L->SetItemIndex(2), EListError);
  EXPECT_EQ(L->ItemIndex(), 2);
  EXPECT_FALSE(L->Items()->Items(0)->Active);
  EXPECT_FALSE(L->Items()->Items(1)->Active);
  EXPECT_TRUE(Log.empty());
}

TEST_F(OfficeList, SelectionEventsOnEveryWrite) {
  TCountingList* L = NewList(3);
  const struct {
    Integer Index;
    std::vector<String> Events;
  } Cases[] = {
      {1, {"item1", "list"}},
      {1, {"item1", "list"}},  // the same index again
      {0, {"item0", "list"}},
      {-1, {}},
  };
  for (const auto& C : Cases) {
    Log.clear();
    L->SetItemIndex(C.Index);
    EXPECT_EQ(Log, C.Events) << C.Index;
    EXPECT_EQ(L->ItemIndex(), C.Index);
  }
  // -1 leaves the marks as they were.
  EXPECT_TRUE(L->Items()->Items(0)->Active);
  // Loading selects silently.
  L->BeginLoading();
  Log.clear();
  L->SetItemIndex(2);
  EXPECT_TRUE(Log.empty());
  EXPECT_TRUE(L->Items()->Items(2)->Active);
  L->EndLoading();
}

TEST_F(OfficeList, TheScrollBarFollowsTheContentHeight) {
  TCountingList* L = NewList(10);
  ASSERT_NE(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ScrollBar->Max(), 300);
  EXPECT_EQ(L->ScrollBar->PageSize(), 146);
  EXPECT_EQ(L->ScrollBar->Width(), 19);
  Integer Min, Max, Page, Pos;
  while (L->Items()->Count() > 4) L->Items()->Delete(L->Items()->Count() - 1);
  EXPECT_EQ(L->ScrollBar, nullptr);
  L->GetScrollInfo(Min, Max, Page, Pos);
  EXPECT_EQ(Max, 0);
  EXPECT_EQ(Page, 0);
  TbsSkinOfficeListBox Empty(nullptr);
  EXPECT_EQ(Empty.CalcHeight(7), 5);
  EXPECT_EQ(Empty.ItemAtPos(10, 10), -1);
  Empty.FindDown();
  Empty.FindPageDown();
  EXPECT_EQ(Empty.ItemIndex(), -1);
}

TEST_F(OfficeList, ScrollingAnItemIntoViewAndTheWheel) {
  TCountingList* L = NewList(10);
  L->SetItemIndex(9);
  // Item 9 spans 272..302 (items area from 2); scrolled until it ends just inside the area's bottom.
  EXPECT_EQ(L->ScrollOffset(), 302 + 2 - 150 + 1);
  EXPECT_EQ(L->Items()->Items(9)->ItemRect.Bottom, L->ItemsRect().Bottom - 1);
  EXPECT_EQ(L->ScrollBar->Position(), L->ScrollOffset());
  L->SetItemIndex(3);
  EXPECT_EQ(L->ScrollOffset(), 90);
  L->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);  // towards the user: one item further
  EXPECT_EQ(L->ScrollOffset(), 120);
  L->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(L->ScrollOffset(), 90);
}

TEST_F(OfficeList, ItemOneBelowAHeaderScrollsBackToTheTop) {
  TCountingList* L = NewList(10);
  L->Items()->Items(0)->SetHeader(true);
  L->SetItemIndex(9);
  ASSERT_GT(L->ScrollOffset(), 0);
  L->SetItemIndex(1);
  EXPECT_EQ(L->ScrollOffset(), 0);
  EXPECT_TRUE(L->Items()->Items(0)->IsVisible);
}

TEST_F(OfficeList, GrowingWhileScrolledToTheEndLeavesNoEmptyBand) {
  TCountingList* L = NewList(10);
  L->SetItemIndex(9);
  const Integer Offset = L->ScrollOffset();
  L->SetHeight(210);
  EXPECT_LT(L->ScrollOffset(), Offset);
  EXPECT_EQ(L->Items()->Items(9)->ItemRect.Bottom, L->ItemsRect().Bottom);
}

TEST_F(OfficeList, KeyboardFindRules) {
  // Rows: 0 A, 1 B (disabled), 2 header, 3 C, 4 D, 5 E.
  TCountingList* L = NewList(6);
  L->Items()->Items(1)->SetEnabled(false);
  L->Items()->Items(2)->SetHeader(true);
  L->SetItemIndex(0);
  const struct {
    Integer From;
    void (TbsSkinOfficeListBox::*Find)();
    Integer To;
    bool Fires;
  } Cases[] = {
      {0, &TbsSkinOfficeListBox::FindUp, 0, false},   // nothing above the first
      {0, &TbsSkinOfficeListBox::FindDown, 3, true},  // past the disabled row and the header
      {3, &TbsSkinOfficeListBox::FindUp, 0, true},
      {0, &TbsSkinOfficeListBox::FindPageDown, 3, true},  // first item under the passed header
      {5, &TbsSkinOfficeListBox::FindPageUp, 0, true},    // across the header to the group above
      {-1, &TbsSkinOfficeListBox::FindDown, 0, true},
      {5, &TbsSkinOfficeListBox::FindDown, 5, false},
  };
  for (const auto& C : Cases) {
    L->SetItemIndex(C.From);
    Log.clear();
    (L->*C.Find)();
    EXPECT_EQ(L->ItemIndex(), C.To) << C.From;
    EXPECT_EQ(!Log.empty(), C.Fires) << C.From;
  }
  // Keys reach the same rules.
  L->SetFocus();
  L->SetItemIndex(0);
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(L->ItemIndex(), 3);
  wintest::KeyPress(VK_UP);
  EXPECT_EQ(L->ItemIndex(), 0);
}

TEST_F(OfficeList, MouseSelectsOnReleaseAndHoverSelectsSilently) {
  TCountingList* L = NewList(4);
  L->Items()->Items(2)->SetEnabled(false);
  L->SetMouseMoveChangeIndex(true);
  wintest::MouseMove(At(L, 20, 2 + 30 + 10));
  EXPECT_EQ(L->ItemIndex(), 1);
  EXPECT_TRUE(L->Items()->Items(1)->Active);
  EXPECT_TRUE(Log.empty());
  wintest::Click(At(L, 20, 2 + 10));
  EXPECT_EQ(L->ItemIndex(), 0);
  EXPECT_EQ(Log, (std::vector<String>{"item0", "list"}));
  EXPECT_TRUE(L->Focused());
  // A disabled row is not hit.
  EXPECT_EQ(L->ItemAtPos(20, 2 + 60 + 10), -1);
  Log.clear();
  wintest::Click(At(L, 20, 2 + 60 + 10));
  EXPECT_EQ(L->ItemIndex(), 0);
  EXPECT_TRUE(Log.empty());
}

TEST_F(OfficeList, CheckBoxesToggleByClickInTheCheckAreaAndBySpace) {
  TCountingList* L = NewList(2);
  L->SetShowCheckBoxes(true);
  L->Repaint();
  ASSERT_EQ(L->CheckOffset(), 14);
  wintest::Click(At(L, 6, 2 + 10));
  EXPECT_TRUE(L->Items()->Items(0)->Checked());
  EXPECT_EQ(Log, (std::vector<String>{"item0", "list", "check"}));
  Log.clear();
  wintest::Click(At(L, 60, 2 + 10));  // on the text: selects again, no toggle
  EXPECT_TRUE(L->Items()->Items(0)->Checked());
  EXPECT_EQ(Log, (std::vector<String>{"item0", "list"}));
  wintest::KeyPress(VK_SPACE);
  EXPECT_FALSE(L->Items()->Items(0)->Checked());
}

TEST_F(OfficeList, DefaultLookPaintsRowsByKind) {
  TCountingList* L = NewList(3);
  L->Items()->Items(0)->SetHeader(true);
  L->SetItemIndex(1);
  L->Items()->Items(2)->SetImageIndex(5);  // no image list: the caption alone
  L->Repaint();
  EXPECT_EQ(PixelOf(L, 0, 0), COLORREF(ColorToRGB(clBtnShadow)));         // frame
  EXPECT_EQ(PixelOf(L, 140, 4), COLORREF(ColorToRGB(clBtnShadow)));       // header row
  EXPECT_EQ(PixelOf(L, 140, 22 + 4), COLORREF(ColorToRGB(clHighlight)));  // selected row
  EXPECT_EQ(PixelOf(L, 140, 52 + 4), COLORREF(ColorToRGB(clWindow)));
}

TEST_F(OfficeList, ACaptionWithoutAnImageIsIndentedUnderTitles) {
  // Rows are 30 high from y 2; the text rectangle is the row inset by 2, so its left edge is at 4.
  const struct {
    Integer ImageIndex;
    bool ShowTitles;
    Integer TextLeft;
  } Cases[] = {{5, true, 14}, {-1, true, 14}, {5, false, 4}};
  for (const auto& C : Cases) {
    TCountingList* L = NewList(1);
    TFont F;
    F.SetName("NerivoTest");  // solid glyph boxes: exact columns
    L->SetDefaultFont(&F);
    L->Items()->Items(0)->SetImageIndex(C.ImageIndex);
    L->SetShowItemTitles(C.ShowTitles);
    L->Repaint();
    Integer First = -1;
    for (Integer X = 2; X < 100 && First == -1; ++X)
      for (Integer Y = 4; Y < 30; ++Y)
        if (PixelOf(L, X, Y) == COLORREF(ColorToRGB(clWindowText))) {
          First = X;
          break;
        }
    EXPECT_EQ(First, C.TextLeft) << C.ImageIndex << " " << C.ShowTitles;
  }
}

TEST_F(OfficeList, SkinnedLookWithoutTheItemElementLeavesRowsEmpty) {
  TCountingList* L = NewList(2);
  L->SetSkinData(Skin.get());
  L->SetItemIndex(0);
  const TRect Items = L->ItemsRect();
  const COLORREF Row = PixelOf(L, Items.Left + 10, Items.Top + 15);
  EXPECT_EQ(Row, SliceColor("listbox", 2, 4));  // selected row: the element's active item picture
  // A header row is composed from the header element.
  L->Items()->Items(1)->SetHeader(true);
  const TRect Header = L->Items()->Items(1)->ItemRect;
  EXPECT_EQ(PixelOf(L, Header.Right - 10, Header.Top + Header.Height() / 2), SliceColor("menuheader", 0, 4));
  L->SetItemSkinDataName("nosuchelement");
  L->Repaint();
  EXPECT_EQ(PixelOf(L, Items.Left + 10, Items.Top + 15), SliceColor("listbox", 0, 4));  // the list's client
}

}  // namespace
