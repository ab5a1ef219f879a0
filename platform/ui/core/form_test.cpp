#include "platform/ui/core/form.h"

#include <gtest/gtest.h>

#include "platform/ui/core/application.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

TEST_F(TUiTest, ModalFormReturnsTheResultItsButtonSets) {
  TForm* Main = NewForm();
  TForm* Dialog = new TForm(Application);
  Dialog->AfterConstruction();
  Dialog->SetBounds(150, 150, 200, 120);
  auto* Ok = NewControl<TRecordingControl>(Dialog, Bounds(10, 10, 80, 25));
  Ok->OnClick = [&](TObject*) { Dialog->SetModalResult(mrOk); };
  std::vector<String> Log;
  Dialog->OnShow = [&](TObject*) { Log.push_back("show"); };
  Dialog->OnClose = [&](TObject*, TCloseAction& A) { Log.push_back(A == caHide ? "close hide" : "close"); };
  Dialog->OnHide = [&](TObject*) { Log.push_back("hide"); };
  bool MainEnabledInside = true;
  wintest::OnNextModalLoop([&] {
    MainEnabledInside = IsWindowEnabled(Main->Handle());
    wintest::Click(wintest::ScreenPoint(Ok->Handle(), 5, 5));
  });
  EXPECT_EQ(Dialog->ShowModal(), mrOk);
  EXPECT_FALSE(MainEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
  EXPECT_FALSE(Dialog->Visible());
  EXPECT_EQ(Log, (std::vector<String>{"show", "close hide", "hide"}));
  EXPECT_FALSE(Dialog->FormState().Contains(fsModal));
}

TEST_F(TUiTest, ModalFormEndsCancelledByCloseAndRefusesToCloseWhenAsked) {
  NewForm();
  TForm* Dialog = new TForm(Application);
  Dialog->AfterConstruction();
  int Queries = 0;
  Dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++Queries > 1; };
  // The first close (at the start of the loop) is refused and the form stays up; a timer closes it
  // again and that close ends the loop.
  bool VisibleAfterRefusal = false;
  wintest::OnNextModalLoop([&] { Dialog->Close(); });
  auto* Again = new TTimer(Dialog);
  Again->SetInterval(100);
  Again->OnTimer = [&](TObject*) {
    Again->SetEnabled(false);
    VisibleAfterRefusal = Dialog->Visible() && Queries == 1;
    Dialog->Close();
  };
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  EXPECT_EQ(Queries, 2);
  EXPECT_TRUE(VisibleAfterRefusal);
  // A visible form cannot become modal.
  Dialog->Show();
  EXPECT_THROW(Dialog->ShowModal(), EInvalidOperation);
}

TEST_F(TUiTest, CloseActionsDecideWhatHappensToTheForm) {
  TForm* Main = NewForm();
  TForm* Other = NewForm(Rect(0, 0, 100, 100));
  TCloseAction Choice = caHide;
  Other->OnClose = [&](TObject*, TCloseAction& A) { A = Choice; };
  bool Freed = false;
  Other->OnDestroy = [&](TObject*) { Freed = true; };

  Choice = caNone;
  Other->Close();
  EXPECT_TRUE(Other->Visible());
  Choice = caMinimize;
  Other->Close();
  EXPECT_EQ(Other->WindowState(), wsMinimized);
  Choice = caHide;
  Other->Close();
  EXPECT_FALSE(Other->Visible());
  Other->Show();
  Choice = caFree;
  Other->Close();
  EXPECT_FALSE(Freed);  // freed after the messages waiting for it
  wintest::Pump();
  EXPECT_TRUE(Freed);
  EXPECT_EQ(Screen->FormCount(), 1);

  // Closing the main form ends the application.
  Main->Close();
  wintest::Pump();
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(TUiTest, FormEventsAndPositions) {
  std::vector<String> Log;
  TForm* F;
  Application->CreateForm(F);
  F->OnShow = [&](TObject*) { Log.push_back("show"); };
  F->OnActivate = [&](TObject*) { Log.push_back("activate"); };
  F->OnResize = [&](TObject*) { Log.push_back("resize"); };
  F->SetBounds(0, 0, 400, 300);
  F->SetPosition(poScreenCenter);
  Log.clear();
  F->Show();
  TRect Work = Screen->WorkAreaRect();
  EXPECT_EQ(F->Left(), Work.Left + (Work.Width() - 400) / 2);
  EXPECT_EQ(F->Top(), Work.Top + (Work.Height() - 300) / 2);
  ASSERT_FALSE(Log.empty());
  EXPECT_EQ(Log.front(), "show");
  EXPECT_NE(std::find(Log.begin(), Log.end(), "activate"), Log.end());
  EXPECT_TRUE(F->Active());
  EXPECT_EQ(Screen->ActiveForm(), F);

  TForm* Child = new TForm(F);
  Child->AfterConstruction();
  Child->SetBounds(0, 0, 200, 100);
  Child->SetPosition(poOwnerFormCenter);
  Child->Show();
  EXPECT_EQ(Child->Left(), F->Left() + 100);
  EXPECT_EQ(Child->Top(), F->Top() + 100);

  // The client size is the window less its frame.
  F->SetClientWidth(300);
  EXPECT_EQ(F->ClientWidth(), 300);
  F->SetBorderStyle(bsNone);
  EXPECT_EQ(F->ClientRect(), Rect(0, 0, F->Width(), F->Height()));
}

TEST_F(TUiTest, BuilderSetsValuesUnderLoadingAndAlignsOnceLoaded) {
  TForm* F = new TForm(Application);
  F->BeginLoading();
  F->SetBounds(0, 0, 400, 300);
  F->SetClientWidth(300);  // no window yet: the frame it will have is taken into account
  F->SetClientHeight(200);
  auto* Top = new TRecordingGraphic(F);
  Top->SetBounds(0, 0, 10, 20);
  Top->SetAlign(alTop);
  Top->SetParent(F);
  auto* Client = new TRecordingGraphic(F);
  Client->SetAlign(alClient);
  Client->SetParent(F);
  EXPECT_EQ(Client->Width(), 0);  // nothing aligns while loading
  F->EndLoading();
  EXPECT_FALSE(F->HandleAllocated());
  EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 20, 300, 200));
  F->AfterConstruction();
  F->Show();
  ASSERT_TRUE(F->HandleAllocated());
  EXPECT_EQ(F->ClientRect(), Rect(0, 0, 300, 200));
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 20, 300, 200));
}

// ---- focus ----

TEST_F(TUiTest, EveryFocusChangeIsBroadcastWithTheNewControl) {
  TForm* F = NewForm();
  auto* A = NewControl<TRecordingControl>(F, Bounds(10, 10, 50, 20));
  auto* B = NewControl<TRecordingControl>(F, Bounds(10, 40, 50, 20));
  auto* Watcher = new TRecordingGraphic(F);
  Watcher->SetParent(F);
  std::vector<String> Events;
  A->OnEnter = [&](TObject*) { Events.push_back("enter A"); };
  A->OnExit = [&](TObject*) { Events.push_back("exit A"); };
  B->OnEnter = [&](TObject*) { Events.push_back("enter B"); };
  A->Messages.clear();
  Watcher->Messages.clear();

  auto focusChanges = [](TRecordingControl* C) {
    std::vector<LPARAM> L;
    for (auto& M : C->Messages)
      if (M.Msg == CM_FOCUSCHANGED) L.push_back(M.LParam);
    return L;
  };
  A->SetFocus();
  B->SetFocus();
  A->SetFocus();
  auto LA = reinterpret_cast<LPARAM>(static_cast<TWinControl*>(A));
  auto LB = reinterpret_cast<LPARAM>(static_cast<TWinControl*>(B));
  EXPECT_EQ(focusChanges(A), (std::vector<LPARAM>{LA, LB, LA}));
  EXPECT_EQ(focusChanges(B), (std::vector<LPARAM>{LA, LB, LA}));
  EXPECT_EQ(std::count(Watcher->Messages.begin(), Watcher->Messages.end(), CM_FOCUSCHANGED), 3);
  EXPECT_EQ(Events, (std::vector<String>{"enter A", "exit A", "enter B", "enter A"}));
  EXPECT_EQ(F->ActiveControl(), A);
  EXPECT_EQ(Screen->ActiveControl(), A);

  // A control that cannot take the focus refuses at once and nothing moves.
  B->SetEnabled(false);
  EXPECT_THROW(B->SetFocus(), EInvalidOperation);
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(focusChanges(A).size(), 3u);
}

}  // namespace
