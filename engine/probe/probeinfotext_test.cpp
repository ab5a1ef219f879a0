// The information text on contexts built by hand, where every value is known.
#include "engine/probe/probeinfotext.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include "engine/base/avstubs.h"
#include "engine/probe/avprobe.h"
#include "engine/probe/testkit/testmedia.h"

namespace {

class InfoTextTest : public TProbeTestBase {
 protected:
  void TearDown() override {
    if (FContext) ff::avformat_free_context(FContext);
    for (AVDictionary*& d : FDictionaries) ff::av_dict_free(&d);
  }

  AVDictionary* Dictionary(std::initializer_list<std::pair<const char*, const char*>> AEntries) {
    AVDictionary* d = nullptr;
    for (const auto& e : AEntries) ff::av_dict_set(&d, e.first, e.second, 0);
    FDictionaries.push_back(d);
    return d;
  }

  // A transport-stream context named "crafted.ts" with nothing known about its times.
  AVFormatContext* Context() {
    FContext = ff::avformat_alloc_context();
    FContext->iformat = ff::av_find_input_format("mpegts");
    FContext->url = ff::av_strdup("crafted.ts");
    FContext->duration = AV_NOPTS_VALUE;
    FContext->start_time = AV_NOPTS_VALUE;
    return FContext;
  }

  AVStream* AddStream(AVMediaType AType, AVCodecID ACodec, AVRational ATimeBase) {
    AVStream* st = ff::avformat_new_stream(FContext, nullptr);
    st->codecpar->codec_type = AType;
    st->codecpar->codec_id = ACodec;
    st->time_base = ATimeBase;
    st->id = 0x100 + st->index;
    return st;
  }

  static String CodecText(const AVStream* AStream) {
    const TCodecContextHolder c = MakeStreamCodecContext(AStream);
    char text[256] = {};
    ff::avcodec_string(text, sizeof(text), c.get(), 0);
    return text;
  }

  AVFormatContext* FContext = nullptr;
  std::vector<AVDictionary*> FDictionaries;
};

TEST_F(InfoTextTest, RateTexts) {
  const struct {
    double Value;
    const char* Suffix;
    const char* Text;
  } cases[] = {{25, "tbn", ", 25 tbn"},      {30000.0 / 1001, "fps", ", 29.97 fps"},
               {90000, "tbn", ", 90k tbn"},  {1000, "tbn", ", 1k tbn"},
               {1200, "tbr", ", 1200 tbr"},  {23.976, "fps", ", 23.98 fps"},
               {12.5, "fps", ", 12.50 fps"}, {0.5, "tbc", ", 0.50 tbc"}};
  for (const auto& c : cases) EXPECT_EQ(RateText(c.Value, c.Suffix), c.Text) << c.Value;
}

TEST_F(InfoTextTest, SecondsTextsHaveSixDigitsAndTheSignInFront) {
  EXPECT_EQ(SecondsText(0), "0.000000");
  EXPECT_EQ(SecondsText(1429089), "1.429089");
  EXPECT_EQ(SecondsText(12000007), "12.000007");
  EXPECT_EQ(SecondsText(-50000), "-0.050000");
}

TEST_F(InfoTextTest, MetadataBlocks) {
  const struct {
    AVDictionary* Metadata;
    const char* Indent;
    std::vector<String> Lines;
  } cases[] = {
      {nullptr, "", {}},
      {Dictionary({{"language", "eng"}}), "", {}},
      {Dictionary({{"language", "eng"}, {"title", "A title"}}),
       "",
       {"Metadata:", "  title           : A title"}},
      {Dictionary({{"TPE1", "Someone"}, {"TIT2", "Song"}, {"TYER", "1999"}}),
       "  ",
       {"  Metadata:", "    artist          : Someone", "    title           : Song",
        "    year            : 1999"}},
      // Long keys are not cut; the case of a key counts for the display names and "language".
      {Dictionary({{"a_key_longer_than_sixteen", "x"}, {"tpe1", "y"}, {"Language", "z"}}),
       "",
       {"Metadata:", "  a_key_longer_than_sixteen: x", "  tpe1            : y", "  Language        : z"}},
  };
  for (const auto& c : cases) {
    std::vector<String> lines;
    AddMetadataBlock(lines, c.Metadata, c.Indent);
    EXPECT_EQ(lines, c.Lines);
  }
}

TEST_F(InfoTextTest, EveryID3KeyHasItsDisplayName) {
  const struct {
    const char* Key;
    const char* Name;
  } cases[] = {{"TALB", "album"},     {"TAL", "album"},      {"TCOM", "composer"},  {"TCON", "genre"},
               {"TCO", "genre"},      {"TCOP", "copyright"}, {"TDRL", "date"},      {"TENC", "encoder"},
               {"TEN", "encoder"},    {"TIT2", "title"},     {"TT2", "title"},      {"TLAN", "language"},
               {"TPE1", "artist"},    {"TP1", "artist"},     {"TPOS", "disc"},      {"TPUB", "publisher"},
               {"TRCK", "track"},     {"TRK", "track"},      {"TSOA", "albumsort"}, {"TSOP", "authorsort"},
               {"TSOT", "titlesort"}, {"TYER", "year"},      {"TXXX", "TXXX"},      {"artist", "artist"}};
  for (const auto& c : cases) EXPECT_EQ(MetadataKeyDisplayName(c.Key), c.Name);
}

TEST_F(InfoTextTest, FileLinesFollowWhatTheContextKnows) {
  const struct {
    Int64 BitRate, Duration, StartTime;
    std::vector<String> Lines;  // from the duration line on
  } cases[] = {
      {999, AV_NOPTS_VALUE, AV_NOPTS_VALUE, {"Duration: N/A", "Bit Rate: 0 kb/s"}},
      {0, 3723004000LL, 0, {"Duration: 01:02:03.004", "StartTime: 0.000000", "Bit Rate: N/A"}},
      {128000, 1500000, 1429089, {"Duration: 00:00:01.500", "StartTime: 1.429089", "Bit Rate: 128 kb/s"}},
      {1999, -5, -7, {"Duration: N/A", "Bit Rate: 1 kb/s"}},
  };
  for (const auto& c : cases) {
    AVFormatContext* ctx = Context();
    ctx->bit_rate = c.BitRate;
    ctx->duration = c.Duration;
    ctx->start_time = c.StartTime;
    TAVProbe probe(nullptr);
    probe.SetFileHandle(ctx);
    const std::vector<String> lines = SplitReportLines(probe.FileInfoText());
    ASSERT_EQ(lines.size(), 4 + c.Lines.size());
    EXPECT_EQ(lines[0], "File Name: crafted.ts");
    EXPECT_EQ(lines[1], "Format Name: mpegts");
    EXPECT_EQ(lines[2], String("Format Long Name: ") + ctx->iformat->long_name);
    EXPECT_EQ(lines[3], "File Size: 0 Byte");
    EXPECT_EQ(std::vector<String>(lines.begin() + 4, lines.end()), c.Lines);
    probe.CloseFile();
    ff::avformat_free_context(FContext);
    FContext = nullptr;
  }
}

TEST_F(InfoTextTest, TimeStampFromTheCreationTime) {
  const char* savedTZ = getenv("TZ");
  const String saved = savedTZ ? savedTZ : "";
  setenv("TZ", "UTC", 1);
  tzset();
  AVFormatContext* ctx = Context();
  ff::av_dict_set(&ctx->metadata, "creation_time", "2020-02-29T13:14:15.000000Z", 0);
  TAVProbe probe(nullptr);
  probe.SetFileHandle(ctx);
  const TFileStreamInfo info = probe.FileStreamInfo();
  const std::vector<String> lines = SplitReportLines(probe.FileInfoText());
  if (savedTZ)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();

  EXPECT_EQ(info.TimeStamp, 1582982055);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[6], "Time Stamp: 2020-02-29 13:14:15");
  EXPECT_EQ(lines[7], "Metadata:");
  EXPECT_EQ(lines[8], "  creation_time   : 2020-02-29T13:14:15.000000Z");
}

TEST_F(InfoTextTest, ProgramsAndStreamLines) {
  AVFormatContext* ctx = Context();
  ff::av_dict_set(&ctx->metadata, "TPE1", "Someone", 0);

  AVStream* video = AddStream(AVMEDIA_TYPE_VIDEO, AV_CODEC_ID_MPEG4, {1, 90000});
  video->codecpar->width = 320;
  video->codecpar->height = 240;
  video->codecpar->sample_aspect_ratio = {1, 1};
  video->sample_aspect_ratio = {4, 3};
  video->avg_frame_rate = {30000, 1001};
  video->r_frame_rate = {30000, 1001};
  video->start_time = 135000;
  video->duration = 90000LL * 3723 + 360;

  AVStream* commentary = AddStream(AVMEDIA_TYPE_AUDIO, AV_CODEC_ID_MP2, {2, 50});
  ff::av_dict_set(&commentary->metadata, "language", "fre", 0);
  ff::av_dict_set(&commentary->metadata, "title", "Commentary", 0);

  AVStream* audio = AddStream(AVMEDIA_TYPE_AUDIO, AV_CODEC_ID_MP2, {1, 90000});
  ff::av_dict_set(&audio->metadata, "language", "eng", 0);
  audio->start_time = -4500;
  audio->duration = AV_NOPTS_VALUE;

  AVProgram* program = ff::av_new_program(ctx, 7);
  ff::av_dict_set(&program->metadata, "provider_name", "Provider", 0);
  ff::av_program_add_stream_index(ctx, 7, 1);
  AVProgram* unnamed = ff::av_new_program(ctx, 9);
  (void)unnamed;

  TAVProbe probe(nullptr);
  probe.SetFileHandle(ctx);
  EXPECT_EQ(probe.ProgramCount(), 2);
  const std::vector<String> lines = SplitReportLines(probe.FileInfoText());
  const std::vector<String> expected = {
      "File Name: crafted.ts",
      "Format Name: mpegts",
      String("Format Long Name: ") + ctx->iformat->long_name,
      "File Size: 0 Byte",
      "Duration: N/A",
      "Bit Rate: N/A",
      "Metadata:",
      "  artist          : Someone",
      "Program 7 Provider@N/A",
      "  Metadata:",
      "    provider_name   : Provider",
      "Stream #1[0x101](fre), 1/25: " + CodecText(commentary) + ", Duration: N/A",
      "  Metadata:",
      "    title           : Commentary",
      "Program 9 N/A@N/A",
      "Stream #0[0x100], 1/90000: " + CodecText(video) +
          ", PAR 4:3 DAR 16:9, 29.97 fps, 29.97 tbr, 90k tbn, StartTime: 1.500000, Duration: 01:02:03.004",
      "Stream #2[0x102](eng), 1/90000: " + CodecText(audio) + ", StartTime: -0.050000, Duration: N/A",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(InfoTextTest, GettersRepairAZeroTimeBase) {
  AVFormatContext* ctx = Context();
  AVStream* st = AddStream(AVMEDIA_TYPE_AUDIO, AV_CODEC_ID_PCM_S16LE, {0, 0});
  st->start_time = 3;
  st->duration = AV_NOPTS_VALUE;
  TAVProbe probe(nullptr);
  probe.SetFileHandle(ctx);
  const TAudioStreamInfo info = probe.FirstAudioStreamInfo();
  EXPECT_EQ(st->time_base.num, 0);
  EXPECT_EQ(st->time_base.den, 1);
  EXPECT_EQ(info.StartTime, 3);
  EXPECT_EQ(info.StartTimeScaled, 0);
  EXPECT_EQ(info.Duration, AV_NOPTS_VALUE);
  EXPECT_EQ(info.DurationScaled, -1);
}

}  // namespace
