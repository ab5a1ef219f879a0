// The control canvas and the controls that paint on it.
#include "platform/ui/core/customcontrol.h"

#include <set>

namespace {
std::set<TControlCanvas*>& canvasesWithDC() {
  static std::set<TControlCanvas*> List;
  return List;
}
}  // namespace

TControlCanvas::~TControlCanvas() {
  FreeHandle();
}

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle() {
  if (FControl == nullptr) return;
  HWND Wnd = nullptr;
  HDC DC = FControl->GetDeviceContext(Wnd);
  if (DC == nullptr) return;
  FDeviceContext = DC;
  FWindowHandle = Wnd;
  canvasesWithDC().insert(this);
  SetHandle(DC);
}

void TControlCanvas::FreeHandle() {
  if (FDeviceContext == nullptr) return;
  HDC DC = FDeviceContext;
  FDeviceContext = nullptr;
  SetHandle(nullptr);
  if (IsWindow(FWindowHandle)) ReleaseDC(FWindowHandle, DC);
  FWindowHandle = nullptr;
  canvasesWithDC().erase(this);
}

void TControlCanvas::FreeDeviceContexts() {
  auto List = canvasesWithDC();
  for (TControlCanvas* C : List) C->FreeHandle();
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() {
  FCanvas->FreeHandle();
}

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT)
    WMPaint(Message);
  else
    TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message) {
  if (Message.WParam == 0 || ComponentState().Contains(csDestroying)) return;
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(reinterpret_cast<HDC>(Message.WParam));
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
  FCanvas->FreeHandle();
}

void TCustomControl::WMPaint(TMessage& Message) {
  FControlState.Include(csCustomPaint);
  try {
    TWinControl::WMPaint(Message);
  } catch (...) {
    FControlState.Exclude(csCustomPaint);
    throw;
  }
  FControlState.Exclude(csCustomPaint);
}

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}
