#include "skin/forms/frame/bsskinbuttonobjects.h"

#include "platform/ui/core/application.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/colors.h"
#include "skin/core/bsbitmap.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bskernels.h"
#include "skin/core/bslayered.h"
#include "skin/forms/frame/bsformobjecthost.h"
#include "skin/forms/frame/bsframemenu.h"

// ---------------------------------------------------------------- TbsSkinButtonObject

TbsSkinButtonObject::TbsSkinButtonObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TbsDataSkinButton*>(AData)) {
    DownRect = D->DownRect;
    DisableSkinRect = D->DisableSkinRect;
  }
}

void TbsSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!HasSkin()) return;
  if (!Enabled && !IsEmptyRect(DisableSkinRect)) {
    CopyToObjectRect(Cnvs, ActivePicture, DisableSkinRect);
  } else if (FDown && !IsEmptyRect(DownRect) && FMouseIn) {
    CopyToObjectRect(Cnvs, ActivePicture, DownRect);
  } else {
    TbsActiveSkinObject::Draw(Cnvs, UpDate);
  }
}

void TbsSkinButtonObject::SetDown(bool Value) {
  FDown = Value;
  if (EnableMorphing() && Active) SetMorphKf(1);
  Parent->DrawSkinObject(this);
  if (EnableMorphing() && !FDown) ReDraw();
}

bool TbsSkinButtonObject::CanMorphing() {
  if (MenuItem && FDown) return false;
  return TbsActiveSkinObject::CanMorphing();
}

void TbsSkinButtonObject::ShowLayer() {
  ShowGlowOn(MenuItem ? Parent->Layers().MenuLayerManager : Parent->Layers().LayerManager, true);
}

void TbsSkinButtonObject::HideLayer() {
  HideGlowOn(MenuItem ? Parent->Layers().MenuLayerManager : Parent->Layers().LayerManager);
}

void TbsSkinButtonObject::TrackMenu() {
  if (!MenuItem || MenuItem->Count() == 0) return;
  if (Parent->Layers().LayerManager && Parent->Layers().LayerManager->IsVisible)
    Parent->Layers().LayerManager->Hide();
  if (Parent->Layers().MenuLayerManager && Parent->Layers().MenuLayerManager->IsVisible)
    Parent->Layers().MenuLayerManager->Hide();
  if (FMouseIn) ShowLayer();
  const TRect R = ScreenObjectRect(true);
  PopupFrameObjectMenu(Parent, MenuItem, R, FPopupUp,
                       Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData());
}

void TbsSkinButtonObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  if (!FDown || IsEmptyRect(DownRect)) {
    if (!IsEmptyRect(ActiveSkinRect)) ReDraw();
    if (MenuItem) ShowLayer();
  } else {
    if (EnableMorphing()) SetMorphKf(1);
    Parent->DrawSkinObject(this);
  }
  Parent->DoMouseEnterEvent(IDName);
  if (!MenuItem) ShowLayer();
}

void TbsSkinButtonObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  // A menu button whose menu is open keeps its pressed look and glow.
  if (!MenuItem || !FDown) {
    if (MenuItem) HideLayer();
    Parent->DrawSkinObject(this);
    ReDraw();
  }
  Parent->DoMouseLeaveEvent(IDName);
  if (!MenuItem) HideLayer();
}

void TbsSkinButtonObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && !FDown) {
    SetDown(true);
    TrackMenu();
  }
  Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && FDown && !MenuItem) SetDown(false);
  if (FMouseIn) Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

// ---------------------------------------------------------------- TbsSkinStdButtonObject

TbsSkinStdButtonObject::TbsSkinStdButtonObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData)
    : TbsSkinButtonObject(AParent, AData) {
  auto* D = dynamic_cast<TbsDataSkinStdButton*>(AData);
  if (!D) return;
  Command = D->Command;
  RestoreRect = D->RestoreRect;
  RestoreActiveRect = D->RestoreActiveRect;
  RestoreDownRect = D->RestoreDownRect;
  RestoreInActiveRect = D->RestoreInActiveRect;
  RestoreHint = D->RestoreHint;
  FTempHint = D->Hint;
  AlphaMaskPictureIndex = D->AlphaMaskPictureIndex;
  AlphaMaskActivePictureIndex = D->AlphaMaskActivePictureIndex;
  AlphaMaskInActivePictureIndex = D->AlphaMaskInActivePictureIndex;
  FAlphaNormalImage = D->FAlphaNormalImage.get();
  FAlphaActiveImage = D->FAlphaActiveImage.get();
  FAlphaDownImage = D->FAlphaDownImage.get();
  FAlphaInActiveImage = D->FAlphaInActiveImage.get();
  FAlphaRestoreNormalImage = D->FAlphaRestoreNormalImage.get();
  FAlphaRestoreActiveImage = D->FAlphaRestoreActiveImage.get();
  FAlphaRestoreDownImage = D->FAlphaRestoreDownImage.get();
  FAlphaInActiveRestoreImage = D->FAlphaInActiveRestoreImage.get();
  FSkinSupport = true;
}

bool TbsSkinStdButtonObject::IsIconButton() const {
  return Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture;
}

bool TbsSkinStdButtonObject::InRestoreState(bool AForDrawing) const {
  switch (Command) {
    case cmMaximize:
      return Parent->Mode().WindowStateInit == wsMaximized;
    case cmMinimize:
      if (Parent->Mode().WindowStateInit != wsMinimized) return false;
      return !AForDrawing || Application == nullptr || Application->MainForm() != Parent->Form();
    case cmRollUp:
      return Parent->Mode().RollUpState;
    default:
      return false;
  }
}

void TbsSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
  if (!FSkinSupport) {
    DefaultDraw(Cnvs);
    return;
  }
  if (!HasSkin()) return;
  if (Parent->CanShowAppMenuCaption() && ObjectRect.Left < Parent->GetAppMenuCaptionOffsetOf()) return;
  if (IsIconButton()) {
    Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    SetMorphKf(0);
    return;
  }
  const bool Restore = InRestoreState(true);
  if (!Enabled || (!Parent->GetFormActive() && !IsEmptyRect(InActiveSkinRect) && !Restore)) {
    TbsSkinButtonObject::Draw(Cnvs, UpDate);
    return;
  }
  if (IsEmptyRect(RestoreRect) || !Restore) {
    // The system-menu button stays pressed while its menu is open, wherever the mouse is.
    if (FDown && !IsEmptyRect(DownRect) && Command == cmSysMenu)
      CopyToObjectRect(Cnvs, ActivePicture, DownRect);
    else
      TbsSkinButtonObject::Draw(Cnvs, UpDate);
    return;
  }
  if (!Parent->Mode().FormActive && !IsEmptyRect(RestoreInActiveRect))
    CopyToObjectRect(Cnvs, ActivePicture, RestoreInActiveRect);
  else if (FDown && !IsEmptyRect(RestoreDownRect) && FMouseIn)
    CopyToObjectRect(Cnvs, ActivePicture, RestoreDownRect);
  else if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0)))
    DrawMorph(Cnvs, ActivePicture, RestoreRect, ActivePicture, RestoreActiveRect);
  else if (Active && !IsEmptyRect(RestoreActiveRect))
    CopyToObjectRect(Cnvs, ActivePicture, RestoreActiveRect);
  else
    CopyToObjectRect(Cnvs, ActivePicture, RestoreRect);
}

void TbsSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs) {
  if (Command == cmSysMenu && Parent->ShowIcon()) {
    Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    return;
  }
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  const TRect R(0, 0, W, H);
  if (FMouseIn) {
    C->Brush()->SetColor(RGB(59, 107, 183));
    C->FillRect(R);
    C->Brush()->SetColor(FDown ? RGB(162, 188, 228) : RGB(193, 212, 243));
    C->FillRect(TRect(1, 1, W - 1, H - 1));
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
  }
  const TColor GlyphColor = Enabled ? clBtnText : clBtnShadow;
  const Integer X = W / 2 - 5, Y = H / 2 - 4;
  const TWindowState State = Parent->WindowState();
  switch (Command) {
    case cmClose:
      DrawCloseGlyph(C, X, Y, GlyphColor);
      break;
    case cmMaximize:
      if (State == wsMaximized)
        DrawRestoreGlyph(C, X, Y, GlyphColor);
      else
        DrawMaximizeGlyph(C, X, Y, GlyphColor);
      break;
    case cmMinimize:
      if (State == wsMinimized)
        DrawRestoreGlyph(C, X, Y, GlyphColor);
      else
        DrawMinimizeGlyph(C, X, Y, GlyphColor);
      break;
    case cmSysMenu:
      DrawSysMenuGlyph(C, X, Y, GlyphColor);
      break;
    case cmRollUp:
      if (Parent->RollUpState())
        DrawRollDownGlyph(C, X, Y, GlyphColor);
      else
        DrawRollUpGlyph(C, X, Y, GlyphColor);
      break;
    case cmMinimizeToTray:
      DrawMinimizeToTrayGlyph(C, X, Y, GlyphColor);
      break;
    case cmDefault:
      break;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap*) {
  if (Command == cmSysMenu && Parent->ShowIcon()) {
    if (Parent->IsAlphaIcon()) {
      Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
      return;
    }
    Integer IW = 0, IH = 0;
    Parent->GetIconSize(IW, IH);
    TBitmap B;
    B.SetSize(IW, IH);
    B.Canvas()->Brush()->SetColor(RGB(127, 0, 127));
    B.Canvas()->FillRect(TRect(0, 0, IW, IH));
    Parent->DrawFormIcon(B.Canvas(), 0, 0);
    B.SetTransparentColor(RGB(127, 0, 127));
    B.SetTransparent(true);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
    return;
  }
  const bool Restore = InRestoreState(false);
  auto pick = [Restore](TbsBitmap* RestoreImage, TbsBitmap* Plain) {
    return Restore && RestoreImage ? RestoreImage : Plain;
  };
  TbsBitmap* Image;
  if (Parent->Mode().FormActive || IsEmptyRect(InActiveSkinRect)) {
    if (FDown && !IsEmptyRect(DownRect) && (FMouseIn || Command == cmSysMenu))
      Image = pick(FAlphaRestoreDownImage, FAlphaDownImage);
    else if (FMouseIn && !IsEmptyRect(ActiveSkinRect))
      Image = pick(FAlphaRestoreActiveImage, FAlphaActiveImage);
    else
      Image = pick(FAlphaRestoreNormalImage, FAlphaNormalImage);
  } else {
    Image = pick(FAlphaInActiveRestoreImage, FAlphaInActiveImage);
  }
  if (!Image || !IsMsImg32Loaded()) return;
  BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top, RectWidth(ObjectRect), RectHeight(ObjectRect),
             Image->Canvas()->Handle(), 0, 0, Image->Width(), Image->Height(), Blend);
}

bool TbsSkinStdButtonObject::PointInMask(Integer X, Integer Y) {
  if (IsIconButton()) return true;
  return TbsActiveSkinObject::PointInMask(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer() {
  if (!IsIconButton()) TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer() {
  if (!IsIconButton()) TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() {
  return !IsIconButton() && TbsSkinButtonObject::CanMorphing();
}

void TbsSkinStdButtonObject::MouseEnter() {
  if (Command != cmDefault) Hint = (!RestoreHint.empty() && InRestoreState(false)) ? RestoreHint : FTempHint;
  if (!IsIconButton()) TbsSkinButtonObject::MouseEnter();
}

void TbsSkinStdButtonObject::MouseLeave() {
  if (!IsIconButton()) TbsSkinButtonObject::MouseLeave();
}

void TbsSkinStdButtonObject::MouseDown(Integer, Integer, TMouseButton Button) {
  if (!Enabled || Button != mbLeft || FDown) return;
  if (!IsIconButton()) SetDown(true);
  if (Command == cmSysMenu) {
    MenuItem = Parent->GetSystemMenuItems();
    TrackMenu();
  }
}

void TbsSkinStdButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (Command == cmClose) {
    // The button comes up and reports before the form's Close; nothing of it is touched after.
    TbsSkinButtonObject::MouseUp(X, Y, Button);
    if (Active && Button == mbLeft) DoCommand();
    return;
  }
  if (Active && Button == mbLeft) DoCommand();
  if (!IsIconButton()) TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick() {
  if (Command == cmSysMenu && Parent->Form()) Parent->Form()->Close();
}

void TbsSkinStdButtonObject::DoCommand() {
  IbsFormObjectHost* P = Parent;
  switch (Command) {
    case cmClose:
      P->TestActive(-1, -1, false);
      if (P->Form()) P->Form()->Close();
      break;
    case cmMaximize:
      P->TestActive(-1, -1, false);
      HideLayer();
      P->SetWindowState(P->WindowState() == wsMaximized ? wsNormal : wsMaximized);
      break;
    case cmMinimize:
      P->TestActive(-1, -1, false);
      if (P->AlwaysMinimizeToTray()) {
        P->MinimizeToTray();
      } else {
        HideLayer();
        P->SetWindowState(P->WindowState() == wsMinimized ? wsNormal : wsMinimized);
      }
      break;
    case cmRollUp:
      P->SetRollUpState(!P->RollUpState());
      break;
    case cmMinimizeToTray:
      P->TestActive(-1, -1, false);
      P->MinimizeToTray();
      break;
    case cmSysMenu:
    case cmDefault:
      break;
  }
}
