// Frame painting (skinned and default look), the window region from the skin's mask, the small
// form icon, and the client backgrounds with the logo.
#include <algorithm>
#include <vector>

#include "platform/gdi/text.h"
#include "platform/ui/core/application.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bsregions.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"

namespace {

// A canvas over a DC that is someone else's: detached before it goes.
struct TDCCanvas {
  TCanvas C;
  explicit TDCCanvas(HDC DC) { C.SetHandle(DC); }
  ~TDCCanvas() { C.SetHandle(nullptr); }
};

std::unique_ptr<TBitmap> newBitmap() {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  return B;
}

HRGN regionOfMask(TBitmap* Mask, Integer X, Integer Y) {
  std::vector<Byte> Data;
  const Integer Size = MaskToRegionData(Mask, X, Y, Data);
  if (Size == 0) return nullptr;
  return ExtCreateRegion(nullptr, DWORD(Size), reinterpret_cast<const RGNDATA*>(Data.data()));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Frame painting

void TbsSkinForm::UpDateFormNC() {
  if (fullLayeredBorderShown()) {
    FLayers.BorderLayer->UpdateBorder();
    return;
  }
  if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::CalcDefRects() {
  if (ObjectList.empty()) return;
  Integer X = FGeometry.FormWidth - 3;
  const Integer Y = 4, S = GetDefButtonSize();
  FGeometry.NewDefCaptionRect = Rect(3, 3, X, GetDefCaptionHeight());
  auto stdButton = [this](TbsStdCommand C) -> TbsSkinStdButtonObject* {
    for (const auto& O : ObjectList)
      if (auto* B = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
          B != nullptr && B->Visible && B->SkinRectInAPicture && B->Command == C)
        return B;
    return nullptr;
  };
  for (TbsStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
    if (auto* B = stdButton(C)) {
      B->ObjectRect = Rect(X - S, Y, X, Y + S);
      X -= S;
    }
  }
  FGeometry.NewDefCaptionRect.Right = X;
  X = 3;
  if (auto* B = stdButton(cmSysMenu)) {
    Integer w = S, h = S;
    if (FShowIcon) GetIconSize(w, h);
    B->ObjectRect = Rect(X, Y, X + w, Y + h);
    FGeometry.NewDefCaptionRect.Left = X + w;
  }
}

void TbsSkinForm::GetDefCaptionRect(TRect& R) {
  CalcDefRects();
  R = FGeometry.NewDefCaptionRect;
}

void TbsSkinForm::FitCaptionText(TCanvas* Canvas, String& S, Integer MaxWidth) const {
  FitWideTextToWidth(Canvas, S, MaxWidth);
}

String TbsSkinForm::CaptionText() const {
  String S = FForm->Caption();
  if (FForm->FormStyle() == fsMDIForm && FMDIChildMaximized)
    if (TForm* Child = GetMaximizedMDIChild()) S += " - [" + Child->Caption() + "]";
  return S;
}

void TbsSkinForm::PaintNCDefault(HDC DC, bool AUseExternalDC) {
  if (FSD != nullptr && FSD->ChangeSkinDataProcess) return;
  if (!FForm->HandleAllocated()) return;
  if (FGeometry.FormWidth == 0 || FGeometry.FormHeight == 0) {
    FGeometry.FormWidth = FForm->Width();
    FGeometry.FormHeight = FForm->Height();
  }
  if (ObjectList.empty() && !FMode.SkinSupport) LoadDefaultObjects();
  CalcDefRects();
  HDC WDC = AUseExternalDC ? DC : GetWindowDC(FForm->Handle());
  if (WDC == nullptr) return;
  {
    TDCCanvas Out(WDC);
    const Integer CH = GetDefCaptionHeight();
    auto Cap = newBitmap();
    Cap->SetSize(std::max<Integer>(FGeometry.FormWidth - 6, 0), CH);
    TCanvas* C = Cap->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, Cap->Width(), CH));
    const bool Active = GetFormActive();
    C->Font()->Assign(Active ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
    if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
      C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    String Text = CaptionText();
    const TRect CapR =
        Rect(FGeometry.NewDefCaptionRect.Left - 3, 0, FGeometry.NewDefCaptionRect.Right - 3, CH);
    if (OnCaptionPaint) {
      OnCaptionPaint(C, CapR, Active);
    } else if (!Text.empty()) {
      FitCaptionText(C, Text, CapR.Width());
      const TSize TS = C->TextExtent(Text);
      const Integer X = CapR.Left + CapR.Width() / 2 - (TS.cx + 5) / 2;
      const Integer Y = CH / 2 - TS.cy / 2;
      TRect TR = Rect(X, Y, X, Y);
      C->Brush()->SetStyle(bsClear);
      DrawText(C->Handle(), Text, &TR, DT_CALCRECT);
      C->Brush()->SetStyle(bsSolid);
      C->FillRect(Rect(TR.Left - 2, TR.Top - 2, TR.Right + 2, TR.Bottom + 2));
      C->Brush()->SetStyle(bsClear);
      DrawText(C->Handle(), Text, &TR, DT_VCENTER);
      C->Brush()->SetStyle(bsSolid);
    }
    for (const auto& O : ObjectList) {
      if (!O->Visible) continue;
      const TRect Keep = O->ObjectRect;
      OffsetRect(&O->ObjectRect, -3, -3);
      O->Draw(C, true);
      O->ObjectRect = Keep;
    }
    ExcludeClipRect(WDC, 3, CH + 3, FGeometry.FormWidth - 3, FGeometry.FormHeight - 3);
    Out.C.Draw(3, 3, Cap.get());
    TRect R = Rect(0, 0, FGeometry.FormWidth, FGeometry.FormHeight);
    Frame3D(&Out.C, R, cl3DDkShadow, cl3DDkShadow, 1);
    Frame3D(&Out.C, R, clBtnFace, clBtnFace, 1);
    Frame3D(&Out.C, R, clBtnFace, clBtnFace, 1);
  }
  if (!AUseExternalDC) ReleaseDC(FForm->Handle(), WDC);
}

void TbsSkinForm::PaintNCSkin(HDC DC, bool AUseExternalDC) {
  if (!skinLoaded() || !FForm->HandleAllocated()) return;
  if (FGeometry.FormWidth == 0 || FGeometry.FormHeight == 0) {
    FGeometry.FormWidth = FForm->Width();
    FGeometry.FormHeight = FForm->Height();
  }
  if (FGeometry.FormWidth < GetMinWidth() || FGeometry.FormHeight < GetMinHeight()) return;
  CalcNewRects();
  ArrangeObjects();
  HDC WDC = AUseExternalDC ? DC : GetWindowDC(FForm->Handle());
  if (WDC == nullptr) return;
  {
    TDCCanvas Out(WDC);
    auto Top = newBitmap(), Left = newBitmap(), Right = newBitmap(), Bottom = newBitmap();
    const bool Active = GetFormActive();
    TBitmap* Source = FSD->FPicture.get();
    if (!Active && FSD->FInActivePicture != nullptr && !FSD->FInActivePicture->Empty())
      Source = FSD->FInActivePicture.get();
    ComposeSkinBorders(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect,
                       FGeometry.NewLTPoint, FGeometry.NewRTPoint, FGeometry.NewLBPoint, FGeometry.NewRBPoint,
                       FGeometry.NewClRect, Left.get(), Top.get(), Right.get(), Bottom.get(), Source,
                       Rect(0, 0, Source->Width(), Source->Height()), FGeometry.FormWidth,
                       FGeometry.FormHeight, FSD->LeftStretch, FSD->TopStretch, FSD->RightStretch,
                       FSD->BottomStretch);
    for (const auto& O : ObjectList) {
      if (!O->Visible) continue;
      if (O->ObjectRect.Bottom <= FGeometry.NewClRect.Top) {
        O->Draw(Top->Canvas(), false);
      } else {
        const TRect Keep = O->ObjectRect;
        OffsetRect(&O->ObjectRect, 0, -FGeometry.NewClRect.Bottom);
        O->Draw(Bottom->Canvas(), false);
        O->ObjectRect = Keep;
      }
    }
    if (CanShowAppMenuCaption())
      DrawAppMenuCaption(Top->Canvas(), Rect(0, 0, FSkinRibbon->FormAppMenu()->ItemWidth(), Top->Height()));
    if (FGeometry.NewClRect.Height() > 0)
      ExcludeClipRect(WDC, FGeometry.NewClRect.Left, FGeometry.NewClRect.Top, FGeometry.NewClRect.Right,
                      FGeometry.NewClRect.Bottom);
    const Integer TH = Top->Height();
    const TPoint Places[4] = {{0, 0},
                              {0, TH},
                              {FGeometry.FormWidth - Right->Width(), TH},
                              {0, FGeometry.FormHeight - Bottom->Height()}};
    TBitmap* Strips[4] = {Top.get(), Left.get(), Right.get(), Bottom.get()};
    const bool Effect = !Active && FSD->AutoRenderingInActiveImage;
    for (int i = 0; i < 4; ++i) {
      if (Strips[i]->Empty()) continue;
      if (!Effect) {
        Out.C.Draw(Places[i].X, Places[i].Y, Strips[i]);
        continue;
      }
      auto E = TbsEffectBmp::CreateFromhWnd(Strips[i]->Handle());
      switch (FSD->InActiveEffect) {
        case ieBrightness:
          E->ChangeBrightness(0.5);
          break;
        case ieDarkness:
          E->ChangeDarkness(0.3);
          break;
        case ieGrayScale:
          E->GrayScale();
          break;
        case ieNoise:
          E->AddMonoNoise(50);
          break;
        case ieSplitBlur:
          E->SplitBlur(1);
          break;
        case ieInvert:
          E->Invert();
          break;
      }
      E->Draw(WDC, Places[i].X, Places[i].Y);
    }
  }
  if (!AUseExternalDC) ReleaseDC(FForm->Handle(), WDC);
}

bool TbsSkinForm::GetAutoRenderingInActiveImage() const {
  return skinLoaded() && FSD->AutoRenderingInActiveImage;
}

// ---------------------------------------------------------------------------------------------
// Window region

void TbsSkinForm::SetFormRegion(bool AFromParts) {
  if (!FForm->HandleAllocated()) return;
  HWND H = FForm->Handle();
  auto apply = [&](HRGN R) {
    // The window takes the region over and frees the one it had.
    FRgn = R;
    SetWindowRgn(H, R, true);
  };
  if (!FSkinnableForm || FForm->BorderStyle() == bsNone) {
    apply(nullptr);
    return;
  }
  const bool Loaded = skinLoaded();
  if (Loaded && UseFullLayeredBorder()) {
    // The layered windows draw the frame: the form is a plain rectangle, a strip while rolled up.
    const Integer H = IsRolledFullBorder() ? std::max(FLayers.BorderLayer->FData->RollUpFormHeight, 1)
                                           : FGeometry.FormHeight;
    apply(CreateRectRgn(0, 0, FGeometry.FormWidth, H));
    return;
  }
  const bool NoMask = !Loaded || FSD->FMask == nullptr || FSD->FMask->Empty();
  if (!Loaded || NoMask || (FForm->FormStyle() == fsMDIChild && FMode.WindowState == wsMaximized)) {
    apply(CreateRectRgn(0, 0, FGeometry.FormWidth, FGeometry.FormHeight));
    if (!Loaded)
      for (TBitmap* B : {RMTop.get(), RMLeft.get(), RMRight.get(), RMBottom.get()}) B->SetSize(0, 0);
    return;
  }
  TBitmap* Mask = FSD->FMask.get();
  // A mask that does not match the frame picture cannot be cut by its corner points: the window
  // keeps a plain rectangle.
  if (FSD->FPicture == nullptr || Mask->Width() != FSD->FPicture->Width() ||
      Mask->Height() != FSD->FPicture->Height()) {
    apply(CreateRectRgn(0, 0, FGeometry.FormWidth, FGeometry.FormHeight));
    return;
  }
  if (!AFromParts) {
    HRGN R = regionOfMask(Mask, 0, 0);
    if (R != nullptr) apply(R);
    return;
  }
  ComposeBorderMasks(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->MaskRectArea,
                     FGeometry.NewLTPoint, FGeometry.NewRTPoint, FGeometry.NewLBPoint, FGeometry.NewRBPoint,
                     FGeometry.NewMaskRectArea, Mask, RMTop.get(), RMLeft.get(), RMRight.get(),
                     RMBottom.get(), FGeometry.FormWidth, FGeometry.FormHeight);
  HRGN R = CreateRectRgn(FGeometry.NewMaskRectArea.Left, FGeometry.NewMaskRectArea.Top,
                         FGeometry.NewMaskRectArea.Right, FGeometry.NewMaskRectArea.Bottom);
  const struct {
    TBitmap* B;
    TPoint At;
  } Parts[4] = {{RMTop.get(), {0, 0}},
                {RMBottom.get(), {0, FGeometry.NewMaskRectArea.Bottom}},
                {RMLeft.get(), {0, FGeometry.NewMaskRectArea.Top}},
                {RMRight.get(), {FGeometry.NewMaskRectArea.Right, FGeometry.NewMaskRectArea.Top}}};
  for (const auto& P : Parts) {
    if (P.B->Empty()) continue;
    if (HRGN S = regionOfMask(P.B, P.At.X, P.At.Y)) {
      CombineRgn(R, R, S, RGN_OR);
      DeleteObject(S);
    }
  }
  apply(R);
}

// ---------------------------------------------------------------------------------------------
// Icon

void TbsSkinForm::GetIconSize(Integer& W, Integer& H) const {
  W = GetSystemMetrics(SM_CXSMICON);
  H = GetSystemMetrics(SM_CYSMICON);
  if (W == 0) W = GetSystemMetrics(SM_CXSIZE);
  if (H == 0) H = GetSystemMetrics(SM_CYSIZE);
}

void TbsSkinForm::DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y) {
  HICON I = nullptr;
  if (FForm->Icon() != nullptr && !FForm->Icon()->Empty())
    I = FForm->Icon()->Handle();
  else if (Application != nullptr && Application->Icon() != nullptr && !Application->Icon()->Empty())
    I = Application->Icon()->Handle();
  if (I == nullptr) I = LoadIcon(nullptr, IDI_APPLICATION);
  Integer W, H;
  GetIconSize(W, H);
  DrawIconEx(Canvas->Handle(), X, Y, I, W, H, 0, nullptr, DI_NORMAL);
}

bool TbsSkinForm::CheckIconAlpha() {
  Integer W, H;
  GetIconSize(W, H);
  if (W == 0 || H == 0) return false;
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf32bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(TColor(0));
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  DrawFormIcon(B->Canvas(), 0, 0);
  for (Integer y = 0; y < H; ++y) {
    const auto* Row = static_cast<const Byte*>(B->ScanLine(y));
    for (Integer x = 0; x < W; ++x)
      if (Row[x * 4 + 3] != 0) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Client backgrounds

void TbsSkinForm::DrawLogo(TCanvas* Canvas) {
  if (FLogoBitMap->Transparent() != FLogoBitMapTransparent)
    FLogoBitMap->SetTransparent(FLogoBitMapTransparent);
  const Integer CW = FForm->ClientWidth(), CH = FForm->ClientHeight();
  Canvas->Draw(CW / 2 - FLogoBitMap->Width() / 2, CH / 2 - FLogoBitMap->Height() / 2, FLogoBitMap.get());
}

void TbsSkinForm::PaintBGDefault(HDC DC) {
  if (DC == nullptr) return;
  TDCCanvas Out(DC);
  Out.C.Brush()->SetColor(clBtnFace);
  Out.C.FillRect(FForm->ClientRect());
  if (!FLogoBitMap->Empty()) DrawLogo(&Out.C);
}

void TbsSkinForm::PaintMDIBGDefault(HDC DC) {
  if (DC == nullptr) return;
  TDCCanvas Out(DC);
  Out.C.Brush()->SetColor(clAppWorkSpace);
  Out.C.FillRect(FForm->ClientRect());
  if (!FLogoBitMap->Empty()) DrawLogo(&Out.C);
}

namespace {

// One background picture over the client: stretched, stretched one way and tiled the other, or
// tiled; a picture without area draws nothing.
void paintPicture(TCanvas* C, TBitmap* P, bool Stretch, TbsStretchType Type, Integer CW, Integer CH,
                  Integer W, Integer H) {
  if (P == nullptr || P->Width() <= 0 || P->Height() <= 0 || CW <= 0 || CH <= 0) return;
  if (Stretch) {
    switch (Type) {
      case bsstFull:
        C->StretchDraw(Rect(0, 0, CW, CH), P);
        return;
      case bsstHorz: {
        TBitmap B;
        B.SetPixelFormat(pf24bit);
        B.SetSize(P->Width(), H);
        B.Canvas()->StretchDraw(Rect(0, 0, P->Width(), H), P);
        for (Integer i = 0; i <= W / B.Width(); ++i) C->Draw(i * B.Width(), 0, &B);
        return;
      }
      case bsstVert: {
        TBitmap B;
        B.SetPixelFormat(pf24bit);
        B.SetSize(W, P->Height());
        B.Canvas()->StretchDraw(Rect(0, 0, W, P->Height()), P);
        for (Integer j = 0; j <= H / B.Height(); ++j) C->Draw(0, j * B.Height(), &B);
        return;
      }
    }
  }
  for (Integer i = 0; i <= CW / P->Width(); ++i)
    for (Integer j = 0; j <= CH / P->Height(); ++j) C->Draw(i * P->Width(), j * P->Height(), P);
}

}  // namespace

void TbsSkinForm::PaintBG2(HDC DC) {
  if (DC == nullptr || !skinLoaded() || FSD->BGPictureIndex < 0 || FSD->BGPictureIndex >= FSD->PictureCount())
    return;
  TDCCanvas Out(DC);
  paintPicture(&Out.C, FSD->Picture(FSD->BGPictureIndex), FSD->StretchEffect, FSD->StretchType,
               FForm->ClientWidth(), FForm->ClientHeight(), FGeometry.FormWidth, FGeometry.FormHeight);
  if (!FLogoBitMap->Empty()) DrawLogo(&Out.C);
}

void TbsSkinForm::PaintBG3(HDC DC) {
  if (DC == nullptr || !skinLoaded() || FSD->MDIBGPictureIndex < 0 ||
      FSD->MDIBGPictureIndex >= FSD->PictureCount())
    return;
  TDCCanvas Out(DC);
  paintPicture(&Out.C, FSD->Picture(FSD->MDIBGPictureIndex), FSD->MDIBGStretchEffect, FSD->MDIBGStretchType,
               FForm->ClientWidth(), FForm->ClientHeight(), FGeometry.FormWidth, FGeometry.FormHeight);
  if (!FLogoBitMap->Empty()) DrawLogo(&Out.C);
}

void TbsSkinForm::PaintBG(HDC DC) {
  if (DC == nullptr || !skinLoaded()) return;
  TDCCanvas Out(DC);
  const TRect& CR = FSD->ClRect;
  if (CR.Width() <= 0 || CR.Height() <= 0 || FSD->FPicture == nullptr) {
    Out.C.Brush()->SetColor(clBtnFace);
    Out.C.FillRect(FForm->ClientRect());
    return;
  }
  TBitmap A;
  A.SetPixelFormat(pf24bit);
  A.SetSize(CR.Width(), CR.Height());
  A.Canvas()->CopyRect(Rect(0, 0, CR.Width(), CR.Height()), FSD->FPicture->Canvas(), CR);
  paintPicture(&Out.C, &A, FSD->StretchEffect, FSD->StretchType, FForm->ClientWidth(), FForm->ClientHeight(),
               FGeometry.FormWidth, FGeometry.FormHeight);
  if (!FLogoBitMap->Empty()) DrawLogo(&Out.C);
}
