#include "engine/transcoder/transcoder.h"

#include <climits>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/unicodeprotocol.h"
#include "engine/preview/framehook.h"
#include "engine/transcoder/streamtables.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace {

// Created with the engine's modules, before any task exists; deleted at program end after a holder
// has left it.
struct TPostHookLockModule {
  TCriticalSection* Lock = new TCriticalSection;
  ~TPostHookLockModule() {
    Lock->Enter();
    Lock->Leave();
    delete Lock;
  }
} GPostHookLock;

bool ConverterLoaded() {
  return FFLoader() && FFLoader()->Loaded(ConverterLibraries);
}

}  // namespace

TCriticalSection& PostHookLock() {
  return *GPostHookLock.Lock;
}

// ---- opened files ------------------------------------------------------------------------------

TOpenedInput::~TOpenedInput() {
  codecs.clear();
  ctx.reset();
}

TOpenedOutput::~TOpenedOutput() {
  streams.clear();
  // The context closes its file and frees its streams, their metadata, its programs, chapters and
  // metadata with it.
  ctx.reset();
  // Only the partial file the run made goes, and only while it is still that file.
  if (!PartName.empty() && IsStillTheFile(PartName, Part)) DeleteFile(PartName);
}

// ---- open-codec lists --------------------------------------------------------------------------

void AddCodecItem(TCodecItem*& AHead, void* AStream, AVCodecContext* ACodec) {
  auto* item = new TCodecItem;
  item->st = AStream;
  item->codec = ACodec;
  item->Next = AHead;
  if (AHead) AHead->Prev = item;
  AHead = item;
}

void RemoveCodecItem(TCodecItem*& AHead, void* AStream) {
  for (TCodecItem* item = AHead; item; item = item->Next) {
    if (item->st != AStream) continue;
    if (item->Prev)
      item->Prev->Next = item->Next;
    else
      AHead = item->Next;
    if (item->Next) item->Next->Prev = item->Prev;
    delete item;
    return;
  }
}

namespace {

// Items are listed only while their codec is open, so every listed codec is closed.
void CloseListed(TCodecItem*& AHead, bool AEncoders) {
  while (AHead) {
    TCodecItem* item = AHead;
    AHead = item->Next;
    if (item->codec) {
      if (AEncoders) ff::av_freep(&item->codec->stats_in);
      TCriticalSection& lock = CodecLock();
      lock.Enter();
      try {
        ff::avcodec_close(item->codec);
      } catch (...) {
        lock.Leave();
        delete item;
        throw;
      }
      lock.Leave();
    }
    delete item;
  }
}

}  // namespace

void CloseListedEncoders(TCodecItem*& AHead) {
  CloseListed(AHead, true);
}

void CloseListedDecoders(TCodecItem*& AHead) {
  CloseListed(AHead, false);
}

// ---- the object --------------------------------------------------------------------------------

TCustomFFmpeg::TCustomFFmpeg(Integer AMaxFiles) {
  if (AMaxFiles < 1 || AMaxFiles > MAX_FILES_LIMIT)
    throw EAssertionFailed(Format(SAssertError, "AMaxFiles out of range", "FFmpeg", __LINE__));
  FMaxFiles = AMaxFiles;
  Finput_files_ts_offset.assign(size_t(FMaxFiles), 0);
  Finput_files_ts_scale.assign(size_t(FMaxFiles), std::array<Double, MAX_STREAMS>{});
  ReportInterval = 500000;
  PreviewInterval = 100000;
  FRunState = rsReady;
  FTotalOutputDuration = -1;
  FEncoderList = FDecoderList = nullptr;
  FHookContext = std::make_unique<TRGBConvertContext>();
  FPostContext.Context = std::make_unique<TRGBConvertContext>();
  InitFFOptions(FOptions);
  ResetDefaults();
}

TCustomFFmpeg::~TCustomFFmpeg() {
  // A run in progress ends first, and so does a terminate notification on its way: neither may
  // outlive the object.
  Stop(true);
  WaitServingMainThread(FTermEvent);
  // Codecs a run left listed are closed before their contexts go with the files.
  if (FEncoderList || FDecoderList) {
    CloseListedEncoders(FEncoderList);
    CloseListedDecoders(FDecoderList);
  }
  if (FState) FreeStreamTables();
  Cleanup();
  if (ConverterLoaded()) {
    ResetRGBContext(*FHookContext);
    ResetRGBContext(*FPostContext.Context);
  }
}

void TCustomFFmpeg::Reset() {
  if (!ConverterLoaded()) return;
  Cleanup();
  ResetDefaults();
  FJoinMode = false;
  FRunState = rsReady;
  FTotalOutputDuration = -1;
  CreateFFOptions(FOptions, Integer(FPending.sws_flags));
}

void TCustomFFmpeg::ResetDefaults() {
  Finput_files.clear();
  for (auto& scales : Finput_files_ts_scale) scales.fill(0);
  Foutput_files.clear();
  Fstream_maps.clear();
  Fmeta_data_maps.clear();
  Fstreamid_map.fill(0);

  FPending = TPendingOptions();
  FCounters = TRunCounters();
  Fgraph.reset();
  Fusing_vhook = false;
  InitFFOptions(FOptions);  // frees the holders still allocated

  FThread = nullptr;
  FTotalOutputDuration = -1;
  if (ConverterLoaded()) ResetRGBContext(*FHookContext);
  FHookFrameNumber = 0;
  ResetPostHookContext();
  FPostContext.preview_last_time = FPostContext.preview_cur_time = 0;
  SetPostHooks(TPostHooks());
  FFatalException = false;
}

void TCustomFFmpeg::Cleanup() {
  if (!ConverterLoaded()) return;
  FreeFFOptions(FOptions);

  // In index order; a joined output is one record listed once per input and closes once.
  for (auto& output : Foutput_files) output.reset();
  Foutput_files.clear();
  Foutput_codecs.clear();
  for (auto& input : Finput_files) input.reset();
  Finput_files.clear();
  // The decoder slots count over the inputs that were open; new inputs start again at slot 0.
  Finput_codecs.clear();

  FPending.intra_matrix.reset();
  FPending.inter_matrix.reset();
  if (Fvstats_file) {
    ff::fclose(Fvstats_file);
    Fvstats_file = nullptr;
  }
  FPending.vstats_filename.reset();
  FPending.video_codec_name.reset();
  FPending.audio_codec_name.reset();
  FPending.subtitle_codec_name.reset();
  FPending.video_standard.reset();
  FPending.video_rc_override_string.reset();
  FPending.video_language.clear();
  FPending.audio_language.clear();
  FPending.subtitle_language.clear();
  FPending.subtitle_codec_tag = 0;
  Fgraph.reset();
  if (FFirstHook) ReleaseFrameHooks(FFirstHook);
  Fusing_vhook = false;
  ResetRGBContext(*FHookContext);
  ResetPostHookContext();
}

void TCustomFFmpeg::ResetPostHookContext() {
  // Without the libraries nothing was converted, so there is nothing to free.
  if (ConverterLoaded()) ResetRGBContext(*FPostContext.Context);
  {
    // The owner thread frees the preview window too when it switches the preview off.
    TCriticalSectionHold hold(PostHookLock());
    FPostContext.Previewer.reset();
  }
  FPostContext.preview_last_time = FPostContext.preview_cur_time = 0;
}

Double TCustomFFmpeg::InputTsScale(Integer AFile, Integer AStream) const {
  if (AFile < 0 || AFile >= Integer(Finput_files_ts_scale.size()) || AStream < 0 || AStream >= MAX_STREAMS)
    return 0;
  return Finput_files_ts_scale[size_t(AFile)][size_t(AStream)];
}

Integer TCustomFFmpeg::StreamIdFor(Integer AStreamIndex) const {
  if (AStreamIndex < 0 || AStreamIndex >= MAX_STREAMS) return 0;
  return Fstreamid_map[size_t(AStreamIndex)];
}

// ---- encoder format choosers -------------------------------------------------------------------

void TCustomFFmpeg::ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec) {
  if (!ACodec || !ACodec->sample_fmts) return;
  for (const AVSampleFormat* p = ACodec->sample_fmts; *p != AV_SAMPLE_FMT_NONE; ++p)
    if (*p == AContext->sample_fmt) return;
  AContext->sample_fmt = ACodec->sample_fmts[0];
}

void TCustomFFmpeg::ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec) {
  if (!ACodec || !ACodec->supported_samplerates) return;
  Integer best = 0;
  Integer bestDistance = INT_MAX;
  for (const int* p = ACodec->supported_samplerates; *p; ++p) {
    const Int64 distance = std::abs(Int64(AContext->sample_rate) - *p);
    if (distance < bestDistance) {
      bestDistance = Integer(distance);
      best = *p;
    }
  }
  if (bestDistance != 0)
    GetFFLogger()->Log(this, llWarning, "Requested sampling rate unsupported using closest supported (%d)",
                       best);
  AContext->sample_rate = best;
}

void TCustomFFmpeg::ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec) {
  if (!ACodec || !ACodec->pix_fmts) return;
  for (const AVPixelFormat* p = ACodec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
    if (*p == AContext->pix_fmt) return;
  // The MJPEG encoder takes these unofficially.
  if (AContext->codec_id == AV_CODEC_ID_MJPEG &&
      AContext->strict_std_compliance <= FF_COMPLIANCE_UNOFFICIAL &&
      (AContext->pix_fmt == AV_PIX_FMT_YUV420P || AContext->pix_fmt == AV_PIX_FMT_YUV422P))
    return;
  AContext->pix_fmt = ACodec->pix_fmts[0];
}

// ---- feed streams ------------------------------------------------------------------------------

Integer TCustomFFmpeg::ReadFeedStreams(TOpenedOutput& AOutput, const String& AFileName) {
  AVFormatContext* ic = nullptr;
  const String url = FileNameToURL(AFileName);
  const int ret = UnicodeOpenInput(&ic, url.c_str(), nullptr, nullptr);
  if (ret < 0) return ret;
  const TInputHolder input(ic);

  bool bitExact = false;
  for (unsigned i = 0; i < ic->nb_streams; ++i) {
    const AVStream* feed = ic->streams[i];
    AVStream* st = ff::avformat_new_stream(AOutput.ctx.get(), nullptr);
    if (!st) throw FFmpegException("Could not alloc stream");
    ff::avcodec_parameters_copy(st->codecpar, feed->codecpar);
    st->time_base = feed->time_base;
    st->id = feed->id;
    TOutputStreamSetup setup;
    setup.st = st;
    setup.codec.reset(ff::avcodec_alloc_context3(nullptr));
    if (!setup.codec) throw FFmpegException("avcodec_alloc_context failed");
    AVCodecContext* c = setup.codec.get();
    ff::avcodec_parameters_to_context(c, feed->codecpar);
    c->time_base = feed->time_base;
    setup.encoder = ff::avcodec_find_encoder(c->codec_id);
    if (c->codec_type == AVMEDIA_TYPE_AUDIO) {
      if (FPending.audio_stream_copy)
        setup.stream_copy = true;
      else
        ChooseSampleFormat(c, setup.encoder);
    } else if (c->codec_type == AVMEDIA_TYPE_VIDEO) {
      if (FPending.video_stream_copy)
        setup.stream_copy = true;
      else
        ChoosePixelFormat(c, setup.encoder);
    }
    if (c->thread_count == 0) c->thread_count = 1;
    if (c->flags & AV_CODEC_FLAG_BITEXACT) bitExact = true;
    AOutput.streams.push_back(std::move(setup));
  }
  // The file's time stamp, unless a bit-exact stream asks for reproducible output.
  if (!bitExact) {
    const time_t now = time_t(ff::av_gettime() / 1000000);
    struct tm utc;
    gmtime_r(&now, &utc);
    char text[32];
    strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
    ff::av_dict_set(&AOutput.ctx->metadata, "creation_time", text, 0);
  }
  return 0;
}
