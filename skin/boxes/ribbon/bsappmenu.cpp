#include "skin/boxes/ribbon/bsappmenu.h"

#include <algorithm>

#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"
#include "platform/ui/core/form.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/boxes/ribbon/bsribbonshared.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

constexpr Integer DefaultItemHeight = 28;
constexpr Integer DefaultPageItemHeight = 35;
constexpr Integer PageItemGap = 8;
// A page item stays this far inside the menu when it is brought into view.
constexpr Integer PageItemMargin = 30;

}  // namespace

// ---- TbsAppMenuItem ----

TbsAppMenuItem::TbsAppMenuItem(TCollection* Collection) : TCollectionItem(Collection) {
  FCaption = "TbsAppMenuItem" + IntToStr(Index());
}

void TbsAppMenuItem::Assign(TPersistent* Source) {
  if (auto* I = dynamic_cast<TbsAppMenuItem*>(Source)) {
    FPage = I->FPage;
    FCaption = I->FCaption;
    FImageIndex = I->FImageIndex;
    FVisible = I->FVisible;
    FEnabled = I->FEnabled;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TbsAppMenuItem::SetPage(TbsAppMenuPage* Value) {
  if (FPage == Value) return;
  FPage = Value;
  if (FPage != nullptr && FPage->AppMenu != nullptr) FPage->AppMenu->SetActivePage(FPage);
}

void TbsAppMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed(false);
}

void TbsAppMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed(false);
}

void TbsAppMenuItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

void TbsAppMenuItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(false);
}

// ---- TbsAppMenuItems ----

TbsAppMenuItems::TbsAppMenuItems(TbsAppMenu* AAppMenu)
    : TCollection(CollectionItemClass<TbsAppMenuItem>()), AppMenu(AAppMenu) {}

TPersistent* TbsAppMenuItems::GetOwner() {
  return AppMenu;
}

void TbsAppMenuItems::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (AppMenu == nullptr || RibbonDestroying(AppMenu)) return;
  if (RibbonDesigning(AppMenu) || AppMenu->Visible()) AppMenu->UpdateScrollInfo();
  AppMenu->Repaint();
}

// ---- TbsAppMenuPage ----

TbsAppMenuPage::TbsAppMenuPage(TComponent* AOwner) : TbsAppMenuCustomPage(AOwner) {
  TControlStyle Style = ControlStyle();
  Style.Include(csAcceptsControls);
  Style.Include(csNoDesignVisible);
  SetControlStyle(Style);
}

TbsAppMenuPage::~TbsAppMenuPage() {
  TbsAppMenu* M = AppMenu;
  if (M == nullptr) return;
  // Items keep no page that is gone, in the designer as at run time.
  for (Integer i = 0; i < M->Items()->Count(); ++i)
    if (M->Items()->Items(i)->FPage == this) M->Items()->Items(i)->FPage = nullptr;
  if (!RibbonDestroying(M)) M->Invalidate();
}

void TbsAppMenuPage::SetDefaultWidth(Integer Value) {
  if (FDefaultWidth == Value) return;
  FDefaultWidth = Value;
  SetWidth(Value);
}

void TbsAppMenuPage::SetFirstActiveControl(TWinControl* Value) {
  if (FFirstActiveControl != nullptr) FFirstActiveControl->RemoveFreeNotification(this);
  FFirstActiveControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsAppMenuPage::Notification(TComponent* AComponent, TOperation Operation) {
  TbsAppMenuCustomPage::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFirstActiveControl) FFirstActiveControl = nullptr;
}

void TbsAppMenuPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (Parent() == nullptr || AppMenu == nullptr) {
    TbsAppMenuCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  Integer L, T, W, H;
  AppMenu->GetPageRect(L, T, W, H);
  Integer NewWidth = FDefaultWidth;
  if (AWidth > W || FDefaultWidth == 0 || FDefaultWidth > W) NewWidth = W;
  TbsAppMenuCustomPage::SetBounds(L, T, std::max(NewWidth, 100), std::max(H, 100));
}

void TbsAppMenuPage::WMSize(TMessage& Message) {
  TbsAppMenuCustomPage::WMSize(Message);
  Invalidate();
}

void TbsAppMenuPage::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC == nullptr) return;
  TCanvas C;
  C.SetHandle(DC);
  if (AppMenu != nullptr) {
    AppMenu->DrawPageBackground(&C, Rect(0, 0, Width(), Height()));
  } else {
    C.Brush()->SetColor(clWindow);
    C.FillRect(Rect(0, 0, Width(), Height()));
  }
  C.SetHandle(nullptr);
}

// ---- TbsAppMenu ----

TbsAppMenu::TbsAppMenu(TComponent* AOwner)
    : TbsSkinControl(AOwner), FItems(std::make_unique<TbsAppMenuItems>(this)) {
  TControlStyle Style = ControlStyle();
  Style.Include(csAcceptsControls);
  Style.Include(csNoDesignVisible);
  SetControlStyle(Style);
  SetVisible(false);
  SetBounds(Left(), Top(), 250, 200);
  SetAlign(alNone);
  FSkinDataName = "appmenu";
}

TbsAppMenu::~TbsAppMenu() {
  // The ribbon, and through it the form's frame, stops asking a menu that is going for its caption.
  if (Ribbon != nullptr && Ribbon->AppMenu() == this) Ribbon->SetAppMenu(nullptr);
  // Pages belong to the form; none may reach back into a menu that is gone.
  for (Integer i = 0; i < FItems->Count(); ++i)
    if (TbsAppMenuPage* P = FItems->Items(i)->Page(); P != nullptr && P->AppMenu == this)
      P->AppMenu = nullptr;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* P = dynamic_cast<TbsAppMenuCustomPage*>(Controls(i))) P->AppMenu = nullptr;
  if (FActivePage != nullptr) FActivePage->RemoveFreeNotification(this);
  for (TCustomImageList* L : {FItemImageList, FItemPageImageList})
    if (L != nullptr) L->RemoveFreeNotification(this);
  if (FSkinHint != nullptr) FSkinHint->RemoveFreeNotification(this);
  FItems->AppMenu = nullptr;
  FItems.reset();
  delete ScrollBar;
  ScrollBar = nullptr;
}

void TbsAppMenu::CreateParams(TCreateParams& Params) {
  TbsSkinControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsAppMenu::Loaded() {
  TbsSkinControl::Loaded();
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TbsAppMenuPage* P = FItems->Items(i)->Page();
    if (P == nullptr) continue;
    P->AppMenu = this;
    P->SetVisible(P == FActivePage);
  }
}

void TbsAppMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinHint) FSkinHint = nullptr;
  if (AComponent == FActivePage) FActivePage = nullptr;
  if (AComponent == FItemImageList) FItemImageList = nullptr;
  if (AComponent == FItemPageImageList) FItemPageImageList = nullptr;
  if (AComponent == ScrollBar) ScrollBar = nullptr;
}

// ---- properties ----

void TbsAppMenu::SetItems(TbsAppMenuItems* Value) {
  FItems->Assign(Value);
  Repaint();
}

static void swapReference(TComponent* Self, TCustomImageList*& Field, TCustomImageList* Value) {
  if (Field == Value) return;
  if (Field != nullptr) Field->RemoveFreeNotification(Self);
  Field = Value;
  if (Field != nullptr) Field->FreeNotification(Self);
}

void TbsAppMenu::SetItemImageList(TCustomImageList* Value) {
  swapReference(this, FItemImageList, Value);
  Repaint();
}

void TbsAppMenu::SetItemPageImageList(TCustomImageList* Value) {
  swapReference(this, FItemPageImageList, Value);
  Repaint();
}

void TbsAppMenu::SetSkinHint(TbsSkinHint* Value) {
  if (FSkinHint != nullptr) FSkinHint->RemoveFreeNotification(this);
  FSkinHint = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsAppMenu::SetItemWidth(Integer Value) {
  FItemWidth = std::max(Value, 100);
  if (FActivePage != nullptr) FActivePage->UpDateSize();
  Repaint();
}

void TbsAppMenu::SetItemIndex(Integer Value) {
  FItemIndex = Value;
  if (validItem(Value)) {
    TbsAppMenuPage* P = FItems->Items(Value)->Page();
    if (P != nullptr && P != FActivePage) SetActivePage(P);
  }
  if (ScrollBar != nullptr) ScrollToItem(FItemIndex);
  Repaint();
}

void TbsAppMenu::SetActivePage(TbsAppMenuPage* Value) {
  TbsAppMenuPage* Old = FActivePage;
  if (Old != nullptr) {
    Old->Hide();
    Old->FStopScroll = true;
  }
  if (Old != Value) {
    if (Old != nullptr) Old->RemoveFreeNotification(this);
    FActivePage = Value;
    if (Value != nullptr) Value->FreeNotification(this);
  }
  if (Value != nullptr && !RibbonLoading(this)) {
    Value->Hide();
    Value->SetParent(this);
    Value->UpDateSize();
    // Show() would bring a hidden menu up with its page.
    Value->SetVisible(true);
    Value->BringToFront();
    Value->FStopScroll = !Visible();
    if (Value->CanScroll()) Value->GetScrollInfo();
    if (Value != Old && OnChangePage) OnChangePage(this);
  }
  Repaint();
}

// ---- skin ----

void TbsAppMenu::GetSkinData() {
  TbsSkinControl::GetSkinData();
  if (FIndex == -1) {
    FData = nullptr;
    return;
  }
  // An element of another kind under this name gives the default look rather than a bad cast.
  FData = dynamic_cast<TbsDataSkinAppMenu*>(FSD->Ctrls(FIndex));
  if (FData == nullptr) {
    FDataPicture = FDataBGPicture = FDataPageBGPicture = nullptr;
    return;
  }
  FDataPicture = SkinPictureAt(FSD, FData->PictureIndex);
  FDataBGPicture = FData->BGPictureIndex != -1 ? SkinPictureAt(FSD, FData->BGPictureIndex) : nullptr;
  FDataPageBGPicture =
      FData->BGPagePictureIndex != -1 ? SkinPictureAt(FSD, FData->BGPagePictureIndex) : nullptr;
}

bool TbsAppMenu::SingleStyle() const {
  return FData != nullptr && FData->ItemRect == FData->PageItemRect;
}

bool TbsAppMenu::CanDrawAppMenuCaption() {
  GetSkinData();
  return FIndex != -1 && FData != nullptr && !IsEmptyRect(FData->CaptionRect);
}

Integer TbsAppMenu::GetAppMenuCaptionOffset() {
  GetSkinData();
  if (FIndex != -1 && FData != nullptr) return FData->CaptionLeftOffset + FItemWidth;
  return FItemWidth;
}

// ---- geometry ----

void TbsAppMenu::GetPageRect(Integer& ALeft, Integer& ATop, Integer& AWidth, Integer& AHeight) {
  GetSkinData();
  const Integer P = FIndex != -1 && FData != nullptr ? FData->PageOffset : 0;
  ALeft = FItemWidth + P;
  ATop = 25;
  AWidth = Width() - FItemWidth - P - 25;
  AHeight = Height() - 50;
}

Integer TbsAppMenu::itemHeight(bool PageItem) const {
  if (FIndex == -1 || FData == nullptr) return PageItem ? DefaultPageItemHeight : DefaultItemHeight;
  return PageItem ? RectHeight(FData->PageItemRect) : RectHeight(FData->ItemRect);
}

void TbsAppMenu::CalcItemRects() {
  GetSkinData();
  const bool Skinned = FIndex != -1 && FData != nullptr;
  const bool Single = SingleStyle();
  const Integer H = itemHeight(false), HP = itemHeight(true);
  FBackButtonRect = Rect(0, 0, 0, 0);
  Integer Y = 0;
  if (Skinned && !IsEmptyRect(FData->BackButtonRect)) {
    const Integer BW = RectWidth(FData->BackButtonRect), BH = RectHeight(FData->BackButtonRect);
    FBackButtonRect = CanDrawAppMenuCaption() ? Rect(23, 0, 23 + BW, BH) : Rect(23, 3, 23 + BW, BH + 3);
    Y = BH + 5;
  }
  Y = Y - FScrollOffset + 7;
  bool First = true, PrevPlain = false;
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TbsAppMenuItem* I = FItems->Items(i);
    if (!I->Visible()) continue;
    const bool PageItem = I->Page() != nullptr;
    if (First && PageItem && !Single) Y = PageItemMargin - FScrollOffset;
    if (!First && PageItem && PrevPlain && !Single) Y += PageItemGap;
    if (PageItem) {
      I->ItemRect = Rect(0, Y, FItemWidth, Y + HP);
      Y += HP + (Single ? 0 : PageItemGap);
    } else {
      I->ItemRect = Single ? Rect(0, Y, FItemWidth, Y + H) : Rect(8, Y, FItemWidth - 8, Y + H);
      Y += H;
    }
    First = false;
    PrevPlain = !PageItem;
  }
}

Integer TbsAppMenu::GetContentHeight() {
  GetSkinData();
  const bool Single = SingleStyle();
  const Integer H = itemHeight(false), HP = itemHeight(true);
  Integer C = 0;
  if (FIndex != -1 && FData != nullptr && !IsEmptyRect(FData->BackButtonRect))
    C = RectHeight(FData->BackButtonRect) + 5;
  C += 7;
  bool First = true, PrevPlain = false;
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TbsAppMenuItem* I = FItems->Items(i);
    if (!I->Visible()) continue;
    const bool PageItem = I->Page() != nullptr;
    if (First && PageItem && !Single) C = PageItemMargin;
    if (!First && PageItem && PrevPlain && !Single) C += PageItemGap;
    C += PageItem ? HP + (Single ? 0 : PageItemGap) : H;
    First = false;
    PrevPlain = !PageItem;
  }
  if (FItems->Count() > 0 && FItems->Items(FItems->Count() - 1)->Page() != nullptr) C += 25;
  return C + 1;
}

bool TbsAppMenu::CanShowGripper() {
  if (Ribbon == nullptr) return false;
  auto* Engine = dynamic_cast<TbsSkinForm*>(Ribbon->BSF);
  if (Engine == nullptr || Engine->Form() == nullptr) return false;
  return Engine->WindowState() != wsMaximized && Engine->Form()->BorderStyle() != bsSingle &&
         !Engine->RollUpState();
}

// ---- scroll bar ----

void TbsAppMenu::placeScrollBar() {
  if (ScrollBar == nullptr) return;
  const Integer W = ScrollBar->Width();
  ScrollBar->SetBounds(Width() - W, 0, W, CanShowGripper() ? Height() - 20 : Height());
}

void TbsAppMenu::updateScrollBar(bool RepaintOnChange) {
  const Integer C = GetContentHeight();
  if (C > Height() && ScrollBar == nullptr) {
    ScrollBar = new TbsSkinScrollBar(this);
    ScrollBar->SetVisible(false);
    ScrollBar->SetParent(this);
    ScrollBar->SetDefaultHeight(0);
    ScrollBar->SetDefaultWidth(19);
    ScrollBar->SetSmallChange(28);
    ScrollBar->SetLargeChange(28);
    ScrollBar->SetSkinDataName("vscrollbar");
    ScrollBar->SetKind(sbVertical);
    ScrollBar->SetSkinData(FSD);
    ScrollBar->OnChange = [this](TObject*) {
      FScrollOffset = ScrollBar->Position();
      Repaint();
    };
    placeScrollBar();
    ScrollBar->Show();
    if (RepaintOnChange) Repaint();
  } else if (C <= Height() && ScrollBar != nullptr) {
    TbsSkinScrollBar* B = ScrollBar;
    ScrollBar = nullptr;
    B->Hide();
    delete B;
    // Everything fits now: a column left scrolled up would hide its first items with no way back.
    FScrollOffset = 0;
    if (RepaintOnChange) Repaint();
  }
  if (ScrollBar == nullptr) return;
  ScrollBar->SetRange(0, C, FScrollOffset, Height());
  ScrollBar->SetLargeChange(Height());
  // The range may have clamped the position: the column follows the bar.
  FScrollOffset = ScrollBar->Position();
}

void TbsAppMenu::UpdateScrollInfo() {
  updateScrollBar(true);
}

void TbsAppMenu::ScrollToItem(Integer Index) {
  if (ScrollBar == nullptr || !validItem(Index)) return;
  CalcItemRects();
  TbsAppMenuItem* I = FItems->Items(Index);
  const bool Last = Index == FItems->Count() - 1;
  auto moveTo = [&](Integer Position) {
    ScrollBar->SetPosition(Position);
    FScrollOffset = ScrollBar->Position();
    CalcItemRects();
  };
  if (ScrollBar->Visible() && (I->ItemRect.Top < 0 || I->ItemRect.Bottom > Height())) {
    if (Last)
      moveTo(ScrollBar->Max());
    else if (I->ItemRect.Top < 0)
      moveTo(ScrollBar->Position() + (I->ItemRect.Top - FScrollOffset));
    else
      moveTo(ScrollBar->Position() + (I->ItemRect.Bottom - FScrollOffset));
  } else if (ScrollBar->Visible()) {
    if (Last && ScrollBar->Position() != ScrollBar->Max()) moveTo(ScrollBar->Max());
    if (Index == 0 && ScrollBar->Position() != ScrollBar->Min()) moveTo(ScrollBar->Min());
  }
  if (I->Page() == nullptr) return;
  if (I->ItemRect.Top < PageItemMargin)
    moveTo(ScrollBar->Position() - (PageItemMargin - I->ItemRect.Top));
  else if (I->ItemRect.Bottom > Height() - PageItemMargin)
    moveTo(ScrollBar->Position() + (I->ItemRect.Bottom - (Height() - PageItemMargin)));
}

// ---- item search ----

bool TbsAppMenu::usable(Integer Index) const {
  return FItems->Items(Index)->Visible() && FItems->Items(Index)->Enabled();
}

void TbsAppMenu::FindNextItem() {
  if (FItemIndex == -1 || FItemIndex >= FItems->Count() - 1) return;
  for (Integer i = FItemIndex + 1; i < FItems->Count(); ++i)
    if (usable(i)) {
      SetItemIndex(i);
      return;
    }
}

void TbsAppMenu::FindPriorItem() {
  if (FItemIndex <= 0) return;
  for (Integer i = std::min(FItemIndex, FItems->Count()) - 1; i >= 0; --i)
    if (usable(i)) {
      SetItemIndex(i);
      return;
    }
}

void TbsAppMenu::FindFirstItem() {
  for (Integer i = 0; i < FItems->Count(); ++i)
    if (usable(i)) {
      SetItemIndex(i);
      return;
    }
}

void TbsAppMenu::FindLastItem() {
  for (Integer i = FItems->Count() - 1; i >= 0; --i)
    if (usable(i)) {
      SetItemIndex(i);
      return;
    }
}

TbsAppMenuPage* TbsAppMenu::CreatePage() {
  // Pages belong to the form; a menu not yet on one keeps them with its own owner.
  TComponent* Owner = GetParentForm(this);
  if (Owner == nullptr) Owner = this->Owner() != nullptr ? this->Owner() : this;
  auto* Page = new TbsAppMenuPage(Owner);
  Page->SetParent(this);
  Page->AppMenu = this;
  Page->UpDateSize();
  Page->SetName(MakeUniqueComponentName("bsAppMenuPage%d", Owner));
  SetActivePage(Page);
  Repaint();
  return Page;
}

// ---- input ----

void TbsAppMenu::UpdateActiveItem(Integer X, Integer Y) {
  const TPoint P{X, Y};
  // Tracked also without items: a menu over the whole client area has no other way out for the mouse.
  const bool OnBack = !IsEmptyRect(FBackButtonRect) && PtInRect(&FBackButtonRect, P);
  if (OnBack != FBackButtonActive) {
    FBackButtonActive = OnBack;
    Repaint();
  }
  if (FItems->Count() == 0) return;
  FItemActive = -1;
  for (Integer i = 0; i < FItems->Count() && FItemActive == -1; ++i)
    if (usable(i) && PtInRect(&FItems->Items(i)->ItemRect, P)) FItemActive = i;
  if (FItemActive == FOldItemActive) return;
  for (Integer i = 0; i < FItems->Count(); ++i) FItems->Items(i)->Active = i == FItemActive;
  FOldItemActive = FItemActive;
  Repaint();
}

void TbsAppMenu::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  UpdateActiveItem(X, Y);
  if (FItemActive != FItemIndex) SetItemIndex(FItemActive);
  if (!Focused() && CanFocus()) SetFocus();
}

void TbsAppMenu::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseMove(Shift, X, Y);
  UpdateActiveItem(X, Y);
}

void TbsAppMenu::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  UpdateActiveItem(X, Y);
  if (FBackButtonActive) {
    if (Ribbon != nullptr) Ribbon->HideAppMenu(nullptr);
    return;
  }
  if (!validItem(FItemIndex) || Ribbon == nullptr || FItemActive != FItemIndex) return;
  TbsAppMenuItem* I = FItems->Items(FItemIndex);
  if (I->Page() == nullptr) Ribbon->HideAppMenu(I);
}

void TbsAppMenu::CMMouseLeave(TMessage& Message) {
  TbsSkinControl::CMMouseLeave(Message);
  UpdateActiveItem(-1, -1);
}

void TbsAppMenu::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_TAB: {
      if (!validItem(FItemIndex)) return;
      TbsAppMenuItem* I = FItems->Items(FItemIndex);
      if (I->Page() == nullptr) {
        if (Ribbon == nullptr) return;
        if (Key == VK_TAB)
          FindNextItem();
        else
          Ribbon->HideAppMenu(I);
        return;
      }
      TWinControl* C = I->Page()->FirstActiveControl();
      if (C != nullptr && C->Parent() == I->Page() && C->Visible() && C->Enabled()) {
        if (C->CanFocus()) C->SetFocus();
      } else if (Key == VK_TAB) {
        FindNextItem();
      }
      return;
    }
    case VK_NEXT:
      FindLastItem();
      return;
    case VK_PRIOR:
      FindFirstItem();
      return;
    case VK_LEFT:
    case VK_UP:
      FindPriorItem();
      return;
    case VK_RIGHT:
    case VK_DOWN:
      FindNextItem();
      return;
    default:
      return;
  }
}

void TbsAppMenu::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
      return;
    case WM_MOUSEWHEEL: {
      POINT P{};
      GetCursorPos(&P);
      if (Focused() && HandleAllocated() && WindowFromPoint(P) == Handle()) {
        if (GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0)
          FindNextItem();
        else
          FindPriorItem();
      }
      Message.Result = 1;
      return;
    }
    case WM_NCHITTEST:
      if (CanShowGripper()) {
        POINT P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        ::ScreenToClient(Handle(), &P);
        if (P.X >= Width() - 10 && P.X <= Width() && P.Y >= Height() - 10 && P.Y <= Height()) {
          Message.Result = HTBOTTOMRIGHT;
          return;
        }
      }
      TbsSkinControl::Dispatch(Message);
      return;
    case CM_DESIGNHITTEST:
      if (designing() && Message.WParam == MK_LBUTTON) {
        CalcItemRects();
        const TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        for (Integer i = 0; i < FItems->Count(); ++i) {
          TbsAppMenuItem* I = FItems->Items(i);
          if (I->Visible() && PtInRect(&I->ItemRect, P)) {
            if (I->Page() != nullptr) SetActivePage(I->Page());
            break;
          }
        }
      }
      TbsSkinControl::Dispatch(Message);
      return;
    default:
      TbsSkinControl::Dispatch(Message);
  }
}

void TbsAppMenu::WMSize(TMessage& Message) {
  TbsSkinControl::WMSize(Message);
  if (FActivePage != nullptr) FActivePage->UpDateSize();
  if (Height() != FOldHeight && FOldHeight != -1) {
    if (FScrollOffset > 0) FScrollOffset = std::max(0, FScrollOffset + FOldHeight - Height());
    updateScrollBar(false);
  }
  placeScrollBar();
  Repaint();
  FOldHeight = Height();
}

void TbsAppMenu::WMSetFocus(TMessage& Message) {
  TbsSkinControl::WMSetFocus(Message);
  Repaint();
}

void TbsAppMenu::WMKillFocus(TMessage& Message) {
  TbsSkinControl::WMKillFocus(Message);
  Repaint();
}
