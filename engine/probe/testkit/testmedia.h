// Media files for the probe's tests, from the project's test-media cache; Dir is a scratch folder of
// the probe's tests ("probe-test-media" in the working folder).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/testkit/testmedia.h"

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

inline std::string FilePrefix(const std::string& ASource, std::uintmax_t ACount) {
  std::ifstream in(ASource, std::ios::binary);
  std::string data(ACount, '\0');
  in.read(data.data(), std::streamsize(ACount));
  data.resize(size_t(in.gcount()));
  return data;
}

inline const TTestMedia& TestMedia() {
  static TTestMedia media = [] {
    TTestMedia m;
    m.Dir = std::filesystem::absolute("probe-test-media").string();
    std::filesystem::create_directories(m.Dir);
    const std::string v = "-threads 1 -f lavfi -i testsrc=size=160x120:rate=25:duration=2 ";
    const std::string a = "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 ";
    const std::string subtitles = TestMediaText("subs.srt", "1\n00:00:00,000 --> 00:00:01,000\nHello\n");
    const std::vector<std::string> made = TestMediaFiles({
        {"av.mkv",
         v + a + "-c:v mpeg4 -g 10 -bf 0 -c:a aac -metadata title='Probe title' -metadata artist=Somebody"},
        {"av.avi", v + a + "-c:v mpeg4 -g 10 -bf 0 -c:a mp2"},
        {"av.mp4", v + a + "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 10 -bf 2 -c:a aac"},
        {"av.flv", v + a + "-c:v flv -g 10 -c:a aac"},
        {"av.ts", v + a + "-c:v mpeg2video -g 10 -c:a mp2"},
        {"audio.wav", "-threads 1 " + a + "-c:a pcm_s16le"},
        {"video.mkv", v + "-c:v mpeg4 -g 10"},
        {"twoaudio.mkv", v + a + "-f lavfi -i sine=frequency=880:sample_rate=22050:duration=2 -i '" +
                             subtitles +
                             "' -map 0 -map 1 -map 2 -map 3 -c:v mpeg4 -g 10 -c:a aac -c:s srt "
                             "-metadata:s:a:0 language=eng -metadata:s:a:1 language=chi"},
        {"picture.png",
         "-threads 1 -f lavfi -i "
         "'color=c=red:s=64x48,format=rgb24,drawbox=x=0:y=24:w=64:h=24:color=blue:t=fill' "
         "-frames:v 1"},
    });
    for (const std::string& path : made)
      if (path.empty()) return m;
    m.Mkv = made[0];
    m.Avi = made[1];
    m.Mp4 = made[2];
    m.Flv = made[3];
    m.Ts = made[4];
    m.AudioOnly = made[5];
    m.VideoOnly = made[6];
    m.TwoAudio = made[7];
    m.Picture = made[8];

    std::string random(64 * 1024, '\0');
    std::mt19937 rng(20240601);
    for (char& ch : random) ch = char(rng());
    m.Empty = TestMediaText("empty.mp4", "");
    m.Text = TestMediaText("notes.txt", "Not a media file.\nJust two lines of text.\n");
    m.Random = TestMediaText("random.bin", random);
    // The MP4 index comes last: without it nothing can be read.
    m.Truncated = TestMediaText("truncated.mp4", FilePrefix(m.Mp4, TestFileSize(m.Mp4) * 6 / 10));
    // Matroska streams stay readable up to the cut.
    m.CutInMiddle = TestMediaText("cut.mkv", FilePrefix(m.Mkv, TestFileSize(m.Mkv) / 2));
    m.Missing = m.Dir + "/missing.avi";
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
