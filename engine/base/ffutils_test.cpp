#include "engine/base/ffutils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/testkit/logcapture.h"
#include "platform/rtl/codepage.h"

namespace fs = std::filesystem;

namespace {

TEST(TimeTexts, PTSToTimeText) {
  const struct {
    Int64 Time;
    const char* Text;
  } cases[] = {{AV_NOPTS_VALUE, "N/A"},           {0, "00:00:00.000"},        {3723004000LL, "01:02:03.004"},
               {360000000000LL, "100:00:00.000"}, {59999999, "00:00:59.999"}, {-1500000, "00:00:-01.-500"}};
  for (const auto& c : cases) EXPECT_EQ(PTSToTimeText(c.Time), c.Text) << c.Time;
}

TEST(TimeTexts, GetFrameDuration) {
  EXPECT_EQ(GetFrameDuration({25, 1}), 40000);
  EXPECT_EQ(GetFrameDuration({30000, 1001}), 33366);
  EXPECT_EQ(GetFrameDuration({0, 1}), 40000);
  EXPECT_EQ(GetFrameDuration({25, 0}), 40000);
}

TEST(ErrorTexts, FormatAVErrorNamesTheFileAndTheCode) {
  const struct {
    Integer Code;
    const char* Text;
  } cases[] = {{AVERROR_PATCHWELCOME, "Not yet implemented in FFmpeg"},
               {-1163346256, "Not yet implemented in FFmpeg"},
               {AVERROR_PROTOCOL_NOT_FOUND, "Unsupported network protocol"},
               {AVERROR_DEMUXER_NOT_FOUND, "Unknown format"},
               {AVERROR_MUXER_NOT_FOUND, "Unknown format"},
               {AVERROR(EDOM), "Number syntax expected in filename"},
               {AVERROR_EOF, "End of file"},
               {AVERROR(EPIPE), "End of file"},
               {AVERROR_INVALIDDATA, "Invalid data found when processing input"},
               {-22, "Invalid data found when processing input"},
               {AVERROR(ENOMEM), "Not enough memory"},
               {AVERROR(EIO), "I/O error"},
               {-2, "No such file or directory"},
               // System errors say their cause in words, as the user needs it.
               {-7, "Argument list too long"},
               {-13, "Permission denied"},
               {-20, "Not a directory"},
               {-21, "Is a directory"},
               {-28, "No space left on device"},
               {-27, "File too large"},
               {-4000, "Error number -4000 occurred"},
               {AVERROR_BUG, "Error number -558323010 occurred"}};
  for (const auto& c : cases) EXPECT_EQ(FormatAVError("a.avi", c.Code), String("a.avi: ") + c.Text) << c.Code;
}

TEST(MediaTypes, Names) {
  const char* names[] = {"Video", "Audio", "Data", "Subtitle", "Attachment", "Unknown"};
  for (Integer i = 0; i < 6; ++i) EXPECT_EQ(MediaTypeText(i), names[i]);
  EXPECT_EQ(MediaTypeText(-1), "Unknown");
}

class FFUtilsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(FFLoader()->Load(ConverterLibraries)) << FFLoader()->LastErrMsg();
  }
  void SetUp() override {
    InitFFOptions(FOptions);
    CreateFFOptions(FOptions, SWS_BICUBIC);
  }
  void TearDown() override { FreeFFOptions(FOptions); }
  std::vector<String> RecordedNames() const {
    return std::vector<String>(FOptions.opt_names.get(), FOptions.opt_names.get() + FOptions.opt_name_count);
  }
  TLogCapture FLog{llInfo};
  TFFOptions FOptions;
};

TEST_F(FFUtilsTest, CodecNameText) {
  AVCodecContext* ctx = ff::avcodec_alloc_context3(nullptr);
  ctx->codec_id = AV_CODEC_ID_MPEG4;
  EXPECT_EQ(CodecNameText(ctx, false), "mpeg4(MPEG-4 part 2)");
  EXPECT_EQ(CodecNameText(ctx, true), "mpeg4(MPEG-4 part 2)");
  ctx->codec_id = AV_CODEC_ID_MPEG2TS;
  EXPECT_EQ(CodecNameText(ctx, false), "mpeg2ts");
  ctx->codec_id = AV_CODEC_ID_NONE;
  ctx->codec_tag = MKTAG('X', 'V', 'I', 'D');
  EXPECT_EQ(CodecNameText(ctx, false), "XVID / 0x44495658");
  ctx->codec_tag = 1;
  EXPECT_EQ(CodecNameText(ctx, false), "0x0001");
  ctx->codec_tag = MKTAG('a', 'b', 'c', 0x7F);
  EXPECT_EQ(CodecNameText(ctx, false), "0x7f636261");
  ff::avcodec_free_context(&ctx);
}

TEST_F(FFUtilsTest, SetFFOptionFindsTheHolderOfEachName) {
  EXPECT_TRUE(SetFFOption(FOptions, "b", "1000k"));  // codec option of video and audio
  EXPECT_TRUE(SetFFOption(FOptions, "g", "12"));     // video only
  EXPECT_TRUE(SetFFOption(FOptions, "probesize", "5000000"));
  EXPECT_TRUE(SetFFOption(FOptions, "sws_flags", "bilinear"));
  EXPECT_TRUE(SetFFOption(FOptions, "ar", "22050"));  // audio only
  EXPECT_TRUE(SetFFOption(FOptions, "vqmin", "5"));   // no such name: "qmin" of the video holder
  EXPECT_EQ(FOptions.avcodec_opts[0]->bit_rate, 1000000);
  EXPECT_EQ(FOptions.avcodec_opts[1]->bit_rate, 1000000);
  EXPECT_EQ(FOptions.avcodec_opts[0]->gop_size, 12);
  EXPECT_EQ(FOptions.avcodec_opts[1]->sample_rate, 22050);
  EXPECT_EQ(FOptions.avcodec_opts[0]->sample_rate, 0);
  EXPECT_EQ(FOptions.avcodec_opts[0]->qmin, 5);
  EXPECT_EQ(FOptions.avformat_opts->probesize, 5000000);
  int64_t swsFlags = 0;
  ff::av_opt_get_int(FOptions.sws_opts.get(), "sws_flags", 0, &swsFlags);
  EXPECT_EQ(swsFlags, SWS_BILINEAR);
  EXPECT_EQ(RecordedNames(), (std::vector<String>{"b", "g", "probesize", "sws_flags", "ar", "qmin"}));
  EXPECT_TRUE(FLog.Lines().empty());
}

TEST_F(FFUtilsTest, SetFFOptionRefusals) {
  EXPECT_FALSE(SetFFOption(FOptions, " ", "1"));
  EXPECT_FALSE(SetFFOption(FOptions, "b", "\t"));
  EXPECT_FALSE(SetFFOption(FOptions, "no_such_option", "1"));
  EXPECT_TRUE(FLog.Lines().empty()) << "refused silently";
  EXPECT_FALSE(SetFFOption(FOptions, "g", "twelve"));
  const std::vector<TLoggedLine> lines = FLog.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().Msg, "Invalid value \"twelve\" for option \"g\"");
  EXPECT_EQ(lines.back().Level, llError);
  EXPECT_EQ(FOptions.opt_name_count, 0);
}

TEST_F(FFUtilsTest, DebugOptionRaisesTheLoggerToDebug) {
  EXPECT_TRUE(SetFFOption(FOptions, "debug", "pict"));
  EXPECT_EQ(GetFFLogger()->LogLevel(), llDebug);
}

TEST_F(FFUtilsTest, ApplyFFOptionsCopiesRecordedOptionsWithMatchingFlags) {
  ASSERT_TRUE(SetFFOption(FOptions, "b", "800k"));
  ASSERT_TRUE(SetFFOption(FOptions, "g", "25"));
  ASSERT_TRUE(SetFFOption(FOptions, "ar", "22050"));
  AVCodecContext* video = ff::avcodec_alloc_context3(nullptr);
  AVCodecContext* audio = ff::avcodec_alloc_context3(nullptr);
  const int gopDefault = audio->gop_size;
  ApplyFFOptions(FOptions, video, FOptions.avcodec_opts[0].get(),
                 AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
  ApplyFFOptions(FOptions, audio, FOptions.avcodec_opts[1].get(),
                 AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
  EXPECT_EQ(video->bit_rate, 800000);
  EXPECT_EQ(video->gop_size, 25);
  EXPECT_EQ(audio->bit_rate, 800000);
  EXPECT_EQ(audio->gop_size, gopDefault) << "a video option stays off the audio encoder";
  ff::avcodec_free_context(&video);
  ff::avcodec_free_context(&audio);
}

TEST_F(FFUtilsTest, ReadFileToBuffer) {
  const fs::path dir = fs::temp_directory_path() / ("nerivo-read-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "empty.log");
  std::ofstream(dir / "pass.log") << "abc";
  const struct {
    const char* Name;
    Integer Result;
    const char* Content;  // nullptr: no buffer
  } cases[] = {
      {"empty.log", 0, ""}, {"pass.log", 0, "abc"}, {"missing.log", -1, nullptr}, {".", -1, nullptr}};
  for (const auto& c : cases) {
    uint8_t* buffer = nullptr;
    Integer size = -5;
    const String name = (dir / c.Name).string();
    EXPECT_EQ(ReadFileToBuffer(name.c_str(), buffer, size), c.Result) << c.Name;
    if (c.Content) {
      ASSERT_NE(buffer, nullptr);
      EXPECT_EQ(size, Integer(strlen(c.Content)) + 1);
      EXPECT_EQ(String(reinterpret_cast<char*>(buffer), size), String(c.Content, strlen(c.Content) + 1));
      ff::av_free(buffer);
    } else {
      EXPECT_EQ(buffer, nullptr);
      EXPECT_EQ(size, -5);
    }
  }
  fs::remove_all(dir);
}

TEST_F(FFUtilsTest, GetMetadataValue) {
  AVDictionary* dict = nullptr;
  ff::av_dict_set(&dict, "title", "片名 Title", 0);
  ff::av_dict_set(&dict, "artist", "Caf\xE9", 0);  // a Latin-1 tag, not UTF-8
  EXPECT_EQ(GetMetadataValue(dict, "title", "-"), "片名 Title");
  EXPECT_EQ(GetMetadataValue(dict, "TITLE", "-"), "片名 Title") << "keys match without case";
  EXPECT_EQ(GetMetadataValue(dict, "album", "none"), "none");
  EXPECT_EQ(GetMetadataValue(nullptr, "title", "none"), "none");
  SetSystemCodePage("ISO-8859-1");
  EXPECT_EQ(GetMetadataValue(dict, "artist", "-"), "Café");
  SetSystemCodePage("UTF-8");
  ff::av_dict_free(&dict);
}

}  // namespace
