// The stage functions of the player, one file each (not for use outside this folder).
#pragma once

#include "engine/player/playercore.h"
#include "engine/player/videostate.h"

// ---- read loop (readloop.cpp) ----
void ReadThread(TVideoState* is);
Integer StreamComponentOpen(TVideoState* is, Integer AStreamIndex);
void StreamComponentClose(TVideoState* is, Integer AStreamIndex);
bool SwitchStream(TVideoState* is, Integer AMediaType, Integer AStreamIndex);
void StreamSeek(TVideoState* is, TSeekFlags AFlags, bool AWait, Int64 APos, Int64 ARel);
void StreamTogglePause(TVideoState* is);
// Chooses one stream per media type (0 video, 1 audio, 3 subtitle) as the read loop does: the
// wanted ordinal of the type, else the most analysed frames (first on a tie). AChosen gets 7 entries,
// indexed by media type + 1.
struct TStreamChoiceInput {
  Integer CodecType;
  Integer AnalysedFrames;
};
void ChooseStreams(const TStreamChoiceInput* AStreams, Integer ACount, const Integer AWanted[7],
                   bool AVideoDisable, bool AAudioDisable, Integer AChosen[7]);
// Sleeps AMs, serving the main thread's queue and messages when called on it.
void PlayerSleep(Cardinal AMs);

// ---- video decoding (videodecode.cpp) ----
void VideoThread(TVideoState* is);
// The pts a decoded picture takes (reordered pts or packet dts), with the fault counts.
Int64 ChooseVideoPts(TVideoState& is, Int64 AReorderedPts, Int64 APacketDts, Integer ADecoderReorderPts);
Integer QueuePicture(TVideoState* is, AVFrame* AFrame, double APts, Int64 APos);

// ---- display (videodisplay.cpp) ----
void RefreshThread(TVideoState* is);
void VideoRefreshTimer(TVideoState* is, bool AAdvance);
void VideoDisplay(TVideoState* is);
Integer VideoOpen(TVideoState* is, bool AForce);
void AllocPicture(TVideoState* is);
void VideoImageDisplay(TVideoState* is);
void VideoAudioDisplay(TVideoState* is);
void FreeSubPicture(TSubPicture& sp);
// The picture's place in a display area of AWidth x AHeight.
SDL_Rect PictureRect(Integer AWidth, Integer AHeight, Single AAspectRatio, Integer APicWidth,
                     Integer APicHeight, AVRational ASampleAspect);
// Blends one palette subtitle rectangle (palette entries (A, Y, U, V)) into a 4:2:0 picture.
void BlendSubtitleRect(uint8_t* const AData[3], const Integer ALinesize[3], const AVSubtitleRect& ARect,
                       Integer AImageWidth, Integer AImageHeight);

// ---- audio and subtitles (audiodecode.cpp, subtitles.cpp) ----
void SdlAudioCallback(void* AOpaque, Uint8* AStream, int ALength);
Integer AudioDecodeFrame(TVideoState* is, double& APts);
void UpdateSampleDisplay(TVideoState* is, const int16_t* ASamples, Integer ASize);
void SubtitleThread(TVideoState* is);
// (A, R, G, B) to (A, Y, U, V), BT.601 studio range.
uint32_t RGBAToYUVA(uint32_t AColour);

// ---- threads and lifecycle (playerthreads.cpp) ----
// What LockData gives back.
inline constexpr Cardinal WAIT_TIMEOUT = 258;
inline constexpr Cardinal WAIT_OBJECT_0 = 0;
// SDL event types the play thread's loop handles; 24 … 27 are the player's own.
inline constexpr Uint8 FF_ALLOC_EVENT = 24;
inline constexpr Uint8 FF_REFRESH_EVENT = 25;
inline constexpr Uint8 FF_QUIT_EVENT = 26;
inline constexpr Uint8 FF_REOPEN_VIDEO_EVENT = 27;

bool StreamOpen(TPlayerCore* APlayer, const String& AFileName, const AVInputFormat* AFormat, bool APaused);
void StreamClose(TVideoState* is);
void DoExit(TPlayerCore* APlayer);
// SDL_Quit, one caller at a time.
void QuitSDL();
void EventLoop(TPlayerCore* APlayer);
void PushQuitEvent(TVideoState* is);
void PushReopenVideoEvent(TVideoState* is);
void PushUserEvent(Uint8 AType, TVideoState* is);

// ---- SDL's start (sdlstart.cpp) ----
// Sets SDL's driver variables for the player's choices; a default gives back what the variable
// held before the player chose another driver.
void ChooseSDLDrivers(TVideoDriver AVideo, TAudioDriver AAudio);
// SDL's x11 driver opens a connection to see whether the display is there, closes it and opens its
// real one. When that probe was the display's only client, the X server resets in between and drops
// the real one ("Couldn't open X11 display"). A connection of the player's own, held across SDL's
// start, keeps the server going; nothing is held when SDL will not use the X display.
class TDisplayHold {
 public:
  TDisplayHold();
  ~TDisplayHold();
  TDisplayHold(const TDisplayHold&) = delete;
  TDisplayHold& operator=(const TDisplayHold&) = delete;
  bool Held() const { return FDisplay != nullptr; }

 private:
  void* FDisplay = nullptr;
};
