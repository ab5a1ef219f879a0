#include "engine/component/eventgate.h"

#include <chrono>

bool TEventGate::Enter(const std::function<bool()>& AGiveUp) {
  const Cardinal self = GetCurrentThreadId();
  const bool onMain = IsMainThread();
  std::unique_lock<std::mutex> hold(FLock);
  // Counted among the waiters from the first look at a held gate until it passes or gives up.
  struct TWaiting {
    std::atomic<Integer>& Count;
    bool Counted = false;
    ~TWaiting() {
      if (Counted) --Count;
    }
  } waiting{FWaiters};
  for (;;) {
    if (FDepth == 0 || FOwner == self) {
      FOwner = self;
      ++FDepth;
      return true;
    }
    if (AGiveUp && AGiveUp()) return false;
    if (!waiting.Counted) {
      waiting.Counted = true;
      ++FWaiters;
    }
    if (onMain) {
      hold.unlock();
      CheckSynchronize(2);
      hold.lock();
    } else {
      // The give-up answer changes without a signal: look again now and then.
      FFree.wait_for(hold, std::chrono::milliseconds(10));
    }
  }
}

void TEventGate::Leave() {
  {
    std::lock_guard<std::mutex> hold(FLock);
    if (--FDepth == 0) FOwner = 0;
  }
  FFree.notify_all();
}
