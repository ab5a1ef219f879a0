// Opening inputs: forced format and decoders, program selection, start position, and what the
// pending options learn from the input.
#include "engine/transcoder/testkit/transcoder_testkit.h"
#include "platform/rtl/codepage.h"

using namespace transcoder_test;

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    F = NewTask();
  }
  std::unique_ptr<TCustomFFmpeg> F;
};

}  // namespace

TEST_F(InputTest, AnInputWritesItsGeometryAndAudioFormatBack) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi())) << F->LastErrMsg();
  EXPECT_EQ(F->nb_input_files(), 1);
  EXPECT_EQ(F->Pending().frame_width, 160);
  EXPECT_EQ(F->Pending().frame_height, 120);
  EXPECT_FLOAT_EQ(F->Pending().frame_aspect_ratio, 160.0f / 120.0f);
  EXPECT_EQ(F->Pending().frame_pix_fmt, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(F->Pending().frame_rate.num, 25);
  EXPECT_EQ(F->Pending().frame_rate.den, 1);
  EXPECT_EQ(F->Pending().audio_sample_rate, 44100);
  EXPECT_EQ(F->Pending().audio_channels, 2);
  EXPECT_EQ(F->Pending().channel_layout, Int64(AV_CH_LAYOUT_STEREO));
  // One codec context per stream, filled from its parameters.
  const TOpenedInput& input = *F->input_files()[0];
  ASSERT_EQ(input.codecs.size(), 2u);
  EXPECT_EQ(input.codecs[0]->codec_id, AV_CODEC_ID_MPEG4);
  EXPECT_EQ(input.codecs[1]->codec_id, AV_CODEC_ID_MP2);
  EXPECT_EQ(input.codecs[0]->time_base.num, 1);
  EXPECT_EQ(input.codecs[0]->time_base.den, 25);
  EXPECT_GE(Peer::TotalOutputDuration(*F), 900000);
  EXPECT_EQ(Peer::input_files_ts_offset(*F)[0], 0);
}

TEST_F(InputTest, SampleAspectTurnsIntoTheDisplayAspect) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().PalSarVideo())) << F->LastErrMsg();
  EXPECT_FLOAT_EQ(F->Pending().frame_aspect_ratio, 4.0f / 3.0f);
}

TEST_F(InputTest, ForcedDecodersTakeTheSlotOfTheirStream) {
  F->SetAudioCodec("mp3float");
  F->SetOption("acodec", "mp2float");
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().VideoSubtitleAudio())) << F->LastErrMsg();
  ASSERT_EQ(Peer::input_codecs(*F).size(), 3u);
  EXPECT_EQ(Peer::input_codecs(*F)[0], nullptr);
  EXPECT_EQ(Peer::input_codecs(*F)[1], nullptr);
  ASSERT_NE(Peer::input_codecs(*F)[2], nullptr);
  EXPECT_STREQ(Peer::input_codecs(*F)[2]->name, "mp2float");
  // The names are consumed: a second input gets automatic decoders.
  EXPECT_FALSE(F->Pending().audio_codec_name);
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(Peer::input_codecs(*F).size(), 5u);
  EXPECT_EQ(Peer::input_codecs(*F)[4], nullptr);
}

TEST_F(InputTest, RefusalsLeaveTheTablesAsTheyWere) {
  const String missing = TMedia::Get().Path("missing.avi");
  struct {
    std::function<void(TCustomFFmpeg&)> Prepare;
    String File;
    String Message;
  } cases[] = {
      {[](TCustomFFmpeg&) {}, missing, missing + ": No such file or directory"},
      {[](TCustomFFmpeg& f) { f.SetVideoCodec("nosuch"); }, TMedia::Get().AudioVideoAvi(),
       "Unknown decoder 'nosuch'"},
      {[](TCustomFFmpeg& f) { f.SetAudioCodec("mpeg4"); }, TMedia::Get().AudioVideoAvi(),
       "Invalid decoder type 'mpeg4'"},
      {[](TCustomFFmpeg& f) { f.SetProgramId(9); }, TMedia::Get().ProgramTs(),
       "Specified program id not found"},
  };
  for (auto& c : cases) {
    F = NewTask();
    c.Prepare(*F);
    EXPECT_FALSE(F->OpenInputFile(c.File));
    EXPECT_EQ(F->LastErrMsg(), c.Message);
    EXPECT_EQ(F->nb_input_files(), 0);
    EXPECT_TRUE(Peer::input_codecs(*F).empty());
    EXPECT_FALSE(F->Pending().video_codec_name);
    EXPECT_FALSE(F->Pending().audio_codec_name);
  }
  // The program id stays pending when it was not found.
  EXPECT_EQ(F->Pending().opt_programid, 9);
}

TEST_F(InputTest, AnUnknownForcedFormatRaisesAndStaysPending) {
  F->SetFormat("nosuchformat");
  EXPECT_EQ(RaisedMessage([&] { F->OpenInputFile(TMedia::Get().AudioVideoAvi()); }),
            "Unknown input format: \"nosuchformat\"");
  EXPECT_EQ(F->Pending().last_asked_format, "nosuchformat");
  // A known one is consumed.
  F->SetFormat("avi");
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  EXPECT_TRUE(F->Pending().last_asked_format.empty());
}

TEST_F(InputTest, AFoundProgramKeepsOnlyItsStreams) {
  F->SetProgramId(7);
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().ProgramTs())) << F->LastErrMsg();
  EXPECT_EQ(F->Pending().opt_programid, 0);
  const AVFormatContext* ic = F->input_files()[0]->ctx.get();
  ASSERT_GE(ic->nb_programs, 1u);
  EXPECT_EQ(ic->streams[0]->discard, AVDISCARD_DEFAULT);
}

TEST_F(InputTest, StartPositionSeeksAndBecomesTheNegativeOffset) {
  const String file = TMedia::Get().AudioWav();
  F->SetOption("ss", "0.5");
  ASSERT_TRUE(F->OpenInputFile(file)) << F->LastErrMsg();
  const Int64 start =
      F->input_files()[0]->ctx->start_time == AV_NOPTS_VALUE ? 0 : F->input_files()[0]->ctx->start_time;
  EXPECT_EQ(Peer::input_files_ts_offset(*F)[0], -(500000 + start));
  EXPECT_EQ(F->Pending().start_time, 0);

  F = NewTask();
  F->SetOption("itsoffset", "2");
  F->SetOption("ss", "0.5");
  F->SetOption("copyts", "");
  ASSERT_TRUE(F->OpenInputFile(file));
  EXPECT_EQ(Peer::input_files_ts_offset(*F)[0], 2000000);
}

TEST_F(InputTest, TheInputTablesNeverGrowPastTheirCapacity) {
  auto small = std::make_unique<TCustomFFmpeg>(1);
  small->Reset();
  ASSERT_TRUE(small->OpenInputFile(TMedia::Get().AudioWav()));
  EXPECT_FALSE(small->OpenInputFile(TMedia::Get().AudioWav()));
  EXPECT_EQ(small->LastErrMsg(), "max input files 1 reached");
  EXPECT_EQ(small->nb_input_files(), 1);
}

TEST_F(InputTest, TheLongerInputSetsTheExpectedDuration) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioWav()));
  EXPECT_EQ(F->nb_input_files(), 2);
  EXPECT_EQ(Peer::TotalOutputDuration(*F), F->input_files()[1]->ctx->duration);
  EXPECT_GE(Peer::TotalOutputDuration(*F), 1900000);
}

TEST_F(InputTest, NamesOutsideTheSystemCodePageOpenThroughTheProtocol) {
  const String name = TMedia::Get().Path("视频.avi");
  ASSERT_EQ(std::system(("cp '" + TMedia::Get().AudioVideoAvi() + "' '" + name + "'").c_str()), 0);
  SetSystemCodePage("ISO-8859-1");
  const bool opened = F->OpenInputFile(name);
  SetSystemCodePage("UTF-8");
  ASSERT_TRUE(opened) << F->LastErrMsg();
  EXPECT_EQ(F->input_files()[0]->codecs.size(), 2u);
}
