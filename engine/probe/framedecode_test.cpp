// Single-picture access: decoding forwards, seeking, stepping back, bitmaps and the end of input.
#include <gtest/gtest.h>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/testkit/logcapture.h"
#include "engine/probe/avprobe.h"
#include "engine/probe/testkit/testmedia.h"

namespace {

constexpr Int64 FrameTime = 40000;  // 25 pictures per second
constexpr Int64 GOP = 10;           // a key frame every 10 pictures

class FrameDecodeTest : public TProbeTestBase {
 protected:
  // Decodes from the start until picture AIndex is current.
  void DecodeTo(TAVProbe& AProbe, Int64 AIndex) {
    ASSERT_TRUE(AProbe.Seek(0, TSeekFlags())) << AProbe.LastErrMsg();
    for (Int64 i = 0; i <= AIndex; ++i) ASSERT_TRUE(AProbe.Decode()) << AProbe.LastErrMsg();
    ASSERT_EQ(AProbe.FrameInfo().PTS, AIndex * FrameTime);
  }
};

TEST_F(FrameDecodeTest, DecodeGivesConsecutivePicturesOfTheVideoStream) {
  for (const std::string& file : {Media().Mkv, Media().Avi, Media().Mp4, Media().Flv}) {
    SCOPED_TRACE(file);
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(file)) << probe.LastErrMsg();
    const Integer video = probe.FirstVideoStreamIndex();
    for (Int64 i = 0; i < 12; ++i) {
      ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
      const TFrameInfo& f = probe.FrameInfo();
      EXPECT_TRUE(f.Ready);
      EXPECT_EQ(f.PTS, i * FrameTime) << i;
      EXPECT_EQ(f.StreamIndex, video);
      EXPECT_EQ(f.Width, 160);
      EXPECT_EQ(f.Height, 120);
      EXPECT_EQ(f.PixFmt, AV_PIX_FMT_YUV420P);
      EXPECT_EQ(f.IsKeyFrame, i % GOP == 0) << i;
      if (i == 0) {
        EXPECT_EQ(f.PictureType, ptI);
      }
      EXPECT_GE(f.Position, 0);
      EXPECT_GE(f.Size, 160 * 120 * 3 / 2);
    }
  }
}

TEST_F(FrameDecodeTest, TheEndOfTheInputStopsDecodingUntilASeek) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();
  Integer pictures = 0;
  while (probe.Decode()) ++pictures;
  EXPECT_EQ(pictures, 50);
  EXPECT_TRUE(probe.Eof());
  EXPECT_EQ(probe.LastErrMsg(), "stream eof reached.");
  // The last picture stays.
  EXPECT_EQ(probe.FrameInfo().PTS, 49 * FrameTime);

  probe.Seek(1000000, TSeekFlags());  // leaves a debug message
  EXPECT_FALSE(probe.Eof());
  EXPECT_FALSE(probe.FrameInfo().Ready);
  ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
  EXPECT_TRUE(probe.FrameInfo().IsKeyFrame);
}

TEST_F(FrameDecodeTest, AFurtherDecodeAfterTheEndFailsAtOnce) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().VideoOnly)) << probe.LastErrMsg();
  while (probe.Decode()) {
  }
  const Int64 position = probe.Position();
  EXPECT_FALSE(probe.Decode());
  EXPECT_EQ(probe.LastErrMsg(), "stream eof reached.");
  EXPECT_EQ(probe.Position(), position);
}

TEST_F(FrameDecodeTest, SeekingByTime) {
  const struct {
    Int64 Time;
    TSeekFlags Flags;
    Int64 Picture;  // the key frame the seek lands on
  } cases[] = {
      {1000000, TSeekFlags{sfBackward}, 20},  // at or before
      {1000000, TSeekFlags(), 30},            // at or after
      {400000, TSeekFlags(), 10},
      {-5000000, TSeekFlags(), 0},  // a time before the start is the start
      {0, TSeekFlags(), 0},
  };
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Time);
    ASSERT_TRUE(probe.Decode());
    ASSERT_TRUE(probe.Seek(c.Time, c.Flags)) << probe.LastErrMsg();
    EXPECT_EQ(probe.LastErrMsg().rfind("seek to position ", 0), 0u) << probe.LastErrMsg();
    EXPECT_FALSE(probe.FrameInfo().Ready);
    ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
    EXPECT_EQ(probe.FrameInfo().PTS, c.Picture * FrameTime);
    EXPECT_TRUE(probe.FrameInfo().IsKeyFrame);
  }
}

TEST_F(FrameDecodeTest, SeekingPastTheEndFailsWithTheReason) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();
  ASSERT_TRUE(probe.Decode());
  EXPECT_FALSE(probe.Seek(60000000, TSeekFlags()));
  EXPECT_EQ(probe.LastErrMsg(), "could not seek to position 60.000 seconds");
  EXPECT_FALSE(probe.FrameInfo().Ready);
  // The probe recovers.
  EXPECT_TRUE(probe.Seek(0, TSeekFlags())) << probe.LastErrMsg();
  EXPECT_TRUE(probe.Decode());
  EXPECT_EQ(probe.FrameInfo().PTS, 0);
}

TEST_F(FrameDecodeTest, SeekingByBytePosition) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Ts)) << probe.LastErrMsg();
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(probe.Decode());
  ASSERT_TRUE(probe.Seek(0, TSeekFlags{sfByte})) << probe.LastErrMsg();
  ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
  EXPECT_EQ(probe.FrameInfo().PTS, 0);
  EXPECT_TRUE(probe.FrameInfo().IsKeyFrame);
}

TEST_F(FrameDecodeTest, NextKeyFrame) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();
  // Before any picture: one frame time forward, to the next key frame.
  ASSERT_TRUE(probe.DecodeNextKeyFrame()) << probe.LastErrMsg();
  EXPECT_EQ(probe.FrameInfo().PTS, GOP * FrameTime);
  ASSERT_TRUE(probe.DecodeNextKeyFrame()) << probe.LastErrMsg();
  EXPECT_EQ(probe.FrameInfo().PTS, 2 * GOP * FrameTime);
  ASSERT_TRUE(probe.Decode());
  ASSERT_TRUE(probe.DecodeNextKeyFrame()) << probe.LastErrMsg();
  EXPECT_EQ(probe.FrameInfo().PTS, 3 * GOP * FrameTime);
}

TEST_F(FrameDecodeTest, PreviousFrameStepsBackOnePicture) {
  for (const std::string& file : {Media().Mkv, Media().Mp4}) {
    SCOPED_TRACE(file);
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(file)) << probe.LastErrMsg();
    for (Int64 start : {15, 10, 1}) {
      SCOPED_TRACE(start);
      DecodeTo(probe, start);
      ASSERT_TRUE(probe.DecodePreviousFrame()) << probe.LastErrMsg();
      EXPECT_EQ(probe.FrameInfo().PTS, (start - 1) * FrameTime);
    }
    // Twice in a row.
    DecodeTo(probe, 22);
    ASSERT_TRUE(probe.DecodePreviousFrame());
    ASSERT_TRUE(probe.DecodePreviousFrame());
    EXPECT_EQ(probe.FrameInfo().PTS, 20 * FrameTime);
  }
}

TEST_F(FrameDecodeTest, PreviousKeyFrame) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Mkv)) << probe.LastErrMsg();
  const struct { Int64 From, To; } cases[] = {{15, 10}, {10, 0}, {29, 20}, {0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.From);
    DecodeTo(probe, c.From);
    ASSERT_TRUE(probe.DecodePreviousKeyFrame()) << probe.LastErrMsg();
    EXPECT_EQ(probe.FrameInfo().PTS, c.To * FrameTime);
    EXPECT_TRUE(probe.FrameInfo().IsKeyFrame);
  }
  // Without a picture the search starts from the end of the file.
  TAVProbe fresh(nullptr);
  ASSERT_TRUE(fresh.LoadFile(Media().Mkv));
  ASSERT_TRUE(fresh.DecodePreviousKeyFrame()) << fresh.LastErrMsg();
  EXPECT_EQ(fresh.FrameInfo().PTS, 4 * GOP * FrameTime);
}

TEST_F(FrameDecodeTest, StreamChoice) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().AudioOnly));
  EXPECT_FALSE(probe.Decode(-1));
  EXPECT_EQ(probe.LastErrMsg(), "no video stream.");

  ASSERT_TRUE(probe.LoadFile(Media().Mkv));
  EXPECT_FALSE(probe.Decode(1));
  EXPECT_EQ(probe.LastErrMsg(), "stream #1 is not video stream.");
  EXPECT_FALSE(probe.DecodePreviousFrame(2));
  EXPECT_EQ(probe.LastErrMsg(), "stream index #2 is invalid.");
  EXPECT_TRUE(probe.Decode(0));
  EXPECT_TRUE(probe.Decode(-1));
  EXPECT_EQ(probe.FrameInfo().StreamIndex, 0);
}

TEST_F(FrameDecodeTest, AdoptedContextsRefuseSeekingAndDecoding) {
  AVFormatContext* context = OpenAnalysedInput(Media().Mkv);
  ASSERT_NE(context, nullptr);
  {
    TAVProbe probe(nullptr);
    probe.SetFileHandle(context);
    for (int call = 0; call < 3; ++call) {
      String message;
      try {
        if (call == 0) probe.Decode();
        if (call == 1) probe.Seek(0, TSeekFlags());
        if (call == 2) probe.DecodePreviousKeyFrame();
      } catch (const Exception& e) {
        message = e.Message();
      }
      EXPECT_EQ(message, "file cannot be seeked, handle is readonly.") << call;
      EXPECT_EQ(probe.LastErrMsg(), "file cannot be seeked, handle is readonly.");
    }
  }
  ff::avformat_close_input(&context);
}

TEST_F(FrameDecodeTest, WithoutAFile) {
  TAVProbe probe(nullptr);
  EXPECT_FALSE(probe.Decode());
  EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
  EXPECT_FALSE(probe.Seek(0, TSeekFlags()));
  EXPECT_EQ(probe.Position(), -1);
  EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
}

TEST_F(FrameDecodeTest, APictureFileHoldsOnePictureAndCannotSeek) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Picture)) << probe.LastErrMsg();
  EXPECT_FALSE(probe.Seek(0, TSeekFlags()));
  EXPECT_EQ(probe.LastErrMsg(), "\"image2\" format cannot to be seeked.");
  ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
  const Int64 position = probe.Position();
  ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
  EXPECT_EQ(probe.Position(), position);
  EXPECT_EQ(probe.FrameInfo().Width, 64);
  EXPECT_EQ(probe.FrameInfo().PixFmt, AV_PIX_FMT_RGB24);
}

// Colour of a 24-bit bitmap pixel as 0xRRGGBB.
Cardinal PixelRGB(TBitmap& ABitmap, Integer AX, Integer AY) {
  const Byte* p = ABitmap.ScanLine(AY) + 3 * AX;
  return Cardinal(p[2]) << 16 | Cardinal(p[1]) << 8 | p[0];
}

TEST_F(FrameDecodeTest, CopyToBitmap) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(7, 5);
  const Cardinal before = PixelRGB(bitmap, 3, 2);

  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().Picture)) << probe.LastErrMsg();
  EXPECT_FALSE(probe.CopyToBitmap(&bitmap));
  EXPECT_EQ(probe.LastErrMsg(), "picture not ready, please decode first");
  EXPECT_EQ(bitmap.Width(), 7);
  EXPECT_EQ(PixelRGB(bitmap, 3, 2), before);

  // Red over blue: the colours keep their channels and the picture stays upright.
  ASSERT_TRUE(probe.Decode());
  ASSERT_TRUE(probe.CopyToBitmap(&bitmap));
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.Width(), 64);
  EXPECT_EQ(bitmap.Height(), 48);
  EXPECT_EQ(PixelRGB(bitmap, 5, 5), 0xFF0000u);
  EXPECT_EQ(PixelRGB(bitmap, 60, 40), 0x0000FFu);

  // A video picture of another size reuses the probe's conversion.
  ASSERT_TRUE(probe.LoadFile(Media().Mkv));
  ASSERT_TRUE(probe.Decode());
  ASSERT_TRUE(probe.CopyToBitmap(&bitmap));
  EXPECT_EQ(bitmap.Width(), 160);
  EXPECT_EQ(bitmap.Height(), 120);
}

TEST_F(FrameDecodeTest, AFileCutInTheMiddleDecodesUpToTheCut) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().CutInMiddle)) << probe.LastErrMsg();
  Integer pictures = 0;
  while (probe.Decode()) ++pictures;
  EXPECT_GT(pictures, 5);
  EXPECT_LT(pictures, 50);
  EXPECT_TRUE(probe.Eof());
  EXPECT_EQ(probe.LastErrMsg(), "stream eof reached.");
  // Stepping back from the last picture still works.
  const Int64 last = probe.FrameInfo().PTS;
  ASSERT_TRUE(probe.DecodePreviousFrame()) << probe.LastErrMsg();
  EXPECT_EQ(probe.FrameInfo().PTS, last - FrameTime);
}

TEST_F(FrameDecodeTest, MessagesReachTheEngineLogger) {
  TLogCapture log(llDebug);
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(Media().VideoOnly));
  probe.IsVideoStream(5);
  const String afterError = probe.LastErrMsg();
  ASSERT_TRUE(probe.Decode());
  const String afterDecode = probe.LastErrMsg();

  TLoggedLine error, packet, time;
  ASSERT_TRUE(log.Find("stream index #5 is invalid.", error));
  EXPECT_EQ(error.Sender, &probe);
  EXPECT_EQ(error.Level, llError);
  // The packet line is the logger's own, so LastErrMsg keeps the last message of the probe.
  ASSERT_TRUE(log.Find("pkt.st_idx=0, dts=0, pts=0, flags=", packet));
  EXPECT_EQ(packet.Level, llDebug);
  EXPECT_EQ(afterDecode, afterError);
  // The picture time goes through the library's log.
  ASSERT_TRUE(log.Find("decode PTS: 0.000", time));
  EXPECT_EQ(time.Level, llDebug);
}

}  // namespace
