// THintWindow: the tooltip window of the application's hint machinery.
#pragma once

#include <functional>

#include "platform/ui/core/customcontrol.h"

// The tooltip window of the application's hint machinery; replaceable through HintWindowClass.
class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  String ClassName() const override { return "THintWindow"; }

  // Shows Hint in Rect (screen coordinates), topmost, without taking the activation.
  virtual void ActivateHint(TRect Rect, const String& AHint);
  // The size a hint needs (at (0, 0)), text wrapped at MaxWidth.
  virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint);
  // Hides the window and forgets its handle.
  virtual void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  // Visible shows and hides the window by itself, without taking the activation.
  bool TopLevelWindow() const override { return true; }
};

using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;
// The class the application makes its hint window from; the skin library replaces it.
extern THintWindowClass HintWindowClass;
