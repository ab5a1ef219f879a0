// Owners of the FFmpeg objects the probe keeps: std::unique_ptr with deleters that call the bound
// free functions, so no error path needs a naked free call.
#pragma once

#include <memory>

#include "engine/loader/avstubs.h"
#include "engine/util/unicodeprotocol.h"

// An input opened by the probe itself (closed with its file, whichever I/O opened it).
struct TProbeInputClose {
  void operator()(AVFormatContext* p) const { UnicodeCloseInput(&p); }
};
using TProbeInputHolder = std::unique_ptr<AVFormatContext, TProbeInputClose>;

struct TProbeCodecContextFree {
  void operator()(AVCodecContext* p) const { ff::avcodec_free_context(&p); }
};
using TProbeCodecContextHolder = std::unique_ptr<AVCodecContext, TProbeCodecContextFree>;

struct TProbePacketFree {
  void operator()(AVPacket* p) const { ff::av_packet_free(&p); }
};
using TProbePacketHolder = std::unique_ptr<AVPacket, TProbePacketFree>;

struct TProbeFrameFree {
  void operator()(AVFrame* p) const { ff::av_frame_free(&p); }
};
using TProbeFrameHolder = std::unique_ptr<AVFrame, TProbeFrameFree>;

struct TProbeMemFree {
  void operator()(void* p) const { ff::av_free(p); }
};
template <typename T>
using TProbeMemHolder = std::unique_ptr<T, TProbeMemFree>;

// A codec context filled from a stream's parameters: the stream's codec context as the info texts
// and the codec names read it. Null when the parameters cannot be copied.
inline TProbeCodecContextHolder MakeStreamCodecContext(const AVStream* AStream) {
  TProbeCodecContextHolder ctx(ff::avcodec_alloc_context3(nullptr));
  if (ctx && ff::avcodec_parameters_to_context(ctx.get(), AStream->codecpar) < 0) ctx.reset();
  return ctx;
}
