#include <cmath>
#include <cstring>

#include "engine/base/avstubs.h"
#include "engine/transcoder/transcoder.h"
#include "platform/rtl/format.h"

namespace {

// The sample aspect ratio nearest to d with numerator and denominator at most 255.
AVRational SampleAspectOf(Double d) {
  if (d == 0) return AVRational{0, 1};
  Integer e = Integer(std::log2(std::fabs(d) + 1e-20));
  if (e < 0) e = 0;
  const Int64 den = Int64(1) << (61 - e);
  int num = 0, reducedDen = 0;
  ff::av_reduce(&num, &reducedDen, Int64(std::nearbyint(d * Double(den))), den, 255);
  return AVRational{num, reducedDen};
}

// d of the pending geometry: the display aspect turned into the aspect of one sample.
Double PendingSampleAspect(Integer AWidth, Integer AHeight, Single AAspect) {
  if (AWidth * AHeight != 0) return Double(AHeight) * AAspect / AWidth;
  return Double(AAspect) * 3 / 4;
}

uint16_t* CopyMatrix(const std::array<Word, 64>& AMatrix) {
  auto* copy = static_cast<uint16_t*>(ff::av_malloc(sizeof(uint16_t) * 64));
  if (copy) std::memcpy(copy, AMatrix.data(), sizeof(uint16_t) * 64);
  return copy;
}

}  // namespace

TOutputStreamSetup& TCustomFFmpeg::NewOutputStream(TOpenedOutput& AOutput, Integer AType,
                                                   std::vector<const AVBitStreamFilter*>& APendingFilters) {
  const Integer k = Integer(AOutput.ctx->nb_streams);
  AVStream* st = ff::avformat_new_stream(AOutput.ctx.get(), nullptr);
  if (!st) throw FFmpegException("Could not alloc stream");
  st->id = StreamIdFor(k);
  TOutputStreamSetup setup;
  setup.st = st;
  AllocCodecContext(setup, nullptr, AType);
  setup.bitstream_filters = std::move(APendingFilters);
  APendingFilters.clear();
  setup.CodecOptions = CodecOptionsOf(AType);
  AOutput.streams.push_back(std::move(setup));
  return AOutput.streams.back();
}

void TCustomFFmpeg::AllocCodecContext(TOutputStreamSetup& AStream, const AVCodec* AEncoder, Integer AType) {
  // A context made for its encoder starts from that encoder's defaults (its rate control, its
  // private options), as the context the run opens must.
  AStream.codec.reset(ff::avcodec_alloc_context3(AEncoder));
  if (!AStream.codec) throw FFmpegException("Could not alloc stream");
  AStream.codec->codec_type = AVMediaType(AType);
}

// The strictness a context of the kind has once the generic options are applied.
Integer TCustomFFmpeg::StrictnessAfterOptions(Integer AType, Integer AFlags) {
  TCodecContextHolder probe(ff::avcodec_alloc_context3(nullptr));
  if (!probe) return FF_COMPLIANCE_NORMAL;
  if (AFlags) ApplyFFOptions(FOptions, probe.get(), FOptions.avcodec_opts[AType].get(), AFlags);
  return probe->strict_std_compliance;
}

void TCustomFFmpeg::ApplyRcOverride(AVCodecContext* c) {
  c->rc_override_count = 0;
  if (!FPending.video_rc_override_string) return;
  const char* p = FPending.video_rc_override_string->c_str();
  for (Integer i = 0; p; ++i) {
    char* e = nullptr;
    const Integer start = Integer(ff::strtol(p, &e, 10));
    if (*e != ',') throw FFmpegException("error parsing rc_override");
    const Integer end = Integer(ff::strtol(e + 1, &e, 10));
    if (*e != ',') throw FFmpegException("error parsing rc_override");
    const Integer q = Integer(ff::strtol(e + 1, &e, 10));
    auto* grown =
        static_cast<RcOverride*>(ff::av_realloc_array(c->rc_override, size_t(i + 1), sizeof(RcOverride)));
    if (!grown) throw FFmpegException("error parsing rc_override");
    c->rc_override = grown;
    RcOverride& o = c->rc_override[i];
    o.start_frame = start;
    o.end_frame = end;
    if (q > 0) {
      o.qscale = q;
      o.quality_factor = 1.0f;
    } else {
      o.qscale = 0;
      o.quality_factor = -q / 100.0f;
    }
    c->rc_override_count = i + 1;
    p = std::strchr(e, '/');
    if (p) ++p;
  }
}

void TCustomFFmpeg::new_video_stream(TOpenedOutput& AOutput) {
  try {
    TOutputStreamSetup& s = NewOutputStream(AOutput, mtVideo, FPending.video_bitstream_filters);
    AVCodecContext* holder = FOptions.avcodec_opts[mtVideo].get();
    const AVCodec* slot = nullptr;
    AVCodecID id = AV_CODEC_ID_NONE;
    if (!FPending.video_stream_copy) {
      if (FPending.video_codec_name) {
        // The strictness the generic options ask for counts for video as it does for audio.
        if (!FindCodec(FPending.video_codec_name->c_str(), mtVideo, id,
                       StrictnessAfterOptions(mtVideo, AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM),
                       true))
          throw FFmpegException(FLastErrMsg);
        slot = s.encoder = FindEncoderByName(FPending.video_codec_name->c_str());
      } else {
        id = ff::av_guess_codec(AOutput.ctx->oformat, nullptr, AOutput.ctx->url, nullptr, AVMEDIA_TYPE_VIDEO);
        s.encoder = ff::avcodec_find_encoder(id);
      }
      AllocCodecContext(s, s.encoder, mtVideo);
    }
    AVCodecContext* c = s.codec.get();
    c->thread_count = FPending.thread_count;
    if (FPending.video_codec_tag) c->codec_tag = FPending.video_codec_tag;
    if ((FPending.video_global_header & 1) ||
        (FPending.video_global_header == 0 && (AOutput.ctx->oformat->flags & AVFMT_GLOBALHEADER))) {
      c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      if (holder) holder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (FPending.video_global_header & 2) {
      c->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
      if (holder) holder->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }

    if (FPending.video_stream_copy) {
      s.stream_copy = true;
      c->codec_type = AVMEDIA_TYPE_VIDEO;
      s.st->sample_aspect_ratio = SampleAspectOf(
          PendingSampleAspect(FPending.frame_width, FPending.frame_height, FPending.frame_aspect_ratio));
      c->sample_aspect_ratio = s.st->sample_aspect_ratio;
    } else {
      AVRational fps = FPending.frame_rate.num ? FPending.frame_rate : AVRational{25, 1};
      const AVCodec* codec = s.encoder;
      c->codec_id = id;
      ApplyFFOptions(FOptions, c, holder, AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
      if (codec && codec->supported_framerates && !FPending.force_fps)
        fps = codec->supported_framerates[ff::av_find_nearest_q_idx(fps, codec->supported_framerates)];
      c->time_base = AVRational{fps.den, fps.num};
      c->framerate = fps;
      c->width = FPending.frame_width;
      c->height = FPending.frame_height;
      c->sample_aspect_ratio =
          SampleAspectOf(PendingSampleAspect(c->width, c->height, FPending.frame_aspect_ratio));
      c->pix_fmt = AVPixelFormat(FPending.frame_pix_fmt);
      s.st->sample_aspect_ratio = c->sample_aspect_ratio;
      ChoosePixelFormat(c, codec);
      if (FPending.intra_only) c->gop_size = 0;
      if (FPending.video_qscale != 0 || FPending.same_quality) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        s.quality = FF_QP2LAMBDA * FPending.video_qscale;
        c->global_quality = Integer(s.quality);
      }
      // The context frees its matrices, so it gets copies of the pending ones.
      if (FPending.intra_matrix) c->intra_matrix = CopyMatrix(*FPending.intra_matrix);
      if (FPending.inter_matrix) c->inter_matrix = CopyMatrix(*FPending.inter_matrix);
      ApplyRcOverride(c);
      if (c->rc_initial_buffer_occupancy == 0) c->rc_initial_buffer_occupancy = c->rc_buffer_size * 3 / 4;
      // 5.1 has no motion-estimation threshold; FPending.me_threshold stays with the transcoder.
      c->intra_dc_precision = FPending.intra_dc_precision - 8;
      if (FPending.do_psnr) c->flags |= AV_CODEC_FLAG_PSNR;
      if (FPending.do_pass == 1)
        c->flags |= AV_CODEC_FLAG_PASS1;
      else if (FPending.do_pass)
        c->flags |= AV_CODEC_FLAG_PASS2;
    }
    Foutput_codecs.push_back(slot);
    if (!FPending.video_language.empty()) {
      ff::av_dict_set(&s.st->metadata, "language", FPending.video_language.c_str(), 0);
      FPending.video_language.clear();
    }
  } catch (...) {
    FPending.video_codec_name.reset();
    throw;
  }
  FPending.video_disable = false;
  FPending.video_codec_name.reset();
  FPending.video_stream_copy = 0;
  FPending.frame_pix_fmt = AV_PIX_FMT_NONE;
}

void TCustomFFmpeg::new_audio_stream(TOpenedOutput& AOutput) {
  try {
    TOutputStreamSetup& s = NewOutputStream(AOutput, mtAudio, FPending.audio_bitstream_filters);
    AVCodecContext* holder = FOptions.avcodec_opts[mtAudio].get();
    const AVCodec* slot = nullptr;
    AVCodecID id = AV_CODEC_ID_NONE;
    const Integer flags = AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM;
    if (!FPending.audio_stream_copy) {
      if (FPending.audio_codec_name) {
        if (!FindCodec(FPending.audio_codec_name->c_str(), mtAudio, id,
                       StrictnessAfterOptions(mtAudio, flags), true))
          throw FFmpegException(FLastErrMsg);
        slot = s.encoder = FindEncoderByName(FPending.audio_codec_name->c_str());
      } else {
        id = ff::av_guess_codec(AOutput.ctx->oformat, nullptr, AOutput.ctx->url, nullptr, AVMEDIA_TYPE_AUDIO);
        s.encoder = ff::avcodec_find_encoder(id);
      }
      AllocCodecContext(s, s.encoder, mtAudio);
    }
    AVCodecContext* c = s.codec.get();
    c->thread_count = FPending.thread_count;
    c->codec_type = AVMEDIA_TYPE_AUDIO;
    if (FPending.audio_codec_tag) c->codec_tag = FPending.audio_codec_tag;
    if (AOutput.ctx->oformat->flags & AVFMT_GLOBALHEADER) {
      c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      if (holder) holder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (FPending.audio_stream_copy) {
      s.stream_copy = true;
      ff::av_channel_layout_uninit(&c->ch_layout);
      ff::av_channel_layout_default(&c->ch_layout, FPending.audio_channels);
      c->sample_rate = FPending.audio_sample_rate;
    } else {
      const AVCodec* codec = s.encoder;
      ApplyFFOptions(FOptions, c, holder, flags);
      c->codec_id = id;
      if (FPending.audio_qscale > -99999) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        s.quality = FF_QP2LAMBDA * FPending.audio_qscale;
        c->global_quality = Integer(s.quality);
      }
      // A layout that does not hold the asked channel count gives way to the count's default one.
      ff::av_channel_layout_uninit(&c->ch_layout);
      if (FPending.channel_layout == 0 ||
          ff::av_channel_layout_from_mask(&c->ch_layout, uint64_t(FPending.channel_layout)) < 0 ||
          c->ch_layout.nb_channels != FPending.audio_channels) {
        ff::av_channel_layout_uninit(&c->ch_layout);
        ff::av_channel_layout_default(&c->ch_layout, FPending.audio_channels);
      }
      c->sample_fmt = AVSampleFormat(FPending.audio_sample_fmt);
      c->sample_rate = FPending.audio_sample_rate;
      ChooseSampleFormat(c, codec);
      ChooseSampleRate(c, codec);
    }
    Foutput_codecs.push_back(slot);
    c->time_base = AVRational{1, FPending.audio_sample_rate};
    if (!FPending.audio_language.empty()) {
      ff::av_dict_set(&s.st->metadata, "language", FPending.audio_language.c_str(), 0);
      FPending.audio_language.clear();
    }
  } catch (...) {
    FPending.audio_codec_name.reset();
    FPending.audio_language.clear();
    throw;
  }
  FPending.audio_disable = false;
  FPending.audio_codec_name.reset();
  FPending.audio_stream_copy = 0;
}

void TCustomFFmpeg::new_subtitle_stream(TOpenedOutput& AOutput) {
  try {
    TOutputStreamSetup& s = NewOutputStream(AOutput, mtSubtitle, FPending.subtitle_bitstream_filters);
    AVCodecContext* c = s.codec.get();
    c->codec_type = AVMEDIA_TYPE_SUBTITLE;
    if (FPending.subtitle_codec_tag) c->codec_tag = FPending.subtitle_codec_tag;
    const AVCodec* slot = nullptr;
    if (FPending.subtitle_stream_copy) {
      s.stream_copy = true;
    } else {
      const Integer flags = AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM;
      AVCodecID id = AV_CODEC_ID_NONE;
      if (!FindCodec(FPending.subtitle_codec_name ? FPending.subtitle_codec_name->c_str() : nullptr,
                     mtSubtitle, id, StrictnessAfterOptions(mtSubtitle, flags), true))
        throw FFmpegException(FLastErrMsg);
      if (FPending.subtitle_codec_name)
        slot = s.encoder = FindEncoderByName(FPending.subtitle_codec_name->c_str());
      AllocCodecContext(s, s.encoder, mtSubtitle);
      c = s.codec.get();
      if (FPending.subtitle_codec_tag) c->codec_tag = FPending.subtitle_codec_tag;
      ApplyFFOptions(FOptions, c, FOptions.avcodec_opts[mtSubtitle].get(), flags);
      c->codec_id = id;
    }
    Foutput_codecs.push_back(slot);
    if (!FPending.subtitle_language.empty()) {
      ff::av_dict_set(&s.st->metadata, "language", FPending.subtitle_language.c_str(), 0);
      FPending.subtitle_language.clear();
    }
  } catch (...) {
    FPending.subtitle_codec_name.reset();
    FPending.subtitle_language.clear();
    throw;
  }
  FPending.subtitle_disable = false;
  FPending.subtitle_codec_name.reset();
  FPending.subtitle_stream_copy = 0;
}
