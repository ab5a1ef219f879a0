// The objects of the main menu bar: the base with its morph, and the top-level menu items (layout,
// looks, mouse, opening their submenus).
#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/menubar/bsformmenus.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"

void TbsSkinMainMenu::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMainMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Base object

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData) : Parent(AParent) {
  if (AData == nullptr) return;
  IDName = AData->IDName;
  SkinRect = ObjectRect = AData->SkinRect;
  ActiveSkinRect = DownRect = AData->ActiveSkinRect;
  MorphKind = AData->MorphKind;
  Morphing = AData->Morphing && !IsEmptyRect(AData->ActiveSkinRect);
  TbsSkinData* SD = AParent->SkinData();
  if (SD != nullptr && AData->ActivePictureIndex != -1 && AData->ActivePictureIndex < SD->PictureCount())
    Picture = SD->Picture(AData->ActivePictureIndex);
}

void TbsMenuBarObject::ReDraw() {
  if (EnableMorphing())
    Parent->MorphTimer()->SetEnabled(true);
  else
    Parent->DrawObject(this);
}

void TbsMenuBarObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  ReDraw();
}

void TbsMenuBarObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  ReDraw();
}

bool TbsMenuBarObject::CanMorphing() {
  return (!FDown || IsEmptyRect(DownRect)) && ((Active && FMorphKf < 1) || (!Active && FMorphKf > 0));
}

bool TbsMenuBarObject::EnableMorphing() const {
  TbsSkinData* SD = Parent->SkinData();
  return Morphing && SD != nullptr && !SD->Empty &&
         !(Parent->ToolBarMode() && Parent->ToolBarModeItemTransparent()) && SD->EnableSkinEffects();
}

void TbsMenuBarObject::DoMorphing() {
  SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
  Draw(Parent->Canvas());
}

void TbsMenuBarObject::SetMorphKf(Double Value) {
  FMorphKf = Value;
  if (Value < 1e-9) FMorphKf = 0;
  if (Value > 1 - 1e-9) FMorphKf = 1;
}

// ---------------------------------------------------------------------------------------------
// Menu items

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuItem* AData)
    : TbsMenuBarObject(AParent, AData) {
  if (AData != nullptr) {
    FSkinSupport = true;
    FontName = AData->FontName;
    FontHeight = AData->FontHeight;
    FontStyle = AData->FontStyle;
    FontColor = AData->FontColor;
    ActiveFontColor = AData->ActiveFontColor;
    DownFontColor = AData->DownFontColor;
    UnEnabledFontColor = AData->UnEnabledFontColor;
    TextRct = AData->TextRct;
    DownRect = AData->DownRect;
    LO = AData->ItemLO;
    RO = AData->ItemRO;
    StretchEffect = AData->StretchEffect;
    AnimateSkinRect = AData->AnimateSkinRect;
    FrameCount = AData->FrameCount;
    AnimateInterval = AData->AnimateInterval;
    InActiveAnimation = AData->InActiveAnimation;
    if (IsEmptyRect(DownRect)) DownRect = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (IsEmptyRect(ActiveSkinRect)) Morphing = false;
  }
  OldEnabled = Enabled;
}

bool TbsSkinMainMenuBarItem::EnableAnimation() const {
  TbsSkinData* SD = Parent->SkinData();
  return !IsEmptyRect(AnimateSkinRect) && FrameCount > 0 && SD != nullptr && !SD->Empty &&
         !Parent->ToolBarMode() && SD->EnableSkinEffects();
}

void TbsSkinMainMenuBarItem::applyFont(TCanvas* C) const {
  if (FSkinSupport && Parent->UseSkinFont()) {
    C->Font()->SetName(FontName);
    C->Font()->SetStyle(FontStyle);
    C->Font()->SetHeight(FontHeight);
  } else {
    C->Font()->Assign(Parent->DefItemFont());
  }
}

Integer TbsSkinMainMenuBarItem::imageWidth() const {
  TMenu* M = MenuItem->GetParentMenu();
  TCustomImageList* IL = M != nullptr ? M->Images() : nullptr;
  if (IL != nullptr && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < IL->Count())
    return IL->Width();
  if (!MenuItem->Bitmap()->Empty()) return MenuItem->Bitmap()->Width();
  return -5;  // no image: nothing is added
}

void TbsSkinMainMenuBarItem::drawImage(TCanvas* C, Integer X, Integer Ycentre) const {
  TMenu* M = MenuItem->GetParentMenu();
  TCustomImageList* IL = M != nullptr ? M->Images() : nullptr;
  if (IL != nullptr && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < IL->Count())
    IL->Draw(C, X, Ycentre - IL->Height() / 2, MenuItem->ImageIndex(), MenuItem->Enabled());
  else if (!MenuItem->Bitmap()->Empty())
    C->Draw(X, Ycentre - MenuItem->Bitmap()->Height() / 2, MenuItem->Bitmap());
}

Cardinal TbsSkinMainMenuBarItem::captionFlags() const {
  Cardinal F = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (!Parent->MenuActive) F |= DT_HIDEPREFIX;
  return F;
}

// Places the item after the previous one; false (and hidden) when it does not fit.
bool TbsSkinMainMenuBarItem::layout(TCanvas* Measure) {
  applyFont(Measure);
  TRect TR(0, 0, 0, 0);
  DrawText(bsCanvasDC(Measure), MenuItem->Caption(), &TR, DT_CALCRECT | DT_CENTER);
  const Integer TW = RectWidth(TR);
  const TRect& NR = Parent->NewItemsRect;
  Integer L = 0;
  for (Integer i = 0; i < Parent->ObjectCount(); ++i) {
    if (Parent->Objects(i) == this) break;
    if (auto* P = dynamic_cast<TbsSkinMainMenuBarItem*>(Parent->Objects(i))) L = P->ObjectRect.Right;
  }
  if (L == 0) L = NR.Left;
  ObjectRect.Left = L;
  ObjectRect.Top = NR.Top;
  const Integer IW = imageWidth();
  if (FSkinSupport) {
    ObjectRect.Right = L + RectWidth(SkinRect) + TextRct.Left + TW - TextRct.Right + 2 + IW + 5;
    ObjectRect.Bottom = Parent->UseSkinSize() ? NR.Top + RectHeight(SkinRect) : NR.Bottom;
  } else {
    ObjectRect.Right = L + TW + 12 + (IW > 0 ? IW + 5 : 0);
    ObjectRect.Bottom = NR.Bottom;
  }
  const Integer Limit = Parent->ScrollMenu() ? NR.Right - 5 : NR.Right;
  if (ObjectRect.Right > Limit) {
    Parent->Scroll = true;
    if (Visible) {
      OldEnabled = Enabled;
      Enabled = false;
      Visible = false;
    }
    return false;
  }
  if (!Visible) {
    Visible = true;
    Enabled = OldEnabled;
  }
  return true;
}

void TbsSkinMainMenuBarItem::Draw(TCanvas* Cnvs) {
  if (MenuItem == nullptr) return;
  if (FSkinSupport)
    skinDraw(Cnvs);
  else
    defaultDraw(Cnvs);
}

void TbsSkinMainMenuBarItem::defaultDraw(TCanvas* Cnvs) {
  if (!layout(Cnvs)) return;
  TBitmap B;
  B.SetSize(RectWidth(ObjectRect), RectHeight(ObjectRect));
  TCanvas* C = B.Canvas();
  TRect R(0, 0, B.Width(), B.Height());
  if (FDown || FMouseIn) {
    C->Brush()->SetColor(RGB(59, 107, 183));
    C->FillRect(R);
    InflateRect(&R, -1, -1);
    C->Brush()->SetColor(FDown ? RGB(162, 188, 228) : RGB(193, 212, 243));
    C->FillRect(R);
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
  }
  applyFont(C);
  if (imageWidth() > 0) {
    drawImage(C, R.Left + 2, RectHeight(R) / 2 + R.Top);
    R.Left += imageWidth() + 5;
  }
  C->Brush()->SetStyle(bsClear);
  DrawText(bsCanvasDC(C), MenuItem->Caption(), &R, captionFlags());
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

TRect TbsSkinMainMenuBarItem::frameRect() const {
  const Integer n = std::clamp(CurrentFrame, 1, FrameCount);
  if (RectHeight(SkinRect) < RectHeight(AnimateSkinRect)) {
    const Integer h = RectHeight(AnimateSkinRect) / FrameCount;
    return TRect(AnimateSkinRect.Left, AnimateSkinRect.Top + h * (n - 1), AnimateSkinRect.Right,
                 AnimateSkinRect.Top + h * n);
  }
  const Integer w = RectWidth(AnimateSkinRect) / FrameCount;
  return TRect(AnimateSkinRect.Left + w * (n - 1), AnimateSkinRect.Top, AnimateSkinRect.Left + w * n,
               AnimateSkinRect.Bottom);
}

void TbsSkinMainMenuBarItem::buildImage(TBitmap* B, TCanvas* Target, const TRect& S, bool A) {
  B->SetSize(RectWidth(ObjectRect), RectHeight(ObjectRect));
  if (Picture == nullptr) return;
  const bool Stretch = A && StretchEffect;
  if (Parent->ItemTransparent && (S == SkinRect || (!Parent->UseSkinSize() && !A))) {
    B->Canvas()->CopyRect(TRect(0, 0, B->Width(), B->Height()), Target, ObjectRect);
  } else if (Parent->UseSkinSize()) {
    ComposeSkinImageH(LO, RO, B, Picture, S, B->Width(), B->Height(), Stretch);
  } else {
    const Integer W = RectWidth(S), H = RectHeight(S);
    ComposeStretchedSkinImage(B, Picture, S, TRect(LO, H / 4, W - RO, H - H / 4), true);
  }
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsClear);
  applyFont(C);
  C->Font()->SetColor(FDown                 ? DownFontColor
                      : A                   ? ActiveFontColor
                      : MenuItem->Enabled() ? FontColor
                                            : UnEnabledFontColor);
  TRect T = TextRct;
  if (imageWidth() > 0) {
    drawImage(C, T.Left + 2, B->Height() / 2);
    T.Left += imageWidth() + 5;
  }
  TRect CR(T.Left, T.Top, T.Left, T.Top);
  DrawText(bsCanvasDC(C), MenuItem->Caption(), &CR, DT_CALCRECT | DT_CENTER);
  CR.Right += 2;
  if (!Parent->UseSkinSize()) {
    const Integer TH = RectHeight(CR);
    CR.Top = B->Height() / 2 - TH / 2;
    CR.Bottom = CR.Top + TH;
  }
  DrawText(bsCanvasDC(C), MenuItem->Caption(), &CR, captionFlags());
}

void TbsSkinMainMenuBarItem::skinDraw(TCanvas* Cnvs) {
  if (IsEmptyRect(SkinRect) || IsEmptyRect(TextRct)) return;
  if (!layout(Cnvs)) return;
  TBitmap B;
  const bool Tool = Parent->ToolBarMode();
  const bool Anim = EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount;
  const bool MorphOn = EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0));
  if (FDown) {
    if (Tool)
      toolButtonImage(&B, Cnvs, true, true);
    else
      buildImage(&B, Cnvs, DownRect, true);
  } else if (Anim) {
    buildImage(&B, Cnvs, frameRect(), true);
  } else if (MorphOn) {
    TBitmap From, To;
    if (Tool) {
      toolButtonImage(&From, Cnvs, false, false);
      toolButtonImage(&To, Cnvs, true, false);
    } else {
      buildImage(&From, Cnvs, SkinRect, false);
      buildImage(&To, Cnvs, ActiveSkinRect, true);
    }
    B.SetSize(From.Width(), From.Height());
    MorphDraw(B.Canvas()->Handle(), From.Handle(), To.Handle(), MorphKind, FMorphKf);
  } else if (Active) {
    if (Tool)
      toolButtonImage(&B, Cnvs, true, false);
    else
      buildImage(&B, Cnvs, IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true);
  } else if (Tool) {
    toolButtonImage(&B, Cnvs, false, false);
  } else {
    buildImage(&B, Cnvs, SkinRect, false);
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMainMenuBarItem::ReDraw() {
  if (EnableAnimation()) {
    if (Parent->AnimateTimer()->Interval() != Cardinal(AnimateInterval))
      Parent->AnimateTimer()->SetInterval(Cardinal(AnimateInterval));
    Parent->AnimateTimer()->SetEnabled(true);
  } else {
    TbsMenuBarObject::ReDraw();
  }
}

void TbsSkinMainMenuBarItem::releaseDownItem() {
  for (Integer i = 0; i < Parent->ObjectCount(); ++i)
    if (auto* O = Parent->Item(i); O != nullptr && O->IDName != IDName && O->FDown) {
      O->SetDown(false);
      return;
    }
}

void TbsSkinMainMenuBarItem::leaveOtherItems() {
  for (Integer i = 0; i < Parent->ObjectCount(); ++i)
    if (auto* O = Parent->Item(i); O != nullptr && O->IDName != IDName && O->Active) {
      O->MouseLeave();
      return;
    }
}

void TbsSkinMainMenuBarItem::MouseEnter() {
  bool OtherDown = false;
  for (Integer i = 0; i < Parent->ObjectCount(); ++i)
    if (auto* O = Parent->Item(i); O != nullptr && O->IDName != IDName && O->FDown) OtherDown = true;
  if (OtherDown) {
    releaseDownItem();
    Active = FMouseIn = true;
    if (EnableMorphing()) SetMorphKf(1);
    if (MenuItem->OnClick) MenuItem->OnClick(Parent);
    SetDown(true);
    return;
  }
  leaveOtherItems();
  FMouseIn = Active = true;
  ReDraw();
  if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
  if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMainMenuBarItem::MouseLeave() {
  Active = FMouseIn = false;
  if (EnableAnimation() && !InActiveAnimation) {
    CurrentFrame = 0;
    Draw(Parent->Canvas());
  }
  if (EnableMorphing() && FDown) SetMorphKf(0);
  ReDraw();
  if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TbsSkinMainMenuBarItem::MouseDown(Integer, Integer, TMouseButton Button) {
  TbsSkinForm* F = Parent->SkinForm();
  if (!Enabled || F == nullptr || Button != mbLeft) return;
  if (MenuItem->Count() > 0) {
    Parent->MenuActive = true;
    Parent->Repaint();
    if (MenuItem->OnClick) MenuItem->OnClick(Parent);
    SetDown(true);
    return;
  }
  if (F->Mode().InMainMenu && F->MenuTracking() != nullptr) F->MenuTracking()->SkinMainMenuClose();
  F->LeavePopupMenuMode();
  if (EnableMorphing())
    ReDraw();
  else
    Parent->DrawObject(this);
  if (TMenu* M = MenuItem->GetParentMenu()) M->DispatchCommand(MenuItem->Command());
}

void TbsSkinMainMenuBarItem::SetDown(bool Value) {
  if (Value) {
    FDown = true;
    FMorphKf = 1;
    Parent->DrawObject(this);
    TbsSkinForm* F = Parent->SkinForm();
    if (F != nullptr && !F->Mode().InMainMenu && F->OnMainMenuEnter) F->OnMainMenuEnter(Parent);
    TrackMenu();
    return;
  }
  FDown = false;
  Active = false;
  if (EnableAnimation()) {
    if (InActiveAnimation) {
      CurrentFrame = FrameCount + 1;
      ReDraw();
    } else {
      CurrentFrame = 0;
      Parent->DrawObject(this);
    }
  } else if (EnableMorphing()) {
    FMorphKf = 1;
    ReDraw();
  } else {
    Parent->DrawObject(this);
  }
}

void TbsSkinMainMenuBarItem::TrackMenu() {
  const TPoint TL = Parent->ClientToScreen(TPoint(ObjectRect.Left, ObjectRect.Top));
  const TRect R(TL.X, TL.Y, TL.X + RectWidth(ObjectRect), TL.Y + RectHeight(ObjectRect));
  TbsSkinForm* F = Parent->SkinForm();
  if (F == nullptr) return;
  F->SkinMenuOpen();
  F->EnterMainMenuMode();
  F->SkinMenu()->Popup(nullptr, Parent->SkinData(), 0, R, MenuItem, Parent->PopupToUp());
}
