#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/menus.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

// ---- alignment ----

struct TChildSpec {
  TAlign Align;
  TRect Bounds;    // before alignment
  TRect Expected;  // after
};

struct TAlignCase {
  const char* Name;
  std::vector<TChildSpec> Children;  // in creation order
};

class AlignTest : public TUiTest, public ::testing::WithParamInterface<TAlignCase> {};

TEST_P(AlignTest, PlacesChildrenInTheClassLibraryOrder) {
  // A parent without a window: its client area is its own 200 x 100.
  auto* Parent = new TCustomControl(Application);
  Parent->SetBounds(0, 0, 200, 100);
  // As a builder does: all children first, one alignment at the end.
  Parent->DisableAlign();
  std::vector<TRecordingGraphic*> Kids;
  for (auto& S : GetParam().Children) {
    auto* C = new TRecordingGraphic(Application);
    C->SetBoundsRect(S.Bounds);
    C->SetAlign(S.Align);
    C->SetParent(Parent);
    Kids.push_back(C);
  }
  Parent->EnableAlign();
  for (size_t i = 0; i < Kids.size(); ++i)
    EXPECT_EQ(Kids[i]->BoundsRect(), GetParam().Children[i].Expected) << GetParam().Name << " child " << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, AlignTest,
                         ::testing::Values(
                             // Two top controls: the one higher up goes first, whatever the creation order.
                             TAlignCase{"tops by position",
                                        {{alTop, Rect(5, 50, 50, 60), Rect(0, 20, 200, 30)},
                                         {alTop, Rect(9, 5, 30, 25), Rect(0, 0, 200, 20)}}},
                             // Bottoms: the lower one goes to the very bottom.
                             TAlignCase{"bottoms by position",
                                        {{alBottom, Rect(0, 10, 10, 20), Rect(0, 60, 200, 70)},
                                         {alBottom, Rect(0, 70, 10, 100), Rect(0, 70, 200, 100)}}},
                             // Top and bottom take the full width before left and right take what height is
                             // left; the client control fills the rest, whatever the creation order.
                             TAlignCase{"all kinds",
                                        {{alClient, Rect(0, 0, 5, 5), Rect(30, 10, 160, 80)},
                                         {alRight, Rect(0, 0, 40, 5), Rect(160, 10, 200, 80)},
                                         {alLeft, Rect(0, 0, 30, 5), Rect(0, 10, 30, 80)},
                                         {alBottom, Rect(0, 0, 5, 20), Rect(0, 80, 200, 100)},
                                         {alTop, Rect(0, 0, 5, 10), Rect(0, 0, 200, 10)}}},
                             // Lefts by position; rights: the one further right sticks to the edge.
                             TAlignCase{"lefts and rights by position",
                                        {{alLeft, Rect(50, 0, 60, 5), Rect(20, 0, 30, 100)},
                                         {alLeft, Rect(10, 0, 30, 5), Rect(0, 0, 20, 100)},
                                         {alRight, Rect(100, 0, 110, 5), Rect(170, 0, 180, 100)},
                                         {alRight, Rect(150, 0, 170, 5), Rect(180, 0, 200, 100)}}},
                             // A control that does not align keeps its bounds.
                             TAlignCase{"none stays",
                                        {{alNone, Rect(7, 8, 17, 28), Rect(7, 8, 17, 28)},
                                         {alTop, Rect(0, 50, 5, 65), Rect(0, 0, 200, 15)}}}),
                         [](const auto& Info) {
                           String N = Info.param.Name;
                           for (char& c : N)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return N;
                         });

TEST_F(TUiTest, HiddenAlignedControlTakesNoRoomAndConstraintsLimitTheRest) {
  auto* Parent = new TCustomControl(Application);
  Parent->SetBounds(0, 0, 200, 100);
  auto* Hidden = new TRecordingGraphic(Application);
  Hidden->SetBounds(0, 0, 10, 30);
  Hidden->SetVisible(false);
  Hidden->SetAlign(alTop);
  Hidden->SetParent(Parent);
  auto* Top = new TRecordingGraphic(Application);
  Top->SetBounds(0, 40, 10, 30);
  Top->Constraints()->SetMaxWidth(120);
  Top->SetAlign(alTop);
  Top->SetParent(Parent);
  auto* Client = new TRecordingGraphic(Application);
  Client->SetAlign(alClient);
  Client->SetParent(Parent);
  EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 120, 30));
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 30, 200, 100));
  // Resizing the parent realigns; anchors keep an unaligned control at the right edge.
  auto* Anchored = NewControl<TRecordingGraphic>(Parent, Bounds(170, 40, 20, 10), Application);
  Anchored->SetAnchors({akTop, akRight});
  Parent->SetBounds(0, 0, 300, 150);
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 30, 300, 150));
  EXPECT_EQ(Anchored->BoundsRect(), Rect(270, 40, 290, 50));
}

// ---- notifications ----

TEST_F(TUiTest, PropertyChangesNotifyTheControlAndParentValuesReachChildren) {
  auto* Parent = new TRecordingControl(Application);
  auto* Child = new TRecordingGraphic(Application);
  Child->SetParent(Parent);
  Child->Messages.clear();
  Child->SetVisible(false);
  Child->SetEnabled(false);
  Child->SetCaption("x");
  Child->SetVisible(false);  // no change, no message
  EXPECT_EQ(Child->Messages,
            (std::vector<Cardinal>{CM_VISIBLECHANGED, CM_ENABLEDCHANGED, WM_SETTEXT, CM_TEXTCHANGED}));

  Child->Messages.clear();
  Parent->SetColor(clRed);
  Parent->Font()->SetName("Arial");
  EXPECT_EQ(Child->Messages, (std::vector<Cardinal>{CM_PARENTCOLORCHANGED, CM_COLORCHANGED,
                                                    CM_PARENTFONTCHANGED, CM_FONTCHANGED}));
  EXPECT_EQ(Child->Color(), clRed);
  EXPECT_EQ(Child->Font()->Name(), "Arial");
  EXPECT_TRUE(Child->ParentFont());
  // A control with its own colour no longer follows its parent.
  Child->SetColor(clBlue);
  Parent->SetColor(clGreen);
  EXPECT_EQ(Child->Color(), clBlue);
  EXPECT_FALSE(Child->ParentColor());
}

// ---- painting ----

class PaintTest : public TUiTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PaintTest, WindowlessChildrenArePaintedOnTheParentInZOrder) {
  TForm* F = NewForm();
  F->SetDoubleBuffered(GetParam());
  F->SetColor(clWhite);
  auto* Below = new TRecordingGraphic(F);
  Below->SetBounds(10, 10, 40, 40);
  Below->PaintColor = clRed;
  Below->SetParent(F);
  auto* Above = new TRecordingGraphic(F);
  Above->SetBounds(30, 30, 40, 40);
  Above->PaintColor = clBlue;
  Above->SetParent(F);
  TPoint Client = F->ClientOrigin();
  RECT W;
  GetWindowRect(F->Handle(), &W);
  auto pixel = [&](Integer X, Integer Y) {
    return PaintedPixel(F->Handle(), X + Client.X - W.Left, Y + Client.Y - W.Top);
  };
  EXPECT_EQ(pixel(15, 15), RGB(255, 0, 0));
  EXPECT_EQ(pixel(35, 35), RGB(0, 0, 255));
  EXPECT_EQ(pixel(100, 100), RGB(255, 255, 255));
  Above->SendToBack();
  EXPECT_EQ(pixel(35, 35), RGB(255, 0, 0));
  Above->SetVisible(false);
  EXPECT_EQ(pixel(60, 60), RGB(255, 255, 255));
  // Scrolling moves every child.
  F->ScrollBy(100, 0);
  EXPECT_EQ(Below->Left(), 110);
  EXPECT_EQ(pixel(15, 15), RGB(255, 255, 255));
  EXPECT_EQ(pixel(115, 15), RGB(255, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Buffering, PaintTest, ::testing::Values(false, true),
                         [](const auto& Info) { return String(Info.param ? "DoubleBuffered" : "Direct"); });

// ---- keys ----

struct TKeyCase {
  const char* Name;
  Word Key;
  bool ButtonTakesReturn;
  std::vector<int>
      Expected;  // 0: CN_KEYDOWN at the control, 1: CM_DIALOGKEY at the form, 2: WM_KEYDOWN at the control
};

class KeyOrderTest : public TUiTest, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(KeyOrderTest, KeysPassNotificationThenDialogKeyThenWindow) {
  TForm* F = NewForm();
  auto* Edit = NewControl<TRecordingControl>(F, Bounds(10, 10, 100, 20));
  auto* Button = NewControl<TRecordingControl>(F, Bounds(10, 40, 100, 20));
  bool Pressed = false;
  if (GetParam().ButtonTakesReturn)
    Button->OnDialogKey = [&](TMessage& M) {
      if (M.WParam == VK_RETURN) {
        Pressed = true;
        M.Result = 1;
      }
    };
  Edit->SetFocus();
  ASSERT_TRUE(Edit->Focused());
  wintest::TMessageSpy Spy({Edit->Handle(), F->Handle()});
  wintest::KeyDown(GetParam().Key);
  std::vector<std::pair<HWND, UINT>> Want;
  for (int E : GetParam().Expected)
    Want.push_back(E == 0   ? std::pair{Edit->Handle(), CN_KEYDOWN}
                   : E == 1 ? std::pair{F->Handle(), CM_DIALOGKEY}
                            : std::pair{Edit->Handle(), WM_KEYDOWN});
  EXPECT_EQ(Spy.Sequence({CN_KEYDOWN, CM_DIALOGKEY, WM_KEYDOWN}), Want);
  EXPECT_EQ(Pressed, GetParam().ButtonTakesReturn);
  wintest::KeyUp(GetParam().Key);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyOrderTest,
                         ::testing::Values(TKeyCase{"ReturnUntaken", VK_RETURN, false, {0, 1, 2}},
                                           TKeyCase{"ReturnTakenByDefaultButton", VK_RETURN, true, {0, 1}},
                                           TKeyCase{"PlainLetter", 'A', false, {0, 2}}),
                         [](const auto& Info) { return String(Info.param.Name); });

TEST_F(TUiTest, TabMovesTheFocusAndKeyPreviewLetsTheFormSeeKeysFirst) {
  TForm* F = NewForm();
  auto* A = NewControl<TRecordingControl>(F, Bounds(10, 10, 50, 20));
  auto* B = NewControl<TRecordingControl>(F, Bounds(10, 40, 50, 20));
  A->SetFocus();
  wintest::KeyPress(VK_TAB);
  EXPECT_TRUE(B->Focused());
  EXPECT_EQ(B->CountOf(WM_KEYDOWN), 0);

  std::vector<String> Seen;
  F->SetKeyPreview(true);
  F->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
    Seen.push_back("form");
    if (Key == 'X') Key = 0;  // the form takes X
  };
  B->OnKeyDown = [&](TObject*, Word&, TShiftState) { Seen.push_back("control"); };
  wintest::KeyPress('Y');
  wintest::KeyPress('X');
  EXPECT_EQ(Seen, (std::vector<String>{"form", "control", "form"}));
}

// A control with an accelerator in its caption answers CM_DIALOGCHAR; a parent answering CM_CHILDKEY
// takes keys of its children before anything else sees them.
class TAccelControl : public TRecordingControl {
 public:
  using TRecordingControl::TRecordingControl;
  int Pressed = 0;
  bool TakeChildKeys = false;

 protected:
  void CMDialogChar(TMessage& Message) override {
    if (IsAccel(char32_t(Message.WParam), Caption())) {
      ++Pressed;
      Message.Result = 1;
      return;
    }
    TRecordingControl::CMDialogChar(Message);
  }
  void CMChildKey(TMessage& Message) override {
    if (TakeChildKeys && Message.WParam == VK_F2) {
      Message.Result = 1;
      return;
    }
    TRecordingControl::CMChildKey(Message);
  }
};

TEST_F(TUiTest, DialogCharsReachAcceleratorsAndChildKeysReachParents) {
  TForm* F = NewForm();
  auto* Panel = new TAccelControl(F);
  Panel->SetBounds(0, 0, 200, 100);
  Panel->TakeChildKeys = true;
  Panel->SetParent(F);
  auto* Edit = NewControl<TRecordingControl>(Panel, Bounds(10, 10, 50, 20), F);
  auto* Button = new TAccelControl(F);
  Button->SetBounds(10, 40, 50, 20);
  Button->SetCaption("&Go");
  Button->SetParent(F);
  Edit->SetFocus();
  Edit->Messages.clear();
  wintest::KeyPress('G', U'g');
  wintest::KeyPress('H', U'h');
  wintest::KeyPress(VK_F2);
  EXPECT_EQ(Button->Pressed, 1);
  std::vector<WPARAM> Chars, Keys;
  for (auto& M : Edit->Messages) {
    if (M.Msg == WM_CHAR) Chars.push_back(M.WParam);
    if (M.Msg == WM_KEYDOWN) Keys.push_back(M.WParam);
  }
  EXPECT_EQ(Chars, (std::vector<WPARAM>{U'h'}));
  EXPECT_EQ(Keys, (std::vector<WPARAM>{'G', 'H'}));  // F2 was taken by the panel
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

// ---- mouse ----

TEST_F(TUiTest, NoEnterOrLeaveWhileTheMouseIsCaptured) {
  TForm* F = NewForm();
  auto* A = NewControl<TRecordingGraphic>(F, Bounds(10, 10, 40, 40));
  auto* B = NewControl<TRecordingGraphic>(F, Bounds(100, 10, 40, 40));
  int Clicks = 0;
  A->OnClick = [&](TObject*) { ++Clicks; };
  std::vector<String> Log;
  A->OnMouseEnter = [&](TObject*) { Log.push_back("enter A"); };
  A->OnMouseLeave = [&](TObject*) { Log.push_back("leave A"); };
  B->OnMouseEnter = [&](TObject*) { Log.push_back("enter B"); };
  TPoint InA = wintest::ScreenPoint(F->Handle(), 20, 20);
  TPoint InB = wintest::ScreenPoint(F->Handle(), 110, 20);

  wintest::MouseMove(InA);
  EXPECT_EQ(Log, (std::vector<String>{"enter A"}));
  wintest::MouseDown(InA);
  EXPECT_TRUE(A->MouseCapture());
  wintest::MouseMove(InB);
  EXPECT_EQ(Log, (std::vector<String>{"enter A"}));
  // The windowless control under the capture gets the moves, in its own coordinates.
  EXPECT_TRUE(std::count(A->Messages.begin(), A->Messages.end(), WM_MOUSEMOVE) >= 2);
  EXPECT_TRUE(std::count(B->Messages.begin(), B->Messages.end(), WM_MOUSEMOVE) == 0);
  wintest::MouseUp(InB);
  EXPECT_FALSE(A->MouseCapture());
  EXPECT_EQ(Log, (std::vector<String>{"enter A", "leave A", "enter B"}));
  EXPECT_EQ(Clicks, 0);  // released outside the control

  wintest::AdvanceTime(Clock(), 1000);  // not a double click
  wintest::Click(InA);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(TUiTest, MouseEventsOfWindowlessControlsComeInTheirOwnCoordinates) {
  TForm* F = NewForm();
  auto* G = NewControl<TRecordingGraphic>(F, Bounds(30, 40, 50, 50));
  std::vector<String> Log;
  G->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState S, Integer X, Integer Y) {
    Log.push_back(Format("down %d %d,%d %d", {Integer(B), X, Y, S.Contains(ssLeft) ? 1 : 0}));
  };
  G->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
    Log.push_back(Format("up %d %d,%d", {Integer(B), X, Y}));
  };
  G->OnClick = [&](TObject*) { Log.push_back("click"); };
  wintest::Click(wintest::ScreenPoint(F->Handle(), 35, 47));
  wintest::Click(wintest::ScreenPoint(F->Handle(), 36, 48), TInputButton::Right);
  EXPECT_EQ(Log, (std::vector<String>{"down 0 5,7 1", "click", "up 0 5,7", "down 1 6,8 0", "up 1 6,8"}));
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
