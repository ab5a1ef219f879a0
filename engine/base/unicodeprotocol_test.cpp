#include "engine/base/unicodeprotocol.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/testkit/testmedia.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/partialfile.h"

namespace fs = std::filesystem;

namespace {

// A code page that cannot hold Chinese, as the tests' stand-in for a narrow system code page.
class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemCodePage("ISO-8859-1"); }
  void TearDown() override { SetSystemCodePage("UTF-8"); }
};

TEST_F(CodePageTest, NamesTheCodePageCannotPassGoThroughTheProtocol) {
  const struct {
    const char* Name;
    const char* URL;
  } cases[] = {
      {"/media/clip.avi", "/media/clip.avi"},
      {"/media/视频.avi", "unicode:utf8:/media/视频.avi"},
      // Representable, but its bytes in the code page are not the file system's name.
      {"/media/café.avi", "unicode:utf8:/media/café.avi"},
      {"http://host/视频.avi", "http://host/??.avi"},
      {"rtp://host/视频", "rtp://host/??"},
      {"udp://视频", "udp://??"},
      {"tcp://视频", "tcp://??"},
      {"pipe:视频", "pipe:??"},
      {"gopher://视频", "gopher://??"},
      {"unicode:视频", "unicode:??"},
      {"HTTP://host/视频", "unicode:utf8:HTTP://host/视频"},
      {":视频", "unicode:utf8::视频"},
      {"c:视频", "unicode:utf8:c:视频"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNameToURL(c.Name), c.URL) << c.Name;
    EXPECT_EQ(NeedsUnicodeProtocol(c.Name), String(c.URL).rfind("unicode:utf8:", 0) == 0) << c.Name;
  }
}

TEST_F(CodePageTest, URLsTurnBackIntoNames) {
  for (const char* name : {"/media/视频.avi", "c:/media/ç.avi", "/a:b/视频"})
    EXPECT_EQ(URLToFileName(FileNameToURL(name).c_str()), name);
  EXPECT_EQ(URLToFileName("unicode:utf8:"), "unicode:utf8:") << "nothing follows the prefix";
  EXPECT_EQ(URLToFileName("caf\xE9.avi"), "café.avi") << "code-page bytes";
  EXPECT_FALSE(IsUnicodeURL("unicode:utf8:"));
  EXPECT_TRUE(IsUnicodeURL("unicode:utf8:x"));
  EXPECT_EQ(DecodeUnicodeURL("unicode:utf8:c:/视频"), "c:/视频");
}

TEST(UnicodeProtocol, AUTF8SystemCodePageNeedsNoProtocol) {
  EXPECT_EQ(FileNameToURL("/media/视频.avi"), "/media/视频.avi");
  EXPECT_EQ(FileNameToURL("/media/café.avi"), "/media/café.avi");
}

class UnicodeIOTest : public CodePageTest {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(FFLoader()->Load(ProbeLibraries)) << FFLoader()->LastErrMsg();
    char pattern[] = "/tmp/nerivo-unicode-XXXXXX";
    FDir = fs::path(mkdtemp(pattern)) / "视频文件";
    fs::create_directories(FDir);
    FMedia = (FDir / "测试.mkv").string();
    const std::string clip = TestMediaFile("unicode.mkv", "-f lavfi -i testsrc=size=64x48:rate=5 -t 1");
    ASSERT_FALSE(clip.empty());
    fs::copy_file(clip, FMedia);
  }
  static void TearDownTestSuite() { fs::remove_all(FDir.parent_path()); }

  static inline fs::path FDir;
  static inline String FMedia;
};

TEST_F(UnicodeIOTest, ANameOutsideTheCodePageOpensAndReads) {
  const String url = FileNameToURL(FMedia);
  ASSERT_TRUE(IsUnicodeURL(url.c_str()));
  AVFormatContext* ic = nullptr;
  ASSERT_EQ(UnicodeOpenInput(&ic, url.c_str(), nullptr, nullptr), 0);
  ASSERT_GE(ff::avformat_find_stream_info(ic, nullptr), 0);
  EXPECT_STREQ(ic->iformat->name, "matroska,webm");
  ASSERT_EQ(ic->nb_streams, 1u);
  EXPECT_EQ(ic->streams[0]->codecpar->width, 64);
  EXPECT_EQ(URLToFileName(ic->url), FMedia);
  AVPacket* pkt = ff::av_packet_alloc();
  int packets = 0;
  while (ff::av_read_frame(ic, pkt) >= 0) {
    ++packets;
    ff::av_packet_unref(pkt);
  }
  ff::av_packet_free(&pkt);
  EXPECT_EQ(packets, 5);
  UnicodeCloseInput(&ic);
  EXPECT_EQ(ic, nullptr);
}

TEST_F(UnicodeIOTest, AMissingFileFailsWithNoSuchFile) {
  AVIOContext* pb = nullptr;
  const String url = MakeUnicodeURL((FDir / "无.mkv").string());
  EXPECT_EQ(UnicodeOpen(&pb, url.c_str(), AVIO_FLAG_READ), AVERROR(ENOENT));
  EXPECT_EQ(pb, nullptr);
  EXPECT_EQ(UnicodeOpen(&pb, MakeUnicodeURL(FDir.string()).c_str(), AVIO_FLAG_READ), AVERROR(EISDIR))
      << "a folder is no file, and the cause says so";
  const String file = (FDir / "文件.txt").string();
  std::ofstream(file) << "x";
  EXPECT_EQ(UnicodeOpen(&pb, MakeUnicodeURL(file + "/x.mkv").c_str(), AVIO_FLAG_WRITE), AVERROR(ENOTDIR))
      << "a file used as a folder";
  AVFormatContext* ic = nullptr;
  EXPECT_EQ(UnicodeOpenInput(&ic, url.c_str(), nullptr, nullptr), AVERROR(ENOENT));
  EXPECT_EQ(ic, nullptr);
}

TEST_F(UnicodeIOTest, WritingTruncatesAndSeeksReachPastFourGiB) {
  const String name = (FDir / "输出.bin").string();
  std::ofstream(name) << "old content that must go";
  AVIOContext* pb = nullptr;
  ASSERT_EQ(UnicodeOpen(&pb, MakeUnicodeURL(name).c_str(), AVIO_FLAG_WRITE), 0);
  ff::avio_write(pb, reinterpret_cast<const unsigned char*>("new"), 3);
  EXPECT_EQ(UnicodeClose(&pb), 0);
  EXPECT_EQ(pb, nullptr);
  std::ifstream in(name);
  EXPECT_EQ(String(std::istreambuf_iterator<char>(in), {}), "new");

  // The operations on a sparse file larger than 4 GiB.
  const int fd = open(name.c_str(), O_RDWR);
  ASSERT_EQ(ftruncate(fd, (5LL << 30) + 7), 0);
  void* opaque = reinterpret_cast<void*>(intptr_t(fd));
  EXPECT_EQ(UnicodeSeek(opaque, 0, AVSEEK_SIZE), (5LL << 30) + 7);
  EXPECT_EQ(UnicodeSeek(opaque, 5LL << 30, SEEK_SET), 5LL << 30);
  EXPECT_EQ(UnicodeSeek(opaque, -2, SEEK_END), (5LL << 30) + 5);
  uint8_t buffer[8];
  EXPECT_EQ(UnicodeRead(opaque, buffer, 8), 2);
  EXPECT_EQ(UnicodeRead(opaque, buffer, 8), AVERROR_EOF);
  EXPECT_EQ(UnicodeSeek(opaque, -1, SEEK_SET), -1);
  close(fd);
}

TEST_F(UnicodeIOTest, OutputsWriteThroughTheProtocol) {
  const String name = (FDir / "结果.nut").string();
  const String url = FileNameToURL(name);
  AVFormatContext* oc = nullptr;
  ASSERT_GE(ff::avformat_alloc_output_context2(&oc, nullptr, nullptr, url.c_str()), 0);
  EXPECT_STREQ(oc->oformat->name, "nut") << "the format still follows the extension";
  AVStream* st = ff::avformat_new_stream(oc, nullptr);
  st->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
  st->codecpar->codec_id = AV_CODEC_ID_RAWVIDEO;
  st->codecpar->format = AV_PIX_FMT_GRAY8;
  st->codecpar->width = 4;
  st->codecpar->height = 4;
  st->time_base = {1, 25};
  ASSERT_EQ(UnicodeOpenOutput(oc, url.c_str(), nullptr), 0);
  EXPECT_TRUE(IsUnicodeIOContext(oc->pb));
  ASSERT_GE(ff::avformat_write_header(oc, nullptr), 0);
  ASSERT_GE(ff::av_write_trailer(oc), 0);
  EXPECT_EQ(UnicodeCloseOutput(oc), 0);
  ff::avformat_free_context(oc);
  EXPECT_GT(fs::file_size(name), 0u);
}

// An output written under its partial name: the name the muxer knows is the partial file's, so a
// muxer that opens its output again (an index moved to the front) reads what it wrote; the final
// name stays untouched until the run puts the file in place.
TEST_F(UnicodeIOTest, APartialOutputIsWrittenThroughTheProtocolUnderItsOwnName) {
  const String name = (FDir / "result.mp4").string();
  std::ofstream(name) << "the user's file";
  AVFormatContext* oc = nullptr;
  ASSERT_GE(ff::avformat_alloc_output_context2(&oc, nullptr, nullptr, name.c_str()), 0);
  AVStream* st = ff::avformat_new_stream(oc, nullptr);
  st->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
  st->codecpar->codec_id = AV_CODEC_ID_MJPEG;
  st->codecpar->width = 4;
  st->codecpar->height = 4;
  st->time_base = {1, 25};
  String part;
  ASSERT_EQ(UnicodeOpenPartialOutput(oc, name, part), 0);
  EXPECT_TRUE(IsPartialFileOf(part, name)) << part;
  EXPECT_TRUE(IsUnicodeIOContext(oc->pb));
  EXPECT_EQ(URLToFileName(oc->url), part);
  AVDictionary* options = nullptr;
  ff::av_dict_set(&options, "movflags", "+faststart", 0);
  ASSERT_GE(ff::avformat_write_header(oc, &options), 0);
  ff::av_dict_free(&options);
  const uint8_t frame[] = {0xFF, 0xD8, 0xFF, 0xD9};
  AVPacket* packet = ff::av_packet_alloc();
  packet->data = const_cast<uint8_t*>(frame);
  packet->size = sizeof frame;
  packet->pts = packet->dts = 0;
  packet->duration = 1;
  packet->flags = AV_PKT_FLAG_KEY;
  ASSERT_GE(ff::av_write_frame(oc, packet), 0);
  ff::av_packet_free(&packet);
  ASSERT_GE(ff::av_write_trailer(oc), 0);
  EXPECT_EQ(UnicodeCloseOutput(oc), 0);
  ff::avformat_free_context(oc);
  std::ifstream in(part, std::ios::binary);
  const String written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // With the index moved to the front, the media data follows it.
  EXPECT_EQ(written.substr(4, 4), "ftyp");
  EXPECT_LT(written.find("moov"), written.find("mdat")) << "the muxer read its partial file back";
  std::ifstream kept(name);
  EXPECT_EQ(String((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()),
            "the user's file");
  // No partial file where none can be made.
  oc = nullptr;
  ASSERT_GE(ff::avformat_alloc_output_context2(&oc, nullptr, nullptr, name.c_str()), 0);
  EXPECT_EQ(UnicodeOpenPartialOutput(oc, (FDir / "missing" / "x.mp4").string(), part), AVERROR(ENOENT));
  EXPECT_EQ(part, "");
  EXPECT_EQ(oc->pb, nullptr);
  ff::avformat_free_context(oc);
}

// Files a (de)muxer opens by itself come through the context's callbacks: ours for protocol names,
// FFmpeg's own for the rest.
TEST_F(UnicodeIOTest, NestedOpensAreRouted) {
  AVFormatContext* s = ff::avformat_alloc_context();
  s->url = ff::av_strdup("outer.mkv");  // FFmpeg's own opener compares against it
  InstallUnicodeIO(s);
  AVIOContext* pb = nullptr;
  ASSERT_EQ(s->io_open(s, &pb, FileNameToURL(FMedia).c_str(), AVIO_FLAG_READ, nullptr), 0);
  EXPECT_TRUE(IsUnicodeIOContext(pb));
  EXPECT_EQ(ff::avio_size(pb), Int64(fs::file_size(FMedia)));
  EXPECT_EQ(s->io_close2(s, pb), 0);

  SetSystemCodePage("UTF-8");
  ASSERT_EQ(s->io_open(s, &pb, FileNameToURL(FMedia).c_str(), AVIO_FLAG_READ, nullptr), 0);
  EXPECT_FALSE(IsUnicodeIOContext(pb)) << "FFmpeg's own file protocol";
  EXPECT_EQ(ff::avio_size(pb), Int64(fs::file_size(FMedia)));
  EXPECT_EQ(s->io_close2(s, pb), 0);
  ff::avformat_free_context(s);
}

}  // namespace
