#include "platform/ui/stdctrls/stdlook.h"

#include <gtest/gtest.h>

#include "platform/ui/comctrls/progressbar.h"
#include "platform/ui/comctrls/trackbar.h"
#include "platform/ui/stdctrls/combobox.h"
#include "platform/ui/stdctrls/memo.h"
#include "platform/ui/testkit/ui_test_util.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

struct TPixelCase {
  Integer X, Y;
  TColor Expected;
};

TEST(StdLook, RoundedBoxCutsThreePixelCornersAgainstTheOutside) {
  auto B = FilledBitmap(10, 10, pf32bit, clGray);
  stdlook::RoundedBox(B->Canvas(), Rect(0, 0, 10, 10), clWhite, clBlack, clGray);
  const TPixelCase Cases[] = {
      {0, 0, clGray},  {1, 0, clGray},  {0, 1, clGray},  {1, 1, clBlack}, {2, 0, clBlack}, {0, 2, clBlack},
      {5, 0, clBlack}, {0, 5, clBlack}, {5, 5, clWhite}, {2, 2, clWhite}, {9, 9, clGray},  {8, 9, clGray},
      {8, 8, clBlack}, {9, 0, clGray},  {0, 9, clGray},  {9, 5, clBlack},
  };
  for (const TPixelCase& C : Cases)
    EXPECT_EQ(PixelColor(*B, C.X, C.Y), COLORREF(C.Expected)) << C.X << "," << C.Y;
  // Too small to round, and empty: no harm.
  stdlook::RoundedBox(B->Canvas(), Rect(0, 0, 4, 4), clRed, clNone, clGray);
  EXPECT_EQ(PixelColor(*B, 0, 0), COLORREF(clRed));
  stdlook::RoundedBox(B->Canvas(), Rect(5, 5, 5, 2), clBlue, clBlack, clGray);
  EXPECT_EQ(PixelColor(*B, 5, 5), COLORREF(clWhite));
}

// Every control of this family paints at no size or a negative one without harm, and paints again
// when it grows back.
TEST_F(TUiTest, ControlsPaintAtZeroAndNegativeSizes) {
  TForm* Form = NewForm();
  std::vector<TWinControl*> Controls = {NewControl<TTrackBar>(Form, Bounds(0, 0, 10, 10)),
                                        NewControl<TProgressBar>(Form, Bounds(0, 20, 10, 10)),
                                        NewControl<TComboBox>(Form, Bounds(0, 40, 10, 10)),
                                        NewControl<TMemo>(Form, Bounds(0, 60, 10, 10))};
  static_cast<TMemo*>(Controls[3])->Lines()->Add("text");
  static_cast<TComboBox*>(Controls[2])->Items()->Add("item");
  static_cast<TComboBox*>(Controls[2])->SetItemIndex(0);
  for (TWinControl* C : Controls) {
    for (const TSize& S : {TSize{0, 0}, TSize{-5, -7}, TSize{1, 1}, TSize{3, 40}}) {
      C->SetBounds(C->Left(), C->Top(), S.cx, S.cy);
      C->Repaint();
    }
    C->SetBounds(C->Left(), C->Top(), 60, 16);
    EXPECT_NE(PaintedPixel(C->Handle(), 30, 8), CLR_INVALID) << C->ClassName();
  }
}

}  // namespace
