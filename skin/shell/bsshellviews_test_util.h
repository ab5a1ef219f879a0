// Test support of the shell views: waiting for change notices as the main thread receives them.
#pragma once

#include <chrono>
#include <functional>

#include "platform/rtl/threads.h"
#include "platform/win/testkit/testkit.h"

// Handles delivered notices and deferred actions until Done holds (false after a few seconds).
inline bool PumpShellNotices(const std::function<bool()>& Done) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > End) return false;
    CheckSynchronize(10);
    wintest::Pump();
  }
  return true;
}
