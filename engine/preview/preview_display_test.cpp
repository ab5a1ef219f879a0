// The preview window on a real display: pictures handed over by a conversion thread show in it, the
// latest one on top, while the conversion thread never waits for the main thread. The screenshot is
// written beside the test program as preview_display.png.
#if NERIVO_X11_TESTS

#include <filesystem>
#include <fstream>
#include <thread>

#include "engine/preview/previewer.h"
#include "platform/gdi/codecs.h"
#include "platform/rtl/threads.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/ui/testkit/ui_test_util.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

class PreviewDisplayTest : public TDisplayTest<TUiTest> {
 protected:
  // Serves the main thread's queue and the display until ADone holds (false after a few seconds).
  static bool ServeDisplayUntil(const std::function<bool()>& ADone) {
    return PumpUntil([&] {
      CheckSynchronize(0);
      return ADone();
    });
  }
};

// A picture a person tells apart: left half red, right half blue, a white bar across the middle.
std::unique_ptr<TBitmap> TestPicture(Integer AWidth, Integer AHeight) {
  auto picture = FilledBitmap(AWidth, AHeight, pf24bit, clRed);
  TCanvas* canvas = picture->Canvas();
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(TRect(AWidth / 2, 0, AWidth, AHeight));
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(TRect(0, AHeight / 2 - 4, AWidth, AHeight / 2 + 4));
  return picture;
}

TEST_F(PreviewDisplayTest, PicturesFromAConversionThreadShowInThePreviewWindow) {
  TPreviewer previewer;
  auto first = FilledBitmap(160, 120, pf24bit, clLime);
  auto second = TestPicture(160, 120);
  std::thread conversion([&] {
    EXPECT_TRUE(previewer.PaintFrame(first.get(), 1, 40000));
    EXPECT_TRUE(previewer.PaintFrame(second.get(), 2, (Int64(3723) * 1000 + 4) * 1000));
  });
  conversion.join();  // handed over without this thread serving anything
  ASSERT_TRUE(ServeDisplayUntil([&] { return previewer.FrameNumber() == 2; }));
  TForm* form = previewer.Form();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Caption(), "01:02:03.004");
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(form, 40, 30) == 0x000000FFu; })) << "red on the left";
  EXPECT_EQ(ScreenAt(form, 120, 30), 0x00FF0000u) << "blue on the right";
  EXPECT_EQ(ScreenAt(form, 80, 60), 0x00FFFFFFu) << "the white bar";
  EXPECT_EQ(ScreenAt(form, 40, 100), 0x000000FFu);
  EXPECT_EQ(ScreenAt(form, 159, 119), 0x00FF0000u) << "the window is the picture's size";

  TRect area;
  GetWindowRect(form->Handle(), &area);
  x11test::SaveBesideProgram(Reader->Capture(area), "preview_display.png");
}

}  // namespace

#endif
