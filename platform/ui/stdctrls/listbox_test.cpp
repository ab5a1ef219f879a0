#include "platform/ui/stdctrls/listbox.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/win/scrollbar.h"

namespace {

// Test font: 13-pixel lines, so standard rows are 13 pixels; the list's client area is 100 high,
// 7 full rows.
class ListBoxTest : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    Form = NewForm();
    List = NewControl<TListBox>(Form, Bounds(10, 10, 150, 104));
    for (const char* S : {"apple", "avocado", "banana", "cherry", "Cranberry", "date", "elder", "fig",
                          "grape", "guava", "kiwi", "lemon", "lime", "mango", "melon"})
      List->Items()->Add(S);
    List->OnClick = [this](TObject*) { Events.push_back("click " + std::to_string(List->ItemIndex())); };
    List->SetFocus();
  }
  void press(Word Vk, char32_t C = 0, bool Shift = false, bool Ctrl = false) {
    if (Ctrl) wintest::KeyDown(VK_CONTROL);
    if (Shift) wintest::KeyDown(VK_SHIFT);
    wintest::KeyPress(Vk, C);
    if (Shift) wintest::KeyUp(VK_SHIFT);
    if (Ctrl) wintest::KeyUp(VK_CONTROL);
  }
  TPoint row(Integer Index) {
    const TRect R = List->ItemRect(Index);
    return At(List, R.Left + 5, R.Top + R.Height() / 2);
  }
  TForm* Form = nullptr;
  TListBox* List = nullptr;
  std::vector<String> Events;
};

struct TKeyCase {
  Integer From;
  Word Key;
  char32_t Char;
  Integer To;
};

TEST_F(ListBoxTest, KeysMoveTheSelectionAndLettersFindTheNextItem) {
  ASSERT_EQ(List->ClientHeight(), 100);
  const TKeyCase Cases[] = {
      {-1, VK_DOWN, 0, 0},  {0, VK_DOWN, 0, 1},  {1, VK_UP, 0, 0},    {0, VK_UP, 0, 0},
      {14, VK_DOWN, 0, 14}, {5, VK_HOME, 0, 0},  {5, VK_END, 0, 14},  {0, VK_NEXT, 0, 6},
      {12, VK_NEXT, 0, 14}, {8, VK_PRIOR, 0, 2}, {3, VK_PRIOR, 0, 0}, {0, 'A', U'a', 1},
      {1, 'A', U'a', 0},    {0, 'C', U'c', 3},   {3, 'C', U'C', 4},   {4, 'C', U'c', 3},
      {0, 'Z', U'z', 0},    {-1, 'M', U'm', 13}, {13, 'M', U'm', 14}, {2, 'L', U'l', 11},
  };
  for (const TKeyCase& C : Cases) {
    List->SetItemIndex(C.From);
    Clock().Advance(2000);  // each case types afresh
    Events.clear();
    press(C.Key, C.Char);
    EXPECT_EQ(List->ItemIndex(), C.To) << "from " << C.From << " key " << C.Key;
    const std::vector<String> Expected =
        C.To == C.From ? std::vector<String>{} : std::vector<String>{"click " + std::to_string(C.To)};
    EXPECT_EQ(Events, Expected) << "from " << C.From << " key " << C.Key;
  }
}

TEST_F(ListBoxTest, CharactersTypedTogetherMakeOnePrefix) {
  List->SetItemIndex(0);
  press('L', U'l');
  press('I', U'i');  // "li" within a second: lime, not the next "l" item
  EXPECT_EQ(List->Items()->Strings(List->ItemIndex()), "lime");
  Clock().Advance(1500);
  press('G', U'g');
  press('U', U'u');
  EXPECT_EQ(List->Items()->Strings(List->ItemIndex()), "guava");
  Clock().Advance(1500);
  press('M', U'm');
  press('M', U'm');  // the same letter again steps on
  EXPECT_EQ(List->Items()->Strings(List->ItemIndex()), "melon");
}

TEST_F(ListBoxTest, TheViewFollowsTheSelectionAndTheWheelScrolls) {
  List->SetItemIndex(0);
  press(VK_END);
  EXPECT_EQ(List->TopIndex(), 15 - 7);
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(List->Handle(), SB_VERT, &SI));
  EXPECT_EQ(SI.nMin, 0);
  EXPECT_EQ(SI.nMax, 14);
  EXPECT_EQ(SI.nPage, 7u);
  EXPECT_EQ(SI.nPos, 8);
  wintest::MouseWheel(WHEEL_DELTA, Middle(List));
  EXPECT_EQ(List->TopIndex(), 5);
  wintest::MouseWheel(3 * WHEEL_DELTA, Middle(List));
  EXPECT_EQ(List->TopIndex(), 0);
  wintest::MouseWheel(-10 * WHEEL_DELTA, Middle(List));
  EXPECT_EQ(List->TopIndex(), 8);    // never past the last page
  EXPECT_EQ(List->ItemIndex(), 14);  // the wheel leaves the selection alone
  SendMessage(List->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
  EXPECT_EQ(List->TopIndex(), 3);
}

TEST_F(ListBoxTest, ItemAtPosAndItemRectFollowTheScrolledRows) {
  List->SetTopIndex(2);
  EXPECT_EQ(List->ItemRect(2), Rect(0, 0, List->ClientWidth(), 13));
  EXPECT_EQ(List->ItemRect(4), Rect(0, 26, List->ClientWidth(), 39));
  EXPECT_EQ(List->ItemAtPos({5, 27}, true), 4);
  EXPECT_EQ(List->ItemAtPos({5, -1}, true), -1);
  List->Items()->Clear();
  List->Items()->Add("only");
  EXPECT_EQ(List->ItemAtPos({5, 50}, true), -1);
  EXPECT_EQ(List->ItemAtPos({5, 50}, false), 1);
  EXPECT_EQ(List->ItemRect(1), Rect(0, 13, List->ClientWidth(), 26));
  EXPECT_EQ(List->ItemRect(5), Rect(0, 0, 0, 0));
}

TEST_F(ListBoxTest, ItemsKeepTheirObjectsSortedListsTheirOrderAndBadIndexesFail) {
  TObject A, B;
  List->Items()->Clear();
  List->SetSorted(true);
  List->Items()->AddObject("pear", &A);
  List->Items()->AddObject("Apple", &B);
  List->Items()->Add("banana");
  EXPECT_EQ(List->Items()->Strings(0), "Apple");
  EXPECT_EQ(List->Items()->Objects(0), &B);
  EXPECT_EQ(List->Items()->Objects(2), &A);
  EXPECT_EQ(List->Items()->IndexOf("BANANA"), 1);
  EXPECT_THROW(List->Items()->Strings(3), EStringListError);
  EXPECT_THROW(List->Items()->Delete(-1), EStringListError);
  EXPECT_THROW(List->Selected(7), EListError);
  EXPECT_EQ(SendMessage(List->Handle(), LB_GETTEXTLEN, 9, 0), LB_ERR);
  EXPECT_EQ(SendMessage(List->Handle(), LB_SETCURSEL, 9, 0), LB_ERR);
  EXPECT_EQ(List->ItemIndex(), -1);
  List->Items()->Add(String("nul\0tail", 8));
  EXPECT_EQ(List->Items()->Strings(List->Items()->IndexOf("nul")), "nul");
}

TEST_F(ListBoxTest, ExtendedSelectionByClicksAndShiftedKeys) {
  List->SetMultiSelect(true);
  wintest::Click(row(1));
  wintest::KeyDown(VK_SHIFT);
  wintest::Click(row(3));
  wintest::KeyUp(VK_SHIFT);
  EXPECT_EQ(List->SelCount(), 3);
  wintest::KeyDown(VK_CONTROL);
  wintest::Click(row(2));
  wintest::KeyUp(VK_CONTROL);
  EXPECT_FALSE(List->Selected(2));
  EXPECT_EQ(List->SelCount(), 2);
  press(VK_DOWN, 0, true);  // from the anchor (2) to 3
  EXPECT_EQ(List->SelCount(), 2);
  EXPECT_TRUE(List->Selected(2) && List->Selected(3));
  press(VK_DOWN);
  EXPECT_EQ(List->SelCount(), 1);
  EXPECT_TRUE(List->Selected(4));
  // A plain multiple selection: clicks and Space toggle, arrows only move.
  List->SetExtendedSelect(false);
  List->ClearSelection();
  wintest::Click(row(0));
  wintest::Click(row(2));
  press(VK_DOWN);
  press(VK_SPACE, U' ');
  EXPECT_EQ(List->SelCount(), 3);
  wintest::Click(row(2));
  EXPECT_EQ(List->SelCount(), 2);
}

TEST_F(ListBoxTest, OwnerDrawnItemsAreDrawnAndMeasuredByTheControl) {
  std::vector<std::pair<Integer, bool>> Drawn;
  List->Items()->Clear();
  List->SetStyle(lbOwnerDrawVariable);
  List->OnMeasureItem = [](TWinControl*, Integer Index, Integer& Height) { Height = 10 + Index * 5; };
  List->OnDrawItem = [&](TWinControl*, Integer Index, TRect R, TOwnerDrawState State) {
    Drawn.push_back({Index, State.Contains(odSelected)});
    List->Canvas()->Brush()->SetColor(Index == 1 ? clRed : clWhite);
    List->Canvas()->FillRect(R);
  };
  for (const char* S : {"a", "b", "c"}) List->Items()->Add(S);
  EXPECT_EQ(List->ItemRect(1), Rect(0, 10, List->ClientWidth(), 25));
  EXPECT_EQ(List->ItemRect(2), Rect(0, 25, List->ClientWidth(), 45));
  List->SetItemIndex(2);
  List->Repaint();
  EXPECT_EQ(Drawn, (std::vector<std::pair<Integer, bool>>{{0, false}, {1, false}, {2, true}}));
  EXPECT_EQ(PixelOf(List, 20, 17), Rgb(clRed));
  // Fixed: every row ItemHeight high.
  List->SetStyle(lbOwnerDrawFixed);
  List->SetItemHeight(20);
  EXPECT_EQ(List->ItemRect(2), Rect(0, 40, List->ClientWidth(), 60));
  EXPECT_EQ(List->ItemAtPos({3, 45}, true), 2);
}

TEST_F(ListBoxTest, CodeSettingTheSelectionFiresNoClickButTheMouseDoes) {
  List->SetItemIndex(4);
  EXPECT_TRUE(Events.empty());
  wintest::Click(row(2));
  EXPECT_EQ(Events, std::vector<String>{"click 2"});
  Integer DoubleClicks = 0;
  List->OnDblClick = [&](TObject*) { ++DoubleClicks; };
  wintest::Click(row(3));
  wintest::Click(row(3));
  EXPECT_EQ(DoubleClicks, 1);
}

}  // namespace

namespace {

// Where an item's glyphs start on the screen: the first column of each run of ink across its middle.
std::vector<Integer> inkRuns(TListBox* L, Integer Index) {
  const TRect R = L->ItemRect(Index);
  const Integer Y = R.Top + R.Height() / 2;
  const COLORREF Ink = GetSysColor(COLOR_WINDOWTEXT);
  // The painted surface is the window's; the client area sits inside its edge.
  const TPoint O = L->ClientOrigin();
  RECT W;
  GetWindowRect(L->Handle(), &W);
  std::vector<Integer> Starts;
  bool In = false;
  for (Integer X = R.Left + 1; X < R.Right - 1; ++X) {
    const bool Now = TStdControlsTest::PixelOf(L, X + O.X - W.Left, Y + O.Y - W.Top) == Ink;
    if (Now && !In) Starts.push_back(X - R.Left);
    In = Now;
  }
  return Starts;
}

struct TTabCase {
  const char* Name;
  Integer TabWidth;            // the property; 0: none
  std::vector<Integer> Stops;  // then LB_SETTABSTOPS with these (when Send)
  bool Send;
  const char* Text;
  std::vector<Integer> Glyphs;  // pixel columns where the glyph runs start
};

// Test font: 7-pixel advance and average width, so a dialog unit is 7/4 pixel; the text starts 2
// pixels into the item.
TEST_F(ListBoxTest, TabsInItemsAreDrawnAtTheTabStops) {
  const TTabCase Cases[] = {
      {"no tab stops: a tab is a blank", 0, {}, false, "a\tb", {2, 16}},
      {"TabWidth 16 units: every 28 pixels", 16, {}, false, "a\tb", {2, 30}},
      {"past a stop to the next one", 16, {}, false, "aaaaa\tb", {2, 9, 16, 23, 30, 58}},
      {"no stops given: every 8 characters", 16, {}, true, "a\tb", {2, 58}},
      {"one stop given: every that many units", 16, {8}, true, "a\tb\tc", {2, 16, 30}},
      {"listed stops, then the 8-character grid", 16, {8, 40}, true, "a\tb\tc\td", {2, 16, 72, 114}},
  };
  for (const TTabCase& C : Cases) {
    auto* L = NewControl<TListBox>(Form, Bounds(10, 120, 200, 60));
    L->SetTabWidth(C.TabWidth);
    L->Items()->Add(C.Text);
    if (C.Send) {
      EXPECT_EQ(SendMessage(L->Handle(), LB_SETTABSTOPS, C.Stops.size(),
                            reinterpret_cast<LPARAM>(C.Stops.empty() ? nullptr : C.Stops.data())),
                1)
          << C.Name;
    }
    EXPECT_EQ(inkRuns(L, 0), C.Glyphs) << C.Name;
    delete L;
  }
}

TEST_F(ListBoxTest, TabStopsNeedTheStyleAndOwnerDrawnItemsKeepThem) {
  // Without the style the message is refused and a tab stays a blank.
  const Integer Stops[] = {40};
  List->Items()->Clear();
  List->Items()->Add("a\tb");
  EXPECT_EQ(SendMessage(List->Handle(), LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(Stops)), 0);
  EXPECT_EQ(inkRuns(List, 0), (std::vector<Integer>{2, 16}));
  // The property gives the style; a count without stops is refused and changes nothing.
  List->SetTabWidth(16);
  EXPECT_TRUE(GetWindowLong(List->Handle(), GWL_STYLE) & LBS_USETABSTOPS);
  EXPECT_EQ(SendMessage(List->Handle(), LB_SETTABSTOPS, 2, 0), 0);
  EXPECT_EQ(inkRuns(List, 0), (std::vector<Integer>{2, 30}));
  EXPECT_EQ(List->Items()->Strings(0), "a\tb");  // recreating the window kept the items
  // Owner-drawn items that the class library draws itself honour the same stops.
  List->SetStyle(lbOwnerDrawFixed);
  EXPECT_EQ(inkRuns(List, 0), (std::vector<Integer>{2, 30}));
  List->SetTabWidth(0);
  EXPECT_FALSE(GetWindowLong(List->Handle(), GWL_STYLE) & LBS_USETABSTOPS);
  EXPECT_EQ(inkRuns(List, 0), (std::vector<Integer>{2, 16}));
}

}  // namespace
