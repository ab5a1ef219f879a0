// Audio: decoded inside SDL's audio callback (send/receive), resampled to packed signed 16-bit
// with at most two channels, kept for the audio display, corrected towards the master clock and
// mixed into the device buffer at the player's volume (silence when muted, paused or starved).
#include <algorithm>
#include <cstring>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/sdlstubs.h"
#include "engine/player/playerstages.h"

namespace {

constexpr Integer SilenceBytes = 1024;

// Makes the resampler for the decoded format; false when it cannot be had.
bool PrepareResampler(TVideoState* is, const AVFrame* AFrame) {
  const Integer channels = AFrame->ch_layout.nb_channels;
  if (is->swr_ctx && is->swr_src_fmt == AFrame->format && is->swr_src_rate == AFrame->sample_rate &&
      is->swr_src_channels == channels)
    return true;
  is->swr_ctx.reset();
  AVChannelLayout in{}, out{};
  if (AFrame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    ff::av_channel_layout_default(&in, channels);
  else
    ff::av_channel_layout_copy(&in, &AFrame->ch_layout);
  ff::av_channel_layout_default(&out, is->audio_out_channels);
  SwrContext* swr = nullptr;
  const Integer r = ff::swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_S16, is->audio_out_rate, &in,
                                            AVSampleFormat(AFrame->format), AFrame->sample_rate, 0, nullptr);
  ff::av_channel_layout_uninit(&in);
  ff::av_channel_layout_uninit(&out);
  is->swr_ctx.reset(swr);
  if (r < 0 || ff::swr_init(swr) < 0) {
    is->swr_ctx.reset();
    const char* name = ff::av_get_sample_fmt_name(AVSampleFormat(AFrame->format));
    is->Owner->ReportError(
        String("Cannot convert ") + (name ? name : "?") + " sample format to s16 sample format", false);
    return false;
  }
  is->swr_src_fmt = AFrame->format;
  is->swr_src_rate = AFrame->sample_rate;
  is->swr_src_channels = channels;
  return true;
}

bool NeedsResampling(const TVideoState* is, const AVFrame* AFrame) {
  return AFrame->format != AV_SAMPLE_FMT_S16 || AFrame->ch_layout.nb_channels != is->audio_out_channels ||
         AFrame->sample_rate != is->audio_out_rate;
}

// The bytes of one decoded frame placed in audio_buf; -1 when it gave nothing usable.
Integer ConvertAudioFrame(TVideoState* is, const AVFrame* AFrame) {
  const Integer frameBytes = 2 * is->audio_out_channels;
  if (!NeedsResampling(is, AFrame)) {
    const Integer size =
        std::min(AFrame->nb_samples * frameBytes, AUDIO_BUFFER_SIZE / frameBytes * frameBytes);
    std::memcpy(is->audio_buf1, AFrame->data[0], size_t(size));
    is->audio_buf = is->audio_buf1;
    return size;
  }
  if (!PrepareResampler(is, AFrame)) return -1;
  uint8_t* out[1] = {is->audio_buf2};
  const Integer got = ff::swr_convert(is->swr_ctx.get(), out, AUDIO_BUFFER_SIZE / frameBytes,
                                      const_cast<const uint8_t**>(AFrame->extended_data), AFrame->nb_samples);
  if (got < 0) {
    is->Owner->ReportError("av_audio_convert() failed", false);
    return -1;
  }
  is->audio_buf = is->audio_buf2;
  return got * frameBytes;
}

}  // namespace

Integer AudioDecodeFrame(TVideoState* is, double& APts) {
  TPlayerCore* owner = is->Owner;
  for (;;) {
    while (is->audio_pkt_pending) {
      const Integer r = ff::avcodec_receive_frame(is->audio_ctx.get(), is->audio_frame.get());
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) {
        is->audio_pkt_pending = false;
        break;
      }
      if (r < 0) {
        GetFFLogger()->Log(owner->FPlayer, llInfo, "avcodec_decode_audio2() failed");
        is->audio_pkt_pending = false;
        break;
      }
      const Integer size = ConvertAudioFrame(is, is->audio_frame.get());
      ff::av_frame_unref(is->audio_frame.get());
      if (size <= 0) continue;
      std::lock_guard<std::mutex> hold(is->clock_mutex);
      APts = is->audio_clock;
      is->audio_clock += double(size) / (2.0 * is->audio_out_channels * is->audio_out_rate);
      return size;
    }
    if (is->paused || is->audioq.abort_request) return -1;
    if (PacketQueueGet(is->audioq, is->audio_pkt.get(), false) <= 0) return -1;
    if (IsFlushPacket(is->audio_pkt.get())) {
      is->audio_pkt->data = nullptr;
      ff::avcodec_flush_buffers(is->audio_ctx.get());
      is->swr_ctx.reset();
      is->swr_src_fmt = -1;
      continue;
    }
    if (is->audio_pkt->pts != AV_NOPTS_VALUE) {
      std::lock_guard<std::mutex> hold(is->clock_mutex);
      is->audio_clock = av_q2d(is->audio_st.load()->time_base) * is->audio_pkt->pts;
    }
    const Integer sent = ff::avcodec_send_packet(is->audio_ctx.get(), is->audio_pkt.get());
    ff::av_packet_unref(is->audio_pkt.get());
    if (sent < 0 && sent != AVERROR(EAGAIN)) {
      GetFFLogger()->Log(owner->FPlayer, llInfo, "avcodec_decode_audio2() failed");
      continue;
    }
    is->audio_pkt_pending = true;
  }
}

void UpdateSampleDisplay(TVideoState* is, const int16_t* ASamples, Integer ASize) {
  std::lock_guard<std::mutex> hold(is->sample_mutex);
  Integer count = ASize / 2;
  while (count > 0) {
    const Integer len = std::min(count, SAMPLE_ARRAY_SIZE - is->sample_array_index);
    std::memcpy(is->sample_array + is->sample_array_index, ASamples, size_t(len) * 2);
    ASamples += len;
    is->sample_array_index += len;
    if (is->sample_array_index >= SAMPLE_ARRAY_SIZE) is->sample_array_index = 0;
    count -= len;
  }
}

void SdlAudioCallback(void* AOpaque, Uint8* AStream, int ALength) {
  auto* is = static_cast<TVideoState*>(AOpaque);
  TPlayerCore* owner = is->Owner;
  owner->Faudio_callback_time = ff::av_gettime();
  while (ALength > 0) {
    if (is->audio_buf_index >= Integer(is->audio_buf_size)) {
      double pts = 0;
      const Integer n = AudioDecodeFrame(is, pts);
      if (is->audioq.abort_request) return;
      Cardinal size = SilenceBytes;
      if (n < 0) {
        is->audio_buf = is->audio_buf1;
        std::memset(is->audio_buf1, 0, SilenceBytes);
      } else {
        if (is->show_audio) UpdateSampleDisplay(is, reinterpret_cast<const int16_t*>(is->audio_buf), n);
        size = Cardinal(SynchronizeAudio(*is, reinterpret_cast<int16_t*>(is->audio_buf), n, pts));
      }
      std::lock_guard<std::mutex> hold(is->clock_mutex);
      is->audio_buf_size = size;
      is->audio_buf_index = 0;
    }
    const Integer m = std::min<Integer>(Integer(is->audio_buf_size) - is->audio_buf_index, ALength);
    if (owner->FMute)
      std::memset(AStream, 0, size_t(m));
    else
      libsdl::SDL_MixAudio(AStream, is->audio_buf + is->audio_buf_index, Uint32(m), owner->FAudioVolume);
    AStream += m;
    ALength -= m;
    std::lock_guard<std::mutex> hold(is->clock_mutex);
    is->audio_buf_index += m;
  }
}
