#include "skin/forms/frame/bsskinobjects.h"

#include <memory>

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bslayered.h"
#include "skin/core/bssystem.h"
#include "skin/forms/frame/bsformobjecthost.h"
#include "skin/forms/frame/bsframemenu.h"

// ---------------------------------------------------------------- TbsActiveSkinObject

TbsActiveSkinObject::TbsActiveSkinObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData)
    : Parent(AParent) {
  SD = AParent ? AParent->SkinData() : nullptr;
  if (AData) {
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    ActivePicture = SkinPicture(AData->ActivePictureIndex);
    // No hover image may ever be drawn from a picture that is not there.
    if (!ActivePicture) ActiveSkinRect = TRect();
    ActiveMaskPicture = SkinPicture(AData->ActiveMaskPictureIndex);
  }
  if (IsEmptyRect(ActiveSkinRect)) Morphing = false;
  ObjectRect = SkinRect;
  if (SD) Picture = SD->FPicture.get();
}

bool TbsActiveSkinObject::HasSkin() const {
  TbsSkinData* S = Parent ? Parent->SkinData() : nullptr;
  return S && !S->Empty;
}

TBitmap* TbsActiveSkinObject::SkinPicture(Integer Index) const {
  if (!SD || Index < 0 || Index >= SD->PictureCount()) return nullptr;
  return SD->Picture(Index);
}

bool TbsActiveSkinObject::PointInMask(Integer X, Integer Y) {
  if (!HasSkin() || !ActiveMaskPicture) return true;
  if (X < 0 || Y < 0 || X >= ActiveMaskPicture->Width() || Y >= ActiveMaskPicture->Height()) return false;
  return (ActiveMaskPicture->Canvas()->Pixels(X, Y) & 0xFFFFFF) == 0;
}

bool TbsActiveSkinObject::EnableMorphing() {
  TbsSkinData* S = Parent ? Parent->SkinData() : nullptr;
  return Morphing && S && !S->Empty && S->EnableSkinEffects() && !Parent->UseFullLayeredBorder();
}

bool TbsActiveSkinObject::CanMorphing() {
  return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TbsActiveSkinObject::SetMorphKf(Double Value) {
  FMorphKf = Value < 0 ? 0 : (Value > 1 ? 1 : Value);
}

void TbsActiveSkinObject::DoMorphing() {
  Double Kf = Active ? FMorphKf + 0.2 : FMorphKf - 0.2;
  // Five steps of 0.2 leave a residue of 1e-17 on the way down; it would cost a sixth, invisible step.
  if (Kf < 1e-9) Kf = 0;
  if (Kf > 1 - 1e-9) Kf = 1;
  SetMorphKf(Kf);
  Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::ReDraw() {
  if (EnableMorphing())
    Parent->MorphTimer()->SetEnabled(true);
  else
    Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::CopyToObjectRect(TCanvas* Cnvs, TBitmap* Source, const TRect& Rect) {
  if (!Source || IsEmptyRect(Rect)) return;
  Cnvs->CopyRect(ObjectRect, Source->Canvas(), Rect);
}

void TbsActiveSkinObject::DrawMorph(TCanvas* Cnvs, TBitmap* FromPicture, const TRect& From,
                                    TBitmap* ToPicture, const TRect& To) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0 || !FromPicture || !ToPicture) return;
  TBitmap A, B, Result;
  A.SetSize(W, H);
  B.SetSize(W, H);
  Result.SetSize(W, H);
  A.Canvas()->CopyRect(TRect(0, 0, W, H), FromPicture->Canvas(), From);
  B.Canvas()->CopyRect(TRect(0, 0, W, H), ToPicture->Canvas(), To);
  MorphDraw(Result.Canvas()->Handle(), A.Handle(), B.Handle(), MorphKind, FMorphKf);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &Result);
}

void TbsActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!HasSkin()) return;
  if (Enabled && !Parent->GetFormActive() && !IsEmptyRect(InActiveSkinRect)) {
    CopyToObjectRect(Cnvs, ActivePicture, InActiveSkinRect);
    return;
  }
  if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
    DrawMorph(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect, ActivePicture, ActiveSkinRect);
    return;
  }
  if (Active && !IsEmptyRect(ActiveSkinRect)) {
    CopyToObjectRect(Cnvs, ActivePicture, ActiveSkinRect);
    return;
  }
  // The frame picture already shows a normal image that is part of it.
  if (!UpDate && !SkinRectInAPicture) return;
  CopyToObjectRect(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect);
}

void TbsActiveSkinObject::DrawAlpha(TCanvas*, TbsBitmap*) {}

TRect TbsActiveSkinObject::ScreenObjectRect(bool AWithLayeredBorder) const {
  TRect R = ObjectRect;
  TForm* F = Parent->Form();
  TPoint Origin{0, 0};
  TPoint LayerTopLeft;
  if (F && F->FormStyle() == fsMDIChild) {
    TPoint P = Parent->Mode().SkinSupport
                   ? TPoint{-Parent->Geometry().NewClRect.Left, -Parent->Geometry().NewClRect.Top}
                   : TPoint{-3, -Parent->GetDefCaptionHeight() - 3};
    Origin = F->ClientToScreen(P);
  } else if (AWithLayeredBorder && Parent->UseLayeredBorders() &&
             Parent->FullLayeredBorderVisible(LayerTopLeft)) {
    Origin = LayerTopLeft;
  } else if (F) {
    Origin = TPoint{F->Left(), F->Top()};
  }
  OffsetRect(&R, Origin.X, Origin.Y);
  return R;
}

void TbsActiveSkinObject::ShowGlowOn(TbsLayerManager* Manager, bool AWithLayeredBorder) {
  if (!Manager || !HasSkin() || GlowLayerPictureIndex == -1 || !IsWindows2000OrLater() ||
      !Parent->SkinData()->ShowCaptionButtonGlowFrames())
    return;
  TBitmap* Image = SkinPicture(GlowLayerPictureIndex);
  TBitmap* Mask = SkinPicture(GlowLayerMaskPictureIndex);
  if (!Image || !Mask) return;
  const TRect R = ScreenObjectRect(AWithLayeredBorder);
  Manager->Show(R.Left - GlowLayerOffsetX, R.Top - GlowLayerOffsetY, Image, Mask, GlowLayerAlphaBlendValue);
}

void TbsActiveSkinObject::HideGlowOn(TbsLayerManager* Manager) {
  if (!Manager || !HasSkin() || GlowLayerPictureIndex == -1 || !IsWindows2000OrLater() ||
      !Parent->SkinData()->ShowCaptionButtonGlowFrames())
    return;
  Manager->Hide();
}

void TbsActiveSkinObject::ShowLayer() {
  ShowGlowOn(Parent->Layers().LayerManager, true);
}

void TbsActiveSkinObject::HideLayer() {
  HideGlowOn(Parent->Layers().LayerManager);
}

void TbsActiveSkinObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (FMouseIn) Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(Integer X, Integer Y) {
  Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsActiveSkinObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  if (!IsEmptyRect(ActiveSkinRect)) ReDraw();
  Parent->DoMouseEnterEvent(IDName);
  ShowLayer();
}

void TbsActiveSkinObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  if (!IsEmptyRect(ActiveSkinRect)) ReDraw();
  Parent->DoMouseLeaveEvent(IDName);
  HideLayer();
}

// ---------------------------------------------------------------- TbsUserObject

void TbsUserObject::Draw(TCanvas* Cnvs, bool) {
  Parent->DoPaintEvent(IDName, Cnvs, ObjectRect);
}

// ---------------------------------------------------------------- TbsSkinAnimateObject

TbsSkinAnimateObject::TbsSkinAnimateObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
  auto* D = dynamic_cast<TbsDataSkinAnimate*>(AData);
  if (!D) throw EInvalidOperation(SInvalidCast);
  TimerInterval = D->TimerInterval < 25 ? 25 : D->TimerInterval;
  CountFrames = D->CountFrames;
  Cycle = D->Cycle;
  ButtonStyle = D->ButtonStyle;
  Command = D->Command;
  DownSkinRect = D->DownSkinRect;
  RestoreRect = D->RestoreRect;
  RestoreActiveRect = D->RestoreActiveRect;
  RestoreDownRect = D->RestoreDownRect;
  RestoreInActiveRect = D->RestoreInActiveRect;
  RestoreHint = D->RestoreHint;
  FTempHint = D->Hint;
}

bool TbsSkinAnimateObject::InRestoreState() const {
  return (Command == cmMaximize && Parent->Mode().WindowStateInit == wsMaximized) ||
         (Command == cmMinimize && Parent->Mode().WindowStateInit == wsMinimized) ||
         (Command == cmRollUp && Parent->RollUpState());
}

TRect TbsSkinAnimateObject::FrameRect(const TRect& S, const TRect& A, Integer N) {
  const Integer W = RectWidth(S), H = RectHeight(S);
  return TRect(A.Left + (N - 1) * W, A.Top, A.Left + N * W, A.Top + H);
}

void TbsSkinAnimateObject::Draw(TCanvas* Cnvs, bool) {
  if (!HasSkin()) return;
  TRect S = SkinRect, A = ActiveSkinRect, D = DownSkinRect, I = InActiveSkinRect;
  if (!IsEmptyRect(RestoreRect) && InRestoreState()) {
    S = RestoreRect;
    A = RestoreActiveRect;
    D = RestoreDownRect;
    I = RestoreInActiveRect;
  }
  TRect Source;
  if (FMenuTracking) {
    if (!IsEmptyRect(D)) {
      Source = D;
    } else {
      FFrame = CountFrames;
      Source = FrameRect(S, A, FFrame);
    }
  } else if (!Parent->GetFormActive() && !IsEmptyRect(I)) {
    Source = I;
  } else if (FDown && FMouseIn && !IsEmptyRect(D)) {
    Source = D;
  } else {
    Source = FrameRect(S, A, FFrame);
  }
  CopyToObjectRect(Cnvs, ActivePicture, Source);
}

void TbsSkinAnimateObject::StartAnimateTimer() {
  Parent->AnimateTimer()->SetEnabled(true);
}

void TbsSkinAnimateObject::Start() {
  FInc = 25;
  FFrame = 1;
  Active = true;
  StartAnimateTimer();
}

void TbsSkinAnimateObject::Stop() {
  SetFrame(1);
  Active = false;
  FInc = 25;
}

void TbsSkinAnimateObject::SetFrame(Integer Value) {
  if (Increment && Value > CountFrames) Value = 1;
  if (!Increment && Value <= 0) Value = CountFrames;
  FFrame = Value;
  Parent->DrawSkinObject(this);
}

void TbsSkinAnimateObject::ChangeFrame() {
  if (FInc < TimerInterval) {
    FInc += 25;
    return;
  }
  if (Increment) {
    SetFrame(FFrame + 1);
    if (!Cycle && FFrame == CountFrames) Active = false;
  } else {
    SetFrame(FFrame - 1);
    if (FFrame == 1) Active = false;
  }
  FInc = 25;
}

void TbsSkinAnimateObject::ShowLayer() {
  ShowGlowOn(MenuItem ? Parent->Layers().MenuLayerManager : Parent->Layers().LayerManager, false);
}

void TbsSkinAnimateObject::HideLayer() {
  HideGlowOn(MenuItem ? Parent->Layers().MenuLayerManager : Parent->Layers().LayerManager);
}

void TbsSkinAnimateObject::MouseEnter() {
  if (Command != cmDefault) Hint = (!RestoreHint.empty() && InRestoreState()) ? RestoreHint : FTempHint;
  FMouseIn = true;
  if (FMenuTracking) return;
  if (ButtonStyle) {
    Active = true;
    Increment = true;
    if (FDown && !IsEmptyRect(DownSkinRect))
      Parent->DrawSkinObject(this);
    else
      StartAnimateTimer();
  }
  Parent->DoMouseEnterEvent(IDName);
  ShowLayer();
}

void TbsSkinAnimateObject::MouseLeave() {
  if (!FMouseIn) return;
  FMouseIn = false;
  if (FMenuTracking) return;
  if (ButtonStyle) {
    Active = true;
    Increment = false;
    if (FDown && !IsEmptyRect(DownSkinRect))
      Parent->DrawSkinObject(this);
    else
      StartAnimateTimer();
  }
  Parent->DoMouseLeaveEvent(IDName);
  HideLayer();
}

void TbsSkinAnimateObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  TbsActiveSkinObject::MouseDown(X, Y, Button);
  if (!IsEmptyRect(DownSkinRect) && Button == mbLeft) {
    FFrame = CountFrames;
    FDown = true;
    Parent->DrawSkinObject(this);
  }
  if (Command == cmSysMenu && FMouseIn && ButtonStyle && Button == mbLeft) DoCommand();
}

void TbsSkinAnimateObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  TbsActiveSkinObject::MouseUp(X, Y, Button);
  if (FMenuTracking) return;
  if (!IsEmptyRect(DownSkinRect) && Button == mbLeft) {
    FDown = false;
    Parent->DrawSkinObject(this);
    StartAnimateTimer();
  }
  if (Command != cmSysMenu && FMouseIn && ButtonStyle && Button == mbLeft) DoCommand();
}

void TbsSkinAnimateObject::DblClick() {
  if (Command == cmSysMenu && Parent->Form()) Parent->Form()->Close();
}

void TbsSkinAnimateObject::DoCommand() {
  IbsFormObjectHost* P = Parent;
  switch (Command) {
    case cmClose:
      P->TestActive(-1, -1, false);
      if (P->Form()) P->Form()->Close();
      break;
    case cmMaximize:
      P->TestActive(-1, -1, false);
      P->SetWindowState(P->WindowState() == wsMaximized ? wsNormal : wsMaximized);
      break;
    case cmMinimize:
      P->TestActive(-1, -1, false);
      if (P->AlwaysMinimizeToTray())
        P->MinimizeToTray();
      else
        P->SetWindowState(P->WindowState() == wsMinimized ? wsNormal : wsMinimized);
      break;
    case cmSysMenu:
      MenuItem = P->GetSystemMenuItems();
      TrackMenu();
      break;
    case cmDefault:
      if (MenuItem) TrackMenu();
      break;
    case cmRollUp:
      P->SetRollUpState(!P->RollUpState());
      break;
    case cmMinimizeToTray:
      P->TestActive(-1, -1, false);
      P->MinimizeToTray();
      break;
  }
}

void TbsSkinAnimateObject::TrackMenu() {
  if (!MenuItem || MenuItem->Count() == 0) return;
  const TRect R = ScreenObjectRect(false);
  FMenuTracking = true;
  if (Parent->Layers().LayerManager && Parent->Layers().LayerManager->IsVisible)
    Parent->Layers().LayerManager->Hide();
  if (Parent->Layers().MenuLayerManager && Parent->Layers().MenuLayerManager->IsVisible)
    Parent->Layers().MenuLayerManager->Hide();
  if (FMouseIn) ShowLayer();
  PopupFrameObjectMenu(Parent, MenuItem, R, FPopupUp,
                       Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData());
}
