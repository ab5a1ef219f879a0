#include "platform/ui/extctrls/image.h"

#include "platform/ui/core/form.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/testkit/ui_test_util.h"

namespace {

using ImageTest = TStdControlsTest;

struct TDestCase {
  const char* Name;
  Integer PicW, PicH;  // 0: no picture
  Integer W, H;        // the image's size
  bool Stretch, Center, Proportional;
  TRect Expected;
};

class ImageDestTest : public ImageTest, public ::testing::WithParamInterface<TDestCase> {};

TEST_P(ImageDestTest, PlacesThePicture) {
  const TDestCase& C = GetParam();
  auto* I = new TImage(Application);
  I->SetBounds(0, 0, C.W, C.H);
  if (C.PicW > 0) {
    auto B = FilledBitmap(C.PicW, C.PicH, pf24bit, clRed);
    I->Picture()->SetGraphic(B.get());
  }
  I->SetStretch(C.Stretch);
  I->SetCenter(C.Center);
  I->SetProportional(C.Proportional);
  EXPECT_EQ(I->DestRect(), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageDestTest,
    ::testing::Values(
        TDestCase{"AtItsSize", 40, 20, 100, 100, false, false, false, Rect(0, 0, 40, 20)},
        TDestCase{"Centred", 40, 20, 100, 100, false, true, false, Rect(30, 40, 70, 60)},
        TDestCase{"Stretched", 40, 20, 100, 100, true, false, false, Rect(0, 0, 100, 100)},
        // Proportional alone never enlarges.
        TDestCase{"ProportionalSmall", 40, 20, 100, 100, false, false, true, Rect(0, 0, 40, 20)},
        TDestCase{"ProportionalStretchedWide", 40, 20, 100, 100, true, false, true, Rect(0, 0, 100, 50)},
        TDestCase{"ProportionalStretchedCentred", 40, 20, 100, 100, true, true, true, Rect(0, 25, 100, 75)},
        TDestCase{"ProportionalTallShrinks", 50, 200, 100, 100, false, true, true, Rect(37, 0, 62, 100)},
        TDestCase{"ProportionalWideThenHeightLimits", 300, 200, 100, 50, false, false, true,
                  Rect(0, 0, 75, 50)},
        TDestCase{"ZeroSizeImage", 40, 20, 0, 0, true, true, true, Rect(0, 0, 0, 0)},
        TDestCase{"NoPicture", 0, 0, 100, 100, false, true, false, Rect(50, 50, 50, 50)}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST_F(ImageTest, ShowsThePictureStretchedAndLetsTransparentPartsThrough) {
  TForm* F = NewForm();
  const TColor Under = TColor(RGB(0, 200, 0));
  auto* Host = NewControl<TCustomControl>(F, Bounds(0, 0, 120, 120));
  Host->SetColor(Under);
  auto* I = NewControl<TImage>(Host, Bounds(10, 10, 100, 100));
  // Nothing to show: the host shows through, and nothing fails.
  EXPECT_EQ(PixelOf(Host, 50, 50), Rgb(Under));
  EXPECT_FALSE(I->ControlStyle().Contains(csOpaque));

  // A 2 x 2 picture: white on the bottom left (the automatic transparent colour), blue elsewhere.
  auto B = FilledBitmap(2, 2, pf24bit, clBlue);
  B->Canvas()->SetPixels(0, 1, clWhite);
  I->Picture()->SetGraphic(B.get());
  EXPECT_EQ(PixelOf(Host, 10, 10), Rgb(clBlue));
  EXPECT_EQ(PixelOf(Host, 12, 12), Rgb(Under));  // drawn at its size only
  I->SetStretch(true);
  EXPECT_TRUE(I->ControlStyle().Contains(csOpaque));
  EXPECT_EQ(PixelOf(Host, 10 + 20, 10 + 80), Rgb(clWhite));
  EXPECT_EQ(PixelOf(Host, 10 + 80, 10 + 80), Rgb(clBlue));
  I->SetTransparent(true);
  EXPECT_FALSE(I->ControlStyle().Contains(csOpaque));
  EXPECT_EQ(PixelOf(Host, 10 + 20, 10 + 80), Rgb(Under));
  EXPECT_EQ(PixelOf(Host, 10 + 80, 10 + 20), Rgb(clBlue));
}

TEST_F(ImageTest, AutoSizeTakesThePicturesSize) {
  auto* I = new TImage(Application);
  I->SetBounds(5, 6, 100, 100);
  I->SetAutoSize(true);
  EXPECT_EQ(I->BoundsRect(), Bounds(5, 6, 100, 100));  // no picture: the size stays
  auto B = FilledBitmap(30, 17, pf24bit, clRed);
  I->Picture()->SetGraphic(B.get());
  EXPECT_EQ(I->BoundsRect(), Bounds(5, 6, 30, 17));
  // A picture that cannot load leaves the image as it was.
  EXPECT_ANY_THROW(I->Picture()->LoadFromFile("/nonexistent/picture.png"));
  EXPECT_EQ(I->BoundsRect(), Bounds(5, 6, 30, 17));
}

}  // namespace
