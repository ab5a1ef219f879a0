// One skin change across a form of mixed skinned controls: each kind takes the reloaded skin's
// elements, sizes and fonts; controls of another skin are left alone.
#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/bars/bssliderimages.h"
#include "skin/controls/base/bsgraphicskincontrol.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinlabels.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinChange : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
  }
  void TearDown() override {
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }
};

// The reloaded skin: the button element fixed at its 48 x 24 size, the tool button's picture moved to
// its disabled cell, the label font taller, the scroll bar's track picture moved to its disabled cell,
// and no "panel" or "slider" element at all.
void BuildReloadedSkin(TbsSkinData* S) {
  BuildGeneratedSkin(S);
  auto* Button = dynamic_cast<TbsDataSkinCustomControl*>(S->Ctrls(S->GetControlIndex("button")));
  Button->LTPoint = Button->RTPoint = Button->LBPoint = Button->RBPoint = TPoint{};
  auto* Tool = S->Ctrls(S->GetControlIndex("toolbutton"));
  Tool->SkinRect = Rect(3 * 48, Tool->SkinRect.Top, 4 * 48, Tool->SkinRect.Bottom);
  dynamic_cast<TbsDataSkinStdLabelControl*>(S->Ctrls(S->GetControlIndex("stdlabel")))->FontHeight = 26;
  auto* Bar = S->Ctrls(S->GetControlIndex("hscrollbar"));
  Bar->SkinRect = Rect(3 * 48, Bar->SkinRect.Top, 4 * 48, Bar->SkinRect.Bottom);
  S->Ctrls(S->GetControlIndex("panel"))->IDName = "retired panel";
  S->Ctrls(S->GetControlIndex("slider"))->IDName = "retired slider";
}

TEST_F(SkinChange, EveryControlOfTheChangedSkinReloadsItsLook) {
  TbsSkinData Other(nullptr);
  BuildGeneratedSkin(&Other);
  TForm* F = NewForm(Rect(0, 0, 500, 400));
  auto* Panel = NewControl<TbsSkinCustomControl>(F, Rect(10, 10, 310, 210));
  Panel->SetSkinDataName("panel");
  Panel->SetDefaultWidth(250);
  Panel->SetSkinData(Skin.get());
  auto* Button = NewControl<TbsSkinButton>(Panel, Rect(10, 10, 110, 40));
  Button->SetSkinData(Skin.get());
  auto* Tool = NewControl<TbsGraphicSkinCustomControl>(Panel, Rect(10, 60, 110, 90));
  Tool->SetSkinDataName("toolbutton");
  Tool->SetSkinData(Skin.get());
  auto* Label = NewControl<TbsSkinTextLabel>(Panel, Rect(10, 100, 80, 160));
  Label->Lines()->Add("ab");
  Label->SetSkinData(Skin.get());
  auto* Bar = NewControl<TbsSkinScrollBar>(Panel, Bounds(100, 10, 200, 19));
  Bar->SetSkinData(Skin.get());
  auto* Slider = NewControl<TbsSkinSlider>(Panel, Bounds(120, 60, 150, 40));
  Slider->SetSkinData(Skin.get());
  auto* Elsewhere = NewControl<TbsSkinButton>(F, Rect(350, 10, 450, 40));
  Elsewhere->SetSkinData(&Other);

  ASSERT_EQ(Button->Width(), 100);
  ASSERT_EQ(Label->Height(), 13);
  EXPECT_EQ(PixelOf(Panel, 150, 190), SliceColor("panel", 0, 4));
  EXPECT_EQ(PixelOf(Tool, 50, 15), SliceColor("toolbutton", 0, 4));
  EXPECT_EQ(PixelOf(Bar, 100, 9), SliceColor("hscrollbar", 0, 4));
  ASSERT_EQ(Slider->ThumbRect(), Rect(6, 6, 12, 12));
  EXPECT_EQ(PixelOf(Slider, 7, 7), SliceColor("slider", 1, 0));

  WalkSkinChange(F, Skin.get(), true);
  EXPECT_EQ(Panel->SkinIndex(), -1);
  EXPECT_EQ(Button->SkinIndex(), -1);
  EXPECT_EQ(Bar->SkinIndex(), -1);
  EXPECT_EQ(Slider->SkinIndex(), -1);
  Skin->ClearSkin();
  BuildReloadedSkin(Skin.get());
  WalkSkinChange(F, Skin.get(), false);

  // The element without a name in the new skin: default size and look.
  EXPECT_EQ(Panel->SkinIndex(), -1);
  EXPECT_EQ(Panel->Width(), 250);
  EXPECT_EQ(PixelOf(Panel, 150, 190), BtnFaceRGB());
  // The fixed-size element takes its size at once.
  EXPECT_EQ(Button->Width(), 48);
  EXPECT_EQ(Button->Height(), 24);
  EXPECT_EQ(PixelOf(Button, 24, 12), SliceColor("button", 0, 4));
  EXPECT_EQ(PixelOf(Tool, 50, 15), SliceColor("toolbutton", 3, 4));
  EXPECT_EQ(Label->Height(), 26);
  // The bar's track from the moved picture; the slider without its element in the built-in look.
  EXPECT_EQ(Bar->SkinIndex(), Skin->GetControlIndex("hscrollbar"));
  EXPECT_EQ(PixelOf(Bar, 100, 9), SliceColor("hscrollbar", 3, 4));
  EXPECT_EQ(Slider->SkinIndex(), -1);
  EXPECT_EQ(PixelOf(Slider, 8, 10), COLORREF(ColorToRGB(SliderThumbFace)));
  EXPECT_EQ(PixelOf(Slider, 75, 12), COLORREF(ColorToRGB(SliderGrooveDark)));
  // A control of the other skin keeps its size and look.
  EXPECT_EQ(Elsewhere->Width(), 100);
  EXPECT_EQ(Elsewhere->SkinIndex(), Other.GetControlIndex("button"));
  EXPECT_EQ(PixelOf(Elsewhere, 50, 15), SliceColor("button", 0, 4));
}

}  // namespace
