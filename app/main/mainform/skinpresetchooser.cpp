#include "app/main/mainform/skinpresetchooser.h"

#include "skin/boxes/combos/bsskincombobox.h"

void TSkinPresetChooser::ClearItems() {
  FBox->Items()->Clear();
}

void TSkinPresetChooser::AddItem(const String& Text) {
  FBox->Items()->Add(Text);
}

Integer TSkinPresetChooser::ItemIndex() const {
  return FBox->ItemIndex();
}

void TSkinPresetChooser::SetItemIndex(Integer Index) {
  FBox->SetItemIndex(Index);
}

String TSkinPresetChooser::Text() const {
  return FBox->Text();
}

void TSkinPresetChooser::SetEnabled(bool Value) {
  FBox->SetEnabled(Value);
}
