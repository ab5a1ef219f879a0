#include <atomic>
#include <thread>

#include "platform/rtl/threads.h"
#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

TEST_F(WinTest, RetrievalOrderIsPostedThenQuitThenPaintThenTimers) {
  HWND w = Popup({0, 0, 100, 100});
  Pump();
  SetTimer(w, 7, 10, nullptr);
  Env.Clock().Advance(10);
  InvalidateRect(w, nullptr, false);
  PostMessage(w, WM_USER + 1, 0, 0);
  PostMessage(w, WM_USER + 2, 0, 0);
  PostQuitMessage(3);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 1);
  std::vector<UINT> order;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(m.message);
    if (m.message == WM_QUIT) {
      EXPECT_EQ(m.wParam, 3u);
      continue;
    }
    DispatchMessage(&m);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_QUIT, WM_PAINT, WM_TIMER}));
}

TEST_F(WinTest, PostedMessagesOfDestroyedWindowsAreDropped) {
  HWND w = Popup({0, 0, 100, 100});
  Pump();
  EXPECT_TRUE(PostMessage(w, WM_USER, 0, 0));
  DestroyWindow(w);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
}

TEST_F(WinTest, TimersFireOnTheFakeClockAndStopWhenKilledInTheirOwnTick) {
  HWND w = Popup({0, 0, 100, 100});
  std::vector<UInt64> ticks;
  On(w, [&](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_TIMER && wp == 1) {
      ticks.push_back(GetTickCount64());
      if (ticks.size() == 3) KillTimer(h, 1);
      return 0;
    }
    return std::nullopt;
  });
  UInt64 start = GetTickCount64();
  ASSERT_EQ(SetTimer(w, 1, 50, nullptr), 1u);
  AdvanceTime(Env.Clock(), 49);
  EXPECT_TRUE(ticks.empty());
  AdvanceTime(Env.Clock(), 1000);
  EXPECT_EQ(ticks, (std::vector<UInt64>{start + 50, start + 100, start + 150}));
  EXPECT_FALSE(KillTimer(w, 1));
}

namespace {
std::vector<std::pair<UINT_PTR, DWORD>> procTicks;
void recordTick(HWND, UINT, UINT_PTR id, DWORD time) {
  procTicks.emplace_back(id, time);
}
}  // namespace

TEST_F(WinTest, ThreadTimersCallTheirProcedureAndShortPeriodsAreRaised) {
  procTicks.clear();
  UINT_PTR id = SetTimer(nullptr, 0, 1, recordTick);
  ASSERT_NE(id, 0u);
  AdvanceTime(Env.Clock(), 25);
  ASSERT_EQ(procTicks.size(), 2u);  // every USER_TIMER_MINIMUM ms, not every 1 ms
  EXPECT_EQ(procTicks[0].first, id);
  EXPECT_TRUE(KillTimer(nullptr, id));
  AdvanceTime(Env.Clock(), 100);
  EXPECT_EQ(procTicks.size(), 2u);
}

TEST_F(WinTest, TimersOfADestroyedWindowStop) {
  HWND w = Popup({0, 0, 100, 100});
  Integer fired = 0;
  On(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_TIMER) ++fired;
    return std::nullopt;
  });
  SetTimer(w, 1, 10, nullptr);
  DestroyWindow(w);
  AdvanceTime(Env.Clock(), 100);
  EXPECT_EQ(fired, 0);
}

TEST_F(WinTest, NestedModalLoopServesAWorkersSynchronize) {
  HWND w = Popup({0, 0, 100, 100});
  bool done = false;
  std::atomic<bool> ranOnMain{false};
  class TWorker : public TThread {
   public:
    TWorker(bool& done, std::atomic<bool>& ranOnMain) : TThread(true), FDone(done), FRanOnMain(ranOnMain) {}

   protected:
    void Execute() override {
      Synchronize([this] {
        FRanOnMain = IsMainThread();
        FDone = true;
      });
    }

   private:
    bool& FDone;
    std::atomic<bool>& FRanOnMain;
  };
  TWorker worker(done, ranOnMain);
  // The worker starts only once the loop runs, so the loop really has to serve the call.
  OnNextModalLoop([&] { worker.Start(); });
  EXPECT_TRUE(WinRunModalLoop([&] { return done; }, w));
  EXPECT_TRUE(ranOnMain);
  worker.WaitFor();
}

TEST_F(WinTest, SendMessageFromAWorkerRunsOnTheMainThread) {
  HWND w = Popup({0, 0, 100, 100});
  std::atomic<bool> onMain{false};
  On(w, [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) {
      onMain = IsMainThread();
      return LRESULT(wp * 2);
    }
    return std::nullopt;
  });
  std::atomic<LRESULT> result{0};
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    result = SendMessage(w, WM_USER, 21, 0);
    finished = true;
    PostMessage(w, WM_NULL, 0, 0);  // wakes the loop to look at `finished`
  });
  EXPECT_TRUE(WinRunModalLoop([&] { return finished.load(); }));
  worker.join();
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(onMain);
}

TEST_F(WinTest, PostMessageFromAWorkerWakesTheLoop) {
  HWND w = Popup({0, 0, 100, 100});
  bool got = false;
  On(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_APP) got = true;
    return std::nullopt;
  });
  OnNextModalLoop([&] { std::thread([w] { PostMessage(w, WM_APP, 0, 0); }).detach(); });
  EXPECT_TRUE(WinRunModalLoop([&] { return got; }));
}

// Messages posted by a worker while input moves the cursor carry a position that input set, whole:
// each position has equal coordinates, so a torn read shows as X != Y (and ThreadSanitizer sees the
// unguarded read).
TEST_F(WinTest, PostedFromAWorkerWhileTheCursorMovesCarryAWholeCursorPosition) {
  HWND w = Popup({0, 0, 100, 100});
  Pump();
  constexpr int kPosts = 2000;
  std::atomic<bool> started{false};
  std::thread worker([&] {
    started = true;
    for (int i = 0; i < kPosts; ++i) PostMessage(w, WM_APP, WPARAM(i), 0);
  });
  while (!started) std::this_thread::yield();
  for (int i = 1; i <= kPosts; ++i) WinInputMouseMove({i * 65537, i * 65537});
  worker.join();
  MSG m;
  int seen = 0;
  while (PeekMessage(&m, w, WM_APP, WM_APP, PM_REMOVE)) {
    ++seen;
    EXPECT_EQ(m.pt.X, m.pt.Y) << "message " << m.wParam;
    EXPECT_EQ(m.pt.X % 65537, 0) << "message " << m.wParam;
  }
  EXPECT_EQ(seen, kPosts);
  Pump();
}

TEST_F(WinTest, ModalLoopEndsOnQuitAndLeavesItForTheOuterLoop) {
  PostQuitMessage(9);
  EXPECT_FALSE(WinRunModalLoop([] { return false; }));
  MSG m;
  EXPECT_FALSE(GetMessage(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 9u);
}

TEST_F(WinTest, ApplicationFilterSeesMessagesBeforeDispatch) {
  HWND w = Popup({0, 0, 100, 100});
  Pump();
  std::vector<UINT> dispatched;
  On(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER || m == WM_USER + 1) dispatched.push_back(m);
    return std::nullopt;
  });
  SetApplicationMessageFilter([](MSG& m) { return m.message == WM_USER; });
  PostMessage(w, WM_USER, 0, 0);
  PostMessage(w, WM_USER + 1, 0, 0);
  Pump();
  EXPECT_EQ(dispatched, (std::vector<UINT>{WM_USER + 1}));
}

TEST_F(WinTest, SubclassingChainsThroughCallWindowProc) {
  HWND w = Popup({0, 0, 100, 100});
  static WNDPROC previous = nullptr;
  static std::vector<String> calls;
  calls.clear();
  WNDPROC sub = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER) calls.push_back("sub");
    return CallWindowProc(previous, h, m, wp, lp);
  };
  On(w, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) {
      calls.push_back("original");
      return 5;
    }
    return std::nullopt;
  });
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sub)));
  EXPECT_EQ(previous, TestWndProc);
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 5);
  EXPECT_EQ(calls, (std::vector<String>{"sub", "original"}));
  // An object instance as the procedure.
  Integer seen = 0;
  WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
    if (m.Msg == WM_USER) {
      ++seen;
      m.Result = 77;
    }
  });
  WNDPROC before =
      reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(inst)));
  EXPECT_EQ(before, sub);
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 77);
  EXPECT_EQ(seen, 1);
  SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TestWndProc));
  FreeObjectInstance(inst);
}

TEST_F(WinTest, DeferredActionsRunAfterTheCurrentMessage) {
  HWND w = Popup({0, 0, 100, 100});
  Pump();
  std::vector<String> log;
  On(w, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) {
      WinDeferAction([&log, h] {
        log.push_back("deferred");
        DestroyWindow(h);
      });
      log.push_back("handler");
      return 0;
    }
    return std::nullopt;
  });
  PostMessage(w, WM_USER, 0, 0);
  PostMessage(w, WM_USER + 5, 0, 0);
  Pump();
  EXPECT_EQ(log, (std::vector<String>{"handler", "deferred"}));
  EXPECT_FALSE(IsWindow(w));
}

// A wait of the main thread (ServeMainThreadWait, which the engine's stops and closes run) handles
// the calls of other threads and the window messages, and leaves a WM_QUIT for the loop that
// waits for it, once, with its code.
TEST_F(WinTest, AMainThreadWaitServesCallsAndMessagesAndKeepsTheQuit) {
  HWND w = Popup({0, 0, 10, 10});
  Pump();
  std::vector<UINT> handled;
  On(w, [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg >= WM_USER) handled.push_back(msg);
    return std::nullopt;
  });
  std::atomic<bool> queuedRan{false};
  std::thread worker([&] { TThread::Queue(nullptr, [&] { queuedRan = true; }); });
  worker.join();
  PostQuitMessage(7);
  PostMessage(w, WM_USER + 1, 0, 0);
  PostMessage(w, WM_USER + 2, 0, 0);
  ServeMainThreadWait();
  EXPECT_TRUE(queuedRan);
  EXPECT_EQ(handled, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, WPARAM(7));
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE)) << "left in the queue: " << m.message;
  DestroyWindow(w);
}
