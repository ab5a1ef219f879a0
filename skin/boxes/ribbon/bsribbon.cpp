#include "skin/boxes/ribbon/bsribbon.h"

#include <algorithm>

#include "platform/rtl/format.h"
#include "platform/ui/core/form.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/boxes/ribbon/bsappmenu.h"
#include "skin/boxes/ribbon/bsribbonshared.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/menus/bsskinmenu.h"

String MakeUniqueComponentName(const String& Pattern, TComponent* Form) {
  Integer N = 1;
  String Name = Format(Pattern, N);
  if (Form == nullptr) return Name;
  while (Form->FindComponent(Name) != nullptr) Name = Format(Pattern, ++N);
  return Name;
}

// ---- TbsRibbonTab ----

TbsRibbonTab::TbsRibbonTab(TCollection* Collection) : TCollectionItem(Collection) {
  TbsRibbon* R = ribbon();
  if (R != nullptr && RibbonDesigning(R) && !RibbonLoading(R)) CreateTabPage();
  FVisible = true;
}

TbsRibbonTab::~TbsRibbonTab() {
  TbsRibbon* R = ribbon();
  if (R != nullptr && RibbonDesigning(R) && !RibbonLoading(R) && !RibbonDestroying(R) && FPage != nullptr)
    static_cast<TbsRibbonTabs*>(Collection())->DestroyPage = FPage;
}

TbsRibbon* TbsRibbonTab::ribbon() const {
  auto* Tabs = dynamic_cast<TbsRibbonTabs*>(Collection());
  return Tabs != nullptr ? Tabs->Ribbon : nullptr;
}

void TbsRibbonTab::Assign(TPersistent* Source) {
  if (auto* T = dynamic_cast<TbsRibbonTab*>(Source)) {
    FPage = T->FPage;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TbsRibbonTab::SetPage(TbsRibbonPage* Value) {
  if (FPage == Value) return;
  FPage = Value;
  if (FPage != nullptr && FPage->Ribbon != nullptr) FPage->Ribbon->SetTabIndex(Index());
}

void TbsRibbonTab::CreateTabPage() {
  TbsRibbon* R = ribbon();
  if (R == nullptr) return;
  TComponent* Form = GetParentForm(R);
  auto* Page = new TbsRibbonPage(Form);
  Page->SetParent(R);
  Page->Ribbon = R;
  Integer L, T, W, H;
  R->GetPageRect(L, T, W, H);
  Page->SetBounds(L, T, W, H);
  Page->SetName(MakeUniqueComponentName("bsRibbonPage%d", Form));
  FPage = Page;
  Page->SetCaption(Page->Name());
  R->FStopCheckTabIndex = true;
  R->SetTabIndex(Index());
  R->FStopCheckTabIndex = false;
  R->Repaint();
}

void TbsRibbonTab::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  TbsRibbon* R = ribbon();
  if (R == nullptr) return;
  if (!Value && FPage != nullptr && FPage->Visible()) FPage->Hide();
  if (!Value && R->TabIndex() == Index()) {
    TbsRibbonTabs* Tabs = R->Tabs();
    Integer Found = -1;
    for (Integer i = Index() + 1; i < Tabs->Count() && Found == -1; ++i)
      if (Tabs->Items(i)->Visible()) Found = i;
    for (Integer i = Index() - 1; i >= 0 && Found == -1; --i)
      if (Tabs->Items(i)->Visible()) Found = i;
    if (Found != -1) {
      R->SetTabIndex(Found);
      return;
    }
  }
  R->Invalidate();
}

// ---- TbsRibbonTabs ----

TbsRibbonTabs::TbsRibbonTabs(TbsRibbon* ARibbon)
    : TCollection(CollectionItemClass<TbsRibbonTab>()), Ribbon(ARibbon) {}

TPersistent* TbsRibbonTabs::GetOwner() {
  return Ribbon;
}

TbsRibbonTab* TbsRibbonTabs::Add() {
  auto* Tab = static_cast<TbsRibbonTab*>(TCollection::Add());
  if (Ribbon != nullptr && !RibbonDesigning(Ribbon) && !RibbonLoading(Ribbon)) Tab->CreateTabPage();
  return Tab;
}

TbsRibbonTab* TbsRibbonTabs::Insert(Integer Index) {
  auto* Tab = static_cast<TbsRibbonTab*>(TCollection::Insert(Index));
  if (Ribbon != nullptr && !RibbonDesigning(Ribbon) && !RibbonLoading(Ribbon)) Tab->CreateTabPage();
  return Tab;
}

void TbsRibbonTabs::Delete(Integer Index) {
  if (Ribbon != nullptr && !RibbonDesigning(Ribbon)) {
    TbsRibbonTab* Tab = Items(Index);
    TbsRibbonPage* Page = Tab->FPage;
    Tab->FPage = nullptr;
    delete Page;
  }
  TCollection::Delete(Index);
}

void TbsRibbonTabs::Clear() {
  TCollection::Clear();
}

void TbsRibbonTabs::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (Ribbon == nullptr || !RibbonDesigning(Ribbon) || RibbonLoading(Ribbon) || RibbonDestroying(Ribbon))
    return;
  if (DestroyPage == nullptr) return;
  TbsRibbonPage* Page = DestroyPage;
  DestroyPage = nullptr;
  delete Page;
}

// ---- TbsRibbonButtonItem ----

TbsRibbonButtonItem::TbsRibbonButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TbsRibbonButtonItem::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TbsRibbonButtonItem*>(Source)) {
    FImageIndex = B->FImageIndex;
    FHint = B->FHint;
    FEnabled = B->FEnabled;
    FVisible = B->FVisible;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TbsRibbonButtonItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TbsRibbonButtonItem::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed(false);
}

void TbsRibbonButtonItem::SetVisible(bool Value) {
  FVisible = Value;
  Changed(false);
}

// ---- TbsRibbonButtonItems ----

TbsRibbonButtonItems::TbsRibbonButtonItems(TbsRibbon* ARibbon)
    : TCollection(CollectionItemClass<TbsRibbonButtonItem>()), Ribbon(ARibbon) {}

TPersistent* TbsRibbonButtonItems::GetOwner() {
  return Ribbon;
}

void TbsRibbonButtonItems::Update(TCollectionItem* Item) {
  (void)Item;
  if (Ribbon != nullptr && !RibbonLoading(Ribbon)) Ribbon->Invalidate();
}

// ---- pages ----

TbsRibbonPage::TbsRibbonPage(TComponent* AOwner) : TbsRibbonCustomPage(AOwner) {
  TControlStyle Style = ControlStyle();
  Style.Include(csAcceptsControls);
  Style.Include(csNoDesignVisible);
  SetControlStyle(Style);
  SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
  FCaption = "";
}

TbsRibbonPage::~TbsRibbonPage() {
  TbsRibbon* R = Ribbon;
  if (R == nullptr) return;
  TbsRibbonTabs* Tabs = R->Tabs();
  if (!RibbonDesigning(R) || RibbonLoading(R) || RibbonDestroying(R)) {
    // A page freed by its owner (the form) must not stay behind in its tab.
    for (Integer i = 0; i < Tabs->Count(); ++i)
      if (Tabs->Items(i)->Page() == this) Tabs->Items(i)->FPage = nullptr;
    if (!RibbonDestroying(R)) R->Invalidate();
    return;
  }
  Integer Owner = -1;
  for (Integer i = 0; i < Tabs->Count() && Owner == -1; ++i)
    if (Tabs->Items(i)->Page() == this) Owner = i;
  if (Owner != -1) {
    const bool WasSelected = R->TabIndex() == Owner;
    Tabs->Items(Owner)->FPage = nullptr;
    Tabs->TCollection::Delete(Owner);
    if (WasSelected) {
      Integer Found = -1;
      for (Integer i = Owner; i < Tabs->Count() && Found == -1; ++i)
        if (Tabs->Items(i)->Visible()) Found = i;
      for (Integer i = std::min(Owner, Tabs->Count() - 1); i >= 0 && Found == -1; --i)
        if (Tabs->Items(i)->Visible()) Found = i;
      if (Found != -1) R->SetTabIndex(Found);
    }
  } else {
    R->SetTabIndex(std::min(R->TabIndex(), Tabs->Count() - 1));
  }
  R->Invalidate();
}

void TbsRibbonPage::SetCaption(const String& Value) {
  FCaption = Value;
  if (Ribbon != nullptr) Ribbon->Invalidate();
}

void TbsRibbonPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (Parent() != nullptr && Ribbon != nullptr) Ribbon->GetPageRect(ALeft, ATop, AWidth, AHeight);
  TbsRibbonCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsRibbonPage::WMSize(TMessage& Message) {
  TbsRibbonCustomPage::WMSize(Message);
  Invalidate();
}

// ---- TbsRibbon ----

TbsRibbon::TbsRibbon(TComponent* AOwner)
    : TbsSkinControl(AOwner),
      FMDIButtons(std::make_unique<TbsRibbonButtonItems>(this)),
      FButtons(std::make_unique<TbsRibbonButtonItems>(this)),
      FTabs(std::make_unique<TbsRibbonTabs>(this)) {
  TControlStyle Style = ControlStyle();
  Style.Include(csAcceptsControls);
  SetControlStyle(Style);
  SetHeight(115);
  SetAlign(alTop);
  FSkinDataName = "officetab";
  CreateAppButton();
}

TbsRibbon::~TbsRibbon() {
  *FAlive = false;
  // The engine lets go now, not once only the component is left: a frame painted while the windows
  // go must not ask a half-freed ribbon.
  if (auto* Engine = dynamic_cast<TbsSkinForm*>(BSF); Engine != nullptr && Engine->SkinRibbon() == this)
    Engine->SetSkinRibbon(nullptr);
  // The application must not call into a ribbon that is gone.
  removeAppHook();
  if (FAppMenu != nullptr) {
    FAppMenu->RemoveFreeNotification(this);
    if (FAppMenu->Ribbon == this) FAppMenu->Ribbon = nullptr;
  }
  // Pages are the form's; they must not reach back into a ribbon that is gone.
  for (Integer i = 0; i < FTabs->Count(); ++i)
    if (TbsRibbonPage* P = FTabs->Items(i)->Page()) P->Ribbon = nullptr;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* P = dynamic_cast<TbsRibbonCustomPage*>(Controls(i))) P->Ribbon = nullptr;
  FTabs.reset();
  FButtons.reset();
  FMDIButtons.reset();
}

void TbsRibbon::CreateAppButton() {
  delete FAppButton;
  FAppButton = new TbsAppButton(this);
  FAppButton->SetCanFocused(true);
  FAppButton->SetTabStop(false);
  FAppButton->Ribbon = this;
  FAppButton->SetBounds(0, 1, FAppButtonWidth, 24);
  FAppButton->SetParent(this);
  FAppButton->SetSkinDataName("officemenubutton");
  FAppButton->OnHideTrackMenu = [this](TObject*) {
    if (OnMenuClose) OnMenuClose(this);
  };
  FLeftOffset = FAppButtonWidth + 3;
}

void TbsRibbon::CreateParams(TCreateParams& Params) {
  TbsSkinControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsRibbon::Loaded() {
  TbsSkinControl::Loaded();
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    TbsRibbonPage* P = FTabs->Items(i)->Page();
    if (P == nullptr) continue;
    P->Ribbon = this;
    if (i != FTabIndex) P->Hide();
  }
  if (FAppMenu != nullptr) FAppMenu->Ribbon = this;
}

void TbsRibbon::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FAppButtonPopupMenu) {
    FAppButtonPopupMenu = nullptr;
    if (FAppButton != nullptr) FAppButton->SetSkinPopupMenu(nullptr);
  }
  if (AComponent == FAppButtonImageList) {
    FAppButtonImageList = nullptr;
    if (FAppButton != nullptr) FAppButton->SetImageList(nullptr);
  }
  if (AComponent == FButtonsImageList) FButtonsImageList = nullptr;
  if (AComponent == FSkinHint) FSkinHint = nullptr;
  if (AComponent == FAppButton) FAppButton = nullptr;
  if (AComponent == FAppMenu) {
    // A menu freed while open leaves no hook behind.
    removeAppHook();
    FAppMenu = nullptr;
  }
}

// ---- properties ----

void TbsRibbon::SetTabs(TbsRibbonTabs* Value) {
  FTabs->Assign(Value);
  Invalidate();
}

void TbsRibbon::SetButtons(TbsRibbonButtonItems* Value) {
  FButtons->Assign(Value);
  Invalidate();
}

void TbsRibbon::SetButtonsImageList(TCustomImageList* Value) {
  if (FButtonsImageList != nullptr) FButtonsImageList->RemoveFreeNotification(this);
  FButtonsImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Invalidate();
}

void TbsRibbon::SetSkinHint(TbsSkinHint* Value) {
  if (FSkinHint != nullptr) FSkinHint->RemoveFreeNotification(this);
  FSkinHint = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsRibbon::SetTabBoldStyle(bool Value) {
  if (FTabBoldStyle == Value) return;
  FTabBoldStyle = Value;
  Repaint();
}

void TbsRibbon::SetAppButtonWidth(Integer Value) {
  if (Value == FAppButtonWidth || Value < 35) return;
  FAppButtonWidth = Value;
  if (FAppButton != nullptr) FAppButton->SetWidth(Value);
  FLeftOffset = Value + 3;
  Invalidate();
}

void TbsRibbon::SetAppButtonImageList(TCustomImageList* Value) {
  if (FAppButtonImageList != nullptr) FAppButtonImageList->RemoveFreeNotification(this);
  FAppButtonImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (FAppButton != nullptr) FAppButton->SetImageList(Value);
  Invalidate();
}

void TbsRibbon::SetAppButtonImageIndex(Integer Value) {
  FAppButtonImageIndex = std::max(0, Value);
  if (FAppButton != nullptr) {
    FAppButton->SetImageIndex(FAppButtonImageIndex);
    FAppButton->Invalidate();
  }
}

void TbsRibbon::SetAppButtonPopupMenu(TbsSkinPopupMenu* Value) {
  if (FAppButtonPopupMenu != nullptr) FAppButtonPopupMenu->RemoveFreeNotification(this);
  FAppButtonPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (FAppButton != nullptr) FAppButton->SetSkinPopupMenu(Value);
}

String TbsRibbon::AppButtonCaption() const {
  return FAppButton != nullptr ? FAppButton->Caption() : String();
}
void TbsRibbon::SetAppButtonCaption(const String& Value) {
  if (FAppButton != nullptr) FAppButton->SetCaption(Value);
}
Integer TbsRibbon::AppButtonMargin() const {
  return FAppButton != nullptr ? FAppButton->Margin() : 0;
}
void TbsRibbon::SetAppButtonMargin(Integer Value) {
  if (FAppButton != nullptr) FAppButton->SetMargin(Value);
}
Integer TbsRibbon::AppButtonSpacing() const {
  return FAppButton != nullptr ? FAppButton->Spacing() : 0;
}
void TbsRibbon::SetAppButtonSpacing(Integer Value) {
  if (FAppButton != nullptr) FAppButton->SetSpacing(Value);
}

// ---- skin ----

void TbsRibbon::SetSkinData(TbsSkinData* Value) {
  TbsSkinControl::SetSkinData(Value);
  if (FAppButton != nullptr) FAppButton->SetSkinData(Value);
}

void TbsRibbon::GetSkinData() {
  TbsSkinControl::GetSkinData();
  if (FIndex == -1) {
    FData = nullptr;
    FDataPicture = nullptr;
    return;
  }
  // An element of another kind under this name gives the default look rather than a bad cast.
  FData = dynamic_cast<TbsDataSkinTabControl*>(FSD->Ctrls(FIndex));
  FDataPicture = FData != nullptr ? SkinPictureAt(FSD, FData->PictureIndex) : nullptr;
}

void TbsRibbon::ChangeSkinData() {
  TbsSkinControl::ChangeSkinData();
  if (TbsRibbonPage* P = ActivePage()) P->SetBounds(P->Left(), P->Top(), P->Width(), P->Height());
  if (FAppButton != nullptr) FAppButton->SetBounds(0, 1, FAppButton->Width(), FAppButton->Height());
  if (AppMenuShown()) placeAppMenu();
}

// ---- geometry ----

Integer TbsRibbon::GetTabsHeight() {
  GetSkinData();
  return FData != nullptr ? RectHeight(FData->TabRect) + 1 : 24;
}

void TbsRibbon::GetPageRect(Integer& ALeft, Integer& ATop, Integer& AWidth, Integer& AHeight) {
  const Integer TH = GetTabsHeight();
  if (FIndex != -1 && FData != nullptr) {
    ALeft = FData->ClRect.Left;
    ATop = TH + FData->ClRect.Top;
    AWidth = Width() + RectWidth(FData->ClRect) - RectWidth(FData->SkinRect);
    AHeight = Height() + RectHeight(FData->ClRect) - RectHeight(FData->SkinRect) - TH;
  } else {
    ALeft = 1;
    ATop = TH + 2;
    AWidth = Width() - 2;
    AHeight = Height() - TH - 5;
  }
}

void TbsRibbon::CalcItemRects(TCanvas* Cnvs) {
  const Integer TH = GetTabsHeight();
  if (FButtons->Count() > 0 && FButtonsImageList != nullptr) {
    const Integer BW = FButtonsImageList->Width() + 6;
    const Integer BH = TH - 2;
    Integer X = Width() - 2;
    for (Integer i = FButtons->Count() - 1; i >= 0; --i) {
      TbsRibbonButtonItem* B = FButtons->Items(i);
      if (!B->Visible()) continue;
      B->ItemRect = Rect(X - BW, 1, X, BH + 1);
      X -= BW;
    }
    FRightOffset = Width() - X + 2;
  } else {
    FRightOffset = 5;
  }
  if (FMDIButtons->Count() > 0) {
    Integer W = 22, H = 22;
    if (FData != nullptr) {
      W = RectWidth(FData->MDICloseRect);
      H = RectHeight(FData->MDICloseRect);
    }
    Integer X = Width() - FRightOffset;
    for (Integer i = 0; i < FMDIButtons->Count(); ++i) {
      FMDIButtons->Items(i)->ItemRect = Rect(X - W, 1, X, H + 1);
      X -= W;
    }
    FRightOffset = Width() - X + 2;
  }
  const Integer Available = Width() - FLeftOffset - FRightOffset;
  Integer Sum = 0;
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    TbsRibbonTab* T = FTabs->Items(i);
    if (!T->Visible()) continue;
    TRect R = Rect(0, 0, 0, 0);
    const String Caption = T->Page() != nullptr ? T->Page()->Caption() : String();
    DrawText(Cnvs->Handle(), Caption, &R, DT_CALCRECT | DT_SINGLELINE);
    T->Width = RectWidth(R) + 30;
    Sum += T->Width;
  }
  FShowDivider = Sum > Available;
  if (FShowDivider)
    for (Integer i = 0; i < FTabs->Count(); ++i) {
      TbsRibbonTab* T = FTabs->Items(i);
      if (!T->Visible()) continue;
      const Double Q = Double(T->Width) / Sum;
      T->Width = std::max(15, Integer(Available * Q));
    }
  const Integer TabBottom = 1 + (FData != nullptr ? RectHeight(FData->TabRect) : 24);
  Integer X = FLeftOffset;
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    TbsRibbonTab* T = FTabs->Items(i);
    if (!T->Visible()) continue;
    T->ItemRect = Rect(X, 1, X + T->Width, TabBottom);
    X += T->Width;
  }
}

// ---- selection ----

bool TbsRibbon::anyTabVisible() const {
  for (Integer i = 0; i < FTabs->Count(); ++i)
    if (FTabs->Items(i)->Visible()) return true;
  return false;
}

Integer TbsRibbon::nextVisibleTab(Integer From, Integer Step) const {
  for (Integer i = From; i >= 0 && i < FTabs->Count(); i += Step)
    if (FTabs->Items(i)->Visible()) return i;
  return -1;
}

void TbsRibbon::SetTabIndex(Integer Value) {
  if ((FTabs->Count() == 0 || !anyTabVisible()) && !FStopCheckTabIndex) {
    FTabIndex = -1;
    Invalidate();
    return;
  }
  if (Value < 0 || Value > FTabs->Count() - 1) return;
  TbsRibbonTab* Tab = FTabs->Items(Value);
  Tab->FVisible = true;
  if (Value != FTabIndex) {
    if (OnChangingPage) OnChangingPage(this);
    const Integer Old = FTabIndex;
    FTabIndex = Value;
    if (TbsRibbonPage* P = Tab->Page()) {
      P->SetParent(this);
      P->Show();
      P->BringToFront();
    }
    if (Old >= 0 && Old < FTabs->Count())
      if (TbsRibbonPage* P = FTabs->Items(Old)->Page()) P->Hide();
    if (OnChangePage) OnChangePage(this);
  } else if (Tab->Page() != nullptr && !Tab->Page()->Visible()) {
    Tab->Page()->Show();
  }
  Invalidate();
}

TbsRibbonPage* TbsRibbon::ActivePage() const {
  if (FTabIndex < 0 || FTabIndex > FTabs->Count() - 1) return nullptr;
  return FTabs->Items(FTabIndex)->Page();
}

void TbsRibbon::SetActivePage(TbsRibbonPage* Value) {
  if (Value == nullptr || !anyTabVisible()) return;
  for (Integer i = 0; i < FTabs->Count(); ++i)
    if (FTabs->Items(i)->Page() == Value) {
      FTabs->Items(i)->FVisible = true;
      SetTabIndex(i);
      return;
    }
}

// ---- MDI buttons ----

void TbsRibbon::mdiCommand(Integer Code) {
  TbsSkinForm* Main = nullptr;
  if (Application != nullptr && Application->MainForm() != nullptr)
    Main = GetSkinFormOf(Application->MainForm());
  if (Main == nullptr) Main = dynamic_cast<TbsSkinForm*>(BSF);
  TForm* Child = Main != nullptr ? Main->GetMaximizedMDIChild() : nullptr;
  TbsSkinForm* ChildEngine = Child != nullptr ? GetSkinFormOf(Child) : nullptr;
  if (ChildEngine == nullptr) return;
  if (Code == 1)
    Child->Close();
  else
    ChildEngine->SetWindowState(Code == 2 ? wsNormal : wsMinimized);
}

void TbsRibbon::MDIChildMaximize() {
  if (FMDIButtons->Count() != 0) return;
  for (Integer Code = 1; Code <= 3; ++Code) {
    TbsRibbonButtonItem* B = FMDIButtons->Add();
    B->Code = Code;
    B->OnClick = [this, Code](TObject*) { mdiCommand(Code); };
  }
  Invalidate();
}

void TbsRibbon::MDIChildRestore() {
  if (FMDIButtons->Count() == 0) return;
  TbsSkinForm* Main = nullptr;
  if (Application != nullptr && Application->MainForm() != nullptr)
    Main = GetSkinFormOf(Application->MainForm());
  if (Main == nullptr) Main = dynamic_cast<TbsSkinForm*>(BSF);
  if (Main != nullptr && Main->GetMaximizedMDIChild() != nullptr) return;
  FMDIButtons->Clear();
  FMDIActiveButton = FMDIOldActiveButton = FMouseCaptureMDIButton = -1;
  Invalidate();
}

// ---- the form engine's link ----

IbsFormAppMenu* TbsRibbon::FormAppMenu() const {
  return FAppMenu;
}

TMenu* TbsRibbon::AppButtonShortCutMenu() const {
  return FAppButtonPopupMenu;
}

bool TbsRibbon::SelectTabByAccel(Word Key) {
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    TbsRibbonPage* P = FTabs->Items(i)->Page();
    if (P != nullptr && IsAccel(Key, P->Caption())) {
      SetActivePage(P);
      return true;
    }
  }
  return false;
}

void TbsRibbon::FocusRibbon() {
  if (CanFocus()) SetFocus();
}

// ---- input ----

void TbsRibbon::selectNeighbour(Integer Step, bool FocusAppButtonAtStart) {
  if (FTabIndex < 0) return;
  if (Step < 0 && FTabIndex == 0 && FocusAppButtonAtStart) {
    if (FAppButton != nullptr && FAppButton->CanFocus()) FAppButton->SetFocus();
    return;
  }
  const Integer I = nextVisibleTab(FTabIndex + Step, Step);
  if (I != -1) SetTabIndex(I);
}

void TbsRibbon::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_NEXT: {
      const Integer I = nextVisibleTab(FTabs->Count() - 1, -1);
      if (I != -1) SetTabIndex(I);
      break;
    }
    case VK_PRIOR: {
      const Integer I = nextVisibleTab(0, 1);
      if (I != -1) SetTabIndex(I);
      break;
    }
    case VK_LEFT:
    case VK_UP:
      selectNeighbour(-1, true);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      selectNeighbour(1, false);
      break;
    default:
      break;
  }
}

void TbsRibbon::UpdateActiveItems(Integer X, Integer Y) {
  if (FTabs->Count() == 0) return;
  const TPoint P{X, Y};
  FTabActive = -1;
  for (Integer i = 0; i < FTabs->Count() && FTabActive == -1; ++i) {
    TbsRibbonTab* T = FTabs->Items(i);
    if (T->Visible() && PtInRect(&T->ItemRect, P)) FTabActive = i;
  }
  if (FTabActive != FOldTabActive) {
    if (FOldTabActive >= 0 && FOldTabActive < FTabs->Count()) FTabs->Items(FOldTabActive)->Active = false;
    if (FTabActive != -1) FTabs->Items(FTabActive)->Active = true;
    FOldTabActive = FTabActive;
    Repaint();
  }
  if (FMDIButtons->Count() > 0) {
    FMDIActiveButton = -1;
    bool Changed = false;
    for (Integer i = 0; i < FMDIButtons->Count(); ++i) {
      TbsRibbonButtonItem* B = FMDIButtons->Items(i);
      const bool In = FMDIActiveButton == -1 && PtInRect(&B->ItemRect, P);
      if (In) FMDIActiveButton = i;
      if (B->Active != In) {
        B->Active = In;
        Changed = true;
      }
    }
    if (Changed || FMDIActiveButton != FMDIOldActiveButton) {
      FMDIOldActiveButton = FMDIActiveButton;
      Repaint();
    }
  }
  if (FButtons->Count() > 0) {
    FActiveButton = -1;
    bool Changed = false;
    for (Integer i = 0; i < FButtons->Count(); ++i) {
      TbsRibbonButtonItem* B = FButtons->Items(i);
      const bool In = FActiveButton == -1 && B->Enabled() && B->Visible() && PtInRect(&B->ItemRect, P);
      if (In) FActiveButton = i;
      if (B->Active != In) {
        B->Active = In;
        Changed = true;
      }
    }
    const bool HoverChanged = FActiveButton != FOldActiveButton;
    if (Changed || HoverChanged) {
      FOldActiveButton = FActiveButton;
      Repaint();
    }
    if (HoverChanged && FActiveButton != -1 && FSkinHint != nullptr && FButtonsShowHint &&
        !FButtons->Items(FActiveButton)->Hint().empty())
      FSkinHint->ActivateHint2(FButtons->Items(FActiveButton)->Hint());
    if ((Changed || HoverChanged) && FButtonsShowHint && FActiveButton == -1 && FSkinHint != nullptr)
      FSkinHint->HideHint();
  }
}

void TbsRibbon::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseDown(Button, Shift, X, Y);
  FMouseCaptureButton = FMouseCaptureMDIButton = -1;
  if (Button != mbLeft) return;
  UpdateActiveItems(X, Y);
  if (FTabActive != -1) {
    if (AppMenuShown()) {
      auto Alive = FAlive;
      HideAppMenu(nullptr);
      if (!*Alive) return;
    }
    if (FTabActive != FTabIndex) SetTabIndex(FTabActive);
    if (!Focused() && CanFocus()) SetFocus();
  }
  if (FMDIActiveButton != -1 && FMDIActiveButton < FMDIButtons->Count()) {
    for (Integer i = 0; i < FMDIButtons->Count(); ++i) {
      TbsRibbonButtonItem* B = FMDIButtons->Items(i);
      if (i == FMDIActiveButton) {
        B->Down = true;
      } else {
        B->Down = false;
        B->Active = false;
      }
    }
    FMouseCaptureMDIButton = FMDIActiveButton;
    Repaint();
  }
  if (FActiveButton != -1 && FActiveButton < FButtons->Count()) {
    TbsRibbonButtonItem* Pressed = FButtons->Items(FActiveButton);
    Pressed->Down = true;
    FMouseCaptureButton = FActiveButton;
    for (Integer i = 0; i < FButtons->Count(); ++i)
      if (i != FActiveButton) {
        FButtons->Items(i)->Down = false;
        FButtons->Items(i)->Active = false;
      }
    Repaint();
    if (Pressed->PopupMenu() != nullptr) {
      FPopupButton = FActiveButton;
      TRect R = Pressed->ItemRect;
      const TPoint TL = ClientToScreen({R.Left, R.Top});
      const TPoint BR = ClientToScreen({R.Right, R.Bottom + 1});
      Pressed->PopupMenu()->PopupFromRect2(this, Rect(TL.X, TL.Y, BR.X, BR.Y), false);
    }
  }
  if (FButtonsShowHint && FSkinHint != nullptr) FSkinHint->HideHint();
}

void TbsRibbon::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseMove(Shift, X, Y);
  UpdateActiveItems(X, Y);
}

void TbsRibbon::releaseCapturedButton(TbsRibbonButtonItems* Items, Integer Capture) {
  if (Capture < 0 || Capture >= Items->Count()) return;
  Items->Items(Capture)->Down = false;
  Items->Items(Capture)->Active = false;
  Repaint();
}

void TbsRibbon::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  UpdateActiveItems(X, Y);
  if (FMDIActiveButton != -1 && FMDIActiveButton < FMDIButtons->Count()) {
    TbsRibbonButtonItem* B = FMDIButtons->Items(FMDIActiveButton);
    const bool WasDown = B->Down;
    for (Integer i = 0; i < FMDIButtons->Count(); ++i) FMDIButtons->Items(i)->Down = false;
    Repaint();
    // The handler may close the child, which clears the buttons: hold the event, not the item.
    TNotifyEvent Click = B->OnClick;
    if (WasDown && Click) Click(this);
  } else {
    releaseCapturedButton(FMDIButtons.get(), FMouseCaptureMDIButton);
  }
  if (FActiveButton == -1 || FActiveButton >= FButtons->Count()) {
    releaseCapturedButton(FButtons.get(), FMouseCaptureButton);
  } else {
    TbsRibbonButtonItem* B = FButtons->Items(FActiveButton);
    const bool WasDown = B->Down;
    for (Integer i = 0; i < FButtons->Count(); ++i)
      if (i != FPopupButton) FButtons->Items(i)->Down = false;
    Repaint();
    TNotifyEvent Click = B->OnClick;
    if (WasDown && Click) Click(this);
  }
  FMouseCaptureButton = FMouseCaptureMDIButton = -1;
}

void TbsRibbon::CMMouseLeave(TMessage& Message) {
  TbsSkinControl::CMMouseLeave(Message);
  UpdateActiveItems(-1, -1);
}

void TbsRibbon::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_MOUSEWHEEL:
      TbsSkinControl::Dispatch(Message);
      if (Focused()) selectNeighbour(GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0 ? 1 : -1, false);
      return;
    case WM_CLOSESKINMENU:
      if (FPopupButton >= 0 && FPopupButton < FButtons->Count()) {
        FButtons->Items(FPopupButton)->Down = false;
        FPopupButton = -1;
        Repaint();
      }
      return;
    case CM_DESIGNHITTEST:
      // A left click over a tab in the designer selects it; there is no form designer to tell.
      if (designing() && Message.WParam == MK_LBUTTON) {
        const TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        for (Integer i = 0; i < FTabs->Count(); ++i)
          if (FTabs->Items(i)->Visible() && PtInRect(&FTabs->Items(i)->ItemRect, P)) {
            SetTabIndex(i);
            break;
          }
      }
      TbsSkinControl::Dispatch(Message);
      return;
    case WM_MDICHILDMAXIMIZE:
      MDIChildMaximize();
      return;
    case WM_MDICHILDRESTORE:
      MDIChildRestore();
      return;
    default:
      TbsSkinControl::Dispatch(Message);
  }
}

void TbsRibbon::WMSize(TMessage& Message) {
  TbsSkinControl::WMSize(Message);
  Invalidate();
}

void TbsRibbon::WMSetFocus(TMessage& Message) {
  TbsSkinControl::WMSetFocus(Message);
  Invalidate();
}

void TbsRibbon::WMKillFocus(TMessage& Message) {
  TbsSkinControl::WMKillFocus(Message);
  Invalidate();
}
