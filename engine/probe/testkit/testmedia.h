// Media files for the probe's tests, made with the ffmpeg command-line tool into "probe-test-media"
// under the working directory (the build folder). CTest runs every test in its own process, so the
// set is made once and kept, under a file lock, and made again when the recipe changes.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"

struct TTestMedia {
  std::string Dir;
  // 2 s of 160x120 video at 25 frames per second (a key frame every 10 pictures) with 44.1 kHz audio.
  std::string Mkv, Avi, Mp4, Flv, Ts;
  std::string AudioOnly;  // 2 s of 44.1 kHz PCM
  std::string VideoOnly;
  std::string TwoAudio;  // video, audio "eng", audio "chi" at 22.05 kHz, subtitles
  std::string Picture;   // 64x48 PNG, top half red, bottom half blue
  std::string Empty, Text, Random, Truncated, CutInMiddle, Missing;
  bool Ready = false;
};

inline std::uintmax_t TestFileSize(const std::string& AName) {
  return std::filesystem::file_size(AName);
}

inline void CopyFilePrefix(const std::string& ASource, const std::string& ADest, std::uintmax_t ACount) {
  std::ifstream in(ASource, std::ios::binary);
  std::string data(ACount, '\0');
  in.read(data.data(), std::streamsize(ACount));
  std::ofstream(ADest, std::ios::binary).write(data.data(), in.gcount());
}

inline const TTestMedia& TestMedia() {
  static TTestMedia media = [] {
    TTestMedia m;
    m.Dir = std::filesystem::absolute("probe-test-media").string();
    std::filesystem::create_directories(m.Dir);
    const std::string d = m.Dir + "/";
    m.Mkv = d + "av.mkv";
    m.Avi = d + "av.avi";
    m.Mp4 = d + "av.mp4";
    m.Flv = d + "av.flv";
    m.Ts = d + "av.ts";
    m.AudioOnly = d + "audio.wav";
    m.VideoOnly = d + "video.mkv";
    m.TwoAudio = d + "twoaudio.mkv";
    m.Picture = d + "picture.png";
    m.Empty = d + "empty.mp4";
    m.Text = d + "notes.txt";
    m.Random = d + "random.bin";
    m.Truncated = d + "truncated.mp4";
    m.CutInMiddle = d + "cut.mkv";
    m.Missing = d + "missing.avi";

    // All at once: the tool's start-up dominates, not the encoding.
    const std::string script =
        "cd '" + m.Dir +
        "' && V='-f lavfi -i testsrc=size=160x120:rate=25:duration=2' && "
        "A='-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2' && "
        "Q='-y -nostdin -loglevel error -threads 1' && "
        "{ ffmpeg $Q $V $A -c:v mpeg4 -g 10 -bf 0 -c:a aac -metadata title='Probe title' "
        "-metadata artist=Somebody av.mkv & "
        "ffmpeg $Q $V $A -c:v mpeg4 -g 10 -bf 0 -c:a mp2 av.avi & "
        "ffmpeg $Q $V $A -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 10 -bf 2 -c:a aac av.mp4 & "
        "ffmpeg $Q $V $A -c:v flv -g 10 -c:a aac av.flv & "
        "ffmpeg $Q $V $A -c:v mpeg2video -g 10 -c:a mp2 av.ts & "
        "ffmpeg $Q $A -c:a pcm_s16le audio.wav & "
        "ffmpeg $Q $V -c:v mpeg4 -g 10 video.mkv & "
        "ffmpeg $Q $V $A -f lavfi -i sine=frequency=880:sample_rate=22050:duration=2 -i subs.srt "
        "-map 0 -map 1 -map 2 -map 3 -c:v mpeg4 -g 10 -c:a aac -c:s srt -metadata:s:a:0 language=eng "
        "-metadata:s:a:1 language=chi twoaudio.mkv & "
        "ffmpeg $Q -f lavfi -i "
        "'color=c=red:s=64x48,format=rgb24,drawbox=x=0:y=24:w=64:h=24:color=blue:t=fill' "
        "-frames:v 1 picture.png & "
        "wait; }";
    const std::string stamp = d + "ready-" + std::to_string(std::hash<std::string>()(script));
    const int lock = ::open((d + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    if (lock < 0 || ::flock(lock, LOCK_EX) != 0) return m;
    struct TUnlock {
      int Fd;
      ~TUnlock() { ::close(Fd); }
    } unlock{lock};
    if (std::filesystem::exists(stamp)) {
      m.Ready = true;
      return m;
    }
    std::ofstream(d + "subs.srt") << "1\n00:00:00,000 --> 00:00:01,000\nHello\n";
    if (std::system(script.c_str()) != 0) return m;

    std::ofstream(m.Empty, std::ios::binary);
    std::ofstream(m.Text) << "Not a media file.\nJust two lines of text.\n";
    {
      std::mt19937 rng(20240601);
      std::string bytes(64 * 1024, '\0');
      for (char& ch : bytes) ch = char(rng());
      std::ofstream(m.Random, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    // The MP4 index comes last: without it nothing can be read.
    CopyFilePrefix(m.Mp4, m.Truncated, TestFileSize(m.Mp4) * 6 / 10);
    // Matroska streams stay readable up to the cut.
    CopyFilePrefix(m.Mkv, m.CutInMiddle, TestFileSize(m.Mkv) / 2);
    std::ofstream(stamp).put('\n');
    m.Ready = true;
    return m;
  }();
  return media;
}

// The lines of a report whose every line ends with CR LF.
inline std::vector<std::string> SplitReportLines(const std::string& AText) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = AText.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(AText.substr(start, end - start));
  EXPECT_EQ(start, AText.size()) << "text after the last line end";
  return lines;
}

// A context opened and analysed by the library directly, as another part of the engine hands it
// over; nullptr when either step fails.
inline AVFormatContext* OpenAnalysedInput(const std::string& AFile) {
  AVFormatContext* context = nullptr;
  if (ff::avformat_open_input(&context, AFile.c_str(), nullptr, nullptr) < 0) return nullptr;
  if (ff::avformat_find_stream_info(context, nullptr) < 0) ff::avformat_close_input(&context);
  return context;
}

// Loads the probe's libraries (system search) and makes the media.
class TProbeTestBase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(FFLoader()->Load(ProbeLibraries)) << FFLoader()->LastErrMsg(); }
  void SetUp() override { ASSERT_TRUE(TestMedia().Ready) << "the ffmpeg tool could not make the test media"; }
  const TTestMedia& Media() const { return TestMedia(); }
};
