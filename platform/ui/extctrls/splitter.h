// A windowless bar between two aligned controls: dragging it resizes the control it is aligned
// against, within the minimum sizes of that control and of the room left beyond the splitter.
#pragma once

#include "platform/ui/core/customcontrol.h"

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

using TCanResizeSplitEvent = std::function<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* AOwner);
  String ClassName() const override { return "TSplitter"; }

  // The smallest size of the neighbour and of the room on the other side (at least 1).
  Integer MinSize() const { return FMinSize; }
  void SetMinSize(Integer Value) { FMinSize = Value < 1 ? 1 : Value; }
  // Dragging the neighbour below half its minimum closes it.
  bool AutoSnap() const { return FAutoSnap; }
  void SetAutoSnap(bool Value) { FAutoSnap = Value; }
  bool Beveled() const { return FBeveled; }
  void SetBeveled(bool Value);
  // rsUpdate resizes while dragging; rsLine and rsPattern show a bar and resize at the release;
  // rsNone resizes at the release only.
  TResizeStyle ResizeStyle() const { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle Value) { FResizeStyle = Value; }

  TCanResizeSplitEvent OnCanResize;
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void RequestAlign() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void WMCancelMode(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool DoCanResize(Integer& NewSize);

 private:
  bool horizontalAlign() const { return Align() == alTop || Align() == alBottom; }
  TControl* findNeighbour();
  Integer sizeOf(TControl* C) const;
  void calcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split);
  void updateSize(Integer X, Integer Y);
  void applySize();
  void drawLine();
  void endDrag(bool Apply);

  Integer FMinSize = 30;
  bool FAutoSnap = true;
  bool FBeveled = false;
  TResizeStyle FResizeStyle = rsPattern;
  TControl* FControl = nullptr;  // the neighbour while dragging
  TPoint FDownPos;
  Integer FMaxSize = 0;
  Integer FNewSize = 0;
  Integer FOldSize = 0;
  Integer FSplit = 0;
  bool FLineVisible = false;
  TRect FLineRect;
};
