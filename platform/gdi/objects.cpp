// Graphics objects: the handle registry, pens, brushes, bitmaps, stock objects, system colours and the
// pure rectangle helpers.
#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

#include "platform/gdi/gdi_internal.h"

// ---- registry ----
namespace {

struct TRegistry {
  std::mutex Lock;
  std::unordered_map<const void*, TGdiObject*> Live;
};

TRegistry& registry() {
  static TRegistry* r = new TRegistry;  // outlives every static object that may release handles
  return *r;
}

}  // namespace

TGdiObject::~TGdiObject() {
  TRegistry& r = registry();
  std::lock_guard<std::mutex> guard(r.Lock);
  r.Live.erase(this);
}

Integer TGdiObject::GetObjectInfo(Integer, void*) const {
  return 0;
}

void GdiRegisterObject(TGdiObject* object) {
  if (!object) return;
  TRegistry& r = registry();
  std::lock_guard<std::mutex> guard(r.Lock);
  r.Live[object] = object;
}

TGdiObject* GdiObjectFromHandle(HGDIOBJ h) {
  if (!h) return nullptr;
  TRegistry& r = registry();
  std::lock_guard<std::mutex> guard(r.Lock);
  auto it = r.Live.find(h);
  return it == r.Live.end() ? nullptr : it->second;
}

bool GdiIsLiveObject(const void* h) {
  return GdiObjectFromHandle(const_cast<void*>(h)) != nullptr;
}

TGdiDC* GdiDC(HDC h) {
  TGdiObject* o = GdiObjectFromHandle(h);
  return o && (o->Kind == OBJ_DC || o->Kind == OBJ_MEMDC) ? static_cast<TGdiDC*>(o) : nullptr;
}

// ---- pixels ----
uint32_t GdiReadRaw(const TGdiBitmap* bm, Integer x, Integer y) {
  const Byte* row = bm->Row(y);
  switch (bm->BitCount) {
    case 32: {
      uint32_t v;
      std::memcpy(&v, row + size_t(x) * 4, 4);
      return v;
    }
    case 24: {
      const Byte* p = row + size_t(x) * 3;
      return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    }
    case 8:
      return row[x];
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    default:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
  }
}

void GdiWriteRaw(TGdiBitmap* bm, Integer x, Integer y, uint32_t v) {
  Byte* row = bm->Row(y);
  switch (bm->BitCount) {
    case 32:
      std::memcpy(row + size_t(x) * 4, &v, 4);
      break;
    case 24: {
      Byte* p = row + size_t(x) * 3;
      p[0] = Byte(v);
      p[1] = Byte(v >> 8);
      p[2] = Byte(v >> 16);
      break;
    }
    case 8:
      row[x] = Byte(v);
      break;
    case 4: {
      Byte& b = row[x >> 1];
      b = (x & 1) ? Byte((b & 0xF0) | (v & 0xF)) : Byte((b & 0x0F) | ((v & 0xF) << 4));
      break;
    }
    default: {
      Byte& b = row[x >> 3];
      Byte bit = Byte(0x80 >> (x & 7));
      b = (v & 1) ? Byte(b | bit) : Byte(b & ~bit);
      break;
    }
  }
}

uint32_t GdiRawMask(const TGdiBitmap* bm) {
  if (bm->BitCount == 32) return 0xFFFFFFFF;
  if (bm->BitCount == 24) return 0xFFFFFF;
  return (1u << bm->BitCount) - 1;
}

uint32_t GdiReadColor(const TGdiBitmap* bm, Integer x, Integer y) {
  uint32_t v = GdiReadRaw(bm, x, y);
  if (bm->BitCount >= 24) return v;
  if (v >= bm->Colors.size()) return 0;
  const RGBQUAD& q = bm->Colors[v];
  return uint32_t(q.rgbBlue) | (uint32_t(q.rgbGreen) << 8) | (uint32_t(q.rgbRed) << 16);
}

uint32_t GdiColorToRaw(const TGdiBitmap* bm, uint32_t color) {
  if (bm->BitCount == 32) return color;
  if (bm->BitCount == 24) return color & 0xFFFFFF;
  Integer b = Integer(color & 0xFF), g = Integer((color >> 8) & 0xFF), r = Integer((color >> 16) & 0xFF);
  uint32_t best = 0;
  Integer bestDistance = 1 << 30;
  for (size_t i = 0; i < bm->Colors.size(); ++i) {
    const RGBQUAD& q = bm->Colors[i];
    Integer d = (q.rgbRed - r) * (q.rgbRed - r) + (q.rgbGreen - g) * (q.rgbGreen - g) +
                (q.rgbBlue - b) * (q.rgbBlue - b);
    if (d < bestDistance) {
      bestDistance = d;
      best = uint32_t(i);
      if (d == 0) break;
    }
  }
  return best;
}

// ---- bitmaps ----
TGdiBitmap* GdiNewBitmap(Integer width, Integer height, Integer bitCount, bool topDown) {
  if (width <= 0 || height <= 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) return nullptr;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return nullptr;
  Int64 stride = ((Int64(width) * bitCount + 31) / 32) * 4;
  Int64 bytes = stride * height;
  if (bytes > MaxSurfaceBytes) return nullptr;
  std::unique_ptr<Byte[]> bits(new (std::nothrow) Byte[size_t(bytes)]());
  if (!bits) return nullptr;
  auto* bm = new TGdiBitmap;
  bm->Width = width;
  bm->Height = height;
  bm->BitCount = bitCount;
  bm->TopDown = topDown;
  bm->Stride = Integer(stride);
  bm->Storage = std::move(bits);
  bm->Bits = bm->Storage.get();
  if (bitCount <= 8) bm->Colors.resize(size_t(1) << bitCount);
  GdiRegisterObject(bm);
  return bm;
}

namespace {

void setMonoTable(TGdiBitmap* bm) {
  bm->Mono = true;
  bm->Colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
}

TGdiBitmap* newMonoBitmap(Integer width, Integer height) {
  TGdiBitmap* bm = GdiNewBitmap(width, height, 1, true);
  if (bm) setMonoTable(bm);
  return bm;
}

}  // namespace

Integer TGdiBitmap::GetObjectInfo(Integer cb, void* out) const {
  BITMAP b;
  b.bmWidth = Width;
  b.bmHeight = Height;
  b.bmBitsPixel = WORD(BitCount);
  b.bmWidthBytes = IsSection ? Stride : ((Width * BitCount + 15) / 16) * 2;
  b.bmBits = IsSection ? Bits : nullptr;
  if (IsSection && (!out || cb >= Integer(sizeof(DIBSECTION)))) {
    if (!out) return sizeof(DIBSECTION);
    DIBSECTION ds;
    ds.dsBm = b;
    ds.dsBmih.biWidth = Width;
    ds.dsBmih.biHeight = TopDown ? -Height : Height;
    ds.dsBmih.biBitCount = WORD(BitCount);
    ds.dsBmih.biCompression = Compression;
    ds.dsBmih.biSizeImage = DWORD(Stride) * DWORD(Height);
    ds.dsBmih.biClrUsed = DWORD(Colors.size());
    if (Compression == BI_BITFIELDS) {
      ds.dsBitfields[0] = 0xFF0000;
      ds.dsBitfields[1] = 0xFF00;
      ds.dsBitfields[2] = 0xFF;
    }
    std::memcpy(out, &ds, sizeof ds);
    return sizeof(DIBSECTION);
  }
  if (!out) return sizeof(BITMAP);
  if (cb < Integer(sizeof(BITMAP))) return 0;
  std::memcpy(out, &b, sizeof b);
  return sizeof(BITMAP);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0) return nullptr;
  if (h.biHeight == INT32_MIN) return nullptr;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && h.biBitCount == 32)) return nullptr;
  if (h.biCompression == BI_BITFIELDS) {
    DWORD masks[3];
    std::memcpy(masks, reinterpret_cast<const Byte*>(info) + h.biSize, sizeof masks);
    if (masks[0] != 0xFF0000 || masks[1] != 0xFF00 || masks[2] != 0xFF) return nullptr;
  }
  Integer height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  TGdiBitmap* bm = GdiNewBitmap(h.biWidth, height, h.biBitCount, h.biHeight < 0);
  if (!bm) return nullptr;
  bm->IsSection = true;
  bm->Compression = h.biCompression;
  if (bm->BitCount <= 8) {
    size_t n = h.biClrUsed ? std::min<size_t>(h.biClrUsed, bm->Colors.size()) : bm->Colors.size();
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const Byte*>(info) + h.biSize);
    std::copy(table, table + n, bm->Colors.begin());
    for (auto& q : bm->Colors) q.rgbReserved = 0;
  }
  if (bits) *bits = bm->Bits;
  return bm;
}

HBITMAP CreateBitmap(Integer width, Integer height, UINT planes, UINT bitCount, const void* bits) {
  if (planes != 1) return nullptr;
  TGdiBitmap* bm = nullptr;
  if (bitCount == 1) {
    bm = newMonoBitmap(width, height);
  } else if (bitCount == 32) {
    bm = GdiNewBitmap(width, height, 32, true);
  }
  if (!bm || !bits) return bm;
  Integer srcStride = ((width * Integer(bitCount) + 15) / 16) * 2;
  size_t rowBytes = size_t((width * Integer(bitCount) + 7) / 8);
  for (Integer y = 0; y < height; ++y)
    std::memcpy(bm->Row(y), static_cast<const Byte*>(bits) + size_t(y) * size_t(srcStride), rowBytes);
  return bm;
}

HBITMAP CreateCompatibleBitmap(HDC dc, Integer width, Integer height) {
  TGdiDC* d = GdiDC(dc);
  if (!d) return nullptr;
  TGdiBitmap* target = d->Target();
  if (d->DCKind == TGdiDCKind::Memory && target && target->Mono) return newMonoBitmap(width, height);
  if (d->DCKind == TGdiDCKind::Memory && target && target->BitCount != 32 && target->IsSection) {
    TGdiBitmap* bm = GdiNewBitmap(width, height, target->BitCount, true);
    if (bm) bm->Colors = target->Colors;
    return bm;
  }
  return GdiNewBitmap(width, height, 32, true);
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
  if (!header) return nullptr;
  Integer height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  HBITMAP bm = dc ? CreateCompatibleBitmap(dc, header->biWidth, height)
                  : GdiNewBitmap(header->biWidth, height, 32, true);
  if (!bm) return nullptr;
  if ((init & CBM_INIT) && bits && info) {
    if (SetDIBits(dc, bm, 0, UINT(height), bits, info, usage) == 0) {
      DeleteObject(bm);
      return nullptr;
    }
  }
  return bm;
}

// ---- pens and brushes ----
Integer TGdiPen::GetObjectInfo(Integer cb, void* out) const {
  if (!out) return sizeof(LOGPEN);
  if (cb < Integer(sizeof(LOGPEN))) return 0;
  LOGPEN p;
  p.lopnStyle = Style;
  p.lopnWidth = {Width, 0};
  p.lopnColor = Color;
  std::memcpy(out, &p, sizeof p);
  return sizeof(LOGPEN);
}

Integer TGdiBrush::GetObjectInfo(Integer cb, void* out) const {
  if (!out) return sizeof(LOGBRUSH);
  if (cb < Integer(sizeof(LOGBRUSH))) return 0;
  LOGBRUSH b;
  b.lbStyle = Style;
  b.lbColor = Color;
  b.lbHatch = Style == BS_PATTERN ? reinterpret_cast<uintptr_t>(PatternSource) : uintptr_t(Hatch);
  std::memcpy(out, &b, sizeof b);
  return sizeof(LOGBRUSH);
}

HPEN CreatePen(Integer style, Integer width, COLORREF color) {
  if (style < Integer(PS_SOLID) || style > Integer(PS_INSIDEFRAME)) return nullptr;
  auto* p = new TGdiPen;
  p->Style = UINT(style);
  p->Width = std::max(0, width);
  p->Color = color & 0xFFFFFF;
  GdiRegisterObject(p);
  return p;
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  return pen ? CreatePen(Integer(pen->lopnStyle), pen->lopnWidth.X, pen->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* b = new TGdiBrush;
  b->Color = color & 0xFFFFFF;
  GdiRegisterObject(b);
  return b;
}

HBRUSH CreateHatchBrush(Integer style, COLORREF color) {
  if (style < HS_HORIZONTAL || style > HS_DIAGCROSS) return nullptr;
  auto* b = new TGdiBrush;
  b->Style = BS_HATCHED;
  b->Hatch = style;
  b->Color = color & 0xFFFFFF;
  GdiRegisterObject(b);
  return b;
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  TGdiBitmap* bm = GdiLive(bitmap, OBJ_BITMAP);
  if (!bm) return nullptr;
  auto* b = new TGdiBrush;
  b->Style = BS_PATTERN;
  b->PatternSource = bitmap;
  b->PatternWidth = bm->Width;
  b->PatternHeight = bm->Height;
  b->PatternMono = bm->Mono;
  b->Pattern.resize(size_t(bm->Width) * size_t(bm->Height));
  for (Integer y = 0; y < bm->Height; ++y)
    for (Integer x = 0; x < bm->Width; ++x)
      b->Pattern[size_t(y) * size_t(bm->Width) + size_t(x)] =
          bm->Mono ? GdiReadRaw(bm, x, y) : GdiReadColor(bm, x, y);
  GdiRegisterObject(b);
  return b;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(brush->lbColor);
    case BS_NULL: {
      auto* b = new TGdiBrush;
      b->Style = BS_NULL;
      GdiRegisterObject(b);
      return b;
    }
    case BS_HATCHED:
      return CreateHatchBrush(Integer(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default:
      return nullptr;
  }
}

// ---- stock objects ----
namespace {

struct TStock {
  std::mutex Lock;
  std::array<TGdiObject*, 32> Objects{};
  std::array<TGdiObject*, 64> SysBrushes{};
  TGdiBitmap* DefaultBitmap = nullptr;
};

TStock& stock() {
  static TStock* s = new TStock;
  return *s;
}

TGdiObject* makeStock(Integer index) {
  auto brush = [](COLORREF c, UINT style) {
    auto* b = new TGdiBrush;
    b->Style = style;
    b->Color = c;
    return b;
  };
  auto pen = [](COLORREF c, UINT style) {
    auto* p = new TGdiPen;
    p->Style = style;
    p->Color = c;
    return p;
  };
  switch (index) {
    case WHITE_BRUSH:
      return brush(RGB(255, 255, 255), BS_SOLID);
    case LTGRAY_BRUSH:
      return brush(RGB(192, 192, 192), BS_SOLID);
    case GRAY_BRUSH:
      return brush(RGB(128, 128, 128), BS_SOLID);
    case DKGRAY_BRUSH:
      return brush(RGB(64, 64, 64), BS_SOLID);
    case BLACK_BRUSH:
      return brush(0, BS_SOLID);
    case NULL_BRUSH:
      return brush(0, BS_NULL);
    case WHITE_PEN:
      return pen(RGB(255, 255, 255), PS_SOLID);
    case BLACK_PEN:
      return pen(0, PS_SOLID);
    case NULL_PEN:
      return pen(0, PS_NULL);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
      return reinterpret_cast<TGdiObject*>(GdiCreateStockFont(index));
    default:
      return nullptr;
  }
}

}  // namespace

// The font module supplies the real stock fonts.
__attribute__((weak)) HFONT GdiCreateStockFont(Integer) {
  return nullptr;
}

HGDIOBJ GetStockObject(Integer index) {
  if (index < 0 || index >= 32) return nullptr;
  TStock& s = stock();
  std::lock_guard<std::mutex> guard(s.Lock);
  if (!s.Objects[size_t(index)]) {
    TGdiObject* o = makeStock(index);
    if (!o) return nullptr;
    o->Stock = true;
    GdiRegisterObject(o);
    s.Objects[size_t(index)] = o;
  }
  return s.Objects[size_t(index)];
}

TGdiBitmap* GdiDefaultBitmap() {
  TStock& s = stock();
  std::lock_guard<std::mutex> guard(s.Lock);
  if (!s.DefaultBitmap) {
    s.DefaultBitmap = newMonoBitmap(1, 1);
    s.DefaultBitmap->Stock = true;
  }
  return s.DefaultBitmap;
}

// ---- system colours ----
namespace {

constexpr Integer SysColorCount = 31;
constexpr std::array<COLORREF, SysColorCount> SysColors = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: unused slot
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // COLOR_MENUHILIGHT
    RGB(236, 233, 216),  // COLOR_MENUBAR
};

}  // namespace

COLORREF GetSysColor(Integer index) {
  if (index < 0 || index >= SysColorCount || index == 25) return 0;
  return SysColors[size_t(index)];
}

HBRUSH GetSysColorBrush(Integer index) {
  if (index < 0 || index >= SysColorCount || index == 25) return nullptr;
  TStock& s = stock();
  std::lock_guard<std::mutex> guard(s.Lock);
  if (!s.SysBrushes[size_t(index)]) {
    auto* b = new TGdiBrush;
    b->Color = SysColors[size_t(index)];
    b->Stock = true;
    GdiRegisterObject(b);
    s.SysBrushes[size_t(index)] = b;
  }
  return static_cast<TGdiBrush*>(s.SysBrushes[size_t(index)]);
}

// ---- generic object calls ----
bool DeleteObject(HGDIOBJ h) {
  TGdiObject* o = GdiObjectFromHandle(h);
  if (!o || o->Kind == OBJ_DC || o->Kind == OBJ_MEMDC) return false;
  if (o->Stock) return true;
  if (o->SelectedCount > 0) return false;
  delete o;
  return true;
}

Integer GetObject(HGDIOBJ h, Integer cb, void* out) {
  TGdiObject* o = GdiObjectFromHandle(h);
  if (!o || cb < 0) return 0;
  return o->GetObjectInfo(cb, out);
}

DWORD GetObjectType(HGDIOBJ h) {
  TGdiObject* o = GdiObjectFromHandle(h);
  return o ? DWORD(o->Kind) : 0;
}

// ---- rectangle helpers ----
bool SetRect(TRect* r, Integer left, Integer top, Integer right, Integer bottom) {
  if (!r) return false;
  *r = {left, top, right, bottom};
  return true;
}

bool SetRectEmpty(TRect* r) {
  return SetRect(r, 0, 0, 0, 0);
}

bool CopyRect(TRect* dst, const TRect* src) {
  if (!dst || !src) return false;
  *dst = *src;
  return true;
}

bool IsRectEmpty(const TRect* r) {
  return !r || r->Right <= r->Left || r->Bottom <= r->Top;
}

bool EqualRect(const TRect* a, const TRect* b) {
  return a && b && *a == *b;
}

bool PtInRect(const TRect* r, TPoint p) {
  return r && p.X >= r->Left && p.X < r->Right && p.Y >= r->Top && p.Y < r->Bottom;
}

bool OffsetRect(TRect* r, Integer dx, Integer dy) {
  if (!r) return false;
  *r = {r->Left + dx, r->Top + dy, r->Right + dx, r->Bottom + dy};
  return true;
}

bool InflateRect(TRect* r, Integer dx, Integer dy) {
  if (!r) return false;
  *r = {r->Left - dx, r->Top - dy, r->Right + dx, r->Bottom + dy};
  return true;
}

bool IntersectRect(TRect* dst, const TRect* a, const TRect* b) {
  if (!dst || !a || !b) return false;
  TRect r{std::max(a->Left, b->Left), std::max(a->Top, b->Top), std::min(a->Right, b->Right),
          std::min(a->Bottom, b->Bottom)};
  if (IsRectEmpty(&r)) {
    *dst = {};
    return false;
  }
  *dst = r;
  return true;
}

bool UnionRect(TRect* dst, const TRect* a, const TRect* b) {
  if (!dst || !a || !b) return false;
  bool ea = IsRectEmpty(a), eb = IsRectEmpty(b);
  if (ea && eb) {
    *dst = {};
    return false;
  }
  if (ea) {
    *dst = *b;
  } else if (eb) {
    *dst = *a;
  } else {
    *dst = {std::min(a->Left, b->Left), std::min(a->Top, b->Top), std::max(a->Right, b->Right),
            std::max(a->Bottom, b->Bottom)};
  }
  return true;
}

bool SubtractRect(TRect* dst, const TRect* a, const TRect* b) {
  if (!dst || !a || !b) return false;
  TRect r = *a;
  TRect cut;
  if (IsRectEmpty(a)) {
    *dst = {};
    return false;
  }
  if (IntersectRect(&cut, a, b)) {
    if (cut.Left == r.Left && cut.Right == r.Right) {
      if (cut.Top == r.Top) {
        r.Top = cut.Bottom;
      } else if (cut.Bottom == r.Bottom) {
        r.Bottom = cut.Top;
      }
    } else if (cut.Top == r.Top && cut.Bottom == r.Bottom) {
      if (cut.Left == r.Left) {
        r.Left = cut.Right;
      } else if (cut.Right == r.Right) {
        r.Right = cut.Left;
      }
    }
  }
  if (IsRectEmpty(&r)) {
    *dst = {};
    return false;
  }
  *dst = r;
  return true;
}
