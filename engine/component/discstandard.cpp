#include "engine/component/discstandard.h"

#include <cstdlib>
#include <iterator>

#include "platform/rtl/convert.h"

namespace {

// The choices a standard leaves: bit rates up to a ceiling, audio bit rates from the set its
// audio layer allows, and the display aspects it can flag.
struct TDiscChoices {
  TOptionTargetType Target;
  Integer MaxVideoBitrate;  // 0: fixed by the standard
  const Integer* AudioBitrates;
  size_t AudioBitrateCount;  // 0: fixed by the standard
  bool AspectChoice;         // 4:3 or 16:9; else the target's own
};

// MPEG-1 Layer II at 44100 Hz as a Super VCD carries it.
constexpr Integer SvcdAudioRates[] = {32000,  48000,  56000,  64000,  80000,  96000,  112000,
                                      128000, 160000, 192000, 224000, 256000, 320000, 384000};
// AC-3 at 48000 Hz as a DVD carries it.
constexpr Integer DvdAudioRates[] = {64000,  80000,  96000,  112000, 128000, 160000,
                                     192000, 224000, 256000, 320000, 384000, 448000};

// The ceilings are the targets' "maxrate".
constexpr TDiscChoices DiscChoices[] = {
    {ttVCD, 0, nullptr, 0, false},
    {ttSVCD, 2516000, SvcdAudioRates, std::size(SvcdAudioRates), true},
    {ttDVD, 9000000, DvdAudioRates, std::size(DvdAudioRates), true},
};

// The allowed rate nearest to AValue; of two equally near, the higher.
Integer NearestRate(Integer AValue, const Integer* ARates, size_t ACount) {
  Integer best = ARates[0];
  for (size_t i = 1; i < ACount; ++i)
    if (std::llabs(Int64(ARates[i]) - AValue) <= std::llabs(Int64(best) - AValue)) best = ARates[i];
  return best;
}

// "w:h" or a plain ratio as the engine's aspect option reads it; 0 when it does not parse.
Double AspectValue(const String& AText) {
  const size_t colon = AText.find(':');
  if (colon == String::npos) return StrToFloatDef(AText, 0);
  const Integer w = StrToIntDef(AText.substr(0, colon), 0);
  const Integer h = StrToIntDef(AText.substr(colon + 1), 0);
  return h > 0 ? Double(w) / h : 0;
}

}  // namespace

TOutputOptions WithinDiscStandard(const TOutputOptions& AOptions) {
  const TDiscChoices* choices = nullptr;
  for (const TDiscChoices& c : DiscChoices)
    if (c.Target == AOptions.TargetType) choices = &c;
  if (!choices) return AOptions;
  TOutputOptions r = AOptions;
  // Fixed by the standard for the norm: the target has set them.
  r.FrameSize.clear();
  r.FrameRate.clear();
  r.AudioSampleRate = -1;
  r.GroupPictureSize = r.VideoMaxRate = r.VideoMinRate = r.VideoBufSize = -1;
  r.PacketSize = r.MuxRate = -1;
  r.MuxPreload = -1.0f;
  if (choices->Target == ttVCD)
    r.AudioChannels = -1;
  else if (r.AudioChannels == 1)
    r.AudioChannels = 2;

  if (choices->MaxVideoBitrate == 0)
    r.VideoBitrate = -1;
  else if (r.VideoBitrate > choices->MaxVideoBitrate)
    r.VideoBitrate = choices->MaxVideoBitrate;

  if (choices->AudioBitrateCount == 0)
    r.AudioBitrate = -1;
  else if (r.AudioBitrate > 0)
    r.AudioBitrate = NearestRate(r.AudioBitrate, choices->AudioBitrates, choices->AudioBitrateCount);

  if (!choices->AspectChoice) {
    r.FrameAspectRatio.clear();
  } else if (!r.FrameAspectRatio.empty()) {
    const Double ratio = AspectValue(r.FrameAspectRatio);
    // Nearer to 16:9 than to 4:3 (the midpoint is 1.5555…).
    if (ratio > 0) r.FrameAspectRatio = ratio * 9 > 14 ? "16:9" : "4:3";
  }
  return r;
}
