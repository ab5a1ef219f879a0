#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/unicodeprotocol.h"
#include "engine/transcoder/transcoder.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"

namespace {

String SystemBytes(const String& AText) {
  String bytes;
  Utf8ToSystem(AText, bytes);
  return bytes;
}

// The strictness of the generic codec option holder of a kind (normal when there is none).
Integer HolderStrictness(const TFFOptions& AOptions, Integer AType) {
  const AVCodecContext* holder = AOptions.avcodec_opts[AType].get();
  return holder ? holder->strict_std_compliance : FF_COMPLIANCE_NORMAL;
}

}  // namespace

bool TCustomFFmpeg::OpenInputFile(const String& AFileName) {
  // The input tables hold FMaxFiles entries.
  if (nb_input_files() >= FMaxFiles) {
    FLastErrMsg = Format("max input files %d reached", FMaxFiles);
    return false;
  }
  const AVInputFormat* fmt = ForcedInputFormat();
  // The pre-allocated context, until the library has taken it over.
  TFormatContextHolder allocated(ff::avformat_alloc_context());
  if (!allocated) throw FFmpegException("avformat_alloc_context failed");
  AVFormatContext* ic = allocated.get();
  TDictionary params = DemuxerParameters();
  ApplyFFOptions(FOptions, ic, FOptions.avformat_opts.get(), AV_OPT_FLAG_DECODING_PARAM);
  if (!SetForcedDecoders(ic)) return RefuseInput(FLastErrMsg);
  ic->flags |= AVFMT_FLAG_NONBLOCK;
  if (FPending.pgmyuv_compatibility_hack) ic->video_codec_id = AV_CODEC_ID_PGMYUV;

  // The library frees the context itself when opening fails.
  const String url = FileNameToURL(AFileName);
  AVFormatContext* opened = allocated.release();
  const int ret = UnicodeOpenInput(&opened, url.c_str(), fmt, params.Ref());
  if (ret < 0) return RefuseInput(FormatAVError(AFileName, ret));
  auto input = std::make_unique<TOpenedInput>();
  input->ctx.reset(opened);
  input->FileName = AFileName;
  ic = opened;

  if (!SelectProgram(ic)) return RefuseInput("Specified program id not found");
  // Looping the input is the loop's business on 5.1 (FPending.loop_input stays for it).
  if (FindStreamInfo(ic) < 0 && FPending.verbose >= 0) {
    const String message = Format("%s: could not find codec parameters", AFileName);
    GetFFLogger()->Log(this, llVerbose, message);
    return RefuseInput(message);
  }
  const Int64 timestamp = SeekToStart(*input);
  SetupInputStreams(*input);

  // The expected output duration
  if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration)
    FTotalOutputDuration = ic->duration;

  const size_t index = Finput_files.size();
  Finput_files_ts_offset[index] =
      FPending.copy_ts ? FPending.input_ts_offset : FPending.input_ts_offset - timestamp;
  if (FPending.verbose >= 0) ff::av_dump_format(ic, Integer(index), url.c_str(), 0);
  Finput_files.push_back(std::move(input));
  ForgetPerInputOptions();
  return true;
}

void TCustomFFmpeg::ForgetPerInputOptions() {
  FPending.video_channel = 0;
  FPending.video_codec_name.reset();
  FPending.audio_codec_name.reset();
  FPending.subtitle_codec_name.reset();
}

bool TCustomFFmpeg::RefuseInput(const String& AMessage) {
  FLastErrMsg = AMessage;
  ForgetPerInputOptions();
  return false;
}

const AVInputFormat* TCustomFFmpeg::ForcedInputFormat() {
  if (FPending.last_asked_format.empty()) return nullptr;
  const AVInputFormat* fmt = ff::av_find_input_format(SystemBytes(FPending.last_asked_format).c_str());
  if (!fmt) throw FFmpegException(Format("Unknown input format: \"%s\"", FPending.last_asked_format));
  FPending.last_asked_format.clear();
  return fmt;
}

TDictionary TCustomFFmpeg::DemuxerParameters() const {
  // What a raw or capture demuxer needs to know, as its options.
  TDictionary params(FPending.DemuxerOptions);
  if (FPending.audio_sample_rate > 0) params.Set("sample_rate", IntToStr(FPending.audio_sample_rate).c_str());
  if (FPending.audio_channels > 0) params.Set("channels", IntToStr(FPending.audio_channels).c_str());
  if (FPending.frame_rate.num > 0 && FPending.frame_rate.den > 0)
    params.Set("framerate", Format("%d/%d", FPending.frame_rate.num, FPending.frame_rate.den).c_str());
  if (FPending.frame_width > 0 && FPending.frame_height > 0)
    params.Set("video_size", Format("%dx%d", FPending.frame_width, FPending.frame_height).c_str());
  if (FPending.frame_pix_fmt != AV_PIX_FMT_NONE)
    if (const char* name = ff::av_get_pix_fmt_name(AVPixelFormat(FPending.frame_pix_fmt)))
      params.Set("pixel_format", name);
  if (FPending.video_channel) params.Set("channel", IntToStr(FPending.video_channel).c_str());
  if (FPending.video_standard) params.Set("standard", FPending.video_standard->c_str());
  return params;
}

bool TCustomFFmpeg::SetForcedDecoders(AVFormatContext* AContext) {
  AVCodecID id = AV_CODEC_ID_NONE;
  if (!FindCodec(FPending.video_codec_name ? FPending.video_codec_name->c_str() : nullptr, mtVideo, id,
                 HolderStrictness(FOptions, mtVideo), false))
    return false;
  AContext->video_codec_id = id;
  if (!FindCodec(FPending.audio_codec_name ? FPending.audio_codec_name->c_str() : nullptr, mtAudio, id,
                 HolderStrictness(FOptions, mtAudio), false))
    return false;
  AContext->audio_codec_id = id;
  if (!FindCodec(FPending.subtitle_codec_name ? FPending.subtitle_codec_name->c_str() : nullptr, mtSubtitle,
                 id, HolderStrictness(FOptions, mtSubtitle), false))
    return false;
  AContext->subtitle_codec_id = id;
  return true;
}

bool TCustomFFmpeg::SelectProgram(AVFormatContext* AContext) {
  if (!FPending.opt_programid) return true;
  for (unsigned i = 0; i < AContext->nb_streams; ++i) AContext->streams[i]->discard = AVDISCARD_ALL;
  bool found = false;
  for (unsigned p = 0; p < AContext->nb_programs; ++p) {
    AVProgram* program = AContext->programs[p];
    if (program->id != FPending.opt_programid) {
      program->discard = AVDISCARD_ALL;
      continue;
    }
    found = true;
    for (unsigned k = 0; k < program->nb_stream_indexes; ++k)
      if (program->stream_index[k] < AContext->nb_streams)
        AContext->streams[program->stream_index[k]]->discard = AVDISCARD_DEFAULT;
  }
  if (!found) return false;
  FPending.opt_programid = 0;
  return true;
}

Integer TCustomFFmpeg::FindStreamInfo(AVFormatContext* AContext) {
  // It opens and closes decoders.
  TCriticalSectionHold hold(CodecLock());
  return ff::avformat_find_stream_info(AContext, nullptr);
}

Int64 TCustomFFmpeg::SeekToStart(TOpenedInput& AInput) {
  AVFormatContext* ic = AInput.ctx.get();
  Int64 timestamp = FPending.start_time;
  if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
  if (FPending.start_time != 0) {
    AInput.Seeked = true;
    if (ff::av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0 && FPending.verbose > 0)
      GetFFLogger()->Log(this, llVerbose, "%s: could not seek to position %0.3f", AInput.FileName,
                         Double(timestamp) / 1000000.0);
    FPending.start_time = 0;
  }
  return timestamp;
}

void TCustomFFmpeg::SetupInputStreams(TOpenedInput& AInput) {
  // One codec context per stream, filled from its parameters; the pending options learn the
  // input's geometry and audio format.
  AVFormatContext* ic = AInput.ctx.get();
  std::vector<const AVCodec*> decoders;
  for (unsigned i = 0; i < ic->nb_streams; ++i) {
    AVStream* st = ic->streams[i];
    TCodecContextHolder holder(ff::avcodec_alloc_context3(nullptr));
    if (!holder) throw FFmpegException("avcodec_alloc_context failed");
    AVCodecContext* c = holder.get();
    ff::avcodec_parameters_to_context(c, st->codecpar);
    c->pkt_timebase = st->time_base;
    c->thread_count = FPending.thread_count;
    const AVCodec* decoder = nullptr;
    switch (c->codec_type) {
      case AVMEDIA_TYPE_VIDEO:
        decoder = SetupInputVideoStream(st, c, Integer(i));
        break;
      case AVMEDIA_TYPE_AUDIO:
        decoder = SetupInputAudioStream(st, c);
        break;
      case AVMEDIA_TYPE_SUBTITLE:
        decoder = FPending.subtitle_codec_name
                      ? ff::avcodec_find_decoder_by_name(FPending.subtitle_codec_name->c_str())
                      : nullptr;
        if (FPending.subtitle_disable) st->discard = AVDISCARD_ALL;
        break;
      case AVMEDIA_TYPE_DATA:
      case AVMEDIA_TYPE_ATTACHMENT:
      case AVMEDIA_TYPE_UNKNOWN:
        break;
      default:
        throw FFmpegException("invalid codec_type");
    }
    decoders.push_back(decoder);
    AInput.codecs.push_back(std::move(holder));
  }
  Finput_codecs.insert(Finput_codecs.end(), decoders.begin(), decoders.end());
}

const AVCodec* TCustomFFmpeg::SetupInputVideoStream(AVStream* st, AVCodecContext* c, Integer AIndex) {
  // The decoder's time base and rate, as the demuxer measured them.
  const AVRational avg = st->avg_frame_rate;
  if (avg.num > 0 && avg.den > 0) {
    c->framerate = avg;
    c->time_base = AVRational{avg.den, avg.num};
  } else {
    c->time_base = st->time_base;
  }
  ApplyFFOptions(FOptions, c, FOptions.avcodec_opts[mtVideo].get(),
                 AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
  FPending.frame_height = c->height;
  FPending.frame_width = c->width;
  const Double aspect =
      st->sample_aspect_ratio.num ? av_q2d(st->sample_aspect_ratio) : av_q2d(c->sample_aspect_ratio);
  if (c->width * c->height != 0)
    FPending.frame_aspect_ratio =
        aspect != 0 ? Single(aspect * c->width / c->height) : Single(Double(c->width) / c->height);
  else
    FPending.frame_aspect_ratio = aspect != 0 ? Single(aspect) : Single(4.0 / 3.0);
  if (c->pix_fmt == AV_PIX_FMT_NONE) c->pix_fmt = AVPixelFormat(0);
  FPending.frame_pix_fmt = c->pix_fmt;
  if (c->lowres) {
    FPending.frame_height >>= c->lowres;
    FPending.frame_width >>= c->lowres;
  }
  const AVRational r = st->r_frame_rate;
  if ((c->time_base.den != r.num * c->ticks_per_frame || c->time_base.num != r.den) &&
      FPending.verbose >= 0 && r.den && c->time_base.num)
    GetFFLogger()->Log(this, llInfo,
                       "Seems stream %d codec frame rate differs from container frame rate: %2.2f "
                       "(%d/%d) -> %2.2f (%d/%d)",
                       AIndex, Double(c->time_base.den) / c->time_base.num, c->time_base.den,
                       c->time_base.num, Double(r.num) / r.den, r.num, r.den);
  FPending.frame_rate = r;
  if (FPending.video_disable)
    st->discard = AVDISCARD_ALL;
  else if (FPending.video_discard)
    st->discard = AVDiscard(FPending.video_discard);
  return FPending.video_codec_name ? ff::avcodec_find_decoder_by_name(FPending.video_codec_name->c_str())
                                   : nullptr;
}

const AVCodec* TCustomFFmpeg::SetupInputAudioStream(AVStream* st, AVCodecContext* c) {
  c->time_base = AVRational{1, c->sample_rate > 0 ? c->sample_rate : 1};
  ApplyFFOptions(FOptions, c, FOptions.avcodec_opts[mtAudio].get(),
                 AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
  FPending.channel_layout = c->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? Int64(c->ch_layout.u.mask) : 0;
  FPending.audio_channels = c->ch_layout.nb_channels;
  FPending.audio_sample_rate = c->sample_rate;
  FPending.audio_sample_fmt = c->sample_fmt;
  if (FPending.audio_disable) st->discard = AVDISCARD_ALL;
  return FPending.audio_codec_name ? ff::avcodec_find_decoder_by_name(FPending.audio_codec_name->c_str())
                                   : nullptr;
}
