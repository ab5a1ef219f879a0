#include "app/formats/skinchoosers.h"

#include "app/formats/formattables.h"
#include "app/formats/jobrow.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "skin/boxes/combos/bsskincombobox.h"
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

TChooserPositions ReadChooserPositions(TbsSkinOfficeComboBox* Category, TbsSkinOfficeComboBox* Format,
                                       const TPresetChoosers& Presets) {
  TChooserPositions P;
  P.Category = Category->ItemIndex();
  P.Format = Format->ItemIndex();
  for (Integer S = 0; S < PresetSlotCount; ++S) P.Presets[S] = Presets[S]->ItemIndex();
  return P;
}

void WriteChooserPositions(TbsSkinOfficeComboBox* Category, TbsSkinOfficeComboBox* Format,
                           const TPresetChoosers& Presets, const TChooserPositions& Positions) {
  Category->SetItemIndex(Positions.Category);
  Format->SetItemIndex(Positions.Format);
  for (TPresetSlot S : PresetExchangeOrder) Presets[S]->SetItemIndex(Positions.Presets[S]);
}

TChooserPositions JobRowChooserPositions(const TListItem* Row) {
  TChooserPositions P;
  const Integer Code = StrToInt(JobCell(Row, colFormatPosition));
  P.Category = Code / 100 - 1;
  P.Format = Code - 100 * (Code / 100);
  const String PresetCode = JobCell(Row, colPresetCode);
  for (Integer I = 0; I < PresetSlotCount; ++I) P.Presets[I] = StrToInt(Utf8Copy(PresetCode, 2 * I, 2));
  return P;
}

void FillCategoryChooser(TbsSkinOfficeComboBox* Box) {
  Box->Items()->Clear();
  for (Integer I = 0; I < CategoryPositionCount; ++I) {
    TbsSkinOfficeItem* Item = Box->Items()->Add();
    Item->SetCaption(CategoryCaptions[I]);
    Item->SetImageIndex(CategoryCodeOfPosition(I));
  }
}
