#include "skin/controls/panels/bsskinlinklabel.h"

#include "platform/shell/shellopen.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bstextglow.h"

TbsSkinLinkLabel::TbsSkinLinkLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Tahoma");
  FDefaultFont->SetHeight(13);
  FDefaultFont->SetStyle({fsUnderline});
  SetTransparent(true);
  SetCursor(crHandPoint);
  Font()->Assign(FDefaultFont.get());
}

TbsSkinLinkLabel::~TbsSkinLinkLabel() {
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinLinkLabel::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (Value != nullptr) ChangeSkinData();
}

void TbsSkinLinkLabel::SetUseUnderLine(bool Value) {
  if (FUseUnderLine == Value) return;
  FUseUnderLine = Value;
  Repaint();
}

void TbsSkinLinkLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinLinkLabel::GetSkinData() {
  if (FSD == nullptr || FSD->Empty) {
    FIndex = -1;
    return;
  }
  FIndex = FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) return;
  // An element of another kind under the name keeps the font fields as they were.
  if (auto* El = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->Ctrls(FIndex))) {
    FontName = El->FontName;
    FontColor = El->FontColor;
    FontStyle = El->FontStyle;
    FontHeight = El->FontHeight;
    ActiveFontColor = El->ActiveFontColor;
  }
}

void TbsSkinLinkLabel::ChangeSkinData() {
  GetSkinData();
  Repaint();
}

void TbsSkinLinkLabel::Click() {
  TCustomLabel::Click();
  // The address goes to the opener as one argument; its result is not reported.
  if (!FURL.empty()) ShellOpen(FURL);
}

void TbsSkinLinkLabel::CMMouseEnter(TMessage& Message) {
  TCustomLabel::CMMouseEnter(Message);
  if (designing()) return;
  FMouseIn = true;
  Repaint();
}

void TbsSkinLinkLabel::CMMouseLeave(TMessage& Message) {
  TCustomLabel::CMMouseLeave(Message);
  if (designing()) return;
  FMouseIn = false;
  Repaint();
}

void TbsSkinLinkLabel::DoDrawText(TRect& Rect, UINT Flags) {
  GetSkinData();
  String Text = GetLabelText();
  if ((Flags & DT_CALCRECT) != 0 && (Text.empty() || (ShowAccelChar() && Text == "&"))) Text += " ";
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  TRect R = Rect;
  if (FGlowEffect) OffsetRect(&R, 0, FGlowSize);
  const bool Measuring = (Flags & DT_CALCRECT) != 0;
  TCanvas* C = Canvas();
  TFont* F = C->Font();
  const bool Skinned = FIndex != -1;
  if (Skinned) {
    if (FUseSkinFont) {
      F->SetName(FontName);
      F->SetStyle(FontStyle);
      F->SetHeight(FontHeight);
    } else {
      F->Assign(Font());
    }
    F->SetColor(FMouseIn && !FGlowEffect ? ActiveFontColor : FontColor);
  } else {
    F->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
    if (FMouseIn) F->SetColor(FDefaultActiveFontColor);
  }
  F->SetCharset(FSD != nullptr && FSD->ResourceStrData() != nullptr ? FSD->ResourceStrData()->CharSet()
                                                                    : FDefaultFont->Charset());
  // Underline follows UseUnderLine, except that a disabled label in the default look keeps it.
  TFontStyles Style = F->Style();
  if (FUseUnderLine)
    Style.Include(fsUnderline);
  else
    Style.Exclude(fsUnderline);
  if (!Skinned && !Enabled()) Style.Include(fsUnderline);
  F->SetStyle(Style);
  const TColor Glow = Skinned ? ActiveFontColor : FDefaultActiveFontColor;
  C->Brush()->SetStyle(bsClear);
  if (Measuring) {
    // The measured size flows back, with the room the glow's downward offset takes.
    DrawWideText(C, Text, R, Flags);
    Rect.Right = Rect.Left + R.Width();
    Rect.Bottom = R.Bottom;
    return;
  }
  if (Enabled()) {
    if (FMouseIn && FGlowEffect)
      DrawGlowText(C, R, Text, Flags, 0, Glow, FGlowSize);
    else
      DrawWideText(C, Text, R, Flags);
    return;
  }
  TRect Shifted = R;
  OffsetRect(&Shifted, 1, 1);
  F->SetColor(Skinned ? FSD->SkinColors()->cBtnHighLight() : clBtnHighlight);
  DrawWideText(C, Text, Shifted, Flags);
  F->SetColor(Skinned ? FSD->SkinColors()->cBtnShadow() : clBtnShadow);
  DrawWideText(C, Text, R, Flags);
}
