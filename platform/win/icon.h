// Icons: a colour picture (32 bits, per-pixel alpha when any pixel has some) and a mask (set where
// the screen shows through), made from bitmaps, drawn, copied and taken apart again; the stock IDI_
// icons, which are drawn by us; and the icons a window shows (WM_SETICON / WM_GETICON).
#pragma once

#include <vector>

#include "platform/win/win.h"

struct ICONINFO {
  bool fIcon = true;  // false: a cursor with its hot spot
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;   // 1 (white) where the screen shows through
  HBITMAP hbmColor = nullptr;  // null: a monochrome icon, whose mask is twice as tall (AND over XOR)
};

// A new icon from copies of the bitmaps (the caller keeps its own). Without a mask the colour's
// alpha decides (0: the screen shows through), and a colour without alpha is opaque. Null for a
// missing or empty colour picture (and no double-height mask), or bitmaps that cannot be read.
HICON CreateIconIndirect(const ICONINFO* info);
// Frees an icon; the shared stock icons stay (true). False for a handle that is not an icon.
bool DestroyIcon(HICON icon);
// New bitmaps (the caller deletes them): a 32-bit colour picture and a monochrome mask.
bool GetIconInfo(HICON icon, ICONINFO* info);
HICON CopyIcon(HICON icon);
// The icon's size in pixels ((0, 0) for a handle that is not an icon).
TSize WinIconSize(HICON icon);

constexpr uintptr_t IDI_APPLICATION = 32512;
constexpr uintptr_t IDI_HAND = 32513;
constexpr uintptr_t IDI_ERROR = IDI_HAND;
constexpr uintptr_t IDI_QUESTION = 32514;
constexpr uintptr_t IDI_EXCLAMATION = 32515;
constexpr uintptr_t IDI_WARNING = IDI_EXCLAMATION;
constexpr uintptr_t IDI_ASTERISK = 32516;
constexpr uintptr_t IDI_INFORMATION = IDI_ASTERISK;
constexpr uintptr_t IDI_WINLOGO = 32517;
constexpr uintptr_t IDI_SHIELD = 32518;
// The shared stock icons (SM_CXICON square) for a null instance; null otherwise (there are no icon
// resources).
HICON LoadIcon(HINSTANCE instance, uintptr_t id);

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_MONOCHROME = 0x0001;
constexpr UINT LR_COPYRETURNORG = 0x0004;
constexpr UINT LR_COPYDELETEORG = 0x0008;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
// A new icon or bitmap of cx x cy pixels (0: the original's size, or with LR_DEFAULTSIZE the system
// icon size). Stock icons are drawn again at the new size; other pictures are resampled (area
// average). LR_COPYDELETEORG frees the original. Null for a negative size or a wrong handle.
HANDLE CopyImage(HANDLE image, UINT type, Integer cx, Integer cy, UINT flags);

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;
constexpr UINT DI_NOMIRROR = 0x0010;
// Draws the icon at (x, y) stretched to cx x cy (0: the icon's size, or with DI_DEFAULTSIZE the
// system icon size). DI_NORMAL: an icon with alpha is blended (the mask is not used), one without
// clears the masked pixels (AND) and adds its colour (XOR); DI_MASK alone copies the mask, DI_IMAGE
// alone the colour (blended when it has alpha). A brush first fills the rectangle. False for a wrong
// handle or DC, a negative size or no DI_MASK / DI_IMAGE.
bool DrawIconEx(HDC dc, Integer x, Integer y, HICON icon, Integer cx, Integer cy, UINT step, HBRUSH brush,
                UINT flags);
inline bool DrawIcon(HDC dc, Integer x, Integer y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

// WM_SETICON / WM_GETICON wParam. The default procedure keeps both icons (returning the previous
// one) and shows them on the native window; ICON_SMALL2 asks for the small icon, else the big one.
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;
constexpr WPARAM ICON_SMALL2 = 2;

// The icon's pixels as straight-alpha 0xAARRGGBB words, rows top first: masked pixels are 0, others
// keep their alpha (255 for an icon without alpha). False for a handle that is not an icon.
bool WinIconPixels(HICON icon, TSize* size, std::vector<uint32_t>* argb);

// The desktop's system tray: shows (or updates) owner's icon id there when the display has a tray
// (true); clicks on it are posted to owner as callbackMessage (wParam id, lParam the mouse message).
// A balloon text is handed to the tray when it changes (empty takes it back). False without a tray
// (headless, or no tray running).
bool WinShowTrayIcon(HWND owner, UINT id, UINT callbackMessage, HICON icon, const String& tip,
                     const String& balloon = String());
void WinRemoveTrayIcon(HWND owner, UINT id);
