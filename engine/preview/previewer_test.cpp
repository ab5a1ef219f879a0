// The conversion's preview window as a person sees it: it appears with the first frame, shows each
// frame with its time as caption, and once closed stays closed; the conversion threads handing it
// pictures never wait for the main thread, however it is switched or freed meanwhile.
#include "engine/preview/previewer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/base/testkit/watchdog.h"
#include "platform/rtl/threads.h"
#include "platform/ui/core/screen.h"
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
  // PaintFrame from a conversion thread, which does not wait for this (main) thread; then this
  // thread serves the repaint it queued.
  bool PaintFromWorker(TPreviewer& APreviewer, TBitmap* ABitmap, Integer AFrame, Int64 APTS) {
    bool result = false;
    std::thread worker([&] { result = APreviewer.PaintFrame(ABitmap, AFrame, APTS); });
    worker.join();
    if (result) {
      EXPECT_TRUE(ServeUntil([&] { return APreviewer.FrameNumber() == AFrame; })) << AFrame;
    }
    return result;
  }
  static bool ServeUntil(const std::function<bool()>& ADone) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ADone()) {
      if (std::chrono::steady_clock::now() > end) return false;
      CheckSynchronize(5);
    }
    return true;
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

TEST_F(PreviewerTest, OnlyTheLatestPictureIsPaintedAndItIsACopy) {
  TPreviewer previewer;
  auto red = FilledBitmap(40, 30, pf24bit, clRed);
  auto blue = FilledBitmap(40, 30, pf24bit, clBlue);
  // Two pictures before the main thread serves: one repaint, showing the second.
  std::thread worker([&] {
    EXPECT_TRUE(previewer.PaintFrame(red.get(), 1, 0));
    EXPECT_TRUE(previewer.PaintFrame(blue.get(), 2, 40000));
  });
  worker.join();
  // The conversion reuses its bitmap at once: what shows is the picture as it was handed over.
  blue->Canvas()->Brush()->SetColor(clLime);
  blue->Canvas()->FillRect(TRect(0, 0, 40, 30));
  EXPECT_EQ(previewer.FrameNumber(), 0);
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_FALSE(CheckSynchronize(0)) << "one repaint for both pictures";
  EXPECT_EQ(previewer.FrameNumber(), 2);
  ASSERT_NE(previewer.Form(), nullptr);
  EXPECT_EQ(previewer.Form()->Caption(), "00:00:00.040");
  EXPECT_EQ(ClientPixel(previewer.Form(), 20, 15), COLORREF(clBlue));
}

TEST_F(PreviewerTest, AFreedPreviewerIgnoresItsQueuedRepaintAndItsWindowGoesOnTheMainThread) {
  auto red = FilledBitmap(40, 30, pf24bit, clRed);
  // Freed on the main thread before its first repaint ran: no window is ever made.
  {
    auto previewer = std::make_unique<TPreviewer>();
    std::thread([&] { EXPECT_TRUE(previewer->PaintFrame(red.get(), 1, 0)); }).join();
    previewer.reset();
    EXPECT_TRUE(CheckSynchronize(0));
  }
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_FALSE(Application->OnMessage);

  // Freed on a conversion thread (as a task does when its window is closed) with a repaint
  // queued: the thread does not wait, and the window goes when the main thread serves.
  auto previewer = std::make_unique<TPreviewer>();
  ASSERT_TRUE(PaintFromWorker(*previewer, red.get(), 1, 0));
  const HWND wnd = previewer->Form()->Handle();
  std::thread([&] {
    EXPECT_TRUE(previewer->PaintFrame(red.get(), 2, 0));
    previewer.reset();
  }).join();
  EXPECT_TRUE(IsWindow(wnd));
  ASSERT_TRUE(ServeUntil([&] { return !IsWindow(wnd); }));
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_FALSE(Application->OnMessage) << "the application's own (empty) handler is back";
}

TEST_F(PreviewerTest, SwitchingThePreviewUnderTheHookLockWhileFramesArriveNeverDeadlocks) {
  // The conversion hands each picture over under the lock that this thread takes to switch the
  // preview on and off (freeing the window); this thread serves the repaints only now and then.
  std::mutex hookLock;
  std::unique_ptr<TPreviewer> previewer = std::make_unique<TPreviewer>();
  std::atomic<bool> stop{false};
  std::atomic<Integer> handed{0};
  enginetest::TWatchdog watchdog("switching the preview while a conversion thread paints",
                                 std::chrono::seconds(60));
  std::thread conversion([&] {
    auto picture = FilledBitmap(32, 24, pf24bit, clRed);
    for (Integer frame = 1; !stop; ++frame) {
      std::lock_guard<std::mutex> hold(hookLock);
      if (previewer && previewer->PaintFrame(picture.get(), frame, Int64(frame) * 40000)) ++handed;
    }
  });
  for (Integer i = 0; i < 200 || handed < 100; ++i) {
    {
      std::lock_guard<std::mutex> hold(hookLock);
      if (i % 2)
        previewer.reset();
      else if (!previewer)
        previewer = std::make_unique<TPreviewer>();
    }
    if (i % 5 == 0) CheckSynchronize(0);
  }
  stop = true;
  conversion.join();
  watchdog.Disarm();
  if (!previewer) previewer = std::make_unique<TPreviewer>();
  auto blue = FilledBitmap(32, 24, pf24bit, clBlue);
  ASSERT_TRUE(PaintFromWorker(*previewer, blue.get(), 1000000, 0));
  EXPECT_EQ(ClientPixel(previewer->Form(), 16, 12), COLORREF(clBlue));
  previewer.reset();
  while (CheckSynchronize(0)) {
  }
  EXPECT_EQ(Screen->FormCount(), 0) << "every window made meanwhile went with its previewer";
}

}  // namespace
