// The media probe's file description: opening, adopting, counts, info records and the report.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/base/unicodeprotocol.h"
#include "engine/probe/avprobe.h"
#include "engine/probe/probeinfotext.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace {

constexpr AVRational MicrosecondBase = {1, 1000000};

Integer ClampToInteger(Int64 AValue) {
  return Integer(std::clamp<Int64>(AValue, INT32_MIN, INT32_MAX));
}

// The leading whole number of a tag such as "2009-05-01" or "3/12"; 0 when there is none.
Integer LeadingNumber(const String& AText) {
  return ClampToInteger(std::strtoll(AText.c_str(), nullptr, 10));
}

}  // namespace

TCustomAVProbe::TCustomAVProbe(TComponent* AOwner) : TFFBaseComponent(AOwner) {
  UpdateFileInfo();
}

TCustomAVProbe::~TCustomAVProbe() {
  CloseFile();
}

bool TCustomAVProbe::AVLibLoaded() const {
  return FFLoader()->Loaded(ProbeLibraries);
}

bool TCustomAVProbe::LoadAVLib(const TPathFileName& APath) {
  FFLoader()->SetLibraryPath(APath);
  const bool result = FFLoader()->Load(ProbeLibraries);
  if (!result) FLastErrMsg = FFLoader()->LastErrMsg();
  return result;
}

void TCustomAVProbe::UnloadAVLib() {
  FFLoader()->Unload(ProbeLibraries);
}

void TCustomAVProbe::CheckLibraries() {
  static const struct {
    TLibrary Lib;
    const char* Message;
  } required[] = {{avCodec, "LibAVCodec not loaded."},
                  {avFormat, "LibAVFormat not loaded."},
                  {avUtil, "LibAVUtil not loaded."},
                  {swScale, "LibSwScale not loaded."}};
  for (const auto& r : required)
    if (!FFLoader()->Loaded(r.Lib)) throw Exception(r.Message);
}

void TCustomAVProbe::LogMessage(Integer AAVLevel, const String& AMessage) {
  GetFFLogger()->Log(this, FromAVLogLevel(AAVLevel), AMessage);
  FLastErrMsg = AMessage;
}

bool TCustomAVProbe::LoadFile(const String& AFileName, const String& AFormatName) {
  CheckLibraries();
  CloseFile();

  const AVInputFormat* format = nullptr;
  if (!AFormatName.empty()) {
    String name;
    Utf8ToSystem(AFormatName, name);
    format = ff::av_find_input_format(name.c_str());
    if (!format) {
      FLastErrMsg = Format("Unknown input format: %s", AFormatName);
      return false;
    }
  }

  AVFormatContext* context = ff::avformat_alloc_context();
  if (!context) {
    LogMessage(AV_LOG_ERROR, FormatAVError(AFileName, AVERROR(ENOMEM)));
    return false;
  }
  FOwnHandle = true;
  context->flags |= AVFMT_FLAG_NONBLOCK;
  const String url = FileNameToURL(AFileName);
  // On failure the context is freed and null.
  const int r = UnicodeOpenInput(&context, url.c_str(), format, nullptr);
  if (r < 0) {
    LogMessage(AV_LOG_ERROR, FormatAVError(AFileName, r));
    CloseFile();
    return false;
  }
  FOwnedInput.reset(context);
  FFileHandle = context;

  int found;
  {
    TCriticalSectionHold hold(CodecLock());
    found = ff::avformat_find_stream_info(FFileHandle, nullptr);
  }
  if (found < 0) {
    FLastErrMsg = Format("%s: could not find codec parameters", AFileName);
    CloseFile();
    return false;
  }
  UpdateFileInfo();
  FForceFormat = AFormatName;
  return true;
}

void TCustomAVProbe::CloseFile() {
  FForceFormat.clear();
  // Only a context the probe opened itself is held, so an adopted one is just forgotten.
  FOwnedInput.reset();
  FFileHandle = nullptr;
  UpdateFileInfo();
}

void TCustomAVProbe::SetFileHandle(AVFormatContext* Value) {
  CheckLibraries();
  CloseFile();
  FOwnHandle = false;
  FFileHandle = Value;
  UpdateFileInfo();
}

void TCustomAVProbe::UpdateFileInfo() {
  FFileSize = -1;
  FStreamCount = FProgramCount = -1;
  FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
  FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
  if (!HasFile()) return;

  // The size the input reports, else the size on disk of the file it names.
  Int64 size = FFileHandle->pb ? ff::avio_size(FFileHandle->pb) : 0;
  if (size <= 0) {
    const Int64 onDisk = GetFileSize(URLToFileName(FFileHandle->url));
    size = onDisk >= 0 ? onDisk : 0;
  }
  FFileSize = size;

  FStreamCount = Integer(FFileHandle->nb_streams);
  FProgramCount = Integer(FFileHandle->nb_programs);
  FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
  for (Integer i = 0; i < FStreamCount; ++i) {
    switch (FFileHandle->streams[i]->codecpar->codec_type) {
      case AVMEDIA_TYPE_VIDEO:
        ++FVideoStreamCount;
        if (FFirstVideoStreamIndex < 0) FFirstVideoStreamIndex = i;
        break;
      case AVMEDIA_TYPE_AUDIO:
        ++FAudioStreamCount;
        if (FFirstAudioStreamIndex < 0) FFirstAudioStreamIndex = i;
        break;
      case AVMEDIA_TYPE_SUBTITLE:
        ++FSubtitleStreamCount;
        if (FFirstSubtitleStreamIndex < 0) FFirstSubtitleStreamIndex = i;
        break;
      default:
        break;
    }
  }
}

String TCustomAVProbe::FileName() {
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return String();
  }
  return URLToFileName(FFileHandle->url);
}

String TCustomAVProbe::FormatName() {
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return String();
  }
  return FFileHandle->iformat ? LibraryText(FFileHandle->iformat->name) : String();
}

String TCustomAVProbe::FormatLongName() {
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return String();
  }
  return FFileHandle->iformat ? LibraryText(FFileHandle->iformat->long_name) : String();
}

bool TCustomAVProbe::IsImageInput() const {
  if (!HasFile() || !FFileHandle->iformat || !FFileHandle->iformat->name) return false;
  String name = FFileHandle->iformat->name;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char ch) { return char(std::tolower(ch)); });
  // Picture files open as "<codec>_pipe" demuxers, numbered sequences as "image2".
  return name == "image2" || name == "image2pipe" ||
         (name.size() > 5 && name.compare(name.size() - 5, 5, "_pipe") == 0);
}

TFileStreamInfo TCustomAVProbe::FileStreamInfo() {
  TFileStreamInfo info;
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return info;
  }
  info.StartTime = FFileHandle->start_time == AV_NOPTS_VALUE ? -1 : FFileHandle->start_time;
  info.Duration = FFileHandle->duration == AV_NOPTS_VALUE ? -1 : FFileHandle->duration;
  info.BitRate = ClampToInteger(FFileHandle->bit_rate);

  // The demuxers keep creation time, year and track as tags only.
  const AVDictionary* m = FFileHandle->metadata;
  info.TimeStamp = 0;
  const String creation = GetMetadataValue(m, "creation_time", "");
  int64_t microseconds = 0;
  if (!creation.empty() && ff::av_parse_time(&microseconds, creation.c_str(), 0) >= 0)
    info.TimeStamp = microseconds / 1000000;
  String year = GetMetadataValue(m, "date", "");
  if (year.empty()) year = GetMetadataValue(m, "year", "");
  info.Year = LeadingNumber(year);
  info.Track = LeadingNumber(GetMetadataValue(m, "track", ""));

  info.Title = GetMetadataValue(m, "title", "");
  // Muxers write the author as "artist".
  info.Author = GetMetadataValue(m, "author", GetMetadataValue(m, "artist", ""));
  info.Copyright = GetMetadataValue(m, "copyright", "");
  info.Comment = GetMetadataValue(m, "comment", "");
  info.Album = GetMetadataValue(m, "album", "");
  info.Genre = GetMetadataValue(m, "genre", "");
  return info;
}

AVStream* TCustomAVProbe::StreamForInfo(Integer AStreamIndex, AVMediaType AType, Integer AFirstIndex) {
  static const char* const names[] = {"video", "audio", "data", "subtitle"};
  const char* name = names[AType];
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return nullptr;
  }
  if (AStreamIndex < 0) {
    if (AFirstIndex < 0) {
      LogMessage(AV_LOG_ERROR, Format("no %s stream.", name));
      return nullptr;
    }
    AStreamIndex = AFirstIndex;
  } else if (AStreamIndex >= FStreamCount) {
    LogMessage(AV_LOG_ERROR, Format("stream index #%d is invalid.", AStreamIndex));
    return nullptr;
  }
  AVStream* st = FFileHandle->streams[AStreamIndex];
  if (st->codecpar->codec_type != AType) {
    LogMessage(AV_LOG_ERROR, Format("stream #%d is not %s stream.", AStreamIndex, name));
    return nullptr;
  }
  return st;
}

namespace {

template <typename TInfo>
void FillNames(TInfo& AInfo, const AVStream* AStream) {
  AInfo.Language = GetMetadataValue(AStream->metadata, "language", "");
  const TCodecContextHolder c = MakeStreamCodecContext(AStream);
  if (c) AInfo.CodecName = CodecNameText(c.get(), false);
}

// What the audio and video records share: language, codec text, start, duration and bit rate.
template <typename TInfo>
void FillMediaStreamInfo(TInfo& AInfo, AVStream* AStream) {
  FillNames(AInfo, AStream);
  AInfo.StartTime = AStream->start_time;
  // A zero denominator would break every rescale; the repair stays with the stream.
  if (AStream->time_base.den == 0) AStream->time_base.den = AStream->time_base.num;
  if (AStream->time_base.den == 0) AStream->time_base.den = 1;
  AInfo.StartTimeScaled = AInfo.StartTime == AV_NOPTS_VALUE
                              ? -1
                              : ff::av_rescale_q(AInfo.StartTime, AStream->time_base, MicrosecondBase);
  AInfo.Duration = AStream->duration;
  AInfo.DurationScaled = AInfo.Duration == AV_NOPTS_VALUE
                             ? -1
                             : ff::av_rescale_q(AInfo.Duration, AStream->time_base, MicrosecondBase);
  AInfo.BitRate = ClampToInteger(AStream->codecpar->bit_rate);
}

}  // namespace

TAudioStreamInfo TCustomAVProbe::GetAudioStreamInfo(Integer AStreamIndex) {
  TAudioStreamInfo info;
  AVStream* st = StreamForInfo(AStreamIndex, AVMEDIA_TYPE_AUDIO, FFirstAudioStreamIndex);
  if (!st) return info;
  FillMediaStreamInfo(info, st);
  const AVCodecParameters* par = st->codecpar;
  info.Channels = par->ch_layout.nb_channels;
  info.SampleRate = par->sample_rate;
  info.SampleFormat = par->format;
  return info;
}

TVideoStreamInfo TCustomAVProbe::GetVideoStreamInfo(Integer AStreamIndex) {
  TVideoStreamInfo info;
  AVStream* st = StreamForInfo(AStreamIndex, AVMEDIA_TYPE_VIDEO, FFirstVideoStreamIndex);
  if (!st) return info;
  FillMediaStreamInfo(info, st);
  const AVCodecParameters* par = st->codecpar;
  info.Height = par->height;
  info.Width = par->width;
  info.AspectRatio = Single(double(par->width) *
                            (double(par->sample_aspect_ratio.num) / double(par->sample_aspect_ratio.den)) /
                            double(par->height));
  info.PixFmt = par->format;
  info.FrameRate = st->r_frame_rate;
  return info;
}

TSubtitleStreamInfo TCustomAVProbe::GetSubtitleStreamInfo(Integer AStreamIndex) {
  TSubtitleStreamInfo info;
  AVStream* st = StreamForInfo(AStreamIndex, AVMEDIA_TYPE_SUBTITLE, FFirstSubtitleStreamIndex);
  if (st) FillNames(info, st);
  return info;
}

bool TCustomAVProbe::IsStreamOfType(Integer AStreamIndex, AVMediaType AType) {
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return false;
  }
  if (AStreamIndex < 0 || AStreamIndex >= FStreamCount) {
    LogMessage(AV_LOG_ERROR, Format("stream index #%d is invalid.", AStreamIndex));
    return false;
  }
  return FFileHandle->streams[AStreamIndex]->codecpar->codec_type == AType;
}

bool TCustomAVProbe::IsAudioStream(Integer AStreamIndex) {
  return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_AUDIO);
}
bool TCustomAVProbe::IsVideoStream(Integer AStreamIndex) {
  return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_VIDEO);
}
bool TCustomAVProbe::IsSubtitleStream(Integer AStreamIndex) {
  return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
}

String TCustomAVProbe::FileInfoText() {
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return String();
  }
  std::vector<String> lines;
  lines.push_back("File Name: " + FileName());
  lines.push_back("Format Name: " + FormatName());
  lines.push_back("Format Long Name: " + FormatLongName());
  lines.push_back("File Size: " + FormatFileSize(FFileSize));

  const TFileStreamInfo info = FileStreamInfo();
  // FileStreamInfo gives -1 for an unknown or negative time.
  if (info.Duration < 0)
    lines.push_back("Duration: N/A");
  else
    lines.push_back("Duration: " + PTSToTimeText(info.Duration));
  if (info.StartTime >= 0) lines.push_back("StartTime: " + SecondsText(info.StartTime));
  lines.push_back(info.BitRate > 0 ? Format("Bit Rate: %d kb/s", info.BitRate / 1000)
                                   : String("Bit Rate: N/A"));
  if (info.TimeStamp > 0)
    lines.push_back("Time Stamp: " +
                    FormatDateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToDateTime(info.TimeStamp)));
  AddMetadataBlock(lines, FFileHandle->metadata, "");

  std::vector<bool> shown(size_t(FStreamCount), false);
  for (unsigned p = 0; p < FFileHandle->nb_programs; ++p) {
    const AVProgram* program = FFileHandle->programs[p];
    // Transport streams name them "service_provider" and "service_name".
    const AVDictionary* m = program->metadata;
    const String provider =
        GetMetadataValue(m, "provider_name", GetMetadataValue(m, "service_provider", "N/A"));
    const String name = GetMetadataValue(m, "name", GetMetadataValue(m, "service_name", "N/A"));
    lines.push_back(Format("Program %d %s@%s", program->id, provider, name));
    AddMetadataBlock(lines, program->metadata, "  ");
    for (unsigned k = 0; k < program->nb_stream_indexes; ++k) {
      const unsigned index = program->stream_index[k];
      if (index >= unsigned(FStreamCount)) continue;
      AddStreamLines(lines, FFileHandle, Integer(index));
      shown[index] = true;
    }
  }
  for (Integer i = 0; i < FStreamCount; ++i)
    if (!shown[size_t(i)]) AddStreamLines(lines, FFileHandle, i);

  String text;
  for (const String& line : lines) text += line + "\r\n";
  return text;
}
