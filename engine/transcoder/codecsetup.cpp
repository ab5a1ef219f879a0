// Stream copy or re-encoding per output stream, the pass logs, opening and closing the codecs under
// the codec lock, metadata, chapters and the output headers.
#include <climits>
#include <cstring>

#include "engine/base/engineutils.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/base/librarymessage.h"
#include "engine/transcoder/streamtables.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

namespace {

String StreamText(const TAVOutputStream& AOst) {
  return Format("#%d.%d (%s)", AOst.file_index, AOst.index, MediaTypeText(AOst.enc->codec_type));
}

Integer ScalerFlags(const TFFOptions& AOptions, Cardinal ADefault) {
  int64_t flags = ADefault;
  if (AOptions.sws_opts.get() && ff::av_opt_get_int(AOptions.sws_opts.get(), "sws_flags", 0, &flags) < 0)
    flags = ADefault;
  return Integer(flags);
}

}  // namespace

void TCustomFFmpeg::SetupOutputCodecs() {
  TConvertState& s = *FState;
  for (size_t i = 0; i < s.ost_table.size(); ++i) {
    TAVOutputStream& ost = *s.ost_table[i];
    TAVInputStream& ist = *s.ist_table[size_t(ost.source_index)];
    AVCodecContext* codec = ost.enc;
    const AVCodecParameters* ipar = ist.st->codecpar;
    ff::av_dict_copy(&ost.st->metadata, ist.st->metadata, AV_DICT_DONT_OVERWRITE);
    ost.st->disposition = ist.st->disposition;
    codec->bits_per_raw_sample = ipar->bits_per_raw_sample;
    codec->chroma_sample_location = ipar->chroma_location;

    if (ost.setup->stream_copy) {
      SetupStreamCopy(ost, ist);
    } else {
      SetupEncoding(ost, ist);
      OpenPassLog(ost, Integer(i));
    }
    if (codec->codec_type == AVMEDIA_TYPE_VIDEO) {
      const Int64 size = 6 * Int64(codec->width) * codec->height + 200;
      if (size > FState->bit_buffer_size) FState->bit_buffer_size = Integer(std::min<Int64>(size, INT_MAX));
    }
  }
  FState->bit_buffer.reset(static_cast<uint8_t*>(ff::av_malloc(size_t(FState->bit_buffer_size))));
  if (!FState->bit_buffer)
    throw FFmpegException(Format("Cannot allocate %d bytes output buffer", FState->bit_buffer_size));
}

void TCustomFFmpeg::SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist) {
  // The packets go to the muxer as they are.
  AVCodecContext* codec = ost.enc;
  const AVCodecParameters* ipar = ist.st->codecpar;
  if (Int64(ipar->extradata_size) + 8 > INT_MAX)
    throw FFmpegException("icodec.extradata_size is invalid (too large)");
  AVCodecParameters* par = ost.st->codecpar;
  const uint32_t pendingTag = codec->codec_tag;
  if (ff::avcodec_parameters_copy(par, ipar) < 0) throw FFmpegException("av_mallocz fail");
  uint32_t tag = pendingTag;
  if (tag == 0) {
    const AVCodecTag* const* table = Foutput_files[size_t(ost.file_index)]->ctx->oformat->codec_tag;
    if (!table || ff::av_codec_get_id(table, ipar->codec_tag) == ipar->codec_id ||
        ff::av_codec_get_tag(table, ipar->codec_id) == 0)
      tag = ipar->codec_tag;
  }
  par->codec_tag = tag;
  // The time base: the codec's frame duration when it is finer than the stream's but the
  // stream's is finer than a millisecond, else the stream's own.
  AVRational tb = ist.st->time_base;
  if (ist.dec) {
    const Double a = av_q2d(ist.dec->time_base);
    const Double t = av_q2d(ist.st->time_base);
    const Integer ticks = ist.dec->ticks_per_frame > 0 ? ist.dec->ticks_per_frame : 1;
    if (a * ticks > t && t < 1.0 / 1000) {
      ff::av_reduce(&tb.num, &tb.den, Int64(ist.dec->time_base.num) * ticks, ist.dec->time_base.den, INT_MAX);
    }
  }
  ost.st->time_base = tb;
  switch (ipar->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
      if (FPending.audio_volume != 256)
        throw FFmpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
      if ((par->block_align == 1 && par->codec_id == AV_CODEC_ID_MP3) || par->codec_id == AV_CODEC_ID_AC3)
        par->block_align = 0;
      break;
    case AVMEDIA_TYPE_VIDEO:
      if (FOnCustomHook)
        throw FFmpegException("-vcodec copy and CustomHook are incompatible (frames are not decoded)");
      if (Fusing_vhook)
        throw FFmpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
      if (!PostHooks().Empty())
        throw FFmpegException("-vcodec copy and PostHooks are incompatible (frames are not decoded)");
      if (ost.st->sample_aspect_ratio.num == 0) ost.st->sample_aspect_ratio = ist.st->sample_aspect_ratio;
      ost.st->avg_frame_rate = ist.st->avg_frame_rate;
      ost.st->r_frame_rate = ist.st->r_frame_rate;
      break;
    case AVMEDIA_TYPE_SUBTITLE:
      break;
    default:
      throw FFmpegException("invalid codec_type of output stream");
  }
  // The setup's context mirrors the copied parameters (media type, codec, size) for the run.
  ff::avcodec_parameters_to_context(codec, par);
  codec->time_base = tb;
}

void TCustomFFmpeg::SetupEncoding(TAVOutputStream& ost, TAVInputStream& ist) {
  AVCodecContext* codec = ost.enc;
  AVCodecContext* icodec = ist.dec;
  if (!icodec) throw FFmpegException("invalid codec_type of output stream");
  switch (codec->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
      ost.audio_resample = codec->sample_rate != icodec->sample_rate || FPending.audio_sync_method > 1;
      ist.decoding_needed = true;
      ost.encoding_needed = true;
      break;
    case AVMEDIA_TYPE_VIDEO:
      SetupVideoEncoding(ost, ist);
      break;
    case AVMEDIA_TYPE_SUBTITLE:
      // Subtitle times are handed over in microseconds.
      if (codec->time_base.num == 0 || codec->time_base.den == 0) codec->time_base = AV_TIME_BASE_Q;
      ost.encoding_needed = true;
      ist.decoding_needed = true;
      break;
    default:
      throw FFmpegException("invalid codec_type of output stream");
  }
}

void TCustomFFmpeg::SetupVideoEncoding(TAVOutputStream& ost, TAVInputStream& ist) {
  AVCodecContext* codec = ost.enc;
  AVCodecContext* icodec = ist.dec;
  if (codec->pix_fmt == AV_PIX_FMT_NONE)
    throw FFmpegException("Video pixel format is unknown, stream cannot be encoded");
  ost.video_crop = FPending.frame_topBand + FPending.frame_bottomBand + FPending.frame_leftBand +
                       FPending.frame_rightBand !=
                   0;
  const Integer cropW = icodec->width - (FPending.frame_leftBand + FPending.frame_rightBand);
  const Integer cropH = icodec->height - (FPending.frame_topBand + FPending.frame_bottomBand);
  if (codec->width == 0 || codec->height == 0) {
    codec->width = cropW;
    codec->height = cropH;
  }
  ost.video_resample = codec->width != cropW || codec->height != cropH || codec->pix_fmt != icodec->pix_fmt;
  if (ost.video_crop) {
    ost.topBand = ost.original_topBand = FPending.frame_topBand;
    ost.bottomBand = ost.original_bottomBand = FPending.frame_bottomBand;
    ost.leftBand = ost.original_leftBand = FPending.frame_leftBand;
    ost.rightBand = ost.original_rightBand = FPending.frame_rightBand;
  }
  ost.original_height = icodec->height;
  ost.original_width = icodec->width;
  if (ost.video_resample && !FPending.EnableFilter) {
    ost.pict_tmp = NewScaledPicture(codec);
    FPending.sws_flags = Cardinal(ScalerFlags(FOptions, FPending.sws_flags));
    ost.img_resample_ctx.reset(ff::sws_getContext(cropW, cropH, icodec->pix_fmt, codec->width, codec->height,
                                                  codec->pix_fmt, Integer(FPending.sws_flags), nullptr,
                                                  nullptr, nullptr));
    if (!ost.img_resample_ctx) throw FFmpegException("Cannot get resampling context");
    codec->bits_per_raw_sample = 0;
  }
  ost.resample_height = cropH;
  ost.resample_width = cropW;
  ost.resample_pix_fmt = icodec->pix_fmt;
  ost.encoding_needed = true;
  ist.decoding_needed = true;
  FLastErrMsg.clear();
  if (FPending.EnableFilter && ConfigureFilters(ist, ost) != 0) {
    FLastErrMsg =
        FLastErrMsg.empty() ? String("Error opening filters!") : "Error opening filters: " + FLastErrMsg;
    throw FFmpegException(FLastErrMsg);
  }
}

void TCustomFFmpeg::OpenPassLog(TAVOutputStream& ost, Integer AIndex) {
  // The statistics file of a two-pass encoding: written in the first pass, read in the second.
  AVCodecContext* codec = ost.enc;
  if (!ost.encoding_needed || !(codec->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2))) return;
  const String prefix =
      FPending.pass_logfilename_prefix.empty() ? String("ffmpeg2pass") : FPending.pass_logfilename_prefix;
  String name = prefix + "-" + IntToStr(AIndex) + ".log";
  if (name.size() > 1023) name.resize(1023);
  if (codec->flags & AV_CODEC_FLAG_PASS1) {
    if (!ost.mux->logfile) {
      ost.mux->logfile = ff::fopen(name.c_str(), "wb");
      if (!ost.mux->logfile)
        throw FFmpegException(Format("Cannot write log file %s for pass-1 encoding", name));
    }
  } else if (!codec->stats_in) {
    uint8_t* buffer = nullptr;
    Integer size = 0;
    const Integer ret = ReadFileToBuffer(name.c_str(), buffer, size);
    if (ret == AVERROR(ENOMEM))
      throw FFmpegException(
          Format("Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding", name));
    if (ret != 0)
      throw FFmpegException(
          Format("Cannot read file: Error reading log file \"%s\" for pass-2 encoding", name));
    codec->stats_in = reinterpret_cast<char*>(buffer);
  }
}

void TCustomFFmpeg::OpenEncoders() {
  TConvertState& s = *FState;
  const size_t count = FJoinMode ? size_t(s.group_size) : s.ost_table.size();
  for (size_t i = 0; i < count; ++i) {
    TAVOutputStream& ost = *s.ost_table[i];
    if (!ost.encoding_needed) continue;
    AVCodecContext* enc = ost.enc;
    const AVCodec* codec =
        i < Foutput_codecs.size() && Foutput_codecs[i] ? Foutput_codecs[i] : ost.setup->encoder;
    if (!codec) codec = ff::avcodec_find_encoder(enc->codec_id);
    if (!codec) {
      const String message = WithFileAndCause(Format("Encoder (codec id %d) not found for output stream %s",
                                                     Integer(enc->codec_id), StreamText(ost)),
                                              Foutput_files[size_t(ost.file_index)]->FileName, 0);
      LogStreamMapping();
      GetFFLogger()->Log(this, llError, message);
      throw FFmpegException(message);
    }
    // A text subtitle encoder starts from the style header its source's decoder makes when it
    // opens; the decoders of the other kinds open after the encoders.
    if (enc->codec_type == AVMEDIA_TYPE_SUBTITLE && !enc->subtitle_header) {
      OpenDecoders();
      const AVCodecContext* dec = s.ist_table[size_t(ost.source_index)]->dec;
      if (dec->subtitle_header_size > 0) {
        enc->subtitle_header = static_cast<uint8_t*>(ff::av_mallocz(size_t(dec->subtitle_header_size) + 1));
        if (!enc->subtitle_header) throw FFmpegException("av_mallocz fail");
        std::memcpy(enc->subtitle_header, dec->subtitle_header, size_t(dec->subtitle_header_size));
        enc->subtitle_header_size = dec->subtitle_header_size;
      }
    }
    // Audio whose channels nothing tells (an input stream that never gave its parameters) fails
    // the encoder's opening with a cause that names something else.
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO && enc->ch_layout.nb_channels <= 0) {
      const String message =
          Format("Error while opening encoder for output stream %s - the audio has no channel layout",
                 StreamText(ost)) +
          " [" + Foutput_files[size_t(ost.file_index)]->FileName + ": " +
          Format("Invalid channel layout: %d channels", enc->ch_layout.nb_channels) + "]";
      LogStreamMapping();
      GetFFLogger()->Log(this, llError, message);
      throw FFmpegException(message);
    }
    // Options the encoder leaves over are presets meant for another encoder: not an error.
    TDictionary options(ost.setup->CodecOptions);
    Integer ret;
    {
      TCriticalSectionHold hold(CodecLock());
      ost.codec_id = enc->codec_id;
      ClearFFmpegErrorLine();
      enc->thread_count = EncoderThreadCount();
      ret = ff::avcodec_open2(enc, codec, options.Ref());
      if (ret >= 0) AddCodecItem(FEncoderList, &ost, enc);
    }
    // Logged outside the codec lock: delivering a line may wait for the main thread.
    if (ret < 0) {
      const String message = WithFileAndCause(
          Format("Error while opening encoder for output stream %s - maybe incorrect parameters such as "
                 "bit_rate, rate, width or height. Please check error log message to find out more detail "
                 "information.",
                 StreamText(ost)),
          Foutput_files[size_t(ost.file_index)]->FileName, ret);
      LogStreamMapping();
      GetFFLogger()->Log(this, llError, message);
      throw FFmpegException(message);
    }
    if (ff::avcodec_parameters_from_context(ost.st->codecpar, enc) < 0)
      throw FFmpegException("av_mallocz fail");
    ost.st->time_base = enc->time_base;
    if (enc->codec_type == AVMEDIA_TYPE_VIDEO) ost.st->avg_frame_rate = enc->framerate;
    FCounters.extra_size += enc->extradata_size;
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO && !ost.mux->fifo) {
      ost.mux->fifo.reset(ff::av_audio_fifo_alloc(enc->sample_fmt, enc->ch_layout.nb_channels, 1024));
      if (!ost.mux->fifo) throw FFmpegException("av_fifo_alloc fail");
    }
  }
}

void TCustomFFmpeg::OpenDecoders() {
  TConvertState& s = *FState;
  for (size_t i = 0; i < s.ist_table.size(); ++i) {
    TAVInputStream& ist = *s.ist_table[i];
    if (!ist.decoding_needed || ff::avcodec_is_open(ist.dec)) continue;
    AVCodecContext* dec = ist.dec;
    const AVCodec* codec = i < Finput_codecs.size() && Finput_codecs[i] ? Finput_codecs[i] : nullptr;
    if (!codec) codec = ff::avcodec_find_decoder(dec->codec_id);
    const String text =
        Format("#%d.%d (%s)", ist.file_index, ist.index, MediaTypeText(ist.st->codecpar->codec_type));
    if (!codec) {
      const String message = WithFileAndCause(
          Format("Decoder (codec id %d) not found for input stream %s", Integer(dec->codec_id), text),
          Finput_files[size_t(ist.file_index)]->FileName, 0);
      LogStreamMapping();
      GetFFLogger()->Log(this, llError, message);
      throw FFmpegException(message);
    }
    Integer ret;
    {
      TCriticalSectionHold hold(CodecLock());
      dec->pkt_timebase = ist.st->time_base;
      ClearFFmpegErrorLine();
      dec->thread_count = CodecThreadCount();
      ret = ff::avcodec_open2(dec, codec, nullptr);
      if (ret >= 0) AddCodecItem(FDecoderList, &ist, dec);
    }
    if (ret < 0) {
      const String message = WithFileAndCause(Format("Error while opening decoder for input stream %s", text),
                                              Finput_files[size_t(ist.file_index)]->FileName, ret);
      LogStreamMapping();
      GetFFLogger()->Log(this, llError, message);
      throw FFmpegException(message);
    }
  }
}

void TCustomFFmpeg::ApplyMetadataMaps() {
  for (const TAVMetaDataMap& m : Fmeta_data_maps) {
    String message;
    if (m.out_file < 0 || m.out_file >= nb_output_files())
      message =
          Format("Invalid output file index %d map_meta_data(%d,%d)", m.out_file, m.out_file, m.in_file);
    else if (m.in_file < 0 || m.in_file >= nb_input_files())
      message = Format("Invalid input file index %d map_meta_data(%d,%d)", m.in_file, m.out_file, m.in_file);
    if (!message.empty()) {
      LogStreamMapping();
      GetFFLogger()->Log(this, llError, message);
      throw FFmpegException(message);
    }
    ff::av_dict_copy(&Foutput_files[size_t(m.out_file)]->ctx->metadata,
                     Finput_files[size_t(m.in_file)]->ctx->metadata, AV_DICT_DONT_OVERWRITE);
  }
}

void TCustomFFmpeg::CopyAllChapters() {
  for (size_t f = 0; f < Finput_files.size(); ++f) {
    const AVFormatContext* is = Finput_files[f]->ctx.get();
    if (is->nb_chapters == 0) continue;
    const AVFormatContext* done = nullptr;  // a joined output is listed once per input
    for (auto& output : Foutput_files) {
      AVFormatContext* os = output->ctx.get();
      if (os == done) continue;
      done = os;
      for (unsigned c = 0; c < is->nb_chapters; ++c) {
        const AVChapter* in = is->chapters[c];
        const Int64 offset =
            ff::av_rescale_q(FPending.start_time - Finput_files_ts_offset[f], AV_TIME_BASE_Q, in->time_base);
        const Int64 limit = FPending.recording_time == INT64_MAX
                                ? INT64_MAX
                                : ff::av_rescale_q(FPending.recording_time, AV_TIME_BASE_Q, in->time_base);
        if (in->end < offset) continue;
        if (limit != INT64_MAX && in->start > limit + offset) break;
        TAVMemHolder<AVChapter> chapter(static_cast<AVChapter*>(ff::av_mallocz(sizeof(AVChapter))));
        AVChapter* out = chapter.get();
        if (!out) throw FFmpegException("av_mallocz fail");
        out->id = in->id;
        out->time_base = in->time_base;
        out->start = std::max<Int64>(0, in->start - offset);
        out->end = std::min<Int64>(limit, in->end - offset);
        if (ff::av_dynarray_add_nofree(&os->chapters, reinterpret_cast<int*>(&os->nb_chapters), out) < 0)
          throw FFmpegException("av_realloc fail");
        // The context owns it now, metadata and all.
        chapter.release();
        ff::av_dict_copy(&out->metadata, in->metadata, 0);
      }
    }
  }
}

void TCustomFFmpeg::WriteOutputHeaders() {
  TConvertState& s = *FState;
  // Bitstream filters, one chain per muxed stream; what they make of the parameters is what the
  // muxer gets.
  for (auto& p : s.ost_table) {
    TAVOutputStream& ost = *p;
    if (!ost.mux->bsfs.empty() || ost.setup->bitstream_filters.empty()) continue;
    for (const AVBitStreamFilter* filter : ost.setup->bitstream_filters) {
      AVBSFContext* ctx = nullptr;
      Integer ret = ff::av_bsf_alloc(filter, &ctx);
      if (ret < 0) throw FFmpegException(FormatAVError(filter->name, ret));
      ost.mux->bsfs.emplace_back(ctx);
      const AVCodecParameters* in =
          ost.mux->bsfs.size() > 1 ? ost.mux->bsfs[ost.mux->bsfs.size() - 2]->par_out : ost.st->codecpar;
      ff::avcodec_parameters_copy(ctx->par_in, in);
      ctx->time_base_in = ost.mux->bsfs.size() > 1 ? ost.mux->bsfs[ost.mux->bsfs.size() - 2]->time_base_out
                                                   : ost.st->time_base;
      ret = ff::av_bsf_init(ctx);
      if (ret < 0) throw FFmpegException(FormatAVError(filter->name, ret));
    }
    ff::avcodec_parameters_copy(ost.st->codecpar, ost.mux->bsfs.back()->par_out);
    ost.st->time_base = ost.mux->bsfs.back()->time_base_out;
  }
  bool wantSdp = true;
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    if (FJoinMode && i > 0) break;
    TOpenedOutput& output = *Foutput_files[i];
    TDictionary options(output.MuxerOptions);
    ClearFFmpegErrorLine();
    const Integer ret = ff::avformat_write_header(output.ctx.get(), options.Ref());
    if (ret < 0) {
      const String message = WithFileAndCause(
          Format("Could not write header for output file #%d (incorrect codec parameters ?)", Integer(i)),
          output.FileName, ret);
      LogStreamMapping();
      GetFFLogger()->Log(this, llError, FormatAVError(output.FileName, ret));
      GetFFLogger()->Log(this, llError, message);
      throw FFmpegException(message);
    }
    if (std::strcmp(output.ctx->oformat->name, "rtp") != 0) wantSdp = false;
  }
  if (wantSdp && !Foutput_files.empty()) {
    std::vector<AVFormatContext*> contexts;
    for (auto& output : Foutput_files) contexts.push_back(output->ctx.get());
    char sdp[2048] = {};
    ff::av_sdp_create(contexts.data(), Integer(contexts.size()), sdp, sizeof sdp);
    GetFFLogger()->Log(this, llInfo, "SDP:\r\n" + Trim(String(sdp)));
  }
}

void TCustomFFmpeg::CloseEncoders() {
  TConvertState& s = *FState;
  const size_t count = FJoinMode ? size_t(s.group_size) : s.ost_table.size();
  for (size_t i = 0; i < count; ++i) {
    TAVOutputStream& ost = *s.ost_table[i];
    if (!ost.encoding_needed) continue;
    ff::av_freep(&ost.enc->stats_in);
    TCriticalSectionHold hold(CodecLock());
    ff::avcodec_close(ost.enc);
    RemoveCodecItem(FEncoderList, &ost);
  }
}

void TCustomFFmpeg::CloseDecoders() {
  for (auto& p : FState->ist_table) {
    if (!p->decoding_needed) continue;
    TCriticalSectionHold hold(CodecLock());
    ff::avcodec_close(p->dec);
    RemoveCodecItem(FDecoderList, p.get());
  }
}
