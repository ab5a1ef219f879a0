#include "platform/ui/stdctrls/listbox.h"

#include <algorithm>

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
#include "platform/win/scrollbar.h"

// ---- items as strings ----

void TListBoxStrings::checkIndex(Integer Index) {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

Integer TListBoxStrings::Add(const String& S) {
  const LRESULT R = FListBox->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()));
  if (R < 0) throw EOutOfResources("Unable to insert a line");
  return Integer(R);
}

void TListBoxStrings::Insert(Integer Index, const String& S) {
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  if (FListBox->Perform(LB_INSERTSTRING, WPARAM(Index), reinterpret_cast<LPARAM>(S.c_str())) < 0)
    throw EOutOfResources("Unable to insert a line");
}

void TListBoxStrings::Clear() {
  FListBox->Perform(LB_RESETCONTENT, 0, 0);
}

void TListBoxStrings::Delete(Integer Index) {
  checkIndex(Index);
  FListBox->Perform(LB_DELETESTRING, WPARAM(Index), 0);
}

Integer TListBoxStrings::IndexOf(const String& S) {
  return Integer(FListBox->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(S.c_str())));
}

String TListBoxStrings::Get(Integer Index) {
  checkIndex(Index);
  return FListBox->FItems[Index].Text;
}

Integer TListBoxStrings::GetCount() {
  return Integer(FListBox->Perform(LB_GETCOUNT, 0, 0));
}

TObject* TListBoxStrings::GetObject(Integer Index) {
  checkIndex(Index);
  return reinterpret_cast<TObject*>(FListBox->Perform(LB_GETITEMDATA, WPARAM(Index), 0));
}

void TListBoxStrings::Put(Integer Index, const String& S) {
  // A new text keeps the item's object and selection, at the same place unless the list is sorted.
  checkIndex(Index);
  TObject* Object = GetObject(Index);
  const bool WasSelected = FListBox->Selected(Index);
  const Integer Focus = FListBox->ItemIndex();
  Delete(Index);
  FListBox->Perform(LB_INSERTSTRING, WPARAM(FListBox->FSorted ? -1 : Index),
                    reinterpret_cast<LPARAM>(S.c_str()));
  const Integer NewIndex = FListBox->FSorted ? IndexOf(S) : Index;
  PutObject(NewIndex, Object);
  if (WasSelected) FListBox->SetSelected(NewIndex, true);
  if (Focus == Index) FListBox->SetItemIndex(NewIndex);
}

void TListBoxStrings::PutObject(Integer Index, TObject* AObject) {
  checkIndex(Index);
  FListBox->Perform(LB_SETITEMDATA, WPARAM(Index), reinterpret_cast<LPARAM>(AObject));
}

void TListBoxStrings::SetUpdateState(bool Updating) {
  FListBox->FNoRedraw = Updating;
  if (!Updating) FListBox->invalidateList();
}

// ---- the control ----

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FItemsStrings(std::make_unique<TListBoxStrings>(this)),
      FCanvas(std::make_unique<TControlCanvas>()) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
  FCanvas->SetControl(this);
}

TCustomListBox::~TCustomListBox() {
  if (FBrush) DeleteObject(FBrush);
}

DWORD TCustomListBox::ListStyle() const {
  if (FHandle) return FWindowStyle;
  DWORD S = 0;
  if (FSorted) S |= LBS_SORT;
  if (FMultiSelect) S |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FStyle == lbOwnerDrawFixed) S |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) S |= LBS_OWNERDRAWVARIABLE;
  if (FColumns > 0) S |= LBS_MULTICOLUMN;
  if (FTabWidth != 0) S |= LBS_USETABSTOPS;
  return S;
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | ListStyle();
  if (FColumns > 0) Params.Style |= WS_HSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style |= CS_DBLCLKS;
}

void TCustomListBox::CreateWindowCreated() {
  // The window's style decides how the list behaves, whatever the class asked for.
  FWindowStyle = DWORD(GetWindowLong(FHandle, GWL_STYLE));
  if (FColumns > 0) FColumnWidth = std::max(1, ClientWidth() / FColumns);
  if (FWindowStyle & LBS_OWNERDRAWVARIABLE)
    for (Integer I = 0; I < Integer(FItems.size()); ++I) measure(I);
  if (FTabWidth != 0) SendMessage(FHandle, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&FTabWidth));
  updateScroll();
  TWinControl::CreateWindowCreated();
}

// ---- properties ----

void TCustomListBox::SetTabWidth(Integer Value) {
  Value = std::max(0, Value);
  if (Value == FTabWidth) return;
  FTabWidth = Value;
  if (HandleAllocated()) RecreateWnd();
}

Integer TCustomListBox::ItemIndex() {
  return Integer(Perform(multi() ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(Integer Value) {
  if (multi()) {
    Perform(LB_SETCARETINDEX, WPARAM(Value), 0);
    if (Value >= 0 && Value < Count() && extended()) {
      selectRange(Value, Value, true);
      FAnchor = Value;
    }
  } else {
    Perform(LB_SETCURSEL, WPARAM(Value), 0);
  }
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (Value == FMultiSelect) return;
  FMultiSelect = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (Value == FExtendedSelect) return;
  FExtendedSelect = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

Integer TCustomListBox::ItemHeight() {
  return Integer(Perform(LB_GETITEMHEIGHT, 0, 0));
}

void TCustomListBox::SetItemHeight(Integer Value) {
  if (Value < 1) return;
  FItemHeight = Value;
  invalidateList();
}

void TCustomListBox::SetColumns(Integer Value) {
  Value = std::max(0, Value);
  if (Value == FColumns) return;
  const bool Recreate = (Value == 0) != (FColumns == 0);
  FColumns = Value;
  if (HandleAllocated()) {
    if (Recreate)
      RecreateWnd();
    else
      Perform(LB_SETCOLUMNWIDTH, WPARAM(std::max(1, ClientWidth() / FColumns)), 0);
  }
}

Integer TCustomListBox::TopIndex() {
  return Integer(Perform(LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(Integer Value) {
  Perform(LB_SETTOPINDEX, WPARAM(Value), 0);
}

Integer TCustomListBox::SelCount() {
  return Integer(Perform(LB_GETSELCOUNT, 0, 0));
}

bool TCustomListBox::Selected(Integer Index) {
  const LRESULT R = Perform(LB_GETSEL, WPARAM(Index), 0);
  if (R < 0) throw EListError(Format(SListIndexError, {Index}));
  return R != 0;
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
  if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
  if (multi())
    Perform(LB_SETSEL, Value, LPARAM(Index));
  else if (Value)
    SetItemIndex(Index);
  else if (ItemIndex() == Index)
    SetItemIndex(-1);
}

void TCustomListBox::ClearSelection() {
  if (multi())
    Perform(LB_SETSEL, 0, -1);
  else
    SetItemIndex(-1);
}

void TCustomListBox::SelectAll() {
  if (multi()) Perform(LB_SETSEL, 1, -1);
}

void TCustomListBox::DeleteSelected() {
  if (multi()) {
    for (Integer I = Count() - 1; I >= 0; --I)
      if (FItems[I].Selected) FItemsStrings->Delete(I);
  } else if (ItemIndex() >= 0) {
    FItemsStrings->Delete(ItemIndex());
  }
}

void TCustomListBox::Clear() {
  FItemsStrings->Clear();
}

Integer TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  const TRect Client = ClientRect();
  if (PtInRect(&Client, Pos)) {
    for (Integer I = TopIndex(); I < Count(); ++I) {
      TRect R = ItemRect(I);
      if (PtInRect(&R, Pos)) return I;
      if (R.Top >= Client.Bottom && FColumns == 0) break;
    }
    if (!Existing) return Count();
  }
  return -1;
}

TRect TCustomListBox::ItemRect(Integer Index) {
  RECT R{0, 0, 0, 0};
  const Integer N = Count();
  if (Index == 0 || Index < N) {
    Perform(LB_GETITEMRECT, WPARAM(Index), reinterpret_cast<LPARAM>(&R));
  } else if (Index == N) {
    // The slot after the last item.
    Perform(LB_GETITEMRECT, WPARAM(N - 1), reinterpret_cast<LPARAM>(&R));
    const Integer H = R.Bottom - R.Top;
    R.Top += H;
    R.Bottom += H;
  }
  return R;
}

// ---- owner drawing as the class library does it ----

void TCustomListBox::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= Count()) return;
  if (FTabWidth == 0) {
    FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems[Index].Text);
    return;
  }
  TRect Text = Rect;
  Text.Left += 2;
  Text.Bottom = Text.Top + FCanvas->TextHeight("Wg");  // at the top, as the plain text goes
  SetBkMode(FCanvas->Handle(), TRANSPARENT);
  drawItemText(FCanvas->Handle(), FItems[Index].Text, Text);
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: {
      auto* DIS = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      TOwnerDrawState State;
      if (DIS->itemState & ODS_SELECTED) State.Include(odSelected);
      if (DIS->itemState & ODS_FOCUS) State.Include(odFocused);
      if (DIS->itemState & ODS_DISABLED) State.Include(odDisabled);
      FCanvas->SetHandle(DIS->hDC);
      FCanvas->Font()->Assign(FFont.get());
      FCanvas->Brush()->SetColor(FColor);
      if (State.Contains(odSelected)) {
        FCanvas->Brush()->SetColor(clHighlight);
        FCanvas->Font()->SetColor(clHighlightText);
      }
      if (Integer(DIS->itemID) >= 0) DrawItem(Integer(DIS->itemID), DIS->rcItem, State);
      if (State.Contains(odFocused)) DrawFocusRect(DIS->hDC, &DIS->rcItem);
      FCanvas->SetHandle(nullptr);
      Message.Result = 1;
      return;
    }
    case CN_MEASUREITEM: {
      auto* MIS = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      Integer H = Integer(MIS->itemHeight);
      MeasureItem(Integer(MIS->itemID), H);
      MIS->itemHeight = UINT(std::max(1, H));
      Message.Result = 1;
      return;
    }
    case CN_CTLCOLORLISTBOX: {
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(DC, ColorToRGB(FFont->Color()));
      SetBkColor(DC, ColorToRGB(FColor));
      if (FBrush) DeleteObject(FBrush);
      FBrush = CreateSolidBrush(ColorToRGB(FColor));
      Message.Result = reinterpret_cast<LRESULT>(FBrush);
      return;
    }
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case LBN_SELCHANGE:
          Changed();
          Click();
          break;
        case LBN_DBLCLK:
          DblClick();
          break;
        default:
          break;
      }
      return;
    default:
      break;
  }
  TWinControl::Dispatch(Message);
}
