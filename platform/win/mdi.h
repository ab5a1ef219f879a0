// The MDI client window: a child window of a frame that keeps MDI children, activates one at a
// time and arranges them, answering the platform's MDI messages.
#pragma once

#include "platform/win/win.h"

constexpr UINT WM_MDICREATE = 0x0220;    // lParam MDICREATESTRUCT*; answers the new child
constexpr UINT WM_MDIDESTROY = 0x0221;   // wParam the child
constexpr UINT WM_MDIACTIVATE = 0x0222;  // to the client: wParam the child; to a child: wParam
                                         // the child losing, lParam the child gaining activation
constexpr UINT WM_MDIRESTORE = 0x0223;   // wParam the child
constexpr UINT WM_MDINEXT = 0x0224;      // wParam the child (0: the active one), lParam 0 next, else previous
constexpr UINT WM_MDIMAXIMIZE = 0x0225;  // wParam the child
constexpr UINT WM_MDITILE = 0x0226;      // wParam MDITILE_*
constexpr UINT WM_MDICASCADE = 0x0227;   // wParam MDITILE_SKIPDISABLED or 0
constexpr UINT WM_MDIICONARRANGE = 0x0228;  //
constexpr UINT WM_MDIGETACTIVE = 0x0229;    // lParam bool* (maximized) or null; answers the active child
constexpr UINT WM_MDISETMENU = 0x0230;  // wParam frame menu, lParam window menu; answers the old frame menu
constexpr UINT WM_MDIREFRESHMENU = 0x0234;

constexpr WPARAM MDITILE_VERTICAL = 0x0000;    // side by side, in columns
constexpr WPARAM MDITILE_HORIZONTAL = 0x0001;  // one above another, in rows
constexpr WPARAM MDITILE_SKIPDISABLED = 0x0002;

// The class name of the client window.
constexpr const char* MDICLIENT_CLASS = "MDICLIENT";

// lpCreateParams of the client window's CreateWindowEx.
struct CLIENTCREATESTRUCT {
  HMENU hWindowMenu = nullptr;
  UINT idFirstChild = 0;
};

struct MDICREATESTRUCT {
  const char* szClass = nullptr;
  const char* szTitle = nullptr;
  HINSTANCE hOwner = nullptr;
  Integer x = CW_USEDEFAULT;
  Integer y = CW_USEDEFAULT;
  Integer cx = CW_USEDEFAULT;
  Integer cy = CW_USEDEFAULT;
  DWORD style = 0;
  LPARAM lParam = 0;
};

// Registers the client window class (once; later calls do nothing).
void RegisterMDIClientClass();

// The default procedure of an MDI child (a window with WS_EX_MDICHILD inside an MDI client): a
// click, showing or WM_CHILDACTIVATE activates it in its client, hiding passes the activation on,
// and SC_MAXIMIZE / SC_RESTORE / SC_NEXTWINDOW / SC_PREVWINDOW go through the client. The rest is
// DefWindowProc's.
LRESULT DefMDIChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The rectangles a tile or cascade gives n children in a client area of width w and height h (the
// order is the client's: the active child first). step is the cascade's offset per child.
std::vector<TRect> MDITileRects(Integer n, Integer w, Integer h, bool horizontal);
std::vector<TRect> MDICascadeRects(Integer n, Integer w, Integer h, Integer step);
