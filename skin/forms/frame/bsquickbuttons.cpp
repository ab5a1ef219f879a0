#include "skin/forms/frame/bsquickbuttons.h"

#include "skin/forms/frame/bsformobjecthost.h"

TbsQuickButtonItem::TbsQuickButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TbsQuickButtonItem::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TbsQuickButtonItem*>(Source)) {
    FImageIndex = Other->FImageIndex;
    Hint = Other->Hint;
    FEnabled = Other->FEnabled;
    FVisible = Other->FVisible;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TbsQuickButtonItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool Value) {
  FVisible = Value;
  Changed(false);
}

TbsQuickButtonItems::TbsQuickButtonItems(IbsFormObjectHost* ABSF)
    : TCollection(CollectionItemClass<TbsQuickButtonItem>()), BSF(ABSF) {}

TPersistent* TbsQuickButtonItems::GetOwner() {
  return BSF != nullptr ? BSF->HostComponent() : nullptr;
}

void TbsQuickButtonItems::Update(TCollectionItem*) {
  if (!BSF) return;
  const auto State = BSF->HostComponent()->ComponentState();
  if (State.Contains(csDesigning) || State.Contains(csLoading)) return;
  BSF->UpDateFormNC();
}
