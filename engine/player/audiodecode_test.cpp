// What the audio callback hands the device: volume, mute, silence, and the downmix.
#include <memory>

#include "engine/base/sdlstubs.h"
#include "engine/player/playerstages.h"
#include "engine/player/testkit/playercoreaccess.h"
#include "engine/player/testkit/playertestkit.h"

namespace {

class AudioCallbackTest : public TPlayerTestBase {
 protected:
  void SetUp() override {
    TPlayerTestBase::SetUp();
    // SDL mixes in the format of the open device: open one (dummy driver), never started.
    ASSERT_EQ(libsdl::SDL_Init(SDL_INIT_AUDIO), 0) << libsdl::SDL_GetError();
    SDL_AudioSpec wanted{};
    wanted.freq = 8000;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 256;
    wanted.callback = [](void*, Uint8*, int) {};
    ASSERT_EQ(libsdl::SDL_OpenAudio(&wanted, nullptr), 0) << libsdl::SDL_GetError();
    State->Owner = &PlayerCore(Player);
    State->audio_st = &FakeStream;
    State->audio_out_channels = 2;
    State->audio_out_rate = 8000;
    State->audio_pkt.reset(ff::av_packet_alloc());
    PacketQueueInit(State->audioq);
  }
  void TearDown() override {
    PacketQueueEnd(State->audioq);
    State->audio_pkt.reset();
    libsdl::SDL_CloseAudio();
    libsdl::SDL_Quit();
  }
  // The device buffer after one callback over decoded samples of AValue.
  std::vector<int16_t> Callback(int16_t AValue, Integer ASamples) {
    auto* decoded = reinterpret_cast<int16_t*>(State->audio_buf1);
    for (Integer i = 0; i < ASamples; ++i) decoded[i] = AValue;
    State->audio_buf = State->audio_buf1;
    State->audio_buf_size = Cardinal(ASamples * 2);
    State->audio_buf_index = 0;
    std::vector<int16_t> device(size_t(ASamples), 0);  // SDL hands the buffer over silent
    SdlAudioCallback(State.get(), reinterpret_cast<Uint8*>(device.data()), ASamples * 2);
    return device;
  }
  TRIVodero Player{nullptr};
  std::unique_ptr<TVideoState> State = std::make_unique<TVideoState>();
  AVStream FakeStream{};
};

TEST_F(AudioCallbackTest, VolumeScalesTheSamplesAndMuteSilencesThem) {
  struct TCase {
    TAudioVolume Volume;
    bool Mute;
    int16_t Expected;
  };
  const TCase cases[] = {{128, false, 1000}, {64, false, 500}, {0, false, 0}, {128, true, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Volume);
    Player.SetAudioVolume(c.Volume);
    Player.SetMute(c.Mute);
    const std::vector<int16_t> device = Callback(1000, 512);
    for (int16_t s : device) ASSERT_EQ(s, c.Expected);
    EXPECT_EQ(State->audio_buf_index, 1024) << "the samples were used up either way";
  }
}

TEST_F(AudioCallbackTest, WithNothingDecodedTheDeviceGetsSilenceAndTheClockStands) {
  State->audio_clock = 3.25;
  State->audio_buf_size = 0;
  State->audio_buf_index = 0;
  std::vector<int16_t> device(2048, 77);
  SdlAudioCallback(State.get(), reinterpret_cast<Uint8*>(device.data()), 4096);
  for (int16_t s : device) ASSERT_EQ(s, 77) << "silence mixed in changes nothing";
  EXPECT_EQ(State->audio_buf_size, 1024u) << "silence comes in 1024-byte pieces";
  EXPECT_EQ(State->audio_clock, 3.25);
  EXPECT_NE(PlayerCore(Player).Faudio_callback_time, 0);
}

TEST_F(AudioCallbackTest, TheSampleRingWrapsForTheAudioDisplay) {
  std::vector<int16_t> samples(1000);
  for (Integer i = 0; i < 1000; ++i) samples[size_t(i)] = int16_t(i);
  State->sample_array_index = SAMPLE_ARRAY_SIZE - 400;
  UpdateSampleDisplay(State.get(), samples.data(), 2000);
  EXPECT_EQ(State->sample_array[SAMPLE_ARRAY_SIZE - 400], 0);
  EXPECT_EQ(State->sample_array[SAMPLE_ARRAY_SIZE - 1], 399);
  EXPECT_EQ(State->sample_array[0], 400);
  EXPECT_EQ(State->sample_array_index, 600);
}

class AudioDownmixTest : public TPlayerTestBase {};

TEST_F(AudioDownmixTest, SixChannelsReachTheDeviceAsTwo) {
  const std::string file = TestMediaFile(
      "surround.wav", "-f lavfi -i sine=frequency=300:sample_rate=48000:duration=1 -ac 6 -c:a pcm_f32le");
  ASSERT_FALSE(file.empty());
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  ASSERT_TRUE(player.Open(file, nullptr)) << player.LastErrMsg();
  TVideoState* is = player.VideoState();
  EXPECT_EQ(is->audio_out_channels, 2);
  EXPECT_EQ(is->audio_ctx->ch_layout.nb_channels, 6);
  // The clock advances with the resampled float samples as it plays.
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psEnd); }, 15000));
  EXPECT_NEAR(double(player.CurrentPTS()), 1000000.0, 150000.0);
  player.Stop(true);
}

}  // namespace
