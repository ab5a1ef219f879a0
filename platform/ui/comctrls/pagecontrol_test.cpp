#include "platform/ui/comctrls/pagecontrol.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

class PageControlTest : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    Form = NewForm();
    Pages = NewControl<TPageControl>(Form, Bounds(10, 10, 300, 200));
    for (const char* Caption : {"One", "Two", "Three", "Four"}) {
      auto* S = new TTabSheet(Form);
      S->SetCaption(Caption);
      S->SetPageControl(Pages);
      Sheets.push_back(S);
    }
    Pages->OnChanging = [this](TObject*, bool& Allow) {
      Log.push_back("changing " + activeCaption());
      Allow = AllowChange;
    };
    Pages->OnChange = [this](TObject*) { Log.push_back("change " + activeCaption()); };
  }
  String activeCaption() { return Pages->ActivePage() ? Pages->ActivePage()->Caption() : "-"; }
  void ClickTab(Integer Index) {
    const TRect R = Pages->TabRect(Index);
    wintest::Click(wintest::ScreenPoint(Pages->Handle(), R.Left + 3, R.Top + 3));
  }
  TForm* Form = nullptr;
  TPageControl* Pages = nullptr;
  std::vector<TTabSheet*> Sheets;
  std::vector<String> Log;
  bool AllowChange = true;
};

TEST_F(PageControlTest, TheActivePageAloneIsShownOverThePageRectangle) {
  EXPECT_EQ(Pages->PageCount(), 4);
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);  // the first page to get a tab
  EXPECT_EQ(Pages->TabIndex(), 0);
  EXPECT_EQ(Sheets[0]->BoundsRect(), Pages->DisplayRect());
  EXPECT_TRUE(Sheets[0]->Visible());
  EXPECT_FALSE(Sheets[1]->Visible());
  Pages->SetActivePageIndex(2);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_EQ(Pages->TabIndex(), 2);
  EXPECT_TRUE(Sheets[2]->Visible());
  EXPECT_FALSE(Sheets[0]->Visible());
  EXPECT_EQ(Sheets[2]->BoundsRect(), Pages->DisplayRect());
  EXPECT_TRUE(Log.empty());  // pages shown by code fire no event
  Pages->SetActivePageIndex(9);
  EXPECT_EQ(Pages->ActivePage(), nullptr);
  EXPECT_EQ(Pages->TabIndex(), -1);
  EXPECT_FALSE(Sheets[2]->Visible());
  // A page of another control is not taken.
  TPageControl Other(Form);
  auto* Foreign = new TTabSheet(Form);
  Foreign->SetPageControl(&Other);
  Pages->SetActivePage(Foreign);
  EXPECT_EQ(Pages->ActivePage(), nullptr);
  try {
    Pages->Pages(4);
    ADD_FAILURE() << "no error";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (4)");
  }
}

TEST_F(PageControlTest, AClickOnATabAsksOnChangingThenShowsThePageThenOnChange) {
  ClickTab(2);
  EXPECT_EQ(Log, (std::vector<String>{"changing One", "change Three"}));
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_TRUE(Pages->Focused());
  Log.clear();
  ClickTab(2);  // the selected tab again: nothing
  EXPECT_TRUE(Log.empty());
  AllowChange = false;
  ClickTab(1);
  EXPECT_EQ(Log, std::vector<String>{"changing Three"});
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_EQ(Pages->TabIndex(), 2);
}

TEST_F(PageControlTest, HiddenTabsLeaveTheRowAndTabIndexCountsVisibleTabs) {
  Sheets[1]->SetTabVisible(false);
  EXPECT_EQ(Pages->TabCount(), 3);
  EXPECT_EQ(Pages->Tab(1).Caption, "Three");
  EXPECT_EQ(Sheets[1]->TabIndex(), -1);
  EXPECT_EQ(Sheets[2]->TabIndex(), 1);
  EXPECT_EQ(Sheets[2]->PageIndex(), 2);
  ClickTab(1);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  // Captions and order reach the tabs.
  Sheets[3]->SetCaption("Last");
  Sheets[3]->SetPageIndex(0);
  EXPECT_EQ(Pages->Pages(0), Sheets[3]);
  EXPECT_EQ(Pages->Tab(0).Caption, "Last");
  EXPECT_EQ(Pages->TabIndex(), 2);  // the active page's tab moved along
  Sheets[0]->SetPageIndex(99);      // clamped to the end
  EXPECT_EQ(Pages->Pages(3), Sheets[0]);
}

TEST_F(PageControlTest, RemovingTheActivePageShowsTheNextOne) {
  Pages->SetActivePage(Sheets[3]);
  delete Sheets[3];
  EXPECT_EQ(Pages->PageCount(), 3);
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);  // wraps round to the first
  EXPECT_TRUE(Sheets[0]->Visible());
  Sheets[1]->SetPageControl(nullptr);
  EXPECT_EQ(Sheets[1]->PageControl(), nullptr);
  EXPECT_EQ(Pages->PageCount(), 2);
  EXPECT_EQ(Pages->Tab(1).Caption, "Three");
  Sheets[0]->SetPageControl(nullptr);
  Sheets[2]->SetPageControl(nullptr);
  EXPECT_EQ(Pages->ActivePage(), nullptr);
  EXPECT_EQ(Pages->TabIndex(), -1);
}

struct TNextCase {
  Integer From;  // -1: no current page
  bool GoForward, CheckTabVisible;
  Integer Expected;
};

TEST_F(PageControlTest, FindNextPageWrapsAndSkipsHiddenTabs) {
  Sheets[1]->SetTabVisible(false);
  const TNextCase Cases[] = {
      {0, true, true, 2},  {0, true, false, 1},  {3, true, true, 0},  {0, false, true, 3},
      {2, false, true, 0}, {2, false, false, 1}, {-1, true, true, 0}, {-1, false, true, 3},
  };
  for (const TNextCase& C : Cases) {
    TTabSheet* Got =
        Pages->FindNextPage(C.From < 0 ? nullptr : Sheets[size_t(C.From)], C.GoForward, C.CheckTabVisible);
    EXPECT_EQ(Got, Sheets[size_t(C.Expected)])
        << C.From << " forward " << C.GoForward << " check " << C.CheckTabVisible;
  }
  for (TTabSheet* S : Sheets) S->SetTabVisible(false);
  EXPECT_EQ(Pages->FindNextPage(Sheets[0], true, true), nullptr);
}

TEST_F(PageControlTest, KeysMoveBetweenTabsAndCtrlTabBetweenPages) {
  auto* Edit = NewControl<TRecordingControl>(Sheets[0], Bounds(5, 5, 50, 20));
  Edit->SetFocus();
  ASSERT_TRUE(Edit->Focused());
  // Ctrl+Tab from a control on the page: the next page, with both events.
  wintest::KeyDown(VK_CONTROL);
  wintest::KeyPress(VK_TAB);
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  EXPECT_EQ(Log, (std::vector<String>{"changing One", "change Two"}));
  // The focus left the hidden page for the page control.
  EXPECT_TRUE(Pages->Focused());
  Log.clear();
  wintest::KeyDown(VK_SHIFT);
  wintest::KeyPress(VK_TAB);
  wintest::KeyPress(VK_TAB);
  wintest::KeyUp(VK_SHIFT);
  wintest::KeyUp(VK_CONTROL);
  EXPECT_EQ(Pages->ActivePage(), Sheets[3]);  // backwards, round past the first
  EXPECT_EQ(Log, (std::vector<String>{"changing Two", "change One", "changing One", "change Four"}));
  // The arrows, Home and End on the focused tabs.
  Log.clear();
  wintest::KeyPress(VK_LEFT);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  wintest::KeyPress(VK_HOME);
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
  wintest::KeyPress(VK_LEFT);  // at the first tab: nothing
  wintest::KeyPress(VK_END);
  EXPECT_EQ(Pages->ActivePage(), Sheets[3]);
  EXPECT_EQ(Log, (std::vector<String>{"changing Four", "change Three", "changing Three", "change One",
                                      "changing One", "change Four"}));
  EXPECT_TRUE(Pages->Focused());
  // Refused by OnChanging: Ctrl+Tab leaves the page as it was.
  AllowChange = false;
  wintest::KeyDown(VK_CONTROL);
  wintest::KeyPress(VK_TAB);
  wintest::KeyUp(VK_CONTROL);
  EXPECT_EQ(Pages->ActivePage(), Sheets[3]);
}

TEST_F(PageControlTest, PaintsTheSelectedTabApartFromTheOthers) {
  Pages->SetActivePage(Sheets[1]);
  const TRect Sel = Pages->TabRect(1), Other = Pages->TabRect(2);
  // Just inside the frames, away from the captions.
  EXPECT_EQ(PixelOf(Pages, Sel.Left + 1, Sel.Top + 1), Rgb(stdlook::Face));
  EXPECT_EQ(PixelOf(Pages, Other.Left + 2, Other.Top + 2), Rgb(stdlook::Track));
  EXPECT_EQ(PixelOf(Pages, Other.Left, Other.Top + 5), Rgb(stdlook::FaceBorder));
}

}  // namespace
