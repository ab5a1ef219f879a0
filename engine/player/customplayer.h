// The media player component: plays one file with SDL 1.2 for picture and sound, inside the native
// child window of a host control (its id given to SDL as SDL_WINDOWID) or in a window of SDL's own.
// The open file's stages live in their own files: queues and clocks, read loop, video decoding,
// display, audio, subtitles, threads and lifecycle, events.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "engine/base/engineutils.h"
#include "engine/base/guardedevent.h"
#include "engine/player/videostate.h"
#include "engine/probe/avprobe.h"
#include "engine/probe/rgbconvert.h"
#include "platform/rtl/threads.h"
#include "platform/win/win.h"

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
using TAudioVolume = Integer;  // 0 … 128

using TFileOpenEvent =
    std::function<void(TObject* Sender, const Int64 ADuration, const Integer AFrameWidth,
                       const Integer AFrameHeight, Integer& AScreenWidth, Integer& AScreenHeight)>;
using TPositionEvent = std::function<void(TObject* Sender, const Int64 APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, const TPlayState AState)>;
using THookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, const Int64 APTS)>;

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

inline constexpr Cardinal WAIT_TIMEOUT = 258;
inline constexpr Cardinal WAIT_OBJECT_0 = 0;

// SDL event types the play thread's loop handles; 24 … 27 are the player's own.
inline constexpr Uint8 FF_ALLOC_EVENT = 24;
inline constexpr Uint8 FF_REFRESH_EVENT = 25;
inline constexpr Uint8 FF_QUIT_EVENT = 26;
inline constexpr Uint8 FF_REOPEN_VIDEO_EVENT = 27;

class TCustomPlayer : public TFFBaseComponent {
 public:
  explicit TCustomPlayer(TComponent* AOwner);
  ~TCustomPlayer() override;
  String ClassName() const override { return "TCustomPlayer"; }

  // ---- libraries ----
  bool AVLibLoaded() const;
  bool LoadAVLib(const TPathFileName& APath);
  void UnloadAVLib();

  // ---- control ----
  bool Open(const String& AFileName, HWND AScreenHandle, bool APaused = false);
  void Stop(bool AWaitForStop);
  void Pause();
  void Resume();
  void TogglePause();
  void StepToNextFrame();
  void ToggleAudioDisplay();
  void Seek(Int64 APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);
  void Seek(Double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);
  TBitmap* CurrentFrame();
  TBitmap* CurrentFrame(Int64& APTS);
  void UpdateScreenPosition();

  // ---- properties ----
  String FileName() const { return Finput_filename; }
  String LastErrMsg() const;
  HWND ScreenHandle() const { return FScreenHandle; }
  String Format() const;
  void SetFormat(const String& Value);
  TAVProbe* AVProbe() const { return FAVProbe.get(); }
  Integer AudioStreamIndex() const;
  Integer VideoStreamIndex() const;
  Integer SubtitleStreamIndex() const;
  void SetAudioStreamIndex(Integer Value);
  void SetVideoStreamIndex(Integer Value);
  void SetSubtitleStreamIndex(Integer Value);
  Int64 CurrentPTS() const { return FCurrentPTS; }
  bool Paused() const;
  TPlayState PlayState() const { return FState; }
  bool Seeking() const { return FSeeking; }
  bool FullScreen() const { return Fis_full_screen; }
  bool is_full_screen() const { return Fis_full_screen; }
  void Setis_full_screen(bool Value) { Fis_full_screen = Value; }
  TShowAudio ShowAudio() const { return FShowAudio; }
  void SetShowAudio(TShowAudio Value);
  Int64 PlayTime() const { return FPlayTime; }
  void SetPlayTime(Int64 Value) { FPlayTime = Value; }
  TRepeatType RepeatType() const { return FRepeatType; }
  void SetRepeatType(TRepeatType Value) { FRepeatType = Value; }
  bool VerticalFlip() const { return FVerticalFlip; }
  void SetVerticalFlip(bool Value) { FVerticalFlip = Value; }
  String VideoFilters() const { return Fvfilters; }
  void SetVideoFilters(const String& Value) { Fvfilters = Value; }
  Integer wanted_video_stream() const { return GetWantedStream(0); }
  Integer wanted_audio_stream() const { return GetWantedStream(1); }
  Integer wanted_subtitle_stream() const { return GetWantedStream(3); }
  void Setwanted_video_stream(Integer Value) { SetWantedStream(0, Value); }
  void Setwanted_audio_stream(Integer Value) { SetWantedStream(1, Value); }
  void Setwanted_subtitle_stream(Integer Value) { SetWantedStream(3, Value); }
  Int64 start_time() const { return Fstart_time; }
  void Setstart_time(Int64 Value) { Fstart_time = Value; }
  Integer seek_by_bytes() const { return Fseek_by_bytes; }
  void Setseek_by_bytes(Integer Value) { Fseek_by_bytes = Value; }
  Tav_sync_type av_sync_type() const { return Fav_sync_type; }
  void Setav_sync_type(Tav_sync_type Value) { Fav_sync_type = Value; }
  Integer workaround_bugs() const { return Fworkaround_bugs; }
  void Setworkaround_bugs(Integer Value) { Fworkaround_bugs = Value; }
  Integer debug_mv() const { return Fdebug_mv; }
  void Setdebug_mv(Integer Value) { Fdebug_mv = Value; }
  bool fast() const { return Ffast; }
  void Setfast(bool Value) { Ffast = Value; }
  bool genpts() const { return Fgenpts; }
  void Setgenpts(bool Value) { Fgenpts = Value; }
  Integer decoder_reorder_pts() const { return Fdecoder_reorder_pts; }
  void Setdecoder_reorder_pts(Integer Value) { Fdecoder_reorder_pts = Value; }
  Integer framedrop() const { return Fframedrop; }
  void Setframedrop(Integer Value) { Fframedrop = Value; }
  Integer rdftspeed() const { return Frdftspeed; }
  void Setrdftspeed(Integer Value) { Frdftspeed = Value; }
  Integer lowres() const { return Flowres; }
  void Setlowres(Integer Value) { Flowres = Value; }
  Integer idct_algo() const { return Fidct_algo; }
  void Setidct_algo(Integer Value) { Fidct_algo = Value; }
  Integer error_recognition() const { return Ferror_recognition; }
  void Seterror_recognition(Integer Value) { Ferror_recognition = Value; }
  Integer error_concealment() const { return Ferror_concealment; }
  void Seterror_concealment(Integer Value) { Ferror_concealment = Value; }

  // Published by TRIVodero.
  Single AspectRatio() const { return FAspectRatio; }
  void SetAspectRatio(Single Value);
  TAudioDriver AudioDriver() const { return FAudioDriver; }
  void SetAudioDriver(TAudioDriver Value) { FAudioDriver = Value; }
  TAudioVolume AudioVolume() const { return FAudioVolume; }
  void SetAudioVolume(TAudioVolume Value) { FAudioVolume = std::clamp<Integer>(Value, 0, 128); }
  bool DisableAudio() const { return Faudio_disable; }
  void SetDisableAudio(bool Value) { Faudio_disable = Value; }
  bool DisableVideo() const { return Fvideo_disable; }
  void SetDisableVideo(bool Value) { Fvideo_disable = Value; }
  bool DisableDisplay() const { return Fdisplay_disable; }
  void SetDisableDisplay(bool Value) { Fdisplay_disable = Value; }
  bool Mute() const { return FMute; }
  void SetMute(bool Value) { FMute = Value; }
  Integer FrameWidth() const { return Fframe_width; }
  void SetFrameWidth(Integer Value) { Fframe_width = Value; }
  Integer FrameHeight() const { return Fframe_height; }
  void SetFrameHeight(Integer Value) { Fframe_height = Value; }
  bool Hook() const { return FHook; }
  void SetHook(bool Value) { FHook = Value; }
  Integer ScreenWidth() const { return Fscreen_width; }
  void SetScreenWidth(Integer Value) { Fscreen_width = Value; }
  Integer ScreenHeight() const { return Fscreen_height; }
  void SetScreenHeight(Integer Value) { Fscreen_height = Value; }
  bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
  void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }
  TVideoDriver VideoDriver() const { return FVideoDriver; }
  void SetVideoDriver(TVideoDriver Value) { FVideoDriver = Value; }
  String About() const { return FAbout; }
  void SetAbout(const String& Value) { FAbout = Value; }
  String Version() const { return "2.3"; }
  // Pictures shown and dropped (late, or older than a seek) since the last open.
  Integer FramesShown() const { return FFramesShown; }
  Integer FramesDropped() const { return FFramesDropped; }

  TFileOpenEvent OnFileOpen;
  TGuardedEvent<THookEvent> OnHook;
  TGuardedEvent<TPositionEvent> OnPosition;
  TGuardedEvent<TPlayStateEvent> OnState;

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

  // Fields the stages read and write, named as the player knows them.
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
  uintptr_t FNativeWindow = 0;
  std::atomic<Integer> FFramesShown{0}, FFramesDropped{0};  // the host's native child given to SDL (0: none)

  // The options and state below belong to the player and its stages (one unit in spirit): the
  // stage functions of this folder read and write them directly.
  void InitOptions();
  bool InitSDLWindow(HWND AScreenHandle);
  void ReleaseHostWindow();
  void WaitForStop();
  Integer GetWantedStream(Integer AIndex) const { return Fwanted_stream[AIndex + 1]; }
  void SetWantedStream(Integer AIndex, Integer Value) { Fwanted_stream[AIndex + 1] = Value; }
  void PrepareFrameBitmap(TBitmap* ABitmap, TVideoState* is);
  // Copies the shown picture into FSnapshotBuffer (APicture's planes); false without one.
  bool CopyShownPicture(TVideoState* is, TAVPicture& APicture, Integer& AWidth, Integer& AHeight, Int64& APTS);

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
  // Event threads still draining; the destructor waits for them so the ring outlives them.
  std::atomic<Integer> FEventThreads{0};
  // Play threads not yet gone: a new open and the destructor wait for them.
  std::atomic<Integer> FPlayThreads{0};
  void WaitForThreadsGone(const std::atomic<Integer>& ACount);
};

// The same class with its published properties (stored in window layouts).
class TRIVodero : public TCustomPlayer {
 public:
  using TCustomPlayer::TCustomPlayer;
  String ClassName() const override { return "TRIVodero"; }
};
