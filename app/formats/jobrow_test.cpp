// The job row as every window changes it: what a row converts with, the names it may take, and the
// one format step.
#include "app/formats/jobrow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "app/formats/joboptions.h"
#include "app/formats/presets.h"
#include "app/formats/testkit/fakechoosers.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/testkit/rtl_test_util.h"
#include "platform/ui/comctrls/listview.h"

namespace {

String ReadFile(const String& Path) {
  std::ifstream In(Path, std::ios::binary);
  return String(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The record fields a conversion reads, side by side, so a failure names the field.
void ExpectSameConversion(const TOutputOptions& A, const TOutputOptions& B, const String& What) {
  SCOPED_TRACE(What);
  EXPECT_EQ(A.FileExt, B.FileExt);
  EXPECT_EQ(A.FileFormat, B.FileFormat);
  EXPECT_EQ(A.VideoCodec, B.VideoCodec);
  EXPECT_EQ(A.VideoPreset, B.VideoPreset);
  EXPECT_EQ(A.VideoTag, B.VideoTag);
  EXPECT_EQ(A.VideoBitrate, B.VideoBitrate);
  EXPECT_EQ(A.FrameRate, B.FrameRate);
  EXPECT_EQ(A.FrameSize, B.FrameSize);
  EXPECT_EQ(A.FrameAspectRatio, B.FrameAspectRatio);
  EXPECT_EQ(A.DisableVideo, B.DisableVideo);
  EXPECT_EQ(A.AudioCodec, B.AudioCodec);
  EXPECT_EQ(A.AudioChannels, B.AudioChannels);
  EXPECT_EQ(A.AudioSampleRate, B.AudioSampleRate);
  EXPECT_EQ(A.AudioBitrate, B.AudioBitrate);
  EXPECT_EQ(A.AudioVolume, B.AudioVolume);
  EXPECT_EQ(A.VideoFilters, B.VideoFilters);
  EXPECT_EQ(A.TargetType, B.TargetType);
  EXPECT_EQ(A.NormType, B.NormType);
}

class JobRow : public ::testing::Test {
 protected:
  TListItem* AddRow(const String& Input, const String& Output = "") {
    TListItem* Row = Rows.Add();
    Row->SetCaption(Input);
    SetJobCell(Row, colOutputFile, Output);
    return Row;
  }
  void Touch(const String& Name) { std::ofstream(Folder + "/" + Name) << "the user's"; }
  // The fakes filled for a format as the window's preset fill does, defaults selected.
  void FillFor(Integer Category, Integer Format) {
    TJobParameters Scratch;
    FillPresetChoosers(Presets.Choosers(), Category, Format, Scratch);
  }
  TJobFormatChoice Choice(Integer Category, Integer Format) { return {Category, Format, Presets.Choosers()}; }

  TTempFolder Temp{"nerivo-jobrow"};
  const String Folder = Temp.Root();
  // A list view without a window holds its rows as the job list does.
  TListView View{nullptr};
  TListItems& Rows = *View.Items();
  TChooserLog Log;
  TFakePresetChoosers Presets{Log};
  TJobParameters P;
};

// A job converts with the same parameters whether it was just added or its row was given the same
// format and presets later: for every format of every category, the add's record (the JobParameters
// after the format step and the chooser reader) and the record the start makes from the row agree.
TEST_F(JobRow, EveryFormatConvertsAsTheAddMadeIt) {
  for (Integer Category = 0; Category < CategoryPositionCount; ++Category) {
    const Integer Code0 = CategoryCodeOfPosition(Category);
    for (Integer Format = 0; Format < FamilyFormatCount(Code0); ++Format) {
      FillFor(Category, Format);
      TJobParameters Added;
      Added.Video_AddFileName = "/clips/holiday.mkv";
      ApplyFormatParameters(Added, Category, Format, Folder, false);
      ReadPresetChoosers(Presets.Choosers(), Added);
      TOutputOptions Expected = JobOutputOptions(Added);
      // The start's own rules on top of the add's conversion.
      if (!Added.Video_FileExt.empty()) Expected.FileExt = Added.Video_FileExt;
      Expected.VideoBitrate = Added.Video_VideoBitrate;
      if (Added.Video_VideoCodec == "libx264") Expected.VideoTag = "";

      TListItem* Row = AddRow("/clips/holiday.mkv");
      ApplyFormatToJobRow(Row, &Rows, Choice(Category, Format), Folder, false, P);
      const TOutputOptions Made = JobRowOutputOptions(Row, Folder);
      ExpectSameConversion(Made, Expected, "format " + IntToStr(Added.All_Trant_Number));
      EXPECT_EQ(Made.FileName, Added.Video_OutPutFileName);
      Rows.Clear();
    }
  }
}

// What a row holds is what converts: "keep the source's value" in a preset column reaches the task
// as unset, whatever the format's table says.
TEST_F(JobRow, KeepTheSourcesValueReachesTheTask) {
  FillFor(0, 0);
  TListItem* Row = AddRow("/clips/holiday.mkv");
  ApplyFormatToJobRow(Row, &Rows, Choice(0, 0), Folder, false, P);
  const String VideoCodec = JobRowOutputOptions(Row, Folder).VideoCodec;

  struct TKeep {
    TPresetSlot Slot;
    const char* Keep;
    std::function<bool(const TOutputOptions&)> IsSet;
  };
  const TKeep Cases[] = {
      {psFrameRate, "保持原帧速率", [](const TOutputOptions& O) { return !O.FrameRate.empty(); }},
      {psFrameSize, "保持原分辨率", [](const TOutputOptions& O) { return !O.FrameSize.empty(); }},
      {psAspect, "保持原视频模式", [](const TOutputOptions& O) { return !O.FrameAspectRatio.empty(); }},
  };
  for (const TKeep& K : Cases) {
    SCOPED_TRACE(K.Keep);
    TFakePresetChooser& C = Presets[K.Slot];
    const auto& Items = C.Items();
    const auto Keep = std::find(Items.begin(), Items.end(), String(K.Keep));
    ASSERT_NE(Keep, Items.end());
    // First a value of its own, which the task takes; then the source's, which leaves it unset.
    C.SetItemIndex(Keep == Items.begin() ? 1 : 0);
    ApplyPresetToJobRow(Row, K.Slot, C, P);
    EXPECT_TRUE(K.IsSet(JobRowOutputOptions(Row, Folder))) << C.Text();
    C.SetItemIndex(Integer(Keep - Items.begin()));
    ApplyPresetToJobRow(Row, K.Slot, C, P);
    EXPECT_FALSE(K.IsSet(JobRowOutputOptions(Row, Folder)));
  }
  EXPECT_EQ(JobRowOutputOptions(Row, Folder).VideoCodec, VideoCodec) << "what no preset changed stays";

  // An unset channel count is kept too, also as the add writes it ("-1").
  for (const char* Unset : {"-1", ""}) {
    SetJobCell(Row, colAudioChannels, Unset);
    EXPECT_EQ(JobRowOutputOptions(Row, Folder).AudioChannels, -1) << Unset;
  }
}

struct TNameCase {
  const char* Name;
  const char* Input;
  const char* Current;                 // the row's output name before
  std::vector<const char*> Files;      // in the output folder
  std::vector<const char*> OtherRows;  // output names of the other rows
  bool Overwrite;
  const char* Expected;
};

void PrintTo(const TNameCase& K, std::ostream* Os) {
  *Os << K.Name;
}

class JobRowNames : public JobRow, public ::testing::WithParamInterface<TNameCase> {};

// The MP4 format of the MP4 category (position 4, format 0) given to a row.
TEST_P(JobRowNames, AFormatChangeGivesAFreeName) {
  const TNameCase& K = GetParam();
  for (const char* F : K.Files) Touch(F);
  for (const char* O : K.OtherRows) AddRow("/clips/other.mkv", O);
  TListItem* Row = AddRow(K.Input, K.Current);
  FillFor(4, 0);
  ApplyFormatToJobRow(Row, &Rows, Choice(4, 0), Folder, K.Overwrite, P);
  EXPECT_EQ(JobCell(Row, colOutputFile), K.Expected);
  EXPECT_EQ(P.Video_OutPutFileName, Folder + "/" + K.Expected);
  for (const char* F : K.Files) EXPECT_EQ(ReadFile(Folder + "/" + F), "the user's") << F;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JobRowNames,
    ::testing::Values(
        TNameCase{"FreeName", "/in/x.mkv", "x.avi", {}, {}, false, "x.mp4"},
        TNameCase{
            "NumberedForAnotherExtensionStartsAgain", "/in/x.mkv", "x_1.avi", {"x.avi"}, {}, false, "x.mp4"},
        TNameCase{"RenamedKeepsItsStem", "/in/x.mkv", "trip.avi", {}, {}, false, "trip.mp4"},
        TNameCase{"ExistingFileKept", "/in/x.mkv", "x.avi", {"x.mp4"}, {}, false, "x_1.mp4"},
        TNameCase{"ExistingFileReplacedWithOverwrite", "/in/x.mkv", "x.avi", {"x.mp4"}, {}, true, "x.mp4"},
        TNameCase{"AnotherRowsName", "/in/x.mkv", "x.avi", {}, {"x.mp4"}, false, "x_1.mp4"},
        TNameCase{"AnotherRowsNameAlsoWithOverwrite", "/in/x.mkv", "x.avi", {}, {"x.mp4"}, true, "x_1.mp4"},
        TNameCase{"GapsAreFilled", "/in/x.mkv", "", {"x.mp4", "x_2.mp4"}, {"x_1.mp4"}, false, "x_3.mp4"},
        TNameCase{"NoNameYet", "/in/x.mkv", "", {}, {}, false, "x.mp4"}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST_F(JobRow, ARenameIsRefusedWithItsCause) {
  Touch("kept.mp4");
  AddRow("/in/a.mkv", "taken.mp4");
  TListItem* Row = AddRow("/in/b.mkv", "b.mp4");
  struct TCase {
    const char* Name;
    bool Overwrite;
    const char* Says;  // "" when taken
  };
  for (const TCase& C :
       {TCase{"", false, "不能为空"}, TCase{"a/b.mp4", false, "“/”"}, TCase{"taken.mp4", true, "列表中已有"},
        TCase{"kept.mp4", false, "输出目录中已有"}, TCase{"kept.mp4", true, ""}, TCase{"b.mp4", false, ""},
        TCase{"new.mp4", false, ""}}) {
    const String Refusal = RefusedJobOutputName(&Rows, Row, C.Name, Folder, C.Overwrite);
    if (*C.Says == 0)
      EXPECT_EQ(Refusal, "") << C.Name;
    else
      EXPECT_NE(Refusal.find(C.Says), String::npos) << C.Name << ": " << Refusal;
  }
}

TEST_F(JobRow, AnUnreadablePresetChangesNothing) {
  FillFor(0, 0);
  TListItem* Row = AddRow("/clips/holiday.mkv");
  ApplyFormatToJobRow(Row, &Rows, Choice(0, 0), Folder, false, P);
  std::vector<String> Before;
  for (Integer C = 0; C < JobColumnCount; ++C) Before.push_back(JobCell(Row, TJobColumn(C)));
  const TJobParameters ParametersBefore = P;

  TFakePresetChooser& Bitrate = Presets[psVideoBitrate];
  Bitrate.AddItem("快 kbps");
  Bitrate.SetItemIndex(Integer(Bitrate.Items().size()) - 1);
  EXPECT_THROW(ApplyPresetToJobRow(Row, psVideoBitrate, Bitrate, P), EConvertError);
  EXPECT_THROW(ApplyFormatToJobRow(Row, &Rows, Choice(4, 0), Folder, false, P), EConvertError);
  for (Integer C = 0; C < JobColumnCount; ++C) EXPECT_EQ(JobCell(Row, TJobColumn(C)), Before[C]) << C;
  EXPECT_EQ(P, ParametersBefore);
}

}  // namespace
