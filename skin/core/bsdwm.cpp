#include "skin/core/bsdwm.h"

#include "platform/rtl/dynlib.h"

void* DwmapiModule = nullptr;
TDwmIsCompositionEnabledProc DwmIsCompositionEnabledProc = nullptr;
TDwmSetWindowAttributeProc DwmSetWindowAttributeProc = nullptr;
TDwmEnableBlurBehindWindowProc DwmEnableBlurBehindWindowProc = nullptr;

void LoadDwmEntryPoints() {
  HMODULE module = LoadLibrary("dwmapi.dll");
  DwmapiModule = module;
  if (module == nullptr) return;
  DwmIsCompositionEnabledProc =
      reinterpret_cast<TDwmIsCompositionEnabledProc>(GetProcAddress(module, "DwmIsCompositionEnabled"));
  DwmSetWindowAttributeProc =
      reinterpret_cast<TDwmSetWindowAttributeProc>(GetProcAddress(module, "DwmSetWindowAttribute"));
  DwmEnableBlurBehindWindowProc =
      reinterpret_cast<TDwmEnableBlurBehindWindowProc>(GetProcAddress(module, "DwmEnableBlurBehindWindow"));
}

void FreeDwmEntryPoints() {
  if (DwmapiModule != nullptr) FreeLibrary(static_cast<HMODULE>(DwmapiModule));
  DwmapiModule = nullptr;
  DwmIsCompositionEnabledProc = nullptr;
  DwmSetWindowAttributeProc = nullptr;
  DwmEnableBlurBehindWindowProc = nullptr;
}

bool IsDwmCompositionEnabled() {
  if (DwmapiModule == nullptr || DwmIsCompositionEnabledProc == nullptr) return false;
  Integer enabled = 0;
  if (DwmIsCompositionEnabledProc(&enabled) != 0) return false;
  return enabled != 0;
}

void SetDwmTransitions(HWND Wnd, bool AEnabled) {
  if (DwmapiModule == nullptr || DwmSetWindowAttributeProc == nullptr) return;
  const Integer value = AEnabled ? 0 : -1;
  DwmSetWindowAttributeProc(Wnd, DWMWA_TRANSITIONS_FORCEDISABLED, &value, sizeof(value));
}

void EnableBlurBehind(HWND Wnd, bool AEnable, HRGN Rgn) {
  if (DwmapiModule == nullptr || DwmEnableBlurBehindWindowProc == nullptr) return;
  DWM_BLURBEHIND bb;
  bb.dwFlags = DWM_BB_ENABLE | (Rgn != nullptr ? DWM_BB_BLURREGION : 0);
  bb.fEnable = AEnable ? -1 : 0;
  bb.hRgnBlur = Rgn;
  bb.fTransitionOnMaximized = 0;
  DwmEnableBlurBehindWindowProc(Wnd, &bb);
}
