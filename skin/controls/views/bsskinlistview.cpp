#include "skin/controls/views/bsskinlistview.h"

#include "skin/core/bsglyphs.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/core/bsstrings.h"

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner)
    : TbsSkinViewBase(AOwner, "listview", clBtnShadow) {
  // The header procedure is bound to this object for its whole life.
  FHeaderInstance = MakeObjectInstance([this](TMessage& M) { HeaderWndProc(M); });
}

TbsSkinCustomListView::~TbsSkinCustomListView() {
  releaseHeader();
  if (FHeaderInstance) FreeObjectInstance(FHeaderInstance);
  FHeaderInstance = nullptr;
}

// ---- properties ----

void TbsSkinCustomListView::SetDrawSkin(bool Value) {
  FDrawSkin = Value;
  if (Value && !designing()) {
    OnCustomDrawItem = [this](TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                              bool& DefaultDraw) { DrawSkinItem(Sender, Item, State, DefaultDraw); };
    SetFullDrag(false);
  }
}

void TbsSkinCustomListView::SetDrawSkinLines(bool Value) {
  FDrawSkinLines = Value;
  if (Value && designing()) SetGridLines(false);
}

// ---- life cycle ----
void TbsSkinCustomListView::Loaded() {
  FInCheckScrollBars = true;
  TbsSkinViewBase::Loaded();
  FInCheckScrollBars = false;
  ChangeSkinData();
}

void TbsSkinCustomListView::Change(TListItem* Item, TItemChange AChange) {
  TCustomListView::Change(Item, AChange);
  if (!FInCheckScrollBars) UpDateScrollBars();
}

void TbsSkinCustomListView::ChangeSkinData() {
  findElement();
  if (FIndex == -1) {
    applyDefaultLook();
  } else if (auto* R = dynamic_cast<TbsDataSkinListView*>(FSD->Ctrls(FIndex))) {
    applyElementLook(R);
    // One eighth of the text colour over the background.
    FLineColor = AverageColor(AverageColor(AverageColor(R->FontColor, R->BGColor), R->BGColor), R->BGColor);
  }
  applyCharset();
  refreshScrollBars();
  if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, true);
}

// ---- messages ----
void TbsSkinCustomListView::WndProc(TMessage& Message) {
  if (Message.Msg == CM_REPAINTHEADER) {
    if (FHeaderHandle) PaintHeader(reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  if (Message.Msg == WM_PARENTNOTIFY && LOWORD(Message.WParam) == WM_CREATE) {
    HWND Child = reinterpret_cast<HWND>(Message.LParam);
    char Name[81] = {};
    GetClassName(Child, Name, 80);
    if (String(Name) == WC_HEADER && ShowColumnHeaders()) {
      releaseHeader();
      subclassHeader(Child);
    }
  }
  TbsSkinViewBase::WndProc(Message);
  switch (Message.Msg) {
    case WM_SIZE:
      if (!FInCheckScrollBars && Items()->Count() > 0) UpDateScrollBars();
      if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, false);
      break;
    case WM_PAINT:
      if (!FInCheckScrollBars) UpDateScrollBars();
      if (ViewStyle() == vsReport && FHeaderHandle && (GridLines() || FDrawSkin) && HandleAllocated()) {
        RECT HR;
        GetWindowRect(FHeaderHandle, &HR);
        HDC DC = GetDC(Handle());
        HBRUSH B = CreateSolidBrush(ColorToRGB(Color()));
        const TRect Row = Rect(0, HR.Height(), Width(), HR.Height() + 1);
        FillRect(DC, &Row, B);
        DeleteObject(B);
        ReleaseDC(Handle(), DC);
      }
      break;
    default:
      break;
  }
}

// ---- the attached bars ----
void TbsSkinCustomListView::updateReportBars(bool& Changed) {
  if (FInCheckScrollBars) return;
  Integer Min = 0, Max = 0;
  if (FVScrollBar) {
    GetScrollRange(Handle(), SB_VERT, &Min, &Max);
    const Integer Pos = GetScrollPos(Handle(), SB_VERT);
    const Integer Rows = Integer(SendMessage(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    const bool Vis = Rows < Max + 1 && Visible();
    setBarVisible(FVScrollBar, Vis, Changed);
    if (Vis) {
      FVScrollBar->SetRange(Min, Max, Pos, Rows);
      FOldVScrollBarPos = Pos;
      FVScrollBar->SetSmallChange(1);
      FVScrollBar->SetLargeChange(std::max(1, Rows));
    }
  }
  if (FHScrollBar) {
    Integer Pos = 0;
    if (mirrorHorizontal(Changed, Pos)) FOldHScrollBarPos = Pos;
  }
}

void TbsSkinCustomListView::updateListBars(bool& Changed) {
  if (FInCheckScrollBars) return;
  if (FVScrollBar && FVScrollBar->Visible()) setBarVisible(FVScrollBar, false, Changed);
  if (!FHScrollBar) return;
  Integer Min = 0, Max = 0;
  GetScrollRange(Handle(), SB_HORZ, &Min, &Max);
  const Integer Pos = GetScrollPos(Handle(), SB_HORZ);
  Integer W = Items()->Count() > 0 ? Items()->Item(0)->DisplayRect(drBounds).Width() : 1;
  if (W <= 0) W = 1;
  const Integer Page = Width() / W;
  const bool Vis = Integer(SendMessage(Handle(), LVM_GETCOUNTPERPAGE, 0, 0)) < Items()->Count() && Visible();
  setBarVisible(FHScrollBar, Vis, Changed);
  if (Vis) {
    FHScrollBar->SetRange(Min, Max, Pos, Page);
    FHScrollBar->SetSmallChange(1);
    FHScrollBar->SetLargeChange(1);
    FOldHScrollBarPos = Pos;
  }
}

void TbsSkinCustomListView::updateIconBars(bool& Changed) {
  if (FInCheckScrollBars) return;
  const Integer H = Items()->Count() > 0 ? Items()->Item(0)->DisplayRect(drBounds).Height() : 0;
  Integer Min = 0, Max = 0;
  if (FVScrollBar) {
    GetScrollRange(Handle(), SB_VERT, &Min, &Max);
    const Integer Pos = GetScrollPos(Handle(), SB_VERT);
    const bool Vis = Max > Height() && Visible();
    setBarVisible(FVScrollBar, Vis, Changed);
    if (Vis) {
      FVScrollBar->SetSmallChange(std::max(1, H / 2));
      FVScrollBar->SetLargeChange(std::max(1, H / 2));
      FVScrollBar->SetRange(Min, Max, Pos, Height());
      FOldVScrollBarPos = Pos;
    }
  }
  if (FHScrollBar) {
    GetScrollRange(Handle(), SB_HORZ, &Min, &Max);
    const Integer Pos = GetScrollPos(Handle(), SB_HORZ);
    const bool Vis = Max > Width() && Visible();
    setBarVisible(FHScrollBar, Vis, Changed);
    if (Vis) {
      FHScrollBar->SetSmallChange(std::max(1, H / 2));
      FHScrollBar->SetLargeChange(std::max(1, H / 2));
      FHScrollBar->SetRange(Min, Max, Pos, Width());
      FOldHScrollBarPos = Pos;
    }
  }
}

void TbsSkinCustomListView::UpDateScrollBars() {
  if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5) return;
  bool Changed = false;
  switch (ViewStyle()) {
    case vsReport:
      updateReportBars(Changed);
      break;
    case vsList:
      updateListBars(Changed);
      break;
    default:
      updateIconBars(Changed);
      break;
  }
  finishScrollBars(Changed);
}

void TbsSkinCustomListView::VScrollBarChange(TObject*) {
  if (FVScrollBar == nullptr) return;
  FromSB = true;
  if (IsEditing()) SendMessage(Handle(), LVM_CANCELEDITLABEL, 0, 0);
  const Integer Delta = FVScrollBar->Position() - FOldVScrollBarPos;
  if (ViewStyle() == vsReport || ViewStyle() == vsList) {
    const Integer H = Items()->Count() > 0 ? Items()->Item(0)->DisplayRect(drBounds).Height() : ItemHeight();
    Scroll(0, Delta * H);
  } else {
    Scroll(0, Delta);
  }
  FOldVScrollBarPos = FVScrollBar->Position();
  FromSB = false;
}

void TbsSkinCustomListView::HScrollBarChange(TObject*) {
  if (FHScrollBar == nullptr) return;
  FromSB = true;
  if (IsEditing()) SendMessage(Handle(), LVM_CANCELEDITLABEL, 0, 0);
  const Integer Delta = FHScrollBar->Position() - FOldHScrollBarPos;
  if (ViewStyle() == vsList) {
    const Word Code = Delta < 0 ? SB_LINELEFT : SB_LINERIGHT;
    for (Integer i = 0; i < std::abs(Delta); ++i) SendMessage(Handle(), WM_HSCROLL, Code, 0);
  } else {
    Scroll(Delta, 0);
  }
  FOldHScrollBarPos = FHScrollBar->Position();
  FromSB = false;
}
