#include "skin/forms/menubar/bsskinmainmenubar.h"

#include <algorithm>

#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecordsbars.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/menubar/bsformmenus.h"

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefItemFont(std::make_unique<TFont>()) {
  FSkinDataName = "mainmenubar";
  FDefItemFont->SetName("Tahoma");
  FDefItemFont->SetStyle({});
  FDefItemFont->SetHeight(13);
  FDefItemFont->SetColor(clBtnText);
  SetAlign(alTop);
  SetHeight(22);
  auto timer = [this](Cardinal Interval, void (TbsSkinMainMenuBar::*Proc)()) {
    auto T = std::make_unique<TTimer>(nullptr);
    T->SetEnabled(false);
    T->SetInterval(Interval);
    T->OnTimer = [this, Proc](TObject*) { (this->*Proc)(); };
    return T;
  };
  FMouseTimer = timer(50, &TbsSkinMainMenuBar::mouseTimerProc);
  FMorphTimer = timer(25, &TbsSkinMainMenuBar::morphTimerProc);
  FAnimateTimer = timer(25, &TbsSkinMainMenuBar::animateTimerProc);
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() {
  FMouseTimer.reset();
  FMorphTimer.reset();
  FAnimateTimer.reset();
  if (BSF != nullptr)
    if (auto* M = dynamic_cast<TbsFormMenus*>(BSF->MenuTracking()); M != nullptr && M->MainMenuBar == this)
      M->MainMenuBar = nullptr;
  ClearObjects();
}

void TbsSkinMainMenuBar::SetDefItemFont(TFont* Value) {
  FDefItemFont->Assign(Value);
  if (FIndex == -1) Repaint();
}

void TbsSkinMainMenuBar::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinMainMenuBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* Value) {
  if (BSF == Value) return;
  if (BSF != nullptr) {
    BSF->RemoveFreeNotification(this);
    if (auto* M = dynamic_cast<TbsFormMenus*>(BSF->MenuTracking()); M != nullptr && M->MainMenuBar == this)
      M->MainMenuBar = nullptr;
  }
  BSF = Value;
  if (BSF != nullptr) {
    BSF->FreeNotification(this);
    if (auto* M = dynamic_cast<TbsFormMenus*>(BSF->MenuTracking())) M->MainMenuBar = this;
  }
}

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
  if (FMainMenu != nullptr) FMainMenu->RemoveFreeNotification(this);
  FMainMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  CreateMenu();
  Repaint();
}

void TbsSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  const bool SkinGone = Operation == opRemove && AComponent != nullptr && AComponent == FSD;
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (SkinGone) {
    // The objects point into the skin's pictures: they are rebuilt in the default look.
    FIndex = -1;
    FSkinSupport = false;
    Picture = nullptr;
    CreateMenu();
  }
  if (AComponent == FMainMenu) FMainMenu = nullptr;
  if (AComponent == FMergeMenu) FMergeMenu = nullptr;
  if (AComponent == BSF) BSF = nullptr;
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::Item(Integer Index) const {
  return dynamic_cast<TbsSkinMainMenuBarItem*>(ObjectList[size_t(Index)].get());
}

void TbsSkinMainMenuBar::ClearObjects() {
  ObjectList.clear();
  ButtonsCount = 0;
  ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

// ---------------------------------------------------------------------------------------------
// Building

TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu() const {
  if (FMergeMenu != nullptr) return FMergeMenu;
  TCustomForm* Main = Application != nullptr ? Application->MainForm() : nullptr;
  TCustomForm* Child = Main != nullptr ? Main->ActiveMDIChild() : nullptr;
  if (Child == nullptr) return nullptr;
  for (Integer i = 0; i < Child->ComponentCount(); ++i)
    if (auto* Menu = dynamic_cast<TMainMenu*>(Child->Components(i))) return Menu;
  return nullptr;
}

void TbsSkinMainMenuBar::CreateMenu() {
  ClearObjects();
  if (FMainMenu == nullptr) return;
  TMainMenu* M = nullptr;
  if (BSF != nullptr && (BSF->Form()->FormStyle() == fsMDIForm || FMergeMenu != nullptr))
    M = GetChildMainMenu();
  TbsDataSkinMainMenuItem* AData = nullptr;
  if (FSD != nullptr && !FSD->Empty) {
    const Integer I = FSD->GetIndex(MenuBarItem);
    if (I != -1) AData = dynamic_cast<TbsDataSkinMainMenuItem*>(FSD->Objects(I));
  }
  ChildMenuIn = M != nullptr;
  if (M != nullptr && FScrollMenu) FScrollMenu = false;
  std::vector<TMenuItem*> L;
  if (M != nullptr) {
    auto inChild = [M](Byte G) {
      for (Integer j = 0; j < M->Items()->Count(); ++j)
        if (M->Items()->Items(j)->GroupIndex() == G) return true;
      return false;
    };
    for (Integer i = 0; i < FMainMenu->Items()->Count(); ++i)
      if (!inChild(FMainMenu->Items()->Items(i)->GroupIndex())) L.push_back(FMainMenu->Items()->Items(i));
    for (Integer j = 0; j < M->Items()->Count(); ++j) L.push_back(M->Items()->Items(j));
    std::stable_sort(L.begin(), L.end(),
                     [](TMenuItem* A, TMenuItem* B) { return A->GroupIndex() < B->GroupIndex(); });
  } else {
    for (Integer i = 0; i < FMainMenu->Items()->Count(); ++i) L.push_back(FMainMenu->Items()->Items(i));
  }
  for (TMenuItem* MI : L) {
    if (!MI->Visible()) continue;
    auto O = std::make_unique<TbsSkinMainMenuBarItem>(this, AData);
    O->IDName = MI->Name();
    O->Enabled = O->OldEnabled = MI->Enabled();
    O->MenuItem = MI;
    ObjectList.push_back(std::move(O));
  }
  if (FMDIChildMax) {
    CreateChildButtons();
    if (TbsSkinForm* Child = GetMaximizedMDIChildSkinForm()) CheckChildButtons(Child->BorderIcons());
  }
}

void TbsSkinMainMenuBar::UpDateItems() {
  CreateMenu();
  Repaint();
  ActiveObject = OldActiveObject = -1;
  FMouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::UpDateEnabledItems() {
  for (Integer i = 0; i < ObjectCount(); ++i)
    if (auto* I = Item(i)) I->Enabled = I->MenuItem->Enabled();
  Repaint();
}

void TbsSkinMainMenuBar::Merge(TMainMenu* Menu) {
  FMergeMenu = Menu;
  UpDateItems();
}

// ---------------------------------------------------------------------------------------------
// Skin

void TbsSkinMainMenuBar::GetSkinData() {
  TbsSkinControl::GetSkinData();
  Picture = nullptr;
  auto* D = FIndex != -1 ? dynamic_cast<TbsDataSkinMainMenuBar*>(FSD->Ctrls(FIndex)) : nullptr;
  if (D == nullptr) {
    FIndex = -1;
    return;
  }
  SkinRect = D->SkinRect;
  ItemsRect = D->ItemsRect;
  MenuBarItem = D->MenuBarItem;
  CloseButton = D->CloseButton;
  MaxButton = D->MaxButton;
  MinButton = D->MinButton;
  SysMenuButton = D->SysMenuButton;
  TrackMarkColor = D->TrackMarkColor;
  TrackMarkActiveColor = D->TrackMarkActiveColor;
  StretchEffect = D->StretchEffect;
  ItemTransparent = D->ItemTransparent;
  if (D->PictureIndex != -1 && D->PictureIndex < FSD->PictureCount()) Picture = FSD->Picture(D->PictureIndex);
}

void TbsSkinMainMenuBar::BeforeChangeSkinData() {
  FSkinSupport = false;
  TbsSkinControl::BeforeChangeSkinData();
  ClearObjects();
}

void TbsSkinMainMenuBar::ChangeSkinData() {
  GetSkinData();
  FSkinSupport = FIndex != -1;
  CreateMenu();
  if (FSkinSupport && FUseSkinSize)
    SetHeight(RectHeight(SkinRect));
  else if (FDefaultHeight > 0)
    SetHeight(FDefaultHeight);
  Repaint();
}

void TbsSkinMainMenuBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  if (FIndex != -1 && FUseSkinSize) AHeight = RectHeight(SkinRect);
  TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Repaint();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TbsSkinMainMenuBar::CalcRects() {
  if (FSkinSupport)
    NewItemsRect =
        TRect(ItemsRect.Left, ItemsRect.Top, Width() + ItemsRect.Right - RectWidth(SkinRect),
              FUseSkinSize ? ItemsRect.Bottom : Height() + ItemsRect.Bottom - RectHeight(SkinRect));
  else
    NewItemsRect = TRect(2, 2, Width() - 2, Height() - 2);
  if (!FMDIChildMax || ButtonsCount != 4 || ObjectCount() < 4) return;
  const Integer H = RectHeight(NewItemsRect);
  // The system-menu button at the left end; close, restore and minimize from the right end inwards.
  auto size = [&](TbsMenuBarObject* B, Integer& W, Integer& BH) {
    auto* MB = dynamic_cast<TbsSkinMainMenuBarButton*>(B);
    if (MB != nullptr && MB->FSkinSupport) {
      W = RectWidth(B->SkinRect);
      BH = RectHeight(B->SkinRect);
    } else {
      W = BH = H;
    }
  };
  Integer W = 0, BH = 0;
  size(Objects(0), W, BH);
  const Integer Top0 = NewItemsRect.Top + H / 2 - BH / 2;
  Objects(0)->ObjectRect = TRect(NewItemsRect.Left, Top0, NewItemsRect.Left + W, Top0 + BH);
  NewItemsRect.Left += W + 2;
  for (Integer i = 1; i < 4; ++i) {
    size(Objects(i), W, BH);
    const Integer Top = NewItemsRect.Top + H / 2 - BH / 2;
    Objects(i)->ObjectRect = TRect(NewItemsRect.Right - W, Top, NewItemsRect.Right, Top + BH);
    NewItemsRect.Right -= W + 2;
  }
}

TRect TbsSkinMainMenuBar::GetMarkerRect() const {
  return TRect(NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TbsSkinMainMenuBar::drawMarker(TCanvas* C) {
  const TColor Col = FIndex == -1 ? (MarkerActive ? clBtnText : clBtnShadow)
                                  : TColor(MarkerActive ? TrackMarkActiveColor : TrackMarkColor);
  DrawArrow(C, GetMarkerRect(), Col, 2);
}

void TbsSkinMainMenuBar::PaintMenuBar(TCanvas* Target) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  FSkinSupport = FIndex != -1;
  TBitmap B;
  B.SetSize(Width(), Height());
  if (FIndex == -1 || Picture == nullptr) {
    B.Canvas()->Brush()->SetColor(clBtnFace);
    B.Canvas()->FillRect(TRect(0, 0, Width(), Height()));
  } else if (FSD->MainMenuBarTransparent) {
    DrawParentBackground(this, B.Canvas());
  } else if (FUseSkinSize) {
    ComposeSkinImageH(ItemsRect.Left, RectWidth(SkinRect) - ItemsRect.Right, &B, Picture, SkinRect, Width(),
                      Height(), StretchEffect);
  } else if (FToolBarMode) {
    CreateToolBarImage(&B);
  } else {
    const Integer H = RectHeight(SkinRect);
    ComposeStretchedSkinImage(&B, Picture, SkinRect, TRect(ItemsRect.Left, H / 4, ItemsRect.Right, H - H / 4),
                              true);
  }
  CalcRects();
  Scroll = false;
  for (auto& O : ObjectList)
    if (O->Visible) O->Draw(B.Canvas());
  if (Scroll && FScrollMenu) drawMarker(B.Canvas());
  Target->Draw(0, 0, &B);
}

void TbsSkinMainMenuBar::Paint() {
  PaintMenuBar(Canvas());
}

void TbsSkinMainMenuBar::DrawObject(TbsMenuBarObject* Obj) {
  if (!HandleAllocated()) return;
  if (dynamic_cast<TbsSkinMainMenuBarItem*>(Obj) != nullptr && FIndex != -1 &&
      (ItemTransparent || (FToolBarMode && FToolBarModeItemTransparent))) {
    Repaint();
    return;
  }
  if (Obj->TbsMenuBarObject::Visible) Obj->Draw(Canvas());
  flushCanvas();
}

// A drawing outside painting shows on the screen once the canvas gives its DC back; that would
// otherwise wait for the application's idle time.
void TbsSkinMainMenuBar::flushCanvas() {
  if (auto* C = dynamic_cast<TControlCanvas*>(Canvas()); C != nullptr && !FromWMPaint) C->FreeHandle();
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TbsSkinMainMenuBar::TestActive(Integer X, Integer Y) {
  if (ObjectList.empty()) return;
  OldActiveObject = ActiveObject;
  Integer Hit = -1;
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsMenuBarObject* O = Objects(i);
    if (O->Enabled && X >= O->ObjectRect.Left && X < O->ObjectRect.Right && Y >= O->ObjectRect.Top &&
        Y < O->ObjectRect.Bottom) {
      Hit = i;
      break;
    }
  }
  if (Hit == -1 && OldActiveObject != -1 && MenuActive && OldActiveObject < ObjectCount() &&
      Item(OldActiveObject) != nullptr)
    ActiveObject = OldActiveObject;
  else
    ActiveObject = Hit;
  if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
  if (ActiveObject >= ObjectCount()) ActiveObject = -1;
  if (OldActiveObject >= ObjectCount()) OldActiveObject = -1;
  if (ActiveObject != OldActiveObject) {
    if (OldActiveObject != -1 && Objects(OldActiveObject)->Enabled) Objects(OldActiveObject)->MouseLeave();
    if (ActiveObject != -1 && Objects(ActiveObject)->Enabled) Objects(ActiveObject)->MouseEnter();
  }
  if (Scroll && FScrollMenu) {
    const TRect MR = GetMarkerRect();
    const bool In = X >= MR.Left && X < MR.Right && Y >= MR.Top && Y < MR.Bottom;
    if (In != MarkerActive) {
      MarkerActive = In;
      if (HandleAllocated()) {
        drawMarker(Canvas());
        flushCanvas();
      }
    }
  }
}

void TbsSkinMainMenuBar::mouseTimerProc() {
  if (!HandleAllocated()) return;
  TPoint P;
  GetCursorPos(&P);
  P = ScreenToClient(P);
  if (P.X < 0 || P.Y < 0 || P.X > Width() || P.Y > Height()) {
    FMouseTimer->SetEnabled(false);
    TestActive(-1, -1);
  } else {
    TestActive(P.X, P.Y);
  }
}

void TbsSkinMainMenuBar::morphTimerProc() {
  bool Moved = false;
  for (auto& O : ObjectList)
    if (O->EnableMorphing() && O->CanMorphing()) {
      O->DoMorphing();
      Moved = true;
    }
  flushCanvas();
  if (!Moved) FMorphTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::animateTimerProc() {
  bool Moved = false;
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsSkinMainMenuBarItem* I = Item(i);
    if (I == nullptr || !I->EnableAnimation()) continue;
    if (I->Active && I->CurrentFrame <= I->FrameCount) {
      ++I->CurrentFrame;
      DrawObject(I);
      Moved = true;
    } else if (!I->Active && I->CurrentFrame > 0) {
      --I->CurrentFrame;
      DrawObject(I);
      Moved = true;
    }
  }
  if (!Moved) FAnimateTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseDown(Button, Shift, X, Y);
  TestActive(X, Y);
  if (ActiveObject != -1) {
    MouseCaptureObject = ActiveObject;
    TbsMenuBarObject* O = Objects(ActiveObject);
    O->MouseDown(X, Y, Button);
    if (Shift.Contains(ssDouble) && MouseCaptureObject < ObjectCount()) O->DblClick();
    return;
  }
  const TRect MR = GetMarkerRect();
  if (Scroll && FScrollMenu && X >= MR.Left && X < MR.Right && Y >= MR.Top && Y < MR.Bottom)
    PopupHiddenItems();
}

void TbsSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (MouseCaptureObject != -1 && MouseCaptureObject < ObjectCount()) {
    Objects(MouseCaptureObject)->MouseUp(X, Y, Button);
    MouseCaptureObject = -1;
  }
  TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMainMenuBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (!FMouseTimer->Enabled()) FMouseTimer->SetEnabled(true);
  TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinMainMenuBar::PopupHiddenItems() {
  if (BSF == nullptr || FMainMenu == nullptr) return;
  Integer N = 0;
  for (Integer i = 0; i < ObjectCount(); ++i)
    if (auto* I = Item(i); I != nullptr && I->Visible) ++N;
  const TPoint P = ClientToScreen(TPoint(NewItemsRect.Right, NewItemsRect.Top));
  const TRect R(P.X - 5, P.Y, P.X, P.Y + RectHeight(NewItemsRect));
  BSF->SkinMenuOpen();
  TMainMenu* Child = GetChildMainMenu();
  if (Child == nullptr)
    BSF->SkinMenu()->Popup(nullptr, FSD, N, R, FMainMenu->Items(), false);
  else
    BSF->SkinMenu()->Popup2(nullptr, FSD, N, R, FMainMenu->Items(), Child->Items(), false);
}

void TbsSkinMainMenuBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      TbsSkinControl::Dispatch(Message);
      if (!designing()) {
        if (OnMouseEnter) OnMouseEnter(this);
        FMouseTimer->SetEnabled(true);
      }
      return;
    case CM_MOUSELEAVE:
      TbsSkinControl::Dispatch(Message);
      if (!designing()) {
        if (OnMouseLeave) OnMouseLeave(this);
        FMouseTimer->SetEnabled(false);
        TestActive(-1, -1);
      }
      return;
    case WM_CLOSESKINMENU:
      // The system-menu button's menu closed: the button comes up.
      for (Integer i = 0; i < ButtonsCount && i < ObjectCount(); ++i) {
        auto* B = dynamic_cast<TbsSkinMainMenuBarButton*>(Objects(i));
        if (B == nullptr || B->Command != cmSysMenu || !B->FDown) continue;
        if (ActiveObject != i) B->Active = B->FMouseIn = false;
        B->FDown = false;
        B->ReDraw();
      }
      return;
    case WM_CHECKPARENTBG:
      if (FIndex != -1 && FSD != nullptr && FSD->MainMenuBarTransparent) Repaint();
      return;
    case WM_SIZE:
      TbsSkinControl::Dispatch(Message);
      CalcRects();
      return;
    case WM_MOVE:
      TbsSkinControl::Dispatch(Message);
      if (FIndex != -1 && FSD != nullptr && FSD->MainMenuBarTransparent && Align() == alNone) Repaint();
      return;
    default:
      TbsSkinControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------------
// Keyboard menu mode

bool TbsSkinMainMenuBar::FindHotKeyItem(Word Key) {
  if (BSF == nullptr || !BSF->Form()->Visible()) return false;
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsSkinMainMenuBarItem* I = Item(i);
    if (I == nullptr || !I->Enabled || !I->Visible || !IsAccel(char32_t(Key), I->MenuItem->Caption()))
      continue;
    I->MouseEnter();
    if (!(BSF->Mode().InMenu && I->MenuItem->Count() > 0)) I->MouseDown(0, 0, mbLeft);
    return true;
  }
  return false;
}

void TbsSkinMainMenuBar::NextMainMenuItem() {
  std::vector<TbsSkinMainMenuBarItem*> L;
  for (Integer i = 0; i < ObjectCount(); ++i)
    if (auto* I = Item(i); I != nullptr && I->Enabled && I->Visible) L.push_back(I);
  if (L.empty()) return;
  for (size_t k = 0; k < L.size(); ++k)
    if (L[k]->Active || L[k]->FDown) {
      L[k]->MouseLeave();
      L[(k + 1) % L.size()]->MouseEnter();
      return;
    }
  L.front()->MouseEnter();
}

void TbsSkinMainMenuBar::PriorMainMenuItem() {
  std::vector<TbsSkinMainMenuBarItem*> L;
  for (Integer i = 0; i < ObjectCount(); ++i)
    if (auto* I = Item(i); I != nullptr && I->Enabled && I->Visible) L.push_back(I);
  if (L.empty()) return;
  for (size_t k = L.size(); k-- > 0;)
    if (L[k]->Active || L[k]->FDown) {
      L[k]->MouseLeave();
      L[(k + L.size() - 1) % L.size()]->MouseEnter();
      return;
    }
  L.back()->MouseEnter();
}

bool TbsSkinMainMenuBar::ExecuteActiveItem() {
  if (BSF == nullptr) return false;
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsSkinMainMenuBarItem* I = Item(i);
    if (I == nullptr) continue;
    if ((I->FDown && I->MenuItem->Count() == 0) || (I->Active && !BSF->Mode().InMenu)) {
      I->Active = false;
      I->MouseDown(0, 0, mbLeft);
      return true;
    }
  }
  return false;
}

void TbsSkinMainMenuBar::MenuEnter() {
  MenuActive = true;
  Repaint();
  TbsSkinMainMenuBarItem* First = nullptr;
  for (Integer i = 0; i < ObjectCount() && First == nullptr; ++i)
    if (auto* I = Item(i); I != nullptr && I->Active) First = I;
  for (Integer i = 0; i < ObjectCount() && First == nullptr; ++i) First = Item(i);
  if (First != nullptr) First->MouseEnter();
  if (BSF != nullptr) {
    if (BSF->MenuTracking() != nullptr) BSF->MenuTracking()->HookApp();
    BSF->EnterMainMenuMode();
    if (BSF->OnMainMenuEnter) BSF->OnMainMenuEnter(this);
  }
}

void TbsSkinMainMenuBar::MenuClose() {
  for (Integer i = 0; i < ObjectCount(); ++i)
    if (auto* I = Item(i); I != nullptr && I->FDown) {
      I->FDown = false;
      I->Active = true;
      DrawObject(I);
      return;
    }
}

void TbsSkinMainMenuBar::MenuExit() {
  MenuActive = false;
  Repaint();
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsSkinMainMenuBarItem* I = Item(i);
    if (I == nullptr || !(I->FDown || I->Active)) continue;
    I->Active = I->FMouseIn = I->FDown = false;
    if (I->EnableAnimation() && !I->InActiveAnimation) {
      I->CurrentFrame = 0;
      DrawObject(I);
    } else {
      I->ReDraw();
    }
    break;
  }
  ActiveObject = OldActiveObject = -1;
}
