// The windowless twins of the skinned control bases: the same element lookup, geometry, size rules and
// skin-change operations for controls that paint on their parent's surface. They have no window
// region (a mask in the element is ignored) and always cover their whole rectangle.
#pragma once

#include <memory>

#include "skin/controls/base/bsskincontrolbase.h"
#include "skin/controls/base/bsskingeometry.h"

class TbsGraphicSkinControl : public TbsSkinControlBase<TGraphicControl> {
 public:
  explicit TbsGraphicSkinControl(TComponent* AOwner);
  String ClassName() const override { return "TbsGraphicSkinControl"; }

  // Stored as given; the new element is taken at the next paint.
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
};

class TbsGraphicSkinCustomControl : public TbsSkinCustomControlBase<TbsGraphicSkinControl> {
 public:
  explicit TbsGraphicSkinCustomControl(TComponent* AOwner);
  String ClassName() const override { return "TbsGraphicSkinCustomControl"; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // As the windowed base's: the default look where the element cannot be drawn from R.
  void CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R);

 protected:
  void CreateControlSkinImage(TBitmap* B) override;
};
