// TApplication.
#include "platform/ui/core/application.h"

#include <algorithm>

#include "platform/rtl/files.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/hintwindow.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/dialogs/messagebox.h"

TApplication* Application = nullptr;

namespace {
constexpr UINT_PTR HintActivateTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;
constexpr const char* AppWindowClass = "TApplication";

TMessageBoxFunction& messageBoxFunction() {
  static TMessageBoxFunction F = [](const String& Text, const String& Caption, UINT Flags) {
    return MessageBox(GetActiveWindow(), Text, Caption, Flags);
  };
  return F;
}

// The objects of the class library exist from the start of the program, as in its units.
// Nothing of the other layers is touched while they are made: the loop filter is installed when the
// application first runs messages.
bool gStaticInit = false;
struct TGlobalObjects {
  TGlobalObjects() {
    gStaticInit = true;
    if (Screen == nullptr) new TScreen(nullptr);
    if (Application == nullptr) new TApplication(nullptr);
    gStaticInit = false;
  }
} gGlobalObjects;
}  // namespace

void SetMessageBoxFunction(TMessageBoxFunction Function) {
  messageBoxFunction() = std::move(Function);
}
TMessageBoxFunction GetMessageBoxFunction() {
  return messageBoxFunction();
}

LRESULT applicationWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (Application == nullptr || Application->FHandle != wnd) return DefWindowProc(wnd, msg, wParam, lParam);
  TMessage M;
  M.Msg = msg;
  M.WParam = wParam;
  M.LParam = lParam;
  try {
    Application->wndProc(M);
  } catch (const Exception& E) {
    Application->HandleException(Application, E);
  }
  return M.Result;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
  FIcon->OnChange = [this](TObject*) {
    if (Screen == nullptr || Application != this) return;
    for (Integer i = 0; i < Screen->FormCount(); ++i) Screen->Forms(i)->UpdateIcon();
  };
  if (Application == nullptr) Application = this;
  if (!gStaticInit) Initialize();
}

TApplication::~TApplication() {
  Destroying();
  stopHintTimer();
  FHintControl = nullptr;
  FMouseControl = nullptr;
  FMainForm = nullptr;
  DestroyComponents();
  FHintWindow = nullptr;
  if (FHandle != nullptr && IsWindow(FHandle)) DestroyWindow(FHandle);
  FHandle = nullptr;
  if (Application == this) {
    Application = nullptr;
    SetApplicationMessageFilter(nullptr);
  }
}

void TApplication::Initialize() {
  if (FTitle.empty()) {
    String Exe = ParamStr(0);
    auto Slash = Exe.find_last_of('/');
    FTitle = Slash == String::npos ? Exe : Exe.substr(Slash + 1);
  }
  installFilter();
}

void TApplication::installFilter() {
  if (Application == this) SetApplicationMessageFilter([this](MSG& Msg) { return filterMessage(Msg); });
}

HWND TApplication::Handle() {
  if (FHandle != nullptr && IsWindow(FHandle)) return FHandle;
  WNDCLASS Existing;
  if (!GetClassInfo(GetModuleHandle(nullptr), AppWindowClass, &Existing)) {
    WNDCLASS WC;
    WC.lpfnWndProc = applicationWndProc;
    WC.hInstance = GetModuleHandle(nullptr);
    WC.lpszClassName = AppWindowClass;
    RegisterClass(&WC);
  }
  FHandle = nullptr;
  // The procedure checks the handle, which is known only once CreateWindowEx returns.
  HWND Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, AppWindowClass, FTitle.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandle(nullptr), nullptr);
  if (Wnd == nullptr) throw EOSError("Error creating window");
  FHandle = Wnd;
  return FHandle;
}

void TApplication::SetTitle(const String& Value) {
  FTitle = Value;
  if (FHandle != nullptr && IsWindow(FHandle)) SetWindowText(FHandle, Value.c_str());
}

String TApplication::ExeName() const {
  return ParamStr(0);
}

// ---- the loop ----

void TApplication::Run() {
  installFilter();
  if (FMainForm != nullptr && FShowMainForm) {
    if (FMainForm->WindowState() == wsMinimized)
      Minimize();
    else
      FMainForm->SetVisible(true);
  }
  while (!FTerminate) HandleMessage();
}

bool TApplication::ProcessMessage() {
  installFilter();
  bool Quit = false;
  bool Got = WinProcessMessage(&Quit);
  if (Quit) FTerminate = true;
  return Got || Quit;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage() && !FTerminate) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) idle();
}

void TApplication::idle() {
  doMouseIdle();
  TControlCanvas::FreeDeviceContexts();
  bool Done = true;
  try {
    if (OnIdle) OnIdle(this, Done);
  } catch (const Exception& E) {
    HandleException(this, E);
  }
  if (Done && !FTerminate) WaitMessage();
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

void TApplication::Minimize() {
  if (FMainForm != nullptr && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (FMainForm != nullptr && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_RESTORE);
  if (OnRestore) OnRestore(this);
}

// Every message the layer's loops take comes here first: filters, OnMessage, hints, key
// preprocessing, then translation and dispatch, then mouse tracking. Nothing escapes as an exception.
bool TApplication::filterMessage(MSG& Msg) {
  try {
    bool Handled = false;
    auto Filters = FFilters;
    for (auto& F : Filters)
      if (F.second(Msg)) {
        Handled = true;
        break;
      }
    if (!Handled && OnMessage) OnMessage(Msg, Handled);
    if (!Handled) {
      isHintMsg(Msg);
      if (!isKeyMsg(Msg)) {
        TranslateMessage(&Msg);
        DispatchMessage(&Msg);
      }
    }
  } catch (const Exception& E) {
    HandleException(this, E);
  }
  if ((Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) ||
      (Msg.message >= WM_NCMOUSEMOVE && Msg.message <= WM_NCMBUTTONDBLCLK)) {
    try {
      doMouseIdle();
    } catch (const Exception& E) {
      HandleException(this, E);
    }
  }
  return true;
}

// Keys go to their control as CN_ notifications first (menu shortcuts, dialog keys); a control that
// answers non-zero has taken the key and the window never sees it.
bool TApplication::isKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND Wnd = Msg.hwnd;
  while (Wnd != nullptr && FindControl(Wnd) == nullptr) Wnd = GetParent(Wnd);
  if (Wnd == nullptr) return false;
  return SendMessage(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

// ---- exceptions ----

void TApplication::HandleException(TObject* Sender, const Exception& E) {
  if (dynamic_cast<const EAbort*>(&E) != nullptr) return;
  if (OnException)
    OnException(Sender, E);
  else
    ShowException(E);
}

void TApplication::ShowException(const Exception& E) {
  String Msg = E.Message();
  if (!Msg.empty() && Msg.back() != '.') Msg += '.';
  MessageBox(Msg, FTitle, MB_OK | MB_ICONHAND);
}

Integer TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  TMessageBoxFunction F = messageBoxFunction();
  return F ? F(Text, Caption, Flags) : Integer(mrOk);
}

// ---- filters and hooks ----

Integer TApplication::AddMessageFilter(TApplicationMessageFilter Filter) {
  Integer Id = FNextId++;
  FFilters.emplace_back(Id, std::move(Filter));
  return Id;
}

void TApplication::RemoveMessageFilter(Integer Id) {
  std::erase_if(FFilters, [Id](auto& F) { return F.first == Id; });
}

Integer TApplication::HookMainWindow(TWindowHook Hook) {
  Integer Id = FNextId++;
  FWindowHooks.emplace_back(Id, std::move(Hook));
  return Id;
}

void TApplication::UnhookMainWindow(Integer Id) {
  std::erase_if(FWindowHooks, [Id](auto& H) { return H.first == Id; });
}

void TApplication::wndProc(TMessage& Message) {
  auto Hooks = FWindowHooks;
  for (auto& H : Hooks)
    if (H.second(Message)) return;
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == HintActivateTimer) {
        stopHintTimer();
        POINT P;
        GetCursorPos(&P);
        ActivateHint(P);
        return;
      }
      if (Message.WParam == HintHideTimer) {
        HideHint();
        return;
      }
      break;
    case WM_ACTIVATEAPP:
      FActive = Message.WParam != 0;
      if (FActive) {
        if (OnActivate) OnActivate(this);
      } else {
        CancelHint();
        if (OnDeactivate) OnDeactivate(this);
      }
      break;
    default:
      break;
  }
  Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---- mouse tracking ----

// The control under the cursor changed: the old one hears CM_MOUSELEAVE, the new one CM_MOUSEENTER.
// While the mouse is captured nothing is said; the change is told once the capture ends.
void TApplication::doMouseIdle() {
  if (GetCapture() != nullptr) return;
  POINT P;
  GetCursorPos(&P);
  TControl* Control = FindDragTarget(P, true);
  if (Control != nullptr && Control->ComponentState().Contains(csDesigning)) Control = nullptr;
  if (Control == FMouseControl) return;
  TControl* Old = FMouseControl;
  FMouseControl = Control;
  if (Old != nullptr) Old->Perform(CM_MOUSELEAVE, 0, 0);
  // A leave handler may free the new control; look it up again.
  if (FMouseControl == Control && Control != nullptr) Control->Perform(CM_MOUSEENTER, 0, 0);
  String H;
  for (TControl* C = FMouseControl; C != nullptr && H.empty(); C = C->Parent()) H = C->Hint();
  SetHint(GetLongHint(H));
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (FHintControl == Control) {
    FHintControl = nullptr;
    CancelHint();
  }
  if (FMainForm == Control) FMainForm = nullptr;
  if (FHintWindow == Control) FHintWindow = nullptr;
}

// ---- hints ----

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) {
    CancelHint();
    delete FHintWindow;
    FHintWindow = nullptr;
  }
}

void TApplication::startHintTimer(Integer Value, UINT_PTR Kind) {
  stopHintTimer();
  FHintTimer = Kind;
  SetTimer(Handle(), Kind, UINT(std::max(Value, 1)), nullptr);
}

void TApplication::stopHintTimer() {
  if (FHintTimer == 0) return;
  if (FHandle != nullptr && IsWindow(FHandle)) KillTimer(FHandle, FHintTimer);
  FHintTimer = 0;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  if (ComponentState().Contains(csDestroying)) return;
  TPoint P = Control->ClientToScreen(LParamToPoint(Message.LParam));
  TControl* NewHintControl = FindDragTarget(P, false);
  while (NewHintControl != nullptr && !NewHintControl->ShowHint()) NewHintControl = NewHintControl->Parent();
  if (NewHintControl == nullptr || !FShowHint) {
    CancelHint();
    return;
  }
  if (NewHintControl == FHintControl && PtInRect(&FHintCursorRect, P)) return;
  // Moving on from a shown hint reshows quickly.
  Integer Pause = FHintActive ? FHintShortPause : FHintPause;
  if (FHintWindow != nullptr && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
    FHintWindow->ReleaseHandle();
  FHintControl = NewHintControl;
  if (FHintControl->Parent() != nullptr || dynamic_cast<TWinControl*>(FHintControl) != nullptr) {
    TRect R = FHintControl->ClientRect();
    TPoint O = FHintControl->ClientToScreen({0, 0});
    FHintCursorRect = Bounds(O.X, O.Y, R.Width(), R.Height());
  }
  startHintTimer(Pause, HintActivateTimer);
}

void TApplication::ActivateHint(TPoint CursorPos) {
  stopHintTimer();
  if (FHintControl == nullptr || !FShowHint) return;
  THintInfo Info;
  Info.HintControl = FHintControl;
  Info.HintPos = {CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR)};
  Info.HintMaxWidth = Screen != nullptr ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
  Info.HintColor = FHintColor;
  Info.CursorRect = FHintCursorRect;
  Info.CursorPos = FHintControl->ScreenToClient(CursorPos);
  Info.HideTimeout = FHintHidePause;
  String H;
  for (TControl* C = FHintControl; C != nullptr && H.empty(); C = C->Parent()) H = C->Hint();
  Info.HintStr = GetShortHint(H);
  bool CanShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)) == 0;
  if (CanShow && OnShowHint) OnShowHint(Info.HintStr, CanShow, Info);
  if (FHintControl == nullptr) return;  // freed by a handler
  FHintActive = CanShow && !Info.HintStr.empty();
  if (!FHintActive) {
    HideHint();
    return;
  }
  if (FHintWindow == nullptr) FHintWindow = HintWindowClass(this);
  FHintWindow->SetColor(Info.HintColor);
  TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr);
  OffsetRect(&R, Info.HintPos.X, Info.HintPos.Y);
  FHintCursorRect = Info.CursorRect;
  FHintWindow->ActivateHint(R, Info.HintStr);
  if (Info.HideTimeout > 0) startHintTimer(Info.HideTimeout, HintHideTimer);
}

void TApplication::HideHint() {
  stopHintTimer();
  if (FHintWindow != nullptr) FHintWindow->ReleaseHandle();
}

void TApplication::CancelHint() {
  if (FHintControl != nullptr || FHintActive) HideHint();
  stopHintTimer();
  FHintControl = nullptr;
  FHintActive = false;
}

// Input that shows the user is doing something else takes the hint away.
void TApplication::isHintMsg(const MSG& Msg) {
  if (!FHintActive && FHintTimer == 0) return;
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_ACTIVATEAPP:
    case WM_MOUSEWHEEL:
      CancelHint();
      break;
    default:
      break;
  }
}
