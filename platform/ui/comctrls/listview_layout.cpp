// The list view's layout: row and cell geometry in each view, hit testing, and scrolling through the
// window's scroll-info state.
#include <algorithm>
#include <numeric>

#include "platform/gdi/font.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/win/scrollrequest.h"

namespace {

// Rounds a pixel distance to whole steps, a partial step counting as one (as the platform's report
// view does with LVM_SCROLL).
Integer wholeSteps(Integer Pixels, Integer Step) {
  if (Step <= 0) return 0;
  const Integer Whole = Pixels / Step;
  return Pixels % Step == 0 ? Whole : Whole + (Pixels > 0 ? 1 : -1);
}

}  // namespace

// =====================================================================================================
// Geometry
// =====================================================================================================
Integer TCustomListView::ItemHeight() const {
  if (FItemHeight > 0) return FItemHeight;
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  TEXTMETRIC TM;
  GetTextMetrics(DC, &TM);
  SelectObject(DC, Old);
  DeleteDC(DC);
  Integer H = std::max<Integer>(TM.tmHeight + 4, 8);
  if (FViewStyle != vsIcon && FSmallImages) H = std::max(H, FSmallImages->Height() + 2);
  FItemHeight = H;
  return H;
}

TRect TCustomListView::viewArea() const {
  TRect R = FHandle ? TRect{} : Rect(0, 0, FWidth, FHeight);
  if (FHandle) ::GetClientRect(FHandle, &R);
  R.Top += HeaderHeight();
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  return R;
}

Integer TCustomListView::ColumnsWidth() const {
  Integer W = 0;
  for (Integer i = 0; i < FColumns->Count(); ++i) W += Column(i)->Width();
  return W;
}

std::vector<Integer> TCustomListView::ColumnOrder() const {
  const Integer N = FColumns->Count();
  std::vector<Integer> Order(static_cast<size_t>(N));
  std::iota(Order.begin(), Order.end(), 0);
  if (FHeader != nullptr && N > 0 && SendMessage(FHeader, HDM_GETITEMCOUNT, 0, 0) == N)
    SendMessage(FHeader, HDM_GETORDERARRAY, WPARAM(N), reinterpret_cast<LPARAM>(Order.data()));
  return Order;
}

Integer TCustomListView::ColumnLeft(Integer Index) const {
  Integer X = 0;
  for (Integer C : ColumnOrder()) {
    if (C == Index) return X;
    X += Column(C)->Width();
  }
  return X;
}

Integer TCustomListView::rowsPerColumn() const {
  return std::max(1, viewArea().Height() / ItemHeight());
}

TSize TCustomListView::iconCell() const {
  if (FViewStyle == vsIcon) {
    const Integer Img = FLargeImages ? FLargeImages->Height() : 32;
    const Integer W = std::max(75, FLargeImages ? FLargeImages->Width() + 12 : 0);
    return TSize{W, Img + 6 + 2 * (ItemHeight() - 4) + 4};
  }
  return TSize{FListColumnWidth, ItemHeight()};
}

Integer TCustomListView::iconCellsPerRow() const {
  return std::max(1, viewArea().Width() / std::max(1, iconCell().cx));
}

Integer TCustomListView::VisibleRowCount() const {
  const TRect V = viewArea();
  switch (FViewStyle) {
    case vsReport:
      return std::max(0, V.Height() / ItemHeight());
    case vsList:
      return rowsPerColumn() * std::max(1, V.Width() / FListColumnWidth);
    default: {
      const TSize Cell = iconCell();
      return iconCellsPerRow() * std::max(1, V.Height() / std::max(1, Cell.cy));
    }
  }
}

Integer TCustomListView::maxTopIndex() const {
  const Integer Count = FItems->Count();
  const TRect V = viewArea();
  switch (FViewStyle) {
    case vsReport:
      return std::max(0, Count - std::max(1, V.Height() / ItemHeight()));
    case vsList:
      return 0;
    default: {
      const Integer Rows = (Count + iconCellsPerRow() - 1) / iconCellsPerRow();
      return std::max(0, Rows * iconCell().cy - V.Height());
    }
  }
}

TRect TCustomListView::itemBounds(Integer Index) const {
  const TRect V = viewArea();
  switch (FViewStyle) {
    case vsReport: {
      const Integer H = ItemHeight();
      const Integer Top = V.Top + (Index - FTopIndex) * H;
      return Rect(-FScrollX, Top, -FScrollX + ColumnsWidth(), Top + H);
    }
    case vsList: {
      const Integer Rows = rowsPerColumn();
      const Integer H = ItemHeight();
      const Integer X = (Index / Rows - FScrollX) * FListColumnWidth;
      const Integer Y = V.Top + (Index % Rows) * H;
      return Rect(X, Y, X + FListColumnWidth, Y + H);
    }
    default: {
      const TSize Cell = iconCell();
      const Integer PerRow = iconCellsPerRow();
      const Integer X = (Index % PerRow) * Cell.cx - FScrollX;
      const Integer Y = V.Top + (Index / PerRow) * Cell.cy - FTopIndex;
      return Rect(X, Y, X + Cell.cx, Y + Cell.cy);
    }
  }
}

TRect TCustomListView::itemRect(Integer Index, TDisplayCode Code) const {
  const TRect B = itemBounds(Index);
  if (Code == drBounds) return B;
  if (FViewStyle == vsIcon) {
    const Integer W = FLargeImages ? FLargeImages->Width() : 32;
    const Integer H = FLargeImages ? FLargeImages->Height() : 32;
    const TRect Icon =
        Rect(B.Left + (B.Width() - W) / 2, B.Top + 2, B.Left + (B.Width() + W) / 2, B.Top + 2 + H);
    if (Code == drIcon) return Icon;
    const TRect Label = Rect(B.Left + 2, Icon.Bottom + 2, B.Right - 2, B.Bottom - 2);
    return Code == drLabel ? Label : Rect(B.Left, B.Top, B.Right, B.Bottom);
  }
  // In report view the caption lives in column 0, wherever the user moved it.
  const Integer Cell0 = FViewStyle == vsReport && FColumns->Count() > 0 ? ColumnLeft(0) : 0;
  Integer X = B.Left + Cell0 + 2 + (FCheckboxes ? 16 : 0);
  const Integer ImgW = FSmallImages ? FSmallImages->Width() : 0;
  const TRect Icon = Rect(X, B.Top, X + ImgW, B.Bottom);
  if (Code == drIcon) return Icon;
  Integer LabelRight = B.Right;
  if (FViewStyle == vsReport)
    LabelRight = FColumns->Count() > 0 ? B.Left + Cell0 + Column(0)->Width() : B.Left;
  const TRect Label =
      Rect(Icon.Right + (ImgW > 0 ? 2 : 0), B.Top, std::max(Icon.Right, LabelRight), B.Bottom);
  if (Code == drLabel) return Label;
  // Select bounds: the whole row with row select, else icon and label.
  if (FViewStyle == vsReport && FRowSelect) return B;
  return Rect(Icon.Left, B.Top, Label.Right, B.Bottom);
}

TListItem* TCustomListView::TopItem() const {
  if (FItems->Count() == 0) return nullptr;
  return itemAt(TopIndex());
}

Integer TCustomListView::TopIndex() const {
  if (FItems->Count() == 0) return 0;
  switch (FViewStyle) {
    case vsReport:
      return std::min(FTopIndex, FItems->Count() - 1);
    case vsList:
      return std::min(FScrollX * rowsPerColumn(), FItems->Count() - 1);
    default:
      return std::min(FTopIndex / std::max(1, iconCell().cy) * iconCellsPerRow(), FItems->Count() - 1);
  }
}

Integer TCustomListView::HitTest(TPoint P, Integer* ColumnOut) const {
  if (ColumnOut) *ColumnOut = -1;
  const TRect V = viewArea();
  if (!PtInRect(&V, P)) return -1;
  Integer Index = -1;
  switch (FViewStyle) {
    case vsReport: {
      Index = FTopIndex + (P.Y - V.Top) / ItemHeight();
      if (Index >= FItems->Count()) return -1;
      Integer X = -FScrollX;
      for (Integer c : ColumnOrder()) {
        X += Column(c)->Width();
        if (P.X < X) {
          if (ColumnOut) *ColumnOut = c;
          break;
        }
      }
      if (P.X >= X) return -1;  // right of the last column
      break;
    }
    case vsList: {
      const Integer Col = P.X / FListColumnWidth + FScrollX;
      Index = Col * rowsPerColumn() + (P.Y - V.Top) / ItemHeight();
      break;
    }
    default: {
      const TSize Cell = iconCell();
      const Integer Col = (P.X + FScrollX) / Cell.cx;
      if (Col >= iconCellsPerRow()) return -1;
      Index = ((P.Y - V.Top + FTopIndex) / Cell.cy) * iconCellsPerRow() + Col;
      break;
    }
  }
  if (Index < 0 || Index >= FItems->Count()) return -1;
  if (ColumnOut && FViewStyle != vsReport) *ColumnOut = 0;
  return Index;
}

TListItem* TCustomListView::GetItemAt(Integer X, Integer Y) const {
  const Integer I = HitTest(Point(X, Y));
  if (I < 0) return nullptr;
  const TRect Sel = itemRect(I, drSelectBounds);
  if (!PtInRect(&Sel, Point(X, Y))) return nullptr;
  return itemAt(I);
}

void TCustomListView::invalidateItem(Integer Index) {
  if (!HandleAllocated() || FItems->FUpdateCount > 0) return;
  TRect R = itemBounds(Index);
  if (FViewStyle == vsReport) {
    RECT Client;
    ::GetClientRect(FHandle, &Client);
    R.Left = 0;
    R.Right = Client.Right;
  }
  InvalidateRect(FHandle, &R, true);
}

// =====================================================================================================
// Scrolling
// =====================================================================================================
void TCustomListView::setTopIndex(Integer Value) {
  if (FViewStyle == vsList) {
    FTopIndex = 0;
    return;
  }
  Value = std::clamp(Value, 0, maxTopIndex());
  if (Value == FTopIndex) return;
  FTopIndex = Value;
  if (HandleAllocated()) {
    SCROLLINFO SI;
    SI.fMask = SIF_POS;
    SI.nPos = FTopIndex;
    SetScrollInfo(FHandle, SB_VERT, &SI, true);
    Invalidate();
  }
}

void TCustomListView::setScrollX(Integer Value) {
  Integer Max = 0;
  const TRect V = viewArea();
  if (FViewStyle == vsReport) {
    Max = std::max(0, ColumnsWidth() - V.Width());
  } else if (FViewStyle == vsList) {
    const Integer Cols = (FItems->Count() + rowsPerColumn() - 1) / rowsPerColumn();
    Max = std::max(0, Cols - std::max(1, V.Width() / FListColumnWidth));
  }
  Value = std::clamp(Value, 0, Max);
  if (Value == FScrollX) return;
  FScrollX = Value;
  if (HandleAllocated()) {
    SCROLLINFO SI;
    SI.fMask = SIF_POS;
    SI.nPos = FScrollX;
    SetScrollInfo(FHandle, SB_HORZ, &SI, true);
    layoutHeader();
    Invalidate();
  }
}

void TCustomListView::updateScrollInfo() {
  if (!HandleAllocated() || FItems->FUpdateCount > 0) return;
  // Showing or hiding a bar changes the client area and so the page; two rounds settle it.
  for (Integer Round = 0; Round < 2; ++Round) {
    const TRect V = viewArea();
    SCROLLINFO Vert, Horz;
    Vert.fMask = Horz.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    const Integer Count = FItems->Count();
    switch (FViewStyle) {
      case vsReport:
        Vert.nMax = std::max(0, Count - 1);
        Vert.nPage = UINT(std::max(0, V.Height() / ItemHeight()));
        Vert.nPos = FTopIndex;
        Horz.nMax = std::max(0, ColumnsWidth() - 1);
        Horz.nPage = UINT(std::max(0, V.Width()));
        Horz.nPos = FScrollX;
        break;
      case vsList: {
        const Integer Cols = (Count + rowsPerColumn() - 1) / rowsPerColumn();
        Vert.nMax = 0;
        Vert.nPage = 1;
        Horz.nMax = std::max(0, Cols - 1);
        Horz.nPage = UINT(std::max(1, V.Width() / FListColumnWidth));
        Horz.nPos = FScrollX;
        break;
      }
      default: {
        const Integer Rows = (Count + iconCellsPerRow() - 1) / iconCellsPerRow();
        Vert.nMax = std::max(0, Rows * iconCell().cy - 1);
        Vert.nPage = UINT(std::max(0, V.Height()));
        Vert.nPos = FTopIndex;
        Horz.nMax = 0;
        Horz.nPage = 1;
        break;
      }
    }
    if (Count == 0) Vert.nMax = 0;
    SetScrollInfo(FHandle, SB_VERT, &Vert, true);
    SetScrollInfo(FHandle, SB_HORZ, &Horz, true);
    const TRect After = viewArea();
    if (After.Width() == V.Width() && After.Height() == V.Height()) break;
  }
  layoutHeader();
  const Integer Top = FTopIndex, X = FScrollX;
  setTopIndex(Top);
  setScrollX(X);
}

void TCustomListView::Scroll(Integer DX, Integer DY) {
  switch (FViewStyle) {
    case vsReport:
      setTopIndex(FTopIndex + wholeSteps(DY, ItemHeight()));
      setScrollX(FScrollX + DX);
      break;
    case vsList:
      setScrollX(FScrollX + wholeSteps(DX, FListColumnWidth));
      break;
    default:
      setTopIndex(FTopIndex + DY);
      break;
  }
}

void TCustomListView::scrollMessage(bool Vertical, Word Code) {
  const Integer Bar = Vertical ? SB_VERT : SB_HORZ;
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  GetScrollInfo(FHandle, Bar, &SI);
  const Integer Page = std::max<Integer>(1, Integer(SI.nPage));
  Integer Line = 1;
  if (FViewStyle == vsReport && !Vertical) Line = 16;
  if (FViewStyle == vsIcon || FViewStyle == vsSmallIcon)
    Line = Vertical ? std::max(1, iconCell().cy / 2) : 16;
  const std::optional<Integer> Pos =
      ScrollRequestPosition(Code, Vertical ? FTopIndex : FScrollX, {Line, Page, SI.nTrackPos, SI.nMax});
  if (!Pos) return;
  if (Vertical)
    setTopIndex(*Pos);
  else
    setScrollX(*Pos);
}
