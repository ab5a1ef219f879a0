// Targets and presets: each target's option group, the norm guess, the built-in and file presets,
// and that what they set is what the 5.1 encoders and muxers take.
#include <fstream>

#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace transcoder_test;

namespace {

class TargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    F = NewTask();
  }
  // Opens an output and every encoder on it; the options an encoder did not take fail the test.
  void OpenOutputAndEncoders(const String& AName) {
    ASSERT_EQ(F->OpenOutputFile(TMedia::Get().Path(AName), false), F->nb_output_files() + 1)
        << F->LastErrMsg();
    for (TOutputStreamSetup& s : F->output_files().back()->streams) {
      String leftover;
      EXPECT_GE(OpenEncoder(s, leftover), 0) << AName;
      EXPECT_EQ(leftover, "") << AName;
    }
  }
  std::unique_ptr<TCustomFFmpeg> F;
};

struct TTargetCase {
  const char* Value;  // of the option "target"
  const char* Format;
  int Width, Height;
  AVRational Rate;
  int Gop;  // 0: not set by the target
  int64_t AudioBitrate;
  int SampleRate;
  const char* VideoCodec;
  const char* AudioCodec;
  int PixFmt;     // -1: not set by the target
  Single Aspect;  // assumed when none was set
  const char* Muxrate;
};

}  // namespace

TEST_F(TargetTest, EachTargetSetsItsOptionGroup) {
  const TTargetCase cases[] = {
      {"pal-vcd", "vcd", 352, 288, {25, 1}, 15, 224000, 44100, "mpeg1video", "mp2", -1, 4.0f / 3, "1411200"},
      {"ntsc-vcd",
       "vcd",
       352,
       240,
       {30000, 1001},
       18,
       224000,
       44100,
       "mpeg1video",
       "mp2",
       -1,
       4.0f / 3,
       "1411200"},
      {"pal-svcd", "svcd", 480, 576, {25, 1}, 15, 224000, 44100, "mpeg2video", "mp2", -1, 4.0f / 3, nullptr},
      {"film-svcd",
       "svcd",
       480,
       480,
       {24000, 1001},
       18,
       224000,
       44100,
       "mpeg2video",
       "mp2",
       -1,
       4.0f / 3,
       nullptr},
      {"pal-dvd",
       "dvd",
       720,
       576,
       {25, 1},
       15,
       448000,
       48000,
       "mpeg2video",
       "ac3",
       -1,
       16.0f / 9,
       "10080000"},
      {"ntsc-dvd",
       "dvd",
       720,
       480,
       {30000, 1001},
       18,
       448000,
       48000,
       "mpeg2video",
       "ac3",
       -1,
       16.0f / 9,
       "10080000"},
      {"pal-dv", "dv", 720, 576, {25, 1}, 0, 0, 48000, nullptr, nullptr, AV_PIX_FMT_YUV420P, 0, nullptr},
      {"ntsc-dv",
       "dv",
       720,
       480,
       {30000, 1001},
       0,
       0,
       48000,
       nullptr,
       nullptr,
       AV_PIX_FMT_YUV411P,
       0,
       nullptr},
      {"ntsc-dv50",
       "dv",
       720,
       480,
       {30000, 1001},
       0,
       0,
       48000,
       nullptr,
       nullptr,
       AV_PIX_FMT_YUV422P,
       0,
       nullptr},
  };
  for (const TTargetCase& c : cases) {
    SCOPED_TRACE(c.Value);
    F = NewTask();
    F->SetAudioChannels(1);
    F->SetOption("target", c.Value);
    EXPECT_EQ(F->Pending().last_asked_format, c.Format);
    EXPECT_EQ(F->Pending().frame_width, c.Width);
    EXPECT_EQ(F->Pending().frame_height, c.Height);
    EXPECT_EQ(F->Pending().frame_rate.num, c.Rate.num);
    EXPECT_EQ(F->Pending().frame_rate.den, c.Rate.den);
    EXPECT_EQ(F->Pending().audio_sample_rate, c.SampleRate);
    EXPECT_EQ(F->Pending().audio_channels, 2);
    EXPECT_EQ(F->Pending().frame_pix_fmt, c.PixFmt);
    EXPECT_FLOAT_EQ(F->Pending().frame_aspect_ratio, c.Aspect);
    EXPECT_EQ(F->Pending().video_codec_name.value_or(""), String(c.VideoCodec ? c.VideoCodec : ""));
    EXPECT_EQ(F->Pending().audio_codec_name.value_or(""), String(c.AudioCodec ? c.AudioCodec : ""));
    EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->gop_size, c.Gop ? c.Gop : 12);
    EXPECT_EQ(Peer::Options(*F).avcodec_opts[1]->bit_rate, c.AudioBitrate ? c.AudioBitrate : 128000);
    EXPECT_STREQ(F->Pending().MuxerOptions.Value("muxrate"), c.Muxrate);
    // What the target set is what the encoders of 5.1 take.
    OpenOutputAndEncoders(String("target-") + c.Value + ".out");
  }
}

TEST_F(TargetTest, DiscTargetsSetTheirMuxerAndRateControl) {
  const struct {
    const char* Target;
    int64_t Bitrate, MaxRate, MinRate;
    int BufSize;
    unsigned PacketSize;
  } cases[] = {
      {"pal-vcd", 1150000, 1150000, 1150000, 327680, 2324},
      {"ntsc-svcd", 2040000, 2516000, 0, 1835008, 2324},
      {"pal-dvd", 6000000, 9000000, 0, 1835008, 2048},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Target);
    F = NewTask();
    F->SetOption("target", c.Target);
    const AVCodecContext* video = Peer::Options(*F).avcodec_opts[0].get();
    EXPECT_EQ(video->bit_rate, c.Bitrate);
    EXPECT_EQ(video->rc_max_rate, c.MaxRate);
    EXPECT_EQ(video->rc_min_rate, c.MinRate);
    EXPECT_EQ(video->rc_buffer_size, c.BufSize);
    EXPECT_EQ(Peer::Options(*F).avformat_opts->packet_size, c.PacketSize);
  }
  // Only the vcd sets a preload; an aspect ratio already given is kept without a word.
  TLogRecorder log;
  F = NewTask();
  F->SetAspectRatio("4:3");
  F->SetOption("target", "pal-vcd");
  EXPECT_FLOAT_EQ(F->Pending().frame_aspect_ratio, 4.0f / 3);
  EXPECT_FLOAT_EQ(F->Pending().mux_preload, 0.44f);
  EXPECT_FALSE(log.Contains("Assuming"));
  ASSERT_EQ(F->OpenOutputFile(TMedia::Get().Path("vcd.mpg"), false), 1);
  EXPECT_STREQ(F->output_files()[0]->MuxerOptions.Value("preload"), "440000");
  // Without one, the target says which it assumes.
  for (const char* target : {"pal-svcd", "pal-dvd"}) {
    F = NewTask();
    F->SetOption("target", target);
    EXPECT_FLOAT_EQ(F->Pending().mux_preload, NewTask()->Pending().mux_preload) << target;
  }
  EXPECT_TRUE(log.Has(llInfo, "Assuming 4:3 for aspect ratio"));
  EXPECT_TRUE(log.Has(llInfo, "Assuming 16:9 for aspect ratio"));
}

TEST_F(TargetTest, TheNormIsGuessedFromTheFrameRateOrTheInputs) {
  {
    TLogRecorder log;
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().NtscVideo()));
    F->SetOption("target", "dvd");
    EXPECT_EQ(F->Pending().frame_height, 480);
    EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->gop_size, 18);
    EXPECT_TRUE(log.Has(llVerbose, "Assuming NTSC for target."));
  }
  // No frame rate known: refused before anything is set.
  F = NewTask();
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioWav()));
  EXPECT_EQ(RaisedMessage([&] { F->SetOption("target", "dvd"); }), "frame_rate is invalid.");
  EXPECT_TRUE(F->Pending().last_asked_format.empty());
  // 12 fps matches no norm: the option falls back to NTSC, the component's call to its default.
  F = NewTask();
  F->SetFrameRate("12");
  F->SetOption("target", "vcd");
  EXPECT_EQ(F->Pending().frame_height, 240);
  F = NewTask();
  F->SetFrameRate("12");
  F->SetTarget("vcd", "auto", "pal");
  EXPECT_EQ(F->Pending().frame_height, 288);
  // A failed guess defaulting to film logs NTSC; film given outright logs nothing.
  {
    TLogRecorder log;
    F = NewTask();
    F->SetFrameRate("12");
    F->SetTarget("dvd", "auto", "film");
    EXPECT_EQ(F->Pending().frame_rate.den, 1001);
    EXPECT_TRUE(log.Has(llVerbose, "Assuming NTSC for target."));
    log.Lines.clear();
    F->SetTarget("dvd", "film", "pal");
    EXPECT_FALSE(log.Contains("Assuming NTSC"));
  }
}

TEST_F(TargetTest, ChannelRulesOfTheTargets) {
  struct {
    const char* Target;
    int Before, After;
  } cases[] = {
      {"pal-svcd", 6, 6}, {"pal-svcd", 1, 2}, {"pal-vcd", 6, 2}, {"pal-dvd", 6, 6}, {"pal-dv", 6, 2}};
  for (const auto& c : cases) {
    F = NewTask();
    F->SetAudioChannels(c.Before);
    F->SetOption("target", c.Target);
    EXPECT_EQ(F->Pending().audio_channels, c.After) << c.Target << " " << c.Before;
  }
}

TEST(BuiltinPresets, ComeInNameOrderAndTheDefaultIsTheApplicationsOwn) {
  const std::vector<String> names = {"libx264-baseline",
                                     "libx264-default",
                                     "libx264-fast",
                                     "libx264-fast_firstpass",
                                     "libx264-faster",
                                     "libx264-faster_firstpass",
                                     "libx264-fastfirstpass",
                                     "libx264-hq",
                                     "libx264-ipod320",
                                     "libx264-ipod640",
                                     "libx264-lossless_fast",
                                     "libx264-lossless_max",
                                     "libx264-lossless_medium",
                                     "libx264-lossless_slow",
                                     "libx264-lossless_slower",
                                     "libx264-lossless_ultrafast",
                                     "libx264-main",
                                     "libx264-max",
                                     "libx264-medium",
                                     "libx264-medium_firstpass",
                                     "libx264-normal",
                                     "libx264-placebo",
                                     "libx264-placebo_firstpass",
                                     "libx264-slow",
                                     "libx264-slow_firstpass",
                                     "libx264-slower",
                                     "libx264-slower_firstpass",
                                     "libx264-slowfirstpass",
                                     "libx264-superfast",
                                     "libx264-superfast_firstpass",
                                     "libx264-ultrafast",
                                     "libx264-ultrafast_firstpass",
                                     "libx264-veryfast",
                                     "libx264-veryfast_firstpass",
                                     "libx264-veryslow",
                                     "libx264-veryslow_firstpass"};
  std::vector<String> actual;
  for (const TOptionsPreset& p : BuiltinPresets) actual.push_back(p.Name);
  EXPECT_EQ(actual, names);
  EXPECT_EQ(FindBuiltinPreset("libx264-default"),
            "coder=1\nflags=+loop\ncmp=+chroma\npartitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
            "me_method=hex\nsubq=7\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
            "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=3\ndirectpred=1\ntrellis=1\n"
            "flags2=+mixed_refs+wpred+dct8x8+fastpskip\nwpredp=2\n");
  for (const char* lossless : {"libx264-lossless_fast", "libx264-lossless_ultrafast"}) {
    const String text = FindBuiltinPreset(lossless);
    EXPECT_EQ(text.substr(text.size() - 6), "cqp=0\n") << lossless;
    EXPECT_EQ(text.find("bf="), String::npos) << lossless;
  }
}

TEST_F(TargetTest, EveryBuiltinPresetAppliesAndTheH264EncoderTakesAllOfIt) {
  for (const TOptionsPreset& p : BuiltinPresets) {
    SCOPED_TRACE(p.Name);
    F = NewTask();
    F->SetVideoCodec("libx264");
    F->SetFrameSize("64x48");
    F->SetOption("an", "");
    EXPECT_EQ(RaisedMessage([&] { F->ApplyPreset("vpre", p.Name); }), "");
    OpenOutputAndEncoders("preset.mp4");
  }
}

TEST_F(TargetTest, PresetLookupByNameCodecAndFile) {
  // Case is ignored; a short name is completed by the pending codec.
  F->SetVideoCodec("libx264");
  F->ApplyPreset("vpre", "LIBX264-IPOD320");
  EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->level, 13);
  F->ApplyPreset("vpre", "ipod640");
  EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->level, 30);
  EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->refs, 1);
  // "fpre" reads files only.
  EXPECT_EQ(RaisedMessage([&] { F->ApplyPreset("fpre", "libx264-default"); }),
            "Preset \"libx264-default\" not found");

  const String file = TMedia::Get().Path("user.ffpreset");
  std::ofstream(file, std::ios::binary) << "  \r\n vcodec=mpeg4 \r\n\r\ng=77\rbf=2\n  ";
  F->ApplyPreset("fpre", file);
  EXPECT_EQ(*F->Pending().video_codec_name, "mpeg4");
  EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->gop_size, 77);
  EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->max_b_frames, 2);

  struct {
    const char* Text;
    String Message;
  } refused[] = {
      {"g=5\n# comment\n", file + ": Invalid syntax: \"# comment\""},
      {"=5\n", file + ": Invalid syntax: \"=5\""},
      {"g=\n", file + ": Invalid syntax: \"g=\""},
      {"nosuch=1\n", file + ": Invalid option or argument: \"nosuch=1\", parsed as \"nosuch\" = \"1\""},
  };
  for (const auto& r : refused) {
    std::ofstream(file, std::ios::binary) << r.Text;
    EXPECT_EQ(RaisedMessage([&] { F->ApplyPreset("fpre", file); }), r.Message);
  }
  // Lines before a failing one stay applied.
  EXPECT_EQ(Peer::Options(*F).avcodec_opts[0]->gop_size, 5);
}
