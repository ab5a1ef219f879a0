// The skin library's shared drawing toolbox: caption and glyph placement on button faces, text output
// with the library's pixel corrections, the marks of the look without a skin, and rectangle helpers.
// Free functions without state; they draw with the canvas's current font (and pen and brush where said).
#pragma once

#include "platform/ui/core/wincontrol.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/stdctrls/textalign.h"  // TAlignment: one definition with the standard controls
#include "skin/core/bsbitmap.h"

class TWinControl;

enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// State images laid side by side in one glyph bitmap, 1 to 4.
using TbsNumGlyphs = Integer;

// The canvas's DC with its font, pen and brush selected, for raw text and drawing calls.
HDC bsCanvasDC(TCanvas* Canvas);

// ---- caption layout ----
// Margin -1 centres glyph, spacing and text as one group; any other Margin places the glyph Margin
// pixels from its edge. Spacing counts only when there is a glyph.
void CalcCaptionLayout(TbsButtonLayout Layout, const TRect& R, Integer GlyphWidth, Integer GlyphHeight,
                       Integer TextWidth, Integer TextHeight, Integer Spacing, Integer Margin, Integer& TextX,
                       Integer& TextY, Integer& GlyphX, Integer& GlyphY);
// An index outside the list, a negative one or no list means no image.
void DrawCaptionWithImage(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TbsButtonLayout Layout, const String& Caption, Integer ImageIndex,
                          TCustomImageList* ImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                          TColor AColorMarkerValue);
// The caption left-aligned inside its block.
void DrawCaptionWithImageLeft(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                              TbsButtonLayout Layout, const String& Caption, Integer ImageIndex,
                              TCustomImageList* ImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                              TColor AColorMarkerValue);
// State GlyphNum (1-based) of a NumGlyphs-state glyph; an empty glyph means none.
void DrawCaptionWithGlyph(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TbsButtonLayout Layout, const String& Caption, TBitmap* Glyph,
                          TbsNumGlyphs NumGlyphs, Integer GlyphNum, bool ADown, bool ADrawColorMarker,
                          TColor AColorMarkerValue);
// State GlyphNum drawn transparently at (X, Y); nothing for an empty glyph.
void DrawGlyphFrame(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Glyph, TbsNumGlyphs NumGlyphs,
                    Integer GlyphNum);

// ---- background under a transparent control ----
// The parent's background and the parent's graphic controls below Control, painted into Canvas.
void DrawParentBackground(TWinControl* Control, TCanvas* Canvas);
// The same for the part R of Control (Control's coordinates), drawn at Canvas's origin.
void DrawParentBackgroundAt(TWinControl* Control, const TRect& R, TCanvas* Canvas);

// ---- text ----
// DrawText of S into R with Flags; the text height.
Integer DrawWideText(TCanvas* Canvas, const String& S, TRect& R, Cardinal Flags);
Integer WideTextWidth(TCanvas* Canvas, const String& S);
Integer WideTextHeight(TCanvas* Canvas, const String& S);
// Shortened with "..." (at least "...") when wider than MaxWidth.
void FitWideTextToWidth(TCanvas* Canvas, String& S, Integer MaxWidth);
void FitTextToWidth(TCanvas* Canvas, String& S, Integer MaxWidth);
// Single-line routines; a text beginning with "W" gets 2 more pixels on the right in the "Ex" forms.
// A font of odd height draws one pixel higher. An empty S draws nothing.
void DrawTextCenteredEx(TCanvas* Canvas, const String& S, const TRect& R);
void DrawTextLeftEx(TCanvas* Canvas, const String& S, const TRect& R);
void DrawTextLeft(TCanvas* Canvas, const String& S, const TRect& R);
void DrawTextAligned(TCanvas* Canvas, const String& S, const TRect& R, TAlignment Alignment);
// Word-wrapped and centred; an over-long word is broken (ABreakLongWords) or cut with "...".
void DrawWrappedText(TCanvas* Canvas, const String& S, const TRect& R, bool ABreakLongWords);
// The text that DrawWrappedText lays out: blanks inserted where long words break or "..." where cut.
String WrapTextForWidth(TCanvas* Canvas, const String& S, Integer Width, bool ABreakLongWords);
void TextRectLeft(TCanvas* Canvas, const String& S, const TRect& R);
void TextRectLeftIndent(TCanvas* Canvas, const String& S, const TRect& R, Integer Indent);

// ---- marks and frames of the look without a skin (Color sets the pen) ----
void DrawSmallDownArrow(TCanvas* Canvas, const TRect& R, TColor Color);
// Kind 1 left, 2 right, 3 up, 4 down, 5 plus; other kinds draw nothing.
void DrawArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Kind);
// Kinds 1 to 4, eleven pixels across at the base.
void DrawBigArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Kind);
// A solid 6 x 6 square (pen and brush in Color).
void DrawRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawFrame3D(TCanvas* Canvas, TRect R, TColor TopLeftColor, TColor BottomRightColor);

// ---- colour and geometry ----
// Each of red, green and blue less MulDiv(channel, Percent, 100); system colours resolved first.
TColor DarkerColor(TColor Color, Integer Percent);
inline Integer IntMax(Integer A, Integer B) {
  return A > B ? A : B;
}
inline Integer IntMin(Integer A, Integer B) {
  return A < B ? A : B;
}
// Throughout the skin data an empty rectangle means the skin does not define the item.
inline bool IsEmptyRect(const TRect& R) {
  return RectWidth(R) <= 0 || RectHeight(R) <= 0;
}
inline void ZeroRect(TRect& R) {
  R = TRect{};
}
inline bool SameRect(const TRect& A, const TRect& B) {
  return A == B;
}
inline bool PointHasZeroCoord(const TPoint& P) {
  return P.X == 0 || P.Y == 0;
}
// All four edges inclusive.
inline bool PointInsideRect(const TRect& R, const TPoint& P) {
  return R.Left <= P.X && P.X <= R.Right && R.Top <= P.Y && P.Y <= R.Bottom;
}
// Both corners of Inner inside Outer, Outer's right and bottom edges excluded.
bool RectInsideRect(const TRect& Inner, const TRect& Outer);
// R's top or bottom row lies within Area's rows.
bool RectEdgeInRect(const TRect& R, const TRect& Area);
