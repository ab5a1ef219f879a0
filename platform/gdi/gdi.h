// The graphics platform: surfaces (DIB sections), drawing contexts, pens, brushes, blits, regions and the
// rectangle helpers, with the names, values and behaviour the system expects of the Windows GDI.
//
// Handles are pointers to objects of this layer. Every object kind derives (singly, first) from
// TGdiObject, so a handle's address is its TGdiObject address. A handle that is not live (never made,
// or deleted) is refused: the call fails with its documented failure value.
//
// Coordinates: logical → device is p - window origin + viewport origin (MM_TEXT only); device → surface
// adds the DC's origin inside its surface (0 for memory DCs). Clip regions are in device coordinates.
// Rectangles are right/bottom exclusive.
//
// Alpha: pen, brush and text writes leave the alpha byte of a 32-bit surface 0. Blits that read a source
// carry its alpha (24-bit and palette sources give 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/rtl/types.h"

// ---- basic platform types ----
using BYTE = Byte;
using WORD = Word;
using DWORD = Cardinal;
using UINT = Cardinal;
using LONG = Integer;
using COLORREF = Cardinal;  // 0x00BBGGRR
using POINT = TPoint;
using RECT = TRect;
using SIZE = TSize;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr COLORREF RGB(Byte r, Byte g, Byte b) {
  return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr Byte GetRValue(COLORREF c) {
  return Byte(c);
}
constexpr Byte GetGValue(COLORREF c) {
  return Byte(c >> 8);
}
constexpr Byte GetBValue(COLORREF c) {
  return Byte(c >> 16);
}

// ---- objects and handles ----
enum TGdiObjectKind : Integer {
  OBJ_PEN = 1,
  OBJ_BRUSH = 2,
  OBJ_DC = 3,
  OBJ_FONT = 6,
  OBJ_BITMAP = 7,
  OBJ_REGION = 8,
  OBJ_MEMDC = 10,
};

struct TGdiObject {
  explicit TGdiObject(TGdiObjectKind kind) : Kind(kind) {}
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  virtual ~TGdiObject();
  // GetObject for this kind: writes at most cb bytes of its description to out (when out is not null)
  // and returns the bytes written (or needed, for a null out); 0 when the kind has no description.
  virtual Integer GetObjectInfo(Integer cb, void* out) const;

  const TGdiObjectKind Kind;
  bool Stock = false;         // stock objects ignore DeleteObject
  Integer SelectedCount = 0;  // DCs that have it selected; such an object is not deleted
};

struct TGdiPen;
struct TGdiBrush;
struct TGdiBitmap;
struct TGdiRegion;
struct TGdiDC;
struct TGdiFontObject;   // defined by the font module (font.h): a TGdiObject of kind OBJ_FONT
struct TPlatformWindow;  // defined by the windowing layer

using HGDIOBJ = void*;
using HPEN = TGdiPen*;
using HBRUSH = TGdiBrush*;
using HBITMAP = TGdiBitmap*;
using HRGN = TGdiRegion*;
using HDC = TGdiDC*;
using HFONT = TGdiFontObject*;
using HWND = TPlatformWindow*;
using HANDLE = void*;

// Registers a live object made outside this file (the font module's objects) so that handle checks,
// SelectObject and DeleteObject accept it. Objects made here register themselves.
void GdiRegisterObject(TGdiObject* object);
// True when h is a live object (or DC) of this layer.
bool GdiIsLiveObject(const void* h);
// The object behind a live handle, or null.
TGdiObject* GdiObjectFromHandle(HGDIOBJ h);

// ---- structures ----
struct RGBQUAD {
  Byte rgbBlue = 0;
  Byte rgbGreen = 0;
  Byte rgbRed = 0;
  Byte rgbReserved = 0;
};

struct BITMAPINFOHEADER {
  DWORD biSize = sizeof(BITMAPINFOHEADER);
  LONG biWidth = 0;
  LONG biHeight = 0;  // positive: bottom-up rows; negative: top-down
  WORD biPlanes = 1;
  WORD biBitCount = 0;
  DWORD biCompression = 0;
  DWORD biSizeImage = 0;
  LONG biXPelsPerMeter = 0;
  LONG biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;  // 0 = 2^biBitCount entries for 1, 4 and 8 bits
  DWORD biClrImportant = 0;
};

// A BITMAPINFO with a palette is a buffer of the header followed by its colour table, as on the platform.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 0;
  void* bmBits = nullptr;  // DIB sections only
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3] = {0, 0, 0};
  HANDLE dshSection = nullptr;
  DWORD dsOffset = 0;
};

struct LOGPEN {
  UINT lopnStyle = 0;
  POINT lopnWidth;  // X is the width
  COLORREF lopnColor = 0;
};

struct LOGBRUSH {
  UINT lbStyle = 0;
  COLORREF lbColor = 0;
  uintptr_t lbHatch = 0;  // hatch style, or the pattern bitmap for BS_PATTERN
};

struct BLENDFUNCTION {
  Byte BlendOp = 0;  // AC_SRC_OVER
  Byte BlendFlags = 0;
  Byte SourceConstantAlpha = 255;
  Byte AlphaFormat = 0;  // 0 or AC_SRC_ALPHA
};

struct RGNDATAHEADER {
  DWORD dwSize = sizeof(RGNDATAHEADER);  // 32
  DWORD iType = 1;                       // RDH_RECTANGLES
  DWORD nCount = 0;                      // rectangles that follow
  DWORD nRgnSize = 0;
  RECT rcBound;
};

// The header followed by nCount RECTs.
struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
};

struct XFORM {
  float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
};

// ---- constants ----
// Bitmap formats and DIB colour use.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;  // 32-bit with masks 0xFF0000, 0xFF00, 0xFF only
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;  // not supported: calls with it fail
constexpr DWORD CBM_INIT = 4;

// Largest surface: a side above MaxSurfaceSide or pixel memory above MaxSurfaceBytes is refused
// before anything is allocated.
constexpr Integer MaxSurfaceSide = 32768;
constexpr Int64 MaxSurfaceBytes = Int64(512) << 20;

// Raster operations (ternary; any of the 256 is evaluated, these are named).
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Binary raster operations of pens and brushes (SetROP2).
constexpr Integer R2_BLACK = 1;
constexpr Integer R2_NOTMERGEPEN = 2;
constexpr Integer R2_MASKNOTPEN = 3;
constexpr Integer R2_NOTCOPYPEN = 4;
constexpr Integer R2_MASKPENNOT = 5;
constexpr Integer R2_NOT = 6;
constexpr Integer R2_XORPEN = 7;
constexpr Integer R2_NOTMASKPEN = 8;
constexpr Integer R2_MASKPEN = 9;
constexpr Integer R2_NOTXORPEN = 10;
constexpr Integer R2_NOP = 11;
constexpr Integer R2_MERGENOTPEN = 12;
constexpr Integer R2_COPYPEN = 13;
constexpr Integer R2_MERGEPENNOT = 14;
constexpr Integer R2_MERGEPEN = 15;
constexpr Integer R2_WHITE = 16;

// Pens. Cosmetic (width <= 1) styled pens repeat dash 18 on 6 off, dot 3 on 3 off, dash-dot 9/6/3/6,
// dash-dot-dot 9/3/3/3/3/3 along the path; a styled pen wider than 1 draws solid.
constexpr UINT PS_SOLID = 0;
constexpr UINT PS_DASH = 1;
constexpr UINT PS_DOT = 2;
constexpr UINT PS_DASHDOT = 3;
constexpr UINT PS_DASHDOTDOT = 4;
constexpr UINT PS_NULL = 5;
constexpr UINT PS_INSIDEFRAME = 6;

// Brushes.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;
constexpr UINT BS_PATTERN = 3;
constexpr Integer HS_HORIZONTAL = 0;
constexpr Integer HS_VERTICAL = 1;
constexpr Integer HS_FDIAGONAL = 2;
constexpr Integer HS_BDIAGONAL = 3;
constexpr Integer HS_CROSS = 4;
constexpr Integer HS_DIAGCROSS = 5;

// Stock objects.
constexpr Integer WHITE_BRUSH = 0;
constexpr Integer LTGRAY_BRUSH = 1;
constexpr Integer GRAY_BRUSH = 2;
constexpr Integer DKGRAY_BRUSH = 3;
constexpr Integer BLACK_BRUSH = 4;
constexpr Integer NULL_BRUSH = 5;
constexpr Integer HOLLOW_BRUSH = NULL_BRUSH;
constexpr Integer WHITE_PEN = 6;
constexpr Integer BLACK_PEN = 7;
constexpr Integer NULL_PEN = 8;
constexpr Integer OEM_FIXED_FONT = 10;
constexpr Integer ANSI_FIXED_FONT = 11;
constexpr Integer ANSI_VAR_FONT = 12;
constexpr Integer SYSTEM_FONT = 13;
constexpr Integer DEVICE_DEFAULT_FONT = 14;
constexpr Integer SYSTEM_FIXED_FONT = 16;
constexpr Integer DEFAULT_GUI_FONT = 17;

// Background modes, stretch modes, text alignment (the font module interprets the alignment).
constexpr Integer TRANSPARENT = 1;
constexpr Integer OPAQUE = 2;
constexpr Integer BLACKONWHITE = 1;
constexpr Integer WHITEONBLACK = 2;
constexpr Integer COLORONCOLOR = 3;
constexpr Integer HALFTONE = 4;  // accepted and stored; stretches exactly like COLORONCOLOR
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

// Regions.
constexpr Integer ERROR = 0;
constexpr Integer NULLREGION = 1;
constexpr Integer SIMPLEREGION = 2;
constexpr Integer COMPLEXREGION = 3;
constexpr Integer RGN_AND = 1;
constexpr Integer RGN_OR = 2;
constexpr Integer RGN_XOR = 3;
constexpr Integer RGN_DIFF = 4;
constexpr Integer RGN_COPY = 5;
constexpr DWORD RDH_RECTANGLES = 1;

// Alpha blending.
constexpr Byte AC_SRC_OVER = 0;
constexpr Byte AC_SRC_ALPHA = 1;

// GetDeviceCaps.
constexpr Integer HORZRES = 8;
constexpr Integer VERTRES = 10;
constexpr Integer BITSPIXEL = 12;
constexpr Integer PLANES = 14;
constexpr Integer NUMCOLORS = 24;
constexpr Integer LOGPIXELSX = 88;
constexpr Integer LOGPIXELSY = 90;

// The fixed screen of the platform profile.
constexpr Integer ScreenWidth = 1920;
constexpr Integer ScreenHeight = 1080;
constexpr Integer ScreenBitsPerPixel = 32;
constexpr Integer ScreenPixelsPerInch = 96;

// System colours (classic Windows scheme).
constexpr Integer COLOR_SCROLLBAR = 0;
constexpr Integer COLOR_BACKGROUND = 1;
constexpr Integer COLOR_DESKTOP = COLOR_BACKGROUND;
constexpr Integer COLOR_ACTIVECAPTION = 2;
constexpr Integer COLOR_INACTIVECAPTION = 3;
constexpr Integer COLOR_MENU = 4;
constexpr Integer COLOR_WINDOW = 5;
constexpr Integer COLOR_WINDOWFRAME = 6;
constexpr Integer COLOR_MENUTEXT = 7;
constexpr Integer COLOR_WINDOWTEXT = 8;
constexpr Integer COLOR_CAPTIONTEXT = 9;
constexpr Integer COLOR_ACTIVEBORDER = 10;
constexpr Integer COLOR_INACTIVEBORDER = 11;
constexpr Integer COLOR_APPWORKSPACE = 12;
constexpr Integer COLOR_HIGHLIGHT = 13;
constexpr Integer COLOR_HIGHLIGHTTEXT = 14;
constexpr Integer COLOR_BTNFACE = 15;
constexpr Integer COLOR_3DFACE = COLOR_BTNFACE;
constexpr Integer COLOR_BTNSHADOW = 16;
constexpr Integer COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr Integer COLOR_GRAYTEXT = 17;
constexpr Integer COLOR_BTNTEXT = 18;
constexpr Integer COLOR_INACTIVECAPTIONTEXT = 19;
constexpr Integer COLOR_BTNHIGHLIGHT = 20;
constexpr Integer COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr Integer COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr Integer COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr Integer COLOR_3DDKSHADOW = 21;
constexpr Integer COLOR_3DLIGHT = 22;
constexpr Integer COLOR_INFOTEXT = 23;
constexpr Integer COLOR_INFOBK = 24;
constexpr Integer COLOR_HOTLIGHT = 26;
constexpr Integer COLOR_GRADIENTACTIVECAPTION = 27;
constexpr Integer COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr Integer COLOR_MENUHILIGHT = 29;
constexpr Integer COLOR_MENUBAR = 30;

// DrawEdge.
constexpr UINT BDR_RAISEDOUTER = 0x1;
constexpr UINT BDR_SUNKENOUTER = 0x2;
constexpr UINT BDR_RAISEDINNER = 0x4;
constexpr UINT BDR_SUNKENINNER = 0x8;
constexpr UINT BDR_OUTER = 0x3;
constexpr UINT BDR_INNER = 0xC;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x1;
constexpr UINT BF_TOP = 0x2;
constexpr UINT BF_RIGHT = 0x4;
constexpr UINT BF_BOTTOM = 0x8;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_DIAGONAL = 0x10;  // not supported: DrawEdge fails
constexpr UINT BF_MIDDLE = 0x800;
constexpr UINT BF_SOFT = 0x1000;  // accepted, drawn as without it
constexpr UINT BF_ADJUST = 0x2000;
constexpr UINT BF_FLAT = 0x4000;
constexpr UINT BF_MONO = 0x8000;

// ---- rectangle helpers (pure) ----
bool SetRect(TRect* r, Integer left, Integer top, Integer right, Integer bottom);
bool SetRectEmpty(TRect* r);
bool CopyRect(TRect* dst, const TRect* src);
bool IsRectEmpty(const TRect* r);  // right <= left or bottom <= top
bool EqualRect(const TRect* a, const TRect* b);
bool PtInRect(const TRect* r, TPoint p);
bool OffsetRect(TRect* r, Integer dx, Integer dy);
bool InflateRect(TRect* r, Integer dx, Integer dy);
// Empty results are set to (0, 0, 0, 0) and give false.
bool IntersectRect(TRect* dst, const TRect* a, const TRect* b);
bool UnionRect(TRect* dst, const TRect* a, const TRect* b);  // an empty operand is ignored
// a minus b when b removes whole rows or columns of a (a rectangle remains); otherwise a unchanged.
bool SubtractRect(TRect* dst, const TRect* a, const TRect* b);

// ---- colours ----
COLORREF GetSysColor(Integer index);     // 0 for an unknown index
HBRUSH GetSysColorBrush(Integer index);  // a stock brush; null for an unknown index

// ---- bitmaps ----
// A DIB section of 1, 4, 8, 24 or 32 bits (BI_RGB, or BI_BITFIELDS at 32 bits), top-down or bottom-up,
// rows padded to 4 bytes, zero-filled. *bits receives the pixel memory. Refused (null) for a zero or
// too large size, another bit count, RLE, DIB_PAL_COLORS, or a file mapping section.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// A device bitmap of 1 bit (monochrome: black/white) or 32 bits per pixel, top-down; bits (optional)
// are rows padded to 2 bytes as on the platform.
HBITMAP CreateBitmap(Integer width, Integer height, UINT planes, UINT bitCount, const void* bits);
// Same format as the bitmap selected into dc (the 1x1 monochrome default of a fresh memory DC gives a
// monochrome bitmap, as on the platform); the screen and window DCs give 32 bits.
HBITMAP CreateCompatibleBitmap(HDC dc, Integer width, Integer height);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
// Colour conversions between formats: palette indexes become their table colours; a colour becomes the
// nearest table entry (squared RGB distance, first on ties). Monochrome device bitmaps follow the
// platform rule instead: to monochrome, pixels equal to the source DC's background colour become 1
// (white) and all others 0; from monochrome, 0 becomes the destination DC's text colour and 1 its
// background colour. 24-bit and palette sources give alpha 0 in 32-bit targets.
//
// Rows start..start+lines-1 of the bitmap (counted as in the buffer's orientation: from the bottom
// for a positive biHeight) are read into bits as 24- or 32-bit rows. With bits null and biBitCount 0
// the header is filled (size, 32 or the bitmap's depth, image size). Returns the rows copied, 0 on failure.
Integer GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
// The reverse: rows of a 1/4/8/24/32-bit buffer into the bitmap. Returns the rows copied.
Integer SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
                  UINT usage);
// Direct colour table access of palette DIB sections selected into dc.
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);

// ---- pens and brushes ----
HPEN CreatePen(Integer style, Integer width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(Integer style, COLORREF color);
// The pattern is a copy of the bitmap's pixels taken now (a monochrome bitmap draws 0 in the text
// colour and 1 in the background colour of the DC it is used on). Aligned to the device origin plus
// the brush origin.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);

// ---- objects ----
HGDIOBJ GetStockObject(Integer index);
// Returns the previous object of that kind; null when dc or h is not live, or the bitmap is selected in
// another DC (a bitmap is selected into one DC at a time). For a region: copies it as the clip region
// and returns the region type (cast to HGDIOBJ) as on the platform.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ h);
// Stock objects: true, nothing happens. Objects selected into a DC: false, not deleted.
bool DeleteObject(HGDIOBJ h);
// BITMAP (or DIBSECTION for a DIB section given cb >= sizeof(DIBSECTION)), LOGPEN, LOGBRUSH; fonts
// through the font module. Returns the bytes written; with out null the bytes a full description needs.
Integer GetObject(HGDIOBJ h, Integer cb, void* out);
DWORD GetObjectType(HGDIOBJ h);  // 0 for a handle that is not live
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);

// ---- DCs ----
// A memory DC with the 1x1 monochrome default bitmap selected. dc may be null.
HDC CreateCompatibleDC(HDC dc);
bool DeleteDC(HDC dc);
// GetDC(nullptr): a DC over the screen surface (ScreenWidth x ScreenHeight, 32 bits). For a window,
// the windowing layer's provider answers (null without one).
HDC GetDC(HWND wnd);
HDC GetWindowDC(HWND wnd);
// 1 when the DC was released (and freed), 0 otherwise.
Integer ReleaseDC(HWND wnd, HDC dc);
Integer GetDeviceCaps(HDC dc, Integer index);

// 1-based level of the saved state, 0 on failure. RestoreDC: a negative level counts back from the
// latest (-1 = latest); every state above the restored one is dropped.
Integer SaveDC(HDC dc);
bool RestoreDC(HDC dc, Integer savedDC);

bool SetWindowOrgEx(HDC dc, Integer x, Integer y, TPoint* old);
bool GetWindowOrgEx(HDC dc, TPoint* org);
bool OffsetWindowOrgEx(HDC dc, Integer dx, Integer dy, TPoint* old);
bool SetViewportOrgEx(HDC dc, Integer x, Integer y, TPoint* old);
bool GetViewportOrgEx(HDC dc, TPoint* org);
bool OffsetViewportOrgEx(HDC dc, Integer dx, Integer dy, TPoint* old);
bool LPtoDP(HDC dc, TPoint* points, Integer count);
bool DPtoLP(HDC dc, TPoint* points, Integer count);
bool SetBrushOrgEx(HDC dc, Integer x, Integer y, TPoint* old);
bool GetBrushOrgEx(HDC dc, TPoint* org);

// Clipping. Results are region types (ERROR on failure). Rectangles of IntersectClipRect and
// ExcludeClipRect are logical; regions are device coordinates. SelectClipRgn(dc, null) removes the clip.
Integer IntersectClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom);
Integer ExcludeClipRect(HDC dc, Integer left, Integer top, Integer right, Integer bottom);
Integer SelectClipRgn(HDC dc, HRGN rgn);
Integer ExtSelectClipRgn(HDC dc, HRGN rgn, Integer mode);
Integer OffsetClipRgn(HDC dc, Integer dx, Integer dy);
// Box of what can be drawn (clip ∩ surface ∩ base clip), in logical coordinates.
Integer GetClipBox(HDC dc, TRect* rect);
// 1 and a copy into rgn when the DC has a clip region, 0 when it has none, -1 on failure.
Integer GetClipRgn(HDC dc, HRGN rgn);
bool PtVisible(HDC dc, Integer x, Integer y);
bool RectVisible(HDC dc, const TRect* rect);

// State.
COLORREF SetTextColor(HDC dc, COLORREF color);  // returns the previous one, CLR_INVALID on failure
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
Integer SetBkMode(HDC dc, Integer mode);  // previous mode, 0 on failure
Integer GetBkMode(HDC dc);
Integer SetROP2(HDC dc, Integer mode);
Integer GetROP2(HDC dc);
Integer SetStretchBltMode(HDC dc, Integer mode);
Integer GetStretchBltMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);  // GDI_ERROR on failure
UINT GetTextAlign(HDC dc);
bool GdiFlush();

// ---- pixels and drawing ----
COLORREF GetPixel(HDC dc, Integer x, Integer y);  // CLR_INVALID outside the clip or surface
// Returns the colour actually written (the nearest palette colour for palette surfaces), or CLR_INVALID.
COLORREF SetPixel(HDC dc, Integer x, Integer y, COLORREF color);
bool SetPixelV(HDC dc, Integer x, Integer y, COLORREF color);

// Lines use Bresenham's algorithm and never draw their end point.
bool MoveToEx(HDC dc, Integer x, Integer y, TPoint* old);
bool GetCurrentPositionEx(HDC dc, TPoint* pos);
bool LineTo(HDC dc, Integer x, Integer y);
bool Polyline(HDC dc, const TPoint* points, Integer count);
bool PolylineTo(HDC dc, const TPoint* points, DWORD count);
bool PolyPolyline(HDC dc, const TPoint* points, const DWORD* counts, DWORD polylines);
// Pen outline on (left, top)..(right-1, bottom-1), every outline pixel drawn once (so XOR outlines are
// exact); the brush fills (left, top)..(right-2, bottom-2) under it (so a null pen leaves the last row and
// column unfilled, as on the platform).
bool Rectangle(HDC dc, Integer left, Integer top, Integer right, Integer bottom);
// Brush fills, ignoring the DC's ROP2 mode (a plain copy of the brush).
Integer FillRect(HDC dc, const TRect* rect, HBRUSH brush);
Integer FrameRect(HDC dc, const TRect* rect, HBRUSH brush);
bool InvertRect(HDC dc, const TRect* rect);  // inverts red, green and blue; alpha becomes 0
bool FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
bool FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, Integer width, Integer height);
bool PaintRgn(HDC dc, HRGN rgn);  // with the selected brush
bool InvertRgn(HDC dc, HRGN rgn);
// The rectangle's outline inverted on the pixels whose device x + y is even (the dotted focus frame).
// XOR twice restores the picture.
bool DrawFocusRect(HDC dc, const TRect* rect);
// Borders in the system colours: for each border (outer, then inner) the top and left lines in the
// top-left colour, then the bottom and right lines over them in the bottom-right colour; each drawn
// border moves the rectangle in by one on its sides. BF_MIDDLE fills what remains with COLOR_BTNFACE
// (COLOR_WINDOW for BF_MONO); BF_ADJUST writes it back to rect.
bool DrawEdge(HDC dc, TRect* rect, UINT edge, UINT flags);

// ---- blits ----
// Extents: a negative width (height) covers x+width+1 .. x, i.e. |width| pixels ending at x, and
// mirrors. Source and destination coordinates are logical in their DCs; only the destination is
// clipped; source pixels outside the source surface leave their destination pixels alone.
//
// Stretching (every stretch mode, HALFTONE included) takes nearest samples: with both extents made
// positive, destination pixel i (0-based inside the destination rectangle) takes source pixel
// floor((2i + 1) * srcW / (2 * dstW)), counted from the far end when exactly one of the two extents is
// negative. The same rule holds for rows and for every stretching call below.
//
// Raster ops run on all 32 bits with the pattern's alpha 0; ops that read no source (PatBlt's) write
// alpha 0. A rop that reads the pattern uses the selected brush (none: nothing is drawn).
bool BitBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX, Integer srcY,
            DWORD rop);
bool StretchBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX,
                Integer srcY, Integer srcWidth, Integer srcHeight, DWORD rop);
bool PatBlt(HDC dc, Integer x, Integer y, Integer width, Integer height, DWORD rop);
// Source pixels whose red, green and blue equal the key are skipped; stretches like StretchBlt.
// Negative extents and sources outside the source surface fail.
bool TransparentBlt(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX,
                    Integer srcY, Integer srcWidth, Integer srcHeight, UINT transparent);
// Per channel c (blue, green, red and alpha), with div255(v) = (v + 128 + ((v + 128) >> 8)) >> 8
// (v / 255 rounded to nearest):
//   s := src.c, or div255(src.c * SourceConstantAlpha) when SourceConstantAlpha < 255;
//   with AC_SRC_ALPHA (premultiplied 32-bit source): dst.c := min(255, s + div255(dst.c * (255 - s.alpha)));
//   without:                              dst.c := min(255, s + div255(dst.c * (255 - SourceConstantAlpha))).
// Fails for a source rectangle outside the source surface, negative extents, AC_SRC_ALPHA with a source
// that is not 32-bit, or another BlendOp. Stretches like StretchBlt.
bool AlphaBlend(HDC dst, Integer x, Integer y, Integer width, Integer height, HDC src, Integer srcX,
                Integer srcY, Integer srcWidth, Integer srcHeight, BLENDFUNCTION blend);

// DIB buffers (1/4/8/24/32 bits, DIB_RGB_COLORS) drawn onto a DC. Row numbers count from the bottom
// of the buffer for a positive biHeight. Both return the scan lines drawn, 0 on failure.
Integer SetDIBitsToDevice(HDC dc, Integer x, Integer y, DWORD width, DWORD height, Integer srcX, Integer srcY,
                          UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                          UINT usage);
// srcY counts from the bottom for a bottom-up buffer, as on the platform.
Integer StretchDIBits(HDC dc, Integer x, Integer y, Integer width, Integer height, Integer srcX, Integer srcY,
                      Integer srcWidth, Integer srcHeight, const void* bits, const BITMAPINFO* info,
                      UINT usage, DWORD rop);

// ---- regions ----
// A region is a list of y-bands of sorted, non-touching x-spans; adjacent bands with equal spans are
// merged, so equal regions have equal lists.
HRGN CreateRectRgn(Integer left, Integer top, Integer right, Integer bottom);
HRGN CreateRectRgnIndirect(const TRect* rect);
HRGN CreateEllipticRgn(Integer left, Integer top, Integer right, Integer bottom);
HRGN CreateRoundRectRgn(Integer left, Integer top, Integer right, Integer bottom, Integer widthEllipse,
                        Integer heightEllipse);
// count is the byte size of data (header plus rectangles). Only a null or translating transform is
// accepted. The rectangles may be in any order and overlap.
HRGN ExtCreateRegion(const XFORM* transform, DWORD count, const RGNDATA* data);
// dst may be one of the sources. Returns the type of the result, ERROR on failure (dst unchanged).
Integer CombineRgn(HRGN dst, HRGN src1, HRGN src2, Integer mode);
bool SetRectRgn(HRGN rgn, Integer left, Integer top, Integer right, Integer bottom);
Integer OffsetRgn(HRGN rgn, Integer dx, Integer dy);
Integer GetRgnBox(HRGN rgn, TRect* rect);
bool PtInRegion(HRGN rgn, Integer x, Integer y);
bool RectInRegion(HRGN rgn, const TRect* rect);  // any overlap
bool EqualRgn(HRGN a, HRGN b);
// The rectangles band by band, top to bottom, left to right. Returns the bytes written (or needed, when
// data is null or count is too small: then nothing is written).
DWORD GetRegionData(HRGN rgn, DWORD count, RGNDATA* data);

// ---- internal for the platform layer ----
// The screen surface of the platform profile (a 32-bit top-down DIB section), made on first use.
HBITMAP GdiScreenSurface();
// A DC over surface whose device origin sits at origin inside it and whose drawing is limited to
// baseClip (device coordinates; null = the whole surface). baseClip is copied. The windowing layer gives
// window DCs this way; ReleaseDC (and DeleteDC) frees them. The surface may be selected elsewhere too.
HDC GdiCreateSurfaceDC(HBITMAP surface, TPoint origin, HRGN baseClip);
bool GdiSetSurfaceDCBase(HDC dc, TPoint origin, HRGN baseClip);
// Window DCs for GetDC/GetWindowDC(window) and their release, installed by the windowing layer.
struct TGdiWindowDCProvider {
  std::function<HDC(HWND wnd, bool wholeWindow)> GetDC;
  std::function<Integer(HWND wnd, HDC dc)> ReleaseDC;  // null: the DC is freed here
};
void GdiSetWindowDCProvider(TGdiWindowDCProvider provider);

// For text drawing (the font module).
// Blends color over the dc's pixels with per-pixel coverage 0..255 (width x height bytes, rows pitch
// bytes apart), its top-left at logical (x, y), through the DC's clip and, when clip is not null, also
// inside that logical rectangle. Alpha of 32-bit targets becomes 0 where written.
bool GdiDrawCoverage(HDC dc, Integer x, Integer y, const Byte* coverage, Integer width, Integer height,
                     Integer pitch, COLORREF color, const TRect* clip = nullptr);
// Fills a logical rectangle with a colour (a brush write, through the clip).
bool GdiFillSolidRect(HDC dc, const TRect& rect, COLORREF color);
// The stock font objects; the font module defines this (a weak fallback here gives null).
HFONT GdiCreateStockFont(Integer index);

#include "platform/gdi/text.h"  // fonts and text (the font module)
