// Test support shared by the combo boxes' tests: a form to put a combo box on, a work area whose
// bottom a test may pull up (restored afterwards), screen positions, an event log, and the steps
// that every combo box answers alike (Alt with the arrows, the fade of the drop-down).
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bssystem.h"
#if NERIVO_X11_TESTS
#include "platform/gdi/codecs.h"
#include "platform/win/backends/x11/testkit/xvfb.h"
#endif

// A key pressed on a combo box that shows item From, and the item it shows then.
struct TComboKeyStep {
  Integer From;
  Word Key;
  Integer To;
};

// Drops C's list down with a click at client point P and gives the screen rectangles of the control
// and of its list, which opens under the control.
template <class TCombo>
void clickToDropDown(TCombo* C, TPoint P, RECT& Control, RECT& List) {
  wintest::Click(C->ClientToScreen(P));
  ASSERT_TRUE(C->IsPopupVisible());
  GetWindowRect(C->Handle(), &Control);
  GetWindowRect(C->ListBox()->Handle(), &List);
  EXPECT_EQ(List.Top, Control.Bottom);
}

#if NERIVO_X11_TESTS
// Saves what the screen shows of form F and of the open list List beside the test program as Name.
inline void saveFormWithList(x11test::TScreenReader& Reader, TForm* F, const RECT& List, const String& Name) {
  TRect W;
  GetWindowRect(F->Handle(), &W);
  UnionRect(&W, &W, &List);
  TRawImage Shot = Reader.Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, Name);
}

// A click on form F at client point P closes C's list without a pick: C keeps Index.
template <class TCombo>
void clickOnFormCloses(TCombo* C, TForm* F, TPoint P, Integer Index) {
  wintest::Click(F->ClientToScreen(P));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), Index);
}
#endif

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

  // Selects Index of C, clears the log and presses the left button on the item area, which drops the
  // list down; the button stays down. Gives the list.
  auto* pressToOpen(TCombo* C, Integer Index) {
    C->SetItemIndex(Index);
    Log.clear();
    wintest::MouseDown(At(C, 10, 10));
    return C->ListBox();
  }

  // Presses each step's key on the focused C showing its From and expects its To; AfterEach(Step) then
  // checks what else the key did (the log holds its events only).
  template <class TCheck>
  void pressKeySteps(TCombo* C, const std::vector<TComboKeyStep>& Steps, TCheck AfterEach) {
    for (const TComboKeyStep& Step : Steps) {
      C->SetItemIndex(Step.From);
      Log.clear();
      wintest::KeyPress(Step.Key);
      EXPECT_EQ(C->ItemIndex(), Step.To) << Step.From << " key " << Step.Key;
      AfterEach(Step);
    }
    // The dialog manager leaves the arrows, and only them, to the combo box.
    for (const Word Key : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})
      EXPECT_EQ(C->Perform(CM_WANTSPECIALKEY, Key, 0), 1);
    for (const Word Key : {VK_PRIOR, VK_NEXT}) EXPECT_EQ(C->Perform(CM_WANTSPECIALKEY, Key, 0), 0);
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
  // layered. The list is closed again at the end.
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
    C->CloseUp(false);
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
