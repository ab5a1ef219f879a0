// Text output and measuring of the graphics platform: TextOut, ExtTextOut, extents, tabbed text and
// DrawText with the platform's flag rules. Strings are UTF-8; everything counted (fit, lengths drawn)
// counts code points, and a malformed byte stands for U+FFFD.
//
// Include note: gdi.h includes this header at its end, so users of gdi.h get the font and text calls;
// this header includes font.h at its own end for the same reason.
//
// Glyphs are blended in the DC's text colour by their coverage (alpha 0 in 32-bit surfaces); in OPAQUE
// background mode the text cell (advance width x tmHeight) is first filled with the background colour.
#pragma once

#include <vector>

#include "platform/gdi/gdi.h"

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// Draws text at logical (x, y) placed by the DC's text alignment (TA_LEFT/TA_CENTER/TA_RIGHT against x,
// TA_TOP/TA_BASELINE/TA_BOTTOM against y; TA_UPDATECP is not supported and reads as TA_NOUPDATECP).
bool TextOut(HDC dc, Integer x, Integer y, const String& text);
// As TextOut; ETO_OPAQUE first fills *rect with the background colour, ETO_CLIPPED keeps the text inside
// *rect. Both need a rect; without one they are ignored.
bool ExtTextOut(HDC dc, Integer x, Integer y, UINT options, const TRect* rect, const String& text);

// Width (sum of advances) and height (tmHeight) of one line of text; tabs count as spaces.
bool GetTextExtentPoint32(HDC dc, const String& text, TSize* size);
// As GetTextExtentPoint32, and also: *fit = the code points whose extent is at most maxExtent; (*dx)[i] =
// the extent of the first i + 1 code points. fit and dx may be null.
bool GetTextExtentExPoint(HDC dc, const String& text, Integer maxExtent, Integer* fit,
                          std::vector<Integer>* dx, TSize* size);

// Tab stops, counted from tabOrigin: none (tabCount 0 or tabStops null): every 8 average character widths;
// one: every tabStops[0] pixels; more: the first listed stop right of the pen (negative values count as
// positive), and past all of them the 8-character grid. Returns height << 16 | width (low 16 bits),
// 0 on failure.
// TabbedTextOut places the line by the DC's text alignment as TextOut does.
LONG TabbedTextOut(HDC dc, Integer x, Integer y, const String& text, Integer tabCount,
                   const Integer* tabStops, Integer tabOrigin);
DWORD GetTabbedTextExtent(HDC dc, const String& text, Integer tabCount, const Integer* tabStops);

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;  // single line only
constexpr UINT DT_BOTTOM = 0x00000008;   // single line only
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;  // accepted, no effect
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;

struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  Integer iTabLength = 0;  // tab stops in average character widths; 0 = 8
  Integer iLeftMargin = 0;
  Integer iRightMargin = 0;
  UINT uiLengthDrawn = 0;  // out: code points processed
};

// Lays text out in *rect and draws it (or with DT_CALCRECT only measures it: Right := Left + the widest
// line, Bottom := Top + the text height; nothing is drawn). Returns the text height; with DT_SINGLELINE
// and DT_VCENTER or DT_BOTTOM the distance from rect->Top to the bottom of the drawn line; 0 on failure.
//   Lines end at CR LF, CR or LF (a final line break starts one more, empty line); DT_SINGLELINE keeps one
//   line. DT_WORDBREAK breaks lines after blanks and around CJK characters, never inside a word: a word
//   wider than the line stands alone on its line and overflows. Blanks where a line breaks are dropped.
//   "&x" draws x underlined (DT_HIDEPREFIX: not underlined), "&&" draws "&", a final lone "&" is dropped;
//   DT_NOPREFIX draws "&" as it is. DT_EXPANDTABS puts tab stops every 8 average character widths from
//   the line start; without it a tab is a space.
//   Ellipses, for each line wider than the rectangle: DT_END_ELLIPSIS and DT_WORD_ELLIPSIS keep the
//   characters that fit with "..."; DT_PATH_ELLIPSIS keeps the last "/" or "\" part and cuts before it
//   (without a separator it cuts at the end). With DT_WORDBREAK, DT_END_ELLIPSIS shortens only the last
//   line; an over-long word before it is clipped. Without DT_NOCLIP drawing stays inside *rect.
//   Empty text (also after prefix processing) has no line: height 0.
Integer DrawText(HDC dc, const String& text, TRect* rect, UINT format);
// As DrawText with margins, tab length and the length drawn. With DT_MODIFYSTRING and an ellipsis flag,
// *text becomes the text as shown (each shortened line's source replaced by its kept part plus "...").
Integer DrawTextEx(HDC dc, String* text, TRect* rect, UINT format, DRAWTEXTPARAMS* params);

#include "platform/gdi/font.h"
