// Whole conversions: generated clips converted into the common containers and checked with the
// media probe; limits, join mode, stop, pause, failures, hooks and progress.
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "engine/preview/previewer.h"
#include "engine/probe/avprobe.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace transcoder_test;

namespace {

// What the terminate notification saw.
struct TOutcome {
  Integer Terminations = 0;
  bool Finished = false;
  bool Fatal = false;
  String Message;
};

class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    F = NewTask();
    F->FOnTerminate = [this](TObject* ASender) {
      const auto* task = static_cast<const TCustomFFmpeg*>(ASender);
      ++Outcome.Terminations;
      Outcome.Finished = task->Finished();
      Outcome.Fatal = task->FatalException();
      Outcome.Message = task->FatalMessage();
    };
  }
  String Out(const String& AName) { return TMedia::Get().Path(AName); }
  void Options(std::initializer_list<std::pair<const char*, const char*>> AOptions) {
    for (const auto& o : AOptions) F->SetOption(o.first, o.second);
  }
  // Opens AInput and AOutput with the options given before the output.
  void Prepare(const String& AInput, const String& AOutput,
               std::initializer_list<std::pair<const char*, const char*>> AOptions = {}) {
    ASSERT_TRUE(F->OpenInputFile(AInput)) << F->LastErrMsg();
    Options(AOptions);
    ASSERT_GE(F->OpenOutputFile(AOutput, false), 1) << F->LastErrMsg();
  }
  void RunInline() { EXPECT_EQ(F->StartConvert(false), nullptr); }

  std::unique_ptr<TCustomFFmpeg> F;
  TOutcome Outcome;
};

// What a converted file holds, read back with the probe.
struct TProbed {
  bool Loaded = false;
  String Format, Video, Audio;
  Integer Width = -1, Height = -1;
  Double Duration = -1;  // seconds
};

String CodecOf(const String& AName) {
  return AName.substr(0, AName.find('('));
}

TProbed Probe(const String& AFileName) {
  TProbed r;
  TAVProbe probe(nullptr);
  if (!probe.LoadFile(AFileName)) return r;
  r.Loaded = true;
  r.Format = probe.FormatName();
  if (probe.VideoStreamCount() > 0) {
    const TVideoStreamInfo v = probe.FirstVideoStreamInfo();
    r.Video = CodecOf(v.CodecName);
    r.Width = v.Width;
    r.Height = v.Height;
  }
  if (probe.AudioStreamCount() > 0) r.Audio = CodecOf(probe.FirstAudioStreamInfo().CodecName);
  r.Duration = Double(probe.FileStreamInfo().Duration) / 1e6;
  return r;
}

// Packets of the first video stream of a file (the frames it holds).
Integer VideoFrames(const String& AFileName) {
  AVFormatContext* ic = nullptr;
  if (ff::avformat_open_input(&ic, AFileName.c_str(), nullptr, nullptr) < 0) return -1;
  ff::avformat_find_stream_info(ic, nullptr);
  Integer frames = 0;
  const Integer video = ff::av_find_best_stream(ic, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  AVPacket* pkt = ff::av_packet_alloc();
  while (ff::av_read_frame(ic, pkt) >= 0) {
    if (pkt->stream_index == video) ++frames;
    ff::av_packet_unref(pkt);
  }
  ff::av_packet_free(&pkt);
  ff::avformat_close_input(&ic);
  return frames;
}

// ---- the common targets ------------------------------------------------------------------------

struct TFormatCase {
  const char* Name;
  const char* File;
  std::vector<std::pair<const char*, const char*>> Options;
  const char* Format;  // of the probe
  const char* Video;   // "" for none
  const char* Audio;
  Integer Width, Height;
};

void PrintTo(const TFormatCase& ACase, std::ostream* AStream) {
  *AStream << ACase.Name;
}

class FormatConversionTest : public ConversionTest, public ::testing::WithParamInterface<TFormatCase> {};

TEST_P(FormatConversionTest, ConvertsTheClipFromStartToEnd) {
  const TFormatCase& c = GetParam();
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi())) << F->LastErrMsg();
  for (const auto& o : c.Options) F->SetOption(o.first, o.second);
  const String out = Out(c.File);
  ASSERT_GE(F->OpenOutputFile(out, false), 1) << F->LastErrMsg();
  RunInline();

  EXPECT_EQ(Outcome.Terminations, 1);
  EXPECT_TRUE(Outcome.Finished);
  EXPECT_FALSE(Outcome.Fatal) << Outcome.Message;
  const TProbed p = Probe(out);
  ASSERT_TRUE(p.Loaded) << out;
  EXPECT_EQ(p.Format, c.Format);
  EXPECT_EQ(p.Video, c.Video);
  EXPECT_EQ(p.Audio.rfind(c.Audio, 0), 0u) << p.Audio;  // mp3float and the like
  if (*c.Video) {
    EXPECT_EQ(p.Width, c.Width);
    EXPECT_EQ(p.Height, c.Height);
    // One second at 25 frames per second.
    EXPECT_NEAR(VideoFrames(out), 25, 1);
  }
  // The clip lasts one second (the frame count holds the video to a frame); the audio encoders'
  // frames and a muxer's preroll add up to 0.1 s to the file.
  EXPECT_NEAR(p.Duration, 1.0, 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FormatConversionTest,
    ::testing::Values(
        TFormatCase{"Mpeg4Mp3Avi",
                    "mpeg4.avi",
                    {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}},
                    "avi",
                    "mpeg4",
                    "mp3",
                    160,
                    120},
        TFormatCase{"H264AacMp4",
                    "h264.mp4",
                    {{"vcodec", "libx264"}, {"acodec", "aac"}},
                    "mov,mp4,m4a,3gp,3g2,mj2",
                    "h264",
                    "aac",
                    160,
                    120},
        TFormatCase{
            "Flv", "clip.flv", {{"acodec", "libmp3lame"}, {"ar", "44100"}}, "flv", "flv", "mp3", 160, 120},
        TFormatCase{"Wmv2Wma2Asf",
                    "clip.wmv",
                    {{"vcodec", "wmv2"}, {"acodec", "wmav2"}},
                    "asf",
                    "wmv2",
                    "wmav2",
                    160,
                    120},
        TFormatCase{"Dvd", "clip.vob", {{"target", "pal-dvd"}}, "mpeg", "mpeg2video", "ac3", 720, 576},
        TFormatCase{"Vcd", "clip.mpg", {{"target", "pal-vcd"}}, "mpeg", "mpeg1video", "mp2", 352, 288},
        TFormatCase{"Mp3Only", "clip.mp3", {}, "mp3", "", "mp3", 0, 0},
        TFormatCase{"StreamCopy",
                    "copy.mkv",
                    {{"vcodec", "copy"}, {"acodec", "copy"}},
                    "matroska,webm",
                    "mpeg4",
                    "mp2",
                    160,
                    120}),
    [](const ::testing::TestParamInfo<TFormatCase>& AInfo) { return String(AInfo.param.Name); });

// ---- pictures: size, crop, pad, rate -----------------------------------------------------------

TEST_F(ConversionTest, ScalesCropsAndPadsThePicture) {
  const struct {
    const char* Name;
    std::vector<std::pair<const char*, const char*>> Options;
    Integer Width, Height;
  } cases[] = {
      {"scaled.avi", {{"s", "80x60"}}, 80, 60},
      {"cropped.avi",
       {{"croptop", "20"}, {"cropbottom", "20"}, {"cropleft", "16"}, {"cropright", "16"}},
       128,
       80},
      {"cropscaled.avi", {{"croptop", "20"}, {"cropbottom", "20"}, {"s", "64x32"}}, 64, 32},
      {"padded.avi", {{"vf", "pad=width=192:height=144:x=16:y=12"}}, 192, 144},
      {"filtercrop.avi", {{"croptop", "20"}, {"cropbottom", "20"}, {"vf", "hflip"}}, 160, 80},
      {"deinterlaced.avi", {{"deinterlace", "1"}}, 160, 120},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    F = NewTask();
    TLogRecorder log;
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    for (const auto& o : c.Options) F->SetOption(o.first, o.second);
    F->SetOption("an", "");
    ASSERT_EQ(F->OpenOutputFile(Out(c.Name), false), 1) << F->LastErrMsg();
    F->StartConvert(false);
    EXPECT_TRUE(F->Finished());
    EXPECT_FALSE(F->FatalException()) << F->FatalMessage();
    const TProbed p = Probe(Out(c.Name));
    EXPECT_EQ(p.Width, c.Width);
    EXPECT_EQ(p.Height, c.Height);
    EXPECT_NEAR(VideoFrames(Out(c.Name)), 25, 1);
    EXPECT_FALSE(log.Contains("Deinterlacing failed."));
  }
}

TEST_F(ConversionTest, FrameRateChangeDuplicatesOrDropsFrames) {
  const struct {
    const char* Rate;
    Integer Frames;
    bool Duplicates;
  } cases[] = {{"50", 50, true}, {"10", 10, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rate);
    F = NewTask();
    const String out = Out(String("rate") + c.Rate + ".avi");
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    F->SetOption("r", c.Rate);
    F->SetOption("an", "");
    ASSERT_EQ(F->OpenOutputFile(out, false), 1);
    F->StartConvert(false);
    EXPECT_TRUE(F->Finished()) << F->FatalMessage();
    // The last input picture is not repeated.
    EXPECT_NEAR(VideoFrames(out), c.Frames, 2);
    if (c.Duplicates) {
      EXPECT_GE(F->Counters().nb_frames_dup, 20);
      EXPECT_EQ(F->Counters().nb_frames_drop, 0);
    } else {
      EXPECT_GE(F->Counters().nb_frames_drop, 25 - c.Frames - 1);
      EXPECT_EQ(F->Counters().nb_frames_dup, 0);
    }
  }
}

TEST_F(ConversionTest, TwoPassesShareTheirLog) {
  const String prefix = Out("twopass");
  const String log = prefix + "-0.log";
  for (const char* pass : {"1", "2"}) {
    SCOPED_TRACE(pass);
    F = NewTask();
    const String out = Out(String("pass") + pass + ".avi");
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    Options(
        {{"vcodec", "mpeg4"}, {"b", "200k"}, {"pass", pass}, {"passlogfile", prefix.c_str()}, {"an", ""}});
    ASSERT_EQ(F->OpenOutputFile(out, false), 1);
    F->StartConvert(false);
    EXPECT_TRUE(F->Finished()) << F->FatalMessage();
    EXPECT_NEAR(VideoFrames(out), 25, 1);
    // The first pass writes one statistics line per picture; the second reads them.
    EXPECT_GT(GetFileSize(log), 25 * 20);
  }
  // A second pass without a first fails with its message.
  F = NewTask();
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  Options({{"pass", "2"}, {"passlogfile", Out("nopass").c_str()}, {"an", ""}});
  ASSERT_EQ(F->OpenOutputFile(Out("nopass.avi"), false), 1);
  F->StartConvert(false);
  EXPECT_EQ(F->FatalMessage(), WithTaskFiles("Cannot read file: Error reading log file \"" + Out("nopass") +
                                                 "-0.log\" for pass-2 encoding",
                                             TMedia::Get().AudioVideoAvi(), Out("nopass.avi")));
}

TEST_F(ConversionTest, VideoStatisticsGetALinePerPicture) {
  const String stats = Out("vstats.txt");
  Prepare(TMedia::Get().AudioVideoAvi(), Out("vstats.avi"), {{"vstats_file", stats.c_str()}, {"an", ""}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  std::ifstream in(stats);
  Integer lines = 0;
  for (String line; std::getline(in, line); ++lines) {
    EXPECT_EQ(line.rfind("frame= ", 0), 0u) << line;
    EXPECT_NE(line.find(" type= "), String::npos) << line;
  }
  EXPECT_NEAR(lines, 25, 1);
}

TEST_F(ConversionTest, SubtitlesAreReencodedOrCopied) {
  for (const char* codec : {"ass", "copy"}) {
    SCOPED_TRACE(codec);
    F = NewTask();
    const String out = Out(String("subtitles-") + codec + ".mkv");
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().VideoSubtitleAudio()));
    Options({{"scodec", codec}});
    ASSERT_EQ(F->OpenOutputFile(out, false), 1) << F->LastErrMsg();
    F->StartConvert(false);
    EXPECT_TRUE(F->Finished()) << F->FatalMessage();
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(out));
    EXPECT_EQ(probe.SubtitleStreamCount(), 1);
    EXPECT_EQ(probe.VideoStreamCount(), 1);
    EXPECT_EQ(probe.AudioStreamCount(), 1);
    // The one cue made it.
    AVFormatContext* ic = nullptr;
    ASSERT_GE(ff::avformat_open_input(&ic, out.c_str(), nullptr, nullptr), 0);
    Integer cues = 0;
    AVPacket* pkt = ff::av_packet_alloc();
    while (ff::av_read_frame(ic, pkt) >= 0) {
      if (ic->streams[pkt->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) ++cues;
      ff::av_packet_unref(pkt);
    }
    ff::av_packet_free(&pkt);
    ff::avformat_close_input(&ic);
    EXPECT_EQ(cues, 1);
  }
}

// ---- audio -------------------------------------------------------------------------------------

TEST_F(ConversionTest, ResamplesAndRemixesAudio) {
  // Mono 22050 Hz in, stereo 48000 Hz out: the output lasts as long as the input.
  Prepare(TMedia::Get().AudioWav(), Out("remix.wav"), {{"ar", "48000"}, {"ac", "2"}, {"async", "2"}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Out("remix.wav")));
  const TAudioStreamInfo a = probe.FirstAudioStreamInfo();
  EXPECT_EQ(a.SampleRate, 48000);
  EXPECT_EQ(a.Channels, 2);
  EXPECT_NEAR(Double(probe.FileStreamInfo().Duration) / 1e6, 2.0, 0.03);
}

TEST_F(ConversionTest, AudioSyncFillsAGapWithSilence) {
  // The audio starts 0.5 s after the video: with sync the output's audio starts at 0 with
  // 0.5 s of silence in front; without it the samples are taken as they come.
  const struct {
    const char* Sync;
    Double Seconds;
    bool Silence;
  } cases[] = {{"1", 1.5, true}, {"0", 1.0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Sync);
    F = NewTask();
    TLogRecorder log;
    const String out = Out(String("sync") + c.Sync + ".raw");
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().LateAudio()));
    Options({{"f", "s16le"}, {"async", c.Sync}, {"v", "3"}});
    ASSERT_EQ(F->OpenOutputFile(out, false), 1) << F->LastErrMsg();
    F->StartConvert(false);
    EXPECT_TRUE(F->Finished()) << F->FatalMessage();
    // Mono 16-bit at 44100 Hz.
    EXPECT_NEAR(Double(GetFileSize(out)) / (44100 * 2), c.Seconds, 0.03);
    EXPECT_EQ(log.Contains("audio samples of silence"), c.Silence);
  }
}

// The peak of a file of raw 16-bit samples.
Integer PeakOfRaw(const String& AFileName) {
  std::ifstream in(AFileName, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Integer peak = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    int16_t s;
    std::memcpy(&s, &bytes[i], 2);
    peak = std::max<Integer>(peak, std::abs(Integer(s)));
  }
  return peak;
}

TEST_F(ConversionTest, VolumeScalesTheSamples) {
  const struct {
    const char* Volume;
    Integer Factor;  // × 1/4
  } cases[] = {{"256", 4}, {"512", 8}, {"128", 2}, {"4096", 64}};
  Integer plain = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Volume);
    F = NewTask();
    const String out = Out(String("vol") + c.Volume + ".raw");
    Prepare(TMedia::Get().AudioWav(), out, {{"f", "s16le"}, {"vol", c.Volume}});
    F->StartConvert(false);
    const Integer peak = PeakOfRaw(out);
    if (c.Factor == 4) plain = peak;
    ASSERT_GT(plain, 1000);
    // Scaled, and held at the largest sample value.
    EXPECT_NEAR(peak, std::min(plain * c.Factor / 4, 32767), 1);
  }
}

TEST_F(ConversionTest, TimeLimitAndStartOffsetCutTheOutput) {
  const struct {
    const char* Name;
    const char* Option;
    bool BeforeInput;
    Double Duration;
  } cases[] = {{"limit.avi", "t", false, 0.4}, {"offset.avi", "ss", true, 0.6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    F = NewTask();
    if (c.BeforeInput) F->SetOption(c.Option, "0.4");
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    if (!c.BeforeInput) F->SetOption(c.Option, "0.4");
    ASSERT_EQ(F->OpenOutputFile(Out(c.Name), false), 1);
    F->StartConvert(false);
    EXPECT_TRUE(F->Finished()) << F->FatalMessage();
    EXPECT_NEAR(VideoFrames(Out(c.Name)), c.Duration * 25, 1);
    EXPECT_NEAR(Probe(Out(c.Name)).Duration, c.Duration, 0.07);
  }
}

TEST_F(ConversionTest, FrameAndSizeLimitsEndTheRunNormally) {
  const struct {
    const char* Name;
    const char* Option;
    const char* Value;
    Integer MinFrames, MaxFrames;
  } cases[] = {{"vframes.avi", "vframes", "10", 10, 10}, {"fs.avi", "fs", "15000", 2, 20}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    F = NewTask();
    Prepare(TMedia::Get().AudioVideoAvi(), Out(c.Name), {{c.Option, c.Value}, {"an", ""}, {"b", "800k"}});
    F->StartConvert(false);
    EXPECT_TRUE(F->Finished()) << F->FatalMessage();
    const Integer frames = VideoFrames(Out(c.Name));
    EXPECT_GE(frames, c.MinFrames);
    EXPECT_LE(frames, c.MaxFrames);
  }
}

TEST_F(ConversionTest, JoinModeConcatenatesTheInputs) {
  std::vector<Integer> files;
  F->FOnProgress = [&](TObject*, Integer AFile, Integer, Integer, Single, Single, Int64, Int64, Int64) {
    files.push_back(AFile);
  };
  F->ReportInterval = 0;
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(Out("joined.avi"), true), 2) << F->LastErrMsg();
  RunInline();
  EXPECT_EQ(Outcome.Terminations, 1);
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  EXPECT_NEAR(VideoFrames(Out("joined.avi")), 50, 1);
  const TProbed p = Probe(Out("joined.avi"));
  EXPECT_EQ(p.Audio.rfind("mp", 0), 0u);
  EXPECT_NEAR(p.Duration, 2.0, 0.08);
  // The reports follow the file being read, the last one names none.
  ASSERT_FALSE(files.empty());
  EXPECT_EQ(files.front(), 0);
  EXPECT_NE(std::find(files.begin(), files.end(), 1), files.end());
  EXPECT_EQ(files.back(), -1);
}

TEST_F(ConversionTest, BackwardTimestampsAreClampedWithAWarning) {
  // Copied packets whose times run backwards: the muxer would refuse them.
  TLogRecorder log;
  F->SetOption("itsscale", "0:-1");
  Prepare(TMedia::Get().AudioVideoAvi(), Out("backwards.mkv"), {{"vcodec", "copy"}, {"an", ""}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished);
  EXPECT_FALSE(Outcome.Fatal) << Outcome.Message;
  EXPECT_TRUE(log.Contains("Non-monotonic DTS in output stream 0"));
  EXPECT_NEAR(VideoFrames(Out("backwards.mkv")), 25, 1);
}

// ---- failures ----------------------------------------------------------------------------------

TEST_F(ConversionTest, StartWithoutFilesReportsThroughTheNotification) {
  const struct {
    bool Input, Output;
    const char* Message;
  } cases[] = {{true, false, "At least one output file must be specified"},
               {false, true, "At least one input file must be specified"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    SetUp();
    Outcome = TOutcome();
    if (c.Input) {
      ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    }
    if (c.Output) {
      ASSERT_EQ(F->OpenOutputFile(Out("never.avi"), false), 1);
    }
    EXPECT_EQ(F->StartConvert(true), nullptr);
    EXPECT_EQ(Outcome.Terminations, 1);
    EXPECT_TRUE(Outcome.Fatal);
    EXPECT_EQ(Outcome.Message, c.Message);
    // A task runs once.
    EXPECT_EQ(F->StartConvert(false), nullptr);
    EXPECT_EQ(Outcome.Terminations, 1);
  }
}

// A copy of the test clip whose video stream names a codec nobody decodes.
String UndecodableClip() {
  const String source = TMedia::Get().AudioVideoAvi();
  const String path = TMedia::Get().Path("undecodable.avi");
  std::ifstream in(source, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* tag : {"FMP4", "fmp4"})
    for (size_t at = bytes.find(tag); at != std::string::npos; at = bytes.find(tag, at + 4))
      bytes.replace(at, 4, "QQZZ");
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

TEST_F(ConversionTest, AnUndecodableInputEndsWithTheErrorFlag) {
  TLogRecorder log;
  Prepare(UndecodableClip(), Out("undecodable-out.avi"), {{"an", ""}});
  RunInline();
  EXPECT_EQ(Outcome.Terminations, 1);
  EXPECT_FALSE(Outcome.Finished);
  EXPECT_TRUE(Outcome.Fatal);
  EXPECT_EQ(Outcome.Message.rfind("Decoder (codec id 0) not found for input stream #0.0 (Video)", 0), 0u)
      << Outcome.Message;
  EXPECT_TRUE(log.Has(llError, Outcome.Message));
  EXPECT_TRUE(log.Contains("Stream mapping:"));
}

// ---- threads: stop, pause, resume --------------------------------------------------------------

TEST_F(ConversionTest, StopInTheMiddleWritesAPlayableShorterFile) {
  // Asked from the run itself: inline, and on the conversion thread with a wait (which cannot
  // wait for itself).
  for (bool threaded : {false, true}) {
    SCOPED_TRACE(threaded);
    SetUp();
    Outcome = TOutcome();
    F->ReportInterval = 0;
    F->FOnProgress = [&](TObject*, Integer, Integer AFrame, Integer, Single, Single, Int64, Int64, Int64) {
      if (AFrame >= 5) F->Stop(threaded);
    };
    const String output = Out(threaded ? "stopped-threaded.avi" : "stopped.avi");
    Prepare(TMedia::Get().AudioVideoAvi(), output);
    if (threaded) {
      F->StartConvert(true)->Start();
      while (Peer::StopEvent(*F).WaitFor(10) != wrSignaled) CheckSynchronize(0);
    } else {
      RunInline();
    }
    EXPECT_EQ(Outcome.Terminations, 1);
    EXPECT_FALSE(Outcome.Finished);
    EXPECT_FALSE(Outcome.Fatal) << Outcome.Message;
    const Integer frames = VideoFrames(output);
    EXPECT_GE(frames, 5);
    EXPECT_LT(frames, 20);
  }
}

TEST_F(ConversionTest, StopAndWaitServesTheMainThreadWhileTheWorkerWaitsForIt) {
  std::atomic<Integer> reports{0};
  F->ReportInterval = 0;
  // Each report waits for the main thread, as the component's events do.
  F->FOnProgress = [&](TObject*, Integer, Integer, Integer, Single, Single, Int64, Int64, Int64) {
    TThread::Synchronize(nullptr, [&] { ++reports; });
  };
  Prepare(TMedia::Get().AudioVideoAvi(), Out("stopwait.avi"));
  TThread* thread = F->StartConvert(true);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(thread->Suspended());
  EXPECT_EQ(Outcome.Terminations, 0);
  thread->Start();
  while (reports < 3) CheckSynchronize(10);
  F->Stop(true);
  EXPECT_EQ(Outcome.Terminations, 1);
  EXPECT_FALSE(Outcome.Finished);
  EXPECT_FALSE(F->Converting());
  EXPECT_TRUE(Probe(Out("stopwait.avi")).Loaded);
}

TEST_F(ConversionTest, PauseHaltsTheRunAndResumeFinishesIt) {
  std::atomic<Integer> reports{0}, reportsAtPause{0};
  std::atomic<bool> pausedOnce{false};
  TSimpleEvent pauseAsked;
  F->ReportInterval = 0;
  F->FOnProgress = [&](TObject*, Integer, Integer AFrame, Integer, Single, Single, Int64, Int64, Int64) {
    ++reports;
    if (AFrame >= 3 && !pausedOnce.exchange(true)) {
      F->Pause();
      reportsAtPause = Integer(reports);
      pauseAsked.SetEvent();
    }
  };
  Prepare(TMedia::Get().AudioVideoAvi(), Out("paused.avi"));
  EXPECT_EQ(F->RunState(), rsReady);
  TThread* thread = F->StartConvert(true);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(F->RunState(), rsConverting);
  thread->Start();
  ASSERT_EQ(pauseAsked.WaitFor(30000), wrSignaled);
  EXPECT_EQ(F->RunState(), rsPaused);
  EXPECT_TRUE(F->Converting());
  // Held: the run does not end while paused, and at most the report of the packet in hand arrives
  // after the request.
  EXPECT_EQ(Peer::StopEvent(*F).WaitFor(200), wrTimeout);
  EXPECT_LE(reports - reportsAtPause, 1);
  EXPECT_EQ(Outcome.Terminations, 0);
  F->Resume();
  WaitServingMainThread(Peer::StopEvent(*F));
  EXPECT_EQ(Outcome.Terminations, 1);
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  EXPECT_EQ(F->RunState(), rsFinished);
  EXPECT_TRUE(F->Terminated());
  EXPECT_FALSE(F->Converting());
  EXPECT_NEAR(VideoFrames(Out("paused.avi")), 25, 1);
}

TEST_F(ConversionTest, StopWhilePausedEndsTheRun) {
  TSimpleEvent pauseAsked;
  F->ReportInterval = 0;
  F->FOnProgress = [&](TObject*, Integer, Integer AFrame, Integer, Single, Single, Int64, Int64, Int64) {
    if (AFrame < 3) return;
    F->Pause();
    pauseAsked.SetEvent();
  };
  Prepare(TMedia::Get().AudioVideoAvi(), Out("pausestop.avi"));
  F->StartConvert(true)->Start();
  ASSERT_EQ(pauseAsked.WaitFor(30000), wrSignaled);
  F->Stop(true);
  EXPECT_EQ(Outcome.Terminations, 1);
  EXPECT_FALSE(Outcome.Finished);
  EXPECT_EQ(F->RunState(), rsTerminated);
  EXPECT_FALSE(F->Paused());
}

TEST_F(ConversionTest, DestroyingARunningTaskWaitsForItsThread) {
  F->ReportInterval = 0;
  TSimpleEvent started;
  F->FOnProgress = [&](TObject*, Integer, Integer, Integer, Single, Single, Int64, Int64, Int64) {
    started.SetEvent();
  };
  Prepare(TMedia::Get().AudioVideoAvi(), Out("destroyed.avi"));
  F->StartConvert(true)->Start();
  ASSERT_EQ(started.WaitFor(30000), wrSignaled);
  F.reset();  // under ASan a worker still using the object would show here
  EXPECT_EQ(Outcome.Terminations, 1);
}

TEST_F(ConversionTest, StopOrTerminateNotifiesANeverStartedTaskOnce) {
  F->StopOrTerminate(true);
  EXPECT_EQ(Outcome.Terminations, 1);
  EXPECT_FALSE(Outcome.Fatal);
  F->StopOrTerminate(true);
  EXPECT_EQ(Outcome.Terminations, 1);
  // The stop of a task that never ran returns at once.
  F->Stop(true);
}

// ---- hooks and progress ------------------------------------------------------------------------

TEST_F(ConversionTest, CustomHookChangesThePicturesUntilItStops) {
  Integer calls = 0;
  F->FOnCustomHook = [&](TObject*, TBitmap* ABitmap, Integer AFrame, Int64, bool& AUpdate, bool& AStop) {
    ++calls;
    EXPECT_EQ(AFrame, calls);
    EXPECT_EQ(ABitmap->Width(), 160);
    // A white picture from now on, until the tenth.
    for (Integer y = 0; y < ABitmap->Height(); ++y)
      std::memset(ABitmap->ScanLine(y), 255, size_t(ABitmap->Width()) * 3);
    AUpdate = true;
    AStop = AFrame == 10;
  };
  Prepare(TMedia::Get().AudioVideoAvi(), Out("hooked.avi"), {{"an", ""}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  EXPECT_EQ(calls, 10);
  // The first picture was made white.
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Out("hooked.avi")));
  ASSERT_TRUE(probe.Decode());
  TBitmap bitmap;
  ASSERT_TRUE(probe.CopyToBitmap(&bitmap));
  const Byte* row = bitmap.ScanLine(60);
  EXPECT_GT(row[80 * 3], 230);
  EXPECT_GT(row[80 * 3 + 1], 230);
}

TEST_F(ConversionTest, FrameHookPluginsProcessEveryPicture) {
  void* plugin = dlopen(HOOKPLUGIN_PATH, RTLD_NOW);
  ASSERT_NE(plugin, nullptr);
  auto* journal = static_cast<char*>(dlsym(plugin, "hook_journal"));
  auto* reset = reinterpret_cast<void (*)()>(dlsym(plugin, "hook_journal_reset"));
  ASSERT_TRUE(journal && reset);
  reset();
  F->SetOption("vhook", String(HOOKPLUGIN_PATH) + " tag=conv invert");
  EXPECT_TRUE(Peer::using_vhook(*F));
  Prepare(TMedia::Get().AudioVideoAvi(), Out("vhook.avi"), {{"an", ""}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  const String text = journal;
  Integer processed = 0;
  for (size_t at = text.find("process conv fmt=0 160x120 pts="); at != String::npos;
       at = text.find("process conv fmt=0 160x120 pts=", at + 1))
    ++processed;
  EXPECT_EQ(processed, 25);
  // Released with the task's clean-up, once.
  EXPECT_EQ(text.find("release conv"), text.rfind("release conv"));
  EXPECT_NE(text.find("release conv"), String::npos);
  dlclose(plugin);
}

TEST_F(ConversionTest, StreamCopyRefusesWhatNeedsDecodedFrames) {
  const struct {
    const char* Name;
    std::vector<std::pair<const char*, const char*>> Options;
    bool Hook, PostHook;
    const char* Message;
  } cases[] = {
      {"copyvol.mkv",
       {{"acodec", "copy"}, {"vol", "300"}, {"vn", ""}},
       false,
       false,
       "-acodec copy and -vol are incompatible (frames are not decoded)"},
      {"copyhook.mkv",
       {{"vcodec", "copy"}, {"an", ""}},
       true,
       false,
       "-vcodec copy and CustomHook are incompatible (frames are not decoded)"},
      {"copypost.mkv",
       {{"vcodec", "copy"}, {"an", ""}},
       false,
       true,
       "-vcodec copy and PostHooks are incompatible (frames are not decoded)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetUp();
    Outcome = TOutcome();
    if (c.Hook) F->FOnCustomHook = [](TObject*, TBitmap*, Integer, Int64, bool&, bool&) {};
    if (c.PostHook) F->SetPostHooks(TPostHooks{phBitmap});
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    for (const auto& o : c.Options) F->SetOption(o.first, o.second);
    ASSERT_EQ(F->OpenOutputFile(Out(c.Name), false), 1);
    RunInline();
    EXPECT_EQ(Outcome.Terminations, 1);
    EXPECT_TRUE(Outcome.Fatal);
    EXPECT_EQ(Outcome.Message, WithTaskFiles(c.Message, TMedia::Get().AudioVideoAvi(), Out(c.Name)));
    // Nothing was written: the empty output does not stay behind.
    EXPECT_FALSE(FileExists(Out(c.Name)));
  }
}

TEST_F(ConversionTest, PreviewBitmapsArriveAtMostOncePerInterval) {
  Integer previews = 0;
  F->FOnPreviewBitmap = [&](TObject*, TBitmap* ABitmap, Integer, Int64) {
    ++previews;
    EXPECT_EQ(ABitmap->Width(), 160);
  };
  F->SetPostHooks(TPostHooks{phBitmap});
  F->PreviewInterval = 0;
  Prepare(TMedia::Get().AudioVideoAvi(), Out("preview.avi"), {{"an", ""}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  // Every encoded picture with no interval; the first only with a long one.
  EXPECT_GE(previews, 20);
  F = NewTask();
  previews = 0;
  F->FOnPreviewBitmap = [&](TObject*, TBitmap*, Integer, Int64) { ++previews; };
  F->SetPostHooks(TPostHooks{phBitmap});
  F->PreviewInterval = 60 * 1000000LL;
  Prepare(TMedia::Get().AudioVideoAvi(), Out("preview2.avi"), {{"an", ""}});
  F->StartConvert(false);
  EXPECT_EQ(previews, 1);
}

// Without a preview-bitmap handler the pictures go to the preview window, made on the first one;
// with a handler only the handler is served. Switching the preview off frees the window, and the
// run's end frees it too.
TEST_F(ConversionTest, PreviewPicturesGoToThePreviewWindowUnlessTheBitmapEventTakesThem) {
  auto previewer = [this] { return dynamic_cast<TPreviewer*>(Peer::PostContext(*F).Previewer.get()); };
  // Inline the repaints run at once on this thread: each report sees the latest picture painted.
  std::vector<Integer> painted;
  F->ReportInterval = 0;
  F->FOnProgress = [&](TObject*, Integer, Integer AFrame, Integer, Single, Single, Int64, Int64, Int64) {
    if (!F->PostHooks().Contains(phPreview)) {
      EXPECT_EQ(Peer::PostContext(*F).Previewer, nullptr);
      return;
    }
    ASSERT_NE(previewer(), nullptr) << AFrame;
    painted.push_back(previewer()->FrameNumber());
    if (AFrame == 10) {
      F->SetPostHooks(TPostHooks{phBitmap});
      EXPECT_EQ(Peer::PostContext(*F).Previewer, nullptr);
    }
  };
  F->SetPostHooks(TPostHooks{phPreview, phBitmap});
  F->PreviewInterval = 0;
  Prepare(TMedia::Get().AudioVideoAvi(), Out("previewwindow.avi"), {{"an", ""}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  ASSERT_GE(painted.size(), 5u);
  EXPECT_GT(painted.back(), painted.front());
  EXPECT_TRUE(std::is_sorted(painted.begin(), painted.end()));
  EXPECT_EQ(F->PostHooks(), TPostHooks{phBitmap});

  // On a conversion thread the pictures are handed over without waiting for this thread, which
  // serves none of them until the run has ended and freed its window: the repaints still queued
  // then find it gone.
  SetUp();
  Outcome = TOutcome();
  F->SetPostHooks(TPostHooks{phPreview, phBitmap});
  F->PreviewInterval = 0;
  Prepare(TMedia::Get().AudioVideoAvi(), Out("previewthread.avi"), {{"an", ""}});
  F->StartConvert(true)->Start();
  ASSERT_EQ(Peer::StopEvent(*F).WaitFor(60000), wrSignaled) << "the conversion thread waited for this one";
  while (Outcome.Terminations == 0) CheckSynchronize(10);
  EXPECT_EQ(Peer::PostContext(*F).Previewer, nullptr);
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  EXPECT_EQ(F->PostHooks(), (TPostHooks{phPreview, phBitmap}));

  F = NewTask();
  Integer previews = 0;
  F->FOnPreviewBitmap = [&](TObject*, TBitmap*, Integer, Int64) { ++previews; };
  F->SetPostHooks(TPostHooks{phPreview, phBitmap});
  F->PreviewInterval = 0;
  Prepare(TMedia::Get().AudioVideoAvi(), Out("previewevent.avi"), {{"an", ""}});
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  EXPECT_GE(previews, 20);
  EXPECT_EQ(Peer::PostContext(*F).Previewer, nullptr);
}

TEST_F(ConversionTest, ProgressCarriesFramesSizesAndDurations) {
  struct TReport {
    Integer File, Frame, Fps;
    Single Quality, BitRate;
    Int64 Size, Current, Total;
  };
  std::vector<TReport> reports;
  F->ReportInterval = 0;
  F->FOnProgress = [&](TObject* ASender, Integer AFile, Integer AFrame, Integer AFps, Single AQuality,
                       Single ABitRate, Int64 ASize, Int64 ACurrent, Int64 ATotal) {
    EXPECT_EQ(ASender, F.get());
    reports.push_back({AFile, AFrame, AFps, AQuality, ABitRate, ASize, ACurrent, ATotal});
  };
  Prepare(TMedia::Get().AudioVideoAvi(), Out("progress.avi"));
  RunInline();
  ASSERT_GE(reports.size(), 5u);
  for (size_t i = 1; i < reports.size(); ++i) {
    EXPECT_GE(reports[i].Frame, reports[i - 1].Frame);
    EXPECT_GE(reports[i].Size, reports[i - 1].Size);
    // Unknown (-1) until something was written, never the 10^16 of an unset time.
    EXPECT_LT(reports[i].Current, 2000000);
    EXPECT_GE(reports[i].Current, -1);
  }
  const TReport& last = reports.back();
  EXPECT_EQ(last.File, -1);
  EXPECT_NEAR(last.Frame, 25, 1);
  EXPECT_GT(last.Quality, 0);
  EXPECT_EQ(last.Size, GetFileSize(Out("progress.avi")));
  EXPECT_NEAR(Double(last.Current) / 1e6, 1.0, 0.05);
  EXPECT_NEAR(Double(last.Total) / 1e6, 1.0, 0.05);
  EXPECT_GT(last.BitRate, 0);
  EXPECT_EQ(reports.front().File, 0);
}

TEST_F(ConversionTest, StreamCopyReportsNoQuality) {
  Single quality = 0;
  F->ReportInterval = 1LL << 40;
  F->FOnProgress = [&](TObject*, Integer, Integer, Integer, Single AQuality, Single, Int64, Int64, Int64) {
    quality = AQuality;
  };
  Prepare(TMedia::Get().AudioVideoAvi(), Out("copyq.mkv"), {{"vcodec", "copy"}, {"an", ""}});
  RunInline();
  EXPECT_EQ(quality, -1.0f);
}

// More output streams than the option tables have slots: each is fed and written.
TEST_F(ConversionTest, MoreThanTwentyOutputStreams) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioWav()));
  F->SetOption("acodec", "pcm_s16le");
  ASSERT_EQ(F->OpenOutputFile(Out("many.mkv"), false), 1);
  for (Integer i = 0; i < 23; ++i) {
    F->SetOption("acodec", "pcm_s16le");
    F->AddStreamToLastOutput(mtAudio);
  }
  ASSERT_EQ(F->output_files()[0]->streams.size(), 24u);
  RunInline();
  EXPECT_TRUE(Outcome.Finished) << Outcome.Message;
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Out("many.mkv")));
  EXPECT_EQ(probe.AudioStreamCount(), 24);
}

}  // namespace
