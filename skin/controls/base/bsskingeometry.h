// The slice geometry that windowed and windowless skinned controls share: the element's corner points
// and client rectangle, the resize mode that follows from them, the size rule, the mapping of element
// parts to the control's size and the composition of an image for that size.
#pragma once

#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsskinrecordsbase.h"

class TbsSkinGeometry {
 public:
  // Corner points and client rectangle, relative to the element's top-left corner.
  TPoint LTPt{}, RTPt{}, LBPt{}, RBPt{};
  // The element in its picture (the normal state).
  TRect SkinRect{};
  TRect ClRect{};
  // The same for the control's current size.
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewClRect{};
  // The skin picture that holds the element; not owned.
  TBitmap* Picture = nullptr;
  // -1 no image, 0 fixed size, 1 nine-slice, 2 horizontal three-slice, 3 vertical three-slice.
  Integer ResizeMode = 0;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;

  // Copies the geometry fields of the record (not the pictures) and sets ResizeMode.
  void CopyGeometry(const TbsDataSkinCustomControl* Record);
  Integer GetResizeMode() const;
  // The size rule: the element decides the size it can take and the new geometry follows.
  // Resolved: an element was found (mode 0 does nothing without one).
  void CalcGeometry(Integer& AWidth, Integer& AHeight, bool Resolved);
  // A rectangle in element coordinates mapped to a control of AWidth x AHeight.
  void GetNewPartRect(const TRect& R, TRect& NewR, Integer AWidth, Integer AHeight) const;
  // True when R of Source can be drawn with this geometry without reading outside the picture: R lies
  // in Source and the points and client rectangle the mode uses lie inside R.
  bool CanCompose(TBitmap* Source, const TRect& R) const;
  // Composes an AWidth x AHeight image from R of Source into Dest; false (Dest untouched) when the
  // element cannot be drawn (see CanCompose) or the mode draws nothing.
  bool ComposeImage(TBitmap* Dest, TBitmap* Source, const TRect& R, Integer AWidth, Integer AHeight) const;

  Integer RealClientWidth() const { return NewClRect.Right - NewClRect.Left; }
  Integer RealClientHeight() const { return NewClRect.Bottom - NewClRect.Top; }
  Integer RealClientLeft() const { return NewClRect.Left; }
  Integer RealClientTop() const { return NewClRect.Top; }
};

// A skin picture by index, or null when the index is -1 or past the end of the skin's pictures.
class TbsSkinData;
TBitmap* SkinPictureAt(TbsSkinData* SkinData, Integer Index);
// The named element when the skin is loaded and the element is a button's; null otherwise.
class TbsDataSkinButtonControl;
TbsDataSkinButtonControl* SkinButtonElement(TbsSkinData* SkinData, const String& Name);
// The button element's face at AW x AH in the state asked for (down wins over active; a missing state
// picture falls back to the next lower one), corners and client growing with the size; Out is left
// as it was when the element has no picture for it. Gives the state's text colour.
TColor ComposeButtonFace(TbsSkinData* SkinData, TbsDataSkinButtonControl* E, bool ADown, bool AActive,
                         Integer AW, Integer AH, TBitmap* Out);

// A parent that centres its skinned children vertically inside its skin client area (a tool bar whose
// AdjustControls is on).
class IbsAdjustingParent {
 public:
  virtual bool AdjustControls() const = 0;
  virtual TRect GetSkinClientRect() = 0;

 protected:
  IbsAdjustingParent() = default;
  ~IbsAdjustingParent() = default;
};
// ATop adjusted for a child of AHeight when Parent centres its children; unchanged otherwise.
class TControl;
Integer AdjustedChildTop(TControl* Parent, Integer ATop, Integer AHeight);
