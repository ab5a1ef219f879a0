#include "app/main/mainform/skinformatchooser.h"

#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/boxes/office/bsskinofficeitems.h"

void TSkinFormatChooser::ClearItems() {
  FBox->Items()->Clear();
}

void TSkinFormatChooser::AddItem(const String& Caption, Integer ImageIndex) {
  TbsSkinOfficeItem* Item = FBox->Items()->Add();
  Item->SetCaption(Caption);
  Item->SetImageIndex(ImageIndex);
}

void TSkinFormatChooser::Refresh() {
  FBox->Refresh();
}

void TSkinFormatChooser::Repaint() {
  FBox->Repaint();
}

Integer TSkinFormatChooser::ItemCount() const {
  return FBox->Items()->Count();
}

String TSkinFormatChooser::ItemCaption(Integer Index) const {
  return FBox->Items()->Items(Index)->Caption();
}

Integer TSkinFormatChooser::ItemIndex() const {
  return FBox->ItemIndex();
}

void TSkinFormatChooser::SetItemIndex(Integer Index) {
  FBox->SetItemIndex(Index);
}
