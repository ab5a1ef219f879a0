#include "platform/ui/dialogs/messagebox.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/rtl/threads.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

struct TKey {
  Word Vk;
  char32_t Char = 0;
  bool Alt = false;
};

struct TAnswerCase {
  const char* Name;
  UINT Flags;
  std::vector<TKey> Keys;
  Integer Expected;
};

// The box that is showing (the active window's form).
TMessageBoxForm* ShowingBox() {
  return dynamic_cast<TMessageBoxForm*>(FindControl(GetActiveWindow()));
}

// A pixel of a window as painted (window coordinates).
COLORREF WindowPixel(HWND Wnd, Integer X, Integer Y) {
  HBITMAP B = wintest::PaintWindowToBitmap(Wnd);
  if (B == nullptr) return CLR_INVALID;
  const COLORREF C = wintest::BitmapPixel(B, X, Y);
  DeleteObject(B);
  return C;
}

// A pixel of a window's client area as painted.
COLORREF ClientPixel(HWND Wnd, Integer X, Integer Y) {
  RECT W;
  GetWindowRect(Wnd, &W);
  POINT P{X, Y};
  ClientToScreen(Wnd, &P);
  return WindowPixel(Wnd, P.X - W.Left, P.Y - W.Top);
}

class MessageBoxTest : public TUiTest, public ::testing::WithParamInterface<TAnswerCase> {};

TEST_P(MessageBoxTest, AnswersTheKeysAPersonPresses) {
  const TAnswerCase& C = GetParam();
  TForm* Owner = NewForm();
  bool OwnerDisabled = false;
  wintest::OnNextModalLoop([&] {
    OwnerDisabled = !IsWindowEnabled(Owner->Handle());
    for (const TKey& K : C.Keys) wintest::KeyPress(K.Vk, K.Char, K.Alt);
  });
  EXPECT_EQ(MessageBox(Owner->Handle(), "要继续吗？", "提示", C.Flags), C.Expected);
  EXPECT_TRUE(OwnerDisabled);
  EXPECT_TRUE(IsWindowEnabled(Owner->Handle()));
  EXPECT_EQ(ShowingBox(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MessageBoxTest,
    ::testing::Values(
        TAnswerCase{"OkEnter", MB_OK, {{VK_RETURN}}, IDOK},
        TAnswerCase{"OkEscapeIsOk", MB_OK | MB_ICONHAND, {{VK_ESCAPE}}, IDOK},
        TAnswerCase{"OkCancelEnter", MB_OKCANCEL, {{VK_RETURN}}, IDOK},
        TAnswerCase{"OkCancelEscape", MB_OKCANCEL, {{VK_ESCAPE}}, IDCANCEL},
        TAnswerCase{"SecondDefault", MB_OKCANCEL | MB_DEFBUTTON2, {{VK_RETURN}}, IDCANCEL},
        TAnswerCase{"DefaultPastTheEndIsTheFirst", MB_YESNO | MB_DEFBUTTON4, {{VK_RETURN}}, IDYES},
        TAnswerCase{"RightThenEnter", MB_YESNO, {{VK_RIGHT}, {VK_RETURN}}, IDNO},
        TAnswerCase{"LeftWrapsToTheLast", MB_YESNOCANCEL, {{VK_LEFT}, {VK_RETURN}}, IDCANCEL},
        TAnswerCase{"DownWrapsToTheFirst", MB_YESNO | MB_DEFBUTTON2, {{VK_DOWN}, {VK_RETURN}}, IDYES},
        TAnswerCase{"TabThenSpace", MB_RETRYCANCEL, {{VK_TAB}, {VK_SPACE, U' '}}, IDCANCEL},
        TAnswerCase{"LetterN", MB_YESNO, {{'N', U'n'}}, IDNO},
        TAnswerCase{"CapitalY", MB_YESNOCANCEL | MB_DEFBUTTON3, {{'Y', U'Y'}}, IDYES},
        TAnswerCase{"AltLetterI", MB_ABORTRETRYIGNORE, {{'I', U'i', true}}, IDIGNORE},
        TAnswerCase{"LetterOfNoButtonDoesNothing", MB_YESNO, {{'Q', U'q'}, {'N', U'n'}}, IDNO},
        TAnswerCase{"EscapeWithoutCancelDoesNothing", MB_YESNO, {{VK_ESCAPE}, {'Y', U'y'}}, IDYES},
        TAnswerCase{"EscapeWithoutCancelAbort", MB_ABORTRETRYIGNORE, {{VK_ESCAPE}, {'A', U'a'}}, IDABORT},
        TAnswerCase{"TryAgain", MB_CANCELTRYCONTINUE, {{'T', U't'}}, IDTRYAGAIN},
        TAnswerCase{"UnknownSetIsOk", 0x9, {{VK_RETURN}}, IDOK}),
    [](const ::testing::TestParamInfo<TAnswerCase>& I) { return String(I.param.Name); });

TEST_F(TUiTest, TheCloseBoxAnswersAsEscapeAndAClickAnswersItsButton) {
  TForm* Owner = NewForm();
  // Yes/No: closing does nothing, a click on No answers.
  wintest::OnNextModalLoop([] {
    TMessageBoxForm* Box = ShowingBox();
    ASSERT_NE(Box, nullptr);
    PostMessage(Box->Handle(), WM_CLOSE, 0, 0);
    HWND No = Box->Buttons(1)->Handle();
    wintest::Click(wintest::ScreenPoint(No, 10, 10));
  });
  EXPECT_EQ(MessageBox(Owner->Handle(), "text", "caption", MB_YESNO), IDNO);
  // OK/Cancel: closing answers Cancel.
  wintest::OnNextModalLoop([] { PostMessage(GetActiveWindow(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(MessageBox(Owner->Handle(), "text", "caption", MB_OKCANCEL), IDCANCEL);
  // A press let go outside the button is no click.
  wintest::OnNextModalLoop([] {
    HWND Yes = ShowingBox()->Buttons(0)->Handle();
    wintest::MouseDown(wintest::ScreenPoint(Yes, 10, 10));
    wintest::MouseUp(wintest::ScreenPoint(Yes, 10, 100));
    wintest::KeyPress('N', U'n');
  });
  EXPECT_EQ(MessageBox(nullptr, "text", "caption", MB_YESNO), IDNO);
}

TEST_F(TUiTest, TheBoxKeepsServingTheMainThreadQueue) {
  std::thread Worker;
  bool RanInside = false;
  wintest::OnNextModalLoop([&] {
    // A worker waits for the main thread while the box is up; its call answers the box.
    Worker = std::thread([&] {
      TThread::Synchronize(nullptr, [&] {
        RanInside = ShowingBox() != nullptr;
        WinInputKey(VK_ESCAPE, true);
        WinInputKey(VK_ESCAPE, false);
      });
    });
  });
  EXPECT_EQ(MessageBox(nullptr, "text", "caption", MB_OKCANCEL), IDCANCEL);
  Worker.join();
  EXPECT_TRUE(RanInside);
}

struct TIconCase {
  UINT Kind;
  TPoint Body;  // a pixel of the coloured shape, in the 32-pixel icon
  TColor BodyColour;
  TPoint Mark;  // a pixel of the mark on it
  TColor MarkColour;
};

TEST_F(TUiTest, TheBoxShowsItsIconTextAndDefaultButton) {
  const TIconCase Cases[] = {
      {MB_ICONHAND, {5, 16}, stdlook::Error, {16, 16}, stdlook::Surface},
      {MB_ICONEXCLAMATION, {10, 26}, stdlook::Warning, {16, 15}, stdlook::Text},
      {MB_ICONQUESTION, {5, 16}, stdlook::Accent, {16, 23}, stdlook::Surface},
      {MB_ICONASTERISK, {5, 16}, stdlook::Accent, {16, 19}, stdlook::Surface},
  };
  for (const TIconCase& C : Cases) {
    wintest::OnNextModalLoop([&] {
      TMessageBoxForm* Box = ShowingBox();
      ASSERT_NE(Box, nullptr);
      EXPECT_EQ(GetFocus(), Box->Buttons(1)->Handle());
      HWND W = Box->Handle();
      const TRect I = Box->IconRect();
      EXPECT_EQ(I.Width(), 32);
      EXPECT_EQ(ClientPixel(W, I.Left + C.Body.X, I.Top + C.Body.Y), COLORREF(C.BodyColour)) << C.Kind;
      EXPECT_EQ(ClientPixel(W, I.Left + C.Mark.X, I.Top + C.Mark.Y), COLORREF(C.MarkColour)) << C.Kind;
      EXPECT_EQ(ClientPixel(W, I.Left, I.Top), COLORREF(stdlook::Surface)) << C.Kind;  // outside the shape
      EXPECT_GE(Box->TextRect().Left, I.Right);
      // The default (second) button wears the accent, the other its border.
      EXPECT_EQ(WindowPixel(Box->Buttons(1)->Handle(), 4, 14), COLORREF(stdlook::Accent));
      EXPECT_EQ(WindowPixel(Box->Buttons(0)->Handle(), 40, 0), COLORREF(stdlook::FaceBorder));
      wintest::KeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(MessageBox(nullptr, "文本 text", "caption", C.Kind | MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  }
}

TEST_F(TUiTest, TheBoxSizesToItsTextAndBadInputShowsWithoutHarm) {
  // No icon: the text starts at the margin; a long text wraps within the box's maximum width.
  String Long;
  for (int i = 0; i < 60; ++i) Long += "word ";
  TMessageBoxForm Box(nullptr, Long + "\xff\xfe", "caption \xc3", MB_YESNOCANCEL);
  EXPECT_EQ(Box.TextRect().Left, 16);
  EXPECT_LE(Box.TextRect().Width(), 420);
  EXPECT_GT(Box.TextRect().Height(), 2 * Box.Font()->Height() * -1);
  EXPECT_GE(Box.ClientWidth(), Box.TextRect().Right + 16);
  // Buttons in the set's order, left to right, inside the client area and below the text.
  ASSERT_EQ(Box.ButtonCount(), 3);
  EXPECT_EQ(Box.Buttons(0)->Answer(), IDYES);
  EXPECT_EQ(Box.Buttons(2)->Answer(), IDCANCEL);
  EXPECT_LT(Box.Buttons(0)->Left(), Box.Buttons(1)->Left());
  EXPECT_LE(Box.Buttons(2)->Left() + Box.Buttons(2)->Width(), Box.ClientWidth());
  EXPECT_GT(Box.Buttons(0)->Top(), Box.TextRect().Bottom);
  EXPECT_EQ(Box.EscapeAnswer(), IDCANCEL);
  // Placed in the middle of the work area without an owner.
  TRect Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  Box.PlaceOver(nullptr);
  EXPECT_EQ(Box.Left(), Work.Left + (Work.Width() - Box.Width()) / 2);
  wintest::OnNextModalLoop([] { wintest::KeyPress(VK_ESCAPE); });
  EXPECT_EQ(Box.ShowModal(), IDCANCEL);
}

}  // namespace

namespace {

// The application's message box and its exception report are this box, over the active form.
TEST_F(TUiTest, TheApplicationShowsItsMessagesAndExceptionsInTheBox) {
  SetMessageBoxFunction(SavedMessageBox);
  TForm* Owner = NewForm();
  Application->SetTitle("Nerivo");
  String Seen, Title;
  UINT Icon = 0;
  HWND OwnerSeen = nullptr;
  auto look = [&] {
    TMessageBoxForm* Box = ShowingBox();
    ASSERT_NE(Box, nullptr);
    Seen = Box->MessageText();
    Title = Box->Caption();
    Icon = Box->IconKind();
    OwnerSeen = IsWindowEnabled(Owner->Handle()) ? nullptr : Owner->Handle();
  };
  wintest::OnNextModalLoop([&] {
    look();
    wintest::KeyPress('N', U'n');
  });
  EXPECT_EQ(Application->MessageBox("删除吗？", "提示", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(Seen, "删除吗？");
  EXPECT_EQ(Title, "提示");
  EXPECT_EQ(Icon, MB_ICONQUESTION);
  EXPECT_EQ(OwnerSeen, Owner->Handle());  // modal over the form

  wintest::OnNextModalLoop([&] {
    look();
    wintest::KeyPress(VK_RETURN);
  });
  Application->ShowException(EConvertError("'x' is not a valid integer value"));
  EXPECT_EQ(Seen, "'x' is not a valid integer value.");
  EXPECT_EQ(Title, "Nerivo");
  EXPECT_EQ(Icon, MB_ICONHAND);
}

}  // namespace
