#include "skin/core/bstextglow.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "skin/core/bsdraw.h"

namespace {

using PixelSet = std::set<std::pair<Integer, Integer>>;

// White canvas, test font (boxes for glyphs), black text.
struct Canvas {
  TBitmap Bitmap{80, 60};
  Canvas() {
    Bitmap.SetPixelFormat(pf32bit);
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(Rect(0, 0, 80, 60));
    Bitmap.Canvas()->Font()->SetName("NerivoTest");
    Bitmap.Canvas()->Font()->SetColor(clBlack);
  }
  TCanvas* C() { return Bitmap.Canvas(); }
  PixelSet Where(TColor Colour) {
    PixelSet s;
    for (Integer y = 0; y < 60; ++y)
      for (Integer x = 0; x < 80; ++x)
        if (C()->Pixels(x, y) == Colour) s.insert({x, y});
    return s;
  }
};

const Cardinal Line = DT_SINGLELINE | DT_NOPREFIX;

TEST(DrawGlowText, SizeZeroGivesTheThickenedTextMovedByTheOffset) {
  const TRect r = Rect(10, 10, 60, 30);
  Canvas plain;
  TRect pr = r;
  DrawText(bsCanvasDC(plain.C()), "ab", &pr, Line);
  const PixelSet text = plain.Where(clBlack);
  ASSERT_FALSE(text.empty());
  // The glow: each text pixel grown by one in the four directions, moved by (2, 2); without a margin
  // it is cut to R moved the same way (the text starts on R's left edge).
  PixelSet glow;
  for (auto [x, y] : text)
    for (auto [dx, dy] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
      const Integer gx = x + dx + 2, gy = y + dy + 2;
      if (gx >= r.Left + 2 && gx < r.Right + 2 && gy >= r.Top + 2 && gy < r.Bottom + 2) glow.insert({gx, gy});
    }
  for (auto p : text) glow.erase(p);

  Canvas c;
  DrawGlowText(c.C(), r, "ab", Line, 2, clBlue, 0);
  EXPECT_EQ(c.Where(clBlack), text);
  EXPECT_EQ(c.Where(clBlue), glow);

  Canvas wide;
  DrawGlowTextWide(wide.C(), r, "ab", Line, 2, clBlue, 0);
  PixelSet moved;
  for (auto [x, y] : text)
    if (!text.count({x + 2, y + 2})) moved.insert({x + 2, y + 2});
  EXPECT_EQ(wide.Where(clBlue), moved);
}

TEST(DrawGlowText, BlurredHaloFadesOutwardAndStaysWithinItsMargin) {
  Canvas c;
  const TRect r = Rect(20, 20, 60, 40);
  DrawGlowText(c.C(), r, "ab", Line, 0, clBlue, 4);
  const TRect box = [&] {
    Canvas p;
    TRect pr = r;
    DrawText(bsCanvasDC(p.C()), "ab", &pr, Line);
    TRect b{1000, 1000, -1, -1};
    for (auto [x, y] : p.Where(clBlack))
      b = Rect(std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x + 1), std::max(b.Bottom, y + 1));
    return b;
  }();
  const Integer y = (box.Top + box.Bottom) / 2;
  // Moving left from the text, the halo gets fainter (red and green rise back towards white).
  Integer previous = -1;
  for (Integer x = box.Left - 1; x >= box.Left - 4; --x) {
    const Integer red = GetRValue(COLORREF(c.C()->Pixels(x, y)));
    EXPECT_GT(red, previous) << x;
    EXPECT_LT(red, 255) << x;
    previous = red;
  }
  EXPECT_EQ(c.C()->Pixels(box.Left - 7, y), clWhite);
}

TEST(DrawReflectionText, MirrorStartsUnderTheTextAndFades) {
  Canvas c;
  const TRect r = Rect(0, 0, 40, 20);
  DrawReflectionText(c.C(), r, "a", Line, 0, clBlue);
  // The cell is 13 rows (glyph box rows 2..10); the mirror of row i lands on row 25 - i.
  const Integer x = 2;
  EXPECT_EQ(c.C()->Pixels(x, 10), clBlack);
  for (Integer row = 11; row <= 14; ++row) EXPECT_EQ(c.C()->Pixels(x, row), clWhite) << row;
  Integer previous = -1;
  for (Integer row = 15; row <= 21; ++row) {
    const TColor p = c.C()->Pixels(x, row);
    EXPECT_NE(p, clWhite) << row;
    EXPECT_EQ(GetBValue(COLORREF(p)), 255) << row;
    EXPECT_GT(GetRValue(COLORREF(p)), previous) << row;  // fainter further down
    previous = GetRValue(COLORREF(p));
  }
  // Rows 0..3 of the text fade to nothing: their mirror (rows 22..25) stays white.
  for (Integer row = 22; row <= 25; ++row) EXPECT_EQ(c.C()->Pixels(x, row), clWhite) << row;

  Canvas offset;
  DrawReflectionText(offset.C(), r, "a", Line, 3, clBlue);
  EXPECT_EQ(offset.C()->Pixels(x, 17), clWhite);
  EXPECT_EQ(offset.C()->Pixels(x, 18), c.C()->Pixels(x, 15));
}

TEST(DrawVistaGlowText, PlateWithoutTextAndTheWiderPlateReachesFurther) {
  const TRect r = Rect(24, 20, 56, 40);
  Canvas narrow, wide;
  EXPECT_EQ(DrawVistaGlowTextNarrow(narrow.C(), r, "", Line, clBlue), 0);
  EXPECT_EQ(DrawVistaGlowText(wide.C(), r, "", Line, clBlue), 0);
  const Integer y = 30;
  // The centre of both plates is deep blue; outside the margins nothing is drawn.
  EXPECT_LT(GetRValue(COLORREF(narrow.C()->Pixels(40, y))), 40);
  EXPECT_LT(GetRValue(COLORREF(wide.C()->Pixels(40, y))), 40);
  EXPECT_EQ(narrow.C()->Pixels(r.Left - 11, y), clWhite);
  EXPECT_EQ(wide.C()->Pixels(r.Left - 13, y), clWhite);
  // Sideways the wide plate starts 3 pixels out, the narrow one 3 pixels in.
  EXPECT_LT(GetRValue(COLORREF(wide.C()->Pixels(r.Left, y))),
            GetRValue(COLORREF(narrow.C()->Pixels(r.Left, y))));
  EXPECT_LT(GetRValue(COLORREF(wide.C()->Pixels(r.Right - 1, y))),
            GetRValue(COLORREF(narrow.C()->Pixels(r.Right - 1, y))));
}

}  // namespace
