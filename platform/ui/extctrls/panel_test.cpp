#include "platform/ui/extctrls/panel.h"

#include "platform/ui/core/form.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

using PanelTest = TStdControlsTest;

struct TFrameCase {
  const char* Name;
  TBevelCut Outer, Inner;
  Integer BevelWidth, BorderWidth;
  TPanelBorderStyle Border;
  TRect Child;  // where an alClient child lands in a 200 x 100 panel
};

class PanelFrameTest : public PanelTest, public ::testing::WithParamInterface<TFrameCase> {};

TEST_P(PanelFrameTest, ChildrenAlignInsideTheBevelsAndBorder) {
  const TFrameCase& C = GetParam();
  TForm* F = NewForm();
  auto* P = NewControl<TPanel>(F, Bounds(10, 10, 200, 100));
  P->SetBevelOuter(C.Outer);
  P->SetBevelInner(C.Inner);
  P->SetBevelWidth(C.BevelWidth);
  P->SetBorderWidth(C.BorderWidth);
  P->SetBorderStyle(C.Border);
  auto* Child = NewControl<TCustomControl>(P, Bounds(50, 50, 10, 10));
  Child->SetAlign(alClient);
  EXPECT_EQ(Child->BoundsRect(), C.Child);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelFrameTest,
    ::testing::Values(TFrameCase{"Default", bvRaised, bvNone, 1, 0, pbsNone, Bounds(1, 1, 198, 98)},
                      TFrameCase{"NoBevels", bvNone, bvNone, 1, 0, pbsNone, Bounds(0, 0, 200, 100)},
                      TFrameCase{"Everything", bvRaised, bvLowered, 2, 3, pbsSingle, Bounds(8, 8, 184, 84)},
                      TFrameCase{"SpaceCounts", bvSpace, bvNone, 4, 0, pbsNone, Bounds(4, 4, 192, 92)},
                      // Widths below their minimum are raised to it.
                      TFrameCase{"WidthsClamped", bvLowered, bvNone, 0, -5, pbsNone, Bounds(1, 1, 198, 98)}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST_F(PanelTest, PaintsItsBevelsSurfaceAndCaption) {
  TForm* F = NewForm();
  auto* P = NewControl<TPanel>(F, Bounds(10, 10, 200, 100));
  P->SetCaption("Hi");
  // One raised bevel: the surface's border line, then the white surface.
  EXPECT_EQ(PixelOf(P, 0, 0), Rgb(stdlook::SurfaceBorder));
  EXPECT_EQ(PixelOf(P, 199, 50), Rgb(stdlook::SurfaceBorder));
  EXPECT_EQ(PixelOf(P, 5, 5), Rgb(stdlook::Surface));
  // "Hi" (14 pixels) centred in the 198 x 98 inside: x 93, line top 43, glyph rows from 45.
  EXPECT_EQ(PixelOf(P, 93, 45), Rgb(stdlook::Text));
  EXPECT_EQ(PixelOf(P, 92, 45), Rgb(stdlook::Surface));
  P->SetAlignment(taLeftJustify);
  EXPECT_EQ(PixelOf(P, 1, 45), Rgb(stdlook::Text));
  EXPECT_EQ(PixelOf(P, 93, 45), Rgb(stdlook::Surface));
  P->SetAlignment(taRightJustify);
  EXPECT_EQ(PixelOf(P, 198 - 13, 45), Rgb(stdlook::Text));
  // A lowered bevel is the deeper shade; a colour the program chose fills the surface.
  P->SetBevelOuter(bvLowered);
  P->SetColor(TColor(RGB(10, 20, 30)));
  EXPECT_EQ(PixelOf(P, 0, 0), Rgb(stdlook::FaceBorder));
  EXPECT_EQ(PixelOf(P, 5, 5), RGB(10, 20, 30));
}

TEST_F(PanelTest, HostsANativeWindowThatFollowsItsWindow) {
  TForm* F = NewForm();
  auto* P = NewControl<TPanel>(F, Bounds(10, 20, 160, 90));
  EXPECT_EQ(P->NativeWindowId(), 0u);
  P->SetHostsNativeWindow(true);
  const uintptr_t First = P->NativeWindowId();
  ASSERT_NE(First, 0u);
  const auto* Native = Env.Backend().Native(P->Handle());
  ASSERT_NE(Native, nullptr);
  EXPECT_EQ(Native->NativeChild, First);
  // At the panel's place in its top-level window.
  TPoint Origin = P->ClientToScreen({0, 0});
  TRect FormRect;
  GetWindowRect(F->Handle(), &FormRect);
  EXPECT_EQ(Native->Bounds, Bounds(Origin.X - FormRect.Left, Origin.Y - FormRect.Top, 160, 90));
  // A new window of the panel gets a native window again.
  P->RecreateWnd();
  EXPECT_NE(P->NativeWindowId(), 0u);
  ASSERT_NE(Env.Backend().Native(P->Handle()), nullptr);
  EXPECT_EQ(Env.Backend().Native(P->Handle())->NativeChild, P->NativeWindowId());
  P->SetHostsNativeWindow(false);
  EXPECT_EQ(P->NativeWindowId(), 0u);
  EXPECT_EQ(Env.Backend().Native(P->Handle()), nullptr);
}

}  // namespace
