#include "skin/controls/bars/bsskintoolbar.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "skin/controls/base/bsgraphicskincontrol.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

// ---- TbsSkinToolBar ----

TbsSkinToolBar::TbsSkinToolBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  FForceBackground = false;
  FSkinDataName = "toolpanel";
  FBorderStyle = bvNone;
  FDefaultHeight = 0;
  FScroller.AfterMove = [this] { Repaint(); };
  FScroller.ArrowLook = [this] {
    GetSkinData();
    return TbsArrowScroller::TArrowLook{
        ButtonData, ButtonData != nullptr ? SkinPictureAt(FSD, ButtonData->PictureIndex) : nullptr};
  };
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
  if (FScroller.CanScroll) {
    FScroller.Resized(OldWidth);
    UpdateScroll();
    centreChildren();
  }
}

void TbsSkinToolBar::AdjustClientRect(TRect& R) {
  TbsSkinPanel::AdjustClientRect(R);
  const TbsArrowScroller& S = FScroller;
  if (!((S.Buttons[0].Visible && S.CanScroll) || S.Buttons[1].Visible)) return;
  const TRect Client = TWinControl::GetClientRect();
  const Integer CW = Client.Width(), CH = Client.Height();
  R = Rect(-S.SPosition, 0, -S.SPosition + std::max(S.SMax, CW), CH);
  if (FIndex == -1 || designing()) {
    R.Top = 1;
    R.Bottom = CH - 1;
  } else if (FBorderStyle != bvNone || ResizeMode != 1) {
    R.Top = NewClRect.Top;
    R.Bottom = NewClRect.Bottom;
  }
}

void TbsSkinToolBar::UpdateScroll() {
  FScroller.Measure();
}

void TbsSkinToolBar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCCALCSIZE && FScroller.CanScroll) GetSkinData();
  if (FScroller.HandleMessage(Message, designing())) return;
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING:
      TbsSkinPanel::WndProc(Message);
      if (HandleAllocated()) {
        centreChildren();
        if (FScroller.CanScroll && Align() == alNone) UpdateScroll();
      }
      return;
    case WM_SIZE:
      TbsSkinPanel::WndProc(Message);
      // The position change is announced before the new height is known: centre again now.
      centreChildren();
      if (FScroller.ArrowsShown()) {
        FScroller.PlaceArrows();
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
  if (FScroller.ArrowsShown() && ResizeMode == 2 && CanCompose(Picture, SkinRect)) {
    // The element's ends would lie behind the arrows: only its middle part covers the bar.
    ComposeSkinImageHMiddle(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, Picture, SkinRect, Width(), Height(),
                            StretchEffect);
    return;
  }
  TbsSkinPanel::CreateControlSkinImage(B);
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
