// The window layer's test kit behind the control framework's test support (see testinput.h).
#include "platform/ui/testinput.h"

#include "platform/win/testkit/testkit.h"

namespace uitest {

struct TEnvironment::TImpl {
  wintest::TWinTestEnvironment Env;
};

TEnvironment::TEnvironment() : FImpl(std::make_unique<TImpl>()) {}
TEnvironment::~TEnvironment() = default;
TFakeClock& TEnvironment::Clock() {
  return FImpl->Env.Clock();
}

namespace {
::TInputButton button(TButton B) {
  switch (B) {
    case Right:
      return ::TInputButton::Right;
    case Middle:
      return ::TInputButton::Middle;
    default:
      return ::TInputButton::Left;
  }
}
}  // namespace

void MouseMove(TPoint Screen) {
  wintest::MouseMove(Screen);
}
void MouseDown(TPoint Screen, TButton Button) {
  wintest::MouseDown(Screen, button(Button));
}
void MouseUp(TPoint Screen, TButton Button) {
  wintest::MouseUp(Screen, button(Button));
}
void Click(TPoint Screen, TButton Button) {
  wintest::Click(Screen, button(Button));
}
void KeyDown(Word VK, DWORD Character) {
  wintest::KeyDown(VK, Character);
}
void KeyUp(Word VK) {
  wintest::KeyUp(VK);
}
void KeyPress(Word VK, DWORD Character) {
  wintest::KeyPress(VK, Character);
}
void Pump() {
  wintest::Pump();
}
void AdvanceTime(TFakeClock& Clock, UInt64 Ms) {
  wintest::AdvanceTime(Clock, Ms);
}
TPoint ScreenPoint(HWND Wnd, Integer ClientX, Integer ClientY) {
  return wintest::ScreenPoint(Wnd, ClientX, ClientY);
}
void OnNextModalLoop(std::function<void()> Action) {
  wintest::OnNextModalLoop(std::move(Action));
}

struct TSpy::TImpl {
  explicit TImpl(std::vector<HWND> Windows) : Spy(std::move(Windows)) {}
  wintest::TMessageSpy Spy;
};

TSpy::TSpy(std::vector<HWND> Windows) : FImpl(std::make_unique<TImpl>(std::move(Windows))) {}
TSpy::~TSpy() = default;
std::vector<std::pair<HWND, UINT>> TSpy::Sequence(const std::vector<UINT>& Only) const {
  return FImpl->Spy.Sequence(Only);
}
Integer TSpy::Count(HWND Wnd, UINT Msg) const {
  return FImpl->Spy.Count(Wnd, Msg);
}
void TSpy::Clear() {
  FImpl->Spy.Clear();
}

COLORREF PaintedPixel(HWND Wnd, Integer X, Integer Y) {
  HBITMAP B = wintest::PaintWindowToBitmap(Wnd);
  if (B == nullptr) return CLR_INVALID;
  COLORREF C = wintest::BitmapPixel(B, X, Y);
  DeleteObject(B);
  return C;
}

}  // namespace uitest
