// The player's state behind its face (TCustomPlayer): the options, the open file, the play-event
// ring, the locks and events its threads share, and the work that the face and the stages both call
// on. Not for use outside this folder and its tests.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "engine/player/customplayer.h"
#include "engine/player/videostate.h"
#include "engine/probe/avprobe.h"
#include "engine/probe/rgbconvert.h"
#include "platform/rtl/threads.h"
#include "platform/win/win.h"

// The ring of play events between the player's threads and its event thread.
enum TPlayEventKind : Integer { pekNone = 0, pekPosition = 1, pekState = 2, pekQuit = 3 };
struct TPlayEventEntry {
  Integer Kind = pekNone;
  Int64 Value = 0;
};
inline constexpr Integer PlayEventRingSize = 10;
struct TPlayEvent {
  std::mutex Lock;
  TEvent Event{true, false};
  Integer Header = 0;
  Integer Tailer = 0;
  TPlayEventEntry Events[PlayEventRingSize];
};

// The player's data lock: the event loop holds it for one event at a time; a snapshot and a forced
// close take it, the latter with a time limit. A plain mutex and a condition variable, which thread
// sanitizers see (a timed mutex they may not).
class TDataLock {
 public:
  void Lock();
  // False when the lock was not had within AMs.
  bool TryLockFor(Cardinal AMs);
  void Unlock();

 private:
  std::mutex FGuard;
  std::condition_variable FFreed;
  bool FHeld = false;
};

// The options and state below belong to the player and its stages (one unit in spirit): the stage
// functions of this folder read and write them directly, named as the player knows them. FPlayer is
// the face: the sender of the events and of log lines, and the owner of the handlers.
class TPlayerCore {
 public:
  explicit TPlayerCore(TCustomPlayer* APlayer);
  TPlayerCore(const TPlayerCore&) = delete;
  TPlayerCore& operator=(const TPlayerCore&) = delete;

  // ---- what the face does ----
  bool Open(const String& AFileName, HWND AScreenHandle, bool APaused);
  void Stop(bool AWaitForStop);
  // Stops, waits for every thread and gives the host back: the face's end.
  void Shutdown();
  TBitmap* CurrentFrame(Int64& APTS);

  // ---- shared with the player's stages ----
  void ReportError(const String& AMsg, bool AStore);
  Cardinal LockData(Cardinal ATimeoutMs);
  void UnlockData();
  void DoFileOpen();
  void ResetOpenState();
  void PushPlayEvent(const TPlayEventEntry& AEntry);
  TPlayEventEntry PopPlayEvent();
  void SetPlayState(TPlayState AState);
  void CallPosition();
  void CallState();
  void UpdatePosition();
  bool DoHook(const TAVPicture& ASrc, const TAVPicture& ADest, AVPixelFormat ASrcFmt, AVPixelFormat ADestFmt,
              Integer AWidth, Integer AHeight, Double APTS);
  // The open file (nullptr when none); read under the data lock where it may go.
  TVideoState* VideoState() const { return FVideoState.load(); }
  TPlayEvent& PlayEventRing() { return FPlayEvent; }
  // From the play thread: the host takes the focus / gives up its native child, on the main thread.
  void FocusHostLater();
  void HostWindowReleaseLater();

  void InitOptions();
  bool InitSDLWindow(HWND AScreenHandle);
  void ReleaseHostWindow();
  void WaitForStop();
  Integer GetWantedStream(Integer AIndex) const { return Fwanted_stream[AIndex + 1]; }
  void SetWantedStream(Integer AIndex, Integer Value) { Fwanted_stream[AIndex + 1] = Value; }
  void PrepareFrameBitmap(TBitmap* ABitmap, TVideoState* is);
  // Copies the shown picture into FSnapshotBuffer (APicture's planes); false without one.
  bool CopyShownPicture(TVideoState* is, TAVPicture& APicture, Integer& AWidth, Integer& AHeight,
                        Int64& APTS);
  void WaitForThreadsGone(const std::atomic<Integer>& ACount);

  TCustomPlayer* const FPlayer;
  std::atomic<TVideoState*> FVideoState{nullptr};
  SDL_Surface* Fscreen = nullptr;
  std::atomic<bool> Fstep{false};
  std::atomic<bool> FSeeking{false};
  TEvent FSeekEvent{true, true};
  TEvent FPictEvent{true, true};
  TEvent FStopEvent{true, true};
  std::atomic<Int64> Faudio_callback_time{0};
  Integer Fsws_flags = 4;
  Integer Fwanted_stream[7] = {-1, -1, -1, -1, -1, -1, -1};
  Integer Ffs_screen_width = 0, Ffs_screen_height = 0;
  Integer Fframe_pix_fmt = -1;
  Integer Fdebug = 0;
  Integer Fskip_frame = 0, Fskip_idct = 0, Fskip_loop_filter = 0;
  std::atomic<Int64> FLastPTS{AV_NOPTS_VALUE};
  std::atomic<Int64> FCurrentPTS{-1};
  bool FPlaying = false;
  uintptr_t FNativeWindow = 0;  // the host's native child given to SDL (0: none)
  std::atomic<Integer> FFramesShown{0}, FFramesDropped{0};

  std::unique_ptr<TAVProbe> FAVProbe;
  HWND FScreenHandle = nullptr;
  String Finput_filename;
  const AVInputFormat* Ffile_iformat = nullptr;
  // Set by the application and by a resize in the play thread.
  std::atomic<Integer> Fscreen_width{0}, Fscreen_height{0};
  Integer Fframe_width = 0, Fframe_height = 0;
  bool Faudio_disable = false, Fvideo_disable = false, Fdisplay_disable = false;
  Integer Fseek_by_bytes = -1;
  Tav_sync_type Fav_sync_type = AV_SYNC_AUDIO_MASTER;
  Int64 Fstart_time = AV_NOPTS_VALUE;
  Integer Fdebug_mv = 0, Fworkaround_bugs = 1;
  bool Ffast = false, Fgenpts = false;
  Integer Flowres = 0, Fidct_algo = 0;
  Integer Ferror_recognition = 1, Ferror_concealment = 3;
  Integer Fdecoder_reorder_pts = -1, Fframedrop = 1, Frdftspeed = 20;
  String Fvfilters;
  bool Fis_full_screen = false;
  Single FAspectRatio = 0;
  std::atomic<Integer> FAudioVolume{128};
  TShowAudio FShowAudio = saWave;
  std::atomic<bool> FMute{false};
  bool FTriggerEventInMainThread = true;
  TAudioDriver FAudioDriver = adDefault;
  TVideoDriver FVideoDriver = vdDefault;
  bool FHook = false;
  std::unique_ptr<TRGBConvertContext> FRGBContext, FHookContext;
  TRepeatType FRepeatType = rtStop;
  bool FVerticalFlip = false;
  Int64 FPlayTime = AV_NOPTS_VALUE;
  std::atomic<TPlayState> FState{psStop};
  Int64 FEventPTS = 0;
  TPlayState FEventState = psStop;
  String FAbout;
  mutable std::mutex FErrLock;
  String FLastErrMsg;
  TDataLock FDataLock;
  // The shown picture as a snapshot copied it (planar 4:2:0), converted after the locks are gone.
  TAVMemHolder<uint8_t> FSnapshotBuffer;
  Integer FSnapshotBufferSize = 0;
  TPlayEvent FPlayEvent;
  // Event threads still draining; the face's end waits for them so the ring outlives them.
  std::atomic<Integer> FEventThreads{0};
  // Play threads not yet gone: a new open and the face's end wait for them.
  std::atomic<Integer> FPlayThreads{0};
};
