#include "skin/controls/panels/bsskinpanel.h"

#include <gtest/gtest.h>

#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

using wintest::ScreenPoint;

class SkinPanel : public TSkinControlTest {
 protected:
  TbsDataSkinPanelControl* Record(const String& Name = "panel") {
    return dynamic_cast<TbsDataSkinPanelControl*>(Skin->Ctrls(Skin->GetControlIndex(Name)));
  }
  template <class T = TbsSkinPanel>
  T* NewPanel(TWinControl* Parent, bool Skinned, TRect Bounds = Rect(10, 10, 210, 160)) {
    auto* P = NewControl<T>(Parent, Bounds);
    if (Skinned) P->SetSkinData(Skin.get());
    return P;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }
  static COLORREF Rgb(TColor C) { return COLORREF(ColorToRGB(C)); }
};

// ---- client rectangle ----

TEST_F(SkinPanel, ClientRectangleByLookAndMode) {
  // The generated "panel" element has 6-pixel corners and is nine-sliced.
  const struct {
    const char* What;
    bool Skinned;
    TbsSkinBorderStyle Border;
    bool CaptionMode, Ribbon, UseSkinSize, Empty;
    TRect Expected;
  } Cases[] = {
      {"flat frame", false, bvFrame, false, false, true, false, Rect(1, 1, 199, 149)},
      {"flat none", false, bvNone, false, false, true, false, Rect(0, 0, 200, 150)},
      {"flat caption", false, bvRaised, true, false, true, false, Rect(1, 21, 199, 149)},
      {"flat ribbon caption", false, bvFrame, true, true, true, false, Rect(1, 1, 199, 129)},
      {"empty drawing", false, bvFrame, true, false, true, true, Rect(0, 0, 200, 150)},
      {"skinned frame", true, bvFrame, false, false, true, false, Rect(6, 6, 194, 144)},
      {"skinned none: the texture alone", true, bvNone, false, false, true, false, Rect(0, 0, 200, 150)},
      {"skinned none with caption", true, bvNone, true, false, true, false, Rect(6, 6, 194, 144)},
      {"skinned caption, own height", true, bvFrame, true, false, false, false, Rect(6, 20, 194, 144)},
      {"skinned ribbon, own height", true, bvFrame, true, true, false, false, Rect(6, 6, 194, 130)},
  };
  TForm* F = NewForm();
  for (const auto& C : Cases) {
    auto* P = NewPanel(F, C.Skinned);
    P->SetBorderStyle(C.Border);
    P->SetCaptionMode(C.CaptionMode);
    P->SetRibbonStyle(C.Ribbon);
    P->SetUseSkinSize(C.UseSkinSize);
    P->SetEmptyDrawing(C.Empty);
    TRect R;
    P->GetSkinClientRect(R);
    EXPECT_EQ(R, C.Expected) << C.What;
    auto* Child = NewControl<TRecordingControl>(P, Rect(0, 0, 10, 10));
    Child->SetAlign(alClient);
    EXPECT_EQ(Child->BoundsRect(), C.Expected) << C.What << ": aligned child";
    delete P;
  }
}

// ---- check box and roll-up ----

TEST_F(SkinPanel, CheckedReappliesToChildrenAndReportsEveryTime) {
  TForm* F = NewForm();
  auto* P = NewPanel(F, false);
  auto* A = NewControl<TRecordingControl>(P, Rect(10, 30, 40, 50));
  auto* B = NewControl<TRecordingControl>(P, Rect(50, 30, 80, 50));
  int Reports = 0;
  P->OnChecked = [&](TObject*) { ++Reports; };
  P->SetChecked(false);
  EXPECT_TRUE(A->Enabled()) << "outside check mode the children are left alone";
  P->SetCheckedMode(true);
  P->SetChecked(false);
  EXPECT_FALSE(A->Enabled());
  EXPECT_FALSE(B->Enabled());
  B->SetEnabled(true);
  P->SetChecked(false);
  EXPECT_FALSE(B->Enabled()) << "the same value is applied again";
  P->SetAutoEnabledControls(false);
  P->SetChecked(true);
  EXPECT_FALSE(A->Enabled());
  EXPECT_EQ(Reports, 4);
}

TEST_F(SkinPanel, RollUpAndUnrollRestoreHeightChildrenAndConstraints) {
  TForm* F = NewForm();
  auto* P = NewPanel(F, false);
  P->SetCaptionMode(true);
  auto* Shown = NewControl<TRecordingControl>(P, Rect(10, 30, 40, 50));
  auto* Hidden = NewControl<TRecordingControl>(P, Rect(50, 30, 80, 50));
  Hidden->SetVisible(false);
  P->Constraints()->SetMaxHeight(400);
  int Changes = 0;
  P->OnChangeRollUpState = [&](TObject*) { ++Changes; };
  // Without roll-up mode the state stays up and the put-aside constraints (none yet) come back.
  P->SetRollUpState(true);
  EXPECT_FALSE(P->RollUpState());
  EXPECT_EQ(P->Constraints()->MaxHeight(), 0);
  EXPECT_EQ(Changes, 0);
  P->Constraints()->SetMaxHeight(400);
  P->SetRollUpMode(true);
  P->SetRollUpState(true);
  EXPECT_EQ(P->Height(), 21);
  EXPECT_EQ(P->RealHeight(), 150);
  EXPECT_FALSE(Shown->Visible());
  EXPECT_EQ(P->Constraints()->MaxHeight(), 0);
  P->SetRollUpState(false);
  EXPECT_EQ(P->Height(), 150);
  EXPECT_EQ(P->RealHeight(), -1);
  EXPECT_TRUE(Shown->Visible());
  EXPECT_TRUE(Hidden->Visible()) << "every child is shown on unrolling";
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(P->Constraints()->MaxHeight(), 400) << "the constraints survive a roll-up and unroll";
  // Leaving roll-up mode and asking again puts the put-aside values back.
  P->Constraints()->SetMaxHeight(500);
  P->SetRollUpMode(false);
  P->SetRollUpState(true);
  EXPECT_EQ(P->Constraints()->MaxHeight(), 400);
  // Skinned: the element without its client part, and a skin change keeps the unrolled height.
  auto* S = NewPanel(F, true, Rect(220, 10, 420, 160));
  S->SetRollUpMode(true);
  S->SetRollUpState(true);
  EXPECT_EQ(S->Height(), 12);
  S->ChangeSkinData();
  EXPECT_EQ(S->Height(), 12);
  EXPECT_EQ(S->RealHeight(), 150);
}

TEST_F(SkinPanel, CaptionClickCountsDownToTheCaptionHeight) {
  TForm* F = NewForm();
  auto* P = NewPanel(F, false);
  P->SetCaptionMode(true);
  P->SetCheckedMode(true);
  P->SetRollUpMode(true);
  int Ups = 0;
  P->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Ups; };
  wintest::Click(At(P, 100, 21));
  EXPECT_FALSE(P->Checked());
  EXPECT_FALSE(P->RollUpState());
  wintest::Click(At(P, 100, 20));
  EXPECT_TRUE(P->Checked());
  EXPECT_TRUE(P->RollUpState());
  EXPECT_EQ(Ups, 2);
  // Skinned: the caption area of the element.
  auto* S = NewPanel(F, true, Rect(220, 10, 420, 160));
  S->SetCaptionMode(true);
  S->SetCheckedMode(true);
  S->SetCaption("Head");
  S->Repaint();
  EXPECT_EQ(S->CaptionArea(), Rect(6, 0, 194, 6));
  wintest::Click(At(S, 100, 7));
  EXPECT_FALSE(S->Checked());
  wintest::Click(At(S, 100, 6));
  EXPECT_TRUE(S->Checked());
}

TEST_F(SkinPanel, FreedFromItsOwnCaptionClickHandler) {
  TForm* F = NewForm();
  auto* P = NewPanel(F, false);
  P->SetCaptionMode(true);
  P->SetCheckedMode(true);
  P->SetRollUpMode(true);
  int RollUps = 0;
  P->OnChangeRollUpState = [&](TObject*) { ++RollUps; };
  P->OnChecked = [&P](TObject*) {
    delete P;
    P = nullptr;
  };
  wintest::Click(At(P, 100, 10));
  EXPECT_EQ(P, nullptr);
  EXPECT_EQ(RollUps, 0) << "nothing more runs on a freed panel";
}

// ---- looks ----

TEST_F(SkinPanel, DefaultLookFramesAndCaptionBar) {
  TForm* F = NewForm();
  auto* P = NewPanel(F, false);
  EXPECT_EQ(PixelOf(P, 0, 75), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(P, 199, 75), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(P, 100, 75), BtnFaceRGB());
  P->SetBorderStyle(bvRaised);
  EXPECT_EQ(PixelOf(P, 0, 75), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelOf(P, 199, 75), Rgb(clBtnShadow));
  P->SetBorderStyle(bvLowered);
  EXPECT_EQ(PixelOf(P, 0, 75), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(P, 100, 149), Rgb(clBtnHighlight));
  P->SetCaptionMode(true);
  // Inset by the frame with the raised and lowered styles, full width with the plain frame.
  EXPECT_EQ(PixelOf(P, 0, 10), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(P, 1, 1), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(P, 100, 19), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(P, 100, 20), BtnFaceRGB());
  P->SetRibbonStyle(true);
  EXPECT_EQ(PixelOf(P, 100, 5), BtnFaceRGB());
  EXPECT_EQ(PixelOf(P, 100, 130), Rgb(clBtnShadow));
  P->SetRibbonStyle(false);
  P->SetCheckedMode(true);
  EXPECT_EQ(PixelOf(P, 6, 5), Rgb(clWindow)) << "13 x 13 check square at (5, 4)";
  EXPECT_EQ(PixelOf(P, 4, 5), Rgb(clBtnShadow));
  P->SetChecked(true);
  bool Tick = false;
  for (Integer X = 8; X < 17; ++X)
    for (Integer Y = 6; Y < 15; ++Y) Tick |= PixelOf(P, X, Y) == Rgb(clBtnText);
  EXPECT_TRUE(Tick);
}

TEST_F(SkinPanel, SkinnedLooksBordersTextureAndBackgroundPicture) {
  TForm* F = NewForm();
  auto* P = NewPanel(F, true);
  EXPECT_EQ(PixelOf(P, 1, 1), SliceColor("panel", 0, 0));
  EXPECT_EQ(PixelOf(P, 198, 148), SliceColor("panel", 0, 8));
  EXPECT_EQ(PixelOf(P, 100, 75), SliceColor("panel", 0, 4));
  P->SetBorderStyle(bvNone);
  P->Repaint();
  EXPECT_EQ(PixelOf(P, 1, 1), SliceColor("panel", 0, 4)) << "the client texture alone";
  EXPECT_EQ(PixelOf(P, 198, 148), SliceColor("panel", 0, 4));
  // A background picture (here the control sheet itself, unscaled) covers the panel without borders.
  auto* R = Record();
  R->BGPictureIndex = R->PictureIndex;
  R->StretchEffect = false;
  P->SetBorderStyle(bvFrame);
  P->Repaint();
  TRect CR;
  P->GetSkinClientRect(CR);
  EXPECT_EQ(CR, Rect(0, 0, 200, 150));
  EXPECT_EQ(PixelOf(P, 1, 1), SliceColor("button", 0, 0));
  EXPECT_EQ(PixelOf(P, 10, 1), SliceColor("button", 0, 1));
  // A picture index past the end of the skin's pictures falls back to the element.
  R->BGPictureIndex = 1000;
  P->Repaint();
  EXPECT_EQ(PixelOf(P, 1, 1), SliceColor("panel", 0, 0));
}

TEST_F(SkinPanel, GroupBoxCaptionStripAndTransparentFrame) {
  TForm* F = NewForm();
  auto* G = NewPanel<TbsSkinGroupBox>(F, true);
  EXPECT_EQ(G->SkinDataName(), String("groupbox"));
  EXPECT_TRUE(G->CaptionMode());
  EXPECT_EQ(G->SkinIndex(), Skin->GetControlIndex("groupbox"));
  EXPECT_EQ(PixelOf(G, 1, 1), SliceColor("groupbox", 0, 0));
  // Caption height of its own: the "panel" element drawn whole, the group box's caption stretched in.
  G->SetUseSkinSize(false);
  G->Repaint();
  EXPECT_EQ(G->SkinDataName(), String("groupbox"));
  EXPECT_EQ(PixelOf(G, 1, 1), SliceColor("panel", 0, 0));
  EXPECT_EQ(PixelOf(G, 100, 10), SliceColor("groupbox", 0, 1));
  EXPECT_EQ(PixelOf(G, 100, 100), SliceColor("panel", 0, 4));
  EXPECT_EQ(G->CaptionArea(), Rect(6, 6, 194, 19));
  // Transparent: a frame line in the skin's shadow colour over the form.
  G->SetUseSkinSize(true);
  G->SetCaption("Group");
  G->SetTransparentMode(true);
  const COLORREF Shadow = Rgb(Skin->SkinColors()->cBtnShadow());
  const Integer H = G->CaptionArea().Bottom - 5, Y = (H + 5) / 2;
  EXPECT_GT(H, 0);
  EXPECT_EQ(PixelOf(G, 0, 100), Shadow);
  EXPECT_EQ(PixelOf(G, 199, 100), Shadow);
  EXPECT_EQ(PixelOf(G, 100, 149), Shadow);
  EXPECT_EQ(PixelOf(G, 2, Y), Shadow) << "the stub left of the caption";
  EXPECT_EQ(PixelOf(G, 190, Y), Shadow);
  EXPECT_EQ(PixelOf(G, 100, 100), BtnFaceRGB());
}

TEST_F(SkinPanel, PaintPanelGetsItsClientArea) {
  TForm* F = NewForm();
  auto* P = NewPanel<TbsSkinPaintPanel>(F, false);
  P->SetCaptionMode(true);
  std::vector<TRect> Seen;
  P->OnPanelPaint = [&](TCanvas* C, const TRect& R) {
    Seen.push_back(R);
    C->Brush()->SetColor(clRed);
    C->FillRect(R);
  };
  P->Repaint();
  ASSERT_FALSE(Seen.empty());
  EXPECT_EQ(Seen.back(), Rect(1, 21, 199, 149));
  EXPECT_EQ(PixelOf(P, 100, 100), Rgb(clRed));
  EXPECT_EQ(PixelOf(P, 100, 10), Rgb(clBtnShadow));
  Seen.clear();
  P->SetSkinData(Skin.get());
  P->Repaint();
  ASSERT_FALSE(Seen.empty());
  EXPECT_EQ(Seen.back(), Rect(6, 6, 194, 144));
  EXPECT_EQ(PixelOf(P, 100, 100), Rgb(clRed));
}

}  // namespace
