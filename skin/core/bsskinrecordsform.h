// The skin's once-per-skin records, each over one fixed section: the eight standard colours
// [SKINCOLORS], the popup menu window [POPUPWINDOW], the layered form border [LAYERFRAME] and the hint
// window [HINTWINDOW]. A skin without one of these sections gives every field its missing value.
#pragma once

#include <memory>

#include "platform/rtl/inifiles.h"
#include "skin/core/bsbitmap.h"
#include "skin/core/bsskinvalues.h"

// Colours as the platform encodes them; the defaults are system colours (0xFF0000nn, written as
// negative decimals).
class TbsSkinColors : public TObject {
 public:
  // All eight colours 0 until the first SetColorsToDefault or LoadFromFile.
  TbsSkinColors() = default;
  String ClassName() const override { return "TbsSkinColors"; }

  void LoadFromFile(TCustomIniFile* IniFile);
  // Writes the eight keys without erasing the section first.
  void SaveToFile(TCustomIniFile* IniFile);
  void SetColorsToDefault();

  TColor cBtnFace() const { return FcBtnFace; }
  void SetcBtnFace(TColor Value) { FcBtnFace = Value; }
  TColor cBtnText() const { return FcBtnText; }
  void SetcBtnText(TColor Value) { FcBtnText = Value; }
  TColor cWindow() const { return FcWindow; }
  void SetcWindow(TColor Value) { FcWindow = Value; }
  TColor cWindowText() const { return FcWindowText; }
  void SetcWindowText(TColor Value) { FcWindowText = Value; }
  TColor cHighLight() const { return FcHighLight; }
  void SetcHighLight(TColor Value) { FcHighLight = Value; }
  TColor cHighLightText() const { return FcHighLightText; }
  void SetcHighLightText(TColor Value) { FcHighLightText = Value; }
  TColor cBtnHighLight() const { return FcBtnHighLight; }
  void SetcBtnHighLight(TColor Value) { FcBtnHighLight = Value; }
  TColor cBtnShadow() const { return FcBtnShadow; }
  void SetcBtnShadow(TColor Value) { FcBtnShadow = Value; }

 private:
  TColor FcBtnFace = 0;
  TColor FcBtnText = 0;
  TColor FcWindow = 0;
  TColor FcWindowText = 0;
  TColor FcHighLight = 0;
  TColor FcHighLightText = 0;
  TColor FcBtnHighLight = 0;
  TColor FcBtnShadow = 0;
};

// The popup menu window: its picture cut into nine parts by the corner points, and the item area.
class TbsDataSkinPopupWindow : public TObject {
 public:
  TbsDataSkinPopupWindow() = default;
  String ClassName() const override { return "TbsDataSkinPopupWindow"; }
  void LoadFromFile(TCustomIniFile* IniFile);
  // Erases [POPUPWINDOW] and writes every key.
  void SaveToFile(TCustomIniFile* IniFile);

  Integer WindowPictureIndex = -1;
  Integer MaskPictureIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ItemsRect;
  TColor ScrollMarkerColor = 0;
  TColor ScrollMarkerActiveColor = 0;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;
};

class TbsDataSkinHintWindow : public TObject {
 public:
  TbsDataSkinHintWindow() = default;
  String ClassName() const override { return "TbsDataSkinHintWindow"; }
  void LoadFromFile(TCustomIniFile* IniFile);
  // Erases [HINTWINDOW] and writes every key.
  void SaveToFile(TCustomIniFile* IniFile);

  Integer WindowPictureIndex = -1;
  Integer MaskPictureIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ClRect;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;
};

// The layered border drawn around skinned forms when the skin has one (PictureIndex <> -1).
class TbsDataSkinLayerFrame : public TObject {
 public:
  TbsDataSkinLayerFrame() = default;
  String ClassName() const override { return "TbsDataSkinLayerFrame"; }
  void LoadFromFile(TCustomIniFile* IniFile);
  // Erases [LAYERFRAME] and writes every key.
  void SaveToFile(TCustomIniFile* IniFile);
  // Rebuilds the two source bitmaps from the skin's numbered pictures (a TList of TBitmap): each is its
  // picture with alpha from its mask picture, or none when either index is -1 or past the list. An
  // index below -1 raises EListError.
  void InitAlphaImages(TList* ActivePictures);

  Integer PictureIndex = -1;
  Integer MaskPictureIndex = -1;
  Integer InActivePictureIndex = -1;
  Integer InActiveMaskPictureIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ClRect;
  Integer AlphaBlendValue = 255;
  Integer InActiveAlphaBlendValue = 255;
  TRect BorderRect;
  bool HitTestEnable = false;
  bool FullBorder = false;
  Integer HitTestSize = 0;
  TRect CaptionRect;
  TPoint HitTestLTPoint;
  TPoint HitTestRTPoint;
  TPoint HitTestLBPoint;
  TPoint HitTestRBPoint;
  TRect ButtonsRect;
  TRect SysMenuButtonRect;
  bool FullStretch = false;
  Integer RollUpFormHeight = 0;
  Integer ButtonsTopOffset = 0;
  Integer SysButtonTopOffset = 0;
  Integer BlurMaskPictureIndex = -1;
  TRect IntersectBlurMaskRect;
  TRect ExcludeBlurMaskRect;
  Integer LeftOffset = 0;
  Integer TopOffset = 0;
  Integer WidthOffset = 0;
  Integer HeightOffset = 0;
  std::unique_ptr<TbsBitmap> FSourceBitmap;
  std::unique_ptr<TbsBitmap> FSourceInActiveBitMap;
};
