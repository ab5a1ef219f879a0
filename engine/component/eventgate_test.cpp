// The gate that serialises the component's events: held like a recursive lock, left by a waiter
// that is told to give up, and waited at by the main thread without starving its queue.
#include "engine/component/eventgate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/base/engineutils.h"
#include "engine/base/testkit/watchdog.h"

using enginetest::TWatchdog;

namespace {

// Whether another thread passes the gate now (it gives up at once when the gate is held).
bool OtherThreadPasses(TEventGate& AGate) {
  bool passed = false;
  std::thread([&] {
    passed = AGate.Enter([] { return true; });
    if (passed) AGate.Leave();
  }).join();
  return passed;
}

TEST(EventGate, TheHolderPassesAgainAndOthersWaitUntilItLeavesEveryTime) {
  TEventGate gate;
  EXPECT_TRUE(OtherThreadPasses(gate));
  ASSERT_TRUE(gate.Enter());
  ASSERT_TRUE(gate.Enter([] { return true; }));  // held by this thread: no waiting, no giving up
  EXPECT_FALSE(OtherThreadPasses(gate));
  gate.Leave();
  EXPECT_FALSE(OtherThreadPasses(gate));
  gate.Leave();
  EXPECT_TRUE(OtherThreadPasses(gate));
}

TEST(EventGate, AWaiterGivesUpWhenAskedAndPassesOtherwise) {
  TEventGate gate;
  ASSERT_TRUE(gate.Enter());
  std::atomic<bool> giveUp{false};
  std::atomic<int> results{-1};
  // The waiter asks whether to give up each time it looks at the held gate; the second question
  // shows it found the gate held, waited, and is waiting still.
  std::atomic<int> asked{0};
  auto askedTwice = [&] {
    TWatchdog watchdog("a waiter at a held gate", std::chrono::seconds(10));
    while (asked < 2) std::this_thread::yield();
  };
  auto giveUpWhenTold = [&] {
    ++asked;
    return giveUp.load();
  };
  EXPECT_EQ(gate.Waiters(), 0);
  std::thread waiter([&] { results = gate.Enter(giveUpWhenTold) ? 1 : 0; });
  askedTwice();
  EXPECT_EQ(results, -1);  // still waiting
  EXPECT_EQ(gate.Waiters(), 1);
  giveUp = true;
  waiter.join();
  EXPECT_EQ(results, 0);
  EXPECT_EQ(gate.Waiters(), 0);

  // Without the request it passes once the holder leaves.
  giveUp = false;
  results = -1;
  asked = 0;
  std::thread second([&] {
    results = gate.Enter(giveUpWhenTold) ? 1 : 0;
    if (results == 1) gate.Leave();
  });
  askedTwice();
  EXPECT_EQ(results, -1);
  EXPECT_EQ(gate.Waiters(), 1);
  gate.Leave();
  second.join();
  EXPECT_EQ(results, 1);
  EXPECT_EQ(gate.Waiters(), 0);
}

TEST(EventGate, TheMainThreadServesItsQueueWhileItWaits) {
  // The holder waits for the main thread before it leaves.
  TEventGate gate;
  std::atomic<bool> holding{false};
  bool servedOnMain = false;
  std::thread holder([&] {
    gate.Enter();
    holding = true;
    CallInMainThread([&] { servedOnMain = IsMainThread(); });
    gate.Leave();
  });
  while (!holding) std::this_thread::yield();
  {
    TWatchdog watchdog("the main thread's wait at a held gate", std::chrono::seconds(30));
    ASSERT_TRUE(gate.Enter());
  }
  gate.Leave();
  holder.join();
  EXPECT_TRUE(servedOnMain);
}

}  // namespace
