// The player embedded in a host panel on a real display: SDL draws into the panel's native child
// window, the pictures change while it plays, the picture comes back after a window covered it, and
// the panel's own face returns on stop; and the player's own window opens on every start. The
// screenshots (while playing, after a window covered it) are written beside the test program as
// player_display.png and player_after_dialog.png.
#if NERIVO_X11_TESTS

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "engine/player/customplayer.h"
#include "engine/player/testkit/playertestkit.h"
#include "platform/gdi/codecs.h"
#include "platform/ui/core/form.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

constexpr uint32_t HostColour = 0x006030C0;  // the panel's own face (a COLORREF: red C0, green 30, blue 60)

class PlayerDisplayTest : public TDisplayTest<TUiTest> {
 protected:
  static void SetUpTestSuite() {
    TDisplayTest<TUiTest>::SetUpTestSuite();
    ASSERT_TRUE(FFLoader()->Load(PlayerLibraries)) << FFLoader()->LastErrMsg();
  }
  void SetUp() override {
    TDisplayTest<TUiTest>::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(TestMedia().Ready);
    // SDL opens its own connection to the same server and draws into the child window.
    ::setenv("DISPLAY", Server->Name().c_str(), 1);
    ::setenv("SDL_VIDEODRIVER", "x11", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void TearDown() override {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    TDisplayTest<TUiTest>::TearDown();
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
  // A shown form holding the host panel: 320 x 240, its face HostColour.
  struct THostWindow {
    TForm* Form;
    TPanel* Host;
  };
  static THostWindow ShowHostWindow() {
    TForm* form;
    Application->CreateForm(form);
    form->SetBounds(60, 40, 400, 300);
    auto* host = new TPanel(form);
    host->SetParent(form);
    host->SetBounds(20, 20, 320, 240);
    host->SetBevelOuter(bvNone);
    host->SetColor(TColor(HostColour));
    form->Show();
    return {form, host};
  }
};

TEST_F(PlayerDisplayTest, ThePictureShowsInTheHostPanelAndTheHostReturnsOnStop) {
  const THostWindow shown = ShowHostWindow();
  TForm* form = shown.Form;
  TPanel* host = shown.Host;
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(host, 160, 120) == HostColour; })) << "the panel shows first";

  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  ASSERT_TRUE(player.Open(TestMedia().Mkv, host->Handle())) << player.LastErrMsg();
  EXPECT_EQ(player.ScreenWidth(), 320) << "the host's client size";
  EXPECT_EQ(player.ScreenHeight(), 240);
  ASSERT_NE(player.NativeWindow(), 0u);

  // The test picture (moving) replaces the panel's face, and it changes as it plays.
  ASSERT_TRUE(ServeDisplayUntil(
      [&] { return ScreenAt(host, 160, 120) != HostColour && player.CurrentPTS() > 200000; }));
  TRect area;
  GetWindowRect(host->Handle(), &area);
  const TRawImage first = Reader->Capture(area);
  ASSERT_TRUE(ServeDisplayUntil([&] {
    const TRawImage now = Reader->Capture(area);
    for (Integer y = 0; y < now.Height; y += 4)
      if (std::memcmp(now.Row(y), first.Row(y), size_t(now.Width) * 3) != 0) return true;
    return false;
  })) << "the pictures do not change while playing";
  Integer hostPixels = 0;
  for (Integer y = 4; y < 240; y += 20)
    for (Integer x = 4; x < 320; x += 20) hostPixels += ScreenAt(host, x, y) == HostColour;
  EXPECT_EQ(hostPixels, 0) << "the picture (scaled to 320 x 240) covers the panel";
  x11test::SaveBesideProgram(first, "player_display.png");

  // A click on the host focuses it; a resize of the host reaches SDL's event loop.
  form->SetFocus();
  ASSERT_NE(GetFocus(), host->Handle());
  SendMessage(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(GetFocus(), host->Handle());
  host->SetBounds(20, 20, 360, 250);
  ASSERT_TRUE(ServeDisplayUntil([&] { return player.ScreenWidth() == 360 && player.ScreenHeight() == 250; }));
  ASSERT_TRUE(ServeDisplayUntil([&] { return ScreenAt(host, 350, 240) != HostColour; }))
      << "the picture fills the grown host";

  player.Stop(true);
  ASSERT_TRUE(ServeDisplayUntil([&] { return rec.Saw(psStop); }));
  EXPECT_EQ(player.NativeWindow(), 0u);
  ASSERT_TRUE(ServeDisplayUntil([&] { return ScreenAt(host, 160, 120) == HostColour; }))
      << "the host's own picture did not return";
  EXPECT_EQ(SendMessage(host->Handle(), WM_CLOSE, 0, 0), 0);
}

// A plain top-level window over the host, as a dialog over the preview is; its face is HostColour's
// opposite.
constexpr uint32_t DialogColour = 0x0040C030;

TForm* ShowDialogOver(TControl* AHost) {
  TForm* dialog;
  Application->CreateForm(dialog);
  dialog->SetBorderStyle(bsNone);
  dialog->SetColor(TColor(DialogColour));
  const TPoint at = AHost->ClientToScreen({-10, -10});
  dialog->SetBounds(at.X, at.Y, AHost->Width() + 20, AHost->Height() + 20);
  dialog->Show();
  return dialog;
}

// The share of the host's area that shows the test picture: neither black (the native window's
// background) nor the dialog's face nor the host's own.
double PictureShare(const TRawImage& AShot) {
  Integer picture = 0;
  for (Integer y = 0; y < AShot.Height; ++y)
    for (Integer x = 0; x < AShot.Width; ++x) {
      const Byte* p = AShot.Row(y) + x * (AShot.BitCount / 8);
      const uint32_t c = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
      picture += c != DialogColour && c != HostColour && p[0] + p[1] + p[2] > 90;
    }
  return double(picture) / std::max(1, AShot.Width * AShot.Height);
}

TEST_F(PlayerDisplayTest, ThePictureAndTheHostsFaceComeBackAfterADialogCoveredThem) {
  TPanel* host = ShowHostWindow().Host;
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(host, 160, 120) == HostColour; }));
  TRect area;
  GetWindowRect(host->Handle(), &area);

  // Paused on its first pictures: nothing new comes to redraw the screen by itself.
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  ASSERT_TRUE(player.Open(TestMedia().Mkv, host->Handle(), true)) << player.LastErrMsg();
  ASSERT_TRUE(ServeDisplayUntil([&] {
    return rec.Saw(psPause) && PictureShare(Reader->Capture(area)) > 0.5;
  })) << "the paused picture";
  TForm* dialog = ShowDialogOver(host);
  ASSERT_TRUE(ServeDisplayUntil([&] { return ScreenAt(host, 160, 120) == DialogColour; })) << "the dialog";
  delete dialog;
  EXPECT_TRUE(ServeDisplayUntil([&] { return PictureShare(Reader->Capture(area)) > 0.5; }))
      << "the picture did not come back: " << PictureShare(Reader->Capture(area));
  x11test::SaveBesideProgram(Reader->Capture(area), "player_after_dialog.png");

  // Stopped: the host's own face, covered and uncovered.
  player.Stop(true);
  ASSERT_TRUE(ServeDisplayUntil([&] { return ScreenAt(host, 160, 120) == HostColour; }));
  dialog = ShowDialogOver(host);
  ASSERT_TRUE(ServeDisplayUntil([&] { return ScreenAt(host, 160, 120) == DialogColour; }));
  delete dialog;
  EXPECT_TRUE(ServeDisplayUntil([&] {
    return ScreenAt(host, 4, 4) == HostColour && ScreenAt(host, 160, 120) == HostColour &&
           ScreenAt(host, 315, 235) == HostColour;
  })) << "the host's face did not come back";
}

// SDL's x11 driver opens a connection to see whether the display is there, closes it and opens its
// real one. A server whose last client has just left resets meanwhile (as xvfb-run's does, when the
// program before has just ended) and drops the real one, unless the player keeps a connection of
// its own open across SDL's start.
TEST_F(PlayerDisplayTest, OpensItsOwnWindowOnEveryStartOnAServerThatResetsWhenIdle) {
  x11test::TXvfb idle("320x240x24", true);
  if (!idle.Running()) GTEST_SKIP() << "Xvfb cannot start here";
  ::setenv("DISPLAY", idle.Name().c_str(), 1);
  TRIVodero player(nullptr);
  Integer failed = 0;
  for (Integer start = 0; start < 15; ++start) {
    std::make_unique<x11test::TScreenReader>(idle.Name()).reset();  // the program before leaves
    bool opened;
    {
#if defined(__SANITIZE_ADDRESS__)
      // Xlib's input-method code, which SDL's X11 start runs, keeps strings of every input context
      // it makes; they are not ours to free, and its frames have no names to suppress them by.
      __lsan::ScopedDisabler xlibKeeps;
#endif
      opened = player.Open(TestMedia().Mkv, nullptr, true);
    }
    if (!opened) {
      ++failed;
      ADD_FAILURE() << "start " << start << ": " << player.LastErrMsg();
      continue;
    }
    EXPECT_TRUE(ServeUntil([&] { return player.FramesShown() > 0; }))
        << "start " << start << " showed nothing";
    player.Stop(true);
  }
  EXPECT_EQ(failed, 0);
}

}  // namespace

#endif
