// The player's enums and event types, for the windows that hold a player and hear its events.
#pragma once

#include <functional>

#include "platform/rtl/types.h"

class TObject;
class TBitmap;

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };
using TAudioVolume = Integer;  // 0 … 128

using TFileOpenEvent =
    std::function<void(TObject* Sender, const Int64 ADuration, const Integer AFrameWidth,
                       const Integer AFrameHeight, Integer& AScreenWidth, Integer& AScreenHeight)>;
using TPositionEvent = std::function<void(TObject* Sender, const Int64 APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, const TPlayState AState)>;
using THookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, const Int64 APTS)>;
