#include "skin/controls/buttons/bsskinmenubutton.h"

#include "platform/ui/menus/menuitem.h"
#include "skin/controls/buttons/bsbuttonparts.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsmessages.h"
#include "skin/menus/bsskinimagesmenu.h"
#include "skin/menus/bsskinmenu.h"

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
  TrackButtonRect = FIndex == -1 ? TRect{} : ElementTrackButtonRect(FSD, FIndex);
}

// ---- the menu ----

TRect TbsSkinMenuButton::GetTrackButtonRect() const {
  return PlacedTrackButtonRect(*this, TrackButtonRect, Width(), Height());
}

bool TbsSkinMenuButton::CanMenuTrack(Integer X, Integer Y) {
  if (FSkinPopupMenu == nullptr && FSkinImagesMenu == nullptr) return false;
  if (!FTrackButtonMode) return true;
  GetSkinData();
  const TRect R = FIndex != -1 && !IsArrowlessMenuElement(FSkinDataName)
                      ? GetTrackButtonRect()
                      : Rect(Width() - MenuTrackWidth, 0, Width(), Height());
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

void TbsSkinMenuButton::TrackMenu() {
  TrackButtonMenus(this, FAlive, FSkinPopupMenu, FSkinImagesMenu, OnShowTrackMenu, nullptr,
                   [this](TObject* Sender) { MenuClosed(Sender); });
}

void TbsSkinMenuButton::DropDown() {
  GetSkinData();
  if (FIndex != -1 && !IsEmptyRect(AnimateSkinRect)) FEffects.StopAnimate();
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
  if (FIndex != -1 && !IsEmptyRect(AnimateSkinRect) && FEffects.Animating()) FEffects.StopAnimate();
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
  DrawMarkerPicture(Cnvs, R, Picture, M, MenuMarkerTransparentColor);
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
    DrawButtonFace(B->Canvas(), Part, bfNormal);
    return;
  }
  DrawMenuButtonPart(*this, B->Canvas(), Part, Src, Resize);
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
  const TRect Main = Rect(0, 0, Width() - MenuTrackWidth, Height());
  const TRect Drop = Rect(Width() - MenuTrackWidth, 0, Width(), Height());
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
  const TRect Main = Rect(0, 0, Width() - MenuTrackWidth, Height());
  const TRect Drop = Rect(Width() - MenuTrackWidth, 0, Width(), Height());
  const bool DownIn = FDown && FMouseIn;
  const bool Hot = FMouseIn || IsFocused();
  if (FTrackButtonMode) {
    TbsButtonFace M = bfNormal, D = bfNormal;
    if (FMenuTracked) {
      M = bfHover;
      D = bfDown;
    } else if (DownIn) {
      M = D = bfDown;
    } else if (Hot) {
      M = D = bfHover;
    }
    DrawButtonFace(C, Main, M);
    DrawButtonFace(C, Drop, D);
  } else {
    DrawButtonFace(C, ClientRect(), DownIn ? bfDown : Hot ? bfHover : bfNormal);
  }
  C->SetFont(FDefaultFont.get());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  drawContent(C, Main, FDown, FMouseIn);
  TRect A = Drop;
  if (DownIn || FMenuTracked) A = Rect(Width() - 13, 2, Width() + 2, Height() + 2);
  DrawSmallDownArrow(C, A, clBtnText);
}
