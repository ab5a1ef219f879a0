// The media player component: plays one file with SDL 1.2 for picture and sound, inside the native
// child window of a host control (its id given to SDL as SDL_WINDOWID) or in a window of SDL's own.
// This is its face to the windows that hold it; its state and the open file's stages (queues and
// clocks, read loop, video decoding, display, audio, subtitles, threads and lifecycle, events) live
// behind it in this folder, from playercore.h on.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/base/engineutils.h"
#include "engine/base/guardedevent.h"
#include "engine/player/playertypes.h"
#include "platform/gdi/gdi.h"

class TAVProbe;
class TBitmap;
class TPlayerCore;
struct TVideoState;

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
  String FileName() const;
  String LastErrMsg() const;
  HWND ScreenHandle() const;
  String Format() const;
  void SetFormat(const String& Value);
  TAVProbe* AVProbe() const;
  Integer AudioStreamIndex() const;
  Integer VideoStreamIndex() const;
  Integer SubtitleStreamIndex() const;
  void SetAudioStreamIndex(Integer Value);
  void SetVideoStreamIndex(Integer Value);
  void SetSubtitleStreamIndex(Integer Value);
  Int64 CurrentPTS() const;
  bool Paused() const;
  TPlayState PlayState() const;
  bool Seeking() const;
  bool FullScreen() const;
  bool is_full_screen() const;
  void Setis_full_screen(bool Value);
  TShowAudio ShowAudio() const;
  void SetShowAudio(TShowAudio Value);
  Int64 PlayTime() const;
  void SetPlayTime(Int64 Value);
  TRepeatType RepeatType() const;
  void SetRepeatType(TRepeatType Value);
  bool VerticalFlip() const;
  void SetVerticalFlip(bool Value);
  String VideoFilters() const;
  void SetVideoFilters(const String& Value);
  Integer wanted_video_stream() const;
  Integer wanted_audio_stream() const;
  Integer wanted_subtitle_stream() const;
  void Setwanted_video_stream(Integer Value);
  void Setwanted_audio_stream(Integer Value);
  void Setwanted_subtitle_stream(Integer Value);
  Int64 start_time() const;
  void Setstart_time(Int64 Value);
  Integer seek_by_bytes() const;
  void Setseek_by_bytes(Integer Value);
  Tav_sync_type av_sync_type() const;
  void Setav_sync_type(Tav_sync_type Value);
  Integer workaround_bugs() const;
  void Setworkaround_bugs(Integer Value);
  Integer debug_mv() const;
  void Setdebug_mv(Integer Value);
  bool fast() const;
  void Setfast(bool Value);
  bool genpts() const;
  void Setgenpts(bool Value);
  Integer decoder_reorder_pts() const;
  void Setdecoder_reorder_pts(Integer Value);
  Integer framedrop() const;
  void Setframedrop(Integer Value);
  Integer rdftspeed() const;
  void Setrdftspeed(Integer Value);
  Integer lowres() const;
  void Setlowres(Integer Value);
  Integer idct_algo() const;
  void Setidct_algo(Integer Value);
  Integer error_recognition() const;
  void Seterror_recognition(Integer Value);
  Integer error_concealment() const;
  void Seterror_concealment(Integer Value);

  // Published by TRIVodero.
  Single AspectRatio() const;
  void SetAspectRatio(Single Value);
  TAudioDriver AudioDriver() const;
  void SetAudioDriver(TAudioDriver Value);
  TAudioVolume AudioVolume() const;
  void SetAudioVolume(TAudioVolume Value);
  bool DisableAudio() const;
  void SetDisableAudio(bool Value);
  bool DisableVideo() const;
  void SetDisableVideo(bool Value);
  bool DisableDisplay() const;
  void SetDisableDisplay(bool Value);
  bool Mute() const;
  void SetMute(bool Value);
  Integer FrameWidth() const;
  void SetFrameWidth(Integer Value);
  Integer FrameHeight() const;
  void SetFrameHeight(Integer Value);
  bool Hook() const;
  void SetHook(bool Value);
  Integer ScreenWidth() const;
  void SetScreenWidth(Integer Value);
  Integer ScreenHeight() const;
  void SetScreenHeight(Integer Value);
  bool TriggerEventInMainThread() const;
  void SetTriggerEventInMainThread(bool Value);
  TVideoDriver VideoDriver() const;
  void SetVideoDriver(TVideoDriver Value);
  String About() const;
  void SetAbout(const String& Value);
  String Version() const { return "2.3"; }
  // Pictures shown and dropped (late, or older than a seek) since the last open.
  Integer FramesShown() const;
  Integer FramesDropped() const;
  // The open file (nullptr when none).
  TVideoState* VideoState() const;
  // The host's native child given to SDL (0: none).
  uintptr_t NativeWindow() const;

  TFileOpenEvent OnFileOpen;
  TGuardedEvent<THookEvent> OnHook;
  TGuardedEvent<TPositionEvent> OnPosition;
  TGuardedEvent<TPlayStateEvent> OnState;

 private:
  friend struct TPlayerCoreAccess;  // the player's tests
  std::unique_ptr<TPlayerCore> FCore;
};

// The same class with its published properties (stored in window layouts).
class TRIVodero : public TCustomPlayer {
 public:
  using TCustomPlayer::TCustomPlayer;
  String ClassName() const override { return "TRIVodero"; }
};
