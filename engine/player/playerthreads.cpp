// Opening and closing one file, the play thread with its SDL event loop, and how a stop reaches
// every thread of the file.
#include "engine/player/playerthreads.h"

#include "engine/base/avstubs.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/sdlstubs.h"
#include "engine/player/playerstages.h"

void PushUserEvent(Uint8 AType, TVideoState* is) {
  if (!libsdl::SDL_PushEvent) return;
  SDL_Event event{};
  event.type = AType;
  event.user.type = AType;
  event.user.data1 = is;
  libsdl::SDL_PushEvent(&event);
}

void QuitSDL() {
  // A waiting stop and the play thread's close may both shut SDL down at once; SDL joins its own
  // threads there, and two joins of one thread never return.
  static std::mutex lock;
  std::lock_guard<std::mutex> hold(lock);
  if (libsdl::SDL_Quit) libsdl::SDL_Quit();
}

void PushQuitEvent(TVideoState* is) {
  PushUserEvent(FF_QUIT_EVENT, is);
}
void PushReopenVideoEvent(TVideoState* is) {
  PushUserEvent(FF_REOPEN_VIDEO_EVENT, is);
}

bool StreamOpen(TPlayerCore* APlayer, const String& AFileName, const AVInputFormat* AFormat, bool APaused) {
  TVideoState* is = nullptr;
  try {
    is = new TVideoState;
  } catch (const std::bad_alloc&) {
    APlayer->ReportError("av_mallocz() failed.", true);
    return false;
  }
  is->Owner = APlayer;
  APlayer->FFramesShown = 0;
  APlayer->FFramesDropped = 0;
  if (APaused) {
    is->paused = 1;
    is->open_paused = 1;
    APlayer->Fstep = false;
  }
  is->filename = AFileName;
  is->iformat = AFormat;
  is->av_sync_type = APlayer->Fav_sync_type;
  try {
    is->parse_tid = std::thread(ReadThread, is);
  } catch (const std::system_error&) {
    APlayer->ReportError("SDL_CreateThread() failed.", true);
    delete is;
    return false;
  }
  while (is->Opened == 0) PlayerSleep(10);
  if (is->Opened == 1) {
    if (is->video_stream < 0 && !APlayer->Fdisplay_disable) is->show_audio = Integer(APlayer->FShowAudio);
    APlayer->FVideoState = is;
    is->refresh_tid = std::thread(RefreshThread, is);
    return true;
  }
  while (is->Opened == -1) PlayerSleep(10);
  is->abort_request = 1;
  if (is->parse_tid.joinable()) is->parse_tid.join();
  delete is;
  APlayer->ResetOpenState();
  return false;
}

void StreamClose(TVideoState* is) {
  is->abort_request = 1;
  if (is->parse_tid.joinable()) is->parse_tid.join();
  if (is->refresh_tid.joinable()) is->refresh_tid.join();
  for (TVideoPicture& vp : is->pictq)
    if (vp.overlay) {
      libsdl::SDL_FreeYUVOverlay(vp.overlay);
      vp.overlay = nullptr;
    }
  for (TSubPicture& sp : is->subpq) FreeSubPicture(sp);
  if (is->rdft) ff::av_rdft_end(is->rdft);
  ff::av_freep(&is->rdft_data);
}

void DoExit(TPlayerCore* APlayer) {
  if (TVideoState* is = APlayer->FVideoState.load()) {
    StreamClose(is);
    APlayer->FVideoState = nullptr;
    delete is;
    APlayer->ResetOpenState();
  }
  QuitSDL();
}

namespace {

// One event under the data lock; false when the loop is over.
bool HandleEvent(TPlayerCore* APlayer, TVideoState* is, const SDL_Event& AEvent) {
  switch (AEvent.type) {
    case SDL_QUIT:
    case FF_QUIT_EVENT:
      DoExit(APlayer);
      return false;
    case SDL_VIDEORESIZE:
      APlayer->Fscreen = libsdl::SDL_SetVideoMode(
          AEvent.resize.w, AEvent.resize.h, 0, SDL_HWSURFACE | SDL_RESIZABLE | SDL_ASYNCBLIT | SDL_HWACCEL);
      if (APlayer->Fscreen && APlayer->Fscreen->format->BitsPerPixel < 15)
        APlayer->Fscreen =
            libsdl::SDL_SetVideoMode(AEvent.resize.w, AEvent.resize.h, 32,
                                     SDL_HWSURFACE | SDL_RESIZABLE | SDL_ASYNCBLIT | SDL_HWACCEL);
      APlayer->Fscreen_width = AEvent.resize.w;
      APlayer->Fscreen_height = AEvent.resize.h;
      is->width = AEvent.resize.w;
      is->height = AEvent.resize.h;
      if (is->paused == 1) VideoRefreshTimer(is, false);
      break;
    case SDL_VIDEOEXPOSE:
      if (is->paused == 1)
        VideoRefreshTimer(is, false);
      else
        VideoDisplay(is);
      break;
    case FF_ALLOC_EVENT:
      VideoOpen(is, false);
      AllocPicture(is);
      break;
    case FF_REFRESH_EVENT:
      VideoRefreshTimer(is, true);
      is->refresh = 0;
      break;
    case FF_REOPEN_VIDEO_EVENT:
      VideoOpen(is, true);
      VideoDisplay(is);
      break;
    case SDL_MOUSEBUTTONDOWN:
      // The click went to SDL's window: the host takes the focus as it would for its own click.
      APlayer->FocusHostLater();
      break;
    default:
      break;
  }
  return true;
}

}  // namespace

void EventLoop(TPlayerCore* APlayer) {
  for (;;) {
    SDL_Event event{};
    const bool got = libsdl::SDL_WaitEvent(&event) == 1;
    APlayer->LockData(INFINITE);
    TVideoState* is = APlayer->FVideoState.load();
    if (!is) {
      QuitSDL();
      APlayer->UnlockData();
      return;
    }
    bool more = true;
    try {
      if (got) more = HandleEvent(APlayer, is, event);
    } catch (...) {
      APlayer->UnlockData();
      throw;
    }
    APlayer->UnlockData();
    if (!more) return;
    if (!got) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TPlayThread::TPlayThread(TPlayerCore* AOwner) : TThread(true), FOwner(AOwner) {
  SetFreeOnTerminate(true);
  Start();
}

TPlayThread::~TPlayThread() {
  FOwner->FPlayThreads--;
}

void TPlayThread::Execute() {
  struct TSetStopEvent {
    TPlayerCore* Owner;
    ~TSetStopEvent() { Owner->FStopEvent.SetEvent(); }
  } stopEvent{FOwner};
  FOwner->SetPlayState(psPlay);
  try {
    EventLoop(FOwner);
  } catch (const std::exception& e) {
    GetFFLogger()->Log(FOwner->FPlayer, llFatal, String("PlayThread Exception: ") + e.what());
    FOwner->LockData(INFINITE);
    DoExit(FOwner);
    FOwner->UnlockData();
  }
  FOwner->HostWindowReleaseLater();
  FOwner->SetPlayState(psStop);
}
