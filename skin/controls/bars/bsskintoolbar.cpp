#include "skin/controls/bars/bsskintoolbar.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "skin/controls/base/bsgraphicskincontrol.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

namespace {

constexpr Integer ArrowWidth = 12;
constexpr UINT_PTR ScrollTimerId = 1;
constexpr UINT_PTR HoverTimerId = 2;
constexpr Cardinal HoverInterval = 100;
constexpr TColor DefaultFrameColor = TColor(0xB76B3B);     // RGB(59, 107, 183)
constexpr TColor DefaultHotFillColor = TColor(0xF3D4C1);   // RGB(193, 212, 243)
constexpr TColor DefaultDownFillColor = TColor(0xE4BCA2);  // RGB(162, 188, 228)

}  // namespace

// ---- TbsSkinToolBar ----

TbsSkinToolBar::TbsSkinToolBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  FForceBackground = false;
  FSkinDataName = "toolpanel";
  FBorderStyle = bvNone;
  FDefaultHeight = 0;
  SetBounds(FLeft, FTop, FWidth, 25);
}

TbsSkinToolBar::~TbsSkinToolBar() {
  for (TCustomImageList* L : {FImages, FHotImages, FDisabledImages})
    if (L != nullptr) L->RemoveFreeNotification(this);
}

template <class F>
void TbsSkinToolBar::forEachSpeedButton(F Fn) {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* B = dynamic_cast<TbsSkinSpeedButton*>(Controls(i))) Fn(B);
}

void TbsSkinToolBar::SetShowCaptions(bool Value) {
  if (FShowCaptions == Value) return;
  FShowCaptions = Value;
  if (FAutoShowHideCaptions) forEachSpeedButton([Value](TbsSkinSpeedButton* B) { B->SetShowCaption(Value); });
  if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
    SetWidth(Value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TbsSkinToolBar::SetFlat(bool Value) {
  FFlat = Value;
  forEachSpeedButton([Value](TbsSkinSpeedButton* B) { B->SetFlat(Value); });
}

static void swapList(TComponent* Self, TCustomImageList*& Field, TCustomImageList* Value) {
  if (Field == Value) return;
  if (Field != nullptr) Field->RemoveFreeNotification(Self);
  Field = Value;
  if (Field != nullptr) Field->FreeNotification(Self);
}

void TbsSkinToolBar::SetImages(TCustomImageList* Value) {
  swapList(this, FImages, Value);
  forEachSpeedButton([](TbsSkinSpeedButton* B) { B->Repaint(); });
}

void TbsSkinToolBar::SetHotImages(TCustomImageList* Value) {
  swapList(this, FHotImages, Value);
}

void TbsSkinToolBar::SetDisabledImages(TCustomImageList* Value) {
  swapList(this, FDisabledImages, Value);
}

void TbsSkinToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FHotImages) SetHotImages(nullptr);
  if (AComponent == FDisabledImages) SetDisabledImages(nullptr);
}

void TbsSkinToolBar::SetSkinData(TbsSkinData* Value) {
  TbsSkinPanel::SetSkinData(Value);
  for (Integer i = 0; i < ControlCount(); ++i) {
    if (auto* B = dynamic_cast<TbsSkinSpeedButton*>(Controls(i)))
      B->SetSkinData(Value);
    else if (auto* V = dynamic_cast<TbsSkinBevel*>(Controls(i)))
      V->SetSkinData(Value);
  }
}

void TbsSkinToolBar::SetSkinDataName(const String& Value) {
  TbsSkinPanel::SetSkinDataName(Value);
  if (!designing() || ComponentState().Contains(csLoading)) return;
  for (Integer i = 0; i < ControlCount(); ++i) {
    auto* B = dynamic_cast<TbsSkinSpeedButton*>(Controls(i));
    if (B == nullptr) continue;
    auto* M = dynamic_cast<TbsSkinMenuSpeedButton*>(B);
    String Name;
    if (Value == "resizetoolpanel")
      Name = "resizetoolbutton";
    else if (Value == "panel")
      Name = "resizebutton";
    else if (Value == "bigtoolpanel")
      Name = M == nullptr ? "bigtoolbutton"
                          : (M->TrackButtonMode() ? "bigtoolmenutrackbutton" : "bigtoolmenubutton");
    else
      Name = M == nullptr ? "toolbutton" : (M->TrackButtonMode() ? "toolmenutrackbutton" : "toolmenubutton");
    B->SetSkinDataName(Name);
  }
}

void TbsSkinToolBar::GetSkinData() {
  TbsSkinPanel::GetSkinData();
  ButtonData = nullptr;
  if (FIndex == -1) return;
  // Another kind of record under the arrows' name gives the default arrows.
  const Integer I = FSD->GetControlIndex("resizebutton");
  if (I != -1) ButtonData = dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(I));
}

TRect TbsSkinToolBar::GetSkinClientRect() {
  TRect R;
  TbsSkinPanel::GetSkinClientRect(R);
  return R;
}

Integer TbsSkinToolBar::clientWidth() {
  return TWinControl::GetClientRect().Width();
}

// ---- layout ----

void TbsSkinToolBar::centreChildren() {
  if (!FAdjustControls) return;
  const TRect R = GetSkinClientRect();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* C = Controls(i);
    if (dynamic_cast<TbsSkinControl*>(C) != nullptr || dynamic_cast<TbsGraphicSkinControl*>(C) != nullptr)
      continue;
    if (C->Align() != alNone) continue;
    const Integer Top = R.Top + RectHeight(R) / 2 - C->Height() / 2;
    if (C->Top() != Top) C->SetTop(Top);
  }
}

void TbsSkinToolBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = Width();
  TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FAdjustControls)
    for (Integer i = 0; i < ControlCount(); ++i) {
      TControl* C = Controls(i);
      C->SetBounds(C->Left(), C->Top(), C->Width(), C->Height());
    }
  if (FCanScroll) {
    FHSizeOffset = (OldWidth != 0 && Width() > OldWidth) ? Width() - OldWidth : 0;
    UpdateScroll();
    centreChildren();
  }
}

void TbsSkinToolBar::AdjustClientRect(TRect& R) {
  TbsSkinPanel::AdjustClientRect(R);
  if (!((Buttons[0].Visible && FCanScroll) || Buttons[1].Visible)) return;
  const TRect Client = TWinControl::GetClientRect();
  const Integer CW = Client.Width(), CH = Client.Height();
  R = Rect(-SPosition, 0, -SPosition + std::max(SMax, CW), CH);
  if (FIndex == -1 || designing()) {
    R.Top = 1;
    R.Bottom = CH - 1;
  } else if (FBorderStyle != bvNone || ResizeMode != 1) {
    R.Top = NewClRect.Top;
    R.Bottom = NewClRect.Bottom;
  }
}

void TbsSkinToolBar::moveChildren(Integer DX) {
  if (DX == 0) return;
  ScrollBy(DX, 0);
  Repaint();
}

void TbsSkinToolBar::UpdateScroll() {
  if (Width() == 0 || FUpdatingScroll) return;
  FUpdatingScroll = true;
  Integer A = 0;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* C = Controls(i);
    if (C->Visible()) A = std::max(A, C->Left() + C->Width());
  }
  const Integer CW = clientWidth();
  if (A > 0 && CW < A + SPosition) {
    if (!Buttons[1].Visible) showArrows(true);
    const Integer S = SPosition + A - 1;
    if (SPosition > 0 && A < CW && FHSizeOffset > 0) {
      // The bar grew while scrolled: the children come back right by the growth.
      FHSizeOffset = std::min(FHSizeOffset, SPosition);
      SMax = S;
      SPosition -= FHSizeOffset;
      SPage = CW;
      moveChildren(FHSizeOffset);
    } else if (FHSizeOffset == 0 && S < SMax && SPosition > 0 && A < CW) {
      // The children shrank while scrolled: their right end meets the client's right edge.
      SMax = S;
      SPosition = SPosition + A - CW;
      SPage = CW;
      moveChildren(CW - A);
      FHSizeOffset = 0;
    } else {
      SMax = S;
      SPage = CW;
      FHSizeOffset = 0;
    }
    SOldPosition = SPosition;
  } else {
    if (A > 0) {
      if (SPosition > 0) moveChildren(SPosition);
      FHSizeOffset = SMax = SPosition = SPage = 0;
      SOldPosition = 0;
    }
    if (Buttons[1].Visible) showArrows(false);
  }
  FUpdatingScroll = false;
}

void TbsSkinToolBar::showArrows(bool Value) {
  if (Buttons[0].Visible == Value && Buttons[1].Visible == Value) return;
  Buttons[0].Visible = Buttons[1].Visible = Value;
  TWinControl* Focused = nullptr;
  if (HandleAllocated()) {
    const HWND F = GetFocus();
    for (Integer i = 0; i < ControlCount() && Focused == nullptr; ++i) {
      auto* W = dynamic_cast<TWinControl*>(Controls(i));
      if (W == nullptr || !W->HandleAllocated()) continue;
      if (W->Handle() == F) Focused = W;
      for (Integer j = 0; j < W->ControlCount() && Focused == nullptr; ++j)
        if (auto* G = dynamic_cast<TWinControl*>(W->Controls(j));
            G != nullptr && G->HandleAllocated() && G->Handle() == F)
          Focused = G;
    }
  }
  FMouseIn = false;
  if (HandleAllocated()) {
    // The non-client area is computed again with the new window.
    RecreateWnd();
    HandleNeeded();
  }
  if (Value) {
    Buttons[0].R = Rect(0, 0, ArrowWidth, Height());
    Buttons[1].R = Rect(Width() - ArrowWidth, 0, Width(), Height());
  }
  if (Focused != nullptr && Focused->Visible() && !Focused->Focused() && Focused->CanFocus())
    Focused->SetFocus();
}

void TbsSkinToolBar::scrollStep(bool ToRight) {
  const Integer Step = FScrollOffset > 0 ? FScrollOffset : clientWidth();
  if (ToRight)
    SPosition = std::min(SPosition + Step, SMax - SPage + 1);
  else
    SPosition = std::max(SPosition - Step, 0);
  if (SPosition == SOldPosition) {
    stopScrollTimer();
    return;
  }
  moveChildren(SOldPosition - SPosition);
  UpdateScroll();
}

void TbsSkinToolBar::startScrollTimer() {
  if (!HandleAllocated()) return;
  KillTimer(Handle(), ScrollTimerId);
  SetTimer(Handle(), ScrollTimerId, UINT(FScrollTimerInterval), nullptr);
}

void TbsSkinToolBar::stopScrollTimer() {
  if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
  TimerMode = 0;
}

void TbsSkinToolBar::mouseEnterBar() {
  FMouseIn = true;
  if (!Buttons[1].Visible || !HandleAllocated()) return;
  KillTimer(Handle(), HoverTimerId);
  SetTimer(Handle(), HoverTimerId, HoverInterval, nullptr);
}

void TbsSkinToolBar::mouseLeaveBar() {
  FMouseIn = false;
  for (TbsToolBarScrollButton& B : Buttons)
    if (B.MouseIn) {
      B.MouseIn = false;
      break;
    }
  if (TimerMode != 0) stopScrollTimer();
  SendMessage(Handle(), WM_NCPAINT, 0, 0);
}

// ---- messages ----

bool TbsSkinToolBar::handleNonClient(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      if (FCanScroll) {
        GetSkinData();
        RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                      : reinterpret_cast<RECT*>(Message.LParam);
        if (Buttons[0].Visible) R->Left += ArrowWidth;
        if (Buttons[1].Visible) R->Right -= ArrowWidth;
      }
      Message.Result = 0;
      return true;
    }
    case WM_NCPAINT:
      if (FCanScroll && Buttons[1].Visible) paintArrows();
      Message.Result = 0;
      return true;
    case WM_NCHITTEST: {
      if (designing() || !FCanScroll) return false;
      if (!FMouseIn) mouseEnterBar();
      POINT P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      ::ScreenToClient(Handle(), &P);
      if (P.X < 0 && Buttons[0].Visible) {
        Message.Result = HTTOOLBARLEFT;
        return true;
      }
      if (P.X > clientWidth() && Buttons[1].Visible) {
        Message.Result = HTTOOLBARRIGHT;
        return true;
      }
      return false;
    }
    case WM_SETCURSOR: {
      const Integer Hit = Integer(Message.LParam & 0xFFFF);
      if (Hit == HTTOOLBARLEFT || Hit == HTTOOLBARRIGHT)
        Message.LParam = (Message.LParam & ~LPARAM(0xFFFF)) | LPARAM(HTCLIENT);
      return false;
    }
    default:
      break;
  }
  if (designing() || !FCanScroll) return false;
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE: {
      Integer Mode = 0;
      if (Message.WParam == WPARAM(HTTOOLBARLEFT) && !Buttons[0].MouseIn) {
        Buttons[0].MouseIn = true;
        Buttons[1].MouseIn = false;
        Mode = 1;
      } else if (Message.WParam == WPARAM(HTTOOLBARRIGHT) && !Buttons[1].MouseIn) {
        Buttons[1].MouseIn = true;
        Buttons[0].MouseIn = false;
        Mode = 2;
      }
      if (Mode != 0) {
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
        if (FHotScroll) {
          TimerMode = Mode;
          startScrollTimer();
        }
      }
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (Message.WParam == WPARAM(HTTOOLBARLEFT) || Message.WParam == WPARAM(HTTOOLBARRIGHT)) {
        const Integer I = Message.WParam == WPARAM(HTTOOLBARLEFT) ? 0 : 1;
        Buttons[I].Down = true;
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
        TimerMode = I + 1;
        startScrollTimer();
      }
      break;
    case WM_NCLBUTTONUP:
      if (Message.WParam == WPARAM(HTTOOLBARLEFT) || Message.WParam == WPARAM(HTTOOLBARRIGHT)) {
        const Integer I = Message.WParam == WPARAM(HTTOOLBARLEFT) ? 0 : 1;
        Buttons[I].Down = false;
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
        stopScrollTimer();
        // One more step, even after the timer has stepped.
        scrollStep(I == 1);
      }
      break;
    default:
      break;
  }
  return false;
}

void TbsSkinToolBar::WndProc(TMessage& Message) {
  if (handleNonClient(Message)) return;
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == ScrollTimerId) {
        if (TimerMode == 1)
          scrollStep(false);
        else if (TimerMode == 2)
          scrollStep(true);
        return;
      }
      if (Message.WParam == HoverTimerId) {
        POINT P{};
        GetCursorPos(&P);
        if (WindowFromPoint(P) != Handle()) {
          KillTimer(Handle(), HoverTimerId);
          mouseLeaveBar();
        }
        return;
      }
      break;
    case WM_MOUSEMOVE:
      if (Buttons[1].Visible)
        for (TbsToolBarScrollButton& B : Buttons)
          if (B.MouseIn) {
            if (TimerMode != 0) stopScrollTimer();
            B.MouseIn = false;
            SendMessage(Handle(), WM_NCPAINT, 0, 0);
            break;
          }
      break;
    case WM_DESTROY:
      if (HandleAllocated()) {
        KillTimer(Handle(), ScrollTimerId);
        KillTimer(Handle(), HoverTimerId);
      }
      FMouseIn = false;
      break;
    case WM_WINDOWPOSCHANGING:
      TbsSkinPanel::WndProc(Message);
      if (HandleAllocated()) {
        centreChildren();
        if (FCanScroll && Align() == alNone) UpdateScroll();
      }
      return;
    case WM_SIZE:
      TbsSkinPanel::WndProc(Message);
      // The position change is announced before the new height is known: centre again now.
      centreChildren();
      if (Buttons[1].Visible) {
        Buttons[0].R = Rect(0, 0, ArrowWidth, Height());
        Buttons[1].R = Rect(Width() - ArrowWidth, 0, Width(), Height());
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
      }
      return;
    default:
      break;
  }
  TbsSkinPanel::WndProc(Message);
}

// ---- painting ----

void TbsSkinToolBar::CreateControlSkinImage(TBitmap* B) {
  if (Buttons[1].Visible && ResizeMode == 2 && CanCompose(Picture, SkinRect)) {
    // The element's ends would lie behind the arrows: only its middle part covers the bar.
    ComposeSkinImageHMiddle(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, Picture, SkinRect, Width(), Height(),
                            StretchEffect);
    return;
  }
  TbsSkinPanel::CreateControlSkinImage(B);
}

void TbsSkinToolBar::paintArrow(const TbsToolBarScrollButton& A, Integer Kind) {
  const Integer W = RectWidth(A.R), H = RectHeight(A.R);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  const bool Pressed = (A.Down && A.MouseIn) || (A.MouseIn && FHotScroll);
  TColor ArrowColor = clBtnText;
  TBitmap* Pic = ButtonData != nullptr ? SkinPictureAt(FSD, ButtonData->PictureIndex) : nullptr;
  if (ButtonData != nullptr && Pic != nullptr) {
    const TbsDataSkinButtonControl* D = ButtonData;
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
                     Pic, Src, W, H, true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch,
                     D->StretchEffect, D->StretchType);
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
  HDC DC = GetWindowDC(Handle());
  BitBlt(DC, A.R.Left, A.R.Top, W, H, B.Canvas()->Handle(), 0, 0, SRCCOPY);
  ReleaseDC(Handle(), DC);
}

void TbsSkinToolBar::paintArrows() {
  if (!HandleAllocated()) return;
  GetSkinData();
  if (Buttons[0].Visible) paintArrow(Buttons[0], 1);
  if (Buttons[1].Visible) paintArrow(Buttons[1], 2);
}

// ---- TbsSkinStatusBar ----

TbsSkinStatusBar::TbsSkinStatusBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  FSkinDataName = "statusbar";
  SetAlign(alBottom);
  SetHeight(21);
  FBorderStyle = bvNone;
  FForceBackground = false;
}

void TbsSkinStatusBar::SetSizeGrip(bool Value) {
  FSizeGrip = Value;
  Repaint();
  Realign();
}

void TbsSkinStatusBar::SetShowGrip(bool Value) {
  FShowGrip = Value;
  Repaint();
  Realign();
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* Value) {
  TbsSkinPanel::SetSkinData(Value);
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* C = dynamic_cast<TbsSkinControl*>(Controls(i))) C->SetSkinData(Value);
}

void TbsSkinStatusBar::GetSkinData() {
  TbsSkinPanel::GetSkinData();
  if (FIndex == -1) return;
  if (auto* R = dynamic_cast<TbsDataSkinPanelControl*>(FSD->Ctrls(FIndex))) {
    GripperRect = R->GripperRect;
    GripperTransparent = R->GripperTransparent;
    GripperTransparentColor = R->GripperTransparentColor;
  }
}

void TbsSkinStatusBar::AdjustClientRect(TRect& R) {
  TbsSkinPanel::AdjustClientRect(R);
  if (!gripActive()) return;
  if (FIndex == -1 || IsEmptyRect(GripperRect))
    R.Right -= RectHeight(R);
  else
    R.Right -= RectWidth(GripperRect);
}

TRect TbsSkinStatusBar::GetGripRect() {
  TRect R;
  GetSkinClientRect(R);
  if (FIndex != -1 && !IsEmptyRect(GripperRect))
    return Rect(R.Right, R.Bottom - RectHeight(GripperRect), R.Right + RectWidth(GripperRect), R.Bottom);
  return Rect(R.Right + 2, R.Top, R.Right + RectHeight(R), R.Bottom - 2);
}

void DrawGrip(const TRect& R, TCanvas* Canvas, TColor LightColor, TColor DarkColor) {
  if (RectWidth(R) < 0) return;
  TRect R2 = R;
  InflateRect(&R2, -2, -2);
  const Integer n = RectWidth(R) / 4 + 1;
  Integer b = 4;
  for (Integer i = 0; i < n; ++i) {
    if (R2.Left + b + 2 <= R2.Right) {
      Canvas->Pen()->SetColor(DarkColor);
      Canvas->MoveTo(R2.Left + b, R2.Bottom);
      Canvas->LineTo(R2.Right, R2.Top + b);
      Canvas->Pen()->SetColor(LightColor);
      Canvas->MoveTo(R2.Left + b + 1, R2.Bottom);
      Canvas->LineTo(R2.Right, R2.Top + b + 1);
    }
    b += 3;
  }
}

void TbsSkinStatusBar::CreateControlDefaultImage(TBitmap* B) {
  TbsSkinPanel::CreateControlDefaultImage(B);
  if (gripActive()) DrawGrip(GetGripRect(), B->Canvas(), clBtnFace, clBtnShadow);
}

void TbsSkinStatusBar::CreateControlSkinImage(TBitmap* B) {
  TbsSkinPanel::CreateControlSkinImage(B);
  if (!gripActive()) return;
  const bool InPicture = Picture != nullptr && GripperRect.Left >= 0 && GripperRect.Top >= 0 &&
                         GripperRect.Right <= Picture->Width() && GripperRect.Bottom <= Picture->Height();
  // A grip picture outside the skin's picture is drawn as the plain grip.
  if (IsEmptyRect(GripperRect) || !InPicture) {
    DrawGrip(GetGripRect(), B->Canvas(), FSD->SkinColors()->cBtnHighLight(), FSD->SkinColors()->cBtnShadow());
    return;
  }
  TBitmap G;
  G.SetSize(RectWidth(GripperRect), RectHeight(GripperRect));
  G.Canvas()->CopyRect(Rect(0, 0, G.Width(), G.Height()), Picture->Canvas(), GripperRect);
  if (GripperTransparent) {
    G.SetTransparent(true);
    G.SetTransparentMode(tmFixed);
    G.SetTransparentColor(GripperTransparentColor);
  }
  const TRect R = GetGripRect();
  B->Canvas()->Draw(R.Left, R.Top, &G);
}

void TbsSkinStatusBar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST && !designing() && gripActive()) {
    POINT P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    ::ScreenToClient(Handle(), &P);
    const TRect G = GetGripRect();
    const bool In = P.X >= G.Left && P.X <= G.Right && P.Y >= G.Top && P.Y <= G.Bottom;
    Message.Result = In ? HTBOTTOMRIGHT : HTCLIENT;
    return;
  }
  TbsSkinPanel::WndProc(Message);
}
