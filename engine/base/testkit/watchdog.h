// Ends a test program that hangs: a test that could deadlock arms a watchdog for its risky part,
// and when that part has not finished in time the program reports what hung and exits with a
// failure instead of blocking CI until its time-out.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace enginetest {

class TWatchdog {
 public:
  TWatchdog(std::string AWhat, std::chrono::seconds ALimit) : FWhat(std::move(AWhat)) {
    FThread = std::thread([this, ALimit] {
      std::unique_lock<std::mutex> hold(FLock);
      if (FSignal.wait_for(hold, ALimit, [this] { return FDisarmed; })) return;
      std::fprintf(stderr, "\nDEADLOCK: %s did not return within %lld s\n", FWhat.c_str(),
                   static_cast<long long>(ALimit.count()));
      std::fflush(stderr);
      std::_Exit(3);
    });
  }
  ~TWatchdog() { Disarm(); }
  TWatchdog(const TWatchdog&) = delete;
  TWatchdog& operator=(const TWatchdog&) = delete;

  // The guarded part is over.
  void Disarm() {
    {
      std::lock_guard<std::mutex> hold(FLock);
      FDisarmed = true;
    }
    FSignal.notify_all();
    if (FThread.joinable()) FThread.join();
  }

 private:
  std::string FWhat;
  std::mutex FLock;
  std::condition_variable FSignal;
  bool FDisarmed = false;
  std::thread FThread;
};

}  // namespace enginetest
