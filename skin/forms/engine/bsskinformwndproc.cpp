// The engine's window procedure: every message of the form passes through it. A first dispatch
// answers alone or works around the form's previous procedure; after the previous procedure a
// second dispatch routes the non-client mouse to the frame objects.
#include "platform/rtl/clock.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/screen.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/core/bscancelmodetarget.h"
#include "skin/core/bsmessages.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"

namespace {

constexpr UINT_PTR FadeInTimerId = 1;
// The main form's Tag while the tray icon hides or restores it.
constexpr Integer TrayRestoreMark = -10000;

// The non-client mouse point of a message in screen coordinates.
TPoint messagePoint(const TMessage& M) {
  return Point(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
}

bool isMenuCloseMessage(UINT Msg) {
  switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TbsSkinForm::FormWndProc(TMessage& Message) {
  closeMenusOnMessage(Message);
  if (!firstDispatch(Message) && OldWindowProc) OldWindowProc(Message);
  secondDispatch(Message);
}

void TbsSkinForm::closeMenusOnMessage(const TMessage& M) {
  if (!isMenuCloseMessage(M.Msg)) return;
  if (FShowObjectHint && FSkinHint != nullptr) FSkinHint->HideHint();
  if (FMode.InMainMenu && !FMode.InMenu) {
    if (FMenuTracking != nullptr) FMenuTracking->SkinMainMenuClose();
  } else if (FSkinMenu->Visible()) {
    FSkinMenu->Hide();
  } else if (FMode.InMenu) {
    SkinMenuClose();
  } else if (isMDIMain() && FForm->Visible()) {
    // The children leave their menus to the main form: its press closes the active child's menu.
    if (TbsSkinForm* C = GetActiveMDIChildSkinForm(); C != nullptr && C != this) {
      if (C->FMode.InMainMenu && !C->FMode.InMenu) {
        if (C->FMenuTracking != nullptr) C->FMenuTracking->SkinMainMenuClose();
      } else if (C->FSkinMenu->Visible()) {
        C->FSkinMenu->Hide();
      } else if (C->FMode.InMenu) {
        C->SkinMenuClose();
      }
    }
  }
  cancelSkinControlsMode();
}

void TbsSkinForm::cancelSkinControlsMode() {
  if (!ComponentState().Empty() || !isMDIMain() || !FForm->Visible()) return;
  for (Integer i = 0; i < FForm->ComponentCount(); ++i) {
    TComponent* Component = FForm->Components(i);
    auto* C = dynamic_cast<TWinControl*>(Component);
    const bool Target = dynamic_cast<TbsSkinControl*>(Component) != nullptr ||
                        dynamic_cast<IbsCancelModeTarget*>(Component) != nullptr;
    if (C != nullptr && Target && C->Visible() && C->Enabled() && C->HandleAllocated())
      SendMessage(C->Handle(), CM_CANCELMODE, 0, 0);
  }
}

// Returns true when the branch answered without the previous procedure or already ran it.
bool TbsSkinForm::firstDispatch(TMessage& M) {
  const bool Skinnable = FSkinnableForm;
  switch (M.Msg) {
    case WM_DESTROY:
      FMouseTimer->SetEnabled(false);
      FMorphTimer->SetEnabled(false);
      FAnimateTimer->SetEnabled(false);
      FWindowDestroying = true;
      if (isMDIChild()) mdiChildDestroyed();
      return false;
    case WM_SIZE:
      if (FMode.SizeMove && FMode.FullDrag) {
        if (!FLogoBitMap->Empty()) FForm->Repaint();
        return false;
      }
      wmSize(M);
      return true;
    case WM_ACTIVATE:
      if (!Skinnable) return false;
      OldWindowProc(M);
      SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
      if (isMDIChild() && FMode.WindowStateInit == wsMaximized) {
        CheckFormActive(false);
      } else {
        ClearObjectsState();
        CheckFormActive(true);
      }
      if (isMDIMain()) {
        updateMainMenuBar();
        UpdateMDITabsBar();
      }
      return true;
    case WM_SETTEXT:
      if (!Skinnable) return false;
      OldWindowProc(M);
      if (frameDrawn()) UpDateFormNC();
      if (isMDIChild()) {
        UpDateChildCaptionInMenu(FForm);
        RefreshMDIBarTab(FForm);
        mdiChildTextChanged();
      }
      return true;
    case WM_ERASEBKGND: {
      if (FForm->FormStyle() == fsMDIForm && !FClientInActiveDraw) {
        M.Result = 0;
        return true;
      }
      HDC DC = reinterpret_cast<HDC>(M.WParam);
      if (FMode.SkinSupport) {
        if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
          PaintBG3(DC);
        else if (FSD->BGPictureIndex == -1)
          PaintBG(DC);
        else
          PaintBG2(DC);
      } else {
        PaintBGDefault(DC);
      }
      M.Result = 0;
      return true;
    }
    case WM_SHOWWINDOW:
      wmShowWindow(M);
      if (!OldWindowProc) return false;
      OldWindowProc(M);
      layeredShowWindow(M);
      return true;
    case WM_SETCURSOR:
      if (Skinnable && FUseFormCursorInNCArea) {
        const Word HT = LOWORD(uintptr_t(M.LParam));
        if (HT != HTCLIENT && !(HT >= HTLEFT && HT <= HTBOTTOMRIGHT))
          M.LParam = MAKELPARAM(HTCLIENT, HIWORD(uintptr_t(M.LParam)));
      }
      return false;
    case WM_MOUSEACTIVATE:
      if (Skinnable && isMDIChild()) mdiChildMouseActivate();
      return false;
    case WM_GETMINMAXINFO:
      if (Skinnable) {
        auto* I = reinterpret_cast<MINMAXINFO*>(M.LParam);
        I->ptMinTrackSize = Point(GetMinWidth(), GetMinHeight());
        I->ptMaxTrackSize = Point(GetMaxWidth(), GetMaxHeight());
      }
      return false;
    case WM_WINDOWPOSCHANGED:
      wmWindowPosChanged(M);
      return false;
    case WM_DISPLAYCHANGE:
      if (FForm->BorderStyle() != bsNone &&
          (FForm->Width() > GetMaxWidth() || FForm->Height() > GetMaxHeight()))
        ForceResize();
      return false;
    case WM_NCCALCSIZE:
      if (!Skinnable) return false;
      wmNCCalcSize(M);
      return true;
    case WM_NCHITTEST:
      if (!Skinnable) return false;
      if (fullLayeredBorderShown()) {
        // The caption and the frame live in the layered windows.
        M.Result = HTCLIENT;
        return true;
      }
      wmNCHitTest(M);
      return true;
    case WM_NCPAINT:
      if (!Skinnable) return false;
      if (FMode.SkinSupport && UseFullLayeredBorder()) {
        M.Result = 1;
        return true;
      }
      if (frameDrawn()) {
        if (FMode.SkinSupport)
          PaintNCSkin(nullptr, false);
        else if (!FStopPainting)
          PaintNCDefault(nullptr, false);
      }
      M.Result = 0;
      return true;
    case WM_NCACTIVATE:
      if (!Skinnable) return false;
      wmNCActivate(M);
      return true;
    case WM_SYNCPAINT:
      if (!(Skinnable && FMode.RollUpState)) return false;
      SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
      M.Result = 0;
      return true;
    case WM_SYSCOMMAND:
      if ((M.WParam & 0xFFF0) == SC_RESTORE) {
        if (OnRestore) OnRestore(this);
        return false;
      }
      if ((M.WParam & 0xFFF0) == SC_KEYMENU) {
        if (!FMode.InMainMenu) {
          if (FMenuTracking != nullptr) {
            if (FSkinMenu->Visible()) SkinMenuClose();
            FMenuTracking->MenuBarMenuEnter();
          }
          // A menu bar that took the keyboard keeps it.
          if (!FMode.InMainMenu) ribbonKeyMenu();
        } else if (FMenuTracking != nullptr) {
          FMenuTracking->SkinMainMenuClose();
        }
        M.Result = 0;
        return true;
      }
      return false;
    case WM_TIMER:
      if (M.WParam == FadeInTimerId) wmFadeInTimer(M);
      return false;
    case WM_SIZING:
      if (!(FMode.SizeMove && FMode.FullDrag)) return false;
      wmSizing(M);
      return true;
    case WM_MOVING:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      if (Skinnable) moveSizeLoopMessage(M);
      return false;
    default:
      return mdiPrivateMessage(M) || privateMessage(M);
  }
}

void TbsSkinForm::secondDispatch(TMessage& M) {
  const bool Skinnable = FSkinnableForm;
  auto ncPoint = [&] {
    TPoint P = messagePoint(M);
    PointToNC(P);
    return P;
  };
  switch (M.Msg) {
    case WM_MOVE:
    case WM_SIZE:
      if (isMDIChild()) sendToMainForm(WM_MDICHILDMOVE, 0);
      break;
    case WM_SHOWWINDOW:
      if (M.WParam != 0 && isMDIChild()) sendToMainForm(WM_MDICHILDMOVE, 0);
      break;
    case WM_NCMOUSEMOVE:
      if (Skinnable) {
        const TPoint P = ncPoint();
        NCMouseMove(P.X, P.Y);
      }
      break;
    case WM_NCLBUTTONDOWN:
      if (!Skinnable) break;
      if (FMode.SizeMove) {
        // The press ran a move or size loop: it is over and belongs to no object.
        FMode.SizeMove = false;
        break;
      }
      {
        const TPoint P = ncPoint();
        TestActive(P.X, P.Y, true);
        NCMouseDown(mbLeft, P.X, P.Y);
        if (M.WParam == WPARAM(HTCAPTION)) FMode.MouseCaptureObject = -1;
      }
      break;
    case WM_NCLBUTTONUP:
      if (Skinnable) {
        const TPoint P = ncPoint();
        NCMouseUp(mbLeft, P.X, P.Y);
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      if (Skinnable) wmNCLButtonDblClk(M);
      break;
    case WM_NCRBUTTONDOWN:
      if (Skinnable && M.WParam == WPARAM(HTCAPTION)) {
        FMode.MouseCaptureObject = -1;
        if (!FDisableSystemMenu && FMenuTracking != nullptr) {
          POINT C;
          GetCursorPos(&C);
          FMenuTracking->PopupSystemMenu(C);
        }
      }
      break;
    case WM_NCRBUTTONDBLCLK:
      if (Skinnable && M.WParam == WPARAM(HTCAPTION)) FMode.MouseCaptureObject = -1;
      break;
    case WM_LBUTTONUP:
      NCMouseUp(mbLeft, -1, -1);
      break;
    case WM_RBUTTONUP:
      NCMouseUp(mbRight, -1, -1);
      break;
    default:
      break;
  }
}

void TbsSkinForm::wmNCLButtonDblClk(TMessage& M) {
  TPoint P = messagePoint(M);
  PointToNC(P);
  TestActive(P.X, P.Y, true);
  NCMouseDown(mbLeft, P.X, P.Y);
  NCDblClick();
  if (M.WParam != WPARAM(HTCAPTION)) return;
  if (IsSizeable() && FMode.WindowState == wsMinimized)
    SetWindowState(wsNormal);
  else if (IsSizeable() && FMode.WindowState != wsMaximized && !FMode.RollUpState &&
           FBorderIcons.Contains(biMaximize))
    SetWindowState(wsMaximized);
  else if (IsSizeable() && FMode.WindowState == wsMaximized && !FMode.MaxRollUpState)
    SetWindowState(wsNormal);
  else
    SetRollUpState(!FMode.RollUpState);
  FMode.MouseCaptureObject = -1;
}

void TbsSkinForm::wmNCHitTest(TMessage& M) {
  TPoint P = messagePoint(M);
  PointToNC(P);
  M.Result = FMode.SkinSupport ? HitTestSkin(P) : HitTestDefault(P);
  if (!FMouseTimer->Enabled() && M.Result == HTOBJECT) {
    TestActive(P.X, P.Y, true);
    FMouseTimer->SetEnabled(true);
  }
}

void TbsSkinForm::wmNCCalcSize(TMessage& M) {
  if ((FForm->FormStyle() == fsMDIChild && FMode.WindowStateInit == wsMaximized) ||
      FForm->BorderStyle() == bsNone)
    return;
  auto* R = reinterpret_cast<TRect*>(M.LParam);
  if (skinLoaded() && FSD->FPicture != nullptr) {
    CalcNewRects();
    if (UseFullLayeredBorder()) {
      // The whole window is client: the frame is drawn by the layered windows.
      M.Result = 1;
      return;
    }
    const TRect& C = FSD->ClRect;
    R->Left += C.Left;
    R->Top += C.Top;
    R->Right -= FSD->FPicture->Width() - C.Right;
    R->Bottom -= FSD->FPicture->Height() - C.Bottom;
  } else {
    R->Left += 3;
    R->Top += GetDefCaptionHeight() + 3;
    R->Right -= 3;
    R->Bottom -= 3;
  }
  if (R->Right < R->Left) R->Right = R->Left;
  if (R->Bottom < R->Top) R->Bottom = R->Top;
}

void TbsSkinForm::wmNCActivate(TMessage& M) {
  FMode.BorderLayerChangeSize = false;
  if (FSkinMenu->Visible()) FSkinMenu->Hide();
  if (FLayers.LayerManager != nullptr) FLayers.LayerManager->Hide();
  if (FLayers.MenuLayerManager != nullptr) FLayers.MenuLayerManager->Hide();
  const bool Was = FMode.FormActive;
  FMode.FormActive = M.WParam != 0;
  if (Was && !FMode.FormActive) TestActive(-1, -1, false);
  if (isMDIChild() && FForm->Visible()) {
    // The client window keeps its activation bookkeeping; the child is repainted whole afterwards,
    // background included: our layer repaints an invalidated window from a fresh surface.
    HWND H = FForm->Handle();
    SendMessage(H, WM_SETREDRAW, 0, 0);
    OldWindowProc(M);
    SendMessage(H, WM_SETREDRAW, 1, 0);
    RedrawWindow(H, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  } else {
    // The system does not paint a caption of its own.
    M.Result = 1;
  }
  if (frameDrawn()) {
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    CheckFormActive(true);
  } else {
    CheckFormActive(false);
  }
  if (UseLayeredBorders()) {
    if (FForm->Visible())
      FLayers.BorderLayer->SetActive(FMode.FormActive, true);
    else if (FForm->Tag() != TrayRestoreMark)
      FLayers.BorderLayer->Hide();
  }
  if (isMDIChild() && FMode.WindowStateInit == wsMaximized) {
    if (TbsSkinForm* S = GetSkinFormOf(appMainForm()); S != nullptr && S != this) S->UpDateFormNC();
  }
  if (FForm->Visible() && FClientInActiveEffect) {
    if (FMode.FormActive)
      HideClientInActiveEffect();
    else
      ShowClientInActiveEffect();
  }
  if (isMDIChild()) {
    updateMainMenuBar();
    UpdateMDITabsBar();
    UpDateChildActiveInMenu();
  }
}

void TbsSkinForm::wmShowWindow(TMessage& M) {
  if (M.WParam == 0) {
    if (FSkinnableForm) {
      if (FLayers.LayerManager != nullptr) FLayers.LayerManager->Hide();
      if (FLayers.MenuLayerManager != nullptr) FLayers.MenuLayerManager->Hide();
      if (isMDIChild()) {
        DeleteChildFromMenu(FForm);
        DeleteChildFromBar(FForm);
        if (FForm->HandleAllocated()) sendToMainForm(WM_MDICHILDMOVE, WPARAM(FForm->Handle()));
      }
    }
    return;
  }
  FWindowDestroying = false;
  if (!FAppRestoreHooked && isMainForm() && !designing() && !Application->OnRestore) {
    Application->OnRestore = [this](TObject*) { CheckAppLayeredBorders(); };
    FAppRestoreHooked = true;
  }
  if (FStartShow && FPositionInMonitor == bspDefault) {
    FStartShow = false;
  } else if (FStartShow && FMode.WindowState == wsNormal) {
    FStartShow = false;
    ApplyPositionInMonitor();
  }
  const bool AllAnimate = FSD != nullptr && FSD->AnimationForAllWindows();
  if (FSkinnableForm && AllAnimate && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
  if ((FIsLayerEnabled && (FAlphaBlend || FAlphaBlendAnimation || AllAnimate)) ||
      (FSkinnableForm && NeedLayeredShow())) {
    setLayeredStyle(true);
    setWindowAlpha(0);
    if (UseLayeredBorders() && (FForm->Visible() || FForm->Tag() == TrayRestoreMark)) {
      FLayers.BorderLayer->CheckFormAlpha(0, false);
      FLayers.BorderLayer->ShowWithForm();
    }
    SetTimer(FForm->Handle(), FadeInTimerId, 1, nullptr);
  }
  if (FSkinnableForm && !isMDIMain()) {
    ForceResize();
  } else if (isMDIMain() && FForm->ClientHandle() != nullptr && FSubclassedClient != FForm->ClientHandle()) {
    subclassMDIClient();
    ForceResize();
  }
  if (FSkinnableForm && isMDIChild()) {
    AddChildToMenu(FForm);
    AddChildToBar(FForm);
  }
  if (FSkinnableForm && isMDIChild() && sendToMainForm(WM_MDICHILDMAXIMIZED, 0) == 1 &&
      FBorderIcons.Contains(biMaximize))
    SetWindowState(wsMaximized);
  if (FSkinnableForm && FForm->Menu() != nullptr) FForm->SetMenu(nullptr);
}

void TbsSkinForm::wmFadeInTimer(TMessage&) {
  HWND H = FForm->Handle();
  const bool AllAnimate = FSD != nullptr && FSD->AnimationForAllWindows();
  const bool Layered = UseLayeredBorders();
  if (NeedLayeredShow()) {
    KillTimer(H, FadeInTimerId);
    setLayeredStyle(false);
    if (Layered && (FForm->Visible() || FForm->Tag() == TrayRestoreMark)) {
      FLayers.BorderLayer->SetActive(GetFormActive(), false);
      FLayers.BorderLayer->CheckFormAlpha(255, true);
    }
    return;
  }
  if (!(FIsLayerEnabled && (FAlphaBlend || FAlphaBlendAnimation || AllAnimate))) return;
  KillTimer(H, FadeInTimerId);
  if (Layered) FLayers.BorderLayer->SetActive(GetFormActive(), false);
  const Integer T = ((FAlphaBlendAnimation || AllAnimate) && !FAlphaBlend) ? 255 : FAlphaBlendValue;
  if (FAlphaBlendAnimation || AllAnimate) {
    Integer S = T / 15;
    if (S == 0) S = 1;
    Integer A = 0;
    Cardinal L = 0;
    if (Application != nullptr) Application->ProcessMessages();
    // Waits without serving messages: the fade is part of showing, nothing else runs meanwhile.
    do {
      if (GetTickCount() - L > 5) {
        L = GetTickCount();
        A = std::min(A + S, T);
        setWindowAlpha(Byte(A));
        if (Layered) FLayers.BorderLayer->CheckFormAlpha(A, true);
      } else {
        Sleep(1);
      }
    } while (A < T);
    if (Layered && !FLayers.BorderLayer->FullBorder()) FLayers.BorderLayer->SetBoundsWithForm();
  } else if (T != 255) {
    setWindowAlpha(FAlphaBlendValue);
    if (Layered) {
      FLayers.BorderLayer->CheckFormAlpha(FAlphaBlendValue, true);
      if (!FLayers.BorderLayer->FullBorder()) FLayers.BorderLayer->SetBoundsWithForm();
    }
  }
  if (T == 255) {
    setLayeredStyle(false);
    if (Layered) FLayers.BorderLayer->CheckFormAlpha(255, true);
  }
}

void TbsSkinForm::wmSize(TMessage& M) {
  // A minimized window leaves the screen: so does its layered border, until the window comes back.
  if (M.WParam == SIZE_MINIMIZED && FLayers.BorderLayer->FVisible) {
    FLayers.BorderLayer->Hide();
    FBorderLayerHiddenByMinimize = true;
  } else if (M.WParam != SIZE_MINIMIZED && FBorderLayerHiddenByMinimize) {
    FBorderLayerHiddenByMinimize = false;
    if (UseLayeredBorders() && FForm->Visible()) FLayers.BorderLayer->ShowWithForm();
  }
  // While a layered border window sizes the form the frame follows first, then the form's children.
  const bool LayerDrag = FMode.BorderLayerChangeSize;
  if (!LayerDrag) {
    OldWindowProc(M);
    FGeometry.FormWidth = FForm->Width();
    FGeometry.FormHeight = FForm->Height();
  }
  HMagnetized = HMagnetized2 = VMagnetized = VMagnetized2 = false;
  if (!FMode.SkinSupport) {
    if (FSkinnableForm && FForm->HandleAllocated()) {
      SetFormRegion(true);
      SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    }
  } else if (FSD != nullptr && FSkinnableForm && FGeometry.FormWidth >= GetMinWidth() &&
             FGeometry.FormHeight >= GetMinHeight()) {
    if (UseLayeredBorders()) {
      if (LayerDrag)
        FLayers.BorderLayer->SetBoundsWithForm3(FGeometry.FormLeft, FGeometry.FormTop, FGeometry.FormWidth,
                                                FGeometry.FormHeight);
      else
        FLayers.BorderLayer->SetBoundsWithForm();
    }
    UpdateSkinFrame(true);
  }
  if (LayerDrag) OldWindowProc(M);
  if (FAlphaBlend && FAlphaBlendValue != 255 && FIsLayerEnabled && FForm->HandleAllocated()) {
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    FForm->Repaint();
  }
  if (!FLogoBitMap->Empty() && FForm->FormStyle() != fsMDIForm) FForm->Repaint();
}

void TbsSkinForm::wmSizing(TMessage& M) {
  FMode.Sizing = true;
  FMode.BorderLayerChangeSize = false;
  HMagnetized = HMagnetized2 = VMagnetized = VMagnetized2 = false;
  OldWindowProc(M);
  const TRect* R = reinterpret_cast<const TRect*>(M.LParam);
  FGeometry.FormWidth = std::max(R->Width(), GetMinWidth());
  FGeometry.FormHeight = std::max(R->Height(), GetMinHeight());
  if (FSD == nullptr || (FSD->Empty && FSkinnableForm)) {
    SetFormRegion(true);
  } else if (FSkinnableForm && FForm->Width() >= GetMinWidth() && FForm->Height() >= GetMinHeight() &&
             (R->Width() != FForm->Width() || R->Height() != FForm->Height())) {
    if (UseLayeredBorders() && FGeometry.FormTop == FOldFormTop && FGeometry.FormLeft == FOldFormLeft)
      FLayers.BorderLayer->SetBoundsWithForm3(FGeometry.FormLeft, FGeometry.FormTop, FGeometry.FormWidth,
                                              FGeometry.FormHeight);
    FOldFormTop = FGeometry.FormTop;
    FOldFormLeft = FGeometry.FormLeft;
    UpdateSkinFrame(true);
  }
}

void TbsSkinForm::wmWindowPosChanged(TMessage& M) {
  const auto* W = reinterpret_cast<const WINDOWPOS*>(M.LParam);
  if (W == nullptr) return;
  FGeometry.FormLeft = W->x;
  FGeometry.FormTop = W->y;
  if (!FMode.Sizing && FMode.BorderLayerChangeSize) {
    FGeometry.FormWidth = W->cx;
    FGeometry.FormHeight = W->cy;
  }
  const bool Layered = UseLayeredBorders();
  if (FMode.Sizing && Layered && (FForm->Top() != FGeometry.FormTop || FForm->Left() != FGeometry.FormLeft))
    FLayers.BorderLayer->SetBoundsWithForm3(FGeometry.FormLeft, FGeometry.FormTop, FGeometry.FormWidth,
                                            FGeometry.FormHeight);
  if (!FMode.Sizing && !FMode.BorderLayerChangeSize) {
    if (Layered) FLayers.BorderLayer->MoveWithForm2(FGeometry.FormLeft, FGeometry.FormTop);
    FOldFormLeft = FGeometry.FormLeft;
    FOldFormTop = FGeometry.FormTop;
  }
}

bool TbsSkinForm::privateMessage(TMessage& M) {
  auto* Sender = reinterpret_cast<TbsSkinData*>(M.WParam);
  switch (M.Msg) {
    case WM_SKINCHANGING:
      if (Sender != nullptr && Sender == FSD) {
        saveFrameBounds();
        // The layer frame belongs to the skin about to go.
        FLayers.BorderLayer->Hide();
        FLayers.BorderLayer->InitFrame(nullptr, FForm);
        FStopPainting = true;
        FMode.SkinSupport = false;
        FMouseTimer->SetEnabled(false);
        FMorphTimer->SetEnabled(false);
        FAnimateTimer->SetEnabled(false);
        ClearObjects();
        BeforeChangeSkinDataControls(Sender, FForm);
        if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
      }
      return false;
    case WM_SKINCHANGE:
      FStopPainting = false;
      if (Sender != nullptr && Sender == FSD) ApplySkinData();
      ChangeSkinDataControls(Sender, FForm);
      return false;
    case WM_SKINCHANGED:
      if (Sender != nullptr && Sender == FSD && isMDIMain()) FitMaximizedChildren();
      if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
      return false;
    case WM_CLOSESKINMENU:
      SkinMenuClose();
      return false;
    case WM_SKINSTRINGSCHANGED:
      UpdateObjectHints();
      return false;
    case WM_SKINNABLEFORMCHANGED:
      if (!FUseRibbon && Sender != nullptr && Sender == FSD && FForm->FormStyle() != fsMDIChild)
        SetSkinnableForm(FSD->SkinnableForm());
      return false;
    case WM_TRAYRESTORED:
      if (FForm->Tag() == TrayRestoreMark) FForm->SetTag(0);
      return false;
    case WM_LAYEREDBORDERSCHANGED:
      layeredBordersChanged();
      return false;
    case WM_LAYEREDBORDERSUPDATE:
      if (UseLayeredBorders() && FLayers.BorderLayer->FVisible) {
        FLayers.BorderLayer->Hide();
        FLayers.BorderLayer->ShowWithForm();
      }
      return false;
    case CM_QUERYSKINNEDFRAME:
      M.Result = (FSkinnableForm || !FIsVistaOs) ? SkinnedFrameByEngine : SkinnedFrameBySystem;
      return true;
    case CM_BEGINSMARTEFFECT:
      FSmartEffectsShow = true;
      return false;
    case CM_ENDSMARTEFFECT:
      if (FSmartEffectsShow) {
        FSmartEffectsShow = false;
        if ((FForm->Visible() || FForm->Tag() == TrayRestoreMark) && UseLayeredBorders()) {
          if (Application != nullptr) Application->ProcessMessages();
          FLayers.BorderLayer->SetActive(true, false);
          FLayers.BorderLayer->ShowWithFormAnimation();
        }
      }
      return false;
    case CM_PAINTNC:
      if (!FSkinnableForm) return false;
      if (M.WParam != 0) {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        if (frameDrawn() && FMode.SkinSupport)
          PaintNCSkin(DC, true);
        else
          PaintNCDefault(DC, true);
        M.Result = PaintNCDone;
      }
      return true;
    case CN_PAINTNC:
      if (!FSkinnableForm || M.LParam != PaintNCNotifyCode) return false;
      if (M.WParam != 0 && frameDrawn()) {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        if (FMode.SkinSupport)
          PaintNCSkin(DC, true);
        else
          PaintNCDefault(DC, true);
      }
      M.Result = PaintNCNotifyCode;
      return true;
    default:
      return false;
  }
}

void TbsSkinForm::saveFrameBounds() {
  TPoint LayerTopLeft;
  if (FullLayeredBorderVisible(LayerTopLeft)) {
    const TbsCustomFormLayerBorder* L = FLayers.BorderLayer;
    FOldFormBounds =
        Rect(FForm->Left() - L->LeftSize, FForm->Top() - L->TopSize,
             FForm->Width() + L->LeftSize + L->RightSize, FForm->Height() + L->TopSize + L->BottomSize);
    FOldFullBorder = 1;
    return;
  }
  FOldFormBounds = Rect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
  FOldFullBorder = 0;
}

bool TbsSkinForm::fullLayeredBorderShown() const {
  TPoint LayerTopLeft;
  return FMode.SkinSupport && UseLayeredBorders() && FullLayeredBorderVisible(LayerTopLeft);
}

void TbsSkinForm::layeredShowWindow(const TMessage& M) {
  if (!UseLayeredBorders()) return;
  if (M.WParam == 0) {
    FLayers.BorderLayer->Hide();
    return;
  }
  const bool AllAnimate = FSD != nullptr && FSD->AnimationForAllWindows();
  if (FAlphaBlendAnimation || FAlphaBlend || NeedLayeredShow() || AllAnimate) return;
  if (!(FForm->Visible() || FForm->Tag() == TrayRestoreMark)) return;
  if (Application != nullptr) Application->ProcessMessages();
  FLayers.BorderLayer->SetActive(true, false);
  FLayers.BorderLayer->ShowWithForm();
}

void TbsSkinForm::layeredBordersChanged() {
  saveFrameBounds();
  if (UseLayeredBorders()) {
    FLayers.BorderLayer->SetActive(FMode.FormActive, false);
    FLayers.BorderLayer->ShowWithForm();
    RestoreOldFormBounds();
    FForm->Show();
  } else if (FLayers.BorderLayer->FVisible) {
    FLayers.BorderLayer->Hide();
    RestoreOldFormBounds();
  }
  if (FLayers.BorderLayer->FullBorder()) ApplySkinData();
}

// The move/size loop's own messages on a skinnable form: snapping while moving, and the loop's state
// at its start and end.
void TbsSkinForm::moveSizeLoopMessage(TMessage& M) {
  switch (M.Msg) {
    case WM_MOVING: {
      auto* R = reinterpret_cast<TRect*>(M.LParam);
      if (FMode.WindowState == wsMaximized && FForm->FormStyle() != fsMDIChild) {
        // A maximized form cannot be dragged.
        *R = FForm->BoundsRect();
      } else if (FMagnetic) {
        Integer L = R->Left, T = R->Top;
        CheckMagnetic(L, T, FForm->Width(), FForm->Height());
        *R = Bounds(L, T, FForm->Width(), FForm->Height());
      }
      break;
    }
    case WM_ENTERSIZEMOVE: {
      POINT C;
      GetCursorPos(&C);
      FOnMouseDownCoord = C;
      ClearObjectsState();
      FMouseTimer->SetEnabled(false);
      FMode.ActiveObject = FMode.MouseCaptureObject = -1;
      FMode.SizeMove = true;
      FMode.FullDrag = GetFullDragWindows();
      break;
    }
    case WM_EXITSIZEMOVE:
      if (FMode.Sizing &&
          (FForm->Width() != FGeometry.FormWidth || FForm->Height() != FGeometry.FormHeight)) {
        FGeometry.FormLeft = FForm->Left();
        FGeometry.FormTop = FForm->Top();
        FGeometry.FormWidth = FForm->Width();
        FGeometry.FormHeight = FForm->Height();
        UpdateSkinFrame(true);
      }
      FMode.Sizing = FMode.SizeMove = false;
      FMouseTimer->SetEnabled(false);
      FMode.ActiveObject = FMode.OldActiveObject = FMode.MouseCaptureObject = -1;
      if (skinLoaded()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
      if (UseLayeredBorders()) FLayers.BorderLayer->SetBoundsWithForm();
      break;
    default:
      break;
  }
}
