// The one clock behind GetTickCount, GetTickCount64 and Sleep: the real monotonic clock, or a fake
// one that tests install so that time moves only when they say so.
#pragma once

#include <atomic>

#include "platform/rtl/types.h"

// Milliseconds since an arbitrary start; the 32-bit form wraps like the platform's.
Cardinal GetTickCount();
UInt64 GetTickCount64();
// Blocks for Milliseconds (real clock) or advances the fake clock by that much without blocking.
void Sleep(Cardinal Milliseconds);

class TClock {
 public:
  virtual ~TClock() = default;
  virtual UInt64 TickCount64() = 0;
  virtual void Sleep(Cardinal Milliseconds) = 0;
};

// Installs Clock as the process clock (nullptr restores the real one). The caller keeps ownership
// and must uninstall it before freeing it.
void SetClock(TClock* Clock);
TClock* CurrentClock();  // nullptr while the real clock runs

// A clock that stands still until Advance (or Sleep while installed) moves it.
class TFakeClock : public TClock {
 public:
  explicit TFakeClock(UInt64 StartTicks = 0) : FTicks(StartTicks) {}
  ~TFakeClock() override;  // uninstalls itself when installed

  void Install();
  void Uninstall();
  void Advance(UInt64 Milliseconds) { FTicks += Milliseconds; }
  void SetTicks(UInt64 Ticks) { FTicks = Ticks; }

  UInt64 TickCount64() override { return FTicks; }
  void Sleep(Cardinal Milliseconds) override { Advance(Milliseconds); }

 private:
  std::atomic<UInt64> FTicks;
};
