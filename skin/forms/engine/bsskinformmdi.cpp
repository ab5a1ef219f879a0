// The engine on an MDI main form and its children: the client window's subclass (background, no
// frame of its own, the re-fit on resizing), the two skinned scroll bars that scroll the children,
// the messages a child's engine and the main form's engine exchange, and the lookups between them.
#include "platform/ui/core/application.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/core/bsmessages.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

// Horizontal and vertical scroll bars of the MDI client.
constexpr Integer MDIScrollBarSize = 17;
constexpr Integer MDIScrollArrowStep = 10;

bool engineMaximized(TCustomForm* F) {
  TbsSkinForm* S = GetSkinFormOf(F);
  return S != nullptr && S->WindowState() == wsMaximized;
}

}  // namespace

TCustomForm* TbsSkinForm::appMainForm() {
  return Application != nullptr ? Application->MainForm() : nullptr;
}

LRESULT TbsSkinForm::sendToMainForm(UINT Msg, WPARAM WParam) {
  TCustomForm* M = appMainForm();
  if (M == nullptr || M->ComponentState().Contains(csDestroying) || !M->HandleAllocated() ||
      !IsWindow(M->Handle()))
    return 0;
  return SendMessage(M->Handle(), Msg, WParam, 0);
}

// ---------------------------------------------------------------------------------------------
// Lookup

std::vector<TCustomForm*> MDIChildrenOf(const TCustomForm* Main) {
  // The client's windows walked once, as MDIChildren walks them for every index.
  std::vector<TCustomForm*> R;
  HWND Client = Main != nullptr ? Main->ClientHandle() : nullptr;
  if (Client == nullptr) return R;
  for (HWND W = GetWindow(Client, GW_CHILD); W != nullptr; W = GetWindow(W, GW_HWNDNEXT)) {
    auto* F = dynamic_cast<TCustomForm*>(FindControl(W));
    if (F != nullptr && F->FormStyle() == fsMDIChild) R.push_back(F);
  }
  return R;
}

TbsSkinForm* GetMaximizedMDIChildSkinForm() {
  TCustomForm* M = Application != nullptr ? Application->MainForm() : nullptr;
  if (M == nullptr) return nullptr;
  for (TCustomForm* C : MDIChildrenOf(M)) {
    TbsSkinForm* S = GetSkinFormOf(C);
    if (S != nullptr && S->WindowState() == wsMaximized) return S;
  }
  return nullptr;
}

TbsSkinForm* GetActiveMDIChildSkinForm() {
  TCustomForm* M = Application != nullptr ? Application->MainForm() : nullptr;
  if (M == nullptr || M->ActiveMDIChild() == nullptr) return nullptr;
  return GetSkinFormOf(M->ActiveMDIChild());
}

TForm* TbsSkinForm::GetMaximizedMDIChild() const {
  TCustomForm* M = appMainForm();
  if (M == nullptr) return nullptr;
  if (auto* A = dynamic_cast<TForm*>(M->ActiveMDIChild()); A != nullptr && engineMaximized(A)) return A;
  for (TCustomForm* F : MDIChildrenOf(M))
    if (auto* C = dynamic_cast<TForm*>(F); C != nullptr && engineMaximized(C)) return C;
  return nullptr;
}

void TbsSkinForm::GetMDIClientRect(TRect& R) const {
  TCustomForm* M = appMainForm();
  if (M == nullptr) return;
  R = Rect(0, 0, M->ClientWidth(), M->ClientHeight());
  for (Integer i = 0; i < M->ControlCount(); ++i) {
    TControl* C = M->Controls(i);
    if (!C->Visible()) continue;
    switch (C->Align()) {
      case alLeft:
        R.Left = std::max(R.Left, C->Left() + C->Width());
        break;
      case alTop:
        R.Top = std::max(R.Top, C->Top() + C->Height());
        break;
      case alRight:
        R.Right = std::min(R.Right, C->Left());
        break;
      case alBottom:
        R.Bottom = std::min(R.Bottom, C->Top());
        break;
      default:
        break;
    }
  }
}

void TbsSkinForm::FitMaximizedChildren() {
  for (TCustomForm* C : MDIChildrenOf(FForm)) {
    if (C->HandleAllocated()) SendMessage(C->Handle(), WM_MDICHILDRESIZE, 0, 0);
  }
  if (!FShowMDIScrollBars) ArrangeMinimizedMDIChildren();
}

void TbsSkinForm::ArrangeMinimizedMDIChildren() {
  for (TCustomForm* C : MDIChildrenOf(FForm)) {
    TbsSkinForm* S = GetSkinFormOf(C);
    if (S == nullptr || S->FMode.WindowState != wsMinimized) continue;
    TPoint P;
    S->CalcMinimizedPosition(P);
    C->SetBounds(P.X, P.Y, C->Width(), C->Height());
  }
}

// ---------------------------------------------------------------------------------------------
// The MDI client window

void TbsSkinForm::subclassMDIClient() {
  HWND Client = FForm->ClientHandle();
  if (Client == nullptr || Client == FSubclassedClient) return;
  FPrevClientProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Client, GWL_WNDPROC));
  if (FClientInstance == nullptr)
    FClientInstance = MakeObjectInstance([this](TMessage& M) { MDIClientWndProc(M); });
  FSubclassedClient = Client;
  SetWindowLongPtr(Client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FClientInstance));
}

// The client window outlives an engine freed before its form: it gets its own procedure back, so
// no message of it reaches the freed engine.
void TbsSkinForm::releaseMDIClient() {
  if (FClientInstance == nullptr) return;
  if (FSubclassedClient != nullptr && IsWindow(FSubclassedClient) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtr(FSubclassedClient, GWL_WNDPROC)) == FClientInstance)
    SetWindowLongPtr(FSubclassedClient, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevClientProc));
  FreeObjectInstance(FClientInstance);
  FClientInstance = nullptr;
  FPrevClientProc = nullptr;
  FSubclassedClient = nullptr;
}

void TbsSkinForm::MDIClientWndProc(TMessage& Message) {
  HWND Client = FSubclassedClient;
  auto previous = [&] {
    Message.Result = CallWindowProc(FPrevClientProc, Client, Message.Msg, Message.WParam, Message.LParam);
  };
  switch (Message.Msg) {
    case WM_SIZE: {
      previous();
      FitMaximizedChildren();
      const bool Stretched =
          FMode.SkinSupport && (FSD->MDIBGPictureIndex == -1 ? FSD->StretchEffect : FSD->MDIBGStretchEffect);
      if (!FLogoBitMap->Empty() || Stretched) {
        const RECT R = Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight());
        RedrawWindow(Client, &R, nullptr, RDW_ERASE | RDW_INVALIDATE);
      }
      UpdateMDIScrollBars(true);
      return;
    }
    case WM_ERASEBKGND: {
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      if (!FMode.SkinSupport)
        PaintMDIBGDefault(DC);
      else if (FSD->MDIBGPictureIndex != -1)
        PaintBG3(DC);
      else if (FSD->BGPictureIndex == -1)
        PaintBG(DC);
      else
        PaintBG2(DC);
      Message.Result = 0;
      return;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      Message.Result = 0;
      return;
    case WM_NCACTIVATE:
      Message.Result = 1;
      return;
    case WM_NCDESTROY:
      // The client goes with the form's window; a recreated one is subclassed again at its show.
      previous();
      if (Client == FSubclassedClient) FSubclassedClient = nullptr;
      return;
    default:
      previous();
      return;
  }
}

// ---------------------------------------------------------------------------------------------
// The MDI client's scroll bars

void TbsSkinForm::CreateMDIScrollBars() {
  auto make = [this](TScrollBarKind Kind, const String& Name, void (TbsSkinForm::*Up)(TObject*),
                     void (TbsSkinForm::*Down)(TObject*), void (TbsSkinForm::*Change)(TObject*)) {
    auto* B = new TbsSkinScrollBar(this);
    B->SetKind(Kind);
    if (Kind == sbHorizontal)
      B->SetHeight(MDIScrollBarSize);
    else
      B->SetWidth(MDIScrollBarSize);
    B->SetSkinDataName(Name);
    B->SetSkinData(FSD);
    B->OnUpButtonClick = [this, Up](TObject* S) { (this->*Up)(S); };
    B->OnDownButtonClick = [this, Down](TObject* S) { (this->*Down)(S); };
    B->OnPageUp = B->OnPageDown = B->OnLastChange = [this, Change](TObject* S) { (this->*Change)(S); };
    B->SetVisible(false);
    B->SetParent(FForm);
    return B;
  };
  if (FMDIHScrollBar == nullptr)
    FMDIHScrollBar = make(sbHorizontal, "hscrollbar", &TbsSkinForm::OnMDIHScrollBarUpClick,
                          &TbsSkinForm::OnMDIHScrollBarDownClick, &TbsSkinForm::OnMDIHScrollBarChange);
  if (FMDIVScrollBar == nullptr)
    FMDIVScrollBar = make(sbVertical, "vscrollbar", &TbsSkinForm::OnMDIVScrollBarUpClick,
                          &TbsSkinForm::OnMDIVScrollBarDownClick, &TbsSkinForm::OnMDIVScrollBarChange);
}

void TbsSkinForm::OnMDIHScrollBarUpClick(TObject* Sender) {
  FMDIHScrollBar->SetPosition(FMDIHScrollBar->Position() + MDIScrollArrowStep);
  OnMDIHScrollBarChange(Sender);
}

void TbsSkinForm::OnMDIHScrollBarDownClick(TObject* Sender) {
  FMDIHScrollBar->SetPosition(FMDIHScrollBar->Position() - MDIScrollArrowStep);
  OnMDIHScrollBarChange(Sender);
}

void TbsSkinForm::OnMDIHScrollBarChange(TObject*) {
  const Integer D = takeScrollDelta(FMDIHScrollBar, FOldHSrollBarPosition);
  if (D != 0) ScrollMDIChildrenHorz(D);
}

void TbsSkinForm::OnMDIVScrollBarUpClick(TObject* Sender) {
  FMDIVScrollBar->SetPosition(FMDIVScrollBar->Position() + MDIScrollArrowStep);
  OnMDIVScrollBarChange(Sender);
}

void TbsSkinForm::OnMDIVScrollBarDownClick(TObject* Sender) {
  FMDIVScrollBar->SetPosition(FMDIVScrollBar->Position() - MDIScrollArrowStep);
  OnMDIVScrollBarChange(Sender);
}

void TbsSkinForm::OnMDIVScrollBarChange(TObject*) {
  const Integer D = takeScrollDelta(FMDIVScrollBar, FOldVSrollBarPosition);
  if (D != 0) ScrollMDIChildrenVert(D);
}

Integer TbsSkinForm::takeScrollDelta(TbsSkinScrollBar* Bar, Integer& Old) {
  const Integer D = Old - Bar->Position();
  Old = Bar->Position();
  return D;
}

void TbsSkinForm::ScrollMDIChildrenHorz(Integer ADelta) {
  scrollMDIChildren(ADelta, 0);
}

void TbsSkinForm::ScrollMDIChildrenVert(Integer ADelta) {
  scrollMDIChildren(0, ADelta);
}

void TbsSkinForm::scrollMDIChildren(Integer DX, Integer DY) {
  // The children's own move notifications would recompute the range under the thumb.
  FStopCheckChildMove = true;
  for (TCustomForm* C : MDIChildrenOf(FForm)) {
    if (C->Visible()) C->SetBounds(C->Left() + DX, C->Top() + DY, C->Width(), C->Height());
  }
  FStopCheckChildMove = false;
  UpdateMDIScrollBars(false);
}

void TbsSkinForm::AlignMDIScrollBars() {
  if (!isMDIMain() || FMDIHScrollBar == nullptr || FMDIVScrollBar == nullptr) return;
  const bool HV = FMDIHScrollBar->Visible(), VV = FMDIVScrollBar->Visible();
  if (!HV && !VV) return;
  TRect R;
  GetMDIClientRect(R);
  if (HV) {
    if (FMDIHScrollBar->Both() != VV) FMDIHScrollBar->SetBoth(VV);
    const Integer H = FMDIHScrollBar->Height();
    FMDIHScrollBar->SetBounds(R.Left, R.Bottom - H, R.Width(), H);
  }
  if (VV) {
    const Integer W = FMDIVScrollBar->Width();
    FMDIVScrollBar->SetBounds(R.Right - W, R.Top, W, R.Height() - (HV ? FMDIHScrollBar->Height() : 0));
  }
}

void TbsSkinForm::UpdateMDIScrollBars(bool AUpdateRange) {
  if (FMDIHScrollBar == nullptr || FMDIVScrollBar == nullptr) return;
  bool Changed = false;
  updateMDIScrollBarsOnce(AUpdateRange, Changed);
  // A bar that came or went changes the other's room: one more pass settles both.
  if (Changed && (FMDIHScrollBar->Visible() || FMDIVScrollBar->Visible())) {
    bool Again = false;
    updateMDIScrollBarsOnce(AUpdateRange, Again);
  }
}

void TbsSkinForm::updateMDIScrollBarsOnce(bool AUpdateRange, bool& Changed) {
  TbsSkinScrollBar *HB = FMDIHScrollBar, *VB = FMDIVScrollBar;
  if (HB == nullptr || VB == nullptr || FWindowDestroying) return;
  if (FMDIChildMaximized || !FShowMDIScrollBars) {
    HB->SetVisible(false);
    VB->SetVisible(false);
    return;
  }
  TRect R;
  GetMDIClientRect(R);
  Integer MinL = 100000, MinT = 100000, MaxR = -100000, MaxB = -100000;
  for (TCustomForm* C : MDIChildrenOf(FForm)) {
    if (!C->Visible() || (C->HandleAllocated() && C->Handle() == ChangeVisibleChildHanle)) continue;
    MinL = std::min(MinL, C->Left());
    MinT = std::min(MinT, C->Top());
    MaxR = std::max(MaxR, C->Left() + C->Width());
    MaxB = std::max(MaxB, C->Top() + C->Height());
  }
  bool NeedH = MinL < 0 || R.Width() < MaxR;
  bool NeedV = MinT < 0 || R.Height() < MaxB;
  if (NeedV && !NeedH)
    NeedH = MinL < 0 || R.Width() - VB->Width() < MaxR;
  else if (NeedH && !NeedV)
    NeedV = MinT < 0 || R.Height() - HB->Height() < MaxB;

  if (NeedH && !HB->Visible()) {
    HB->SetBounds(R.Left, R.Bottom - HB->Height(), R.Width(), HB->Height());
    HB->SetVisible(true);
    Changed = true;
  } else if (!NeedH && HB->Visible()) {
    HB->SetVisible(false);
    Changed = true;
  }
  if (NeedV && !VB->Visible()) {
    VB->SetBounds(R.Right - VB->Width(), R.Top, VB->Width(), R.Height() - (NeedH ? HB->Height() : 0));
    VB->SetVisible(true);
    Changed = true;
  } else if (!NeedV && VB->Visible()) {
    VB->SetVisible(false);
    Changed = true;
  }
  AlignMDIScrollBars();

  if (HB->Visible()) {
    MaxR = std::max(MaxR, R.Width());
    if (AUpdateRange) {
      const Integer Page = R.Width() - (VB->Visible() ? VB->Width() : 0);
      const Integer Pos = MinL < 0 ? -MinL : 0;
      HB->SetRange(0, MaxR + Pos - 1, Pos, Page);
      FOldHSrollBarPosition = HB->Position();
    }
    HB->SetLargeChange(HB->PageSize());
  }
  if (VB->Visible()) {
    MaxB = std::max(MaxB, R.Height());
    if (AUpdateRange) {
      const Integer Page = R.Height() - (HB->Visible() ? HB->Height() : 0);
      const Integer Pos = MinT < 0 ? -MinT : 0;
      VB->SetRange(0, MaxB + Pos - 1, Pos, Page);
      FOldVSrollBarPosition = VB->Position();
    }
    VB->SetLargeChange(VB->PageSize());
  }
}

// ---------------------------------------------------------------------------------------------
// A child's engine and the main form's

void TbsSkinForm::updateMainMenuBar() {
  TCustomForm* M = appMainForm();
  TbsSkinForm* S = M != nullptr ? GetSkinFormOf(M) : nullptr;
  if (S != nullptr && S->FMenuTracking != nullptr) S->FMenuTracking->ChildMenuChanged();
}

void TbsSkinForm::mdiChildDestroyed() {
  FMode.WindowState = FMode.WindowStateInit = wsNormal;
  sendToMainForm(WM_MDICHILDRESTORE, 0);
  updateMainMenuBar();
  UpdateMDITabsBar();
  // The going child is left out of the scroll extent.
  sendToMainForm(WM_MDICHILDMOVE, WPARAM(FForm->Handle()));
}

void TbsSkinForm::mdiChildMouseActivate() {
  TCustomForm* M = appMainForm();
  if (M == nullptr || M->ActiveMDIChild() != FForm || FMode.FormActive) return;
  FMode.FormActive = true;
  CheckFormActive(FMode.WindowState != wsMaximized);
}

void TbsSkinForm::mdiChildTextChanged() {
  // The main form's caption shows a maximized child's.
  if (FMode.WindowStateInit != wsMaximized) return;
  if (TbsSkinForm* S = GetSkinFormOf(appMainForm()); S != nullptr && S != this) S->UpDateFormNC();
}

void TbsSkinForm::childrenRestored() {
  UpDateFormNC();
  if (FMenuTracking != nullptr) FMenuTracking->MDIChildRestore();
  if (FSkinRibbon != nullptr) FSkinRibbon->MDIChildRestore();
  UpdateMDIScrollBars(true);
}

bool TbsSkinForm::mdiPrivateMessage(TMessage& M) {
  switch (M.Msg) {
    case WM_MDICHILDRESIZE:
      if (isMDIChild() && FMode.WindowState == wsMaximized) {
        TRect R = Rect(0, 0, 0, 0);
        GetMDIClientRect(R);
        FForm->SetBounds(0, 0, R.Width(), R.Height());
      }
      return false;
    case WM_MDICHILDRESTORE:
      if (isMDIMain() && !FInRestoreAll) {
        if (GetMaximizedMDIChild() == nullptr) FMDIChildMaximized = false;
        childrenRestored();
      }
      M.Result = 0;
      return true;
    case WM_MDIRESTOREALL:
    case WM_MDIRESTOREALLEXCEPT:
      if (isMDIMain() && FMDIChildMaximized && !FInRestoreAll) {
        FInRestoreAll = true;
        if (M.Msg == WM_MDIRESTOREALL) {
          RestoreAll();
        } else {
          RestoreAllExcept(reinterpret_cast<HWND>(M.WParam));
          FForm->Next();
        }
        FInRestoreAll = false;
        FMDIChildMaximized = false;
        childrenRestored();
      }
      M.Result = 0;
      return true;
    case WM_MDICHILDMOVE:
      if (isMDIMain() && !FStopCheckChildMove) {
        ChangeVisibleChildHanle = reinterpret_cast<HWND>(M.WParam);
        UpdateMDIScrollBars(true);
        ChangeVisibleChildHanle = nullptr;
      }
      M.Result = 0;
      return true;
    case WM_MDICHILDMAXIMIZE:
      if (isMDIMain() && !FInMaximizeAll) {
        FMDIChildMaximized = true;
        UpDateFormNC();
        if (FMenuTracking != nullptr) FMenuTracking->MDIChildMaximize();
        if (FSkinRibbon != nullptr) FSkinRibbon->MDIChildMaximize();
        FInMaximizeAll = true;
        MaximizeAll();
        FInMaximizeAll = false;
      }
      M.Result = 0;
      return true;
    case WM_MDICHILDMAXIMIZED:
      M.Result = (isMDIMain() && FMDIChildMaximized) ? 1 : 0;
      return true;
    default:
      return false;
  }
}
