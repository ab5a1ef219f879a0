// Every private window message of the skin library, in one place, so that a control answering one
// never includes a form or menu header for its number.
// The skin data's announcements go out with wParam = the sending skin data and lParam =
// SkinMessageLParam; receivers compare wParam with their own skin data.
#pragma once

#include "platform/win/win.h"

// ---- announcements of the skin data ----
constexpr UINT WM_SKINCHANGING = WM_USER + 201;           // 1225: before a load or clear
constexpr UINT WM_SKINCHANGE = WM_USER + 202;             // 1226: the new data is in place
constexpr UINT WM_SKINCHANGED = WM_USER + 203;            // 1227: last
constexpr UINT WM_SKINSTRINGSCHANGED = WM_USER + 250;     // 1274
constexpr UINT WM_SKINNABLEFORMCHANGED = WM_USER + 270;   // 1294
constexpr UINT WM_LAYEREDBORDERSCHANGED = WM_USER + 403;  // 1427
// One message, two names: layered borders refresh on either.
constexpr UINT WM_LAYEREDBORDERSUPDATE = WM_USER + 404;  // 1428
constexpr UINT WM_AEROBLURCHANGED = WM_LAYEREDBORDERSUPDATE;

constexpr LPARAM SkinMessageLParam = 1000;

// ---- menus ----
// The last popup level of a skinned menu closed: to its form and to the control that opened it.
constexpr UINT WM_CLOSESKINMENU = WM_USER + 204;  // 1228
// A menu command ran: to the control that opened the menu.
constexpr UINT WM_AFTERDISPATCH = WM_USER + 205;  // 1229

// ---- MDI, between the engines of a main form and its children ----
constexpr UINT WM_MDICHILDRESIZE = WM_USER + 206;       // 1230: main form to each child
constexpr UINT WM_MDICHILDMAXIMIZE = WM_USER + 207;     // 1231
constexpr UINT WM_MDICHILDRESTORE = WM_USER + 208;      // 1232
constexpr UINT WM_MDICHILDMOVE = WM_USER + 209;         // 1233: wParam a child being hidden, or 0
constexpr UINT WM_MDIRESTOREALL = WM_USER + 210;        // 1234
constexpr UINT WM_MDIRESTOREALLEXCEPT = WM_USER + 211;  // 1235: wParam the child that stays
constexpr UINT WM_MDICHILDMAXIMIZED = WM_USER + 212;    // 1236: replies 1 when a child is maximized

// ---- controls and forms ----
constexpr UINT WM_CHECKPARENTBG = WM_USER + 260;  // 1284: re-check the parent's background
constexpr UINT WM_SHOWLAYER = WM_USER + 400;      // 1424: a button shows its glow layer
constexpr UINT WM_HIDELAYER = WM_USER + 401;      // 1425
constexpr UINT WM_TRAYRESTORED = WM_USER + 402;   // 1426: the tray icon restored the main form

// ---- component messages answered by the form engine and the framed controls ----
constexpr UINT CM_QUERYSKINNEDFRAME = CM_BASE + 0x1B2;   // $B1B2
constexpr UINT CM_BEGINSMARTEFFECT = CM_BASE + 0x1B3;    // $B1B3
constexpr UINT CM_ENDSMARTEFFECT = CM_BASE + 0x1B4;      // $B1B4
constexpr UINT CM_REPAINTHEADER = CM_BASE + 0x1C8;       // $B1C8
constexpr UINT CM_PAINTNC = CM_BASE + 0x1C9;             // $B1C9: wParam a device context
constexpr UINT CN_PAINTNC = CN_BASE + 0x4B;              // $BC4B: wParam a device context
constexpr UINT CN_PAINTLISTBACKGROUND = CN_BASE + 0x4A;  // $BC4A: an empty list's background into wParam

// Replies and the one lParam CN_PAINTNC is answered for.
constexpr LRESULT SkinnedFrameByEngine = 12853;  // CM_QUERYSKINNEDFRAME: the engine draws the frame
constexpr LRESULT SkinnedFrameBySystem = 12852;
constexpr LRESULT PaintNCDone = 12851;       // CM_PAINTNC
constexpr LPARAM PaintNCNotifyCode = 16802;  // CN_PAINTNC's lParam and reply ($41A2)

static_assert(WM_SKINCHANGING == 1225 && WM_SKINCHANGE == 1226 && WM_SKINCHANGED == 1227 &&
              WM_CLOSESKINMENU == 1228 && WM_AFTERDISPATCH == 1229);
static_assert(WM_MDICHILDRESIZE == 1230 && WM_MDICHILDMAXIMIZE == 1231 && WM_MDICHILDRESTORE == 1232 &&
              WM_MDICHILDMOVE == 1233 && WM_MDIRESTOREALL == 1234 && WM_MDIRESTOREALLEXCEPT == 1235 &&
              WM_MDICHILDMAXIMIZED == 1236);
static_assert(WM_SKINSTRINGSCHANGED == 1274 && WM_CHECKPARENTBG == 1284 && WM_SKINNABLEFORMCHANGED == 1294);
static_assert(WM_SHOWLAYER == 1424 && WM_HIDELAYER == 1425 && WM_TRAYRESTORED == 1426 &&
              WM_LAYEREDBORDERSCHANGED == 1427 && WM_LAYEREDBORDERSUPDATE == 1428 &&
              WM_AEROBLURCHANGED == 1428);
static_assert(CM_QUERYSKINNEDFRAME == 0xB1B2 && CM_BEGINSMARTEFFECT == 0xB1B3 &&
              CM_ENDSMARTEFFECT == 0xB1B4 && CM_REPAINTHEADER == 0xB1C8 && CM_PAINTNC == 0xB1C9 &&
              CN_PAINTNC == 0xBC4B && CN_PAINTLISTBACKGROUND == 0xBC4A && PaintNCNotifyCode == 0x41A2);
