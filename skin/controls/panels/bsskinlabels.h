// Skinned labels: windowless, transparent, taking only their font (name, style, height, colour) from the
// skin's "stdlabel" element. TbsSkinTextLabel shows a list of lines and sizes itself to them.
#pragma once

#include <memory>

#include "platform/rtl/lists.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/stdctrls/textalign.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

// What both labels take from the skin: the element's font, chosen over the control's as the flags say.
struct TbsLabelSkinFont {
  Integer FIndex = -1;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;

  // Resolves SkinDataName in SkinData and copies the font of a "stdlabel" element.
  void GetSkinData(TbsSkinData* SkinData, const String& SkinDataName);
  // The font to draw with: see the labels' properties.
  void ApplyTo(TCanvas* Canvas, TbsSkinData* SkinData, TFont* DefaultFont, TFont* Font, bool UseSkinFont,
               bool UseSkinColor) const;
  // Draws Text in R with Flags; a disabled label is embossed (highlight one pixel down-right, then
  // shadow), in the skin's colours when an element is resolved.
  void DrawText(TCanvas* Canvas, TbsSkinData* SkinData, const String& Text, TRect R, UINT Flags, bool Enabled,
                bool Ellipsis) const;
};

class TbsSkinTextLabel : public TGraphicControl, public IbsSkinChangeable {
 public:
  explicit TbsSkinTextLabel(TComponent* AOwner);
  ~TbsSkinTextLabel() override;
  String ClassName() const override { return "TbsSkinTextLabel"; }

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

  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  Integer SkinIndex() const { return FSkin.FIndex; }
  void GetSkinData() { FSkin.GetSkinData(FSD, FSkinDataName); }
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override { FSkin.FIndex = -1; }

 protected:
  // The lines joined by line breaks, with a break after the last.
  virtual void GetLabelText(String& S);
  virtual void AdjustBounds();
  void DrawLabelText(TRect& R, UINT Flags);
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMFontChanged(TMessage& Message) override;

  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  bool FUseSkinColor = true;
  std::unique_ptr<TStringList> FLines;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  TbsLabelSkinFont FSkin;

 private:
  UINT alignmentFlags() const;
  Integer lineHeight(TCanvas* C);
};
