#include "skin/controls/bars/bsskinscrollbar.h"

#include <cmath>

#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

// Round to nearest, ties to even.
Integer roundEven(double Value) {
  return Integer(std::nearbyint(Value));
}

bool inside(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

const TColor HotFrame = TColor(RGB(59, 107, 183));
const TColor HotFill = TColor(RGB(193, 212, 243));
const TColor DownFill = TColor(RGB(162, 188, 228));

}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  FSkinDataName = "hscrollbar";
  FDefaultHeight = 19;
  SetTabStop(false);
  SetBounds(Left(), Top(), 200, 19);
}

TbsSkinScrollBar::~TbsSkinScrollBar() {
  *FAlive = false;
}

// ---- value model ----

Integer TbsSkinScrollBar::clamped(Integer Value) const {
  if (Value < FMin) return FMin;
  if (Value > upperBound()) return upperBound();
  return Value;
}

void TbsSkinScrollBar::SetPosition(Integer Value) {
  Value = clamped(Value);
  if (Value == FPosition) return;
  FPosition = Value;
  Repaint();
  if (OnChange) OnChange(this);
}

void TbsSkinScrollBar::SimplySetPosition(Integer AValue) {
  AValue = clamped(AValue);
  if (AValue == FPosition) return;
  FPosition = AValue;
  Repaint();
}

void TbsSkinScrollBar::SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize) {
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  FPosition = clamped(APosition);
  Repaint();
}

void TbsSkinScrollBar::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
  Repaint();
}

void TbsSkinScrollBar::SetMax(Integer Value) {
  FMax = Value;
  if (FPageSize == 0) {
    if (FPosition > FMax) FPosition = FMax;
  } else {
    if (FPosition > FMax - FPageSize + 1) FPosition = FMax - FPageSize + 1;
    if (FPosition < FMin) FPosition = FMin;
  }
  Repaint();
}

void TbsSkinScrollBar::SetPageSize(Integer Value) {
  if (FPosition + Value <= FMax + 1) FPageSize = Value;
  Repaint();
}

void TbsSkinScrollBar::SetSmallChange(Integer Value) {
  FSmallChange = Value;
  Repaint();
}

void TbsSkinScrollBar::SetLargeChange(Integer Value) {
  FLargeChange = Value;
  Repaint();
}

void TbsSkinScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (designing() && !ComponentState().Contains(csLoading)) {
    SetSkinDataName(Value == sbVertical ? "vscrollbar" : "hscrollbar");
    const bool WrongWay = Value == sbVertical ? Width() > Height() : Height() > Width();
    if (WrongWay) SetBounds(Left(), Top(), Height(), Width());
    if (Value == sbVertical) {
      FDefaultWidth = FDefaultHeight;
      FDefaultHeight = 0;
    } else {
      FDefaultHeight = FDefaultWidth;
      FDefaultWidth = 0;
    }
  }
  Repaint();
}

void TbsSkinScrollBar::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TbsSkinScrollBar::SetBothMarkerWidth(Integer Value) {
  if (Value < 0) return;
  FBothMarkerWidth = Value;
  if (FIndex == -1) Repaint();
}

void TbsSkinScrollBar::SetBoth(bool Value) {
  if (FBoth == Value) return;
  FBoth = Value;
  if (!designing()) {
    if (Value) {
      FNormalSkinDataName = SkinDataName();
      SetSkinDataName(FBothSkinDataName);
    } else if (!FNormalSkinDataName.empty()) {
      SetSkinDataName(FNormalSkinDataName);
    }
  }
  if (FIndex == -1)
    Repaint();
  else
    ChangeSkinData();
}

// ---- skin ----

void TbsSkinScrollBar::GetSkinData() {
  TbsSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* R = dynamic_cast<TbsDataSkinScrollBarControl*>(FSD->Ctrls(FIndex));
  if (R == nullptr) return;
  TrackArea = R->TrackArea;
  UpButtonRect = R->UpButtonRect;
  ActiveUpButtonRect = R->ActiveUpButtonRect;
  DownUpButtonRect = IsEmptyRect(R->DownUpButtonRect) ? ActiveUpButtonRect : R->DownUpButtonRect;
  DownButtonRect = R->DownButtonRect;
  ActiveDownButtonRect = R->ActiveDownButtonRect;
  DownDownButtonRect = IsEmptyRect(R->DownDownButtonRect) ? ActiveDownButtonRect : R->DownDownButtonRect;
  ThumbRect = R->ThumbRect;
  ActiveThumbRect = IsEmptyRect(R->ActiveThumbRect) ? ThumbRect : R->ActiveThumbRect;
  DownThumbRect = IsEmptyRect(R->DownThumbRect) ? ActiveThumbRect : R->DownThumbRect;
  ThumbOffset1 = R->ThumbOffset1;
  ThumbOffset2 = R->ThumbOffset2;
  ThumbTransparent = R->ThumbTransparent;
  ThumbTransparentColor = R->ThumbTransparentColor;
  GlyphRect = R->GlyphRect;
  ActiveGlyphRect = IsEmptyRect(R->ActiveGlyphRect) ? GlyphRect : R->ActiveGlyphRect;
  DownGlyphRect = IsEmptyRect(R->DownGlyphRect) ? ActiveGlyphRect : R->DownGlyphRect;
  GlyphTransparent = R->GlyphTransparent;
  GlyphTransparentColor = R->GlyphTransparentColor;
  ThumbStretchEffect = R->ThumbStretchEffect;
  ThumbMinSize = R->ThumbMinSize;
  ThumbMinPageSize = R->ThumbMinPageSize;
}

bool TbsSkinScrollBar::skinUsable() const {
  // A record of another kind, or an element whose picture cannot be drawn, gets the default look.
  return FIndex != -1 && dynamic_cast<TbsDataSkinScrollBarControl*>(FSD->Ctrls(FIndex)) != nullptr &&
         CanCompose(Picture, SkinRect) && !IsEmptyRect(TrackArea) && !IsEmptyRect(ThumbRect);
}

bool TbsSkinScrollBar::inPicture(const TRect& R) const {
  return Picture != nullptr && !IsEmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= Picture->Width() &&
         R.Bottom <= Picture->Height();
}

void TbsSkinScrollBar::CalcSize(Integer& AWidth, Integer& AHeight) {
  TbsSkinCustomControl::CalcSize(AWidth, AHeight);
  CalcRects();
}

// ---- geometry ----

double TbsSkinScrollBar::valueFraction() const {
  if (FMax == FMin) return 0;
  return double(FPosition - FMin) / double(FMax - FMin);
}

double TbsSkinScrollBar::thumbFraction() const {
  if (FPageSize == 0) return valueFraction();
  const Integer Den = FMax - FPageSize + 1 - FMin;
  if (Den <= 0) return horizontal() ? 1 : 0;
  return double(FPosition - FMin) / double(Den);
}

Integer TbsSkinScrollBar::pageThumbLength(Integer TrackLength, Integer MinLength) const {
  const Integer Den = FMax - FMin + 1;
  const Integer T = Den == 0 ? 0 : roundEven(double(TrackLength) * FPageSize / Den);
  return T < MinLength ? MinLength : T;
}

void TbsSkinScrollBar::placeThumb(Integer Length, Integer Across0, Integer Across1) {
  const Integer Start = horizontal() ? NewTrackArea.Left : NewTrackArea.Top;
  const Integer End = horizontal() ? NewTrackArea.Right : NewTrackArea.Bottom;
  const Integer h = Length / 2;
  Offset1 = Start + h;
  Offset2 = End - h;
  BOffset = roundEven((Offset2 - Offset1) * thumbFraction());
  const Integer C = Offset1 + BOffset;
  Buttons[ThumbButton].R =
      horizontal() ? Rect(C - h, Across0, C + h, Across1) : Rect(Across0, C - h, Across1, C + h);
}

void TbsSkinScrollBar::calcDefaultRects() {
  const Integer W = Width(), H = Height();
  if (horizontal()) {
    const Integer BW = FBoth ? W - FBothMarkerWidth : W;
    Buttons[DownButton].R = Rect(1, 1, 17, H - 1);
    Buttons[UpButton].R = Rect(BW - 17, 1, BW - 1, H - 1);
    NewTrackArea = Rect(17, 1, BW - 17, H - 1);
  } else {
    Buttons[DownButton].R = Rect(1, 1, W - 1, 17);
    Buttons[UpButton].R = Rect(1, H - 17, W - 1, H - 1);
    NewTrackArea = Rect(1, 17, W - 1, H - 17);
  }
  Integer T = DefaultThumbLength;
  if (FPageSize != 0) {
    const Integer L = horizontal() ? RectWidth(NewTrackArea) : RectHeight(NewTrackArea);
    T = pageThumbLength(L, DefaultThumbLength);
  }
  if (horizontal())
    placeThumb(T, NewTrackArea.Top, NewTrackArea.Bottom);
  else
    placeThumb(T, NewTrackArea.Left, NewTrackArea.Right);
}

void TbsSkinScrollBar::calcSkinRects() {
  const Integer tw = RectWidth(ThumbRect), th = RectHeight(ThumbRect);
  NewTrackArea = TrackArea;
  Buttons[UpButton].R = UpButtonRect;
  Buttons[DownButton].R = DownButtonRect;
  if (horizontal()) {
    const Integer d = Width() - RectWidth(SkinRect);
    NewTrackArea.Right += d;
    // A button that starts at the stretch point or past it lies in the fixed far end of the element,
    // so it follows the far end of the bar.
    for (Integer i : {UpButton, DownButton})
      if (Buttons[i].R.Left >= RTPt.X) OffsetRect(&Buttons[i].R, d, 0);
  } else {
    const Integer d = Height() - RectHeight(SkinRect);
    NewTrackArea.Bottom += d;
    for (Integer i : {UpButton, DownButton})
      if (Buttons[i].R.Top >= LBPt.Y) OffsetRect(&Buttons[i].R, 0, d);
  }
  Integer Length = horizontal() ? tw : th;
  if (ThumbMinSize != 0) Length = ThumbMinSize;
  if (FPageSize == 0) {
    if (ThumbMinPageSize != 0) Length = ThumbMinPageSize;
  } else {
    const Integer L = horizontal() ? RectWidth(NewTrackArea) : RectHeight(NewTrackArea);
    Length = pageThumbLength(L, Length);
  }
  if (horizontal()) {
    const Integer Top = NewTrackArea.Top + RectHeight(NewTrackArea) / 2 - th / 2;
    placeThumb(Length, Top, Top + th);
  } else {
    const Integer Left = NewTrackArea.Left + RectWidth(NewTrackArea) / 2 - tw / 2;
    placeThumb(Length, Left, Left + tw);
  }
}

void TbsSkinScrollBar::CalcRects() {
  if (skinUsable())
    calcSkinRects();
  else
    calcDefaultRects();
}

Integer TbsSkinScrollBar::CalcPosition(Integer Offset) {
  if (FPageSize != 0) {
    const TRect& T = Buttons[ThumbButton].R;
    const Integer h = (horizontal() ? RectWidth(T) : RectHeight(T)) / 2;
    Offset1 = (horizontal() ? NewTrackArea.Left : NewTrackArea.Top) + h;
    Offset2 = (horizontal() ? NewTrackArea.Right : NewTrackArea.Bottom) - h;
  }
  const Integer Span = Offset2 - Offset1;
  double f = Span <= 0 ? 0 : double(Offset) / Span;
  if (f < 0) f = 0;
  if (f > 1) f = 1;
  if (FPageSize == 0) return FMin + roundEven((FMax - FMin) * f);
  return FMin + roundEven((FMax - FMin - FPageSize + 1) * f);
}

// ---- mouse ----

void TbsSkinScrollBar::ButtonEnter(Integer Index) {
  Buttons[Index].MouseIn = true;
  Repaint();
  // Coming back onto a held arrow resumes its repeat.
  if (MouseD && Index == CaptureButton && Index != ThumbButton && HandleAllocated())
    SetTimer(Handle(), RepeatTimerId, RepeatInterval, nullptr);
}

void TbsSkinScrollBar::ButtonLeave(Integer Index) {
  Buttons[Index].MouseIn = false;
  Repaint();
  if (MouseD && Index == CaptureButton && Index != ThumbButton && HandleAllocated())
    KillTimer(Handle(), RepeatTimerId);
}

void TbsSkinScrollBar::TestActive(Integer X, Integer Y) {
  Integer New = -1;
  for (Integer i = 0; i < 3 && New == -1; ++i)
    if (inside(Buttons[i].R, X, Y)) New = i;
  if (CaptureButton != -1 && New != CaptureButton) New = -1;
  OldActiveButton = ActiveButton;
  if (New == ActiveButton) return;
  if (ActiveButton != -1) ButtonLeave(ActiveButton);
  ActiveButton = New;
  if (New != -1) ButtonEnter(New);
}

bool TbsSkinScrollBar::ButtonClick(Integer Index) {
  auto Alive = FAlive;
  if (Index == UpButton) {
    if (OnUpButtonClick)
      OnUpButtonClick(this);
    else
      SetPosition(FPosition + FSmallChange);
  } else if (Index == DownButton) {
    if (OnDownButtonClick)
      OnDownButtonClick(this);
    else
      SetPosition(FPosition - FSmallChange);
  }
  return *Alive;
}

void TbsSkinScrollBar::ButtonDown(Integer Index, Integer X, Integer Y) {
  if (Index == ThumbButton) {
    Buttons[ThumbButton].Down = true;
    Repaint();
    OMPos = horizontal() ? X : Y;
    OldBOffset = BOffset;
    FDown = true;
    Repaint();
    return;
  }
  if (!ButtonClick(Index)) return;
  TimerMode = Index == UpButton ? 2 : 1;
  Buttons[Index].Down = true;
  Repaint();
  StartTimer(RepeatDelay);
}

void TbsSkinScrollBar::ButtonUp(Integer Index) {
  Buttons[Index].Down = false;
  if (Index != ActiveButton) Buttons[Index].MouseIn = false;
  Repaint();
  if (Index == ThumbButton)
    FDown = false;
  else
    StopTimer();
}

bool TbsSkinScrollBar::pageStep(bool Before) {
  auto Alive = FAlive;
  SetPosition(FPosition + (Before ? -FLargeChange : FLargeChange));
  if (!*Alive) return false;
  if (Before && OnPageUp)
    OnPageUp(this);
  else if (!Before && OnPageDown)
    OnPageDown(this);
  return *Alive;
}

void TbsSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft) return;
  MouseD = true;
  MX = X;
  MY = Y;
  CalcRects();
  TimerMode = 0;
  WaitMode = true;
  for (Integer i = 0; i < 3; ++i)
    if (inside(Buttons[i].R, X, Y)) {
      CaptureButton = i;
      ButtonDown(i, X, Y);
      return;
    }
  if (!inside(NewTrackArea, X, Y)) return;
  const TRect& T = Buttons[ThumbButton].R;
  const bool Before = horizontal() ? X < T.Left : Y < T.Top;
  SetPosition(FPosition + (Before ? -FLargeChange : FLargeChange));
  if (!*Alive) return;
  TimerMode = Before ? 3 : 4;
  StartTimer(RepeatDelay);
  if (Before) {
    if (OnPageUp) OnPageUp(this);
  } else if (OnPageDown) {
    OnPageDown(this);
  }
}

void TbsSkinScrollBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (!*Alive) return;
  MX = X;
  MY = Y;
  TestActive(X, Y);
  if (FDown) {
    const Integer Delta = (horizontal() ? X : Y) - OMPos;
    SetPosition(CalcPosition(OldBOffset + Delta));
  }
}

void TbsSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive) return;
  MouseD = false;
  if (TimerMode >= 3) StopTimer();
  if (CaptureButton == -1) return;
  const Integer Released = CaptureButton;
  ButtonUp(Released);
  CaptureButton = -1;
  if (Button == mbLeft && Released == ThumbButton && OnLastChange) OnLastChange(this);
}

void TbsSkinScrollBar::CMMouseLeave(TMessage& Message) {
  TbsSkinCustomControl::CMMouseLeave(Message);
  if (designing()) return;
  if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
    Buttons[ActiveButton].MouseIn = false;
    Repaint();
    ActiveButton = -1;
  }
  if (MouseD && TimerMode > 3) StopTimer();
}

// ---- repeat ----

void TbsSkinScrollBar::StartTimer(UINT Interval) {
  if (!HandleAllocated()) return;
  KillTimer(Handle(), RepeatTimerId);
  SetTimer(Handle(), RepeatTimerId, Interval, nullptr);
}

void TbsSkinScrollBar::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), RepeatTimerId);
  TimerMode = 0;
}

void TbsSkinScrollBar::WMTimer(TMessage& Message) {
  if (Message.WParam != RepeatTimerId) return;
  if (WaitMode) {
    // The long first interval is over; the repeat itself runs at the short one.
    WaitMode = false;
    StartTimer(RepeatInterval);
    return;
  }
  switch (TimerMode) {
    case 1:
      ButtonClick(DownButton);
      break;
    case 2:
      ButtonClick(UpButton);
      break;
    case 3:
    case 4: {
      TestActive(MX, MY);
      CalcRects();
      const TRect& T = Buttons[ThumbButton].R;
      const bool Go = TimerMode == 3 ? (horizontal() ? MX < T.Left : MY < T.Top)
                                     : (horizontal() ? MX > T.Right : MY > T.Bottom);
      if (Go)
        pageStep(TimerMode == 3);
      else
        StopTimer();
      break;
    }
    default:
      break;
  }
}

// ---- keys, wheel, focus ----

void TbsSkinScrollBar::KeyDown(Word& Key, TShiftState Shift) {
  auto Alive = FAlive;
  TbsSkinCustomControl::KeyDown(Key, Shift);
  if (!*Alive || !FCanFocused) return;
  if (Key == VK_LEFT || Key == VK_UP)
    SetPosition(FPosition - FSmallChange);
  else if (Key == VK_RIGHT || Key == VK_DOWN)
    SetPosition(FPosition + FSmallChange);
}

void TbsSkinScrollBar::WMMouseWheel(TMessage& Message) {
  if (!FCanFocused || !Focused()) return;
  const auto Delta = static_cast<int16_t>((Message.WParam >> 16) & 0xFFFF);
  SetPosition(FPosition + (Delta > 0 ? -FSmallChange : FSmallChange));
  Message.Result = 1;
}

void TbsSkinScrollBar::WndProc(TMessage& Message) {
  if (FCanFocused && !designing()) {
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && HandleAllocated() &&
        GetFocus() != Handle()) {
      FClicksDisabled = true;
      ::SetFocus(Handle());
      FClicksDisabled = false;
      if (GetFocus() != Handle()) return;
    }
    if (Message.Msg == CN_COMMAND && FClicksDisabled) return;
  }
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      WMTimer(Message);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(Message);
      break;
    case CM_WANTSPECIALKEY:
      TbsSkinCustomControl::Dispatch(Message);
      if (FCanFocused && Message.WParam >= VK_LEFT && Message.WParam <= VK_DOWN) Message.Result = 1;
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

void TbsSkinScrollBar::WMSetFocus(TMessage& Message) {
  TbsSkinCustomControl::WMSetFocus(Message);
  if (FCanFocused) Repaint();
}

void TbsSkinScrollBar::WMKillFocus(TMessage& Message) {
  TbsSkinCustomControl::WMKillFocus(Message);
  if (FCanFocused) Repaint();
}

void TbsSkinScrollBar::CMEnabledChanged(TMessage& Message) {
  TbsSkinCustomControl::CMEnabledChanged(Message);
  Repaint();
}

void TbsSkinScrollBar::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  if (FromWMPaint || Message.WParam == 0 || Width() <= 0 || Height() <= 0) return;
  // Erased outside painting: the whole bar goes into the erase DC at once.
  TBitmap B;
  CreateControlImage(&B);
  TCanvas C;
  C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
  C.Draw(0, 0, &B);
  C.SetHandle(nullptr);
}

// ---- painting ----

void TbsSkinScrollBar::CreateControlDefaultImage(TBitmap* B) {
  CalcRects();
  B->Canvas()->Brush()->SetColor(clBtnFace);
  B->Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  if (Enabled()) DrawButton(B->Canvas(), ThumbButton);
  DrawButton(B->Canvas(), UpButton);
  DrawButton(B->Canvas(), DownButton);
}

void TbsSkinScrollBar::CreateControlSkinImage(TBitmap* B) {
  if (!skinUsable()) {
    CreateControlDefaultImage(B);
    return;
  }
  TbsSkinCustomControl::CreateControlSkinImage(B);
  CalcRects();
  DrawButton(B->Canvas(), UpButton);
  DrawButton(B->Canvas(), DownButton);
  if (Enabled()) DrawButton(B->Canvas(), ThumbButton);
}

void TbsSkinScrollBar::DrawButton(TCanvas* C, Integer Index) {
  if (!skinUsable())
    drawDefaultButton(C, Index);
  else if (Index == ThumbButton)
    drawSkinThumb(C);
  else
    drawSkinArrow(C, Index);
}

void TbsSkinScrollBar::drawDefaultButton(TCanvas* C, Integer Index) {
  const TbsScrollBarButton& Btn = Buttons[Index];
  const bool FocusedThumb = Index == ThumbButton && FCanFocused && HandleAllocated() && Focused();
  const bool Pressed = (Btn.Down && Btn.MouseIn) || (Index == ThumbButton && (Btn.Down || FocusedThumb));
  TColor Frame = clBtnShadow, Fill = clBtnFace;
  if (Pressed) {
    Frame = HotFrame;
    Fill = DownFill;
  } else if (Btn.MouseIn) {
    Frame = HotFrame;
    Fill = HotFill;
  }
  if (IsEmptyRect(Btn.R)) return;
  C->Brush()->SetColor(Fill);
  C->FillRect(Btn.R);
  C->Brush()->SetColor(Frame);
  C->FrameRect(Btn.R);
  if (Index == UpButton)
    DrawArrow(C, Btn.R, clBlack, horizontal() ? 2 : 4);
  else if (Index == DownButton)
    DrawArrow(C, Btn.R, clBlack, horizontal() ? 1 : 3);
}

void TbsSkinScrollBar::drawSkinArrow(TCanvas* C, Integer Index) {
  const TbsScrollBarButton& Btn = Buttons[Index];
  const bool Up = Index == UpButton;
  TRect Source{};
  if (Btn.Down && Btn.MouseIn)
    Source = Up ? DownUpButtonRect : DownDownButtonRect;
  else if (Btn.MouseIn)
    Source = Up ? ActiveUpButtonRect : ActiveDownButtonRect;
  // The element image already shows the normal state; a state picture outside the skin picture is
  // left out rather than read.
  if (!inPicture(Source) || IsEmptyRect(Btn.R)) return;
  C->CopyRect(Btn.R, Picture->Canvas(), Source);
}

void TbsSkinScrollBar::drawSkinThumb(TCanvas* C) {
  const TbsScrollBarButton& Btn = Buttons[ThumbButton];
  const Integer W = RectWidth(Btn.R), H = RectHeight(Btn.R);
  if (W <= 0 || H <= 0) return;
  const bool FocusedThumb = FCanFocused && HandleAllocated() && Focused();
  Integer State = 0;
  if (Btn.Down || FocusedThumb)
    State = 2;
  else if (Btn.MouseIn)
    State = 1;
  const TRect Source = State == 2 ? DownThumbRect : State == 1 ? ActiveThumbRect : ThumbRect;
  if (!inPicture(Source)) {
    drawDefaultButton(C, ThumbButton);
    return;
  }
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetSize(W, H);
  const Integer SourceLength = horizontal() ? RectWidth(Source) : RectHeight(Source);
  const bool ThreeSlice = (FPageSize != 0 || ThumbMinPageSize != 0) && ThumbOffset1 >= 0 &&
                          ThumbOffset2 >= 0 && ThumbOffset1 + ThumbOffset2 <= SourceLength;
  if (ThreeSlice && horizontal())
    ComposeSkinImageH(ThumbOffset1, ThumbOffset2, &Bmp, Picture, Source, W, H, ThumbStretchEffect);
  else if (ThreeSlice)
    ComposeSkinImageV(ThumbOffset1, ThumbOffset2, &Bmp, Picture, Source, W, H, ThumbStretchEffect);
  else
    Bmp.Canvas()->CopyRect(Rect(0, 0, W, H), Picture->Canvas(), Source);
  const TRect Glyph = State == 2 ? DownGlyphRect : State == 1 ? ActiveGlyphRect : GlyphRect;
  const Integer GW = RectWidth(Glyph), GH = RectHeight(Glyph);
  if (inPicture(Glyph) && (horizontal() ? GW < Bmp.Width() : GH < Bmp.Height())) {
    TBitmap G;
    G.SetPixelFormat(pf24bit);
    G.SetSize(GW, GH);
    G.Canvas()->CopyRect(Rect(0, 0, GW, GH), Picture->Canvas(), Glyph);
    if (GlyphTransparent) {
      G.SetTransparentMode(tmFixed);
      G.SetTransparentColor(GlyphTransparentColor);
      G.SetTransparent(true);
    }
    Bmp.Canvas()->Draw(Bmp.Width() / 2 - GW / 2, Bmp.Height() / 2 - GH / 2, &G);
  }
  if (ThumbTransparent) {
    Bmp.SetTransparentMode(tmFixed);
    Bmp.SetTransparentColor(ThumbTransparentColor);
    Bmp.SetTransparent(true);
  }
  C->Draw(Btn.R.Left, Btn.R.Top, &Bmp);
}

void AttachExternalScrollBar(TComponent* View, TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value,
                             TNotifyEvent OnChange) {
  if (Field && Field != Value) Field->RemoveFreeNotification(View);
  Field = Value;
  if (!Value) return;
  Value->FreeNotification(View);
  Value->SetEnabled(true);
  Value->SetVisible(false);
  Value->OnChange = std::move(OnChange);
}
