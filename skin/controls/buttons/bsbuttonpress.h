// The left-button press and release that the push and speed buttons share: checked mode, repeat,
// group and all-up rules, and the captured pointer leaving and coming back. A button names this as a
// friend; its own mouse handlers call the base class and these steps.
#pragma once

#include "platform/rtl/types.h"
#include "platform/win/win.h"

template <class TButton>
class TbsButtonPressSteps {
 public:
  static void Down(TButton& B) {
    auto Alive = B.FAlive;
    if (B.canAnimate() && B.FEffects.Animating()) B.FEffects.StopAnimate();
    B.FMouseDown = true;
    if (!B.FDown) {
      B.FMouseIn = true;
      B.SetDown(true);
      if (B.FCheckedMode) {
        B.FStopMouseUp = true;
        B.ButtonClick();
      } else if (B.FRepeatMode && B.FGroupIndex == 0) {
        B.FEffects.StartRepeat();
      } else if (B.FGroupIndex != 0) {
        B.ButtonClick();
      }
      // The click handler may have freed the button.
      if (!*Alive) return;
      B.FAllowAllUpCheck = false;
    } else if (B.FGroupIndex != 0) {
      B.FAllowAllUpCheck = true;
    }
  }

  // While the mouse is captured the class library reports neither leaving nor coming back.
  static void Move(TButton& B, Integer X, Integer Y) {
    if (!B.FDown) return;
    const bool Inside = X >= 0 && X <= B.Width() && Y >= 0 && Y <= B.Height();
    if (!Inside && B.FMouseIn)
      B.Perform(CM_MOUSELEAVE, 0, 0);
    else if (Inside && !B.FMouseIn)
      B.Perform(CM_MOUSEENTER, 0, 0);
  }

  // False when a click handler freed the button.
  static bool Up(TButton& B) {
    auto Alive = B.FAlive;
    B.FMouseDown = false;
    if (B.FCheckedMode) {
      if (B.FStopMouseUp) {
        B.FStopMouseUp = false;
      } else {
        B.SetDown(false);
        B.ButtonClick();
      }
    } else if (B.FGroupIndex == 0) {
      const bool WasDown = B.FDown;
      if (B.FMouseIn) {
        B.SetDown(false);
        B.FEffects.StopRepeat();
        if (WasDown) B.ButtonClick();
      } else {
        // Released outside: up without a click, and drawn up again.
        B.FDown = false;
        B.FEffects.StopRepeat();
        B.Repaint();
      }
    } else if (B.FDown && B.FAllowAllUp && B.FAllowAllUpCheck && B.FMouseIn) {
      B.SetDown(false);
      B.ButtonClick();
    }
    return *Alive;
  }
};
