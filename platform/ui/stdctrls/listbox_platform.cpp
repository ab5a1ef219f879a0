// The platform list box behind TCustomListBox: its messages, keys, mouse, scrolling and painting.
#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "platform/ui/stdctrls/listbox.h"
#include "platform/win/scrollbar.h"
#include "platform/win/scrollrequest.h"

namespace {
constexpr Integer WheelRows = 3;
constexpr Cardinal SearchPause = 1000;  // ms between typed characters that still make one prefix

char32_t fold(char32_t C) {
  return C >= U'A' && C <= U'Z' ? C + 32 : C;
}

int compareText(const String& A, const String& B) {
  const std::u32string X = Utf8ToUtf32(A), Y = Utf8ToUtf32(B);
  for (size_t I = 0; I < X.size() && I < Y.size(); ++I) {
    const char32_t P = fold(X[I]), Q = fold(Y[I]);
    if (P != Q) return P < Q ? -1 : 1;
  }
  return X.size() == Y.size() ? 0 : (X.size() < Y.size() ? -1 : 1);
}

bool startsWith(const String& Text, const std::u32string& Prefix) {
  const std::u32string T = Utf8ToUtf32(Text);
  if (T.size() < Prefix.size()) return false;
  for (size_t I = 0; I < Prefix.size(); ++I)
    if (fold(T[I]) != fold(Prefix[I])) return false;
  return true;
}
}  // namespace

void TCustomListBox::SetSorted(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  if (Value) {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const TItem& A, const TItem& B) { return compareText(A.Text, B.Text) < 0; });
    FCurSel = FCaret = FAnchor = -1;
  }
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::DefaultHandler(TMessage& Message) {
  // The items work without a window too: code may fill the list before it shows.
  if (handleListMessage(Message)) return;
  TWinControl::DefaultHandler(Message);
}

bool TCustomListBox::handleListMessage(TMessage& M) {
  const WPARAM W = M.WParam;
  const LPARAM L = M.LParam;
  const Integer N = Integer(FItems.size());
  const Integer Index = Integer(intptr_t(W));
  auto valid = [&](Integer I) { return I >= 0 && I < N; };
  switch (M.Msg) {
    case LB_ADDSTRING:
      M.Result = insertItem(-1, L ? reinterpret_cast<const char*>(L) : "");
      return true;
    case LB_INSERTSTRING:
      M.Result = Index > N ? LB_ERR : insertItem(Index, L ? reinterpret_cast<const char*>(L) : "");
      return true;
    case LB_DELETESTRING:
      M.Result = deleteItem(Index);
      return true;
    case LB_RESETCONTENT:
      FItems.clear();
      FCurSel = FCaret = FAnchor = -1;
      FTop = 0;
      invalidateList();
      return true;
    case LB_GETCOUNT:
      M.Result = N;
      return true;
    case LB_GETTEXTLEN:
      M.Result = valid(Index) ? LRESULT(FItems[Index].Text.size()) : LB_ERR;
      return true;
    case LB_GETTEXT:
      if (!valid(Index) || !L) {
        M.Result = LB_ERR;
        return true;
      }
      std::copy_n(FItems[Index].Text.c_str(), FItems[Index].Text.size() + 1, reinterpret_cast<char*>(L));
      M.Result = LRESULT(FItems[Index].Text.size());
      return true;
    case LB_GETITEMDATA:
      M.Result = valid(Index) ? LRESULT(FItems[Index].Data) : LB_ERR;
      return true;
    case LB_SETITEMDATA:
      if (valid(Index)) FItems[Index].Data = ULONG_PTR(L);
      M.Result = valid(Index) ? LB_OKAY : LB_ERR;
      return true;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      M.Result = findString(Index, reinterpret_cast<const char*>(L), M.Msg == LB_FINDSTRINGEXACT);
      return true;
    case LB_SELECTSTRING: {
      const LRESULT Found = findString(Index, reinterpret_cast<const char*>(L), false);
      if (Found >= 0 && !multi()) moveFocus(Integer(Found), false, false, false);
      M.Result = Found;
      return true;
    }
    default:
      return handleSelectionMessage(M);
  }
}

bool TCustomListBox::handleSelectionMessage(TMessage& M) {
  const WPARAM W = M.WParam;
  const LPARAM L = M.LParam;
  const Integer N = Integer(FItems.size());
  const Integer Index = Integer(intptr_t(W));
  auto valid = [&](Integer I) { return I >= 0 && I < N; };
  switch (M.Msg) {
    case LB_SETCURSEL:
      if (multi()) {
        M.Result = LB_ERR;
      } else {
        FCurSel = FCaret = valid(Index) ? Index : -1;
        if (FCurSel >= 0) ensureVisible(FCurSel);
        invalidateList();
        M.Result = valid(Index) ? Index : LB_ERR;
      }
      return true;
    case LB_GETCURSEL:
      M.Result = multi() ? FCaret : FCurSel;
      return true;
    case LB_SETSEL: {
      const Integer Item = Integer(L);
      if (!multi() || (Item != -1 && !valid(Item))) {
        M.Result = LB_ERR;
        return true;
      }
      for (Integer I = 0; I < N; ++I)
        if (Item == -1 || I == Item) FItems[I].Selected = W != 0;
      if (Item >= 0) FCaret = FAnchor = Item;
      invalidateList();
      return true;
    }
    case LB_GETSEL:
      M.Result = !valid(Index) ? LB_ERR : (multi() ? FItems[Index].Selected : Index == FCurSel);
      return true;
    case LB_GETSELCOUNT:
      M.Result = multi() ? LRESULT(std::count_if(FItems.begin(), FItems.end(),
                                                 [](const TItem& I) { return I.Selected; }))
                         : LB_ERR;
      return true;
    case LB_GETSELITEMS: {
      if (!multi()) {
        M.Result = LB_ERR;
        return true;
      }
      auto* Out = reinterpret_cast<Integer*>(L);
      Integer Got = 0;
      for (Integer I = 0; I < N && Got < Integer(W); ++I)
        if (FItems[I].Selected) Out[Got++] = I;
      M.Result = Got;
      return true;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
      Integer From = M.Msg == LB_SELITEMRANGE ? LOWORD(L) : Integer(W);
      Integer To = M.Msg == LB_SELITEMRANGE ? HIWORD(L) : Integer(L);
      const bool Select = M.Msg == LB_SELITEMRANGE ? W != 0 : From <= To;
      if (!multi()) {
        M.Result = LB_ERR;
        return true;
      }
      if (From > To) std::swap(From, To);
      for (Integer I = std::max(0, From); I <= std::min(To, N - 1); ++I) FItems[I].Selected = Select;
      invalidateList();
      return true;
    }
    case LB_SETCARETINDEX:
      if (!valid(Index)) {
        M.Result = LB_ERR;
        return true;
      }
      FCaret = Index;
      if (!multi()) FCurSel = Index;
      ensureVisible(Index);
      invalidateList();
      return true;
    case LB_GETCARETINDEX:
      M.Result = FCaret;
      return true;
    case LB_SETANCHORINDEX:
      FAnchor = valid(Index) ? Index : FAnchor;
      M.Result = valid(Index) ? LB_OKAY : LB_ERR;
      return true;
    case LB_GETANCHORINDEX:
      M.Result = FAnchor;
      return true;
    case LB_GETTOPINDEX:
      M.Result = FTop;
      return true;
    case LB_SETTOPINDEX:
      if (!valid(Index) && !(Index == 0 && N == 0)) {
        M.Result = LB_ERR;
        return true;
      }
      scrollTo(Index);
      return true;
    case LB_SETITEMHEIGHT:
      if (LOWORD(L) == 0 || LOWORD(L) > 255) {
        M.Result = LB_ERR;
        return true;
      }
      if ((ListStyle() & LBS_OWNERDRAWVARIABLE) && valid(Index))
        FItems[Index].Height = LOWORD(L);
      else
        FItemHeight = LOWORD(L);
      invalidateList();
      return true;
    case LB_GETITEMHEIGHT:
      M.Result = ((ListStyle() & LBS_OWNERDRAWVARIABLE) && valid(Index)) ? rowHeight(Index) : rowHeight(-1);
      return true;
    case LB_GETITEMRECT: {
      TRect R;
      if (!L || !itemRect(Index, R)) {
        M.Result = LB_ERR;
        return true;
      }
      *reinterpret_cast<RECT*>(L) = R;
      M.Result = 1;
      return true;
    }
    case LB_ITEMFROMPOINT: {
      const TPoint P = LParamToPoint(L);
      Integer Found = -1;
      for (Integer I = FTop; I < N && Found < 0; ++I) {
        TRect R;
        if (itemRect(I, R) && P.Y >= R.Top && P.Y < R.Bottom && P.X >= R.Left && P.X < R.Right) Found = I;
      }
      M.Result = Found >= 0 ? Found : (LRESULT(std::max(0, N - 1)) | (1 << 16));
      return true;
    }
    case LB_SETCOLUMNWIDTH:
      FColumnWidth = std::max<Integer>(1, Integer(W));
      invalidateList();
      return true;
    case LB_SETHORIZONTALEXTENT:
      FHorizontalExtent = Integer(W);
      return true;
    case LB_GETHORIZONTALEXTENT:
      M.Result = FHorizontalExtent;
      return true;
    case LB_SETCOUNT:
      M.Result = LB_ERR;  // only lists without strings have a count of their own
      return true;
    case LB_SETTABSTOPS: {
      const Integer Count = Integer(intptr_t(W));
      const auto* Stops = reinterpret_cast<const Integer*>(L);
      if (!(ListStyle() & LBS_USETABSTOPS) || Count < 0 || (Count > 0 && Stops == nullptr)) {
        M.Result = 0;
        return true;
      }
      FTabStops.assign(Stops, Stops + Count);
      invalidateList();
      M.Result = 1;
      return true;
    }
    default:
      return FHandle != nullptr && handleWindowMessage(M);
  }
  return true;
}

bool TCustomListBox::handleWindowMessage(TMessage& M) {
  const WPARAM W = M.WParam;
  const LPARAM L = M.LParam;
  const Integer N = Integer(FItems.size());
  switch (M.Msg) {
    case WM_GETDLGCODE:
      M.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT PS;
      HDC DC = reinterpret_cast<HDC>(W);
      if (DC) {
        paintList(DC);
      } else {
        DC = BeginPaint(FHandle, &PS);
        if (DC) paintList(DC);
        EndPaint(FHandle, &PS);
      }
      return true;
    }
    case WM_ERASEBKGND:
      M.Result = 1;
      return true;
    case WM_SIZE:
      if (FColumns > 0) FColumnWidth = std::max(1, ClientWidth() / FColumns);
      scrollTo(FTop);
      updateScroll();
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (M.Msg == WM_KILLFOCUS) mouseUp();
      invalidateList();
      notify(M.Msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return false;
    case WM_KEYDOWN:
      keyDown(Word(W));
      return true;
    case WM_CHAR:
      charTyped(char32_t(W));
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      mouseDown(LParamToPoint(L), W & MK_SHIFT, W & MK_CONTROL, M.Msg == WM_LBUTTONDBLCLK);
      return true;
    case WM_MOUSEMOVE:
      if (FTracking) mouseMove(LParamToPoint(L));
      return false;
    case WM_LBUTTONUP:
      mouseUp();
      return true;
    case WM_CAPTURECHANGED:
      FTracking = false;
      return false;
    case WM_MOUSEWHEEL: {
      const Integer Notches = GET_WHEEL_DELTA_WPARAM(W) / WHEEL_DELTA;
      scrollTo(FTop - Notches * WheelRows * (FColumns > 0 ? rowsPerColumn() : 1));
      M.Result = 0;
      return true;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
      if ((M.Msg == WM_HSCROLL) != (FColumns > 0)) return true;
      const Integer Step = FColumns > 0 ? rowsPerColumn() : 1;
      const Integer Page = FColumns > 0 ? rowsPerColumn() * std::max(1, ClientWidth() / FColumnWidth)
                                        : std::max(1, visibleRows() - 1);
      if (const auto Pos = ScrollRequestPosition(LOWORD(W), FTop, {Step, Page, HIWORD(W) * Step, N}))
        scrollTo(*Pos);
      return true;
    }
    default:
      return false;
  }
}

LRESULT TCustomListBox::insertItem(Integer Index, const String& Text) {
  TItem Item;
  // The text ends at a NUL byte, as the platform's strings do.
  Item.Text = Text.substr(0, std::min(Text.size(), Text.find('\0')));
  if (ListStyle() & LBS_SORT) {
    Index = Integer(
        std::upper_bound(FItems.begin(), FItems.end(), Item,
                         [](const TItem& A, const TItem& B) { return compareText(A.Text, B.Text) < 0; }) -
        FItems.begin());
  } else if (Index < 0 || Index > Integer(FItems.size())) {
    Index = Integer(FItems.size());
  }
  FItems.insert(FItems.begin() + Index, Item);
  for (Integer* P : {&FCurSel, &FCaret, &FAnchor})
    if (*P >= Index) ++*P;
  if (ListStyle() & LBS_OWNERDRAWVARIABLE) measure(Index);
  invalidateList();
  return Index;
}

LRESULT TCustomListBox::deleteItem(Integer Index) {
  if (Index < 0 || Index >= Integer(FItems.size())) return LB_ERR;
  FItems.erase(FItems.begin() + Index);
  for (Integer* P : {&FCurSel, &FCaret, &FAnchor}) {
    if (*P == Index)
      *P = -1;
    else if (*P > Index)
      --*P;
  }
  FTop = std::clamp(FTop, 0, lastTopIndex());
  invalidateList();
  return LRESULT(FItems.size());
}

LRESULT TCustomListBox::findString(Integer After, const char* Text, bool Exact) const {
  const Integer N = Integer(FItems.size());
  if (N == 0 || !Text) return LB_ERR;
  const String S = Text;
  const std::u32string Prefix = Utf8ToUtf32(S);
  const Integer Start = (After < 0 || After >= N) ? 0 : After + 1;
  for (Integer K = 0; K < N; ++K) {
    const Integer I = (Start + K) % N;
    if (Exact ? compareText(FItems[I].Text, S) == 0 : startsWith(FItems[I].Text, Prefix)) return I;
  }
  return LB_ERR;
}

void TCustomListBox::measure(Integer Index) {
  MEASUREITEMSTRUCT MIS;
  MIS.CtlType = ODT_LISTBOX;
  MIS.CtlID = FHandle ? UINT(GetWindowLong(FHandle, GWL_ID)) : 0;
  MIS.itemID = UINT(Index);
  MIS.itemHeight = UINT(FItemHeight);
  MIS.itemData = FItems[Index].Data;
  // Through the parent (reflected back as CN_MEASUREITEM), or straight to the control before it has one.
  if (FHandle && GetParent(FHandle))
    SendMessage(GetParent(FHandle), WM_MEASUREITEM, MIS.CtlID, reinterpret_cast<LPARAM>(&MIS));
  else
    Perform(CN_MEASUREITEM, MIS.CtlID, reinterpret_cast<LPARAM>(&MIS));
  FItems[Index].Height = std::max<Integer>(1, Integer(MIS.itemHeight));
}

void TCustomListBox::notify(Word Code) {
  if (!FHandle) return;
  if (Code != LBN_SELCHANGE && Code != LBN_DBLCLK && Code != LBN_SELCANCEL && !(FWindowStyle & LBS_NOTIFY))
    return;
  if (HWND Parent = GetParent(FHandle))
    SendMessage(Parent, WM_COMMAND, MAKEWPARAM(GetWindowLong(FHandle, GWL_ID), Code),
                reinterpret_cast<LPARAM>(FHandle));
}

// ---- selection by the user ----

void TCustomListBox::selectRange(Integer From, Integer To, bool Exclusive) {
  if (From > To) std::swap(From, To);
  for (Integer I = 0; I < Integer(FItems.size()); ++I) {
    if (I >= From && I <= To)
      FItems[I].Selected = true;
    else if (Exclusive)
      FItems[I].Selected = false;
  }
}

void TCustomListBox::moveFocus(Integer Index, bool Extend, bool Toggle, bool Notify) {
  const Integer N = Integer(FItems.size());
  if (N == 0) return;
  Index = std::clamp(Index, 0, N - 1);
  std::vector<bool> Before;
  for (const TItem& I : FItems) Before.push_back(I.Selected);
  const Integer OldSel = FCurSel;
  FCaret = Index;
  if (!multi()) {
    FCurSel = Index;
  } else if (extended()) {
    if (Toggle) {
      FItems[Index].Selected = !FItems[Index].Selected;
      FAnchor = Index;
    } else if (Extend && FAnchor >= 0) {
      selectRange(FAnchor, Index, true);
    } else {
      selectRange(Index, Index, true);
      FAnchor = Index;
    }
  } else if (Toggle) {
    FItems[Index].Selected = !FItems[Index].Selected;
  }
  ensureVisible(Index);
  invalidateList();
  bool Changed = OldSel != FCurSel;
  for (Integer I = 0; I < N && !Changed; ++I) Changed = Before[I] != FItems[I].Selected;
  if (Changed) {
    if (Notify)
      notify(LBN_SELCHANGE);
    else
      FTrackChanged = true;
  }
}

void TCustomListBox::keyDown(Word Key) {
  const bool Shift = GetKeyState(VK_SHIFT) < 0;
  const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
  const Integer N = Integer(FItems.size());
  if (N == 0) return;
  const Integer From = FCaret < 0 ? -1 : FCaret;
  const Integer Rows = FColumns > 0 ? rowsPerColumn() : 1;
  Integer To;
  switch (Key) {
    case VK_UP:
      To = From < 0 ? 0 : From - 1;
      break;
    case VK_DOWN:
      To = From + 1;
      break;
    case VK_LEFT:
      To = FColumns > 0 ? From - Rows : (From < 0 ? 0 : From - 1);
      break;
    case VK_RIGHT:
      To = FColumns > 0 ? From + Rows : From + 1;
      break;
    case VK_PRIOR:
      To = std::max(0, From) - std::max(1, visibleRows() - 1);
      break;
    case VK_NEXT:
      To = std::max(0, From) + std::max(1, visibleRows() - 1);
      break;
    case VK_HOME:
      To = 0;
      break;
    case VK_END:
      To = N - 1;
      break;
    case VK_SPACE:
      if (multi() && !extended() && FCaret >= 0) moveFocus(FCaret, false, true, true);
      return;
    default:
      return;
  }
  // A plain multiple-selection list only moves the focus; Ctrl does the same in an extended one.
  const bool MoveOnly = multi() && (!extended() || (Ctrl && !Shift));
  if (MoveOnly) {
    FCaret = std::clamp(To, 0, N - 1);
    ensureVisible(FCaret);
    invalidateList();
    return;
  }
  moveFocus(To, Shift && extended(), false, true);
}

void TCustomListBox::charTyped(char32_t C) {
  if (C < 0x20 || FItems.empty()) return;
  const Cardinal Now = GetTickCount();
  const bool GoesOn = !FSearch.empty() && Now - FSearchTime < SearchPause;
  FSearchTime = Now;
  std::u32string Prefix = GoesOn ? Utf8ToUtf32(FSearch) : std::u32string();
  Prefix.push_back(C);
  // One character finds the next item after the current one; a longer prefix may stay on it.
  const Integer After = Prefix.size() == 1 ? FCaret : FCaret - 1;
  LRESULT Found = findString(After, Utf32ToUtf8(Prefix).c_str(), false);
  if (Found < 0 && Prefix.size() > 1) {
    // A repeated letter steps through the items that start with it.
    bool Same = std::all_of(Prefix.begin(), Prefix.end(), [&](char32_t X) { return fold(X) == fold(C); });
    if (Same) Found = findString(FCaret, Utf8Encode(C).c_str(), false);
  }
  FSearch = Utf32ToUtf8(Prefix);
  if (Found >= 0) moveFocus(Integer(Found), false, false, true);
}

void TCustomListBox::mouseDown(TPoint P, bool Shift, bool Ctrl, bool Double) {
  if (!Focused() && CanFocus()) SetFocus();
  const Integer Index = ItemAtPos(P, true);
  if (Index < 0) return;
  FTrackChanged = false;
  if (multi() && !extended())
    moveFocus(Index, false, true, false);
  else
    moveFocus(Index, Shift && extended(), Ctrl && extended(), false);
  FTracking = true;
  SetCapture(FHandle);
  // A double-click is a press as well, then the notice.
  if (Double) {
    mouseUp();
    notify(LBN_DBLCLK);
  }
}

void TCustomListBox::mouseMove(TPoint P) {
  if (multi() && !extended()) return;
  const TRect Client = ClientRect();
  Integer Index =
      ItemAtPos({std::clamp(P.X, 0, Client.Right - 1), std::clamp(P.Y, 0, Client.Bottom - 1)}, true);
  // Dragging past the edge scrolls the list.
  if (P.Y < 0) Index = FTop - 1;
  if (P.Y >= Client.Bottom && FColumns == 0) Index = FTop + visibleRows();
  if (Index < 0 || Index == FCaret) return;
  moveFocus(Index, extended(), false, false);
}

void TCustomListBox::mouseUp() {
  if (!FTracking) return;
  FTracking = false;
  if (GetCapture() == FHandle) ReleaseCapture();
  if (FTrackChanged) {
    FTrackChanged = false;
    notify(LBN_SELCHANGE);
  }
}

// ---- layout, scrolling and painting ----

Integer TCustomListBox::rowHeight(Integer Index) {
  const DWORD S = ListStyle();
  if ((S & LBS_OWNERDRAWVARIABLE) && Index >= 0 && Index < Integer(FItems.size()))
    return FItems[Index].Height;
  if (S & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) return FItemHeight;
  // Standard items are one line of the font high.
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  TEXTMETRIC TM;
  GetTextMetrics(DC, &TM);
  SelectObject(DC, Old);
  DeleteDC(DC);
  return std::max<Integer>(1, TM.tmHeight);
}

Integer TCustomListBox::rowsPerColumn() {
  return std::max(1, ClientHeight() / rowHeight(-1));
}

Integer TCustomListBox::visibleRows() {
  if (FColumns > 0) return rowsPerColumn() * std::max(1, ClientWidth() / std::max(1, FColumnWidth));
  const Integer H = ClientHeight();
  Integer Rows = 0, Y = 0;
  for (Integer I = FTop; I < Integer(FItems.size()); ++I) {
    Y += rowHeight(I);
    if (Y > H) break;
    ++Rows;
  }
  if (FItems.empty() || FTop + Rows >= Integer(FItems.size())) Rows += (H - Y) / rowHeight(-1);
  return std::max(1, Rows);
}

Integer TCustomListBox::lastTopIndex() {
  const Integer N = Integer(FItems.size());
  if (N == 0 || !FHandle) return 0;
  if (FColumns > 0) {
    const Integer Rows = rowsPerColumn();
    const Integer Cols = std::max(1, ClientWidth() / std::max(1, FColumnWidth));
    const Integer TotalCols = (N + Rows - 1) / Rows;
    return std::max(0, TotalCols - Cols) * Rows;
  }
  // The top that shows the last item at the bottom.
  Integer Y = 0, Top = N;
  while (Top > 0 && Y + rowHeight(Top - 1) <= ClientHeight()) Y += rowHeight(--Top);
  return std::min(Top, N - 1);
}

bool TCustomListBox::itemRect(Integer Index, TRect& R) {
  const Integer N = Integer(FItems.size());
  if (Index < 0 || (Index >= N && !(Index == 0 && N == 0))) return false;
  const Integer W = FHandle ? ClientWidth() : Width();
  if (FColumns > 0) {
    const Integer Rows = rowsPerColumn(), H = rowHeight(-1);
    const Integer Col = Index / Rows - FTop / Rows, Row = Index % Rows;
    R = Rect(Col * FColumnWidth, Row * H, (Col + 1) * FColumnWidth, (Row + 1) * H);
    return true;
  }
  Integer Y = 0;
  if (Index >= FTop) {
    for (Integer I = FTop; I < Index; ++I) Y += rowHeight(I);
  } else {
    for (Integer I = Index; I < FTop; ++I) Y -= rowHeight(I);
  }
  R = Rect(0, Y, W, Y + rowHeight(Index));
  return true;
}

void TCustomListBox::scrollTo(Integer Top) {
  const Integer Rows = FColumns > 0 ? rowsPerColumn() : 1;
  Top = std::clamp(Top, 0, lastTopIndex());
  Top -= Top % Rows;
  if (Top != FTop) {
    FTop = Top;
    invalidateList();
  }
  updateScroll();
}

void TCustomListBox::ensureVisible(Integer Index) {
  if (!FHandle || Index < 0) return;
  if (Index < FTop) {
    scrollTo(Index);
    return;
  }
  if (FColumns > 0) {
    const Integer Last = FTop + visibleRows() - 1;
    if (Index > Last) scrollTo(Index - visibleRows() + rowsPerColumn());
    return;
  }
  TRect R;
  Integer Top = FTop;
  while (Top < Index && itemRect(Index, R) && R.Bottom > ClientHeight()) {
    FTop = ++Top;
  }
  scrollTo(Top);
}

void TCustomListBox::updateScroll() {
  if (!FHandle) return;
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const Integer N = Integer(FItems.size());
  if (FColumns > 0) {
    const Integer Rows = rowsPerColumn();
    SI.nMin = 0;
    SI.nMax = std::max(0, (N + Rows - 1) / Rows - 1);
    SI.nPage = UINT(std::max(1, ClientWidth() / std::max(1, FColumnWidth)));
    SI.nPos = FTop / Rows;
    SetScrollInfo(FHandle, SB_HORZ, &SI, true);
    return;
  }
  SI.nMin = 0;
  SI.nMax = std::max(0, N - 1);
  SI.nPage = UINT(visibleRows());
  SI.nPos = FTop;
  SetScrollInfo(FHandle, SB_VERT, &SI, true);
}

void TCustomListBox::invalidateList() {
  if (!FHandle || FNoRedraw) return;
  updateScroll();
  InvalidateRect(FHandle, nullptr, true);
}

HBRUSH TCustomListBox::ctlColor(HDC DC) {
  HBRUSH Brush = nullptr;
  if (HWND Parent = GetParent(FHandle))
    Brush = reinterpret_cast<HBRUSH>(SendMessage(Parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(DC),
                                                 reinterpret_cast<LPARAM>(FHandle)));
  if (!Brush) {
    SetTextColor(DC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(DC, GetSysColor(COLOR_WINDOW));
    Brush = GetSysColorBrush(COLOR_WINDOW);
  }
  return Brush;
}

void TCustomListBox::paintList(HDC DC) {
  const Integer Saved = SaveDC(DC);
  HBRUSH Brush = ctlColor(DC);
  const COLORREF Ink = GetTextColor(DC);
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  FillRect(DC, &Client, Brush);
  SelectObject(DC, FFont->Handle());
  SetBkMode(DC, TRANSPARENT);
  for (Integer I = FTop; I < Integer(FItems.size()); ++I) {
    TRect R;
    if (!itemRect(I, R)) break;
    if (R.Left >= Client.Right || (FColumns == 0 && R.Top >= Client.Bottom)) break;
    SetTextColor(DC, Ink);
    paintItem(DC, I, R);
  }
  RestoreDC(DC, Saved);
}

void TCustomListBox::paintItem(HDC DC, Integer Index, const TRect& R) {
  const bool Sel = multi() ? FItems[Index].Selected : Index == FCurSel;
  const bool Focus = Index == FCaret && GetFocus() == FHandle;
  const DWORD S = ListStyle();
  if (S & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) {
    DRAWITEMSTRUCT DIS;
    DIS.CtlType = ODT_LISTBOX;
    DIS.CtlID = UINT(GetWindowLong(FHandle, GWL_ID));
    DIS.itemID = UINT(Index);
    DIS.itemAction = ODA_DRAWENTIRE;
    DIS.itemState =
        (Sel ? ODS_SELECTED : 0) | (Focus ? ODS_FOCUS : 0) | (IsWindowEnabled(FHandle) ? 0 : ODS_DISABLED);
    DIS.hwndItem = FHandle;
    DIS.hDC = DC;
    DIS.rcItem = R;
    DIS.itemData = FItems[Index].Data;
    const Integer Saved = SaveDC(DC);
    if (HWND Parent = GetParent(FHandle))
      SendMessage(Parent, WM_DRAWITEM, DIS.CtlID, reinterpret_cast<LPARAM>(&DIS));
    RestoreDC(DC, Saved);
    return;
  }
  if (Sel) {
    FillRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
  }
  if (!IsWindowEnabled(FHandle)) SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
  TRect TR = R;
  TR.Left += 2;
  drawItemText(DC, FItems[Index].Text, TR);
  if (Focus) DrawFocusRect(DC, &R);
}

void TCustomListBox::drawItemText(HDC DC, const String& Text, const TRect& R) {
  if (!(ListStyle() & LBS_USETABSTOPS)) {
    TRect TR = R;
    DrawText(DC, Text, &TR, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    return;
  }
  TEXTMETRIC TM;
  GetTextMetrics(DC, &TM);
  // Dialog units: a quarter of the average character width.
  std::vector<Integer> Pixels;
  for (Integer Stop : FTabStops) Pixels.push_back(MulDiv(Stop, TM.tmAveCharWidth, 4));
  const Integer Saved = SaveDC(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  SetTextAlign(DC, TA_LEFT | TA_TOP);
  TabbedTextOut(DC, R.Left, R.Top + (R.Height() - TM.tmHeight) / 2, Text, Integer(Pixels.size()),
                Pixels.empty() ? nullptr : Pixels.data(), R.Left);
  RestoreDC(DC, Saved);
}
