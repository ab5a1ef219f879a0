#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/transcoder/transcoder.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

namespace {

// The H.264 encoder's full settings, from the cheapest to the most thorough, with their first-pass
// variants and the lossless ones. The fields every rung shares are written by RungText.
struct TEncoderRung {
  const char* Name;
  Integer coder;
  const char* flags;
  const char* partitions;
  const char* me_method;
  Integer subq, me_range, sc_threshold, b_strategy;
  Integer bf;  // -1: none (the lossless rungs)
  Integer refs, directpred, trellis;
  const char* flags2;
  Integer wpredp;  // -1: none; the lossless rungs end with cqp=0 instead
};

const TEncoderRung EncoderRungs[] = {
    {"libx264-default", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "hex", 7, 16, 40, 1, 3, 3, 1, 1,
     "+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-fast", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "hex", 6, 16, 40, 1, 3, 2, 1, 1,
     "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-fast_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 16, 40, 1, 3, 1,
     1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
    {"libx264-faster", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "hex", 4, 16, 40, 1, 3, 2, 1, 1,
     "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", 1},
    {"libx264-faster_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 16, 40, 1, 3,
     1, 1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 1},
    {"libx264-fastfirstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 16, 40, 1, 3, 1,
     1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
    {"libx264-hq", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "umh", 8, 16, 40, 1, 3, 4, 3, 1,
     "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-lossless_fast", 0, "+loop", "+parti8x8+parti4x4-partp8x8-partb8x8", "hex", 3, 16, 40, 1, -1, 2,
     1, 0, "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", -1},
    {"libx264-lossless_max", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "esa", 8, 24, 40, 1,
     -1, 16, 3, 0, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", -1},
    {"libx264-lossless_medium", 1, "+loop", "+parti8x8+parti4x4-partp8x8-partb8x8", "hex", 5, 16, 40, 1, -1,
     2, 1, 0, "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", -1},
    {"libx264-lossless_slow", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "umh", 6, 16, 40,
     1, -1, 3, 1, 0, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", -1},
    {"libx264-lossless_slower", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "umh", 8, 16, 40,
     1, -1, 4, 1, 0, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", -1},
    {"libx264-lossless_ultrafast", 0, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 0, 16, 40, 1,
     -1, 1, 1, 0, "-mixed_refs-wpred-dct8x8+fastpskip", -1},
    {"libx264-max", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "tesa", 10, 24, 40, 2, 16,
     16, 3, 2, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-medium", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "hex", 7, 16, 40, 1, 3, 3, 1, 1,
     "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-medium_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 16, 40, 1, 3,
     1, 1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
    {"libx264-normal", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "hex", 6, 16, 40, 1, 3, 2, 3, 0,
     "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-placebo", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "tesa", 10, 24, 40, 2,
     16, 16, 3, 2, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-placebo_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 24, 40, 2, 16,
     1, 3, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
    {"libx264-slow", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "umh", 8, 16, 40, 2, 3, 5, 3, 1,
     "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-slow_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 16, 40, 2, 3, 1,
     3, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
    {"libx264-slower", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "umh", 9, 16, 40, 2, 3, 8,
     3, 2, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-slower_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 16, 40, 2, 3,
     1, 3, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
    {"libx264-slowfirstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "hex", 2, 16, 40, 1, 3, 1,
     1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
    {"libx264-superfast", 1, "+loop", "+parti8x8+parti4x4-partp8x8-partb8x8", "dia", 1, 16, 40, 1, 3, 1, 1, 0,
     "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", 1},
    {"libx264-superfast_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 1, 16, 40, 1,
     3, 1, 1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 1},
    {"libx264-ultrafast", 0, "-loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 0, 16, 0, 0, 0, 1, 1, 0,
     "-bpyramid-mixed_refs-wpred-dct8x8+fastpskip", 0},
    {"libx264-ultrafast_firstpass", 0, "-loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 0, 16, 0, 0, 0,
     1, 1, 0, "-bpyramid-mixed_refs-wpred-dct8x8+fastpskip", 0},
    {"libx264-veryfast", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partb8x8", "hex", 2, 16, 40, 1, 3, 1, 1, 0,
     "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", 1},
    {"libx264-veryfast_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 16, 40, 1, 3,
     1, 1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 1},
    {"libx264-veryslow", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "umh", 10, 24, 40, 2, 8,
     16, 3, 2, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", 2},
    {"libx264-veryslow_firstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partb8x8", "dia", 2, 24, 40, 2, 8,
     1, 3, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", 2},
};

String RungText(const TEncoderRung& R) {
  const bool lossless = R.bf < 0;
  String text = Format(
      "coder=%d\nflags=%s\ncmp=+chroma\npartitions=%s\nme_method=%s\nsubq=%d\nme_range=%d\ng=250\n"
      "keyint_min=25\nsc_threshold=%d\ni_qfactor=0.71\nb_strategy=%d\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\n",
      R.coder, R.flags, R.partitions, R.me_method, R.subq, R.me_range, R.sc_threshold, R.b_strategy);
  if (!lossless) text += Format("bf=%d\n", R.bf);
  text +=
      Format("refs=%d\ndirectpred=%d\ntrellis=%d\nflags2=%s\n", R.refs, R.directpred, R.trellis, R.flags2);
  text += lossless ? String("cqp=0\n") : Format("wpredp=%d\n", R.wpredp);
  return text;
}

// The profile- and device-limiting presets, and the rungs, in name order.
std::array<TOptionsPreset, 36> MakeBuiltinPresets() {
  std::vector<TOptionsPreset> all = {
      {"libx264-baseline",
       "coder=0\n"
       "bf=0\n"
       "flags2=-wpred-dct8x8\n"
       "wpredp=0\n"},
      {"libx264-ipod320",
       "coder=0\n"
       "bf=0\n"
       "flags2=-wpred-dct8x8\n"
       "level=13\n"
       "maxrate=768000\n"
       "bufsize=3000000\n"
       "wpredp=0\n"},
      {"libx264-ipod640",
       "coder=0\n"
       "bf=0\n"
       "refs=1\n"
       "flags2=-wpred-dct8x8\n"
       "level=30\n"
       "maxrate=10000000\n"
       "bufsize=10000000\n"
       "wpredp=0\n"},
      {"libx264-main", "flags2=-dct8x8\n"},
  };
  for (const TEncoderRung& r : EncoderRungs) all.push_back({r.Name, RungText(r)});
  std::sort(all.begin(), all.end(),
            [](const TOptionsPreset& A, const TOptionsPreset& B) { return std::strcmp(A.Name, B.Name) < 0; });
  std::array<TOptionsPreset, 36> result;
  std::copy(all.begin(), all.end(), result.begin());
  return result;
}

}  // namespace

const std::array<TOptionsPreset, 36> BuiltinPresets = MakeBuiltinPresets();

String FindBuiltinPreset(const String& AName) {
  for (const TOptionsPreset& p : BuiltinPresets)
    if (SameText(p.Name, AName)) return p.Value;
  return String();
}

namespace {

String NormalizeLineBreaks(const String& AText) {
  String result;
  result.reserve(AText.size());
  for (size_t i = 0; i < AText.size(); ++i) {
    if (AText[i] == '\r') {
      result += '\n';
      if (i + 1 < AText.size() && AText[i + 1] == '\n') ++i;
    } else {
      result += AText[i];
    }
  }
  return result;
}

}  // namespace

void TCustomFFmpeg::ApplyPreset(const String& AOption, const String& APreset) {
  if (AOption.empty() || APreset.empty()) return;
  String text;
  String name = APreset;
  if (AOption[0] != 'f') {
    text = FindBuiltinPreset(name);
    if (text.empty()) {
      if (AOption[0] == 'v' && FPending.video_codec_name)
        name = *FPending.video_codec_name + "-" + APreset;
      else if (AOption[0] == 'a' && FPending.audio_codec_name)
        name = *FPending.audio_codec_name + "-" + APreset;
      else if (FPending.subtitle_codec_name)
        name = *FPending.subtitle_codec_name + "-" + APreset;
      text = FindBuiltinPreset(name);
    }
  }
  if (text.empty()) {
    if (!FileExists(APreset)) throw FFmpegException(Format("Preset \"%s\" not found", APreset));
    std::ifstream file(APreset, std::ios::binary);
    const String bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    SystemToUtf8(bytes, text);
  }
  text = NormalizeLineBreaks(Trim(text));
  while (!text.empty()) {
    String line;
    SplitAt(text, "\n", true, line);
    line = Trim(line);
    if (line.empty()) continue;
    String value = line;
    String option;
    SplitAt(value, "=", true, option);
    if (option.empty() || value.empty() || line.find('=') == String::npos)
      throw FFmpegException(Format("%s: Invalid syntax: \"%s\"", name, line));
    if (SameText(option, "acodec")) {
      SetAudioCodec(value);
    } else if (SameText(option, "vcodec")) {
      SetVideoCodec(value);
    } else if (SameText(option, "scodec")) {
      SetSubtitleCodec(value);
    } else {
      String optionBytes, valueBytes;
      Utf8ToSystem(option, optionBytes);
      Utf8ToSystem(value, valueBytes);
      if (!SetDefaultOption(optionBytes.c_str(), valueBytes.c_str()))
        throw FFmpegException(Format("%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                                     name, line, option, value));
    }
  }
}
