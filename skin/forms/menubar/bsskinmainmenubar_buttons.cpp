// The buttons of a maximized MDI child on the main menu bar: their looks, mouse and commands, and how
// the bar adds, places and removes them.
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskinrecordsobjects.h"
#include "skin/forms/menubar/bsformmenus.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : TbsMenuBarObject(AParent, AData) {
  if (AData == nullptr) return;
  if (auto* B = dynamic_cast<TbsDataSkinStdButton*>(AData)) {
    Command = B->Command;
    DownRect = B->DownRect;
  }
  FSkinSupport = true;
}

void TbsSkinMainMenuBarButton::Draw(TCanvas* Cnvs) {
  if (!FSkinSupport || Picture == nullptr) {
    defaultDraw(Cnvs);
    return;
  }
  if (FDown && FMouseIn && !IsEmptyRect(DownRect)) {
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), DownRect);
  } else if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
    const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
    TBitmap A, B, R;
    A.SetSize(W, H);
    B.SetSize(W, H);
    R.SetSize(W, H);
    A.Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), SkinRect);
    B.Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), ActiveSkinRect);
    MorphDraw(R.Canvas()->Handle(), A.Handle(), B.Handle(), MorphKind, FMorphKf);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &R);
  } else {
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(),
                   Active && !IsEmptyRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect);
  }
}

void TbsSkinMainMenuBarButton::defaultDraw(TCanvas* Cnvs) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  const bool Pressed = FDown && FMouseIn;
  if (FMouseIn) {
    C->Brush()->SetColor(RGB(59, 107, 183));
    C->FillRect(TRect(0, 0, W, H));
    C->Brush()->SetColor(Pressed ? RGB(162, 188, 228) : RGB(193, 212, 243));
    C->FillRect(TRect(1, 1, W - 1, H - 1));
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, W, H));
  }
  const TColor Col = Enabled ? clBtnText : clBtnShadow;
  const Integer X = W / 2 - 5 + (Pressed ? 1 : 0), Y = H / 2 - 4 + (Pressed ? 1 : 0);
  switch (Command) {
    case cmClose:
      DrawCloseGlyph(C, X, Y, Col);
      break;
    case cmMaximize:
      DrawRestoreGlyph(C, X, Y, Col);
      break;
    case cmMinimize:
      DrawMinimizeGlyph(C, X, Y, Col);
      break;
    case cmSysMenu:
      DrawSysMenuGlyph(C, X, Y, Col);
      break;
    default:
      break;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMainMenuBarButton::MouseDown(Integer, Integer, TMouseButton Button) {
  if (!Enabled || Button != mbLeft || FDown) return;
  FDown = true;
  if (EnableMorphing() && !IsEmptyRect(DownRect)) SetMorphKf(1);
  Parent->DrawObject(this);
  if (Command == cmSysMenu) DoCommand();
}

void TbsSkinMainMenuBarButton::MouseUp(Integer, Integer, TMouseButton Button) {
  if (!Enabled || Button != mbLeft) return;
  if (Command != cmSysMenu) {
    FDown = false;
    Parent->DrawObject(this);
    if (EnableMorphing()) ReDraw();
  }
  if (Active && Command != cmSysMenu) DoCommand();
}

void TbsSkinMainMenuBarButton::MouseEnter() {
  if (!Enabled) return;
  if (Command == cmSysMenu && FDown) {
    FMouseIn = Active = true;
  } else if (FDown && EnableMorphing()) {
    FMouseIn = Active = true;
    Parent->DrawObject(this);
  } else {
    TbsMenuBarObject::MouseEnter();
  }
}

void TbsSkinMainMenuBarButton::MouseLeave() {
  if (!Enabled) return;
  if (Command == cmSysMenu && FDown) {
    if (EnableMorphing()) SetMorphKf(1);
    Active = FMouseIn = false;
  } else if (FDown && EnableMorphing()) {
    Active = FMouseIn = false;
    Parent->DrawObject(this);
  } else {
    TbsMenuBarObject::MouseLeave();
  }
}

void TbsSkinMainMenuBarButton::DblClick() {
  if (!Enabled || Command != cmSysMenu) return;
  TbsSkinForm* Child = Parent->GetMaximizedMDIChildSkinForm();
  TbsSkinForm* F = Parent->SkinForm();
  if (Child == nullptr || F == nullptr) return;
  F->SkinMenu()->Hide();
  F->SkinMenuClose();
  Child->Form()->Close();
}

void TbsSkinMainMenuBarButton::DoCommand() {
  TbsSkinForm* Child = Parent->GetMaximizedMDIChildSkinForm();
  if (Child == nullptr) return;
  switch (Command) {
    case cmClose:
      Child->Form()->Close();
      break;
    case cmMaximize:
      Child->SetWindowState(wsNormal);
      break;
    case cmMinimize:
      Child->SetWindowState(wsMinimized);
      break;
    case cmSysMenu: {
      TbsSkinForm* F = Parent->SkinForm();
      if (F == nullptr) return;
      Parent->Repaint();
      const TPoint TL = Parent->ClientToScreen(TPoint(ObjectRect.Left, ObjectRect.Top));
      const TRect R(TL.X, TL.Y, TL.X + RectWidth(ObjectRect), TL.Y + RectHeight(ObjectRect));
      TMenuItem* Items = Child->GetSystemMenuItems();
      F->SkinMenuOpen();
      TbsSkinData* SD = F->MenusSkinData() != nullptr ? F->MenusSkinData() : F->SkinData();
      F->SkinMenu()->Popup(Parent, SD, 0, R, Items, Parent->PopupToUp());
      break;
    }
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// The bar's side

TbsSkinForm* TbsSkinMainMenuBar::GetMaximizedMDIChildSkinForm() const {
  TbsSkinForm* Main = nullptr;
  if (Application != nullptr && Application->MainForm() != nullptr)
    Main = GetSkinFormOf(Application->MainForm());
  if (Main == nullptr) Main = BSF;
  TForm* Child = Main != nullptr ? Main->GetMaximizedMDIChild() : nullptr;
  return Child != nullptr ? GetSkinFormOf(Child) : nullptr;
}

void TbsSkinMainMenuBar::CreateChildButtons() {
  ButtonsCount = 0;
  const bool Skinned = FIndex != -1;
  struct {
    String Name;
    TbsStdCommand Command;
  } Specs[] = {{Skinned ? MinButton : "MinButton", cmMinimize},
               {Skinned ? MaxButton : "MaxButton", cmMaximize},
               {Skinned ? CloseButton : "CloseButton", cmClose},
               {Skinned ? SysMenuButton : "SysMenuButton", cmSysMenu}};
  for (auto& S : Specs) {
    TbsDataSkinObject* D = nullptr;
    if (FSD != nullptr && !FSD->Empty) {
      const Integer I = FSD->GetIndex(S.Name);
      if (I != -1) D = FSD->Objects(I);
    }
    auto B = std::make_unique<TbsSkinMainMenuBarButton>(this, D);
    if (!Skinned) B->Command = S.Command;
    B->IDName = S.Name;
    ObjectList.insert(ObjectList.begin(), std::move(B));
    ++ButtonsCount;
  }
}

void TbsSkinMainMenuBar::CheckChildButtons(TbsBorderIcons Icons) {
  for (Integer i = 0; i < ButtonsCount && i < ObjectCount(); ++i) {
    auto* B = dynamic_cast<TbsSkinMainMenuBarButton*>(Objects(i));
    if (B == nullptr) continue;
    B->Enabled = true;
    if (B->Command == cmMinimize && !Icons.Contains(TbsBorderIcon::biMinimize)) B->Enabled = false;
    if (B->Command == cmSysMenu && !Icons.Contains(TbsBorderIcon::biSystemMenu)) B->Enabled = false;
  }
}

void TbsSkinMainMenuBar::MDIChildMaximize() {
  if (FMDIChildMax) return;
  FMDIChildMax = true;
  ActiveObject = OldActiveObject = MouseCaptureObject = -1;
  CreateChildButtons();
  if (TbsSkinForm* Child = GetMaximizedMDIChildSkinForm()) CheckChildButtons(Child->BorderIcons());
  Repaint();
}

void TbsSkinMainMenuBar::deleteChildButtons() {
  const Integer N = std::min(ButtonsCount, ObjectCount());
  ObjectList.erase(ObjectList.begin(), ObjectList.begin() + N);
  ButtonsCount = 0;
  ActiveObject = MouseCaptureObject = -1;
}

void TbsSkinMainMenuBar::MDIChildRestore() {
  TbsSkinForm* Child = GetMaximizedMDIChildSkinForm();
  if (Child == nullptr && FMDIChildMax) {
    FMDIChildMax = false;
    deleteChildButtons();
    Repaint();
  } else if (Child != nullptr) {
    CheckChildButtons(Child->BorderIcons());
  }
}
