#include "skin/boxes/edits/bscustomedit.h"

#include <gtest/gtest.h>

#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/testkit/ui_test_util.h"
#include "skin/core/bsmessages.h"
#include "skin/menus/bsskinmenu.h"

namespace {

constexpr Word VkPacket = 0xE7;  // a character without a key of its own

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

template <class TEditClass>
class TEditFixture : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    Form = NewForm();
    Edit = NewControl<TEditClass>(Form, Bounds(10, 10, 200, 21));
    Edit->SetFocus();
  }
  void setState(const String& Text, Integer Start, Integer Length) {
    Edit->SetText(Text);
    Edit->SetSelStart(Start);
    Edit->SetSelLength(Length);
  }
  TForm* Form = nullptr;
  TEditClass* Edit = nullptr;
};

using BsCustomEditTest = TEditFixture<TbsCustomEdit>;
using BsNumEditTest = TEditFixture<TbsSkinNumEdit>;

TEST_F(BsCustomEditTest, ReadOnlyRefusesEveryEditButKeepsSelectingAndCopying) {
  Edit->SetReadOnly(true);
  WinSetClipboardText("pasted");
  const std::vector<std::vector<TKey>> Edits = {
      {ch('x')},       {{VK_BACK, 8}},  {{VK_DELETE}},          {ctrlChar('V')},
      {ctrlChar('X')}, {ctrlChar('Z')}, {{VK_DELETE, 0, true}}, {{VK_INSERT, 0, true}},
  };
  for (size_t i = 0; i < Edits.size(); ++i) {
    setState("hello", 1, 3);
    for (const TKey& K : Edits[i]) press(K);
    EXPECT_EQ(Edit->Text(), "hello") << "input " << i;
  }
  // Code calls of the editing commands are refused as well.
  setState("hello", 1, 3);
  Edit->CutToClipboard();
  Edit->PasteFromClipboard();
  Edit->ClearSelection();
  EXPECT_EQ(Edit->Text(), "hello");
  // Moving, selecting and copying still work.
  setState("hello", 0, 0);
  press({VK_END, 0, true});
  EXPECT_EQ(Edit->SelLength(), 5);
  press(ctrlChar('C'));
  String Clip;
  ASSERT_TRUE(WinGetClipboardText(&Clip));
  EXPECT_EQ(Clip, "hello");
}

struct TMenuCase {
  const char* Name;
  const char* Text;
  Integer SelStart, SelLength;
  bool ReadOnly;
  bool ClipText;
  // Undo, Cut, Copy, Paste, Delete, Select All
  bool Enabled[6];
};

TEST_F(BsCustomEditTest, OwnContextMenuHasFallbackCaptionsAndEnablesByState) {
  const TMenuCase Cases[] = {
      {"empty box", "", 0, 0, false, false, {false, false, false, false, false, false}},
      {"part selected", "hello", 1, 2, false, true, {false, true, true, true, true, true}},
      {"all selected", "hello", 0, 5, false, true, {false, true, true, true, true, false}},
      {"read-only", "hello", 1, 2, true, true, {false, false, true, false, false, true}},
      {"caret only", "hello", 2, 0, false, false, {false, false, false, false, false, true}},
  };
  const char* Captions[] = {"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"};
  const int Real[] = {0, 2, 3, 4, 5, 7};
  for (const TMenuCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Edit->SetReadOnly(C.ReadOnly);
    if (C.ClipText)
      WinSetClipboardText("x");
    else
      WinEmptyClipboard();
    setState(C.Text, C.SelStart, C.SelLength);
    SendMessage(Edit->Handle(), WM_CONTEXTMENU, WPARAM(Edit->Handle()), LPARAM(-1));
    TbsSkinPopupMenu* M = Edit->SysPopupMenu();
    ASSERT_NE(M, nullptr);
    ASSERT_EQ(M->Items()->Count(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(M->Items()->Items(i)->Caption(), Captions[i]);
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(M->Items()->Items(Real[i])->Enabled(), C.Enabled[i]) << Captions[Real[i]];
  }
}

TEST_F(BsCustomEditTest, UndoEntryFollowsTheEditAndMenuCommandsRunThenTheMenuIsFreed) {
  setState("ab", 2, 0);
  press(ch('c'));
  SendMessage(Edit->Handle(), WM_CONTEXTMENU, WPARAM(Edit->Handle()), LPARAM(-1));
  TbsSkinPopupMenu* M = Edit->SysPopupMenu();
  ASSERT_NE(M, nullptr);
  EXPECT_TRUE(M->Items()->Items(0)->Enabled());
  // The skinned menu runs the chosen command, then tells the edit, which frees its menu.
  M->Items()->Items(0)->Click();
  EXPECT_EQ(Edit->Text(), "ab");
  SendMessage(Edit->Handle(), WM_AFTERDISPATCH, 0, 0);
  EXPECT_EQ(Edit->SysPopupMenu(), nullptr);
  // Select All through the menu.
  SendMessage(Edit->Handle(), WM_CONTEXTMENU, WPARAM(Edit->Handle()), LPARAM(-1));
  Edit->SysPopupMenu()->Items()->Items(7)->Click();
  EXPECT_EQ(Edit->SelStart(), 0);
  EXPECT_EQ(Edit->SelLength(), 2);
}

TEST_F(BsCustomEditTest, EnterAndEscGoToTheFormsDialogKeysAfterOnKeyPress) {
  auto* Ok = NewControl<TButton>(Form, Bounds(10, 50, 75, 25));
  Ok->SetDefault(true);
  auto* Cancel = NewControl<TButton>(Form, Bounds(100, 50, 75, 25));
  Cancel->SetCancel(true);
  std::vector<String> Log;
  Ok->OnClick = [&](TObject*) { Log.push_back("ok"); };
  Cancel->OnClick = [&](TObject*) { Log.push_back("cancel"); };
  Edit->OnKeyPress = [&](TObject*, char32_t& Key) {
    Log.push_back("key " + std::to_string(int(Key)));
    Key = 0;  // does not stop the forwarding
  };
  Edit->SetFocus();
  setState("abc", 3, 0);
  press({VK_RETURN, 13});
  press({VK_ESCAPE, 27});
  EXPECT_EQ(Log, (std::vector<String>{"key 13", "ok", "key 27", "cancel"}));
  EXPECT_EQ(Edit->Text(), "abc");
}

TEST_F(BsCustomEditTest, CancelModeNamesTheControlThatTookTheMouse) {
  TControl* Named = nullptr;
  int Calls = 0;
  Edit->OnEditCancelMode = [&](TControl* C) {
    Named = C;
    ++Calls;
  };
  Edit->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Form));
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Named, Form);
}

TEST_F(BsCustomEditTest, FontGivesTwoPixelLeftMarginAndNoRightMargin) {
  Edit->Font()->SetSize(12);
  const LRESULT M = SendMessage(Edit->Handle(), EM_GETMARGINS, 0, 0);
  EXPECT_EQ(LOWORD(M), 2);
  EXPECT_EQ(HIWORD(M), 0);
}

TEST_F(BsCustomEditTest, RecreatingTheWindowKeepsTextSelectionAndFocus) {
  setState("keep me", 2, 3);
  const HWND Old = Edit->Handle();
  Edit->SetEditTransparent(true);
  Application->ProcessMessages();
  ASSERT_TRUE(Edit->HandleAllocated());
  EXPECT_NE(Edit->Handle(), Old);
  EXPECT_EQ(Edit->Text(), "keep me");
  EXPECT_EQ(Edit->SelStart(), 2);
  EXPECT_EQ(Edit->SelLength(), 3);
  EXPECT_EQ(GetFocus(), Edit->Handle());
}

// ---- the numeric edit ----

struct TNumCase {
  const char* Name;
  bool Float;
  bool EditorEnabled;
  const char* Text;
  Integer SelStart, SelLength;
  const char32_t* Typed;
  const char* Result;
  Integer Beeps;
};

TEST_F(BsNumEditTest, TypedCharactersAreFilteredToANumber) {
  const char32_t Sep = LocaleDecimalSeparator();
  ASSERT_EQ(Sep, U'.');  // the cases below are written for the C locale
  const TNumCase Cases[] = {
      {"minus then digits", false, true, "", 0, 0, U"-12", "-12", 0},
      {"letters and plus refused", false, true, "", 0, 0, U"a+1", "1", 2},
      {"separator refused without Float", false, true, "1", 1, 0, U".", "1", 1},
      {"second minus", false, true, "-1", 0, 0, U"-", "-1", 1},
      {"minus after the first character", false, true, "12", 1, 0, U"-", "12", 1},
      {"minus over everything selected", false, true, "12", 0, 2, U"-", "-", 0},
      {"Float takes one separator", true, true, "", 0, 0, U"3.5.", "3.5", 1},
      {"editor disabled refuses printables", false, false, "12", 2, 0, U"3a", "12", 2},
      {"editor disabled refuses Backspace", false, false, "12", 2, 0, U"\b", "12", 1},
      {"editor disabled still takes a minus over the start", false, false, "12", 0, 1, U"-", "-2", 0},
      {"backspace allowed", false, true, "12", 2, 0, U"\b", "1", 0},
  };
  for (const TNumCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Edit->Float = C.Float;
    Edit->SetEditorEnabled(C.EditorEnabled);
    setState(C.Text, C.SelStart, C.SelLength);
    const Integer Before = WinBeepCount();
    for (const char32_t* P = C.Typed; *P; ++P) press(*P == 8 ? TKey{VK_BACK, 8} : ch(*P));
    EXPECT_EQ(Edit->Text(), C.Result);
    EXPECT_EQ(WinBeepCount() - Before, C.Beeps);
  }
}

TEST_F(BsNumEditTest, ArrowKeysAndWheelBecomeUpAndDownClicks) {
  std::vector<String> Log;
  Edit->OnUpClick = [&](TObject* S) { Log.push_back(S == Edit ? "up" : "up?"); };
  Edit->OnDownClick = [&](TObject* S) { Log.push_back(S == Edit ? "down" : "down?"); };
  Edit->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
    Log.push_back("keydown " + std::to_string(Key));
  };
  setState("5", 1, 0);
  press({VK_UP});
  press({VK_DOWN});
  EXPECT_EQ(Log, (std::vector<String>{"up", "down"}));
  EXPECT_EQ(Edit->Text(), "5");
  Log.clear();
  // Forward rotation steps down.
  SendMessage(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  SendMessage(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, Word(-WHEEL_DELTA)), 0);
  EXPECT_EQ(Log, (std::vector<String>{"down", "up"}));
  Log.clear();
  press({VK_LEFT});
  EXPECT_EQ(Log, (std::vector<String>{"keydown " + std::to_string(VK_LEFT)}));
  EXPECT_EQ(Edit->SelStart(), 0);
}

}  // namespace
