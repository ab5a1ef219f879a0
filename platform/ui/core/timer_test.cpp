#include "platform/ui/core/timer.h"

#include <gtest/gtest.h>

#include "platform/ui/core/application.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

// ---- timers ----

TEST_F(TUiTest, TimerFreedInItsOwnTickStopsAndOthersGoOn) {
  int SelfFreeingTicks = 0, OtherTicks = 0;
  auto* Once = new TTimer(nullptr);
  Once->SetInterval(100);
  Once->OnTimer = [&](TObject* Sender) {
    ++SelfFreeingTicks;
    delete static_cast<TTimer*>(Sender);
  };
  auto* Steady = new TTimer(Application);
  Steady->SetInterval(100);
  Steady->OnTimer = [&](TObject*) { ++OtherTicks; };
  wintest::AdvanceTime(Clock(), 350);
  EXPECT_EQ(SelfFreeingTicks, 1);
  EXPECT_EQ(OtherTicks, 3);
  Steady->SetEnabled(false);
  wintest::AdvanceTime(Clock(), 300);
  EXPECT_EQ(OtherTicks, 3);
  Steady->SetInterval(50);
  Steady->SetEnabled(true);
  wintest::AdvanceTime(Clock(), 120);
  EXPECT_EQ(OtherTicks, 5);
}

TEST_F(TUiTest, ExceptionInATimerGoesToTheApplication) {
  std::vector<String> Seen;
  Application->OnException = [&](TObject*, const Exception& E) { Seen.push_back(E.Message()); };
  auto* T = new TTimer(Application);
  T->SetInterval(100);
  T->OnTimer = [&](TObject*) {
    T->SetEnabled(false);
    throw EInvalidOperation("tick failed");
  };
  EXPECT_NO_THROW(wintest::AdvanceTime(Clock(), 150));
  EXPECT_EQ(Seen, (std::vector<String>{"tick failed"}));
}

}  // namespace
