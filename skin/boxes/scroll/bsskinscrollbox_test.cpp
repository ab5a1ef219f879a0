#include "skin/boxes/scroll/bsskinscrollbox.h"

#include <gtest/gtest.h>

#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

class SkinScrollBox : public TSkinControlTest {
 protected:
  // A box whose unskinned client is 150 x 150, with a vertical and a horizontal bar beside it.
  void Build(bool BindBars = true) {
    F = NewForm();
    Box = NewControl<TbsSkinScrollBox>(F, Rect(10, 10, 162, 162));
    VBar = NewControl<TbsSkinScrollBar>(F, Rect(162, 10, 178, 162));
    VBar->SetKind(sbVertical);
    HBar = NewControl<TbsSkinScrollBar>(F, Rect(10, 162, 162, 178));
    if (BindBars) {
      Box->SetVScrollBar(VBar);
      Box->SetHScrollBar(HBar);
    }
    wintest::Pump();
  }
  TRecordingControl* Child(TRect R) { return NewControl<TRecordingControl>(Box, R); }
  TbsDataSkinScrollBoxControl* Record() {
    return dynamic_cast<TbsDataSkinScrollBoxControl*>(Skin->Ctrls(Skin->GetControlIndex("scrollbox")));
  }

  TForm* F = nullptr;
  TbsSkinScrollBox* Box = nullptr;
  TbsSkinScrollBar* VBar = nullptr;
  TbsSkinScrollBar* HBar = nullptr;
};

TEST_F(SkinScrollBox, Defaults) {
  TbsSkinScrollBox B(nullptr);
  EXPECT_EQ(B.Width(), 150);
  EXPECT_EQ(B.Height(), 150);
  EXPECT_EQ(B.SkinDataName(), "scrollbox");
  EXPECT_EQ(B.BorderStyle(), bvFrame);
  EXPECT_FALSE(B.CanFocused());
  EXPECT_EQ(B.BGPictureIndex, -1);
  EXPECT_EQ(B.HScrollBar(), nullptr);
  EXPECT_EQ(B.VScrollBar(), nullptr);
  EXPECT_TRUE(B.ControlStyle().Contains(csAcceptsControls));
}

TEST_F(SkinScrollBox, BindingABarTakesItsEventsAndHidesIt) {
  Build(false);
  VBar->SetCanFocused(true);
  VBar->SetEnabled(false);
  Box->SetVScrollBar(VBar);
  EXPECT_FALSE(VBar->CanFocused());
  EXPECT_TRUE(VBar->Enabled());
  EXPECT_FALSE(VBar->Visible());
  EXPECT_TRUE(bool(VBar->OnChange));
  EXPECT_TRUE(bool(VBar->OnLastChange));
  // A freed bar is forgotten.
  delete VBar;
  EXPECT_EQ(Box->VScrollBar(), nullptr);
  Box->UpDateScrollRange();
}

TEST_F(SkinScrollBox, TallContentShowsTheBarAndRemovingItScrollsBack) {
  Build();
  ASSERT_EQ(Box->ClientHeight(), 150);
  TRecordingControl* A = Child(Rect(0, 0, 50, 100));
  TRecordingControl* B = Child(Rect(0, 300, 50, 400));
  Box->UpDateScrollRange();
  EXPECT_TRUE(VBar->Visible());
  EXPECT_EQ(VBar->Max(), 399);
  EXPECT_EQ(VBar->PageSize(), 150);
  EXPECT_FALSE(HBar->Visible());

  // Moving the bar moves the children by the change.
  VBar->SetPosition(100);
  EXPECT_EQ(A->Top(), -100);
  EXPECT_EQ(B->Top(), 200);

  B->SetVisible(false);
  Box->UpDateScrollRange();
  // Everything fits: the children scrolled by 100 move back by 100 and the bar hides.
  EXPECT_EQ(A->Top(), 0);
  EXPECT_FALSE(VBar->Visible());
  EXPECT_EQ(VBar->Max(), 0);
  EXPECT_EQ(VBar->Position(), 0);
}

TEST_F(SkinScrollBox, GrowingAScrolledBoxScrollsBackOnce) {
  Build();
  TRecordingControl* A = Child(Rect(0, 0, 50, 250));
  Box->UpDateScrollRange();
  VBar->SetPosition(80);
  ASSERT_EQ(A->Top(), -80);
  // Content bottom 170 lies above the new client bottom 200.
  Box->SetBounds(Box->Left(), Box->Top(), Box->Width(), Box->Height() + 50);
  Box->UpDateScrollRange();
  EXPECT_EQ(A->Top(), -30);
  EXPECT_EQ(VBar->Position(), 30);
  Box->UpDateScrollRange();
  EXPECT_EQ(A->Top(), -30);
  EXPECT_EQ(VBar->Position(), 30);
}

TEST_F(SkinScrollBox, ShrinkingContentScrollsBackByTheGap) {
  Build();
  TRecordingControl* A = Child(Rect(0, 0, 50, 400));
  Box->UpDateScrollRange();
  VBar->SetPosition(200);
  A->SetHeight(300);  // bottom now 100, 50 above the client bottom
  Box->UpDateScrollRange();
  EXPECT_EQ(A->Top(), -150);
  EXPECT_EQ(VBar->Position(), 150);
  EXPECT_EQ(VBar->Max(), 299);
}

TEST_F(SkinScrollBox, ScrollCallsAreLimitedAndMoveTheChildrenOnce) {
  Build();
  TRecordingControl* A = Child(Rect(0, 0, 400, 400));
  Box->UpDateScrollRange();
  Box->VScroll(10000);
  EXPECT_EQ(VBar->Position(), 249);
  EXPECT_EQ(A->Top(), -249);
  Box->VScroll(20);
  EXPECT_EQ(A->Top(), -20);
  // Past the bar's range: the children end where the bar shows them.
  Box->HScroll(10000);
  EXPECT_EQ(A->Left(), -HBar->Position());
  EXPECT_GT(HBar->Position(), 0);
  Box->HScroll(-50);
  EXPECT_EQ(HBar->Position(), 0);
  EXPECT_EQ(A->Left(), 0);
}

TEST_F(SkinScrollBox, TheHorizontalBarSharesTheCornerWhenTheVerticalShows) {
  Build();
  Child(Rect(0, 0, 400, 400));
  Box->UpDateScrollRange();
  // The horizontal range ran before the vertical bar showed.
  EXPECT_TRUE(VBar->Visible());
  EXPECT_FALSE(HBar->Both());
  Box->UpDateScrollRange();
  EXPECT_TRUE(HBar->Both());
}

TEST_F(SkinScrollBox, ScrollToControlBringsAChildIntoView) {
  Build();
  Child(Rect(0, 0, 50, 50));
  TRecordingControl* Far = Child(Rect(0, 300, 50, 340));
  Box->UpDateScrollRange();
  Box->ScrollToControl(Far);
  EXPECT_EQ(Far->Top() + Far->Height(), Box->ClientHeight());
  TRecordingControl* Near = dynamic_cast<TRecordingControl*>(Box->Controls(0));
  Box->ScrollToControl(Near);
  EXPECT_EQ(Near->Top(), 0);
}

TEST_F(SkinScrollBox, FrameWidthsByBorderStyleAndSkin) {
  Build(false);
  EXPECT_EQ(Box->ClientWidth(), Box->Width() - 2);
  Box->SetBorderStyle(bvNone);
  EXPECT_EQ(Box->ClientWidth(), Box->Width());
  EXPECT_EQ(Box->Perform(CM_PAINTNC, WPARAM(1), 0), 0);

  Box->SetBorderStyle(bvFrame);
  Box->SetSkinData(Skin.get());
  TbsDataSkinScrollBoxControl* R = Record();
  ASSERT_NE(R, nullptr);
  const Integer Lft = R->ClRect.Left, Tp = R->ClRect.Top;
  const Integer Rt = RectWidth(R->SkinRect) - R->ClRect.Right,
                Bt = RectHeight(R->SkinRect) - R->ClRect.Bottom;
  ASSERT_GT(Lft + Rt, 0);
  EXPECT_EQ(Box->ClientWidth(), Box->Width() - Lft - Rt);
  EXPECT_EQ(Box->ClientHeight(), Box->Height() - Tp - Bt);
  Box->SetBorderStyle(bvNone);
  EXPECT_EQ(Box->ClientWidth(), Box->Width());
  Box->SetBorderStyle(bvFrame);
  R->BGPictureIndex = 0;
  Box->ChangeSkinData();
  EXPECT_EQ(Box->ClientWidth(), Box->Width());
  EXPECT_EQ(Box->Perform(CN_PAINTNC, 0, PaintNCNotifyCode), PaintNCNotifyCode);
}

TEST_F(SkinScrollBox, UnskinnedFramesShowTheirBevelColours) {
  Build(false);
  struct Case {
    TbsSkinBorderStyle Style;
    TColor TopLeft, BottomRight;
  };
  for (const Case& C : {Case{bvFrame, clBtnShadow, clBtnShadow}, Case{bvRaised, clBtnShadow, clBtnHighlight},
                        Case{bvLowered, clBtnHighlight, clBtnShadow}}) {
    SCOPED_TRACE(int(C.Style));
    Box->SetBorderStyle(C.Style);
    wintest::Pump();
    RECT W;
    GetWindowRect(Box->Handle(), &W);
    const TPoint Org = F->ClientOrigin();
    const Integer X = W.Left - Org.X, Y = W.Top - Org.Y;
    auto at = [&](Integer PX, Integer PY) { return PixelOf(F, X + PX, Y + PY); };
    EXPECT_EQ(at(0, 20), COLORREF(ColorToRGB(C.TopLeft)));
    EXPECT_EQ(at(20, 0), COLORREF(ColorToRGB(C.TopLeft)));
    EXPECT_EQ(at(Box->Width() - 1, 20), COLORREF(ColorToRGB(C.BottomRight)));
    EXPECT_EQ(at(20, Box->Height() - 1), COLORREF(ColorToRGB(C.BottomRight)));
  }
}

TEST_F(SkinScrollBox, ClickFocusesOnlyWhenAsked) {
  Build(false);
  TbsSkinScrollBar* Other = HBar;
  Other->SetCanFocused(true);
  Other->SetFocus();
  wintest::Click(wintest::ScreenPoint(Box->Handle(), 20, 20));
  EXPECT_NE(GetFocus(), Box->Handle());
  Box->SetCanFocused(true);
  wintest::Click(wintest::ScreenPoint(Box->Handle(), 20, 20));
  EXPECT_EQ(GetFocus(), Box->Handle());
}

TEST_F(SkinScrollBox, VisibilityCarriesToTheBars) {
  Build();
  Child(Rect(0, 0, 50, 400));
  Box->UpDateScrollRange();
  ASSERT_TRUE(VBar->Visible());
  Box->SetVisible(false);
  EXPECT_FALSE(VBar->Visible());
  EXPECT_FALSE(HBar->Visible());
}

}  // namespace
