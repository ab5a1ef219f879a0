// clang-format off
#include "platform/win/backends/x11/testkit/xclipboard.h"

#include <poll.h>

#include <chrono>

// Last: Xlib's macros (None, Bool, Status, ...) must not reach the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
// clang-format on

namespace x11test {

namespace {
Display* dpy(void* D) {
  return static_cast<Display*>(D);
}
Atom atom(Display* D, const char* Name) {
  return XInternAtom(D, Name, False);
}
}  // namespace

TClipboardClient::TClipboardClient(const String& displayName) {
  Display* D = XOpenDisplay(displayName.c_str());
  if (!D) return;
  FDisplay = D;
  FWindow = XCreateSimpleWindow(D, DefaultRootWindow(D), 0, 0, 1, 1, 0, 0, 0);
  XSelectInput(D, FWindow, PropertyChangeMask);
  XFlush(D);
}

TClipboardClient::~TClipboardClient() {
  stopServing();
  if (FDisplay) {
    XDestroyWindow(dpy(FDisplay), FWindow);
    XCloseDisplay(dpy(FDisplay));
  }
}

void TClipboardClient::stopServing() {
  FStop = true;
  if (FServer.joinable()) FServer.join();
  FStop = false;
}

bool TClipboardClient::Own(const String& Text) {
  if (!FDisplay) return false;
  stopServing();
  Display* D = dpy(FDisplay);
  FText = Text;
  XSetSelectionOwner(D, atom(D, "CLIPBOARD"), FWindow, CurrentTime);
  FOwns = XGetSelectionOwner(D, atom(D, "CLIPBOARD")) == FWindow;
  XFlush(D);
  if (FOwns) FServer = std::thread([this] { serve(); });
  return FOwns;
}

void TClipboardClient::serve() {
  Display* D = dpy(FDisplay);
  const Atom Clipboard = atom(D, "CLIPBOARD"), Targets = atom(D, "TARGETS"), Utf8 = atom(D, "UTF8_STRING");
  while (!FStop && FOwns) {
    pollfd P{ConnectionNumber(D), POLLIN, 0};
    poll(&P, 1, 20);
    while (XPending(D)) {
      XEvent E;
      XNextEvent(D, &E);
      if (E.type == SelectionClear && E.xselectionclear.selection == Clipboard) {
        FOwns = false;
      } else if (E.type == SelectionRequest) {
        const XSelectionRequestEvent& R = E.xselectionrequest;
        XSelectionEvent Reply{};
        Reply.type = SelectionNotify;
        Reply.requestor = R.requestor;
        Reply.selection = R.selection;
        Reply.target = R.target;
        Reply.time = R.time;
        Reply.property = 0;
        if (R.target == Targets) {
          Atom List[] = {Targets, Utf8};
          XChangeProperty(D, R.requestor, R.property, XA_ATOM, 32, PropModeReplace,
                          reinterpret_cast<unsigned char*>(List), 2);
          Reply.property = R.property;
        } else if (R.target == Utf8) {
          XChangeProperty(D, R.requestor, R.property, Utf8, 8, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(FText.data()), int(FText.size()));
          Reply.property = R.property;
        }
        XSendEvent(D, R.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&Reply));
        XFlush(D);
      }
    }
  }
}

std::optional<String> TClipboardClient::Read(int TimeoutMs) {
  if (!FDisplay) return std::nullopt;
  stopServing();
  Display* D = dpy(FDisplay);
  const Atom Property = atom(D, "XCLIPBOARD_TEST");
  XConvertSelection(D, atom(D, "CLIPBOARD"), atom(D, "UTF8_STRING"), Property, FWindow, CurrentTime);
  XFlush(D);
  auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  XEvent E;
  while (!XCheckTypedWindowEvent(D, FWindow, SelectionNotify, &E)) {
    if (std::chrono::steady_clock::now() > Deadline) return std::nullopt;
    pollfd P{ConnectionNumber(D), POLLIN, 0};
    poll(&P, 1, 20);
  }
  if (E.xselection.property == 0) return std::nullopt;
  Atom Type = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  if (XGetWindowProperty(D, FWindow, Property, 0, 0x7FFFFFFF, True, AnyPropertyType, &Type, &Format, &Count,
                         &After, &Data) != Success)
    return std::nullopt;
  String Text(reinterpret_cast<char*>(Data), Count);
  if (Data) XFree(Data);
  return Text;
}

}  // namespace x11test
