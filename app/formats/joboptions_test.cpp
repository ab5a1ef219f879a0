#include "app/formats/joboptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>

#include "app/formats/presets.h"
#include "app/formats/testkit/media.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/ffmpegconverter.h"
#include "engine/probe/avprobe.h"
#include "platform/rtl/files.h"

namespace {

TEST(JobOutputOptions, SentinelsLeaveTheResetValues) {
  TJobParameters p;  // the reset set
  const TOutputOptions o = JobOutputOptions(p);
  TOutputOptions reset;
  InitOutputOptions(reset);
  EXPECT_EQ(o.AudioVolume, 256);
  EXPECT_EQ(o.VideoBitrate, -1);  // -1 passes on and equals the reset value
  EXPECT_EQ(o.AudioBitrate, -1);
  EXPECT_EQ(o.VideoCodec, reset.VideoCodec);
  EXPECT_EQ(o.TargetType, ttIgnore);
  EXPECT_EQ(o.NormType, ntAuto);

  p.Video_AudioCodec = p.Video_AudioSampleRate = "AUTO";
  p.Video_VideoBitrate = -1000;
  p.Video_AudioBitrate = -2000;
  const TOutputOptions automatic = JobOutputOptions(p);
  EXPECT_EQ(automatic.AudioCodec, "");
  EXPECT_EQ(automatic.AudioSampleRate, -1);
  EXPECT_EQ(automatic.VideoBitrate, -1);
  EXPECT_EQ(automatic.AudioBitrate, -1);
}

TEST(JobOutputOptions, CopiesTheGivenFields) {
  struct Case {
    std::function<void(TJobParameters&)> Set;
    std::function<void(const TOutputOptions&)> Check;
  };
  const Case cases[] = {
      {[](TJobParameters& p) { p.Video_VideoCodec = "libx264"; },
       [](const TOutputOptions& o) {
         EXPECT_EQ(o.VideoCodec, "libx264");
         EXPECT_EQ(o.VideoPreset, "libx264-default");
       }},
      {[](TJobParameters& p) { p.Video_VideoCodec = "mpeg4"; },
       [](const TOutputOptions& o) {
         EXPECT_EQ(o.VideoCodec, "mpeg4");
         EXPECT_EQ(o.VideoPreset, "");
       }},
      {[](TJobParameters& p) {
         p.Video_AudioCodec = "ac3";
         p.Video_AudioChannels = "1";
         p.Video_AudioSampleRate = "22050";
         p.Video_AudioBitrate = 12200;
         p.Video_AudioVolume = "300";
       },
       [](const TOutputOptions& o) {
         EXPECT_EQ(o.AudioCodec, "ac3");
         EXPECT_EQ(o.AudioChannels, 1);
         EXPECT_EQ(o.AudioSampleRate, 22050);
         EXPECT_EQ(o.AudioBitrate, 12200);
         EXPECT_EQ(o.AudioVolume, 300);
       }},
      {[](TJobParameters& p) {
         p.Video_FrameSize = "640*480";
         p.Video_FrameRate = "29.97";
         p.Video_FrameAspectRatio = "16:9";
         p.Video_VideoBitrate = 816000;
         p.Video_VideoTag = "XVID";
         p.Video_FileFormat = "asf";
         p.Video_DisableVideo = true;
       },
       [](const TOutputOptions& o) {
         EXPECT_EQ(o.FrameSize, "640*480");
         EXPECT_EQ(o.FrameRate, "29.97");
         EXPECT_EQ(o.FrameAspectRatio, "16:9");
         EXPECT_EQ(o.VideoBitrate, 816000);
         EXPECT_EQ(o.VideoTag, "XVID");
         EXPECT_EQ(o.FileFormat, "asf");
         EXPECT_TRUE(o.DisableVideo);
       }},
      {[](TJobParameters& p) {
         p.Video_TargetType = "svcd";
         p.Video_NormType = "NTSC";
       },
       [](const TOutputOptions& o) {
         EXPECT_EQ(o.TargetType, ttSVCD);
         EXPECT_EQ(o.NormType, ntNTSC);
       }},
      {[](TJobParameters& p) {
         p.Video_TargetType = "cd";
         p.Video_NormType = "pal";  // the norm's text is compared exactly
       },
       [](const TOutputOptions& o) {
         EXPECT_EQ(o.TargetType, ttIgnore);
         EXPECT_EQ(o.NormType, ntAuto);
       }},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    TJobParameters p;
    cases[i].Set(p);
    cases[i].Check(JobOutputOptions(p));
  }
}

// ---- every disc row converts and probes as its standard ---------------------------------------

// What a disc standard fixes for PAL, and the audio rate the row's default choice gives.
struct TDiscStandard {
  const char* Video;
  Integer Width, Height;
  const char* Audio;
  Integer SampleRate;
  Integer VideoHeaderRate;  // the fixed rate a VCD's video header carries; 0: a variable rate
  Integer DefaultAudioRate;
};

const std::map<String, TDiscStandard> DiscStandards = {
    {"vcd", {"mpeg1video", 352, 288, "mp2", 44100, 1150000, 224000}},
    {"svcd", {"mpeg2video", 480, 576, "mp2", 44100, 0, 128000}},
    {"dvd", {"mpeg2video", 720, 576, "ac3", 48000, 0, 128000}},
};

// One job of the batch: its row, the choosers' texts it overrides, what it must probe as.
struct TDiscJob {
  Integer Code;
  std::map<TPresetSlot, String> Choices;  // besides the row's defaults
  Integer AudioRate;                      // expected audio bit rate
  Single Aspect;
  String Output;
};

// The add path of the main window with the choosers on their defaults (or AChoices): the row's
// parameters, the chooser reader's overlay, then the task's output record.
TJobParameters DiscRowParameters(Integer ACode, const std::map<TPresetSlot, String>& AChoices) {
  TJobParameters p;
  ResetJobParameters(p);
  const TFormatParameterRow* row = FindFormatParameterRow(ACode);
  const TPresetRow* presets = FindPresetRow(ACode);
  EXPECT_TRUE(row && presets) << ACode;
  if (!row || !presets) return p;
  ApplyParameterRow(*row, p);
  for (TPresetSlot slot :
       {psFrameSize, psFrameRate, psVideoBitrate, psSampleRate, psAudioBitrate, psAspect}) {
    const TPresetList& list = PresetListOf(*presets, slot);
    const auto chosen = AChoices.find(slot);
    const String text =
        chosen != AChoices.end() ? chosen->second : String(list.Entries[presets->Choices[slot].Default]);
    SetParameterFromPresetText(slot, text, p, ptuReader);
  }
  return p;
}

class DiscRows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FFLoader()->Load(ConverterLibraries)) << FFLoader()->LastErrMsg();
    GetFFLogger()->SetTriggerEventInMainThread(false);
  }
};

TEST_F(DiscRows, EveryDiscRowConvertsAndProbesAsItsStandard) {
  std::vector<TDiscJob> jobs;
  for (Integer i = 0; i < FormatParameterRowCount; ++i) {
    const TFormatParameterRow& row = FormatParameterRows[i];
    // The rows keep the source's aspect, 4:3.
    if (*row.TargetType)
      jobs.push_back({row.Code, {}, DiscStandards.at(row.TargetType).DefaultAudioRate, 4.0f / 3, ""});
  }
  ASSERT_EQ(jobs.size(), 15u);
  // Choices outside each standard: the standard's values win, the choices it leaves are brought
  // into its range (nearest allowed audio rate, 4:3 or 16:9).
  const std::map<TPresetSlot, String> outside = {
      {psFrameSize, "1920*1080"},  {psFrameRate, "10.00"},        {psSampleRate, "22050"},
      {psAudioBitrate, "16 kbps"}, {psVideoBitrate, "2000 kbps"}, {psAspect, "宽屏视频37:20模式"}};
  jobs.push_back({113, outside, 224000, 4.0f / 3, ""});
  jobs.push_back({112, outside, 32000, 16.0f / 9, ""});
  jobs.push_back({111, outside, 64000, 16.0f / 9, ""});

  TFFmpegConverter converter(nullptr);
  const String pal = TFormatsMedia::Get().Clip("clip.avi", "25");
  const String ntsc = TFormatsMedia::Get().Clip("ntsc.avi", "30000/1001");
  for (size_t j = 0; j < jobs.size(); ++j) {
    TDiscJob& job = jobs[j];
    TJobParameters p = DiscRowParameters(job.Code, job.Choices);
    TOutputOptions o = JobOutputOptions(p);
    // Every row's norm is PAL, so even an NTSC-rate source gives PAL.
    const Integer task = converter.AddTask(j % 2 ? ntsc : pal);
    ASSERT_GE(task, 0) << converter.LastErrMsg();
    job.Output = TFormatsMedia::Get().Dir() + "/disc" + std::to_string(j) + ".mpg";
    ASSERT_TRUE(converter.SetOutputFile(task, job.Output, &o)) << job.Code << ": " << converter.LastErrMsg();
  }

  std::atomic<bool> ended{false};
  std::vector<String> failures(jobs.size());
  converter.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
    if (AInfo.TaskIndex == -1)
      ended = true;
    else if (AInfo.Exception || !AInfo.Finished)
      failures[size_t(AInfo.TaskIndex)] = AInfo.ExceptionMsg.empty() ? "not finished" : AInfo.ExceptionMsg;
  };
  converter.Start(4);
  // A watchdog in place of a hanging test.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!ended && std::chrono::steady_clock::now() < deadline) CheckSynchronize(5);
  ASSERT_TRUE(ended) << "the batch did not end within 120 s";
  converter.Stop(true);

  for (size_t j = 0; j < jobs.size(); ++j) {
    const TDiscJob& job = jobs[j];
    SCOPED_TRACE(std::to_string(job.Code) + (job.Choices.empty() ? " (defaults)" : " (choices outside)"));
    EXPECT_EQ(failures[j], "");
    const TDiscStandard& standard = DiscStandards.at(FindFormatParameterRow(job.Code)->TargetType);
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(job.Output));
    EXPECT_EQ(probe.FormatName(), "mpeg");
    ASSERT_EQ(probe.VideoStreamCount(), 1);
    ASSERT_EQ(probe.AudioStreamCount(), 1);
    const TVideoStreamInfo v = probe.FirstVideoStreamInfo();
    EXPECT_EQ(v.CodecName.substr(0, v.CodecName.find('(')), standard.Video);
    EXPECT_EQ(v.Width, standard.Width);
    EXPECT_EQ(v.Height, standard.Height);
    EXPECT_EQ(v.FrameRate.num, 25 * v.FrameRate.den);
    if (standard.VideoHeaderRate > 0) {
      EXPECT_EQ(v.BitRate, standard.VideoHeaderRate);
    }
    EXPECT_NEAR(v.AspectRatio, job.Aspect, 0.01);
    const TAudioStreamInfo a = probe.FirstAudioStreamInfo();
    EXPECT_EQ(a.CodecName.substr(0, a.CodecName.find('(')), standard.Audio);
    EXPECT_EQ(a.SampleRate, standard.SampleRate);
    EXPECT_EQ(a.Channels, 2);  // of a mono source
    EXPECT_EQ(a.BitRate, job.AudioRate);
    // The whole second: 25 frames, held to a frame.
    EXPECT_NEAR(Double(probe.FileStreamInfo().Duration) / 1e6, 1.0, 0.15);
  }
}

}  // namespace
