// A hyperlink label: transparent, windowless, its text underlined in the skin's "stdlabel" font (or its
// own default font), recoloured or glowing while the pointer is over it; a click opens its URL through
// the desktop's opener, as one argument and never through a shell.
#pragma once

#include <memory>

#include "platform/ui/stdctrls/label.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

class TbsSkinLinkLabel : public TCustomLabel, public IbsSkinChangeable {
 public:
  explicit TbsSkinLinkLabel(TComponent* AOwner);
  ~TbsSkinLinkLabel() override;
  String ClassName() const override { return "TbsSkinLinkLabel"; }

  bool GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(bool Value) { FGlowEffect = Value; }
  Integer GlowSize() const { return FGlowSize; }
  void SetGlowSize(Integer Value) { FGlowSize = Value; }
  bool UseUnderLine() const { return FUseUnderLine; }
  void SetUseUnderLine(bool Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
  void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
  const String& URL() const { return FURL; }
  void SetURL(const String& Value) { FURL = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }

  Integer SkinIndex() const { return FIndex; }
  bool MouseIn() const { return FMouseIn; }
  void GetSkinData();
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override { FIndex = -1; }
  void Click() override;

  // Copied from the skin element.
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;

 protected:
  void DoDrawText(TRect& Rect, UINT Flags) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  bool designing() const { return ComponentState().Contains(csDesigning); }

  bool FGlowEffect = false;
  Integer FGlowSize = 7;
  bool FMouseIn = false;
  Integer FIndex = -1;
  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  TColor FDefaultActiveFontColor = clBlue;
  String FURL;
  bool FUseUnderLine = true;
};
