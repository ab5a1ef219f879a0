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
  const AVCodecContext* holder = AOptions.avcodec_opts[AType];
  return holder ? holder->strict_std_compliance : FF_COMPLIANCE_NORMAL;
}

}  // namespace

bool TCustomFFmpeg::OpenInputFile(const String& AFileName) {
  // The input tables hold FMaxFiles entries.
  if (nb_input_files() >= FMaxFiles) {
    FLastErrMsg = Format("max input files %d reached", FMaxFiles);
    return false;
  }
  // Forced format
  const AVInputFormat* fmt = nullptr;
  if (!FPending.last_asked_format.empty()) {
    fmt = ff::av_find_input_format(SystemBytes(FPending.last_asked_format).c_str());
    if (!fmt) throw FFmpegException(Format("Unknown input format: \"%s\"", FPending.last_asked_format));
    FPending.last_asked_format.clear();
  }

  // The pre-allocated context, until the library has taken it over
  TFormatContextHolder allocated(ff::avformat_alloc_context());
  if (!allocated) throw FFmpegException("avformat_alloc_context failed");
  AVFormatContext* ic = allocated.get();

  auto refuse = [&](const String& AMessage) {
    FLastErrMsg = AMessage;
    FPending.video_codec_name.reset();
    FPending.audio_codec_name.reset();
    FPending.subtitle_codec_name.reset();
    FPending.video_channel = 0;
    return false;
  };

  // What a raw or capture demuxer needs to know, as its options
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

  // Generic format options
  ApplyFFOptions(FOptions, ic, FOptions.avformat_opts, AV_OPT_FLAG_DECODING_PARAM);

  // Forced decoders
  AVCodecID id = AV_CODEC_ID_NONE;
  if (!FindCodec(FPending.video_codec_name ? FPending.video_codec_name->c_str() : nullptr, mtVideo, id,
                 HolderStrictness(FOptions, mtVideo), false))
    return refuse(FLastErrMsg);
  ic->video_codec_id = id;
  if (!FindCodec(FPending.audio_codec_name ? FPending.audio_codec_name->c_str() : nullptr, mtAudio, id,
                 HolderStrictness(FOptions, mtAudio), false))
    return refuse(FLastErrMsg);
  ic->audio_codec_id = id;
  if (!FindCodec(FPending.subtitle_codec_name ? FPending.subtitle_codec_name->c_str() : nullptr, mtSubtitle,
                 id, HolderStrictness(FOptions, mtSubtitle), false))
    return refuse(FLastErrMsg);
  ic->subtitle_codec_id = id;

  ic->flags |= AVFMT_FLAG_NONBLOCK;
  if (FPending.pgmyuv_compatibility_hack) ic->video_codec_id = AV_CODEC_ID_PGMYUV;

  // Open; the library frees the context itself when this fails
  const String url = FileNameToURL(AFileName);
  AVFormatContext* opened = allocated.release();
  const int ret = UnicodeOpenInput(&opened, url.c_str(), fmt, params.Ref());
  if (ret < 0) return refuse(FormatAVError(AFileName, ret));
  auto input = std::make_unique<TOpenedInput>();
  input->ctx = opened;
  input->FileName = AFileName;
  ic = opened;

  // Program selection
  if (FPending.opt_programid) {
    for (unsigned i = 0; i < ic->nb_streams; ++i) ic->streams[i]->discard = AVDISCARD_ALL;
    bool found = false;
    for (unsigned p = 0; p < ic->nb_programs; ++p) {
      AVProgram* program = ic->programs[p];
      if (program->id != FPending.opt_programid) {
        program->discard = AVDISCARD_ALL;
        continue;
      }
      found = true;
      for (unsigned k = 0; k < program->nb_stream_indexes; ++k)
        if (program->stream_index[k] < ic->nb_streams)
          ic->streams[program->stream_index[k]]->discard = AVDISCARD_DEFAULT;
    }
    if (!found) return refuse("Specified program id not found");
    FPending.opt_programid = 0;
  }

  // Looping the input is the loop's business on 5.1 (FPending.loop_input stays for it).

  // Stream information, which opens and closes decoders
  int info = 0;
  {
    TCriticalSection& lock = CodecLock();
    lock.Enter();
    try {
      info = ff::avformat_find_stream_info(ic, nullptr);
    } catch (...) {
      lock.Leave();
      throw;
    }
    lock.Leave();
  }
  if (info < 0 && FPending.verbose >= 0) {
    const String message = Format("%s: could not find codec parameters", AFileName);
    GetFFLogger()->Log(this, llVerbose, message);
    return refuse(message);
  }

  // Start position
  Int64 timestamp = FPending.start_time;
  if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
  if (FPending.start_time != 0) {
    input->Seeked = true;
    if (ff::av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0 && FPending.verbose > 0)
      GetFFLogger()->Log(this, llVerbose, "%s: could not seek to position %0.3f", AFileName,
                         Double(timestamp) / 1000000.0);
    FPending.start_time = 0;
  }

  // Streams: one codec context each, filled from its parameters; the pending options learn the
  // input's geometry and audio format
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
      case AVMEDIA_TYPE_VIDEO: {
        // The decoder's time base and rate, as the demuxer measured them.
        const AVRational avg = st->avg_frame_rate;
        if (avg.num > 0 && avg.den > 0) {
          c->framerate = avg;
          c->time_base = AVRational{avg.den, avg.num};
        } else {
          c->time_base = st->time_base;
        }
        ApplyFFOptions(FOptions, c, FOptions.avcodec_opts[mtVideo],
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
                             Integer(i), Double(c->time_base.den) / c->time_base.num, c->time_base.den,
                             c->time_base.num, Double(r.num) / r.den, r.num, r.den);
        FPending.frame_rate = r;
        decoder = FPending.video_codec_name
                      ? ff::avcodec_find_decoder_by_name(FPending.video_codec_name->c_str())
                      : nullptr;
        if (FPending.video_disable)
          st->discard = AVDISCARD_ALL;
        else if (FPending.video_discard)
          st->discard = AVDiscard(FPending.video_discard);
        break;
      }
      case AVMEDIA_TYPE_AUDIO:
        c->time_base = AVRational{1, c->sample_rate > 0 ? c->sample_rate : 1};
        ApplyFFOptions(FOptions, c, FOptions.avcodec_opts[mtAudio],
                       AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
        FPending.channel_layout =
            c->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? Int64(c->ch_layout.u.mask) : 0;
        FPending.audio_channels = c->ch_layout.nb_channels;
        FPending.audio_sample_rate = c->sample_rate;
        FPending.audio_sample_fmt = c->sample_fmt;
        decoder = FPending.audio_codec_name
                      ? ff::avcodec_find_decoder_by_name(FPending.audio_codec_name->c_str())
                      : nullptr;
        if (FPending.audio_disable) st->discard = AVDISCARD_ALL;
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
    input->codecs.push_back(std::move(holder));
  }
  Finput_codecs.insert(Finput_codecs.end(), decoders.begin(), decoders.end());

  // The expected output duration
  if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration)
    FTotalOutputDuration = ic->duration;

  const size_t index = Finput_files.size();
  Finput_files_ts_offset[index] =
      FPending.copy_ts ? FPending.input_ts_offset : FPending.input_ts_offset - timestamp;
  if (FPending.verbose >= 0) ff::av_dump_format(ic, Integer(index), url.c_str(), 0);
  Finput_files.push_back(std::move(input));

  // Per-input options
  FPending.video_channel = 0;
  FPending.video_codec_name.reset();
  FPending.audio_codec_name.reset();
  FPending.subtitle_codec_name.reset();
  return true;
}
