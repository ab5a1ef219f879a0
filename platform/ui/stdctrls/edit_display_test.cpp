// The edit and the list box on a real display: text copied from our edit reaches another X client
// through the CLIPBOARD selection and that client's text comes back into the edit; the screen shows
// the edit's selection and the list's selected row. The screenshot is written beside the test
// program as edit_listbox_display.png.
#if NERIVO_X11_TESTS

#include <filesystem>
#include <fstream>
#include <future>

#include "platform/ui/core/form.h"
#include "platform/ui/stdctrls/edit.h"
#include "platform/ui/stdctrls/listbox.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/win/backends/x11/testkit/xclipboard.h"

namespace {

class EditDisplayTest : public TDisplayTest<TStdControlsTest> {
 protected:
  void SetUp() override {
    TDisplayTest::SetUp();
    if (IsSkipped()) return;
    SetTestFontMode(false);  // the real faces, as a person sees them
    Application->CreateForm(Form);
    Form->SetBounds(60, 40, 360, 220);
    Form->SetCaption("Nerivo");
    Form->Font()->SetName("WenQuanYi Micro Hei");
    Form->Font()->SetHeight(-13);
    Edit = NewControl<TEdit>(Form, Bounds(16, 16, 320, 26));
    Edit->SetText("输出 Output folder");
    List = NewControl<TListBox>(Form, Bounds(16, 56, 320, 120));
    for (const char* S : {"MP4 视频", "AVI", "MKV", "FLV", "MP3 音频"}) List->Items()->Add(S);
    Form->Show();
    Edit->SetFocus();
  }
  // Presses a key with Ctrl held, through the layer's input.
  void ctrlKey(Word Vk, char32_t C) {
    WinInputKey(VK_CONTROL, true);
    WinInputKey(Vk, true, C);
    WinInputKey(Vk, false);
    WinInputKey(VK_CONTROL, false);
    WinProcessMessages();
  }
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TListBox* List = nullptr;
};

TEST_F(EditDisplayTest, CopyAndPasteGoThroughTheClipboardSelectionBothWays) {
  x11test::TClipboardClient Other(Server->Name());
  ASSERT_TRUE(Other.Connected());
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Edit->Handle()); }));

  // Our copy, read by the other program while our loop serves it.
  SendMessage(Edit->Handle(), EM_SETSEL, 0, 9);
  ctrlKey('C', 3);
  auto Read = std::async(std::launch::async, [&] { return Other.Read(3000); });
  ASSERT_TRUE(
      PumpUntil([&] { return Read.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
  const std::optional<String> Got = Read.get();
  ASSERT_TRUE(Got.has_value());
  EXPECT_EQ(*Got, "输出 Output");

  // The other program's copy, pasted into our edit (a single line takes it up to the line break).
  ASSERT_TRUE(Other.Own("来自 xclient\nsecond line"));
  ASSERT_TRUE(PumpUntil([&] {
    String T;
    return WinGetClipboardText(&T) && T.rfind("来自", 0) == 0;
  }));
  SendMessage(Edit->Handle(), EM_SETSEL, 0, -1);
  ctrlKey('V', 22);
  EXPECT_EQ(Edit->Text(), "来自 xclient");

  // Copying again takes the selection back from the other program.
  SendMessage(Edit->Handle(), EM_SETSEL, 3, -1);
  ctrlKey('C', 3);
  ASSERT_TRUE(PumpUntil([&] { return !Other.Owns(); }));
  auto Again = std::async(std::launch::async, [&] { return Other.Read(3000); });
  ASSERT_TRUE(
      PumpUntil([&] { return Again.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
  EXPECT_EQ(Again.get().value_or("none"), "xclient");

  // Megabytes go across whole.
  Edit->SetText(String(2 * 1024 * 1024, 'x') + "end");
  SendMessage(Edit->Handle(), EM_SETSEL, 0, -1);
  ctrlKey('C', 3);
  auto Big = std::async(std::launch::async, [&] { return Other.Read(5000); });
  ASSERT_TRUE(
      PumpUntil([&] { return Big.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
  const String BigText = Big.get().value_or("");
  EXPECT_EQ(BigText.size(), 2u * 1024 * 1024 + 3);
  EXPECT_EQ(BigText.substr(BigText.size() - 3), "end");
}

TEST_F(EditDisplayTest, SelectedTextAndTheSelectedRowShowInTheHighlight) {
  SendMessage(Edit->Handle(), EM_SETSEL, 0, 2);
  List->SetItemIndex(1);
  const COLORREF High = GetSysColor(COLOR_HIGHLIGHT), Back = GetSysColor(COLOR_WINDOW);
  const TPoint SelStart = Edit->PosFromChar(0), SelEnd = Edit->PosFromChar(2);
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Edit, SelStart.X + 1, SelStart.Y) == High; }));
  EXPECT_EQ(ScreenAt(Edit, SelEnd.X - 1, SelStart.Y), High);
  EXPECT_EQ(ScreenAt(Edit, Edit->PosFromChar(10).X, SelStart.Y), Back);  // past the selection
  const TRect Row = List->ItemRect(1);
  EXPECT_EQ(ScreenAt(List, Row.Right - 3, Row.Top + 1), High);
  EXPECT_EQ(ScreenAt(List, Row.Right - 3, List->ItemRect(3).Top + 1), Back);
  // The caret blinks inside the edit, after the selection's end.
  POINT Caret;
  ASSERT_TRUE(GetCaretPos(&Caret));
  EXPECT_EQ(TPoint(Caret.X, Caret.Y), SelEnd);

  TRect W;
  GetWindowRect(Form->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "edit_listbox_display.png");
}

}  // namespace

#endif
