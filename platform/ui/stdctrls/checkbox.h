// Check boxes and radio buttons: a box (or circle) with a caption; a click, Space or the caption's
// mnemonic toggles it. Radio buttons on the same parent form one group: checking one clears the others.
#pragma once

#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/textalign.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// What the check box and the radio button share: the caption beside the mark and its painting.
class TCheckControl : public TButtonControl {
 public:
  explicit TCheckControl(TComponent* AOwner);
  String ClassName() const override { return "TCheckControl"; }

  // taRightJustify (default): the caption right of the mark; taLeftJustify: left of it.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  // The mark in Box (14 x 14) in the colours given.
  virtual void PaintMark(TCanvas* Canvas, const TRect& Box, TColor Border, TColor Fill, TColor Glyph) = 0;
  // Whether the mark shows its checked (accent) face.
  virtual bool MarkOn() const = 0;
  TRect MarkRect();

 private:
  TAlignment FAlignment = taRightJustify;
};

class TCustomCheckBox : public TCheckControl {
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  String ClassName() const override { return "TCustomCheckBox"; }

  TCheckBoxState State() const { return FState; }
  // A change repaints and runs Click (not while clicks are disabled, e.g. while loading).
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  // Whether a person's toggling passes through the grayed state.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

 protected:
  // Unchecked → checked (or grayed when allowed) → unchecked; grayed → checked.
  virtual void Toggle();
  void CNCommand(TMessage& Message) override;
  void PaintMark(TCanvas* Canvas, const TRect& Box, TColor Border, TColor Fill, TColor Glyph) override;
  bool MarkOn() const override { return FState != cbUnchecked; }

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
 public:
  using TCustomCheckBox::TCustomCheckBox;
  String ClassName() const override { return "TCheckBox"; }
};

class TRadioButton : public TCheckControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  String ClassName() const override { return "TRadioButton"; }

  bool Checked() const { return FChecked; }
  // Checking clears the other radio buttons of the same parent and runs Click; a checked radio
  // button is the group's tab stop.
  void SetChecked(bool Value);

 protected:
  void CNCommand(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void PaintMark(TCanvas* Canvas, const TRect& Box, TColor Border, TColor Fill, TColor Glyph) override;
  bool MarkOn() const override { return FChecked; }

 private:
  bool FChecked = false;
};
