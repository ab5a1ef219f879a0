#include "skin/boxes/scroll/bsskinscrollbox.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecordslists.h"

TbsSkinScrollBox::TbsSkinScrollBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  TControlStyle S = ControlStyle();
  S.Include(csAcceptsControls);
  SetControlStyle(S);
  FSkinDataName = "scrollbox";
  SetWidth(150);
  SetHeight(150);
}

TbsSkinScrollBox::~TbsSkinScrollBox() = default;

void TbsSkinScrollBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
}

// ---- the bars ----

void TbsSkinScrollBox::SetHScrollBar(TbsSkinScrollBar* Value) {
  if (FHScrollBar != nullptr && FHScrollBar != Value) FHScrollBar->RemoveFreeNotification(this);
  FHScrollBar = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  Value->SetCanFocused(false);
  Value->SetEnabled(true);
  Value->SetVisible(false);
  Value->OnChange = [this](TObject* Sender) { HScrollBarChange(Sender); };
  Value->OnLastChange = [this](TObject* Sender) { ScrollBarLastChange(Sender); };
  GetHRange();
}

void TbsSkinScrollBox::SetVScrollBar(TbsSkinScrollBar* Value) {
  if (FVScrollBar != nullptr && FVScrollBar != Value) FVScrollBar->RemoveFreeNotification(this);
  FVScrollBar = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  Value->SetCanFocused(false);
  Value->SetEnabled(true);
  Value->SetVisible(false);
  Value->OnChange = [this](TObject* Sender) { VScrollBarChange(Sender); };
  Value->OnLastChange = [this](TObject* Sender) { ScrollBarLastChange(Sender); };
  GetVRange();
}

void TbsSkinScrollBox::SetBorderStyle(TbsSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TbsSkinScrollBox::UpDateScrollRange() {
  GetHRange();
  GetVRange();
}

// The children are moved first and the bar's handler then moves them by whatever the bar's own clamp
// changed, so they always end where the bar shows them.
void TbsSkinScrollBox::HScroll(Integer APosition) {
  if (FHScrollBar == nullptr || FHScrollBar->PageSize() == 0) return;
  HScrollBy(APosition - FHScrollBar->Position());
  FOldHScrollBarPos = APosition;
  FHScrollBar->SetPosition(APosition);
  if (FHScrollBar != nullptr && FHScrollBar->Position() == APosition) FOldHScrollBarPos = APosition;
}

void TbsSkinScrollBox::VScroll(Integer APosition) {
  if (FVScrollBar == nullptr || FVScrollBar->PageSize() == 0) return;
  APosition = std::min(APosition, FVScrollBar->Max() - FVScrollBar->PageSize());
  VScrollBy(APosition - FVScrollBar->Position());
  FOldVScrollBarPos = APosition;
  FVScrollBar->SetPosition(APosition);
}

void TbsSkinScrollBox::ScrollToControl(TControl* C) {
  if (C == nullptr || C->Parent() != this) return;
  if (FVScrollBar != nullptr && FVScrollBar->Visible()) {
    Integer Step = 0;
    if (C->Top() < 0)
      Step = C->Top() - FVSizeOffset;
    else if (C->Top() + C->Height() > ClientHeight())
      // Its bottom edge comes to the client's bottom, but never its top out of view.
      Step = std::min(C->Top() + C->Height() - ClientHeight(), C->Top());
    if (Step != 0) FVScrollBar->SetPosition(FVScrollBar->Position() + Step);
  }
  if (FHScrollBar != nullptr && FHScrollBar->Visible()) {
    Integer Step = 0;
    if (C->Left() < 0)
      Step = C->Left() - FHSizeOffset;
    else if (C->Left() + C->Width() > ClientWidth())
      Step = std::min(C->Left() + C->Width() - ClientWidth(), C->Left());
    if (Step != 0) FHScrollBar->SetPosition(FHScrollBar->Position() + Step);
  }
}

void TbsSkinScrollBox::HScrollBy(Integer D) {
  ScrollBy(-D, 0);
  afterScroll();
}

void TbsSkinScrollBox::VScrollBy(Integer D) {
  ScrollBy(0, -D);
  afterScroll();
}

void TbsSkinScrollBox::afterScroll() {
  // A stretched background cannot be moved with the pixels.
  if (FIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::HScrollBarChange(TObject*) {
  if (FHScrollBar == nullptr) return;
  HScrollBy(FHScrollBar->Position() - FOldHScrollBarPos);
  FOldHScrollBarPos = FHScrollBar->Position();
}

void TbsSkinScrollBox::VScrollBarChange(TObject*) {
  if (FVScrollBar == nullptr) return;
  VScrollBy(FVScrollBar->Position() - FOldVScrollBarPos);
  FOldVScrollBarPos = FVScrollBar->Position();
}

void TbsSkinScrollBox::ScrollBarLastChange(TObject*) {
  Invalidate();
}

// ---- ranges ----

void TbsSkinScrollBox::changeBarVisibility(TbsSkinScrollBar* Bar, bool Show) {
  FInCheckScrollBars = true;
  Bar->SetVisible(Show);
  FInCheckScrollBars = false;
  if (Align() != alNone) {
    FInCheckScrollBars = true;
    Parent()->Realign();
    Realign();
    FInCheckScrollBars = false;
  }
}

void TbsSkinScrollBox::GetVRange() {
  if (FVScrollBar == nullptr || FInCheckScrollBars || Parent() == nullptr) return;
  TbsSkinScrollBar* Bar = FVScrollBar;
  const Integer CH = ClientHeight();
  Integer Bottom = 0;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* C = Controls(i);
    if (C->Visible()) Bottom = std::max(Bottom, C->Top() + C->Height());
  }
  const Integer P = Bar->Position();
  const Integer Total = P + Bottom;
  bool Show = Bar->Visible();
  if (Total > CH) {
    Show = true;
    if (P > 0 && Bottom < CH && FVSizeOffset > 0) {
      FVSizeOffset = std::min(FVSizeOffset, P);
      Bar->SetRange(0, Total - 1, P - FVSizeOffset, CH);
      VScrollBy(-FVSizeOffset);
    } else if (FVSizeOffset == 0 && Total - 1 < Bar->Max() && P > 0 && Bottom < CH) {
      const Integer D = std::min(CH - Bottom, P);
      VScrollBy(-D);
      Bar->SetRange(0, Total - 1, P - D, CH);
    } else {
      Bar->SetRange(0, Total - 1, P, CH);
    }
    FVSizeOffset = 0;
    FOldVScrollBarPos = Bar->Position();
  } else {
    if (P > 0) VScrollBy(-P);
    FVSizeOffset = 0;
    FOldVScrollBarPos = 0;
    Bar->SetRange(0, 0, 0, 0);
    Show = false;
  }
  if (FHScrollBar != nullptr) FHScrollBar->SetBoth(Bar->Visible());
  if (Show != Bar->Visible()) changeBarVisibility(Bar, Show);
}

void TbsSkinScrollBox::GetHRange() {
  if (FHScrollBar == nullptr || FInCheckScrollBars || Parent() == nullptr) return;
  TbsSkinScrollBar* Bar = FHScrollBar;
  const Integer CW = ClientWidth();
  Integer Right = 0;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* C = Controls(i);
    if (C->Visible()) Right = std::max(Right, C->Left() + C->Width());
  }
  const Integer P = Bar->Position();
  const Integer Total = P + Right;
  bool Show = Bar->Visible();
  if (Total > CW) {
    Show = true;
    if (P > 0 && Right < CW && FHSizeOffset > 0) {
      FHSizeOffset = std::min(FHSizeOffset, P);
      Bar->SetRange(0, Total - 1, P - FHSizeOffset, CW);
      HScrollBy(-FHSizeOffset);
    } else if (FHSizeOffset == 0 && Total - 1 < Bar->Max() && P > 0 && Right < CW) {
      const Integer D = std::min(CW - Right, P);
      HScrollBy(-D);
      Bar->SetRange(0, Total - 1, P - D, CW);
    } else {
      Bar->SetRange(0, Total - 1, P, CW);
    }
    FHSizeOffset = 0;
    FOldHScrollBarPos = Bar->Position();
  } else {
    if (P > 0) HScrollBy(-P);
    FHSizeOffset = 0;
    FOldHScrollBarPos = 0;
    Bar->SetRange(0, 0, 0, 0);
    Show = false;
  }
  if (FVScrollBar != nullptr) Bar->SetBoth(FVScrollBar->Visible());
  if (Show != Bar->Visible()) changeBarVisibility(Bar, Show);
}

void TbsSkinScrollBox::AdjustClientRect(TRect& R) {
  Integer Top = 0, Height = ClientHeight(), Left = 0, Width = ClientWidth();
  if (FVScrollBar != nullptr && FVScrollBar->Visible()) {
    Top = -FVScrollBar->Position();
    Height = std::max(FVScrollBar->Max(), ClientHeight());
  }
  if (FHScrollBar != nullptr && FHScrollBar->Visible()) {
    Left = -FHScrollBar->Position();
    Width = std::max(FHScrollBar->Max(), ClientWidth());
  }
  R = Bounds(Left, Top, Width, Height);
  TbsSkinCustomControl::AdjustClientRect(R);
}

void TbsSkinScrollBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = Width(), OldHeight = Height();
  TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  FHSizeOffset = OldWidth != 0 && Width() > OldWidth ? Width() - OldWidth : 0;
  if (Align() != alNone) GetHRange();
  FVSizeOffset = OldHeight != 0 && Height() > OldHeight ? Height() - OldHeight : 0;
  if (Align() != alNone) GetVRange();
}

// ---- skin ----

void TbsSkinScrollBox::GetSkinData() {
  TbsSkinCustomControl::GetSkinData();
  BGPictureIndex = -1;
  if (FIndex == -1) return;
  if (auto* R = dynamic_cast<TbsDataSkinScrollBoxControl*>(FSD->Ctrls(FIndex)))
    BGPictureIndex = R->BGPictureIndex;
}

void TbsSkinScrollBox::ChangeSkinData() {
  TbsSkinCustomControl::ChangeSkinData();
  if (HandleAllocated()) RecreateWnd();
  if (FHScrollBar != nullptr) FHScrollBar->SetAlign(FHScrollBar->Align());
  if (FVScrollBar != nullptr) FVScrollBar->SetAlign(FVScrollBar->Align());
}

void TbsSkinScrollBox::CreateParams(TCreateParams& Params) {
  TbsSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinScrollBox::CreateControlDefaultImage(TBitmap* B) {
  B->Canvas()->Brush()->SetColor(Color());
  B->Canvas()->FillRect(Rect(0, 0, ClientWidth(), ClientHeight()));
}

// ---- painting ----

void TbsSkinScrollBox::paintDefaultFrame(TCanvas* C) {
  TColor TopLeft = clBtnShadow, BottomRight = clBtnShadow;
  if (FBorderStyle == bvRaised)
    BottomRight = clBtnHighlight;
  else if (FBorderStyle == bvLowered)
    TopLeft = clBtnHighlight;
  C->Brush()->SetStyle(bsClear);
  const Integer W = Width(), H = Height();
  C->Pen()->SetColor(TopLeft);
  C->MoveTo(0, H - 1);
  C->LineTo(0, 0);
  C->LineTo(W - 1, 0);
  C->Pen()->SetColor(BottomRight);
  C->MoveTo(W - 1, 0);
  C->LineTo(W - 1, H - 1);
  C->LineTo(-1, H - 1);
}

void TbsSkinScrollBox::PaintFrame(TCanvas* C) {
  GetSkinData();
  if (FIndex == -1) {
    if (FBorderStyle != bvNone) paintDefaultFrame(C);
    return;
  }
  if (Picture == nullptr) return;
  const Integer W = Width(), H = Height();
  const Integer dW = W - RectWidth(SkinRect), dH = H - RectHeight(SkinRect);
  const TPoint NewLT = LTPt, NewRT{RTPt.X + dW, RTPt.Y}, NewLB{LBPt.X, LBPt.Y + dH},
               NewRB{RBPt.X + dW, RBPt.Y + dH};
  const TRect NewCl{ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom + dH};
  TBitmap Left, Top, Right, Bottom;
  ComposeSkinBorders(LTPt, RTPt, LBPt, RBPt, ClRect, NewLT, NewRT, NewLB, NewRB, NewCl, &Left, &Top, &Right,
                     &Bottom, Picture, SkinRect, W, H, LeftStretch, TopStretch, RightStretch, BottomStretch);
  C->Draw(0, 0, &Top);
  C->Draw(0, Top.Height(), &Left);
  C->Draw(W - Right.Width(), Top.Height(), &Right);
  C->Draw(0, H - Bottom.Height(), &Bottom);
}

void TbsSkinScrollBox::paintFrameTo(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  try {
    PaintFrame(&C);
  } catch (...) {
    C.SetHandle(nullptr);
    throw;
  }
  C.SetHandle(nullptr);
}

void TbsSkinScrollBox::Paint() {
  GetSkinData();
  if (FIndex == -1) {
    TbsSkinCustomControl::Paint();
    return;
  }
  const Integer CW = ClientWidth(), CH = ClientHeight();
  if (CW < 1 || CH < 1) return;
  TBitmap ClientPart;
  TBitmap* Source = nullptr;
  if (BGPictureIndex == -1) {
    const Integer w = RectWidth(ClRect), h = RectHeight(ClRect);
    if (Picture == nullptr || w <= 0 || h <= 0) return;
    ClientPart.SetSize(w, h);
    ClientPart.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(),
                                  Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top,
                                       SkinRect.Left + ClRect.Right, SkinRect.Top + ClRect.Bottom));
    Source = &ClientPart;
  } else {
    Source = SkinPictureAt(FSD, BGPictureIndex);
    if (Source == nullptr || Source->Width() <= 0 || Source->Height() <= 0) return;
  }
  TCanvas* C = Canvas();
  HDC DC = C->Handle();
  const Integer Saved = SaveDC(DC);
  IntersectClipRect(DC, 0, 0, CW, CH);
  const Integer PW = Source->Width(), PH = Source->Height();
  if (StretchEffect) {
    if (StretchType == bsstFull) {
      C->StretchDraw(Rect(0, 0, CW, CH), Source);
    } else if (StretchType == bsstHorz) {
      for (Integer X = 0; X <= CW; X += PW) C->StretchDraw(Bounds(X, 0, PW, CH), Source);
    } else {
      for (Integer Y = 0; Y <= CH; Y += PH) C->StretchDraw(Bounds(0, Y, CW, PH), Source);
    }
  } else {
    for (Integer i = 0; i <= CW / PW; ++i)
      for (Integer j = 0; j <= CH / PH; ++j) C->Draw(i * PW, j * PH, Source);
  }
  RestoreDC(DC, Saved);
}

// ---- messages ----

bool TbsSkinScrollBox::nonClientMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      GetSkinData();
      RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                    : reinterpret_cast<RECT*>(Message.LParam);
      if (FIndex == -1) {
        if (FBorderStyle != bvNone) InflateRect(R, -1, -1);
      } else if (framed()) {
        R->Left += ClRect.Left;
        R->Top += ClRect.Top;
        R->Right -= RectWidth(SkinRect) - ClRect.Right;
        R->Bottom -= RectHeight(SkinRect) - ClRect.Bottom;
      }
      Message.Result = 0;
      return true;
    }
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return true;
    case WM_NCPAINT: {
      Message.Result = 0;
      GetSkinData();
      if (!framed() || !HandleAllocated()) return true;
      HDC DC = GetWindowDC(Handle());
      if (DC == nullptr) return true;
      try {
        paintFrameTo(DC);
      } catch (...) {
        ReleaseDC(Handle(), DC);
        throw;
      }
      ReleaseDC(Handle(), DC);
      return true;
    }
    case CM_PAINTNC:
      GetSkinData();
      Message.Result = 0;
      if (Message.WParam != 0 && framed()) {
        paintFrameTo(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = PaintNCDone;
      }
      return true;
    case CN_PAINTNC:
      if (Message.LParam != PaintNCNotifyCode) return false;
      GetSkinData();
      if (Message.WParam != 0 && framed()) paintFrameTo(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = PaintNCNotifyCode;
      return true;
    default:
      return false;
  }
}

void TbsSkinScrollBox::WndProc(TMessage& Message) {
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && FCanFocused && !designing() &&
      HandleAllocated() && GetFocus() != Handle()) {
    FClicksDisabled = true;
    ::SetFocus(Handle());
    FClicksDisabled = false;
    if (GetFocus() != Handle()) return;
  }
  if (Message.Msg == CN_COMMAND && FClicksDisabled) return;
  if (nonClientMessage(Message)) return;
  switch (Message.Msg) {
    case WM_SIZE:
      TbsSkinCustomControl::WndProc(Message);
      if (HandleAllocated()) SendMessage(Handle(), WM_NCPAINT, 0, 0);
      return;
    case WM_WINDOWPOSCHANGING:
      TbsSkinCustomControl::WndProc(Message);
      if (HandleAllocated() && Align() == alNone) {
        GetVRange();
        GetHRange();
      }
      return;
    case CM_VISIBLECHANGED:
      TbsSkinCustomControl::WndProc(Message);
      if (FHScrollBar != nullptr) FHScrollBar->SetVisible(Visible());
      if (FVScrollBar != nullptr) FVScrollBar->SetVisible(Visible());
      return;
    default:
      TbsSkinCustomControl::WndProc(Message);
  }
}
