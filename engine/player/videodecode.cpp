// The video thread: decodes the video packets (send/receive), runs each picture through a buffer
// source / buffer sink graph (straight, or the player's VideoFilters) to planar 4:2:0, stamps it
// and puts it into the two-picture queue.
#include <algorithm>

#include "engine/base/avstubs.h"
#include "engine/base/sdlstubs.h"
#include "engine/player/playerstages.h"

namespace {

enum class TVideoDecodeState { Decoding, Drained };

struct TVideoGraph {
  TFilterGraphHolder Graph;
  AVFilterContext* Source = nullptr;  // both belong to the graph
  AVFilterContext* Sink = nullptr;
  Integer Width = 0, Height = 0, Format = -1;
  void Free() {
    Graph.reset();
    Source = Sink = nullptr;
  }
};

bool ConfigureGraph(TVideoState* is, TVideoGraph& g, const AVFrame* AFrame) {
  TPlayerCore* owner = is->Owner;
  g.Free();
  g.Graph.reset(ff::avfilter_graph_alloc());
  if (!g.Graph) return false;
  char text[256];
  std::snprintf(text, sizeof text, "flags=%d", owner->Fsws_flags);
  g.Graph->scale_sws_opts = ff::av_strdup(text);
  const AVRational tb = is->video_st.load()->time_base;
  const AVRational sar = AFrame->sample_aspect_ratio.num ? AFrame->sample_aspect_ratio : AVRational{0, 1};
  std::snprintf(text, sizeof text, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                AFrame->width, AFrame->height, AFrame->format, tb.num, tb.den, sar.num, std::max(sar.den, 1));
  if (ff::avfilter_graph_create_filter(&g.Source, ff::avfilter_get_by_name("buffer"), "src", text, nullptr,
                                       g.Graph.get()) < 0)
    return false;
  if (ff::avfilter_graph_create_filter(&g.Sink, ff::avfilter_get_by_name("buffersink"), "out", nullptr,
                                       nullptr, g.Graph.get()) < 0)
    return false;
  const AVPixelFormat yuv420p = AV_PIX_FMT_YUV420P;
  if (ff::av_opt_set_bin(g.Sink, "pix_fmts", reinterpret_cast<const uint8_t*>(&yuv420p), sizeof yuv420p,
                         AV_OPT_SEARCH_CHILDREN) < 0)
    return false;
  const String filters = owner->Fvfilters;
  if (!filters.empty()) {
    AVFilterInOut* outputs = ff::avfilter_inout_alloc();
    AVFilterInOut* inputs = ff::avfilter_inout_alloc();
    if (!outputs || !inputs) {
      ff::avfilter_inout_free(&outputs);
      ff::avfilter_inout_free(&inputs);
      return false;
    }
    outputs->name = ff::av_strdup("in");
    outputs->filter_ctx = g.Source;
    inputs->name = ff::av_strdup("out");
    inputs->filter_ctx = g.Sink;
    const Integer r =
        ff::avfilter_graph_parse_ptr(g.Graph.get(), filters.c_str(), &inputs, &outputs, nullptr);
    ff::avfilter_inout_free(&outputs);
    ff::avfilter_inout_free(&inputs);
    if (r < 0) return false;
  } else if (ff::avfilter_link(g.Source, 0, g.Sink, 0) < 0) {
    return false;
  }
  if (ff::avfilter_graph_config(g.Graph.get(), nullptr) < 0) return false;
  g.Width = AFrame->width;
  g.Height = AFrame->height;
  g.Format = AFrame->format;
  return true;
}

void FlushVideo(TVideoState* is) {
  ff::avcodec_flush_buffers(is->video_ctx.get());
  {
    std::unique_lock<std::mutex> hold(is->pictq_mutex);
    for (TVideoPicture& vp : is->pictq) vp.display_time = 0;
    is->pictq_cond.wait(hold, [is] { return is->pictq_size == 0 || is->videoq.abort_request; });
    is->skip_frames = 1;
    std::lock_guard<std::mutex> clock(is->clock_mutex);
    is->video_current_pos = -1;
    is->frame_last_pts = double(AV_NOPTS_VALUE);
    is->frame_last_delay = 0;
    is->frame_timer = NowSeconds();
  }
  is->last_dts_for_fault_detection = INT64_MIN;
  is->last_pts_for_fault_detection = INT64_MIN;
  is->skip_frames_index = 0;
  is->seek_flushed = 1;
}

// The display raises the skipping ratio for late pictures, the queue lowers it when full.
float SkipFrames(TVideoState* is) {
  std::lock_guard<std::mutex> hold(is->pictq_mutex);
  return is->skip_frames;
}

// -1 queue aborted, 0 nothing to deliver, 1 a picture is in AFrame (its pts chosen into APts).
Integer GetVideoFrame(TVideoState* is, AVFrame* AFrame, Int64& APts, AVPacket* APacket,
                      TVideoDecodeState& AState) {
  for (;;) {
    const Integer r = ff::avcodec_receive_frame(is->video_ctx.get(), AFrame);
    if (r >= 0) {
      APts = ChooseVideoPts(*is, AFrame->pts, AFrame->pkt_dts, is->Owner->Fdecoder_reorder_pts);
      is->skip_frames_index += 1;
      const float skipFrames = SkipFrames(is);
      if (is->skip_frames_index >= skipFrames) {
        is->skip_frames_index -= std::max(skipFrames, 1.0f);
        return 1;
      }
      ff::av_frame_unref(AFrame);
      continue;
    }
    if (r == AVERROR_EOF && AState == TVideoDecodeState::Drained && !is->EventEOF)
      is->Owner->UpdatePosition();
    if (PacketQueueGet(is->videoq, APacket, true) < 0) return -1;
    if (IsFlushPacket(APacket)) {
      APacket->data = nullptr;
      FlushVideo(is);
      AState = TVideoDecodeState::Decoding;
      return 0;
    }
    if (!APacket->data && APacket->size == 0) {
      AState = TVideoDecodeState::Drained;
      ff::avcodec_send_packet(is->video_ctx.get(), nullptr);
    } else {
      AState = TVideoDecodeState::Decoding;
      ff::avcodec_send_packet(is->video_ctx.get(), APacket);
    }
    ff::av_packet_unref(APacket);
  }
}

Integer OutputPicture(TVideoState* is, AVFrame* AFrame, double APts, Int64 APos) {
  const AVRational tb =
      is->video_ctx->framerate.num ? av_inv_q(is->video_ctx->framerate) : is->video_st.load()->time_base;
  const double d = av_q2d(tb);
  {
    std::lock_guard<std::mutex> hold(is->clock_mutex);
    if (APts != 0)
      is->video_clock = APts;
    else
      APts = is->video_clock;
    is->video_clock += d + AFrame->repeat_pict * d / 2;
  }
  return QueuePicture(is, AFrame, APts, APos);
}

// Bookkeeping after each queued picture: seeking, opening paused, single steps.
void AfterPicture(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  // Seeking ends before the picture event wakes a waiting seek, so the waiter sees it over.
  if (owner->FSeeking && !is->seek_req) owner->FSeeking = false;
  owner->FPictEvent.SetEvent();
  is->EventEOF = 0;
  if (is->open_paused) {
    if (is->open_paused < 2) {
      is->open_paused++;
    } else {
      is->open_paused = 0;
      owner->SetPlayState(psPause);
    }
  }
  if (owner->Fstep && owner->VideoState()) StreamTogglePause(is);
}

}  // namespace

Int64 ChooseVideoPts(TVideoState& is, Int64 AReorderedPts, Int64 APacketDts, Integer ADecoderReorderPts) {
  if (APacketDts != AV_NOPTS_VALUE) {
    if (APacketDts <= is.last_dts_for_fault_detection) is.faulty_dts++;
    is.last_dts_for_fault_detection = APacketDts;
  }
  if (AReorderedPts != AV_NOPTS_VALUE) {
    if (AReorderedPts <= is.last_pts_for_fault_detection) is.faulty_pts++;
    is.last_pts_for_fault_detection = AReorderedPts;
  }
  if (AReorderedPts != AV_NOPTS_VALUE &&
      (ADecoderReorderPts == 1 || (ADecoderReorderPts && is.faulty_pts < is.faulty_dts) ||
       APacketDts == AV_NOPTS_VALUE))
    return AReorderedPts;
  if (APacketDts != AV_NOPTS_VALUE) return APacketDts;
  return 0;
}

namespace {

// The picture the queue copies: the frame (upside down when asked for), or the frame hook's drawing
// on it. The hook runs before the copy, outside the queue's lock: its handler may take its time or
// call the player.
TAVPicture PictureToQueue(TVideoState* is, const AVFrame* AFrame, Integer AWidth, Integer AHeight,
                          double APts) {
  TPlayerCore* owner = is->Owner;
  TAVPicture src = PictureOf(AFrame);
  if (owner->FVerticalFlip) {
    src.data[0] += src.linesize[0] * (AHeight - 1);
    src.data[1] += src.linesize[1] * (AHeight / 2 - 1);
    src.data[2] += src.linesize[2] * (AHeight / 2 - 1);
    for (Integer p = 0; p < 3; ++p) src.linesize[p] = -src.linesize[p];
  }
  if (!owner->FHook || !owner->FPlayer->OnHook.Get()) return src;
  if (!is->hook_buffer || is->hook_width != AWidth || is->hook_height != AHeight) {
    const Integer size = ff::av_image_get_buffer_size(AV_PIX_FMT_YUV420P, AWidth, AHeight, 1);
    is->hook_buffer.reset(size > 0 ? static_cast<uint8_t*>(ff::av_malloc(size_t(size))) : nullptr);
    is->hook_width = is->hook_height = 0;
    if (!is->hook_buffer) return src;
    ff::av_image_fill_arrays(is->hook_picture.data, is->hook_picture.linesize, is->hook_buffer.get(),
                             AV_PIX_FMT_YUV420P, AWidth, AHeight, 1);
    is->hook_width = AWidth;
    is->hook_height = AHeight;
  }
  const bool hooked = owner->DoHook(src, is->hook_picture, AVPixelFormat(AFrame->format), AV_PIX_FMT_YUV420P,
                                    AWidth, AHeight, APts);
  return hooked ? is->hook_picture : src;
}

}  // namespace

Integer QueuePicture(TVideoState* is, AVFrame* AFrame, double APts, Int64 APos) {
  const Integer w = AFrame->width & ~1, h = AFrame->height & ~1;
  Integer windex;
  bool allocate;
  {
    std::unique_lock<std::mutex> hold(is->pictq_mutex);
    if (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && is->refresh != 1)
      is->skip_frames = std::max(0.95f, is->skip_frames * 0.95f);
    is->pictq_cond.wait(
        hold, [is] { return is->pictq_size < VIDEO_PICTURE_QUEUE_SIZE || is->videoq.abort_request; });
    if (is->videoq.abort_request) return -1;
    is->out_width = w;
    is->out_height = h;
    is->out_format = AFrame->format;
    is->out_sample_aspect_ratio = AFrame->sample_aspect_ratio;
    is->has_filter_output = true;
    windex = is->pictq_windex;
    const TVideoPicture& vp = is->pictq[windex];
    allocate = !vp.overlay || vp.width != w || vp.height != h;
    if (allocate) is->pictq[windex].allocated = 0;
  }
  TVideoPicture& vp = is->pictq[windex];
  if (allocate) {
    PushUserEvent(FF_ALLOC_EVENT, is);
    std::unique_lock<std::mutex> hold(is->pictq_mutex);
    is->pictq_cond.wait(hold, [&] { return vp.allocated || is->videoq.abort_request; });
    if (is->videoq.abort_request) return -1;
  }
  const TAVPicture src = PictureToQueue(is, AFrame, w, h, APts);
  std::lock_guard<std::mutex> hold(is->pictq_mutex);
  // The entry on screen is being replaced: redraws fall back to the queue.
  if (is->pictq_shown == windex) is->pictq_shown = -1;
  if (vp.overlay) {
    vp.sample_aspect_ratio = AFrame->sample_aspect_ratio;
    libsdl::SDL_LockYUVOverlay(vp.overlay);
    TAVPicture dest;
    dest.data[0] = vp.overlay->pixels[0];
    dest.data[1] = vp.overlay->pixels[2];
    dest.data[2] = vp.overlay->pixels[1];
    dest.linesize[0] = vp.overlay->pitches[0];
    dest.linesize[1] = vp.overlay->pitches[2];
    dest.linesize[2] = vp.overlay->pitches[1];
    ff::av_image_copy(dest.data, dest.linesize, const_cast<const uint8_t**>(src.data), src.linesize,
                      AV_PIX_FMT_YUV420P, vp.width, vp.height);
    libsdl::SDL_UnlockYUVOverlay(vp.overlay);
  }
  vp.pts = APts;
  vp.pos = APos;
  is->pictq_windex = (windex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
  vp.display_time = ComputeTargetTime(*is, APts);
  is->pictq_size++;
  return 0;
}

void VideoThread(TVideoState* is) {
  TFrameHolder frameHolder(ff::av_frame_alloc()), filteredHolder(ff::av_frame_alloc());
  TPacketHolder packetHolder(ff::av_packet_alloc());
  AVFrame* frame = frameHolder.get();
  AVFrame* filtered = filteredHolder.get();
  AVPacket* packet = packetHolder.get();
  TVideoGraph graph;
  TVideoDecodeState decodeState = TVideoDecodeState::Decoding;
  bool running = frame && filtered && packet;
  while (running) {
    while (is->paused && !is->videoq.abort_request && !is->seek_paused && !is->open_paused)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Int64 pts = 0;
    const Integer got = GetVideoFrame(is, frame, pts, packet, decodeState);
    if (got < 0) break;
    if (got == 0) continue;
    if (!graph.Graph || graph.Width != frame->width || graph.Height != frame->height ||
        graph.Format != frame->format) {
      // A graph that cannot be built ends the thread: the file plays without pictures.
      if (!ConfigureGraph(is, graph, frame)) break;
    }
    frame->pts = pts;
    const Int64 pos = frame->pkt_pos;
    if (ff::av_buffersrc_add_frame(graph.Source, frame) < 0) {
      ff::av_frame_unref(frame);
      continue;
    }
    const AVRational tb = ff::av_buffersink_get_time_base(graph.Sink);
    while (running && ff::av_buffersink_get_frame(graph.Sink, filtered) >= 0) {
      if (is->seek_done && is->seek_flushed) {
        is->seek_done = 0;
        is->seek_paused = 0;
      }
      const double seconds = filtered->pts == AV_NOPTS_VALUE ? 0 : double(filtered->pts) * av_q2d(tb);
      if (OutputPicture(is, filtered, seconds, filtered->pkt_pos >= 0 ? filtered->pkt_pos : pos) < 0)
        running = false;
      else
        AfterPicture(is);
      ff::av_frame_unref(filtered);
    }
  }
}
