// Test support for the control framework: the window layer's test kit, reached through functions
// that do not expose its input-button type (which shares its name with the class library's
// TMouseButton).
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/rtl/clock.h"
#include "platform/win/win.h"

namespace uitest {

// A fresh headless window layer and a fake clock for one test.
class TEnvironment {
 public:
  TEnvironment();
  ~TEnvironment();
  TFakeClock& Clock();

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

enum TButton { Left, Right, Middle };
void MouseMove(TPoint Screen);
void MouseDown(TPoint Screen, TButton Button = Left);
void MouseUp(TPoint Screen, TButton Button = Left);
void Click(TPoint Screen, TButton Button = Left);
void KeyDown(Word VK, DWORD Character = 0);
void KeyUp(Word VK);
void KeyPress(Word VK, DWORD Character = 0);
void Pump();
void AdvanceTime(TFakeClock& Clock, UInt64 Ms);
TPoint ScreenPoint(HWND Wnd, Integer ClientX, Integer ClientY);
void OnNextModalLoop(std::function<void()> Action);

// Records the messages delivered to the given windows (all when none is given), in order.
class TSpy {
 public:
  explicit TSpy(std::vector<HWND> Windows = {});
  ~TSpy();
  std::vector<std::pair<HWND, UINT>> Sequence(const std::vector<UINT>& Only) const;
  Integer Count(HWND Wnd, UINT Msg) const;
  void Clear();

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

// The colour of a pixel of a window painted with its children (window coordinates).
COLORREF PaintedPixel(HWND Wnd, Integer X, Integer Y);

}  // namespace uitest
