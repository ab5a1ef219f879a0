#include "platform/ui/extctrls/bevel.h"

#include "platform/ui/core/form.h"
#include "platform/ui/stdctrls/looksurface.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

using BevelTest = TStdControlsTest;

// Probes of a 20 x 10 bevel on a red host: D the shade, L the light tone, H the host showing through.
struct TProbe {
  Integer X, Y;
  char Tone;
};
struct TBevelCase {
  const char* Name;
  TBevelShape Shape;
  TBevelStyle Style;
  std::vector<TProbe> Probes;
};

class BevelShapeTest : public BevelTest, public ::testing::WithParamInterface<TBevelCase> {};

TEST_P(BevelShapeTest, DrawsItsShapeInTwoTones) {
  TForm* F = NewForm();
  const TColor HostColor = TColor(RGB(200, 0, 0));
  auto* Host = NewControl<TCustomControl>(F, Bounds(0, 0, 40, 30));
  Host->SetColor(HostColor);
  auto* B = NewControl<TBevel>(Host, Bounds(10, 10, 20, 10));
  B->SetShape(GetParam().Shape);
  B->SetStyle(GetParam().Style);
  for (const TProbe& P : GetParam().Probes) {
    COLORREF Want = P.Tone == 'D'   ? Rgb(stdlook::FaceBorder)
                    : P.Tone == 'L' ? Rgb(stdlook::Surface)
                                    : Rgb(HostColor);
    EXPECT_EQ(PixelOf(Host, 10 + P.X, 10 + P.Y), Want) << "at " << P.X << ", " << P.Y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BevelShapeTest,
    ::testing::Values(
        // Left and top in the first tone (the corner at the bottom left too), right and bottom in the second.
        TBevelCase{"LoweredBox",
                   bsBox,
                   bsLowered,
                   {{0, 0, 'D'},
                    {10, 0, 'D'},
                    {0, 5, 'D'},
                    {0, 9, 'D'},
                    {19, 0, 'L'},
                    {19, 5, 'L'},
                    {19, 9, 'L'},
                    {10, 9, 'L'},
                    {10, 5, 'H'}}},
        TBevelCase{"RaisedBox",
                   bsBox,
                   bsRaised,
                   {{0, 0, 'L'}, {0, 5, 'L'}, {19, 5, 'D'}, {10, 9, 'D'}, {10, 5, 'H'}}},
        // Two nested rectangles: the outer one in the first tone, the inner one offset by one in the second.
        TBevelCase{
            "LoweredFrame",
            bsFrame,
            bsLowered,
            {{0, 0, 'D'}, {18, 5, 'D'}, {10, 8, 'D'}, {1, 1, 'L'}, {19, 5, 'L'}, {10, 9, 'L'}, {10, 5, 'H'}}},
        TBevelCase{"TopLine",
                   bsTopLine,
                   bsLowered,
                   {{5, 0, 'D'}, {19, 0, 'D'}, {5, 1, 'L'}, {5, 2, 'H'}, {5, 9, 'H'}}},
        TBevelCase{
            "BottomLine", bsBottomLine, bsLowered, {{5, 8, 'D'}, {5, 9, 'L'}, {5, 7, 'H'}, {5, 0, 'H'}}},
        TBevelCase{"LeftLine", bsLeftLine, bsRaised, {{0, 5, 'L'}, {1, 5, 'D'}, {2, 5, 'H'}, {0, 9, 'L'}}},
        TBevelCase{
            "RightLine", bsRightLine, bsLowered, {{18, 5, 'D'}, {19, 5, 'L'}, {17, 5, 'H'}, {0, 5, 'H'}}},
        TBevelCase{"Spacer", bsSpacer, bsLowered, {{0, 0, 'H'}, {19, 9, 'H'}, {10, 5, 'H'}}}),
    [](const auto& Info) { return String(Info.param.Name); });

}  // namespace
