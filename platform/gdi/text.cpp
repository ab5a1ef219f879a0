// Single-line text: runs of glyphs painted onto a DC, TextOut, ExtTextOut, extents and tabbed text.
#include "platform/gdi/text.h"

#include <algorithm>

#include "platform/rtl/strings.h"

namespace {

Integer runWidth(const std::vector<TTextRunItem>& run) {
  Int64 w = 0;
  for (const TTextRunItem& item : run) w += item.Advance;
  return Integer(std::clamp<Int64>(w, 0, 0x3FFFFFFF));
}

// Fills r (narrowed to clip) with a colour.
void fillClipped(HDC dc, TRect r, const TRect* clip, COLORREF color) {
  if (clip && !IntersectRect(&r, &r, clip)) return;
  if (IsRectEmpty(&r)) return;
  GdiFillSolidRect(dc, r, color);
}

Integer floorDiv(Integer a, Integer b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The first tab stop right of pos (relative to the tab origin).
Integer nextTabStop(Integer pos, Integer count, const Integer* stops, Integer defaultWidth) {
  Integer interval = std::max(1, defaultWidth);
  if (stops && count == 1 && stops[0] != 0) interval = std::abs(stops[0]);
  if (stops && count > 1) {
    for (Integer i = 0; i < count; ++i)
      if (std::abs(stops[i]) > pos) return std::abs(stops[i]);
  }
  return (floorDiv(pos, interval) + 1) * interval;
}

// Run items of a tabbed line whose pen starts at x.
std::vector<TTextRunItem> tabbedRun(TFontInstance& font, const String& text, Integer x, Integer tabCount,
                                    const Integer* tabStops, Integer tabOrigin) {
  std::vector<TTextRunItem> run = MakeTextRun(font, text);
  Integer defaultWidth = 8 * font.Metrics().tmAveCharWidth;
  Integer pen = x;
  for (TTextRunItem& item : run) {
    if (item.Code == U'\t')
      item.Advance = tabOrigin + nextTabStop(pen - tabOrigin, tabCount, tabStops, defaultWidth) - pen;
    pen += item.Advance;
  }
  return run;
}

// Draws a laid-out run at (x, y) by the DC's text alignment; ETO_ options as ExtTextOut.
bool drawAligned(HDC dc, TFontInstance& font, Integer x, Integer y, UINT options, const TRect* rect,
                 const std::vector<TTextRunItem>& run) {
  const TEXTMETRIC& tm = font.Metrics();
  UINT align = GetTextAlign(dc);
  if (align == GDI_ERROR) return false;
  Integer width = runWidth(run);
  Integer left = x;
  if ((align & TA_CENTER) == TA_CENTER)
    left = x - width / 2;
  else if (align & TA_RIGHT)
    left = x - width;
  Integer top = y;
  if ((align & TA_BASELINE) == TA_BASELINE)
    top = y - tm.tmAscent;
  else if (align & TA_BOTTOM)
    top = y - tm.tmHeight;
  if (rect && (options & ETO_OPAQUE)) fillClipped(dc, *rect, nullptr, GetBkColor(dc));
  const TRect* clip = rect && (options & ETO_CLIPPED) ? rect : nullptr;
  if (clip && IsRectEmpty(clip)) return true;
  PaintTextRun(dc, font, left, top, run, clip);
  return true;
}

}  // namespace

std::vector<TTextRunItem> MakeTextRun(TFontInstance& font, const String& text) {
  std::vector<TTextRunItem> run;
  run.reserve(text.size());
  Integer size = 0;
  for (Integer at = 0; at < Integer(text.size()); at += std::max(1, size)) {
    char32_t code = Utf8Decode(text, at, &size);
    run.push_back({code, font.Advance(code), false});
  }
  return run;
}

void PaintTextRun(HDC dc, TFontInstance& font, Integer x, Integer top, const std::vector<TTextRunItem>& run,
                  const TRect* clip) {
  const TEXTMETRIC& tm = font.Metrics();
  Integer width = runWidth(run);
  COLORREF color = GetTextColor(dc);
  if (GetBkMode(dc) == OPAQUE)
    fillClipped(dc, Rect(x, top, x + width, top + tm.tmHeight), clip, GetBkColor(dc));
  TRect box;
  if (GetClipBox(dc, &box) == ERROR) return;
  if (clip && !IntersectRect(&box, &box, clip)) return;
  Integer baseline = top + tm.tmAscent;
  Integer pen = x;
  for (const TTextRunItem& item : run) {
    // Skip glyphs that lie wholly outside what can be drawn (italic overhang kept by the margin).
    if (pen + item.Advance + tm.tmHeight >= box.Left && pen - tm.tmHeight < box.Right) {
      auto glyph = font.Glyph(item.Code);
      if (glyph && !glyph->Coverage.empty())
        GdiDrawCoverage(dc, pen + glyph->Left, baseline - glyph->Top, glyph->Coverage.data(), glyph->Width,
                        glyph->Height, glyph->Width, color, clip);
    }
    if (item.Underline)
      fillClipped(dc,
                  Rect(pen, top + font.UnderlineTop(), pen + item.Advance,
                       top + font.UnderlineTop() + font.LineThickness()),
                  clip, color);
    pen += item.Advance;
  }
  Integer thick = font.LineThickness();
  if (font.Underline())
    fillClipped(dc, Rect(x, top + font.UnderlineTop(), x + width, top + font.UnderlineTop() + thick), clip,
                color);
  if (font.StrikeOut())
    fillClipped(dc, Rect(x, top + font.StrikeOutTop(), x + width, top + font.StrikeOutTop() + thick), clip,
                color);
}

bool TextOut(HDC dc, Integer x, Integer y, const String& text) {
  return ExtTextOut(dc, x, y, 0, nullptr, text);
}

bool ExtTextOut(HDC dc, Integer x, Integer y, UINT options, const TRect* rect, const String& text) {
  auto font = RealizeDCFont(dc);
  if (!font) return false;
  return drawAligned(dc, *font, x, y, options, rect, MakeTextRun(*font, text));
}

bool GetTextExtentPoint32(HDC dc, const String& text, TSize* size) {
  return GetTextExtentExPoint(dc, text, 0, nullptr, nullptr, size);
}

bool GetTextExtentExPoint(HDC dc, const String& text, Integer maxExtent, Integer* fit,
                          std::vector<Integer>* dx, TSize* size) {
  auto font = RealizeDCFont(dc);
  if (!font) return false;
  std::vector<TTextRunItem> run = MakeTextRun(*font, text);
  if (dx) dx->clear();
  Int64 extent = 0;
  Integer fitted = 0;
  bool fitting = true;
  for (const TTextRunItem& item : run) {
    extent += item.Advance;
    if (fitting && extent <= maxExtent)
      ++fitted;
    else
      fitting = false;
    if (dx) dx->push_back(Integer(std::min<Int64>(extent, 0x3FFFFFFF)));
  }
  if (fit) *fit = fitted;
  if (size) *size = TSize{runWidth(run), font->Metrics().tmHeight};
  return true;
}

LONG TabbedTextOut(HDC dc, Integer x, Integer y, const String& text, Integer tabCount,
                   const Integer* tabStops, Integer tabOrigin) {
  auto font = RealizeDCFont(dc);
  if (!font) return 0;
  std::vector<TTextRunItem> run = tabbedRun(*font, text, x, tabCount, tabStops, tabOrigin);
  if (!drawAligned(dc, *font, x, y, 0, nullptr, run)) return 0;
  return LONG((Cardinal(font->Metrics().tmHeight) << 16) | (Cardinal(runWidth(run)) & 0xFFFF));
}

DWORD GetTabbedTextExtent(HDC dc, const String& text, Integer tabCount, const Integer* tabStops) {
  auto font = RealizeDCFont(dc);
  if (!font) return 0;
  std::vector<TTextRunItem> run = tabbedRun(*font, text, 0, tabCount, tabStops, 0);
  return (Cardinal(font->Metrics().tmHeight) << 16) | (Cardinal(runWidth(run)) & 0xFFFF);
}
