#include "platform/ui/graphics.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/rtl/rtl_test_util.h"
#include "platform/ui/ui_test_util.h"

namespace {

Byte alphaAt(TBitmap& bitmap, Integer x, Integer y) {
  return bitmap.ScanLine(y)[x * 4 + 3];
}

// ---- colours, fonts, pens ----

TEST(Colors, SystemColoursResolveThroughTheSystemTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_LT(clHighlight, 0);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
}

struct SizeCase {
  Integer Size, Height;
};

class FontSize : public testing::TestWithParam<SizeCase> {};

TEST_P(FontSize, PointsAt96DpiGiveNegativePixelHeight) {
  TFont font;
  font.SetSize(GetParam().Size);
  EXPECT_EQ(font.Height(), GetParam().Height);
  EXPECT_EQ(font.Size(), GetParam().Size);
  LOGFONT lf;
  ASSERT_EQ(GetObject(font.Handle(), sizeof lf, &lf), Integer(sizeof lf));
  EXPECT_EQ(lf.lfHeight, GetParam().Height);
}

// Height = -MulDiv(Size, 96, 72), halves away from zero: 7 pt is 9.33 px, 11 pt 14.67 px.
INSTANTIATE_TEST_SUITE_P(Points, FontSize,
                         testing::Values(SizeCase{7, -9}, SizeCase{8, -11}, SizeCase{9, -12},
                                         SizeCase{10, -13}, SizeCase{11, -15}, SizeCase{12, -16},
                                         SizeCase{15, -20}));

TEST(Font, DefaultsAndStylesReachTheFontObject) {
  TFont font;
  EXPECT_EQ(font.Name(), "Tahoma");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
  font.SetName("宋体");
  font.SetCharset(GB2312_CHARSET);
  font.SetHeight(20);
  EXPECT_EQ(changes, 4);
  LOGFONT lf;
  GetObject(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
  EXPECT_EQ(LogFontFaceName(lf), "宋体");
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(lf.lfHeight, 20);

  font.SetStyle(font.Style() - TFontStyles{fsItalic, fsUnderline});
  GetObject(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_FALSE(lf.lfItalic || lf.lfUnderline);

  TFont copy;
  copy.SetHandle(font.Handle());
  EXPECT_EQ(copy.Style(), (TFontStyles{fsBold, fsStrikeOut}));
  EXPECT_EQ(copy.Height(), 20);
  EXPECT_EQ(copy.Name(), "宋体");
}

// ---- canvas ----

TEST(Canvas, FontPenAndBrushChangesTakeEffectAtTheNextOperation) {
  auto bitmap = FilledBitmap(8, 4, pf32bit, clWhite);
  TCanvas* canvas = bitmap->Canvas();
  canvas->Pen()->SetColor(clRed);
  canvas->MoveTo(0, 0);
  canvas->LineTo(4, 0);
  canvas->Pen()->SetColor(clBlue);
  canvas->LineTo(4, 3);
  EXPECT_EQ(PixelColor(*bitmap, 3, 0), 0x0000FFu);
  EXPECT_EQ(PixelColor(*bitmap, 4, 0), 0xFF0000u);  // the blue line starts where the red one stopped
  EXPECT_EQ(PixelColor(*bitmap, 4, 3), 0xFFFFFFu);  // end point not drawn
  EXPECT_EQ(canvas->PenPos(), Point(4, 3));

  canvas->Brush()->SetColor(clLime);
  canvas->FillRect(Rect(5, 1, 7, 3));
  EXPECT_EQ(PixelColor(*bitmap, 5, 1), 0x00FF00u);
  EXPECT_EQ(PixelColor(*bitmap, 7, 1), 0xFFFFFFu);
  EXPECT_EQ(canvas->Pixels(6, 2), clLime);
  EXPECT_EQ(canvas->Pixels(60, 2), -1);
  canvas->SetPixels(7, 3, clBtnFace);
  EXPECT_EQ(PixelColor(*bitmap, 7, 3), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas->ClipRect(), Rect(0, 0, 8, 4));
}

TEST(Canvas, ClearBrushRectangleDrawsOnlyTheOutline) {
  auto bitmap = FilledBitmap(6, 6, pf24bit, clWhite);
  TCanvas* canvas = bitmap->Canvas();
  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetColor(clNavy);
  canvas->Rectangle(1, 1, 5, 5);
  EXPECT_EQ(PixelColor(*bitmap, 1, 1), ColorToRGB(clNavy));
  EXPECT_EQ(PixelColor(*bitmap, 4, 4), ColorToRGB(clNavy));
  EXPECT_EQ(PixelColor(*bitmap, 2, 2), 0xFFFFFFu);
  // Setting a colour on a clear brush makes it solid again.
  canvas->Brush()->SetColor(clRed);
  EXPECT_EQ(canvas->Brush()->Style(), bsSolid);
  canvas->Rectangle(1, 1, 5, 5);
  EXPECT_EQ(PixelColor(*bitmap, 2, 2), 0x0000FFu);
}

TEST(Canvas, XorPenModeDrawsTwiceBackToTheOriginal) {
  auto bitmap = FilledBitmap(5, 1, pf24bit, 0x336699);
  TCanvas* canvas = bitmap->Canvas();
  canvas->Pen()->SetMode(pmXor);
  canvas->Pen()->SetColor(clWhite);
  canvas->MoveTo(0, 0);
  canvas->LineTo(5, 0);
  EXPECT_EQ(PixelColor(*bitmap, 2, 0), 0x336699u ^ 0xFFFFFFu);
  canvas->MoveTo(0, 0);
  canvas->LineTo(5, 0);
  EXPECT_EQ(PixelColor(*bitmap, 2, 0), 0x336699u);
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode) {
  auto source = FilledBitmap(2, 1, pf24bit, clRed);
  source->Canvas()->SetPixels(1, 0, clBlue);
  auto target = FilledBitmap(4, 2, pf24bit, clWhite);
  target->Canvas()->CopyRect(Rect(0, 0, 4, 2), source->Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(PixelColor(*target, 1, 1), 0x0000FFu);
  EXPECT_EQ(PixelColor(*target, 2, 0), 0xFF0000u);
  target->Canvas()->SetCopyMode(cmNotSrcCopy);
  target->Canvas()->CopyRect(Rect(0, 0, 1, 1), source->Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(PixelColor(*target, 0, 0), 0xFFFF00u);
}

TEST(Canvas, TextWithTheTestFont) {
  SetTestFontMode(true);
  auto bitmap = FilledBitmap(40, 20, pf32bit, clWhite);
  TCanvas* canvas = bitmap->Canvas();
  EXPECT_EQ(canvas->TextWidth("abc"), 21);  // 7-pixel advance at 8 points
  EXPECT_EQ(canvas->TextHeight("abc"), 13);
  canvas->Font()->SetColor(clRed);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(2, 2, "ab");
  EXPECT_EQ(canvas->PenPos(), Point(16, 2));
  // Glyph boxes start tmInternalLeading (2) below the cell top; the gap column between glyphs stays.
  EXPECT_EQ(PixelColor(*bitmap, 2, 4), 0x0000FFu);
  EXPECT_EQ(PixelColor(*bitmap, 8, 4), 0xFFFFFFu);
  EXPECT_EQ(PixelColor(*bitmap, 2, 3), 0xFFFFFFu);

  canvas->Brush()->SetColor(clBlue);  // solid: the clip rectangle is filled first
  canvas->TextRect(Rect(20, 0, 30, 5), 20, 0, "WWWW");
  EXPECT_EQ(PixelColor(*bitmap, 20, 0), 0xFF0000u);
  EXPECT_EQ(PixelColor(*bitmap, 29, 3), 0x0000FFu);
  EXPECT_EQ(PixelColor(*bitmap, 30, 3), 0xFFFFFFu);  // clipped
  SetTestFontMode(false);
}

TEST(Canvas, LockKeepsOtherThreadsOut) {
  TCanvas canvas;
  canvas.Lock();
  canvas.Lock();  // recursive on its own thread
  EXPECT_EQ(canvas.LockCount(), 2);
  std::atomic<int> got{-1};
  std::thread([&] { got = canvas.TryLock(); }).join();
  EXPECT_EQ(got, 0);
  canvas.Unlock();
  canvas.Unlock();
  std::thread([&] {
    got = canvas.TryLock();
    if (got) canvas.Unlock();
  }).join();
  EXPECT_EQ(got, 1);
  EXPECT_EQ(canvas.LockCount(), 0);
}

TEST(Canvas, WithoutADcItRefusesToDraw) {
  TCanvas canvas;
  try {
    canvas.FillRect(Rect(0, 0, 1, 1));
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
  }
}

TEST(Frame3D, TopLeftAndBottomRightLinesAndShrunkRect) {
  auto bitmap = FilledBitmap(7, 6, pf24bit, clWhite);
  TRect r = Rect(0, 0, 7, 6);
  Frame3D(bitmap->Canvas(), r, clRed, clBlue, 2);
  EXPECT_EQ(r, Rect(2, 2, 5, 4));
  // R: top colour, B: bottom colour, . untouched. Corners top-right and bottom-left belong to B.
  const char* expected[6] = {
      "RRRRRRB", "RRRRRBB", "RR...BB", "RR...BB", "RBBBBBB", "BBBBBBB",
  };
  for (Integer y = 0; y < 6; ++y)
    for (Integer x = 0; x < 7; ++x) {
      const COLORREF want = expected[y][x] == 'R' ? 0x0000FF : expected[y][x] == 'B' ? 0xFF0000 : 0xFFFFFF;
      EXPECT_EQ(PixelColor(*bitmap, x, y), want) << x << "," << y;
    }
}

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
  EXPECT_EQ(alphaAt(*bitmap, 2, 0), 0);
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
  EXPECT_EQ(alphaAt(*target, 1, 1), 10);
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
  EXPECT_EQ(alphaAt(out, 1, 0), 9);
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

TEST(JPEGImage, CompressesAssignedBitmapsAndKeepsLoadedFilesAsTheyAre) {
  auto bitmap = FilledBitmap(16, 8, pf24bit, clSkyBlue);
  TJPEGImage jpeg;
  EXPECT_EQ(jpeg.CompressionQuality(), 90);
  jpeg.Assign(bitmap.get());
  TMemoryStream high;
  jpeg.SaveToStream(&high);
  const Byte* p = static_cast<const Byte*>(high.Memory());
  EXPECT_TRUE(p[0] == 0xFF && p[1] == 0xD8);

  jpeg.SetCompressionQuality(500);
  EXPECT_EQ(jpeg.CompressionQuality(), 100);
  high.SetPosition(0);
  TJPEGImage loaded;
  loaded.LoadFromStream(&high);
  loaded.SetCompressionQuality(5);  // a loaded file is written back unchanged
  TMemoryStream again;
  loaded.SaveToStream(&again);
  ASSERT_EQ(again.Size(), high.Size());
  EXPECT_EQ(std::memcmp(again.Memory(), high.Memory(), size_t(high.Size())), 0);

  loaded.Compress();
  TMemoryStream low;
  loaded.SaveToStream(&low);
  EXPECT_NE(low.Size(), high.Size());

  TBitmap out;
  out.Assign(&loaded);
  EXPECT_EQ(out.Width(), 16);
  const COLORREF c = PixelColor(out, 8, 4), want = ColorToRGB(clSkyBlue);
  for (int shift : {0, 8, 16}) EXPECT_NEAR(int((c >> shift) & 0xFF), int((want >> shift) & 0xFF), 3);
  EXPECT_THROW(loaded.SetWidth(3), EInvalidGraphic);
}

TEST(GIFImage, KeepsTheTransparentColourOfAnAssignedBitmap) {
  auto bitmap = FilledBitmap(3, 1, pf24bit, clMaroon);
  bitmap->Canvas()->SetPixels(0, 0, clFuchsia);
  bitmap->SetTransparent(true);
  bitmap->SetTransparentColor(clFuchsia);
  TGIFImage gif;
  gif.Assign(bitmap.get());
  TMemoryStream stream;
  gif.SaveToStream(&stream);
  stream.SetPosition(0);
  TGIFImage back;
  back.LoadFromStream(&stream);
  EXPECT_TRUE(back.Transparent());
  EXPECT_EQ(back.PixelBGRA(0, 0) >> 24, 0u);
  EXPECT_EQ(back.PixelBGRA(2, 0), 0xFF800000u);  // maroon, opaque

  auto target = FilledBitmap(3, 1, pf32bit, clWhite);
  target->Canvas()->Draw(0, 0, &back);
  EXPECT_EQ(PixelColor(*target, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelColor(*target, 1, 0), ColorToRGB(clMaroon));
}

TEST(Picture, LoadFromFileChoosesTheClassByExtension) {
  TTempFolder dir("nerivo-graphics");
  auto bitmap = FilledBitmap(4, 3, pf24bit, clGreen);
  TPngImage png;
  png.Assign(bitmap.get());
  TJPEGImage jpeg;
  jpeg.Assign(bitmap.get());
  TGIFImage gif;
  gif.Assign(bitmap.get());
  bitmap->SaveToFile(dir.Path("a.bmp"));
  png.SaveToFile(dir.Path("a.PNG"));
  jpeg.SaveToFile(dir.Path("a.jpeg"));
  gif.SaveToFile(dir.Path("a.gif"));

  const std::pair<const char*, const char*> cases[] = {
      {"a.bmp", "TBitmap"}, {"a.PNG", "TPngImage"}, {"a.jpeg", "TJPEGImage"}, {"a.gif", "TGIFImage"}};
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  for (const auto& [name, cls] : cases) {
    picture.LoadFromFile(dir.Path(name));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassName(), cls);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
  }
  EXPECT_EQ(changes, 4);

  try {
    picture.LoadFromFile(dir.Path("a.tif"));
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.tif)");
  }
  // A damaged file leaves the picture as it was.
  png.SaveToFile(dir.Path("bad.gif"));
  EXPECT_THROW(picture.LoadFromFile(dir.Path("bad.gif")), EInvalidGraphic);
  EXPECT_EQ(picture.Graphic()->ClassName(), "TGIFImage");
  EXPECT_THROW(picture.LoadFromFile(dir.Path("missing.png")), EFOpenError);
  EXPECT_THROW(bitmap->SaveToFile(dir.Path("no/such/dir.bmp")), EFCreateError);
}

TEST(Picture, AssignAndBitmapAccess) {
  TPngImage png;
  png.CreateBlank(COLOR_RGB, 8, 2, 2);
  TPicture picture;
  picture.Assign(&png);
  EXPECT_EQ(picture.Graphic()->ClassName(), "TPngImage");
  EXPECT_NE(picture.Graphic(), &png);  // a copy
  TBitmap bitmap;
  bitmap.Assign(&picture);  // through the PNG's own conversion
  EXPECT_EQ(bitmap.Width(), 2);
  TBitmap* own = picture.Bitmap();  // replaces the PNG with an empty bitmap
  EXPECT_TRUE(own->Empty());
  EXPECT_EQ(picture.Graphic(), own);
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  own->SetSize(3, 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(picture.Width(), 3);
}

}  // namespace
