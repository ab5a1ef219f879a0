// The windowless text label: word wrap, the "&" mnemonic that focuses another control, vertical
// layout, transparency and sizing to its text.
#pragma once

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/stdctrls/textalign.h"

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);
  String ClassName() const override { return "TCustomLabel"; }

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // Not transparent: the label fills itself with Color before the text.
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  void SetAutoSize(bool Value) override;
  // The control the mnemonic focuses.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;

  // The text's size, wrapped at NewWidth with WordWrap.
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void AdjustSize() override { AdjustBounds(); }
  virtual String GetLabelText() { return Caption(); }
  // Draws (or with DT_CALCRECT measures into Rect) the label's text on Canvas with Flags.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  // Sizes the label to its text when AutoSize is on; a right-aligned label keeps its right edge.
  virtual void AdjustBounds();

 private:
  void CMDialogChar(TMessage& Message);
  // The text's extent measured on a screen DC (the label may have no window to measure on yet).
  TRect measureText(Integer Width);

  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
 public:
  using TCustomLabel::TCustomLabel;
  String ClassName() const override { return "TLabel"; }
};
