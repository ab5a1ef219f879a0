// One input packet: decoded when an output re-encodes its stream (one packet may give several
// frames), the stream's clock moved on, and every frame or the packet itself handed to the outputs
// the stream feeds. Without a packet the decoder and then those outputs' encoders are drained.
#include <thread>

#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/transcoder/streamtables.h"

namespace {

constexpr Integer MinSamplesSize = 192000;

// The decoded samples of AFrame as packed 16-bit at their rate and layout, into the run state's sample
// buffer; their byte count, or -1.
Integer SamplesToS16(TConvertState& AState, TAVInputStream& AIst, const AVFrame* AFrame) {
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
  if (AState.samples_size < needed) {
    AState.samples.reset(static_cast<int16_t*>(ff::av_malloc(needed)));
    AState.samples_size = AState.samples ? needed : 0;
    if (!AState.samples) return -1;
  }
  uint8_t* out[1] = {reinterpret_cast<uint8_t*>(AState.samples.get())};
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

// What one decoded frame (or the packet itself, for stream copy) gives the outputs.
struct TCustomFFmpeg::TDecodedOutput {
  AVFrame* Picture = nullptr;
  const uint8_t* Samples = nullptr;
  Integer SampleBytes = 0;
  AVSubtitle* Subtitle = nullptr;
};

void TCustomFFmpeg::PaceToRealTime(const TAVInputStream& AInStream) {
  if (!FPending.rate_emu) return;
  const Int64 ahead = AInStream.pts - (ff::av_gettime() - AInStream.start);
  if (ahead > 1000) std::this_thread::sleep_for(std::chrono::milliseconds(ahead / 1000));
}

bool TCustomFFmpeg::IsBeforeStart(const TAVInputStream& AInStream) const {
  return (FPending.start_time != 0 && AInStream.pts < FPending.start_time) ||
         (AInStream.pts < 0 && Finput_files[size_t(AInStream.file_index)]->Seeked);
}

void TCustomFFmpeg::CopyPacketToOutput(TAVOutputStream& AOutStream, TAVInputStream& AInStream,
                                       const AVPacket* APacket) {
  TAVOutputStream& ost = AOutStream;
  TAVInputStream& ist = AInStream;
  const Integer type = ist.st->codecpar->codec_type;
  const Int64 offset = ff::av_rescale_q(FPending.start_time, AV_TIME_BASE_Q, ost.st->time_base);
  if (ost.frame_number == 0 && !(APacket->flags & AV_PKT_FLAG_KEY) && !FPending.copy_initial_nonkeyframes)
    return;
  if (type == AVMEDIA_TYPE_AUDIO) {
    FCounters.audio_size += APacket->size;
  } else if (type == AVMEDIA_TYPE_VIDEO) {
    FCounters.video_size += APacket->size;
    ++ost.sync_opts;
  }
  AVPacket* opkt = FState->packet.get();
  ff::av_packet_unref(opkt);
  if (ff::av_packet_ref(opkt, APacket) < 0) throw FFmpegException("av_mallocz fail");
  opkt->stream_index = ost.st->index;
  opkt->pts = APacket->pts != AV_NOPTS_VALUE
                  ? ff::av_rescale_q(APacket->pts, ist.st->time_base, ost.st->time_base) - offset
                  : AV_NOPTS_VALUE;
  opkt->dts =
      (APacket->dts != AV_NOPTS_VALUE ? ff::av_rescale_q(APacket->dts, ist.st->time_base, ost.st->time_base)
                                      : ff::av_rescale_q(ist.pts, AV_TIME_BASE_Q, ost.st->time_base)) -
      offset;
  opkt->duration = ff::av_rescale_q(APacket->duration, ist.st->time_base, ost.st->time_base);
  try {
    WriteFrame(Foutput_files[size_t(ost.file_index)]->ctx.get(), opkt, ost);
  } catch (...) {
    ff::av_packet_unref(opkt);
    throw;
  }
  ff::av_packet_unref(opkt);
  ++ost.frame_number;
}

void TCustomFFmpeg::SendToOutputs(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket,
                                  const TDecodedOutput& AOut, AVFrame* APicture) {
  for (auto& p : FState->ost_table) {
    TAVOutputStream& ost = *p;
    if (ost.source_index != AIstIndex) continue;
    if (!ost.encoding_needed) {
      if (APacket) CopyPacketToOutput(ost, AInStream, APacket);
      continue;
    }
    AVFormatContext* oc = Foutput_files[size_t(ost.file_index)]->ctx.get();
    switch (ost.enc->codec_type) {
      case AVMEDIA_TYPE_AUDIO:
        if (AOut.Samples) DoAudioOut(oc, ost, AInStream, AOut.Samples, AOut.SampleBytes);
        break;
      case AVMEDIA_TYPE_VIDEO:
        if (APicture) {
          Integer frameSize = 0;
          DoVideoOut(oc, ost, AInStream, APicture, frameSize);
          if (FPending.vstats_filename && frameSize) DoVideoStats(ost, frameSize);
        }
        break;
      case AVMEDIA_TYPE_SUBTITLE:
        if (AOut.Subtitle)
          DoSubtitleOut(oc, ost, AInStream, AOut.Subtitle, APacket ? APacket->pts : AV_NOPTS_VALUE);
        break;
      default:
        throw FFmpegException("invalid codec_type");
    }
  }
}

void TCustomFFmpeg::SendFilteredToOutputs(TAVInputStream& AInStream, Integer AIstIndex,
                                          const AVPacket* APacket, const TDecodedOutput& AOut) {
  TAVInputStream& ist = AInStream;
  while (ff::av_buffersink_get_frame(ist.out_video_filter, ist.filtered.get()) >= 0) {
    if (ist.filtered->pts != AV_NOPTS_VALUE) ist.pts = ist.filtered->pts;
    for (auto& p : FState->ost_table)
      if (p->source_index == AIstIndex && p->encoding_needed && ist.filtered->sample_aspect_ratio.num)
        p->enc->sample_aspect_ratio = ist.filtered->sample_aspect_ratio;
    try {
      SendToOutputs(ist, AIstIndex, APacket, AOut, ist.filtered.get());
    } catch (...) {
      ff::av_frame_unref(ist.filtered.get());
      throw;
    }
    ff::av_frame_unref(ist.filtered.get());
  }
}

void TCustomFFmpeg::OutputDecoded(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket,
                                  const TDecodedOutput& AOut) {
  TAVInputStream& ist = AInStream;
  PaceToRealTime(ist);
  const bool filtered = FPending.EnableFilter && ist.st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                        ist.out_video_filter && AOut.Picture;
  if (filtered) {
    AOut.Picture->pts = ist.pts;
    if (ff::av_buffersrc_add_frame_flags(ist.input_video_filter, AOut.Picture, AV_BUFFERSRC_FLAG_KEEP_REF) <
        0)
      return;
  }
  if (IsBeforeStart(ist)) {
    if (filtered)
      while (ff::av_buffersink_get_frame(ist.out_video_filter, ist.filtered.get()) >= 0)
        ff::av_frame_unref(ist.filtered.get());
    return;
  }
  if (filtered)
    SendFilteredToOutputs(ist, AIstIndex, APacket, AOut);
  else
    SendToOutputs(ist, AIstIndex, APacket, AOut, AOut.Picture);
}

Integer TCustomFFmpeg::OutputDecodedSamples(TAVInputStream& AInStream, Integer AIstIndex,
                                            const AVPacket* APacket) {
  TAVInputStream& ist = AInStream;
  const Integer size = SamplesToS16(*FState, ist, ist.frame.get());
  if (size <= 0) return size;
  const Integer channels = ist.s16_layout.nb_channels;
  ist.next_pts += (Int64(1000000 / 2) * size) / (Int64(ist.s16_rate) * channels);
  if (FPending.audio_volume != 256) ScaleVolume(FState->samples.get(), size / 2, FPending.audio_volume);
  TDecodedOutput out;
  out.Samples = reinterpret_cast<const uint8_t*>(FState->samples.get());
  out.SampleBytes = size;
  OutputDecoded(ist, AIstIndex, APacket, out);
  return size;
}

void TCustomFFmpeg::OutputDecodedPicture(TAVInputStream& AInStream, Integer AIstIndex,
                                         const AVPacket* APacket) {
  TAVInputStream& ist = AInStream;
  ist.quality = Single(ist.frame->quality);
  const AVRational tb = ist.dec->time_base;
  if (tb.num != 0)
    ist.next_pts += Int64(1000000) * tb.num * (2 + ist.frame->repeat_pict) / (2 * Int64(tb.den));
  PreProcessVideoFrame(ist, ist.frame.get());
  TDecodedOutput out;
  out.Picture = ist.frame.get();
  OutputDecoded(ist, AIstIndex, APacket, out);
}

Integer TCustomFFmpeg::DecodeAudioVideo(TAVInputStream& AInStream, Integer AIstIndex,
                                        const AVPacket* APacket) {
  TAVInputStream& ist = AInStream;
  const Integer type = ist.st->codecpar->codec_type;
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
      GetFFLogger()->Log(this, llError, "Multiple frames in a packet from stream %d", APacket->stream_index);
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
      if (OutputDecodedSamples(ist, AIstIndex, APacket) < 0) return -1;
    } else {
      OutputDecodedPicture(ist, AIstIndex, APacket);
    }
  }
  return 0;
}

Integer TCustomFFmpeg::DecodeSubtitle(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket) {
  if (!APacket) return 0;
  TAVInputStream& ist = AInStream;
  ist.pts = ist.next_pts;
  AVSubtitle subtitle{};
  int got = 0;
  if (ff::avcodec_decode_subtitle2(ist.dec, &subtitle, &got, const_cast<AVPacket*>(APacket)) < 0) return -1;
  if (got) {
    struct TFree {
      AVSubtitle& s;
      ~TFree() { ff::avsubtitle_free(&s); }
    } freeSubtitle{subtitle};
    TDecodedOutput out;
    out.Subtitle = &subtitle;
    OutputDecoded(ist, AIstIndex, APacket, out);
  }
  return 0;
}

void TCustomFFmpeg::AdvanceCopiedStream(TAVInputStream& AInStream, Integer AIstIndex,
                                        const AVPacket* APacket) {
  TAVInputStream& ist = AInStream;
  const Integer type = ist.st->codecpar->codec_type;
  ist.pts = ist.next_pts;
  const AVCodecParameters* par = ist.st->codecpar;
  if (APacket->duration > 0) {
    ist.next_pts += ff::av_rescale_q(APacket->duration, ist.st->time_base, AV_TIME_BASE_Q);
  } else if (type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0) {
    ist.next_pts += Int64(1000000) * par->frame_size / par->sample_rate;
  } else if (type == AVMEDIA_TYPE_VIDEO && ist.dec && ist.dec->time_base.num != 0) {
    ist.next_pts += Int64(1000000) * ist.dec->time_base.num / ist.dec->time_base.den;
  }
  OutputDecoded(ist, AIstIndex, APacket, TDecodedOutput{});
}

void TCustomFFmpeg::FlushStreamEncoders(Integer AIstIndex) {
  if (FState->keep_encoders_open) return;
  for (auto& p : FState->ost_table)
    if (p->source_index == AIstIndex && p->encoding_needed) FlushEncoder(*p);
}

Integer TCustomFFmpeg::ProcessPacket(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket) {
  TAVInputStream& ist = AInStream;
  const Integer type = ist.st->codecpar->codec_type;
  if (ist.next_pts == AV_NOPTS_VALUE) ist.next_pts = ist.pts;
  if (APacket && APacket->dts != AV_NOPTS_VALUE)
    ist.next_pts = ist.pts = ff::av_rescale_q(APacket->dts, ist.st->time_base, AV_TIME_BASE_Q);

  if (ist.decoding_needed) {
    Integer ret = -1;
    if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO)
      ret = DecodeAudioVideo(ist, AIstIndex, APacket);
    else if (type == AVMEDIA_TYPE_SUBTITLE)
      ret = DecodeSubtitle(ist, AIstIndex, APacket);
    if (ret < 0) return -1;
  } else if (APacket) {
    AdvanceCopiedStream(ist, AIstIndex, APacket);
  }
  // The end of the input: the encoders this stream feeds give what they hold back.
  if (!APacket) FlushStreamEncoders(AIstIndex);
  return 0;
}
