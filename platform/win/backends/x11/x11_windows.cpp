// Top-level windows, their pictures, shapes and opacity, and the native child windows.
// clang-format off
#include "platform/win/backends/x11/x11_internal.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>
// clang-format on

// ---- picture buffers ----
TX11ImageBuffer::~TX11ImageBuffer() {
  if (FShared) {
    if (FAttached) {
      XShmDetach(FDisplay, &FSegment);
      XSync(FDisplay, False);
    }
    if (FSegment.shmaddr && FSegment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(FSegment.shmaddr);
    if (FImage) {
      FImage->data = nullptr;
      XDestroyImage(FImage);
    }
  } else if (FImage) {
    XDestroyImage(FImage);  // frees the data too
  }
}

std::unique_ptr<TX11ImageBuffer> TX11ImageBuffer::CreateShared(Display* display, Visual* visual, int depth,
                                                               int width, int height) {
  auto buffer = std::unique_ptr<TX11ImageBuffer>(new TX11ImageBuffer);
  buffer->FDisplay = display;
  buffer->FShared = true;
  buffer->FSegment.shmid = -1;
  buffer->FImage = XShmCreateImage(display, visual, unsigned(depth), ZPixmap, nullptr, &buffer->FSegment,
                                   unsigned(width), unsigned(height));
  if (!buffer->FImage) return nullptr;
  size_t size = size_t(buffer->FImage->bytes_per_line) * size_t(height);
  buffer->FSegment.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
  if (buffer->FSegment.shmid < 0) return nullptr;
  buffer->FSegment.shmaddr = static_cast<char*>(shmat(buffer->FSegment.shmid, nullptr, 0));
  if (buffer->FSegment.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(buffer->FSegment.shmid, IPC_RMID, nullptr);
    return nullptr;
  }
  buffer->FImage->data = buffer->FSegment.shmaddr;
  buffer->FSegment.readOnly = True;
  unsigned long errorsBefore = X11ErrorCount();
  XShmAttach(display, &buffer->FSegment);
  XSync(display, False);
  // Marked for removal at once: the segment goes away with its last user, even after a crash.
  shmctl(buffer->FSegment.shmid, IPC_RMID, nullptr);
  if (X11ErrorCount() != errorsBefore) return nullptr;
  buffer->FAttached = true;
  return buffer;
}

std::unique_ptr<TX11ImageBuffer> TX11ImageBuffer::CreatePlain(Display* display, Visual* visual, int depth,
                                                              int width, int height) {
  auto buffer = std::unique_ptr<TX11ImageBuffer>(new TX11ImageBuffer);
  buffer->FDisplay = display;
  buffer->FImage = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width),
                                unsigned(height), 32, 0);
  if (!buffer->FImage) return nullptr;
  buffer->FImage->data =
      static_cast<char*>(std::calloc(size_t(buffer->FImage->bytes_per_line), size_t(height)));
  if (!buffer->FImage->data) return nullptr;
  return buffer;
}

namespace {

struct TSurfacePixels {
  const Byte* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  int Stride = 0;
  bool BottomUp = false;
  const uint32_t* Row(int y) const {
    int row = BottomUp ? Height - 1 - y : y;
    return reinterpret_cast<const uint32_t*>(Bits + size_t(row) * size_t(Stride));
  }
};

bool surfacePixels(HBITMAP surface, TSurfacePixels& out) {
  DIBSECTION ds;
  if (!surface || GetObject(surface, sizeof(ds), &ds) < Integer(sizeof(BITMAP))) return false;
  if (!ds.dsBm.bmBits || ds.dsBm.bmBitsPixel != 32) return false;
  out.Bits = static_cast<const Byte*>(ds.dsBm.bmBits);
  out.Width = ds.dsBm.bmWidth;
  out.Height = std::abs(ds.dsBm.bmHeight);
  out.Stride = ds.dsBm.bmWidthBytes;
  out.BottomUp = ds.dsBmih.biHeight > 0;
  return out.Width > 0 && out.Height > 0;
}

int maskShift(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int maskBits(unsigned long mask) {
  int bits = 0;
  for (; mask; mask >>= 1) bits += int(mask & 1);
  return bits;
}

// One 8-bit channel scaled into a visual's mask.
unsigned long toChannel(uint32_t value8, unsigned long mask) {
  int bits = maskBits(mask);
  unsigned long v = bits >= 8 ? (value8 << (bits - 8)) : (value8 >> (8 - bits));
  return (v << maskShift(mask)) & mask;
}

// Runs of kept pixels, row by row; rows with equal runs are joined into taller rectangles.
template <typename Keep>
std::vector<XRectangle> runsToRectangles(const TSurfacePixels& px, Keep keep) {
  std::vector<XRectangle> out;
  std::vector<XRectangle> band;  // the open rectangles of the previous row
  for (int y = 0; y < px.Height; ++y) {
    std::vector<XRectangle> row;
    const uint32_t* p = px.Row(y);
    for (int x = 0; x < px.Width;) {
      if (!keep(p[x])) {
        ++x;
        continue;
      }
      int start = x;
      while (x < px.Width && keep(p[x])) ++x;
      row.push_back({short(start), short(y), static_cast<unsigned short>(x - start), 1});
    }
    bool same = row.size() == band.size();
    for (size_t i = 0; same && i < row.size(); ++i)
      same = row[i].x == band[i].x && row[i].width == band[i].width;
    if (same) {
      for (XRectangle& r : band) ++r.height;
    } else {
      out.insert(out.end(), band.begin(), band.end());
      band = std::move(row);
    }
  }
  out.insert(out.end(), band.begin(), band.end());
  return out;
}

int clampSize(int v) {
  return std::max(1, std::min(v, 32767));
}

}  // namespace

// ---- creation and destruction ----
bool TX11Backend::WantsOverrideRedirect(DWORD style, DWORD exStyle) {
  // Hints, menus and drop-down lists: captionless tool popups. The window manager must neither move,
  // decorate nor focus them.
  return (exStyle & WS_EX_TOOLWINDOW) && (style & WS_POPUP) && !(style & WS_DLGFRAME);
}

void TX11Backend::CreateNativeWindow(HWND wnd, const TNativeWindowInfo& info) {
  if (Find(wnd)) DestroyNativeWindow(wnd);
  auto w = std::make_unique<TX11Window>();
  w->Wnd = wnd;
  w->Bounds = info.Bounds;
  w->OverrideRedirect = WantsOverrideRedirect(info.Style, info.ExStyle);

  XSetWindowAttributes attrs{};
  // No background: the surface paints every pixel, so the server never clears to a colour first.
  attrs.background_pixmap = None;
  attrs.border_pixel = 0;
  attrs.bit_gravity = NorthWestGravity;
  attrs.override_redirect = w->OverrideRedirect ? True : False;
  attrs.colormap = DefaultColormap(FDisplay, FScreen);
  attrs.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                     ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                     FocusChangeMask;
  unsigned long mask =
      CWBackPixmap | CWBorderPixel | CWBitGravity | CWOverrideRedirect | CWColormap | CWEventMask;
  w->Xid = XCreateWindow(FDisplay, FRoot, info.Bounds.Left, info.Bounds.Top,
                         unsigned(clampSize(info.Bounds.Width())), unsigned(clampSize(info.Bounds.Height())),
                         0, FDepth, InputOutput, FVisual, mask, &attrs);
  w->ConfigureSerial = NextRequest(FDisplay);
  w->Gc = XCreateGC(FDisplay, w->Xid, 0, nullptr);

  XClassHint classHint{const_cast<char*>("nerivo"), const_cast<char*>("Nerivo")};
  XSetClassHint(FDisplay, w->Xid, &classHint);
  XWMHints wmHints{};
  wmHints.flags = InputHint | StateHint;
  wmHints.input = True;
  wmHints.initial_state = NormalState;
  XSetWMHints(FDisplay, w->Xid, &wmHints);
  XSetWMProtocols(FDisplay, w->Xid, &FAtoms.WmDeleteWindow, 1);
  long pid = long(getpid());
  XChangeProperty(FDisplay, w->Xid, FAtoms.NetWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);

  if (FIm) {
    w->Ic = XCreateIC(FIm, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, w->Xid,
                      XNFocusWindow, w->Xid, nullptr);
    if (w->Ic) {
      long filterMask = 0;
      XGetICValues(w->Ic, XNFilterEvents, &filterMask, nullptr);
      XSelectInput(FDisplay, w->Xid, attrs.event_mask | filterMask);
    }
  }

  FByXid[w->Xid] = wnd;
  TX11Window& ref = *w;
  FWindows[wnd] = std::move(w);
  ApplyWindowManagerHints(ref, info.ExStyle, info.Owner);
  SetNativeTitle(wnd, info.Title);
  DefineCursorOn(ref.Xid);
  XFlush(FDisplay);
}

void TX11Backend::ApplyWindowManagerHints(TX11Window& w, DWORD exStyle, HWND owner) {
  // Undecorated: the layer draws the whole frame into the surface.
  struct {
    unsigned long Flags, Functions, Decorations;
    long InputMode;
    unsigned long InputStatus;
  } motif{2 /* decorations */, 0, 0, 0, 0};
  XChangeProperty(FDisplay, w.Xid, FAtoms.MotifHints, FAtoms.MotifHints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&motif), 5);

  // Our own placement, not the window manager's.
  XSizeHints* size = XAllocSizeHints();
  size->flags = USPosition | PPosition | USSize | PSize;
  size->x = w.Bounds.Left;
  size->y = w.Bounds.Top;
  size->width = clampSize(w.Bounds.Width());
  size->height = clampSize(w.Bounds.Height());
  XSetWMNormalHints(FDisplay, w.Xid, size);
  XFree(size);

  if (TX11Window* o = owner ? Find(owner) : nullptr) XSetTransientForHint(FDisplay, w.Xid, o->Xid);

  Atom type = w.OverrideRedirect ? FAtoms.NetWmTypePopupMenu
              : owner            ? FAtoms.NetWmTypeDialog
                                 : FAtoms.NetWmTypeNormal;
  XChangeProperty(FDisplay, w.Xid, FAtoms.NetWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);

  // Initial states (read by the window manager when the window is mapped).
  std::vector<Atom> states;
  if (exStyle & WS_EX_TOPMOST) states.push_back(FAtoms.NetWmStateAbove);
  if ((exStyle & WS_EX_TOOLWINDOW) && !(exStyle & WS_EX_APPWINDOW))
    states.push_back(FAtoms.NetWmStateSkipTaskbar);
  XChangeProperty(FDisplay, w.Xid, FAtoms.NetWmState, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(states.data()), int(states.size()));
}

void TX11Backend::DestroyNativeWindow(HWND wnd) {
  auto it = FWindows.find(wnd);
  if (it == FWindows.end()) return;
  TX11Window& w = *it->second;
  // Native children die with their top-level window on the server.
  for (auto c = FChildren.begin(); c != FChildren.end();) {
    if (c->second.TopLevel == wnd)
      c = FChildren.erase(c);
    else
      ++c;
  }
  if (FCapture == wnd) SetNativeCapture(nullptr);
  w.Buffer.reset();
  if (w.Ic) XDestroyIC(w.Ic);
  XFreeGC(FDisplay, w.Gc);
  XDestroyWindow(FDisplay, w.Xid);
  FByXid.erase(w.Xid);
  FWindows.erase(it);
  XFlush(FDisplay);
}

// ---- placement and states ----
void TX11Backend::ShowNativeWindow(HWND wnd, bool visible) {
  TX11Window* w = Find(wnd);
  if (!w || w->WantMapped == visible) return;
  w->WantMapped = visible;
  if (visible) {
    w->Iconified = false;
    XMapWindow(FDisplay, w->Xid);
  } else {
    // A managed window is withdrawn only when the window manager hears of it (ICCCM 4.1.4).
    if (w->OverrideRedirect)
      XUnmapWindow(FDisplay, w->Xid);
    else
      XWithdrawWindow(FDisplay, w->Xid, FScreen);
  }
  XFlush(FDisplay);
}

void TX11Backend::MoveNativeWindow(HWND wnd, const TRect& bounds) {
  TX11Window* w = Find(wnd);
  if (!w || w->Bounds == bounds) return;
  w->Bounds = bounds;
  w->ConfigureSerial = NextRequest(FDisplay);
  XMoveResizeWindow(FDisplay, w->Xid, bounds.Left, bounds.Top, unsigned(clampSize(bounds.Width())),
                    unsigned(clampSize(bounds.Height())));
  XFlush(FDisplay);
}

void TX11Backend::RestackNativeWindow(HWND wnd, HWND above) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  TX11Window* a = above ? Find(above) : nullptr;
  XWindowChanges changes{};
  unsigned int mask = CWStackMode;
  if (a) {
    changes.sibling = a->Xid;
    changes.stack_mode = Below;
    mask |= CWSibling;
  } else {
    changes.stack_mode = Above;
  }
  // Managed windows sit inside frames, so the window manager is asked when the direct request fails.
  XReconfigureWMWindow(FDisplay, w->Xid, FScreen, mask, &changes);
  XFlush(FDisplay);
}

void TX11Backend::SetNativeTitle(HWND wnd, const String& title) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  XChangeProperty(FDisplay, w->Xid, FAtoms.NetWmName, FAtoms.Utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
  char* list[] = {const_cast<char*>(title.c_str())};
  XTextProperty text{};
  if (Xutf8TextListToTextProperty(FDisplay, list, 1, XStdICCTextStyle, &text) >= Success) {
    XSetWMName(FDisplay, w->Xid, &text);
    XSetWMIconName(FDisplay, w->Xid, &text);
    if (text.value) XFree(text.value);
  }
  XFlush(FDisplay);
}

void TX11Backend::SetNativeIcon(HWND wnd, const std::vector<TNativeIconImage>& images) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  if (images.empty()) {
    XDeleteProperty(FDisplay, w->Xid, FAtoms.NetWmIcon);
    XFlush(FDisplay);
    return;
  }
  // Width, height, then the ARGB pixels of each picture, as longs (32-bit property items).
  std::vector<unsigned long> data;
  for (const TNativeIconImage& image : images) {
    if (image.Width <= 0 || image.Height <= 0 || image.Argb.size() != size_t(image.Width) * image.Height)
      continue;
    data.push_back(static_cast<unsigned long>(image.Width));
    data.push_back(static_cast<unsigned long>(image.Height));
    data.insert(data.end(), image.Argb.begin(), image.Argb.end());
  }
  if (data.empty()) return;
  XChangeProperty(FDisplay, w->Xid, FAtoms.NetWmIcon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
  XFlush(FDisplay);
}

void TX11Backend::SetNativeStyle(HWND wnd, DWORD style, DWORD exStyle) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  bool overrideRedirect = WantsOverrideRedirect(style, exStyle);
  if (overrideRedirect != w->OverrideRedirect) {
    // Takes effect at the next map; a mapped window is remapped so the window manager lets go (or
    // takes over) now.
    w->OverrideRedirect = overrideRedirect;
    XSetWindowAttributes attrs{};
    attrs.override_redirect = overrideRedirect ? True : False;
    bool remap = w->WantMapped;
    if (remap) XUnmapWindow(FDisplay, w->Xid);
    XChangeWindowAttributes(FDisplay, w->Xid, CWOverrideRedirect, &attrs);
    if (remap) XMapWindow(FDisplay, w->Xid);
  }
  HWND owner = GetWindow(wnd, GW_OWNER);
  ApplyWindowManagerHints(*w, exStyle, owner);
  XFlush(FDisplay);
}

void TX11Backend::ActivateNativeWindow(HWND wnd) {
  TX11Window* w = Find(wnd);
  if (!w || !w->WantMapped) return;
  if (!w->OverrideRedirect) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w->Xid;
    event.xclient.message_type = FAtoms.NetActiveWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1;  // from an application
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(FDisplay, FRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  }
  // Without a window manager nobody else hands out the focus. Fails harmlessly while not viewable.
  XWindowAttributes attrs{};
  if (XGetWindowAttributes(FDisplay, w->Xid, &attrs) && attrs.map_state == IsViewable) {
    FFocusRequestSerial = NextRequest(FDisplay);
    XSetInputFocus(FDisplay, w->Xid, RevertToParent, CurrentTime);
  }
  XFlush(FDisplay);
}

void TX11Backend::SetNativeState(HWND wnd, Integer state) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  // Maximizing is the layer's geometry (the work area); only minimizing involves the window manager.
  if (state == Integer(SIZE_MINIMIZED)) {
    if (!w->Iconified && w->WantMapped) {
      w->Iconified = true;
      XIconifyWindow(FDisplay, w->Xid, FScreen);
    }
  } else if (w->Iconified) {
    w->Iconified = false;
    if (w->WantMapped) XMapWindow(FDisplay, w->Xid);
  }
  XFlush(FDisplay);
}

// ---- pictures ----
void TX11Backend::Present(TX11Window& w, HBITMAP surface, TRect dirty) {
  TSurfacePixels px;
  if (!surfacePixels(surface, px)) return;
  dirty.Left = std::max(dirty.Left, 0);
  dirty.Top = std::max(dirty.Top, 0);
  dirty.Right = std::min(dirty.Right, px.Width);
  dirty.Bottom = std::min(dirty.Bottom, px.Height);
  if (dirty.Right <= dirty.Left || dirty.Bottom <= dirty.Top) return;
  const int width = dirty.Width(), height = dirty.Height();

  if (FUseShm && FDirectLayout) {
    if (!w.Buffer || !w.Buffer->Shared() || w.Buffer->Width() != px.Width ||
        w.Buffer->Height() != px.Height) {
      w.Buffer.reset();
      w.Buffer = TX11ImageBuffer::CreateShared(FDisplay, FVisual, FDepth, px.Width, px.Height);
    }
    if (w.Buffer) {
      XImage* image = w.Buffer->Image();
      for (int y = dirty.Top; y < dirty.Bottom; ++y)
        std::memcpy(image->data + size_t(y) * size_t(image->bytes_per_line) + size_t(dirty.Left) * 4,
                    px.Row(y) + dirty.Left, size_t(width) * 4);
      XShmPutImage(FDisplay, w.Xid, w.Gc, image, dirty.Left, dirty.Top, dirty.Left, dirty.Top,
                   unsigned(width), unsigned(height), False);
      // The segment is ours again only once the server has read it.
      XSync(FDisplay, False);
      return;
    }
  }

  if (FDirectLayout && !px.BottomUp) {
    // Straight from the surface: an image header over its rows (Xlib swaps bytes for the server).
    XImage* image = XCreateImage(FDisplay, FVisual, unsigned(FDepth), ZPixmap, 0,
                                 const_cast<char*>(reinterpret_cast<const char*>(px.Bits)),
                                 unsigned(px.Width), unsigned(px.Height), 32, px.Stride);
    if (!image) return;
    image->byte_order = LSBFirst;
    XPutImage(FDisplay, w.Xid, w.Gc, image, dirty.Left, dirty.Top, dirty.Left, dirty.Top, unsigned(width),
              unsigned(height));
    image->data = nullptr;
    XDestroyImage(image);
    XFlush(FDisplay);
    return;
  }

  // Any other visual: convert the dirty part pixel by pixel.
  if (!w.Buffer || w.Buffer->Shared() || w.Buffer->Width() != px.Width || w.Buffer->Height() != px.Height) {
    w.Buffer.reset();
    w.Buffer = TX11ImageBuffer::CreatePlain(FDisplay, FVisual, FDepth, px.Width, px.Height);
    if (!w.Buffer) return;
  }
  XImage* image = w.Buffer->Image();
  for (int y = dirty.Top; y < dirty.Bottom; ++y) {
    const uint32_t* row = px.Row(y);
    for (int x = dirty.Left; x < dirty.Right; ++x) {
      uint32_t p = row[x];
      unsigned long value = toChannel((p >> 16) & 0xFF, FVisual->red_mask) |
                            toChannel((p >> 8) & 0xFF, FVisual->green_mask) |
                            toChannel(p & 0xFF, FVisual->blue_mask);
      XPutPixel(image, x, y, value);
    }
  }
  XPutImage(FDisplay, w.Xid, w.Gc, image, dirty.Left, dirty.Top, dirty.Left, dirty.Top, unsigned(width),
            unsigned(height));
  XFlush(FDisplay);
}

void TX11Backend::PresentSurface(HWND wnd, HBITMAP surface, const TRect& dirty) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  // A colour key follows the picture: keyed pixels are holes wherever they are painted.
  if (w->LayeredShape == TX11Window::TLayeredShape::ColorKey) {
    RecomputeTransparencyShape(*w, surface);
    ApplyShape(*w);
  }
  Present(*w, surface, dirty);
}

void TX11Backend::ApplyShape(TX11Window& w) {
  if (!FHasShape) return;
  bool any = w.HasRegionShape || w.HasTransparencyShape;
  if (!any) {
    if (w.ShapeApplied) XShapeCombineMask(FDisplay, w.Xid, ShapeBounding, 0, 0, None, ShapeSet);
    w.ShapeApplied = false;
    return;
  }
  if (w.HasRegionShape) {
    XShapeCombineRectangles(FDisplay, w.Xid, ShapeBounding, 0, 0,
                            const_cast<XRectangle*>(w.RegionShape.data()), int(w.RegionShape.size()),
                            ShapeSet, Unsorted);
  } else {
    XRectangle all{0, 0, static_cast<unsigned short>(clampSize(w.Bounds.Width())),
                   static_cast<unsigned short>(clampSize(w.Bounds.Height()))};
    XShapeCombineRectangles(FDisplay, w.Xid, ShapeBounding, 0, 0, &all, 1, ShapeSet, Unsorted);
  }
  if (w.HasTransparencyShape)
    XShapeCombineRectangles(FDisplay, w.Xid, ShapeBounding, 0, 0,
                            const_cast<XRectangle*>(w.TransparencyShape.data()),
                            int(w.TransparencyShape.size()), ShapeIntersect, YXBanded);
  w.ShapeApplied = true;
}

void TX11Backend::SetNativeShape(HWND wnd, HRGN shape) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  w->RegionShape.clear();
  w->HasRegionShape = shape != nullptr;
  if (shape) {
    DWORD bytes = GetRegionData(shape, 0, nullptr);
    std::vector<char> storage(std::max<DWORD>(bytes, sizeof(RGNDATA)));
    auto* data = reinterpret_cast<RGNDATA*>(storage.data());
    if (bytes && GetRegionData(shape, bytes, data) == bytes) {
      const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
      for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        const RECT& r = rects[i];
        if (r.Right <= r.Left || r.Bottom <= r.Top) continue;
        w->RegionShape.push_back({short(std::clamp(r.Left, -32768, 32767)),
                                  short(std::clamp(r.Top, -32768, 32767)),
                                  static_cast<unsigned short>(std::min(r.Right - r.Left, 65535)),
                                  static_cast<unsigned short>(std::min(r.Bottom - r.Top, 65535))});
      }
    }
  }
  ApplyShape(*w);
  XFlush(FDisplay);
}

void TX11Backend::RecomputeTransparencyShape(TX11Window& w, HBITMAP surface) {
  TSurfacePixels px;
  w.HasTransparencyShape = false;
  w.TransparencyShape.clear();
  if (w.LayeredShape == TX11Window::TLayeredShape::Off || !surfacePixels(surface, px)) return;
  if (w.LayeredShape == TX11Window::TLayeredShape::Alpha) {
    w.TransparencyShape = runsToRectangles(px, [](uint32_t p) { return (p >> 24) != 0; });
  } else {
    // COLORREF is 0x00BBGGRR; a surface word is 0xAARRGGBB.
    uint32_t key = (uint32_t(GetRValue(w.ColorKey)) << 16) | (uint32_t(GetGValue(w.ColorKey)) << 8) |
                   uint32_t(GetBValue(w.ColorKey));
    w.TransparencyShape = runsToRectangles(px, [key](uint32_t p) { return (p & 0xFFFFFF) != key; });
  }
  w.HasTransparencyShape = true;
}

void TX11Backend::ApplyOpacity(TX11Window& w, Byte alpha) {
  if (alpha == w.Opacity) return;
  w.Opacity = alpha;
  if (alpha == 255) {
    XDeleteProperty(FDisplay, w.Xid, FAtoms.NetWmOpacity);
  } else {
    // A compositing manager scales 0..0xFFFFFFFF; without one the window stays opaque.
    unsigned long value = static_cast<unsigned long>(alpha) * 0x01010101UL;
    XChangeProperty(FDisplay, w.Xid, FAtoms.NetWmOpacity, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&value), 1);
  }
}

void TX11Backend::PresentLayered(HWND wnd, HBITMAP surface, const TLayeredPush& push) {
  TX11Window* w = Find(wnd);
  if (!w) return;
  if (push.Size.cx > 0 && push.Size.cy > 0)
    MoveNativeWindow(wnd, Bounds(push.Position.X, push.Position.Y, push.Size.cx, push.Size.cy));

  // Per-pixel alpha cannot blend with what lies beneath without a compositor: the window shows the
  // (premultiplied) picture where alpha is not zero and is a hole elsewhere; the constant alpha goes
  // to the compositor as the window's opacity.
  bool keyed = (push.Flags & (ULW_COLORKEY | LWA_COLORKEY)) && push.ColorKey != CLR_INVALID;
  auto shape = push.PerPixelAlpha ? TX11Window::TLayeredShape::Alpha
               : keyed            ? TX11Window::TLayeredShape::ColorKey
                                  : TX11Window::TLayeredShape::Off;
  w->LayeredShape = shape;
  w->ColorKey = keyed ? push.ColorKey : CLR_INVALID;
  RecomputeTransparencyShape(*w, surface);
  ApplyShape(*w);
  ApplyOpacity(*w, push.ConstantAlpha);

  TSurfacePixels px;
  if (surfacePixels(surface, px)) Present(*w, surface, Rect(0, 0, px.Width, px.Height));
  XFlush(FDisplay);
}

// ---- native child windows ----
uintptr_t TX11Backend::CreateNativeChild(HWND wnd, HWND topLevel, const TRect& boundsInTopLevel) {
  TX11Window* top = Find(topLevel);
  if (!top) return 0;
  if (FChildren.count(wnd)) DestroyNativeChild(wnd);
  XSetWindowAttributes attrs{};
  attrs.background_pixel = BlackPixel(FDisplay, FScreen);
  attrs.border_pixel = 0;
  // Clicks are not selected here: they travel up to the top-level window, which routes them to the
  // layer and reports them to the listener (so another library may still select them here).
  attrs.event_mask = ExposureMask | StructureNotifyMask;
  TX11Child child;
  child.Wnd = wnd;
  child.TopLevel = topLevel;
  child.Bounds = boundsInTopLevel;
  child.Xid = XCreateWindow(FDisplay, top->Xid, boundsInTopLevel.Left, boundsInTopLevel.Top,
                            unsigned(clampSize(boundsInTopLevel.Width())),
                            unsigned(clampSize(boundsInTopLevel.Height())), 0, FDepth, InputOutput, FVisual,
                            CWBackPixel | CWBorderPixel | CWEventMask, &attrs);
  child.ReportedSize = {clampSize(boundsInTopLevel.Width()), clampSize(boundsInTopLevel.Height())};
  FChildren[wnd] = child;
  XFlush(FDisplay);
  return uintptr_t(child.Xid);
}

void TX11Backend::PlaceNativeChild(HWND wnd, const TRect& boundsInTopLevel, bool visible) {
  auto it = FChildren.find(wnd);
  if (it == FChildren.end()) return;
  TX11Child& child = it->second;
  if (!(child.Bounds == boundsInTopLevel)) {
    child.Bounds = boundsInTopLevel;
    XMoveResizeWindow(FDisplay, child.Xid, boundsInTopLevel.Left, boundsInTopLevel.Top,
                      unsigned(clampSize(boundsInTopLevel.Width())),
                      unsigned(clampSize(boundsInTopLevel.Height())));
  }
  if (visible != child.Mapped) {
    child.Mapped = visible;
    if (visible)
      XMapWindow(FDisplay, child.Xid);
    else
      XUnmapWindow(FDisplay, child.Xid);
  }
  XFlush(FDisplay);
}

void TX11Backend::DestroyNativeChild(HWND wnd) {
  auto it = FChildren.find(wnd);
  if (it == FChildren.end()) return;
  XDestroyWindow(FDisplay, it->second.Xid);
  FChildren.erase(it);
  XFlush(FDisplay);
}
