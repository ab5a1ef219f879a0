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

// ---- automatic size ----

// A windowless control whose own size is 33 x 22 (none while Empty).
class TSizedGraphic : public TGraphicControl {
 public:
  using TGraphicControl::AdjustSize;
  using TGraphicControl::TGraphicControl;
  bool Empty = false;

 protected:
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override {
    if (Empty) return false;
    NewWidth = 33;
    NewHeight = 22;
    return true;
  }
};

TEST_F(TUiTest, AnAutoSizedControlTakesItsOwnSizeUnlessItsAlignmentGivesOne) {
  auto* Parent = new TCustomControl(Application);
  Parent->SetBounds(0, 0, 200, 100);
  auto* C = NewControl<TSizedGraphic>(Parent, Bounds(5, 6, 70, 80));
  EXPECT_EQ(C->BoundsRect(), Bounds(5, 6, 70, 80));  // not auto-sized yet
  C->SetAutoSize(true);
  EXPECT_EQ(C->BoundsRect(), Bounds(5, 6, 33, 22));
  C->SetBounds(7, 8, 120, 60);  // the position moves, the size stays its own
  EXPECT_EQ(C->BoundsRect(), Bounds(7, 8, 33, 22));
  struct TCase {
    TAlign Align;
    TRect Expected;
  };
  for (TCase K : {TCase{alTop, Bounds(0, 0, 200, 22)}, TCase{alLeft, Bounds(0, 0, 33, 100)},
                  TCase{alClient, Bounds(0, 0, 200, 100)}, TCase{alBottom, Bounds(0, 78, 200, 22)}}) {
    C->SetAlign(K.Align);
    EXPECT_EQ(C->BoundsRect(), K.Expected) << "align " << K.Align;
  }
  C->SetAlign(alNone);
  // Nothing to size to: the size asked for holds; limits still apply.
  C->Empty = true;
  C->SetBounds(0, 0, 50, 40);
  EXPECT_EQ(C->BoundsRect(), Bounds(0, 0, 50, 40));
  C->Empty = false;
  C->Constraints()->SetMaxWidth(30);
  C->AdjustSize();
  EXPECT_EQ(C->BoundsRect(), Bounds(0, 0, 30, 22));
  // While loading nothing sizes itself; the end of loading does.
  C->Constraints()->SetMaxWidth(0);
  C->SetAutoSize(false);
  C->SetBounds(0, 0, 50, 40);
  C->BeginLoading();
  C->SetAutoSize(true);
  EXPECT_EQ(C->BoundsRect(), Bounds(0, 0, 50, 40));
  C->EndLoading();
  EXPECT_EQ(C->BoundsRect(), Bounds(0, 0, 33, 22));
}

}  // namespace
