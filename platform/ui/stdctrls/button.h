// Push buttons. TButtonControl is the windowed base of buttons, check boxes and radio buttons: its
// window tells the parent of a click with WM_COMMAND (BN_CLICKED), which the parent reflects back as
// CN_COMMAND, where the click runs. TButton adds the default and cancel roles and the modal result.
#pragma once

#include "platform/ui/core/customcontrol.h"

// Button notifications and messages (the platform's numbers).
constexpr Word BN_CLICKED = 0;
constexpr UINT BM_CLICK = 0x00F5;

class TButtonControl : public TCustomControl {
 public:
  explicit TButtonControl(TComponent* AOwner);
  String ClassName() const override { return "TButtonControl"; }

 protected:
  void Dispatch(TMessage& Message) override;
  // What the window does when a person presses it: tells the parent, which reflects it back.
  void NotifyClicked();
  // The reflected notification: a click while enabled runs Click.
  virtual void CNCommand(TMessage& Message);
  // Whether the pointer is over the control and whether the control shows as pressed.
  bool MouseInControl() const { return FMouseInControl; }
  bool Pressed() const { return (FMouseDown && FMouseInControl) || FSpaceDown; }
  bool ClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }

  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message) override;
  void WMLButtonUp(TMessage& Message) override;
  void WMMouseMove(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;

 private:
  void press(TMessage& Message);
  bool FMouseInControl = false;
  bool FMouseDown = false;
  bool FSpaceDown = false;
  bool FClicksDisabled = false;
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* AOwner);
  String ClassName() const override { return "TButton"; }

  // Enter clicks the default button while no other button has the focus.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // Escape clicks the cancel button.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // Given to the parent form when the button is clicked (mrNone leaves the form's as it is).
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // Shows the default look: the focused button, or the default one while no button has the focus.
  bool Active() const { return FActive; }

  void Click() override;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;

 private:
  void setActive(bool Value);
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};
