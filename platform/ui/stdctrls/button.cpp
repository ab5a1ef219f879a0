#include "platform/ui/stdctrls/button.h"

#include "platform/gdi/text.h"
#include "platform/ui/core/form.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/looksurface.h"

// ---- TButtonControl ----

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
  // Clicks come from the window's notification, not from the generic mouse handling.
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetTabStop(true);
}

void TButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      CNCommand(Message);
      break;
    case BM_CLICK:
      if (Enabled()) NotifyClicked();
      break;
    case WM_ERASEBKGND:
      Message.Result = 1;  // Paint covers every pixel
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TButtonControl::NotifyClicked() {
  HWND Parent = HandleAllocated() ? GetParent(FHandle) : nullptr;
  if (Parent != nullptr)
    SendMessage(Parent, WM_COMMAND, MAKEWPARAM(GetWindowLong(FHandle, GWL_ID), BN_CLICKED),
                reinterpret_cast<LPARAM>(FHandle));
  else
    Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
}

void TButtonControl::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) != BN_CLICKED || FClicksDisabled || !Enabled()) return;
  Message.Result = 1;
  Click();  // last: the handler may free the control
}

void TButtonControl::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  FMouseInControl = true;
  Invalidate();
}

void TButtonControl::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  FMouseInControl = false;
  Invalidate();
}

void TButtonControl::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  FMouseDown = FSpaceDown = false;
  Invalidate();
}

void TButtonControl::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TButtonControl::press(TMessage& Message) {
  DefaultHandler(Message);
  if (!Enabled()) return;
  // The press takes the focus first; a control that cannot take it is not pressed.
  if (CanFocus() && !Focused()) {
    SetFocus();
    if (!Focused()) return;
  }
  FMouseDown = true;
  FMouseInControl = true;
  SetMouseCapture(true);
  Invalidate();
  TPoint P = LParamToPoint(Message.LParam);
  MouseDown(mbLeft, KeysToShiftState(Message.WParam), P.X, P.Y);
}

void TButtonControl::WMLButtonDown(TMessage& Message) {
  press(Message);
}

void TButtonControl::WMLButtonDblClk(TMessage& Message) {
  press(Message);
}

void TButtonControl::WMMouseMove(TMessage& Message) {
  TCustomControl::WMMouseMove(Message);
  if (!FMouseDown) return;
  TPoint P = LParamToPoint(Message.LParam);
  TRect R = ClientRect();
  bool Inside = PtInRect(&R, P);
  if (Inside != FMouseInControl) {
    FMouseInControl = Inside;
    Invalidate();
  }
}

void TButtonControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  bool Was = FMouseDown;
  FMouseDown = false;
  if (Was) SetMouseCapture(false);
  TPoint P = LParamToPoint(Message.LParam);
  TRect R = ClientRect();
  bool Inside = PtInRect(&R, P);
  FMouseInControl = Inside;
  Invalidate();
  MouseUp(mbLeft, KeysToShiftState(Message.WParam), P.X, P.Y);
  if (Was && Inside && Enabled()) NotifyClicked();
}

void TButtonControl::WMCancelMode(TMessage& Message) {
  TCustomControl::WMCancelMode(Message);
  if (FMouseDown || FSpaceDown) {
    FMouseDown = FSpaceDown = false;
    if (MouseCapture()) SetMouseCapture(false);
    Invalidate();
  }
}

void TButtonControl::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TButtonControl::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  FSpaceDown = false;
  Invalidate();
}

void TButtonControl::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && Enabled()) {
    FSpaceDown = true;
    Invalidate();
  }
}

void TButtonControl::KeyUp(Word& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    Invalidate();
    if (!Enabled()) return;
    // The key is taken, so nothing touches the control after the click (its handler may free it).
    Key = 0;
    NotifyClicked();
  }
}

// ---- TButton ----

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  FWidth = 75;
  FHeight = 28;
}

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  // Without a focused button, the default one shows the default look.
  TCustomForm* Form = GetParentForm(this);
  TWinControl* Focus = Form != nullptr ? Form->ActiveControl() : nullptr;
  if (dynamic_cast<TButton*>(Focus) == nullptr) setActive(FDefault);
}

void TButton::setActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  Invalidate();
}

void TButton::Click() {
  if (TCustomForm* Form = GetParentForm(this); Form != nullptr && FModalResult != mrNone)
    Form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    return;
  }
  TButtonControl::Dispatch(Message);
}

void TButton::CMDialogKey(TMessage& Message) {
  Word Key = Word(Message.WParam);
  if (((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && FCancel)) &&
      KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  TButtonControl::CMDialogKey(Message);
}

void TButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(char32_t(Message.WParam), Caption()) && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

void TButton::CMFocusChanged(TMessage& Message) {
  auto* Sender = reinterpret_cast<TWinControl*>(Message.LParam);
  if (dynamic_cast<TButton*>(Sender) != nullptr)
    setActive(Sender == this);
  else
    setActive(FDefault);
  TButtonControl::CMFocusChanged(Message);
}

void TButton::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  const bool On = Enabled();
  TColor Face = stdlook::Face, Border = stdlook::FaceBorder;
  TColor Text = On ? LookTextColor(Font()->Color()) : stdlook::TextDisabled;
  if (On && FActive) {
    Face = Pressed() ? stdlook::AccentPressed : MouseInControl() ? stdlook::AccentHover : stdlook::Accent;
    Border = Face;
    Text = clWhite;
  } else if (On) {
    Face = Pressed() ? stdlook::FacePressed : MouseInControl() ? stdlook::FaceHover : stdlook::Face;
  }
  stdlook::RoundedBox(C, R, Face, Border, LookBackground(Parent()));
  // A focused default-look button is already accent; others show the ring inside the border.
  if (On && Focused() && !FActive) stdlook::FocusRing(C, R);
  C->SetFont(Font());
  TRect T = R;
  if (Pressed()) OffsetRect(&T, 0, 1);
  stdlook::DrawTextIn(C, Caption(), T, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Text);
}
