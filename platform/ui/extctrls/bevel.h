// A windowless line or frame: boxes, frames and single lines on each edge, sunk or raised.
#pragma once

#include "platform/ui/core/customcontrol.h"

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* AOwner);
  String ClassName() const override { return "TBevel"; }

  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;
  // Left and top edges of R in one colour, right and bottom in the other, each corner pixel once.
  static void DrawBevelRect(TCanvas* C, const TRect& R, TColor TopLeft, TColor BottomRight);
  // The shape over the whole control: First on its top and left lines, Second on the others.
  void DrawShape(TCanvas* C, TColor First, TColor Second);

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};
