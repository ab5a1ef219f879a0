#include "platform/ui/stdctrls/checkbox.h"

#include "platform/gdi/text.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/looksurface.h"

namespace {
constexpr Integer MarkSize = 14;
constexpr Integer MarkGap = 6;
}  // namespace

// ---- TCheckControl ----

TCheckControl::TCheckControl(TComponent* AOwner) : TButtonControl(AOwner) {
  FWidth = 97;
  FHeight = 17;
}

void TCheckControl::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCheckControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_BUTTON;
    return;
  }
  TButtonControl::Dispatch(Message);
}

void TCheckControl::CMDialogChar(TMessage& Message) {
  if (IsAccel(char32_t(Message.WParam), Caption()) && CanFocus()) {
    SetFocus();
    if (Focused()) NotifyClicked();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

TRect TCheckControl::MarkRect() {
  TRect R = ClientRect();
  Integer Top = (R.Height() - MarkSize) / 2;
  Integer Left = FAlignment == taLeftJustify ? R.Right - MarkSize : 0;
  return Bounds(Left, Top, MarkSize, MarkSize);
}

void TCheckControl::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  const TColor Back = LookBackground(this);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Back);
  C->FillRect(R);

  const bool On = Enabled();
  TColor Border = stdlook::FaceBorder, Fill = stdlook::Face;
  if (!On) {
    Fill = stdlook::WindowBack;
  } else if (MarkOn()) {
    Fill = Border = Pressed()          ? stdlook::AccentPressed
                    : MouseInControl() ? stdlook::AccentHover
                                       : stdlook::Accent;
  } else {
    Fill = Pressed() ? stdlook::FacePressed : MouseInControl() ? stdlook::FaceHover : stdlook::Face;
    if (Focused() || MouseInControl()) Border = stdlook::Accent;
  }
  TRect Box = MarkRect();
  PaintMark(C, Box, Border, Fill, On ? clWhite : stdlook::TextDisabled);
  // A checked mark is accent already; the focus shows as a ring around it.
  if (On && Focused() && MarkOn()) {
    TRect Ring = Box;
    InflateRect(&Ring, 1, 1);
    C->Brush()->SetColor(stdlook::AccentPressed);
    C->FrameRect(Ring);
  }

  TRect T = R;
  if (FAlignment == taLeftJustify)
    T.Right = Box.Left - MarkGap;
  else
    T.Left = Box.Right + MarkGap;
  C->SetFont(Font());
  stdlook::DrawTextIn(C, Caption(), T,
                      DT_SINGLELINE | DT_VCENTER | (FAlignment == taLeftJustify ? DT_RIGHT : DT_LEFT),
                      On ? LookTextColor(Font()->Color()) : stdlook::TextDisabled);
}

// ---- TCustomCheckBox ----

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TCheckControl(AOwner) {}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  Invalidate();
  if (!ClicksDisabled() && !ComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked:
      SetState(FAllowGrayed ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCustomCheckBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) != BN_CLICKED || !Enabled()) return;
  Message.Result = 1;
  Toggle();
}

void TCustomCheckBox::PaintMark(TCanvas* C, const TRect& Box, TColor Border, TColor Fill, TColor Glyph) {
  stdlook::RoundedBox(C, Box, Fill, Border, LookBackground(this));
  C->Brush()->SetStyle(bsSolid);
  if (FState == cbGrayed) {
    TRect Dash = Box;
    InflateRect(&Dash, -4, -6);
    C->Brush()->SetColor(Glyph);
    C->FillRect(Dash);
  } else if (FState == cbChecked) {
    // A tick two pixels thick: down-right from the left, then up-right to the top.
    const Integer X = Box.Left + 3, Y = Box.Top + 6;
    for (Integer t = 0; t < 2; ++t) {
      for (Integer i = 0; i < 3; ++i) C->SetPixels(X + i, Y + i + t, Glyph);
      for (Integer i = 0; i < 6; ++i) C->SetPixels(X + 2 + i, Y + 2 - i + t, Glyph);
    }
  }
}

// ---- TRadioButton ----

TRadioButton::TRadioButton(TComponent* AOwner) : TCheckControl(AOwner) {
  // Only the checked button of a group is a tab stop.
  SetTabStop(false);
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  Invalidate();
  if (!Value) return;
  if (TWinControl* P = Parent()) {
    for (Integer i = 0; i < P->ControlCount(); ++i) {
      auto* Other = dynamic_cast<TRadioButton*>(P->Controls(i));
      if (Other != nullptr && Other != this) Other->SetChecked(false);
    }
  }
  if (!ClicksDisabled() && !ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) != BN_CLICKED || !Enabled()) return;
  Message.Result = 1;
  SetChecked(true);
}

void TRadioButton::WMSetFocus(TMessage& Message) {
  TCheckControl::WMSetFocus(Message);
  // Moving through the group with the arrow keys checks the button reached.
  for (Word Key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})
    if (GetKeyState(Key) < 0 && Enabled()) {
      SetChecked(true);
      break;
    }
}

void TRadioButton::PaintMark(TCanvas* C, const TRect& Box, TColor Border, TColor Fill, TColor Glyph) {
  // A circle of radius 7 with a 1-pixel rim; the checked dot has radius 3.
  const double CX = Box.Left + MarkSize / 2.0 - 0.5, CY = Box.Top + MarkSize / 2.0 - 0.5;
  for (Integer y = Box.Top; y < Box.Bottom; ++y)
    for (Integer x = Box.Left; x < Box.Right; ++x) {
      double D2 = (x - CX) * (x - CX) + (y - CY) * (y - CY);
      if (D2 > 7.0 * 7.0) continue;
      TColor Px = D2 > 5.8 * 5.8 ? Border : Fill;
      if (FChecked && D2 <= 3.0 * 3.0) Px = Glyph;
      C->SetPixels(x, y, Px);
    }
}
