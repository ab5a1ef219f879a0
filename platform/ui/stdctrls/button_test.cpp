#include "platform/ui/stdctrls/button.h"

#include <functional>

#include "platform/ui/core/form.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/looksurface.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

// A dialog of buttons as a person meets it: OK (default), Cancel (cancel), Go with a mnemonic and a
// check box to put the focus on.
class ButtonTest : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    Form = NewForm();
    Ok = NewControl<TButton>(Form, Bounds(10, 10, 75, 28));
    Ok->SetCaption("&OK");
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Cancel = NewControl<TButton>(Form, Bounds(100, 10, 75, 28));
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    Go = NewControl<TButton>(Form, Bounds(190, 10, 75, 28));
    Go->SetCaption("&Go");
    Box = NewControl<TCheckBox>(Form, Bounds(10, 60, 97, 17));
    Box->SetCaption("Box");
    for (TButton* B : {Ok, Cancel, Go}) B->OnClick = [this](TObject* S) { Clicks.push_back(S); };
  }

 public:
  TForm* Form = nullptr;
  TButton *Ok = nullptr, *Cancel = nullptr, *Go = nullptr;
  TCheckBox* Box = nullptr;
  std::vector<TObject*> Clicks;
};

TEST_F(ButtonTest, AClickReachesTheParentAsACommandAndComesBackToTheButton) {
  wintest::TMessageSpy Spy({Form->Handle(), Go->Handle()});
  wintest::Click(Middle(Go));
  EXPECT_EQ(Clicks, std::vector<TObject*>{Go});
  const std::vector<std::pair<HWND, UINT>> Want{{Form->Handle(), WM_COMMAND}, {Go->Handle(), CN_COMMAND}};
  EXPECT_EQ(Spy.Sequence({WM_COMMAND, CN_COMMAND}), Want);
  const auto* Command = Spy.First(Form->Handle(), WM_COMMAND);
  ASSERT_NE(Command, nullptr);
  EXPECT_EQ(HIWORD(Command->WParam), BN_CLICKED);
  EXPECT_EQ(reinterpret_cast<HWND>(Command->LParam), Go->Handle());
  EXPECT_TRUE(Go->Focused());  // the press took the focus
}

struct TPersonCase {
  const char* Name;
  std::function<void(ButtonTest&)> Act;
  std::vector<const char*> Clicked;  // by caption, in order
};

class ButtonPersonTest : public ButtonTest, public ::testing::WithParamInterface<TPersonCase> {};

TEST_P(ButtonPersonTest, ClicksOnlyWhatThePersonClicked) {
  GetParam().Act(*this);
  std::vector<String> Got;
  for (TObject* S : Clicks) Got.push_back(static_cast<TButton*>(S)->Caption());
  std::vector<String> Want(GetParam().Clicked.begin(), GetParam().Clicked.end());
  EXPECT_EQ(Got, Want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonPersonTest,
    ::testing::Values(TPersonCase{"ReleasedOutside",
                                  [](ButtonTest& T) {
                                    wintest::MouseDown(T.Middle(T.Go));
                                    wintest::MouseMove(T.At(T.Go, 100, 14));
                                    wintest::MouseUp(T.At(T.Go, 100, 14));
                                  },
                                  {}},
                      TPersonCase{"DraggedOutAndBack",
                                  [](ButtonTest& T) {
                                    wintest::MouseDown(T.Middle(T.Go));
                                    wintest::MouseMove(T.At(T.Go, 100, 14));
                                    wintest::MouseMove(T.At(T.Go, 30, 14));
                                    wintest::MouseUp(T.At(T.Go, 30, 14));
                                  },
                                  {"&Go"}},
                      TPersonCase{"DisabledIgnoresTheMouseAndItsMnemonic",
                                  [](ButtonTest& T) {
                                    T.Go->SetEnabled(false);
                                    wintest::Click(T.Middle(T.Go));
                                    T.Box->SetFocus();
                                    wintest::KeyPress('G', U'g');
                                  },
                                  {}},
                      TPersonCase{"SpaceOnTheFocusedButton",
                                  [](ButtonTest& T) {
                                    T.Go->SetFocus();
                                    wintest::KeyDown(VK_SPACE, U' ');
                                    EXPECT_TRUE(T.Clicks.empty());  // the click comes with the release
                                    wintest::KeyUp(VK_SPACE);
                                  },
                                  {"&Go"}},
                      TPersonCase{"EnterClicksTheFocusedButtonNotTheDefault",
                                  [](ButtonTest& T) {
                                    T.Go->SetFocus();
                                    wintest::KeyPress(VK_RETURN);
                                  },
                                  {"&Go"}},
                      TPersonCase{"EnterClicksTheDefaultWhileNoButtonHasTheFocus",
                                  [](ButtonTest& T) {
                                    T.Box->SetFocus();
                                    wintest::KeyPress(VK_RETURN);
                                  },
                                  {"&OK"}},
                      TPersonCase{"EscapeClicksTheCancelButton",
                                  [](ButtonTest& T) {
                                    T.Box->SetFocus();
                                    wintest::KeyPress(VK_ESCAPE);
                                  },
                                  {"Cancel"}},
                      TPersonCase{"MnemonicLetter",
                                  [](ButtonTest& T) {
                                    T.Box->SetFocus();
                                    wintest::KeyPress('G', U'g');
                                    wintest::KeyPress('O', U'o');
                                    wintest::KeyPress('X', U'x');
                                  },
                                  {"&Go", "&OK"}},
                      TPersonCase{"RightButtonDoesNotClick",
                                  [](ButtonTest& T) { wintest::Click(T.Middle(T.Go), TInputButton::Right); },
                                  {}}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST_F(ButtonTest, TheDefaultLookFollowsTheFocus) {
  // Focus outside the buttons: the default button wears the accent.
  Box->SetFocus();
  EXPECT_TRUE(Ok->Active());
  EXPECT_EQ(PixelOf(Ok, 37, 4), Rgb(stdlook::Accent));
  EXPECT_EQ(PixelOf(Go, 37, 4), Rgb(stdlook::Face));
  // A focused button takes the default role over; the default one goes plain.
  Go->SetFocus();
  EXPECT_TRUE(Go->Active());
  EXPECT_FALSE(Ok->Active());
  EXPECT_EQ(PixelOf(Go, 37, 4), Rgb(stdlook::Accent));
  EXPECT_EQ(PixelOf(Ok, 37, 4), Rgb(stdlook::Face));
  EXPECT_EQ(Go->Perform(WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(Ok->Perform(WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON, DLGC_UNDEFPUSHBUTTON);
  // The caption is drawn in white on the accent face: the test font's boxes show at the text.
  // "&Go" is 14 pixels wide, centred in 75: x 30 .. 43, glyph rows 2 .. 10 of the 13-pixel line.
  EXPECT_EQ(PixelOf(Go, 31, 7 + 2), Rgb(clWhite));
}

TEST_F(ButtonTest, ModalResultEndsTheModalLoop) {
  Form->Hide();
  struct TCase {
    Word Key;
    TModalResult Want;
  };
  for (TCase C : {TCase{VK_ESCAPE, mrCancel}, TCase{VK_RETURN, mrOk}}) {
    wintest::OnNextModalLoop([&] {
      Box->SetFocus();
      wintest::KeyDown(C.Key);
      wintest::KeyUp(C.Key);
    });
    EXPECT_EQ(Form->ShowModal(), C.Want);
  }
}

TEST_F(ButtonTest, AButtonFreedByItsOwnClickHandlerLeavesNothingBehind) {
  // Each way a person clicks: the mouse, Space, Enter on the default button, the mnemonic.
  const std::vector<std::function<void(TButton*)>> Ways = {
      [this](TButton* B) { wintest::Click(Middle(B)); },
      [](TButton* B) {
        B->SetFocus();
        wintest::KeyDown(VK_SPACE, U' ');
        wintest::KeyUp(VK_SPACE);
      },
      [this](TButton* B) {
        Ok->SetDefault(false);
        B->SetDefault(true);
        Box->SetFocus();
        wintest::KeyPress(VK_RETURN);
      },
      [this](TButton*) {
        Box->SetFocus();
        wintest::KeyPress('Z', U'z');
      },
  };
  for (size_t i = 0; i < Ways.size(); ++i) {
    auto* Gone = NewControl<TButton>(Form, Bounds(10, 100, 75, 28), Form);
    Gone->SetCaption("&Zap");
    bool Ran = false;
    Gone->OnClick = [&](TObject* Sender) {
      Ran = true;
      delete Sender;
    };
    Ways[i](Gone);
    EXPECT_TRUE(Ran) << "way " << i;
    EXPECT_EQ(Form->ControlCount(), 4) << "way " << i;
  }
  wintest::Click(Middle(Go));  // the form goes on working
  EXPECT_EQ(Clicks, std::vector<TObject*>{Go});
}

TEST_F(ButtonTest, ProgrammaticClickRunsTheHandlerButNoCommand) {
  wintest::TMessageSpy Spy({Form->Handle()});
  Go->Click();
  EXPECT_EQ(Clicks, std::vector<TObject*>{Go});
  EXPECT_EQ(Spy.Count(Form->Handle(), WM_COMMAND), 0);
  // BM_CLICK clicks as a person would: through the parent's command, and not while disabled.
  Clicks.clear();
  SendMessage(Go->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks, std::vector<TObject*>{Go});
  EXPECT_EQ(Spy.Count(Form->Handle(), WM_COMMAND), 1);
  Go->SetEnabled(false);
  SendMessage(Go->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks.size(), 1u);
}

}  // namespace
