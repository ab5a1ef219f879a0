// Owners of FFmpeg objects: std::unique_ptr with deleters that call the bound free functions, so no
// error path needs a naked free call.
#pragma once

#include <memory>

#include "engine/loader/avstubs.h"

struct TCodecContextFree {
  void operator()(AVCodecContext* p) const { ff::avcodec_free_context(&p); }
};
using TCodecContextHolder = std::unique_ptr<AVCodecContext, TCodecContextFree>;

// A context made by avformat_alloc_context and not (or no longer) opened as an input.
struct TFormatContextFree {
  void operator()(AVFormatContext* p) const { ff::avformat_free_context(p); }
};
using TFormatContextHolder = std::unique_ptr<AVFormatContext, TFormatContextFree>;

struct TFilterGraphFree {
  void operator()(AVFilterGraph* p) const { ff::avfilter_graph_free(&p); }
};
using TFilterGraphHolder = std::unique_ptr<AVFilterGraph, TFilterGraphFree>;

// Memory from av_malloc and its family.
struct TAVMemFree {
  void operator()(void* p) const { ff::av_free(p); }
};
template <typename T>
using TAVMemHolder = std::unique_ptr<T, TAVMemFree>;

// An option dictionary; empty holds nullptr, as FFmpeg's own calls expect.
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
