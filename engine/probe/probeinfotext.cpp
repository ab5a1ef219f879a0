#include "engine/probe/probeinfotext.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/base/avholders.h"
#include "engine/base/avstubs.h"
#include "engine/base/ffutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

namespace {

constexpr AVRational MicrosecondBase = {1, 1000000};

}  // namespace

String RateText(double AValue, const char* ASuffix) {
  const Int64 v = Int64(std::nearbyint(AValue * 100));
  if (v % 100 != 0) return Format(", %3.2f %s", AValue, ASuffix);
  if (v % 100000 != 0) return Format(", %1.0f %s", AValue, ASuffix);
  return Format(", %1.0fk %s", AValue / 1000, ASuffix);
}

String MetadataKeyDisplayName(const char* AKey) {
  static const struct {
    const char* Key;
    const char* Name;
  } names[] = {{"TALB", "album"},     {"TAL", "album"},      {"TCOM", "composer"},  {"TCON", "genre"},
               {"TCO", "genre"},      {"TCOP", "copyright"}, {"TDRL", "date"},      {"TENC", "encoder"},
               {"TEN", "encoder"},    {"TIT2", "title"},     {"TT2", "title"},      {"TLAN", "language"},
               {"TPE1", "artist"},    {"TP1", "artist"},     {"TPOS", "disc"},      {"TPUB", "publisher"},
               {"TRCK", "track"},     {"TRK", "track"},      {"TSOA", "albumsort"}, {"TSOP", "authorsort"},
               {"TSOT", "titlesort"}, {"TYER", "year"}};
  for (const auto& n : names)
    if (std::strcmp(AKey, n.Key) == 0) return n.Name;
  return LibraryText(AKey);
}

void AddMetadataBlock(std::vector<String>& ALines, const AVDictionary* AMetadata, const String& AIndent) {
  if (!AMetadata) return;
  if (ff::av_dict_count(AMetadata) == 1 && ff::av_dict_get(AMetadata, "language", nullptr, 0)) return;
  ALines.push_back(Format("%sMetadata:", AIndent));
  const AVDictionaryEntry* entry = nullptr;
  while ((entry = ff::av_dict_get(AMetadata, "", entry, AV_DICT_IGNORE_SUFFIX))) {
    if (std::strcmp(entry->key, "language") == 0) continue;
    ALines.push_back(
        Format("%s  %-16s: %s", AIndent, MetadataKeyDisplayName(entry->key), LibraryText(entry->value)));
  }
}

String SecondsText(Int64 AMicroseconds) {
  // A time before zero keeps its sign in front instead of inside the fraction.
  if (AMicroseconds < 0) {
    // Negating the most negative value would overflow; no stream time comes near it.
    if (AMicroseconds == INT64_MIN) AMicroseconds = INT64_MIN + 1;
    return "-" + SecondsText(-AMicroseconds);
  }
  return Format("%d.%.6d", AMicroseconds / 1000000, AMicroseconds % 1000000);
}

void AddStreamLines(std::vector<String>& ALines, const AVFormatContext* AContext, Integer AIndex) {
  const AVStream* st = AContext->streams[AIndex];
  const TCodecContextHolder c = MakeStreamCodecContext(st);
  String line = Format("Stream #%d", AIndex);
  if (AContext->iformat && (AContext->iformat->flags & AVFMT_SHOW_IDS)) line += Format("[0x%x]", st->id);
  const AVDictionaryEntry* language = ff::av_dict_get(st->metadata, "language", nullptr, 0);
  if (language && language->value[0]) line += Format("(%s)", LibraryText(language->value));

  Int64 divisor = ff::av_gcd(st->time_base.num, st->time_base.den);
  if (divisor == 0) divisor = 1;
  line += Format(", %d/%d", st->time_base.num / divisor, st->time_base.den / divisor);

  char description[256] = {};
  if (c) ff::avcodec_string(description, sizeof(description), c.get(), 0);
  line += ": " + LibraryText(description);

  const AVRational codecSAR = st->codecpar->sample_aspect_ratio;
  const AVRational streamSAR = st->sample_aspect_ratio;
  if (streamSAR.num != 0 && Integer(uint32_t(streamSAR.num) * uint32_t(codecSAR.den) -
                                    uint32_t(codecSAR.num) * uint32_t(streamSAR.den)) != 0) {
    int darNum = 0, darDen = 0;
    ff::av_reduce(&darNum, &darDen, Int64(st->codecpar->width) * streamSAR.num,
                  Int64(st->codecpar->height) * streamSAR.den, 1024 * 1024);
    line += Format(", PAR %d:%d DAR %d:%d", streamSAR.num, streamSAR.den, darNum, darDen);
  }

  if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
    if (st->avg_frame_rate.num && st->avg_frame_rate.den)
      line += RateText(double(st->avg_frame_rate.num) / st->avg_frame_rate.den, "fps");
    if (st->r_frame_rate.num && st->r_frame_rate.den)
      line += RateText(double(st->r_frame_rate.num) / st->r_frame_rate.den, "tbr");
    if (st->time_base.num && st->time_base.den)
      line += RateText(1 / (double(st->time_base.num) / st->time_base.den), "tbn");
    if (c && c->time_base.num && c->time_base.den)
      line += RateText(1 / (double(c->time_base.num) / c->time_base.den), "tbc");
  }

  if (st->start_time != AV_NOPTS_VALUE)
    line += ", StartTime: " + SecondsText(ff::av_rescale_q(st->start_time, st->time_base, MicrosecondBase));
  if (st->duration == AV_NOPTS_VALUE)
    line += ", Duration: N/A";
  else
    line += ", Duration: " + PTSToTimeText(ff::av_rescale_q(st->duration, st->time_base, MicrosecondBase));

  ALines.push_back(line);
  AddMetadataBlock(ALines, st->metadata, "  ");
}
