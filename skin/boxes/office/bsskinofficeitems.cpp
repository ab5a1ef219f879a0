#include "skin/boxes/office/bsskinofficeitems.h"

#include "skin/boxes/office/bsskinofficelistbox.h"

// ---- TbsSkinOfficeItem ----

TbsSkinOfficeItem::TbsSkinOfficeItem(TCollection* Collection) : TCollectionItem(Collection) {
  auto* Items = static_cast<TbsSkinOfficeItems*>(Collection);
  Active =
      Items != nullptr && Items->OfficeListBox != nullptr && Index() == Items->OfficeListBox->ItemIndex();
}

void TbsSkinOfficeItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TbsSkinOfficeItem*>(Source)) {
    FImageIndex = S->FImageIndex;
    FCaption = S->FCaption;
    FTitle = S->FTitle;
    FEnabled = S->FEnabled;
    FChecked = S->FChecked;
    FHeader = S->FHeader;
    return;
  }
  TCollectionItem::Assign(Source);
}

// The setters report every write, also of an unchanged value: the list repaints each time.
void TbsSkinOfficeItem::SetHeader(bool Value) {
  FHeader = Value;
  Changed(false);
}

void TbsSkinOfficeItem::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed(false);
}

void TbsSkinOfficeItem::SetTitle(const String& Value) {
  FTitle = Value;
  Changed(false);
}

void TbsSkinOfficeItem::SetCaption(const String& Value) {
  FCaption = Value;
  Changed(false);
}

void TbsSkinOfficeItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TbsSkinOfficeItem::SetChecked(bool Value) {
  FChecked = Value;
  Changed(false);
}

// ---- TbsSkinOfficeItems ----

TbsSkinOfficeItems::TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox)
    : TCollection(CollectionItemClass<TbsSkinOfficeItem>()), OfficeListBox(AListBox) {}

TPersistent* TbsSkinOfficeItems::GetOwner() {
  return OfficeListBox;
}

void TbsSkinOfficeItems::Update(TCollectionItem* Item) {
  (void)Item;
  if (OfficeListBox == nullptr) return;
  OfficeListBox->Repaint();
  OfficeListBox->UpdateScrollInfo();
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Add() {
  auto* Item = static_cast<TbsSkinOfficeItem*>(TCollection::Add());
  if (OfficeListBox) OfficeListBox->Repaint();
  return Item;
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Insert(Integer Index) {
  auto* Item = static_cast<TbsSkinOfficeItem*>(TCollection::Insert(Index));
  if (OfficeListBox) OfficeListBox->Repaint();
  return Item;
}

void TbsSkinOfficeItems::Delete(Integer Index) {
  TCollection::Delete(Index);
  if (OfficeListBox) OfficeListBox->Repaint();
}

void TbsSkinOfficeItems::Clear() {
  TCollection::Clear();
  if (OfficeListBox) OfficeListBox->Repaint();
}
