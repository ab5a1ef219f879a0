// A test case for the standard controls: the fixture of the control framework with the deterministic
// test font (13-pixel lines, 7-pixel advance at the default size), and a person's actions on controls.
#pragma once

#include "platform/gdi/font.h"
#include "platform/ui/testkit/uitestkit.h"

class TStdControlsTest : public TUiTest {
 protected:
  void SetUp() override {
    TUiTest::SetUp();
    SetTestFontMode(true);
  }
  void TearDown() override {
    SetTestFontMode(false);
    TUiTest::TearDown();
  }

 public:
  // The screen point at a client point of a windowed control, or of a windowless one's parent.
  static TPoint At(TControl* C, Integer X, Integer Y) {
    if (auto* W = dynamic_cast<TWinControl*>(C)) return wintest::ScreenPoint(W->Handle(), X, Y);
    return wintest::ScreenPoint(C->Parent()->Handle(), C->Left() + X, C->Top() + Y);
  }
  static TPoint Middle(TControl* C) { return At(C, C->Width() / 2, C->Height() / 2); }
  // The colour at a client point of a windowed control as painted with its children.
  static COLORREF PixelOf(TWinControl* C, Integer X, Integer Y) { return PaintedPixel(C->Handle(), X, Y); }
};

// A plain colour as the painted pixels show it (0x00BBGGRR).
inline COLORREF Rgb(TColor C) {
  return ColorToRGB(C);
}
