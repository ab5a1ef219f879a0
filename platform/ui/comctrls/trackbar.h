// TTrackBar: a slider over a range of integers, moved by the arrow, page, Home and End keys, by a click
// in its channel (a page towards the click) and by dragging its thumb.
#pragma once

#include "platform/ui/core/customcontrol.h"

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TCustomControl {
 public:
  explicit TTrackBar(TComponent* AOwner);
  String ClassName() const override { return "TTrackBar"; }

  Integer Min() const { return FMin; }
  // A minimum above the maximum pulls the maximum up with it (and the reverse for SetMax); the
  // position is kept inside the range.
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation Value);
  Integer LineSize() const { return FLineSize; }
  void SetLineSize(Integer Value) { FLineSize = Value < 1 ? 1 : Value; }
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer Value) { FPageSize = Value < 1 ? 1 : Value; }

  // The thumb's rectangle in client coordinates.
  TRect ThumbRect();

  // Fired whenever the position changes, by code or by the user.
  TNotifyEvent OnChange;

 protected:
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  virtual void Changed();

 private:
  bool horizontal() const { return FOrientation == trHorizontal; }
  Integer channelLength();                   // pixels the thumb's leading edge can travel
  Integer positionFromPoint(Integer Along);  // the position whose thumb centre is nearest
  Integer along(Integer X, Integer Y) const { return horizontal() ? X : Y; }

  Integer FMin = 0;
  Integer FMax = 10;
  Integer FPosition = 0;
  Integer FLineSize = 1;
  Integer FPageSize = 2;
  TTrackBarOrientation FOrientation = trHorizontal;
  bool FDragging = false;
  Integer FDragOffset = 0;  // from the thumb's leading edge to where it was grabbed
};
