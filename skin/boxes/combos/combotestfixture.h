// Test support shared by the combo boxes' tests: a form to put a combo box on, a work area whose
// bottom a test may pull up (restored afterwards), screen positions, an event log, and the steps
// that every combo box answers alike (Alt with the arrows, the fade of the drop-down).
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/testkit/skincontrolstestkit.h"

template <class TCombo>
class TComboTest : public TSkinControlTest {
 protected:
  void TearDown() override {
    if (WorkAreaChanged) SystemParametersInfo(SPI_SETWORKAREA, 0, &SavedWorkArea, 0);
    TSkinControlTest::TearDown();
  }
  void SetWorkAreaBottom(Integer Bottom) {
    SystemParametersInfo(SPI_GETWORKAREA, 0, &SavedWorkArea, 0);
    TRect R = SavedWorkArea;
    R.Bottom = Bottom;
    SystemParametersInfo(SPI_SETWORKAREA, 0, &R, 0);
    WorkAreaChanged = true;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return wintest::ScreenPoint(C->Handle(), X, Y); }
  static TRect ScreenRectOf(TWinControl* C) {
    RECT R;
    GetWindowRect(C->Handle(), &R);
    return R;
  }

  // Alt+Down opens the list of the focused C without changing its index; Alt+Up closes it.
  void openAndCancelWithAlt(TCombo* C) {
    const Integer Index = C->ItemIndex();
    wintest::KeyDown(VK_MENU);
    wintest::KeyPress(VK_DOWN);
    EXPECT_TRUE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), Index);
    wintest::KeyPress(VK_UP);
    wintest::KeyUp(VK_MENU);
    EXPECT_FALSE(C->IsPopupVisible());
  }

  // Drops C's list down fading to opacity 200 and gives the opacities set on the way; the list is
  // layered.
  std::vector<Byte> fadeAlphas(TCombo* C) {
    C->SetAlphaBlend(true);
    C->SetAlphaBlendAnimation(true);
    C->SetAlphaBlendValue(200);
    std::vector<Byte> Alphas;
    Recorded = &Alphas;
    auto Saved = SetLayeredWindowAttributesProc;
    SetLayeredWindowAttributesProc = [](HWND, COLORREF, Byte A, DWORD) {
      Recorded->push_back(A);
      return true;
    };
    C->DropDown();
    SetLayeredWindowAttributesProc = Saved;
    Recorded = nullptr;
    EXPECT_TRUE(GetWindowLongPtr(C->ListBox()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    return Alphas;
  }
  // Opacity 0, then up in steps of 200 div 15 to 200.
  static std::vector<Byte> fadeSteps() {
    std::vector<Byte> Steps{0};
    for (Integer A = 13; A < 200; A += 13) Steps.push_back(Byte(A));
    Steps.push_back(200);
    return Steps;
  }

  TForm* Form = nullptr;
  std::vector<String> Log;
  TRect SavedWorkArea{};
  bool WorkAreaChanged = false;

 private:
  static inline std::vector<Byte>* Recorded = nullptr;
};
