#include "skin/controls/buttons/bsskinmenubutton.h"

#include "platform/ui/menus/menuitem.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsmessages.h"
#include "skin/menus/bsskinimagesmenu.h"
#include "skin/menus/bsskinmenu.h"

namespace {

constexpr Integer TrackWidth = 15;
constexpr TColor DefaultFrameColor = TColor(0xB76B3B);     // RGB(59, 107, 183)
constexpr TColor DefaultHotFillColor = TColor(0xF3D4C1);   // RGB(193, 212, 243)
constexpr TColor DefaultDownFillColor = TColor(0xE4BCA2);  // RGB(162, 188, 228)

enum TFace { fNormal, fHover, fDown };

void drawFace(TCanvas* C, const TRect& R, TFace Face) {
  const TColor Fill = Face == fDown ? DefaultDownFillColor : Face == fHover ? DefaultHotFillColor : clBtnFace;
  const TColor Frame = Face == fNormal ? clBtnShadow : DefaultFrameColor;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Fill);
  C->FillRect(R);
  C->Brush()->SetColor(Frame);
  C->FrameRect(R);
}

}  // namespace

TbsSkinMenuButton::TbsSkinMenuButton(TComponent* AOwner) : TbsSkinButton(AOwner) {
  FSkinDataName = "toolmenubutton";
  FDownState = false;
  FSpaceSupport = false;
}

TbsSkinMenuButton::~TbsSkinMenuButton() {
  if (FSkinPopupMenu != nullptr) FSkinPopupMenu->RemoveFreeNotification(this);
}

void TbsSkinMenuButton::SetSkinPopupMenu(TbsSkinPopupMenu* Value) {
  if (FSkinPopupMenu != nullptr) FSkinPopupMenu->RemoveFreeNotification(this);
  FSkinPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMenuButton::SetTrackButtonMode(bool Value) {
  FTrackButtonMode = Value;
  GetSkinData();
  if (FIndex == -1) Repaint();
}

void TbsSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TbsSkinMenuButton::GetSkinData() {
  TbsSkinButton::GetSkinData();
  TrackButtonRect = TRect{};
  if (FIndex == -1) return;
  if (auto* R = dynamic_cast<TbsDataSkinMenuButtonControl*>(FSD->Ctrls(FIndex)))
    TrackButtonRect = R->TrackButtonRect;
}

bool TbsSkinMenuButton::arrowlessElement() const {
  return FSkinDataName == "resizebutton" || FSkinDataName == "resizetoolbutton" ||
         FSkinDataName == "toolbutton" || FSkinDataName == "bigtoolbutton";
}

// ---- the menu ----

TRect TbsSkinMenuButton::GetTrackButtonRect() const {
  TRect R = TrackButtonRect;
  if (ResizeMode == 2) OffsetRect(&R, Width() - RectWidth(SkinRect), 0);
  if (ResizeMode == 3) OffsetRect(&R, 0, Height() - RectHeight(SkinRect));
  return R;
}

bool TbsSkinMenuButton::CanMenuTrack(Integer X, Integer Y) {
  if (FSkinPopupMenu == nullptr && FSkinImagesMenu == nullptr) return false;
  if (!FTrackButtonMode) return true;
  GetSkinData();
  const TRect R = FIndex != -1 && !arrowlessElement() ? GetTrackButtonRect()
                                                      : Rect(Width() - TrackWidth, 0, Width(), Height());
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

void TbsSkinMenuButton::TrackMenu() {
  const TPoint P = ClientOrigin();
  const TRect R = Rect(P.X, P.Y, P.X + Width(), P.Y + Height());
  auto Alive = FAlive;
  if (FSkinPopupMenu != nullptr) {
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    if (!*Alive) return;
    FSkinPopupMenu->PopupFromRect2(this, R, false);
    if (!*Alive) return;
  }
  if (FSkinImagesMenu != nullptr) {
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    if (!*Alive || FSkinImagesMenu == nullptr) return;
    FSkinImagesMenu->OnInternalMenuClose = [this, Alive](TObject* Sender) {
      if (*Alive) MenuClosed(Sender);
    };
    FSkinImagesMenu->PopupFromRect(R);
  }
}

void TbsSkinMenuButton::DropDown() {
  GetSkinData();
  if (FIndex != -1 && !IsEmptyRect(AnimateSkinRect)) StopAnimate();
  if (!FDown) SetDown(true);
  FMenuTracked = true;
  TrackMenu();
}

bool TbsSkinMenuButton::cursorOverButton() {
  POINT P{};
  GetCursorPos(&P);
  return HandleAllocated() && WindowFromPoint(P) == Handle();
}

void TbsSkinMenuButton::closed(bool Morph) {
  auto Alive = FAlive;
  FMenuTracked = false;
  SetDown(false);
  FMouseIn = cursorOverButton();
  if (OnHideTrackMenu) OnHideTrackMenu(this);
  if (!*Alive) return;
  if (!FMouseIn && GlowShown()) HideLayer();
  if (Morph)
    StartMorphOrRepaint();
  else
    Repaint();
}

void TbsSkinMenuButton::MenuClosed(TObject*) {
  closed(true);
}

void TbsSkinMenuButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_CLOSESKINMENU) {
    closed(false);
    return;
  }
  TbsSkinButton::Dispatch(Message);
}

// ---- mouse ----

void TbsSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button != mbLeft) {
    TbsSkinButton::MouseDown(Button, Shift, X, Y);
    return;
  }
  FMenuTracked = CanMenuTrack(X, Y);
  FMouseIn = true;
  if (FIndex != -1 && !IsEmptyRect(AnimateSkinRect) && AnimateTimer != nullptr) StopAnimate();
  if (!FMenuTracked) {
    TbsSkinButton::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (!FDown) SetDown(true);
  TrackMenu();
}

void TbsSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  // The press that opened a menu gives no click and no OnMouseUp.
  if (!FMenuTracked) TbsSkinButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuButton::CMMouseEnter(TMessage& Message) {
  if (!designing() && FMenuTracked) {
    FMouseIn = true;
    return;
  }
  TbsSkinButton::CMMouseEnter(Message);
}

void TbsSkinMenuButton::CMMouseLeave(TMessage& Message) {
  if (!designing() && FMenuTracked) {
    FMouseIn = false;
    return;
  }
  TbsSkinButton::CMMouseLeave(Message);
}

// ---- keyboard ----

void TbsSkinMenuButton::WndProc(TMessage& Message) {
  if (FCanFocused && FSkinPopupMenu != nullptr) {
    auto Alive = FAlive;
    switch (Message.Msg) {
      case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE && !FTrackButtonMode && CanMenuTrack(0, 0)) {
          FMenuTracked = true;
          SetDown(true);
          TrackMenu();
          return;
        }
        break;
      case WM_KEYUP:
        if (Message.WParam == VK_SPACE) {
          if (!FMenuTracked) {
            SetDown(false);
            if (TNotifyEvent Handler = OnClick) Handler(this);
          }
          return;
        }
        if (Message.WParam == VK_RETURN && !FMenuTracked) {
          if (TNotifyEvent Handler = OnClick) Handler(this);
          if (!*Alive) return;
        }
        break;
      default:
        break;
    }
  }
  TbsSkinButton::WndProc(Message);
}

void TbsSkinMenuButton::CMDialogChar(TMessage& Message) {
  if (FTrackButtonMode || !CanMenuTrack(0, 0) || !IsAccel(char32_t(Message.WParam), Caption()) ||
      !CanFocus() || !FCanFocused) {
    TbsSkinButton::CMDialogChar(Message);
    return;
  }
  SetFocus();
  FMenuTracked = true;
  SetDown(true);
  TrackMenu();
  Message.Result = 1;
}

// ---- painting ----

void TbsSkinMenuButton::DrawMenuMarker(TCanvas* Cnvs, const TRect& R, bool AActive, bool ADown) {
  const TRect M = ADown ? MenuMarkerDownRect : AActive ? MenuMarkerActiveRect : MenuMarkerRect;
  if (IsEmptyRect(M) || Picture == nullptr || M.Left < 0 || M.Top < 0 || M.Right > Picture->Width() ||
      M.Bottom > Picture->Height())
    return;
  TBitmap B;
  B.SetSize(RectWidth(M), RectHeight(M));
  B.Canvas()->CopyRect(Rect(0, 0, B.Width(), B.Height()), Picture->Canvas(), M);
  B.SetTransparent(true);
  B.SetTransparentMode(tmFixed);
  B.SetTransparentColor(MenuMarkerTransparentColor);
  Cnvs->Draw(R.Left + RectWidth(R) / 2 - B.Width() / 2, R.Top + RectHeight(R) / 2 - B.Height() / 2, &B);
}

void TbsSkinMenuButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  if (FSkinDataName == "resizebutton" || FSkinDataName == "resizetoolbutton") {
    drawToolOrResizeButton(B, ADown, AMouseIn, true);
    return;
  }
  if (FSkinDataName == "toolbutton" || FSkinDataName == "bigtoolbutton") {
    drawToolOrResizeButton(B, ADown, AMouseIn, false);
    return;
  }
  if (FMenuTracked && FTrackButtonMode && !IsEmptyRect(TrackButtonRect) && !IsEmptyRect(DownSkinRect)) {
    TbsSkinButton::CreateButtonImage(B, ActiveSkinRect, false, true);
    TRect Src = TrackButtonRect;
    OffsetRect(&Src, DownSkinRect.Left, DownSkinRect.Top);
    if (Picture != nullptr && Src.Left >= 0 && Src.Top >= 0 && Src.Right <= Picture->Width() &&
        Src.Bottom <= Picture->Height())
      B->Canvas()->CopyRect(GetTrackButtonRect(), Picture->Canvas(), Src);
    return;
  }
  TbsSkinButton::CreateButtonImage(B, R, ADown, AMouseIn);
}

void TbsSkinMenuButton::composePart(TBitmap* B, const TRect& Part, const TRect& Src, bool Resize) {
  const Integer W = RectWidth(Part), H = RectHeight(Part);
  if (W <= 0 || H <= 0) return;
  if (!CanCompose(Picture, Src)) {
    drawFace(B->Canvas(), Part, fNormal);
    return;
  }
  TBitmap P;
  P.SetSize(W, H);
  if (Resize) {
    const Integer dW = W - RectWidth(SkinRect), dH = H - RectHeight(SkinRect);
    ComposeSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, TPoint{RTPt.X + dW, RTPt.Y},
                     TPoint{LBPt.X, LBPt.Y + dH}, TPoint{RBPt.X + dW, RBPt.Y + dH},
                     Rect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom + dH), &P, Picture, Src,
                     W, H, true, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect,
                     StretchType);
  } else {
    ComposeStretchedSkinImage(&P, Picture, Src, ClRect, true);
  }
  B->Canvas()->Draw(Part.Left, Part.Top, &P);
}

void TbsSkinMenuButton::drawToolOrResizeButton(TBitmap* B, bool ADown, bool AMouseIn, bool Resize) {
  const TRect Active = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
  const TRect DownR = IsEmptyRect(DownSkinRect) ? Active : DownSkinRect;
  TRect Chosen = Active;
  TColor Color = ActiveFontColor;
  if (ADown && AMouseIn) {
    Chosen = DownR;
    Color = DownFontColor;
  } else if (!AMouseIn) {
    Chosen = SkinRect;
    Color = FontColor;
  }
  const TRect Main = Rect(0, 0, Width() - TrackWidth, Height());
  const TRect Drop = Rect(Width() - TrackWidth, 0, Width(), Height());
  if (FTrackButtonMode) {
    if (FMenuTracked) {
      composePart(B, Main, Active, Resize);
      composePart(B, Drop, DownR, Resize);
      Color = AMouseIn ? ActiveFontColor : FontColor;
    } else {
      composePart(B, Main, Chosen, Resize);
      composePart(B, Drop, Chosen, Resize);
    }
  } else {
    composePart(B, Rect(0, 0, Width(), Height()), Chosen, Resize);
  }
  TCanvas* C = B->Canvas();
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  if (Enabled() && !FUseSkinFontColor)
    Color = FDefaultFont->Color();
  else if (!Enabled())
    Color = DisabledFontColor;
  C->Font()->SetColor(Color);
  if (ShowFocus && HandleAllocated() && GetFocus() == Handle()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawDottedFocusRect(C, NewClRect);
  }
  drawContent(C, Main, ADown, AMouseIn);
  if (!IsEmptyRect(MenuMarkerRect))
    DrawMenuMarker(C, Drop, AMouseIn, (ADown && AMouseIn) || FMenuTracked);
  else
    DrawSmallDownArrow(C, Drop, FMenuTracked ? DownFontColor : Color);
}

void TbsSkinMenuButton::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const TRect Main = Rect(0, 0, Width() - TrackWidth, Height());
  const TRect Drop = Rect(Width() - TrackWidth, 0, Width(), Height());
  const bool DownIn = FDown && FMouseIn;
  const bool Hot = FMouseIn || IsFocused();
  if (FTrackButtonMode) {
    TFace M = fNormal, D = fNormal;
    if (FMenuTracked) {
      M = fHover;
      D = fDown;
    } else if (DownIn) {
      M = D = fDown;
    } else if (Hot) {
      M = D = fHover;
    }
    drawFace(C, Main, M);
    drawFace(C, Drop, D);
  } else {
    drawFace(C, ClientRect(), DownIn ? fDown : Hot ? fHover : fNormal);
  }
  C->SetFont(FDefaultFont.get());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  drawContent(C, Main, FDown, FMouseIn);
  TRect A = Drop;
  if (DownIn || FMenuTracked) A = Rect(Width() - 13, 2, Width() + 2, Height() + 2);
  DrawSmallDownArrow(C, A, clBtnText);
}
