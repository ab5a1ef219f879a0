#include "platform/ui/graphics/pngimage.h"

#include <gtest/gtest.h>

#include "platform/ui/testkit/ui_test_util.h"

namespace {

// ---- PNG, JPEG, GIF and the picture ----

TEST(PngImage, AlphaPixelsBlendWhenDrawn) {
  TPngImage png;
  png.CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
  png.SetPixels(0, 0, clRed);
  png.SetPixels(1, 0, clRed);
  png.AlphaScanline(0)[0] = 128;
  png.AlphaScanline(0)[1] = 0;
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  auto target = FilledBitmap(2, 1, pf32bit, clWhite);
  target->Canvas()->Draw(0, 0, &png);
  // Premultiplied red 128 over white: 128 + 255 * 127 / 255 = 255; green and blue 127.
  EXPECT_EQ(PixelColor(*target, 0, 0), RGB(255, 127, 127));
  EXPECT_EQ(PixelColor(*target, 1, 0), 0xFFFFFFu);
}

TEST(PngImage, SaveLoadKeepsTypeAlphaAndKey) {
  TPngImage png;
  png.CreateBlank(COLOR_RGBALPHA, 8, 3, 2);
  png.SetPixels(2, 1, 0x102030);
  png.AlphaScanline(1)[2] = 77;
  TMemoryStream stream;
  png.SaveToStream(&stream);
  stream.SetPosition(0);
  TPngImage back;
  back.LoadFromStream(&stream);
  EXPECT_EQ(back.Header().ColorType, COLOR_RGBALPHA);
  EXPECT_EQ(back.Pixels(2, 1), 0x102030);
  EXPECT_EQ(back.AlphaScanline(1)[2], 77);
  EXPECT_EQ(back.AlphaScanline(0)[0], 0);

  TPngImage keyed;
  keyed.CreateBlank(COLOR_RGB, 8, 2, 1);
  keyed.SetPixels(1, 0, clLime);
  keyed.SetTransparentColor(clLime);
  EXPECT_EQ(keyed.TransparencyMode(), ptmBit);
  EXPECT_EQ(keyed.AlphaScanline(0), nullptr);
  TMemoryStream keyedStream;
  keyed.SaveToStream(&keyedStream);
  keyedStream.SetPosition(0);
  back.LoadFromStream(&keyedStream);
  EXPECT_EQ(back.TransparencyMode(), ptmBit);
  EXPECT_EQ(back.TransparentColor(), clLime);
  EXPECT_EQ(back.AlphaAt(1, 0), 0);
  EXPECT_EQ(back.AlphaAt(0, 0), 255);
  back.CreateAlpha();
  EXPECT_EQ(back.Header().ColorType, COLOR_RGBALPHA);
  EXPECT_EQ(back.AlphaScanline(0)[1], 0);
  EXPECT_EQ(back.AlphaScanline(0)[0], 255);
}

TEST(PngImage, BitmapConversionsBothWays) {
  auto bitmap = FilledBitmap(2, 1, pf32bit, clOlive);
  bitmap->ScanLine(0)[3] = 0;  // bitmap alpha plays no part
  TPngImage png;
  png.Assign(bitmap.get());
  EXPECT_EQ(png.Header().ColorType, COLOR_RGB);
  EXPECT_EQ(png.TransparencyMode(), ptmNone);
  EXPECT_EQ(png.Pixels(0, 0), clOlive);

  png.CreateAlpha();
  png.AlphaScanline(0)[1] = 9;
  TBitmap out;
  out.Assign(&png);
  EXPECT_EQ(out.PixelFormat(), pf32bit);
  EXPECT_EQ(PixelAlpha(out, 1, 0), 9);
  EXPECT_EQ(PixelColor(out, 1, 0), ColorToRGB(clOlive));

  png.RemoveTransparency();
  png.SetTransparentColor(clOlive);
  out.Assign(&png);
  EXPECT_EQ(out.PixelFormat(), pf24bit);
  EXPECT_TRUE(out.Transparent());
  EXPECT_EQ(out.TransparentMode(), tmFixed);
  EXPECT_EQ(out.TransparentColor(), clOlive);
}

TEST(PngImage, RefusesImpossibleHeadersAndResizing) {
  TPngImage png;
  EXPECT_THROW(png.CreateBlank(COLOR_RGB, 4, 1, 1), EInvalidGraphic);
  EXPECT_THROW(png.CreateBlank(COLOR_PALETTE, 16, 1, 1), EInvalidGraphic);
  EXPECT_THROW(png.CreateBlank(5, 8, 1, 1), EInvalidGraphic);
  EXPECT_THROW(png.CreateBlank(COLOR_RGB, 8, 40000, 1), EInvalidGraphic);
  EXPECT_NO_THROW(png.CreateBlank(COLOR_GRAYSCALE, 2, 1, 1));
  EXPECT_THROW(png.SetWidth(5), EInvalidGraphic);
}

}  // namespace
