// TProgressBar: a bar filled in the accent colour in proportion to Position within Min..Max. It shows
// progress only: it takes neither the focus nor input.
#pragma once

#include "platform/ui/core/customcontrol.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };
// Normal progress in the accent; an error in the error red; paused in the warning amber.
enum TProgressBarState { pbsNormal, pbsError, pbsPaused };

class TProgressBar : public TCustomControl {
 public:
  explicit TProgressBar(TComponent* AOwner);
  String ClassName() const override { return "TProgressBar"; }

  Integer Min() const { return FMin; }
  // A minimum above the maximum pulls the maximum up with it (and the reverse for SetMax); the
  // position is kept inside the range.
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value);
  Integer Step() const { return FStep; }
  void SetStep(Integer Value) { FStep = Value; }
  // Position += Step (or Delta); past Max it wraps around to Min, as the platform's bar does.
  void StepIt();
  void StepBy(Integer Delta);
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation Value);
  TProgressBarState State() const { return FState; }
  void SetState(TProgressBarState Value);

  // The filled part in client coordinates (empty at Min).
  TRect BarRect();

 protected:
  void Paint() override;

 private:
  Integer FMin = 0;
  Integer FMax = 100;
  Integer FPosition = 0;
  Integer FStep = 10;
  TProgressBarOrientation FOrientation = pbHorizontal;
  TProgressBarState FState = pbsNormal;
};
