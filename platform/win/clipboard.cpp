// The text clipboard: our own copy, and the desktop's through the backend.
#include "platform/win/window_internal.h"

namespace {

struct TClipboardState {
  String Text;
  bool HasText = false;
};

TClipboardState& board() {
  static TClipboardState b;
  return b;
}

}  // namespace

bool WinSetClipboardText(const String& text) {
  TClipboardState& b = board();
  b.Text = text;
  b.HasText = true;
  Backend().SetNativeClipboardText(text);
  return true;
}

bool WinGetClipboardText(String* text) {
  String native;
  switch (Backend().GetNativeClipboardText(&native)) {
    case TWindowBackend::TNativeClipboard::Text:
      if (text) *text = std::move(native);
      return true;
    case TWindowBackend::TNativeClipboard::NoText:
      return false;
    case TWindowBackend::TNativeClipboard::Ours:
      break;
  }
  const TClipboardState& b = board();
  if (!b.HasText) return false;
  if (text) *text = b.Text;
  return true;
}

bool WinClipboardHasText() {
  String text;
  return WinGetClipboardText(&text) && !text.empty();
}

void WinEmptyClipboard() {
  board() = TClipboardState();
  Backend().SetNativeClipboardText(String());
}

void WinNativeClipboardLost() {
  board() = TClipboardState();
}
