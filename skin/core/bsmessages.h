// The skin library's private window messages. Each goes out with wParam = the sending skin data and
// lParam = SkinMessageLParam; receivers compare wParam with their own skin data.
#pragma once

#include "platform/win/win.h"

constexpr UINT WM_SKINCHANGING = WM_USER + 201;           // 1225
constexpr UINT WM_SKINCHANGE = WM_USER + 202;             // 1226
constexpr UINT WM_SKINCHANGED = WM_USER + 203;            // 1227
constexpr UINT WM_SKINSTRINGSCHANGED = WM_USER + 250;     // 1274
constexpr UINT WM_SKINNABLEFORMCHANGED = WM_USER + 270;   // 1294
constexpr UINT WM_LAYEREDBORDERSCHANGED = WM_USER + 403;  // 1427
// One message, two names: layered borders refresh on either.
constexpr UINT WM_LAYEREDBORDERSUPDATE = WM_USER + 404;  // 1428
constexpr UINT WM_AEROBLURCHANGED = WM_LAYEREDBORDERSUPDATE;

constexpr LPARAM SkinMessageLParam = 1000;

static_assert(WM_SKINCHANGING == 1225 && WM_SKINCHANGED == 1227 && WM_SKINSTRINGSCHANGED == 1274 &&
              WM_SKINNABLEFORMCHANGED == 1294 && WM_LAYEREDBORDERSCHANGED == 1427 &&
              WM_AEROBLURCHANGED == 1428);
