// Menus and popup menus.
#include "platform/ui/menus/menu.h"

#include <algorithm>

#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "platform/ui/graphics/imagelist.h"

namespace {
TPopupListHook gPopupListHook;
}  // namespace

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  delete FItems;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (OnChange) OnChange(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

TMenuItem* TMenu::FindItem(Word Value, bool ByShortCut) const {
  std::function<TMenuItem*(TMenuItem*)> walk = [&](TMenuItem* Parent) -> TMenuItem* {
    for (TMenuItem* I : Parent->FItems) {
      if (ByShortCut ? (I->FShortCut == Value && Value != 0) : I->FCommand == Value) return I;
      if (TMenuItem* R = walk(I)) return R;
    }
    return nullptr;
  };
  return walk(FItems);
}

bool TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* Item = FindItem(ACommand, false);
  if (Item == nullptr) return false;
  Item->Click();
  return true;
}

bool TMenu::IsShortCut(TMessage& Message) {
  TShortCut SC = TShortCut(Byte(Message.WParam));
  if (SC == 0) return false;
  if (GetKeyState(VK_SHIFT) < 0) SC |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) SC |= scCtrl;
  if ((Message.LParam & KF_ALTDOWN_BIT) != 0 || GetKeyState(VK_MENU) < 0) SC |= scAlt;
  TMenuItem* Item = FindItem(SC, true);
  if (Item == nullptr) return false;
  // The parents are clicked on the way down, as opening them would; a disabled one stops it. The key
  // counts as taken either way.
  std::vector<TMenuItem*> Chain;
  for (TMenuItem* I = Item; I != nullptr && I != FItems; I = I->Parent()) Chain.push_back(I);
  for (auto it = Chain.rbegin(); it != Chain.rend(); ++it) {
    if (!(*it)->Enabled()) break;
    try {
      (*it)->Click();
    } catch (const Exception& E) {
      if (Application == nullptr) throw;
      Application->HandleException(this, E);
      break;
    }
  }
  return true;
}

// ---- TPopupMenu ----

void SetPopupListHook(TPopupListHook Hook) {
  gPopupListHook = std::move(Hook);
}
TPopupListHook GetPopupListHook() {
  return gPopupListHook;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  FPopupPoint = {X, Y};
  if (OnPopup) OnPopup(this);
  if (gPopupListHook) gPopupListHook(this, X, Y);
}
