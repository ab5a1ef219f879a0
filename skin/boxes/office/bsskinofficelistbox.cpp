#include "skin/boxes/office/bsskinofficelistbox.h"

#include <algorithm>

#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordslists.h"

TbsSkinOfficeListBox::TbsSkinOfficeListBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  TControlStyle Style = ControlStyle();
  Style.Include(csAcceptsControls);
  Style.Include(csReplicatable);
  SetControlStyle(Style);
  FItems = new TbsSkinOfficeItems(this);
  SetWidth(150);
  SetHeight(150);
  FSkinDataName = "listbox";
}

TbsSkinOfficeListBox::~TbsSkinOfficeListBox() {
  auto* Items = FItems;
  Items->OfficeListBox = nullptr;
  FItems = nullptr;
  delete Items;
}

bool TbsSkinOfficeListBox::loadingOrDesigning() const {
  return ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading);
}

// ---- properties ----

void TbsSkinOfficeListBox::SetShowCheckBoxes(bool Value) {
  if (FShowCheckBoxes == Value) return;
  FShowCheckBoxes = Value;
  Repaint();
}

void TbsSkinOfficeListBox::SetHeaderLeftAlignment(bool Value) {
  if (FHeaderLeftAlignment == Value) return;
  FHeaderLeftAlignment = Value;
  Repaint();
}

void TbsSkinOfficeListBox::SetShowLines(bool Value) {
  if (FShowLines == Value) return;
  FShowLines = Value;
  Repaint();
}

void TbsSkinOfficeListBox::SetItemHeight(Integer Value) {
  if (FItemHeight == Value) return;
  FItemHeight = Value;
  Repaint();
}

void TbsSkinOfficeListBox::SetHeaderHeight(Integer Value) {
  if (FHeaderHeight == Value) return;
  FHeaderHeight = Value;
  Repaint();
}

void TbsSkinOfficeListBox::SetShowItemTitles(bool Value) {
  if (FShowItemTitles == Value) return;
  FShowItemTitles = Value;
  Repaint();
}

void TbsSkinOfficeListBox::SetItems(TbsSkinOfficeItems* Value) {
  FItems->Assign(Value);
  Repaint();
  UpdateScrollInfo();
}

void TbsSkinOfficeListBox::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TbsSkinOfficeListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
  if (Operation == opRemove && AComponent == ScrollBar) ScrollBar = nullptr;
}

void TbsSkinOfficeListBox::ChangeSkinData() {
  TbsSkinCustomControl::ChangeSkinData();
  if (FSD != nullptr && !FSD->Empty) {
    const Integer I = FSD->GetControlIndex("edit");
    if (auto* Edit = I == -1 ? nullptr : dynamic_cast<TbsDataSkinEditControl*>(FSD->Ctrls(I)))
      FDisabledFontColor = Edit->DisabledFontColor;
    else if (FSD->SkinColors() != nullptr)
      FDisabledFontColor = FSD->SkinColors()->cBtnShadow();
  }
  if (ScrollBar != nullptr) {
    ScrollBar->SetSkinData(FSD);
    AdjustScrollBar();
  }
  CalcItemRects();
  Repaint();
}

// ---- layout and scrolling ----

void TbsSkinOfficeListBox::CalcItemRects() {
  FRealMax = 0;
  if (FIndex != -1)
    FItemsRect = NewClRect;
  else
    FItemsRect = Rect(2, 2, Width() - 2, Height() - 2);
  if (ScrollBar != nullptr) FItemsRect.Right -= ScrollBar->Width() - 1;
  Integer Y = FItemsRect.Top;
  const Integer W = FItemsRect.Right - FItemsRect.Left;
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TbsSkinOfficeItem* Item = FItems->Items(i);
    const Integer H = Item->Header() ? FHeaderHeight : FItemHeight;
    Item->ItemRect = Rect(FItemsRect.Left, Y - FScrollOffset, FItemsRect.Left + W, Y + H - FScrollOffset);
    const TRect& R = Item->ItemRect;
    Item->IsVisible =
        RectEdgeInRect(R, FItemsRect) || (R.Top <= FItemsRect.Top && R.Bottom >= FItemsRect.Bottom);
    if (Item->IsVisible) FRealMax = R.Bottom;
    Y += H;
  }
  FMax = Y;
}

void TbsSkinOfficeListBox::GetScrollInfo(Integer& AMin, Integer& AMax, Integer& APage, Integer& APosition) {
  CalcItemRects();
  AMin = 0;
  AMax = FMax - FItemsRect.Top;
  APage = FItemsRect.Bottom - FItemsRect.Top;
  APosition = FScrollOffset;
  if (APage >= AMax) {
    AMax = 0;
    APage = 0;
  }
}

void TbsSkinOfficeListBox::UpdateScrollInfo() {
  if (!HandleAllocated() || FInUpdateItems) return;
  Integer Min, Max, Page, Pos;
  GetScrollInfo(Min, Max, Page, Pos);
  if (Max != 0) {
    if (ScrollBar == nullptr) ShowScrollbar();
    ScrollBar->SetRange(Min, Max, Pos, Page);
    ScrollBar->SetLargeChange(Page);
  } else if (ScrollBar != nullptr) {
    HideScrollBar();
  }
}

void TbsSkinOfficeListBox::ShowScrollbar() {
  ScrollBar = new TbsSkinScrollBar(this);
  ScrollBar->SetVisible(false);
  ScrollBar->SetParent(this);
  ScrollBar->SetDefaultHeight(0);
  ScrollBar->SetDefaultWidth(19);
  ScrollBar->SetSmallChange(FItemHeight);
  ScrollBar->SetLargeChange(FItemHeight);
  ScrollBar->SetSkinDataName("vscrollbar");
  ScrollBar->SetKind(sbVertical);
  ScrollBar->SetSkinData(FSD);
  ScrollBar->OnChange = [this](TObject* Sender) { SBChange(Sender); };
  AdjustScrollBar();
  ScrollBar->SetVisible(true);
  Repaint();
}

void TbsSkinOfficeListBox::HideScrollBar() {
  if (ScrollBar == nullptr) return;
  ScrollBar->SetVisible(false);
  TbsSkinScrollBar* Bar = ScrollBar;
  ScrollBar = nullptr;
  delete Bar;
  Repaint();
}

void TbsSkinOfficeListBox::AdjustScrollBar() {
  if (ScrollBar == nullptr) return;
  const TRect R = FIndex == -1 ? Rect(1, 1, Width() - 1, Height() - 1) : NewClRect;
  ScrollBar->SetBounds(R.Right - ScrollBar->Width(), R.Top, ScrollBar->Width(), R.Bottom - R.Top);
}

void TbsSkinOfficeListBox::SBChange(TObject* Sender) {
  (void)Sender;
  Scroll(ScrollBar->Position());
}

void TbsSkinOfficeListBox::Scroll(Integer AScrollOffset) {
  FScrollOffset = AScrollOffset;
  Repaint();
  UpdateScrollInfo();
}

void TbsSkinOfficeListBox::ScrollToItem(Integer Index) {
  CalcItemRects();
  const TRect V = FItems->Items(Index)->ItemRect;
  const TRect C = Rect(V.Left, V.Top + FScrollOffset, V.Right, V.Bottom + FScrollOffset);
  if (V.Top <= FItemsRect.Top) {
    // The group header above the first item stays in sight.
    if (Index == 1 && FItems->Items(0)->Header())
      FScrollOffset = 0;
    else
      FScrollOffset = C.Top - FItemsRect.Top;
    CalcItemRects();
    Invalidate();
  } else if (V.Bottom >= FItemsRect.Bottom) {
    FScrollOffset = C.Bottom + FItemsRect.Top - Height() + 1;
    CalcItemRects();
    Invalidate();
  }
  UpdateScrollInfo();
}

Integer TbsSkinOfficeListBox::CalcHeight(Integer AItemCount) {
  const Integer N = std::min(AItemCount, FItems->Count());
  if (FIndex == -1) return N * FItemHeight + 5;
  return N * FItemHeight + Height() - (NewClRect.Bottom - NewClRect.Top) + 1;
}

Integer TbsSkinOfficeListBox::ItemAtPos(Integer X, Integer Y) {
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TbsSkinOfficeItem* Item = FItems->Items(i);
    const TRect& R = Item->ItemRect;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom && Item->Enabled()) return i;
  }
  return -1;
}

void TbsSkinOfficeListBox::BeginUpdateItems() {
  FInUpdateItems = true;
  SendMessage(Handle(), WM_SETREDRAW, 0, 0);
}

void TbsSkinOfficeListBox::EndUpdateItems() {
  FInUpdateItems = false;
  SendMessage(Handle(), WM_SETREDRAW, 1, 0);
  Repaint();
  UpdateScrollInfo();
}

// ---- selection ----

void TbsSkinOfficeListBox::SetItemIndex(Integer Value) {
  FItemIndex = Value;
  if (Value < 0) {
    Repaint();
    return;
  }
  TbsSkinOfficeItem* Marked = nullptr;
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TbsSkinOfficeItem* Item = FItems->Items(i);
    Item->Active = i == Value;
    if (Item->Active) Marked = Item;
  }
  Repaint();
  ScrollToItem(Value);
  if (Marked != nullptr && !loadingOrDesigning()) {
    if (Marked->OnClick) Marked->OnClick(this);
    if (OnItemClick) OnItemClick(this);
  }
}

void TbsSkinOfficeListBox::SetItemActive(Integer Index) {
  FItemIndex = Index;
  for (Integer i = 0; i < FItems->Count(); ++i) FItems->Items(i)->Active = i == Index;
  Repaint();
  ScrollToItem(Index);
}

bool TbsSkinOfficeListBox::qualifies(Integer Index) const {
  TbsSkinOfficeItem* Item = FItems->Items(Index);
  return Item->Enabled() && !Item->Header();
}

void TbsSkinOfficeListBox::FindUp() {
  if (FItemIndex < 0 || FItemIndex - 1 < 0) return;
  for (Integer i = FItemIndex - 1; i >= 0; --i)
    if (qualifies(i)) {
      SetItemIndex(i);
      return;
    }
}

void TbsSkinOfficeListBox::FindDown() {
  const Integer Start = FItemIndex <= -1 ? 0 : FItemIndex + 1;
  if (Start > FItems->Count() - 1) return;
  for (Integer i = Start; i < FItems->Count(); ++i)
    if (qualifies(i)) {
      SetItemIndex(i);
      return;
    }
}

void TbsSkinOfficeListBox::FindFirst() {
  for (Integer i = 0; i < FItems->Count(); ++i)
    if (qualifies(i)) {
      SetItemIndex(i);
      return;
    }
}

void TbsSkinOfficeListBox::FindLast() {
  for (Integer i = FItems->Count() - 1; i >= 0; --i)
    if (qualifies(i)) {
      SetItemIndex(i);
      return;
    }
}

// Walks From..To by Step: the first qualifying item after a passed header wins (paging across a group
// header stops at the edge of the next group); otherwise the farthest qualifying item.
void TbsSkinOfficeListBox::findPage(Integer From, Integer To, Integer Step) {
  Integer Candidate = -1;
  bool HeaderPassed = false;
  for (Integer i = From; Step > 0 ? i <= To : i >= To; i += Step) {
    if (HeaderPassed && qualifies(i)) {
      SetItemIndex(i);
      return;
    }
    if (FItems->Items(i)->Header())
      HeaderPassed = true;
    else if (qualifies(i))
      Candidate = i;
  }
  if (Candidate != -1) SetItemIndex(Candidate);
}

void TbsSkinOfficeListBox::FindPageUp() {
  if (FItemIndex <= -1 || FItemIndex - 1 < 0) return;
  Integer P = FItemHeight != 0 ? (FItemsRect.Bottom - FItemsRect.Top) / FItemHeight : 0;
  if (P == 0) P = 1;
  findPage(FItemIndex - 1, std::max(0, FItemIndex - 1 - P), -1);
}

void TbsSkinOfficeListBox::FindPageDown() {
  const Integer Start = FItemIndex <= -1 ? 0 : FItemIndex + 1;
  if (Start > FItems->Count() - 1) return;
  Integer P = FItemHeight != 0 ? (FItemsRect.Bottom - FItemsRect.Top) / FItemHeight : 0;
  if (P == 0) P = 1;
  findPage(Start, std::min(FItems->Count() - 1, Start + P), 1);
}

void TbsSkinOfficeListBox::toggleCheck(Integer Index) {
  TbsSkinOfficeItem* Item = FItems->Items(Index);
  Item->SetChecked(!Item->Checked());
  if (OnItemCheckClick) OnItemCheckClick(this);
}

// ---- input ----

void TbsSkinOfficeListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
  const Integer I = ItemAtPos(X, Y);
  if (Button == mbLeft && I != -1 && !FItems->Items(I)->Header()) {
    SetItemActive(I);
    FMouseDown = true;
    FMouseActive = I;
  }
}

void TbsSkinOfficeListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  const Integer I = ItemAtPos(X, Y);
  if (I != -1 && !FItems->Items(I)->Header() && (FMouseDown || FMouseMoveChangeIndex) && I != FMouseActive) {
    SetItemActive(I);
    FMouseActive = I;
  }
}

void TbsSkinOfficeListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
  FMouseDown = false;
  const Integer I = ItemAtPos(X, Y);
  if (Button == mbLeft && I != -1 && !FItems->Items(I)->Header()) SetItemIndex(I);
  if (FShowCheckBoxes && I != -1 && I == FItemIndex && X < FItems->Items(I)->ItemRect.Left + FCheckOffset)
    toggleCheck(I);
}

void TbsSkinOfficeListBox::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinCustomControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_PRIOR:
      FindPageUp();
      break;
    case VK_NEXT:
      FindPageDown();
      break;
    case VK_LEFT:
    case VK_UP:
      FindUp();
      break;
    case VK_RIGHT:
    case VK_DOWN:
      FindDown();
      break;
    default:
      break;
  }
}

void TbsSkinOfficeListBox::KeyUp(Word& Key, TShiftState Shift) {
  TbsSkinCustomControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && FShowCheckBoxes && FItemIndex != -1) toggleCheck(FItemIndex);
}

void TbsSkinOfficeListBox::WndProc(TMessage& Message) {
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && !designing() && !Focused()) {
    // The list takes the focus before it handles the click; when it cannot, the click is dropped.
    FClicksDisabled = true;
    if (HandleAllocated()) ::SetFocus(Handle());
    FClicksDisabled = false;
    if (!Focused()) return;
  }
  if (Message.Msg == CN_COMMAND && FClicksDisabled) return;
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinOfficeListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      TbsSkinCustomControl::Dispatch(Message);
      if (ScrollBar != nullptr) {
        if (GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0)
          ScrollBar->SetPosition(ScrollBar->Position() + ScrollBar->SmallChange());
        else
          ScrollBar->SetPosition(ScrollBar->Position() - ScrollBar->SmallChange());
      }
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    default:
      TbsSkinCustomControl::Dispatch(Message);
  }
}

void TbsSkinOfficeListBox::WMSize(TMessage& Message) {
  TbsSkinCustomControl::WMSize(Message);
  if (Height() != FOldHeight) {
    CalcItemRects();
    // No empty band below the last item after the list grew while scrolled.
    if (FItemsRect.Bottom >= FRealMax && FScrollOffset > 0) {
      FScrollOffset = std::max(0, FScrollOffset - (FItemsRect.Bottom - FRealMax));
      CalcItemRects();
      Invalidate();
    }
  }
  AdjustScrollBar();
  UpdateScrollInfo();
  FOldHeight = Height();
}

void TbsSkinOfficeListBox::WMSetFocus(TMessage& Message) {
  TbsSkinCustomControl::WMSetFocus(Message);
  Repaint();
}

void TbsSkinOfficeListBox::WMKillFocus(TMessage& Message) {
  TbsSkinCustomControl::WMKillFocus(Message);
  Repaint();
}
