#include <cmath>
#include <cstring>

#include "engine/transcoder/transcoder.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

const char* const TargetFrameRates[3] = {"25", "30000/1001", "24000/1001"};

namespace {

enum TNorm { nPAL, nNTSC, nFilm, nUndecided };

TNorm NormOfRate(Int64 AMilliFps) {
  if (AMilliFps == 25000) return nPAL;
  if (AMilliFps == 29970 || AMilliFps == 23976) return nNTSC;
  return nUndecided;
}

}  // namespace

void TCustomFFmpeg::SetTarget(const String& ATarget, const String& ANorm, const String& ADefaultNorm) {
  TNorm norm = nUndecided;
  if (ANorm == "pal")
    norm = nPAL;
  else if (ANorm == "ntsc")
    norm = nNTSC;
  else if (ANorm == "film")
    norm = nFilm;
  if (norm == nUndecided) {
    if (FPending.frame_rate.den == 0) throw FFmpegException("frame_rate is invalid.");
    norm = NormOfRate(Round(Extended(FPending.frame_rate.num) * 1000 / FPending.frame_rate.den));
    for (size_t j = 0; norm == nUndecided && j < Finput_files.size(); ++j) {
      const TOpenedInput& input = *Finput_files[j];
      for (const TCodecContextHolder& c : input.codecs) {
        if (c->codec_type != AVMEDIA_TYPE_VIDEO || c->time_base.num == 0) continue;
        norm = NormOfRate(Round(Extended(c->time_base.den) * 1000 / c->time_base.num));
        if (norm != nUndecided) break;
      }
    }
    if (norm == nUndecided) norm = ADefaultNorm == "film" ? nFilm : ADefaultNorm == "ntsc" ? nNTSC : nPAL;
    if (FPending.verbose > 0)
      GetFFLogger()->Log(this, llVerbose, "Assuming %s for target.", norm == nPAL ? "PAL" : "NTSC");
  }
  SetTargetDirect(ATarget, norm);
}

namespace {

// The disc targets differ only in their values; a null text is an option the target leaves alone.
struct TDiscTarget {
  const char* Name;
  const char* VideoCodec;
  const char* AudioCodec;
  const char* PalSize;
  const char* NtscSize;
  const char* VideoBitrate;
  const char* MaxRate;
  const char* MinRate;
  const char* BufSize;
  const char* Flags;
  const char* AudioBitrate;
  Integer SampleRate;
  bool AlwaysStereo;  // else only mono becomes stereo
  const char* PacketSize;
  const char* MuxRate;
  Single MuxPreload;   // negative: left alone
  const char* Aspect;  // assumed when none was given
  bool WideToo;        // 16:9 is a display aspect of the standard too (else only 4:3)
};

const TDiscTarget DiscTargets[] = {
    {"vcd", "mpeg1video", "mp2", "352x288", "352x240", "1150000", "1150000", "1150000", "327680", nullptr,
     "224000", 44100, true, "2324", "1411200", 0.44f, "4:3", false},
    {"svcd", "mpeg2video", "mp2", "480x576", "480x480", "2040000", "2516000", "0", "1835008", "+scan_offset",
     "224000", 44100, false, "2324", nullptr, -1.0f, "4:3", true},
    {"dvd", "mpeg2video", "ac3", "720x576", "720x480", "6000000", "9000000", "0", "1835008", nullptr,
     "448000", 48000, false, "2048", "10080000", -1.0f, "16:9", true},
};

// The standard's display aspect for ARatio: 4:3, or 16:9 where the standard has it and ARatio lies
// nearer to it (the midpoint is 1.5555…).
const char* StandardAspect(const TDiscTarget& ATarget, Single ARatio) {
  return ATarget.WideToo && ARatio * 9 > 14 ? "16:9" : "4:3";
}

bool IsAspect(Single ARatio, const char* AAspect) {
  const Single value = std::strcmp(AAspect, "16:9") == 0 ? 16.0f / 9 : 4.0f / 3;
  return std::fabs(ARatio - value) < 0.001f;
}

}  // namespace

void TCustomFFmpeg::SetTargetDirect(const String& ATarget, Integer ANorm) {
  const bool pal = ANorm == nPAL;
  const char* rate = TargetFrameRates[ANorm];
  for (const TDiscTarget& t : DiscTargets) {
    if (ATarget != t.Name) continue;
    SetFormat(t.Name);
    SetVideoCodec(t.VideoCodec);
    SetAudioCodec(t.AudioCodec);
    SetFrameSize(pal ? t.PalSize : t.NtscSize);
    SetFrameRate(rate);
    SetDefaultOption("g", pal ? "15" : "18");
    SetDefaultOption("b", t.VideoBitrate);
    SetDefaultOption("maxrate", t.MaxRate);
    SetDefaultOption("minrate", t.MinRate);
    SetDefaultOption("bufsize", t.BufSize);
    if (t.Flags) SetDefaultOption("flags", t.Flags);
    SetDefaultOption("ab", t.AudioBitrate);
    FPending.audio_sample_rate = t.SampleRate;
    if (t.AlwaysStereo || FPending.audio_channels == 1) FPending.audio_channels = 2;
    SetDefaultOption("packetsize", t.PacketSize);
    if (t.MuxRate) SetDefaultOption("muxrate", t.MuxRate);
    if (t.MuxPreload >= 0) FPending.mux_preload = t.MuxPreload;
    if (FPending.frame_aspect_ratio == 0) {
      GetFFLogger()->Log(this, llInfo, String("Assuming ") + t.Aspect + " for aspect ratio");
      SetAspectRatio(t.Aspect);
    } else if (const char* aspect = StandardAspect(t, FPending.frame_aspect_ratio);
               !IsAspect(FPending.frame_aspect_ratio, aspect)) {
      // The input's own display aspect (a wide picture on a 4:3-only standard) would be flagged as
      // a ratio no player of the disc knows.
      GetFFLogger()->Log(this, llInfo, String("Using the standard's ") + aspect + " for aspect ratio");
      SetAspectRatio(aspect);
    }
    return;
  }
  if (ATarget == "dv" || ATarget == "dv50") {
    SetFormat("dv");
    SetFrameSize(pal ? "720x576" : "720x480");
    SetPixelFormat(ATarget == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
    SetFrameRate(rate);
    FPending.audio_sample_rate = 48000;
    FPending.audio_channels = 2;
  } else {
    throw FFmpegException("Unknown target type");
  }
}

void TCustomFFmpeg::SetTargetText(const char* AValue) {
  String target = Trim(AValue);
  String norm = "auto";
  for (const char* prefix : {"pal-", "ntsc-", "film-"}) {
    const String p = prefix;
    if (target.compare(0, p.size(), p) == 0) {
      norm = p.substr(0, p.size() - 1);
      target.erase(0, p.size());
      break;
    }
  }
  SetTarget(target, norm, "ntsc");
}
