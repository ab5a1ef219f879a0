#include "skin/core/bsglyphs.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/ui/graphics/bitmap.h"

namespace {

using PixelSet = std::set<std::pair<Integer, Integer>>;

PixelSet Drawn(void (*Draw)(TCanvas*, Integer, Integer, TColor), Integer X, Integer Y) {
  TBitmap b(16, 16);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(Rect(0, 0, 16, 16));
  Draw(b.Canvas(), X, Y, clRed);
  PixelSet s;
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 16; ++x)
      if (b.Canvas()->Pixels(x, y) == clRed) s.insert({x, y});
  return s;
}

TEST(Glyphs, MaximizeIsAWindowWithATwoPixelTitle) {
  PixelSet expected;
  for (Integer x = 0; x <= 10; ++x) expected.insert({x, 0}), expected.insert({x, 9}), expected.insert({x, 1});
  for (Integer y = 0; y <= 9; ++y) expected.insert({0, y}), expected.insert({10, y});
  EXPECT_EQ(Drawn(DrawMaximizeGlyph, 0, 0), expected);
}

TEST(Glyphs, ShapesAndPlacement) {
  struct Case {
    const char* Name;
    void (*Draw)(TCanvas*, Integer, Integer, TColor);
    size_t Count;
    TRect Box;  // relative to the glyph origin
  } cases[] = {
      {"close", DrawCloseGlyph, 30, Rect(1, 1, 10, 9)},
      {"sysmenu", DrawSysMenuGlyph, 12, Rect(2, 3, 8, 6)},
      {"minimize", DrawMinimizeGlyph, 16, Rect(1, 8, 9, 10)},
      {"restore", DrawRestoreGlyph, 51, Rect(0, 0, 10, 10)},
      {"rolldown", DrawRollDownGlyph, 16, Rect(2, 3, 9, 7)},
      {"rollup", DrawRollUpGlyph, 16, Rect(2, 2, 9, 6)},
      {"tray", DrawMinimizeToTrayGlyph, 25, Rect(2, 2, 7, 7)},
  };
  for (const Case& c : cases) {
    const PixelSet s = Drawn(c.Draw, 3, 2);
    EXPECT_EQ(s.size(), c.Count) << c.Name;
    TRect box{100, 100, -1, -1};
    for (auto [x, y] : s)
      box = Rect(std::min(box.Left, x - 3), std::min(box.Top, y - 2), std::max(box.Right, x - 2),
                 std::max(box.Bottom, y - 1));
    EXPECT_EQ(box, c.Box) << c.Name;
  }
  // The roll glyphs point opposite ways: the single pixel is at the bottom of one, the top of the other.
  EXPECT_TRUE(Drawn(DrawRollDownGlyph, 0, 0).count({5, 6}));
  EXPECT_TRUE(Drawn(DrawRollUpGlyph, 0, 0).count({5, 2}));
}

TEST(AverageColor, HalvesTheSumOfEachChannel) {
  EXPECT_EQ(AverageColor(clBlack, clWhite), TColor(RGB(127, 127, 127)));
  EXPECT_EQ(AverageColor(clRed, clBlue), TColor(RGB(127, 0, 127)));
  EXPECT_EQ(AverageColor(TColor(RGB(3, 200, 9)), TColor(RGB(4, 100, 10))), TColor(RGB(3, 150, 9)));
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(AverageColor(clBtnFace, clBtnFace), TColor(face & 0xFFFFFF));
}

TEST(DrawDottedFocusRect, AlternatesAroundTheOutline) {
  struct Case {
    TRect R;
    PixelSet Expected;
  } cases[] = {
      {Rect(0, 0, 5, 5), {{1, 0}, {3, 0}, {4, 1}, {4, 3}, {3, 4}, {1, 4}, {0, 3}, {0, 1}}},
      {Rect(0, 0, 4, 4), {{0, 0}, {2, 0}, {3, 1}, {3, 3}, {1, 3}, {0, 2}}},
      {Rect(2, 1, 4, 2), {{2, 1}}},  // one row: the walk passes its pixels four times
  };
  for (const Case& c : cases) {
    TBitmap b(8, 8);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 8, 8));
    b.Canvas()->Font()->SetColor(clBlue);
    DrawDottedFocusRect(b.Canvas(), c.R);
    PixelSet s;
    for (Integer y = 0; y < 8; ++y)
      for (Integer x = 0; x < 8; ++x)
        if (b.Canvas()->Pixels(x, y) == clBlue) s.insert({x, y});
    EXPECT_EQ(s, c.Expected) << c.R.Right;
  }
}

}  // namespace
