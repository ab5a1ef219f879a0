#include "skin/controls/bars/bsarrowscroller.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

namespace {

constexpr UINT_PTR ScrollTimerId = 1;
constexpr UINT_PTR HoverTimerId = 2;
constexpr Cardinal HoverInterval = 100;
constexpr TColor DefaultFrameColor = TColor(0xB76B3B);     // RGB(59, 107, 183)
constexpr TColor DefaultHotFillColor = TColor(0xF3D4C1);   // RGB(193, 212, 243)
constexpr TColor DefaultDownFillColor = TColor(0xE4BCA2);  // RGB(162, 188, 228)

}  // namespace

Integer TbsArrowScroller::ClientExtent() const {
  const TRect R = Host->TWinControl::GetClientRect();
  return Axis == saHorizontal ? R.Width() : R.Height();
}

Integer TbsArrowScroller::extentOf(TControl* C) const {
  return Axis == saHorizontal ? C->Left() + C->Width() : C->Top() + C->Height();
}

void TbsArrowScroller::moveChildren(Integer D) {
  if (D == 0) return;
  if (Axis == saHorizontal)
    Host->ScrollBy(D, 0);
  else
    Host->ScrollBy(0, D);
  if (AfterMove) AfterMove();
}

void TbsArrowScroller::Resized(Integer OldExtent) {
  const Integer New = HostExtent();
  SizeOffset = OldExtent != 0 && New > OldExtent ? New - OldExtent : 0;
}

void TbsArrowScroller::Measure() {
  if (HostExtent() == 0 || FUpdating) return;
  FUpdating = true;
  Integer E = 0;
  for (Integer i = 0; i < Host->ControlCount(); ++i) {
    TControl* C = Host->Controls(i);
    if (C->Visible()) E = std::max(E, extentOf(C));
  }
  // Measured before the arrows narrow the client area.
  const Integer CE = ClientExtent();
  if (E > 0 && CE < E + SPosition) {
    if (!Buttons[1].Visible) ShowArrows(true);
    const Integer S = SPosition + E - 1;
    if (SPosition > 0 && E < CE && SizeOffset > 0) {
      // The host grew while scrolled: the children come back by the growth.
      SizeOffset = std::min(SizeOffset, SPosition);
      SMax = S;
      SPosition -= SizeOffset;
      SPage = CE;
      moveChildren(SizeOffset);
    } else if (SizeOffset == 0 && S < SMax && SPosition > 0 && E < CE) {
      // The children shrank while scrolled: their far end meets the client's edge.
      SMax = S;
      SPosition = SPosition + E - CE;
      SPage = CE;
      moveChildren(CE - E);
      SizeOffset = 0;
    } else {
      SMax = S;
      SPage = CE;
      SizeOffset = 0;
    }
    SOldPosition = SPosition;
  } else {
    if (E > 0) {
      if (SPosition > 0) moveChildren(SPosition);
      SizeOffset = SMax = SPosition = SPage = 0;
      SOldPosition = 0;
    }
    if (Buttons[1].Visible) ShowArrows(false);
  }
  FUpdating = false;
}

void TbsArrowScroller::PlaceArrows() {
  if (CanPlaceArrows && !CanPlaceArrows()) return;
  const Integer W = Host->Width(), H = Host->Height();
  if (Axis == saHorizontal) {
    Buttons[0].R = Rect(0, 0, ScrollArrowSize, H);
    Buttons[1].R = Rect(W - ScrollArrowSize, 0, W, H);
  } else {
    Buttons[0].R = Rect(0, 0, W, ScrollArrowSize);
    Buttons[1].R = Rect(0, H - ScrollArrowSize, W, H);
  }
}

void TbsArrowScroller::ShowArrows(bool Value) {
  if (Buttons[0].Visible == Value && Buttons[1].Visible == Value) return;
  Buttons[0].Visible = Buttons[1].Visible = Value;
  // The focused child or grandchild keeps the focus across the new window.
  TWinControl* Focused = nullptr;
  if (Host->HandleAllocated()) {
    const HWND F = GetFocus();
    for (Integer i = 0; i < Host->ControlCount() && Focused == nullptr; ++i) {
      auto* W = dynamic_cast<TWinControl*>(Host->Controls(i));
      if (W == nullptr || !W->HandleAllocated()) continue;
      if (W->Handle() == F) Focused = W;
      for (Integer j = 0; j < W->ControlCount() && Focused == nullptr; ++j)
        if (auto* G = dynamic_cast<TWinControl*>(W->Controls(j));
            G != nullptr && G->HandleAllocated() && G->Handle() == F)
          Focused = G;
    }
  }
  MouseIn = false;
  if (Host->HandleAllocated()) {
    // The non-client area is computed again with the new window.
    Host->RecreateWnd();
    Host->HandleNeeded();
  }
  if (Value) PlaceArrows();
  if (Focused != nullptr && Focused->Visible() && !Focused->Focused() && Focused->CanFocus())
    Focused->SetFocus();
}

void TbsArrowScroller::Step(bool ToEnd) {
  const Integer S = ScrollOffset > 0 ? ScrollOffset : ClientExtent();
  if (ToEnd)
    SPosition = std::min(SPosition + S, SMax - SPage + 1);
  else
    SPosition = std::max(SPosition - S, 0);
  if (SPosition == SOldPosition) {
    stopScrollTimer();
    return;
  }
  moveChildren(SOldPosition - SPosition);
  Measure();
}

void TbsArrowScroller::startScrollTimer() {
  if (!Host->HandleAllocated()) return;
  KillTimer(Host->Handle(), ScrollTimerId);
  SetTimer(Host->Handle(), ScrollTimerId, UINT(ScrollTimerInterval), nullptr);
}

void TbsArrowScroller::stopScrollTimer() {
  if (Host->HandleAllocated()) KillTimer(Host->Handle(), ScrollTimerId);
  TimerMode = 0;
}

void TbsArrowScroller::mouseEnter() {
  MouseIn = true;
  if (!Buttons[1].Visible || !Host->HandleAllocated()) return;
  KillTimer(Host->Handle(), HoverTimerId);
  SetTimer(Host->Handle(), HoverTimerId, HoverInterval, nullptr);
}

void TbsArrowScroller::mouseLeave() {
  MouseIn = false;
  for (TbsScrollArrow& B : Buttons)
    if (B.MouseIn) {
      B.MouseIn = false;
      break;
    }
  if (TimerMode != 0) stopScrollTimer();
  repaintArrows();
}

void TbsArrowScroller::repaintArrows() {
  if (Host->HandleAllocated()) SendMessage(Host->Handle(), WM_NCPAINT, 0, 0);
}

// ---- messages ----

bool TbsArrowScroller::HandleMessage(TMessage& Message, bool Designing) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      if (CanScroll) {
        RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                      : reinterpret_cast<RECT*>(Message.LParam);
        LONG& Start = Axis == saHorizontal ? R->Left : R->Top;
        LONG& End = Axis == saHorizontal ? R->Right : R->Bottom;
        if (Buttons[0].Visible) Start += ScrollArrowSize;
        if (Buttons[1].Visible) End -= ScrollArrowSize;
      }
      Message.Result = 0;
      return true;
    }
    case WM_NCPAINT:
      if (CanScroll && Buttons[1].Visible && Host->HandleAllocated()) {
        HDC DC = GetWindowDC(Host->Handle());
        PaintArrowsTo(DC);
        ReleaseDC(Host->Handle(), DC);
      }
      Message.Result = 0;
      return true;
    case WM_NCHITTEST: {
      if (Designing || !CanScroll) return false;
      if (!MouseIn) mouseEnter();
      POINT P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      ::ScreenToClient(Host->Handle(), &P);
      const Integer At = Axis == saHorizontal ? P.X : P.Y;
      if (At < 0 && Buttons[0].Visible) {
        Message.Result = HTSCROLLARROWSTART;
        return true;
      }
      if (At > ClientExtent() && Buttons[1].Visible) {
        Message.Result = HTSCROLLARROWEND;
        return true;
      }
      return false;
    }
    case WM_SETCURSOR: {
      const Integer Hit = Integer(Message.LParam & 0xFFFF);
      if (Hit == HTSCROLLARROWSTART || Hit == HTSCROLLARROWEND)
        Message.LParam = (Message.LParam & ~LPARAM(0xFFFF)) | LPARAM(HTCLIENT);
      return false;
    }
    case WM_TIMER:
      if (Message.WParam == ScrollTimerId) {
        if (TimerMode == 1)
          Step(false);
        else if (TimerMode == 2)
          Step(true);
        return true;
      }
      if (Message.WParam == HoverTimerId) {
        POINT P{};
        GetCursorPos(&P);
        if (WindowFromPoint(P) != Host->Handle()) {
          KillTimer(Host->Handle(), HoverTimerId);
          if (!Designing) mouseLeave();
        }
        return true;
      }
      return false;
    case WM_MOUSEMOVE:
      if (Buttons[1].Visible)
        for (TbsScrollArrow& B : Buttons)
          if (B.MouseIn) {
            if (TimerMode != 0) stopScrollTimer();
            B.MouseIn = false;
            repaintArrows();
            break;
          }
      return false;
    case WM_DESTROY:
      if (Host->HandleAllocated()) {
        KillTimer(Host->Handle(), ScrollTimerId);
        KillTimer(Host->Handle(), HoverTimerId);
      }
      MouseIn = false;
      return false;
    default:
      break;
  }
  if (Designing || !CanScroll) return false;
  const bool OnStart = Message.WParam == WPARAM(HTSCROLLARROWSTART);
  const bool OnArrow = OnStart || Message.WParam == WPARAM(HTSCROLLARROWEND);
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE: {
      if (!OnArrow) break;
      const Integer I = OnStart ? 0 : 1;
      if (Buttons[I].MouseIn) break;
      Buttons[I].MouseIn = true;
      Buttons[1 - I].MouseIn = false;
      repaintArrows();
      if (HotScroll) {
        TimerMode = I + 1;
        startScrollTimer();
      }
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (OnArrow) {
        const Integer I = OnStart ? 0 : 1;
        Buttons[I].Down = true;
        repaintArrows();
        TimerMode = I + 1;
        startScrollTimer();
      }
      break;
    case WM_NCLBUTTONUP:
      if (OnArrow) {
        const Integer I = OnStart ? 0 : 1;
        Buttons[I].Down = false;
        repaintArrows();
        stopScrollTimer();
        // One more step, even after the timer has stepped.
        Step(I == 1);
      }
      break;
    default:
      break;
  }
  return false;
}

// ---- painting ----

void TbsArrowScroller::paintArrow(HDC DC, const TbsScrollArrow& A, Integer Kind) {
  const Integer W = RectWidth(A.R), H = RectHeight(A.R);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  const bool Pressed = (A.Down && A.MouseIn) || (A.MouseIn && HotScroll);
  TColor ArrowColor = clBtnText;
  const TArrowLook Look = ArrowLook ? ArrowLook() : TArrowLook{};
  if (Look.Data != nullptr && Look.Picture != nullptr) {
    const TbsDataSkinButtonControl* D = Look.Data;
    TRect Src = D->SkinRect;
    ArrowColor = D->FontColor;
    if (Pressed && !IsEmptyRect(D->DownSkinRect)) {
      Src = D->DownSkinRect;
      ArrowColor = D->DownFontColor;
    } else if (A.MouseIn && !IsEmptyRect(D->ActiveSkinRect)) {
      Src = D->ActiveSkinRect;
      ArrowColor = D->ActiveFontColor;
    }
    const Integer dx = W - RectWidth(D->SkinRect), dy = H - RectHeight(D->SkinRect);
    ComposeSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                     TPoint{D->RTPoint.X + dx, D->RTPoint.Y}, TPoint{D->LBPoint.X, D->LBPoint.Y + dy},
                     TPoint{D->RBPoint.X + dx, D->RBPoint.Y + dy},
                     Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + dx, D->ClRect.Bottom + dy), &B,
                     Look.Picture, Src, W, H, true, D->LeftStretch, D->TopStretch, D->RightStretch,
                     D->BottomStretch, D->StretchEffect, D->StretchType);
  } else {
    TColor Frame = clBtnShadow, Fill = clBtnFace;
    if (Pressed) {
      Frame = DefaultFrameColor;
      Fill = DefaultDownFillColor;
    } else if (A.MouseIn) {
      Frame = DefaultFrameColor;
      Fill = DefaultHotFillColor;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(Rect(0, 0, W, H));
    C->Brush()->SetColor(Frame);
    C->FrameRect(Rect(0, 0, W, H));
  }
  DrawArrow(C, Rect(0, 0, W, H), ArrowColor, Kind);
  BitBlt(DC, A.R.Left, A.R.Top, W, H, B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TbsArrowScroller::PaintArrowsTo(HDC DC) {
  if (DC == nullptr || (!Buttons[0].Visible && !Buttons[1].Visible)) return false;
  const bool Horizontal = Axis == saHorizontal;
  if (Buttons[0].Visible) paintArrow(DC, Buttons[0], Horizontal ? 1 : 3);
  if (Buttons[1].Visible) paintArrow(DC, Buttons[1], Horizontal ? 2 : 4);
  return true;
}
