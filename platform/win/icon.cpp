// Icons: pixels kept by the layer, drawn through the blits of the graphics layer.
#include <algorithm>
#include <mutex>
#include <unordered_set>

#include "platform/win/window_internal.h"

namespace {

// Never destroyed: icons (the shared stock ones above all) may be used until the process ends.
std::mutex& iconLock() {
  static auto* lock = new std::mutex;
  return *lock;
}
std::unordered_set<HICON>& liveIcons() {
  static auto* icons = new std::unordered_set<HICON>;
  return *icons;
}

bool isIcon(HICON icon) {
  std::lock_guard<std::mutex> guard(iconLock());
  return icon && liveIcons().count(icon) != 0;
}

HICON adopt(std::unique_ptr<TPlatformIcon> icon) {
  std::lock_guard<std::mutex> guard(iconLock());
  HICON h = icon.release();
  liveIcons().insert(h);
  return h;
}

Byte alphaOf(uint32_t c) {
  return Byte(c >> 24);
}

// Reads a bitmap as 32-bit top-down words; false when it is not a readable bitmap.
bool readBitmap(HBITMAP bmp, Integer* w, Integer* h, std::vector<uint32_t>* px) {
  BITMAP bm;
  if (!bmp || GetObject(bmp, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biBitCount = 32;
  px->assign(size_t(bm.bmWidth) * bm.bmHeight, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  Integer rows = GetDIBits(dc, bmp, 0, UINT(bm.bmHeight), px->data(), &bi, DIB_RGB_COLORS);
  DeleteDC(dc);
  *w = bm.bmWidth;
  *h = bm.bmHeight;
  return rows == bm.bmHeight;
}

// A top-down 32-bit DIB section holding the words, selected into a new memory DC.
struct TDibCanvas {
  HDC Dc = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  TDibCanvas(Integer w, Integer h, const uint32_t* words) {
    BITMAPINFO bi;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!Bitmap) return;
    std::copy(words, words + size_t(w) * h, static_cast<uint32_t*>(bits));
    Dc = CreateCompatibleDC(nullptr);
    Old = SelectObject(Dc, Bitmap);
  }
  ~TDibCanvas() {
    if (Dc) {
      SelectObject(Dc, Old);
      DeleteDC(Dc);
    }
    if (Bitmap) DeleteObject(Bitmap);
  }
  TDibCanvas(const TDibCanvas&) = delete;
  TDibCanvas& operator=(const TDibCanvas&) = delete;
};

HBITMAP bitmapOf(Integer w, Integer h, const uint32_t* words) {
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp) std::copy(words, words + size_t(w) * h, static_cast<uint32_t*>(bits));
  return bmp;
}

// The mask as a monochrome bitmap: white (1) where the screen shows through.
HBITMAP maskBitmapOf(const TPlatformIcon& icon) {
  Integer stride = ((icon.Width + 15) / 16) * 2;
  std::vector<Byte> rows(size_t(stride) * icon.Height, 0);
  for (Integer y = 0; y < icon.Height; ++y) {
    for (Integer x = 0; x < icon.Width; ++x) {
      if (icon.Mask[size_t(y) * icon.Width + x]) rows[size_t(y) * stride + x / 8] |= Byte(0x80 >> (x % 8));
    }
  }
  return CreateBitmap(icon.Width, icon.Height, 1, 1, rows.data());
}

void finishIcon(TPlatformIcon& icon) {
  icon.HasAlpha = std::any_of(icon.Color.begin(), icon.Color.end(), [](uint32_t c) { return alphaOf(c); });
}

// ---- resampling (area average over premultiplied samples) ----
std::unique_ptr<TPlatformIcon> resampled(const TPlatformIcon& src, Integer w, Integer h) {
  auto out = std::make_unique<TPlatformIcon>(src);
  out->StockId = 0;
  out->Width = w;
  out->Height = h;
  out->Color.assign(size_t(w) * h, 0);
  out->Mask.assign(size_t(w) * h, 0);
  constexpr Integer kSub = 4;
  for (Integer y = 0; y < h; ++y) {
    for (Integer x = 0; x < w; ++x) {
      UInt64 sum[4] = {}, shown = 0;
      for (Integer sy = 0; sy < kSub; ++sy) {
        for (Integer sx = 0; sx < kSub; ++sx) {
          Integer ix = Integer((Int64(x) * kSub + sx) * src.Width / (Int64(w) * kSub));
          Integer iy = Integer((Int64(y) * kSub + sy) * src.Height / (Int64(h) * kSub));
          size_t i = size_t(iy) * src.Width + ix;
          uint32_t c = src.Color[i];
          UInt64 a = src.HasAlpha ? alphaOf(c) : 255;
          for (Integer k = 0; k < 3; ++k) sum[k] += ((c >> (8 * k)) & 0xFF) * a;
          sum[3] += a;
          if (!src.Mask[i]) ++shown;
        }
      }
      uint32_t c = 0;
      if (sum[3] > 0) {
        for (Integer k = 0; k < 3; ++k) c |= uint32_t((sum[k] + sum[3] / 2) / sum[3]) << (8 * k);
      }
      if (src.HasAlpha) c |= uint32_t((sum[3] + kSub * kSub / 2) / (kSub * kSub)) << 24;
      size_t o = size_t(y) * w + x;
      out->Color[o] = c;
      out->Mask[o] = shown * 2 < UInt64(kSub * kSub) ? 1 : 0;
    }
  }
  return out;
}

}  // namespace

// ---- making and freeing ----
HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info) return nullptr;
  auto icon = std::make_unique<TPlatformIcon>();
  icon->IsIcon = info->fIcon;
  icon->HotX = info->xHotspot;
  icon->HotY = info->yHotspot;
  Integer mw = 0, mh = 0;
  std::vector<uint32_t> mask;
  bool hasMask = info->hbmMask && readBitmap(info->hbmMask, &mw, &mh, &mask);
  if (info->hbmColor) {
    if (!readBitmap(info->hbmColor, &icon->Width, &icon->Height, &icon->Color)) return nullptr;
    finishIcon(*icon);
    icon->Mask.assign(icon->Color.size(), 0);
    for (Integer y = 0; y < icon->Height; ++y) {
      for (Integer x = 0; x < icon->Width; ++x) {
        size_t i = size_t(y) * icon->Width + x;
        if (hasMask) {
          // A mask smaller than the picture leaves the rest opaque.
          bool inside = x < mw && y < mh;
          icon->Mask[i] = inside && (mask[size_t(y) * mw + x] & 0xFFFFFF) ? 1 : 0;
        } else {
          icon->Mask[i] = icon->HasAlpha && alphaOf(icon->Color[i]) == 0 ? 1 : 0;
        }
      }
    }
  } else {
    // Monochrome: the AND mask over the XOR picture.
    if (!hasMask || mh < 2) return nullptr;
    icon->Width = mw;
    icon->Height = mh / 2;
    size_t n = size_t(mw) * icon->Height;
    icon->Mask.resize(n);
    icon->Color.resize(n);
    for (size_t i = 0; i < n; ++i) {
      icon->Mask[i] = (mask[i] & 0xFFFFFF) ? 1 : 0;
      icon->Color[i] = mask[n + i] & 0xFFFFFF;
    }
  }
  return adopt(std::move(icon));
}

bool DestroyIcon(HICON icon) {
  std::lock_guard<std::mutex> guard(iconLock());
  if (!icon || !liveIcons().count(icon)) return false;
  if (icon->StockId) return true;
  liveIcons().erase(icon);
  delete icon;
  return true;
}

bool GetIconInfo(HICON icon, ICONINFO* info) {
  if (!isIcon(icon) || !info) return false;
  info->fIcon = icon->IsIcon;
  info->xHotspot = icon->IsIcon ? DWORD(icon->Width / 2) : icon->HotX;
  info->yHotspot = icon->IsIcon ? DWORD(icon->Height / 2) : icon->HotY;
  info->hbmColor = bitmapOf(icon->Width, icon->Height, icon->Color.data());
  info->hbmMask = maskBitmapOf(*icon);
  if (!info->hbmColor || !info->hbmMask) {
    if (info->hbmColor) DeleteObject(info->hbmColor);
    if (info->hbmMask) DeleteObject(info->hbmMask);
    info->hbmColor = info->hbmMask = nullptr;
    return false;
  }
  return true;
}

HICON CopyIcon(HICON icon) {
  if (!isIcon(icon)) return nullptr;
  auto copy = std::make_unique<TPlatformIcon>(*icon);
  copy->StockId = 0;
  return adopt(std::move(copy));
}

TSize WinIconSize(HICON icon) {
  if (!isIcon(icon)) return TSize{0, 0};
  return TSize{icon->Width, icon->Height};
}

HICON LoadIcon(HINSTANCE instance, uintptr_t id) {
  if (instance) return nullptr;
  static auto* lock = new std::mutex;
  static auto* shared = new std::map<uintptr_t, HICON>;
  std::lock_guard<std::mutex> guard(*lock);
  auto it = shared->find(id);
  if (it != shared->end()) return it->second;
  auto icon = WinRenderStockIcon(id, GetSystemMetrics(SM_CXICON));
  if (!icon) return nullptr;
  icon->StockId = id;
  HICON h = adopt(std::move(icon));
  (*shared)[id] = h;
  return h;
}

HANDLE CopyImage(HANDLE image, UINT type, Integer cx, Integer cy, UINT flags) {
  if (cx < 0 || cy < 0 || !image) return nullptr;
  if (type == IMAGE_BITMAP) {
    BITMAP bm;
    auto src = static_cast<HBITMAP>(image);
    if (GetObjectType(src) != OBJ_BITMAP || GetObject(src, sizeof(bm), &bm) == 0) return nullptr;
    Integer w = cx ? cx : bm.bmWidth, h = cy ? cy : bm.bmHeight;
    Integer sw = 0, sh = 0;
    std::vector<uint32_t> px;
    if (!readBitmap(src, &sw, &sh, &px)) return nullptr;
    TDibCanvas from(sw, sh, px.data());
    std::vector<uint32_t> blank(size_t(w) * h, 0);
    HBITMAP out = bitmapOf(w, h, blank.data());
    if (!out || !from.Dc) {
      if (out) DeleteObject(out);
      return nullptr;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, out);
    StretchBlt(dc, 0, 0, w, h, from.Dc, 0, 0, sw, sh, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    if (flags & LR_COPYDELETEORG) DeleteObject(src);
    return out;
  }
  if (type != IMAGE_ICON && type != IMAGE_CURSOR) return nullptr;
  auto icon = static_cast<HICON>(image);
  if (!isIcon(icon)) return nullptr;
  Integer w = cx ? cx : (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : icon->Width;
  Integer h = cy ? cy : (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : icon->Height;
  std::unique_ptr<TPlatformIcon> copy;
  if (icon->StockId && w == h) copy = WinRenderStockIcon(icon->StockId, w);
  if (!copy) copy = resampled(*icon, w, h);
  if (flags & LR_COPYDELETEORG) DestroyIcon(icon);
  return adopt(std::move(copy));
}

// ---- drawing ----
bool DrawIconEx(HDC dc, Integer x, Integer y, HICON icon, Integer cx, Integer cy, UINT, HBRUSH brush,
                UINT flags) {
  if (!isIcon(icon) || !dc || cx < 0 || cy < 0 || !(flags & DI_NORMAL)) return false;
  if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : icon->Width;
  if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : icon->Height;
  if (brush) {
    TRect r = Bounds(x, y, cx, cy);
    if (!FillRect(dc, &r, brush)) return false;
  }
  size_t n = icon->Color.size();
  std::vector<uint32_t> mask(n);
  for (size_t i = 0; i < n; ++i) mask[i] = icon->Mask[i] ? 0x00FFFFFF : 0;
  bool ok = true;
  if ((flags & DI_IMAGE) && icon->HasAlpha) {
    std::vector<uint32_t> pre(n);
    for (size_t i = 0; i < n; ++i) {
      uint32_t c = icon->Color[i], a = alphaOf(c), out = a << 24;
      for (Integer k = 0; k < 3; ++k) out |= ((((c >> (8 * k)) & 0xFF) * a + 127) / 255) << (8 * k);
      pre[i] = out;
    }
    TDibCanvas picture(icon->Width, icon->Height, pre.data());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ok = picture.Dc && AlphaBlend(dc, x, y, cx, cy, picture.Dc, 0, 0, icon->Width, icon->Height, blend);
  } else if ((flags & DI_NORMAL) == DI_NORMAL) {
    TDibCanvas andMask(icon->Width, icon->Height, mask.data());
    TDibCanvas picture(icon->Width, icon->Height, icon->Color.data());
    ok = andMask.Dc && picture.Dc &&
         StretchBlt(dc, x, y, cx, cy, andMask.Dc, 0, 0, icon->Width, icon->Height, SRCAND) &&
         StretchBlt(dc, x, y, cx, cy, picture.Dc, 0, 0, icon->Width, icon->Height, SRCINVERT);
  } else {
    TDibCanvas one(icon->Width, icon->Height, (flags & DI_MASK) ? mask.data() : icon->Color.data());
    ok = one.Dc && StretchBlt(dc, x, y, cx, cy, one.Dc, 0, 0, icon->Width, icon->Height, SRCCOPY);
  }
  return ok;
}

bool WinIconPixels(HICON icon, TSize* size, std::vector<uint32_t>* argb) {
  if (!isIcon(icon) || !size || !argb) return false;
  *size = TSize{icon->Width, icon->Height};
  argb->resize(icon->Color.size());
  for (size_t i = 0; i < icon->Color.size(); ++i) {
    uint32_t c = icon->Color[i];
    if (icon->HasAlpha) {
      (*argb)[i] = c;
    } else {
      (*argb)[i] = icon->Mask[i] ? 0 : (c | 0xFF000000u);
    }
  }
  return true;
}

// ---- the window's icons ----
HICON WinSetWindowIcon(HWND w, WPARAM kind, HICON icon) {
  if (!WinIsLive(w)) return nullptr;
  HICON& slot = kind == ICON_BIG ? w->IconBig : w->IconSmall;
  HICON old = slot;
  slot = icon;
  WinPushWindowIcon(w);
  return old;
}

HICON WinWindowIcon(HWND w, WPARAM kind) {
  if (!WinIsLive(w)) return nullptr;
  if (kind == ICON_BIG) return w->IconBig;
  if (kind == ICON_SMALL) return w->IconSmall;
  return w->IconSmall ? w->IconSmall : w->IconBig;
}

void WinPushWindowIcon(HWND w) {
  if (!WinIsLive(w) || !w->Native) return;
  std::vector<TNativeIconImage> images;
  auto add = [&](HICON icon) {
    TNativeIconImage image;
    TSize size;
    if (!WinIconPixels(icon, &size, &image.Argb)) return;
    image.Width = size.cx;
    image.Height = size.cy;
    images.push_back(std::move(image));
  };
  add(w->IconBig);
  if (w->IconSmall != w->IconBig) add(w->IconSmall);
  if (images.empty() && w->Class) add(w->Class->Wc.hIcon);
  Backend().SetNativeIcon(w, images);
}

// ---- the system tray ----
bool WinShowTrayIcon(HWND owner, UINT id, UINT callbackMessage, HICON icon, const String& tip,
                     const String& balloon) {
  TNativeTrayIcon tray;
  tray.CallbackMessage = callbackMessage;
  tray.Tip = tip;
  tray.Balloon = balloon;
  TSize size;
  if (icon && WinIconPixels(icon, &size, &tray.Image.Argb)) {
    tray.Image.Width = size.cx;
    tray.Image.Height = size.cy;
  }
  return Backend().ShowTrayIcon(owner, id, tray);
}

void WinRemoveTrayIcon(HWND owner, UINT id) {
  Backend().RemoveTrayIcon(owner, id);
}
