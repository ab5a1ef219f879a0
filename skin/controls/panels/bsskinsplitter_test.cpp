#include "skin/controls/panels/bsskinsplitter.h"

#include <gtest/gtest.h>

#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinSplitterBevel : public TSkinControlTest {
 protected:
  static COLORREF Rgb(TColor C) { return COLORREF(ColorToRGB(C)); }
  TbsDataSkinSplitterControl* Splitter(const String& Name) {
    return dynamic_cast<TbsDataSkinSplitterControl*>(Skin->Ctrls(Skin->GetControlIndex(Name)));
  }
};

TEST_F(SkinSplitterBevel, SplitterThicknessFromTheElement) {
  TForm* F = NewForm();
  auto* Left = NewControl<TRecordingControl>(F, Rect(0, 0, 100, 100));
  Left->SetAlign(alLeft);
  auto* S = new TbsSkinSplitter(F);
  S->SetParent(F);
  S->SetAlign(alLeft);
  S->SetSkinData(nullptr);
  EXPECT_EQ(S->Width(), 10) << "no skin: DefaultSize";
  S->SetSkinData(Skin.get());
  EXPECT_EQ(S->Width(), RectWidth(Splitter("vsplitter")->SkinRect));
  S->SetTransparent(true);
  S->ChangeSkinData();
  EXPECT_EQ(S->Width(), 10) << "a transparent splitter keeps DefaultSize";
  auto* Top = new TbsSkinSplitter(F);
  Top->SetParent(F);
  Top->SetAlign(alTop);
  Top->SetSkinDataName("hsplitter");
  Top->SetDefaultSize(7);
  Top->SetSkinData(Skin.get());
  EXPECT_EQ(Top->Height(), RectHeight(Splitter("hsplitter")->SkinRect));
  Skin->Empty = true;
  Top->ChangeSkinData();
  EXPECT_EQ(Top->Height(), 7);
  EXPECT_EQ(Top->SkinIndex(), -1);
}

TEST_F(SkinSplitterBevel, SplitterDrawsThreeSlicesAndTheGripper) {
  auto* R = Splitter("vsplitter");
  // The gripper: the down state's corner, keyed on nothing.
  R->GripperRect = Bounds(R->SkinRect.Left + 2 * RectWidth(R->SkinRect), R->SkinRect.Top, 6, 6);
  // Three vertical slices: top and bottom ends of 6 pixels.
  TForm* F = NewForm();
  auto* S = new TbsSkinSplitter(F);
  S->SetParent(F);
  S->SetAlign(alLeft);
  S->SetSkinData(Skin.get());
  const Integer W = S->Width(), H = S->Height();
  ASSERT_GT(H, 40);
  EXPECT_EQ(PixelOf(S, 1, 1), SliceColor("vsplitter", 0, 0));
  EXPECT_EQ(PixelOf(S, 1, H - 2), SliceColor("vsplitter", 0, 6));
  EXPECT_EQ(PixelOf(S, 1, 20), SliceColor("vsplitter", 0, 3));
  EXPECT_EQ(PixelOf(S, W / 2, H / 2), SliceColor("vsplitter", 2, 0)) << "gripper in the middle";
  // Transparent: nothing painted, the form shows.
  S->SetTransparent(true);
  EXPECT_EQ(PixelOf(S, 1, 20), BtnFaceRGB());
  // A gripper outside the picture is left out.
  S->SetTransparent(false);
  R->GripperRect = Rect(5000, 0, 5006, 6);
  S->Repaint();
  EXPECT_EQ(PixelOf(S, W / 2, H / 2), SliceColor("vsplitter", 0, 4));
}

TEST_F(SkinSplitterBevel, BevelShapesAndDivider) {
  TForm* F = NewForm();
  auto* B = new TbsSkinBevel(F);
  B->SetParent(F);
  B->SetBounds(20, 20, 25, 70);
  const COLORREF Dark = Rgb(clBtnShadow), Light = Rgb(clBtnHighlight);
  EXPECT_EQ(PixelOf(B, 0, 30), Dark) << "lowered box: left edge dark";
  EXPECT_EQ(PixelOf(B, 24, 30), Light);
  B->SetStyle(bsRaised);
  EXPECT_EQ(PixelOf(B, 0, 30), Light);
  B->SetStyle(bsLowered);
  B->SetDividerMode(true);
  for (Integer Y : {2, 35, 68}) {
    EXPECT_EQ(PixelOf(B, 11, Y), Dark) << Y;
    EXPECT_EQ(PixelOf(B, 12, Y), Light) << Y;
  }
  EXPECT_EQ(PixelOf(B, 11, 1), BtnFaceRGB());
  EXPECT_EQ(PixelOf(B, 11, 69), BtnFaceRGB());
  EXPECT_EQ(PixelOf(B, 0, 30), BtnFaceRGB());
  B->SetShape(bsTopLine);
  EXPECT_EQ(PixelOf(B, 10, 34), Dark);
  EXPECT_EQ(PixelOf(B, 10, 35), Light);
  EXPECT_EQ(PixelOf(B, 1, 34), BtnFaceRGB());
  // Skin colours; a skin without the element keeps the button colours.
  auto* R = dynamic_cast<TbsDataSkinBevel*>(Skin->Ctrls(Skin->GetControlIndex("bevel")));
  ASSERT_NE(R, nullptr);
  R->LightColor = TColor(0x00FF00);
  R->DarkColor = TColor(0x0000FF);
  B->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(B, 10, 34), COLORREF(0x0000FF));
  EXPECT_EQ(PixelOf(B, 10, 35), COLORREF(0x00FF00));
  B->SetSkinDataName("nobevel");
  B->ChangeSkinData();
  EXPECT_EQ(B->LightColor, clBtnHighlight);
  EXPECT_EQ(B->DarkColor, clBtnShadow);
}

}  // namespace
