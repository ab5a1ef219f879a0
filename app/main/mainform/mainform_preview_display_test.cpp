// The preview inside the real main window on a display, with the product skin and pictures: the
// stopped-preview picture first, the job's file playing in Panel6 (its pixels change), and the
// picture back when the player stops. Screenshots beside the test program: appmain_preview_playing.png
// and appmain_preview_stopped.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/optionstestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "engine/player/testkit/playertestkit.h"
#include "platform/rtl/files.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "tools/skingen/skingen.h"

namespace {

class PreviewDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  using Base = optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>>;
  static void SetUpTestSuite() {
    Base::SetUpTestSuite();
    ASSERT_TRUE(FFLoader()->Load(PlayerLibraries)) << FFLoader()->LastErrMsg();
  }
  void SetUp() override {
    Base::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(TestMedia().Ready);
    // SDL opens its own connection to the same server and draws into Panel6's native child.
    ::setenv("DISPLAY", Server->Name().c_str(), 1);
    ::setenv("SDL_VIDEODRIVER", "x11", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void TearDown() override {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    Base::TearDown();
  }
  // Serves the main thread's queue and the display until ADone holds (false after ALimitMs).
  static bool ServeDisplayUntil(const std::function<bool()>& ADone, Integer ALimitMs = 8000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ALimitMs);
    for (;;) {
      WinProcessMessages();
      CheckSynchronize(0);
      if (ADone()) return true;
      if (std::chrono::steady_clock::now() > end) return false;
      WinBackend().WaitForEvents(10, MainThreadWakeFd());
    }
  }
  TRawImage CaptureOf(TControl* C) {
    TRect R;
    GetWindowRect(static_cast<TWinControl*>(C)->Handle(), &R);
    return Reader->Capture(R);
  }
  // The share of strongly coloured pixels (the test pattern's bars; the placeholder has none).
  static double ColourShare(const TRawImage& Shot) {
    Integer Coloured = 0;
    for (Integer Y = 0; Y < Shot.Height; ++Y)
      for (Integer X = 0; X < Shot.Width; ++X) {
        const Byte* P = Shot.Row(Y) + X * (Shot.BitCount / 8);
        Coloured += std::max({P[0], P[1], P[2]}) - std::min({P[0], P[1], P[2]}) > 100;
      }
    return double(Coloured) / std::max(1, Shot.Width * Shot.Height);
  }
  // The stopped look: the screen's black with the light line picture in its middle.
  bool ShowsPlaceholder(TPanel* Screen) {
    if (ScreenAt(Screen, 4, 4) != 0 || ScreenAt(Screen, 205, 130) != 0) return false;
    Integer Ink = 0;
    for (Integer Y = 24; Y < 111; ++Y)
      for (Integer X = 63; X < 147; ++X) {
        const COLORREF C = ScreenAt(Screen, X, Y);
        Ink += GetRValue(C) > 60 && GetBValue(C) > GetRValue(C);
      }
    return Ink > 40;
  }
};

TEST_F(PreviewDisplay, TheJobsFilePlaysInThePreviewAndThePictureReturnsOnStop) {
  TForm1* F = mainformtest::CreateWithProductLook(Temp.Root(), File());
  F->SetLeft(20);
  F->SetTop(20);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  TPanel* Screen = F->Panel6;
  ASSERT_TRUE(ServeDisplayUntil([&] { return ShowsPlaceholder(Screen); })) << "the stopped-preview picture";

  F->T_Movie_PLayer_FileName = TestMedia().Mkv;
  F->Button31->Click();
  ASSERT_NE(F->RIVodero->NativeWindow(), 0u) << "SDL draws into Panel6";
  // The first picture (the test pattern, scaled to the screen) replaces the placeholder.
  ASSERT_TRUE(ServeDisplayUntil([&] { return ColourShare(CaptureOf(Screen)) > 0.3; }));
  F->bsSkinButton13->Click();
  ASSERT_TRUE(ServeDisplayUntil([&] { return F->RIVodero->CurrentPTS() > 300000; }));
  const TRawImage First = CaptureOf(Screen);
  ASSERT_TRUE(ServeDisplayUntil([&] {
    const TRawImage Now = CaptureOf(Screen);
    for (Integer Y = 0; Y < Now.Height; Y += 3)
      if (std::memcmp(Now.Row(Y), First.Row(Y), size_t(Now.RowBytes())) != 0) return true;
    return false;
  })) << "the pictures do not change while playing";
  EXPECT_TRUE(ServeDisplayUntil([&] { return F->bsSkinSlider1->Value() > 0; })) << "the slider follows";
  TRect W;
  GetWindowRect(F->Handle(), &W);
  x11test::SaveBesideProgram(Reader->Capture(W), "appmain_preview_playing.png");

  // Stopped (as clearing the list does): the panel repaints with its own picture.
  F->RIVodero->Stop(true);
  ASSERT_TRUE(ServeDisplayUntil([&] { return ShowsPlaceholder(Screen); }))
      << "the placeholder did not return";
  // Muted: the unmute button in the mute button's place, its glyph in the accent colour.
  F->bsSkinButton16->Click();
  const auto AccentPixels = [&] {
    const TRawImage Face = CaptureOf(F->bsSkinButton20);
    Integer N = 0;
    for (Integer Y = 0; Y < Face.Height; ++Y)
      for (Integer X = 0; X < Face.Width; ++X) {
        const Byte* P = Face.Row(Y) + X * (Face.BitCount / 8);
        N += P[0] > 150 && P[2] < 120 && P[0] - P[2] > 80;  // blue well above red
      }
    return N;
  };
  EXPECT_TRUE(ServeDisplayUntil([&] { return AccentPixels() > 10; })) << "the muted glyph";
  x11test::SaveBesideProgram(Reader->Capture(W), "appmain_preview_stopped.png");
  delete F;
}

}  // namespace

#endif
