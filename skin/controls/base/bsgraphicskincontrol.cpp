#include "skin/controls/base/bsgraphicskincontrol.h"

#include "skin/core/bsdraw.h"

// ---- TbsGraphicSkinControl ----

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TbsSkinControlBase(AOwner) {
  FControlStyle.Include(csOpaque);
}

// ---- TbsGraphicSkinCustomControl ----

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner)
    : TbsSkinCustomControlBase(AOwner) {}

void TbsGraphicSkinCustomControl::GetSkinData() {
  TakeSkinGeometry();
}

void TbsGraphicSkinCustomControl::CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R) {
  if (ResizeMode == -1) return;
  if (!ComposeImage(Dest, Source, R, Width(), Height())) CreateControlDefaultImage(Dest);
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
  CreateSkinImage(B, Picture, SkinRect);
}

void TbsGraphicSkinCustomControl::ChangeSkinData() {
  GetSkinData();
  if (FIndex == -1) {
    const Integer W = FDefaultWidth > 0 ? FDefaultWidth : Width();
    const Integer H = FDefaultHeight > 0 ? FDefaultHeight : Height();
    if (W != Width() || H != Height()) SetBounds(Left(), Top(), W, H);
    Repaint();
    return;
  }
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  if (W != Width() || H != Height())
    SetBounds(Left(), Top(), W, H);
  else
    Repaint();
}

void TbsGraphicSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool Changed = (AWidth != Width() || AHeight != Height()) && FIndex != -1;
  if (Changed) {
    CalcSize(AWidth, AHeight);
    if (ResizeMode == 0) NewClRect = ClRect;
  }
  ATop = AdjustedChildTop(Parent(), ATop, AHeight);
  TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Changed) Repaint();
}
