#include "skin/controls/bars/bsskinupdown.h"

#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsskinrecordslists.h"

namespace {
constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT FirstDelay = 500;
constexpr UINT RepeatInterval = 100;
constexpr UINT ReenterInterval = 50;
}  // namespace

TbsSkinUpDown::TbsSkinUpDown(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  FSkinDataName = "hupdown";
  SetWidth(50);
  SetHeight(25);
}

// ---- properties ----

void TbsSkinUpDown::SetPosition(Integer Value) {
  if (Value > FMax || Value < FMin) return;
  FPosition = Value;
  if (!designing() && OnChange) OnChange(this);
}

void TbsSkinUpDown::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < Value) FPosition = Value;
}

void TbsSkinUpDown::SetMax(Integer Value) {
  FMax = Value;
  if (Value < FPosition) FPosition = Value;
}

void TbsSkinUpDown::SetOrientation(TUDOrientation Value) {
  FOrientation = Value;
  Repaint();
  if (designing() && !ComponentState().Contains(csLoading))
    FSkinDataName = Value == udVertical ? "vupdown" : "hupdown";
}

// ---- skin and geometry ----

void TbsSkinUpDown::GetSkinData() {
  TbsSkinCustomControl::GetSkinData();
  if (FIndex != -1) {
    if (auto* El = dynamic_cast<TbsDataSkinUpDownControl*>(FSD->Ctrls(FIndex))) {
      UpButtonRect = El->UpButtonRect;
      ActiveUpButtonRect = El->ActiveUpButtonRect;
      DownUpButtonRect = IsEmptyRect(El->DownUpButtonRect) ? El->ActiveUpButtonRect : El->DownUpButtonRect;
      DownButtonRect = El->DownButtonRect;
      ActiveDownButtonRect = El->ActiveDownButtonRect;
      DownDownButtonRect =
          IsEmptyRect(El->DownDownButtonRect) ? El->ActiveDownButtonRect : El->DownDownButtonRect;
      // The element is drawn whole: no slices.
      LTPt = RTPt = LBPt = RBPt = Point(0, 0);
      ClRect = TRect{};
    }
  }
  CalcButtonRects();
}

void TbsSkinUpDown::CalcButtonRects() {
  if (FIndex != -1 && FUseSkinSize) {
    Buttons[0].R = UpButtonRect;
    Buttons[1].R = DownButtonRect;
  } else if (FOrientation == udVertical) {
    Buttons[0].R = Rect(0, 0, Width(), Height() / 2);
    Buttons[1].R = Rect(0, Height() / 2, Width(), Height());
  } else {
    // The up button is the right half.
    Buttons[1].R = Rect(0, 0, Width() / 2, Height());
    Buttons[0].R = Rect(Width() / 2, 0, Width(), Height());
  }
}

void TbsSkinUpDown::CalcSize(Integer& W, Integer& H) {
  if (FUseSkinSize) TbsSkinCustomControl::CalcSize(W, H);
}

void TbsSkinUpDown::SetControlRegion() {
  if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
}

// ---- buttons and repeat ----

void TbsSkinUpDown::setRepeatTimer(UINT Interval) {
  if (HandleAllocated()) SetTimer(Handle(), RepeatTimer, Interval, nullptr);
}

void TbsSkinUpDown::StopRepeatTimer() {
  if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
  TimerMode = 0;
}

void TbsSkinUpDown::TestActive(Integer X, Integer Y) {
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer i = 0; i < 2; ++i)
    if (PointInsideRect(Buttons[i].R, Point(X, Y))) {
      ActiveButton = i;
      break;
    }
  if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
  if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TbsSkinUpDown::ButtonEnter(Integer I) {
  Buttons[1 - I].MouseIn = false;
  Buttons[I].MouseIn = true;
  Repaint();
  if (FIncrement != 0 && Buttons[I].Down) setRepeatTimer(ReenterInterval);
}

void TbsSkinUpDown::ButtonLeave(Integer I) {
  Buttons[I].MouseIn = false;
  Repaint();
  // TimerMode and WaitMode stay: coming back resumes the repeat.
  if (FIncrement != 0 && Buttons[I].Down && HandleAllocated()) KillTimer(Handle(), RepeatTimer);
}

void TbsSkinUpDown::ButtonDown(Integer I) {
  Buttons[I].MouseIn = true;
  Buttons[I].Down = true;
  Repaint();
  if (FIncrement != 0) {
    TimerMode = I == 0 ? 2 : 1;
    WaitMode = true;
    setRepeatTimer(FirstDelay);
  }
}

void TbsSkinUpDown::ButtonUp(Integer I) {
  if (FIncrement != 0) StopRepeatTimer();
  Buttons[I].Down = false;
  if (I != ActiveButton) Buttons[I].MouseIn = false;
  Repaint();
  if (!Buttons[I].MouseIn) return;
  if (I == 0) {
    if (FIncrement != 0) SetPosition(FPosition + FIncrement);
    if (OnUpButtonClick) OnUpButtonClick(this);
  } else {
    if (FIncrement != 0) SetPosition(FPosition - FIncrement);
    if (OnDownButtonClick) OnDownButtonClick(this);
  }
}

void TbsSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TestActive(X, Y);
  Buttons[ActiveButton == 0 ? 1 : 0].MouseIn = false;
  if (ActiveButton != -1) {
    CaptureButton = ActiveButton;
    ButtonDown(ActiveButton);
  }
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinUpDown::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TestActive(X, Y);
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CaptureButton != -1) ButtonUp(CaptureButton);
  CaptureButton = -1;
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      if (WaitMode) {
        // The first delay is over: no step on this tick, then the steady repeat.
        WaitMode = false;
        if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
        setRepeatTimer(RepeatInterval);
      } else if (TimerMode == 1) {
        SetPosition(FPosition - FIncrement);
      } else if (TimerMode == 2) {
        SetPosition(FPosition + FIncrement);
      }
      return;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // Any button presses a spin button.
      if (!MouseCapture() && HandleAllocated()) SetMouseCapture(true);
      TbsSkinCustomControl::Dispatch(Message);
      return;
    default:
      TbsSkinCustomControl::Dispatch(Message);
  }
}

void TbsSkinUpDown::CMMouseEnter(TMessage& Message) {
  ActiveButton = OldActiveButton = -1;
  TbsSkinCustomControl::CMMouseEnter(Message);
}

void TbsSkinUpDown::CMMouseLeave(TMessage& Message) {
  ActiveButton = OldActiveButton = -1;
  TbsSkinCustomControl::CMMouseLeave(Message);
  for (auto& B : Buttons)
    if (B.MouseIn) {
      B.MouseIn = false;
      Repaint();
    }
}

void TbsSkinUpDown::WMSize(TMessage& Message) {
  TbsSkinCustomControl::WMSize(Message);
  CalcButtonRects();
}

// ---- painting ----

Integer TbsSkinUpDown::arrowKind(Integer I) const {
  if (FOrientation == udVertical) return I == 0 ? 3 : 4;
  return I == 0 ? 2 : 1;
}

void TbsSkinUpDown::DrawButton(TCanvas* C, Integer I) {
  const TbsSpinButton& B = Buttons[I];
  const bool Pressed = B.Down && B.MouseIn;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Pressed || B.MouseIn ? TColor(RGB(59, 107, 183)) : clBtnShadow);
  C->FrameRect(B.R);
  C->Brush()->SetColor(Pressed     ? TColor(RGB(162, 188, 228))
                       : B.MouseIn ? TColor(RGB(193, 212, 243))
                                   : clBtnFace);
  C->FillRect(Rect(B.R.Left + 1, B.R.Top + 1, B.R.Right - 1, B.R.Bottom - 1));
  DrawArrow(C, B.R, Enabled() ? clBlack : TColor(RGB(128, 128, 128)), arrowKind(I));
}

void TbsSkinUpDown::CreateControlDefaultImage(TBitmap* B) {
  CalcButtonRects();
  TbsSkinCustomControl::CreateControlDefaultImage(B);
  DrawButton(B->Canvas(), 0);
  DrawButton(B->Canvas(), 1);
}

void TbsSkinUpDown::DrawResizeButton(TCanvas* C, Integer I) {
  const TbsSpinButton& B = Buttons[I];
  const Integer W = RectWidth(B.R), H = RectHeight(B.R);
  if (W <= 0 || H <= 0) return;
  TBitmap Img;
  Img.SetSize(W, H);
  const Integer Index = FSD != nullptr ? FSD->GetControlIndex("resizebutton") : -1;
  auto* El = Index == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(Index));
  if (El == nullptr) {
    // No element to draw from: a blank face.
    Img.Canvas()->Brush()->SetColor(clBtnFace);
    Img.Canvas()->FillRect(Rect(0, 0, W, H));
    C->Draw(B.R.Left, B.R.Top, &Img);
    return;
  }
  const bool Pressed = B.Down && B.MouseIn;
  const TRect Active = IsEmptyRect(El->ActiveSkinRect) ? El->SkinRect : El->ActiveSkinRect;
  TRect State = El->SkinRect;
  TColor Arrow = El->FontColor;
  if (Pressed) {
    State = IsEmptyRect(El->DownSkinRect) ? Active : El->DownSkinRect;
    Arrow = El->DownFontColor;
  } else if (B.MouseIn) {
    State = Active;
    Arrow = El->ActiveFontColor;
  }
  if (!Enabled()) Arrow = El->DisabledFontColor;
  if (TBitmap* Pic = SkinPictureAt(FSD, El->PictureIndex); Pic != nullptr && !IsEmptyRect(State)) {
    const Integer DW = W - RectWidth(El->SkinRect), DH = H - RectHeight(El->SkinRect);
    ComposeSkinImage(El->LTPoint, El->RTPoint, El->LBPoint, El->RBPoint, El->ClRect, El->LTPoint,
                     Point(El->RTPoint.X + DW, El->RTPoint.Y), Point(El->LBPoint.X, El->LBPoint.Y + DH),
                     Point(El->RBPoint.X + DW, El->RBPoint.Y + DH),
                     Rect(El->ClRect.Left, El->ClRect.Top, El->ClRect.Right + DW, El->ClRect.Bottom + DH),
                     &Img, Pic, State, W, H, true, El->LeftStretch, El->TopStretch, El->RightStretch,
                     El->BottomStretch, El->StretchEffect, El->StretchType);
  }
  DrawArrow(Img.Canvas(), Rect(0, 0, W, H), Arrow, arrowKind(I));
  C->Draw(B.R.Left, B.R.Top, &Img);
}

void TbsSkinUpDown::CreateControlSkinImage(TBitmap* B) {
  CalcButtonRects();
  if (!FUseSkinSize) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    DrawResizeButton(B->Canvas(), 0);
    DrawResizeButton(B->Canvas(), 1);
    return;
  }
  TbsSkinCustomControl::CreateControlSkinImage(B);
  for (Integer i = 0; i < 2; ++i) {
    const TbsSpinButton& Btn = Buttons[i];
    TRect Src{};
    if (Btn.Down && Btn.MouseIn)
      Src = i == 0 ? DownUpButtonRect : DownDownButtonRect;
    else if (Btn.MouseIn)
      Src = i == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
    if (!IsEmptyRect(Src) && Picture != nullptr) B->Canvas()->CopyRect(Btn.R, Picture->Canvas(), Src);
  }
}
