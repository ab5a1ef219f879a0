#include <cmath>

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
    if (Fframe_rate.den == 0) throw FFmpegException("frame_rate is invalid.");
    norm = NormOfRate(Round(Extended(Fframe_rate.num) * 1000 / Fframe_rate.den));
    for (size_t j = 0; norm == nUndecided && j < Finput_files.size(); ++j) {
      const TOpenedInput& input = *Finput_files[j];
      for (const TCodecContextHolder& c : input.codecs) {
        if (c->codec_type != AVMEDIA_TYPE_VIDEO || c->time_base.num == 0) continue;
        norm = NormOfRate(Round(Extended(c->time_base.den) * 1000 / c->time_base.num));
        if (norm != nUndecided) break;
      }
    }
    if (norm == nUndecided) norm = ADefaultNorm == "film" ? nFilm : ADefaultNorm == "ntsc" ? nNTSC : nPAL;
    if (Fverbose > 0)
      GetFFLogger()->Log(this, llVerbose, "Assuming %s for target.", norm == nPAL ? "PAL" : "NTSC");
  }
  SetTargetDirect(ATarget, norm);
}

void TCustomFFmpeg::SetTargetDirect(const String& ATarget, Integer ANorm) {
  const bool pal = ANorm == nPAL;
  const char* rate = TargetFrameRates[ANorm];
  auto assumeAspect = [this](const char* AAspect, const char* AMessage) {
    if (Fframe_aspect_ratio != 0) return;
    GetFFLogger()->Log(this, llInfo, AMessage);
    SetAspectRatio(AAspect);
  };
  if (ATarget == "vcd") {
    SetFormat("vcd");
    SetVideoCodec("mpeg1video");
    SetAudioCodec("mp2");
    SetFrameSize(pal ? "352x288" : "352x240");
    SetFrameRate(rate);
    SetDefaultOption("g", pal ? "15" : "18");
    SetDefaultOption("b", "1150000");
    SetDefaultOption("maxrate", "1150000");
    SetDefaultOption("minrate", "1150000");
    SetDefaultOption("bufsize", "327680");
    SetDefaultOption("ab", "224000");
    Faudio_sample_rate = 44100;
    Faudio_channels = 2;
    SetDefaultOption("packetsize", "2324");
    SetDefaultOption("muxrate", "1411200");
    Fmux_preload = 0.44f;
    assumeAspect("4:3", "Assuming 4:3 for aspect ratio");
  } else if (ATarget == "svcd") {
    SetFormat("svcd");
    SetVideoCodec("mpeg2video");
    SetAudioCodec("mp2");
    SetFrameSize(pal ? "480x576" : "480x480");
    SetFrameRate(rate);
    SetDefaultOption("g", pal ? "15" : "18");
    SetDefaultOption("b", "2040000");
    SetDefaultOption("maxrate", "2516000");
    SetDefaultOption("minrate", "0");
    SetDefaultOption("bufsize", "1835008");
    SetDefaultOption("flags", "+scan_offset");
    SetDefaultOption("ab", "224000");
    Faudio_sample_rate = 44100;
    if (Faudio_channels == 1) Faudio_channels = 2;
    SetDefaultOption("packetsize", "2324");
    assumeAspect("4:3", "Assuming 4:3 for aspect ratio");
  } else if (ATarget == "dvd") {
    SetFormat("dvd");
    SetVideoCodec("mpeg2video");
    SetAudioCodec("ac3");
    SetFrameSize(pal ? "720x576" : "720x480");
    SetFrameRate(rate);
    SetDefaultOption("g", pal ? "15" : "18");
    SetDefaultOption("b", "6000000");
    SetDefaultOption("maxrate", "9000000");
    SetDefaultOption("minrate", "0");
    SetDefaultOption("bufsize", "1835008");
    SetDefaultOption("ab", "448000");
    Faudio_sample_rate = 48000;
    if (Faudio_channels == 1) Faudio_channels = 2;
    SetDefaultOption("packetsize", "2048");
    SetDefaultOption("muxrate", "10080000");
    assumeAspect("16:9", "Assuming 16:9 for aspect ratio");
  } else if (ATarget == "dv" || ATarget == "dv50") {
    SetFormat("dv");
    SetFrameSize(pal ? "720x576" : "720x480");
    SetPixelFormat(ATarget == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
    SetFrameRate(rate);
    Faudio_sample_rate = 48000;
    Faudio_channels = 2;
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
