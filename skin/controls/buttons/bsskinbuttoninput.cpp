// The push button's input: mouse, keyboard and focus, the click, auto-repeat, checked and grouped
// modes, and the default and cancel roles in a dialog.
#include "platform/ui/core/form.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/controls/buttons/bsskinbutton.h"

// ---- click ----

void TbsSkinButton::ButtonClick() {
  if (FCanFocused) {
    if (TCustomForm* F = GetParentForm(this)) F->SetModalResult(FModalResult);
  }
  // A copy runs: a handler that frees the button would otherwise destroy itself while it runs.
  if (TNotifyEvent Handler = OnClick) Handler(this);
}

void TbsSkinButton::Click() {
  // No actions in this library: the class library's click.
  TbsSkinCustomControl::Click();
}

void TbsSkinButton::RefreshButton() {
  FMouseIn = false;
  FDown = false;
  if (morphingEnabled()) FEffects.MorphKf = 0;
  if (effectsEnabled()) FEffects.StopAnimate();
  Repaint();
}

// ---- state setters ----

void TbsSkinButton::SetDown(bool Value) {
  FDown = Value;
  if (morphingEnabled()) {
    FEffects.MorphKf = 1;
    if (Value)
      FEffects.StopMorph();
    else
      FEffects.StartMorph();
  }
  Repaint();
  if (Value && FGroupIndex > 0 && !FAllowAllUp) RaiseGroupButtons();
}

void TbsSkinButton::RaiseGroupButtons() {
  if (FGroupIndex <= 0 || Parent() == nullptr) return;
  TWinControl* P = Parent();
  for (Integer i = 0; i < P->ControlCount(); ++i) {
    auto* B = dynamic_cast<TbsSkinButton*>(P->Controls(i));
    if (B != nullptr && B != this && B->FGroupIndex == FGroupIndex && B->FDown) B->SetDown(false);
  }
}

void TbsSkinButton::SetGroupIndex(Integer Value) {
  FGroupIndex = Value;
  if (Value != 0) SetCanFocused(false);
}

void TbsSkinButton::SetCheckedMode(bool Value) {
  if (FCheckedMode == Value) return;
  FCheckedMode = Value;
  if (Value)
    SetGroupIndex(-1);
  else if (FGroupIndex == -1)
    SetGroupIndex(0);
}

void TbsSkinButton::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TbsSkinButton::SetDefault(bool Value) {
  FDefault = Value;
  if (HandleAllocated() && FCanFocused) {
    if (TCustomForm* F = GetParentForm(this))
      F->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(F->ActiveControl()));
  }
}

// ---- window level ----

void TbsSkinButton::CreateWnd() {
  TbsSkinCustomControl::CreateWnd();
  FActive = FDefault;
}

void TbsSkinButton::WndProc(TMessage& Message) {
  if (FCanFocused) {
    switch (Message.Msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!designing() && HandleAllocated() && GetFocus() != Handle()) {
          FClicksDisabled = true;
          ::SetFocus(Handle());
          FClicksDisabled = false;
          // The focus change was refused: no press at all.
          if (GetFocus() != Handle()) return;
        }
        break;
      case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
      case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE && FSpaceSupport) {
          if (FIndex != -1 && !IsEmptyRect(AnimateSkinRect)) FEffects.StopAnimate();
          SetDown(true);
          if (FRepeatMode) {
            auto Alive = FAlive;
            ButtonClick();
            if (!*Alive) return;
          }
        } else if (Message.WParam == VK_RETURN && FSpaceSupport) {
          auto Alive = FAlive;
          ButtonClick();
          if (!*Alive) return;
        }
        break;
      case WM_KEYUP:
        if (Message.WParam == VK_SPACE) {
          SetDown(false);
          auto Alive = FAlive;
          ButtonClick();
          if (!*Alive) return;
        }
        break;
      default:
        break;
    }
  }
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SHOWLAYER:
      ShowLayer();
      break;
    case WM_HIDELAYER:
      HideLayer();
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

// ---- mouse ----

void TbsSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (*Alive && Button == mbLeft) TbsButtonPressSteps<TbsSkinButton>::Down(*this);
}

void TbsSkinButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (*Alive) TbsButtonPressSteps<TbsSkinButton>::Move(*this, X, Y);
}

void TbsSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button != mbLeft) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    return;
  }
  if (!TbsButtonPressSteps<TbsSkinButton>::Up(*this)) return;
  if (HandleAllocated() && Visible()) TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButton::CMMouseEnter(TMessage& Message) {
  auto Alive = FAlive;
  TbsSkinCustomControl::CMMouseEnter(Message);
  if (!*Alive || designing()) return;
  FMouseIn = true;
  const bool React = FGroupIndex != 0 ? !FDown : (!IsFocused() || FDown);
  if (React) {
    if (FDown) {
      if (morphingEnabled()) FEffects.MorphKf = 1;
      Repaint();
    } else {
      GetSkinData();
      if (canAnimate()) FEffects.StartAnimate(true, AnimateInterval);
      StartMorphOrRepaint();
    }
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) FEffects.StartRepeat();
  if (HandleAllocated()) PostMessage(Handle(), WM_SHOWLAYER, 0, 0);
}

void TbsSkinButton::CMMouseLeave(TMessage& Message) {
  auto Alive = FAlive;
  TbsSkinCustomControl::CMMouseLeave(Message);
  if (!*Alive || designing()) return;
  // The highlighted default button keeps its hovered look while the focus rests elsewhere.
  const bool KeepHighlight = FCanFocused && FDefault && FActive && !IsFocused();
  if (!KeepHighlight) FMouseIn = false;
  const bool React = FGroupIndex != 0 ? !FDown : (!IsFocused() || FDown);
  if (React) {
    GetSkinData();
    if (canAnimate()) FEffects.StartAnimate(false, AnimateInterval);
    StartMorphOrRepaint();
  }
  if (FDown && FRepeatMode && FEffects.RepeatRunning() && FGroupIndex == 0) FEffects.StopRepeat();
  if (HandleAllocated()) PostMessage(Handle(), WM_HIDELAYER, 0, 0);
}

// ---- keyboard and focus ----

void TbsSkinButton::CMDialogKey(TMessage& Message) {
  const Word Key = Word(Message.WParam);
  const bool NoShift = KeyDataToShiftState(Message.LParam).Empty();
  if (FCanFocused && NoShift && CanFocus() &&
      ((Key == VK_RETURN && FActive && Enabled()) || (Key == VK_ESCAPE && FCancel))) {
    Message.Result = 1;
    ButtonClick();
    return;
  }
  TbsSkinCustomControl::CMDialogKey(Message);
}

void TbsSkinButton::CMDialogChar(TMessage& Message) {
  if (FCanFocused && IsAccel(char32_t(Message.WParam), Caption()) && CanFocus()) {
    Message.Result = 1;
    SetFocus();
    auto Alive = FAlive;
    if (!*Alive) return;
    ButtonClick();
    return;
  }
  TbsSkinCustomControl::CMDialogChar(Message);
}

void TbsSkinButton::CMFocusChanged(TMessage& Message) {
  auto* Sender = reinterpret_cast<TWinControl*>(Message.LParam);
  auto* SenderButton = dynamic_cast<TbsSkinButton*>(Sender);
  FActive = SenderButton != nullptr ? SenderButton == this : FDefault;
  if (FCanFocused && FDefault) {
    if (SenderButton != nullptr && SenderButton != this && FMouseIn) {
      FMouseIn = false;
      StartMorphOrRepaint();
    } else if (SenderButton == nullptr && Sender != this && !FMouseIn) {
      if (morphingEnabled()) FEffects.MorphKf = 1;
      FMouseIn = true;
      StartMorphOrRepaint();
    }
  }
  TbsSkinCustomControl::CMFocusChanged(Message);
}

void TbsSkinButton::WMSetFocus(TMessage& Message) {
  TbsSkinCustomControl::WMSetFocus(Message);
  if (FCanFocused && !FDownState) {
    GetSkinData();
    if (canAnimate()) FEffects.StartAnimate(true, AnimateInterval);
    StartMorphOrRepaint();
  }
}

void TbsSkinButton::WMKillFocus(TMessage& Message) {
  if (FEffects.RepeatRunning()) FEffects.StopRepeat();
  if (FGroupIndex == 0 && FDown) FDown = false;
  TbsSkinCustomControl::WMKillFocus(Message);
  if (FCanFocused && !FDownState) {
    GetSkinData();
    if (canAnimate()) FEffects.StartAnimate(false, AnimateInterval);
    if (morphingEnabled() && FIndex != -1)
      FEffects.StartMorph();
    else
      Invalidate();
  }
}

void TbsSkinButton::CMEnabledChanged(TMessage& Message) {
  TbsSkinCustomControl::CMEnabledChanged(Message);
  if (morphingEnabled()) {
    FEffects.StopMorph();
    FEffects.MorphKf = 0;
  }
  FMouseIn = false;
  Repaint();
}

void TbsSkinButton::CMTextChanged(TMessage& Message) {
  TbsSkinCustomControl::CMTextChanged(Message);
  Repaint();
}
