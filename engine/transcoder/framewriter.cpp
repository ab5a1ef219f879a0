// Writing packets (bitstream filters, then the interleaving muxer) and encoding audio: 16-bit
// samples of a source resampled per output stream, kept in step with the input's timestamps and
// framed through the stream's FIFO in the encoder's format.
#include <climits>
#include <cmath>
#include <cstring>

#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/base/librarymessage.h"
#include "engine/transcoder/streamtables.h"
#include "platform/rtl/format.h"

namespace {

// The muxer refuses timestamps that go backwards; such a packet is moved to just after the last.
void ClampTimestamps(TCustomFFmpeg& ATask, AVFormatContext* AOutput, TMuxStream& AMux, AVPacket* APacket) {
  if (APacket->dts == AV_NOPTS_VALUE) return;
  if (AMux.last_dts != AV_NOPTS_VALUE) {
    const bool strict = !(AOutput->oformat->flags & AVFMT_TS_NONSTRICT);
    const Int64 least = strict ? AMux.last_dts + 1 : AMux.last_dts;
    if (APacket->dts < least) {
      GetFFLogger()->Log(&ATask, llWarning,
                         "Non-monotonic DTS in output stream %d; previous: %d, current: %d; changing to %d.",
                         APacket->stream_index, AMux.last_dts, APacket->dts, least);
      if (APacket->pts != AV_NOPTS_VALUE && APacket->pts == APacket->dts) APacket->pts = least;
      APacket->dts = least;
    }
  }
  if (APacket->pts != AV_NOPTS_VALUE && APacket->pts < APacket->dts) APacket->pts = APacket->dts;
  AMux.last_dts = APacket->dts;
}

void Mux(TCustomFFmpeg& ATask, AVFormatContext* AOutput, TMuxStream& AMux, AVStream* ASt, AVPacket* APacket) {
  ClampTimestamps(ATask, AOutput, AMux, APacket);
  const Int64 start = APacket->pts != AV_NOPTS_VALUE ? APacket->pts : APacket->dts;
  if (start != AV_NOPTS_VALUE) {
    const Double end = Double(start + APacket->duration) * av_q2d(ASt->time_base);
    if (end > AMux.end_time) AMux.end_time = end;
  }
  ClearFFmpegErrorLine();
  Integer ret = ff::av_interleaved_write_frame(AOutput, APacket);
  // The muxer does not pass on a failed write of its byte stream (a full disk): the run would go
  // on encoding into a file that is already lost.
  if (ret >= 0 && AOutput->pb && AOutput->pb->error < 0) ret = AOutput->pb->error;
  if (ret < 0) {
    String file;
    for (const auto& output : ATask.output_files())
      if (output->ctx.get() == AOutput) file = output->FileName;
    throw FFmpegException(FormatAVError("av_interleaved_write_frame()", ret) + " [" + file + "]");
  }
  ++AMux.packets;
}

}  // namespace

void TCustomFFmpeg::WriteFrame(AVFormatContext* AOutput, AVPacket* APacket, TAVOutputStream& AOutStream) {
  TMuxStream& mux = *AOutStream.mux;
  if (mux.bsfs.empty()) {
    Mux(*this, AOutput, mux, AOutStream.st, APacket);
    return;
  }
  // Through the chain: every packet a filter gives goes on to the next one.
  std::function<void(AVPacket*, size_t)> pass = [&](AVPacket* APkt, size_t ALevel) {
    if (ALevel == mux.bsfs.size()) {
      Mux(*this, AOutput, mux, AOutStream.st, APkt);
      return;
    }
    AVBSFContext* bsf = mux.bsfs[ALevel].get();
    TPacketHolder keep(ff::av_packet_clone(APkt));
    Integer ret = ff::av_bsf_send_packet(bsf, APkt);
    if (ret < 0) {
      const String message =
          FormatAVError(Format("%s failed for stream %d, codec %s", bsf->filter->name, APkt->stream_index,
                               AOutStream.setup->stream_copy || !AOutStream.enc->codec
                                   ? String("copy")
                                   : String(AOutStream.enc->codec->name)),
                        ret);
      if (FPending.exit_on_error) throw FFmpegException(message);
      GetFFLogger()->Log(this, llError, message);
      // Goes on unfiltered.
      if (keep) pass(keep.get(), ALevel + 1);
      ff::av_packet_unref(APkt);
      return;
    }
    keep.reset();
    const TPacketHolder out(ff::av_packet_alloc());
    if (!out) throw FFmpegException("av_mallocz fail");
    while ((ret = ff::av_bsf_receive_packet(bsf, out.get())) >= 0) {
      pass(out.get(), ALevel + 1);
      ff::av_packet_unref(out.get());
    }
  };
  pass(APacket, 0);
}

void ReceiveEncodedPackets(TCustomFFmpeg& ATask, AVFormatContext* AOutput, TAVOutputStream& AOst,
                           const AVFrame* APicture, Integer& AFrameSize, const char* AFailure) {
  AVCodecContext* enc = AOst.enc;
  AVPacket* pkt = ATask.FState->packet.get();
  for (;;) {
    const Integer ret = ff::avcodec_receive_packet(enc, pkt);
    if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return;
    if (ret < 0) throw FFmpegException(AFailure);
    struct TUnref {
      AVPacket* p;
      ~TUnref() { ff::av_packet_unref(p); }
    } unref{pkt};
    if (enc->codec_type == AVMEDIA_TYPE_VIDEO) {
      size_t size = 0;
      if (const uint8_t* stats = ff::av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &size);
          stats && size >= 6) {
        int32_t quality;
        std::memcpy(&quality, stats, 4);
        AOst.mux->quality = Single(quality) / FF_QP2LAMBDA;
        AOst.mux->pict_type = stats[4];
        const Integer errors = std::min<Integer>(stats[5], 3);
        for (Integer j = 0; j < errors && size >= size_t(8 + 8 * (j + 1)); ++j) {
          int64_t e;
          std::memcpy(&e, stats + 8 + 8 * j, 8);
          AOst.mux->error[j] = e;
          AOst.mux->error_sum[j] += e;
        }
      }
      if (APicture && !ATask.PostHooks().Empty() && pkt->pts != AV_NOPTS_VALUE)
        ATask.RunPostHooks(APicture, enc, ff::av_rescale_q(pkt->pts, enc->time_base, AV_TIME_BASE_Q));
      ATask.FCounters.video_size += pkt->size;
      if (AOst.mux->logfile && enc->stats_out) ff::fprintf(AOst.mux->logfile, "%s", enc->stats_out);
    } else {
      ATask.FCounters.audio_size += pkt->size;
    }
    AFrameSize = pkt->size;
    pkt->stream_index = AOst.st->index;
    ff::av_packet_rescale_ts(pkt, enc->time_base, AOst.st->time_base);
    ATask.WriteFrame(AOutput, pkt, AOst);
  }
}

namespace {

void SendAudioFrame(TCustomFFmpeg& ATask, AVFormatContext* AOutput, TAVOutputStream& AOst, AVFrame* AFrame) {
  const Integer ret = ff::avcodec_send_frame(AOst.enc, AFrame);
  if (ret < 0 && ret != AVERROR_EOF) throw FFmpegException("Audio encoding failed");
  Integer size = 0;
  ReceiveEncodedPackets(ATask, AOutput, AOst, nullptr, size, "Audio encoding failed");
}

// A frame of ASamples samples in the encoder's format, with its own buffers.
TFrameHolder NewAudioFrame(const AVCodecContext* AEnc, Integer ASamples) {
  TFrameHolder frame(ff::av_frame_alloc());
  if (!frame) throw FFmpegException("Out of memory in do_audio_out");
  frame->format = AEnc->sample_fmt;
  frame->sample_rate = AEnc->sample_rate;
  frame->nb_samples = ASamples;
  ff::av_channel_layout_copy(&frame->ch_layout, &AEnc->ch_layout);
  if (ff::av_frame_get_buffer(frame.get(), 0) < 0) throw FFmpegException("Out of memory in do_audio_out");
  return frame;
}

bool FrameBased(const AVCodecContext* AEnc) {
  return AEnc->frame_size > 1 && !(AEnc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
}

}  // namespace

void TCustomFFmpeg::DoAudioOut(AVFormatContext* AOutput, TAVOutputStream& AOutStream,
                               TAVInputStream& AInStream, const uint8_t* ABuffer, Integer ASize) {
  AVCodecContext* enc = AOutStream.enc;
  TFFLogger* log = GetFFLogger();
  const Integer osize = ff::av_get_bytes_per_sample(enc->sample_fmt);
  const Integer isize = 2;  // the sources are 16-bit
  const Integer encChannels = enc->ch_layout.nb_channels;
  const Integer decChannels = AInStream.s16_layout.nb_channels;
  const Integer encRate = enc->sample_rate;
  const Integer decRate = AInStream.s16_rate;
  if (osize <= 0 || encChannels <= 0 || decChannels <= 0 || encRate <= 0 || decRate <= 0) return;
  Int64 allocatedForSize = ASize;
  Int64 maxOutSamples = 0;

  // The encoder input buffer: twice the resampled input plus room.
  auto sizeBuffers = [&] {
    Int64 bufSize = (allocatedForSize + isize * decChannels - 1) / (isize * decChannels);
    bufSize = (bufSize * encRate + decRate) / decRate;
    bufSize = bufSize * 2 + 10000;
    bufSize = std::max<Int64>(bufSize, enc->frame_size);
    maxOutSamples = bufSize;
    bufSize *= Int64(osize) * encChannels;
    if (bufSize > INT_MAX) throw FFmpegException("Buffer sizes too large in do_audio_out");
    uint8_t* buffer = FState->audio_buf.release();
    unsigned allocated = FState->allocated_audio_buf_size;
    ff::av_fast_malloc(&buffer, &allocated, size_t(bufSize));
    FState->allocated_audio_buf_size = buffer ? allocated : 0;
    FState->audio_buf.reset(buffer);
    if (!buffer) throw FFmpegException("Out of memory in do_audio_out");
  };
  sizeBuffers();

  if (decChannels != encChannels) AOutStream.audio_resample = true;
  if (!AOutStream.resample) {
    if (AOutStream.audio_resample && AInStream.dec && AInStream.dec->sample_fmt != AV_SAMPLE_FMT_S16 &&
        FPending.verbose > 0)
      log->Log(this, llVerbose, "Warning, using s16 intermediate sample format for resampling");
    SwrContext* swr = nullptr;
    Integer ret = ff::swr_alloc_set_opts2(&swr, &enc->ch_layout, enc->sample_fmt, encRate,
                                          &AInStream.s16_layout, AV_SAMPLE_FMT_S16, decRate, 0, nullptr);
    TSwrContextHolder holder(swr);
    if (ret >= 0) ret = ff::swr_init(swr);
    if (ret < 0) {
      if (AOutStream.audio_resample)
        throw FFmpegException(Format("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                     decChannels, decRate, encChannels, encRate));
      throw FFmpegException(Format("Cannot convert %s sample format to %s sample format",
                                   String(ff::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16)),
                                   String(ff::av_get_sample_fmt_name(enc->sample_fmt))));
    }
    AOutStream.resample = std::move(holder);
  }

  // Keeping step with the input: drop or insert samples, or stretch the resampler.
  AVAudioFifo* fifo = AOutStream.mux->fifo.get();
  const Double ipts = Double(AOutStream.sync_ist->pts - FPending.start_time) / 1000000;
  if (FPending.audio_sync_method != 0) {
    const Double fifoSamples = fifo ? Double(ff::av_audio_fifo_size(fifo)) : 0;
    const Double delta = encRate * ipts - Double(AOutStream.sync_opts) - fifoSamples;
    // In bytes of the 16-bit input; held to what a buffer can be.
    const Int64 wideDelta = Int64(delta * decRate / encRate) * 2 * decChannels;
    Integer byteDelta = Integer(std::clamp<Int64>(wideDelta, -Int64(INT_MAX) / 2, Int64(INT_MAX) / 2));
    if (std::fabs(delta) > 50) {
      if (AInStream.is_start || std::fabs(delta) > encRate * FPending.audio_drift_threshold) {
        if (byteDelta < 0) {
          byteDelta = std::max(byteDelta, -ASize);
          ASize += byteDelta;
          ABuffer -= byteDelta;
          if (FPending.verbose > 2) log->Log(this, llVerbose, "discarding %d audio samples", Integer(-delta));
          if (ASize == 0) return;
          AInStream.is_start = false;
        } else {
          if (byteDelta > allocatedForSize - ASize) {
            allocatedForSize = Int64(byteDelta) + ASize;
            sizeBuffers();
          }
          uint8_t* tmp = static_cast<uint8_t*>(
              ff::av_realloc(FState->input_tmp.get(), size_t(byteDelta) + size_t(ASize)));
          if (!tmp) throw FFmpegException("Out of memory in do_audio_out");
          (void)FState->input_tmp.release();
          FState->input_tmp.reset(tmp);
          AInStream.is_start = false;
          std::memset(tmp, 0, size_t(byteDelta));
          std::memcpy(tmp + byteDelta, ABuffer, size_t(ASize));
          ABuffer = tmp;
          ASize += byteDelta;
          if (FPending.verbose > 2)
            log->Log(this, llVerbose, "adding %d audio samples of silence", Integer(delta));
        }
      } else if (FPending.audio_sync_method > 1) {
        const Integer comp =
            std::clamp(Integer(delta), -FPending.audio_sync_method, FPending.audio_sync_method);
        if (FPending.verbose > 2)
          log->Log(this, llVerbose, "compensating audio timestamp drift:%f compensation:%d in:%d", delta,
                   comp, encRate);
        ff::swr_set_compensation(AOutStream.resample.get(), comp, encRate);
      }
    }
  } else {
    AOutStream.sync_opts =
        Int64(std::nearbyint(encRate * ipts)) - (fifo ? Int64(ff::av_audio_fifo_size(fifo)) : 0);
  }

  // Into the encoder's format, rate and layout.
  uint8_t* planes[AV_NUM_DATA_POINTERS] = {};
  Integer linesize = 0;
  if (ff::av_samples_fill_arrays(planes, &linesize, FState->audio_buf.get(), encChannels,
                                 Integer(maxOutSamples), enc->sample_fmt, 1) < 0)
    throw FFmpegException("Out of memory in do_audio_out");
  const uint8_t* in[1] = {ABuffer};
  const Integer count = ff::swr_convert(AOutStream.resample.get(), planes, Integer(maxOutSamples), in,
                                        ASize / (isize * decChannels));
  if (count < 0) {
    if (FPending.exit_on_error) throw FFmpegException("av_audio_convert() failed");
    log->Log(this, llError, "av_audio_convert() failed");
    return;
  }
  if (count == 0) return;

  if (FrameBased(enc)) {
    if (ff::av_audio_fifo_write(fifo, reinterpret_cast<void**>(planes), count) < count)
      throw FFmpegException("av_fifo_realloc2() failed");
    while (ff::av_audio_fifo_size(fifo) >= enc->frame_size) {
      if (!AOutStream.audio_frame) AOutStream.audio_frame = NewAudioFrame(enc, enc->frame_size);
      AVFrame* frame = AOutStream.audio_frame.get();
      if (ff::av_frame_make_writable(frame) < 0) throw FFmpegException("Out of memory in do_audio_out");
      ff::av_audio_fifo_read(fifo, reinterpret_cast<void**>(frame->data), enc->frame_size);
      frame->pts = AOutStream.sync_opts;
      SendAudioFrame(*this, AOutput, AOutStream, frame);
      AOutStream.sync_opts += enc->frame_size;
    }
  } else {
    const TFrameHolder frame = NewAudioFrame(enc, count);
    ff::av_samples_copy(frame->data, planes, 0, 0, count, encChannels, enc->sample_fmt);
    frame->pts = AOutStream.sync_opts;
    AOutStream.sync_opts += count;
    SendAudioFrame(*this, AOutput, AOutStream, frame.get());
  }
}

void TCustomFFmpeg::FlushEncoder(TAVOutputStream& AOutStream) {
  TMuxStream& mux = *AOutStream.mux;
  if (mux.flushed || !AOutStream.encoding_needed) return;
  AVCodecContext* enc = AOutStream.enc;
  if (!enc->codec) return;
  AVFormatContext* oc = Foutput_files[size_t(AOutStream.file_index)]->ctx.get();
  mux.flushed = true;
  Integer size = 0;
  switch (enc->codec_type) {
    case AVMEDIA_TYPE_AUDIO: {
      const Integer pending = mux.fifo ? ff::av_audio_fifo_size(mux.fifo.get()) : 0;
      if (pending > 0) {
        // A short last frame where the codec takes one, else padded with silence.
        const bool small =
            enc->codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        const Integer samples = small || enc->frame_size <= 1 ? pending : enc->frame_size;
        const TFrameHolder frame = NewAudioFrame(enc, samples);
        ff::av_samples_set_silence(frame->data, 0, samples, enc->ch_layout.nb_channels, enc->sample_fmt);
        ff::av_audio_fifo_read(mux.fifo.get(), reinterpret_cast<void**>(frame->data), pending);
        frame->pts = AOutStream.sync_opts;
        AOutStream.sync_opts += samples;
        SendAudioFrame(*this, oc, AOutStream, frame.get());
      }
      if (ff::avcodec_send_frame(enc, nullptr) < 0) return;
      ReceiveEncodedPackets(*this, oc, AOutStream, nullptr, size, "Audio encoding failed");
      break;
    }
    case AVMEDIA_TYPE_VIDEO:
      if (ff::avcodec_send_frame(enc, nullptr) < 0) return;
      ReceiveEncodedPackets(*this, oc, AOutStream, nullptr, size, "Video encoding failed");
      break;
    default:
      break;
  }
}
