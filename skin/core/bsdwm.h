// The desktop window manager's optional entry points (dwmapi.dll), loaded once at start-up when the
// library is there. This platform has no desktop composition: the library is absent and every wrapper
// falls back (composition off, the calls do nothing).
#pragma once

#include "platform/gdi/gdi.h"

using TDwmIsCompositionEnabledProc = Integer (*)(Integer* Enabled);
using TDwmSetWindowAttributeProc = Integer (*)(HWND Wnd, DWORD Attribute, const void* Value, DWORD Size);
struct DWM_BLURBEHIND {
  DWORD dwFlags = 0;
  Integer fEnable = 0;
  HRGN hRgnBlur = nullptr;
  Integer fTransitionOnMaximized = 0;
};
using TDwmEnableBlurBehindWindowProc = Integer (*)(HWND Wnd, const DWM_BLURBEHIND* BlurBehind);

constexpr DWORD DWMWA_TRANSITIONS_FORCEDISABLED = 3;
constexpr DWORD DWM_BB_ENABLE = 1;
constexpr DWORD DWM_BB_BLURREGION = 2;

// The loaded dwmapi.dll (null when it could not be loaded) and its entries (null when missing).
extern void* DwmapiModule;
extern TDwmIsCompositionEnabledProc DwmIsCompositionEnabledProc;
extern TDwmSetWindowAttributeProc DwmSetWindowAttributeProc;
extern TDwmEnableBlurBehindWindowProc DwmEnableBlurBehindWindowProc;

// False when the library or the entry is missing or the call fails.
bool IsDwmCompositionEnabled();
// Switches the system's show and hide animations of Wnd on or off.
void SetDwmTransitions(HWND Wnd, bool AEnabled);
// Glass blur behind Wnd (behind Rgn only, when Rgn is given).
void EnableBlurBehind(HWND Wnd, bool AEnable, HRGN Rgn);

// Start-up and shut-down of the dwmapi part (called by the skin utilities' start-up).
void LoadDwmEntryPoints();
void FreeDwmEntryPoints();
