// An event handler that other threads read while the owner thread may assign it.
#pragma once

#include <cstddef>
#include <mutex>
#include <utility>

// Assignment and reading are guarded, so a handler replaced or detached while other threads
// deliver events is never half-read; a reader calls the copy Get gives it.
template <typename F>
class TGuardedEvent {
 public:
  TGuardedEvent& operator=(F AHandler) {
    F old;
    {
      std::lock_guard<std::mutex> hold(FLock);
      old = std::exchange(FHandler, std::move(AHandler));
    }
    // The old handler's captures go outside the lock.
    return *this;
  }
  TGuardedEvent& operator=(std::nullptr_t) { return *this = F(); }
  explicit operator bool() const {
    std::lock_guard<std::mutex> hold(FLock);
    return bool(FHandler);
  }
  F Get() const {
    std::lock_guard<std::mutex> hold(FLock);
    return FHandler;
  }

 private:
  mutable std::mutex FLock;
  F FHandler;
};
