// Every way a person changes a job's format or name, through the windows as the program makes them:
// the main window's choosers, the preset dialog's OK and Cancel, a selection, a rename and a start
// after an earlier run. Each meets another job holding the name it would take, and a file the user
// has under that name, with 自动重命名输出文件 and with 直接覆盖输出文件: names stay unique, no file of
// the user's is taken without overwriting, a selection changes nothing, and the job's option slot
// follows its row.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "app/formats/formattables.h"
#include "app/formats/jobrow.h"
#include "app/main/options/optionsdialog.h"
#include "app/main/testkit/jobstestkit.h"
#include "app/main/testkit/mainformtestkit.h"
#include "app/presetdialog/form7.h"
#include "app/presetdialog/testkit/presetdialogtestkit.h"
#include "engine/base/engineutils.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/files.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/win/testkit/testkit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"

namespace {

using namespace presetdialogtest;

constexpr const char* UsersBytes = "the user's own file";

String ReadFile(const String& Path) {
  std::ifstream In(Path, std::ios::binary);
  return String(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// What stands in the way of the name a change aims at.
enum TBlocker { bkOtherRow, bkUsersFile };

struct TWay {
  const char* Name;
  // The name the change aims at, given the job's current name.
  std::function<String(const String& Current)> Target;
  // Makes the change on the selected job (the fixture F).
  std::function<void(class JobChanges&)> Change;
  bool ChangesName;  // false: the job keeps its name whatever stands in the way
  // Before the change: the job's name as an earlier clash numbered it.
  bool Numbered = false;
};

class JobChanges : public mainformtest::TMainFormTest {
 public:
  void SetUp() override {
    TMainFormTest::SetUp();
    Main = Create();
    Out = Temp.Root() + "/out";
    PrepareMainWindow(Main, Out);
    Main->FileOutPutPath = Out;
    // The start makes engine tasks: the libraries are there, as after any add.
    ASSERT_TRUE(Main->ZUVER->LoadAVLib(GetExePath() + "LibAV")) << Main->ZUVER->LastErrMsg();
    Main->Show();
    Options = new TForm5(Application, Main->bsSkinData1, Main->ZUVER, File());
    Options->AfterConstruction();
    Main->SetOptionsDialog(Options);
    Dialog = CreateDialog(Main);
  }

  // Category position 0 (AVI), its first format; then the rows.
  TListItem* AddJob(const String& Input) {
    TListItem* Row = Main->lvFiles->Items()->Add();
    Row->SetCaption(Input);
    for (Integer C = 1; C < JobColumnCount; ++C) Row->SubItems()->Add("");
    SetJobCell(Row, colFormatPosition, "100");
    SetJobCell(Row, colPresetCode, "000000000000");
    Main->lvFiles->SetSelected(Row);
    Main->bsSkinOfficeComboBox2->SetItemIndex(0);
    Main->bsSkinOfficeComboBox1->SetItemIndex(0);
    return Row;
  }
  void SetOverwrite(bool On) {
    (On ? Options->bsSkinCheckRadioBox3 : Options->bsSkinCheckRadioBox6)->SetChecked(true);
  }

  // The MP4 category's first format chosen in the open preset dialog, then Key.
  void ChooseMp4InDialog(Word Key) {
    wintest::OnNextModalLoop([this, Key] {
      Dialog->bsSkinOfficeComboBox2->SetItemIndex(4);
      Dialog->bsSkinOfficeComboBox1->SetItemIndex(0);
      wintest::KeyPress(Key, Key == VK_RETURN ? 13 : 27);
    });
    Main->bsSkinButton24->Click();
  }
  // Types Typed into the rename box and leaves it; what a refusal said ("" when none came).
  String Rename(const String& Typed) {
    const String Said = jobstest::BoxTextOf([&] {
      Main->bsSkinButton21->Click();
      Main->edt->SetText(Typed);
      Main->lvFiles->SetFocus();
      WinProcessMessages();
    });
    // A refused name leaves the box open for another try: the person gives up with Esc.
    if (Main->edt->Visible()) {
      Main->edt->SetFocus();
      wintest::KeyPress(VK_ESCAPE, 27);
      WinProcessMessages();
    }
    return Said;
  }

  TForm1* Main = nullptr;
  TForm5* Options = nullptr;
  TForm7* Dialog = nullptr;
  String Out;
};

String Mp4(const String& Current) {
  return ChangeFileExt(Current, FindFormatParameterRow(FormatCodeOf(4, 0))->OutputExt);
}

const TWay Ways[] = {
    {"MainChoosers", Mp4,
     [](JobChanges& T) {
       T.Main->bsSkinOfficeComboBox2->SetItemIndex(4);
       T.Main->bsSkinOfficeComboBox1->SetItemIndex(0);
     },
     true},
    {"PresetDialogOk", Mp4, [](JobChanges& T) { T.ChooseMp4InDialog(VK_RETURN); }, true},
    {"PresetDialogCancel", Mp4, [](JobChanges& T) { T.ChooseMp4InDialog(VK_ESCAPE); }, true},
    {"Rename", [](const String&) { return String("trip.avi"); }, [](JobChanges& T) { T.Rename("trip"); },
     true},
    // The start checks every name again: a file may have come since (an earlier run's output).
    {"Start", [](const String& Current) { return Current; }, [](JobChanges& T) { T.Main->button28->Click(); },
     true},
    {"Selection", Mp4,
     [](JobChanges& T) {
       T.Main->lvFiles->SetSelected(T.Main->lvFiles->Items()->Item(0));
       T.Main->lvFiles->SetSelected(T.Main->lvFiles->Items()->Item(1));
     },
     false, true},
};

TEST_F(JobChanges, NamesStayUniqueAndNoFileOfTheUsersIsTaken) {
  for (const TWay& W : Ways) {
    for (const TBlocker Blocker : {bkOtherRow, bkUsersFile}) {
      for (const bool Overwrite : {false, true}) {
        // Two jobs hold one name only when the start had to rename: the start meets files only.
        if (String(W.Name) == "Start" && Blocker == bkOtherRow) continue;
        SCOPED_TRACE(String(W.Name) + (Blocker == bkOtherRow ? ", another job's name" : ", the user's file") +
                     (Overwrite ? ", overwrite on" : ", overwrite off"));
        Main->btnClear->Click();
        std::filesystem::remove_all(Out);
        ForceDirectories(Out);
        SetOverwrite(Overwrite);
        TListItem* Other = AddJob("/clips/other.mkv");
        TListItem* Job = AddJob("/clips/x.mkv");
        ASSERT_EQ(JobCell(Job, colOutputFile), "x.avi");
        if (W.Numbered) {
          SetJobCell(Job, colOutputFile, "x_7.avi");
          Main->OO1[Job->Index()].FileName = Out + "/x_7.avi";
        }
        const String Before = JobCell(Job, colOutputFile);
        std::vector<String> CellsBefore;
        for (Integer C = 0; C < JobColumnCount; ++C) CellsBefore.push_back(JobCell(Job, TJobColumn(C)));
        const String Target = W.Target(Before);
        if (Blocker == bkOtherRow) {
          SetJobCell(Other, colOutputFile, Target);
        } else {
          std::ofstream(Out + "/" + Target) << UsersBytes;
        }

        W.Change(*this);

        const String After = JobCell(Job, colOutputFile);
        EXPECT_NE(After, JobCell(Other, colOutputFile)) << "two jobs, one name";
        if (!W.ChangesName) {
          EXPECT_EQ(After, Before) << "a selection is a read";
          for (Integer C = 0; C < JobColumnCount; ++C)
            EXPECT_EQ(JobCell(Job, TJobColumn(C)), CellsBefore[C]) << "column " << C;
        } else if (Blocker == bkUsersFile && Overwrite) {
          EXPECT_EQ(After, Target) << "overwriting replaces the file, once the new one is complete";
        } else {
          EXPECT_NE(After, Target);
        }
        if (Blocker == bkUsersFile) {
          EXPECT_EQ(ReadFile(Out + "/" + Target), UsersBytes);
        }
        // The slot follows the row: its output file and its container are the row's.
        const Integer R = Job->Index();
        EXPECT_EQ(Main->OO1[R].FileName, Out + "/" + After);
        const TOutputOptions Made = JobRowOutputOptions(Job, Out);
        EXPECT_EQ(Main->OO1[R].FileFormat, Made.FileFormat);
        EXPECT_EQ(Main->OO1[R].VideoCodec, Made.VideoCodec);
        EXPECT_EQ(Main->OO1[R].AudioCodec, Made.AudioCodec);
        Main->ZUVER->ClearTasks();
      }
    }
  }
}

// The container follows the row when the dialog's change is cancelled: an ASF job switched to MP4
// in the dialog and cancelled converts as MP4 into its .mp4 name, never as ASF.
TEST_F(JobChanges, ACancelledDialogLeavesRowAndSlotAgreeing) {
  TListItem* Job = AddJob("/clips/d.mkv");
  // The ASF category (position 10), its first format.
  Main->bsSkinOfficeComboBox2->SetItemIndex(10);
  Main->bsSkinOfficeComboBox1->SetItemIndex(0);
  ASSERT_EQ(Main->OO1[0].FileFormat, "asf");
  ChooseMp4InDialog(VK_ESCAPE);
  EXPECT_EQ(ExtractFileExt(JobCell(Job, colOutputFile)), ".mp4");
  EXPECT_EQ(Main->OO1[0].FileFormat, "");
  EXPECT_EQ(Main->OO1[0].FileName, Out + "/" + JobCell(Job, colOutputFile));
  // The main window's choosers show the job as it now is.
  EXPECT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), 4);
  EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 0);
}

// Closed with OK, the dialog leaves the keys in the job list, wherever they were before it opened,
// whether a format, a preset or nothing was changed.
TEST_F(JobChanges, TheDialogClosedWithOkLeavesTheKeysInTheJobList) {
  AddJob("/clips/e.mkv");
  WinProcessMessages();
  const std::function<void()> Changes[] = {
      [this] {
        Dialog->bsSkinOfficeComboBox2->SetItemIndex(4);
        Dialog->bsSkinOfficeComboBox1->SetItemIndex(0);
      },
      [this] { Dialog->bsSkinComboBox2->SetItemIndex(Dialog->bsSkinComboBox2->Items()->Count() - 1); },
      [] {},
  };
  for (const std::function<void()>& Change : Changes) {
    Main->bsSkinOfficeComboBox1->SetFocus();
    wintest::OnNextModalLoop([&Change] {
      Change();
      wintest::KeyPress(VK_RETURN, 13);
    });
    Main->bsSkinButton24->Click();
    WinProcessMessages();
    EXPECT_TRUE(Main->lvFiles->Focused());
  }
}

}  // namespace
