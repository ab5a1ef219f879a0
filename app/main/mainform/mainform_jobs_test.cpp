// The job list as a person uses it: files added through the dialogs, rows moved, removed and
// cleared with their option slots and command states, the choosers rewriting the selected job, and
// inputs that are not what they claim to be.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>

#include "app/formats/joboptions.h"
#include "app/formats/presets.h"
#include "app/main/mainform/mainform.h"
#include "app/main/options/optionsdialog.h"
#include "app/main/testkit/jobstestkit.h"
#include "app/main/testkit/mainformtestkit.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/views/bsskinlistview.h"

namespace {

using jobstest::BoxTextOf;
using jobstest::CancelNextDialog;
using jobstest::ChooseFiles;
using jobstest::ChooseFolder;
using jobstest::Clip;
using jobstest::CopyAs;
using jobstest::LogText;

class JobList : public mainformtest::TMainFormTest {
 protected:
  void SetUp() override {
    mainformtest::TMainFormTest::SetUp();
    F = Create();
    Inputs = Temp.Root() + "/inputs";
  }

  TListItems* Rows() const { return F->lvFiles->Items(); }
  Integer RowCount() const { return Rows()->Count(); }
  static String Cell(TListItem* Row, Integer Column) {
    return Column == 0 ? Row->Caption() : Row->SubItems()->Strings(Column - 1);
  }
  String Cell(Integer Row, Integer Column) const { return Cell(Rows()->Item(Row), Column); }
  String OutputFolder() const { return F->Video_OutPut_Folder_Edit->Text(); }

  // Adds the files Names of the inputs folder through the several-files dialog.
  void AddFiles(std::vector<String> Names) {
    ChooseFiles(F->OpenDialog2, Inputs, Names);
    F->Button8->Click();
  }
  std::function<void()> FolderStep(const String& Folder) {
    return jobstest::ChooseFolderStep(F->bsSkinSelectDirectoryDialog1, Folder);
  }
  void AddFolder(const String& Folder) {
    ChooseFolder(F->bsSkinSelectDirectoryDialog1, Folder);
    F->Button12->Click();
  }
  // Each row's input, output and slot: slot i holds the job of row i.
  void ExpectSlotsInStepWithRows() const {
    for (Integer I = 0; I < RowCount(); ++I) {
      SCOPED_TRACE("row " + IntToStr(I));
      EXPECT_EQ(F->OO1[I].AudioLanguage, "Full");
      EXPECT_EQ(F->IO1[I].FileName, Cell(I, colInputFile));
      EXPECT_EQ(ExtractFileName(F->OO1[I].FileName), Cell(I, colOutputFile));
    }
    for (Integer I = RowCount(); I < OptionSlotCount; ++I) ASSERT_EQ(F->OO1[I].AudioLanguage, "kong") << I;
  }
  // The job commands' state, as the routine button, skin button and menu item show it.
  void ExpectJobCommands(bool Enabled) const {
    EXPECT_EQ(F->btnRemove->Enabled(), Enabled);
    EXPECT_EQ(F->bsSkinButton7->Enabled(), Enabled);
    EXPECT_EQ(F->N13->Enabled(), Enabled);
    EXPECT_EQ(F->bsSkinButton21->Enabled(), Enabled);
    EXPECT_EQ(F->btnClear->Enabled(), Enabled);
    EXPECT_EQ(F->bsSkinButton8->Enabled(), Enabled);
    EXPECT_EQ(F->btnStart->Enabled(), Enabled);
    EXPECT_EQ(F->bsSkinButton2->Enabled(), Enabled);
    EXPECT_EQ(F->N7->Enabled(), Enabled);
  }

  // Chooses the first format with a parameter row for whose code Wanted holds, as a person does with
  // the category and format choosers; false when there is none.
  bool ChooseFirstFormat(const std::function<bool(Integer Code)>& Wanted) {
    for (Integer C = 0; C < CategoryPositionCount; ++C)
      for (Integer Fm = 0; Fm < FamilyFormatCount(CategoryCodeOfPosition(C)); ++Fm) {
        const Integer Code = FormatCodeOf(C, Fm);
        if (FindFormatParameterRow(Code) == nullptr || !Wanted(Code)) continue;
        F->bsSkinOfficeComboBox2->SetItemIndex(C);
        F->bsSkinOfficeComboBox1->SetItemIndex(Fm);
        return true;
      }
    return false;
  }

  TForm1* F = nullptr;
  String Inputs;
};

TEST_F(JobList, HasItsTwentyFiveColumnsAndMoveButtons) {
  struct TColumn {
    const char* Caption;
    Integer Width;
  };
  const TColumn Expected[] = {
      {"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70},  {"输出文件", 80},  {"转换进度", 70},
      {"", 0},           {"当前时间", 80},  {"转换大小", 80},  {"视频序号", 0},   {"视频类别", 0},
      {"视频选项", 0},   {"视频编码", 0},   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},
      {"FileExt", 0},    {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},   {"音频比特率", 0},
      {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},   {"TargetType", 0}, {"NormType", 0},
  };
  ASSERT_EQ(F->lvFiles->Columns()->Count(), 25);
  for (Integer I = 0; I < 25; ++I) {
    TListColumn* C = F->lvFiles->Column(I);
    EXPECT_EQ(C->Caption(), Expected[I].Caption) << I;
    EXPECT_EQ(C->Width(), Expected[I].Width) << I;
    // A storage column cannot be widened by the user.
    if (Expected[I].Width == 0) {
      C->SetWidth(120);
      EXPECT_LE(C->Width(), 1) << I;
    }
  }
  EXPECT_EQ(F->lvFiles->ViewStyle(), vsReport);
  EXPECT_TRUE(F->lvFiles->ReadOnly());
  EXPECT_TRUE(F->lvFiles->RowSelect());
  EXPECT_TRUE(F->lvFiles->GridLines());
  EXPECT_FALSE(F->lvFiles->MultiSelect());

  EXPECT_EQ(F->bsSkinButton3->Hint(), "上移");
  EXPECT_EQ(F->bsSkinButton4->Hint(), "下移");
  EXPECT_EQ(F->bsSkinButton3->Top(), F->bsSkinButton21->Top());
  EXPECT_GT(F->bsSkinButton3->Left(), F->bsSkinButton21->Left() + F->bsSkinButton21->Width() - 1);
  EXPECT_GT(F->bsSkinButton4->Left(), F->bsSkinButton3->Left() + F->bsSkinButton3->Width() - 1);
  EXPECT_TRUE(F->bsSkinPanel5->Visible()) << "the empty list shows its placeholder";
}

TEST_F(JobList, AddingOneFileMakesARowASlotAndOpensTheJobCommands) {
  const String Input = CopyAs(Clip(), Inputs, "holiday.mkv");
  ChooseFiles(F->OpenDialog1, Inputs, {"holiday.mkv"});
  F->btnAdd->Click();

  ASSERT_EQ(RowCount(), 1) << LogText(F);
  TListItem* Row = Rows()->Item(0);
  EXPECT_EQ(Row->SubItems()->Count(), 24);
  EXPECT_EQ(Cell(Row, colInputFile), Input);
  EXPECT_EQ(Cell(Row, colDuration), "00:00:01");
  EXPECT_EQ(Cell(Row, colFileSize), FileSizeText(std::filesystem::file_size(Input)));
  // The first format of the first category: code 1600, an AVI file in the output folder.
  EXPECT_EQ(Cell(Row, colOutputFile), "holiday.avi");
  for (Integer C = colProgress; C <= colConvertedSize; ++C) EXPECT_EQ(Cell(Row, C), "") << C;
  EXPECT_EQ(Cell(Row, colTaskNumber), "1");
  EXPECT_EQ(Cell(Row, colFormatPosition), "100");
  EXPECT_EQ(Cell(Row, colPresetCode), PresetIndexCodeOf(F->PresetChoosers()));
  EXPECT_EQ(Cell(Row, colPresetCode).size(), 12u);

  // The parameter columns are the task's output record, which the engine holds too.
  TJobParameters P;
  P.Video_AddFileName = Input;
  ApplyFormatParameters(P, 0, 0, OutputFolder(), false);
  ReadPresetChoosers(F->PresetChoosers(), P);
  const TOutputOptions O = JobOutputOptions(P);
  EXPECT_EQ(Cell(Row, colVideoCodec), O.VideoCodec);
  EXPECT_EQ(Cell(Row, colAudioCodec), O.AudioCodec);
  EXPECT_EQ(Cell(Row, colVideoBitrate), IntToStr(O.VideoBitrate));
  EXPECT_EQ(Cell(Row, colAudioBitrate), IntToStr(O.AudioBitrate));
  EXPECT_EQ(Cell(Row, colFrameSize), O.FrameSize);
  EXPECT_EQ(Cell(Row, colDisableVideo), "False");
  EXPECT_EQ(F->ZUVER->TasksCount(), 1);

  ExpectSlotsInStepWithRows();
  EXPECT_EQ(F->OO1[0].FileName, OutputFolder() + "/holiday.avi");
  EXPECT_EQ(F->T_Movie_PLayer_FileName, Input);
  EXPECT_EQ(F->lvFiles->ItemIndex(), 0) << "the new row is selected";
  EXPECT_FALSE(F->bsSkinPanel5->Visible());
  ExpectJobCommands(true);
  const String Log = LogText(F);
  EXPECT_NE(Log.find("\n***Can do convert.\n"), String::npos) << Log;
  EXPECT_EQ(Log.find("error"), String::npos) << Log;
}

TEST_F(JobList, AnUnknownDurationShowsNAAndAnAudioFormatMarksEveryRow) {
  // A raw MPEG-4 stream tells no duration.
  CopyAs(TestMediaFile("raw.m4v", "-f lavfi -i testsrc=size=64x48:rate=25 -t 1 -c:v mpeg4 -f m4v"), Inputs,
         "raw.m4v");
  AddFiles({"raw.m4v"});
  ASSERT_EQ(RowCount(), 1) << LogText(F);
  EXPECT_EQ(Cell(0, colDuration), "N/A");
  F->btnClear->Click();

  ASSERT_TRUE(ChooseFirstFormat([](Integer Code) { return IsNoVideoCode(Code); }));
  for (const char* Name : {"a.mkv", "b.mkv"}) CopyAs(Clip(), Inputs, Name);
  AddFiles({"a.mkv", "b.mkv"});
  ASSERT_EQ(RowCount(), 2) << LogText(F);
  for (Integer I = 0; I < 2; ++I) {
    EXPECT_EQ(Cell(I, colDisableVideo), "True") << I;
    EXPECT_TRUE(F->OO1[I].DisableVideo) << I;
    EXPECT_LT(F->OO1[I].VideoBitrate, 0) << I << ": no video bit rate reaches the engine";
  }
  // The add leaves the record's "leave it" bit rate at -1; the last row, selected at the end, has its
  // columns rewritten by the selection's chooser cascade, which writes the chooser's own sentinel.
  EXPECT_EQ(Cell(0, colVideoBitrate), "-1");
}

TEST_F(JobList, SeveralFilesAndAFolderAreAddedFromTheLastListedToTheFirst) {
  for (const char* Name : {"a.mkv", "b.mkv", "c.mkv"}) CopyAs(Clip(), Inputs, Name);
  AddFiles({"a.mkv", "b.mkv", "c.mkv"});
  ASSERT_EQ(RowCount(), 3) << LogText(F);
  EXPECT_EQ(Cell(0, colOutputFile), "c.avi");
  EXPECT_EQ(Cell(1, colOutputFile), "b.avi");
  EXPECT_EQ(Cell(2, colOutputFile), "a.avi");
  for (Integer I = 0; I < 3; ++I) EXPECT_EQ(Cell(I, colTaskNumber), IntToStr(I + 1));
  EXPECT_EQ(F->lvFiles->ItemIndex(), 2) << "the last row is selected";
  ExpectSlotsInStepWithRows();
  // A name typed in the several-files dialog, nothing selected: that file.
  jobstest::TypeFileName(F->OpenDialog2, Inputs, "a.mkv");
  F->Button8->Click();
  ASSERT_EQ(RowCount(), 4) << LogText(F);
  EXPECT_EQ(Cell(3, colOutputFile), "a_1.avi");
  F->btnClear->Click();

  // A folder: its files in the reverse of the listed order.
  const String Folder = Temp.Root() + "/folder";
  CopyAs(Clip(), Folder, "x.mkv");
  CopyAs(Clip(), Folder, "y.mkv");
  std::filesystem::create_directories(Folder + "/sub");
  CopyAs(Clip(), Folder + "/sub", "z.mkv");
  std::unique_ptr<TStrings> Listed = F->GetFilenames(Folder, "*.*");
  ASSERT_NE(Listed, nullptr);
  ASSERT_EQ(Listed->Count(), 2) << "the subfolder's files are not listed";
  EXPECT_EQ(BoxTextOf([&] { F->Button12->Click(); }, {FolderStep(Folder)}), "") << "files were found: no box";
  ASSERT_EQ(RowCount(), 2) << LogText(F);
  EXPECT_EQ(Cell(0, colInputFile), Listed->Strings(1));
  EXPECT_EQ(Cell(1, colInputFile), Listed->Strings(0));
  EXPECT_EQ(F->lvFiles->ItemIndex(), 1);
  ExpectSlotsInStepWithRows();
  EXPECT_EQ(F->ZUVER->TasksCount(), 2);
}

TEST_F(JobList, CancelledDialogsAndAFolderWithoutMediaAddNothing) {
  CopyAs(Clip(), Inputs, "a.mkv");
  CancelNextDialog();
  F->btnAdd->Click();
  CancelNextDialog();
  F->Button8->Click();
  CancelNextDialog();
  F->Button12->Click();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(F->mmoLog->Lines()->Count(), 0) << LogText(F);

  // Only a subfolder with media: the box says nothing usable was found.
  const String Folder = Temp.Root() + "/nothing";
  CopyAs(Clip(), Folder + "/deeper", "inside.mkv");
  EXPECT_EQ(BoxTextOf([&] { F->Button12->Click(); }, {FolderStep(Folder)}),
            "提示: 在该目录没有发现可以用的视频或音频文件！");
  // With a text file beside it, the one box also says what became of that file.
  jobstest::WriteFile(Folder, "readme.txt", "not a film\n");
  const String Said = BoxTextOf([&] { F->Button12->Click(); }, {FolderStep(Folder)});
  EXPECT_EQ(Said.rfind("提示: 在该目录没有发现可以用的视频或音频文件！", 0), 0u) << Said;
  EXPECT_NE(Said.find("readme.txt：不是可以转换的视频或音频文件"), String::npos) << Said;
  EXPECT_EQ(RowCount(), 0);
  EXPECT_NE(LogText(F).find("***File load error: "), String::npos);
  EXPECT_TRUE(F->bsSkinPanel5->Visible());
  ExpectJobCommands(false);
}

// Inputs that are not media, or are named to trip a careless caller: each bad one has its load error
// and no row, the others go on.
TEST_F(JobList, BadInputsAreSkippedWithTheirLogLineAndTheOthersAreAdded) {
  const String Folder = Temp.Root() + "/mixed";
  const String Bytes = jobstest::ReadBytes(Clip());
  jobstest::WriteFile(Folder, "notes.avi", "These are notes, not a film.\n");
  jobstest::WriteFile(Folder, "empty.mp4", "");
  jobstest::WriteFile(Folder, "cut.mkv", Bytes.substr(0, 40));
  // Opens as media, but only as subtitles.
  jobstest::WriteFile(Folder, "subs.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello\n\n");
  ASSERT_EQ(mkfifo((Folder + "/pipe.avi").c_str(), 0644), 0);
  std::filesystem::create_symlink(Folder + "/gone.avi", Folder + "/dangling.avi");
  const char* const Good[] = {"with space.mkv", "视频 片段.mkv", "it's \"quoted\".mkv", "-dash.mkv",
                              "new\nline.mkv"};
  for (const char* Name : Good) CopyAs(Clip(), Folder, Name);

  const String Said = BoxTextOf([&] { F->Button12->Click(); }, {FolderStep(Folder)});
  const String Log = LogText(F);
  ASSERT_EQ(RowCount(), 5) << Log;
  // One box names each bad file once with its cause.
  for (const char* Line :
       {"notes.avi：不是可以转换的视频或音频文件", "empty.mp4：不是可以转换的视频或音频文件",
        "cut.mkv：不是可以转换的视频或音频文件", "subs.srt：不是可以转换的视频或音频文件",
        "pipe.avi：无法读取该文件（不是普通文件）"})
    EXPECT_NE(Said.find(Line), String::npos) << Line << "\n" << Said;
  EXPECT_NE(Said.find("有 5 个文件没有添加到列表"), String::npos) << Said;
  std::vector<String> Added;
  for (Integer I = 0; I < RowCount(); ++I) Added.push_back(ExtractFileName(Cell(I, colInputFile)));
  for (const char* Name : Good) EXPECT_NE(std::find(Added.begin(), Added.end(), Name), Added.end()) << Name;
  // Five bad files, each with its line between empty lines; the dangling link is not listed.
  Integer Errors = 0;
  for (size_t At = Log.find("\n***File load error: "); At != String::npos;
       At = Log.find("\n***File load error: ", At + 1))
    ++Errors;
  EXPECT_EQ(Errors, 5) << Log;
  EXPECT_NE(Log.find("pipe.avi is not a plain file"), String::npos) << Log;
  EXPECT_NE(Log.find("subs.srt has no video or audio stream"), String::npos) << Log;
  EXPECT_EQ(Log.find("dangling"), String::npos) << Log;
  ExpectSlotsInStepWithRows();
  // Each output name is the input's own, unique, with the format's extension.
  for (Integer I = 0; I < RowCount(); ++I)
    EXPECT_EQ(Cell(I, colOutputFile), ChangeFileExt(Added[I], ".avi")) << I;
}

// A file the chosen format cannot take, or a task the engine refuses, is said and leaves no task, row
// or slot; the other files of the add are added all the same.
TEST_F(JobList, ARefusedFileIsSaidAndTheOthersAreAdded) {
  ASSERT_TRUE(ChooseFirstFormat([](Integer Code) { return IsNoVideoCode(Code); }));
  CopyAs(Clip(), Inputs, "a.mkv");
  // No sound to write into an audio format.
  CopyAs(TestMediaFile("raw.m4v", "-f lavfi -i testsrc=size=64x48:rate=25 -t 1 -c:v mpeg4 -f m4v"), Inputs,
         "m.m4v");
  CopyAs(Clip(), Inputs, "z.mkv");
  String Said = BoxTextOf([&] { F->Button8->Click(); },
                          {jobstest::ChooseFilesStep(F->OpenDialog2, Inputs, {"a.mkv", "m.m4v", "z.mkv"})});
  ASSERT_EQ(RowCount(), 2) << LogText(F);
  EXPECT_EQ(ExtractFileName(Cell(0, colInputFile)), "z.mkv");
  EXPECT_EQ(ExtractFileName(Cell(1, colInputFile)), "a.mkv");
  EXPECT_EQ(Said, "提示: 有 1 个文件没有添加到列表：\n\nm.m4v：文件中没有所选格式需要的音频");
  EXPECT_EQ(F->ZUVER->TasksCount(), 2) << "the refused task is removed again";
  EXPECT_NE(LogText(F).find("\n***Cannot do convert, error: "), String::npos) << LogText(F);
  ExpectSlotsInStepWithRows();

  // Once a batch has run, the engine takes no task until the list is cleared: said, not silent.
  F->ZUVER->Start(0);
  F->mmoLog->Lines()->Clear();
  Said =
      BoxTextOf([&] { F->Button8->Click(); }, {jobstest::ChooseFilesStep(F->OpenDialog2, Inputs, {"a.mkv"})});
  EXPECT_EQ(RowCount(), 2);
  EXPECT_NE(Said.find("a.mkv：无法打开该文件（Cannot AddTask while working.）"), String::npos) << Said;
  EXPECT_NE(LogText(F).find("\n***File open error: Cannot AddTask while working.\n"), String::npos)
      << LogText(F);
  ExpectSlotsInStepWithRows();
  // Nor does it give up a task then: the job stays whole.
  F->lvFiles->SetItemIndex(0);
  F->btnRemove->Click();
  EXPECT_EQ(RowCount(), 2);
  EXPECT_EQ(F->ZUVER->TasksCount(), 2);
  EXPECT_NE(LogText(F).find("\nCannot RemoveTask while working.\n"), String::npos) << LogText(F);
  ExpectSlotsInStepWithRows();
  F->btnClear->Click();
  AddFiles({"a.mkv"});
  EXPECT_EQ(RowCount(), 1) << LogText(F);
}

// Slot i holds the job of row i: with every slot holding a job the next one is refused whole.
TEST_F(JobList, AJobPastTheLastOptionSlotIsRefused) {
  for (Integer I = 0; I < OptionSlotCount; ++I) {
    TListItem* Row = Rows()->Add();
    Row->SetCaption("/elsewhere/" + IntToStr(I) + ".mkv");
    for (Integer C = 1; C < JobColumnCount; ++C)
      Row->SubItems()->Add(C == colOutputFile ? IntToStr(I) + ".avi" : "");
  }
  CopyAs(Clip(), Inputs, "a.mkv");
  CopyAs(Clip(), Inputs, "b.mkv");
  const String Said = BoxTextOf([&] { F->Button8->Click(); },
                                {jobstest::ChooseFilesStep(F->OpenDialog2, Inputs, {"a.mkv", "b.mkv"})});
  EXPECT_NE(Said.find("a.mkv：列表中的任务已达上限（最多 501 个）"), String::npos) << Said;
  EXPECT_NE(Said.find("b.mkv：列表中的任务已达上限（最多 501 个）"), String::npos) << Said;
  EXPECT_EQ(RowCount(), OptionSlotCount);
  EXPECT_EQ(F->ZUVER->TasksCount(), 0) << "its task is removed again";
  EXPECT_NE(LogText(F).find("\n***Cannot do convert, error: no free option slot for more than 501 jobs\n"),
            String::npos)
      << LogText(F);
}

TEST_F(JobList, OutputNamesAreUniqueAcrossRowsAndExistingFiles) {
  CopyAs(Clip(), Inputs + "/one", "same.mkv");
  CopyAs(Clip(), Inputs + "/two", "same.mkv");
  CopyAs(Clip(), Inputs, "taken.mkv");
  jobstest::WriteFile(OutputFolder(), "taken.avi", "an earlier result");
  ChooseFiles(F->OpenDialog1, Inputs + "/one", {"same.mkv"});
  F->btnAdd->Click();
  ChooseFiles(F->OpenDialog1, Inputs + "/two", {"same.mkv"});
  F->btnAdd->Click();
  ChooseFiles(F->OpenDialog1, Inputs, {"taken.mkv"});
  F->btnAdd->Click();
  ASSERT_EQ(RowCount(), 3) << LogText(F);
  EXPECT_EQ(Cell(0, colOutputFile), "same.avi");
  EXPECT_EQ(Cell(1, colOutputFile), "same_1.avi");
  EXPECT_EQ(Cell(2, colOutputFile), "taken_1.avi");
  EXPECT_EQ(F->ZUVER->TasksCount(), 3) << "the engine took every output";
  ExpectSlotsInStepWithRows();

  // Overwriting on (the options dialog's box): a file on disk is taken as it is, another job's
  // output still is not.
  auto* Options = new TForm5(Application, F->bsSkinData1, F->ZUVER, File());
  Options->AfterConstruction();
  F->SetOptionsDialog(Options);
  Options->bsSkinCheckRadioBox3->SetChecked(true);
  F->btnClear->Click();
  jobstest::WriteFile(OutputFolder(), "same.avi", "an earlier result");
  for (const char* Folder : {"/one", "/two"}) {
    ChooseFiles(F->OpenDialog1, Inputs + Folder, {"same.mkv"});
    F->btnAdd->Click();
  }
  ASSERT_EQ(RowCount(), 2) << LogText(F);
  EXPECT_EQ(Cell(0, colOutputFile), "same.avi");
  EXPECT_EQ(Cell(1, colOutputFile), "same_1.avi");
}

// The engine's task follows a renamed job, so adding the same file again is not refused on a name
// no job holds any more.
TEST_F(JobList, AFileWhoseJobWasRenamedCanBeAddedAgain) {
  CopyAs(Clip(), Inputs, "x.mkv");
  ChooseFiles(F->OpenDialog1, Inputs, {"x.mkv"});
  F->btnAdd->Click();
  ASSERT_EQ(RowCount(), 1) << LogText(F);
  const String First = Cell(0, colOutputFile);
  F->startRename();
  F->edt->SetText("trip");
  F->edtExit(F->edt);
  ASSERT_EQ(Cell(0, colOutputFile), "trip" + ExtractFileExt(First));

  ChooseFiles(F->OpenDialog1, Inputs, {"x.mkv"});
  F->btnAdd->Click();
  ASSERT_EQ(RowCount(), 2) << LogText(F);
  EXPECT_EQ(Cell(1, colOutputFile), First) << "the name no job holds any more";
  EXPECT_EQ(F->ZUVER->TasksCount(), 2);
  EXPECT_EQ(Cell(0, colTaskNumber), "1");
  EXPECT_EQ(Cell(1, colTaskNumber), "2");
  ExpectSlotsInStepWithRows();
}

TEST_F(JobList, MovingAndRemovingKeepEachSlotWithItsRow) {
  for (const char* Name : {"a.mkv", "b.mkv", "c.mkv", "d.mkv"}) CopyAs(Clip(), Inputs, Name);
  AddFiles({"a.mkv", "b.mkv", "c.mkv", "d.mkv"});  // rows d c b a
  ASSERT_EQ(RowCount(), 4) << LogText(F);

  // Move b up twice (to the top) and c down once; the ends do nothing.
  F->lvFiles->SetItemIndex(2);
  F->bsSkinButton3->Click();
  F->bsSkinButton3->Click();
  EXPECT_EQ(F->lvFiles->ItemIndex(), 0);
  F->bsSkinButton3->Click();
  EXPECT_EQ(F->lvFiles->ItemIndex(), 0) << "move up on row 0 does nothing";
  F->lvFiles->SetItemIndex(2);
  F->bsSkinButton4->Click();
  F->bsSkinButton4->Click();
  EXPECT_EQ(F->lvFiles->ItemIndex(), 3) << "move down on the last row does nothing";
  std::vector<String> Order;
  for (Integer I = 0; I < RowCount(); ++I) Order.push_back(Cell(I, colOutputFile));
  EXPECT_EQ(Order, (std::vector<String>{"b.avi", "d.avi", "a.avi", "c.avi"}));
  // The task numbers travel with their rows (d 1, c 2, b 3, a 4).
  EXPECT_EQ(Cell(0, colTaskNumber), "3");
  EXPECT_EQ(Cell(3, colTaskNumber), "2");
  ExpectSlotsInStepWithRows();
  F->lvFiles->SetItemIndex(1);
  F->Button27->Click();
  EXPECT_EQ(Cell(0, colOutputFile), "d.avi");
  ExpectSlotsInStepWithRows();
  F->bsSkinButton4->Click();  // back: b d a c

  // Remove d (row 1, task 1): the later numbers go down, row 0 is selected.
  F->lvFiles->SetItemIndex(1);
  F->bsSkinButton7->Click();
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(F->lvFiles->ItemIndex(), 0);
  Order.clear();
  for (Integer I = 0; I < RowCount(); ++I) Order.push_back(Cell(I, colOutputFile));
  EXPECT_EQ(Order, (std::vector<String>{"b.avi", "a.avi", "c.avi"}));
  EXPECT_EQ(Cell(0, colTaskNumber), "2");
  EXPECT_EQ(Cell(1, colTaskNumber), "3");
  EXPECT_EQ(Cell(2, colTaskNumber), "1");
  ExpectSlotsInStepWithRows();
  // The engine's tasks: c, b, a at 0, 1, 2, matching the rows' numbers.
  ASSERT_EQ(F->ZUVER->TasksCount(), 3);
  for (Integer I = 0; I < RowCount(); ++I) {
    const Integer Task = StrToInt(Cell(I, colTaskNumber)) - 1;
    EXPECT_EQ(F->ZUVER->GetTaskAVProbe(Task, 0)->FileName(), Cell(I, colInputFile)) << I;
  }
  ExpectJobCommands(true);

  // The next add takes the slot after the last row.
  CopyAs(Clip(), Inputs, "e.mkv");
  AddFiles({"e.mkv"});
  ASSERT_EQ(RowCount(), 4);
  EXPECT_EQ(Cell(3, colTaskNumber), "4");
  ExpectSlotsInStepWithRows();
}

TEST_F(JobList, RemovingTheLastJobAndClearingEmptyTheList) {
  EXPECT_EQ(BoxTextOf([&] { F->btnRemove->Click(); }), "提示: 请先选择您需要删除的项目！");
  for (const char* Name : {"a.mkv", "b.mkv"}) CopyAs(Clip(), Inputs, Name);
  AddFiles({"a.mkv", "b.mkv"});
  ASSERT_EQ(RowCount(), 2);
  F->lvFiles->ClearSelection();
  EXPECT_EQ(BoxTextOf([&] { F->bsSkinButton7->Click(); }), "提示: 请先选择您需要删除的项目！");
  EXPECT_EQ(RowCount(), 2) << "nothing selected: nothing removed";

  F->lvFiles->SetItemIndex(0);
  ASSERT_NE(F->RIVodero->VideoState(), nullptr) << "the selected job shows in the preview";
  F->btnRemove->Click();
  F->btnRemove->Click();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(F->ZUVER->TasksCount(), 0);
  EXPECT_EQ(F->RIVodero->VideoState(), nullptr) << "the preview stops when the list is empty";
  EXPECT_TRUE(F->bsSkinPanel5->Visible());
  ExpectJobCommands(false);
  ExpectSlotsInStepWithRows();

  // Clear: everything goes, the add commands come back and the next job takes slot 0.
  AddFiles({"a.mkv", "b.mkv"});
  ASSERT_EQ(RowCount(), 2);
  ASSERT_NE(F->RIVodero->VideoState(), nullptr);
  for (TMenuItem* I : {F->Item111, F->N11111, F->N2222, F->N3331, F->Item121, F->N21}) I->SetEnabled(false);
  F->btnAdd->SetEnabled(false);
  F->bsSkinMenuSpeedButton1->SetEnabled(false);
  F->bsSkinButton8->Click();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(F->ZUVER->TasksCount(), 0);
  EXPECT_EQ(F->RIVodero->VideoState(), nullptr) << "clearing stops the preview";
  EXPECT_TRUE(F->bsSkinPanel5->Visible());
  ExpectJobCommands(false);
  EXPECT_TRUE(F->btnAdd->Enabled());
  EXPECT_TRUE(F->bsSkinMenuSpeedButton1->Enabled());
  for (TMenuItem* I : {F->Item111, F->N11111, F->N2222, F->N3331, F->Item121, F->N21})
    EXPECT_TRUE(I->Enabled());
  for (const TOutputOptions& O : F->OO1) ASSERT_EQ(O.AudioLanguage, "kong");
  AddFiles({"a.mkv"});
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(F->OO1[0].AudioLanguage, "Full");
  EXPECT_EQ(F->IO1[0].FileName, Cell(0, colInputFile));
}

TEST_F(JobList, ChoosersRewriteTheSelectedJob) {
  CopyAs(Clip(), Inputs, "a.mkv");
  AddFiles({"a.mkv"});
  ASSERT_EQ(RowCount(), 1);
  ASSERT_EQ(F->lvFiles->ItemIndex(), 0);

  // A preset chooser: its pair of the preset code and its column.
  TbsSkinComboBox* VideoBitrate = F->bsSkinComboBox2;
  ASSERT_GT(VideoBitrate->Items()->Count(), 2);
  VideoBitrate->SetItemIndex(2);
  EXPECT_EQ(Cell(0, colPresetCode).substr(2, 2), "02");
  TJobParameters P;
  SetParameterFromPresetText(psVideoBitrate, VideoBitrate->Text(), P, ptuChangeHandler);
  EXPECT_EQ(Cell(0, colVideoBitrate), IntToStr(P.Video_VideoBitrate));

  // Another format: the extension, the format position, the parameter columns and the job's slot.
  // An ASF format keeps its container only in the slot.
  ASSERT_TRUE(ChooseFirstFormat([](Integer Code) {
    const TFormatParameterRow* Row = FindFormatParameterRow(Code);
    return String(Row->OutputExt) == ".asf" && (Row->Assigns & jpFileFormat) != 0;
  }));
  const Integer Category = F->bsSkinOfficeComboBox2->ItemIndex(),
                Format = F->bsSkinOfficeComboBox1->ItemIndex();
  EXPECT_EQ(Cell(0, colOutputFile), "a.asf");
  EXPECT_EQ(Cell(0, colFormatPosition), IntToStr(FormatPositionCodeOf(Category, Format)));
  EXPECT_EQ(Cell(0, colPresetCode), PresetIndexCodeOf(F->PresetChoosers()));
  EXPECT_EQ(F->OO1[0].FileFormat, "asf");
  EXPECT_EQ(F->OO1[0].FileName, OutputFolder() + "/a.asf");
  ExpectSlotsInStepWithRows();

  // With no row selected the choosers leave the list alone.
  F->lvFiles->ClearSelection();
  const String Before = Cell(0, colOutputFile) + Cell(0, colPresetCode);
  F->bsSkinOfficeComboBox2->SetItemIndex(0);
  VideoBitrate->SetItemIndex(1);
  EXPECT_EQ(Cell(0, colOutputFile) + Cell(0, colPresetCode), Before);
}

// What a parameter column means to the conversion: "", "AUTO" and the bit-rate sentinels all leave
// the value to the engine.
String Meaning(Integer Column, const String& Text) {
  if (Column == colAudioSampleRate && (Text == "" || Text == "AUTO" || Text == "-1")) return "unset";
  if ((Column == colVideoBitrate || Column == colAudioBitrate) &&
      (Text == "-1" || Text == "-1000" || Text == "-2000"))
    return "unset";
  return Text;
}

// Jobs added together and a job selected later, with the same format and preset positions, convert
// with the values the preset choosers show, not with the format table's where a chooser's default
// differs from it.
TEST_F(JobList, JobsWithTheSameChoicesConvertWithWhatTheChoosersShow) {
  // A format whose table's bit rates or picture size differ from its preset choosers' defaults.
  Integer Category = -1, Format = -1;
  for (Integer C = 0; C < CategoryPositionCount && Category < 0; ++C) {
    F->bsSkinOfficeComboBox2->SetItemIndex(C);
    for (Integer Fm = 0; Fm < F->bsSkinOfficeComboBox1->Items()->Count(); ++Fm) {
      F->bsSkinOfficeComboBox1->SetItemIndex(Fm);
      F->Button5->Click();
      const TJobParameters Table = F->JobParameters();
      F->Button13->Click();
      const TJobParameters& Shown = F->JobParameters();
      if (Table.Video_VideoBitrate != Shown.Video_VideoBitrate ||
          Table.Video_FrameSize != Shown.Video_FrameSize ||
          Table.Video_AudioBitrate != Shown.Video_AudioBitrate) {
        Category = C;
        Format = Fm;
        break;
      }
    }
  }
  ASSERT_GE(Category, 0) << "every format's chooser defaults equal its table";

  for (const char* Name : {"a.mkv", "b.mkv"}) CopyAs(Clip(), Inputs, Name);
  AddFiles({"a.mkv", "b.mkv"});
  ASSERT_EQ(RowCount(), 2) << LogText(F);
  // What the choosers show.
  TJobParameters Shown;
  ReadPresetChoosers(F->PresetChoosers(), Shown);
  const std::array<String, 14> ShownColumns = JobParameterColumns(Shown);

  // Row 0 is selected later: the selection sets the format and then the rows' preset positions.
  const String Code = Cell(0, colPresetCode);
  F->lvFiles->SetItemIndex(0);
  F->bsSkinOfficeComboBox2->SetItemIndex(Category);
  F->bsSkinOfficeComboBox1->SetItemIndex(Format);
  const TPresetChoosers Choosers = F->PresetChoosers();
  for (Integer S = 0; S < PresetSlotCount; ++S) Choosers[S]->SetItemIndex(StrToInt(Code.substr(2 * S, 2)));

  for (TPresetSlot Slot :
       {psFrameSize, psVideoBitrate, psAudioBitrate, psAspect, psFrameRate, psSampleRate}) {
    const Integer Column = PresetParameterSubItem(Slot) + 1;
    SCOPED_TRACE("column " + IntToStr(Column));
    const String Expected = Meaning(Column, ShownColumns[Column - 1 - FirstParameterSubItem]);
    EXPECT_EQ(Meaning(Column, Cell(0, Column)), Expected) << "the row selected later";
    EXPECT_EQ(Meaning(Column, Cell(1, Column)), Expected) << "the row never selected";
  }
}

TEST_F(JobList, FolderListingsAndTheNewNameBesideAnInput) {
  const String Folder = Temp.Root() + "/list";
  for (const char* Name : {"one.avi", "two", ".hidden"}) jobstest::WriteFile(Folder, Name, "x");
  jobstest::WriteFile(Folder + "/inner", "three.mp3", "x");
  jobstest::WriteFile(Folder + "/inner/deeper", "four.mp3", "x");
  const auto Sorted = [](std::unique_ptr<TStrings> L) {
    std::vector<String> V;
    for (Integer I = 0; I < L->Count(); ++I) V.push_back(L->Strings(I));
    std::sort(V.begin(), V.end());
    return V;
  };
  EXPECT_EQ(Sorted(F->GetFilenames(Folder, "*.*")),
            (std::vector<String>{Folder + "/.hidden", Folder + "/one.avi", Folder + "/two"}));
  EXPECT_EQ(Sorted(F->GetFilenames(Folder + "/", "*.avi")), (std::vector<String>{Folder + "/one.avi"}));
  EXPECT_EQ(Sorted(F->GetFilenamesEx(Folder, "*.*")),
            (std::vector<String>{Folder + "/.hidden", Folder + "/inner/three.mp3", Folder + "/one.avi",
                                 Folder + "/two"}));
  EXPECT_EQ(F->GetFilenames(Folder + "/missing", "*.*"), nullptr);
  EXPECT_EQ(F->GetFilenamesEx(Folder + "/one.avi", "*.*"), nullptr);

  EXPECT_EQ(F->GenerateOutputFileName(Folder + "/clip.avi", ".mp4"), Folder + "/clip_(new).mp4");
  jobstest::WriteFile(Folder, "clip_(new).mp4", "x");
  jobstest::WriteFile(Folder, "clip_(new_1).mp4", "x");
  EXPECT_EQ(F->GenerateOutputFileName(Folder + "/clip.avi", ".mp4"), Folder + "/clip_(new_2).mp4");
}

TEST_F(JobList, TakenSlotsBecomeTheEngineTasksAgain) {
  for (const char* Name : {"a.mkv", "b.mkv"}) CopyAs(Clip(), Inputs, Name);
  AddFiles({"a.mkv", "b.mkv"});
  ASSERT_EQ(RowCount(), 2);
  // A slot whose input went away gives no task; the others are rebuilt in slot order.
  std::filesystem::remove(F->IO1[0].FileName);
  F->Button14->Click();
  ASSERT_EQ(F->ZUVER->TasksCount(), 1);
  EXPECT_EQ(F->ZUVER->GetTaskAVProbe(0, 0)->FileName(), F->IO1[1].FileName);
}

}  // namespace
