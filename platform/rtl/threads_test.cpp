#include "platform/rtl/threads.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/rtl/clock.h"

namespace {

// A thread whose body is given by the test; started by AfterConstruction unless suspended.
class TBodyThread : public TThread {
 public:
  using TBody = std::function<void(TBodyThread&)>;
  TBodyThread(bool CreateSuspended, TBody Body, bool* Destroyed = nullptr)
      : TThread(CreateSuspended), FBody(std::move(Body)), FDestroyed(Destroyed) {
    AfterConstruction();
  }
  ~TBodyThread() override {
    if (FDestroyed) *FDestroyed = true;
  }
  using TThread::SetReturnValue;

 protected:
  void Execute() override { FBody(*this); }

 private:
  TBody FBody;
  bool* FDestroyed;
};

bool wakeFdReadable() {
  pollfd p{MainThreadWakeFd(), POLLIN, 0};
  return poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

// Serves the main-thread queue until Done holds; fails the test instead of hanging for ever.
template <typename Pred>
bool serveUntil(Pred Done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    CheckSynchronize(10);
  }
  return true;
}

// What a worker saw of its Synchronize calls.
struct TSyncReport {
  Cardinal RanOn = 0;
  Integer Value = 0;
  bool CaughtConvertError = false;
  String Message;
};

void synchronizeTwice(TBodyThread& Self, TSyncReport& Report) {
  Integer fromMain = 0;
  Self.Synchronize([&] {
    Report.RanOn = GetCurrentThreadId();
    fromMain = 41 + 1;
  });
  Report.Value = fromMain;
  try {
    TThread::Synchronize(nullptr, [] { throw EConvertError("bad value"); });
  } catch (const EConvertError& e) {
    Report.CaughtConvertError = true;
    Report.Message = e.Message();
  }
  Self.SetReturnValue(Report.Value);
}

enum class TMainWait { CheckSynchronizeLoop, WaitFor };

class SynchronizeFromWorker : public testing::TestWithParam<TMainWait> {};

TEST_P(SynchronizeFromWorker, RunsOnMainThreadAndCarriesResultAndExceptionBack) {
  ASSERT_TRUE(IsMainThread());
  TSyncReport report;
  TBodyThread thread(false, [&](TBodyThread& self) { synchronizeTwice(self, report); });
  if (GetParam() == TMainWait::WaitFor) {
    EXPECT_EQ(thread.WaitFor(), 42);
  } else {
    ASSERT_TRUE(serveUntil([&] { return thread.Finished(); }));
    EXPECT_EQ(thread.WaitFor(), 42);
  }
  EXPECT_EQ(report.RanOn, MainThreadID);
  EXPECT_NE(thread.ThreadID(), MainThreadID);
  EXPECT_EQ(report.Value, 42);
  EXPECT_TRUE(report.CaughtConvertError);
  EXPECT_EQ(report.Message, "bad value");
  EXPECT_FALSE(wakeFdReadable());
}

INSTANTIATE_TEST_SUITE_P(MainThreadWaits, SynchronizeFromWorker,
                         testing::Values(TMainWait::CheckSynchronizeLoop, TMainWait::WaitFor));

// A main thread waiting for an event that a worker sets only after its Synchronize'd call: the wait
// must serve that call, and runs the installed hook between its looks.
TEST(MainThreadQueue, AWaitForAnEventServesTheWorkerAndRunsTheHook) {
  int hookCalls = 0;
  SetMainThreadWaitHook([&] { ++hookCalls; });
  TSimpleEvent done;
  Cardinal ranOn = 0;
  std::thread worker([&] {
    TThread::Synchronize(nullptr, [&] { ranOn = GetCurrentThreadId(); });
    done.SetEvent();
  });
  WaitServingMainThread(done);
  worker.join();
  SetMainThreadWaitHook(nullptr);
  EXPECT_EQ(ranOn, MainThreadID);
  EXPECT_GE(hookCalls, 1);
  // Off the main thread a serve does nothing, hook or not.
  hookCalls = 0;
  SetMainThreadWaitHook([&] { ++hookCalls; });
  std::thread([] { ServeMainThreadWait(); }).join();
  SetMainThreadWaitHook(nullptr);
  EXPECT_EQ(hookCalls, 0);
}

TEST(MainThreadQueue, QueuedCallsRunInOrderAndRemovedOwnersAreDropped) {
  int ownerA = 0, ownerB = 0;
  std::vector<int> ran;
  int wakeCalls = 0;
  SetWakeMainThread([&] { ++wakeCalls; });
  std::thread worker([&] {
    TThread::Queue(&ownerA, [&] { ran.push_back(1); });
    TThread::Queue(&ownerB, [&] { ran.push_back(2); });
    TThread::Queue(&ownerA, [&] { ran.push_back(3); });
    TThread::Queue(&ownerB, [&] { ran.push_back(4); });
  });
  worker.join();
  SetWakeMainThread(nullptr);
  EXPECT_EQ(wakeCalls, 4);
  EXPECT_TRUE(ran.empty());  // nothing runs before the main thread serves the queue
  EXPECT_TRUE(wakeFdReadable());

  TThread::RemoveQueuedEvents(&ownerB);
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  EXPECT_FALSE(wakeFdReadable());
  EXPECT_FALSE(CheckSynchronize());

  // Removing the last pending call also clears the wake-up.
  std::thread([&] { TThread::Queue(&ownerA, [&] { ran.push_back(5); }); }).join();
  EXPECT_TRUE(wakeFdReadable());
  TThread::RemoveQueuedEvents(&ownerA);
  EXPECT_FALSE(wakeFdReadable());
  EXPECT_FALSE(CheckSynchronize());

  // On the main thread Queue runs at once.
  TThread::Queue(&ownerA, [&] { ran.push_back(6); });
  EXPECT_EQ(ran, (std::vector<int>{1, 3, 6}));
}

TEST(MainThreadQueue, QueuedExceptionLeavesCheckSynchronizeAndLaterCallsStay) {
  std::vector<int> ran;
  std::thread([&] {
    TThread::Queue(nullptr, [] { throw EInvalidOperation("queued failure"); });
    TThread::Queue(nullptr, [&] { ran.push_back(2); });
  }).join();
  EXPECT_THROW(CheckSynchronize(), EInvalidOperation);
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(wakeFdReadable());
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(ran, std::vector<int>{2});
}

TEST(MainThreadQueue, CheckSynchronizeOffTheMainThreadRaises) {
  bool raised = false;
  String message;
  std::thread([&] {
    try {
      CheckSynchronize();
    } catch (const EThread& e) {
      raised = true;
      message = e.Message();
    }
  }).join();
  EXPECT_TRUE(raised);
  EXPECT_NE(message.find("NOT the main thread"), String::npos) << message;
}

TEST(Thread, FreeOnTerminateRunsOnTerminateOnMainThreadThenFreesItself) {
  bool destroyed = false;
  std::vector<String> order;
  Cardinal terminateRanOn = 0;
  auto* thread = new TBodyThread(
      true, [&](TBodyThread&) { order.push_back("execute"); }, &destroyed);
  thread->SetFreeOnTerminate(true);
  thread->OnTerminate = [&](TObject* Sender) {
    EXPECT_EQ(Sender, thread);
    terminateRanOn = GetCurrentThreadId();
    order.push_back(destroyed ? "terminate after free" : "terminate");
  };
  EXPECT_TRUE(thread->Suspended());
  thread->Start();
  ASSERT_TRUE(serveUntil([&] { return destroyed; }));
  EXPECT_EQ(terminateRanOn, MainThreadID);
  EXPECT_EQ(order, (std::vector<String>{"execute", "terminate"}));
}

TEST(Thread, WaitForGivesReturnValueOrKeepsTheFatalException) {
  struct TCase {
    bool Throws;
    Integer Expected;
  };
  for (const TCase& c : {TCase{false, 7}, TCase{true, 3}}) {
    TBodyThread thread(false, [&](TBodyThread& self) {
      self.SetReturnValue(c.Expected);
      if (c.Throws) throw EConvertError("boom");
    });
    EXPECT_EQ(thread.WaitFor(), c.Expected);
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.FatalException() != nullptr, c.Throws);
    if (c.Throws) {
      try {
        std::rethrow_exception(thread.FatalException());
      } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "boom");
      }
    }
    EXPECT_EQ(thread.WaitFor(), c.Expected);  // a second wait returns at once
  }
}

TEST(Thread, DestroyingARunningThreadTerminatesAndWaits) {
  std::atomic<bool> sawTerminated{false};
  std::atomic<bool> running{false};
  auto* thread = new TBodyThread(false, [&](TBodyThread& self) {
    running = true;
    while (!self.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sawTerminated = true;
  });
  while (!running) std::this_thread::yield();
  delete thread;
  EXPECT_TRUE(sawTerminated);
}

TEST(Thread, MisuseRaisesEThread) {
  TBodyThread thread(true, [](TBodyThread&) {});
  EXPECT_EQ(thread.WaitFor(), 0);  // never started: nothing to wait for
  thread.Start();
  EXPECT_THROW(thread.Start(), EThread);
  thread.WaitFor();

  bool selfWaitRaised = false;
  TBodyThread selfWaiter(false, [&](TBodyThread& self) {
    try {
      self.WaitFor();
    } catch (const EThread&) {
      selfWaitRaised = true;
    }
  });
  selfWaiter.WaitFor();
  EXPECT_TRUE(selfWaitRaised);
}

TEST(Thread, PriorityMapsToTheThreadsNiceValue) {
  TSimpleEvent release;
  TBodyThread thread(false, [&](TBodyThread&) { release.WaitFor(); });
  errno = 0;
  const int before = getpriority(PRIO_PROCESS, id_t(thread.ThreadID()));
  ASSERT_EQ(errno, 0);
  thread.SetPriority(tpLower);  // lowering is always allowed
  EXPECT_EQ(getpriority(PRIO_PROCESS, id_t(thread.ThreadID())), std::max(before, 5));
  thread.SetPriority(tpTimeCritical);  // may be refused; the property keeps the value
  EXPECT_EQ(thread.Priority(), tpTimeCritical);
  release.SetEvent();
  thread.WaitFor();
}

// Run in a child process started under `nice 12`: normal and lower priorities keep the thread at the
// process's level (setting a lower nice value succeeds for root, so only the mapping can hold it).
TEST(Thread, LowerPrioritiesNeverRaiseAThreadAboveItsNicedProcess) {
  const auto body = [] {
    if (setpriority(PRIO_PROCESS, 0, 12) != 0) std::_Exit(2);
    const struct {
      TThreadPriority priority;
      int nice;
    } cases[] = {{tpIdle, 19}, {tpLowest, 12}, {tpLower, 12}, {tpNormal, 12}};
    int failures = 0;
    for (const auto& c : cases) {
      TSimpleEvent release;
      TBodyThread thread(false, [&](TBodyThread&) { release.WaitFor(); });
      thread.SetPriority(c.priority);
      errno = 0;
      const int nice = getpriority(PRIO_PROCESS, id_t(thread.ThreadID()));
      if (errno != 0 || nice != c.nice) {
        std::fprintf(stderr, "priority %d: nice %d, expected %d\n", int(c.priority), nice, c.nice);
        ++failures;
      }
      release.SetEvent();
      thread.WaitFor();
    }
    std::_Exit(failures == 0 ? 0 : 1);
  };
  EXPECT_EXIT(body(), testing::ExitedWithCode(0), "");
}

TEST(Event, ManualAndAutoReset) {
  TEvent manual(true, true);
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(20), wrTimeout);

  TEvent automatic(false, false);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);
  automatic.SetEvent();
  EXPECT_EQ(automatic.WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);  // one waiter only

  TSimpleEvent simple;
  std::thread setter([&] { simple.SetEvent(); });
  EXPECT_EQ(simple.WaitFor(INFINITE), wrSignaled);
  setter.join();
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  TCriticalSection lock;
  lock.Enter();
  EXPECT_TRUE(lock.TryEnter());
  bool otherGot = true;
  std::thread([&] { otherGot = lock.TryEnter(); }).join();
  EXPECT_FALSE(otherGot);
  lock.Leave();
  lock.Release();
  std::thread([&] {
    otherGot = lock.TryEnter();
    if (otherGot) lock.Leave();
  }).join();
  EXPECT_TRUE(otherGot);
}

TEST(Clock, FakeClockMovesOnlyWhenToldAndWraps) {
  {
    TFakeClock clock(0xFFFFFFF0ull);
    clock.Install();
    EXPECT_EQ(CurrentClock(), &clock);
    EXPECT_EQ(GetTickCount64(), 0xFFFFFFF0ull);
    Sleep(60000);  // a minute passes at once
    EXPECT_EQ(GetTickCount64(), 0xFFFFFFF0ull + 60000);
    EXPECT_EQ(GetTickCount(), Cardinal(0xFFFFFFF0ull + 60000));
    clock.Advance(5);
    EXPECT_EQ(GetTickCount(), Cardinal(0xFFFFFFF0ull + 60005));
  }
  EXPECT_EQ(CurrentClock(), nullptr);  // the clock uninstalled itself
  const UInt64 a = GetTickCount64();
  Sleep(2);
  EXPECT_GE(GetTickCount64(), a + 2);
}

}  // namespace
