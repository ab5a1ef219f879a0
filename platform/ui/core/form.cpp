#include "platform/ui/core/form.h"

#include <algorithm>

#include "platform/rtl/format.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/menus/menu.h"

namespace {
constexpr const char* SCannotShowModal = "Cannot make a visible window modal";
constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";

// Whether Control could take the focus once Form shows: it and its parents up to the form are visible
// and enabled (the form itself may still be hidden).
bool CanFocusWithin(TCustomForm* Form, TWinControl* Control) {
  for (TControl* C = Control; C != nullptr && C != Form; C = C->Parent())
    if (!C->Visible() || !C->Enabled()) return false;
  return true;
}
}  // namespace

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  FParentColor = false;
  FParentFont = false;
  FColor = clBtnFace;
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  FFormState.Include(fsCreating);
  FIcon = std::make_unique<TIcon>();
  FIcon->OnChange = [this](TObject*) { UpdateIcon(); };
  if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  FFormState.Exclude(fsModal);
  if (FHandle != nullptr && FFormStyle != fsMDIChild && FVisible) {
    FVisible = false;
    ShowWindow(FHandle, SW_HIDE);
  }
  try {
    DoDestroy();
  } catch (const Exception& E) {
    if (Application != nullptr) Application->HandleException(this, E);
  }
  if (Screen != nullptr) Screen->RemoveForm(this);
  // What the form owns goes while the form is still whole (components may unhook from it).
  DestroyComponents();
  FActiveControl = nullptr;
  FFocusedControl = nullptr;
  FMenu = nullptr;
  // Window messages from here on reach this class only.
  WindowProc = [this](TMessage& M) { TCustomForm::WndProc(M); };
  DestroyHandle();
}

void TCustomForm::AfterConstruction() {
  if (FCreated) return;
  FCreated = true;
  FFormState.Exclude(fsCreating);
  DoCreate();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

// ---- the window ----

void TCustomForm::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  // A form placed inside another control is a child window of it.
  Params.WndParent = FParent != nullptr ? FParent->Handle() : FParentWindow;
  if (Params.WndParent != nullptr) Params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (FFormStyle == fsMDIChild) {
    // An MDI child lives in the main form's client window; without an MDI main form it stays a
    // window of its own, so a form switched early in its life still works.
    TCustomForm* Main = Application != nullptr ? Application->MainForm() : nullptr;
    if (Main != nullptr && Main != this && Main->FormStyle() == fsMDIForm) {
      Main->HandleNeeded();
      Params.WndParent = Main->ClientHandle();
      Params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
      Params.ExStyle |= WS_EX_MDICHILD;
      Params.WindowClass.lpfnWndProc = DefMDIChildProc;
    }
  }
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  switch (FBorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      break;
    case bsSingle:
      Params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Params.Style |= WS_CAPTION;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
    Params.Style |= WS_SYSMENU;
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
      if (FBorderIcons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (!FEnabled) Params.Style |= WS_DISABLED;
  Params.WindowClass.style |= CS_DBLCLKS;
}

void TCustomForm::CreateWindowCreated() {
  if (FFormStyle == fsMDIForm && FClientHandle == nullptr) {
    CLIENTCREATESTRUCT Ccs;
    Ccs.hWindowMenu = windowMenuHandle();
    Ccs.idFirstChild = 0xFF00;
    RECT R;
    ::GetClientRect(FHandle, &R);
    FClientHandle =
        CreateWindowEx(0, MDICLIENT_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                       0, R.Right, R.Bottom, FHandle, nullptr, nullptr, &Ccs);
    // Behind the form's own windowed controls (tool bars, status bars).
    SetWindowPos(FClientHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Realign();
  }
  if (FFormStyle == fsStayOnTop)
    SetWindowPos(FHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateIcon();
}

void TCustomForm::DestroyWindowHandle() {
  TCustomControl::DestroyWindowHandle();
  FClientHandle = nullptr;
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  // The MDI client takes what the aligned controls leave.
  if (FClientHandle != nullptr)
    SetWindowPos(FClientHandle, nullptr, Rect.Left, Rect.Top, std::max<Integer>(Rect.Width(), 0),
                 std::max<Integer>(Rect.Height(), 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- MDI ----

std::vector<TCustomForm*> TCustomForm::mdiChildren() const {
  std::vector<TCustomForm*> R;
  if (FClientHandle == nullptr) return R;
  for (HWND W = GetWindow(FClientHandle, GW_CHILD); W != nullptr; W = GetWindow(W, GW_HWNDNEXT)) {
    auto* F = dynamic_cast<TCustomForm*>(FindControl(W));
    if (F != nullptr && F->FFormStyle == fsMDIChild) R.push_back(F);
  }
  return R;
}

Integer TCustomForm::MDIChildCount() const {
  return Integer(mdiChildren().size());
}

TCustomForm* TCustomForm::MDIChildren(Integer Index) const {
  std::vector<TCustomForm*> All = mdiChildren();
  if (Index < 0 || Index >= Integer(All.size()))
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return All[size_t(Index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (FClientHandle == nullptr) return nullptr;
  HWND W = reinterpret_cast<HWND>(SendMessage(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return W != nullptr ? dynamic_cast<TCustomForm*>(FindControl(W)) : nullptr;
}

void TCustomForm::Next() {
  if (FClientHandle != nullptr) SendMessage(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (FClientHandle != nullptr) SendMessage(FClientHandle, WM_MDINEXT, 0, 1);
}

void TCustomForm::Tile() {
  if (FClientHandle != nullptr)
    SendMessage(FClientHandle, WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL,
                0);
}

void TCustomForm::Cascade() {
  if (FClientHandle != nullptr) SendMessage(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons() {
  if (FClientHandle != nullptr) SendMessage(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

// ---- the window menu ----

HMENU TCustomForm::windowMenuHandle() const {
  return reinterpret_cast<HMENU>(FWindowMenu);
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
  if (FWindowMenu == Value) return;
  if (FWindowMenu != nullptr) FWindowMenu->RemoveFreeNotification(this);
  FWindowMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  // The frame menu stays as it is (wParam 0); a cleared window menu leaves the client's as it was.
  if (FFormStyle == fsMDIForm && FClientHandle != nullptr && Value != nullptr)
    SendMessage(FClientHandle, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(windowMenuHandle()));
}

void TCustomForm::WMMDIActivate(TMessage& Message) {
  DefaultHandler(Message);
  if (FFormStyle != fsMDIChild) return;
  bool Now = reinterpret_cast<HWND>(Message.LParam) == FHandle;
  FActive = Now;
  mdiActivated(Now);
}

void TCustomForm::UpdateIcon() {
  if (FHandle == nullptr || FParent != nullptr) return;
  HICON Shown = FIcon->Handle();
  if (Shown == nullptr && Application != nullptr) Shown = Application->Icon()->Handle();
  SendMessage(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Shown));
  SendMessage(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Shown));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  if (FHandle == nullptr) return;
  if (Value == fsStayOnTop || Value == fsNormal)
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  else
    RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  if (FHandle != nullptr && FShowing) {
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (FHandle == nullptr || !FShowing) return;
  static const Integer Cmd[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  ShowWindow(FHandle, Cmd[Value]);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) FMenu = nullptr;
  if (AComponent == FWindowMenu) FWindowMenu = nullptr;
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

// ---- showing ----

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() {
  SetVisible(false);
}

void TCustomForm::applyPosition() {
  TRect Area = Screen != nullptr ? Screen->WorkAreaRect()
                                 : Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  TCustomForm* Center = nullptr;
  switch (FPosition) {
    case poMainFormCenter:
      Center = Application != nullptr ? Application->MainForm() : nullptr;
      break;
    case poOwnerFormCenter:
      Center = dynamic_cast<TCustomForm*>(Owner());
      if (Center == nullptr && Application != nullptr) Center = Application->MainForm();
      break;
    case poScreenCenter:
    case poDesktopCenter:
      break;
    default:
      return;
  }
  if (Center == this || (Center != nullptr && !Center->Visible())) Center = nullptr;
  Integer X, Y;
  if (Center != nullptr) {
    X = Center->Left() + (Center->Width() - FWidth) / 2;
    Y = Center->Top() + (Center->Height() - FHeight) / 2;
  } else {
    X = Area.Left + (Area.Width() - FWidth) / 2;
    Y = Area.Top + (Area.Height() - FHeight) / 2;
  }
  X = std::max(X, Area.Left);
  Y = std::max(Y, Area.Top);
  SetBounds(X, Y, FWidth, FHeight);
}

bool TCustomForm::CanFocus() {
  return FVisible && FEnabled;
}

TRect TCustomForm::GetClientRect() {
  if (FHandle != nullptr || FParent != nullptr) return TCustomControl::GetClientRect();
  TCreateParams Params;
  CreateParams(Params);
  TRect Frame = Rect(0, 0, 0, 0);
  AdjustWindowRectEx(&Frame, Params.Style, false, Params.ExStyle);
  return Rect(0, 0, std::max(0, FWidth - Frame.Width()), std::max(0, FHeight - Frame.Height()));
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (FFormState.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  FFormState.Include(fsShowing);
  try {
    if (FShowing) {
      try {
        DoShow();
      } catch (const Exception& E) {
        if (Application != nullptr) Application->HandleException(this, E);
      }
      applyPosition();
      static const Integer Cmd[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
      ShowWindow(Handle(), Cmd[FWindowState]);
      FFormState.Include(fsVisible);
    } else {
      try {
        DoHide();
      } catch (const Exception& E) {
        if (Application != nullptr) Application->HandleException(this, E);
      }
      if (FHandle != nullptr) {
        FWindowState = IsIconic(FHandle) ? wsMinimized : IsZoomed(FHandle) ? wsMaximized : wsNormal;
        ShowWindow(FHandle, SW_HIDE);
      }
      FFormState.Exclude(fsVisible);
    }
  } catch (...) {
    FFormState.Exclude(fsShowing);
    throw;
  }
  FFormState.Exclude(fsShowing);
}

// ---- closing ----

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = caHide;
  if (FFormStyle == fsMDIChild) Action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(Action);
  if (Action == caNone) return;
  if (Application != nullptr && Application->MainForm() == this)
    Application->Terminate();
  else if (Action == caHide)
    Hide();
  else if (Action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::CloseModal() {
  TCloseAction Action = caNone;
  if (CloseQuery()) {
    Action = caHide;
    DoClose(Action);
  }
  switch (Action) {
    case caNone:
      FModalResult = mrNone;
      break;
    case caFree:
      Release();
      break;
    default:
      break;
  }
}

void TCustomForm::Release() {
  if (FHandle != nullptr)
    PostMessage(FHandle, CM_RELEASE, 0, 0);
  else
    WinDeferAction([this] { delete this; });
}

void TCustomForm::CMRelease(TMessage&) {
  // Freed once this message has returned; its window may still be in the middle of dispatching.
  WinDeferAction([this] { delete this; });
}

void TCustomForm::WMClose(TMessage&) {
  Close();
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation(SCannotShowModal);
  if (HWND Cap = GetCapture()) SendMessage(Cap, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FFormState.Include(fsModal);
  HWND ActiveWindow = GetActiveWindow();
  // Every other form is disabled while this one is modal.
  std::vector<HWND> Disabled;
  if (Screen != nullptr)
    for (Integer i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* F = Screen->Forms(i);
      if (F == this || !F->HandleAllocated()) continue;
      HWND W = F->Handle();
      if (IsWindowVisible(W) && IsWindowEnabled(W)) {
        EnableWindow(W, false);
        Disabled.push_back(W);
      }
    }
  TModalResult Result = mrNone;
  auto restore = [&] {
    for (HWND W : Disabled)
      if (IsWindow(W)) EnableWindow(W, true);
    if (ActiveWindow != nullptr && IsWindow(ActiveWindow)) SetActiveWindow(ActiveWindow);
    FFormState.Exclude(fsModal);
  };
  try {
    Show();
    HWND Own = Handle();
    SendMessage(Own, CM_ACTIVATE, 0, 0);
    focusOnShow();
    FModalResult = mrNone;
    WinRunModalLoop(
        [this] {
          if (Application != nullptr && Application->Terminated())
            FModalResult = mrCancel;
          else if (FModalResult != mrNone)
            CloseModal();
          return FModalResult != mrNone;
        },
        Own);
    // A quit message ends the loop too: the form answers as cancelled.
    if (FModalResult == mrNone) FModalResult = mrCancel;
    Result = FModalResult;
    if (IsWindow(Own)) SendMessage(Own, CM_DEACTIVATE, 0, 0);
    Hide();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return Result;
}

// ---- activation and focus ----

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation(SCannotFocus);
  mdiActivate();
  ::SetFocus(Handle());
}

HWND TCustomForm::visibleMDIClient() const {
  if (FFormStyle != fsMDIChild || FHandle == nullptr || !IsWindowVisible(FHandle) ||
      (DWORD(GetWindowLong(FHandle, GWL_EXSTYLE)) & WS_EX_MDICHILD) == 0)
    return nullptr;
  return GetParent(FHandle);
}

// The client, not the focus or the z-order, decides which child is active: it tells both children,
// keeps a maximized child maximized and moves the focus.
void TCustomForm::mdiActivate() {
  if (HWND Client = visibleMDIClient())
    SendMessage(Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
}

void TCustomForm::SetZOrder(bool TopMost) {
  TCustomControl::SetZOrder(TopMost);
  if (TopMost) mdiActivate();
}

void TCustomForm::SetWindowFocus() {
  HWND Wnd = FActiveControl != nullptr && FActiveControl->CanFocus() ? FActiveControl->Handle() : Handle();
  ::SetFocus(Wnd);
}

// The form is activated while its children are still being shown, so the focus they could not take
// then is given once everything is up.
void TCustomForm::focusOnShow() {
  if (FActiveControl == nullptr || !FActiveControl->CanFocus())
    FActiveControl = FindNextControl(nullptr, true, true, false);
  TWinControl* Target = FActiveControl;
  if (Target != nullptr && Target->CanFocus() && GetFocus() != Target->Handle()) Target->SetFocus();
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  if (FActiveControl == nullptr && !ComponentState().Contains(csDesigning))
    FActiveControl = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::WMActivate(TMessage& Message) {
  if (FFormStyle == fsMDIForm) return DefaultHandler(Message);
  SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

void TCustomForm::CMActivate(TMessage&) {
  FFormState.Include(fsActivated);
  if (FFormStyle == fsMDIChild) return mdiActivated(true);
  Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
  if (FFormStyle == fsMDIChild) return mdiActivated(false);
  Deactivate();
}

// An MDI child hears of its activation twice, from its client and from the focus; it tells once.
void TCustomForm::mdiActivated(bool Now) {
  if (Now == FMDIActiveTold) return;
  FMDIActiveTold = Now;
  if (Now) {
    Activate();
  } else {
    Deactivate();
  }
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  // A form being prepared for showing may choose its active control while it is hidden.
  if (Control != nullptr &&
      (Control == this || GetParentForm(Control) != this || !CanFocusWithin(this, Control)))
    throw EInvalidOperation(SCannotFocus);
  FActiveControl = Control;
  if (FActive && FHandle != nullptr && !ComponentState().Contains(csLoading)) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  if (Control != nullptr && (Control == this || GetParentForm(Control) != this || !Control->CanFocus()))
    throw EInvalidOperation(SCannotFocus);
  FActiveControl = Control;
  // The platform moves the focus at once (and activates the form); its WM_SETFOCUS lands in
  // SetFocusedControl. A refusal leaves everything as it was.
  ::SetFocus(Control != nullptr ? Control->Handle() : Handle());
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && FFocusedControl != nullptr && Control->ContainsControl(FFocusedControl))
    FFocusedControl = Control->Parent();
  if (FActiveControl != nullptr && Control->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    if (FHandle != nullptr && Control->HandleAllocated()) {
      HWND Focus = GetFocus();
      if (Focus != nullptr && (Focus == Control->FHandle || IsChild(Control->FHandle, Focus)))
        ::SetFocus(FDestroyingControl ? nullptr : FHandle);
    }
  }
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (ComponentState().Contains(csDestroying) || FDestroyingControl) return false;
  if (Screen != nullptr && Screen->FFocusedForm != this) {
    TCustomForm* Old = Screen->FFocusedForm;
    Screen->FFocusedForm = this;
    if (Old != nullptr) Old->Perform(CM_DEACTIVATE, 0, 0);
    Perform(CM_ACTIVATE, 0, 0);
  }
  if (Control != this) FActiveControl = Control;
  if (Screen != nullptr) {
    Screen->setActiveForm(this);
    Screen->setActiveControl(Control);
  }
  if (FFocusedControl != Control) {
    TWinControl* Old = FFocusedControl;
    // Leave every control from the old focus up to the common ancestor, then enter down to the new.
    while (Old != nullptr && !Old->ContainsControl(Control)) {
      Old->Perform(CM_EXIT, 0, 0);
      if (FFocusedControl != nullptr && GetFocus() != Control->FHandle) return false;
      Old = Old->Parent();
    }
    std::vector<TWinControl*> Chain;
    for (TWinControl* C = Control; C != nullptr && C != Old; C = C->Parent()) Chain.push_back(C);
    FFocusedControl = Control;
    for (auto it = Chain.rbegin(); it != Chain.rend(); ++it)
      if (*it != this) (*it)->Perform(CM_ENTER, 0, 0);
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

// ---- keys ----

bool TCustomForm::IsShortCut(TMessage& Message) {
  TWMKey K;
  K.Msg = Message.Msg;
  K.CharCode = Word(Message.WParam);
  K.KeyData = Message.LParam;
  bool Handled = false;
  if (OnShortCut) OnShortCut(K, Handled);
  if (!Handled && FMenu != nullptr) Handled = FMenu->IsShortCut(Message);
  return Handled;
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl != nullptr && FActiveControl->Parent() != nullptr) {
          FActiveControl->Parent()->SelectNext(
              FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TCustomControl::CMDialogKey(Message);
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActive && FActiveControl != nullptr)
    FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

// ---- dispatch ----

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      WMClose(Message);
      break;
    case WM_ACTIVATE:
      WMActivate(Message);
      break;
    case CM_ACTIVATE:
      CMActivate(Message);
      break;
    case CM_DEACTIVATE:
      CMDeactivate(Message);
      break;
    case CM_RELEASE:
      CMRelease(Message);
      break;
    case WM_MDIACTIVATE:
      WMMDIActivate(Message);
      break;
    case WM_SYSCOMMAND:
      // Minimizing the main form minimizes the application.
      if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Application != nullptr &&
          Application->MainForm() == this) {
        Application->Minimize();
        return;
      }
      TCustomControl::Dispatch(Message);
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}
