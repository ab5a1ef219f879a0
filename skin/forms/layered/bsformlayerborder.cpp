#include "skin/forms/layered/bsformlayerborder.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/clock.h"
#include "platform/ui/core/application.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/core/bsdwm.h"
#include "skin/core/bslayered.h"
#include "skin/core/bsregions.h"
#include "skin/core/bsskinrecordsform.h"
#include "skin/core/bssystem.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"

namespace {

// Pixels of S in Src copied into D of Dst, nearest pixel where the sizes differ; alpha is copied as
// it stands (no blending: the images are composed, not drawn over each other).
void copyRect(TbsBitmap* Dst, const TRect& D, const TbsBitmap* Src, const TRect& S) {
  const Integer dw = D.Width(), dh = D.Height(), sw = S.Width(), sh = S.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || Dst->Empty() || Src->Empty()) return;
  for (Integer y = 0; y < dh; ++y) {
    const Integer ty = D.Top + y;
    const Integer fy = S.Top + Integer(int64_t(y) * sh / dh);
    if (ty < 0 || ty >= Dst->Height() || fy < 0 || fy >= Src->Height()) continue;
    TbsColor* to = Dst->GetRowPtr(ty);
    const TbsColor* from = Src->GetRowPtr(fy);
    for (Integer x = 0; x < dw; ++x) {
      const Integer tx = D.Left + x;
      const Integer fx = S.Left + Integer(int64_t(x) * sw / dw);
      if (tx < 0 || tx >= Dst->Width() || fx < 0 || fx >= Src->Width()) continue;
      to[tx] = from[fx];
    }
  }
}

std::unique_ptr<TbsBitmap> newImage(Integer W, Integer H) {
  auto B = std::make_unique<TbsBitmap>();
  if (W > 0 && H > 0) B->SetSize(W, H);
  return B;
}

Integer imageWidth(const std::unique_ptr<TbsBitmap>& B) {
  return B ? B->Width() : 0;
}
Integer imageHeight(const std::unique_ptr<TbsBitmap>& B) {
  return B ? B->Height() : 0;
}

bool windowShown(TbsFormLayerWindow* W) {
  return W != nullptr && W->HandleAllocated() && IsWindowVisible(W->Handle());
}

void deleteRgn(HRGN& R) {
  if (R != nullptr) DeleteObject(R);
  R = nullptr;
}

// The black pixels of a rectangle of the mask picture as a region at (OffsetX, 0).
HRGN cornerRegion(TBitmap* Mask, const TRect& R, Integer OffsetX) {
  if (R.Width() <= 0 || R.Height() <= 0) return nullptr;
  TBitmap Corner;
  Corner.SetPixelFormat(pf24bit);
  Corner.SetSize(R.Width(), R.Height());
  Corner.Canvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), Mask->Canvas(), R);
  HRGN Rgn = nullptr;
  RegionFromMask(Rgn, &Corner);
  if (Rgn != nullptr && OffsetX != 0) OffsetRgn(Rgn, OffsetX, 0);
  return Rgn;
}

HRGN rectUnion(const TRect& R, HRGN A, HRGN B, Integer OffsetB) {
  HRGN Rgn = CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom);
  if (A != nullptr) CombineRgn(Rgn, Rgn, A, RGN_OR);
  if (B != nullptr) {
    HRGN C = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(C, B, nullptr, RGN_COPY);
    OffsetRgn(C, OffsetB, 0);
    CombineRgn(Rgn, Rgn, C, RGN_OR);
    DeleteObject(C);
  }
  return Rgn;
}

}  // namespace

TbsCustomFormLayerBorder* MakeFormLayerBorder(TbsSkinForm* Engine) {
  return new TbsFormLayerBorder(Engine);
}

bool IsFormLayerWindow(const TCustomForm* F) {
  return dynamic_cast<const TbsFormLayerWindow*>(F) != nullptr;
}

TbsFormLayerBorder::TbsFormLayerBorder(TbsSkinForm* AOwner) : TbsCustomFormLayerBorder(AOwner), BSF(AOwner) {
  MouseTimer = new TTimer(this);
  MouseTimer->SetEnabled(false);
  MouseTimer->SetInterval(500);
  MouseTimer->OnTimer = [this](TObject* Sender) { MouseTimerProc(Sender); };
}

bool TbsFormLayerBorder::TopWindowPos(TPoint& P) const {
  if (TopBorder == nullptr) return false;
  P = Point(TopBorder->Left(), TopBorder->Top());
  return true;
}

TbsFormLayerBorder::~TbsFormLayerBorder() {
  freeImages();
  freeWindows(false);
  delete MouseTimer;
  MouseTimer = nullptr;
  deleteRegions();
  deleteRgn(DataRgn1);
  deleteRgn(DataRgn2);
  deleteRgn(DataRgn3);
  deleteRgn(DataRgn4);
}

bool TbsFormLayerBorder::FullBorder() const {
  return FData != nullptr && FData->FullBorder;
}

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, TForm* AForm) {
  FForm = AForm;
  FSD = ASkinData;
  FData = (ASkinData == nullptr || ASkinData->Empty) ? nullptr : ASkinData->LayerFrame.get();
  if (FData != nullptr && FData->PictureIndex == -1) FData = nullptr;
  // A layer frame whose picture could not be prepared cannot be shown either.
  if (FData != nullptr && (FData->FSourceBitmap == nullptr || FData->FSourceBitmap->Empty())) FData = nullptr;
  if (FData == nullptr) return;
  FIsAeroEnabled = IsVistaOrLater() && IsDwmCompositionEnabled() && !IsWindows8OrLater();
  FCurrentAlphaBlendValue = FData->AlphaBlendValue;
  FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
  const TRect& B = FData->BorderRect;
  const TRect& C = FData->ClRect;
  if (B.Width() <= 0 || B.Height() <= 0) {
    LeftSize = TopSize = RightSize = BottomSize = 0;
  } else {
    LeftSize = C.Left - B.Left;
    TopSize = C.Top - B.Top;
    RightSize = B.Right - C.Right;
    BottomSize = B.Bottom - C.Bottom;
    HitTopLeftX = FData->HitTestLTPoint.X - B.Left;
    HitTopLeftY = FData->HitTestLTPoint.Y - B.Top;
    HitTopRightX = B.Right - FData->HitTestRTPoint.X;
    HitTopRightY = FData->HitTestRTPoint.Y - B.Top;
    HitBottomLeftX = FData->HitTestLBPoint.X - B.Left;
    HitBottomLeftY = B.Bottom - FData->HitTestLBPoint.Y;
    HitBottomRightX = B.Right - FData->HitTestRBPoint.X;
    HitBottomRightY = B.Bottom - FData->HitTestRBPoint.Y;
  }
  if (FData->FullBorder) {
    if (BSF != nullptr) BSF->UpdateIconAlpha();
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
  }
  CreateBlurMaskRegions();
}

// ---------------------------------------------------------------------------------------------
// Images

void TbsFormLayerBorder::freeImages() {
  LeftImage.reset();
  TopImage.reset();
  RightImage.reset();
  BottomImage.reset();
}

// A window may be the one whose handler hides the border (a double click that maximizes, a click
// that closes the form): it is hidden now and freed after that handler returns.
void TbsFormLayerBorder::freeWindows(bool ADeferred) {
  for (TbsFormLayerWindow** W : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder}) {
    TbsFormLayerWindow* Old = *W;
    *W = nullptr;
    if (Old == nullptr) continue;
    if (!ADeferred) {
      delete Old;
      continue;
    }
    if (Old->HandleAllocated()) ShowWindow(Old->Handle(), SW_HIDE);
    RemoveComponent(Old);
    WinDeferAction([Old] { delete Old; });
  }
}

void TbsFormLayerBorder::deleteRegions() {
  deleteRgn(TopRgn);
  deleteRgn(BottomRgn);
  deleteRgn(LeftRgn);
  deleteRgn(RightRgn);
}

bool TbsFormLayerBorder::blurApplies() const {
  return FIsAeroEnabled && FSD != nullptr && FSD->AeroBlurEnabled() && BSF != nullptr && !BSF->AlphaBlend();
}

void TbsFormLayerBorder::makeSide(std::unique_ptr<TbsBitmap>& Image, TbsBitmap* Src, Integer Width,
                                  Integer SrcLeft, Integer TopH, Integer BottomH, Integer AHeight) {
  const Integer hl = AHeight - TopH - BottomH;
  Image = newImage(Width, hl > 0 ? hl : 0);
  if (Image->Empty()) return;
  const Integer srcBottom = Src->Height() - BottomH;
  const Integer s = srcBottom - TopH;
  if (FData->FullStretch) {
    copyRect(Image.get(), Rect(0, 0, Width, hl), Src, Rect(SrcLeft, TopH, SrcLeft + Width, srcBottom));
  } else if (s > 0) {
    for (Integer k = 0; k <= hl / s; ++k) {
      const Integer y = k * s;
      const Integer rows = std::min(s, hl - y);
      if (rows <= 0) break;
      copyRect(Image.get(), Rect(0, y, Width, y + rows), Src,
               Rect(SrcLeft, TopH, SrcLeft + Width, TopH + rows));
    }
  }
  Image->CheckingAlphaBlend();
}

void TbsFormLayerBorder::CreateImages(Integer AWidth, Integer AHeight) {
  if (FData == nullptr || BSF == nullptr) return;
  TbsBitmap* Src =
      (FActive || FData->FSourceInActiveBitMap == nullptr || FData->FSourceInActiveBitMap->Empty())
          ? FData->FSourceBitmap.get()
          : FData->FSourceInActiveBitMap.get();
  freeImages();
  if (Src == nullptr || Src->Empty()) return;
  const Integer srcW = Src->Width(), srcH = Src->Height();
  const TPoint &LT = FData->LTPoint, &RT = FData->RTPoint, &LB = FData->LBPoint, &RB = FData->RBPoint;
  // Top
  const Integer th = std::max(LT.Y, RT.Y);
  TopImage = newImage(AWidth, th);
  copyRect(TopImage.get(), Rect(0, 0, LT.X, th), Src, Rect(0, 0, LT.X, th));
  copyRect(TopImage.get(), Rect(AWidth + RT.X - srcW, 0, AWidth, th), Src, Rect(RT.X, 0, srcW, th));
  copyRect(TopImage.get(), Rect(LT.X, 0, AWidth + RT.X - srcW, th), Src, Rect(LT.X, 0, RT.X, th));
  TopImage->CheckingAlphaBlend();
  if (FData->FullBorder && !TopImage->Empty()) {
    ArrangeCaptionObjects();
    for (Integer i = 0; i < BSF->ObjectCount(); ++i) {
      TbsActiveSkinObject* O = BSF->Objects(i);
      if (O->Visible) O->DrawAlpha(TopImage->Canvas(), TopImage.get());
    }
  }
  // Bottom: a frame shorter than its top and bottom parts loses the bottom part's upper rows.
  const Integer hb = srcH - std::min(LB.Y, RB.Y);
  Integer hc = AHeight < hb + th ? AHeight - th : hb;
  if (hc < 0) hc = 0;
  BottomImage = newImage(AWidth, hc);
  const Integer sy = srcH - hc;
  copyRect(BottomImage.get(), Rect(0, 0, LB.X, hc), Src, Rect(0, sy, LB.X, srcH));
  copyRect(BottomImage.get(), Rect(AWidth + RB.X - srcW, 0, AWidth, hc), Src, Rect(RB.X, sy, srcW, srcH));
  copyRect(BottomImage.get(), Rect(LB.X, 0, AWidth + RB.X - srcW, hc), Src, Rect(LB.X, sy, RB.X, srcH));
  BottomImage->CheckingAlphaBlend();
  // Sides
  makeSide(LeftImage, Src, FData->ClRect.Left, 0, th, hc, AHeight);
  const Integer rw = srcW - FData->ClRect.Right;
  makeSide(RightImage, Src, rw, srcW - rw, th, hc, AHeight);
  for (auto* I : {TopImage.get(), BottomImage.get(), LeftImage.get(), RightImage.get()})
    if (!I->Empty()) I->CheckRGBA();
  if (blurApplies()) CreateBlurRegions();
}

void TbsFormLayerBorder::ArrangeCaptionObjects() {
  const Integer srcW = FData->FSourceBitmap->Width();
  const Integer d = TopImage->Width() - srcW;
  TRect CR = FData->CaptionRect;
  CR.Right += d;
  const Integer Offset = FSD != nullptr ? FSD->ButtonsOffset : 0;
  Integer x, y;
  if (FData->ButtonsRect.Width() <= 0 || FData->ButtonsRect.Height() <= 0) {
    x = CR.Right;
    y = FData->ButtonsTopOffset != 0 ? FData->ButtonsTopOffset : CR.Top;
  } else {
    x = FData->ButtonsRect.Right + d;
    y = FData->ButtonsRect.Top;
  }
  auto commandOf = [](TbsActiveSkinObject* O, TbsStdCommand& C) {
    if (auto* B = dynamic_cast<TbsSkinStdButtonObject*>(O)) {
      C = B->Command;
      return true;
    }
    if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) {
      C = A->Command;
      return true;
    }
    return false;
  };
  auto find = [&](TbsStdCommand Cmd) -> TbsActiveSkinObject* {
    for (Integer i = 0; i < BSF->ObjectCount(); ++i) {
      TbsActiveSkinObject* O = BSF->Objects(i);
      TbsStdCommand C;
      if (commandOf(O, C) && O->Visible && O->SkinRectInAPicture && C == Cmd) return O;
    }
    return nullptr;
  };
  for (TbsStdCommand Cmd : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
    auto* B = dynamic_cast<TbsSkinStdButtonObject*>(find(Cmd));
    if (B == nullptr) continue;
    const Integer w = B->SkinRect.Width(), h = B->SkinRect.Height();
    B->ObjectRect = Rect(x - w, y, x, y + h);
    x -= Offset + w;
  }
  TbsSkinCaptionObject* Caption = nullptr;
  for (Integer i = 0; i < BSF->ObjectCount() && Caption == nullptr; ++i)
    Caption = dynamic_cast<TbsSkinCaptionObject*>(BSF->Objects(i));
  if (Caption != nullptr) Caption->ObjectRect = Rect(CR.Left, CR.Top, x - Offset, CR.Bottom);
  auto* Sys = dynamic_cast<TbsSkinStdButtonObject*>(find(cmSysMenu));
  if (Sys == nullptr) return;
  Integer w = Sys->SkinRect.Width(), h = Sys->SkinRect.Height();
  if (BSF->ShowIcon()) {
    w = GetSystemMetrics(SM_CXSMICON);
    h = GetSystemMetrics(SM_CYSMICON);
    if (w == 0) w = GetSystemMetrics(SM_CXSIZE);
    if (h == 0) h = GetSystemMetrics(SM_CYSIZE);
  }
  const TRect& SR = FData->SysMenuButtonRect;
  if (SR.Width() <= 0 || SR.Height() <= 0) {
    x = CR.Left;
    Sys->ObjectRect = Rect(x, y, x + w, y + h);
    x += Offset + w;
    const Integer top = (BSF->ShowIcon() || FData->SysButtonTopOffset == 0) ? CR.Top + CR.Height() / 2 - h / 2
                                                                            : FData->SysButtonTopOffset;
    Sys->ObjectRect.Top = top;
    Sys->ObjectRect.Bottom = top + h;
    if (Caption != nullptr) Caption->ObjectRect.Left = x;
  } else {
    x = SR.Left;
    Sys->ObjectRect = Rect(x, SR.Top, x + w, SR.Top + h);
    const Integer top = SR.Top + SR.Height() / 2 - h / 2;
    Sys->ObjectRect.Top = top;
    Sys->ObjectRect.Bottom = top + h;
  }
}

void TbsFormLayerBorder::CreateBlurMaskRegions() {
  deleteRgn(DataRgn1);
  deleteRgn(DataRgn2);
  deleteRgn(DataRgn3);
  deleteRgn(DataRgn4);
  if (FData == nullptr || FData->BlurMaskPictureIndex < 0 || FSD == nullptr) return;
  if (FData->BlurMaskPictureIndex >= FSD->PictureCount()) return;
  auto* Mask = static_cast<TBitmap*>(FSD->FActivePictures->Items(FData->BlurMaskPictureIndex));
  if (Mask == nullptr || Mask->Empty()) return;
  const Integer mw = Mask->Width(), mh = Mask->Height();
  const TPoint &LT = FData->LTPoint, &RT = FData->RTPoint, &LB = FData->LBPoint, &RB = FData->RBPoint;
  DataRgn1 = cornerRegion(Mask, Rect(0, 0, LT.X, LT.Y), 0);
  DataRgn2 = cornerRegion(Mask, Rect(RT.X, 0, mw, RT.Y), RT.X);
  DataRgn3 = cornerRegion(Mask, Rect(0, LB.Y, LB.X, mh), 0);
  DataRgn4 = cornerRegion(Mask, Rect(RB.X, RB.Y, mw, mh), RB.X);
}

void TbsFormLayerBorder::CreateBlurRegions() {
  deleteRegions();
  if (TopImage == nullptr) return;
  const Integer d = TopImage->Width() - FData->FSourceBitmap->Width();
  const TRect &I = FData->IntersectBlurMaskRect, &E = FData->ExcludeBlurMaskRect;
  const TPoint &LT = FData->LTPoint, &RT = FData->RTPoint, &LB = FData->LBPoint, &RB = FData->RBPoint;
  TopRgn = rectUnion(Rect(LT.X, I.Top, d + RT.X, E.Top), DataRgn1, DataRgn2, d);
  BottomRgn = rectUnion(Rect(LB.X, E.Bottom - LB.Y, d + RB.X, I.Bottom - LB.Y), DataRgn3, DataRgn4, d);
  if (imageHeight(LeftImage) > 0) LeftRgn = CreateRectRgn(I.Left, 0, E.Left, LeftImage->Height());
  if (imageHeight(RightImage) > 0)
    RightRgn =
        CreateRectRgn(E.Right - FData->ClRect.Right, 0, I.Right - FData->ClRect.Right, RightImage->Height());
}

// ---------------------------------------------------------------------------------------------
// Windows

Byte TbsFormLayerBorder::currentAlpha() const {
  return Byte(std::clamp(FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue, 0, 255));
}

void TbsFormLayerBorder::push(TbsBitmap* Image, TbsFormLayerWindow* Window, HRGN Rgn) {
  if (Image == nullptr || Image->Empty() || Window == nullptr) return;
  UpdateLayeredBitmap(Image, currentAlpha(), Window);
  if (blurApplies() && Rgn != nullptr) EnableBlurBehind(Window->Handle(), true, Rgn);
}

void TbsFormLayerBorder::pushAll(bool AOnlyVisibleSides) {
  push(TopImage.get(), TopBorder, TopRgn);
  push(BottomImage.get(), BottomBorder, BottomRgn);
  if (imageHeight(LeftImage) > 0 && (!AOnlyVisibleSides || windowShown(LeftBorder)))
    push(LeftImage.get(), LeftBorder, LeftRgn);
  if (imageHeight(RightImage) > 0 && (!AOnlyVisibleSides || windowShown(RightBorder)))
    push(RightImage.get(), RightBorder, RightRgn);
}

void TbsFormLayerBorder::placeWindows(Integer X, Integer Y, Integer AWidth, Integer AHeight, UINT Flags,
                                      bool AHideEmptySides) {
  const Integer th = imageHeight(TopImage);
  auto place = [](TbsFormLayerWindow* W, Integer PX, Integer PY, UINT F) {
    if (W != nullptr) SetWindowPos(W->Handle(), nullptr, PX, PY, 0, 0, F);
  };
  place(TopBorder, X, Y, Flags);
  place(BottomBorder, X, Y + AHeight - imageHeight(BottomImage), Flags);
  const UINT SideHidden = (Flags & ~UINT(SWP_SHOWWINDOW)) | SWP_HIDEWINDOW;
  if (AHideEmptySides) {
    place(LeftBorder, X, Y + th, imageHeight(LeftImage) > 0 ? Flags : SideHidden);
    place(RightBorder, X + AWidth - imageWidth(RightImage), Y + th,
          imageHeight(RightImage) > 0 ? Flags : SideHidden);
  } else {
    if (windowShown(LeftBorder)) place(LeftBorder, X, Y + th, Flags);
    if (windowShown(RightBorder)) place(RightBorder, X + AWidth - imageWidth(RightImage), Y + th, Flags);
  }
}

TRect TbsFormLayerBorder::FrameBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight,
                                      bool ARolled) const {
  if (FData == nullptr || FData->FSourceBitmap == nullptr) return TRect();
  const Integer srcW = FData->FSourceBitmap->Width(), srcH = FData->FSourceBitmap->Height();
  const TRect& C = FData->ClRect;
  const Integer FH = ARolled ? FData->RollUpFormHeight : AHeight + FData->HeightOffset;
  return Bounds(ALeft + FData->LeftOffset - C.Left, ATop + FData->TopOffset - C.Top,
                AWidth + FData->WidthOffset + srcW - C.Width(), FH + srcH - C.Height());
}

TRect TbsFormLayerBorder::frameOfForm() const {
  return FrameBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), BSF->IsRolledFullBorder());
}

void TbsFormLayerBorder::Show(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (FData == nullptr) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FVisible = true;
  CreateImages(AWidth, AHeight);
  freeWindows(true);
  LeftBorder = new TbsFormLayerWindow(this, FForm);
  RightBorder = new TbsFormLayerWindow(this, FForm);
  TopBorder = new TbsFormLayerWindow(this, FForm);
  BottomBorder = new TbsFormLayerWindow(this, FForm);
  LeftBorder->BorderType = bsflLeft;
  RightBorder->BorderType = bsflRight;
  TopBorder->BorderType = bsflTop;
  BottomBorder->BorderType = bsflBottom;
  pushAll(false);
  placeWindows(X, Y, AWidth, AHeight, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE, true);
}

void TbsFormLayerBorder::Hide() {
  FVisible = false;
  MouseTimer->SetEnabled(false);
  freeImages();
  freeWindows(true);
}

void TbsFormLayerBorder::SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (FData == nullptr || !FVisible) return;
  FWidth = AWidth;
  FHeight = AHeight;
  CreateImages(AWidth, AHeight);
  pushAll(false);
  placeWindows(X, Y, AWidth, AHeight, SWP_NOOWNERZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE, true);
}

void TbsFormLayerBorder::Update(Integer, Integer, Integer AWidth, Integer AHeight) {
  if (FData == nullptr || !FVisible) return;
  CreateImages(AWidth, AHeight);
  pushAll(false);
  for (TbsFormLayerWindow* W : {LeftBorder, TopBorder, RightBorder, BottomBorder})
    if (W != nullptr && W->HandleAllocated()) UpdateWindow(W->Handle());
}

void TbsFormLayerBorder::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  CreateImages(AWidth, AHeight);
  if (TopImage == nullptr) return;
  const Integer th = imageHeight(TopImage);
  if (imageWidth(TopImage) > 0) TopImage->Draw(Canvas, X, Y);
  if (imageWidth(BottomImage) > 0) BottomImage->Draw(Canvas, X, Y + AHeight - imageHeight(BottomImage));
  if (imageHeight(LeftImage) > 0) LeftImage->Draw(Canvas, X, Y + th);
  if (imageHeight(RightImage) > 0) RightImage->Draw(Canvas, X + AWidth - imageWidth(RightImage), Y + th);
}

void TbsFormLayerBorder::ShowWithForm() {
  if (FData == nullptr || FForm == nullptr) return;
  const TRect R = frameOfForm();
  Show(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::UpdateBorder() {
  if (FData == nullptr || !FVisible) return;
  const TRect R = frameOfForm();
  Update(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm() {
  if (FData == nullptr || !FVisible) return;
  const TRect R = frameOfForm();
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm2(Integer AWidth, Integer AHeight) {
  SetBoundsWithForm3(FForm->Left(), FForm->Top(), AWidth, AHeight);
}

void TbsFormLayerBorder::SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (FData == nullptr || !FVisible) return;
  const TRect R = FrameBounds(ALeft, ATop, AWidth, AHeight, BSF->IsRolledFullBorder());
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::MoveWithForm() {
  MoveWithForm2(FForm->Left(), FForm->Top());
}

void TbsFormLayerBorder::MoveWithForm2(Integer ALeft, Integer ATop) {
  if (FData == nullptr || !FVisible) return;
  const TRect R = FrameBounds(ALeft, ATop, FForm->Width(), FForm->Height(), BSF->IsRolledFullBorder());
  placeWindows(R.Left, R.Top, R.Width(), R.Height(), SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, false);
}

void TbsFormLayerBorder::SetAlphaBlend() {
  if (FData == nullptr || !FVisible || TopImage == nullptr) return;
  pushAll(true);
}

void TbsFormLayerBorder::SetAlphaBlend2() {
  if (FData == nullptr || !FVisible) return;
  SetAlphaBlend();
  const TRect R = frameOfForm();
  placeWindows(R.Left, R.Top, R.Width(), R.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE, false);
}

void TbsFormLayerBorder::CheckFormAlpha(Integer AFormAlpha, bool AUpdate) {
  if (FData == nullptr) return;
  const double f = double(AFormAlpha) / 255;
  FCurrentAlphaBlendValue = Integer(std::nearbyint(FData->AlphaBlendValue * f));
  FCurrentInActiveAlphaBlendValue = Integer(std::nearbyint(FData->InActiveAlphaBlendValue * f));
  if (AUpdate) SetAlphaBlend();
}

void TbsFormLayerBorder::ShowWithFormAnimation() {
  if (FData == nullptr || FForm == nullptr) return;
  const Integer v = FCurrentAlphaBlendValue;
  FCurrentAlphaBlendValue = 0;
  // The animation shows the whole form, even one that is rolled up.
  const TRect R = FrameBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), false);
  Show(R.Left, R.Top, R.Width(), R.Height());
  if (Application != nullptr) Application->ProcessMessages();
  const Integer Step = std::max(v / 15, 1);
  Integer A = 0;
  Cardinal Last = 0;
  bool First = true;
  // Waits without serving messages: the fade is part of showing, nothing else runs meanwhile.
  while (A < v) {
    if (First || GetTickCount() - Last > 5) {
      First = false;
      Last = GetTickCount();
      A = std::min(A + Step, v);
      FCurrentAlphaBlendValue = A;
      SetAlphaBlend();
    } else {
      Sleep(1);
    }
  }
  FCurrentAlphaBlendValue = std::max(v, 0);
}

void TbsFormLayerBorder::SetActive(bool AValue, bool AUpdate) {
  FActive = AValue;
  if (!AValue && BSF != nullptr) {
    if (ActiveObject >= 0 && ActiveObject < BSF->ObjectCount()) {
      auto* C = dynamic_cast<TbsSkinCaptionObject*>(BSF->Objects(ActiveObject));
      if (C != nullptr && C->ActiveQuickButton != -1 && BSF->QuickButtons() != nullptr &&
          C->ActiveQuickButton < BSF->QuickButtons()->Count()) {
        TbsQuickButtonItem* Q = BSF->QuickButtons()->Items(C->ActiveQuickButton);
        Q->Active = false;
        Q->Down = false;
      }
    }
    ResetButtons();
    MouseCaptureObject = -1;
    UpdateActiveObject(-1, -1);
    ActiveObject = -1;
  }
  if (!FVisible) return;
  if (FullBorder() || (FData != nullptr && FData->FSourceInActiveBitMap != nullptr)) SetBoundsWithForm();
  if (AUpdate) SetAlphaBlend2();
}

void TbsFormLayerBorder::ResetButtons() {
  if (BSF == nullptr) return;
  for (Integer i = 0; i < BSF->ObjectCount(); ++i)
    if (auto* B = dynamic_cast<TbsSkinStdButtonObject*>(BSF->Objects(i))) {
      B->FDown = false;
      B->FMouseIn = false;
    }
}

void TbsFormLayerBorder::UpdateActiveObject(Integer X, Integer Y) {
  if (BSF == nullptr || FForm == nullptr) return;
  if (BSF->ObjectCount() == 0 || !BSF->GetFormActive() || BSF->Mode().SizeMove ||
      BSF->Mode().BorderLayerChangeSize || BSF->PreviewMode() ||
      (FForm->FormStyle() == fsMDIChild && BSF->Mode().WindowState == wsMaximized) ||
      FForm->BorderStyle() == bsNone || !(FData == nullptr || FData->FullBorder))
    return;
  OldActiveObject = ActiveObject;
  ActiveObject = -1;
  for (Integer i = 0; i < BSF->ObjectCount(); ++i) {
    TbsActiveSkinObject* O = BSF->Objects(i);
    const TRect& R = O->ObjectRect;
    if (O->Enabled && O->Visible && X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom &&
        O->PointInMask(X - R.Left, Y - R.Top)) {
      ActiveObject = i;
      break;
    }
  }
  if (MouseCaptureObject != -1 && MouseCaptureObject != ActiveObject) ActiveObject = -1;
  if (ActiveObject >= BSF->ObjectCount()) ActiveObject = -1;
  if (OldActiveObject >= BSF->ObjectCount()) OldActiveObject = -1;
  if (ActiveObject == OldActiveObject) return;
  const bool Hints = BSF->ShowObjectHint() && BSF->SkinHint() != nullptr;
  if (OldActiveObject != -1) {
    TbsActiveSkinObject* O = BSF->Objects(OldActiveObject);
    if (O->Enabled && O->Visible) O->MouseLeave();
    if (Hints && !O->Hint.empty()) BSF->SkinHint()->HideHint();
  }
  if (ActiveObject != -1) {
    TbsActiveSkinObject* O = BSF->Objects(ActiveObject);
    if (O->Enabled && O->Visible) O->MouseEnter();
    if (Hints && BSF->GetFormActive() && !O->Hint.empty()) BSF->SkinHint()->ActivateHint2(O->Hint);
  }
}

void TbsFormLayerBorder::MouseTimerProc(TObject*) {
  if ((FData == nullptr || FData->FullBorder) && TopBorder != nullptr && TopBorder->HandleAllocated()) {
    POINT P;
    GetCursorPos(&P);
    if (WindowFromPoint(P) != TopBorder->Handle()) {
      MouseTimer->SetEnabled(false);
      MouseCaptureObject = -1;
      UpdateActiveObject(-1, -1);
    }
  } else {
    MouseTimer->SetEnabled(false);
  }
}
