// Conversion helpers shared by the transcoder, its option layer, the probe, the player and the
// preview: time and error texts, the per-task option holders, reading a whole file, the libraries'
// texts and metadata, codec descriptions and media-type names.
#pragma once

#include "engine/base/avheaders.h"
#include "engine/base/avholders.h"
#include "platform/rtl/types.h"

// "hh:mm:ss.zzz" of a time in microseconds (hours not wrapped); "N/A" for AV_NOPTS_VALUE.
String PTSToTimeText(Int64 t);
// Microseconds per frame; 40000 (25 frames per second) when either part of the rate is 0.
Int64 GetFrameDuration(AVRational ARate);
// "<name>: <text of the error code>".
String FormatAVError(const String& AFileName, Integer ACode);
// The words of a system error code (-13: "Permission denied"); "Error number %d occurred" for a
// code that has none.
String SystemErrorText(Integer ACode);

// Option holders of one transcoder: contexts that only hold option values, and the names set so
// far (pointing into the libraries' option tables), in the order they were set.
struct TFFOptions {
  TAVMemHolder<const char*> opt_names;  // av_realloc'ed
  Integer opt_name_count = 0;
  TCodecContextHolder avcodec_opts[5];  // by media type: video, audio, data, subtitle, attachment
  TFormatContextHolder avformat_opts;
  TSwsContextHolder sws_opts;
};

// Empties the record, freeing what it holds.
void InitFFOptions(TFFOptions& AOptions);
void CreateFFOptions(TFFOptions& AOptions, Integer ASwsFlags);
void FreeFFOptions(TFFOptions& AOptions);
// The generic option setter: the codec holders by media type, then the format, then the scaler
// holder, then a/v/s-prefixed names on the audio/video/subtitle codec holder. False for a blank name
// or value and for a name no holder knows (silently), and for a bad value (logged).
bool SetFFOption(TFFOptions& AOptions, const char* AName, const char* AValue);
// Copies every recorded option whose flags contain all of AFlags from ASource (an option holder)
// into ATarget (a real context of the same kind), in recording order.
void ApplyFFOptions(const TFFOptions& AOptions, void* ATarget, void* ASource, Integer AFlags);

// Reads a whole file into an av_malloc'ed buffer with a terminating zero (ASize counts it).
// 0 on success; -1 when the file cannot be opened or sized, AVERROR(ENOMEM) when it does not fit.
Integer ReadFileToBuffer(const char* AFileName, uint8_t*& ABuffer, Integer& ASize);

// A text the libraries hand out: UTF-8 as it is, anything else read in the system code page; empty
// for null.
String LibraryText(const char* AText);
// The value of AKey in a metadata dictionary, or ADefault (also for a null dictionary). Values
// that are not UTF-8 are read in the system code page.
String GetMetadataValue(const AVDictionary* ADictionary, const char* AKey, const String& ADefault);
// "name(long name)" of the context's codec; otherwise the codec id's name, "mpeg2ts", the printable
// fourcc "XVID / 0x44495658" or the tag "0x0001".
String CodecNameText(const AVCodecContext* ACodecContext, bool AEncoder);
// "Video", "Audio", "Data", "Subtitle", "Attachment", else "Unknown".
String MediaTypeText(Integer AType);
