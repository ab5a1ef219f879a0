// How one open level follows the cursor (polled, never captured), takes keys from its menu chain and
// scrolls its entries.
#include "skin/core/bsdraw.h"
#include "skin/menus/bsskinmenu.h"
#include "skin/menus/bsskinpopupwindow.h"

namespace {

constexpr UINT_PTR ScrollTimerId = 1;

}  // namespace

bool TbsSkinPopupWindow::usable(Integer Index) const {
  TMenuItem* M = ItemList[size_t(Index)]->MenuItem;
  return M->Enabled() && M->Caption() != "-";
}

bool TbsSkinPopupWindow::IsCursorInWindow(TPoint P) {
  return HandleAllocated() && WindowFromPoint(P) == Handle();
}

bool TbsSkinPopupWindow::InItemRect(Integer X, Integer Y) {
  for (auto& E : ItemList)
    if (E->FVisible && PtInRect(&E->ObjectRect, TPoint{X, Y})) return true;
  return false;
}

void TbsSkinPopupWindow::MouseTimerProc(TObject*) {
  if (FClosed || !HandleAllocated()) return;
  POINT P;
  GetCursorPos(&P);
  TPoint Screen{P.X, P.Y};
  ::ScreenToClient(Handle(), &P);
  if (P.X == OMX && P.Y == OMY) return;
  OMX = P.X;
  OMY = P.Y;
  if (IsCursorInWindow(Screen)) {
    TestActive(P.X, P.Y);
  } else if (Scroll) {
    // Leaving the window only pauses scrolling: the timer stays set.
    ScrollCode = 0;
    DrawUpMarker(Canvas());
    DrawDownMarker(Canvas());
  }
}

void TbsSkinPopupWindow::TestActive(Integer X, Integer Y) {
  const TPoint P{X, Y};
  if (Scroll) {
    const TRect Up = Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10);
    const TRect Down =
        Rect(NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom);
    const bool InUp = PtInRect(&Up, P), InDown = PtInRect(&Down, P);
    if (InUp && ScrollCode == 0 && CanScroll(1)) {
      ScrollCode = 1;
      DrawUpMarker(Canvas());
      StartScroll();
    } else if (InDown && ScrollCode == 0 && CanScroll(2)) {
      ScrollCode = 2;
      DrawDownMarker(Canvas());
      StartScroll();
    } else if (ScrollCode != 0 && !InUp && !InDown) {
      StopScroll();
    }
  }
  if (ItemList.empty()) return;
  OldActiveItem = ActiveItem;
  for (Integer i = 0; i < ItemCount(); ++i)
    if (Item(i)->FVisible && PtInRect(&Item(i)->ObjectRect, P)) {
      ActiveItem = i;
      break;
    }
  if (ActiveItem >= ItemCount()) ActiveItem = -1;
  if (OldActiveItem >= ItemCount()) OldActiveItem = -1;
  if (ActiveItem != -1 && ActiveItem == OldActiveItem) {
    TbsSkinMenuItem* E = Item(ActiveItem);
    if (E->WaitCommand) {
      E->WaitCommand = false;
      if (E->MenuItem->Count() > 0) E->MouseEnter(false);
    }
    return;
  }
  if (ActiveItem != OldActiveItem) {
    if (OldActiveItem != -1 && usable(OldActiveItem)) Item(OldActiveItem)->MouseLeave();
    if (ActiveItem != -1 && usable(ActiveItem)) Item(ActiveItem)->MouseEnter(false);
  }
}

void TbsSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FClosed) return;
  TestActive(X, Y);
  if (ActiveItem == -1 || Button != mbLeft || !InItemRect(X, Y)) return;
  if (ActiveItem >= ItemCount()) return;
  TbsSkinMenuItem* E = Item(ActiveItem);
  if (MenuEntryKindOf(E->MenuItem) == TbsMenuEntryKind::Separator) return;
  // The click may close this level; it is freed only after this handler returns.
  E->MouseDown(X, Y);
}

// ---- scrolling ----

bool TbsSkinPopupWindow::CanScroll(Integer AScrollCode) {
  if (AScrollCode == 1) return VisibleStartIndex > 0;
  if (AScrollCode == 2) return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1;
  return false;
}

void TbsSkinPopupWindow::StartScroll() {
  ParentMenu->HidePopups(ParentMenu->GetPopupIndex(this) + 1);
  KillTimer(Handle(), ScrollTimerId);
  SetTimer(Handle(), ScrollTimerId, 100, nullptr);
}

void TbsSkinPopupWindow::StopScroll() {
  ScrollCode = 0;
  DrawUpMarker(Canvas());
  DrawDownMarker(Canvas());
  if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
}

void TbsSkinPopupWindow::wmTimer(TMessage& Message) {
  if (FClosed || Message.WParam != ScrollTimerId) return;
  if (ScrollCode == 1) {
    if (CanScroll(1))
      ScrollUp(false);
    else
      StopScroll();
  } else if (ScrollCode == 2) {
    if (CanScroll(2))
      ScrollDown(false);
    else
      StopScroll();
  }
}

void TbsSkinPopupWindow::ScrollUp(bool ACycle) {
  if (VisibleStartIndex > 0) {
    --VisibleStartIndex;
  } else if (ACycle) {
    VisibleStartIndex = LastPageStartIndex();
  } else {
    return;
  }
  ArrangeItems();
  Repaint();
}

void TbsSkinPopupWindow::ScrollDown(bool ACycle) {
  if (VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1) {
    ++VisibleStartIndex;
  } else if (ACycle) {
    VisibleStartIndex = 0;
  } else {
    return;
  }
  ArrangeItems();
  Repaint();
}

Integer TbsSkinPopupWindow::LastPageStartIndex() {
  Integer a = NewItemsRect.Bottom - 10, n = 0;
  for (Integer i = ItemCount() - 1; i >= 0; --i) {
    a -= entryHeight(i, DSMI != nullptr);
    if (a < 10) break;
    ++n;
  }
  return ItemCount() - n;
}

void TbsSkinPopupWindow::CloseSubLevels() {
  const Integer i = ParentMenu->GetPopupIndex(this);
  if (i + 1 < ParentMenu->PopupCount()) ParentMenu->HidePopups(i + 1);
  for (auto& E : ItemList) {
    if (!E->Down) continue;
    E->Down = false;
    if (!E->EnableAnimation() || E->MI->InActiveAnimation) {
      E->ReDraw();
    } else {
      E->CurrentFrame = 0;
      E->Draw(Canvas());
    }
  }
}

// ---- keyboard ----

void TbsSkinPopupWindow::closeLastLevel() {
  const Integer Count = ParentMenu->PopupCount();
  if (Count >= 2) {
    TbsSkinPopupWindow* Below = ParentMenu->PopupLevel(Count - 2);
    if (Below->ActiveItem != -1 && Below->ActiveItem < Below->ItemCount()) {
      Below->Item(Below->ActiveItem)->Down = false;
      Below->Item(Below->ActiveItem)->ReDraw();
    }
    ParentMenu->HidePopups(Count - 1);
  }
}

void TbsSkinPopupWindow::selectNext() {
  if (Scroll && ScrollCode == 0 && VisibleStartIndex + VisibleCount == ActiveItem + 1) ScrollDown(true);
  OldActiveItem = ActiveItem;
  Integer i = ActiveItem == -1 ? 0 : ActiveItem + 1;
  if (i == ItemCount()) i = 0;
  for (; i < ItemCount(); ++i) {
    if (usable(i)) {
      ActiveItem = i;
      break;
    }
    if (Scroll && ScrollCode == 0 && VisibleStartIndex + VisibleCount == i + 1) ScrollDown(true);
  }
  if (ActiveItem == OldActiveItem) return;
  Item(ActiveItem)->MouseEnter(true);
  if (OldActiveItem != -1) Item(OldActiveItem)->MouseLeave();
}

void TbsSkinPopupWindow::selectPrior() {
  if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex) ScrollUp(true);
  OldActiveItem = ActiveItem;
  Integer i = ActiveItem == -1 ? ItemCount() - 1 : ActiveItem - 1;
  if (i == -1) i = ItemCount() - 1;
  for (; i >= 0; --i) {
    if (usable(i)) {
      ActiveItem = i;
      break;
    }
    if (Scroll && ScrollCode == 0 && i == VisibleStartIndex) ScrollUp(true);
  }
  if (ActiveItem == OldActiveItem) return;
  Item(ActiveItem)->MouseEnter(true);
  if (OldActiveItem != -1) Item(OldActiveItem)->MouseLeave();
}

void TbsSkinPopupWindow::PopupKeyDown(Integer CharCode) {
  if (FClosed) return;
  if (!Visible() || ItemList.empty()) {
    if (Visible() && (CharCode == VK_ESCAPE || CharCode == VK_LEFT)) {
      if (ParentMenu->PopupCount() >= 2)
        closeLastLevel();
      else if (CharCode == VK_ESCAPE)
        ParentMenu->HidePopups(0);
    }
    return;
  }
  // Accelerators first, over every entry (also disabled and scrolled-out ones).
  if (IsWindowEnabled(Handle()))
    for (Integer i = 0; i < ItemCount(); ++i) {
      if (!IsAccel(char32_t(CharCode), Item(i)->MenuItem->Caption())) continue;
      TbsSkinMenuItem* E = Item(i);
      E->MouseEnter(false);
      OldActiveItem = ActiveItem;
      ActiveItem = i;
      if (OldActiveItem != -1 && OldActiveItem != i && OldActiveItem < ItemCount())
        Item(OldActiveItem)->MouseLeave();
      E->MouseDown(0, 0);
      return;
    }
  switch (CharCode) {
    case VK_RETURN:
      if (ActiveItem != -1) Item(ActiveItem)->MouseDown(0, 0);
      break;
    case VK_ESCAPE:
      if (ParentMenu->PopupCount() >= 2)
        closeLastLevel();
      else
        ParentMenu->HidePopups(0);
      break;
    case VK_LEFT:
      if (ParentMenu->PopupCount() >= 2) closeLastLevel();
      break;
    case VK_UP:
      selectPrior();
      break;
    case VK_RIGHT:
      if (ActiveItem != -1 && Item(ActiveItem)->MenuItem->Count() > 0) Item(ActiveItem)->MouseDown(0, 0);
      break;
    case VK_DOWN:
      selectNext();
      break;
    default:
      break;
  }
}
