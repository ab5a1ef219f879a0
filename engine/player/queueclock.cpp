// Packet queues, the three clocks and audio-video synchronisation.
#include <algorithm>
#include <cmath>

#include "engine/base/avstubs.h"
#include "engine/player/videostate.h"

const char FlushPacketData[] = "FLUSH";

bool IsFlushPacket(const AVPacket* APacket) {
  return APacket && APacket->data == reinterpret_cast<const uint8_t*>(FlushPacketData);
}

void PacketQueueInit(TPacketQueue& q) {
  PacketQueueFlush(q);
  q.abort_request = 0;
  q.initialised = true;
}

Integer PacketQueuePut(TPacketQueue& q, AVPacket* APacket) {
  auto* node = new (std::nothrow) TPacketQueue::TNode;
  if (!node) return -1;
  Integer payload = 0;
  if (!IsFlushPacket(APacket)) {
    node->Packet = ff::av_packet_alloc();
    if (!node->Packet) {
      delete node;
      return -1;
    }
    // A packet without its own buffer (a demuxer's static data) is copied here.
    if (!APacket->buf && APacket->data && ff::av_packet_make_refcounted(APacket) < 0) {
      ff::av_packet_free(&node->Packet);
      delete node;
      return -1;
    }
    ff::av_packet_move_ref(node->Packet, APacket);
    payload = node->Packet->size;
  }
  {
    std::lock_guard<std::mutex> hold(q.mutex);
    if (q.last_pkt)
      q.last_pkt->next = node;
    else
      q.first_pkt = node;
    q.last_pkt = node;
    q.nb_packets++;
    q.size += payload + PacketNodeOverhead;
  }
  q.cond.notify_one();
  return 0;
}

Integer PacketQueueGet(TPacketQueue& q, AVPacket* APacket, bool ABlock) {
  std::unique_lock<std::mutex> hold(q.mutex);
  for (;;) {
    if (q.abort_request) return -1;
    if (TPacketQueue::TNode* node = q.first_pkt) {
      q.first_pkt = node->next;
      if (!q.first_pkt) q.last_pkt = nullptr;
      q.nb_packets--;
      ff::av_packet_unref(APacket);
      if (node->Packet) {
        q.size -= node->Packet->size + PacketNodeOverhead;
        ff::av_packet_move_ref(APacket, node->Packet);
        ff::av_packet_free(&node->Packet);
      } else {
        q.size -= PacketNodeOverhead;
        APacket->data = reinterpret_cast<uint8_t*>(const_cast<char*>(FlushPacketData));
      }
      delete node;
      return 1;
    }
    if (!ABlock) return 0;
    q.cond.wait(hold);
  }
}

void PacketQueueFlush(TPacketQueue& q) {
  std::lock_guard<std::mutex> hold(q.mutex);
  for (TPacketQueue::TNode* node = q.first_pkt; node;) {
    TPacketQueue::TNode* next = node->next;
    if (node->Packet) ff::av_packet_free(&node->Packet);
    delete node;
    node = next;
  }
  q.first_pkt = q.last_pkt = nullptr;
  q.nb_packets = 0;
  q.size = 0;
}

void PacketQueueAbort(TPacketQueue& q) {
  {
    std::lock_guard<std::mutex> hold(q.mutex);
    q.abort_request = 1;
  }
  q.cond.notify_all();
}

void PacketQueueEnd(TPacketQueue& q) {
  PacketQueueFlush(q);
  q.initialised = false;
}

// ---- clocks ----

double NowSeconds() {
  return double(ff::av_gettime()) / 1000000.0;
}

namespace {

// The clocks with clock_mutex held.
double AudioClockLocked(const TVideoState& is) {
  double pts = is.audio_clock;
  if (!is.audio_st) return pts;
  const Integer bytesPerSecond = is.audio_out_rate * 2 * is.audio_out_channels;
  if (bytesPerSecond == 0) return pts;
  const Integer left = Integer(is.audio_buf_size) - is.audio_buf_index;
  return pts - double(left) / bytesPerSecond;
}

double VideoClockLocked(const TVideoState& is, double ANow) {
  if (is.paused) return is.video_current_pts;
  if (is.video_current_pts_drift != 0) return is.video_current_pts_drift + ANow;
  return double(is.StartTime) / 1000000.0;
}

double MasterClockLocked(const TVideoState& is) {
  switch (is.av_sync_type) {
    case AV_SYNC_VIDEO_MASTER:
      return is.video_st ? VideoClockLocked(is, NowSeconds()) : AudioClockLocked(is);
    case AV_SYNC_AUDIO_MASTER:
      return is.audio_st ? AudioClockLocked(is) : VideoClockLocked(is, NowSeconds());
    default:
      return GetExternalClock(is, ff::av_gettime());
  }
}

}  // namespace

double GetAudioClock(const TVideoState& is) {
  std::lock_guard<std::mutex> hold(is.clock_mutex);
  return AudioClockLocked(is);
}

double GetVideoClock(const TVideoState& is, double ANow) {
  std::lock_guard<std::mutex> hold(is.clock_mutex);
  return VideoClockLocked(is, ANow);
}

double GetExternalClock(const TVideoState& is, Int64 ANowMicro) {
  return is.external_clock + double(ANowMicro - is.external_clock_time) * 0.000001;
}

double GetMasterClock(const TVideoState& is) {
  std::lock_guard<std::mutex> hold(is.clock_mutex);
  return MasterClockLocked(is);
}

double ComputeTargetTime(TVideoState& is, double APts) {
  std::lock_guard<std::mutex> hold(is.clock_mutex);
  double delay = APts - is.frame_last_pts;
  if (delay <= 0 || delay >= AV_NOSYNC_THRESHOLD)
    delay = is.frame_last_delay;
  else
    is.frame_last_delay = delay;
  is.frame_last_pts = APts;
  if ((is.av_sync_type == AV_SYNC_AUDIO_MASTER && is.audio_st) || is.av_sync_type == AV_SYNC_EXTERNAL_CLOCK) {
    const double diff = VideoClockLocked(is, NowSeconds()) - MasterClockLocked(is);
    const double threshold = std::max(AV_SYNC_THRESHOLD, delay);
    if (std::fabs(diff) < AV_NOSYNC_THRESHOLD) {
      if (diff <= -threshold)
        delay = 0;
      else if (diff >= threshold)
        delay = 2 * delay;
    }
  }
  is.frame_timer += delay;
  return is.frame_timer;
}

Integer CorrectedAudioSize(Integer ASize, double ADiff, Integer ASampleRate, Integer ABytesPerFrame,
                           Integer ACapacity) {
  Integer wanted = ASize + Integer(std::lround(ADiff * ASampleRate)) * ABytesPerFrame;
  const Integer nb = ASize / ABytesPerFrame;
  const Integer minSize = ((nb * 90) / 100) * ABytesPerFrame;
  const Integer maxSize = ((nb * 110) / 100) * ABytesPerFrame;
  wanted = std::clamp(wanted, minSize, maxSize);
  // The buffer cannot grow past its room: whole frames up to the capacity.
  return std::min(wanted, (ACapacity / ABytesPerFrame) * ABytesPerFrame);
}

Integer SynchronizeAudio(TVideoState& is, int16_t* ASamples, Integer ASize, double) {
  const bool videoMaster = is.av_sync_type == AV_SYNC_VIDEO_MASTER && is.video_st;
  if (!videoMaster && is.av_sync_type != AV_SYNC_EXTERNAL_CLOCK) return ASize;
  const Integer n = 2 * is.audio_out_channels;
  if (n <= 0) return ASize;
  double diff;
  {
    std::lock_guard<std::mutex> hold(is.clock_mutex);
    diff = AudioClockLocked(is) - MasterClockLocked(is);
  }
  if (diff >= AV_NOSYNC_THRESHOLD) {
    is.audio_diff_avg_count = 0;
    is.audio_diff_cum = 0;
    return ASize;
  }
  is.audio_diff_cum = diff + is.audio_diff_avg_coef * is.audio_diff_cum;
  if (is.audio_diff_avg_count < AUDIO_DIFF_AVG_NB) {
    is.audio_diff_avg_count++;
    return ASize;
  }
  const double avg = is.audio_diff_cum * (1.0 - is.audio_diff_avg_coef);
  if (std::fabs(avg) < is.audio_diff_threshold) return ASize;
  const Integer wanted = CorrectedAudioSize(ASize, diff, is.audio_out_rate, n, AUDIO_BUFFER_SIZE);
  if (wanted > ASize) {
    // Repeat the last sample frame.
    auto* bytes = reinterpret_cast<uint8_t*>(ASamples);
    const uint8_t* last = bytes + ASize - n;
    for (Integer at = ASize; at < wanted; at += n) std::memcpy(bytes + at, last, size_t(n));
  }
  return wanted;
}
