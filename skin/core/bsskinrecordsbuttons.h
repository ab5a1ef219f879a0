// Control element records of buttons and menu buttons, check and radio boxes, panels and expanding
// panels, labels, bevels and splitters. Each comment names the type word of the class.
#pragma once

#include "skin/core/bsskinrecordsbase.h"

// "button": push and speed buttons; the state images share SkinRect's size and geometry.
class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinButtonControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinButtonControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DownFontColor = 0;
  TColor DisabledFontColor = 0;
  TRect ActiveSkinRect;
  TRect DownSkinRect;
  TRect DisabledSkinRect;
  TRect FocusedSkinRect;
  bool Morphing = false;
  TbsMorphKind MorphKind = mkDefault;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool ShowFocus = false;
  TRect MenuMarkerFlatRect;
  TRect MenuMarkerRect;
  TRect MenuMarkerActiveRect;
  TRect MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetLeft = 0;
  Integer GlowLayerOffsetRight = 0;
  Integer GlowLayerOffsetTop = 0;
  Integer GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0;
  Integer GlowLayerShowOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;
};

// "menubutton": a button with a separate drop-down part (TrackButtonRect, inside the image).
class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
 public:
  using TbsDataSkinButtonControl::TbsDataSkinButtonControl;
  String ClassName() const override { return "TbsDataSkinMenuButtonControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect TrackButtonRect;
};

// "checkradio": check boxes and radio buttons alike.
class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinCheckRadioControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinCheckRadioControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor UnEnabledFontColor = 0;
  TRect ActiveSkinRect;
  TRect CheckImageArea;
  TRect TextArea;
  TRect CheckImageRect;
  TRect UnCheckImageRect;
  TRect ActiveCheckImageRect;
  TRect ActiveUnCheckImageRect;
  TRect UnEnabledCheckImageRect;
  TRect UnEnabledUnCheckImageRect;
  TRect GrayedCheckImageRect;
  TRect ActiveGrayedCheckImageRect;
  bool Morphing = false;
  TbsMorphKind MorphKind = mkDefault;
  TColor FrameFontColor = 0;
};

// "panel": panels, group boxes, tool and status bars.
class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinPanelControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinPanelControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect CaptionRect;
  TAlignment Alignment = taCenter;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  Integer BGPictureIndex = -1;
  TRect CheckImageRect;
  TRect UnCheckImageRect;
  TRect MarkFrameRect;
  TRect FrameRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  TRect FrameTextRect;
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0xFF00FF;
  TRect ButtonRect;
  TRect ButtonActiveRect;
  TRect ButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0xFF00FF;
};

// "expanel": a panel that rolls up horizontally or vertically.
class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinExPanelControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinExPanelControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect RollHSkinRect;
  TRect RollVSkinRect;
  Integer RollLeftOffset = 0;
  Integer RollRightOffset = 0;
  Integer RollTopOffset = 0;
  Integer RollBottomOffset = 0;
  TRect RollVCaptionRect;
  TRect RollHCaptionRect;
  TRect CloseButtonRect;
  TRect CloseButtonActiveRect;
  TRect CloseButtonDownRect;
  TRect HRollButtonRect;
  TRect HRollButtonActiveRect;
  TRect HRollButtonDownRect;
  TRect HRestoreButtonRect;
  TRect HRestoreButtonActiveRect;
  TRect HRestoreButtonDownRect;
  TRect VRollButtonRect;
  TRect VRollButtonActiveRect;
  TRect VRollButtonDownRect;
  TRect VRestoreButtonRect;
  TRect VRestoreButtonActiveRect;
  TRect VRestoreButtonDownRect;
  TRect CaptionRect;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  bool ButtonsTransparent = false;
  TColor ButtonsTransparentColor = 0xFF00FF;
};

// "label": a label with an image and a font.
class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinLabelControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinLabelControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
};

// "stdlabel": a plain text label; ActiveFontColor is its colour under the mouse.
class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
 public:
  explicit TbsDataSkinStdLabelControl(const String& AIDName) : TbsDataSkinControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinStdLabelControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0xFF0000;
};

// "bevel": the lit and the shadowed colour of a bevel line.
class TbsDataSkinBevel : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  String ClassName() const override { return "TbsDataSkinBevel"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TColor LightColor = 0;
  TColor DarkColor = 0;
};

// "splitter": a gripper image with its own transparent colour.
class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinSplitterControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinSplitterControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0xFF00FF;
};
