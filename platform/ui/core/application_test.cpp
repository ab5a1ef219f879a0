#include "platform/ui/core/application.h"

#include <gtest/gtest.h>

#include "platform/ui/core/form.h"
#include "platform/ui/core/hintwindow.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

// ---- hints ----

// A hint window class that records what it is asked to show.
class TRecordingHintWindow : public THintWindow {
 public:
  using THintWindow::THintWindow;
  static inline std::vector<String> Shown;
  void ActivateHint(TRect R, const String& AHint) override {
    Shown.push_back(AHint);
    THintWindow::ActivateHint(R, AHint);
  }
};

TEST_F(TUiTest, HintShowsAfterTheHintPauseAndHidesAfterTheHidePause) {
  TRecordingHintWindow::Shown.clear();
  HintWindowClass = [](TComponent* AOwner) -> THintWindow* { return new TRecordingHintWindow(AOwner); };
  TForm* F = NewForm();
  auto* Button = new TRecordingGraphic(F);
  Button->SetBounds(10, 10, 60, 30);
  Button->SetHint("Save|Saves the list");
  Button->SetShowHint(true);
  Button->SetParent(F);
  auto* Plain = new TRecordingGraphic(F);
  Plain->SetBounds(100, 10, 60, 30);
  Plain->SetHint("never shown");
  Plain->SetParent(F);
  std::vector<String> LongHints;
  Application->OnHint = [&](TObject*) { LongHints.push_back(Application->Hint()); };

  auto hintVisible = [] {
    THintWindow* W = Application->HintWindow();
    return W != nullptr && W->HandleAllocated() && IsWindowVisible(W->Handle());
  };
  wintest::MouseMove(wintest::ScreenPoint(F->Handle(), 20, 20));
  EXPECT_EQ(LongHints, (std::vector<String>{"Saves the list"}));
  wintest::AdvanceTime(Clock(), 499);
  EXPECT_FALSE(hintVisible());
  wintest::AdvanceTime(Clock(), 1);
  ASSERT_TRUE(hintVisible());
  EXPECT_EQ(TRecordingHintWindow::Shown, (std::vector<String>{"Save"}));
  // Below the cursor, not over the control.
  RECT R;
  GetWindowRect(Application->HintWindow()->Handle(), &R);
  EXPECT_GT(R.Top, wintest::ScreenPoint(F->Handle(), 20, 20).Y);
  wintest::AdvanceTime(Clock(), 2499);
  EXPECT_TRUE(hintVisible());
  wintest::AdvanceTime(Clock(), 1);
  EXPECT_FALSE(hintVisible());

  // A control without ShowHint shows nothing, whatever the wait.
  wintest::MouseMove(wintest::ScreenPoint(F->Handle(), 110, 20));
  wintest::AdvanceTime(Clock(), 5000);
  EXPECT_EQ(TRecordingHintWindow::Shown.size(), 1u);
}

TEST_F(TUiTest, HintCanBeRefusedOrChangedAndAPressCancelsIt) {
  TForm* F = NewForm();
  F->SetShowHint(true);  // the children follow their form
  auto* Button = new TRecordingGraphic(F);
  Button->SetBounds(10, 10, 60, 30);
  Button->SetHint("Open");
  Button->SetParent(F);
  EXPECT_TRUE(Button->ShowHint());
  std::vector<TControl*> Asked;
  bool Allow = false;
  Application->OnShowHint = [&](String& HintStr, bool& CanShow, THintInfo& Info) {
    Asked.push_back(Info.HintControl);
    CanShow = Allow;
    HintStr = "Open a file";
  };
  auto hintText = [] {
    THintWindow* W = Application->HintWindow();
    return W != nullptr && W->HandleAllocated() && IsWindowVisible(W->Handle()) ? W->Text()
                                                                                : String("<none>");
  };
  TPoint P = wintest::ScreenPoint(F->Handle(), 20, 20);
  wintest::MouseMove(P);
  wintest::AdvanceTime(Clock(), 600);
  EXPECT_EQ(hintText(), "<none>");
  EXPECT_EQ(Asked, (std::vector<TControl*>{Button}));

  Allow = true;
  wintest::MouseMove(wintest::ScreenPoint(F->Handle(), 200, 200));  // onto the form: a new hint control
  wintest::MouseMove(P);
  wintest::AdvanceTime(Clock(), 600);
  EXPECT_EQ(hintText(), "Open a file");
  wintest::MouseDown(P);
  EXPECT_EQ(hintText(), "<none>");
  wintest::MouseUp(P);
}

// ---- the loop ----

TEST_F(TUiTest, OnMessageAndFiltersSeeMessagesBeforeTheirWindows) {
  TForm* F = NewForm();
  auto* Edit = NewControl<TRecordingControl>(F, Bounds(10, 10, 50, 20));
  Edit->SetFocus();
  Integer Id =
      Application->AddMessageFilter([](MSG& Msg) { return Msg.message == WM_KEYDOWN && Msg.wParam == 'F'; });
  std::vector<WPARAM> OnMessageKeys;
  Application->OnMessage = [&](MSG& Msg, bool& Handled) {
    if (Msg.message != WM_KEYDOWN) return;
    OnMessageKeys.push_back(Msg.wParam);
    Handled = Msg.wParam == 'M';
  };
  Edit->Messages.clear();
  wintest::KeyDown('F');
  wintest::KeyDown('M');
  wintest::KeyDown('K');
  EXPECT_EQ(OnMessageKeys, (std::vector<WPARAM>{'M', 'K'}));
  std::vector<WPARAM> Reached;
  for (auto& M : Edit->Messages)
    if (M.Msg == WM_KEYDOWN) Reached.push_back(M.WParam);
  EXPECT_EQ(Reached, (std::vector<WPARAM>{'K'}));
  Application->RemoveMessageFilter(Id);
  wintest::KeyDown('F');
  EXPECT_EQ(Edit->CountOf(WM_KEYDOWN), 2);
}

TEST_F(TUiTest, RunShowsTheMainFormAndEndsOnTerminate) {
  TForm* F;
  Application->CreateForm(F);
  EXPECT_FALSE(F->Visible());
  bool SeenVisible = false;
  auto* Stop = new TTimer(Application);
  Stop->SetInterval(100);
  Stop->OnTimer = [&](TObject*) {
    SeenVisible = F->Visible() && IsWindowVisible(F->Handle());
    Stop->SetEnabled(false);
    Application->Terminate();
  };
  Application->Run();
  EXPECT_TRUE(SeenVisible);
  EXPECT_TRUE(Application->Terminated());
}

// ---- exceptions ----

TEST_F(TUiTest, AnExceptionInAClickHandlerReachesTheApplicationNotTheLoop) {
  TForm* F = NewForm();
  auto* Button = NewControl<TRecordingControl>(F, Bounds(10, 10, 80, 25));
  Button->OnClick = [](TObject*) { throw EConvertError("bad number"); };
  TPoint P = wintest::ScreenPoint(Button->Handle(), 5, 5);

  std::vector<String> Shown;
  SetMessageBoxFunction([&](const String& Text, const String& Caption, UINT Flags) {
    Shown.push_back(Caption + "|" + Text + "|" + std::to_string(Flags));
    return Integer(mrOk);
  });
  Application->SetTitle("App");
  EXPECT_NO_THROW(wintest::Click(P));
  EXPECT_EQ(Shown, (std::vector<String>{"App|bad number.|" + std::to_string(MB_OK | MB_ICONHAND)}));

  std::vector<String> Handled;
  Application->OnException = [&](TObject* Sender, const Exception& E) {
    Handled.push_back(E.Message() + (Sender == Button ? " from button" : ""));
  };
  wintest::AdvanceTime(Clock(), 1000);  // not a double click
  EXPECT_NO_THROW(wintest::Click(P));
  EXPECT_EQ(Handled, (std::vector<String>{"bad number from button"}));
  // The loop keeps working afterwards.
  int Clicks = 0;
  Button->OnClick = [&](TObject*) { ++Clicks; };
  wintest::AdvanceTime(Clock(), 1000);
  wintest::Click(P);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Shown.size(), 1u);
}

}  // namespace
