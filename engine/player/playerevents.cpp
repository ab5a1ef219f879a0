// The player's events: the play-event ring its threads feed, the event thread that drains it into
// OnPosition and OnState, the position and end-of-file logic, and the frame hook.
#include <cmath>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/player/playerstages.h"
#include "engine/player/playerthreads.h"

void TPlayerCore::PushPlayEvent(const TPlayEventEntry& AEntry) {
  std::lock_guard<std::mutex> hold(FPlayEvent.Lock);
  TPlayEvent& ring = FPlayEvent;
  const Integer newest = (ring.Tailer + PlayEventRingSize - 1) % PlayEventRingSize;
  if (ring.Header != ring.Tailer && ring.Events[newest].Kind == AEntry.Kind) {
    ring.Events[newest] = AEntry;
  } else {
    ring.Tailer = (ring.Tailer + 1) % PlayEventRingSize;
    if (ring.Tailer == ring.Header) ring.Header = (ring.Header + 1) % PlayEventRingSize;
    ring.Events[(ring.Tailer + PlayEventRingSize - 1) % PlayEventRingSize] = AEntry;
  }
  ring.Event.SetEvent();
}

TPlayEventEntry TPlayerCore::PopPlayEvent() {
  std::lock_guard<std::mutex> hold(FPlayEvent.Lock);
  TPlayEvent& ring = FPlayEvent;
  if (ring.Header == ring.Tailer) return {};
  const TPlayEventEntry entry = ring.Events[ring.Header];
  ring.Header = (ring.Header + 1) % PlayEventRingSize;
  if (ring.Header == ring.Tailer) ring.Event.ResetEvent();
  return entry;
}

void TPlayerCore::SetPlayState(TPlayState AState) {
  FState = AState;
  if (FPlayer->OnState)
    PushPlayEvent({pekState, Int64(AState)});
  else if (AState == psStop)
    PushPlayEvent({pekQuit, 0});
}

void TPlayerCore::CallPosition() {
  if (TPositionEvent handler = FPlayer->OnPosition.Get()) handler(FPlayer, FEventPTS);
}

void TPlayerCore::CallState() {
  if (TPlayStateEvent handler = FPlayer->OnState.Get()) handler(FPlayer, FEventState);
}

TEventThread::TEventThread(TPlayerCore* AOwner) : TThread(true), FOwner(AOwner) {
  SetFreeOnTerminate(true);
  Start();
}

TEventThread::~TEventThread() {
  FOwner->FEventThreads--;
}

void TEventThread::Deliver(bool APosition) {
  TPlayerCore* owner = FOwner;
  if (!owner->FTriggerEventInMainThread) {
    APosition ? owner->CallPosition() : owner->CallState();
  } else if (APosition) {
    CallInMainThread([owner] { owner->CallPosition(); });
  } else {
    CallInMainThread([owner] { owner->CallState(); });
  }
}

void TEventThread::Execute() {
  while (!Terminated()) {
    const TPlayEventEntry entry = FOwner->PopPlayEvent();
    if (entry.Kind == pekPosition) {
      FOwner->FEventPTS = entry.Value;
      Deliver(true);
    } else if (entry.Kind == pekState) {
      FOwner->FEventState = TPlayState(entry.Value);
      Deliver(false);
      if (TPlayState(entry.Value) == psStop) break;
    } else if (entry.Kind == pekQuit) {
      break;
    }
    FOwner->PlayEventRing().Event.WaitFor(INFINITE);
  }
}

void TPlayerCore::UpdatePosition() {
  TVideoState* is = VideoState();
  if (!is || is->IsImage2) return;
  Int64 p;
  if (is->video_st) {
    p = Int64(std::nearbyint(GetVideoClock(*is, NowSeconds()) * 1000000.0)) - is->StartTime;
  } else if (is->audio_st) {
    p = Int64(std::nearbyint(GetAudioClock(*is) * 1000000.0)) - is->StartTime;
    if (is->AudioDuration > 0 && is->AudioDuration <= p && is->Duration > p) p = is->Duration;
  } else {
    return;
  }
  FCurrentPTS = p;
  if (is->Duration > 0 && is->Duration <= p) {
    p = is->Duration;
    if (p != FLastPTS) FLastPTS = 0;
  }
  if (FLastPTS == AV_NOPTS_VALUE || std::llabs(p - FLastPTS) > 10000) {
    FLastPTS = p;
    if (FPlayer->OnPosition) PushPlayEvent({pekPosition, p});
  }
  if (!is->IsDevice && !is->EventEOF && is->ReachEOF == 1) {
    if (is->video_st) is->EventEOF = 1;
    SetPlayState(psEnd);
  }
  if (FPlayTime == AV_NOPTS_VALUE) return;
  const bool ended = Fstart_time != AV_NOPTS_VALUE ? p >= Fstart_time + FPlayTime : p >= FPlayTime;
  if (!ended) return;
  switch (FRepeatType) {
    case rtStop:
      Stop(false);
      break;
    case rtLoop:
      if (Fstart_time != AV_NOPTS_VALUE)
        FPlayer->Seek(Fstart_time, TSeekFlags{}, false);
      else
        FPlayer->Seek(Int64(0), TSeekFlags{sfAny}, false);
      break;
    case rtNone:
      break;
  }
}

bool TPlayerCore::DoHook(const TAVPicture& ASrc, const TAVPicture& ADest, AVPixelFormat ASrcFmt,
                         AVPixelFormat ADestFmt, Integer AWidth, Integer AHeight, Double APTS) {
  if (!FHook) return false;
  THookEvent handler = FPlayer->OnHook.Get();
  if (!handler) return false;
  if (!FHookContext) {
    FHookContext = std::make_unique<TRGBConvertContext>();
    ResetRGBContext(*FHookContext);
  }
  TRGBConvertContext& c = *FHookContext;
  // A picture of another size (a switched stream) gets a bitmap of its own size.
  if (c.Bitmap && (c.Bitmap->Width() != AWidth || c.Bitmap->Height() != AHeight)) c.Bitmap.reset();
  if (!c.Bitmap) {
    c.Bitmap = std::make_unique<TBitmap>();
    c.Bitmap->SetPixelFormat(c.BMPPixFmt);
    c.Bitmap->SetSize(AWidth, AHeight);
    c.Bitmap->Canvas()->Brush()->SetStyle(bsClear);
  }
  const Integer size = ff::av_image_get_buffer_size(c.RGBPixFmt, AWidth, AHeight, 1);
  if (!c.RGBBuf || size > c.RGBBufSize) {
    c.RGBBuf.reset(static_cast<uint8_t*>(ff::av_malloc(size_t(size))));
    c.RGBBufSize = c.RGBBuf ? size : 0;
    if (!c.RGBBuf) return false;
  }
  ff::av_image_fill_arrays(c.RGBPicture.data, c.RGBPicture.linesize, c.RGBBuf.get(), c.RGBPixFmt, AWidth,
                           AHeight, 1);
  c.toRGB_convert_ctx.reset(ff::sws_getCachedContext(c.toRGB_convert_ctx.release(), AWidth, AHeight, ASrcFmt,
                                                     AWidth, AHeight, c.RGBPixFmt, SWS_BICUBIC, nullptr,
                                                     nullptr, nullptr));
  if (!c.toRGB_convert_ctx) {
    GetFFLogger()->Log(FPlayer, llError, "Cannot initialize the toRGB conversion context");
    return false;
  }
  ff::sws_scale(c.toRGB_convert_ctx.get(), ASrc.data, ASrc.linesize, 0, AHeight, c.RGBPicture.data,
                c.RGBPicture.linesize);
  c.RGBPictureRef = &c.RGBPicture;
  TBitmap* bitmap = c.Bitmap.get();
  const Integer rowBytes = std::min(c.RGBPicture.linesize[0], bitmap->BytesPerScanLine());
  for (Integer row = 0; row < AHeight; ++row)
    std::memcpy(bitmap->ScanLine(row), c.RGBPicture.data[0] + row * c.RGBPicture.linesize[0],
                size_t(rowBytes));
  {
    TCanvas* canvas = bitmap->Canvas();
    canvas->Lock();
    try {
      TVideoState* is = VideoState();
      handler(FPlayer, bitmap, Int64(std::nearbyint(APTS * 1000000.0)) - (is ? is->StartTime : 0));
    } catch (const Exception& e) {
      canvas->Unlock();
      GetFFLogger()->Log(FPlayer, llError, "Error occurs OnHook: " + e.Message());
      return false;
    } catch (...) {
      canvas->Unlock();
      throw;
    }
    canvas->Unlock();
  }
  for (Integer row = 0; row < AHeight; ++row)
    std::memcpy(c.RGBPicture.data[0] + row * c.RGBPicture.linesize[0], bitmap->ScanLine(row),
                size_t(rowBytes));
  c.fromRGB_convert_ctx.reset(ff::sws_getCachedContext(c.fromRGB_convert_ctx.release(), AWidth, AHeight,
                                                       c.RGBPixFmt, AWidth, AHeight, ADestFmt, SWS_BICUBIC,
                                                       nullptr, nullptr, nullptr));
  if (!c.fromRGB_convert_ctx) {
    GetFFLogger()->Log(FPlayer, llError, "Cannot initialize the fromRGB conversion context");
    return false;
  }
  ff::sws_scale(c.fromRGB_convert_ctx.get(), c.RGBPicture.data, c.RGBPicture.linesize, 0, AHeight, ADest.data,
                ADest.linesize);
  return true;
}
