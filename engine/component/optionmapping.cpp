// How the option records become settings of a task: which option, which value, in which order.
// Settings made before an input or output opens apply to it; the new-stream options, given after
// the output opened, add streams to it.
#include <utility>
#include <vector>

#include "engine/component/discstandard.h"
#include "engine/component/ffmpegconverter.h"
#include "engine/component/ffmpegtask.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"

namespace {

// A name=value list in which a name may occur more than once; Value reads the first one.
class TDefaultsList {
 public:
  String Value(const String& AName) const {
    for (const auto& entry : FEntries)
      if (entry.first == AName) return entry.second;
    return String();
  }
  void SetValue(const String& AName, const String& AValue) {
    for (auto& entry : FEntries)
      if (entry.first == AName) {
        entry.second = AValue;
        return;
      }
    if (!AValue.empty()) FEntries.emplace_back(AName, AValue);
  }
  void Append(const String& AName, const String& AValue) { FEntries.emplace_back(AName, AValue); }
  // Takes out the first entry of AName; False when there is none.
  bool Take(const String& AName, String& AValue) {
    for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
      if (it->first == AName) {
        AValue = it->second;
        FEntries.erase(it);
        return true;
      }
    return false;
  }

 private:
  std::vector<std::pair<String, String>> FEntries;
};

// The record's codecs, presets, frame size and filters as "def_" entries, then the same names of
// the extra options: each fills its default when that is still empty, and each is listed for the
// new streams in text order.
TDefaultsList BuildOutputDefaults(const TOutputOptions& AOptions) {
  TDefaultsList list;
  list.SetValue("def_acodec", AOptions.AudioCodec);
  list.SetValue("def_vcodec", AOptions.VideoCodec);
  list.SetValue("def_scodec", AOptions.SubtitleCodec);
  list.SetValue("def_apre", AOptions.AudioPreset);
  list.SetValue("def_vpre", AOptions.VideoPreset);
  list.SetValue("def_spre", AOptions.SubtitlePreset);
  list.SetValue("def_s", AOptions.FrameSize);
  list.SetValue("def_vf", AOptions.VideoFilters);
  for (const TOptionPair& pair : SplitExtOptions(AOptions.ExtOptions)) {
    String name = LowerAZ(pair.first);
    if (name != "acodec" && name != "vcodec" && name != "scodec" && name != "apre" && name != "vpre" &&
        name != "spre" && name != "s" && name != "vfilters" && name != "vf")
      continue;
    if (pair.second.empty()) continue;
    if (name == "vfilters") name = "vf";
    if (list.Value("def_" + name).empty()) list.SetValue("def_" + name, pair.second);
    list.Append(name, pair.second);
  }
  return list;
}

void ApplyTarget(TFFmpeg& ATask, const TOutputOptions& AOptions) {
  const char* target = nullptr;
  switch (AOptions.TargetType) {
    case ttVCD:
      target = "vcd";
      break;
    case ttSVCD:
      target = "svcd";
      break;
    case ttDVD:
      target = "dvd";
      break;
    case ttIgnore:
      return;
  }
  const char* norm = AOptions.NormType == ntPAL ? "pal" : AOptions.NormType == ntNTSC ? "ntsc" : "auto";
  ATask.SetTarget(target, norm, AOptions.NormDefault == ntPAL ? "pal" : "ntsc");
}

void SetPositiveInt(TFFmpeg& ATask, const char* AName, Integer AValue) {
  if (AValue > 0) ATask.SetDefaultOptionInt(AName, AValue);
}

// The record's plain fields, in their fixed order. Fields set "always" replace what the extra
// options said about the same option; the others leave it when they hold their default.
void ApplyOutputFields(TFFmpeg& ATask, const TOutputOptions& O) {
  if (!O.FileFormat.empty()) ATask.SetFormat(O.FileFormat);
  SetPositiveInt(ATask, "packetsize", O.PacketSize);
  SetPositiveInt(ATask, "muxrate", O.MuxRate);
  if (O.MuxDelay > 0) ATask.SetMuxMaxDelay(O.MuxDelay);
  if (O.MuxPreload > 0) ATask.SetMuxPreload(O.MuxPreload);
  if (O.DisableAudio) ATask.Pending().audio_disable = true;
  if (O.AudioVolume >= 0) ATask.SetAudioVolume(O.AudioVolume);
  if (O.AudioChannels > 0) ATask.SetAudioChannels(O.AudioChannels);
  if (O.AudioSampleRate > 0) ATask.SetAudioSampleRate(O.AudioSampleRate);
  SetPositiveInt(ATask, "ab", O.AudioBitrate);
  SetPositiveInt(ATask, "abt", O.AudioBitRateTolerance);
  ATask.Pending().audio_language = O.AudioLanguage;
  ATask.SetAudioSyncMethod(O.AudioSyncMethod);
  if (!O.AudioTag.empty()) ATask.SetAudioTag(O.AudioTag);
  if (O.DisableVideo) ATask.Pending().video_disable = true;
  if (!O.FrameRate.empty()) ATask.SetFrameRate(O.FrameRate);
  if (!O.FrameAspectRatio.empty()) ATask.SetAspectRatio(O.FrameAspectRatio);
  if (O.CropTop > 0) ATask.SetCropTop(O.CropTop);
  if (O.CropBottom > 0) ATask.SetCropBottom(O.CropBottom);
  if (O.CropLeft > 0) ATask.SetCropLeft(O.CropLeft);
  if (O.CropRight > 0) ATask.SetCropRight(O.CropRight);
  SetPositiveInt(ATask, "g", O.GroupPictureSize);
  SetPositiveInt(ATask, "vb", O.VideoBitrate);
  SetPositiveInt(ATask, "maxrate", O.VideoMaxRate);
  SetPositiveInt(ATask, "minrate", O.VideoMinRate);
  SetPositiveInt(ATask, "bt", O.VideoBitRateTolerance);
  SetPositiveInt(ATask, "bufsize", O.VideoBufSize);
  ATask.SetVideoSyncMethod(O.VideoSyncMethod);
  if (!O.VideoTag.empty()) ATask.SetVideoTag(O.VideoTag);
  ATask.Pending().video_language = O.VideoLanguage;
  if (O.DisableSubtitle) ATask.Pending().subtitle_disable = true;
  ATask.Pending().subtitle_language = O.SubtitleLanguage;
  ATask.Pending().input_sync = O.InputSync;
  if (O.CopyTimestamp) ATask.Pending().copy_ts = true;
  if (O.TimeStart != NoTimeValue) ATask.SetStartTime(O.TimeStart);
  // The recording time is also the task's expected output duration.
  if (O.TimeLength != NoTimeValue) ATask.SetRecordingTime(O.TimeLength);
  if (O.Info.TimeStamp == 0)
    ATask.Pending().recording_timestamp = DateTimeToUnixTime(Now());
  else if (O.Info.TimeStamp > 0)
    ATask.Pending().recording_timestamp = DateTimeToUnixTime(O.Info.TimeStamp);
  if (O.Info.Year > 0) ATask.AddMetadataPair("year", IntToStr(O.Info.Year));
  if (O.Info.Track > 0) ATask.AddMetadataPair("track", IntToStr(O.Info.Track));
  const std::pair<const char*, const String*> texts[] = {
      {"title", &O.Info.Title},     {"author", &O.Info.Author}, {"copyright", &O.Info.Copyright},
      {"comment", &O.Info.Comment}, {"album", &O.Info.Album},   {"genre", &O.Info.Genre}};
  for (const auto& [key, value] : texts)
    if (!value->empty()) ATask.AddMetadataPair(key, *value);
}

// The next value of a kind for a new stream: the next one the extra options listed, else the
// output's default.
void TakeStreamOption(TFFmpeg& ATask, TDefaultsList& ADefaults, const String& AName) {
  String value;
  if (!ADefaults.Take(AName, value)) value = ADefaults.Value("def_" + AName);
  ATask.SetOption(AName, value);
}

void ApplyStreamOptions(TFFmpeg& ATask, TDefaultsList& ADefaults, const String& AExtOptions) {
  for (const TOptionPair& pair : SplitExtOptions(AExtOptions)) {
    const String name = LowerAZ(pair.first);
    if (name == "newaudio") {
      TakeStreamOption(ATask, ADefaults, "acodec");
      TakeStreamOption(ATask, ADefaults, "apre");
    } else if (name == "newvideo") {
      TakeStreamOption(ATask, ADefaults, "vcodec");
      TakeStreamOption(ATask, ADefaults, "vpre");
      TakeStreamOption(ATask, ADefaults, "s");
      TakeStreamOption(ATask, ADefaults, "vf");
    } else if (name == "newsubtitle") {
      TakeStreamOption(ATask, ADefaults, "scodec");
      TakeStreamOption(ATask, ADefaults, "spre");
    } else {
      continue;
    }
    ATask.SetOption(name, pair.second);
  }
}

}  // namespace

void TCustomFFmpegConverter::PrepareTask(TFFmpeg& ATask) {
  ATask.Reset();
  ATask.SetVerbose(FVerbose);
  ATask.SetOverwriteOutput(FOverwriteOutput);
  TPostHooks hooks = ATask.PostHooks();
  if (FPreview)
    hooks.Include(phPreview);
  else
    hooks.Exclude(phPreview);
  if (FPreviewBitmap)
    hooks.Include(phBitmap);
  else
    hooks.Exclude(phBitmap);
  ATask.SetPostHooks(hooks);
  ATask.FOnPreviewBitmap = [this](TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
    DoPreviewBitmap(Sender, ABitmap, AFrameNumber, APTS);
  };
}

bool TCustomFFmpegConverter::OpenInput(TFFmpeg& ATask, const String& AFileName, PInputOptions AOptions) {
  if (AOptions) {
    const Integer index = ATask.nb_input_files();
    if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
    ATask.SetInputOptions(index, *AOptions);
    ATask.ApplyExtOptions(AOptions->ExtOptions, true);
    if (!AOptions->FileFormat.empty()) ATask.SetFormat(AOptions->FileFormat);
    if (AOptions->TimeStart != NoTimeValue) ATask.SetStartTime(AOptions->TimeStart);
    if (AOptions->ProgramID >= 0) ATask.SetProgramId(AOptions->ProgramID);
  }
  return ATask.OpenInputFile(AFileName);
}

bool TCustomFFmpegConverter::OpenOutput(TFFmpeg& ATask, const String& AFileName, POutputOptions AOptions) {
  const Integer index = ATask.nb_output_files();
  if (!AOptions) {
    ATask.ResetOutputOptions(index);
    return ATask.OpenOutputFile(AFileName, false) >= 0;
  }
  if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
  ATask.SetOutputOptions(index, *AOptions);
  // A disc target's standard wins over the record where it leaves no choice.
  const TOutputOptions O = WithinDiscStandard(*AOptions);
  TDefaultsList defaults = BuildOutputDefaults(O);
  ApplyTarget(ATask, O);
  if (const String v = defaults.Value("def_acodec"); !v.empty()) ATask.SetAudioCodec(v);
  if (const String v = defaults.Value("def_vcodec"); !v.empty()) ATask.SetVideoCodec(v);
  if (const String v = defaults.Value("def_scodec"); !v.empty()) ATask.SetSubtitleCodec(v);
  ATask.ApplyPreset("apre", defaults.Value("def_apre"));
  ATask.ApplyPreset("vpre", defaults.Value("def_vpre"));
  ATask.ApplyPreset("spre", defaults.Value("def_spre"));
  ATask.ApplyExtOptions(O.ExtOptions, false);
  ApplyOutputFields(ATask, O);
  if (const String v = defaults.Value("def_s"); !v.empty()) ATask.SetFrameSize(v);
  if (const String v = defaults.Value("def_vf"); !v.empty()) ATask.SetVideoFilters(v);
  if (O.CustomHook) {
    ATask.FOnCustomHook = [this](TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                 bool& AUpdate, bool& AStopHook) {
      DoCustomHook(Sender, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
    };
  }
  if (ATask.OpenOutputFile(AFileName, O.Join) < 0) return false;
  ApplyStreamOptions(ATask, defaults, O.ExtOptions);
  return true;
}
