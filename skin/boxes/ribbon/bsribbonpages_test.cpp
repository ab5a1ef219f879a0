#include "skin/boxes/ribbon/bsribbonpages.h"

#include <gtest/gtest.h>

#include "platform/ui/core/form.h"
#include "skin/boxes/ribbon/bsappmenu.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class ScrollingPages : public TSkinControlTest {
 protected:
  // A ribbon on a form FormWidth wide whose first page holds one control ChildWidth wide.
  TbsRibbonPage* NewRibbonPage(Integer FormWidth, Integer ChildWidth) {
    Form = NewForm(Rect(100, 100, 100 + FormWidth, 400));
    Ribbon = new TbsRibbon(Form);
    Ribbon->SetParent(Form);
    Ribbon->Tabs()->Add()->Page()->SetCaption("开始");
    TbsRibbonPage* P = Ribbon->ActivePage();
    Child = NewControl<TRecordingControl>(P, Rect(0, 10, ChildWidth, 60));
    // The page measures its controls when it is placed, as a form's layout places it after filling it.
    P->UpDateSize();
    return P;
  }
  // The middle of arrow Index (0 start, 1 end) on screen.
  static TPoint OnArrow(TbsScrollingPage* P, Integer Index) {
    RECT W;
    GetWindowRect(P->Handle(), &W);
    const TRect& A = P->ScrollButton(Index).R;
    return TPoint{W.Left + (A.Left + A.Right) / 2, W.Top + (A.Top + A.Bottom) / 2};
  }

  TForm* Form = nullptr;
  TbsRibbon* Ribbon = nullptr;
  TRecordingControl* Child = nullptr;
};

TEST_F(ScrollingPages, ARibbonPageWiderThanItsFormScrollsItsControls) {
  TbsRibbonPage* P = NewRibbonPage(400, 1000);
  const Integer W = P->Width();
  ASSERT_TRUE(P->ArrowsShown());
  EXPECT_EQ(P->ClientWidth(), W - 24);
  EXPECT_EQ(P->ScrollMax(), 999);
  EXPECT_EQ(P->ScrollPage(), W);  // measured before the arrows took their room
  EXPECT_EQ(P->ScrollButton(0).R, Rect(0, 0, 12, P->Height()));
  EXPECT_EQ(P->ScrollButton(1).R, Rect(W - 12, 0, W, P->Height()));
  // One press on the end arrow scrolls one client width, never past the end.
  wintest::Click(OnArrow(P, 1));
  EXPECT_EQ(P->Position(), W - 24);
  EXPECT_EQ(Child->Left(), -(W - 24));
  for (Integer i = 0; i < 5; ++i) wintest::Click(OnArrow(P, 1));
  EXPECT_EQ(P->Position(), 999 - (W - 24) + 1);
  EXPECT_EQ(Child->Left() + Child->Width(), P->ClientWidth());
  // The start arrow never goes below 0.
  for (Integer i = 0; i < 6; ++i) wintest::Click(OnArrow(P, 0));
  EXPECT_EQ(P->Position(), 0);
  EXPECT_EQ(Child->Left(), 0);
  // The form made wide enough: the arrows go.
  Form->SetWidth(1200);
  EXPECT_FALSE(P->ArrowsShown());
  EXPECT_EQ(P->ClientWidth(), P->Width());
  Ribbon->Repaint();
}

TEST_F(ScrollingPages, ShrinkingOrWideningWhileScrolledPullsTheContentBack) {
  TbsRibbonPage* P = NewRibbonPage(400, 1000);
  P->SetScrollOffset(100);
  for (Integer i = 0; i < 20; ++i) wintest::Click(OnArrow(P, 1));
  const Integer End = P->Position();
  ASSERT_EQ(Child->Left() + Child->Width(), P->ClientWidth());
  // The control shrinks: its right edge meets the client edge again.
  Child->SetWidth(900);
  P->GetScrollInfo();
  EXPECT_EQ(P->Position(), End - 100);
  EXPECT_EQ(Child->Left() + Child->Width(), P->ClientWidth());
  // The form grows by 50: the content moves right by the growth.
  const Integer Before = P->Position();
  Form->SetWidth(Form->Width() + 50);
  EXPECT_EQ(P->Position(), Before - 50);
  EXPECT_EQ(Child->Left(), -(Before - 50));
}

TEST_F(ScrollingPages, HoldingAnArrowScrollsEveryIntervalAndHotScrollNeedsNoPress) {
  TbsRibbonPage* P = NewRibbonPage(400, 2000);
  P->SetScrollOffset(10);
  P->SetScrollTimerInterval(40);
  wintest::MouseMove(OnArrow(P, 1));
  wintest::MouseDown(OnArrow(P, 1));
  EXPECT_TRUE(P->ScrollButton(1).Down);
  wintest::AdvanceTime(Clock(), 120);
  EXPECT_EQ(P->Position(), 30);
  wintest::MouseUp(OnArrow(P, 1));
  EXPECT_EQ(P->Position(), 40);
  EXPECT_EQ(P->ScrollTimerMode(), 0);
  P->SetHotScroll(true);
  wintest::MouseMove(OnArrow(P, 0));
  wintest::AdvanceTime(Clock(), 80);
  EXPECT_EQ(P->Position(), 20);
  // Into the client area: the scrolling stops.
  wintest::MouseMove(wintest::ScreenPoint(P->Handle(), 50, 5));
  wintest::AdvanceTime(Clock(), 400);
  EXPECT_EQ(P->Position(), 20);
  // Out-of-range settings are ignored.
  P->SetScrollOffset(-5);
  P->SetScrollTimerInterval(0);
  EXPECT_EQ(P->ScrollOffset(), 10);
  EXPECT_EQ(P->ScrollTimerInterval(), 40);
}

TEST_F(ScrollingPages, ThePageAnswersRequestsToPaintItsArrowsElsewhere) {
  struct Case {
    Integer ChildWidth;
    LRESULT PaintNC;
  } Cases[] = {{100, 0}, {1000, PaintNCDone}};
  for (const Case& C : Cases) {
    TbsRibbonPage* P = NewRibbonPage(400, C.ChildWidth);
    TBitmap B;
    B.SetSize(P->Width(), P->Height());
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, B.Width(), B.Height()));
    EXPECT_EQ(P->Perform(CM_PAINTNC, WPARAM(B.Canvas()->Handle()), 0), C.PaintNC) << C.ChildWidth;
    EXPECT_EQ(P->Perform(CN_PAINTNC, WPARAM(B.Canvas()->Handle()), PaintNCNotifyCode), PaintNCNotifyCode);
    auto px = [&](Integer X, Integer Y) { return COLORREF(B.Canvas()->Pixels(X, Y)) & 0xFFFFFF; };
    if (C.PaintNC != 0) {
      // The flat default look: a shadow frame around the face colour at both ends.
      EXPECT_EQ(px(0, 5), COLORREF(ColorToRGB(clBtnShadow)));
      EXPECT_EQ(px(2, 5), BtnFaceRGB());
      EXPECT_EQ(px(P->Width() - 1, 5), COLORREF(ColorToRGB(clBtnShadow)));
      EXPECT_EQ(px(P->Width() / 2, 5), COLORREF(ColorToRGB(clRed)));
    } else {
      EXPECT_EQ(px(2, 5), COLORREF(ColorToRGB(clRed)));
    }
    Form->Release();
  }
}

TEST_F(ScrollingPages, SkinnedArrowsTakeTheResizeToolButtonLook) {
  TbsRibbonPage* P = NewRibbonPage(400, 1000);
  Ribbon->SetSkinData(Skin.get());
  TBitmap B;
  B.SetSize(P->Width(), P->Height());
  ASSERT_EQ(P->Perform(CM_PAINTNC, WPARAM(B.Canvas()->Handle()), 0), PaintNCDone);
  // The generated button picture's top-left corner slice of its normal state.
  EXPECT_EQ(COLORREF(B.Canvas()->Pixels(0, 0)) & 0xFFFFFF, SliceColor("resizetoolbutton", 0, 0));
}

TEST_F(ScrollingPages, AMenuPageScrollsUpAndDownOnlyWhileItsMenuShowsIt) {
  Form = NewForm(Rect(100, 100, 600, 400));
  Ribbon = new TbsRibbon(Form);
  Ribbon->SetParent(Form);
  auto* M = new TbsAppMenu(Form);
  Ribbon->SetAppMenu(M);
  TbsAppMenuItem* I = M->Items()->Add();
  TbsAppMenuPage* P = M->CreatePage();
  I->SetPage(P);
  EXPECT_FALSE(P->CanScroll());
  P->SetCanScroll(true);
  Child = NewControl<TRecordingControl>(P, Rect(10, 0, 60, 900));
  // Hidden menu: nothing measured.
  P->GetScrollInfo();
  EXPECT_FALSE(P->ArrowsShown());
  Ribbon->ShowAppMenu();
  ASSERT_TRUE(P->ArrowsShown());
  const Integer H = P->Height();
  EXPECT_EQ(P->ClientHeight(), H - 24);
  EXPECT_EQ(P->ScrollButton(0).R, Rect(0, 0, P->Width(), 12));
  EXPECT_EQ(P->ScrollButton(1).R, Rect(0, H - 12, P->Width(), H));
  wintest::Click(OnArrow(P, 1));
  EXPECT_EQ(P->Position(), H - 24);
  EXPECT_EQ(Child->Top(), -(H - 24));
  wintest::Click(OnArrow(P, 0));
  EXPECT_EQ(P->Position(), 0);
  // Content that fits again hides the arrows.
  Child->SetHeight(50);
  P->GetScrollInfo();
  EXPECT_FALSE(P->ArrowsShown());
  Ribbon->HideAppMenu(nullptr);
}

TEST_F(ScrollingPages, ARibbonNarrowerThanItsApplicationButtonStillPaints) {
  TbsRibbonPage* P = NewRibbonPage(400, 300);
  Ribbon->SetAlign(alNone);
  for (Integer W : {40, 10, 1, 0}) {
    Ribbon->SetWidth(W);
    Ribbon->Repaint();
    TBitmap B;
    B.SetSize(std::max(W, 1), Ribbon->Height());
    Ribbon->PaintRibbon(B.Canvas());
    EXPECT_GE(P->Width(), 0) << W;
  }
}

}  // namespace
