// The player's work behind its face: libraries, open and stop with their bounded waits, pause, step,
// seek, the snapshot, stream and display properties, and the embedding into the host window.
#include "engine/player/playercore.h"

#include <cmath>
#include <cstdio>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/sdlstubs.h"
#include "engine/player/playerstages.h"
#include "engine/player/playerthreads.h"
#include "platform/rtl/environment.h"

namespace {

// The embedding record: one player is embedded at a time in a process.
struct TEmbedding {
  HWND Host = nullptr;
  WNDPROC HostProc = nullptr;
  TPlayerCore* Player = nullptr;
};
TEmbedding Embedding;

// The host window's messages while a file plays in it: expose and resize reach SDL's event loop as
// SDL_VIDEOEXPOSE and SDL_VIDEORESIZE, a click focuses the host, closing it is refused.
LRESULT SDLHostWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (wnd != Embedding.Host || !Embedding.HostProc) return DefWindowProc(wnd, msg, wParam, lParam);
  TPlayerCore* player = Embedding.Player;
  TVideoState* is = player ? player->VideoState() : nullptr;
  switch (msg) {
    case WM_CLOSE:
      return 0;
    case WM_PAINT:
      if (is && libsdl::SDL_PushEvent) {
        SDL_Event event{};
        event.type = SDL_VIDEOEXPOSE;
        libsdl::SDL_PushEvent(&event);
      }
      break;
    case WM_SIZE:
      if (is && libsdl::SDL_PushEvent && LOWORD(lParam) > 0 && HIWORD(lParam) > 0) {
        SDL_Event event{};
        event.type = SDL_VIDEORESIZE;
        event.resize.w = LOWORD(lParam);
        event.resize.h = HIWORD(lParam);
        libsdl::SDL_PushEvent(&event);
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetFocus(wnd);
      break;
    default:
      break;
  }
  return CallWindowProc(Embedding.HostProc, wnd, msg, wParam, lParam);
}

String PrintfText(const char* AFormat, unsigned long AValue, const char* AText) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, AFormat, AValue, AText);
  return buffer;
}

}  // namespace

TPlayerCore::TPlayerCore(TCustomPlayer* APlayer) : FPlayer(APlayer) {
  FAVProbe = std::make_unique<TAVProbe>(nullptr);
  InitOptions();
}

void TPlayerCore::Shutdown() {
  Stop(true);
  // The ring and the events live until the last thread has used them.
  WaitForThreadsGone(FPlayThreads);
  WaitForThreadsGone(FEventThreads);
  TThread::RemoveQueuedEvents(FPlayer);
  ReleaseHostWindow();
  FAVProbe.reset();
  if (FRGBContext) ResetRGBContext(*FRGBContext);
  if (FHookContext) ResetRGBContext(*FHookContext);
}

void TPlayerCore::WaitForThreadsGone(const std::atomic<Integer>& ACount) {
  while (ACount > 0) {
    if (IsMainThread()) CheckSynchronize(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void TPlayerCore::InitOptions() {
  Fvfilters.clear();
  Fsws_flags = 4;
  Ffile_iformat = nullptr;
  Finput_filename.clear();
  Ffs_screen_width = Ffs_screen_height = Fframe_width = Fframe_height = 0;
  Fframe_pix_fmt = -1;
  Fav_sync_type = AV_SYNC_AUDIO_MASTER;
  Fdebug = Fdebug_mv = 0;
  Fworkaround_bugs = 1;
  Ffast = Fgenpts = false;
  Flowres = Fidct_algo = Fskip_frame = Fskip_idct = Fskip_loop_filter = 0;
  Ferror_recognition = 1;
  Ferror_concealment = 3;
  Fdecoder_reorder_pts = -1;
  Fframedrop = 1;
  Frdftspeed = 20;
  ResetOpenState();
}

void TPlayerCore::ResetOpenState() {
  Fscreen = nullptr;
  FPlaying = false;
  FLastPTS = AV_NOPTS_VALUE;
  FCurrentPTS = -1;
  Fstep = false;
  for (Integer& w : Fwanted_stream) w = -1;
  Fseek_by_bytes = -1;
  Fstart_time = AV_NOPTS_VALUE;
  FPlayTime = AV_NOPTS_VALUE;
  FRepeatType = rtStop;
  FVerticalFlip = false;
  FSeekEvent.SetEvent();
  FSeeking = false;
}

// ---- errors and the data lock ----

void TPlayerCore::ReportError(const String& AMsg, bool AStore) {
  GetFFLogger()->Log(FPlayer, llError, AMsg);
  if (AStore) {
    std::lock_guard<std::mutex> hold(FErrLock);
    FLastErrMsg = AMsg;
  }
}

void TDataLock::Lock() {
  std::unique_lock<std::mutex> guard(FGuard);
  FFreed.wait(guard, [this] { return !FHeld; });
  FHeld = true;
}

bool TDataLock::TryLockFor(Cardinal AMs) {
  std::unique_lock<std::mutex> guard(FGuard);
  if (!FFreed.wait_for(guard, std::chrono::milliseconds(AMs), [this] { return !FHeld; })) return false;
  FHeld = true;
  return true;
}

void TDataLock::Unlock() {
  {
    std::lock_guard<std::mutex> guard(FGuard);
    FHeld = false;
  }
  FFreed.notify_one();
}

Cardinal TPlayerCore::LockData(Cardinal ATimeoutMs) {
  if (ATimeoutMs == INFINITE) {
    FDataLock.Lock();
    return WAIT_OBJECT_0;
  }
  return FDataLock.TryLockFor(ATimeoutMs) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

void TPlayerCore::UnlockData() {
  FDataLock.Unlock();
}

// ---- open ----

bool TPlayerCore::InitSDLWindow(HWND AScreenHandle) {
  if (AScreenHandle) {
    // The host's native child is SDL's window; a backend without native windows has none, and SDL
    // then opens its own (or its dummy driver runs).
    FNativeWindow = WinCreateNativeChild(AScreenHandle);
    if (FNativeWindow) SetEnvironmentVariable("SDL_WINDOWID", std::to_string(FNativeWindow));
    Embedding.HostProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(AScreenHandle, GWLP_WNDPROC));
  }
  bool started;
  {
    TDisplayHold display;
    started = libsdl::SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) == 0;
  }
  if (AScreenHandle) {
    char name[257];
    if (libsdl::SDL_AudioDriverName(name, sizeof name))
      ff::av_log(nullptr, AV_LOG_DEBUG, "using audio driver: %s\n", name);
    if (libsdl::SDL_VideoDriverName(name, sizeof name))
      ff::av_log(nullptr, AV_LOG_DEBUG, "using video driver: %s\n", name);
    DeleteEnvironmentVariable("SDL_WINDOWID");
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(AScreenHandle, GWLP_WNDPROC)) != SDLHostWndProc) {
      Embedding.Host = AScreenHandle;
      Embedding.Player = this;
      SetWindowLongPtr(AScreenHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SDLHostWndProc));
    } else {
      Embedding.Player = this;
    }
  }
  return started;
}

// Gives the host its own procedure back and removes the native child, so the host's own picture
// shows again. Main thread.
void TPlayerCore::ReleaseHostWindow() {
  if (Embedding.Player != this) return;
  HWND host = Embedding.Host;
  if (host && IsWindow(host)) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(host, GWLP_WNDPROC)) == SDLHostWndProc)
      SetWindowLongPtr(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Embedding.HostProc));
    if (FNativeWindow) {
      WinDestroyNativeChild(host);
      InvalidateRect(host, nullptr, true);
    }
  }
  FNativeWindow = 0;
  Embedding = TEmbedding{};
}

void TPlayerCore::FocusHostLater() {
  TThread::Queue(FPlayer, [this] {
    if (Embedding.Player == this && Embedding.Host && IsWindow(Embedding.Host)) SetFocus(Embedding.Host);
  });
}

void TPlayerCore::HostWindowReleaseLater() {
  TThread::Queue(FPlayer, [this] {
    // A newer file may already play in the host again.
    if (!VideoState()) ReleaseHostWindow();
  });
}

bool TPlayerCore::Open(const String& AFileName, HWND AScreenHandle, bool APaused) {
  if (!FPlayer->AVLibLoaded()) {
    ReportError("libav or libsdl not loaded.", true);
    return false;
  }
  Stop(true);
  // The previous file's threads report their last state before this one's first.
  WaitForThreadsGone(FPlayThreads);
  WaitForThreadsGone(FEventThreads);
  ReleaseHostWindow();
  ChooseSDLDrivers(FVideoDriver, FAudioDriver);
  if (!InitSDLWindow(AScreenHandle)) {
    ReportError(PrintfText("Could not initialize SDL with ScreenHandle(%lu): %s",
                           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(AScreenHandle)),
                           libsdl::SDL_GetError()),
                true);
    ReleaseHostWindow();
    return false;
  }
  if (Fdisplay_disable) {
    Fvideo_disable = true;
  } else {
    const SDL_VideoInfo* info = libsdl::SDL_GetVideoInfo();
    if (!info) {
      ReportError("SDL_GetVideoInfo() failed", true);
      QuitSDL();
      ReleaseHostWindow();
      return false;
    }
    Ffs_screen_width = info->current_w;
    Ffs_screen_height = info->current_h;
  }
  libsdl::SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
  libsdl::SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
  libsdl::SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);
  libsdl::SDL_EventState(SDL_USEREVENT, SDL_IGNORE);
  if (!StreamOpen(this, AFileName, Ffile_iformat, APaused)) {
    QuitSDL();
    ReleaseHostWindow();
    return false;
  }
  Finput_filename = AFileName;
  FScreenHandle = AScreenHandle;
  FAVProbe->SetFileHandle(VideoState()->ic);
  if (FTriggerEventInMainThread)
    CallInMainThread([this] { DoFileOpen(); });
  else
    DoFileOpen();
  // Reset here, not in the play thread: a stop that comes before that thread runs must still wait.
  FStopEvent.ResetEvent();
  FEventThreads++;
  new TEventThread(this);
  FPlayThreads++;
  new TPlayThread(this);
  return true;
}

void TPlayerCore::DoFileOpen() {
  if (FRGBContext) ResetRGBContext(*FRGBContext);
  if (FHookContext) ResetRGBContext(*FHookContext);
  TVideoState* is = VideoState();
  if (is && FPlayer->OnFileOpen) {
    Integer w = -1, h = -1;
    if (is->video_ctx && is->video_ctx->width > 0) {
      w = is->video_ctx->width;
      h = is->video_ctx->height;
    }
    const Int64 duration = is->IsImage2 ? 0 : is->Duration;
    Integer screenWidth = Fscreen_width, screenHeight = Fscreen_height;
    FPlayer->OnFileOpen(FPlayer, duration, w, h, screenWidth, screenHeight);
    Fscreen_width = screenWidth;
    Fscreen_height = screenHeight;
  }
  if (FScreenHandle && (Fscreen_width == 0 || Fscreen_height == 0)) {
    RECT r{};
    GetClientRect(FScreenHandle, &r);
    Fscreen_width = r.Right - r.Left;
    Fscreen_height = r.Bottom - r.Top;
  }
}

// ---- stop ----

void TPlayerCore::Stop(bool AWaitForStop) {
  if (TVideoState* is = VideoState()) {
    if (is->paused) {
      StreamTogglePause(is);
      Fstep = false;
    }
    PushQuitEvent(is);
    if (AWaitForStop) WaitForStop();
  }
  if (AWaitForStop && libsdl::SDL_Quit) {
    QuitSDL();
    if (IsMainThread()) ReleaseHostWindow();
  }
}

void TPlayerCore::WaitForStop() {
  Integer counter = 1;
  for (;;) {
    if (FStopEvent.WaitFor(100) != wrTimeout) return;
    if (IsMainThread()) {
      ServeMainThreadWait();
    }
    if (!VideoState()) return;
    if (LockData(100) != WAIT_OBJECT_0) continue;
    ++counter;
    TVideoState* is = VideoState();
    if (!is) {
      UnlockData();
      return;
    }
    if ((counter > 10 && is->Reading == 1) || counter > 20) {
      DoExit(this);
      UnlockData();
      return;
    }
    PushQuitEvent(is);
    UnlockData();
  }
}

// ---- snapshot ----

void TPlayerCore::PrepareFrameBitmap(TBitmap* ABitmap, TVideoState* is) {
  if (is && is->video_ctx) {
    ABitmap->SetSize(is->video_ctx->width, is->video_ctx->height);
    ABitmap->Canvas()->Brush()->SetColor(0);
    ABitmap->Canvas()->FillRect(ABitmap->Canvas()->ClipRect());
  } else {
    ABitmap->SetSize(0, 0);
  }
}

bool TPlayerCore::CopyShownPicture(TVideoState* is, TAVPicture& APicture, Integer& AWidth, Integer& AHeight,
                                   Int64& APTS) {
  std::lock_guard<std::mutex> hold(is->pictq_mutex);
  // The picture on screen; its entry stays until the queue reuses it.
  const TVideoPicture& vp = is->pictq[is->pictq_shown >= 0 ? is->pictq_shown : is->pictq_rindex];
  APTS = Int64(std::nearbyint(vp.pts * 1000000.0)) - is->StartTime;
  if (!vp.overlay) return false;
  const Integer size = ff::av_image_get_buffer_size(AV_PIX_FMT_YUV420P, vp.width, vp.height, 1);
  if (size <= 0) return false;
  if (size > FSnapshotBufferSize) {
    FSnapshotBufferSize = 0;
    FSnapshotBuffer.reset(static_cast<uint8_t*>(ff::av_malloc(size_t(size))));
    if (!FSnapshotBuffer) return false;
    FSnapshotBufferSize = size;
  }
  ff::av_image_fill_arrays(APicture.data, APicture.linesize, FSnapshotBuffer.get(), AV_PIX_FMT_YUV420P,
                           vp.width, vp.height, 1);
  libsdl::SDL_LockYUVOverlay(vp.overlay);
  // The overlay is YV12: its second plane is V, its third U.
  const uint8_t* planes[4] = {vp.overlay->pixels[0], vp.overlay->pixels[2], vp.overlay->pixels[1], nullptr};
  const int pitches[4] = {vp.overlay->pitches[0], vp.overlay->pitches[2], vp.overlay->pitches[1], 0};
  ff::av_image_copy(APicture.data, APicture.linesize, planes, pitches, AV_PIX_FMT_YUV420P, vp.width,
                    vp.height);
  libsdl::SDL_UnlockYUVOverlay(vp.overlay);
  AWidth = vp.width;
  AHeight = vp.height;
  return true;
}

TBitmap* TPlayerCore::CurrentFrame(Int64& APTS) {
  if (!FRGBContext) {
    FRGBContext = std::make_unique<TRGBConvertContext>();
    ResetRGBContext(*FRGBContext);
  }
  if (!FRGBContext->Bitmap) {
    FRGBContext->Bitmap = std::make_unique<TBitmap>();
    FRGBContext->Bitmap->SetPixelFormat(FRGBContext->BMPPixFmt);
  }
  TBitmap* bitmap = FRGBContext->Bitmap.get();
  APTS = -1;
  // The event loop re-creates overlays and closes the file under the data lock, the video thread
  // fills them under the queue's: holding both, the shown picture is copied whole, then converted.
  TAVPicture picture;
  Integer width = 0, height = 0;
  bool copied = false;
  LockData(INFINITE);
  TVideoState* is = VideoState();
  PrepareFrameBitmap(bitmap, is);
  if (is && is->video_ctx) copied = CopyShownPicture(is, picture, width, height, APTS);
  UnlockData();
  if (copied && !PictureToBitmap(*FRGBContext, picture, AV_PIX_FMT_YUV420P, width, height))
    bitmap->SetSize(0, 0);
  return FRGBContext->Bitmap.get();
}
