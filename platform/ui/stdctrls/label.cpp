#include "platform/ui/stdctrls/label.h"

#include "platform/gdi/text.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/looksurface.h"

namespace {
UINT alignmentFlag(TAlignment A) {
  switch (A) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}
}  // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle = FControlStyle + TControlStyle{csOpaque, csReplicatable};
  FWidth = 65;
  FHeight = 17;
  FAutoSize = true;
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

TRect TCustomLabel::measureText(Integer Width) {
  TRect R = Rect(0, 0, Width, 0);
  HDC DC = GetDC(nullptr);
  TCanvas* C = Canvas();
  C->SetHandle(DC);
  try {
    DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  } catch (...) {
    C->SetHandle(nullptr);
    ReleaseDC(nullptr, DC);
    throw;
  }
  C->SetHandle(nullptr);
  ReleaseDC(nullptr, DC);
  return R;
}

bool TCustomLabel::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  TRect R = measureText(NewWidth);
  NewWidth = R.Right;
  NewHeight = R.Bottom;
  return true;
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  String Text = GetLabelText();
  // A label measures at least one line, also when empty or showing only a mnemonic marker.
  if ((Flags & DT_CALCRECT) != 0 && (Text.empty() || (FShowAccelChar && Text == "&"))) Text += " ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* C = Canvas();
  C->SetFont(Font());
  if ((Flags & DT_CALCRECT) != 0) {
    HDC DC = C->Handle();
    HGDIOBJ Old = SelectObject(DC, C->Font()->Handle());
    DrawText(DC, Text, &Rect, Flags);
    SelectObject(DC, Old);
    return;
  }
  stdlook::DrawTextIn(C, Text, Rect, Flags,
                      Enabled() ? LookTextColor(Font()->Color()) : stdlook::TextDisabled);
}

void TCustomLabel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  if (!Transparent()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(LookBackground(this));
    C->FillRect(R);
  }
  // The text goes over what lies behind; a descendant drawing through the canvas would fill its cells.
  C->Brush()->SetStyle(bsClear);
  UINT Flags = DT_EXPANDTABS | alignmentFlag(FAlignment) | (FWordWrap ? DT_WORDBREAK : 0);
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(Calc, Flags | DT_CALCRECT);
    Integer Free = R.Height() - Calc.Height();
    OffsetRect(&R, 0, FLayout == tlBottom ? Free : Free / 2);
  }
  DoDrawText(R, Flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  TRect R = measureText(FWidth);
  Integer X = FLeft;
  if (FAlignment == taRightJustify) X += FWidth - R.Right;
  SetBounds(X, FTop, R.Right, R.Bottom);
}

void TCustomLabel::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR)
    CMDialogChar(Message);
  else
    TGraphicControl::Dispatch(Message);
}

void TCustomLabel::CMDialogChar(TMessage& Message) {
  if (FFocusControl == nullptr || !Enabled() || !FShowAccelChar) return;
  if (!IsAccel(char32_t(Message.WParam), GetLabelText())) return;
  if (FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
  }
}
