#include "platform/ui/graphics/canvas.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ui/testkit/ui_test_util.h"

namespace {

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

}  // namespace
