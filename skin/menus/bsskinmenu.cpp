#include "skin/menus/bsskinmenu.h"

#include "platform/ui/core/application.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bssystem.h"
#include "skin/menus/bsskinpopupwindow.h"

bool IsMenuCloseMessage(Cardinal Msg) {
  switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

namespace {

// A windowed control gets the message through its window, a windowless one through Perform.
void tellControl(TControl* C, UINT Msg) {
  if (auto* W = dynamic_cast<TWinControl*>(C); W != nullptr && W->HandleAllocated())
    SendMessage(W->Handle(), Msg, 0, 0);
  else
    C->Perform(Msg, 0, 0);
}

// Runs a menu item's command through its menu, or the item itself when it belongs to no menu (the
// form's built-in system menu items).
void dispatchItem(TMenuItem* Item) {
  if (TMenu* M = Item->GetParentMenu(); M != nullptr && M->DispatchCommand(Item->Command())) return;
  Item->Click();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TbsSkinMenu

TbsSkinMenu::TbsSkinMenu(TComponent* AOwner, TForm* AForm)
    : TComponent(AOwner), FForm(AForm), FDefaultMenuItemFont(std::make_unique<TFont>()) {
  FDefaultMenuItemFont->SetName("Tahoma");
  FDefaultMenuItemFont->SetHeight(13);
  FDefaultMenuItemFont->SetStyle({});
  WaitTimer = new TTimer(this);
  WaitTimer->SetEnabled(false);
  WaitTimer->SetInterval(500);
  WaitTimer->OnTimer = [this](TObject* Sender) { WaitTimerProc(Sender); };
  WorkArea = Rect(0, 0, 0, 0);
  if (FForm != nullptr) FForm->FreeNotification(this);
}

TbsSkinMenu::~TbsSkinMenu() {
  *FAlive = false;
  HidePopups(0);
}

void TbsSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == PopupCtrl) PopupCtrl = nullptr;
  if (AComponent == DCtrl) DCtrl = nullptr;
  if (AComponent == FForm) FForm = nullptr;
}

void TbsSkinMenu::setPopupCtrl(TControl* C) {
  PopupCtrl = C;
  if (C != nullptr) C->FreeNotification(this);
}

bool TbsSkinMenu::openFirst(TControl* APopupCtrl, TbsSkinData* ASkinData) {
  FFirst = !FVisible;
  // The menu still open is closed first and reported to the control that opened it; the new
  // control is told when the new menu closes.
  if (!FPopupList.empty() || FVisible) HidePopups(0);
  setPopupCtrl(APopupCtrl);
  GetWorkArea(WorkArea);
  SkinData = ASkinData;
  return true;
}

void TbsSkinMenu::nothingOpened() {
  // A menu with nothing to show closes at once, so the control that asked for it does not stay
  // waiting for a close that never comes.
  if (PopupCtrl == nullptr) return;
  TControl* C = PopupCtrl;
  PopupCtrl = nullptr;
  DCtrl = nullptr;
  tellControl(C, WM_CLOSESKINMENU);
}

void TbsSkinMenu::Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, Integer StartIndex, TRect R,
                        TMenuItem* AItem, bool PopupUp) {
  openFirst(APopupCtrl, ASkinData);
  if (AItem != nullptr && AItem->Count() > 0 && StartIndex >= 0 && StartIndex < AItem->Count()) {
    FVisible = true;
    FRootItem = AItem;
    FRootItem2 = nullptr;
    AddPopup(R, AItem, StartIndex, false, PopupUp);
    FFirst = false;
  } else {
    nothingOpened();
  }
}

void TbsSkinMenu::Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, Integer StartIndex, TRect R,
                         TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp) {
  openFirst(APopupCtrl, ASkinData);
  const Integer Total = (AItem ? AItem->Count() : 0) + (AItem2 ? AItem2->Count() : 0);
  if (AItem != nullptr && AItem->Count() > 0 && StartIndex >= 0 && StartIndex < Total) {
    FVisible = true;
    FRootItem = AItem;
    FRootItem2 = AItem2;
    AddPopup2(R, AItem, AItem2, StartIndex, false, PopupUp);
    FFirst = false;
  } else {
    nothingOpened();
  }
}

bool TbsSkinMenu::Shows(TMenuItem* ARoot) const {
  return FVisible && ARoot != nullptr && (FRootItem == ARoot || FRootItem2 == ARoot);
}

void TbsSkinMenu::Hide() {
  HidePopups(0);
  WaitTimer->SetEnabled(false);
  WItem = nullptr;
  if (FForm != nullptr && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_CLOSESKINMENU, 0, 0);
  if (PopupCtrl != nullptr) {
    TControl* C = PopupCtrl;
    PopupCtrl = nullptr;
    tellControl(C, WM_CLOSESKINMENU);
  }
}

void TbsSkinMenu::HidePopups(Integer AIndex) {
  if (AIndex < 0) AIndex = 0;
  while (Integer(FPopupList.size()) > AIndex) {
    TbsSkinPopupWindow* W = FPopupList.back();
    FPopupList.pop_back();
    if (WItem != nullptr && WItem->Parent == W) {
      WaitTimer->SetEnabled(false);
      WItem = nullptr;
    }
    // The level may be the one whose handler is running (a click or a key on it): it disappears
    // now and is freed once that handler has returned.
    W->Hide();
    RemoveComponent(W);
    WinDeferAction([W] { delete W; });
  }
  if (AIndex != 0) return;
  FVisible = false;
  FRootItem = FRootItem2 = nullptr;
  WaitTimer->SetEnabled(false);
  DCtrl = PopupCtrl;
  if (PopupCtrl != nullptr) {
    TControl* C = PopupCtrl;
    PopupCtrl = nullptr;
    tellControl(C, WM_CLOSESKINMENU);
  }
  if (OnMenuClose) {
    TNotifyEvent Handler = std::move(OnMenuClose);
    OnMenuClose = nullptr;
    Handler(this);
  }
}

Integer TbsSkinMenu::GetPopupIndex(TbsSkinPopupWindow* AWindow) const {
  for (size_t i = 0; i < FPopupList.size(); ++i)
    if (FPopupList[i] == AWindow) return Integer(i);
  return Integer(FPopupList.size());
}

TbsSkinPopupWindow* TbsSkinMenu::newLevel() {
  TbsDataSkinPopupWindow* AData = nullptr;
  if (SkinData != nullptr && !SkinData->Empty) AData = SkinData->PopupWindow.get();
  auto* W = new TbsSkinPopupWindow(this, this, AData);
  FPopupList.push_back(W);
  return W;
}

void TbsSkinMenu::AddPopup(TRect R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp) {
  newLevel()->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinMenu::AddPopup2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                            bool PopupByItem, bool PopupUp) {
  newLevel()->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinMenu::GetWorkArea(TRect& R) {
  GetMonitorRectOfWindow(FForm != nullptr && FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, R);
}

void TbsSkinMenu::WaitTimerProc(TObject*) {
  if (WItem != nullptr) CheckItem(WItem->Parent, WItem, false, true);
  WaitTimer->SetEnabled(false);
}

void TbsSkinMenu::CheckItem(TbsSkinPopupWindow* AWindow, TbsSkinMenuItem* AItem, bool Kb, bool AClick) {
  TMenuItem* MItem = AItem->MenuItem;
  const bool C = MItem->Count() > 0;
  const Integer i = GetPopupIndex(AWindow);
  auto stopWait = [this] {
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
  };
  auto closeDeeper = [&] {
    if (i < Integer(FPopupList.size()) - 1) HidePopups(i + 1);
  };
  if (!C && !AClick) {
    stopWait();
    closeDeeper();
  } else if (!C && AClick) {
    stopWait();
    Hide();
    // The handler may free the menu's form and this chain with it.
    std::shared_ptr<bool> Alive = FAlive;
    dispatchItem(MItem);
    if (!*Alive) return;
    if (DCtrl != nullptr) {
      TControl* D = DCtrl;
      DCtrl = nullptr;
      tellControl(D, WM_AFTERDISPATCH);
    }
  } else if (C && !AClick && !Kb) {
    stopWait();
    closeDeeper();
    WItem = AItem;
    WaitTimer->SetEnabled(true);
  } else if (C && AClick) {
    std::shared_ptr<bool> Alive = FAlive;
    dispatchItem(MItem);
    if (!*Alive) return;
    // The handler may have closed the menu or this level.
    if (GetPopupIndex(AWindow) >= Integer(FPopupList.size())) return;
    stopWait();
    AItem->Down = true;
    TRect R = AItem->ObjectRect;
    OffsetRect(&R, AWindow->Left(), AWindow->Top());
    AddPopup(R, MItem, 0, true, false);
  }
}

// ---------------------------------------------------------------------------------------------
// TbsSkinPopupMenu

IbsSkinMenuHost* GetSkinMenuHostOf(TCustomForm* AForm) {
  if (AForm == nullptr) return nullptr;
  for (Integer i = 0; i < AForm->ComponentCount(); ++i)
    if (auto* H = dynamic_cast<IbsSkinMenuHost*>(AForm->Components(i))) return H;
  return nullptr;
}

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

TbsSkinPopupMenu::~TbsSkinPopupMenu() {
  // An open menu showing these items closes before the items go.
  if (FShownBy != nullptr && FShownBy->Shows(Items())) FShownBy->Hide();
}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FComponentForm) FComponentForm = nullptr;
  if (AComponent == FSkinComponent) FSkinComponent = nullptr;
  if (AComponent == FShownBy) FShownBy = nullptr;
}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetComponentForm(TForm* Value) {
  FComponentForm = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetSkinComponent(TComponent* Value) {
  FSkinComponent = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

IbsSkinMenuHost* TbsSkinPopupMenu::findHost() {
  if (FSkinComponent != nullptr) return dynamic_cast<IbsSkinMenuHost*>(FSkinComponent);
  if (FComponentForm != nullptr) return GetSkinMenuHostOf(FComponentForm);
  TForm* F = dynamic_cast<TForm*>(Owner());
  if (F == nullptr && Owner() != nullptr) F = dynamic_cast<TForm*>(Owner()->Owner());
  IbsSkinMenuHost* E = GetSkinMenuHostOf(F);
  // An MDI child's menus go through the main form's engine.
  if (E != nullptr && F->FormStyle() == fsMDIChild && Application != nullptr &&
      Application->MainForm() != nullptr)
    E = GetSkinMenuHostOf(Application->MainForm());
  return E;
}

void TbsSkinPopupMenu::showThroughHost(TControl* ACtrl, TRect R, bool APopupUp, bool NeedSkin) {
  if (OnPopup) OnPopup(this);
  IbsSkinMenuHost* E = findHost();
  if (E == nullptr) return;
  if (FSD == nullptr) SetSkinData(E->MenusSkinData() != nullptr ? E->MenusSkinData() : E->SkinData());
  if (NeedSkin && FSD == nullptr) return;
  TbsSkinMenu* SM = E->SkinMenu();
  if (SM == nullptr) return;
  if (SM->Visible()) E->SkinMenuClose();
  FPopupPoint = {R.Left, R.Top};
  E->SkinMenuOpen();
  FShownBy = SM;
  SM->FreeNotification(this);
  SM->Popup(ACtrl, FSD, 0, R, Items(), APopupUp);
  if (!SM->Visible()) {
    // Nothing to show: menu mode ends at once instead of waiting for a close that never comes.
    E->SkinMenuClose();
    return;
  }
  if (OnMenuClose) SM->OnMenuClose = OnMenuClose;
}

void TbsSkinPopupMenu::Popup(Integer X, Integer Y) {
  showThroughHost(nullptr, Rect(X, Y, X, Y), false, false);
}

void TbsSkinPopupMenu::PopupFromRect(TRect R, bool APopupUp) {
  showThroughHost(nullptr, R, APopupUp, false);
}

void TbsSkinPopupMenu::PopupFromRect2(TControl* ACtrl, TRect R, bool APopupUp) {
  showThroughHost(ACtrl, R, APopupUp, false);
}

void TbsSkinPopupMenu::Popup2(TControl* ACtrl, Integer X, Integer Y) {
  showThroughHost(ACtrl, Rect(X, Y, X, Y), false, true);
}
