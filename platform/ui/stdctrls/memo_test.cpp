#include "platform/ui/stdctrls/memo.h"

#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

struct TKeyStroke {
  Word Vk;
  bool Ctrl = false;
};

// The test font makes every visible character a solid box, so a line's ink is exact.
class MemoTest : public TUiTest {
 protected:
  void SetUp() override {
    TUiTest::SetUp();
    SetTestFontMode(true);
    Form = NewForm();
    Memo = NewControl<TMemo>(Form, Bounds(10, 10, 200, 100));
    Memo->SetFocus();
  }
  void TearDown() override {
    SetTestFontMode(false);
    TUiTest::TearDown();
  }
  // Whether line Index shows ink: the first glyph's middle pixel.
  bool LineInked(Integer Index) {
    const TRect R = Memo->LineRect(Index);
    return PaintedPixel(Memo->Handle(), R.Left + 2, R.Top + R.Height() / 2 + 1) == COLORREF(stdlook::Text);
  }
  TForm* Form = nullptr;
  TMemo* Memo = nullptr;
};

TEST_F(MemoTest, AppendedLinesBringTheEndIntoView) {
  const Integer Visible = Memo->VisibleLineCount();
  EXPECT_EQ(Visible, (100 - 8) / Memo->LineHeight());
  for (Integer i = 0; i < Visible; ++i) Memo->Lines()->Add(Format("line %d", {i}));
  EXPECT_EQ(Memo->TopLine(), 0);  // everything fits
  EXPECT_TRUE(LineInked(0));
  for (Integer i = Visible; i < 20; ++i) Memo->Lines()->Add(Format("line %d", {i}));
  EXPECT_EQ(Memo->TopLine(), 20 - Visible);
  EXPECT_TRUE(LineInked(19));
  // The last line sits in the last full row of the text area.
  EXPECT_LE(Memo->LineRect(19).Bottom, 100 - 4);
  EXPECT_GT(Memo->LineRect(19).Bottom + Memo->LineHeight(), 100 - 4);
  // Scrolled out: the first line's place now shows line 20 - Visible; line 0 has no row at all.
  EXPECT_LT(Memo->LineRect(0).Top, 0);
  EXPECT_EQ(Memo->Text().substr(0, 13), "line 0\nline 1");
}

struct TCaretCase {
  Integer FromLine, FromTop;
  TKeyStroke Key;
  Integer ToLine, ToTop;
};

// The caret moves by lines and pages and the view follows it; the wheel moves only the view.
TEST_F(MemoTest, KeysMoveTheCaretTheViewFollowsAndTheWheelScrolls) {
  for (Integer i = 0; i < 30; ++i) Memo->Lines()->Add(Format("%d", {i}));
  const Integer Visible = Memo->VisibleLineCount();
  const Integer Last = 30 - Visible;
  const TCaretCase Cases[] = {
      {20, Last, {VK_HOME, true}, 0, 0},
      {0, 0, {VK_END, true}, 29, Last},
      {5, 5, {VK_UP}, 4, 4},
      {5, 5, {VK_DOWN}, 6, 5},
      {0, 0, {VK_UP}, 0, 0},
      {29, Last, {VK_DOWN}, 29, Last},
      {0, 0, {VK_NEXT}, Visible, Visible},
      {Visible + 2, Visible + 2, {VK_PRIOR}, 2, 2},
      {1, 0, {VK_PRIOR}, 0, 0},
      {28, Last, {VK_NEXT}, 29, Last},
  };
  for (const TCaretCase& C : Cases) {
    Memo->SetTopLine(C.FromTop);
    const Integer Pos = Integer(SendMessage(Memo->Handle(), EM_LINEINDEX, C.FromLine, 0));
    SendMessage(Memo->Handle(), EM_SETSEL, Pos, Pos);
    Memo->SetTopLine(C.FromTop);
    if (C.Key.Ctrl) wintest::KeyDown(VK_CONTROL);
    wintest::KeyPress(C.Key.Vk);
    if (C.Key.Ctrl) wintest::KeyUp(VK_CONTROL);
    const Integer Line = Integer(SendMessage(Memo->Handle(), EM_LINEFROMCHAR, WPARAM(-1), 0));
    EXPECT_EQ(Line, C.ToLine) << "key " << C.Key.Vk << " from line " << C.FromLine;
    EXPECT_EQ(Memo->TopLine(), C.ToTop) << "key " << C.Key.Vk << " from line " << C.FromLine;
    EXPECT_TRUE(Memo->Focused());
  }
  Memo->SetTopLine(10);
  wintest::MouseWheel(-WHEEL_DELTA, wintest::ScreenPoint(Memo->Handle(), 50, 50));
  EXPECT_EQ(Memo->TopLine(), 13);
  wintest::MouseWheel(2 * WHEEL_DELTA, wintest::ScreenPoint(Memo->Handle(), 50, 50));
  EXPECT_EQ(Memo->TopLine(), 7);
}

TEST_F(MemoTest, ReadOnlyTakesNoTypingAndEditableTakesItAtTheEnd) {
  Memo->Lines()->Add("ab");
  Memo->SetReadOnly(true);
  wintest::KeyPress('X', U'x');
  wintest::KeyPress(VK_BACK, U'\b');
  wintest::KeyPress(VK_RETURN);
  EXPECT_EQ(Memo->Text(), "ab");

  Memo->SetReadOnly(false);
  wintest::KeyPress('X', U'x');
  wintest::KeyPress(VK_RETURN);
  wintest::KeyPress('Y', U'y');
  EXPECT_EQ(Memo->Text(), "abx\ny");
  wintest::KeyPress(VK_BACK, U'\b');
  wintest::KeyPress(VK_BACK, U'\b');
  wintest::KeyPress(VK_BACK, U'\b');
  EXPECT_EQ(Memo->Text(), "ab");
  EXPECT_TRUE(Memo->Focused());  // Enter was the memo's, not the form's
}

TEST_F(MemoTest, TextSplitsIntoLinesAndBadBytesDrawWithoutHarm) {
  Memo->SetText("one\r\ntwo\nthree");
  ASSERT_EQ(Memo->Lines()->Count(), 3);
  EXPECT_EQ(Memo->Lines()->Strings(2), "three");
  EXPECT_EQ(Memo->Text(), "one\ntwo\nthree");
  Memo->Lines()->Add("bad \xff\xfe bytes");
  EXPECT_TRUE(LineInked(3));
  // The border: the accent while focused, the neutral line otherwise.
  EXPECT_EQ(PaintedPixel(Memo->Handle(), 100, 0), COLORREF(stdlook::Accent));
  Form->SetActiveControl(nullptr);
  ::SetFocus(Form->Handle());
  EXPECT_EQ(PaintedPixel(Memo->Handle(), 100, 0), COLORREF(stdlook::FaceBorder));
}

}  // namespace
