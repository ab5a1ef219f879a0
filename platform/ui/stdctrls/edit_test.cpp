#include "platform/ui/stdctrls/edit.h"

#include <gtest/gtest.h>

#include "platform/ui/menus/menu.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/testkit/ui_test_util.h"

namespace {

constexpr Word VkPacket = 0xE7;  // characters from the input method come without a key of their own

struct TKey {
  Word Vk;
  char32_t Char = 0;
  bool Shift = false;
  bool Ctrl = false;
};

void press(const TKey& K) {
  if (K.Ctrl) wintest::KeyDown(VK_CONTROL);
  if (K.Shift) wintest::KeyDown(VK_SHIFT);
  wintest::KeyPress(K.Vk, K.Char);
  if (K.Shift) wintest::KeyUp(VK_SHIFT);
  if (K.Ctrl) wintest::KeyUp(VK_CONTROL);
}

TKey ch(char32_t C) {
  return {VkPacket, C};
}
TKey ctrlChar(char Letter) {
  return {Word(Letter), char32_t(Letter - 'A' + 1), false, true};
}

class EditTest : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    Form = NewForm();
    Edit = NewControl<TEdit>(Form, Bounds(10, 10, 200, 25));
    Edit->SetBorderStyle(bsNone);
    Edit->OnChange = [this](TObject*) { Changes.push_back(Edit->Text()); };
    Edit->SetFocus();
  }
  void setState(const String& Text, Integer Anchor, Integer Caret) {
    Edit->SetText(Text);
    SendMessage(Edit->Handle(), EM_SETSEL, WPARAM(Anchor), LPARAM(Caret));
    Changes.clear();
  }
  Integer anchor() {
    return Edit->CaretPos() == Edit->SelStart() ? Edit->SelStart() + Edit->SelLength() : Edit->SelStart();
  }
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  std::vector<String> Changes;
};

struct TCommandCase {
  const char* Name;
  const char* Text;
  Integer Anchor, Caret;
  std::vector<TKey> Keys;
  const char* Result;
  Integer ResultAnchor, ResultCaret;
};

TEST_F(EditTest, KeysEditTheTextAndMoveTheCaretAndSelection) {
  const TCommandCase Cases[] = {
      {"left", "abc", 3, 3, {{VK_LEFT}}, "abc", 2, 2},
      {"shift left twice", "abc", 3, 3, {{VK_LEFT, 0, true}, {VK_LEFT, 0, true}}, "abc", 3, 1},
      {"left collapses a selection to its start", "abc", 0, 3, {{VK_LEFT}}, "abc", 0, 0},
      {"right collapses to the end", "abc", 2, 0, {{VK_RIGHT}}, "abc", 2, 2},
      {"right stops at the end", "abc", 3, 3, {{VK_RIGHT}}, "abc", 3, 3},
      {"ctrl right: start of the next word", "abc def", 0, 0, {{VK_RIGHT, 0, false, true}}, "abc def", 4, 4},
      {"ctrl left: start of the word", "abc def", 7, 7, {{VK_LEFT, 0, false, true}}, "abc def", 4, 4},
      {"ctrl shift left selects the word", "abc def", 7, 7, {{VK_LEFT, 0, true, true}}, "abc def", 7, 4},
      {"ctrl right over CJK", "中文 abc", 0, 0, {{VK_RIGHT, 0, false, true}}, "中文 abc", 3, 3},
      {"home and end", "abcdef", 3, 3, {{VK_HOME}}, "abcdef", 0, 0},
      {"end", "abcdef", 3, 3, {{VK_END}}, "abcdef", 6, 6},
      {"shift home", "abcdef", 3, 3, {{VK_HOME, 0, true}}, "abcdef", 3, 0},
      {"typing inserts at the caret", "ac", 1, 1, {ch(U'b')}, "abc", 3 - 1, 2},
      {"typing replaces the selection", "abcd", 1, 3, {ch(U'x')}, "axd", 2, 2},
      {"CJK from the input method", "", 0, 0, {ch(U'你'), ch(U'好')}, "你好", 2, 2},
      {"backspace removes one code point", "中文字", 3, 3, {{VK_BACK, 8}}, "中文", 2, 2},
      {"backspace at the start does nothing", "ab", 0, 0, {{VK_BACK, 8}}, "ab", 0, 0},
      {"delete removes the next code point", "中文字", 0, 0, {{VK_DELETE}}, "文字", 0, 0},
      {"delete removes the selection", "abcd", 1, 3, {{VK_DELETE}}, "ad", 1, 1},
      {"ctrl delete removes the word", "abc def", 0, 0, {{VK_DELETE, 0, false, true}}, "def", 0, 0},
      {"ctrl backspace removes the word",
       "hello world",
       11,
       11,
       {{VK_BACK, 127, false, true}},
       "hello ",
       6,
       6},
      {"ctrl A then typing replaces all", "abc", 1, 1, {ctrlChar('A'), ch(U'x')}, "x", 1, 1},
      {"enter in a single line does nothing", "ab", 2, 2, {{VK_RETURN, 13}}, "ab", 2, 2},
      {"tab in a single line is not text", "ab", 2, 2, {ch(U'\t')}, "ab", 2, 2},
      {"shift right over a CJK character", "a中b", 1, 1, {{VK_RIGHT, 0, true}}, "a中b", 1, 2},
  };
  for (const TCommandCase& C : Cases) {
    setState(C.Text, C.Anchor, C.Caret);
    for (const TKey& K : C.Keys) press(K);
    EXPECT_EQ(Edit->Text(), C.Result) << C.Name;
    EXPECT_EQ(anchor(), C.ResultAnchor) << C.Name;
    EXPECT_EQ(Edit->CaretPos(), C.ResultCaret) << C.Name;
  }
}

TEST_F(EditTest, ClipboardKeysCopyCutAndPaste) {
  setState("hello", 0, 5);
  press(ctrlChar('C'));
  press({VK_END});
  press(ctrlChar('V'));
  EXPECT_EQ(Edit->Text(), "hellohello");
  setState("abc", 0, 1);
  press({VK_DELETE, 0, true});  // Shift+Del cuts
  EXPECT_EQ(Edit->Text(), "bc");
  press({VK_END});
  press({VK_INSERT, 0, true});  // Shift+Ins pastes
  EXPECT_EQ(Edit->Text(), "bca");
  setState("xyz", 1, 3);
  press({VK_INSERT, 0, false, true});  // Ctrl+Ins copies
  String Clip;
  ASSERT_TRUE(WinGetClipboardText(&Clip));
  EXPECT_EQ(Clip, "yz");
  press(ctrlChar('X'));
  EXPECT_EQ(Edit->Text(), "x");
}

TEST_F(EditTest, UndoTakesBackTheLastStepAndUndoingAgainRedoesIt) {
  setState("", 0, 0);
  press(ch(U'a'));
  press(ch(U'b'));
  EXPECT_TRUE(Edit->CanUndo());
  press(ctrlChar('Z'));
  EXPECT_EQ(Edit->Text(), "");  // typing in a row is one step
  press(ctrlChar('Z'));
  EXPECT_EQ(Edit->Text(), "ab");
  press({VK_BACK, 8});
  EXPECT_EQ(Edit->Text(), "a");
  Edit->Undo();
  EXPECT_EQ(Edit->Text(), "ab");
  EXPECT_EQ(Edit->CaretPos(), 2);
  // A caret move ends the typing step.
  setState("", 0, 0);
  press(ch(U'a'));
  press({VK_LEFT});
  press(ch(U'b'));
  Edit->Undo();
  EXPECT_EQ(Edit->Text(), "a");
  // A code write empties the undo buffer.
  Edit->SetText("new");
  EXPECT_FALSE(Edit->CanUndo());
}

TEST_F(EditTest, OnChangeFiresForEveryChangeIncludingCodeWrites) {
  setState("start", 0, 0);
  Edit->SetText("code");
  Edit->SetText("code");  // no change, no event
  Edit->SetSelStart(4);
  Edit->SetSelText("!");
  SendMessage(Edit->Handle(), EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("?"));
  press(ch(U'x'));
  Edit->Undo();
  Edit->Clear();
  press({VK_LEFT});  // moving changes nothing
  EXPECT_EQ(Changes, (std::vector<String>{"code", "code!", "code!?", "code!?x", "code!?", ""}));
  // Before the window exists too.
  auto* Loose = new TEdit(Form);
  Integer Count = 0;
  Loose->OnChange = [&](TObject*) { ++Count; };
  Loose->SetText("early");
  EXPECT_EQ(Loose->Text(), "early");
  EXPECT_EQ(Count, 1);
}

TEST_F(EditTest, BadInputIsCutOrReplacedNeverKept) {
  Edit->SetText(
      "a\xFF"
      "b");
  EXPECT_EQ(Edit->Text(),
            "a\xEF\xBF\xBD"
            "b");  // U+FFFD
  Edit->SetText(String("ab\0cd", 5));
  EXPECT_EQ(Edit->Text(), "ab");
  // Megabytes pasted into one line: up to the first line break.
  String Big(3 * 1024 * 1024, 'x');
  Big += "\nsecond line";
  WinSetClipboardText(Big);
  setState("", 0, 0);
  press(ctrlChar('V'));
  EXPECT_EQ(Edit->Text().size(), 3u * 1024 * 1024);
  EXPECT_EQ(Edit->CaretPos(), 3 * 1024 * 1024);
  press(ch(U'y'));
  EXPECT_EQ(Edit->Text().back(), 'y');
  // MaxLength: a paste is cut to fit, typing past it is refused with a beep.
  Edit->SetMaxLength(5);
  setState("ab", 2, 2);
  WinSetClipboardText("cdefgh");
  press(ctrlChar('V'));
  EXPECT_EQ(Edit->Text(), "abcde");
  const Integer Beeps = WinBeepCount();
  press(ch(U'z'));
  EXPECT_EQ(Edit->Text(), "abcde");
  EXPECT_EQ(WinBeepCount(), Beeps + 1);
  EXPECT_EQ(SendMessage(Edit->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
}

TEST_F(EditTest, ReadOnlyRefusesChangesButCopiesAndMoves) {
  setState("text", 0, 2);
  Edit->SetReadOnly(true);
  WinSetClipboardText("paste");
  for (const TKey& K :
       {ch(U'x'), TKey{VK_BACK, 8}, TKey{VK_DELETE}, ctrlChar('V'), ctrlChar('X'), ctrlChar('Z')})
    press(K);
  EXPECT_EQ(Edit->Text(), "text");
  EXPECT_TRUE(Changes.empty());
  press(ctrlChar('C'));
  String Clip;
  WinGetClipboardText(&Clip);
  EXPECT_EQ(Clip, "te");
  press({VK_END});
  EXPECT_EQ(Edit->CaretPos(), 4);
  Edit->SetText("code still writes");
  EXPECT_EQ(Edit->Text(), "code still writes");
}

TEST_F(EditTest, PasswordEditShowsMaskAndRefusesToCopy) {
  Edit->SetPasswordChar(U'*');
  setState("secret", 0, 6);
  WinSetClipboardText("before");
  press(ctrlChar('C'));
  press(ctrlChar('X'));
  String Clip;
  WinGetClipboardText(&Clip);
  EXPECT_EQ(Clip, "before");
  EXPECT_EQ(Edit->Text(), "secret");
  EXPECT_EQ(SendMessage(Edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST_F(EditTest, MouseClickPlacesTheCaretDragSelectsDoubleClickSelectsTheWord) {
  setState("hello world", 0, 0);
  // Test font: 7 pixels a character, text from the 1-pixel margin.
  wintest::Click(At(Edit, 1 + 7 * 2 + 2, 5));
  EXPECT_EQ(Edit->CaretPos(), 2);
  EXPECT_EQ(Edit->SelLength(), 0);
  wintest::MouseDown(At(Edit, 1 + 7 * 1 + 1, 5));
  wintest::MouseMove(At(Edit, 1 + 7 * 4 + 1, 5));
  wintest::MouseUp(At(Edit, 1 + 7 * 4 + 1, 5));
  EXPECT_EQ(Edit->SelText(), "ell");
  wintest::Click(At(Edit, 1 + 7 * 8, 5));
  wintest::Click(At(Edit, 1 + 7 * 8, 5));
  EXPECT_EQ(Edit->SelText(), "world");
}

TEST_F(EditTest, TheCaretFollowsTypingAndTheTextScrollsToKeepItInView) {
  setState("", 0, 0);
  ASSERT_EQ(WinCaretOwner(), Edit->Handle());
  for (int I = 0; I < 40; ++I) press(ch(U'm'));  // 280 pixels in a 200-pixel edit
  POINT Caret;
  GetCaretPos(&Caret);
  EXPECT_GE(Caret.X, 0);
  EXPECT_LT(Caret.X, Edit->ClientWidth());
  EXPECT_EQ(TPoint(Caret.X, Caret.Y), Edit->PosFromChar(40));
  press({VK_HOME});
  EXPECT_EQ(Edit->PosFromChar(0).X, 1);  // back to the start, margin included
}

TEST_F(EditTest, FormattingRectangleAndMarginsPlaceTheText) {
  setState("abc", 0, 0);
  RECT R;
  SendMessage(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(TRect(R), Edit->ClientRect());
  const RECT Set{20, 3, 150, 20};
  SendMessage(Edit->Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&Set));
  SendMessage(Edit->Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 2);
  SendMessage(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(TRect(R), TRect(Set));
  EXPECT_EQ(Edit->PosFromChar(1), TPoint(20 + 2 + 7, 3));
  EXPECT_EQ(LOWORD(SendMessage(Edit->Handle(), EM_CHARFROMPOS, 0, PointToLParam({20 + 2 + 7 * 2 + 1, 5}))),
            2);
}

TEST_F(EditTest, RecreatingTheWindowKeepsTextSelectionAndFocus) {
  setState("keep me", 2, 5);
  HWND Old = Edit->Handle();
  Edit->SetAlignment(taRightJustify);  // recreates the window
  wintest::Pump();
  EXPECT_NE(Edit->Handle(), Old);
  EXPECT_EQ(Edit->Text(), "keep me");
  EXPECT_EQ(Edit->SelStart(), 2);
  EXPECT_EQ(Edit->SelLength(), 3);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST_F(EditTest, OwnContextMenuOffersWhatTheEditCanDoNow) {
  TPopupMenu* Shown = nullptr;
  TPoint ShownAt;
  SetPopupListHook([&](TPopupMenu* Menu, Integer X, Integer Y) {
    Shown = Menu;
    ShownAt = {X, Y};
  });
  setState("text", 0, 2);
  Edit->SetReadOnly(true);
  SendMessage(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()),
              PointToLParam({-1, -1}));
  SetPopupListHook(nullptr);
  ASSERT_NE(Shown, nullptr);
  EXPECT_EQ(ShownAt, Edit->ClientToScreen({Edit->Width() / 2, Edit->Height() / 2}));
  std::vector<std::pair<String, bool>> Items;
  for (Integer I = 0; I < Shown->Items()->Count(); ++I)
    Items.push_back({Shown->Items()->Items(I)->Caption(), Shown->Items()->Items(I)->Enabled()});
  EXPECT_EQ(Items, (std::vector<std::pair<String, bool>>{{"Undo", false},
                                                         {"-", true},
                                                         {"Cut", false},
                                                         {"Copy", true},
                                                         {"Paste", false},
                                                         {"Delete", false},
                                                         {"-", true},
                                                         {"Select All", true}}));
  Shown->Items()->Items(7)->Click();
  EXPECT_EQ(Edit->SelLength(), 4);
}

// An edit whose colours answer gives the hollow brush, as a transparent skinned edit does.
class THollowEdit : public TEdit {
 public:
  using TEdit::TEdit;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CN_CTLCOLOREDIT) {
      SetTextColor(reinterpret_cast<HDC>(Message.WParam), RGB(0, 0, 255));
      Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return;
    }
    TEdit::Dispatch(Message);
  }
};

TEST_F(EditTest, PaintingIntoAGivenContextTakesTheParentsColours) {
  auto* Hollow = NewControl<THollowEdit>(Form, Bounds(10, 50, 100, 25));
  Hollow->SetBorderStyle(bsNone);
  Hollow->SetText("ab");
  for (TEdit* E : {static_cast<TEdit*>(Hollow), Edit}) {
    auto Back = FilledBitmap(E->Width(), E->Height(), pf32bit, clRed);
    E->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Back->Canvas()->Handle()), 0);
    const bool IsHollow = E == Hollow;
    // Beside the text: the background left alone, or filled with the edit's colour.
    EXPECT_EQ(PixelColor(*Back, 80, 5), IsHollow ? Rgb(clRed) : Rgb(clWindow)) << E->ClassName();
    if (IsHollow) {
      EXPECT_EQ(PixelColor(*Back, 1 + 3, 6), RGB(0, 0, 255));  // the text in the answered colour
    }
  }
}

TEST_F(EditTest, AFramedEditIsOneLineOfItsFontHigh) {
  auto* Framed = NewControl<TEdit>(Form, Bounds(10, 50, 100, 40));
  EXPECT_EQ(Framed->Height(), 13 + 8);  // the test font's line and the sunken frame with its air
  Framed->Font()->SetHeight(-20);
  EXPECT_EQ(Framed->Height(), Framed->LineHeight() + 8);
  Framed->SetAutoSize(false);
  Framed->SetBounds(10, 50, 100, 40);
  EXPECT_EQ(Framed->Height(), 40);
  auto* Bare = new TEdit(Form);
  Bare->SetBorderStyle(bsNone);
  Bare->SetBoundsRect(Bounds(10, 100, 100, 40));
  Bare->SetParent(Form);
  EXPECT_EQ(Bare->Height(), 40);  // no frame: as asked
}

TEST_F(EditTest, MaskedEditTakesOnlyWhatTheMaskAllows) {
  auto* Masked = NewControl<TMaskEdit>(Form, Bounds(10, 50, 200, 25));
  Masked->SetEditMask("00-00");
  EXPECT_EQ(Masked->EditText(), "__-__");
  EXPECT_EQ(Masked->Text(), "  -  ");
  Masked->SetFocus();
  SendMessage(Masked->Handle(), EM_SETSEL, 0, 0);
  for (char32_t C : {U'1', U'x', U'2', U'3'}) press(ch(C));
  EXPECT_EQ(Masked->EditText(), "12-3_");
  EXPECT_EQ(Masked->Text(), "12-3 ");
}

struct TMaskCase {
  const char* Name;
  const char* Mask;
  const char* EditText;
  Integer Anchor, Caret;
  std::vector<TKey> Keys;
  const char* Result;
  Integer ResultCaret;
  const char* Text;
};

TEST_F(EditTest, MaskedEditKeysFillBlankAndStepOverLiterals) {
  const TMaskCase Cases[] = {
      {"typing skips the literal", "00-00", "", 0, 0, {ch('1'), ch('2'), ch('3')}, "12-3_", 4, "12-3 "},
      {"a misfit changes nothing", "00-00", "", 0, 0, {ch('x')}, "__-__", 0, "  -  "},
      {"typing at a literal goes to the next position",
       "00-00",
       "12-34",
       2,
       2,
       {ch('9')},
       "12-94",
       4,
       "12-94"},
      {"blank, save field off",
       "!(999) 000-0000;0;*",
       "",
       0,
       0,
       {ch('5'), ch('5'), ch('5'), ch('1'), ch('2'), ch('3'), ch('4'), ch('5'), ch('6'), ch('7')},
       "(555) 123-4567",
       14,
       "5551234567"},
      {"blank shows the mask's blank",
       "!(999) 000-0000;0;*",
       "",
       0,
       0,
       {},
       "(***) ***-****",
       0,
       "          "},
      {"right steps over a literal", "00-00", "12-34", 1, 1, {{VK_RIGHT}}, "12-34", 3, "12-34"},
      {"left steps back over it", "00-00", "12-34", 3, 3, {{VK_LEFT}}, "12-34", 1, "12-34"},
      {"left stops before a leading literal", "(00)", "(12)", 1, 1, {{VK_LEFT}}, "(12)", 1, "(12)"},
      {"home goes to the first position", "(00)", "(12)", 3, 3, {{VK_HOME}}, "(12)", 1, "(12)"},
      {"backspace blanks before the caret", "00-00", "12-34", 3, 3, {{VK_BACK, 8}}, "1_-34", 1, "1 -34"},
      {"delete blanks at the caret", "00-00", "12-34", 2, 2, {{VK_DELETE}}, "12-_4", 2, "12- 4"},
      {"delete blanks the selection", "00-00", "12-34", 1, 4, {{VK_DELETE}}, "1_-_4", 1, "1 - 4"},
      {"typing over a selection", "00-00", "12-34", 0, 5, {ch('9')}, "9_-__", 1, "9 -  "},
      {"case modifiers",
       ">LL<ll<>L",
       "",
       0,
       0,
       {ch('a'), ch('b'), ch('C'), ch('D'), ch('e')},
       "ABcde",
       5,
       "ABcde"},
      {"sign or digit", "#00", "", 0, 0, {ch('-'), ch('1'), ch('+')}, "-1_", 2, "-1 "},
      {"escaped literal and space literal", "\\A_00", "", 0, 0, {ch('4'), ch('2')}, "A 42", 4, "A 42"},
      {"letters include CJK", "LL", "", 0, 0, {ch(U'中'), ch('7'), ch('x')}, "中x", 2, "中x"},
      {"optional positions take anything of their kind",
       "aacc",
       "",
       0,
       0,
       {ch('1'), ch('b'), ch('#'), ch(U'文')},
       "1b#文",
       4,
       "1b#文"},
  };
  auto* Masked = NewControl<TMaskEdit>(Form, Bounds(10, 50, 200, 25));
  Masked->SetFocus();
  for (const TMaskCase& C : Cases) {
    Masked->SetEditMask(C.Mask);
    Masked->SetEditText(C.EditText);
    SendMessage(Masked->Handle(), EM_SETSEL, WPARAM(C.Anchor), LPARAM(C.Caret));
    for (const TKey& K : C.Keys) press(K);
    EXPECT_EQ(Masked->EditText(), C.Result) << C.Name;
    EXPECT_EQ(Masked->CaretPos(), C.ResultCaret) << C.Name;
    EXPECT_EQ(Masked->SelLength(), 0) << C.Name;
    EXPECT_EQ(Masked->Text(), C.Text) << C.Name;
  }
}

TEST_F(EditTest, MaskedEditTextByCodePasteAndCut) {
  auto* Masked = NewControl<TMaskEdit>(Form, Bounds(10, 50, 200, 25));
  Masked->SetEditMask("00-00;0");
  Masked->SetText("1234");
  EXPECT_EQ(Masked->EditText(), "12-34");
  EXPECT_EQ(Masked->Text(), "1234");
  Masked->SetText("56-7");  // its literal taken at its place
  EXPECT_EQ(Masked->EditText(), "56-7_");
  Masked->SetText("x1");  // a misfit leaves its position empty
  EXPECT_EQ(Masked->EditText(), "_1-__");
  // A new mask keeps what fits of the text.
  Masked->SetText("1234");
  Masked->SetEditMask("000.0");
  EXPECT_EQ(Masked->EditText(), "123.4");
  // An empty mask leaves a plain edit.
  Masked->SetEditMask("");
  EXPECT_FALSE(Masked->IsMasked());
  Masked->SetText("free text");
  EXPECT_EQ(Masked->Text(), "free text");

  Masked->SetEditMask("!(999) 000-0000");
  Masked->SetFocus();
  SendMessage(Masked->Handle(), EM_SETSEL, 0, 0);
  WinSetClipboardText("(555) 12x3\nrest");
  press(ctrlChar('V'));
  EXPECT_EQ(Masked->EditText(), "(555) 123-____");
  EXPECT_EQ(Masked->CaretPos(), 10);
  SendMessage(Masked->Handle(), EM_SETSEL, 1, 4);
  press(ctrlChar('X'));
  String Clip;
  ASSERT_TRUE(WinGetClipboardText(&Clip));
  EXPECT_EQ(Clip, "555");
  EXPECT_EQ(Masked->EditText(), "(___) 123-____");
  // A paste longer than the mask stops at its end; a read-only edit takes none.
  WinSetClipboardText("99999999999999");
  SendMessage(Masked->Handle(), EM_SETSEL, 0, 0);
  press({VK_INSERT, 0, true});
  EXPECT_EQ(Masked->EditText(), "(999) 999-9999");
  Masked->SetReadOnly(true);
  WinSetClipboardText("1");
  SendMessage(Masked->Handle(), EM_SETSEL, 0, 0);
  press(ctrlChar('V'));
  press(ch('2'));
  EXPECT_EQ(Masked->EditText(), "(999) 999-9999");
}

TEST_F(EditTest, MaskedEditValidatesOnLeavingAndEscapeTakesBack) {
  auto* Masked = NewControl<TMaskEdit>(Form, Bounds(10, 50, 200, 25));
  auto* Next = NewControl<TEdit>(Form, Bounds(10, 90, 200, 25));
  Masked->SetEditMask("00-99");
  Masked->SetText("1");
  std::vector<String> Errors;
  Application->OnException = [&](TObject*, const Exception& E) { Errors.push_back(E.Message()); };
  // Untouched by the user: leaving is free, even with required positions blank.
  Masked->SetFocus();
  Next->SetFocus();
  EXPECT_TRUE(Next->Focused());
  EXPECT_TRUE(Errors.empty());

  // Escape puts back the text the edit had when the focus came.
  Masked->SetFocus();
  SendMessage(Masked->Handle(), EM_SETSEL, 0, 0);
  press(ch('7'));
  EXPECT_EQ(Masked->EditText(), "7_-__");
  press({VK_ESCAPE, 27});
  EXPECT_EQ(Masked->EditText(), "1_-__");
  EXPECT_FALSE(Masked->Modified());

  // Typed, with the second required digit blank: the focus stays, the caret goes to it.
  SendMessage(Masked->Handle(), EM_SETSEL, 0, 0);
  press(ch('7'));
  Next->SetFocus();
  EXPECT_TRUE(Masked->Focused());
  EXPECT_EQ(Masked->CaretPos(), 1);
  EXPECT_EQ(Errors, (std::vector<String>{"Invalid input value.  Use escape key to abandon changes"}));
  EXPECT_THROW(Masked->ValidateEdit(), EDBEditError);
  // Optional positions may stay blank.
  press(ch('8'));
  EXPECT_NO_THROW(Masked->ValidateEdit());
  Next->SetFocus();
  EXPECT_TRUE(Next->Focused());
  EXPECT_EQ(Masked->Text(), "78-  ");
  Application->OnException = nullptr;
}

}  // namespace
