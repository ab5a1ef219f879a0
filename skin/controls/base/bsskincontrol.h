// The bases of every windowed skinned control. TbsSkinControl finds its element in the skin by name and
// paints through one off-screen bitmap (the background is never erased); TbsSkinCustomControl adds the
// element's slice geometry, the size rules, the window region cut from the element's mask and the
// border-strip painting of panels that fill their client part themselves.
#pragma once

#include <memory>

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

class TbsSkinControl : public TCustomControl, public IbsSkinChangeable {
 public:
  explicit TbsSkinControl(TComponent* AOwner);
  ~TbsSkinControl() override;
  String ClassName() const override { return "TbsSkinControl"; }

  TbsSkinData* SkinData() const override { return FSD; }
  virtual void SetSkinData(TbsSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  virtual void SetSkinDataName(const String& Value);

  const String& HintTitle() const { return FHintTitle; }
  void SetHintTitle(const String& Value) { FHintTitle = Value; }
  Integer HintImageIndex() const { return FHintImageIndex; }
  void SetHintImageIndex(Integer Value) { FHintImageIndex = Value; }
  TCustomImageList* HintImageList() const { return FHintImageList; }
  void SetHintImageList(TCustomImageList* Value);

  // Index of the resolved element in the skin's control list; -1 for the default look.
  Integer SkinIndex() const { return FIndex; }

  // Resolves the element (descendants copy their record's fields after the inherited lookup).
  virtual void GetSkinData();
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  virtual void AfterChangeSkinData() {}
  // Sends WM_CHECKPARENTBG to every child control.
  void CheckControlsBackground();

  // True only while the control handles WM_PAINT.
  bool FromWMPaint = false;

 protected:
  virtual void CreateControlDefaultImage(TBitmap* B) { (void)B; }
  virtual void CreateControlSkinImage(TBitmap* B) { (void)B; }
  virtual void CheckParentBackground() {}

  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  bool designing() const { return ComponentState().Contains(csDesigning); }

  TbsSkinData* FSD = nullptr;
  String FSkinDataName;
  // The region last handed to the window; the window owns it.
  HRGN FRgn = nullptr;
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
  Integer FIndex = -1;
};

class TbsSkinCustomControl : public TbsSkinControl, public TbsSkinGeometry {
 public:
  explicit TbsSkinCustomControl(TComponent* AOwner);
  ~TbsSkinCustomControl() override;
  String ClassName() const override { return "TbsSkinCustomControl"; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool ForcebackGround() const { return FForceBackground; }
  void SetForcebackGround(bool Value) { FForceBackground = Value; }
  bool DrawbackGround() const { return FDrawbackground; }
  void SetDrawbackGround(bool Value) { FDrawbackground = Value; }
  TRect RealClientRect() const { return NewClRect; }

  // Applies the size rule to a proposed size and computes the geometry for it.
  virtual void CalcSize(Integer& AWidth, Integer& AHeight);
  // Composes an image of the control's size from R of Source; draws the default look instead when the
  // element cannot be drawn from R (no picture, R outside it, slices outside R).
  void CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R);
  // A rectangle in element coordinates mapped to the control's current size.
  void GetNewPartRect(const TRect& R, TRect& NewR) const;

  // The element's mask; not owned.
  TBitmap* MaskPicture = nullptr;

 protected:
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  virtual void DefaultFontChanged() {}
  virtual void SetControlRegion();
  void Paint() override;
  void OnDefaultFontChange(TObject* Sender);

  bool FForceBackground = false;
  bool FDrawbackground = true;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;

 private:
  void paintBorderStrips();
};
