// From X events to the layer's native entry points.
// clang-format off
#include "platform/win/backends/x11/x11_internal.h"

#include <algorithm>

#include "platform/win/backends/x11/x11_keys.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
// clang-format on

namespace {

// The platform's key for characters that come without a key of their own (an input method's text).
constexpr Word kVkPacket = 0xE7;

TRect unite(const TRect& a, const TRect& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

String latin1ToUtf8(const char* text, int length) {
  String out;
  for (int i = 0; i < length; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

bool TX11Backend::Dispatch(XEvent& event) {
  bool trayDelivered = false;
  if (OnTrayEvent(event, &trayDelivered)) return trayDelivered;
  switch (event.type) {
    case MotionNotify: {
      // Only the latest position of an unbroken burst matters; a motion after a click stays after it.
      while (XEventsQueued(FDisplay, QueuedAlready) > 0) {
        XEvent next;
        XPeekEvent(FDisplay, &next);
        if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
        XNextEvent(FDisplay, &event);
      }
      if (!FindByXid(event.xmotion.window)) return false;
      WinInputMouseMove({event.xmotion.x_root, event.xmotion.y_root});
      return true;
    }
    case ButtonPress:
    case ButtonRelease:
      return OnButton(event.xbutton);
    case KeyPress:
    case KeyRelease:
      return OnKey(event.xkey);
    case FocusIn:
    case FocusOut: {
      const XFocusChangeEvent& f = event.xfocus;
      // Grabs (ours, for capture) and moves of the focus inside the window change nothing.
      if (f.mode == NotifyGrab || f.mode == NotifyUngrab) return false;
      if (f.detail == NotifyInferior || f.detail == NotifyPointer) return false;
      if (f.serial < FFocusRequestSerial) return false;
      TX11Window* w = FindByXid(f.window);
      if (!w) return false;
      bool focused = event.type == FocusIn;
      if (w->Ic) {
        if (focused)
          XSetICFocus(w->Ic);
        else
          XUnsetICFocus(w->Ic);
      }
      // Keys held while the focus leaves never report their release to us.
      if (!focused) ReleaseHeldKeys();
      WinNativeFocusChanged(w->Wnd, focused);
      return true;
    }
    case EnterNotify:
    case LeaveNotify: {
      const XCrossingEvent& c = event.xcrossing;
      if (c.mode != NotifyNormal || c.detail == NotifyInferior) return false;
      if (!FindByXid(c.window)) return false;
      // The layer finds what lies under the pointer (nothing of ours after a leave) and tells the
      // windows it entered or left.
      WinInputMouseMove({c.x_root, c.y_root});
      return true;
    }
    case Expose:
      return OnExpose(event.xexpose);
    case ConfigureNotify: {
      const XConfigureEvent& c = event.xconfigure;
      if (c.event != c.window) return false;
      if (TX11Child* child = FindChildByXid(c.window)) {
        TSize size{c.width, c.height};
        if (size == child->ReportedSize) return false;
        child->ReportedSize = size;
        TNativeChildEvent e;
        e.Kind = TNativeChildEvent::TKind::Resize;
        e.Area = Rect(0, 0, c.width, c.height);
        NotifyChild(*child, e);
        return true;
      }
      TX11Window* w = FindByXid(c.window);
      return w && OnConfigure(*w, c);
    }
    case PropertyNotify: {
      const XPropertyEvent& p = event.xproperty;
      if (p.window != FRoot || (p.atom != FAtoms.NetWorkarea && p.atom != FAtoms.NetCurrentDesktop))
        return false;
      WinNativeScreenChanged();
      return true;
    }
    case ReparentNotify: {
      if (TX11Window* w = FindByXid(event.xreparent.window)) w->Reparented = event.xreparent.parent != FRoot;
      return false;
    }
    case MapNotify:
    case UnmapNotify: {
      Window xid = event.type == MapNotify ? event.xmap.window : event.xunmap.window;
      Window from = event.type == MapNotify ? event.xmap.event : event.xunmap.event;
      if (xid != from || event.xany.send_event) return false;
      TX11Window* w = FindByXid(xid);
      return w && OnMapChange(*w, event.type == MapNotify);
    }
    case ClientMessage: {
      const XClientMessageEvent& m = event.xclient;
      TX11Window* w = FindByXid(m.window);
      if (!w || m.message_type != FAtoms.WmProtocols || m.format != 32) return false;
      if (Atom(m.data.l[0]) != FAtoms.WmDeleteWindow) return false;
      WinNativeCloseRequest(w->Wnd);
      return true;
    }
    case SelectionRequest:
      return OnSelectionRequest(event.xselectionrequest);
    case SelectionClear:
      return OnSelectionClear(event.xselectionclear);
    case MappingNotify:
      if (event.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&event.xmapping);
      return false;
    default:
      return false;
  }
}

bool TX11Backend::OnButton(XButtonEvent& event) {
  TX11Window* w = FindByXid(event.window);
  if (!w) return false;
  const bool down = event.type == ButtonPress;
  const TPoint screen{event.x_root, event.y_root};
  if (event.button == Button4 || event.button == Button5) {
    if (!down) return false;
    WinInputMouseWheel(event.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA, screen);
    return true;
  }
  TInputButton button;
  switch (event.button) {
    case Button1:
      button = TInputButton::Left;
      break;
    case Button2:
      button = TInputButton::Middle;
      break;
    case Button3:
      button = TInputButton::Right;
      break;
    default:
      return false;  // sideways scrolling and extra buttons: the platform profile has none
  }
  // A click on a native child window reaches it through its top-level window.
  if (event.subwindow) {
    TX11Child* child = FindChildByXid(event.subwindow);
    if (child && child->TopLevel == w->Wnd) {
      TNativeChildEvent e;
      e.Kind = down ? TNativeChildEvent::TKind::ButtonDown : TNativeChildEvent::TKind::ButtonUp;
      e.Button = button;
      e.Point = {event.x - child->Bounds.Left, event.y - child->Bounds.Top};
      NotifyChild(*child, e);
    }
  }
  WinInputMouseButton(button, down, screen);
  return true;
}

bool TX11Backend::OnKey(XKeyEvent& event) {
  const bool down = event.type == KeyPress;
  TX11Window* w = FindByXid(event.window);
  if (!w) return false;

  KeySym keysym = NoSymbol;
  String text;
  if (down && w->Ic) {
    char buffer[64];
    Status status = 0;
    int length = Xutf8LookupString(w->Ic, &event, buffer, sizeof(buffer), &keysym, &status);
    if (status == XBufferOverflow) {
      std::vector<char> big(size_t(length) + 1);
      length = Xutf8LookupString(w->Ic, &event, big.data(), int(big.size()), &keysym, &status);
      text.assign(big.data(), size_t(std::max(length, 0)));
    } else {
      text.assign(buffer, size_t(std::max(length, 0)));
    }
    if (status != XLookupChars && status != XLookupBoth) text.clear();
    if (status != XLookupKeySym && status != XLookupBoth) keysym = NoSymbol;
  } else {
    char buffer[64];
    int length = XLookupString(&event, buffer, sizeof(buffer), &keysym, nullptr);
    if (down) text = latin1ToUtf8(buffer, length);
  }

  // The virtual key names the key, not what the modifiers make of it: the first level of the active
  // group (then of the first group); the keypad follows NumLock.
  TX11Key key;
  if (keysym != NoSymbol && X11IsKeypadKeysym(keysym)) key = X11KeysymToKey(keysym);
  if (!key.Vk) {
    unsigned int group = (event.state >> 13) & 3;
    key = X11KeysymToKey(XkbKeycodeToKeysym(FDisplay, KeyCode(event.keycode), int(group), 0));
  }
  if (!key.Vk) key = X11KeysymToKey(XkbKeycodeToKeysym(FDisplay, KeyCode(event.keycode), 0, 0));
  if (!key.Vk && keysym != NoSymbol) key = X11KeysymToKey(keysym);

  if (!down) {
    if (!key.Vk) return false;
    FKeysDown.erase(key.Vk);
    WinInputKey(key.Vk, false, 0, key.Extended);
    return true;
  }
  std::vector<DWORD> chars = X11KeyCharacters(text.data(), int(text.size()), keysym, key.Vk);
  size_t next = 0;
  bool delivered = false;
  if (key.Vk) {
    FKeysDown.insert(key.Vk);
    WinInputKey(key.Vk, true, chars.empty() ? 0 : chars[0], key.Extended);
    next = 1;
    delivered = true;
  }
  for (; next < chars.size(); ++next) {
    WinInputKey(kVkPacket, true, chars[next]);
    WinInputKey(kVkPacket, false, 0);
    delivered = true;
  }
  return delivered;
}

void TX11Backend::ReleaseHeldKeys() {
  std::set<Word> held;
  held.swap(FKeysDown);
  for (Word vk : held) WinInputKey(vk, false, 0);
}

bool TX11Backend::OnExpose(const XExposeEvent& event) {
  TRect area = Bounds(event.x, event.y, event.width, event.height);
  if (TX11Child* child = FindChildByXid(event.window)) {
    TNativeChildEvent e;
    e.Kind = TNativeChildEvent::TKind::Paint;
    e.Area = area;
    const HWND wnd = child->Wnd;
    NotifyChild(*child, e);
    WinNativeChildExpose(wnd, area);
    return true;
  }
  TX11Window* w = FindByXid(event.window);
  if (!w) return false;
  w->ExposeArea = w->ExposePending ? unite(w->ExposeArea, area) : area;
  w->ExposePending = true;
  if (event.count > 0) return false;  // more of the same series follow
  w->ExposePending = false;
  // The surface already holds the picture: show it at once, then let the layer repaint what it owes.
  Present(*w, WinWindowSurface(w->Wnd), w->ExposeArea);
  WinNativeExpose(w->Wnd, w->ExposeArea);
  return true;
}

bool TX11Backend::OnConfigure(TX11Window& w, const XConfigureEvent& event) {
  // Generated before our latest geometry request was carried out: that request's own event follows.
  if (event.serial < w.ConfigureSerial) return false;
  int x = event.x, y = event.y;
  if (!event.send_event && w.Reparented) {
    // Real events of a framed window are relative to the frame; the root position is asked for.
    Window child = 0;
    XTranslateCoordinates(FDisplay, w.Xid, FRoot, 0, 0, &x, &y, &child);
  }
  TRect bounds = Bounds(x, y, event.width, event.height);
  // X windows are at least 1 x 1; the layer's may be empty.
  if (event.width == 1 && w.Bounds.Width() <= 0) bounds.Right = bounds.Left + w.Bounds.Width();
  if (event.height == 1 && w.Bounds.Height() <= 0) bounds.Bottom = bounds.Top + w.Bounds.Height();
  if (bounds == w.Bounds) return false;
  w.Bounds = bounds;
  WinNativeConfigure(w.Wnd, bounds);
  return true;
}

bool TX11Backend::OnMapChange(TX11Window& w, bool mapped) {
  if (mapped) {
    if (!w.Iconified) return false;
    // Restored by the window manager (the taskbar): the platform asks the window to restore.
    w.Iconified = false;
    if (IsIconic(w.Wnd)) PostMessage(w.Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    return true;
  }
  if (!w.WantMapped || w.Iconified || w.OverrideRedirect) return false;
  // Unmapped behind our back: minimized by the window manager only when it says so (a virtual
  // desktop switch unmaps too).
  Atom wmState = XInternAtom(FDisplay, "WM_STATE", True);
  if (wmState == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool iconic = false;
  if (XGetWindowProperty(FDisplay, w.Xid, wmState, 0, 2, False, wmState, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    iconic = format == 32 && count >= 1 && reinterpret_cast<long*>(data)[0] == IconicState;
    XFree(data);
  }
  if (!iconic) return false;
  w.Iconified = true;
  if (!IsIconic(w.Wnd)) PostMessage(w.Wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  return true;
}
