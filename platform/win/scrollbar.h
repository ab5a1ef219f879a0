// Scroll bars as window state: the standard bars of a window (SB_HORZ, SB_VERT), shown in its frame
// while it has WS_HSCROLL / WS_VSCROLL, and the values of a scroll bar control (SB_CTL). The layer
// only keeps and clamps the values, draws the standard bars and tracks the mouse on them, reporting
// with WM_HSCROLL / WM_VSCROLL; the window moves its content and sets the new position itself.
#pragma once

#include "platform/win/win.h"

constexpr Integer SB_HORZ = 0;
constexpr Integer SB_VERT = 1;
constexpr Integer SB_CTL = 2;
constexpr Integer SB_BOTH = 3;

// WM_HSCROLL / WM_VSCROLL request codes (low word of wParam; the high word carries the position for
// SB_THUMBTRACK and SB_THUMBPOSITION, lParam the control for SB_CTL bars and 0 for standard bars).
constexpr Word SB_LINEUP = 0;
constexpr Word SB_LINELEFT = 0;
constexpr Word SB_LINEDOWN = 1;
constexpr Word SB_LINERIGHT = 1;
constexpr Word SB_PAGEUP = 2;
constexpr Word SB_PAGELEFT = 2;
constexpr Word SB_PAGEDOWN = 3;
constexpr Word SB_PAGERIGHT = 3;
constexpr Word SB_THUMBPOSITION = 4;
constexpr Word SB_THUMBTRACK = 5;
constexpr Word SB_TOP = 6;
constexpr Word SB_LEFT = 6;
constexpr Word SB_BOTTOM = 7;
constexpr Word SB_RIGHT = 7;
constexpr Word SB_ENDSCROLL = 8;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_LEFT = 0x0001;
constexpr UINT ESB_DISABLE_UP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_RIGHT = 0x0002;
constexpr UINT ESB_DISABLE_DOWN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  Integer nMin = 0;
  Integer nMax = 0;
  UINT nPage = 0;
  Integer nPos = 0;
  Integer nTrackPos = 0;
};

// The fields named by fMask change: the page is kept within 0 .. Max - Min + 1 and the position
// within Min .. Max - max(Page - 1, 0). A change of range or page re-decides a standard bar: it shows
// while Max > Min and Page <= Max - Min, and otherwise hides, or with SIF_DISABLENOSCROLL stays
// shown and disabled. Returns the position after the change (0 for a window that is not one).
Integer SetScrollInfo(HWND wnd, Integer bar, const SCROLLINFO* info, bool redraw);
// Fills the fields named by fMask (nTrackPos: the thumb's place while it is dragged, else the
// position). False when the bar never existed or the mask names nothing.
bool GetScrollInfo(HWND wnd, Integer bar, SCROLLINFO* info);
// Returns the previous position.
Integer SetScrollPos(HWND wnd, Integer bar, Integer pos, bool redraw);
Integer GetScrollPos(HWND wnd, Integer bar);
bool SetScrollRange(HWND wnd, Integer bar, Integer minPos, Integer maxPos, bool redraw);
// (0, 0) for a bar that never existed.
bool GetScrollRange(HWND wnd, Integer bar, Integer* minPos, Integer* maxPos);
// Sets or clears WS_HSCROLL / WS_VSCROLL (SB_BOTH: both) and recalculates the frame.
bool ShowScrollBar(HWND wnd, Integer bar, bool show);
// ESB_* for the arrows of one bar or both; false when nothing changed.
bool EnableScrollBar(HWND wnd, UINT bar, UINT arrows);

// GetScrollBarInfo.
constexpr LONG OBJID_HSCROLL = LONG(0xFFFFFFFA);
constexpr LONG OBJID_VSCROLL = LONG(0xFFFFFFFB);
constexpr LONG OBJID_CLIENT = LONG(0xFFFFFFFC);
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001;
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;
constexpr DWORD STATE_SYSTEM_OFFSCREEN = 0x00010000;
struct SCROLLBARINFO {
  DWORD cbSize = sizeof(SCROLLBARINFO);
  RECT rcScrollBar;  // screen coordinates
  Integer dxyLineButton = 0;
  Integer xyThumbTop = 0;  // from the bar's start
  Integer xyThumbBottom = 0;
  Integer reserved = 0;
  // [0] the bar, [1] the first arrow, [2] the first page area, [3] the thumb, [4] the second page
  // area, [5] the second arrow.
  DWORD rgstate[6] = {};
};
// OBJID_HSCROLL / OBJID_VSCROLL: a standard bar (rgstate[0] STATE_SYSTEM_INVISIBLE while hidden,
// STATE_SYSTEM_UNAVAILABLE while disabled). False for other objects.
bool GetScrollBarInfo(HWND wnd, LONG idObject, SCROLLBARINFO* info);
