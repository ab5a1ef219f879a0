// TTimer: OnTimer every Interval milliseconds of the process clock while Enabled, on the main thread.
#pragma once

#include "platform/rtl/classes.h"
#include "platform/win/win.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  // Safe inside the timer's own OnTimer: nothing of the timer is touched after the handler returns.
  ~TTimer() override;
  String ClassName() const override { return "TTimer"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  // The platform timer runs while Enabled with a non-zero Interval; a tick without a handler does
  // nothing.
  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  friend void timerFired(UINT_PTR Id);
  void updateTimer();

  bool FEnabled = true;
  Cardinal FInterval = 1000;
  UINT_PTR FId = 0;
  bool* FAlive = nullptr;  // cleared by the destructor while a tick runs
};
