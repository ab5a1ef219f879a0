#include "skin/controls/buttons/bsskinspeedbutton.h"

#include "platform/ui/menus/menuitem.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsbuttonparts.h"
#include "skin/core/bseffectbmp.h"
#include "skin/menus/bsskinimagesmenu.h"

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner) : TbsGraphicSkinCustomControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
  SetTransparent(false);
  FSkinDataName = "toolbutton";
  SetBounds(FLeft, FTop, 25, 25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() {
  *FAlive = false;
  FEffects.StopRepeat();
  FEffects.StopAnimate();
  FEffects.StopMorph();
  if (FButtonImages) FButtonImages->RemoveFreeNotification(this);
  // The images menu outlives the button: its handlers must not reach a freed one.
  if (FSkinImagesMenu) {
    FSkinImagesMenu->RemoveFreeNotification(this);
    FSkinImagesMenu->OnInternalChange = nullptr;
    FSkinImagesMenu->OnInternalMenuClose = nullptr;
  }
}

TbsButtonEffects::THost TbsSkinSpeedButton::effectsHost() {
  TbsButtonEffects::THost H;
  H.Owner = this;
  H.Repaint = [this] { Repaint(); };
  H.Hovered = [this] { return FMouseIn; };
  H.CanMorph = [this] { return FIndex != -1 && morphingEnabled(); };
  H.Click = [this] { ButtonClick(); };
  H.FrameCount = &FrameCount;
  H.RepeatInterval = &FRepeatInterval;
  return H;
}

// ---- properties ----

void TbsSkinSpeedButton::SetTransparent(bool Value) {
  if (Value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  if (!FStopDraw) Repaint();
}

void TbsSkinSpeedButton::SetTransparentNoDraw(bool Value) {
  FStopDraw = true;
  SetTransparent(Value);
  FStopDraw = false;
}

void TbsSkinSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  SetTransparent(Value);
  Repaint();
}

void TbsSkinSpeedButton::SetCheckedMode(bool Value) {
  if (FCheckedMode == Value) return;
  FCheckedMode = Value;
  if (Value)
    FGroupIndex = -1;
  else if (FGroupIndex == -1)
    FGroupIndex = 0;
}

void TbsSkinSpeedButton::SetImageList(TCustomImageList* Value) {
  if (FButtonImages == Value) return;
  if (FButtonImages) FButtonImages->RemoveFreeNotification(this);
  FButtonImages = Value;
  if (FButtonImages) FButtonImages->FreeNotification(this);
}

void TbsSkinSpeedButton::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Repaint();
}

void TbsSkinSpeedButton::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
    SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
  else
    Repaint();
}

void TbsSkinSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph.Assign(Value);
  Repaint();
}

void TbsSkinSpeedButton::SetNumGlyphs(TbsNumGlyphs Value) {
  FGlyph.NumGlyphs = Value;
  Repaint();
}

void TbsSkinSpeedButton::SetMargin(Integer Value) {
  if (FGlyph.SetMargin(Value)) Repaint();
}

void TbsSkinSpeedButton::SetSpacing(Integer Value) {
  if (FGlyph.SetSpacing(Value)) Repaint();
}

void TbsSkinSpeedButton::SetLayout(TbsButtonLayout Value) {
  if (FGlyph.SetLayout(Value)) Repaint();
}

void TbsSkinSpeedButton::Loaded() {
  TbsGraphicSkinCustomControl::Loaded();
  // A flat button stored pressed shows its pressed picture.
  if (FFlat && Transparent() && FDown) SetTransparentNoDraw(false);
}

void TbsSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
  if (AComponent == FButtonImages) FButtonImages = nullptr;
}

void TbsSkinSpeedButton::RefreshButton() {
  FMouseIn = false;
  FDown = false;
  if (morphingEnabled()) FEffects.MorphKf = 0;
  if (effectsEnabled()) FEffects.StopAnimate();
  Repaint();
}

void TbsSkinSpeedButton::ButtonClick() {
  // No actions in this library; a copy runs so the handler may free the button.
  if (TNotifyEvent Handler = OnClick) Handler(this);
}

// ---- element ----

bool TbsSkinSpeedButton::effectsEnabled() const {
  return FSD != nullptr && !FSD->Empty && FSD->EnableSkinEffects();
}

bool TbsSkinSpeedButton::canAnimate() const {
  return FIndex != -1 && effectsEnabled() && !IsEmptyRect(AnimateSkinRect);
}

void TbsSkinSpeedButton::GetSkinData() {
  TbsGraphicSkinCustomControl::GetSkinData();
  if (FIndex == -1) {
    ActiveSkinRect = TRect{};
    return;
  }
  if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(FIndex))) {
    CopyButtonElement(R, SkinRect);
    // A transparent button does not fade; a flat one without a marker of its own shows the normal one.
    if (Transparent()) Morphing = false;
    if (IsEmptyRect(MenuMarkerFlatRect)) MenuMarkerFlatRect = MenuMarkerRect;
  }
  if (effectsEnabled()) FEffects.ShowAnimateFrame(AnimateSkinRect, SkinRect, ActiveSkinRect);
}

void TbsSkinSpeedButton::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || ResizeMode == 1) {
    TbsGraphicSkinCustomControl::CalcSize(AWidth, AHeight);
    return;
  }
  NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + AWidth - RectWidth(SkinRect),
                   ClRect.Bottom + AHeight - RectHeight(SkinRect));
}

void TbsSkinSpeedButton::ChangeSkinData() {
  FEffects.StopAnimate();
  FEffects.StopMorph();
  TbsGraphicSkinCustomControl::ChangeSkinData();
  if (morphingEnabled() && FIndex != -1 && FMouseIn && !Transparent()) FEffects.MorphKf = 1;
}

// ---- painting ----

void TbsSkinSpeedButton::applyCharset(TCanvas* C) const {
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  else
    C->Font()->SetCharset(FDefaultFont->Charset());
}

void TbsSkinSpeedButton::applyStateFont(TCanvas* C, bool ADown, bool AMouseIn) const {
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  TColor Color = FontColor;
  if (Enabled() && !FUseSkinFontColor)
    Color = FDefaultFont->Color();
  else if (!Enabled())
    Color = DisabledFontColor;
  else if (ADown && AMouseIn)
    Color = DownFontColor;
  else if (AMouseIn)
    Color = ActiveFontColor;
  C->Font()->SetColor(Color);
}

bool TbsSkinSpeedButton::paintEvent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn) {
  if (!OnPaint) return true;
  bool DrawDefault = true;
  OnPaint(this, C, R, ADown, AMouseIn, DrawDefault);
  return DrawDefault;
}

void TbsSkinSpeedButton::drawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn,
                                     bool TransparentLook) {
  C->Brush()->SetStyle(bsClear);
  const String Text = captionText();
  if (FSkinImagesMenu != nullptr && FUseImagesMenuImage && FSkinImagesMenu->SelectedItem() != nullptr) {
    TbsImagesMenuItem* Item = FSkinImagesMenu->SelectedItem();
    DrawCaptionWithImage(C, R, FGlyph.Margin, FGlyph.Spacing, FGlyph.Layout,
                         FUseImagesMenuCaption ? Item->Caption() : Text, Item->ImageIndex(),
                         FSkinImagesMenu->Images(), false, Enabled(), FDrawColorMarker, FColorMarkerValue);
    return;
  }
  if (auto* Bar = dynamic_cast<TbsSkinToolBar*>(Parent()); Bar != nullptr && FGlyph.Bitmap->Empty()) {
    TCustomImageList* IL = Bar->Images();
    bool AsEnabled = Enabled();
    if (!Enabled() && Bar->DisabledImages() != nullptr) {
      IL = Bar->DisabledImages();
      AsEnabled = true;
    } else if (!TransparentLook && (AMouseIn || ADown) && Bar->HotImages() != nullptr) {
      IL = Bar->HotImages();
    }
    DrawCaptionWithImage(C, R, FGlyph.Margin, FGlyph.Spacing, FGlyph.Layout, Text, FImageIndex, IL, false,
                         AsEnabled, FDrawColorMarker, FColorMarkerValue);
    return;
  }
  if (FGlyph.Bitmap->Empty() && FButtonImages != nullptr && FImageIndex >= 0 &&
      FImageIndex < FButtonImages->Count()) {
    DrawCaptionWithImage(C, R, FGlyph.Margin, FGlyph.Spacing, FGlyph.Layout, Text, FImageIndex, FButtonImages,
                         false, Enabled(), FDrawColorMarker, FColorMarkerValue);
    return;
  }
  DrawCaptionWithGlyph(C, R, FGlyph.Margin, FGlyph.Spacing, FGlyph.Layout, Text, FGlyph.Bitmap.get(),
                       FGlyph.NumGlyphs, FGlyph.GlyphNum(ADown, AMouseIn, Enabled()), false, FDrawColorMarker,
                       FColorMarkerValue);
}

void TbsSkinSpeedButton::DrawMenuMarker(TCanvas* Cnvs, const TRect& R, bool AActive, bool ADown, bool AFlat) {
  TRect M = MenuMarkerRect;
  if (ADown)
    M = MenuMarkerDownRect;
  else if (AActive)
    M = MenuMarkerActiveRect;
  else if (AFlat)
    M = MenuMarkerFlatRect;
  if (IsEmptyRect(M) || !CanCompose(Picture, M)) return;
  DrawMarkerPicture(Cnvs, R, Picture, M, MenuMarkerTransparentColor);
}

void TbsSkinSpeedButton::Paint() {
  GetSkinData();
  paintButton();
}

void TbsSkinSpeedButton::paintButton() {
  if (Width() <= 0 || Height() <= 0) return;
  if (FIndex == -1) {
    if (!pressedLook() && !FMouseIn && Transparent()) {
      TCanvas* C = Canvas();
      C->SetFont(FDefaultFont.get());
      applyCharset(C);
      if (!Enabled()) C->Font()->SetColor(clBtnShadow);
      if (!paintEvent(C, ClientRect(), FDown, FMouseIn)) return;
      drawContent(C, ClientRect(), FDown, FMouseIn, true);
      return;
    }
    TBitmap B;
    B.SetSize(Width(), Height());
    CreateControlDefaultImage(&B);
    Canvas()->Draw(0, 0, &B);
    return;
  }
  TBitmap B;
  B.SetSize(Width(), Height());
  if (morphingEnabled() && FEffects.MorphKf > 0 && FEffects.MorphKf < 1 && !Transparent()) {
    TBitmap B2;
    B2.SetSize(Width(), Height());
    CreateButtonImage(&B, SkinRect, false, false);
    CreateButtonImage(&B2, ActiveSkinRect, false, true);
    MorphDraw(Canvas()->Handle(), B.Handle(), B2.Handle(), MorphKind, FEffects.MorphKf);
    return;
  }
  if (pressedLook())
    CreateButtonImage(&B, DownSkinRect, true, true);
  else if (FMouseIn || (morphingEnabled() && FEffects.MorphKf == 1))
    CreateButtonImage(&B, ActiveSkinRect, false, true);
  else if (Transparent()) {
    paintTransparentIdle();
    return;
  } else if (Enabled() || IsEmptyRect(DisabledSkinRect))
    CreateButtonImage(&B, SkinRect, false, false);
  else
    CreateButtonImage(&B, DisabledSkinRect, false, false);
  Canvas()->Draw(0, 0, &B);
}

void TbsSkinSpeedButton::grabBackground(TBitmap* B) {
  B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Canvas(), Rect(0, 0, Width(), Height()));
}

void TbsSkinSpeedButton::paintTransparentIdle() {
  TCanvas* C = Canvas();
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  if (!Enabled())
    C->Font()->SetColor(FSD->SkinColors()->cBtnShadow());
  else if (FUseSkinFontColor)
    C->Font()->SetColor(FSD->SkinColors()->cBtnText());
  else
    C->Font()->SetColor(FDefaultFont->Color());
  if (!paintEvent(C, NewClRect, FDown, FMouseIn)) return;
  drawContent(C, NewClRect, FDown, FMouseIn, true);
}

void TbsSkinSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  TRect Content = NewClRect;
  if (!FUseSkinSize && ResizeMode != 1) {
    // Free size: the state picture stretched or nine-sliced over the whole button.
    if (!CanCompose(Picture, R))
      CreateControlDefaultImage(B);
    else if (ResizeMode == 0)
      B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
    else
      ComposeStretchedSkinImage(B, Picture, R, ClRect, true);
    Content = Rect(ClRect.Left, ClRect.Top, ClRect.Right + B->Width() - RectWidth(R),
                   ClRect.Bottom + B->Height() - RectHeight(R));
  } else {
    CreateSkinImage(B, Picture, R);
  }
  TCanvas* C = B->Canvas();
  applyStateFont(C, ADown, AMouseIn);
  if (!paintEvent(C, Content, ADown, AMouseIn)) return;
  drawContent(C, Content, ADown, AMouseIn, false);
}

void TbsSkinSpeedButton::drawDefaultFace(TCanvas* C, const TRect& R) {
  // A flat transparent idle button leaves the bar showing.
  if (downLook())
    DrawButtonFace(C, R, bfDown);
  else if (FMouseIn)
    DrawButtonFace(C, R, bfHover);
  else if (designing() || !FFlat)
    DrawButtonFace(C, R, bfTool);
  else if (!Transparent())
    DrawButtonFace(C, R, bfFlat);
}

void TbsSkinSpeedButton::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const TRect R = ClientRect();
  drawDefaultFace(C, R);
  C->SetFont(FDefaultFont.get());
  applyCharset(C);
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  if (!paintEvent(C, R, FDown, FMouseIn)) return;
  drawContent(C, R, FDown, FMouseIn, false);
}

// ---- cross-fade and frame animation ----

void TbsSkinSpeedButton::StartMorphOrRepaint() {
  if (!morphingEnabled() || FIndex == -1 || Transparent() || FFlat)
    Repaint();
  else
    FEffects.StartMorph();
}

void TbsSkinSpeedButton::StartAnimate(bool AInc) {
  if (!FFlat) FEffects.StartAnimate(AInc, AnimateInterval);
}

// ---- down state, groups and repeat ----

void TbsSkinSpeedButton::SetDown(bool Value) {
  FDown = Value;
  if (morphingEnabled()) {
    FEffects.MorphKf = 1;
    if (Value)
      FEffects.StopMorph();
    else
      FEffects.StartMorph();
  }
  // A flat button returns to its invisible idle look.
  if (!FMouseIn && FFlat && !Transparent() && !FDown && !designing()) SetTransparentNoDraw(true);
  Repaint();
  if (FGroupIndex > 0 && FDown && !FAllowAllUp) RaiseGroupButtons();
}

void TbsSkinSpeedButton::RaiseGroupButtons() {
  TWinControl* P = Parent();
  if (P == nullptr) return;
  for (Integer i = 0; i < P->ControlCount(); ++i) {
    auto* B = dynamic_cast<TbsSkinSpeedButton*>(P->Controls(i));
    if (B != nullptr && B != this && B->FGroupIndex == FGroupIndex && B->FDown) B->SetDown(false);
  }
}

// ---- input ----

void TbsSkinSpeedButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR) {
    CMDialogChar(Message);
    return;
  }
  TbsGraphicSkinCustomControl::Dispatch(Message);
}

void TbsSkinSpeedButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(char32_t(Message.WParam), Caption()) && Enabled() && Visible() && Parent() != nullptr &&
      Parent()->Showing()) {
    ButtonClick();
    Message.Result = 1;
    return;
  }
  TbsGraphicSkinCustomControl::Dispatch(Message);
}

void TbsSkinSpeedButton::CMMouseEnter(TMessage& Message) {
  const bool React = (FGroupIndex == 0 || !FDown) && Enabled();
  if (FFlat && React && !designing()) SetTransparentNoDraw(false);
  auto Alive = FAlive;
  TbsGraphicSkinCustomControl::CMMouseEnter(Message);
  if (!*Alive || !Enabled() || designing()) return;
  FMouseIn = true;
  if (React) {
    if (FDown) {
      if (morphingEnabled()) FEffects.MorphKf = 1;
      Repaint();
    } else {
      GetSkinData();
      if (canAnimate()) StartAnimate(true);
      StartMorphOrRepaint();
    }
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) FEffects.StartRepeat();
}

void TbsSkinSpeedButton::CMMouseLeave(TMessage& Message) {
  const bool React = (FGroupIndex == 0 || !FDown) && Enabled();
  if (FFlat && React && !designing()) SetTransparentNoDraw(true);
  auto Alive = FAlive;
  TbsGraphicSkinCustomControl::CMMouseLeave(Message);
  if (!*Alive || !Enabled() || designing()) return;
  FMouseIn = false;
  if (FGroupIndex == 0 || !FDown) {
    GetSkinData();
    if (canAnimate()) StartAnimate(false);
    StartMorphOrRepaint();
  }
  if (FDown && FRepeatMode && FEffects.RepeatRunning() && FGroupIndex == 0) FEffects.StopRepeat();
}

void TbsSkinSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsGraphicSkinCustomControl::MouseMove(Shift, X, Y);
  if (*Alive) TbsButtonPressSteps<TbsSkinSpeedButton>::Move(*this, X, Y);
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (*Alive && Button == mbLeft) TbsButtonPressSteps<TbsSkinSpeedButton>::Down(*this);
}

void TbsSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  // The library's own click comes before OnMouseUp, as for every skinned control.
  if (Button == mbLeft && !TbsButtonPressSteps<TbsSkinSpeedButton>::Up(*this)) return;
  TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinSpeedButton::CMEnabledChanged(TMessage& Message) {
  TbsGraphicSkinCustomControl::CMEnabledChanged(Message);
  if (morphingEnabled()) {
    FEffects.StopMorph();
    FEffects.MorphKf = 0;
  }
  FMouseIn = false;
  Repaint();
}

void TbsSkinSpeedButton::CMTextChanged(TMessage& Message) {
  TbsGraphicSkinCustomControl::CMTextChanged(Message);
  Repaint();
}
