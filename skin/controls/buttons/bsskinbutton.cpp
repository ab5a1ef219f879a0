// The push button's look: element copy, state choice, state images, default look, cross-fade, frame
// animation and glow frame. Its input and click rules are in bsskinbuttoninput.cpp.
#include "skin/controls/buttons/bsskinbutton.h"

#include "platform/ui/core/form.h"
#include "skin/controls/buttons/bsbuttonparts.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bssystem.h"
#include "skin/menus/bsskinimagesmenu.h"

TbsSkinButton::TbsSkinButton(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  // The button fires its own click (before OnMouseUp) and takes a quick second press as a press.
  FControlStyle.Exclude(csClickEvents);
  FControlStyle.Exclude(csDoubleClicks);
  FSkinDataName = "button";
  FLayerManager = new TbsLayerManager(this);
  SetTabStop(true);
  SetBounds(FLeft, FTop, 75, 25);
}

TbsSkinButton::~TbsSkinButton() {
  *FAlive = false;
  FEffects.StopMorph();
  FEffects.StopAnimate();
  FEffects.StopRepeat();
  if (FImageList) FImageList->RemoveFreeNotification(this);
  // The images menu outlives the button: its change handler must not reach a freed one.
  if (FSkinImagesMenu) {
    FSkinImagesMenu->RemoveFreeNotification(this);
    FSkinImagesMenu->OnInternalChange = nullptr;
  }
}

TbsButtonEffects::THost TbsSkinButton::effectsHost() {
  TbsButtonEffects::THost H;
  H.Owner = this;
  H.Repaint = [this] { Repaint(); };
  H.Hovered = [this] { return FMouseIn || IsFocused(); };
  H.CanMorph = [this] { return FIndex != -1 && morphingEnabled(); };
  H.Click = [this] { ButtonClick(); };
  H.FrameCount = &FrameCount;
  H.RepeatInterval = &FRepeatInterval;
  return H;
}

// ---- properties ----

void TbsSkinButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Repaint();
}

void TbsSkinButton::SetImageList(TCustomImageList* Value) {
  if (FImageList == Value) return;
  if (FImageList) FImageList->RemoveFreeNotification(this);
  FImageList = Value;
  if (FImageList) FImageList->FreeNotification(this);
  Repaint();
}

void TbsSkinButton::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Repaint();
}

void TbsSkinButton::SetGlyph(TBitmap* Value) {
  FGlyph.Assign(Value);
  Repaint();
}

void TbsSkinButton::SetNumGlyphs(TbsNumGlyphs Value) {
  FGlyph.NumGlyphs = Value;
  Repaint();
}

void TbsSkinButton::SetMargin(Integer Value) {
  if (FGlyph.SetMargin(Value)) Repaint();
}

void TbsSkinButton::SetSpacing(Integer Value) {
  if (FGlyph.SetSpacing(Value)) Repaint();
}

void TbsSkinButton::SetLayout(TbsButtonLayout Value) {
  if (FGlyph.SetLayout(Value)) Repaint();
}

void TbsSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
  if (Operation == opRemove && AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
}

void TbsSkinButton::SetSkinImagesMenu(TbsSkinImagesMenu* Value) {
  LinkSkinImagesMenu(this, FSkinImagesMenu, Value, [this] { Repaint(); });
  Repaint();
}

// ---- element ----

void TbsSkinButton::GetSkinData() {
  TbsSkinCustomControl::GetSkinData();
  if (FIndex == -1) {
    AnimateSkinRect = TRect{};
    return;
  }
  if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(FIndex))) {
    // A button not at the element's size gets no window region.
    if (!FUseSkinSize && R->MaskPictureIndex != -1) MaskPicture = nullptr;
    CopyButtonElement(R, SkinRect);
    FocusedSkinRect = R->FocusedSkinRect;
    ShowFocus = R->ShowFocus;
    GlowLayerPictureIndex = R->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = R->GlowLayerMaskPictureIndex;
    GlowLayerOffsetLeft = R->GlowLayerOffsetLeft;
    GlowLayerOffsetRight = R->GlowLayerOffsetRight;
    GlowLayerOffsetTop = R->GlowLayerOffsetTop;
    GlowLayerOffsetBottom = R->GlowLayerOffsetBottom;
    GlowLayerShowOffsetX = R->GlowLayerShowOffsetX;
    GlowLayerShowOffsetY = R->GlowLayerShowOffsetY;
    GlowLayerAlphaBlendValue = R->GlowLayerAlphaBlendValue;
  }
  if (effectsEnabled()) FEffects.ShowAnimateFrame(AnimateSkinRect, SkinRect, ActiveSkinRect);
}

bool TbsSkinButton::effectsEnabled() const {
  return FSD != nullptr && !FSD->Empty && FSD->EnableSkinEffects();
}

bool TbsSkinButton::IsFocused() {
  return HandleAllocated() && GetFocus() == Handle() && FCanFocused;
}

bool TbsSkinButton::pressedLook(bool WithDownState) {
  if (WithDownState && FDownState) return true;
  return FDown && (FGroupIndex != 0 || FMouseIn || (IsFocused() && !FMouseDown));
}

void TbsSkinButton::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || ResizeMode == 1) {
    TbsSkinCustomControl::CalcSize(AWidth, AHeight);
    return;
  }
  NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + AWidth - RectWidth(SkinRect),
                   ClRect.Bottom + AHeight - RectHeight(SkinRect));
}

// ---- painting ----

void TbsSkinButton::Paint() {
  GetSkinData();
  if (FIndex == -1) {
    TbsSkinControl::Paint();
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  B.SetSize(Width(), Height());
  if (morphingEnabled() && FEffects.MorphKf > 0 && FEffects.MorphKf < 1 && Enabled()) {
    TBitmap B2;
    B2.SetSize(Width(), Height());
    CreateButtonImage(&B, SkinRect, false, false);
    CreateButtonImage(&B2, ActiveSkinRect, false, true);
    MorphDraw(Canvas()->Handle(), B.Handle(), B2.Handle(), MorphKind, FEffects.MorphKf);
    return;
  }
  const bool Focused = IsFocused();
  if (!Enabled() && !IsEmptyRect(DisabledSkinRect))
    CreateButtonImage(&B, DisabledSkinRect, false, false);
  else if (pressedLook(true))
    CreateButtonImage(&B, DownSkinRect, true, true);
  else if (Focused && !IsEmptyRect(FocusedSkinRect) && !FEffects.Animating())
    CreateButtonImage(&B, FocusedSkinRect, false, true);
  else if (Focused || FMouseIn)
    CreateButtonImage(&B, ActiveSkinRect, false, true);
  else if (morphingEnabled() && FEffects.MorphKf == 1)
    CreateButtonImage(&B, ActiveSkinRect, false, true);
  else
    CreateButtonImage(&B, SkinRect, false, false);
  Canvas()->Draw(0, 0, &B);
}

TColor TbsSkinButton::stateFontColor(bool ADown, bool AMouseIn) const {
  if (Enabled() && !FUseSkinFontColor) return FDefaultFont->Color();
  if (!Enabled()) return DisabledFontColor;
  if (ADown && AMouseIn) return DownFontColor;
  if (AMouseIn) return ActiveFontColor;
  return FontColor;
}

bool TbsSkinButton::paintEvent(TCanvas* C, bool ADown, bool AMouseIn) {
  if (!OnPaint) return true;
  bool DrawDefault = true;
  OnPaint(this, C, NewClRect, ADown, AMouseIn, DrawDefault);
  return DrawDefault;
}

void TbsSkinButton::drawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn) {
  C->Brush()->SetStyle(bsClear);
  if (FSkinImagesMenu != nullptr && FUseImagesMenuImage && FSkinImagesMenu->SelectedItem() != nullptr) {
    TbsImagesMenuItem* Item = FSkinImagesMenu->SelectedItem();
    DrawCaptionWithImage(C, R, FGlyph.Margin, FGlyph.Spacing, FGlyph.Layout,
                         FUseImagesMenuCaption ? Item->Caption() : Caption(), Item->ImageIndex(),
                         FSkinImagesMenu->Images(), false, Enabled(), false, 0);
    return;
  }
  if (FImageList != nullptr && FImageIndex >= 0 && FImageIndex < FImageList->Count())
    DrawCaptionWithImage(C, R, FGlyph.Margin, FGlyph.Spacing, FGlyph.Layout, Caption(), FImageIndex,
                         FImageList, false, Enabled(), false, 0);
  else
    DrawCaptionWithGlyph(C, R, FGlyph.Margin, FGlyph.Spacing, FGlyph.Layout, Caption(), FGlyph.Bitmap.get(),
                         FGlyph.NumGlyphs, GetGlyphNum(ADown, AMouseIn), false, false, 0);
}

void TbsSkinButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  if (!FUseSkinSize && ResizeMode != 1) {
    CreateStretchedButtonImage(B, R, ADown, AMouseIn);
    return;
  }
  if ((ADown || AMouseIn || !FTransparent) && !CanCompose(Picture, R))
    drawDefaultFace(B->Canvas(), Rect(0, 0, B->Width(), B->Height()), ADown, AMouseIn);
  else if (ADown || AMouseIn || !FTransparent)
    CreateSkinImage(B, Picture, R);
  else
    DrawParentBackground(this, B->Canvas());
  TCanvas* C = B->Canvas();
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  C->Font()->SetColor(stateFontColor(ADown, AMouseIn));
  if (ShowFocus && HandleAllocated() && GetFocus() == Handle()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawDottedFocusRect(C, NewClRect);
    C->Brush()->SetStyle(bsClear);
  }
  if (!paintEvent(C, ADown, AMouseIn)) return;
  drawContent(C, NewClRect, ADown, AMouseIn);
}

void TbsSkinButton::CreateStretchedButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  const bool Drawable = CanCompose(Picture, R);
  if (ADown || AMouseIn || !FTransparent) {
    if (!Drawable)
      drawDefaultFace(B->Canvas(), Rect(0, 0, B->Width(), B->Height()), ADown, AMouseIn);
    else if (ResizeMode == 0)
      B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
    else if (ResizeMode == 2 || ResizeMode == 3)
      ComposeStretchedSkinImage(B, Picture, R, ClRect, true);
    else
      DrawParentBackground(this, B->Canvas());
  } else {
    DrawParentBackground(this, B->Canvas());
  }
  TCanvas* C = B->Canvas();
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  C->Font()->SetColor(stateFontColor(ADown, AMouseIn));
  const TRect Content = Rect(ClRect.Left, ClRect.Top, ClRect.Right + B->Width() - RectWidth(R),
                             ClRect.Bottom + B->Height() - RectHeight(R));
  if (ShowFocus && HandleAllocated() && GetFocus() == Handle()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawDottedFocusRect(C, Content);
    C->Brush()->SetStyle(bsClear);
  }
  if (!paintEvent(C, ADown, AMouseIn)) return;
  drawContent(C, Content, ADown, AMouseIn);
}

void TbsSkinButton::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const TRect R = ClientRect();
  const bool Down = pressedLook(false);
  drawDefaultFace(C, R, Down, !Down && (FMouseIn || IsFocused()));
  C->SetFont(FDefaultFont.get());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  if (OnPaint) {
    bool DrawDefault = true;
    OnPaint(this, C, R, FDown, FMouseIn, DrawDefault);
    if (!DrawDefault) return;
  }
  drawContent(C, R, FDown, FMouseIn);
}

void TbsSkinButton::drawDefaultFace(TCanvas* C, const TRect& R, bool ADown, bool AHot) {
  DrawButtonFace(C, R, ADown ? bfDown : AHot ? bfHover : bfNormal);
}

void TbsSkinButton::CheckParentBackground() {
  if (FTransparent && !FDown && !FMouseIn) Repaint();
}

void TbsSkinButton::WMEraseBkgnd(TMessage& Message) {
  // Outside WM_PAINT a parent drawing its children into its own background gets the button's image.
  if (!FromWMPaint && Message.WParam != 0) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 1;
}

// ---- skin change ----

void TbsSkinButton::ChangeSkinData() {
  FEffects.StopMorph();
  FEffects.StopAnimate();
  FEffects.MorphKf = 0;
  TbsSkinCustomControl::ChangeSkinData();
  if (morphingEnabled() && (FMouseIn || IsFocused())) {
    FEffects.MorphKf = 1;
    Repaint();
  }
  if (FMouseIn && HandleAllocated()) PostMessage(Handle(), WM_SHOWLAYER, 0, 0);
}

void TbsSkinButton::BeforeChangeSkinData() {
  TbsSkinCustomControl::BeforeChangeSkinData();
  if (FLayerManager->IsVisible) FLayerManager->Hide();
}

// ---- cross-fade ----

void TbsSkinButton::StartMorphOrRepaint() {
  GetSkinData();
  if (morphingEnabled() && FIndex != -1)
    FEffects.StartMorph();
  else
    Repaint();
}

// ---- frame animation ----

bool TbsSkinButton::canAnimate() const {
  return FIndex != -1 && effectsEnabled() && !IsEmptyRect(AnimateSkinRect);
}

// ---- glow frame ----

void TbsSkinButton::ShowLayer() {
  if (FSD == nullptr || FSD->Empty || !IsWindows2000OrLater()) return;
  if (!FSD->ShowButtonGlowFrames() && !FAlwaysShowGlowFrame) return;
  GetSkinData();
  if (FIndex == -1 || GlowLayerPictureIndex == -1) return;
  TBitmap* Glow = SkinPictureAt(FSD, GlowLayerPictureIndex);
  TBitmap* Mask = SkinPictureAt(FSD, GlowLayerMaskPictureIndex);
  // Without both pictures there is no glow to show.
  if (Glow == nullptr || Mask == nullptr) return;
  if (auto* F = dynamic_cast<TCustomForm*>(GetParentForm(this)))
    FLayerManager->TopMostMode = F->FormStyle() == fsStayOnTop;
  TBitmap Image, ImageMask;
  const Integer DW = Width() - RectWidth(SkinRect), DH = Height() - RectHeight(SkinRect);
  auto composeH = [&](TBitmap* Src, TBitmap* Dst) {
    ComposeSkinImageH(GlowLayerOffsetLeft, GlowLayerOffsetRight, Dst, Src,
                      Rect(0, 0, Src->Width(), Src->Height()), Src->Width() + DW, Src->Height(), true);
  };
  auto composeNine = [&](TBitmap* Src, TBitmap* Dst) {
    Dst->SetSize(Src->Width() + DW, Src->Height() + DH);
    ComposeStretchedSkinImage(
        Dst, Src, Rect(0, 0, Src->Width(), Src->Height()),
        Rect(GlowLayerOffsetLeft, GlowLayerOffsetTop, Src->Width() - GlowLayerOffsetRight,
             Src->Height() - GlowLayerOffsetBottom),
        true);
  };
  if (ResizeMode == 0) {
    Image.Assign(Glow);
    ImageMask.Assign(Mask);
  } else if (ResizeMode == 2 && FUseSkinSize) {
    composeH(Glow, &Image);
    composeH(Mask, &ImageMask);
  } else if (ResizeMode == 1) {
    composeNine(Glow, &Image);
    composeNine(Mask, &ImageMask);
  } else {
    return;
  }
  const TPoint P = ClientOrigin();
  FLayerManager->Show(P.X - GlowLayerShowOffsetX, P.Y - GlowLayerShowOffsetY, &Image, &ImageMask,
                      GlowLayerAlphaBlendValue);
}

void TbsSkinButton::HideLayer() {
  if (FSD == nullptr || FSD->Empty || !FSD->ShowButtonGlowFrames() || !IsWindows2000OrLater()) return;
  if (GlowLayerPictureIndex == -1) return;
  if (ResizeMode == 0 || ResizeMode == 1 || (ResizeMode == 2 && FUseSkinSize)) FLayerManager->Hide();
}
