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

void TForm1::bsSkinButton24Click(TObject*) {
  if (FPresetDialog == nullptr) return;
  FPresetDialog->TakeChoices(ChooserPositions());
  FPresetDialog->ShowPresetDialog();
}
