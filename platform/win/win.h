// The windowing platform: windows, classes, messages and their queue, window procedures and
// subclassing, timers, input routing (hit testing, capture, focus, activation), painting, layered
// windows and the one-monitor profile, with the names, values and behaviour the system expects of
// the Windows user interface layer.
//
// Windows belong to the main thread and their procedures run on it. From another thread,
// SendMessage is carried to the main thread (through the main-thread call queue) and waits;
// PostMessage, PostThreadMessage and InvalidateRect work from any thread; other calls are for the
// main thread only.
//
// Coordinates: a top-level window's rectangle is in screen coordinates; a child's rectangle is in
// its parent's client coordinates. "Window coordinates" start at a window's top-left corner (frame
// included), "client coordinates" at its client area's top-left corner. Rectangles are
// right/bottom exclusive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/types.h"

// ---- basic types ----
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using UINT_PTR = uintptr_t;
using ATOM = Word;
using SHORT = int16_t;

struct TPlatformCursor;
struct TPlatformIcon;
struct TPlatformMenu;
struct TPlatformMonitor;
// A module: what the dynamic-library functions hand out.
using HINSTANCE = HMODULE;
using HCURSOR = TPlatformCursor*;
using HICON = TPlatformIcon*;
using HMENU = TPlatformMenu*;  // for a child window: its control id, as on the platform
using HMONITOR = TPlatformMonitor*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = bool (*)(HWND, LPARAM);

constexpr Word LOWORD(uintptr_t v) {
  return Word(v & 0xFFFF);
}
constexpr Word HIWORD(uintptr_t v) {
  return Word((v >> 16) & 0xFFFF);
}
constexpr Integer GET_X_LPARAM(LPARAM l) {
  return int16_t(l & 0xFFFF);
}
constexpr Integer GET_Y_LPARAM(LPARAM l) {
  return int16_t((l >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(Integer lo, Integer hi) {
  return LPARAM(int32_t(uint32_t(lo & 0xFFFF) | (uint32_t(hi & 0xFFFF) << 16)));
}
constexpr WPARAM MAKEWPARAM(Integer lo, Integer hi) {
  return WPARAM(uint32_t(lo & 0xFFFF) | (uint32_t(hi & 0xFFFF) << 16));
}
constexpr LPARAM PointToLParam(TPoint p) {
  return MAKELPARAM(p.X, p.Y);
}
constexpr TPoint LParamToPoint(LPARAM l) {
  return {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM w) {
  return SHORT(HIWORD(w));
}
constexpr Integer WHEEL_DELTA = 120;

// ---- messages ----
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYENDSESSION = 0x0011;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_WININICHANGE = WM_SETTINGCHANGE;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_FONTCHANGE = 0x001D;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_CHILDACTIVATE = 0x0022;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_DELETEITEM = 0x002D;
constexpr UINT WM_VKEYTOITEM = 0x002E;
constexpr UINT WM_CHARTOITEM = 0x002F;
constexpr UINT WM_COMPAREITEM = 0x0039;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_USERCHANGED = 0x0054;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_STYLECHANGING = 0x007C;
constexpr UINT WM_STYLECHANGED = 0x007D;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_SYNCPAINT = 0x0088;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_SYSDEADCHAR = 0x0107;
constexpr UINT WM_KEYLAST = 0x0109;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENU = 0x0116;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_MENUCHAR = 0x0120;
constexpr UINT WM_ENTERIDLE = 0x0121;
constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORDLG = 0x0136;
constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSELAST = 0x020A;
constexpr UINT WM_PARENTNOTIFY = 0x0210;
constexpr UINT WM_ENTERMENULOOP = 0x0211;
constexpr UINT WM_EXITMENULOOP = 0x0212;
constexpr UINT WM_SIZING = 0x0214;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOVING = 0x0216;
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;
constexpr UINT WM_HOTKEY = 0x0312;
constexpr UINT WM_PRINT = 0x0317;
constexpr UINT WM_PRINTCLIENT = 0x0318;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;
// RegisterWindowMessage hands out numbers from here up.
constexpr UINT WM_REGISTERED_FIRST = 0xC000;

// The class library's control messages.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;

// Notifications reflected back to the control that caused them: CN_BASE plus the message.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + 0x002F;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + 0x0039;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + 0x002E;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// ---- styles ----
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_CAPTION = WS_BORDER | WS_DLGFRAME;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_MDICHILD = 0x00000040;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_GLOBALCLASS = 0x4000;
constexpr UINT CS_DROPSHADOW = 0x00020000;

// ---- window structures ----
struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  Integer cbClsExtra = 0;
  Integer cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  // A brush, or a system colour index + 1 cast to HBRUSH, as on the platform.
  HBRUSH hbrBackground = nullptr;
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
};

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;
  HWND hwndParent = nullptr;
  Integer cy = 0;
  Integer cx = 0;
  Integer y = 0;
  Integer x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  Integer x = 0;
  Integer y = 0;
  Integer cx = 0;
  Integer cy = 0;
  UINT flags = 0;
};

// WM_NCCALCSIZE with wParam true: rgrc[0] is the proposed window rectangle (parent client
// coordinates) and becomes the client rectangle; rgrc[1] the old window and rgrc[2] the old client
// rectangle. With wParam false lParam is one RECT.
struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

struct WINDOWPLACEMENT {
  UINT length = sizeof(WINDOWPLACEMENT);
  UINT flags = 0;
  UINT showCmd = 0;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;  // screen coordinates for top-level windows
};

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
  // For key messages made from input: the character the key gives (UTF-32, 0 for none) that
  // TranslateMessage turns into WM_CHAR / WM_SYSCHAR.
  DWORD lPrivate = 0;
};

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  bool fErase = false;  // true when the background still needs erasing (WM_ERASEBKGND gave 0)
  RECT rcPaint;         // client coordinates
  bool fRestore = false;
  bool fIncUpdate = false;
  Byte rgbReserved[32] = {};
};

// The class library's message record (Msg, WParam, LParam, Result).
struct TMessage {
  Cardinal Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};
using TWndMethod = std::function<void(TMessage&)>;

// ---- notifications and owner drawing ----
// WM_NOTIFY's lParam (wParam: the control id); controls' own records start with it.
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};
// Common notification codes (negative numbers, as on the platform).
constexpr UINT NM_FIRST = 0;
constexpr UINT NM_OUTOFMEMORY = UINT(NM_FIRST - 1);
constexpr UINT NM_CLICK = UINT(NM_FIRST - 2);
constexpr UINT NM_DBLCLK = UINT(NM_FIRST - 3);
constexpr UINT NM_RETURN = UINT(NM_FIRST - 4);
constexpr UINT NM_RCLICK = UINT(NM_FIRST - 5);
constexpr UINT NM_RDBLCLK = UINT(NM_FIRST - 6);
constexpr UINT NM_SETFOCUS = UINT(NM_FIRST - 7);
constexpr UINT NM_KILLFOCUS = UINT(NM_FIRST - 8);
constexpr UINT NM_CUSTOMDRAW = UINT(NM_FIRST - 12);

// Owner-drawn controls: control types, actions and item states.
constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;
constexpr UINT ODS_HOTLIGHT = 0x0040;
constexpr UINT ODS_INACTIVE = 0x0080;
constexpr UINT ODS_NOACCEL = 0x0100;
constexpr UINT ODS_NOFOCUSRECT = 0x0200;

// WM_DRAWITEM's lParam (wParam: the control id; 0 for menus).
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;  // UINT(-1) for an empty list box or combo box
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = nullptr;  // for menus: the menu (as a window-sized handle)
  HDC hDC = nullptr;
  RECT rcItem;
  ULONG_PTR itemData = 0;
};

// WM_MEASUREITEM's lParam: the owner fills itemWidth / itemHeight.
struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};

// ---- edit and list box messages, styles and notifications (the platform's values) ----
constexpr UINT EM_GETSEL = 0x00B0;  // wParam/lParam: DWORD* start / end (may be 0); result start | end << 16
constexpr UINT EM_SETSEL = 0x00B1;  // (start, end): start -1 removes the selection; end -1 is the end
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;    // lParam: RECT* (client) or 0 for the default rectangle
constexpr UINT EM_SETRECTNP = 0x00B4;  // as EM_SETRECT without repainting
constexpr UINT EM_SCROLL = 0x00B5;
constexpr UINT EM_LINESCROLL = 0x00B6;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;  // wParam: can undo; lParam: const char* (UTF-8)
constexpr UINT EM_GETLINE = 0x00C4;     // wParam: line; lParam: buffer whose first WORD is its size
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_SETMARGINS = 0x00D3;
constexpr UINT EM_GETMARGINS = 0x00D4;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_POSFROMCHAR = 0x00D6;  // result x | y << 16 (client)
constexpr UINT EM_CHARFROMPOS = 0x00D7;  // lParam x | y << 16; result char | line << 16
constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
constexpr WPARAM EC_USEFONTINFO = 0xFFFF;
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_OEMCONVERT = 0x0400;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr Word EN_SETFOCUS = 0x0100;
constexpr Word EN_KILLFOCUS = 0x0200;
constexpr Word EN_CHANGE = 0x0300;
constexpr Word EN_UPDATE = 0x0400;
constexpr Word EN_MAXTEXT = 0x0501;
constexpr Word EN_HSCROLL = 0x0601;
constexpr Word EN_VSCROLL = 0x0602;

constexpr UINT LB_ADDSTRING = 0x0180;  // lParam: const char*; result the index, LB_ERR
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;  // result the count left
constexpr UINT LB_SELITEMRANGEEX = 0x0183;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;  // wParam: select; lParam: index, -1 for all
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;  // lParam: buffer of at least LB_GETTEXTLEN + 1 bytes
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_GETSELITEMS = 0x0191;
constexpr UINT LB_SETTABSTOPS = 0x0192;
constexpr UINT LB_GETHORIZONTALEXTENT = 0x0193;
constexpr UINT LB_SETHORIZONTALEXTENT = 0x0194;
constexpr UINT LB_SETCOLUMNWIDTH = 0x0195;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SELITEMRANGE = 0x019B;
constexpr UINT LB_SETANCHORINDEX = 0x019C;
constexpr UINT LB_GETANCHORINDEX = 0x019D;
constexpr UINT LB_SETCARETINDEX = 0x019E;
constexpr UINT LB_GETCARETINDEX = 0x019F;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr UINT LB_SETCOUNT = 0x01A7;
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;  // lParam x | y << 16; result index | outside << 16
constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOREDRAW = 0x0004;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_USETABSTOPS = 0x0080;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_MULTICOLUMN = 0x0200;
constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x0400;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;
constexpr DWORD LBS_NODATA = 0x2000;
constexpr Word LBN_ERRSPACE = Word(-2);
constexpr Word LBN_SELCHANGE = 1;
constexpr Word LBN_DBLCLK = 2;
constexpr Word LBN_SELCANCEL = 3;
constexpr Word LBN_SETFOCUS = 4;
constexpr Word LBN_KILLFOCUS = 5;

// ---- CreateWindowEx ----
constexpr Integer CW_USEDEFAULT = int32_t(0x80000000);
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(intptr_t(-3));

ATOM RegisterClass(const WNDCLASS* wc);  // 0 when the name is taken or wc is incomplete
bool UnregisterClass(const char* className, HINSTANCE instance);  // fails while windows use it
bool GetClassInfo(HINSTANCE instance, const char* className, WNDCLASS* wc);
// Sends WM_GETMINMAXINFO (overlapped sizeable windows), WM_NCCREATE, WM_NCCALCSIZE and WM_CREATE
// (lParam: the CREATESTRUCT), WM_PARENTNOTIFY(WM_CREATE) to the ancestors of a child, then WM_SIZE
// and WM_MOVE, and shows the window when WS_VISIBLE is given. A new window goes on top of its
// siblings. Null when the class is unknown, the parent is not a window, or WM_NCCREATE answers 0 /
// WM_CREATE answers -1 (the window is destroyed again).
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, Integer x,
                    Integer y, Integer width, Integer height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* param);
// Owned windows first; then WM_DESTROY to the window and its descendants (parent first) and
// WM_NCDESTROY to them in the opposite order. A destroyed window's handle stays unique (never
// reused) and IsWindow answers false for it. Destroying from inside the window's own procedure is
// safe: the object is freed after the outermost message of that window returns.
bool DestroyWindow(HWND wnd);
bool IsWindow(HWND wnd);
HWND GetDesktopWindow();
HINSTANCE GetModuleHandle(const char* name);  // the program's instance for null

// ---- window procedures ----
// DefWindowProc gives the platform's default answers: frame calculation and hit testing,
// WM_NCPAINT / WM_ERASEBKGND (class brush) / WM_PAINT (validates), text, WM_CLOSE → DestroyWindow,
// WM_SYSCOMMAND (SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_MOVE, SC_SIZE with the
// move/size loop, SC_KEYMENU ignored), the move/size loop from WM_NCLBUTTONDOWN on the caption or a
// sizing border, WM_WINDOWPOSCHANGED → WM_MOVE / WM_SIZE, WM_WINDOWPOSCHANGING → min/max track size,
// WM_ACTIVATE → focus, WM_MOUSEACTIVATE / WM_SETCURSOR / WM_MOUSEWHEEL / WM_CONTEXTMENU → the parent,
// WM_RBUTTONUP → WM_CONTEXTMENU, Alt and F10 → WM_SYSCOMMAND SC_KEYMENU, Alt+F4 → SC_CLOSE,
// WM_SETREDRAW, WM_CANCELMODE (releases the capture).
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// A window procedure that calls method (the class library's object instance). Freed by
// FreeObjectInstance; a fixed pool, so EOutOfResources when all are in use.
WNDPROC MakeObjectInstance(TWndMethod method);
void FreeObjectInstance(WNDPROC proc);

// ---- sending, posting, the queue and the loop ----
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// HWND_BROADCAST sends to every top-level window.
inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(intptr_t(0xFFFF));
bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// To the queue of a thread that has one (the main thread always has one).
bool PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(Integer exitCode);
bool SendNotifyMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;
// Retrieval order, as on the platform: posted messages, input (hit tested, activated and parent
// notified when it is taken), WM_QUIT once nothing is posted, WM_PAINT, then WM_TIMER. On the
// main thread every call first serves the main-thread call queue (CheckSynchronize) and the backend.
bool PeekMessage(MSG* msg, HWND wnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits (serving the main-thread queue and the backend) until a message arrives; false for WM_QUIT.
bool GetMessage(MSG* msg, HWND wnd, UINT filterMin, UINT filterMax);
bool WaitMessage();
// WM_KEYDOWN / WM_SYSKEYDOWN that give a character post WM_CHAR / WM_SYSCHAR.
bool TranslateMessage(const MSG* msg);
// Calls the window's procedure (or the TIMERPROC of a WM_TIMER); drops messages of dead windows.
LRESULT DispatchMessage(const MSG* msg);
DWORD GetMessagePos();  // the cursor position of the last message retrieved, x low, y high
LONG GetMessageTime();  // its time
bool InSendMessage();

// The application-level filter: the message loops of this layer (WinProcessMessage and the loops
// built on it) hand every retrieved message to it before TranslateMessage and DispatchMessage; a
// true answer means it was handled. The control framework installs its preprocessing here (key
// messages as CN_KEYDOWN, then CM_DIALOGKEY, then WM_KEYDOWN; hints; the application's OnMessage).
using TMessageFilter = std::function<bool(MSG& msg)>;
void SetApplicationMessageFilter(TMessageFilter filter);
// Takes one message (PM_REMOVE) and handles it: the filter, then TranslateMessage and
// DispatchMessage. False when the queue was empty; *quit (optional) is set for WM_QUIT, which is
// not dispatched.
bool WinProcessMessage(bool* quit = nullptr);
// Handles messages until none is left (WM_QUIT is posted again and ends it). From start-up on it is
// the main thread's wait hook (ServeMainThreadWait).
void WinProcessMessages();
// A nested modal loop: handles messages, waiting when idle, until done() answers true or WM_QUIT
// arrives (posted again for the outer loop; the answer is then false). Starting it runs the modal
// loop hook.
bool WinRunModalLoop(const std::function<bool()>& done, HWND owner = nullptr);
// Called when any modal loop of this layer starts (the move/size loop and WinRunModalLoop), with the
// loop's window; others (menus, dialogs) announce theirs with WinNotifyModalLoopStarted.
using TModalLoopHook = std::function<void(HWND wnd)>;
void SetModalLoopHook(TModalLoopHook hook);
void WinNotifyModalLoopStarted(HWND wnd);
// Observers of every message delivered to a window procedure (sent or dispatched; not the inner
// calls of a subclass chain), called before the procedure runs. For message spies in tests.
using TCallWndProcHook = std::function<void(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)>;
Integer WinAddCallWndProcHook(TCallWndProcHook hook);
void WinRemoveCallWndProcHook(Integer id);

// Deferred destruction: runs action after the message being handled returns, at the next pass of a
// message loop (before other queued messages). For objects freed from inside their own handlers.
void WinDeferAction(std::function<void()> action);
bool WinRunDeferredActions();  // true when it ran any

// ---- caret ----
// One caret per thread, owned by one window, as on the platform: created hidden (ShowCaret once to
// see it), drawn by inverting its rectangle on the window and blinking on the clock every
// GetCaretBlinkTime milliseconds. ShowCaret and HideCaret nest; BeginPaint takes a visible caret off
// the window and EndPaint puts it back, so painting never leaves a stale caret behind. Destroying the
// owner destroys the caret. The calls fail (false) for a window that does not own the caret.
bool CreateCaret(HWND wnd, HBITMAP bitmap, Integer width, Integer height);  // bitmap: solid only (null)
bool DestroyCaret();
bool ShowCaret(HWND wnd);
bool HideCaret(HWND wnd);
bool SetCaretPos(Integer x, Integer y);  // client coordinates of the owner
bool GetCaretPos(POINT* point);
UINT GetCaretBlinkTime();
bool SetCaretBlinkTime(UINT milliseconds);
// For tests: the owner, whether the caret is drawn at this moment, and its rectangle (client).
HWND WinCaretOwner();
bool WinCaretDrawn();
TRect WinCaretRect();

// ---- clipboard (text) ----
// The text clipboard: held in-process, and, with a backend that has one (X11: the CLIPBOARD
// selection, UTF-8 both ways), shared with the other programs of the desktop. Text is UTF-8.
bool WinSetClipboardText(const String& text);
// The clipboard's text: another program's when it holds the desktop clipboard, else ours. False
// when the clipboard holds no text.
bool WinGetClipboardText(String* text);
bool WinClipboardHasText();
void WinEmptyClipboard();

// ---- timers ----
constexpr UINT USER_TIMER_MINIMUM = 10;
// Same window and id: the timer restarts. A null window gets a fresh id. Elapse below
// USER_TIMER_MINIMUM is raised to it. Returns the id, 0 on failure.
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
bool KillTimer(HWND wnd, UINT_PTR id);

// ---- window data ----
constexpr Integer GWL_WNDPROC = -4;
constexpr Integer GWLP_WNDPROC = -4;
constexpr Integer GWLP_HINSTANCE = -6;
constexpr Integer GWLP_HWNDPARENT = -8;  // the owner
constexpr Integer GWL_HWNDPARENT = -8;
constexpr Integer GWL_STYLE = -16;
constexpr Integer GWL_EXSTYLE = -20;
constexpr Integer GWLP_USERDATA = -21;
constexpr Integer GWL_USERDATA = -21;
constexpr Integer GWLP_ID = -12;
constexpr Integer GWL_ID = -12;
constexpr Integer GCL_STYLE = -26;
constexpr Integer GCLP_HBRBACKGROUND = -10;
constexpr Integer GCLP_HCURSOR = -12;
constexpr Integer GCLP_HICON = -14;
constexpr Integer GCLP_WNDPROC = -24;
// Offsets >= 0 address the cbWndExtra bytes (pointer-sized slots).
LONG_PTR GetWindowLongPtr(HWND wnd, Integer index);
// Returns the previous value. GWL_STYLE / GWL_EXSTYLE send WM_STYLECHANGING / WM_STYLECHANGED (the
// frame is recalculated only by SetWindowPos with SWP_FRAMECHANGED); WS_EX_LAYERED on or off makes
// the window layered or not; GWLP_WNDPROC subclasses (the previous procedure is returned for
// CallWindowProc).
LONG_PTR SetWindowLongPtr(HWND wnd, Integer index, LONG_PTR value);
inline LONG GetWindowLong(HWND wnd, Integer index) {
  return LONG(GetWindowLongPtr(wnd, index));
}
inline LONG SetWindowLong(HWND wnd, Integer index, LONG value) {
  return LONG(SetWindowLongPtr(wnd, index, value));
}
ULONG_PTR GetClassLongPtr(HWND wnd, Integer index);
ULONG_PTR SetClassLongPtr(HWND wnd, Integer index, LONG_PTR value);
Integer GetClassName(HWND wnd, char* buffer, Integer maxCount);
String GetClassNameStr(HWND wnd);
// Window properties by name.
bool SetProp(HWND wnd, const char* name, HANDLE data);
HANDLE GetProp(HWND wnd, const char* name);
HANDLE RemoveProp(HWND wnd, const char* name);
// Window text through WM_SETTEXT / WM_GETTEXT (UTF-8; never cut inside a character).
bool SetWindowText(HWND wnd, const char* text);
Integer GetWindowText(HWND wnd, char* buffer, Integer maxCount);
Integer GetWindowTextLength(HWND wnd);
String GetWindowTextStr(HWND wnd);
UINT RegisterWindowMessage(const char* name);  // the same number for the same name

// ---- tree and z-order ----
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr UINT GW_ENABLEDPOPUP = 6;
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
// The parent of a child; the owner of a WS_POPUP window; null otherwise (as on the platform).
HWND GetParent(HWND wnd);
// Makes wnd a child of parent (null or the desktop: top-level). Returns the old parent.
HWND SetParent(HWND wnd, HWND parent);
HWND GetAncestor(HWND wnd, UINT flags);
HWND GetWindow(HWND wnd, UINT cmd);
HWND GetTopWindow(HWND wnd);  // the topmost child (null: the topmost top-level window)
HWND GetNextWindow(HWND wnd, UINT cmd);
bool IsChild(HWND parent, HWND wnd);  // any descendant
// Every descendant, top of the z-order first, each followed by its own descendants.
bool EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
bool EnumWindows(WNDENUMPROC proc, LPARAM lParam);  // top-level windows, top first
std::vector<HWND> WinChildWindows(HWND parent);     // direct children, top first (null: top-levels)
HWND GetLastActivePopup(HWND owner);

inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(intptr_t(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(intptr_t(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(intptr_t(-2));
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DEFERERASE = 0x2000;
constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;
// WM_WINDOWPOSCHANGING (its handler may change the WINDOWPOS), the change, WM_NCCALCSIZE when the
// size changes or SWP_FRAMECHANGED, WM_WINDOWPOSCHANGED (whose default sends WM_MOVE and WM_SIZE).
// HWND_TOPMOST / HWND_NOTOPMOST set or clear WS_EX_TOPMOST; topmost windows stay above the others.
// A top-level window activates unless SWP_NOACTIVATE (or it is hidden or WS_EX_NOACTIVATE).
bool SetWindowPos(HWND wnd, HWND insertAfter, Integer x, Integer y, Integer cx, Integer cy, UINT flags);
bool MoveWindow(HWND wnd, Integer x, Integer y, Integer width, Integer height, bool repaint);
bool BringWindowToTop(HWND wnd);

// ---- rectangles and points ----
bool GetWindowRect(HWND wnd, RECT* rect);  // screen coordinates
bool GetClientRect(HWND wnd, RECT* rect);  // (0, 0, width, height) of the client area
bool ClientToScreen(HWND wnd, POINT* point);
bool ScreenToClient(HWND wnd, POINT* point);
// From one window's client coordinates to another's (null: the screen). Returns the offset: x in the
// low word, y in the high word.
Integer MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
inline Integer MapWindowRect(HWND from, HWND to, RECT* r) {
  return MapWindowPoints(from, to, reinterpret_cast<POINT*>(r), 2);
}
bool AdjustWindowRectEx(RECT* rect, DWORD style, bool menu, DWORD exStyle);

// ---- showing and states ----
constexpr Integer SW_HIDE = 0;
constexpr Integer SW_SHOWNORMAL = 1;
constexpr Integer SW_NORMAL = 1;
constexpr Integer SW_SHOWMINIMIZED = 2;
constexpr Integer SW_SHOWMAXIMIZED = 3;
constexpr Integer SW_MAXIMIZE = 3;
constexpr Integer SW_SHOWNOACTIVATE = 4;
constexpr Integer SW_SHOW = 5;
constexpr Integer SW_MINIMIZE = 6;
constexpr Integer SW_SHOWMINNOACTIVE = 7;
constexpr Integer SW_SHOWNA = 8;
constexpr Integer SW_RESTORE = 9;
constexpr Integer SW_SHOWDEFAULT = 10;
constexpr Integer SW_FORCEMINIMIZE = 11;
// WM_SIZE wParam.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
// Returns whether the window was visible before. WM_SHOWWINDOW when the visibility changes; minimized
// windows sit at (-32000, -32000) with the platform's minimized size; maximized ones fill the work
// area (WM_GETMINMAXINFO's ptMaxSize / ptMaxPosition).
bool ShowWindow(HWND wnd, Integer cmd);
bool IsWindowVisible(HWND wnd);  // the window and all its ancestors have WS_VISIBLE
bool IsIconic(HWND wnd);
bool IsZoomed(HWND wnd);
bool GetWindowPlacement(HWND wnd, WINDOWPLACEMENT* placement);
bool SetWindowPlacement(HWND wnd, const WINDOWPLACEMENT* placement);
// WM_ENABLE on a change; disabling the window with the focus (or an ancestor of it) clears the focus.
// Returns whether the window was disabled before.
bool EnableWindow(HWND wnd, bool enable);
bool IsWindowEnabled(HWND wnd);

// ---- regions and layered windows ----
// The window owns rgn (window coordinates) from now on and frees the previous one; null removes it.
// Hit testing, WindowFromPoint, drawing and the backend's shape honour it.
Integer SetWindowRgn(HWND wnd, HRGN rgn, bool redraw);
Integer GetWindowRgn(HWND wnd, HRGN rgn);  // a copy into rgn; ERROR without a region
constexpr DWORD LWA_COLORKEY = 0x00000001;
constexpr DWORD LWA_ALPHA = 0x00000002;
constexpr DWORD ULW_COLORKEY = 0x00000001;
constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD ULW_OPAQUE = 0x00000004;
// Fails unless the window has WS_EX_LAYERED, or after UpdateLayeredWindow was used on it.
bool SetLayeredWindowAttributes(HWND wnd, COLORREF key, Byte alpha, DWORD flags);
bool GetLayeredWindowAttributes(HWND wnd, COLORREF* key, Byte* alpha, DWORD* flags);
// The window takes its whole picture from src (a 32-bit DC, per-pixel premultiplied alpha with
// ULW_ALPHA and AC_SRC_ALPHA) at srcPoint, its position from dstPoint and its size from size (each
// optional); it gets no WM_PAINT afterwards. Fails unless the window has WS_EX_LAYERED.
bool UpdateLayeredWindow(HWND wnd, HDC dst, const POINT* dstPoint, const SIZE* size, HDC src,
                         const POINT* srcPoint, COLORREF key, const BLENDFUNCTION* blend, DWORD flags);

// ---- painting ----
bool InvalidateRect(HWND wnd, const RECT* rect, bool erase);  // client coordinates; null: all
bool InvalidateRgn(HWND wnd, HRGN rgn, bool erase);
bool ValidateRect(HWND wnd, const RECT* rect);
bool ValidateRgn(HWND wnd, HRGN rgn);
bool GetUpdateRect(HWND wnd, RECT* rect, bool erase);
Integer GetUpdateRgn(HWND wnd, HRGN rgn, bool erase);
// WM_NCPAINT (when the frame needs it), WM_ERASEBKGND (when erasing is pending) with the paint DC;
// the DC is clipped to the update region inside the visible client area, which becomes valid.
HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps);
bool EndPaint(HWND wnd, const PAINTSTRUCT* ps);
bool UpdateWindow(HWND wnd);
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;
// Children take part with RDW_ALLCHILDREN, or without either child flag when the window lacks
// WS_CLIPCHILDREN.
bool RedrawWindow(HWND wnd, const RECT* rect, HRGN rgn, UINT flags);
constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_NORESETATTRS = 0x00000004;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;
constexpr DWORD DCX_VALIDATE = 0x00200000;
// GetDC / GetWindowDC (gdi.h) answer through this layer: a DC on the top-level window's backing
// surface whose origin is the window's client (or window) corner, clipped to what of it is visible
// (the ancestors' client areas, the window region, the children with WS_CLIPCHILDREN, the siblings
// above with WS_CLIPSIBLINGS). ReleaseDC tells the backend what changed. rgn is in screen
// coordinates for DCX_EXCLUDERGN / DCX_INTERSECTRGN, as on the platform.
HDC GetDCEx(HWND wnd, HRGN rgn, DWORD flags);
HWND WindowFromDC(HDC dc);

// ---- input ----
// Hit test codes.
constexpr Integer HTERROR = -2;
constexpr Integer HTTRANSPARENT = -1;
constexpr Integer HTNOWHERE = 0;
constexpr Integer HTCLIENT = 1;
constexpr Integer HTCAPTION = 2;
constexpr Integer HTSYSMENU = 3;
constexpr Integer HTGROWBOX = 4;
constexpr Integer HTSIZE = HTGROWBOX;
constexpr Integer HTMENU = 5;
constexpr Integer HTHSCROLL = 6;
constexpr Integer HTVSCROLL = 7;
constexpr Integer HTMINBUTTON = 8;
constexpr Integer HTREDUCE = HTMINBUTTON;
constexpr Integer HTMAXBUTTON = 9;
constexpr Integer HTZOOM = HTMAXBUTTON;
constexpr Integer HTLEFT = 10;
constexpr Integer HTRIGHT = 11;
constexpr Integer HTTOP = 12;
constexpr Integer HTTOPLEFT = 13;
constexpr Integer HTTOPRIGHT = 14;
constexpr Integer HTBOTTOM = 15;
constexpr Integer HTBOTTOMLEFT = 16;
constexpr Integer HTBOTTOMRIGHT = 17;
constexpr Integer HTBORDER = 18;
constexpr Integer HTOBJECT = 19;
constexpr Integer HTCLOSE = 20;
constexpr Integer HTHELP = 21;
// WM_MOUSEACTIVATE answers.
constexpr LRESULT MA_ACTIVATE = 1;
constexpr LRESULT MA_ACTIVATEANDEAT = 2;
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr LRESULT MA_NOACTIVATEANDEAT = 4;
// WM_ACTIVATE wParam (low word).
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;
// Mouse message key flags.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
// WM_SYSCOMMAND (the low four bits carry extra data: the sizing edge, the hit code).
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_NEXTWINDOW = 0xF040;
constexpr WPARAM SC_PREVWINDOW = 0xF050;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_VSCROLL = 0xF070;
constexpr WPARAM SC_HSCROLL = 0xF080;
constexpr WPARAM SC_MOUSEMENU = 0xF090;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM SC_TASKLIST = 0xF130;
constexpr WPARAM SC_DEFAULT = 0xF160;
// WM_SIZING edges (also SC_SIZE + edge).
constexpr WPARAM WMSZ_LEFT = 1;
constexpr WPARAM WMSZ_RIGHT = 2;
constexpr WPARAM WMSZ_TOP = 3;
constexpr WPARAM WMSZ_TOPLEFT = 4;
constexpr WPARAM WMSZ_TOPRIGHT = 5;
constexpr WPARAM WMSZ_BOTTOM = 6;
constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;
// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// Virtual keys.
constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_CANCEL = 0x03;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_CLEAR = 0x0C;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_SNAPSHOT = 0x2C;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
constexpr Word VK_LWIN = 0x5B;
constexpr Word VK_RWIN = 0x5C;
constexpr Word VK_APPS = 0x5D;
constexpr Word VK_NUMPAD0 = 0x60;
constexpr Word VK_MULTIPLY = 0x6A;
constexpr Word VK_ADD = 0x6B;
constexpr Word VK_SEPARATOR = 0x6C;
constexpr Word VK_SUBTRACT = 0x6D;
constexpr Word VK_DECIMAL = 0x6E;
constexpr Word VK_DIVIDE = 0x6F;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F5 = 0x74;
constexpr Word VK_F6 = 0x75;
constexpr Word VK_F7 = 0x76;
constexpr Word VK_F8 = 0x77;
constexpr Word VK_F9 = 0x78;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_F11 = 0x7A;
constexpr Word VK_F12 = 0x7B;
constexpr Word VK_NUMLOCK = 0x90;
constexpr Word VK_SCROLL = 0x91;
constexpr Word VK_LSHIFT = 0xA0;
constexpr Word VK_RSHIFT = 0xA1;
constexpr Word VK_LCONTROL = 0xA2;
constexpr Word VK_RCONTROL = 0xA3;
constexpr Word VK_LMENU = 0xA4;
constexpr Word VK_RMENU = 0xA5;
constexpr Word VK_OEM_1 = 0xBA;
constexpr Word VK_OEM_PLUS = 0xBB;
constexpr Word VK_OEM_COMMA = 0xBC;
constexpr Word VK_OEM_MINUS = 0xBD;
constexpr Word VK_OEM_PERIOD = 0xBE;
constexpr Word VK_OEM_2 = 0xBF;
constexpr Word VK_OEM_3 = 0xC0;
constexpr Word VK_OEM_4 = 0xDB;
constexpr Word VK_OEM_5 = 0xDC;
constexpr Word VK_OEM_6 = 0xDD;
constexpr Word VK_OEM_7 = 0xDE;
// Key message lParam bits.
constexpr LPARAM KF_EXTENDED_BIT = LPARAM(1) << 24;
constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;
constexpr LPARAM KF_REPEAT_BIT = LPARAM(1) << 30;
constexpr LPARAM KF_UP_BIT = LPARAM(int32_t(0x80000000));

// The state as of the message being handled: high bit (0x8000) down, low bit toggled.
SHORT GetKeyState(Integer vk);
// The state of the input as it arrives (before the queue): high bit down.
SHORT GetAsyncKeyState(Integer vk);

// Capture: all mouse input goes to the window as client messages. WM_CAPTURECHANGED (lParam: the
// new capture) goes to the window losing it.
HWND SetCapture(HWND wnd);
bool ReleaseCapture();
HWND GetCapture();
// Fails (null, nothing changes) for a window that is not a window, is disabled or is hidden;
// otherwise activates its top-level window when needed, sends WM_KILLFOCUS (wParam: the new focus)
// to the old focus, then WM_SETFOCUS (wParam: the old focus) to the new one, and returns the old one.
// SetFocus(null) removes the focus.
HWND SetFocus(HWND wnd);
HWND GetFocus();
// Activation of top-level windows: WM_NCACTIVATE and WM_ACTIVATE(WA_INACTIVE) to the old one,
// WM_ACTIVATEAPP when the application becomes active, WM_NCACTIVATE and WM_ACTIVATE to the new one
// (whose default sets the focus). Returns the previously active window.
HWND SetActiveWindow(HWND wnd);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND wnd);
HWND GetForegroundWindow();
// The deepest visible window under the point (screen coordinates), honouring window regions,
// layered transparency (WS_EX_TRANSPARENT on a layered window, alpha 0 in an UpdateLayeredWindow
// picture) and disabled children (their parent answers). The desktop window when nothing is there.
HWND WindowFromPoint(POINT point);
constexpr UINT CWP_ALL = 0x0000;
constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
constexpr UINT CWP_SKIPDISABLED = 0x0002;
constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;
// A direct child of parent containing the point (parent's client coordinates), parent itself when
// none does but parent does, null outside.
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);
inline HWND ChildWindowFromPoint(HWND parent, POINT point) {
  return ChildWindowFromPointEx(parent, point, CWP_ALL);
}
UINT GetDoubleClickTime();  // 500 ms
bool SetDoubleClickTime(UINT ms);
bool GetCursorPos(POINT* point);
// Moves the cursor and routes a mouse move there (as the platform does).
bool SetCursorPos(Integer x, Integer y);
constexpr uintptr_t IDC_ARROW = 32512;
constexpr uintptr_t IDC_IBEAM = 32513;
constexpr uintptr_t IDC_WAIT = 32514;
constexpr uintptr_t IDC_CROSS = 32515;
constexpr uintptr_t IDC_UPARROW = 32516;
constexpr uintptr_t IDC_SIZENWSE = 32642;
constexpr uintptr_t IDC_SIZENESW = 32643;
constexpr uintptr_t IDC_SIZEWE = 32644;
constexpr uintptr_t IDC_SIZENS = 32645;
constexpr uintptr_t IDC_SIZEALL = 32646;
constexpr uintptr_t IDC_NO = 32648;
constexpr uintptr_t IDC_HAND = 32649;
constexpr uintptr_t IDC_APPSTARTING = 32650;
constexpr uintptr_t IDC_HELP = 32651;
// The stock cursors by IDC_ id (instance null); null for other ids.
HCURSOR LoadCursor(HINSTANCE instance, uintptr_t id);
uintptr_t CursorId(HCURSOR cursor);  // the IDC_ id of a stock cursor, 0 otherwise
HCURSOR SetCursor(HCURSOR cursor);   // returns the previous one
HCURSOR GetCursor();
Integer ShowCursor(bool show);
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
bool MessageBeep(UINT type);  // counted (WinBeepCount), otherwise silent

// ---- system metrics and the monitor ----
constexpr Integer SM_CXSCREEN = 0;
constexpr Integer SM_CYSCREEN = 1;
constexpr Integer SM_CXVSCROLL = 2;
constexpr Integer SM_CYHSCROLL = 3;
constexpr Integer SM_CYCAPTION = 4;
constexpr Integer SM_CXBORDER = 5;
constexpr Integer SM_CYBORDER = 6;
constexpr Integer SM_CXDLGFRAME = 7;
constexpr Integer SM_CXFIXEDFRAME = 7;
constexpr Integer SM_CYDLGFRAME = 8;
constexpr Integer SM_CYFIXEDFRAME = 8;
constexpr Integer SM_CYVTHUMB = 9;
constexpr Integer SM_CXHTHUMB = 10;
constexpr Integer SM_CXICON = 11;
constexpr Integer SM_CYICON = 12;
constexpr Integer SM_CXCURSOR = 13;
constexpr Integer SM_CYCURSOR = 14;
constexpr Integer SM_CYMENU = 15;
constexpr Integer SM_CXFULLSCREEN = 16;
constexpr Integer SM_CYFULLSCREEN = 17;
constexpr Integer SM_CYVSCROLL = 20;
constexpr Integer SM_CXHSCROLL = 21;
constexpr Integer SM_SWAPBUTTON = 23;
constexpr Integer SM_CXMIN = 28;
constexpr Integer SM_CYMIN = 29;
constexpr Integer SM_CXSIZE = 30;
constexpr Integer SM_CYSIZE = 31;
constexpr Integer SM_CXFRAME = 32;
constexpr Integer SM_CXSIZEFRAME = 32;
constexpr Integer SM_CYFRAME = 33;
constexpr Integer SM_CYSIZEFRAME = 33;
constexpr Integer SM_CXMINTRACK = 34;
constexpr Integer SM_CYMINTRACK = 35;
constexpr Integer SM_CXDOUBLECLK = 36;
constexpr Integer SM_CYDOUBLECLK = 37;
constexpr Integer SM_CXEDGE = 45;
constexpr Integer SM_CYEDGE = 46;
constexpr Integer SM_CXSMICON = 49;
constexpr Integer SM_CYSMICON = 50;
constexpr Integer SM_CYSMCAPTION = 51;
constexpr Integer SM_CXSMSIZE = 52;
constexpr Integer SM_CYSMSIZE = 53;
constexpr Integer SM_CXMENUSIZE = 54;
constexpr Integer SM_CYMENUSIZE = 55;
constexpr Integer SM_CXMINIMIZED = 57;
constexpr Integer SM_CYMINIMIZED = 58;
constexpr Integer SM_CXMAXTRACK = 59;
constexpr Integer SM_CYMAXTRACK = 60;
constexpr Integer SM_CXMAXIMIZED = 61;
constexpr Integer SM_CYMAXIMIZED = 62;
constexpr Integer SM_CXDRAG = 68;
constexpr Integer SM_CYDRAG = 69;
constexpr Integer SM_CXMENUCHECK = 71;
constexpr Integer SM_CYMENUCHECK = 72;
constexpr Integer SM_MOUSEWHEELPRESENT = 75;
constexpr Integer SM_XVIRTUALSCREEN = 76;
constexpr Integer SM_YVIRTUALSCREEN = 77;
constexpr Integer SM_CXVIRTUALSCREEN = 78;
constexpr Integer SM_CYVIRTUALSCREEN = 79;
constexpr Integer SM_CMONITORS = 80;
constexpr Integer SM_CXFOCUSBORDER = 83;
constexpr Integer SM_CYFOCUSBORDER = 84;
constexpr Integer SM_CXPADDEDBORDER = 92;
// The fixed platform profile (a 1920 x 1080 screen, see gdi.h); 0 for unknown indexes.
Integer GetSystemMetrics(Integer index);

constexpr UINT SPI_GETBORDER = 0x0005;
constexpr UINT SPI_GETKEYBOARDDELAY = 0x0016;
constexpr UINT SPI_GETKEYBOARDSPEED = 0x000A;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_SETWORKAREA = 0x002F;
constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;
constexpr UINT SPI_GETMOUSEHOVERTIME = 0x0066;
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETCLIENTAREAANIMATION = 0x1042;
constexpr UINT SPI_GETMENUANIMATION = 0x1002;
constexpr UINT SPI_GETCOMBOBOXANIMATION = 0x1004;
constexpr UINT SPI_GETTOOLTIPANIMATION = 0x1016;
// SPI_GETWORKAREA: RECT*; SPI_SETWORKAREA: RECT* (the test profile may change it); SPI_GETDRAGFULLWINDOWS
// and the animation queries: bool* (full drag on, animations off); the numeric ones: UINT* or
// Integer*. False for other actions.
bool SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni);

constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags = 0;
};
// The one monitor (null with MONITOR_DEFAULTTONULL when the window or point is off screen).
HMONITOR MonitorFromWindow(HWND wnd, DWORD flags);
HMONITOR MonitorFromPoint(POINT point, DWORD flags);
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);

// ---- backend selection and diagnostics of this layer ----
class TWindowBackend;
// The backend in use: the headless one unless another was installed (the program installs X11 when
// DISPLAY is set). Installing takes ownership; top-level windows must not exist at that moment.
TWindowBackend& WinBackend();
void WinSetBackend(std::unique_ptr<TWindowBackend> backend);
Integer WinBeepCount();
// Destroys every window that is left and clears the queue, timers, focus, capture and key state
// (tests call it between cases).
void WinResetForTests();

// Native child windows (the player's surface): an id the backend gives (an X window id, or 0 when the
// backend has none) for a child window of this layer, kept at the child's place while it lives.
uintptr_t WinCreateNativeChild(HWND wnd);
void WinDestroyNativeChild(HWND wnd);

// The scroll-bar and icon parts of this layer.
#include "platform/win/icon.h"       // IWYU pragma: export
#include "platform/win/mdi.h"        // IWYU pragma: export
#include "platform/win/scrollbar.h"  // IWYU pragma: export
