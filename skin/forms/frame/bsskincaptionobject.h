// The caption of a skinned form: the form's caption text in the skin's caption font with its light,
// shadow, glow or reflection copies, an optional picture behind the text, an activation animation
// and a morph between the inactive and active caption, and the form's quick buttons at its left end.
#pragma once

#include "platform/ui/stdctrls/textalign.h"
#include "skin/forms/frame/bsskinobjects.h"

class TbsSkinPopupMenu;
class TbsQuickButtonItem;
class TbsDataSkinButtonControl;

class TbsSkinCaptionObject : public TbsActiveSkinObject {
 public:
  // AData must be a TbsDataSkinCaption.
  TbsSkinCaptionObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData);
  String ClassName() const override { return "TbsSkinCaptionObject"; }

  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;
  void MouseEnter() override;
  void MouseLeave() override;

  bool EnableAnimation();
  void TestActiveQuickButton(Integer X, Integer Y);
  void RedrawQuickButtons();
  void PopupQuickButtonMenu(const TRect& R, TbsSkinPopupMenu* Menu);

  Integer ActiveQuickButton = -1;
  Integer OldActiveQuickButton = -1;
  Integer MouseCaptureQuickButton = -1;
  Integer PopupMenuQuickButton = -1;
  bool FDown = false;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor ShadowColor = 0;
  TColor ActiveShadowColor = 0;
  bool Shadow = false;
  TColor LightColor = 0;
  TColor ActiveLightColor = 0;
  bool Light = false;
  TAlignment Alignment = taLeftJustify;
  TRect TextRct;
  TRect FrameRect;
  TRect ActiveFrameRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  TRect FrameTextRect;
  bool StretchEffect = false;
  bool FullFrame = false;
  Integer FIncTime = 0;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  Integer CurrentFrame = 0;
  bool InActiveAnimation = false;
  bool VistaGlowEffect = false;
  bool VistaGlowInActiveEffect = false;
  bool GlowEffect = false;
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
  Integer QuickButtonAlphaMaskPictureIndex = -1;

 private:
  // Any quick button items; HasQuickButtons also needs the image list.
  bool AnyQuickButtons() const;
  bool HasQuickButtons() const;
  void ApplyFontRule(TCanvas* Cnvs, TColor C);
  String CaptionString();
  // One copy of the text at (X, Y) in Color; the font colour is restored.
  void DrawTextCopy(TCanvas* Cnvs, const String& S, Integer X, Integer Y, TColor Color);
  // The caption text into TR (object coordinates) with the object's origin at (X0, Y0) of Cnvs;
  // DrawCanvas is the canvas Draw was given (an OnCaptionPaint handler gets it).
  void DrawCaptionText(TCanvas* Cnvs, TCanvas* DrawCanvas, const TRect& TR, Integer X0, Integer Y0,
                       bool AActive);
  void ComposeCaption(TBitmap* Bitmap, const TRect& Src, TBitmap* P);
  // The active or inactive caption image with its text.
  void CaptionImage(TBitmap* B, TCanvas* DrawCanvas, const TRect& TR, bool AActive);
  void ApplyInActiveEffect(TBitmap* B);
  TRect AnimationFrameRect() const;
  TbsDataSkinButtonControl* QuickButtonElement() const;
  TRect DividerSource() const;
  void DrawQuickButtons(TCanvas* Cnvs);
  void DrawQuickButton(TCanvas* Cnvs, TbsQuickButtonItem* Item);
  // The layered-border path: the same parts drawn into a 32-bit image without losing its alpha.
  void DrawAlphaQuickButtons(TbsBitmap* Target, Integer X, Integer Y);
  void DrawAlphaText(TbsBitmap* Target, const TRect& TR);
};
