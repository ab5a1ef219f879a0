#include "platform/rtl/clock.h"

#include <time.h>

#include <cerrno>

namespace {

std::atomic<TClock*> gClock{nullptr};

UInt64 realTicks() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return UInt64(ts.tv_sec) * 1000u + UInt64(ts.tv_nsec) / 1000000u;
}

void realSleep(Cardinal Milliseconds) {
  timespec ts{time_t(Milliseconds / 1000), long(Milliseconds % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

}  // namespace

Cardinal GetTickCount() {
  return Cardinal(GetTickCount64());
}

UInt64 GetTickCount64() {
  TClock* clock = gClock.load();
  return clock ? clock->TickCount64() : realTicks();
}

void Sleep(Cardinal Milliseconds) {
  TClock* clock = gClock.load();
  if (clock)
    clock->Sleep(Milliseconds);
  else
    realSleep(Milliseconds);
}

void SetClock(TClock* Clock) {
  gClock.store(Clock);
}

TClock* CurrentClock() {
  return gClock.load();
}

TFakeClock::~TFakeClock() {
  Uninstall();
}

void TFakeClock::Install() {
  SetClock(this);
}

void TFakeClock::Uninstall() {
  TClock* self = this;
  gClock.compare_exchange_strong(self, nullptr);
}
