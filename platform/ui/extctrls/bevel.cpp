#include "platform/ui/extctrls/bevel.h"

#include "platform/ui/stdctrls/looksurface.h"

namespace {
// The two tones of the flat look: the shade of a border and the white of a surface.
constexpr TColor BevelDark = stdlook::FaceBorder;
constexpr TColor BevelLight = stdlook::Surface;
}  // namespace

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  FWidth = 50;
  FHeight = 50;
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = Canvas();
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  // Lowered: shade on the top and left, light on the bottom and right; raised the other way round.
  TColor First = FStyle == bsLowered ? BevelDark : BevelLight;
  TColor Second = FStyle == bsLowered ? BevelLight : BevelDark;
  DrawShape(C, First, Second);
}

void TBevel::DrawBevelRect(TCanvas* C, const TRect& R, TColor TopLeft, TColor BottomRight) {
  C->Pen()->SetColor(TopLeft);
  C->Polyline({{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}});
  C->Pen()->SetColor(BottomRight);
  C->Polyline({{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}});
}

void TBevel::DrawShape(TCanvas* C, TColor First, TColor Second) {
  const Integer W = Width(), H = Height();
  auto line = [C](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  switch (FShape) {
    case bsBox:
      DrawBevelRect(C, Rect(0, 0, W - 1, H - 1), First, Second);
      break;
    case bsFrame:
      DrawBevelRect(C, Rect(1, 1, W - 1, H - 1), Second, Second);
      DrawBevelRect(C, Rect(0, 0, W - 2, H - 2), First, First);
      break;
    case bsTopLine:
      line(First, 0, 0, W, 0);
      line(Second, 0, 1, W, 1);
      break;
    case bsBottomLine:
      line(First, 0, H - 2, W, H - 2);
      line(Second, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      line(First, 0, 0, 0, H);
      line(Second, 1, 0, 1, H);
      break;
    case bsRightLine:
      line(First, W - 2, 0, W - 2, H);
      line(Second, W - 1, 0, W - 1, H);
      break;
    case bsSpacer:
      break;
  }
}
