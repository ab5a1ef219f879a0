// What a caller says about one input and one output of a conversion task: plain records with their
// defaults, and the extra-option text that both carry (name=value pairs, one per line or joined
// by "<CRLF>").
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/rtl/types.h"

// A time that is not given: the libraries' AV_NOPTS_VALUE, so records stay free of their headers.
inline constexpr Int64 NoTimeValue = INT64_MIN;

struct TInputOptions {
  String FileName;
  String FileFormat;
  Int64 TimeStart = NoTimeValue;  // microseconds
  Integer ProgramID = -1;
  String ExtOptions;
  Integer Tag = 0;
  void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

// The metadata of an output.
struct TStreamInfo {
  TDateTime TimeStamp = -1.0;  // 0: now; above 0: that moment (local time); below 0: none
  Integer Year = -1;
  Integer Track = -1;
  String Title, Author, Copyright, Comment, Album, Genre;
};

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
// Only ntPAL or ntNTSC.
using TOptionNormDefault = TOptionNormType;

struct TOutputOptions {
  String FileName;
  String FileExt;  // the caller's
  String FileFormat;
  Integer PacketSize = -1;
  Integer MuxRate = -1;
  Single MuxDelay = -1.0f;
  Single MuxPreload = -1.0f;
  String AudioCodec;
  String AudioPreset;
  bool DisableAudio = false;
  Integer AudioVolume = -1;
  Integer AudioChannels = -1;
  Integer AudioSampleRate = -1;
  Integer AudioBitrate = -1;
  Integer AudioBitRateTolerance = -1;
  String AudioLanguage;
  Integer AudioSyncMethod = 0;
  String AudioTag;
  String VideoCodec;
  String VideoPreset;
  bool DisableVideo = false;
  String FrameRate;
  String FrameSize;
  String FrameAspectRatio;
  Integer CropTop = -1, CropBottom = -1, CropLeft = -1, CropRight = -1;
  Integer GroupPictureSize = -1;
  Integer VideoBitrate = -1;
  Integer VideoMaxRate = -1;
  Integer VideoMinRate = -1;
  Integer VideoBitRateTolerance = -1;
  Integer VideoBufSize = -1;
  Integer VideoSyncMethod = -1;
  String VideoTag;
  String VideoFilters;
  String VideoLanguage;
  String SubtitleCodec;
  String SubtitlePreset;
  bool DisableSubtitle = false;
  String SubtitleLanguage;
  bool InputSync = false;
  bool CopyTimestamp = false;
  Int64 TimeStart = NoTimeValue;
  Int64 TimeLength = NoTimeValue;
  TStreamInfo Info;
  TOptionTargetType TargetType = ttIgnore;
  TOptionNormType NormType = ntAuto;
  TOptionNormDefault NormDefault = ntPAL;
  bool CustomHook = false;
  bool Join = false;
  String ExtOptions;
  Integer Tag = 0;
  void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

void InitInputOptions(TInputOptions& AOptions);
void InitOutputOptions(TOutputOptions& AOptions);

using TOptionPair = std::pair<String, String>;

// The pairs of an extra-option text in order. Names and values keep their blanks and case; a line
// without "=" is a name with an empty value.
std::vector<TOptionPair> SplitExtOptions(const String& AText);

// Lower-cases the letters A to Z only.
String LowerAZ(const String& AText);

// The records that the text forms of the component's operations start from: the named pairs fill
// their fields, every other pair goes to ExtOptions as "name=value" and a line feed.
TInputOptions InputOptionsFromText(const String& AText);
TOutputOptions OutputOptionsFromText(const String& AText);
