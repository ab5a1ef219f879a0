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
  AVStream* st = ff::avformat_new_stream(AOutput.ctx, nullptr);
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
  if (AFlags) ApplyFFOptions(FOptions, probe.get(), FOptions.avcodec_opts[AType], AFlags);
  return probe->strict_std_compliance;
}

void TCustomFFmpeg::ApplyRcOverride(AVCodecContext* c) {
  c->rc_override_count = 0;
  if (!Fvideo_rc_override_string) return;
  const char* p = Fvideo_rc_override_string->c_str();
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
    TOutputStreamSetup& s = NewOutputStream(AOutput, mtVideo, Fvideo_bitstream_filters);
    AVCodecContext* holder = FOptions.avcodec_opts[mtVideo];
    const AVCodec* slot = nullptr;
    AVCodecID id = AV_CODEC_ID_NONE;
    if (!Fvideo_stream_copy) {
      if (Fvideo_codec_name) {
        // The strictness the generic options ask for counts for video as it does for audio.
        if (!FindCodec(Fvideo_codec_name->c_str(), mtVideo, id,
                       StrictnessAfterOptions(mtVideo, AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM),
                       true))
          throw FFmpegException(FLastErrMsg);
        slot = s.encoder = FindEncoderByName(Fvideo_codec_name->c_str());
      } else {
        id = ff::av_guess_codec(AOutput.ctx->oformat, nullptr, AOutput.ctx->url, nullptr, AVMEDIA_TYPE_VIDEO);
        s.encoder = ff::avcodec_find_encoder(id);
      }
      AllocCodecContext(s, s.encoder, mtVideo);
    }
    AVCodecContext* c = s.codec.get();
    c->thread_count = Fthread_count;
    if (Fvideo_codec_tag) c->codec_tag = Fvideo_codec_tag;
    if ((Fvideo_global_header & 1) ||
        (Fvideo_global_header == 0 && (AOutput.ctx->oformat->flags & AVFMT_GLOBALHEADER))) {
      c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      if (holder) holder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (Fvideo_global_header & 2) {
      c->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
      if (holder) holder->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }

    if (Fvideo_stream_copy) {
      s.stream_copy = true;
      c->codec_type = AVMEDIA_TYPE_VIDEO;
      s.st->sample_aspect_ratio =
          SampleAspectOf(PendingSampleAspect(Fframe_width, Fframe_height, Fframe_aspect_ratio));
      c->sample_aspect_ratio = s.st->sample_aspect_ratio;
    } else {
      AVRational fps = Fframe_rate.num ? Fframe_rate : AVRational{25, 1};
      const AVCodec* codec = s.encoder;
      c->codec_id = id;
      ApplyFFOptions(FOptions, c, holder, AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
      if (codec && codec->supported_framerates && !Fforce_fps)
        fps = codec->supported_framerates[ff::av_find_nearest_q_idx(fps, codec->supported_framerates)];
      c->time_base = AVRational{fps.den, fps.num};
      c->framerate = fps;
      c->width = Fframe_width;
      c->height = Fframe_height;
      c->sample_aspect_ratio = SampleAspectOf(PendingSampleAspect(c->width, c->height, Fframe_aspect_ratio));
      c->pix_fmt = AVPixelFormat(Fframe_pix_fmt);
      s.st->sample_aspect_ratio = c->sample_aspect_ratio;
      ChoosePixelFormat(c, codec);
      if (Fintra_only) c->gop_size = 0;
      if (Fvideo_qscale != 0 || Fsame_quality) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        s.quality = FF_QP2LAMBDA * Fvideo_qscale;
        c->global_quality = Integer(s.quality);
      }
      // The context frees its matrices, so it gets copies of the pending ones.
      if (Fintra_matrix) c->intra_matrix = CopyMatrix(*Fintra_matrix);
      if (Finter_matrix) c->inter_matrix = CopyMatrix(*Finter_matrix);
      ApplyRcOverride(c);
      if (c->rc_initial_buffer_occupancy == 0) c->rc_initial_buffer_occupancy = c->rc_buffer_size * 3 / 4;
      // 5.1 has no motion-estimation threshold; Fme_threshold stays with the transcoder.
      c->intra_dc_precision = Fintra_dc_precision - 8;
      if (Fdo_psnr) c->flags |= AV_CODEC_FLAG_PSNR;
      if (Fdo_pass == 1)
        c->flags |= AV_CODEC_FLAG_PASS1;
      else if (Fdo_pass)
        c->flags |= AV_CODEC_FLAG_PASS2;
    }
    Foutput_codecs.push_back(slot);
    if (!Fvideo_language.empty()) {
      ff::av_dict_set(&s.st->metadata, "language", Fvideo_language.c_str(), 0);
      Fvideo_language.clear();
    }
  } catch (...) {
    Fvideo_codec_name.reset();
    throw;
  }
  Fvideo_disable = false;
  Fvideo_codec_name.reset();
  Fvideo_stream_copy = 0;
  Fframe_pix_fmt = AV_PIX_FMT_NONE;
}

void TCustomFFmpeg::new_audio_stream(TOpenedOutput& AOutput) {
  try {
    TOutputStreamSetup& s = NewOutputStream(AOutput, mtAudio, Faudio_bitstream_filters);
    AVCodecContext* holder = FOptions.avcodec_opts[mtAudio];
    const AVCodec* slot = nullptr;
    AVCodecID id = AV_CODEC_ID_NONE;
    const Integer flags = AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM;
    if (!Faudio_stream_copy) {
      if (Faudio_codec_name) {
        if (!FindCodec(Faudio_codec_name->c_str(), mtAudio, id, StrictnessAfterOptions(mtAudio, flags), true))
          throw FFmpegException(FLastErrMsg);
        slot = s.encoder = FindEncoderByName(Faudio_codec_name->c_str());
      } else {
        id = ff::av_guess_codec(AOutput.ctx->oformat, nullptr, AOutput.ctx->url, nullptr, AVMEDIA_TYPE_AUDIO);
        s.encoder = ff::avcodec_find_encoder(id);
      }
      AllocCodecContext(s, s.encoder, mtAudio);
    }
    AVCodecContext* c = s.codec.get();
    c->thread_count = Fthread_count;
    c->codec_type = AVMEDIA_TYPE_AUDIO;
    if (Faudio_codec_tag) c->codec_tag = Faudio_codec_tag;
    if (AOutput.ctx->oformat->flags & AVFMT_GLOBALHEADER) {
      c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      if (holder) holder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (Faudio_stream_copy) {
      s.stream_copy = true;
      ff::av_channel_layout_uninit(&c->ch_layout);
      ff::av_channel_layout_default(&c->ch_layout, Faudio_channels);
      c->sample_rate = Faudio_sample_rate;
    } else {
      const AVCodec* codec = s.encoder;
      ApplyFFOptions(FOptions, c, holder, flags);
      c->codec_id = id;
      if (Faudio_qscale > -99999) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        s.quality = FF_QP2LAMBDA * Faudio_qscale;
        c->global_quality = Integer(s.quality);
      }
      // A layout that does not hold the asked channel count gives way to the count's default one.
      ff::av_channel_layout_uninit(&c->ch_layout);
      if (Fchannel_layout == 0 ||
          ff::av_channel_layout_from_mask(&c->ch_layout, uint64_t(Fchannel_layout)) < 0 ||
          c->ch_layout.nb_channels != Faudio_channels) {
        ff::av_channel_layout_uninit(&c->ch_layout);
        ff::av_channel_layout_default(&c->ch_layout, Faudio_channels);
      }
      c->sample_fmt = AVSampleFormat(Faudio_sample_fmt);
      c->sample_rate = Faudio_sample_rate;
      ChooseSampleFormat(c, codec);
      ChooseSampleRate(c, codec);
    }
    Foutput_codecs.push_back(slot);
    c->time_base = AVRational{1, Faudio_sample_rate};
    if (!Faudio_language.empty()) {
      ff::av_dict_set(&s.st->metadata, "language", Faudio_language.c_str(), 0);
      Faudio_language.clear();
    }
  } catch (...) {
    Faudio_codec_name.reset();
    Faudio_language.clear();
    throw;
  }
  Faudio_disable = false;
  Faudio_codec_name.reset();
  Faudio_stream_copy = 0;
}

void TCustomFFmpeg::new_subtitle_stream(TOpenedOutput& AOutput) {
  try {
    TOutputStreamSetup& s = NewOutputStream(AOutput, mtSubtitle, Fsubtitle_bitstream_filters);
    AVCodecContext* c = s.codec.get();
    c->codec_type = AVMEDIA_TYPE_SUBTITLE;
    if (Fsubtitle_codec_tag) c->codec_tag = Fsubtitle_codec_tag;
    const AVCodec* slot = nullptr;
    if (Fsubtitle_stream_copy) {
      s.stream_copy = true;
    } else {
      const Integer flags = AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM;
      AVCodecID id = AV_CODEC_ID_NONE;
      if (!FindCodec(Fsubtitle_codec_name ? Fsubtitle_codec_name->c_str() : nullptr, mtSubtitle, id,
                     StrictnessAfterOptions(mtSubtitle, flags), true))
        throw FFmpegException(FLastErrMsg);
      if (Fsubtitle_codec_name) slot = s.encoder = FindEncoderByName(Fsubtitle_codec_name->c_str());
      AllocCodecContext(s, s.encoder, mtSubtitle);
      c = s.codec.get();
      if (Fsubtitle_codec_tag) c->codec_tag = Fsubtitle_codec_tag;
      ApplyFFOptions(FOptions, c, FOptions.avcodec_opts[mtSubtitle], flags);
      c->codec_id = id;
    }
    Foutput_codecs.push_back(slot);
    if (!Fsubtitle_language.empty()) {
      ff::av_dict_set(&s.st->metadata, "language", Fsubtitle_language.c_str(), 0);
      Fsubtitle_language.clear();
    }
  } catch (...) {
    Fsubtitle_codec_name.reset();
    Fsubtitle_language.clear();
    throw;
  }
  Fsubtitle_disable = false;
  Fsubtitle_codec_name.reset();
  Fsubtitle_stream_copy = 0;
}
