#include "skin/forms/frame/bsskincaptionobject.h"

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsstrings.h"
#include "skin/core/bstextglow.h"
#include "skin/forms/frame/bsformobjecthost.h"
#include "skin/forms/frame/bsframemenu.h"
#include "skin/forms/frame/bsquickbuttons.h"

TbsSkinCaptionObject::TbsSkinCaptionObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
  auto* D = dynamic_cast<TbsDataSkinCaption*>(AData);
  if (!D) throw EInvalidOperation(SInvalidCast);
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  ShadowColor = D->ShadowColor;
  ActiveShadowColor = D->ActiveShadowColor;
  Shadow = D->Shadow;
  LightColor = D->LightColor;
  ActiveLightColor = D->ActiveLightColor;
  Light = D->Light;
  Alignment = D->Alignment;
  TextRct = D->TextRct;
  FrameRect = D->FrameRect;
  ActiveFrameRect = D->ActiveFrameRect;
  FrameLeftOffset = D->FrameLeftOffset;
  FrameRightOffset = D->FrameRightOffset;
  FrameTextRect = D->FrameTextRect;
  StretchEffect = D->StretchEffect;
  FullFrame = D->FullFrame;
  AnimateSkinRect = D->AnimateSkinRect;
  FrameCount = D->FrameCount;
  AnimateInterval = D->AnimateInterval;
  InActiveAnimation = D->InActiveAnimation;
  VistaGlowEffect = D->VistaGlowEffect;
  VistaGlowInActiveEffect = D->VistaGlowInActiveEffect;
  GlowEffect = D->GlowEffect;
  GlowInActiveEffect = D->GlowInActiveEffect;
  GlowSize = D->GlowSize;
  GlowColor = D->GlowColor;
  GlowActiveColor = D->GlowActiveColor;
  GlowOffset = D->GlowOffset;
  ReflectionEffect = D->ReflectionEffect;
  ReflectionColor = D->ReflectionColor;
  ReflectionActiveColor = D->ReflectionActiveColor;
  ReflectionOffset = D->ReflectionOffset;
  DividerRect = D->DividerRect;
  InActiveDividerRect = D->InActiveDividerRect;
  DividerTransparent = D->DividerTransparent;
  DividerTransparentColor = D->DividerTransparentColor;
  QuickButtonAlphaMaskPictureIndex = D->QuickButtonAlphaMaskPictureIndex;
}

bool TbsSkinCaptionObject::EnableAnimation() {
  return HasSkin() && Parent->SkinData()->EnableSkinEffects() && !IsEmptyRect(AnimateSkinRect);
}

bool TbsSkinCaptionObject::AnyQuickButtons() const {
  return Parent->QuickButtons() && Parent->QuickButtons()->Count() > 0;
}

bool TbsSkinCaptionObject::HasQuickButtons() const {
  return AnyQuickButtons() && Parent->QuickImageList();
}

// ---------------------------------------------------------------- text

void TbsSkinCaptionObject::ApplyFontRule(TCanvas* Cnvs, TColor C) {
  TFont* F = Cnvs->Font();
  if (Parent->UseSkinFontInCaption()) {
    F->SetName(FontName);
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
  } else {
    F->Assign(Parent->DefCaptionFont());
  }
  F->SetColor(C);
  TbsSkinData* S = Parent->SkinData();
  if (S && S->ResourceStrData())
    F->SetCharset(S->ResourceStrData()->CharSet());
  else
    F->SetCharset(Parent->DefCaptionFont()->Charset());
}

String TbsSkinCaptionObject::CaptionString() {
  return Parent->Form() != nullptr ? Parent->CaptionText() : String();
}

void TbsSkinCaptionObject::DrawTextCopy(TCanvas* Cnvs, const String& S, Integer X, Integer Y, TColor Color) {
  const TColor Saved = Cnvs->Font()->Color();
  Cnvs->Font()->SetColor(Color);
  TRect R(X, Y, X, Y);
  DrawWideText(Cnvs, S, R, DT_CALCRECT);
  DrawWideText(Cnvs, S, R, DT_VCENTER);
  Cnvs->Font()->SetColor(Saved);
}

void TbsSkinCaptionObject::DrawCaptionText(TCanvas* Cnvs, TCanvas* DrawCanvas, const TRect& TR, Integer X0,
                                           Integer Y0, bool AActive) {
  if (Parent->CaptionPaintEvent()) {
    Parent->CaptionPaintEvent()(DrawCanvas, ObjectRect, AActive);
    return;
  }
  String S = CaptionString();
  if (S.empty() || IsEmptyRect(TextRct)) return;
  FitWideTextToWidth(Cnvs, S, RectWidth(TR));
  const Integer W = WideTextWidth(Cnvs, S), H = WideTextHeight(Cnvs, S);
  Integer Y = TR.Top + RectHeight(TR) / 2 - H / 2;
  Integer X;
  if (!AnyQuickButtons() && Alignment == taLeftJustify)
    X = TR.Left;
  else if (!AnyQuickButtons() && Alignment == taRightJustify)
    X = TR.Right - W;
  else
    X = TR.Left + RectWidth(TR) / 2 - W / 2;
  X += X0;
  Y += Y0;
  if (H % 2 != 0) Y -= 1;
  Cnvs->Brush()->SetStyle(bsClear);

  if (!IsEmptyRect(FrameRect)) {
    const TRect Src = AActive && !IsEmptyRect(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
    TBitmap B;
    if (FullFrame) {
      const Integer FW = RectWidth(ObjectRect) - 2 * Parent->SkinData()->ButtonsOffset;
      if (FW > 0) {
        ComposeSkinImageH(FrameLeftOffset, FrameRightOffset, &B, ActivePicture, Src, FW,
                          RectHeight(FrameRect), false);
        Cnvs->Draw(X0 + Parent->SkinData()->ButtonsOffset, Y - FrameTextRect.Top, &B);
      }
    } else {
      const Integer FW = RectWidth(FrameRect) + W - RectWidth(FrameTextRect);
      if (FW > 0) {
        ComposeSkinImageH(FrameLeftOffset, FrameRightOffset, &B, ActivePicture, Src, FW,
                          RectHeight(FrameRect), false);
        Cnvs->Draw(X - FrameTextRect.Left, Y - FrameTextRect.Top, &B);
      }
    }
    Cnvs->Brush()->SetStyle(bsClear);
  }
  if (Light) DrawTextCopy(Cnvs, S, X - 1, Y - 1, AActive ? ActiveLightColor : LightColor);
  if (Shadow) DrawTextCopy(Cnvs, S, X + 1, Y + 1, AActive ? ActiveShadowColor : ShadowColor);

  TRect R(X, Y, X, Y);
  DrawWideText(Cnvs, S, R, DT_CALCRECT);
  const Cardinal Flags = DT_VCENTER;
  if (ReflectionEffect) {
    DrawReflectionText(Cnvs, R, S, Flags, ReflectionOffset,
                       AActive ? ReflectionActiveColor : ReflectionColor);
  } else if (VistaGlowEffect && (AActive || VistaGlowInActiveEffect)) {
    DrawVistaGlowText(Cnvs, R, S, Flags, AActive ? GlowActiveColor : GlowColor);
  } else if (GlowEffect && !VistaGlowEffect && (AActive || GlowInActiveEffect)) {
    DrawGlowTextWide(Cnvs, R, S, Flags, GlowOffset, AActive ? GlowActiveColor : GlowColor, GlowSize);
  } else {
    DrawWideText(Cnvs, S, R, Flags);
  }
}

// ---------------------------------------------------------------- caption images

void TbsSkinCaptionObject::ComposeCaption(TBitmap* Bitmap, const TRect& Src, TBitmap* P) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  Bitmap->SetSize(W, H);
  if (!P) return;
  TbsSkinData* S = Parent->SkinData();
  Integer L = S->LTPoint.X - SkinRect.Left, R = SkinRect.Right - S->RTPoint.X;
  if (L < 0) L = 0;
  if (R < 0) R = 0;
  if (L != 0 || R != 0) {
    ComposeSkinImageH(L, R, Bitmap, P, Src, W, H, StretchEffect);
  } else {
    Bitmap->Canvas()->CopyRect(TRect(0, 0, W, H), P->Canvas(), Src);
  }
}

void TbsSkinCaptionObject::CaptionImage(TBitmap* B, TCanvas* DrawCanvas, const TRect& TR, bool AActive) {
  if (AActive) {
    ComposeCaption(B, ActiveSkinRect, ActivePicture);
    ApplyFontRule(B->Canvas(), ActiveFontColor);
  } else {
    ComposeCaption(B, SkinRect, Picture);
    ApplyFontRule(B->Canvas(), FontColor);
  }
  DrawCaptionText(B->Canvas(), DrawCanvas, TR, 0, 0, AActive);
}

void TbsSkinCaptionObject::ApplyInActiveEffect(TBitmap* B) {
  if (!Parent->GetAutoRenderingInActiveImage()) return;
  std::unique_ptr<TbsEffectBmp> E = TbsEffectBmp::CreateFromhWnd(B->Handle());
  if (!E) return;
  switch (Parent->SkinData()->InActiveEffect) {
    case ieBrightness:
      E->ChangeBrightness(0.5);
      break;
    case ieDarkness:
      E->ChangeDarkness(0.3);
      break;
    case ieGrayScale:
      E->GrayScale();
      break;
    case ieNoise:
      E->AddMonoNoise(50);
      break;
    case ieSplitBlur:
      E->SplitBlur(1);
      break;
    case ieInvert:
      E->Invert();
      break;
  }
  E->Draw(B->Canvas()->Handle(), 0, 0);
}

TRect TbsSkinCaptionObject::AnimationFrameRect() const {
  if (RectHeight(AnimateSkinRect) > RectHeight(SkinRect)) {
    const Integer FH = RectHeight(AnimateSkinRect) / FrameCount;
    const Integer Top = AnimateSkinRect.Top + (CurrentFrame - 1) * FH;
    return TRect(AnimateSkinRect.Left, Top, AnimateSkinRect.Right, Top + FH);
  }
  const Integer FW = RectWidth(AnimateSkinRect) / FrameCount;
  const Integer Left = AnimateSkinRect.Left + (CurrentFrame - 1) * FW;
  return TRect(Left, AnimateSkinRect.Top, Left + FW, AnimateSkinRect.Bottom);
}

void TbsSkinCaptionObject::Draw(TCanvas* Cnvs, bool) {
  if (!HasSkin()) return;
  TRect TR = TextRct;
  if (!IsEmptyRect(TR)) {
    if (Parent->CanShowAppMenuCaption()) {
      TR.Left = Parent->GetAppMenuCaptionOffsetOf() - ObjectRect.Left;
    } else if (HasQuickButtons()) {
      TR.Left += Parent->QuickButtons()->Count() * (Parent->QuickImageList()->Width() + 8) + 5;
    }
    TR.Right = RectWidth(ObjectRect) + TextRct.Right - RectWidth(SkinRect);
  }
  if (HasQuickButtons() && !Parent->CanShowAppMenuCaption()) DrawQuickButtons(Cnvs);
  if (!IsEmptyRect(FrameRect)) {
    TR.Top += FrameTextRect.Top;
    TR.Left += FrameTextRect.Left;
    TR.Right += FrameTextRect.Right - RectWidth(FrameRect);
  }
  ApplyFontRule(Cnvs, Active ? ActiveFontColor : FontColor);

  if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= FrameCount) {
    // The text keeps the look of the state being left until the animation ends.
    TBitmap B;
    ComposeCaption(&B, AnimationFrameRect(), ActivePicture);
    ApplyFontRule(B.Canvas(), Active ? FontColor : ActiveFontColor);
    DrawCaptionText(B.Canvas(), Cnvs, TR, 0, 0, !Active);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
    return;
  }
  if (EnableMorphing() && ((FMorphKf > 0 && !Active) || (FMorphKf < 1 && Active))) {
    TBitmap InActiveImage, ActiveImage, Result;
    CaptionImage(&InActiveImage, Cnvs, TR, false);
    CaptionImage(&ActiveImage, Cnvs, TR, true);
    Result.SetSize(RectWidth(ObjectRect), RectHeight(ObjectRect));
    MorphDraw(Result.Canvas()->Handle(), InActiveImage.Handle(), ActiveImage.Handle(), MorphKind, FMorphKf);
    if (!Active) ApplyInActiveEffect(&Result);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &Result);
    return;
  }
  const bool FormActive = Parent->GetFormActive();
  if (IsEmptyRect(ActiveSkinRect) ||
      (!FormActive && !EnableMorphing() && !StretchEffect && !EnableAnimation())) {
    DrawCaptionText(Cnvs, Cnvs, TR, ObjectRect.Left, ObjectRect.Top, Active);
    return;
  }
  TBitmap B;
  if (!Active) {
    CaptionImage(&B, Cnvs, TR, false);
    ApplyInActiveEffect(&B);
  } else {
    CaptionImage(&B, Cnvs, TR, true);
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

// ---------------------------------------------------------------- quick buttons

TbsDataSkinButtonControl* TbsSkinCaptionObject::QuickButtonElement() const {
  TbsSkinData* S = Parent->SkinData();
  if (!S) return nullptr;
  for (const char* Name : {"officequickbutton", "resizetoolbutton"}) {
    const Integer I = S->GetControlIndex(Name);
    if (I == -1) continue;
    if (auto* E = dynamic_cast<TbsDataSkinButtonControl*>(S->Ctrls(I))) return E;
  }
  return nullptr;
}

TRect TbsSkinCaptionObject::DividerSource() const {
  return (Active || IsEmptyRect(InActiveDividerRect)) ? DividerRect : InActiveDividerRect;
}

void TbsSkinCaptionObject::DrawQuickButtons(TCanvas* Cnvs) {
  TCustomImageList* IL = Parent->QuickImageList();
  Integer X = ObjectRect.Left;
  const TRect DSrc = DividerSource();
  if (!IsEmptyRect(DSrc) && Parent->QuickButtonsShowDivider()) {
    TBitmap D;
    D.SetSize(RectWidth(DSrc), RectHeight(DSrc));
    D.Canvas()->CopyRect(TRect(0, 0, D.Width(), D.Height()), ActivePicture->Canvas(), DSrc);
    if (DividerTransparent) {
      D.SetTransparentMode(tmFixed);
      D.SetTransparentColor(DividerTransparentColor);
      D.SetTransparent(true);
    }
    Cnvs->Draw(ObjectRect.Left + 3, ObjectRect.Top + RectHeight(ObjectRect) / 2 - D.Height() / 2, &D);
    X = ObjectRect.Left + D.Width() + 6;
  }
  const Integer Y = ObjectRect.Top + RectHeight(ObjectRect) / 2 - IL->Height() / 2 - 2;
  TbsQuickButtonItems* Items = Parent->QuickButtons();
  for (Integer i = 0; i < Items->Count(); ++i) {
    TbsQuickButtonItem* Item = Items->Items(i);
    if (!Item->Visible()) continue;
    Item->ItemRect = TRect(X, Y, X + IL->Width() + 4, Y + IL->Height() + 4);
    DrawQuickButton(Cnvs, Item);
    X += IL->Width() + 8;
  }
}

void TbsSkinCaptionObject::DrawQuickButton(TCanvas* Cnvs, TbsQuickButtonItem* Item) {
  if (Item->ImageIndex() < 0) return;
  TCustomImageList* IL = Parent->QuickImageList();
  const TRect& IR = Item->ItemRect;
  if (Item->Active) {
    TbsDataSkinButtonControl* E = QuickButtonElement();
    TBitmap* Pic = E ? SkinPicture(E->PictureIndex) : nullptr;
    const TRect Src = E ? (Item->Down ? E->DownSkinRect : E->ActiveSkinRect) : TRect();
    if (Pic && !IsEmptyRect(Src)) {
      TBitmap B;
      B.SetSize(RectWidth(IR), RectHeight(IR));
      ComposeStretchedSkinImage(&B, Pic, Src, E->ClRect, true);
      Cnvs->Draw(IR.Left, IR.Top, &B);
    }
  }
  IL->Draw(Cnvs, IR.Left + RectWidth(IR) / 2 - IL->Width() / 2,
           IR.Top + RectHeight(IR) / 2 - IL->Height() / 2, Item->ImageIndex(), Item->Enabled());
}

void TbsSkinCaptionObject::TestActiveQuickButton(Integer X, Integer Y) {
  if (!AnyQuickButtons()) return;
  if (Parent->CanShowAppMenuCaption()) {
    ActiveQuickButton = -1;
    return;
  }
  TbsQuickButtonItems* Items = Parent->QuickButtons();
  OldActiveQuickButton = ActiveQuickButton;
  ActiveQuickButton = -1;
  for (Integer i = 0; i < Items->Count(); ++i) {
    TbsQuickButtonItem* Item = Items->Items(i);
    if (Item->Enabled() && Item->Visible() && PtInRect(&Item->ItemRect, TPoint{X, Y})) {
      ActiveQuickButton = i;
      break;
    }
  }
  bool FlagChanged = false;
  for (Integer i = 0; i < Items->Count(); ++i) {
    if (i == PopupMenuQuickButton) continue;
    TbsQuickButtonItem* Item = Items->Items(i);
    const bool Hovered = i == ActiveQuickButton;
    if (Item->Active != Hovered) FlagChanged = true;
    Item->Active = Hovered;
  }
  const bool IndexChanged = ActiveQuickButton != OldActiveQuickButton;
  if (IndexChanged || FlagChanged) RedrawQuickButtons();
  TbsSkinHint* SkinHint = Parent->SkinHint();
  if (SkinHint == nullptr || !Parent->QuickButtonsShowHint()) return;
  if (IndexChanged && ActiveQuickButton != -1 && !Items->Items(ActiveQuickButton)->Hint.empty())
    SkinHint->ActivateHint2(Items->Items(ActiveQuickButton)->Hint);
  if (FlagChanged && ActiveQuickButton == -1) SkinHint->HideHint();
}

void TbsSkinCaptionObject::RedrawQuickButtons() {
  if (Parent->UseFullLayeredBorder()) {
    ReDraw();
  } else if (TForm* F = Parent->Form()) {
    if (F->HandleAllocated()) SendMessage(F->Handle(), WM_NCPAINT, 0, 0);
  }
}

void TbsSkinCaptionObject::PopupQuickButtonMenu(const TRect& R, TbsSkinPopupMenu* Menu) {
  if (Parent->Layers().LayerManager && Parent->Layers().LayerManager->IsVisible)
    Parent->Layers().LayerManager->Hide();
  if (Parent->Layers().MenuLayerManager && Parent->Layers().MenuLayerManager->IsVisible)
    Parent->Layers().MenuLayerManager->Hide();
  TRect SR = R;
  const TRect Origin = ScreenObjectRect(true);
  OffsetRect(&SR, Origin.Left - ObjectRect.Left, Origin.Top - ObjectRect.Top);
  PopupQuickButtonMenuAt(Menu, SR);
}

// ---------------------------------------------------------------- mouse

void TbsSkinCaptionObject::MouseMove(Integer X, Integer Y) {
  TbsActiveSkinObject::MouseMove(X, Y);
  if (HasQuickButtons()) TestActiveQuickButton(X, Y);
}

void TbsSkinCaptionObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
  if (!HasQuickButtons()) return;
  if (Button == mbLeft) {
    FDown = true;
    TestActiveQuickButton(X, Y);
    if (ActiveQuickButton != -1) {
      TbsQuickButtonItems* Items = Parent->QuickButtons();
      for (Integer i = 0; i < Items->Count(); ++i) {
        TbsQuickButtonItem* Item = Items->Items(i);
        if (i != ActiveQuickButton) {
          Item->Down = false;
          Item->Active = false;
          continue;
        }
        Item->Down = true;
        if (Item->PopupMenu) {
          if (PopupMenuQuickButton != i) {
            RedrawQuickButtons();
            PopupMenuQuickButton = i;
            MouseCaptureQuickButton = -1;
            PopupQuickButtonMenu(Item->ItemRect, Item->PopupMenu);
          }
        } else {
          MouseCaptureQuickButton = i;
        }
      }
      RedrawQuickButtons();
    }
  }
  if (Parent->QuickButtonsShowHint() && Parent->SkinHint() != nullptr) Parent->SkinHint()->HideHint();
}

void TbsSkinCaptionObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
  FDown = false;
  if (HasQuickButtons())
    TestActiveQuickButton(X, Y);
  else
    ActiveQuickButton = -1;
  TbsQuickButtonItems* Items = Parent->QuickButtons();
  const Integer Count = Items ? Items->Count() : 0;
  if (ActiveQuickButton == -1 && MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < Count) {
    Items->Items(MouseCaptureQuickButton)->Down = false;
    Items->Items(MouseCaptureQuickButton)->Active = false;
  }
  MouseCaptureQuickButton = -1;
  if (Button == mbLeft && ActiveQuickButton >= 0 && ActiveQuickButton < Count) {
    TbsQuickButtonItem* Clicked = Items->Items(ActiveQuickButton);
    const bool WasDown = Clicked->Down;
    for (Integer i = 0; i < Count; ++i)
      if (!(i == ActiveQuickButton && i == PopupMenuQuickButton)) Items->Items(i)->Down = false;
    RedrawQuickButtons();
    // Menus here do not hold the press in a loop: the release arrives while the button's menu is still
    // open, and a button with a menu opens it instead of clicking.
    if (WasDown && ActiveQuickButton != PopupMenuQuickButton && Clicked->OnClick) Clicked->OnClick(this);
  } else if (Button == mbRight && Parent->UseFullLayeredBorder()) {
    TPoint LayerTopLeft;
    if (Parent->FullLayeredBorderVisible(LayerTopLeft) && !Parent->DisableSystemMenu() &&
        ActiveQuickButton == -1 && Parent->MenuTracking()) {
      TPoint P;
      GetCursorPos(&P);
      Parent->MenuTracking()->PopupSystemMenu(P);
    }
  }
}

void TbsSkinCaptionObject::MouseEnter() {
  FMouseIn = true;
  Parent->DoMouseEnterEvent(IDName);
}

void TbsSkinCaptionObject::MouseLeave() {
  FMouseIn = false;
  Parent->DoMouseLeaveEvent(IDName);
  if (!HasQuickButtons()) return;
  ActiveQuickButton = -1;
  OldActiveQuickButton = -1;
  TestActiveQuickButton(-1, -1);
  if (FDown) {
    FDown = false;
    Parent->ReleaseObjectCapture();
    TbsQuickButtonItems* Items = Parent->QuickButtons();
    if (MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < Items->Count())
      Items->Items(MouseCaptureQuickButton)->Down = false;
    MouseCaptureQuickButton = -1;
  }
}
