#include "platform/win/testkit/testkit.h"

#include <algorithm>
#include <deque>

#include "platform/win/window_internal.h"

namespace wintest {

TWinTestEnvironment::TWinTestEnvironment() {
  WinResetForTests();
  WinSetBackend(CreateHeadlessBackend());
  FClock.Install();
}

TWinTestEnvironment::~TWinTestEnvironment() {
  WinResetForTests();
  FClock.Uninstall();
}

THeadlessBackend& TWinTestEnvironment::Backend() {
  return *HeadlessBackend();
}

namespace {
// While a scripted modal loop action runs, injected input is only queued: the loop takes it.
Integer scriptDepth = 0;
}  // namespace

// ---- input ----
void Pump() {
  if (scriptDepth == 0) WinProcessMessages();
}

void MouseMove(TPoint screen) {
  if (THeadlessBackend* b = HeadlessBackend()) b->SetNativeCursorPos(screen);
  WinInputMouseMove(screen);
  Pump();
}

void MouseDown(TPoint screen, TInputButton button) {
  WinInputMouseButton(button, true, screen);
  Pump();
}

void MouseUp(TPoint screen, TInputButton button) {
  WinInputMouseButton(button, false, screen);
  Pump();
}

void Click(TPoint screen, TInputButton button) {
  MouseDown(screen, button);
  MouseUp(screen, button);
}

void MouseWheel(Integer delta, TPoint screen) {
  WinInputMouseWheel(delta, screen);
  Pump();
}

void KeyDown(Word vk, DWORD character) {
  WinInputKey(vk, true, character);
  Pump();
}

void KeyUp(Word vk) {
  WinInputKey(vk, false, 0);
  Pump();
}

void KeyPress(Word vk, DWORD character, bool alt) {
  if (alt) KeyDown(VK_MENU);
  KeyDown(vk, character);
  KeyUp(vk);
  if (alt) KeyUp(VK_MENU);
}

TPoint ScreenPoint(HWND wnd, Integer clientX, Integer clientY) {
  TPoint p{clientX, clientY};
  ClientToScreen(wnd, &p);
  return p;
}

void SetCursorPosition(TPoint screen) {
  if (THeadlessBackend* b = HeadlessBackend()) b->SetNativeCursorPos(screen);
  WS().CursorPos = screen;
}

// ---- time ----
void AdvanceTime(TFakeClock& clock, UInt64 ms) {
  UInt64 end = clock.TickCount64() + ms;
  Pump();
  for (;;) {
    UInt64 now = clock.TickCount64();
    UInt64 next = end;
    for (const TTimerEntry& t : WS().Timers) next = std::min(next, std::max(t.Due, now));
    if (next > now) clock.SetTicks(next);
    Pump();
    if (next >= end) break;
  }
}

// ---- spies ----
TMessageSpy::TMessageSpy(std::vector<HWND> windows) : FWindows(std::move(windows)) {
  FHook = WinAddCallWndProcHook([this](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (!FWindows.empty() && std::find(FWindows.begin(), FWindows.end(), w) == FWindows.end()) return;
    FMessages.push_back({w, msg, wp, lp});
  });
}

TMessageSpy::~TMessageSpy() {
  WinRemoveCallWndProcHook(FHook);
}

std::vector<std::pair<HWND, UINT>> TMessageSpy::Sequence(const std::vector<UINT>& only) const {
  std::vector<std::pair<HWND, UINT>> r;
  for (const auto& m : FMessages) {
    if (only.empty() || std::find(only.begin(), only.end(), m.Msg) != only.end())
      r.emplace_back(m.Wnd, m.Msg);
  }
  return r;
}

std::vector<UINT> TMessageSpy::MessagesOf(HWND wnd, const std::vector<UINT>& only) const {
  std::vector<UINT> r;
  for (const auto& m : FMessages) {
    if (m.Wnd != wnd) continue;
    if (only.empty() || std::find(only.begin(), only.end(), m.Msg) != only.end()) r.push_back(m.Msg);
  }
  return r;
}

Integer TMessageSpy::Count(HWND wnd, UINT msg) const {
  return Integer(std::count_if(FMessages.begin(), FMessages.end(),
                               [&](const TSpiedMessage& m) { return m.Wnd == wnd && m.Msg == msg; }));
}

Integer TMessageSpy::IndexOf(HWND wnd, UINT msg, Integer from) const {
  for (size_t i = size_t(std::max(0, from)); i < FMessages.size(); ++i) {
    if (FMessages[i].Wnd == wnd && FMessages[i].Msg == msg) return Integer(i);
  }
  return -1;
}

const TSpiedMessage* TMessageSpy::First(HWND wnd, UINT msg) const {
  Integer i = IndexOf(wnd, msg);
  return i < 0 ? nullptr : &FMessages[size_t(i)];
}

const TSpiedMessage* TMessageSpy::Last(HWND wnd, UINT msg) const {
  for (auto it = FMessages.rbegin(); it != FMessages.rend(); ++it) {
    if (it->Wnd == wnd && it->Msg == msg) return &*it;
  }
  return nullptr;
}

// ---- painting ----
HBITMAP PaintWindowToBitmap(HWND wnd) {
  if (!IsWindowVisible(wnd)) return nullptr;
  RedrawWindow(wnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HBITMAP surface = WinWindowSurface(wnd);
  if (!surface) return nullptr;
  TRect r = WindowRectInRoot(wnd);
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = std::max(1, r.Width());
  bi.bmiHeader.biHeight = -std::max(1, r.Height());
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP out = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!out) return nullptr;
  HDC from = GdiCreateSurfaceDC(surface, {0, 0}, nullptr);
  HDC to = GdiCreateSurfaceDC(out, {0, 0}, nullptr);
  BitBlt(to, 0, 0, r.Width(), r.Height(), from, r.Left, r.Top, SRCCOPY);
  DeleteDC(from);
  DeleteDC(to);
  return out;
}

COLORREF BitmapPixel(HBITMAP bitmap, Integer x, Integer y) {
  HDC dc = GdiCreateSurfaceDC(bitmap, {0, 0}, nullptr);
  COLORREF c = GetPixel(dc, x, y);
  DeleteDC(dc);
  return c;
}

// ---- modal loops ----
namespace {

std::deque<std::function<void()>>& modalActions() {
  static std::deque<std::function<void()>> q;
  return q;
}

void installModalHook() {
  SetModalLoopHook([](HWND) {
    auto& q = modalActions();
    if (q.empty()) return;
    std::function<void()> action = std::move(q.front());
    q.pop_front();
    ++scriptDepth;
    struct TLeave {
      ~TLeave() { --scriptDepth; }
    } leave;
    action();
  });
}

}  // namespace

void OnNextModalLoop(std::function<void()> action) {
  modalActions().clear();
  modalActions().push_back(std::move(action));
  installModalHook();
}

void OnNextModalLoops(std::vector<std::function<void()>> actions) {
  modalActions().clear();
  for (auto& a : actions) modalActions().push_back(std::move(a));
  installModalHook();
}

}  // namespace wintest
