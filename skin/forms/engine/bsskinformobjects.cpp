// The frame objects of the engine: built from the skin or as the six default buttons, mapped onto
// the current frame size, enabled and shown for the border icons, given their hints, and moved by
// the animation and morph timers.
#include "platform/gdi/gdi.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsobjects.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"

namespace {

bool emptyRect(const TRect& R) {
  return R.Width() <= 0 || R.Height() <= 0;
}

// The command of a caption-button object (standard button or button-style animation); false for
// every other object.
bool commandOf(TbsActiveSkinObject* O, TbsStdCommand& C) {
  if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O)) {
    C = S->Command;
    return true;
  }
  if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O); A != nullptr && A->ButtonStyle) {
    C = A->Command;
    return true;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The list

void TbsSkinForm::ClearObjects() {
  ObjectList.clear();
  FMode.ActiveObject = FMode.OldActiveObject = FMode.MouseCaptureObject = -1;
}

void TbsSkinForm::LoadObjects() {
  ClearObjects();
  if (FSD == nullptr) return;
  for (Integer i = 0; i < FSD->ObjectCount(); ++i) {
    TbsDataSkinObject* D = FSD->Objects(i);
    if (dynamic_cast<TbsDataSkinMenuItem*>(D) != nullptr ||
        dynamic_cast<TbsDataSkinMainMenuItem*>(D) != nullptr ||
        dynamic_cast<TbsDataSkinMainMenuBarButton*>(D) != nullptr)
      continue;
    std::unique_ptr<TbsActiveSkinObject> O;
    if (auto* S = dynamic_cast<TbsDataSkinStdButton*>(D))
      O = std::make_unique<TbsSkinStdButtonObject>(this, S);
    else if (auto* B = dynamic_cast<TbsDataSkinButton*>(D))
      O = std::make_unique<TbsSkinButtonObject>(this, B);
    else if (auto* C = dynamic_cast<TbsDataSkinCaption*>(D))
      O = std::make_unique<TbsSkinCaptionObject>(this, C);
    else if (auto* A = dynamic_cast<TbsDataSkinAnimate*>(D))
      O = std::make_unique<TbsSkinAnimateObject>(this, A);
    else if (dynamic_cast<TbsDataUserObject*>(D) != nullptr)
      O = std::make_unique<TbsUserObject>(this, D);
    if (O) ObjectList.push_back(std::move(O));
  }
}

void TbsSkinForm::LoadDefaultObjects() {
  ClearObjects();
  const struct {
    const char* Name;
    TbsStdCommand Command;
  } Defaults[] = {{"closebutton", cmClose},   {"maxbutton", cmMaximize},    {"minbutton", cmMinimize},
                  {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray}};
  for (const auto& D : Defaults) {
    auto B = std::make_unique<TbsSkinStdButtonObject>(this, nullptr);
    B->IDName = D.Name;
    B->Command = D.Command;
    B->SkinRectInAPicture = true;
    B->SkinRect = B->ActiveSkinRect = B->DownRect = Rect(0, 0, 1, 1);
    ObjectList.push_back(std::move(B));
  }
  CheckObjects();
}

Integer TbsSkinForm::GetIndex(const String& AIDName) const {
  for (size_t i = 0; i < ObjectList.size(); ++i)
    if (ObjectList[i]->IDName == AIDName) return Integer(i);
  return -1;
}

void TbsSkinForm::SetEnabled(const String& AIDName, bool Value) {
  const Integer I = GetIndex(AIDName);
  if (I != -1) Objects(I)->Enabled = Value;
}

void TbsSkinForm::UserObjectDraw(const String& AIDName) {
  const Integer I = GetIndex(AIDName);
  if (I == -1) return;
  if (auto* U = dynamic_cast<TbsUserObject*>(Objects(I)); U != nullptr && FForm->HandleAllocated()) {
    HDC DC = GetWindowDC(FForm->Handle());
    TCanvas C;
    C.SetHandle(DC);
    U->Draw(&C, true);
    C.SetHandle(nullptr);
    ReleaseDC(FForm->Handle(), DC);
  }
}

void TbsSkinForm::LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp) {
  const Integer I = GetIndex(AIDName);
  if (I == -1 || AMenu == nullptr) return;
  if (auto* B = dynamic_cast<TbsSkinButtonObject*>(Objects(I))) {
    B->MenuItem = AMenu->Items();
    B->FPopupUp = APopupUp;
  } else if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(Objects(I)); A != nullptr && A->ButtonStyle) {
    A->MenuItem = AMenu->Items();
    A->FPopupUp = APopupUp;
  }
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* AObject) {
  if (AObject == nullptr || !FForm->HandleAllocated()) return;
  if (fullLayeredBorderShown()) {
    FLayers.BorderLayer->UpdateBorder();
    return;
  }
  if ((FForm->FormStyle() == fsMDIChild && FMode.WindowState == wsMaximized) ||
      FForm->BorderStyle() == bsNone)
    return;
  HDC DC = GetWindowDC(FForm->Handle());
  if (DC == nullptr) return;
  TCanvas C;
  C.SetHandle(DC);
  AObject->Draw(&C, true);
  C.SetHandle(nullptr);
  ReleaseDC(FForm->Handle(), DC);
}

void TbsSkinForm::DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect) {
  if (OnPaintEvent) OnPaintEvent(IDName, Canvas, ObjectRect);
}
void TbsSkinForm::DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                                   TMouseButton Button) {
  if (OnMouseDownEvent) OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}
void TbsSkinForm::DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                                 TMouseButton Button) {
  if (OnMouseUpEvent) OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}
void TbsSkinForm::DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect) {
  if (OnMouseMoveEvent) OnMouseMoveEvent(IDName, X, Y, ObjectRect);
}
void TbsSkinForm::DoMouseEnterEvent(const String& IDName) {
  if (OnMouseEnterEvent) OnMouseEnterEvent(IDName);
}
void TbsSkinForm::DoMouseLeaveEvent(const String& IDName) {
  if (OnMouseLeaveEvent) OnMouseLeaveEvent(IDName);
}

// ---------------------------------------------------------------------------------------------
// Geometry

void TbsSkinForm::CalcNewRects() {
  if (!skinLoaded() || FSD->FPicture == nullptr) return;
  if (FGeometry.FormWidth == 0) FGeometry.FormWidth = FForm->Width();
  if (FGeometry.FormHeight == 0) FGeometry.FormHeight = FForm->Height();
  const Integer W = FSD->FPicture->Width(), H = FSD->FPicture->Height();
  const Integer dw = FGeometry.FormWidth - W, dh = FGeometry.FormHeight - H;
  FGeometry.NewLTPoint = FSD->LTPoint;
  FGeometry.NewRTPoint = Point(FSD->RTPoint.X + dw, FSD->RTPoint.Y);
  FGeometry.NewLBPoint = Point(FSD->LBPoint.X, FSD->LBPoint.Y + dh);
  FGeometry.NewRBPoint = Point(FSD->RBPoint.X + dw, FSD->RBPoint.Y + dh);
  FGeometry.NewClRect =
      Rect(FSD->ClRect.Left, FSD->ClRect.Top, FSD->ClRect.Right + dw, FSD->ClRect.Bottom + dh);
  FGeometry.NewCaptionRect = FSD->CaptionRect;
  if (!emptyRect(FSD->CaptionRect)) FGeometry.NewCaptionRect.Right += dw;
  FGeometry.NewButtonsRect = FSD->ButtonsRect;
  FGeometry.NewButtonsInLeft = FSD->CapButtonsInLeft;
  if (!emptyRect(FSD->ButtonsRect) && W / 2 < FSD->ButtonsRect.Left)
    OffsetRect(&FGeometry.NewButtonsRect, dw, 0);
  FGeometry.NewButtonsOffset = FSD->ButtonsOffset;
  FGeometry.NewHitTestLTPoint = FSD->HitTestLTPoint;
  FGeometry.NewHitTestRTPoint = Point(FSD->HitTestRTPoint.X + dw, FSD->HitTestRTPoint.Y);
  FGeometry.NewHitTestLBPoint = Point(FSD->HitTestLBPoint.X, FSD->HitTestLBPoint.Y + dh);
  FGeometry.NewHitTestRBPoint = Point(FSD->HitTestRBPoint.X + dw, FSD->HitTestRBPoint.Y + dh);
  const TRect& M = FSD->MaskRectArea;
  FGeometry.NewMaskRectArea = Rect(M.Left, M.Top, M.Right + dw, M.Bottom + dh);
}

void TbsSkinForm::GetNewObjectRect(const TRect& R, TRect& NewR) const {
  NewR = R;
  if (!skinLoaded() || FSD->FPicture == nullptr) return;
  const Integer W = FSD->FPicture->Width(), H = FSD->FPicture->Height();
  const TRect LT = Rect(0, 0, FSD->LTPoint.X, FSD->LTPoint.Y);
  const TRect RT = Rect(FSD->RTPoint.X, 0, W, FSD->RTPoint.Y);
  const TRect LB = Rect(0, FSD->LBPoint.Y, FSD->LBPoint.X, H);
  const TRect RB = Rect(FSD->RBPoint.X, FSD->RBPoint.Y, W, H);
  const Integer dx = FGeometry.NewRBPoint.X - FSD->RBPoint.X, dy = FGeometry.NewRBPoint.Y - FSD->RBPoint.Y;
  // A corner point lies in a zone with the zone's right and bottom edges excluded.
  auto in = [](const TRect& Z, Integer X, Integer Y) {
    return X >= Z.Left && X < Z.Right && Y >= Z.Top && Y < Z.Bottom;
  };
  const bool TLinLT = in(LT, R.Left, R.Top), TLinRT = in(RT, R.Left, R.Top), TLinLB = in(LB, R.Left, R.Top);
  const bool BRinLT = in(LT, R.Right, R.Bottom), BRinRT = in(RT, R.Right, R.Bottom),
             BRinLB = in(LB, R.Right, R.Bottom), BRinRB = in(RB, R.Right, R.Bottom);
  const bool TLinRB = in(RB, R.Left, R.Top);
  if (TLinLT && BRinLT) return;
  if (TLinRT && BRinRT) {
    OffsetRect(&NewR, dx, 0);
  } else if (TLinLB && BRinLB) {
    OffsetRect(&NewR, 0, dy);
  } else if (TLinRB && BRinRB) {
    OffsetRect(&NewR, dx, dy);
  } else if (TLinLT && BRinRB) {
    NewR.Right += dx;
    NewR.Bottom += dy;
  } else if (TLinLT && BRinRT) {
    NewR.Right += dx;
  } else if (TLinRT && BRinRB) {
    OffsetRect(&NewR, dx, 0);
    NewR.Bottom += dy;
  } else if (TLinLT && BRinLB) {
    NewR.Bottom += dy;
  } else if (TLinLB && BRinRB) {
    OffsetRect(&NewR, 0, dy);
    NewR.Right += dx;
  }
}

void TbsSkinForm::ArrangeObjects() {
  // A full layered border lays the objects out on its own top image.
  if (UseFullLayeredBorder()) return;
  for (const auto& O : ObjectList)
    if (!O->SkinRectInAPicture) GetNewObjectRect(O->SkinRect, O->ObjectRect);
  TRect Area;
  if (!emptyRect(FGeometry.NewButtonsRect))
    Area = FGeometry.NewButtonsRect;
  else if (!emptyRect(FGeometry.NewCaptionRect))
    Area = FGeometry.NewCaptionRect;
  else
    return;
  const bool NoButtonsRect = emptyRect(FGeometry.NewButtonsRect);
  auto sizeOf = [this](TbsActiveSkinObject* O) {
    if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O);
        S != nullptr && S->Command == cmSysMenu && S->SkinRectInAPicture && FShowIcon) {
      TSize Z;
      GetIconSize(Z.cx, Z.cy);
      return Z;
    }
    return TSize{O->SkinRect.Width(), O->SkinRect.Height()};
  };
  auto candidate = [this](TbsStdCommand C) -> TbsActiveSkinObject* {
    for (const auto& O : ObjectList) {
      TbsStdCommand OC;
      if (O->Visible && O->SkinRectInAPicture && commandOf(O.get(), OC) && OC == C) return O.get();
    }
    return nullptr;
  };
  std::vector<TbsActiveSkinObject*> Order;
  for (TbsStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
    if (auto* O = candidate(C)) Order.push_back(O);
  for (const auto& O : ObjectList) {
    TbsStdCommand OC;
    if (O->Visible && O->SkinRectInAPicture && commandOf(O.get(), OC) && OC == cmDefault)
      Order.push_back(O.get());
  }
  TbsSkinCaptionObject* Caption = nullptr;
  for (const auto& O : ObjectList)
    if ((Caption = dynamic_cast<TbsSkinCaptionObject*>(O.get())) != nullptr) break;
  Integer Y = Area.Top;
  TbsActiveSkinObject* SysMenu = candidate(cmSysMenu);
  if (!FGeometry.NewButtonsInLeft) {
    Integer X = Area.Right;
    for (TbsActiveSkinObject* O : Order) {
      const TSize Z = sizeOf(O);
      O->ObjectRect = Rect(X - Z.cx, Y, X, Y + Z.cy);
      X -= Z.cx + FGeometry.NewButtonsOffset;
    }
    if (NoButtonsRect && Caption != nullptr) Caption->ObjectRect.Right = X + FGeometry.NewButtonsOffset;
    X = FGeometry.NewCaptionRect.Left;
    Y = FGeometry.NewCaptionRect.Top;
    if (SysMenu != nullptr) {
      const TSize Z = sizeOf(SysMenu);
      const Integer T = FGeometry.NewCaptionRect.Top + FGeometry.NewCaptionRect.Height() / 2 - Z.cy / 2;
      SysMenu->ObjectRect = Rect(X, T, X + Z.cx, T + Z.cy);
      X += Z.cx + FGeometry.NewButtonsOffset;
      if (Caption != nullptr) Caption->ObjectRect.Left = X - FGeometry.NewButtonsOffset;
    }
  } else {
    Integer X = Area.Left;
    if (NoButtonsRect && SysMenu != nullptr) Order.push_back(SysMenu);
    for (TbsActiveSkinObject* O : Order) {
      const TSize Z = sizeOf(O);
      O->ObjectRect = Rect(X, Y, X + Z.cx, Y + Z.cy);
      X += Z.cx + FGeometry.NewButtonsOffset;
    }
    if (NoButtonsRect && Caption != nullptr) Caption->ObjectRect.Left = X + FGeometry.NewButtonsOffset;
  }
}

void TbsSkinForm::UpdateSkinFrame(bool AArrange) {
  if (designing() || !skinLoaded()) return;
  if (FSkinnableForm) {
    CalcNewRects();
    if (AArrange) ArrangeObjects();
  }
  HRGN Before = FRgn;
  SetFormRegion(AArrange);
  if (FRgn == Before && FSkinnableForm && FForm->BorderStyle() != bsNone && FForm->HandleAllocated())
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
  if (FMode.SkinSupport && FSD->StretchEffect) {
    FForm->Repaint();
    CheckControlsBackground();
  }
}

// ---------------------------------------------------------------------------------------------
// State from the border icons, hints, activation

void TbsSkinForm::CheckObjects() {
  if (FHideCaptionButtons) {
    for (const auto& O : ObjectList) {
      if (dynamic_cast<TbsSkinAnimateObject*>(O.get()) == nullptr &&
          dynamic_cast<TbsSkinStdButtonObject*>(O.get()) == nullptr)
        continue;
      O->Enabled = false;
      O->Visible = !O->SkinRectInAPicture;
    }
    UpdateObjectHints();
    return;
  }
  const bool DialogIcons = FBorderIcons.Empty() || FBorderIcons == TbsBorderIcons{biSystemMenu};
  const Integer DialogClose = GetIndex("dialogclosebutton");
  for (const auto& O : ObjectList) {
    TbsStdCommand C;
    if (!commandOf(O.get(), C)) continue;
    switch (C) {
      case cmMaximize:
      case cmMinimize:
      case cmRollUp:
      case cmMinimizeToTray:
      case cmSysMenu: {
        if (C == cmSysMenu)
          O->Enabled = FBorderIcons.Contains(biSystemMenu) && !FDisableSystemMenu;
        else
          O->Enabled = FBorderIcons.Contains(C == cmMaximize   ? biMaximize
                                             : C == cmMinimize ? biMinimize
                                             : C == cmRollUp   ? biRollUp
                                                               : biMinimizeToTray);
        O->Visible = O->SkinRectInAPicture ? O->Enabled : true;
        break;
      }
      case cmDefault: {
        bool V = false;
        if (OnActivateCustomObject) OnActivateCustomObject(O->IDName, V);
        O->Visible = V;
        break;
      }
      case cmClose: {
        if (dynamic_cast<TbsSkinStdButtonObject*>(O.get()) == nullptr || DialogClose == -1) break;
        const bool IsDialog = O.get() == Objects(DialogClose);
        if (DialogIcons) {
          O->Enabled = O->Visible = IsDialog;
        } else if (IsDialog) {
          O->Enabled = O->Visible = false;
        }
        break;
      }
    }
  }
  UpdateObjectHints();
}

void TbsSkinForm::UpdateObjectHints() {
  if (!FUseDefaultObjectHint || FSD == nullptr) return;
  TbsResourceStrData* RS = FSD->ResourceStrData();
  auto text = [RS](const char* Key, const char* Default) {
    return RS != nullptr ? RS->GetResStr(Key) : String(Default);
  };
  for (const auto& O : ObjectList) {
    TbsStdCommand C;
    if (!commandOf(O.get(), C)) continue;
    switch (C) {
      case cmClose:
        O->Hint = text("CLOSEBUTTON_HINT", "Close");
        break;
      case cmMaximize:
        O->Hint = text("MAXBUTTON_HINT", "Maximize");
        break;
      case cmMinimize:
        O->Hint = text("MINBUTTON_HINT", "Minimize");
        break;
      case cmSysMenu:
        O->Hint = text("MENUBUTTON_HINT", "System menu");
        break;
      case cmRollUp:
        O->Hint = text("ROLLUPBUTTON_HINT", "Roll Up");
        break;
      case cmMinimizeToTray:
        O->Hint = text("TRAYBUTTON_HINT", "Minimize to Tray");
        break;
      case cmDefault:
        break;
    }
    const String Restore = text("RESTORE_HINT", "Restore");
    if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O.get())) {
      S->FTempHint = S->Hint;
      S->RestoreHint = Restore;
    } else if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get())) {
      A->FTempHint = A->Hint;
      A->RestoreHint = Restore;
    }
  }
}

void TbsSkinForm::ClearObjectsState() {
  for (const auto& O : ObjectList) {
    if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get())) {
      A->FMouseIn = false;
      A->Active = false;
      A->FFrame = 1;
    } else if (dynamic_cast<TbsSkinCaptionObject*>(O.get()) == nullptr) {
      O->Active = false;
      O->FMouseIn = false;
      O->FMorphKf = 0;
    }
  }
}

void TbsSkinForm::CheckFormActive(bool AAnimate) {
  const bool A = GetFormActive();
  if (!A && FQuickButtons != nullptr)
    for (Integer i = 0; i < FQuickButtons->Count(); ++i) {
      FQuickButtons->Items(i)->Active = false;
      FQuickButtons->Items(i)->Down = false;
    }
  for (const auto& O : ObjectList) {
    auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
    if (C == nullptr || C->Active == A) continue;
    C->Active = A;
    if (AAnimate) {
      if (C->EnableAnimation()) {
        C->FIncTime = 25;
        C->CurrentFrame = A ? 1 : (C->InActiveAnimation ? C->FrameCount : 0);
        FAnimateTimer->SetEnabled(true);
      }
      if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
      if (C->EnableMorphing()) FMorphTimer->SetEnabled(true);
    } else if (C->EnableMorphing()) {
      C->FMorphKf = A ? 1 : 0;
    }
    break;
  }
  if (A) {
    if (OnActivate) OnActivate(this);
  } else if (OnDeActivate) {
    OnDeActivate(this);
  }
}

void TbsSkinForm::animateTimerProc(TObject*) {
  bool Running = false;
  for (size_t i = 0; i < ObjectList.size(); ++i) {
    TbsActiveSkinObject* O = ObjectList[i].get();
    if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) {
      if (A->Active && (!A->FDown || emptyRect(A->DownSkinRect))) {
        A->ChangeFrame();
        Running = true;
      }
    } else if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O); C != nullptr && C->EnableAnimation()) {
      if (C->FIncTime < C->AnimateInterval) {
        C->FIncTime += 25;
        Running = true;
      } else if (C->Active && C->CurrentFrame <= C->FrameCount) {
        ++C->CurrentFrame;
        DrawSkinObject(C);
        C->FIncTime = 25;
        Running = true;
      } else if (!C->Active && C->CurrentFrame > 0) {
        --C->CurrentFrame;
        DrawSkinObject(C);
        C->FIncTime = 25;
        Running = true;
      }
    }
  }
  if (!Running) FAnimateTimer->SetEnabled(false);
}

void TbsSkinForm::morphTimerProc(TObject*) {
  bool Running = false;
  for (const auto& O : ObjectList) {
    if (O->EnableMorphing() && O->CanMorphing()) {
      O->DoMorphing();
      Running = true;
    }
  }
  if (!Running) FMorphTimer->SetEnabled(false);
}
