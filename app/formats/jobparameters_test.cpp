#include "app/formats/jobparameters.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/rtl/testkit/rtl_test_util.h"

namespace {

TEST(JobParameters, ResetKeepsTheInputAndTheFormatCode) {
  TJobParameters p;
  p.Video_OutPutFileName = "/out/a.avi";
  p.Video_AddFileName = "/in/a.mov";
  p.Video_FileExt = p.Video_AudioChannels = p.Video_AudioSampleRate = p.Video_FrameSize = "x";
  p.Video_FrameRate = p.Video_NormType = p.Video_VideoFilters = p.Video_AudioVolume = "x";
  p.Video_FrameAspectRatio = p.Video_VideoCodec = p.Video_AudioCodec = p.Video_CopyTimestamp = "x";
  p.Video_FileFormat = p.Video_TargetType = p.Video_VideoTag = "x";
  p.Video_VideoBitrate = p.Video_AudioBitrate = p.Video_TimeStart = p.Video_TimeLength = 5;
  p.Video_DisableVideo = true;
  p.All_Trant_Number = 1234;
  ResetJobParameters(p);

  TJobParameters expected;  // default-constructed: the reset values
  expected.Video_AddFileName = "/in/a.mov";
  expected.All_Trant_Number = 1234;
  EXPECT_EQ(p, expected);
  EXPECT_EQ(p.Video_AudioVolume, "256");
  EXPECT_EQ(p.Video_VideoBitrate, -1);
  EXPECT_EQ(p.Video_TimeLength, -1);
}

TEST(JobParameters, ARowAssignsOnlyItsOwnFields) {
  TJobParameters p;
  p.Video_AudioCodec = "kept";
  p.Video_AudioBitrate = 99;
  p.Video_FileExt = ".kept";
  ApplyParameterRow(*FindFormatParameterRow(114), p);
  EXPECT_EQ(p.Video_VideoCodec, "rv20");
  EXPECT_EQ(p.Video_FrameSize, "320*240");
  EXPECT_EQ(p.Video_AudioCodec, "kept");
  EXPECT_EQ(p.Video_AudioBitrate, 99);
  EXPECT_EQ(p.Video_FileExt, ".kept");

  // An audio-only row leaves the video fields and sets the no-video flag.
  p.Video_VideoCodec = "mpeg4";
  ApplyParameterRow(*FindFormatParameterRow(200), p);
  EXPECT_EQ(p.Video_VideoCodec, "mpeg4");
  EXPECT_EQ(p.Video_AudioCodec, "libmp3lame");
  EXPECT_EQ(p.Video_AudioSampleRate, "48000");
  EXPECT_EQ(p.Video_FileExt, ".mp3");
  EXPECT_TRUE(p.Video_DisableVideo);
}

// A temporary output folder, removed with everything in it.
class OutputNaming : public ::testing::Test {
 protected:
  void touch(const String& name) { std::ofstream(Folder + "/" + name) << "x"; }

  String apply(const String& input, Integer categoryPos, Integer formatPos, bool overwrite = false) {
    P.Video_AddFileName = input;
    ApplyFormatParameters(P, categoryPos, formatPos, Folder, overwrite);
    return P.Video_OutPutFileName;
  }

  TTempFolder Temp{"nerivo-formats"};
  const String Folder = Temp.Root();
  TJobParameters P;
};

TEST_F(OutputNaming, TakesTheFirstFreeNumber) {
  struct Case {
    std::vector<String> Existing;
    bool Overwrite;
    String Expected;
  };
  const Case cases[] = {
      {{}, false, "holiday.avi"},
      {{"holiday.avi"}, false, "holiday_1.avi"},
      {{"holiday.avi", "holiday_1.avi"}, false, "holiday_2.avi"},
      {{"holiday.avi", "holiday_1.avi", "holiday_2.avi"}, false, "holiday_3.avi"},
      {{"holiday.avi", "holiday_2.avi"}, false, "holiday_1.avi"},
      {{"holiday_1.avi"}, false, "holiday.avi"},
      {{"holiday.avi", "holiday_1.avi"}, true, "holiday.avi"},
  };
  for (const Case& c : cases) {
    for (const auto& e : std::filesystem::directory_iterator(Folder)) std::filesystem::remove(e.path());
    for (const String& name : c.Existing) touch(name);
    EXPECT_EQ(apply("/clips/holiday.mov", 0, 0, c.Overwrite), Folder + "/" + c.Expected);
  }
}

TEST_F(OutputNaming, NamesTakenElsewhereAreNeverFreeEvenWhenOverwriting) {
  touch("holiday.avi");
  const auto TakenByOthers = [&](const String& Name) {
    return Name == Folder + "/holiday_1.avi" || Name == Folder + "/holiday_2.avi";
  };
  EXPECT_EQ(FreeOutputFileName(Folder + "/holiday.avi", Folder, false, TakenByOthers),
            Folder + "/holiday_3.avi");
  EXPECT_EQ(FreeOutputFileName(Folder + "/holiday.avi", Folder, true, TakenByOthers),
            Folder + "/holiday.avi");
  const auto AllTaken = [&](const String& Name) { return Name == Folder + "/holiday.avi"; };
  EXPECT_EQ(FreeOutputFileName(Folder + "/holiday.avi", Folder, true, AllTaken), Folder + "/holiday_1.avi");
}

TEST_F(OutputNaming, FoldersDoNotCountAsTakenNames) {
  ASSERT_EQ(mkdir((Folder + "/holiday.avi").c_str(), 0700), 0);
  EXPECT_EQ(apply("/clips/holiday.mov", 0, 0), Folder + "/holiday.avi");
}

TEST_F(OutputNaming, GivesTheFormatsExtensionToTheInputsBaseName) {
  struct Case {
    String Input;
    Integer CategoryPos, FormatPos;
    String Expected;
  };
  const Case cases[] = {
      {"/clips/holiday", 0, 0, "holiday.avi"}, {"/clips/a.b.c.mov", 0, 0, "a.b.c.avi"},
      {"/clips/song.wav", 14, 6, "song.ra"},  // code 206: the name differs from Video_FileExt
      {"/clips/x.avi", 3, 6, "x.wmv"},        // code 306
      {"/clips/x.avi", 2, 11, "x.mpg"},       // code 111, a disc target
  };
  for (const Case& c : cases)
    EXPECT_EQ(apply(c.Input, c.CategoryPos, c.FormatPos), Folder + "/" + c.Expected);
  EXPECT_EQ(P.Video_FileExt, "");
  EXPECT_EQ(P.Video_TargetType, "dvd");
}

TEST_F(OutputNaming, ACodeWithoutARowGivesTheResetSetAndTheBareFolder) {
  touch("holiday.avi");
  P.Video_VideoCodec = "stale";
  EXPECT_EQ(apply("/clips/holiday.mov", 15, 0), Folder + "/");  // no category item: code 0
  EXPECT_EQ(P.All_Trant_Number, 0);
  EXPECT_EQ(apply("/clips/holiday.mov", 0, -1), Folder + "/");  // no format selected: code 1599
  EXPECT_EQ(P.All_Trant_Number, 1599);
  EXPECT_EQ(P.Video_VideoCodec, "");
  EXPECT_EQ(P.Video_AudioVolume, "256");
  EXPECT_EQ(P.Video_AddFileName, "/clips/holiday.mov");
}

TEST_F(OutputNaming, AnUnreachableFolderKeepsThePlainName) {
  P.Video_AddFileName = "/clips/holiday.mov";
  ApplyFormatParameters(P, 0, 0, Folder + "/missing", false);
  EXPECT_EQ(P.Video_OutPutFileName, Folder + "/missing/holiday.avi");
}

TEST(JobParameterColumns, WriteTheRowsFourteenParameterColumns) {
  struct Case {
    Integer CategoryPos, FormatPos;
    std::array<String, ParameterSubItemCount> Columns;
  };
  const Case cases[] = {
      // code 1600
      {0,
       0,
       {"mpeg4", "libmp3lame", "2", "DX50", ".avi", "", "816000", "25", "128000", "44100", "", "False", "",
        ""}},
      // code 200: audio only
      {14, 0, {"", "libmp3lame", "2", "", ".mp3", "", "-1", "", "128000", "48000", "", "True", "", ""}},
      // code 111: disc target
      {2, 11, {"", "", "", "", "", "", "-1000", "", "-1000", "", "", "False", "dvd", "PAL"}},
      // code 109: the only general-video row with an aspect
      {2,
       9,
       {"mpeg4", "libfaac", "1", "", ".3gp", "176*144", "128000", "12", "12000", "8000", "4:3", "False", "",
        ""}},
  };
  for (const Case& c : cases) {
    TJobParameters p;
    ApplyFormatParameters(p, c.CategoryPos, c.FormatPos, "/nonexistent", false);
    EXPECT_EQ(JobParameterColumns(p), c.Columns) << p.All_Trant_Number;
  }
}

}  // namespace
