// The skinned standard label: the class library's label drawn in the skin's "stdlabel" font, with an
// ellipsis option; transparent, windowless.
#pragma once

#include <memory>

#include "platform/ui/stdctrls/label.h"
#include "skin/controls/panels/bsskinlabels.h"

class TbsSkinStdLabel : public TCustomLabel, public IbsSkinChangeable {
 public:
  explicit TbsSkinStdLabel(TComponent* AOwner);
  ~TbsSkinStdLabel() override;
  String ClassName() const override { return "TbsSkinStdLabel"; }

  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
  TbsEllipsType EllipsType() const { return FEllipsType; }
  void SetEllipsType(TbsEllipsType Value);

  Integer SkinIndex() const { return FSkin.FIndex; }
  void GetSkinData() { FSkin.GetSkinData(FSD, FSkinDataName); }
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override { FSkin.FIndex = -1; }
  // Draws AText as the label would onto C with the label's top-left at (X, Y).
  void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);

 protected:
  void DoDrawText(TRect& Rect, UINT Flags) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TbsEllipsType FEllipsType = bsetNone;
  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  bool FUseSkinColor = true;
  TbsLabelSkinFont FSkin;

 private:
  UINT ellipsisFlag() const;
  void drawOn(TCanvas* C, const String& Text, TRect& R, UINT Flags);
};
