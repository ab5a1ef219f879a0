#include "platform/ui/comctrls/listview.h"

#include <algorithm>
#include <numeric>

#include "platform/rtl/clock.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"

namespace {

[[noreturn]] void listIndexError(Integer Index) {
  throw EListError(Format(SListIndexError, {Index}));
}

}  // namespace

// =====================================================================================================
// TListColumn / TListColumns
// =====================================================================================================
TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

TCustomListView* TListColumn::listView() const {
  auto* Cols = static_cast<TListColumns*>(Collection());
  return Cols ? Cols->Owner() : nullptr;
}

void TListColumn::Assign(TPersistent* Source) {
  if (auto* C = dynamic_cast<TListColumn*>(Source)) {
    FCaption = C->FCaption;
    FMinWidth = C->FMinWidth;
    FMaxWidth = C->FMaxWidth;
    FWidth = clampWidth(C->FWidth);
    FAlignment = C->FAlignment;
    FImageIndex = C->FImageIndex;
    Tag = C->Tag;
    pushToHeader(HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE);
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

Integer TListColumn::clampWidth(Integer Value) const {
  if (FMaxWidth > 0 && Value > FMaxWidth) Value = FMaxWidth;
  if (FMinWidth > 0 && Value < FMinWidth) Value = FMinWidth;
  return std::max(0, Value);
}

void TListColumn::pushToHeader(UINT Mask) {
  TCustomListView* LV = listView();
  if (LV == nullptr || LV->FHeader == nullptr || Index() < 0) return;
  HDITEM Item;
  Item.mask = Mask;
  Item.cxy = FWidth;
  Item.pszText = const_cast<char*>(FCaption.c_str());
  Item.fmt = HDF_STRING |
             (FAlignment == taRightJustify ? HDF_RIGHT
              : FAlignment == taCenter     ? HDF_CENTER
                                           : 0) |
             (FImageIndex >= 0 ? HDF_IMAGE : 0);
  Item.iImage = FImageIndex;
  LV->FSyncingHeader = true;
  SendMessage(LV->FHeader, HDM_SETITEM, WPARAM(Index()), reinterpret_cast<LPARAM>(&Item));
  LV->FSyncingHeader = false;
}

void TListColumn::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  pushToHeader(HDI_TEXT);
  Changed(false);
}

void TListColumn::SetWidth(Integer Value) {
  Value = clampWidth(Value);
  if (Value == FWidth) return;
  FWidth = Value;
  pushToHeader(HDI_WIDTH);
  if (TCustomListView* LV = listView()) LV->columnWidthChanged(this);
}

void TListColumn::SetMinWidth(Integer Value) {
  FMinWidth = std::max(0, Value);
  SetWidth(FWidth);
}

void TListColumn::SetMaxWidth(Integer Value) {
  FMaxWidth = std::max(0, Value);
  SetWidth(FWidth);
}

void TListColumn::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  pushToHeader(HDI_FORMAT);
  Changed(false);
}

void TListColumn::SetImageIndex(Integer Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  pushToHeader(HDI_FORMAT | HDI_IMAGE);
  Changed(false);
}

TListColumns::TListColumns(TCustomListView* AOwner)
    : TCollection(CollectionItemClass<TListColumn>()), FOwner(AOwner) {}

TPersistent* TListColumns::GetOwner() {
  return FOwner;
}

void TListColumns::Update(TCollectionItem*) {
  if (FOwner) FOwner->columnsChanged();
}

// =====================================================================================================
// TListItem
// =====================================================================================================
TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner), FSubItems(std::make_unique<TStringList>()) {
  FSubItems->OnChange = [this](TObject*) { subItemsChanged(); };
}

TListItem::~TListItem() {
  FSubItems->OnChange = nullptr;
}

TCustomListView* TListItem::ListView() const {
  return FOwner ? FOwner->Owner() : nullptr;
}

void TListItem::Assign(TPersistent* Source) {
  if (auto* Item = dynamic_cast<TListItem*>(Source)) {
    FCaption = Item->FCaption;
    FImageIndex = Item->FImageIndex;
    FData = Item->FData;
    FChecked = Item->FChecked;
    FSubItemImages = Item->FSubItemImages;
    FSubItems->Assign(Item->FSubItems.get());  // notifies once
    if (ListView()) ListView()->itemChanged(this, ctText);
    return;
  }
  TPersistent::Assign(Source);
}

void TListItem::subItemsChanged() {
  if (!FFilling && ListView()) ListView()->itemChanged(this, ctText);
}

void TListItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  if (!FFilling && ListView()) ListView()->itemChanged(this, ctText);
}

void TListItem::SetImageIndex(Integer Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  if (!FFilling && ListView()) ListView()->itemChanged(this, ctImage);
}

Integer TListItem::SubItemImages(Integer Index) const {
  if (Index < 0 || Index >= FSubItems->Count()) listIndexError(Index);
  return Index < Integer(FSubItemImages.size()) ? FSubItemImages[Index] : -1;
}

void TListItem::SetSubItemImages(Integer Index, Integer Value) {
  if (Index < 0 || Index >= FSubItems->Count()) listIndexError(Index);
  if (Index >= Integer(FSubItemImages.size())) FSubItemImages.resize(size_t(Index) + 1, -1);
  FSubItemImages[Index] = Value;
  if (!FFilling && ListView()) ListView()->itemChanged(this, ctImage);
}

bool TListItem::Selected() const {
  return FIndex >= 0 && FOwner && (FOwner->FStates[FIndex] & LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool Value) {
  if (FIndex < 0 || !ListView()) return;
  ListView()->setItemState(FIndex, LVIS_SELECTED, Value ? LVIS_SELECTED : 0);
}

bool TListItem::Focused() const {
  return FIndex >= 0 && FOwner && (FOwner->FStates[FIndex] & LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool Value) {
  if (FIndex < 0 || !ListView()) return;
  if (Value)
    ListView()->setFocusIndex(FIndex);
  else if (Focused())
    ListView()->setFocusIndex(-1);
}

void TListItem::SetChecked(bool Value) {
  if (Value == FChecked) return;
  FChecked = Value;
  if (!FFilling && ListView()) ListView()->itemChanged(this, ctState);
}

TRect TListItem::DisplayRect(TDisplayCode Code) const {
  if (FIndex < 0 || !ListView()) return Rect(0, 0, 0, 0);
  return ListView()->itemRect(FIndex, Code);
}

bool TListItem::MakeVisible(bool PartialOK) {
  TCustomListView* LV = ListView();
  if (LV == nullptr || FIndex < 0) return false;
  return SendMessage(LV->Handle(), LVM_ENSUREVISIBLE, WPARAM(FIndex), PartialOK) != 0;
}

void TListItem::Update() {
  if (ListView() && FIndex >= 0) ListView()->invalidateItem(FIndex);
}

void TListItem::Delete() {
  if (FOwner && FIndex >= 0 && !FOwner->FOwner->FOwnerData) FOwner->Delete(FIndex);
}

bool TListItem::EditCaption() {
  TCustomListView* LV = ListView();
  if (LV == nullptr || FIndex < 0) return false;
  LV->startLabelEdit(FIndex);
  return LV->IsEditing();
}

void TListItem::CancelEdit() {
  if (TCustomListView* LV = ListView(); LV && LV->FEditIndex == FIndex) LV->cancelLabelEdit();
}

// =====================================================================================================
// TListItems
// =====================================================================================================
TListItems::TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}

TListItems::~TListItems() = default;

void TListItems::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TListItems*>(Source)) {
    BeginUpdate();
    Clear();
    for (Integer i = 0; i < Other->Count(); ++i) Add()->Assign(Other->Item(i));
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

Integer TListItems::Count() const {
  return FOwner->FOwnerData ? FVirtualCount : Integer(FItems.size());
}

void TListItems::checkIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) listIndexError(Index);
}

TListItem* TListItems::Item(Integer Index) const {
  checkIndex(Index);
  if (!FOwner->FOwnerData) return FItems[Index].get();
  // Owner data: one scratch item, filled by OnData for the index asked for.
  auto* Self = const_cast<TListItems*>(this);
  if (!Self->FScratch) Self->FScratch = std::make_unique<TListItem>(Self);
  TListItem* S = Self->FScratch.get();
  S->FFilling = true;
  S->FIndex = Index;
  S->FCaption.clear();
  S->FSubItems->Clear();
  S->FSubItemImages.clear();
  S->FImageIndex = -1;
  S->FData = nullptr;
  if (FOwner->OnData) FOwner->OnData(FOwner, S);
  S->FFilling = false;
  FScratchIndex = Index;
  return S;
}

Integer TListItems::IndexOf(const TListItem* Value) const {
  if (Value == nullptr || Value->FOwner != this) return -1;
  return Value->FIndex;
}

void TListItems::renumberFrom(Integer Index) {
  for (Integer i = Index; i < Integer(FItems.size()); ++i) FItems[i]->FIndex = i;
}

TListItem* TListItems::Add() {
  return Insert(Count());
}

TListItem* TListItems::AddItem(TListItem* Item, Integer Index) {
  if (Index < 0 || Index > Count()) Index = Count();
  TListItem* New = Insert(Index);
  if (Item) New->Assign(Item);
  return New;
}

TListItem* TListItems::Insert(Integer Index) {
  if (FOwner->FOwnerData) throw EInvalidOperation("Cannot add items to a list view with owner data");
  if (Index < 0 || Index > Count()) listIndexError(Index);
  auto Item = std::make_unique<TListItem>(this);
  TListItem* Raw = Item.get();
  FItems.insert(FItems.begin() + Index, std::move(Item));
  FStates.insert(FStates.begin() + Index, Byte(0));
  if (Index == Integer(FItems.size()) - 1)
    Raw->FIndex = Index;
  else
    renumberFrom(Index);
  FOwner->itemsInserted(Index);
  if (FOwner->OnInsert) FOwner->OnInsert(FOwner, Raw);
  return Raw;
}

void TListItems::removeStatesAt(Integer Index) {
  const Byte State = FStates[Index];
  FStates.erase(FStates.begin() + Index);
  if (State & LVIS_SELECTED) --FOwner->FSelCount;
}

void TListItems::Delete(Integer Index) {
  checkIndex(Index);
  if (FOwner->FOwnerData) {
    SetCount(FVirtualCount - 1);
    return;
  }
  if (FOwner->FEditIndex == Index) FItems[Index]->CancelEdit();
  if (FOwner->OnDeletion) FOwner->OnDeletion(FOwner, FItems[Index].get());
  if (Index >= Count()) return;  // the handler changed the list
  FItems.erase(FItems.begin() + Index);
  removeStatesAt(Index);
  renumberFrom(Index);
  FOwner->itemsDeleted(Index);
}

void TListItems::Clear() {
  FOwner->cancelLabelEdit();
  if (FOwner->FOwnerData) {
    SetCount(0);
    return;
  }
  if (FOwner->OnDeletion)
    for (auto& Item : FItems) FOwner->OnDeletion(FOwner, Item.get());
  FItems.clear();
  FStates.clear();
  FOwner->FSelCount = 0;
  FOwner->itemsCleared();
}

void TListItems::SetCount(Integer Value) {
  if (!FOwner->FOwnerData) throw EInvalidOperation("The item count is set only with owner data");
  Value = std::max(0, Value);
  if (Value == FVirtualCount) return;
  FVirtualCount = Value;
  for (Integer i = Value; i < Integer(FStates.size()); ++i)
    if (FStates[i] & LVIS_SELECTED) --FOwner->FSelCount;
  FStates.resize(size_t(Value), Byte(0));
  FOwner->itemsCleared();
}

void TListItems::BeginUpdate() {
  ++FUpdateCount;
}

void TListItems::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) FOwner->updateCount();
}

// =====================================================================================================
// TCustomListView: set-up and properties
// =====================================================================================================
TCustomListView::TCustomListView(TComponent* AOwner)
    : TCustomControl(AOwner),
      FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  FWidth = 250;
  FHeight = 150;
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
  RegisterHeaderClass();
}

TCustomListView::~TCustomListView() {
  *FAlive = false;
  if (FEditor) FEditor->Cancel();
  FEditor.reset();
  OnDeletion = nullptr;
}

void TCustomListView::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
  if (FBorderVisible) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWindowCreated() {
  TCustomControl::CreateWindowCreated();
  if (FViewStyle == vsReport && FShowColumnHeaders) createHeader();
  updateScrollInfo();
}

void TCustomListView::DestroyWnd() {
  FHeader = nullptr;  // destroyed with the list's window
  TCustomControl::DestroyWnd();
}

void TCustomListView::createHeader() {
  if (FHeader != nullptr || !HandleAllocated()) return;
  DWORD Style = WS_CHILD | WS_VISIBLE | HDS_HORZ | HDS_FULLDRAG | (FColumnClick ? HDS_BUTTONS : 0) |
                (FFullDrag ? HDS_DRAGDROP : 0);
  // WM_PARENTNOTIFY tells the list (and an owner subclassing the header) about the new window.
  FHeader = CreateWindowEx(0, WC_HEADER, "", Style, 0, 0, 0, 0, FHandle, nullptr, nullptr, nullptr);
  if (FHeader == nullptr) return;
  SendMessage(FHeader, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
  syncHeaderColumns();
  layoutHeader();
}

void TCustomListView::destroyHeader() {
  if (FHeader == nullptr) return;
  HWND H = FHeader;
  FHeader = nullptr;
  DestroyWindow(H);
}

void TCustomListView::syncHeaderColumns() {
  if (FHeader == nullptr) return;
  FSyncingHeader = true;
  while (SendMessage(FHeader, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessage(FHeader, HDM_DELETEITEM, 0, 0);
  for (Integer i = 0; i < FColumns->Count(); ++i) {
    TListColumn* C = Column(i);
    HDITEM Item;
    Item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE;
    Item.cxy = C->Width();
    Item.pszText = const_cast<char*>(C->Caption().c_str());
    Item.fmt = HDF_STRING |
               (C->Alignment() == taRightJustify ? HDF_RIGHT
                : C->Alignment() == taCenter     ? HDF_CENTER
                                                 : 0) |
               (C->ImageIndex() >= 0 ? HDF_IMAGE : 0);
    Item.iImage = C->ImageIndex();
    SendMessage(FHeader, HDM_INSERTITEM, WPARAM(i), reinterpret_cast<LPARAM>(&Item));
  }
  SendMessage(FHeader, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FSmallImages));
  FSyncingHeader = false;
}

void TCustomListView::layoutHeader() {
  if (FHeader == nullptr || !HandleAllocated()) return;
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  RECT Area = Rect(-FScrollX, 0, Client.Right, Client.Bottom);
  WINDOWPOS Pos;
  HDLAYOUT Layout{&Area, &Pos};
  SendMessage(FHeader, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&Layout));
  SetWindowPos(FHeader, nullptr, Pos.x, Pos.y, Pos.cx, Pos.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

Integer TCustomListView::HeaderHeight() const {
  if (FHeader == nullptr || FViewStyle != vsReport) return 0;
  RECT R;
  GetWindowRect(FHeader, &R);
  return R.Height();
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
  if (Value == FViewStyle) return;
  FViewStyle = Value;
  FItemHeight = 0;
  FTopIndex = 0;
  FScrollX = 0;
  if (HandleAllocated()) {
    if (FViewStyle == vsReport && FShowColumnHeaders)
      createHeader();
    else
      destroyHeader();
    updateScrollInfo();
  }
  Invalidate();
}

void TCustomListView::SetRowSelect(bool Value) {
  FRowSelect = Value;
  Invalidate();
}

void TCustomListView::SetGridLines(bool Value) {
  FGridLines = Value;
  Invalidate();
}

void TCustomListView::SetMultiSelect(bool Value) {
  if (Value == FMultiSelect) return;
  FMultiSelect = Value;
  if (!FMultiSelect && FSelCount > 1) {
    // A single-selection list keeps the focused (or first) selected item only.
    Integer Keep =
        FFocusIndex >= 0 && (FItems->FStates[FFocusIndex] & LVIS_SELECTED) ? FFocusIndex : ItemIndex();
    selectOnly(Keep);
  }
}

void TCustomListView::SetHotTrack(bool Value) {
  FHotTrack = Value;
  if (!Value && FHotIndex >= 0) {
    invalidateItem(FHotIndex);
    FHotIndex = -1;
  }
}

void TCustomListView::SetHideSelection(bool Value) {
  FHideSelection = Value;
  Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
  if (Value == FShowColumnHeaders) return;
  FShowColumnHeaders = Value;
  if (!HandleAllocated() || FViewStyle != vsReport) return;
  if (Value)
    createHeader();
  else
    destroyHeader();
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::SetColumnClick(bool Value) {
  FColumnClick = Value;
  if (FHeader) {
    LONG_PTR Style = GetWindowLongPtr(FHeader, GWL_STYLE);
    SetWindowLongPtr(FHeader, GWL_STYLE, Value ? (Style | HDS_BUTTONS) : (Style & ~LONG_PTR(HDS_BUTTONS)));
  }
}

void TCustomListView::SetCheckboxes(bool Value) {
  FCheckboxes = Value;
  Invalidate();
}

void TCustomListView::SetFullDrag(bool Value) {
  FFullDrag = Value;
  if (FHeader) {
    LONG_PTR Style = GetWindowLongPtr(FHeader, GWL_STYLE);
    SetWindowLongPtr(FHeader, GWL_STYLE, Value ? (Style | HDS_DRAGDROP) : (Style & ~LONG_PTR(HDS_DRAGDROP)));
  }
}

void TCustomListView::SetOwnerData(bool Value) {
  if (Value == FOwnerData) return;
  FItems->Clear();
  FOwnerData = Value;
  FItems->FVirtualCount = 0;
  FItems->FStates.clear();
  itemsCleared();
}

void TCustomListView::SetSortType(TSortType Value) {
  FSortType = Value;
  if (Value != stNone) AlphaSort();
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
  FSmallImages = Value;
  FItemHeight = 0;
  if (FHeader) SendMessage(FHeader, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Value));
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
  FLargeImages = Value;
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::SetBorderVisible(bool Value) {
  if (Value == FBorderVisible) return;
  FBorderVisible = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListView::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  FItemHeight = 0;
  if (FHeader) {
    SendMessage(FHeader, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
    layoutHeader();
  }
  updateScrollInfo();
}

// =====================================================================================================
// Selection and focus
// =====================================================================================================
void TCustomListView::setItemState(Integer Index, Byte Mask, Byte Value) {
  FItems->checkIndex(Index);
  if (Mask & LVIS_FOCUSED) {
    if (Value & LVIS_FOCUSED)
      setFocusIndex(Index);
    else if (FFocusIndex == Index)
      setFocusIndex(-1);
  }
  if (!(Mask & LVIS_SELECTED)) return;
  const bool Select = (Value & LVIS_SELECTED) != 0;
  // A single-selection list drops its other selection first, as the platform does.
  if (Select && !FMultiSelect && FSelCount == 1) {
    const Integer Other = ItemIndex();  // quick: the focused item is nearly always the one
    if (Other != Index) {
      setItemState(Other, LVIS_SELECTED, 0);
      if (!*FAlive) return;
    }
  } else if (Select && !FMultiSelect && FSelCount > 0) {
    for (Integer i = 0; i < FItems->Count() && FSelCount > 0; ++i)
      if (i != Index && (FItems->FStates[i] & LVIS_SELECTED)) {
        setItemState(i, LVIS_SELECTED, 0);
        if (!*FAlive) return;
      }
  }
  if (Index >= FItems->Count()) return;  // a handler changed the list
  Byte& State = FItems->FStates[Index];
  if (((State & LVIS_SELECTED) != 0) == Select) return;
  State = Select ? (State | LVIS_SELECTED) : (State & ~LVIS_SELECTED);
  FSelCount += Select ? 1 : -1;
  invalidateItem(Index);
  std::weak_ptr<bool> Alive = FAlive;
  TListItem* Item = itemAt(Index);
  Change(Item, ctState);
  if (Alive.expired() || !*FAlive || Index >= FItems->Count()) return;
  DoSelectItem(FOwnerData ? itemAt(Index) : Item, Select);
}

void TCustomListView::setFocusIndex(Integer Index) {
  if (Index == FFocusIndex) return;
  if (FFocusIndex >= 0 && FFocusIndex < Integer(FItems->FStates.size())) {
    FItems->FStates[FFocusIndex] &= Byte(~LVIS_FOCUSED);
    invalidateItem(FFocusIndex);
  }
  FFocusIndex = Index;
  if (Index >= 0) {
    FItems->FStates[Index] |= LVIS_FOCUSED;
    invalidateItem(Index);
  }
}

void TCustomListView::selectOnly(Integer Index) {
  std::weak_ptr<bool> Alive = FAlive;
  if (FSelCount == 1 && !FMultiSelect) {
    const Integer Other = ItemIndex();
    if (Other != Index) {
      setItemState(Other, LVIS_SELECTED, 0);
      if (Alive.expired()) return;
    }
  }
  for (Integer i = 0; i < FItems->Count() && FSelCount > 0; ++i)
    if (i != Index && (FItems->FStates[i] & LVIS_SELECTED)) {
      setItemState(i, LVIS_SELECTED, 0);
      if (Alive.expired()) return;
    }
  if (Index >= 0 && Index < FItems->Count())
    setItemState(Index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TCustomListView::selectRange(Integer From, Integer To, bool Keep) {
  if (From > To) std::swap(From, To);
  std::weak_ptr<bool> Alive = FAlive;
  if (!Keep)
    for (Integer i = 0; i < FItems->Count() && FSelCount > 0; ++i)
      if ((i < From || i > To) && (FItems->FStates[i] & LVIS_SELECTED)) {
        setItemState(i, LVIS_SELECTED, 0);
        if (Alive.expired()) return;
      }
  for (Integer i = From; i <= To && i < FItems->Count(); ++i) {
    setItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    if (Alive.expired()) return;
  }
}

TListItem* TCustomListView::Selected() const {
  const Integer I = ItemIndex();
  return I < 0 ? nullptr : itemAt(I);
}

void TCustomListView::SetSelected(TListItem* Value) {
  if (Value == nullptr) {
    ClearSelection();
    return;
  }
  Integer I = indexOfItem(Value);
  if (I < 0) return;
  selectOnly(I);
  FAnchorIndex = I;
}

Integer TCustomListView::ItemIndex() const {
  if (FSelCount == 0) return -1;
  // The focused item first: in a single-selection list it is the selected one nearly always.
  if (FFocusIndex >= 0 && (FItems->FStates[FFocusIndex] & LVIS_SELECTED) && !FMultiSelect) return FFocusIndex;
  const auto& S = FItems->FStates;
  for (Integer i = 0; i < Integer(S.size()); ++i)
    if (S[i] & LVIS_SELECTED) return i;
  return -1;
}

void TCustomListView::SetItemIndex(Integer Value) {
  if (Value == -1) {
    ClearSelection();
    return;
  }
  FItems->checkIndex(Value);
  selectOnly(Value);
  FAnchorIndex = Value;
}

TListItem* TCustomListView::ItemFocused() const {
  return FFocusIndex >= 0 ? itemAt(FFocusIndex) : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* Value) {
  setFocusIndex(Value ? indexOfItem(Value) : -1);
}

void TCustomListView::ClearSelection() {
  selectOnly(-1);
}

void TCustomListView::SelectAll() {
  if (!FMultiSelect || FItems->Count() == 0) return;
  selectRange(0, FItems->Count() - 1, true);
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, UINT States) const {
  Integer Start = StartItem ? indexOfItem(StartItem) : -1;
  for (Integer i = Start + 1; i < FItems->Count(); ++i) {
    const Byte S = FItems->FStates[i];
    if ((States & LVNI_SELECTED) && !(S & LVIS_SELECTED)) continue;
    if ((States & LVNI_FOCUSED) && !(S & LVIS_FOCUSED)) continue;
    return itemAt(i);
  }
  return nullptr;
}

Integer TCustomListView::indexOfItem(const TListItem* Item) const {
  if (Item == nullptr || Item->FOwner != FItems.get()) return -1;
  return Item->FIndex < FItems->Count() ? Item->FIndex : -1;
}

void TCustomListView::DoSelectItem(TListItem* Item, bool Selected) {
  if (OnSelectItem) OnSelectItem(this, Item, Selected);
}

void TCustomListView::Change(TListItem* Item, TItemChange AChange) {
  if (OnChange) OnChange(this, Item, AChange);
}

void TCustomListView::ColClick(TListColumn* Column) {
  if (OnColumnClick) OnColumnClick(this, Column);
}

// =====================================================================================================
// Changes of the lists
// =====================================================================================================
void TCustomListView::itemsInserted(Integer Index) {
  if (FFocusIndex >= Index) ++FFocusIndex;
  if (FAnchorIndex >= Index) ++FAnchorIndex;
  FHotIndex = -1;
  if (FEditIndex >= Index) ++FEditIndex;
  if (FItems->FUpdateCount > 0) return;
  updateScrollInfo();
  if (HandleAllocated()) {
    // Rows at and below the new one move down.
    TRect R = itemBounds(Index);
    RECT Client;
    ::GetClientRect(FHandle, &Client);
    if (FViewStyle == vsReport)
      R = Rect(0, R.Top, Client.Right, Client.Bottom);
    else
      R = Client;
    InvalidateRect(FHandle, &R, true);
  }
}

void TCustomListView::itemsDeleted(Integer Index) {
  if (FFocusIndex == Index)
    FFocusIndex = -1;
  else if (FFocusIndex > Index)
    --FFocusIndex;
  if (FAnchorIndex == Index)
    FAnchorIndex = -1;
  else if (FAnchorIndex > Index)
    --FAnchorIndex;
  FHotIndex = -1;
  if (FEditIndex > Index) --FEditIndex;
  if (FItems->FUpdateCount > 0) return;
  setTopIndex(FTopIndex);
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::itemsCleared() {
  FFocusIndex = FAnchorIndex = FHotIndex = -1;
  if (FOwnerData) {
    // The states that remain keep their places; the focus goes when its item went.
    for (Integer i = 0; i < Integer(FItems->FStates.size()); ++i)
      if (FItems->FStates[i] & LVIS_FOCUSED) FFocusIndex = i;
  }
  if (FItems->FUpdateCount > 0) return;
  setTopIndex(FTopIndex);
  setScrollX(FScrollX);
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::updateCount() {
  setTopIndex(FTopIndex);
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::itemChanged(TListItem* Item, TItemChange AChange) {
  if (Item->FIndex < 0) return;
  if (FItems->FUpdateCount == 0) invalidateItem(Item->FIndex);
  Change(Item, AChange);
}

void TCustomListView::columnsChanged() {
  if (FHeader && !FSyncingHeader && SendMessage(FHeader, HDM_GETITEMCOUNT, 0, 0) != FColumns->Count())
    syncHeaderColumns();
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::columnWidthChanged(TListColumn*) {
  updateScrollInfo();
  Invalidate();
}

void TCustomListView::headerNotify(TMessage& Message) {
  auto* N = reinterpret_cast<NMHEADER*>(Message.LParam);
  Message.Result = 0;
  if (N->iItem < 0 || N->iItem >= FColumns->Count()) return;
  TListColumn* C = Column(N->iItem);
  switch (N->hdr.code) {
    case HDN_TRACK:
    case HDN_ITEMCHANGING:
      // The column's limits hold for the user's drag too.
      if (N->pitem && (N->pitem->mask & HDI_WIDTH)) N->pitem->cxy = C->clampWidth(N->pitem->cxy);
      break;
    case HDN_ITEMCHANGED:
      if (!FSyncingHeader && N->pitem && (N->pitem->mask & HDI_WIDTH) && C->FWidth != N->pitem->cxy) {
        C->FWidth = N->pitem->cxy;
        columnWidthChanged(C);
      }
      if (N->pitem && (N->pitem->mask & HDI_ORDER)) Invalidate();  // a column was moved
      break;
    case HDN_ITEMCLICK:
      if (FColumnClick) ColClick(C);
      break;
    case HDN_DIVIDERDBLCLICK:
      C->SetWidth(fittingColumnWidth(N->iItem));
      break;
    default:
      break;
  }
}

// =====================================================================================================
// Messages, keys and mouse
// =====================================================================================================
void TCustomListView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NOTIFY: {
      auto* N = reinterpret_cast<NMHDR*>(Message.LParam);
      if (N != nullptr && FHeader != nullptr && N->hwndFrom == FHeader) {
        headerNotify(Message);
        return;
      }
      break;
    }
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (Message.LParam == 0) {
        scrollMessage(Message.Msg == WM_VSCROLL, LOWORD(Message.WParam));
        Message.Result = 0;
        return;
      }
      break;
    case WM_MOUSEWHEEL: {
      const Integer Notches = GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA;
      if (FViewStyle == vsList)
        setScrollX(FScrollX - Notches);
      else if (FViewStyle == vsReport)
        setTopIndex(FTopIndex - Notches * 3);
      else
        setTopIndex(FTopIndex - Notches * iconCell().cy);
      Message.Result = 1;
      return;
    }
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      updateScrollInfo();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: {
      // A press takes the focus before its events run, so a double-click handler that moves the
      // focus elsewhere (an in-place editor) keeps it.
      std::weak_ptr<bool> Alive = FAlive;
      if (CanFocus() && !Focused()) SetFocus();
      if (Alive.expired()) return;
      break;
    }
    default:
      if (Message.Msg >= LVM_FIRST && Message.Msg < LVM_FIRST + 0x100 && listViewMessage(Message)) return;
      break;
  }
  TCustomControl::WndProc(Message);
}

// The LVM_* messages; false for one this list view does not answer.
bool TCustomListView::listViewMessage(TMessage& Message) {
  switch (Message.Msg) {
    case LVM_GETITEMCOUNT:
      Message.Result = FItems->Count();
      return true;
    case LVM_GETTOPINDEX:
      Message.Result = TopIndex();
      return true;
    case LVM_GETCOUNTPERPAGE:
      Message.Result = VisibleRowCount();
      return true;
    case LVM_GETCOLUMNWIDTH:
      if (FViewStyle == vsList)
        Message.Result = FListColumnWidth;
      else
        Message.Result =
            Integer(Message.WParam) < FColumns->Count() ? Column(Integer(Message.WParam))->Width() : 0;
      return true;
    case LVM_SETCOLUMNWIDTH:
      if (FViewStyle == vsList) {
        FListColumnWidth = std::max(1, GET_X_LPARAM(Message.LParam));
        updateScrollInfo();
        Invalidate();
        Message.Result = 1;
      } else if (Integer(Message.WParam) < FColumns->Count()) {
        Column(Integer(Message.WParam))->SetWidth(GET_X_LPARAM(Message.LParam));
        Message.Result = 1;
      }
      return true;
    case LVM_GETHEADER:
      Message.Result = reinterpret_cast<LRESULT>(FHeader);
      return true;
    case LVM_GETIMAGELIST:
      Message.Result = reinterpret_cast<LRESULT>(Message.WParam == LVSIL_NORMAL  ? FLargeImages
                                                 : Message.WParam == LVSIL_SMALL ? FSmallImages
                                                                                 : nullptr);
      return true;
    case LVM_SETIMAGELIST: {
      auto* L = reinterpret_cast<TCustomImageList*>(Message.LParam);
      Message.Result =
          reinterpret_cast<LRESULT>(Message.WParam == LVSIL_NORMAL ? FLargeImages : FSmallImages);
      if (Message.WParam == LVSIL_NORMAL)
        SetLargeImages(L);
      else if (Message.WParam == LVSIL_SMALL)
        SetSmallImages(L);
      return true;
    }
    case LVM_SCROLL:
      Scroll(Integer(intptr_t(Message.WParam)), Integer(Message.LParam));
      Message.Result = 1;
      return true;
    case LVM_ENSUREVISIBLE: {
      const Integer I = Integer(Message.WParam);
      Message.Result = 0;
      if (I < 0 || I >= FItems->Count()) return true;
      if (FViewStyle == vsReport) {
        const Integer Rows = std::max(1, viewArea().Height() / ItemHeight());
        if (I < FTopIndex)
          setTopIndex(I);
        else if (I >= FTopIndex + Rows)
          setTopIndex(I - Rows + 1);
      } else if (FViewStyle == vsList) {
        const Integer Col = I / rowsPerColumn();
        const Integer Cols = std::max(1, viewArea().Width() / FListColumnWidth);
        if (Col < FScrollX)
          setScrollX(Col);
        else if (Col >= FScrollX + Cols)
          setScrollX(Col - Cols + 1);
      } else {
        const TRect B = itemBounds(I), V = viewArea();
        if (B.Top < V.Top)
          setTopIndex(FTopIndex - (V.Top - B.Top));
        else if (B.Bottom > V.Bottom)
          setTopIndex(FTopIndex + (B.Bottom - V.Bottom));
      }
      Message.Result = 1;
      return true;
    }
    case LVM_GETITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(Message.LParam);
      const Integer I = Integer(Message.WParam);
      Message.Result = 0;
      if (R == nullptr || I < 0 || I >= FItems->Count()) return true;
      const Integer Code = R->Left;
      *R = itemRect(I, Code == LVIR_ICON           ? drIcon
                       : Code == LVIR_LABEL        ? drLabel
                       : Code == LVIR_SELECTBOUNDS ? drSelectBounds
                                                   : drBounds);
      Message.Result = 1;
      return true;
    }
    case LVM_HITTEST: {
      auto* Info = reinterpret_cast<LVHITTESTINFO*>(Message.LParam);
      if (Info == nullptr) return true;
      Integer Col = -1;
      Info->iItem = HitTest(Info->pt, &Col);
      Info->iSubItem = std::max(0, Col);
      Info->flags = Info->iItem < 0 ? LVHT_NOWHERE : LVHT_ONITEMLABEL;
      Message.Result = Info->iItem;
      return true;
    }
    case LVM_GETNEXTITEM: {
      TListItem* Start = Integer(Message.WParam) >= 0 && Integer(Message.WParam) < FItems->Count()
                             ? itemAt(Integer(Message.WParam))
                             : nullptr;
      TListItem* Next = GetNextItem(Start, UINT(Message.LParam));
      Message.Result = Next ? Next->Index() : -1;
      return true;
    }
    case LVM_GETSELECTEDCOUNT:
      Message.Result = FSelCount;
      return true;
    case LVM_GETITEMSTATE:
      Message.Result = Integer(Message.WParam) >= 0 && Integer(Message.WParam) < FItems->Count()
                           ? (FItems->FStates[Message.WParam] & Message.LParam)
                           : 0;
      return true;
    case LVM_DELETEALLITEMS:
      FItems->Clear();
      Message.Result = 1;
      return true;
    case LVM_DELETEITEM:
      Message.Result = 0;
      if (Integer(Message.WParam) >= 0 && Integer(Message.WParam) < FItems->Count()) {
        FItems->Delete(Integer(Message.WParam));
        Message.Result = 1;
      }
      return true;
    case LVM_SETITEMCOUNT:
      if (FOwnerData) FItems->SetCount(Integer(Message.WParam));
      Message.Result = 1;
      return true;
    case LVM_REDRAWITEMS:
      for (Integer i = std::max<Integer>(0, Integer(Message.WParam));
           i <= Integer(Message.LParam) && i < FItems->Count(); ++i)
        invalidateItem(i);
      Message.Result = 1;
      return true;
    case LVM_EDITLABEL:
      startLabelEdit(Integer(Message.WParam));
      Message.Result = 0;
      return true;
    case LVM_CANCELEDITLABEL:
      cancelLabelEdit();
      return true;
    default:
      return false;
  }
}

void TCustomListView::moveFocus(Integer Index, TShiftState Shift) {
  const Integer Count = FItems->Count();
  if (Count == 0) return;
  Index = std::clamp(Index, 0, Count - 1);
  std::weak_ptr<bool> Alive = FAlive;
  if (FMultiSelect && Shift.Contains(ssShift)) {
    if (FAnchorIndex < 0) FAnchorIndex = std::max(0, FFocusIndex);
    selectRange(FAnchorIndex, Index, Shift.Contains(ssCtrl));
    if (Alive.expired()) return;
    setFocusIndex(Index);
  } else if (FMultiSelect && Shift.Contains(ssCtrl)) {
    setFocusIndex(Index);
  } else {
    selectOnly(Index);
    if (Alive.expired()) return;
    FAnchorIndex = Index;
  }
  SendMessage(FHandle, LVM_ENSUREVISIBLE, WPARAM(Index), 0);
}

void TCustomListView::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const Integer Count = FItems->Count();
  if (Key == 0 || Count == 0) return;
  const Integer Cur = FFocusIndex;
  Integer Page = std::max(1, VisibleRowCount() - (FViewStyle == vsReport ? 1 : 0));
  Integer Across = 1, Down = 1;
  if (FViewStyle == vsList) Across = rowsPerColumn();
  if (FViewStyle == vsIcon || FViewStyle == vsSmallIcon) Down = iconCellsPerRow();
  Integer Target;
  switch (Key) {
    case VK_UP:
      Target = Cur < 0 ? 0 : Cur - Down;
      break;
    case VK_DOWN:
      Target = Cur < 0 ? 0 : Cur + Down;
      break;
    case VK_LEFT:
      if (FViewStyle == vsReport) {
        setScrollX(FScrollX - 16);
        Key = 0;
        return;
      }
      Target = Cur < 0 ? 0 : Cur - Across;
      break;
    case VK_RIGHT:
      if (FViewStyle == vsReport) {
        setScrollX(FScrollX + 16);
        Key = 0;
        return;
      }
      Target = Cur < 0 ? 0 : Cur + Across;
      break;
    case VK_PRIOR:
      Target = Cur < 0 ? 0 : Cur - Page;
      break;
    case VK_NEXT:
      Target = Cur < 0 ? 0 : Cur + Page;
      break;
    case VK_HOME:
      Target = 0;
      break;
    case VK_END:
      Target = Count - 1;
      break;
    case VK_SPACE:
      if (Cur >= 0) {
        const bool Sel = (FItems->FStates[Cur] & LVIS_SELECTED) != 0;
        if (FMultiSelect && Shift.Contains(ssCtrl))
          setItemState(Cur, LVIS_SELECTED, Sel ? 0 : LVIS_SELECTED);
        else if (!Sel)
          setItemState(Cur, LVIS_SELECTED, LVIS_SELECTED);
        if (FCheckboxes && !FOwnerData && !Shift.Contains(ssCtrl))
          itemAt(Cur)->SetChecked(!itemAt(Cur)->Checked());
      }
      Key = 0;
      return;
    case VK_F2:
      if (Cur >= 0) startLabelEdit(Cur);
      Key = 0;
      return;
    case 'A':
      if (Shift.Contains(ssCtrl) && FMultiSelect) {
        SelectAll();
        Key = 0;
      }
      return;
    default:
      return;
  }
  FTypeAhead.Forget();
  moveFocus(Target, Shift);
  Key = 0;
}

// ---- finding ----

Integer TCustomListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition,
                                       void* FindData, Integer StartIndex, TSearchDirection Direction,
                                       bool Wrap) {
  Integer Index = -1;
  if (OnDataFind)
    OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, Index);
  return Index;
}

// Start is the first index looked at.
Integer TCustomListView::findCaptionIndex(Integer Start, const String& Value, bool Partial, bool Wrap) {
  const Integer Count = FItems->Count();
  if (Count == 0) return -1;
  if (Start < 0 || Start >= Count) {
    if (!Wrap && Start >= Count) return -1;
    Start = 0;
  }
  Integer Found;
  if (FOwnerData) {
    Found = OwnerDataFind(Partial ? ifPartialString : ifExactString, Value, Point(0, 0), nullptr, Start,
                          sdAll, Wrap);
  } else {
    Found = -1;
    const String Wanted = UpperCase(Value);
    const Integer Span = Wrap ? Count : Count - Start;
    for (Integer Step = 0; Step < Span && Found < 0; ++Step) {
      const Integer I = (Start + Step) % Count;
      const String Caption = UpperCase(itemAt(I)->Caption());
      if (Partial ? Caption.rfind(Wanted, 0) == 0 : Caption == Wanted) Found = I;
    }
  }
  return Found >= 0 && Found < Count ? Found : -1;
}

TListItem* TCustomListView::FindCaption(Integer StartIndex, const String& Value, bool Partial, bool Inclusive,
                                        bool Wrap) {
  const Integer Found = findCaptionIndex(Inclusive ? StartIndex : StartIndex + 1, Value, Partial, Wrap);
  return Found >= 0 ? itemAt(Found) : nullptr;
}

void TCustomListView::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key >= 32 && Key != 127 && !IsEditing()) incrementalSearch(Key);
}

// Looked for from the focused item on (after it when a letter repeats), round to the top.
void TCustomListView::incrementalSearch(char32_t Key) {
  if (FItems->Count() == 0) return;
  FTypeAhead.Type(Key, GetTickCount());
  const Integer Start = FFocusIndex < 0 ? 0 : FFocusIndex + (FTypeAhead.StepsOn() ? 1 : 0);
  const Integer Found = findCaptionIndex(Start, FTypeAhead.Wanted(), true, true);
  if (Found >= 0) moveFocus(Found, {});
}

void TCustomListView::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  std::weak_ptr<bool> Alive = FAlive;
  if (Button == mbLeft || Button == mbRight) {
    Integer Index = HitTest(Point(X, Y));
    if (Index >= 0 && !(FViewStyle == vsReport && FRowSelect)) {
      const TRect Sel = itemRect(Index, drSelectBounds);
      if (!PtInRect(&Sel, Point(X, Y))) Index = -1;
    }
    if (Index < 0) {
      if (!Shift.Contains(ssCtrl) && Button == mbLeft) ClearSelection();
    } else if (Button == mbRight) {
      if (!(FItems->FStates[Index] & LVIS_SELECTED))
        selectOnly(Index);
      else
        setFocusIndex(Index);
    } else if (FCheckboxes && !FOwnerData && X < itemRect(Index, drIcon).Left &&
               X >= itemRect(Index, drIcon).Left - 16) {
      itemAt(Index)->SetChecked(!itemAt(Index)->Checked());
    } else if (FMultiSelect && Shift.Contains(ssCtrl)) {
      const bool Sel = (FItems->FStates[Index] & LVIS_SELECTED) != 0;
      setItemState(Index, LVIS_SELECTED | LVIS_FOCUSED, Byte((Sel ? 0 : LVIS_SELECTED) | LVIS_FOCUSED));
      FAnchorIndex = Index;
    } else if (FMultiSelect && Shift.Contains(ssShift)) {
      if (FAnchorIndex < 0) FAnchorIndex = Index;
      selectRange(FAnchorIndex, Index, false);
      if (!Alive.expired()) setFocusIndex(Index);
    } else {
      selectOnly(Index);
      FAnchorIndex = Index;
    }
  }
  if (Alive.expired()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListView::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FHotTrack) {
    const TListItem* Hot = GetItemAt(X, Y);
    const Integer Index = Hot ? HitTest(Point(X, Y)) : -1;
    if (Index != FHotIndex) {
      if (FHotIndex >= 0 && FHotIndex < FItems->Count()) invalidateItem(FHotIndex);
      FHotIndex = Index;
      if (Index >= 0) invalidateItem(Index);
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListView::CMMouseLeave(TMessage& Message) {
  if (FHotIndex >= 0) {
    if (FHotIndex < FItems->Count()) invalidateItem(FHotIndex);
    FHotIndex = -1;
  }
  TCustomControl::CMMouseLeave(Message);
}

// =====================================================================================================
// Sorting
// =====================================================================================================
bool TCustomListView::CustomSort(const TLVCompareFunc& SortProc, Integer Data) {
  if (FOwnerData || FItems->FItems.size() < 2) return !FOwnerData;
  auto& Items = FItems->FItems;
  std::vector<Integer> Order(Items.size());
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(),
                   [&](Integer A, Integer B) { return SortProc(Items[A].get(), Items[B].get(), Data) < 0; });
  std::vector<std::unique_ptr<TListItem>> Sorted;
  std::vector<Byte> States;
  Sorted.reserve(Items.size());
  States.reserve(Items.size());
  for (Integer I : Order) {
    Sorted.push_back(std::move(Items[I]));
    States.push_back(FItems->FStates[I]);
  }
  Items = std::move(Sorted);
  FItems->FStates = std::move(States);
  FItems->renumberFrom(0);
  FFocusIndex = FAnchorIndex = FHotIndex = -1;
  for (Integer i = 0; i < Integer(FItems->FStates.size()); ++i)
    if (FItems->FStates[i] & LVIS_FOCUSED) FFocusIndex = i;
  Invalidate();
  return true;
}

bool TCustomListView::AlphaSort() {
  if (OnCompare)
    return CustomSort(
        [this](TListItem* A, TListItem* B, Integer Data) {
          Integer Result = 0;
          OnCompare(this, A, B, Data, Result);
          return Result;
        },
        0);
  return CustomSort(
      [](TListItem* A, TListItem* B, Integer) { return CompareText(A->Caption(), B->Caption()); }, 0);
}

// =====================================================================================================
// Label editing
// =====================================================================================================
bool TCustomListView::CanEdit(TListItem* Item) {
  bool Allow = true;
  if (OnEditing) OnEditing(this, Item, Allow);
  return Allow;
}

void TCustomListView::Edit(TListItem* Item, String& S) {
  if (OnEdited) OnEdited(this, Item, S);
}

void TCustomListView::startLabelEdit(Integer Index) {
  if (FReadOnly || Index < 0 || Index >= FItems->Count() || FEditor) return;
  if (!LabelEditorFactory) return;  // no in-place editor in this program
  TListItem* Item = itemAt(Index);
  if (!CanEdit(Item)) return;
  SendMessage(Handle(), LVM_ENSUREVISIBLE, WPARAM(Index), 0);
  FEditor = LabelEditorFactory();
  if (!FEditor) return;
  FEditIndex = Index;
  std::weak_ptr<bool> Alive = FAlive;
  FEditor->Start(this, itemRect(Index, drLabel), Item->Caption(),
                 [this, Alive](bool Accept, const String& Text) {
                   if (Alive.expired()) return;
                   finishLabelEdit(FEditIndex, Accept, Text);
                 });
}

void TCustomListView::cancelLabelEdit() {
  if (!FEditor) return;
  FEditor->Cancel();
  FEditor.reset();
  FEditIndex = -1;
}

void TCustomListView::finishLabelEdit(Integer Index, bool Accept, const String& Text) {
  // The editor is freed after its own call has returned.
  if (FEditor) WinDeferAction([Editor = std::shared_ptr<ILabelEditor>(std::move(FEditor))] {});
  FEditIndex = -1;
  if (!Accept || Index < 0 || Index >= FItems->Count()) return;
  TListItem* Item = itemAt(Index);
  String S = Text;
  Edit(Item, S);
  if (Index >= FItems->Count()) return;
  // With owner data the owner keeps the text: the row is asked for it again when repainted.
  if (FOwnerData)
    invalidateItem(Index);
  else if (FItems->Item(Index) == Item)
    Item->SetCaption(S);
}
