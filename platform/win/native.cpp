// What the window system tells the layer about its top-level windows.
#include "platform/win/backend.h"
#include "platform/win/window_internal.h"

void WinNativeExpose(HWND wnd, const TRect& rect) {
  // The backing surface still holds every pixel: showing it again is the whole repaint.
  if (!WinIsLive(wnd) || !IsTopLevel(wnd)) return;
  WinPresent(wnd, rect);
}

void WinNativeChildExpose(HWND wnd, const TRect& rect) {
  if (!WinIsLive(wnd)) return;
  RECT window;
  GetWindowRect(wnd, &window);
  POINT client{0, 0};
  ClientToScreen(wnd, &client);
  RECT area = rect;
  OffsetRect(&area, window.Left - client.X, window.Top - client.Y);
  InvalidateRect(wnd, &area, false);
}

void WinNativeCloseRequest(HWND wnd) {
  if (WinIsLive(wnd)) PostMessage(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void WinNativeFocusChanged(HWND wnd, bool focused) {
  if (!WinIsLive(wnd)) return;
  if (focused) {
    SetActiveWindow(wnd);
  } else if (GetActiveWindow() == RootOf(wnd)) {
    SetActiveWindow(nullptr);
  }
}

void WinNativeConfigure(HWND wnd, const TRect& bounds) {
  if (!WinIsLive(wnd) || !IsTopLevel(wnd)) return;
  TRect current;
  GetWindowRect(wnd, &current);
  if (current == bounds) return;  // our own request coming back
  SetWindowPos(wnd, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}
