#include "platform/ui/stdctrls/combobox.h"

#include <gtest/gtest.h>

#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

class ComboBoxTest : public TUiTest {
 protected:
  void SetUp() override {
    TUiTest::SetUp();
    Form = NewForm();
    Other = NewControl<TRecordingControl>(Form, Bounds(10, 200, 50, 20));
    Combo = NewControl<TComboBox>(Form, Bounds(10, 10, 150, 26));
    for (const char* S : {"apple", "avocado", "banana", "cherry", "Cranberry", "date", "elder"})
      Combo->Items()->Add(S);
    Combo->SetDropDownCount(4);
    Combo->OnClick = [this](TObject*) { Events.push_back("click"); };
    Combo->OnChange = [this](TObject*) { Events.push_back("change " + Combo->Text()); };
    Combo->SetFocus();
  }
  TForm* Form = nullptr;
  TRecordingControl* Other = nullptr;
  TComboBox* Combo = nullptr;
  std::vector<String> Events;
};

struct TSelectCase {
  Integer From;
  Word Key;
  char32_t Char;  // for character keys
  Integer To;
};

TEST_F(ComboBoxTest, KeysOnTheClosedBoxMoveTheSelection) {
  const TSelectCase Cases[] = {
      {-1, VK_DOWN, 0, 0}, {-1, VK_UP, 0, 0},  {0, VK_DOWN, 0, 1},  {1, VK_RIGHT, 0, 2}, {2, VK_UP, 0, 1},
      {2, VK_LEFT, 0, 1},  {0, VK_UP, 0, 0},   {6, VK_DOWN, 0, 6},  {3, VK_HOME, 0, 0},  {1, VK_END, 0, 6},
      {0, VK_NEXT, 0, 3},  {5, VK_NEXT, 0, 6}, {4, VK_PRIOR, 0, 1}, {0, 'A', U'a', 1},   {1, 'A', U'a', 0},
      {0, 'C', U'c', 3},   {3, 'C', U'c', 4},  {4, 'C', U'C', 3},   {2, 'Z', U'z', 2},   {-1, 'E', U'e', 6},
  };
  for (const TSelectCase& C : Cases) {
    Combo->SetItemIndex(C.From);
    Events.clear();
    wintest::KeyPress(C.Key, C.Char);
    EXPECT_EQ(Combo->ItemIndex(), C.To) << "from " << C.From << " key " << C.Key;
    if (C.To == C.From)
      EXPECT_TRUE(Events.empty()) << "from " << C.From << " key " << C.Key;
    else
      EXPECT_EQ(Events, (std::vector<String>{"click", "change " + Combo->Items()->Strings(C.To)}));
    EXPECT_TRUE(Combo->Focused());
    EXPECT_FALSE(Combo->DroppedDown());
  }
}

TEST_F(ComboBoxTest, TheOpenListTakesTheKeysUntilEnterOrEscape) {
  Combo->SetItemIndex(1);
  Events.clear();
  wintest::KeyDown(VK_MENU);
  wintest::KeyPress(VK_DOWN);
  wintest::KeyUp(VK_MENU);
  ASSERT_TRUE(Combo->DroppedDown());
  HWND List = Combo->ListWindow()->Handle();
  EXPECT_TRUE(IsWindowVisible(List));
  EXPECT_EQ(GetFocus(), Combo->Handle());  // the list never takes the focus
  EXPECT_EQ(Combo->ListIndex(), 1);
  wintest::KeyPress(VK_DOWN);
  wintest::KeyPress(VK_DOWN);
  wintest::KeyPress(VK_DOWN);
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(Combo->ListIndex(), 5);
  EXPECT_EQ(Combo->TopIndex(), 2);  // scrolled so that the hot row shows
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_TRUE(Events.empty());
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(List));
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_TRUE(Events.empty());

  wintest::KeyPress(VK_F4);
  ASSERT_TRUE(Combo->DroppedDown());
  wintest::KeyPress(VK_END);
  wintest::KeyPress(VK_RETURN);
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_EQ(Combo->ItemIndex(), 6);
  EXPECT_EQ(Events, (std::vector<String>{"click", "change elder"}));
}

TEST_F(ComboBoxTest, AClickOpensTheListAndAClickOnARowPicksIt) {
  HWND Box = Combo->Handle();
  Other->SetFocus();
  wintest::Click(wintest::ScreenPoint(Box, 20, 10));
  ASSERT_TRUE(Combo->DroppedDown());
  EXPECT_TRUE(Combo->Focused());
  HWND List = Combo->ListWindow()->Handle();
  RECT L;
  GetWindowRect(List, &L);
  RECT B;
  GetWindowRect(Box, &B);
  EXPECT_EQ(L.Top, B.Bottom);  // just below the box, as wide as the box
  EXPECT_EQ(L.Width(), B.Width());
  EXPECT_EQ(L.Height(), 4 * Combo->ItemHeight() + 2);

  // Row 2 (1 pixel of border, 24-pixel rows): the mouse makes it hot, a click picks it.
  const TPoint Row2 = Point(L.Left + 30, L.Top + 1 + 2 * 24 + 12);
  wintest::MouseMove(Row2);
  EXPECT_EQ(Combo->ListIndex(), 2);
  EXPECT_EQ(PaintedPixel(List, 4, 1 + 2 * 24 + 2), COLORREF(stdlook::Accent));
  EXPECT_EQ(PaintedPixel(List, 4, 1 + 1 * 24 + 2), COLORREF(stdlook::Surface));
  wintest::Click(Row2);
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_EQ(Combo->ItemIndex(), 2);
  EXPECT_EQ(Combo->Text(), "banana");
  EXPECT_EQ(Events, (std::vector<String>{"click", "change banana"}));

  // Open again, click somewhere else on the form: closed, nothing chosen.
  Events.clear();
  wintest::Click(wintest::ScreenPoint(Box, 20, 10));
  ASSERT_TRUE(Combo->DroppedDown());
  wintest::Click(wintest::ScreenPoint(Box, 300, 150));
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_EQ(Combo->ItemIndex(), 2);
  EXPECT_TRUE(Events.empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, NearTheBottomOfTheWorkAreaTheListOpensAbove) {
  RECT B;
  GetWindowRect(Combo->Handle(), &B);
  TRect Saved;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Saved, 0);
  TRect Short = Rect(0, 0, Saved.Right, B.Bottom + 50);  // room for two rows below the box
  SystemParametersInfo(SPI_SETWORKAREA, 0, &Short, 0);
  wintest::KeyPress(VK_F4);
  RECT L;
  GetWindowRect(Combo->ListWindow()->Handle(), &L);
  EXPECT_EQ(L.Bottom, B.Top);
  EXPECT_EQ(L.Height(), 4 * Combo->ItemHeight() + 2);
  SystemParametersInfo(SPI_SETWORKAREA, 0, &Saved, 0);
}

TEST_F(ComboBoxTest, ItemsAndIndexStayConsistentAndCodeChangesFireNothing) {
  Combo->SetItemIndex(6);
  EXPECT_EQ(Combo->Text(), "elder");
  Combo->Items()->Delete(6);  // the selected item goes
  EXPECT_EQ(Combo->ItemIndex(), -1);
  EXPECT_EQ(Combo->Text(), "");
  Combo->SetItemIndex(99);
  EXPECT_EQ(Combo->ItemIndex(), -1);
  Combo->SetItemIndex(2);
  Combo->Items()->Clear();
  EXPECT_EQ(Combo->ItemIndex(), -1);
  wintest::KeyPress(VK_DOWN);  // nothing to choose from
  EXPECT_EQ(Combo->ItemIndex(), -1);
  EXPECT_TRUE(Events.empty());
}

TEST_F(ComboBoxTest, TheClosedBoxShowsTheFocusRingAndTheArrow) {
  HWND Box = Combo->Handle();
  EXPECT_EQ(PaintedPixel(Box, 60, 0), COLORREF(stdlook::Accent));  // focused border
  EXPECT_EQ(PaintedPixel(Box, 60, 1), COLORREF(stdlook::Accent));  // and the ring inside it
  EXPECT_EQ(PaintedPixel(Box, 60, 2), COLORREF(stdlook::Face));
  EXPECT_EQ(PaintedPixel(Box, 150 - 12, 13), COLORREF(stdlook::TextSecondary));  // the arrow
  Other->SetFocus();
  EXPECT_EQ(PaintedPixel(Box, 60, 0), COLORREF(stdlook::FaceBorder));
  EXPECT_EQ(PaintedPixel(Box, 60, 1), COLORREF(stdlook::Face));
}

}  // namespace
