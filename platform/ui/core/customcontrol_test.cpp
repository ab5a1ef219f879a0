#include "platform/ui/core/customcontrol.h"

#include <gtest/gtest.h>

#include "platform/ui/core/form.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

// ---- painting ----

class PaintTest : public TUiTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PaintTest, WindowlessChildrenArePaintedOnTheParentInZOrder) {
  TForm* F = NewForm();
  F->SetDoubleBuffered(GetParam());
  F->SetColor(clWhite);
  auto* Below = new TRecordingGraphic(F);
  Below->SetBounds(10, 10, 40, 40);
  Below->PaintColor = clRed;
  Below->SetParent(F);
  auto* Above = new TRecordingGraphic(F);
  Above->SetBounds(30, 30, 40, 40);
  Above->PaintColor = clBlue;
  Above->SetParent(F);
  TPoint Client = F->ClientOrigin();
  RECT W;
  GetWindowRect(F->Handle(), &W);
  auto pixel = [&](Integer X, Integer Y) {
    return PaintedPixel(F->Handle(), X + Client.X - W.Left, Y + Client.Y - W.Top);
  };
  EXPECT_EQ(pixel(15, 15), RGB(255, 0, 0));
  EXPECT_EQ(pixel(35, 35), RGB(0, 0, 255));
  EXPECT_EQ(pixel(100, 100), RGB(255, 255, 255));
  Above->SendToBack();
  EXPECT_EQ(pixel(35, 35), RGB(255, 0, 0));
  Above->SetVisible(false);
  EXPECT_EQ(pixel(60, 60), RGB(255, 255, 255));
  // Scrolling moves every child.
  F->ScrollBy(100, 0);
  EXPECT_EQ(Below->Left(), 110);
  EXPECT_EQ(pixel(15, 15), RGB(255, 255, 255));
  EXPECT_EQ(pixel(115, 15), RGB(255, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Buffering, PaintTest, ::testing::Values(false, true),
                         [](const auto& Info) { return String(Info.param ? "DoubleBuffered" : "Direct"); });

}  // namespace
