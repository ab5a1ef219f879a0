#include "engine/transcoder/optiondispatch.h"

#include <cstring>
#include <unordered_map>

#include "engine/base/avstubs.h"
#include "engine/transcoder/optiontranslation.h"
#include "engine/transcoder/transcoder.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

namespace {

// One option of the dispatcher: the name as given, the value as given and its copy in the system
// code page.
using TOptionHandler = void (*)(TCustomFFmpeg& F, const String& AName, const String& AValue,
                                const String& ABytes);

bool BoolValue(const String& AValue) {
  return AValue != "0";
}

struct TOptionEntry {
  const char* Name;
  TOptionHandler Handler;
};

void DoNothing(TCustomFFmpeg& F, const String& AName, const String&, const String&) {
  GetFFLogger()->Log(&F, llInfo, "Do nothing: option - " + AName);
}

#define OPT(name, body)                                                                                   \
  {                                                                                                       \
    name, [](TCustomFFmpeg& F, const String& AName, const String& AValue, const String& ABytes) { body; } \
  }

// Silences the unused-parameter warnings of handlers that read only some of their arguments.
#define USE_ALL (void)F, (void)AName, (void)AValue, (void)ABytes

const TOptionEntry OptionTable[] = {
    // without effect
    {"L", DoNothing},
    {"h", DoNothing},
    {"version", DoNothing},
    {"formats", DoNothing},
    {"codecs", DoNothing},
    {"bsfs", DoNothing},
    {"protocols", DoNothing},
    {"filters", DoNothing},
    {"i", DoNothing},
    {"y", DoNothing},
    {"benchmark", DoNothing},
    // refused or only warned about
    OPT("threads", USE_ALL; throw FFmpegException("TODO: option - " + AName)),
    OPT("padtop", USE_ALL; throw FFmpegException("Please use vfilters=pad")),
    OPT("padbottom", USE_ALL; throw FFmpegException("Please use vfilters=pad")),
    OPT("padleft", USE_ALL; throw FFmpegException("Please use vfilters=pad")),
    OPT("padright", USE_ALL; throw FFmpegException("Please use vfilters=pad")),
    OPT("padcolor", USE_ALL; throw FFmpegException("Please use vfilters=pad")),
    OPT("timelimit", USE_ALL;
        GetFFLogger()->Log(&F, llWarning, "Warning: -timelimit not implemented on Windows")),
    // Boolean fields
    OPT("dump", USE_ALL; F.Pending().do_pkt_dump = BoolValue(AValue)),
    OPT("hex", USE_ALL; F.Pending().do_hex_dump = BoolValue(AValue)),
    OPT("re", USE_ALL; F.Pending().rate_emu = BoolValue(AValue)),
    OPT("loop_input", USE_ALL; F.Pending().loop_input = BoolValue(AValue)),
    OPT("shortest", USE_ALL; F.Pending().opt_shortest = BoolValue(AValue)),
    OPT("intra", USE_ALL; F.Pending().intra_only = BoolValue(AValue)),
    OPT("vn", USE_ALL; F.Pending().video_disable = BoolValue(AValue)),
    OPT("deinterlace", USE_ALL; F.Pending().do_deinterlace = BoolValue(AValue)),
    OPT("psnr", USE_ALL; F.Pending().do_psnr = BoolValue(AValue)),
    OPT("qphist", USE_ALL; F.Pending().qp_hist = BoolValue(AValue)),
    OPT("force_fps", USE_ALL; F.Pending().force_fps = BoolValue(AValue)),
    OPT("an", USE_ALL; F.Pending().audio_disable = BoolValue(AValue)),
    OPT("sn", USE_ALL; F.Pending().subtitle_disable = BoolValue(AValue)),
    OPT("isync", USE_ALL; F.Pending().input_sync = BoolValue(AValue)),
    OPT("sameq", USE_ALL; F.Pending().same_quality = BoolValue(AValue)),
    OPT("copyts", USE_ALL; F.Pending().copy_ts = true),
    OPT("xerror", USE_ALL; F.Pending().exit_on_error = true),
    // integer fields
    OPT("vframes", USE_ALL; F.Pending().max_frames[mtVideo] = StrToInt(AValue)),
    OPT("aframes", USE_ALL; F.Pending().max_frames[mtAudio] = StrToInt(AValue)),
    OPT("dframes", USE_ALL; F.Pending().max_frames[mtData] = StrToInt(AValue)),
    OPT("loop_output", USE_ALL; F.Pending().loop_output = StrToInt(AValue)),
    OPT("v", USE_ALL; F.Pending().verbose = StrToInt(AValue)),
    OPT("vsync", USE_ALL; F.Pending().video_sync_method = StrToInt(AValue)),
    OPT("async", USE_ALL; F.Pending().audio_sync_method = StrToInt(AValue)),
    OPT("vol", USE_ALL; F.Pending().audio_volume = StrToInt(AValue)),
    OPT("vglobal", USE_ALL; F.Pending().video_global_header = StrToInt(AValue)),
    OPT("programid", USE_ALL; F.Pending().opt_programid = StrToInt(AValue)),
    OPT("copyinkf", USE_ALL; F.Pending().copy_initial_nonkeyframes = StrToInt(AValue)),
    OPT("vdt", USE_ALL; F.Pending().video_discard = StrToInt(AValue)),
    OPT("me_threshold", USE_ALL; F.Pending().me_threshold = StrToInt(AValue)),
    OPT("dc", USE_ALL; F.Pending().intra_dc_precision = StrToInt(AValue)),
    OPT("top", USE_ALL; F.Pending().top_field_first = StrToInt(AValue)),
    OPT("vc", USE_ALL; F.Pending().video_channel = StrToInt(AValue)),
    OPT("fs", USE_ALL; F.Pending().limit_filesize = StrToInt64(AValue)),
    // real fields
    OPT("adrift_threshold", USE_ALL; F.Pending().audio_drift_threshold = Single(StrToFloat(AValue))),
    OPT("dts_delta_threshold", USE_ALL; F.Pending().dts_delta_threshold = Single(StrToFloat(AValue))),
    OPT("aq", USE_ALL; F.Pending().audio_qscale = Single(StrToFloat(AValue))),
    OPT("muxdelay", USE_ALL; F.Pending().mux_max_delay = Single(StrToFloat(AValue))),
    OPT("muxpreload", USE_ALL; F.Pending().mux_preload = Single(StrToFloat(AValue))),
    // text fields
    OPT("passlogfile", USE_ALL; F.Pending().pass_logfilename_prefix = ABytes),
    OPT("vlang", USE_ALL; F.Pending().video_language = AValue),
    OPT("alang", USE_ALL; F.Pending().audio_language = AValue),
    OPT("slang", USE_ALL; F.Pending().subtitle_language = AValue),
    // setters
    OPT("loglevel", USE_ALL; GetFFLogger()->OptLogLevel(AValue)),
    OPT("f", USE_ALL; F.SetFormat(AValue)),
    OPT("map", USE_ALL; F.AddStreamMap(ABytes.c_str())),
    OPT("map_meta_data", USE_ALL; F.AddMetadataMap(ABytes.c_str())),
    OPT("t", USE_ALL; F.SetRecordingTimeText(AName.c_str(), ABytes.c_str())),
    OPT("ss", USE_ALL; F.SetStartTimeText(AName.c_str(), ABytes.c_str())),
    OPT("itsoffset", USE_ALL; F.SetInputTsOffsetText(AName.c_str(), ABytes.c_str())),
    OPT("itsscale", USE_ALL; F.SetInputTsScale(ABytes.c_str())),
    OPT("timestamp", USE_ALL; F.SetRecordingTimestampText(AName.c_str(), ABytes.c_str())),
    OPT("metadata", USE_ALL; F.AddMetadata(ABytes.c_str())),
    OPT("target", USE_ALL; F.SetTargetText(ABytes.c_str())),
    OPT("b", USE_ALL; F.SetBitrate(AName, AValue)),
    OPT("vb", USE_ALL; F.SetBitrate(AName, AValue)),
    OPT("ab", USE_ALL; F.SetBitrate(AName, AValue)),
    OPT("r", USE_ALL; F.SetFrameRate(AValue)),
    OPT("s", USE_ALL; F.SetFrameSize(AValue)),
    OPT("aspect", USE_ALL; F.SetAspectRatio(AValue)),
    OPT("pix_fmt", USE_ALL; F.SetPixelFormat(ABytes.c_str())),
    OPT("croptop", USE_ALL; F.SetCropTop(StrToInt(AValue))),
    OPT("cropbottom", USE_ALL; F.SetCropBottom(StrToInt(AValue))),
    OPT("cropleft", USE_ALL; F.SetCropLeft(StrToInt(AValue))),
    OPT("cropright", USE_ALL; F.SetCropRight(StrToInt(AValue))),
    OPT("qscale", USE_ALL; F.SetVideoQScale(Single(StrToFloat(AValue)))),
    OPT("rc_override", USE_ALL; F.SetRcOverride(ABytes.c_str())),
    OPT("vcodec", USE_ALL; F.SetVideoCodec(AValue)),
    OPT("acodec", USE_ALL; F.SetAudioCodec(AValue)),
    OPT("scodec", USE_ALL; F.SetSubtitleCodec(AValue)),
    OPT("pass", USE_ALL; F.SetPass(StrToInt(AValue))),
    OPT("vstats", USE_ALL; F.SetVStats(true)),
    OPT("vstats_file", USE_ALL; F.SetVStatsFile(ABytes.c_str())),
    OPT("vhook", USE_ALL; F.AddVideoHook(ABytes.c_str())),
    OPT("vfilters", USE_ALL; F.SetVideoFilters(AValue)),
    OPT("vf", USE_ALL; F.SetVideoFilters(AValue)),
    OPT("intra_matrix", USE_ALL; F.SetIntraMatrix(ABytes.c_str())),
    OPT("inter_matrix", USE_ALL; F.SetInterMatrix(ABytes.c_str())),
    OPT("vtag", USE_ALL; F.SetVideoTag(AValue)),
    OPT("atag", USE_ALL; F.SetAudioTag(AValue)),
    OPT("stag", USE_ALL; F.SetSubtitleTag(AValue)),
    OPT("newvideo", USE_ALL; F.AddStreamToLastOutput(mtVideo)),
    OPT("newaudio", USE_ALL; F.AddStreamToLastOutput(mtAudio)),
    OPT("newsubtitle", USE_ALL; F.AddStreamToLastOutput(mtSubtitle)),
    OPT("streamid", USE_ALL; F.SetStreamId(AName, AValue)),
    OPT("ar", USE_ALL; F.SetAudioSampleRate(StrToInt(AValue))),
    OPT("ac", USE_ALL; F.SetAudioChannels(StrToInt(AValue))),
    OPT("sample_fmt", USE_ALL; F.SetSampleFormat(ABytes.c_str())),
    OPT("tvstd", USE_ALL; F.SetVideoStandard(ABytes.c_str())),
    OPT("absf", USE_ALL; F.AddBitstreamFilter(AName, AValue)),
    OPT("vbsf", USE_ALL; F.AddBitstreamFilter(AName, AValue)),
    OPT("sbsf", USE_ALL; F.AddBitstreamFilter(AName, AValue)),
    OPT("apre", USE_ALL; F.ApplyPreset(AName, AValue)),
    OPT("vpre", USE_ALL; F.ApplyPreset(AName, AValue)),
    OPT("spre", USE_ALL; F.ApplyPreset(AName, AValue)),
    OPT("fpre", USE_ALL; F.ApplyPreset(AName, AValue)),
};

#undef OPT
#undef USE_ALL

const std::unordered_map<String, TOptionHandler>& OptionHandlers() {
  static const std::unordered_map<String, TOptionHandler> handlers = [] {
    std::unordered_map<String, TOptionHandler> m;
    for (const TOptionEntry& e : OptionTable) m.emplace(e.Name, e.Handler);
    return m;
  }();
  return handlers;
}

String ToSystemBytes(const String& AText) {
  String bytes;
  Utf8ToSystem(AText, bytes);
  return bytes;
}

// Whether a name is a constant of the generic flags option AOption.
bool IsGenericFlag(const TFFOptions& AOptions, const String& AOption, const String& AFlag) {
  AVCodecContext* holder = AOptions.avcodec_opts[mtVideo].get();
  if (!holder) return false;
  const AVOption* option = ff::av_opt_find(holder, AOption.c_str(), nullptr, 0, 0);
  if (!option || !option->unit) return false;
  const AVOption* flag = ff::av_opt_find(holder, AFlag.c_str(), option->unit, 0, 0);
  return flag && flag->type == AV_OPT_TYPE_CONST;
}

bool ClassKnows(const AVClass* AClass, const char* AName) {
  if (!AClass) return false;
  const AVClass* cls = AClass;
  const AVOption* o = ff::av_opt_find(&cls, AName, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ);
  return o && o->type != AV_OPT_TYPE_CONST;
}

// The value an encoder's private option takes, tried on a context of that encoder.
bool EncoderAccepts(const AVCodec* ACodec, const char* AName, const char* AValue) {
  TCodecContextHolder c(ff::avcodec_alloc_context3(ACodec));
  if (!c || !c->priv_data) return false;
  return ff::av_opt_set(c->priv_data, AName, AValue, 0) >= 0;
}

bool MuxerAccepts(const AVOutputFormat* AFormat, const char* AName, const char* AValue) {
  AVFormatContext* oc = nullptr;
  if (ff::avformat_alloc_output_context2(&oc, AFormat, nullptr, nullptr) < 0 || !oc) return false;
  TFormatContextHolder holder(oc);
  return oc->priv_data && ff::av_opt_set(oc->priv_data, AName, AValue, 0) >= 0;
}

void LogInvalidValue(const char* AName, const char* AValue) {
  ff::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", AValue, AName);
}

// Encoders this FFmpeg lacks and the ones that stand in for them.
struct TEncoderStandIn {
  const char* Missing;
  const char* StandIn;
};
const TEncoderStandIn EncoderStandIns[] = {{"libfaac", "aac"}};

}  // namespace

const std::vector<String>& DispatcherOptionNames() {
  static const std::vector<String> names = [] {
    std::vector<String> v;
    for (const TOptionEntry& e : OptionTable) v.push_back(e.Name);
    return v;
  }();
  return names;
}

void TCustomFFmpeg::SetOption(const String& AName, const String& AValue) {
  const String bytes = ToSystemBytes(AValue);
  const auto& handlers = OptionHandlers();
  const auto it = handlers.find(AName);
  if (it != handlers.end()) {
    it->second(*this, AName, AValue, bytes);
    return;
  }
  SetDefaultOption(ToSystemBytes(AName).c_str(), bytes.c_str());
}

TDictionary& TCustomFFmpeg::CodecOptionsOf(Integer AType) {
  if (AType == mtAudio) return FPending.AudioCodecOptions;
  if (AType == mtSubtitle) return FPending.SubtitleCodecOptions;
  return FPending.VideoCodecOptions;
}

bool TCustomFFmpeg::SetDefaultOption(const char* AName, const char* AValue) {
  if (!AName || !AValue || Trim(AName).empty() || Trim(AValue).empty()) return false;

  std::vector<TTranslatedOption> translated;
  const TTranslateResult tr = TranslateOldOption(
      AName, AValue, [this](const String& o, const String& f) { return IsGenericFlag(FOptions, o, f); },
      translated);
  if (tr == trRefused) return false;
  if (tr == trTranslated) {
    for (const TTranslatedOption& t : translated) {
      if (t.Generic) {
        if (!SetFFOption(FOptions, t.Name.c_str(), t.Value.c_str())) return false;
        continue;
      }
      // The private options of the old names belong to the H.264 encoder (and the MPEG ones for
      // their scan offset); where that encoder is present its own check judges the value.
      const AVCodec* x264 =
          ff::avcodec_find_encoder_by_name(t.Name == "scan_offset" ? "mpeg2video" : "libx264");
      if (x264 && !EncoderAccepts(x264, t.Name.c_str(), t.Value.c_str())) {
        LogInvalidValue(AName, AValue);
        return false;
      }
      FPending.VideoCodecOptions.Set(t.Name.c_str(), t.Value.c_str());
    }
    return true;
  }
  if (SetFFOption(FOptions, AName, AValue)) return true;
  return SetPrivateOption(AName, AValue);
}

bool TCustomFFmpeg::SetPrivateOption(const char* AName, const char* AValue) {
  // The encoders named so far, then the format asked for, then every encoder and muxer.
  const std::pair<const std::optional<String>*, Integer> pending[] = {
      {&FPending.video_codec_name, mtVideo},
      {&FPending.audio_codec_name, mtAudio},
      {&FPending.subtitle_codec_name, mtSubtitle}};
  for (const auto& [name, type] : pending) {
    if (!*name) continue;
    const AVCodec* codec = FindEncoderByName((*name)->c_str());
    if (!codec || !ClassKnows(codec->priv_class, AName)) continue;
    if (!EncoderAccepts(codec, AName, AValue)) {
      LogInvalidValue(AName, AValue);
      return false;
    }
    CodecOptionsOf(type).Set(AName, AValue);
    return true;
  }
  if (!FPending.last_asked_format.empty()) {
    const String format = ToSystemBytes(FPending.last_asked_format);
    const AVOutputFormat* muxer = ff::av_guess_format(format.c_str(), nullptr, nullptr);
    if (muxer && ClassKnows(muxer->priv_class, AName)) {
      if (!MuxerAccepts(muxer, AName, AValue)) {
        LogInvalidValue(AName, AValue);
        return false;
      }
      FPending.MuxerOptions.Set(AName, AValue);
      return true;
    }
    const AVInputFormat* demuxer = ff::av_find_input_format(format.c_str());
    if (demuxer && ClassKnows(demuxer->priv_class, AName)) {
      // The demuxer judges the value when the input opens.
      FPending.DemuxerOptions.Set(AName, AValue);
      return true;
    }
  }
  void* iter = nullptr;
  while (const AVCodec* codec = ff::av_codec_iterate(&iter)) {
    if (!ff::av_codec_is_encoder(codec) || !ClassKnows(codec->priv_class, AName)) continue;
    if (!EncoderAccepts(codec, AName, AValue)) {
      LogInvalidValue(AName, AValue);
      return false;
    }
    CodecOptionsOf(codec->type).Set(AName, AValue);
    return true;
  }
  iter = nullptr;
  while (const AVOutputFormat* muxer = ff::av_muxer_iterate(&iter)) {
    if (!ClassKnows(muxer->priv_class, AName)) continue;
    if (!MuxerAccepts(muxer, AName, AValue)) {
      LogInvalidValue(AName, AValue);
      return false;
    }
    FPending.MuxerOptions.Set(AName, AValue);
    return true;
  }
  return false;
}

bool TCustomFFmpeg::SetDefaultOptionInt(const char* AName, Integer AValue) {
  return SetDefaultOption(AName, IntToStr(AValue).c_str());
}

const AVCodec* TCustomFFmpeg::FindEncoderByName(const char* AName, String* AUsedName) {
  if (AUsedName) *AUsedName = AName;
  const AVCodec* codec = ff::avcodec_find_encoder_by_name(AName);
  if (codec) return codec;
  for (const TEncoderStandIn& s : EncoderStandIns) {
    if (std::strcmp(AName, s.Missing) != 0) continue;
    codec = ff::avcodec_find_encoder_by_name(s.StandIn);
    if (codec && AUsedName) *AUsedName = s.StandIn;
    return codec;
  }
  return nullptr;
}

bool TCustomFFmpeg::FindCodec(const char* AName, Integer AType, AVCodecID& ACodecId, Integer AStrict,
                              bool AEncoder) {
  if (!AName || !*AName) {
    ACodecId = AV_CODEC_ID_NONE;
    return true;
  }
  const char* kind = AEncoder ? "encoder" : "decoder";
  String used = AName;
  const AVCodec* codec = AEncoder ? FindEncoderByName(AName, &used) : ff::avcodec_find_decoder_by_name(AName);
  if (!codec) {
    FLastErrMsg = Format("Unknown %s '%s'", kind, AName);
    return false;
  }
  if (used != AName)
    GetFFLogger()->Log(this, llInfo, "%s '%s' is not available, using '%s'", kind, AName, used);
  if (codec->type != AType) {
    FLastErrMsg = Format("Invalid %s type '%s'", kind, AName);
    return false;
  }
  if ((codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) && AStrict > FF_COMPLIANCE_EXPERIMENTAL) {
    FLastErrMsg = Format(
        "%s '%s' is experimental and might produce bad results.\r\nAdd '-strict experimental' if you want "
        "to use it.",
        kind, codec->name);
    const AVCodec* other =
        AEncoder ? ff::avcodec_find_encoder(codec->id) : ff::avcodec_find_decoder(codec->id);
    if (other && !(other->capabilities & AV_CODEC_CAP_EXPERIMENTAL))
      FLastErrMsg += "\r\n" + Format("Or use the non experimental %s '%s'.", kind, other->name);
    return false;
  }
  ACodecId = codec->id;
  return true;
}

void TCustomFFmpeg::AddStreamToLastOutput(Integer AType) {
  if (Foutput_files.empty()) throw FFmpegException("At least one output file must be specified");
  TOpenedOutput& output = *Foutput_files.back();
  if (AType == mtVideo)
    new_video_stream(output);
  else if (AType == mtAudio)
    new_audio_stream(output);
  else
    new_subtitle_stream(output);
}
