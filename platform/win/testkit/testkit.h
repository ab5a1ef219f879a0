// Test kit for code built on the windowing layer: input injected through the real routing, a fake
// clock that fires timers, message spies, painting a window into a bitmap, and scripted modal loops.
// Runs on the headless backend.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/clock.h"
#include "platform/win/backend.h"
#include "platform/win/backends/headless/headless.h"
#include "platform/win/win.h"

namespace wintest {

// Installs a fresh headless backend and a fake clock (at 1,000,000 ms) for one test, and on
// destruction destroys the windows left, resets the layer and uninstalls the clock.
class TWinTestEnvironment {
 public:
  TWinTestEnvironment();
  ~TWinTestEnvironment();
  TWinTestEnvironment(const TWinTestEnvironment&) = delete;
  TWinTestEnvironment& operator=(const TWinTestEnvironment&) = delete;

  TFakeClock& Clock() { return FClock; }
  THeadlessBackend& Backend();

 private:
  TFakeClock FClock{1000000};
};

// ---- input (each injects, then handles messages until the queue is empty; inside a scripted
// modal loop action it only injects) ----
void MouseMove(TPoint screen);
void MouseDown(TPoint screen, TInputButton button = TInputButton::Left);
void MouseUp(TPoint screen, TInputButton button = TInputButton::Left);
void Click(TPoint screen, TInputButton button = TInputButton::Left);  // down and up
void MouseWheel(Integer delta, TPoint screen);
void KeyDown(Word vk, DWORD character = 0);
void KeyUp(Word vk);
// Down and up; the character defaults to the key's own for letters, digits, space and Enter. With alt
// the key is pressed while Alt is held.
void KeyPress(Word vk, DWORD character = 0, bool alt = false);
// The client point of a window in screen coordinates.
TPoint ScreenPoint(HWND wnd, Integer clientX, Integer clientY);
// Moves the cursor without producing input.
void SetCursorPosition(TPoint screen);
// Handles every message that is waiting (WinProcessMessages).
void Pump();

// ---- time ----
// Moves the fake clock on by ms in steps, stopping at each timer due on the way and handling the
// messages (WM_TIMER) at that moment, so timers fire as often and in the order they would.
void AdvanceTime(TFakeClock& clock, UInt64 ms);

// ---- message spies ----
struct TSpiedMessage {
  HWND Wnd = nullptr;
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  friend bool operator==(const TSpiedMessage&, const TSpiedMessage&) = default;
};

// Records every message delivered to the watched windows (all windows when none is given), in order.
class TMessageSpy {
 public:
  explicit TMessageSpy(std::vector<HWND> windows = {});
  ~TMessageSpy();
  TMessageSpy(const TMessageSpy&) = delete;
  TMessageSpy& operator=(const TMessageSpy&) = delete;

  const std::vector<TSpiedMessage>& Messages() const { return FMessages; }
  void Clear() { FMessages.clear(); }
  // The messages among those of `only` (or all), in order, as (window, message) pairs.
  std::vector<std::pair<HWND, UINT>> Sequence(const std::vector<UINT>& only = {}) const;
  // The message numbers of one window, in order, restricted to `only` when given.
  std::vector<UINT> MessagesOf(HWND wnd, const std::vector<UINT>& only = {}) const;
  Integer Count(HWND wnd, UINT msg) const;
  // Index of the first matching record at or after `from`, -1 when there is none.
  Integer IndexOf(HWND wnd, UINT msg, Integer from = 0) const;
  const TSpiedMessage* First(HWND wnd, UINT msg) const;
  const TSpiedMessage* Last(HWND wnd, UINT msg) const;

 private:
  std::vector<HWND> FWindows;
  std::vector<TSpiedMessage> FMessages;
  Integer FHook = 0;
};

// ---- painting ----
// Repaints the window with its children at once (RedrawWindow with RDW_INVALIDATE, RDW_ERASE,
// RDW_FRAME, RDW_ALLCHILDREN and RDW_UPDATENOW) and copies its whole rectangle, frame included, from
// its top-level window's surface into a new 32-bit top-down DIB section (the caller deletes it).
// Null for a window that is not visible.
HBITMAP PaintWindowToBitmap(HWND wnd);
// The colour of one pixel of such a bitmap.
COLORREF BitmapPixel(HBITMAP bitmap, Integer x, Integer y);

// ---- modal loops ----
// Runs action once, when the next modal loop of the layer starts (inside the loop, before it waits).
// Input injected by the action is queued without being handled here: the loop takes it.
void OnNextModalLoop(std::function<void()> action);
// The same for each of the next modal loops in turn.
void OnNextModalLoops(std::vector<std::function<void()>> actions);

}  // namespace wintest
