// The option dispatcher, the value setters and the options that 5.1 no longer knows by their old names.
#include <set>

#include "engine/transcoder/optiondispatch.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace transcoder_test;

namespace {

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    F = NewTask();
  }
  std::unique_ptr<TCustomFFmpeg> F;
};

struct TOptionCase {
  const char* Name;
  const char* Value;
  const char* Message;  // "" = accepted
  std::function<bool(const TCustomFFmpeg&)> Check;
};

}  // namespace

TEST_F(OptionsTest, TableOfOptions) {
  const String matrix64 = [] {
    String s;
    for (int i = 1; i <= 64; ++i) s += (i > 1 ? "," : "") + std::to_string(i);
    return s;
  }();
  const std::vector<TOptionCase> cases = {
      {"vn", "", "", [](auto& f) { return f.Pending().video_disable; }},
      {"vn", "0", "", [](auto& f) { return !f.Pending().video_disable; }},
      {"copyts", "0", "", [](auto& f) { return f.Pending().copy_ts; }},
      {"VN", "", "", [](auto& f) { return !f.Pending().video_disable; }},
      {"threads", "4", "TODO: option - threads", nullptr},
      {"padleft", "8", "Please use vfilters=pad", nullptr},
      {"vframes", "abc", "'abc' is not a valid integer value",
       [](auto& f) { return f.Pending().max_frames[0] == INT_MAX; }},
      {"aframes", "$10", "", [](auto& f) { return f.Pending().max_frames[1] == 16; }},
      {"fs", "5000000000", "", [](auto& f) { return f.Pending().limit_filesize == 5000000000LL; }},
      {"muxdelay", "-1.5", "", [](auto& f) { return f.Pending().mux_max_delay == -1.5f; }},
      {"alang", "chi", "", [](auto& f) { return f.Pending().audio_language == "chi"; }},
      {"aspect", "16:9", "", [](auto& f) { return f.Pending().frame_aspect_ratio == Single(16.0 / 9.0); }},
      {"aspect", "1.5", "", [](auto& f) { return f.Pending().frame_aspect_ratio == 1.5f; }},
      {"aspect", "4:0", "Incorrect aspect ratio specification.", nullptr},
      {"aspect", "0", "Incorrect aspect ratio specification.", nullptr},
      {"r", "30000/1001", "",
       [](auto& f) { return f.Pending().frame_rate.num == 30000 && f.Pending().frame_rate.den == 1001; }},
      {"r", "fast", "Incorrect frame rate", nullptr},
      {"s", "cif", "",
       [](auto& f) { return f.Pending().frame_width == 352 && f.Pending().frame_height == 288; }},
      {"s", "huge", "Incorrect frame size", nullptr},
      {"pix_fmt", "nosuch", "Unknown pixel format requested: nosuch",
       [](auto& f) { return f.Pending().frame_pix_fmt == -1; }},
      {"sample_fmt", "nosuch", "", [](auto& f) { return f.Pending().audio_sample_fmt == -1; }},
      {"qscale", "0", "qscale must be > 0.0 and <= 255", nullptr},
      {"qscale", "255", "", [](auto& f) { return f.Pending().video_qscale == 255; }},
      {"pass", "3", "pass number can be only 1 or 2", nullptr},
      {"vtag", "XVID", "", [](auto& f) { return f.Pending().video_codec_tag == 0x44495658u; }},
      {"atag", "XVI", "audio tag parameter must be 4 chars", nullptr},
      {"vcodec", "copy", "",
       [](auto& f) { return f.Pending().video_stream_copy == 1 && !f.Pending().video_codec_name; }},
      {"metadata", "title", "Missing =", [](auto& f) { return Peer::metadata(f).empty(); }},
      {"metadata", "k=a=b", "",
       [](auto& f) { return Peer::metadata(f).back() == std::make_pair(String("k"), String("a=b")); }},
      {"itsscale", "25:2.0", "stream index over MAX_STREAMS(20)", nullptr},
      {"itsscale", "-1:2.0", "stream index over MAX_STREAMS(20)", nullptr},
      {"itsscale", "1:2.0", "", [](auto& f) { return f.InputTsScale(0, 1) == 2.0; }},
      {"intra_matrix", matrix64.c_str(), "",
       [](auto& f) { return f.Pending().intra_matrix && (*f.Pending().intra_matrix)[63] == 64; }},
      {"inter_matrix", "8,9,10", "Syntax error in matrix \"8,9,10\" at coeff 2",
       [](auto& f) {
         return f.Pending().inter_matrix && (*f.Pending().inter_matrix)[1] == 9 &&
                (*f.Pending().inter_matrix)[2] == 10;
       }},
      {"streamid", "1", "Invalid value \"1\" for option \"streamid\", required syntax is \"index:value\"",
       nullptr},
      {"streamid", "3:301", "", [](auto& f) { return f.StreamIdFor(3) == 301; }},
      {"streamid", "20:1", "Invalid stream index 20 for option \"streamid\" (0 to 19)", nullptr},
      {"absf", "aac_adtstoasc=arg", "",
       [](auto& f) { return f.Pending().audio_bitstream_filters.size() == 1; }},
      {"vbsf", "=x", "", [](auto& f) { return f.Pending().video_bitstream_filters.empty(); }},
      {"vbsf", " nosuch ", "Unknown bitstream filter nosuch", nullptr},
      {"t", "1:30", "",
       [](auto& f) {
         return f.Pending().recording_time == 90000000 && Peer::TotalOutputDuration(f) == 90000000;
       }},
      {"t", "soon", "Invalid duration specification for t: soon", nullptr},
      {"timestamp", "1970-01-02 00:00:00Z", "",
       [](auto& f) { return f.Pending().recording_timestamp == 86400; }},
      {"timestamp", "whenever", "Invalid date specification for timestamp: whenever", nullptr},
      {"target", "pal-cd", "Unknown target type", nullptr},
      {"target", "cd", "frame_rate is invalid.", nullptr},
      {"vpre", "/no/such/preset", "Preset \"/no/such/preset\" not found", nullptr},
      {"newvideo", "", "At least one output file must be specified", nullptr},
      {"loglevel", "loud", "", nullptr},
      {"f", "pgmyuv", "",
       [](auto& f) {
         return f.Pending().last_asked_format == "image2" && f.Pending().pgmyuv_compatibility_hack == 1;
       }},
      {"g", "12", "", [](auto& f) { return Peer::Options(f).avcodec_opts[0]->gop_size == 12; }},
      {"vb", "800000", "", [](auto& f) { return Peer::Options(f).avcodec_opts[0]->bit_rate == 800000; }},
      {"ab", "96000", "", [](auto& f) { return Peer::Options(f).avcodec_opts[1]->bit_rate == 96000; }},
  };
  for (const TOptionCase& c : cases) {
    SCOPED_TRACE(String(c.Name) + "=" + c.Value);
    F = NewTask();
    String message = RaisedMessage([&] { F->SetOption(c.Name, c.Value); });
    // The log level's conversion error names the level set; only its refusal matters here.
    if (String(c.Name) == "loglevel") {
      EXPECT_FALSE(message.empty());
      continue;
    }
    EXPECT_EQ(message, c.Message);
    if (c.Check) {
      EXPECT_TRUE(c.Check(*F));
    }
  }
}

TEST_F(OptionsTest, TheDispatcherKnows114DistinctNamesThatNeverReachTheGenericStore) {
  const auto& names = DispatcherOptionNames();
  EXPECT_EQ(names.size(), 114u);
  EXPECT_EQ(std::set<String>(names.begin(), names.end()).size(), 114u);
  // "b", "g" and their kind go to the generic store; a dispatcher name such as "vn" never does,
  // so the generic holders stay untouched by it.
  F->SetOption("vn", "1");
  EXPECT_EQ(Peer::Options(*F).opt_name_count, 0);
}

TEST_F(OptionsTest, OptionsThatOnlyLog) {
  TLogRecorder log;
  F->SetOption("version", "x");
  F->SetOption("timelimit", "10");
  F->SetOption("croptop", "0");
  F->SetOption("croptop", "-5");
  EXPECT_TRUE(log.Has(llInfo, "Do nothing: option - version"));
  EXPECT_TRUE(log.Has(llWarning, "Warning: -timelimit not implemented on Windows"));
  EXPECT_EQ(log.Lines.size(), 2u);
}

TEST_F(OptionsTest, CropsCheckTheCurrentFrameSizeAndShrinkIt) {
  TLogRecorder log;
  F->SetFrameSize("320x240");
  EXPECT_EQ(
      RaisedMessage([&] { F->SetCropTop(240); }),
      "Vertical crop dimensions are outside the range of the original image.\nRemember to crop first and "
      "scale second.");
  EXPECT_EQ(
      RaisedMessage([&] { F->SetCropRight(320); }),
      "Horizontal crop dimensions are outside the range of the original image.\nRemember to crop first and "
      "scale second.");
  F->SetCropTop(10);
  F->SetCropLeft(20);
  EXPECT_EQ(F->Pending().frame_height, 230);
  EXPECT_EQ(F->Pending().frame_width, 300);
  EXPECT_EQ(F->Pending().frame_topBand, 10);
  EXPECT_EQ(F->Pending().frame_leftBand, 20);
  EXPECT_TRUE(log.Has(llWarning, "CropTop is deprecated in favor of the crop avfilter"));
}

TEST_F(OptionsTest, StreamMapsReadNumbersWithAnySeparatorAndBasePrefixes) {
  struct {
    const char* Text;
    TAVStreamMap Expected;
  } cases[] = {{"0.1", {0, 1, 0, 1}},
               {"0:1", {0, 1, 0, 1}},
               {"0.1:1.0", {0, 1, 1, 0}},
               {"0x2.010", {2, 8, 2, 8}},
               {"3", {3, 0, 3, 0}}};
  for (const auto& c : cases) {
    F->AddStreamMap(c.Text);
    const TAVStreamMap& m = Peer::stream_maps(*F).back();
    EXPECT_EQ(m.file_index, c.Expected.file_index) << c.Text;
    EXPECT_EQ(m.stream_index, c.Expected.stream_index) << c.Text;
    EXPECT_EQ(m.sync_file_index, c.Expected.sync_file_index) << c.Text;
    EXPECT_EQ(m.sync_stream_index, c.Expected.sync_stream_index) << c.Text;
  }
}

TEST_F(OptionsTest, MapListsStopAtTheirCapacity) {
  auto small = std::make_unique<TCustomFFmpeg>(1);
  small->Reset();
  for (int i = 0; i < MAX_STREAMS; ++i) small->AddStreamMap("0.0");
  EXPECT_EQ(RaisedMessage([&] { small->AddStreamMap("0.0"); }), "Too many stream maps (at most 20)");
  small->AddMetadataMap("0:0");
  EXPECT_EQ(RaisedMessage([&] { small->AddMetadataMap("0:0"); }), "Too many metadata maps (at most 1)");
  EXPECT_EQ(Peer::stream_maps(*small).size(), 20u);
  EXPECT_EQ(Peer::meta_data_maps(*small).size(), 1u);
}

TEST_F(OptionsTest, VideoHookWordsSplitAtBarsOrBlanks) {
  EXPECT_EQ(TCustomFFmpeg::VideoHookWords("hook.so -a  -b"), (std::vector<String>{"hook.so", "-a", "-b"}));
  EXPECT_EQ(TCustomFFmpeg::VideoHookWords("hook.so|-a x|-b"), (std::vector<String>{"hook.so", "-a x", "-b"}));
  String many;
  for (int i = 0; i < 70; ++i) many += "w ";
  EXPECT_EQ(TCustomFFmpeg::VideoHookWords(many.c_str()).size(), 63u);
}

TEST_F(OptionsTest, BitrateBelowOneKilobitWarns) {
  TLogRecorder log;
  EXPECT_TRUE(F->SetBitrate("ab", "64"));
  EXPECT_TRUE(log.Has(
      llWarning, "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s"));
  log.Lines.clear();
  EXPECT_TRUE(F->SetBitrate("b", "64000"));
  EXPECT_TRUE(log.Lines.empty());
}

TEST_F(OptionsTest, FindCodecNamesTypesAndExperimentalEncoders) {
  AVCodecID id = AV_CODEC_ID_NONE;
  EXPECT_TRUE(F->FindCodec("mpeg4", mtVideo, id, 0, true));
  EXPECT_EQ(id, AV_CODEC_ID_MPEG4);
  EXPECT_TRUE(F->FindCodec("", mtVideo, id, 0, true));
  EXPECT_EQ(id, AV_CODEC_ID_NONE);

  struct {
    const char* Name;
    Integer Type;
    bool Encoder;
    const char* Message;
  } refused[] = {
      {"mp2", mtVideo, true, "Invalid encoder type 'mp2'"},
      {"nosuch", mtVideo, true, "Unknown encoder 'nosuch'"},
      {"nosuch", mtAudio, false, "Unknown decoder 'nosuch'"},
      {"msmpeg4v1", mtVideo, true, "Unknown encoder 'msmpeg4v1'"},
      {"libopencore_amrnb", mtAudio, true, "Unknown encoder 'libopencore_amrnb'"},
      {"vorbis", mtAudio, true,
       "encoder 'vorbis' is experimental and might produce bad results.\r\nAdd '-strict experimental' if you "
       "want "
       "to use it.\r\nOr use the non experimental encoder 'libvorbis'."},
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(F->FindCodec(r.Name, r.Type, id, 0, r.Encoder)) << r.Name;
    EXPECT_EQ(F->LastErrMsg(), r.Message);
  }
  EXPECT_TRUE(F->FindCodec("vorbis", mtAudio, id, FF_COMPLIANCE_EXPERIMENTAL, true));
  // The missing AAC encoder library is stood in for by the native one.
  EXPECT_TRUE(F->FindCodec("libfaac", mtAudio, id, 0, true));
  EXPECT_EQ(id, AV_CODEC_ID_AAC);
}

TEST_F(OptionsTest, OldGenericNamesBecomeTheEncodersPrivateOptions) {
  struct {
    const char* Name;
    const char* Value;
    std::vector<std::pair<const char*, const char*>> Private;
  } cases[] = {
      {"flags2",
       "+mixed_refs+wpred-dct8x8+fastpskip",
       {{"mixed-refs", "1"}, {"weightb", "1"}, {"8x8dct", "0"}, {"fast-pskip", "1"}}},
      {"flags2", "+bpyramid", {{"b-pyramid", "normal"}}},
      {"partitions", "+parti8x8+parti4x4+partp8x8+partb8x8", {{"partitions", "i8x8,i4x4,p8x8,b8x8"}}},
      {"partitions", "-parti8x8-parti4x4", {{"partitions", "none"}}},
      {"me_method", "umh", {{"motion-est", "umh"}}},
      {"me_method", "epzs", {{"motion-est", "dia"}}},
      {"directpred", "3", {{"direct-pred", "3"}}},
      {"cqp", "0", {{"qp", "0"}}},
      {"rc_lookahead", "40", {{"rc-lookahead", "40"}}},
      {"flags", "+scan_offset", {{"scan_offset", "1"}}},
  };
  for (const auto& c : cases) {
    F = NewTask();
    EXPECT_TRUE(F->SetDefaultOption(c.Name, c.Value)) << c.Name << "=" << c.Value;
    EXPECT_EQ(F->Pending().VideoCodecOptions.Count(), Integer(c.Private.size())) << c.Name;
    for (const auto& [key, value] : c.Private) {
      ASSERT_NE(F->Pending().VideoCodecOptions.Value(key), nullptr) << key;
      EXPECT_STREQ(F->Pending().VideoCodecOptions.Value(key), value) << key;
    }
  }
  // Generic flags beside translated ones stay generic.
  F = NewTask();
  EXPECT_TRUE(F->SetDefaultOption("flags2", "+local_header+dct8x8"));
  EXPECT_TRUE(Peer::Options(*F).avcodec_opts[0]->flags2 & AV_CODEC_FLAG2_LOCAL_HEADER);
  EXPECT_STREQ(F->Pending().VideoCodecOptions.Value("8x8dct"), "1");
}

TEST_F(OptionsTest, NamesNeitherGenericTranslatedNorPrivateAreRefused) {
  TLogRecorder log;
  EXPECT_FALSE(F->SetDefaultOption("flags2", "+nosuchflag"));
  EXPECT_FALSE(F->SetDefaultOption("nosuchoption", "1"));
  EXPECT_FALSE(F->SetDefaultOption("g", " "));
  EXPECT_FALSE(F->SetDefaultOption("me_method", "sideways"));
  EXPECT_EQ(F->Pending().VideoCodecOptions.Count(), 0);
  EXPECT_EQ(Peer::Options(*F).opt_name_count, 0);
  // A private option of the encoder named, with a value it refuses, is logged like a generic one.
  F->SetVideoCodec("libx264");
  EXPECT_FALSE(F->SetDefaultOption("crf", "plenty"));
  EXPECT_TRUE(log.Contains("Invalid value \"plenty\" for option \"crf\""));
  EXPECT_TRUE(F->SetDefaultOption("preset", "veryfast"));
  EXPECT_STREQ(F->Pending().VideoCodecOptions.Value("preset"), "veryfast");
  // A private muxer option of the format asked for.
  F->SetFormat("mpeg");
  EXPECT_TRUE(F->SetDefaultOption("muxrate", "1411200"));
  EXPECT_STREQ(F->Pending().MuxerOptions.Value("muxrate"), "1411200");
}

TEST_F(OptionsTest, PostHooksDroppingPreviewFreesThePreviewer) {
  F->SetPostHooks(TPostHooks{phPreview, phBitmap});
  Peer::PostContext(*F).Previewer = std::make_unique<TObject>();
  F->SetPostHooks(TPostHooks{phPreview, phBitmap});
  EXPECT_NE(Peer::PostContext(*F).Previewer, nullptr);
  F->SetPostHooks(TPostHooks{phBitmap});
  EXPECT_EQ(Peer::PostContext(*F).Previewer, nullptr);
  EXPECT_EQ(F->PostHooks(), TPostHooks{phBitmap});
}
