#include "platform/ui/stdctrls/memo.h"

#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

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

struct TScrollCase {
  Word Key;
  Integer From;
  Integer To;
};

TEST_F(MemoTest, KeysAndTheWheelScroll) {
  for (Integer i = 0; i < 30; ++i) Memo->Lines()->Add(Format("%d", {i}));
  const Integer Last = 30 - Memo->VisibleLineCount();
  const Integer Page = Memo->VisibleLineCount() - 1;
  const TScrollCase Cases[] = {
      {VK_HOME, Last, 0}, {VK_END, 0, Last},         {VK_UP, 5, 4},      {VK_DOWN, 5, 6},
      {VK_UP, 0, 0},      {VK_DOWN, Last, Last},     {VK_NEXT, 0, Page}, {VK_PRIOR, Page + 2, 2},
      {VK_PRIOR, 1, 0},   {VK_NEXT, Last - 1, Last},
  };
  for (const TScrollCase& C : Cases) {
    Memo->SetTopLine(C.From);
    wintest::KeyPress(C.Key);
    EXPECT_EQ(Memo->TopLine(), C.To) << "key " << C.Key << " from " << C.From;
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
