// The MDI main form's window commands, computed by its engine rather than by the client window:
// tiling, cascading, and minimizing, maximizing, restoring and closing all children, each through
// the children's own engines; and the children's items in the main form's window menu and their
// tabs in its tabs bar.
#include <cmath>

#include "platform/ui/core/application.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/mdi/bsskinmditabsbar.h"

namespace {

// Every MDI child of a form with its engine (null for a child without one), in the children's order.
std::vector<std::pair<TCustomForm*, TbsSkinForm*>> childrenOf(TForm* Main) {
  std::vector<std::pair<TCustomForm*, TbsSkinForm*>> R;
  for (TCustomForm* C : MDIChildrenOf(Main)) R.emplace_back(C, GetSkinFormOf(C));
  return R;
}

constexpr const char* ChildItemMarker = "_BSFCHILDITEM";

// The child name an item of the window menu stands for (its name less the first marker); false for
// an item that is not a child's.
bool childNameOfItem(const TMenuItem* Item, String& Name) {
  const String& N = Item->Name();
  const size_t P = N.find(ChildItemMarker);
  if (P == String::npos) return false;
  Name = N.substr(0, P) + N.substr(P + std::char_traits<char>::length(ChildItemMarker));
  return true;
}

}  // namespace

void TbsSkinForm::MinimizeAll() {
  if (!isMDIMain()) return;
  for (auto& [C, S] : childrenOf(FForm))
    if (S != nullptr) S->SetWindowState(wsMinimized);
}

void TbsSkinForm::MaximizeAll() {
  if (!isMDIMain()) return;
  for (auto& [C, S] : childrenOf(FForm))
    if (S != nullptr && S->BorderIcons().Contains(biMaximize)) S->SetWindowState(wsMaximized);
}

void TbsSkinForm::CloseAll() {
  if (!isMDIMain()) return;
  auto Children = childrenOf(FForm);
  for (auto It = Children.rbegin(); It != Children.rend(); ++It) It->first->Close();
}

void TbsSkinForm::RestoreAll() {
  RestoreAllExcept(nullptr);
}

void TbsSkinForm::RestoreAllExcept(HWND AFormHandle) {
  if (!isMDIMain()) return;
  for (auto& [C, S] : childrenOf(FForm)) {
    if (S == nullptr || (AFormHandle != nullptr && C->HandleAllocated() && C->Handle() == AFormHandle))
      continue;
    if (S->WindowState() != wsNormal) S->SetWindowState(wsNormal);
    if (S->RollUpState() && S->WindowState() == wsNormal) S->SetRollUpState(false);
  }
}

bool TbsSkinForm::prepareArrangement(TRect& A) {
  if (!isMDIMain() || FForm->MDIChildCount() == 0) return false;
  RestoreAll();
  A = Rect(0, 0, 0, 0);
  GetMDIClientRect(A);
  return true;
}

void TbsSkinForm::Tile() {
  TRect A;
  if (!prepareArrangement(A)) return;
  const std::vector<TCustomForm*> Children = MDIChildrenOf(FForm);
  const Integer AW = A.Width(), AH = A.Height(), n = Integer(Children.size());
  if (FTileMode == tbHorizontal) {
    // Columns from the right, each filled from the bottom up.
    Integer c = std::max<Integer>(Integer(std::sqrt(double(n))), 1);
    Integer r = n / c;
    if (c * r < n) ++r;
    const Integer w = AW / c;
    Integer h = AH / r, x = AW, y = AH;
    for (Integer i = n - 1; i >= 0; --i) {
      Children[size_t(i)]->SetBounds(std::max(x - w, 0), std::max(y - h, 0), w, h);
      y -= h;
      if (y - h < 0) {
        y = AH;
        x -= w;
        c = std::max<Integer>(c - 1, 1);
        r = i / c;
        if (c * r < i) ++r;
        r = std::max<Integer>(r, 1);
        h = AH / r;
      }
    }
  } else {
    // Columns from the left, each filled from the top down.
    Integer r = std::max<Integer>(Integer(std::sqrt(double(n))), 1);
    Integer c = std::max<Integer>(n / r, 1);
    const Integer w = AW / c;
    Integer h = AH / r, x = 0, y = 0;
    for (Integer i = 1; i <= n; ++i) {
      Children[size_t(i - 1)]->SetBounds(x, y, w, h);
      y += h;
      if (y + h > AH) {
        y = 0;
        x += w;
        c = std::max<Integer>(c - 1, 1);
        r = std::max<Integer>((n - i) / c, 1);
        h = AH / r;
      }
    }
  }
}

void TbsSkinForm::Cascade() {
  TRect A;
  if (!prepareArrangement(A)) return;
  const std::vector<TCustomForm*> Children = MDIChildrenOf(FForm);
  const Integer AW = A.Width(), AH = A.Height(), n = Integer(Children.size());
  // A skin whose client area starts at the top edge would give no step at all.
  const Integer s =
      std::max<Integer>(FMode.SkinSupport ? FGeometry.NewClRect.Top : GetDefCaptionHeight() + 3, 1);
  const Integer k = (AW - Integer(std::nearbyint(double(AW) * 0.8))) / s;
  const Integer Steps = k > n ? n - 1 : k;
  const Integer cw = std::max(AW - s * Steps, GetMinWidth());
  const Integer ch = std::max(AH - s * Steps, GetMinHeight());
  Integer o = 0;
  for (Integer i = n - 1; i >= 0; --i) {
    TCustomForm* C = Children[size_t(i)];
    const bool Fixed = C->BorderStyle() == bsSingle;
    const Integer W = Fixed ? C->Width() : cw, H = Fixed ? C->Height() : ch;
    if (o + W > AW || o + H > AH) o = 0;
    C->SetBounds(o, o, W, H);
    o += s;
  }
}

// ---------------------------------------------------------------------------------------------
// The window menu and the tabs bar

TbsSkinForm* TbsSkinForm::mainSkinForm() {
  TCustomForm* M = appMainForm();
  if (M == nullptr || M->ComponentState().Contains(csDestroying)) return nullptr;
  return GetSkinFormOf(M);
}

TMenuItem* TbsSkinForm::mainWindowMenu() {
  TCustomForm* M = appMainForm();
  return M != nullptr && !M->ComponentState().Contains(csDestroying) ? M->WindowMenu() : nullptr;
}

TMenuItem* TbsSkinForm::findChildItem(TMenuItem* WindowMenu, TCustomForm* Child) {
  for (Integer i = 0; i < WindowMenu->Count(); ++i) {
    String Name;
    if (childNameOfItem(WindowMenu->Items(i), Name) && Name == Child->Name()) return WindowMenu->Items(i);
  }
  return nullptr;
}

void TbsSkinForm::AddChildToMenu(TCustomForm* Child) {
  TMenuItem* WM = mainWindowMenu();
  if (WM == nullptr || Child == nullptr) return;
  const String Name = Child->Name() + ChildItemMarker;
  // A child shown again before it was taken out keeps its one item (a second of the same name could
  // not be owned here), moved to the window menu in force.
  if (auto* Old = dynamic_cast<TMenuItem*>(FindComponent(Name)); Old != nullptr) {
    if (Old->Parent() != WM) {
      if (Old->Parent() != nullptr) Old->Parent()->Remove(Old);
      WM->Add(Old);
    }
    Old->SetCaption(Child->Caption());
    return;
  }
  auto* Item = new TMenuItem(this);
  Item->SetName(Name);
  Item->SetCaption(Child->Caption());
  Item->OnClick = [this](TObject* Sender) { MDIItemClick(Sender); };
  WM->Add(Item);
}

void TbsSkinForm::AddChildToBar(TCustomForm* Child) {
  bool Accept = true;
  if (OnAcceptToMDITabsBar) OnAcceptToMDITabsBar(Accept);
  TbsSkinForm* S = mainSkinForm();
  if (Accept && S != nullptr && S->MDITabsBar() != nullptr) S->MDITabsBar()->AddTab(Child);
}

void TbsSkinForm::DeleteChildFromMenu(TCustomForm* Child) {
  TMenuItem* WM = mainWindowMenu();
  if (WM == nullptr || Child == nullptr) return;
  delete findChildItem(WM, Child);
  TCustomForm* M = appMainForm();
  if (!MDIChildrenOf(M).empty()) return;
  for (Integer i = 0; i < WM->Count(); ++i) {
    String Name;
    if (childNameOfItem(WM->Items(i), Name)) {
      delete WM->Items(i);
      return;
    }
  }
}

void TbsSkinForm::DeleteChildFromBar(TCustomForm* Child) {
  TbsSkinForm* S = mainSkinForm();
  if (S != nullptr && S->MDITabsBar() != nullptr) S->MDITabsBar()->DeleteTab(Child);
}

void TbsSkinForm::UpDateChildCaptionInMenu(TCustomForm* Child) {
  TMenuItem* WM = mainWindowMenu();
  if (WM == nullptr || Child == nullptr) return;
  if (TMenuItem* Item = findChildItem(WM, Child)) Item->SetCaption(Child->Caption());
}

void TbsSkinForm::UpDateChildActiveInMenu() {
  TMenuItem* WM = mainWindowMenu();
  if (WM == nullptr) return;
  TCustomForm* A = appMainForm()->ActiveMDIChild();
  for (Integer i = 0; i < WM->Count(); ++i) {
    String Name;
    if (childNameOfItem(WM->Items(i), Name)) WM->Items(i)->SetChecked(A != nullptr && Name == A->Name());
  }
}

void TbsSkinForm::RefreshMDIBarTab(TCustomForm* Child) {
  TbsSkinForm* S = mainSkinForm();
  TbsSkinMDITabsBar* Bar = S != nullptr ? S->MDITabsBar() : nullptr;
  if (Bar == nullptr || !Bar->HandleAllocated()) return;
  for (Integer i = 0; i < Bar->TabCount(); ++i)
    if (Bar->Tabs(i)->Child == Child) Bar->RedrawTab(Bar->Tabs(i));
}

void TbsSkinForm::SetMDITabsBar(TbsSkinMDITabsBar* Value) {
  if (FMDITabsBar == Value) return;
  if (FMDITabsBarComponent != nullptr) FMDITabsBarComponent->RemoveFreeNotification(this);
  FMDITabsBar = Value;
  FMDITabsBarComponent = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::UpdateMDITabsBar() {
  TbsSkinForm* S = mainSkinForm();
  if (S != nullptr && S->MDITabsBar() != nullptr) S->MDITabsBar()->UpdateActiveTab();
}

void TbsSkinForm::MDIItemClick(TObject* Sender) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  TCustomForm* M = appMainForm();
  String Name;
  if (Item == nullptr || M == nullptr || !childNameOfItem(Item, Name)) return;
  for (TCustomForm* C : MDIChildrenOf(M))
    if (C->Name() == Name) TbsSkinMDITabsBar::ShowChild(C);
}
