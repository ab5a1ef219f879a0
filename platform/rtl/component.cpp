#include "platform/rtl/component.h"

#include <algorithm>

#include "platform/rtl/sysutils.h"

namespace {

void eraseFirst(std::vector<TComponent*>& List, TComponent* Item) {
  auto it = std::find(List.begin(), List.end(), Item);
  if (it != List.end()) List.erase(it);
}

}  // namespace

// ---- TPersistent -------------------------------------------------------------------------------

void TPersistent::Assign(TPersistent* Source) {
  if (Source != nullptr)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source) {
  String SourceName = Source != nullptr ? Source->ClassName() : String("nil");
  throw EConvertError(Format("Cannot assign a %s to a %s", SourceName, ClassName()));
}

// ---- TComponent --------------------------------------------------------------------------------

bool IsValidIdent(const String& Ident) {
  auto alpha = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (Ident.empty() || !alpha(static_cast<unsigned char>(Ident[0]))) return false;
  for (unsigned char c : Ident)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Each notified component removes itself from our list (mutual registration), so walk a copy and
  // skip those that a previous handler already unregistered.
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    eraseFirst(Other->FFreeNotifies, this);
    Other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError(Format(SListIndexError, Index));
  return FComponents[static_cast<size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  auto& List = FOwner->FComponents;
  auto it = std::find(List.begin(), List.end(), this);
  return it == List.end() ? -1 : static_cast<Integer>(it - List.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
  if (FOwner == nullptr) return;
  Integer Cur = ComponentIndex();
  if (Cur < 0) return;
  auto& List = FOwner->FComponents;
  Integer Last = static_cast<Integer>(List.size()) - 1;
  Value = std::clamp(Value, 0, Last);
  if (Value == Cur) return;
  List.erase(List.begin() + Cur);
  List.insert(List.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName)) throw EComponentError(Format(SInvalidName, NewName));
  if (FOwner != nullptr)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  ChangeName(NewName);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
  if (AComponent != nullptr && !SameText(CurName, NewName) && AComponent->FOwner == this) {
    TComponent* Found = FindComponent(NewName);
    if (Found != nullptr && Found != AComponent) throw EComponentError(Format(SDuplicateName, NewName));
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  removeNotification(AComponent);
  AComponent->removeNotification(this);
}

void TComponent::removeNotification(TComponent* AComponent) {
  eraseFirst(FFreeNotifies, AComponent);
  if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  if (AComponent->FOwner == this) return;
  ValidateRename(AComponent, String(), AComponent->FName);
  // Checked against our own list now that AComponent is not yet in it.
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName) != nullptr)
    throw EComponentError(Format(SDuplicateName, AComponent->FName));
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  insertOwned(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  removeOwned(AComponent);
}

void TComponent::insertOwned(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::removeOwned(TComponent* AComponent) {
  AComponent->FOwner = nullptr;
  eraseFirst(FComponents, AComponent);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* Instance = FComponents.back();
    removeOwned(Instance);
    delete Instance;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  FComponentState.Include(csReading);
  for (TComponent* C : FComponents) C->BeginLoading();
}

void TComponent::EndLoading() {
  std::vector<TComponent*> Loading;
  std::vector<TComponent*> Pending{this};
  // Breadth-first: this component, then what it owns, in insertion order.
  for (size_t i = 0; i < Pending.size(); ++i) {
    TComponent* C = Pending[i];
    C->FComponentState.Exclude(csReading);
    if (C->FComponentState.Contains(csLoading)) Loading.push_back(C);
    Pending.insert(Pending.end(), C->FComponents.begin(), C->FComponents.end());
  }
  for (TComponent* C : Loading) C->Loaded();
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* C : FComponents) C->SetDesigning(Value, true);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // A handler may free components of ours, so re-check the bound at every step.
  for (Integer i = ComponentCount() - 1; i >= 0; --i) {
    if (i >= ComponentCount()) continue;
    FComponents[static_cast<size_t>(i)]->Notification(AComponent, Operation);
  }
}
