// The player's face: its methods and properties over the state in TPlayerCore.
#include "engine/player/customplayer.h"

#include <algorithm>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/sdlstubs.h"
#include "engine/player/playercore.h"
#include "engine/player/playerstages.h"

namespace {

// The open file's stream index of a media type.
std::atomic<Integer>& StreamOf(TVideoState& is, Integer AMediaType) {
  switch (AMediaType) {
    case AVMEDIA_TYPE_VIDEO:
      return is.video_stream;
    case AVMEDIA_TYPE_AUDIO:
      return is.audio_stream;
    default:
      return is.subtitle_stream;
  }
}

Integer StreamIndex(const TPlayerCore& c, Integer AMediaType) {
  TVideoState* is = c.VideoState();
  return is ? StreamOf(*is, AMediaType).load() : -1;
}

void SetStreamIndex(const TPlayerCore& c, Integer AMediaType, Integer Value) {
  TVideoState* is = c.VideoState();
  if (is && Value != StreamOf(*is, AMediaType)) SwitchStream(is, AMediaType, Value);
}

}  // namespace

TCustomPlayer::TCustomPlayer(TComponent* AOwner)
    : TFFBaseComponent(AOwner), FCore(std::make_unique<TPlayerCore>(this)) {}

TCustomPlayer::~TCustomPlayer() {
  OnPosition = nullptr;
  OnState = nullptr;
  OnHook = nullptr;
  FCore->Shutdown();
}

// ---- libraries ----

bool TCustomPlayer::AVLibLoaded() const {
  return FFLoader() && FFLoader()->Loaded(PlayerLibraries);
}

bool TCustomPlayer::LoadAVLib(const TPathFileName& APath) {
  if (ComponentState().Contains(csDesigning)) return true;
  FFLoader()->SetLibraryPath(APath);
  const bool ok = FFLoader()->Load(PlayerLibraries);
  if (!ok) {
    std::lock_guard<std::mutex> hold(FCore->FErrLock);
    FCore->FLastErrMsg = FFLoader()->LastErrMsg();
  }
  return ok;
}

void TCustomPlayer::UnloadAVLib() {
  FFLoader()->Unload(PlayerLibraries);
}

// ---- control ----

bool TCustomPlayer::Open(const String& AFileName, HWND AScreenHandle, bool APaused) {
  return FCore->Open(AFileName, AScreenHandle, APaused);
}

void TCustomPlayer::Stop(bool AWaitForStop) {
  FCore->Stop(AWaitForStop);
}

void TCustomPlayer::Pause() {
  TVideoState* is = VideoState();
  if (!is || is->paused) return;
  StreamTogglePause(is);
  FCore->Fstep = false;
  FCore->SetPlayState(psPause);
}

void TCustomPlayer::Resume() {
  TVideoState* is = VideoState();
  if (!is || !is->paused) return;
  StreamTogglePause(is);
  FCore->Fstep = false;
  FCore->SetPlayState(psResume);
}

void TCustomPlayer::TogglePause() {
  TVideoState* is = VideoState();
  if (!is) return;
  StreamTogglePause(is);
  FCore->Fstep = false;
  FCore->SetPlayState(is->paused ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame() {
  TVideoState* is = VideoState();
  if (!is) return;
  if (is->paused) StreamTogglePause(is);
  const bool wasStepping = FCore->Fstep.exchange(true);
  if (!wasStepping) FCore->SetPlayState(psStep);
}

void TCustomPlayer::ToggleAudioDisplay() {
  TVideoState* is = VideoState();
  if (!is) return;
  is->show_audio = (is->show_audio + 1) % 3;
  // The surface belongs to the play thread: draw on it under the data lock, and not at all
  // without one (no display).
  FCore->LockData(INFINITE);
  if (FCore->Fscreen && VideoState() == is) {
    SDL_Rect rect{Sint16(is->xleft), Sint16(is->ytop), Uint16(is->width), Uint16(is->height)};
    libsdl::SDL_FillRect(FCore->Fscreen, &rect, libsdl::SDL_MapRGB(FCore->Fscreen->format, 0, 0, 0));
    libsdl::SDL_UpdateRect(FCore->Fscreen, is->xleft, is->ytop, is->width, is->height);
  }
  FCore->UnlockData();
}

void TCustomPlayer::Seek(Int64 APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
  TVideoState* is = VideoState();
  if (!is) return;
  if (ASeekFlags.Contains(sfByte)) {
    StreamSeek(is, ASeekFlags, AWaitForSeekEnd, APTS, 0);
    return;
  }
  Int64 target = APTS;
  if (is->ic->duration != AV_NOPTS_VALUE && is->ic->duration < target) target = is->ic->duration;
  if (is->ic->start_time != AV_NOPTS_VALUE) target += is->ic->start_time;
  StreamSeek(is, ASeekFlags, AWaitForSeekEnd, target, APTS <= 0 ? 1 : 0);
}

void TCustomPlayer::Seek(Double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
  TVideoState* is = VideoState();
  if (!is) return;
  if (ASeekFlags.Contains(sfByte)) {
    const double d = is->ic->bit_rate ? double(is->ic->bit_rate) * ADelta / 8.0 : ADelta * 180000.0;
    const Int64 p = is->ic->pb ? ff::avio_seek(is->ic->pb, 0, SEEK_CUR) : 0;
    StreamSeek(is, ASeekFlags, AWaitForSeekEnd, Int64(std::nearbyint(double(p) + d)),
               Int64(std::nearbyint(d)));
    return;
  }
  const double master = GetMasterClock(*is);
  StreamSeek(is, ASeekFlags, AWaitForSeekEnd, Int64(std::nearbyint((master + ADelta) * 1000000.0)),
             Int64(std::nearbyint(ADelta * 1000000.0)));
}

TBitmap* TCustomPlayer::CurrentFrame() {
  Int64 pts;
  return CurrentFrame(pts);
}

TBitmap* TCustomPlayer::CurrentFrame(Int64& APTS) {
  return FCore->CurrentFrame(APTS);
}

void TCustomPlayer::UpdateScreenPosition() {
  // SDL follows a moving X window by itself; only the DirectDraw overlay of old needed telling.
}

// ---- properties ----

String TCustomPlayer::LastErrMsg() const {
  std::lock_guard<std::mutex> hold(FCore->FErrLock);
  return FCore->FLastErrMsg;
}

String TCustomPlayer::Format() const {
  return FCore->Ffile_iformat && FCore->Ffile_iformat->name ? FCore->Ffile_iformat->name : "";
}

void TCustomPlayer::SetFormat(const String& Value) {
  if (!AVLibLoaded()) {
    FCore->ReportError("libav or libsdl not loaded.", true);
    return;
  }
  const AVInputFormat* format = ff::av_find_input_format(Value.c_str());
  if (!format) throw Exception("Unknown input format: " + Value);
  FCore->Ffile_iformat = format;
}

bool TCustomPlayer::Paused() const {
  TVideoState* is = VideoState();
  return !is || is->paused;
}

void TCustomPlayer::SetAspectRatio(Single Value) {
  if (Value == FCore->FAspectRatio) return;
  FCore->FAspectRatio = Value;
  if (TVideoState* is = VideoState()) PushReopenVideoEvent(is);
}

void TCustomPlayer::SetShowAudio(TShowAudio Value) {
  FCore->FShowAudio = Value;
  TVideoState* is = VideoState();
  if (is && is->audio_st && !FCore->Fdisplay_disable) is->show_audio = Integer(Value);
}

String TCustomPlayer::FileName() const {
  return FCore->Finput_filename;
}
HWND TCustomPlayer::ScreenHandle() const {
  return FCore->FScreenHandle;
}
TAVProbe* TCustomPlayer::AVProbe() const {
  return FCore->FAVProbe.get();
}
Integer TCustomPlayer::AudioStreamIndex() const {
  return StreamIndex(*FCore, AVMEDIA_TYPE_AUDIO);
}
Integer TCustomPlayer::VideoStreamIndex() const {
  return StreamIndex(*FCore, AVMEDIA_TYPE_VIDEO);
}
Integer TCustomPlayer::SubtitleStreamIndex() const {
  return StreamIndex(*FCore, AVMEDIA_TYPE_SUBTITLE);
}
void TCustomPlayer::SetAudioStreamIndex(Integer Value) {
  SetStreamIndex(*FCore, AVMEDIA_TYPE_AUDIO, Value);
}
void TCustomPlayer::SetVideoStreamIndex(Integer Value) {
  SetStreamIndex(*FCore, AVMEDIA_TYPE_VIDEO, Value);
}
void TCustomPlayer::SetSubtitleStreamIndex(Integer Value) {
  SetStreamIndex(*FCore, AVMEDIA_TYPE_SUBTITLE, Value);
}
Int64 TCustomPlayer::CurrentPTS() const {
  return FCore->FCurrentPTS;
}
TPlayState TCustomPlayer::PlayState() const {
  return FCore->FState;
}
bool TCustomPlayer::Seeking() const {
  return FCore->FSeeking;
}
bool TCustomPlayer::FullScreen() const {
  return FCore->Fis_full_screen;
}
bool TCustomPlayer::is_full_screen() const {
  return FCore->Fis_full_screen;
}
void TCustomPlayer::Setis_full_screen(bool Value) {
  FCore->Fis_full_screen = Value;
}
TShowAudio TCustomPlayer::ShowAudio() const {
  return FCore->FShowAudio;
}
Int64 TCustomPlayer::PlayTime() const {
  return FCore->FPlayTime;
}
void TCustomPlayer::SetPlayTime(Int64 Value) {
  FCore->FPlayTime = Value;
}
TRepeatType TCustomPlayer::RepeatType() const {
  return FCore->FRepeatType;
}
void TCustomPlayer::SetRepeatType(TRepeatType Value) {
  FCore->FRepeatType = Value;
}
bool TCustomPlayer::VerticalFlip() const {
  return FCore->FVerticalFlip;
}
void TCustomPlayer::SetVerticalFlip(bool Value) {
  FCore->FVerticalFlip = Value;
}
String TCustomPlayer::VideoFilters() const {
  return FCore->Fvfilters;
}
void TCustomPlayer::SetVideoFilters(const String& Value) {
  FCore->Fvfilters = Value;
}
Integer TCustomPlayer::wanted_video_stream() const {
  return FCore->GetWantedStream(AVMEDIA_TYPE_VIDEO);
}
Integer TCustomPlayer::wanted_audio_stream() const {
  return FCore->GetWantedStream(AVMEDIA_TYPE_AUDIO);
}
Integer TCustomPlayer::wanted_subtitle_stream() const {
  return FCore->GetWantedStream(AVMEDIA_TYPE_SUBTITLE);
}
void TCustomPlayer::Setwanted_video_stream(Integer Value) {
  FCore->SetWantedStream(AVMEDIA_TYPE_VIDEO, Value);
}
void TCustomPlayer::Setwanted_audio_stream(Integer Value) {
  FCore->SetWantedStream(AVMEDIA_TYPE_AUDIO, Value);
}
void TCustomPlayer::Setwanted_subtitle_stream(Integer Value) {
  FCore->SetWantedStream(AVMEDIA_TYPE_SUBTITLE, Value);
}
Int64 TCustomPlayer::start_time() const {
  return FCore->Fstart_time;
}
void TCustomPlayer::Setstart_time(Int64 Value) {
  FCore->Fstart_time = Value;
}
Integer TCustomPlayer::seek_by_bytes() const {
  return FCore->Fseek_by_bytes;
}
void TCustomPlayer::Setseek_by_bytes(Integer Value) {
  FCore->Fseek_by_bytes = Value;
}
Tav_sync_type TCustomPlayer::av_sync_type() const {
  return FCore->Fav_sync_type;
}
void TCustomPlayer::Setav_sync_type(Tav_sync_type Value) {
  FCore->Fav_sync_type = Value;
}
Integer TCustomPlayer::workaround_bugs() const {
  return FCore->Fworkaround_bugs;
}
void TCustomPlayer::Setworkaround_bugs(Integer Value) {
  FCore->Fworkaround_bugs = Value;
}
Integer TCustomPlayer::debug_mv() const {
  return FCore->Fdebug_mv;
}
void TCustomPlayer::Setdebug_mv(Integer Value) {
  FCore->Fdebug_mv = Value;
}
bool TCustomPlayer::fast() const {
  return FCore->Ffast;
}
void TCustomPlayer::Setfast(bool Value) {
  FCore->Ffast = Value;
}
bool TCustomPlayer::genpts() const {
  return FCore->Fgenpts;
}
void TCustomPlayer::Setgenpts(bool Value) {
  FCore->Fgenpts = Value;
}
Integer TCustomPlayer::decoder_reorder_pts() const {
  return FCore->Fdecoder_reorder_pts;
}
void TCustomPlayer::Setdecoder_reorder_pts(Integer Value) {
  FCore->Fdecoder_reorder_pts = Value;
}
Integer TCustomPlayer::framedrop() const {
  return FCore->Fframedrop;
}
void TCustomPlayer::Setframedrop(Integer Value) {
  FCore->Fframedrop = Value;
}
Integer TCustomPlayer::rdftspeed() const {
  return FCore->Frdftspeed;
}
void TCustomPlayer::Setrdftspeed(Integer Value) {
  FCore->Frdftspeed = Value;
}
Integer TCustomPlayer::lowres() const {
  return FCore->Flowres;
}
void TCustomPlayer::Setlowres(Integer Value) {
  FCore->Flowres = Value;
}
Integer TCustomPlayer::idct_algo() const {
  return FCore->Fidct_algo;
}
void TCustomPlayer::Setidct_algo(Integer Value) {
  FCore->Fidct_algo = Value;
}
Integer TCustomPlayer::error_recognition() const {
  return FCore->Ferror_recognition;
}
void TCustomPlayer::Seterror_recognition(Integer Value) {
  FCore->Ferror_recognition = Value;
}
Integer TCustomPlayer::error_concealment() const {
  return FCore->Ferror_concealment;
}
void TCustomPlayer::Seterror_concealment(Integer Value) {
  FCore->Ferror_concealment = Value;
}

Single TCustomPlayer::AspectRatio() const {
  return FCore->FAspectRatio;
}
TAudioDriver TCustomPlayer::AudioDriver() const {
  return FCore->FAudioDriver;
}
void TCustomPlayer::SetAudioDriver(TAudioDriver Value) {
  FCore->FAudioDriver = Value;
}
TAudioVolume TCustomPlayer::AudioVolume() const {
  return FCore->FAudioVolume;
}
void TCustomPlayer::SetAudioVolume(TAudioVolume Value) {
  FCore->FAudioVolume = std::clamp<Integer>(Value, 0, 128);
}
bool TCustomPlayer::DisableAudio() const {
  return FCore->Faudio_disable;
}
void TCustomPlayer::SetDisableAudio(bool Value) {
  FCore->Faudio_disable = Value;
}
bool TCustomPlayer::DisableVideo() const {
  return FCore->Fvideo_disable;
}
void TCustomPlayer::SetDisableVideo(bool Value) {
  FCore->Fvideo_disable = Value;
}
bool TCustomPlayer::DisableDisplay() const {
  return FCore->Fdisplay_disable;
}
void TCustomPlayer::SetDisableDisplay(bool Value) {
  FCore->Fdisplay_disable = Value;
}
bool TCustomPlayer::Mute() const {
  return FCore->FMute;
}
void TCustomPlayer::SetMute(bool Value) {
  FCore->FMute = Value;
}
Integer TCustomPlayer::FrameWidth() const {
  return FCore->Fframe_width;
}
void TCustomPlayer::SetFrameWidth(Integer Value) {
  FCore->Fframe_width = Value;
}
Integer TCustomPlayer::FrameHeight() const {
  return FCore->Fframe_height;
}
void TCustomPlayer::SetFrameHeight(Integer Value) {
  FCore->Fframe_height = Value;
}
bool TCustomPlayer::Hook() const {
  return FCore->FHook;
}
void TCustomPlayer::SetHook(bool Value) {
  FCore->FHook = Value;
}
Integer TCustomPlayer::ScreenWidth() const {
  return FCore->Fscreen_width;
}
void TCustomPlayer::SetScreenWidth(Integer Value) {
  FCore->Fscreen_width = Value;
}
Integer TCustomPlayer::ScreenHeight() const {
  return FCore->Fscreen_height;
}
void TCustomPlayer::SetScreenHeight(Integer Value) {
  FCore->Fscreen_height = Value;
}
bool TCustomPlayer::TriggerEventInMainThread() const {
  return FCore->FTriggerEventInMainThread;
}
void TCustomPlayer::SetTriggerEventInMainThread(bool Value) {
  FCore->FTriggerEventInMainThread = Value;
}
TVideoDriver TCustomPlayer::VideoDriver() const {
  return FCore->FVideoDriver;
}
void TCustomPlayer::SetVideoDriver(TVideoDriver Value) {
  FCore->FVideoDriver = Value;
}
String TCustomPlayer::About() const {
  return FCore->FAbout;
}
void TCustomPlayer::SetAbout(const String& Value) {
  FCore->FAbout = Value;
}
Integer TCustomPlayer::FramesShown() const {
  return FCore->FFramesShown;
}
Integer TCustomPlayer::FramesDropped() const {
  return FCore->FFramesDropped;
}
TVideoState* TCustomPlayer::VideoState() const {
  return FCore->VideoState();
}
uintptr_t TCustomPlayer::NativeWindow() const {
  return FCore->FNativeWindow;
}
