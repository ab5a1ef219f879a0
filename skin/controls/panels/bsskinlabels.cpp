#include "skin/controls/panels/bsskinlabels.h"

#include "platform/gdi/text.h"
#include "skin/core/bsdraw.h"

// ---- the skin font ----

void TbsLabelSkinFont::GetSkinData(TbsSkinData* SkinData, const String& SkinDataName) {
  if (SkinData == nullptr || SkinData->Empty) {
    FIndex = -1;
    return;
  }
  FIndex = SkinData->GetControlIndex(SkinDataName);
  if (FIndex == -1) return;
  if (auto* R = dynamic_cast<TbsDataSkinStdLabelControl*>(SkinData->Ctrls(FIndex))) {
    FontName = R->FontName;
    FontStyle = R->FontStyle;
    FontHeight = R->FontHeight;
    FontColor = R->FontColor;
  }
}

void TbsLabelSkinFont::ApplyTo(TCanvas* Canvas, TbsSkinData* SkinData, TFont* DefaultFont, TFont* Font,
                               bool UseSkinFont, bool UseSkinColor) const {
  TFont* C = Canvas->Font();
  if (FIndex == -1) {
    C->Assign(UseSkinFont ? DefaultFont : Font);
  } else {
    C->Assign(Font);
    if (UseSkinFont) {
      C->SetName(FontName);
      C->SetStyle(FontStyle);
      C->SetHeight(FontHeight);
    }
    C->SetColor(UseSkinColor ? FontColor : Font->Color());
  }
  if (SkinData != nullptr && SkinData->ResourceStrData() != nullptr)
    C->SetCharset(SkinData->ResourceStrData()->CharSet());
  else
    C->SetCharset(DefaultFont->Charset());
}

void TbsLabelSkinFont::DrawText(TCanvas* Canvas, TbsSkinData* SkinData, const String& Text, TRect R,
                                UINT Flags, bool Enabled, bool Ellipsis) const {
  auto out = [&](TRect& Where) {
    HDC DC = bsCanvasDC(Canvas);
    if (Ellipsis) {
      String S = Text;
      DrawTextEx(DC, &S, &Where, Flags, nullptr);
    } else {
      ::DrawText(DC, Text, &Where, Flags);
    }
  };
  if (Enabled) {
    out(R);
    return;
  }
  const bool Skinned = FIndex != -1 && SkinData != nullptr;
  TRect Lit = Rect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
  Canvas->Font()->SetColor(Skinned ? SkinData->SkinColors()->cBtnHighLight() : clBtnHighlight);
  out(Lit);
  Canvas->Font()->SetColor(Skinned ? SkinData->SkinColors()->cBtnShadow() : clBtnShadow);
  out(R);
}

// ---- TbsSkinTextLabel ----

TbsSkinTextLabel::TbsSkinTextLabel(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FLines(std::make_unique<TStringList>()) {
  FControlStyle.Include(csReplicatable);
  FControlStyle.Exclude(csOpaque);
  FLines->OnChange = [this](TObject*) {
    if (FAutoSize) AdjustBounds();
    Invalidate();
  };
  SetBounds(FLeft, FTop, 65, 65);
}

TbsSkinTextLabel::~TbsSkinTextLabel() {
  FLines->OnChange = nullptr;
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinTextLabel::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (Value != nullptr) ChangeSkinData();
}

void TbsSkinTextLabel::ChangeSkinData() {
  GetSkinData();
  if (FAutoSize) AdjustBounds();
  Repaint();
}

void TbsSkinTextLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinTextLabel::SetLines(TStrings* Value) {
  FLines->Assign(Value);
  Repaint();
}

void TbsSkinTextLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TbsSkinTextLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TbsSkinTextLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TbsSkinTextLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TbsSkinTextLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TbsSkinTextLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
  Invalidate();
}

void TbsSkinTextLabel::GetLabelText(String& S) {
  S = FLines->Text();
}

UINT TbsSkinTextLabel::alignmentFlags() const {
  switch (FAlignment) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

Integer TbsSkinTextLabel::lineHeight(TCanvas* C) {
  return C->TextHeight("A");
}

void TbsSkinTextLabel::DrawLabelText(TRect& R, UINT Flags) {
  GetSkinData();
  String Text;
  GetLabelText(Text);
  TCanvas* C = Canvas();
  FSkin.ApplyTo(C, FSD, FDefaultFont.get(), Font(), FUseSkinFont, FUseSkinColor);
  if (Flags & DT_CALCRECT) {
    ::DrawText(bsCanvasDC(C), Text, &R, Flags);
    return;
  }
  FSkin.DrawText(C, FSD, Text, R, Flags, Enabled(), false);
}

void TbsSkinTextLabel::Paint() {
  TCanvas* C = Canvas();
  C->Brush()->SetStyle(bsClear);
  TRect R = ClientRect();
  const UINT Flags = (FWordWrap ? DT_WORDBREAK : 0) | alignmentFlags();
  if (FLayout != tlTop) {
    TRect M = R;
    DrawLabelText(M, Flags | DT_EXPANDTABS | DT_CALCRECT);
    // The joined text ends with a line break: its measure holds one empty line too many.
    const Integer H = RectHeight(M) - lineHeight(C);
    const Integer Shift = FLayout == tlBottom ? Height() - H : (Height() - H) / 2;
    R = Rect(R.Left, R.Top + Shift, R.Right, R.Bottom + Shift);
  }
  DrawLabelText(R, Flags | DT_EXPANDTABS);
}

void TbsSkinTextLabel::AdjustBounds() {
  if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !FAutoSize) return;
  TRect R = ClientRect();
  HDC DC = GetDC(nullptr);
  TCanvas C;
  C.SetHandle(DC);
  GetSkinData();
  String Text;
  GetLabelText(Text);
  FSkin.ApplyTo(&C, FSD, FDefaultFont.get(), Font(), FUseSkinFont, FUseSkinColor);
  ::DrawText(bsCanvasDC(&C), Text, &R, (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CALCRECT);
  const Integer H = RectHeight(R) - lineHeight(&C);
  C.SetHandle(nullptr);
  ReleaseDC(nullptr, DC);
  Integer X = Left();
  if (FAlignment == taRightJustify) X = Left() + Width() - RectWidth(R);
  SetBounds(X, Top(), RectWidth(R), H);
}
