// DrawText: prefix processing, line breaking, tab expansion, ellipses and placement in a rectangle.
#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/rtl/strings.h"

namespace {

// A character of the text after prefix processing, with the source bytes it stands for (a prefix "&"
// belongs to the character after it); inserted ellipsis dots have no source.
struct TDtChar {
  char32_t Code = 0;
  Integer Begin = -1;
  Integer End = -1;
  bool Underline = false;
};

using TDtChars = std::vector<TDtChar>;

struct TDtLine {
  TDtChars Chars;
  std::vector<TTextRunItem> Run;
  Integer Width = 0;
  bool Shortened = false;
};

bool isBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == 0x3000;
}

bool isCjk(char32_t c) {
  return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
         (c >= 0x20000 && c <= 0x3FFFF);
}

bool contains(std::u32string_view set, char32_t c) {
  return set.find(c) != std::u32string_view::npos;
}

// No line may start with these, nor end with the opening ones.
bool isClosingPunct(char32_t c) {
  return contains(U",.;:!?)]}%，。、；：？！）】》」』〉〕〗〙〛”’…·～％", c);
}
bool isOpeningPunct(char32_t c) {
  return contains(U"([{（【《「『〈〔〖〘〚“‘", c);
}

// A line may break between chars[j - 1] and chars[j].
bool breakBefore(const TDtChars& chars, size_t j) {
  char32_t prev = chars[j - 1].Code, cur = chars[j].Code;
  if (isBlank(cur)) return false;
  if (isBlank(prev)) return true;
  if (isClosingPunct(cur) || isOpeningPunct(prev)) return false;
  return isCjk(prev) || isCjk(cur);
}

// Characters of text with prefixes resolved.
TDtChars decodeText(const String& text, UINT format) {
  TDtChars chars;
  bool prefixes = !(format & DT_NOPREFIX);
  Integer n = Integer(text.size());
  Integer at = 0, pendingBegin = -1;
  bool pendingUnderline = false;
  while (at < n) {
    Integer size = 0;
    char32_t code = Utf8Decode(text, at, &size);
    size = std::max(1, size);
    if (prefixes && code == U'&' && pendingBegin < 0) {
      if (at + 1 < n && text[size_t(at + 1)] == '&') {
        chars.push_back({U'&', at, at + 2, false});
        at += 2;
        continue;
      }
      pendingBegin = at;
      pendingUnderline = !(format & DT_HIDEPREFIX);
      at += size;
      continue;
    }
    TDtChar c{code, pendingBegin >= 0 ? pendingBegin : at, at + size, pendingUnderline};
    chars.push_back(c);
    pendingBegin = -1;
    pendingUnderline = false;
    at += size;
  }
  return chars;
}

class TDtLayout {
 public:
  TDtLayout(TFontInstance& font, UINT format, Integer tabLength)
      : FFont(font), FFormat(format), FTabWidth(std::max(1, tabLength * font.Metrics().tmAveCharWidth)) {}

  Integer Advance(char32_t code, Integer x) const {
    if (code == U'\t' && (FFormat & DT_EXPANDTABS)) return (x / FTabWidth + 1) * FTabWidth - x;
    return FFont.Advance(code);
  }

  // Run items and width of a line.
  void Measure(TDtLine& line) const {
    line.Run.clear();
    Int64 x = 0;
    for (const TDtChar& c : line.Chars) {
      Integer adv = Advance(c.Code, Integer(std::min<Int64>(x, 0x3FFFFFFF)));
      line.Run.push_back({c.Code, adv, c.Underline});
      x += adv;
    }
    line.Width = Integer(std::min<Int64>(x, 0x3FFFFFFF));
  }

  // Splits chars[begin, end) into lines no wider than width where words allow.
  void Wrap(const TDtChars& chars, size_t begin, size_t end, Integer width,
            std::vector<TDtLine>& lines) const {
    size_t i = begin;
    bool first = true;
    while (true) {
      if (!first)
        while (i < end && isBlank(chars[i].Code)) ++i;
      if (!first && i >= end) return;
      size_t lineStart = i, breakAt = 0, j = i;
      Int64 x = 0;
      for (; j < end; ++j) {
        if (j > lineStart && breakBefore(chars, j)) breakAt = j;
        Integer adv = Advance(chars[j].Code, Integer(std::min<Int64>(x, 0x3FFFFFFF)));
        if (!isBlank(chars[j].Code) && x + adv > width && breakAt > lineStart) break;
        x += adv;
      }
      size_t lineEnd = j < end ? breakAt : end;
      size_t trimmed = lineEnd;
      if (lineEnd < end)
        while (trimmed > lineStart && isBlank(chars[trimmed - 1].Code)) --trimmed;
      TDtLine line;
      line.Chars.assign(chars.begin() + std::ptrdiff_t(lineStart), chars.begin() + std::ptrdiff_t(trimmed));
      Measure(line);
      lines.push_back(std::move(line));
      if (lineEnd >= end) return;
      i = lineEnd;
      first = false;
    }
  }

  // Shortens a line wider than width by the ellipsis flags.
  void Shorten(TDtLine& line, Integer width) const {
    if (line.Width <= width) return;
    if (FFormat & DT_PATH_ELLIPSIS) {
      size_t sep = line.Chars.size();
      for (size_t k = line.Chars.size(); k-- > 0;)
        if (line.Chars[k].Code == U'/' || line.Chars[k].Code == U'\\') {
          sep = k;
          break;
        }
      if (sep < line.Chars.size()) {
        TDtLine tail;
        tail.Chars.assign(line.Chars.begin() + std::ptrdiff_t(sep), line.Chars.end());
        Measure(tail);
        size_t keep = fitting(line, width - ellipsisWidth() - tail.Width, sep);
        TDtChars shown(line.Chars.begin(), line.Chars.begin() + std::ptrdiff_t(keep));
        appendEllipsis(shown);
        shown.insert(shown.end(), tail.Chars.begin(), tail.Chars.end());
        line.Chars = std::move(shown);
        line.Shortened = true;
        Measure(line);
        if (line.Width <= width || !(FFormat & DT_END_ELLIPSIS)) return;
      }
    }
    size_t keep = fitting(line, width - ellipsisWidth(), line.Chars.size());
    line.Chars.resize(keep);
    appendEllipsis(line.Chars);
    line.Shortened = true;
    Measure(line);
  }

 private:
  TFontInstance& FFont;
  UINT FFormat;
  Integer FTabWidth;

  Integer ellipsisWidth() const { return 3 * FFont.Advance(U'.'); }

  static void appendEllipsis(TDtChars& chars) {
    for (int k = 0; k < 3; ++k) chars.push_back({U'.', -1, -1, false});
  }

  // The most leading characters (at most limit) of a measured line whose extent is within width.
  static size_t fitting(const TDtLine& line, Integer width, size_t limit) {
    Int64 x = 0;
    size_t k = 0;
    for (; k < limit && k < line.Run.size(); ++k) {
      if (x + line.Run[k].Advance > width) break;
      x += line.Run[k].Advance;
    }
    return k;
  }
};

// The source text of a shortened line as shown.
String shownSource(const String& text, const TDtChars& chars) {
  String s;
  for (const TDtChar& c : chars)
    if (c.Begin < 0)
      Utf8Append(s, c.Code);
    else
      s.append(text, size_t(c.Begin), size_t(c.End - c.Begin));
  return s;
}

}  // namespace

Integer DrawText(HDC dc, const String& text, TRect* rect, UINT format) {
  String copy = text;
  return DrawTextEx(dc, &copy, rect, format & ~DT_MODIFYSTRING, nullptr);
}

Integer DrawTextEx(HDC dc, String* text, TRect* rect, UINT format, DRAWTEXTPARAMS* params) {
  if (!text || !rect) return 0;
  auto fontPtr = RealizeDCFont(dc);
  if (!fontPtr) return 0;
  TFontInstance& font = *fontPtr;
  const Integer lineHeight = font.Metrics().tmHeight;
  Integer leftMargin = params ? std::max(0, params->iLeftMargin) : 0;
  Integer rightMargin = params ? std::max(0, params->iRightMargin) : 0;
  Integer tabLength = params && params->iTabLength > 0 ? params->iTabLength : 8;
  if (params) params->uiLengthDrawn = UINT(Utf8Length(*text));
  const String source = *text;

  TDtChars chars = decodeText(source, format);
  if (chars.empty()) {
    if (format & DT_CALCRECT) {
      rect->Right = rect->Left;
      rect->Bottom = rect->Top;
    }
    return 0;
  }

  TDtLayout layout(font, format, tabLength);
  const Integer width = rect->Right - rect->Left - leftMargin - rightMargin;
  const bool singleLine = format & DT_SINGLELINE;
  const bool wrap = (format & DT_WORDBREAK) && !singleLine;
  std::vector<TDtLine> lines;
  size_t begin = 0;
  for (size_t i = 0; i <= chars.size(); ++i) {
    bool atBreak = i < chars.size() && !singleLine && (chars[i].Code == U'\r' || chars[i].Code == U'\n');
    if (i < chars.size() && !atBreak) continue;
    if (wrap) {
      layout.Wrap(chars, begin, i, width, lines);
    } else {
      TDtLine line;
      line.Chars.assign(chars.begin() + std::ptrdiff_t(begin), chars.begin() + std::ptrdiff_t(i));
      layout.Measure(line);
      lines.push_back(std::move(line));
    }
    if (atBreak && chars[i].Code == U'\r' && i + 1 < chars.size() && chars[i + 1].Code == U'\n') ++i;
    begin = i + 1;
  }

  if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
    std::vector<std::pair<std::pair<Integer, Integer>, String>> edits;
    for (size_t n = 0; n < lines.size(); ++n) {
      TDtLine& line = lines[n];
      // Wrapped text: an end ellipsis only ends the text; other over-long words are just clipped.
      if (wrap && n + 1 < lines.size() && !(format & (DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))) continue;
      Integer from = line.Chars.empty() ? -1 : line.Chars.front().Begin;
      // The last line owns the rest of the text (a dropped final "&" goes with it).
      Integer to = line.Chars.empty()      ? -1
                   : n + 1 == lines.size() ? Integer(source.size())
                                           : line.Chars.back().End;
      layout.Shorten(line, width);
      if (line.Shortened && from >= 0) edits.push_back({{from, to}, shownSource(source, line.Chars)});
    }
    if (format & DT_MODIFYSTRING)
      for (auto it = edits.rbegin(); it != edits.rend(); ++it)
        text->replace(size_t(it->first.first), size_t(it->first.second - it->first.first), it->second);
  }

  Integer maxWidth = 0;
  for (const TDtLine& line : lines) maxWidth = std::max(maxWidth, line.Width);
  Int64 total = Int64(lineHeight) * Int64(lines.size());
  const Integer textHeight = Integer(std::min<Int64>(total, 0x3FFFFFFF));

  if (format & DT_CALCRECT) {
    rect->Right = rect->Left + maxWidth + leftMargin + rightMargin;
    rect->Bottom = rect->Top + textHeight;
    return textHeight;
  }

  Integer top = rect->Top;
  if (singleLine && (format & DT_VCENTER))
    top = rect->Top + (rect->Bottom - rect->Top - lineHeight) / 2;
  else if (singleLine && (format & DT_BOTTOM))
    top = rect->Bottom - lineHeight;
  const TRect* clip = (format & DT_NOCLIP) ? nullptr : rect;
  TRect visible;
  bool anyVisible = GetClipBox(dc, &visible) != ERROR;
  Integer y = top;
  for (const TDtLine& line : lines) {
    if (anyVisible && y < visible.Bottom && y + lineHeight > visible.Top) {
      Integer x = rect->Left + leftMargin;
      if (format & DT_CENTER)
        x += (width - line.Width) / 2;
      else if (format & DT_RIGHT)
        x = rect->Right - rightMargin - line.Width;
      PaintTextRun(dc, font, x, y, line.Run, clip);
    }
    y += lineHeight;
  }
  if (singleLine && (format & (DT_VCENTER | DT_BOTTOM))) return top + lineHeight - rect->Top;
  return textHeight;
}
