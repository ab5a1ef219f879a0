// The skinned list box's own image (frame and caption band; the inner list covers the rest) in both
// looks, and its caption buttons: hover, press, release and the auto-repeat of up and down.
#include <algorithm>

#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/core/bsskindata.h"

namespace {
constexpr Integer MaxDefaultButtonSize = 17;
const TColor ButtonFrameColor = TColor(RGB(59, 107, 183));
const TColor ButtonDownColor = TColor(RGB(162, 188, 228));
const TColor ButtonHotColor = TColor(RGB(193, 212, 243));
}  // namespace

// ---- caption properties ----

void TbsSkinCustomListBox::SetCaptionMode(bool Value) {
  FCaptionMode = Value;
  if (FIndex == -1) {
    AdjustListBox();
    Repaint();
  }
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if (FIndex == -1 && FCaptionMode) {
    AdjustListBox();
    Repaint();
  }
}

void TbsSkinCustomListBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (FCaptionMode) Repaint();
}

void TbsSkinCustomListBox::CMTextChanged(TMessage& Message) {
  TbsSkinCustomControl::CMTextChanged(Message);
  if (FCaptionMode) Repaint();
}

Integer TbsSkinCustomListBox::GetCaptionWidth(TCanvas* Cnvs) {
  Integer W = Cnvs->TextWidth(Caption());
  if (!FGlyph->Empty()) W += FGlyph->Width() / std::max<Integer>(1, FNumGlyphs) + FSpacing;
  return W;
}

void TbsSkinCustomListBox::drawCaption(TCanvas* Cnvs, const TRect& TR, Integer X, Integer Y, Integer GY) {
  Integer TX = X;
  if (!FGlyph->Empty()) TX += FGlyph->Width() / std::max<Integer>(1, FNumGlyphs) + FSpacing;
  Cnvs->Brush()->SetStyle(bsClear);
  Cnvs->TextRect(TR, TX, Y, Caption());
  if (!FGlyph->Empty()) {
    const Integer Frame = (!Enabled() && FNumGlyphs == 2) ? 2 : 1;
    DrawGlyphFrame(Cnvs, X, GY, FGlyph.get(), std::max<Integer>(1, FNumGlyphs), Frame);
  }
}

// ---- the control image ----

void TbsSkinCustomListBox::CreateControlDefaultImage(TBitmap* B) {
  const Integer W = Width();
  Integer a = 0;
  const bool WithButtons = FCaptionMode && FShowCaptionButtons;
  if (WithButtons) {
    a = std::min(FDefaultCaptionHeight - 3, MaxDefaultButtonSize);
    Buttons[0].R = Rect(W - a - 2, 2, W - 2, a + 1);
    Buttons[1].R = Rect(W - 2 * a - 2, 2, W - a - 2, a + 1);
    Buttons[2].R = Rect(W - 3 * a - 2, 2, W - 2 * a - 2, a + 1);
  } else {
    // No buttons to hover or press where none are drawn.
    for (auto& Btn : Buttons) Btn.R = TRect{};
  }
  TbsSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  TRect R = ClientRect();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(R);
  InflateRect(&R, -1, -1);
  C->Brush()->SetColor(ListBox->Color());
  C->FrameRect(R);
  if (!FCaptionMode) return;
  C->Brush()->SetColor(clBtnShadow);
  C->FillRect(Rect(0, 0, W, FDefaultCaptionHeight));
  const TRect TR = WithButtons ? Rect(3, 2, W - 3 * a - 3, FDefaultCaptionHeight - 2)
                               : Rect(3, 2, W - 2, FDefaultCaptionHeight - 2);
  C->Font()->Assign(FDefaultCaptionFont.get());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  const Integer CW = GetCaptionWidth(C);
  Integer X = TR.Left;
  if (FAlignment == taRightJustify)
    X = TR.Right - CW;
  else if (FAlignment == taCenter)
    X = TR.Left + RectWidth(TR) / 2 - CW / 2;
  const Integer Y = (FDefaultCaptionHeight - 2) / 2 - C->TextHeight(Caption()) / 2;
  const Integer GY = TR.Top + RectHeight(TR) / 2 - FGlyph->Height() / 2 - 1;
  drawCaption(C, TR, X, Y, GY);
  if (WithButtons)
    for (Integer I = 0; I < 3; ++I) DrawButton(C, I);
}

TRect TbsSkinCustomListBox::CalcButtonRect(const TRect& R) {
  TRect NR = R;
  if (IsEmptyRect(R)) return NR;
  const Integer dW = Width() - RectWidth(SkinRect), dH = Height() - RectHeight(SkinRect);
  if (R.Top > LTPt.Y) {
    OffsetRect(&NR, 0, dH);
    if (R.Left > RBPt.X) OffsetRect(&NR, dW, 0);
  } else if (R.Left > RTPt.X) {
    OffsetRect(&NR, dW, 0);
  }
  return NR;
}

void TbsSkinCustomListBox::CreateControlSkinImage(TBitmap* B) {
  const Integer W = Width();
  const Integer dW = W - RectWidth(SkinRect), dH = Height() - RectHeight(SkinRect);
  TbsSkinCustomControl::CreateControlSkinImage(B);
  TCanvas* C = B->Canvas();
  if (!FShowCaptionButtons && !IsEmptyRect(UpButtonRect) && Picture != nullptr) {
    // Cover the buttons drawn into the element's picture.
    if (!IsEmptyRect(DisabledButtonsRect)) {
      TRect Dest = ButtonsArea;
      OffsetRect(&Dest, dW, 0);
      C->CopyRect(Dest, Picture->Canvas(), DisabledButtonsRect);
    } else {
      const TRect Band = Rect(NewLTPoint.X, 0, NewRTPoint.X, ClRect.Top - 1);
      const TRect Dest = Rect(NewLTPoint.X, 0, UpButtonRect.Right + dW, ClRect.Top - 1);
      if (!IsEmptyRect(Band) && !IsEmptyRect(Dest)) {
        TBitmap Copy;
        Copy.SetSize(RectWidth(Band), RectHeight(Band));
        Copy.Canvas()->CopyRect(Rect(0, 0, RectWidth(Band), RectHeight(Band)), C, Band);
        C->StretchDraw(Dest, &Copy);
      }
    }
  }
  NewClRect = ClRect;
  NewClRect.Right += dW;
  NewClRect.Bottom += dH;
  const bool WithButtons = FCaptionMode && FShowCaptionButtons;
  if (FCaptionMode) {
    NewCaptionRect = CaptionRect;
    if (WithButtons) {
      if (CaptionRect.Right >= RTPt.X) NewCaptionRect.Right += dW;
      Buttons[0].R = CalcButtonRect(UpButtonRect);
      Buttons[1].R = CalcButtonRect(DownButtonRect);
      Buttons[2].R = CalcButtonRect(CheckButtonRect);
    } else {
      NewCaptionRect.Right = W - CaptionRect.Left;
    }
  }
  if (!WithButtons)
    for (auto& Btn : Buttons) Btn.R = TRect{};
  if (FCaptionMode && !IsEmptyRect(CaptionRect)) {
    C->Font()->SetName(CaptionFontName);
    C->Font()->SetHeight(CaptionFontHeight);
    C->Font()->SetColor(CaptionFontColor);
    C->Font()->SetStyle(CaptionFontStyle);
    if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
      C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else
      C->Font()->SetCharset(FDefaultCaptionFont->Charset());
    const TRect& NR = NewCaptionRect;
    const Integer CW = GetCaptionWidth(C);
    const Integer Y = NR.Top + RectHeight(NR) / 2 - C->TextHeight(Caption()) / 2;
    Integer X = NR.Left + 2;
    if (FAlignment == taRightJustify)
      X = NR.Right - CW - 2;
    else if (FAlignment == taCenter)
      X = NR.Left + 2 + RectWidth(NR) / 2 - CW / 2;
    const Integer GY = NR.Top + RectHeight(NR) / 2 - FGlyph->Height() / 2;
    drawCaption(C, NR, X, Y, GY);
  }
  if (WithButtons)
    for (Integer I = 0; I < 3; ++I) DrawButton(C, I);
}

void TbsSkinCustomListBox::DrawButton(TCanvas* Cnvs, Integer I) {
  const TbsCaptionButton& Btn = Buttons[I];
  if (FIndex == -1) {
    if (IsEmptyRect(Btn.R)) return;
    Cnvs->Brush()->SetStyle(bsSolid);
    if (Btn.MouseIn) {
      Cnvs->Brush()->SetColor(ButtonFrameColor);
      Cnvs->FrameRect(Btn.R);
      TRect In = Btn.R;
      InflateRect(&In, -1, -1);
      Cnvs->Brush()->SetColor(Btn.Down ? ButtonDownColor : ButtonHotColor);
      Cnvs->FillRect(In);
    } else {
      Cnvs->Brush()->SetColor(clBtnShadow);
      Cnvs->FillRect(Btn.R);
    }
    if (I == 0)
      DrawArrow(Cnvs, Btn.R, clBlack, 3);
    else if (I == 1)
      DrawArrow(Cnvs, Btn.R, clBlack, 4);
    else
      DrawCheckMark(Cnvs, Btn.R.Left + 4, Btn.R.Top + 4, clBlack);
    return;
  }
  if (IsEmptyRect(Btn.R) || Picture == nullptr) return;
  const TRect* Normal[3] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
  const TRect* Hover[3] = {&ActiveUpButtonRect, &ActiveDownButtonRect, &ActiveCheckButtonRect};
  const TRect* Pressed[3] = {&DownUpButtonRect, &DownDownButtonRect, &DownCheckButtonRect};
  TRect Src{};
  if (Btn.Down && Btn.MouseIn)
    Src = *Pressed[I];
  else if (Btn.MouseIn)
    Src = *Hover[I];
  if (IsEmptyRect(Src)) {
    Src = *Normal[I];
    OffsetRect(&Src, SkinRect.Left, SkinRect.Top);
  }
  Cnvs->CopyRect(Btn.R, Picture->Canvas(), Bounds(Src.Left, Src.Top, RectWidth(Btn.R), RectHeight(Btn.R)));
}

// ---- hover, press and release ----

void TbsSkinCustomListBox::redrawButton(Integer I) {
  if (!HandleAllocated()) return;
  GetSkinData();
  DrawButton(Canvas(), I);
}

TNotifyEvent& TbsSkinCustomListBox::buttonEvent(Integer I) {
  return I == 0 ? OnUpButtonClick : I == 1 ? OnDownButtonClick : OnCheckButtonClick;
}

void TbsSkinCustomListBox::TestActive(Integer X, Integer Y) {
  if (!FShowCaptionButtons) return;
  if (FIndex != -1 && IsEmptyRect(UpButtonRect) && IsEmptyRect(DownButtonRect)) return;
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer I = 0; I < 3; ++I) {
    const TRect& R = Buttons[I].R;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) {
      ActiveButton = I;
      break;
    }
  }
  if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
  if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TbsSkinCustomListBox::ButtonEnter(Integer I) {
  Buttons[I].MouseIn = true;
  redrawButton(I);
  if (TimerMode != 0 && Buttons[I].Down) StartTimer(ButtonReturnInterval);
}

void TbsSkinCustomListBox::ButtonLeave(Integer I) {
  Buttons[I].MouseIn = false;
  redrawButton(I);
  if (TimerMode != 0 && Buttons[I].Down && HandleAllocated()) KillTimer(Handle(), ButtonTimerId);
}

void TbsSkinCustomListBox::ButtonDown(Integer I) {
  Buttons[I].MouseIn = true;
  Buttons[I].Down = true;
  redrawButton(I);
  if (buttonEvent(I)) return;
  TimerMode = I == 0 ? 1 : I == 1 ? 2 : 0;
  if (TimerMode != 0) {
    WaitMode = true;
    StartTimer(ButtonWaitDelay);
  }
}

void TbsSkinCustomListBox::buttonAction(Integer I) {
  if (I == 0) {
    if (ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
  } else if (I == 1) {
    // Past the last item the selection stays where it is.
    if (ItemIndex() + 1 < Items()->Count()) SetItemIndex(ItemIndex() + 1);
  } else {
    ListBox->Click();
  }
}

void TbsSkinCustomListBox::ButtonUp(Integer I) {
  Buttons[I].Down = false;
  if (I != ActiveButton) Buttons[I].MouseIn = false;
  redrawButton(I);
  if (I == ActiveButton && buttonEvent(I)) {
    TNotifyEvent Event = buttonEvent(I);
    Event(this);
    return;
  }
  buttonAction(I);
  StopTimer();
}

void TbsSkinCustomListBox::StartTimer(UINT Interval) {
  if (!HandleAllocated()) return;
  KillTimer(Handle(), ButtonTimerId);
  SetTimer(Handle(), ButtonTimerId, Interval, nullptr);
}

void TbsSkinCustomListBox::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), ButtonTimerId);
  TimerMode = 0;
}

void TbsSkinCustomListBox::WMTimer(TMessage& Message) {
  if (Message.WParam != ButtonTimerId) return;
  if (WaitMode) {
    WaitMode = false;
    StartTimer(ButtonRepeatInterval);
    return;
  }
  if (TimerMode == 1 || TimerMode == 2) buttonAction(TimerMode - 1);
}

void TbsSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FCaptionMode && FShowCaptionButtons) {
    TestActive(X, Y);
    if (ActiveButton != -1) {
      CaptureButton = ActiveButton;
      ButtonDown(ActiveButton);
    }
  }
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  TestActive(X, Y);
}

void TbsSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CaptureButton != -1) {
    ButtonUp(CaptureButton);
    CaptureButton = -1;
  }
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::CMMouseEnter(TMessage& Message) {
  TbsSkinCustomControl::CMMouseEnter(Message);
  TestActive(-1, -1);
}

void TbsSkinCustomListBox::CMMouseLeave(TMessage& Message) {
  TbsSkinCustomControl::CMMouseLeave(Message);
  bool Changed = false;
  for (auto& Btn : Buttons)
    if (Btn.MouseIn) {
      Btn.MouseIn = false;
      Changed = true;
    }
  if (Changed) Repaint();
}
