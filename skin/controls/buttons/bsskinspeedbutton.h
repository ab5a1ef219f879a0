// The skinned speed button: a windowless tool button drawn from the "toolbutton" element (or flat
// without one). It has the push button's hover cross-fade, frame animation, auto-repeat, checked and
// grouped modes, but no focus; it adds a flat mode (invisible when idle apart from its content), a
// transparent mode, a caption that can be switched off, and images taken from the tool bar it sits on.
#pragma once

#include <memory>

#include "skin/controls/base/bsgraphicskincontrol.h"
#include "skin/controls/buttons/bsbuttoneffects.h"
#include "skin/controls/buttons/bsbuttonpress.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinvalues.h"

class TbsSkinImagesMenu;

class TbsSkinSpeedButton : public TbsGraphicSkinCustomControl, public TbsButtonElementLook {
 public:
  friend class TbsButtonPressSteps<TbsSkinSpeedButton>;
  explicit TbsSkinSpeedButton(TComponent* AOwner);
  ~TbsSkinSpeedButton() override;
  String ClassName() const override { return "TbsSkinSpeedButton"; }

  // ---- published ----
  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  TCustomImageList* ImageList() const { return FButtonImages; }
  void SetImageList(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  Integer WidthWithCaption() const { return FWidthWithCaption; }
  void SetWidthWithCaption(Integer Value) { FWidthWithCaption = Value; }
  Integer WidthWithoutCaption() const { return FWidthWithoutCaption; }
  void SetWidthWithoutCaption(Integer Value) { FWidthWithoutCaption = Value; }
  bool RepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(bool Value) { FRepeatMode = Value; }
  Integer RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(Integer Value) { FRepeatInterval = Value; }
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TBitmap* Glyph() const { return FGlyph.Bitmap.get(); }
  void SetGlyph(TBitmap* Value);
  TbsNumGlyphs NumGlyphs() const { return FGlyph.NumGlyphs; }
  void SetNumGlyphs(TbsNumGlyphs Value);
  Integer Margin() const { return FGlyph.Margin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FGlyph.Spacing; }
  void SetSpacing(Integer Value);
  TbsButtonLayout Layout() const { return FGlyph.Layout; }
  void SetLayout(TbsButtonLayout Value);
  TbsButtonPaintEvent OnPaint;

  // ---- operations ----
  virtual void SetTransparentNoDraw(bool Value);
  virtual void ButtonClick();
  // Back to the idle look (after the pictures were changed).
  void RefreshButton();
  void GetSkinData() override;
  void ChangeSkinData() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  void Loaded() override;

  // ---- state (read by tests and descendants) ----
  bool MouseIn() const { return FMouseIn; }
  bool MenuTracked() const { return FMenuTracked; }
  Double MorphKf() const { return FEffects.MorphKf; }
  bool MorphRunning() const { return FEffects.MorphRunning(); }
  bool RepeatRunning() const { return FEffects.RepeatRunning(); }
  Integer AnimateFrame() const { return FEffects.CurrentFrame; }

 protected:
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap*) override {}
  virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMDialogChar(TMessage& Message);

  // ---- helpers shared with the menu speed button ----
  bool effectsEnabled() const;
  bool morphingEnabled() const { return Morphing && effectsEnabled(); }
  bool downLook() const { return FDown && (FGroupIndex != 0 || FMouseIn); }
  bool pressedLook() const { return FMenuTracked || downLook(); }
  bool canAnimate() const;
  String captionText() const { return FShowCaption ? Caption() : String(); }
  // The skin's string-table character set, else the default font's.
  void applyCharset(TCanvas* C) const;
  // The content (images-menu item, tool-bar image, image-list image or glyph) laid out in R; with
  // TransparentLook the tool bar's hot images are never used.
  void drawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn, bool TransparentLook);
  // The drop-down marker picture chosen by state, centred in R.
  void DrawMenuMarker(TCanvas* Cnvs, const TRect& R, bool AActive, bool ADown, bool AFlat);
  // The state image's font and colour (element font, or the default font when not used).
  void applyStateFont(TCanvas* C, bool ADown, bool AMouseIn) const;
  bool paintEvent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn);
  // The speed button's painting, through the (overridable) state images and default look.
  void paintButton();
  void paintTransparentIdle();
  // What the parent painted under the button, as the background of an image with see-through parts.
  void grabBackground(TBitmap* B);

  void StartMorphOrRepaint();
  // A flat button runs no frame animation.
  void StartAnimate(bool AInc);
  void RaiseGroupButtons();

  bool FStopDraw = false;
  bool FCheckedMode = false;
  bool FStopMouseUp = false;
  bool FMenuTracked = false;
  TbsSkinImagesMenu* FSkinImagesMenu = nullptr;
  bool FUseImagesMenuImage = false;
  bool FUseImagesMenuCaption = false;
  bool FDrawColorMarker = false;
  TColor FColorMarkerValue = 0;
  bool FUseSkinSize = true;
  bool FUseSkinFontColor = true;
  TCustomImageList* FButtonImages = nullptr;
  Integer FImageIndex = 0;
  bool FRepeatMode = false;
  Integer FRepeatInterval = 100;
  bool FFlat = false;
  bool FAllowAllUp = false, FAllowAllUpCheck = false;
  bool FDown = false, FMouseIn = false, FMouseDown = false;
  Integer FGroupIndex = 0;
  TbsButtonGlyph FGlyph;
  TbsButtonEffects FEffects{effectsHost()};
  bool FShowCaption = true;
  Integer FWidthWithCaption = 0, FWidthWithoutCaption = 0;
  // Cleared when the button is destroyed, so code after a handler that freed it can tell.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

 private:
  TbsButtonEffects::THost effectsHost();
  void drawDefaultFace(TCanvas* C, const TRect& R);
};
