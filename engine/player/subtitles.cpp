// Subtitles: a thread decodes the subtitle packets into the four-entry queue; bitmap subtitles get
// their palettes turned from (A, R, G, B) into (A, Y, U, V) for blending into the 4:2:0 picture.
#include "engine/base/avstubs.h"
#include "engine/player/playerstages.h"

uint32_t RGBAToYUVA(uint32_t AColour) {
  const Integer a = Integer(AColour >> 24), r = Integer((AColour >> 16) & 0xFF),
                g = Integer((AColour >> 8) & 0xFF), b = Integer(AColour & 0xFF);
  const Integer y = (263 * r + 517 * g + 101 * b + 16896) >> 10;
  const Integer u = ((-152 * r - 298 * g + 450 * b + 511) >> 10) + 128;
  const Integer v = ((450 * r - 377 * g - 74 * b + 511) >> 10) + 128;
  return (uint32_t(a) << 24) | (uint32_t(y) << 16) | (uint32_t(u) << 8) | uint32_t(v);
}

void SubtitleThread(TVideoState* is) {
  TPacketHolder holder(ff::av_packet_alloc());
  AVPacket* packet = holder.get();
  while (packet) {
    while (is->paused && !is->subtitleq.abort_request && !is->seek_paused)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (PacketQueueGet(is->subtitleq, packet, true) < 0) break;
    if (IsFlushPacket(packet)) {
      packet->data = nullptr;
      ff::avcodec_flush_buffers(is->subtitle_ctx.get());
      continue;
    }
    {
      std::unique_lock<std::mutex> hold(is->subpq_mutex);
      is->subpq_cond.wait(
          hold, [is] { return is->subpq_size < SUBPICTURE_QUEUE_SIZE || is->subtitleq.abort_request; });
    }
    if (is->subtitleq.abort_request) break;
    TSubPicture& sp = is->subpq[is->subpq_windex];
    const double pts =
        packet->pts != AV_NOPTS_VALUE ? av_q2d(is->subtitle_st.load()->time_base) * packet->pts : 0;
    int got = 0;
    const Integer r = ff::avcodec_decode_subtitle2(is->subtitle_ctx.get(), &sp.sub, &got, packet);
    if (r >= 0 && got && sp.sub.format == 0) {
      sp.pts = pts;
      for (unsigned i = 0; i < sp.sub.num_rects; ++i) {
        AVSubtitleRect* rect = sp.sub.rects[i];
        auto* palette = reinterpret_cast<uint32_t*>(rect->data[1]);
        for (Integer c = 0; palette && c < rect->nb_colors; ++c) palette[c] = RGBAToYUVA(palette[c]);
      }
      is->subpq_windex = (is->subpq_windex + 1) % SUBPICTURE_QUEUE_SIZE;
      std::lock_guard<std::mutex> hold(is->subpq_mutex);
      is->subpq_size++;
    } else if (got) {
      // Text subtitles never enter the queue.
      ff::avsubtitle_free(&sp.sub);
    }
    ff::av_packet_unref(packet);
  }
}
