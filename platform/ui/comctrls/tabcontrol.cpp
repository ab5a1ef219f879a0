#include "platform/ui/comctrls/tabcontrol.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {

// Measures with the control's font on a memory DC, so layout works before the window exists.
struct TMeasure {
  HDC DC;
  HGDIOBJ Old;
  explicit TMeasure(TFont* Font) : DC(CreateCompatibleDC(nullptr)), Old(SelectObject(DC, Font->Handle())) {}
  ~TMeasure() {
    SelectObject(DC, Old);
    DeleteDC(DC);
  }
  Integer Width(const String& Text) {
    TSize S{};
    GetTextExtentPoint32(DC, Text, &S);
    return S.cx;
  }
  Integer LineHeight() {
    TEXTMETRIC TM;
    GetTextMetrics(DC, &TM);
    return TM.tmHeight;
  }
};

}  // namespace

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csDoubleClicks, csOpaque};
  FWidth = 289;
  FHeight = 193;
  FTabStop = true;
}

// ---- properties ----

void TCustomTabControl::SetTabIndex(Integer Value) {
  Perform(TCM_SETCURSEL, WPARAM(Value), 0);
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (Value == FMultiLine) return;
  FMultiLine = Value;
  FFirstVisible = 0;
  Realign();
  Invalidate();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (Value == FTabPosition) return;
  FTabPosition = Value;
  FFirstVisible = 0;
  Realign();
  Invalidate();
}

void TCustomTabControl::SetStyle(TTabStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Invalidate();
}

void TCustomTabControl::SetTabHeight(Integer Value) {
  if (Value < 0 || Value == FTabHeight) return;
  Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, Value));
}

void TCustomTabControl::SetTabWidth(Integer Value) {
  if (Value < 0 || Value == FTabWidth) return;
  Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(Value, FTabHeight));
}

void TCustomTabControl::SetHotTrack(bool Value) {
  FHotTrack = Value;
  if (!Value) FHotTab = -1;
  Invalidate();
}

void TCustomTabControl::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Realign();
  Invalidate();
}

void TCustomTabControl::SetOwnerDraw(bool Value) {
  FOwnerDraw = Value;
  Invalidate();
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    Realign();
  }
}

void TCustomTabControl::SetTabItems(std::vector<TTabItem> Items) {
  FItems = std::move(Items);
  if (FTabIndex >= TabCount()) FTabIndex = TabCount() - 1;
  if (FHotTab >= TabCount()) FHotTab = -1;
  FFirstVisible = std::clamp(FFirstVisible, 0, std::max(0, TabCount() - 1));
  scrollTo(FFirstVisible);  // a shorter row may fit again
  Realign();
  Invalidate();
}

// ---- geometry ----

Integer TCustomTabControl::itemHeight() {
  if (FTabHeight > 0) return FTabHeight;
  TMeasure M(FFont.get());
  Integer H = M.LineHeight();
  if (FImages) H = std::max(H, vertical() ? FImages->Width() : FImages->Height());
  return H + 6;
}

Integer TCustomTabControl::itemWidth(const TTabItem& Item) {
  Integer W = FTabWidth;
  if (W <= 0) {
    TMeasure M(FFont.get());
    W = M.Width(Item.Caption) + 12;
  }
  if (FImages) W += vertical() ? FImages->Height() : FImages->Width();
  return W;
}

void TCustomTabControl::layoutRows(TLayout& L, const std::vector<Integer>& Widths, Integer H) {
  const TRect Client = Rect(0, 0, FWidth, FHeight);
  const Integer Span = vertical() ? Client.Bottom - 4 : Client.Right - 4;
  // Rows as runs of tabs, in order; the selected tab's row is then put next to the page.
  std::vector<Integer> RowOf(Widths.size());
  std::vector<Integer> Along(Widths.size());
  Integer Row = 0, Pos = 0;
  for (size_t I = 0; I < Widths.size(); ++I) {
    if (Pos > 0 && Pos + Widths[I] > Span) {
      ++Row;
      Pos = 0;
    }
    RowOf[I] = Row;
    Along[I] = Pos;
    Pos += Widths[I];
  }
  L.Rows = Widths.empty() ? 0 : Row + 1;
  const Integer SelRow = FTabIndex >= 0 && FTabIndex < TabCount() ? RowOf[size_t(FTabIndex)] : 0;
  for (size_t I = 0; I < Widths.size(); ++I) {
    // Distance of the row from the page: the selected row 0, the others keep their order after it.
    const Integer R = (RowOf[I] - SelRow + L.Rows) % L.Rows;
    const Integer A = 2 + Along[I];
    TRect T{};
    switch (FTabPosition) {
      case tpTop:
        T = Rect(A, 2 + (L.Rows - 1 - R) * H, A + Widths[I], 2 + (L.Rows - R) * H);
        break;
      case tpBottom:
        T = Rect(A, Client.Bottom - 2 - (L.Rows - R) * H, A + Widths[I],
                 Client.Bottom - 2 - (L.Rows - 1 - R) * H);
        break;
      case tpLeft:
        T = Rect(2 + (L.Rows - 1 - R) * H, A, 2 + (L.Rows - R) * H, A + Widths[I]);
        break;
      case tpRight:
        T = Rect(Client.Right - 2 - (L.Rows - R) * H, A, Client.Right - 2 - (L.Rows - 1 - R) * H,
                 A + Widths[I]);
        break;
    }
    L.Rects[I] = T;
  }
}

TCustomTabControl::TLayout TCustomTabControl::layout() {
  TLayout L;
  L.Rects.resize(FItems.size());
  if (FItems.empty()) return L;
  const Integer H = itemHeight();
  std::vector<Integer> Widths;
  Integer Total = 0;
  for (const TTabItem& Item : FItems) {
    Widths.push_back(itemWidth(Item));
    Total += Widths.back();
  }
  if (FMultiLine || vertical()) {
    layoutRows(L, Widths, H);
    return L;
  }
  L.Rows = 1;
  const Integer Top = FTabPosition == tpTop ? 2 : FHeight - 2 - H;
  L.Scroll = 2 + Total > FWidth - 2;
  Integer X = 2;
  for (Integer I = 0; I < FFirstVisible && L.Scroll; ++I) X -= Widths[size_t(I)];
  for (size_t I = 0; I < Widths.size(); ++I) {
    L.Rects[I] = Rect(X, Top, X + Widths[I], Top + H);
    X += Widths[I];
  }
  if (L.Scroll) {
    const Integer Right = FWidth - 2;
    L.RightArrow = Rect(Right - ScrollArrowSize, Top, Right, Top + H);
    L.LeftArrow = Rect(Right - 2 * ScrollArrowSize, Top, Right - ScrollArrowSize, Top + H);
  }
  return L;
}

TRect TCustomTabControl::rawTabRect(Integer Index) {
  if (Index < 0 || Index >= TabCount()) return TRect{};
  return layout().Rects[size_t(Index)];
}

void TCustomTabControl::adjustRect(bool Larger, TRect& R) {
  const Integer Band = FItems.empty() ? 0 : layout().Rows * itemHeight();
  const Integer D = Larger ? -1 : 1;
  R.Left += 4 * D;
  R.Top += 4 * D;
  R.Right -= 4 * D;
  R.Bottom -= 4 * D;
  switch (FTabPosition) {
    case tpTop:
      R.Top += (Band + 2) * D;
      break;
    case tpBottom:
      R.Bottom -= (Band + 2) * D;
      break;
    case tpLeft:
      R.Left += (Band + 2) * D;
      break;
    case tpRight:
      R.Right -= (Band + 2) * D;
      break;
  }
}

bool TCustomTabControl::Scrolling() {
  return layout().Scroll;
}

Integer TCustomTabControl::RowCount() {
  return Integer(Perform(TCM_GETROWCOUNT, 0, 0));
}

TRect TCustomTabControl::TabRect(Integer Index) {
  TRect R{};
  Perform(TCM_GETITEMRECT, WPARAM(Index), LPARAM(&R));
  return R;
}

TRect TCustomTabControl::DisplayRect() {
  TRect R = Rect(0, 0, FWidth, FHeight);
  Perform(TCM_ADJUSTRECT, 0, LPARAM(&R));
  return R;
}

Integer TCustomTabControl::IndexOfTabAt(Integer X, Integer Y) {
  TPoint P = Point(X, Y);
  return Integer(Perform(TCM_HITTEST, 0, LPARAM(&P)));
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
  Rect = DisplayRect();
}

// ---- scrolling ----

void TCustomTabControl::scrollTo(Integer First) {
  // The last position is the one from which the remaining tabs fit before the arrows.
  Integer Last = 0;
  if (!FMultiLine && !vertical() && !FItems.empty()) {
    const Integer Room = FWidth - 4 - 2 * ScrollArrowSize;
    Integer Tail = 0;
    Last = TabCount();
    while (Last > 0 && Tail + itemWidth(FItems[size_t(Last - 1)]) <= Room)
      Tail += itemWidth(FItems[size_t(--Last)]);
    if (Last == TabCount()) Last = TabCount() - 1;
    Integer Total = 0;
    for (const TTabItem& Item : FItems) Total += itemWidth(Item);
    if (2 + Total <= FWidth - 2) Last = 0;
  }
  First = std::clamp(First, 0, Last);
  if (First == FFirstVisible) return;
  FFirstVisible = First;
  Invalidate();
}

void TCustomTabControl::ensureVisible(Integer Index) {
  if (Index < 0 || FMultiLine || vertical()) return;
  if (Index < FFirstVisible) {
    scrollTo(Index);
    return;
  }
  TLayout L = layout();
  const Integer Limit = FWidth - 2 - 2 * ScrollArrowSize;
  while (L.Scroll && FFirstVisible < Index && L.Rects[size_t(Index)].Right > Limit) {
    const Integer Before = FFirstVisible;
    scrollTo(FFirstVisible + 1);
    if (FFirstVisible == Before) break;
    L = layout();
  }
}

// ---- selection ----

bool TCustomTabControl::CanChange() {
  bool Allow = true;
  if (OnChanging) OnChanging(this, Allow);
  return Allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

bool TCustomTabControl::SelectTab(Integer Index) {
  if (Index < 0 || Index >= TabCount() || Index == FTabIndex) return false;
  if (!CanChange()) return false;
  SetTabIndex(Index);
  Change();
  return true;
}

// ---- messages ----

void TCustomTabControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case TCM_GETITEMCOUNT:
      Message.Result = TabCount();
      return;
    case TCM_GETCURSEL:
      Message.Result = FTabIndex;
      return;
    case TCM_SETCURSEL: {
      const Integer Index = Integer(Message.WParam);
      Message.Result = FTabIndex;
      if (Index < -1 || Index >= TabCount()) {
        Message.Result = -1;
        return;
      }
      if (Index != FTabIndex) {
        FTabIndex = Index;
        ensureVisible(Index);
        if (FMultiLine || vertical()) Realign();  // the selected row moves next to the page
        Invalidate();
      }
      return;
    }
    case TCM_GETITEMRECT: {
      const Integer Index = Integer(Message.WParam);
      const bool Valid = Index >= 0 && Index < TabCount();
      if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = rawTabRect(Index);
      Message.Result = Valid;
      return;
    }
    case TCM_ADJUSTRECT:
      if (Message.LParam) adjustRect(Message.WParam != 0, *reinterpret_cast<TRect*>(Message.LParam));
      Message.Result = 0;
      return;
    case TCM_SETITEMSIZE: {
      Message.Result = MAKELPARAM(FTabWidth, FTabHeight);
      FTabWidth = LOWORD(Message.LParam);
      FTabHeight = HIWORD(Message.LParam);
      scrollTo(FFirstVisible);
      Realign();
      Invalidate();
      return;
    }
    case TCM_GETROWCOUNT:
      Message.Result = layout().Rows;
      return;
    case TCM_HITTEST: {
      Message.Result = -1;
      if (!Message.LParam) return;
      const TPoint P = *reinterpret_cast<TPoint*>(Message.LParam);
      TLayout L = layout();
      if (L.Scroll && P.X >= L.LeftArrow.Left) return;  // the arrows cover the tabs under them
      for (Integer I = 0; I < TabCount(); ++I)
        if (PtInRect(&L.Rects[size_t(I)], P)) {
          Message.Result = I;
          return;
        }
      return;
    }
    case TCM_SETIMAGELIST:
      Message.Result = LRESULT(FImages);
      SetImages(reinterpret_cast<TCustomImageList*>(Message.LParam));
      return;
    case TCM_GETIMAGELIST:
      Message.Result = LRESULT(FImages);
      return;
    case WM_HSCROLL:
      if (LOWORD(Message.WParam) == SB_THUMBPOSITION) scrollTo(Integer(int16_t(HIWORD(Message.WParam))));
      Message.Result = 0;
      return;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      scrollTo(FFirstVisible);
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TCustomTabControl::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  Integer To = -2;
  switch (Key) {
    case VK_LEFT:
    case VK_UP:
      To = FTabIndex - 1;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      To = FTabIndex + 1;
      break;
    case VK_HOME:
      To = 0;
      break;
    case VK_END:
      To = TabCount() - 1;
      break;
    default:
      return;
  }
  SelectTab(To);
  Key = 0;
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    TLayout L = layout();
    const TPoint P = Point(X, Y);
    if (L.Scroll && PtInRect(&L.LeftArrow, P)) {
      Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(std::max(0, FFirstVisible - 1))), 0);
    } else if (L.Scroll && PtInRect(&L.RightArrow, P)) {
      Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FFirstVisible + 1)), 0);
    } else {
      const Integer Index = IndexOfTabAt(X, Y);
      if (Index >= 0) {
        if (CanFocus() && !Focused()) SetFocus();
        SelectTab(Index);
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTabControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FHotTrack) {
    const Integer Hot = IndexOfTabAt(X, Y);
    if (Hot != FHotTab) {
      FHotTab = Hot;
      Invalidate();
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomTabControl::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (FHotTab != -1) {
    FHotTab = -1;
    Invalidate();
  }
}

// ---- painting ----

void TCustomTabControl::DrawTab(Integer TabIndex, const TRect& Rect, bool Active) {
  if (OnDrawTab) OnDrawTab(this, TabIndex, Rect, Active);
}

void TCustomTabControl::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  C->Brush()->SetColor(ColorToRGB(FColor));
  C->FillRect(Client);
  if (FItems.empty()) return;
  // The page border.
  TRect Page = DisplayRect();
  InflateRect(&Page, 1, 1);
  C->Brush()->SetColor(stdlook::FaceBorder);
  C->FrameRect(Page);
  TLayout L = layout();
  C->Font()->Assign(FFont.get());
  const Integer Limit = L.Scroll ? L.LeftArrow.Left : Client.Right;
  for (Integer I = 0; I < TabCount(); ++I) {
    TRect T = L.Rects[size_t(I)];
    if (T.Right <= 0 || T.Left >= Limit) continue;
    const bool Active = I == FTabIndex;
    if (Active) InflateRect(&T, 2, 2);  // the selected tab stands out over its neighbours
    if (FOwnerDraw) {
      DrawTab(I, T, Active);
      continue;
    }
    const TColor Fill = Active ? stdlook::Face : I == FHotTab ? stdlook::FaceHover : stdlook::Track;
    C->Brush()->SetColor(Fill);
    C->FillRect(T);
    C->Brush()->SetColor(Active ? stdlook::Accent : stdlook::FaceBorder);
    C->FrameRect(T);
    TRect Text = T;
    if (FImages && FItems[size_t(I)].ImageIndex >= 0) {
      FImages->Draw(C, T.Left + 6, T.Top + (T.Height() - FImages->Height()) / 2, FItems[size_t(I)].ImageIndex,
                    FEnabled);
      Text.Left += FImages->Width();
    }
    stdlook::DrawTextIn(C, FItems[size_t(I)].Caption, Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                        FEnabled ? stdlook::Text : stdlook::TextDisabled);
    if (Active && HandleAllocated() && GetFocus() == FHandle) stdlook::FocusRing(C, T);
  }
  if (L.Scroll) {
    for (const TRect& A : {L.LeftArrow, L.RightArrow}) {
      C->Brush()->SetColor(stdlook::Face);
      C->FillRect(A);
      C->Brush()->SetColor(stdlook::FaceBorder);
      C->FrameRect(A);
    }
    C->Font()->SetColor(stdlook::Text);
    stdlook::DrawTextIn(C, "<", L.LeftArrow, DT_CENTER | DT_VCENTER | DT_SINGLELINE, stdlook::Text);
    stdlook::DrawTextIn(C, ">", L.RightArrow, DT_CENTER | DT_VCENTER | DT_SINGLELINE, stdlook::Text);
  }
}
