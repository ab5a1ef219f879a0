// One open file of the player: its packet queues, picture and subtitle rings, clocks and the
// bookkeeping its threads share (read, video, subtitle, refresh, audio callback, play, event).
#pragma once

#include <SDL/SDL.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/base/avholders.h"
#include "engine/player/playertypes.h"
#include "engine/probe/avpicture.h"
#include "platform/rtl/types.h"

class TPlayerCore;

// Payload bytes of a queued packet count this much extra (the old list node's size).
inline constexpr Integer PacketNodeOverhead = 72;

// The data pointer that marks the flush packet.
extern const char FlushPacketData[];
bool IsFlushPacket(const AVPacket* APacket);

// Compressed packets from the read thread to one decoder.
struct TPacketQueue {
  struct TNode {
    AVPacket* Packet = nullptr;  // nullptr: the flush packet
    TNode* next = nullptr;
  };
  TNode* first_pkt = nullptr;
  TNode* last_pkt = nullptr;
  std::atomic<Integer> nb_packets{0};
  std::atomic<Integer> size{0};
  std::atomic<Integer> abort_request{0};
  std::mutex mutex;
  std::condition_variable cond;
  bool initialised = false;
};

void PacketQueueInit(TPacketQueue& q);
// 0, or -1 when the packet could not be referenced or no node allocated. The flush packet (by its
// data pointer) is queued as a marker; any other packet's data is taken over (APacket is left
// blank).
Integer PacketQueuePut(TPacketQueue& q, AVPacket* APacket);
// -1 aborted, 0 empty (only when not blocking), 1 a packet was moved into APacket (the flush
// packet comes out with FlushPacketData as its data).
Integer PacketQueueGet(TPacketQueue& q, AVPacket* APacket, bool ABlock);
void PacketQueueFlush(TPacketQueue& q);
void PacketQueueAbort(TPacketQueue& q);
void PacketQueueEnd(TPacketQueue& q);

inline constexpr Integer VIDEO_PICTURE_QUEUE_SIZE = 2;
inline constexpr Integer SUBPICTURE_QUEUE_SIZE = 4;
inline constexpr Integer SAMPLE_ARRAY_SIZE = 2 * 65536;
inline constexpr Integer AUDIO_BUFFER_SIZE = 288000;

struct TVideoPicture {
  double pts = 0;
  double display_time = 0;
  Int64 pos = 0;
  SDL_Overlay* overlay = nullptr;
  Integer width = 0, height = 0;
  Integer allocated = 0;
  Integer pix_fmt = -1;
  AVRational sample_aspect_ratio{0, 1};
};

struct TSubPicture {
  double pts = 0;
  AVSubtitle sub{};
};

// Locks of the record (each guards the fields its comment names; none is held while taking another,
// except pictq_mutex, which may be held while clock_mutex is taken):
// - clock_mutex: the clocks and what they are computed from: audio_clock, audio_buf_size,
//   audio_buf_index, audio_out_channels, audio_out_rate (written by the audio side, read by every
//   thread), video_clock, frame_timer, frame_last_pts, frame_last_delay, video_current_pts,
//   video_current_pts_drift, video_current_pos, and the change of paused.
// - pictq_mutex: the picture queue (sizes, indexes, pictq_shown, skip_frames and the entries'
//   fields and pixels once the video thread hands them over), so the display and a snapshot read a
//   whole picture, never one being written.
// - sample_mutex: sample_array and sample_array_index (audio callback and audio display).
// - SDL's audio lock: the audio fields the callback reads, set while the device opens.
struct TVideoState {
  alignas(16) uint8_t audio_buf1[AUDIO_BUFFER_SIZE] = {};
  alignas(16) uint8_t audio_buf2[AUDIO_BUFFER_SIZE] = {};
  std::thread parse_tid, video_tid, refresh_tid, subtitle_tid;
  const AVInputFormat* iformat = nullptr;
  std::atomic<Integer> abort_request{0};
  std::atomic<Integer> paused{0};
  Integer last_paused = 0;
  std::atomic<Integer> seek_req{0};
  Integer seek_flags = 0;
  Int64 seek_pos = 0, seek_rel = 0;
  std::atomic<Integer> read_pause_return{0};
  AVFormatContext* ic = nullptr;

  std::atomic<Integer> audio_stream{-1};
  Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;
  double external_clock = 0;
  Int64 external_clock_time = 0;
  double audio_clock = 0;
  double audio_diff_cum = 0, audio_diff_avg_coef = 0, audio_diff_threshold = 0;
  Integer audio_diff_avg_count = 0;
  std::atomic<AVStream*> audio_st{nullptr};
  TCodecContextHolder audio_ctx;
  TPacketQueue audioq;
  Integer audio_hw_buf_size = 0;
  uint8_t* audio_buf = nullptr;
  Cardinal audio_buf_size = 0;
  Integer audio_buf_index = 0;
  TPacketHolder audio_pkt;
  TFrameHolder audio_frame;
  bool audio_pkt_pending = false;  // audio_pkt waits to be sent to the decoder
  TSwrContextHolder swr_ctx;
  // What swr_ctx was made for.
  Integer swr_src_fmt = -1, swr_src_rate = 0, swr_src_channels = 0;
  Integer audio_out_channels = 0;  // channels handed to the device (at most 2)
  Integer audio_out_rate = 0;
  std::atomic<Integer> show_audio{0};
  int16_t sample_array[SAMPLE_ARRAY_SIZE] = {};
  Integer sample_array_index = 0;
  std::mutex sample_mutex;
  std::vector<int16_t> sample_copy;  // the audio display's copy of sample_array
  Integer last_i_start = 0;
  RDFTContext* rdft = nullptr;
  Integer rdft_bits = 0;
  float* rdft_data = nullptr;
  Integer xpos = 0;

  std::atomic<Integer> subtitle_stream{-1};
  std::atomic<Integer> subtitle_stream_changed{0};
  std::atomic<AVStream*> subtitle_st{nullptr};
  TCodecContextHolder subtitle_ctx;
  TPacketQueue subtitleq;
  TSubPicture subpq[SUBPICTURE_QUEUE_SIZE];
  Integer subpq_size = 0, subpq_rindex = 0, subpq_windex = 0;
  std::mutex subpq_mutex;
  std::condition_variable subpq_cond;

  double frame_timer = 0;
  double frame_last_pts = 0;
  double frame_last_delay = 0;
  double video_clock = 0;
  std::atomic<Integer> video_stream{-1};
  std::atomic<AVStream*> video_st{nullptr};
  TCodecContextHolder video_ctx;
  TPacketQueue videoq;
  double video_current_pts = 0;
  double video_current_pts_drift = 0;
  Int64 video_current_pos = 0;
  TVideoPicture pictq[VIDEO_PICTURE_QUEUE_SIZE];
  Integer pictq_size = 0, pictq_rindex = 0, pictq_windex = 0;
  Integer pictq_shown = -1;  // the entry on screen (-1: none, or rewritten since)
  std::mutex pictq_mutex;
  std::condition_variable pictq_cond;
  // The filter output the next picture comes from (what the overlays are sized for).
  Integer out_width = 0, out_height = 0, out_format = -1;
  AVRational out_sample_aspect_ratio{0, 1};
  bool has_filter_output = false;

  String filename;
  Integer width = 0, height = 0, xleft = 0, ytop = 0;
  mutable std::mutex clock_mutex;
  Int64 faulty_pts = 0, faulty_dts = 0;
  Int64 last_dts_for_fault_detection = INT64_MIN, last_pts_for_fault_detection = INT64_MIN;
  float skip_frames = 1, skip_frames_index = 0;
  // The video thread's copy of a hooked picture, handed to the queue like a decoded one.
  TAVMemHolder<uint8_t> hook_buffer;
  TAVPicture hook_picture;
  Integer hook_width = 0, hook_height = 0;
  std::atomic<Integer> refresh{0};
  TPlayerCore* Owner = nullptr;
  std::atomic<Integer> Opened{0};
  Int64 StartTime = 0, Duration = -1;
  std::atomic<Int64> AudioDuration{-1};
  Integer IsImage2 = 0, IsDevice = 0;
  std::atomic<Integer> ErrorEOF{0}, EventEOF{0}, ReachEOF{0}, Reading{0};
  std::atomic<Integer> open_paused{0}, seek_paused{0}, seek_done{0}, seek_flushed{0};
};

// ---- clocks and synchronisation (seconds; ANow is av_gettime() / 1000000) ----
inline constexpr double AV_SYNC_THRESHOLD = 0.01;
inline constexpr double AV_NOSYNC_THRESHOLD = 10.0;
inline constexpr Integer AUDIO_DIFF_AVG_NB = 20;

double NowSeconds();
double GetAudioClock(const TVideoState& is);
double GetVideoClock(const TVideoState& is, double ANow);
double GetExternalClock(const TVideoState& is, Int64 ANowMicro);
double GetMasterClock(const TVideoState& is);
// The wall time at which the picture with APts is due.
double ComputeTargetTime(TVideoState& is, double APts);
// Cuts or stretches the ASize bytes of ASamples (room for AUDIO_BUFFER_SIZE) towards the master
// clock; the new size.
Integer SynchronizeAudio(TVideoState& is, int16_t* ASamples, Integer ASize, double APts);
// The correction of SynchronizeAudio for a given clock difference, after the averaging.
Integer CorrectedAudioSize(Integer ASize, double ADiff, Integer ASampleRate, Integer ABytesPerFrame,
                           Integer ACapacity);
