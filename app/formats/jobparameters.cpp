#include "app/formats/jobparameters.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"

void ResetJobParameters(TJobParameters& P) {
  P.Video_OutPutFileName = "";
  P.Video_FileExt = "";
  P.Video_AudioChannels = "";
  P.Video_AudioSampleRate = "";
  P.Video_FrameSize = "";
  P.Video_FrameRate = "";
  P.Video_NormType = "";
  P.Video_VideoFilters = "";
  P.Video_AudioVolume = "256";
  P.Video_FrameAspectRatio = "";
  P.Video_VideoCodec = "";
  P.Video_AudioCodec = "";
  P.Video_CopyTimestamp = "";
  P.Video_FileFormat = "";
  P.Video_TargetType = "";
  P.Video_VideoTag = "";
  P.Video_VideoBitrate = -1;
  P.Video_AudioBitrate = -1;
  P.Video_TimeStart = -1;
  P.Video_TimeLength = -1;
  P.Video_DisableVideo = false;
}

void ApplyParameterRow(const TFormatParameterRow& Row, TJobParameters& P) {
  auto text = [&](uint32_t bit, String& field, const char* value) {
    if (Row.Assigns & bit) field = value;
  };
  text(jpFileExt, P.Video_FileExt, Row.FileExt);
  text(jpAudioChannels, P.Video_AudioChannels, Row.AudioChannels);
  text(jpAudioSampleRate, P.Video_AudioSampleRate, Row.AudioSampleRate);
  text(jpFrameSize, P.Video_FrameSize, Row.FrameSize);
  text(jpFrameRate, P.Video_FrameRate, Row.FrameRate);
  text(jpNormType, P.Video_NormType, Row.NormType);
  text(jpVideoFilters, P.Video_VideoFilters, Row.VideoFilters);
  text(jpAudioVolume, P.Video_AudioVolume, Row.AudioVolume);
  text(jpFrameAspectRatio, P.Video_FrameAspectRatio, Row.FrameAspectRatio);
  text(jpVideoCodec, P.Video_VideoCodec, Row.VideoCodec);
  text(jpAudioCodec, P.Video_AudioCodec, Row.AudioCodec);
  text(jpCopyTimestamp, P.Video_CopyTimestamp, Row.CopyTimestamp);
  text(jpFileFormat, P.Video_FileFormat, Row.FileFormat);
  text(jpTargetType, P.Video_TargetType, Row.TargetType);
  text(jpVideoTag, P.Video_VideoTag, Row.VideoTag);
  if (Row.Assigns & jpVideoBitrate) P.Video_VideoBitrate = Row.VideoBitrate;
  if (Row.Assigns & jpAudioBitrate) P.Video_AudioBitrate = Row.AudioBitrate;
  if (Row.Assigns & jpDisableVideo) P.Video_DisableVideo = Row.DisableVideo;
}

String FreeOutputFileName(const String& OutputFileName, const String& OutputFolder, bool Overwrite) {
  return FreeOutputFileName(OutputFileName, OutputFolder, Overwrite, nullptr);
}

String FreeOutputFileName(const String& OutputFileName, const String& OutputFolder, bool Overwrite,
                          const std::function<bool(const String& Name)>& TakenElsewhere) {
  String ext = ExtractFileExt(OutputFileName);
  String stem =
      OutputFolder + "/" + ExtractFileName(OutputFileName.substr(0, OutputFileName.size() - ext.size()));
  const auto taken = [&](const String& name) {
    return (!Overwrite && FileExists(name)) || (TakenElsewhere && TakenElsewhere(name));
  };
  String name = stem + ext;
  if (taken(name)) {
    for (Integer n = 1;; ++n) {
      name = stem + "_" + IntToStr(n) + ext;
      if (!taken(name)) break;
    }
  }
  return name;
}

void ApplyFormatParameters(TJobParameters& P, Integer CategoryPosition, Integer FormatPosition,
                           const String& OutputFolder, bool Overwrite) {
  ResetJobParameters(P);
  P.All_Trant_Number = FormatCodeOf(CategoryPosition, FormatPosition);
  P.Video_DisableVideo = false;
  ApplyParameterRowAndOutputName(P, FindFormatParameterRow(P.All_Trant_Number), OutputFolder, Overwrite);
}

void ApplyParameterRowAndOutputName(TJobParameters& P, const TFormatParameterRow* Row,
                                    const String& OutputFolder, bool Overwrite) {
  if (Row) {
    P.Video_OutPutFileName =
        OutputFolder + "/" + ChangeFileExt(ExtractFileName(P.Video_AddFileName), Row->OutputExt);
    ApplyParameterRow(*Row, P);
  }
  P.Video_OutPutFileName = FreeOutputFileName(P.Video_OutPutFileName, OutputFolder, Overwrite);
}

std::array<String, ParameterSubItemCount> JobParameterColumns(const TJobParameters& P) {
  return {P.Video_VideoCodec,
          P.Video_AudioCodec,
          P.Video_AudioChannels,
          P.Video_VideoTag,
          P.Video_FileExt,
          P.Video_FrameSize,
          IntToStr(P.Video_VideoBitrate),
          P.Video_FrameRate,
          IntToStr(P.Video_AudioBitrate),
          P.Video_AudioSampleRate,
          P.Video_FrameAspectRatio,
          P.Video_DisableVideo ? "True" : "False",
          P.Video_TargetType,
          P.Video_NormType};
}
