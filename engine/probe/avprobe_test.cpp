// The media probe on real files: opening, counts, info records, failures and the report.
#include "engine/probe/avprobe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "engine/base/avstubs.h"
#include "engine/base/ffutils.h"
#include "engine/probe/testkit/testmedia.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace {

class MediaProbeTest : public TProbeTestBase {};

TEST_F(MediaProbeTest, NewProbeHasNoFile) {
  TAVProbe probe(nullptr);
  EXPECT_EQ(probe.StreamCount(), -1);
  EXPECT_EQ(probe.ProgramCount(), -1);
  EXPECT_EQ(probe.FileSize(), -1);
  EXPECT_EQ(probe.FirstVideoStreamIndex(), -1);
  EXPECT_EQ(probe.FirstAudioStreamIndex(), -1);
  EXPECT_EQ(probe.FirstSubtitleStreamIndex(), -1);
  EXPECT_EQ(probe.AudioStreamCount(), -1);
  EXPECT_EQ(probe.FileInfoText(), "");
  EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");

  const TFileStreamInfo info = probe.FileStreamInfo();
  EXPECT_EQ(info.Duration, -1);
  EXPECT_EQ(info.BitRate, -1);
  EXPECT_EQ(info.Title, "");
  EXPECT_EQ(probe.FirstVideoStreamInfo().Width, -1);
  EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
}

TEST_F(MediaProbeTest, ContainersReportTheirStreams) {
  const struct {
    std::string File;
    const char* Format;
    Integer Video, Audio, FirstVideo, FirstAudio;
    Single Aspect;
  } cases[] = {
      {Media().Mkv, "matroska,webm", 1, 1, 0, 1, 160.0f / 120},
      {Media().Avi, "avi", 1, 1, 0, 1, 160.0f / 120},
      {Media().Mp4, "mov,mp4,m4a,3gp,3g2,mj2", 1, 1, 0, 1, 160.0f / 120},
      // FLV lists its streams as their first packets come, and keeps no sample aspect (0/1).
      {Media().Flv, "flv", 1, 1, 1, 0, 0.0f},
      {Media().AudioOnly, "wav", 0, 1, -1, 0, 0.0f},
      {Media().VideoOnly, "matroska,webm", 1, 0, 0, -1, 160.0f / 120},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(c.File)) << probe.LastErrMsg();
    EXPECT_EQ(probe.FormatName(), c.Format);
    EXPECT_EQ(probe.FileName(), c.File);
    EXPECT_EQ(probe.FileSize(), Int64(TestFileSize(c.File)));
    EXPECT_EQ(probe.StreamCount(), c.Video + c.Audio);
    EXPECT_EQ(probe.VideoStreamCount(), c.Video);
    EXPECT_EQ(probe.AudioStreamCount(), c.Audio);
    EXPECT_EQ(probe.SubtitleStreamCount(), 0);
    EXPECT_EQ(probe.ProgramCount(), 0);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), c.FirstVideo);
    EXPECT_EQ(probe.FirstAudioStreamIndex(), c.FirstAudio);

    const TFileStreamInfo info = probe.FileStreamInfo();
    EXPECT_GE(info.Duration, 1900000);
    EXPECT_LE(info.Duration, 2200000);
    EXPECT_GT(info.BitRate, 0);
    if (c.Video) {
      const TVideoStreamInfo v = probe.FirstVideoStreamInfo();
      EXPECT_EQ(v.Width, 160);
      EXPECT_EQ(v.Height, 120);
      EXPECT_EQ(v.FrameRate.num / v.FrameRate.den, 25);
      EXPECT_EQ(v.PixFmt, AV_PIX_FMT_YUV420P);
      EXPECT_FLOAT_EQ(v.AspectRatio, c.Aspect);
      EXPECT_FALSE(v.CodecName.empty());
      EXPECT_GE(v.DurationScaled == -1 ? info.Duration : v.DurationScaled, 1900000);
    }
    if (c.Audio) {
      const TAudioStreamInfo a = probe.FirstAudioStreamInfo();
      EXPECT_EQ(a.SampleRate, 44100);
      EXPECT_EQ(a.Channels, 1);
      EXPECT_GE(a.SampleFormat, 0);
      EXPECT_FALSE(a.CodecName.empty());
    }
  }
}

TEST_F(MediaProbeTest, StreamTypesAndIndexesOfAFileWithTwoAudioStreams) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().TwoAudio)) << probe.LastErrMsg();
  EXPECT_EQ(probe.StreamCount(), 4);
  EXPECT_EQ(probe.VideoStreamCount(), 1);
  EXPECT_EQ(probe.AudioStreamCount(), 2);
  EXPECT_EQ(probe.SubtitleStreamCount(), 1);
  EXPECT_EQ(probe.FirstAudioStreamIndex(), 1);
  EXPECT_EQ(probe.FirstSubtitleStreamIndex(), 3);

  EXPECT_TRUE(probe.IsVideoStream(0));
  EXPECT_TRUE(probe.IsAudioStream(2));
  EXPECT_FALSE(probe.IsVideoStream(2));
  EXPECT_TRUE(probe.IsSubtitleStream(3));

  const TAudioStreamInfo second = probe.GetAudioStreamInfo(2);
  EXPECT_EQ(second.Language, "chi");
  EXPECT_EQ(second.SampleRate, 22050);
  EXPECT_EQ(probe.FirstAudioStreamInfo().Language, "eng");
  EXPECT_FALSE(probe.FirstSubtitleStreamInfo().CodecName.empty());
}

TEST_F(MediaProbeTest, StreamQuestionsWithWrongIndexesReportAndGiveEmptyValues) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();

  EXPECT_FALSE(probe.IsVideoStream(-1));
  EXPECT_EQ(probe.LastErrMsg(), "stream index #-1 is invalid.");
  EXPECT_FALSE(probe.IsAudioStream(2));
  EXPECT_EQ(probe.LastErrMsg(), "stream index #2 is invalid.");

  const TSubtitleStreamInfo none = probe.FirstSubtitleStreamInfo();
  EXPECT_EQ(none.CodecName, "");
  EXPECT_EQ(probe.LastErrMsg(), "no subtitle stream.");

  const TVideoStreamInfo wrongType = probe.GetVideoStreamInfo(1);
  EXPECT_EQ(wrongType.Width, -1);
  EXPECT_EQ(wrongType.FrameRate.num, -1);
  EXPECT_EQ(wrongType.CodecName, "");
  EXPECT_EQ(probe.LastErrMsg(), "stream #1 is not video stream.");
  EXPECT_EQ(probe.GetAudioStreamInfo(0).SampleRate, -1);
  EXPECT_EQ(probe.LastErrMsg(), "stream #0 is not audio stream.");
  EXPECT_EQ(probe.GetAudioStreamInfo(7).Channels, -1);
  EXPECT_EQ(probe.LastErrMsg(), "stream index #7 is invalid.");
}

TEST_F(MediaProbeTest, FileMetadataAndTheAuthorFromTheArtistTag) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();
  const TFileStreamInfo info = probe.FileStreamInfo();
  EXPECT_EQ(info.Title, "Probe title");
  EXPECT_EQ(info.Author, "Somebody");
  EXPECT_EQ(info.Album, "");
  EXPECT_EQ(info.StartTime, 0);
}

TEST_F(MediaProbeTest, BadInputFailsWithTheReason) {
  const struct {
    std::string File;
    const char* Reason;
  } cases[] = {
      {Media().Missing, "No such file or directory"},
      {Media().Empty, "Invalid data found when processing input"},
      {Media().Text, "Invalid data found when processing input"},
      {Media().Random, "Invalid data found when processing input"},
      {Media().Truncated, "Invalid data found when processing input"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Media().Mkv));
    EXPECT_FALSE(probe.LoadFile(c.File));
    EXPECT_EQ(probe.LastErrMsg(), c.File + ": " + c.Reason);
    EXPECT_EQ(probe.FileHandle(), nullptr);
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.FileSize(), -1);
    EXPECT_EQ(probe.ForceFormat(), "");
  }
}

TEST_F(MediaProbeTest, ForcedFormats) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv, "matroska")) << probe.LastErrMsg();
  EXPECT_EQ(probe.ForceFormat(), "matroska");
  EXPECT_EQ(probe.StreamCount(), 2);

  // An unknown name closes the open file before it is looked up.
  EXPECT_FALSE(probe.LoadFile(Media().Mkv, "nosuchformat"));
  EXPECT_EQ(probe.LastErrMsg(), "Unknown input format: nosuchformat");
  EXPECT_EQ(probe.FileHandle(), nullptr);
  EXPECT_EQ(probe.ForceFormat(), "");

  // A demuxer that does not fit the file refuses it.
  EXPECT_FALSE(probe.LoadFile(Media().Mkv, "wav"));
  EXPECT_EQ(probe.LastErrMsg().rfind(Media().Mkv + ": ", 0), 0u) << probe.LastErrMsg();
}

TEST_F(MediaProbeTest, NamesOutsideTheCodePageGoThroughTheUnicodeProtocol) {
  const String name = Media().Dir + "/视频 «test».mkv";
  std::filesystem::copy_file(Media().Mkv, name, std::filesystem::copy_options::overwrite_existing);
  const String saved = SystemCodePage();
  SetSystemCodePage("ISO-8859-1");
  TAVProbe probe(nullptr);
  const bool loaded = probe.LoadFile(name);
  const String fileName = probe.FileName();
  const Int64 size = probe.FileSize();
  const String text = probe.FileInfoText();
  probe.CloseFile();
  SetSystemCodePage(saved);

  ASSERT_TRUE(loaded) << probe.LastErrMsg();
  EXPECT_EQ(fileName, name);
  EXPECT_EQ(size, Int64(TestFileSize(name)));
  EXPECT_EQ(SplitReportLines(text).at(0), "File Name: " + name);
}

TEST_F(MediaProbeTest, AdoptedContextsStayTheHolders) {
  AVFormatContext* context = OpenAnalysedInput(Media().Mkv);
  ASSERT_NE(context, nullptr);
  {
    TAVProbe probe(nullptr);
    probe.SetFileHandle(context);
    EXPECT_EQ(probe.FileHandle(), context);
    EXPECT_EQ(probe.StreamCount(), 2);
    EXPECT_EQ(probe.FileName(), Media().Mkv);
    probe.SetFileHandle(nullptr);
    EXPECT_EQ(probe.StreamCount(), -1);
    probe.SetFileHandle(context);
  }
  // The probe is gone and the context still works.
  EXPECT_EQ(context->nb_streams, 2u);
  ff::avformat_close_input(&context);
}

// Unloads ALib, then reports what LoadFile and SetFileHandle raise and exits: unloading the
// libraries does not undo everything they set up, so this runs in a child process.
[[noreturn]] void ProbeWithoutLibrary(TLibrary ALib, const String& AFile) {
  TAVProbe probe(nullptr);
  FFLoader()->Unload(ALib);
  String loadMessage;
  String adoptMessage;
  try {
    probe.LoadFile(AFile);
  } catch (const Exception& e) {
    loadMessage = e.Message();
  }
  try {
    probe.SetFileHandle(nullptr);
  } catch (const Exception& e) {
    adoptMessage = e.Message();
  }
  std::fprintf(stderr, "[%s][%s]\n", loadMessage.c_str(), adoptMessage.c_str());
  std::_Exit(probe.AVLibLoaded() ? 1 : 0);
}

TEST_F(MediaProbeTest, MissingLibrariesRaise) {
  const struct {
    TLibrary Lib;
    const char* Message;
  } cases[] = {{avCodec, "LibAVCodec not loaded\\."},
               {avFormat, "LibAVFormat not loaded\\."},
               {avUtil, "LibAVUtil not loaded\\."},
               {swScale, "LibSwScale not loaded\\."}};
  for (const auto& c : cases)
    EXPECT_EXIT(ProbeWithoutLibrary(c.Lib, Media().Mkv), ::testing::ExitedWithCode(0),
                String("\\[") + c.Message + "\\]\\[" + c.Message + "\\]");
  TAVProbe probe(nullptr);
  EXPECT_TRUE(probe.AVLibLoaded());
}

TEST_F(MediaProbeTest, InfoTextOfAMatroskaFile) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();
  const std::vector<String> lines = SplitReportLines(probe.FileInfoText());
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[0], "File Name: " + Media().Mkv);
  EXPECT_EQ(lines[1], "Format Name: matroska,webm");
  EXPECT_EQ(lines[2], "Format Long Name: Matroska / WebM");
  EXPECT_EQ(lines[3], "File Size: " + FormatFileSize(Int64(TestFileSize(Media().Mkv))));
  // The segment lasts 2.023 s (the DURATION tags below say so too); the bit rate is the whole
  // file's bits over that time.
  EXPECT_EQ(lines[4], "Duration: 00:00:02.023");
  EXPECT_EQ(lines[5], "StartTime: 0.000000");
  EXPECT_EQ(lines[6], Format("Bit Rate: %d kb/s", Int64(TestFileSize(Media().Mkv)) * 8 * 1000 / 2023 / 1000));
  EXPECT_EQ(lines[7], "Metadata:");
  EXPECT_EQ(lines[8], "  title           : Probe title");
  EXPECT_EQ(lines[9], "  ARTIST          : Somebody");

  // The video stream: Matroska's millisecond time base, the codec description, the rates.
  size_t video = 0;
  while (video < lines.size() && lines[video].rfind("Stream #0", 0) != 0) ++video;
  ASSERT_LT(video, lines.size());
  const String& line = lines[video];
  EXPECT_EQ(line.rfind("Stream #0, 1/1000: Video: mpeg4", 0), 0u) << line;
  EXPECT_NE(line.find("160x120"), String::npos) << line;
  EXPECT_NE(line.find(", 25 fps, 25 tbr, 1k tbn, StartTime: 0.0"), String::npos) << line;
  // Matroska keeps stream durations as tags only.
  EXPECT_NE(line.find(", Duration: N/A"), String::npos) << line;
  ASSERT_EQ(lines[video + 1], "  Metadata:");
  size_t audio = video + 2;
  while (audio < lines.size() && lines[audio].rfind("    ", 0) == 0) ++audio;
  EXPECT_NE(
      std::find(lines.begin() + video + 2, lines.begin() + audio, "    DURATION        : 00:00:02.023000000"),
      lines.begin() + audio);
  ASSERT_EQ(audio + 4, lines.size());
  EXPECT_EQ(lines[audio].rfind("Stream #1, 1/1000: Audio: aac", 0), 0u) << lines[audio];
}

TEST_F(MediaProbeTest, InfoTextShowsProgramsWithTheirStreamsOnce) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Ts)) << probe.LastErrMsg();
  ASSERT_EQ(probe.ProgramCount(), 1);
  const std::vector<String> lines = SplitReportLines(probe.FileInfoText());
  size_t program = 0;
  while (program < lines.size() && lines[program].rfind("Program ", 0) != 0) ++program;
  ASSERT_LT(program + 6, lines.size() + 1);
  // Transport streams name the provider and the service with their own keys.
  EXPECT_EQ(lines[program], "Program 1 FFmpeg@Service01");
  EXPECT_EQ(lines[program + 1], "  Metadata:");
  EXPECT_EQ(lines[program + 2], "    service_name    : Service01");
  EXPECT_EQ(lines[program + 3], "    service_provider: FFmpeg");
  // Show-IDs demuxer: the stream ids in hexadecimal; 90 kHz time base as "90k".
  EXPECT_EQ(lines[program + 4].rfind("Stream #0[0x100], 1/90000: Video: mpeg2video", 0), 0u)
      << lines[program + 4];
  EXPECT_NE(lines[program + 4].find(", 25 fps, 25 tbr, 90k tbn, StartTime: 1."), String::npos);
  EXPECT_EQ(lines[program + 5].rfind("Stream #1[0x101], 1/90000: Audio: mp2", 0), 0u) << lines[program + 5];
  EXPECT_EQ(lines.size(), program + 6) << "a stream shown under its program came again";
}

TEST_F(MediaProbeTest, PicturesOpenAsSinglePictureDemuxers) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Picture)) << probe.LastErrMsg();
  EXPECT_EQ(probe.FormatName(), "png_pipe");
  EXPECT_EQ(probe.VideoStreamCount(), 1);
  const TVideoStreamInfo v = probe.FirstVideoStreamInfo();
  EXPECT_EQ(v.Width, 64);
  EXPECT_EQ(v.Height, 48);
  EXPECT_EQ(probe.FileStreamInfo().Duration, -1);
  const std::vector<String> lines = SplitReportLines(probe.FileInfoText());
  EXPECT_EQ(lines.at(4), "Duration: N/A");
  EXPECT_EQ(lines.at(5), "Bit Rate: N/A");
}

}  // namespace
