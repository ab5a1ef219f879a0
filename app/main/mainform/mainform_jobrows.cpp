// The main window's side of the job rows: the one format step applied to the selected row by the
// main window's choosers and by the preset dialog, the option slots and engine tasks that follow
// the rows, the selection that only shows a row, and what the dialogs above ask of the window.
#include "app/formats/presets.h"
#include "app/main/mainform/mainform.h"
#include "app/main/options/optionsdialog.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bspngimagelist.h"

// ---- the options dialog ----

void TForm1::SetOptionsDialog(TForm5* Value) {
  FOptionsDialog = Value;
  FConversionOptions = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

String TForm1::OutputFolder() const {
  return Video_OutPut_Folder_Edit->Text();
}

bool TForm1::OverwriteOutput() const {
  return FConversionOptions != nullptr && FConversionOptions->OverwriteOutput();
}

Integer TForm1::BatchThreadCount() const {
  return FConversionOptions != nullptr ? FConversionOptions->ThreadCount() : 1;
}

// ---- rows, slots and tasks ----

TListItem* TForm1::changedRow() const {
  return readingRow() ? nullptr : lvFiles->Selected();
}

TJobFormatChoice TForm1::chooserChoice() const {
  return {bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(), PresetChoosers()};
}

void TForm1::applyFormatToRow(TListItem* Row, const TJobFormatChoice& Choice) {
  const String Before = JobCell(Row, colOutputFile);
  ApplyFormatToJobRow(Row, lvFiles->Items(), Choice, OutputFolder(), OverwriteOutput(), FJobParameters);
  rebuildSlot(Row);
  if (JobCell(Row, colOutputFile) != Before) refreshTaskOutput(Row);
}

void TForm1::rebuildSlot(TListItem* Row) {
  const Integer R = Row->Index();
  if (R >= OptionSlotCount) return;
  try {
    OO1[R] = JobRowOutputOptions(Row, OutputFolder());
    OO1[R].AudioLanguage = TakenSlotMarker;
  } catch (const EConvertError&) {
    // A row whose columns do not read keeps its slot; the start refuses that row with the reason.
  }
}

void TForm1::refreshTaskOutput(TListItem* Row) {
  Integer Task = 0;
  if (!TryStrToInt(JobCell(Row, colTaskNumber), Task) || --Task < 0 || Task >= ZUVER->TasksCount()) return;
  const Integer R = Row->Index();
  if (R >= OptionSlotCount) return;
  // The component refuses while a batch is on; the start rebuilds every task from the rows anyway.
  try {
    ZUVER->RemoveTask(Task);
    TInputOptions Input = IO1[R];
    const Integer Added = ZUVER->AddTask(Row->Caption(), &Input);
    if (Added < 0) {
      mmoLog->Lines()->Add(Row->Caption() + ": " + ZUVER->LastErrMsg());
      return;
    }
    TOutputOptions Output = OO1[R];
    if (!ZUVER->SetOutputFile(Added, Output.FileName, &Output))
      mmoLog->Lines()->Add(Row->Caption() + ": " + ZUVER->LastErrMsg());
    // Back to its place, the later tasks to theirs: every row's task number holds again.
    for (Integer I = Added; I > Task; --I) ZUVER->Exchange(I, I - 1);
  } catch (const Exception& E) {
    mmoLog->Lines()->Add(E.Message());
  }
}

bool TForm1::showRowChoices(TListItem* Row) {
  TChooserPositions Positions;
  try {
    Positions = JobRowChooserPositions(Row);
  } catch (const EConvertError&) {
    return false;
  }
  TShowingChoice Read(FRowReads);
  WriteChooserPositions(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, PresetChoosers(), Positions);
  return true;
}

// ---- what the preset dialog asks ----

TCustomImageList* TForm1::CategoryImages() const {
  return bsSkinOfficeComboBox2->Images();
}

TCustomImageList* TForm1::FormatImages() const {
  return bsSkinOfficeComboBox1->Images();
}

TbsSkinOfficeItems* TForm1::FormatItems() const {
  return bsSkinOfficeComboBox1->Items();
}

bool TForm1::HasSelectedJob() const {
  return lvFiles->Selected() != nullptr;
}

void TForm1::ApplyFormatToSelectedJob(const TJobFormatChoice& Choice) {
  if (TListItem* Row = changedRow()) applyFormatToRow(Row, Choice);
}

void TForm1::ApplyPresetToSelectedJob(TPresetSlot Slot, const IPresetChooser& Chooser) {
  TListItem* Row = changedRow();
  if (Row == nullptr) return;
  ApplyPresetToJobRow(Row, Slot, Chooser, FJobParameters);
  rebuildSlot(Row);
}

TChooserPositions TForm1::ChooserPositions() const {
  return ReadChooserPositions(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, PresetChoosers());
}

void TForm1::TakeChooserPositions(const TChooserPositions& Positions) {
  {
    TShowingChoice Read(FRowReads);
    WriteChooserPositions(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, PresetChoosers(), Positions);
  }
  // The job takes the final choice once, not each format the cascade passes on its way.
  if (TListItem* Row = lvFiles->Selected()) applyFormatToRow(Row, chooserChoice());
}

void TForm1::ShowSelectedJobChoices() {
  if (TListItem* Row = lvFiles->Selected()) showRowChoices(Row);
}

void TForm1::FocusJobList() {
  focusInWindow(lvFiles);
}

void TForm1::focusInWindow(TWinControl* Control) {
  // Only the window's own state may stand in the way (disabled behind a modal box, or inactive).
  for (TControl* C = Control; C != nullptr && C != this; C = C->Parent())
    if (!C->Visible() || !C->Enabled()) return;
  SetActiveControl(Control);
  // Taking the focus while a dialog is in front would pull the keyboard away from it.
  if (Active() && Control->CanFocus() && !Control->Focused()) Control->SetFocus();
}
