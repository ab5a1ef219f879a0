#include "platform/ui/core/control.h"

#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

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

}  // namespace
