#include "platform/ui/stdctrls/checkbox.h"

#include "platform/ui/core/form.h"
#include "platform/ui/stdctrls/looksurface.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

using CheckBoxTest = TStdControlsTest;

TEST_F(CheckBoxTest, ClickSpaceAndMnemonicToggleThroughTheReflectedCommand) {
  TForm* F = NewForm();
  auto* Box = NewControl<TCheckBox>(F, Bounds(10, 10, 97, 17));
  Box->SetCaption("&Loop");
  auto* Other = NewControl<TCheckBox>(F, Bounds(10, 40, 97, 17));
  Integer Clicks = 0;
  Box->OnClick = [&](TObject*) { ++Clicks; };

  wintest::TMessageSpy Spy({F->Handle(), Box->Handle()});
  wintest::Click(Middle(Box));
  EXPECT_TRUE(Box->Checked());
  EXPECT_TRUE(Box->Focused());
  const std::vector<std::pair<HWND, UINT>> Want{{F->Handle(), WM_COMMAND}, {Box->Handle(), CN_COMMAND}};
  EXPECT_EQ(Spy.Sequence({WM_COMMAND, CN_COMMAND}), Want);

  wintest::KeyPress(VK_SPACE, U' ');
  EXPECT_FALSE(Box->Checked());
  Other->SetFocus();
  wintest::KeyPress('L', U'l');
  EXPECT_TRUE(Box->Checked());
  EXPECT_TRUE(Box->Focused());
  EXPECT_EQ(Clicks, 3);

  // Disabled: neither the mouse nor the mnemonic changes it.
  Box->SetEnabled(false);
  wintest::Click(Middle(Box));
  Other->SetFocus();
  wintest::KeyPress('L', U'l');
  EXPECT_TRUE(Box->Checked());
  EXPECT_EQ(Clicks, 3);
}

TEST_F(CheckBoxTest, TogglingPassesThroughGrayedOnlyWhenAllowed) {
  TForm* F = NewForm();
  auto* Box = NewControl<TCheckBox>(F, Bounds(10, 10, 97, 17));
  Box->SetFocus();
  struct TCase {
    bool AllowGrayed;
    std::vector<TCheckBoxState> After;  // after each Space
  };
  for (const TCase& C : {TCase{false, {cbChecked, cbUnchecked, cbChecked}},
                         TCase{true, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}}}) {
    Box->SetState(cbUnchecked);
    Box->SetAllowGrayed(C.AllowGrayed);
    std::vector<TCheckBoxState> Got;
    for (size_t i = 0; i < C.After.size(); ++i) {
      wintest::KeyPress(VK_SPACE, U' ');
      Got.push_back(Box->State());
    }
    EXPECT_EQ(Got, C.After) << "AllowGrayed " << C.AllowGrayed;
  }
}

TEST_F(CheckBoxTest, StateChangesRunClickButNotWhileLoading) {
  TForm* F = NewForm();
  auto* Box = NewControl<TCheckBox>(F, Bounds(10, 10, 97, 17), F);
  Integer Clicks = 0;
  Box->OnClick = [&](TObject*) { ++Clicks; };
  Box->SetChecked(true);
  Box->SetChecked(true);  // no change, no click
  EXPECT_EQ(Clicks, 1);
  F->BeginLoading();
  Box->SetChecked(false);
  F->EndLoading();
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(Box->Checked());
}

TEST_F(CheckBoxTest, TheMarkShowsTheState) {
  TForm* F = NewForm();
  F->SetColor(stdlook::WindowBack);
  auto* Box = NewControl<TCheckBox>(F, Bounds(10, 10, 97, 17));
  Box->SetCaption("On");
  // The 14-pixel mark sits at x 0 .. 13, y 1 .. 14; its middle is face white, checked accent.
  EXPECT_EQ(PixelOf(Box, 2, 3), Rgb(stdlook::Face));
  EXPECT_EQ(PixelOf(Box, 0, 7), Rgb(stdlook::FaceBorder));
  Box->SetChecked(true);
  EXPECT_EQ(PixelOf(Box, 2, 3), Rgb(stdlook::Accent));
  // The tick: white pixels from (3, 7) down-right and up to the top right.
  EXPECT_EQ(PixelOf(Box, 3, 7), Rgb(clWhite));
  EXPECT_EQ(PixelOf(Box, 10, 4), Rgb(clWhite));
  EXPECT_EQ(PixelOf(Box, 10, 2), Rgb(stdlook::Accent));
  // The caption starts 6 pixels right of the mark: a text box at x 20, rows 2 + 2 .. 2 + 10.
  EXPECT_EQ(PixelOf(Box, 21, 6), Rgb(stdlook::Text));
  EXPECT_EQ(PixelOf(Box, 17, 6), Rgb(stdlook::WindowBack));
  // Caption on the left.
  Box->SetAlignment(taLeftJustify);
  EXPECT_EQ(PixelOf(Box, 96 - 2, 3), Rgb(stdlook::Accent));
  EXPECT_EQ(PixelOf(Box, 2, 3), Rgb(stdlook::WindowBack));
}

TEST_F(CheckBoxTest, RadioButtonsFormOneGroupPerParent) {
  TForm* F = NewForm();
  auto* Left = NewControl<TCustomControl>(F, Bounds(0, 0, 150, 100));
  auto* Right = NewControl<TCustomControl>(F, Bounds(150, 0, 150, 100));
  std::vector<TRadioButton*> A, B;
  for (Integer i = 0; i < 3; ++i) {
    A.push_back(NewControl<TRadioButton>(Left, Bounds(10, 10 + 25 * i, 100, 17)));
    B.push_back(NewControl<TRadioButton>(Right, Bounds(10, 10 + 25 * i, 100, 17)));
  }
  B[2]->SetChecked(true);
  wintest::Click(Middle(A[1]));
  EXPECT_TRUE(A[1]->Checked());
  wintest::Click(Middle(A[0]));
  auto checked = [](const std::vector<TRadioButton*>& G) {
    std::vector<bool> R;
    for (auto* Rb : G) R.push_back(Rb->Checked());
    return R;
  };
  EXPECT_EQ(checked(A), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(checked(B), (std::vector<bool>{false, false, true}));  // the other parent's group stays
  // Only the checked button of a group is a tab stop.
  EXPECT_TRUE(A[0]->TabStop());
  EXPECT_FALSE(A[1]->TabStop());
  // Clicking a checked radio button keeps it checked.
  wintest::Click(Middle(A[0]));
  EXPECT_TRUE(A[0]->Checked());

  // Arrow keys move through the group and check the button reached.
  Integer Clicks = 0;
  for (auto* Rb : A) Rb->OnClick = [&](TObject*) { ++Clicks; };
  wintest::KeyPress(VK_DOWN);
  EXPECT_TRUE(A[1]->Focused());
  EXPECT_EQ(checked(A), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(Clicks, 1);
  // Focus by the mouse on an unchecked radio button checks it as the click does; by Tab it does not.
  A[2]->SetFocus();
  EXPECT_FALSE(A[2]->Checked());
}

}  // namespace
