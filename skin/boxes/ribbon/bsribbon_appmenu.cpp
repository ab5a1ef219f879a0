// The ribbon's application button and the opening and closing of its application menu, with the
// application message hook that lets Escape close the menu from anywhere on the form.
#include "platform/ui/core/form.h"
#include "skin/boxes/ribbon/bsappmenu.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/boxes/ribbon/bsribbonshared.h"
#include "skin/forms/engine/bsskinform.h"

// ---- TbsAppButton ----

bool TbsAppButton::hasAppMenu() const {
  return Ribbon != nullptr && Ribbon->AppMenu() != nullptr;
}

bool TbsAppButton::CanMenuTrack(Integer X, Integer Y) {
  if (hasAppMenu()) return true;
  return TbsSkinMenuButton::CanMenuTrack(X, Y);
}

void TbsAppButton::TrackMenu() {
  if (!hasAppMenu()) {
    TbsSkinMenuButton::TrackMenu();
    return;
  }
  FDownState = true;
  Ribbon->ShowAppMenu();
}

void TbsAppButton::ReleaseMenu() {
  FMenuTracked = false;
  FDownState = false;
  SetDown(false);
}

void TbsAppButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && Ribbon != nullptr && Ribbon->AppMenuShown()) {
    Ribbon->HideAppMenu(nullptr);
    return;
  }
  TbsSkinMenuButton::MouseDown(Button, Shift, X, Y);
}

void TbsAppButton::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinMenuButton::KeyDown(Key, Shift);
  switch (Key) {
    case VK_DOWN:
    case VK_SPACE:
      // Without any menu a drop-down would hold the button pressed with nothing to release it.
      if (CanMenuTrack(0, 0)) DropDown();
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
      if (Ribbon != nullptr && Ribbon->CanFocus()) Ribbon->SetFocus();
      break;
    default:
      break;
  }
}

void TbsAppButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_KEYUP:
      TbsSkinMenuButton::Dispatch(Message);
      if ((Message.WParam & 0xFFFF) == VK_RETURN && CanMenuTrack(0, 0) && !FMenuTracked) DropDown();
      return;
    default:
      TbsSkinMenuButton::Dispatch(Message);
  }
}

// ---- the ribbon's application menu ----

void TbsRibbon::SetAppMenu(TbsAppMenu* Value) {
  if (FAppMenu == Value) return;
  if (FAppMenu != nullptr) {
    if (FInAppHook) removeAppHook();
    FAppMenu->RemoveFreeNotification(this);
  }
  FAppMenu = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  Value->Ribbon = this;
  Value->Hide();
  if (RibbonDesigning(this)) {
    Value->SetAnchors(TAnchors{});
    Value->SetBounds(-110, 0, 100, 100);
  }
}

bool TbsRibbon::AppMenuShown() const {
  return FAppMenu != nullptr && FAppMenu->Visible();
}

bool TbsRibbon::formActive() {
  if (auto* Engine = dynamic_cast<TbsSkinForm*>(BSF)) return Engine->GetFormActive();
  // Without a form engine the ribbon's own form answers.
  TCustomForm* F = GetParentForm(this);
  return F != nullptr && F->Active();
}

void TbsRibbon::appMessage(MSG& Msg, bool& Handled) {
  if (Msg.message != WM_KEYDOWN || (Msg.wParam & 0xFFFF) != VK_ESCAPE) return;
  if (!AppMenuShown() || !formActive()) return;
  HideAppMenu(nullptr);
  Msg.message = 0;
  Handled = true;
}

void TbsRibbon::installAppHook() {
  if (FInAppHook || RibbonDesigning(this) || Application == nullptr) return;
  OldAppMessage = Application->OnMessage;
  Application->OnMessage = [this](MSG& Msg, bool& Handled) { appMessage(Msg, Handled); };
  FInAppHook = true;
}

void TbsRibbon::removeAppHook() {
  if (!FInAppHook) return;
  if (Application != nullptr) Application->OnMessage = OldAppMessage;
  OldAppMessage = nullptr;
  FInAppHook = false;
}

void TbsRibbon::placeAppMenu() {
  TCustomForm* Form = GetParentForm(this);
  if (Form == nullptr || FAppButton == nullptr) return;
  Integer Top = FAppButton->Top() + this->Top() + FAppButton->Height();
  Integer H = Form->ClientHeight() - this->Top() + FAppButton->Top() - FAppButton->Height();
  FAppMenu->GetSkinData();
  GetSkinData();
  if (FIndex != -1 && FData != nullptr && FAppMenu->Data() != nullptr &&
      !IsEmptyRect(FAppMenu->Data()->BackButtonRect)) {
    Top = 0;
    H = Form->ClientHeight();
  }
  FAppMenu->SetBounds(0, Top, Form->ClientWidth(), H);
  FAppMenu->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

void TbsRibbon::ShowAppMenu() {
  if (FAppMenu == nullptr) return;
  const bool Designing = RibbonDesigning(this);
  if (!Designing && FAppMenu->OnShowingMenu) FAppMenu->OnShowingMenu(this);
  if (FAppMenu == nullptr) return;
  installAppHook();
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && FAppMenu->Parent() != Form) FAppMenu->SetParent(Form);
  placeAppMenu();
  Integer Index = 0;
  for (Integer i = 0; i < FAppMenu->Items()->Count(); ++i)
    if (FAppMenu->ActivePage() != nullptr && FAppMenu->Items()->Items(i)->Page() == FAppMenu->ActivePage()) {
      Index = i;
      break;
    }
  // A menu without items has nothing to select.
  FAppMenu->SetItemIndex(FAppMenu->Items()->Count() > 0 ? Index : -1);
  FAppMenu->Show();
  FAppMenu->BringToFront();
  if (!Designing && FAppMenu->CanFocus()) FAppMenu->SetFocus();
  // The column may have outgrown the menu while it was hidden.
  FAppMenu->UpdateScrollInfo();
  const Integer I = FAppMenu->ItemIndex();
  if (I >= 0 && I < FAppMenu->Items()->Count()) {
    TbsAppMenuItem* Item = FAppMenu->Items()->Items(I);
    if (!Item->Visible() || !Item->Enabled()) FAppMenu->FindNextItem();
  }
  if (TbsAppMenuPage* P = FAppMenu->ActivePage()) {
    P->FStopScroll = false;
    P->UpDateSize();
    if (P->CanScroll()) P->GetScrollInfo();
  }
  Repaint();
  if (Designing) return;
  if (auto* Engine = dynamic_cast<TbsSkinForm*>(BSF)) Engine->UpDateFormNC();
  if (FAppMenu != nullptr && FAppMenu->OnShowMenu) FAppMenu->OnShowMenu(this);
}

void TbsRibbon::HideAppMenu(TbsAppMenuItem* Item) {
  removeAppHook();
  if (FAppMenu == nullptr) return;
  const bool Designing = RibbonDesigning(this);
  if (!Designing && FAppMenu->OnHidingMenu) FAppMenu->OnHidingMenu(this);
  if (FAppMenu == nullptr) return;
  FAppMenu->SetAnchors(TAnchors{});
  FAppMenu->Hide();
  if (Designing) FAppMenu->SetBounds(-110, 0, 100, 100);
  Repaint();
  if (FAppButton != nullptr) FAppButton->ReleaseMenu();
  auto Alive = FAlive;
  if (Application != nullptr) Application->ProcessMessages();
  if (!*Alive) return;
  // The command runs with the menu already gone; hold the event, not the item.
  if (Item != nullptr) {
    TNotifyEvent Click = Item->OnClick;
    if (Click) Click(this);
    if (!*Alive) return;
  }
  if (OnMenuClose) OnMenuClose(this);
  if (!*Alive || Designing) return;
  if (auto* Engine = dynamic_cast<TbsSkinForm*>(BSF)) Engine->UpDateFormNC();
  if (FAppMenu != nullptr && FAppMenu->OnHideMenu) FAppMenu->OnHideMenu(this);
}
