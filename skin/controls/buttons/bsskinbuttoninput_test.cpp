#include <gtest/gtest.h>

#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

using wintest::ScreenPoint;

class SkinButtonInput : public TSkinControlTest {
 protected:
  // A skinned button on a form that logs its events into Log.
  TbsSkinButton* NewLoggedButton(TForm* F, TRect Bounds, const String& Name) {
    auto* B = NewControl<TbsSkinButton>(F, Bounds);
    B->SetSkinData(Skin.get());
    B->OnClick = [this, Name](TObject*) { Log.push_back(Name + " click"); };
    B->OnMouseDown = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " down");
    };
    B->OnMouseUp = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " up");
    };
    B->OnMouseEnter = [this, Name](TObject*) { Log.push_back(Name + " enter"); };
    B->OnMouseLeave = [this, Name](TObject*) { Log.push_back(Name + " leave"); };
    return B;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }
  Integer Clicks(const String& Name) const {
    return Integer(std::count(Log.begin(), Log.end(), Name + " click"));
  }

  std::vector<String> Log;
};

// ---- mouse ----

TEST_F(SkinButtonInput, ClickOrderFocusDownClickUpAndModalResult) {
  TForm* F = NewForm();
  auto* Other = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  auto* B = NewLoggedButton(F, Rect(10, 10, 110, 40), "b");
  B->SetModalResult(mrOk);
  B->OnEnter = [this](TObject*) { Log.push_back("b focus"); };
  Other->SetFocus();
  wintest::MouseMove(At(B, 50, 15));
  wintest::MouseDown(At(B, 50, 15));
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(GetFocus(), B->Handle());
  wintest::MouseUp(At(B, 50, 15));
  EXPECT_FALSE(B->Down());
  // The focus is taken before the press; the click comes before OnMouseUp.
  EXPECT_EQ(Log, (std::vector<String>{"b enter", "b focus", "b down", "b click", "b up"}));
  EXPECT_EQ(F->ModalResult(), mrOk);
  // Every click of a focusable button sets the form's result, 0 included.
  B->SetModalResult(mrNone);
  wintest::Click(At(B, 50, 15));
  EXPECT_EQ(F->ModalResult(), mrNone);
}

TEST_F(SkinButtonInput, ReleaseOutsideGivesNoClickAndDraggingBackRestoresThePress) {
  TForm* F = NewForm();
  auto* B = NewLoggedButton(F, Rect(10, 10, 110, 40), "b");
  wintest::MouseMove(At(B, 50, 15));
  wintest::MouseDown(At(B, 50, 15));
  wintest::MouseMove(At(B, 150, 15));
  EXPECT_FALSE(B->MouseIn());
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 4, 4));  // focused, not pressed
  wintest::MouseMove(At(B, 100, 30));                         // the edge counts as inside
  EXPECT_TRUE(B->MouseIn());
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 2, 4));
  wintest::MouseMove(At(B, 150, 15));
  wintest::MouseUp(At(B, 150, 15));
  EXPECT_FALSE(B->Down());
  // While captured the button reports leaving and coming back itself; the platform adds its own leave
  // once the capture ends with the mouse outside.
  EXPECT_EQ(Log,
            (std::vector<String>{"b enter", "b down", "b leave", "b enter", "b leave", "b up", "b leave"}));
  EXPECT_EQ(Clicks("b"), 0);
}

TEST_F(SkinButtonInput, PressOnAButtonThatRefusesTheFocusIsDropped) {
  TForm* F = NewForm();
  auto* Holder = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  auto* B = NewLoggedButton(F, Rect(10, 10, 110, 40), "b");
  Holder->SetFocus();
  // The button gives the focus straight back: the focus change does not hold.
  B->WindowProc = [B, Holder, Orig = B->WindowProc](TMessage& M) {
    if (M.Msg == WM_SETFOCUS) {
      ::SetFocus(Holder->Handle());
      return;
    }
    Orig(M);
  };
  wintest::Click(At(B, 50, 15));
  EXPECT_FALSE(B->Down());
  EXPECT_EQ(Clicks("b"), 0);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), String("b down")), 0);
}

TEST_F(SkinButtonInput, RepeatClicksAfterTheDelayThenOnceOnRelease) {
  TForm* F = NewForm();
  auto* B = NewLoggedButton(F, Rect(10, 10, 110, 40), "b");
  B->SetRepeatMode(true);
  B->SetRepeatInterval(100);
  wintest::MouseMove(At(B, 50, 15));
  wintest::MouseDown(At(B, 50, 15));
  wintest::AdvanceTime(Clock(), 599);
  EXPECT_EQ(Clicks("b"), 0);
  wintest::AdvanceTime(Clock(), 1);
  EXPECT_EQ(Clicks("b"), 1);
  wintest::AdvanceTime(Clock(), 150);
  EXPECT_EQ(Clicks("b"), 2);
  wintest::MouseUp(At(B, 50, 15));
  EXPECT_EQ(Clicks("b"), 3);
  EXPECT_FALSE(B->RepeatRunning());
  // Leaving while held stops; coming back starts a fresh 500 ms delay.
  Log.clear();
  wintest::MouseDown(At(B, 50, 15));
  wintest::AdvanceTime(Clock(), 400);
  wintest::MouseMove(At(B, 150, 15));
  EXPECT_FALSE(B->RepeatRunning());
  wintest::AdvanceTime(Clock(), 300);
  wintest::MouseMove(At(B, 50, 15));
  wintest::AdvanceTime(Clock(), 599);
  EXPECT_EQ(Clicks("b"), 0);
  wintest::AdvanceTime(Clock(), 1);
  EXPECT_EQ(Clicks("b"), 1);
  wintest::MouseUp(At(B, 50, 15));
  EXPECT_EQ(Clicks("b"), 2);
}

// ---- groups and checked mode ----

TEST_F(SkinButtonInput, GroupButtonsAreExclusiveAndClickOnThePress) {
  TForm* F = NewForm();
  TbsSkinButton* G[3];
  for (int i = 0; i < 3; ++i) {
    G[i] = NewLoggedButton(F, Rect(10 + 110 * i, 10, 110 + 110 * i, 40), String(1, char('a' + i)));
    G[i]->SetGroupIndex(1);
    EXPECT_FALSE(G[i]->CanFocused());
    EXPECT_FALSE(G[i]->TabStop());
  }
  auto* Loner = NewLoggedButton(F, Rect(10, 60, 110, 90), "x");
  Loner->SetGroupIndex(2);
  Loner->SetDown(true);
  struct Step {
    int Press;
    bool AllowAllUp;
    bool Down[3];
    Integer ClicksOfPressed;
  } Steps[] = {
      {0, false, {true, false, false}, 1},  // press: down at once, click on the press
      {1, false, {false, true, false}, 1},  // the group's other button goes up
      {1, false, {false, true, false}, 1},  // pressing the down one: stays, no click
      {1, true, {false, false, false}, 2},  // with AllowAllUp it comes up and clicks on release
  };
  for (const auto& S : Steps) {
    for (auto* B : G) B->SetAllowAllUp(S.AllowAllUp);
    wintest::MouseMove(At(G[S.Press], 50, 15));
    wintest::MouseDown(At(G[S.Press], 50, 15));
    wintest::MouseUp(At(G[S.Press], 50, 15));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(G[i]->Down(), S.Down[i]) << "step pressing " << S.Press << " " << i;
    EXPECT_EQ(Clicks(String(1, char('a' + S.Press))), S.ClicksOfPressed);
  }
  EXPECT_TRUE(Loner->Down());  // another group is left alone
  // A group button shows its pressed picture without the mouse over it.
  wintest::MouseMove(At(G[0], 50, 200));
  G[2]->SetDown(true);
  EXPECT_EQ(PixelOf(G[2], 50, 15), SliceColor("button", 2, 4));
}

TEST_F(SkinButtonInput, CheckedModeTogglesAndClicksOnPressThenOnRelease) {
  TForm* F = NewForm();
  auto* B = NewLoggedButton(F, Rect(10, 10, 110, 40), "b");
  B->SetCheckedMode(true);
  EXPECT_EQ(B->GroupIndex(), -1);
  EXPECT_FALSE(B->CanFocused());
  wintest::MouseMove(At(B, 50, 15));
  wintest::MouseDown(At(B, 50, 15));
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(Clicks("b"), 1);
  wintest::MouseUp(At(B, 50, 15));
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(Clicks("b"), 1);
  wintest::MouseDown(At(B, 50, 15));
  EXPECT_EQ(Clicks("b"), 1);
  wintest::MouseUp(At(B, 50, 15));
  EXPECT_FALSE(B->Down());
  EXPECT_EQ(Clicks("b"), 2);
  B->SetCheckedMode(false);
  EXPECT_EQ(B->GroupIndex(), 0);
  EXPECT_FALSE(B->CanFocused());
}

// ---- keyboard ----

TEST_F(SkinButtonInput, SpaceClicksOnReleaseEnterAtOnce) {
  TForm* F = NewForm();
  auto* B = NewLoggedButton(F, Rect(10, 10, 110, 40), "b");
  B->SetFocus();
  wintest::KeyDown(VK_SPACE, ' ');
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 2, 4));  // focused and down: pressed look
  EXPECT_EQ(Clicks("b"), 0);
  wintest::KeyUp(VK_SPACE);
  EXPECT_FALSE(B->Down());
  EXPECT_EQ(Clicks("b"), 1);
  wintest::KeyPress(VK_RETURN);
  EXPECT_EQ(Clicks("b"), 2);
}

TEST_F(SkinButtonInput, DefaultAndCancelButtonsTakeEnterAndEscape) {
  TForm* F = NewForm();
  auto* Edit = NewControl<TRecordingControl>(F, Rect(10, 100, 110, 130));
  auto* Ok = NewLoggedButton(F, Rect(10, 10, 110, 40), "ok");
  auto* Cancel = NewLoggedButton(F, Rect(120, 10, 220, 40), "cancel");
  Ok->SetDefault(true);
  Cancel->SetCancel(true);
  Edit->SetFocus();
  // The default button is highlighted while the focus rests on a control that is no button.
  EXPECT_TRUE(Ok->Active());
  EXPECT_TRUE(Ok->MouseIn());
  EXPECT_EQ(PixelOf(Ok, 50, 15), SliceColor("button", 1, 4));
  wintest::KeyPress(VK_RETURN);
  EXPECT_EQ(Clicks("ok"), 1);
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_EQ(Clicks("cancel"), 1);
  // Another button with the focus takes Enter and the highlight goes.
  Cancel->SetFocus();
  EXPECT_FALSE(Ok->Active());
  EXPECT_FALSE(Ok->MouseIn());
  EXPECT_EQ(PixelOf(Ok, 50, 15), SliceColor("button", 0, 4));
  wintest::KeyPress(VK_RETURN);
  EXPECT_EQ(Clicks("cancel"), 2);
  EXPECT_EQ(Clicks("ok"), 1);
}

TEST_F(SkinButtonInput, AcceleratorFocusesAndClicks) {
  TForm* F = NewForm();
  auto* Edit = NewControl<TRecordingControl>(F, Rect(10, 100, 110, 130));
  auto* B = NewLoggedButton(F, Rect(10, 10, 110, 40), "b");
  B->SetCaption("&Save");
  Edit->SetFocus();
  wintest::KeyPress('S', 's');
  EXPECT_EQ(Clicks("b"), 1);
  EXPECT_EQ(GetFocus(), B->Handle());
}

// ---- freeing itself ----

TEST_F(SkinButtonInput, ButtonFreedFromItsOwnClickHandler) {
  TForm* F = NewForm();
  struct Case {
    const char* How;
    std::function<void(TbsSkinButton*)> Click;
  } Cases[] = {
      {"mouse", [this](TbsSkinButton* B) { wintest::Click(At(B, 50, 15)); }},
      {"space",
       [](TbsSkinButton* B) {
         B->SetFocus();
         wintest::KeyPress(VK_SPACE, ' ');
       }},
      {"enter",
       [](TbsSkinButton* B) {
         B->SetFocus();
         wintest::KeyPress(VK_RETURN);
       }},
  };
  for (const auto& C : Cases) {
    auto* B = NewControl<TbsSkinButton>(F, Rect(10, 10, 110, 40));
    B->SetSkinData(Skin.get());
    bool Freed = false;
    B->OnClick = [&Freed](TObject* Sender) {
      delete static_cast<TbsSkinButton*>(Sender);
      Freed = true;
    };
    B->OnMouseUp = [](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      FAIL() << "freed button's event";
    };
    C.Click(B);
    EXPECT_TRUE(Freed) << C.How;
    EXPECT_EQ(F->ControlCount(), 0) << C.How;
    wintest::Pump();
  }
}

}  // namespace
