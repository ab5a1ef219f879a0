// The skin library's optional system entry points, looked up once at start-up (a missing one turns its
// service into a fallback), the platform version tests, and the screen and monitor rectangles used to
// place windows, menus, hints and drop-down lists.
#pragma once

#include "platform/win/win.h"
#include "skin/core/bsdwm.h"
#include "skin/core/bskernels.h"  // IsWindows2000OrLater, shared with the kernel selection

// SCROLLBARINFO and STATE_SYSTEM_INVISIBLE come with the windowing layer's scroll bars.

using TMonitorFromWindowProc = HMONITOR (*)(HWND Wnd, DWORD Flags);
using TGetMonitorInfoProc = bool (*)(HMONITOR Monitor, MONITORINFO* Info);
using TGetScrollBarInfoProc = bool (*)(HWND Wnd, LONG IdObject, SCROLLBARINFO* Info);
using TSetLayeredWindowAttributesProc = bool (*)(HWND Wnd, COLORREF Key, Byte Alpha, DWORD Flags);
using TUpdateLayeredWindowProc = bool (*)(HWND Wnd, HDC Dst, const POINT* DstPoint, const SIZE* Size, HDC Src,
                                          const POINT* SrcPoint, COLORREF Key, const BLENDFUNCTION* Blend,
                                          DWORD Flags);

// Process-wide, filled by InitSkinSystemEntryPoints; null when the platform lacks the function.
extern HMODULE User32Module;
extern TMonitorFromWindowProc MonitorFromWindowProc;
extern TGetMonitorInfoProc GetMonitorInfoAProc;
extern TGetScrollBarInfoProc GetScrollBarInfoProc;
extern TSetLayeredWindowAttributesProc SetLayeredWindowAttributesProc;
extern TUpdateLayeredWindowProc UpdateLayeredWindowProc;
extern bool IsWinNTPlatform;
// The platform version as the system reports it: major in the low byte, minor in the next (10.0 here).
extern Cardinal PlatformVersion;

// Once per process (later calls only count); runs before main. DoneSkinSystemEntryPoints releases
// dwmapi and clears the scroll-bar and monitor entries when the last start-up is undone.
void InitSkinSystemEntryPoints();
void DoneSkinSystemEntryPoints();

void GetWinVersion(Integer& Major, Integer& Minor);
bool IsWindows7();
bool IsWindows8OrLater();
bool IsVistaOrLater();
bool IsWindowsXPOrLater();

// Without the entry point: an invisible scroll bar (first state word STATE_SYSTEM_INVISIBLE), result 0.
Integer SafeGetScrollBarInfo(HWND Wnd, LONG IdObject, SCROLLBARINFO& Info);
// Whole-window opacity; nothing without the entry point.
void SetWindowAlpha(HWND Wnd, Byte Alpha);

// More than one monitor and the monitor entry points present.
bool HasMultipleMonitors();
// The primary work area, or the whole screen.
void GetScreenRect(bool AWorkArea, TRect& R);
// The work area or full rectangle of the monitor nearest to Wnd; R unchanged when the query fails.
void GetMonitorRectOfWindow(HWND Wnd, bool AWorkArea, TRect& R);
