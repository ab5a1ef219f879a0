// The X11 backend: top-level windows become undecorated X windows that show their whole backing
// surface, frame included. This header is what other folders use; it names no X11 type, so it can be
// included anywhere (only the files of this folder include X11 headers).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/win/backend.h"

struct TX11Options {
  // Present through a shared memory segment when the server offers MIT-SHM on a local connection;
  // false forces XPutImage (remote displays and tests of that path).
  bool UseSharedMemory = true;
};

// A connection to displayName (empty: $DISPLAY). Null when no connection opens.
std::unique_ptr<TWindowBackend> CreateX11Backend(const String& displayName = String(),
                                                 const TX11Options& options = TX11Options());
// The program's choice: the X11 backend when DISPLAY is set and a connection opens, the headless one
// otherwise.
std::unique_ptr<TWindowBackend> CreateDefaultBackend();

// ---- the native child windows (the player's surface) ----
// What happens to a native child window on the display. Points and rectangles are in the child's own
// coordinates.
struct TNativeChildEvent {
  enum class TKind { Paint, Resize, ButtonDown, ButtonUp };
  TKind Kind = TKind::Paint;
  TRect Area;    // Paint: the part to redraw; Resize: (0, 0, new width, new height)
  TPoint Point;  // ButtonDown / ButtonUp
  TInputButton Button = TInputButton::Left;
};
using TNativeChildListener = std::function<void(HWND wnd, const TNativeChildEvent& event)>;

// Hands the native child window of wnd's events to listener (empty: nobody) on the main thread, while
// the X11 backend is installed; does nothing under other backends. Clicks on the child also reach the
// layer as ordinary mouse input, so the owning control sees them as it sees any other.
void X11SetNativeChildListener(HWND wnd, TNativeChildListener listener);

// The X window id showing a top-level window (0 when the X11 backend is not installed or the window
// has no native window); for diagnostics and tests.
uintptr_t X11NativeWindowId(HWND wnd);
// Whether the installed X11 backend presents through shared memory.
bool X11UsesSharedMemory();
