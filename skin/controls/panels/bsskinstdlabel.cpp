#include "skin/controls/panels/bsskinstdlabel.h"

#include "platform/gdi/text.h"
#include "skin/core/bsdraw.h"

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  SetTransparent(true);
}

TbsSkinStdLabel::~TbsSkinStdLabel() {
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  // Also at design time: the designer shows the skin font at once.
  if (Value != nullptr) ChangeSkinData();
}

void TbsSkinStdLabel::ChangeSkinData() {
  GetSkinData();
  if (AutoSize()) AdjustBounds();
  Repaint();
}

void TbsSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType Value) {
  if (FEllipsType == Value) return;
  FEllipsType = Value;
  Invalidate();
}

UINT TbsSkinStdLabel::ellipsisFlag() const {
  switch (FEllipsType) {
    case bsetEndEllips:
      return DT_END_ELLIPSIS;
    case bsetPathEllips:
      return DT_PATH_ELLIPSIS;
    default:
      return 0;
  }
}

void TbsSkinStdLabel::drawOn(TCanvas* C, const String& Text, TRect& R, UINT Flags) {
  FSkin.ApplyTo(C, FSD, FDefaultFont.get(), Font(), FUseSkinFont, FUseSkinColor);
  if (Flags & DT_CALCRECT) {
    ::DrawText(bsCanvasDC(C), Text, &R, Flags);
    return;
  }
  FSkin.DrawText(C, FSD, Text, R, Flags, Enabled(), FEllipsType != bsetNone);
}

void TbsSkinStdLabel::DoDrawText(TRect& Rect, UINT Flags) {
  GetSkinData();
  String Text = GetLabelText();
  if ((Flags & DT_CALCRECT) != 0 && (Text.empty() || (ShowAccelChar() && Text == "&"))) Text += " ";
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  Flags |= ellipsisFlag();
  drawOn(Canvas(), Text, Rect, Flags);
}

void TbsSkinStdLabel::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
  GetSkinData();
  TRect R = Rect(X, Y, X + Width(), Y + Height());
  if (!Transparent()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
  }
  C->Brush()->SetStyle(bsClear);
  UINT Flags = (WordWrap() ? DT_WORDBREAK : 0) | DT_EXPANDTABS | ellipsisFlag();
  Flags |= Alignment() == taRightJustify ? DT_RIGHT : Alignment() == taCenter ? DT_CENTER : DT_LEFT;
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  if (Layout() != tlTop) {
    TRect M = R;
    drawOn(C, AText, M, Flags | DT_CALCRECT);
    const Integer Free = RectHeight(R) - RectHeight(M);
    const Integer Shift = Layout() == tlBottom ? Free : Free / 2;
    R = Rect(R.Left, R.Top + Shift, R.Right, R.Bottom + Shift);
  }
  drawOn(C, AText, R, Flags);
}
