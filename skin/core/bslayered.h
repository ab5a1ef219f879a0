// A picture with per-pixel transparency shown in a small window of its own that floats above the rest,
// never takes the focus, lets the mouse through, and fades in (the glow frames of skinned buttons).
#pragma once

#include <memory>

#include "platform/ui/core/controlstypes.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bsbitmap.h"

class TbsLayerWindow : public TCustomControl {
 public:
  explicit TbsLayerWindow(TComponent* AOwner);
  String ClassName() const override { return "TbsLayerWindow"; }

 protected:
  // A plain tool popup that mouse input passes through; its class saves the bits below it.
  void CreateParams(TCreateParams& Params) override;
  // Clicking it neither activates it nor takes the focus.
  void WndProc(TMessage& Message) override;
};

// States: idle (no window, timer off), fading (window shown, opacity rising each 25 ms tick), shown.
class TbsLayerManager : public TComponent {
 public:
  explicit TbsLayerManager(TComponent* AOwner);
  ~TbsLayerManager() override;
  String ClassName() const override { return "TbsLayerManager"; }

  // AImage with alpha from AImageMask (at least AImage's size) at screen (X, Y), faded in from 0 to
  // AAlphaBlendValue in steps of a tenth (at least 1).
  void Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask, Integer AAlphaBlendValue);
  void Hide();
  // Puts the layer back at its place in the z-order while shown.
  void Update();
  void StartTimer();
  void StopTimer();
  // Bmp := AImage with each pixel's alpha from the mask's grey level and colours capped at the alpha.
  void AlphaBitmapFromImageMask(TBitmap* AImage, TBitmap* AImageMask, TbsBitmap* Bmp);

  TbsLayerWindow* LayerWindow = nullptr;  // owned
  std::unique_ptr<TbsBitmap> Bmp;
  TTimer* Timer = nullptr;  // owned
  Integer EndAlphaBlendValue = 0;
  Integer BeginAlphaBlendValue = 0;
  Integer StepAlphaBlendValue = 0;
  bool IsVisible = false;
  bool TopMostMode = true;

 private:
  void FadeTimerTick(TObject* Sender);
  void freeLayerWindow();
};

// Puts Bmp on the layered Window with overall opacity Alpha; nothing without a window or without the
// UpdateLayeredWindow entry point.
void UpdateLayeredBitmap(TbsBitmap* Bmp, Byte Alpha, TWinControl* Window);
