// The column header window (class "SysHeader32"): a row of sections with captions, widths, alignment
// and images, answered through the HDM_* messages and reporting clicks and divider drags to its
// parent with WM_NOTIFY (HDN_*). It is an ordinary window of the platform layer with its own window
// procedure, so an owner may subclass it (GWLP_WNDPROC) and take over painting and erasing.
//
// Texts are UTF-8. Deviations from the platform's header kept on purpose: a parent may narrow or
// widen the width proposed in HDN_ITEMCHANGING / HDN_TRACK by writing pitem->cxy (a list view keeps
// its columns' minimum and maximum widths that way); a nonzero answer still refuses the change.
#pragma once

#include "platform/ui/graphics/imagelist.h"
#include "platform/win/win.h"

inline constexpr const char* WC_HEADER = "SysHeader32";

// Styles.
constexpr DWORD HDS_HORZ = 0x0000;
constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HIDDEN = 0x0008;
constexpr DWORD HDS_DRAGDROP = 0x0040;
constexpr DWORD HDS_FULLDRAG = 0x0080;

// Messages.
constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDM_SETIMAGELIST = HDM_FIRST + 8;
constexpr UINT HDM_GETIMAGELIST = HDM_FIRST + 9;
constexpr UINT HDM_INSERTITEM = HDM_FIRST + 10;
constexpr UINT HDM_GETITEM = HDM_FIRST + 11;
constexpr UINT HDM_SETITEM = HDM_FIRST + 12;
constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;
constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18;

// Notifications (negative codes, as on the platform).
constexpr UINT HDN_FIRST = UINT(0 - 300);
constexpr UINT HDN_BEGINDRAG = HDN_FIRST - 10;
constexpr UINT HDN_ENDDRAG = HDN_FIRST - 11;
constexpr UINT HDN_ITEMCHANGING = HDN_FIRST - 20;
constexpr UINT HDN_ITEMCHANGED = HDN_FIRST - 21;
constexpr UINT HDN_ITEMCLICK = HDN_FIRST - 22;
constexpr UINT HDN_ITEMDBLCLICK = HDN_FIRST - 23;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_FIRST - 25;
constexpr UINT HDN_BEGINTRACK = HDN_FIRST - 26;
constexpr UINT HDN_ENDTRACK = HDN_FIRST - 27;
constexpr UINT HDN_TRACK = HDN_FIRST - 28;

// HDITEM mask bits and formats.
constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr UINT HDI_IMAGE = 0x0020;
constexpr UINT HDI_ORDER = 0x0080;
constexpr Integer HDF_LEFT = 0x0000;
constexpr Integer HDF_RIGHT = 0x0001;
constexpr Integer HDF_CENTER = 0x0002;
constexpr Integer HDF_JUSTIFYMASK = 0x0003;
constexpr Integer HDF_IMAGE = 0x0800;
constexpr Integer HDF_STRING = 0x4000;

// HDM_HITTEST flags.
constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_ONDIVOPEN = 0x0008;
constexpr UINT HHT_TOLEFT = 0x0800;
constexpr UINT HHT_TORIGHT = 0x0400;

// One section. HDM_GETITEM with HDI_TEXT copies at most cchTextMax - 1 bytes (never cutting a
// character) into pszText.
struct HDITEM {
  UINT mask = 0;
  Integer cxy = 0;
  char* pszText = nullptr;
  Integer cchTextMax = 0;
  Integer fmt = 0;
  LPARAM lParam = 0;
  Integer iImage = -1;
  Integer iOrder = 0;
};

struct HDHITTESTINFO {
  POINT pt;  // client coordinates
  UINT flags = 0;
  Integer iItem = -1;
};

struct HDLAYOUT {
  RECT* prc = nullptr;         // in: the parent's area; out: what is left below the header
  WINDOWPOS* pwpos = nullptr;  // out: where the header goes
};

// WM_NOTIFY's record for HDN_*: iButton 0 = left; pitem names the changed fields (HDI_WIDTH with the
// new width for the track and change notifications; HDI_ORDER with the drop position for HDN_ENDDRAG).
// With HDS_DRAGDROP a section dragged farther than SM_CXDRAG moves to where it is dropped: HDN_BEGINDRAG
// and HDN_ENDDRAG (a nonzero answer to either refuses), then the order change; no click follows.
struct NMHEADER {
  NMHDR hdr;
  Integer iItem = -1;
  Integer iButton = 0;
  HDITEM* pitem = nullptr;
};

// Registers the class once (done by every call; harmless to repeat).
void RegisterHeaderClass();

// Half the width of a divider's grip: a press within this distance of a section's right edge drags
// that section's width.
constexpr Integer HeaderDividerGrip = 4;
