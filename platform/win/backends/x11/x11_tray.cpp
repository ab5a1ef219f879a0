// Tray icons in the desktop's system tray: a small window per icon, handed to the tray by the
// freedesktop dock request and embedded by it (XEmbed). The tray may come and go; icons shown while
// there is none wait and dock when one announces itself.
// clang-format off
#include "platform/win/backends/x11/x11_internal.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include <X11/Xatom.h>
// clang-format on

namespace {

// The tray's opcodes.
constexpr long kRequestDock = 0;
constexpr long kBeginMessage = 1;
constexpr long kCancelMessage = 2;
constexpr long kXembedMapped = 1;
constexpr long kBalloonTimeoutMs = 10000;

// Where a channel's bits sit in the visual's pixel.
struct TChannel {
  int Shift = 0;
  int Bits = 0;
};

TChannel channelOf(unsigned long mask) {
  TChannel c;
  if (!mask) return c;
  while (!(mask & 1)) {
    mask >>= 1;
    ++c.Shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++c.Bits;
  }
  return c;
}

unsigned long place(uint32_t value8, TChannel c) {
  if (c.Bits <= 0) return 0;
  unsigned long v = c.Bits >= 8 ? (value8 << (c.Bits - 8)) : (value8 >> (8 - c.Bits));
  return v << c.Shift;
}

}  // namespace

TX11Backend::TX11TrayIcon* TX11Backend::FindTrayIcon(HWND owner, UINT id) {
  for (auto& icon : FTrayIcons)
    if (icon->Owner == owner && icon->Id == id) return icon.get();
  return nullptr;
}

TX11Backend::TX11TrayIcon* TX11Backend::FindTrayIconByXid(Window xid) {
  if (!xid) return nullptr;
  for (auto& icon : FTrayIcons)
    if (icon->Xid == xid) return icon.get();
  return nullptr;
}

// Finds the tray of this screen and follows its end; false when none runs.
bool TX11Backend::WatchTrayManager() {
  if (!FTrayWatched) {
    std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(FScreen);
    FTrayAtoms.Selection = XInternAtom(FDisplay, name.c_str(), False);
    FTrayAtoms.Opcode = XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_OPCODE", False);
    FTrayAtoms.Manager = XInternAtom(FDisplay, "MANAGER", False);
    FTrayAtoms.XembedInfo = XInternAtom(FDisplay, "_XEMBED_INFO", False);
    FTrayAtoms.MessageData = XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_MESSAGE_DATA", False);
    // A tray that starts later announces itself to the root's structure listeners.
    XWindowAttributes rootAttrs;
    if (XGetWindowAttributes(FDisplay, FRoot, &rootAttrs))
      XSelectInput(FDisplay, FRoot, rootAttrs.your_event_mask | StructureNotifyMask);
    FTrayWatched = true;
  }
  if (FTrayManager) return true;
  XGrabServer(FDisplay);  // the owner must not vanish between the query and the selection
  Window manager = XGetSelectionOwner(FDisplay, FTrayAtoms.Selection);
  if (manager) XSelectInput(FDisplay, manager, StructureNotifyMask);
  XUngrabServer(FDisplay);
  XFlush(FDisplay);
  FTrayManager = manager;
  return FTrayManager != 0;
}

void TX11Backend::DockTrayIcon(TX11TrayIcon& icon) {
  if (icon.Xid || !FTrayManager) return;
  XSetWindowAttributes attrs{};
  attrs.background_pixmap = ParentRelative;  // the tray's own background shows around the picture
  attrs.event_mask =
      ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | StructureNotifyMask;
  icon.Size = {22, 22};
  icon.Xid = XCreateWindow(FDisplay, FRoot, 0, 0, 22, 22, 0, CopyFromParent, InputOutput, CopyFromParent,
                           CWBackPixmap | CWEventMask, &attrs);
  long info[2] = {0, kXembedMapped};
  XChangeProperty(FDisplay, icon.Xid, FTrayAtoms.XembedInfo, FTrayAtoms.XembedInfo, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(info), 2);
  XStoreName(FDisplay, icon.Xid, icon.Icon.Tip.c_str());
  icon.BalloonId = 0;  // a new tray shows none of the old one's
  SendTrayOpcode(FTrayManager, kRequestDock, long(icon.Xid), 0, 0);
}

void TX11Backend::SendTrayOpcode(Window window, long opcode, long a, long b, long c) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = FTrayAtoms.Opcode;
  message.xclient.format = 32;
  message.xclient.data.l[0] = CurrentTime;
  message.xclient.data.l[1] = opcode;
  message.xclient.data.l[2] = a;
  message.xclient.data.l[3] = b;
  message.xclient.data.l[4] = c;
  XSendEvent(FDisplay, FTrayManager, False, NoEventMask, &message);
  XFlush(FDisplay);
}

// The tray shows balloon messages itself: the text goes in pieces of 20 bytes after its announcement.
void TX11Backend::SendTrayBalloon(TX11TrayIcon& icon) {
  if (!icon.Xid || !FTrayManager) return;
  if (icon.BalloonId) SendTrayOpcode(icon.Xid, kCancelMessage, icon.BalloonId, 0, 0);
  icon.BalloonId = 0;
  const String& text = icon.Icon.Balloon;
  if (text.empty()) return;
  icon.BalloonId = ++FTrayBalloons;
  SendTrayOpcode(icon.Xid, kBeginMessage, kBalloonTimeoutMs, long(text.size()), icon.BalloonId);
  for (size_t at = 0; at < text.size(); at += 20) {
    XEvent piece{};
    piece.xclient.type = ClientMessage;
    piece.xclient.window = icon.Xid;
    piece.xclient.message_type = FTrayAtoms.MessageData;
    piece.xclient.format = 8;
    text.copy(piece.xclient.data.b, std::min<size_t>(20, text.size() - at), at);
    XSendEvent(FDisplay, FTrayManager, False, NoEventMask, &piece);
  }
  XFlush(FDisplay);
}

void TX11Backend::UndockTrayIcon(TX11TrayIcon& icon) {
  if (!icon.Xid) return;
  XDestroyWindow(FDisplay, icon.Xid);
  XFlush(FDisplay);
  icon.Xid = 0;
}

bool TX11Backend::ShowTrayIcon(HWND owner, UINT id, const TNativeTrayIcon& icon) {
  TX11TrayIcon* slot = FindTrayIcon(owner, id);
  if (!slot) {
    FTrayIcons.push_back(std::make_unique<TX11TrayIcon>());
    slot = FTrayIcons.back().get();
    slot->Owner = owner;
    slot->Id = id;
  }
  bool newTip = slot->Icon.Tip != icon.Tip;
  bool newBalloon = slot->Icon.Balloon != icon.Balloon;
  slot->Icon = icon;
  // Kept without a tray: it docks when one starts.
  if (!WatchTrayManager()) return false;
  if (!slot->Xid) {
    DockTrayIcon(*slot);
  } else {
    if (newTip) XStoreName(FDisplay, slot->Xid, slot->Icon.Tip.c_str());
    PaintTrayIcon(*slot);
  }
  if (newBalloon) SendTrayBalloon(*slot);
  return true;
}

void TX11Backend::RemoveTrayIcon(HWND owner, UINT id) {
  auto it = std::find_if(FTrayIcons.begin(), FTrayIcons.end(),
                         [&](const auto& icon) { return icon->Owner == owner && icon->Id == id; });
  if (it == FTrayIcons.end()) return;
  UndockTrayIcon(**it);
  FTrayIcons.erase(it);
}

// The picture centred in the window, shrunk to fit; pixels under half opacity let the tray show
// through (the window has the tray's depth and no alpha channel of its own).
void TX11Backend::PaintTrayIcon(const TX11TrayIcon& icon) {
  if (!icon.Xid) return;
  XClearWindow(FDisplay, icon.Xid);
  const TNativeIconImage& image = icon.Icon.Image;
  int side = std::min(icon.Size.cx, icon.Size.cy);
  if (image.Width <= 0 || image.Height <= 0 || side <= 0 ||
      image.Argb.size() != size_t(image.Width) * size_t(image.Height)) {
    XFlush(FDisplay);
    return;
  }
  double scale = std::min(1.0, double(side) / std::max(image.Width, image.Height));
  int w = std::max(1, int(image.Width * scale)), h = std::max(1, int(image.Height * scale));
  int left = (icon.Size.cx - w) / 2, top = (icon.Size.cy - h) / 2;

  XImage* picture =
      XCreateImage(FDisplay, FVisual, unsigned(FDepth), ZPixmap, 0, nullptr, unsigned(w), unsigned(h), 32, 0);
  if (!picture) return;
  picture->data = static_cast<char*>(std::calloc(size_t(picture->bytes_per_line) * size_t(h), 1));
  int maskStride = (w + 7) / 8;
  std::vector<char> mask(size_t(maskStride) * size_t(h), 0);
  TChannel red = channelOf(FVisual->red_mask), green = channelOf(FVisual->green_mask),
           blue = channelOf(FVisual->blue_mask);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t argb = image.Argb[size_t(int(y / scale)) * size_t(image.Width) + size_t(int(x / scale))];
      if ((argb >> 24) < 128) continue;
      mask[size_t(y * maskStride + x / 8)] |= char(1 << (x % 8));
      XPutPixel(
          picture, x, y,
          place((argb >> 16) & 0xFF, red) | place((argb >> 8) & 0xFF, green) | place(argb & 0xFF, blue));
    }
  }
  Pixmap colour = XCreatePixmap(FDisplay, icon.Xid, unsigned(w), unsigned(h), unsigned(FDepth));
  Pixmap shape = XCreateBitmapFromData(FDisplay, icon.Xid, mask.data(), unsigned(w), unsigned(h));
  GC gc = XCreateGC(FDisplay, colour, 0, nullptr);
  XPutImage(FDisplay, colour, gc, picture, 0, 0, 0, 0, unsigned(w), unsigned(h));
  XFreeGC(FDisplay, gc);
  GC windowGc = XCreateGC(FDisplay, icon.Xid, 0, nullptr);
  XSetClipMask(FDisplay, windowGc, shape);
  XSetClipOrigin(FDisplay, windowGc, left, top);
  XCopyArea(FDisplay, colour, icon.Xid, windowGc, 0, 0, unsigned(w), unsigned(h), left, top);
  XFreeGC(FDisplay, windowGc);
  XFreePixmap(FDisplay, shape);
  XFreePixmap(FDisplay, colour);
  XDestroyImage(picture);
  XFlush(FDisplay);
}

bool TX11Backend::OnTrayEvent(const XEvent& event, bool* delivered) {
  *delivered = false;
  if (!FTrayWatched) return false;
  switch (event.type) {
    case ClientMessage: {
      // A tray started: every waiting icon docks.
      const XClientMessageEvent& m = event.xclient;
      if (m.window != FRoot || m.message_type != FTrayAtoms.Manager ||
          Atom(m.data.l[1]) != FTrayAtoms.Selection)
        return false;
      FTrayManager = 0;
      if (WatchTrayManager())
        for (auto& icon : FTrayIcons) DockTrayIcon(*icon);
      return true;
    }
    case DestroyNotify: {
      const XDestroyWindowEvent& d = event.xdestroywindow;
      if (FTrayManager && d.window == FTrayManager) {
        FTrayManager = 0;
        return true;
      }
      // The tray destroyed the window it embedded ours in.
      if (TX11TrayIcon* icon = FindTrayIconByXid(d.window)) {
        if (d.event == d.window) icon->Xid = 0;
        return true;
      }
      return false;
    }
    case ReparentNotify: {
      // A tray that ends hands our window back to the root; it must not stay there as a stray window.
      const XReparentEvent& r = event.xreparent;
      TX11TrayIcon* icon = FindTrayIconByXid(r.window);
      if (!icon) return false;
      if (r.parent == FRoot) UndockTrayIcon(*icon);
      return true;
    }
    case ConfigureNotify: {
      const XConfigureEvent& c = event.xconfigure;
      TX11TrayIcon* icon = FindTrayIconByXid(c.window);
      if (!icon) return false;
      icon->Size = {c.width, c.height};
      return true;
    }
    case Expose: {
      TX11TrayIcon* icon = FindTrayIconByXid(event.xexpose.window);
      if (!icon) return false;
      if (event.xexpose.count == 0) PaintTrayIcon(*icon);
      return true;
    }
    case MotionNotify:
    case ButtonPress:
    case ButtonRelease: {
      Window xid = event.type == MotionNotify ? event.xmotion.window : event.xbutton.window;
      TX11TrayIcon* icon = FindTrayIconByXid(xid);
      if (!icon) return false;
      UINT mouse = 0;
      if (event.type == MotionNotify) {
        WinInputMouseMove({event.xmotion.x_root, event.xmotion.y_root});
        mouse = WM_MOUSEMOVE;
      } else {
        const XButtonEvent& b = event.xbutton;
        // The pointer's place is where a menu opened from the icon belongs.
        WinInputMouseMove({b.x_root, b.y_root});
        bool down = event.type == ButtonPress;
        switch (b.button) {
          case Button1:
            mouse = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
          case Button2:
            mouse = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
          case Button3:
            mouse = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
          default:
            return true;  // the wheel
        }
        if (down) {
          bool twice = icon->LastButton == b.button && b.time - icon->LastPress <= GetDoubleClickTime();
          if (twice) mouse += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          icon->LastButton = twice ? 0 : b.button;
          icon->LastPress = b.time;
        }
      }
      if (icon->Icon.CallbackMessage && IsWindow(icon->Owner)) {
        PostMessage(icon->Owner, icon->Icon.CallbackMessage, WPARAM(icon->Id), LPARAM(mouse));
        *delivered = true;
      }
      return true;
    }
    default:
      return false;
  }
}
