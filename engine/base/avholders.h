// Owners of FFmpeg objects for the whole engine (probe, transcoder, player): std::unique_ptr with
// deleters that call the bound free functions, so no error path needs a naked free call.
//
// Use:  TFrameHolder frame(ff::av_frame_alloc());
//       if (!frame) …;  ff::avcodec_receive_frame(dec, frame.get());
//       TInputHolder input = …;  input.reset() closes the file however it was opened.
#pragma once

#include <memory>

#include "engine/base/avstubs.h"
#include "engine/base/unicodeprotocol.h"

struct TCodecContextFree {
  void operator()(AVCodecContext* p) const { ff::avcodec_free_context(&p); }
};
using TCodecContextHolder = std::unique_ptr<AVCodecContext, TCodecContextFree>;

// A context made by avformat_alloc_context (or for output) and not (or no longer) opened as an input.
struct TFormatContextFree {
  void operator()(AVFormatContext* p) const { ff::avformat_free_context(p); }
};
using TFormatContextHolder = std::unique_ptr<AVFormatContext, TFormatContextFree>;

// An input opened by UnicodeOpenInput: closed with its file, whichever I/O opened it.
struct TInputClose {
  void operator()(AVFormatContext* p) const { UnicodeCloseInput(&p); }
};
using TInputHolder = std::unique_ptr<AVFormatContext, TInputClose>;

// An output context from avformat_alloc_context: its file (opened by UnicodeOpenOutput) is closed
// unless the format writes none, then the context goes with its streams and metadata.
struct TOutputClose {
  void operator()(AVFormatContext* p) const {
    if (!(p->oformat && (p->oformat->flags & AVFMT_NOFILE)) && p->pb) UnicodeCloseOutput(p);
    ff::avformat_free_context(p);
  }
};
using TOutputHolder = std::unique_ptr<AVFormatContext, TOutputClose>;

struct TFilterGraphFree {
  void operator()(AVFilterGraph* p) const { ff::avfilter_graph_free(&p); }
};
using TFilterGraphHolder = std::unique_ptr<AVFilterGraph, TFilterGraphFree>;

struct TPacketFree {
  void operator()(AVPacket* p) const { ff::av_packet_free(&p); }
};
using TPacketHolder = std::unique_ptr<AVPacket, TPacketFree>;

struct TFrameFree {
  void operator()(AVFrame* p) const { ff::av_frame_free(&p); }
};
using TFrameHolder = std::unique_ptr<AVFrame, TFrameFree>;

// Memory from av_malloc and its family.
struct TAVMemFree {
  void operator()(void* p) const { ff::av_free(p); }
};
template <typename T>
using TAVMemHolder = std::unique_ptr<T, TAVMemFree>;

// The resampler (libswresample).
struct TSwrContextFree {
  void operator()(SwrContext* p) const { ff::swr_free(&p); }
};
using TSwrContextHolder = std::unique_ptr<SwrContext, TSwrContextFree>;

// The scaler (libswscale).
struct TSwsContextFree {
  void operator()(SwsContext* p) const { ff::sws_freeContext(p); }
};
using TSwsContextHolder = std::unique_ptr<SwsContext, TSwsContextFree>;

struct TAudioFifoFree {
  void operator()(AVAudioFifo* p) const { ff::av_audio_fifo_free(p); }
};
using TAudioFifoHolder = std::unique_ptr<AVAudioFifo, TAudioFifoFree>;

// A bitstream filter.
struct TBSFContextFree {
  void operator()(AVBSFContext* p) const { ff::av_bsf_free(&p); }
};
using TBSFContextHolder = std::unique_ptr<AVBSFContext, TBSFContextFree>;

// An option dictionary; empty holds nullptr, as FFmpeg's own calls expect. Copies are deep.
class TDictionary {
 public:
  TDictionary() = default;
  TDictionary(const TDictionary& AOther) { Assign(AOther); }
  TDictionary& operator=(const TDictionary& AOther) {
    if (this != &AOther) Assign(AOther);
    return *this;
  }
  ~TDictionary() { Clear(); }

  AVDictionary* Get() const { return FDict; }
  AVDictionary** Ref() { return &FDict; }
  // 0 or a negative error code of av_dict_set.
  int Set(const char* AKey, const char* AValue) { return ff::av_dict_set(&FDict, AKey, AValue, 0); }
  const char* Value(const char* AKey) const {
    const AVDictionaryEntry* e = FDict ? ff::av_dict_get(FDict, AKey, nullptr, 0) : nullptr;
    return e ? e->value : nullptr;
  }
  int Count() const { return FDict ? ff::av_dict_count(FDict) : 0; }
  void Clear() {
    if (FDict) ff::av_dict_free(&FDict);
  }

 private:
  void Assign(const TDictionary& AOther) {
    Clear();
    if (AOther.FDict) ff::av_dict_copy(&FDict, AOther.FDict, 0);
  }
  AVDictionary* FDict = nullptr;
};

// A codec context filled from a stream's parameters (what the info texts and the codec names read).
// Null when the parameters cannot be copied.
inline TCodecContextHolder MakeStreamCodecContext(const AVStream* AStream) {
  TCodecContextHolder ctx(ff::avcodec_alloc_context3(nullptr));
  if (ctx && ff::avcodec_parameters_to_context(ctx.get(), AStream->codecpar) < 0) ctx.reset();
  return ctx;
}
