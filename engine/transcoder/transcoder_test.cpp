// The transcoder object: construction, defaults and their reset, the open-codec lists and the
// encoder format choosers.
#include <sstream>

#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace transcoder_test;

namespace {

class TranscoderTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadLibraries(); }
};

// The fields the option layer changes, as one text.
String Snapshot(const TCustomFFmpeg& f) {
  std::ostringstream s;
  s << f.Pending().last_asked_format << '|' << f.Pending().frame_width << '|' << f.Pending().frame_height
    << '|' << f.Pending().frame_aspect_ratio << '|' << f.Pending().frame_pix_fmt << '|'
    << f.Pending().audio_sample_fmt << '|' << f.Pending().frame_topBand << '|' << f.Pending().max_frames[0]
    << '|' << f.Pending().max_frames[3] << '|' << f.Pending().frame_rate.num << '/'
    << f.Pending().frame_rate.den << '|' << f.Pending().video_qscale << '|' << f.Pending().video_disable
    << '|' << f.Pending().video_discard << '|' << f.Pending().top_field_first << '|'
    << f.Pending().intra_dc_precision << '|' << f.Pending().loop_output << '|'
    << f.Pending().audio_sample_rate << '|' << f.Pending().audio_channels << '|' << f.Pending().audio_disable
    << '|' << f.Pending().subtitle_disable << '|' << f.Pending().audio_volume << '|'
    << f.Pending().audio_qscale << '|' << f.Pending().verbose << '|' << f.Pending().thread_count << '|'
    << f.Pending().video_sync_method << '|' << f.Pending().audio_sync_method << '|' << f.Pending().mux_preload
    << '|' << f.Pending().mux_max_delay << '|' << f.Pending().recording_time << '|' << f.Pending().start_time
    << '|' << f.Pending().copy_ts << '|' << f.Pending().video_stream_copy << '|' << f.Pending().do_pass << '|'
    << f.Pending().video_codec_tag << '|' << f.Pending().video_codec_name.value_or("-") << '|'
    << f.Pending().audio_codec_name.value_or("-") << '|' << bool(f.Pending().intra_matrix) << '|'
    << Peer::streamid_map(f)[3] << '|' << Peer::stream_maps(f).size() << '|'
    << f.Pending().VideoCodecOptions.Count() << '|' << f.Pending().MuxerOptions.Count() << '|'
    << f.Pending().video_bitstream_filters.size() << '|' << f.Pending().sws_flags << '|'
    << Peer::TotalOutputDuration(f);
  return s.str();
}

}  // namespace

TEST_F(TranscoderTest, ConstructionChecksTheFileCount) {
  for (Integer bad : {0, 513, -1}) EXPECT_THROW(TCustomFFmpeg{bad}, EAssertionFailed) << bad;
  for (Integer good : {1, 512}) {
    TCustomFFmpeg f(good);
    EXPECT_EQ(f.MaxFiles(), good);
    EXPECT_EQ(f.nb_input_files(), 0);
    EXPECT_EQ(f.nb_output_files(), 0);
    EXPECT_EQ(f.ReportInterval, 500000);
    EXPECT_EQ(f.PreviewInterval, 100000);
    EXPECT_EQ(Peer::TotalOutputDuration(f), -1);
    EXPECT_EQ(Peer::input_files_ts_offset(f).size(), size_t(good));
    // Option holders come with the reset, not before.
    EXPECT_EQ(Peer::Options(f).avformat_opts.get(), nullptr);
  }
}

TEST_F(TranscoderTest, ResetRestoresEveryDefaultAndKeepsTheResults) {
  TCustomFFmpeg fresh(4);
  fresh.Reset();
  const String defaults = Snapshot(fresh);
  EXPECT_NE(Peer::Options(fresh).avformat_opts.get(), nullptr);

  TCustomFFmpeg f(4);
  f.Reset();
  for (auto [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
           {"f", "avi"},
           {"s", "320x240"},
           {"aspect", "16:9"},
           {"pix_fmt", "rgb24"},
           {"sample_fmt", "s16"},
           {"vframes", "9"},
           {"r", "10"},
           {"qscale", "4"},
           {"vn", ""},
           {"vdt", "8"},
           {"top", "1"},
           {"dc", "9"},
           {"loop_output", "2"},
           {"ar", "8000"},
           {"ac", "1"},
           {"an", ""},
           {"sn", ""},
           {"vol", "512"},
           {"aq", "3"},
           {"v", "2"},
           {"vsync", "1"},
           {"async", "1"},
           {"muxpreload", "1"},
           {"muxdelay", "2"},
           {"t", "5"},
           {"ss", "1"},
           {"copyts", ""},
           {"vcodec", "copy"},
           {"pass", "2"},
           {"vtag", "DIVX"},
           {"acodec", "mp2"},
           {"intra_matrix",
            "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,"
            "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1"},
           {"streamid", "3:9"},
           {"map", "0.0"},
           {"vbsf", "h264_mp4toannexb"},
           {"preset", "fast"}}) {
    if (String(name) == "preset") f.SetVideoCodec("libx264");
    f.SetOption(name, value);
  }
  f.SetFormat("mpeg");
  f.SetDefaultOption("muxrate", "100000");
  f.SetVideoCodec("mpeg4");
  ASSERT_NE(Snapshot(f), defaults);
  Peer::SetFatalMessage(f, "kept");
  Peer::metadata(f).emplace_back("title", "kept");
  f.Reset();
  EXPECT_EQ(Snapshot(f), defaults);
  EXPECT_EQ(f.FatalMessage(), "kept");
  EXPECT_EQ(Peer::metadata(f).size(), 1u);
  EXPECT_EQ(Peer::Options(f).opt_name_count, 0);
}

TEST_F(TranscoderTest, OpenCodecListsLinkAtTheFrontAndUnlinkAnywhere) {
  TCodecItem* head = nullptr;
  int a, b, c;
  AddCodecItem(head, &a, nullptr);
  AddCodecItem(head, &b, nullptr);
  AddCodecItem(head, &c, nullptr);
  ASSERT_EQ(head->st, &c);
  RemoveCodecItem(head, &b);
  EXPECT_EQ(head->Next->st, &a);
  EXPECT_EQ(head->Next->Prev, head);
  RemoveCodecItem(head, &c);
  EXPECT_EQ(head->st, &a);
  EXPECT_EQ(head->Prev, nullptr);
  RemoveCodecItem(head, &b);
  CloseListedEncoders(head);
  EXPECT_EQ(head, nullptr);
}

TEST_F(TranscoderTest, ClosingListedEncodersClosesTheirCodecs) {
  TCodecContextHolder c(ff::avcodec_alloc_context3(nullptr));
  const AVCodec* mpeg4 = ff::avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  c->width = 64;
  c->height = 48;
  c->pix_fmt = AV_PIX_FMT_YUV420P;
  c->time_base = AVRational{1, 25};
  ASSERT_GE(ff::avcodec_open2(c.get(), mpeg4, nullptr), 0);
  ASSERT_TRUE(ff::avcodec_is_open(c.get()));
  TCodecItem* head = nullptr;
  AddCodecItem(head, c.get(), c.get());
  CloseListedEncoders(head);
  EXPECT_EQ(head, nullptr);
  EXPECT_FALSE(ff::avcodec_is_open(c.get()));
}

TEST_F(TranscoderTest, SampleRateChooserTakesTheNearestListedRate) {
  TCustomFFmpeg f(1);
  static const int rates[] = {22050, 48000, 32000, 0};
  AVCodec codec{};
  codec.supported_samplerates = rates;
  TCodecContextHolder c(ff::avcodec_alloc_context3(nullptr));
  struct {
    int Asked, Chosen;
    bool Warned;
  } cases[] = {{44100, 48000, true}, {32000, 32000, false}, {27000, 22050, true}, {8000, 22050, true}};
  for (const auto& k : cases) {
    TLogRecorder log;
    c->sample_rate = k.Asked;
    f.ChooseSampleRate(c.get(), &codec);
    EXPECT_EQ(c->sample_rate, k.Chosen) << k.Asked;
    EXPECT_EQ(log.Has(llWarning,
                      Format("Requested sampling rate unsupported using closest supported (%d)", k.Chosen)),
              k.Warned)
        << k.Asked;
  }
}

TEST_F(TranscoderTest, FormatChoosersKeepListedFormatsAndMJPEGsUnofficialOnes) {
  TCustomFFmpeg f(1);
  TCodecContextHolder c(ff::avcodec_alloc_context3(nullptr));
  static const AVPixelFormat formats[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_NONE};
  AVCodec encoder{};
  encoder.pix_fmts = formats;
  struct {
    AVCodecID Id;
    AVPixelFormat Asked;
    int Strict;
    AVPixelFormat Chosen;
  } cases[] = {{AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUV422P, FF_COMPLIANCE_UNOFFICIAL, AV_PIX_FMT_YUV422P},
               {AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUV420P, FF_COMPLIANCE_EXPERIMENTAL, AV_PIX_FMT_YUV420P},
               {AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUV422P, FF_COMPLIANCE_NORMAL, AV_PIX_FMT_YUVJ420P},
               {AV_CODEC_ID_MJPEG, AV_PIX_FMT_RGB24, FF_COMPLIANCE_UNOFFICIAL, AV_PIX_FMT_YUVJ420P},
               {AV_CODEC_ID_MPEG4, AV_PIX_FMT_YUV422P, FF_COMPLIANCE_UNOFFICIAL, AV_PIX_FMT_YUVJ420P},
               {AV_CODEC_ID_MPEG4, AV_PIX_FMT_YUVJ444P, FF_COMPLIANCE_NORMAL, AV_PIX_FMT_YUVJ444P}};
  for (const auto& k : cases) {
    c->codec_id = k.Id;
    c->pix_fmt = k.Asked;
    c->strict_std_compliance = k.Strict;
    f.ChoosePixelFormat(c.get(), &encoder);
    EXPECT_EQ(c->pix_fmt, k.Chosen) << k.Id << " " << k.Asked << " " << k.Strict;
  }
  const AVCodec* mp2 = ff::avcodec_find_encoder(AV_CODEC_ID_MP2);
  c->sample_fmt = AV_SAMPLE_FMT_FLT;
  f.ChooseSampleFormat(c.get(), mp2);
  EXPECT_EQ(c->sample_fmt, AV_SAMPLE_FMT_S16);
  c->sample_fmt = AV_SAMPLE_FMT_S16;
  f.ChooseSampleFormat(c.get(), nullptr);
  EXPECT_EQ(c->sample_fmt, AV_SAMPLE_FMT_S16);
}

TEST_F(TranscoderTest, FeedStreamsAreCopiedIntoTheOutput) {
  TCustomFFmpeg f(1);
  f.Reset();
  f.Pending().audio_stream_copy = 1;
  TOpenedOutput output;
  output.ctx.reset(ff::avformat_alloc_context());
  ASSERT_EQ(f.ReadFeedStreams(output, TMedia::Get().AudioVideoAvi()), 0);
  ASSERT_EQ(output.streams.size(), 2u);
  EXPECT_EQ(output.ctx->nb_streams, 2u);
  EXPECT_FALSE(output.streams[0].stream_copy);
  EXPECT_TRUE(output.streams[1].stream_copy);
  EXPECT_EQ(output.streams[0].codec->width, 160);
  EXPECT_NE(ff::av_dict_get(output.ctx->metadata, "creation_time", nullptr, 0), nullptr);
  EXPECT_LT(f.ReadFeedStreams(output, TMedia::Get().Path("missing.ffm")), 0);
}
