#include "platform/ui/comctrls/header.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/gdi/text.h"
#include "platform/rtl/strings.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {

struct THeaderSection {
  String Text;
  Integer Width = 0;
  Integer Fmt = HDF_LEFT | HDF_STRING;
  LPARAM Param = 0;
  Integer Image = -1;
};

enum class TDragKind { None, Press, Track, Reorder };

struct THeaderState {
  std::vector<THeaderSection> Sections;
  std::vector<Integer> Order;  // position -> section index
  HFONT Font = nullptr;
  TCustomImageList* Images = nullptr;
  TDragKind Drag = TDragKind::None;
  Integer DragItem = -1;
  bool PressInside = false;
  Integer TrackStartX = 0;
  Integer TrackStartWidth = 0;
  Integer TrackWidth = 0;
  Integer TrackX = 0;  // where the last track step was
  Integer PressX = 0;  // where a section was pressed
  Integer DragX = 0;   // where a section being moved is now
};

THeaderState* stateOf(HWND Wnd) {
  return reinterpret_cast<THeaderState*>(GetWindowLongPtr(Wnd, 0));
}

Integer positionOf(const THeaderState& S, Integer Index) {
  auto It = std::find(S.Order.begin(), S.Order.end(), Index);
  return It == S.Order.end() ? -1 : Integer(It - S.Order.begin());
}

TRect itemRect(HWND Wnd, const THeaderState& S, Integer Index) {
  RECT Client;
  GetClientRect(Wnd, &Client);
  Integer X = 0;
  for (Integer Pos : S.Order) {
    const Integer W = std::max(0, S.Sections[Pos].Width);
    if (Pos == Index) return Rect(X, 0, X + W, Client.Bottom);
    X += W;
  }
  return Rect(0, 0, 0, 0);
}

HDHITTESTINFO hitTest(HWND Wnd, const THeaderState& S, POINT P) {
  HDHITTESTINFO Info;
  Info.pt = P;
  RECT Client;
  GetClientRect(Wnd, &Client);
  if (P.Y < 0 || P.Y >= Client.Bottom) {
    Info.flags = HHT_NOWHERE;
    return Info;
  }
  if (P.X < 0) {
    Info.flags = HHT_TOLEFT;
    return Info;
  }
  // Dividers first: the nearest edge of a section that shows wins; a hidden (zero-width) section is
  // grabbed only where no visible one is in reach, and then it is "open" (dragging reveals it).
  Integer X = 0, Best = -1, BestDist = HeaderDividerGrip + 1, Hidden = -1;
  for (Integer Index : S.Order) {
    const Integer W = std::max(0, S.Sections[Index].Width);
    X += W;
    const Integer Dist = std::abs(P.X - X);
    if (Dist > HeaderDividerGrip) continue;
    if (W == 0) {
      Hidden = Index;
    } else if (Dist <= BestDist) {
      Best = Index;
      BestDist = Dist;
    }
  }
  if (Best >= 0 || Hidden >= 0) {
    Info.flags = Best >= 0 ? HHT_ONDIVIDER : HHT_ONDIVOPEN;
    Info.iItem = Best >= 0 ? Best : Hidden;
    return Info;
  }
  X = 0;
  for (Integer Index : S.Order) {
    const Integer W = std::max(0, S.Sections[Index].Width);
    if (P.X >= X && P.X < X + W) {
      Info.flags = HHT_ONHEADER;
      Info.iItem = Index;
      return Info;
    }
    X += W;
  }
  Info.flags = HHT_NOWHERE;
  return Info;
}

LRESULT notify(HWND Wnd, UINT Code, Integer Item, HDITEM* ItemData) {
  HWND Parent = GetParent(Wnd);
  if (Parent == nullptr) return 0;
  NMHEADER N;
  N.hdr.hwndFrom = Wnd;
  N.hdr.idFrom = UINT_PTR(GetWindowLongPtr(Wnd, GWLP_ID));
  N.hdr.code = Code;
  N.iItem = Item;
  N.pitem = ItemData;
  return SendMessage(Parent, WM_NOTIFY, N.hdr.idFrom, reinterpret_cast<LPARAM>(&N));
}

void invalidate(HWND Wnd) {
  InvalidateRect(Wnd, nullptr, true);
}

// The change protocol of the platform: HDN_ITEMCHANGING (refusable, and here adjustable), the change,
// HDN_ITEMCHANGED. The state may be gone after a notification (the parent destroyed the header).
bool changeSection(HWND Wnd, Integer Index, HDITEM Item) {
  if (notify(Wnd, HDN_ITEMCHANGING, Index, &Item) != 0) return false;
  THeaderState* S = stateOf(Wnd);
  if (S == nullptr || Index < 0 || Index >= Integer(S->Sections.size())) return false;
  THeaderSection& Sec = S->Sections[Index];
  if (Item.mask & HDI_WIDTH) Sec.Width = std::max(0, Item.cxy);
  if ((Item.mask & HDI_TEXT) && Item.pszText != nullptr) Sec.Text = Item.pszText;
  if (Item.mask & HDI_FORMAT) Sec.Fmt = Item.fmt;
  if (Item.mask & HDI_LPARAM) Sec.Param = Item.lParam;
  if (Item.mask & HDI_IMAGE) Sec.Image = Item.iImage;
  if ((Item.mask & HDI_ORDER) && Item.iOrder >= 0 && Item.iOrder < Integer(S->Order.size())) {
    S->Order.erase(S->Order.begin() + positionOf(*S, Index));
    S->Order.insert(S->Order.begin() + Item.iOrder, Index);
  }
  invalidate(Wnd);
  notify(Wnd, HDN_ITEMCHANGED, Index, &Item);
  return true;
}

LRESULT insertItem(HWND Wnd, THeaderState& S, Integer Index, const HDITEM* Item) {
  if (Item == nullptr) return -1;
  THeaderSection Sec;
  if (Item->mask & HDI_WIDTH) Sec.Width = std::max(0, Item->cxy);
  if ((Item->mask & HDI_TEXT) && Item->pszText != nullptr) Sec.Text = Item->pszText;
  if (Item->mask & HDI_FORMAT) Sec.Fmt = Item->fmt;
  if (Item->mask & HDI_LPARAM) Sec.Param = Item->lParam;
  if (Item->mask & HDI_IMAGE) Sec.Image = Item->iImage;
  Index = std::clamp(Index, 0, Integer(S.Sections.size()));
  S.Sections.insert(S.Sections.begin() + Index, Sec);
  for (Integer& O : S.Order)
    if (O >= Index) ++O;
  Integer Pos = (Item->mask & HDI_ORDER) ? std::clamp(Item->iOrder, 0, Integer(S.Order.size())) : Index;
  Pos = std::min(Pos, Integer(S.Order.size()));
  S.Order.insert(S.Order.begin() + Pos, Index);
  invalidate(Wnd);
  return Index;
}

bool deleteItem(HWND Wnd, THeaderState& S, Integer Index) {
  if (Index < 0 || Index >= Integer(S.Sections.size())) return false;
  S.Sections.erase(S.Sections.begin() + Index);
  S.Order.erase(S.Order.begin() + positionOf(S, Index));
  for (Integer& O : S.Order)
    if (O > Index) --O;
  if (S.DragItem == Index) {
    S.Drag = TDragKind::None;
    S.DragItem = -1;
  }
  invalidate(Wnd);
  return true;
}

bool getItem(const THeaderState& S, Integer Index, HDITEM* Item) {
  if (Item == nullptr || Index < 0 || Index >= Integer(S.Sections.size())) return false;
  const THeaderSection& Sec = S.Sections[Index];
  if (Item->mask & HDI_WIDTH) Item->cxy = Sec.Width;
  if (Item->mask & HDI_FORMAT) Item->fmt = Sec.Fmt;
  if (Item->mask & HDI_LPARAM) Item->lParam = Sec.Param;
  if (Item->mask & HDI_IMAGE) Item->iImage = Sec.Image;
  if (Item->mask & HDI_ORDER) Item->iOrder = positionOf(S, Index);
  if ((Item->mask & HDI_TEXT) && Item->pszText != nullptr && Item->cchTextMax > 0) {
    Integer N = std::min<Integer>(Integer(Sec.Text.size()), Item->cchTextMax - 1);
    while (N > 0 && N < Integer(Sec.Text.size()) && (Byte(Sec.Text[N]) & 0xC0) == 0x80) --N;
    std::memcpy(Item->pszText, Sec.Text.data(), size_t(N));
    Item->pszText[N] = 0;
  }
  return true;
}

Integer headerHeight(const THeaderState& S) {
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = S.Font ? SelectObject(DC, S.Font) : nullptr;
  TEXTMETRIC TM;
  GetTextMetrics(DC, &TM);
  if (Old) SelectObject(DC, Old);
  DeleteDC(DC);
  return std::max<Integer>(TM.tmHeight, 8) + 8;
}

void fill(HDC DC, const TRect& R, TColor Color) {
  HBRUSH B = CreateSolidBrush(ColorToRGB(Color));
  FillRect(DC, &R, B);
  DeleteObject(B);
}

void paintSection(HDC DC, const THeaderState& S, Integer Index, const TRect& R, bool Pressed) {
  const THeaderSection& Sec = S.Sections[Index];
  fill(DC, R, Pressed ? stdlook::FacePressed : stdlook::Face);
  fill(DC, Rect(R.Right - 1, R.Top + 3, R.Right, R.Bottom - 3), stdlook::FaceBorder);
  fill(DC, Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom), stdlook::FaceBorder);
  TRect Text = Rect(R.Left + 6, R.Top, R.Right - 6, R.Bottom - 1);
  if (Pressed) OffsetRect(&Text, 1, 1);
  if (S.Images != nullptr && (Sec.Fmt & HDF_IMAGE) && Sec.Image >= 0 && Sec.Image < S.Images->Count()) {
    TCanvas C;
    C.SetHandle(DC);
    S.Images->Draw(&C, Text.Left, Text.Top + (Text.Height() - S.Images->Height()) / 2, Sec.Image);
    C.SetHandle(nullptr);
    Text.Left += S.Images->Width() + 4;
  }
  if (Text.Right <= Text.Left) return;
  UINT Align = (Sec.Fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
               : (Sec.Fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                           : DT_LEFT;
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(stdlook::Text));
  DrawText(DC, Sec.Text, &Text, Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void paint(HWND Wnd, HDC DC, const THeaderState& S) {
  RECT Client;
  GetClientRect(Wnd, &Client);
  HGDIOBJ OldFont = S.Font ? SelectObject(DC, S.Font) : nullptr;
  Integer X = 0;
  for (Integer Index : S.Order) {
    const Integer W = std::max(0, S.Sections[Index].Width);
    if (W > 0) {
      const bool Pressed = S.Drag == TDragKind::Press && S.DragItem == Index && S.PressInside &&
                           (GetWindowLongPtr(Wnd, GWL_STYLE) & HDS_BUTTONS);
      paintSection(DC, S, Index, Rect(X, 0, X + W, Client.Bottom), Pressed);
    }
    X += W;
  }
  if (X < Client.Right) {
    fill(DC, Rect(X, 0, Client.Right, Client.Bottom), stdlook::Face);
    fill(DC, Rect(X, Client.Bottom - 1, Client.Right, Client.Bottom), stdlook::FaceBorder);
  }
  if (S.Drag == TDragKind::Reorder) {
    // The moving section follows the mouse, drawn pressed over the others.
    const TRect From = itemRect(Wnd, S, S.DragItem);
    const Integer Left = From.Left + S.DragX - S.PressX;
    paintSection(DC, S, S.DragItem, Rect(Left, 0, Left + From.Width(), Client.Bottom), true);
  }
  if (OldFont) SelectObject(DC, OldFont);
}

// ---- mouse ----
void beginPress(HWND Wnd, THeaderState& S, POINT P) {
  HDHITTESTINFO Hit = hitTest(Wnd, S, P);
  if (Hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
    HDITEM Item;
    Item.mask = HDI_WIDTH;
    Item.cxy = S.Sections[Hit.iItem].Width;
    if (notify(Wnd, HDN_BEGINTRACK, Hit.iItem, &Item) != 0) return;
    THeaderState* Live = stateOf(Wnd);
    if (Live == nullptr || Hit.iItem >= Integer(Live->Sections.size())) return;
    Live->Drag = TDragKind::Track;
    Live->DragItem = Hit.iItem;
    Live->TrackStartX = Live->TrackX = P.X;
    Live->TrackStartWidth = Live->TrackWidth = Live->Sections[Hit.iItem].Width;
    SetCapture(Wnd);
    return;
  }
  if ((Hit.flags & HHT_ONHEADER) && (GetWindowLongPtr(Wnd, GWL_STYLE) & (HDS_BUTTONS | HDS_DRAGDROP))) {
    S.Drag = TDragKind::Press;
    S.DragItem = Hit.iItem;
    S.PressInside = true;
    S.PressX = S.DragX = P.X;
    SetCapture(Wnd);
    invalidate(Wnd);
  }
}

void trackTo(HWND Wnd, THeaderState& S, Integer X) {
  const Integer Index = S.DragItem;
  S.TrackX = X;
  HDITEM Item;
  Item.mask = HDI_WIDTH;
  Item.cxy = std::max(0, S.TrackStartWidth + X - S.TrackStartX);
  if (notify(Wnd, HDN_TRACK, Index, &Item) != 0) return;
  THeaderState* Live = stateOf(Wnd);
  if (Live == nullptr || Live->Drag != TDragKind::Track) return;
  Live->TrackWidth = std::max(0, Item.cxy);
  if ((GetWindowLongPtr(Wnd, GWL_STYLE) & HDS_FULLDRAG) && Live->Sections[Index].Width != Live->TrackWidth)
    changeSection(Wnd, Index, Item);
}

// The position a section dropped at X takes: the one whose place X is in (the ends beyond them).
Integer dropPosition(const THeaderState& S, Integer X) {
  Integer Left = 0;
  for (Integer Pos = 0; Pos < Integer(S.Order.size()); ++Pos) {
    Left += std::max(0, S.Sections[S.Order[Pos]].Width);
    if (X < Left) return Pos;
  }
  return std::max(0, Integer(S.Order.size()) - 1);
}

// A press that moved far enough with HDS_DRAGDROP becomes a move of the section.
void pressMoved(HWND Wnd, THeaderState& S, POINT P) {
  if (S.Drag == TDragKind::Reorder) {
    S.DragX = P.X;
    invalidate(Wnd);
    return;
  }
  if ((GetWindowLongPtr(Wnd, GWL_STYLE) & HDS_DRAGDROP) &&
      std::abs(P.X - S.PressX) > GetSystemMetrics(SM_CXDRAG)) {
    if (notify(Wnd, HDN_BEGINDRAG, S.DragItem, nullptr) != 0) return;
    THeaderState* Live = stateOf(Wnd);
    if (Live == nullptr || Live->Drag != TDragKind::Press) return;
    Live->Drag = TDragKind::Reorder;
    Live->DragX = P.X;
    invalidate(Wnd);
    return;
  }
  const bool Inside = hitTest(Wnd, S, P).iItem == S.DragItem;
  if (Inside != S.PressInside) {
    S.PressInside = Inside;
    invalidate(Wnd);
  }
}

void endDrag(HWND Wnd, THeaderState& S, bool Commit, POINT P) {
  const TDragKind Kind = S.Drag;
  const Integer Index = S.DragItem;
  const bool Inside = S.PressInside;
  S.Drag = TDragKind::None;
  S.DragItem = -1;
  if (GetCapture() == Wnd) ReleaseCapture();
  if (Kind == TDragKind::Press) {
    invalidate(Wnd);
    if (Commit && Inside && (GetWindowLongPtr(Wnd, GWL_STYLE) & HDS_BUTTONS) &&
        hitTest(Wnd, S, P).iItem == Index)
      notify(Wnd, HDN_ITEMCLICK, Index, nullptr);
    return;
  }
  if (Kind == TDragKind::Reorder) {
    invalidate(Wnd);
    if (!Commit) return;
    HDITEM Item;
    Item.mask = HDI_ORDER;
    Item.iOrder = dropPosition(S, P.X);
    if (notify(Wnd, HDN_ENDDRAG, Index, &Item) != 0) return;
    THeaderState* Live = stateOf(Wnd);
    if (Live && Index < Integer(Live->Sections.size()) && positionOf(*Live, Index) != Item.iOrder)
      changeSection(Wnd, Index, Item);
    return;
  }
  if (Kind != TDragKind::Track) return;
  HDITEM Item;
  Item.mask = HDI_WIDTH;
  Item.cxy = Commit ? S.TrackWidth : S.TrackStartWidth;
  if (S.Sections[Index].Width != Item.cxy) changeSection(Wnd, Index, Item);
  if (stateOf(Wnd) != nullptr) notify(Wnd, HDN_ENDTRACK, Index, &Item);
}

LRESULT mouseMessage(HWND Wnd, THeaderState& S, UINT Msg, LPARAM LParam) {
  const POINT P = LParamToPoint(LParam);
  switch (Msg) {
    case WM_LBUTTONDOWN:
      if (S.Drag == TDragKind::None) beginPress(Wnd, S, P);
      return 0;
    case WM_MOUSEMOVE:
      if (S.Drag == TDragKind::Track) {
        trackTo(Wnd, S, P.X);
      } else if (S.Drag == TDragKind::Press || S.Drag == TDragKind::Reorder) {
        pressMoved(Wnd, S, P);
      }
      return 0;
    case WM_LBUTTONUP:
      // The release point counts as the last place of the drag.
      if (S.Drag == TDragKind::Track && P.X != S.TrackX) trackTo(Wnd, S, P.X);
      if (THeaderState* Live = stateOf(Wnd); Live && Live->Drag != TDragKind::None)
        endDrag(Wnd, *Live, true, P);
      return 0;
    case WM_LBUTTONDBLCLK: {
      HDHITTESTINFO Hit = hitTest(Wnd, S, P);
      if (Hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))
        notify(Wnd, HDN_DIVIDERDBLCLICK, Hit.iItem, nullptr);
      else if (Hit.flags & HHT_ONHEADER)
        notify(Wnd, HDN_ITEMDBLCLICK, Hit.iItem, nullptr);
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT headerProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    SetWindowLongPtr(Wnd, 0, reinterpret_cast<LONG_PTR>(new THeaderState));
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  THeaderState* S = stateOf(Wnd);
  if (S == nullptr) return DefWindowProc(Wnd, Msg, WParam, LParam);
  switch (Msg) {
    case WM_NCDESTROY:
      SetWindowLongPtr(Wnd, 0, 0);
      delete S;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case HDM_GETITEMCOUNT:
      return LRESULT(S->Sections.size());
    case HDM_INSERTITEM:
      return insertItem(Wnd, *S, Integer(WParam), reinterpret_cast<const HDITEM*>(LParam));
    case HDM_DELETEITEM:
      return deleteItem(Wnd, *S, Integer(WParam));
    case HDM_GETITEM:
      return getItem(*S, Integer(WParam), reinterpret_cast<HDITEM*>(LParam));
    case HDM_SETITEM: {
      auto* Item = reinterpret_cast<const HDITEM*>(LParam);
      if (Item == nullptr || Integer(WParam) < 0 || Integer(WParam) >= Integer(S->Sections.size())) return 0;
      return changeSection(Wnd, Integer(WParam), *Item);
    }
    case HDM_GETITEMRECT: {
      if (Integer(WParam) < 0 || Integer(WParam) >= Integer(S->Sections.size()) || LParam == 0) return 0;
      *reinterpret_cast<RECT*>(LParam) = itemRect(Wnd, *S, Integer(WParam));
      return 1;
    }
    case HDM_HITTEST: {
      auto* Info = reinterpret_cast<HDHITTESTINFO*>(LParam);
      if (Info == nullptr) return -1;
      *Info = hitTest(Wnd, *S, Info->pt);
      return Info->iItem;
    }
    case HDM_LAYOUT: {
      auto* L = reinterpret_cast<HDLAYOUT*>(LParam);
      if (L == nullptr || L->prc == nullptr || L->pwpos == nullptr) return 0;
      const Integer H = (GetWindowLongPtr(Wnd, GWL_STYLE) & HDS_HIDDEN) ? 0 : headerHeight(*S);
      *L->pwpos = WINDOWPOS{Wnd, nullptr, L->prc->Left, L->prc->Top, L->prc->Width(), H, 0};
      L->prc->Top += H;
      return 1;
    }
    case HDM_SETIMAGELIST: {
      TCustomImageList* Old = S->Images;
      S->Images = reinterpret_cast<TCustomImageList*>(LParam);
      invalidate(Wnd);
      return reinterpret_cast<LRESULT>(Old);
    }
    case HDM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(S->Images);
    case HDM_ORDERTOINDEX:
      return Integer(WParam) >= 0 && Integer(WParam) < Integer(S->Order.size()) ? S->Order[WParam] : -1;
    case HDM_GETORDERARRAY: {
      auto* Out = reinterpret_cast<Integer*>(LParam);
      if (Out == nullptr || Integer(WParam) != Integer(S->Order.size())) return 0;
      std::copy(S->Order.begin(), S->Order.end(), Out);
      return 1;
    }
    case HDM_SETORDERARRAY: {
      auto* In = reinterpret_cast<const Integer*>(LParam);
      if (In == nullptr || Integer(WParam) != Integer(S->Order.size())) return 0;
      std::vector<Integer> Order(In, In + WParam);
      std::vector<Integer> Sorted = Order;
      std::sort(Sorted.begin(), Sorted.end());
      for (Integer i = 0; i < Integer(Sorted.size()); ++i)
        if (Sorted[i] != i) return 0;  // not a permutation
      S->Order = std::move(Order);
      invalidate(Wnd);
      return 1;
    }
    case WM_SETFONT:
      S->Font = reinterpret_cast<HFONT>(WParam);
      if (LOWORD(LParam)) invalidate(Wnd);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(S->Font);
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT: {
      if (WParam != 0) {
        paint(Wnd, reinterpret_cast<HDC>(WParam), *S);
        return 0;
      }
      PAINTSTRUCT PS;
      HDC DC = BeginPaint(Wnd, &PS);
      if (DC) paint(Wnd, DC, *S);
      EndPaint(Wnd, &PS);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT P;
      GetCursorPos(&P);
      ScreenToClient(Wnd, &P);
      if (S->Drag == TDragKind::Track || (hitTest(Wnd, *S, P).flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return 1;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case WM_KEYDOWN:
      if (WParam == VK_ESCAPE && S->Drag != TDragKind::None) {
        endDrag(Wnd, *S, false, POINT{});
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd && S->Drag != TDragKind::None)
        endDrag(Wnd, *S, false, POINT{});
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      return mouseMessage(Wnd, *S, Msg, LParam);
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterHeaderClass() {
  WNDCLASS Existing;
  if (GetClassInfo(nullptr, WC_HEADER, &Existing)) return;
  WNDCLASS WC;
  WC.style = CS_DBLCLKS | CS_GLOBALCLASS;
  WC.lpfnWndProc = headerProc;
  WC.cbWndExtra = Integer(sizeof(void*));
  WC.hCursor = LoadCursor(nullptr, IDC_ARROW);
  WC.lpszClassName = WC_HEADER;
  RegisterClass(&WC);
}
