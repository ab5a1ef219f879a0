// The windowless twins of the skinned control bases: the same element lookup, geometry, size rules and
// skin-change operations for controls that paint on their parent's surface. They have no window
// region (a mask in the element is ignored) and always cover their whole rectangle.
#pragma once

#include <memory>

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

class TbsGraphicSkinControl : public TGraphicControl, public IbsSkinChangeable {
 public:
  explicit TbsGraphicSkinControl(TComponent* AOwner);
  ~TbsGraphicSkinControl() override;
  String ClassName() const override { return "TbsGraphicSkinControl"; }

  TbsSkinData* SkinData() const override { return FSD; }
  virtual void SetSkinData(TbsSkinData* Value);
  // Stored as given; the new element is taken at the next paint.
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }

  const String& HintTitle() const { return FHintTitle; }
  void SetHintTitle(const String& Value) { FHintTitle = Value; }
  Integer HintImageIndex() const { return FHintImageIndex; }
  void SetHintImageIndex(Integer Value) { FHintImageIndex = Value; }
  TCustomImageList* HintImageList() const { return FHintImageList; }
  void SetHintImageList(TCustomImageList* Value);

  Integer SkinIndex() const { return FIndex; }

  virtual void GetSkinData();
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;

 protected:
  virtual void CreateControlDefaultImage(TBitmap* B) { (void)B; }
  virtual void CreateControlSkinImage(TBitmap* B) { (void)B; }
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool designing() const { return ComponentState().Contains(csDesigning); }

  TbsSkinData* FSD = nullptr;
  String FSkinDataName;
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
  Integer FIndex = -1;
};

class TbsGraphicSkinCustomControl : public TbsGraphicSkinControl, public TbsSkinGeometry {
 public:
  explicit TbsGraphicSkinCustomControl(TComponent* AOwner);
  ~TbsGraphicSkinCustomControl() override;
  String ClassName() const override { return "TbsGraphicSkinCustomControl"; }

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
  TRect RealClientRect() const { return NewClRect; }

  virtual void CalcSize(Integer& AWidth, Integer& AHeight);
  // As the windowed base's: the default look where the element cannot be drawn from R.
  void CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R);
  void GetNewPartRect(const TRect& R, TRect& NewR) const;

 protected:
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  virtual void DefaultFontChanged() {}

  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
};
