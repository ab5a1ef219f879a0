// Two windowless controls that keep the platform's behaviour and take only their look from the skin:
// the splitter draws a three-slice bar with a centred gripper from "hsplitter" or "vsplitter" and takes
// its thickness from the element; the bevel draws the platform shapes in the skin's light and dark
// colours and adds a divider mode, a centred two-pixel groove or ridge.
#pragma once

#include <memory>

#include "platform/ui/extctrls/bevel.h"
#include "platform/ui/extctrls/splitter.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

class TbsSkinSplitter : public TSplitter, public IbsSkinChangeable {
 public:
  explicit TbsSkinSplitter(TComponent* AOwner);
  ~TbsSkinSplitter() override;
  String ClassName() const override { return "TbsSkinSplitter"; }

  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  Integer DefaultSize() const { return FDefaultSize; }
  void SetDefaultSize(Integer Value) { FDefaultSize = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  Integer SkinIndex() const { return FIndex; }

  void GetSkinData();
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override { FIndex = -1; }

  // Copied from the element.
  TPoint LTPt{}, RTPt{}, LBPt{};
  TRect SkinRect{};
  bool StretchEffect = false;
  TBitmap* FSkinPicture = nullptr;  // not owned
  TRect GripperRect{};
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;

 protected:
  void Paint() override;
  void RequestAlign() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "vsplitter";
  Integer FDefaultSize = 10;
  bool FTransparent = false;
  Integer FIndex = -1;
};

class TbsSkinBevel : public TBevel, public IbsSkinChangeable {
 public:
  explicit TbsSkinBevel(TComponent* AOwner);
  ~TbsSkinBevel() override;
  String ClassName() const override { return "TbsSkinBevel"; }

  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  bool DividerMode() const { return FDividerMode; }
  void SetDividerMode(bool Value);
  Integer SkinIndex() const { return FIndex; }

  void ChangeSkinData() override;
  void BeforeChangeSkinData() override { FIndex = -1; }
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TColor LightColor = clBtnHighlight;
  TColor DarkColor = clBtnShadow;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "bevel";
  bool FDividerMode = false;
  Integer FIndex = -1;
};
