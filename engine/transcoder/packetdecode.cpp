// One input packet: decoded when an output re-encodes its stream (one packet may give several
// frames), the stream's clock moved on, and every frame or the packet itself handed to the outputs
// the stream feeds. Without a packet the decoder and then those outputs' encoders are drained.
#include <thread>

#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/transcoder/streamtables.h"

namespace {

constexpr Integer MinSamplesSize = 192000;

// The decoded samples of AFrame as packed 16-bit at their rate and layout, into ATask's sample
// buffer; their byte count, or -1.
Integer SamplesToS16(TCustomFFmpeg& ATask, TAVInputStream& AIst, const AVFrame* AFrame) {
  AVChannelLayout layout{};
  if (AFrame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || AFrame->ch_layout.nb_channels == 0) {
    const Integer count =
        AFrame->ch_layout.nb_channels ? AFrame->ch_layout.nb_channels : AIst.dec->ch_layout.nb_channels;
    ff::av_channel_layout_default(&layout, count > 0 ? count : 1);
  } else {
    ff::av_channel_layout_copy(&layout, &AFrame->ch_layout);
  }
  struct TUninit {
    AVChannelLayout& l;
    ~TUninit() { ff::av_channel_layout_uninit(&l); }
  } uninit{layout};
  if (!AIst.to_s16 || AIst.s16_format != AFrame->format || AIst.s16_rate != AFrame->sample_rate ||
      ff::av_channel_layout_compare(&AIst.s16_layout, &layout) != 0) {
    AIst.to_s16.reset();
    SwrContext* swr = nullptr;
    const Integer ret =
        ff::swr_alloc_set_opts2(&swr, &layout, AV_SAMPLE_FMT_S16, AFrame->sample_rate, &layout,
                                AVSampleFormat(AFrame->format), AFrame->sample_rate, 0, nullptr);
    TSwrContextHolder holder(swr);
    if (ret < 0 || ff::swr_init(swr) < 0) return -1;
    AIst.to_s16 = std::move(holder);
    ff::av_channel_layout_uninit(&AIst.s16_layout);
    ff::av_channel_layout_copy(&AIst.s16_layout, &layout);
    AIst.s16_rate = AFrame->sample_rate;
    AIst.s16_format = AFrame->format;
  }
  const Integer channels = layout.nb_channels;
  const Integer room = AFrame->nb_samples + 64;
  const Cardinal needed = Cardinal(std::max<Integer>(room * channels * 2, MinSamplesSize));
  if (ATask.FState->samples_size < needed) {
    ATask.FState->samples.reset(static_cast<int16_t*>(ff::av_malloc(needed)));
    ATask.FState->samples_size = ATask.FState->samples ? needed : 0;
    if (!ATask.FState->samples) return -1;
  }
  uint8_t* out[1] = {reinterpret_cast<uint8_t*>(ATask.FState->samples.get())};
  const Integer count = ff::swr_convert(
      AIst.to_s16.get(), out, room, const_cast<const uint8_t**>(AFrame->extended_data), AFrame->nb_samples);
  return count < 0 ? -1 : count * channels * 2;
}

void ScaleVolume(int16_t* ASamples, Integer ACount, Integer AVolume) {
  for (Integer i = 0; i < ACount; ++i) {
    const Integer v = (ASamples[i] * AVolume + 128) >> 8;
    ASamples[i] = int16_t(std::clamp(v, -32768, 32767));
  }
}

}  // namespace

Integer TCustomFFmpeg::ProcessPacket(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket) {
  TConvertState& s = *FState;
  TAVInputStream& ist = AInStream;
  const Integer type = ist.st->codecpar->codec_type;
  if (ist.next_pts == AV_NOPTS_VALUE) ist.next_pts = ist.pts;
  if (APacket && APacket->dts != AV_NOPTS_VALUE)
    ist.next_pts = ist.pts = ff::av_rescale_q(APacket->dts, ist.st->time_base, AV_TIME_BASE_Q);

  // The outputs of one frame (or of the packet, for stream copy).
  auto output = [&](AVFrame* APicture, const uint8_t* ASamples, Integer ASampleBytes, AVSubtitle* ASubtitle) {
    if (FPending.rate_emu) {
      const Int64 ahead = ist.pts - (ff::av_gettime() - ist.start);
      if (ahead > 1000) std::this_thread::sleep_for(std::chrono::milliseconds(ahead / 1000));
    }
    const bool filtered =
        FPending.EnableFilter && type == AVMEDIA_TYPE_VIDEO && ist.out_video_filter && APicture;
    if (filtered) {
      APicture->pts = ist.pts;
      if (ff::av_buffersrc_add_frame_flags(ist.input_video_filter, APicture, AV_BUFFERSRC_FLAG_KEEP_REF) < 0)
        return;
    }
    const bool beforeStart = (FPending.start_time != 0 && ist.pts < FPending.start_time) ||
                             (ist.pts < 0 && Finput_files[size_t(ist.file_index)]->Seeked);
    if (beforeStart) {
      if (filtered)
        while (ff::av_buffersink_get_frame(ist.out_video_filter, ist.filtered.get()) >= 0)
          ff::av_frame_unref(ist.filtered.get());
      return;
    }
    auto toOutputs = [&](AVFrame* APic) {
      for (auto& p : s.ost_table) {
        TAVOutputStream& ost = *p;
        if (ost.source_index != AIstIndex) continue;
        AVFormatContext* oc = Foutput_files[size_t(ost.file_index)]->ctx;
        if (ost.encoding_needed) {
          switch (ost.enc->codec_type) {
            case AVMEDIA_TYPE_AUDIO:
              if (ASamples) DoAudioOut(oc, ost, ist, ASamples, ASampleBytes);
              break;
            case AVMEDIA_TYPE_VIDEO:
              if (APic) {
                Integer frameSize = 0;
                DoVideoOut(oc, ost, ist, APic, frameSize);
                if (FPending.vstats_filename && frameSize) DoVideoStats(ost, frameSize);
              }
              break;
            case AVMEDIA_TYPE_SUBTITLE:
              if (ASubtitle) DoSubtitleOut(oc, ost, ist, ASubtitle, APacket ? APacket->pts : AV_NOPTS_VALUE);
              break;
            default:
              throw FFmpegException("invalid codec_type");
          }
        } else if (APacket) {
          // Stream copy.
          const Int64 offset = ff::av_rescale_q(FPending.start_time, AV_TIME_BASE_Q, ost.st->time_base);
          if (ost.frame_number == 0 && !(APacket->flags & AV_PKT_FLAG_KEY) &&
              !FPending.copy_initial_nonkeyframes)
            continue;
          if (type == AVMEDIA_TYPE_AUDIO) {
            FCounters.audio_size += APacket->size;
          } else if (type == AVMEDIA_TYPE_VIDEO) {
            FCounters.video_size += APacket->size;
            ++ost.sync_opts;
          }
          AVPacket* opkt = s.packet.get();
          ff::av_packet_unref(opkt);
          if (ff::av_packet_ref(opkt, APacket) < 0) throw FFmpegException("av_mallocz fail");
          opkt->stream_index = ost.st->index;
          opkt->pts = APacket->pts != AV_NOPTS_VALUE
                          ? ff::av_rescale_q(APacket->pts, ist.st->time_base, ost.st->time_base) - offset
                          : AV_NOPTS_VALUE;
          opkt->dts = (APacket->dts != AV_NOPTS_VALUE
                           ? ff::av_rescale_q(APacket->dts, ist.st->time_base, ost.st->time_base)
                           : ff::av_rescale_q(ist.pts, AV_TIME_BASE_Q, ost.st->time_base)) -
                      offset;
          opkt->duration = ff::av_rescale_q(APacket->duration, ist.st->time_base, ost.st->time_base);
          try {
            WriteFrame(oc, opkt, ost);
          } catch (...) {
            ff::av_packet_unref(opkt);
            throw;
          }
          ff::av_packet_unref(opkt);
          ++ost.frame_number;
        }
      }
    };
    if (filtered) {
      while (ff::av_buffersink_get_frame(ist.out_video_filter, ist.filtered.get()) >= 0) {
        if (ist.filtered->pts != AV_NOPTS_VALUE) ist.pts = ist.filtered->pts;
        for (auto& p : s.ost_table)
          if (p->source_index == AIstIndex && p->encoding_needed && ist.filtered->sample_aspect_ratio.num)
            p->enc->sample_aspect_ratio = ist.filtered->sample_aspect_ratio;
        try {
          toOutputs(ist.filtered.get());
        } catch (...) {
          ff::av_frame_unref(ist.filtered.get());
          throw;
        }
        ff::av_frame_unref(ist.filtered.get());
      }
    } else {
      toOutputs(APicture);
    }
  };

  if (ist.decoding_needed) {
    if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) {
      if (!ist.frame) ist.frame.reset(ff::av_frame_alloc());
      if (!ist.frame) return -1;
      if (type == AVMEDIA_TYPE_VIDEO && !ist.filtered) ist.filtered.reset(ff::av_frame_alloc());
      if (type == AVMEDIA_TYPE_VIDEO && !ist.filtered) return -1;
      if (!ist.decoder_drained) {
        if (!APacket) ist.decoder_drained = true;
        const Integer ret = ff::avcodec_send_packet(ist.dec, APacket);
        if (ret < 0 && ret != AVERROR_EOF && ret != AVERROR(EAGAIN)) return -1;
      }
      Integer frames = 0;
      for (;;) {
        const Integer ret = ff::avcodec_receive_frame(ist.dec, ist.frame.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) break;
        if (ret < 0) return -1;
        struct TUnref {
          AVFrame* f;
          ~TUnref() { ff::av_frame_unref(f); }
        } unref{ist.frame.get()};
        if (++frames == 2 && APacket &&
            ((!ist.showed_multi_packet_warning && FPending.verbose > 0) || FPending.verbose > 1)) {
          GetFFLogger()->Log(this, llError, "Multiple frames in a packet from stream %d",
                             APacket->stream_index);
          ist.showed_multi_packet_warning = true;
        }
        // A frame-threaded decoder gives its pictures some packets late; each carries the time of
        // the packet that would have given it without threads, and that time is the picture's.
        if (type == AVMEDIA_TYPE_VIDEO && (ist.dec->active_thread_type & FF_THREAD_FRAME) &&
            ist.frame->pkt_dts != AV_NOPTS_VALUE && ist.frame->pkt_dts != ist.last_frame_pkt_dts) {
          ist.last_frame_pkt_dts = ist.frame->pkt_dts;
          ist.next_pts = ff::av_rescale_q(ist.frame->pkt_dts, ist.st->time_base, AV_TIME_BASE_Q);
        }
        ist.pts = ist.next_pts;
        if (type == AVMEDIA_TYPE_AUDIO) {
          const Integer size = SamplesToS16(*this, ist, ist.frame.get());
          if (size < 0) return -1;
          if (size == 0) continue;
          const Integer channels = ist.s16_layout.nb_channels;
          ist.next_pts += (Int64(1000000 / 2) * size) / (Int64(ist.s16_rate) * channels);
          if (FPending.audio_volume != 256)
            ScaleVolume(FState->samples.get(), size / 2, FPending.audio_volume);
          output(nullptr, reinterpret_cast<const uint8_t*>(FState->samples.get()), size, nullptr);
        } else {
          ist.quality = Single(ist.frame->quality);
          const AVRational tb = ist.dec->time_base;
          if (tb.num != 0)
            ist.next_pts += Int64(1000000) * tb.num * (2 + ist.frame->repeat_pict) / (2 * Int64(tb.den));
          PreProcessVideoFrame(ist, ist.frame.get());
          output(ist.frame.get(), nullptr, 0, nullptr);
        }
      }
    } else if (type == AVMEDIA_TYPE_SUBTITLE) {
      if (APacket) {
        ist.pts = ist.next_pts;
        AVSubtitle subtitle{};
        int got = 0;
        if (ff::avcodec_decode_subtitle2(ist.dec, &subtitle, &got, const_cast<AVPacket*>(APacket)) < 0)
          return -1;
        if (got) {
          struct TFree {
            AVSubtitle& s;
            ~TFree() { ff::avsubtitle_free(&s); }
          } freeSubtitle{subtitle};
          output(nullptr, nullptr, 0, &subtitle);
        }
      }
    } else {
      return -1;
    }
  } else if (APacket) {
    ist.pts = ist.next_pts;
    const AVCodecParameters* par = ist.st->codecpar;
    if (APacket->duration > 0) {
      ist.next_pts += ff::av_rescale_q(APacket->duration, ist.st->time_base, AV_TIME_BASE_Q);
    } else if (type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0) {
      ist.next_pts += Int64(1000000) * par->frame_size / par->sample_rate;
    } else if (type == AVMEDIA_TYPE_VIDEO && ist.dec && ist.dec->time_base.num != 0) {
      ist.next_pts += Int64(1000000) * ist.dec->time_base.num / ist.dec->time_base.den;
    }
    output(nullptr, nullptr, 0, nullptr);
  }

  // The end of the input: the encoders this stream feeds give what they hold back.
  if (!APacket && !s.keep_encoders_open)
    for (auto& p : s.ost_table)
      if (p->source_index == AIstIndex && p->encoding_needed) FlushEncoder(*p);
  return 0;
}
