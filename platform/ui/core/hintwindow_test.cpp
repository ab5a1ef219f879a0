// The application's hint window as a person meets it: a control's hint shows its whole text, Chinese
// included, in the font the window was sized for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/gdi.h"
#include "platform/gdi/text.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

// The ink of Text laid out in Font on a surface large enough for any hint.
TRect ReferenceInk(TFont* Font, const String& Text, COLORREF Back) {
  TBitmap B;
  B.SetSize(400, 60);
  B.Canvas()->Brush()->SetColor(TColor(Back));
  B.Canvas()->FillRect(Rect(0, 0, 400, 60));
  HDC DC = B.Canvas()->Handle();
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  SetTextColor(DC, ColorToRGB(Font->Color()));
  SetBkMode(DC, TRANSPARENT);
  TRect R = Rect(10, 10, 390, 50);
  DrawText(DC, Text, &R, DT_LEFT | DT_NOPREFIX);
  SelectObject(DC, Old);
  return InkBox(Rect(0, 0, 400, 60), Back,
                [&](Integer x, Integer y) { return COLORREF(B.Canvas()->Pixels(x, y)); });
}

TEST_F(TUiTest, AControlsHintShowsItsWholeTextInTheFontItWasSizedFor) {
  TForm* F = NewForm(Rect(100, 100, 700, 300));
  const char* Texts[] = {"上移", "下移", "静音", "Move up", "快照 Snapshot"};
  Integer X = 10;
  for (const char* Text : Texts) {
    SCOPED_TRACE(Text);
    auto* Button = NewControl<TRecordingGraphic>(F, Bounds(X, 10, 28, 28));
    X += 40;
    Button->SetHint(Text);
    Button->SetShowHint(true);
    wintest::MouseMove(wintest::ScreenPoint(F->Handle(), Button->Left() + 14, 24));
    wintest::AdvanceTime(Clock(), 600);
    THintWindow* W = Application->HintWindow();
    ASSERT_NE(W, nullptr);
    ASSERT_TRUE(W->HandleAllocated() && IsWindowVisible(W->Handle()));
    EXPECT_EQ(W->Text(), Text);

    const COLORREF Back = ColorToRGB(W->Color());
    const TRect Want = ReferenceInk(W->Font(), Text, Back);
    // Inside the one-pixel border: the whole text, at the size it has anywhere else.
    const TRect Shown = InkBox(Rect(1, 1, W->Width() - 1, W->Height() - 1), Back,
                               [&](Integer x, Integer y) { return PaintedPixel(W->Handle(), x, y); });
    EXPECT_EQ(Shown.Width(), Want.Width());
    EXPECT_EQ(Shown.Height(), Want.Height());
    // One line, not a second one cut off below.
    EXPECT_LT(W->Height(), 2 * Want.Height());
  }
}

}  // namespace
