#include "skin/controls/buttons/bsskinmenuspeedbutton.h"

#include "skin/controls/buttons/bsbuttonparts.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsmessages.h"
#include "skin/menus/bsskinimagesmenu.h"
#include "skin/menus/bsskinmenu.h"

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(TComponent* AOwner) : TbsSkinSpeedButton(AOwner) {
  FSkinDataName = "toolmenubutton";
}

// ---- properties ----

void TbsSkinMenuSpeedButton::SetNewStyle(bool Value) {
  FNewStyle = Value;
  if (Value) FSkinDataName = "resizetoolbutton";
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition Value) {
  FTrackPosition = Value;
  Repaint();
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool Value) {
  FTrackButtonMode = Value;
  GetSkinData();
  if (FIndex == -1) Repaint();
}

void TbsSkinMenuSpeedButton::SetSkinImagesMenu(TbsSkinImagesMenu* Value) {
  LinkSkinImagesMenu(this, FSkinImagesMenu, Value, [this] { Repaint(); });
  Repaint();
}

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TbsSkinPopupMenu* Value) {
  if (FSkinPopupMenu != nullptr) FSkinPopupMenu->RemoveFreeNotification(this);
  FSkinPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TbsSkinMenuSpeedButton::GetSkinData() {
  TbsSkinSpeedButton::GetSkinData();
  TrackButtonRect = FIndex == -1 ? TRect{} : ElementTrackButtonRect(FSD, FIndex);
}

// ---- the menu ----

TRect TbsSkinMenuSpeedButton::GetTrackButtonRect() const {
  return PlacedTrackButtonRect(*this, TrackButtonRect, Width(), Height());
}

bool TbsSkinMenuSpeedButton::CanMenuTrack(Integer X, Integer Y) {
  if (FSkinPopupMenu == nullptr && FSkinImagesMenu == nullptr) return false;
  if (!FTrackButtonMode) return true;
  GetSkinData();
  TRect R;
  if (FIndex != -1 && !IsArrowlessMenuElement(FSkinDataName))
    R = GetTrackButtonRect();
  else if (FNewStyle && FTrackPosition == bstpBottom)
    R = Rect(0, Height() - MenuTrackWidth, Width(), Height());
  else
    R = Rect(Width() - MenuTrackWidth, 0, Width(), Height());
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

void TbsSkinMenuSpeedButton::TrackMenu() {
  // A flat button shows the bar through it while its menu is open.
  TrackButtonMenus(
      this, FAlive, FSkinPopupMenu, FSkinImagesMenu, OnShowTrackMenu,
      [this] {
        if (FFlat && !Transparent()) SetTransparentNoDraw(true);
      },
      [this](TObject* Sender) { MenuClosed(Sender); });
}

void TbsSkinMenuSpeedButton::menuClosedCommon() {
  FMenuTracked = false;
  SetDown(false);
}

void TbsSkinMenuSpeedButton::MenuClosed(TObject*) {
  auto Alive = FAlive;
  menuClosedCommon();
  if (OnHideTrackMenu) OnHideTrackMenu(this);
  if (!*Alive) return;
  FMouseIn = false;
  Repaint();
}

void TbsSkinMenuSpeedButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_CLOSESKINMENU) {
    auto Alive = FAlive;
    menuClosedCommon();
    FMouseIn = false;
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    if (!*Alive) return;
    Repaint();
    return;
  }
  TbsSkinSpeedButton::Dispatch(Message);
}

// ---- mouse ----

void TbsSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button != mbLeft) {
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
    return;
  }
  FMenuTracked = CanMenuTrack(X, Y);
  FMouseIn = true;
  if (!FMenuTracked) {
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (!FDown) SetDown(true);
  TrackMenu();
}

void TbsSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  // The press that opened a menu gives no click and no OnMouseUp.
  if (!FMenuTracked) TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::CMMouseEnter(TMessage& Message) {
  if (designing()) return;
  if (FMenuTracked) {
    FMouseIn = true;
    return;
  }
  TbsSkinSpeedButton::CMMouseEnter(Message);
}

void TbsSkinMenuSpeedButton::CMMouseLeave(TMessage& Message) {
  if (designing()) return;
  if (FMenuTracked) {
    FMouseIn = false;
    return;
  }
  TbsSkinSpeedButton::CMMouseLeave(Message);
}

// ---- painting ----

void TbsSkinMenuSpeedButton::Paint() {
  GetSkinData();
  if ((FMouseIn && FDown) || FMenuTracked || !Transparent()) {
    paintButton();
    return;
  }
  paintTransparentMenuButton();
}

void TbsSkinMenuSpeedButton::paintTransparentMenuButton() {
  if (Width() <= 0 || Height() <= 0) return;
  TCanvas* C = Canvas();
  const bool OwnArrow = FIndex != -1 && !IsArrowlessMenuElement(FSkinDataName);
  const bool Bottom = FNewStyle && FTrackPosition == bstpBottom;
  TRect Content = ClientRect();
  if (OwnArrow)
    Content = NewClRect;
  else if (Bottom)
    Content.Bottom -= MenuTrackWidth;
  else
    Content.Right -= MenuTrackWidth;
  if (FIndex != -1) {
    ApplySkinFont(C, FontName, FontHeight, FontStyle);
  } else {
    C->SetFont(FDefaultFont.get());
    applyCharset(C);
  }
  if (!Enabled())
    C->Font()->SetColor(clBtnShadow);
  else if (FIndex != -1 && FUseSkinFontColor)
    C->Font()->SetColor(FSD->SkinColors()->cBtnText());
  else
    C->Font()->SetColor(FDefaultFont->Color());
  drawContent(C, Content, FDown, FMouseIn, true);
  TRect Marker;
  if (OwnArrow)
    Marker = Rect(Content.Right, Content.Top, Width(), Content.Bottom);
  else if (Bottom)
    Marker = Rect(Content.Left, Height() - MenuTrackWidth, Content.Right, Height());
  else
    Marker = Rect(Width() - MenuTrackWidth, Content.Top, Width(), Content.Bottom);
  if (FIndex != -1 && ResizeMode != 1) Marker.Left -= 2;
  if (FIndex != -1 && !IsEmptyRect(MenuMarkerFlatRect))
    DrawMenuMarker(C, Marker, false, false, true);
  else if (FIndex != -1)
    DrawSmallDownArrow(C, Marker, FSD->SkinColors()->cBtnText());
  else
    DrawSmallDownArrow(C, Marker, clBtnText);
}

TbsDataSkinButtonControl* TbsSkinMenuSpeedButton::elementByName(const String& Name) const {
  if (FSD == nullptr || FSD->Empty) return nullptr;
  const Integer I = FSD->GetControlIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(I));
}

void TbsSkinMenuSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  if (FNewStyle && FSkinDataName == "resizetoolbutton") {
    drawNewStyleMenuButton(B, ADown, AMouseIn);
    return;
  }
  if (FSkinDataName == "toolbutton" || FSkinDataName == "bigtoolbutton") {
    drawToolOrResizeButton(B, ADown, AMouseIn, false);
    return;
  }
  if (FSkinDataName == "resizebutton" || FSkinDataName == "resizetoolbutton") {
    drawToolOrResizeButton(B, ADown, AMouseIn, true);
    return;
  }
  if (FMenuTracked && FTrackButtonMode && !IsEmptyRect(TrackButtonRect) && !IsEmptyRect(DownSkinRect)) {
    // The element's own picture, hovered, with the drop-down part of its pressed picture.
    TbsSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, true);
    TRect Src = TrackButtonRect;
    OffsetRect(&Src, DownSkinRect.Left, DownSkinRect.Top);
    if (CanCompose(Picture, Src)) B->Canvas()->CopyRect(GetTrackButtonRect(), Picture->Canvas(), Src);
    return;
  }
  TbsSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
}

void TbsSkinMenuSpeedButton::composePart(TBitmap* B, const TRect& Part, const TRect& Src, bool Resize) {
  if (RectWidth(Part) <= 0 || RectHeight(Part) <= 0 || !CanCompose(Picture, Src)) return;
  DrawMenuButtonPart(*this, B->Canvas(), Part, Src, Resize);
}

void TbsSkinMenuSpeedButton::drawToolOrResizeButton(TBitmap* B, bool ADown, bool AMouseIn, bool Resize) {
  const TRect Normal = SkinRect;
  const TRect Active = IsEmptyRect(ActiveSkinRect) ? Normal : ActiveSkinRect;
  const TRect DownR = IsEmptyRect(DownSkinRect) ? Active : DownSkinRect;
  const TRect Main = Rect(0, 0, Width() - MenuTrackWidth, Height());
  const TRect Drop = Rect(Width() - MenuTrackWidth, 0, Width(), Height());
  const TRect Whole = Rect(0, 0, Width(), Height());
  bool DownPicture = false;
  // A flat idle button has no picture: the bar shows through.
  grabBackground(B);
  if (FTrackButtonMode) {
    if (FMenuTracked) {
      composePart(B, Main, Active, Resize);
      composePart(B, Drop, DownR, Resize);
    } else if (ADown && AMouseIn) {
      composePart(B, Main, DownR, Resize);
      composePart(B, Drop, DownR, Resize);
      DownPicture = true;
    } else if (AMouseIn) {
      composePart(B, Main, Active, Resize);
      composePart(B, Drop, Active, Resize);
    } else if (!FFlat) {
      composePart(B, Main, Normal, Resize);
      composePart(B, Drop, Normal, Resize);
    }
  } else if (ADown && AMouseIn) {
    composePart(B, Whole, DownR, Resize);
    DownPicture = true;
  } else if (AMouseIn) {
    composePart(B, Whole, Active, Resize);
  } else if (!FFlat) {
    composePart(B, Whole, Normal, Resize);
  }
  TCanvas* C = B->Canvas();
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  TColor Color = ActiveFontColor;
  if (!Enabled())
    Color = DisabledFontColor;
  else if (!FUseSkinFontColor)
    Color = FDefaultFont->Color();
  else if (DownPicture)
    Color = DownFontColor;
  else if (!AMouseIn)
    Color = FontColor;
  C->Font()->SetColor(Color);
  drawContent(C, Main, ADown, AMouseIn, false);
  drawArrow(C, Drop, ADown, AMouseIn, Color);
}

void TbsSkinMenuSpeedButton::drawArrow(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn,
                                       TColor TextColor) {
  if (FDrawStandardArrow)
    DrawArrow(C, R, TextColor, FArrowType);
  else if (!IsEmptyRect(MenuMarkerRect))
    DrawMenuMarker(C, R, AMouseIn, (ADown && AMouseIn) || FMenuTracked, false);
  else
    DrawSmallDownArrow(C, R, FMenuTracked ? DownFontColor : TextColor);
}

void TbsSkinMenuSpeedButton::DrawElementPart(TbsDataSkinButtonControl* Rec, TCanvas* C, bool ADown,
                                             bool AMouseIn, const TRect& R) {
  TBitmap* Pic = SkinPictureAt(FSD, Rec->PictureIndex);
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (Pic == nullptr || W <= 0 || H <= 0) return;
  TRect Src = Rec->SkinRect;
  if (ADown && AMouseIn)
    Src = !IsEmptyRect(Rec->DownSkinRect)
              ? Rec->DownSkinRect
              : (!IsEmptyRect(Rec->ActiveSkinRect) ? Rec->ActiveSkinRect : Rec->SkinRect);
  else if (AMouseIn && !IsEmptyRect(Rec->ActiveSkinRect))
    Src = Rec->ActiveSkinRect;
  if (!CanCompose(Pic, Src)) return;
  const Integer dW = W - RectWidth(Rec->SkinRect), dH = H - RectHeight(Rec->SkinRect);
  TBitmap P;
  P.SetSize(W, H);
  ComposeSkinImage(Rec->LTPoint, Rec->RTPoint, Rec->LBPoint, Rec->RBPoint, Rec->ClRect, Rec->LTPoint,
                   TPoint{Rec->RTPoint.X + dW, Rec->RTPoint.Y}, TPoint{Rec->LBPoint.X, Rec->LBPoint.Y + dH},
                   TPoint{Rec->RBPoint.X + dW, Rec->RBPoint.Y + dH},
                   Rect(Rec->ClRect.Left, Rec->ClRect.Top, Rec->ClRect.Right + dW, Rec->ClRect.Bottom + dH),
                   &P, Pic, Src, W, H, true, Rec->LeftStretch, Rec->TopStretch, Rec->RightStretch,
                   Rec->BottomStretch, Rec->StretchEffect, Rec->StretchType);
  C->Draw(R.Left, R.Top, &P);
}

void TbsSkinMenuSpeedButton::drawNewStyleMenuButton(TBitmap* B, bool ADown, bool AMouseIn) {
  const bool Bottom = FTrackPosition == bstpBottom;
  const bool Split = AMouseIn && FTrackButtonMode;
  TRect Main = Rect(0, 0, Width(), Height());
  const TRect Track = Bottom ? Rect(0, Height() - MenuTrackWidth, Width(), Height())
                             : Rect(Width() - MenuTrackWidth, 0, Width(), Height());
  if (Split)
    Main = Bottom ? Rect(0, 0, Width(), Height() - MenuTrackWidth)
                  : Rect(0, 0, Width() - MenuTrackWidth, Height());
  TbsDataSkinButtonControl* MainRec = elementByName("resizetoolbutton");
  if (MainRec == nullptr) MainRec = elementByName("resizebutton");
  TbsDataSkinButtonControl* TrackRec = nullptr;
  if (Split) {
    TrackRec = elementByName(Bottom ? "htracktoolbutton" : "vtracktoolbutton");
    if (TrackRec != nullptr)
      Main = Rect(0, 0, Width(), Height());
    else
      TrackRec = MainRec;
  }
  const bool MainDown = (FMenuTracked && FTrackButtonMode) ? false : (ADown && AMouseIn);
  grabBackground(B);
  if (MainRec != nullptr) DrawElementPart(MainRec, B->Canvas(), MainDown, AMouseIn, Main);
  if (Split && TrackRec != nullptr) DrawElementPart(TrackRec, B->Canvas(), FMenuTracked, true, Track);
  TCanvas* C = B->Canvas();
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  TColor Color = FontColor;
  if (!Enabled())
    Color = DisabledFontColor;
  else if (!FUseSkinFontColor)
    Color = FDefaultFont->Color();
  else if (MainDown)
    Color = DownFontColor;
  else if (AMouseIn)
    Color = ActiveFontColor;
  C->Font()->SetColor(Color);
  const TRect Content = Bottom ? Rect(0, 0, Width(), Height() - MenuTrackWidth)
                               : Rect(0, 0, Width() - MenuTrackWidth, Height());
  drawContent(C, Content, ADown, AMouseIn, false);
  drawArrow(C, Track, ADown, AMouseIn, Color);
}

void TbsSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const TRect Whole = ClientRect();
  const bool Bottom = FNewStyle && FTrackPosition == bstpBottom;
  const TRect Arrow = Bottom ? Rect(0, Height() - MenuTrackWidth, Width(), Height())
                             : Rect(Width() - MenuTrackWidth, 0, Width(), Height());
  const TRect Main = Bottom ? Rect(0, 0, Width(), Height() - MenuTrackWidth)
                            : Rect(0, 0, Width() - MenuTrackWidth, Height());
  const bool DownIn = FDown && FMouseIn;
  const TbsButtonFace Idle = FFlat ? bfFlat : bfTool;
  const bool Split = FTrackButtonMode && (!FNewStyle || FMouseIn);
  if (Split) {
    TbsButtonFace MainFace = Idle, ArrowFace = Idle;
    if (FMenuTracked) {
      MainFace = bfHover;
      ArrowFace = bfDown;
    } else if (DownIn) {
      MainFace = bfDown;
      ArrowFace = FNewStyle ? bfHover : bfDown;
    } else if (FMouseIn) {
      MainFace = ArrowFace = bfHover;
    }
    // A flat transparent idle part is left to the bar.
    if (!(MainFace == bfFlat && Transparent())) DrawButtonFace(C, Main, MainFace);
    if (!(ArrowFace == bfFlat && Transparent())) DrawButtonFace(C, Arrow, ArrowFace);
  } else {
    const TbsButtonFace Face = DownIn ? bfDown : (FMouseIn ? bfHover : Idle);
    if (!(Face == bfFlat && Transparent())) DrawButtonFace(C, Whole, Face);
  }
  C->SetFont(FDefaultFont.get());
  applyCharset(C);
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  drawContent(C, Main, FDown, FMouseIn, false);
  TRect A = Arrow;
  const bool Pressed = FNewStyle ? (DownIn && (!FTrackButtonMode || FMenuTracked)) : (DownIn || FMenuTracked);
  if (Pressed) {
    if (FNewStyle)
      OffsetRect(&A, 2, 2);
    else
      A = Rect(Width() - 13, 2, Width() + 2, Height() + 2);
  }
  DrawSmallDownArrow(C, A, clBtnText);
}
