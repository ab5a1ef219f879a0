// Test support for the preset dialog: the main window as the program makes it, an output folder of
// the test's own, the dialog made after it, and job rows as the job list holds them.
#pragma once

#include "app/main/mainform/mainform.h"
#include "app/presetdialog/form7.h"
#include "platform/rtl/files.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/application.h"
#include "platform/ui/stdctrls/button.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/views/bsskinlistview.h"

namespace presetdialogtest {

// The input that the job rows stand for.
inline constexpr const char* InputFile = "/clips/holiday.mkv";

// Points the main window at Folder for its output and at InputFile as the last added file.
inline void PrepareMainWindow(TForm1* Main, const String& Folder) {
  ForceDirectories(Folder);
  Main->Video_OutPut_Folder_Edit->SetText(Folder);
  Main->JobParameters().Video_AddFileName = InputFile;
  // The job rows here name no real files: the preview that selecting a row runs would stop on its
  // message box.
  Main->Button31->OnClick = nullptr;
}

// The dialog as the program makes it, linked to the main window.
inline TForm7* CreateDialog(TForm1* Main) {
  auto* D = new TForm7(Application, *Main);
  Main->SetPresetDialog(D);
  return D;
}

// A job row with all its 24 columns: output "holiday.avi", format position 101, presets all 00,
// parameter columns holding "old".
inline TListItem* AddJobRow(TForm1* Main, bool Select) {
  TListItem* Row = Main->lvFiles->Items()->Add();
  Row->SetCaption(InputFile);
  const char* const Columns[10] = {"00:00:05", "1.5MB", "holiday.avi", "", "", "", "",
                                   "",         "101",   "000000000000"};
  for (const char* C : Columns) Row->SubItems()->Add(C);
  for (Integer I = 10; I < 24; ++I) Row->SubItems()->Add("old");
  if (Select) Main->lvFiles->SetSelected(Row);
  return Row;
}

inline std::vector<String> SubItemsOf(TListItem* Row) {
  std::vector<String> S;
  for (Integer I = 0; I < Row->SubItems()->Count(); ++I) S.push_back(Row->SubItems()->Strings(I));
  return S;
}

}  // namespace presetdialogtest
