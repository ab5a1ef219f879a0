#include "skin/controls/panels/bsskinsplitter.h"

#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

namespace {

bool rectInside(const TRect& R, const TBitmap* B) {
  return B != nullptr && !IsEmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= B->Width() &&
         R.Bottom <= B->Height();
}

Integer elementIndex(TbsSkinData* SD, const String& Name) {
  return SD == nullptr || SD->Empty ? -1 : SD->GetControlIndex(Name);
}

}  // namespace

// ---- splitter ----

TbsSkinSplitter::TbsSkinSplitter(TComponent* AOwner) : TSplitter(AOwner) {
  FControlStyle.Include(csOpaque);
}

TbsSkinSplitter::~TbsSkinSplitter() {
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  ChangeSkinData();
}

void TbsSkinSplitter::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Repaint();
}

void TbsSkinSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TSplitter::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinSplitter::GetSkinData() {
  FIndex = elementIndex(FSD, FSkinDataName);
  FSkinPicture = nullptr;
  if (FIndex == -1) return;
  auto* R = dynamic_cast<TbsDataSkinSplitterControl*>(FSD->Ctrls(FIndex));
  if (R == nullptr) return;
  LTPt = R->LTPoint;
  RTPt = R->RTPoint;
  LBPt = R->LBPoint;
  SkinRect = R->SkinRect;
  StretchEffect = R->StretchEffect;
  FSkinPicture = SkinPictureAt(FSD, R->PictureIndex);
  GripperRect = R->GripperRect;
  GripperTransparent = R->GripperTransparent;
  GripperTransparentColor = R->GripperTransparentColor;
}

void TbsSkinSplitter::ChangeSkinData() {
  GetSkinData();
  const bool Own = FIndex == -1 || FTransparent;
  if (Align() == alTop || Align() == alBottom)
    SetHeight(Own ? FDefaultSize : RectHeight(SkinRect));
  else
    SetWidth(Own ? FDefaultSize : RectWidth(SkinRect));
  Repaint();
}

void TbsSkinSplitter::RequestAlign() {
  TSplitter::RequestAlign();
  if (ComponentState().Contains(csDesigning))
    FSkinDataName = Align() == alTop || Align() == alBottom ? "hsplitter" : "vsplitter";
}

void TbsSkinSplitter::Paint() {
  if (FTransparent || Width() < 1 || Height() < 1) return;
  GetSkinData();
  // An element whose bar cannot be read from its picture draws as the platform splitter.
  if (FIndex == -1 || Align() == alNone || Align() == alClient || !rectInside(SkinRect, FSkinPicture)) {
    TSplitter::Paint();
    return;
  }
  TBitmap B;
  const Integer SW = RectWidth(SkinRect), SH = RectHeight(SkinRect);
  if (Align() == alTop || Align() == alBottom)
    ComposeSkinImageH(LTPt.X, SW - RTPt.X, &B, FSkinPicture, SkinRect, Width(), SH, StretchEffect);
  else
    ComposeSkinImageV(LTPt.Y, SH - LBPt.Y, &B, FSkinPicture, SkinRect, SW, Height(), StretchEffect);
  if (rectInside(GripperRect, FSkinPicture)) {
    TBitmap G;
    G.SetPixelFormat(pf24bit);
    G.SetSize(RectWidth(GripperRect), RectHeight(GripperRect));
    G.Canvas()->CopyRect(Rect(0, 0, G.Width(), G.Height()), FSkinPicture->Canvas(), GripperRect);
    if (GripperTransparent) {
      G.SetTransparentColor(GripperTransparentColor);
      G.SetTransparent(true);
    }
    B.Canvas()->Draw(B.Width() / 2 - G.Width() / 2, B.Height() / 2 - G.Height() / 2, &G);
  }
  Canvas()->Draw(0, 0, &B);
}

// ---- bevel ----

TbsSkinBevel::TbsSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

TbsSkinBevel::~TbsSkinBevel() {
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  ChangeSkinData();
}

void TbsSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinBevel::SetDividerMode(bool Value) {
  FDividerMode = Value;
  Repaint();
}

void TbsSkinBevel::ChangeSkinData() {
  FIndex = elementIndex(FSD, FSkinDataName);
  if (FIndex == -1) {
    LightColor = clBtnHighlight;
    DarkColor = clBtnShadow;
  } else if (auto* R = dynamic_cast<TbsDataSkinBevel*>(FSD->Ctrls(FIndex))) {
    LightColor = R->LightColor;
    DarkColor = R->DarkColor;
  }
  Repaint();
}

void TbsSkinBevel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TBevel::SetBounds(ALeft, AdjustedChildTop(Parent(), ATop, AHeight), AWidth, AHeight);
}

void TbsSkinBevel::Paint() {
  TCanvas* C = Canvas();
  const Integer W = Width(), H = Height();
  if (ComponentState().Contains(csDesigning)) {
    if (Shape() == bsSpacer) {
      C->Pen()->SetStyle(psDot);
      C->Pen()->SetMode(pmXor);
      C->Pen()->SetColor(TColor(RGB(206, 216, 255)));
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(0, 0, W, H);
      return;
    }
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsSolid);
  }
  C->Pen()->SetWidth(1);
  const TColor First = Style() == bsLowered ? DarkColor : LightColor;
  const TColor Second = Style() == bsLowered ? LightColor : DarkColor;
  if (FDividerMode) {
    switch (Shape()) {
      case bsBox:
      case bsFrame:
      case bsLeftLine:
      case bsRightLine:
        DrawBevelRect(C, Rect(W / 2 - 1, 2, W / 2, H - 2), First, Second);
        break;
      case bsTopLine:
      case bsBottomLine:
        DrawBevelRect(C, Rect(2, H / 2 - 1, W - 2, H / 2), First, Second);
        break;
      case bsSpacer:
        break;
    }
    return;
  }
  DrawShape(C, First, Second);
}
