#include "engine/base/ffutils.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpeglogger.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

String PTSToTimeText(Int64 t) {
  if (t == AV_NOPTS_VALUE) return "N/A";
  const Int64 seconds = t / 1000000;
  return Format("%.2d:%.2d:%.2d.%.3d", seconds / 60 / 60, (seconds / 60) % 60, seconds % 60,
                (t % 1000000) * 1000 / 1000000);
}

Int64 GetFrameDuration(AVRational ARate) {
  if (ARate.num == 0 || ARate.den == 0) return 40000;
  return Int64(1000000) * ARate.den / ARate.num;
}

String FormatAVError(const String& AFileName, Integer ACode) {
  const char* text = nullptr;
  switch (ACode) {
    case AVERROR_PATCHWELCOME:
      text = "Not yet implemented in FFmpeg";
      break;
    case AVERROR_PROTOCOL_NOT_FOUND:
    case AVERROR(EPROTONOSUPPORT):
      text = "Unsupported network protocol";
      break;
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR_MUXER_NOT_FOUND:
    case AVERROR(EILSEQ):
      text = "Unknown format";
      break;
    case AVERROR(EDOM):
      text = "Number syntax expected in filename";
      break;
    case AVERROR_EOF:
    case AVERROR(EPIPE):
      text = "End of file";
      break;
    case AVERROR_INVALIDDATA:
    case AVERROR(EINVAL):
      text = "Invalid data found when processing input";
      break;
    case AVERROR(ENOMEM):
      text = "Not enough memory";
      break;
    case AVERROR(EIO):
      text = "I/O error";
      break;
    case AVERROR(ENOENT):
      text = "No such file or directory";
      break;
  }
  if (text) return AFileName + ": " + text;
  return AFileName + ": " + SystemErrorText(ACode);
}

String SystemErrorText(Integer ACode) {
  // A system error code (AVERROR(errno)) says its cause in words; library tags and unknown
  // numbers keep the number.
  if (ACode < 0 && ACode > -4096) {
    char buffer[256];
    const char* words = strerror_r(-ACode, buffer, sizeof buffer);
    if (words && *words && String(words).rfind("Unknown error", 0) != 0) return words;
  }
  return Format("Error number %d occurred", ACode);
}

// ---- option holders ----------------------------------------------------------------------------

void InitFFOptions(TFFOptions& AOptions) {
  AOptions = TFFOptions();
}

void CreateFFOptions(TFFOptions& AOptions, Integer ASwsFlags) {
  for (Integer i = 0; i < 5; ++i) {
    AOptions.avcodec_opts[i].reset(ff::avcodec_alloc_context3(nullptr));
    if (AOptions.avcodec_opts[i]) AOptions.avcodec_opts[i]->codec_type = AVMediaType(i);
  }
  AOptions.avformat_opts.reset(ff::avformat_alloc_context());
  // Only a holder of scaler options: the sizes and formats are placeholders.
  AOptions.sws_opts.reset(ff::sws_getContext(16, 16, AVPixelFormat(0), 16, 16, AVPixelFormat(0), ASwsFlags,
                                             nullptr, nullptr, nullptr));
}

void FreeFFOptions(TFFOptions& AOptions) {
  InitFFOptions(AOptions);
}

namespace {

// Sets AName on one holder when its class knows the name; AFound gets the option.
int SetOnHolder(void* AHolder, const char* AName, const char* AValue, const AVOption*& AFound) {
  if (!AHolder) return 0;
  AFound = ff::av_opt_find(AHolder, AName, nullptr, 0, 0);
  if (!AFound) return 0;
  return ff::av_opt_set(AHolder, AName, AValue, 0);
}

}  // namespace

bool SetFFOption(TFFOptions& AOptions, const char* AName, const char* AValue) {
  if (!AName || !AValue || Trim(AName).empty() || Trim(AValue).empty()) return false;

  // Media-type masks: video parameter, audio parameter, none, subtitle parameter, none. A mask of 0
  // matches on the name alone, so codec options reach the data and attachment holders too.
  static const int masks[5] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                               AV_OPT_FLAG_SUBTITLE_PARAM, 0};
  const AVOption* o = nullptr;
  int ret = 0;
  for (Integer t = 0; t < 5; ++t) {
    if (!AOptions.avcodec_opts[0] ||
        !ff::av_opt_find(AOptions.avcodec_opts[0].get(), AName, nullptr, masks[t], 0))
      continue;
    const AVOption* found = nullptr;
    ret = SetOnHolder(AOptions.avcodec_opts[t].get(), AName, AValue, found);
    if (found) o = found;
    if (ret < 0) break;
  }
  if (!o) ret = SetOnHolder(AOptions.avformat_opts.get(), AName, AValue, o);
  if (!o) ret = SetOnHolder(AOptions.sws_opts.get(), AName, AValue, o);
  if (!o && (AName[0] == 'a' || AName[0] == 'v' || AName[0] == 's')) {
    const Integer type = AName[0] == 'a' ? 1 : AName[0] == 'v' ? 0 : 3;
    ret = SetOnHolder(AOptions.avcodec_opts[type].get(), AName + 1, AValue, o);
  }
  if (o && ret < 0) {
    ff::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", AValue, AName);
    return false;
  }
  if (!o) return false;

  auto* names = static_cast<const char**>(
      ff::av_realloc(AOptions.opt_names.get(), sizeof(const char*) * size_t(AOptions.opt_name_count + 1)));
  if (!names) return false;
  (void)AOptions.opt_names.release();  // moved by the reallocation
  AOptions.opt_names.reset(names);
  AOptions.opt_names.get()[AOptions.opt_name_count++] = o->name;

  if ((AOptions.avcodec_opts[0] && AOptions.avcodec_opts[0]->debug) ||
      (AOptions.avformat_opts && AOptions.avformat_opts->debug))
    GetFFLogger()->SetLogLevel(llDebug);
  return true;
}

void ApplyFFOptions(const TFFOptions& AOptions, void* ATarget, void* ASource, Integer AFlags) {
  if (!ATarget || !ASource) return;
  for (Integer i = 0; i < AOptions.opt_name_count; ++i) {
    const char* name = AOptions.opt_names.get()[i];
    const AVOption* opt = ff::av_opt_find(ASource, name, nullptr, 0, 0);
    if (!opt) continue;
    uint8_t* value = nullptr;
    if (ff::av_opt_get(ASource, name, 0, &value) < 0 || !value) continue;
    if ((opt->flags & AFlags) == AFlags)
      ff::av_opt_set(ATarget, name, reinterpret_cast<const char*>(value), 0);
    ff::av_free(value);
  }
}

Integer ReadFileToBuffer(const char* AFileName, uint8_t*& ABuffer, Integer& ASize) {
  // A folder opens as a stream here but has no content to read.
  if (DirectoryExists(AFileName)) return -1;
  FILE* f = ff::fopen(AFileName, "rb");
  if (!f) return -1;
  ff::fseek(f, 0, SEEK_END);
  const long size = ff::ftell(f);
  ff::fseek(f, 0, SEEK_SET);
  // A file that cannot be sized (a folder, a pipe) would otherwise ask fread for a negative count.
  if (size < 0) {
    ff::fclose(f);
    return -1;
  }
  if (size >= INT_MAX) {
    ff::fclose(f);
    return AVERROR(ENOMEM);
  }
  auto* buffer = static_cast<uint8_t*>(ff::av_malloc(size_t(size) + 1));
  if (!buffer) {
    ff::fclose(f);
    return AVERROR(ENOMEM);
  }
  const size_t n = ff::fread(buffer, 1, size_t(size), f);
  buffer[n] = 0;
  ABuffer = buffer;
  ASize = Integer(n) + 1;
  ff::fclose(f);
  return 0;
}

// ---- texts -------------------------------------------------------------------------------------

String LibraryText(const char* AText) {
  if (!AText) return String();
  const String text(AText);
  // FFmpeg hands its texts and metadata in UTF-8; one that is not UTF-8 came in the system code page.
  if (Utf16ToUtf8(Utf8ToUtf16(text)) == text) return text;
  String utf8;
  SystemToUtf8(text, utf8);
  return utf8;
}

String GetMetadataValue(const AVDictionary* ADictionary, const char* AKey, const String& ADefault) {
  const AVDictionaryEntry* entry = ff::av_dict_get(ADictionary, AKey, nullptr, 0);
  if (!entry || !entry->value) return ADefault;
  return LibraryText(entry->value);
}

String CodecNameText(const AVCodecContext* ACodecContext, bool AEncoder) {
  const AVCodec* codec = AEncoder ? ff::avcodec_find_encoder(ACodecContext->codec_id)
                                  : ff::avcodec_find_decoder(ACodecContext->codec_id);
  if (codec) {
    const String longName = codec->long_name ? Trim(codec->long_name) : String();
    if (!longName.empty()) return Format("%s(%s)", codec->name, longName);
    return codec->name;
  }
  if (ACodecContext->codec_id == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
  // 5.1 keeps no codec name in the context; the codec id's descriptor names it.
  if (const AVCodecDescriptor* descriptor = ff::avcodec_descriptor_get(ACodecContext->codec_id))
    if (descriptor->name && !Trim(descriptor->name).empty()) return Trim(descriptor->name);
  const unsigned tag = ACodecContext->codec_tag;
  const char c[4] = {char(tag & 0xFF), char((tag >> 8) & 0xFF), char((tag >> 16) & 0xFF),
                     char((tag >> 24) & 0xFF)};
  bool printable = true;
  for (char ch : c) printable = printable && Byte(ch) >= 32 && Byte(ch) <= 126;
  if (printable) return Format("%s%s%s%s / 0x%.4X", c[0], c[1], c[2], c[3], Cardinal(tag));
  return Format("0x%.4x", Cardinal(tag));
}

String MediaTypeText(Integer AType) {
  switch (AType) {
    case 0:
      return "Video";
    case 1:
      return "Audio";
    case 2:
      return "Data";
    case 3:
      return "Subtitle";
    case 4:
      return "Attachment";
    default:
      return "Unknown";
  }
}
