// The application's hint window on a real display: a Chinese hint over a form shows its whole text.
// The screenshot is written beside the test program as hintwindow_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text.h"
#include "platform/ui/core/form.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

class HintWindowDisplayTest : public TDisplayTest<TUiTest> {
 protected:
  void SetUp() override {
    TDisplayTest::SetUp();
    SetTestFontMode(false);  // the real faces, as a person sees them
  }
};

// How many columns of R hold ink.
template <class F>
Integer InkColumns(const TRect& R, COLORREF Back, F Pixel) {
  Integer N = 0;
  for (Integer x = R.Left; x < R.Right; ++x)
    for (Integer y = R.Top; y < R.Bottom; ++y)
      if (IsInk(Pixel(x, y), Back)) {
        ++N;
        break;
      }
  return N;
}

TEST_F(HintWindowDisplayTest, AChineseHintShowsItsWholeText) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 300, 160);
  F->SetColor(clWhite);
  F->Show();

  const String Text = "上移 下移";
  THintWindow* W = HintWindowClass(Application);
  TRect R = W->CalcHintRect(800, Text);
  const TPoint At = F->ClientToScreen({40, 60});
  OffsetRect(&R, At.X, At.Y);
  W->ActivateHint(R, Text);
  const COLORREF Back = ColorToRGB(W->Color());
  ASSERT_TRUE(PumpUntil([&] { return Reader->Pixel(At.X + 1, At.Y + 1) == Back; }));
  ASSERT_TRUE(SaveWindowShot(W->Handle(), "hintwindow_display.png"));

  // The same text laid out in the same font on a free surface: as many inked columns as on screen.
  TBitmap B;
  B.SetSize(400, 60);
  B.Canvas()->Brush()->SetColor(TColor(Back));
  B.Canvas()->FillRect(Rect(0, 0, 400, 60));
  HDC DC = B.Canvas()->Handle();
  HGDIOBJ Old = SelectObject(DC, W->Font()->Handle());
  SetTextColor(DC, ColorToRGB(W->Font()->Color()));
  SetBkMode(DC, TRANSPARENT);
  TRect TextR = Rect(10, 10, 390, 50);
  DrawText(DC, Text, &TextR, DT_LEFT | DT_NOPREFIX);
  SelectObject(DC, Old);
  const Integer Want = InkColumns(Rect(0, 0, 400, 60), Back,
                                  [&](Integer x, Integer y) { return COLORREF(B.Canvas()->Pixels(x, y)); });
  ASSERT_GT(Want, 20);
  const Integer Shown = InkColumns(Rect(At.X + 1, At.Y + 1, R.Right - 1, R.Bottom - 1), Back,
                                   [&](Integer x, Integer y) { return Reader->Pixel(x, y); });
  EXPECT_EQ(Shown, Want);
  // The border all round, the background inside it.
  EXPECT_TRUE(IsInk(Reader->Pixel(R.Right - 1, R.Bottom - 1), Back));
  EXPECT_EQ(Reader->Pixel(R.Right - 2, R.Bottom - 2), Back);
}

}  // namespace

#endif
