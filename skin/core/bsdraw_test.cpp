#include "skin/core/bsdraw.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<Integer, Integer>>;

// A white 32-bit picture with the deterministic test font (em 11: 13-pixel lines, 7-pixel advance).
struct Picture {
  TBitmap Bitmap;
  Picture(Integer W, Integer H) : Bitmap(W, H) {
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(Rect(0, 0, W, H));
    Bitmap.Canvas()->Font()->SetName("NerivoTest");
    Bitmap.Canvas()->Font()->SetColor(clBlack);
  }
  TCanvas* Canvas() { return Bitmap.Canvas(); }
  PixelSet Where(TColor Color) {
    PixelSet s;
    for (Integer y = 0; y < Bitmap.Height(); ++y)
      for (Integer x = 0; x < Bitmap.Width(); ++x)
        if (Canvas()->Pixels(x, y) == Color) s.insert({x, y});
    return s;
  }
  TRect Box(TColor Color) {
    TRect r{1 << 20, 1 << 20, -1, -1};
    for (auto [x, y] : Where(Color)) {
      r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
      r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
    }
    return r;
  }
};

struct LayoutCase {
  TbsButtonLayout Layout;
  Integer Margin, GlyphW, GlyphH, TextW, TextH, Spacing;
  Integer GlyphX, GlyphY, TextX, TextY;
};

TEST(CalcCaptionLayout, PlacesGlyphAndTextForEveryLayout) {
  const TRect r = Rect(0, 0, 100, 20);
  const LayoutCase cases[] = {
      {blGlyphLeft, -1, 16, 16, 40, 13, 4, 20, 2, 40, 4},
      {blGlyphLeft, 5, 16, 16, 40, 13, 4, 5, 2, 25, 4},
      {blGlyphRight, -1, 16, 16, 40, 13, 4, 64, 2, 20, 4},
      {blGlyphRight, 5, 16, 16, 40, 13, 4, 79, 2, 35, 4},
      {blGlyphTop, -1, 16, 16, 40, 13, 4, 42, -6, 30, 13},
      {blGlyphTop, 3, 16, 16, 40, 13, 4, 42, 3, 30, 23},
      {blGlyphBottom, -1, 16, 16, 40, 13, 4, 42, 10, 30, -6},
      {blGlyphBottom, 3, 16, 16, 40, 13, 4, 42, 1, 30, -16},
      // No glyph: the spacing is ignored and the text alone is centred.
      {blGlyphLeft, -1, 0, 0, 40, 13, 4, 30, 10, 30, 4},
      // A glyph without text sits half the spacing off the centre.
      {blGlyphLeft, -1, 16, 16, 0, 0, 4, 40, 2, 60, 10},
      // Odd sums halve toward zero.
      {blGlyphLeft, -1, 5, 5, 0, 0, 0, 48, 8, 52, 10},
      {blGlyphTop, -1, 0, 0, 10, 45, 0, 50, -12, 45, -13},
  };
  for (const LayoutCase& c : cases) {
    Integer tx = -99, ty = -99, gx = -99, gy = -99;
    CalcCaptionLayout(c.Layout, r, c.GlyphW, c.GlyphH, c.TextW, c.TextH, c.Spacing, c.Margin, tx, ty, gx, gy);
    SCOPED_TRACE(testing::Message() << "layout " << c.Layout << " margin " << c.Margin << " glyph "
                                    << c.GlyphW);
    EXPECT_EQ(gx, c.GlyphX);
    EXPECT_EQ(gy, c.GlyphY);
    EXPECT_EQ(tx, c.TextX);
    EXPECT_EQ(ty, c.TextY);
  }
}

TEST(FitTextToWidth, CutsWholeCharactersAndKeepsAtLeastTheEllipsis) {
  Picture p(10, 10);
  struct Case {
    String Text;
    Integer MaxWidth;
    String Expected;
  } cases[] = {
      {"abcdef", 42, "abcdef"},         // fits exactly
      {"abcdef", 41, "ab..."},          // "abc..." is 42 wide
      {"abcdef", 30, "a..."},           // 28
      {"abcdef", 10, "..."},            // nothing fits
      {"视频软件输出", 40, "视频..."},  // code points, never half a character
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    String a = c.Text, b = c.Text;
    FitTextToWidth(p.Canvas(), a, c.MaxWidth);
    FitWideTextToWidth(p.Canvas(), b, c.MaxWidth);
    EXPECT_EQ(a, c.Expected) << c.Text << " in " << c.MaxWidth;
    EXPECT_EQ(b, c.Expected) << c.Text << " in " << c.MaxWidth;
  }
}

TEST(WideTextMeasure, MeasuresLinesWithTheCanvasFont) {
  Picture p(10, 10);
  EXPECT_EQ(WideTextWidth(p.Canvas(), "abcd"), 28);
  EXPECT_EQ(WideTextHeight(p.Canvas(), "abcd"), 13);
  EXPECT_EQ(WideTextHeight(p.Canvas(), "ab\ncd"), 26);
  EXPECT_EQ(WideTextWidth(p.Canvas(), ""), 0);
}

// Each single-line routine against a plain DrawText of the same text: the box moves up by one pixel for
// an odd font height, and the "W" rule widens the rectangle (moving centred text right by one).
TEST(SingleLineText, OddHeightCorrectionAndTheWRule) {
  struct Routine {
    const char* Name;
    void (*Draw)(TCanvas*, const String&, const TRect&);
    Cardinal Align;
    bool WRule;
  } routines[] = {
      {"CenteredEx", DrawTextCenteredEx, DT_CENTER, true},
      {"LeftEx", DrawTextLeftEx, DT_LEFT, true},
      {"Left", DrawTextLeft, DT_LEFT, false},
      {"AlignedRight",
       [](TCanvas* C, const String& S, const TRect& R) { DrawTextAligned(C, S, R, taRightJustify); },
       DT_RIGHT, false},
      {"AlignedCenter",
       [](TCanvas* C, const String& S, const TRect& R) { DrawTextAligned(C, S, R, taCenter); }, DT_CENTER,
       false},
  };
  // With DT_VCENTER the correction shows when the rectangle's height less the line height is even.
  const TRect r = Rect(0, 0, 41, 25);
  for (const Routine& rt : routines)
    for (Integer height : {-11, -12})
      for (const char* text : {"Wab", "wab"}) {
        SCOPED_TRACE(testing::Message() << rt.Name << " height " << height << " " << text);
        Picture mine(50, 30), plain(50, 30);
        mine.Canvas()->Font()->SetHeight(height);
        plain.Canvas()->Font()->SetHeight(height);
        rt.Draw(mine.Canvas(), text, r);
        TRect pr = r;
        DrawText(bsCanvasDC(plain.Canvas()), text, &pr, DT_SINGLELINE | DT_VCENTER | rt.Align);
        const TRect a = mine.Box(clBlack), b = plain.Box(clBlack);
        ASSERT_GT(b.Right, 0);
        EXPECT_EQ(a.Top, b.Top - (height % 2 != 0 ? 1 : 0));
        const bool widened = rt.WRule && text[0] == 'W';
        EXPECT_EQ(a.Left, b.Left + (widened && rt.Align == DT_CENTER ? 1 : 0));
      }
}

TEST(SingleLineText, EmptyTextDrawsNothing) {
  Picture p(30, 30);
  DrawTextCenteredEx(p.Canvas(), "", Rect(0, 0, 30, 30));
  DrawTextAligned(p.Canvas(), "", Rect(0, 0, 30, 30), taLeftJustify);
  DrawWrappedText(p.Canvas(), "", Rect(0, 0, 30, 30), true);
  TextRectLeft(p.Canvas(), "", Rect(0, 0, 30, 30));
  EXPECT_TRUE(p.Where(clBlack).empty());
}

TEST(DrawWrappedText, LaysOutLongWordsBrokenOrCut) {
  Picture p(10, 10);
  // Four characters (28 pixels) fit in 30.
  struct Case {
    String Text;
    Integer Width;
    bool Break;
    String Expected;
  } cases[] = {
      {"abcdefghij", 30, true, "abcd efgh ij"},
      {"ab cdefghij", 30, true, "ab cdef ghij"},
      {"abcdefghij", 30, false, "a... "},
      {"ab cdefghij xy", 30, false, "ab c...  xy"},
      {"ab cd", 30, false, "ab cd"},
      // Three characters or fewer before the cut: no room for the ellipsis, the rest of the word goes.
      {"abcdef", 14, false, "ab "},
      {"视频软件输出", 30, true, "视频软件 输出"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WrapTextForWidth(p.Canvas(), c.Text, c.Width, c.Break), c.Expected)
        << c.Text << " break " << c.Break;
}

TEST(DrawWrappedText, BrokenWordTakesSeveralLinesCutWordOne) {
  Picture broken(40, 60), cut(40, 60);
  DrawWrappedText(broken.Canvas(), "abcdefghij", Rect(0, 0, 30, 60), true);
  DrawWrappedText(cut.Canvas(), "abcdefghij", Rect(0, 0, 30, 60), false);
  EXPECT_EQ(broken.Box(clBlack).Bottom - broken.Box(clBlack).Top > 13 * 2, true);
  EXPECT_LE(cut.Box(clBlack).Bottom - cut.Box(clBlack).Top, 13);
  EXPECT_LE(broken.Box(clBlack).Right, 30);
}

TEST(TextRectLeft, PlacesTextTwoPixelsInAndCentred) {
  Picture p(60, 30);
  TextRectLeftIndent(p.Canvas(), "ab", Rect(5, 0, 60, 30), 3);
  // y = 0 + 15 - 13 / 2 - 1 (height -11 is odd) = 8; the glyph box starts em / 4 = 2 rows lower.
  const TRect box = p.Box(clBlack);
  EXPECT_EQ(box.Left, 10);
  EXPECT_EQ(box.Top, 10);
}

TEST(Marks, ArrowsCoverTheirTriangles) {
  struct Case {
    void (*Draw)(TCanvas*, const TRect&, TColor, Integer);
    Integer Kind;
    size_t Count;
    TRect Box;
  } cases[] = {
      {DrawArrow, 1, 16, Rect(8, 7, 12, 14)},    {DrawArrow, 2, 16, Rect(9, 7, 13, 14)},
      {DrawArrow, 3, 16, Rect(7, 8, 14, 12)},    {DrawArrow, 4, 16, Rect(7, 9, 14, 13)},
      {DrawArrow, 5, 28, Rect(6, 6, 14, 14)},    {DrawBigArrow, 1, 36, Rect(8, 5, 14, 16)},
      {DrawBigArrow, 2, 36, Rect(7, 5, 13, 16)}, {DrawBigArrow, 3, 36, Rect(5, 8, 16, 14)},
      {DrawBigArrow, 4, 36, Rect(5, 7, 16, 13)},
  };
  for (const Case& c : cases) {
    Picture p(20, 20);
    c.Draw(p.Canvas(), Rect(0, 0, 20, 20), clRed, c.Kind);
    EXPECT_EQ(p.Where(clRed).size(), c.Count) << "kind " << c.Kind;
    EXPECT_EQ(p.Box(clRed), c.Box) << "kind " << c.Kind;
  }
  for (Integer kind : {0, 6}) {
    Picture p(20, 20);
    DrawArrow(p.Canvas(), Rect(0, 0, 20, 20), clRed, kind);
    DrawBigArrow(p.Canvas(), Rect(0, 0, 20, 20), clRed, kind == 0 ? 5 : kind);
    EXPECT_TRUE(p.Where(clRed).empty()) << kind;
  }
}

TEST(Marks, SmallDownArrowRadioDotAndCheckMark) {
  Picture p(20, 20);
  DrawSmallDownArrow(p.Canvas(), Rect(0, 0, 20, 20), clRed);
  EXPECT_EQ(
      p.Where(clRed),
      (PixelSet{{8, 10}, {9, 10}, {10, 10}, {11, 10}, {12, 10}, {9, 11}, {10, 11}, {11, 11}, {10, 12}}));
  Picture dot(10, 10);
  DrawRadioDot(dot.Canvas(), 2, 3, clBlue);
  EXPECT_EQ(dot.Where(clBlue).size(), 36u);
  EXPECT_EQ(dot.Box(clBlue), Rect(2, 3, 8, 9));
  Picture tick(12, 12);
  DrawCheckMark(tick.Canvas(), 1, 1, clGreen);
  // Three strokes, each down 2 and up 5 to the right, stacked one above the other.
  EXPECT_EQ(tick.Box(clGreen), Rect(1, 2, 8, 9));
  EXPECT_TRUE(tick.Where(clGreen).count({1, 6}) && tick.Where(clGreen).count({1, 4}));
  EXPECT_FALSE(tick.Where(clGreen).count({8, 1}));
}

TEST(Marks, Frame3DPaintsTopLeftThenBottomRight) {
  Picture p(8, 8);
  DrawFrame3D(p.Canvas(), Rect(1, 1, 6, 5), clRed, clBlue);
  PixelSet red, blue;
  for (Integer x = 1; x <= 4; ++x) red.insert({x, 1});
  for (Integer y = 2; y <= 3; ++y) red.insert({1, y});
  for (Integer y = 1; y <= 4; ++y) blue.insert({5, y});
  for (Integer x = 1; x <= 4; ++x) blue.insert({x, 4});
  EXPECT_EQ(p.Where(clRed), red);
  EXPECT_EQ(p.Where(clBlue), blue);
}

TEST(DarkerColor, ReducesEachChannelByMulDiv) {
  struct Case {
    TColor In;
    Integer Percent;
    TColor Out;
  } cases[] = {
      {TColor(RGB(200, 100, 50)), 15, TColor(RGB(170, 85, 42))},
      {TColor(RGB(255, 255, 255)), 0, TColor(RGB(255, 255, 255))},
      {TColor(RGB(255, 1, 3)), 50, TColor(RGB(127, 0, 1))},  // halves away from zero: 127.5 -> 128 off
      {TColor(RGB(10, 20, 30)), 100, TColor(RGB(0, 0, 0))},
      {TColor(RGB(10, 20, 30)), 255, TColor(RGB(0, 0, 0))},  // beyond 100 % stays black
  };
  for (const Case& c : cases) EXPECT_EQ(DarkerColor(c.In, c.Percent), c.Out) << c.Percent;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(DarkerColor(clBtnFace, 0), TColor(face));
}

TEST(RectHelpers, EdgesAndContainment) {
  const TRect r = Rect(10, 10, 20, 20);
  EXPECT_TRUE(PointInsideRect(r, Point(20, 15)));
  EXPECT_TRUE(PointInsideRect(r, Point(10, 20)));
  EXPECT_FALSE(PointInsideRect(r, Point(21, 15)));
  EXPECT_TRUE(RectInsideRect(Rect(12, 12, 19, 19), r));
  EXPECT_FALSE(RectInsideRect(Rect(12, 12, 20, 19), r));  // touches the right edge
  EXPECT_TRUE(RectEdgeInRect(Rect(0, 15, 5, 40), r));     // top row inside Area's rows
  EXPECT_TRUE(RectEdgeInRect(Rect(0, 0, 5, 19), r));      // bottom row inside
  EXPECT_FALSE(RectEdgeInRect(Rect(0, 0, 5, 5), r));
  EXPECT_TRUE(IsEmptyRect(Rect(5, 5, 5, 9)));
  EXPECT_TRUE(IsEmptyRect(Rect(5, 9, 8, 3)));
  EXPECT_FALSE(IsEmptyRect(Rect(5, 5, 6, 6)));
  EXPECT_TRUE(PointHasZeroCoord(Point(0, 4)));
  EXPECT_FALSE(PointHasZeroCoord(Point(-1, 4)));
  TRect z = r;
  ZeroRect(z);
  EXPECT_TRUE(SameRect(z, TRect{}));
  EXPECT_EQ(IntMax(-3, 2), 2);
  EXPECT_EQ(IntMin(-3, 2), -3);
}

// A 4 x 4 opaque red image in a list, drawn beside a caption.
struct ImageListFixture : testing::Test {
  TImageList List{nullptr, 4, 4};
  void SetUp() override {
    TBitmap img(4, 4);
    img.Canvas()->Brush()->SetColor(clRed);
    img.Canvas()->FillRect(Rect(0, 0, 4, 4));
    List.Add(&img, nullptr);
  }
};

TEST_F(ImageListFixture, CaptionWithImagePlacesImageAndMovesWhenDown) {
  for (bool down : {false, true}) {
    Picture p(60, 20);
    DrawCaptionWithImage(p.Canvas(), Rect(0, 0, 60, 20), -1, 2, blGlyphLeft, "ab", 0, &List, down, true,
                         false, clNone);
    // Text 14 x 13; the group 14 + 4 + 2 centred on 30: glyph at 20, text block at 26, 16 wide with the
    // text centred in it.
    const Integer d = down ? 1 : 0;
    EXPECT_EQ(p.Box(clRed), Rect(20 + d, 8 + d, 24 + d, 12 + d)) << down;
    EXPECT_EQ(p.Box(clBlack).Left, 27 + d) << down;
  }
}

TEST_F(ImageListFixture, IndexOutsideTheListMeansNoImage) {
  for (Integer index : {-1, 1}) {
    Picture p(60, 20);
    DrawCaptionWithImage(p.Canvas(), Rect(0, 0, 60, 20), -1, 2, blGlyphLeft, "ab", index, &List, false, true,
                         false, clNone);
    EXPECT_TRUE(p.Where(clRed).empty());
    EXPECT_EQ(p.Box(clBlack).Left, 24);  // block at 23, 16 wide
  }
}

TEST_F(ImageListFixture, ColourMarkerUnderGlyphUnderTextOrAsPlate) {
  Picture withGlyph(60, 20);
  DrawCaptionWithImage(withGlyph.Canvas(), Rect(0, 0, 60, 20), -1, 2, blGlyphLeft, "", 0, &List, false, true,
                       true, clBlue);
  // Glyph at (27, 8): lines at y 10, 11, 12 from x 27 to 30.
  EXPECT_EQ(withGlyph.Box(clBlue), Rect(27, 10, 31, 13));

  Picture textOnly(60, 20);
  DrawCaptionWithImageLeft(textOnly.Canvas(), Rect(0, 0, 60, 20), -1, 2, blGlyphLeft, "ab", -1, nullptr,
                           false, true, true, clBlue);
  // Text rectangle (23, 4, 39, 17) with the odd-height correction: top 3; lines at y 16..18.
  EXPECT_EQ(textOnly.Box(clBlue), Rect(23, 16, 39, 19));

  TBitmap empty;
  for (bool down : {false, true}) {
    Picture plate(60, 20), glyphPlate(60, 20);
    DrawCaptionWithImage(plate.Canvas(), Rect(0, 0, 60, 20), -1, 2, blGlyphLeft, "", -1, nullptr, down, true,
                         true, clBlue);
    DrawCaptionWithGlyph(glyphPlate.Canvas(), Rect(0, 0, 60, 20), -1, 2, blGlyphLeft, "", &empty, 1, 1, down,
                         true, clBlue);
    EXPECT_EQ(plate.Box(clBlue), Rect(4, 4, 58, 16));
    EXPECT_EQ(glyphPlate.Box(clBlue), down ? Rect(4, 5, 58, 17) : Rect(4, 4, 58, 16));
  }
}

TEST(DrawGlyphFrame, DrawsOneStateWithItsKeyColourTransparent) {
  // Three 3 x 2 states: red, green, blue; the bottom-left pixel of each state is white (the key).
  TBitmap glyph(9, 2);
  const TColor colours[] = {clRed, clLime, clBlue};
  for (Integer s = 0; s < 3; ++s) {
    glyph.Canvas()->Brush()->SetColor(colours[s]);
    glyph.Canvas()->FillRect(Rect(s * 3, 0, s * 3 + 3, 2));
    glyph.Canvas()->SetPixels(s * 3, 1, clWhite);
  }
  Picture p(10, 10);
  p.Canvas()->Brush()->SetColor(clYellow);
  p.Canvas()->FillRect(Rect(0, 0, 10, 10));
  DrawGlyphFrame(p.Canvas(), 2, 3, &glyph, 3, 2);
  EXPECT_EQ(p.Where(clLime).size(), 5u);
  EXPECT_EQ(p.Box(clLime), Rect(2, 3, 5, 5));
  EXPECT_EQ(p.Canvas()->Pixels(2, 4), clYellow);
  EXPECT_TRUE(p.Where(clRed).empty());
  // No state count: the whole bitmap is one state rather than a division by zero.
  Picture q(10, 10);
  DrawGlyphFrame(q.Canvas(), 0, 0, &glyph, 0, 1);
  EXPECT_EQ(q.Box(clBlue), Rect(6, 0, 9, 2));
}

}  // namespace
