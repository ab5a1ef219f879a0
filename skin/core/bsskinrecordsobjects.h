// Object element records: the parts of the form frame and of the menus that are not controls (caption,
// caption buttons, animated and plain frame parts, popup and main menu items, main menu bar buttons).
// Each reads and writes its own section, named as its IDName; buttons also keep alpha images cut from
// the skin's pictures for forms with a full layered border.
#pragma once

#include <memory>

#include "platform/rtl/inifiles.h"
#include "skin/core/bsbitmap.h"
#include "skin/core/bsskinvalues.h"

class TbsDataSkinLayerFrame;

class TbsDataSkinObject : public TObject {
 public:
  explicit TbsDataSkinObject(const String& AIDName) : IDName(AIDName) {}
  String ClassName() const override { return "TbsDataSkinObject"; }

  // Every field the class reads is overwritten, with the key's value or its missing value.
  virtual void LoadFromFile(TCustomIniFile* IniFile);
  // Erases the section named IDName and writes every key in reading order.
  virtual void SaveToFile(TCustomIniFile* IniFile);
  // Prepares the alpha images from the skin's numbered pictures (a TList of TBitmap) once the skin's
  // layered frame has been read; the base has none.
  virtual void InitAlphaImages(TList* ActivePictures, const TbsDataSkinLayerFrame* LayerFrame);

  String IDName;
  String Hint;
  // SkinRect's look comes from picture ActivePictureIndex instead of the form-frame picture.
  bool SkinRectInAPicture = false;
  TRect SkinRect;
  TRect ActiveSkinRect;
  Integer ActivePictureIndex = -1;
  Integer ActiveMaskPictureIndex = -1;
  TRect InActiveSkinRect;
  bool Morphing = false;
  TbsMorphKind MorphKind = mkDefault;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0;
  Integer GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;
};

// "userobject": a plain frame part; only its SkinRect is read and written.
class TbsDataUserObject : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  String ClassName() const override { return "TbsDataUserObject"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;
};

// "button": a frame button.
class TbsDataSkinButton : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  String ClassName() const override { return "TbsDataSkinButton"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;
  // With a full layered border: the normal, active, down and inactive looks; otherwise all four freed.
  void InitAlphaImages(TList* ActivePictures, const TbsDataSkinLayerFrame* LayerFrame) override;
  // Image := Rect of picture ActivePictureIndex, with alpha from mask picture MaskIndex (premultiplied)
  // or 255 when there is no such mask. Left empty for an empty Rect or a missing picture.
  void InitAlphaImage(TList* ActivePictures, std::unique_ptr<TbsBitmap>& Image, Integer MaskIndex,
                      const TRect& Rect);

  TRect DownRect;
  TRect DisableSkinRect;
  Integer AlphaMaskPictureIndex = -1;
  Integer AlphaMaskActivePictureIndex = -1;
  Integer AlphaMaskInActivePictureIndex = -1;
  std::unique_ptr<TbsBitmap> FAlphaNormalImage;
  std::unique_ptr<TbsBitmap> FAlphaActiveImage;
  std::unique_ptr<TbsBitmap> FAlphaDownImage;
  std::unique_ptr<TbsBitmap> FAlphaInActiveImage;

 protected:
  static bool HasFullLayerFrame(const TbsDataSkinLayerFrame* LayerFrame);
};

// "stdbutton": a caption button with a command and a second (restore) look.
class TbsDataSkinStdButton : public TbsDataSkinButton {
 public:
  using TbsDataSkinButton::TbsDataSkinButton;
  String ClassName() const override { return "TbsDataSkinStdButton"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;
  // The button images, then the restore images under the same condition.
  void InitAlphaImages(TList* ActivePictures, const TbsDataSkinLayerFrame* LayerFrame) override;

  TbsStdCommand Command = cmClose;
  String RestoreHint;
  TRect RestoreRect;
  TRect RestoreActiveRect;
  TRect RestoreDownRect;
  TRect RestoreInActiveRect;
  std::unique_ptr<TbsBitmap> FAlphaRestoreNormalImage;
  std::unique_ptr<TbsBitmap> FAlphaRestoreActiveImage;
  std::unique_ptr<TbsBitmap> FAlphaRestoreDownImage;
  std::unique_ptr<TbsBitmap> FAlphaInActiveRestoreImage;
};

// "mainmenubarbutton": a button of the main menu bar.
class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
 public:
  using TbsDataSkinStdButton::TbsDataSkinStdButton;
  String ClassName() const override { return "TbsDataSkinMainMenuBarButton"; }
};

// "animate": an animated frame part; never morphs.
class TbsDataSkinAnimate : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  String ClassName() const override { return "TbsDataSkinAnimate"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  Integer CountFrames = 0;
  bool Cycle = false;
  bool ButtonStyle = false;
  // Milliseconds per frame.
  Integer TimerInterval = 0;
  TbsStdCommand Command = cmClose;
  TRect DownSkinRect;
  String RestoreHint;
  TRect RestoreRect;
  TRect RestoreActiveRect;
  TRect RestoreDownRect;
  TRect RestoreInActiveRect;
};

// "menuitem": the look of a popup menu item. An empty active check, radio or arrow image reads as the
// normal one.
class TbsDataSkinMenuItem : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  String ClassName() const override { return "TbsDataSkinMenuItem"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect DividerRect;
  Integer DividerLO = 0;
  Integer DividerRO = 0;
  Integer ItemLO = 0;
  Integer ItemRO = 0;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor UnEnabledFontColor = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TRect TextRct;
  TRect ImageRct;
  bool UseImageColor = false;
  TColor ImageColor = 0;
  TColor ActiveImageColor = 0;
  bool StretchEffect = false;
  bool DividerStretchEffect = false;
  bool InActiveStretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
  bool InActiveTransparent = false;
  TRect CheckImageRect;
  TRect ActiveCheckImageRect;
  TRect RadioImageRect;
  TRect ActiveRadioImageRect;
  TRect ArrowImageRect;
  TRect ActiveArrowImageRect;
};

// The look of a main menu bar item.
class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  String ClassName() const override { return "TbsDataSkinMainMenuItem"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect DownRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DownFontColor = 0;
  TColor UnEnabledFontColor = 0;
  TRect TextRct;
  Integer ItemLO = 0;
  Integer ItemRO = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
};

// "mainmenubaritem".
class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
 public:
  using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
  String ClassName() const override { return "TbsDataSkinMainMenuBarItem"; }
};

// "caption": the caption text and its frame.
class TbsDataSkinCaption : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  String ClassName() const override { return "TbsDataSkinCaption"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor ShadowColor = 0;
  TColor ActiveShadowColor = 0;
  bool Shadow = false;
  TAlignment Alignment = taLeftJustify;
  TRect TextRct;
  TRect FrameRect;
  TRect ActiveFrameRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  TRect FrameTextRect;
  bool Light = false;
  TColor LightColor = 0;
  TColor ActiveLightColor = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
  bool FullFrame = false;
  bool GlowEffect = false;
  bool VistaGlowEffect = false;
  bool VistaGlowInActiveEffect = false;
  bool GlowInActiveEffect = false;
  Integer GlowSize = 0;
  TColor GlowColor = 0;
  TColor GlowActiveColor = 0;
  Integer GlowOffset = 0;
  bool ReflectionEffect = false;
  TColor ReflectionColor = 0;
  TColor ReflectionActiveColor = 0;
  Integer ReflectionOffset = 0;
  TRect DividerRect;
  TRect InActiveDividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0;
  Integer QuickButtonAlphaMaskPictureIndex = 0;
};
