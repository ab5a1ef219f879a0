// A skinned form with a layered border on a real display. Without a compositor the border windows
// show the opaque part of their pictures and are holes where the picture is transparent. The
// screenshot (form and border) is written beside the test program as layeredborder_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordsform.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/layered/bsformlayerborder.h"
#include "skin/forms/testkit/layerframetestkit.h"

namespace {

constexpr COLORREF BandColour = RGB(30, 160, 90);

class LayeredBorderDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  bool ScreenShows(Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return Reader->Pixel(X, Y) == Want; });
  }
};

TEST_F(LayeredBorderDisplay, TheBorderShowsItsOpaqueBandAroundTheFormAndFollowsIt) {
  // A 60 x 50 frame picture around a form area of (10, 20, 50, 40): an outer 3-pixel band fully
  // transparent, inside it an opaque green band.
  const TbsColor Band = 0xFF000000u | (Cardinal(GetRValue(BandColour)) << 16) |
                        (Cardinal(GetGValue(BandColour)) << 8) | GetBValue(BandColour);
  auto LF = MakeTestLayerFrame([Band](Integer X, Integer Y) {
    return (X < 3 || X >= TestLayerFrameW - 3 || Y < 3 || Y >= TestLayerFrameH - 3) ? 0u : Band;
  });
  Skin->LayerFrame = std::move(LF);

  TForm* Back;
  Application->CreateForm(Back);
  Back->SetBounds(0, 0, 600, 450);
  Back->SetColor(clWhite);
  Back->SetBorderStyle(bsNone);
  Back->Show();
  ASSERT_TRUE(ScreenShows(580, 430, 0xFFFFFFu));
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(120, 100, 320, 200);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo 转换器");
  auto* Engine = new TbsSkinForm(F);
  Engine->SetSkinData(Skin.get());
  F->Show();
  F->SetFocus();
  ASSERT_TRUE(Engine->Layers().BorderLayer->FVisible);

  // Left of the form: 10 border pixels, the outer 3 a hole showing the white form behind.
  EXPECT_TRUE(ScreenShows(120 - 5, 200, BandColour));
  EXPECT_TRUE(ScreenShows(120 - 9, 200, 0xFFFFFFu)) << "the transparent rim is a hole";
  EXPECT_TRUE(ScreenShows(120 + 160, 100 - 10, BandColour)) << "above";
  EXPECT_TRUE(ScreenShows(120 + 160, 300 + 5, BandColour)) << "below";
  EXPECT_TRUE(ScreenShows(440 + 5, 200, BandColour)) << "right";

  const TRect Shot = Rect(120 - 20, 100 - 30, 440 + 20, 300 + 20);
  TRawImage Raw = Reader->Capture(Shot);
  ASSERT_FALSE(Raw.Empty());
  x11test::SaveBesideProgram(Raw, "layeredborder_display.png");

  // Moved, the band comes along; the old place shows what is behind.
  F->SetBounds(200, 150, 320, 200);
  EXPECT_TRUE(ScreenShows(200 - 5, 250, BandColour));
  EXPECT_TRUE(ScreenShows(120 - 5, 120, 0xFFFFFFu));
  // Hidden with the form.
  F->Hide();
  EXPECT_TRUE(ScreenShows(200 - 5, 250, 0xFFFFFFu));
}

}  // namespace

#endif
