// The objects behind window handles and the layer's shared state, for the files of this folder.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/win/backend.h"
#include "platform/win/win.h"

struct TWindowClass {
  String Key;  // the name in lower case (class names ignore case)
  String Name;
  String MenuName;
  WNDCLASS Wc;
  ATOM Atom = 0;
  Integer Users = 0;
};

// An icon's pixels (icon.cpp).
struct TPlatformIcon {
  Integer Width = 0;
  Integer Height = 0;
  std::vector<uint32_t> Color;  // B, G, R, A words (straight alpha), rows top first
  std::vector<Byte> Mask;       // 1 where the screen shows through
  bool HasAlpha = false;
  bool IsIcon = true;
  DWORD HotX = 0;
  DWORD HotY = 0;
  uintptr_t StockId = 0;  // a shared stock icon: never freed
};
// A stock icon drawn at size x size (icon_stock.cpp); null for an unknown id.
std::unique_ptr<TPlatformIcon> WinRenderStockIcon(uintptr_t id, Integer size);

// One scroll bar of a window: SB_HORZ and SB_VERT for the standard bars, SB_CTL for a scroll bar
// control's own state.
struct TScrollBarState {
  bool Exists = false;  // set once the bar was shown or given values
  Integer Min = 0;
  Integer Max = 100;
  UINT Page = 0;
  Integer Pos = 0;
  Integer TrackPos = 0;
  bool Tracking = false;
  UINT Disabled = 0;  // ESB_DISABLE_* bits
};

struct TPlatformWindow {
  TWindowClass* Class = nullptr;
  WNDPROC Proc = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  HWND Parent = nullptr;  // null for top-level windows
  HWND Owner = nullptr;
  std::vector<HWND> Children;  // top of the z-order first
  TRect Rect;                  // parent client coordinates (top-level: screen)
  TRect Client;                // window coordinates
  String Text;
  HINSTANCE Instance = nullptr;
  LONG_PTR UserData = 0;
  LONG_PTR Id = 0;
  std::vector<LONG_PTR> Extra;
  std::map<String, HANDLE> Props;
  HRGN Region = nullptr;  // window coordinates
  bool MessageOnly = false;
  bool IsDesktop = false;

  // States.
  bool Minimized = false;
  bool Maximized = false;
  bool RestoreToMaximized = false;
  TRect NormalRect;

  // Painting: the update region in client coordinates (null: empty).
  HRGN Update = nullptr;
  bool EraseNeeded = false;
  bool FrameNeeded = false;
  bool InternalPaint = false;
  Integer PaintChanges = 0;  // counts validations, so a WM_PAINT that validates nothing is noticed

  // Layered windows.
  bool LayeredByUpdate = false;  // UpdateLayeredWindow was used: no painting any more
  bool HasLayeredAttributes = false;
  Byte LayeredAlpha = 255;
  COLORREF LayeredKey = 0;
  DWORD LayeredFlags = 0;
  bool LayeredPerPixel = false;

  // Top-level windows: the backing surface and the backend's slot.
  HBITMAP Surface = nullptr;
  uintptr_t BackendData = 0;
  bool Native = false;
  uintptr_t NativeChild = 0;

  TScrollBarState Scroll[3];
  HICON IconBig = nullptr;
  HICON IconSmall = nullptr;

  bool Destroying = false;
  bool Dead = false;
};

bool WinIsLive(HWND wnd);
inline bool IsTopLevel(HWND w) {
  return w && !w->Parent && !w->IsDesktop;
}

struct TRawInput {
  enum class TKind { Move, Button, Wheel, Key } Kind = TKind::Move;
  TInputButton Button = TInputButton::Left;
  bool Down = false;
  TPoint Pt;
  Integer Delta = 0;
  Word Vk = 0;
  DWORD Character = 0;
  bool Extended = false;
  DWORD Time = 0;
};

struct TTimerEntry {
  HWND Wnd = nullptr;
  UINT_PTR Id = 0;
  UINT Elapse = 0;
  TIMERPROC Proc = nullptr;
  UInt64 Due = 0;
};

// A point read and written whole from any thread. Packed into one word so that it stays lock-free
// with every compiler (an atomic of the struct itself needs libatomic under clang).
class TAtomicPoint {
 public:
  TPoint load() const {
    const UInt64 bits = FBits.load(std::memory_order_relaxed);
    return TPoint{Integer(Cardinal(bits)), Integer(Cardinal(bits >> 32))};
  }
  void store(TPoint p) {
    FBits.store(UInt64(Cardinal(p.X)) | (UInt64(Cardinal(p.Y)) << 32), std::memory_order_relaxed);
  }
  TAtomicPoint& operator=(TPoint p) {
    store(p);
    return *this;
  }

 private:
  std::atomic<UInt64> FBits{0};
};

struct TWinState {
  std::unique_ptr<TWindowBackend> Backend;
  std::unordered_set<HWND> Live;
  std::vector<std::unique_ptr<TPlatformWindow>> Graveyard;  // dead windows keep their address
  HWND Desktop = nullptr;
  std::vector<HWND> TopLevels;  // top first
  std::vector<HWND> MessageWindows;
  std::map<String, std::unique_ptr<TWindowClass>> Classes;
  ATOM NextAtom = 0xC000;

  HWND Focus = nullptr;
  HWND Active = nullptr;
  HWND Capture = nullptr;
  bool AppActive = false;

  // Posted messages of the main thread (guarded by QueueLock, the only state touched off it).
  std::mutex QueueLock;
  std::deque<MSG> Posted;
  bool QuitPending = false;
  Integer QuitCode = 0;

  std::deque<TRawInput> Input;
  std::vector<TTimerEntry> Timers;
  UINT_PTR NextTimerId = 1;

  Byte KeyState[256] = {};
  Byte AsyncKeyState[256] = {};
  // Written by input on the main thread, read by PostMessage on any thread to stamp the message.
  TAtomicPoint CursorPos;
  bool AltAlone = false;
  DWORD LastMessagePos = 0;
  LONG LastMessageTime = 0;

  // Double clicks.
  HWND ClickWnd = nullptr;
  UINT ClickMsg = 0;
  DWORD ClickTime = 0;
  TPoint ClickPt;
  UINT DoubleClickTime = 500;

  HCURSOR Cursor = nullptr;
  Integer CursorShowCount = 0;
  Integer Beeps = 0;
  Integer SendDepth = 0;

  TMessageFilter Filter;
  TModalLoopHook ModalHook;
  std::vector<std::pair<Integer, TCallWndProcHook>> Hooks;
  Integer NextHookId = 1;
  std::deque<std::function<void()>> Deferred;
  std::map<String, UINT> RegisteredMessages;
  TRect Screen{0, 0, ScreenWidth, ScreenHeight};
  TRect WorkArea{0, 0, ScreenWidth, ScreenHeight - 40};
};

TWinState& WS();
TWindowBackend& Backend();

// ---- shared helpers across the files of this folder ----
// Delivers a message to the window's procedure (hooks first); 0 for dead windows.
LRESULT WinDeliver(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
HWND RootOf(HWND wnd);                // the top-level window of wnd
TPoint ScreenOrigin(HWND wnd);        // window's top-left in screen coordinates
TPoint ClientScreenOrigin(HWND wnd);  // client top-left in screen coordinates
TPoint OffsetInRoot(HWND wnd);        // window's top-left in its top-level's window coords
TRect WindowRectInRoot(HWND wnd);
TRect ClientRectInRoot(HWND wnd);
void ResizeSurface(HWND wnd);  // top-level: a surface of the window's size
void WinDestroySurface(HWND wnd);
// Frame thickness of the default frame: client insets for a style (left, top, right, bottom).
TRect DefaultFrameInsets(DWORD style, DWORD exStyle);
void WinGetMinMaxInfo(HWND wnd, MINMAXINFO* info);  // defaults, then WM_GETMINMAXINFO
// Activation and focus bookkeeping when a window goes away or hides.
void WinActivateAfterLoss(HWND leaving);
void WinForgetWindowInput(HWND wnd);  // focus, capture, active, click state of a dying window
void WinRemoveTimersOf(HWND wnd);
void WinClearPaintState(HWND wnd);
// The caret around painting and destruction of its owner.
void WinCaretBeforePaint(HWND wnd);
void WinCaretAfterPaint(HWND wnd);
void WinCaretWindowDestroyed(HWND wnd);
bool NeedsPaint(HWND wnd);
// Invalidation in client coordinates of wnd (rgn null: the whole client area).
void WinInvalidate(HWND wnd, HRGN rgn, UINT flags);
// Region helpers (new regions; the caller deletes them).
HRGN VisibleRegionInRoot(HWND wnd, bool wholeWindow, bool clipChildren);
void WinRunSizeMoveLoop(HWND wnd, WPARAM command, TPoint start);
void WinPaintDefaultFrame(HWND wnd);
void WinPresent(HWND root, const TRect& dirty);
void WinResetPaintState();
void WinResetInputState();
void WinResetMessageState();
// Waits for messages or events, up to the next timer.
void WinWaitForWork();
// The modal loop of a drag that holds the capture (scroll bar press, window move or size). `take` sees
// each message first and returns true when it took it, setting `done` to end the loop. Keyboard and
// other button input is swallowed so nothing else reacts mid-drag; the rest is dispatched as usual. A
// WM_QUIT ends the loop and is posted again for the outer loop.
void WinRunCaptureLoop(HWND w, const std::function<bool(const MSG& m, bool& done)>& take);
LRESULT WinDefaultWindowPosChanged(HWND wnd, const WINDOWPOS* wp);
// Routes one raw input event; true and *msg when it gives a message to return.
bool WinCookInput(const TRawInput& in, MSG* msg);
bool WinAltPressedAlone();  // Alt went down and no other key since
// Screen and work area from the installed backend.
void WinRefreshScreenArea();
// The standard scroll bars (scrollbar.cpp). Rectangles are in window coordinates.
void WinReserveScrollBars(HWND wnd, RECT* client);          // WM_NCCALCSIZE: room for the shown bars
TRect WinScrollBarRect(HWND wnd, Integer bar);              // empty when the bar is not shown
Integer WinScrollBarHitTest(HWND wnd, TPoint windowPoint);  // HTVSCROLL, HTHSCROLL or HTNOWHERE
void WinPaintScrollBars(HWND wnd, HDC windowDC);
void WinTrackScrollBar(HWND wnd, Integer hit, TPoint screen);  // the press-and-drag loop
// The window icon (icon.cpp): WM_SETICON / WM_GETICON, and the push of the window's icons (or its
// class icon) to the backend.
HICON WinSetWindowIcon(HWND wnd, WPARAM kind, HICON icon);  // returns the previous one
HICON WinWindowIcon(HWND wnd, WPARAM kind);
void WinPushWindowIcon(HWND wnd);
// The top-level window needing paint first (null: none), restricted to filter's tree when given.
HWND WinFindPaintWindow(HWND filter);
