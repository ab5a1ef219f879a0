// Test support for the main window's selection, rename and menus: job rows made as the add routines
// make them (24 sub-items), the job list's leading columns, and the choosers' positions read as one.
#pragma once

#include <array>

#include "app/formats/presets.h"
#include "app/main/mainform/mainform.h"
#include "platform/ui/comctrls/listview.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/views/bsskinlistview.h"

namespace menustest {

// The positions of the category, format and six preset choosers, in that order.
using TChooserPositions = std::array<Integer, 2 + PresetSlotCount>;

inline TChooserPositions ChooserPositions(TForm1* F) {
  TChooserPositions P{F->bsSkinOfficeComboBox2->ItemIndex(), F->bsSkinOfficeComboBox1->ItemIndex()};
  const TPresetChoosers C = F->PresetChoosers();
  for (Integer I = 0; I < PresetSlotCount; ++I) P[2 + I] = C[I]->ItemIndex();
  return P;
}

// The six preset choosers in their slot order.
inline std::array<TbsSkinComboBox*, PresetSlotCount> PresetCombos(TForm1* F) {
  return {F->bsSkinComboBox1, F->bsSkinComboBox2, F->bsSkinComboBox3,
          F->bsSkinComboBox4, F->bsSkinComboBox9, F->bsSkinComboBox10};
}

// A job row with every column: the input path, the output name and the two codes; the rest empty.
inline TListItem* AddJobRow(TForm1* F, const String& Input, const String& Output, const String& FormatCode,
                            const String& PresetCode) {
  TListItem* Row = F->lvFiles->Items()->Add();
  Row->SetCaption(Input);
  for (Integer I = 0; I < 24; ++I) Row->SubItems()->Add("");
  Row->SubItems()->SetStrings(2, Output);
  Row->SubItems()->SetStrings(8, FormatCode);
  Row->SubItems()->SetStrings(PresetCodeSubItem, PresetCode);
  return Row;
}

// The first four columns of the job list (input, duration, size, output) when the list has none yet.
inline void EnsureLeadingColumns(TForm1* F) {
  const Integer Widths[] = {80, 70, 70, 80};
  for (Integer I = F->lvFiles->Columns()->Count(); I < 4; ++I)
    F->lvFiles->Columns()->Add()->SetWidth(Widths[I]);
}

}  // namespace menustest
