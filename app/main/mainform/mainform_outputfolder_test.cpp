// "浏览..." beside 输出目录 as a person uses it: the folder dialog opens on the current output folder;
// a chosen folder is shown and saved; Cancel changes nothing; a folder nothing can be written into
// is refused with a message naming it, and the old folder stays.
#include <gtest/gtest.h>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/jobstestkit.h"
#include "app/main/testkit/mainformtestkit.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/win/testkit/testkit.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"
#include "skin/shell/bsshelltreeview.h"

namespace {

class OutputFolder : public mainformtest::TMainFormTest {
 protected:
  void SetUp() override {
    TMainFormTest::SetUp();
    F = Create();
    Start = F->FileOutPutPath;
  }
  // In the open folder dialog: where it opened, then Folder picked in its tree and taken.
  std::function<void()> PickFolder(const String& Folder) {
    return [this, Folder] {
      TbsSelDirDlgForm* Form = F->bsSkinSelectDirectoryDialog2->DlgFrm();
      ASSERT_NE(Form, nullptr);
      OpenedOn = Form->DirTreeView->Path();
      Form->DirTreeView->SetPath(Folder);
      WinProcessMessages();
      Form->OkButton->ButtonClick();
      WinProcessMessages();
    };
  }
  String Stored() { return File().Read(OutPathSection, OutPathKey); }

  TForm1* F = nullptr;
  String Start;
  String OpenedOn;
};

TEST_F(OutputFolder, AChosenFolderIsShownUsedAndSaved) {
  ASSERT_FALSE(Start.empty());
  const String Chosen = Temp.Root() + "/chosen";
  ForceDirectories(Chosen);
  const String Said = jobstest::BoxTextOf([&] { F->bsSkinButton5->Click(); }, {PickFolder(Chosen)});
  EXPECT_EQ(Said, "");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(OpenedOn), ExcludeTrailingPathDelimiter(Start))
      << "the dialog opens on the current output folder";
  EXPECT_EQ(F->FileOutPutPath, Chosen);
  EXPECT_EQ(F->Video_OutPut_Folder_Edit->Text(), Chosen);
  EXPECT_EQ(Stored(), Chosen);
}

TEST_F(OutputFolder, CancelChangesNothingEvenAfterAnotherChoiceInTheSameDialog) {
  // The snapshot folder choice shares the dialog: an earlier confirmed folder must not come back.
  F->bsSkinSelectDirectoryDialog2->SetDirectory(Temp.Root());
  jobstest::CancelNextDialog();
  F->bsSkinButton5->Click();
  EXPECT_EQ(F->FileOutPutPath, Start);
  EXPECT_EQ(F->Video_OutPut_Folder_Edit->Text(), Start);
  EXPECT_EQ(Stored(), Start);
}

TEST_F(OutputFolder, AFolderThatTakesNoFilesIsRefusedWithItsName) {
  // Not even root may make a file there.
  const String Said = jobstest::BoxTextOf([&] { F->bsSkinButton5->Click(); }, {PickFolder("/proc")});
  EXPECT_NE(Said.find("“/proc”"), String::npos) << Said;
  EXPECT_NE(Said.find(Start), String::npos) << "the message says which folder stays: " << Said;
  EXPECT_EQ(F->FileOutPutPath, Start);
  EXPECT_EQ(F->Video_OutPut_Folder_Edit->Text(), Start);
  EXPECT_EQ(Stored(), Start);
  EXPECT_FALSE(FileExists("/proc/.nerivo-write-check-" + IntToStr(Integer(getpid()))));
}

}  // namespace
