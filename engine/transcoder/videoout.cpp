// Video and subtitle output: frames dropped or duplicated for sync, cropped and scaled when no
// filter graph does it, encoded and written; the video statistics file; subtitles.
#include <cmath>
#include <cstring>

#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/transcoder/streamtables.h"
#include "platform/rtl/format.h"

namespace {

// AView shows AFrame without the crop bands: the same planes, moved in.
bool CropView(AVFrame* AView, const AVFrame* AFrame, Integer ATop, Integer ALeft) {
  const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(AVPixelFormat(AFrame->format));
  if (!desc || (desc->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL)))
    return false;
  for (Integer p = 0; p < 4 && AFrame->data[p]; ++p) {
    Integer step = 0;
    bool chroma = false;
    for (Integer c = 0; c < desc->nb_components; ++c)
      if (desc->comp[c].plane == p) {
        step = std::max(step, Integer(desc->comp[c].step));
        chroma = chroma || (c == 1 || c == 2);
      }
    const Integer shiftX = chroma && !(desc->flags & AV_PIX_FMT_FLAG_RGB) ? desc->log2_chroma_w : 0;
    const Integer shiftY = chroma && !(desc->flags & AV_PIX_FMT_FLAG_RGB) ? desc->log2_chroma_h : 0;
    AView->data[p] = AFrame->data[p] + (ATop >> shiftY) * AFrame->linesize[p] + (ALeft >> shiftX) * step;
    AView->linesize[p] = AFrame->linesize[p];
  }
  return true;
}

}  // namespace

TFrameHolder NewScaledPicture(const AVCodecContext* AEnc) {
  TFrameHolder picture(ff::av_frame_alloc());
  if (!picture) throw FFmpegException("Cannot allocate temp picture, check pix fmt");
  picture->format = AEnc->pix_fmt;
  picture->width = AEnc->width;
  picture->height = AEnc->height;
  if (ff::av_frame_get_buffer(picture.get(), 0) < 0)
    throw FFmpegException("Cannot allocate temp picture, check pix fmt");
  return picture;
}

void TCustomFFmpeg::DoVideoOut(AVFormatContext* AOutput, TAVOutputStream& AOutStream,
                               TAVInputStream& AInStream, AVFrame* APicture, Integer& AFrameSize) {
  AVCodecContext* enc = AOutStream.enc;
  TFFLogger* log = GetFFLogger();
  const Double syncIpts =
      (Double(AOutStream.sync_ist->pts - FPending.start_time) / 1000000) / av_q2d(enc->time_base);
  Integer nbFrames = 1;
  AFrameSize = 0;
  if (FPending.video_sync_method != 0) {
    const Double vdelta = syncIpts - Double(AOutStream.sync_opts);
    if (vdelta < -1.1) {
      nbFrames = 0;
    } else if (FPending.video_sync_method == 2 ||
               (FPending.video_sync_method < 0 && (AOutput->oformat->flags & AVFMT_VARIABLE_FPS))) {
      if (vdelta <= -0.6)
        nbFrames = 0;
      else if (vdelta > 0.6)
        AOutStream.sync_opts = Int64(std::nearbyint(syncIpts));
    } else if (vdelta > 1.1) {
      nbFrames = Integer(std::nearbyint(vdelta));
    }
    if (nbFrames == 0) {
      ++FCounters.nb_frames_drop;
      FCounters.ShowDupOrDrop = true;
      if (FPending.verbose > 2) log->Log(this, llVerbose, "*** drop!");
    } else if (nbFrames > 1) {
      FCounters.nb_frames_dup += nbFrames - 1;
      FCounters.ShowDupOrDrop = true;
      if (FPending.verbose > 2) log->Log(this, llVerbose, "*** %d dup!", nbFrames - 1);
    }
  } else {
    AOutStream.sync_opts = Int64(std::nearbyint(syncIpts));
  }
  nbFrames = Integer(std::min<Int64>(nbFrames, Int64(FPending.max_frames[0]) - AOutStream.frame_number));
  if (nbFrames <= 0) return;

  // The picture to encode: a view of the decoded one (cropped), or its scaled copy.
  const TFrameHolder viewHolder(ff::av_frame_alloc());
  AVFrame* view = viewHolder.get();
  if (!view) throw FFmpegException("Video encoding failed");
  if (APicture->buf[0]) {
    if (ff::av_frame_ref(view, APicture) < 0) throw FFmpegException("Video encoding failed");
  } else {
    for (Integer p = 0; p < AV_NUM_DATA_POINTERS; ++p) {
      view->data[p] = APicture->data[p];
      view->linesize[p] = APicture->linesize[p];
    }
    view->format = APicture->format;
    view->width = APicture->width;
    view->height = APicture->height;
  }
  AVFrame* final = view;
  if (!FPending.EnableFilter) {
    if (AOutStream.video_crop && !CropView(view, APicture, AOutStream.topBand, AOutStream.leftBand)) {
      if (FPending.exit_on_error) throw FFmpegException("error cropping picture");
      log->Log(this, llError, "error cropping picture");
      return;
    }
    const Integer w = APicture->width, h = APicture->height, fmt = APicture->format;
    const bool changed = h - (AOutStream.topBand + AOutStream.bottomBand) != AOutStream.resample_height ||
                         w - (AOutStream.leftBand + AOutStream.rightBand) != AOutStream.resample_width ||
                         fmt != AOutStream.resample_pix_fmt;
    if (changed) {
      const char* name = ff::av_get_pix_fmt_name(AVPixelFormat(fmt));
      log->Log(this, llQuiet, "Input Stream #%d.%d frame size changed to %dx%d, %s", AInStream.file_index,
               AInStream.index, w, h, String(name ? name : "?"));
      // A stream that did not scale so far starts to.
      if (!AOutStream.video_resample) {
        AOutStream.pict_tmp = NewScaledPicture(enc);
        AOutStream.video_resample = true;
      }
    }
    if (AOutStream.video_resample) {
      if (changed || !AOutStream.img_resample_ctx) {
        if (AOutStream.original_height > 0 && AOutStream.original_width > 0) {
          AOutStream.topBand = (h * AOutStream.original_topBand / AOutStream.original_height) & ~1;
          AOutStream.bottomBand = (h * AOutStream.original_bottomBand / AOutStream.original_height) & ~1;
          AOutStream.leftBand = (w * AOutStream.original_leftBand / AOutStream.original_width) & ~1;
          AOutStream.rightBand = (w * AOutStream.original_rightBand / AOutStream.original_width) & ~1;
        }
        AOutStream.resample_height = h - (AOutStream.topBand + AOutStream.bottomBand);
        AOutStream.resample_width = w - (AOutStream.leftBand + AOutStream.rightBand);
        AOutStream.resample_pix_fmt = fmt;
        if (AOutStream.video_crop) CropView(view, APicture, AOutStream.topBand, AOutStream.leftBand);
        AOutStream.img_resample_ctx.reset();
        int64_t flags = FPending.sws_flags;
        if (FOptions.sws_opts.get()) ff::av_opt_get_int(FOptions.sws_opts.get(), "sws_flags", 0, &flags);
        FPending.sws_flags = Cardinal(flags);
        AOutStream.img_resample_ctx.reset(ff::sws_getContext(
            AOutStream.resample_width, AOutStream.resample_height, AVPixelFormat(fmt), enc->width,
            enc->height, enc->pix_fmt, Integer(FPending.sws_flags), nullptr, nullptr, nullptr));
        if (!AOutStream.img_resample_ctx) throw FFmpegException("Cannot get resampling context");
      }
      // The encoder may still hold the last scaled picture.
      if (ff::av_frame_make_writable(AOutStream.pict_tmp.get()) < 0)
        throw FFmpegException("Video encoding failed");
      ff::sws_scale(AOutStream.img_resample_ctx.get(), view->data, view->linesize, 0,
                    AOutStream.resample_height, AOutStream.pict_tmp->data, AOutStream.pict_tmp->linesize);
      final = AOutStream.pict_tmp.get();
    } else {
      view->width = enc->width;
      view->height = enc->height;
    }
  }

  for (Integer i = 0; i < nbFrames; ++i) {
    if (Broken()) break;
    final->interlaced_frame = APicture->interlaced_frame;
    if (enc->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME))
      final->top_field_first =
          FPending.top_field_first == -1 ? APicture->top_field_first : FPending.top_field_first;
    final->quality =
        Integer(std::nearbyint(FPending.same_quality ? AInStream.quality : AOutStream.setup->quality));
    final->pict_type = AV_PICTURE_TYPE_NONE;
    final->pts = AOutStream.sync_opts;
    if (ff::avcodec_send_frame(enc, final) < 0) throw FFmpegException("Video encoding failed");
    ReceiveEncodedPackets(*this, AOutput, AOutStream, final, AFrameSize, "Video encoding failed");
    ++AOutStream.sync_opts;
    ++AOutStream.frame_number;
  }
}

void TCustomFFmpeg::DoVideoStats(TAVOutputStream& AOutStream, Integer AFrameSize) {
  if (!Fvstats_file) {
    Fvstats_file = ff::fopen(FPending.vstats_filename->c_str(), "w");
    if (!Fvstats_file) throw FFmpegException("fopen fail: " + *FPending.vstats_filename);
  }
  const AVCodecContext* enc = AOutStream.enc;
  if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
  const Single quality = AOutStream.mux->quality;
  ff::fprintf(Fvstats_file, "frame= %5d q= %2.1f ", AOutStream.frame_number, Double(quality));
  if (enc->flags & AV_CODEC_FLAG_PSNR)
    ff::fprintf(Fvstats_file, "PSNR= %6.2f ",
                -10.0 * std::log10(Double(AOutStream.mux->error[0]) /
                                   (Double(enc->width) * enc->height * 255.0 * 255.0)));
  ff::fprintf(Fvstats_file, "f_size= %6d ", AFrameSize);
  const Double tb = av_q2d(enc->time_base);
  Double ti1 = Double(AOutStream.sync_opts) * tb;
  if (ti1 < 0.01) ti1 = 0.01;
  const Double bitrate = Double(AFrameSize) * 8 / tb / 1000;
  const Double avgBitrate = Double(FCounters.video_size) * 8 / ti1 / 1000;
  ff::fprintf(Fvstats_file, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
              Double(FCounters.video_size) / 1024, ti1, bitrate, avgBitrate);
  ff::fprintf(Fvstats_file, "type= %c\n",
              ff::av_get_picture_type_char(AVPictureType(AOutStream.mux->pict_type)));
}

void TCustomFFmpeg::DoSubtitleOut(AVFormatContext* AOutput, TAVOutputStream& AOutStream,
                                  TAVInputStream& AInStream, AVSubtitle* ASubtitle, Int64 APTS) {
  constexpr Integer subtitleOutSize = 1048576;
  if (APTS == AV_NOPTS_VALUE) {
    if (FPending.exit_on_error) throw FFmpegException("Subtitle packets must have a pts");
    GetFFLogger()->Log(this, llError, "Subtitle packets must have a pts");
    return;
  }
  TConvertState& s = *FState;
  if (!s.subtitle_out) {
    s.subtitle_out.reset(static_cast<uint8_t*>(ff::av_malloc(subtitleOutSize)));
    if (!s.subtitle_out) throw FFmpegException("Subtitle encoding failed");
  }
  AVCodecContext* enc = AOutStream.enc;
  const Integer count = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE ? 2 : 1;
  for (Integer i = 0; i < count; ++i) {
    ASubtitle->pts = ff::av_rescale_q(APTS, AInStream.st->time_base, AV_TIME_BASE_Q) +
                     ff::av_rescale_q(ASubtitle->start_display_time, AVRational{1, 1000}, AV_TIME_BASE_Q);
    ASubtitle->end_display_time -= ASubtitle->start_display_time;
    ASubtitle->start_display_time = 0;
    const Integer size = ff::avcodec_encode_subtitle(enc, s.subtitle_out.get(), subtitleOutSize, ASubtitle);
    if (size < 0) throw FFmpegException("Subtitle encoding failed");
    AVPacket* pkt = s.packet.get();
    ff::av_packet_unref(pkt);
    if (ff::av_new_packet(pkt, size) < 0) throw FFmpegException("Subtitle encoding failed");
    std::memcpy(pkt->data, s.subtitle_out.get(), size_t(size));
    pkt->stream_index = AOutStream.st->index;
    pkt->pts = ff::av_rescale_q(ASubtitle->pts, AV_TIME_BASE_Q, AOutStream.st->time_base);
    if (enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE)
      pkt->pts +=
          Int64(uint32_t(90 * (i == 0 ? ASubtitle->start_display_time : ASubtitle->end_display_time)));
    pkt->dts = pkt->pts;
    pkt->duration =
        ff::av_rescale_q(ASubtitle->end_display_time, AVRational{1, 1000}, AOutStream.st->time_base);
    try {
      WriteFrame(AOutput, pkt, AOutStream);
    } catch (...) {
      ff::av_packet_unref(pkt);
      throw;
    }
    ff::av_packet_unref(pkt);
  }
}
