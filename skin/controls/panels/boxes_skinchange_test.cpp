// One skin change across a form of boxes: a group box holding a panel and check and radio boxes
// follows the reloaded skin, the container before its children.
#include <gtest/gtest.h>

#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class BoxesSkinChange : public TSkinControlTest {};

// Check pictures of two slices each (the left one the transparent key); State picks the cell.
void SetCheckPictures(TbsSkinData* S, const String& Name, int UncheckedState, int CheckedState) {
  auto* R = dynamic_cast<TbsDataSkinCheckRadioControl*>(S->Ctrls(S->GetControlIndex(Name)));
  const Integer W = RectWidth(R->SkinRect);
  auto pic = [&](int State) { return Bounds(R->SkinRect.Left + State * W, R->SkinRect.Top, 12, 6); };
  R->UnCheckImageRect = R->ActiveUnCheckImageRect = R->UnEnabledUnCheckImageRect = pic(UncheckedState);
  R->CheckImageRect = R->ActiveCheckImageRect = R->UnEnabledCheckImageRect = pic(CheckedState);
}

TEST_F(BoxesSkinChange, GroupBoxPanelAndBoxesFollowTheReloadedSkin) {
  SetCheckPictures(Skin.get(), "checkbox", 0, 2);
  SetCheckPictures(Skin.get(), "radiobox", 0, 2);
  TForm* F = NewForm(Rect(0, 0, 500, 400));
  auto* Group = NewControl<TbsSkinGroupBox>(F, Rect(10, 10, 310, 210));
  Group->SetSkinData(Skin.get());
  auto* Inner = NewControl<TbsSkinPanel>(Group, Rect(0, 0, 50, 50));
  Inner->SetAlign(alBottom);
  Inner->SetSkinData(Skin.get());
  auto* Check = NewControl<TbsSkinCheckRadioBox>(Group, Rect(20, 20, 170, 45));
  Check->SetSkinData(Skin.get());
  auto* Radio = NewControl<TbsSkinCheckRadioBox>(Group, Rect(20, 60, 170, 85));
  Radio->SetSkinDataName("radiobox");
  Radio->SetRadio(true);
  Radio->SetChecked(true);
  Radio->SetSkinData(Skin.get());
  // The bottom-aligned panel sits on the group box's skinned client bottom.
  EXPECT_EQ(Inner->BoundsRect(), Rect(6, 144, 294, 194));
  EXPECT_EQ(PixelOf(Check, 12, 12), SliceColor("checkbox", 0, 1));
  EXPECT_EQ(PixelOf(Radio, 12, 12), SliceColor("radiobox", 2, 1));

  WalkSkinChange(F, Skin.get(), true);
  Skin->ClearSkin();
  BuildGeneratedSkin(Skin.get());
  // The reloaded skin has no group box element and other check pictures.
  Skin->Ctrls(Skin->GetControlIndex("groupbox"))->IDName = "retired groupbox";
  SetCheckPictures(Skin.get(), "checkbox", 3, 4);
  SetCheckPictures(Skin.get(), "radiobox", 3, 4);
  WalkSkinChange(F, Skin.get(), false);

  EXPECT_EQ(Group->SkinIndex(), -1);
  EXPECT_EQ(PixelOf(Group, 100, 10), COLORREF(ColorToRGB(clBtnShadow))) << "the flat caption bar";
  EXPECT_EQ(Inner->BoundsRect(), Rect(1, 149, 299, 199)) << "inside the flat frame";
  EXPECT_EQ(PixelOf(Inner, 25, 25), SliceColor("panel", 0, 4));
  EXPECT_EQ(PixelOf(Check, 12, 12), SliceColor("checkbox", 3, 1));
  EXPECT_EQ(PixelOf(Radio, 12, 12), SliceColor("radiobox", 4, 1));
}

}  // namespace
