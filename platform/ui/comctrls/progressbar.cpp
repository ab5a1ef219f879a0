#include "platform/ui/comctrls/progressbar.h"

#include <algorithm>

#include "platform/rtl/convert.h"
#include "platform/ui/stdctrls/stdlook.h"

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque};
  FWidth = 150;
  FHeight = 16;
  FParentColor = true;
}

void TProgressBar::SetMin(Integer Value) {
  FMin = Value;
  if (FMax < FMin) FMax = FMin;
  FPosition = std::clamp(FPosition, FMin, FMax);
  Invalidate();
}

void TProgressBar::SetMax(Integer Value) {
  FMax = Value;
  if (FMin > FMax) FMin = FMax;
  FPosition = std::clamp(FPosition, FMin, FMax);
  Invalidate();
}

void TProgressBar::SetPosition(Integer Value) {
  Value = std::clamp(Value, FMin, FMax);
  if (Value == FPosition) return;
  FPosition = Value;
  Invalidate();
}

void TProgressBar::StepBy(Integer Delta) {
  Int64 Next = Int64(FPosition) + Delta;
  const Int64 Range = Int64(FMax) - FMin;
  if (Range > 0 && (Next > FMax || Next < FMin)) {
    Next = (Next - FMin) % (Range + 1);
    if (Next < 0) Next += Range + 1;
    Next += FMin;
  }
  SetPosition(Integer(std::clamp<Int64>(Next, FMin, FMax)));
}

void TProgressBar::StepIt() {
  StepBy(FStep);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Invalidate();
}

void TProgressBar::SetState(TProgressBarState Value) {
  if (Value == FState) return;
  FState = Value;
  Invalidate();
}

TRect TProgressBar::BarRect() {
  const TRect Inner = Rect(1, 1, std::max(1, ClientWidth() - 1), std::max(1, ClientHeight() - 1));
  const Integer Range = FMax - FMin;
  if (FOrientation == pbHorizontal) {
    const Integer W = Range > 0 ? MulDiv(FPosition - FMin, Inner.Width(), Range) : 0;
    return Rect(Inner.Left, Inner.Top, Inner.Left + W, Inner.Bottom);
  }
  // Vertical bars grow upwards.
  const Integer H = Range > 0 ? MulDiv(FPosition - FMin, Inner.Height(), Range) : 0;
  return Rect(Inner.Left, Inner.Bottom - H, Inner.Right, Inner.Bottom);
}

void TProgressBar::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  const TColor Back = ColorToRGB(FColor);
  C->Brush()->SetColor(Back);
  C->FillRect(Client);
  stdlook::RoundedBox(C, Client, stdlook::Track, stdlook::SurfaceBorder, Back);
  const TRect Bar = BarRect();
  if (Bar.Width() <= 0 || Bar.Height() <= 0) return;
  TColor Fill = FState == pbsError    ? stdlook::Error
                : FState == pbsPaused ? stdlook::Warning
                                      : stdlook::Accent;
  if (!FEnabled) Fill = stdlook::TextDisabled;
  C->Brush()->SetColor(Fill);
  C->FillRect(Bar);
}
