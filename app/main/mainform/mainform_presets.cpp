// The main window's side of the preset dialog: the "设置..." button beside the format chooser, and
// the chooser positions that the window and the dialog copy into each other.
#include "app/main/mainform/mainform.h"
#include "app/main/mainform/makecontrol.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/views/bsskinlistview.h"

void TForm1::createPresetControls() {
  bsSkinButton24 = Make<TbsSkinButton>(this, FormatPanel, "bsSkinButton24");
  bsSkinButton24->SetCaption("设置...");
}

void TForm1::bindPresetHandlers() {
  // Placed and skinned here, once the layout has sized the format chooser and the skin is loaded.
  const Integer Gap = 8;
  bsSkinButton24->SetBounds(bsSkinOfficeComboBox1->Left() + bsSkinOfficeComboBox1->Width() + Gap,
                            (FormatPanel->Height() - 28) / 2, PresetButtonWidth, 28);
  bsSkinButton24->SetSkinData(bsSkinData1);
  bsSkinButton24->OnClick = [this](TObject* Sender) { bsSkinButton24Click(Sender); };
}

void TForm1::SetPresetDialog(IPresetDialog* Value) {
  FPresetDialog = Value;
  FPresetDialogComponent = Value != nullptr ? Value->PresetDialogComponent() : nullptr;
  if (FPresetDialogComponent != nullptr) FPresetDialogComponent->FreeNotification(this);
}

TForm1::TChooserPositions TForm1::ReadChooserPositions(TbsSkinOfficeComboBox* Category,
                                                       TbsSkinOfficeComboBox* Format,
                                                       const TPresetChoosers& Presets) {
  TChooserPositions P;
  P.Category = Category->ItemIndex();
  P.Format = Format->ItemIndex();
  for (Integer S = 0; S < PresetSlotCount; ++S) P.Presets[S] = Presets[S]->ItemIndex();
  return P;
}

void TForm1::WriteChooserPositions(TbsSkinOfficeComboBox* Category, TbsSkinOfficeComboBox* Format,
                                   const TPresetChoosers& Presets, const TChooserPositions& Positions) {
  Category->SetItemIndex(Positions.Category);
  Format->SetItemIndex(Positions.Format);
  for (TPresetSlot S : PresetExchangeOrder) Presets[S]->SetItemIndex(Positions.Presets[S]);
}

TForm1::TChooserPositions TForm1::ChooserPositions() const {
  return ReadChooserPositions(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, PresetChoosers());
}

void TForm1::SetChooserPositions(const TChooserPositions& Positions) {
  WriteChooserPositions(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, PresetChoosers(), Positions);
}

void TForm1::FocusJobList() {
  // While a modal dialog is in front the list only becomes the control that gets the focus when this
  // window is active again; taking the focus now would pull the keyboard away from the dialog.
  if (!lvFiles->CanFocus()) return;
  if (Active())
    lvFiles->SetFocus();
  else
    SetActiveControl(lvFiles);
}

void TForm1::bsSkinButton24Click(TObject*) {
  if (FPresetDialog == nullptr) return;
  FPresetDialog->TakeChoices(ChooserPositions());
  FPresetDialog->ShowPresetDialog();
}
