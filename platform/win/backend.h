// The backend interface: what the windowing layer asks of a display system (the headless one of the
// tests, X11), and the entry points through which a backend hands native events back.
//
// Only top-level windows (and native child windows) are native: every other window lives in-process
// and draws into its top-level window's backing surface. The layer owns each top-level window's
// surface (a 32-bit top-down DIB section of the window's size, frame included) and tells the backend
// which part of it changed; the backend shows it. All calls come on the main thread.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/win/win.h"

// What a top-level window looks like to the backend when it is created or changes.
struct TNativeWindowInfo {
  TRect Bounds;          // screen coordinates, frame included
  DWORD Style = 0;       // WS_*
  DWORD ExStyle = 0;     // WS_EX_*
  HWND Owner = nullptr;  // the owner window, for transient hints
  String Title;
  bool Popup = false;  // WS_POPUP or a tool window: shown without window manager decoration rules
};

// One UpdateLayeredWindow (or SetLayeredWindowAttributes) as the backend gets it.
struct TLayeredPush {
  TPoint Position;  // screen
  TSize Size;
  Byte ConstantAlpha = 255;    // BLENDFUNCTION.SourceConstantAlpha, or the LWA_ALPHA value
  bool PerPixelAlpha = false;  // ULW_ALPHA with AC_SRC_ALPHA
  COLORREF ColorKey = CLR_INVALID;
  DWORD Flags = 0;  // ULW_* or LWA_*
};

// One picture of a window icon: straight-alpha 0xAARRGGBB words, rows top first.
struct TNativeIconImage {
  Integer Width = 0;
  Integer Height = 0;
  std::vector<uint32_t> Argb;
};

// A tray icon as the backend shows it.
struct TNativeTrayIcon {
  UINT CallbackMessage = 0;  // 0: clicks are not reported
  TNativeIconImage Image;    // empty: no picture
  String Tip;
  String Balloon;  // a balloon message's text; empty: none (a changed text shows again)
};

class TWindowBackend {
 public:
  virtual ~TWindowBackend() = default;
  virtual const char* Name() const = 0;

  // ---- top-level windows ----
  virtual void CreateNativeWindow(HWND wnd, const TNativeWindowInfo& info) = 0;
  virtual void DestroyNativeWindow(HWND wnd) = 0;
  virtual void ShowNativeWindow(HWND wnd, bool visible) = 0;
  // New bounds (screen); the surface already has the new size when the size changed.
  virtual void MoveNativeWindow(HWND wnd, const TRect& bounds) = 0;
  // Places wnd directly below `above` (null: on top of every window).
  virtual void RestackNativeWindow(HWND wnd, HWND above) = 0;
  virtual void SetNativeTitle(HWND wnd, const String& title) = 0;
  virtual void SetNativeStyle(HWND wnd, DWORD style, DWORD exStyle) = 0;
  virtual void ActivateNativeWindow(HWND wnd) = 0;
  // 0 normal, 1 minimized, 2 maximized (SIZE_* values).
  virtual void SetNativeState(HWND wnd, Integer state) = 0;
  // The window's icon pictures, largest first (empty: none).
  virtual void SetNativeIcon(HWND, const std::vector<TNativeIconImage>&) {}

  // ---- the screen ----
  // The screen and its work area (the part not taken by panels), in screen coordinates. The default
  // is the fixed profile's screen less a 40-pixel task bar.
  virtual void GetScreenArea(TRect* screen, TRect* workArea) {
    *screen = {0, 0, ScreenWidth, ScreenHeight};
    *workArea = {0, 0, ScreenWidth, ScreenHeight - 40};
  }

  // ---- pictures ----
  // Part of the backing surface changed (window coordinates; clipped to the surface).
  virtual void PresentSurface(HWND wnd, HBITMAP surface, const TRect& dirty) = 0;
  // The window's shape (window coordinates; null: its rectangle). The region stays the layer's.
  virtual void SetNativeShape(HWND wnd, HRGN shape) = 0;
  // A layered window's picture or whole-window opacity changed; surface holds the picture.
  virtual void PresentLayered(HWND wnd, HBITMAP surface, const TLayeredPush& push) = 0;

  // ---- mouse ----
  virtual TPoint GetNativeCursorPos() = 0;
  virtual void SetNativeCursorPos(TPoint screen) = 0;
  // Grab the pointer for wnd's top-level window (null: release).
  virtual void SetNativeCapture(HWND wnd) = 0;
  // IDC_ id of the shape to show (0: hidden).
  virtual void SetNativeCursor(uintptr_t cursorId) = 0;

  // ---- the event pump ----
  // Delivers pending native events through the entry points below, then waits up to timeoutMs
  // (INFINITE: no limit; 0: no wait) until a native event arrives, wakeFd is readable or WakeUp is
  // called, delivering what arrived. Returns whether anything was delivered or woke it.
  virtual bool WaitForEvents(Cardinal timeoutMs, int wakeFd) = 0;
  // Makes a running WaitForEvents return; callable from any thread.
  virtual void WakeUp() = 0;

  // ---- the desktop clipboard ----
  // Takes the desktop clipboard with text (false when the backend has no desktop clipboard).
  virtual bool SetNativeClipboardText(const String&) { return false; }
  // What the desktop clipboard holds when another program owns it.
  enum class TNativeClipboard { Ours, Text, NoText };
  virtual TNativeClipboard GetNativeClipboardText(String*) { return TNativeClipboard::Ours; }

  // ---- the desktop's notification area ----
  // Shows (or updates) owner's tray icon id in the desktop's system tray; false when the display has
  // no tray. What a person does on it comes back as icon.CallbackMessage posted to owner (wParam id,
  // lParam the mouse message), as a tray would send it.
  virtual bool ShowTrayIcon(HWND, UINT, const TNativeTrayIcon&) { return false; }
  virtual void RemoveTrayIcon(HWND, UINT) {}

  // ---- native child windows (the player's surface) ----
  // An id other libraries can draw into (0 when the backend has none).
  virtual uintptr_t CreateNativeChild(HWND wnd, HWND topLevel, const TRect& boundsInTopLevel) = 0;
  virtual void PlaceNativeChild(HWND wnd, const TRect& boundsInTopLevel, bool visible) = 0;
  virtual void DestroyNativeChild(HWND wnd) = 0;
};

// ---- native events, handed to the layer by the backend (main thread) ----
// Mouse buttons: 0 left, 1 right, 2 middle. Points are screen coordinates. Input goes into the
// input queue and is routed (hit tested, captured, activated) when a message loop takes it.
enum class TInputButton : Integer { Left = 0, Right = 1, Middle = 2 };
void WinInputMouseMove(TPoint screen);
void WinInputMouseButton(TInputButton button, bool down, TPoint screen);
void WinInputMouseWheel(Integer delta, TPoint screen);  // multiples of WHEEL_DELTA, up positive
// A key: its virtual key code, up or down, and the character it gives (UTF-32; 0 for none).
// Auto-repeat is a down without an up in between.
void WinInputKey(Word vk, bool down, DWORD character = 0, bool extended = false);
// The window system asks to repaint part of a top-level window (window coordinates).
void WinNativeExpose(HWND wnd, const TRect& rect);
// The window system asks to repaint part of a window's native child (the child's coordinates; it
// covers the whole window). The window is invalidated there without erasing: another library draws
// the child, and the window's procedure (or whoever replaced it) hears of it through WM_PAINT.
void WinNativeChildExpose(HWND wnd, const TRect& rect);
// The window system asks to close a top-level window (WM_SYSCOMMAND SC_CLOSE).
void WinNativeCloseRequest(HWND wnd);
// The application gained or lost the input focus of the window system.
void WinNativeFocusChanged(HWND wnd, bool focused);
// The window system moved or resized a top-level window (screen).
void WinNativeConfigure(HWND wnd, const TRect& bounds);

// Another program took the desktop clipboard: the layer drops its own copy.
void WinNativeClipboardLost();

// The screen or its work area changed: the layer reads them again from the backend and tells the
// top-level windows (WM_DISPLAYCHANGE for a new screen size, WM_SETTINGCHANGE with SPI_SETWORKAREA
// for a new work area).
void WinNativeScreenChanged();

// The top-level window's backing surface (null for a window without one).
HBITMAP WinWindowSurface(HWND wnd);
// The native data slot a backend may keep per top-level window.
void WinSetBackendData(HWND wnd, uintptr_t data);
uintptr_t WinBackendData(HWND wnd);

// The headless backend (the default): everything in-process and recorded.
std::unique_ptr<TWindowBackend> CreateHeadlessBackend();
