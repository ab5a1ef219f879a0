// Test support for the job list: the add dialogs answered as a person answers them, the message box
// read and closed, and input files made at test time (generated clips copied under any name, and
// small hand-made bad files).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "app/main/mainform/mainform.h"
#include "engine/base/testkit/testmedia.h"
#include "platform/rtl/types.h"
#include "platform/ui/stdctrls/memo.h"
#include "platform/win/testkit/testkit.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/bsskinopendialog.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/shell/bsshelllistview.h"

namespace jobstest {

// An open dialog set to start in Folder; what selects the files Names inside its loop and opens them.
inline std::function<void()> ChooseFilesStep(TbsSkinOpenDialog* Dialog, const String& Folder,
                                             std::vector<String> Names) {
  // The dialog opens where its last file was, else in its initial folder.
  Dialog->SetFileName("");
  Dialog->SetInitialDir(Folder);
  return [Dialog, Names] {
    TbsOpenDlgForm* Form = Dialog->DlgFrm();
    TbsCustomShellListView* List = Form->FileListView;
    for (const String& Name : Names) {
      bool Found = false;
      for (Integer I = 0; I < List->FolderCount() && !Found; ++I) {
        if (List->Folders(I)->DisplayName() != Name) continue;
        List->Items()->Item(I)->SetSelected(true);
        Found = true;
      }
      EXPECT_TRUE(Found) << Name << " is not shown in the open dialog";
    }
    Form->OpenButton->ButtonClick();
    WinProcessMessages();
    if (Dialog->DlgFrm() != nullptr && Form->ModalResult() == mrNone) Form->SetModalResult(mrCancel);
  };
}

// The next Execute of an open dialog starts in Folder, selects the files Names and opens them.
inline void ChooseFiles(TbsSkinOpenDialog* Dialog, const String& Folder, std::vector<String> Names) {
  wintest::OnNextModalLoop(ChooseFilesStep(Dialog, Folder, std::move(Names)));
}

// The next Execute of an open dialog takes the name Typed (nothing selected in its list).
inline void TypeFileName(TbsSkinOpenDialog* Dialog, const String& Folder, const String& Typed) {
  Dialog->SetFileName("");
  Dialog->SetInitialDir(Folder);
  wintest::OnNextModalLoop([Dialog, Typed] {
    TbsOpenDlgForm* Form = Dialog->DlgFrm();
    Form->FileListView->ClearSelection();
    Form->FileNameEdit->SetText(Typed);
    Form->OpenButton->ButtonClick();
    WinProcessMessages();
    if (Dialog->DlgFrm() != nullptr && Form->ModalResult() == mrNone) Form->SetModalResult(mrCancel);
  });
}

// The folder chooser set to start in Folder; what takes that folder inside its loop.
inline std::function<void()> ChooseFolderStep(TbsSkinSelectDirectoryDialog* Dialog, const String& Folder) {
  Dialog->SetDirectory(Folder);
  return [] { wintest::KeyPress(VK_RETURN, 13); };
}

// The next Execute of the folder chooser starts in Folder and takes it.
inline void ChooseFolder(TbsSkinSelectDirectoryDialog* Dialog, const String& Folder) {
  wintest::OnNextModalLoop(ChooseFolderStep(Dialog, Folder));
}

// The next dialog is cancelled, as its Cancel button does.
inline void CancelNextDialog() {
  wintest::OnNextModalLoop([] {
    auto* Dialog = dynamic_cast<TCustomForm*>(FindControl(GetActiveWindow()));
    ASSERT_NE(Dialog, nullptr) << "no dialog is up";
    Dialog->SetModalResult(mrCancel);
  });
}

// Caption and text ("提示: …") of the message box that Step brings up, answered with Enter; "" when
// no box came. Dialogs come before the box, each answered by its step of Before.
inline String BoxTextOf(const std::function<void()>& Step, std::vector<std::function<void()>> Before = {}) {
  String Text;
  Before.push_back([&Text] {
    TbsMessageForm* Box = dialogstest::ShowingBox();
    if (Box == nullptr) return;
    Text = Box->Caption() + ": " + Box->Message->Caption();
    wintest::KeyPress(VK_RETURN, 13);
  });
  wintest::OnNextModalLoops(Before);
  Step();
  wintest::OnNextModalLoops({});
  return Text;
}

// A generated clip (1 s, 64x48 MPEG-4 video with a sine tone) or sound (1 s WAV), cached.
inline String Clip() {
  return TestMediaFile("clip.mkv",
                       "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine=frequency=440 -t 1 "
                       "-c:v mpeg4 -c:a mp2 -shortest");
}

// Copies From to Folder/Name; the path.
inline String CopyAs(const String& From, const String& Folder, const String& Name) {
  std::filesystem::create_directories(Folder);
  const String To = Folder + "/" + Name;
  std::filesystem::copy_file(From, To, std::filesystem::copy_options::overwrite_existing);
  return To;
}

// A file of Folder/Name holding Bytes.
inline String WriteFile(const String& Folder, const String& Name, const String& Bytes) {
  std::filesystem::create_directories(Folder);
  const String To = Folder + "/" + Name;
  std::ofstream(To, std::ios::binary) << Bytes;
  return To;
}

inline String ReadBytes(const String& Path) {
  std::ifstream In(Path, std::ios::binary);
  return String(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The window's log as one text, a line feed after each line.
inline String LogText(TForm1* F) {
  String Text;
  for (Integer I = 0; I < F->mmoLog->Lines()->Count(); ++I) Text += F->mmoLog->Lines()->Strings(I) + "\n";
  return Text;
}

}  // namespace jobstest
