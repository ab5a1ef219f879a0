// Packet queues, clocks and the synchronisation rules of the player.
#include <memory>

#include "engine/base/avstubs.h"
#include "engine/player/testkit/playertestkit.h"
#include "engine/player/videostate.h"

namespace {

class QueueClockTest : public TPlayerTestBase {
 protected:
  std::unique_ptr<TVideoState> State = std::make_unique<TVideoState>();
  AVStream FakeStream{};  // only its presence matters here
};

AVPacket* PacketOf(Integer ASize) {
  AVPacket* p = ff::av_packet_alloc();
  ff::av_new_packet(p, ASize);
  return p;
}

TEST_F(QueueClockTest, PacketsCountTheirPayloadAndANodeOverhead) {
  TPacketQueue& q = State->videoq;
  PacketQueueInit(q);
  AVPacket* p = PacketOf(1000);
  ASSERT_EQ(PacketQueuePut(q, p), 0);
  EXPECT_EQ(p->data, nullptr) << "the queue took the data over";
  EXPECT_EQ(q.nb_packets, 1);
  EXPECT_EQ(q.size, 1072);
  AVPacket flush{};
  flush.data = reinterpret_cast<uint8_t*>(const_cast<char*>(FlushPacketData));
  ASSERT_EQ(PacketQueuePut(q, &flush), 0);
  EXPECT_EQ(q.size, 1072 + 72);

  AVPacket* out = ff::av_packet_alloc();
  ASSERT_EQ(PacketQueueGet(q, out, false), 1);
  EXPECT_EQ(out->size, 1000);
  EXPECT_FALSE(IsFlushPacket(out));
  ASSERT_EQ(PacketQueueGet(q, out, false), 1);
  EXPECT_TRUE(IsFlushPacket(out)) << "the flush packet keeps its marker";
  out->data = nullptr;
  EXPECT_EQ(PacketQueueGet(q, out, false), 0) << "empty and not blocking";
  EXPECT_EQ(q.size, 0);

  ff::av_packet_free(&p);  // its data went to the queue; the packet itself is still ours
  ASSERT_EQ(PacketQueuePut(q, p = PacketOf(10)), 0);
  ff::av_packet_free(&p);
  PacketQueueFlush(q);
  EXPECT_EQ(q.nb_packets, 0);
  EXPECT_EQ(q.size, 0);
  ff::av_packet_free(&out);
  PacketQueueEnd(q);
}

TEST_F(QueueClockTest, ABlockedGetWakesForAPacketAndForTheAbort) {
  TPacketQueue& q = State->audioq;
  PacketQueueInit(q);
  std::atomic<Integer> result{99};
  AVPacket* out = ff::av_packet_alloc();
  std::thread consumer([&] { result = PacketQueueGet(q, out, true); });
  AVPacket* p = PacketOf(5);
  PacketQueuePut(q, p);
  consumer.join();
  EXPECT_EQ(result, 1);
  std::thread waiter([&] { result = PacketQueueGet(q, out, true); });
  PacketQueueAbort(q);
  waiter.join();
  EXPECT_EQ(result, -1);
  EXPECT_EQ(PacketQueueGet(q, out, false), -1) << "an aborted queue stays aborted";
  ff::av_packet_free(&p);
  ff::av_packet_free(&out);
  PacketQueueEnd(q);
}

TEST_F(QueueClockTest, DueTimesFollowThePictureDistances) {
  // Audio master without an audio stream: the video clock rules and nothing is re-timed.
  TVideoState& is = *State;
  is.av_sync_type = AV_SYNC_AUDIO_MASTER;
  is.frame_timer = 100.0;
  is.frame_last_pts = 0;
  struct TStep {
    double Pts, Timer, LastDelay;
  };
  const TStep steps[] = {
      {0.04, 100.04, 0.04},                        // the distance becomes the delay
      {0.08, 100.08, 0.04}, {0.08, 100.12, 0.04},  // not increasing: the previous distance again
      {20.0, 100.16, 0.04},                        // a jump of 10 s or more: the previous distance again
      {20.1, 100.26, 0.1},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Pts);
    EXPECT_NEAR(ComputeTargetTime(is, s.Pts), s.Timer, 1e-9);
    EXPECT_NEAR(is.frame_last_delay, s.LastDelay, 1e-9);
  }
}

TEST_F(QueueClockTest, LateAndEarlyPicturesAgainstTheAudioClock) {
  TVideoState& is = *State;
  is.av_sync_type = AV_SYNC_AUDIO_MASTER;
  is.audio_st = &FakeStream;  // audio clock = audio_clock (no device rate)
  is.paused = 1;              // video clock = the shown picture's pts
  is.video_current_pts = 5.0;
  struct TCase {
    const char* Name;
    double AudioClock, Delay;
  };
  const TCase cases[] = {
      {"in sync", 5.0, 0.04},
      {"video late", 5.5, 0.0},
      {"video early", 4.5, 0.08},
      {"too far apart to correct", 20.0, 0.04},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    is.audio_clock = c.AudioClock;
    is.frame_timer = 0;
    is.frame_last_pts = 1.0;
    EXPECT_NEAR(ComputeTargetTime(is, 1.04), c.Delay, 1e-9);
  }
}

TEST_F(QueueClockTest, TheMasterClockFollowsTheSyncTypeAndTheStreamsPresent) {
  TVideoState& is = *State;
  is.paused = 1;
  is.video_current_pts = 3.0;
  is.audio_clock = 7.0;
  is.av_sync_type = AV_SYNC_AUDIO_MASTER;
  EXPECT_EQ(GetMasterClock(is), 3.0) << "no audio stream: the video clock";
  is.audio_st = &FakeStream;
  EXPECT_EQ(GetMasterClock(is), 7.0);
  is.av_sync_type = AV_SYNC_VIDEO_MASTER;
  EXPECT_EQ(GetMasterClock(is), 7.0) << "no video stream: the audio clock";
  is.video_st = &FakeStream;
  EXPECT_EQ(GetMasterClock(is), 3.0);
  is.av_sync_type = AV_SYNC_EXTERNAL_CLOCK;
  EXPECT_NEAR(GetMasterClock(is), NowSeconds(), 1.0) << "never fed: the wall time";
  // The audio clock stands back by the bytes not yet handed to the device.
  is.audio_out_rate = 1000;
  is.audio_out_channels = 2;
  is.audio_buf_size = 400;
  is.audio_buf_index = 0;
  EXPECT_NEAR(GetAudioClock(is), 6.9, 1e-9);
  is.paused = 0;
  is.video_current_pts_drift = 0;
  is.StartTime = 1500000;
  EXPECT_EQ(GetVideoClock(is, 50.0), 1.5) << "no picture shown yet: the start time";
}

TEST_F(QueueClockTest, AudioCorrectionIsLimitedToTenPercent) {
  struct TCase {
    double Diff;
    Integer Size;
  };
  // 4000 bytes of stereo 16-bit at 10 kHz: 1000 frames of 4 bytes.
  const TCase cases[] = {{0.0, 4000}, {0.005, 4200}, {1.0, 4400}, {-0.005, 3800}, {-1.0, 3600}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Diff);
    EXPECT_EQ(CorrectedAudioSize(4000, c.Diff, 10000, 4, AUDIO_BUFFER_SIZE), c.Size);
  }
  EXPECT_EQ(CorrectedAudioSize(AUDIO_BUFFER_SIZE - 4, 1.0, 10000, 4, AUDIO_BUFFER_SIZE), AUDIO_BUFFER_SIZE)
      << "never past the buffer";
}

TEST_F(QueueClockTest, SynchronizeAudioAveragesBeforeItCorrectsAndRepeatsTheLastFrame) {
  TVideoState& is = *State;
  is.audio_st = &FakeStream;
  is.audio_out_rate = 10000;
  is.audio_out_channels = 2;
  is.audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
  is.audio_diff_threshold = 2048.0 / 10000;
  int16_t* samples = reinterpret_cast<int16_t*>(is.audio_buf1);
  for (Integer i = 0; i < 2000; ++i) samples[i] = int16_t(i);
  is.av_sync_type = AV_SYNC_AUDIO_MASTER;
  EXPECT_EQ(SynchronizeAudio(is, samples, 4000, 0), 4000) << "audio is the master: nothing to correct";
  // Video master: audio 1 s ahead of the shown picture.
  is.av_sync_type = AV_SYNC_VIDEO_MASTER;
  is.video_st = &FakeStream;
  is.paused = 1;
  is.video_current_pts = 4.0;
  is.audio_clock = 5.0;
  for (Integer i = 0; i < 20; ++i) EXPECT_EQ(SynchronizeAudio(is, samples, 4000, 0), 4000) << "call " << i;
  EXPECT_EQ(SynchronizeAudio(is, samples, 4000, 0), 4400);
  EXPECT_EQ(samples[2000], 1998) << "the last frame repeated";
  EXPECT_EQ(samples[2001], 1999);
  EXPECT_EQ(samples[2199], 1999);
  is.audio_clock = 14.5;
  EXPECT_EQ(SynchronizeAudio(is, samples, 4000, 0), 4000)
      << "10 s or more: no correction, averaging restarts";
  EXPECT_EQ(is.audio_diff_avg_count, 0);
}

}  // namespace
