#include "skin/menus/bsskinpopupwindow.h"

#include <gtest/gtest.h>

#include "skin/menus/testkit/skinmenustestkit.h"

namespace {

class SkinPopupLevel : public TSkinMenuTest {
 protected:
  // Count entries "Item0", "Item1", ... under a new root.
  TMenuItem* RootWith(Integer Count) {
    TMenuItem* Root = NewRoot();
    for (Integer i = 0; i < Count; ++i) AddItem(Root, "Item" + std::to_string(i));
    return Root;
  }
};

TEST_F(SkinPopupLevel, DefaultLookSizesToItsCaptionsAndListsOnlyVisibleItems) {
  TMenuItem* Root = NewRoot();
  AddItem(Root, "Open");
  AddItem(Root, "Save as")->SetShortCut(TextToShortCut("Ctrl+S"));
  AddItem(Root, "-");
  AddItem(Root, "Hidden")->SetVisible(false);
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  ASSERT_EQ(W->ItemCount(), 3);
  // "Save as  Ctrl+S": 15 characters of 7 pixels, + 2, the glyph and arrow columns (19 + 19), + 10.
  EXPECT_EQ(W->Width(), 15 * 7 + 2 + 19 + 19 + 10);
  EXPECT_EQ(W->Height(), 20 + 20 + 4 + 4);
  EXPECT_EQ(W->NewItemsRect, Rect(2, 2, W->Width() - 2, W->Height() - 2));
  EXPECT_EQ(W->Item(1)->ObjectRect, Rect(2, 22, W->Width() - 2, 42));
  EXPECT_EQ(W->Item(2)->ObjectRect, Rect(2, 42, W->Width() - 2, 46));
  // Every level opens with its first usable entry highlighted.
  EXPECT_EQ(W->ActiveItem, 0);
  EXPECT_TRUE(W->Item(0)->Active);
  // A popup menu level is a captionless topmost tool popup that takes no activation.
  EXPECT_EQ(GetWindowLong(W->Handle(), GWL_STYLE) & (WS_POPUP | WS_CAPTION), LONG(WS_POPUP));
  EXPECT_NE(GetWindowLong(W->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_NE(GetActiveWindow(), W->Handle());
}

TEST_F(SkinPopupLevel, SkinnedLookTakesTheWindowPictureAndTheEntryElementsHeights) {
  TMenuItem* Root = NewRoot();
  AddItem(Root, "Open");
  AddItem(Root, "-");
  AddItem(Root, "Close");
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100), Skin.get());
  ASSERT_NE(W->PW, nullptr);
  ASSERT_NE(W->DSMI, nullptr);
  // Window picture 24 x 24 around a 12 x 12 items rectangle; entries 20 high, the divider 6; the
  // entry element's text margins 6 + 6.
  EXPECT_EQ(W->Width(), 5 * 7 + 2 + 19 + 19 + 24 - 12 + 6 + 6);
  EXPECT_EQ(W->Height(), 20 + 6 + 20 + 24 - 12);
  EXPECT_EQ(W->NewItemsRect, Rect(6, 6, W->Width() - 6, W->Height() - 6));
  EXPECT_EQ(W->Item(2)->ObjectRect.Top, 6 + 20 + 6);
}

TEST_F(SkinPopupLevel, AMenuLimitedToSomeEntriesScrollsAndKeepsNormalPlacement) {
  Menu->MaxMenuItemsInWindow = 3;
  TbsSkinPopupWindow* W = Open(RootWith(6), Rect(300, 200, 300, 200));
  EXPECT_TRUE(W->Scroll);
  EXPECT_TRUE(W->Scroll2);
  EXPECT_EQ(W->Height(), 3 * 20 + 24);
  EXPECT_EQ(W->VisibleCount, 3);
  EXPECT_EQ(W->Item(0)->ObjectRect.Top, 2 + 10);
  EXPECT_FALSE(W->Item(3)->FVisible);
  EXPECT_EQ(W->Left(), 300);
  EXPECT_EQ(W->Top(), 200);
}

TEST_F(SkinPopupLevel, AMenuTallerThanTheWorkAreaFillsItsHeightBesideTheAnchor) {
  const TRect WA = WorkArea();
  TbsSkinPopupWindow* W = Open(RootWith(WA.Height() / 20 + 5), Rect(300, 500, 300, 500));
  EXPECT_TRUE(W->Scroll);
  EXPECT_FALSE(W->Scroll2);
  EXPECT_EQ(W->Top(), WA.Top);
  EXPECT_EQ(W->Height(), WA.Height());
  EXPECT_EQ(W->Left(), 301);
  EXPECT_LT(W->VisibleCount, W->ItemCount());
}

TEST_F(SkinPopupLevel, AMenuWiderThanTheWorkAreaIsCutToIt) {
  TMenuItem* Root = NewRoot();
  AddItem(Root, String(400, 'W'));
  const TRect WA = WorkArea();
  TbsSkinPopupWindow* W = Open(Root, Rect(700, 100, 700, 100));
  EXPECT_EQ(W->Width(), WA.Width());
  EXPECT_EQ(W->Left(), WA.Left);
}

// Where a level opens: below, above or beside its anchor, always on the work area.
TEST_F(SkinPopupLevel, PlacementFollowsTheRoomAroundTheAnchor) {
  const TRect WA = WorkArea();
  const Integer Mid = WA.Top + WA.Height() / 2;
  struct TCase {
    const char* Name;
    Integer Entries;
    TRect R;
    bool Up;
    // Expected position from the level's size W x H.
    std::function<TPoint(Integer W, Integer H)> Want;
  };
  const TCase Cases[] = {
      {"below a point", 2, Rect(100, 100, 100, 100), false,
       [](Integer, Integer) {
         return TPoint{100, 100};
       }},
      {"pushed left at the right edge", 2, Rect(WA.Right - 10, 100, WA.Right - 10, 100), false,
       [&](Integer W, Integer) {
         return TPoint{WA.Right - W, 100};
       }},
      {"above a point in the lower half", 2, Rect(500, WA.Bottom - 5, 500, WA.Bottom - 5), false,
       [&](Integer, Integer H) {
         return TPoint{500, WA.Bottom - 5 - H};
       }},
      {"upper half, too tall below: up to the bottom and beside", 30, Rect(500, Mid - 20, 500, Mid - 20),
       false,
       [&](Integer, Integer H) {
         return TPoint{501, WA.Bottom - H};
       }},
      {"above a rectangle", 2, Rect(500, 600, 580, 620), true,
       [](Integer, Integer H) {
         return TPoint{500, 600 - H};
       }},
      {"no room above in the upper half: below", 2, Rect(500, WA.Top + 5, 580, WA.Top + 25), true,
       [&](Integer, Integer) {
         return TPoint{500, WA.Top + 25};
       }},
  };
  for (const TCase& C : Cases) {
    TbsSkinPopupWindow* W = Open(RootWith(C.Entries), C.R, nullptr, C.Up);
    ASSERT_NE(W, nullptr) << C.Name;
    const TPoint Want = C.Want(W->Width(), W->Height());
    EXPECT_EQ(W->Left(), Want.X) << C.Name;
    EXPECT_EQ(W->Top(), Want.Y) << C.Name;
    EXPECT_GE(W->Top(), WA.Top) << C.Name;
    EXPECT_LE(W->Top() + W->Height(), WA.Bottom) << C.Name;
    Menu->HidePopups(0);
  }
}

TEST_F(SkinPopupLevel, ASubmenuAtTheRightEdgeOpensOnTheLeftOfItsParentEntry) {
  TMenuItem* Root = NewRoot();
  TMenuItem* Sub = AddItem(Root, "More");
  AddItem(Sub, "Inner");
  const TRect WA = WorkArea();
  TbsSkinPopupWindow* W = Open(Root, Rect(WA.Right - 5, 100, WA.Right - 5, 100));
  Key(VK_RIGHT);
  ASSERT_EQ(Menu->PopupCount(), 2);
  EXPECT_EQ(Level(1)->Left(), W->Left() + W->Item(0)->ObjectRect.Left - Level(1)->Width() - 1);
}

TEST_F(SkinPopupLevel, ArrowKeysMoveOverUsableEntriesAndWrapAtTheEnds) {
  TMenuItem* Root = NewRoot();
  AddItem(Root, "A");
  AddItem(Root, "-");
  AddItem(Root, "B", false);
  AddItem(Root, "C");
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  ASSERT_EQ(W->ActiveItem, 0);
  Key(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 3);
  EXPECT_TRUE(W->Item(3)->Active);
  EXPECT_FALSE(W->Item(0)->Active);
  Key(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 0);
  Key(VK_UP);
  EXPECT_EQ(W->ActiveItem, 3);
  Key(VK_UP);
  EXPECT_EQ(W->ActiveItem, 0);
  // Left in a single level does nothing; Escape closes the menu and ends menu mode.
  Key(VK_LEFT);
  EXPECT_EQ(Menu->PopupCount(), 1);
  Key(VK_ESCAPE);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_FALSE(Host->Hooked());
}

TEST_F(SkinPopupLevel, SubmenuKeysOpenAndCloseOneLevelAtATime) {
  TMenuItem* Root = NewRoot();
  TMenuItem* Sub = AddItem(Root, "More");
  Integer Runs = 0;
  AddItem(Sub, "Inner")->OnClick = [&](TObject*) { ++Runs; };
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  // The entry highlighted at opening waits for a key or the mouse before opening its submenu.
  wintest::AdvanceTime(Clock(), 1000);
  EXPECT_EQ(Menu->PopupCount(), 1);
  Key(VK_RIGHT);
  ASSERT_EQ(Menu->PopupCount(), 2);
  EXPECT_TRUE(W->Item(0)->Down);
  Key(VK_LEFT);
  EXPECT_EQ(Menu->PopupCount(), 1);
  EXPECT_FALSE(W->Item(0)->Down);
  Key(VK_RETURN);
  ASSERT_EQ(Menu->PopupCount(), 2);
  Key(VK_ESCAPE);
  EXPECT_EQ(Menu->PopupCount(), 1);
  EXPECT_TRUE(Menu->Visible());
  Key(VK_RIGHT);
  Key(VK_RETURN);
  EXPECT_EQ(Runs, 1);
  EXPECT_FALSE(Menu->Visible());
}

TEST_F(SkinPopupLevel, AcceleratorsRunEntriesEvenScrolledOutButDisabledOnesOnlyHighlight) {
  Menu->MaxMenuItemsInWindow = 2;
  TMenuItem* Root = NewRoot();
  AddItem(Root, "&Alpha");
  AddItem(Root, "&Beta", false);
  AddItem(Root, "Gamma");
  Integer Runs = 0;
  AddItem(Root, "&Zeta")->OnClick = [&](TObject*) { ++Runs; };
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  ASSERT_FALSE(W->Item(3)->FVisible);
  Key('B');
  EXPECT_EQ(W->ActiveItem, 1);
  EXPECT_TRUE(Menu->Visible());
  Key('Z');
  EXPECT_EQ(Runs, 1);
  EXPECT_FALSE(Menu->Visible());
}

TEST_F(SkinPopupLevel, KeyboardMovesPastTheShownRangeScrollAndWrap) {
  Menu->MaxMenuItemsInWindow = 3;
  TbsSkinPopupWindow* W = Open(RootWith(6), Rect(100, 100, 100, 100));
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(W->VisibleStartIndex, 0);
  Key(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 3);
  EXPECT_EQ(W->VisibleStartIndex, 1);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 5);
  EXPECT_EQ(W->VisibleStartIndex, 3);
  // Past the last entry: the first page and the first entry.
  Key(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 0);
  EXPECT_EQ(W->VisibleStartIndex, 0);
  // Before the first: the last page.
  Key(VK_UP);
  EXPECT_EQ(W->ActiveItem, 5);
  EXPECT_EQ(W->VisibleStartIndex, W->LastPageStartIndex());
  EXPECT_EQ(W->VisibleStartIndex, 3);
  EXPECT_TRUE(W->Item(5)->FVisible);
  EXPECT_FALSE(W->Item(2)->FVisible);
}

TEST_F(SkinPopupLevel, RestingOnTheDownMarkerScrollsEveryTenthOfASecondUntilTheEnd) {
  Menu->MaxMenuItemsInWindow = 3;
  TbsSkinPopupWindow* W = Open(RootWith(6), Rect(100, 100, 100, 100));
  const TPoint Marker{W->Left() + W->Width() / 2, W->Top() + W->NewItemsRect.Bottom - 5};
  HoverAt(Marker);
  EXPECT_EQ(W->ScrollCode, 2);
  const Integer Start = W->VisibleStartIndex;
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_EQ(W->VisibleStartIndex, Start + 1);
  // Moving off the window pauses the scrolling.
  HoverAt(TPoint{W->Left() + W->Width() + 50, W->Top() + 5});
  EXPECT_EQ(W->ScrollCode, 0);
  const Integer Paused = W->VisibleStartIndex;
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(W->VisibleStartIndex, Paused);
  // Back on the marker it runs to the end and stops by itself.
  HoverAt(Marker);
  wintest::AdvanceTime(Clock(), 1000);
  EXPECT_EQ(W->VisibleStartIndex, 3);
  EXPECT_EQ(W->ScrollCode, 0);
}

TEST_F(SkinPopupLevel, OnlyALeftReleaseOverAUsableEntryRunsIt) {
  TMenuItem* Root = NewRoot();
  Integer Runs = 0;
  AddItem(Root, "Run")->OnClick = [&](TObject*) { ++Runs; };
  AddItem(Root, "-");
  AddItem(Root, "Off", false)->OnClick = [&](TObject*) { ++Runs; };
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  wintest::Click(EntryPoint(W, 1));
  wintest::Click(EntryPoint(W, 2));
  wintest::Click(TPoint{W->Left() + 1, W->Top() + 1});
  wintest::Click(EntryPoint(W, 0), TInputButton::Right);
  EXPECT_EQ(Runs, 0);
  EXPECT_TRUE(Menu->Visible());
  wintest::Click(EntryPoint(W, 0));
  EXPECT_EQ(Runs, 1);
  EXPECT_FALSE(Menu->Visible());
}

TEST_F(SkinPopupLevel, TheWheelDoesNothingAnywhereWhileAMenuIsOpen) {
  auto* Target = NewControl<TRecordingControl>(Form, Bounds(10, 10, 100, 100));
  Open(RootWith(2), Rect(300, 300, 300, 300));
  Target->SetFocus();
  wintest::MouseWheel(120, wintest::ScreenPoint(Target->Handle(), 5, 5));
  EXPECT_EQ(Target->CountOf(WM_MOUSEWHEEL), 0);
  Menu->Hide();
  Host->SkinMenuClose();
  wintest::MouseWheel(120, wintest::ScreenPoint(Target->Handle(), 5, 5));
  EXPECT_EQ(Target->CountOf(WM_MOUSEWHEEL), 1);
}

TEST_F(SkinPopupLevel, AnEntryWithASubmenuHighlightedAtOpeningOpensOnlyOnceTheMouseComes) {
  TMenuItem* Root = NewRoot();
  TMenuItem* Sub = AddItem(Root, "More");
  AddItem(Sub, "Inner");
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  EXPECT_TRUE(W->Item(0)->WaitCommand);
  wintest::AdvanceTime(Clock(), 2000);
  EXPECT_EQ(Menu->PopupCount(), 1);
  HoverAt(EntryPoint(W, 0));
  EXPECT_FALSE(W->Item(0)->WaitCommand);
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(Menu->PopupCount(), 2);
}

TEST_F(SkinPopupLevel, AnEmptyLevelTakesKeysWithoutFailing) {
  TMenuItem* Root = NewRoot();
  AddItem(Root, "Gone")->SetVisible(false);
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->ItemCount(), 0);
  EXPECT_EQ(W->Width(), 19 + 19 + 10);
  EXPECT_EQ(W->Height(), 4);
  for (Word K : {VK_DOWN, VK_UP, VK_RETURN, VK_RIGHT, VK_LEFT}) Key(K);
  EXPECT_TRUE(Menu->Visible());
  Key(VK_ESCAPE);
  EXPECT_FALSE(Menu->Visible());
}

}  // namespace
