#include "engine/probe/rgbconvert.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"

namespace {

class RGBConvertTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(FFLoader()->Load(ProbeLibraries)) << FFLoader()->LastErrMsg(); }
  void SetUp() override { ResetRGBContext(FContext); }
  void TearDown() override { ResetRGBContext(FContext); }

  // A BGR24 picture whose pixel (x, y) is (x, y, x + y) with the given row stride.
  TAVPicture MakeBGR(Integer AWidth, Integer AHeight, int AStride) {
    FPixels.assign(size_t(AStride) * AHeight, 0xEE);
    for (Integer y = 0; y < AHeight; ++y)
      for (Integer x = 0; x < AWidth; ++x) {
        uint8_t* p = &FPixels[size_t(y) * AStride + size_t(x) * 3];
        p[0] = uint8_t(x);
        p[1] = uint8_t(y);
        p[2] = uint8_t(x + y);
      }
    TAVPicture picture;
    picture.data[0] = FPixels.data();
    picture.linesize[0] = AStride;
    return picture;
  }
  void ExpectPixels(Integer AWidth, Integer AHeight) {
    TBitmap& bmp = *FContext.Bitmap;
    ASSERT_EQ(bmp.Width(), AWidth);
    ASSERT_EQ(bmp.Height(), AHeight);
    EXPECT_EQ(bmp.PixelFormat(), pf24bit);
    for (Integer y = 0; y < AHeight; ++y)
      for (Integer x = 0; x < AWidth; ++x) {
        const Byte* p = bmp.ScanLine(y) + x * 3;
        ASSERT_EQ(p[0], x) << x << "," << y;
        ASSERT_EQ(p[1], y) << x << "," << y;
        ASSERT_EQ(p[2], x + y) << x << "," << y;
      }
  }

  TRGBConvertContext FContext;
  std::vector<uint8_t> FPixels;
};

TEST_F(RGBConvertTest, ABitmapShapedPictureIsCopiedDirectly) {
  const TAVPicture picture = MakeBGR(6, 4, 20);  // 18 bytes of pixels, rows of 20 as a bitmap's
  ASSERT_TRUE(PictureToBitmap(FContext, picture, AV_PIX_FMT_BGR24, 6, 4));
  EXPECT_EQ(FContext.RGBPictureRef, &picture);
  EXPECT_EQ(FContext.RGBBuf.get(), nullptr);
  ExpectPixels(6, 4);
}

TEST_F(RGBConvertTest, OddSizesOrOtherRowsGoThroughTheScaler) {
  const struct { Integer Width, Height, Stride; } cases[] = {{5, 4, 16}, {6, 3, 20}, {6, 4, 18}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " / " << c.Stride);
    const TAVPicture picture = MakeBGR(c.Width, c.Height, c.Stride);
    ASSERT_TRUE(PictureToBitmap(FContext, picture, AV_PIX_FMT_BGR24, c.Width, c.Height));
    EXPECT_EQ(FContext.RGBPictureRef, &FContext.RGBPicture);
    ExpectPixels(c.Width, c.Height);
  }
}

TEST_F(RGBConvertTest, DecodedPicturesBecomeBGRAndRepeatsAllocateNothing) {
  AVFrame* frame = ff::av_frame_alloc();
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = 64;
  frame->height = 48;
  ASSERT_EQ(ff::av_frame_get_buffer(frame, 0), 0);
  // Limited-range white on the left half, black on the right, no colour.
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) frame->data[0][y * frame->linesize[0] + x] = x < 32 ? 235 : 16;
  for (int p = 1; p < 3; ++p)
    for (int y = 0; y < 24; ++y) memset(frame->data[p] + y * frame->linesize[p], 128, 32);

  ASSERT_TRUE(PictureToBitmap(FContext, PictureOf(frame), AV_PIX_FMT_YUV420P, 64, 48));
  const Byte* row = FContext.Bitmap->ScanLine(47);
  for (int c = 0; c < 3; ++c) {
    EXPECT_GE(row[4 * 3 + c], 250) << "white";
    EXPECT_LE(row[60 * 3 + c], 5) << "black";
  }

  uint8_t* buffer = FContext.RGBBuf.get();
  SwsContext* scaler = FContext.toRGB_convert_ctx.get();
  TBitmap* bitmap = FContext.Bitmap.get();
  ASSERT_TRUE(PictureToBitmap(FContext, PictureOf(frame), AV_PIX_FMT_YUV420P, 64, 48));
  EXPECT_EQ(FContext.RGBBuf.get(), buffer);
  EXPECT_EQ(FContext.toRGB_convert_ctx.get(), scaler);
  EXPECT_EQ(FContext.Bitmap.get(), bitmap);
  ff::av_frame_free(&frame);
}

}  // namespace
