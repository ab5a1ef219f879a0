#include "platform/ui/comctrls/tabcontrol.h"

#include <gtest/gtest.h>

#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

// The tab control with its tabs set directly.
class TTestTabs : public TCustomTabControl {
 public:
  using TCustomTabControl::TCustomTabControl;
  void SetTabs(std::initializer_list<const char*> Captions) {
    std::vector<TTabItem> Items;
    for (const char* C : Captions) Items.push_back({C, -1});
    SetTabItems(Items);
  }
};

class TabControlTest : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    Form = NewForm();
    Tabs = NewControl<TTestTabs>(Form, Bounds(10, 10, 200, 100));
  }
  TForm* Form = nullptr;
  TTestTabs* Tabs = nullptr;
};

// The test font: a 13-pixel line and a 7-pixel advance, so "Ab" is 14 wide and its tab 26 (19 high).
struct TMetricCase {
  TTabPosition Position;
  Integer TabWidth, TabHeight;
  Integer ImageWidth, ImageHeight;  // 0: no image list
  TRect First, Second, Page;
};

TEST_F(TabControlTest, TabRectanglesAndPageRectangleFollowPositionItemSizeAndImages) {
  const TMetricCase Cases[] = {
      {tpTop, 0, 0, 0, 0, Rect(2, 2, 28, 21), Rect(28, 2, 68, 21), Rect(4, 25, 196, 96)},
      {tpBottom, 0, 0, 0, 0, Rect(2, 79, 28, 98), Rect(28, 79, 68, 98), Rect(4, 4, 196, 75)},
      {tpLeft, 0, 0, 0, 0, Rect(2, 2, 21, 28), Rect(2, 28, 21, 68), Rect(25, 4, 196, 96)},
      {tpRight, 0, 0, 0, 0, Rect(179, 2, 198, 28), Rect(179, 28, 198, 68), Rect(4, 4, 175, 96)},
      // A set item size replaces both measures.
      {tpTop, 50, 30, 0, 0, Rect(2, 2, 52, 32), Rect(52, 2, 102, 32), Rect(4, 36, 196, 96)},
      // An image list widens every tab by its width; a taller image raises the row.
      {tpTop, 0, 0, 16, 20, Rect(2, 2, 44, 28), Rect(44, 2, 100, 28), Rect(4, 32, 196, 96)},
      {tpTop, 50, 0, 16, 4, Rect(2, 2, 68, 21), Rect(68, 2, 134, 21), Rect(4, 25, 196, 96)},
      // Down the side the image list lengthens each tab by its height and its width sets the column;
      // tabs that pass the bottom wrap into a further column, the first one next to the page.
      {tpLeft, 0, 0, 20, 16, Rect(28, 2, 54, 44), Rect(2, 2, 28, 58), Rect(58, 4, 196, 96)},
  };
  for (const TMetricCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "position " << C.Position << " size " << C.TabWidth << "x"
                                    << C.TabHeight << " images " << C.ImageWidth << "x" << C.ImageHeight);
    TCustomImageList Images(nullptr, std::max(1, C.ImageWidth), std::max(1, C.ImageHeight));
    Tabs->SetImages(C.ImageWidth ? &Images : nullptr);
    Tabs->SetTabPosition(C.Position);
    Tabs->SetTabWidth(C.TabWidth);
    Tabs->SetTabHeight(C.TabHeight);
    Tabs->SetTabs({"Ab", "Abcd"});
    EXPECT_EQ(Tabs->TabRect(0), C.First);
    EXPECT_EQ(Tabs->TabRect(1), C.Second);
    EXPECT_EQ(Tabs->DisplayRect(), C.Page);
    // TCM_ADJUSTRECT with wParam 1 turns the page rectangle back into the control's.
    TRect Back = C.Page;
    Tabs->Perform(TCM_ADJUSTRECT, 1, LPARAM(&Back));
    EXPECT_EQ(Back, Rect(0, 0, 200, 100));
    // Hit tests agree with the rectangles (right and bottom edges outside).
    EXPECT_EQ(Tabs->IndexOfTabAt(C.Second.Left, C.Second.Top), 1);
    EXPECT_EQ(Tabs->IndexOfTabAt(C.First.Right - 1, C.First.Bottom - 1), 0);
    EXPECT_EQ(Tabs->IndexOfTabAt(100, 90), -1);
    Tabs->SetImages(nullptr);
  }
}

TEST_F(TabControlTest, MessagesAnswerForMissingTabs) {
  Tabs->SetTabs({"A"});
  TRect R = Rect(1, 2, 3, 4);
  EXPECT_EQ(Tabs->Perform(TCM_GETITEMRECT, 5, LPARAM(&R)), 0);
  EXPECT_EQ(R, TRect{});
  EXPECT_EQ(Tabs->Perform(TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(Tabs->Perform(TCM_SETCURSEL, 3, 0), -1);  // refused
  EXPECT_EQ(Tabs->TabIndex(), -1);
  EXPECT_EQ(Tabs->Perform(TCM_SETCURSEL, 0, 0), -1);  // the previous selection
  EXPECT_EQ(Tabs->Perform(TCM_GETCURSEL, 0, 0), 0);
  // Without tabs the page takes everything but the border.
  Tabs->SetTabs({});
  EXPECT_EQ(Tabs->TabIndex(), -1);
  EXPECT_EQ(Tabs->DisplayRect(), Rect(4, 6, 196, 96));
  EXPECT_EQ(Tabs->RowCount(), 0);
}

TEST_F(TabControlTest, MultiLineWrapsAndKeepsTheSelectedRowNextToThePage) {
  Tabs->SetWidth(100);  // room for one 54-pixel tab per row
  Tabs->SetMultiLine(true);
  Tabs->SetTabs({"Abcdef", "Abcdef", "Abcdef"});
  Tabs->SetTabIndex(0);
  EXPECT_EQ(Tabs->RowCount(), 3);
  EXPECT_EQ(Tabs->TabRect(0), Rect(2, 40, 56, 59));
  EXPECT_EQ(Tabs->TabRect(1), Rect(2, 21, 56, 40));
  EXPECT_EQ(Tabs->TabRect(2), Rect(2, 2, 56, 21));
  EXPECT_EQ(Tabs->DisplayRect().Top, 3 * 19 + 6);
  EXPECT_FALSE(Tabs->Scrolling());
  Tabs->SetTabIndex(2);
  EXPECT_EQ(Tabs->TabRect(2), Rect(2, 40, 56, 59));
  EXPECT_EQ(Tabs->TabRect(0), Rect(2, 21, 56, 40));
  EXPECT_EQ(Tabs->TabRect(1), Rect(2, 2, 56, 21));
}

TEST_F(TabControlTest, ARowTooLongScrollsWithItsArrowsAndToTheSelectedTab) {
  Tabs->SetWidth(100);
  Tabs->SetTabs({"Abcdef", "Abcdef", "Abcdef", "Abcdef"});  // 4 x 54 pixels
  ASSERT_TRUE(Tabs->Scrolling());
  HWND W = Tabs->Handle();
  const Integer Y = 10;
  // Clicking the right arrow shows one tab more each time, up to the last tab that ends the row.
  for (Integer Expected : {1, 2, 3, 3}) {
    wintest::Click(wintest::ScreenPoint(W, 90, Y));
    EXPECT_EQ(Tabs->FirstVisibleTab(), Expected);
  }
  EXPECT_EQ(Tabs->TabRect(3), Rect(2, 2, 56, 21));
  EXPECT_EQ(Tabs->TabRect(0), Rect(2 - 3 * 54, 2, 2 - 2 * 54, 21));
  wintest::Click(wintest::ScreenPoint(W, 70, Y));  // the left arrow
  EXPECT_EQ(Tabs->FirstVisibleTab(), 2);
  EXPECT_EQ(Tabs->TabIndex(), -1);  // the arrows select nothing
  // The arrows cover what lies under them.
  EXPECT_EQ(Tabs->IndexOfTabAt(70, Y), -1);
  // WM_HSCROLL positions the row; out of range it is clamped.
  Tabs->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
  EXPECT_EQ(Tabs->FirstVisibleTab(), 1);
  Tabs->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 9), 0);
  EXPECT_EQ(Tabs->FirstVisibleTab(), 3);
  // Selecting a tab scrolls it into view: before the first shown, or past the arrows.
  Tabs->SetTabIndex(0);
  EXPECT_EQ(Tabs->FirstVisibleTab(), 0);
  Tabs->SetTabIndex(2);
  EXPECT_EQ(Tabs->FirstVisibleTab(), 2);
  EXPECT_LE(Tabs->TabRect(2).Right, 100 - 2 - 2 * TCustomTabControl::ScrollArrowSize);
  // Room for every tab: no arrows, the row starts again at its first tab.
  Tabs->SetWidth(300);
  EXPECT_FALSE(Tabs->Scrolling());
  EXPECT_EQ(Tabs->FirstVisibleTab(), 0);
  EXPECT_EQ(Tabs->TabRect(0).Left, 2);
}

TEST_F(TabControlTest, OwnerDrawHandsEachShownTabToOnDrawTab) {
  Tabs->SetTabs({"Ab", "Abcd", "Abc"});
  Tabs->SetTabIndex(1);
  Tabs->SetOwnerDraw(true);
  struct TCall {
    Integer Index;
    TRect R;
    bool Active;
  };
  std::vector<TCall> Calls;
  Tabs->OnDrawTab = [&](TCustomTabControl* C, Integer I, const TRect& R, bool Active) {
    EXPECT_EQ(C, Tabs);
    Calls.push_back({I, R, Active});
  };
  wintest::PaintWindowToBitmap(Tabs->Handle());
  ASSERT_EQ(Calls.size(), 3u);
  EXPECT_EQ(Calls[0].R, Rect(2, 2, 28, 21));
  EXPECT_FALSE(Calls[0].Active);
  // The selected tab is drawn raised by 2 on every side.
  EXPECT_EQ(Calls[1].R, Rect(26, 0, 70, 23));
  EXPECT_TRUE(Calls[1].Active);
  EXPECT_FALSE(Calls[2].Active);
}

TEST_F(TabControlTest, HotTrackFollowsTheMouse) {
  Tabs->SetTabs({"Ab", "Abcd"});
  HWND W = Tabs->Handle();
  wintest::MouseMove(wintest::ScreenPoint(W, 30, 10));
  EXPECT_EQ(Tabs->HotTab(), -1);  // off by default
  Tabs->SetHotTrack(true);
  wintest::MouseMove(wintest::ScreenPoint(W, 31, 10));
  EXPECT_EQ(Tabs->HotTab(), 1);
  wintest::MouseMove(wintest::ScreenPoint(W, 5, 10));
  EXPECT_EQ(Tabs->HotTab(), 0);
  wintest::MouseMove(wintest::ScreenPoint(W, 150, 60));
  EXPECT_EQ(Tabs->HotTab(), -1);
}

}  // namespace
