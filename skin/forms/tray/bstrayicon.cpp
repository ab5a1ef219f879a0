#include "skin/forms/tray/bstrayicon.h"

#include <algorithm>

#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "skin/core/bsmessages.h"

namespace {
constexpr const char* TrayWindowClass = "TbsTrayIconWindow";
// The main form's mark while it is hidden to or restored from the tray.
constexpr Integer TrayRestoreTag = -10000;

// Registered on every use: the window system may have been made again since (a second
// registration is refused and changes nothing).
void registerTrayWindowClass() {
  WNDCLASS WC;
  WC.lpfnWndProc = DefWindowProc;
  WC.lpszClassName = TrayWindowClass;
  RegisterClass(&WC);
}

// The first Count characters a user sees.
String firstChars(const String& S, Integer Count) {
  return Utf8Copy(S, 0, Count);
}

DWORD infoFlags(TbsBalloonHintIcon Kind) {
  switch (Kind) {
    case bsbitInfo:
      return NIIF_INFO;
    case bsbitWarning:
      return NIIF_WARNING;
    case bsbitError:
      return NIIF_ERROR;
    default:
      return NIIF_NONE;
  }
}
}  // namespace

UINT TaskbarCreatedMessage() {
  return RegisterWindowMessage("TaskbarCreated");
}

TbsTrayIcon::TbsTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
  TaskbarCreatedMessage();
  registerTrayWindowClass();
  HWND Wnd =
      CreateWindowEx(0, TrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (Wnd) {
    SetWindowLongPtr(Wnd, GWLP_USERDATA, LONG_PTR(this));
    SetWindowLongPtr(Wnd, GWLP_WNDPROC,
                     reinterpret_cast<LONG_PTR>(static_cast<WNDPROC>(&TbsTrayIcon::iconWndProc)));
  }
  IconData.hWnd = Wnd;
  IconData.uID = TrayIconId;
  IconData.uFlags = DefaultFlags;
  IconData.uCallbackMessage = WM_TRAYNOTIFY;
  FWindowHandle = Wnd ? HWND(GetWindowLongPtr(Wnd, GWL_HWNDPARENT)) : nullptr;
  AnimateTimer = new TTimer(this);
  AnimateTimer->SetEnabled(false);
  AnimateTimer->SetInterval(FAnimateTimerInterval);
  AnimateTimer->OnTimer = [this](TObject* S) { TimerCycle(S); };
  ClickTimer = new TTimer(this);
  ClickTimer->SetEnabled(false);
  ClickTimer->SetInterval(GetDoubleClickTime());
  ClickTimer->OnTimer = [this](TObject* S) { TimerClick(S); };
  if (running()) {
    if (!FIcon->HandleAllocated() && LoadDefaultIcon() && Application && Application->Icon())
      FIcon->Assign(Application->Icon());
    HookApp();
    HookParent();
  }
}

TbsTrayIcon::~TbsTrayIcon() {
  // The owner form's engine keeps us as its tray icon: it must not reach a freed component.
  if (auto* F = dynamic_cast<TCustomForm*>(Owner()))
    if (TbsSkinForm* E = GetSkinFormOf(F))
      if (auto* M = dynamic_cast<TbsFormMenus*>(E->MenuTracking()); M && M->TrayIcon() == this)
        M->SetTrayIcon(nullptr);
  SetIconVisible(false);
  SetDesignPreview(false);
  if (running()) UnhookApp();
  if (FParentHookAlive) *FParentHookAlive = false;
  if (IconData.hWnd) {
    SetWindowLongPtr(IconData.hWnd, GWLP_USERDATA, 0);
    DestroyWindow(IconData.hWnd);
  }
}

TWinControl* TbsTrayIcon::ownerControl() const {
  return dynamic_cast<TWinControl*>(Owner());
}

// ---- properties ----

void TbsTrayIcon::SetDesignPreview(bool Value) {
  FDesignPreview = Value;
  SettingPreview = true;  // shows or hides the icon without changing the stored IconVisible
  SetIconVisible(Value);
  SettingPreview = false;
}

void TbsTrayIcon::SetIconList(TCustomImageList* Value) {
  if (FIconList) FIconList->RemoveFreeNotification(this);
  FIconList = Value;
  if (FIconList) FIconList->FreeNotification(this);
  SetIconIndex(0);
}

void TbsTrayIcon::SetCycleIcons(bool Value) {
  FCycleIcons = Value;
  if (Value) SetIconIndex(0);
  AnimateTimer->SetEnabled(Value);
}

void TbsTrayIcon::SetAnimateTimerInterval(Cardinal Value) {
  FAnimateTimerInterval = Value;
  AnimateTimer->SetInterval(Value);
}

void TbsTrayIcon::SetHint(const String& Value) {
  FHint = Value;
  ModifyIcon();
}

void TbsTrayIcon::SetShowHint(bool Value) {
  FShowHint = Value;
  ModifyIcon();
}

void TbsTrayIcon::SetIcon(TIcon* Value) {
  FIcon->Assign(Value);
  ModifyIcon();
}

void TbsTrayIcon::SetIconVisible(bool Value) {
  if (Value)
    ShowIcon();
  else
    HideIcon();
}

void TbsTrayIcon::SetIconIndex(Integer Value) {
  if (FIconList) {
    FIconIndex = std::min(Value, FIconList->Count() - 1);
    if (FIconIndex >= 0) FIconList->GetIcon(FIconIndex, FIcon.get());
  } else {
    FIconIndex = 0;
  }
  ModifyIcon();
}

void TbsTrayIcon::SetSkinPopupMenu(TbsSkinPopupMenu* Value) {
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TbsTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FIconList) FIconList = nullptr;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TbsTrayIcon::Loaded() {
  TComponent::Loaded();
  if (running() && ownerControl() && FMinimizedOnStart) {
    FIconVisible = true;
    FMinimizeToTray = true;
    Application->SetShowMainForm(false);
    ShowWindow(Application->Handle(), SW_HIDE);
  }
  ModifyIcon();
  SetIconVisible(FIconVisible);
}

// ---- the tray calls ----

bool TbsTrayIcon::InitIcon() {
  if (!running() && !SettingPreview && !FDesignPreview) return false;
  IconData.hIcon = FIcon->Handle();
  IconData.szTip = !FHint.empty() && FShowHint ? firstChars(FHint, NotifyTipLength) : String();
  return true;
}

bool TbsTrayIcon::notify(DWORD Message) {
  if (!InitIcon()) return false;
  return Shell_NotifyIcon(Message, &IconData);
}

bool TbsTrayIcon::ShowIcon() {
  if (!SettingPreview) FIconVisible = true;
  if (!running() && !SettingPreview) return false;
  return notify(NIM_ADD);
}

bool TbsTrayIcon::HideIcon() {
  if (!SettingPreview) FIconVisible = false;
  if (!running() && !SettingPreview) return false;
  return notify(NIM_DELETE);
}

bool TbsTrayIcon::ModifyIcon() {
  return notify(NIM_MODIFY);
}

bool TbsTrayIcon::HideBalloonHint() {
  IconData.uFlags |= NIF_INFO;
  IconData.szInfo.clear();
  return ModifyIcon();
}

bool TbsTrayIcon::ShowBalloonHint(const String& Title, const String& Text, TbsBalloonHintIcon IconType) {
  HideBalloonHint();
  IconData.uFlags |= NIF_INFO;
  IconData.szInfo = firstChars(Text, NotifyInfoLength);
  IconData.szInfoTitle = firstChars(Title, NotifyInfoTitleLength);
  IconData.dwInfoFlags = infoFlags(IconType);
  const bool Result = ModifyIcon();
  IconData.uFlags = DefaultFlags;
  return Result;
}

bool TbsTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* AIcon, TColor MaskColor) {
  TCustomImageList List(nullptr, 16, 16);
  List.AddMasked(Bitmap, MaskColor);
  List.GetIcon(0, AIcon);
  return true;
}

// ---- the main form ----

void TbsTrayIcon::ShowMainForm() {
  if (!ownerControl() || !Application->MainForm()) return;
  TCustomForm* F = Application->MainForm();
  ShowWindow(Application->Handle(), SW_RESTORE);
  F->SetVisible(true);
  if (F->WindowState() == wsMinimized) F->SetWindowState(wsNormal);
  F->SetTag(TrayRestoreTag);
  PostMessage(F->Handle(), WM_TRAYRESTORED, 0, 0);
}

void TbsTrayIcon::HideMainForm() {
  if (!ownerControl() || !Application->MainForm()) return;
  Application->MainForm()->SetVisible(false);
  ShowWindow(Application->Handle(), SW_HIDE);
  Application->MainForm()->SetTag(TrayRestoreTag);
}

void TbsTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}

// ---- events ----

void TbsTrayIcon::Click() {
  if (OnClick) OnClick(this);
}
void TbsTrayIcon::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TbsTrayIcon::DoCycle() {
  if (!OnCycle) return;
  const Integer Next = !FIconList || FIconIndex >= FIconList->Count() - 1 ? 0 : FIconIndex + 1;
  OnCycle(this, Next);
}
void TbsTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TbsTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TbsTrayIcon::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

TShiftState TbsTrayIcon::GetShiftState() {
  TShiftState S;
  if (GetAsyncKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetAsyncKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (GetAsyncKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

// ---- the hidden window ----

LRESULT TbsTrayIcon::iconWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Self = reinterpret_cast<TbsTrayIcon*>(GetWindowLongPtr(Wnd, GWLP_USERDATA));
  if (!Self) return DefWindowProc(Wnd, Msg, WParam, LParam);
  return Self->IconWndProc(Msg, WParam, LParam);
}

LRESULT TbsTrayIcon::IconWndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_TRAYNOTIFY:
      if (FEnabled) iconCallback(UINT(LParam));
      return 0;
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY:
      return 1;
    default:
      return DefWindowProc(IconData.hWnd, Msg, WParam, LParam);
  }
}

void TbsTrayIcon::iconCallback(UINT Event) {
  TShiftState Shift = GetShiftState();
  POINT P{};
  GetCursorPos(&P);
  const Integer X = P.X, Y = P.Y;
  switch (Event) {
    case WM_MOUSEMOVE:
      MouseMove(Shift, X, Y);
      break;
    case WM_LBUTTONDOWN:
      ClickTimer->SetEnabled(true);
      Shift.Include(ssLeft);
      MouseDown(mbLeft, Shift, X, Y);
      FClickStart = true;
      if (FPopupByLeftButton) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (FClickStart) {
        FClickReady = true;
        if (!ClickTimer->Enabled()) {
          FClickStart = false;
          FClickReady = false;
          Click();
        }
      }
      FClickStart = false;
      Shift.Include(ssLeft);
      MouseUp(mbLeft, Shift, X, Y);
      break;
    case WM_LBUTTONDBLCLK:
      FClickReady = false;
      IsDblClick = true;
      DblClick();
      if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) {
        TMenuItem* Items = FPopupMenu->Items();
        for (Integer I = 0; I < Items->Count(); ++I)
          if (Items->Items(I)->Default()) {
            Items->Items(I)->Click();
            break;
          }
      }
      break;
    case WM_RBUTTONDOWN:
      Shift.Include(ssRight);
      MouseDown(mbRight, Shift, X, Y);
      PopupAtCursor();
      break;
    case WM_RBUTTONUP:
      Shift.Include(ssRight);
      MouseUp(mbRight, Shift, X, Y);
      break;
    case WM_MBUTTONDOWN:
      Shift.Include(ssMiddle);
      MouseDown(mbMiddle, Shift, X, Y);
      break;
    case WM_MBUTTONUP:
      Shift.Include(ssMiddle);
      MouseUp(mbMiddle, Shift, X, Y);
      break;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      break;
    default:
      break;
  }
}

void TbsTrayIcon::TimerClick(TObject*) {
  ClickTimer->SetEnabled(false);
  if (!IsDblClick && FClickReady) {
    FClickReady = false;
    Click();
  }
  IsDblClick = false;
}

void TbsTrayIcon::TimerCycle(TObject*) {
  if (!FIconList) return;
  if (FIconIndex >= 0 && FIconIndex < FIconList->Count()) FIconList->GetIcon(FIconIndex, FIcon.get());
  DoCycle();
  ModifyIcon();
  FIconIndex = FIconIndex >= FIconList->Count() - 1 ? 0 : FIconIndex + 1;
}

void TbsTrayIcon::PopupAtCursor() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
  POINT P{};
  if (!GetCursorPos(&P)) return;
  Application->ProcessMessages();
  SetForegroundWindow(IconData.hWnd);
  TWinControl* Owner = ownerControl();
  if (Owner && Owner->HandleAllocated()) SetForegroundWindow(Owner->Handle());
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(P.X, P.Y);
  if (Owner && Owner->HandleAllocated()) PostMessage(Owner->Handle(), WM_NULL, 0, 0);
}

// ---- hooks ----

void TbsTrayIcon::HookApp() {
  if (!Application || FAppHook != -1) return;
  FAppHook = Application->HookMainWindow([this](TMessage& M) { return AppWndProc(M); });
}

void TbsTrayIcon::UnhookApp() {
  if (Application && FAppHook != -1) Application->UnhookMainWindow(FAppHook);
  FAppHook = -1;
}

bool TbsTrayIcon::AppWndProc(TMessage& Message) {
  if (Message.Msg == WM_SIZE && Message.WParam == SIZE_MINIMIZED && FMinimizeToTray) {
    DoMinimizeToTray();
  } else if (Message.Msg == WM_WINDOWPOSCHANGED && SettingMDIForm && Application->MainForm()) {
    if (auto* F = dynamic_cast<TForm*>(Application->MainForm());
        F && F->FormStyle() == fsMDIForm && FMinimizedOnStart)
      ShowWindow(Application->Handle(), SW_HIDE);
    SettingMDIForm = false;
  } else if (Message.Msg == TaskbarCreatedMessage() && FIconVisible) {
    ShowIcon();  // the tray was made again: our icon is not in it
  }
  return false;  // everything goes on to the application's own handling
}

void TbsTrayIcon::HookParent() {
  TWinControl* Owner = ownerControl();
  if (!Owner) return;
  FParentHookAlive = std::make_shared<bool>(true);
  // Never unhooked by restoring the old procedure: another hook may have chained onto ours since.
  Owner->WindowProc = [Alive = FParentHookAlive, Old = Owner->WindowProc, this](TMessage& M) {
    if (*Alive) ParentWndProc(M);
    if (Old) Old(M);
  };
}

void TbsTrayIcon::ParentWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      if (LOWORD(Message.WParam) == WA_ACTIVE || LOWORD(Message.WParam) == WA_CLICKACTIVE) {
        TWinControl* C = Screen ? Screen->ActiveControl() : nullptr;
        if (C) {
          TWinControl* P = C->Parent() ? C->Parent() : C;
          if (P->HandleAllocated() && LPARAM(P->Handle()) != Message.LParam && C->CanFocus()) C->SetFocus();
        }
      }
      break;
    case WM_SHOWWINDOW:
      if (Message.WParam == 1 && Message.LParam == 0) {
        ShowWindow(Application->Handle(), SW_RESTORE);
        SetForegroundWindow(Application->Handle());
        if (auto* O = ownerControl(); O && O->HandleAllocated()) SetForegroundWindow(O->Handle());
      }
      break;
    case WM_SIZE:
      // Our layer minimizes the application by minimizing its main form, which the application's own
      // window never hears of.
      if (Message.WParam == SIZE_MINIMIZED && FMinimizeToTray && Application->MainForm() == Owner())
        DoMinimizeToTray();
      break;
    default:
      break;
  }
}
