#include "platform/ui/comctrls/progressbar.h"

#include <gtest/gtest.h>

#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

struct TBarCase {
  Integer Min, Max, Position;
  Integer ExpectedPosition;
  Integer ExpectedWidth;  // of the filled part, inside a 1-pixel border of a 102-wide bar
};

TEST_F(TUiTest, ProgressFillsInProportionWithinItsRange) {
  TForm* Form = NewForm();
  auto* Bar = NewControl<TProgressBar>(Form, Bounds(10, 10, 102, 16));
  const TBarCase Cases[] = {
      {0, 100, 0, 0, 0},       {0, 100, 50, 50, 50}, {0, 100, 100, 100, 100},
      {0, 100, 150, 100, 100}, {0, 100, -5, 0, 0},   {50, 150, 75, 75, 25},
      {0, 3, 1, 1, 33},        {0, 0, 0, 0, 0},      {-10, 10, 0, 0, 50},
  };
  for (const TBarCase& C : Cases) {
    Bar->SetMin(-1000);
    Bar->SetMax(C.Max);
    Bar->SetMin(C.Min);
    Bar->SetPosition(C.Position);
    EXPECT_EQ(Bar->Position(), C.ExpectedPosition) << C.Min << ".." << C.Max << " at " << C.Position;
    EXPECT_EQ(Bar->BarRect().Width(), C.ExpectedWidth) << C.Min << ".." << C.Max << " at " << C.Position;
  }
}

TEST_F(TUiTest, ProgressStepsAndWrapsPastTheEnd) {
  TForm* Form = NewForm();
  auto* Bar = NewControl<TProgressBar>(Form, Bounds(10, 10, 102, 16));
  Bar->SetStep(30);
  std::vector<Integer> Seen;
  for (int i = 0; i < 5; ++i) {
    Bar->StepIt();
    Seen.push_back(Bar->Position());
  }
  EXPECT_EQ(Seen, (std::vector<Integer>{30, 60, 90, 19, 49}));
  Bar->StepBy(-60);
  EXPECT_EQ(Bar->Position(), 90);
}

TEST_F(TUiTest, ProgressPaintsTheAccentBarAndTakesNoFocus) {
  TForm* Form = NewForm();
  auto* Other = NewControl<TRecordingControl>(Form, Bounds(10, 40, 50, 20));
  auto* Bar = NewControl<TProgressBar>(Form, Bounds(10, 10, 102, 16));
  Bar->SetPosition(50);
  HWND W = Bar->Handle();
  EXPECT_EQ(PaintedPixel(W, 20, 8), COLORREF(stdlook::Accent));
  EXPECT_EQ(PaintedPixel(W, 80, 8), COLORREF(stdlook::Track));
  EXPECT_EQ(PaintedPixel(W, 50, 0), COLORREF(stdlook::SurfaceBorder));
  Bar->SetState(pbsError);
  EXPECT_EQ(PaintedPixel(W, 20, 8), COLORREF(stdlook::Error));
  Bar->SetOrientation(pbVertical);
  Bar->SetBounds(10, 10, 16, 102);
  EXPECT_EQ(PaintedPixel(W, 8, 80), COLORREF(stdlook::Error));  // grows from the bottom
  EXPECT_EQ(PaintedPixel(W, 8, 20), COLORREF(stdlook::Track));

  Other->SetFocus();
  wintest::Click(wintest::ScreenPoint(W, 8, 8));
  EXPECT_TRUE(Other->Focused());
  wintest::KeyPress(VK_TAB);
  EXPECT_TRUE(Other->Focused());  // the only control that takes the focus
}

}  // namespace
