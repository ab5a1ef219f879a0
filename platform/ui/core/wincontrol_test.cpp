#include "platform/ui/core/wincontrol.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/ui/menus/menuitem.h"
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

// ---- notification reflection ----

// The leading fields of the notification records as the platform lays them out.
struct TNotifyRecord {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
struct TOwnerDrawRecord {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  TRect rcItem;
  ULONG_PTR itemData;
};
constexpr UINT OdtMenu = 1, OdtButton = 4;

// A parent that records what reaches its own (default) handling.
class TOwnHandlingParent : public TRecordingControl {
 public:
  using TRecordingControl::TRecordingControl;
  std::vector<UINT> Own;

 protected:
  void DefaultHandler(TMessage& Message) override {
    Own.push_back(Message.Msg);
    TRecordingControl::DefaultHandler(Message);
  }
};

// A child that answers every reflected notification with a result of its own.
class TAnsweringChild : public TRecordingControl {
 public:
  using TRecordingControl::TRecordingControl;

 protected:
  void WndProc(TMessage& Message) override {
    TRecordingControl::WndProc(Message);
    if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400)
      Message.Result = 0x5000 + (Message.Msg - CN_BASE);
  }
};

class ReflectionTest : public TUiTest {
 protected:
  void SetUp() override {
    TUiTest::SetUp();
    Form = NewForm();
    Parent = NewControl<TOwnHandlingParent>(Form, Bounds(0, 0, 200, 100));
    Child = NewControl<TAnsweringChild>(Parent, Bounds(10, 10, 50, 20));
    SetWindowLongPtr(Child->Handle(), GWL_ID, 77);
  }
  TForm* Form = nullptr;
  TOwnHandlingParent* Parent = nullptr;
  TAnsweringChild* Child = nullptr;
};

TEST_F(ReflectionTest, NotificationsComeBackToTheChildBeforeTheParentsOwnHandling) {
  TNotifyRecord Notify{Child->Handle(), 77, 5};
  TOwnerDrawRecord Draw{OdtButton, 77, 0, 0, 0, Child->Handle(), nullptr, {}, 0};
  TOwnerDrawRecord Measure{OdtButton, 77, 0, 0, 0, nullptr, nullptr, {}, 0};
  const LPARAM ChildWnd = reinterpret_cast<LPARAM>(Child->Handle());
  struct TCase {
    UINT Msg;
    LPARAM LParam;
  };
  const TCase Cases[] = {
      {WM_COMMAND, ChildWnd},
      {WM_NOTIFY, reinterpret_cast<LPARAM>(&Notify)},
      {WM_DRAWITEM, reinterpret_cast<LPARAM>(&Draw)},
      {WM_MEASUREITEM, reinterpret_cast<LPARAM>(&Measure)},
      {WM_CTLCOLORMSGBOX, ChildWnd},
      {WM_CTLCOLOREDIT, ChildWnd},
      {WM_CTLCOLORLISTBOX, ChildWnd},
      {WM_CTLCOLORBTN, ChildWnd},
      {WM_CTLCOLORDLG, ChildWnd},
      {WM_CTLCOLORSCROLLBAR, ChildWnd},
      {WM_CTLCOLORSTATIC, ChildWnd},
  };
  for (const TCase& C : Cases) {
    Parent->Own.clear();
    wintest::TMessageSpy Spy({Parent->Handle(), Child->Handle()});
    LRESULT R = SendMessage(Parent->Handle(), C.Msg, 12, C.LParam);
    const std::vector<std::pair<HWND, UINT>> Want{{Parent->Handle(), C.Msg},
                                                  {Child->Handle(), CN_BASE + C.Msg}};
    EXPECT_EQ(Spy.Sequence({C.Msg, CN_BASE + C.Msg}), Want) << "message " << C.Msg;
    // The child's answer is the answer; the parameters reach it unchanged.
    EXPECT_EQ(R, LRESULT(0x5000 + C.Msg)) << "message " << C.Msg;
    const auto* Got = Spy.First(Child->Handle(), CN_BASE + C.Msg);
    ASSERT_NE(Got, nullptr);
    EXPECT_EQ(Got->WParam, 12u);
    EXPECT_EQ(Got->LParam, C.LParam);
    // The parent's own handling never saw it.
    EXPECT_EQ(std::count(Parent->Own.begin(), Parent->Own.end(), C.Msg), 0) << "message " << C.Msg;
  }
}

TEST_F(ReflectionTest, NotificationsFromNoControlOfOursStayWithTheParent) {
  // A menu command, a menu item's drawing, a window that is no control, and the parent itself.
  WNDCLASS Plain;
  Plain.lpfnWndProc = DefWindowProc;
  Plain.lpszClassName = "ReflectionForeignWindow";
  RegisterClass(&Plain);
  HWND Foreign = CreateWindowEx(0, "ReflectionForeignWindow", "", WS_CHILD, 0, 0, 5, 5, Parent->Handle(),
                                nullptr, nullptr, nullptr);
  ASSERT_NE(Foreign, nullptr);
  TOwnerDrawRecord MenuItem{OdtMenu, 0, 3, 0, 0, Child->Handle(), nullptr, {}, 0};
  TOwnerDrawRecord UnknownId{OdtButton, 99, 0, 0, 0, nullptr, nullptr, {}, 0};
  struct TCase {
    UINT Msg;
    LPARAM LParam;
  };
  const TCase Cases[] = {{WM_COMMAND, 0},
                         {WM_DRAWITEM, reinterpret_cast<LPARAM>(&MenuItem)},
                         {WM_MEASUREITEM, reinterpret_cast<LPARAM>(&UnknownId)},
                         {WM_CTLCOLORSTATIC, reinterpret_cast<LPARAM>(Parent->Handle())},
                         {WM_COMMAND, reinterpret_cast<LPARAM>(Foreign)}};
  for (const TCase& C : Cases) {
    Parent->Own.clear();
    Child->Messages.clear();
    SendMessage(Parent->Handle(), C.Msg, 0, C.LParam);
    EXPECT_EQ(Child->CountOf(CN_BASE + C.Msg), 0) << "message " << C.Msg;
    EXPECT_EQ(std::count(Parent->Own.begin(), Parent->Own.end(), C.Msg), 1) << "message " << C.Msg;
  }
}

// ---- automatic size ----

// A container with a 1-pixel frame inside its client area, as panels have.
class TInsetControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void AdjustClientRect(TRect& Rect) override { InflateRect(&Rect, -1, -1); }
};

TEST_F(TUiTest, AnAutoSizedContainerFitsAroundItsVisibleChildren) {
  TForm* F = NewForm();
  auto* P = NewControl<TInsetControl>(F, Bounds(10, 10, 300, 200));
  auto* A = NewControl<TCustomControl>(P, Bounds(10, 10, 50, 20));
  auto* B = NewControl<TCustomControl>(P, Bounds(30, 40, 20, 30));
  P->SetAutoSize(true);
  // The furthest edges (60, 70) plus the frame on the far sides.
  EXPECT_EQ(P->BoundsRect(), Bounds(10, 10, 61, 71));
  A->SetBounds(10, 10, 100, 20);
  EXPECT_EQ(P->BoundsRect(), Bounds(10, 10, 111, 71));
  B->SetVisible(false);
  EXPECT_EQ(P->BoundsRect(), Bounds(10, 10, 111, 31));
  // Right- and bottom-aligned children add their own room.
  auto* R = NewControl<TCustomControl>(P, Bounds(0, 0, 25, 5));
  R->SetAlign(alRight);
  EXPECT_EQ(P->Width(), 111 + 25);
  auto* D = NewControl<TCustomControl>(P, Bounds(0, 0, 5, 12));
  D->SetAlign(alBottom);
  EXPECT_EQ(P->Height(), 31 + 12);
  // Without visible children nothing changes; an explicit size then holds.
  for (TControl* C : {static_cast<TControl*>(A), static_cast<TControl*>(R), static_cast<TControl*>(D)})
    C->SetVisible(false);
  P->SetBounds(10, 10, 80, 40);
  EXPECT_EQ(P->BoundsRect(), Bounds(10, 10, 80, 40));
  // Constraints still limit the automatic size.
  A->SetVisible(true);
  P->Constraints()->SetMaxWidth(90);
  EXPECT_EQ(P->BoundsRect(), Bounds(10, 10, 90, 31));
}

}  // namespace
