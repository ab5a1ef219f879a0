// The panel's properties, client rectangle, check box, roll-up and caption clicks; its looks are in
// bsskinpanelpaint.cpp.
#include "skin/controls/panels/bsskinpanel.h"

TbsSkinPanel::TbsSkinPanel(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                csOpaque,          csDoubleClicks, csReplicatable};
  FForceBackground = true;
  FSkinDataName = "panel";
  FGlyph = std::make_unique<TBitmap>();
  SetBounds(FLeft, FTop, 150, 150);
  NewClRect = TRect{};
}

TbsSkinPanel::~TbsSkinPanel() {
  *FAlive = false;
  if (FCaptionImageList) FCaptionImageList->RemoveFreeNotification(this);
}

// ---- properties ----

void TbsSkinPanel::SetRibbonStyle(bool Value) {
  if (FRibbonStyle == Value) return;
  FRibbonStyle = Value;
  Repaint();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition Value) {
  if (FImagePosition == Value) return;
  FImagePosition = Value;
  Repaint();
}

void TbsSkinPanel::SetTransparentMode(bool Value) {
  if (FTransparentMode == Value) return;
  FTransparentMode = Value;
  Repaint();
  if (!designing() && !ComponentState().Contains(csLoading)) CheckControlsBackground();
}

void TbsSkinPanel::SetCaptionImageList(TCustomImageList* Value) {
  if (FCaptionImageList) FCaptionImageList->RemoveFreeNotification(this);
  FCaptionImageList = Value;
  if (FCaptionImageList) FCaptionImageList->FreeNotification(this);
}

void TbsSkinPanel::SetCaptionImageIndex(Integer Value) {
  if (FCaptionImageIndex == Value) return;
  FCaptionImageIndex = Value;
  Repaint();
}

void TbsSkinPanel::SetCheckedMode(bool Value) {
  FCheckedMode = Value;
  Repaint();
}

void TbsSkinPanel::SetChecked(bool Value) {
  auto Alive = FAlive;
  // No test for a change: setting the same value re-applies it to the children and reports again.
  FChecked = Value;
  if (FCheckedMode) Repaint();
  if (FAutoEnabledControls && FCheckedMode)
    for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(Value);
  if (*Alive && OnChecked) {
    // From a copy: a handler that frees the panel must not free the handler while it runs.
    const TNotifyEvent Handler = OnChecked;
    Handler(this);
  }
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment Value) {
  FDefaultAlignment = Value;
  if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if ((FIndex == -1 || !FUseSkinSize) && FCaptionMode) {
    Repaint();
    Realign();
  }
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (FIndex == -1) {
    Repaint();
    Realign();
  }
}

void TbsSkinPanel::SetCaptionMode(bool Value) {
  FCaptionMode = Value;
  Repaint();
  Realign();
}

void TbsSkinPanel::SetRollUpMode(bool Value) {
  FRollUpMode = Value;
  if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetGlyph(TBitmap* Value) {
  if (Value == nullptr)
    FGlyph = std::make_unique<TBitmap>();
  else
    FGlyph->Assign(Value);
  Repaint();
}

void TbsSkinPanel::SetNumGlyphs(TbsNumGlyphs Value) {
  // One state, or normal and disabled side by side.
  FNumGlyphs = Value < 1 ? 1 : Value > 2 ? 2 : Value;
  Repaint();
}

void TbsSkinPanel::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

void TbsSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

// ---- roll-up ----

void TbsSkinPanel::SetRollUpState(bool Value) {
  if (FRollUpState == Value) return;
  TSizeConstraints* C = Constraints();
  auto restore = [&] {
    C->SetMaxWidth(FCMaxWidth);
    C->SetMinWidth(FCMinWidth);
    C->SetMaxHeight(FCMaxHeight);
    C->SetMinHeight(FCMinHeight);
  };
  if (!FRollUpMode) {
    restore();
    FRollUpState = false;
    return;
  }
  // The constraints would stop the height change: put aside while rolled up. Unrolling brings them
  // back rather than putting aside the zeros, so a roll-up and unroll does not lose them.
  if (Value) {
    FCMaxWidth = C->MaxWidth();
    FCMinWidth = C->MinWidth();
    FCMaxHeight = C->MaxHeight();
    FCMinHeight = C->MinHeight();
  }
  C->SetMaxWidth(0);
  C->SetMinWidth(0);
  C->SetMaxHeight(0);
  C->SetMinHeight(0);
  FRollUpState = Value;
  auto Alive = FAlive;
  DoRollUp(Value);
  if (!*Alive) return;
  if (!Value) restore();
  if (OnChangeRollUpState) {
    const TNotifyEvent Handler = OnChangeRollUpState;
    Handler(this);
  }
}

void TbsSkinPanel::DoRollUp(bool ARollUp) {
  FInChangingRollUp = true;
  if (ARollUp && FRealHeight == -1) {
    FRealHeight = Height();
    DisableAlign();
    for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(false);
    if (FIndex == -1 || !FUseSkinSize)
      SetHeight(FDefaultCaptionHeight + 1);
    else
      SetHeight(Height() - RectHeight(NewClRect));
  } else if (!ARollUp && FRealHeight != -1) {
    SetHeight(FRealHeight);
    FRealHeight = -1;
    for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(true);
    EnableAlign();
  }
  FInChangingRollUp = false;
}

// ---- element, size and client rectangle ----

void TbsSkinPanel::GetSkinData() {
  BGPictureIndex = -1;
  TbsSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* R = dynamic_cast<TbsDataSkinPanelControl*>(FSD->Ctrls(FIndex));
  if (R == nullptr) return;
  CaptionRect = R->CaptionRect;
  Alignment = R->Alignment;
  FontName = R->FontName;
  FontColor = R->FontColor;
  FontStyle = R->FontStyle;
  FontHeight = R->FontHeight;
  BGPictureIndex = R->BGPictureIndex;
  CheckImageRect = R->CheckImageRect;
  UnCheckImageRect = R->UnCheckImageRect;
  MarkFrameRect = R->MarkFrameRect;
  FrameRect = R->FrameRect;
  FrameTextRect = R->FrameTextRect;
  FrameLeftOffset = R->FrameLeftOffset;
  FrameRightOffset = R->FrameRightOffset;
}

void TbsSkinPanel::ChangeSkinData() {
  TbsSkinCustomControl::ChangeSkinData();
  if (FRollUpState) {
    // Take the new element's rolled-up height and keep the unrolled one.
    const Integer Saved = FRealHeight;
    FRealHeight = -1;
    DoRollUp(true);
    FRealHeight = Saved;
  } else {
    Realign();
  }
}

void TbsSkinPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FIndex == -1) Repaint();
}

void TbsSkinPanel::AdjustClientRect(TRect& R) {
  const TRect In = R;
  TbsSkinCustomControl::AdjustClientRect(R);
  if (FEmptyDrawing) return;
  if (FIndex == -1 || designing()) {
    if (FBorderStyle != bvNone) InflateRect(&R, -1, -1);
    if (FCaptionMode) {
      if (FRibbonStyle)
        R.Bottom -= FDefaultCaptionHeight;
      else
        R.Top += FDefaultCaptionHeight;
    }
    return;
  }
  if (BGPictureIndex == -1 && (FBorderStyle != bvNone || FCaptionMode || ResizeMode != 1)) R = NewClRect;
  if (!FUseSkinSize && FCaptionMode) {
    if (FRibbonStyle)
      R.Bottom = In.Bottom - FDefaultCaptionHeight;
    else
      R.Top = In.Top + FDefaultCaptionHeight;
  }
}

void TbsSkinPanel::GetSkinClientRect(TRect& R) {
  R = Rect(0, 0, Width(), Height());
  AdjustClientRect(R);
}

void TbsSkinPanel::CreateParams(TCreateParams& Params) {
  TbsSkinCustomControl::CreateParams(Params);
  // A resize does not invalidate the whole window.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---- messages ----

void TbsSkinPanel::CheckParentBackground() {
  if (!FTransparentMode) return;
  Repaint();
  CheckControlsBackground();
}

void TbsSkinPanel::WMMove(TMessage& Message) {
  TbsSkinCustomControl::WMMove(Message);
  if (!FTransparentMode) return;
  Repaint();
  CheckControlsBackground();
}

void TbsSkinPanel::CMEnabledChanged(TMessage& Message) {
  TbsSkinCustomControl::CMEnabledChanged(Message);
  Repaint();
}

void TbsSkinPanel::CMTextChanged(TMessage&) {
  if (FCaptionMode) Repaint();
}

void TbsSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  if ((FRollUpMode || FCheckedMode) && FCaptionMode && Button == mbLeft) {
    const TRect R = FIndex != -1 ? NewCaptionRect : Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
    // Edges count as inside.
    if (X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom) {
      if (FCheckedMode) SetChecked(!FChecked);
      if (!*Alive) return;
      if (FRollUpMode) SetRollUpState(!FRollUpState);
      if (!*Alive) return;
    }
  }
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- paint panel and group box ----

TbsSkinPaintPanel::TbsSkinPaintPanel(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  FForceBackground = false;
}

void TbsSkinPaintPanel::firePanelPaint(TCanvas* C) {
  if (!OnPanelPaint) return;
  TRect R;
  GetSkinClientRect(R);
  OnPanelPaint(C, R);
}

void TbsSkinPaintPanel::PaintClient(TCanvas* Cnvs) {
  firePanelPaint(Cnvs);
}

void TbsSkinPaintPanel::CreateControlDefaultImage(TBitmap* B) {
  TbsSkinPanel::CreateControlDefaultImage(B);
  firePanelPaint(B->Canvas());
}

void TbsSkinPaintPanel::CreateControlSkinImage(TBitmap* B) {
  TbsSkinPanel::CreateControlSkinImage(B);
  firePanelPaint(B->Canvas());
}

void TbsSkinPaintPanel::WMEraseBkgnd(TMessage& Message) {
  if (!FromWMPaint && Message.WParam != 0) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 0;
}

TbsSkinGroupBox::TbsSkinGroupBox(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  FSkinDataName = "groupbox";
  SetCaptionMode(true);
}

void TbsSkinGroupBox::GetSkinData() {
  TbsSkinPanel::GetSkinData();
  // A client part that ends above the caption cannot be drawn as border strips around it.
  if (FIndex != -1 && ClRect.Bottom < CaptionRect.Top) FForceBackground = false;
}
