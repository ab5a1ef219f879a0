// The video filter graph of a re-encoded stream, and the ways a caller sees and changes pictures:
// deinterlacing, the custom hook, the frame-hook plug-ins and the preview post hooks.
#include <cstring>

#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/preview/framehook.h"
#include "engine/preview/previewer.h"
#include "engine/transcoder/streamtables.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace {

struct TInOutFree {
  AVFilterInOut*& p;
  ~TInOutFree() { ff::avfilter_inout_free(&p); }
};

AVFilterInOut* NewInOut(const char* AName, AVFilterContext* AFilter) {
  AVFilterInOut* io = ff::avfilter_inout_alloc();
  if (!io) return nullptr;
  io->name = ff::av_strdup(AName);
  io->filter_ctx = AFilter;
  io->pad_idx = 0;
  io->next = nullptr;
  return io;
}

// 8-bit planar YUV or grey, sizes a multiple of 4: the odd lines become a low-pass of their
// neighbours (−1, 4, 2, 4, −1)/8, the even lines stay.
bool Deinterlace(const TAVPicture& ADst, const AVFrame* ASrc) {
  const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(AVPixelFormat(ASrc->format));
  if (!desc || (desc->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BE |
                               AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM)))
    return false;
  if ((ASrc->width & 3) || (ASrc->height & 3)) return false;
  for (Integer c = 0; c < desc->nb_components; ++c)
    if (desc->comp[c].depth != 8 || desc->comp[c].step != 1) return false;
  const Integer planes = ff::av_pix_fmt_count_planes(AVPixelFormat(ASrc->format));
  for (Integer p = 0; p < planes; ++p) {
    const bool chroma = p == 1 || p == 2;
    const Integer w = chroma ? -((-ASrc->width) >> desc->log2_chroma_w) : ASrc->width;
    const Integer h = chroma ? -((-ASrc->height) >> desc->log2_chroma_h) : ASrc->height;
    const uint8_t* src = ASrc->data[p];
    const Integer ss = ASrc->linesize[p];
    uint8_t* dst = ADst.data[p];
    const Integer ds = ADst.linesize[p];
    auto row = [&](Integer y) { return src + std::clamp(y, 0, h - 1) * ss; };
    for (Integer y = 0; y < h; ++y) {
      uint8_t* out = dst + y * ds;
      if ((y & 1) == 0) {
        std::memcpy(out, src + y * ss, size_t(w));
        continue;
      }
      const uint8_t *m2 = row(y - 2), *m1 = row(y - 1), *c0 = row(y), *p1 = row(y + 1), *p2 = row(y + 2);
      for (Integer x = 0; x < w; ++x) {
        const Integer v = (-m2[x] + 4 * m1[x] + 2 * c0[x] + 4 * p1[x] - p2[x] + 4) >> 3;
        out[x] = uint8_t(std::clamp(v, 0, 255));
      }
    }
  }
  return true;
}

}  // namespace

Integer TCustomFFmpeg::ConfigureFilters(TAVInputStream& AInStream, TAVOutputStream& AOutStream) {
  AVCodecContext* enc = AOutStream.enc;
  const AVCodecContext* dec = AInStream.dec;
  AInStream.graph.reset(ff::avfilter_graph_alloc());
  AVFilterGraph* graph = AInStream.graph.get();
  if (!graph) return -1;
  const AVRational sar = dec->sample_aspect_ratio.num ? dec->sample_aspect_ratio : AVRational{0, 1};
  const String sourceArgs = Format("video_size=%dx%d:pix_fmt=%d:time_base=1/1000000:pixel_aspect=%d/%d",
                                   dec->width, dec->height, Integer(dec->pix_fmt), sar.num, sar.den);
  if (ff::avfilter_graph_create_filter(&AInStream.input_video_filter, ff::avfilter_get_by_name("buffer"),
                                       "src", sourceArgs.c_str(), nullptr, graph) < 0)
    return -1;
  AVFilterContext* sink =
      ff::avfilter_graph_alloc_filter(graph, ff::avfilter_get_by_name("buffersink"), "out");
  if (!sink) return -1;
  const int formats[1] = {enc->pix_fmt};
  if (ff::av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const uint8_t*>(formats), sizeof formats,
                         AV_OPT_SEARCH_CHILDREN) < 0 ||
      ff::avfilter_init_str(sink, nullptr) < 0)
    return -1;
  AInStream.out_video_filter = sink;

  AVFilterContext* last = AInStream.input_video_filter;
  const Integer cropW = dec->width - (FPending.frame_leftBand + FPending.frame_rightBand);
  const Integer cropH = dec->height - (FPending.frame_topBand + FPending.frame_bottomBand);
  if (AOutStream.video_crop) {
    AVFilterContext* crop = nullptr;
    // The cropped input, not the output size: scaling follows when they differ.
    const String args = Format("x=%d:y=%d:w=%d:h=%d", AOutStream.leftBand, AOutStream.topBand, cropW, cropH);
    if (ff::avfilter_graph_create_filter(&crop, ff::avfilter_get_by_name("crop"), "crop", args.c_str(),
                                         nullptr, graph) < 0 ||
        ff::avfilter_link(last, 0, crop, 0) != 0)
      return -1;
    last = crop;
  }
  int64_t flags = FPending.sws_flags;
  if (FOptions.sws_opts.get()) ff::av_opt_get_int(FOptions.sws_opts.get(), "sws_flags", 0, &flags);
  if (enc->width != cropW || enc->height != cropH) {
    AVFilterContext* scale = nullptr;
    const String args = Format("w=%d:h=%d:flags=%d", enc->width, enc->height, Integer(flags));
    if (ff::avfilter_graph_create_filter(&scale, ff::avfilter_get_by_name("scale"), "scale", args.c_str(),
                                         nullptr, graph) < 0 ||
        ff::avfilter_link(last, 0, scale, 0) != 0)
      return -1;
    last = scale;
  }
  graph->scale_sws_opts = ff::av_strdup(Format("flags=0x%X", Integer(flags)).c_str());
  if (!FPending.vfilters.empty()) {
    AVFilterInOut* outputs = NewInOut("in", last);
    AVFilterInOut* inputs = NewInOut("out", sink);
    TInOutFree freeOutputs{outputs}, freeInputs{inputs};
    if (!outputs || !inputs) return -1;
    String description;
    Utf8ToSystem(FPending.vfilters, description);
    if (ff::avfilter_graph_parse_ptr(graph, description.c_str(), &inputs, &outputs, nullptr) < 0) return -1;
  } else if (ff::avfilter_link(last, 0, sink, 0) < 0) {
    return -1;
  }
  if (ff::avfilter_graph_config(graph, nullptr) < 0) return -1;
  enc->width = ff::av_buffersink_get_w(sink);
  enc->height = ff::av_buffersink_get_h(sink);
  return 0;
}

void TCustomFFmpeg::PreProcessVideoFrame(TAVInputStream& AInStream, AVFrame* APicture) {
  ++FHookFrameNumber;
  const Int64 pts = AInStream.pts;
  if (!(FPending.do_deinterlace || FOnCustomHook || Fusing_vhook)) return;
  // A picture of our own: the encoder may keep a reference to what it is given.
  const TFrameHolder workHolder(ff::av_frame_alloc());
  AVFrame* work = workHolder.get();
  if (!work) {
    GetFFLogger()->Log(this, llError, "hook buf malloc error.");
    return;
  }
  work->format = APicture->format;
  work->width = APicture->width;
  work->height = APicture->height;
  if (ff::av_frame_get_buffer(work, 0) < 0) {
    GetFFLogger()->Log(this, llError, "hook buf malloc error.");
    return;
  }
  const TAVPicture copy = PictureOf(work);
  bool useCopy = true;
  if (FPending.do_deinterlace) {
    if (!Deinterlace(copy, APicture)) {
      GetFFLogger()->Log(this, llError, "Deinterlacing failed.");
      useCopy = false;
    }
  } else {
    ff::av_image_copy(work->data, work->linesize, const_cast<const uint8_t**>(APicture->data),
                      APicture->linesize, AVPixelFormat(APicture->format), APicture->width, APicture->height);
  }
  TAVPicture picture = useCopy ? copy : PictureOf(APicture);
  if (FOnCustomHook) {
    RunCustomHook(picture, AVPixelFormat(APicture->format), APicture->width, APicture->height, pts);
  } else if (Fusing_vhook) {
    TFrameHookPicture hookPicture;
    for (Integer p = 0; p < 4; ++p) {
      hookPicture.data[p] = picture.data[p];
      hookPicture.linesize[p] = picture.linesize[p];
    }
    ProcessFrameHooks(FFirstHook, &hookPicture, APicture->format, APicture->width, APicture->height, pts);
  }
  if (useCopy) {
    ff::av_frame_copy_props(work, APicture);
    ff::av_frame_unref(APicture);
    ff::av_frame_move_ref(APicture, work);
  }
}

void TCustomFFmpeg::RunCustomHook(TAVPicture& APicture, AVPixelFormat APixFmt, Integer AWidth,
                                  Integer AHeight, Int64 APTS) {
  TFFLogger* log = GetFFLogger();
  TRGBConvertContext& context = *FHookContext;
  bool stop = false;
  if (!PictureToBitmap(context, APicture, APixFmt, AWidth, AHeight)) {
    log->Log(this, llError, "Cannot initialize the toRGB conversion context");
    stop = true;
  } else {
    bool update = true;
    try {
      FOnCustomHook(this, context.Bitmap.get(), FHookFrameNumber, APTS, update, stop);
    } catch (const Exception& e) {
      log->Log(this, llError, "Error occurs OnCustomHook: " + e.Message());
      update = false;
    }
    if (update && context.RGBPictureRef) {
      const TAVPicture& rgb = *context.RGBPictureRef;
      const size_t rowBytes = size_t(std::min(rgb.linesize[0], AWidth * 3));
      for (Integer y = 0; y < AHeight && y < context.Bitmap->Height(); ++y)
        std::memcpy(rgb.data[0] + Int64(y) * rgb.linesize[0], context.Bitmap->ScanLine(y), rowBytes);
      if (context.RGBPixFmt != APixFmt) {
        context.fromRGB_convert_ctx.reset(ff::sws_getCachedContext(
            context.fromRGB_convert_ctx.release(), AWidth, AHeight, context.RGBPixFmt, AWidth, AHeight,
            APixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
        if (!context.fromRGB_convert_ctx) {
          log->Log(this, llError, "Cannot initialize the fromRGB conversion context");
          stop = true;
        } else {
          ff::sws_scale(context.fromRGB_convert_ctx.get(), context.RGBPicture.data,
                        context.RGBPicture.linesize, 0, AHeight, APicture.data, APicture.linesize);
        }
      }
    }
  }
  if (stop) {
    FOnCustomHook = nullptr;
    Fusing_vhook = false;
  }
}

void TCustomFFmpeg::RunPostHooks(const AVFrame* APicture, const AVCodecContext* ACodecContext, Int64 APTS) {
  // The lock only guards the hook set: the bitmap goes out without it, because its receiver may
  // wait for the owner thread, which takes the lock to change the hooks.
  const TPostHooks hooks = PostHooks();
  TRGBConvertContext& context = *FPostContext.Context;
  const TAVPicture picture = PictureOf(APicture);
  auto due = [this] {
    FPostContext.preview_cur_time = ff::av_gettime();
    return FPostContext.preview_cur_time - FPostContext.preview_last_time > PreviewInterval;
  };
  if (hooks.Contains(phBitmap) && FOnPreviewBitmap) {
    if (due()) {
      const bool ok = PictureToBitmap(context, picture, ACodecContext->pix_fmt, ACodecContext->width,
                                      ACodecContext->height);
      FPostContext.preview_last_time = FPostContext.preview_cur_time;
      if (ok) {
        FOnPreviewBitmap(this, context.Bitmap.get(), FHookFrameNumber, APTS);
      } else {
        GetFFLogger()->Log(this, llError, "Cannot initialize the toRGB conversion context");
        TCriticalSectionHold hold(PostHookLock());
        TPostHooks now = FPostHooks;
        now.Exclude(phBitmap);
        DoSetPostHooks(now);
      }
    }
  } else if (hooks.Contains(phPreview)) {
    if (due()) {
      bool ok = PictureToBitmap(context, picture, ACodecContext->pix_fmt, ACodecContext->width,
                                ACodecContext->height);
      FPostContext.preview_last_time = FPostContext.preview_cur_time;
      if (!ok) GetFFLogger()->Log(this, llError, "Cannot initialize the toRGB conversion context");
      // The window only copies the picture and queues its repaint, so the lock is not held across a
      // wait for the main thread; under it the owner cannot free the window meanwhile.
      TCriticalSectionHold hold(PostHookLock());
      if (ok && FPostHooks.Contains(phPreview)) {
        if (!FPostContext.Previewer) FPostContext.Previewer = std::make_unique<TPreviewer>();
        auto* window = dynamic_cast<TPreviewer*>(FPostContext.Previewer.get());
        ok = window && window->PaintFrame(context.Bitmap.get(), FHookFrameNumber, APTS);
      }
      if (!ok) {
        TPostHooks now = FPostHooks;
        now.Exclude(phPreview);
        DoSetPostHooks(now);
      }
    }
  }
}
