// The lock that lets the component's events of one kind through one at a time.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/rtl/threads.h"

// Like a recursive lock, except for how a thread waits to pass: it gives up when AGiveUp answers
// true (its task is being stopped, while the holder may wait for the very thread that stops it),
// and on the main thread it keeps serving the main-thread queue, which the holder may be waiting for.
class TEventGate {
 public:
  // False when AGiveUp answered true while another thread held the gate. The holder passes again at
  // once.
  bool Enter(const std::function<bool()>& AGiveUp = {});
  void Leave();
  // The threads waiting in Enter now, because another thread holds the gate.
  Integer Waiters() const { return FWaiters; }

 private:
  std::mutex FLock;
  std::condition_variable FFree;
  Cardinal FOwner = 0;
  Integer FDepth = 0;
  std::atomic<Integer> FWaiters{0};
};

// Holds a gate for a scope when it could be entered.
class TEventGatePass {
 public:
  explicit TEventGatePass(TEventGate& AGate, const std::function<bool()>& AGiveUp = {})
      : FGate(AGate), FPassed(AGate.Enter(AGiveUp)) {}
  ~TEventGatePass() {
    if (FPassed) FGate.Leave();
  }
  TEventGatePass(const TEventGatePass&) = delete;
  TEventGatePass& operator=(const TEventGatePass&) = delete;
  bool Passed() const { return FPassed; }

 private:
  TEventGate& FGate;
  bool FPassed;
};
