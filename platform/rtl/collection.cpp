#include "platform/rtl/collection.h"

#include <algorithm>

#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"

// ---- TCollectionItem ---------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) {
  SetCollection(Collection);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection != nullptr) FCollection->removeItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection != nullptr) FCollection->removeItem(this);
  if (Value != nullptr) Value->insertItem(this);
}

TPersistent* TCollectionItem::GetOwner() {
  return FCollection;
}

Integer TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  auto& Items = FCollection->FItems;
  auto it = std::find(Items.begin(), Items.end(), this);
  return it == Items.end() ? -1 : static_cast<Integer>(it - Items.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  Integer Cur = Index();
  if (Cur < 0 || Cur == Value) return;
  FCollection->moveItem(Cur, Value);
  Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection != nullptr && FCollection->FUpdateCount == 0)
    FCollection->Update(AllItems ? nullptr : this);
}

// ---- TCollection -------------------------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass)) {}

TCollection::~TCollection() {
  FUpdateCount = 1;
  Clear();
}

void TCollection::insertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  // Add reports the item once it is completely built.
  if (FAdding && FBuilding == nullptr) {
    FBuilding = Item;
    return;
  }
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::removeItem(TCollectionItem* Item) {
  if (Item == FBuilding) FBuilding = nullptr;
  Notify(Item, cnExtracting);
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it != FItems.end()) FItems.erase(it);
  Item->FCollection = nullptr;
  Changed();
}

void TCollection::moveItem(Integer CurIndex, Integer NewIndex) {
  if (NewIndex < 0 || NewIndex >= Count()) TList::Error(SListIndexError, NewIndex);
  TCollectionItem* Item = FItems[static_cast<size_t>(CurIndex)];
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, Item);
}

TCollectionItem* TCollection::Add() {
  bool OuterAdding = FAdding;
  TCollectionItem* OuterBuilding = FBuilding;
  FAdding = true;
  FBuilding = nullptr;
  TCollectionItem* Result = nullptr;
  try {
    Result = FItemClass(this);
  } catch (...) {
    FAdding = OuterAdding;
    FBuilding = OuterBuilding;
    throw;
  }
  TCollectionItem* Built = FBuilding;
  FAdding = OuterAdding;
  FBuilding = OuterBuilding;
  if (Built != nullptr && Built == Result) {
    Notify(Result, cnAdded);
    Changed();
  }
  return Result;
}

TCollectionItem* TCollection::Insert(Integer Index) {
  TCollectionItem* Result = Add();
  Result->SetIndex(Index);
  return Result;
}

void TCollection::Delete(Integer Index) {
  TCollectionItem* Item = Items(Index);
  Notify(Item, cnDeleting);
  delete Item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) delete FItems.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TCollection*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (Other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* Item : Other->FItems) Add()->Assign(Item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::BeginUpdate() {
  ++FUpdateCount;
}

void TCollection::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  Changed();
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::SetCapacity(Integer Value) {
  if (Value > Capacity()) FItems.reserve(static_cast<size_t>(Value));
}

TCollectionItem* TCollection::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) TList::Error(SListIndexError, Index);
  return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItems(Integer Index, TCollectionItem* Value) {
  Items(Index)->Assign(Value);
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}
