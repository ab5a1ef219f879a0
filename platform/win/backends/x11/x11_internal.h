// The X11 backend's driver class, for the files of this folder only (it names Xlib types).
#pragma once

// The layer's headers come first: Xlib defines macros (None, Expose, KeyPress, ...) that must not
// reach them.
// clang-format off
// The layer's headers come first: Xlib defines macros (None, Bool, Status, Expose, KeyPress, ...)
// that must not reach them.
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "platform/win/backends/x11/x11_backend.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
// clang-format on

// One window's picture buffer on the client side: a shared memory image when the server takes one,
// otherwise a converted copy for visuals whose layout differs from the surface's (the common 24-bit
// layout is sent straight from the surface and needs no buffer).
class TX11ImageBuffer {
 public:
  TX11ImageBuffer() = default;
  ~TX11ImageBuffer();
  TX11ImageBuffer(const TX11ImageBuffer&) = delete;
  TX11ImageBuffer& operator=(const TX11ImageBuffer&) = delete;

  // Null when the segment cannot be made or attached.
  static std::unique_ptr<TX11ImageBuffer> CreateShared(Display* display, Visual* visual, int depth, int width,
                                                       int height);
  static std::unique_ptr<TX11ImageBuffer> CreatePlain(Display* display, Visual* visual, int depth, int width,
                                                      int height);
  XImage* Image() const { return FImage; }
  bool Shared() const { return FShared; }
  int Width() const { return FImage ? FImage->width : 0; }
  int Height() const { return FImage ? FImage->height : 0; }

 private:
  Display* FDisplay = nullptr;
  XImage* FImage = nullptr;
  XShmSegmentInfo FSegment{};
  bool FShared = false;
  bool FAttached = false;
};

struct TX11Window {
  HWND Wnd = nullptr;
  Window Xid = 0;
  GC Gc = nullptr;
  XIC Ic = nullptr;
  bool OverrideRedirect = false;
  bool Reparented = false;            // a window manager put a frame around it
  bool WantMapped = false;            // what the layer asked for
  bool Iconified = false;             // minimized, by the layer or the window manager
  TRect Bounds;                       // screen; the geometry last asked for or reported
  unsigned long ConfigureSerial = 0;  // request number of our last geometry change
  std::unique_ptr<TX11ImageBuffer> Buffer;

  // Shapes: the window region and the layered transparency, intersected.
  bool HasRegionShape = false;
  std::vector<XRectangle> RegionShape;
  enum class TLayeredShape { Off, Alpha, ColorKey } LayeredShape = TLayeredShape::Off;
  COLORREF ColorKey = CLR_INVALID;
  bool HasTransparencyShape = false;
  std::vector<XRectangle> TransparencyShape;
  bool ShapeApplied = false;
  Byte Opacity = 255;

  // Expose rectangles gathered until the last one of a series.
  bool ExposePending = false;
  TRect ExposeArea;
};

struct TX11Child {
  HWND Wnd = nullptr;
  HWND TopLevel = nullptr;
  Window Xid = 0;
  TRect Bounds;  // in the top-level window
  bool Mapped = false;
  TSize ReportedSize;
};

class TX11Backend : public TWindowBackend {
 public:
  // Takes the open display.
  TX11Backend(Display* display, const TX11Options& options);
  ~TX11Backend() override;
  const char* Name() const override { return "x11"; }

  void CreateNativeWindow(HWND wnd, const TNativeWindowInfo& info) override;
  void DestroyNativeWindow(HWND wnd) override;
  void ShowNativeWindow(HWND wnd, bool visible) override;
  void MoveNativeWindow(HWND wnd, const TRect& bounds) override;
  void RestackNativeWindow(HWND wnd, HWND above) override;
  void SetNativeTitle(HWND wnd, const String& title) override;
  void SetNativeStyle(HWND wnd, DWORD style, DWORD exStyle) override;
  void ActivateNativeWindow(HWND wnd) override;
  void SetNativeState(HWND wnd, Integer state) override;
  void SetNativeIcon(HWND wnd, const std::vector<TNativeIconImage>& images) override;
  void GetScreenArea(TRect* screen, TRect* workArea) override;
  void PresentSurface(HWND wnd, HBITMAP surface, const TRect& dirty) override;
  void SetNativeShape(HWND wnd, HRGN shape) override;
  void PresentLayered(HWND wnd, HBITMAP surface, const TLayeredPush& push) override;
  TPoint GetNativeCursorPos() override;
  void SetNativeCursorPos(TPoint screen) override;
  void SetNativeCapture(HWND wnd) override;
  void SetNativeCursor(uintptr_t cursorId) override;
  bool WaitForEvents(Cardinal timeoutMs, int wakeFd) override;
  void WakeUp() override;
  uintptr_t CreateNativeChild(HWND wnd, HWND topLevel, const TRect& boundsInTopLevel) override;
  void PlaceNativeChild(HWND wnd, const TRect& boundsInTopLevel, bool visible) override;
  void DestroyNativeChild(HWND wnd) override;
  bool SetNativeClipboardText(const String& text) override;
  TNativeClipboard GetNativeClipboardText(String* text) override;

  bool ShowTrayIcon(HWND owner, UINT id, const TNativeTrayIcon& icon) override;
  void RemoveTrayIcon(HWND owner, UINT id) override;

  void SetChildListener(HWND wnd, TNativeChildListener listener);
  Window WindowId(HWND wnd) const;
  bool UsesSharedMemory() const { return FUseShm; }
  Display* Dpy() const { return FDisplay; }

 private:
  struct TAtoms {
    Atom WmProtocols, WmDeleteWindow, MotifHints, NetWmName, Utf8String, NetWmOpacity, NetWmState,
        NetWmStateAbove, NetWmStateSkipTaskbar, NetActiveWindow, NetWmWindowType, NetWmTypeNormal,
        NetWmTypeDialog, NetWmTypePopupMenu, NetWmPid, NetWmIcon, NetWorkarea, NetCurrentDesktop;
  };

  TX11Window* Find(HWND wnd);
  TX11Window* FindByXid(Window xid);
  TX11Child* FindChildByXid(Window xid);
  static bool WantsOverrideRedirect(DWORD style, DWORD exStyle);
  void ApplyWindowManagerHints(TX11Window& w, DWORD exStyle, HWND owner);
  void ApplyShape(TX11Window& w);
  void ApplyOpacity(TX11Window& w, Byte alpha);
  void RecomputeTransparencyShape(TX11Window& w, HBITMAP surface);
  void Present(TX11Window& w, HBITMAP surface, TRect dirty);
  void DefineCursorOn(Window xid);
  Cursor CursorFor(uintptr_t id);

  // Events (x11_events.cpp). Each answers whether it handed something to the layer.
  bool DispatchPending();
  bool Dispatch(XEvent& event);
  bool OnKey(XKeyEvent& event);
  bool OnButton(XButtonEvent& event);
  bool OnConfigure(TX11Window& w, const XConfigureEvent& event);
  bool OnExpose(const XExposeEvent& event);
  bool OnMapChange(TX11Window& w, bool mapped);
  void ReleaseHeldKeys();
  void NotifyChild(const TX11Child& child, const TNativeChildEvent& event);

  // The system tray (x11_tray.cpp): icons docked by the freedesktop tray protocol (XEmbed).
  struct TX11TrayIcon {
    HWND Owner = nullptr;
    UINT Id = 0;
    TNativeTrayIcon Icon;
    Window Xid = 0;  // 0 while not docked
    TSize Size{0, 0};
    unsigned int LastButton = 0;  // for double clicks
    Time LastPress = 0;
    long BalloonId = 0;  // the balloon the tray shows, 0 for none
  };
  TX11TrayIcon* FindTrayIcon(HWND owner, UINT id);
  TX11TrayIcon* FindTrayIconByXid(Window xid);
  bool WatchTrayManager();
  void DockTrayIcon(TX11TrayIcon& icon);
  void UndockTrayIcon(TX11TrayIcon& icon);
  void PaintTrayIcon(const TX11TrayIcon& icon);
  void SendTrayBalloon(TX11TrayIcon& icon);
  void SendTrayOpcode(Window window, long opcode, long a, long b, long c);
  // True when the event was about the tray; *delivered tells whether the layer got something.
  bool OnTrayEvent(const XEvent& event, bool* delivered);

  // The CLIPBOARD selection (x11_clipboard.cpp).
  void InitClipboard();
  void FreeClipboard();
  bool OnSelectionRequest(const XSelectionRequestEvent& request);
  bool OnSelectionClear(const XSelectionClearEvent& clear);
  // Waits for the answer to a conversion request; false on timeout.
  bool WaitForSelectionNotify(XEvent* event, int timeoutMs);
  bool WaitForNewProperty(Atom property, int timeoutMs);
  bool ReadIncremental(Atom property, String* text);

  Display* FDisplay;
  int FScreen;
  Window FRoot;
  Visual* FVisual;
  int FDepth;
  bool FDirectLayout = false;  // the visual's pixels are the surface's B, G, R bytes
  bool FUseShm = false;
  bool FHasShape = false;
  XIM FIm = nullptr;
  TAtoms FAtoms{};
  int FWakeFd = -1;
  std::map<HWND, std::unique_ptr<TX11Window>> FWindows;
  std::unordered_map<Window, HWND> FByXid;
  std::map<HWND, TX11Child> FChildren;
  std::map<HWND, TNativeChildListener> FListeners;
  std::map<uintptr_t, Cursor> FCursors;
  uintptr_t FCursorId = IDC_ARROW;
  HWND FCapture = nullptr;
  // The request serial of our last focus change: focus events from before it are stale (they would
  // hand the activation back to a window the layer has since left).
  unsigned long FFocusRequestSerial = 0;
  std::set<Word> FKeysDown;
  struct TClipAtoms {
    Atom Clipboard, Targets, Incr, Property, Text, Multiple, Timestamp;
  };
  TClipAtoms FClipAtoms{};
  struct TTrayAtoms {
    Atom Selection, Opcode, Manager, XembedInfo, MessageData;
  };
  TTrayAtoms FTrayAtoms{};
  bool FTrayWatched = false;  // the root's tray announcements are selected
  Window FTrayManager = 0;
  long FTrayBalloons = 0;  // ids of the balloons handed to the tray
  std::vector<std::unique_ptr<TX11TrayIcon>> FTrayIcons;
  Window FClipWindow = 0;
  String FClipText;
  bool FClipOwned = false;
};

// Installed X error handling: errors are counted instead of ending the process (a window may vanish
// between a request and its reply; a remote server refuses shared memory).
unsigned long X11ErrorCount();
