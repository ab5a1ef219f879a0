#include "skin/forms/engine/bsskinform.h"

#include "platform/gdi/gdi.h"
#include "platform/ui/graphics/colors.h"
#include "platform/win/win.h"
#include "skin/core/bsdraw.h"
#include "skin/forms/frame/bsquickbuttons.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"
#include "skin/forms/frame/bsskinobjects.h"

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner) {
  FForm = dynamic_cast<TForm*>(AOwner);
  FQuickButtons = std::make_unique<TbsQuickButtonItems>(this);
  FDefCaptionFont = std::make_unique<TFont>();
  FDefCaptionFont->SetName("Tahoma");
  FDefCaptionFont->SetStyle(TFontStyles{fsBold});
  FDefCaptionFont->SetHeight(13);
  FDefCaptionFont->SetColor(clBtnText);
  FLayerManager = new TbsLayerManager(this);
  FMenuLayerManager = new TbsLayerManager(this);
  AnimateTimer = new TTimer(this);
  AnimateTimer->SetEnabled(false);
  AnimateTimer->SetInterval(25);
  AnimateTimer->OnTimer = [this](TObject* Sender) { AnimateTimerProc(Sender); };
  MorphTimer = new TTimer(this);
  MorphTimer->SetEnabled(false);
  MorphTimer->SetInterval(25);
  MorphTimer->OnTimer = [this](TObject* Sender) { MorphTimerProc(Sender); };
  ObjectList = std::make_unique<TList>();
}

TbsSkinForm::~TbsSkinForm() {
  for (Integer i = 0; i < ObjectList->Count(); ++i) delete ObjectAt(i);
  ObjectList->Clear();
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FMSD) FMSD = nullptr;
  if (AComponent == FQuickImageList) FQuickImageList = nullptr;
}

void TbsSkinForm::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
  FSkinSupport = FSD && !FSD->Empty;
}

bool TbsSkinForm::GetFormActive() {
  if (PreviewMode) return true;
  if (!FForm) return FFormActive;
  if (FForm->FormStyle() == fsMDIChild || FForm->FormStyle() == fsMDIForm) return FFormActive;
  return FForm->Active();
}

bool TbsSkinForm::UseLayeredBorders() {
  // No layered border windows exist for this engine yet.
  return FBorderLayer != nullptr && FSD && !FSD->Empty && FSD->ShowLayeredBorders();
}

bool TbsSkinForm::UseFullLayeredBorder() { return false; }

bool TbsSkinForm::FullLayeredBorderVisible(TPoint&) { return false; }

Integer TbsSkinForm::GetDefCaptionHeight() {
  if (FForm && (FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin)) return 15;
  return 19;
}

TbsActiveSkinObject* TbsSkinForm::ObjectAt(Integer Index) const {
  return static_cast<TbsActiveSkinObject*>(ObjectList->Items(Index));
}

Integer TbsSkinForm::ObjectCount() const { return ObjectList->Count(); }

Integer TbsSkinForm::GetIndex(const String& AIDName) {
  for (Integer i = 0; i < ObjectCount(); ++i)
    if (ObjectAt(i)->IDName == AIDName) return i;
  return -1;
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* AObject) {
  if (!FForm || !AObject) return;
  if (UseLayeredBorders()) return;
  if (FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized) return;
  if (FForm->BorderStyle() == bsNone || !FForm->HandleAllocated()) return;
  HWND Wnd = FForm->Handle();
  HDC DC = GetWindowDC(Wnd);
  if (!DC) return;
  {
    TCanvas Cnvs;
    Cnvs.SetHandle(DC);
    AObject->Draw(&Cnvs, true);
    Cnvs.SetHandle(nullptr);
  }
  ReleaseDC(Wnd, DC);
}

void TbsSkinForm::TestActive(Integer X, Integer Y, bool AMouseIn) {
  if (ObjectCount() == 0 || !GetFormActive() || PreviewMode) return;
  if (FForm && (FForm->BorderStyle() == bsNone || (FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized)))
    return;
  OldActiveObject = ActiveObject;
  Integer Found = -1;
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsActiveSkinObject* O = ObjectAt(i);
    if (O->Enabled && O->Visible && PtInRect(&O->ObjectRect, TPoint{X, Y}) &&
        O->PointInMask(X - O->ObjectRect.Left, Y - O->ObjectRect.Top)) {
      Found = i;
      break;
    }
  }
  ActiveObject = AMouseIn ? Found : -1;
  if (MouseCaptureObject != -1 && MouseCaptureObject != ActiveObject) ActiveObject = -1;
  if (ActiveObject >= ObjectCount()) ActiveObject = -1;
  if (ActiveObject == OldActiveObject) return;
  if (OldActiveObject >= 0 && OldActiveObject < ObjectCount()) {
    TbsActiveSkinObject* O = ObjectAt(OldActiveObject);
    if (O->Enabled && O->Visible) O->MouseLeave();
  }
  if (ActiveObject >= 0) {
    TbsActiveSkinObject* O = ObjectAt(ActiveObject);
    if (O->Enabled && O->Visible) O->MouseEnter();
  }
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

void TbsSkinForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  FWindowStateInit = Value;
  UpDateFormNC();
}

void TbsSkinForm::SetRollUpState(bool Value) {
  if (FRollUpState == Value) return;
  FRollUpState = Value;
  if (OnChangeRollUpState) OnChangeRollUpState(this);
  UpDateFormNC();
}

void TbsSkinForm::MinimizeToTray() {
  if (FForm) FForm->Hide();
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

TMenuItem* TbsSkinForm::GetSystemMenuItems() { return nullptr; }

void TbsSkinForm::SkinMenuOpen() {}

void TbsSkinForm::UpDateFormNC() {
  if (FForm && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetShowIcon(bool Value) {
  FShowIcon = Value;
  UpDateFormNC();
}

TPoint TbsSkinForm::GetIconSize() { return TPoint{16, 16}; }

void TbsSkinForm::DrawFormIcon(TCanvas* Cnvs, Integer X, Integer Y) {
  if (FForm && FForm->Icon() && !FForm->Icon()->Empty()) Cnvs->Draw(X, Y, FForm->Icon());
}

bool TbsSkinForm::CanShowAppMenuCaption() { return false; }

Integer TbsSkinForm::GetAppMenuCaptionOffsetOf() { return 0; }

bool TbsSkinForm::GetAutoRenderingInActiveImage() {
  return FSD && !FSD->Empty && FSD->AutoRenderingInActiveImage;
}

void TbsSkinForm::AnimateTimerProc(TObject*) {
  bool Keep = false;
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsActiveSkinObject* O = ObjectAt(i);
    if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) {
      if (A->Active && (!A->FDown || IsEmptyRect(A->DownSkinRect))) {
        A->ChangeFrame();
        Keep = true;
      }
    } else if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O)) {
      if (!C->EnableAnimation()) continue;
      if (C->FIncTime < C->AnimateInterval) {
        C->FIncTime += 25;
        Keep = true;
      } else if (C->Active && C->CurrentFrame <= C->FrameCount) {
        C->CurrentFrame += 1;
        DrawSkinObject(C);
        C->FIncTime = 25;
        Keep = true;
      } else if (!C->Active && C->CurrentFrame > 0) {
        C->CurrentFrame -= 1;
        DrawSkinObject(C);
        C->FIncTime = 25;
        Keep = true;
      }
    }
  }
  if (!Keep) AnimateTimer->SetEnabled(false);
}

void TbsSkinForm::MorphTimerProc(TObject*) {
  bool Keep = false;
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsActiveSkinObject* O = ObjectAt(i);
    if (O->EnableMorphing() && O->CanMorphing()) {
      O->DoMorphing();
      Keep = true;
    }
  }
  if (!Keep) MorphTimer->SetEnabled(false);
}
