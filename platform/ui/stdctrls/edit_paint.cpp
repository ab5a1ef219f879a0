// The platform edit's layout (where each character goes) and painting.
#include <algorithm>

#include "platform/rtl/strings.h"
#include "platform/ui/stdctrls/edit.h"

namespace {

// A memory DC with a font, for measuring.
bool isBlank(char32_t C) {
  return C == U' ' || C == U'\t';
}
// CJK text may break between any two of its characters.
bool isWide(char32_t C) {
  return C >= 0x2E80;
}

class TMeasureDC {
 public:
  explicit TMeasureDC(HFONT Font) : FDC(CreateCompatibleDC(nullptr)), FOld(SelectObject(FDC, Font)) {}
  ~TMeasureDC() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
  }
  HDC Handle() const { return FDC; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace

Integer TCustomEdit::LineHeight() {
  if (FLineHeight == 0) {
    TMeasureDC DC(editFont());
    TEXTMETRIC TM;
    GetTextMetrics(DC.Handle(), &TM);
    FLineHeight = std::max<Integer>(1, TM.tmHeight);
  }
  return FLineHeight;
}

TRect TCustomEdit::DefaultFormatRect() const {
  RECT R{0, 0, 0, 0};
  if (FHandle) ::GetClientRect(FHandle, &R);
  return R;
}

TRect TCustomEdit::FormatRect() const {
  return FRectSet ? FRect : DefaultFormatRect();
}

void TCustomEdit::SetEditColors(COLORREF Text, COLORREF Back) {
  FOwnColors = true;
  FOwnText = Text;
  FOwnBack = Back;
  if (FOwnBrush) DeleteObject(FOwnBrush);
  FOwnBrush = CreateSolidBrush(Back);
  if (HandleAllocated()) Invalidate();
}

TRect TCustomEdit::textArea() const {
  TRect R = FormatRect();
  R.Left += FLeftMargin;
  R.Right = std::max(R.Left, R.Right - FRightMargin);
  return R;
}

Integer TCustomEdit::VisibleLineCount() {
  if (!Multiline()) return 1;
  return std::max(1, textArea().Height() / LineHeight());
}

void TCustomEdit::SetWrapping(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  FScrollX = 0;
  invalidateLayout();
  if (FHandle) edited(false);
}

const std::vector<TCustomEdit::TRow>& TCustomEdit::rows() {
  if (FRowsValid) return FRows;
  FRows.clear();
  FExtents.clear();
  FExtentsMeasured.clear();
  addRows(0);
  FRowsValid = true;
  return FRows;
}

void TCustomEdit::addRows(Integer From) {
  const std::u32string& T = FBuffer.Chars();
  const Integer Width = textArea().Width();
  const bool Wrap = FWordWrap && Multiline() && Width > 0;
  Integer Start = From;
  for (;;) {
    const size_t Break = Multiline() ? T.find(U'\n', size_t(Start)) : std::u32string::npos;
    const Integer End = Break == std::u32string::npos ? Integer(T.size()) : Integer(Break);
    if (Wrap && End > Start) {
      buildWrappedRows(T.substr(Start, End - Start), Start, Width);
    } else {
      FRows.push_back({Start, End - Start, false});
      // An unwrapped row is measured when first needed; an empty wrapped one has nothing to measure.
      FExtents.emplace_back();
      FExtentsMeasured.push_back(Wrap);
    }
    if (Break == std::u32string::npos) break;
    Start = End + 1;
  }
}

void TCustomEdit::rowsAppended() {
  if (!FRowsValid || FRows.empty()) return;
  // The old last line may have grown: its rows are made again, every row before it stays.
  size_t First = FRows.size() - 1;
  while (First > 0 && FRows[First - 1].Soft) --First;
  const Integer LineStart = FRows[First].Start;
  FRows.resize(First);
  FExtents.resize(First);
  FExtentsMeasured.resize(First);
  addRows(LineStart);
}

void TCustomEdit::buildWrappedRows(const std::u32string& Line, Integer Start, Integer Width) {
  std::u32string S = Line;
  if (FPasswordChar != 0) std::fill(S.begin(), S.end(), FPasswordChar);
  std::vector<Integer> Ext;
  {
    TMeasureDC DC(editFont());
    TSize Size;
    GetTextExtentExPoint(DC.Handle(), Utf32ToUtf8(S), 0, nullptr, &Ext, &Size);
  }
  const Integer N = Integer(S.size());
  Ext.resize(S.size(), Ext.empty() ? 0 : Ext.back());
  auto canBreakBefore = [&](Integer I) { return isBlank(S[I - 1]) || isWide(S[I - 1]) || isWide(S[I]); };
  Integer From = 0;
  while (From < N) {
    const Integer Base = From > 0 ? Ext[From - 1] : 0;
    Integer Over = From;  // the first character that does not fit
    while (Over < N && Ext[Over] - Base <= Width) ++Over;
    Integer End = N;
    if (Over < N) {
      if (isBlank(S[Over])) {
        // Blanks hang past the edge.
        End = Over;
        while (End < N && isBlank(S[End])) ++End;
      } else {
        End = Over;
        while (End > From && !canBreakBefore(End)) --End;
        if (End == From) End = std::max(Over, From + 1);  // a word wider than the row
      }
    }
    std::vector<Integer> RowExt(Ext.begin() + From, Ext.begin() + End);
    for (Integer& X : RowExt) X -= Base;
    FRows.push_back({Start + From, End - From, End < N});
    FExtents.push_back(std::move(RowExt));
    FExtentsMeasured.push_back(true);
    From = End;
  }
}

Integer TCustomEdit::RowCount() {
  return Integer(rows().size());
}

Integer TCustomEdit::RowFromChar(Integer Pos) {
  const std::vector<TRow>& R = rows();
  auto It =
      std::upper_bound(R.begin(), R.end(), Pos, [](Integer P, const TRow& Row) { return P < Row.Start; });
  return std::max<Integer>(0, Integer(It - R.begin()) - 1);
}

Integer TCustomEdit::rowEnd(Integer Row) {
  const TRow R = rows()[Row];
  const Integer End = R.Start + R.Length;
  if (R.Soft && R.Length > 0 && isBlank(FBuffer.Chars()[End - 1])) return End - 1;
  return End;
}

std::u32string TCustomEdit::shownChars(Integer Row) {
  const TRow R = rows()[Row];
  std::u32string S = FBuffer.Chars().substr(R.Start, R.Length);
  if (FPasswordChar != 0) std::fill(S.begin(), S.end(), FPasswordChar);
  return S;
}

const std::vector<Integer>& TCustomEdit::lineExtents(Integer Line) {
  static const std::vector<Integer> None;
  if (Line < 0 || Line >= RowCount()) return None;
  if (!FExtentsMeasured[Line]) {
    const std::u32string S = shownChars(Line);
    std::vector<Integer>& Ext = FExtents[Line];
    Ext.clear();
    if (!S.empty()) {
      TMeasureDC DC(editFont());
      TSize Size;
      GetTextExtentExPoint(DC.Handle(), Utf32ToUtf8(S), 0, nullptr, &Ext, &Size);
      Ext.resize(S.size(), Ext.empty() ? 0 : Ext.back());
    }
    FExtentsMeasured[Line] = true;
  }
  return FExtents[Line];
}

Integer TCustomEdit::lineOffset(Integer Line) {
  if (FAlignment == taLeftJustify) return 0;
  const std::vector<Integer>& Ext = lineExtents(Line);
  const Integer Free = textArea().Width() - (Ext.empty() ? 0 : Ext.back()) - 1;
  if (Free <= 0) return 0;  // a line wider than the area scrolls instead
  return FAlignment == taCenter ? Free / 2 : Free;
}

TPoint TCustomEdit::PosFromChar(Integer Pos) {
  Pos = std::clamp(Pos, 0, FBuffer.Length());
  const Integer Line = RowFromChar(Pos);
  const Integer Column = Pos - rows()[Line].Start;
  const std::vector<Integer>& Ext = lineExtents(Line);
  const TRect Area = textArea();
  const Integer X = Area.Left + lineOffset(Line) - FScrollX + (Column > 0 ? Ext[Column - 1] : 0);
  const Integer Y = Area.Top + (Line - FTopLine) * LineHeight();
  return {X, Y};
}

Integer TCustomEdit::CharFromPos(TPoint P) {
  const TRect Area = textArea();
  Integer Line = FTopLine + (P.Y - Area.Top) / LineHeight();
  if (P.Y < Area.Top) Line = FTopLine - 1 - (Area.Top - P.Y - 1) / LineHeight();
  Line = std::clamp(Line, 0, RowCount() - 1);
  const std::vector<Integer>& Ext = lineExtents(Line);
  const Integer X = P.X - Area.Left - lineOffset(Line) + FScrollX;
  // The nearer edge of the character under the point.
  Integer Column = 0;
  const Integer N = Integer(Ext.size());
  while (Column < N) {
    const Integer Left = Column > 0 ? Ext[Column - 1] : 0;
    if (X < (Left + Ext[Column] + 1) / 2) break;
    ++Column;
  }
  const Integer Start = rows()[Line].Start;
  return std::min(Start + Column, rowEnd(Line));
}

HBRUSH TCustomEdit::ctlColor(HDC DC) {
  if (FOwnColors) {
    SetTextColor(DC, FOwnText);
    SetBkColor(DC, FOwnBack);
    return FOwnBrush;
  }
  const bool Static = FBuffer.ReadOnly() || !IsWindowEnabled(FHandle);
  const UINT Msg = Static ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HWND Parent = GetParent(FHandle);
  HBRUSH Brush = nullptr;
  if (Parent)
    Brush = reinterpret_cast<HBRUSH>(
        SendMessage(Parent, Msg, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(FHandle)));
  if (Brush == nullptr) {
    SetTextColor(DC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(DC, GetSysColor(Static ? COLOR_BTNFACE : COLOR_WINDOW));
    Brush = GetSysColorBrush(Static ? COLOR_BTNFACE : COLOR_WINDOW);
  }
  return Brush;
}

void TCustomEdit::paintEdit(HDC DC) {
  const Integer Saved = SaveDC(DC);
  HBRUSH Brush = ctlColor(DC);
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  if (Brush != reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH))) FillRect(DC, &Client, Brush);
  COLORREF Ink = GetTextColor(DC);
  if (!IsWindowEnabled(FHandle)) Ink = GetSysColor(COLOR_GRAYTEXT);
  SelectObject(DC, editFont());
  SetBkMode(DC, TRANSPARENT);
  const TRect Area = textArea();
  IntersectClipRect(DC, Area.Left, Area.Top, Area.Right, Area.Bottom);
  const bool ShowSel =
      GetFocus() == FHandle || (GetWindowLong(FHandle, GWL_STYLE) & ES_NOHIDESEL) || !FHideSelection;
  const Integer H = LineHeight();
  const Integer Last = std::min(RowCount() - 1, FTopLine + VisibleLineCount());
  for (Integer Line = Multiline() ? FTopLine : 0; Line <= Last; ++Line)
    paintLine(DC, Line, Area.Top + (Line - FTopLine) * H, Area, Ink, ShowSel);
  RestoreDC(DC, Saved);
  PaintFrame(DC);
}

void TCustomEdit::paintLine(HDC DC, Integer Line, Integer Y, const TRect& Area, COLORREF Ink, bool ShowSel) {
  const std::u32string S = shownChars(Line);
  const std::vector<Integer>& Ext = lineExtents(Line);
  const Integer N = Integer(S.size());
  const Integer X0 = Area.Left + lineOffset(Line) - FScrollX;
  const TRow Row = rows()[Line];
  const Integer Start = Row.Start;
  const Integer SelFrom = std::clamp(FBuffer.SelStart() - Start, 0, N);
  const Integer SelTo = std::clamp(FBuffer.SelEnd() - Start, 0, N);
  const bool BreakSelected = ShowSel && FBuffer.SelEnd() > Start + N && FBuffer.SelStart() <= Start + N &&
                             !Row.Soft && Line < RowCount() - 1;
  auto edge = [&](Integer I) { return X0 + (I > 0 ? Ext[I - 1] : 0); };
  // Only the characters that can be seen are drawn: a long line costs what shows.
  Integer First = Integer(std::upper_bound(Ext.begin(), Ext.end(), Area.Left - X0) - Ext.begin());
  Integer End = Integer(std::lower_bound(Ext.begin(), Ext.end(), Area.Right - X0) - Ext.begin()) + 1;
  First = std::clamp(First, 0, N);
  End = std::clamp(End, First, N);
  auto draw = [&](Integer From, Integer To, COLORREF Color) {
    From = std::max(From, First);
    To = std::min(To, End);
    if (From >= To) return;
    SetTextColor(DC, Color);
    TextOut(DC, edge(From), Y, Utf32ToUtf8(S.substr(From, To - From)));
  };
  if (!ShowSel || SelFrom == SelTo) {
    draw(0, N, Ink);
  } else {
    draw(0, SelFrom, Ink);
    RECT Sel{edge(SelFrom), Y, edge(SelTo), Y + LineHeight()};
    HBRUSH High = GetSysColorBrush(COLOR_HIGHLIGHT);
    FillRect(DC, &Sel, High);
    draw(SelFrom, SelTo, GetSysColor(COLOR_HIGHLIGHTTEXT));
    draw(SelTo, N, Ink);
  }
  if (BreakSelected) {
    // A selected line break shows as a narrow block after the line.
    RECT R{edge(N), Y, edge(N) + 4, Y + LineHeight()};
    FillRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
}
