// The end sound through SDL's audio (its dummy driver here): played to the end, cut by a later
// one, and skipped with a log line when the file, the library or the audio device is missing.
#include "platform/shell/sound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <mutex>

#include "platform/shell/shelllog.h"

namespace {

// A mono 8-bit WAV of silence at 8 kHz.
void writeWav(const String& path, Integer milliseconds) {
  uint32_t samples = uint32_t(8 * milliseconds);
  auto u32 = [](std::ofstream& o, uint32_t v) { o.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](std::ofstream& o, uint16_t v) { o.write(reinterpret_cast<const char*>(&v), 2); };
  std::ofstream o(path, std::ios::binary);
  o.write("RIFF", 4);
  u32(o, 36 + samples);
  o.write("WAVEfmt ", 8);
  u32(o, 16);
  u16(o, 1);     // PCM
  u16(o, 1);     // mono
  u32(o, 8000);  // rate
  u32(o, 8000);  // bytes a second
  u16(o, 1);     // block
  u16(o, 8);     // bits
  o.write("data", 4);
  u32(o, samples);
  String silence(samples, char(0x80));
  o.write(silence.data(), std::streamsize(silence.size()));
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char tmpl[] = "/tmp/nerivo-sound-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    Dir = tmpl;
    SetShellLogSink([this](const String& line, TShellLogLevel) {
      std::lock_guard<std::mutex> guard(LogLock);
      Log.push_back(line);
    });
  }
  void TearDown() override {
    SetShellLogSink(nullptr);
    std::system(("rm -rf '" + Dir + "'").c_str());
  }
  std::vector<String> Lines() {
    std::lock_guard<std::mutex> guard(LogLock);
    return Log;
  }

  String Dir;
  std::mutex LogLock;
  std::vector<String> Log;
};

}  // namespace

TEST_F(SoundTest, ASoundPlaysToItsEndAndGivesTheDeviceBack) {
  writeWav(Dir + "/ring.wav", 60);
  TSdlSoundService sound;
  ASSERT_TRUE(sound.PlayAsync(Dir + "/ring.wav"));
  ASSERT_TRUE(sound.WaitIdle(20000));
  TSdlSoundService::TStats s = sound.Stats();
  EXPECT_EQ(s.Started, 1);
  EXPECT_EQ(s.Completed, 1);
  EXPECT_EQ(s.Cut, 0);
  EXPECT_EQ(s.Failed, 0);
  EXPECT_TRUE(Lines().empty());
  // The device was closed: another sound can open it again.
  ASSERT_TRUE(sound.PlayAsync(Dir + "/ring.wav"));
  ASSERT_TRUE(sound.WaitIdle(20000));
  EXPECT_EQ(sound.Stats().Completed, 2);
}

TEST_F(SoundTest, ALaterSoundCutsTheEarlierOne) {
  writeWav(Dir + "/long.wav", 30000);
  writeWav(Dir + "/short.wav", 40);
  {
    TSdlSoundService sound;
    ASSERT_TRUE(sound.PlayAsync(Dir + "/long.wav"));
    ASSERT_TRUE(sound.PlayAsync(Dir + "/short.wav"));
    ASSERT_TRUE(sound.WaitIdle(20000));
    TSdlSoundService::TStats s = sound.Stats();
    // The long one either started and was cut, or was replaced before it started.
    EXPECT_EQ(s.Completed, 1);
    EXPECT_EQ(s.Started, 1 + s.Cut);
    EXPECT_LE(s.Cut, 1);
    EXPECT_EQ(s.Failed, 0);
  }
  // Closing the service stops what plays.
  TSdlSoundService sound;
  ASSERT_TRUE(sound.PlayAsync(Dir + "/long.wav"));
  EXPECT_FALSE(sound.WaitIdle(50));
}

TEST_F(SoundTest, AMissingFileOrLibrarySkipsTheSoundWithALogLine) {
  TSdlSoundService sound;
  EXPECT_FALSE(sound.PlayAsync(Dir + "/none.wav"));
  std::ofstream(Dir + "/bad.wav") << "not a sound";
  TSdlSoundService noLibrary("libnerivo-no-such-sdl.so.0");
  EXPECT_FALSE(noLibrary.PlayAsync(Dir + "/bad.wav"));
  EXPECT_FALSE(noLibrary.PlayAsync(Dir + "/bad.wav"));  // tried once, logged once
  // A file that is no sound is handed over, then fails on the player thread.
  ASSERT_TRUE(sound.PlayAsync(Dir + "/bad.wav"));
  ASSERT_TRUE(sound.WaitIdle(20000));
  EXPECT_EQ(sound.Stats().Failed, 1);
  EXPECT_EQ(sound.Stats().Started, 0);
  std::vector<String> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "no end sound: the file \"" + Dir + "/none.wav\" does not exist");
  EXPECT_EQ(lines[1].rfind("no end sound: ", 0), 0u);
  EXPECT_NE(lines[1].find("libnerivo-no-such-sdl.so.0"), String::npos);
  EXPECT_EQ(lines[2].rfind("no end sound: \"" + Dir + "/bad.wav\" cannot be read", 0), 0u);
}

TEST_F(SoundTest, NoAudioDeviceSkipsTheSound) {
  writeWav(Dir + "/ring.wav", 40);
  const char* saved = std::getenv("SDL_AUDIODRIVER");
  String keep = saved ? saved : "";
  setenv("SDL_AUDIODRIVER", "nerivo-no-such-driver", 1);
  {
    TSdlSoundService sound;
    ASSERT_TRUE(sound.PlayAsync(Dir + "/ring.wav"));
    ASSERT_TRUE(sound.WaitIdle(20000));
    EXPECT_EQ(sound.Stats().Failed, 1);
    EXPECT_EQ(sound.Stats().Started, 0);
  }
  if (saved) {
    setenv("SDL_AUDIODRIVER", keep.c_str(), 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }
  std::vector<String> lines = Lines();
  ASSERT_EQ(lines.size(), 1u) << (lines.empty() ? "" : lines[0]);
  EXPECT_EQ(lines[0].rfind("no end sound: the audio device cannot be opened", 0), 0u) << lines[0];
}
