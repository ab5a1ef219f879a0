#include "skin/core/bsdraw.h"

#include <cstring>
#include <vector>

#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "platform/ui/graphics/graphic.h"

namespace {

// The canvas selects its font, pen and brush only for its own operations; raw calls on its DC need them
// selected too. RequiredState is protected, reached through a member pointer of a derived class.
struct CanvasStateAccess : TCanvas {
  static void requireAll(TCanvas* Canvas) {
    (Canvas->*(&CanvasStateAccess::RequiredState))(csHandleValid | csFontValid | csPenValid | csBrushValid);
  }
};

bool fontHeightIsOdd(TCanvas* Canvas) {
  return Canvas->Font()->Height() % 2 != 0;
}

void hLine(TCanvas* Canvas, Integer X1, Integer X2, Integer Y) {
  Canvas->MoveTo(X1, Y);
  Canvas->LineTo(X2, Y);
}

void vLine(TCanvas* Canvas, Integer X, Integer Y1, Integer Y2) {
  Canvas->MoveTo(X, Y1);
  Canvas->LineTo(X, Y2);
}

void drawSingleLine(TCanvas* Canvas, const String& S, const TRect& R, Cardinal Align, bool WideW) {
  if (S.empty()) return;
  TRect r = R;
  if (WideW && S[0] == 'W') r.Right += 2;
  if (fontHeightIsOdd(Canvas)) r.Top -= 1;
  DrawText(bsCanvasDC(Canvas), S, &r, DT_SINGLELINE | DT_VCENTER | Align);
}

// The image-list and glyph variants differ only in where the glyph comes from.
struct CaptionGlyph {
  Integer Width = 0, Height = 0;
  Integer MarkerWidth = 0, MarkerHeight = 0;  // the part the colour marker underlines
  std::function<void(Integer, Integer)> Draw;
};

void drawCaption(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing, TbsButtonLayout Layout,
                 const String& Caption, const CaptionGlyph& Glyph, bool ADown, bool ADrawColorMarker,
                 TColor AColorMarkerValue, bool Centered, bool DownMovesEmptyMarker) {
  Integer textWidth = 0, textHeight = 0;
  if (!Caption.empty()) {
    TRect block = Rect(0, 0, RectWidth(R), RectHeight(R));
    if (Layout == blGlyphLeft || Layout == blGlyphRight)
      block.Right -= Glyph.Width;
    else
      block.Bottom -= Glyph.Height;
    DrawText(bsCanvasDC(Canvas), Caption, &block, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    textWidth = RectWidth(block);
    textHeight = RectHeight(block);
  }
  Canvas->Brush()->SetStyle(bsClear);
  Integer textX, textY, glyphX, glyphY;
  CalcCaptionLayout(Layout, R, Glyph.Width, Glyph.Height, textWidth, textHeight, Spacing, Margin, textX,
                    textY, glyphX, glyphY);
  if (ADown) {
    ++glyphX, ++glyphY;
    ++textX, ++textY;
  }
  TRect textRect = Rect(textX, textY, textX + textWidth + 2, textY + textHeight);
  if (!Caption.empty()) {
    if (fontHeightIsOdd(Canvas)) textRect.Top -= 1;
    TRect r = textRect;
    DrawText(bsCanvasDC(Canvas), Caption, &r,
             DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | (Centered ? DT_CENTER : 0));
  }
  const bool hasGlyph = Glyph.Width > 0 && Glyph.Height > 0 && Glyph.Draw;
  if (hasGlyph) Glyph.Draw(glyphX, glyphY);
  if (!ADrawColorMarker) return;
  if (hasGlyph) {
    Canvas->Pen()->SetColor(AColorMarkerValue);
    for (Integer y = glyphY + Glyph.MarkerHeight - 2; y <= glyphY + Glyph.MarkerHeight; ++y)
      hLine(Canvas, glyphX, glyphX + Glyph.MarkerWidth, y);
  } else if (!Caption.empty()) {
    Canvas->Pen()->SetColor(AColorMarkerValue);
    for (Integer y = textRect.Bottom - 1; y <= textRect.Bottom + 1; ++y)
      hLine(Canvas, textRect.Left, textRect.Right, y);
  } else {
    TRect r = Rect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4);
    if (ADown && DownMovesEmptyMarker) r = Rect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(AColorMarkerValue);
    Canvas->FillRect(r);
  }
}

CaptionGlyph imageListGlyph(TCanvas* Canvas, Integer ImageIndex, TCustomImageList* ImageList, bool AEnabled) {
  CaptionGlyph g;
  if (ImageList == nullptr || ImageIndex < 0 || ImageIndex >= ImageList->Count()) return g;
  g.Width = g.MarkerWidth = ImageList->Width();
  g.Height = g.MarkerHeight = ImageList->Height();
  g.Draw = [=](Integer X, Integer Y) { ImageList->Draw(Canvas, X, Y, ImageIndex, AEnabled); };
  return g;
}

// Characters as code points, so that breaking and cutting never split a UTF-8 sequence.
std::vector<String> codePoints(const String& S) {
  std::vector<String> out;
  for (Integer i = 0; i < Integer(S.size());) {
    const Integer next = Utf8NextCodePoint(S, i);
    out.push_back(S.substr(size_t(i), size_t(next - i)));
    i = next;
  }
  return out;
}

String removeLastCodePoint(const String& S) {
  return S.substr(0, size_t(Utf8PrevCodePoint(S, Integer(S.size()))));
}

template <typename Measure>
void fitToWidth(String& S, Integer MaxWidth, Measure&& Width) {
  if (Width(S) <= MaxWidth) return;
  while (!S.empty() && Width(S + "...") > MaxWidth) S = removeLastCodePoint(S);
  S += "...";
}

}  // namespace

HDC bsCanvasDC(TCanvas* Canvas) {
  CanvasStateAccess::requireAll(Canvas);
  return Canvas->Handle();
}

void CalcCaptionLayout(TbsButtonLayout Layout, const TRect& R, Integer GlyphWidth, Integer GlyphHeight,
                       Integer TextWidth, Integer TextHeight, Integer Spacing, Integer Margin, Integer& TextX,
                       Integer& TextY, Integer& GlyphX, Integer& GlyphY) {
  const Integer cx = R.Left + RectWidth(R) / 2;
  const Integer cy = R.Top + RectHeight(R) / 2;
  if (GlyphWidth == 0) Spacing = 0;
  if (Margin == -1) {
    const Integer hw = (TextWidth + GlyphWidth + Spacing) / 2;
    const Integer hh = (TextHeight + GlyphHeight + Spacing) / 2;
    switch (Layout) {
      case blGlyphLeft:
        GlyphX = cx - hw, GlyphY = cy - GlyphHeight / 2;
        TextX = cx + hw - TextWidth, TextY = cy - TextHeight / 2;
        break;
      case blGlyphRight:
        GlyphX = cx + hw - GlyphWidth, GlyphY = cy - GlyphHeight / 2;
        TextX = cx - hw, TextY = cy - TextHeight / 2;
        break;
      case blGlyphTop:
        GlyphX = cx - GlyphWidth / 2, GlyphY = cy - hh;
        TextX = cx - TextWidth / 2, TextY = cy + hh - TextHeight;
        break;
      case blGlyphBottom:
        GlyphX = cx - GlyphWidth / 2, GlyphY = cy + hh - GlyphHeight;
        TextX = cx - TextWidth / 2, TextY = cy - hh;
        break;
    }
    return;
  }
  switch (Layout) {
    case blGlyphLeft:
      GlyphX = R.Left + Margin, GlyphY = cy - GlyphHeight / 2;
      TextX = GlyphX + GlyphWidth + Spacing, TextY = cy - TextHeight / 2;
      break;
    case blGlyphRight:
      GlyphX = R.Right - GlyphWidth - Margin, GlyphY = cy - GlyphHeight / 2;
      TextX = GlyphX - Spacing - TextWidth, TextY = cy - TextHeight / 2;
      break;
    case blGlyphTop:
      GlyphX = cx - GlyphWidth / 2, GlyphY = R.Top + Margin;
      TextX = cx - TextWidth / 2, TextY = GlyphY + GlyphHeight + Spacing;
      break;
    case blGlyphBottom:
      GlyphX = cx - GlyphWidth / 2, GlyphY = R.Bottom - GlyphHeight - Margin;
      TextX = cx - TextWidth / 2, TextY = GlyphY - Spacing - TextHeight;
      break;
  }
}

void DrawCaptionWithImage(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TbsButtonLayout Layout, const String& Caption, Integer ImageIndex,
                          TCustomImageList* ImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                          TColor AColorMarkerValue) {
  drawCaption(Canvas, R, Margin, Spacing, Layout, Caption,
              imageListGlyph(Canvas, ImageIndex, ImageList, AEnabled), ADown, ADrawColorMarker,
              AColorMarkerValue, true, false);
}

void DrawCaptionWithImageLeft(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                              TbsButtonLayout Layout, const String& Caption, Integer ImageIndex,
                              TCustomImageList* ImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                              TColor AColorMarkerValue) {
  drawCaption(Canvas, R, Margin, Spacing, Layout, Caption,
              imageListGlyph(Canvas, ImageIndex, ImageList, AEnabled), ADown, ADrawColorMarker,
              AColorMarkerValue, false, false);
}

void DrawCaptionWithGlyph(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TbsButtonLayout Layout, const String& Caption, TBitmap* Glyph,
                          TbsNumGlyphs NumGlyphs, Integer GlyphNum, bool ADown, bool ADrawColorMarker,
                          TColor AColorMarkerValue) {
  CaptionGlyph g;
  if (Glyph != nullptr && !Glyph->Empty()) {
    g.Width = Glyph->Width() / (NumGlyphs < 1 ? 1 : NumGlyphs);
    g.Height = Glyph->Height();
    g.MarkerWidth = Glyph->Width();
    g.MarkerHeight = Glyph->Height();
    g.Draw = [=](Integer X, Integer Y) { DrawGlyphFrame(Canvas, X, Y, Glyph, NumGlyphs, GlyphNum); };
  }
  drawCaption(Canvas, R, Margin, Spacing, Layout, Caption, g, ADown, ADrawColorMarker, AColorMarkerValue,
              true, true);
}

void DrawGlyphFrame(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Glyph, TbsNumGlyphs NumGlyphs,
                    Integer GlyphNum) {
  if (Glyph == nullptr || Glyph->Empty()) return;
  // A state count below 1 would divide by zero: it counts as a single state.
  if (NumGlyphs < 1) NumGlyphs = 1;
  const Integer w = Glyph->Width() / NumGlyphs;
  if (w <= 0) return;
  const Integer h = Glyph->Height();
  const Integer left = (GlyphNum - 1) * w;
  // A 32-bit picture with its own opacity (a faded disabled picture, smooth edges) is blended by it:
  // through a key colour its half-clear ink would come out solid.
  if (Glyph->PixelFormat() == pf32bit && !Glyph->Transparent() && left >= 0 && left + w <= Glyph->Width()) {
    TRawImage cell;
    cell.Allocate(w, h, 32);
    bool hasAlpha = false;
    for (Integer y = 0; y < h; ++y) {
      const Byte* src = Glyph->ScanLine(y) + 4 * left;
      std::memcpy(cell.Row(y), src, size_t(4 * w));
      for (Integer x = 0; x < w && !hasAlpha; ++x) hasAlpha = src[4 * x + 3] != 0;
    }
    // Drawn with GDI only, a 32-bit picture leaves every alpha at 0: it keeps its key colour.
    if (hasAlpha) {
      DrawStraightAlpha(Canvas, Bounds(X, Y, w, h), cell);
      return;
    }
  }
  TBitmap frame(w, h);
  frame.Canvas()->CopyRect(Rect(0, 0, w, h), Glyph->Canvas(), Rect(left, 0, left + w, h));
  frame.SetTransparent(true);
  Canvas->Draw(X, Y, &frame);
}

Integer DrawWideText(TCanvas* Canvas, const String& S, TRect& R, Cardinal Flags) {
  return DrawText(bsCanvasDC(Canvas), S, &R, Flags);
}

Integer WideTextWidth(TCanvas* Canvas, const String& S) {
  TRect r;
  DrawWideText(Canvas, S, r, DT_CALCRECT);
  return RectWidth(r);
}

Integer WideTextHeight(TCanvas* Canvas, const String& S) {
  TRect r;
  DrawWideText(Canvas, S, r, DT_CALCRECT);
  return RectHeight(r);
}

void FitWideTextToWidth(TCanvas* Canvas, String& S, Integer MaxWidth) {
  fitToWidth(S, MaxWidth, [&](const String& T) { return WideTextWidth(Canvas, T); });
}

void FitTextToWidth(TCanvas* Canvas, String& S, Integer MaxWidth) {
  fitToWidth(S, MaxWidth, [&](const String& T) { return Canvas->TextWidth(T); });
}

void DrawTextCenteredEx(TCanvas* Canvas, const String& S, const TRect& R) {
  drawSingleLine(Canvas, S, R, DT_CENTER, true);
}

void DrawTextLeftEx(TCanvas* Canvas, const String& S, const TRect& R) {
  drawSingleLine(Canvas, S, R, DT_LEFT, true);
}

void DrawTextLeft(TCanvas* Canvas, const String& S, const TRect& R) {
  drawSingleLine(Canvas, S, R, DT_LEFT, false);
}

void DrawTextAligned(TCanvas* Canvas, const String& S, const TRect& R, TAlignment Alignment) {
  const Cardinal align = Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
  drawSingleLine(Canvas, S, R, align, false);
}

String WrapTextForWidth(TCanvas* Canvas, const String& S, Integer Width, bool ABreakLongWords) {
  const HDC dc = bsCanvasDC(Canvas);
  auto lineWidth = [&](const String& Line) {
    TRect r;
    DrawText(dc, Line, &r, DT_CALCRECT);
    return RectWidth(r);
  };
  // Output as code points, so the "..." of a cut word replaces whole characters.
  std::vector<String> out;
  String line;
  bool skippingWord = false;
  for (const String& ch : codePoints(S)) {
    const bool blank = ch == " ";
    if (skippingWord) {
      if (!blank) continue;
      skippingWord = false;
      out.push_back(ch);
      line.clear();
      continue;
    }
    line += ch;
    if (blank || lineWidth(line) <= Width) {
      out.push_back(ch);
      if (blank) line.clear();
      continue;
    }
    if (ABreakLongWords) {
      // The character opens the new line, so the line after a break is measured with it.
      out.push_back(" ");
      out.push_back(ch);
      line = ch;
    } else {
      if (out.size() > 3) {
        out.resize(out.size() - 3);
        for (int i = 0; i < 3; ++i) out.push_back(".");
      }
      out.push_back(" ");
      skippingWord = true;
    }
  }
  String result;
  for (const String& ch : out) result += ch;
  return result;
}

void DrawWrappedText(TCanvas* Canvas, const String& S, const TRect& R, bool ABreakLongWords) {
  if (S.empty()) return;
  const String text = WrapTextForWidth(Canvas, S, RectWidth(R), ABreakLongWords);
  TRect r = R;
  if (fontHeightIsOdd(Canvas)) r.Top -= 1;
  DrawText(bsCanvasDC(Canvas), text, &r, DT_WORDBREAK | DT_CENTER);
}

void TextRectLeftIndent(TCanvas* Canvas, const String& S, const TRect& R, Integer Indent) {
  if (S.empty()) return;
  Integer y = R.Top + RectHeight(R) / 2 - Canvas->TextHeight(S) / 2;
  if (fontHeightIsOdd(Canvas)) y -= 1;
  Canvas->TextRect(R, R.Left + Indent + 2, y, S);
}

void TextRectLeft(TCanvas* Canvas, const String& S, const TRect& R) {
  TextRectLeftIndent(Canvas, S, R, 0);
}

void DrawSmallDownArrow(TCanvas* Canvas, const TRect& R, TColor Color) {
  const Integer cx = R.Left + RectWidth(R) / 2, cy = R.Top + RectHeight(R) / 2;
  Canvas->Pen()->SetColor(Color);
  hLine(Canvas, cx - 2, cx + 3, cy);
  hLine(Canvas, cx - 1, cx + 2, cy + 1);
  hLine(Canvas, cx, cx + 1, cy + 2);
}

namespace {

// Triangles of Lines lines; the widest line is 2 * (Lines - 1) + 1 pixels.
void drawTriangle(TCanvas* Canvas, const TRect& R, TColor Color, Integer Kind, Integer Lines) {
  const Integer cx = R.Left + RectWidth(R) / 2, cy = R.Top + RectHeight(R) / 2;
  Canvas->Pen()->SetColor(Color);
  switch (Kind) {
    case 1:
      for (Integer i = 0; i < Lines; ++i) vLine(Canvas, cx - 2 + i, cy - i, cy + i + 1);
      break;
    case 2:
      for (Integer n = Lines - 1; n >= 0; --n) vLine(Canvas, cx + 2 - n, cy - n, cy + n + 1);
      break;
    case 3:
      for (Integer i = 0; i < Lines; ++i) hLine(Canvas, cx - i, cx + i + 1, cy - 2 + i);
      break;
    case 4:
      for (Integer n = Lines - 1; n >= 0; --n) hLine(Canvas, cx - n, cx + n + 1, cy + 2 - n);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Kind) {
  if (Kind == 5) {
    const Integer cx = R.Left + RectWidth(R) / 2, cy = R.Top + RectHeight(R) / 2;
    Canvas->Pen()->SetColor(Color);
    hLine(Canvas, cx - 4, cx + 4, cy - 1);
    hLine(Canvas, cx - 4, cx + 4, cy);
    vLine(Canvas, cx - 1, cy - 4, cy + 4);
    vLine(Canvas, cx, cy - 4, cy + 4);
    return;
  }
  drawTriangle(Canvas, R, Color, Kind, 4);
}

void DrawBigArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Kind) {
  drawTriangle(Canvas, R, Color, Kind, 6);
}

void DrawRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetColor(Color);
  Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  for (Integer i = 0; i <= 2; ++i)
    Canvas->Polyline({Point(X, Y + 5 - i), Point(X + 2, Y + 7 - i), Point(X + 7, Y + 2 - i)});
}

void DrawFrame3D(TCanvas* Canvas, TRect R, TColor TopLeftColor, TColor BottomRightColor) {
  Canvas->Pen()->SetWidth(1);
  R.Right -= 1;
  R.Bottom -= 1;
  Canvas->Pen()->SetColor(TopLeftColor);
  Canvas->Polyline({Point(R.Left, R.Bottom), Point(R.Left, R.Top), Point(R.Right, R.Top)});
  Canvas->Pen()->SetColor(BottomRightColor);
  Canvas->Polyline({Point(R.Right, R.Top), Point(R.Right, R.Bottom), Point(R.Left - 1, R.Bottom)});
}

TColor DarkerColor(TColor Color, Integer Percent) {
  const COLORREF c = ColorToRGB(Color);
  // Above 100 percent the difference would go below zero: black is as dark as it gets.
  auto darker = [&](Integer v) { return Byte(IntMax(0, v - MulDiv(v, Percent, 100))); };
  return TColor(RGB(darker(GetRValue(c)), darker(GetGValue(c)), darker(GetBValue(c))));
}

bool RectInsideRect(const TRect& Inner, const TRect& Outer) {
  return PtInRect(&Outer, Inner.TopLeft()) && PtInRect(&Outer, Inner.BottomRight());
}

bool RectEdgeInRect(const TRect& R, const TRect& Area) {
  return PtInRect(&Area, Point(Area.Left + 1, R.Top)) || PtInRect(&Area, Point(Area.Right - 1, R.Bottom));
}
