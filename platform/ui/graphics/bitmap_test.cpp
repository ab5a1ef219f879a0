#include "platform/ui/graphics/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/rtl/testkit/rtl_test_util.h"
#include "platform/ui/testkit/ui_test_util.h"

namespace {

// ---- bitmap ----

TEST(Bitmap, ScanLinesAreTopDownAndBoundsChecked) {
  auto bitmap = FilledBitmap(3, 2, pf24bit, clWhite);
  bitmap->Canvas()->SetPixels(0, 1, clRed);
  EXPECT_EQ(bitmap->ScanLine(1)[2], 255);
  EXPECT_EQ(bitmap->ScanLine(1)[0], 0);
  EXPECT_EQ(bitmap->BytesPerScanLine(), 12);
  EXPECT_THROW(bitmap->ScanLine(2), EInvalidGraphic);
  EXPECT_THROW(bitmap->ScanLine(-1), EInvalidGraphic);
}

TEST(Bitmap, ResizeKeepsPixelsInsideAndNewPixelsAreWhite) {
  auto bitmap = FilledBitmap(2, 2, pf32bit, clRed);
  bitmap->SetSize(3, 1);
  EXPECT_EQ(PixelColor(*bitmap, 1, 0), 0x0000FFu);
  EXPECT_EQ(PixelColor(*bitmap, 2, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelAlpha(*bitmap, 2, 0), 0);
  bitmap->SetSize(-4, 2);
  EXPECT_TRUE(bitmap->Empty());
}

TEST(Bitmap, PixelFormatConversionsAndHandleType) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
  EXPECT_EQ(bitmap.HandleType(), bmDDB);
  bitmap.SetSize(2, 1);
  bitmap.SetHandleType(bmDIB);
  EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
  bitmap.Canvas()->SetPixels(0, 0, 0x3399CC);  // on the 6x6x6 cube
  bitmap.Canvas()->SetPixels(1, 0, 0x3498CD);  // nearest to the same entry
  bitmap.SetPixelFormat(pf8bit);
  EXPECT_EQ(bitmap.ScanLine(0)[0], bitmap.ScanLine(0)[1]);
  const TPaletteEntry e = bitmap.ColorTable()[bitmap.ScanLine(0)[0]];
  EXPECT_EQ(RGB(e.Red, e.Green, e.Blue), 0x3399CCu);
  bitmap.SetPixelFormat(pf24bit);
  EXPECT_EQ(PixelColor(bitmap, 1, 0), 0x3399CCu);
  EXPECT_THROW(bitmap.SetPixelFormat(pf16bit), EInvalidGraphic);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
}

TEST(Bitmap, TransparentAutoKeyIsTheBottomLeftPixel) {
  auto sprite = FilledBitmap(3, 2, pf24bit, clRed);
  sprite->Canvas()->SetPixels(0, 1, clLime);
  sprite->Canvas()->SetPixels(2, 0, clLime);
  sprite->SetTransparent(true);
  EXPECT_EQ(sprite->TransparentMode(), tmAuto);
  EXPECT_EQ(sprite->TransparentColor(), clLime);
  auto target = FilledBitmap(3, 2, pf32bit, clWhite);
  target->Canvas()->Draw(0, 0, sprite.get());
  EXPECT_EQ(PixelColor(*target, 0, 1), 0xFFFFFFu);
  EXPECT_EQ(PixelColor(*target, 2, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelColor(*target, 1, 0), 0x0000FFu);

  sprite->SetTransparentColor(clRed);  // fixed key
  EXPECT_EQ(sprite->TransparentMode(), tmFixed);
  auto second = FilledBitmap(3, 2, pf32bit, clWhite);
  second->Canvas()->Draw(0, 0, sprite.get());
  EXPECT_EQ(PixelColor(*second, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelColor(*second, 0, 1), 0x00FF00u);
  sprite->SetTransparentColor(clDefault);
  EXPECT_EQ(sprite->TransparentMode(), tmAuto);
}

TEST(Bitmap, OpaqueDrawStretchesAndCopiesAlphaBytesUnblended) {
  auto source = FilledBitmap(1, 1, pf32bit, clRed);
  source->ScanLine(0)[3] = 10;  // a 32-bit bitmap is not blended by its alpha
  auto target = FilledBitmap(3, 3, pf32bit, clWhite);
  target->Canvas()->StretchDraw(Rect(0, 0, 2, 2), source.get());
  EXPECT_EQ(PixelColor(*target, 1, 1), 0x0000FFu);
  EXPECT_EQ(PixelAlpha(*target, 1, 1), 10);
  EXPECT_EQ(PixelColor(*target, 2, 2), 0xFFFFFFu);
}

TEST(Bitmap, StreamsAsBmpWithExactSizeAndStopsAtTheFileEnd) {
  auto bitmap = FilledBitmap(5, 3, pf24bit, clYellow);
  bitmap->Canvas()->SetPixels(4, 2, clPurple);
  TMemoryStream stream;
  bitmap->SaveToStream(&stream);
  bitmap->SaveToStream(&stream);
  ASSERT_EQ(stream.Size(), 2 * (54 + 16 * 3));
  const Byte* file = static_cast<const Byte*>(stream.Memory());
  EXPECT_EQ(file[2] | (file[3] << 8), 54 + 48);  // bfSize

  stream.SetPosition(0);
  TBitmap first, second;
  first.LoadFromStream(&stream);
  EXPECT_EQ(stream.Position(), 102);
  second.LoadFromStream(&stream);
  for (TBitmap* b : {&first, &second}) {
    EXPECT_EQ(b->PixelFormat(), pf24bit);
    EXPECT_EQ(b->Width(), 5);
    EXPECT_EQ(PixelColor(*b, 4, 2), ColorToRGB(clPurple));
    EXPECT_EQ(PixelColor(*b, 0, 0), ColorToRGB(clYellow));
  }
}

TEST(Bitmap, PaletteFileLoadsAsPaletteBitmapAndBadFileLeavesItUnchanged) {
  TRawImage raw;
  raw.Allocate(2, 1, 8);
  raw.Palette[7] = {10, 20, 30, 0};
  raw.Row(0)[1] = 7;
  const std::vector<Byte> file = EncodeBmp(raw);
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), Int64(file.size()));
  stream.SetPosition(0);
  TBitmap bitmap;
  bitmap.LoadFromStream(&stream);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), TColor(RGB(30, 20, 10)));

  TMemoryStream bad;
  bad.WriteBuffer(file.data(), 40);
  bad.SetPosition(0);
  EXPECT_THROW(bitmap.LoadFromStream(&bad), EInvalidGraphic);
  EXPECT_EQ(bitmap.Width(), 2);
}

TEST(Bitmap, AssignCopiesPixelsFormatAndTransparency) {
  auto source = FilledBitmap(2, 2, pf24bit, clTeal);
  source->SetTransparent(true);
  source->SetTransparentColor(clTeal);
  TBitmap copy;
  int changes = 0;
  copy.OnChange = [&](TObject*) { ++changes; };
  copy.Assign(source.get());
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(copy.Modified());
  EXPECT_EQ(copy.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelColor(copy, 1, 1), ColorToRGB(clTeal));
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), clTeal);
  source->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(PixelColor(copy, 0, 0), ColorToRGB(clTeal));  // a copy, not shared
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, TakingTheHandleLetsItBeSelectedElsewhere) {
  auto bitmap = FilledBitmap(2, 2, pf32bit, clRed);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap->Handle());
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(GetPixel(dc, 1, 1), 0x0000FFu);
  SelectObject(dc, old);
  DeleteDC(dc);
  bitmap->Canvas()->SetPixels(1, 1, clBlue);  // the canvas takes it back
  EXPECT_EQ(PixelColor(*bitmap, 1, 1), 0xFF0000u);
}

}  // namespace
