#include "skin/core/bssystem.h"

#include <cstring>

HMODULE User32Module = nullptr;
TMonitorFromWindowProc MonitorFromWindowProc = nullptr;
TGetMonitorInfoProc GetMonitorInfoAProc = nullptr;
TGetScrollBarInfoProc GetScrollBarInfoProc = nullptr;
TSetLayeredWindowAttributesProc SetLayeredWindowAttributesProc = nullptr;
TUpdateLayeredWindowProc UpdateLayeredWindowProc = nullptr;
bool IsWinNTPlatform = false;
Cardinal PlatformVersion = 10;

namespace {

Integer startupCount = 0;

// The user interface functions live in the program itself: "looking them up by name" is a lookup in
// what the windowing layer provides. GetScrollBarInfo is not among them.
void* user32Entry(const char* Name) {
  struct Entry {
    const char* Name;
    void* Address;
  };
  static const Entry entries[] = {
      {"MonitorFromWindow",
       reinterpret_cast<void*>(static_cast<TMonitorFromWindowProc>(&::MonitorFromWindow))},
      {"GetMonitorInfoA", reinterpret_cast<void*>(static_cast<TGetMonitorInfoProc>(&::GetMonitorInfo))},
      {"SetLayeredWindowAttributes",
       reinterpret_cast<void*>(static_cast<TSetLayeredWindowAttributesProc>(&::SetLayeredWindowAttributes))},
      {"UpdateLayeredWindow",
       reinterpret_cast<void*>(static_cast<TUpdateLayeredWindowProc>(&::UpdateLayeredWindow))},
  };
  for (const Entry& e : entries)
    if (std::strcmp(e.Name, Name) == 0) return e.Address;
  return nullptr;
}

template <typename T>
T lookup(const char* Name) {
  return reinterpret_cast<T>(user32Entry(Name));
}

// The start-up of the skin utilities runs before any window can exist, as a unit's initialisation would.
struct StartUp {
  StartUp() { InitSkinSystemEntryPoints(); }
} startUp;

}  // namespace

void InitSkinSystemEntryPoints() {
  if (startupCount++ > 0) return;
  User32Module = GetModuleHandle(nullptr);
  if (User32Module != nullptr) {
    MonitorFromWindowProc = lookup<TMonitorFromWindowProc>("MonitorFromWindow");
    GetMonitorInfoAProc = lookup<TGetMonitorInfoProc>("GetMonitorInfoA");
    GetScrollBarInfoProc = lookup<TGetScrollBarInfoProc>("GetScrollBarInfo");
    SetLayeredWindowAttributesProc = lookup<TSetLayeredWindowAttributesProc>("SetLayeredWindowAttributes");
    UpdateLayeredWindowProc = lookup<TUpdateLayeredWindowProc>("UpdateLayeredWindow");
  }
  IsWinNTPlatform = true;
  LoadDwmEntryPoints();
}

void DoneSkinSystemEntryPoints() {
  if (startupCount == 0 || --startupCount > 0) return;
  FreeDwmEntryPoints();
  GetScrollBarInfoProc = nullptr;
  MonitorFromWindowProc = nullptr;
  GetMonitorInfoAProc = nullptr;
}

void GetWinVersion(Integer& Major, Integer& Minor) {
  Major = Integer(PlatformVersion & 0xFF);
  Minor = Integer((PlatformVersion >> 8) & 0xFF);
}

bool IsWindows7() {
  Integer major, minor;
  GetWinVersion(major, minor);
  return major == 6 && minor == 1;
}

bool IsWindows8OrLater() {
  Integer major, minor;
  GetWinVersion(major, minor);
  return (major == 6 && minor == 2) || major > 6;
}

bool IsVistaOrLater() {
  Integer major, minor;
  GetWinVersion(major, minor);
  return major > 5;
}

bool IsWindowsXPOrLater() {
  Integer major, minor;
  GetWinVersion(major, minor);
  return major > 5 || (major == 5 && minor == 1);
}

Integer SafeGetScrollBarInfo(HWND Wnd, LONG IdObject, SCROLLBARINFO& Info) {
  if (GetScrollBarInfoProc != nullptr) return GetScrollBarInfoProc(Wnd, IdObject, &Info) ? 1 : 0;
  Info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
  return 0;
}

void SetWindowAlpha(HWND Wnd, Byte Alpha) {
  if (SetLayeredWindowAttributesProc != nullptr) SetLayeredWindowAttributesProc(Wnd, 0, Alpha, LWA_ALPHA);
}

bool HasMultipleMonitors() {
  return GetSystemMetrics(SM_CMONITORS) > 1 && MonitorFromWindowProc != nullptr &&
         GetMonitorInfoAProc != nullptr;
}

void GetScreenRect(bool AWorkArea, TRect& R) {
  if (AWorkArea)
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
  else
    R = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void GetMonitorRectOfWindow(HWND Wnd, bool AWorkArea, TRect& R) {
  if (!HasMultipleMonitors()) {
    GetScreenRect(AWorkArea, R);
    return;
  }
  const HMONITOR monitor = MonitorFromWindowProc(Wnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info;
  info.cbSize = 40;
  if (GetMonitorInfoAProc(monitor, &info)) R = AWorkArea ? info.rcWork : info.rcMonitor;
}
