// TControl: the parts of a control that need no window of its own.
#include "platform/ui/core/control.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/menus/menu.h"

namespace {
TControl* gCaptureControl = nullptr;

bool isWinControl(const TControl* C) {
  return dynamic_cast<const TWinControl*>(C) != nullptr;
}
}  // namespace

String GetShortHint(const String& Hint) {
  auto p = Hint.find('|');
  return p == String::npos ? Hint : Hint.substr(0, p);
}

String GetLongHint(const String& Hint) {
  auto p = Hint.find('|');
  return p == String::npos ? Hint : Hint.substr(p + 1);
}

TControl* GetCaptureControl() {
  HWND Wnd = GetCapture();
  if (Wnd == nullptr) {
    gCaptureControl = nullptr;
    return nullptr;
  }
  TWinControl* W = FindControl(Wnd);
  if (W == nullptr) return nullptr;
  if (gCaptureControl != nullptr && gCaptureControl->Parent() == W) return gCaptureControl;
  return W;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  gCaptureControl = nullptr;
  if (Control == nullptr) return;
  if (!isWinControl(Control)) {
    if (Control->Parent() == nullptr) return;
    gCaptureControl = Control;
    Control = Control->Parent();
  }
  SetCapture(static_cast<TWinControl*>(Control)->Handle());
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  HWND Wnd = WindowFromPoint(Pos);
  TWinControl* W = nullptr;
  // A window of ours may lie inside a foreign one; climb to the first that is a control.
  while (Wnd != nullptr && (W = FindControl(Wnd)) == nullptr) Wnd = GetParent(Wnd);
  if (W == nullptr) return nullptr;
  TControl* C = W->ControlAtPos(W->ScreenToClient(Pos), AllowDisabled);
  return C != nullptr ? C : W;
}

TCustomForm* GetParentForm(TControl* Control) {
  while (Control != nullptr && Control->Parent() != nullptr) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

// ---- TSizeConstraints ----

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSizeConstraints*>(Source)) {
    FMinWidth = S->FMinWidth;
    FMinHeight = S->FMinHeight;
    FMaxWidth = S->FMaxWidth;
    FMaxHeight = S->FMaxHeight;
    changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TSizeConstraints::SetMinWidth(Integer Value) {
  if (Value == FMinWidth) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
  changed();
}

void TSizeConstraints::SetMinHeight(Integer Value) {
  if (Value == FMinHeight) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
  changed();
}

void TSizeConstraints::SetMaxWidth(Integer Value) {
  if (Value == FMaxWidth) return;
  FMaxWidth = Value;
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
  changed();
}

void TSizeConstraints::SetMaxHeight(Integer Value) {
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
  changed();
}

void TSizeConstraints::Constrain(Integer& Width, Integer& Height) const {
  if (FMaxWidth > 0 && Width > FMaxWidth) Width = FMaxWidth;
  if (FMinWidth > 0 && Width < FMinWidth) Width = FMinWidth;
  if (FMaxHeight > 0 && Height > FMaxHeight) Height = FMaxHeight;
  if (FMinHeight > 0 && Height < FMinHeight) Height = FMinHeight;
}

void TSizeConstraints::changed() {
  if (FControl != nullptr)
    FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
  if (OnChange) OnChange(this);
}

// ---- TControl ----

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = [this](TMessage& M) { WndProc(M); };
  FConstraints = std::make_unique<TSizeConstraints>(this);
  FFont = std::make_unique<TFont>();
  FFont->OnChange = [this](TObject* S) { fontChanged(S); };
}

TControl::~TControl() {
  FDestroyingControl = true;
  if (gCaptureControl == this) {
    gCaptureControl = nullptr;
    ReleaseCapture();
  }
  if (Application != nullptr) Application->ControlDestroyed(this);
  if (Screen != nullptr) Screen->ControlDestroyed(this);
  if (FPopupMenu != nullptr) FPopupMenu->RemoveFreeNotification(this);
  // The constraints object must not resize a control that is going.
  FConstraints.reset();
  SetParent(nullptr);
}

void TControl::fontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (AParent != nullptr) AParent->InsertControl(this);
}

LRESULT TControl::Perform(Cardinal Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M;
  M.Msg = Msg;
  M.WParam = WParam;
  M.LParam = LParam;
  if (WindowProc)
    WindowProc(M);
  else
    WndProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& Message) {
  // A press on a windowless control under a form makes the form take the focus first, as clicking
  // its window would.
  if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) {
    if (!isWinControl(this) && FParent != nullptr) {
      TCustomForm* Form = GetParentForm(this);
      if (Form != nullptr && Form->HandleAllocated() && GetFocus() == nullptr && Form->CanFocus())
        ::SetFocus(Form->Handle());
    }
    FControlState.Include(csLButtonDown);
  } else if (Message.Msg == WM_LBUTTONUP) {
    FControlState.Exclude(csLButtonDown);
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      WMLButtonDown(Message);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(Message);
      break;
    case WM_RBUTTONDOWN:
      WMRButtonDown(Message);
      break;
    case WM_RBUTTONDBLCLK:
      WMRButtonDblClk(Message);
      break;
    case WM_RBUTTONUP:
      WMRButtonUp(Message);
      break;
    case WM_MBUTTONDOWN:
      WMMButtonDown(Message);
      break;
    case WM_MBUTTONDBLCLK:
      WMMButtonDblClk(Message);
      break;
    case WM_MBUTTONUP:
      WMMButtonUp(Message);
      break;
    case WM_MOUSEMOVE:
      WMMouseMove(Message);
      break;
    case WM_CANCELMODE:
      WMCancelMode(Message);
      break;
    case WM_CONTEXTMENU:
      WMContextMenu(Message);
      break;
    case WM_SETTEXT:
      FText = Message.LParam != 0 ? String(reinterpret_cast<const char*>(Message.LParam)) : String();
      DefaultHandler(Message);
      Message.Result = 1;
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(Message);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(Message);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(Message);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(Message);
      break;
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    case CM_HITTEST:
      CMHitTest(Message);
      break;
    case CM_HINTSHOW:
      CMHintShow(Message);
      break;
    default:
      DefaultHandler(Message);
      break;
  }
}

void TControl::DefaultHandler(TMessage&) {}

// ---- bounds ----

bool TControl::CanResize(Integer& NewWidth, Integer& NewHeight) {
  bool Result = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, Result);
  return Result;
}

bool TControl::CanAutoSize(Integer&, Integer&) {
  return true;
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::AdjustSize() {
  if (!FAutoSize || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

bool TControl::adjustBounds(Integer ALeft, Integer ATop, Integer& AWidth, Integer& AHeight) {
  if (FAutoSize && FAlign != alClient && !ComponentState().Contains(csLoading)) {
    Integer W = AWidth, H = AHeight;
    if (CanAutoSize(W, H)) {
      if (FAlign != alTop && FAlign != alBottom) AWidth = W;
      if (FAlign != alLeft && FAlign != alRight) AHeight = H;
    }
  }
  if (FConstraints) FConstraints->Constrain(AWidth, AHeight);
  if (AWidth < 0) AWidth = 0;
  if (AHeight < 0) AHeight = 0;
  if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  return ALeft != FLeft || ATop != FTop || AWidth != FWidth || AHeight != FHeight;
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!adjustBounds(ALeft, ATop, AWidth, AHeight)) return;
  bool Sized = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (Sized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

TRect TControl::GetClientRect() {
  return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientSize(Integer AWidth, Integer AHeight) {
  TRect R = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - R.Right + AWidth, FHeight - R.Bottom + AHeight);
}

TPoint TControl::ClientOrigin() {
  if (FParent == nullptr) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  TPoint P = FParent->ClientOrigin();
  return {P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) {
  TPoint O = ClientOrigin();
  return {P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) {
  TPoint O = ClientOrigin();
  return {P.X - O.X, P.Y - O.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  TAlign Old = FAlign;
  FAlign = Value;
  // A control that leaves alignment keeps its bounds; entering a side alignment fixes the anchors
  // to the sides it sticks to.
  switch (Value) {
    case alTop:
      FAnchors = {akLeft, akTop, akRight};
      break;
    case alBottom:
      FAnchors = {akLeft, akRight, akBottom};
      break;
    case alLeft:
      FAnchors = {akLeft, akTop, akBottom};
      break;
    case alRight:
      FAnchors = {akRight, akTop, akBottom};
      break;
    case alClient:
      FAnchors = {akLeft, akTop, akRight, akBottom};
      break;
    default:
      if (Old != alNone && Old != alCustom) FAnchors = {akLeft, akTop};
      break;
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (FAnchorMove || FParent == nullptr || ComponentState().Contains(csLoading)) return;
  TRect R = FParent->ClientRect();
  FOriginalParentSize = {R.Right, R.Bottom};
  FAnchorRules = Rect(FLeft, FTop, R.Right - (FLeft + FWidth), R.Bottom - (FTop + FHeight));
}

void TControl::RequestAlign() {
  if (FParent != nullptr) FParent->AlignControl(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
  AdjustSize();
}

// ---- visibility, state ----

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

void TControl::Show() {
  if (FParent != nullptr) FParent->Show();
  SetVisible(true);
}

void TControl::Hide() {
  SetVisible(false);
}

bool TControl::Showing() const {
  return FVisible && (FParent == nullptr || FParent->Showing());
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const String& Value) {
  if (GetText() == Value) return;
  auto* W = dynamic_cast<TWinControl*>(this);
  if (W != nullptr && W->HandleAllocated())
    SendMessage(W->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  else
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) {
    FParentColor = false;
    return;
  }
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  FParentShowHint = false;
  if (FShowHint == Value) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu != nullptr) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

bool TControl::MouseCapture() const {
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

// ---- painting ----

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || FParent == nullptr || !FParent->HandleAllocated()) return;
  TRect R = BoundsRect();
  InvalidateRect(FParent->Handle(), &R, !IsOpaque);
}

void TControl::Invalidate() {
  InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent != nullptr) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || FParent == nullptr || !FParent->HandleAllocated()) return;
  if (FControlStyle.Contains(csOpaque)) {
    HDC DC = GetDC(FParent->Handle());
    IntersectClipRect(DC, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    FParent->PaintControls(DC, this);
    ReleaseDC(FParent->Handle(), DC);
  } else {
    Invalidate();
    Update();
  }
}

HDC TControl::GetDeviceContext(HWND& WindowHandle) {
  if (FParent == nullptr) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  HDC DC = FParent->GetDeviceContext(WindowHandle);
  SetViewportOrgEx(DC, FLeft, FTop, nullptr);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  return DC;
}

void TControl::SetZOrder(bool TopMost) {
  if (FParent == nullptr) return;
  auto& L = FParent->FControls;
  auto it = std::find(L.begin(), L.end(), this);
  if (it == L.end()) return;
  L.erase(it);
  if (TopMost)
    L.push_back(this);
  else
    L.insert(L.begin(), this);
  Invalidate();
}

void TControl::BringToFront() {
  SetZOrder(true);
}
void TControl::SendToBack() {
  SetZOrder(false);
}

// ---- mouse ----

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::SendCancelMode(TControl* Sender) {
  TControl* C = this;
  while (C != nullptr) {
    if (auto* F = dynamic_cast<TCustomForm*>(C)) {
      F->SendCancelMode(Sender);
      return;
    }
    C = C->Parent();
  }
}

void TControl::doMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TPoint P = LParamToPoint(Message.LParam);
  MouseDown(Button, KeysToShiftState(Message.WParam) + Shift, P.X, P.Y);
}

void TControl::doMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TPoint P = LParamToPoint(Message.LParam);
  MouseUp(Button, KeysToShiftState(Message.WParam), P.X, P.Y);
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  doMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  doMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    TPoint P = LParamToPoint(Message.LParam);
    TRect R = ClientRect();
    if (PtInRect(&R, P)) Click();
  }
  doMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  doMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  doMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  doMouseUp(Message, mbRight);
}

void TControl::WMMButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  doMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  doMouseDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMMButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  doMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  if (Application != nullptr) Application->HintMouseMessage(this, Message);
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TPoint P = LParamToPoint(Message.LParam);
  MouseMove(KeysToShiftState(Message.WParam), P.X, P.Y);
}

void TControl::WMCancelMode(TMessage& Message) {
  DefaultHandler(Message);
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (FControlState.Contains(csLButtonDown)) {
      FControlState.Exclude(csLButtonDown);
      FControlState.Exclude(csClicked);
    }
  }
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint P = LParamToPoint(Message.LParam);
  // -1, -1 comes from the keyboard: the menu opens at the control's top-left corner.
  if (P.X == -1 && P.Y == -1) P = ClientToScreen({0, 0});
  TControl* C = this;
  while (C != nullptr) {
    TPopupMenu* M = C->PopupMenu();
    if (M != nullptr && M->AutoPopup()) {
      M->SetPopupComponent(C);
      M->Popup(P.X, P.Y);
      Message.Result = 1;
      return;
    }
    C = C->Parent();
  }
  DefaultHandler(Message);
}

// ---- notifications ----

void TControl::CMVisibleChanged(TMessage&) {
  InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMEnabledChanged(TMessage&) {
  Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
  Invalidate();
}

void TControl::CMColorChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentFontChanged(TMessage& Message) {
  if (!FParentFont) return;
  TFont* Source = Message.WParam != 0 ? reinterpret_cast<TFont*>(Message.LParam)
                                      : (FParent != nullptr ? FParent->Font() : nullptr);
  if (Source != nullptr) FFont->Assign(Source);
  FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor) return;
  TColor C = Message.WParam != 0 ? TColor(Message.LParam) : (FParent != nullptr ? FParent->Color() : FColor);
  if (C != FColor) {
    FColor = C;
    Perform(CM_COLORCHANGED, 0, 0);
  }
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || FParent == nullptr) return;
  if (FShowHint != FParent->ShowHint()) {
    FShowHint = FParent->ShowHint();
    Perform(CM_SHOWHINTCHANGED, 0, 0);
  }
  FParentShowHint = true;
}

void TControl::CMTextChanged(TMessage&) {
  Changed();
}

void TControl::CMMouseEnter(TMessage& Message) {
  DefaultHandler(Message);
  if (OnMouseEnter && !ComponentState().Contains(csDesigning)) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& Message) {
  DefaultHandler(Message);
  if (OnMouseLeave && !ComponentState().Contains(csDesigning)) OnMouseLeave(this);
}

void TControl::CMHitTest(TMessage& Message) {
  Message.Result = HTCLIENT;
}
