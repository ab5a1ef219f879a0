#include "skin/core/bsglyphs.h"

namespace {

struct Line {
  Integer X1, Y1, X2, Y2;
};

void lines(TCanvas* Canvas, Integer X, Integer Y, TColor Color, std::initializer_list<Line> Lines) {
  Canvas->Pen()->SetColor(Color);
  for (const Line& l : Lines) {
    Canvas->MoveTo(X + l.X1, Y + l.Y1);
    Canvas->LineTo(X + l.X2, Y + l.Y2);
  }
}

void outlines(TCanvas* Canvas, Integer X, Integer Y, TColor Color, std::initializer_list<Line> Rects) {
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Pen()->SetColor(Color);
  for (const Line& r : Rects) Canvas->Rectangle(X + r.X1, Y + r.Y1, X + r.X2, Y + r.Y2);
}

}  // namespace

void DrawCloseGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  lines(Canvas, X, Y, Color, {{1, 1, 9, 9}, {9, 1, 1, 9}, {2, 1, 10, 9}, {8, 1, 0, 9}});
}

void DrawSysMenuGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Brush()->SetStyle(bsClear);
  lines(Canvas, X, Y, Color, {{2, 3, 8, 3}, {2, 5, 8, 5}});
}

void DrawMinimizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  lines(Canvas, X, Y, Color, {{1, 8, 9, 8}, {1, 9, 9, 9}});
}

void DrawMaximizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  outlines(Canvas, X, Y, Color, {{0, 0, 11, 10}, {0, 0, 11, 2}});
}

void DrawRestoreGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  outlines(Canvas, X, Y, Color, {{2, 0, 10, 6}, {2, 0, 10, 2}, {0, 4, 7, 10}, {0, 4, 7, 6}});
}

void DrawRollDownGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  lines(Canvas, X, Y, Color, {{5, 6, 6, 6}, {4, 5, 7, 5}, {3, 4, 8, 4}, {2, 3, 9, 3}});
}

void DrawRollUpGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  lines(Canvas, X, Y, Color, {{2, 5, 9, 5}, {3, 4, 8, 4}, {4, 3, 7, 3}, {5, 2, 6, 2}});
}

void DrawMinimizeToTrayGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}

TColor AverageColor(TColor C1, TColor C2) {
  const COLORREF a = ColorToRGB(C1), b = ColorToRGB(C2);
  auto avg = [](Byte p, Byte q) { return Byte((Integer(p) + q) >> 1); };
  return TColor(
      RGB(avg(GetRValue(a), GetRValue(b)), avg(GetGValue(a), GetGValue(b)), avg(GetBValue(a), GetBValue(b))));
}

void DrawDottedFocusRect(TCanvas* Canvas, const TRect& R) {
  const Integer l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 1;
  const TColor colour = Canvas->Font()->Color();
  Canvas->Pen()->SetColor(colour);
  bool on = (r - l) % 2 == 0 && (b - t) % 2 == 0;
  auto step = [&](Integer X, Integer Y) {
    on = !on;
    if (on) Canvas->SetPixels(X, Y, colour);
  };
  // Clockwise; the toggle turns once more between edges, so a corner visited twice decides the same.
  for (Integer x = l; x <= r; ++x) step(x, t);
  on = !on;
  for (Integer y = t; y <= b; ++y) step(r, y);
  on = !on;
  for (Integer x = r; x >= l; --x) step(x, b);
  on = !on;
  for (Integer y = b; y >= t; --y) step(l, y);
}
