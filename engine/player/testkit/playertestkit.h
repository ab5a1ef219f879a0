// The player's tests: the player's libraries loaded (system search), SDL's dummy video and audio
// drivers, the probe's test media, and a recorder of the player's events in their order.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "engine/base/ffmpegloader.h"
#include "engine/base/testkit/watchdog.h"
#include "engine/player/customplayer.h"
#include "engine/probe/testkit/testmedia.h"
#include "platform/rtl/threads.h"

// Serves the main thread's queue until APredicate holds or ALimitMs passed; whether it held.
inline bool ServeUntil(const std::function<bool()>& APredicate, Integer ALimitMs = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ALimitMs);
  while (!APredicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    CheckSynchronize(5);
  }
  return true;
}

// What a player reported, in order: states and positions (on the main thread by default).
struct TPlayerRecorder {
  mutable std::mutex Lock;
  std::vector<TPlayState> States;
  std::vector<Int64> Positions;
  std::vector<bool> OnMainThread;
  void Attach(TCustomPlayer& APlayer) {
    APlayer.OnState = [this](TObject*, const TPlayState AState) {
      std::lock_guard<std::mutex> hold(Lock);
      States.push_back(AState);
      OnMainThread.push_back(IsMainThread());
    };
    APlayer.OnPosition = [this](TObject*, const Int64 APTS) {
      std::lock_guard<std::mutex> hold(Lock);
      Positions.push_back(APTS);
      OnMainThread.push_back(IsMainThread());
    };
  }
  std::vector<TPlayState> StatesNow() const {
    std::lock_guard<std::mutex> hold(Lock);
    return States;
  }
  std::vector<Int64> PositionsNow() const {
    std::lock_guard<std::mutex> hold(Lock);
    return Positions;
  }
  bool Saw(TPlayState AState) const {
    std::lock_guard<std::mutex> hold(Lock);
    for (TPlayState s : States)
      if (s == AState) return true;
    return false;
  }
};

class TPlayerTestBase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(FFLoader()->Load(PlayerLibraries)) << FFLoader()->LastErrMsg();
  }
  void SetUp() override { ASSERT_TRUE(TestMedia().Ready) << "the ffmpeg tool could not make the test media"; }
  const TTestMedia& Media() const { return TestMedia(); }
};
