// The main window's JobParameters: the scratch set of conversion parameters that is rebuilt for
// every added file and every format change, and the format parameter step that fills it.
#pragma once

#include <array>
#include <functional>

#include "app/formats/formattables.h"
#include "platform/rtl/types.h"

// Fields in the main window's declaration order. A default-constructed set holds the reset values.
struct TJobParameters {
  String Video_OutPutFileName;
  String Video_AddFileName;
  String Video_FileExt;
  String Video_AudioChannels;
  String Video_AudioSampleRate;
  String Video_FrameSize;
  String Video_FrameRate;
  String Video_NormType;
  String Video_VideoFilters;
  String Video_AudioVolume = "256";
  String Video_FrameAspectRatio;
  String Video_VideoCodec;
  String Video_AudioCodec;
  String Video_CopyTimestamp;
  String Video_FileFormat;
  String Video_TargetType;
  String Video_VideoTag;
  Integer Video_VideoBitrate = -1;  // bit/s; -1000 = not given
  Integer Video_AudioBitrate = -1;  // bit/s; -1000 = not given
  Integer Video_TimeStart = -1;
  Integer Video_TimeLength = -1;
  bool Video_DisableVideo = false;
  Integer All_Trant_Number = 0;  // format code of the current choice

  friend bool operator==(const TJobParameters&, const TJobParameters&) = default;
};

// The reset (Button6): every field to its reset value except Video_AddFileName and All_Trant_Number.
void ResetJobParameters(TJobParameters& P);

// Assigns exactly the fields the row says it assigns; the others keep their values.
void ApplyParameterRow(const TFormatParameterRow& Row, TJobParameters& P);

// The format parameter step (Button5, without the job-row write): reset, store the format code,
// clear Video_DisableVideo, apply the code's row and build Video_OutPutFileName in OutputFolder,
// numbered with "_n" when the file exists and Overwrite is off.
void ApplyFormatParameters(TJobParameters& P, Integer CategoryPosition, Integer FormatPosition,
                           const String& OutputFolder, bool Overwrite);

// The step after the code is stored: the row's output name (OutputFolder + "/" + the input's name
// with the row's extension) and fields when there is a row (null: none), then the free name.
void ApplyParameterRowAndOutputName(TJobParameters& P, const TFormatParameterRow* Row,
                                    const String& OutputFolder, bool Overwrite);

// OutputFolder + "/" + the file name of OutputFileName; when that file exists and Overwrite is off,
// "_" + the first n from 1 whose file does not exist goes before the extension.
String FreeOutputFileName(const String& OutputFileName, const String& OutputFolder, bool Overwrite);
// The same, where a name that TakenElsewhere holds (another job's output) is never free, whatever
// Overwrite says.
String FreeOutputFileName(const String& OutputFileName, const String& OutputFolder, bool Overwrite,
                          const std::function<bool(const String& Name)>& TakenElsewhere);

// The job row's parameter columns written by the format parameter step: SubItems 10 to 23
// (video codec, audio codec, channels, tag, file extension, frame size, video bit rate, frame rate,
// audio bit rate, sample rate, aspect, "True"/"False" for no video, target type, norm type).
constexpr Integer FirstParameterSubItem = 10;
constexpr Integer ParameterSubItemCount = 14;
std::array<String, ParameterSubItemCount> JobParameterColumns(const TJobParameters& P);
