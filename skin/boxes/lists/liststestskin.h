// Test support for the skinned list box: the generated skin's list and scroll bar elements reshaped the
// way product skins draw them, so that layouts and pictures can be checked against known places.
#pragma once

#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordslists.h"

// Scroll bar elements of fixed thickness: horizontal and vertical three-slices.
inline void UseThreeSliceScrollBars(TbsSkinData* Skin) {
  for (const char* Name : {"hscrollbar", "bothhscrollbar", "vscrollbar"}) {
    auto* R = dynamic_cast<TbsDataSkinCustomControl*>(Skin->Ctrls(Skin->GetControlIndex(Name)));
    if (R == nullptr) continue;
    R->RBPoint = TPoint{0, 0};
    if (String(Name) == "vscrollbar")
      R->RTPoint = TPoint{0, 0};
    else
      R->LBPoint = TPoint{0, 0};
  }
}

// The list element two cells wide and two rows high: a 24-pixel top band that holds the caption and,
// in its fixed right corner, the three caption buttons; their hover and pressed pictures are parts of
// the element's other state cells. Returns the record.
inline TbsDataSkinListBox* UseCaptionedListElement(TbsSkinData* Skin) {
  auto* R = dynamic_cast<TbsDataSkinListBox*>(Skin->Ctrls(Skin->GetControlIndex("listbox")));
  if (R == nullptr) return nullptr;
  const Integer Top = R->SkinRect.Top;
  R->SkinRect = Rect(0, Top, 96, Top + 48);
  R->LTPoint = TPoint{6, 24};
  R->RTPoint = TPoint{50, 24};
  R->LBPoint = TPoint{6, 42};
  R->RBPoint = TPoint{90, 42};
  R->ClRect = Rect(6, 24, 90, 42);
  R->CaptionRect = Rect(4, 2, 50, 22);
  R->CaptionFontColor = clRed;
  R->CaptionFontHeight = 13;
  R->UpButtonRect = Rect(78, 4, 92, 20);
  R->DownButtonRect = Rect(64, 4, 78, 20);
  R->CheckButtonRect = Rect(52, 4, 64, 20);
  // Hover: the focused cell; pressed: the disabled cell (picture coordinates).
  R->ActiveUpButtonRect = Bounds(4 * 48 + 10, Top + 4, 14, 16);
  R->ActiveDownButtonRect = Bounds(4 * 48 + 24, Top + 4, 14, 16);
  R->ActiveCheckButtonRect = Bounds(4 * 48 + 12, Top + 4, 12, 16);
  R->DownUpButtonRect = Bounds(3 * 48 + 10, Top + 4, 14, 16);
  R->DownDownButtonRect = TRect{};  // falls back to the hover picture
  R->DownCheckButtonRect = Bounds(3 * 48 + 12, Top + 4, 12, 16);
  return R;
}
