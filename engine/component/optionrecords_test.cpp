#include "engine/component/optionrecords.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
  const char* Text;
  std::vector<TOptionPair> Pairs;
};

class SplitExtOptionsTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitExtOptionsTest, PairsInTextOrder) {
  EXPECT_EQ(SplitExtOptions(GetParam().Text), GetParam().Pairs);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitExtOptionsTest,
    testing::Values(SplitCase{"b=1000000<CRLF>ar=44100", {{"b", "1000000"}, {"ar", "44100"}}},
                    SplitCase{"b=1000000\r\nar=44100", {{"b", "1000000"}, {"ar", "44100"}}},
                    SplitCase{"a=1\rb=2\nc=3", {{"a", "1"}, {"b", "2"}, {"c", "3"}}},
                    // only the whole text is trimmed; names and values keep their blanks
                    SplitCase{"  \t x = y \r\n", {{"x ", " y"}}},
                    SplitCase{"vf=crop=1:2", {{"vf", "crop=1:2"}}}, SplitCase{"an", {{"an", ""}}},
                    SplitCase{"a=1\n\nb=2", {{"a", "1"}, {"", ""}, {"b", "2"}}},
                    // the marker is matched in capitals only
                    SplitCase{"a=1<crlf>b=2", {{"a", "1<crlf>b=2"}}}, SplitCase{"   ", {}}));

TEST(OptionRecordsTest, InitOutputOptionsRestoresEveryDefault) {
  TOutputOptions o;
  o.FileName = "x";
  o.PacketSize = o.AudioVolume = o.VideoBitrate = o.CropLeft = o.VideoSyncMethod = 7;
  o.AudioSyncMethod = o.Tag = 7;
  o.MuxDelay = 3;
  o.DisableVideo = o.Join = o.CustomHook = true;
  o.TimeStart = o.TimeLength = 5;
  o.Info.TimeStamp = 2;
  o.Info.Title = "t";
  o.TargetType = ttDVD;
  o.NormType = ntNTSC;
  o.NormDefault = ntNTSC;
  InitOutputOptions(o);
  EXPECT_TRUE(o.FileName.empty());
  EXPECT_TRUE(o.Info.Title.empty());
  for (Integer v : {o.PacketSize, o.AudioVolume, o.VideoBitrate, o.CropLeft, o.VideoSyncMethod})
    EXPECT_EQ(v, -1);
  EXPECT_EQ(o.AudioSyncMethod, 0);
  EXPECT_EQ(o.Tag, 0);
  EXPECT_EQ(o.MuxDelay, -1.0f);
  EXPECT_FALSE(o.DisableVideo || o.Join || o.CustomHook);
  EXPECT_EQ(o.TimeStart, INT64_MIN);
  EXPECT_EQ(o.TimeLength, INT64_MIN);
  EXPECT_EQ(o.Info.TimeStamp, -1.0);
  EXPECT_EQ(o.TargetType, ttIgnore);
  EXPECT_EQ(o.NormType, ntAuto);
  EXPECT_EQ(o.NormDefault, ntPAL);

  TInputOptions i;
  i.ProgramID = 3;
  i.TimeStart = 0;
  i.ExtOptions = "a=1";
  InitInputOptions(i);
  EXPECT_EQ(i.ProgramID, -1);
  EXPECT_EQ(i.TimeStart, INT64_MIN);
  EXPECT_TRUE(i.ExtOptions.empty());
}

TEST(OptionRecordsTest, InputTextFormTakesTheStartTimeAndKeepsTheRest) {
  TInputOptions o = InputOptionsFromText("TIMESTART=1500000<CRLF>VCodec=mpeg4\nar");
  EXPECT_EQ(o.TimeStart, 1500000);
  EXPECT_EQ(o.ExtOptions, "VCodec=mpeg4\nar=\n");
  EXPECT_EQ(InputOptionsFromText("timestart=abc").TimeStart, INT64_MIN);
}

TEST(OptionRecordsTest, OutputTextFormSetsFlagsWhateverTheirValues) {
  TOutputOptions o = OutputOptionsFromText("Join=0\nhook=\ntimelength=2000000\nTimeStart=x\nvcodec=mpeg4");
  EXPECT_TRUE(o.Join);
  EXPECT_TRUE(o.CustomHook);
  EXPECT_EQ(o.TimeLength, 2000000);
  EXPECT_EQ(o.TimeStart, INT64_MIN);
  EXPECT_EQ(o.ExtOptions, "vcodec=mpeg4\n");
  EXPECT_TRUE(OutputOptionsFromText("CustomHook=1").CustomHook);
  EXPECT_FALSE(OutputOptionsFromText("hooks=1").CustomHook);
}

}  // namespace
