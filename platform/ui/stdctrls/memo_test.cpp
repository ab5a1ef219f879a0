#include "platform/ui/stdctrls/memo.h"

#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
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
  // Empty lines count, also the last one: a log of messages each followed by one keeps them apart.
  Memo->Lines()->Add("");
  ASSERT_EQ(Memo->Lines()->Count(), 5);
  Memo->Lines()->Add("");
  Memo->Lines()->Add("next");
  EXPECT_EQ(Memo->Lines()->Count(), 7);
  EXPECT_EQ(Memo->Lines()->Strings(6), "next");
  EXPECT_EQ(Memo->Lines()->Strings(5), "");
  // The border: the accent while focused, the neutral line otherwise.
  EXPECT_EQ(PaintedPixel(Memo->Handle(), 100, 0), COLORREF(stdlook::Accent));
  Form->SetActiveControl(nullptr);
  ::SetFocus(Form->Handle());
  EXPECT_EQ(PaintedPixel(Memo->Handle(), 100, 0), COLORREF(stdlook::FaceBorder));
}

}  // namespace

namespace {

// Word wrap, read back as a person sees it: which characters share a row on the screen.
class MemoWrapTest : public MemoTest {
 protected:
  Integer advance() {
    const String Kept = Memo->Text();
    Memo->SetText("ab");
    const Integer A = Memo->PosFromChar(1).X - Memo->PosFromChar(0).X;
    Memo->SetText(Kept);
    return A;
  }
  // Makes the text area Chars characters wide (and half a character more).
  void setAreaChars(Integer Chars) {
    const Integer A = advance();
    const Integer Area = Memo->FormatRect().Width() - 2;  // the margins
    Memo->SetBounds(Memo->Left(), Memo->Top(), Memo->Width() + Chars * A + A / 2 - Area, Memo->Height());
  }
  std::vector<String> shownRows() {
    const std::u32string S = Utf8ToUtf32(Memo->Text());
    std::vector<String> Rows;
    Integer LastY = -1000000;
    for (Integer P = 0; P < Integer(S.size()); ++P) {
      if (S[P] == U'\n') {
        LastY = -1000000;  // the next character starts a row of its own
        continue;
      }
      const Integer Y = Memo->PosFromChar(P).Y;
      if (Y != LastY) Rows.emplace_back();
      LastY = Y;
      Utf8Append(Rows.back(), S[P]);
    }
    return Rows;
  }
};

struct TWrapCase {
  const char* Text;
  std::vector<String> Rows;
};

TEST_F(MemoWrapTest, LinesBreakAtWordBoundariesInsideTheWidth) {
  const TWrapCase Cases[] = {
      {"the quick brown fox jumps", {"the quick ", "brown fox ", "jumps"}},
      {"aaaa bbbbb   cc", {"aaaa bbbbb   ", "cc"}},
      {"abcdefghijklmnop qr", {"abcdefghij", "klmnop qr"}},
      {"中文中文中文中文中文中文", {"中文中文中文中文中文", "中文"}},
      {"ab\ncd efghij klm", {"ab", "cd efghij ", "klm"}},
      {"short", {"short"}},
  };
  EXPECT_TRUE(Memo->WordWrap());
  setAreaChars(10);
  for (const TWrapCase& C : Cases) {
    Memo->SetText(C.Text);
    EXPECT_EQ(shownRows(), C.Rows) << C.Text;
  }
  // The lines stay the lines as typed.
  Memo->SetText("the quick brown fox jumps");
  EXPECT_EQ(Memo->Lines()->Count(), 1);
  EXPECT_EQ(SendMessage(Memo->Handle(), EM_GETLINECOUNT, 0, 0), 1);
  // Wider: the text wraps anew; WordWrap off: one row that scrolls sideways.
  setAreaChars(20);
  EXPECT_EQ(shownRows(), (std::vector<String>{"the quick brown fox ", "jumps"}));
  Memo->SetWordWrap(false);
  EXPECT_EQ(shownRows(), (std::vector<String>{"the quick brown fox jumps"}));
  EXPECT_FALSE(GetWindowLong(Memo->Handle(), GWL_STYLE) & WS_HSCROLL);
  Memo->SetScrollBars(ssBoth);
  EXPECT_TRUE(GetWindowLong(Memo->Handle(), GWL_STYLE) & WS_HSCROLL);
  Memo->SetWordWrap(true);
  EXPECT_FALSE(GetWindowLong(Memo->Handle(), GWL_STYLE) & WS_HSCROLL);
}

struct TWrapKeyCase {
  const char* Name;
  Integer Anchor, Caret;
  Word Vk;
  bool Shift;
  Integer ToAnchor, ToCaret;
};

TEST_F(MemoWrapTest, CaretAndSelectionMoveThroughRows) {
  setAreaChars(10);
  Memo->SetText("the quick brown fox jumps");  // rows start at 0, 10, 20
  const TWrapKeyCase Cases[] = {
      {"down keeps the column", 2, 2, VK_DOWN, false, 12, 12},
      {"down to a shorter row", 17, 17, VK_DOWN, false, 25, 25},
      {"up", 22, 22, VK_UP, false, 12, 12},
      {"home goes to the row's start", 14, 14, VK_HOME, false, 10, 10},
      {"end stops before the hanging blank", 12, 12, VK_END, false, 19, 19},
      {"end of the last row", 21, 21, VK_END, false, 25, 25},
      {"shift down selects a row", 0, 0, VK_DOWN, true, 0, 10},
      {"right at a row end goes on to the next row", 9, 9, VK_RIGHT, false, 10, 10},
  };
  for (const TWrapKeyCase& C : Cases) {
    SendMessage(Memo->Handle(), EM_SETSEL, WPARAM(C.Anchor), LPARAM(C.Caret));
    if (C.Shift) wintest::KeyDown(VK_SHIFT);
    wintest::KeyPress(C.Vk);
    if (C.Shift) wintest::KeyUp(VK_SHIFT);
    EXPECT_EQ(Memo->CaretPos(), C.ToCaret) << C.Name;
    EXPECT_EQ(Memo->SelStart(), std::min(C.ToAnchor, C.ToCaret)) << C.Name;
    EXPECT_EQ(Memo->SelLength(), std::abs(C.ToCaret - C.ToAnchor)) << C.Name;
  }
  // The caret at a row's soft end shows at the start of the next row.
  EXPECT_EQ(Memo->PosFromChar(10).Y, Memo->PosFromChar(11).Y);
  EXPECT_EQ(Memo->PosFromChar(10).X, Memo->PosFromChar(0).X);
  // A click past a row's end stops before its hanging blank; a drag selects across rows.
  const TPoint Row0 = Memo->PosFromChar(0), Row2 = Memo->PosFromChar(22);
  const Integer PastEnd = Row0.X + (Memo->PosFromChar(1).X - Row0.X) * 10 + 1;
  wintest::MouseDown(wintest::ScreenPoint(Memo->Handle(), PastEnd, Row0.Y + 3));
  wintest::MouseUp(wintest::ScreenPoint(Memo->Handle(), PastEnd, Row0.Y + 3));
  EXPECT_EQ(Memo->CaretPos(), 9);
  wintest::MouseDown(wintest::ScreenPoint(Memo->Handle(), Row0.X + 1, Row0.Y + 3));
  wintest::MouseMove(wintest::ScreenPoint(Memo->Handle(), Row2.X + 1, Row2.Y + 3));
  wintest::MouseUp(wintest::ScreenPoint(Memo->Handle(), Row2.X + 1, Row2.Y + 3));
  EXPECT_EQ(Memo->SelStart(), 0);
  EXPECT_EQ(Memo->SelLength(), 22);
}

// What a memo's lines are changed by, one step of a case.
struct TLinesStep {
  enum { Add, Delete, Batch, TypeAtEnd, SetText } Kind;
  String Text;  // the line added, the batch's lines joined by '|', the character typed, the text set
  Integer Index = 0;
};

struct TLinesCase {
  const char* Name;
  std::vector<TLinesStep> Steps;
  String Text;
  std::vector<String> Lines;
  Integer Changes;  // OnChange calls
};

// Lines added at the end reach the text without a rewrite of the whole; what shows must not tell.
TEST_F(MemoWrapTest, LinesAddedAtTheEndShowAsTheWholeTextWould) {
  using S = TLinesStep;
  const TLinesCase Cases[] = {
      {"plain lines one by one",
       {{S::Add, "the quick brown fox"}, {S::Add, "jumps"}, {S::Add, ""}, {S::Add, "over"}},
       "the quick brown fox\njumps\n\nover",
       {"the quick brown fox", "jumps", "", "over"},
       4},
      {"a line after a wrapped one",
       {{S::Add, "abcdefghijklmnop"}, {S::Add, "qr"}},
       "abcdefghijklmnop\nqr",
       {"abcdefghijklmnop", "qr"},
       2},
      {"an empty first line", {{S::Add, ""}, {S::Add, "x"}}, "\nx", {"", "x"}, 1},
      {"a line holding a break splits", {{S::Add, "a"}, {S::Add, "b\r\nc"}}, "a\nb\nc", {"a", "b", "c"}, 2},
      {"bad bytes read back replaced",
       {{S::Add, "x"}, {S::Add, "bad \xff"}},
       "x\nbad \xEF\xBF\xBD",
       {"x", "bad \xEF\xBF\xBD"},
       2},
      {"lines added in one update",
       {{S::Add, "a"}, {S::Batch, "b|c|d"}},
       "a\nb\nc\nd",
       {"a", "b", "c", "d"},
       2},
      {"after a deletion",
       {{S::Batch, "a|b|c"}, {S::Delete, "", 0}, {S::Add, "d"}},
       "b\nc\nd",
       {"b", "c", "d"},
       3},
      {"after typing", {{S::Add, "ab"}, {S::TypeAtEnd, "x"}, {S::Add, "cd"}}, "abx\ncd", {"abx", "cd"}, 3},
      {"after the text was set", {{S::SetText, "p\nq"}, {S::Add, "r"}}, "p\nq\nr", {"p", "q", "r"}, 2},
  };
  setAreaChars(10);
  auto* Fresh = NewControl<TMemo>(Form, Bounds(10, 120, Memo->Width(), 100));
  // Where every character of a memo shows: the rows as a person reads them.
  auto places = [](TMemo* M) {
    std::vector<TPoint> P;
    for (Integer I = 0; I <= Integer(Utf8ToUtf32(M->Text()).size()); ++I) P.push_back(M->PosFromChar(I));
    return P;
  };
  Integer Changes = 0;
  Memo->OnChange = [&Changes](TObject*) { ++Changes; };
  for (const TLinesCase& C : Cases) {
    Memo->Lines()->Clear();
    Changes = 0;
    for (const TLinesStep& Step : C.Steps) {
      switch (Step.Kind) {
        case S::Add:
          Memo->Lines()->Add(Step.Text);
          break;
        case S::Delete:
          Memo->Lines()->Delete(Step.Index);
          break;
        case S::Batch: {
          Memo->Lines()->BeginUpdate();
          size_t From = 0;
          for (size_t Bar; (Bar = Step.Text.find('|', From)) != String::npos; From = Bar + 1)
            Memo->Lines()->Add(Step.Text.substr(From, Bar - From));
          Memo->Lines()->Add(Step.Text.substr(From));
          Memo->Lines()->EndUpdate();
          break;
        }
        case S::TypeAtEnd:
          Memo->SetSelStart(Integer(Utf8ToUtf32(Memo->Text()).size()));
          wintest::KeyPress(Word(std::toupper(Step.Text[0])), char32_t(Step.Text[0]));
          break;
        case S::SetText:
          Memo->SetText(Step.Text);
          break;
      }
    }
    EXPECT_EQ(Memo->Text(), C.Text) << C.Name;
    std::vector<String> Lines;
    for (Integer I = 0; I < Memo->Lines()->Count(); ++I) Lines.push_back(Memo->Lines()->Strings(I));
    EXPECT_EQ(Lines, C.Lines) << C.Name;
    EXPECT_EQ(Changes, C.Changes) << C.Name;
    // The caret at the end, in view, and every row where a memo given the whole text puts it.
    EXPECT_EQ(Memo->CaretPos(), Integer(Utf8ToUtf32(C.Text).size())) << C.Name;
    Fresh->SetText(Memo->Text());
    Fresh->SetTopLine(Memo->TopLine());
    EXPECT_EQ(places(Memo), places(Fresh)) << C.Name;
  }
}

TEST_F(MemoWrapTest, WrappedRowsShowOnScreenAndScroll) {
  setAreaChars(10);
  Memo->SetText("the quick brown fox jumps");
  Memo->SetSelStart(0);
  Application->ProcessMessages();
  auto inked = [&](Integer Pos) {
    const TPoint P = Memo->PosFromChar(Pos);
    return PaintedPixel(Memo->Handle(), P.X + 1, P.Y + Memo->LineHeight() / 2 + 1) == COLORREF(stdlook::Text);
  };
  EXPECT_TRUE(inked(10));   // "brown" at the second row's start
  EXPECT_TRUE(inked(20));   // "jumps" on the third
  EXPECT_FALSE(inked(25));  // nothing after it
  EXPECT_EQ(Memo->PosFromChar(20).Y - Memo->PosFromChar(0).Y, 2 * Memo->LineHeight());
  // Many rows: the view follows the caret by rows.
  String Long;
  for (int i = 0; i < 20; ++i) Long += "word ";
  Memo->SetText(Long);
  SendMessage(Memo->Handle(), EM_SETSEL, Long.size(), Long.size());
  SendMessage(Memo->Handle(), EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(Memo->TopLine(), 10 - Memo->VisibleLineCount());
}

}  // namespace
