// The conversion's preview window as a person sees it: it appears with the first frame, shows each
// frame with its time as caption, and once closed stays closed.
#include "engine/preview/previewer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/rtl/threads.h"
#include "platform/ui/testkit/ui_test_util.h"
#include "platform/ui/testkit/uitestkit.h"
#include "platform/win/backend.h"
#include "platform/win/testkit/testkit.h"

namespace {

using wintest::BitmapPixel;
using wintest::PaintWindowToBitmap;
using wintest::TMessageSpy;

class PreviewerTest : public TUiTest {
 protected:
  // PaintFrame from a conversion thread while this (main) thread serves it.
  bool PaintFromWorker(TPreviewer& APreviewer, TBitmap* ABitmap, Integer AFrame, Int64 APTS) {
    std::atomic<bool> done{false};
    bool result = false;
    std::thread worker([&] {
      result = APreviewer.PaintFrame(ABitmap, AFrame, APTS);
      done = true;
    });
    while (!done) CheckSynchronize(5);
    worker.join();
    return result;
  }
  // The window's colour at a client point, as painted.
  static COLORREF ClientPixel(TForm* AForm, Integer X, Integer Y) {
    TRect window;
    GetWindowRect(AForm->Handle(), &window);
    const TPoint origin = AForm->ClientToScreen({0, 0});
    HBITMAP shot = PaintWindowToBitmap(AForm->Handle());
    const COLORREF c = BitmapPixel(shot, origin.X - window.Left + X, origin.Y - window.Top + Y);
    DeleteObject(shot);
    return c;
  }
};

TEST_F(PreviewerTest, TheFirstFrameMakesAStayOnTopToolWindowOfItsSize) {
  TPreviewer previewer;
  EXPECT_EQ(previewer.Form(), nullptr);
  auto red = FilledBitmap(64, 48, pf24bit, clRed);
  ASSERT_TRUE(PaintFromWorker(previewer, red.get(), 1, (Int64(3723) * 1000 + 4) * 1000));
  TForm* form = previewer.Form();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->Caption(), "01:02:03.004");
  EXPECT_EQ(form->FormStyle(), fsStayOnTop);
  EXPECT_EQ(form->BorderStyle(), bsToolWindow);
  EXPECT_EQ(form->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_EQ(form->ClientWidth(), 64);
  EXPECT_EQ(form->ClientHeight(), 48);
  EXPECT_EQ(ClientPixel(form, 10, 10), COLORREF(clRed));
  EXPECT_EQ(ClientPixel(form, 63, 47), COLORREF(clRed));

  // A later, larger frame is cut at the window; an unset time reads N/A.
  auto blue = FilledBitmap(100, 100, pf24bit, clBlue);
  ASSERT_TRUE(PaintFromWorker(previewer, blue.get(), 2, Int64(0x8000000000000000ULL)));
  EXPECT_EQ(form->ClientWidth(), 64);
  EXPECT_EQ(form->Caption(), "N/A");
  EXPECT_EQ(ClientPixel(form, 32, 24), COLORREF(clBlue));
}

TEST_F(PreviewerTest, OnceTheUserClosedItEveryFrameIsRefused) {
  TPreviewer previewer;
  auto green = FilledBitmap(32, 32, pf24bit, clLime);
  ASSERT_TRUE(PaintFromWorker(previewer, green.get(), 1, 0));
  previewer.Form()->Close();
  EXPECT_TRUE(previewer.Closed());
  EXPECT_FALSE(PaintFromWorker(previewer, green.get(), 2, 40000));
  EXPECT_FALSE(PaintFromWorker(previewer, green.get(), 3, 80000));
}

TEST_F(PreviewerTest, ItsPressesDragTheWindowAndOtherMessagesReachTheApplicationsHandler) {
  std::vector<UINT> seen;
  Application->OnMessage = [&](MSG& Msg, bool&) { seen.push_back(Msg.message); };
  {
    TPreviewer previewer;
    auto red = FilledBitmap(40, 30, pf24bit, clRed);
    ASSERT_TRUE(PaintFromWorker(previewer, red.get(), 1, 0));
    const HWND wnd = previewer.Form()->Handle();
    TMessageSpy spy;
    MSG press{};
    press.hwnd = wnd;
    press.message = WM_LBUTTONDOWN;
    bool handled = false;
    // The drag loop runs until the button is released: the release waits in the input queue.
    const TPoint at = previewer.Form()->ClientToScreen({5, 5});
    WinInputMouseButton(TInputButton::Left, false, at);
    Application->OnMessage(press, handled);
    EXPECT_TRUE(handled) << "the press becomes a caption drag";
    EXPECT_GE(spy.Count(wnd, WM_NCLBUTTONDOWN), 1);
    EXPECT_TRUE(seen.empty());
    MSG other{};
    other.message = WM_KEYDOWN;
    handled = false;
    Application->OnMessage(other, handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(seen, std::vector<UINT>{WM_KEYDOWN});
  }
  // Freed: the application's own handler is back.
  MSG again{};
  again.message = WM_KEYUP;
  bool handled = false;
  Application->OnMessage(again, handled);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
}

}  // namespace
