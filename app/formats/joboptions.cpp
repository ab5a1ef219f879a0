#include "app/formats/joboptions.h"

#include "platform/rtl/convert.h"

namespace {

TOptionTargetType TargetTypeOf(const String& AText) {
  if (AText == "vcd") return ttVCD;
  if (AText == "svcd") return ttSVCD;
  if (AText == "dvd") return ttDVD;
  return ttIgnore;
}

}  // namespace

TOutputOptions JobOutputOptions(const TJobParameters& P) {
  TOutputOptions O;
  InitOutputOptions(O);
  if (!P.Video_VideoCodec.empty()) {
    O.VideoCodec = P.Video_VideoCodec;
    O.VideoPreset = P.Video_VideoCodec == "libx264" ? "libx264-default" : "";
  }
  if (!P.Video_AudioCodec.empty() && P.Video_AudioCodec != "AUTO") O.AudioCodec = P.Video_AudioCodec;
  O.DisableVideo = P.Video_DisableVideo;
  if (!P.Video_FrameRate.empty()) O.FrameRate = P.Video_FrameRate;
  if (!P.Video_AudioChannels.empty()) O.AudioChannels = StrToInt(P.Video_AudioChannels);
  if (!P.Video_AudioSampleRate.empty() && P.Video_AudioSampleRate != "AUTO")
    O.AudioSampleRate = StrToInt(P.Video_AudioSampleRate);
  if (!P.Video_FrameSize.empty()) O.FrameSize = P.Video_FrameSize;
  if (!P.Video_TargetType.empty()) O.TargetType = TargetTypeOf(P.Video_TargetType);
  O.NormType = P.Video_NormType == "PAL" ? ntPAL : P.Video_NormType == "NTSC" ? ntNTSC : ntAuto;
  O.AudioVolume = P.Video_AudioVolume == "256" ? 256 : StrToInt(P.Video_AudioVolume);
  if (!P.Video_FrameAspectRatio.empty()) O.FrameAspectRatio = P.Video_FrameAspectRatio;
  if (P.Video_AudioBitrate != -1000 && P.Video_AudioBitrate != -2000) O.AudioBitrate = P.Video_AudioBitrate;
  if (!P.Video_FileFormat.empty()) O.FileFormat = P.Video_FileFormat;
  if (!P.Video_VideoFilters.empty()) O.VideoFilters = P.Video_VideoFilters;
  if (!P.Video_VideoTag.empty()) O.VideoTag = P.Video_VideoTag;
  if (P.Video_VideoBitrate != -1000) O.VideoBitrate = P.Video_VideoBitrate;
  return O;
}
