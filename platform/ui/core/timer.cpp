// TTimer over the platform's thread timers (a null window: the timer procedure runs on dispatch).
#include "platform/ui/core/timer.h"

#include <unordered_map>

#include "platform/ui/core/application.h"

void timerFired(UINT_PTR Id);

namespace {
std::unordered_map<UINT_PTR, TTimer*>& timers() {
  static std::unordered_map<UINT_PTR, TTimer*> Map;
  return Map;
}

void timerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  timerFired(Id);
}
}  // namespace

void timerFired(UINT_PTR Id) {
  auto it = timers().find(Id);
  if (it == timers().end()) return;
  TTimer* T = it->second;
  bool Alive = true;
  bool* Outer = T->FAlive;
  T->FAlive = &Alive;
  try {
    T->Timer();
  } catch (const Exception& E) {
    if (Alive) T->FAlive = Outer;
    if (Application != nullptr)
      Application->HandleException(Alive ? T : nullptr, E);
    else
      throw;
    return;
  }
  if (Alive) T->FAlive = Outer;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  updateTimer();
}

TTimer::~TTimer() {
  if (FAlive != nullptr) *FAlive = false;
  FEnabled = false;
  updateTimer();
}

void TTimer::updateTimer() {
  if (FId != 0) {
    KillTimer(nullptr, FId);
    timers().erase(FId);
    FId = 0;
  }
  if (FEnabled && FInterval != 0 && !ComponentState().Contains(csDestroying)) {
    FId = SetTimer(nullptr, 0, FInterval, timerProc);
    if (FId == 0) throw EOutOfResources("Not enough timers available");
    timers()[FId] = this;
  }
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  updateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  updateTimer();
}

void TTimer::Timer() {
  if (!OnTimer) return;
  // The handler may free the timer (and with it OnTimer): call a copy.
  TNotifyEvent Handler = OnTimer;
  Handler(this);
}
