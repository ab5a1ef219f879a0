// The skinned push button: state pictures (normal, hovered, pressed, disabled, focused) from the
// "button" element, a hover cross-fade on a 20 ms clock, a frame animation, a glow frame, glyphs and
// image-list images with the caption; the mouse, keyboard and focus rules of a dialog button, with
// auto-repeat, checked and grouped modes.
#pragma once

#include <memory>

#include "skin/controls/base/bsskincontrol.h"
#include "skin/controls/buttons/bsbuttoneffects.h"
#include "skin/controls/buttons/bsbuttonpress.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bslayered.h"
#include "skin/core/bsskinvalues.h"

class TbsSkinImagesMenu;

using TbsButtonPaintEvent = std::function<void(TObject* Sender, TCanvas* Cnvs, const TRect& R, bool ADown,
                                               bool AMouseIn, bool& DrawDefault)>;

class TbsSkinButton : public TbsSkinCustomControl, public TbsButtonElementLook {
 public:
  friend class TbsButtonPressSteps<TbsSkinButton>;
  explicit TbsSkinButton(TComponent* AOwner);
  ~TbsSkinButton() override;
  String ClassName() const override { return "TbsSkinButton"; }

  // ---- published ----
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool AlwaysShowLayeredFrame() const { return FAlwaysShowGlowFrame; }
  void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowGlowFrame = Value; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  bool RepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(bool Value) { FRepeatMode = Value; }
  Integer RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(Integer Value) { FRepeatInterval = Value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
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
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool SpaceSupport() const { return FSpaceSupport; }
  // An images menu whose selected entry the button shows (its image, and its caption when asked).
  TbsSkinImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
  virtual void SetSkinImagesMenu(TbsSkinImagesMenu* Value);
  bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
  void SetUseImagesMenuImage(bool Value) { FUseImagesMenuImage = Value; }
  bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
  void SetUseImagesMenuCaption(bool Value) { FUseImagesMenuCaption = Value; }
  TbsButtonPaintEvent OnPaint;

  // ---- operations ----
  void GetSkinData() override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  // The click: modal result to the form (focusable buttons), then OnClick.
  virtual void ButtonClick();
  void Click() override;
  // Back to the idle look (after the glyph was replaced).
  void RefreshButton();
  void RaiseGroupButtons();

  // ---- state (read by tests and descendants) ----
  bool MouseIn() const { return FMouseIn; }
  bool Active() const { return FActive; }
  Double MorphKf() const { return FEffects.MorphKf; }
  bool MorphRunning() const { return FEffects.MorphRunning(); }
  bool RepeatRunning() const { return FEffects.RepeatRunning(); }
  Integer AnimateFrame() const { return FEffects.CurrentFrame; }
  bool GlowShown() const { return FLayerManager->IsVisible; }

  // Copied from the element, beside what every button copies.
  TRect FocusedSkinRect{};
  bool ShowFocus = false;
  Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0,
          GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;

 protected:
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap*) override {}
  void CheckParentBackground() override;
  virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
  void CreateStretchedButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // ---- input ----
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

  // ---- state helpers ----
  bool effectsEnabled() const;
  bool morphingEnabled() const { return Morphing && effectsEnabled(); }
  bool IsFocused();
  bool pressedLook(bool WithDownState);
  Integer GetGlyphNum(bool ADown, bool AMouseIn) const { return FGlyph.GlyphNum(ADown, AMouseIn, Enabled()); }
  bool canAnimate() const;

  void StartMorphOrRepaint();
  void ShowLayer();
  void HideLayer();

  bool FTransparent = false;
  bool FCheckedMode = false;
  bool FStopMouseUp = false;
  bool FDownState = false;
  bool FAlwaysShowGlowFrame = false;
  TbsLayerManager* FLayerManager = nullptr;  // owned through the component tree
  bool FSpaceSupport = true;
  bool FUseSkinFontColor = true;
  bool FUseSkinSize = true;
  bool FRepeatMode = false;
  Integer FRepeatInterval = 100;
  bool FActive = false;
  bool FAllowAllUp = false, FAllowAllUpCheck = false;
  bool FDefault = false, FCancel = false;
  TModalResult FModalResult = 0;
  bool FClicksDisabled = false;
  bool FCanFocused = true;
  bool FDown = false, FMouseIn = false, FMouseDown = false;
  Integer FGroupIndex = 0;
  TbsButtonGlyph FGlyph;
  TbsButtonEffects FEffects{effectsHost()};
  TCustomImageList* FImageList = nullptr;
  Integer FImageIndex = -1;
  TbsSkinImagesMenu* FSkinImagesMenu = nullptr;
  bool FUseImagesMenuImage = false;
  bool FUseImagesMenuCaption = false;
  // Cleared when the button is destroyed, so code after a handler that freed it can tell.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

 protected:
  // The content (images-menu entry, image-list image or glyph with the caption) laid out in R.
  void drawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn);

 private:
  // The flat default face: pressed, hot (hovered or focused) or normal colours with a one-pixel frame.
  void drawDefaultFace(TCanvas* C, const TRect& R, bool ADown, bool AHot);
  TColor stateFontColor(bool ADown, bool AMouseIn) const;
  bool paintEvent(TCanvas* C, bool ADown, bool AMouseIn);
  TbsButtonEffects::THost effectsHost();
};
