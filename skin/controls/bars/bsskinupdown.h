// A skinned pair of spin buttons over an integer position: one steps up by Increment, the other down;
// each click fires its own event and holding a button repeats the step on a timer (a first delay of
// 500 ms, then every 100 ms; 50 ms after the pointer comes back onto the pressed button).
#pragma once

#include "skin/controls/base/bsskincontrol.h"

enum TUDOrientation { udHorizontal, udVertical };

struct TbsSpinButton {
  TRect R{};
  bool MouseIn = false;
  bool Down = false;
};

class TbsSkinUpDown : public TbsSkinCustomControl {
 public:
  explicit TbsSkinUpDown(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinUpDown"; }

  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer Value) { FIncrement = Value; }
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value);
  Integer Min() const { return FMin; }
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;

  void GetSkinData() override;
  void CalcSize(Integer& W, Integer& H) override;
  void CalcButtonRects();

  // Button 0 is the up button, button 1 the down button.
  TbsSpinButton Buttons[2];
  Integer OldActiveButton = -1;
  Integer ActiveButton = -1;
  Integer CaptureButton = -1;
  // 0 none, 1 step down, 2 step up.
  Integer TimerMode = 0;
  bool WaitMode = false;

 protected:
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void SetControlRegion() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMSize(TMessage& Message) override;

 private:
  void TestActive(Integer X, Integer Y);
  void ButtonEnter(Integer I);
  void ButtonLeave(Integer I);
  void ButtonDown(Integer I);
  void ButtonUp(Integer I);
  void StopRepeatTimer();
  void setRepeatTimer(UINT Interval);
  void DrawButton(TCanvas* C, Integer I);
  void DrawResizeButton(TCanvas* C, Integer I);
  Integer arrowKind(Integer I) const;

  bool FUseSkinSize = true;
  TUDOrientation FOrientation = udHorizontal;
  Integer FIncrement = 1;
  Integer FPosition = 0;
  Integer FMin = 0;
  Integer FMax = 100;
  TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
  TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
};
