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

namespace {

class TMDIFormTest : public TUiTest {
 protected:
  TForm* NewMDIMain() {
    TForm* F;
    Application->CreateForm(F);
    F->SetFormStyle(fsMDIForm);
    F->SetBoundsRect(Rect(50, 50, 550, 450));
    F->Show();
    return F;
  }
  // Outlives the test's forms, whose teardown still reports.
  std::vector<String> Log;
  TForm* NewMDIChild(const String& Name, bool Logged = false) {
    auto* F = new TForm(Application);
    F->AfterConstruction();
    F->SetFormStyle(fsMDIChild);
    F->SetName(Name);
    F->SetBounds(10, 10, 200, 150);
    if (Logged) {
      F->OnActivate = [this, Name](TObject*) { Log.push_back("activate " + Name); };
      F->OnDeactivate = [this, Name](TObject*) { Log.push_back("deactivate " + Name); };
    }
    F->Show();
    return F;
  }
  static std::vector<TCustomForm*> Children(TForm* Main) {
    std::vector<TCustomForm*> R;
    for (Integer I = 0; I < Main->MDIChildCount(); ++I) R.push_back(Main->MDIChildren(I));
    return R;
  }
  static TRect InClient(TForm* Main, TCustomForm* Child) {
    RECT R;
    GetWindowRect(Child->Handle(), &R);
    POINT P{R.Left, R.Top};
    ScreenToClient(Main->ClientHandle(), &P);
    return Bounds(P.X, P.Y, R.Right - R.Left, R.Bottom - R.Top);
  }
};

TEST_F(TMDIFormTest, ClientWindowTakesTheAreaAlignedControlsLeave) {
  TForm* Main = NewMDIMain();
  ASSERT_NE(Main->ClientHandle(), nullptr);
  EXPECT_EQ(GetClassNameStr(Main->ClientHandle()), "MDICLIENT");
  EXPECT_EQ(GetParent(Main->ClientHandle()), Main->Handle());
  auto* Bar = NewControl<TRecordingControl>(Main, Bounds(0, 0, 10, 30));
  Bar->SetAlign(alTop);
  RECT Form, Client;
  ::GetClientRect(Main->Handle(), &Form);
  GetWindowRect(Main->ClientHandle(), &Client);
  POINT P{Client.Left, Client.Top};
  ScreenToClient(Main->Handle(), &P);
  EXPECT_EQ(P.X, 0);
  EXPECT_EQ(P.Y, 30);
  EXPECT_EQ(Client.Right - Client.Left, Form.Right);
  EXPECT_EQ(Client.Bottom - Client.Top, Form.Bottom - 30);
  // A normal form has none, and asking it to arrange does nothing.
  TForm* Plain = new TForm(Application);
  Plain->AfterConstruction();
  Plain->Show();
  EXPECT_EQ(Plain->ClientHandle(), nullptr);
  EXPECT_EQ(Plain->MDIChildCount(), 0);
  EXPECT_EQ(Plain->ActiveMDIChild(), nullptr);
  Plain->Tile();
  Plain->Next();
}

TEST_F(TMDIFormTest, ChildrenActivateAndCycle) {
  TForm* Main = NewMDIMain();
  TForm* A = NewMDIChild("A", true);
  TForm* B = NewMDIChild("B", true);
  TForm* C = NewMDIChild("C", true);
  EXPECT_EQ(GetParent(A->Handle()), Main->ClientHandle());
  EXPECT_EQ(Main->MDIChildCount(), 3);
  EXPECT_EQ(Children(Main), (std::vector<TCustomForm*>{C, B, A}));
  EXPECT_EQ(Main->ActiveMDIChild(), C);
  EXPECT_EQ(Log,
            (std::vector<String>{"activate A", "deactivate A", "activate B", "deactivate B", "activate C"}));
  EXPECT_TRUE(C->Active());
  EXPECT_FALSE(A->Active());

  Log.clear();
  Main->Next();
  EXPECT_EQ(Main->ActiveMDIChild(), B);
  EXPECT_EQ(Children(Main), (std::vector<TCustomForm*>{B, A, C}));
  Main->Previous();
  EXPECT_EQ(Main->ActiveMDIChild(), C);
  EXPECT_EQ(Log, (std::vector<String>{"deactivate C", "activate B", "deactivate B", "activate C"}));
  EXPECT_THROW(Main->MDIChildren(3), EListError);

  // A freed child leaves the list and passes the activation on.
  delete C;
  EXPECT_EQ(Main->MDIChildCount(), 2);
  EXPECT_EQ(Main->ActiveMDIChild(), B);
}

TEST_F(TMDIFormTest, TileCascadeAndMaximizedChild) {
  TForm* Main = NewMDIMain();
  TForm* A = NewMDIChild("A");
  TForm* B = NewMDIChild("B");
  RECT Area;
  ::GetClientRect(Main->ClientHandle(), &Area);
  Main->SetTileMode(tbVertical);
  Main->Tile();
  std::vector<TRect> Columns = MDITileRects(2, Area.Right, Area.Bottom, false);
  EXPECT_EQ(InClient(Main, B), Columns[0]);
  EXPECT_EQ(InClient(Main, A), Columns[1]);
  Main->SetTileMode(tbHorizontal);
  Main->Tile();
  std::vector<TRect> Rows = MDITileRects(2, Area.Right, Area.Bottom, true);
  EXPECT_EQ(InClient(Main, B), Rows[0]);
  EXPECT_EQ(InClient(Main, A), Rows[1]);
  Main->Cascade();
  EXPECT_EQ(InClient(Main, A).TopLeft(), TPoint(0, 0));
  EXPECT_GT(InClient(Main, B).Left, 0);

  // A maximized child's client area is the whole MDI client.
  B->SetWindowState(wsMaximized);
  EXPECT_EQ(B->WindowState(), wsMaximized);
  RECT Inner;
  ::GetClientRect(B->Handle(), &Inner);
  EXPECT_EQ(Inner.Right, Area.Right);
  EXPECT_EQ(Inner.Bottom, Area.Bottom);
  // The main form's client grows: the maximized child follows.
  Main->SetBounds(50, 50, 600, 500);
  RECT Area2;
  ::GetClientRect(Main->ClientHandle(), &Area2);
  ::GetClientRect(B->Handle(), &Inner);
  EXPECT_GT(Area2.Right, Area.Right);
  EXPECT_EQ(Inner.Right, Area2.Right);
  EXPECT_EQ(Inner.Bottom, Area2.Bottom);
}

TEST_F(TMDIFormTest, ChildWithoutMDIMainFormStaysAWindowOfItsOwn) {
  NewForm();
  auto* F = new TForm(Application);
  F->AfterConstruction();
  F->SetFormStyle(fsMDIChild);
  F->Show();
  EXPECT_EQ(GetParent(F->Handle()), nullptr);
  EXPECT_FALSE(GetWindowLong(F->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_TRUE(IsWindowVisible(F->Handle()));
}

}  // namespace

namespace {

// A modal form starts with the keyboard: on its ActiveControl when one was chosen before showing, else
// on its first tab stop.
TEST_F(TUiTest, ModalFormStartsWithTheFocusOnItsActiveControlOrFirstTabStop) {
  NewForm();
  for (bool Chosen : {false, true}) {
    SCOPED_TRACE(Chosen ? "chosen" : "first tab stop");
    TForm* Dialog = new TForm(Application);
    Dialog->AfterConstruction();
    Dialog->SetBounds(150, 150, 200, 120);
    auto* First = NewControl<TRecordingControl>(Dialog, Bounds(10, 10, 80, 25));
    auto* Second = NewControl<TRecordingControl>(Dialog, Bounds(10, 40, 80, 25));
    TRecordingControl* Expected = First;
    if (Chosen) {
      Dialog->SetActiveControl(Second);
      Expected = Second;
    }
    HWND Focus = nullptr;
    TWinControl* Active = nullptr;
    wintest::OnNextModalLoop([&] {
      Focus = GetFocus();
      Active = Dialog->ActiveControl();
      Dialog->SetModalResult(mrOk);
    });
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_EQ(Focus, Expected->Handle());
    EXPECT_EQ(Active, Expected);
    EXPECT_EQ(Expected->CountOf(CM_ENTER), 1);
    delete Dialog;
  }
}

}  // namespace
