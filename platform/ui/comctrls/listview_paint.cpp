// The list view's own look, what a user sees when nobody draws the items: the product palette, a
// selection highlight (accent while the list has the focus, a pale tint otherwise), a focus frame,
// grid lines, and single-line texts cut with "..." to their cells.
#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {

constexpr UINT CellText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr Integer CellPadding = 6;  // text inset in sub-item cells
constexpr Integer LabelPadding = 2;
constexpr Integer HeadingPadding = 6;  // the header's caption inset (header.cpp)

UINT alignFlags(TAlignment A) {
  return A == taRightJustify ? DT_RIGHT : A == taCenter ? DT_CENTER : DT_LEFT;
}

void fill(TCanvas* C, const TRect& R, TColor Color) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

void frame(TCanvas* C, const TRect& R, TColor Color) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FrameRect(R);
}

void checkBox(TCanvas* C, Integer X, Integer CY, bool Checked) {
  const TRect Box = Bounds(X, CY - 6, 13, 13);
  fill(C, Box, stdlook::Surface);
  frame(C, Box, stdlook::FaceBorder);
  if (Checked) fill(C, Rect(Box.Left + 3, Box.Top + 3, Box.Right - 3, Box.Bottom - 3), stdlook::Accent);
}

}  // namespace

TCustomDrawState TCustomListView::stateFor(Integer Index) const {
  TCustomDrawState S;
  const Byte St = FItems->FStates[Index];
  if (St & LVIS_SELECTED) S.Include(cdsSelected);
  if (St & LVIS_FOCUSED) S.Include(cdsFocused);
  if (Index == FHotIndex) S.Include(cdsHot);
  if (!FOwnerData && FItems->FItems[Index]->Checked()) S.Include(cdsChecked);
  if (!Enabled()) S.Include(cdsDisabled);
  return S;
}

bool TCustomListView::CustomDraw(const TRect& ARect) {
  bool DefaultDraw = true;
  if (OnCustomDraw) OnCustomDraw(this, ARect, DefaultDraw);
  return DefaultDraw;
}

bool TCustomListView::CustomDrawItem(TListItem* Item, TCustomDrawState State) {
  bool DefaultDraw = true;
  if (OnCustomDrawItem) OnCustomDrawItem(this, Item, State, DefaultDraw);
  return DefaultDraw;
}

bool TCustomListView::CustomDrawSubItem(TListItem* Item, Integer SubItem, TCustomDrawState State) {
  bool DefaultDraw = true;
  if (OnCustomDrawSubItem) OnCustomDrawSubItem(this, Item, SubItem, State, DefaultDraw);
  return DefaultDraw;
}

void TCustomListView::Paint() {
  TCanvas* C = Canvas();
  RECT Client;
  ::GetClientRect(Handle(), &Client);
  C->Font()->Assign(Font());
  fill(C, Client, Color());
  if (!CustomDraw(Client)) return;
  const Integer Count = FItems->Count();
  const TRect V = viewArea();
  const TRect Clip = C->ClipRect();
  Integer First = 0, Last = -1;
  switch (FViewStyle) {
    case vsReport: {
      const Integer H = ItemHeight();
      First = FTopIndex + std::max(0, (Clip.Top - V.Top) / H);
      Last = FTopIndex + std::max(0, (Clip.Bottom - V.Top + H - 1) / H);
      break;
    }
    case vsList: {
      const Integer Rows = rowsPerColumn();
      First = FScrollX * Rows;
      Last = First + Rows * (V.Width() / FListColumnWidth + 2);
      break;
    }
    default: {
      const TSize Cell = iconCell();
      const Integer PerRow = iconCellsPerRow();
      First = std::max(0, (FTopIndex + Clip.Top - V.Top) / Cell.cy) * PerRow;
      Last = ((FTopIndex + Clip.Bottom - V.Top) / Cell.cy + 1) * PerRow;
      break;
    }
  }
  Last = std::min(Last, Count - 1);
  std::weak_ptr<bool> Alive = FAlive;
  for (Integer i = First; i <= Last && i < FItems->Count(); ++i) {
    TListItem* Item = itemAt(i);
    const TCustomDrawState State = stateFor(i);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->Font()->Assign(Font());
    if (CustomDrawItem(Item, State)) DrawItemDefault(FOwnerData ? itemAt(i) : Item, i, State);
    if (Alive.expired()) return;
  }
  if (FGridLines && FViewStyle == vsReport) paintGridLines(V);
  if (Focused() && FFocusIndex >= First && FFocusIndex <= Last) {
    TRect R = itemRect(FFocusIndex, drSelectBounds);
    if (FViewStyle == vsReport && !FRowSelect) R = itemRect(FFocusIndex, drLabel);
    frame(C, R, stdlook::AccentPressed);
  }
}

void TCustomListView::DrawItemDefault(TListItem* Item, Integer Index, TCustomDrawState State) {
  if (FViewStyle == vsReport)
    paintReportItem(Index, Item, State, itemBounds(Index));
  else
    paintIconItem(Index, Item, State);
}

void TCustomListView::paintReportItem(Integer Index, TListItem* Item, TCustomDrawState State,
                                      const TRect& B) {
  TCanvas* C = Canvas();
  const bool HasFocus = Focused();
  const bool ShowSel = State.Contains(cdsSelected) && (HasFocus || !FHideSelection);
  const TColor SelBack = HasFocus ? stdlook::Accent : stdlook::SelectionUnfocused;
  const TColor SelText = HasFocus ? TColor(clHighlightText) : stdlook::Text;
  const TColor Text = Enabled() ? Font()->Color() : stdlook::TextDisabled;
  const TRect Label = itemRect(Index, drLabel);
  const TRect Icon = itemRect(Index, drIcon);
  if (ShowSel)
    fill(C, FRowSelect ? B : Label, SelBack);
  else if (State.Contains(cdsHot))
    fill(C, FRowSelect ? B : Label, stdlook::FaceHover);
  if (FCheckboxes) checkBox(C, B.Left + 2, (B.Top + B.Bottom) / 2, State.Contains(cdsChecked));
  if (FSmallImages && Item->ImageIndex() >= 0 && Item->ImageIndex() < FSmallImages->Count())
    FSmallImages->Draw(C, Icon.Left, B.Top + (B.Height() - FSmallImages->Height()) / 2, Item->ImageIndex());
  const TAlignment Align0 = FColumns->Count() > 0 ? Column(0)->Alignment() : taLeftJustify;
  stdlook::DrawTextIn(C, Item->Caption(),
                      Rect(Label.Left + LabelPadding, B.Top, Label.Right - LabelPadding, B.Bottom),
                      CellText | alignFlags(Align0), ShowSel ? SelText : Text);
  Integer X = B.Left;
  TStrings* Subs = Item->SubItems();
  const Integer SubCount = Subs->Count();
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  for (Integer Col : ColumnOrder()) {
    const Integer W = Column(Col)->Width();
    if (Col == 0) {
      X += W;
      continue;
    }
    const TRect Cell = Rect(X, B.Top, X + W, B.Bottom);
    X += W;
    if (W <= 0 || Col - 1 >= SubCount || Cell.Right <= 0) continue;
    if (Cell.Left >= Client.Right) break;
    if (!CustomDrawSubItem(Item, Col, State)) continue;
    TRect T = Rect(Cell.Left + CellPadding, Cell.Top, Cell.Right - CellPadding, Cell.Bottom);
    const Integer Img = Col - 1 < Integer(Item->FSubItemImages.size()) ? Item->FSubItemImages[Col - 1] : -1;
    if (FSmallImages && Img >= 0 && Img < FSmallImages->Count()) {
      FSmallImages->Draw(C, Cell.Left + 2, Cell.Top + (Cell.Height() - FSmallImages->Height()) / 2, Img);
      T.Left = Cell.Left + 2 + FSmallImages->Width() + 3;
    }
    if (T.Right <= T.Left) continue;
    stdlook::DrawTextIn(C, Subs->Strings(Col - 1), T, CellText | alignFlags(Column(Col)->Alignment()),
                        ShowSel && FRowSelect ? SelText : Text);
  }
}

void TCustomListView::paintIconItem(Integer Index, TListItem* Item, TCustomDrawState State) {
  TCanvas* C = Canvas();
  const bool HasFocus = Focused();
  const bool ShowSel = State.Contains(cdsSelected) && (HasFocus || !FHideSelection);
  const TRect Label = itemRect(Index, drLabel);
  const TRect Icon = itemRect(Index, drIcon);
  TCustomImageList* Images = FViewStyle == vsIcon ? FLargeImages : FSmallImages;
  if (FCheckboxes && FViewStyle != vsIcon)
    checkBox(C, itemBounds(Index).Left + 2, (Label.Top + Label.Bottom) / 2, State.Contains(cdsChecked));
  if (Images && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count())
    Images->Draw(C, Icon.Left, Icon.Top + (Icon.Height() - Images->Height()) / 2, Item->ImageIndex());
  if (ShowSel)
    fill(C, Label, HasFocus ? stdlook::Accent : stdlook::SelectionUnfocused);
  else if (State.Contains(cdsHot))
    fill(C, Label, stdlook::FaceHover);
  const TColor Text = ShowSel && HasFocus ? TColor(clHighlightText)
                      : Enabled()         ? Font()->Color()
                                          : stdlook::TextDisabled;
  const TRect T = Rect(Label.Left + LabelPadding, Label.Top, Label.Right - LabelPadding, Label.Bottom);
  if (FViewStyle == vsIcon)
    stdlook::DrawTextIn(
        C, Item->Caption(), T,
        DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX | (FIconOptions.WrapText ? DT_WORDBREAK : DT_SINGLELINE),
        Text);
  else
    stdlook::DrawTextIn(C, Item->Caption(), T, CellText, Text);
}

void TCustomListView::paintGridLines(const TRect& View) {
  TCanvas* C = Canvas();
  const Integer H = ItemHeight();
  const Integer Right = ColumnsWidth() - FScrollX;
  if (Right <= 0) return;
  for (Integer Y = View.Top + H - 1; Y < View.Bottom; Y += H)
    fill(C, Rect(0, Y, Right, Y + 1), stdlook::SurfaceBorder);
  Integer X = -FScrollX;
  for (Integer Col : ColumnOrder()) {
    X += Column(Col)->Width();
    if (Column(Col)->Width() > 0 && X > 0)
      fill(C, Rect(X - 1, View.Top, X, View.Bottom), stdlook::SurfaceBorder);
  }
}

Integer TCustomListView::fittingColumnWidth(Integer Index) {
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  TListColumn* Col = Column(Index);
  // A grid line takes the last pixel of every cell.
  Integer Widest = C->TextWidth(Col->Caption()) + 2 * HeadingPadding + 1;
  const Integer ImgW = FSmallImages ? FSmallImages->Width() : 0;
  // Where the text starts and how much room it keeps at its right, as the painter places it.
  const Integer CaptionInset = 2 + (FCheckboxes ? 16 : 0) + ImgW + (ImgW > 0 ? 2 : 0) + 2 * LabelPadding + 1;
  Integer First = 0, Last = FItems->Count() - 1;
  if (FOwnerData) {
    First = TopIndex();
    Last = std::min(Last, First + VisibleRowCount());
  }
  for (Integer I = First; I <= Last; ++I) {
    TListItem* Item = itemAt(I);
    Integer W;
    if (Index == 0) {
      W = CaptionInset + C->TextWidth(Item->Caption());
    } else {
      if (Index - 1 >= Item->SubItems()->Count()) continue;
      const Integer Img =
          Index - 1 < Integer(Item->FSubItemImages.size()) ? Item->FSubItemImages[Index - 1] : -1;
      const bool Image = FSmallImages && Img >= 0 && Img < FSmallImages->Count();
      W = C->TextWidth(Item->SubItems()->Strings(Index - 1)) + CellPadding + 1 +
          (Image ? 2 + ImgW + 3 : CellPadding);
    }
    Widest = std::max(Widest, W);
  }
  return Widest;
}
