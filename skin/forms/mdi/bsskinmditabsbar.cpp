// The MDI tabs bar: its tabs and their order, the skin it copies, layout, hover, the mouse (activate,
// close, drag, the child's menu, the add button) and the two list menus. Drawing is in
// bsskinmditabsbar_paint.cpp.
#include "skin/forms/mdi/bsskinmditabsbar.h"

#include <algorithm>

#include "platform/ui/core/application.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbars.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/menus/bsskinmenu.h"

namespace {

constexpr const char* ListItemMarker = "_BSFCHILDITEMBAR";
constexpr const char* HideListItemMarker = "_BSFCHILDITEMBARHIDE";
constexpr Integer ListButtonWidth = 15;
constexpr Integer AddButtonRoom = 19;

// The name with the first occurrence of Marker taken out.
String withoutMarker(const String& Name, const String& Marker) {
  const size_t P = Name.find(Marker);
  if (P == String::npos) return Name;
  return Name.substr(0, P) + Name.substr(P + Marker.size());
}

bool inRect(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TbsMDITab

TbsMDITab::TbsMDITab(TbsSkinMDITabsBar* AParentBar, TCustomForm* AChild)
    : TabsBar(AParentBar), Child(AChild) {}

// ---------------------------------------------------------------------------------------------
// TbsSkinMDITabsBar: creation and properties

TbsSkinMDITabsBar::TbsSkinMDITabsBar(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FWidth = 150;
  FHeight = 21;
  FSkinDataName = "tab";
  FDefaultFont->SetName("Tahoma");
  FDefaultFont->SetHeight(13);
  FDefaultFont->SetStyle({});
  FDefaultFont->OnChange = [this](TObject*) {
    if (!skinned() || !FUseSkinFont) Invalidate();
  };
  FListMenu = new TbsSkinPopupMenu(this);
  FHideListMenu = new TbsSkinPopupMenu(this);
}

TbsSkinMDITabsBar::~TbsSkinMDITabsBar() {
  FDefaultFont->OnChange = nullptr;
  ClearTabs();
  if (BSF != nullptr) BSF->RemoveFreeNotification(this);
  BSF = nullptr;
}

void TbsSkinMDITabsBar::SetShowChildIcon(bool Value) {
  if (FShowChildIcon == Value) return;
  FShowChildIcon = Value;
  Repaint();
}

void TbsSkinMDITabsBar::SetShowAddButton(bool Value) {
  if (FShowAddButton == Value) return;
  FShowAddButton = Value;
  Repaint();
}

void TbsSkinMDITabsBar::SetTabKind(TbsSkinMDITabKind Value) {
  FTabKind = Value;
  GetSkinData();
  if (skinned()) Repaint();
}

void TbsSkinMDITabsBar::SetSkinForm(TbsSkinForm* Value) {
  if (BSF == Value) return;
  if (BSF != nullptr) BSF->RemoveFreeNotification(this);
  BSF = Value;
  if (BSF != nullptr) BSF->FreeNotification(this);
}

void TbsSkinMDITabsBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  GetSkinData();
  if (!skinned() && Value > 0) SetHeight(Value);
}

void TbsSkinMDITabsBar::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
}

void TbsSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == BSF) BSF = nullptr;
  if (AComponent == FListButton) FListButton = nullptr;
  if (AComponent == FHideListButton) FHideListButton = nullptr;
  if (AComponent == FListMenu) FListMenu = nullptr;
  if (AComponent == FHideListMenu) FHideListMenu = nullptr;
  // A child freed while its tab is shown (an MDI child is destroyed without being hidden first):
  // its tabs go with it rather than keep a dangling child. By then only its component part is left,
  // so it is known by address alone.
  removeTabsOf(AComponent, false);
}

// ---------------------------------------------------------------------------------------------
// Tabs

void TbsSkinMDITabsBar::AddTab(TCustomForm* Child) {
  if (Child == nullptr) return;
  ObjectList.push_back(std::make_unique<TbsMDITab>(this, Child));
  Child->FreeNotification(this);
  if (FListButton == nullptr) CreateListButton();
  Repaint();
}

void TbsSkinMDITabsBar::DeleteTab(TCustomForm* Child) {
  removeTabsOf(Child, true);
}

void TbsSkinMDITabsBar::removeTabsOf(TComponent* Child, bool FirstOnly) {
  const bool Going = Child->ComponentState().Contains(csDestroying);
  bool Removed = false;
  for (size_t i = 0; i < ObjectList.size();) {
    if (static_cast<TComponent*>(ObjectList[i]->Child) != Child) {
      ++i;
      continue;
    }
    const Integer Hovered = validIndex(ActiveTabIndex);
    if (Hovered == Integer(i)) {
      if (OnTabMouseLeave && !Going) OnTabMouseLeave(ObjectList[i].get());
      ActiveTabIndex = OldTabIndex = -1;
    }
    // The hover indexes keep naming the same tabs.
    if (ActiveTabIndex > Integer(i)) --ActiveTabIndex;
    if (OldTabIndex > Integer(i)) --OldTabIndex;
    // The drag and hover indexes follow the tabs after the one that goes.
    if (DragIndex == Integer(i)) {
      DragIndex = -1;
      IsDrag = false;
      FDown = false;
    } else if (DragIndex > Integer(i)) {
      --DragIndex;
    }
    ObjectList.erase(ObjectList.begin() + std::ptrdiff_t(i));
    Removed = true;
    if (FirstOnly) break;
  }
  if (!Removed) return;
  if (std::none_of(ObjectList.begin(), ObjectList.end(),
                   [&](auto& T) { return static_cast<TComponent*>(T->Child) == Child; }))
    Child->RemoveFreeNotification(this);
  if (ObjectList.empty()) RemoveListButton();
  if (!ComponentState().Contains(csDestroying)) Repaint();
}

void TbsSkinMDITabsBar::ClearTabs() {
  for (auto& T : ObjectList) T->Child->RemoveFreeNotification(this);
  ObjectList.clear();
  ActiveTabIndex = OldTabIndex = DragIndex = -1;
  IsDrag = FDown = false;
}

Integer TbsSkinMDITabsBar::validIndex(Integer Index) const {
  return Index >= 0 && Index < TabCount() ? Index : -1;
}

Integer TbsSkinMDITabsBar::GetTabIndex(Integer X, Integer Y) const {
  for (Integer i = 0; i < TabCount(); ++i) {
    const TbsMDITab* T = Tabs(i);
    if (T->Visible && PointInsideRect(T->ObjectRect, Point(X, Y))) return i;
  }
  return -1;
}

TbsMDITab* TbsSkinMDITabsBar::GetTab(Integer X, Integer Y) const {
  const Integer I = GetTabIndex(X, Y);
  return I == -1 ? nullptr : Tabs(I);
}

Integer TbsSkinMDITabsBar::GetCloseSize() const {
  if (!skinned() || IsEmptyRect(CloseButtonRect)) return 14;
  return RectWidth(CloseButtonRect);
}

void TbsSkinMDITabsBar::UpdateActiveTab() {
  TCustomForm* Main = Application != nullptr ? Application->MainForm() : nullptr;
  TCustomForm* A = Main != nullptr ? Main->ActiveMDIChild() : nullptr;
  if (A == nullptr) return;
  for (auto& T : ObjectList) T->Active = T->Child == A;
  Repaint();
}

// ---------------------------------------------------------------------------------------------
// The skin

void TbsSkinMDITabsBar::GetSkinData() {
  TbsSkinControl::GetSkinData();
  auto* R = FIndex == -1 ? nullptr : dynamic_cast<TbsDataSkinTabControl*>(FSD->Ctrls(FIndex));
  if (R == nullptr) {
    // An element of another kind cannot draw tabs: the default look.
    FIndex = -1;
    Picture = nullptr;
    FBottomOffset = FActiveTabOffset = 0;
    return;
  }
  Picture = SkinPictureAt(FSD, R->PictureIndex);
  TabRect = R->TabRect;
  ActiveTabRect = IsEmptyRect(R->ActiveTabRect) ? R->TabRect : R->ActiveTabRect;
  MouseInTabRect = IsEmptyRect(R->MouseInTabRect) ? R->TabRect : R->MouseInTabRect;
  TabsBGRect = R->TabsBGRect;
  TabLeftOffset = R->TabLeftOffset;
  TabRightOffset = R->TabRightOffset;
  FontName = R->FontName;
  FontStyle = R->FontStyle;
  FontHeight = R->FontHeight;
  FontColor = R->FontColor;
  ActiveFontColor = R->FocusFontColor;
  MouseInFontColor = R->MouseInFontColor;
  UpDown = R->UpDown;
  TabStretchEffect = R->TabStretchEffect;
  CloseButtonRect = R->CloseButtonRect;
  ClosebuttonActiveRect =
      IsEmptyRect(R->CloseButtonActiveRect) ? R->CloseButtonRect : R->CloseButtonActiveRect;
  CloseButtonDownRect = IsEmptyRect(R->CloseButtonDownRect) ? ClosebuttonActiveRect : R->CloseButtonDownRect;
  ButtonTransparent = R->ButtonTransparent;
  ButtonTransparentColor = R->ButtonTransparentColor;
  LTPoint = R->LTPoint;
  RTPoint = R->RTPoint;
  LBPoint = R->LBPoint;
  RBPoint = R->RBPoint;
  SkinRect = R->SkinRect;
  ClRect = R->ClRect;
  LeftStretch = R->LeftStretch;
  TopStretch = R->TopStretch;
  RightStretch = R->RightStretch;
  BottomStretch = R->BottomStretch;
  StretchEffect = R->StretchEffect;
  StretchType = R->StretchType;
  FBottomOffset = ClRect.Top;
  FActiveTabOffset = RectHeight(ActiveTabRect) - RectHeight(TabRect);
}

void TbsSkinMDITabsBar::ChangeSkinData() {
  TbsSkinControl::ChangeSkinData();
  FCloseSize = GetCloseSize();
  if (skinned() && FUseSkinSize)
    SetHeight(RectHeight(TabRect) + (FTabKind == bstkTab ? FBottomOffset : 0));
  else if (FDefaultHeight > 0)
    SetHeight(FDefaultHeight);
  if (FListButton != nullptr) FListButton->SetSkinData(FSD);
  if (FHideListButton != nullptr) FHideListButton->SetSkinData(FSD);
  if (FShowCloseButtons) Repaint();
  Realign();
}

void TbsSkinMDITabsBar::AdjustClientRect(TRect& Rect) {
  TbsSkinControl::AdjustClientRect(Rect);
  if (FTabKind == bstkTab && skinned()) Rect.Bottom -= FBottomOffset;
}

bool TbsSkinMDITabsBar::transparentSkin() const {
  return skinned() && FSD != nullptr && FSD->MDITabsTransparent;
}

void TbsSkinMDITabsBar::CheckParentBackground() {
  if (transparentSkin()) Repaint();
}

void TbsSkinMDITabsBar::Dispatch(TMessage& Message) {
  TbsSkinControl::Dispatch(Message);
  if (Message.Msg == WM_MOVE && Align() == alNone) CheckParentBackground();
}

// ---------------------------------------------------------------------------------------------
// Layout

void TbsSkinMDITabsBar::LayoutTabs() {
  const Integer W = Width() - (FShowAddButton ? AddButtonRoom : 0);
  const Integer H = FTabKind == bstkButton ? Height() : Height() - FBottomOffset;
  const Integer Mid = Height() / 2;
  FInVisibleCount = 0;
  const Integer n = TabCount();
  if (n == 0) {
    FAddButtonRect = Rect(2, Mid - 8, 16, Mid + 6);
    return;
  }
  const Integer w = std::min((W - ListButtonWidth) / n, FDefaultTabWidth);
  Integer LastRight = ListButtonWidth;
  if (w < FMinTabWidth && FMinTabWidth != 0) {
    const Integer k = (W - 2 * ListButtonWidth) / FMinTabWidth;
    for (Integer i = 0; i < n; ++i) {
      TbsMDITab* T = Tabs(i);
      T->Visible = i < k;
      if (T->Visible) {
        T->ObjectRect =
            Rect(ListButtonWidth + i * FMinTabWidth, 0, ListButtonWidth + (i + 1) * FMinTabWidth, H);
        LastRight = T->ObjectRect.Right;
      } else {
        T->ObjectRect = TRect{};
        ++FInVisibleCount;
      }
    }
    FDragLimit = W - ListButtonWidth;
  } else {
    const Integer Step = std::max<Integer>(w, 0);
    for (Integer i = 0; i < n; ++i) {
      TbsMDITab* T = Tabs(i);
      T->Visible = true;
      T->ObjectRect = Rect(ListButtonWidth + i * Step, 0, ListButtonWidth + (i + 1) * Step, H);
    }
    if (w < FDefaultTabWidth) Tabs(n - 1)->ObjectRect.Right = std::max(W, Tabs(n - 1)->ObjectRect.Left);
    LastRight = Tabs(n - 1)->ObjectRect.Right;
    FDragLimit = W;
  }
  FAddButtonRect = Rect(LastRight + 2, Mid - 8, LastRight + 16, Mid + 6);
  const Integer D = validIndex(DragIndex);
  if (IsDrag && D != -1) {
    TRect& R = Tabs(D)->ObjectRect;
    const Integer RW = RectWidth(R);
    Integer L = R.Left + TabDX;
    L = std::min(L, FDragLimit - RW);
    L = std::max<Integer>(L, 0);
    R = Rect(L, R.Top, L + RW, R.Bottom);
  }
}

Integer TbsSkinMDITabsBar::GetDropIndex() const {
  const Integer D = validIndex(DragIndex);
  if (ObjectList.empty() || TabDX == 0 || D == -1) return -1;
  const TRect Dragged = Tabs(D)->ObjectRect;
  Integer Result = -1;
  if (TabDX > 0) {
    for (Integer i = D + 1; i < TabCount(); ++i) {
      const TbsMDITab* T = Tabs(i);
      if (T->Visible && T->ObjectRect.Left + RectWidth(T->ObjectRect) / 2 < Dragged.Right) Result = i;
    }
  } else {
    for (Integer i = D - 1; i >= 0; --i) {
      const TbsMDITab* T = Tabs(i);
      if (T->Visible && T->ObjectRect.Left + RectWidth(T->ObjectRect) / 2 > Dragged.Left) Result = i;
    }
  }
  return Result;
}

TRect TbsSkinMDITabsBar::closeRectOf(const TbsMDITab* Tab) const {
  TRect R = Tab->ButtonRect;
  OffsetRect(&R, Tab->ObjectRect.Left, Tab->ObjectRect.Top);
  return R;
}

// ---------------------------------------------------------------------------------------------
// Hover and mouse

void TbsSkinMDITabsBar::RedrawTab(TbsMDITab* Tab) {
  if (!HandleAllocated() || !Tab->Visible) return;
  Tab->Draw(Canvas());
  flushCanvas();
}

// A drawing outside painting shows on the screen once the canvas gives its DC back.
void TbsSkinMDITabsBar::flushCanvas() {
  if (auto* C = dynamic_cast<TControlCanvas*>(Canvas()); C != nullptr && !FromWMPaint) C->FreeHandle();
}

void TbsSkinMDITabsBar::UpdateHover(Integer X, Integer Y) {
  OldTabIndex = validIndex(OldTabIndex);
  ActiveTabIndex = GetTabIndex(X, Y);
  const bool Changed = ActiveTabIndex != OldTabIndex;
  if (Changed) {
    if (OldTabIndex != -1 && Tabs(OldTabIndex)->Visible) {
      TbsMDITab* T = Tabs(OldTabIndex);
      T->MouseIn = false;
      RedrawTab(T);
      if (OnTabMouseLeave) OnTabMouseLeave(T);
    }
    if (ActiveTabIndex != -1) {
      TbsMDITab* T = Tabs(ActiveTabIndex);
      T->MouseIn = true;
      RedrawTab(T);
      if (OnTabMouseEnter) OnTabMouseEnter(T);
    }
    OldTabIndex = ActiveTabIndex;
  }
  if (FShowCloseButtons && validIndex(ActiveTabIndex) != -1) {
    TbsMDITab* T = Tabs(ActiveTabIndex);
    const bool In = inRect(closeRectOf(T), X, Y);
    if (In && !T->ButtonMouseIn) {
      T->ButtonMouseIn = true;
      RedrawTab(T);
    } else if (!In && T->ButtonMouseIn) {
      T->ButtonMouseIn = T->ButtonMouseDown = false;
      RedrawTab(T);
    }
  }
  if (FShowCloseButtons && Changed) {
    bool Any = false;
    for (Integer i = 0; i < TabCount(); ++i) {
      TbsMDITab* T = Tabs(i);
      if (i == ActiveTabIndex || !T->ButtonMouseIn) continue;
      T->ButtonMouseIn = T->ButtonMouseDown = false;
      Any = true;
    }
    if (Any) Repaint();
  }
  if (FShowAddButton) {
    const bool In = !IsEmptyRect(FAddButtonRect) && inRect(FAddButtonRect, X, Y);
    if (In != FAddButtonActive) {
      FAddButtonActive = In;
      Repaint();
    }
  }
}

void TbsSkinMDITabsBar::CMMouseLeave(TMessage& Message) {
  TbsSkinControl::CMMouseLeave(Message);
  UpdateHover(-1, -1);
}

void TbsSkinMDITabsBar::ShowChild(TCustomForm* Child) {
  if (TbsSkinForm* S = GetSkinFormOf(Child); S != nullptr && S->WindowState() == wsMinimized)
    S->SetWindowState(wsNormal);
  Child->Show();
}

void TbsSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseDown(Button, Shift, X, Y);
  const Integer Index = GetTabIndex(X, Y);
  if (Button == mbLeft && Index != -1) {
    TCustomForm* Child = Tabs(Index)->Child;
    ShowChild(Child);
    FDown = true;
    if (FMoveTabs) DragIndex = Index;
    DX = X;
    TabDX = 0;
    if (Shift.Contains(ssDouble) && FDblClickChildMove) {
      TbsSkinForm* S = GetSkinFormOf(Child);
      if (S != nullptr && S->WindowState() == wsNormal)
        Child->SetBounds(0, 0, Child->Width(), Child->Height());
    }
    // Showing the child may have changed the tabs; the tab is looked up again.
    const Integer I = validIndex(Index) != -1 && Tabs(Index)->Child == Child ? Index : -1;
    if (I != -1 && OnTabMouseDown) OnTabMouseDown(Button, Shift, Tabs(I));
    if (I != -1 && FShowCloseButtons) {
      TbsMDITab* T = Tabs(I);
      if (inRect(closeRectOf(T), X, Y)) {
        FDown = false;
        T->ButtonMouseIn = T->ButtonMouseDown = true;
      } else {
        T->ButtonMouseIn = T->ButtonMouseDown = false;
      }
      RedrawTab(T);
    }
  } else if (Button == mbRight && Index != -1) {
    TbsMDITab* T = Tabs(Index);
    TbsSkinForm* S = GetSkinFormOf(T->Child);
    TMenuItem* Items = S != nullptr ? S->GetSystemMenuItems() : nullptr;
    if (FSupportChildMenus && Items != nullptr && BSF != nullptr) {
      TPoint P;
      GetCursorPos(&P);
      BSF->SkinMenuOpen();
      TbsSkinData* SD = BSF->MenusSkinData() != nullptr ? BSF->MenusSkinData() : BSF->SkinData();
      BSF->SkinMenu()->Popup(this, SD, 0, Rect(P.X, P.Y, P.X, P.Y), Items, false);
    }
    if (validIndex(Index) != -1 && OnTabMouseDown) OnTabMouseDown(Button, Shift, Tabs(Index));
  }
  if (Button == mbLeft && FShowAddButton && FAddButtonActive) {
    FAddButtonDown = true;
    Repaint();
  }
}

void TbsSkinMDITabsBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseMove(Shift, X, Y);
  if (FDown && validIndex(DragIndex) != -1 && X != DX) IsDrag = true;
  if (IsDrag) {
    TabDX = X - DX;
    LayoutTabs();
    Repaint();
  } else {
    UpdateHover(X, Y);
  }
}

void TbsSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseUp(Button, Shift, X, Y);
  FDown = false;
  if (IsDrag) {
    LayoutTabs();
    const Integer Drop = GetDropIndex();
    IsDrag = false;
    const Integer From = validIndex(DragIndex);
    if (Drop != -1 && From != -1 && Drop != From) {
      auto Moving = std::move(ObjectList[size_t(From)]);
      ObjectList.erase(ObjectList.begin() + From);
      ObjectList.insert(ObjectList.begin() + Drop, std::move(Moving));
    }
    DragIndex = -1;
    DX = TabDX = 0;
    ActiveTabIndex = OldTabIndex = -1;
    // The tabs are back in their places before the close button below is hit-tested.
    LayoutTabs();
    Repaint();
  } else {
    DragIndex = -1;
    if (TbsMDITab* T = GetTab(X, Y); T != nullptr && OnTabMouseUp) OnTabMouseUp(Button, Shift, T);
  }
  if (FShowAddButton) {
    const bool Click = FAddButtonDown && inRect(FAddButtonRect, X, Y);
    FAddButtonDown = false;
    if (Click) {
      Repaint();
      if (OnAddButtonClick) OnAddButtonClick(this);
    }
  }
  if (FShowCloseButtons && Button == mbLeft) {
    if (TbsMDITab* T = GetTab(X, Y); T != nullptr) {
      if (inRect(closeRectOf(T), X, Y)) {
        T->ButtonMouseIn = true;
        T->ButtonMouseDown = false;
        RedrawTab(T);
        CloseTab(T);
      } else {
        T->ButtonMouseIn = T->ButtonMouseDown = false;
      }
    }
  }
}

void TbsSkinMDITabsBar::CloseTab(TbsMDITab* Tab) {
  // Closing may hide or free the child, which takes the tab with it: nothing of the tab after.
  Tab->Child->Close();
}

// ---------------------------------------------------------------------------------------------
// The list buttons and their menus

TbsSkinMenuSpeedButton* TbsSkinMDITabsBar::newListButton(TAlign Align, TbsSkinPopupMenu* Menu,
                                                         Integer ArrowType) {
  auto* B = new TbsSkinMenuSpeedButton(this);
  B->SetSkinDataName("resizetoolbutton");
  B->SetSkinData(FSD);
  B->SetWidth(ListButtonWidth);
  B->SetAlign(Align);
  B->SetSkinPopupMenu(Menu);
  B->FDrawStandardArrow = true;
  B->FArrowType = ArrowType;
  B->SetParent(this);
  return B;
}

void TbsSkinMDITabsBar::CreateListButton() {
  if (FListButton != nullptr || designing()) return;
  FListButton = newListButton(alLeft, FListMenu, 4);
  FListButton->OnShowTrackMenu = [this](TObject*) { FillListMenu(); };
}

void TbsSkinMDITabsBar::RemoveListButton() {
  delete FListButton;
  FListButton = nullptr;
}

void TbsSkinMDITabsBar::CreateHideListButton() {
  if (FHideListButton != nullptr || designing()) return;
  FHideListButton = newListButton(alRight, FHideListMenu, 2);
  FHideListButton->OnShowTrackMenu = [this](TObject*) { FillHideListMenu(); };
  FHideListButton->Repaint();
}

void TbsSkinMDITabsBar::RemoveHideListButton() {
  delete FHideListButton;
  FHideListButton = nullptr;
}

void TbsSkinMDITabsBar::fillMenu(TbsSkinPopupMenu* Menu, const String& Marker, bool HiddenOnly,
                                 bool CheckActive) {
  if (Menu == nullptr) return;
  Menu->Items()->Clear();
  for (auto& T : ObjectList) {
    if (HiddenOnly && T->Visible) continue;
    // Not owned by a component: children of equal names must not clash as component names.
    auto* Item = new TMenuItem(nullptr);
    Item->SetName(T->Child->Name() + Marker);
    Item->SetCaption(T->Child->Caption());
    if (CheckActive) {
      Item->SetRadioItem(true);
      Item->SetGroupIndex(0);
      Item->SetChecked(T->Active);
    }
    Item->OnClick = [this, HiddenOnly](TObject* Sender) {
      if (HiddenOnly)
        HideListItemClick(Sender);
      else
        ListItemClick(Sender);
    };
    Menu->Items()->Add(Item);
  }
}

void TbsSkinMDITabsBar::FillListMenu() {
  fillMenu(FListMenu, ListItemMarker, false, true);
}

void TbsSkinMDITabsBar::FillHideListMenu() {
  fillMenu(FHideListMenu, HideListItemMarker, true, false);
}

void TbsSkinMDITabsBar::ListItemClick(TObject* Sender) {
  showChildrenNamed(Sender, ListItemMarker);
}

void TbsSkinMDITabsBar::HideListItemClick(TObject* Sender) {
  showChildrenNamed(Sender, HideListItemMarker);
}

void TbsSkinMDITabsBar::showChildrenNamed(TObject* Sender, const String& Marker) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  if (Item == nullptr || BSF == nullptr || BSF->Form() == nullptr) return;
  const String Name = withoutMarker(Item->Name(), Marker);
  for (TCustomForm* C : MDIChildrenOf(BSF->Form()))
    if (C->Name() == Name) ShowChild(C);
}
