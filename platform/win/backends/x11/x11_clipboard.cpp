// The CLIPBOARD selection: we own it with UTF-8 text after a copy and answer other programs'
// requests (TARGETS, UTF8_STRING, STRING, TEXT); we read another owner's text as UTF8_STRING,
// following the incremental protocol for large transfers.
// clang-format off
#include "platform/win/backends/x11/x11_internal.h"

#include <poll.h>

#include <chrono>

#include <X11/Xatom.h>
// clang-format on

namespace {

constexpr int kConvertTimeoutMs = 2000;

int remainingMs(std::chrono::steady_clock::time_point deadline) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? int(left.count()) : 0;
}

// Latin-1 for STRING requests: what cannot be said in it becomes '?'.
String utf8ToLatin1(const String& text) {
  String out;
  for (size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    char32_t cp = c;
    size_t n = 1;
    if (c >= 0xC0 && c < 0xE0 && i + 1 < text.size()) {
      cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
      n = 2;
    } else if (c >= 0xE0) {
      cp = 0x100;
      n = c >= 0xF0 ? 4 : 3;
    }
    out += cp < 0x100 ? char(cp) : '?';
    i += n;
  }
  return out;
}

}  // namespace

void TX11Backend::InitClipboard() {
  const char* names[] = {"CLIPBOARD", "TARGETS", "INCR", "NERIVO_CLIPBOARD", "TEXT", "MULTIPLE", "TIMESTAMP"};
  Atom values[7];
  XInternAtoms(FDisplay, const_cast<char**>(names), 7, False, values);
  FClipAtoms = {values[0], values[1], values[2], values[3], values[4], values[5], values[6]};
  XSetWindowAttributes attrs{};
  attrs.event_mask = PropertyChangeMask;
  FClipWindow =
      XCreateWindow(FDisplay, FRoot, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &attrs);
}

void TX11Backend::FreeClipboard() {
  if (FClipWindow) XDestroyWindow(FDisplay, FClipWindow);
  FClipWindow = 0;
}

bool TX11Backend::SetNativeClipboardText(const String& text) {
  if (!FClipWindow) return false;
  FClipText = text;
  XSetSelectionOwner(FDisplay, FClipAtoms.Clipboard, FClipWindow, CurrentTime);
  FClipOwned = XGetSelectionOwner(FDisplay, FClipAtoms.Clipboard) == FClipWindow;
  XFlush(FDisplay);
  return FClipOwned;
}

bool TX11Backend::OnSelectionRequest(const XSelectionRequestEvent& request) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = request.display;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  // Old clients name no property: the target is the property then.
  Atom property = request.property != 0 ? request.property : request.target;
  reply.property = 0;
  if (FClipOwned && request.selection == FClipAtoms.Clipboard && request.owner == FClipWindow) {
    // One request carries what the server takes in one go; larger texts are refused rather than cut.
    const size_t limit =
        size_t(std::max(XExtendedMaxRequestSize(FDisplay), XMaxRequestSize(FDisplay))) * 4 - 256;
    if (request.target == FClipAtoms.Targets) {
      Atom targets[] = {FClipAtoms.Targets, FAtoms.Utf8String, XA_STRING, FClipAtoms.Text};
      XChangeProperty(FDisplay, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(targets), 4);
      reply.property = property;
    } else if (request.target == FAtoms.Utf8String || request.target == FClipAtoms.Text ||
               request.target == XA_STRING) {
      String data = request.target == XA_STRING ? utf8ToLatin1(FClipText) : FClipText;
      if (data.size() <= limit) {
        Atom type = request.target == XA_STRING ? XA_STRING : FAtoms.Utf8String;
        XChangeProperty(FDisplay, request.requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
        reply.property = property;
      }
    }
  }
  XSendEvent(FDisplay, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(FDisplay);
  return false;
}

bool TX11Backend::OnSelectionClear(const XSelectionClearEvent& clear) {
  if (clear.window != FClipWindow || clear.selection != FClipAtoms.Clipboard) return false;
  FClipOwned = false;
  FClipText.clear();
  WinNativeClipboardLost();
  return false;
}

bool TX11Backend::WaitForSelectionNotify(XEvent* event, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (XCheckTypedWindowEvent(FDisplay, FClipWindow, SelectionNotify, event)) return true;
    int left = remainingMs(deadline);
    if (left == 0) return false;
    pollfd fd{ConnectionNumber(FDisplay), POLLIN, 0};
    poll(&fd, 1, std::min(left, 50));
    XEventsQueued(FDisplay, QueuedAfterReading);
  }
}

bool TX11Backend::WaitForNewProperty(Atom property, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  XEvent event;
  for (;;) {
    while (XCheckTypedWindowEvent(FDisplay, FClipWindow, PropertyNotify, &event)) {
      if (event.xproperty.atom == property && event.xproperty.state == PropertyNewValue) return true;
    }
    int left = remainingMs(deadline);
    if (left == 0) return false;
    pollfd fd{ConnectionNumber(FDisplay), POLLIN, 0};
    poll(&fd, 1, std::min(left, 50));
    XEventsQueued(FDisplay, QueuedAfterReading);
  }
}

// The incremental protocol: deleting the property asks for the next piece; an empty piece ends it.
bool TX11Backend::ReadIncremental(Atom property, String* text) {
  String out;
  for (;;) {
    if (!WaitForNewProperty(property, kConvertTimeoutMs)) return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(FDisplay, FClipWindow, property, 0, 0x7FFFFFFF, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) != Success)
      return false;
    size_t bytes = format == 8 ? count : 0;
    if (data) {
      out.append(reinterpret_cast<char*>(data), bytes);
      XFree(data);
    }
    XFlush(FDisplay);
    if (count == 0) break;
  }
  *text = std::move(out);
  return true;
}

TWindowBackend::TNativeClipboard TX11Backend::GetNativeClipboardText(String* text) {
  if (!FClipWindow) return TNativeClipboard::Ours;
  Window owner = XGetSelectionOwner(FDisplay, FClipAtoms.Clipboard);
  if (owner == FClipWindow) return TNativeClipboard::Ours;
  if (owner == 0) return TNativeClipboard::NoText;
  XDeleteProperty(FDisplay, FClipWindow, FClipAtoms.Property);
  XConvertSelection(FDisplay, FClipAtoms.Clipboard, FAtoms.Utf8String, FClipAtoms.Property, FClipWindow,
                    CurrentTime);
  XFlush(FDisplay);
  XEvent event;
  if (!WaitForSelectionNotify(&event, kConvertTimeoutMs) || event.xselection.property == 0)
    return TNativeClipboard::NoText;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(FDisplay, FClipWindow, FClipAtoms.Property, 0, 0x7FFFFFFF, False, AnyPropertyType,
                         &type, &format, &count, &after, &data) != Success)
    return TNativeClipboard::NoText;
  String result;
  if (data && format == 8) result.assign(reinterpret_cast<char*>(data), count);
  if (data) XFree(data);
  if (type == FClipAtoms.Incr) {
    // Deleting the property starts the transfer.
    XDeleteProperty(FDisplay, FClipWindow, FClipAtoms.Property);
    XFlush(FDisplay);
    if (!ReadIncremental(FClipAtoms.Property, &result)) return TNativeClipboard::NoText;
  } else {
    XDeleteProperty(FDisplay, FClipWindow, FClipAtoms.Property);
    if (type != FAtoms.Utf8String && type != XA_STRING) return TNativeClipboard::NoText;
  }
  if (text) *text = std::move(result);
  return TNativeClipboard::Text;
}
