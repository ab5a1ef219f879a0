// The bases of every windowed skinned control. TbsSkinControl finds its element in the skin by name and
// paints through one off-screen bitmap (the background is never erased); TbsSkinCustomControl adds the
// element's slice geometry, the size rules, the window region cut from the element's mask and the
// border-strip painting of panels that fill their client part themselves.
#pragma once

#include <memory>

#include "skin/controls/base/bsskincontrolbase.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bsmessages.h"

class TbsSkinControl : public TbsSkinControlBase<TCustomControl> {
 public:
  explicit TbsSkinControl(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinControl"; }

  virtual void SetSkinDataName(const String& Value);
  virtual void AfterChangeSkinData() {}
  // Sends WM_CHECKPARENTBG to every child control.
  void CheckControlsBackground();

  // True only while the control handles WM_PAINT.
  bool FromWMPaint = false;

 protected:
  virtual void CheckParentBackground() {}

  void Dispatch(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

  // The region last handed to the window; the window owns it.
  HRGN FRgn = nullptr;
};

class TbsSkinCustomControl : public TbsSkinCustomControlBase<TbsSkinControl> {
 public:
  explicit TbsSkinCustomControl(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinCustomControl"; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  bool ForcebackGround() const { return FForceBackground; }
  void SetForcebackGround(bool Value) { FForceBackground = Value; }
  bool DrawbackGround() const { return FDrawbackground; }
  void SetDrawbackGround(bool Value) { FDrawbackground = Value; }
  // Composes an image of the control's size from R of Source; draws the default look instead when the
  // element cannot be drawn from R (no picture, R outside it, slices outside R).
  void CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R);

  // The element's mask; not owned.
  TBitmap* MaskPicture = nullptr;

 protected:
  void CreateControlSkinImage(TBitmap* B) override;
  virtual void SetControlRegion();
  void Paint() override;

  bool FForceBackground = false;
  bool FDrawbackground = true;

 private:
  void paintBorderStrips();
};
