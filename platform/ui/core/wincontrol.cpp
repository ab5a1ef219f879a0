// TWinControl: the window of a control, its children, alignment, focus, keys and painting.
#include "platform/ui/core/wincontrol.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/text.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/menus/menu.h"

namespace {
std::unordered_map<HWND, TWinControl*>& handleMap() {
  static std::unordered_map<HWND, TWinControl*> Map;
  return Map;
}
// The control whose CreateWindowEx is running: its first messages come before the handle is known.
TWinControl* gCreationControl = nullptr;

constexpr const char* SParentRequired = "Control '%s' has no parent window";
constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";

// The leading fields of the notification records, as the platform lays them out.
struct TNotifyHeader {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
struct TOwnerDrawHeader {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
};
constexpr UINT OwnerDrawMenu = 1;  // ODT_MENU: the item is a menu's, no control sent it

bool isNotification(UINT Msg) {
  return Msg == WM_COMMAND || Msg == WM_NOTIFY || Msg == WM_DRAWITEM || Msg == WM_MEASUREITEM ||
         (Msg >= WM_CTLCOLORMSGBOX && Msg <= WM_CTLCOLORSTATIC);
}
}  // namespace

TWinControl* FindControl(HWND Handle) {
  if (Handle == nullptr) return nullptr;
  auto it = handleMap().find(Handle);
  return it == handleMap().end() ? nullptr : it->second;
}

LRESULT ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* C = FindControl(wnd);
  if (C == nullptr) {
    if (gCreationControl == nullptr) return DefWindowProc(wnd, msg, wParam, lParam);
    C = gCreationControl;
    C->FHandle = wnd;
    handleMap()[wnd] = C;
  }
  TMessage M;
  M.Msg = msg;
  M.WParam = wParam;
  M.LParam = lParam;
  // An exception leaves no window procedure: the application reports it and the loop goes on.
  try {
    if (C->WindowProc)
      C->WindowProc(M);
    else
      C->WndProc(M);
  } catch (const Exception& E) {
    if (Application != nullptr)
      Application->HandleException(C, E);
    else
      throw;
  }
  if (msg == WM_NCDESTROY) {
    handleMap().erase(wnd);
    if (C->FHandle == wnd) C->FHandle = nullptr;
  }
  return M.Result;
}

// ---- construction ----

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FColor = clBtnFace;
  FDefWndProc = DefWindowProc;
}

TWinControl::~TWinControl() {
  FDestroyingControl = true;
  Destroying();
  if (TCustomForm* Form = GetParentForm(this); Form != nullptr && Form != this)
    Form->DefocusControl(this, true);
  // Children go first (whoever owns them), each leaving our lists as it goes.
  // Overrides of derived classes are gone: messages from here on reach this class only.
  WindowProc = [this](TMessage& M) { TWinControl::WndProc(M); };
  while (!FWinControls.empty() || !FControls.empty()) {
    TControl* C = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    removeFromLists(C);
    C->FParent = nullptr;
    delete C;
  }
  DestroyHandle();
  SetParent(nullptr);
}

TControl* TWinControl::Controls(Integer Index) const {
  Integer N = Integer(FControls.size());
  if (Index < 0 || Index >= ControlCount())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  if (Index < N) return FControls[size_t(Index)];
  return FWinControls[size_t(Index - N)];
}

void TWinControl::insertIntoLists(TControl* AControl) {
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(W);
    FTabList.push_back(W);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
}

void TWinControl::removeFromLists(TControl* AControl) {
  auto erase = [](auto& L, auto* X) {
    auto it = std::find(L.begin(), L.end(), X);
    if (it != L.end()) L.erase(it);
  };
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    erase(FWinControls, W);
    erase(FTabList, W);
  } else {
    erase(FControls, AControl);
  }
  AControl->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  if (AControl->FParent != nullptr) AControl->FParent->RemoveControl(AControl);
  insertIntoLists(AControl);
  if (!ComponentState().Contains(csLoading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) W->UpdateShowing();
  AControl->UpdateAnchorRules();
  AlignControl(AControl);
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    if (TCustomForm* Form = GetParentForm(this)) Form->DefocusControl(W, true);
    W->DestroyHandle();
  } else {
    AControl->Invalidate();
  }
  removeFromLists(AControl);
  if (GetCaptureControl() == AControl) SetCaptureControl(nullptr);
  Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
  while (Control != nullptr && Control != this) Control = Control->Parent();
  return Control == this;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
  auto hit = [&](TControl* C) {
    TRect R = C->BoundsRect();
    if (!PtInRect(&R, Pos)) return false;
    if (!C->Visible() && !C->ComponentState().Contains(csDesigning)) return false;
    if (!C->Enabled() && !AllowDisabled) return false;
    TPoint P{Pos.X - C->Left(), Pos.Y - C->Top()};
    return C->Perform(CM_HITTEST, 0, PointToLParam(P)) != 0;
  };
  if (AllowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  // A handler may change the lists: walk a copy.
  std::vector<TControl*> All(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* C : All) {
    C->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(Cardinal Msg) {
  TMessage M;
  M.Msg = Msg;
  Broadcast(M);
}

// ---- the window ----

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent != nullptr ? FParent->Handle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProc;
  Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl* Saved = gCreationControl;
  gCreationControl = this;
  HWND Wnd = nullptr;
  try {
    Wnd = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                         Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                         GetModuleHandle(nullptr), Params.Param);
  } catch (...) {
    gCreationControl = Saved;
    throw;
  }
  gCreationControl = Saved;
  if (Wnd == nullptr) throw EOSError("Error creating window");
  FHandle = Wnd;
  handleMap()[Wnd] = this;
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if (Params.WndParent == nullptr && (Params.Style & WS_CHILD) != 0)
    throw EInvalidOperation(Format(SParentRequired, {Name()}));
  FDefWndProc = Params.WindowClass.lpfnWndProc != nullptr ? Params.WindowClass.lpfnWndProc : DefWindowProc;
  // Every control class is registered once with the router as its procedure; the class's own
  // procedure stays the default handler.
  WNDCLASS Existing;
  if (!GetClassInfo(GetModuleHandle(nullptr), Params.WinClassName.c_str(), &Existing)) {
    WNDCLASS WC = Params.WindowClass;
    WC.lpfnWndProc = ControlWndProc;
    WC.hInstance = GetModuleHandle(nullptr);
    WC.lpszClassName = Params.WinClassName.c_str();
    if (RegisterClass(&WC) == 0) throw EOutOfResources("Unable to register the window class");
  }
  CreateWindowHandle(Params);
}

void TWinControl::CreateHandle() {
  if (FHandle != nullptr) return;
  FCreatingWindow = true;
  FControlState.Include(csCreating);
  try {
    CreateWnd();
  } catch (...) {
    FCreatingWindow = false;
    FControlState.Exclude(csCreating);
    throw;
  }
  FCreatingWindow = false;
  FControlState.Exclude(csCreating);
  CreateWindowCreated();
  // Children that are showing get their windows now, in z-order.
  auto Children = FWinControls;
  for (TWinControl* W : Children) {
    if (W->Visible() && W->FHandle == nullptr) W->UpdateShowing();
    if (W->FHandle != nullptr)
      SetWindowPos(W->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle != nullptr) return;
  if (FParent != nullptr) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::DestroyWindowHandle() {
  HWND Wnd = FHandle;
  if (Wnd == nullptr) return;
  ::DestroyWindow(Wnd);
  handleMap().erase(Wnd);
  FHandle = nullptr;
}

void TWinControl::DestroyWnd() {
  // The text lives in FText already; only the window goes.
  DestroyWindowHandle();
}

void TWinControl::DestroyHandle() {
  if (FHandle == nullptr) return;
  for (TWinControl* W : FWinControls) W->DestroyHandle();
  FControlState.Include(csDestroyingHandle);
  DestroyWnd();
  FControlState.Exclude(csDestroyingHandle);
  FShowing = false;
}

void TWinControl::RecreateWnd() {
  if (FHandle == nullptr) return;
  DestroyHandle();
  UpdateShowing();
  if (FHandle == nullptr && (FParent == nullptr || FParent->HandleAllocated())) HandleNeeded();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent != nullptr || FParentWindow == Value) return;
  DestroyHandle();
  FParentWindow = Value;
  UpdateShowing();
}

bool TWinControl::Showing() const {
  return FShowing;
}

// Creates the window when the control becomes visible inside a showing parent, and shows or hides
// it (children follow their parent).
void TWinControl::UpdateShowing() {
  bool ShowIt =
      FVisible && (FParent != nullptr ? FParent->FShowing : (FParentWindow != nullptr || TopLevelWindow()));
  if (ShowIt && FHandle == nullptr) CreateHandle();
  if (FShowing == ShowIt) return;
  FShowing = ShowIt;
  try {
    Perform(CM_SHOWINGCHANGED, 0, 0);
  } catch (...) {
    FShowing = !ShowIt;
    throw;
  }
  auto Children = FWinControls;
  for (TWinControl* W : Children) W->UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (FHandle == nullptr) return;
  SetWindowPos(
      FHandle, nullptr, 0, 0, 0, 0,
      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMRecreateWnd(TMessage&) {
  RecreateWnd();
}

// ---- messages ----

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* Form = GetParentForm(this); Form != nullptr) {
        if (!Form->SetFocusedControl(this)) return;
      }
      break;
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (IsControlMouseMsg(Message)) {
        if (Message.Result == 0 && FHandle != nullptr)
          DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    default:
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  if (isNotification(Message.Msg) && ReflectNotification(Message)) return;
  switch (Message.Msg) {
    case WM_PAINT:
      WMPaint(Message);
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_MOVE:
      WMMove(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_SETCURSOR:
      WMSetCursor(Message);
      break;
    case WM_KEYDOWN:
      WMKeyDown(Message);
      break;
    case WM_SYSKEYDOWN:
      WMSysKeyDown(Message);
      break;
    case WM_KEYUP:
      WMKeyUp(Message);
      break;
    case WM_SYSKEYUP:
      WMSysKeyUp(Message);
      break;
    case WM_CHAR:
      WMChar(Message);
      break;
    case WM_NCDESTROY:
      WMNCDestroy(Message);
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      CNKeyDown(Message);
      break;
    case CN_KEYUP:
      CNKeyUp(Message);
      break;
    case CN_CHAR:
    case CN_SYSCHAR:
      CNChar(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    case CM_CHILDKEY:
      CMChildKey(Message);
      break;
    case CM_FOCUSCHANGED:
      CMFocusChanged(Message);
      break;
    case CM_ENTER:
      CMEnter(Message);
      break;
    case CM_EXIT:
      CMExit(Message);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    case CM_RECREATEWND:
      CMRecreateWnd(Message);
      break;
    case CM_SHOWHINTCHANGED:
      NotifyControls(CM_PARENTSHOWHINTCHANGED);
      break;
    case CM_CURSORCHANGED:
      break;
    case WM_CONTEXTMENU: {
      // A windowless child under the point has the first say.
      if (Message.Result == 0 && FHandle != nullptr) {
        TPoint P = LParamToPoint(Message.LParam);
        if (!(P.X == -1 && P.Y == -1)) {
          if (TControl* C = ControlAtPos(ScreenToClient(P), false)) {
            Message.Result = C->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
            if (Message.Result != 0) return;
          }
        }
      }
      TControl::Dispatch(Message);
      break;
    }
    default:
      TControl::Dispatch(Message);
      break;
  }
}

bool TWinControl::ReflectNotification(TMessage& Message) {
  HWND Source = nullptr;
  switch (Message.Msg) {
    case WM_NOTIFY:
      if (Message.LParam != 0) Source = reinterpret_cast<const TNotifyHeader*>(Message.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      if (auto* D = reinterpret_cast<const TOwnerDrawHeader*>(Message.LParam);
          D != nullptr && D->CtlType != OwnerDrawMenu)
        Source = D->hwndItem;
      break;
    case WM_MEASUREITEM:
      // The record names the item's control by its id only.
      if (auto* D = reinterpret_cast<const TOwnerDrawHeader*>(Message.LParam);
          D != nullptr && D->CtlType != OwnerDrawMenu)
        for (TWinControl* W : FWinControls)
          if (W->FHandle != nullptr && UINT(GetWindowLongPtr(W->FHandle, GWL_ID)) == D->CtlID)
            Source = W->FHandle;
      break;
    default:  // WM_COMMAND and WM_CTLCOLOR*: the child window comes in LParam
      Source = reinterpret_cast<HWND>(Message.LParam);
      break;
  }
  TWinControl* Control = FindControl(Source);
  if (Control == nullptr || Control == this) return false;
  // Sent through the child's window, so whoever hooks that window sees the reflection.
  Message.Result = SendMessage(Source, CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle == nullptr) return;
  // Control notifications have no platform meaning; the window's own procedure never sees them.
  if (Message.Msg >= CM_BASE && Message.Msg < CN_BASE + 0x400) return;
  Message.Result = CallWindowProc(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  FShowing = false;
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* Control = nullptr;
  if (FHandle != nullptr && GetCapture() == FHandle) {
    TControl* Cap = GetCaptureControl();
    if (Cap != nullptr && Cap != this && Cap->Parent() == this) Control = Cap;
  } else {
    Control = ControlAtPos(LParamToPoint(Message.LParam), false);
  }
  if (Control == nullptr) return false;
  TPoint P = LParamToPoint(Message.LParam);
  P.X -= Control->Left();
  P.Y -= Control->Top();
  Message.Result = Control->Perform(Message.Msg, Message.WParam, PointToLParam(P));
  return true;
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::UpdateBounds() {
  if (FHandle == nullptr || IsIconic(FHandle)) return;
  RECT R;
  GetWindowRect(FHandle, &R);
  if ((GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) != 0) MapWindowRect(nullptr, GetParent(FHandle), &R);
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Width();
  FHeight = R.Height();
  UpdateAnchorRules();
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!adjustBounds(ALeft, ATop, AWidth, AHeight)) return;
  if (FHandle != nullptr && !IsIconic(FHandle)) {
    // The window answers with WM_MOVE / WM_SIZE, which read the bounds back and realign.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    bool Sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (Sized) {
      Realign();
      if (!ComponentState().Contains(csLoading)) Resize();
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

TRect TWinControl::GetClientRect() {
  if (FHandle == nullptr) {
    bool CanCreate = FParent != nullptr ? FParent->HandleAllocated() : FParentWindow != nullptr;
    if (!CanCreate) return Rect(0, 0, FWidth, FHeight);
  }
  RECT R;
  ::GetClientRect(Handle(), &R);
  return R;
}

TPoint TWinControl::ClientOrigin() {
  POINT P{0, 0};
  ::ClientToScreen(Handle(), &P);
  return P;
}

HDC TWinControl::GetDeviceContext(HWND& WindowHandle) {
  WindowHandle = Handle();
  return GetDC(WindowHandle);
}

void TWinControl::SetZOrder(bool TopMost) {
  if (FParent != nullptr) {
    auto& L = FParent->FWinControls;
    auto it = std::find(L.begin(), L.end(), this);
    if (it != L.end()) {
      L.erase(it);
      if (TopMost)
        L.push_back(this);
      else
        L.insert(L.begin(), this);
    }
  }
  if (FHandle != nullptr)
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- alignment ----

void TWinControl::DisableAlign() {
  ++FAlignLevel;
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

// Alignment asked for while the stored values were being set runs once they all are.
void TWinControl::Loaded() {
  TControl::Loaded();
  if (FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying) || FDestroyingControl) return;
  if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  TRect R = GetClientRect();
  AlignControls(AControl, R);
  FControlState.Exclude(csAlignmentNeeded);
  --FAlignLevel;
  // The children are in place: an auto-sized control fits around them (once; the resize realigns).
  if (FAutoSize && !FAutoSizing) {
    FAutoSizing = true;
    try {
      AdjustSize();
    } catch (...) {
      FAutoSizing = false;
      throw;
    }
    FAutoSizing = false;
  }
}

bool TWinControl::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  TRect Client = GetClientRect();
  TRect Inner = Client;
  AdjustClientRect(Inner);
  // Extra room beyond the children: the frame outside the client area and the inset inside it.
  const Integer ExtraW = (FWidth - Client.Width()) + (Client.Right - Inner.Right);
  const Integer ExtraH = (FHeight - Client.Height()) + (Client.Bottom - Inner.Bottom);
  Integer Right = Inner.Left, Bottom = Inner.Top, FarW = 0, FarH = 0;
  bool AnyW = false, AnyH = false;
  std::vector<TControl*> All(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* C : All) {
    if (!C->Visible() || C->Align() == alClient) continue;
    const TAlign A = C->Align();
    if (A == alRight) FarW += C->Width(), AnyW = true;
    if (A == alBottom) FarH += C->Height(), AnyH = true;
    if (A != alTop && A != alBottom && A != alRight)
      Right = std::max(Right, C->Left() + C->Width()), AnyW = true;
    if (A != alLeft && A != alRight && A != alBottom)
      Bottom = std::max(Bottom, C->Top() + C->Height()), AnyH = true;
  }
  if (!AnyW && !AnyH) return false;
  if (AnyW) NewWidth = Right + FarW + ExtraW;
  if (AnyH) NewHeight = Bottom + FarH + ExtraH;
  return true;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  AdjustClientRect(Rect);
  for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient, alCustom}) doAlign(AControl, A, Rect);
  // Controls that are not aligned follow their anchors.
  std::vector<TControl*> All(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* C : All)
    if (C->Align() == alNone && C->Anchors() != TAnchors{akLeft, akTop}) anchorPosition(C);
}

// A control sticks to the parent's edges it is anchored to; anchored to neither edge of an axis it
// keeps its centre at the same proportion.
void TWinControl::anchorPosition(TControl* C) {
  if (C->FOriginalParentSize.cx == 0 && C->FOriginalParentSize.cy == 0) return;
  TRect R = ClientRect();
  const TRect& A = C->FAnchorRules;
  TAnchors K = C->Anchors();
  Integer L = C->Left(), T = C->Top(), W = C->Width(), H = C->Height();
  if (K.Contains(akRight)) {
    if (K.Contains(akLeft))
      W = R.Right - A.Right - L;
    else
      L = R.Right - A.Right - W;
  } else if (!K.Contains(akLeft) && C->FOriginalParentSize.cx > 0) {
    L = MulDiv(A.Left + W / 2, R.Right, C->FOriginalParentSize.cx) - W / 2;
  }
  if (K.Contains(akBottom)) {
    if (K.Contains(akTop))
      H = R.Bottom - A.Bottom - T;
    else
      T = R.Bottom - A.Bottom - H;
  } else if (!K.Contains(akTop) && C->FOriginalParentSize.cy > 0) {
    T = MulDiv(A.Top + H / 2, R.Bottom, C->FOriginalParentSize.cy) - H / 2;
  }
  C->FAnchorMove = true;
  C->SetBounds(L, T, W, H);
  C->FAnchorMove = false;
}

void TWinControl::doAlign(TControl* AControl, TAlign AAlign, TRect& Rect) {
  auto insertBefore = [&](TControl* C1, TControl* C2) {
    switch (AAlign) {
      case alTop:
        return C1->Top() < C2->Top();
      case alBottom:
        return C1->Top() + C1->Height() >= C2->Top() + C2->Height();
      case alLeft:
        return C1->Left() < C2->Left();
      case alRight:
        return C1->Left() + C1->Width() >= C2->Left() + C2->Width();
      case alCustom:
        return CustomAlignInsertBefore(C1, C2);
      default:
        return false;
    }
  };
  auto takesPart = [&](TControl* C) {
    return C->Align() == AAlign && (C->Visible() || C->ComponentState().Contains(csDesigning));
  };
  std::vector<TControl*> List;
  // The control that asked for the alignment keeps its place among its kind: it goes first.
  if (AControl != nullptr && takesPart(AControl) && AControl->Parent() == this) List.push_back(AControl);
  std::vector<TControl*> All(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* C : All) {
    if (C == AControl || !takesPart(C)) continue;
    size_t j = AControl != nullptr && !List.empty() && List[0] == AControl ? 1 : 0;
    while (j < List.size() && !insertBefore(C, List[j])) ++j;
    List.insert(List.begin() + Integer(j), C);
  }
  for (TControl* C : List) {
    Integer NewLeft = Rect.Left, NewTop = Rect.Top;
    Integer NewWidth = Rect.Width(), NewHeight = Rect.Height();
    switch (AAlign) {
      case alTop:
        NewHeight = C->Height();
        break;
      case alBottom:
        NewHeight = C->Height();
        NewTop = Rect.Bottom - NewHeight;
        break;
      case alLeft:
        NewWidth = C->Width();
        break;
      case alRight:
        NewWidth = C->Width();
        NewLeft = Rect.Right - NewWidth;
        break;
      case alCustom:
        NewLeft = C->Left(), NewTop = C->Top(), NewWidth = C->Width(), NewHeight = C->Height();
        CustomAlignPosition(C, NewLeft, NewTop, NewWidth, NewHeight, Rect);
        break;
      default:
        break;
    }
    C->FAnchorMove = true;
    C->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
    // A control that took another size (its constraints, its own automatic size) still sits against
    // the far edge it is aligned to.
    if (AAlign == alBottom && C->Height() != NewHeight)
      C->SetBounds(C->Left(), Rect.Bottom - C->Height(), C->Width(), C->Height());
    if (AAlign == alRight && C->Width() != NewWidth)
      C->SetBounds(Rect.Right - C->Width(), C->Top(), C->Width(), C->Height());
    C->FAnchorMove = false;
    // The control may not take the size offered (constraints): the rest goes by its real size.
    switch (AAlign) {
      case alTop:
        Rect.Top += C->Height();
        break;
      case alBottom:
        Rect.Bottom -= C->Height();
        break;
      case alLeft:
        Rect.Left += C->Width();
        break;
      case alRight:
        Rect.Right -= C->Width();
        break;
      default:
        break;
    }
  }
}

// ---- painting ----

void TWinControl::Invalidate() {
  if (FHandle != nullptr) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle != nullptr) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC == nullptr) return DefaultHandler(Message);
  TRect R;
  ::GetClientRect(FHandle, &R);
  HBRUSH B = CreateSolidBrush(ColorToRGB(FColor));
  FillRect(DC, &R, B);
  DeleteObject(B);
  Message.Result = 1;
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage M;
  M.Msg = WM_PAINT;
  M.WParam = reinterpret_cast<WPARAM>(DC);
  DefaultHandler(M);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  size_t Start = 0;
  if (First != nullptr) {
    auto it = std::find(FControls.begin(), FControls.end(), First);
    if (it != FControls.end()) Start = size_t(it - FControls.begin());
  }
  for (size_t i = Start; i < FControls.size(); ++i) {
    TControl* C = FControls[i];
    if (!C->Visible() && !C->ComponentState().Contains(csDesigning)) continue;
    TRect R = C->BoundsRect();
    if (!RectVisible(DC, &R)) continue;
    if (FControlState.Contains(csPaintCopy)) C->FControlState.Include(csPaintCopy);
    Integer Saved = SaveDC(DC);
    POINT Org;
    GetWindowOrgEx(DC, &Org);
    SetWindowOrgEx(DC, Org.X - C->Left(), Org.Y - C->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    try {
      C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
      RestoreDC(DC, Saved);
      C->FControlState.Exclude(csPaintCopy);
      throw;
    }
    RestoreDC(DC, Saved);
    C->FControlState.Exclude(csPaintCopy);
  }
}

void TWinControl::PaintHandler(TMessage& Message) {
  PAINTSTRUCT PS;
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  bool Own = DC == nullptr;
  if (Own) DC = BeginPaint(FHandle, &PS);
  try {
    if (FControls.empty()) {
      PaintWindow(DC);
    } else {
      // The window paints only where no opaque windowless child will.
      Integer Saved = SaveDC(DC);
      Integer Clip = SIMPLEREGION;
      for (TControl* C : FControls) {
        if ((C->Visible() || C->ComponentState().Contains(csDesigning)) &&
            C->ControlStyle().Contains(csOpaque)) {
          Clip = ExcludeClipRect(DC, C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height());
          if (Clip == NULLREGION) break;
        }
      }
      if (Clip != NULLREGION) PaintWindow(DC);
      RestoreDC(DC, Saved);
    }
    PaintControls(DC, nullptr);
  } catch (...) {
    if (Own) EndPaint(FHandle, &PS);
    throw;
  }
  if (Own) EndPaint(FHandle, &PS);
}

void TWinControl::WMPaint(TMessage& Message) {
  if (!FDoubleBuffered || Message.WParam != 0) {
    if (!FControlState.Contains(csCustomPaint) && FControls.empty())
      DefaultHandler(Message);
    else
      PaintHandler(Message);
    return;
  }
  // Double buffered: everything is composed off screen and copied in one step.
  TRect R;
  ::GetClientRect(FHandle, &R);
  PAINTSTRUCT PS;
  HDC DC = BeginPaint(FHandle, &PS);
  // Compatible with the window's DC (a fresh memory DC would give a monochrome bitmap).
  HBITMAP MemBitmap = CreateCompatibleBitmap(DC, std::max(R.Right, 1), std::max(R.Bottom, 1));
  HDC MemDC = CreateCompatibleDC(DC);
  HGDIOBJ Old = SelectObject(MemDC, MemBitmap);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(MemDC), reinterpret_cast<LPARAM>(MemDC));
  TMessage M = Message;
  M.WParam = reinterpret_cast<WPARAM>(MemDC);
  try {
    WMPaint(M);
  } catch (...) {
    EndPaint(FHandle, &PS);
    SelectObject(MemDC, Old);
    DeleteDC(MemDC);
    DeleteObject(MemBitmap);
    throw;
  }
  BitBlt(DC, 0, 0, R.Right, R.Bottom, MemDC, 0, 0, SRCCOPY);
  EndPaint(FHandle, &PS);
  SelectObject(MemDC, Old);
  DeleteDC(MemDC);
  DeleteObject(MemBitmap);
}

void TWinControl::ScrollBy(Integer DeltaX, Integer DeltaY) {
  DisableAlign();
  auto All = std::vector<TControl*>(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* C : All) {
    C->FAnchorMove = true;
    C->SetBounds(C->Left() + DeltaX, C->Top() + DeltaY, C->Width(), C->Height());
    C->FAnchorMove = false;
  }
  --FAlignLevel;
  FControlState.Exclude(csAlignmentNeeded);
  Invalidate();
}

// ---- cursor ----

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(uintptr_t(Message.LParam)) == HTCLIENT) {
    TCursor Cur = crDefault;
    if (Screen != nullptr && Screen->Cursor() != crDefault) {
      Cur = Screen->Cursor();
    } else {
      POINT P;
      GetCursorPos(&P);
      TControl* C = ControlAtPos(ScreenToClient(P), false);
      Cur = C != nullptr ? C->Cursor() : FCursor;
      if (Cur == crDefault) Cur = FCursor;
    }
    if (Cur != crDefault && Screen != nullptr) {
      ::SetCursor(Screen->Cursors(Cur));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// ---- focus ----

bool TWinControl::CanFocus() {
  TControl* C = this;
  while (C != nullptr) {
    if (!C->Visible() || !C->Enabled()) return false;
    if (dynamic_cast<TCustomForm*>(C) != nullptr) return true;
    C = C->Parent();
  }
  return GetParentForm(this) != nullptr || FParentWindow != nullptr;
}

bool TWinControl::Focused() {
  return FHandle != nullptr && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr) {
    Form->FocusControl(this);
  } else if (FParentWindow != nullptr) {
    ::SetFocus(Handle());
  } else {
    throw EInvalidOperation(Format(SParentRequired, {Name()}));
  }
}

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
}

void TWinControl::CMFocusChanged(TMessage& Message) {
  Broadcast(Message);
}

void TWinControl::CMEnter(TMessage&) {
  DoEnter();
}

void TWinControl::CMExit(TMessage&) {
  DoExit();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

Integer TWinControl::TabOrder() const {
  if (FParent == nullptr) return -1;
  auto& L = FParent->FTabList;
  auto it = std::find(L.begin(), L.end(), this);
  return it == L.end() ? -1 : Integer(it - L.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
  if (FParent == nullptr) return;
  auto& L = FParent->FTabList;
  auto it = std::find(L.begin(), L.end(), this);
  if (it == L.end()) return;
  L.erase(it);
  if (Value < 0 || Value > Integer(L.size())) Value = Integer(L.size());
  L.insert(L.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle != nullptr) {
    LONG_PTR S = GetWindowLongPtr(FHandle, GWL_STYLE);
    SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (S | WS_TABSTOP) : (S & ~LONG_PTR(WS_TABSTOP)));
  }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* W : FTabList) {
    List.push_back(W);
    W->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  Integer N = Integer(List.size());
  auto it = std::find(List.begin(), List.end(), CurControl);
  Integer Start = it == List.end() ? (GoForward ? N - 1 : 0) : Integer(it - List.begin());
  Integer I = Start;
  do {
    I = GoForward ? (I + 1) % N : (I - 1 + N) % N;
    TWinControl* C = List[size_t(I)];
    if (C != CurControl && C->CanFocus() && (!CheckTabStop || C->TabStop()) &&
        (!CheckParent || C->Parent() == this))
      return C;
  } while (I != Start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* C = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (C != nullptr) C->SetFocus();
}

// ---- keys ----

bool TWinControl::IsMenuKey(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return false;
  for (TControl* C = this; C != nullptr; C = C->Parent())
    if (C->PopupMenu() != nullptr && C->PopupMenu()->IsShortCut(Message)) return true;
  TCustomForm* Form = GetParentForm(this);
  return Form != nullptr && Form->IsShortCut(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (!ComponentState().Contains(csDesigning)) {
    Word Key = Word(Message.WParam);
    if (Perform(CM_CHILDKEY, Key, reinterpret_cast<LPARAM>(this)) != 0) return;
    LRESULT Mask = 0;
    switch (Key) {
      case VK_TAB:
        Mask = DLGC_WANTTAB;
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        Mask = DLGC_WANTARROWS;
        break;
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_CANCEL:
        Mask = DLGC_WANTALLKEYS;
        break;
      default:
        break;
    }
    if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Key, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0) {
      TCustomForm* Form = GetParentForm(this);
      if (Form != nullptr) {
        // Through the form's window, so that whoever hooks it sees the dialog key.
        LRESULT R = Form->HandleAllocated() ? SendMessage(Form->Handle(), CM_DIALOGKEY, Key, Message.LParam)
                                            : Form->Perform(CM_DIALOGKEY, Key, Message.LParam);
        if (R != 0) return;
      }
    }
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) {
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return;
  Message.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& Message) {
  Broadcast(Message);
}

void TWinControl::CMDialogChar(TMessage& Message) {
  Broadcast(Message);
}

void TWinControl::CMChildKey(TMessage& Message) {
  if (FParent != nullptr) FParent->WindowProc(Message);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyDown(Message)) return true;
  Word Key = Word(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyDown(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
  }
  return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyUp(Message)) return true;
  Word Key = Word(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyUp(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
  }
  return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form != this && Form->KeyPreview() && Form->DoKeyPress(Message)) return true;
  char32_t Key = char32_t(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyPress(Key);
    Message.WParam = Key;
  }
  return Key == 0;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// ---- notifications ----

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!FVisible && FParent != nullptr) {
    if (TCustomForm* Form = GetParentForm(this)) Form->DefocusControl(this, false);
  }
  TControl::CMVisibleChanged(Message);
  UpdateShowing();
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (!FEnabled && FParent != nullptr) {
    if (TCustomForm* Form = GetParentForm(this)) Form->DefocusControl(this, false);
  }
  if (FHandle != nullptr) EnableWindow(FHandle, FEnabled);
  TControl::CMEnabledChanged(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::CMFontChanged(Message);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}
