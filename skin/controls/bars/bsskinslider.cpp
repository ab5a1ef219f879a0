#include "skin/controls/bars/bsskinslider.h"

#include <cmath>

#include "skin/controls/bars/bssliderimages.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskinrecordsbars.h"
#include "skin/core/bsskinrecordsform.h"

namespace {

Integer roundEven(double Value) {
  return Integer(std::nearbyint(Value));
}

const char* const ResourceNames[4] = {"BS_HTB", "BS_HRL", "BS_VTB", "BS_VRL"};

bool inPicture(TBitmap* Picture, const TRect& R) {
  return Picture != nullptr && !IsEmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= Picture->Width() &&
         R.Bottom <= Picture->Height();
}

}  // namespace

TbsSkinCustomSlider::TbsSkinCustomSlider(TComponent* AOwner)
    : TbsSkinControl(AOwner), FRuler(std::make_unique<TBitmap>()) {
  FControlState.Include(csCreating);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  FSkinDataName = "slider";
  SetTabStop(true);
  for (Integer i = 0; i < 4; ++i) SetImage(TbsSliderImage(i), nullptr);
  SetBounds(Left(), Top(), 150, 40);
  AdjustElements();
  FControlState.Exclude(csCreating);
}

TbsSkinCustomSlider::~TbsSkinCustomSlider() {
  *FAlive = false;
  OnChange = nullptr;
  OnChanged = nullptr;
  OnDrawPoints = nullptr;
  for (auto& Image : FImages)
    if (Image) Image->OnChange = nullptr;
  if (FThumbImageList) FThumbImageList->RemoveFreeNotification(this);
}

// ---- skin ----

void TbsSkinCustomSlider::GetSkinData() {
  TbsSkinControl::GetSkinData();
  Picture = nullptr;
  if (FIndex == -1) return;
  auto* R = dynamic_cast<TbsDataSkinSlider*>(FSD->Ctrls(FIndex));
  if (R == nullptr) return;
  HRulerRect = R->HRulerRect;
  HThumbRect = R->HThumbRect;
  VRulerRect = R->VRulerRect;
  VThumbRect = R->VThumbRect;
  SkinEdgeSize = R->EdgeSize;
  BGColor = R->BGColor;
  PointsColor = R->PointsColor;
  Picture = SkinPictureAt(FSD, R->PictureIndex);
}

bool TbsSkinCustomSlider::skinRuler() const {
  // A ruler picture that is missing, outside the skin picture or shorter than its two ends is drawn
  // from the built-in picture instead.
  const TRect& R = horizontal() ? HRulerRect : VRulerRect;
  const Integer Length = horizontal() ? RectWidth(R) : RectHeight(R);
  return FIndex != -1 && inPicture(Picture, R) && SkinEdgeSize >= 0 && 2 * SkinEdgeSize <= Length;
}

bool TbsSkinCustomSlider::skinThumb() const {
  const TRect& R = horizontal() ? HThumbRect : VThumbRect;
  return FIndex != -1 && FUseSkinThumb && inPicture(Picture, R) && RectWidth(R) >= 2;
}

void TbsSkinCustomSlider::ChangeSkinData() {
  AdjustElements();
}

// ---- geometry ----

void TbsSkinCustomSlider::BuildDefaultRuler(Integer Length) {
  TBitmap* Image = rulerImage();
  const Integer ImageLength = horizontal() ? Image->Width() : Image->Height();
  const Integer Thick = horizontal() ? Image->Height() : Image->Width();
  FRuler->SetPixelFormat(pf24bit);
  if (horizontal())
    FRuler->SetSize(Length, Thick);
  else
    FRuler->SetSize(Thick, Length);
  if (Length <= 0 || ImageLength <= 0) return;
  const Integer Edge = FEdgeSize < 0 || 2 * FEdgeSize >= ImageLength ? 0 : FEdgeSize;
  const Integer Middle = ImageLength - 2 * Edge;
  TCanvas* C = FRuler->Canvas();
  // A piece of the image along the bar: image positions From..To drawn at At.
  auto piece = [&](Integer From, Integer To, Integer At) {
    if (To <= From) return;
    if (horizontal())
      C->CopyRect(Rect(At, 0, At + To - From, Thick), Image->Canvas(), Rect(From, 0, To, Thick));
    else
      C->CopyRect(Rect(0, At, Thick, At + To - From), Image->Canvas(), Rect(0, From, Thick, To));
  };
  const Integer Last = Length - Edge;
  piece(0, std::min(ImageLength - Edge, Length), 0);
  for (Integer At = ImageLength - Edge; At < Last && Middle > 0; At += Middle)
    piece(Edge, Edge + std::min(Middle, Last - At), At);
  if (Last >= 0) piece(ImageLength - Edge, ImageLength, Last);
}

void TbsSkinCustomSlider::BuildSkinRuler(Integer Length) {
  if (horizontal())
    ComposeSkinImageH(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, HRulerRect, Length,
                      RectHeight(HRulerRect), false);
  else
    ComposeSkinImageV(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, VRulerRect, RectWidth(VRulerRect),
                      Length, false);
}

void TbsSkinCustomSlider::AdjustElements() {
  GetSkinData();
  const Integer V = FValue;
  TRect R;
  GetSliderRect(R);
  const Integer Length = std::max(0, (horizontal() ? RectWidth(R) : RectHeight(R)) - 12);
  if (skinRuler())
    BuildSkinRuler(Length);
  else
    BuildDefaultRuler(Length);

  Integer HW, HH, VW, VH, States;
  if (skinThumb()) {
    HW = RectWidth(HThumbRect), HH = RectHeight(HThumbRect);
    VW = RectWidth(VThumbRect), VH = RectHeight(VThumbRect);
    States = 2;
  } else if (FThumbImageList != nullptr) {
    HW = VW = FThumbImageList->Width();
    HH = VH = FThumbImageList->Height();
    States = 1;
  } else {
    HW = ImageHThumb()->Width(), HH = ImageHThumb()->Height();
    VW = ImageVThumb()->Width(), VH = ImageVThumb()->Height();
    States = FNumThumbStates;
  }
  const Integer RW = FRuler->Width(), RH = FRuler->Height();
  if (horizontal()) {
    const Integer TW = HW / States, TH = HH;
    if (RH < TH) {
      FThumbRect = Bounds(R.Left + 6, R.Top + 6, TW, TH);
      FRulerOrg = TPoint{R.Left + 6, R.Top + 6 + (TH - RH) / 2};
      FPointsRect = Rect(FRulerOrg.X, R.Top + 7 + TH, FRulerOrg.X + RW, R.Bottom - R.Top - 1);
    } else {
      FRulerOrg = TPoint{R.Left + 6, R.Top + 6};
      FThumbRect = Bounds(R.Left + 6, R.Top + 6 + (RH - TH) / 2, TW, TH);
      FPointsRect = Rect(FRulerOrg.X, R.Top + 7 + RH, FRulerOrg.X + RW, R.Bottom - R.Top - 1);
    }
  } else {
    const Integer w = VW / States;
    if (RW < VW / FNumThumbStates) {
      FThumbRect = Bounds(R.Left + 6, R.Top + 6, w, VH);
      FRulerOrg = TPoint{R.Left + 6 + (w - RW) / 2, R.Top + 6};
      FPointsRect = Rect(R.Left + 7 + w, FRulerOrg.Y, R.Right - R.Left - 1, FRulerOrg.Y + RH);
    } else {
      FRulerOrg = TPoint{R.Left + 6, R.Top + 6};
      FThumbRect = Bounds(R.Left + 6 + (RW - w) / 2, R.Top + 6, w, VH);
      FPointsRect = Rect(R.Left + 7 + RW, FRulerOrg.Y, R.Right - R.Left - 1, FRulerOrg.Y + RH);
    }
  }
  SetValue(V);
  Invalidate();
}

Integer TbsSkinCustomSlider::GetRulerLength() const {
  const Integer RW = FRuler->Width(), RH = FRuler->Height();
  if (skinThumb()) return horizontal() ? RW - RectWidth(HThumbRect) / 2 : RH - RectHeight(VThumbRect);
  if (FThumbImageList != nullptr)
    return horizontal() ? RW - FThumbImageList->Width() : RH - FThumbImageList->Height();
  return horizontal() ? RW - ImageHThumb()->Width() / FNumThumbStates : RH - ImageVThumb()->Height();
}

Integer TbsSkinCustomSlider::GetOffsetByValue(Integer V) {
  TRect R;
  GetSliderRect(R);
  const Integer o = 6 + (horizontal() ? R.Left : R.Top);
  const Integer L = GetRulerLength();
  const Integer Range = FMaxValue - FMinValue;
  Integer d = o + (Range == 0 ? 0 : roundEven(double(L) * (V - FMinValue) / Range));
  if (!horizontal()) d = R.Top + R.Bottom - d - RectHeight(FThumbRect);
  return std::max(d, o);
}

Integer TbsSkinCustomSlider::GetValueByOffset(Integer X) {
  TRect R;
  GetSliderRect(R);
  if (!horizontal()) X = ClientHeight() - X - RectHeight(FThumbRect);
  const Integer L = GetRulerLength();
  // A ruler with no room for the thumb maps every offset to MinValue.
  const double x = L <= 0 ? 0 : double(X - R.Left - 6) * (FMaxValue - FMinValue) / L;
  Integer v = roundEven(x);
  if (!FOptions.Contains(soSmooth) && FIncrement > 0) v = FIncrement * roundEven(double(v) / FIncrement);
  return std::min(std::max(v, 0) + FMinValue, FMaxValue);
}

void TbsSkinCustomSlider::AdjustThumbOffset(Integer& X, TPoint& P) {
  TRect R;
  GetSliderRect(R);
  const Integer o = 6 + (horizontal() ? R.Left : R.Top);
  const Integer L = std::max(0, GetRulerLength());
  X = std::clamp(X, o, o + L);
  X = GetOffsetByValue(GetValueByOffset(X));
  X = std::min(X, o + L);
  P = horizontal() ? TPoint{X, FThumbRect.Top} : TPoint{FThumbRect.Left, X};
}

void TbsSkinCustomSlider::InvalidateThumb() {
  if (!HandleAllocated()) return;
  RECT R{FThumbRect.Left, FThumbRect.Top, FThumbRect.Right, FThumbRect.Bottom};
  InvalidateRect(Handle(), &R, false);
}

void TbsSkinCustomSlider::SetThumbOffset(Integer X) {
  TPoint P;
  AdjustThumbOffset(X, P);
  InvalidateThumb();
  FThumbRect = Bounds(P.X, P.Y, RectWidth(FThumbRect), RectHeight(FThumbRect));
  InvalidateThumb();
  if (FSliding) {
    const Integer V = GetValueByOffset(X);
    if (V != FValue) {
      FValue = V;
      Change();
    }
  }
}

// ---- value ----

void TbsSkinCustomSlider::SetValue(Integer Value) {
  Value = std::clamp(Value, FMinValue, std::max(FMinValue, FMaxValue));
  const Integer Old = FValue;
  FValue = Value;
  SetThumbOffset(GetOffsetByValue(Value));
  if (FValue != Old) Change();
}

void TbsSkinCustomSlider::SetMinMax(Integer AMin, Integer AMax) {
  if (AMin >= AMax && !reading()) return;
  FMinValue = AMin;
  FMaxValue = AMax;
  if (!reading() && AMax < AMin + FIncrement) FIncrement = AMax - AMin;
  if (FOptions.Contains(soShowPoints)) Invalidate();
  SetValue(FValue);
  RangeChanged();
}

void TbsSkinCustomSlider::SetMinValue(Integer Value) {
  if (Value != FMinValue) SetMinMax(Value, FMaxValue);
}

void TbsSkinCustomSlider::SetMaxValue(Integer Value) {
  if (Value != FMaxValue) SetMinMax(FMinValue, Value);
}

void TbsSkinCustomSlider::SetIncrement(Integer Value) {
  if (Value <= 0 || Value == FIncrement) return;
  FIncrement = Value;
  SetValue(FValue);
  Invalidate();
}

void TbsSkinCustomSlider::Change() {
  if (OnChange) OnChange(this);
}

void TbsSkinCustomSlider::Changed() {
  if (OnChanged) OnChanged(this);
}

void TbsSkinCustomSlider::ThumbJump(TbsJumpMode Mode) {
  Integer V = FValue;
  const Integer Inc = FIncrement > 0 ? FIncrement : 1;
  switch (Mode) {
    case jmHome:
      V = FMinValue;
      break;
    case jmEnd:
      V = FMaxValue;
      break;
    case jmNext:
      V = Inc * (roundEven(double(FValue) / Inc) + 1);
      break;
    case jmPrior:
      V = Inc * roundEven(double(FValue) / Inc) - Inc;
      break;
    default:
      return;
  }
  V = std::clamp(V, FMinValue, FMaxValue);
  if (V != FValue) SetValue(V);
}

TbsJumpMode TbsSkinCustomSlider::JumpModeAt(Integer X, Integer Y) const {
  if (horizontal()) {
    if (X < FThumbRect.Left) return jmPrior;
    if (X >= FThumbRect.Right) return jmNext;
  } else {
    if (Y < FThumbRect.Top) return jmNext;
    if (Y >= FThumbRect.Bottom) return jmPrior;
  }
  return jmNone;
}

// ---- other setters ----

void TbsSkinCustomSlider::SetOrientation(TbsSliderOrientation Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  ElementsChanged();
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csUpdating))
    SetBounds(Left(), Top(), Width(), Height());
}

void TbsSkinCustomSlider::SetOptions(TbsSliderOptions Value) {
  if (Value == FOptions) return;
  FOptions = Value;
  Invalidate();
}

void TbsSkinCustomSlider::SetEdgeSize(Integer Value) {
  TBitmap* Image = rulerImage();
  const Integer Length = horizontal() ? Image->Width() : Image->Height();
  if (Value == FEdgeSize || 2 * Value >= Length || Value < 0) return;
  FEdgeSize = Value;
  ElementsChanged();
}

void TbsSkinCustomSlider::SetNumThumbStates(Integer Value) {
  if (Value < 1 || Value > 2 || Value == FNumThumbStates) return;
  FNumThumbStates = Value;
  AdjustElements();
}

void TbsSkinCustomSlider::SetThumbImageList(TCustomImageList* Value) {
  if (Value == FThumbImageList) return;
  if (FThumbImageList) FThumbImageList->RemoveFreeNotification(this);
  FThumbImageList = Value;
  if (FThumbImageList) FThumbImageList->FreeNotification(this);
  ElementsChanged();
}

void TbsSkinCustomSlider::SetThumbImageIndex(Integer Value) {
  FThumbImageIndex = Value;
  InvalidateThumb();
}

void TbsSkinCustomSlider::SetThumbActiveImageIndex(Integer Value) {
  FThumbActiveImageIndex = Value;
  InvalidateThumb();
}

void TbsSkinCustomSlider::SetUseSkinThumb(bool Value) {
  if (Value == FUseSkinThumb) return;
  FUseSkinThumb = Value;
  ElementsChanged();
}

void TbsSkinCustomSlider::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

// ---- images ----

void TbsSkinCustomSlider::SetImage(TbsSliderImage Index, TBitmap* Value) {
  auto& Image = FImages[Index];
  if (!Image) {
    Image = std::make_unique<TBitmap>();
    Image->OnChange = [this](TObject* Sender) { ImageChanged(Sender); };
  }
  if (Value != nullptr) {
    Image->Assign(Value);
    FUserImages.Include(Index);
    return;
  }
  LoadSliderImage(Image.get(), ResourceNames[Index]);
  FUserImages.Exclude(Index);
  if (!reading()) {
    FOptions.Exclude(Index == siHRuler || Index == siVRuler ? soRulerOpaque : soThumbOpaque);
    Invalidate();
  }
}

void TbsSkinCustomSlider::ImageChanged(TObject*) {
  if (!ControlState().Contains(csCreating)) ElementsChanged();
}

bool TbsSkinCustomSlider::UserImagesStored(const TbsSkinCustomSlider* Ancestor) const {
  return Ancestor != nullptr ? FUserImages != Ancestor->FUserImages : !FUserImages.Empty();
}

void TbsSkinCustomSlider::WriteUserImages(TStream* Stream) const {
  Byte Bits = 0;
  for (Integer i = 0; i < 4; ++i)
    if (FUserImages.Contains(TbsSliderImage(i))) Bits |= Byte(1u << i);
  Stream->WriteBuffer(&Bits, 1);
}

void TbsSkinCustomSlider::ReadUserImages(TStream* Stream) {
  Byte Bits = 0;
  Stream->ReadBuffer(&Bits, 1);
  FUserImages = {};
  for (Integer i = 0; i < 4; ++i)
    if (Bits & (1u << i)) FUserImages.Include(TbsSliderImage(i));
}

void TbsSkinCustomSlider::Loaded() {
  TbsSkinControl::Loaded();
  // The pictures read from the form rebuild the geometry now that everything is in place.
  for (Integer i = 0; i < 4; ++i)
    if (FUserImages.Contains(TbsSliderImage(i))) {
      TBitmap Copy;
      Copy.Assign(FImages[i].get());
      SetImage(TbsSliderImage(i), &Copy);
    }
}

void TbsSkinCustomSlider::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FThumbImageList) FThumbImageList = nullptr;
}

// ---- mouse and keys ----

void TbsSkinCustomSlider::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || Shift.Contains(ssDouble)) return;
  if (CanFocus() && !Focused()) SetFocus();
  if (X >= FThumbRect.Left && X < FThumbRect.Right && Y >= FThumbRect.Top && Y < FThumbRect.Bottom) {
    ThumbMouseDown(Button, Shift, X, Y);
    return;
  }
  TRect Ruler = Bounds(FRulerOrg.X, FRulerOrg.Y, FRuler->Width(), FRuler->Height());
  if (horizontal()) {
    Ruler.Top -= 3;
    Ruler.Bottom += 3;
  } else {
    Ruler.Left -= 3;
    Ruler.Right += 3;
  }
  if (X >= Ruler.Left && X < Ruler.Right && Y >= Ruler.Top && Y < Ruler.Bottom && CanModify()) {
    SetMouseCapture(true);
    FTracking = true;
    FMousePos = TPoint{X, Y};
    FStartJump = JumpModeAt(X, Y);
    TimerTrack();
  }
}

void TbsSkinCustomSlider::TimerTrack() {
  if (JumpModeAt(FMousePos.X, FMousePos.Y) != FStartJump) return;
  auto Alive = FAlive;
  ThumbJump(FStartJump);
  if (!*Alive) return;
  if (!FTimerActive && HandleAllocated()) {
    SetTimer(Handle(), TrackTimerId, TrackInterval, nullptr);
    FTimerActive = true;
  }
}

void TbsSkinCustomSlider::StopTracking() {
  if (!FTracking) return;
  if (FTimerActive && HandleAllocated()) KillTimer(Handle(), TrackTimerId);
  FTimerActive = false;
  FTracking = false;
  SetMouseCapture(false);
  Changed();
}

void TbsSkinCustomSlider::ThumbMouseDown(TMouseButton Button, TShiftState, Integer X, Integer Y) {
  if (CanFocus() && !Focused()) SetFocus();
  if (Button != mbLeft || !CanModify()) return;
  FSliding = true;
  FThumbDown = true;
  FHit = horizontal() ? X - FThumbRect.Left : Y - FThumbRect.Top;
  InvalidateThumb();
  Update();
}

void TbsSkinCustomSlider::ThumbMouseMove(TShiftState, Integer X, Integer Y) {
  SetThumbOffset((horizontal() ? X : Y) - FHit);
}

void TbsSkinCustomSlider::ThumbMouseUp(TMouseButton Button, TShiftState, Integer, Integer) {
  if (Button != mbLeft) return;
  FSliding = false;
  FThumbDown = false;
  InvalidateThumb();
  Update();
  Changed();
}

void TbsSkinCustomSlider::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  if (Shift.Contains(ssLeft) && FSliding)
    ThumbMouseMove(Shift, X, Y);
  else if (FTracking)
    FMousePos = TPoint{X, Y};
  if (!*Alive) return;
  TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinCustomSlider::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  StopTracking();
  if (!*Alive) return;
  if (FSliding) ThumbMouseUp(Button, Shift, X, Y);
  if (!*Alive) return;
  TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomSlider::KeyDown(Word& Key, TShiftState Shift) {
  if (!Shift.Contains(ssShift) && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl)) {
    TbsJumpMode Mode = jmNone;
    if (Key == VK_HOME)
      Mode = jmHome;
    else if (Key == VK_END)
      Mode = jmEnd;
    else if (horizontal() && Key == VK_LEFT)
      Mode = jmPrior;
    else if (horizontal() && Key == VK_RIGHT)
      Mode = jmNext;
    else if (!horizontal() && Key == VK_UP)
      Mode = jmNext;
    else if (!horizontal() && Key == VK_DOWN)
      Mode = jmPrior;
    if (Mode != jmNone && CanModify()) {
      auto Alive = FAlive;
      Key = 0;
      ThumbJump(Mode);
      if (!*Alive) return;
      Changed();
      if (!*Alive) return;
    }
  }
  TbsSkinControl::KeyDown(Key, Shift);
}

// ---- messages ----

void TbsSkinCustomSlider::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == TrackTimerId) TimerTrack();
      break;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      break;
    default:
      TbsSkinControl::Dispatch(Message);
      break;
  }
}

void TbsSkinCustomSlider::WMSize(TMessage& Message) {
  TbsSkinControl::WMSize(Message);
  if (!reading()) ElementsChanged();
}

void TbsSkinCustomSlider::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const bool Resized = AWidth != Width() || AHeight != Height();
  TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Without a window there is no WM_SIZE to rebuild the ruler for the new size.
  if (Resized && !HandleAllocated() && !reading() && !ControlState().Contains(csCreating)) ElementsChanged();
}

void TbsSkinCustomSlider::WMMove(TMessage& Message) {
  TbsSkinControl::WMMove(Message);
  if (FTransparent) Invalidate();
}

void TbsSkinCustomSlider::CMEnabledChanged(TMessage& Message) {
  TbsSkinControl::CMEnabledChanged(Message);
  InvalidateThumb();
}

void TbsSkinCustomSlider::CMFocusChanged(TMessage& Message) {
  const bool Now = reinterpret_cast<TWinControl*>(Message.LParam) == static_cast<TWinControl*>(this);
  if (Now != FFocused) {
    FFocused = Now;
    if (FOptions.Contains(soShowFocus)) Invalidate();
  }
  TbsSkinControl::CMFocusChanged(Message);
}

void TbsSkinCustomSlider::CheckParentBackground() {
  if (FTransparent) Repaint();
}

// ---- painting ----

void TbsSkinCustomSlider::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  TBitmap B;
  B.SetSize(Width(), Height());
  TCanvas* C = B.Canvas();
  if (FTransparent) {
    DrawParentBackground(this, C);
  } else {
    C->Brush()->SetColor(FIndex == -1 ? Color() : BGColor);
    C->FillRect(Rect(0, 0, Width(), Height()));
  }
  if (FRuler->Width() > 0 && FRuler->Height() > 0) {
    const bool Opaque = !skinRuler() && FOptions.Contains(soRulerOpaque);
    FRuler->SetTransparent(!Opaque);
    C->Draw(FRulerOrg.X, FRulerOrg.Y, FRuler.get());
  }
  TRect R;
  GetSliderRect(R);
  if (FOptions.Contains(soShowFocus) && FFocused && !designing()) {
    C->Font()->SetColor(FIndex != -1 ? FSD->SkinColors()->cBtnText() : Font()->Color());
    DrawDottedFocusRect(C, Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2));
  }
  if (FOptions.Contains(soShowPoints)) {
    FPaintCanvas = C;
    if (OnDrawPoints)
      OnDrawPoints(this);
    else
      DrawPoints(C, FIncrement, 3, 5);
    FPaintCanvas = nullptr;
  }
  drawThumb(C);
  Canvas()->Draw(0, 0, &B);
}

void TbsSkinCustomSlider::drawThumb(TCanvas* C) {
  const bool Hot = FThumbDown || !Enabled();
  const Integer X = FThumbRect.Left, Y = FThumbRect.Top;
  if (skinThumb()) {
    const TRect& S = horizontal() ? HThumbRect : VThumbRect;
    const Integer Half = RectWidth(S) / 2;
    const TRect Source = Hot ? Rect(S.Left + Half, S.Top, S.Left + 2 * Half, S.Bottom)
                             : Rect(S.Left, S.Top, S.Left + Half, S.Bottom);
    TBitmap T;
    T.SetPixelFormat(pf24bit);
    T.SetSize(Half, RectHeight(S));
    T.Canvas()->CopyRect(Rect(0, 0, Half, RectHeight(S)), Picture->Canvas(), Source);
    T.SetTransparent(true);
    C->Draw(X, Y, &T);
  } else if (FThumbImageList != nullptr) {
    const Integer Index = Hot ? FThumbActiveImageIndex : FThumbImageIndex;
    if (Index >= 0 && Index < FThumbImageList->Count()) FThumbImageList->Draw(C, X, Y, Index);
  } else {
    TBitmap* Image = thumbImage();
    const Integer W = Image->Width() / FNumThumbStates, H = Image->Height();
    if (W <= 0 || H <= 0) return;
    const Integer From = FNumThumbStates == 2 && Hot ? W : 0;
    TBitmap T;
    T.SetPixelFormat(pf24bit);
    T.SetSize(W, H);
    T.Canvas()->CopyRect(Rect(0, 0, W, H), Image->Canvas(), Rect(From, 0, From + W, H));
    T.SetTransparent(!FOptions.Contains(soThumbOpaque));
    C->Draw(X, Y, &T);
  }
}

void TbsSkinCustomSlider::DefaultDrawPoints(Integer PointsStep, Integer PointsHeight,
                                            Integer ExtremePointsHeight) {
  TCanvas* C = FPaintCanvas != nullptr ? FPaintCanvas : Canvas();
  DrawPoints(C, PointsStep, PointsHeight, ExtremePointsHeight);
}

void TbsSkinCustomSlider::DrawPoints(TCanvas* Canvas, Integer Step, Integer PointsHeight,
                                     Integer ExtremePointsHeight) {
  const Integer L = GetRulerLength();
  const Integer Range = FMaxValue - FMinValue;
  if (Step <= 0 || L <= 0 || Range <= 0) return;
  Canvas->Pen()->SetColor(FIndex != -1 ? PointsColor : clWindowText);
  // Thin the points out until they stand at least 4 pixels apart (or only the ends are left).
  Integer h = 1;
  for (;; ++h) {
    const Integer Count = roundEven(double(Range) / (double(Step) * h)) + 1;
    const Integer Spacing = Count <= 1 ? L : L / (Count - 1);
    if (Spacing >= 4 || Spacing >= L) break;
  }
  const Int64 Stride = Int64(Step) * h;
  auto point = [&](Integer V) {
    const Integer Len = V == FMinValue || V == FMaxValue ? ExtremePointsHeight : PointsHeight;
    const Integer At = GetOffsetByValue(V);
    if (horizontal()) {
      const Integer X = At + RectWidth(FThumbRect) / 2;
      Canvas->MoveTo(X, FPointsRect.Top);
      Canvas->LineTo(X, FPointsRect.Top + Len);
    } else {
      const Integer Y = At + RectHeight(FThumbRect) / 2;
      Canvas->MoveTo(FPointsRect.Left, Y);
      Canvas->LineTo(FPointsRect.Left + Len, Y);
    }
  };
  for (Int64 V = FMinValue; V < FMaxValue; V += Stride) point(Integer(V));
  point(FMaxValue);
}
