#include "platform/ui/extctrls/panel.h"

#include "platform/gdi/text.h"

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                csOpaque,          csDoubleClicks, csReplicatable};
  FWidth = 185;
  FHeight = 41;
  // A surface of its own, not the colour of whatever it lies on.
  FParentColor = false;
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(Integer Value) {
  if (Value < 1) Value = 1;
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(Integer Value) {
  if (Value < 0) Value = 0;
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TPanelBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  Realign();
  Invalidate();
}

Integer TCustomPanel::frameWidth() const {
  Integer W = FBorderWidth + (FBorderStyle == pbsSingle ? 1 : 0);
  if (FBevelOuter != bvNone) W += FBevelWidth;
  if (FBevelInner != bvNone) W += FBevelWidth;
  return W;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Integer W = frameWidth();
  InflateRect(&Rect, -W, -W);
}

void TCustomPanel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  const TColor Surface = Color() == clBtnFace ? stdlook::Surface : Color();
  C->Brush()->SetStyle(bsSolid);
  // Each ring is drawn as a frame of its width; what is inside the rings is the surface.
  auto ring = [&](TColor Tone, Integer Width) {
    C->Brush()->SetColor(Tone);
    for (Integer i = 0; i < Width && R.Width() > 0 && R.Height() > 0; ++i) {
      C->FrameRect(R);
      InflateRect(&R, -1, -1);
    }
  };
  auto bevel = [&](TBevelCut Cut) {
    // The flat look: a raised bevel is the surface's border line, a lowered one the deeper shade.
    if (Cut == bvRaised) ring(stdlook::SurfaceBorder, FBevelWidth);
    if (Cut == bvLowered) ring(stdlook::FaceBorder, FBevelWidth);
    if (Cut == bvSpace) ring(Surface, FBevelWidth);
  };
  if (FBorderStyle == pbsSingle) ring(stdlook::FaceBorder, 1);
  bevel(FBevelOuter);
  ring(Surface, FBorderWidth);
  bevel(FBevelInner);
  if (R.Width() > 0 && R.Height() > 0) {
    C->Brush()->SetColor(Surface);
    C->FillRect(R);
  }
  if (Caption().empty()) return;
  C->SetFont(Font());
  UINT Flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  Flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
  stdlook::DrawTextIn(C, Caption(), R, Flags,
                      Enabled() ? LookTextColor(Font()->Color()) : stdlook::TextDisabled);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;  // Paint covers every pixel
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TCustomPanel::SetHostsNativeWindow(bool Value) {
  if (FHostsNativeWindow == Value) return;
  FHostsNativeWindow = Value;
  if (!HandleAllocated()) return;
  if (Value) {
    FNativeWindowId = WinCreateNativeChild(FHandle);
  } else {
    WinDestroyNativeChild(FHandle);
    FNativeWindowId = 0;
  }
}

void TCustomPanel::CreateWindowCreated() {
  TCustomControl::CreateWindowCreated();
  if (FHostsNativeWindow) FNativeWindowId = WinCreateNativeChild(FHandle);
}

void TCustomPanel::DestroyWnd() {
  // The native window goes with the panel's window.
  FNativeWindowId = 0;
  TCustomControl::DestroyWnd();
}
