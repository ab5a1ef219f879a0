#include "skin/forms/layered/bsformlayerwindow.h"

#include "platform/ui/core/application.h"
#include "skin/core/bsskinrecordsform.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"
#include "skin/forms/layered/bsformlayerborder.h"

namespace {

bool inRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

TPoint cursorPos() {
  POINT P;
  GetCursorPos(&P);
  return P;
}

}  // namespace

TbsFormLayerWindow::TbsFormLayerWindow(TbsFormLayerBorder* AOwner, TForm* AForm)
    : TForm(AOwner), FForm(AForm), FLayerBorder(AOwner), FBorderAlive(AOwner->AliveToken()) {
  SetBorderStyle(bsNone);
  SetFormStyle(AForm != nullptr && AForm->FormStyle() == fsStayOnTop ? fsStayOnTop : fsNormal);
}

void TbsFormLayerWindow::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_LAYERED;
  if (orphan()) return;
  const TbsDataSkinLayerFrame* D = FLayerBorder->FData;
  // Without a mouse-sensitive frame the clicks go to what lies below.
  if (D != nullptr && (D->BorderRect.Width() <= 0 || D->BorderRect.Height() <= 0))
    Params.ExStyle |= WS_EX_TRANSPARENT;
}

TbsSkinForm* TbsFormLayerWindow::engine() const {
  return FLayerBorder->BSF;
}

bool TbsFormLayerWindow::fullBorder() const {
  return FLayerBorder->FullBorder();
}

bool TbsFormLayerWindow::hitTestEnable() const {
  return FLayerBorder->FData != nullptr && FLayerBorder->FData->HitTestEnable;
}

bool TbsFormLayerWindow::CanSize() const {
  const TbsSkinForm* E = engine();
  return E->IsSizeable() && !E->RollUpState() && E->Mode().WindowState == wsNormal;
}

TbsFormLayerBorderHit TbsFormLayerWindow::GetHitMode(Integer X, Integer Y) {
  TbsFormLayerBorder* B = FLayerBorder;
  const TbsDataSkinLayerFrame* D = B->FData;
  if (D == nullptr) return bsflhNone;
  const TPoint P = cursorPos();
  const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
  TRect CR = D->CaptionRect;
  CR.Right += W - D->ClRect.Width();
  CR.Top = D->BorderRect.Top + D->HitTestSize;
  OffsetRect(&CR, Left(), Top());
  if (fullBorder() && BorderType == bsflTop)
    B->UpdateActiveObject(X, Y);
  else if (!fullBorder())
    B->ActiveObject = -1;
  if (B->ActiveObject != -1 && B->ActiveObject < engine()->ObjectCount())
    return dynamic_cast<TbsSkinCaptionObject*>(engine()->Objects(B->ActiveObject)) != nullptr ? bsflCaption
                                                                                              : bsflObject;
  if (!CanSize()) return bsflhNone;
  const Integer S = D->HitTestSize;
  switch (BorderType) {
    case bsflLeft:
      return P.X >= L - B->LeftSize ? bsflhLeft : bsflhNone;
    case bsflRight:
      return P.X <= L + W + B->RightSize ? bsflhRight : bsflhNone;
    case bsflTop: {
      const TRect TL = Rect(L - B->LeftSize, T - B->TopSize, L - B->LeftSize + B->HitTopLeftX,
                            T - B->TopSize + B->HitTopLeftY);
      const TRect TR = Rect(L + W + B->RightSize - B->HitTopRightX, T - B->TopSize, L + W + B->RightSize,
                            T - B->TopSize + B->HitTopRightY);
      const Integer bottom = Top() + Height();
      if (inRect(TL, P) && !inRect(CR, P)) return bsflhTopLeft;
      if (inRect(Rect(TL.Right, TL.Top, TR.Left, TL.Top + S), P)) return bsflhTop;
      if (inRect(TR, P) && !inRect(CR, P)) return bsflhTopRight;
      if (inRect(Rect(TL.Left, TL.Bottom, TL.Left + S, bottom), P) && !inRect(CR, P)) return bsflhLeft;
      if (inRect(Rect(TR.Left, TR.Bottom, TR.Right, bottom), P) && !inRect(CR, P)) return bsflhRight;
      return bsflhNone;
    }
    case bsflBottom: {
      const Integer Bt = T + H + B->BottomSize;
      const TRect BL = Rect(L - B->LeftSize, Bt - B->HitBottomLeftY, L - B->LeftSize + B->HitBottomLeftX, Bt);
      const TRect BR =
          Rect(L + W + B->RightSize - B->HitBottomRightX, Bt - B->HitBottomRightY, L + W + B->RightSize, Bt);
      if (inRect(BL, P)) return bsflhBottomLeft;
      if (inRect(Rect(BL.Right, BL.Top, BR.Left, Bt), P)) return bsflhBottom;
      if (inRect(BR, P)) return bsflhBottomRight;
      if (inRect(Rect(BL.Left, Top(), L, BL.Top), P)) return bsflhLeft;
      if (inRect(Rect(L + W, Top(), L + W + B->RightSize, BR.Top), P)) return bsflhRight;
      return bsflhNone;
    }
  }
  return bsflhNone;
}

void TbsFormLayerWindow::activateForm() {
  if (FForm == nullptr || FForm->Active()) return;
  FForm->Show();
  // Showing a form that is already visible does not activate it here.
  if (!FForm->Active() && FForm->CanFocus()) FForm->SetFocus();
}

void TbsFormLayerWindow::WndProc(TMessage& M) {
  if (orphan()) {
    TForm::WndProc(M);
    return;
  }
  switch (M.Msg) {
    case WM_MOUSEACTIVATE:
      wmMouseActivate(M);
      return;
    case WM_SETFOCUS:
      // The focus stays with the skinned form.
      activateForm();
      M.Result = 1;
      return;
    case WM_LBUTTONDBLCLK:
      if (fullBorder()) {
        wmLButtonDblClk(M);
        return;
      }
      break;
    case CM_MOUSEENTER:
      TForm::WndProc(M);
      if (fullBorder()) FLayerBorder->MouseTimer->SetEnabled(true);
      return;
    case CM_MOUSELEAVE:
      TForm::WndProc(M);
      if (fullBorder()) {
        FLayerBorder->MouseTimer->SetEnabled(false);
        FLayerBorder->UpdateActiveObject(-1, -1);
      }
      return;
    default:
      break;
  }
  TForm::WndProc(M);
}

void TbsFormLayerWindow::wmMouseActivate(TMessage& M) {
  M.Result = MA_NOACTIVATE;
  if (!hitTestEnable()) return;
  activateForm();
  const TPoint P = ScreenToClient(cursorPos());
  FHitMode = GetHitMode(P.X, P.Y);
}

void TbsFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TForm::MouseDown(Button, Shift, X, Y);
  if (orphan()) return;
  TbsSkinForm* E = engine();
  if (E->SkinMenu()->Visible()) E->SkinMenu()->Hide();
  if (FForm->ActiveControl() != nullptr) FForm->ActiveControl()->Perform(CM_CANCELMODE, 0, 0);
  if (!hitTestEnable()) return;
  const bool OnObject = FHitMode == bsflCaption || FHitMode == bsflObject;
  if (!CanSize() && !OnObject) return;
  FInProcessMessages = false;
  FDown = !(FHitMode == bsflObject || FHitMode == bsflhNone || E->Mode().WindowState == wsMaximized ||
            Button != mbLeft);
  MousePos1 = MousePos2 = cursorPos();
  TbsFormLayerBorder* B = FLayerBorder;
  if (fullBorder() && B->ActiveObject != -1 && B->ActiveObject < E->ObjectCount()) {
    if (Button != mbRight) B->MouseCaptureObject = B->ActiveObject;
    TbsActiveSkinObject* O = E->Objects(B->ActiveObject);
    O->MouseDown(X, Y, Button);
    auto* C = dynamic_cast<TbsSkinCaptionObject*>(O);
    if (C != nullptr && C->ActiveQuickButton != -1) FDown = false;
  }
  if (E->Layers().LayerManager != nullptr && E->Layers().LayerManager->IsVisible &&
      FForm->FormStyle() == fsStayOnTop)
    E->Layers().LayerManager->Update();
}

void TbsFormLayerWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FInProcessMessages) {
    FInProcessMessages = false;
    MousePos1 = MousePos2;
    return;
  }
  TForm::MouseMove(Shift, X, Y);
  if (orphan() || !hitTestEnable()) return;
  TbsSkinForm* E = engine();
  MousePos2 = cursorPos();
  const Integer dx = MousePos2.X - MousePos1.X, dy = MousePos2.Y - MousePos1.Y;
  if (!FDown) {
    E->SetBorderLayerSizing(false);
    FHitMode = GetHitMode(X, Y);
    switch (FHitMode) {
      case bsflhLeft:
      case bsflhRight:
        SetCursor(crSizeWE);
        break;
      case bsflhTop:
      case bsflhBottom:
        SetCursor(crSizeNS);
        break;
      case bsflhTopLeft:
      case bsflhBottomRight:
        SetCursor(crSizeNWSE);
        break;
      case bsflhTopRight:
      case bsflhBottomLeft:
        SetCursor(crSizeNESW);
        break;
      default:
        SetCursor(crDefault);
        break;
    }
    TbsFormLayerBorder* B = FLayerBorder;
    if (fullBorder() && B->ActiveObject != -1 && B->ActiveObject < E->ObjectCount())
      E->Objects(B->ActiveObject)->MouseMove(X, Y);
  } else {
    E->SetBorderLayerSizing(true);
    if (FHitMode == bsflCaption)
      moveStep(dx, dy);
    else
      sizeStep(dx, dy);
  }
  MousePos1 = MousePos2;
}

void TbsFormLayerWindow::afterStep() {
  MousePos1 = MousePos2;
  FInProcessMessages = true;
  if (Application != nullptr) Application->ProcessMessages();
  FInProcessMessages = false;
}

void TbsFormLayerWindow::sizeStep(Integer dx, Integer dy) {
  TbsSkinForm* E = engine();
  TbsFormLayerBorder* B = FLayerBorder;
  const Integer S = B->FData->HitTestSize;
  const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
  auto clampW = [E](Integer w) { return std::min(std::max(w, E->GetMinWidth()), E->GetMaxWidth()); };
  auto clampH = [E](Integer h) { return std::min(std::max(h, E->GetMinHeight()), E->GetMaxHeight()); };
  // Growing outward needs the cursor inside the frame's outer strip.
  const bool leftStrip = MousePos2.X <= L - B->LeftSize + S;
  const bool topStrip = MousePos2.Y <= T - B->TopSize + S;
  const bool rightStrip = MousePos2.X >= L + W + B->RightSize - S;
  const bool bottomStrip = MousePos2.Y >= T + H + B->BottomSize - S;
  auto redraw = [this] { RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); };
  // Top-edge sizes: the frame goes first when the form shrinks downwards; a form that kept its
  // height gets its frame put back.
  auto sizeFromTop = [&](Integer NL, Integer NT, Integer w, Integer h, Integer DY) {
    if (DY > 0) B->MoveWithForm2(NL, NT);
    redraw();
    FForm->SetBounds(NL, NT, w, h);
    if (FForm->Height() == H) B->MoveWithForm();
  };
  bool Applied = false;
  switch (FHitMode) {
    case bsflhLeft: {
      const Integer w = clampW(W - dx);
      if (L + dx + w == L + W && dx != 0 && w != W && (dx > 0 || leftStrip)) {
        redraw();
        FForm->SetBounds(L + dx, T, w, H);
        Applied = true;
      }
      break;
    }
    case bsflhTop: {
      const Integer h = clampH(H - dy);
      if (T + dy + h == T + H && dy != 0 && h != H && (dy > 0 || topStrip)) {
        sizeFromTop(L, T + dy, W, h, dy);
        Applied = true;
      }
      break;
    }
    case bsflhRight: {
      const Integer w = clampW(W + dx);
      if (dx != 0 && w != W && (dx < 0 || rightStrip)) {
        redraw();
        FForm->SetBounds(L, T, w, H);
        Applied = true;
      }
      break;
    }
    case bsflhBottom: {
      const Integer h = clampH(H + dy);
      if (dy != 0 && h != H && (dy < 0 || bottomStrip)) {
        redraw();
        FForm->SetBounds(L, T, W, h);
        Applied = true;
      }
      break;
    }
    default: {
      // Corners: each axis is gated alone; a gated axis keeps its size.
      const bool Left = FHitMode == bsflhTopLeft || FHitMode == bsflhBottomLeft;
      const bool TopSide = FHitMode == bsflhTopLeft || FHitMode == bsflhTopRight;
      if (!(FHitMode >= bsflhTopLeft && FHitMode <= bsflhBottomRight)) break;
      Integer ddx = dx, ddy = dy;
      if (Left ? (dx < 0 && !leftStrip) : (dx > 0 && !rightStrip)) ddx = 0;
      if (TopSide ? (dy < 0 && !topStrip) : (dy > 0 && !bottomStrip)) ddy = 0;
      const Integer w = clampW(Left ? W - ddx : W + ddx);
      const Integer h = clampH(TopSide ? H - ddy : H + ddy);
      const Integer NL = Left ? L + ddx : L, NT = TopSide ? T + ddy : T;
      const bool EdgesStay = (!Left || NL + w == L + W) && (!TopSide || NT + h == T + H);
      if (!EdgesStay || (w == W && h == H) || (ddx == 0 && ddy == 0)) break;
      if (TopSide) {
        sizeFromTop(NL, NT, w, h, ddy);
      } else {
        redraw();
        FForm->SetBounds(NL, NT, w, h);
      }
      Applied = true;
      break;
    }
  }
  if (Applied) afterStep();
}

void TbsFormLayerWindow::moveStep(Integer dx, Integer dy) {
  TbsSkinForm* E = engine();
  TbsFormLayerBorder* B = FLayerBorder;
  const Integer L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
  const Integer PX = L + dx, PY = T + dy;
  Integer SX = PX, SY = PY;
  if (E->Magnetic() && (dx != 0 || dy != 0)) {
    E->CheckMagnetic(SX, SY, W, E->IsRolledFullBorder() ? B->FData->RollUpFormHeight : H);
    MousePos1 = MousePos2;
  }
  FInProcessMessages = true;
  auto moveTo = [&](Integer X, Integer Y) {
    if (Y > T) B->MoveWithForm2(X, Y);
    FForm->SetBounds(X, Y, W, H);
  };
  if (SX == PX && SY == PY) {
    moveTo(PX, PY);
  } else if ((dx > 0 && SX > PX) || (dx < 0 && SX < PX) || (dy > 0 && SY > PY) || (dy < 0 && SY < PY)) {
    // A snap moves the form only when it pulls further the way the mouse goes.
    moveTo(SX, SY);
  }
  B->MoveWithForm();
  if (Application != nullptr) Application->ProcessMessages();
  FInProcessMessages = false;
  MousePos1 = MousePos2;
}

void TbsFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TForm::MouseUp(Button, Shift, X, Y);
  if (orphan()) return;
  TbsSkinForm* E = engine();
  TbsFormLayerBorder* B = FLayerBorder;
  E->SetBorderLayerSizing(false);
  FDown = FInProcessMessages = false;
  MousePos1 = MousePos2 = TPoint();
  if (fullBorder()) {
    if (B->MouseCaptureObject != -1 && B->MouseCaptureObject != B->ActiveObject &&
        B->MouseCaptureObject < E->ObjectCount())
      E->Objects(B->MouseCaptureObject)->MouseUp(X, Y, Button);
    B->MouseCaptureObject = -1;
  }
  if (hitTestEnable() && (CanSize() || FHitMode == bsflCaption || FHitMode == bsflObject) && fullBorder() &&
      B->ActiveObject != -1 && B->ActiveObject < E->ObjectCount())
    E->Objects(B->ActiveObject)->MouseUp(X, Y, Button);
}

void TbsFormLayerWindow::wmLButtonDblClk(TMessage& M) {
  TbsSkinForm* E = engine();
  TbsFormLayerBorder* B = FLayerBorder;
  TbsFormLayerBorderHit Hit = GetHitMode(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
  if (Hit == bsflCaption && B->ActiveObject != -1) {
    auto* C = dynamic_cast<TbsSkinCaptionObject*>(E->Objects(B->ActiveObject));
    if (C != nullptr && C->ActiveQuickButton != -1) Hit = bsflObject;
  }
  MousePos1 = MousePos2;
  if (Hit == bsflObject && B->ActiveObject != -1) {
    auto* S = dynamic_cast<TbsSkinStdButtonObject*>(E->Objects(B->ActiveObject));
    if (S != nullptr && S->Command == cmSysMenu) FForm->Close();
  } else if (Hit == bsflCaption) {
    if (E->IsSizeable() && E->Mode().WindowState == wsMinimized) {
      E->SetWindowState(wsNormal);
    } else if (E->IsSizeable() && E->Mode().WindowState != wsMaximized && !E->RollUpState() &&
               E->BorderIcons().Contains(TbsBorderIcon::biMaximize)) {
      E->SetWindowState(wsMaximized);
      FDown = false;
    } else if (E->IsSizeable() && E->Mode().WindowState == wsMaximized && !E->Mode().MaxRollUpState) {
      E->SetWindowState(wsNormal);
      FDown = false;
    } else {
      E->SetRollUpState(!E->RollUpState());
    }
  }
  TForm::WndProc(M);
  B->MouseCaptureObject = -1;
}
