#include <cstring>
#include <ctime>

#include "engine/base/avstubs.h"
#include "engine/preview/framehook.h"
#include "engine/transcoder/transcoder.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

namespace {

const char* const CropRangeVertical =
    "Vertical crop dimensions are outside the range of the original image.\nRemember to crop first and "
    "scale second.";
const char* const CropRangeHorizontal =
    "Horizontal crop dimensions are outside the range of the original image.\nRemember to crop first and "
    "scale second.";

void LogTrimmed(TObject* ASender, const char* ALine) {
  GetFFLogger()->Log(ASender, llInfo, Trim(ALine));
}

}  // namespace

// ---- format and geometry -----------------------------------------------------------------------

void TCustomFFmpeg::SetFormat(const String& AValue) {
  if (AValue.empty()) return;
  if (AValue == "pgmyuv") {
    FPending.last_asked_format = "image2";
    FPending.pgmyuv_compatibility_hack = 1;
    GetFFLogger()->Log(this, llInfo, "pgmyuv format is deprecated, use image2");
    return;
  }
  FPending.last_asked_format = AValue;
}

void TCustomFFmpeg::SetFrameRate(const String& AValue) {
  if (AValue.empty()) return;
  AVRational rate{0, 0};
  if (ff::av_parse_video_rate(&rate, AValue.c_str()) < 0) throw FFmpegException("Incorrect frame rate");
  FPending.frame_rate = rate;
}

void TCustomFFmpeg::SetFrameSize(const String& AValue) {
  if (AValue.empty()) return;
  int w = 0, h = 0;
  if (ff::av_parse_video_size(&w, &h, AValue.c_str()) < 0) throw FFmpegException("Incorrect frame size");
  FPending.frame_width = w;
  FPending.frame_height = h;
}

void TCustomFFmpeg::SetAspectRatio(const String& AValue) {
  if (AValue.empty()) return;
  Double ratio = 0;
  const size_t colon = AValue.find(':');
  if (colon != String::npos) {
    const Integer w = StrToIntDef(AValue.substr(0, colon), 0);
    const Integer h = StrToIntDef(AValue.substr(colon + 1), 0);
    if (h > 0) ratio = Double(w) / Double(h);
  } else {
    ratio = StrToFloatDef(AValue, 0);
  }
  if (ratio == 0) throw FFmpegException("Incorrect aspect ratio specification.");
  FPending.frame_aspect_ratio = Single(ratio);
}

void TCustomFFmpeg::SetCropTop(Integer AValue) {
  if (AValue <= 0) return;
  if (AValue >= FPending.frame_height) throw FFmpegException(CropRangeVertical);
  GetFFLogger()->Log(this, llWarning, "CropTop is deprecated in favor of the crop avfilter");
  FPending.frame_topBand = AValue;
  FPending.frame_height -= AValue;
}

void TCustomFFmpeg::SetCropBottom(Integer AValue) {
  if (AValue <= 0) return;
  if (AValue >= FPending.frame_height) throw FFmpegException(CropRangeVertical);
  GetFFLogger()->Log(this, llWarning, "CropBottom is deprecated in favor of the crop avfilter");
  FPending.frame_bottomBand = AValue;
  FPending.frame_height -= AValue;
}

void TCustomFFmpeg::SetCropLeft(Integer AValue) {
  if (AValue <= 0) return;
  if (AValue >= FPending.frame_width) throw FFmpegException(CropRangeHorizontal);
  GetFFLogger()->Log(this, llWarning, "CropLeft is deprecated in favor of the crop avfilter");
  FPending.frame_leftBand = AValue;
  FPending.frame_width -= AValue;
}

void TCustomFFmpeg::SetCropRight(Integer AValue) {
  if (AValue <= 0) return;
  if (AValue >= FPending.frame_width) throw FFmpegException(CropRangeHorizontal);
  GetFFLogger()->Log(this, llWarning, "CropRight is deprecated in favor of the crop avfilter");
  FPending.frame_rightBand = AValue;
  FPending.frame_width -= AValue;
}

void TCustomFFmpeg::SetPixelFormat(const char* AValue) {
  if (std::strcmp(AValue, "list") == 0) {
    char line[128];
    LogTrimmed(this, ff::av_get_pix_fmt_string(line, sizeof line, AV_PIX_FMT_NONE));
    for (const AVPixFmtDescriptor* d = ff::av_pix_fmt_desc_next(nullptr); d; d = ff::av_pix_fmt_desc_next(d))
      LogTrimmed(this, ff::av_get_pix_fmt_string(line, sizeof line, ff::av_pix_fmt_desc_get_id(d)));
    return;
  }
  FPending.frame_pix_fmt = ff::av_get_pix_fmt(AValue);
  if (FPending.frame_pix_fmt == AV_PIX_FMT_NONE)
    throw FFmpegException(Format("Unknown pixel format requested: %s", AValue));
}

void TCustomFFmpeg::SetSampleFormat(const char* AValue) {
  if (std::strcmp(AValue, "list") == 0) {
    char line[128];
    LogTrimmed(this, ff::av_get_sample_fmt_string(line, sizeof line, AV_SAMPLE_FMT_NONE));
    for (Integer f = 0; f < AV_SAMPLE_FMT_NB; ++f)
      LogTrimmed(this, ff::av_get_sample_fmt_string(line, sizeof line, AVSampleFormat(f)));
    return;
  }
  FPending.audio_sample_fmt = ff::av_get_sample_fmt(AValue);
}

void TCustomFFmpeg::SetVideoStandard(const char* AValue) {
  FPending.video_standard = String(AValue);
}

void TCustomFFmpeg::SetVideoFilters(const String& AValue) {
  if (!AValue.empty()) FPending.vfilters = AValue;
}

// ---- quality and rate control ------------------------------------------------------------------

bool TCustomFFmpeg::SetBitrate(const String& AName, const String& AValue) {
  if (AName.empty() || AValue.empty()) return false;
  const bool result = SetDefaultOption(AName.c_str(), AValue.c_str());
  if (result) {
    int64_t bitrate = 0;
    AVCodecContext* holder = FOptions.avcodec_opts[AName[0] == 'a' ? mtAudio : mtVideo].get();
    if (holder && ff::av_opt_get_int(holder, "b", 0, &bitrate) >= 0 && bitrate < 1000)
      GetFFLogger()->Log(
          this, llWarning,
          "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
  }
  return result;
}

void TCustomFFmpeg::SetVideoQScale(Single AValue) {
  if (!(AValue > 0 && AValue <= 255)) throw FFmpegException("qscale must be > 0.0 and <= 255");
  FPending.video_qscale = AValue;
}

void TCustomFFmpeg::SetRcOverride(const char* AValue) {
  FPending.video_rc_override_string = String(AValue);
}

void TCustomFFmpeg::SetPass(Integer AValue) {
  if (AValue != 1 && AValue != 2) throw FFmpegException("pass number can be only 1 or 2");
  FPending.do_pass = AValue;
}

void TCustomFFmpeg::SetMatrix(const char* AValue, std::optional<std::array<Word, 64>>& AMatrix) {
  AMatrix.emplace();
  AMatrix->fill(0);
  const char* p = AValue;
  for (Integer i = 0;; ++i) {
    Integer coefficient = 0;
    for (const char* d = p; *d >= '0' && *d <= '9'; ++d) coefficient = coefficient * 10 + (*d - '0');
    (*AMatrix)[size_t(i)] = Word(coefficient);
    if (i == 63) break;
    p = std::strchr(p, ',');
    if (!p) throw FFmpegException(Format("Syntax error in matrix \"%s\" at coeff %d", AValue, i));
    ++p;
  }
}

void TCustomFFmpeg::SetIntraMatrix(const char* AValue) {
  SetMatrix(AValue, FPending.intra_matrix);
}

void TCustomFFmpeg::SetInterMatrix(const char* AValue) {
  SetMatrix(AValue, FPending.inter_matrix);
}

// ---- codecs and tags ---------------------------------------------------------------------------

void TCustomFFmpeg::SetCodec(const String& AValue, std::optional<String>& AName, Integer& AStreamCopy) {
  if (AValue.empty()) return;
  AName.reset();
  if (AValue == "copy")
    AStreamCopy = 1;
  else
    AName = [&] {
      String bytes;
      Utf8ToSystem(AValue, bytes);
      return bytes;
    }();
}

void TCustomFFmpeg::SetVideoCodec(const String& AValue) {
  SetCodec(AValue, FPending.video_codec_name, FPending.video_stream_copy);
}

void TCustomFFmpeg::SetAudioCodec(const String& AValue) {
  SetCodec(AValue, FPending.audio_codec_name, FPending.audio_stream_copy);
}

void TCustomFFmpeg::SetSubtitleCodec(const String& AValue) {
  SetCodec(AValue, FPending.subtitle_codec_name, FPending.subtitle_stream_copy);
}

void TCustomFFmpeg::SetCodecTag(const String& AValue, Cardinal& ATag, const char* AKind) {
  if (AValue.empty()) return;
  String bytes;
  Utf8ToSystem(AValue, bytes);
  // Four characters, each one byte of the tag.
  if (Utf8Length(AValue) != 4 || bytes.size() != 4)
    throw EAssertionFailed(Format("%s tag parameter must be 4 chars", AKind));
  ATag = Cardinal(Byte(bytes[0])) | Cardinal(Byte(bytes[1])) << 8 | Cardinal(Byte(bytes[2])) << 16 |
         Cardinal(Byte(bytes[3])) << 24;
}

void TCustomFFmpeg::SetVideoTag(const String& AValue) {
  SetCodecTag(AValue, FPending.video_codec_tag, "video");
}

void TCustomFFmpeg::SetAudioTag(const String& AValue) {
  SetCodecTag(AValue, FPending.audio_codec_tag, "audio");
}

void TCustomFFmpeg::SetSubtitleTag(const String& AValue) {
  SetCodecTag(AValue, FPending.subtitle_codec_tag, "subtitle");
}

// ---- audio, muxing and timing ------------------------------------------------------------------

void TCustomFFmpeg::SetAudioSampleRate(Integer AValue) {
  if (AValue > 0) FPending.audio_sample_rate = AValue;
}

void TCustomFFmpeg::SetAudioChannels(Integer AValue) {
  if (AValue > 0) FPending.audio_channels = AValue;
}

void TCustomFFmpeg::SetAudioVolume(Integer AValue) {
  if (AValue >= 0) FPending.audio_volume = AValue;
}

void TCustomFFmpeg::SetMuxMaxDelay(Single AValue) {
  if (AValue > 0) FPending.mux_max_delay = AValue;
}

void TCustomFFmpeg::SetMuxPreload(Single AValue) {
  if (AValue > 0) FPending.mux_preload = AValue;
}

void TCustomFFmpeg::SetRecordingTime(Int64 ATime) {
  if (ATime == AV_NOPTS_VALUE) return;
  FPending.recording_time = ATime;
  FTotalOutputDuration = ATime;
}

void TCustomFFmpeg::SetStartTime(Int64 ATime) {
  if (ATime != AV_NOPTS_VALUE) FPending.start_time = ATime;
}

Int64 TCustomFFmpeg::ParseTimeOrFail(const char* AOption, const char* AText, bool AIsDuration) {
  int64_t t = 0;
  if (ff::av_parse_time(&t, AText, AIsDuration ? 1 : 0) < 0)
    throw FFmpegException(
        Format("Invalid %s specification for %s: %s", AIsDuration ? "duration" : "date", AOption, AText));
  return t;
}

void TCustomFFmpeg::SetRecordingTimeText(const char* AOption, const char* AValue) {
  SetRecordingTime(ParseTimeOrFail(AOption, AValue, true));
}

void TCustomFFmpeg::SetStartTimeText(const char* AOption, const char* AValue) {
  FPending.start_time = ParseTimeOrFail(AOption, AValue, true);
}

void TCustomFFmpeg::SetInputTsOffsetText(const char* AOption, const char* AValue) {
  FPending.input_ts_offset = ParseTimeOrFail(AOption, AValue, true);
}

void TCustomFFmpeg::SetRecordingTimestampText(const char* AOption, const char* AValue) {
  FPending.recording_timestamp = Round(Extended(ParseTimeOrFail(AOption, AValue, false)) / 1000000.0L);
}

void TCustomFFmpeg::SetProgramId(Integer AValue) {
  if (AValue >= 0) FPending.opt_programid = AValue;
}

// ---- maps, metadata, stream ids ----------------------------------------------------------------

void TCustomFFmpeg::AddStreamMap(const char* AValue) {
  if (Integer(Fstream_maps.size()) >= FMaxFiles * MAX_STREAMS)
    throw FFmpegException(Format("Too many stream maps (at most %d)", FMaxFiles * MAX_STREAMS));
  TAVStreamMap m;
  char* p = const_cast<char*>(AValue);
  m.file_index = Integer(ff::strtol(p, &p, 0));
  if (*p) ++p;
  m.stream_index = Integer(ff::strtol(p, &p, 0));
  if (*p) {
    ++p;
    m.sync_file_index = Integer(ff::strtol(p, &p, 0));
    if (*p) ++p;
    m.sync_stream_index = Integer(ff::strtol(p, &p, 0));
  } else {
    m.sync_file_index = m.file_index;
    m.sync_stream_index = m.stream_index;
  }
  Fstream_maps.push_back(m);
}

void TCustomFFmpeg::AddMetadataMap(const char* AValue) {
  if (Integer(Fmeta_data_maps.size()) >= FMaxFiles)
    throw FFmpegException(Format("Too many metadata maps (at most %d)", FMaxFiles));
  TAVMetaDataMap m;
  char* p = const_cast<char*>(AValue);
  m.out_file = Integer(ff::strtol(p, &p, 0));
  if (*p) ++p;
  m.in_file = Integer(ff::strtol(p, &p, 0));
  Fmeta_data_maps.push_back(m);
}

void TCustomFFmpeg::AddMetadata(const char* AValue) {
  const char* eq = std::strchr(AValue, '=');
  if (!eq) throw FFmpegException("Missing =");
  Fmetadata.emplace_back(String(AValue, size_t(eq - AValue)), String(eq + 1));
}

void TCustomFFmpeg::AddMetadataPair(const String& AKey, const String& AValue) {
  Fmetadata.emplace_back(AKey, AValue);
}

void TCustomFFmpeg::SetInputTsScale(const char* AValue) {
  char* p = const_cast<char*>(AValue);
  const long stream = ff::strtol(p, &p, 0);
  if (*p) ++p;
  const double scale = ff::strtod(p, &p);
  if (stream < 0 || stream >= MAX_STREAMS)
    throw FFmpegException(Format("stream index over MAX_STREAMS(%d)", MAX_STREAMS));
  // The next input to be opened; past the last slot there is none to scale.
  const Integer file = nb_input_files();
  if (file < FMaxFiles) Finput_files_ts_scale[size_t(file)][size_t(stream)] = scale;
}

void TCustomFFmpeg::SetStreamId(const String& AName, const String& AValue) {
  const size_t colon = AValue.find(':');
  if (colon == String::npos || colon == 0 || colon + 1 >= AValue.size())
    throw FFmpegException(
        Format("Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"", AValue, AName));
  const Integer index = StrToInt(AValue.substr(0, colon));
  const Integer value = StrToInt(AValue.substr(colon + 1));
  if (index < 0 || index >= MAX_STREAMS)
    throw FFmpegException(
        Format("Invalid stream index %d for option \"%s\" (0 to %d)", index, AName, MAX_STREAMS - 1));
  Fstreamid_map[size_t(index)] = value;
}

// ---- statistics, hooks and filters -------------------------------------------------------------

void TCustomFFmpeg::SetVStatsFile(const char* AValue) {
  FPending.vstats_filename = String(AValue);
}

void TCustomFFmpeg::SetVStats(bool AEnable) {
  FPending.vstats_filename.reset();
  if (!AEnable) return;
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  char clock[8];
  strftime(clock, sizeof clock, "%H%M%S", &local);
  FPending.vstats_filename = Format("%svstats_%s.log", GetExePath(), clock);
}

void TCustomFFmpeg::AddBitstreamFilter(const String& AName, const String& AValue) {
  if (AName.empty() || AValue.empty() || AValue[0] == '=') return;
  const String name = AValue.substr(0, AValue.find('='));
  const AVBitStreamFilter* filter = ff::av_bsf_get_by_name(name.c_str());
  if (!filter) throw FFmpegException(Format("Unknown bitstream filter %s", Trim(AValue)));
  if (AName[0] == 'v')
    FPending.video_bitstream_filters.push_back(filter);
  else if (AName[0] == 'a')
    FPending.audio_bitstream_filters.push_back(filter);
  else
    FPending.subtitle_bitstream_filters.push_back(filter);
}

void TCustomFFmpeg::SetPostHooks(TPostHooks AValue) {
  TCriticalSectionHold hold(PostHookLock());
  DoSetPostHooks(AValue);
}

TPostHooks TCustomFFmpeg::PostHooks() const {
  TCriticalSectionHold hold(PostHookLock());
  return FPostHooks;
}

void TCustomFFmpeg::DoSetPostHooks(TPostHooks AValue) {
  if (AValue == FPostHooks) return;
  if (FPostHooks.Contains(phPreview) && !AValue.Contains(phPreview)) FPostContext.Previewer.reset();
  FPostHooks = AValue;
}

std::vector<String> TCustomFFmpeg::VideoHookWords(const char* AValue) {
  const char* separators = std::strchr(AValue, '|') ? "|" : " ";
  String copy = AValue;
  std::vector<String> words;
  char* state = nullptr;
  for (char* word = ff::strtok_r(copy.data(), separators, &state); word && words.size() < 63;
       word = ff::strtok_r(nullptr, separators, &state))
    words.emplace_back(word);
  return words;
}

void TCustomFFmpeg::AddVideoHook(const char* AValue) {
  const std::vector<String> words = VideoHookWords(AValue);
  if (AddFrameHook(FFirstHook, words) != 0)
    throw FFmpegException(String("Failed to add video hook function: ") + AValue);
  Fusing_vhook = true;
}
