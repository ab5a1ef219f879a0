#include "platform/ui/comctrls/trackbar.h"

#include <algorithm>

#include "platform/rtl/convert.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {
constexpr Integer ThumbThickness = 11;  // along the channel
constexpr Integer ThumbLength = 20;     // across it
constexpr Integer ChannelWidth = 4;
}  // namespace

TTrackBar::TTrackBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque};
  FWidth = 150;
  FHeight = 32;
  FTabStop = true;
  FParentColor = true;
}

void TTrackBar::SetMin(Integer Value) {
  FMin = Value;
  if (FMax < FMin) FMax = FMin;
  SetPosition(FPosition);
  Invalidate();
}

void TTrackBar::SetMax(Integer Value) {
  FMax = Value;
  if (FMin > FMax) FMin = FMax;
  SetPosition(FPosition);
  Invalidate();
}

void TTrackBar::SetPosition(Integer Value) {
  Value = std::clamp(Value, FMin, FMax);
  if (Value == FPosition) return;
  FPosition = Value;
  Invalidate();
  Changed();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  // The control turns with its orientation, as a person expects of a designer's rotate.
  if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  Invalidate();
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

Integer TTrackBar::channelLength() {
  const Integer Extent = horizontal() ? ClientWidth() : ClientHeight();
  return std::max(0, Extent - ThumbThickness);
}

TRect TTrackBar::ThumbRect() {
  const Integer Range = FMax - FMin;
  const Integer Lead = Range > 0 ? MulDiv(FPosition - FMin, channelLength(), Range) : 0;
  const Integer Across = horizontal() ? ClientHeight() : ClientWidth();
  const Integer Len = std::min(ThumbLength, std::max(0, Across - 4));
  const Integer Side = (Across - Len) / 2;
  return horizontal() ? Bounds(Lead, Side, ThumbThickness, Len) : Bounds(Side, Lead, Len, ThumbThickness);
}

Integer TTrackBar::positionFromPoint(Integer Along) {
  const Integer Range = FMax - FMin, Length = channelLength();
  if (Range <= 0 || Length <= 0) return FMin;
  return std::clamp(FMin + MulDiv(Along - ThumbThickness / 2, Range, Length), FMin, FMax);
}

void TTrackBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_MOUSEWHEEL: {
      // A notch up moves towards the minimum, as the Up key does.
      const Integer Notches = GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA;
      SetPosition(FPosition - Notches * FLineSize);
      Message.Result = 1;
      return;
    }
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TTrackBar::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_LEFT:
    case VK_UP:
      SetPosition(FPosition - FLineSize);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      SetPosition(FPosition + FLineSize);
      break;
    case VK_PRIOR:
      SetPosition(FPosition - FPageSize);
      break;
    case VK_NEXT:
      SetPosition(FPosition + FPageSize);
      break;
    case VK_HOME:
      SetPosition(FMin);
      break;
    case VK_END:
      SetPosition(FMax);
      break;
    default:
      return;
  }
  Key = 0;
}

void TTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    const TRect T = ThumbRect();
    const Integer At = along(X, Y);
    const Integer Lead = horizontal() ? T.Left : T.Top;
    if (PtInRect(&T, Point(X, Y))) {
      FDragging = true;
      FDragOffset = At - Lead;
    } else {
      SetPosition(FPosition + (At < Lead ? -FPageSize : FPageSize));
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TTrackBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FDragging) SetPosition(positionFromPoint(along(X, Y) - FDragOffset + ThumbThickness / 2));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) FDragging = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TTrackBar::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  const TColor Back = ColorToRGB(FColor);
  C->Brush()->SetColor(Back);
  C->FillRect(Client);
  const TRect T = ThumbRect();
  const Integer Half = ThumbThickness / 2;
  // The channel, filled with the accent up to the thumb's centre.
  TRect Channel, Filled;
  if (horizontal()) {
    const Integer Mid = (Client.Bottom - ChannelWidth) / 2;
    Channel = Rect(Half, Mid, Client.Right - Half, Mid + ChannelWidth);
    Filled = Rect(Channel.Left, Channel.Top, T.Left + Half, Channel.Bottom);
  } else {
    const Integer Mid = (Client.Right - ChannelWidth) / 2;
    Channel = Rect(Mid, Half, Mid + ChannelWidth, Client.Bottom - Half);
    Filled = Rect(Channel.Left, Channel.Top, Channel.Right, T.Top + Half);
  }
  C->Brush()->SetColor(stdlook::Track);
  C->FillRect(Channel);
  C->Brush()->SetColor(FEnabled ? stdlook::Accent : stdlook::TextDisabled);
  if (Filled.Right > Filled.Left && Filled.Bottom > Filled.Top) C->FillRect(Filled);
  const bool HasFocus = HandleAllocated() && GetFocus() == FHandle;
  const TColor Border = !FEnabled               ? stdlook::TextDisabled
                        : HasFocus || FDragging ? stdlook::Accent
                                                : stdlook::FaceBorder;
  stdlook::RoundedBox(C, T, FDragging ? stdlook::FacePressed : stdlook::Face, Border, Back);
  if (HasFocus) stdlook::FocusRing(C, T);
}
