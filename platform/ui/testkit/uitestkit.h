// Test support for code built on the control framework: a test case with its own window layer, clock,
// screen and application object, and controls that record the messages they handle. Input, message
// spies and scripted modal loops come straight from the window layer's kit (wintest).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/ui/core/application.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/hintwindow.h"
#include "platform/win/testkit/testkit.h"

// Each test gets a fresh headless window layer, a fake clock, a new Screen and a new Application; the
// forms it makes are owned by that application and go with it. The application's message box answers OK
// without showing a window (SavedMessageBox holds the one in force before, the real box by default); the
// hint window class and the message box function are restored afterwards. A fixture that overrides
// SetUp/TearDown calls these first/last.
class TUiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TFakeClock& Clock() { return Env.Clock(); }

  // A form shown at a known place.
  template <class T = TForm>
  T* NewForm(TRect Bounds = Rect(100, 100, 500, 400)) {
    T* F;
    Application->CreateForm(F);
    F->SetBoundsRect(Bounds);
    F->Show();
    return F;
  }

  // A control owned by Owner (by Parent when null), placed at Bounds on Parent.
  template <class T>
  static T* NewControl(TWinControl* Parent, TRect Bounds, TComponent* Owner = nullptr) {
    T* C = new T(Owner ? Owner : Parent);
    C->SetBoundsRect(Bounds);
    C->SetParent(Parent);
    return C;
  }

  // The colour of a pixel of a window painted with its children (window coordinates, frame included);
  // CLR_INVALID for a window that is not visible.
  static COLORREF PaintedPixel(HWND Wnd, Integer X, Integer Y);

  wintest::TWinTestEnvironment Env;
  THintWindowClass SavedHintWindowClass;
  TMessageBoxFunction SavedMessageBox;
};

// A windowed control that records the messages it handles; OnDialogKey may take a dialog key by
// setting the message's result.
class TRecordingControl : public TCustomControl {
 public:
  explicit TRecordingControl(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  std::vector<TMessage> Messages;
  Integer CountOf(Cardinal Msg) const {
    Integer N = 0;
    for (auto& M : Messages) N += M.Msg == Msg;
    return N;
  }
  std::function<void(TMessage&)> OnDialogKey;

 protected:
  void WndProc(TMessage& Message) override {
    Messages.push_back(Message);
    TCustomControl::WndProc(Message);
  }
  void CMDialogKey(TMessage& Message) override {
    if (OnDialogKey) OnDialogKey(Message);
    if (Message.Result == 0) TCustomControl::CMDialogKey(Message);
  }
};

// A pixel that stands out from the plain background Back: text or line ink.
bool IsInk(COLORREF C, COLORREF Back);

// The bounding box of the ink that Pixel(x, y) shows inside R.
template <class F>
TRect InkBox(const TRect& R, COLORREF Back, F Pixel) {
  TRect Box = Rect(R.Right, R.Bottom, R.Left, R.Top);
  for (Integer y = R.Top; y < R.Bottom; ++y)
    for (Integer x = R.Left; x < R.Right; ++x)
      if (IsInk(Pixel(x, y), Back)) {
        Box.Left = std::min(Box.Left, x);
        Box.Top = std::min(Box.Top, y);
        Box.Right = std::max(Box.Right, x + 1);
        Box.Bottom = std::max(Box.Bottom, y + 1);
      }
  return Box;
}

// A windowless control that records the messages it handles and paints itself in one colour.
class TRecordingGraphic : public TGraphicControl {
 public:
  explicit TRecordingGraphic(TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::vector<Cardinal> Messages;
  TColor PaintColor = clRed;

 protected:
  void WndProc(TMessage& Message) override {
    Messages.push_back(Message.Msg);
    TGraphicControl::WndProc(Message);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }
};
