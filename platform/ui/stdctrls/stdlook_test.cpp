#include "platform/ui/stdctrls/stdlook.h"

#include "platform/ui/extctrls/bevel.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/extctrls/splitter.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/groupbox.h"
#include "platform/ui/stdctrls/label.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/ui_test_util.h"

namespace {

using LookTest = TStdControlsTest;

TEST(LookFrame, RoundsItsCornersIntoTheOutsideColour) {
  auto B = FilledBitmap(20, 12, pf24bit, clBlack);
  DrawLookFrame(B->Canvas(), Rect(0, 0, 20, 12), clRed, clWhite, clBlue);
  struct TProbe {
    Integer X, Y;
    TColor Want;
  };
  for (TProbe P : {TProbe{0, 0, clBlue}, {1, 0, clBlue}, {0, 1, clBlue}, {1, 1, clRed}, {2, 0, clRed},
                   {0, 2, clRed}, {19, 11, clBlue}, {18, 11, clBlue}, {18, 10, clRed}, {19, 0, clBlue},
                   {0, 11, clBlue}, {10, 0, clRed}, {10, 11, clRed}, {19, 6, clRed}, {10, 6, clWhite}})
    EXPECT_EQ(PixelColor(*B, P.X, P.Y), ColorToRGB(P.Want)) << P.X << ", " << P.Y;
  // Too small to round: a plain frame; nothing at all for an empty rectangle.
  auto S = FilledBitmap(4, 4, pf24bit, clBlack);
  DrawLookFrame(S->Canvas(), Rect(0, 0, 4, 4), clRed, clWhite, clBlue);
  EXPECT_EQ(PixelColor(*S, 0, 0), ColorToRGB(clRed));
  DrawLookFrame(S->Canvas(), Rect(2, 2, 2, 9), clGreen, clGreen, clGreen);
  EXPECT_EQ(PixelColor(*S, 2, 2), ColorToRGB(clWhite));
}

TEST_F(LookTest, BackgroundsFollowChosenColoursSurfacesAndParents) {
  TForm* F = NewForm();
  auto* Panel = NewControl<TPanel>(F, Bounds(0, 0, 200, 100));
  auto* OnPanel = NewControl<TLabel>(Panel, Bounds(5, 5, 50, 20));
  auto* OnForm = NewControl<TLabel>(F, Bounds(5, 120, 50, 20));
  EXPECT_EQ(LookBackground(OnPanel), clLookSurface);
  EXPECT_EQ(LookBackground(OnForm), clLookWindow);  // the form keeps the button face
  F->SetColor(clYellow);
  EXPECT_EQ(LookBackground(OnForm), clYellow);
  EXPECT_EQ(LookBackground(OnPanel), clLookSurface);  // a panel is a surface of its own
  OnPanel->SetColor(clAqua);
  EXPECT_EQ(LookBackground(OnPanel), clAqua);
  EXPECT_EQ(LookBackground(nullptr), clLookWindow);
  EXPECT_EQ(LookTextColor(clWindowText), clLookText);
  EXPECT_EQ(LookTextColor(clRed), clRed);
}

// Every control paints at a zero size and takes a negative one as zero, without failing.
TEST_F(LookTest, EveryControlSurvivesZeroAndNegativeSizes) {
  TForm* F = NewForm();
  Integer Failures = 0;
  Application->OnException = [&](TObject*, const Exception&) { ++Failures; };
  std::vector<TControl*> All = {new TLabel(F),    new TButton(F),   new TCheckBox(F), new TRadioButton(F),
                                new TGroupBox(F), new TPanel(F),    new TBevel(F),    new TSplitter(F),
                                new TImage(F)};
  for (TControl* C : All) {
    C->SetCaption("&Caption");
    if (auto* L = dynamic_cast<TLabel*>(C)) L->SetAutoSize(false);
    C->SetBounds(10, 10, -5, -7);
    EXPECT_EQ(C->Width(), 0) << C->ClassName();
    EXPECT_EQ(C->Height(), 0) << C->ClassName();
    C->SetParent(F);
  }
  auto B = FilledBitmap(2, 2, pf24bit, clRed);
  static_cast<TImage*>(All.back())->Picture()->SetGraphic(B.get());
  static_cast<TImage*>(All.back())->SetProportional(true);
  EXPECT_NE(PaintedPixel(F->Handle(), 5, 5), CLR_INVALID);
  for (TControl* C : All) C->SetBounds(10, 10, 1, 1);
  EXPECT_NE(PaintedPixel(F->Handle(), 5, 5), CLR_INVALID);
  EXPECT_EQ(Failures, 0);
}

}  // namespace
