// Non-client hit testing, mouse routing to the frame objects, size limits, magnetic snapping while
// moving, and the window states the engine runs itself: maximize, minimize into a caption strip,
// restore and roll-up.
#include "platform/ui/core/application.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/core/bsdraw.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"

namespace {

bool inRect(const TRect& R, const TPoint& P) {
  return PtInRect(&R, P);
}

// The pixel of a mask strip; outside the strip counts as not black.
bool maskPixelBlack(TBitmap* B, Integer X, Integer Y, TColor Black) {
  if (B == nullptr || B->Empty() || X < 0 || Y < 0 || X >= B->Width() || Y >= B->Height()) return false;
  return B->Canvas()->Pixels(X, Y) == Black;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Size limits

Integer TbsSkinForm::GetDefCaptionHeight() const {
  const auto BS = FForm->BorderStyle();
  return (BS == bsToolWindow || BS == bsSizeToolWin) ? 15 : 19;
}

Integer TbsSkinForm::GetDefButtonSize() const {
  const auto BS = FForm->BorderStyle();
  return (BS == bsToolWindow || BS == bsSizeToolWin) ? 13 : 17;
}

Integer TbsSkinForm::GetMinWidth() const {
  if (!skinLoaded() || FSD->FPicture == nullptr) return FMinWidth <= 0 ? 120 : FMinWidth;
  const Integer PW = FSD->FPicture->Width();
  const bool Minimized = FMode.WindowState == wsMinimized;
  if (PW < FMinWidth && !Minimized) return FMinWidth;
  if (FSD->FormMinWidth > 0)
    return (FMinWidth > FSD->FormMinWidth && !Minimized) ? FMinWidth : FSD->FormMinWidth;
  return PW;
}

Integer TbsSkinForm::GetMinHeight() const {
  const bool Free = !FMode.RollUpState && FMode.WindowState != wsMinimized;
  if (!skinLoaded() || FSD->FPicture == nullptr) {
    const Integer H = GetDefCaptionHeight() + 6;
    return (FMinHeight > H && Free) ? FMinHeight : H;
  }
  if (UseFullLayeredBorder()) {
    const Integer H = FSD->FPicture->Height() - FSD->ClRect.Height();
    return (FMinHeight > H && Free) ? FMinHeight : 10;
  }
  if (FSD->FormMinHeight != 0)
    return (FMinHeight > FSD->FormMinHeight && Free) ? FMinHeight : FSD->FormMinHeight;
  const Integer H = FSD->FPicture->Height() - FSD->ClRect.Height();
  return (FMinHeight > H && Free) ? FMinHeight : H;
}

TRect TbsSkinForm::monitorOfForm() const {
  HMONITOR M =
      MonitorFromWindow(FForm->HandleAllocated() ? FForm->Handle() : nullptr, MONITOR_DEFAULTTONEAREST);
  MONITORINFO I{};
  I.cbSize = sizeof I;
  GetMonitorInfo(M, &I);
  return I.rcMonitor;
}

TRect TbsSkinForm::workAreaOfForm() const {
  HMONITOR M =
      MonitorFromWindow(FForm->HandleAllocated() ? FForm->Handle() : nullptr, MONITOR_DEFAULTTONEAREST);
  MONITORINFO I{};
  I.cbSize = sizeof I;
  GetMonitorInfo(M, &I);
  return I.rcWork;
}

Integer TbsSkinForm::GetMaxWidth() const {
  if (FMaxWidth != 0) return FMaxWidth;
  return (FMaximizeOnFullScreen ? monitorOfForm() : workAreaOfForm()).Width();
}

Integer TbsSkinForm::GetMaxHeight() const {
  if (FMaxHeight != 0) return FMaxHeight;
  return (FMaximizeOnFullScreen ? monitorOfForm() : workAreaOfForm()).Height();
}

// ---------------------------------------------------------------------------------------------
// Hit testing

void TbsSkinForm::PointToNC(TPoint& P) const {
  if (FForm->FormStyle() == fsMDIChild) {
    P = FForm->ScreenToClient(P);
    if (FMode.SkinSupport) {
      P.X += FGeometry.NewClRect.Left;
      P.Y += FGeometry.NewClRect.Top;
    } else {
      P.X += 3;
      P.Y += GetDefCaptionHeight() + 3;
    }
    return;
  }
  P.X -= FForm->Left();
  P.Y -= FForm->Top();
}

LRESULT TbsSkinForm::HitTestDefault(const TPoint& P) {
  const Integer W = FForm->Width(), H = FForm->Height();
  const Integer X = P.X, Y = P.Y;
  if (FMode.WindowState != wsMaximized && FMode.WindowState != wsMinimized && !FMode.RollUpState &&
      IsSizeable()) {
    if (FMode.ActiveObject != -1) return HTOBJECT;
    // Bands of three pixels on every side: the whole 3-pixel default frame sizes.
    const Integer R = W - 3, B = H - 3;
    if (X <= 2 && Y <= 2) return HTTOPLEFT;
    if (X >= R && Y <= 2) return HTTOPRIGHT;
    if (X <= 2 && Y >= B) return HTBOTTOMLEFT;
    if (X >= R && Y >= B) return HTBOTTOMRIGHT;
    if (X <= 2) return HTLEFT;
    if (Y <= 2) return HTTOP;
    if (X >= R) return HTRIGHT;
    if (Y >= B) return HTBOTTOM;
  }
  TRect CR;
  GetDefCaptionRect(CR);
  if (inRect(CR, P)) return HTCAPTION;
  if (inRect(Rect(3, GetDefCaptionHeight() + 3, W - 3, H - 3), P)) return HTCLIENT;
  return HTOBJECT;
}

bool TbsSkinForm::PtInCaptionArea(const TPoint& P) const {
  for (const auto& O : ObjectList) {
    auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
    if (C == nullptr || !inRect(C->ObjectRect, P)) continue;
    // The quick buttons at the caption's left are not caption: the area begins after them.
    if (FQuickButtons->Count() > 0 && FQuickImageList != nullptr && !CanShowAppMenuCaption())
      return P.X > C->ObjectRect.Left + FQuickButtons->Count() * (FQuickImageList->Width() + 8) + 7;
    return true;
  }
  return false;
}

bool TbsSkinForm::PtInMask(const TPoint& P) const {
  const TRect& A = FGeometry.NewMaskRectArea;
  if (inRect(A, P)) return true;
  if (P.Y <= A.Top) return maskPixelBlack(RMTop.get(), P.X, P.Y, BlackColor);
  if (P.Y >= A.Bottom) return maskPixelBlack(RMBottom.get(), P.X, P.Y - A.Bottom, BlackColor);
  if (P.X <= A.Left) return maskPixelBlack(RMLeft.get(), P.X, P.Y - A.Top, BlackColor);
  return maskPixelBlack(RMRight.get(), P.X - A.Right, P.Y - A.Top, BlackColor);
}

LRESULT TbsSkinForm::HitTestSkin(const TPoint& P) {
  const Integer X = P.X, Y = P.Y;
  const Integer W = FForm->Width(), H = FForm->Height();
  if (!FMode.RollUpState && FMode.WindowState != wsMinimized) {
    if (FMode.ActiveObject != -1 && !PtInCaptionArea(P) && !inRect(FGeometry.NewClRect, P) && !FMode.SizeMove)
      return HTOBJECT;
    if (FMode.WindowState != wsMaximized && IsSizeable()) {
      const Integer BW = FSD->BorderW;
      const TPoint Probes[4] = {{X - BW, Y}, {X, Y - BW}, {X + BW, Y}, {X, Y + BW}};
      const TRect F = Rect(0, 0, W, H);
      const bool NoMask = FSD->FMask == nullptr || FSD->FMask->Empty();
      bool Near = false;
      for (const TPoint& Q : Probes) {
        if (NoMask ? !inRect(F, Q) : (!inRect(FGeometry.NewMaskRectArea, P) && !PtInMask(Q))) Near = true;
      }
      if (!Near) {
        if (inRect(FGeometry.NewClRect, P)) return HTCLIENT;
        return PtInCaptionArea(P) ? HTCAPTION : HTOBJECT;
      }
      if (X <= FGeometry.NewHitTestLTPoint.X && Y <= FGeometry.NewHitTestLTPoint.Y) return HTTOPLEFT;
      if (X >= FGeometry.NewHitTestRTPoint.X && Y <= FGeometry.NewHitTestRTPoint.Y) return HTTOPRIGHT;
      if (X <= FGeometry.NewHitTestLBPoint.X && Y >= FGeometry.NewHitTestLBPoint.Y) return HTBOTTOMLEFT;
      if (X >= FGeometry.NewHitTestRBPoint.X && Y >= FGeometry.NewHitTestRBPoint.Y) return HTBOTTOMRIGHT;
      if (inRect(
              Rect(FGeometry.NewHitTestLTPoint.X, 0, FGeometry.NewHitTestRTPoint.X, FGeometry.NewClRect.Top),
              P))
        return HTTOP;
      if (inRect(Rect(FGeometry.NewHitTestLBPoint.X, FGeometry.NewClRect.Bottom,
                      FGeometry.NewHitTestRBPoint.X, H),
                 P))
        return HTBOTTOM;
      if (inRect(
              Rect(0, FGeometry.NewHitTestLTPoint.Y, FGeometry.NewClRect.Left, FGeometry.NewHitTestLBPoint.Y),
              P))
        return HTLEFT;
      if (inRect(Rect(FGeometry.NewClRect.Right, FGeometry.NewHitTestRTPoint.Y, W,
                      FGeometry.NewHitTestRBPoint.Y),
                 P))
        return HTRIGHT;
    }
    if (inRect(FGeometry.NewClRect, P)) return HTCLIENT;
  }
  return PtInCaptionArea(P) ? HTCAPTION : HTOBJECT;
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TbsSkinForm::TestActive(Integer X, Integer Y, bool AMouseIn) {
  if (ObjectList.empty() || !GetFormActive() || FMode.SizeMove || FMode.BorderLayerChangeSize || FPreviewMode)
    return;
  if (FForm->FormStyle() == fsMDIChild && FMode.WindowState == wsMaximized) return;
  if (FForm->BorderStyle() == bsNone) return;
  FMode.OldActiveObject = FMode.ActiveObject;
  Integer Found = -1;
  for (size_t i = 0; i < ObjectList.size(); ++i) {
    TbsActiveSkinObject* O = ObjectList[i].get();
    if (O->Enabled && O->Visible && inRect(O->ObjectRect, Point(X, Y)) &&
        O->PointInMask(X - O->ObjectRect.Left, Y - O->ObjectRect.Top)) {
      Found = Integer(i);
      break;
    }
  }
  FMode.ActiveObject = (AMouseIn && Found != -1) ? Found : -1;
  if (FMode.MouseCaptureObject != -1 && FMode.MouseCaptureObject != FMode.ActiveObject)
    FMode.ActiveObject = -1;
  if (FMode.ActiveObject >= ObjectCount()) FMode.ActiveObject = -1;
  if (FMode.ActiveObject == FMode.OldActiveObject) return;
  if (FMode.OldActiveObject >= 0 && FMode.OldActiveObject < ObjectCount()) {
    TbsActiveSkinObject* O = Objects(FMode.OldActiveObject);
    if (O->Enabled && O->Visible) {
      O->MouseLeave();
      if (FShowObjectHint && FSkinHint != nullptr && !O->Hint.empty()) FSkinHint->HideHint();
    }
  }
  if (FMode.ActiveObject >= 0) {
    TbsActiveSkinObject* O = Objects(FMode.ActiveObject);
    if (O->Enabled && O->Visible) {
      O->MouseEnter();
      if (FShowObjectHint && FSkinHint != nullptr && !O->Hint.empty()) FSkinHint->ActivateHint2(O->Hint);
    }
  }
}

void TbsSkinForm::mouseTimerProc(TObject*) {
  if (!GetFormActive()) return;
  POINT P;
  GetCursorPos(&P);
  if (!FForm->HandleAllocated() || WindowFromPoint(P) != FForm->Handle()) {
    FMouseTimer->SetEnabled(false);
    TestActive(-1, -1, false);
    return;
  }
  if (FMode.SizeMove || FMode.BorderLayerChangeSize) {
    FMouseTimer->SetEnabled(false);
    return;
  }
  TPoint NC = P;
  PointToNC(NC);
  if (!inRect(FGeometry.NewClRect, NC))
    TestActive(NC.X, NC.Y, true);
  else if (FMode.ActiveObject != -1)
    TestActive(-1, -1, true);
}

void TbsSkinForm::NCMouseMove(Integer X, Integer Y) {
  const Integer I = FMode.MouseCaptureObject != -1 ? FMode.MouseCaptureObject : FMode.ActiveObject;
  if (I >= 0 && I < ObjectCount()) Objects(I)->MouseMove(X, Y);
}

void TbsSkinForm::NCMouseDown(TMouseButton Button, Integer X, Integer Y) {
  if (FMode.ActiveObject < 0 || FMode.ActiveObject >= ObjectCount()) return;
  TbsActiveSkinObject* O = Objects(FMode.ActiveObject);
  if (dynamic_cast<TbsSkinCaptionObject*>(O) == nullptr) SetCapture(FForm->Handle());
  FMode.MouseCaptureObject = FMode.ActiveObject;
  O->MouseDown(X, Y, Button);
}

void TbsSkinForm::NCMouseUp(TMouseButton Button, Integer X, Integer Y) {
  if (FMode.MouseCaptureObject < 0 || FMode.MouseCaptureObject >= ObjectCount()) return;
  TbsActiveSkinObject* O = Objects(FMode.MouseCaptureObject);
  if (dynamic_cast<TbsSkinCaptionObject*>(O) == nullptr) ReleaseCapture();
  // The object's command may free or rebuild the list: take the index back first.
  FMode.MouseCaptureObject = -1;
  O->MouseUp(X, Y, Button);
}

void TbsSkinForm::NCDblClick() {
  if (FMode.ActiveObject >= 0 && FMode.ActiveObject < ObjectCount()) Objects(FMode.ActiveObject)->DblClick();
}

// ---------------------------------------------------------------------------------------------
// Moving

bool TbsSkinForm::GetFullDragWindows() {
  bool Full = false;
  SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0);
  return Full;
}

// The area a dragged form snaps to: an MDI child's is the main form's client area, on the screen.
TRect TbsSkinForm::magneticArea() const {
  if (!isMDIChild()) return workAreaOfForm();
  TRect A = Rect(0, 0, 0, 0);
  GetMDIClientRect(A);
  if (TCustomForm* M = appMainForm(); M != nullptr && M->HandleAllocated()) {
    const TPoint O = M->ClientToScreen({0, 0});
    OffsetRect(&A, O.X, O.Y);
  }
  return A;
}

void TbsSkinForm::CheckMagnetic(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight) {
  const Integer M = FMagneticSize;
  const TRect A = magneticArea();
  POINT C;
  GetCursorPos(&C);
  // With a layered border shown, the border's outer edges are the window's edges: the left and top are
  // tested out there, and the width and height reach the right and bottom border's outer edges.
  const TbsDataSkinLayerFrame* D = FLayers.BorderLayer->FData;
  const bool Outer = UseLayeredBorders() && FLayers.BorderLayer->FVisible && D != nullptr &&
                     D->BorderRect.Width() > 0 && D->BorderRect.Height() > 0;
  const Integer LS = Outer ? FLayers.BorderLayer->LeftSize : 0, TS = Outer ? FLayers.BorderLayer->TopSize : 0;
  ALeft -= LS;
  ATop -= TS;
  AWidth += Outer ? FLayers.BorderLayer->RightSize : 0;
  AHeight += Outer ? FLayers.BorderLayer->BottomSize : 0;
  // Tested (the edge at Pos, or the far edge it carries) snaps to Edge by moving Pos to Snapped; whether
  // it was near is the result.
  auto snap = [&](Integer& Pos, Integer Tested, Integer Edge, Integer Snapped, Integer Cursor, Integer& Coord,
                  bool& Flag) {
    const bool Near = Edge - M < Tested && Tested < Edge + M;
    if (Near && !Flag) {
      Pos = Snapped;
      Coord = Cursor;
    } else if (Flag) {
      // Snapped: stays until the cursor has left the snap point by more than M, then follows it.
      if (std::abs(Cursor - Coord) > M)
        Pos = Cursor + Snapped - Coord;
      else
        Pos = Snapped;
    }
    Flag = Near;
    return Near;
  };
  // Left and top edges.
  snap(ALeft, ALeft, A.Left, A.Left, C.X, FOnMouseDownCoord.X, HMagnetized);
  snap(ATop, ATop, A.Top, A.Top, C.Y, FOnMouseDownCoord.Y, VMagnetized);
  // Right and bottom edges, tested on the right/bottom edge but moving the left/top; the positions
  // they give are the form's own (its left or top border added back).
  const bool NearR =
      snap(ALeft, ALeft + AWidth + LS, A.Right, A.Right - AWidth, C.X, FOnMouseDownCoord.X, HMagnetized2);
  const bool NearB =
      snap(ATop, ATop + AHeight + TS, A.Bottom, A.Bottom - AHeight, C.Y, FOnMouseDownCoord.Y, VMagnetized2);
  if (!NearR) ALeft += LS;
  if (!NearB) ATop += TS;
}

// The callers give the outer bounds of form and layered border.
void TbsSkinForm::Move(Integer AX, Integer AY) {
  if (layeredOuterBounds()) {
    AX += FLayers.BorderLayer->LeftSize;
    AY += FLayers.BorderLayer->TopSize;
  }
  FForm->SetBounds(AX, AY, FForm->Width(), FForm->Height());
}

void TbsSkinForm::SetBounds(Integer AX, Integer AY, Integer AW, Integer AH) {
  if (layeredOuterBounds()) {
    const TbsCustomFormLayerBorder* L = FLayers.BorderLayer;
    AX += L->LeftSize;
    AY += L->TopSize;
    AW -= L->LeftSize + L->RightSize;
    AH -= L->TopSize + L->BottomSize;
  }
  FForm->SetBounds(AX, AY, AW, AH);
}

bool TbsSkinForm::layeredOuterBounds() const {
  const TbsDataSkinLayerFrame* D = FLayers.BorderLayer->FData;
  return UseLayeredBorders() && FLayers.BorderLayer->FVisible && D != nullptr &&
         (!(D->BorderRect.Width() <= 0 || D->BorderRect.Height() <= 0) || D->FullBorder);
}

TPoint TbsSkinForm::GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH) const {
  if (FPositionInMonitor == bspDefault) return Point(AX, AY);
  const TRect R = FPositionInMonitor == bspDesktopCenter ? workAreaOfForm() : monitorOfForm();
  return Point(R.Left + R.Width() / 2 - AW / 2, R.Top + R.Height() / 2 - AH / 2);
}

void TbsSkinForm::ApplyPositionInMonitor() {
  const TPoint P = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
  FForm->SetBounds(P.X, P.Y, FForm->Width(), FForm->Height());
}

void TbsSkinForm::RestoreOldFormBounds() {
  TPoint LayerTopLeft;
  if (FOldFullBorder == 1 && UseLayeredBorders() && FullLayeredBorderVisible(LayerTopLeft)) {
    const TRect& B = FOldFormBounds;
    const TbsCustomFormLayerBorder* L = FLayers.BorderLayer;
    FForm->SetBounds(B.Left + L->LeftSize, B.Top + L->TopSize, B.Right - L->LeftSize - L->RightSize,
                     B.Bottom - L->TopSize - L->BottomSize);
  } else if (FOldFullBorder == 1) {
    const TRect& B = FOldFormBounds;
    FForm->SetBounds(B.Left, B.Top, B.Right, FMode.RollUpState ? GetMinHeight() : B.Bottom);
  }
}

void TbsSkinForm::ForceResize() {
  const Integer W = FForm->Width();
  if (W <= GetMinWidth())
    FForm->SetWidth(W + 1);
  else
    FForm->SetWidth(W - 1);
  FForm->SetWidth(W);
}

// ---------------------------------------------------------------------------------------------
// Window states

void TbsSkinForm::ApplyWindowState(TWindowState AState) {
  if (!FSkinnableForm) {
    FForm->SetWindowState(AState);
    return;
  }
  if (AState == FMode.WindowState) return;
  const TWindowState Old = FMode.WindowState;
  if (!(AState == wsMinimized && (isMainForm() || MinimizeDefault))) FMode.WindowState = AState;
  switch (AState) {
    case wsNormal:
      if (Old == wsMaximized && FMode.RollUpState && !FMode.RollUpBeforeMaximize) SetRollUpState(false);
      FMode.RollUpBeforeMaximize = false;
      DoNormal();
      break;
    case wsMinimized:
      DoMinimize();
      break;
    case wsMaximized:
      FMode.RollUpBeforeMaximize = FMode.RollUpState;
      DoMaximize();
      break;
  }
}

void TbsSkinForm::CalcMinimizedPosition(TPoint& P) const {
  const Integer w = GetMinWidth(), h = GetMinHeight();
  // A child's slots are in the MDI client area, among its siblings; other forms' in the work area.
  TRect R = workAreaOfForm();
  std::vector<TCustomForm*> Others;
  TCustomForm* Main = appMainForm();
  if (isMDIChild() && Main != nullptr) {
    TRect A = Rect(0, 0, 0, 0);
    GetMDIClientRect(A);
    R = Rect(0, 0, A.Width(), A.Height());
    Others = MDIChildrenOf(Main);
  } else {
    for (Integer i = 0; i < Screen->FormCount(); ++i) Others.push_back(Screen->Forms(i));
  }
  P = Point(R.Left, R.Bottom - h);
  auto occupied = [&](const TPoint& Q) {
    for (TCustomForm* F : Others) {
      if (F == FForm || !F->Visible() || (Application != nullptr && F == Application->MainForm())) continue;
      TbsSkinForm* S = GetSkinFormOf(F);
      if (S != nullptr && S->FMode.WindowState == wsMinimized && F->Left() == Q.X && F->Top() == Q.Y)
        return true;
    }
    return false;
  };
  while (occupied(P)) {
    P.X += w;
    if (P.X + w > R.Right) {
      P.X = R.Left;
      P.Y -= h;
      if (P.Y < R.Top) {
        P.Y = R.Bottom - h;
        break;
      }
    }
  }
}

void TbsSkinForm::DoMinimize() {
  if (isMainForm()) {
    Application->Minimize();
  } else if (MinimizeDefault) {
    FForm->SetWindowState(wsMinimized);
  } else {
    if (OldBoundsRect.Width() <= 0 && OldBoundsRect.Height() <= 0) OldBoundsRect = FForm->BoundsRect();
    TPoint P;
    CalcMinimizedPosition(P);
    TPoint LayerTopLeft;
    if (FullLayeredBorderVisible(LayerTopLeft))
      FForm->SetBounds(
          P.X + FLayers.BorderLayer->LeftSize,
          P.Y - FLayers.BorderLayer->BottomSize - FLayers.BorderLayer->FData->RollUpFormHeight + 10,
          GetMinWidth(), GetMinHeight());
    else
      FForm->SetBounds(P.X, P.Y, GetMinWidth(), GetMinHeight());
    if (isMDIChild()) {
      sendToMainForm(WM_MDICHILDRESTORE, 0);
      sendToMainForm(WM_MDIRESTOREALLEXCEPT, WPARAM(FForm->Handle()));
    }
  }
  if (OnMinimize) OnMinimize(this);
}

void TbsSkinForm::DoMaximize() {
  if (OldBoundsRect.Width() <= 0 && OldBoundsRect.Height() <= 0) OldBoundsRect = FForm->BoundsRect();
  if (isMDIChild()) {
    // A child is maximized into the MDI client area, without a frame of its own.
    FMouseTimer->SetEnabled(false);
    TestActive(-1, -1, false);
    TRect A = Rect(0, 0, 0, 0);
    GetMDIClientRect(A);
    if (FForm->Left() == 0 && FForm->Top() == 0 && FForm->Width() == A.Width() &&
        FForm->Height() == A.Height())
      ForceResize();
    else
      FForm->SetBounds(0, 0, A.Width(), A.Height());
    sendToMainForm(WM_MDICHILDMAXIMIZE, 0);
  } else {
    maximizeInMonitor();
  }
  if (FStatusBar != nullptr && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
  if (OnMaximize) OnMaximize(this);
  // A plain layered border does not frame a maximized form.
  if (FLayers.BorderLayer->FVisible && !FLayers.BorderLayer->FullBorder()) FLayers.BorderLayer->Hide();
}

void TbsSkinForm::maximizeInMonitor() {
  TRect R;
  if (FMaximizeOnFullScreen) {
    R = monitorOfForm();
  } else {
    R = workAreaOfForm();
    const TRect Mon = monitorOfForm();
    // An auto-hiding task bar stays reachable along the edges.
    if (R == Mon && Mon == Rect(0, 0, Screen->Width(), Screen->Height()))
      R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  if (UseFullLayeredBorder()) {
    const TbsCustomFormLayerBorder* L = FLayers.BorderLayer;
    R = Rect(R.Left + L->LeftSize, R.Top + L->TopSize, R.Right - L->RightSize, R.Bottom - L->BottomSize);
  }
  FForm->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TbsSkinForm::DoNormal() {
  FMode.MaxRollUpState = false;
  const Integer OldW = FForm->Width(), OldH = FForm->Height();
  if (UseLayeredBorders() && !FLayers.BorderLayer->FVisible) FLayers.BorderLayer->ShowWithForm();
  if (FStartShow) {
    FStartShow = false;
    const TPoint P = GetPositionInMonitor(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                                          OldBoundsRect.Height());
    FForm->SetBounds(P.X, P.Y, OldBoundsRect.Width(), OldBoundsRect.Height());
  } else {
    if (FLayers.BorderLayer->FVisible)
      FLayers.BorderLayer->SetBoundsWithForm3(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                                              OldBoundsRect.Height());
    FForm->SetBounds(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(), OldBoundsRect.Height());
  }
  FMouseTimer->SetEnabled(true);
  if (FForm->Width() == OldW && FForm->Height() == OldH) ForceResize();
  FForm->Repaint();
  if (isMDIChild()) {
    sendToMainForm(WM_MDICHILDRESTORE, 0);
    sendToMainForm(WM_MDIRESTOREALL, 0);
  }
  OldBoundsRect = TRect{};
  if (FStatusBar != nullptr && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(true);
  if (OnRestore) OnRestore(this);
}

void TbsSkinForm::SetRollUpState(bool Value) {
  if (!FBorderIcons.Contains(biRollUp)) return;
  if (FMode.RollUpState && FMode.WindowState == wsMaximized && !FMode.MaxRollUpState) return;
  if (FMode.WindowState == wsMinimized) return;
  if (FMode.WindowState == wsMaximized) FMode.MaxRollUpState = Value;
  if (Value == FMode.RollUpState) return;
  FMode.RollUpState = Value;
  if (Value) {
    OldHeight = FForm->Height();
    DoRollUp();
  } else if (FClientHeight != 0) {
    FForm->SetClientHeight(FClientHeight);
  } else {
    DoRollDown();
  }
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinForm::DoRollUp() {
  TPoint LayerTopLeft;
  if (FullLayeredBorderVisible(LayerTopLeft) && FForm->Height() == GetMinHeight()) {
    FForm->SetHeight(FForm->Height() + 1);
    OldHeight = FForm->Height();
  }
  FForm->SetHeight(GetMinHeight());
}

void TbsSkinForm::DoRollDown() {
  FForm->SetHeight(OldHeight);
}
