// Control element records of tab controls, grids, the main menu bar, control bars, the ribbon's
// application menu, gauges, track bars and sliders. Each comment names the type word of the class.
#pragma once

#include "skin/core/bsskinrecordsbase.h"

// "tab": has a slice geometry of its own, read among its other keys; UpDown names an "updown" element.
class TbsDataSkinTabControl : public TbsDataSkinControl {
 public:
  explicit TbsDataSkinTabControl(const String& AIDName) : TbsDataSkinControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinTabControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect TabRect;
  TRect ActiveTabRect;
  TRect FocusTabRect;
  TRect MouseInTabRect;
  TRect ClRect;
  TRect TabsBGRect;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  Integer TabLeftOffset = 0;
  Integer TabRightOffset = 0;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor FocusFontColor = 0;
  TColor MouseInFontColor = 0;
  String UpDown;
  Integer BGPictureIndex = -1;
  bool TabStretchEffect = false;
  bool ShowFocus = false;
  Integer FocusOffsetX = 0;
  Integer FocusOffsetY = 0;
  bool LeftStretch = false;
  bool TopStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;
  TRect CloseButtonRect;
  TRect CloseButtonActiveRect;
  TRect CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0xFF00FF;
  TRect DividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0xFF00FF;
  TRect TabLeftBottomActiveRect;
  TRect TabLeftBottomFocusRect;
  TRect MDICloseRect;
  TRect MDICloseActiveRect;
  TRect MDICloseDownRect;
  TRect MDIRestoreRect;
  TRect MDIRestoreActiveRect;
  TRect MDIRestoreDownRect;
  TRect MDIMinRect;
  TRect MDIMinActiveRect;
  TRect MDIMinDownRect;
  bool MDIButtonsTransparent = false;
  TColor MDIButtonsTransparentColor = 0;
};

// "grid"
class TbsDataSkinGridControl : public TbsDataSkinControl {
 public:
  explicit TbsDataSkinGridControl(const String& AIDName) : TbsDataSkinControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinGridControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect FixedCellRect;
  TRect SelectCellRect;
  TRect FocusCellRect;
  Integer FixedCellLeftOffset = 0;
  Integer FixedCellRightOffset = 0;
  TRect FixedCellTextRect;
  Integer CellLeftOffset = 0;
  Integer CellRightOffset = 0;
  TRect CellTextRect;
  TColor LinesColor = 0;
  TColor BGColor = 0;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor SelectFontColor = 0;
  TColor FocusFontColor = 0;
  String FixedFontName = "Tahoma";
  TFontStyles FixedFontStyle;
  Integer FixedFontHeight = 13;
  TColor FixedFontColor = 0;
  bool FixedCellStretchEffect = false;
  bool CellStretchEffect = false;
  bool ShowFocus = false;
  Integer BGPictureIndex = -1;
};

// "mainmenubar": the strings name object elements (the item and the bar buttons).
class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  String ClassName() const override { return "TbsDataSkinMainMenuBar"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect ItemsRect;
  String MenuBarItem;
  String CloseButton;
  String MaxButton;
  String MinButton;
  String SysMenuButton;
  Integer TrackMarkColor = 0;
  Integer TrackMarkActiveColor = 0;
  bool StretchEffect = false;
  bool ItemTransparent = false;
};

// "controlbar"
class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinControlBar(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinControlBar"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect ItemRect;
  Integer BGPictureIndex = -1;
  TRect HGripRect;
  TRect VGripRect;
  Integer GripOffset1 = 0;
  Integer GripOffset2 = 0;
  bool ItemStretchEffect = false;
  Integer ItemOffset1 = 0;
  Integer ItemOffset2 = 0;
  bool ItemTransparent = false;
  TColor ItemTransparentColor = 0;
  bool GripTransparent = false;
  TColor GripTransparentColor = 0;
};

// "appmenu"
class TbsDataSkinAppMenu : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinAppMenu(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinAppMenu"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  Integer BGPictureIndex = -1;
  bool BGStretchEffect = false;
  Integer BGPagePictureIndex = -1;
  bool BGPageStretchEffect = false;
  TRect ItemRect;
  TRect PageItemRect;
  TRect PageItemActiveRect;
  Integer ItemOffset1 = 0;
  Integer ItemOffset2 = 0;
  Integer PageItemOffset1 = 0;
  Integer PageItemOffset2 = 0;
  Integer PageOffset = 0;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  Integer FontPageHeight = 0;
  TColor FontColor = 0;
  TColor DisabledFontColor = 0;
  TColor FontPageColor = 0;
  TColor ActiveFontColor = 0;
  TColor ActiveFontPageColor = 0;
  TRect GripperRect;
  TColor GripperTransparentColor = 0;
  TRect TopLineRect;
  Integer TopLineOffset1 = 0;
  Integer TopLineOffset2 = 0;
  TRect BackButtonRect;
  TRect BackButtonActiveRect;
  TRect CaptionRect;
  Integer CaptionLeftOffset = 0;
  Integer CaptionTopOffset = 0;
};

// "gauge"
class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinGaugeControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinGaugeControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect ProgressArea;
  TRect ProgressRect;
  bool Vertical = false;
  Integer BeginOffset = 0;
  Integer EndOffset = 0;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  bool ProgressTransparent = false;
  TColor ProgressTransparentColor = 0xFF00FF;
  bool ProgressStretch = false;
  TRect AnimationSkinRect;
  Integer AnimationCountFrames = 0;
  Integer AnimationTimerInterval = 0;
  TRect ProgressAnimationSkinRect;
  Integer ProgressAnimationCountFrames = 0;
  Integer ProgressAnimationTimerInterval = 0;
  Integer AnimationBeginOffset = 0;
  Integer AnimationEndOffset = 0;
};

// "trackbar"
class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinTrackBarControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinTrackBarControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect ActiveSkinRect;
  TRect TrackArea;
  TRect ButtonRect;
  TRect ActiveButtonRect;
  bool Vertical = false;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0xFF00FF;
};

// "slider"
class TbsDataSkinSlider : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  String ClassName() const override { return "TbsDataSkinSlider"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect HRulerRect;
  TRect HThumbRect;
  TRect VRulerRect;
  TRect VThumbRect;
  Integer EdgeSize = 0;
  TColor BGColor = 0;
  TColor PointsColor = 0;
};
