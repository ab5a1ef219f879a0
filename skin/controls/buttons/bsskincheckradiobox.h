// The skinned check box and radio button in one control: three states, radio groups among siblings, an
// optional image-list image beside the caption, word wrap, and two looks. The flat look (the default)
// draws the check picture and the caption over the parent's background; the framed look draws the
// whole element picture with a hover cross-fade on a 20 ms clock.
#pragma once

#include <memory>

#include "platform/ui/core/timer.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/core/bsskinvalues.h"

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinCheckRadioBox(TComponent* AOwner);
  ~TbsSkinCheckRadioBox() override;
  String ClassName() const override { return "TbsSkinCheckRadioBox"; }

  // ---- published ----
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Radio() const { return FRadio; }
  void SetRadio(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);

  // ---- operations ----
  // Check box: inverts Checked; radio button: checks it (a checked one stays as it is).
  virtual void Toggle();
  void GetSkinData() override;
  void ChangeSkinData() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  // Draws the control onto C at (X, Y) with AChecked in place of Checked: no hover, focus or cross-fade.
  void PaintSkinTo(TCanvas* C, Integer X, Integer Y, bool AChecked);

  // ---- state (read by tests) ----
  bool MouseIn() const { return FMouseIn; }
  Double MorphKf() const { return FMorphKf; }
  bool MorphRunning() const { return MorphTimer != nullptr; }
  // Where the framed look puts the check picture and the caption for the current size.
  TRect CheckPictureRect() const { return CIRect; }
  TRect CaptionArea() const { return NewTextArea; }

  // Copied from the element.
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
  TRect ActiveSkinRect{}, CheckImageArea{}, TextArea{};
  TRect CheckImageRect{}, UnCheckImageRect{}, ActiveCheckImageRect{}, ActiveUnCheckImageRect{};
  TRect UnEnabledCheckImageRect{}, UnEnabledUnCheckImageRect{};
  TRect GrayedCheckImageRect{}, ActiveGrayedCheckImageRect{};
  bool Morphing = false;
  TbsMorphKind MorphKind = mkDefault;

 protected:
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CheckParentBackground() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // ---- input ----
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMMove(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

  // ---- cross-fade ----
  void StartMorph();
  void StopMorph();
  void StartMorphOrRepaint();
  void MorphTimerProc(TObject* Sender);

 private:
  bool effectsEnabled() const;
  bool morphingEnabled() const { return Morphing && effectsEnabled(); }
  bool isFocused();
  bool hasImage() const;
  void fireClick();
  // The check picture for a state, ready to draw with its bottom-left colour transparent; false when
  // the element's rectangle for it cannot be read from the picture.
  bool checkPicture(TBitmap& Out, TCheckBoxState AState, bool AHovered);
  void drawFlat(TCanvas* C, TCheckBoxState AState, bool AHovered, bool AFocused, bool APaintTo);
  // The box and mark of the look without an element; AFill false leaves the inside unpainted.
  void drawDefaultBox(TCanvas* C, const TRect& Box, TCheckBoxState AState, bool AHovered, bool AFill);
  // The caption (and image) of the flat looks; returns the rectangle the focus frame goes round.
  TRect drawFlatCaption(TCanvas* C, Integer X0, Integer ImageGap, bool AFocused);
  void createFramedImage(TBitmap* B, const TRect& R, bool AActive);
  void drawFramedCheck(TCanvas* C, bool AActive);

  bool FDown = false;
  bool FUseSkinFontColor = true;
  bool FWordWrap = false;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = 0;
  bool FFlat = true;
  bool FClicksDisabled = false;
  bool FCanFocused = true;
  bool FMouseIn = false;
  Integer FGroupIndex = 0;
  bool FChecked = false;
  TRect CIRect{};
  TRect NewTextArea{};
  bool FRadio = false;
  TTimer* MorphTimer = nullptr;
  Double FMorphKf = 0;
  // Cleared when the control is destroyed, so code after a handler that freed it can tell.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
