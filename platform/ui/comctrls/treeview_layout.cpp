// The tree view's layout and input: visible rows, the parts of a row (indent, button, state image,
// image, label), hit testing, scrolling through the window's scroll-info state, the TVM_* messages,
// the keyboard and the mouse.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/gdi/font.h"
#include "platform/gdi/text.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "platform/ui/comctrls/treeview.h"
#include "platform/win/scrollrequest.h"

namespace {

constexpr Integer LabelPadding = 2;  // text inset on both sides of the label
constexpr Integer ImageGap = 3;      // between the image and the label

}  // namespace

// =====================================================================================================
// Rows and geometry
// =====================================================================================================
const std::vector<TTreeNode*>& TCustomTreeView::rows() const {
  if (!FRowsValid) {
    FRows.clear();
    for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->GetNextVisible()) FRows.push_back(N);
    FRowsValid = true;
  }
  return FRows;
}

Integer TCustomTreeView::rowOf(const TTreeNode* Node) const {
  const auto& R = rows();
  auto It = std::find(R.begin(), R.end(), Node);
  return It == R.end() ? -1 : Integer(It - R.begin());
}

Integer TCustomTreeView::ItemHeight() const {
  if (FItemHeight > 0) return FItemHeight;
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  TEXTMETRIC TM;
  GetTextMetrics(DC, &TM);
  SelectObject(DC, Old);
  DeleteDC(DC);
  Integer H = std::max<Integer>(TM.tmHeight + 4, 8);
  if (FImages) H = std::max(H, FImages->Height() + 2);
  if (FStateImages) H = std::max(H, FStateImages->Height() + 2);
  FItemHeight = H;
  return H;
}

Integer TCustomTreeView::VisibleCount() const {
  RECT R{};
  if (HandleAllocated())
    ::GetClientRect(FHandle, &R);
  else
    R = Rect(0, 0, FWidth, FHeight);
  return std::max(0, R.Height() / ItemHeight());
}

Integer TCustomTreeView::nodeLeft(const TTreeNode* Node) const {
  return (Node->Level() + (FShowRoot ? 1 : 0)) * FIndent - FScrollX;
}

Integer TCustomTreeView::imageWidth() const {
  return FImages ? FImages->Width() + ImageGap : 0;
}

Integer TCustomTreeView::stateImageWidth() const {
  return FStateImages ? FStateImages->Width() : 0;
}

TRect TCustomTreeView::rowRect(Integer Row) const {
  RECT C{};
  if (HandleAllocated()) ::GetClientRect(FHandle, &C);
  const Integer H = ItemHeight(), Top = (Row - FTopRow) * H;
  return Rect(0, Top, std::max<Integer>(C.Right, 0), Top + H);
}

TRect TCustomTreeView::labelRect(const TTreeNode* Node, Integer Row) const {
  const TRect R = rowRect(Row);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  TSize Size{0, 0};
  GetTextExtentPoint32(DC, Node->Text(), &Size);
  SelectObject(DC, Old);
  DeleteDC(DC);
  const Integer Left = nodeLeft(Node) + stateImageWidth() + imageWidth();
  return Rect(Left, R.Top, Left + Size.cx + 2 * LabelPadding, R.Bottom);
}

TRect TCustomTreeView::buttonRect(const TTreeNode* Node, Integer Row) const {
  const TRect R = rowRect(Row);
  const Integer CX = nodeLeft(Node) - FIndent / 2, CY = (R.Top + R.Bottom) / 2;
  return Rect(CX - 4, CY - 4, CX + 5, CY + 5);
}

Integer TCustomTreeView::contentWidth() const {
  Integer W = 0;
  const auto& R = rows();
  for (size_t i = 0; i < R.size(); ++i) W = std::max(W, labelRect(R[i], Integer(i)).Right + FScrollX);
  return W;
}

UINT TCustomTreeView::hitTest(Integer X, Integer Y, TTreeNode** Node) const {
  *Node = nullptr;
  RECT C{};
  if (HandleAllocated()) ::GetClientRect(FHandle, &C);
  UINT Flags = 0;
  if (Y < 0) Flags |= TVHT_ABOVE;
  if (Y >= C.Bottom) Flags |= TVHT_BELOW;
  if (X < 0) Flags |= TVHT_TOLEFT;
  if (X >= C.Right) Flags |= TVHT_TORIGHT;
  if (Flags) return Flags;
  const Integer Row = FTopRow + Y / ItemHeight();
  if (Row >= Integer(rows().size())) return TVHT_NOWHERE;
  TTreeNode* N = rows()[size_t(Row)];
  *Node = N;
  const Integer Left = nodeLeft(N);
  const TRect Label = labelRect(N, Row);
  if (X >= Label.Left && X < Label.Right) return TVHT_ONITEMLABEL;
  if (X >= Label.Right) return TVHT_ONITEMRIGHT;
  if (X >= Left + stateImageWidth()) return TVHT_ONITEMICON;
  if (X >= Left) return TVHT_ONITEMSTATEICON;
  const bool HasButton = FShowButtons && N->HasChildren() && (FShowRoot || N->Parent() != nullptr);
  if (HasButton && X >= Left - FIndent) return TVHT_ONITEMBUTTON;
  return TVHT_ONITEMINDENT;
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer X, Integer Y) const {
  TTreeNode* N;
  const UINT Flags = hitTest(X, Y, &N);
  return (Flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT)) ? N : nullptr;
}

THitTests TCustomTreeView::GetHitTestInfoAt(Integer X, Integer Y) const {
  TTreeNode* N;
  const UINT Flags = hitTest(X, Y, &N);
  THitTests T;
  const std::pair<UINT, THitTest> Map[] = {
      {TVHT_ABOVE, htAbove},           {TVHT_BELOW, htBelow},         {TVHT_NOWHERE, htNowhere},
      {TVHT_ONITEMBUTTON, htOnButton}, {TVHT_ONITEMICON, htOnIcon},   {TVHT_ONITEMINDENT, htOnIndent},
      {TVHT_ONITEMLABEL, htOnLabel},   {TVHT_ONITEMRIGHT, htOnRight}, {TVHT_ONITEMSTATEICON, htOnStateIcon},
      {TVHT_TOLEFT, htToLeft},         {TVHT_TORIGHT, htToRight}};
  for (auto [Bit, Value] : Map)
    if (Flags & Bit) T.Include(Value);
  if (Flags & TVHT_ONITEM) T.Include(htOnItem);
  return T;
}

TTreeNode* TCustomTreeView::TopItem() const {
  const auto& R = rows();
  return FTopRow < Integer(R.size()) ? R[size_t(FTopRow)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
  const Integer Row = Value ? rowOf(Value) : -1;
  if (Row >= 0) setTopRow(Row);
}

// =====================================================================================================
// Scrolling
// =====================================================================================================
Integer TCustomTreeView::maxTopRow() const {
  return std::max(0, Integer(rows().size()) - std::max(1, VisibleCount()));
}

void TCustomTreeView::setTopRow(Integer Value) {
  Value = std::clamp(Value, 0, maxTopRow());
  if (Value == FTopRow) return;
  if (FEditor) cancelLabelEdit();
  FTopRow = Value;
  if (HandleAllocated()) {
    SCROLLINFO SI;
    SI.fMask = SIF_POS;
    SI.nPos = FTopRow;
    SetScrollInfo(FHandle, SB_VERT, &SI, true);
    Invalidate();
  }
}

void TCustomTreeView::setScrollX(Integer Value) {
  RECT C{};
  if (HandleAllocated()) ::GetClientRect(FHandle, &C);
  Value = std::clamp(Value, 0, std::max<Integer>(0, contentWidth() - C.Right));
  if (Value == FScrollX) return;
  if (FEditor) cancelLabelEdit();
  FScrollX = Value;
  if (HandleAllocated()) {
    SCROLLINFO SI;
    SI.fMask = SIF_POS;
    SI.nPos = FScrollX;
    SetScrollInfo(FHandle, SB_HORZ, &SI, true);
    Invalidate();
  }
}

void TCustomTreeView::updateScrollInfo() {
  if (!HandleAllocated() || FItems->FUpdateCount > 0) return;
  // Showing or hiding a bar changes the client area and so the page; two rounds settle it.
  for (Integer Round = 0; Round < 2; ++Round) {
    RECT Before;
    ::GetClientRect(FHandle, &Before);
    SCROLLINFO Vert, Horz;
    Vert.fMask = Horz.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    const Integer Rows = Integer(rows().size());
    Vert.nMin = Horz.nMin = 0;
    Vert.nMax = std::max(0, Rows - 1);
    Vert.nPage = UINT(VisibleCount());
    Vert.nPos = FTopRow;
    Horz.nMax = std::max(0, contentWidth() - 1);
    Horz.nPage = UINT(std::max<Integer>(0, Before.Right));
    Horz.nPos = FScrollX;
    SetScrollInfo(FHandle, SB_VERT, &Vert, true);
    SetScrollInfo(FHandle, SB_HORZ, &Horz, true);
    RECT After;
    ::GetClientRect(FHandle, &After);
    if (After.Right == Before.Right && After.Bottom == Before.Bottom) break;
  }
  const Integer Top = FTopRow, X = FScrollX;
  setTopRow(Top);
  setScrollX(X);
}

void TCustomTreeView::scrollMessage(bool Vertical, Word Code) {
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  GetScrollInfo(FHandle, Vertical ? SB_VERT : SB_HORZ, &SI);
  const Integer Page = std::max<Integer>(1, Integer(SI.nPage));
  const Integer Line = Vertical ? 1 : 16;
  const std::optional<Integer> Pos =
      ScrollRequestPosition(Code, Vertical ? FTopRow : FScrollX, {Line, Page, SI.nTrackPos, SI.nMax});
  if (!Pos) return;
  if (Vertical)
    setTopRow(*Pos);
  else
    setScrollX(*Pos);
}

// =====================================================================================================
// Messages
// =====================================================================================================
void TCustomTreeView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (Message.LParam == 0) {
        // The position of a thumb message travels in the high word, as from a skinned bar.
        if (LOWORD(Message.WParam) == SB_THUMBPOSITION || LOWORD(Message.WParam) == SB_THUMBTRACK) {
          const Integer Pos = HIWORD(Message.WParam);
          if (Message.Msg == WM_VSCROLL)
            setTopRow(Pos);
          else
            setScrollX(Pos);
        } else {
          scrollMessage(Message.Msg == WM_VSCROLL, LOWORD(Message.WParam));
        }
        Message.Result = 0;
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      setTopRow(FTopRow - GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA * 3);
      Message.Result = 1;
      return;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      updateScrollInfo();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      if (Message.Msg >= TV_FIRST && Message.Msg < TV_FIRST + 0x100 && treeViewMessage(Message)) return;
      break;
  }
  TCustomControl::WndProc(Message);
}

bool TCustomTreeView::treeViewMessage(TMessage& Message) {
  auto* Node = reinterpret_cast<TTreeNode*>(Message.LParam);
  switch (Message.Msg) {
    case TVM_GETCOUNT:
      Message.Result = FItems->Count();
      return true;
    case TVM_GETVISIBLECOUNT:
      Message.Result = VisibleCount();
      return true;
    case TVM_GETINDENT:
      Message.Result = FIndent;
      return true;
    case TVM_SETINDENT:
      SetIndent(Integer(Message.WParam));
      Message.Result = 0;
      return true;
    case TVM_GETITEMHEIGHT:
      Message.Result = ItemHeight();
      return true;
    case TVM_GETITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(Message.LParam);
      Message.Result = 0;
      if (!R) return true;
      TTreeNode* N = nullptr;
      std::memcpy(&N, static_cast<const void*>(R), sizeof N);
      const Integer Row = N ? rowOf(N) : -1;
      if (Row < 0) return true;
      *R = Message.WParam ? labelRect(N, Row) : rowRect(Row);
      Message.Result = 1;
      return true;
    }
    case TVM_GETIMAGELIST:
      Message.Result = reinterpret_cast<LRESULT>(Message.WParam == TVSIL_STATE ? FStateImages : FImages);
      return true;
    case TVM_SETIMAGELIST: {
      auto* List = reinterpret_cast<TCustomImageList*>(Message.LParam);
      TCustomImageList* Old = Message.WParam == TVSIL_STATE ? FStateImages : FImages;
      if (Message.WParam == TVSIL_STATE)
        SetStateImages(List);
      else
        SetImages(List);
      Message.Result = reinterpret_cast<LRESULT>(Old);
      return true;
    }
    case TVM_EXPAND: {
      Message.Result = 0;
      if (!Node) return true;
      const WPARAM Code = Message.WParam & 3;
      bool Done = Code == TVE_COLLAPSE ? collapseNode(Node, false)
                  : Code == TVE_EXPAND ? expandNode(Node, false)
                  : Code == TVE_TOGGLE ? toggle(Node)
                                       : false;
      Message.Result = Done ? 1 : 0;
      return true;
    }
    case TVM_GETNEXTITEM: {
      TTreeNode* R = nullptr;
      switch (Message.WParam) {
        case TVGN_ROOT:
          R = FItems->GetFirstNode();
          break;
        case TVGN_NEXT:
          R = Node ? Node->getNextSibling() : nullptr;
          break;
        case TVGN_PREVIOUS:
          R = Node ? Node->getPrevSibling() : nullptr;
          break;
        case TVGN_PARENT:
          R = Node ? Node->Parent() : nullptr;
          break;
        case TVGN_CHILD:
          R = Node ? Node->getFirstChild() : FItems->GetFirstNode();
          break;
        case TVGN_FIRSTVISIBLE:
          R = TopItem();
          break;
        case TVGN_NEXTVISIBLE:
          R = Node ? Node->GetNextVisible() : nullptr;
          break;
        case TVGN_PREVIOUSVISIBLE:
          R = Node ? Node->GetPrevVisible() : nullptr;
          break;
        case TVGN_CARET:
          R = FSelected;
          break;
        default:
          break;
      }
      Message.Result = reinterpret_cast<LRESULT>(R);
      return true;
    }
    case TVM_SELECTITEM:
      if (Message.WParam == TVGN_CARET)
        selectNode(Node);
      else if (Message.WParam == TVGN_FIRSTVISIBLE)
        SetTopItem(Node);
      Message.Result = 1;
      return true;
    case TVM_HITTEST: {
      auto* Info = reinterpret_cast<TVHITTESTINFO*>(Message.LParam);
      Message.Result = 0;
      if (!Info) return true;
      Info->flags = hitTest(Info->pt.X, Info->pt.Y, &Info->hItem);
      Message.Result = reinterpret_cast<LRESULT>(Info->hItem);
      return true;
    }
    case TVM_ENSUREVISIBLE:
      Message.Result = Node && ensureVisible(Node) ? 1 : 0;
      return true;
    case TVM_DELETEITEM:
      if (Node)
        FItems->Delete(Node);
      else
        FItems->Clear();
      Message.Result = 1;
      return true;
    case TVM_EDITLABELW:
      startLabelEdit(Node);
      Message.Result = FEditor ? 1 : 0;
      return true;
    case TVM_ENDEDITLABELNOW:
      cancelLabelEdit();
      Message.Result = 1;
      return true;
    default:
      return false;
  }
}

// =====================================================================================================
// Keyboard and mouse
// =====================================================================================================
void TCustomTreeView::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const auto& R = rows();
  if (Key == 0 || R.empty()) return;
  TTreeNode* Cur = FSelected && rowOf(FSelected) >= 0 ? FSelected : nullptr;
  const Integer Row = Cur ? rowOf(Cur) : -1;
  const Integer Last = Integer(R.size()) - 1;
  const Integer Page = std::max(1, VisibleCount() - 1);
  TTreeNode* Target = nullptr;
  switch (Key) {
    case VK_UP:
      Target = R[size_t(std::max(0, Row - 1))];
      break;
    case VK_DOWN:
      Target = R[size_t(std::min(Last, Row + 1))];
      break;
    case VK_HOME:
      Target = R.front();
      break;
    case VK_END:
      Target = R.back();
      break;
    case VK_PRIOR:
      Target = R[size_t(std::max(0, Row - Page))];
      break;
    case VK_NEXT:
      Target = R[size_t(std::min(Last, std::max(0, Row) + Page))];
      break;
    case VK_LEFT:
      if (!Cur) return;
      if (Cur->FExpanded)
        collapseNode(Cur, false);
      else
        Target = Cur->Parent();
      break;
    case VK_RIGHT:
      if (!Cur || !Cur->HasChildren()) return;
      if (!Cur->FExpanded)
        expandNode(Cur, false);
      else
        Target = Cur->getFirstChild();
      break;
    case VK_ADD:
      if (Cur) expandNode(Cur, false);
      FCommandCharPending = true;
      break;
    case VK_SUBTRACT:
      if (Cur) collapseNode(Cur, false);
      FCommandCharPending = true;
      break;
    case VK_F2:
      if (Cur) startLabelEdit(Cur);
      break;
    default:
      return;
  }
  FTypeAhead.Forget();
  if (Target) selectNode(Target);
  Key = 0;
}

void TCustomTreeView::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  // The "+" and "-" of the keys that expanded or collapsed a node are no search.
  const bool Command = std::exchange(FCommandCharPending, false) && (Key == '+' || Key == '-');
  if (Key < 0x20 || Key == 0x7F || IsEditing() || Command) return;
  const auto& R = rows();
  if (R.empty()) return;
  FTypeAhead.Type(Key, GetTickCount());
  // From the selected node on (after it when a letter repeats), round to the top.
  const Integer N = Integer(R.size());
  const Integer Current = FSelected ? rowOf(FSelected) : -1;
  const Integer Start = Current < 0 ? 0 : Current + (FTypeAhead.StepsOn() ? 1 : 0);
  for (Integer k = 0; k < N; ++k) {
    TTreeNode* Node = R[size_t((Start + k) % N)];
    if (FTypeAhead.Matches(Node->Text())) {
      selectNode(Node);
      Key = 0;
      return;
    }
  }
}

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  const bool WasFocused = Focused();
  if (CanFocus() && !WasFocused) SetFocus();
  std::weak_ptr<bool> Alive = FAlive;
  TTreeNode* Node = nullptr;
  const UINT Flags = hitTest(X, Y, &Node);
  if (Node && Button == mbLeft) {
    if (Flags & TVHT_ONITEMBUTTON) {
      toggle(Node);
    } else if (Flags & (TVHT_ONITEM | (FRowSelect ? TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT : 0))) {
      // A click on the label of the node that is already selected starts editing it.
      if (Node == FSelected && WasFocused && (Flags & TVHT_ONITEMLABEL) && !Shift.Contains(ssDouble))
        startLabelEdit(Node);
      else
        selectNode(Node);
    }
  } else if (Node && Button == mbRight && FRightClickSelect && (Flags & TVHT_ONITEM)) {
    selectNode(Node);
  }
  if (Alive.expired()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::DblClick() {
  if (FEditor) cancelLabelEdit();
  POINT Cursor{};
  GetCursorPos(&Cursor);
  const TPoint P = ScreenToClient(Cursor);
  TTreeNode* Node = nullptr;
  const UINT Flags = hitTest(P.X, P.Y, &Node);
  std::weak_ptr<bool> Alive = FAlive;
  TCustomControl::DblClick();
  if (Alive.expired()) return;
  if (Node && (Flags & TVHT_ONITEM)) toggle(Node);
}
