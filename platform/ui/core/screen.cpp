// TMonitor and TScreen.
#include "platform/ui/core/screen.h"

#include <algorithm>

#include "platform/rtl/format.h"
#include "platform/ui/core/form.h"

TScreen* Screen = nullptr;

// ---- TMonitor ----

TRect TMonitor::BoundsRect() const {
  MONITORINFO Info;
  GetMonitorInfo(FHandle, &Info);
  return Info.rcMonitor;
}

TRect TMonitor::WorkareaRect() const {
  MONITORINFO Info;
  GetMonitorInfo(FHandle, &Info);
  return Info.rcWork;
}

bool TMonitor::Primary() const {
  MONITORINFO Info;
  GetMonitorInfo(FHandle, &Info);
  return (Info.dwFlags & MONITORINFOF_PRIMARY) != 0;
}

// ---- TScreen ----

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  if (Screen == nullptr) Screen = this;
}

TScreen::~TScreen() {
  if (Screen == this) Screen = nullptr;
}

TCustomForm* TScreen::Forms(Integer Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FForms[size_t(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
  FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  auto it = std::find(FForms.begin(), FForms.end(), Form);
  if (it != FForms.end()) FForms.erase(it);
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  if (FActiveForm == Form) setActiveForm(nullptr);
}

void TScreen::ControlDestroyed(TControl* Control) {
  if (FActiveControl == Control) setActiveControl(nullptr);
}

void TScreen::setActiveForm(TCustomForm* Form) {
  if (FActiveForm == Form) return;
  FActiveForm = Form;
  if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::setActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  FActiveControl = Control;
  if (OnActiveControlChange) OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (Value == crDefault) {
    // The window under the cursor chooses its own again.
    POINT P;
    GetCursorPos(&P);
    HWND Wnd = WindowFromPoint(P);
    if (Wnd != nullptr && FindControl(Wnd) != nullptr)
      SendMessage(Wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(Wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  } else {
    ::SetCursor(Cursors(Value));
  }
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  auto it = FCursors.find(Index);
  if (it != FCursors.end()) return it->second;
  uintptr_t Id = IDC_ARROW;
  switch (Index) {
    case crNone:
      return nullptr;
    case crCross:
      Id = IDC_CROSS;
      break;
    case crIBeam:
      Id = IDC_IBEAM;
      break;
    case crSizeNESW:
      Id = IDC_SIZENESW;
      break;
    case crSizeNS:
    case crVSplit:
      Id = IDC_SIZENS;
      break;
    case crSizeNWSE:
      Id = IDC_SIZENWSE;
      break;
    case crSizeWE:
    case crHSplit:
      Id = IDC_SIZEWE;
      break;
    case crUpArrow:
      Id = IDC_UPARROW;
      break;
    case crHourGlass:
    case crSQLWait:
      Id = IDC_WAIT;
      break;
    case crNoDrop:
    case crNo:
      Id = IDC_NO;
      break;
    case crAppStart:
      Id = IDC_APPSTARTING;
      break;
    case crHelp:
      Id = IDC_HELP;
      break;
    case crHandPoint:
      Id = IDC_HAND;
      break;
    case crSizeAll:
      Id = IDC_SIZEALL;
      break;
    default:
      break;
  }
  return LoadCursor(nullptr, Id);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Value) {
  if (Value == nullptr)
    FCursors.erase(Index);
  else
    FCursors[Index] = Value;
}

Integer TScreen::Width() const {
  return GetSystemMetrics(SM_CXSCREEN);
}
Integer TScreen::Height() const {
  return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
  TRect R;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
  return R;
}

Integer TScreen::MonitorCount() const {
  Integer N = GetSystemMetrics(SM_CMONITORS);
  return N > 0 ? N : 1;
}

TMonitor* TScreen::Monitors(Integer Index) {
  if (Index != 0) throw EListError(Format("List index out of bounds (%d)", {Index}));
  if (!FMonitor) FMonitor = std::make_unique<TMonitor>();
  FMonitor->FHandle = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  return FMonitor.get();
}

TMonitor* TScreen::MonitorFromWindow(HWND) {
  return Monitors(0);
}
