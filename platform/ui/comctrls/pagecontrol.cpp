#include "platform/ui/comctrls/pagecontrol.h"

#include <algorithm>

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csAcceptsControls, csClickEvents, csDoubleClicks};
  FAlign = alClient;
  FVisible = false;
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (Value == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  SetParent(Value);
  if (Value) Value->InsertPage(this);
}

Integer TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& P = FPageControl->FPages;
  return Integer(std::find(P.begin(), P.end(), this) - P.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
  if (FPageControl) FPageControl->MovePage(this, Value);
}

Integer TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  Integer Index = 0;
  for (TTabSheet* P : FPageControl->FPages) {
    if (P == this) return Index;
    if (P->FTabVisible) ++Index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (Value == FTabVisible) return;
  FTabVisible = Value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(Integer Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::CMTextChanged(TMessage& Message) {
  TWinControl::CMTextChanged(Message);
  if (FPageControl) FPageControl->UpdateTabs();
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
  for (TTabSheet* P : FPages) P->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(Integer Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError(Format(SListIndexError, Index));
  return FPages[size_t(Index)];
}

Integer TPageControl::ActivePageIndex() const {
  return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(Integer Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[size_t(Value)] : nullptr);
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  UpdateTabs();
  // A control without an active page shows the first page that gets a tab, so it is never blank.
  if (!FActivePage && Page->TabVisible()) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page) {
  TTabSheet* Next = nullptr;
  if (Page == FActivePage) {
    Next = FindNextPage(Page, true, true);
    if (Next == Page) Next = nullptr;
    FActivePage = nullptr;
  }
  FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
  Page->FPageControl = nullptr;
  UpdateTabs();
  if (Next) SetActivePage(Next);
}

void TPageControl::MovePage(TTabSheet* Page, Integer NewIndex) {
  auto It = std::find(FPages.begin(), FPages.end(), Page);
  if (It == FPages.end()) return;
  FPages.erase(It);
  NewIndex = std::clamp(NewIndex, 0, PageCount());
  FPages.insert(FPages.begin() + NewIndex, Page);
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  std::vector<TTabItem> Items;
  for (TTabSheet* P : FPages)
    if (P->TabVisible()) Items.push_back({P->Caption(), P->ImageIndex()});
  SetTabItems(std::move(Items));
  Perform(TCM_SETCURSEL, WPARAM(FActivePage ? FActivePage->TabIndex() : -1), 0);
}

void TPageControl::ShowControl(TTabSheet* Page) {
  Page->BringToFront();
  Page->SetVisible(true);
}

void TPageControl::changeActivePage(TTabSheet* Page) {
  if (Page == FActivePage) return;
  TTabSheet* Old = FActivePage;
  // The focus must not stay on a control that is about to be hidden.
  if (Old && HandleAllocated() && Old->HandleAllocated()) {
    HWND Focus = GetFocus();
    if (Focus && (Focus == Old->Handle() || IsChild(Old->Handle(), Focus)) && CanFocus()) SetFocus();
  }
  FActivePage = Page;
  if (Page) ShowControl(Page);
  if (Old) Old->SetVisible(false);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->PageControl() != this) return;
  changeActivePage(Page);
  Perform(TCM_SETCURSEL, WPARAM(Page ? Page->TabIndex() : -1), 0);
}

void TPageControl::Change() {
  const Integer Index = TabIndex();
  if (Index >= 0)
    for (TTabSheet* P : FPages)
      if (P->TabIndex() == Index) {
        changeActivePage(P);
        break;
      }
  TCustomTabControl::Change();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
  if (FPages.empty()) return nullptr;
  const Integer Count = PageCount();
  auto It = std::find(FPages.begin(), FPages.end(), CurPage);
  Integer Start = It == FPages.end() ? (GoForward ? Count - 1 : 0) : Integer(It - FPages.begin());
  Integer I = Start;
  do {
    I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
    TTabSheet* P = FPages[size_t(I)];
    if (!CheckTabVisible || P->TabVisible()) return P;
  } while (I != Start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* Page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (Page && Page != FActivePage && CanChange()) {
    SetActivePage(Page);
    Change();
  }
}

void TPageControl::CMDialogKey(TMessage& Message) {
  const TShiftState Shift = KeyDataToShiftState(Message.LParam);
  if (Word(Message.WParam) == VK_TAB && Shift.Contains(ssCtrl) && HandleAllocated()) {
    HWND Focus = GetFocus();
    if (Focus && (Focus == Handle() || IsChild(Handle(), Focus))) {
      SelectNextPage(!Shift.Contains(ssShift), true);
      Message.Result = 1;
      return;
    }
  }
  TCustomTabControl::CMDialogKey(Message);
}
