// The controls that paint themselves on a canvas: TGraphicControl (windowless, painted by its
// parent) and TCustomControl (windowed), with the control canvas they draw on.
#pragma once

#include <memory>

#include "platform/ui/core/control.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/graphics/canvas.h"

// A canvas on a control: its DC is the control's own (windowed) or its parent's, moved and clipped to
// the control (windowless). A DC taken outside painting is released by FreeHandle or at idle time.
class TControlCanvas : public TCanvas {
 public:
  ~TControlCanvas() override;
  String ClassName() const override { return "TControlCanvas"; }
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  void FreeHandle();
  // Releases every DC that control canvases took outside painting.
  static void FreeDeviceContexts();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  String ClassName() const override { return "TGraphicControl"; }
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  void Dispatch(TMessage& Message) override;
  virtual void Paint() {}
  virtual void WMPaint(TMessage& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  String ClassName() const override { return "TCustomControl"; }
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};
