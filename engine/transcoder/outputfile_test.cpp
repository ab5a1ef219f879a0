// Opening outputs and creating their streams: container choice, which streams, metadata, join
// mode, encoders, geometry and rate control, and the refusals.
#include <sys/stat.h>

#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace transcoder_test;

namespace {

class OutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    F = NewTask();
  }
  String Out(const String& AName) { return TMedia::Get().Path(AName); }
  TOpenedOutput& Output(Integer AIndex = 0) { return *F->output_files()[size_t(AIndex)]; }
  std::unique_ptr<TCustomFFmpeg> F;
};

}  // namespace

TEST_F(OutputTest, ContainerFromTheExtensionOrTheFormatOption) {
  ASSERT_EQ(F->OpenOutputFile(Out("a.avi"), false), 1) << F->LastErrMsg();
  EXPECT_STREQ(Output().ctx->oformat->name, "avi");
  F->SetFormat("mp4");
  ASSERT_EQ(F->OpenOutputFile(Out("b.avi"), false), 2) << F->LastErrMsg();
  EXPECT_STREQ(Output(1).ctx->oformat->name, "mp4");
  EXPECT_TRUE(F->Pending().last_asked_format.empty());

  EXPECT_EQ(F->OpenOutputFile(Out("c.nosuchext"), false), -1);
  EXPECT_EQ(F->LastErrMsg(), "Unable to find a suitable output format for '" + Out("c.nosuchext") + "'");
  F->SetFormat("nosuchformat");
  EXPECT_EQ(F->OpenOutputFile(Out("d.avi"), false), -1);
  EXPECT_EQ(F->LastErrMsg(), "Requested output format 'nosuchformat' is not a suitable output format");
  EXPECT_EQ(F->Pending().last_asked_format, "nosuchformat");
  EXPECT_EQ(F->nb_output_files(), 2);
}

TEST_F(OutputTest, StreamsFollowTheInputsTheFormatAndTheDisableOptions) {
  // No input: the format's default codecs decide.
  ASSERT_EQ(F->OpenOutputFile(Out("none.avi"), false), 1);
  ASSERT_EQ(Output().streams.size(), 2u);
  EXPECT_EQ(Output().streams[0].codec->codec_type, AVMEDIA_TYPE_VIDEO);
  EXPECT_EQ(Output().streams[1].codec->codec_type, AVMEDIA_TYPE_AUDIO);

  // An audio-only input: no video stream; the pending video options stay for the next output.
  F = NewTask();
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioWav()));
  F->SetVideoCodec("mpeg4");
  ASSERT_EQ(F->OpenOutputFile(Out("audio.avi"), false), 1);
  ASSERT_EQ(Output().streams.size(), 1u);
  EXPECT_EQ(Output().streams[0].codec->codec_type, AVMEDIA_TYPE_AUDIO);
  EXPECT_EQ(Output().streams[0].codec->sample_rate, 22050);
  EXPECT_TRUE(F->Pending().video_codec_name);

  // "vn": no video even with a codec named.
  F = NewTask();
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  F->SetOption("vn", "");
  F->SetVideoCodec("mpeg4");
  ASSERT_EQ(F->OpenOutputFile(Out("novideo.avi"), false), 1);
  ASSERT_EQ(Output().streams.size(), 1u);
  EXPECT_EQ(Output().streams[0].codec->codec_type, AVMEDIA_TYPE_AUDIO);
}

TEST_F(OutputTest, VideoStreamTakesThePendingGeometryAndResetsItsKind) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  F->SetVideoCodec("mpeg4");
  F->SetFrameSize("320x240");
  F->SetOption("vtag", "XVID");
  F->SetOption("qscale", "3");
  F->SetOption("vlang", "eng");
  F->SetOption("pass", "1");
  F->SetOption("g", "30");
  ASSERT_EQ(F->OpenOutputFile(Out("geometry.avi"), false), 1) << F->LastErrMsg();
  const TOutputStreamSetup& v = Output().streams[0];
  const AVCodecContext* c = v.codec.get();
  EXPECT_EQ(c->codec_id, AV_CODEC_ID_MPEG4);
  EXPECT_EQ(c->width, 320);
  EXPECT_EQ(c->height, 240);
  EXPECT_EQ(c->time_base.num, 1);
  EXPECT_EQ(c->time_base.den, 25);
  EXPECT_EQ(c->codec_tag, 0x44495658u);
  EXPECT_EQ(c->pix_fmt, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(c->gop_size, 30);
  EXPECT_TRUE(c->flags & AV_CODEC_FLAG_QSCALE);
  EXPECT_TRUE(c->flags & AV_CODEC_FLAG_PASS1);
  EXPECT_EQ(c->global_quality, 3 * FF_QP2LAMBDA);
  EXPECT_FLOAT_EQ(v.quality, 3 * FF_QP2LAMBDA);
  EXPECT_STREQ(ff::av_dict_get(v.st->metadata, "language", nullptr, 0)->value, "eng");
  // Named encoder: its slot holds it.
  ASSERT_EQ(Peer::output_codecs(*F).size(), 2u);
  EXPECT_EQ(Peer::output_codecs(*F)[0], v.encoder);
  EXPECT_EQ(Peer::output_codecs(*F)[1], nullptr);
  // The kind's pending options are consumed; geometry persists.
  EXPECT_FALSE(F->Pending().video_codec_name);
  EXPECT_EQ(F->Pending().frame_pix_fmt, AV_PIX_FMT_NONE);
  EXPECT_TRUE(F->Pending().video_language.empty());
  EXPECT_EQ(F->Pending().frame_width, 320);
  String leftover;
  EXPECT_GE(OpenEncoder(Output().streams[0], leftover), 0);
}

TEST_F(OutputTest, SampleAspectOfTheDisplayAspect) {
  struct {
    const char* Size;
    const char* Aspect;
    int Num, Den;
  } cases[] = {{"720x576", "4:3", 16, 15}, {"640x480", "4:3", 1, 1}, {"720x576", "16:9", 64, 45}};
  for (const auto& c : cases) {
    F = NewTask();
    F->SetFrameSize(c.Size);
    F->SetAspectRatio(c.Aspect);
    F->SetOption("an", "");
    ASSERT_EQ(F->OpenOutputFile(Out("sar.avi"), false), 1);
    const AVCodecContext* v = Output().streams[0].codec.get();
    EXPECT_EQ(v->sample_aspect_ratio.num, c.Num) << c.Size << " " << c.Aspect;
    EXPECT_EQ(v->sample_aspect_ratio.den, c.Den) << c.Size << " " << c.Aspect;
  }
  // Without a size a 4:3 display aspect is one of square samples (d = 1).
  F = NewTask();
  F->SetAspectRatio("4:3");
  F->SetVideoCodec("copy");
  F->SetOption("an", "");
  ASSERT_EQ(F->OpenOutputFile(Out("sar.avi"), false), 1);
  EXPECT_EQ(Output().streams[0].st->sample_aspect_ratio.num, 1);
  EXPECT_EQ(Output().streams[0].st->sample_aspect_ratio.den, 1);
  EXPECT_TRUE(Output().streams[0].stream_copy);
  ASSERT_EQ(Peer::output_codecs(*F).size(), 1u);
  EXPECT_EQ(Peer::output_codecs(*F)[0], nullptr);
}

TEST_F(OutputTest, FrameRateSnapsToTheEncodersListUnlessForced) {
  F->SetFormat("mpeg");
  F->SetVideoCodec("mpeg1video");
  F->SetFrameRate("20");
  ASSERT_EQ(F->OpenOutputFile(Out("rate.mpg"), false), 1);
  EXPECT_EQ(av_q2d(Output().streams[0].codec->framerate), 24000.0 / 1001.0);

  F = NewTask();
  F->SetFormat("mpeg");
  F->SetVideoCodec("mpeg1video");
  F->SetFrameRate("20");
  F->SetOption("force_fps", "");
  ASSERT_EQ(F->OpenOutputFile(Out("rate.mpg"), false), 1);
  EXPECT_EQ(Output().streams[0].codec->time_base.den, 20);
}

TEST_F(OutputTest, RateControlOverrides) {
  F->SetVideoCodec("mpeg4");
  F->SetOption("rc_override", "0,100,-30/200,300,4");
  F->SetOption("an", "");
  ASSERT_EQ(F->OpenOutputFile(Out("rc.avi"), false), 1) << F->LastErrMsg();
  const AVCodecContext* c = Output().streams[0].codec.get();
  ASSERT_EQ(c->rc_override_count, 2);
  EXPECT_EQ(c->rc_override[0].qscale, 0);
  EXPECT_FLOAT_EQ(c->rc_override[0].quality_factor, 0.3f);
  EXPECT_EQ(c->rc_override[1].start_frame, 200);
  EXPECT_EQ(c->rc_override[1].end_frame, 300);
  EXPECT_EQ(c->rc_override[1].qscale, 4);

  F = NewTask();
  F->SetVideoCodec("mpeg4");
  F->SetOption("rc_override", "0,100");
  EXPECT_EQ(F->OpenOutputFile(Out("rc.avi"), false), -1);
  EXPECT_EQ(F->LastErrMsg(), "new_video_stream fail: error parsing rc_override");
  EXPECT_EQ(F->nb_output_files(), 0);
}

TEST_F(OutputTest, AudioLayoutThatDoesNotHoldTheChannelCountGivesWay) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  F->SetAudioChannels(6);
  F->SetAudioCodec("ac3");
  F->SetOption("vn", "");
  ASSERT_EQ(F->OpenOutputFile(Out("six.mkv"), false), 1) << F->LastErrMsg();
  const AVCodecContext* a = Output().streams[0].codec.get();
  EXPECT_EQ(a->ch_layout.nb_channels, 6);
  EXPECT_EQ(a->ch_layout.order, AV_CHANNEL_ORDER_NATIVE);
  EXPECT_NE(a->ch_layout.u.mask, uint64_t(AV_CH_LAYOUT_STEREO));
  // The encoder's nearest rate and first sample format.
  EXPECT_EQ(a->sample_rate, 44100);
  EXPECT_EQ(a->sample_fmt, AV_SAMPLE_FMT_FLTP);
  EXPECT_EQ(a->time_base.den, 44100);
}

TEST_F(OutputTest, EncodersThisFFmpegLacks) {
  F->SetVideoCodec("msmpeg4v1");
  EXPECT_EQ(F->OpenOutputFile(Out("old.avi"), false), -1);
  EXPECT_EQ(F->LastErrMsg(), "new_video_stream fail: Unknown encoder 'msmpeg4v1'");
  EXPECT_FALSE(F->Pending().video_codec_name);

  F = NewTask();
  F->SetAudioCodec("libopencore_amrnb");
  F->SetOption("vn", "");
  EXPECT_EQ(F->OpenOutputFile(Out("old.3gp"), false), -1);
  EXPECT_EQ(F->LastErrMsg(), "new_audio_stream fail: Unknown encoder 'libopencore_amrnb'");

  F = NewTask();
  F->SetAudioCodec("libfaac");
  F->SetOption("vn", "");
  ASSERT_EQ(F->OpenOutputFile(Out("aac.mp4"), false), 1) << F->LastErrMsg();
  ASSERT_NE(Output().streams[0].encoder, nullptr);
  EXPECT_STREQ(Output().streams[0].encoder->name, "aac");
  String leftover;
  EXPECT_GE(OpenEncoder(Output().streams[0], leftover), 0);
}

TEST_F(OutputTest, MetadataKeepsTheFirstValueOfAKey) {
  F->SetOption("metadata", "title=A");
  F->SetOption("metadata", "title=B");
  F->SetOption("metadata", "artist=C");
  F->SetOption("timestamp", "2001-02-03 04:05:06Z");
  ASSERT_EQ(F->OpenOutputFile(Out("meta.mkv"), false), 1);
  const AVDictionary* m = Output().ctx->metadata;
  EXPECT_STREQ(ff::av_dict_get(m, "title", nullptr, 0)->value, "A");
  EXPECT_STREQ(ff::av_dict_get(m, "artist", nullptr, 0)->value, "C");
  EXPECT_STREQ(ff::av_dict_get(m, "creation_time", nullptr, 0)->value, "2001-02-03T04:05:06.000000Z");
  EXPECT_TRUE(Peer::metadata(*F).empty());
}

TEST_F(OutputTest, FileRefusalsUnregisterAndLeaveNoFile) {
  // A muxer that needs a number pattern in the name (on 5.1 only the chunked WebM one).
  F->SetFormat("webm_chunk");
  EXPECT_EQ(F->OpenOutputFile(Out("chunk.webm"), false), -1);
  EXPECT_EQ(F->LastErrMsg(), Out("chunk.webm") + ": Number syntax expected in filename");
  EXPECT_EQ(F->nb_output_files(), 0);

  // A folder that cannot be written.
  const String folder = Out("readonly");
  mkdir(folder.c_str(), 0500);
  const String file = folder + "/x.avi";
  const Integer result = F->OpenOutputFile(file, false);
  if (geteuid() != 0) {
    EXPECT_EQ(result, -1);
    EXPECT_EQ(F->LastErrMsg().rfind(file + ": ", 0), 0u) << F->LastErrMsg();
    EXPECT_FALSE(FileExists(file));
  }
  // A folder that does not exist.
  const String nowhere = Out("no/such/folder/x.avi");
  EXPECT_EQ(F->OpenOutputFile(nowhere, false), -1);
  EXPECT_EQ(F->LastErrMsg(), nowhere + ": No such file or directory");
}

TEST_F(OutputTest, AnOutputIsMadeOnlyByTheRun) {
  const String file = Out("empty.avi");
  ASSERT_EQ(F->OpenOutputFile(file, false), 1);
  EXPECT_FALSE(FileExists(file));
  F->Cleanup();
  EXPECT_EQ(F->nb_output_files(), 0);
  EXPECT_FALSE(FileExists(file));
}

TEST_F(OutputTest, JoinModeRepeatsTheOutputOncePerInput) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(Out("join.avi"), true), 3) << F->LastErrMsg();
  EXPECT_TRUE(Peer::JoinMode(*F));
  EXPECT_EQ(F->output_files()[0], F->output_files()[2]);
  EXPECT_EQ(Peer::TotalOutputDuration(*F), 3 * F->input_files()[0]->ctx->duration);
  EXPECT_EQ(F->OpenOutputFile(Out("more.avi"), false), -1);
  EXPECT_EQ(F->LastErrMsg(), "Cannot join more than one output file.");

  F = NewTask();
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  EXPECT_EQ(F->OpenOutputFile(Out("single.avi"), true), 1);
  EXPECT_FALSE(Peer::JoinMode(*F));

  // The output list never grows past its capacity.
  auto small = std::make_unique<TCustomFFmpeg>(2);
  small->Reset();
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(small->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(small->OpenOutputFile(Out("first.avi"), false), 1);
  EXPECT_EQ(small->OpenOutputFile(Out("join2.avi"), true), -1);
  EXPECT_EQ(small->LastErrMsg(), "Cannot join 2 input files: the task holds at most 2 output entries");
  EXPECT_EQ(small->nb_output_files(), 1);
}

TEST_F(OutputTest, MoreThanTwentyStreamsOnOneOutput) {
  F->SetOption("vn", "");
  F->SetOption("sn", "");
  ASSERT_EQ(F->OpenOutputFile(Out("many.mkv"), false), 1);
  F->SetOption("streamid", "0:100");
  for (int i = 0; i < 24; ++i) F->SetOption("newaudio", "");
  EXPECT_EQ(Output().streams.size(), 25u);
  EXPECT_EQ(Output().ctx->nb_streams, 25u);
  EXPECT_EQ(Peer::output_codecs(*F).size(), 25u);
}

TEST_F(OutputTest, SubtitleStreamWithoutACodecNameHasNone) {
  F->SetSubtitleCodec("ass");
  F->SetOption("vn", "");
  F->SetOption("an", "");
  ASSERT_EQ(F->OpenOutputFile(Out("sub.mkv"), false), 1);
  EXPECT_EQ(Output().streams[0].codec->codec_id, AV_CODEC_ID_ASS);
  F->SetOption("newsubtitle", "");
  EXPECT_EQ(Output().streams[1].codec->codec_id, AV_CODEC_ID_NONE);
}
